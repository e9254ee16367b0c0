"""tolvenar --settings driven as a person drives it, with real pointer and key input (xdotool):
pick the audio CD, type a track, Set; the settings file then holds the Windows build's bytes. A
second start while the dialog is open ends at once, on X11 and under Wayland (a headless weston)."""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "e2e"))
from test_settings_dialog import LABELS, PANEL, REPEAT_BOX, SET_BUTTON, TITLE, ini_bytes  # noqa: E402

PROGRAM = os.environ.get("TOLVENAR_PROGRAM", "")
TPP = 15  # twips per pixel at the test display's 96 dpi


def xdotool(*args):
    return subprocess.run(["xdotool", *args], check=True, timeout=10, capture_output=True,
                          text=True).stdout


def wait_for(predicate, timeout):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        value = predicate()
        if value:
            return value
        time.sleep(0.1)
    return predicate()


def window_named(title):
    found = subprocess.run(["xdotool", "search", "--name", "^%s$" % title], capture_output=True,
                           text=True, timeout=10).stdout.split()
    return found[0] if found else None


def dialog_window():
    return window_named(TITLE)


def end(proc):
    if proc.poll() is None:
        proc.kill()
    proc.wait(timeout=10)
    if proc.stderr:
        proc.stderr.close()


class SettingsDialog(unittest.TestCase):
    def setUp(self):
        self.assertTrue(PROGRAM and os.path.exists(PROGRAM), "TOLVENAR_PROGRAM names tolvenar")
        self.folder = tempfile.mkdtemp(prefix="tolvenar-settings-")
        self.addCleanup(shutil.rmtree, self.folder, ignore_errors=True)
        self.ini = os.path.join(self.folder, "Tolvenar.ini")
        # The folder (the user's alone, as mkdtemp makes it) is the runtime folder: the dialog's
        # lock goes there, away from the tester's own dialogs.
        self.env = dict(os.environ, TOLVENAR_INI=self.ini, XDG_RUNTIME_DIR=self.folder)

    def start(self, env):
        proc = subprocess.Popen([PROGRAM, "--settings"], env=env, stdout=subprocess.DEVNULL,
                                stderr=subprocess.PIPE)
        self.addCleanup(end, proc)
        return proc

    def lock_held(self, runtime_dir):
        """Whether a process holds the dialog's lock, read from /proc/locks: trying it would take
        it from a dialog about to start."""
        try:
            inode = os.stat(os.path.join(runtime_dir, "tolvenar-settings.lock")).st_ino
        except FileNotFoundError:
            return False
        with open("/proc/locks") as f:
            return any(line.split()[1] == "FLOCK" and line.split()[5].endswith(":%d" % inode)
                       for line in f)

    def second_start_ends(self, first, env):
        second = self.start(env)
        self.assertEqual(second.wait(timeout=20), 0, second.stderr.read())
        self.assertIsNone(first.poll(), "the first dialog ended")

    def test_a_second_start_ends_while_the_dialog_is_open(self):
        first = self.start(self.env)
        self.assertIsNotNone(wait_for(dialog_window, 30), "the dialog did not appear")
        self.second_start_ends(first, self.env)
        time.sleep(0.5)
        found = subprocess.run(["xdotool", "search", "--name", "^%s$" % TITLE],
                               capture_output=True, text=True, timeout=10).stdout.split()
        self.assertEqual(len(found), 1, "a second dialog opened")
        first.send_signal(signal.SIGTERM)
        self.assertEqual(first.wait(timeout=10), 0)
        self.assertFalse(self.lock_held(self.folder), "the closed dialog kept its lock")

    @unittest.skipUnless(shutil.which("weston"), "weston (scripts/setup) is not installed")
    def test_a_second_start_ends_under_wayland(self):
        # GTK on a Wayland compositor and no X display: the dialog's window cannot be looked up.
        env = {k: v for k, v in self.env.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
        env.update(GDK_BACKEND="wayland", WAYLAND_DISPLAY="wayland-settings-test")
        compositor = subprocess.Popen(
            ["weston", "--backend=headless-backend.so", "--socket=" + env["WAYLAND_DISPLAY"],
             "--idle-time=0"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(end, compositor)
        socket = os.path.join(self.folder, env["WAYLAND_DISPLAY"])
        self.assertTrue(wait_for(lambda: os.path.exists(socket), 20), "weston did not start")
        first = self.start(env)
        self.assertTrue(wait_for(lambda: first.poll() is not None or self.lock_held(self.folder),
                                 30) and first.poll() is None,
                        "the dialog did not open: %s" % (first.poll() is not None and
                                                         first.stderr.read()))
        time.sleep(1)  # the dialog up on the compositor
        self.assertIsNone(first.poll(), first.poll() is not None and first.stderr.read())
        self.second_start_ends(first, env)
        first.send_signal(signal.SIGTERM)
        self.assertEqual(first.wait(timeout=10), 0)

    def test_pick_the_cd_type_a_track_and_set(self):
        proc = subprocess.Popen([PROGRAM, "--settings"], env=self.env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            window = wait_for(dialog_window, 30)
            self.assertIsNotNone(window, "the dialog did not appear")
            geometry = dict(line.split("=", 1) for line in
                            xdotool("getwindowgeometry", "--shell", window).split())
            left, top = int(geometry["X"]), int(geometry["Y"])

            def at(twips_x, twips_y, in_panel=True):
                ox, oy = PANEL if in_panel else (0, 0)
                return str(left + (ox + twips_x) // TPP), str(top + (oy + twips_y) // TPP)

            time.sleep(0.5)  # first paint
            xdotool("mousemove", *at(LABELS[1][0] + 60, LABELS[1][1] + 90), "click", "1")
            time.sleep(0.3)
            xdotool("mousemove", *at(REPEAT_BOX[0] + 150, REPEAT_BOX[1] + 150), "click", "1")
            xdotool("key", "ctrl+a", "BackSpace")
            xdotool("type", "--delay", "50", "12")
            time.sleep(0.3)
            x, y = at(SET_BUTTON[0] + SET_BUTTON[2] // 2, SET_BUTTON[1] + SET_BUTTON[3] // 2,
                      in_panel=False)
            xdotool("mousemove", str(int(x) - 2), str(int(y) - 1))
            time.sleep(0.2)
            xdotool("mousemove", x, y, "click", "1")
            self.assertEqual(proc.wait(timeout=20), 0)
        finally:
            if proc.poll() is None:
                proc.kill()
                proc.wait(timeout=10)
        with open(self.ini, "rb") as f:
            self.assertEqual(f.read(), ini_bytes(b"1", b"12"))


if __name__ == "__main__":
    unittest.main()
