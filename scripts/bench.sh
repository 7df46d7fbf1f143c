#!/bin/bash
# Builds the benchmarks and runs them.
#   scripts/bench.sh [args]      native Release, no sanitizers; extra arguments
#                                go to the benchmark program, e.g.
#                                --benchmark_filter=Arin
#   scripts/bench.sh win [args]  the Win32 answer-receiving benchmark under
#                                wine64 (from the win64 build); args: rounds
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
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
