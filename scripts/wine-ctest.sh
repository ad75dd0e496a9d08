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

echo "wine-ctest: DISPLAY=$DISPLAY WINEPREFIX=$WINEPREFIX"
ctest --test-dir "$build" --output-on-failure "$@"
