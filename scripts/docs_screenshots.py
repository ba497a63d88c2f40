#!/usr/bin/env python3
"""The README's pictures, taken from the real program under Wine on Xvfb: the main window with
the ball, a capture with shapes and its toolbar, a pinned picture and the settings window.
Run through scripts/docs_screenshots.sh, which builds the program and prepares the display."""
import json
import os
import subprocess
import sys
import tempfile
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
import harness  # noqa: E402
import program  # noqa: E402
from program import MAIN_TITLE, TOOLBAR_TITLE  # noqa: E402

DOCS = os.path.join(ROOT, "docs")
SETTINGS_TITLE = "\u8bbe\u7f6e\u7a97\u53e3"


def desktop(folder):
    """A quiet desktop with something on it to point at: a page of text and a chart."""
    path = os.path.join(folder, "desktop.png")
    bars = " ".join("rectangle %d,%d %d,760" % (700 + i * 70, 760 - h, 740 + i * 70, )
                    for i, h in enumerate((120, 200, 160, 260, 220, 300)))
    lines = " ".join("rectangle 620,%d %d,%d" % (y, 620 + w, y + 10)
                     for y, w in zip(range(330, 430, 24), (520, 460, 500, 300, 480)))
    subprocess.run(["convert", "-size", "1920x1080", "gradient:#DCE6F5-#F7F9FC",
                    "-fill", "white", "-stroke", "#D0D7E2", "-draw", "roundrectangle 580,260 1340,800 10,10",
                    "-stroke", "none", "-fill", "#2B3A55", "-draw", "rectangle 620,290 900,306",
                    "-fill", "#B8C2D3", "-draw", lines,
                    "-fill", "#5B8DEF", "-draw", bars,
                    path], check=True)
    return path


def shoot(name, left, top, width, height, scale=100):
    out = os.path.join(DOCS, name)
    subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (width, height, left, top), "+repage",
                    "-resize", "%d%%" % scale, "-depth", "8", "-strip", "-define", "png:compression-level=9", out], check=True)
    print(out)


def main():
    os.makedirs(DOCS, exist_ok=True)
    with tempfile.TemporaryDirectory() as folder, program.LogServer() as log:
        wallpaper = desktop(folder)
        backdrop = subprocess.Popen(["display", "-window", "root", wallpaper])
        backdrop.wait(timeout=30)
        app = program.Program(log.url)
        # The picture folder a user would see, in place of the test's temporary one.
        with open(os.path.join(app.folder, "config.json"), "w") as f:
            json.dump({"pic_save_path": "C:\\users\\Public\\Pictures"}, f)
        with app:
            main_wnd = program.wait_window(MAIN_TITLE)
            ball = program.wait_window("class:CFloatWnd")
            # The ball is dragged from the screen's edge to beside the main window.
            program.drag(ball[0] + 18, ball[1] + 18, main_wnd[2] + 60, main_wnd[1] + 40)
            harness.xdotool("mousemove", 1000, 1000)
            time.sleep(1)
            shoot("main_window.png", main_wnd[0] - 40, main_wnd[1] - 40, main_wnd[2] - main_wnd[0] + 160,
                  main_wnd[3] - main_wnd[1] + 80, 80)

            program.click_at(main_wnd[0] + 90, main_wnd[1] + 77)  # the region button
            program.wait_window("Screen Capture")
            program.drag(600, 270, 1320, 780)
            toolbar = program.wait_window(TOOLBAR_TITLE)

            def press(button):
                program.click_at(toolbar[0] + program.TOOLBAR_BUTTON_X[button], toolbar[1] + program.TOOLBAR_BUTTON_Y)
                time.sleep(0.3)
            press("rectangle")
            program.drag(1050, 420, 1250, 600)
            press("arrow")
            program.drag(820, 640, 1030, 520)
            press("text")
            program.click_at(640, 620)
            program.wait_window("\u5b50\u7a97\u53e3B")
            harness.xdotool("windowfocus", harness.find_window("\u5b50\u7a97\u53e3B"))
            time.sleep(0.8)
            harness.xdotool("type", "--delay", "80", "Q3 \u589e\u957f")
            time.sleep(0.3)
            program.click_at(900, 300)  # a press outside commits the text
            time.sleep(0.5)
            harness.xdotool("mousemove", 1000, 1000)
            time.sleep(0.5)
            shoot("capture.png", 560, 240, 800, 600 + 40, 75)

            press("pin")
            pinned = program.wait_window("picWnd")
            time.sleep(1)
            shoot("pinned.png", pinned[0] - 12, 0, pinned[2] - pinned[0] + 24, pinned[3] + 12, 60)
            program.press_key("picWnd", "Escape")
            harness.wait_until(lambda: program.window_rect("picWnd") is None, 10, what="the pinned window closed")

            main_wnd = program.wait_window(MAIN_TITLE)
            program.click_at(main_wnd[0] + 397, main_wnd[1] + 76)  # the settings button
            dialog = program.wait_window(SETTINGS_TITLE)
            harness.xdotool("mousemove", 1000, 1000)
            time.sleep(1)
            shoot("settings.png", dialog[0], dialog[1], 500, 500, 80)
            program.click_at(dialog[0] + 382, dialog[1] + 467)  # cancel


if __name__ == "__main__":
    main()
