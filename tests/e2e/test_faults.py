"""Faults and bad input around the saver: damaged or locked settings files, music files that are
missing, odd or vanish while playing, bitmap files that cannot be written, and many start-stop
cycles. Every case must end cleanly on a key, leave nothing behind and never touch the INI file."""

import os
import shutil
import subprocess
import time
import unittest

from test_saver import BMP_NAMES, TITLE, SaverTestCase
from tolvenar_e2e import (PROBE, find_window, make_read_only, user_folder, wait_for, windows_path,
                          xdotool)

KIND = b"BGM\x8b\xe6\x95\xaa"
FILE = b"BGM\xcc\xa7\xb2\xd9"


def saver_processes(program_dir):
    """Linux pids of the saver processes started from this program directory."""
    pattern = os.path.join(os.path.basename(program_dir), "Tolvenar.scr")
    done = subprocess.run(["pgrep", "-f", pattern], capture_output=True, text=True)
    return [int(p) for p in done.stdout.split()]


def settled_rss_kib(program_dir, limit=5.0):
    """The saver's resident size once it has stopped growing (the 3D device made): on a busy
    machine a fixed moment after the start can come before that."""
    def largest():
        return max((rss_kib(p) for p in saver_processes(program_dir)), default=0)
    end = time.monotonic() + limit
    last = largest()
    while time.monotonic() < end:
        time.sleep(0.2)
        now = largest()
        if last and abs(now - last) <= last // 100:
            return now
        last = now
    return last


def read(path):
    with open(path, "rb") as f:
        return f.read()


def rss_kib(pid):
    try:
        with open("/proc/%d/status" % pid) as f:
            for line in f:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return 0


class FaultTestCase(SaverTestCase):
    def run_and_end_on_a_key(self, *args):
        proc = self.start_saver(*args)
        time.sleep(0.5)
        xdotool("key", "shift")
        self.assert_ends_within(proc, 3.0, "shift")

    def assert_left_only(self, *names):
        self.assertEqual(self.program.files(), sorted(["Tolvenar.scr", *names]))
        self.assertIsNone(find_window(TITLE))


class DamagedSettingsFile(FaultTestCase):
    def test_garbage_empty_and_huge_files_run_silently_and_stay_untouched(self):
        cases = {
            "binary garbage": bytes((i * 7919 + 13) % 256 for i in range(64 * 1024)),
            "empty": b"",
            "huge": b"[Section]\r\n" + b"k=" + b"x" * 300 + b"\r\n" * 1 + b";" * (4 << 20) + b"\r\n" +
                    KIND + b"=2\r\n",
            "no section": KIND + b"=1\r\n",
        }
        for what, data in cases.items():
            with self.subTest(what):
                self.program.write_ini(data)
                self.run_and_end_on_a_key("/s")
                self.assertEqual(read(self.program.ini), data)
                self.assert_left_only("Tolvenar.ini")

    def test_a_locked_settings_file_reads_as_empty(self):
        data = b"[Section]\r\n" + KIND + b"=2\r\n"
        self.program.write_ini(data)
        holder = subprocess.Popen(["wine", PROBE, "hold", windows_path(self.program.ini)],
                                  stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.addCleanup(holder.wait, 10)
        self.addCleanup(holder.kill)
        self.addCleanup(holder.stdout.close)
        self.assertEqual(holder.stdout.readline().strip(), b"held")
        self.run_and_end_on_a_key("/s")
        holder.kill()
        self.assertEqual(read(self.program.ini), data)


class BadMusic(FaultTestCase):
    def make_mp3(self, name, seconds=5):
        wav = os.path.join(self.program.path, "tone.wav")
        mp3 = os.path.join(self.program.path, name)
        subprocess.run(["sox", "-n", "-r", "22050", "-c", "1", wav, "synth", str(seconds), "sine",
                        "330"], check=True, timeout=60)
        subprocess.run(["lame", "--quiet", wav, mp3], check=True, timeout=60)
        os.remove(wav)
        return mp3

    def use_music(self, kind, path):
        self.program.write_ini(b"[Section]\r\n" + KIND + b"=" + str(kind).encode() + b"\r\n" + FILE +
                               b"=" + windows_path(path).encode() + b"\r\n")

    def test_music_files_that_cannot_play_leave_the_saver_silent(self):
        folder = os.path.join(self.program.path, "folder.mp3")
        os.mkdir(folder)
        text = os.path.join(self.program.path, "text.mp3")
        with open(text, "wb") as f:
            f.write(b"this is not audio\r\n" * 100)
        fake_wav = os.path.join(self.program.path, "text.wav")
        with open(fake_wav, "wb") as f:
            f.write(b"RIFF\x00\x00\x00\x00WAVEjunk")
        truncated = self.make_mp3("cut.mp3")
        with open(truncated, "r+b") as f:
            f.truncate(700)
        cases = [("missing", 2, os.path.join(self.program.path, "gone.mp3")),
                 ("a folder", 2, folder), ("not audio", 2, text), ("a broken wav", 2, fake_wav),
                 ("truncated", 2, truncated), ("an audio CD without a drive", 1, truncated)]
        for what, kind, path in cases:
            with self.subTest(what):
                self.use_music(kind, path)
                before = read(self.program.ini)
                self.run_and_end_on_a_key("/s")
                self.assertEqual(read(self.program.ini), before)
                self.assertFalse(any(os.path.exists(os.path.join(self.program.path, n))
                                     for n in BMP_NAMES))

    def test_without_a_wave_output_device_the_saver_runs_silent(self):
        # ALSA with no configuration has no device at all, so winmm offers no wave output.
        no_sound = os.path.join(self.program.path, "no-sound.conf")
        with open(no_sound, "w") as f:
            f.write("# no sound card, no default device\n")
        env = {"ALSA_CONFIG_PATH": no_sound}
        devices = subprocess.run(["wine", PROBE, "wavedevs"], capture_output=True, text=True,
                                 env={**os.environ, **env}, timeout=30).stdout.strip()
        self.assertEqual(devices, "0", "the machine still offers a wave device")
        mp3 = self.make_mp3("tone.mp3")
        wav = os.path.join(self.program.path, "tone.wav")
        subprocess.run(["sox", "-n", "-r", "22050", "-c", "1", wav, "synth", "3", "sine", "440"],
                       check=True, timeout=60)
        for what, path in [("a WAV file", wav), ("an MP3 file", mp3)]:
            with self.subTest(what):
                self.use_music(2, path)
                before = read(self.program.ini)
                proc = self.start_saver("/s", env=env)
                time.sleep(2.5)  # past the MP3 watcher's first look
                self.assertIsNone(proc.poll())
                xdotool("key", "shift")
                self.assert_ends_within(proc, 3.0, "shift")
                self.assertEqual(read(self.program.ini), before)
                self.assert_left_only("Tolvenar.ini", "no-sound.conf", "tone.mp3", "tone.wav")

    def test_a_music_file_deleted_while_playing(self):
        mp3 = self.make_mp3("short.mp3", seconds=2)
        self.use_music(2, mp3)
        proc = self.start_saver("/s")
        os.remove(mp3)
        time.sleep(3.5)  # the one-second watcher now restarts a file that is gone
        self.assertIsNone(proc.poll())
        xdotool("key", "shift")
        self.assert_ends_within(proc, 3.0, "shift")
        self.assert_left_only("Tolvenar.ini")


class UnwritableBitmaps(FaultTestCase):
    def test_bitmaps_go_to_the_temporary_folder_and_the_saver_ends_at_once_without_one(self):
        temp = user_folder("Temp")
        cases = [  # (what, folders whose bitmap names are taken by folders, read-only file, runs)
            ("names taken in the program folder", [self.program.path], None, True),
            ("a read-only bitmap file", [], BMP_NAMES[2], True),
            # A run writes into a folder of its own there, which it cannot make.
            ("names taken, and a read-only temporary folder", [self.program.path, temp], None,
             False),
        ]
        for what, taken, read_only, runs in cases:
            with self.subTest(what):
                made = [os.path.join(folder, name) for folder in taken for name in BMP_NAMES]
                for path in made:
                    os.mkdir(path)
                    self.addCleanup(shutil.rmtree, path, True)
                if temp in taken:
                    make_read_only(self, temp)
                if read_only:
                    path = os.path.join(self.program.path, read_only)
                    with open(path, "wb") as f:
                        f.write(b"stale")
                    make_read_only(self, path)
                if runs:
                    self.run_and_end_on_a_key("/s")
                else:
                    code, seconds = self.program.run("/s", timeout=30)
                    self.assertEqual(code, 0)
                    self.assertLess(seconds, 10)
                left = [os.path.relpath(p, self.program.path) for p in made
                        if p.startswith(self.program.path)]
                self.assert_left_only(*left, *([read_only] if read_only else []))
                self.assertEqual([n for n in BMP_NAMES if os.path.isfile(os.path.join(temp, n))], [])
                if read_only:
                    self.assertEqual(read(path), b"stale")
                    subprocess.run(["chattr", "-i", path], check=True)
                    os.remove(path)
                self.assertEqual([n for n in os.listdir(temp) if n.startswith("Tolvenar-")], [])
                if temp in taken:
                    subprocess.run(["chattr", "-i", temp], check=True)
                for path in made:
                    os.rmdir(path)


class StartStopCycles(FaultTestCase):
    CYCLES = int(os.environ.get("TOLVENAR_CYCLES", "200"))

    def test_many_runs_leave_no_process_file_or_window_and_do_not_grow(self):
        peaks = []
        for cycle in range(self.CYCLES):
            proc = self.program.start("/s")
            shown = wait_for(lambda: proc.poll() is not None or all(
                os.path.exists(os.path.join(self.program.path, n)) for n in BMP_NAMES), 30, 0.05)
            self.assertTrue(shown and proc.poll() is None, "cycle %d did not start: exit code %s, "
                            "files %s" % (cycle, proc.poll(), self.program.files()))
            time.sleep(0.3)
            if 2 <= cycle < 12 or cycle >= self.CYCLES - 10:
                peaks.append(settled_rss_kib(self.program.path))
            xdotool("key", "shift")
            try:
                proc.wait(timeout=10)
            except subprocess.TimeoutExpired:
                proc.kill()
                self.fail("cycle %d: the saver did not end on a key" % cycle)
            self.assertEqual(proc.returncode, 0, "cycle %d" % cycle)
        self.assertEqual(saver_processes(self.program.path), [])
        self.assertEqual(self.program.files(), ["Tolvenar.scr"])
        self.assertIsNone(find_window(TITLE))
        if self.CYCLES >= 20:
            # The largest of ten settled sizes, early and late.
            early = max(peaks[:10])
            late = max(peaks[-10:])
            self.assertLess(late, early * 1.2 + 2048, "memory grew: %d KiB -> %d KiB" % (early, late))


if __name__ == "__main__":
    unittest.main()
