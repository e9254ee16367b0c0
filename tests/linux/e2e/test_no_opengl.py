"""tolvenar on an X server without OpenGL (a remote display, some VNC servers): it says why on
standard error and ends with status 1 at once, before any music has started."""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "e2e"))
from test_settings_dialog import ini_bytes  # noqa: E402  the Windows tests' INI bytes

PROGRAM = os.environ.get("TOLVENAR_PROGRAM", "")


class NoOpenGl(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="tolvenar-nogl-")
        self.addCleanup(shutil.rmtree, self.folder, True)
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", "1", "-extension", "GLX", "-nolisten", "tcp", "-screen", "0",
             "640x480x24"], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.addCleanup(self.xvfb.wait, 10)
        self.addCleanup(self.xvfb.terminate)
        self.display = ":" + self.xvfb.stdout.readline().decode().strip()

    def test_says_why_and_plays_nothing(self):
        wav = os.path.join(self.folder, "loop.wav")
        subprocess.run(["sox", "-n", "-r", "44100", "-c", "2", "-b", "16", wav, "synth", "0.5",
                        "sine", "440"], check=True, timeout=30)
        ini = os.path.join(self.folder, "Tolvenar.ini")
        with open(ini, "wb") as f:
            f.write(ini_bytes(b"2", b"0", wav.encode()))
        sound = os.path.join(self.folder, "sound.raw")
        env = dict(os.environ, DISPLAY=self.display, TOLVENAR_INI=ini,
                   XDG_RUNTIME_DIR=self.folder, TOLVENAR_AUDIO_SINK=f"filesink location={sound}")
        env.pop("XSCREENSAVER_WINDOW", None)
        for args in (["--root"], []):
            with self.subTest(args=args):
                result = subprocess.run([PROGRAM, *args], env=env, capture_output=True, timeout=10)
                self.assertEqual(result.returncode, 1)
                self.assertIn(b"no OpenGL", result.stderr)
                self.assertFalse(os.path.exists(sound), "music played")


if __name__ == "__main__":
    unittest.main()
