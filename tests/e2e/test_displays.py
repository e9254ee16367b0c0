"""The saver and the settings dialog on displays unlike the usual one: an odd size at 16 bits per
pixel, and a screen smaller than the dialog. Each display is a Wine session of its own (its own
Xvfb and prefix, see CMakeLists.txt); TOLVENAR_SCREEN names the display this run expects."""

import os
import subprocess
import time
import unittest

from test_saver import BMP_NAMES, TITLE, SaverTestCase
from test_scene import pixels, read_ppm
from tolvenar_e2e import find_window, post_close, wait_for, xdotool

DIALOG_TITLE = "<Tolvenar>"
CLEAR_COLOUR = (0xCC, 0xCC, 0xFF)


def root_geometry():
    """(width, height, depth) of the X screen."""
    out = subprocess.run(["xwininfo", "-root"], capture_output=True, text=True, check=True,
                         timeout=10).stdout
    fields = {k.strip(): v.strip() for k, v in
              (line.split(":", 1) for line in out.splitlines() if ":" in line)}
    return int(fields["Width"]), int(fields["Height"]), int(fields["Depth"])


def near(a, b, tolerance=12):
    return all(abs(x - y) <= tolerance for x, y in zip(a, b))


class OtherDisplay(SaverTestCase):
    def setUp(self):
        super().setUp()
        expected = os.environ.get("TOLVENAR_SCREEN", "")
        if not expected:
            self.skipTest("runs on a display of its own (TOLVENAR_SCREEN)")
        width, height, depth = (int(v) for v in expected.split("x"))
        self.assertEqual(root_geometry(), (width, height, depth), "not on the display asked for")
        self.width, self.height = width, height

    def test_the_saver_covers_the_screen_draws_the_city_and_ends_cleanly(self):
        proc = self.start_saver("/s")
        window = find_window(TITLE)
        self.assertEqual(window[1:5], (0, 0, self.width, self.height))
        for name in BMP_NAMES:
            self.assertTrue(os.path.exists(os.path.join(self.program.path, name)), name)
        time.sleep(2)  # the first frames

        path = os.path.join(self.program.path, "shot.ppm")
        subprocess.run(["import", "-window", "root", "-depth", "8", path], check=True, timeout=30)
        _, _, rgb = read_ppm(path)
        os.remove(path)
        shot = pixels(rgb)
        clear = sum(1 for p in shot[::3] if near(p, CLEAR_COLOUR))
        self.assertEqual(clear, 0, "%d sampled pixels show the clear colour" % clear)
        self.assertGreaterEqual(len(set(shot[::7])), 100, "the frame shows no city detail")

        xdotool("key", "shift")
        self.assert_ends_within(proc, 2.0, "lone Shift")
        self.assert_nothing_left()

    def test_the_settings_dialog_opens_and_closes_leaving_the_file_alone(self):
        before = b"[Section]\r\nBGM\x8b\xe6\x95\xaa=1\r\n"
        self.program.write_ini(before)
        proc = self.program.start("/c")
        self.addCleanup(proc.kill)
        shown = wait_for(lambda: (find_window(DIALOG_TITLE) or (0,) * 6)[5] == 1, 60, 0.3)
        self.assertTrue(shown, "the dialog did not appear")
        self.assertIsNone(proc.poll())
        self.assertTrue(post_close(DIALOG_TITLE))
        proc.wait(timeout=20)
        with open(self.program.ini, "rb") as f:
            self.assertEqual(f.read(), before)
        self.assertEqual(self.program.files(), ["Tolvenar.ini", "Tolvenar.scr"])


if __name__ == "__main__":
    unittest.main()
