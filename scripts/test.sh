#!/usr/bin/env bash
# Sets everything up, builds all three configurations and runs every test
# tier: native unit tests, fuzz smoke, Win32 tests under wine64, end-to-end
# runs of Ownerlens.exe against local fake WHOIS servers.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/setup.sh || exit 1
bash scripts/build.sh native win64 win32 || { echo "build failed"; exit 1; }

passed=0
failed=0
failures=()
tier() {
  local name=$1
  shift
  echo
  echo "== tier: $name"
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    failures+=("$name")
  fi
}

tier "layers" python3 scripts/check_layers.py
tier "format" bash scripts/check_format.sh
tier "release exe runs on Windows XP" bash scripts/check_xp_exe.sh build/win32/Ownerlens.exe
tier "native unit tests" ctest --test-dir build/native --output-on-failure -j 2
if [ -x scripts/fuzz.sh ]; then
  tier "fuzz smoke" bash scripts/fuzz.sh "${OL_FUZZ_SECONDS:-20}"
fi

source scripts/xvfb.sh
source scripts/wine-env.sh
ol_wine_init
tier "win32 tests (code page 936)" ol_wine build/win64/tests/win/win_tests.exe
if [ -f tests/e2e/run_e2e.py ]; then
  tier "end-to-end" python3 tests/e2e/run_e2e.py --exe build/win64/Ownerlens.exe
fi

echo
bash scripts/test_size.sh
[ ${#failures[@]} -eq 0 ] || printf 'failed tier: %s\n' "${failures[@]}"
echo "tiers: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
