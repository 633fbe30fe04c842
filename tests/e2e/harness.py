"""Drives a copy of the real kestrun program under an X server.

Every test gets a fresh temporary root holding a copy of the program file
(the program writes next to itself), its own TMPDIR (the single-copy lock
lives there) and a working folder. Windows are found and driven with
xdotool; the X protocol bits xdotool lacks (WM_DELETE_WINDOW, watching the
root window) go through python-xlib. Everything started here is ended and
the root removed when the session closes, whatever happened.

Each test file runs as: python3 test_X.py PATH-TO-KESTRUN, under an X
server named by $DISPLAY (xvfb-run -a); without a usable one it starts its
own Xvfb.
"""

import atexit
import glob
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

from Xlib import X, display, protocol

# Set by run_tests() from argv[1].
BINARY = None

PROGRAM_NAME = "kestrun"
EMULATOR_NAME = "supermodel"
MAIN_TITLE = "Sega Model 3 Kestrun To Supermodel ( For research 0.0.3)"

# X WM_STATE / WM_CHANGE_STATE value for an iconified window.
ICONIC_STATE = 3


# A build of the real emulator sits beside the repository (CI keeps a copy of
# the shared folder next to its clone).
REAL_EMULATOR = os.path.normpath(os.path.join(
    os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "shared", "real-emulator"))


def real_emulator_missing(renderer=False):
    """Why the real emulator cannot run here, or None. `renderer`: it must
    also draw a game, which needs Mesa's software renderer."""
    program = os.path.join(REAL_EMULATOR, "supermodel")
    if not os.path.isfile(program):
        return "no real emulator at %s" % REAL_EMULATOR
    libraries = subprocess.run(["ldd", program], capture_output=True, text=True).stdout
    missing = [line.split()[0] for line in libraries.splitlines() if "not found" in line]
    if missing:
        return "the real emulator's runtime packages are missing: " + ", ".join(missing)
    if renderer and not glob.glob("/usr/lib/*/dri/swrast_dri.so"):
        return "Mesa's software renderer (libgl1-mesa-dri) is missing"
    return None


def logged_setting(log, name):
    """The value the emulator's log gives a setting at start, or None."""
    match = re.search(r"(?m)^\[Info\]\s+%s=(.*)$" % re.escape(name), log)
    return match and match.group(1).strip()


def install_real_emulator(session, rom_sets):
    """Copies the real emulator into emu/ of the session's folder, with its
    Config/ and Assets/, and forges an archive of each set into roms/.
    Returns the program file, the emulator folder and the ROM folder."""
    emulator = os.path.join(session.root, "emu")
    for folder in ("Config", "Assets"):
        shutil.copytree(os.path.join(REAL_EMULATOR, folder), os.path.join(emulator, folder))
    program_file = os.path.join(emulator, EMULATOR_NAME)
    shutil.copyfile(os.path.join(REAL_EMULATOR, "supermodel"), program_file)
    os.chmod(program_file, 0o755)
    roms = os.path.join(session.root, "roms")
    os.makedirs(roms)
    for rom_set in rom_sets:
        subprocess.run([os.path.join(REAL_EMULATOR, "forge-romset"),
                        os.path.join(REAL_EMULATOR, "Config", "Games.xml"), rom_set,
                        os.path.join(roms, rom_set + ".zip")], check=True, capture_output=True)
    return program_file, emulator, roms


def twips_to_pixels(twips):
    """The program's own rounding: 15 twips to the pixel, halves up."""
    return (twips + 7) // 15


def wait_until(fn, timeout, what, interval=0.05):
    """Polls fn until it returns something truthy; fails the test on timeout."""
    deadline = time.monotonic() + timeout
    while True:
        value = fn()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise AssertionError("timed out after %.1f s waiting for %s" % (timeout, what))
        time.sleep(interval)


def xdotool(*args, check=True):
    result = subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True,
                            timeout=20)
    if check and result.returncode != 0:
        raise AssertionError("xdotool %s failed: %s" % (" ".join(map(str, args)),
                                                        result.stderr.strip()))
    return result.stdout


def pid_alive(pid):
    try:
        os.kill(pid, 0)
    except ProcessLookupError:
        return False
    except PermissionError:
        return True
    # A zombie child of ours is dead for every purpose here.
    try:
        with open("/proc/%d/stat" % pid) as stat:
            return stat.read().rsplit(")", 1)[1].split()[0] != "Z"
    except OSError:
        return False


FAKE_EMULATOR = """#!/bin/bash
# Stand-in for the emulator: says who it is, where it runs and what it got,
# then stays up for a while like a game would.
record={record}
echo $$ > "$record.pid"
{{
  pwd -P
  for arg in "$@"; do printf '%s\\n' "$arg"; done
}} > "$record.tmp" && mv "$record.tmp" "$record"
{then}
exec sleep {seconds}
"""


class FakeEmulator:
    """A fake emulator program file and what it recorded when run."""

    def __init__(self, path, record):
        self.path = path
        self.record = record

    def ran(self):
        return os.path.exists(self.record)

    def wait_run(self, timeout=10):
        """(cwd, [arguments]) of the run, once the record is complete."""
        wait_until(self.ran, timeout, "the fake emulator to run")
        with open(self.record, encoding="utf-8") as f:
            lines = f.read().split("\n")
        # Every line, the last included, ends with a newline.
        assert lines[-1] == "", lines
        return lines[0], lines[1:-1]

    def pid(self):
        try:
            with open(self.record + ".pid") as f:
                return int(f.read().strip())
        except (OSError, ValueError):
            return None

    def running(self):
        pid = self.pid()
        return pid is not None and pid_alive(pid)

    def kill(self):
        pid = self.pid()
        if pid is not None and pid_alive(pid):
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass


class RootWatcher:
    """Collects the client messages sent to the root window.

    Without a window manager nobody acts on a client's WM_CHANGE_STATE
    request, so the request itself is what shows a window asked to be
    minimized. Start watching before the action that should cause it.
    """

    def __init__(self):
        self.display = display.Display()
        self.root = self.display.screen().root
        self.root.change_attributes(event_mask=X.StructureNotifyMask)
        self.display.sync()
        self.change_state = self.display.intern_atom("WM_CHANGE_STATE")
        self.messages = []

    def _drain(self):
        # The round trip makes sure every message already sent has arrived.
        self.display.sync()
        while self.display.pending_events():
            event = self.display.next_event()
            if event.type == X.ClientMessage:
                self.messages.append((event.window.id, event.client_type,
                                      list(event.data[1])))

    def iconify_requested(self, window):
        self._drain()
        return any(w == window and t == self.change_state and data[0] == ICONIC_STATE
                   for w, t, data in self.messages)

    def wait_iconify(self, window, timeout=10):
        wait_until(lambda: self.iconify_requested(window), timeout,
                   "window 0x%x to ask to be minimized" % window)

    def iconify_as_a_window_manager_would(self, window, timeout=10):
        """Waits for the window's request to be minimized, then unmaps it and
        marks it iconic, as a window manager does; it comes back only by
        mapping itself again."""
        self.wait_iconify(window, timeout)
        target = self.display.create_resource_object("window", window)
        wm_state = self.display.intern_atom("WM_STATE")
        target.change_property(wm_state, wm_state, 32, [ICONIC_STATE, 0])
        target.unmap()
        self.display.sync()

    def close(self):
        self.display.close()


class Session:
    """One temporary program folder and the processes started from it."""

    def __init__(self, binary=None):
        binary = binary or BINARY
        if not binary or not os.path.isfile(binary):
            raise RuntimeError("program file not found: %r" % binary)
        self.root = os.path.realpath(tempfile.mkdtemp(prefix="kestrun-e2e-"))
        try:
            self._prepare(binary)
        except BaseException:
            shutil.rmtree(self.root, ignore_errors=True)
            raise

    def _prepare(self, binary):
        self.program_dir = os.path.join(self.root, "program")
        self.tmp_dir = os.path.join(self.root, "tmp")
        self.work_dir = os.path.join(self.root, "work")
        for folder in (self.program_dir, self.tmp_dir, self.work_dir):
            os.mkdir(folder)
        runtime = os.path.join(self.tmp_dir, "runtime")
        os.mkdir(runtime, 0o700)
        self.program = os.path.join(self.program_dir, PROGRAM_NAME)
        shutil.copy2(binary, self.program)
        self.processes = []
        self.fakes = []
        self.watchers = []
        self.display = display.Display()
        self.env = dict(os.environ)
        for key in [k for k in self.env if k.startswith("QT_")]:
            del self.env[key]
        # A home of its own: no user's emulator configuration, NVRAM or save
        # states are brought in.
        self.home_dir = os.path.join(self.root, "home")
        os.mkdir(self.home_dir)
        self.env.pop("XDG_CONFIG_HOME", None)
        self.env.pop("XDG_DATA_HOME", None)
        self.env.update(TMPDIR=self.tmp_dir, XDG_RUNTIME_DIR=runtime, QT_QPA_PLATFORM="xcb",
                        QT_SCALE_FACTOR="1", QT_FONT_DPI="96", HOME=self.home_dir)

    # Paths, as the program spells them (folders end with "/").

    @property
    def program_folder(self):
        return self.program_dir + "/"

    @property
    def emulator_folder(self):
        return self.program_folder + "Supermodel_0.1a_Win32/"

    @property
    def rom_folder(self):
        return self.program_folder + "Roms/"

    def path(self, *parts):
        return os.path.join(self.program_dir, *parts)

    def default_settings(self):
        return ("%s\r\n%s\r\n640\r\n480\r\n 0 \r\n 0 \r\n 0 \r\n"
                % (self.emulator_folder, self.rom_folder)).encode("utf-8")

    # Files.

    def write(self, path, data):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data if isinstance(data, bytes) else data.encode("utf-8"))

    @staticmethod
    def read(path):
        with open(path, "rb") as f:
            return f.read()

    def snapshot(self, folder):
        """{relative path: bytes or None for a folder} of everything under folder."""
        result = {}
        for base, dirs, files in os.walk(folder):
            for name in dirs:
                result[os.path.relpath(os.path.join(base, name), folder)] = None
            for name in files:
                full = os.path.join(base, name)
                result[os.path.relpath(full, folder)] = self.read(full)
        return result

    def add_rom(self, rom_set):
        self.write(os.path.join(self.rom_folder, rom_set + ".zip"), b"PK\x05\x06" + bytes(18))

    def add_fake_emulator(self, seconds=30, folder=None, then=""):
        """`then`: shell lines run after the record is written ($record names it)."""
        folder = folder or self.emulator_folder
        os.makedirs(folder, exist_ok=True)
        record = os.path.join(self.root, "emulator-run-%d" % len(self.fakes))
        path = os.path.join(folder, EMULATOR_NAME)
        self.write(path, FAKE_EMULATOR.format(record=record, seconds=seconds, then=then))
        os.chmod(path, 0o755)
        fake = FakeEmulator(path, record)
        self.fakes.append(fake)
        return fake

    # Processes.

    def start(self, cwd=None):
        index = len(self.processes)
        log = open(os.path.join(self.root, "program-%d.log" % index), "wb")
        process = subprocess.Popen([self.program], cwd=cwd or self.work_dir, env=self.env,
                                   stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT)
        log.close()
        process.log_path = log.name
        self.processes.append(process)
        return process

    def log(self, process):
        with open(process.log_path, errors="replace") as f:
            return f.read()

    def wait_exit(self, process, timeout=10):
        try:
            return process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError("program still running after %.1f s" % timeout) from None

    def watch_root(self):
        watcher = RootWatcher()
        self.watchers.append(watcher)
        return watcher

    # Windows.

    def find_windows(self, process, title_regex):
        out = xdotool("search", "--all", "--onlyvisible", "--pid", process.pid,
                      "--name", title_regex, check=False)
        return [int(w) for w in out.split()]

    def wait_window(self, process, title_regex, timeout=15):
        def found():
            if process.poll() is not None:
                raise AssertionError("program exited (%s) before showing %r:\n%s"
                                     % (process.returncode, title_regex, self.log(process)))
            windows = self.find_windows(process, title_regex)
            return windows[0] if windows else None
        return wait_until(found, timeout, "a window titled %r" % title_regex)

    def main_window(self, process, timeout=15):
        return self.wait_window(process, "Kestrun To Supermodel", timeout)

    def wait_box(self, process, title, timeout=10):
        """A message box whose title is exactly `title`."""
        return self.wait_window(process, "^%s$" % title, timeout)

    def wait_gone(self, process, title, timeout=10):
        wait_until(lambda: not self.find_windows(process, "^%s$" % title), timeout,
                   "the %r window to go away" % title)

    def viewable(self, window):
        attributes = self.display.create_resource_object("window", window).get_attributes()
        return attributes.map_state == X.IsViewable

    @staticmethod
    def title(window):
        return xdotool("getwindowname", window).rstrip("\n")

    def size(self, window):
        geometry = self.display.create_resource_object("window", window).get_geometry()
        return geometry.width, geometry.height

    @staticmethod
    def click(window, x, y):
        xdotool("mousemove", "--window", window, x, y, "click", 1)

    @staticmethod
    def double_click(window, x, y):
        xdotool("mousemove", "--window", window, x, y, "click", "--repeat", 2, "--delay", 80, 1)

    @staticmethod
    def key(window, *keys):
        """Types keys into `window` as a keyboard would.

        The window gets the input focus first (Qt hands a key to the window
        it believes focused, whatever window an event names), then the keys
        go through XTEST. Keys sent as events to a named window (xdotool
        key --window) are not used: a Return or Escape sent that way to a
        box that closes on it was seen to turn up again in the next key
        capture, which no real keyboard does.
        """
        xdotool("windowfocus", "--sync", window)
        xdotool("key", *keys)

    def answer(self, process, title, key="Return", timeout=10):
        """Finds the box titled `title`, answers it and waits for it to close."""
        box = self.wait_box(process, title, timeout)
        self.key(box, key)
        self.wait_gone(process, title, timeout)
        return box

    def close_window(self, window):
        """What a window manager sends when the close box is clicked."""
        target = self.display.create_resource_object("window", window)
        message = protocol.event.ClientMessage(
            window=target, client_type=self.display.intern_atom("WM_PROTOCOLS"),
            data=(32, [self.display.intern_atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0]))
        target.send_event(message, event_mask=X.NoEventMask)
        self.display.sync()

    # Clean-up.

    def close(self):
        for process in self.processes:
            if process.poll() is None:
                process.kill()
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    pass
        for fake in self.fakes:
            fake.kill()
        for watcher in self.watchers:
            watcher.close()
        self.display.close()
        shutil.rmtree(self.root, ignore_errors=True)


class SessionTestCase(unittest.TestCase):
    """Gives each test a Session in self.s, closed even when the test fails."""

    def setUp(self):
        self.s = Session()
        self.addCleanup(self._close_session)

    def _close_session(self):
        # The program's own output helps when a test fails; it is short.
        for process in self.s.processes:
            text = self.s.log(process).strip()
            if text:
                sys.stderr.write("--- program %d output ---\n%s\n" % (process.pid, text))
        self.s.close()


def _display_usable():
    try:
        display.Display().close()
        return True
    except Exception:
        return False


def _private_display(screen="1280x1024x24"):
    """Starts an Xvfb of our own and points DISPLAY at it.

    Parallel `xvfb-run -a` calls can pick the same display number; the loser
    then hands us a display whose server refuses our cookie. Xvfb choosing
    its own free number (-displayfd) cannot collide.
    """
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                               screen, "-nolisten", "tcp"],
                              pass_fds=(write_end,), stdin=subprocess.DEVNULL,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    number = b""
    with os.fdopen(read_end, "rb") as pipe:
        while not number.endswith(b"\n"):
            chunk = pipe.read(1)
            if not chunk:
                raise RuntimeError("Xvfb did not start")
            number += chunk
    atexit.register(lambda: (server.terminate(), server.wait(10)))
    os.environ["DISPLAY"] = ":" + number.decode().strip()
    os.environ.pop("XAUTHORITY", None)


def use_small_screen(size):
    """Runs the rest of this file's tests on an Xvfb of their own, `size`
    (WIDTHxHEIGHT) in pixels."""
    _private_display(size + "x24")


def run_tests():
    global BINARY
    if len(sys.argv) < 2:
        sys.exit("usage: %s PATH-TO-KESTRUN [unittest arguments]" % sys.argv[0])
    BINARY = os.path.realpath(sys.argv[1])
    if not os.environ.get("DISPLAY") or not _display_usable():
        sys.stderr.write("display %r unusable, starting a private Xvfb\n"
                         % os.environ.get("DISPLAY"))
        _private_display()
    unittest.main(argv=[sys.argv[0], *sys.argv[2:]], verbosity=2)
