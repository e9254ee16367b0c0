"""The settings dialog on the real program, driven with the pointer and the keyboard: picks, the
repeat field, Set and Cancel, the INI file's bytes, and what a loaded file shows."""

import os
import subprocess
import time
import unittest

from tolvenar_e2e import (PROBE, USER_INI, USER_INI_FOLDER, E2ETestCase, child_windows,
                          client_rect, find_window, make_read_only, own_user_ini, pixel, screenshot,
                          wait_for, windows_path, xdotool)

TITLE = "<Tolvenar>"
TPP = 15  # twips per pixel on the test display

# Places in twips (left, top, width, height); panel controls from the panel's corner.
PANEL = (180, 240)
MARKS = {0: (420, 1140), 1: (420, 840), 2: (420, 1440)}  # by music kind
LABELS = {0: (660, 1140), 1: (660, 840), 2: (660, 1440)}
REPEAT_BOX = (1680, 780, 615, 300)
SET_BUTTON = (4860, 2940, 1155, 375)
CANCEL_BUTTON = (6060, 2940, 1155, 375)
FILE_BUTTON = (600, 1740, 435, 375)  # in the panel
CHOOSER_TITLE = "ﾌｧｲﾙを開く"

KIND = b"BGM\x8b\xe6\x95\xaa"
REPEAT = b"BGM\xd8\xcb\xdf\xb0\xc4"
FILE = b"BGM\xcc\xa7\xb2\xd9"

BLUE_MARK = (30, 80, 210)  # the selected mark's inside


def ini_bytes(kind, repeat, file=b""):
    """The file Set writes into an empty folder."""
    return (b"[Section]\r\n" + KIND + b"=" + kind + b"\r\n" + REPEAT + b"=" + repeat + b"\r\n" +
            FILE + b"=" + file + b"\r\n")


def visible_window():
    """The dialog's window, or None; a probe slowed down by a busy machine counts as not yet."""
    try:
        return find_window(TITLE)
    except subprocess.TimeoutExpired:
        return None


def owned_window():
    """The title of the window the dialog owns (its file chooser), or None."""
    done = subprocess.run(["wine", os.environ["TOLVENAR_PROBE"], "owned", TITLE],
                          capture_output=True, timeout=20)
    lines = [line for line in done.stdout.decode("utf-8", "replace").splitlines() if "|" in line]
    return lines[0].split("|", 1)[1].rstrip("\r") if lines else None


class Dialog:
    """An open settings dialog and the screen positions of its controls."""

    def __init__(self, test, env=None):
        self.test = test
        self.proc = test.program.start("/c", env=env)
        found = wait_for(lambda: (visible_window() or (0,) * 6)[5] == 1, 60)
        test.assertTrue(found, "the dialog did not appear")
        self.client = client_rect(TITLE)
        test.assertIsNotNone(self.client)
        time.sleep(0.5)  # first paint

    def at(self, twips_x, twips_y, in_panel=True):
        ox = PANEL[0] if in_panel else 0
        oy = PANEL[1] if in_panel else 0
        return (self.client[0] + (ox + twips_x) // TPP, self.client[1] + (oy + twips_y) // TPP)

    def press(self, place, button=1, in_panel=True, dx=4, dy=6):
        x, y = self.at(place[0], place[1], in_panel)
        xdotool("mousemove", str(x + dx), str(y + dy), "click", str(button))
        time.sleep(0.3)

    def press_centre(self, place, in_panel=False):
        x, y = self.at(place[0] + place[2] // 2, place[1] + place[3] // 2, in_panel)
        # The pointer comes onto the button as a hand would: a button whose focus came back while
        # the pointer stood still counts the pointer as away until it moves.
        xdotool("mousemove", str(x - 40), str(y - 40))
        time.sleep(0.2)
        xdotool("mousemove", str(x - 2), str(y - 1))
        time.sleep(0.2)
        xdotool("mousemove", str(x), str(y), "click", "1")
        time.sleep(0.3)

    def type_repeat(self, text):
        self.press(REPEAT_BOX, dx=12, dy=10)
        xdotool("key", "End", "shift+Home", "BackSpace")
        if text:
            xdotool("type", "--delay", "50", text)
        time.sleep(0.3)

    def controls(self):
        """(repeat box enabled, repeat text, file button enabled)."""
        children = child_windows(TITLE)
        combo = next(c for c in children if c["class"].lower() == "combobox")
        # The "..." button is the narrowest of the three buttons.
        buttons = [c for c in children if c["class"] == "TolvenarCommand"]
        self.test.assertEqual(len(buttons), 3)
        file_button = min(buttons, key=lambda c: c["rect"][2] - c["rect"][0])
        return combo["enabled"], combo["text"], file_button["enabled"]

    def blue_marks(self):
        blue = []
        for kind, place in MARKS.items():
            x, y = self.at(place[0], place[1])
            if pixel(x + 6, y + 6) == BLUE_MARK:
                blue.append(kind)
        return blue

    def wait_closed(self):
        self.test.assertEqual(self.proc.wait(timeout=20), 0)
        self.test.assertIsNone(find_window(TITLE))


class Picks(E2ETestCase):
    def test_labels_and_marks_pick_and_set_writes_the_three_keys(self):
        dialog = Dialog(self)
        self.assertEqual(dialog.blue_marks(), [0])
        self.assertEqual(dialog.controls(), (False, "", False))
        steps = [  # (what is pressed, kind, mouse button)
            (LABELS[1], 1, 1), (MARKS[0], 0, 1), (LABELS[2], 2, 1), (MARKS[1], 1, 1),
            (MARKS[2], 2, 3), (LABELS[0], 0, 3), (LABELS[1], 1, 1)]
        for place, kind, button in steps:
            with self.subTest(place=place, kind=kind, button=button):
                dialog.press(place, button=button)
                self.assertEqual(dialog.blue_marks(), [kind])
                enabled_repeat, _, enabled_file = dialog.controls()
                self.assertEqual((enabled_repeat, enabled_file), (kind == 1, kind == 2))
        dialog.type_repeat("7")
        self.assertEqual(dialog.controls()[1], "7")
        dialog.press_centre(SET_BUTTON)
        dialog.wait_closed()
        with open(self.program.ini, "rb") as f:
            self.assertEqual(f.read(), ini_bytes(b"1", b"7"))

    def test_typed_repeat_text_shows_in_full_and_is_saved_rounded(self):
        cases = [  # (kind picked, text typed, text shown, repeat written)
            (1, "3.5", "3.5", b"4"),
            (1, "2.5", "2.5", b"2"),
            (1, "0000000000012", "0000000000012", b"12"),  # wider than the box: it scrolls
            (2, "3.5", "", b"0"),  # disabled for a file: typing does not reach it
        ]
        for kind, typed, shown, written in cases:
            with self.subTest(kind=kind, typed=typed):
                dialog = Dialog(self)
                dialog.press(MARKS[kind])
                dialog.type_repeat(typed)
                self.assertEqual(dialog.controls()[1], shown)
                dialog.press_centre(SET_BUTTON)
                dialog.wait_closed()
                with open(self.program.ini, "rb") as f:
                    self.assertEqual(f.read(), ini_bytes(str(kind).encode(), written))
                os.remove(self.program.ini)

    def test_a_release_after_a_press_elsewhere_is_no_click(self):
        dialog = Dialog(self)
        drags = [  # (the label pressed, where the release comes, in the panel or not)
            (LABELS[0], (SET_BUTTON[0] + 200, SET_BUTTON[1] + 150), False),
            (LABELS[2], (FILE_BUTTON[0] + 200, FILE_BUTTON[1] + 150), True),
        ]
        for label, (x, y), in_panel in drags:
            with self.subTest(to=(x, y)):
                start = dialog.at(label[0] + 60, label[1] + 90)
                end = dialog.at(x, y, in_panel)
                xdotool("mousemove", str(start[0]), str(start[1]), "mousedown", "1")
                time.sleep(0.2)
                xdotool("mousemove", str(end[0] - 3), str(end[1] - 3))
                time.sleep(0.2)
                xdotool("mousemove", str(end[0]), str(end[1]), "mouseup", "1")
                time.sleep(1)
                self.assertTrue(visible_window(), "the dialog closed")
                self.assertFalse(os.path.exists(self.program.ini))
                self.assertIsNone(owned_window())
        self.assertEqual(dialog.blue_marks(), [2])  # each press picked its kind
        dialog.press_centre(CANCEL_BUTTON)
        dialog.wait_closed()

    def test_repeat_text_that_is_not_a_number_saves_zero(self):
        self.program.write_ini(b"[Section]\r\n" + KIND + b"=1\r\n" + REPEAT + b"=12\r\n")
        dialog = Dialog(self)
        self.assertEqual(dialog.controls(), (True, "12", False))
        dialog.type_repeat("abc")
        dialog.press_centre(SET_BUTTON)
        dialog.wait_closed()
        with open(self.program.ini, "rb") as f:
            data = f.read()
        self.assertIn(REPEAT + b"=0\r\n", data)
        self.assertIn(KIND + b"=1\r\n", data)


class FileChooser(E2ETestCase):
    JAPANESE = {"LC_ALL": "ja_JP.UTF-8"}

    def chooser(self):
        return owned_window()

    def test_a_file_typed_into_the_chooser_is_saved_and_escape_changes_nothing(self):
        for env in (self.JAPANESE, {"LC_ALL": "en_US.UTF-8"}):
            with self.subTest(env=env):
                self.pick_a_file(env)

    def pick_a_file(self, env):
        first = os.path.join(self.program.path, "first.mp3")
        second = os.path.join(self.program.path, "second.wav")
        for path in (first, second):
            with open(path, "wb") as f:
                f.write(b"x")
        first_path = windows_path(first).encode()
        self.program.write_ini(ini_bytes(b"2", b"0", first_path))
        dialog = Dialog(self, env=env)
        self.assertEqual(dialog.controls(), (False, "", True))
        file_button = FILE_BUTTON
        # Escape closes the chooser as cancelled: nothing changes.
        dialog.press_centre(file_button, in_panel=True)
        self.assertEqual(wait_for(self.chooser, 30), CHOOSER_TITLE)
        xdotool("key", "Escape")
        self.assertTrue(wait_for(lambda: not self.chooser(), 20))
        # A file typed into the chooser's name field and confirmed with Enter.
        dialog.press_centre(file_button, in_panel=True)
        self.assertEqual(wait_for(self.chooser, 30), CHOOSER_TITLE)
        time.sleep(1)
        xdotool("type", "--delay", "30", windows_path(second))
        xdotool("key", "Return")
        self.assertTrue(wait_for(lambda: not self.chooser(), 20))
        dialog.press_centre(SET_BUTTON)
        dialog.wait_closed()
        with open(self.program.ini, "rb") as f:
            self.assertEqual(f.read(), ini_bytes(b"2", b"0", windows_path(second).encode()))


class KeyboardFocus(E2ETestCase):
    def focused(self, dialog):
        """Which control has the focus: "repeat", "file", "set", "cancel" or what the probe says."""
        done = subprocess.run(["wine", os.environ["TOLVENAR_PROBE"], "focus", TITLE],
                              capture_output=True, text=True, timeout=20)
        out = done.stdout.strip()
        if "|" not in out:
            return out
        cls, rect = out.split("|", 1)
        left, top = (int(v) for v in rect.split()[:2])
        places = {"file": (600 + PANEL[0], 1740 + PANEL[1]), "set": SET_BUTTON[:2],
                  "cancel": CANCEL_BUTTON[:2]}
        if cls.lower() == "edit":
            return "repeat"
        for name, (x, y) in places.items():
            if (left, top) == (dialog.client[0] + x // TPP, dialog.client[1] + y // TPP):
                return name
        return out

    def focus_after(self, dialog, previous=None):
        """The focus once it has left `previous`; the probe can come back empty while Wine is busy."""
        def moved():
            name = self.focused(dialog)
            return name if name not in ("", "none", previous) else None
        return wait_for(moved, 10) or self.focused(dialog)

    def test_tab_moves_through_the_enabled_controls_in_order(self):
        music = os.path.join(self.program.path, "a.mp3")
        with open(music, "wb") as f:
            f.write(b"x")
        cases = [  # (kind, the focus after loading and after each Tab)
            (b"1", ["repeat", "set", "cancel", "repeat"]),
            (b"2", ["file", "set", "cancel", "file"]),
        ]
        for kind, order in cases:
            with self.subTest(kind=kind):
                self.program.write_ini(ini_bytes(kind, b"0", windows_path(music).encode()))
                dialog = Dialog(self)
                seen = [self.focus_after(dialog)]
                for _ in order[1:]:
                    xdotool("key", "Tab")
                    seen.append(self.focus_after(dialog, seen[-1]))
                self.assertEqual(seen, order)
                dialog.press_centre(CANCEL_BUTTON)
                dialog.wait_closed()


    def test_a_button_disabled_with_the_focus_hands_it_on_and_clicks_at_once_again(self):
        music = os.path.join(self.program.path, "a.mp3")
        with open(music, "wb") as f:
            f.write(b"x")
        self.program.write_ini(ini_bytes(b"2", b"0", windows_path(music).encode()))
        dialog = Dialog(self)
        self.assertEqual(self.focus_after(dialog), "file")
        dialog.press(LABELS[0])
        self.assertEqual(self.focus_after(dialog, "file"), "set")
        dialog.press(LABELS[2])
        dialog.press_centre(FILE_BUTTON, in_panel=True)  # once
        self.assertEqual(wait_for(owned_window, 30), CHOOSER_TITLE)
        xdotool("key", "Escape")
        self.assertTrue(wait_for(lambda: not owned_window(), 20))
        dialog.press_centre(CANCEL_BUTTON)
        dialog.wait_closed()

    def test_the_focus_leaves_a_disabled_repeat_box_and_comes_back_after_the_chooser(self):
        music = os.path.join(self.program.path, "a.mp3")
        with open(music, "wb") as f:
            f.write(b"x")
        self.program.write_ini(ini_bytes(b"1", b"0", windows_path(music).encode()))
        dialog = Dialog(self)
        self.assertEqual(self.focus_after(dialog), "repeat")
        dialog.press(LABELS[0])  # なし disables the box that has the focus
        self.assertEqual(self.focus_after(dialog, "repeat"), "set")
        dialog.press(LABELS[2])
        xdotool("key", "shift+Tab")
        self.assertEqual(self.focus_after(dialog, "set"), "file")
        dialog.press_centre(FILE_BUTTON, in_panel=True)
        self.assertEqual(wait_for(owned_window, 30), CHOOSER_TITLE)
        xdotool("key", "Escape")
        self.assertTrue(wait_for(lambda: not owned_window(), 20))
        time.sleep(0.5)
        self.assertEqual(self.focused(dialog), "file")
        dialog.press_centre(CANCEL_BUTTON)
        dialog.wait_closed()


class CancelAndClose(E2ETestCase):
    def test_cancel_and_the_close_box_leave_the_file_byte_identical(self):
        original = (b"; kept as it is\n[Section]\n" + KIND + b"=1\n" + REPEAT + b"= 4 \n"
                    b"Other=x\n")
        for way in ("cancel", "close"):
            with self.subTest(way=way):
                self.program.write_ini(original)
                dialog = Dialog(self)
                dialog.press(LABELS[2])
                dialog.type_repeat("9")
                if way == "cancel":
                    dialog.press_centre(CANCEL_BUTTON)
                else:
                    subprocess.run(["wine", os.environ["TOLVENAR_PROBE"], "close", TITLE],
                                   capture_output=True, timeout=20)
                dialog.wait_closed()
                with open(self.program.ini, "rb") as f:
                    self.assertEqual(f.read(), original)


class LoadedValues(E2ETestCase):
    def test_values_show_and_are_written_back_as_loaded(self):
        music = os.path.join(self.program.path, "night.mp3")
        with open(music, "wb") as f:
            f.write(b"not really music")
        music_path = windows_path(music).encode()
        missing_path = windows_path(os.path.join(self.program.path, "gone.wav")).encode()
        cases = [  # (kind text, repeat text, file, blue mark, controls shown, bytes written)
            (b"2.9", b"45", music_path, [2], (False, "45", True), (b"2", b"45", music_path)),
            (b"2", b"0", missing_path, [0], (False, "", False), (b"0", b"0", b"")),
            (b"-0.5", b"45", b"", [], (False, "45", False), (b"-1", b"45", b"")),
            (b"1", b"3", missing_path, [1], (True, "3", False), (b"1", b"3", b"")),
        ]
        for kind, repeat, file, marks, shown, written in cases:
            with self.subTest(kind=kind, repeat=repeat, file=file):
                self.program.write_ini(b"[Section]\r\n" + KIND + b"=" + kind + b"\r\n" + REPEAT +
                                       b"=" + repeat + b"\r\n" + FILE + b"=" + file + b"\r\n")
                dialog = Dialog(self)
                self.assertEqual(dialog.blue_marks(), marks)
                self.assertEqual(dialog.controls(), shown)
                dialog.press_centre(SET_BUTTON)
                dialog.wait_closed()
                with open(self.program.ini, "rb") as f:
                    self.assertEqual(f.read(), ini_bytes(*written))


class PerUserCopy(E2ETestCase):
    OLD = b"; mine\r\n[Other]\r\nx=1\r\n[Section]\r\n" + KIND + b"=0\r\n"

    def setUp(self):
        super().setUp()
        own_user_ini(self)

    def set_kind_1_repeat_7(self):
        dialog = Dialog(self)
        dialog.press(LABELS[1])
        dialog.type_repeat("7")
        dialog.press_centre(SET_BUTTON)
        dialog.wait_closed()

    def test_set_in_a_read_only_folder_writes_the_users_copy_and_reopening_shows_it(self):
        self.program.write_ini(self.OLD)
        make_read_only(self, self.program.ini)  # a file in a read-only folder can still change
        make_read_only(self, self.program.path)
        self.set_kind_1_repeat_7()
        with open(self.program.ini, "rb") as f:
            self.assertEqual(f.read(), self.OLD)
        with open(USER_INI, "rb") as f:
            copy = f.read()
        for line in (b"; mine", b"[Other]", b"x=1", KIND + b"=1", REPEAT + b"=7", FILE + b"="):
            self.assertIn(line + b"\r\n", copy)
        dialog = Dialog(self)
        self.assertEqual(dialog.blue_marks(), [1])
        self.assertEqual(dialog.controls()[1], "7")
        dialog.press_centre(CANCEL_BUTTON)
        dialog.wait_closed()
        self.assertEqual(os.listdir(USER_INI_FOLDER), ["Tolvenar.ini"])

    def test_set_while_another_program_holds_the_file_makes_no_copy(self):
        # Neither a file that cannot be read nor one in use is a read-only folder: a copy would
        # hide the file beside the program for good.
        self.program.write_ini(self.OLD)
        holder = subprocess.Popen(["wine", PROBE, "hold", windows_path(self.program.ini)],
                                  stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.addCleanup(holder.wait, 10)
        self.addCleanup(holder.kill)
        self.addCleanup(holder.stdout.close)
        self.assertEqual(holder.stdout.readline().strip(), b"held")
        self.set_kind_1_repeat_7()
        holder.kill()
        self.assertFalse(os.path.exists(USER_INI_FOLDER) and os.listdir(USER_INI_FOLDER))
        with open(self.program.ini, "rb") as f:
            self.assertEqual(f.read(), self.OLD)

    def test_the_users_copy_is_read_and_written_before_the_file_beside_the_program(self):
        self.program.write_ini(self.OLD)
        os.makedirs(USER_INI_FOLDER)
        with open(USER_INI, "wb") as f:
            f.write(ini_bytes(b"2", b"3"))  # kind 2 without a file shows no mark
        dialog = Dialog(self)
        self.assertEqual(dialog.blue_marks(), [0])
        self.assertEqual(dialog.controls()[1], "3")
        dialog.press_centre(CANCEL_BUTTON)
        dialog.wait_closed()
        self.set_kind_1_repeat_7()
        with open(USER_INI, "rb") as f:
            self.assertEqual(f.read(), ini_bytes(b"1", b"7"))
        with open(self.program.ini, "rb") as f:
            self.assertEqual(f.read(), self.OLD)


class Look(E2ETestCase):
    def check_look(self, env, name):
        dialog = Dialog(self, env=env)
        window = find_window(TITLE)
        # Centred across, a third of the free height down (1024 x 768 screen).
        width, height = window[3] - window[1], window[4] - window[2]
        self.assertEqual(window[1], (1024 - width) // 2)
        self.assertLessEqual(abs(window[2] - (768 - height) / 3), 1)
        self.assertEqual((dialog.client[2] - dialog.client[0], dialog.client[3] - dialog.client[1]),
                         (496, 243))
        left, top = dialog.client[:2]
        # The window gradient: deep blue at the top edge, pale in the middle (left margin). A
        # pixel row holds the last of its fifteen twip rows, so the edge is a shade above 0.
        r, g, b = pixel(left + 5, top)
        self.assertTrue(r == g <= 5 and b == r + 30, (r, g, b))
        r, g, b = pixel(left + 5, top + 121)
        self.assertTrue(r >= 215 and b - r == 30, (r, g, b))
        # The panel gradient: dark grey at its top edge, near-white in its middle.
        r, g, b = pixel(left + 300, top + 16)
        self.assertTrue(r == g == b and 30 <= r <= 36, (r, g, b))
        r, g, b = pixel(left + 300, top + 16 + 82)
        self.assertTrue(r == g == b and r >= 245, (r, g, b))
        # The captions are drawn: dark text pixels on the "音楽CD" label.
        x, y = dialog.at(*LABELS[1])
        crop = subprocess.run(["import", "-window", "root", "-crop", f"40x13+{x}+{y}", "-depth",
                               "8", "txt:-"], capture_output=True, text=True, timeout=30).stdout
        dark = sum(1 for line in crop.splitlines()[1:] if "#0000" in line or "#0101" in line)
        self.assertGreater(dark, 20)
        shots = os.path.join(os.environ.get("TOLVENAR_BUILD", "/tmp"), "screenshots")
        os.makedirs(shots, exist_ok=True)
        screenshot(os.path.join(shots, name))
        dialog.press_centre(CANCEL_BUTTON)
        dialog.wait_closed()

    def test_look_on_a_western_code_page(self):
        self.check_look({"LC_ALL": "en_US.UTF-8"}, "settings_dialog_1252.png")

    def test_look_on_a_japanese_code_page(self):
        self.check_look({"LC_ALL": "ja_JP.UTF-8"}, "settings_dialog_932.png")


if __name__ == "__main__":
    unittest.main()
