"""The crash report of the real program: a fault in a command handler,
then continue, terminate, Escape or the close box."""

import os
import unittest

from e2e_support import Program

EXE = os.environ.get("OL_E2E_EXE")
IDM_TEST_FAULT = "40999"


class CrashTest(unittest.TestCase):
    def faulted(self, name):
        p = Program(EXE, name)
        self.addCleanup(p.stop)
        p.start("/nodlgstart", env_extra={"OWNERLENS_TEST_FAULTS": "1"})
        self.assertEqual(p.tool_run("wait-window", "30").returncode, 0)
        self.assertEqual(p.tool_run("command", IDM_TEST_FAULT).returncode, 0)
        r = p.tool_run("crash-text", "30")
        self.assertEqual(r.returncode, 0, r.stderr)
        return p, r.stdout.decode("ascii")

    def test_continue_returns_to_a_working_main_window(self):
        p, report = self.faulted("crash-continue")
        lines = report.split("\r\n")
        self.assertRegex(lines[0], r"^Exception C0000005 at address [0-9A-F]{16} in module Ownerlens\.exe$")
        self.assertEqual(lines[1], "Registers: ")
        self.assertRegex(lines[2], r"^RAX=[0-9A-F]{16} RBX=[0-9A-F]{16} RCX=[0-9A-F]{16} RDX=[0-9A-F]{16}$")
        self.assertRegex(lines[3], r"^RSI=[0-9A-F]{16} RDI=[0-9A-F]{16} RBP=[0-9A-F]{16} RSP=[0-9A-F]{16}$")
        self.assertEqual(lines[4], "RIP=" + lines[0][30:46])
        self.assertEqual(len(lines[5]), len("Stack Data: ") + 447)
        self.assertEqual(len(lines[6]), len("Code Data: ") + 383)
        self.assertEqual(p.tool_run("crash-press", "1").returncode, 0)
        self.assertEqual(p.tool_run("alive").returncode, 0)
        # The window goes on: a second fault is reported again.
        self.assertEqual(p.tool_run("command", IDM_TEST_FAULT).returncode, 0)
        self.assertEqual(p.tool_run("crash-text", "30").returncode, 0)
        self.assertEqual(p.tool_run("crash-press", "1").returncode, 0)
        self.assertEqual(p.tool_run("close").returncode, 0)
        self.assertEqual(p.wait(), 0)
        self.assertTrue(os.path.exists(p.settings_path))

    def test_terminate_escape_and_the_close_box_end_with_exit_code_1(self):
        for action in ("2", "escape", "closebox"):
            with self.subTest(action=action):
                p, _ = self.faulted("crash-" + action)
                self.assertEqual(p.tool_run("crash-press", action).returncode, 0)
                self.assertEqual(p.wait(), 1)
                self.assertFalse(os.path.exists(p.settings_path))


if __name__ == "__main__":
    unittest.main()
