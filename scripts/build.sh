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
    native) toolchain=; args=(-DOWNERLENS_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
    win64)  toolchain=$root/cmake/mingw-x86_64.cmake; args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
    win32)  toolchain=$root/cmake/mingw-i686.cmake
            args=(-DCMAKE_BUILD_TYPE=Release -DOWNERLENS_STRIP=ON -DOWNERLENS_TESTS=OFF -DOWNERLENS_BENCH=OFF) ;;
    *) echo "unknown configuration: $c" >&2; exit 2 ;;
  esac
  echo "== build $c"
  # A build folder keeps the compilers it was first configured with: start it
  # afresh when its toolchain file changed since.
  stamp="$root/build/$c/toolchain.cmake"
  if [ -n "$toolchain" ] && ! cmp -s "$toolchain" "$stamp"; then
    rm -rf "$root/build/$c/CMakeCache.txt" "$root/build/$c/CMakeFiles"
  fi
  [ -z "$toolchain" ] || args+=(-DCMAKE_TOOLCHAIN_FILE="$toolchain")
  cmake -S "$root" -B "$root/build/$c" -G Ninja "${args[@]}" >/dev/null
  [ -z "$toolchain" ] || cp "$toolchain" "$stamp"
  cmake --build "$root/build/$c" -j "$jobs"
done
