"""tolvenar as a native Wayland client, run by a user of a headless compositor: on sway (the layer
shell) it draws on both outputs of different sizes and keeps moving, a key, a button and SIGTERM
each end it promptly with status 0 and pointer motion does not, and nothing of it is left; two
savers of one user play the music once, and the other takes it over; an output added while it runs
gets its picture. A person picks a WAV file in `tolvenar --settings` with the seat's pointer
(its path typed into the chooser), Sets it, and the saver then plays it into ALSA's default
device (the user's ~/.asoundrc). On weston's desktop shell (no layer shell) it goes full screen as
a toplevel.

Needs root (it makes users: CI is) and what scripts/setup installs; no X display."""

import os
import signal
import sys
import tempfile
import time
import unittest

from wayland_session import (SWAY_OUTPUTS, WESTON_SIZE, SwaySession, WestonSession, colours,
                             skip_reason, wait_for)
from test_saver import make_music  # noqa: E402  the tests' 30-second tone
from test_settings_dialog import (CHOOSER_TITLE, FILE_BUTTON, LABELS, PANEL,  # noqa: E402
                                  SET_BUTTON, TITLE, ini_bytes)

PROGRAM = os.environ.get("TOLVENAR_PROGRAM", "")
DRAWN = 100  # colours in a shot's sample: a blank surface holds one or two, the city thousands
FIRST_DRAWN_S = 20  # llvmpipe compiles its shaders at the first start on a loaded machine
ENDED_S = 1.0
# The one file a saver leaves on purpose: its music lock outlives it (removing it could let two
# savers each hold "the" lock).
KEPT = {"tolvenar-music.lock"}
TPP = 15  # twips per pixel at GTK's 96 dpi


def press_button(session, saver):
    session.cursor("press", "button1")
    session.cursor("release", "button1")


ENDINGS = [("a key", lambda session, saver: session.key("Escape")),
           ("a button", press_button),
           ("SIGTERM", lambda session, saver: saver.send_signal(signal.SIGTERM))]


def holds_sound_card(pid, card):
    """Whether the process has ALSA's default device (the user's capture FIFO) open."""
    try:
        fds = os.listdir(f"/proc/{pid}/fd")
    except OSError:
        return False
    for fd in fds:
        try:
            if os.readlink(f"/proc/{pid}/fd/{fd}") == card:
                return True
        except OSError:
            pass
    return False


class OnWayland(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        reason = skip_reason(SwaySession.TOOLS)
        if reason:
            raise unittest.SkipTest(reason)
        cls.timings = {}

    @classmethod
    def tearDownClass(cls):
        for name, values in sorted(cls.timings.items()):
            print(f"{name}: " + ", ".join(f"{v:.2f}" for v in values) + " s", file=sys.stderr)

    def setUp(self):
        self.assertTrue(PROGRAM and os.path.exists(PROGRAM), "TOLVENAR_PROGRAM names tolvenar")
        self.users = []

    def note(self, name, seconds):
        self.timings.setdefault(name, []).append(seconds)

    def start_saver(self, session):
        return session.start_program(PROGRAM)

    def wait_drawn(self, session, saver, outputs):
        """Waits until every named output shows a picture; the time it took."""
        started = time.monotonic()

        def drawn():
            self.assertIsNone(saver.poll(), "the saver ended:\n" + session.output(saver))
            return all(colours(session.shot(name)[2]) >= DRAWN for name in outputs)

        self.assertTrue(wait_for(drawn, FIRST_DRAWN_S, 0.2),
                        f"not drawn on each of {outputs}:\n" + session.output(saver))
        return time.monotonic() - started

    def assert_ends(self, saver, session, how):
        """Waits ENDED_S for the saver's status 0 after `how` was done."""
        sent = time.monotonic()
        ended = wait_for(lambda: saver.poll() is not None, ENDED_S + 0.5, 0.02)
        took = time.monotonic() - sent
        self.assertTrue(ended, f"still running {ENDED_S + 0.5} s after {how}")
        self.assertEqual(saver.returncode, 0, f"after {how}:\n" + session.output(saver))
        self.assertLessEqual(took, ENDED_S, f"ended {took:.2f} s after {how}")
        self.note(f"{how} -> ended", took)

    def test_on_sway_both_outputs_drawn_and_ended_by_key_button_signal_not_motion(self):
        session = SwaySession(self)
        before = session.leftovers()
        for run, (how, end) in enumerate(ENDINGS):
            with self.subTest(ended_by=how):
                saver = self.start_saver(session)
                try:
                    self.draw_and_end(session, saver, how, end, first=run == 0)
                finally:
                    session.end(saver)  # a failed case leaves nothing running into the next
                alive, files = session.leftovers()
                self.assertEqual(alive, before[0], "the user's processes after the saver")
                self.assertEqual({f for f in files - before[1] if os.path.basename(f) not in KEPT},
                                 set(), "files left in the runtime folder or /tmp")

    def draw_and_end(self, session, saver, how, end, first):
        self.note("start -> both outputs drawn", self.wait_drawn(session, saver, SWAY_OUTPUTS))
        if first:
            for name, size in SWAY_OUTPUTS.items():
                width, height, picture = session.shot(name)
                self.assertEqual((width, height), size, f"{name}'s shot")
                moving = wait_for(lambda: session.shot(name)[2] != picture, 2, 0.1)
                self.assertTrue(moving, f"{name}: the same picture for 2 s")
        for _ in range(5):
            session.cursor("move", "37", "23")
        time.sleep(0.5)
        self.assertIsNone(saver.poll(), "pointer motion ended it")
        end(session, saver)
        self.assert_ends(saver, session, how)

    def test_on_sway_two_savers_play_the_music_once_and_an_added_output_is_drawn(self):
        session = SwaySession(self)
        session.user.choose_music()
        card = os.path.join(session.runtime, "sound-card")
        first = self.start_saver(session)
        started = time.monotonic()
        # A new user's first run also builds GStreamer's plug-in registry.
        loud = session.user.card.loud
        heard = wait_for(lambda: first.poll() is not None or [t for t in loud if t >= started], 20)
        self.assertIsNone(first.poll(), "the saver ended:\n" + session.output(first))
        self.assertTrue(heard, "the music was not heard:\n" + session.output(first))
        took = heard[0] - started
        self.note("start -> music heard", took)
        self.wait_drawn(session, first, SWAY_OUTPUTS)
        second = self.start_saver(session)
        second_started = time.monotonic()
        self.wait_drawn(session, second, SWAY_OUTPUTS)
        # Were it playing too, it would have opened the device by the time the first was heard.
        time.sleep(max(0.0, second_started + took + 0.5 - time.monotonic()))
        self.assertEqual([holds_sound_card(p.pid, card) for p in (first, second)], [True, False],
                         "the first saver plays, the second does not")

        added = session.create_output()
        width, height, _ = session.shot(added)
        drawn = wait_for(lambda: colours(session.shot(added)[2]) >= DRAWN, 5, 0.2)
        self.assertTrue(drawn, f"the added output {added} ({width}x{height}) shows no picture:\n" +
                        session.output(second))

        first.send_signal(signal.SIGTERM)
        self.assert_ends(first, session, "SIGTERM")
        took_over = wait_for(lambda: holds_sound_card(second.pid, card), 10, 0.1)
        self.assertTrue(took_over, "the second saver did not take the music over")
        self.assertIsNotNone(session.user.card.first_heard(time.monotonic(),
                                                           time.monotonic() + 10),
                             "silent after the takeover")
        second.send_signal(signal.SIGTERM)
        self.assert_ends(second, session, "SIGTERM")

    def test_on_sway_the_music_picked_in_the_dialog_is_heard(self):
        session = SwaySession(self)
        with tempfile.TemporaryDirectory(prefix="tolvenar-tone-") as folder:
            make_music(os.path.join(folder, "loop.wav"))
            with open(os.path.join(folder, "loop.wav"), "rb") as f:
                session.user.write("Music/loop.wav", f.read())
        path = session.user.path("Music/loop.wav")
        started = time.monotonic()
        dialog = session.start_program(PROGRAM, "--settings")
        left, top, _ = self.wait_window(session, dialog, TITLE)

        def click(twips_x, twips_y, in_panel=True):
            x = left + ((PANEL[0] if in_panel else 0) + twips_x) // TPP
            y = top + ((PANEL[1] if in_panel else 0) + twips_y) // TPP
            # Onto the skinned button as a hand comes: it counts a still pointer as away.
            session.cursor("set", str(x - 2), str(y - 1))
            time.sleep(0.2)
            session.cursor("set", str(x), str(y))
            press_button(session, dialog)
            time.sleep(0.3)

        click(LABELS[2][0] + 60, LABELS[2][1] + 90)  # "MP3/WAV"
        click(FILE_BUTTON[0] + FILE_BUTTON[2] // 2, FILE_BUTTON[1] + FILE_BUTTON[3] // 2)
        left, top, width = self.wait_window(session, dialog, CHOOSER_TITLE)
        time.sleep(1)
        done = session.run("wtype", "-d", "30", path)  # a "/" first opens the location field
        self.assertEqual(done.returncode, 0, f"wtype: {done.stderr}")
        time.sleep(0.5)
        # Open, at the header bar's right end: on sway the chooser takes typed text but not Return
        # nor Escape from wtype.
        session.cursor("set", str(left + width - 48), str(top + 22))
        press_button(session, dialog)
        closed = wait_for(lambda: not self.window_at(session, CHOOSER_TITLE), 20, 0.2)
        self.assertTrue(closed, "the chooser stayed open:\n" + session.output(dialog))
        left, top, _ = self.window_at(session, TITLE)
        click(SET_BUTTON[0] + SET_BUTTON[2] // 2, SET_BUTTON[1] + SET_BUTTON[3] // 2, False)
        self.assertEqual(dialog.wait(20), 0, session.output(dialog))
        self.note("dialog: start -> Set", time.monotonic() - started)
        with open(session.user.path(".config/tolvenar/Tolvenar.ini"), "rb") as f:
            self.assertEqual(f.read(), ini_bytes(b"2", b"0", path.replace("/", "\\").encode()))

        saver = self.start_saver(session)
        started = time.monotonic()
        loud = session.user.card.loud
        heard = wait_for(lambda: saver.poll() is not None or [t for t in loud if t >= started], 20)
        self.assertIsNone(saver.poll(), "the saver ended:\n" + session.output(saver))
        self.assertTrue(heard, "the music was not heard:\n" + session.output(saver))
        self.note("saver: start -> music heard", heard[0] - started)
        self.wait_drawn(session, saver, SWAY_OUTPUTS)  # its surfaces up to take the key
        # A key while it plays has now and then ended it only after more than ENDED_S (silent, it
        # ends at once): noted apart, without that bound.
        session.key("Escape")
        sent = time.monotonic()
        self.assertEqual(saver.wait(5), 0, session.output(saver))
        self.note("a key, playing -> ended", time.monotonic() - sent)

    def window_at(self, session, title):
        """The layout place and width (x, y, width) of the window titled so, or None."""
        nodes = [session.swaymsg("-t", "get_tree")]
        while nodes:
            node = nodes.pop()
            if node.get("name") == title and node.get("pid"):
                rect, inner = node["rect"], node["window_rect"]
                return rect["x"] + inner["x"], rect["y"] + inner["y"], inner["width"]
            nodes += node.get("nodes", []) + node.get("floating_nodes", [])
        return None

    def wait_window(self, session, program, title):
        shown = wait_for(lambda: program.poll() is not None or self.window_at(session, title), 30,
                         0.2)
        self.assertIsNone(program.poll(), f"ended before {title} showed:\n" +
                          session.output(program))
        self.assertTrue(shown, f"{title} did not show:\n" + session.output(program))
        time.sleep(0.5)  # first paint
        return shown


class OnWeston(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        reason = skip_reason(WestonSession.TOOLS)
        if reason:
            raise unittest.SkipTest(reason)

    def setUp(self):
        self.assertTrue(PROGRAM and os.path.exists(PROGRAM), "TOLVENAR_PROGRAM names tolvenar")
        self.users = []

    def test_without_the_layer_shell_it_goes_full_screen_and_ends_on_sigterm(self):
        session = WestonSession(self)
        def painted():
            """The desktop's picture once the shell's own client has painted it."""
            rgb = session.shot()[2]
            return rgb if colours(rgb) > 1 else None

        desktop = wait_for(painted, 10, 0.2)
        self.assertIsNotNone(desktop, "weston's desktop was not drawn:\n" +
                             session.compositor_log())
        saver = session.start_program(PROGRAM)
        started = time.monotonic()

        def covered():
            """Whether the city covers the whole desktop: nine in ten of the sampled pixels
            differ from the bare desktop's."""
            self.assertIsNone(saver.poll(), "the saver ended:\n" + session.output(saver))
            width, height, rgb = session.shot()
            self.assertEqual((width, height), WESTON_SIZE)
            sample = range(0, len(rgb) - 2, 3 * 31)
            changed = sum(rgb[i:i + 3] != desktop[i:i + 3] for i in sample) / len(sample)
            return colours(rgb) >= DRAWN and changed > 0.9

        self.assertTrue(wait_for(covered, FIRST_DRAWN_S, 0.3),
                        "the desktop not covered by the city:\n" + session.output(saver))
        drawn = time.monotonic() - started
        sent = time.monotonic()
        saver.send_signal(signal.SIGTERM)
        self.assertEqual(saver.wait(5), 0, session.output(saver))
        ended = time.monotonic() - sent
        print(f"weston: start -> full screen drawn {drawn:.2f} s, SIGTERM -> ended {ended:.2f} s",
              file=sys.stderr)
        self.assertLessEqual(ended, ENDED_S)


if __name__ == "__main__":
    unittest.main()
