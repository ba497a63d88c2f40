"""The program on a display scaled to 150 % (the prefix's LogPixels at 144 for the processes
started meanwhile). The program's own windows are DPI-unaware, as on Windows; the capture works
in the screen's physical pixels. Where threads cannot choose their awareness (Windows 7 and 8.1,
with the functions hidden from the program), the whole process is aware instead.

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
UNAWARE, SYSTEM, PER_MONITOR = "0", "1", "2"
# What Windows 8.1 lacks of the functions the program looks up, and what Windows 7 lacks besides.
MISSING_ON_8_1 = ("SetThreadDpiAwarenessContext", "GetDpiForWindow", "GetWindowDpiAwarenessContext",
                  "GetAwarenessFromDpiAwarenessContext")
MISSING_ON_7 = MISSING_ON_8_1 + ("GetDpiForMonitor", "SetProcessDpiAwareness")
PANEL = (0x19, 0x19, 0x19)  # the magnifier's colour panel
HINT = (0x1F, 0x1F, 0x1F)  # the pinned picture's hint


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


def panel_width():
    """The widest run of the magnifier's panel colour across the rows under the pointer at (700, 500)."""
    harness.xdotool("mousemove", 700, 500)
    time.sleep(0.8)
    width, _, screen = program.screen_pixels()
    return max(longest_run(screen, width, y, PANEL, 700, 1100) for y in range(700, 900, 3))


def hint_size(left, top, right, bottom):
    """The width and height of the hint's dark box in the window's rectangle on screen: its widest
    row, and how many rows it covers just inside its right end, where the text leaves room."""
    width, _, screen = program.screen_pixels()
    widest, row = max((longest_run(screen, width, y, HINT, left, right), y) for y in range(top, bottom))
    end = max(x for x in range(left, right) if longest_run(screen, width, row, HINT, x, x + 1))
    return widest, sum(1 for y in range(top, bottom) if longest_run(screen, width, y, HINT, end - 2, end - 1))


def wine_tray_rect():
    """Where Wine's own notification area window shows over the desktop (x0, y0, x1, y1); an empty
    rectangle when it does not."""
    _, out = harness.xdotool("search", "--name", "Wine System Tray", "getwindowgeometry")
    if "Position: " not in out:
        return 0, 0, 0, 0
    x, y = map(int, out.split("Position: ")[1].split()[0].split(","))
    w, h = map(int, out.split("Geometry: ")[1].split()[0].split("x"))
    return x, y, x + w, y + h


def pixels_unlike_pattern(path, left, top, skip=(0, 0, 0, 0)):
    """The pixels of the picture that differ from the pattern window's at the picture's place,
    outside the screen rectangle skip: how many, and the rectangle around them."""
    w, h, data = program.read_pixels(path)
    unlike = []
    for y in range(h):
        # The pattern's row, built a channel at a time; a row that differs is looked at pixel by pixel.
        expected = bytearray(3 * w)
        expected[0::3] = bytes((left + x) & 255 for x in range(w))
        expected[1::3] = bytes([(top + y) & 255]) * w
        expected[2::3] = bytes((((left + x) >> 8) << 4) | ((top + y) >> 8) for x in range(w))
        row = data[3 * w * y:3 * w * (y + 1)]
        if row != expected:
            unlike += [(x, y) for x in range(w) if row[3 * x:3 * x + 3] != expected[3 * x:3 * x + 3]
                       and not (skip[0] <= left + x < skip[2] and skip[1] <= top + y < skip[3])]
    if not unlike:
        return 0, None
    xs, ys = [x for x, _ in unlike], [y for _, y in unlike]
    return len(unlike), (min(xs), min(ys), max(xs), max(ys))


class ScaledDisplay(unittest.TestCase):
    """The display at 150 % with the pattern window over it, for the tests of each kind of Windows."""

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


class ScaledDisplayTest(ScaledDisplay):
    def test_a_region_capture_holds_the_screens_physical_pixels_with_chrome_scaled_by_one_and_a_half(self):
        with program.Program(self.log.url) as app:
            program.wait_window(MAIN_TITLE)
            self.assertEqual(program.tool("awareness", MAIN_TITLE), UNAWARE)
            harness.xdotool("key", "Print")
            self.assertEqual(program.wait_window("Screen Capture")[:4], (0, 0, 1920, 1080))
            self.assertEqual(program.tool("awareness", "Screen Capture"), PER_MONITOR)
            # The magnifier's panel: 172 pixels wide at 96 DPI, 258 at 144 (less its black edges).
            self.assertEqual(panel_width(), 256)
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
            # Its hint is sized for the monitor too: 300x60 instead of the skin's 200x40.
            self.assertEqual(hint_size(left, top, right, bottom), (300, 60))
            self.assertEqual(program.tool("awareness", "picWnd"), PER_MONITOR)
            program.press_key("picWnd", "Escape")


class OlderWindowsScaledDisplayTest(ScaledDisplay):
    """Windows 7 and 8.1: the program made aware as a whole, its windows at 96 DPI and unscaled."""

    def test_region_and_full_screen_captures_hold_every_physical_pixel(self):
        for missing, awareness in ((MISSING_ON_7, (SYSTEM, PER_MONITOR)), (MISSING_ON_8_1, (PER_MONITOR,))):
            with self.subTest(missing=missing[-1]), \
                    program.Program(self.log.url, missing_functions=missing) as app:
                # Windows 7 reads the manifest's "true/pm" as system-aware; Wine as per-monitor.
                self.assertIn(program.tool("awareness", MAIN_TITLE), awareness)
                program.tool("post", MAIN_TITLE, program.WM_COMMAND, program.TRAY_FULLSCREEN, 0)
                full = os.path.join(app.pictures, app.wait_picture()[0])
                self.assertEqual(program.read_pixels(full)[:2], (1920, 1080))
                self.assertEqual(pixels_unlike_pattern(full, 0, 0, skip=wine_tray_rect()), (0, None))
                program.wait_window(MAIN_TITLE)
                harness.xdotool("key", "Print")
                self.assertEqual(program.wait_window("Screen Capture")[:4], (0, 0, 1920, 1080))
                # The overlay's chrome still follows the display's scale.
                self.assertEqual(panel_width(), 256)
                program.drag(700, 300, 1000, 450)
                left, top, right, _, _ = program.wait_window(TOOLBAR_TITLE)
                # Aware and unscaled: 10 pixels under the selection, at its 96-DPI size, and
                # a real click reaches its buttons.
                self.assertEqual((top, right), (450 + 10, 1000))
                program.click_at(left + program.TOOLBAR_BUTTON_X["save"], top + program.TOOLBAR_BUTTON_Y)
                names = app.wait_picture(2)
                region = os.path.join(app.pictures, [n for n in names if n != os.path.basename(full)][0])
                self.assertEqual(program.read_pixels(region)[:2], (300, 150))
                self.assertEqual(pixels_unlike_pattern(region, 700, 300), (0, None))


if __name__ == "__main__":
    unittest.main()
