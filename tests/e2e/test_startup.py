"""Start-up actions, shutdown and the fault guard of the real program."""

import os
import unittest

from e2e_support import Program, wait_for

EXE = os.environ.get("OL_E2E_EXE")
IDM_TEST_FAULT = "40999"
KEY = "HKCU\\Software\\Velmora\\Ownerlens"


class StartupTest(unittest.TestCase):
    def program(self, name, codepage=936):
        p = Program(EXE, name, codepage)
        self.addCleanup(p.stop)
        return p

    def key_exists(self, p):
        return p.wine(["reg", "query", KEY]).returncode == 0

    def test_savelangfile_and_deleteregkey_end_without_a_window(self):
        p = self.program("actions")
        p.wine(["reg", "add", KEY, "/v", "Probe", "/d", "1", "/f"], check=True)
        # Together, only the language template is written: the key stays.
        r = p.tool_run("run-nowindow", p.exe, "/deleteregkey", "/savelangfile")
        self.assertEqual(r.returncode, 0, r.stdout + r.stderr)
        self.assertTrue(self.key_exists(p))
        r = p.tool_run("run-nowindow", p.exe, "/DeleteRegKey")
        self.assertEqual(r.returncode, 0, r.stdout + r.stderr)
        self.assertFalse(self.key_exists(p))
        # Neither action reads or writes the settings file.
        self.assertFalse(os.path.exists(p.settings_path))

    def test_close_writes_the_settings_once(self):
        p = self.program("close")
        p.start("/nodlgstart")
        self.assertEqual(p.tool_run("wait-window", "30").returncode, 0)
        self.assertEqual(p.tool_run("close").returncode, 0)
        self.assertEqual(p.wait(), 0)
        text = p.read("Ownerlens.cfg")
        self.assertTrue(text.startswith(b"[General]\r\nShowGridLines=0\r\n"), text[:60])
        self.assertEqual(text.count(b"[General]"), 1)
        self.assertEqual(len(text.split(b"\r\n")) - 1, 15)  # section and fourteen keys

    def test_a_faulting_handler_does_not_end_the_program(self):
        p = self.program("fault")
        p.start("/nodlgstart", env_extra={"OWNERLENS_TEST_FAULTS": "1"})
        self.assertEqual(p.tool_run("wait-window", "30").returncode, 0)
        self.assertEqual(p.tool_run("command", IDM_TEST_FAULT).returncode, 0)
        self.assertEqual(p.tool_run("alive").returncode, 0)
        self.assertIsNone(p.process.poll())
        p.tool_run("close")
        self.assertEqual(p.wait(), 0)

    def test_runs_under_a_western_code_page(self):
        p = self.program("cp1252", codepage=1252)
        p.start("/nodlgstart")
        self.assertEqual(p.tool_run("wait-window", "30").returncode, 0)
        p.tool_run("close")
        self.assertEqual(p.wait(), 0)
        self.assertTrue(wait_for(lambda: os.path.exists(p.settings_path), 5))


if __name__ == "__main__":
    unittest.main()
