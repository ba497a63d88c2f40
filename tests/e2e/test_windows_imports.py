"""Screenshot.exe starts on a bare Windows 7 to 11 with the system's own DLLs: its import table
names only KnownDLLs (which Windows always takes from the system folder) and no function that
Windows 7 lacks; the other system DLLs it uses are delay-loaded. Read from the file, since Wine
would start it either way."""
import os
import unittest

import harness
import windows_imports

# The system DLLs the program loads on first use, from the system folder, with a function of each.
DELAY_LOADED = {"bcrypt.dll": "BCryptVerifySignature", "dbghelp.dll": "MiniDumpWriteDump",
                "gdiplus.dll": "GdiplusStartup", "usp10.dll": "ScriptShape",
                "version.dll": "GetFileVersionInfoSizeW", "winhttp.dll": "WinHttpOpen"}


class WindowsImportsTest(unittest.TestCase):
    def test_the_program_needs_only_what_every_windows_has(self):
        exe = os.path.join(harness.build_dir(), "Screenshot.exe")
        table = windows_imports.imports(exe)
        # The reader itself: a program this size imports from the kernel and windows at start.
        for dll in ("kernel32.dll", "user32.dll", "gdi32.dll"):
            self.assertIn(dll, table)
        self.assertIn("RegisterHotKey", table["user32.dll"])
        self.assertEqual(windows_imports.faults(exe), [])

    def test_the_other_system_dlls_load_on_first_use(self):
        exe = os.path.join(harness.build_dir(), "Screenshot.exe")
        loaded, delayed = windows_imports.imports(exe), windows_imports.delay_imports(exe)
        for dll, function in DELAY_LOADED.items():
            self.assertNotIn(dll, loaded)
            self.assertIn(function, delayed.get(dll, []), dll)

    def test_a_system_dll_outside_the_known_dlls_fails_at_load_time_only(self):
        table = {"kernel32.dll": ["GetTickCount"], "version.dll": ["GetFileVersionInfoSizeW"]}
        found = windows_imports.table_faults(table)
        self.assertEqual(len(found), 1)
        self.assertIn("version.dll", found[0])
        self.assertIn("KnownDLLs", found[0])
        self.assertEqual(windows_imports.table_faults({"kernel32.dll": ["GetTickCount"]},
                                                     {"version.dll": ["GetFileVersionInfoSizeW"]}), [])
        # Delay-loaded or not, a function Windows 7 lacks is a fault.
        self.assertEqual(len(windows_imports.table_faults({}, {"bcrypt.dll": ["BCryptHash"]})), 1)

    def test_a_function_windows_7_lacks_is_a_fault_wherever_it_is_imported(self):
        self.assertEqual(windows_imports.table_faults({"kernel32.dll": ["GetTickCount", "CreateFileW"]}), [])
        found = windows_imports.table_faults({"kernel32.dll": ["GetTickCount", "GetSystemTimePreciseAsFileTime"],
                                              "user32.dll": ["GetDpiForWindow"]})
        self.assertEqual(len(found), 2, found)
        self.assertIn("kernel32.dll!GetSystemTimePreciseAsFileTime: new in Windows 8", found[0])
        self.assertIn("user32.dll!GetDpiForWindow: new in Windows 10 1607", found[1])

    def test_common_controls_come_through_the_manifest(self):
        table = {"comctl32.dll": ["InitCommonControlsEx"]}
        self.assertEqual(len(windows_imports.table_faults(table)), 1)
        self.assertEqual(windows_imports.table_faults(table, assemblies={b"Microsoft.Windows.Common-Controls"}), [])


if __name__ == "__main__":
    unittest.main()
