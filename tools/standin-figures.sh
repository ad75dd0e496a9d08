#!/usr/bin/env bash
# Measures the stand-in component under wine with the native simulator over loopback:
#   tools/standin-figures.sh <win32-build-dir> <native-build-dir>
# 1. a 64 MB base downloaded three times (throughput as the simulator prints it);
# 2. the fleet mode, 20 terminals x 20 mixed exchanges (16 KB base, 4 KB uploads).
# Builds what it needs, uses the build's own wine prefix, and stops everything it started.
set -euo pipefail
cd "$(dirname "$0")/.."
win="$(realpath "$1")"
native="$(realpath "$2")"
cmake --build "$win" -j 2 --target standin-host CipherLab9x00 >/dev/null
cmake --build "$native" -j 2 --target terminal-sim >/dev/null
sim="$native/tools/simulator/terminal-sim"
host="$win/tools/standin-host/standin-host.exe"

export WINEPREFIX="$win/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
scripts/wine-prefix.sh "$WINEPREFIX"
wineserver -p </dev/null >/dev/null 2>&1
scripts/register-standin.sh "$win"

work="$(mktemp -d)"
trap 'touch "$work/stop"; sleep 0.5; wineserver -k >/dev/null 2>&1; rm -rf "$work"' EXIT
mkdir -p "$work/up"
wpath() { winepath -w "$1" 2>/dev/null; }

# Runs the host on a free port with the given base file and prints the port.
start_host() {
  local port base="$1"
  port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("",0)); print(s.getsockname()[1])')
  rm -f "$work/stop" "$work/host.log"
  env LC_ALL=ru_RU.UTF-8 wine "$host" --port "$port" --base "$(wpath "$base")" \
    --upload-dir "$(wpath "$work/up")" --stop-file "$(wpath "$work/stop")" --quiet \
    </dev/null >"$work/host.log" 2>&1 &
  for _ in $(seq 100); do grep -q listening "$work/host.log" 2>/dev/null && break; sleep 0.1; done
  grep -q listening "$work/host.log" || { cat "$work/host.log" >&2; exit 1; }
  echo "$port"
}
stop_host() {
  touch "$work/stop"
  for _ in $(seq 100); do grep -q "downloads," "$work/host.log" && break; sleep 0.1; done
  tail -n 1 "$work/host.log"
}

echo "== 64 MB download over loopback"
head -c $((64 * 1024 * 1024)) /dev/urandom >"$work/base64m.bin"
port=$(start_host "$work/base64m.bin")
for _ in 1 2 3; do "$sim" download --port "$port" --serial BENCH1 --base 1 --out "$work/got.bin"; done
cmp -s "$work/got.bin" "$work/base64m.bin" && echo "received file identical to the base"
stop_host

echo "== fleet: 20 terminals x 20 exchanges"
head -c 16384 /dev/urandom >"$work/base16k.bin"
port=$(start_host "$work/base16k.bin")
"$sim" fleet --port "$port" --terminals 20 --exchanges 20 --upload-bytes 4096 || true
stop_host
