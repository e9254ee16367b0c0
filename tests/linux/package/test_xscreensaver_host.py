"""The package under the real host, as a user meets it: the .deb installed with apt, XScreenSaver's
own daemon (which refuses root) run by users the test makes, each with a display, a sound device and
settings of their own. The music is chosen as the settings program stores it; the saver registers
itself; the daemon starts and ends it, again and again, and restarts it on its cycle timer: each run
draws, is heard and ends promptly. A user who never set XScreenSaver up registers too.

Needs root (a throw-away machine: CI), a display (scripts/with-x11) and what scripts/setup installs.
"""

import array
import os
import pwd
import select
import shutil
import subprocess
import sys
import tempfile
import threading
import time
import unittest

from installed_saver import SETTINGS_WRITTEN, built_packages

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "e2e"))
from test_saver import make_music  # noqa: E402  the Windows tests' 30-second tone
from test_scene import read_ppm  # noqa: E402
from test_settings_dialog import ini_bytes  # noqa: E402  the INI bytes both builds write

SOURCE = os.environ.get("TOLVENAR_SOURCE",
                        os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", ".."))
ASOUNDRC = os.path.join(SOURCE, "scripts", "asoundrc")
APP_DEFAULTS = "/etc/X11/app-defaults/XScreenSaver"
TOOLS = ["xscreensaver", "xscreensaver-command", "xhost", "useradd", "userdel", "import", "sox",
         "lame", "apt-get"]
LOUD = 1000  # a 16-bit sample above this is sound, not noise
ACTIVATIONS = 10
RESTARTS = 5


def wait_for(predicate, timeout, interval=0.05):
    """The predicate's first true value within timeout seconds, else its last value."""
    end = time.monotonic() + timeout
    while True:
        value = predicate()
        if value or time.monotonic() > end:
            return value
        time.sleep(interval)


def programs_resource(text, key):
    """The entries of an X resource file's list of display modes, as its lines hold them."""
    lines = text.splitlines()
    at = next(i for i, line in enumerate(lines) if line.startswith(key))
    value = lines[at][len(key):]
    while value.endswith("\\"):
        at += 1
        value = value[:-1] + lines[at]
    return [entry.strip() for entry in value.split("\\n") if entry.strip()]


def program_name(entry):
    """The program an entry runs: `- GL: "Name" moebius --root` is moebius."""
    entry = entry.lstrip("-").strip()
    head = entry.split(None, 1)
    if head and head[0].endswith(":"):
        entry = entry[len(head[0]):].strip()
    if entry.startswith('"'):
        entry = entry[entry.index('"', 1) + 1:].strip()
    return os.path.basename(entry.split()[0])


def screen_colours():
    """How many colours a sample of the screen's pixels holds: a black or patterned screen one or
    two, a drawn scene thousands."""
    with tempfile.TemporaryDirectory(prefix="tolvenar-shot-") as folder:
        shot = os.path.join(folder, "screen.ppm")
        subprocess.run(["import", "-window", "root", "-depth", "8", shot], check=True,
                       capture_output=True, timeout=30)
        rgb = read_ppm(shot)[2]
    return len({rgb[i:i + 3] for i in range(0, len(rgb) - 2, 3 * 31)})


class SoundCard:
    """ALSA's default device of a test user: scripts/asoundrc's file plugin writes into a FIFO that
    this reads at a sound card's pace (16-bit stereo, 44.1 kHz), so the player is held to real time
    as by a card (the null device alone takes sound faster than it plays), and notes when each loud
    stretch comes out."""

    RATE = 44100 * 2 * 2
    CHUNK = 4096

    def __init__(self, path, uid, gid):
        os.mkfifo(path, 0o600)
        os.chown(path, uid, gid)
        # Read and write: writers come and go without an end of file here, nor a block there.
        self.fd = os.open(path, os.O_RDWR | os.O_NONBLOCK)
        self.loud = []  # monotonic times
        self.stopping = threading.Event()
        self.thread = threading.Thread(target=self.play, daemon=True)
        self.thread.start()

    def play(self):
        start, taken = time.monotonic(), 0
        while not self.stopping.is_set():
            ahead = start + taken / self.RATE - time.monotonic()
            if ahead > 0:
                time.sleep(ahead)
            if not select.select([self.fd], [], [], 0.1)[0]:
                start, taken = time.monotonic(), 0  # idle: a pause is not made up afterwards
                continue
            try:
                data = os.read(self.fd, self.CHUNK)
            except BlockingIOError:
                continue
            taken += len(data)
            samples = array.array("h", data[:len(data) // 2 * 2])
            if max(samples, default=0) > LOUD or min(samples, default=0) < -LOUD:
                self.loud.append(time.monotonic())

    def heard(self, start, end):
        return any(start <= t <= end for t in list(self.loud))

    def first_heard(self, start, end):
        """The time sound first came out between start and end (monotonic), waiting for end."""
        return wait_for(lambda: next((t for t in list(self.loud) if start <= t <= end), None),
                        end - time.monotonic())

    def close(self):
        self.stopping.set()
        self.thread.join(5)
        os.close(self.fd)


class HostUser:
    """A new user with the X display (unless x_display is false), a sound device and a runtime
    folder of their own; removed again with every process and file of theirs."""

    def __init__(self, test, x_display=True):
        self.test = test
        self.name = f"tolv{os.getpid() % 100000}{chr(ord('a') + len(test.users))}"
        test.users.append(self.name)
        subprocess.run(["useradd", "--create-home", "--shell", "/bin/sh", self.name], check=True,
                       capture_output=True, timeout=60)
        test.addCleanup(self.remove)
        entry = pwd.getpwnam(self.name)
        self.uid, self.gid, self.home = entry.pw_uid, entry.pw_gid, entry.pw_dir
        self.runtime = tempfile.mkdtemp(prefix="tolvenar-runtime-")
        test.addCleanup(shutil.rmtree, self.runtime, True)
        os.chown(self.runtime, self.uid, self.gid)
        if x_display:
            subprocess.run(["xhost", f"+SI:localuser:{self.name}"], check=True,
                           capture_output=True, timeout=30)
            test.addCleanup(subprocess.run, ["xhost", f"-SI:localuser:{self.name}"],
                            capture_output=True, timeout=30)
        capture = os.path.join(self.runtime, "sound-card")
        self.card = SoundCard(capture, self.uid, self.gid)
        test.addCleanup(self.card.close)
        self.env = {"HOME": self.home, "USER": self.name, "LOGNAME": self.name, "SHELL": "/bin/sh",
                    "PATH": "/usr/local/bin:/usr/bin:/bin",
                    "XDG_RUNTIME_DIR": self.runtime, "TOLVENAR_AUDIO_CAPTURE": capture,
                    "LP_NUM_THREADS": "2"}
        if x_display:
            self.env["DISPLAY"] = os.environ["DISPLAY"]
        with open(ASOUNDRC, "rb") as f:
            self.write(".asoundrc", f.read())
        self.daemon = None

    def path(self, name):
        return os.path.join(self.home, name)

    def write(self, name, data):
        """A file in the home, the user's own, as the user's programs would leave it."""
        folder = self.home
        for part in os.path.dirname(name).split("/") if os.path.dirname(name) else []:
            folder = os.path.join(folder, part)
            if not os.path.isdir(folder):
                os.mkdir(folder)
                os.chown(folder, self.uid, self.gid)
        with open(self.path(name), "wb") as f:
            f.write(data)
        os.chown(self.path(name), self.uid, self.gid)

    def choose_music(self):
        """An MP3 in ~/Music, chosen in the settings program: it stores the core's form of the
        path (backslashes from the root), not the POSIX one."""
        with tempfile.TemporaryDirectory(prefix="tolvenar-tone-") as folder:
            tune = os.path.join(folder, "tune.mp3")
            make_music(tune)
            with open(tune, "rb") as f:
                self.write("Music/tune.mp3", f.read())
        stored = self.path("Music/tune.mp3").replace("/", "\\").encode("cp932")
        self.write(".config/tolvenar/Tolvenar.ini", ini_bytes(b"2", b"0", stored))

    def run(self, *args, timeout=30):
        return subprocess.run(list(args), user=self.uid, group=self.gid, extra_groups=[],
                              env=self.env, cwd=self.home, capture_output=True, text=True,
                              timeout=timeout)

    def command(self, *options):
        done = self.run("xscreensaver-command", *options)
        self.test.assertEqual(done.returncode, 0, f"xscreensaver-command {options}: {done.stderr}")

    def start_daemon(self):
        self.log = os.path.join(self.runtime, "xscreensaver.log")
        with open(self.log, "wb") as log:
            self.daemon = subprocess.Popen(["xscreensaver", "-no-splash", "-verbose"],
                                           user=self.uid, group=self.gid, extra_groups=[],
                                           env=self.env, cwd=self.home, stdout=log,
                                           stderr=subprocess.STDOUT)
        self.test.addCleanup(self.stop_daemon)
        answering = wait_for(lambda: self.run("xscreensaver-command", "-time").returncode == 0, 20,
                             0.3)
        self.test.assertTrue(answering, "the daemon does not answer:\n" + self.daemon_log())

    def stop_daemon(self):
        if self.daemon.poll() is None:
            self.run("xscreensaver-command", "-exit")
            try:
                self.daemon.wait(10)
            except subprocess.TimeoutExpired:
                self.daemon.kill()
                self.daemon.wait()

    def daemon_log(self):
        with open(self.log, encoding="utf-8", errors="replace") as f:
            return f.read()[-6000:]

    def processes(self, program):
        """The pids of this user's live processes running program (zombies are ended ones)."""
        found = []
        for entry in os.listdir("/proc"):
            if not entry.isdigit():
                continue
            try:
                if os.stat(f"/proc/{entry}").st_uid != self.uid:
                    continue
                with open(f"/proc/{entry}/cmdline", "rb") as f:
                    argv0 = f.read().split(b"\0")[0].decode(errors="replace")
                with open(f"/proc/{entry}/stat") as f:
                    state = f.read().rsplit(")", 1)[1].split()[0]
            except OSError:
                continue
            if os.path.basename(argv0) == program and state != "Z":
                found.append(int(entry))
        return found

    def savers(self):
        return self.processes("tolvenar")

    def remove(self):
        """Ends what is left of the user's processes, then the user with their home."""
        for _ in range(50):
            left = self.processes_of_user()
            if not left:
                break
            for pid in left:
                try:
                    os.kill(pid, 9)
                except ProcessLookupError:
                    pass
            time.sleep(0.1)
        subprocess.run(["userdel", "--remove", self.name], capture_output=True, timeout=60)

    def processes_of_user(self):
        pids = []
        for entry in os.listdir("/proc"):
            try:
                if entry.isdigit() and os.stat(f"/proc/{entry}").st_uid == self.uid:
                    pids.append(int(entry))
            except OSError:
                pass
        return pids


class UnderXscreensaver(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        if os.geteuid() != 0:
            raise unittest.SkipTest("installs the package and makes users: needs root (CI is)")
        if not os.environ.get("DISPLAY"):
            raise unittest.SkipTest("needs a display (scripts/with-x11 gives one)")
        missing = [tool for tool in TOOLS if not shutil.which(tool)]
        if missing:
            raise unittest.SkipTest(f"{', '.join(missing)} not installed "
                                    "(scripts/setup installs it)")
        installed = subprocess.run(["dpkg-query", "-W", "-f=${Status}", "tolvenar"],
                                   capture_output=True, text=True, timeout=30).stdout
        if "installed" in installed.split():
            raise unittest.SkipTest("tolvenar is installed on this machine: left alone")
        debs, log = built_packages(SOURCE)
        if len(debs) != 1:
            raise AssertionError(f"no single package in build/deb: {debs}\n{log}")
        install = subprocess.run(["apt-get", "install", "-y", "-q", "--no-install-recommends",
                                  "-o", "DPkg::Lock::Timeout=300", os.path.abspath(debs[0])],
                                 capture_output=True, text=True, timeout=600,
                                 env=dict(os.environ, DEBIAN_FRONTEND="noninteractive"))
        cls.addClassCleanup(cls.remove_package)
        if install.returncode != 0:
            raise AssertionError("apt-get install failed:\n" + install.stdout[-3000:] +
                                 install.stderr[-3000:])
        cls.timings = {}

    @classmethod
    def remove_package(cls):
        for _ in range(60):  # dpkg waits for nobody: retry while another apt holds its lock
            removed = subprocess.run(["dpkg", "-r", "tolvenar"], capture_output=True, text=True,
                                     timeout=120)
            if removed.returncode == 0 or "lock" not in removed.stderr:
                break
            time.sleep(5)
        if removed.returncode != 0:
            raise AssertionError("dpkg -r tolvenar failed: " + removed.stderr)

    @classmethod
    def tearDownClass(cls):
        for name, values in sorted(getattr(cls, "timings", {}).items()):
            print(f"{name}: max {max(values):.2f} s, median {sorted(values)[len(values) // 2]:.2f}"
                  f" s over {len(values)}", file=sys.stderr)

    def setUp(self):
        self.users = []

    def note(self, name, seconds):
        self.timings.setdefault(name, []).append(seconds)

    def registered_user(self, **chosen):
        """A user who set XScreenSaver up, registered the saver and then, in XScreenSaver's
        settings, chose it as the only display mode (the list's third entry)."""
        user = HostUser(self)
        user.choose_music()
        user.write(".xscreensaver", SETTINGS_WRITTEN)
        done = user.run("tolvenar", "--register-xscreensaver")
        self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
        with open(user.path(".xscreensaver"), "rb") as f:
            settings = f.read()
        self.assertEqual(programs_resource(settings.decode(), "programs:")[2],
                         "GL: tolvenar --root")
        settings = settings.replace(b"mode:\t\trandom\n", b"mode:\t\tone\n")
        settings = settings.replace(b"selected:\t1\n", b"selected:\t2\n")
        header = b"# XScreenSaver Preferences File\n"
        chosen = b"".join(f"{key}:\t\t{value}\n".encode() for key, value in chosen.items())
        user.write(".xscreensaver", settings.replace(header, header + chosen))
        return user

    def wait_drawn(self, user):
        drawn = wait_for(lambda: screen_colours() >= 100, 10, 0.2)
        self.assertTrue(drawn, "the screen was not drawn:\n" + user.daemon_log())

    def test_activated_ten_times_it_draws_plays_and_ends(self):
        user = self.registered_user(fade="False", unfade="False")
        user.start_daemon()
        for run in range(ACTIVATIONS):
            sent = time.monotonic()
            user.command("-activate")
            saver = wait_for(user.savers, 10)
            appeared = time.monotonic()
            self.assertEqual(len(saver), 1, f"activation {run + 1}: one saver runs:\n" +
                             user.daemon_log())
            self.note("activate -> saver process", appeared - sent)
            with self.subTest(activation=run + 1, check="drawn"):
                self.wait_drawn(user)
                self.note("activate -> drawn", time.monotonic() - sent)
            with self.subTest(activation=run + 1, check="heard"):
                # A new user's first run also builds GStreamer's plug-in registry.
                heard = user.card.first_heard(appeared, appeared + (15 if run == 0 else 5))
                self.assertIsNotNone(heard, "the music was not heard")
                self.note("saver process -> heard", heard - appeared)
            ending = time.monotonic()
            user.command("-deactivate")
            gone = wait_for(lambda: not user.savers(), 2.0)
            ended = time.monotonic()
            with self.subTest(activation=run + 1, check="ended"):
                self.assertTrue(gone, "the saver outlived -deactivate by 2 s")
                self.note("deactivate -> saver gone", ended - ending)
            # The host's own helper ends too before the next activation.
            self.assertTrue(wait_for(lambda: not user.processes("xscreensaver-gfx"), 5))
            time.sleep(max(0.0, ended + 1.0 - time.monotonic()))
            with self.subTest(activation=run + 1, check="silent after the end"):
                self.assertFalse(user.card.heard(ended + 0.6, time.monotonic()))

    def test_restarted_by_the_cycle_timer_it_plays_again(self):
        user = self.registered_user(cycle="0:00:05", fade="False", unfade="False")
        user.start_daemon()
        user.command("-activate")
        self.addCleanup(user.run, "xscreensaver-command", "-deactivate")
        saver = wait_for(user.savers, 10)
        self.assertEqual(len(saver), 1, user.daemon_log())
        self.assertIsNotNone(user.card.first_heard(time.monotonic(), time.monotonic() + 15),
                             "never heard at all")
        for restart in range(RESTARTS):
            old = saver[0]
            saver = wait_for(lambda: [p for p in user.savers() if p != old], 8)
            self.assertEqual(len(saver), 1, "the timer started one new saver:\n" +
                             user.daemon_log())
            self.assertTrue(wait_for(lambda: old not in user.savers(), 3),
                            "the old saver outlived SIGTERM by 3 s")
            ended = time.monotonic()
            with self.subTest(restart=restart + 1, check="drawn"):
                self.wait_drawn(user)
            # What the old one played has left the card 0.5 s after its end.
            heard = user.card.first_heard(ended + 0.5, ended + 2.5)
            with self.subTest(restart=restart + 1, check="heard"):
                self.assertIsNotNone(heard, "silent after the restart")
                self.note("old saver gone -> heard again", heard - ended)

    def test_a_new_user_registers_and_the_daemon_runs_it(self):
        user = HostUser(self)
        user.choose_music()
        done = user.run("tolvenar", "--register-xscreensaver")
        self.assertEqual(done.returncode, 0, "a user who never opened XScreenSaver's settings: " +
                         done.stdout + done.stderr)
        with open(APP_DEFAULTS, encoding="utf-8", errors="replace") as f:
            system = [program_name(e) for e in programs_resource(f.read(), "*programs:")]
        with open(user.path(".xscreensaver"), encoding="utf-8", errors="replace") as f:
            entries = programs_resource(f.read(), "programs:")
        self.assertEqual([program_name(e) for e in entries], system + ["tolvenar"],
                         "every mode of the system's list, then the saver")
        position = [program_name(e) for e in entries].index("tolvenar") + 1
        user.start_daemon()
        user.command("-select", str(position))
        try:
            self.assertEqual(len(wait_for(user.savers, 10)), 1, user.daemon_log())
            self.wait_drawn(user)
        finally:
            user.command("-deactivate")
        self.assertTrue(wait_for(lambda: not user.savers(), 2.0))


if __name__ == "__main__":
    unittest.main()
