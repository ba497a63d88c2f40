"""A DLL left beside the program under a system DLL's name is not loaded: the program imports only
KnownDLLs at start and loads the other system DLLs by full path from the system folder.

Wine prefers its builtin DLLs, so a planted DLL would never load there by default. The tests make
Wine prefer a native DLL for these names (WINEDLLOVERRIDES=...=n,b), as Windows does with any DLL
it finds in the program's folder, and first show that a load-time import then takes the planted
one. version.dll and bcrypt.dll are left out: Wine's own builtin DLLs import them and, so
overridden, find them in the program's folder, which is not where the program asked."""
import os
import shutil
import subprocess
import tempfile
import unittest

import harness
import program

# System DLLs that only the program itself loads under Wine.
PLANTED = ("gdiplus", "winhttp", "usp10", "dbghelp")


def native_first(names):
    overrides = os.environ.get("WINEDLLOVERRIDES", "")
    return dict(os.environ, WINEDLLOVERRIDES=";".join(filter(None, [overrides, ",".join(names) + "=n,b"])))


def plant(folder, names):
    for name in names:
        shutil.copy(os.path.join(harness.build_dir(), "planted.dll"), os.path.join(folder, name + ".dll"))


def loaded_markers(folder):
    return sorted(n for n in os.listdir(folder) if n.lower().endswith(".loaded"))


class PlantedDllsTest(unittest.TestCase):
    def test_a_load_time_import_takes_the_dll_beside_the_program(self):
        with tempfile.TemporaryDirectory() as folder:
            shutil.copy(os.path.join(harness.build_dir(), "load_time_import_probe.exe"), folder)
            plant(folder, ["version"])
            subprocess.run(["wine", os.path.join(folder, "load_time_import_probe.exe")], env=native_first(["version"]),
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
            self.assertEqual([n.lower() for n in loaded_markers(folder)], ["version.dll.loaded"])

    def test_the_program_starts_with_the_system_dlls_and_not_the_planted_ones(self):
        with program.LogServer() as log:
            app = program.Program(log.url)
            plant(app.folder, PLANTED)
            app.env["WINEDLLOVERRIDES"] = native_first(PLANTED)["WINEDLLOVERRIDES"]
            with app:
                # Drawn with GDI+, and its launch event sent with WinHTTP.
                program.wait_window(program.MAIN_TITLE)
                harness.wait_until(lambda: "launch" in log.events(), 20, what="the launch event")
                self.assertIsNone(app.process.poll())
                self.assertEqual(loaded_markers(app.folder), [])


if __name__ == "__main__":
    unittest.main()
