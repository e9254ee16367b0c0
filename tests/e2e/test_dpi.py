"""The settings dialog on screens of 96, 120 and 144 dots per inch: the window, every control and
every caption at the screen's own resolution (1440 / dpi twips per pixel). Each resolution is a
Wine session and prefix of its own (see CMakeLists.txt); TOLVENAR_DPI names the one this run sets."""

import math
import os
import subprocess
import time
import tempfile
import unittest

from test_scene import pixels, read_ppm
from test_settings_dialog import (BLUE_MARK, CANCEL_BUTTON, FILE_BUTTON, MARKS, PANEL, REPEAT_BOX,
                                  SET_BUTTON, TITLE, Dialog, ini_bytes)
from tolvenar_e2e import (JAPANESE, E2ETestCase, child_windows, post_close, screenshot,
                          windows_path)

DPI = int(os.environ.get("TOLVENAR_DPI") or 0)
CLIENT = (7440, 3645)  # twips
MARK_PIXELS = 12  # the marks' side on a 96-dpi screen
FONT_POINTS = 9.75


def to_pixels(twips, tpp):
    """Twips as whole pixels, halves away from zero as the program rounds window places."""
    return math.floor(twips / tpp + 0.5)


def box(place, tpp, origin):
    """Screen rectangle of a (left, top, width, height) place in twips below `origin`."""
    left, top, width, height = place
    return (origin[0] + to_pixels(left, tpp), origin[1] + to_pixels(top, tpp),
            origin[0] + to_pixels(left + width, tpp), origin[1] + to_pixels(top + height, tpp))


def grab(rect):
    """The screen pixels of a rectangle, as rows."""
    left, top, right, bottom = rect
    with tempfile.NamedTemporaryFile(suffix=".ppm") as shot:
        subprocess.run(["import", "-window", "root", "-crop",
                        f"{right - left}x{bottom - top}+{left}+{top}", "-depth", "8", shot.name],
                       check=True, timeout=30)
        width, _, rgb = read_ppm(shot.name)
    flat = pixels(rgb)
    return [flat[i:i + width] for i in range(0, len(flat), width)]


def dark_extent(rows):
    """(count, top, bottom, left, right) of the caption's dark pixels in a grabbed area."""
    dark = [(x, y) for y, row in enumerate(rows) for x, p in enumerate(row) if max(p) <= 64]
    if not dark:
        return 0, 0, 0, 0, 0
    xs, ys = [x for x, _ in dark], [y for _, y in dark]
    return len(dark), min(ys), max(ys), min(xs), max(xs)


class Resolution(E2ETestCase):
    @classmethod
    def setUpClass(cls):
        if not DPI:
            raise unittest.SkipTest("runs in a Wine prefix of its own (TOLVENAR_DPI)")
        # Programs started from now on read the resolution from here, as Wine's settings set it.
        # A prefix made a moment ago can refuse the first write while Wine finishes setting it up.
        for attempt in range(5):
            done = subprocess.run(["wine", "reg", "add", r"HKCU\Control Panel\Desktop", "/v",
                                   "LogPixels", "/t", "REG_DWORD", "/d", str(DPI), "/f"],
                                  capture_output=True, text=True, timeout=60)
            if done.returncode == 0:
                return
            time.sleep(1)
        raise AssertionError("wine reg add failed: %s%s" % (done.stdout, done.stderr))

    def test_window_controls_captions_and_marks_follow_the_resolution(self):
        tpp = 1440 / DPI
        # The file choice with a file that exists: every button enabled, the third mark blue.
        music = os.path.join(self.program.path, "night.mp3")
        with open(music, "wb") as f:
            f.write(b"not really music")
        self.program.write_ini(ini_bytes(b"2", b"0", windows_path(music).encode()))
        dialog = Dialog(self, env=JAPANESE)
        self.addCleanup(post_close, TITLE)
        left, top, right, bottom = dialog.client
        shots = os.path.join(os.environ.get("TOLVENAR_BUILD", "/tmp"), "screenshots")
        os.makedirs(shots, exist_ok=True)
        screenshot(os.path.join(shots, "settings_dialog_%ddpi.png" % DPI))
        self.assertEqual((right - left, bottom - top), tuple(to_pixels(t, tpp) for t in CLIENT))

        client = (left, top)
        panel = (left + to_pixels(PANEL[0], tpp), top + to_pixels(PANEL[1], tpp))
        expected = {"設定": box(SET_BUTTON, tpp, client), "ｷｬﾝｾﾙ": box(CANCEL_BUTTON, tpp, client),
                    "...": box(FILE_BUTTON, tpp, panel)}
        children = child_windows(TITLE)
        buttons = sorted(c["rect"] for c in children if c["class"] == "TolvenarCommand")
        self.assertEqual(buttons, sorted(expected.values()))
        combo = next(c["rect"] for c in children if c["class"].lower() == "combobox")
        self.assertEqual(combo[:3], box(REPEAT_BOX, tpp, panel)[:3])

        # Each caption is drawn inside its button, centred across; the letters (not the dots of
        # "...") at least 0.6 times as tall as the font is high at this resolution.
        font_pixels = FONT_POINTS * 20 / tpp
        frame = to_pixels(60, tpp) + 1  # the skin's ring
        for caption, (b_left, b_top, b_right, b_bottom) in expected.items():
            with self.subTest(caption=caption):
                inner = (b_left + frame, b_top + frame, b_right - frame, b_bottom - frame)
                count, d_top, d_bottom, d_left, d_right = dark_extent(grab(inner))
                self.assertGreater(count, 3, "no caption drawn")
                middle = (inner[2] - inner[0] - 1) / 2
                self.assertLessEqual(abs((d_left + d_right) / 2 - middle), 2)
                if caption != "...":
                    self.assertGreaterEqual(d_bottom - d_top + 1, 0.6 * font_pixels)

        # The chosen kind's mark fills its scaled square with blue, to its far corner.
        side = round(MARK_PIXELS * DPI / 96)
        mark = box((*MARKS[2], 0, 0), tpp, panel)
        rows = grab((mark[0], mark[1], mark[0] + side, mark[1] + side))
        self.assertEqual(rows[side // 2][side // 2], BLUE_MARK)
        self.assertEqual(rows[side - 3][side - 3], BLUE_MARK)


if __name__ == "__main__":
    unittest.main()
