#!/usr/bin/env bash
# Runs a benchmark of a Windows build under wine with what the Windows tests get: the build's
# private prefix, a private Xvfb display, code page 1251 and a warm wineserver.
#   bench/run-under-wine.sh <build-dir> <benchmark> [arguments...]
#   e.g. bench/run-under-wine.sh build/win32 bench_log_append 100000
set -uo pipefail
cd "$(dirname "$0")/.."
build="$(realpath "$1")"
program="$2"
shift 2

export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
scripts/wine-prefix.sh "$WINEPREFIX" || exit 1
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
wineserver -p </dev/null >/dev/null 2>&1
env LC_ALL=ru_RU.UTF-8 wine wineboot </dev/null >/dev/null 2>&1

env LC_ALL=ru_RU.UTF-8 wine "$build/bench/$program.exe" "$@" </dev/null
