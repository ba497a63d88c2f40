"""The settings, about and feedback windows, each opened from the real main window by a real
click and used as a person would."""
import datetime
import json
import os
import subprocess
import time
import unittest
import urllib.parse

import harness
import program
from program import MAIN_TITLE

# Centres of the main window's buttons, from its layout.
SET_BTN = (397, 76)
FEEDBACK_BTN = (469, 76)
ABOUT_BTN = (542, 76)


def open_dialog(button, title):
    main = program.wait_window(MAIN_TITLE)
    program.click_at(main[0] + button[0], main[1] + button[1])
    return program.wait_window(title)


class DialogTest(unittest.TestCase):
    def setUp(self):
        self.log = program.LogServer().__enter__()
        self.addCleanup(self.log.__exit__)

    def test_settings_ok_stores_bmp_and_the_next_save_is_a_bmp(self):
        with program.Program(self.log.url) as app:
            dialog = open_dialog(SET_BTN, "\u8bbe\u7f6e\u7a97\u53e3")
            self.assertEqual((dialog[2] - dialog[0], dialog[3] - dialog[1]), (500, 500))
            program.click_at(dialog[0] + 368, dialog[1] + 116)  # "BMP"
            program.click_at(dialog[0] + 456, dialog[1] + 467)  # "ok_btn"
            harness.wait_until(lambda: program.window_rect("\u8bbe\u7f6e\u7a97\u53e3") is None, 10,
                               what="the settings window closed")
            with open(os.path.join(app.folder, "config.json"), encoding="utf-8") as f:
                self.assertEqual(json.load(f)["pic_save_format"], "BMP")
            # A region capture saved from the toolbar is now a BMP file.
            main = program.wait_window(MAIN_TITLE)
            program.click_at(main[0] + 90, main[1] + 77)
            program.wait_window("Screen Capture")
            program.drag(300, 300, 500, 420)
            toolbar = program.wait_window(program.TOOLBAR_TITLE)
            program.click_at(toolbar[0] + program.TOOLBAR_BUTTON_X["save"], toolbar[1] + program.TOOLBAR_BUTTON_Y)
            names = app.wait_picture()
            self.assertRegex(names[0], r"^0001_\d{8}_\d{6}\.bmp$")
            self.assertEqual(program.read_pixels(os.path.join(app.pictures, names[0]))[:2], (200, 120))

    def test_the_hotkey_chosen_in_the_settings_starts_a_capture_and_escape_keeps_it(self):
        title = "\u8bbe\u7f6e\u7a97\u53e3"
        with program.Program(self.log.url) as app:
            dialog = open_dialog(SET_BTN, title)
            field = (dialog[0] + 370, dialog[1] + 262)  # "hotkey_field"
            program.click_at(*field)
            time.sleep(0.3)
            # The current hotkey, pressed while the field listens, is the field's: no capture.
            harness.xdotool("key", "Print")
            time.sleep(1)
            self.assertIsNone(program.window_rect("Screen Capture"))
            program.click_at(*field)
            harness.xdotool("key", "ctrl+shift+a")
            program.click_at(*field)
            harness.xdotool("key", "Escape")  # leaves Ctrl+Shift+A and the dialog open
            time.sleep(0.3)
            program.click_at(dialog[0] + 456, dialog[1] + 467)  # "ok_btn"
            harness.wait_until(lambda: program.window_rect(title) is None, 10, what="the settings window closed")
            with open(os.path.join(app.folder, "config.json"), encoding="utf-8") as f:
                self.assertEqual(json.load(f)["capture_hotkey"], "Ctrl+Shift+A")
            harness.xdotool("key", "Print")
            time.sleep(1)
            self.assertIsNone(program.window_rect("Screen Capture"))
            harness.xdotool("key", "ctrl+shift+a")
            program.wait_window("Screen Capture")
            program.press_key("Screen Capture", "Escape")
            program.wait_window(MAIN_TITLE)

    def test_a_hotkey_taken_while_the_field_listened_is_reported_after_cancel(self):
        title = "\u8bbe\u7f6e\u7a97\u53e3"
        with program.Program(self.log.url):
            dialog = open_dialog(SET_BTN, title)
            program.click_at(dialog[0] + 370, dialog[1] + 262)  # "hotkey_field" listens: PrintScreen is let go
            exe = os.path.join(harness.build_dir(), "e2e_tool.exe")
            holder = subprocess.Popen(["wine", exe, "hold-hotkey", "0", "0x2C"], stdout=subprocess.PIPE,
                                      stderr=subprocess.DEVNULL, text=True)
            self.addCleanup(holder.wait, 10)
            self.addCleanup(holder.kill)
            self.addCleanup(holder.stdout.close)
            self.assertEqual(holder.stdout.readline().strip(), "held")
            program.click_at(dialog[0] + 382, dialog[1] + 467)  # "cancel_btn"
            harness.wait_until(lambda: program.window_rect(title) is None, 10, what="the settings window closed")
            program.wait_window("class:ToastWnd")
            self.assertEqual(program.tool("title", "class:ToastWnd"), "\u5feb\u6377\u952e PrintScreen \u5df2\u88ab\u5360\u7528")

    def test_an_update_may_end_the_program_only_while_no_dialog_is_open(self):
        with program.Program(self.log.url) as app:
            about = open_dialog(ABOUT_BTN, "\u5173\u4e8e")
            self.assertEqual(program.tool("ask-close", MAIN_TITLE), "0")
            time.sleep(0.5)
            self.assertIsNone(app.process.poll(), "the program ended with a dialog open")
            program.click_at(about[0] + 376, about[1] + 16)  # its "closebtn"
            harness.wait_until(lambda: program.window_rect("\u5173\u4e8e") is None, 10, what="the about window closed")
            # Hidden in the tray, it says so as it ends.
            program.tool("post", MAIN_TITLE, 0x0400 + 100, 0, 0x0203)
            program.wait_window(MAIN_TITLE, visible=False)
            self.assertEqual(program.tool("ask-close", MAIN_TITLE), "2")
            self.assertEqual(app.process.wait(timeout=15), 0)

    def test_the_tray_and_the_ball_wait_while_a_dialog_is_open(self):
        title = "\u8bbe\u7f6e\u7a97\u53e3"
        with program.Program(self.log.url) as app:
            dialog = open_dialog(SET_BTN, title)
            for _ in range(2):
                program.tool("post", MAIN_TITLE, program.WM_COMMAND, program.TRAY_SETTINGS, 0)
            program.tool("post", MAIN_TITLE, program.WM_COMMAND, program.TRAY_RECT_CAPTURE, 0)
            ball = program.wait_window("class:CFloatWnd")
            program.click_at(ball[0] + 18, ball[1] + 18, double=True)
            time.sleep(1.5)
            self.assertEqual(program.tool("count", title), "1")
            self.assertIsNone(program.window_rect("Screen Capture"))
            # A second start brings the dialog forward, not the disabled main window.
            app.start().wait(timeout=20)
            harness.wait_until(lambda: program.tool("foreground") == title, 10, what="the dialog in front")
            # Once it is closed, the ball starts a capture again.
            program.click_at(dialog[0] + 382, dialog[1] + 467)  # "cancel_btn"
            harness.wait_until(lambda: program.window_rect(title) is None, 10, what="the settings window closed")
            program.click_at(ball[0] + 18, ball[1] + 18, double=True)
            program.wait_window("Screen Capture")
            program.press_key("Screen Capture", "Escape")
            program.wait_window(MAIN_TITLE)

    def test_about_shows_the_version_and_closes(self):
        with program.Program(self.log.url):
            dialog = open_dialog(ABOUT_BTN, "\u5173\u4e8e")
            self.assertEqual((dialog[2] - dialog[0], dialog[3] - dialog[1]), (400, 250))
            harness.wait_until(lambda: "main_wnd_btn_about" in self.log.events(), 10, what="the about event")
            program.click_at(dialog[0] + 376, dialog[1] + 16)  # "closebtn"
            harness.wait_until(lambda: program.window_rect("\u5173\u4e8e") is None, 10,
                               what="the about window closed")
            program.wait_window(MAIN_TITLE)

    def test_feedback_arrives_as_typed_and_the_user_is_thanked(self):
        text = "a&b #1 = ok"
        with program.Program(self.log.url):
            dialog = open_dialog(FEEDBACK_BTN, "\u7528\u6237\u53cd\u9988")
            program.click_at(dialog[0] + 200, dialog[1] + 150)
            harness.xdotool("windowfocus", harness.find_window("\u7528\u6237\u53cd\u9988"))
            harness.xdotool("type", "--delay", 30, text)
            time.sleep(0.5)
            program.click_at(dialog[0] + 444, dialog[1] + 284)  # "feedback_btn"
            harness.wait_until(lambda: program.window_rect("\u7528\u6237\u53cd\u9988") is None, 10,
                               what="the feedback window closed")
            toast = program.wait_window("class:ToastWnd")
            # The thanks are on top, where the user sees them: the toast's own dark pixels and
            # white text on the screen, not the main window it stands over.
            w, h, screen = program.screen_pixels()
            left, top, right, bottom = toast[:4]
            pixels = [tuple(screen[(y * w + x) * 3:][:3]) for y in range(top + 5, bottom - 5)
                      for x in range(left + 5, right - 5)]
            dark = sum(max(p) < 90 for p in pixels)
            white = sum(min(p) > 230 for p in pixels)
            self.assertGreater(dark, len(pixels) // 2, "the toast is covered")
            self.assertGreater(white, 20, "no text on the toast")

            def feedback():
                for path in list(self.log.records):
                    query = urllib.parse.parse_qs(urllib.parse.urlsplit(path).query)
                    if query.get("event_name") == ["feedback_msg"]:
                        return query.get("data", [""])[0]
                return None
            self.assertEqual(harness.wait_until(feedback, 10, what="the feedback event"), text)


if __name__ == "__main__":
    unittest.main()
