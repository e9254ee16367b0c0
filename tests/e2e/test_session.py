"""Logging off while the program runs: `wineboot --end-session` asks every program with a window
whether the session may end, tells it that it ends, and then ends each one still running. That
reaches every program of the Wine session, so this runs in a session of its own (its own Xvfb and
prefix, see CMakeLists.txt), never in the one the other tests share."""

import os
import subprocess
import unittest

from test_preview import Host, find_preview
from test_saver import SaverTestCase
from tolvenar_e2e import PointerTrace, find_window, wait_for

# Every key the settings dialog would write, and a line of the user's own: a file any write changes.
INI = (b"[Section]\r\nBGM\x8b\xe6\x95\xaa=1\r\nBGM\xd8\xcb\xdf\xb0\xc4=12\r\n"
       b"BGM\xcc\xa7\xb2\xd9=\r\nnote=kept as it is\r\n")


class EndOfSession(SaverTestCase):
    def setUp(self):
        super().setUp()
        if not os.environ.get("TOLVENAR_OWN_SESSION"):
            self.skipTest("ends every program of its Wine session: runs in a session of its own")
        self.program.write_ini(INI)

    def end_session(self, proc):
        done = subprocess.run(["wineboot", "--end-session"], capture_output=True, timeout=60)
        self.assertEqual(done.returncode, 0, done.stderr.decode(errors="replace"))
        self.assertTrue(wait_for(lambda: proc.poll() is not None, 10), "the program still runs")

    def assert_only_the_ini_is_left_as_it_was(self):
        self.assertEqual(self.program.files(), ["Tolvenar.ini", "Tolvenar.scr"])
        with open(self.program.ini, "rb") as f:
            self.assertEqual(f.read(), INI)

    def test_the_saver_closes_before_it_is_ended(self):
        trace = PointerTrace()
        proc = self.start_saver("/s", trace=trace)
        self.end_session(proc)
        self.assertIsNone(find_window("Tolvenar_Main"))
        self.assert_only_the_ini_is_left_as_it_was()
        self.assertEqual(trace.counts(), [-1, 0], "the pointer was not shown again")

    def test_the_settings_dialog_closes_without_writing(self):
        proc = self.program.start("/c")
        self.addCleanup(proc.kill)
        shown = wait_for(lambda: (find_window("<Tolvenar>") or (0,) * 6)[5] == 1, 60, 0.3)
        self.assertTrue(shown, "the dialog did not appear")
        self.end_session(proc)
        self.assertIsNone(find_window("<Tolvenar>"))
        self.assert_only_the_ini_is_left_as_it_was()

    def test_a_preview_ends(self):
        host = Host(152, 112)
        self.addCleanup(host.close)
        proc = self.program.start("/p", str(host.handle))
        self.addCleanup(proc.kill)
        self.assertIsNotNone(wait_for(lambda: find_preview(host.handle), 20, interval=0.3))
        self.end_session(proc)
        self.assert_only_the_ini_is_left_as_it_was()


if __name__ == "__main__":
    unittest.main()
