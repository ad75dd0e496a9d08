#!/usr/bin/env bash
# Builds the shipping (32-bit) program with the stand-in communication component and runs it under
# wine, in a wine prefix of its own (build/run-prefix; the tests use other ones), with a demo
# profile: base files of the shared set, per-terminal files, an upload folder and a log folder
# under build/run, the server connected at start.
#   scripts/run.sh            the server, until Ctrl+C, a closing terminal or its "Выход"
#   scripts/run.sh --reset    the same, starting again from the demo profile and files
#   scripts/run.sh --demo     a short scripted demonstration (build/demo), then its results
# The profile is written on the first run; later runs keep what the server saved. Ctrl+C and a
# closing terminal end the server through its own close sequence (settings and log saved); then
# the script stops the wine processes and the display it started. Without a DISPLAY the server
# runs on a private Xvfb. MORVANE_PORT picks the port (default: 5000, or the next free one).
set -uo pipefail
cd "$(dirname "$0")/.."
build="$PWD/build/win32"
prefix="$PWD/build/run-prefix"
mode="${1:-}"
case "$mode" in
  "" | --reset | --demo) ;;
  *) echo "usage: scripts/run.sh [--reset | --demo]" >&2; exit 3 ;;
esac

scripts/bootstrap.sh >/dev/null || exit 1
cmake --preset win32 -B "$build" >/dev/null || exit 1
cmake --build "$build" -j "$(nproc)" --target Morvane CipherLab9x00 terminal-sim morvane-control \
  >/dev/null || { echo "run: the build failed" >&2; exit 1; }

source scripts/server-session.sh
source scripts/demo-profile.sh

# Signals only set a flag: the script then closes the server itself.
interrupted=""
trap 'interrupted=1' INT TERM HUP
session_begin || exit 1
[ -n "${session_private_display:-}" ] &&
  echo "run: no display given; the server runs on a private Xvfb display $DISPLAY"

if [ "$mode" = --demo ]; then
  # The demo just stops; leaving runs session_end, which closes a running server properly.
  trap 'exit 130' INT TERM HUP
  [ -n "$interrupted" ] && exit 130
  source scripts/demo-run.sh
  demo_run "$PWD/build/demo"
  exit $?
fi

dir="$PWD/build/run"
if [ "$mode" = --reset ] || [ ! -d "$dir" ] || ! demo_settings_exist; then
  demo_files "$dir"
  demo_settings "$dir" "$(session_free_port "${MORVANE_PORT:-5000}")" ||
    { echo "run: cannot write the settings key" >&2; exit 1; }
  echo "run: demo profile written (HKCU\\Morvane\\Options\\Software in $prefix)"
fi
port=$(session_wine reg query "$demo_settings_key" /v Port 2>/dev/null | tr -d '\r' |
  awk '$1 == "Port" { print $3 }')
port=$((port))

[ -n "$interrupted" ] && exit 130
session_start_server "$dir" || { echo "run: the server did not start" >&2; exit 1; }
if session_control wait-log "Сервер запущен!" 10000 >/dev/null; then
  state="listening on port $port"
else
  state="NOT listening: port $port is taken? (Настройки, or scripts/run.sh --reset)"
fi
sim="WINEPREFIX=$prefix wine $build/tools/simulator/terminal-sim.exe"
cat <<TEXT
run: the server runs (wine process $server_pid), $state
  base files of the shared set:  $dir/bases (base 1 goods, 2 prices, 3 stores)
  per-terminal files:            $dir/own-bases
  uploads (a file per exchange): $dir/uploads
  saved log:                     $dir/log
Play a terminal (from this folder, in another terminal):
  $sim download --serial 12345678 --base 1 --out goods.txt --port $port
  $sim upload --serial 12345678 --base 1 --kind 2 --file $dir/terminal/inventory.txt --port $port
Stop with Ctrl+C or "Выход": the server saves its settings and log first.
TEXT

# A trapped signal ends the wait early; the server is then closed through its close sequence.
rc=0
while session_server_running; do
  if [ -n "$interrupted" ]; then
    session_say "run: stopping the server through its close sequence"
    session_close_server
    rc=$?
    break
  fi
  wait "$server_pid" 2>/dev/null
  rc=$?
done
server_pid=""
session_say "run: the server has ended (exit code $rc); log: $dir/log"
session_end
exit $rc
