#!/usr/bin/env python3
"""Refuses an include against the folders' arrows. Each folder of the program may include its
own files and those of the folders it builds on, nothing else: the program -> its windows ->
capture -> toolbar -> annotation -> ui_toolkit -> base, with settings, telemetry, update and
http on base and usable from any folder above them. Tests, benchmarks and tools may include
anything. Prints each wrong include as 'file:line: folder may not include path' and exits 1 when
there is one. With --results FILE it also writes the pass/fail count as JSON."""
import json
import os
import re
import sys

SERVICES = {"settings", "telemetry", "update", "http"}
# The folders each folder may use, besides itself. This table is the one place the arrows live.
ALLOWED = {
    "base": set(),
    "http": {"base"},
    "settings": {"base"},
    "telemetry": {"base", "http"},
    "update": {"base", "http", "settings"},  # the manifest is JSON, read with settings/json
    "ui_toolkit": {"base"} | SERVICES,
    "annotation": {"ui_toolkit", "base"} | SERVICES,
    "toolbar": {"annotation", "ui_toolkit", "base"} | SERVICES,
    "capture": {"toolbar", "annotation", "ui_toolkit", "base"} | SERVICES,
    "windows": {"capture", "toolbar", "annotation", "ui_toolkit", "base"} | SERVICES,
    "app": {"windows", "capture", "toolbar", "annotation", "ui_toolkit", "base"} | SERVICES,
}
SOURCE = re.compile(r"\.(h|hpp|cpp|cc|rc)$")
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')


def check(root):
    problems = []
    checked = 0
    for folder in sorted(ALLOWED):
        top = os.path.join(root, folder)
        for dirpath, _, files in os.walk(top):
            for name in sorted(files):
                if not SOURCE.search(name):
                    continue
                path = os.path.join(dirpath, name)
                checked += 1
                with open(path, encoding="utf-8", errors="replace") as f:
                    for number, line in enumerate(f, 1):
                        match = INCLUDE.match(line)
                        if not match:
                            continue
                        target = match.group(1)
                        used = target.split("/", 1)[0] if "/" in target else folder
                        if used == folder or used in ALLOWED[folder]:
                            continue
                        if used not in ALLOWED:
                            problem = "includes %s, which is not a folder path of ours" % target
                        else:
                            problem = "%s may not include %s" % (folder, target)
                        problems.append("%s:%d: %s" % (os.path.relpath(path, root), number, problem))
    return checked, problems


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    args = sys.argv[1:]
    results = None
    if len(args) == 2 and args[0] == "--results":
        results = args[1]
    elif args:
        root = args[0]
    checked, problems = check(root)
    for problem in problems:
        print(problem)
    print("layers: %d files checked, %d wrong includes" % (checked, len(problems)))
    if results:
        with open(results, "w") as f:
            json.dump({"passed": 0 if problems else 1, "failed": 1 if problems else 0}, f)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
