#!/usr/bin/env bash
# Builds one or more configurations into build/<name>:
#   native  host g++ with ASan/UBSan: core, native tests, benchmarks
#   win64   x86_64 MinGW: Ownerlens.exe and the Win32 tests (run under wine64)
#   win32   i686 MinGW: the 32-bit release Ownerlens.exe
# Without arguments: all three.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=${OL_JOBS:-2}
configs=("$@")
[ ${#configs[@]} -gt 0 ] || configs=(native win64 win32)
for c in "${configs[@]}"; do
  case "$c" in
    native) args=(-DOWNERLENS_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
    win64)  args=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
    win32)  args=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release -DOWNERLENS_TESTS=OFF -DOWNERLENS_BENCH=OFF) ;;
    *) echo "unknown configuration: $c" >&2; exit 2 ;;
  esac
  echo "== build $c"
  cmake -S "$root" -B "$root/build/$c" -G Ninja "${args[@]}" >/dev/null
  cmake --build "$root/build/$c" -j "$jobs"
done
