"""The saver window: full screen, the six bitmap files, the ways it ends, and what it leaves behind."""

import os
import re
import shutil
import subprocess
import tempfile
import time
import unittest

from test_scene import pixels, read_ppm
from tolvenar_e2e import (USER_INI_FOLDER, E2ETestCase, PointerTrace, bmp_info, find_window,
                          make_read_only, pointer_shown, post_close, screen_size, user_folder,
                          wait_for, window_style, windows_path, xdotool)

TITLE = "Tolvenar_Main"
BMP_NAMES = ["Tolvenar%d.bmp" % i for i in range(1, 7)]
WS_POPUP = 0x80000000
WS_CAPTION = 0x00C00000
WS_THICKFRAME = 0x00040000


def make_music(path):
    """Writes 30 seconds of a 440 Hz tone: an MP3 file when the name ends in .mp3 (any case), a WAV
    file otherwise."""
    tone = path + ".wav" if path.lower().endswith(".mp3") else path
    subprocess.run(["sox", "-n", "-r", "44100", "-c", "2", tone, "synth", "30", "sine", "440"],
                   check=True, timeout=60)
    if tone != path:
        subprocess.run(["lame", "--quiet", tone, path], check=True, timeout=60)
        os.remove(tone)


def sounding(capture):
    """True when the last second written to the ALSA capture file is not silence."""
    if not os.path.exists(capture):
        return False
    with open(capture, "rb") as f:
        data = f.read()
    return any(b not in (0, 0xff) for b in data[-44100:])


def city_frame():
    """The screen's pixels now, as (red, green, blue) tuples."""
    with tempfile.NamedTemporaryFile(suffix=".ppm") as shot:
        subprocess.run(["import", "-window", "root", "-depth", "8", shot.name], check=True,
                       timeout=30)
        return pixels(read_ppm(shot.name)[2])


def shown(proc):
    """True once the saver's window is visible."""
    window = find_window(TITLE)
    return proc.poll() is None and window is not None and window[5] == 1


class SaverTestCase(E2ETestCase):
    def start_saver(self, *args, env=None, trace=None):
        """Starts the saver and waits until its window is shown; returns the process. A
        PointerTrace given records its ShowCursor calls."""
        if trace:
            self.addCleanup(trace.stderr.close)
            proc = self.program.start(*args, env={**(env or {}), **trace.env}, stderr=trace.stderr)
        else:
            proc = self.program.start(*args, env=env)
        self.addCleanup(proc.wait, 10)
        self.addCleanup(proc.kill)
        wait_for(lambda: proc.poll() is not None or shown(proc), 30, interval=0.3)
        self.assertIsNone(proc.poll(), "the saver ended before its window was seen")
        self.assertTrue(shown(proc), "the saver window was not shown")
        return proc

    def assert_ends_within(self, proc, seconds, what):
        begin = time.monotonic()
        try:
            proc.wait(timeout=seconds + 10)
        except subprocess.TimeoutExpired:
            self.fail("%s: the saver did not end" % what)
        taken = time.monotonic() - begin
        self.assertLess(taken, seconds, "%s: the saver took %.2f s to end" % (what, taken))
        self.assertEqual(proc.returncode, 0)

    def assert_nothing_left(self):
        self.assertEqual(self.program.files(), ["Tolvenar.scr"])
        self.assertIsNone(find_window(TITLE))

    def assert_six_bitmaps(self):
        for name in BMP_NAMES:
            with self.subTest(file=name):
                path = os.path.join(self.program.path, name)
                self.assertTrue(os.path.exists(path))
                self.assertEqual(bmp_info(path), (256, 256, 24))


class FullScreenRun(SaverTestCase):
    def test_covers_the_screen_ignores_the_mouse_and_ends_on_a_lone_shift(self):
        trace = PointerTrace()
        proc = self.start_saver("/s", trace=trace)
        self.assertFalse(pointer_shown(), "the pointer shows over the saver")
        width, height = screen_size()
        hwnd, left, top, right, bottom, visible = find_window(TITLE)
        self.assertEqual((left, top, right, bottom), (0, 0, width, height))
        found = window_style(TITLE)
        self.assertIsNotNone(found, "the saver window went: exit code %s" % proc.poll())
        style, _, class_name = found
        self.assertTrue(style & WS_POPUP, "style %08x" % style)
        self.assertFalse(style & (WS_CAPTION | WS_THICKFRAME), "style %08x" % style)
        self.assertEqual(class_name, TITLE)
        self.assert_six_bitmaps()

        for x, y in ((10, 10), (width // 2, height // 2), (width - 5, height - 5), (200, 100)):
            xdotool("mousemove", str(x), str(y))
            time.sleep(0.2)
        time.sleep(1.0)
        self.assertIsNone(proc.poll(), "moving the mouse ended the saver")

        xdotool("key", "shift")
        self.assert_ends_within(proc, 1.0, "lone Shift")
        self.assert_nothing_left()
        self.assertEqual(trace.counts(), [-1, 0], "the pointer was not shown again")

    def test_files_that_existed_are_overwritten_then_deleted_and_a_button_ends_it(self):
        for name in BMP_NAMES:
            with open(os.path.join(self.program.path, name), "wb") as f:
                f.write(b"not a picture, left from before")
        proc = self.start_saver("/S")
        self.assert_six_bitmaps()
        xdotool("click", "1")
        self.assert_ends_within(proc, 2.0, "left button")
        self.assert_nothing_left()

    def test_a_close_from_outside_ends_it(self):
        proc = self.start_saver("/s")
        self.assertTrue(post_close(TITLE))
        self.assert_ends_within(proc, 2.0, "WM_CLOSE")
        self.assert_nothing_left()

    def test_a_second_start_ends_at_once(self):
        first = self.start_saver("/s")
        code, seconds = self.program.run("/s", timeout=30)
        self.assertEqual(code, 0)
        self.assertLess(seconds, 10)
        self.assertIsNone(first.poll(), "the first saver ended")
        self.assert_six_bitmaps()
        xdotool("click", "3")
        self.assert_ends_within(first, 2.0, "right button")
        self.assert_nothing_left()

    def test_an_empty_command_line_runs_the_saver_and_leaves_the_pointer_alone(self):
        trace = PointerTrace()
        proc = self.start_saver(trace=trace)
        self.assertTrue(pointer_shown())
        self.assert_six_bitmaps()
        xdotool("key", "ctrl")
        self.assert_ends_within(proc, 1.0, "lone Ctrl")
        self.assert_nothing_left()
        self.assertEqual(trace.counts(), [])


def run_folders(temp):
    """The folders the saver's runs made in a temporary folder, each with the files it holds."""
    return {n: sorted(os.listdir(os.path.join(temp, n))) for n in os.listdir(temp)
            if re.fullmatch(r"Tolvenar-\d+", n)}


class ReadOnlyProgramDirectory(SaverTestCase):
    def setUp(self):
        super().setUp()
        self.temp = user_folder("Temp")
        self.assertEqual(run_folders(self.temp), {}, "left from before")
        self.addCleanup(lambda: [shutil.rmtree(os.path.join(self.temp, n), True)
                                 for n in run_folders(self.temp)])

    def test_draws_the_city_from_the_temporary_folder_and_leaves_nothing_behind(self):
        make_read_only(self, self.program.path)
        proc = self.start_saver("/s")
        self.assertEqual(list(run_folders(self.temp).values()), [BMP_NAMES])
        time.sleep(2)  # the first frames
        first = city_frame()
        time.sleep(1)
        second = city_frame()
        self.assertGreaterEqual(len(set(first[::7])), 500, "the frame shows no city detail")
        changed = sum(1 for a, b in zip(first, second) if a != b)
        self.assertGreater(changed, len(first) * 0.05, "the picture did not change over a second")
        xdotool("key", "shift")
        self.assert_ends_within(proc, 2.0, "lone Shift")
        self.assert_nothing_left()
        self.assertEqual(run_folders(self.temp), {})
        self.assertEqual([n for n in BMP_NAMES if os.path.exists(os.path.join(self.temp, n))], [])
        self.assertFalse(os.path.exists(USER_INI_FOLDER))

    def test_the_next_run_removes_what_a_killed_one_left(self):
        make_read_only(self, self.program.path)
        killed = self.start_saver("/s")
        left = run_folders(self.temp)
        self.assertEqual(list(left.values()), [BMP_NAMES])
        killed.kill()
        killed.wait(10)
        self.assertTrue(wait_for(lambda: find_window(TITLE) is None, 10))
        self.assertEqual(run_folders(self.temp), left, "a killed run removes nothing")
        proc = self.start_saver("/s")
        running = run_folders(self.temp)
        self.assertEqual(list(running.values()), [BMP_NAMES])
        self.assertNotEqual(list(running), list(left), "the killed run's folder is still there")
        xdotool("key", "shift")
        self.assert_ends_within(proc, 2.0, "lone Shift")
        self.assertEqual(run_folders(self.temp), {})


class Music(SaverTestCase):
    def test_a_music_file_plays_while_it_runs_and_stops_when_it_ends(self):
        for name in ("Tone.Mp3", "Tone.wav"):  # the file player; the wave-sound loop
            with self.subTest(file=name):
                self.listen(name)

    def listen(self, name):
        music = os.path.join(self.program.path, name)
        make_music(music)
        self.program.write_ini(b"[Section]\r\nBGM\x8b\xe6\x95\xaa=2\r\nBGM\xcc\xa7\xb2\xd9=" +
                               windows_path(music).encode() + b"\r\n")
        capture = os.path.join(self.program.path, "capture.raw")
        proc = self.start_saver("/s", env={"TOLVENAR_AUDIO_CAPTURE": capture})
        time.sleep(3)
        self.assertTrue(wait_for(lambda: sounding(capture), 10), "no sound was captured")
        xdotool("key", "shift")
        self.assert_ends_within(proc, 2.0, "lone Shift")
        size = os.path.getsize(capture)
        time.sleep(1.5)
        self.assertEqual(os.path.getsize(capture), size, "sound went on after the end")
        os.remove(capture)
        self.assertEqual(sorted(self.program.files()), ["Tolvenar.ini", "Tolvenar.scr", name])
        os.remove(music)


if __name__ == "__main__":
    unittest.main()
