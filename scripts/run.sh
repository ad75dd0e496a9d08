#!/usr/bin/env bash
# Builds the shipping (32-bit) program with the stand-in communication component and starts it
# under wine, in a wine prefix of its own (build/run-prefix; the tests use other ones).
# Without a DISPLAY it starts a private Xvfb, so the server also runs on a headless machine.
#   scripts/run.sh
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/win32

scripts/bootstrap.sh
cmake --preset win32 -B "$build" >/dev/null
cmake --build "$build" -j "$(nproc)" --target Morvane CipherLab9x00

# The display comes first: wine's desktop process, started by the first wine command below,
# keeps the display it was started with.
if [ -z "${DISPLAY:-}" ]; then
  display_file="$(mktemp)"
  Xvfb -displayfd 9 -screen 0 1280x800x24 -nolisten tcp 9>"$display_file" >/dev/null 2>&1 &
  xvfb_pid=$!
  trap 'kill $xvfb_pid 2>/dev/null; rm -f "$display_file"' EXIT
  trap 'exit 130' INT TERM
  for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n1 "$display_file")"
  echo "run: no display given; the server runs on a private Xvfb display $DISPLAY"
fi

export WINEPREFIX="$PWD/build/run-prefix" WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml="
scripts/wine-prefix.sh "$WINEPREFIX"
scripts/register-standin.sh "$build"

echo "run: starting the server (stop it with Ctrl+C, or 'Выход' in its window)"
rc=0
env LC_ALL=ru_RU.UTF-8 wine "$build/src/app/Morvane.exe" || rc=$?
echo "run: the server has ended (exit code $rc)"
exit $rc
