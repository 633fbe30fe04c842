"""Linked play with the real emulator: two and three cabinets of a forged
Daytona USA 2, started from the row menu on a small screen."""

import os
import shutil
import signal
import socket
import subprocess
import sys
import time

# Keep the source folder free of compiled files.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
import test_launch  # noqa: E402

REAL_EMULATOR = harness.REAL_EMULATOR
SCREEN = (800, 600)
# Daytona USA 2 is the built-in table's ninth row.
DAYTONA_ROW = 8


def setUpModule():
    # Small tiles: three software-drawn emulators stay light.
    harness.use_small_screen("%dx%d" % SCREEN)


def free_base(count):
    """A port from which `count` ports are free to listen on."""
    for _ in range(50):
        with socket.socket() as probe:
            probe.bind(("0.0.0.0", 0))
            base = probe.getsockname()[1]
        if base + count > 65535:
            continue
        try:
            for port in range(base, base + count):
                with socket.socket() as each:
                    each.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
                    each.bind(("0.0.0.0", port))
            return base
        except OSError:
            continue
    raise AssertionError("no run of free ports")


def tiles(count):
    """Each cabinet's (x, y, width, height) over the whole small screen."""
    width, height = SCREEN
    if count == 2:
        return [(0, 0, width // 2, height), (width // 2, 0, width // 2, height)]
    return [(x, y, width // 2, height // 2)
            for y in (0, height // 2) for x in (0, width // 2)][:count]


class LinkedPlay(harness.SessionTestCase):

    def emulators(self, program_file):
        """{working folder: pid} of the emulators running `program_file`."""
        found = {}
        for entry in os.listdir("/proc"):
            if not entry.isdigit():
                continue
            try:
                if os.readlink("/proc/%s/exe" % entry) == program_file:
                    found[os.readlink("/proc/%s/cwd" % entry)] = int(entry)
            except OSError:
                continue
        return found

    def end(self, pid):
        if harness.pid_alive(pid):
            os.kill(pid, signal.SIGKILL)

    def linked_play(self, cabinets):
        why = harness.real_emulator_missing(renderer=True)
        if why:
            self.skipTest(why)
        s = self.s
        os.makedirs(s.emulator_folder)
        for name in ("Config", "Assets"):
            shutil.copytree(os.path.join(REAL_EMULATOR, name), s.emulator_folder + name)
        program_file = s.emulator_folder + harness.EMULATOR_NAME
        shutil.copyfile(os.path.join(REAL_EMULATOR, "supermodel"), program_file)
        os.chmod(program_file, 0o755)
        os.makedirs(s.rom_folder)
        subprocess.run([os.path.join(REAL_EMULATOR, "forge-romset"),
                        s.emulator_folder + "Config/Games.xml", "daytona2",
                        s.rom_folder + "daytona2.zip"], check=True, capture_output=True)
        s.write(s.path("Config", "Kestrun.ini"), s.default_settings())
        base = free_base(cabinets)
        s.write(s.path("Config", "Supermodel.ini"),
                "[ Global ]\r\nPortIn = %d\r\nPortOut = %d\r\n" % (base, base + 1))
        s.env["SDL_AUDIODRIVER"] = "dummy"
        program = s.start()
        window = s.main_window(program)
        watcher = s.watch_root()

        # The row menu from the keyboard, then its "Linked play" submenu, each
        # key once the menu it goes to shows.
        s.click(window, test_launch.LIST_X, test_launch.LIST_TOP + 100)
        shown = set(s.find_windows(program, ""))
        for keys in (["Home", *["Down"] * DAYTONA_ROW, "shift+F10"], ["l"], [str(cabinets)]):
            if keys[0] == "Home":
                s.key(window, *keys)
            else:
                harness.xdotool("key", *keys)
            if keys[0].isdigit():
                break
            harness.wait_until(lambda: set(s.find_windows(program, "")) - shown, 10,
                               "a menu after %s" % keys[-1])
            shown = set(s.find_windows(program, ""))

        folders = [s.program_dir] + [s.path("Cabinets", str(k)) for k in range(2, cabinets + 1)]
        running = {}

        def all_running():
            running.update(self.emulators(program_file))
            return len(running) == cabinets
        harness.wait_until(all_running, 30, "%d emulators to run" % cabinets)
        for pid in running.values():
            self.addCleanup(self.end, pid)
        # Each in its own folder, on its own tile.
        self.assertEqual(sorted(running), sorted(folders))
        for k, folder in enumerate(folders):
            with open("/proc/%d/cmdline" % running[folder], "rb") as f:
                arguments = f.read().decode().split("\0")
            x, y, width, height = tiles(cabinets)[k]
            self.assertIn("-window-pos=%d,%d" % (x, y), arguments)
            self.assertIn("-res=%d,%d" % (width, height), arguments)
            self.assertNotIn("-fullscreen", arguments)
        # Each listens on its PortIn, and its log shows the ring.
        for k, folder in enumerate(folders):
            port_in = base + k
            port_out = base + (k + 1) % cabinets

            def listening():
                try:
                    socket.create_connection(("127.0.0.1", port_in), timeout=1).close()
                    return True
                except OSError:
                    return False
            harness.wait_until(listening, 30, "cabinet %d to listen on %d" % (k + 1, port_in))
            log_path = os.path.join(folder, "Supermodel.log")
            harness.wait_until(lambda: os.path.exists(log_path), 10, "the log")
            log = s.read(log_path).decode("utf-8", "replace")
            configuration = log[log.index("Runtime configuration"):]
            for line in ("Network=1", "SimulateNet=1", "PortIn=%d" % port_in,
                         "PortOut=%d" % port_out, "AddressOut=127.0.0.1"):
                self.assertIn("] " + line + "\n", configuration.replace("]    ", "] "), line)
        self.assertTrue(os.path.exists(s.path("Cabinets", "2", "Config", "Supermodel.ini")))

        # Ending them all brings the window back.
        watcher.iconify_as_a_window_manager_would(window)
        for pid in running.values():
            if harness.pid_alive(pid):
                os.kill(pid, signal.SIGTERM)
        harness.wait_until(lambda: s.viewable(window), 20, "the window to come back")

    def test_two_cabinets(self):
        self.linked_play(2)

    def test_three_cabinets(self):
        self.linked_play(3)


if __name__ == "__main__":
    harness.run_tests()
