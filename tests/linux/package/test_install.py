"""`cmake --install` of the linux build into a scratch folder: exactly the saver's files, entries
the desktop accepts, and the installed program registering itself with XScreenSaver."""

import os
import subprocess
import tempfile
import unittest

from installed_saver import DATA_FILES, LINK, MANUAL, InstalledSaverChecks, files_under

BUILD = os.environ.get("TOLVENAR_BUILD", "")
PREFIX = os.environ.get("TOLVENAR_PREFIX", "/usr/local")
HACKDIR = os.environ.get("TOLVENAR_HACKDIR", "libexec/xscreensaver")


class CmakeInstall(InstalledSaverChecks, unittest.TestCase):
    def test_install(self):
        with tempfile.TemporaryDirectory(prefix="tolvenar-destdir-") as destdir:
            subprocess.run(["cmake", "--install", BUILD], env=dict(os.environ, DESTDIR=destdir),
                           check=True, capture_output=True, timeout=60)
            root = destdir + PREFIX
            program = os.path.join(PREFIX, HACKDIR, "tolvenar")
            settings_program = os.path.join(PREFIX, HACKDIR, "tolvenar-settings")
            self.assertEqual(files_under(destdir),
                             sorted([os.path.relpath(p, "/") for p in (program, settings_program)] +
                                    [os.path.join(PREFIX, f).lstrip("/")
                                     for f in [LINK, MANUAL] + DATA_FILES]))
            link = os.path.join(root, LINK)
            self.assertEqual(os.path.realpath(link), os.path.realpath(destdir + program))
            self.check_entries(os.path.join(root, "share"), program)
            self.check_registration(link)


if __name__ == "__main__":
    unittest.main()
