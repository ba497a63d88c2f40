"""The settings, about and feedback windows, each opened from the real main window by a real
click and used as a person would."""
import datetime
import json
import os
import shutil
import subprocess
import tempfile
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
SETTINGS_TITLE = "\u8bbe\u7f6e\u7a97\u53e3"


def open_dialog(button, title):
    main = program.wait_window(MAIN_TITLE)
    program.click_at(main[0] + button[0], main[1] + button[1])
    return program.wait_window(title)


def choose_bmp_in_the_settings():
    """Opens the settings from the main window, picks BMP and presses OK."""
    dialog = open_dialog(SET_BTN, SETTINGS_TITLE)
    program.click_at(dialog[0] + 368, dialog[1] + 116)  # "BMP"
    program.click_at(dialog[0] + 456, dialog[1] + 467)  # "ok_btn"
    harness.wait_until(lambda: program.window_rect(SETTINGS_TITLE) is None, 10, what="the settings window closed")
    return dialog


def save_a_region_capture(app):
    """A region capture from the main window's button, (300, 300)-(500, 420) saved from the
    toolbar; the names of the pictures once it is there."""
    main = program.wait_window(MAIN_TITLE)
    program.click_at(main[0] + 90, main[1] + 77)
    program.wait_window("Screen Capture")
    program.drag(300, 300, 500, 420)
    toolbar = program.wait_window(program.TOOLBAR_TITLE)
    program.click_at(toolbar[0] + program.TOOLBAR_BUTTON_X["save"], toolbar[1] + program.TOOLBAR_BUTTON_Y)
    return app.wait_picture()


def mount_read_only(folder):
    """Mounts folder read-only over itself; the reason it could not, or None."""
    done = subprocess.run(["mount", "--bind", folder, folder], capture_output=True, text=True)
    if done.returncode != 0:
        return done.stderr.strip() or "mount --bind failed"
    done = subprocess.run(["mount", "-o", "remount,bind,ro", folder], capture_output=True, text=True)
    if done.returncode != 0:
        unmount(folder)
        return done.stderr.strip() or "remount read-only failed"
    return None


def unmount(folder):
    """Unmounts folder; lazily when Wine still holds something in it."""
    if subprocess.run(["umount", folder], capture_output=True).returncode != 0:
        subprocess.run(["umount", "-l", folder], capture_output=True)


class DialogTest(unittest.TestCase):
    def setUp(self):
        self.log = program.LogServer().__enter__()
        self.addCleanup(self.log.__exit__)

    def test_settings_ok_stores_bmp_and_the_next_save_is_a_bmp(self):
        with program.Program(self.log.url) as app:
            dialog = choose_bmp_in_the_settings()
            self.assertEqual((dialog[2] - dialog[0], dialog[3] - dialog[1]), (500, 500))
            with open(os.path.join(app.folder, "config.json"), encoding="utf-8") as f:
                self.assertEqual(json.load(f)["pic_save_format"], "BMP")
            # A region capture saved from the toolbar is now a BMP file.
            names = save_a_region_capture(app)
            self.assertRegex(names[0], r"^0001_\d{8}_\d{6}\.bmp$")
            self.assertEqual(program.read_pixels(os.path.join(app.pictures, names[0]))[:2], (200, 120))

    def test_a_copy_in_a_read_only_folder_keeps_its_settings_in_app_data(self):
        settings = os.path.join(program.windows_folder("APPDATA"), "screenshot", "config.json")
        kept = None
        if os.path.exists(settings):
            with open(settings, "rb") as f:
                kept = f.read()
        self.addCleanup(self.put_back, settings, kept)
        pictures = tempfile.mkdtemp(prefix="screenshot_ro_pics_")
        self.addCleanup(shutil.rmtree, pictures, True)
        os.makedirs(os.path.dirname(settings), exist_ok=True)
        with open(settings, "w", encoding="utf-8") as f:
            json.dump({"pic_save_path": harness.to_windows_path(pictures), "pic_save_format": "PNG"}, f)
        app = program.Program(self.log.url, pictures=pictures, first_start=True)
        self.addCleanup(shutil.rmtree, app.folder, True)
        refused = mount_read_only(app.folder)
        if refused:
            self.skipTest("a read-only folder needs mount (CAP_SYS_ADMIN): " + refused)
        self.addCleanup(unmount, app.folder)
        with app:
            harness.wait_until(lambda: "launch" in self.log.events(), 15, what="the launch event")
            choose_bmp_in_the_settings()
            with open(settings, encoding="utf-8") as f:
                stored = json.load(f)
            self.assertEqual(stored["pic_save_format"], "BMP")
            self.assertEqual(stored["pic_save_path"], harness.to_windows_path(pictures))
            self.assertEqual(os.listdir(app.folder), ["Screenshot.exe"])
            # The update check, due at start, never asked: its download had nowhere to go.
            self.assertEqual([p for p in self.log.records if p.startswith("/update/")], [])
        # Started again, the copy reads the settings back: its next picture is a BMP.
        with app:
            names = save_a_region_capture(app)
            self.assertRegex(names[0], r"^0001_\d{8}_\d{6}\.bmp$")

    @staticmethod
    def put_back(path, content):
        if content is None:
            if os.path.exists(path):
                os.remove(path)
        else:
            with open(path, "wb") as f:
                f.write(content)

    def test_the_hotkey_chosen_in_the_settings_starts_a_capture_and_escape_keeps_it(self):
        title = "\u8bbe\u7f6e\u7a97\u53e3"
        with program.Program(self.log.url) as app:
            dialog = open_dialog(SET_BTN, title)
            field = (dialog[0] + 370, dialog[1] + 262)  # "hotkey_field"
            program.click_at(*field)
            harness.xdotool("key", "ctrl+alt+q")
            program.click_at(*field)
            time.sleep(0.3)
            # The current hotkey, pressed while the field listens, is the field's: no capture,
            # and the field holds PrintScreen again, which OK stores.
            harness.xdotool("key", "Print")
            time.sleep(1)
            self.assertIsNone(program.window_rect("Screen Capture"))
            program.click_at(dialog[0] + 456, dialog[1] + 467)  # "ok_btn"
            harness.wait_until(lambda: program.window_rect(title) is None, 10, what="the settings window closed")
            with open(os.path.join(app.folder, "config.json"), encoding="utf-8") as f:
                self.assertEqual(json.load(f)["capture_hotkey"], "PrintScreen")
            dialog = open_dialog(SET_BTN, title)
            field = (dialog[0] + 370, dialog[1] + 262)
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
