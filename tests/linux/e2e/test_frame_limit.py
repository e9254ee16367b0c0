"""The frame limit of tolvenar --root, counted by the saver's own frame statistics
(TOLVENAR_BENCH_FILE) in a small host window: at most 60 frames a second by default, the limit
TOLVENAR_MAX_FPS sets, and none with 0, which draws as fast as the device allows and uses the more
processor time for it."""

import os
import signal
import subprocess
import tempfile
import time
import unittest

PROGRAM = os.environ.get("TOLVENAR_PROGRAM", "")
HOST_WINDOW = os.path.join(os.path.dirname(__file__), "..", "..", "..", "bench", "host_window.py")
RUN_SECONDS = 3


def processor_seconds(pid):
    """User + system time of a running process (all its threads), in seconds."""
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    # utime and stime, fields 14 and 15 (12 and 13 after the name).
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


class FrameLimit(unittest.TestCase):
    def setUp(self):
        # A host's small saver window: a rate far above the limit where there is none.
        self.host = subprocess.Popen(["python3", HOST_WINDOW, "320x240"], stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, text=True)
        self.addCleanup(self.host.wait, 10)
        self.addCleanup(self.host.stdin.close)
        self.window = self.host.stdout.readline().strip()
        self.assertTrue(self.window, "no host window")

    def run_saver(self, max_fps):
        """(frames a second, processor seconds a second) of a run; max_fps None leaves the
        variable unset."""
        with tempfile.TemporaryDirectory() as work:
            stats = os.path.join(work, "frames.txt")
            env = dict(os.environ, XSCREENSAVER_WINDOW=self.window, TOLVENAR_BENCH_FILE=stats)
            env.pop("TOLVENAR_MAX_FPS", None)
            if max_fps is not None:
                env["TOLVENAR_MAX_FPS"] = max_fps
            saver = subprocess.Popen([PROGRAM, "--root"], env=env)
            try:
                time.sleep(RUN_SECONDS)
                self.assertIsNone(saver.poll(), "the saver ended by itself")
                processor = processor_seconds(saver.pid) / RUN_SECONDS
                saver.send_signal(signal.SIGTERM)
                self.assertEqual(saver.wait(timeout=5), 0)
            finally:
                if saver.poll() is None:
                    saver.kill()
                    saver.wait()
            with open(stats) as f:
                values = dict(line.split() for line in f)
        frames, seconds = int(values["frames"]), float(values["seconds"])
        self.assertGreater(frames, 10)
        # Frames from the first to the last: frames - 1 intervals.
        return (frames - 1) / seconds, processor

    def test_the_limit_holds_and_zero_lifts_it(self):
        default_fps, default_processor = self.run_saver(None)
        self.assertLessEqual(default_fps, 60.01)
        self.assertGreater(default_fps, 20, "drawing far below the limit")
        set_fps, _ = self.run_saver("25")
        self.assertLessEqual(set_fps, 25.01)
        self.assertGreater(set_fps, 12)
        free_fps, free_processor = self.run_saver("0")
        self.assertGreater(free_fps, 120, "no limit, yet no faster than twice the default one")
        self.assertLess(default_processor, free_processor / 2)
        print(f"fps: default {default_fps:.1f}, 25: {set_fps:.1f}, 0: {free_fps:.1f}; processor "
              f"seconds a second: default {default_processor:.2f}, 0: {free_processor:.2f}")


if __name__ == "__main__":
    unittest.main()
