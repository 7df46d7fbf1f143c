"""The language file of the real program: the "/savelangfile" template,
the English translation shipped with the release, and hostile files."""

import os
import shutil
import unittest

from e2e_support import ROOT, Program

EXE = os.environ.get("OL_E2E_EXE")
ENGLISH = os.path.join(ROOT, "translations", "Ownerlens_lng.ini")


def sections(data):
    """Section name -> {key: value} of an INI file's bytes."""
    result, current = {}, None
    for line in data.split(b"\r\n"):
        if line.startswith(b"["):
            current = result.setdefault(line[1:line.index(b"]")].decode(), {})
        elif b"=" in line and current is not None:
            key, _, value = line.partition(b"=")
            current[key.decode()] = value
    return result


class LanguageTest(unittest.TestCase):
    def program(self, name):
        p = Program(EXE, name)
        self.addCleanup(p.stop)
        return p

    def save_template(self, p):
        r = p.tool_run("run-nowindow", p.exe, "/savelangfile")
        self.assertEqual(r.returncode, 0, r.stdout + r.stderr)
        return p.read("Ownerlens_lng.ini")

    def test_template_is_stable_keeps_translations_and_leaves_out_the_crash_report(self):
        p = self.program("lang-template")
        first = self.save_template(p)
        ini = sections(first)
        self.assertNotIn("dialog_107", ini)
        for name in ("general", "menu_102", "menu_104", "dialog_105", "dialog_109", "dialog_112", "dialog_1096",
                     "strings"):
            self.assertIn(name, ini)
        self.assertEqual([ini["menu_102"][k] for k in ("70001", "70002", "70003", "70004")],
                         ["文件(&F)".encode("gbk"), "编辑".encode("gbk"), "视图(&V)".encode("gbk"),
                          "帮助(&H)".encode("gbk")])
        self.assertEqual(self.save_template(p), first)

        translated = first.replace(b"TranslatorName=\r\n", b"TranslatorName=Jane\r\n")
        translated = translated.replace(b"40001=" + "保存选择项".encode("gbk") + b"\r\n", b"40001=Save\r\n", 1)
        translated = translated.replace(b"1018=" + "解析名称".encode("gbk") + b"\r\n", b"")
        with open(os.path.join(p.folder, "Ownerlens_lng.ini"), "wb") as f:
            f.write(translated)
        after = sections(self.save_template(p))
        self.assertEqual(after["general"]["TranslatorName"], b"Jane")
        self.assertEqual(after["menu_102"]["40001"], b"Save")
        self.assertEqual(after["strings"]["1018"], "解析名称".encode("gbk"))

    def test_the_english_file_is_a_complete_template(self):
        p = self.program("lang-english")
        shutil.copy(ENGLISH, os.path.join(p.folder, "Ownerlens_lng.ini"))
        with open(ENGLISH, "rb") as f:
            english = f.read()
        self.assertEqual(self.save_template(p), english)
        # And the program runs with it.
        p.start("/nodlgstart")
        self.assertEqual(p.tool_run("wait-window", "30").returncode, 0)
        self.assertEqual(p.tool_run("close").returncode, 0)
        self.assertEqual(p.wait(), 0)

    def test_a_hostile_language_file_is_survived(self):
        p = self.program("lang-hostile")
        data = (b"[general]\r\nrtl=1\r\ncharset=" + b"c" * 500 + b"\r\nTranslatorName=" + bytes(range(1, 256)) +
                b"\r\n[strings]\r\n4=%s%s%s%s%n\r\n5=%n\r\n14=%s\r\n1004=" + b"H" * 200000 +
                b"\r\n[menu_102]\r\n70001=\x00\xff\xfe\r\n12345=x\r\n[dialog_109]\r\n1=" + b"W" * 50000 +
                b"\r\n[dialog_112]\r\n[dialog_")
        with open(os.path.join(p.folder, "Ownerlens_lng.ini"), "wb") as f:
            f.write(data)
        p.start("/ip", "127.0.0.1, 10.0.0.1")
        self.assertEqual(p.tool_run("wait-window", "30").returncode, 0)
        self.assertEqual(p.tool_run("command", "40003").returncode, 0)  # the About box
        self.assertEqual(p.tool_run("alive").returncode, 0)
        self.assertIsNone(p.process.poll())


if __name__ == "__main__":
    unittest.main()
