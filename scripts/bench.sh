#!/bin/sh
# Builds the benchmarks (native Release, no sanitizers) and runs them.
# Extra arguments go to the benchmark program, e.g. --benchmark_filter=Arin.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/bench"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DOWNERLENS_SANITIZE=OFF \
  -DOWNERLENS_TESTS=OFF -DOWNERLENS_BENCH=ON -DOWNERLENS_FUZZ=OFF >/dev/null
cmake --build "$build" -j2 --target ownerlens_bench
exec "$build/bench/ownerlens_bench" "$@"
