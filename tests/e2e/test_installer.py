"""The installer and uninstaller that scripts/package.sh builds, run silently under Wine as a
user's deployment tool would: what lands on disk and in the user's registry, the program they
start, an upgrade over a running copy, and what an uninstall leaves."""
import os
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time
import unittest
import zipfile

import harness
import program
import windows_imports
from program import MAIN_TITLE

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "scripts"))
import exe_version  # noqa: E402
SETUP_TITLE = "\u622a\u56fe\u5de5\u5177 %s \u5b89\u88c5 "  # the setup's pages: "截图工具 <version> 安装 "
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Screenshot"
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
CLOSE = 0x0010
THEIRS = ["config.json", "update.json"]  # another program's files in a folder shared with it
INSTANCE_MUTEX = "Screenshot_87E5B883-BE25-4248-8B72-AC1981F0FFEE"
PROOF_PREFIX = "Screenshot.UpdateProof."  # update/updater_proof.h


def wine(*args, env=None, timeout=120):
    return subprocess.run(["wine", *args], capture_output=True, env=env, timeout=timeout)


def windows_variable(variable):
    return wine("cmd", "/c", "echo %" + variable + "%").stdout.decode("ascii", "replace").strip()


windows_folder = program.windows_folder


def registry_values(key):
    """The values under key as {name: text}, read from an export (UTF-16, so names and texts
    in any script come back intact); None when the key is missing."""
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, "key.reg")
        if wine("reg", "export", key, harness.to_windows_path(out), "/y").returncode != 0 \
                or not os.path.exists(out):
            return None
        with open(out, encoding="utf-16") as f:
            text = f.read()
    values = {}
    for name, value in re.findall(r'^"([^"]+)"=(.*)$', text, re.M):
        if value.startswith("dword:"):
            values[name] = int(value[6:], 16)
        else:
            values[name] = re.sub(r'\\(.)', r'\1', value[1:-1])
    return values


def run_value_present():
    return wine("reg", "query", RUN_KEY, "/v", "Screenshot").returncode == 0


@unittest.skipIf(shutil.which("makensis") is None,
                 "makensis is missing: scripts/install_deps.sh installs Debian's nsis package")
class InstallerTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        build_root = os.path.dirname(os.path.abspath(harness.build_dir()))
        env = dict(os.environ, SCREENSHOT_BUILD_ROOT=build_root, SKIP_BUILD="1")
        out = subprocess.run([os.path.join(ROOT, "scripts", "package.sh")], env=env, capture_output=True,
                             text=True, timeout=300, check=True).stdout.split()
        cls.setup = next(path for path in out if path.endswith(".exe"))
        cls.portable = next(path for path in out if path.endswith(".zip"))
        with open(os.path.join(harness.build_dir(), "Screenshot.exe"), "rb") as f:
            cls.version = exe_version.file_version(f.read())
        cls.location = windows_variable("LOCALAPPDATA") + "\\Programs\\Screenshot"
        cls.folder = os.path.join(windows_folder("LOCALAPPDATA"), "Programs", "Screenshot")
        cls.pictures = os.path.join(windows_folder("USERPROFILE"), "Pictures", "screenshot_pic")
        cls.shortcut = os.path.join(windows_folder("APPDATA"), "Microsoft", "Windows", "Start Menu", "Programs",
                                    "\u622a\u56fe\u5de5\u5177.lnk")

    def setUp(self):
        self.log = program.LogServer().__enter__()
        self.addCleanup(self.log.__exit__)
        self.env = dict(os.environ, SCREENSHOT_LOG_ENDPOINT=self.log.url,
                        SCREENSHOT_UPDATE_URL=self.log.url + "/update/update.json")
        self.addCleanup(self.remove_everything)

    def remove_everything(self):
        if program.window_rect(MAIN_TITLE):
            program.tool("post", MAIN_TITLE, CLOSE, 0, 0)
            harness.wait_until(lambda: program.window_rect(MAIN_TITLE) is None, 15, what="the program ended")
        wine("reg", "delete", UNINSTALL_KEY, "/f")
        wine("reg", "delete", RUN_KEY, "/v", "Screenshot", "/f")
        shutil.rmtree(self.folder, ignore_errors=True)
        if os.path.exists(self.shortcut):
            os.remove(self.shortcut)

    def install(self, *options, setup=None):
        started = time.monotonic()
        # Not through pipes: the program it starts would hold them open.
        done = subprocess.run(["wine", setup or self.setup, "/S", *options], env=self.env, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, timeout=120)
        self.assertEqual(done.returncode, 0)
        program.wait_window(MAIN_TITLE)
        return time.monotonic() - started

    def test_a_silent_install_writes_files_shortcut_and_entry_and_starts_the_program(self):
        seconds = self.install()
        print("\nsilent install until the main window shows: %.1f s, installer %d bytes"
              % (seconds, os.path.getsize(self.setup)))
        self.assertTrue(os.path.isfile(os.path.join(self.folder, "Screenshot.exe")))
        self.assertTrue(os.path.isfile(os.path.join(self.folder, "Uninstall.exe")))
        self.assertTrue(os.path.isfile(self.shortcut))
        entry = registry_values(UNINSTALL_KEY)
        location = self.location
        self.assertEqual(entry["DisplayName"], "\u622a\u56fe\u5de5\u5177")
        self.assertEqual(entry["DisplayVersion"], self.version)
        self.assertEqual(entry["Publisher"], "Screenshot")
        self.assertEqual(entry["InstallLocation"], location)
        self.assertEqual(entry["DisplayIcon"], location + "\\Screenshot.exe,0")
        self.assertEqual(entry["UninstallString"], '"%s\\Uninstall.exe"' % location)
        self.assertEqual(entry["QuietUninstallString"], '"%s\\Uninstall.exe" /S' % location)
        self.assertGreater(entry["EstimatedSize"], os.path.getsize(os.path.join(self.folder, "Screenshot.exe")) // 1024 - 1)
        self.assertFalse(run_value_present())  # "start with Windows" is off unless chosen
        harness.wait_until(lambda: "first_run_after_setup" in self.log.events(), 20, what="the start event")

    def test_the_setup_the_installed_folder_and_the_portable_archive_start_on_any_windows(self):
        self.assertEqual(windows_imports.faults(self.setup), [])
        with tempfile.TemporaryDirectory() as unpacked:
            with zipfile.ZipFile(self.portable) as archive:
                self.assertEqual(archive.namelist(), ["Screenshot/Screenshot.exe"])
                archive.extractall(unpacked)
            self.expect_folder_complete(os.path.join(unpacked, "Screenshot"))
        self.install()
        self.expect_folder_complete(self.folder)

    def expect_folder_complete(self, folder):
        """Every program in folder finds each DLL it needs in Windows or beside itself."""
        names = os.listdir(folder)
        beside = {n.lower() for n in names if n.lower().endswith(".dll")}
        programs = [n for n in names if n.lower().endswith((".exe", ".dll"))]
        self.assertIn("Screenshot.exe", programs)
        for name in programs:
            self.assertEqual(windows_imports.faults(os.path.join(folder, name), beside), [], name)

    def test_an_upgrade_ends_the_running_copy_and_keeps_its_settings(self):
        self.install()
        config = os.path.join(self.folder, "config.json")
        mine = '{"pic_save_path": "C:\\\\mine", "pic_save_format": "BMP", "capture_hotkey": "Alt+F2"}'
        with open(config, "w") as f:
            f.write(mine)
        self.install()
        harness.wait_until(lambda: self.log.events().count("first_run_after_setup") == 2, 20,
                           what="the second start event")
        self.assertEqual(program.tool("count", MAIN_TITLE), "1")
        with open(config) as f:
            self.assertEqual(f.read(), mine)

    def test_an_upgrade_waits_until_a_copy_that_let_go_of_its_window_and_mutex_has_ended(self):
        # Closed by the setup; or closed before it starts, so that the setup finds neither its
        # window nor its mutex, only its process.
        for closed_first in (False, True):
            with self.subTest(closed_before_the_setup=closed_first):
                self.upgrade_over_a_lingering_copy(closed_first)

    def upgrade_over_a_lingering_copy(self, closed_first):
        self.install()
        program.tool("post", MAIN_TITLE, CLOSE, 0, 0)
        harness.wait_until(lambda: program.window_rect(MAIN_TITLE) is None, 15, what="the program ended")
        # The installed exe, running, ends 6 s after it has let go of its window and mutex.
        exe = os.path.join(self.folder, "Screenshot.exe")
        shutil.copy(os.path.join(harness.build_dir(), "e2e_tool.exe"), exe)
        copy = subprocess.Popen(["wine", exe, "linger", "UIMainWnd", MAIN_TITLE, INSTANCE_MUTEX, "6000"],
                                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.addCleanup(copy.kill)
        self.assertEqual(copy.stdout.readline().strip(), "up")
        ending = []
        reader = threading.Thread(target=lambda: ending.append((copy.stdout.readline().strip(), time.time())))
        reader.start()
        if closed_first:
            program.tool("post", MAIN_TITLE, CLOSE, 0, 0)
            harness.wait_until(lambda: program.window_rect(MAIN_TITLE) is None, 15, what="the copy's window gone")
        self.install()
        reader.join(10)
        self.assertEqual(ending[0][0], "ending")
        # The setup gives the file its packed time: when it was written shows in the change time.
        self.assertGreaterEqual(os.stat(exe).st_ctime, ending[0][1], "the exe was written while its copy still ran")
        with open(exe, "rb") as mine, open(os.path.join(harness.build_dir(), "Screenshot.exe"), "rb") as built:
            self.assertTrue(mine.read() == built.read(), "the installed exe is not the new one")
        self.remove_everything()

    def test_a_silent_uninstall_removes_the_program_and_keeps_settings_and_pictures(self):
        self.install("/AUTOSTART")
        self.assertTrue(run_value_present())
        os.makedirs(self.pictures, exist_ok=True)
        picture = os.path.join(self.pictures, "0001_20261207_120000.png")
        with open(picture, "wb") as f:
            f.write(b"\x89PNG")
        self.addCleanup(os.remove, picture)
        # What the program leaves beside itself goes with it from a folder of its own.
        for name in ("update.json", "update.exe", "crash_dump.dmp", "config.json.tmp"):
            pathlib.Path(self.folder, name).write_text("the program's")
        self.uninstall(self.folder)
        self.assertIsNone(program.window_rect(MAIN_TITLE))
        self.assertEqual(sorted(os.listdir(self.folder)), ["config.json"])
        self.assertFalse(run_value_present())
        self.assertFalse(os.path.exists(self.shortcut))
        self.assertTrue(os.path.isfile(picture))

    def uninstall(self, folder, *options):
        # The uninstaller runs from a copy of itself in the temporary folder and returns at once.
        subprocess.run(["wine", os.path.join(folder, "Uninstall.exe"), "/S", *options], stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=60)
        harness.wait_until(lambda: registry_values(UNINSTALL_KEY) is None, 30, interval=0.5,
                           what="the uninstall entry removed")
        harness.wait_until(lambda: not os.path.exists(os.path.join(folder, "Uninstall.exe")), 30,
                           what="the program files removed")

    def folder_with_others_files(self, prefix, name=None):
        folder = tempfile.mkdtemp(prefix=prefix)
        self.addCleanup(shutil.rmtree, folder, True)
        if name:
            folder = os.path.join(folder, name)
            os.mkdir(folder)
        for name in THEIRS:
            pathlib.Path(folder, name).write_text("theirs " + name)
        return folder

    def expect_others_files_untouched(self, folder, *ours):
        self.assertEqual(sorted(os.listdir(folder)), sorted([*ours, *THEIRS]))
        self.assertEqual([pathlib.Path(folder, n).read_text() for n in THEIRS], ["theirs " + n for n in THEIRS])

    def test_an_install_into_a_shared_folder_goes_into_its_own_folder_and_leaves_the_others_files(self):
        shared = self.folder_with_others_files("tools_")
        self.install("/D=" + harness.to_windows_path(shared))
        own = os.path.join(shared, "Screenshot")
        self.assertEqual(registry_values(UNINSTALL_KEY)["InstallLocation"], harness.to_windows_path(own))
        self.uninstall(own)
        self.expect_others_files_untouched(shared, "Screenshot")  # which keeps the program's config.json

    def test_an_existing_folder_named_screenshot_with_others_files_keeps_their_settings(self):
        # Not the program's own folder: no marker, so the data option leaves its config.json.
        named = self.folder_with_others_files("tools_", "Screenshot")
        self.install("/D=" + harness.to_windows_path(named))
        self.assertFalse(os.path.exists(os.path.join(named, "install.marker")))
        os.makedirs(self.pictures, exist_ok=True)
        picture = os.path.join(self.pictures, "0001_20261207_120000.png")
        pathlib.Path(picture).write_bytes(b"\x89PNG")
        self.addCleanup(lambda: os.path.exists(picture) and os.remove(picture))
        self.uninstall(named, "/REMOVEDATA")
        self.assertFalse(os.path.exists(picture), "the data option was not taken")
        self.expect_others_files_untouched(named)

    def hold_proof(self, token):
        """A process holding the mutex a running program's token names, as the program does."""
        holder = subprocess.Popen(["wine", os.path.join(harness.build_dir(), "e2e_tool.exe"), "linger",
                                   "ProofHolder", "proof holder", PROOF_PREFIX + token, "0"],
                                  stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.addCleanup(holder.stdout.close)
        self.addCleanup(holder.wait, 10)
        self.addCleanup(holder.kill)
        self.assertEqual(holder.stdout.readline().strip(), "up")

    def test_a_copy_of_the_setup_named_update_exe_is_an_ordinary_setup(self):
        downloads = self.folder_with_others_files("downloads_")
        renamed = os.path.join(downloads, "update.exe")
        shutil.copy(self.setup, renamed)
        # Started as a user would: its pages wait for the user.
        setup = subprocess.Popen(["wine", renamed], env=self.env, stdout=subprocess.DEVNULL,
                                 stderr=subprocess.DEVNULL)
        self.addCleanup(lambda: setup.poll() is None and setup.kill())
        program.wait_window(SETUP_TITLE % self.version)
        setup.kill()
        setup.wait(10)
        self.assertIsNone(registry_values(UNINSTALL_KEY))
        # Silently, with a token no running program holds: into the usual folder.
        self.hold_proof("0123456789abcdef0123456789abcdef")
        self.install("/PROOF=fedcba9876543210fedcba9876543210", setup=renamed)
        self.assertEqual(registry_values(UNINSTALL_KEY)["InstallLocation"], self.location)
        self.expect_others_files_untouched(downloads, "update.exe")

    def test_an_update_installs_into_the_programs_folder_whatever_its_name_and_keeps_what_it_did_not_make(self):
        # The updating copy installs into the running program's folder (a portable copy's among
        # other files, say), and only while that program holds its proof; later setups upgrade the
        # folder recorded.
        portable = self.folder_with_others_files("portable_")
        token = "00112233445566778899aabbccddeeff"
        update = ["wine", self.setup, "/S", "/UPDATE=" + token, "/D=" + harness.to_windows_path(portable)]
        done = subprocess.run(update, env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
        self.assertEqual(done.returncode, 5)
        self.expect_others_files_untouched(portable)
        self.hold_proof(token)
        done = subprocess.run(update, env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
        self.assertEqual(done.returncode, 0)
        self.install()
        self.assertEqual(registry_values(UNINSTALL_KEY)["InstallLocation"], harness.to_windows_path(portable))
        self.uninstall(portable)
        self.expect_others_files_untouched(portable)


if __name__ == "__main__":
    unittest.main()
