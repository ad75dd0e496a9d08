#!/usr/bin/env bash
# Runs ctest for a Windows build under wine, with everything the Windows tests need and nothing
# left running afterwards:
#   scripts/wine-ctest.sh <build-dir> [ctest arguments...]
# a private wine prefix (<build-dir>/wineprefix), the stand-in component registered in it, a
# private Xvfb display and a wineserver kept warm for the run.
set -uo pipefail
cd "$(dirname "$0")/.."
build="$(realpath "$1")"
shift

export MORVANE_WINEPREFIX="$build/wineprefix"
export WINEPREFIX="$MORVANE_WINEPREFIX" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
scripts/wine-prefix.sh "$MORVANE_WINEPREFIX" || exit 1
display_file="$(mktemp)"
Xvfb -displayfd 9 -screen 0 1280x800x24 -nolisten tcp 9>"$display_file" >/dev/null 2>&1 &
xvfb_pid=$!
cleanup() {
  wineserver -k >/dev/null 2>&1
  kill "$xvfb_pid" >/dev/null 2>&1
  wait "$xvfb_pid" 2>/dev/null
  rm -f "$display_file"
}
trap cleanup EXIT
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$display_file")"

# Wine's helper processes must not inherit ctest's pipes, or ctest waits for them for ever.
wineserver -p </dev/null >/dev/null 2>&1
env LC_ALL=ru_RU.UTF-8 wine wineboot </dev/null >/dev/null 2>&1
scripts/register-standin.sh "$build" || exit 1

echo "wine-ctest: DISPLAY=$DISPLAY WINEPREFIX=$WINEPREFIX"
ctest --test-dir "$build" --output-on-failure "$@"
