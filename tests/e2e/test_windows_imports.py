"""Screenshot.exe starts on a bare Windows 7 to 11: its import table names only Windows' own
DLLs and no function that Windows 7 lacks. Read from the file, since Wine would start it
either way."""
import os
import unittest

import harness
import windows_imports


class WindowsImportsTest(unittest.TestCase):
    def test_the_program_needs_only_what_every_windows_has(self):
        exe = os.path.join(harness.build_dir(), "Screenshot.exe")
        table = windows_imports.imports(exe)
        # The reader itself: a program this size imports from the kernel, windows and GDI+.
        for dll in ("kernel32.dll", "user32.dll", "gdiplus.dll"):
            self.assertIn(dll, table)
        self.assertIn("RegisterHotKey", table["user32.dll"])
        self.assertEqual(windows_imports.faults(exe), [])


if __name__ == "__main__":
    unittest.main()
