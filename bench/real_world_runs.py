#!/usr/bin/env python3
"""Benchmark: what the registries' limits cost a run like a real one. Headless runs of Ownerlens.exe under wine64
over a seeded mix of addresses shaped like a mail log (many repeated, many inside the same /24s, the registries mixed
by rough shares of real traffic), against fake registries on 127.0.0.1 that take 150 ms per answer and ration like
the real ones: LACNIC denies beyond 10 queries a minute and then shuts the client out for 5 minutes; RIPE NCC and
APNIC send 1,000 contact objects a day, AfriNIC 5,000, then %ERROR:201 (mid-answer) and nothing else. Each answer's
block holds the address asked: a /24 for a registry's share of small blocks, a /16 otherwise.

A minute, for the program (OWNERLENS_TEST_MINUTE_MS) and the servers alike, lasts --minute-ms (15 s by default, a
quarter of a real one); the 150 ms per answer and the day are real. Three configurations:
  plain       ReuseMaxAddresses=0, every QueriesPerMinute and DailyContacts 0, MaxConversations=1
  defaults    no keys
  defaults+5  MaxConversations=5
Prints per configuration the wall time, the queries per registry, the denials sent and the rows per status, then how
much faster each is than plain. Targets: no denial with the defaults; reuse with 5 conversations at least 4 times as
fast as plain. Not part of the test run.

    python3 bench/real_world_runs.py [--exe PATH] [--addresses 1000] [--minute-ms 15000] [--seed 1] [--only NAME]
                                     [--lacnic-share 0.11]
"""

import argparse
import collections
import os
import random
import re
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
import fake_whois as fw  # noqa: E402
import run_e2e  # noqa: E402

# Per registry: share of the addresses, first octets the program sends to it, share of /24 blocks (others are /16),
# the real answer whose block is rewritten, its denial, and what its server rations.
REGISTRIES = {
    "ARIN": (0.20, [8, 12, 24, 50, 63, 64, 65, 66, 67, 68, 69, 70, 71, 72, 73, 74, 75, 76, 98, 104, 107, 108, 173, 174,
                    184, 199, 204, 205, 206, 207, 208, 209], 0.3, "arin/direct_allocation_no_referral_4.2.2.1.txt",
             None, None),
    "RIPE": (0.33, [62, 77, 78, 79, 80, 81, 82, 83, 84, 85, 86, 87, 88, 89, 90, 91, 92, 93, 94, 95, 141, 145, 151,
                    188, 193, 194, 195, 212, 213, 217], 0.6, "ripe/colt_person_62.97.102.115.txt", "denials/ripe_3.txt",
             1000),
    "APNIC": (0.30, [58, 59, 60, 61, 112, 113, 114, 115, 116, 117, 118, 119, 120, 121, 122, 123, 124, 125, 126, 133,
                     150, 153, 163, 171, 202, 203, 210, 211, 218, 219, 220, 221, 222], 0.45,
              "apnic/hinet_irt_twnic_218.165.121.114.txt", "denials/apnic_1.txt", 1000),
    "LACNIC": (0.11, [186, 187, 189, 190, 191, 200, 201], 0.3, "lacnic/cantv_allocated_200.44.33.31.txt",
               "lacnic/rate_limit_exceeded.txt", None),
    "AFRINIC": (0.06, [41, 154, 196], 0.5, "afrinic/sentech_2025_66.18.70.6.txt", "denials/afrinic_1.txt", 5000),
}
CONFIGURATIONS = {
    "plain": ["ReuseMaxAddresses=0", "MaxConversations=1"] +
             ["%sQueriesPerMinute=0" % n.capitalize() for n in REGISTRIES] +
             ["%sDailyContacts=0" % n for n in ("Ripe", "Apnic", "Afrinic")],
    "defaults": [],
    "defaults+5": ["MaxConversations=5"],
}
STATUS = {"成功": "Succeeded", "受限": "Limited", "失败": "Failed", "暂停": "Paused", "等待中...": "Waiting"}


def read(path):
    with open(os.path.join(ROOT, "tests", "data", "whois", path), "rb") as f:
        return f.read()


def mix(n, seed):
    """n addresses as a mail log gives them: a third repeat an earlier one, a third are new hosts of an earlier /24."""
    rng, names = random.Random(seed), list(REGISTRIES)
    out, networks = [], []
    while len(out) < n:
        roll = rng.random()
        if out and roll < 0.33:
            out.append(rng.choice(out))
            continue
        if networks and roll < 0.66:
            network = rng.choice(networks)
        else:
            name = rng.choices(names, [REGISTRIES[x][0] for x in names])[0]
            network = (rng.choice(REGISTRIES[name][1]), rng.randrange(256), rng.randrange(256))
            networks.append(network)
        out.append("%d.%d.%d.%d" % (network + (rng.randrange(1, 255),)))
    return out


class Answers:
    """The registry's answer for any address: the template with its block made one that holds the address."""

    def __init__(self, name, template, seed):
        self.name, self.template, self.seed, self.small = name, template, seed, REGISTRIES[name][2]

    def get(self, address, default=None):
        name, template, seed, small = self.name, self.template, self.seed, self.small
        a, b, c, _ = (int(x) for x in address.split("."))
        bits = 24 if random.Random("%d %d.%d.%d" % (seed, a, b, c)).random() < small else 16
        first, last = ("%d.%d.%d.%d" % (a, b, c * (bits == 24), 0), "%d.%d.%d.255" % (a, b, c if bits == 24 else 255))
        text = re.sub(rb"(?m)^(NetRange:|inetnum:)([ \t]*).*?(\r?)$",
                      lambda m: m[1] + m[2] + (("%s/%d" % (first, bits)) if name == "LACNIC" else
                                               "%s - %s" % (first, last)).encode() + m[3], template)
        return re.sub(rb"(?m)^(CIDR:[ \t]*).*?(\r?)$", lambda m: m[1] + b"%s/%d" % (first.encode(), bits) + m[2], text)


def run(configuration, addresses, minute_ms, seed):
    servers = fw.Servers(latency=0.15)
    for name, (_, _, _, template, denial, contacts) in REGISTRIES.items():
        servers[name].answers = Answers(name, read(template), seed)
        if name == "LACNIC":
            servers[name].limit = fw.RateLimit(10, 5 * minute_ms / 1000, minute_ms / 1000, read(denial))
        elif contacts:
            servers[name].limit = fw.ContactBudget(contacts, read(denial))
    p = run_e2e.Program(argparse.Namespace(addCleanup=lambda stop: None), "bench_real_" + configuration,
                        ["ResolveIPAddr=0", "FindServerByIP=1"] + CONFIGURATIONS[configuration] + servers.settings())
    listing, out = os.path.join(p.folder, "addresses.txt"), os.path.join(p.folder, "out.txt")
    with open(listing, "w") as f:
        f.write("\r\n".join(addresses))
    start = time.monotonic()
    p.start("/ipfile", run_e2e.winpath(listing), "/savetabbed", run_e2e.winpath(out),
            env={"OWNERLENS_TEST_MINUTE_MS": str(minute_ms)})
    code = p.process.wait()
    elapsed = time.monotonic() - start
    if code != 0:
        raise SystemExit("%s: the run ended with %d" % (configuration, code))
    with open(out, "rb") as f:
        rows = collections.Counter(STATUS.get(line.split(b"\t")[2].decode("gbk"), line.split(b"\t")[2].decode("gbk"))
                                   for line in f.read().split(b"\r\n") if line)
    queries = {name: len(s.queries) for name, s in servers.items()}
    denials = {name: s.limit.denials for name, s in servers.items() if s.limit and s.limit.denials}
    print("%-10s %8.1f s  queries %s (%d)  denials %s  rows %s" % (
        configuration, elapsed, " ".join("%s %d" % q for q in queries.items()), sum(queries.values()),
        " ".join("%s %d" % d for d in denials.items()) or "none", " ".join("%s %d" % r for r in sorted(rows.items()))),
          flush=True)
    # With one conversation per registry no run is shorter than its busiest registry's answers one after the other,
    # nor, when paced, than LACNIC's queries at five a minute.
    busiest = max(queries, key=queries.get)
    print("%-10s %8.1f s  at least: %s's answers one after the other; %.1f s LACNIC's queries at five a minute" % (
        "", queries[busiest] * 0.15, busiest, max(0, queries["LACNIC"] - 5) * minute_ms / 5000 * (
            "LacnicQueriesPerMinute=0" not in CONFIGURATIONS[configuration])), flush=True)
    return elapsed, sum(denials.values())


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", default=os.path.join(ROOT, "build", "win64", "Ownerlens.exe"))
    parser.add_argument("--addresses", type=int, default=1000)
    parser.add_argument("--minute-ms", type=int, default=15000)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--only", action="append", choices=list(CONFIGURATIONS))
    parser.add_argument("--lacnic-share", type=float, help="LACNIC's share of the new /24s (0.11)")
    args = parser.parse_args()
    if args.lacnic_share is not None:
        REGISTRIES["LACNIC"] = (args.lacnic_share,) + REGISTRIES["LACNIC"][1:]
    if not os.environ.get("DISPLAY"):
        os.execvp("xvfb-run", ["xvfb-run", "-a", sys.executable] + sys.argv)
    os.environ["OL_E2E_EXE"] = os.path.abspath(args.exe)
    subprocess.run(["bash", "-c", 'source "$0"; ol_wine_init'] + run_e2e.WINE[3:], check=True)
    addresses = mix(args.addresses, args.seed)
    print("%d addresses (%d different, in %d /24s); a minute lasts %d ms (real: 60000), an answer 150 ms" % (
        len(addresses), len(set(addresses)), len({a.rsplit(".", 1)[0] for a in addresses}), args.minute_ms))
    results = {c: run(c, addresses, args.minute_ms, args.seed) for c in args.only or CONFIGURATIONS}
    if "plain" in results:
        for c, (elapsed, _) in results.items():
            print("%-10s %5.2f times as fast as plain" % (c, results["plain"][0] / elapsed))
    ok = all(denials == 0 for c, (_, denials) in results.items() if c != "plain")
    if "plain" in results and "defaults+5" in results:
        ok = ok and results["plain"][0] >= 4 * results["defaults+5"][0]
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
