"""A person's path through both programs with the system's own parts: tolvenar --settings driven
with real input (MP3/WAV, "...", the path typed into the chooser, Set), then tolvenar --root plays
the file into ALSA's default device. Nothing is redirected: the settings land in the user's
configuration folder as the dialog writes them, and the sound goes where GStreamer's automatic sink
sends it; the user's ~/.asoundrc makes ALSA's default device a file, as the Windows tests' does."""

import array
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "e2e"))
from test_settings import wait_for, window_named, xdotool  # noqa: E402  the dialog by real input
from test_settings_dialog import (FILE_BUTTON, LABELS, PANEL, SET_BUTTON,  # noqa: E402
                                  TITLE, CHOOSER_TITLE, ini_bytes)

PROGRAM = os.environ.get("TOLVENAR_PROGRAM", "")
TPP = 15  # twips per pixel at the test display's 96 dpi
LOUD = 1000  # a 16-bit sample above this is sound, not noise
# ALSA's default device as scripts/asoundrc makes it (a file behind the null device), behind a plug
# that fixes the format, so that the capture reads as 16-bit samples whatever the player sends. The
# null device takes sound far faster than real time (tens of megabytes a second at CD quality), so
# the capture is kept small: one channel at 8000 Hz.
ASOUNDRC = """pcm.!default {
  type plug
  slave { pcm "capture" format S16_LE rate 8000 channels 1 }
}
pcm.capture {
  type file
  slave.pcm "null"
  file { @func getenv vars [ TOLVENAR_AUDIO_CAPTURE ] default "/dev/null" }
  format "raw"
}
"""
# What would send the settings or the sound elsewhere than a user's own run does.
OVERRIDES = ("TOLVENAR_INI", "TOLVENAR_AUDIO_SINK", "XSCREENSAVER_WINDOW", "PULSE_SERVER",
             "ALSA_CONFIG_PATH")


class Capture:
    """The file ALSA's default device writes: raw 16-bit samples, emptied at each open."""

    CHUNK = 1 << 20  # the most read at one call

    def __init__(self, path):
        self.path, self.read, self.loudest = path, 0, 0

    def take(self):
        """Reads on from where the last call stopped; the loudest sample so far."""
        try:
            with open(self.path, "rb") as f:
                f.seek(0, os.SEEK_END)
                if f.tell() < self.read:
                    self.read = 0  # opened again: the file starts over
                f.seek(self.read)
                data = f.read(self.CHUNK)
        except FileNotFoundError:
            return self.loudest
        data = data[:len(data) // 2 * 2]
        self.read += len(data)
        samples = array.array("h", data)
        if samples:
            self.loudest = max(self.loudest, max(samples), -min(samples))
        return self.loudest


class UserJourney(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.sounds = tempfile.mkdtemp(prefix="tolvenar-journey-sounds-")
        cls.wav = os.path.join(cls.sounds, "tone.wav")
        subprocess.run(["sox", "-q", "-n", "-r", "44100", "-c", "2", "-b", "16", cls.wav, "synth",
                        "2", "sine", "440", "vol", "0.5"], check=True, timeout=30)
        cls.mp3 = os.path.join(cls.sounds, "tone.mp3")
        subprocess.run(["lame", "--quiet", cls.wav, cls.mp3], check=True, timeout=30)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.sounds, ignore_errors=True)

    def setUp(self):
        self.assertTrue(PROGRAM and os.path.exists(PROGRAM), "TOLVENAR_PROGRAM names tolvenar")

    def user(self):
        """A fresh user: a home with ~/.asoundrc, the XDG folders, nothing redirected."""
        home = tempfile.mkdtemp(prefix="tolvenar-journey-")
        self.addCleanup(shutil.rmtree, home, ignore_errors=True)
        runtime = os.path.join(home, "run")
        os.mkdir(runtime, 0o700)
        with open(os.path.join(home, ".asoundrc"), "w") as f:
            f.write(ASOUNDRC)
        env = {k: v for k, v in os.environ.items() if k not in OVERRIDES}
        env.update(HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                   XDG_RUNTIME_DIR=runtime,
                   TOLVENAR_AUDIO_CAPTURE=os.path.join(home, "capture.raw"))
        return home, env

    def pick_in_the_dialog(self, env, path):
        """tolvenar --settings: MP3/WAV, "...", the path typed into the chooser, Set."""
        errors = tempfile.TemporaryFile()
        proc = subprocess.Popen([PROGRAM, "--settings"], env=env, stdout=subprocess.DEVNULL,
                                stderr=errors)
        try:
            window = wait_for(lambda: window_named(TITLE) or proc.poll() is not None, 30)
            if window is True or not window:
                # Seen now and then in whole-suite runs and not yet explained: the dialog never
                # shows. What the program said and how it ended go into the log, and the person's
                # second try is made once more.
                errors.seek(0)
                said = errors.read().decode(errors="replace")[-2000:]
                print(f"the dialog did not appear: status {proc.poll()}; it said:\n{said}",
                      file=sys.stderr)
                if proc.poll() is None:
                    proc.kill()
                    proc.wait(timeout=10)
                time.sleep(1)
                proc = subprocess.Popen([PROGRAM, "--settings"], env=env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                window = wait_for(lambda: window_named(TITLE), 30)
            self.assertIsNotNone(window, "the dialog did not appear")
            geometry = dict(line.split("=", 1) for line in
                            xdotool("getwindowgeometry", "--shell", window).split())
            left, top = int(geometry["X"]), int(geometry["Y"])

            def at(twips_x, twips_y, in_panel=True):
                ox, oy = PANEL if in_panel else (0, 0)
                return left + (ox + twips_x) // TPP, top + (oy + twips_y) // TPP

            def press_centre(place, in_panel):
                x, y = at(place[0] + place[2] // 2, place[1] + place[3] // 2, in_panel)
                # Onto the skinned button as a hand comes: it counts a still pointer as away.
                xdotool("mousemove", str(x - 2), str(y - 1))
                time.sleep(0.2)
                xdotool("mousemove", str(x), str(y), "click", "1")

            time.sleep(0.5)  # first paint
            xdotool("mousemove", *map(str, at(LABELS[2][0] + 60, LABELS[2][1] + 90)), "click", "1")
            time.sleep(0.3)
            press_centre(FILE_BUTTON, in_panel=True)
            self.assertTrue(wait_for(lambda: window_named(CHOOSER_TITLE), 30), "no chooser")
            time.sleep(1)
            xdotool("type", "--delay", "30", path)
            time.sleep(0.3)
            xdotool("key", "Return")
            self.assertTrue(wait_for(lambda: not window_named(CHOOSER_TITLE), 20),
                            "the chooser stayed open")
            time.sleep(0.3)
            press_centre(SET_BUTTON, in_panel=False)
            self.assertEqual(proc.wait(timeout=20), 0)
        finally:
            if proc.poll() is None:
                proc.kill()
                proc.wait(timeout=10)

    def listen_to_the_saver(self, env):
        """tolvenar --root until its music is heard, then SIGTERM: (seconds to the first sound,
        the loudest sample)."""
        capture = Capture(env["TOLVENAR_AUDIO_CAPTURE"])
        started = time.monotonic()
        saver = subprocess.Popen([PROGRAM, "--root"], env=env)
        try:
            first_sound = None
            while time.monotonic() - started < 20:  # a loaded machine: seconds, not tenths
                if capture.take() > LOUD:
                    first_sound = time.monotonic() - started
                    break
                self.assertIsNone(saver.poll(), "the saver ended by itself")
                time.sleep(0.05)
            time.sleep(0.5)  # and it goes on
            self.assertIsNone(saver.poll(), "the saver ended by itself")
            saver.send_signal(signal.SIGTERM)
            self.assertEqual(saver.wait(timeout=5), 0)
        finally:
            if saver.poll() is None:
                saver.kill()
                saver.wait()
        return first_sound, capture.loudest

    def test_the_music_picked_in_the_dialog_is_heard(self):
        cases = [("MP3", "Music", "tune.mp3", self.mp3),
                 ("WAV", "Music", "loop.wav", self.wav),
                 # ソ and 表 end in the byte of "\"; a blank.
                 ("Japanese name", "音楽", "ソ表 夜の曲.mp3", self.mp3)]
        for name, folder, file, sound in cases:
            with self.subTest(name):
                home, env = self.user()
                os.mkdir(os.path.join(home, folder))
                path = os.path.join(home, folder, file)
                shutil.copyfile(sound, path)
                self.pick_in_the_dialog(env, path)
                ini = os.path.join(home, ".config", "tolvenar", "Tolvenar.ini")
                with open(ini, "rb") as f:
                    self.assertEqual(f.read(), ini_bytes(b"2", b"0", path.replace(
                        "/", "\\").encode("cp932")), "stored as the Windows build stores paths")
                first_sound, loudest = self.listen_to_the_saver(env)
                heard = "after %.2f s" % first_sound if first_sound is not None else "never"
                print("%s: first sound %s, loudest sample %d" % (name, heard, loudest),
                      file=sys.stderr)
                self.assertIsNotNone(first_sound, "never heard")
                self.assertGreater(loudest, LOUD)


if __name__ == "__main__":
    unittest.main()
