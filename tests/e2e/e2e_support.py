"""Runs Ownerlens.exe and the oltool companion under wine64 for the
end-to-end tests. Every test works on its own copy of the program in its own
folder, so settings and language files never leak between tests."""

import os
import shutil
import subprocess
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
WORK = os.path.join(ROOT, "build", "e2e")
_env_cache = {}


def wine_env(codepage=936):
    """The environment of scripts/wine-env.sh, captured once per code page."""
    if codepage not in _env_cache:
        script = ('source "%s/scripts/wine-env.sh"; ol_wine_init; '
                  'env; echo "LANG=$OL_LANG"; echo "LOCPATH=$OL_LOCPATH"' % ROOT)
        out = subprocess.run(["bash", "-c", script], env=dict(os.environ, OL_CODEPAGE=str(codepage)),
                             capture_output=True, text=True, check=True).stdout
        env = dict(os.environ)
        env.pop("LC_ALL", None)
        env.pop("LC_CTYPE", None)
        for line in out.splitlines():
            key, _, value = line.partition("=")
            if key in ("WINEPREFIX", "WINEARCH", "WINEDEBUG", "WINELOADER", "WINESERVER",
                       "WINEDLLOVERRIDES", "LANG", "LOCPATH", "DISPLAY"):
                env[key] = value
        if not env.get("LOCPATH"):
            env.pop("LOCPATH", None)
        _env_cache[codepage] = env
    return dict(_env_cache[codepage])


def winpath(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Program:
    """A private copy of Ownerlens.exe in its own folder."""

    def __init__(self, exe, name, codepage=936):
        self.folder = os.path.join(WORK, name)
        shutil.rmtree(self.folder, ignore_errors=True)
        os.makedirs(self.folder)
        self.exe = os.path.join(self.folder, "Ownerlens.exe")
        shutil.copy(exe, self.exe)
        self.tool = os.path.join(os.path.dirname(exe), "tests", "e2e", "oltool.exe")
        self.codepage = codepage
        self.process = None

    @property
    def settings_path(self):
        return os.path.join(self.folder, "Ownerlens.cfg")

    def wine(self, args, env_extra=None, timeout=60, check=False):
        env = wine_env(self.codepage)
        env.update(env_extra or {})
        return subprocess.run(["/usr/lib/wine/wine64"] + args, env=env, capture_output=True, timeout=timeout,
                              check=check)

    def tool_run(self, *args, timeout=60):
        # The companion acts on this copy's window only.
        return self.wine([self.tool] + list(args), env_extra={"OLTOOL_EXE": winpath(self.exe)}, timeout=timeout)

    def start(self, *args, env_extra=None):
        env = wine_env(self.codepage)
        env.update(env_extra or {})
        self.process = subprocess.Popen(["/usr/lib/wine/wine64", self.exe] + list(args), env=env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return self.process

    def run(self, *args, env_extra=None, timeout=120):
        """Runs the program to its end and returns its exit code."""
        return self.wine([self.exe] + list(args), env_extra=env_extra, timeout=timeout).returncode

    def wait(self, timeout=60):
        return self.process.wait(timeout=timeout)

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait()

    def read(self, name, mode="rb"):
        with open(os.path.join(self.folder, name), mode) as f:
            return f.read()


def wait_for(predicate, timeout=30, step=0.05):
    end = time.time() + timeout
    while time.time() < end:
        if predicate():
            return True
        time.sleep(step)
    return predicate()


def ensure_display():
    """Starts a private Xvfb when there is no DISPLAY; returns it or None."""
    if os.environ.get("DISPLAY"):
        return None
    for n in range(150, 200):
        if os.path.exists("/tmp/.X%d-lock" % n) or os.path.exists("/tmp/.X11-unix/X%d" % n):
            continue
        xvfb = subprocess.Popen(["Xvfb", ":%d" % n, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if wait_for(lambda: os.path.exists("/tmp/.X11-unix/X%d" % n), 10):
            os.environ["DISPLAY"] = ":%d" % n
            return xvfb
        xvfb.kill()
    raise RuntimeError("no X display could be started")
