#!/usr/bin/env bash
# Lines under tests/ (fixtures under tests/data/ not counted) against lines
# under src/; benchmarks and fuzz targets count on neither side.
cd "$(dirname "${BASH_SOURCE[0]}")/.."
count() { git ls-files "$@" | xargs cat | wc -l; }
tests=$(count tests ':!tests/data')
src=$(count src)
awk -v t="$tests" -v s="$src" 'BEGIN { printf "size: tests %d lines, src %d lines, ratio %.2f\n", t, s, t / s }'
