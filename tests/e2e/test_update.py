"""An installed copy updates itself, end to end under Wine: two releases made by
scripts/release.sh with a throwaway update key and code-signing certificate, served from a
loopback server; version N installed silently finds N+1 at its start, and the setup it downloads
replaces it and starts the new version."""
import glob
import hashlib
import http.server
import json
import os
import shutil
import subprocess
import tempfile
import threading
import time
import unittest

import harness
import program
import test_installer
from test_installer import exe_version
from program import MAIN_TITLE, TOOLBAR_TITLE

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
OLD, NEW = "1.2.0.7", "1.2.0.8"
WM_COMMAND = 0x0111
WM_TRAY_CALLBACK = 0x0400 + 100
WM_LBUTTONDBLCLK = 0x0203


class UpdateServer:
    """Serves the files put in .files on 127.0.0.1 (200 to the log service, 404 to the rest) and
    records (time, path) of each request; .hold, while clear, keeps the manifest's answer back."""

    def __init__(self):
        self.files = {}
        self.records = []
        self.hold = threading.Event()
        self.hold.set()
        server = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def log_message(self, *args):
                pass

            def do_GET(self):
                server.records.append((time.monotonic(), self.path))
                if self.path.endswith("/update.json"):
                    server.hold.wait(120)
                body = server.files.get(self.path)
                status = 200 if body is not None or self.path.startswith("/logstores/") else 404
                body = body or b""
                self.send_response(status)
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)
                server.records.append((time.monotonic(), "sent " + self.path))

        self.http = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.http.daemon_threads = True
        threading.Thread(target=self.http.serve_forever, daemon=True).start()
        self.url = "http://127.0.0.1:%d" % self.http.server_address[1]

    def close(self):
        self.hold.set()
        self.http.shutdown()
        self.http.server_close()

    def events(self):
        return [p.split("event_name=")[1].split("&")[0] for _, p in self.records if "event_name=" in p]


def run(*command, **kwargs):
    return subprocess.run(command, check=True, capture_output=True, text=True, timeout=600, **kwargs)


@unittest.skipIf(shutil.which("makensis") is None or shutil.which("osslsigncode") is None,
                 "makensis or osslsigncode is missing: scripts/install_deps.sh installs them")
class UpdateTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.server = UpdateServer()
        cls.work = tempfile.mkdtemp(prefix="release_")
        key = cls.key = os.path.join(cls.work, "update_key.pem")
        cls.cert = os.path.join(cls.work, "cert.pem")
        cert_key = os.path.join(cls.work, "cert_key.pem")
        run(os.path.join(ROOT, "scripts", "release.sh"), "--new-key", key)
        run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", cert_key, "-out", cls.cert,
            "-days", "2", "-subj", "/CN=Screenshot Test Publisher", "-addext", "extendedKeyUsage=codeSigning")
        env = cls.build_env = dict(os.environ,
                                   SCREENSHOT_BUILD_ROOT=os.path.dirname(os.path.abspath(harness.build_dir())))
        cls.out = {}
        for version in (OLD, NEW):
            out = os.path.join(cls.work, version)
            started = time.monotonic()
            listing = run(os.path.join(ROOT, "scripts", "release.sh"), "--key", key, "--version", version,
                          "--base-url", cls.server.url + "/update", "--cert", cls.cert, "--cert-key", cert_key,
                          "--out", out, env=env).stdout
            print("\nrelease.sh %s: %.0f s\n%s" % (version, time.monotonic() - started, listing))
            cls.out[version] = out
        cls.folder = os.path.join(program.windows_folder("LOCALAPPDATA"), "Programs", "Screenshot")
        cls.exe = os.path.join(cls.folder, "Screenshot.exe")
        cls.temp = program.windows_folder("TEMP")

    @classmethod
    def tearDownClass(cls):
        cls.server.close()
        shutil.rmtree(cls.work, ignore_errors=True)

    def setUp(self):
        self.server.records.clear()
        self.server.files.clear()
        self.server.hold.set()
        self.env = dict(os.environ, SCREENSHOT_LOG_ENDPOINT=self.server.url,
                        SCREENSHOT_UPDATE_URL=self.server.url + "/update/update.json")
        self.pictures = tempfile.mkdtemp(prefix="update_pics_")
        self.addCleanup(shutil.rmtree, self.pictures, True)
        self.addCleanup(self.remove_everything)

    def remove_everything(self):
        if program.window_rect(MAIN_TITLE):
            program.tool("post", MAIN_TITLE, 0x0010, 0, 0)
            harness.wait_until(lambda: program.window_rect(MAIN_TITLE) is None, 15, what="the program ended")
        test_installer.wine("reg", "delete", test_installer.UNINSTALL_KEY, "/f")
        shutil.rmtree(self.folder, ignore_errors=True)
        for copy in glob.glob(os.path.join(self.temp, "ScreenshotUpdate-*")):
            shutil.rmtree(copy, ignore_errors=True)

    def version(self):
        with open(self.exe, "rb") as f:
            return exe_version.file_version(f.read())

    def install_old_and_configure(self):
        """Installs N, ends it and writes a config.json of the user's; returns its bytes."""
        setup = os.path.join(self.out[OLD], "Screenshot-Setup-%s.exe" % OLD)
        done = subprocess.run(["wine", setup, "/S"], env=self.env, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, timeout=120)
        self.assertEqual(done.returncode, 0)
        program.wait_window(MAIN_TITLE)
        self.assertEqual(self.version(), OLD)
        program.tool("post", MAIN_TITLE, 0x0010, 0, 0)
        harness.wait_until(lambda: program.window_rect(MAIN_TITLE) is None, 15, what="N ended")
        mine = ('{"pic_save_path": "%s", "pic_save_format": "PNG", "capture_hotkey": "Alt+F2",\n'
                ' "hide_main_wnd_when_capture": true}' % harness.to_windows_path(self.pictures).replace("\\", "\\\\"))
        with open(os.path.join(self.folder, "config.json"), "w") as f:
            f.write(mine)
        return mine.encode()

    def offer_new(self, out=None):
        for name in ("update.json", "Screenshot-Setup-%s.exe" % NEW):
            with open(os.path.join(out or self.out[NEW], name), "rb") as f:
                self.server.files["/update/" + name] = f.read()

    def start_old(self):
        self.server.records.clear()
        self.started = time.monotonic()
        self.process = subprocess.Popen(["wine", self.exe], env=self.env, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        self.addCleanup(lambda: self.process.poll() is None and self.process.kill())
        self.moments = {}
        stop = threading.Event()
        self.addCleanup(stop.set)

        def watch():
            while not stop.is_set():
                now = time.monotonic() - self.started
                if glob.glob(os.path.join(self.temp, "ScreenshotUpdate-*", "setup.exe")):
                    self.moments.setdefault("detach (the setup's private copy is there)", now)
                if self.process.poll() is not None:
                    self.moments.setdefault("close (N's process ended)", now)
                try:
                    if self.version() == NEW:
                        self.moments.setdefault("install (the installed Screenshot.exe says N+1)", now)
                except OSError:
                    pass
                time.sleep(0.05)

        threading.Thread(target=watch, daemon=True).start()

    def wait_updated(self):
        harness.wait_until(lambda: self.version() == NEW and program.window_rect(MAIN_TITLE), 120,
                           what="version %s installed and started" % NEW)
        self.moments["restart (N+1's main window exists)"] = time.monotonic() - self.started
        harness.wait_until(lambda: "first_run_after_update" in self.server.events(), 30,
                           what="the new version's first start event")

    def timeline(self):
        moments = dict(self.moments)
        for what, suffix in (("check (manifest asked)", "/update.json"), ("download (setup asked)", ".exe")):
            asked = next((t for t, path in self.server.records if path.startswith("/") and path.endswith(suffix)), None)
            if asked:
                moments[what] = asked - self.started
        sent = next((t for t, path in self.server.records if path.startswith("sent") and path.endswith(".exe")), None)
        if sent:
            moments["verify (setup sent; checked before the detach)"] = sent - self.started
        print("\n" + "\n".join("  %6.2f s  %s" % (t, what) for what, t in sorted(moments.items(), key=lambda m: m[1])))

    def test_release_outputs_are_signed_and_listed(self):
        for version in (OLD, NEW):
            out = self.out[version]
            setup = os.path.join(out, "Screenshot-Setup-%s.exe" % version)
            verified = subprocess.run(["osslsigncode", "verify", "-in", setup, "-CAfile", self.cert],
                                      capture_output=True, text=True)
            self.assertEqual(verified.returncode, 0, verified.stdout + verified.stderr)
            with open(os.path.join(out, "SHA256SUMS")) as f:
                names = [line.split()[1] for line in f]
            self.assertEqual(names, ["Screenshot-Setup-%s.exe" % version,
                                     "Screenshot-%s-portable.zip" % version, "update.json"])
            self.assertEqual(subprocess.run(["sha256sum", "-c", "SHA256SUMS"], cwd=out,
                                            capture_output=True).returncode, 0)
        # Without a certificate: said, and nothing signed.
        unsigned = os.path.join(self.work, "unsigned")
        listing = run(os.path.join(ROOT, "scripts", "release.sh"), "--key", self.key, "--version", NEW,
                      "--base-url", self.server.url + "/update", "--out", unsigned, env=self.build_env).stdout
        self.assertIn("nothing is Authenticode-signed", listing)
        self.assertNotEqual(subprocess.run(["osslsigncode", "verify", "-in", os.path.join(
            unsigned, "Screenshot-Setup-%s.exe" % NEW)], capture_output=True).returncode, 0)
        self.install_old_and_configure()
        for name in ("Screenshot.exe", "Uninstall.exe"):
            verified = subprocess.run(["osslsigncode", "verify", "-in", os.path.join(self.folder, name),
                                       "-CAfile", self.cert], capture_output=True, text=True)
            self.assertEqual(verified.returncode, 0, name + ": " + verified.stdout + verified.stderr)

    def test_an_installed_copy_updates_itself_and_keeps_its_settings(self):
        mine = self.install_old_and_configure()
        # N+1's update.json signed again with a new expiry, as a maintainer renews it.
        resigned = os.path.join(self.work, "resigned")
        shutil.rmtree(resigned, ignore_errors=True)
        shutil.copytree(self.out[NEW], resigned)
        run(os.path.join(ROOT, "scripts", "release.sh"), "--resign", resigned, "--key", self.key,
            "--valid-days", "1")
        with open(os.path.join(self.out[NEW], "update.json")) as f:
            fresh = json.load(f)["update_info"]
        with open(os.path.join(resigned, "update.json")) as f:
            renewed = json.load(f)["update_info"]
        self.assertLess(renewed["expires"], fresh["expires"])
        self.assertEqual([renewed[k] for k in ("version", "url", "sha256")], [fresh[k] for k in ("version", "url", "sha256")])
        self.offer_new(resigned)
        self.start_old()
        self.wait_updated()
        self.timeline()
        main = program.wait_window(MAIN_TITLE)
        self.assertTrue(main[4], "N was shown, so N+1 is")
        with open(os.path.join(self.folder, "config.json"), "rb") as f:
            self.assertEqual(f.read(), mine)
        # The program removed what it downloaded; N+1 found nothing newer.
        self.assertFalse(os.path.exists(os.path.join(self.folder, "update.exe")))
        self.assertEqual([p for _, p in self.server.records].count("/update/Screenshot-Setup-%s.exe" % NEW), 1)

    def test_an_update_waits_for_an_open_capture_and_keeps_the_tray(self):
        mine = self.install_old_and_configure()
        self.offer_new()
        self.server.hold.clear()
        self.start_old()
        program.wait_window(MAIN_TITLE)
        # Into the tray, then a capture with a selection, before the manifest comes.
        program.tool("post", MAIN_TITLE, WM_TRAY_CALLBACK, 0, WM_LBUTTONDBLCLK)
        program.wait_window(MAIN_TITLE, visible=False)
        program.tool("post", MAIN_TITLE, WM_COMMAND, program.TRAY_RECT_CAPTURE, 0)
        program.wait_window("Screen Capture")
        program.drag(300, 200, 620, 440)
        toolbar = program.wait_window(TOOLBAR_TITLE)
        self.server.hold.set()
        harness.wait_until(lambda: any(k.startswith("detach") for k in self.moments), 60,
                           what="the setup's private copy")
        time.sleep(8)  # several of its requests to end the program
        self.assertIsNone(self.process.poll(), "the program was ended during a capture")
        self.assertTrue(program.window_rect("Screen Capture"))
        self.assertEqual(self.version(), OLD)
        program.click_at(toolbar[0] + program.TOOLBAR_BUTTON_X["save"], toolbar[1] + program.TOOLBAR_BUTTON_Y)
        self.wait_updated()
        self.timeline()
        names = [n for n in os.listdir(self.pictures) if n.endswith(".png")]
        self.assertEqual(len(names), 1)
        width, height, _ = program.read_pixels(os.path.join(self.pictures, names[0]))
        self.assertEqual((width, height), (320, 240))
        self.assertFalse(program.wait_window(MAIN_TITLE, visible=False)[4], "N was in the tray, so N+1 is")
        with open(os.path.join(self.folder, "config.json"), "rb") as f:
            self.assertEqual(f.read(), mine)

    def test_an_older_setup_leaves_a_newer_version_unless_told_to_downgrade(self):
        def setup(version, *options):
            return subprocess.run(["wine", os.path.join(self.out[version], "Screenshot-Setup-%s.exe" % version),
                                   "/S", *options], env=self.env, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL, timeout=120).returncode
        self.assertEqual(setup(NEW), 0)
        program.wait_window(MAIN_TITLE)
        self.assertEqual(setup(OLD), 4)
        self.assertEqual(self.version(), NEW)
        self.assertEqual(setup(OLD, "/DOWNGRADE"), 0)
        program.wait_window(MAIN_TITLE)
        self.assertEqual(self.version(), OLD)


class ReleaseChecks(unittest.TestCase):
    """What release.sh and CMake refuse before anything is built."""

    def release(self, *arguments):
        return subprocess.run([os.path.join(ROOT, "scripts", "release.sh")] + list(arguments),
                              capture_output=True, text=True, timeout=60)

    def test_versions_with_a_leading_zero_or_over_65535_are_refused(self):
        work = tempfile.mkdtemp(prefix="release_checks_")
        self.addCleanup(shutil.rmtree, work, True)
        key = os.path.join(work, "key.pem")
        self.assertEqual(self.release("--new-key", key).returncode, 0)
        for version in ("1.2.0.010", "01.2.0.8", "1.2.0.65536", "1.2.0", "1.2.0.8.1"):
            done = self.release("--key", key, "--version", version, "--base-url", "https://u.example/update",
                                "--out", os.path.join(work, "out"))
            self.assertNotEqual(done.returncode, 0, version)
            # Refused by the script itself, before any build step.
            self.assertRegex(done.stderr, r"^release: (the version must|each number of the version)", version)
        self.assertFalse(os.path.exists(os.path.join(work, "out")), "nothing was built")
        # CMake refuses the same before configuring anything.
        done = subprocess.run(["cmake", "-S", ROOT, "-B", os.path.join(work, "tree"),
                               "-DSCREENSHOT_VERSION=1.2.0.010"], capture_output=True, text=True, timeout=120)
        self.assertNotEqual(done.returncode, 0)
        self.assertIn("without leading zeros", done.stderr)

    def test_resigning_refuses_a_setup_whose_bytes_changed(self):
        work = tempfile.mkdtemp(prefix="release_checks_")
        self.addCleanup(shutil.rmtree, work, True)
        key = os.path.join(work, "key.pem")
        self.assertEqual(self.release("--new-key", key).returncode, 0)
        setup = os.path.join(work, "Screenshot-Setup-1.2.0.8.exe")
        with open(setup, "wb") as f:
            f.write(b"the setup")
        manifest = {"update_info": {"version": "1.2.0.8", "url": "https://u.example/Screenshot-Setup-1.2.0.8.exe",
                                    "sha256": hashlib.sha256(b"the setup").hexdigest(),
                                    "expires": "2020-01-01T00:00:00Z", "signature": "x"}}
        with open(os.path.join(work, "update.json"), "w") as f:
            json.dump(manifest, f)
        done = self.release("--resign", work, "--key", key, "--valid-days", "30")
        self.assertEqual(done.returncode, 0, done.stderr)
        with open(os.path.join(work, "update.json")) as f:
            renewed = json.load(f)["update_info"]
        self.assertGreater(renewed["expires"], time.strftime("%Y-%m-%dT%H:%M:%SZ", time.gmtime(time.time() + 29 * 86400)))
        self.assertNotEqual(renewed["signature"], "x")
        with open(setup, "wb") as f:
            f.write(b"other bytes")
        done = self.release("--resign", work, "--key", key)
        self.assertNotEqual(done.returncode, 0)
        self.assertIn("SHA-256", done.stderr)


if __name__ == "__main__":
    unittest.main()
