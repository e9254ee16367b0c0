"""Shared helpers for the end-to-end tests: the real Tolvenar.scr under Wine in a Wine session
(scripts/with-wine), copied into a fresh program directory per test so that its INI file and bitmap
files land there and nothing is left behind."""

import getpass
import os
import re
import shutil
import signal
import subprocess
import tempfile
import time
import unittest

SCR = os.environ.get("TOLVENAR_SCR", "")
PROBE = os.environ.get("TOLVENAR_PROBE", "")
# Wine runs in code page 932 under this locale (made by the build, found through LOCPATH).
JAPANESE = {"LC_ALL": "ja_JP.UTF-8"}


def run_probe(*args, timeout=20, env=None):
    """Runs winprobe with the given arguments and returns its stdout, stripped."""
    # Output goes through a file, not a pipe: the first Wine program of a session starts Wine's
    # service processes, which inherit its handles and would hold a pipe open for their lifetime.
    with tempfile.TemporaryFile() as out:
        subprocess.run(["wine", PROBE, *args], stdout=out, stderr=subprocess.DEVNULL, timeout=timeout,
                       env={**os.environ, **(env or {})})
        out.seek(0)
        return out.read().decode(errors="replace").strip()


_japanese_file_names_seen = []


def check_japanese_file_names():
    """Fails unless Wine in the Japanese locale finds a file named 音 on disk by its code page 932
    name (89 B9). Without the locale Wine still says code page 932 but cannot convert file names,
    and every Japanese case would quietly test something else. Checked once per run."""
    if _japanese_file_names_seen:
        return
    folder = tempfile.mkdtemp(prefix="tolvenar-e2e-names-")
    try:
        open(os.path.join(folder, "音"), "wb").close()
        seen = run_probe("sees", windows_path(folder), "89B9", env=JAPANESE)
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    if seen != "932 found":
        raise AssertionError("Wine under %s does not see the file 音 (it says %r): the Japanese "
                             "locale is missing (LOCPATH=%r)" % (JAPANESE["LC_ALL"], seen,
                                                                 os.environ.get("LOCPATH")))
    _japanese_file_names_seen.append(True)


def find_window(title):
    """(hwnd, left, top, right, bottom, visible) of a top-level window with this title, or None."""
    out = run_probe("find", title)
    if not out or out == "none":
        return None
    parts = [int(p) for p in out.split()]
    return tuple(parts)


def window_style(title):
    """(style, extended style, class name) of a top-level window with this title, or None."""
    out = run_probe("style", title)
    if not out or out == "none":
        return None
    style, ex_style, class_name = out.split(" ", 2)
    return int(style, 16), int(ex_style, 16), class_name


def post_close(title):
    """Posts WM_CLOSE to the top-level window with this title; True when there was one."""
    return run_probe("close", title) == "posted"


def pointer_shown():
    """True while the pointer shows for the foreground window's thread (the probe's own answer
    comes from Wine for that thread, not for the probe)."""
    return run_probe("cursor") == "shown"


class PointerTrace:
    """Wine's record of one program's ShowCursor calls: start the program with `env` and
    `stderr`, then `counts()` gives the display count after each call, in order. A program that
    has ended has no count left to look at from outside, so this is how the count it ended with is
    seen."""

    env = {"WINEDEBUG": "+cursor"}

    def __init__(self):
        self.stderr = tempfile.TemporaryFile()

    def counts(self):
        self.stderr.seek(0)
        text = self.stderr.read().decode(errors="replace")
        return [int(n) for n in re.findall(r"NtUserShowCursor -?\d+, count=(-?\d+)", text)]


def screen_size():
    """(width, height) of the X screen the tests run on."""
    out = subprocess.run(["xwininfo", "-root"], capture_output=True, text=True, check=True,
                         timeout=10).stdout
    fields = dict(line.strip().split(":", 1) for line in out.splitlines() if ":" in line)
    return int(fields["Width"]), int(fields["Height"])


def bmp_info(path):
    """(width, height, bits per pixel) of a BMP file, or None when it is not one."""
    with open(path, "rb") as f:
        head = f.read(54)
    if len(head) < 30 or head[:2] != b"BM":
        return None
    width = int.from_bytes(head[18:22], "little", signed=True)
    height = int.from_bytes(head[22:26], "little", signed=True)
    bits = int.from_bytes(head[28:30], "little")
    return width, abs(height), bits


def wait_for(predicate, timeout, interval=0.1):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        value = predicate()
        if value:
            return value
        time.sleep(interval)
    return predicate()


def screenshot(path):
    subprocess.run(["import", "-window", "root", path], check=True, timeout=30)


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True, timeout=10)


def windows_path(unix_path):
    """The Wine (Z: drive) spelling of a Unix path."""
    return "Z:" + unix_path.replace("/", "\\")


class ProgramDir:
    """A fresh folder holding a copy of Tolvenar.scr."""

    def __init__(self):
        self.path = tempfile.mkdtemp(prefix="tolvenar-e2e-")
        self.scr = os.path.join(self.path, "Tolvenar.scr")
        shutil.copy(SCR, self.scr)
        # Windows environment variables for every start: Wine sets TEMP, TMP and the user's folders
        # itself, so these are set by cmd, which then runs the program and waits for it.
        self.windows_env = {}

    @property
    def ini(self):
        return os.path.join(self.path, "Tolvenar.ini")

    def write_ini(self, data: bytes):
        with open(self.ini, "wb") as f:
            f.write(data)

    def files(self):
        return sorted(os.listdir(self.path))

    def start(self, *args, env=None, stderr=subprocess.DEVNULL):
        """Starts the saver with these arguments (one argument text)."""
        if (env or {}).get("LC_ALL", "").startswith("ja_JP"):
            check_japanese_file_names()
        cmd = ["wine", self.scr, *args]
        if self.windows_env:
            sets = "".join("set %s=%s&& " % item for item in self.windows_env.items())
            cmd = ["wine", "cmd", "/c", sets + " ".join([windows_path(self.scr), *args])]
        return subprocess.Popen(cmd, cwd=self.path, env={**os.environ, **(env or {})},
                                stdout=subprocess.DEVNULL, stderr=stderr)

    def run(self, *args, timeout=30, env=None):
        """Runs the saver to its end; returns (exit code, seconds taken)."""
        begin = time.monotonic()
        proc = self.start(*args, env=env)
        try:
            code = proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            proc.kill()
            raise
        return code, time.monotonic() - begin

    def remove(self):
        shutil.rmtree(self.path, ignore_errors=True)


def user_folder(*parts):
    """A folder of the Wine user's (C:\\users\\<user>) as a Unix path: "Temp" is the temporary
    folder, "AppData/Local" the local application data."""
    prefix = os.environ.get("WINEPREFIX", os.path.expanduser("~/.wine"))
    return os.path.join(prefix, "drive_c", "users", getpass.getuser(), *parts)


USER_INI_FOLDER = user_folder("AppData", "Local", "Tolvenar")
USER_INI = os.path.join(USER_INI_FOLDER, "Tolvenar.ini")


def make_read_only(test, path):
    """Makes a file or folder unchangeable for the rest of the test (skips where that cannot be
    done). As root, chmod does not keep Wine from writing; the immutable flag does."""
    if os.geteuid() != 0:
        test.skipTest("chattr +i needs root")
    made = subprocess.run(["chattr", "+i", path], capture_output=True)
    if made.returncode != 0:
        test.skipTest("chattr +i failed: " + made.stderr.decode(errors="replace"))
    test.addCleanup(subprocess.run, ["chattr", "-i", path], capture_output=True)


def own_user_ini(test):
    """For a test that makes or reads the per-user INI copy: there is none before, and none after."""
    test.assertFalse(os.path.exists(USER_INI_FOLDER), "a per-user INI folder is left from before")
    test.addCleanup(shutil.rmtree, USER_INI_FOLDER, True)


class E2ETestCase(unittest.TestCase):
    """Gives each test its own program directory and makes sure no saver process outlives it."""

    def setUp(self):
        self.assertTrue(SCR and os.path.exists(SCR), "TOLVENAR_SCR must name the built Tolvenar.scr")
        self.program = ProgramDir()
        self.addCleanup(self.program.remove)
        self.addCleanup(kill_savers, self.program.path)


def kill_savers(program_dir):
    """Ends every saver process started from this test's program directory (a failed test must not
    leave one behind); processes of other runs are left alone."""
    pattern = "tolvenar-e2e-" + os.path.basename(program_dir).split("tolvenar-e2e-")[-1]
    subprocess.run(["pkill", "-f", pattern], capture_output=True)
    wait_for(lambda: subprocess.run(["pgrep", "-f", pattern], capture_output=True).returncode != 0, 5)


def client_rect(title):
    """(left, top, right, bottom) of a window's client area in screen pixels, or None."""
    out = run_probe("client", title)
    if not out or out == "none":
        return None
    return tuple(int(p) for p in out.split())


def child_windows(title):
    """Every descendant window of a top-level window: dicts with class, enabled, rect, text."""
    done = subprocess.run(["wine", PROBE, "children", title], capture_output=True, timeout=20)
    children = []
    for line in done.stdout.decode("utf-8", "replace").splitlines():
        parts = line.rstrip("\r").split("|", 3)
        if len(parts) != 4:
            continue
        children.append({"class": parts[0], "enabled": parts[1] == "1",
                         "rect": tuple(int(p) for p in parts[2].split()), "text": parts[3]})
    return children


def pixel(x, y):
    """The (red, green, blue) of one screen pixel."""
    out = subprocess.run(["import", "-window", "root", "-crop", f"1x1+{x}+{y}", "-depth", "8",
                          "txt:-"], capture_output=True, text=True, timeout=30, check=True).stdout
    # a header line, then "0,0: (r,g,b)  #RRGGBB  srgb(...)"
    hexa = out.splitlines()[1].split("#", 1)[1][:6]
    return tuple(int(hexa[i:i + 2], 16) for i in (0, 2, 4))
