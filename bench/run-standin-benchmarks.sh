#!/usr/bin/env bash
# The stand-in component under load, each figure printed beside its anchor from the same run:
#   burst download  T terminals (default 50) fetch a 1 MB base at once, against nginx serving the
#                   same file to T parallel curl transfers;
#   burst upload    T terminals upload 1 MB at once, against T parallel PUTs to nginx (WebDAV);
#   64 MB download  one terminal, against a plain send() loop of a wine process (bench_plain_send),
#                   and beside it the same with TransmitFile.
# The component runs in standin-host.exe under wine (the server's own request intake and component
# wrapper, the window handing each request over by WM_COPYDATA); the terminals are the native
# terminal-sim, built without sanitizers; nginx and curl run natively on loopback, nginx with a
# private configuration and prefix in the build folder. Every file received, by a terminal, the
# component, curl or nginx, is compared byte for byte with what was sent. Each figure is the median
# (and best) of the rounds; "backlog drops" counts the connections the kernel refused because a
# listener's queue was full (TcpExt ListenOverflows, machine-wide: other traffic adds to it).
#   bench/run-standin-benchmarks.sh [ROUNDS]        (default 5)
#   MORVANE_BENCH_BUILD=<dir> (default build/win32), MORVANE_BENCH_NATIVE=<dir> (build/bench-native),
#   MORVANE_BENCH_TERMINALS=<n> (50).
# Installs nginx-light and curl with apt-get when they are missing (root, or sudo).
set -uo pipefail
cd "$(dirname "$0")/.."
build="$(realpath -m "${MORVANE_BENCH_BUILD:-build/win32}")"
native="$(realpath -m "${MORVANE_BENCH_NATIVE:-build/bench-native}")"
rounds="${1:-5}"
terminals="${MORVANE_BENCH_TERMINALS:-50}"

missing=()
nginx -V 2>&1 | grep -q http_dav_module || missing+=(nginx-light)
command -v curl >/dev/null || missing+=(curl)
if [ ${#missing[@]} -gt 0 ]; then
  echo "standin benchmarks: installing ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null || exit 1
fi

if [ ! -f "$build/CMakeCache.txt" ]; then cmake --preset win32 -B "$build" >/dev/null || exit 1; fi
if [ ! -f "$native/CMakeCache.txt" ]; then
  cmake --preset native -B "$native" -DCMAKE_BUILD_TYPE=Release -DMORVANE_SANITIZE=OFF \
    >/dev/null || exit 1
fi
cmake --build "$build" -j2 --target standin-host CipherLab9x00 bench_plain_send >/dev/null &&
  cmake --build "$native" -j2 --target terminal-sim >/dev/null || {
  echo "standin benchmarks: the build failed" >&2
  exit 1
}
sim="$native/tools/simulator/terminal-sim"

source scripts/wine-session.sh
scripts/register-standin.sh "$build" >/dev/null || exit 1

work="$build/bench-standin"
rm -rf "$work"
mkdir -p "$work"/{www,got,up,nginx}
nginx_pid=""
host_pid=""
cleanup() {
  [ -n "$host_pid" ] && { touch "$work/stop"; wait "$host_pid" 2>/dev/null; }
  [ -n "$nginx_pid" ] && { kill "$nginx_pid" 2>/dev/null; wait "$nginx_pid" 2>/dev/null; }
  wine_session_cleanup
}
trap cleanup EXIT

free_port() {
  python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'
}
now() { date +%s%N; }
seconds() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.4f\n", (b - a) / 1e9 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.4f\n", a / b }'; }
overflows() { awk '/^TcpExt:/ { if (!h) { split($0, n); h = 1 } else for (i = 2; i <= NF; i++) if (n[i] == "ListenOverflows") print $i }' /proc/net/netstat; }
# median and best of numbers on stdin: "median best" (best = smallest unless $1 is max)
summary() { sort -g | awk -v want="${1:-min}" '{ v[NR] = $1 } END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "%.3f %.3f\n", m, (want == "max") ? v[NR] : v[1] }'; }
fail() {
  echo "standin benchmarks: $*" >&2
  exit 1
}

head -c $((1024 * 1024)) /dev/urandom >"$work/www/base1m.bin"
head -c $((64 * 1024 * 1024)) /dev/urandom >"$work/base64m.bin"
cp "$work/www/base1m.bin" "$work/base.bin"

# nginx: loopback only, everything under $work/nginx.
nginx_port=$(free_port)
cat >"$work/nginx/nginx.conf" <<EOF
daemon off;
worker_processes auto;
pid $work/nginx/nginx.pid;
error_log $work/nginx/error.log;
events { worker_connections 1024; }
http {
  access_log off;
  sendfile on;
  client_body_temp_path $work/nginx/body;
  client_max_body_size 2m;
  server {
    listen 127.0.0.1:$nginx_port backlog=511;
    root $work/www;
    location /up/ { dav_methods PUT; }
  }
}
EOF
mkdir -p "$work/www/up"
nginx -p "$work/nginx" -c "$work/nginx/nginx.conf" 2>/dev/null &
nginx_pid=$!

# The component, serving base.bin for every base number and storing uploads in up/.
host_port=$(free_port)
env LC_ALL=ru_RU.UTF-8 wine "$build/tools/standin-host/standin-host.exe" --port "$host_port" \
  --base "$(winepath -w "$work/base.bin")" --upload-dir "$(winepath -w "$work/up")" \
  --stop-file "$(winepath -w "$work/stop")" --quiet </dev/null >"$work/host.log" 2>&1 &
host_pid=$!
for _ in $(seq 100); do grep -q listening "$work/host.log" 2>/dev/null && break; sleep 0.1; done
grep -q listening "$work/host.log" || fail "standin-host did not start: $(cat "$work/host.log")"
for _ in $(seq 50); do curl -sf -o /dev/null "http://127.0.0.1:$nginx_port/base1m.bin" && break; sleep 0.1; done

# Each runner prints its seconds and leaves its drops in $work/drops; a wrong byte ends the run.
burst_standin_download() {
  rm -rf "$work/got" && mkdir "$work/got"
  local before t0 t1
  before=$(overflows)
  t0=$(now)
  "$sim" fleet --port "$host_port" --terminals "$terminals" --exchanges 1 --only download \
    --out-dir "$work/got" >"$work/sim.log" || fail "terminal fleet failed: $(cat "$work/sim.log")"
  t1=$(now)
  echo $(($(overflows) - before)) >"$work/drops"
  grep -o "slowest connect: .*" "$work/sim.log" >"$work/connect"
  for f in "$work"/got/*.bin; do cmp -s "$f" "$work/base.bin" || fail "$f differs from the base"; done
  [ "$(ls "$work/got" | wc -l)" -eq "$terminals" ] || fail "not every terminal got its file"
  seconds "$t0" "$t1"
}
burst_nginx_download() {
  rm -rf "$work/got" && mkdir "$work/got"
  local args=() i before t0 t1
  for i in $(seq "$terminals"); do args+=(-o "$work/got/$i.bin" "http://127.0.0.1:$nginx_port/base1m.bin"); done
  before=$(overflows)
  t0=$(now)
  curl -sf --no-progress-meter --parallel --parallel-immediate --parallel-max "$terminals" "${args[@]}" || fail "curl failed"
  t1=$(now)
  echo $(($(overflows) - before)) >"$work/drops"
  for f in "$work"/got/*.bin; do cmp -s "$f" "$work/base.bin" || fail "$f differs from the base"; done
  [ "$(ls "$work/got" | wc -l)" -eq "$terminals" ] || fail "not every transfer got its file"
  seconds "$t0" "$t1"
}
burst_standin_upload() {
  rm -rf "$work/up" && mkdir "$work/up"
  local before t0 t1
  before=$(overflows)
  t0=$(now)
  "$sim" fleet --port "$host_port" --terminals "$terminals" --exchanges 1 --only upload \
    --file "$work/www/base1m.bin" >"$work/sim.log" || fail "terminal fleet failed: $(cat "$work/sim.log")"
  t1=$(now)
  echo $(($(overflows) - before)) >"$work/drops"
  grep -o "slowest connect: .*" "$work/sim.log" >"$work/connect"
  for f in "$work"/up/*; do cmp -s "$f" "$work/www/base1m.bin" || fail "$f differs from the upload"; done
  [ "$(ls "$work/up" | wc -l)" -eq "$terminals" ] || fail "not every upload was stored"
  seconds "$t0" "$t1"
}
burst_nginx_upload() {
  # nginx's workers may run as another user (nobody, when started by root).
  rm -rf "$work/www/up" && mkdir -m 777 "$work/www/up"
  local args=() i before t0 t1
  for i in $(seq "$terminals"); do args+=(-T "$work/www/base1m.bin" "http://127.0.0.1:$nginx_port/up/$i.bin"); done
  before=$(overflows)
  t0=$(now)
  curl -sf --no-progress-meter --parallel --parallel-immediate --parallel-max "$terminals" "${args[@]}" >/dev/null || fail "curl PUT failed"
  t1=$(now)
  echo $(($(overflows) - before)) >"$work/drops"
  for f in "$work"/www/up/*; do cmp -s "$f" "$work/www/base1m.bin" || fail "$f differs from the upload"; done
  [ "$(ls "$work/www/up" | wc -l)" -eq "$terminals" ] || fail "not every PUT was stored"
  seconds "$t0" "$t1"
}
# MB/s as terminal-sim prints it for one download from port $1.
download_rate() {
  "$sim" download --port "$1" --serial BENCH1 --base 1 --out "$work/got64.bin" >"$work/sim.log" ||
    fail "download failed: $(cat "$work/sim.log")"
  cmp -s "$work/got64.bin" "$work/base.bin" || fail "the 64 MB download differs from the base"
  sed -n 's/.*(\([0-9.]*\) MB\/s).*/\1/p' "$work/sim.log"
}

# Runs two runners in turn for every round and prints both figures and their ratio.
compare_bursts() {
  local title="$1" ours="$2" anchor="$3" i a b drops_a=0 drops_b=0 connect=""
  : >"$work/a" && : >"$work/b"
  for i in $(seq "$rounds"); do
    a=$($ours) || exit 1
    echo "$a" >>"$work/a"
    drops_a=$((drops_a + $(cat "$work/drops")))
    connect="$connect $(sed 's/slowest connect: //;s/ ms//' "$work/connect")"
    b=$($anchor) || exit 1
    echo "$b" >>"$work/b"
    drops_b=$((drops_b + $(cat "$work/drops")))
  done
  read -r ma ba < <(summary <"$work/a")
  read -r mb bb < <(summary <"$work/b")
  printf "%s (%d rounds, every file compared)\n" "$title" "$rounds"
  printf "  stand-in  median %6.3f s, best %6.3f s; backlog drops %d; slowest connect ms:%s\n" \
    "$ma" "$ba" "$drops_a" "$connect"
  printf "  nginx     median %6.3f s, best %6.3f s; backlog drops %d\n" "$mb" "$bb" "$drops_b"
  printf "  ratio     %.2f x nginx (median; target at most 2), best %.2f x\n" "$(ratio "$ma" "$mb")" \
    "$(ratio "$ba" "$bb")"
}

echo "== the stand-in component under load: $terminals terminals, 1 MB each; 64 MB alone"
compare_bursts "burst download: $terminals terminals fetch a 1 MB base at once" \
  burst_standin_download burst_nginx_download
compare_bursts "burst upload: $terminals terminals upload 1 MB at once" \
  burst_standin_upload burst_nginx_upload

cp "$work/base64m.bin" "$work/base.bin"
# Two plain senders: the send() loop, and TransmitFile (how wine does it, for the record).
start_plain() {
  local port
  port=$(free_port)
  env LC_ALL=ru_RU.UTF-8 wine "$build/bench/bench_plain_send.exe" "$port" \
    "$(winepath -w "$work/base64m.bin")" "$downloads" "$1" </dev/null >"$work/plain-$1.log" 2>&1 &
  for _ in $(seq 100); do grep -q listening "$work/plain-$1.log" 2>/dev/null && break; sleep 0.1; done
  grep -q listening "$work/plain-$1.log" || fail "bench_plain_send did not start: $(cat "$work/plain-$1.log")"
  echo "$port"
}
# A single large download is short and easily disturbed: three times as many, taken in turns.
downloads=$((rounds * 3))
loop_port=$(start_plain loop)
transmit_port=$(start_plain transmitfile)
: >"$work/a" && : >"$work/b" && : >"$work/c"
for i in $(seq "$downloads"); do
  download_rate "$host_port" >>"$work/a" || exit 1
  download_rate "$loop_port" >>"$work/b" || exit 1
  download_rate "$transmit_port" >>"$work/c" || exit 1
done
read -r ma ba < <(summary max <"$work/a")
read -r mb bb < <(summary max <"$work/b")
read -r mc bc < <(summary max <"$work/c")
printf "64 MB download (%d downloads each, every file compared)\n" "$downloads"
printf "  stand-in           median %7.1f MB/s, best %7.1f MB/s\n" "$ma" "$ba"
printf "  plain send() loop  median %7.1f MB/s, best %7.1f MB/s\n" "$mb" "$bb"
printf "  plain TransmitFile median %7.1f MB/s, best %7.1f MB/s\n" "$mc" "$bc"
printf "  ratio              %.2f x the plain send loop (median; target at least 0.9), best %.2f x\n" \
  "$(ratio "$ma" "$mb")" "$(ratio "$ba" "$bb")"
