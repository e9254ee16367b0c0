#!/usr/bin/env python3
"""Makes the Windows build's settings dialog pictures that the Linux dialog is compared with: the
dialog's client area at 96 and 144 dots per inch, with the audio CD chosen and track 5 loaded (the
repeat box and the two bottom buttons enabled, the file button disabled), the pointer away.

Run once per resolution, each in a Wine prefix of its own (the resolution is a prefix setting):

  for dpi in 96 144; do
    TOLVENAR_WINEPREFIX=$PWD/build/wine/prefix-dpi$dpi TOLVENAR_DPI=$dpi \
    TOLVENAR_SCR=build/windows/src/Tolvenar.scr TOLVENAR_PROBE=build/windows/tests/e2e/winprobe.exe \
      scripts/with-wine python3 tests/linux/settings_dialog/reference/make_references.py
  done

It writes dialog_<dpi>dpi.png beside itself."""

import os
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "..", "e2e"))

from tolvenar_e2e import client_rect, find_window, post_close, wait_for, xdotool  # noqa: E402

TITLE = "<Tolvenar>"
KIND = b"BGM\x8b\xe6\x95\xaa"
REPEAT = b"BGM\xd8\xcb\xdf\xb0\xc4"


def main():
    dpi = int(os.environ["TOLVENAR_DPI"])
    subprocess.run(["wine", "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t",
                    "REG_DWORD", "/d", str(dpi), "/f"], capture_output=True, timeout=60, check=True)
    folder = tempfile.mkdtemp(prefix="tolvenar-reference-")
    try:
        scr = os.path.join(folder, "Tolvenar.scr")
        shutil.copy(os.environ["TOLVENAR_SCR"], scr)
        with open(os.path.join(folder, "Tolvenar.ini"), "wb") as f:
            f.write(b"[Section]\r\n" + KIND + b"=1\r\n" + REPEAT + b"=5\r\n")
        xdotool("mousemove", "1020", "764")
        proc = subprocess.Popen(["wine", scr, "/c"], cwd=folder, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
        if not wait_for(lambda: (find_window(TITLE) or (0,) * 6)[5] == 1, 60):
            sys.exit("the dialog did not appear")
        time.sleep(2)  # first paint and the caret's blink settle
        left, top, right, bottom = client_rect(TITLE)
        out = os.path.join(HERE, "dialog_%ddpi.png" % dpi)
        subprocess.run(["import", "-window", "root", "-crop",
                        f"{right - left}x{bottom - top}+{left}+{top}", "+repage", out],
                       check=True, timeout=30)
        post_close(TITLE)
        proc.wait(timeout=20)
        print(out)
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()
