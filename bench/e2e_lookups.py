#!/usr/bin/env python3
"""Benchmark: headless runs of Ownerlens.exe over 1,000 and 10,000
addresses against fake WHOIS servers on 127.0.0.1 (one per registry, each
answering every query with a real answer), under wine64. Prints lookups per
second and the time per address; the second must not grow by more than half
from 1,000 to 10,000 addresses. Not part of the test run.

    python3 bench/e2e_lookups.py [--exe PATH] [--sizes 1000,10000] [--resolve]
"""

import argparse
import os
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
import fake_whois as fw  # noqa: E402
import run_e2e  # noqa: E402

DATA = os.path.join(ROOT, "tests", "data", "whois")
ANSWERS = {
    "ARIN": "arin/direct_allocation_no_referral_4.2.2.1.txt",
    "RIPE": "ripe/colt_person_62.97.102.115.txt",
    "APNIC": "apnic/hinet_irt_twnic_218.165.121.114.txt",
    "LACNIC": "lacnic/cantv_allocated_200.44.33.31.txt",
    "AFRINIC": "afrinic/sentech_2025_66.18.70.6.txt",
}
# Every address asked, one conversation at a time: no pacing, budgets or reuse.
PLAIN = ["LacnicQueriesPerMinute=0", "RipeDailyContacts=0", "ApnicDailyContacts=0", "AfrinicDailyContacts=0",
         "ReuseMaxAddresses=0", "MaxConversations=1"]
# First octets that the program sends to ARIN, RIPE NCC, APNIC, LACNIC, AfriNIC.
FIRST_OCTETS = (8, 62, 58, 200, 41)


def addresses(n):
    out = []
    for i in range(n):
        first = FIRST_OCTETS[i % len(FIRST_OCTETS)]
        k = i // len(FIRST_OCTETS) + 1
        out.append("%d.%d.%d.%d" % (first, (k >> 16) & 255, (k >> 8) & 255, k & 255))
    return out


def run(n, resolve):
    defaults = {}
    for name, path in ANSWERS.items():
        with open(os.path.join(DATA, path), "rb") as f:
            defaults[name] = f.read()
    servers = fw.Servers(defaults=defaults)
    p = run_e2e.Program(argparse.Namespace(addCleanup=lambda stop: None), "bench_lookups_%d" % n,
                        ["ResolveIPAddr=%d" % (1 if resolve else 0)] + PLAIN + servers.settings())
    listing = os.path.join(p.folder, "addresses.txt")
    with open(listing, "w") as f:
        f.write("\r\n".join(addresses(n)))
    out = os.path.join(p.folder, "out.txt")
    start = time.monotonic()
    p.start("/ipfile", run_e2e.winpath(listing), "/savetabbed", run_e2e.winpath(out))
    code = p.process.wait()
    elapsed = time.monotonic() - start
    queries = sum(len(s.queries) for s in servers.values())
    with open(out, "rb") as f:
        rows = f.read().count(b"\r\n")
    if code != 0 or rows != n or queries != n:
        raise SystemExit("run of %d failed: exit %d, %d rows, %d queries" % (n, code, rows, queries))
    return elapsed


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", default=os.path.join(ROOT, "build", "win64", "Ownerlens.exe"))
    parser.add_argument("--sizes", default="1000,10000")
    parser.add_argument("--resolve", action="store_true", help="with reverse name resolution on")
    args = parser.parse_args()
    if not os.environ.get("DISPLAY"):
        os.execvp("xvfb-run", ["xvfb-run", "-a", sys.executable] + sys.argv)
    os.environ["OL_E2E_EXE"] = os.path.abspath(args.exe)
    subprocess.run(["bash", "-c", 'source "$0"; ol_wine_init'] + run_e2e.WINE[3:], check=True)
    results = []
    for n in [int(x) for x in args.sizes.split(",")]:
        elapsed = run(n, args.resolve)
        results.append((n, elapsed))
        print("%6d addresses: %7.2f s, %7.1f lookups/s, %.3f ms per address" %
              (n, elapsed, n / elapsed, elapsed * 1000 / n), flush=True)
    if len(results) >= 2:
        (n1, t1), (n2, t2) = results[0], results[-1]
        ratio = (t2 / n2) / (t1 / n1)
        print("time per address at %d / at %d: %.2f (at most 1.5)" % (n2, n1, ratio))
        return 0 if ratio <= 1.5 else 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
