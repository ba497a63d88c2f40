#!/usr/bin/env python3
"""Adds up the test results of one run of the test command: GoogleTest XML reports, the
end-to-end runner's JSON and the fuzzers' JSON, and prints one line per layer and a total line
'N passed, N failed, N skipped'."""
import glob
import json
import os
import sys
import xml.etree.ElementTree as ET


def gtest_counts(path):
    root = ET.parse(path).getroot()
    passed = failed = skipped = 0
    for case in root.iter("testcase"):
        if case.find("failure") is not None or case.find("error") is not None:
            failed += 1
        elif case.find("skipped") is not None or case.get("result") == "skipped" \
                or case.get("status") == "notrun":
            skipped += 1
        else:
            passed += 1
    return passed, failed, skipped


def json_counts(path):
    with open(path) as f:
        data = json.load(f)
    return data.get("passed", 0), data.get("failed", 0), data.get("skipped", 0)


def main():
    results_dir = sys.argv[1]
    total = [0, 0, 0]
    rows = []
    for path in sorted(glob.glob(os.path.join(results_dir, "**", "*"), recursive=True)):
        if path.endswith(".xml"):
            counts = gtest_counts(path)
        elif path.endswith(".json"):
            counts = json_counts(path)
        else:
            continue
        rows.append((os.path.relpath(path, results_dir), counts))
        total = [t + c for t, c in zip(total, counts)]
    for name, (p, f, s) in rows:
        print("  %-40s %4d passed, %d failed, %d skipped" % (name, p, f, s))
    print("%d passed, %d failed, %d skipped" % tuple(total))
    return 0 if total[1] == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
