"""Starting a game from the list, with a fake emulator that records its run,
and with the real emulator when it is at hand."""

import os
import shutil
import signal
import subprocess
import sys
import time

# Keep the source folder free of compiled files.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402

px = harness.twips_to_pixels

# The game list, List2: left 5550, top 4245, width 3700 twips.
LIST_LEFT, LIST_TOP, LIST_WIDTH = px(5550), px(4245), px(3700)
LIST_X = LIST_LEFT + LIST_WIDTH // 2
# A point on the first visible row (the rows are about 20 px high).
FIRST_ROW_Y = LIST_TOP + 10

REAL_EMULATOR = harness.REAL_EMULATOR


def launch_first_game(s, window):
    # A click gives the list the focus; Home then selects row 0,
    # "Virtua Fighter 3", and scrolls it to the top.
    s.click(window, LIST_X, LIST_TOP + 100)
    s.key(window, "Home")
    s.double_click(window, LIST_X, FIRST_ROW_Y)


def write_settings(s, emulator_folder, rom_folder):
    s.write(s.path("Config", "Kestrun.ini"),
            "%s\r\n%s\r\n640\r\n480\r\n 0 \r\n 0 \r\n 0 \r\n" % (emulator_folder, rom_folder))


def make_bin_layout(s, root, files):
    """root/bin/ for the program; {path under root: bytes} beside it."""
    os.makedirs(os.path.join(root, "bin"), exist_ok=True)
    for relative, data in files.items():
        s.write(os.path.join(root, relative), data)
    return os.path.join(root, "bin") + "/"


class LaunchFromList(harness.SessionTestCase):

    def launch_first_game(self, window):
        launch_first_game(self.s, window)

    def test_double_click_starts_emulator_detached_and_minimizes(self):
        s = self.s
        fake = s.add_fake_emulator(seconds=60)
        s.add_rom("vf3")
        program = s.start()
        window = s.main_window(program)
        watcher = s.watch_root()

        self.launch_first_game(window)
        cwd, arguments = fake.wait_run()
        self.assertEqual(arguments, [s.rom_folder + "vf3.zip", "-res=640,480"])
        # Started from another folder, it still runs the emulator in its own.
        self.assertEqual(cwd, s.program_dir)
        watcher.wait_iconify(window)

        # The front-end does not wait for the emulator: it still answers,
        # and ending it leaves the game running.
        self.assertTrue(fake.running())
        s.close_window(window)
        self.assertEqual(s.wait_exit(program, timeout=5), 0)
        self.assertEqual(s.read(s.path("Config", "Kestrun.ini")), s.default_settings())
        self.assertTrue(fake.running())

    def test_settings_reach_the_command_line(self):
        s = self.s
        fake = s.add_fake_emulator(seconds=60)
        s.add_rom("vf3")
        # Show Fps ticked, Full Screen grey (which is not "on"), a 800x600 size.
        s.write(s.path("Config", "Kestrun.ini"),
                "%s\r\n%s\r\n800\r\n600\r\n 1 \r\n 2 \r\n 0 \r\n" % (s.emulator_folder,
                                                                   s.rom_folder))
        program = s.start()
        window = s.main_window(program)
        self.launch_first_game(window)
        _, arguments = fake.wait_run()
        self.assertEqual(arguments, [s.rom_folder + "vf3.zip", "-res=800,600", "-show-fps"])

    def test_missing_emulator_is_reported(self):
        s = self.s
        s.add_rom("vf3")
        program = s.start()
        window = s.main_window(program)
        watcher = s.watch_root()

        self.launch_first_game(window)
        # The box says "Emu Error ..."; only its title can be read from outside.
        s.answer(program, "Err")
        self.assertFalse(watcher.iconify_requested(window))
        s.close_window(window)
        self.assertEqual(s.wait_exit(program), 0)

    def test_missing_archive_is_reported_and_nothing_started(self):
        s = self.s
        fake = s.add_fake_emulator(seconds=60)
        program = s.start()
        window = s.main_window(program)
        watcher = s.watch_root()

        self.launch_first_game(window)
        # "Virtua Fighter 3 Rom Error ..."
        s.answer(program, "Err")
        self.assertFalse(fake.ran())
        self.assertFalse(watcher.iconify_requested(window))
        s.close_window(window)
        self.assertEqual(s.wait_exit(program), 0)
        self.assertFalse(fake.ran())

    def test_failed_run_brings_the_window_back_and_tells(self):
        s = self.s
        # Up long enough to be minimized first, then it fails as the emulator does.
        fake = s.add_fake_emulator(then="sleep 1\n"
                                        "echo \"Error: Could not open 'x.zip'.\" >&2\n"
                                        "exit 1")
        s.add_rom("vf3")
        program = s.start()
        window = s.main_window(program)
        watcher = s.watch_root()

        self.launch_first_game(window)
        fake.wait_run()
        watcher.iconify_as_a_window_manager_would(window)
        self.assertFalse(s.viewable(window))
        # "Emu Error ..." and the emulator's line; only the title shows from outside.
        s.wait_box(program, "Err")
        harness.wait_until(lambda: s.viewable(window), 5, "the window to come back")
        s.answer(program, "Err")
        self.assertTrue(s.viewable(window))
        s.close_window(window)
        self.assertEqual(s.wait_exit(program), 0)

    def test_launch_brings_the_installation_files_from_a_bin_layout(self):
        s = self.s
        installation = {"Config/Games.xml": b"<games><game name=\"vf3\"/></games>\n",
                        "Assets/p1crosshair.bmp": b"BM1",
                        "Assets/p2crosshair.bmp": b"BM2"}
        source = os.path.join(s.root, "source")
        emulator_folder = make_bin_layout(s, source, installation)
        # What the emulator finds in the folder it runs in, once it runs.
        fake = s.add_fake_emulator(
            seconds=60, folder=emulator_folder,
            then='cat Config/Games.xml Assets/p1crosshair.bmp Assets/p2crosshair.bmp'
                 ' > "$record.tmp" 2>&1; mv "$record.tmp" "$record.found"')
        s.add_rom("vf3")
        write_settings(s, emulator_folder, s.rom_folder)
        program = s.start()
        window = s.main_window(program)

        self.launch_first_game(window)
        cwd, _ = fake.wait_run()
        self.assertEqual(cwd, s.program_dir)
        harness.wait_until(lambda: os.path.exists(fake.record + ".found"), 5,
                           "the fake emulator to look at its files")
        self.assertEqual(s.read(fake.record + ".found"), b"".join(installation.values()))
        # The installation is only read.
        for relative, data in installation.items():
            self.assertEqual(s.read(os.path.join(source, relative)), data)
        s.close_window(window)
        self.assertEqual(s.wait_exit(program), 0)
        self.assertTrue(fake.running())


class RealEmulator(harness.SessionTestCase):

    def find_emulator(self, program_file):
        """The pid of the process running `program_file` in the program folder."""
        for entry in os.listdir("/proc"):
            if not entry.isdigit():
                continue
            try:
                if (os.readlink("/proc/%s/exe" % entry) == program_file
                        and os.readlink("/proc/%s/cwd" % entry) == self.s.program_dir):
                    return int(entry)
            except OSError:
                continue
        return None

    def end(self, pid):
        if harness.pid_alive(pid):
            os.kill(pid, signal.SIGKILL)
        harness.wait_until(lambda: not harness.pid_alive(pid), 10, "the emulator to end")

    def test_launch_from_a_bin_layout_reaches_the_game(self):
        why = harness.real_emulator_missing(renderer=True)
        if why:
            self.skipTest(why)
        s = self.s
        emulator_root = os.path.join(s.root, "emu")
        installation = {}
        for folder in ("Config", "Assets"):
            for name in os.listdir(os.path.join(REAL_EMULATOR, folder)):
                relative = os.path.join(folder, name)
                installation[relative] = s.read(os.path.join(REAL_EMULATOR, relative))
        emulator_folder = make_bin_layout(s, emulator_root, installation)
        program_file = os.path.join(emulator_folder, harness.EMULATOR_NAME)
        shutil.copyfile(os.path.join(REAL_EMULATOR, "supermodel"), program_file)
        os.chmod(program_file, 0o755)
        rom_folder = os.path.join(s.root, "roms") + "/"
        os.makedirs(rom_folder)
        subprocess.run([os.path.join(REAL_EMULATOR, "forge-romset"),
                        os.path.join(emulator_root, "Config", "Games.xml"), "vf3",
                        rom_folder + "vf3.zip"], check=True, capture_output=True)
        write_settings(s, emulator_folder, rom_folder)
        s.env["SDL_AUDIODRIVER"] = "dummy"  # no sound card
        program = s.start()
        window = s.main_window(program)

        launch_first_game(s, window)
        pid = harness.wait_until(lambda: self.find_emulator(program_file), 15,
                                 "the emulator to run in the program folder")
        self.addCleanup(self.end, pid)
        # The front-end removes its output file by name: reach it through the
        # process. Its standard output is a file, written in blocks: the game's
        # title comes out with the error that the forged program soon stops on.
        with open("/proc/%d/fd/1" % pid, "rb") as output:
            def printed():
                output.seek(0)
                return output.read()
            harness.wait_until(lambda: b"ROM Set:" in printed() or not harness.pid_alive(pid),
                               60, "the emulator to load the game")
            time.sleep(3)
            text = printed().decode("utf-8", "replace")
        self.assertIn("ROM Set:", text)
        self.assertNotIn("Unable to load bitmap crosshair texture", text)
        self.assertTrue(harness.pid_alive(pid), text)
        self.assertFalse(s.find_windows(program, "^Err$"))
        self.assertEqual(s.read(s.path("Assets", "p1crosshair.bmp")),
                         installation[os.path.join("Assets", "p1crosshair.bmp")])


if __name__ == "__main__":
    harness.run_tests()
