#!/usr/bin/env bash
# Renders the HTML reports of real registry answers in headless Chromium and
# checks the pictures: the native test writes the reports (the same bytes it
# compares with tests/data/reports), Chromium takes a screenshot of each, and
# check_report_png.py looks for the report's colours and for text.
#   scripts/render_reports.sh [NATIVE_BUILD_DIR] [OUT_DIR]
# Needs the native build (core_tests) and the chromium package. Not part of CI.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build}
out=${2:-$build/rendered-reports}
tests=$build/tests/core/core_tests
[ -x "$tests" ] || { echo "no $tests: build the native tests first" >&2; exit 2; }
browser=$(command -v chromium || command -v chromium-browser || true)
[ -n "$browser" ] || { echo "chromium is not installed (apt-get install chromium)" >&2; exit 2; }

rm -rf "$out"
mkdir -p "$out"
OL_REPORT_OUT=$out "$tests" --gtest_filter='RealReportTest.*' >"$out/tests.log" 2>&1 || {
  cat "$out/tests.log" >&2
  exit 1
}

# A new, empty profile per run; the reports declare no character set (no
# language file), so the profile reads them as a Chinese system's browser
# would: as GBK.
profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
mkdir -p "$profile/Default"
echo '{"webkit":{"webprefs":{"default_charset":"GBK"}}}' >"$profile/Default/Preferences"

render() {  # html, png, width, height
  timeout 120 "$browser" --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$profile" --screenshot="$2" --window-size="$3,$4" "file://$1" \
    >>"$out/chromium.log" 2>&1
  [ -s "$2" ] || { echo "chromium wrote no $2" >&2; exit 1; }
}
render "$out/real_horizontal.html" "$out/horizontal.png" 3000 900
render "$out/real_vertical.html" "$out/vertical.png" 900 1800

# Pale yellow, pink and blue: positions 0, 8 and 17 of the gradient. The
# vertical report hides a column, so its last column is at position 16.
python3 "$root/scripts/check_report_png.py" "$out/horizontal.png=FFFFF0,FFF0F0,F0F0FF" \
  "$out/vertical.png=FFFFF0,FFF0F0,F1F0FD"
echo "rendered: $out/horizontal.png $out/vertical.png"
