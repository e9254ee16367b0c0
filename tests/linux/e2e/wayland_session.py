"""A Wayland session for the end-to-end tests: a new ordinary user (the compositors refuse root)
with a runtime folder and ALSA's default device of their own, a headless compositor run as that
user, and what a test does in it: run programs as the user, screenshots per output, a key, pointer
motion and buttons, outputs added. Everything (processes, user, runtime folder) goes again at the
test's end, whichever way it ends."""

import json
import os
import shutil
import socket
import struct
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "package"))
from test_xscreensaver_host import HostUser, wait_for  # noqa: E402,F401  wait_for also the tests'

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "e2e"))
from test_scene import read_ppm  # noqa: E402

# Two outputs of different sizes side by side, and nothing else the tests do not need.
SWAY_OUTPUTS = {"HEADLESS-1": (1024, 768), "HEADLESS-2": (800, 600)}
SWAY_CONFIG = """xwayland disable
output HEADLESS-1 resolution 1024x768 position 0 0
output HEADLESS-2 resolution 800x600 position 1024 0
"""
SWAY_ENV = {"WLR_BACKENDS": "headless", "WLR_RENDERER": "pixman", "WLR_LIBINPUT_NO_DEVICES": "1",
            "WLR_HEADLESS_OUTPUTS": "2"}
WESTON_SIZE = (1024, 768)


def skip_reason(tools):
    """Why the session cannot be had here, or None."""
    if os.geteuid() != 0:
        return "makes a user for the compositor (which refuses root): needs root (CI is)"
    missing = [tool for tool in tools if not shutil.which(tool)]
    if missing:
        return f"{', '.join(missing)} not installed (scripts/setup installs it)"
    return None


def colours(rgb):
    """How many colours a sample of a picture's pixels holds: blank one or two, a scene many."""
    return len({rgb[i:i + 3] for i in range(0, len(rgb) - 2, 3 * 31)})


# The smallest keymap a keyboard can have (one key); wtype brings its own for what it types.
KEYMAP = b"""xkb_keymap {
xkb_keycodes "tests" { minimum = 8; maximum = 9; <K1> = 9; };
xkb_types "tests" { include "complete" };
xkb_compatibility "tests" { include "complete" };
xkb_symbols "tests" { key <K1> { [ Escape ] }; };
};
\0"""


class VirtualInput:
    """A pointer and a keyboard plugged into the compositor's seat for the session, as a desktop
    has a mouse and a keyboard: the headless back end has no input devices, and without one the
    seat offers its clients none, so `swaymsg seat - cursor` would reach nobody, and wtype's own
    keyboard, plugged in only while it types, would be gone before a client had taken it up.
    Speaks the wire protocol itself (the virtual pointer and keyboard protocols) and holds the
    connection until closed."""

    def __init__(self, runtime, display):
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.connect(os.path.join(runtime, display))
        self.buffer = b""
        self.send(1, 1, struct.pack("<I", 2))  # wl_display.get_registry -> 2
        globals_ = self.round_trip(3)
        self.bind(globals_, "wl_seat", 4)
        self.bind(globals_, "zwlr_virtual_pointer_manager_v1", 5)
        self.bind(globals_, "zwp_virtual_keyboard_manager_v1", 6)
        self.send(5, 0, struct.pack("<II", 4, 7))  # create_virtual_pointer(seat) -> 7
        self.send(6, 0, struct.pack("<II", 4, 8))  # create_virtual_keyboard(seat) -> 8
        keymap = os.memfd_create("keymap")
        try:
            os.write(keymap, KEYMAP)
            # zwp_virtual_keyboard_v1.keymap(xkb_v1, fd, size): the descriptor rides alongside.
            args = struct.pack("<II", 1, len(KEYMAP))
            message = struct.pack("<II", 8, (8 + len(args)) << 16 | 0) + args
            self.sock.sendmsg([message], [(socket.SOL_SOCKET, socket.SCM_RIGHTS,
                                           struct.pack("<i", keymap))])
        finally:
            os.close(keymap)
        self.round_trip(9)

    def bind(self, globals_, interface, new_id):
        name, _ = globals_[interface]
        text = interface.encode() + b"\0"
        self.send(2, 0, struct.pack("<II", name, len(text)) + text + b"\0" * (-len(text) % 4) +
                  struct.pack("<II", 1, new_id))  # wl_registry.bind, version 1

    def send(self, obj, opcode, args):
        self.sock.sendall(struct.pack("<II", obj, (8 + len(args)) << 16 | opcode) + args)

    def round_trip(self, callback):
        """wl_display.sync: the registry's globals {interface: (name, version)} seen until done."""
        self.send(1, 0, struct.pack("<I", callback))
        found = {}
        self.sock.settimeout(10)
        while True:
            while len(self.buffer) < 8 or len(self.buffer) < struct.unpack(
                    "<I", self.buffer[4:8])[0] >> 16:
                data = self.sock.recv(4096)
                if not data:
                    raise ConnectionError("the compositor closed the virtual input's connection")
                self.buffer += data
            obj, size_opcode = struct.unpack("<II", self.buffer[:8])
            size, opcode = size_opcode >> 16, size_opcode & 0xFFFF
            body, self.buffer = self.buffer[8:size], self.buffer[size:]
            if obj == 1 and opcode == 0:
                raise ConnectionError("wayland error: " + body[12:].split(b"\0")[0].decode())
            if obj == 2 and opcode == 0:  # wl_registry.global(name, interface, version)
                name, length = struct.unpack("<II", body[:8])
                interface = body[8:8 + length - 1].decode()
                found[interface] = (name, struct.unpack("<I", body[-4:])[0])
            if obj == callback:
                return found

    def close(self):
        self.sock.close()


class Session:
    """A compositor run by a new user; programs run in it as that user (WAYLAND_DISPLAY and
    XDG_RUNTIME_DIR set, no DISPLAY)."""

    def __init__(self, test):
        if not hasattr(test, "users"):
            test.users = []
        self.test = test
        self.user = HostUser(test, x_display=False)
        self.runtime = self.user.runtime
        os.chmod(self.runtime, 0o700)
        self.env = dict(self.user.env)
        self.compositor = None
        self.log = self.user.path("compositor.log")

    def start(self, argv, extra_env, socket_name):
        with open(self.log, "wb") as log:
            self.compositor = subprocess.Popen(argv, user=self.user.uid, group=self.user.gid,
                                               extra_groups=[], env={**self.env, **extra_env},
                                               cwd=self.user.home, stdout=log,
                                               stderr=subprocess.STDOUT)
        self.test.addCleanup(self.stop)
        up = wait_for(lambda: os.path.exists(os.path.join(self.runtime, socket_name)) or
                      self.compositor.poll() is not None, 20, 0.1)
        if not up or self.compositor.poll() is not None:
            raise AssertionError("the compositor did not start:\n" + self.compositor_log())
        self.env["WAYLAND_DISPLAY"] = socket_name

    def stop(self):
        if self.compositor.poll() is None:
            self.compositor.terminate()
            try:
                self.compositor.wait(10)
            except subprocess.TimeoutExpired:
                self.compositor.kill()
                self.compositor.wait()

    def compositor_log(self):
        with open(self.log, encoding="utf-8", errors="replace") as f:
            return f.read()[-4000:]

    def run(self, *args, timeout=30):
        """A program run to its end as the user in the session."""
        return subprocess.run(list(args), user=self.user.uid, group=self.user.gid,
                              extra_groups=[], env=self.env, cwd=self.user.home,
                              capture_output=True, timeout=timeout)

    def start_program(self, *args, env=None):
        """A program started as the user in the session, ended at the test's end at the latest;
        what it prints goes to a file of the test's (read by output())."""
        out = tempfile.TemporaryFile()
        self.test.addCleanup(out.close)
        program = subprocess.Popen(list(args), user=self.user.uid, group=self.user.gid,
                                   extra_groups=[], env={**self.env, **(env or {})},
                                   cwd=self.user.home, stdout=out, stderr=subprocess.STDOUT)
        program.out = out
        self.test.addCleanup(self.end, program)
        return program

    @staticmethod
    def end(program):
        """Kills the program unless it has ended."""
        if program.poll() is None:
            program.kill()
            program.wait()

    @staticmethod
    def output(program):
        program.out.seek(0)
        return program.out.read().decode(errors="replace")[-4000:]

    def leftovers(self):
        """What of the user's is alive or on disk outside the home: their processes but the
        compositor's own, and the files in the runtime folder and in /tmp."""
        ignore = {self.compositor.pid} | set(self.compositor_children())
        alive = [pid for pid in self.user.processes_of_user() if pid not in ignore]
        names = []
        for entry in os.listdir(self.runtime):
            names.append(os.path.join(self.runtime, entry))
        for entry in os.listdir("/tmp"):
            try:
                if os.lstat(os.path.join("/tmp", entry)).st_uid == self.user.uid:
                    names.append(os.path.join("/tmp", entry))
            except OSError:
                pass
        return alive, set(names)

    def compositor_children(self):
        found = []
        for pid in self.user.processes_of_user():
            try:
                with open(f"/proc/{pid}/stat") as f:
                    if int(f.read().rsplit(")", 1)[1].split()[1]) == self.compositor.pid:
                        found.append(pid)
            except OSError:
                pass
        return found


class SwaySession(Session):
    """sway headless with SWAY_OUTPUTS (the layer shell's path), a pointer and a keyboard plugged
    in."""

    TOOLS = ["sway", "swaymsg", "grim", "wtype", "useradd", "userdel"]

    def __init__(self, test):
        super().__init__(test)
        self.user.write("sway.config", SWAY_CONFIG.encode())
        self.start(["sway", "--config", self.user.path("sway.config")], SWAY_ENV, "wayland-1")
        self.env["SWAYSOCK"] = wait_for(self.ipc_socket, 10)
        configured = wait_for(lambda: {o["name"]: (o["rect"]["width"], o["rect"]["height"])
                                       for o in self.outputs()} == SWAY_OUTPUTS, 10, 0.1)
        test.assertTrue(configured, f"sway's outputs: {self.outputs()}\n" + self.compositor_log())
        self.input = VirtualInput(self.runtime, "wayland-1")
        test.addCleanup(self.input.close)

    def ipc_socket(self):
        found = [n for n in os.listdir(self.runtime) if n.startswith("sway-ipc.")]
        return os.path.join(self.runtime, found[0]) if found else None

    def swaymsg(self, *args):
        done = self.run("swaymsg", "--raw", *args)
        self.test.assertEqual(done.returncode, 0, f"swaymsg {args}: {done.stdout + done.stderr}")
        return json.loads(done.stdout)

    def outputs(self):
        done = self.run("swaymsg", "--raw", "-t", "get_outputs")
        return json.loads(done.stdout) if done.returncode == 0 else []

    def create_output(self):
        """Adds a headless output (1920x1080, sway's default for one); its name."""
        before = {o["name"] for o in self.outputs()}
        self.swaymsg("create_output")
        added = wait_for(lambda: {o["name"] for o in self.outputs()} - before, 10, 0.1)
        self.test.assertEqual(len(added), 1, "one output added")
        return added.pop()

    def shot(self, output):
        """(width, height, RGB bytes) of what output shows now."""
        done = self.run("grim", "-t", "ppm", "-o", output, "-")
        self.test.assertEqual(done.returncode, 0, f"grim -o {output}: {done.stderr}")
        with tempfile.NamedTemporaryFile(suffix=".ppm") as f:
            f.write(done.stdout)
            f.flush()
            return read_ppm(f.name)

    def key(self, name):
        done = self.run("wtype", "-k", name)
        self.test.assertEqual(done.returncode, 0, f"wtype -k {name}: {done.stderr}")

    def cursor(self, *args):
        """`swaymsg seat - cursor move|press|release ...`."""
        self.swaymsg("seat", "-", "cursor", *args)


class WestonSession(Session):
    """weston headless with its desktop shell (no layer shell: programs go full screen through
    xdg-shell), one WESTON_SIZE output drawn by pixman, screenshots allowed (--debug)."""

    TOOLS = ["weston", "weston-screenshooter", "convert", "useradd", "userdel"]

    def __init__(self, test):
        super().__init__(test)
        width, height = WESTON_SIZE
        self.start(["weston", "--backend=headless-backend.so", "--shell=desktop-shell.so",
                    "--use-pixman", f"--width={width}", f"--height={height}", "--idle-time=0",
                    "--socket=wayland-weston", "--debug"], {}, "wayland-weston")

    def shot(self):
        """(width, height, RGB bytes) of the output now; weston-screenshooter leaves a PNG in the
        working folder."""
        folder = tempfile.mkdtemp(prefix="tolvenar-weston-shot-")
        self.test.addCleanup(shutil.rmtree, folder, True)
        os.chown(folder, self.user.uid, self.user.gid)
        done = subprocess.run(["weston-screenshooter"], user=self.user.uid, group=self.user.gid,
                              extra_groups=[], env=self.env, cwd=folder, capture_output=True,
                              timeout=30)
        pngs = [n for n in os.listdir(folder) if n.endswith(".png")]
        self.test.assertEqual(len(pngs), 1, f"weston-screenshooter: {done.stderr}")
        ppm = os.path.join(folder, "shot.ppm")
        subprocess.run(["convert", os.path.join(folder, pngs[0]), "-depth", "8", ppm],
                       check=True, capture_output=True, timeout=30)
        return read_ppm(ppm)

