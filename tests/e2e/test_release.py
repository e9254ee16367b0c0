"""The shipped file: one program under 2 MiB that imports only the system libraries every mode needs
at start (sound, gradients, the file chooser and the shell are bound when first used), and carries
what Windows reads from a screen saver file without running it: its name, version and manifest."""

import os
import subprocess
import unittest

from tolvenar_e2e import SCR, run_probe, windows_path

AT_START = {"kernel32.dll", "user32.dll", "gdi32.dll", "msvcrt.dll"}

# What the display settings and the file's properties show, as the system reads it.
RESOURCES = {
    "string1": "Tolvenar",
    "fixed": "1.0.0.0 1.0.0.0",
    "CompanyName": "Tolvenar Project",
    "FileDescription": "Tolvenar (ScreenSaver)",
    "FileVersion": "1.0.0",
    "InternalName": "Tolvenar",
    "LegalCopyright": "Copyright (C) 2024-2026 the Tolvenar developers. MIT licence.",
    "OriginalFilename": "Tolvenar.scr",
    "ProductName": "Tolvenar",
    "ProductVersion": "1.0.0",
}

MANIFEST_PARTS = [
    'level="asInvoker"',
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  # Windows 7
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  # Windows 8
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  # Windows 8.1
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  # Windows 10 and 11
    ">true/pm</dpiAware>",
    ">PerMonitorV2,PerMonitor</dpiAwareness>",
]


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

    def test_name_version_and_manifest_as_the_system_reads_them(self):
        lines = run_probe("resources", windows_path(os.path.abspath(SCR))).splitlines()
        found = dict(line.split("|", 1) for line in lines if "|" in line)
        manifest = found.pop("manifest", "")
        self.assertEqual(found, RESOURCES)
        for part in MANIFEST_PARTS:
            with self.subTest(part=part):
                self.assertIn(part, manifest)


if __name__ == "__main__":
    unittest.main()
