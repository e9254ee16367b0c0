"""The saver on two monitors of different sizes (Xorg's dummy screen with two RandR outputs, see
CMakeLists.txt): one window over both, the city on each, a key or a button on either ends it.
TOLVENAR_MONITORS names the monitors this run expects, side by side, the first the primary."""

import os
import subprocess
import time
import unittest

from test_displays import CLEAR_COLOUR, near, root_geometry
from test_saver import TITLE, SaverTestCase
from test_scene import pixels, read_ppm
from tolvenar_e2e import find_window, xdotool


def monitor_rects(sizes):
    """(left, top, right, bottom) of each monitor of "1024x768 800x600", laid side by side."""
    rects, left = [], 0
    for size in sizes.split():
        width, height = (int(v) for v in size.split("x"))
        rects.append((left, 0, left + width, height))
        left += width
    return rects


class TwoMonitors(SaverTestCase):
    def setUp(self):
        super().setUp()
        sizes = os.environ.get("TOLVENAR_MONITORS", "")
        if not sizes:
            self.skipTest("runs on a display of its own (TOLVENAR_MONITORS)")
        self.monitors = monitor_rects(sizes)
        self.width = self.monitors[-1][2]
        self.height = max(r[3] for r in self.monitors)
        self.assertEqual(root_geometry()[:2], (self.width, self.height),
                         "not on the display asked for")

    def shot(self):
        path = os.path.join(self.program.path, "shot.ppm")
        subprocess.run(["import", "-window", "root", "-depth", "8", path], check=True, timeout=30)
        width, _, rgb = read_ppm(path)
        os.remove(path)
        return width, pixels(rgb)

    def assert_city_on_every_monitor(self):
        width, shot = self.shot()
        for left, top, right, bottom in self.monitors:
            with self.subTest(monitor=(left, top, right, bottom)):
                area = [shot[y * width + x]
                        for y in range(top, bottom, 3) for x in range(left, right, 3)]
                clear = sum(1 for p in area if near(p, CLEAR_COLOUR))
                self.assertEqual(clear, 0, "%d sampled pixels show the clear colour" % clear)
                dark = sum(1 for p in area if max(p) < 8)
                self.assertLess(dark, len(area) * 0.9, "the monitor is (nearly) black")
                self.assertGreaterEqual(len(set(area)), 300, "the monitor shows no city detail")

    def test_covers_both_monitors_draws_the_city_on_each_and_ends_on_a_key(self):
        proc = self.start_saver("/s")
        self.assertEqual(find_window(TITLE)[1:5], (0, 0, self.width, self.height))
        time.sleep(2)  # the first frames
        self.assert_city_on_every_monitor()
        xdotool("key", "shift")
        self.assert_ends_within(proc, 2.0, "lone Shift")
        self.assert_nothing_left()

    def test_a_button_over_the_second_monitor_ends_it(self):
        left, top, right, bottom = self.monitors[1]
        xdotool("mousemove", str((left + right) // 2), str((top + bottom) // 2))
        proc = self.start_saver("/s")
        time.sleep(1)
        xdotool("click", "1")
        self.assert_ends_within(proc, 2.0, "left button on the second monitor")
        self.assert_nothing_left()


if __name__ == "__main__":
    unittest.main()
