"""tolvenar --root as XScreenSaver runs it, with each kind of music in the settings file the Windows
build reads (the same bytes), the sound caught by a file sink: an MP3 and a WAV reach it, no music
and an audio CD without a drive stay silent, and the run ends cleanly on SIGTERM."""

import array
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest
import wave

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "e2e"))
from test_settings_dialog import ini_bytes  # noqa: E402  the Windows tests' INI bytes

PROGRAM = os.environ.get("TOLVENAR_PROGRAM", "")
HOST_WINDOW = os.path.join(os.path.dirname(__file__), "..", "..", "..", "bench", "host_window.py")
RUN_SECONDS = 3


def root_window():
    out = subprocess.run(["xwininfo", "-root"], capture_output=True, text=True, check=True,
                         timeout=10).stdout
    return next(line.split()[3] for line in out.splitlines() if "Window id:" in line)


def loudest_sample(path):
    """The largest absolute 16-bit sample of a WAV file; 0 when it holds no sound at all."""
    if not os.path.exists(path) or os.path.getsize(path) <= 44:
        return 0
    with wave.open(path, "rb") as w:
        if w.getsampwidth() != 2:
            return 0
        samples = array.array("h", w.readframes(w.getnframes()))
    return max((abs(s) for s in samples), default=0)


class MusicKinds(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="tolvenar-e2e-")
        cls.mp3 = os.path.join(cls.folder, "ソ表 tune.mp3")  # trail bytes 5C, a blank
        cls.wav = os.path.join(cls.folder, "loop.wav")
        subprocess.run(["sox", "-n", "-r", "44100", "-c", "2", "-b", "16", cls.wav, "synth", "0.5",
                        "sine", "440", "vol", "0.5"], check=True, timeout=30)
        subprocess.run(["lame", "--quiet", cls.wav, cls.mp3], check=True, timeout=30)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.folder, ignore_errors=True)

    def run_saver(self, ini, host_size=None):
        """Runs tolvenar --root for a few seconds on the given INI bytes, on the root window or a
        host's window of host_size ("200x150"); the captured sound."""
        work = tempfile.mkdtemp(prefix="tolvenar-run-", dir=self.folder)
        ini_path = os.path.join(work, "Tolvenar.ini")
        with open(ini_path, "wb") as f:
            f.write(ini)
        sound = os.path.join(work, "sound.wav")
        window = root_window()
        if host_size:
            host = subprocess.Popen([sys.executable, HOST_WINDOW, host_size], text=True,
                                    stdin=subprocess.PIPE, stdout=subprocess.PIPE)
            self.addCleanup(host.wait, 10)
            self.addCleanup(host.stdin.close)
            window = host.stdout.readline().strip()
        env = dict(os.environ, TOLVENAR_INI=ini_path, XSCREENSAVER_WINDOW=window,
                   TOLVENAR_AUDIO_SINK=f"wavenc ! filesink location={sound}")
        saver = subprocess.Popen([PROGRAM, "--root"], env=env)
        try:
            time.sleep(RUN_SECONDS)
            self.assertIsNone(saver.poll(), "the saver ended by itself")
            with open(f"/proc/{saver.pid}/maps") as f:
                libraries = {line.split()[-1] for line in f if ".so" in line}
            # The settings dialog is a program of its own: the saver never loads GTK.
            self.assertEqual([l for l in libraries if "libgtk" in l or "libgdk-3" in l], [])
            sent = time.monotonic()
            saver.send_signal(signal.SIGTERM)
            self.assertEqual(saver.wait(timeout=5), 0)
            self.assertLess(time.monotonic() - sent, 1.0)
        finally:
            if saver.poll() is None:
                saver.kill()
                saver.wait()
        with open(ini_path, "rb") as f:
            self.assertEqual(f.read(), ini, "a saver run does not write its settings")
        return loudest_sample(sound)

    def test_each_kind_of_music(self):
        cases = [
            ("none", ini_bytes(b"0", b"0"), False),
            ("audio CD without a drive", ini_bytes(b"1", b"0"), False),
            ("MP3 at a code page 932 path", ini_bytes(b"2", b"0", self.mp3.encode("cp932")), True),
            ("WAV, looped", ini_bytes(b"2", b"0", self.wav.encode("cp932")), True),
            ("a Windows path", ini_bytes(b"2", b"0", b"C:\\Music\\tune.mp3"), False),
        ]
        mp3 = ini_bytes(b"2", b"0", self.mp3.encode("cp932"))
        # A host's preview widget runs the --root command line too: silent there.
        cases = [(*case, None) for case in cases] + [("MP3 in a host's preview widget", mp3, False,
                                                      "200x150")]
        for name, ini, audible, host_size in cases:
            with self.subTest(name):
                loudest = self.run_saver(ini, host_size)
                if audible:
                    self.assertGreater(loudest, 1000)
                else:
                    self.assertEqual(loudest, 0)

    def test_the_next_saver_takes_the_music_over(self):
        """Two savers of one user (two monitors, or a host's restart): one plays; when it ends,
        killed outright, the other starts the music within a second."""
        work = tempfile.mkdtemp(prefix="tolvenar-lock-", dir=self.folder)
        ini_path = os.path.join(work, "Tolvenar.ini")
        with open(ini_path, "wb") as f:
            f.write(ini_bytes(b"2", b"0", self.wav.encode("cp932")))
        savers, sounds = [], []
        try:
            for i in range(2):
                sounds.append(os.path.join(work, f"sound{i}.raw"))
                # Raw samples at a sound card's pace: the file grows only while sound plays.
                sink = ("audioconvert ! audio/x-raw,format=S16LE,rate=44100,channels=2 ! "
                        f"filesink sync=true location={sounds[i]}")
                env = dict(os.environ, TOLVENAR_INI=ini_path, XDG_RUNTIME_DIR=work,
                           XSCREENSAVER_WINDOW=root_window(), TOLVENAR_AUDIO_SINK=sink)
                savers.append(subprocess.Popen([PROGRAM, "--root"], env=env))
                time.sleep(1.5)
            size = lambda path: os.path.getsize(path) if os.path.exists(path) else 0
            self.assertGreater(size(sounds[0]), 0, "the first saver plays")
            self.assertEqual(size(sounds[1]), 0, "the second stays silent meanwhile")
            savers[0].kill()
            savers[0].wait()
            killed = time.monotonic()
            while size(sounds[1]) == 0 and time.monotonic() - killed < 5:
                time.sleep(0.05)
            self.assertGreater(size(sounds[1]), 0, "the second saver never took the music over")
            self.assertLess(time.monotonic() - killed, 1.0)
            self.assertTrue(os.path.exists(os.path.join(work, "tolvenar-music.lock")),
                            "the lock file stays while savers may have it open")
        finally:
            for saver in savers:
                if saver.poll() is None:
                    saver.send_signal(signal.SIGTERM)
                    saver.wait(timeout=5)


if __name__ == "__main__":
    unittest.main()
