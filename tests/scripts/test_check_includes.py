#!/usr/bin/env python3
"""scripts/check-includes on a copy of this tree's src/ with one thing planted per case: each
violation must fail with its own report and nothing else; each allowed use must pass. Then the
tree itself must pass."""

import importlib.machinery
import importlib.util
import pathlib
import shutil
import subprocess
import sys
import tempfile
import unittest

ROOT = pathlib.Path(__file__).resolve().parents[2]
CHECKER = ROOT / "scripts" / "check-includes"
# The checker as a module too, so that the cases run without a process each.
_LOADER = importlib.machinery.SourceFileLoader("check_includes", str(CHECKER))
check_includes = importlib.util.module_from_spec(
    importlib.util.spec_from_loader("check_includes", _LOADER))
_LOADER.exec_module(check_includes)


def planted_file(path, text):
    """A file of its own under src/."""
    return (path, None, text)


def edited(path, old, new):
    """`old` replaced by `new` in a file of the tree."""
    return (path, old, new)


def core_includes(header):
    return [planted_file("music/planted.cpp", f"#include {header}\n")]


PLATFORM_HEADERS = ["<windows.h>", "<d3d8.h>", "<mmsystem.h>", "<unistd.h>", "<sys/stat.h>",
                    "<fcntl.h>", "<glib-unix.h>", "<cairo.h>", "<pango/pangocairo.h>", "<hb.h>",
                    "<gst/gst.h>", "<gtk/gtk.h>", "<gdk/gdkx.h>", "<X11/Xlib.h>", "<epoxy/gl.h>",
                    "<GL/gl.h>", "<iconv.h>"]

# (case, plantings, a piece of the one report expected)
VIOLATIONS = [(f"core includes {h}", core_includes(h), "a platform header outside a back end")
              for h in PLATFORM_HEADERS] + [
    ("core includes a back end's header",
     [planted_file("settings/planted.cpp", '#include "runtime/linux/system_path.h"\n')],
     "settings may not reach runtime/linux"),
    ("upward include", core_includes('"scene/saver_window.h"'), "music may not reach scene"),
    ("upward include in angle brackets", core_includes("<scene/saver_window.h>"),
     "music may not reach scene"),
    ("sideways include", [planted_file("button/planted.h", '#include "settings/settings_store.h"\n')],
     "button may not reach settings"),
    ("a header by a bare name", core_includes('"planted.h"'), "not a header of a folder of src/"),
    ("one back end includes another platform's",
     [planted_file("scene/linux/planted.cpp", '#include "runtime/win32/handles.h"\n')],
     "scene/linux may not reach runtime/win32"),
    ("a new platform's folder is a back end",
     [planted_file("runtime/wayland/surface_wayland.h", ""),
      planted_file("scene/planted.cpp", '#include "runtime/wayland/surface_wayland.h"\n')],
     "scene may not reach runtime/wayland"),
    ("core library depends on a platform library",
     [edited("settings/CMakeLists.txt", "DEPS runtime)", "DEPS runtime runtime_gtk)")],
     "settings may not depend on runtime_gtk: settings may not reach runtime/linux"),
    ("core library links a platform library",
     [edited("settings/CMakeLists.txt", "DEPS runtime)",
             "DEPS runtime)\ntarget_link_libraries(settings PUBLIC runtime_win32)")],
     "settings may not depend on runtime_win32"),
    ("core library links an outside library",
     [edited("settings/CMakeLists.txt", "DEPS runtime)", "DEPS runtime PkgConfig::GTK3)")],
     "an outside library in a platform-neutral folder"),
    ("upward dependency", [edited("music/CMakeLists.txt", "DEPS runtime)", "DEPS runtime scene)")],
     "music may not reach scene"),
    ("back end depends on another platform's",
     [edited("music/linux/CMakeLists.txt", "DEPS music", "DEPS music runtime_win32")],
     "music/linux may not reach runtime/win32"),
    ("back end depends on a higher back end",
     [edited("music/linux/CMakeLists.txt", "DEPS music", "DEPS music scene_linux")],
     "music/linux may not reach scene/linux"),
    ("a dependency through a variable",
     [edited("settings/CMakeLists.txt", "DEPS runtime)", "DEPS runtime ${more})")],
     "a dependency the checker cannot follow"),
    ("core includes the shared GL device",
     [planted_file("scene/planted.cpp", '#include "scene/gl/gl_device.h"\n')],
     "scene may not reach scene/gl"),
    ("the shared GL device includes a platform's",
     [planted_file("scene/gl/planted.cpp", '#include "scene/linux/x_display.h"\n')],
     "scene/gl may not reach scene/linux"),
    ("a folder outside the graph", [planted_file("emulation/planted.cpp", "")],
     "src/emulation/: a folder the layer graph does not know"),
    ("core includes the emulation layer",
     [planted_file("scene/planted.cpp", '#include "runtime/emulation/timer_queue.h"\n')],
     "scene may not reach runtime/emulation"),
    ("the Windows back end includes the emulation layer",
     [planted_file("music/win32/planted.cpp", '#include "music/emulation/mci_emulator.h"\n')],
     "music/win32 may not reach music/emulation"),
    ("emulation includes a back end",
     [planted_file("runtime/emulation/planted.cpp", '#include "runtime/linux/system_path.h"\n')],
     "runtime/emulation may not reach runtime/linux"),
    ("upward emulation include",
     [planted_file("music/emulation/planted.cpp", '#include "scene/emulation/gl_conventions.h"\n')],
     "music/emulation may not reach scene/emulation"),
    ("emulation includes a platform header",
     [planted_file("runtime/emulation/planted.cpp", "#include <unistd.h>\n")],
     "a platform header outside a back end"),
    ("core library depends on the emulation layer",
     [edited("settings/CMakeLists.txt", "DEPS runtime)", "DEPS runtime runtime_emulation)")],
     "settings may not depend on runtime_emulation: settings may not reach runtime/emulation"),
]

ALLOWED = [
    ("back ends include their platform",
     [planted_file("music/win32/planted.cpp", "#include <windows.h>\n#include <mmsystem.h>\n"),
      planted_file("music/linux/planted.cpp", "#include <unistd.h>\n#include <gst/gst.h>\n")]),
    ("core includes the standard library and stb_image",
     core_includes("<cstdint>\n#include <stdint.h>\n#include <stb_image.h>")),
    ("a new platform's back end on its own runtime half and the core below",
     [planted_file("runtime/wayland/surface_wayland.h", "#include <wayland-client.h>\n"),
      planted_file("scene/wayland/planted.cpp", '#include "runtime/wayland/surface_wayland.h"\n'
                   '#include "music/music.h"\n#include "scene/saver_window.h"\n')]),
    ("the other platforms and higher emulation use the emulation layer",
     [planted_file("scene/linux/planted.cpp", '#include "runtime/emulation/timer_queue.h"\n'
                   '#include "scene/emulation/gl_conventions.h"\n'),
      planted_file("scene/wayland/planted.cpp", '#include "music/emulation/silent_media.h"\n'),
      planted_file("startup/emulation/planted.cpp", '#include "runtime/emulation/user_folders.h"\n'
                   '#include "startup/startup.h"\n#include "runtime/process.h"\n')]),
    ("a new platform's back end on the shared GL device",
     [planted_file("scene/wayland/planted.cpp", '#include "scene/gl/gl_device.h"\n')]),
]


class CheckIncludesTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        # One copy for every case: each case's plantings are undone after its run.
        cls.scratch = tempfile.TemporaryDirectory()
        cls.root = pathlib.Path(cls.scratch.name)
        shutil.copytree(ROOT / "src", cls.root / "src")

    @classmethod
    def tearDownClass(cls):
        cls.scratch.cleanup()

    def problems_with(self, plantings):
        src = self.root / "src"
        originals, made = {}, []
        try:
            for path, old, new in plantings:
                target = src / path
                if old is None:
                    for folder in reversed(target.relative_to(src).parents):
                        if not (src / folder).exists():
                            made.append(src / folder)
                    target.parent.mkdir(parents=True, exist_ok=True)
                    made.append(target)
                    target.write_text(new)
                else:
                    text = originals.setdefault(target, target.read_text())
                    self.assertIn(old, text, f"{path} no longer holds what the case edits")
                    target.write_text(text.replace(old, new, 1))
            return check_includes.check(self.root)
        finally:
            for target, text in originals.items():
                target.write_text(text)
            for target in reversed(made):
                target.unlink() if target.is_file() else target.rmdir()

    def test_each_violation_fails_with_its_report(self):
        for case, plantings, expected in VIOLATIONS:
            with self.subTest(case):
                problems = self.problems_with(plantings)
                self.assertEqual(len(problems), 1, problems)
                self.assertIn(expected, problems[0])

    def test_allowed_uses_pass(self):
        for case, plantings in ALLOWED:
            with self.subTest(case):
                self.assertEqual(self.problems_with(plantings), [])

    def test_a_violation_fails_the_program(self):
        src = self.root / "src" / "music" / "planted.cpp"
        src.write_text("#include <unistd.h>\n")
        try:
            result = subprocess.run([sys.executable, str(CHECKER), str(self.root)],
                                    capture_output=True, text=True, check=False)
        finally:
            src.unlink()
        self.assertEqual(result.returncode, 1, result.stdout)
        self.assertIn("includes: 1 across the graph", result.stdout)

    def test_this_tree_passes(self):
        result = subprocess.run([sys.executable, str(CHECKER)], capture_output=True, text=True,
                                check=False)
        self.assertEqual(result.returncode, 0, result.stdout)
        self.assertIn("includes: clean", result.stdout)


if __name__ == "__main__":
    unittest.main()
