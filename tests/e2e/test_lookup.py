"""Headless lookup runs against fake WHOIS servers: the exact query bytes each server received and the exact reports
(tests/data/e2e/*.expected)."""

import os
import random
import re
import unittest

import fake_whois as fw
from run_e2e import Program, answers, read, wait_for, winpath

# Shown: IP address (100 px), WHOIS source (120), status (80), in this order; the others hidden, after them.
COLUMNS = "Columns=" + " ".join("%02X 00 %02X 00" % {1: (100, 0), 15: (120, 1), 2: (80, 2)}.get(
    c, (0, 3 + c - (c > 1) - (c > 2) - (c > 15))) for c in range(18))


class LookupTest(unittest.TestCase):
    def export(self, name, servers, settings, text, switch="/savetabbed", replace=None, env=None, wait=None):
        """A headless run over text (bytes: a list file holding them); the report. Headless runs exit with 0 and
        never write the settings."""
        p = Program(self, name, ["FindServerByIP=1"] + settings + servers.settings(replace))
        settings, listing = p.read("Ownerlens.cfg"), os.path.join(p.folder, "list.txt")
        if isinstance(text, bytes):
            with open(listing, "wb") as f:
                f.write(text)
        p.start(*(["/ipfile", winpath(listing)] if isinstance(text, bytes) else ["/ip", text]), switch,
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
        self.assertEqual(servers.log, ["ARIN", "ARIN", "RIPE", "ARIN", "LACNIC", "RIPE", "RIPE", "AFRINIC", "AFRINIC",
                                       "APNIC", "LACNIC"])
        # Not the host and resolved names: they depend on the machine's resolver.
        self.assertReport(re.sub(rb"[^\t\r\n]*\t[^\t\r\n]*\t\r\n", b"\t\t\r\n", data), "registries.expected")

    def test_reports_follow_the_saved_sort_and_columns(self):
        # Sorted by the IP column as text, descending; the AfriNIC server closes without a byte: an empty answer,
        # but answered.
        for settings, text, switch, expected in (
                (["Sort=%d" % (0x1000 | 1), COLUMNS], "185.2.136.189 4.2.2.1 62.97.102.115 196.1.1.1", "/savetabular",
                 "sorted_columns.expected"),
                ([COLUMNS], "4.2.2.1", "/savetext", "columns.expected"),
                ([], "4.2.2.1 10.0.0.1", "/savehtml", "report.html.expected"),
                ([], "4.2.2.1 10.0.0.1", "/savehtmlvertical", "report_vertical.html.expected"),
                ([], "4.2.2.1 10.0.0.1", "/savexml", "report.xml.expected")):
            with self.subTest(switch=switch):
                data = self.export(switch[1:], fw.Servers(answers()), ["ResolveIPAddr=0"] + settings, text, switch)
                self.assertReport(data, expected)

    def test_failures_and_hostile_answers_end_their_item_and_the_run_goes_on(self):
        a = answers()
        colt = a["RIPE"]["62.97.102.115"]
        a["RIPE"].update({"62.0.0.%d" % i: answer for i, answer in enumerate([
            random.Random(7).randbytes(20000),                 # binary
            b"netname: NO-LINE-END " * 30000,                  # no line ends
            b"netname: BEFORE-NUL\n\x00netname: AFTER-NUL\n",  # the answer ends at the NUL
            fw.flood(),                                        # endless
            b"",                                               # nothing: an empty answer
            fw.answer(b"", reset=True),                        # a reset, nothing sent
            fw.answer(colt, chunk=97, delay=0.01),             # dribbled
            fw.silent,                                         # never answers
            colt], 1)})
        a["AFRINIC"]["194.0.0.1"] = a["RIPE"]["194.0.0.1"]  # refers again, endlessly
        # Reset after half an answer, which is answered (the whole answer names the more specific block
        # 218.165.0.0/16 further down, and another owner). The bytes arrive before the reset.
        hinet = a["APNIC"]["218.165.121.114"]
        a["APNIC"]["218.165.121.114"] = fw.answer(hinet[:len(hinet) // 2], delay=0.2, reset=True)
        a["LACNIC"]["200.44.33.31"] = fw.flood(10 * 1024 * 1024)

        def answers_while_held(p):
            # While the silent server holds its conversation open, the program answers and shows no window.
            self.assertTrue(wait_for(lambda: len(servers["RIPE"].queries) >= 9, 60))
            self.assertEqual(p.tool("alive").returncode, 0)
            self.assertNotEqual(p.tool("wait-window", "1").returncode, 0)

        servers = fw.Servers(a)
        text = "4.2.2.1 194.0.0.1 218.165.121.114 200.44.33.31 189.163.17.1 " + " ".join(
            "62.0.0.%d" % i for i in range(1, 10))
        data = self.export("failures", servers, ["ResolveIPAddr=0"], text, wait=answers_while_held,
                           replace={"ARIN": "127.0.0.1:%d" % fw.refused_port()},  # refused
                           env={"OWNERLENS_TEST_IDLE_TIMEOUT_MS": "6000"})
        self.assertReport(data, "failures.expected")
        # The referral bound: one question at RIPE NCC, four at AfriNIC.
        self.assertEqual(servers["RIPE"].queries, [b"-B %s\r\n" % x.encode() for x in ["194.0.0.1"] + text.split()[5:]])
        self.assertEqual(servers["AFRINIC"].queries, [b"194.0.0.1\r\n"] * 4)
        self.assertEqual(servers["LACNIC"].queries, [b"200.44.33.31\r\n", b"189.163.17.1\r\n"])

    def test_headless_edges_and_the_pause_settings(self):
        p = Program(self, "edges")
        # No settings file and no addresses: an empty report, and no settings written.
        self.assertEqual(p.wine(p.exe, "/ip", "no addresses", "/savetabbed", winpath(p.folder + "/o.txt")).returncode, 0)
        self.assertEqual(p.read("o.txt"), b"")
        self.assertFalse(os.path.exists(p.settings_path))
        # A report that cannot be written, or none named: exit code 1.
        self.assertEqual(p.wine(p.exe, "/ip", "no addresses", "/savetext", winpath(p.folder + "/no/o.txt")).returncode, 1)
        self.assertEqual(p.wine(p.exe, "/ip", "no addresses", "/savetext").returncode, 1)
        # A pause of a second between the two; the list file ends at its NUL.
        servers = fw.Servers(defaults={"ARIN": answers()["ARIN"]["4.2.2.1"]})
        data = self.export("paused", servers, ["ResolveIPAddr=0", "Pause=1", "PauseCount=1", "PauseTime=1"],
                           b"4.2.2.1\r\n4.2.2.2\x004.2.2.5\r\n")
        self.assertReport(data, "paused.expected")
        self.assertGreaterEqual(servers["ARIN"].stamps[1] - servers["ARIN"].stamps[0], 0.9)
