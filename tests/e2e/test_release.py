"""The shipped file: one program under 2 MiB that imports only the system libraries every mode needs
at start (sound, gradients, the file chooser and the shell are bound when first used)."""

import os
import subprocess
import unittest

from tolvenar_e2e import SCR

AT_START = {"kernel32.dll", "user32.dll", "gdi32.dll", "msvcrt.dll"}


class ReleaseFile(unittest.TestCase):
    def test_one_file_under_two_mib_without_symbols(self):
        self.assertLess(os.path.getsize(SCR), 2 * 1024 * 1024)
        headers = subprocess.run(["x86_64-w64-mingw32-objdump", "-h", SCR], capture_output=True,
                                 text=True, check=True, timeout=60).stdout
        self.assertNotIn(".debug_", headers)

    def test_imports_only_the_libraries_every_mode_needs(self):
        dump = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", SCR], capture_output=True,
                              text=True, check=True, timeout=60).stdout
        imports = {line.split(":", 1)[1].strip().lower() for line in dump.splitlines()
                   if "DLL Name:" in line}
        self.assertEqual(imports, AT_START)


if __name__ == "__main__":
    unittest.main()
