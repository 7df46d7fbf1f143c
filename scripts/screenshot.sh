#!/usr/bin/env bash
# Starts Ownerlens.exe under a private Xvfb with the given arguments, waits
# until its window is up, then saves a PNG of the screen:
#   scripts/screenshot.sh OUT.png [DELAY_SECONDS] [ARGS...]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=$1; delay=${2:-3}; shift; shift || true
unset DISPLAY
source "$root/scripts/xvfb.sh"
source "$root/scripts/wine-env.sh"
ol_wine_init
exe=${OL_EXE:-$root/build/win64/Ownerlens.exe}
ol_wine "$exe" "$@" >/dev/null 2>&1 &
pid=$!
sleep "$delay"
import -window root "$out"
ol_wine "$root/build/win64/tests/e2e/oltool.exe" close >/dev/null 2>&1 || true
sleep 1
kill $pid 2>/dev/null || true
wait $pid 2>/dev/null || true
