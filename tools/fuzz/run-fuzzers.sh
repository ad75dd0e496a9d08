#!/usr/bin/env bash
# Builds the terminal protocol's fuzz targets with clang + libFuzzer (ASan, UBSan) in a folder
# of their own and runs each for a bounded time:
#   tools/fuzz/run-fuzzers.sh <build-dir>
# FUZZ_SECONDS (default 20) is the time per target. Exits non-zero when a target finds a crash;
# the input that did it is left in <build-dir>/crash-*.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(realpath -m "${1:?usage: run-fuzzers.sh <build-dir>}")"
seconds="${FUZZ_SECONDS:-20}"

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j 2 >/dev/null

status=0
for target in fuzz_messages fuzz_framing; do
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  seeds="$here/seeds/${target#fuzz_}"
  echo "fuzz: $target for ${seconds} s"
  if ! "$build/$target" -max_total_time="$seconds" -max_len=600 -rss_limit_mb=1024 \
      -artifact_prefix="$build/" "$corpus" "$seeds" >"$build/$target.log" 2>&1; then
    echo "fuzz: $target FAILED, see $build/$target.log"
    tail -n 30 "$build/$target.log"
    status=1
  else
    grep -E "^#[0-9]+.*DONE" "$build/$target.log" | tail -n 1 || true
  fi
done
exit $status
