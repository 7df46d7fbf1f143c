#!/usr/bin/env bash
# Runs a Windows program under wine64 with the project's prefix:
#   scripts/wine-run.sh prog.exe args...
# Without a DISPLAY the program gets a private Xvfb.
set -e
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
ol_wine_init
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" /usr/lib/wine/wine64 "$@"
fi
exec /usr/lib/wine/wine64 "$@"
