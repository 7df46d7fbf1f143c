#!/usr/bin/env bash
# Screenshots of the program's windows under a private Xvfb: the main window
# after a lookup run against local fake WHOIS servers, then the address
# dialog, the column settings dialog, the properties dialog and the About
# box, each opened with its menu command:
#   scripts/screenshot_ui.sh OUTDIR [LANGUAGE_FILE]
# With LANGUAGE_FILE (e.g. translations/Ownerlens_lng.ini) the program runs
# with it as its language file. OL_EXE names the program to use.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=$(mkdir -p "$1" && cd "$1" && pwd); language=${2:-}
exe=${OL_EXE:-$root/build/win64/Ownerlens.exe}
tool=$(dirname "$exe")/tests/e2e/oltool.exe
unset DISPLAY
source "$root/scripts/xvfb.sh"
source "$root/scripts/wine-env.sh"
ol_wine_init

# No dot in the folder: the settings file is named by the path up to its
# first dot.
work=$(mktemp -d /tmp/olshotXXXXXX)
servers_pid=
cleanup() {
  [ -n "$servers_pid" ] && kill "$servers_pid" 2>/dev/null || true
  [ -n "${OL_KEEP_WORK:-}" ] || rm -rf "$work"
}
trap 'cleanup; kill ${OL_XVFB_PID:-} 2>/dev/null || true' EXIT
cp "$exe" "$work/Ownerlens.exe"
[ -n "$language" ] && cp "$language" "$work/Ownerlens_lng.ini"

data=$root/tests/data/whois
python3 -u - "$root/tests/e2e" \
  "ARIN=$data/arin/direct_allocation_no_referral_4.2.2.1.txt" \
  "RIPE=$data/ripe/colt_person_62.97.102.115.txt" \
  "APNIC=$data/apnic/hinet_irt_twnic_218.165.121.114.txt" \
  "LACNIC=$data/lacnic/cantv_allocated_200.44.33.31.txt" \
  "AFRINIC=$data/afrinic/sentech_2025_66.18.70.6.txt" > "$work/servers.txt" <<'EOF_PY' &
# One fake server per registry answering every query with the given file; prints "NAME PORT" lines.
import sys, threading
sys.path.insert(0, sys.argv[1])
import fake_whois
files = (a.partition("=") for a in sys.argv[2:])
for name, server in fake_whois.Servers(defaults={n: open(f, "rb").read() for n, _, f in files}).items():
    print(name, server.address.split(":")[1], flush=True)
threading.Event().wait()
EOF_PY
servers_pid=$!
for _ in $(seq 100); do [ "$(wc -l < "$work/servers.txt")" -ge 5 ] && break; sleep 0.1; done
{
  printf '[General]\r\nFindServerByIP=1\r\n'
  while read -r name port; do
    case $name in
      ARIN) key=ArinServer ;; RIPE) key=RipeServer ;; APNIC) key=ApnicServer ;;
      LACNIC) key=LacnicServer ;; AFRINIC) key=AfrinicServer ;; *) continue ;;
    esac
    printf '%s=127.0.0.1:%s\r\n' "$key" "$port"
  done < "$work/servers.txt"
} > "$work/Ownerlens.cfg"

ol_wine "$work/Ownerlens.exe" /ip "4.2.2.1, 62.97.102.115, 218.165.121.114, 200.44.33.31, 196.25.1.1" \
  >/dev/null 2>&1 &
pid=$!
for _ in $(seq 300); do ol_wine "$tool" visible >/dev/null 2>&1 && break; sleep 0.1; done
sleep 5
import -window root "$out/main.png"
for shot in address:40022 columns:40011 properties:40009 about:40003; do
  ol_wine "$tool" command "${shot#*:}" >/dev/null
  sleep 2
  import -window root "$out/${shot%%:*}.png"
  ol_wine "$tool" press 2 >/dev/null || true
  sleep 1
done
ol_wine "$tool" close >/dev/null 2>&1 || true
wait $pid 2>/dev/null || true
