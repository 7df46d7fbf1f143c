#!/usr/bin/env bash
# Sets everything up, builds the 64-bit program and starts it under wine64,
# on the current DISPLAY or, without one, under Xvfb. Arguments go to the
# program (e.g. /ip "198.51.100.7").
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" win64
exec "$root/scripts/wine-run.sh" "$root/build/win64/Ownerlens.exe" "$@"
