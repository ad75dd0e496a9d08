#!/usr/bin/env bash
# Runs the installer tests in a wine prefix of their own: a fresh copy of a template prefix (made
# once per build) for every run, with its own wineserver, stopped at the end. Uses the DISPLAY
# that scripts/wine-ctest.sh provides.
#   run-installer-tests.sh <build-dir> <test-exe> [gtest arguments...]
set -u
build=$1
exe=$2
shift 2
root="$(cd "$(dirname "$0")/../../.." && pwd)"
template="$build/installer-prefix-template"
prefix="$build/installer-prefix"

"$root/scripts/wine-prefix.sh" "$template" >/dev/null || exit 1
rm -rf "$prefix" && cp -a "$template" "$prefix" || exit 1
# No menu entries on the host for the shortcut the installer makes.
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Wine's helpers start here, away from ctest's pipes.
wineserver -p </dev/null >/dev/null 2>&1
env LC_ALL=ru_RU.UTF-8 wine wineboot </dev/null >/dev/null 2>&1
env LC_ALL=ru_RU.UTF-8 wine "$exe" "$@" </dev/null
rc=$?
wineserver -k >/dev/null 2>&1
exit $rc
