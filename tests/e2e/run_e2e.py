#!/usr/bin/env python3
"""End-to-end tests: Ownerlens.exe under wine64 as a black box, driven
through its command line, settings file, hand-over messages and report
files, against fake WHOIS servers on 127.0.0.1."""

import argparse
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support  # noqa: E402


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", default=os.path.join(e2e_support.ROOT, "build", "win64", "Ownerlens.exe"))
    parser.add_argument("-k", dest="pattern", default=None, help="only tests whose name contains this")
    args = parser.parse_args()
    os.environ["OL_E2E_EXE"] = os.path.abspath(args.exe)
    xvfb = e2e_support.ensure_display()

    loader = unittest.TestLoader()
    if args.pattern:
        loader.testNamePatterns = ["*%s*" % args.pattern]
    suite = loader.discover(os.path.dirname(os.path.abspath(__file__)), pattern="test_*.py")
    try:
        result = unittest.TextTestRunner(verbosity=2).run(suite)
    finally:
        if xvfb:
            xvfb.kill()
    failed = len(result.failures) + len(result.errors)
    passed = result.testsRun - failed - len(result.skipped)
    print("e2e: %d passed, %d failed" % (passed, failed))
    return 0 if failed == 0 and result.testsRun > 0 else 1


if __name__ == "__main__":
    sys.exit(main())
