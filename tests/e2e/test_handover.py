"""Addresses that reach a running program from outside: the hand-over from
another process, and the "/ip" and "/ipfile" switches, read back from the
result list of the running program."""

import os
import unittest

import fake_whois as fw
from e2e_support import ROOT, Program, wait_for, winpath

EXE = os.environ.get("OL_E2E_EXE")
SUCCEEDED = "成功".encode("gbk")


def answer(relative):
    with open(os.path.join(ROOT, "tests", "data", "e2e", relative), "rb") as f:
        return f.read()


ARIN_DIRECT = answer("arin/direct_allocation_no_referral_4.2.2.1.txt")


class HandoverTest(unittest.TestCase):
    def start(self, name, servers, *args):
        p = Program(EXE, "handover_" + name)
        self.addCleanup(p.stop)
        lines = ["[General]", "ResolveIPAddr=0"] + servers.settings()
        with open(p.settings_path, "wb") as f:
            f.write(("\r\n".join(lines) + "\r\n").encode("ascii"))
        p.start("/nodlgstart", *args)
        self.assertEqual(p.tool_run("wait-window", "30").returncode, 0)
        return p

    def rows(self, p):
        r = p.tool_run("rows")
        self.assertEqual(r.returncode, 0, r.stderr)
        return [line.split(b"\t") for line in r.stdout.replace(b"\r\n", b"\n").split(b"\n") if line]

    def wait_rows(self, p, addresses):
        """Waits until the list holds exactly these addresses, all answered."""
        def done():
            rows = self.rows(p)
            return sorted(r[1] for r in rows) == sorted(addresses) and all(r[2] == SUCCEEDED for r in rows)
        self.assertTrue(wait_for(done, 60, 0.2), self.rows(p))

    def close(self, p):
        p.tool_run("close")
        self.assertEqual(p.wait(), 0)

    def test_handover_replaces_the_list_and_bad_ones_change_nothing(self):
        with fw.Servers(defaults={"ARIN": ARIN_DIRECT}) as servers:
            p = self.start("replace", servers)
            self.assertEqual(p.tool_run("handover", "Received: from x ([4.2.2.1]) by y").returncode, 0)
            self.wait_rows(p, [b"4.2.2.1"])
            self.assertEqual(p.tool_run("handover", "4.2.2.2, 4.2.2.3;10.0.0.1").returncode, 0)
            self.wait_rows(p, [b"4.2.2.2", b"4.2.2.3"])
            # Memory that cannot be read, and a length beyond the limit: ignored.
            self.assertEqual(p.tool_run("handover-raw", "100", "0x10").returncode, 0)
            self.assertEqual(p.tool_run("handover-raw", "0xFFFFF", "0x10000").returncode, 0)
            self.assertEqual(p.tool_run("alive").returncode, 0)
            self.wait_rows(p, [b"4.2.2.2", b"4.2.2.3"])
            self.assertEqual(sorted(q for q in servers["ARIN"].queries),
                             [b"+4.2.2.1\r\n", b"+4.2.2.2\r\n", b"+4.2.2.3\r\n"])
            self.close(p)

    def test_ip_and_ipfile_fill_the_list(self):
        with fw.Servers(defaults={"ARIN": ARIN_DIRECT}) as servers:
            p = self.start("ip", servers, "/ip", "4.2.2.9 4.2.2.9 4.2.2.8")
            self.wait_rows(p, [b"4.2.2.9", b"4.2.2.8"])
            self.assertEqual([r[0] for r in self.rows(p)], [b"1", b"2"])
            self.close(p)

            p = Program(EXE, "handover_ipfile")
            self.addCleanup(p.stop)
            with open(p.settings_path, "wb") as f:
                f.write(("\r\n".join(["[General]", "ResolveIPAddr=0"] + servers.settings()) + "\r\n").encode())
            listing = os.path.join(p.folder, "list.txt")
            with open(listing, "wb") as f:
                f.write(b"4.2.2.7\r\n4.2.2.6\x004.2.2.5\r\n")  # the text ends at its NUL
            p.start("/ipfile", winpath(listing))
            self.assertEqual(p.tool_run("wait-window", "30").returncode, 0)
            self.wait_rows(p, [b"4.2.2.7", b"4.2.2.6"])
            self.close(p)


if __name__ == "__main__":
    unittest.main()
