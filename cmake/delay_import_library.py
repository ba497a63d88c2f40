#!/usr/bin/env python3
"""Makes the delay-load import library of a system DLL from MinGW's import library of it: the
DLL's exports go through dlltool --output-delaylib, and the archive's plain objects (GUIDs and
helpers such as GDI+'s cached string formats, which the headers use) are added unchanged.
Usage: IMPORT_LIBRARY.a DLLNAME OUTPUT.a TOOL_PREFIX"""
import os
import re
import subprocess
import sys
import tempfile

library, dll, output, prefix = sys.argv[1:5]


def run(*args, cwd=None):
    return subprocess.run(args, capture_output=True, text=True, check=True, cwd=cwd).stdout


# nm -A prints "archive:member:value kind name" for each symbol (no value when undefined).
members = {}
for line in run(prefix + "nm", "-A", library).splitlines():
    symbol = re.match(r"^.*:([^:]+):\S*\s+(\S)\s+(\S+)$", line)
    if symbol:
        members.setdefault(symbol.group(1), []).append((symbol.group(2), symbol.group(3)))

code, imported, plain = set(), set(), []
for member, symbols in members.items():
    kinds = {kind for kind, _ in symbols}
    if "I" not in kinds and "i" not in kinds:
        plain.append(member)
    for kind, name in symbols:
        if kind == "T":
            code.add(name)
        elif kind == "I" and name.startswith("__imp__"):
            imported.add(name[len("__imp__"):])

with tempfile.TemporaryDirectory() as work:
    definition = os.path.join(work, "exports.def")
    with open(definition, "w") as f:
        f.write("LIBRARY %s\nEXPORTS\n" % dll)
        for name in sorted(imported):
            # An import without a call thunk is a variable, not a function.
            f.write("%s%s\n" % (name, "" if "_" + name in code else " DATA"))
    if os.path.exists(output):
        os.remove(output)
    # --kill-at: the DLL exports undecorated names; the program links the stdcall ones.
    run(prefix + "dlltool", "--kill-at", "--input-def", definition, "--dllname", dll,
        "--output-delaylib", os.path.abspath(output), cwd=work)
    if plain:
        run(prefix + "ar", "x", os.path.abspath(library), *plain, cwd=work)
        run(prefix + "ar", "rs", os.path.abspath(output), *plain, cwd=work)
