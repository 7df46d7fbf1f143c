#!/usr/bin/env python3
"""End-to-end tests: Ownerlens.exe under wine64 as a black box, driven through its command line, settings file,
hand-over messages and report files, against fake WHOIS servers on 127.0.0.1. Exports are compared with
tests/data/e2e/*.expected."""

import os
import random
import re
import shutil
import signal
import subprocess
import sys
import threading
import time
import unittest
import xml.etree.ElementTree as ET

import fake_rdap
import fake_whois as fw

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
# scripts/wine-env.sh chooses the prefix and the locale of the code page.
WINE = ["bash", "-c", 'source "$0"; ol_wine "$@"', os.path.join(ROOT, "scripts", "wine-env.sh")]
KEY = "HKCU\\Software\\Velmora\\Ownerlens"
REPORT = (r"^Exception C0000005 at address (H) in module Ownerlens\.exe\r\nRegisters: \r\nRAX=H RBX=H RCX=H RDX=H\r\n"
          r"RSI=H RDI=H RBP=H RSP=H\r\nRIP=\1\r\nStack Data: .{447}\r\nCode Data: .{383}(\r\n|$)").replace(
              "H", "[0-9A-F]{16}")
# Shown, in this order: WHOIS source (120 px), country, IP address (100 each), status (80); the others hidden.
COLUMNS = "Columns=" + " ".join("%02X 00 %02X 00" % {15: (120, 0), 3: (100, 1), 1: (100, 2), 2: (80, 3)}.get(
    c, (0, 4 + c - (c > 1) - (c > 2) - (c > 3) - (c > 15))) for c in range(18))


def read(name):
    """A file under tests/data, or at a full path."""
    with open(os.path.join(ROOT, "tests", "data", name), "rb") as f:
        return f.read()


def answers():
    """The real answers by registry and address asked (tests/data/e2e/answers.txt)."""
    table = {}
    for name, address, path in (line.split() for line in read("e2e/answers.txt").decode().splitlines()[1:]):
        table.setdefault(name, {})[address] = read(path)
    return table


def winpath(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wait_for(predicate, timeout, step=0.05):
    end = time.time() + timeout
    while not predicate() and time.time() < end:
        time.sleep(step)
    return predicate()


class Program:
    """A private copy of Ownerlens.exe in its own folder, so that settings never leak between tests; settings are
    its settings file's lines."""

    def __init__(self, test, name, settings=None, codepage=936):
        exe = os.environ["OL_E2E_EXE"]
        self.folder = os.path.join(ROOT, "build", "e2e", name)
        shutil.rmtree(self.folder, ignore_errors=True)
        os.makedirs(self.folder)
        # Always named Ownerlens.exe, so that it reads the Ownerlens.cfg written here and never the defaults.
        self.exe, self.process = shutil.copy(exe, os.path.join(self.folder, "Ownerlens.exe")), None
        self.tool_exe = os.path.join(os.path.dirname(exe), "tests", "e2e", "oltool.exe")
        self.settings_path = os.path.join(self.folder, "Ownerlens.cfg")
        # The companion acts on this copy's window only.
        self.env = dict(os.environ, OL_CODEPAGE=str(codepage), OLTOOL_EXE=winpath(self.exe))
        test.addCleanup(self.stop)
        if settings is not None:
            with open(self.settings_path, "wb") as f:
                f.write(("\r\n".join(["[General]"] + settings) + "\r\n").encode())

    def wine(self, *args):
        return subprocess.run(WINE + list(args), env=self.env, capture_output=True, timeout=120)

    def tool(self, *args, retry=0):
        """The companion's outcome; with retry, tried again until it succeeds or retry seconds passed."""
        end = time.time() + retry
        while (r := self.wine(self.tool_exe, *args)).returncode and time.time() < end:
            time.sleep(0.05)
        return r

    def start(self, *args, env=None):
        self.process = subprocess.Popen(WINE + [self.exe] + list(args), env=dict(self.env, **(env or {})),
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)

    def stop(self):
        if self.process and self.process.poll() is None:
            os.killpg(self.process.pid, signal.SIGKILL)  # reaped by the next start

    def read(self, name):
        return read(os.path.join(self.folder, name))


class EndToEndTest(unittest.TestCase):
    """Headless runs (the exact query bytes each server received, and the exact reports), then the running program
    (start-up switches, the settings written at close, the fault guard, hand-over)."""

    def export(self, name, servers, settings, text, switch="/savetabbed", replace=None, env=None, wait=None,
               codepage=936, switches=()):
        """A headless run over text (bytes: a list file holding them); the report. Headless runs exit with 0 and
        never write the settings."""
        p = Program(self, name, ["FindServerByIP=1"] + settings + servers.settings(replace), codepage)
        settings, listing = p.read("Ownerlens.cfg"), os.path.join(p.folder, "list.txt")
        if isinstance(text, bytes):
            with open(listing, "wb") as f:
                f.write(text)
        p.start(*(["/ipfile", winpath(listing)] if isinstance(text, bytes) else ["/ip", text]), *switches, switch,
                winpath(os.path.join(p.folder, "out.txt")), env=env)
        if wait:
            wait(p)
        self.assertEqual(p.process.wait(120), 0)
        self.assertEqual(p.read("Ownerlens.cfg"), settings)
        return p.read("out.txt")

    def assertReport(self, data, expected):
        self.assertEqual(data.decode("gbk"), read("e2e/" + expected).decode("gbk"))

    def test_every_registry_with_referrals_a_reserved_and_a_duplicate_address(self):
        servers = fw.Servers(answers())
        data = self.export("registries", servers, ["ResolveIPAddr=1", "Sort=0"],
                           "4.2.2.1, 185.2.136.189; 170.0.0.1 62.97.102.115\r\n194.0.0.1 [196.25.1.1] "
                           "218.165.121.114 (200.44.33.31) 10.1.2.3 4.2.2.1")
        self.assertEqual({name: server.queries for name, server in servers.items()}, {
            "ARIN": [b"+4.2.2.1\r\n", b"+185.2.136.189\r\n", b"+170.0.0.1\r\n"],
            "RIPE": [b"-B 185.2.136.189\r\n", b"-B 62.97.102.115\r\n", b"-B 194.0.0.1\r\n"],
            "APNIC": [b"218.165.121.114\r\n"], "LACNIC": [b"170.0.0.1\r\n", b"200.44.33.31\r\n"],
            "AFRINIC": [b"194.0.0.1\r\n", b"196.25.1.1\r\n"]})
        # One conversation at a time, in list order, referrals right after.
        self.assertEqual([name for name, _ in servers.log], ["ARIN", "ARIN", "RIPE", "ARIN", "LACNIC", "RIPE", "RIPE",
                                                             "AFRINIC", "AFRINIC", "APNIC", "LACNIC"])
        # Not the host and resolved names: they depend on the machine's resolver.
        self.assertReport(re.sub(rb"[^\t\r\n]*\t[^\t\r\n]*\t\r\n", b"\t\t\r\n", data), "registries.expected")

    def test_five_conversations_ask_every_registry_at_once(self):
        # No server answers before all five have their query: asked one after the other, the first would wait in
        # vain and answer nothing.
        barrier = threading.Barrier(5, timeout=20)

        def after_all(data):
            def serve(conn):
                barrier.wait()
                fw.answer(data)(conn)
            return serve
        addresses = {"ARIN": "4.2.2.1", "RIPE": "62.97.102.115", "APNIC": "218.165.121.114",
                     "LACNIC": "200.44.33.31", "AFRINIC": "196.25.1.1"}
        servers = fw.Servers({name: {address: after_all(answers()[name][address])}
                              for name, address in addresses.items()})
        data = self.export("side_by_side", servers, ["ResolveIPAddr=0", "MaxConversations=5"],
                           " ".join(addresses.values()))
        self.assertFalse(barrier.broken)
        self.assertEqual(data.decode("gbk").count("\t成功\t"), 5)

    def test_reports_follow_the_saved_sort_and_columns(self):
        # Sorted by the IP column as text, descending; the AfriNIC server closes without a byte: an empty answer,
        # but answered. The HTML head shows the program's environment: no language file, no charset, left to right.
        # (Every format's bytes are the native tests'.)
        for settings, text, switch, expected in (
                (["Sort=%d" % (0x1000 | 1), COLUMNS], "185.2.136.189 4.2.2.1 62.97.102.115 196.1.1.1", "/savetabular",
                 "sorted_columns.expected"),
                ([], "4.2.2.1 10.0.0.1", "/savehtml", "report.html.expected")):
            with self.subTest(switch=switch):
                data = self.export(switch[1:], fw.Servers(answers()), ["ResolveIPAddr=0"] + settings, text, switch)
                self.assertReport(data, expected)
        # The XML export is well-formed under either code page, in the encoding it declares, and holds the cells.
        text = "4.2.2.1 185.2.136.189 170.0.0.1 62.97.102.115 218.165.121.114 200.44.33.31 196.25.1.1 10.0.0.1"
        for codepage, encoding in ((936, "GBK"), (1252, "ISO-8859-1")):
            xml, tabbed = (self.export("%s_%d" % (switch, codepage), fw.Servers(answers()), ["ResolveIPAddr=0"], text,
                                       "/save" + switch, codepage=codepage) for switch in ("xml", "tabbed"))
            self.assertTrue(xml.startswith(b'<?xml version="1.0"  encoding="%s" ?>\r\n' % encoding.encode()), xml[:50])
            self.assertEqual([[cell.text or "" for cell in item] for item in ET.fromstring(xml.decode(encoding))],
                             [line.split("\t")[:-1] for line in tabbed.decode(encoding).split("\r\n")[:-1]])

    def test_failures_and_hostile_answers_end_their_item_and_the_run_goes_on(self):
        a = answers()
        colt = a["RIPE"]["62.97.102.115"]
        a["RIPE"].update({"62.0.0.%d" % i: answer for i, answer in enumerate([
            random.Random(7).randbytes(20000),                 # binary
            b"netname: NO-LINE-END " * 30000,                  # no line ends
            b"netname: BEFORE-NUL\n\x00netname: AFTER-NUL\n",  # the answer ends at the NUL
            fw.flood,                                          # endless
            b"",                                               # nothing: an empty answer
            fw.answer(b"", reset=True),                        # a reset, nothing sent
            fw.answer(colt, chunk=97, delay=0.01),             # dribbled
            lambda conn: conn.recv(1),                         # never answers, until the client gives up
            colt], 1)})
        a["AFRINIC"]["194.0.0.1"] = a["RIPE"]["194.0.0.1"]  # refers again, endlessly
        # Reset after half an answer, which is answered (the whole answer names the more specific block
        # 218.165.0.0/16 further down, and another owner). The bytes arrive before the reset.
        hinet = a["APNIC"]["218.165.121.114"]
        a["APNIC"]["218.165.121.114"] = fw.answer(hinet[:len(hinet) // 2], delay=0.2, reset=True)

        def answers_while_held(p):
            # While the silent server holds its conversation open, the program answers and shows no window.
            self.assertTrue(wait_for(lambda: len(servers["RIPE"].queries) >= 9, 60))
            self.assertEqual(p.tool("alive").returncode, 0)
            self.assertNotEqual(p.tool("visible", retry=1).returncode, 0)

        servers = fw.Servers(a)
        text = "4.2.2.1 194.0.0.1 218.165.121.114 189.163.17.1 " + " ".join(
            "62.0.0.%d" % i for i in range(1, 10))
        data = self.export("failures", servers, ["ResolveIPAddr=0"], text, wait=answers_while_held,
                           replace={"ARIN": "127.0.0.1:1"},  # nothing listens: refused
                           env={"OWNERLENS_TEST_IDLE_TIMEOUT_MS": "6000"})
        self.assertReport(data, "failures.expected")
        # The referral bound: one question at RIPE NCC, four at AfriNIC.
        self.assertEqual(servers["RIPE"].queries, [b"-B %s\r\n" % x.encode() for x in ["194.0.0.1"] + text.split()[4:]])
        self.assertEqual(servers["AFRINIC"].queries, [b"194.0.0.1\r\n"] * 4)
        self.assertEqual(servers["LACNIC"].queries, [b"189.163.17.1\r\n"])

    def test_a_registry_that_denies_is_asked_no_more_and_the_others_go_on(self):
        # RIPE NCC sends one contact a day: the second answer stops before its person with %ERROR:201, and RIPE NCC is
        # asked nothing more, referrals to it included; APNIC is still blocked from an earlier run.
        a = answers()
        a["ARIN"]["185.2.137.1"] = a["ARIN"]["185.2.136.189"]
        text = "185.2.136.189 4.2.2.1 62.97.102.115 218.165.121.114 200.44.33.31 194.0.0.1 185.2.137.1"
        settings, colt, denial = ["ResolveIPAddr=0", "ApnicBlockedUntil=209912310000"], a["RIPE"]["62.97.102.115"], read(
            "whois/denials/ripe_3.txt")
        servers = fw.Servers(a)
        servers["RIPE"].limit = fw.ContactBudget(1, denial)
        self.assertReport(self.export("limited", servers, settings, text), "limited.expected")
        self.assertEqual(([name for name, _ in servers.log], servers["RIPE"].limit.denials),
                         (["ARIN", "RIPE", "ARIN", "RIPE", "LACNIC", "ARIN"], 1))
        # The cut answer, denial and all, is its row's answer: the last row by address as text is shown at the end.
        servers = fw.Servers(a)
        servers["RIPE"].limit = fw.ContactBudget(1, denial)
        p = self.started("limited_pane", "/ip", text, settings=settings + ["Sort=1"] + servers.settings())
        shown = lambda: p.tool("pane").stdout.replace(b"\r\n", b"\n")  # noqa: E731
        wait_for(lambda: shown() == colt[:colt.index(b"person:")] + denial, 30, 0.2)
        self.assertEqual(shown(), colt[:colt.index(b"person:")] + denial)
        self.close(p)

    def test_rdap_run_follows_a_redirect_and_waits_out_a_rate_limit(self):
        def rdap(path):
            return 200, read("rdap/" + path)
        service = fake_rdap.FakeRdap({
            ("arin", "74.125.225.229"): [rdap("arin/ipwhois-google_74.125.225.229.json")],
            ("arin", "130.59.31.80"): [("redirect", "ripe")],  # in ARIN's /8, held by RIPE NCC
            ("ripe", "130.59.31.80"): [rdap("ripe/whoisit-switch-lan_130.59.31.80.json")],
            ("ripe", "62.239.237.1"): [rdap("ripe/ipwhois-bt-corporate_62.239.237.1.json")],
            ("apnic", "210.107.73.73"): [rdap("apnic/ipwhois-boranet_210.107.73.73.json")],
            ("lacnic", "200.57.141.161"): [rdap("lacnic/ipwhois-triara_200.57.141.161.json")],
            ("afrinic", "196.11.240.215"): [rdap("afrinic/ipwhois-vsa_196.11.240.215.json")],
            ("arin", "3.3.3.3"): [(429, b'{"errorCode": 429}'), rdap("arin/rdapclient-at-88-z_3.3.3.3.json")]})
        servers = fw.Servers()  # nothing may reach port 43
        data = self.export("rdap", servers, ["ResolveIPAddr=0", "Sort=0"] + service.settings(),
                           "74.125.225.229 130.59.31.80 62.239.237.1 210.107.73.73 200.57.141.161 196.11.240.215 "
                           "3.3.3.3 13.72.183.192", switches=["/rdap"], env={"OWNERLENS_TEST_MINUTE_MS": "200"})
        self.assertReport(data, "rdap.expected")
        self.assertEqual([len(s.queries) for s in servers.values()], [0] * 5)
        self.assertEqual(service.requests, [(p, "application/rdap+json") for p in (
            "/arin/ip/74.125.225.229", "/arin/ip/130.59.31.80", "/ripe/ip/130.59.31.80", "/ripe/ip/62.239.237.1",
            "/apnic/ip/210.107.73.73", "/lacnic/ip/200.57.141.161", "/afrinic/ip/196.11.240.215", "/arin/ip/3.3.3.3",
            "/arin/ip/3.3.3.3", "/arin/ip/13.72.183.192")])  # ARIN's items wait out its pause

    def test_headless_edges_and_the_pause_settings(self):
        p = Program(self, "edges")
        # No settings file and no addresses: an empty report, and no settings written.
        self.assertEqual(p.wine(p.exe, "/ip", "none", "/savetabbed", winpath(p.folder + "/o.txt")).returncode, 0)
        self.assertEqual(p.read("o.txt"), b"")
        self.assertFalse(os.path.exists(p.settings_path))
        # A report that cannot be written, or none named: exit code 1.
        self.assertEqual(p.wine(p.exe, "/ip", "none", "/savetext", winpath(p.folder + "/no/o.txt")).returncode, 1)
        self.assertEqual(p.wine(p.exe, "/ip", "none", "/savetext").returncode, 1)
        # A pause of a second between the two; the list file ends at its NUL.
        servers = fw.Servers(defaults={"ARIN": answers()["ARIN"]["4.2.2.1"]})
        data = self.export("paused", servers, ["ResolveIPAddr=0", "Pause=1", "PauseCount=1", "PauseTime=1"],
                           b"4.2.2.1\r\n4.2.2.2\x004.2.2.5\r\n")
        self.assertReport(data, "paused.expected")
        self.assertGreaterEqual(servers.log[1][1] - servers.log[0][1], 0.9)

    def started(self, name, *args, settings=None, env=None):
        p = Program(self, name, settings)
        p.start("/nodlgstart", *args, env=env)
        self.assertEqual(p.tool("visible", retry=30).returncode, 0)
        return p

    def close(self, p):
        self.assertEqual(p.tool("close").returncode, 0)
        self.assertEqual(p.process.wait(120), 0)

    def test_savelangfile_and_deleteregkey_end_without_a_window(self):
        p = Program(self, "actions")
        self.assertEqual(p.wine("reg", "add", KEY + "\\Sub", "/v", "Probe", "/d", "1", "/f").returncode, 0)
        # Together, only the language template is written: the key stays; alone, it goes with its subkey.
        for args, key_stays in ((["/deleteregkey", "/savelangfile"], True), (["/DeleteRegKey"], False)):
            r = p.tool("run-nowindow", p.exe, *args)
            self.assertEqual(r.returncode, 0, r.stdout + r.stderr)
            self.assertEqual(p.wine("reg", "query", KEY).returncode == 0, key_stays)
        self.assertTrue(os.path.exists(os.path.join(p.folder, "Ownerlens_lng.ini")))
        self.assertFalse(os.path.exists(p.settings_path))  # neither action reads or writes the settings

    def test_a_fault_is_reported_and_the_program_goes_on_or_ends_as_chosen(self):
        for action in ("1", "2", "escape", "closebox"):  # continue, terminate, Escape, the close box
            with self.subTest(action=action):
                p = self.started("crash_" + action, env={"OWNERLENS_TEST_FAULTS": "1"})
                for _ in range(2 if action == "1" else 1):  # after continue, a fault is reported again
                    self.assertEqual(p.tool("command", "40999").returncode, 0)  # IDM_TEST_FAULT
                    r = p.tool("press", action, retry=30)
                    self.assertEqual(r.returncode, 0, r.stderr)
                    self.assertRegex(r.stdout.decode("ascii"), REPORT)
                    if action == "1":
                        self.assertEqual(p.tool("alive").returncode, 0)
                if action == "1":  # continued: it still closes normally
                    self.close(p)
                self.assertEqual(p.process.wait(120), 0 if action == "1" else 1)
                self.assertEqual(os.path.exists(p.settings_path), action == "1")

    def rows(self, p):
        return [line.split(b"\t") for line in p.tool("rows").stdout.splitlines()]

    def wait_rows(self, p, addresses):
        """Waits until the list holds exactly these addresses, all answered."""
        want = sorted((a, "成功".encode("gbk")) for a in addresses)
        self.assertTrue(wait_for(lambda: sorted((r[1], r[2]) for r in self.rows(p)) == want, 60, 0.2), self.rows(p))

    def test_ip_then_handovers_replace_the_list_and_bad_ones_change_nothing(self):
        arin = answers()["ARIN"]["4.2.2.1"]
        servers = fw.Servers({"ARIN": {"4.2.2.3": fw.answer(arin, delay=3)}}, defaults={"ARIN": arin})
        p = self.started("handover", "/ip", "4.2.2.9 4.2.2.9 4.2.2.8", settings=["ResolveIPAddr=0"] + servers.settings())
        self.wait_rows(p, [b"4.2.2.9", b"4.2.2.8"])
        self.assertEqual(p.tool("handover", "Received: from x ([4.2.2.1]) by y").returncode, 0)
        self.wait_rows(p, [b"4.2.2.1"])
        self.assertEqual(p.tool("handover", "4.2.2.2, 4.2.2.3;10.0.0.1").returncode, 0)
        # Memory that cannot be read, and a length beyond the limit, while 4.2.2.3 is answered: the run goes on.
        self.assertTrue(wait_for(lambda: b"+4.2.2.3\r\n" in servers["ARIN"].queries, 30))
        self.assertEqual(p.tool("handover", "100", "0x10").returncode, 0)
        self.assertEqual(p.tool("handover", "0xFFFFF", "0x10000").returncode, 0)
        self.wait_rows(p, [b"4.2.2.2", b"4.2.2.3"])
        self.assertEqual(sorted(servers["ARIN"].queries), [b"+4.2.2.%d\r\n" % i for i in (1, 2, 3, 8, 9)])
        self.close(p)


if __name__ == "__main__":  # [--exe PATH] [unittest options, e.g. -k NAME]
    if not os.environ.get("DISPLAY"):
        os.execvp("xvfb-run", ["xvfb-run", "-a", sys.executable] + sys.argv)
    exe = sys.argv.pop(sys.argv.index("--exe") + 1) if "--exe" in sys.argv else "build/win64/Ownerlens.exe"
    os.environ["OL_E2E_EXE"] = os.path.join(ROOT, exe)  # relative to the source folder
    subprocess.run(["bash", "-c", 'source "$0"; ol_wine_init'] + WINE[3:], check=True)
    result = unittest.main(argv=[a for a in sys.argv if a != "--exe"] + ["-v"], exit=False).result
    sys.exit(0 if result.wasSuccessful() and result.testsRun else 1)
