"""The saver on two monitors of different sizes (Xorg's dummy screen with two RandR outputs, see
CMakeLists.txt): one window over both, the city on each, a key or a button on either ends it.
TOLVENAR_MONITORS names the monitors this run expects, side by side, the first the primary.
A desktop wider than the renderer's largest surface shows the city on the primary monitor only,
the others black."""

import ctypes
import ctypes.util
import os
import time
import unittest

from test_displays import CLEAR_COLOUR, near, root_geometry
from test_saver import TITLE, SaverTestCase
from tolvenar_e2e import find_window, xdotool

# The widest surface Mesa's software renderer draws on.
RENDERER_LIMIT = 16384


class XImage(ctypes.Structure):
    _fields_ = [(name, ctypes.c_int) for name in ("width", "height", "xoffset", "format")] + \
        [("data", ctypes.c_void_p)] + \
        [(name, ctypes.c_int) for name in ("byte_order", "bitmap_unit", "bitmap_bit_order",
                                           "bitmap_pad", "depth", "bytes_per_line",
                                           "bits_per_pixel")]


def grab(left, top, right, bottom):
    """Every third pixel of every third row of that part of the screen, as (R, G, B); straight from
    the X server, since ImageMagick refuses a screen past 16 384 pixels."""
    x11 = ctypes.CDLL(ctypes.util.find_library("X11"))
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x11.XDefaultRootWindow.restype = ctypes.c_ulong
    x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                              ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
    x11.XGetImage.restype = ctypes.POINTER(XImage)
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(None)
    try:
        image = x11.XGetImage(display, x11.XDefaultRootWindow(display), left, top,
                              right - left, bottom - top, 0xFFFFFFFF, 2).contents  # ZPixmap
        assert image.bits_per_pixel == 32, image.bits_per_pixel
        pitch = image.bytes_per_line
        data = ctypes.string_at(image.data, pitch * image.height)
    finally:
        x11.XCloseDisplay(display)
    return [(data[i + 2], data[i + 1], data[i])
            for y in range(0, bottom - top, 3)
            for i in range(y * pitch, y * pitch + (right - left) * 4, 12)]


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

    def assert_city_on_every_monitor(self):
        too_wide = self.width > RENDERER_LIMIT
        for index, rect in enumerate(self.monitors):
            with self.subTest(monitor=rect):
                area = grab(*rect)
                clear = sum(1 for p in area if near(p, CLEAR_COLOUR))
                self.assertEqual(clear, 0, "%d sampled pixels show the clear colour" % clear)
                dark = sum(1 for p in area if max(p) < 8)
                if too_wide and index > 0:
                    self.assertEqual(dark, len(area), "a monitor beside the primary is not black")
                    continue
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
