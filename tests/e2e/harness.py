"""Drives Windows programs of ours under Wine on the X display, as a user would: start them,
find their windows by title, move the real pointer and click, and wait for what they leave
behind. Every wait is bounded.

The environment comes from the test command: DISPLAY, WINEPREFIX and SCREENSHOT_BUILD_DIR.
"""
import os
import subprocess
import time


class HarnessError(AssertionError):
    pass


def build_dir():
    path = os.environ.get("SCREENSHOT_BUILD_DIR")
    if not path:
        raise HarnessError("SCREENSHOT_BUILD_DIR is not set; run through the test command")
    return path


def to_windows_path(unix_path):
    """Wine's drive Z: is the Linux root."""
    return "Z:" + os.path.abspath(unix_path).replace("/", "\\")


def wait_until(condition, timeout, interval=0.1, what="condition"):
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() >= deadline:
            raise HarnessError("timed out after %.1f s waiting for %s" % (timeout, what))
        time.sleep(interval)


def xdotool(*args, timeout=10):
    done = subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True,
                          timeout=timeout)
    return done.returncode, done.stdout.strip()


class WineProgram:
    """One Windows program started under Wine; stopped on exit of the with-block."""

    def __init__(self, exe_name, *args):
        self.exe = os.path.join(build_dir(), exe_name)
        if not os.path.isfile(self.exe):
            raise HarnessError("not built: " + self.exe)
        self.args = [str(a) for a in args]
        self.process = None

    def __enter__(self):
        self.process = subprocess.Popen(["wine", self.exe, *self.args],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return self

    def __exit__(self, *exc):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait(timeout=10)
        return False

    def wait_exit(self, timeout=15):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise HarnessError("%s still running after %d s" % (os.path.basename(self.exe),
                                                                 timeout))


def find_window(title, timeout=20):
    """The X window id of the top-level window whose title is exactly title."""
    def search():
        code, out = xdotool("search", "--name", "^%s$" % title)
        return out.split()[0] if code == 0 and out else None
    return wait_until(search, timeout, what="window '%s'" % title)


def window_geometry(window):
    code, out = xdotool("getwindowgeometry", "--shell", window)
    if code != 0:
        raise HarnessError("no geometry for window " + window)
    values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
    return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])


def click(window, x, y):
    """A real left click at (x, y) inside the window."""
    code, _ = xdotool("mousemove", "--window", window, x, y, "click", "1")
    if code != 0:
        raise HarnessError("click failed")


def wait_for_file(path, timeout=15):
    return wait_until(lambda: os.path.isfile(path) and os.path.getsize(path) > 0, timeout,
                      what="file " + path)
