"""Start-up: switches that end at once, the instance guard and the settings file left alone."""

import time
import unittest

from tolvenar_e2e import E2ETestCase, find_window


class EndsAtOnce(E2ETestCase):
    def test_other_switches_end_without_a_window(self):
        self.program.write_ini(b"[Section]\r\nBGM\x8b\xe6\x95\xaa=2\r\n")
        before = open(self.program.ini, "rb").read()
        for args in (["/x"], ["s"], ["/a", "1234"]):
            with self.subTest(args=args):
                code, seconds = self.program.run(*args, timeout=30)
                self.assertEqual(code, 0)
                self.assertLess(seconds, 10)
                self.assertIsNone(find_window("Tolvenar_Main"))
                self.assertIsNone(find_window("<Tolvenar>"))
                # Settings were read, nothing written: the folder holds only the program and its INI.
                self.assertEqual(self.program.files(), ["Tolvenar.ini", "Tolvenar.scr"])
                self.assertEqual(open(self.program.ini, "rb").read(), before)


if __name__ == "__main__":
    unittest.main()
