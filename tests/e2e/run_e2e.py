"""Runs every end-to-end test (tests/e2e/test_*.py) and, when asked, writes the counts as JSON
for the test command's summary. Exit code 0 only when all passed."""
import argparse
import json
import os
import sys
import unittest


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--results", help="write {passed, failed, skipped} here")
    parser.add_argument("--only", help="run this test file alone")
    parser.add_argument("--skip", action="append", default=[], help="leave this test file out")
    args = parser.parse_args()
    here = os.path.dirname(os.path.abspath(__file__))
    sys.path.insert(0, here)
    suite = unittest.TestSuite()
    for name in sorted(os.listdir(here)):
        if name.startswith("test_") and name.endswith(".py") and name not in args.skip \
                and (args.only is None or name == args.only):
            suite.addTests(unittest.defaultTestLoader.loadTestsFromName(name[:-3]))
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    failed = len(result.failures) + len(result.errors)
    skipped = len(result.skipped)
    counts = {"passed": result.testsRun - failed - skipped, "failed": failed, "skipped": skipped}
    if args.results:
        with open(args.results, "w") as f:
            json.dump(counts, f)
    return 0 if failed == 0 and result.testsRun > 0 else 1


if __name__ == "__main__":
    sys.exit(main())
