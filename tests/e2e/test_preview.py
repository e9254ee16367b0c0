"""Preview mode: the still embedded into a host window standing in for the preview area. Wine does
not draw a child window of another process, so the checks read the window's facts (parent, place,
visibility) from inside Wine rather than from a screenshot."""

import subprocess
import time
import unittest

from tolvenar_e2e import E2ETestCase, PROBE, find_window, run_probe, wait_for


class Host:
    """A top-level window of the probe with a client area of the given size."""

    def __init__(self, width, height):
        self.proc = subprocess.Popen(["wine", PROBE, "makechild", str(width), str(height)],
                                     stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.handle = int(self.proc.stdout.readline().strip())
        self.proc.stdout.close()

    def close(self):
        if self.proc.poll() is None:
            run_probe("close", "Probe Host")
            try:
                self.proc.wait(timeout=20)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()


def find_preview(parent):
    """(hwnd, parent, left, top, right, bottom, visible, client width, client height) or None."""
    out = run_probe("findchild", str(parent), "Preview Window")
    if not out or out == "none":
        return None
    return tuple(int(p) for p in out.split())


class EmbedsIntoTheHost(E2ETestCase):
    def embed(self, width, height):
        host = Host(width, height)
        self.addCleanup(host.close)
        saver = self.program.start("/p", str(host.handle))
        preview = wait_for(lambda: find_preview(host.handle), 20, interval=0.3)
        self.assertIsNotNone(preview, "no child window \"Preview Window\" under the host")
        return host, saver, preview

    def test_covers_the_host_from_its_top_left_and_ends_with_it(self):
        for width, height in ((152, 112), (200, 150)):
            with self.subTest(size=(width, height)):
                host, saver, preview = self.embed(width, height)
                _, parent, left, top, right, bottom, visible, client_w, client_h = preview
                self.assertEqual(parent, host.handle)
                self.assertEqual((client_w, client_h), (width, height))
                # The preview window takes the host's outer size (its rectangle in twips) and sits at
                # the client area's top-left corner, so it covers the whole client area.
                outer = find_window("Probe Host")
                self.assertEqual((left, top), (0, 0))
                self.assertEqual((right, bottom), (outer[3] - outer[1], outer[4] - outer[2]))
                self.assertGreaterEqual(right, width)
                self.assertGreaterEqual(bottom, height)
                self.assertEqual(visible, 1)
                # Not a top-level window any more.
                self.assertIsNone(find_window("Preview Window"))
                host.close()
                self.assertEqual(saver.wait(timeout=15), 0)

    def test_ends_when_the_host_process_dies(self):
        # The host's windows vanish without the usual close sequence.
        host, saver, _ = self.embed(152, 112)
        host.proc.kill()
        host.proc.wait()
        self.assertEqual(saver.wait(timeout=15), 0)

    def test_a_second_preview_is_not_blocked(self):
        host, first, _ = self.embed(152, 112)
        second_host = Host(152, 112)
        self.addCleanup(second_host.close)
        second = self.program.start("/p", str(second_host.handle))
        self.assertIsNotNone(wait_for(lambda: find_preview(second_host.handle), 20, interval=0.3))
        self.assertIsNone(first.poll())
        second_host.proc.kill()
        second_host.proc.wait()
        self.assertEqual(second.wait(timeout=15), 0)
        self.assertIsNone(first.poll(), "the first preview stays while its own host stays")
        host.close()
        self.assertEqual(first.wait(timeout=15), 0)


class NoPreviewArea(E2ETestCase):
    def test_no_window_behind_the_handle_ends_at_once(self):
        for args in (["/p", "0"], ["/p"], ["/p", "12345678"], ["/p", "junk"]):
            with self.subTest(args=args):
                code, seconds = self.program.run(*args, timeout=30)
                self.assertEqual(code, 0)
                self.assertLess(seconds, 10)
                self.assertIsNone(find_window("Preview Window"))
                self.assertEqual(self.program.files(), ["Tolvenar.scr"])


if __name__ == "__main__":
    unittest.main()
