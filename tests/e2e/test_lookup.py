"""Lookup runs of the real program against fake WHOIS servers on
127.0.0.1, exported headless: the exact query bytes each server received
and the exported rows."""

import os
import random
import time
import unittest

import fake_whois as fw
from e2e_support import ROOT, Program, wait_for, winpath

EXE = os.environ.get("OL_E2E_EXE")
DATA = os.path.join(ROOT, "tests", "data", "e2e")

SUCCEEDED = "成功".encode("gbk")
FAILED = "失败".encode("gbk")


def answer(relative):
    with open(os.path.join(DATA, relative), "rb") as f:
        return f.read()


ARIN_DIRECT = answer("arin/direct_allocation_no_referral_4.2.2.1.txt")
ARIN_TO_RIPE = answer("arin/referral_ripe_allocated_185.2.136.189.txt")
ARIN_TO_LACNIC = answer("arin/referral_lacnic_erx_170.0.0.0.txt")
RIPE_185 = answer("ripe/raw_tcp_payload_185.2.136.189.txt")
RIPE_COLT = answer("ripe/colt_person_62.97.102.115.txt")
RIPE_TO_AFRINIC = answer("ripe/afrinic_referral_constructed_194.0.0.1.txt")
APNIC_HINET = answer("apnic/hinet_irt_twnic_218.165.121.114.txt")
LACNIC_CANTV = answer("lacnic/cantv_allocated_200.44.33.31.txt")
LACNIC_170 = answer("lacnic/nicbr_format_170.0.0.0.txt")
LACNIC_189 = answer("lacnic/abbreviated_prefix_189.163.17.txt")
AFRINIC_SENTECH = answer("afrinic/sentech_2025_66.18.70.6.txt")
AFRINIC_SENTECH2 = answer("afrinic/sentech_multi_adminc_66.18.70.6.txt")

# Column ids of the tab-delimited rows (default layout: column id order).
ORDER, IP, STATUS, COUNTRY, NETWORK, OWNER, FROM_IP, TO_IP, SOURCE = 0, 1, 2, 3, 4, 5, 6, 7, 15


def rows(data):
    """The rows of a tab-delimited export: every value followed by a TAB."""
    lines = data.split(b"\r\n")
    assert lines[-1] == b"", data[-40:]
    out = []
    for line in lines[:-1]:
        assert line.endswith(b"\t"), line
        out.append(line[:-1].split(b"\t"))
    return out


class LookupTest(unittest.TestCase):
    def program(self, name, servers=None, extra=(), replace=None):
        """A private program whose settings send every registry to servers."""
        p = Program(EXE, "lookup_" + name)
        self.addCleanup(p.stop)
        lines = ["[General]", "FindServerByIP=1"] + list(extra)
        if servers:
            lines += servers.settings(replace)
        with open(p.settings_path, "wb") as f:
            f.write(("\r\n".join(lines) + "\r\n").encode("ascii"))
        return p

    def export(self, p, text, switch="/savetabbed", env=None, timeout=120):
        out = os.path.join(p.folder, "out.txt")
        code = p.run("/ip", text, switch, winpath(out), env_extra=env, timeout=timeout)
        data = None
        if os.path.exists(out):
            with open(out, "rb") as f:
                data = f.read()
        return code, data

    def test_lookup_all_registries_referrals_reserved_and_duplicate(self):
        answers = {
            "ARIN": {"4.2.2.1": ARIN_DIRECT, "185.2.136.189": ARIN_TO_RIPE, "170.0.0.1": ARIN_TO_LACNIC},
            "RIPE": {"185.2.136.189": RIPE_185, "62.97.102.115": RIPE_COLT, "194.0.0.1": RIPE_TO_AFRINIC},
            "APNIC": {"218.165.121.114": APNIC_HINET},
            "LACNIC": {"170.0.0.1": LACNIC_170, "200.44.33.31": LACNIC_CANTV},
            "AFRINIC": {"194.0.0.1": AFRINIC_SENTECH, "196.25.1.1": AFRINIC_SENTECH2},
        }
        with fw.Servers(answers) as servers:
            p = self.program("registries", servers, ["ResolveIPAddr=1", "Sort=0"])
            with open(p.settings_path, "rb") as f:
                settings = f.read()
            text = ("4.2.2.1, 185.2.136.189; 170.0.0.1 62.97.102.115\r\n194.0.0.1 [196.25.1.1] "
                    "218.165.121.114 (200.44.33.31) 10.1.2.3 4.2.2.1")
            code, data = self.export(p, text)
        self.assertEqual(code, 0)

        self.assertEqual(servers["ARIN"].queries, [b"+4.2.2.1\r\n", b"+185.2.136.189\r\n", b"+170.0.0.1\r\n"])
        self.assertEqual(servers["RIPE"].queries,
                         [b"-B 185.2.136.189\r\n", b"-B 62.97.102.115\r\n", b"-B 194.0.0.1\r\n"])
        self.assertEqual(servers["APNIC"].queries, [b"218.165.121.114\r\n"])
        self.assertEqual(servers["LACNIC"].queries, [b"170.0.0.1\r\n", b"200.44.33.31\r\n"])
        self.assertEqual(servers["AFRINIC"].queries, [b"194.0.0.1\r\n", b"196.25.1.1\r\n"])
        # One conversation at a time, in list order, referrals right after.
        self.assertEqual([name for name, _ in servers.log],
                         ["ARIN", "ARIN", "RIPE", "ARIN", "LACNIC", "RIPE", "RIPE", "AFRINIC", "AFRINIC", "APNIC",
                          "LACNIC"])

        expected = [
            (b"1", b"4.2.2.1", b"LVLT-ORG-4-8", b"Level 3 Communications, Inc.", b"ARIN"),
            (b"2", b"185.2.136.189", b"EU-100TB-TB807", b"Hosting Services Inc", b"RIPE NCC"),
            (b"3", b"170.0.0.1", None, b"Coopercitrus Cooperativa de Produtores Rurais", b"LACNIC"),
            (b"4", b"62.97.102.115", b"NET-ES-AVANCEM-AMB-VOSTE-SL", None, b"RIPE NCC"),
            (b"5", b"194.0.0.1", b"SENTECH-ISP9-ZA", None, b"AfriNIC"),
            (b"6", b"196.25.1.1", b"SENTECH-ISP9-ZA", None, b"AfriNIC"),
            (b"7", b"218.165.121.114", b"HINET-NET", None, b"APNIC"),
            (b"8", b"200.44.33.31", None, b"CANTV Servicios, Venezuela", b"LACNIC"),
        ]
        got = rows(data)
        self.assertEqual(len(got), len(expected), data)
        for row, (order, ip, network, owner, source) in zip(got, expected):
            self.assertEqual(len(row), 18, row)
            self.assertEqual((row[ORDER], row[IP], row[STATUS], row[SOURCE]), (order, ip, SUCCEEDED, source))
            if network:
                self.assertEqual(row[NETWORK], network)
            if owner:
                self.assertEqual(row[OWNER], owner)
        # Read, never written: the override keys and everything else stay.
        with open(p.settings_path, "rb") as f:
            self.assertEqual(f.read(), settings)

    def test_lookup_export_follows_saved_sort_and_columns(self):
        answers = {"ARIN": {"4.2.2.1": ARIN_DIRECT, "185.2.136.189": ARIN_TO_RIPE},
                   "RIPE": {"185.2.136.189": RIPE_185, "62.97.102.115": RIPE_COLT}}
        # Shown: IP address, WHOIS source, status, in this order; the rest hidden.
        layout = {1: (100, 0), 15: (120, 1), 2: (80, 2)}
        entries, position = [], 3
        for column in range(18):
            width, pos = layout.get(column, (0, None))
            if pos is None:
                pos, position = position, position + 1
            entries.append("%02X %02X %02X %02X" % (width & 0xFF, width >> 8, pos & 0xFF, pos >> 8))
        columns = " ".join(entries)
        with fw.Servers(answers) as servers:
            p = self.program("sorted", servers, ["ResolveIPAddr=0", "Sort=%d" % (0x1000 | 1), "Columns=" + columns])
            code, data = self.export(p, "185.2.136.189 4.2.2.1 62.97.102.115 196.1.1.1", "/savetabular")
        self.assertEqual(code, 0)

        def line(ip, source, status):
            return ip.ljust(16) + source.ljust(30) + status.ljust(20) + b"\r\n"

        # Sorted by the IP column as text, descending; the AfriNIC server
        # closes without a byte: an empty answer, but answered.
        self.assertEqual(data, line(b"62.97.102.115", b"RIPE NCC", SUCCEEDED) +
                         line(b"4.2.2.1", b"ARIN", SUCCEEDED) +
                         line(b"196.1.1.1", b"AfriNIC", SUCCEEDED) +
                         line(b"185.2.136.189", b"RIPE NCC", SUCCEEDED))

        # Plain text: a block per item with the column names.
        with fw.Servers(answers) as servers:
            p = self.program("plain", servers, ["ResolveIPAddr=0", "Columns=" + columns])
            code, data = self.export(p, "4.2.2.1", "/savetext")
        self.assertEqual(code, 0)
        rule = b"=" * 50 + b"\r\n"
        ip_name = "IP 地址".encode("gbk")
        self.assertEqual(data, rule + ip_name.ljust(18) + b": 4.2.2.1\r\n" +
                         "Whois 来源".encode("gbk").ljust(18) + b": ARIN\r\n" +
                         "状态".encode("gbk").ljust(18) + b": " + SUCCEEDED + b"\r\n" + rule + b"\r\n")

    def test_lookup_html_and_xml_exports(self):
        answers = {"ARIN": {"4.2.2.1": ARIN_DIRECT}}
        documents = {}
        for switch in ("/savehtml", "/savehtmlvertical", "/savexml"):
            with fw.Servers(answers) as servers:
                p = self.program(switch.strip("/"), servers, ["ResolveIPAddr=0"])
                code, data = self.export(p, "4.2.2.1 10.0.0.1", switch)
            self.assertEqual(code, 0, switch)
            documents[switch] = data
        for switch in ("/savehtml", "/savehtmlvertical"):
            html = documents[switch]
            self.assertIn(b"<html", html.lower())
            self.assertTrue(html.rstrip().lower().endswith(b"</html>"), html[-60:])
            self.assertIn(b"4.2.2.1", html)
            self.assertIn(SUCCEEDED, html)
            self.assertNotIn(b"10.0.0.1", html)  # reserved: never an item
        xml = documents["/savexml"]
        self.assertTrue(xml.startswith(b"<?xml"), xml[:40])
        self.assertIn(b"4.2.2.1", xml)
        self.assertIn(SUCCEEDED, xml)
        self.assertNotIn(b"10.0.0.1", xml)

    def test_lookup_failures_end_their_item_and_the_run_goes_on(self):
        answers = {
            "RIPE": {"62.97.102.115": fw.Silent(), "194.0.0.1": RIPE_TO_AFRINIC},
            "AFRINIC": {"194.0.0.1": RIPE_TO_AFRINIC},  # refers again, endlessly
            "APNIC": {"218.165.121.114": fw.ResetAfterHalf(APNIC_HINET)},
            "LACNIC": {"200.44.33.31": fw.Huge(10 * 1024 * 1024), "189.163.17.1": LACNIC_189},
        }
        with fw.Servers(answers) as servers:
            p = self.program("failures", servers, ["ResolveIPAddr=0"],
                             replace={"ARIN": "127.0.0.1:%d" % fw.refused_port()})
            code, data = self.export(p, "4.2.2.1 62.97.102.115 194.0.0.1 218.165.121.114 200.44.33.31 189.163.17.1",
                                     env={"OWNERLENS_TEST_IDLE_TIMEOUT_MS": "1500"})
        self.assertEqual(code, 0)
        got = {row[IP]: row for row in rows(data)}
        self.assertEqual(len(got), 6)
        self.assertEqual(got[b"4.2.2.1"][STATUS], FAILED)  # refused
        self.assertEqual(got[b"62.97.102.115"][STATUS], FAILED)  # never answered
        self.assertEqual(got[b"194.0.0.1"][STATUS], FAILED)  # endless referral
        self.assertEqual(got[b"200.44.33.31"][STATUS], FAILED)  # 10 MB
        # Reset after half an answer: answered with the half that arrived.
        # (The whole answer names the more specific block 218.165.0.0/16
        # further down, and another owner.)
        partial = got[b"218.165.121.114"]
        self.assertEqual((partial[STATUS], partial[SOURCE], partial[NETWORK]), (SUCCEEDED, b"APNIC", b"HINET-NET"))
        self.assertEqual((partial[FROM_IP], partial[TO_IP], partial[OWNER]),
                         (b"218.160.0.0", b"218.175.255.255", b"Data Communication Business Group,"))
        self.assertEqual(got[b"189.163.17.1"][STATUS], SUCCEEDED)
        self.assertEqual(got[b"189.163.17.1"][SOURCE], b"LACNIC")
        # The referral bound: one question at RIPE NCC, four at AfriNIC.
        self.assertEqual(servers["RIPE"].queries, [b"-B 62.97.102.115\r\n", b"-B 194.0.0.1\r\n"])
        self.assertEqual(servers["AFRINIC"].queries, [b"194.0.0.1\r\n"] * 4)
        self.assertEqual(servers["LACNIC"].queries, [b"200.44.33.31\r\n", b"189.163.17.1\r\n"])

    def test_lookup_connection_that_never_completes_times_out(self):
        stuck = fw.Unaccepting()
        self.addCleanup(stuck.close)
        with fw.Servers({"RIPE": {"62.97.102.115": RIPE_COLT}}) as servers:
            p = self.program("connect_timeout", servers, ["ResolveIPAddr=0"], replace={"ARIN": stuck.address})
            code, data = self.export(p, "4.2.2.1 62.97.102.115", env={"OWNERLENS_TEST_CONNECT_TIMEOUT_MS": "1000"})
        self.assertEqual(code, 0)
        got = rows(data)
        self.assertEqual([(r[IP], r[STATUS]) for r in got], [(b"4.2.2.1", FAILED), (b"62.97.102.115", SUCCEEDED)])

    def test_lookup_hostile_answers_keep_the_program_responsive(self):
        noise = random.Random(7).randbytes(20000)
        answers = {"RIPE": {
            "62.0.0.1": noise,                                               # binary
            "62.0.0.2": b"netname: NO-LINE-END " * 30000,                    # no line ends
            "62.0.0.3": b"netname: BEFORE-NUL\n\x00netname: AFTER-NUL\n",    # a NUL byte
            "62.0.0.4": fw.Endless(),                                        # endless data
            "62.0.0.5": fw.CloseAtOnce(),                                    # nothing at all
            "62.0.0.6": fw.ResetAfterHalf(b""),                              # reset, nothing sent
            "62.0.0.7": fw.Answer(RIPE_COLT, chunk=97, delay=0.01),          # dribbled
            "62.0.0.8": fw.Silent(),                                         # never answers
            "62.0.0.9": RIPE_COLT,
        }}
        with fw.Servers(answers) as servers:
            p = self.program("hostile", servers, ["ResolveIPAddr=0"])
            out = os.path.join(p.folder, "out.txt")
            text = " ".join("62.0.0.%d" % i for i in range(1, 10))
            p.start("/ip", text, "/savetabbed", winpath(out), env_extra={"OWNERLENS_TEST_IDLE_TIMEOUT_MS": "6000"})
            # While the silent server holds its conversation open, the
            # program answers messages and shows no window.
            self.assertTrue(wait_for(lambda: len(servers["RIPE"].queries) >= 8, 60))
            self.assertEqual(p.tool_run("alive").returncode, 0)
            self.assertNotEqual(p.tool_run("wait-window", "1").returncode, 0)
            self.assertEqual(p.wait(60), 0)
        with open(out, "rb") as f:
            got = {row[IP]: row for row in rows(f.read())}
        status = {ip.decode(): row[STATUS] for ip, row in got.items()}
        self.assertEqual(status, {
            "62.0.0.1": SUCCEEDED, "62.0.0.2": SUCCEEDED, "62.0.0.3": SUCCEEDED, "62.0.0.4": FAILED,
            "62.0.0.5": SUCCEEDED, "62.0.0.6": SUCCEEDED, "62.0.0.7": SUCCEEDED, "62.0.0.8": FAILED,
            "62.0.0.9": SUCCEEDED})
        self.assertEqual(got[b"62.0.0.3"][NETWORK], b"BEFORE-NUL")  # the answer ends at the NUL
        self.assertEqual(got[b"62.0.0.7"][NETWORK], b"NET-ES-AVANCEM-AMB-VOSTE-SL")
        self.assertEqual(got[b"62.0.0.9"][NETWORK], b"NET-ES-AVANCEM-AMB-VOSTE-SL")

    def test_lookup_headless_edges(self):
        with fw.Servers({"ARIN": {"4.2.2.1": ARIN_DIRECT, "4.2.2.2": ARIN_DIRECT}}) as servers:
            p = self.program("edges", servers, ["ResolveIPAddr=0", "Pause=1", "PauseCount=1", "PauseTime=1"])
            os.remove(p.settings_path)
            # No settings file: none is written by a headless run.
            code, data = self.export(p, "no addresses here")
            self.assertEqual((code, data), (0, b""))
            self.assertFalse(os.path.exists(p.settings_path))

            # A file that cannot be written: exit code 1.
            missing = os.path.join(p.folder, "no", "such", "folder", "out.txt")
            self.assertEqual(p.run("/ip", "no addresses", "/savetext", winpath(missing)), 1)
            self.assertEqual(p.run("/ip", "no addresses", "/savetext"), 1)

            # The pause settings apply: a pause of a second between the two.
            p = self.program("paused", servers, ["ResolveIPAddr=0", "Pause=1", "PauseCount=1", "PauseTime=1"])
            stamps = []
            original = servers["ARIN"]._read_query

            def stamped(conn):
                query = original(conn)
                stamps.append(time.monotonic())
                return query

            servers["ARIN"]._read_query = stamped
            code, data = self.export(p, "4.2.2.1 4.2.2.2")
        self.assertEqual(code, 0)
        self.assertEqual([r[STATUS] for r in rows(data)], [SUCCEEDED, SUCCEEDED])
        self.assertEqual(len(stamps), 2)
        self.assertGreaterEqual(stamps[1] - stamps[0], 0.9)


if __name__ == "__main__":
    unittest.main()
