"""Starting a game from the list, with a fake emulator that records its run."""

import os
import sys

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


class LaunchFromList(harness.SessionTestCase):

    def select_first_game(self, window):
        # A click gives the list the focus; Home then selects row 0,
        # "Virtua Fighter 3", and scrolls it to the top.
        self.s.click(window, LIST_X, LIST_TOP + 100)
        self.s.key(window, "Home")

    def launch_first_game(self, window):
        self.select_first_game(window)
        self.s.double_click(window, LIST_X, FIRST_ROW_Y)

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

    def test_launch_brings_the_game_definitions(self):
        s = self.s
        definitions = b"<games><game name=\"vf3\"/></games>\n"
        s.write(s.emulator_folder + "Config/Games.xml", definitions)
        fake = s.add_fake_emulator(
            seconds=60, then='cat Config/Games.xml > "$record.games" 2>/dev/null')
        s.add_rom("vf3")
        # Started from its own folder, as a desktop entry does.
        program = s.start(cwd=s.program_dir)
        window = s.main_window(program)

        self.launch_first_game(window)
        cwd, _ = fake.wait_run()
        self.assertEqual(cwd, s.program_dir)
        harness.wait_until(lambda: os.path.exists(fake.record + ".games"), 5,
                           "the fake emulator to look for Config/Games.xml")
        self.assertEqual(s.read(fake.record + ".games"), definitions)
        self.assertEqual(s.read(s.emulator_folder + "Config/Games.xml"), definitions)
        s.close_window(window)
        self.assertEqual(s.wait_exit(program), 0)
        self.assertTrue(fake.running())


if __name__ == "__main__":
    harness.run_tests()
