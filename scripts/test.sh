#!/usr/bin/env bash
# The whole check, from a fresh Debian machine or a warm one:
#   installs what is missing, builds native / win32 / win64, runs every test, checks formatting.
# Native tests run directly (ASan + UBSan); Windows tests run under wine in a private prefix with a
# private Xvfb display (scripts/wine-ctest.sh). Exits non-zero when anything fails; stops every
# process it started. BUILD_ROOT (default: build) says where the build folders go.
set -uo pipefail
cd "$(dirname "$0")/.."
B="${BUILD_ROOT:-build}"
jobs="${JOBS:-$(nproc)}"
started=$(date +%s)
failures=()
step() { echo; echo "==== $*"; }
fail() { failures+=("$1"); echo "FAILED: $1"; }

step "bootstrap"
scripts/bootstrap.sh || { echo "bootstrap failed"; exit 1; }

step "format check"
scripts/format-check.sh || fail "format"

step "native build"
if cmake --preset native -B "$B/native" >/dev/null && cmake --build "$B/native" -j "$jobs"; then
  step "native tests"
  ctest --test-dir "$B/native" --output-on-failure -j "$jobs" || fail "native tests"
  if [ -x tools/fuzz/run-fuzzers.sh ]; then
    step "fuzzers (bounded)"
    tools/fuzz/run-fuzzers.sh "$B/fuzz" || fail "fuzzers"
  fi
else
  fail "native build"
fi

step "win64 build (compile only)"
{ cmake --preset win64 -B "$B/win64" >/dev/null && cmake --build "$B/win64" -j "$jobs"; } ||
  fail "win64 build"

step "win32 build"
if cmake --preset win32 -B "$B/win32" >/dev/null && cmake --build "$B/win32" -j "$jobs"; then
  step "win32 tests (under wine)"
  scripts/wine-ctest.sh "$B/win32" -j "$jobs" || fail "win32 tests"
else
  fail "win32 build"
fi

echo
echo "==== took $(( $(date +%s) - started )) s"
if [ ${#failures[@]} -gt 0 ]; then
  echo "==== FAILED: ${failures[*]}"
  exit 1
fi
echo "==== all green"
