"""Music files and folders with Japanese names, in code page 932: many such characters end in the
byte of "\\" (表 is 95 5C, ソ 83 5C). The saver plays them and the settings dialog shows and keeps
them, with the INI file's bytes unchanged."""

import os
import shutil
import time
import unittest

from test_saver import BMP_NAMES, SaverTestCase, make_music, run_folders, sounding
from test_settings_dialog import CANCEL_BUTTON, LABELS, SET_BUTTON, Dialog, ini_bytes
from tolvenar_e2e import JAPANESE, make_read_only, user_folder, wait_for, windows_path, xdotool


class JapaneseNames(SaverTestCase):
    def test_the_saver_plays_and_the_dialog_keeps_code_page_932_names(self):
        mp3 = os.path.join(self.program.path, "tone.mp3")
        make_music(mp3)
        cases = [  # (folder, file, music plays)
            ("表", "ソナタ.mp3", True),
            ("", "表.mp3", True),
            ("能", "表", False),  # no music ending: plays nothing, but stays chosen
        ]
        for folder, name, plays in cases:
            with self.subTest(folder=folder, name=name):
                os.makedirs(os.path.join(self.program.path, folder), exist_ok=True)
                music = os.path.join(self.program.path, folder, name)
                shutil.copy(mp3, music)
                path = windows_path(self.program.path).encode() + b"\\"
                if folder:
                    path += folder.encode("cp932") + b"\\"
                path += name.encode("cp932")
                ini = ini_bytes(b"2", b"0", path)
                self.program.write_ini(ini)

                capture = os.path.join(self.program.path, "capture.raw")
                proc = self.start_saver("/s", env={**JAPANESE, "TOLVENAR_AUDIO_CAPTURE": capture})
                if plays:
                    time.sleep(3)
                    self.assertTrue(wait_for(lambda: sounding(capture), 10), "no sound")
                xdotool("key", "shift")
                self.assert_ends_within(proc, 2.0, "lone Shift")
                if os.path.exists(capture):
                    os.remove(capture)

                # The dialog opens on the file kind; Cancel writes nothing and Set writes the
                # same bytes back.
                for button in (CANCEL_BUTTON, SET_BUTTON):
                    dialog = Dialog(self, env=JAPANESE)
                    self.assertEqual(dialog.blue_marks(), [2])
                    self.assertEqual(dialog.controls(), (False, "", True))
                    dialog.press_centre(button)
                    dialog.wait_closed()
                    with open(self.program.ini, "rb") as f:
                        self.assertEqual(f.read(), ini)
                self.assertTrue(os.path.exists(music))



class UserNamedOutsideTheCodePage(SaverTestCase):
    def test_a_protected_install_draws_and_keeps_a_choice(self):
        # Ł has no code page 932 form: the user's folders are reached by their short names.
        home = os.path.join(os.path.dirname(user_folder()), "Łukasz")
        temp = os.path.join(home, "Temp")
        local = os.path.join(home, "AppData", "Local")
        os.makedirs(temp)
        os.makedirs(local)
        self.addCleanup(shutil.rmtree, home, True)
        self.program.windows_env = {"TEMP": "C:\\users\\Łukasz\\Temp",
                                    "TMP": "C:\\users\\Łukasz\\Temp",
                                    "LOCALAPPDATA": "C:\\users\\Łukasz\\AppData\\Local"}
        make_read_only(self, self.program.path)

        proc = self.start_saver("/s", env=JAPANESE)
        self.assertEqual(list(run_folders(temp).values()), [BMP_NAMES])
        xdotool("key", "shift")
        self.assert_ends_within(proc, 2.0, "lone Shift")
        self.assertEqual(run_folders(temp), {})

        dialog = Dialog(self, env=JAPANESE)
        dialog.press(LABELS[1])
        dialog.press_centre(SET_BUTTON)
        dialog.wait_closed()
        self.assertTrue(os.path.exists(os.path.join(local, "Tolvenar", "Tolvenar.ini")))
        dialog = Dialog(self, env=JAPANESE)
        self.assertEqual(dialog.blue_marks(), [1], "the choice is gone")
        dialog.press_centre(CANCEL_BUTTON)
        dialog.wait_closed()


if __name__ == "__main__":
    unittest.main()
