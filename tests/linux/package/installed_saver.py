"""Checks of an installed saver, shared by the install and the package tests: the exact files,
the desktop entries and the XScreenSaver description as the hosts read them, and the program's
registration in ~/.xscreensaver."""

import glob
import os
import shutil
import subprocess
import tempfile
import xml.etree.ElementTree as ElementTree

# Under the install prefix, beside the hack folder's program: a link to it on the PATH and data.
LINK = "bin/tolvenar"
DATA_FILES = [
    "share/applications/screensavers/tolvenar.desktop",
    "share/applications/tolvenar-settings.desktop",
    "share/icons/hicolor/32x32/apps/tolvenar.png",
    "share/xscreensaver/config/tolvenar.xml",
]
MANUAL = "share/man/man6/tolvenar.6"  # compressed (.gz) in the package

# A list as XScreenSaver's settings program writes it: tab-aligned, closed by a blank line.
SETTINGS_WRITTEN = (b"# XScreenSaver Preferences File\n"
                    b"mode:\t\trandom\n"
                    b"selected:\t1\n"
                    b"programs:\t\t\t\t\t\\\n"
                    b"\t\t\t\tmaze -root\t\t\t\\n\\\n"
                    b"- GL: \t\t\tsuperquadrics -root\t\t\\n\\\n"
                    b"\n"
                    b"pointerHysteresis:  10\n")
ENTRY_LINE = b"  GL: tolvenar --root \\n\\\n"
ENTRY = "GL: tolvenar --root"

# XScreenSaver's own list of display modes, which a user without a list of their own sees.
APP_DEFAULTS = "/etc/X11/app-defaults/XScreenSaver"


def programs_entries(content, names):
    """The entries of the last resource named by one of names, read as the daemon reads them:
    lines ending in a backslash continued, entries separated by the two characters \\n."""
    value = None
    lines = content.split("\n")
    i = 0
    while i < len(lines):
        line = lines[i]
        i += 1
        if line.lstrip().startswith(("!", "#")):
            continue
        while line.endswith("\\") and i < len(lines):
            line = line[:-1] + lines[i]
            i += 1
        if ":" not in line:
            continue
        name, rest = line.split(":", 1)
        if name.strip() in names:
            value = rest
    if value is None:
        return None
    entries = [" ".join(e.split()) for e in value.split("\\n")]
    return [e for e in entries if e]


def built_packages(source):
    """The Debian packages in build/deb/ and the log of their build. Under ctest the package is
    built once, by the linux_package_build test, before the tests that use it
    (TOLVENAR_DEB_BUILT is set); a test script run on its own builds it here."""
    out = os.path.join(source, "build", "deb")
    log = ""
    if not os.environ.get("TOLVENAR_DEB_BUILT"):
        if not shutil.which("dpkg-buildpackage"):
            return [], "dpkg-buildpackage not installed (scripts/setup installs it)"
        build = subprocess.run([os.path.join(source, "packaging", "build-deb"), out],
                               capture_output=True, text=True, timeout=840)
        log = build.stdout[-4000:] + build.stderr[-4000:]
    return glob.glob(os.path.join(out, "tolvenar_*.deb")), log


def files_under(root):
    """Every file below root, as a sorted list of paths relative to it."""
    found = []
    for folder, _, names in os.walk(root):
        found += [os.path.relpath(os.path.join(folder, name), root) for name in names]
    return sorted(found)


def desktop_entry(path):
    with open(path, encoding="utf-8") as f:
        lines = f.read().splitlines()
    return dict(line.split("=", 1) for line in lines if "=" in line)


class InstalledSaverChecks:
    """Mixed into a unittest.TestCase."""

    def require(self, *tools):
        missing = [tool for tool in tools if not shutil.which(tool)]
        if missing:
            self.skipTest(f"{', '.join(missing)} not installed (scripts/setup installs it)")

    def check_entries(self, data_root, program_path):
        """The desktop entries and the XScreenSaver description under data_root (prefix/share)."""
        self.require("desktop-file-validate", "xmllint")
        saver = os.path.join(data_root, "applications/screensavers/tolvenar.desktop")
        settings = os.path.join(data_root, "applications/tolvenar-settings.desktop")
        for path in (saver, settings):
            result = subprocess.run(["desktop-file-validate", path], capture_output=True,
                                    text=True, timeout=30)
            self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertEqual(desktop_entry(saver)["Exec"], f"{program_path} --root")
        self.assertEqual(desktop_entry(saver)["Categories"], "Screensaver;")
        self.assertEqual(desktop_entry(settings)["Exec"], f"{program_path} --settings")
        self.assertIn("Settings;", desktop_entry(settings)["Categories"])

        xml = os.path.join(data_root, "xscreensaver/config/tolvenar.xml")
        result = subprocess.run(["xmllint", "--noout", xml], capture_output=True, text=True,
                                timeout=30)
        self.assertEqual(result.returncode, 0, result.stderr)
        saver_xml = ElementTree.parse(xml).getroot()
        self.assertEqual((saver_xml.tag, saver_xml.get("name"), saver_xml.get("_label"),
                          saver_xml.get("gl")), ("screensaver", "tolvenar", "Tolvenar", "yes"))
        self.assertEqual([c.get("arg") for c in saver_xml.iter("command")], ["--root"])
        self.assertTrue(saver_xml.findtext("_description", "").strip())

    def check_registration(self, program):
        """--register-xscreensaver for a new user and on a sample file: once, byte for byte."""
        with tempfile.TemporaryDirectory(prefix="tolvenar-home-") as home:
            env = dict(os.environ, HOME=home)
            path = os.path.join(home, ".xscreensaver")

            def register():
                return subprocess.run([program, "--register-xscreensaver"], env=env,
                                      capture_output=True, timeout=30).returncode

            # A new user: the daemon's own list goes into a new file, the saver at its end; with
            # no list to copy (XScreenSaver not installed) nothing is written.
            if os.path.exists(APP_DEFAULTS):
                self.assertEqual(register(), 0)
                with open(APP_DEFAULTS, encoding="latin-1") as f:
                    system = programs_entries(f.read(), ("*programs",))
                with open(path, encoding="latin-1") as f:
                    written = programs_entries(f.read(), ("programs",))
                self.assertGreater(len(system), 10)
                self.assertEqual(written, system + [ENTRY])
                self.assertEqual(register(), 0)
                with open(path, encoding="latin-1") as f:
                    self.assertEqual(programs_entries(f.read(), ("programs",)), written)
                os.remove(path)
            else:
                self.assertEqual(register(), 1, "no list of the user's and none to copy")
                self.assertFalse(os.path.exists(path))

            with open(path, "wb") as f:
                f.write(SETTINGS_WRITTEN)
            self.assertEqual(register(), 0)
            with open(path, "rb") as f:
                once = f.read()
            blank = SETTINGS_WRITTEN.index(b"\n\npointer") + 1
            self.assertEqual(once, SETTINGS_WRITTEN[:blank] + ENTRY_LINE + SETTINGS_WRITTEN[blank:])
            self.assertEqual(register(), 0)
            with open(path, "rb") as f:
                self.assertEqual(f.read(), once, "a second run changes nothing")
            self.assertEqual(os.listdir(home), [".xscreensaver"])
