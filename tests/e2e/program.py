"""The real Screenshot.exe for the end-to-end tests: a copy in a folder of its own (so its
config.json and update files stay there), a picture folder, a loopback server that records the
usage events, and what the tests read back: windows, files, pixels and the clipboard."""
import http.server
import json
import os
import shutil
import subprocess
import tempfile
import threading
import time

import harness

MAIN_TITLE = "Screenshot   "
TOOLBAR_TITLE = "rectangular_selector_tool_bar"
# Centres of the toolbar's buttons in its window, from its layout: a 20-pixel end piece, a
# 16-pixel inset, then 20-pixel buttons and spacers with two separators.
TOOLBAR_BUTTON_X = {"rectangle": 46, "ellipse": 86, "arrow": 126, "line": 166, "pencil": 206, "mosaic": 246, "text": 286, "pin": 346, "clipboard": 386, "undo": 446, "save": 486, "cancel": 526, "ok": 566}
TOOLBAR_BUTTON_Y = 18
WM_COMMAND = 0x0111
TRAY_FULLSCREEN = 1132
TRAY_RECT_CAPTURE = 1133
TRAY_EXIT = 1125
TRAY_SETTINGS = 1130


def pattern_colour(x, y):
    """The colour e2e_tool's pattern window paints at (x, y)."""
    return (x & 255, y & 255, ((x >> 8) << 4) | (y >> 8))


class LogServer:
    """Records the path of every request on 127.0.0.1; answers 200 to the log service's
    requests and 404 to everything else (so an update check ends at once)."""

    def __init__(self):
        records = self.records = []

        class Handler(http.server.BaseHTTPRequestHandler):
            def log_message(self, *args):
                pass

            def do_GET(self):
                records.append(self.path)
                status = 200 if self.path.startswith("/logstores/") else 404
                self.send_response(status)
                self.send_header("Content-Length", "0")
                self.end_headers()

        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)

    def __enter__(self):
        self.thread.start()
        return self

    def __exit__(self, *exc):
        self.server.shutdown()
        self.server.server_close()
        return False

    @property
    def url(self):
        return "http://127.0.0.1:%d" % self.server.server_address[1]

    def events(self):
        """The names of the usage events received so far."""
        names = []
        for path in list(self.records):
            if path.startswith("/logstores/"):
                for field in path.split("&"):
                    if field.startswith("event_name="):
                        names.append(field[len("event_name="):])
        return names


def tool(*args, timeout=20):
    """Runs e2e_tool.exe; returns its output line, or None when it failed."""
    exe = os.path.join(harness.build_dir(), "e2e_tool.exe")
    done = subprocess.run(["wine", exe, *map(str, args)], capture_output=True, encoding="utf-8", errors="replace",
                          timeout=timeout)
    return done.stdout.strip() if done.returncode == 0 else None


def wine_output(*args, timeout=60):
    done = subprocess.run(["wine", *args], capture_output=True, timeout=timeout)
    return done.stdout.decode("utf-8", "replace").strip()


def windows_folder(variable):
    """The Linux path of a folder named by a Windows environment variable (TEMP, APPDATA...)."""
    return wine_output("winepath", "-u", wine_output("cmd", "/c", "echo %" + variable + "%"))


def window_rect(name):
    """(left, top, right, bottom, visible) of the window titled name (or "class:NAME")."""
    out = tool("rect", name)
    if not out:
        return None
    values = [int(v) for v in out.split()]
    return tuple(values[:4]) + (values[4] == 1,)


def wait_window(name, visible=True, timeout=20):
    def check():
        rect = window_rect(name)
        return rect if rect and rect[4] == visible else None
    return harness.wait_until(check, timeout, interval=0.2,
                              what="window %r %s" % (name, "shown" if visible else "hidden"))


def read_pixels(path):
    """(width, height, bytes RGB) of any picture file, through ImageMagick."""
    convert = "/usr/bin/convert" if os.path.exists("/usr/bin/convert") else "convert"
    out = subprocess.run([convert, path, "-depth", "8", "ppm:-"], capture_output=True, timeout=60,
                         check=True).stdout
    magic, size, maximum, data = out.split(b"\n", 3)
    width, height = map(int, size.split())
    return width, height, data


def screen_pixels():
    """(width, height, bytes RGB) of what the X screen shows now."""
    out = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"], capture_output=True, timeout=60,
                         check=True).stdout
    magic, size, maximum, data = out.split(b"\n", 3)
    width, height = map(int, size.split())
    return width, height, data


def drag(x1, y1, x2, y2, steps=6):
    """A real left-button drag, slow enough for the overlay's 33 ms pointer sampling."""
    harness.xdotool("mousemove", x1, y1)
    time.sleep(0.3)
    harness.xdotool("mousedown", 1)
    time.sleep(0.2)
    for i in range(1, steps + 1):
        harness.xdotool("mousemove", x1 + (x2 - x1) * i // steps, y1 + (y2 - y1) * i // steps)
        time.sleep(0.1)
    time.sleep(0.2)
    harness.xdotool("mouseup", 1)
    time.sleep(0.3)


def press_key(title, key):
    """A real key press into the window titled title. Without a window manager nothing moves the
    keyboard focus to a window the program shows, so it is given the focus first, as a click of
    the user's would."""
    window = harness.find_window(title)
    harness.xdotool("windowfocus", window)
    time.sleep(0.2)
    harness.xdotool("key", key)


def type_new_text(x, y, text):
    """With the text tool chosen: a click at (x, y) opens the editor there, and text is typed into
    it as a person types (Chinese included)."""
    click_at(x, y)
    wait_window("子窗口B")
    harness.xdotool("windowfocus", harness.find_window("子窗口B"))
    time.sleep(0.3)
    harness.xdotool("type", "--delay", "50", text)


def click_at(x, y, double=False):
    harness.xdotool("mousemove", x, y)
    time.sleep(0.2)
    if double:
        harness.xdotool("click", "--repeat", 2, "--delay", 80, 1)
    else:
        harness.xdotool("click", 1)


class Program:
    """Screenshot.exe copied into a folder of its own and started there; killed at the end if
    it is still running."""

    def __init__(self, log_url, pictures=None, hide_when_capturing=True, args=(), first_start=False,
                 hold_writes=False, missing_functions=()):
        """first_start: no config.json, as after unpacking; pictures then names where the
        program is expected to put them. hold_writes: no picture is written until
        release_writes() is called. missing_functions: system functions the program takes as
        missing, as on older Windows."""
        self.folder = tempfile.mkdtemp(prefix="screenshot_e2e_")
        self.pictures = pictures or os.path.join(self.folder, "pics")
        shutil.copy(os.path.join(harness.build_dir(), "Screenshot.exe"), self.folder)
        config = {"pic_save_path": harness.to_windows_path(self.pictures),
                  "hide_main_wnd_when_capture": hide_when_capturing,
                  "is_need_restore_main_wnd_after_capture": False, "pic_save_format": "PNG"}
        if not first_start:
            with open(os.path.join(self.folder, "config.json"), "w") as f:
                json.dump(config, f)
        self.env = dict(os.environ, SCREENSHOT_LOG_ENDPOINT=log_url,
                        SCREENSHOT_UPDATE_URL=log_url + "/update/update.json")
        self.write_gate = os.path.join(self.folder, "hold_writes")
        if hold_writes:
            open(self.write_gate, "w").close()
            self.env["SCREENSHOT_TEST_WRITE_GATE"] = harness.to_windows_path(self.write_gate)
        if missing_functions:
            self.env["SCREENSHOT_TEST_MISSING_FUNCTIONS"] = ",".join(missing_functions)
        self.args = list(args)
        self.process = None

    def start(self):
        process = subprocess.Popen(["wine", os.path.join(self.folder, "Screenshot.exe"), *self.args],
                                   env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return process

    def __enter__(self):
        self.process = self.start()
        wait_window(MAIN_TITLE)
        return self

    def __exit__(self, *exc):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait(timeout=10)
        # Wine may hold the folder a moment after the process ends.
        shutil.rmtree(self.folder, ignore_errors=True)
        return False

    def release_writes(self):
        """The pictures held back by hold_writes are written from now on."""
        os.remove(self.write_gate)

    def pictures_saved(self):
        if not os.path.isdir(self.pictures):
            return []
        # A picture is written under a temporary name and then renamed: only whole files count.
        return sorted(n for n in os.listdir(self.pictures) if not n.endswith(".tmp"))

    def temporary_files(self):
        if not os.path.isdir(self.pictures):
            return []
        return [n for n in os.listdir(self.pictures) if n.endswith(".tmp")]

    def wait_picture(self, count=1, timeout=15):
        return harness.wait_until(lambda: len(self.pictures_saved()) >= count and self.pictures_saved(),
                                  timeout, what="%d picture(s) in %s" % (count, self.pictures))
