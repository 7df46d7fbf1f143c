"""The running program: start-up switches, the settings written at close, the fault guard and its crash report,
hand-over from another process."""

import os
import unittest

import fake_whois as fw
from run_e2e import Program, answers, wait_for

KEY = "HKCU\\Software\\Velmora\\Ownerlens"
SUCCEEDED = "成功".encode("gbk")
REPORT = (r"^Exception C0000005 at address (H) in module Ownerlens\.exe\r\nRegisters: \r\nRAX=H RBX=H RCX=H RDX=H\r\n"
          r"RSI=H RDI=H RBP=H RSP=H\r\nRIP=\1\r\nStack Data: .{447}\r\nCode Data: .{383}(\r\n|$)").replace(
              "H", "[0-9A-F]{16}")


class ProgramTest(unittest.TestCase):
    def started(self, name, *args, settings=None, codepage=936, env=None):
        p = Program(self, name, settings, codepage)
        p.start("/nodlgstart", *args, env=env)
        self.assertEqual(p.tool("wait-window", "30").returncode, 0)
        return p

    def close(self, p):
        self.assertEqual(p.tool("close").returncode, 0)
        self.assertEqual(p.process.wait(120), 0)

    def test_savelangfile_and_deleteregkey_end_without_a_window(self):
        p = Program(self, "actions")
        self.assertEqual(p.wine("reg", "add", KEY, "/v", "Probe", "/d", "1", "/f").returncode, 0)
        # Together, only the language template is written: the key stays.
        for args, key_stays in ((["/deleteregkey", "/savelangfile"], True), (["/DeleteRegKey"], False)):
            r = p.tool("run-nowindow", p.exe, *args)
            self.assertEqual(r.returncode, 0, r.stdout + r.stderr)
            self.assertEqual(p.wine("reg", "query", KEY).returncode == 0, key_stays)
        self.assertTrue(os.path.exists(os.path.join(p.folder, "Ownerlens_lng.ini")))
        self.assertFalse(os.path.exists(p.settings_path))  # neither action reads or writes the settings

    def test_close_writes_the_settings_once_under_either_code_page(self):
        for codepage in (936, 1252):
            p = self.started("close_%d" % codepage, codepage=codepage)
            self.close(p)
            text = p.read("Ownerlens.cfg")
            self.assertTrue(text.startswith(b"[General]\r\nShowGridLines=0\r\n"), text[:60])
            self.assertEqual(text.count(b"[General]"), 1)
            self.assertEqual(len(text.split(b"\r\n")) - 1, 15)  # section and fourteen keys

    def test_a_fault_is_reported_and_the_program_goes_on_or_ends_as_chosen(self):
        for action in ("1", "2", "escape", "closebox"):  # continue, terminate, Escape, the close box
            with self.subTest(action=action):
                p = self.started("crash_" + action, env={"OWNERLENS_TEST_FAULTS": "1"})
                for _ in range(2 if action == "1" else 1):  # after continue, a fault is reported again
                    self.assertEqual(p.tool("command", "40999").returncode, 0)  # IDM_TEST_FAULT
                    r = p.tool("press", action)
                    self.assertEqual(r.returncode, 0, r.stderr)
                    self.assertRegex(r.stdout.decode("ascii"), REPORT)
                    if action == "1":
                        self.assertEqual(p.tool("alive").returncode, 0)
                if action == "1":
                    self.close(p)
                else:
                    self.assertEqual(p.process.wait(120), 1)
                self.assertEqual(os.path.exists(p.settings_path), action == "1")

    def rows(self, p):
        r = p.tool("rows")
        self.assertEqual(r.returncode, 0, r.stderr)
        return [line.split(b"\t") for line in r.stdout.splitlines()]

    def wait_rows(self, p, addresses):
        """Waits until the list holds exactly these addresses, all answered."""
        def done():
            rows = self.rows(p)
            return sorted(r[1] for r in rows) == sorted(addresses) and all(r[2] == SUCCEEDED for r in rows)
        self.assertTrue(wait_for(done, 60, 0.2), self.rows(p))

    def test_ip_then_handovers_replace_the_list_and_bad_ones_change_nothing(self):
        servers = fw.Servers(defaults={"ARIN": answers()["ARIN"]["4.2.2.1"]})
        p = self.started("handover", "/ip", "4.2.2.9 4.2.2.9 4.2.2.8", settings=["ResolveIPAddr=0"] + servers.settings())
        self.wait_rows(p, [b"4.2.2.9", b"4.2.2.8"])
        self.assertEqual([r[0] for r in self.rows(p)], [b"1", b"2"])
        self.assertEqual(p.tool("handover", "Received: from x ([4.2.2.1]) by y").returncode, 0)
        self.wait_rows(p, [b"4.2.2.1"])
        self.assertEqual(p.tool("handover", "4.2.2.2, 4.2.2.3;10.0.0.1").returncode, 0)
        self.wait_rows(p, [b"4.2.2.2", b"4.2.2.3"])
        # Memory that cannot be read, and a length beyond the limit: ignored.
        self.assertEqual(p.tool("handover-raw", "100", "0x10").returncode, 0)
        self.assertEqual(p.tool("handover-raw", "0xFFFFF", "0x10000").returncode, 0)
        self.assertEqual(p.tool("alive").returncode, 0)
        self.wait_rows(p, [b"4.2.2.2", b"4.2.2.3"])
        self.assertEqual(sorted(servers["ARIN"].queries), [b"+4.2.2.%d\r\n" % i for i in (1, 2, 3, 8, 9)])
        self.close(p)
