#!/usr/bin/env bash
# The log and fleet benchmarks: builds what they need, then runs them under wine with the stand-in
# component registered, a private Xvfb display and code page 1251, and prints each figure beside
# its anchor from the same run (the first lines of the log, the fleet on an empty log). "standin"
# runs bench/run-standin-benchmarks.sh (bursts against nginx, a large download against a plain
# sender); "all" runs it last.
#   bench/run-benchmarks.sh [all|log|fleet|standin] [arguments for that one benchmark...]
#   MORVANE_BENCH_BUILD=<dir> picks the build folder (default build/win32).
# The fleet rewrites the settings key of the build's wine prefix, like the end-to-end tests do:
# never run it beside scripts/wine-ctest.sh on the same build folder.
set -uo pipefail
cd "$(dirname "$0")/.."
build="$(realpath -m "${MORVANE_BENCH_BUILD:-build/win32}")"
what="${1:-all}"
[ $# -gt 0 ] && shift
case "$what" in all | log | fleet) ;; standin) exec bench/run-standin-benchmarks.sh "$@" ;; *)
  echo "usage: bench/run-benchmarks.sh [all|log|fleet|standin] [arguments...]" >&2
  exit 2
  ;;
esac

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake --preset win32 -B "$build" >/dev/null || exit 1
fi
cmake --build "$build" -j2 --target bench_log_append bench_fleet >/dev/null || {
  echo "run-benchmarks: the build failed" >&2
  exit 1
}

source scripts/wine-session.sh
scripts/register-standin.sh "$build" || exit 1

run() {
  env LC_ALL=ru_RU.UTF-8 wine "$build/bench/$1.exe" "${@:2}" </dev/null
}

status=0
if [ "$what" = all ] || [ "$what" = log ]; then
  if [ "$what" = log ] && [ $# -gt 0 ]; then args=("$@"); else args=(100000); fi
  run bench_log_append "${args[@]}" || status=1
fi
if [ "$what" = all ] || [ "$what" = fleet ]; then
  if [ "$what" = fleet ] && [ $# -gt 0 ]; then
    args=("$@")
  else
    args=(--terminals 48 --exchanges 20 --preload 100000 --rounds 2)
  fi
  run bench_fleet "${args[@]}" || status=1
fi
if [ "$what" = all ]; then
  # In a session of its own, after this one's programs have ended.
  wine_session_cleanup
  trap - EXIT
  bench/run-standin-benchmarks.sh || status=1
fi
exit $status
