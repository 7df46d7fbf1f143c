#!/usr/bin/env python3
"""End-to-end tests: Ownerlens.exe under wine64 as a black box, driven through its command line, settings file,
hand-over messages and report files, against fake WHOIS servers on 127.0.0.1."""

import os
import shutil
import signal
import subprocess
import sys
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
# scripts/wine-env.sh chooses the prefix and the locale of the code page.
WINE = ["bash", "-c", 'source "$0"; ol_wine "$@"', os.path.join(ROOT, "scripts", "wine-env.sh")]


def read(name):
    """A file under tests/data."""
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
        self.exe, self.process = shutil.copy(exe, self.folder), None
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

    def tool(self, *args):
        return self.wine(self.tool_exe, *args)

    def start(self, *args, env=None):
        self.process = subprocess.Popen(WINE + [self.exe] + list(args), env=dict(self.env, **(env or {})),
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)

    def stop(self):
        if self.process and self.process.poll() is None:
            os.killpg(self.process.pid, signal.SIGKILL)
            self.process.wait()

    def read(self, name):
        with open(os.path.join(self.folder, name), "rb") as f:
            return f.read()


if __name__ == "__main__":  # [--exe PATH] [unittest options, e.g. -k NAME]
    if not os.environ.get("DISPLAY"):
        os.execvp("xvfb-run", ["xvfb-run", "-a", sys.executable] + sys.argv)
    exe = sys.argv.pop(sys.argv.index("--exe") + 1) if "--exe" in sys.argv else "build/win64/Ownerlens.exe"
    os.environ["OL_E2E_EXE"] = os.path.join(ROOT, exe)  # relative to the source folder
    subprocess.run(["bash", "-c", 'source "$0"; ol_wine_init'] + WINE[3:], check=True)
    argv = [sys.argv[0], "discover", "-s", HERE, "-v"] + [a for a in sys.argv[1:] if a != "--exe"]
    result = unittest.main(module=None, argv=argv, exit=False).result
    sys.exit(0 if result.wasSuccessful() and result.testsRun else 1)
