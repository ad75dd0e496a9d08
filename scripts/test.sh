#!/usr/bin/env bash
# The whole check, from a fresh Debian machine or a warm one:
#   installs what is missing, builds native / win32 / win64, runs every test, checks formatting.
# Native tests run directly (ASan + UBSan); Windows tests run under wine in a private prefix with a
# private Xvfb display. Exits non-zero when anything fails; stops every process it started.
set -uo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
jobs="${JOBS:-$(nproc)}"
failures=()
step() { echo; echo "==== $*"; }
fail() { failures+=("$1"); echo "FAILED: $1"; }

step "bootstrap"
scripts/bootstrap.sh || { echo "bootstrap failed"; exit 1; }

step "format check"
scripts/format-check.sh || fail "format"

step "native build"
if cmake --preset native >/dev/null && cmake --build --preset native -j "$jobs"; then
  step "native tests"
  ctest --preset native -j "$jobs" || fail "native tests"
  if [ -x build/native/tools/fuzz/run-fuzzers.sh ]; then
    step "fuzzers (bounded)"
    build/native/tools/fuzz/run-fuzzers.sh || fail "fuzzers"
  fi
else
  fail "native build"
fi

step "win64 build (compile only)"
{ cmake --preset win64 >/dev/null && cmake --build --preset win64 -j "$jobs"; } || fail "win64 build"

step "win32 build"
if cmake --preset win32 >/dev/null && cmake --build --preset win32 -j "$jobs"; then
  export MORVANE_WINEPREFIX="$root/build/win32/wineprefix"
  export WINEPREFIX="$MORVANE_WINEPREFIX" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  scripts/wine-prefix.sh "$MORVANE_WINEPREFIX" || fail "wine prefix"
  scripts/register-standin.sh build/win32 || fail "component registration"

  # A display of our own, and a wineserver kept alive for the run: both stopped on the way out.
  exec 9> "$root/build/win32/xvfb.display"
  Xvfb -displayfd 9 -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  cleanup() {
    WINEPREFIX="$MORVANE_WINEPREFIX" wineserver -k >/dev/null 2>&1
    kill "$xvfb_pid" >/dev/null 2>&1
    wait "$xvfb_pid" 2>/dev/null
  }
  trap cleanup EXIT
  for _ in $(seq 100); do [ -s "$root/build/win32/xvfb.display" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n1 "$root/build/win32/xvfb.display")"
  wineserver -p </dev/null >/dev/null 2>&1
  env LC_ALL=ru_RU.UTF-8 wine wineboot </dev/null >/dev/null 2>&1

  step "win32 tests (under wine, DISPLAY=$DISPLAY)"
  ctest --preset win32 -j "$jobs" || fail "win32 tests"
else
  fail "win32 build"
fi

echo
if [ ${#failures[@]} -gt 0 ]; then
  echo "==== FAILED: ${failures[*]}"
  exit 1
fi
echo "==== all green"
