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

source scripts/wine-session.sh

env LC_ALL=ru_RU.UTF-8 wine "$build/bench/$program.exe" "$@" </dev/null
