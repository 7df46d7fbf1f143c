#!/usr/bin/env bash
# Runs a Windows program under wine64 with the project's prefix:
#   scripts/wine-run.sh prog.exe args...
# Without a DISPLAY the program gets a private Xvfb.
set -e
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
ol_wine_init
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" env -u LC_ALL -u LC_CTYPE LANG="$OL_LANG" ${OL_LOCPATH:+LOCPATH="$OL_LOCPATH"} /usr/lib/wine/wine64 "$@"
fi
ol_wine "$@"
