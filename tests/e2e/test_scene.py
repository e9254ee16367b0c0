"""The running saver draws the night-city box: not the clear colour, not black, moving, no gaps
between the faces; with TOLVENAR_BENCH_FILE it reports its frames at the end; it draws at most 60
frames a second, and as many as it can with TOLVENAR_MAX_FPS=0, using the more processor time."""

import os
import subprocess
import time
import unittest

from tolvenar_e2e import E2ETestCase, find_window, wait_for, xdotool

TITLE = "Tolvenar_Main"
CLEAR_COLOUR = (0xCC, 0xCC, 0xFF)


def read_ppm(path):
    """(width, height, bytes of R G B triples) of a binary PPM file."""
    with open(path, "rb") as f:
        data = f.read()
    fields = []
    pos = 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    assert fields[0] == b"P6" and fields[3] == b"255", fields
    return int(fields[1]), int(fields[2]), data[pos + 1:]


def processor_seconds(pid):
    """User + system time of a running process (all its threads), in seconds."""
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    # utime and stime, fields 14 and 15 (12 and 13 after the name).
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def pixels(rgb):
    return [tuple(rgb[i:i + 3]) for i in range(0, len(rgb), 3)]


class SceneRun(E2ETestCase):
    def start(self, env=None):
        proc = self.program.start("/s", env=env)
        self.addCleanup(proc.wait, 10)
        self.addCleanup(proc.kill)
        window = wait_for(lambda: proc.poll() is not None or find_window(TITLE), 30, 0.3)
        self.assertIsNone(proc.poll(), "the saver ended before its window was seen")
        self.assertTrue(window, "no saver window")
        time.sleep(2)  # the first frames
        return proc

    def shot(self, name):
        path = os.path.join(self.program.path, name)
        subprocess.run(["import", "-window", "root", "-depth", "8", path], check=True, timeout=30)
        width, height, rgb = read_ppm(path)
        os.remove(path)
        return width, height, pixels(rgb)

    def test_shows_the_city_moving_without_gaps_between_faces(self):
        self.start()
        width, height, first = self.shot("first.ppm")
        time.sleep(1)
        _, _, second = self.shot("second.ppm")
        total = len(first)

        clear = sum(1 for p in first if p == CLEAR_COLOUR)
        # The faces cover the whole screen: a clear-colour pixel is a gap at a seam.
        self.assertEqual(clear, 0, "%d pixels show the clear colour" % clear)
        dark = sum(1 for p in first if max(p) < 8)
        self.assertLess(dark, total * 0.9, "the frame is (nearly) black")
        # The night city: lit windows, towers and sky give many colours, not a few flat faces.
        self.assertGreaterEqual(len(set(first[::7])), 500, "the frame shows no city detail")

        changed = sum(1 for a, b in zip(first, second) if a != b)
        self.assertGreater(changed, total * 0.05, "the picture did not change over a second")

    def test_reports_frames_to_the_bench_file_at_the_end(self):
        bench = os.path.join(self.program.path, "bench.txt")
        proc = self.start(env={"TOLVENAR_BENCH_FILE": bench})
        xdotool("key", "space")
        proc.wait(timeout=20)
        with open(bench) as f:
            values = dict(line.split() for line in f)
        os.remove(bench)
        self.assertGreater(int(values["frames"]), 10)
        self.assertGreater(float(values["seconds"]), 0.5)
        self.assertGreater(float(values["first_frame_ms"]), 0)

    def frames_a_second(self, max_fps):
        """(frames a second, processor seconds a second) of a run of a few seconds, the frames
        from its bench file; max_fps None leaves the variable unset."""
        bench = os.path.join(self.program.path, "bench.txt")
        env = {"TOLVENAR_BENCH_FILE": bench}
        if max_fps is not None:
            env["TOLVENAR_MAX_FPS"] = max_fps
        saved = os.environ.pop("TOLVENAR_MAX_FPS", None)
        try:
            proc = self.start(env=env)
        finally:
            if saved is not None:
                os.environ["TOLVENAR_MAX_FPS"] = saved
        # Wine runs the program in the process it was started as.
        before = processor_seconds(proc.pid)
        time.sleep(2)
        processor = (processor_seconds(proc.pid) - before) / 2
        xdotool("key", "space")
        proc.wait(timeout=20)
        with open(bench) as f:
            values = dict(line.split() for line in f)
        os.remove(bench)
        # From the first frame to the last: frames - 1 intervals.
        return (int(values["frames"]) - 1) / float(values["seconds"]), processor

    def test_draws_at_most_60_frames_a_second_the_limit_set_or_as_many_as_it_can(self):
        limited, _ = self.frames_a_second(None)
        self.assertLessEqual(limited, 60.01)
        self.assertGreater(limited, 10, "drawing far below the limit")
        # A low limit, so that a loaded machine still draws clearly more without one.
        low, low_processor = self.frames_a_second("10")
        self.assertLessEqual(low, 10.01)
        self.assertGreater(low, 5)
        unlimited, processor = self.frames_a_second("0")
        self.assertGreater(unlimited, 15, "no limit, yet no faster than the low one")
        self.assertLess(low_processor, processor)
        print(f"fps: default {limited:.1f}, 10: {low:.1f}, 0: {unlimited:.1f}; processor seconds "
              f"a second: 10: {low_processor:.2f}, 0: {processor:.2f}")


if __name__ == "__main__":
    unittest.main()
