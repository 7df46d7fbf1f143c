#!/usr/bin/env bash
# Style gate: every C/C++ source of the project matches .clang-format.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
files=$(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h' 'fuzz/*.cpp' 'fuzz/*.h')
clang-format --dry-run -Werror $files
echo "format: $(echo "$files" | wc -l) files match .clang-format"
