"""The Debian package as `make deb` builds it: its files and control fields, then installed into a
scratch root with dpkg (the saver runs and registers itself from there) and removed again, which
leaves nothing of it behind."""

import os
import shutil
import signal
import subprocess
import tarfile
import tempfile
import time
import unittest

from installed_saver import (DATA_FILES, LINK, MANUAL, InstalledSaverChecks, built_packages,
                             files_under)

SOURCE = os.environ.get("TOLVENAR_SOURCE", "")
PROGRAM = "usr/libexec/xscreensaver/tolvenar"
DOCS = ["usr/share/doc/tolvenar/changelog.gz", "usr/share/doc/tolvenar/copyright"]
LINTIAN_OVERRIDES = "usr/share/lintian/overrides/tolvenar"


def dpkg(root, *arguments):
    # No maintainer scripts run and the dependencies are the host's: only the files are tested.
    return subprocess.run(["dpkg", f"--root={root}", "--log=/dev/null", "--force-not-root",
                           "--force-bad-path", "--force-depends", *arguments],
                          capture_output=True, text=True, timeout=120)


class DebianPackage(InstalledSaverChecks, unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        missing = [t for t in ("dpkg-buildpackage", "dh", "dpkg-deb") if not shutil.which(t)]
        if missing:
            raise unittest.SkipTest(f"{', '.join(missing)} not installed (scripts/setup installs it)")
        cls.debs, cls.build_log = built_packages(SOURCE)

    def setUp(self):
        self.assertEqual(len(self.debs), 1, self.build_log)
        self.deb = self.debs[0]

    def field(self, name):
        return subprocess.run(["dpkg-deb", "-f", self.deb, name], capture_output=True, text=True,
                              check=True, timeout=30).stdout.strip()

    def test_control(self):
        arch = subprocess.run(["dpkg", "--print-architecture"], capture_output=True, text=True,
                              check=True, timeout=30).stdout.strip()
        self.assertEqual(os.path.basename(self.deb), f"tolvenar_1.0.0_{arch}.deb")
        self.assertEqual((self.field("Package"), self.field("Version"), self.field("Architecture")),
                         ("tolvenar", "1.0.0", arch))
        depends = [d.strip().split(" ")[0] for d in self.field("Depends").split(",")]
        # The Wayland client's libraries; EGL is opened by libepoxy at run time, so the package
        # names it itself.
        for package in ("libc6", "libx11-6", "libwayland-client0", "libwayland-egl1", "libegl1",
                        "gstreamer1.0-plugins-base", "gstreamer1.0-plugins-good"):
            self.assertIn(package, depends)
        # An audio sink for the player's automatic choice; ALSA's works without a sound server.
        self.assertIn("gstreamer1.0-alsa | gstreamer1.0-pulseaudio | gstreamer1.0-pipewire",
                      [d.strip() for d in self.field("Depends").split(",")])
        self.assertRegex(self.field("Static-Built-Using"), r"^libstb \(= [^)]+\)$")
        self.assertEqual(self.field("Recommends"),
                         "xscreensaver | mate-screensaver, fonts-noto-cjk | fonts-ipafont-gothic")
        # Nothing runs on install or removal: the control part holds no maintainer scripts.
        control = subprocess.run(["dpkg-deb", "--ctrl-tarfile", self.deb], capture_output=True,
                                 check=True, timeout=30).stdout
        with tempfile.TemporaryFile() as f:
            f.write(control)
            f.seek(0)
            with tarfile.open(fileobj=f) as tar:
                members = sorted(m.name for m in tar.getmembers() if m.isfile())
        self.assertEqual(members, ["./control", "./md5sums"])

    def test_files(self):
        listing = subprocess.run(["dpkg-deb", "-c", self.deb], capture_output=True, text=True,
                                 check=True, timeout=30).stdout
        files = sorted(line.split(" -> ")[0].split()[-1].lstrip("./")
                       for line in listing.splitlines() if line[0] in "-l")
        self.assertEqual(files,
                         sorted([PROGRAM, PROGRAM + "-settings", LINTIAN_OVERRIDES] + DOCS +
                                ["usr/" + f for f in [LINK, MANUAL + ".gz"] + DATA_FILES]))
        self.assertIn(f"./usr/{LINK} -> ../libexec/xscreensaver/tolvenar", listing)

    def test_lintian_reports_nothing(self):
        # Informational and pedantic tags too. Not skipped: scripts/setup installs lintian with
        # the package tools. (Its stderr only warns when it runs as root, as CI does.)
        self.assertTrue(shutil.which("lintian"), "lintian not installed (scripts/setup installs it)")
        result = subprocess.run(["lintian", "--display-info", "--pedantic", "--fail-on",
                                 "error,warning,info,pedantic", self.deb],
                                capture_output=True, text=True, timeout=300)
        self.assertEqual((result.returncode, result.stdout), (0, ""), result.stderr)

    def test_install_run_and_remove(self):
        with tempfile.TemporaryDirectory(prefix="tolvenar-root-") as root:
            admin = os.path.join(root, "var/lib/dpkg")
            os.makedirs(os.path.join(admin, "info"))
            os.makedirs(os.path.join(admin, "updates"))
            for name in ("status", "available"):
                open(os.path.join(admin, name), "w").close()
            before = [f for f in files_under(root) if not f.startswith("var/")]

            installed = dpkg(root, "-i", self.deb)
            self.assertEqual(installed.returncode, 0, installed.stderr)
            program = os.path.join(root, PROGRAM)
            self.assertTrue(os.access(program, os.X_OK))
            self.check_entries(os.path.join(root, "usr/share"), "/" + PROGRAM)
            usage = subprocess.run([program, "--help"], capture_output=True, text=True, timeout=30)
            self.assertEqual(usage.returncode, 0, usage.stderr)
            self.assertIn("--register-xscreensaver", usage.stdout)
            self.check_registration(os.path.join(root, "usr", LINK))
            if os.environ.get("DISPLAY"):
                self.check_runs(program)

            removed = dpkg(root, "-r", "tolvenar")
            self.assertEqual(removed.returncode, 0, removed.stderr)
            after = [f for f in files_under(root) if not f.startswith("var/")]
            self.assertEqual(after, before)
            leftovers = [d for d, _, _ in os.walk(root) if d.startswith(os.path.join(root, "usr"))]
            self.assertEqual(leftovers, [], "removal leaves no folder of the package")
            status = dpkg(root, "-s", "tolvenar")
            self.assertNotIn("Status: install", status.stdout)

    def check_runs(self, program):
        """As XScreenSaver runs it: on the root window until SIGTERM, which ends it cleanly."""
        env = {k: v for k, v in os.environ.items() if k != "XSCREENSAVER_WINDOW"}
        saver = subprocess.Popen([program, "--root"], env=env)
        try:
            time.sleep(1.5)
            self.assertIsNone(saver.poll(), "the installed saver ended by itself")
            saver.send_signal(signal.SIGTERM)
            self.assertEqual(saver.wait(timeout=5), 0)
        finally:
            if saver.poll() is None:
                saver.kill()
                saver.wait()


if __name__ == "__main__":
    unittest.main()
