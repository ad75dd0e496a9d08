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

source scripts/wine-session.sh
scripts/register-standin.sh "$build" || exit 1

# One program stays on the desktop for the whole run, so that wine never closes it and no test
# starts a new desktop process that keeps the test's output pipe open (ctest would wait for it).
keeper="$build/tests/desktop_keeper.exe"
if [ -f "$keeper" ]; then
  keeper_ready="$(mktemp -u)"
  wine "$keeper" "$(winepath -w "$keeper_ready" 2>/dev/null)" </dev/null >/dev/null 2>&1 &
  for _ in $(seq 300); do [ -e "$keeper_ready" ] && break; sleep 0.1; done
  [ -e "$keeper_ready" ] || echo "wine-ctest: the desktop keeper did not start"
  rm -f "$keeper_ready"
fi

echo "wine-ctest: DISPLAY=$DISPLAY WINEPREFIX=$WINEPREFIX"
# No second run for a failed test: one that fails now and then must be seen, not passed over.
ctest --test-dir "$build" --output-on-failure "$@"
