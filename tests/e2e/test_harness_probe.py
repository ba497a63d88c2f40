"""The harness itself, on a small window program of ours: it is found by its title where it
opened, a real click reaches it at the right client coordinates, and it exits cleanly."""
import os
import tempfile
import unittest

import harness


class ProbeWindowTest(unittest.TestCase):
    def test_click_reaches_the_window(self):
        with tempfile.TemporaryDirectory() as folder:
            marker = os.path.join(folder, "clicked.txt")
            with harness.WineProgram("e2e_probe.exe", harness.to_windows_path(marker)) as probe:
                window = harness.find_window("e2e probe")
                self.assertEqual(harness.window_geometry(window), (100, 100, 300, 200))
                # A click that lands before Wine has mapped the window is lost, so it is
                # repeated until the probe answers.
                def clicked():
                    harness.click(window, 57, 43)
                    try:
                        return harness.wait_for_file(marker, timeout=3)
                    except harness.HarnessError:
                        return False
                harness.wait_until(clicked, 20, what="the probe's click marker")
                self.assertEqual(probe.wait_exit(), 0)
            with open(marker) as f:
                self.assertEqual(f.read().strip(), "click 57 43")


if __name__ == "__main__":
    unittest.main()
