#!/usr/bin/env python3
"""Benchmark: headless runs of Ownerlens.exe over 1,000 and 10,000
addresses against fake WHOIS servers on 127.0.0.1 (one per registry, each
answering every query with a real answer), under wine64, one conversation at
a time; in the same run GNU whois (Debian package "whois", a process per
query) asks the same servers, so do a bare Winsock client and the program's
connection without the rest of the program (bench/win/lookup_floor.exe, under
wine64), and Ownerlens asks 1,000 addresses over RDAP
from a fake RDAP service on 127.0.0.1. Prints lookups per second and the
time per address. Targets: at least three times GNU whois and 1,000
lookups/s at 10,000 addresses; time per address at 10,000 at most 1.2 times
that at 1,000. Each timed part waits until the connections of the ones
before have mostly left TIME_WAIT (up to 70 s). Not part of the test run.

    python3 bench/e2e_lookups.py [--exe PATH] [--sizes 1000,10000] [--resolve] [--whois 2000] [--floor 2000] [--rdap 1000]
"""

import argparse
import os
import shutil
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
import fake_rdap  # noqa: E402
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


def servers():
    defaults = {}
    for name, path in ANSWERS.items():
        with open(os.path.join(DATA, path), "rb") as f:
            defaults[name] = f.read()
    return fw.Servers(defaults=defaults)


def settle(limit=2000, most=70):
    """Waits (at most most seconds) until fewer than limit closed connections on this machine wait out TIME_WAIT:
    each run leaves one per lookup for a minute, and a port table filling with them slows the next run's connects."""
    end = time.monotonic() + most
    while time.monotonic() < end:
        with open("/proc/net/tcp") as f:
            if sum(line.split()[3] == "06" for line in f.readlines()[1:]) < limit:
                return
        time.sleep(1)


def floor(exe, n):
    """Lines of lookup_floor.exe: lookups/s of a bare Winsock client and of the program's connection alone."""
    settle()
    s = servers()
    r = subprocess.run(run_e2e.WINE + [exe, str(n)] + [server.address for server in s.values()],
                       capture_output=True, text=True, timeout=600)
    return r.stdout.strip().splitlines()


def gnu_whois(n):
    """Lookups per second of GNU whois asking the same servers one query at a time."""
    settle()
    s = servers()
    start = time.monotonic()
    for i, address in enumerate(addresses(n)):
        host, port = s[list(ANSWERS)[i % len(ANSWERS)]].address.split(":")
        subprocess.run(["whois", "-h", host, "-p", port, address], stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, check=True)
    return n / (time.monotonic() - start)


class RdapAnswers(dict):
    """Every registry's path answers with one real RDAP answer of that registry."""
    FILES = {"arin": "arin/ipwhois-google_74.125.225.229.json", "ripe": "ripe/ipwhois-bt-corporate_62.239.237.1.json",
             "apnic": "apnic/ipwhois-boranet_210.107.73.73.json",
             "lacnic": "lacnic/ipwhois-triara_200.57.141.161.json",
             "afrinic": "afrinic/ipwhois-vsa_196.11.240.215.json"}

    def get(self, key, default=None):
        with open(os.path.join(ROOT, "tests", "data", "rdap", self.FILES[key[0]]), "rb") as f:
            return [(200, f.read())]


def run(n, resolve, rdap=False):
    settle()
    s = servers()
    service = fake_rdap.FakeRdap(RdapAnswers()) if rdap else None
    p = run_e2e.Program(argparse.Namespace(addCleanup=lambda stop: None), "bench_lookups_%d" % n,
                        ["ResolveIPAddr=%d" % (1 if resolve else 0)] + PLAIN + s.settings() +
                        (service.settings() if rdap else []))
    listing = os.path.join(p.folder, "addresses.txt")
    with open(listing, "w") as f:
        f.write("\r\n".join(addresses(n)))
    out = os.path.join(p.folder, "out.txt")
    start = time.monotonic()
    p.start("/ipfile", run_e2e.winpath(listing), *(["/rdap"] if rdap else []), "/savetabbed", run_e2e.winpath(out))
    code = p.process.wait()
    elapsed = time.monotonic() - start
    queries = len(service.requests) if rdap else sum(len(server.queries) for server in s.values())
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
    parser.add_argument("--whois", type=int, default=2000, help="queries GNU whois asks (0: none)")
    parser.add_argument("--floor", type=int, default=2000,
                        help="lookups of a bare Winsock client and of the program's connection alone (0: none)")
    parser.add_argument("--rdap", type=int, default=1000, help="addresses asked over RDAP (0: none)")
    args = parser.parse_args()
    if not os.environ.get("DISPLAY"):
        os.execvp("xvfb-run", ["xvfb-run", "-a", sys.executable] + sys.argv)
    os.environ["OL_E2E_EXE"] = os.path.abspath(args.exe)
    subprocess.run(["bash", "-c", 'source "$0"; ol_wine_init'] + run_e2e.WINE[3:], check=True)
    results = []
    for n in [int(x) for x in args.sizes.split(",")]:
        elapsed = run(n, args.resolve)
        results.append((n, elapsed))
        print("%6d addresses over port 43: %7.2f s, %7.1f lookups/s, %.3f ms per address" %
              (n, elapsed, n / elapsed, elapsed * 1000 / n), flush=True)
    ok = True
    if len(results) >= 2:
        (n1, t1), (n2, t2) = results[0], results[-1]
        ratio = (t2 / n2) / (t1 / n1)
        ok = ratio <= 1.2
        print("time per address at %d / at %d: %.2f (target at most 1.2)" % (n2, n1, ratio))
    if args.whois and shutil.which("whois"):
        rate, (n, t) = gnu_whois(args.whois), results[-1]
        ok = ok and n / t >= 3 * rate
        print("GNU whois, %d queries: %7.1f lookups/s; Ownerlens at %d: %.1f times that (target at least 3)" %
              (args.whois, rate, n, n / t / rate), flush=True)
    tool = os.path.join(os.path.dirname(os.path.abspath(args.exe)), "bench", "win", "lookup_floor.exe")
    if args.floor and os.path.exists(tool):
        for line in floor(tool, args.floor):
            print("Below the program, %d lookups, %s" % (args.floor, line), flush=True)
    if args.rdap:
        elapsed = run(args.rdap, args.resolve, rdap=True)
        print("%6d addresses over RDAP (http on loopback): %7.2f s, %7.1f lookups/s" %
              (args.rdap, elapsed, args.rdap / elapsed), flush=True)
    return 0 if ok else 1

if __name__ == "__main__":
    sys.exit(main())
