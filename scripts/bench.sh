#!/bin/bash
# Builds the benchmarks and runs them.
#   scripts/bench.sh [args]      native Release, no sanitizers; extra arguments
#                                go to the benchmark program, e.g.
#                                --benchmark_filter=Arin
#   scripts/bench.sh win [args]  the Win32 answer-receiving benchmark under
#                                wine64 (from the win64 build); args: rounds
#   scripts/bench.sh lookups [args]   headless runs of Ownerlens.exe over 1,000
#                                and 10,000 addresses (bench/e2e_lookups.py)
#   scripts/bench.sh realworld [args] a mail-log-like run against rationing
#                                fake registries, plain against the defaults
#                                (bench/real_world_runs.py; some minutes)
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
if [ "${1:-}" = lookups ] || [ "${1:-}" = realworld ]; then
  script=$([ "$1" = lookups ] && echo e2e_lookups.py || echo real_world_runs.py)
  shift
  [ -d "$root/build/win64" ] || bash "$root/scripts/build.sh" win64
  cmake --build "$root/build/win64" -j2 --target Ownerlens oltool lookup_floor
  exec python3 "$root/bench/$script" --exe "$root/build/win64/Ownerlens.exe" "$@"
fi
if [ "${1:-}" = win ]; then
  shift
  [ -d "$root/build/win64" ] || bash "$root/scripts/build.sh" win64
  cmake --build "$root/build/win64" -j2 --target socket_bench
  source "$root/scripts/xvfb.sh"
  source "$root/scripts/wine-env.sh"
  ol_wine_init
  ol_wine "$root/build/win64/bench/win/socket_bench.exe" "$@"
  exit
fi
build="$root/build/bench"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DOWNERLENS_SANITIZE=OFF \
  -DOWNERLENS_TESTS=OFF -DOWNERLENS_BENCH=ON -DOWNERLENS_FUZZ=OFF >/dev/null
cmake --build "$build" -j2 --target ownerlens_bench
exec "$build/bench/ownerlens_bench" "$@"
