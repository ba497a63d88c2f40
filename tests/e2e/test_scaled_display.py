"""The program on a display scaled to 150 % (the prefix's LogPixels at 144 for the processes
started meanwhile). The program's own windows are DPI-unaware, as on Windows; the capture works
in the screen's physical pixels.

Wine draws an unaware window at its logical place without stretching it, and maps pointer input
to it by the scale, so a real click cannot reach the toolbar's buttons at 150 %. The toolbar's
button is pressed by posted messages; the selection is dragged with real input."""
import os
import subprocess
import time
import unittest

import harness
import program
from program import MAIN_TITLE, TOOLBAR_TITLE

DESKTOP_KEY = r"HKCU\Control Panel\Desktop"
UNAWARE, PER_MONITOR = "0", "2"
PANEL = (0x19, 0x19, 0x19)  # the magnifier's colour panel


def select_after_print_screen(x1, y1, x2, y2):
    """Starts a capture with PrintScreen, drags out a selection and waits for the toolbar."""
    harness.xdotool("key", "Print")
    program.wait_window("Screen Capture")
    program.drag(x1, y1, x2, y2)
    program.wait_window(TOOLBAR_TITLE)


def press_toolbar(button):
    point = (program.TOOLBAR_BUTTON_Y << 16) | program.TOOLBAR_BUTTON_X[button]
    for message, keys in ((0x0200, 0), (0x0201, 1), (0x0202, 0)):  # move, down, up
        program.tool("post", TOOLBAR_TITLE, message, keys, point)
        time.sleep(0.2)


def longest_run(data, width, y, colour, x0, x1):
    """The longest run of colour in row y between x0 and x1."""
    best = run = 0
    for x in range(x0, x1):
        run = run + 1 if tuple(data[(y * width + x) * 3:][:3]) == colour else 0
        best = max(best, run)
    return best


class ScaledDisplayTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        subprocess.run(["wine", "reg", "add", DESKTOP_KEY, "/v", "LogPixels", "/t", "REG_DWORD", "/d", "144", "/f"],
                       capture_output=True, check=True)
        exe = os.path.join(harness.build_dir(), "e2e_tool.exe")
        cls.pattern = subprocess.Popen(["wine", exe, "pattern"], stdout=subprocess.PIPE,
                                       stderr=subprocess.DEVNULL, text=True)
        cls.pattern.stdout.readline()

    @classmethod
    def tearDownClass(cls):
        cls.pattern.kill()
        cls.pattern.wait(timeout=10)
        subprocess.run(["wine", "reg", "delete", DESKTOP_KEY, "/v", "LogPixels", "/f"], capture_output=True)

    def setUp(self):
        self.log = program.LogServer().__enter__()
        self.addCleanup(self.log.__exit__)

    def test_a_region_capture_holds_the_screens_physical_pixels_with_chrome_scaled_by_one_and_a_half(self):
        with program.Program(self.log.url) as app:
            program.wait_window(MAIN_TITLE)
            self.assertEqual(program.tool("awareness", MAIN_TITLE), UNAWARE)
            harness.xdotool("key", "Print")
            self.assertEqual(program.wait_window("Screen Capture")[:4], (0, 0, 1920, 1080))
            self.assertEqual(program.tool("awareness", "Screen Capture"), PER_MONITOR)
            # The magnifier's panel: 172 pixels wide at 96 DPI, 258 at 144 (less its black edges).
            harness.xdotool("mousemove", 700, 500)
            time.sleep(0.8)
            width, _, screen = program.screen_pixels()
            runs = [longest_run(screen, width, y, PANEL, 700, 1100) for y in range(700, 900, 3)]
            self.assertEqual(max(runs), 256)
            program.drag(100, 100, 400, 250)
            toolbar = program.wait_window(TOOLBAR_TITLE)
            self.assertEqual(program.tool("awareness", TOOLBAR_TITLE), UNAWARE)
            # Placed 15 physical pixels under the selection, given in logical pixels.
            self.assertEqual(toolbar[1], round((250 + 15) / 1.5))
            # The size label above the selection: its text 18 pixels high instead of 12.
            width, _, screen = program.screen_pixels()
            rows = [y for y in range(60, 100)
                    if any(tuple(screen[(y * width + x) * 3:][:3]) == (255, 255, 255) for x in range(100, 400))]
            self.assertGreaterEqual(max(rows) - min(rows) + 1, 15)
            press_toolbar("save")
            names = app.wait_picture()
            w, h, data = program.read_pixels(os.path.join(app.pictures, names[0]))
            self.assertEqual((w, h), (300, 150))
            for x, y in ((0, 0), (299, 0), (150, 75), (0, 149), (299, 149)):
                self.assertEqual(tuple(data[(y * w + x) * 3:][:3]), program.pattern_colour(100 + x, 100 + y), (x, y))

    def test_a_text_deleted_from_the_toolbar_leaves_nothing_on_the_overlay(self):
        with program.Program(self.log.url):
            program.wait_window(MAIN_TITLE)
            select_after_print_screen(100, 100, 800, 500)
            press_toolbar("text")
            program.type_new_text(300, 250, "Hello there")
            time.sleep(0.3)
            program.click_at(700, 450)  # commits
            program.wait_window("子窗口B", visible=False)
            program.click_at(320, 262)  # selects it
            time.sleep(0.5)

            def text_pixels():
                width, _, screen = program.screen_pixels()
                return [(x, y) for x in range(280, 600) for y in range(230, 320)
                        if tuple(screen[(y * width + x) * 3:][:3]) == (0x00, 0x9B, 0xFF)]
            self.assertGreater(len(text_pixels()), 20, "the text is on the overlay")
            press_toolbar("undo")  # the bin
            time.sleep(1)
            left = text_pixels()
            self.assertEqual(len(left), 0, "%d pixels of the deleted text left, e.g. %s" % (len(left), left[:3]))

    def test_full_screen_and_pinned_pictures_keep_the_physical_size(self):
        with program.Program(self.log.url) as app:
            program.tool("post", MAIN_TITLE, program.WM_COMMAND, program.TRAY_FULLSCREEN, 0)
            names = app.wait_picture()
            self.assertEqual(program.read_pixels(os.path.join(app.pictures, names[0]))[:2], (1920, 1080))
            program.wait_window(MAIN_TITLE)
            select_after_print_screen(300, 300, 900, 700)
            press_toolbar("pin")
            left, top, right, bottom, _ = program.wait_window("picWnd")
            self.assertEqual((right - left, bottom - top), (600, 400))
            self.assertEqual(program.tool("awareness", "picWnd"), PER_MONITOR)
            program.press_key("picWnd", "Escape")


if __name__ == "__main__":
    unittest.main()
