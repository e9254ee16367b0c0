"""tolvenar --settings driven as a person drives it, with real pointer and key input (xdotool):
pick the audio CD, type a track, Set; the settings file then holds the Windows build's bytes."""

import os
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


class SettingsDialog(unittest.TestCase):
    def setUp(self):
        self.assertTrue(PROGRAM and os.path.exists(PROGRAM), "TOLVENAR_PROGRAM names tolvenar")
        self.folder = tempfile.mkdtemp(prefix="tolvenar-settings-")
        self.ini = os.path.join(self.folder, "Tolvenar.ini")

    def tearDown(self):
        if os.path.exists(self.ini):
            os.remove(self.ini)
        os.rmdir(self.folder)

    def test_pick_the_cd_type_a_track_and_set(self):
        proc = subprocess.Popen([PROGRAM, "--settings"], env=dict(os.environ, TOLVENAR_INI=self.ini),
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
