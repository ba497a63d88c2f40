"""The real Screenshot.exe under Wine, used as a person would: started from its file, its
windows found on the screen, captures made with real drags and clicks, and the results read
back as files, pixels, the clipboard and usage events at a loopback server."""
import datetime
import json
import os
import re
import shutil
import subprocess
import tempfile
import threading
import time
import unittest

import harness
import program
from program import MAIN_TITLE, TOOLBAR_TITLE


class ProgramTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        # A desktop where every pixel has its own colour, under the program's topmost windows.
        exe = os.path.join(harness.build_dir(), "e2e_tool.exe")
        cls.pattern = subprocess.Popen(["wine", exe, "pattern"], stdout=subprocess.PIPE,
                                       stderr=subprocess.DEVNULL, text=True)
        cls.pattern.stdout.readline()
        program.wait_window("e2e pattern")
        work = program.tool("workarea")
        cls.work = tuple(int(v) for v in work.split())

    @classmethod
    def tearDownClass(cls):
        cls.pattern.kill()
        cls.pattern.wait(timeout=10)

    def setUp(self):
        self.log = program.LogServer().__enter__()
        self.addCleanup(self.log.__exit__)

    def expect_pattern(self, path, left, top, width, height):
        """The picture file holds exactly the desktop pattern of that screen rectangle."""
        w, h, data = program.read_pixels(path)
        self.assertEqual((w, h), (width, height))
        wrong = 0
        for y in range(h):
            for x in range(w):
                i = (y * w + x) * 3
                if tuple(data[i:i + 3]) != program.pattern_colour(left + x, top + y):
                    wrong += 1
        self.assertEqual(wrong, 0, "%d of %d pixels differ from the desktop" % (wrong, w * h))

    def select(self, x1, y1, x2, y2):
        """Starts nothing: drags out a selection in a running capture and waits for its toolbar."""
        program.drag(x1, y1, x2, y2)
        return program.wait_window(TOOLBAR_TITLE)

    def press_toolbar(self, toolbar, button):
        program.click_at(toolbar[0] + program.TOOLBAR_BUTTON_X[button], toolbar[1] + program.TOOLBAR_BUTTON_Y)

    def start_capture_from_button(self):
        main = program.wait_window(MAIN_TITLE)
        # "rectangular_btn": 25 pixels in, 57 down (title row, separator, gap), 130 x 70.
        program.click_at(main[0] + 25 + 65, main[1] + 42 + 35)
        program.wait_window("Screen Capture")

    def start_typing_in_a_capture(self, text):
        """Starts a capture, selects (200, 150)-(700, 450) and types text at (300, 250) with the
        text tool; returns the toolbar's place."""
        self.start_capture_from_button()
        toolbar = self.select(200, 150, 700, 450)
        self.press_toolbar(toolbar, "text")
        time.sleep(0.3)
        program.type_new_text(300, 250, text)
        return toolbar

    def test_start_shows_the_main_window_and_the_ball_and_reports_the_launch(self):
        with program.Program(self.log.url):
            left, top, right, bottom, _ = program.wait_window(MAIN_TITLE)
            self.assertEqual((right - left, bottom - top), (605, 127))
            ball = program.wait_window("class:CFloatWnd")
            wl, wt, wr, wb = self.work
            self.assertEqual(ball[:4], (wr - 36, wt + int(0.382 * (wb - wt)), wr, wt + int(0.382 * (wb - wt)) + 36))
            harness.wait_until(lambda: "launch" in self.log.events(), 15, what="the launch event")
            self.assertEqual(self.log.events().count("launch"), 1)

    def test_a_capture_from_the_tray_leaves_a_hidden_window_hidden_and_the_ball_comes_back_from_the_tray(self):
        app = program.Program(self.log.url)
        with open(os.path.join(app.folder, "config.json")) as f:
            config = json.load(f)
        config["capture_hotkey"] = ""  # no hotkey: nothing can be taken, so nothing is said
        with open(os.path.join(app.folder, "config.json"), "w") as f:
            json.dump(config, f)
        with app:
            time.sleep(1.5)
            self.assertIsNone(program.window_rect("class:ToastWnd"))
            program.tool("post", MAIN_TITLE, 0x0400 + 100, 0, 0x0203)  # a double click on the tray icon hides it
            program.wait_window(MAIN_TITLE, visible=False)
            program.tool("post", MAIN_TITLE, program.WM_COMMAND, program.TRAY_RECT_CAPTURE, 0)
            program.wait_window("Screen Capture")
            program.press_key("Screen Capture", "Escape")
            harness.wait_until(lambda: program.window_rect("Screen Capture") is None, 10, what="the capture ended")
            time.sleep(1)
            self.assertFalse(program.window_rect(MAIN_TITLE)[4], "the window was in the tray, and stays there")
            # The ball's menu hides the ball; the tray's entry shows it again.
            program.tool("post", MAIN_TITLE, 0x0400 + 350, 1008, 0)
            program.wait_window("class:CFloatWnd", visible=False)
            program.tool("post", MAIN_TITLE, program.WM_COMMAND, 1134, 0)
            program.wait_window("class:CFloatWnd", visible=True)

    def test_second_start_brings_back_the_first_and_exits(self):
        with program.Program(self.log.url) as first:
            harness.wait_until(lambda: self.log.events(), 15, what="the first start's event")
            main = program.wait_window(MAIN_TITLE)
            # "to_tray_btn", the top right button, hides the main window to the tray.
            program.click_at(main[0] + 577, main[1] + 21)
            program.wait_window(MAIN_TITLE, visible=False)
            expected = ["launch", "main_wnd_btn_close"]
            harness.wait_until(lambda: self.log.events() == expected, 10, what="the hide's event")
            second = first.start()
            self.assertEqual(second.wait(timeout=20), 0)
            program.wait_window(MAIN_TITLE, visible=True)
            time.sleep(1)
            # The second start reported nothing.
            self.assertEqual(self.log.events(), expected)

    def test_region_capture_saved_from_the_toolbar(self):
        with program.Program(self.log.url) as app:
            self.start_capture_from_button()
            # The main window was where the selection goes: it must not be in the picture.
            main_left, main_top = 657, 476
            toolbar = self.select(main_left, main_top, main_left + 300, main_top + 150)
            self.press_toolbar(toolbar, "save")
            names = app.wait_picture()
            self.assertEqual(len(names), 1)
            today = datetime.datetime.now().strftime("%Y%m%d")
            self.assertRegex(names[0], r"^0001_%s_\d{6}\.png$" % today)
            self.expect_pattern(os.path.join(app.pictures, names[0]), main_left, main_top, 300, 150)
            program.wait_window(MAIN_TITLE)
            harness.wait_until(lambda: "toolbar_btn_save_tofile" in self.log.events(), 10, what="the save event")

    def test_rectangle_drawn_by_a_drag_is_in_the_saved_picture(self):
        with program.Program(self.log.url) as app:
            self.start_capture_from_button()
            toolbar = self.select(200, 150, 700, 450)
            self.press_toolbar(toolbar, "rectangle")
            time.sleep(0.3)
            program.drag(300, 200, 500, 350)
            self.press_toolbar(toolbar, "save")
            names = app.wait_picture()
            w, h, data = program.read_pixels(os.path.join(app.pictures, names[0]))
            self.assertEqual((w, h), (500, 300))
            colour = lambda x, y: tuple(data[((y - 150) * w + x - 200) * 3:][:3])
            blue = (0x00, 0x9B, 0xFF)
            # The 2-pixel outline all round, the desktop inside and outside it, and no handles
            # (the shape was still selected when the picture was taken).
            for x, y in ((299, 270), (300, 270), (500, 270), (400, 199), (400, 350)):
                self.assertEqual(colour(x, y), blue, (x, y))
            for x, y in ((297, 270), (302, 270), (400, 275), (503, 270), (302, 202), (402, 202)):
                self.assertEqual(colour(x, y), program.pattern_colour(x, y), (x, y))
            harness.wait_until(lambda: any("rectangle%3D1%3B" in r or "rectangle=1;" in r for r in self.log.records),
                               10, what="the save event with the shape summary")

    def test_arrow_line_stroke_and_mosaic_are_in_the_saved_picture(self):
        with program.Program(self.log.url) as app:
            self.start_capture_from_button()
            toolbar = self.select(200, 150, 700, 450)
            for tool, start, end in (("arrow", (250, 420), (450, 420)), ("line", (250, 200), (450, 200)),
                                     ("pencil", (520, 300), (680, 300)), ("mosaic", (260, 335), (400, 335))):
                self.press_toolbar(toolbar, tool)
                time.sleep(0.3)
                program.drag(*start, *end)
            self.press_toolbar(toolbar, "save")
            names = app.wait_picture()
            w, h, data = program.read_pixels(os.path.join(app.pictures, names[0]))
            colour = lambda x, y: tuple(data[((y - 150) * w + x - 200) * 3:][:3])
            blue = (0x00, 0x9B, 0xFF)
            # The arrow's head, the line, the stroke; a mosaic block and its darker outline.
            for x, y in ((444, 420), (350, 200), (600, 300)):
                self.assertEqual(colour(x, y), blue, (x, y))
            self.assertEqual(colour(305, 335), (120, 120, 120))
            self.assertEqual(colour(305, 330), (80, 80, 80))
            self.assertEqual(colour(350, 250), program.pattern_colour(350, 250))
            harness.wait_until(lambda: any("arrow%3D1%3Bline%3D1%3Bfreeline%3D1%3Bmosaic%3D1%3B" in r
                                           for r in self.log.records), 10, what="the shape summary")

    def test_escape_ends_the_typing_and_a_second_escape_the_capture(self):
        with program.Program(self.log.url) as app:
            toolbar = self.start_typing_in_a_capture("Done")
            harness.xdotool("key", "Escape")
            program.wait_window("子窗口B", visible=False)
            time.sleep(0.5)
            self.assertTrue(program.window_rect("Screen Capture"), "the first Escape ends the typing only")
            self.assertEqual(program.tool("foreground"), program.TOOLBAR_TITLE)
            # The text stays in the picture: saved, it has its glyphs.
            self.press_toolbar(toolbar, "save")
            names = app.wait_picture()
            w, h, data = program.read_pixels(os.path.join(app.pictures, names[0]))
            glyphs = sum(tuple(data[((y - 150) * w + x - 200) * 3:][:3]) == (0x00, 0x9B, 0xFF)
                         for x in range(300, 400) for y in range(250, 290))
            self.assertGreater(glyphs, 20)
            # Once more, and now two Escapes: the capture ends.
            toolbar = self.start_typing_in_a_capture("Gone")
            harness.xdotool("key", "Escape")
            program.wait_window("子窗口B", visible=False)
            program.press_key(program.TOOLBAR_TITLE, "Escape")
            program.wait_window(MAIN_TITLE)
            harness.wait_until(lambda: program.window_rect("Screen Capture") is None, 10, what="the capture ended")

    def test_tab_moves_the_magnifier_and_leaves_no_copy_of_it_behind(self):
        with program.Program(self.log.url):
            self.start_capture_from_button()
            harness.xdotool("mousemove", 500, 400)
            time.sleep(0.8)
            before = program.screen_pixels()
            # To the corner and back, with moves between: the overlay must look as it did.
            for x, y in ((900, 600), (500, 400)):
                program.press_key("Screen Capture", "Tab")
                time.sleep(0.3)
                harness.xdotool("mousemove", x, y)
                time.sleep(0.8)
            after = program.screen_pixels()
            differ = sum(a != b for a, b in zip(before[2][::3], after[2][::3]))
            self.assertEqual(differ, 0, "%d pixels of an old magnifier left on the overlay" % differ)
            program.press_key("Screen Capture", "Escape")
            program.wait_window(MAIN_TITLE)

    def test_text_typed_in_place_is_in_the_saved_picture(self):
        with program.Program(self.log.url) as app:
            toolbar = self.start_typing_in_a_capture("Ship it 你好")
            time.sleep(0.5)
            program.click_at(600, 400)  # a press outside commits
            program.wait_window("子窗口B", visible=False)
            program.click_at(320, 265, double=True)  # a double click inside opens it again
            program.wait_window("子窗口B")
            program.click_at(600, 400)
            program.wait_window("子窗口B", visible=False)
            self.press_toolbar(toolbar, "save")
            names = app.wait_picture()
            w, h, data = program.read_pixels(os.path.join(app.pictures, names[0]))
            colour = lambda x, y: tuple(data[((y - 150) * w + x - 200) * 3:][:3])
            # The text's glyphs in the default colour, at the box's inset; no frame at its left edge.
            glyphs = sum(colour(x, y) == (0x00, 0x9B, 0xFF) for x in range(300, 420) for y in range(250, 290))
            self.assertGreater(glyphs, 40)
            self.assertEqual(colour(300, 262), program.pattern_colour(300, 262))
            harness.wait_until(lambda: any("text%3D1%3B" in r for r in self.log.records), 10, what="the summary")

    def test_region_capture_copied_to_the_clipboard(self):
        with program.Program(self.log.url) as app:
            self.start_capture_from_button()
            toolbar = self.select(200, 150, 441, 289)
            self.press_toolbar(toolbar, "clipboard")
            program.wait_window(MAIN_TITLE)
            out = os.path.join(app.folder, "clip.bmp")
            harness.wait_until(lambda: program.tool("clipboard", harness.to_windows_path(out)), 10,
                               what="a bitmap on the clipboard")
            self.expect_pattern(out, 200, 150, 241, 139)
            self.assertEqual(app.pictures_saved(), [])

    def test_pin_opens_the_picture_at_the_top_and_escape_closes_it(self):
        with program.Program(self.log.url):
            self.start_capture_from_button()
            toolbar = self.select(300, 300, 700, 520)
            self.press_toolbar(toolbar, "pin")
            left, top, right, bottom, _ = program.wait_window("picWnd")
            self.assertEqual((right - left, bottom - top), (400, 220))
            self.assertEqual(top, 3)
            self.assertEqual(left, (1920 - 400) // 2)
            # An update waits while a picture is pinned: ending the program would take it away.
            self.assertEqual(program.tool("ask-close", MAIN_TITLE), "0")
            program.press_key("picWnd", "Escape")
            harness.wait_until(lambda: program.window_rect("picWnd") is None, 10, what="the pinned window closed")

    def test_a_pin_shows_the_selection_at_once_and_its_file_follows(self):
        with program.Program(self.log.url) as app:
            self.start_capture_from_button()
            toolbar = self.select(300, 300, 700, 520)
            self.press_toolbar(toolbar, "pin")
            left, top, right, bottom, _ = program.wait_window("picWnd")
            names = app.wait_picture()
            self.expect_pattern(os.path.join(app.pictures, names[0]), 300, 300, 400, 220)

            def wrong_pixels():
                width, _, screen = program.screen_pixels()
                return sum(1 for y in range(220) for x in range(400)
                           if tuple(screen[((top + y) * width + left + x) * 3:((top + y) * width + left + x) * 3 + 3])
                           != program.pattern_colour(300 + x, 300 + y))
            # The hint over the picture counts down for a few seconds and goes.
            harness.wait_until(lambda: wrong_pixels() == 0, 10, interval=0.5,
                               what="the pinned window showing exactly the selection")

    def test_a_save_that_cannot_be_written_says_why_and_keeps_the_picture_on_the_clipboard(self):
        gone = os.path.join(tempfile.mkdtemp(prefix="screenshot_gone_"), "removed", "pics")
        self.addCleanup(shutil.rmtree, os.path.dirname(os.path.dirname(gone)), True)
        with program.Program(self.log.url, pictures=gone) as app:
            self.start_capture_from_button()
            toolbar = self.select(200, 150, 441, 289)
            self.press_toolbar(toolbar, "save")
            program.wait_window("class:ToastWnd")
            text = program.tool("title", "class:ToastWnd")
            self.assertEqual(text, "\u4fdd\u5b58\u5931\u8d25\uff1a\u6587\u4ef6\u5939\u4e0d\u5b58\u5728"
                                   "\uff0c\u56fe\u7247\u5df2\u590d\u5236\u5230\u526a\u8d34\u677f")
            out = os.path.join(app.folder, "clip.bmp")
            self.assertTrue(program.tool("clipboard", harness.to_windows_path(out)))
            self.expect_pattern(out, 200, 150, 241, 139)
            self.assertFalse(os.path.exists(gone))

    def test_a_save_onto_a_full_disk_says_so_and_keeps_the_picture_on_the_clipboard(self):
        disk = tempfile.mkdtemp(prefix="screenshot_full_")
        self.addCleanup(shutil.rmtree, disk, True)
        if subprocess.run(["mount", "-t", "tmpfs", "-o", "size=16k", "tmpfs", disk],
                          capture_output=True).returncode != 0:
            self.skipTest("a small disk needs mount (root): " + disk)
        self.addCleanup(subprocess.run, ["umount", disk], capture_output=True)
        with open(os.path.join(disk, "filler"), "wb") as f:  # the disk is full
            try:
                f.write(b"\0" * 65536)
            except OSError:
                pass
        with program.Program(self.log.url, pictures=disk) as app:
            self.start_capture_from_button()
            toolbar = self.select(200, 150, 700, 500)
            self.press_toolbar(toolbar, "save")
            program.wait_window("class:ToastWnd")
            self.assertEqual(program.tool("title", "class:ToastWnd"),
                             "\u4fdd\u5b58\u5931\u8d25\uff1a\u78c1\u76d8\u5df2\u6ee1"
                             "\uff0c\u56fe\u7247\u5df2\u590d\u5236\u5230\u526a\u8d34\u677f")
            out = os.path.join(app.folder, "clip.bmp")
            self.assertTrue(program.tool("clipboard", harness.to_windows_path(out)))
            self.expect_pattern(out, 200, 150, 500, 350)
            self.assertEqual(os.listdir(disk), ["filler"], "nothing half-written is left on the disk")

    def test_two_saves_in_quick_succession_keep_both_files(self):
        # The pictures are held back until both saves were asked for: the second save comes
        # while the first picture is still on its way, so both are named before either file exists.
        with program.Program(self.log.url, hold_writes=True) as app:
            for left in (200, 500):
                self.start_capture_from_button()
                toolbar = self.select(left, 200, left + 160, 300)
                self.press_toolbar(toolbar, "save")
                program.wait_window(MAIN_TITLE)
            self.assertEqual(app.pictures_saved(), [])
            app.release_writes()
            names = app.wait_picture(count=2, timeout=30)
            self.assertEqual([n[:5] for n in names], ["0001_", "0002_"])
            self.expect_pattern(os.path.join(app.pictures, names[0]), 200, 200, 160, 100)
            self.expect_pattern(os.path.join(app.pictures, names[1]), 500, 200, 160, 100)

    def test_exit_right_after_a_save_waits_for_the_whole_file_and_says_so(self):
        with program.Program(self.log.url, hold_writes=True) as app:
            self.start_capture_from_button()
            toolbar = self.select(100, 100, 1100, 800)
            self.press_toolbar(toolbar, "save")
            program.wait_window(MAIN_TITLE)
            program.tool("post", MAIN_TITLE, program.WM_COMMAND, program.TRAY_EXIT, 0)
            # The picture is still on its way: the program says why it has not ended yet.
            program.wait_window("class:ToastWnd")
            self.assertEqual(program.tool("title", "class:ToastWnd"), "\u6b63\u5728\u4fdd\u5b58\u622a\u56fe\u2026")
            self.assertIsNone(app.process.poll())
            app.release_writes()
            self.assertEqual(app.process.wait(timeout=30), 0)
            names = app.pictures_saved()
            self.assertEqual(len(names), 1)
            self.assertEqual(app.temporary_files(), [])
            self.expect_pattern(os.path.join(app.pictures, names[0]), 100, 100, 1000, 700)

    def test_a_session_ending_with_a_capture_open_and_a_picture_queued_keeps_the_picture(self):
        with program.Program(self.log.url, hold_writes=True) as app:
            self.start_capture_from_button()
            toolbar = self.select(100, 100, 500, 400)
            self.press_toolbar(toolbar, "save")
            program.wait_window(MAIN_TITLE)
            self.start_capture_from_button()
            # WM_QUERYENDSESSION is answered yes; WM_ENDSESSION(TRUE) returns once the picture is
            # written, with the open capture ended as by cancel, and the program ends.
            self.assertEqual(program.tool("send", MAIN_TITLE, 0x0011, 0, 0, 5000), "1")
            self.assertEqual(app.pictures_saved(), [])
            answer = []
            end_session = threading.Thread(target=lambda: answer.append(
                program.tool("send", MAIN_TITLE, 0x0016, 1, 0, 60000, timeout=70)))
            end_session.start()
            end_session.join(timeout=3)
            self.assertTrue(end_session.is_alive(), "WM_ENDSESSION returned while the picture was held back")
            self.assertEqual(app.pictures_saved(), [])
            app.release_writes()
            end_session.join(timeout=80)
            self.assertEqual(answer, ["0"])
            self.assertEqual(len(app.pictures_saved()), 1)
            self.assertEqual(app.temporary_files(), [])
            self.assertEqual(app.process.wait(timeout=20), 0)
            self.assertIsNone(program.window_rect("Screen Capture"))
            self.expect_pattern(os.path.join(app.pictures, app.pictures_saved()[0]), 100, 100, 400, 300)

    def test_the_main_window_and_a_pin_answer_during_a_capture(self):
        with program.Program(self.log.url):
            self.start_capture_from_button()
            toolbar = self.select(300, 300, 500, 400)
            self.press_toolbar(toolbar, "pin")
            program.wait_window("picWnd")
            program.wait_window(MAIN_TITLE)
            self.start_capture_from_button()
            # WM_NULL, as Windows asks whether a window hangs, and a broadcast settings change,
            # as other programs send it: both come back while the user is in the capture.
            self.assertEqual(program.tool("send", MAIN_TITLE, 0, 0, 0, 500), "0")
            self.assertEqual(program.tool("send", "picWnd", 0, 0, 0, 500), "0")
            self.assertIsNotNone(program.tool("send", "broadcast", 0x001A, 0, 0, 60000, timeout=30))
            self.assertIsNotNone(program.window_rect("Screen Capture"))
            # The update waits while a capture is open, without keeping the asker waiting.
            self.assertEqual(program.tool("ask-close", MAIN_TITLE), "0")
            program.press_key("Screen Capture", "Escape")
            program.wait_window(MAIN_TITLE)

    def test_the_overlay_takes_the_keyboard_however_the_capture_starts(self):
        with program.Program(self.log.url):
            starts = {
                "PrintScreen": lambda: harness.xdotool("key", "Print"),
                "the tray menu": lambda: program.tool("post", MAIN_TITLE, program.WM_COMMAND,
                                                      program.TRAY_RECT_CAPTURE, 0),
                "the ball": lambda: program.click_at(ball[0] + 18, ball[1] + 18, double=True),
            }
            for way, start in starts.items():
                with self.subTest(way):
                    program.wait_window(MAIN_TITLE)
                    ball = program.wait_window("class:CFloatWnd")
                    harness.xdotool("windowfocus", harness.find_window("e2e pattern"))
                    start()
                    program.wait_window("Screen Capture")
                    harness.wait_until(lambda: program.tool("foreground") == "Screen Capture", 10,
                                       what="the overlay in front")
                    # A key from the system's input queue goes to the window in front, as on
                    # Windows (xdotool's would go to the window with the X focus).
                    self.assertEqual(program.tool("key", 0x1B), "pressed")
                    harness.wait_until(lambda: program.window_rect("Screen Capture") is None, 10,
                                       what="the capture ended by Escape")

    def test_ctrl_h_copies_the_colour_and_a_toast_confirms_it(self):
        with program.Program(self.log.url):
            self.start_capture_from_button()
            harness.xdotool("mousemove", 300, 200)
            time.sleep(0.5)
            program.press_key("Screen Capture", "ctrl+h")
            # Over the overlay, at the bottom right of the work area, for a moment.
            toast = program.wait_window("class:ToastWnd", timeout=5)
            wl, wt, wr, wb = self.work
            self.assertEqual((toast[2], toast[3]), (wr - 20, wb - 20))
            harness.wait_until(lambda: "key_board_copy_clr_hex" in self.log.events(), 10, what="the copy's event")
            harness.wait_until(lambda: program.window_rect("class:ToastWnd") is None, 5, what="the toast gone")
            program.press_key("Screen Capture", "Escape")
            program.wait_window(MAIN_TITLE)

    def test_a_toast_still_showing_is_not_frozen_into_the_next_capture(self):
        with program.Program(self.log.url) as app:
            main = program.wait_window(MAIN_TITLE)
            self.start_capture_from_button()
            self.press_toolbar(self.select(200, 150, 400, 300), "save")
            harness.wait_until(lambda: app.pictures_saved(), 15, interval=0.05, what="the first picture")
            # At once, while "已保存到图库" shows (1.5 s): the next capture from the main window's
            # button, clicked where the window comes back.
            time.sleep(0.3)
            program.click_at(main[0] + 25 + 65, main[1] + 42 + 35)
            program.wait_window("Screen Capture")
            wl, wt, wr, wb = self.work
            # The toast's place: 201 x 60, 20 pixels from the right and bottom, and a margin.
            left, top, right, bottom = wr - 20 - 201 - 10, wb - 20 - 60 - 10, wr - 10, wb - 10
            self.press_toolbar(self.select(left, top, right, bottom), "save")
            names = app.wait_picture(2)
            self.expect_pattern(os.path.join(app.pictures, names[1]), left, top, right - left, bottom - top)

    def test_a_damaged_settings_file_is_said_at_start_and_survives_a_capture(self):
        app = program.Program(self.log.url)
        path = os.path.join(app.folder, "config.json")
        with open(path) as f:
            damaged = f.read().replace(", ", " ", 1)  # a comma lost in a hand edit
        with open(path, "w") as f:
            f.write(damaged)
        with app:
            program.wait_window("class:ToastWnd")
            self.assertEqual(program.tool("title", "class:ToastWnd"),
                             "\u8bbe\u7f6e\u6587\u4ef6\u65e0\u6cd5\u8bfb\u53d6\uff0c\u6682\u7528\u9ed8\u8ba4\u8bbe\u7f6e")
            self.start_capture_from_button()
            program.press_key("Screen Capture", "Escape")
            program.wait_window(MAIN_TITLE)
            time.sleep(0.5)
            with open(path) as f:
                self.assertEqual(f.read(), damaged)

    def test_a_drag_to_the_screens_last_pixel_takes_the_whole_screen(self):
        with program.Program(self.log.url) as app:
            self.start_capture_from_button()
            self.press_toolbar(self.select(0, 0, 1919, 1079), "save")
            path = os.path.join(app.pictures, app.wait_picture()[0])
            w, h, data = program.read_pixels(path)
            self.assertEqual((w, h), (1920, 1080))
            # The last column and row are the desktop's.
            for x, y in [(1919, y) for y in range(200, 1080, 97)] + [(x, 1079) for x in range(200, 1920, 97)]:
                self.assertEqual(tuple(data[(y * w + x) * 3:(y * w + x) * 3 + 3]), program.pattern_colour(x, y), (x, y))

    def test_a_stored_hotkey_the_rules_refuse_is_said_at_start(self):
        app = program.Program(self.log.url)
        path = os.path.join(app.folder, "config.json")
        with open(path) as f:
            config = json.load(f)
        config["capture_hotkey"] = "Shift+A"
        with open(path, "w") as f:
            json.dump(config, f)
        with app:
            program.wait_window("class:ToastWnd")
            self.assertEqual(program.tool("title", "class:ToastWnd"),
                             "\u5feb\u6377\u952e Shift+A \u4e0d\u80fd\u4f7f\u7528\uff08\u9700\u8981 Ctrl \u6216 Alt\uff09"
                             "\uff0c\u5df2\u6539\u7528 PrintScreen")

    def test_a_second_start_during_a_capture_returns_at_once_and_the_window_comes_back(self):
        with program.Program(self.log.url) as first:
            self.start_capture_from_button()
            program.wait_window(MAIN_TITLE, visible=False)
            second = first.start()
            try:
                self.assertEqual(second.wait(timeout=10), 0)
            finally:
                if second.poll() is None:
                    second.kill()
            time.sleep(0.5)  # the first one has taken the second's request by now
            self.assertFalse(program.window_rect(MAIN_TITLE)[4], "the window waits until the capture ends")
            program.press_key("Screen Capture", "Escape")
            program.wait_window(MAIN_TITLE, visible=True)
            time.sleep(1)
            self.assertTrue(program.window_rect(MAIN_TITLE)[4], "the main window stays shown")

    def test_the_tray_icon_comes_back_when_the_shell_restarts(self):
        with program.Program(self.log.url):
            harness.wait_until(lambda: program.tool("tray", MAIN_TITLE, "check") == "1", 10, what="the tray icon")
            # The shell goes away with every icon, then announces itself again.
            self.assertIsNotNone(program.tool("tray", MAIN_TITLE, "delete"))
            self.assertEqual(program.tool("tray", MAIN_TITLE, "check"), "0")
            program.tool("taskbar-created")
            harness.wait_until(lambda: program.tool("tray", MAIN_TITLE, "check") == "1", 10, what="the icon again")

    def test_print_screen_starts_one_capture_and_a_key_held_elsewhere_is_reported(self):
        with program.Program(self.log.url):
            harness.xdotool("key", "Print")
            program.wait_window("Screen Capture")
            program.wait_window(MAIN_TITLE, visible=False)
            harness.xdotool("key", "Print")  # during the capture: nothing
            program.press_key("Screen Capture", "Escape")
            program.wait_window(MAIN_TITLE)
            time.sleep(1)
            self.assertIsNone(program.window_rect("Screen Capture"))
            self.assertEqual(self.log.events().count("main_wnd_btn_rectangular"), 1)
        exe = os.path.join(harness.build_dir(), "e2e_tool.exe")
        holder = subprocess.Popen(["wine", exe, "hold-hotkey", "0", "0x2C"], stdout=subprocess.PIPE,
                                  stderr=subprocess.DEVNULL, text=True)
        try:
            self.assertEqual(holder.stdout.readline().strip(), "held")
            with program.Program(self.log.url):
                program.wait_window("class:ToastWnd")  # "快捷键 PrintScreen 已被占用"
                harness.xdotool("key", "Print")
                time.sleep(1)
                self.assertIsNone(program.window_rect("Screen Capture"))
                main = program.wait_window(MAIN_TITLE)
                program.click_at(main[0] + 90, main[1] + 77)  # the program goes on without it
                program.wait_window("Screen Capture")
                program.press_key("Screen Capture", "Escape")
                program.wait_window(MAIN_TITLE)
        finally:
            holder.kill()
            holder.wait(timeout=10)

    def hold_print_screen_as_windows_snipping(self):
        """Windows' screen snipping on, and PrintScreen held by another process as it would hold
        it (Wine lets any program register the key whatever the setting)."""
        key = r"HKCU\Control Panel\Keyboard"
        program.wine_output("reg", "add", key, "/v", "PrintScreenKeyForSnippingEnabled", "/t", "REG_DWORD",
                            "/d", "1", "/f")
        self.addCleanup(program.wine_output, "reg", "delete", key, "/v", "PrintScreenKeyForSnippingEnabled", "/f")
        exe = os.path.join(harness.build_dir(), "e2e_tool.exe")
        holder = subprocess.Popen(["wine", exe, "hold-hotkey", "0", "0x2C"], stdout=subprocess.PIPE,
                                  stderr=subprocess.DEVNULL, text=True)
        self.addCleanup(holder.stdout.close)
        self.addCleanup(holder.wait, 10)
        self.addCleanup(holder.kill)
        self.assertEqual(holder.stdout.readline().strip(), "held")
        return holder

    def test_print_screen_held_by_windows_screen_snipping_says_how_to_free_it_and_comes_back(self):
        holder = self.hold_print_screen_as_windows_snipping()
        with program.Program(self.log.url):
            toast = program.wait_window("class:ToastWnd")
            # Bottom right of the work area, like the program's other notices.
            self.assertEqual((toast[2], toast[3]), (self.work[2] - 20, self.work[3] - 20))
            text = program.tool("title", "class:ToastWnd")
            self.assertIn("Windows \u5c4f\u5e55\u622a\u56fe", text)  # Windows 屏幕截图
            # Where Windows 10 keeps the option (Wine reports a Windows 10 build): 设置 › 轻松使用 › 键盘.
            self.assertIn("\u8bbe\u7f6e \u203a \u8f7b\u677e\u4f7f\u7528 \u203a \u952e\u76d8", text)
            harness.xdotool("key", "Print")
            time.sleep(1)
            self.assertIsNone(program.window_rect("Screen Capture"))
            # Windows' option turned off: the key is free, and the settings change says so.
            holder.kill()
            holder.wait(timeout=10)
            self.assertEqual(program.tool("setting-change"), "broadcast")
            harness.xdotool("key", "Print")
            program.wait_window("Screen Capture")
            program.press_key("Screen Capture", "Escape")
            program.wait_window(MAIN_TITLE)

    def test_the_settings_mark_a_held_print_screen_and_it_works_once_freed(self):
        holder = self.hold_print_screen_as_windows_snipping()
        with program.Program(self.log.url):
            main = program.wait_window(MAIN_TITLE)
            program.click_at(main[0] + 397, main[1] + 76)  # "set_btn"
            dialog = program.wait_window("\u8bbe\u7f6e\u7a97\u53e3")
            time.sleep(0.5)
            # The field (193 x 27 at 274, 249 of the dialog) in the warning colour #D4380D.
            width, height, data = program.screen_pixels()
            warning = 0
            for y in range(dialog[1] + 249, dialog[1] + 276):
                for x in range(dialog[0] + 274, dialog[0] + 467):
                    r, g, b = data[(y * width + x) * 3:(y * width + x) * 3 + 3]
                    warning += abs(r - 0xD4) < 40 and abs(g - 0x38) < 40 and b < 60
            self.assertGreater(warning, 100, "the held key is marked in the hotkey field")
            program.click_at(dialog[0] + 382, dialog[1] + 467)  # "cancel_btn"
            harness.wait_until(lambda: program.window_rect("\u8bbe\u7f6e\u7a97\u53e3") is None, 10,
                               what="the settings window closed")
            # Freed while the program is not looking: it takes the key when the user comes back
            # to its window, here from the about window.
            holder.kill()
            holder.wait(timeout=10)
            harness.xdotool("key", "Print")
            time.sleep(1)
            self.assertIsNone(program.window_rect("Screen Capture"))
            program.click_at(main[0] + 542, main[1] + 76)  # "about_btn"
            about = program.wait_window("\u5173\u4e8e")
            program.click_at(about[0] + 376, about[1] + 16)  # its "closebtn"
            harness.wait_until(lambda: program.window_rect("\u5173\u4e8e") is None, 10, what="the about window closed")
            harness.xdotool("key", "Print")
            program.wait_window("Screen Capture")
            program.press_key("Screen Capture", "Escape")
            program.wait_window(MAIN_TITLE)

    def test_a_first_start_keeps_pictures_in_the_users_pictures_folder(self):
        pictures = os.path.join(program.windows_folder("USERPROFILE"), "Pictures", "screenshot_pic")
        before = set(os.listdir(pictures)) if os.path.isdir(pictures) else set()
        with program.Program(self.log.url, pictures=pictures, first_start=True) as app:
            self.addCleanup(lambda: [os.remove(os.path.join(pictures, n)) for n in app.pictures_saved()
                                     if n not in before])
            # No folder is written down: the default is worked out at each save.
            with open(os.path.join(app.folder, "config.json"), encoding="utf-8") as f:
                self.assertNotIn("pic_save_path", json.load(f))
            self.start_capture_from_button()
            toolbar = self.select(300, 300, 400, 380)
            self.press_toolbar(toolbar, "save")
            harness.wait_until(lambda: set(app.pictures_saved()) - before, 15, what="a picture in Pictures")
            program.wait_window(MAIN_TITLE)

    def test_the_old_temporary_default_is_left_and_a_toast_says_where_new_pictures_go(self):
        temp = program.wine_output("cmd", "/c", "echo %TEMP%")
        app = program.Program(self.log.url, first_start=True)
        config = os.path.join(app.folder, "config.json")
        with open(config, "w", encoding="utf-8") as f:
            json.dump({"pic_save_path": temp.upper() + "\\screenshot_pic\\", "pic_save_format": "BMP"}, f)
        with app:
            program.wait_window("class:ToastWnd")
            text = program.tool("title", "class:ToastWnd")
            self.assertTrue(text.startswith("\u65b0\u622a\u56fe\u5c06\u4fdd\u5b58\u5230 "), text)  # 新截图将保存到
            self.assertTrue(text.lower().endswith("\\pictures\\screenshot_pic"), text)
            # Written down at once, so the next start says nothing; the other settings stay.
            with open(config, encoding="utf-8") as f:
                stored = json.load(f)
            self.assertNotIn("pic_save_path", stored)
            self.assertEqual(stored["pic_save_format"], "BMP")

    def test_escape_brings_back_the_windows_without_a_toast(self):
        with program.Program(self.log.url):
            self.start_capture_from_button()
            program.wait_window(MAIN_TITLE, visible=False)
            program.press_key("Screen Capture", "Escape")
            program.wait_window(MAIN_TITLE, visible=True)
            program.wait_window("class:CFloatWnd", visible=True)
            time.sleep(0.5)
            self.assertIsNone(program.window_rect("class:ToastWnd"))

    def test_double_click_on_the_ball_starts_a_capture(self):
        with program.Program(self.log.url):
            ball = program.wait_window("class:CFloatWnd")
            program.click_at(ball[0] + 18, ball[1] + 18, double=True)
            program.wait_window("Screen Capture")
            program.press_key("Screen Capture", "Escape")
            program.wait_window(MAIN_TITLE)
            harness.wait_until(lambda: "float_wnd_db_click_rectangular" in self.log.events(), 10,
                               what="the ball's event")

    def test_full_screen_capture_from_the_tray_menu_saves_and_copies(self):
        with program.Program(self.log.url) as app:
            covered = self.program_windows()
            program.tool("post", MAIN_TITLE, program.WM_COMMAND, program.TRAY_FULLSCREEN, 0)
            names = app.wait_picture()
            path = os.path.join(app.pictures, names[0])
            w, h, _ = program.read_pixels(path)
            self.assertEqual((w, h), (1920, 1080))
            self.expect_pattern_region(path, covered)
            out = os.path.join(app.folder, "clip.bmp")
            harness.wait_until(lambda: program.tool("clipboard", harness.to_windows_path(out)), 10,
                               what="a bitmap on the clipboard")
            self.assertEqual(program.read_pixels(out)[:2], (1920, 1080))
            program.wait_window(MAIN_TITLE)

    def start_busy_desktop(self, busy_ms=200):
        """A desktop whose program gets to its messages only now and then (busy for busy_ms four
        times a second), so it repaints what the hidden main window uncovered late: a capture
        must wait for it, not for a guess."""
        exe = os.path.join(harness.build_dir(), "e2e_tool.exe")
        busy = subprocess.Popen(["wine", exe, "pattern", str(busy_ms)], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                text=True)
        self.addCleanup(busy.wait, 10)
        self.addCleanup(busy.kill)
        self.addCleanup(busy.stdout.close)
        busy.stdout.readline()

    def test_a_region_capture_waits_until_the_hidden_windows_are_off_the_screen(self):
        # Longer than a region capture takes to start, but within the second it waits at most.
        self.start_busy_desktop(600)
        with program.Program(self.log.url) as app:
            time.sleep(1)
            left, top, right, bottom, _ = program.wait_window(MAIN_TITLE)
            self.start_capture_from_button()
            toolbar = self.select(left, top, right, bottom)
            self.press_toolbar(toolbar, "save")
            names = app.wait_picture()
            self.expect_pattern(os.path.join(app.pictures, names[0]), left, top, right - left, bottom - top)

    def test_a_full_screen_capture_waits_until_the_hidden_windows_are_off_the_screen(self):
        self.start_busy_desktop()
        with program.Program(self.log.url) as app:
            time.sleep(1)
            covered = self.program_windows()
            program.tool("post", MAIN_TITLE, program.WM_COMMAND, program.TRAY_FULLSCREEN, 0)
            names = app.wait_picture()
            self.expect_pattern_region(os.path.join(app.pictures, names[0]), covered)
            program.wait_window(MAIN_TITLE)

    @staticmethod
    def program_windows():
        """Where the main window and the ball are before a capture hides them."""
        return [program.wait_window(MAIN_TITLE)[:4], program.wait_window("class:CFloatWnd")[:4]]

    def expect_pattern_region(self, path, covered):
        """A full-screen picture holds the desktop, with none of the program's windows: every
        pixel where the main window and the ball were (covered) and a few elsewhere. Wine's own
        tray window at the top left is not ours and is left out."""
        w, h, data = program.read_pixels(path)
        for x, y in ((0, 1079), (100, 900), (1500, 200), (1919, 1079)):
            i = (y * w + x) * 3
            self.assertEqual(tuple(data[i:i + 3]), program.pattern_colour(x, y), (x, y))
        for left, top, right, bottom in covered:
            wrong = [(x, y) for y in range(max(top, 0), min(bottom, h)) for x in range(max(left, 0), min(right, w))
                     if tuple(data[(y * w + x) * 3:(y * w + x) * 3 + 3]) != program.pattern_colour(x, y)]
            self.assertEqual(wrong[:5], [], "%d pixels of the window at %s differ from the desktop"
                             % (len(wrong), (left, top, right, bottom)))

    def test_exit_from_the_tray_menu_ends_the_program(self):
        with program.Program(self.log.url) as app:
            program.tool("post", MAIN_TITLE, program.WM_COMMAND, program.TRAY_EXIT, 0)
            started = time.monotonic()
            self.assertEqual(app.process.wait(timeout=10), 0)
            self.assertLess(time.monotonic() - started, 4.0)


if __name__ == "__main__":
    unittest.main()
