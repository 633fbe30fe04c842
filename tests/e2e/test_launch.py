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
        self.assertEqual(cwd, s.work_dir)
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


if __name__ == "__main__":
    harness.run_tests()
