"""The emulator's settings set on the settings face reach the real emulator,
for one game alone or for all games; and game sections survive the
emulator's own launcher saving the player's file."""

import os
import signal
import subprocess
import sys
import time

# Keep the source folder free of compiled files.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
import test_launch  # noqa: E402

SUPPORT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support")
px = harness.twips_to_pixels
LAUNCH = (px(5595 + 75 + 840), px(3570 + 45 + 247))
# Command9, "Emulator settings", below New Scan.
SETTINGS = (px(7455 + 900), px(9345 + 165))
ROWS = {"vf3": 0, "scud": 2, "scudplus": 3}
# Tab stops from the scope to an editor: the settings in the list's order,
# the resolution (set by the window) skipped.
TABS_TO_WIDE_SCREEN = 10
TABS_TO_SOUND_VOLUME = 22



def reads_on(value):
    return value is not None and value.strip().lower() in ("1", "true", "on", "yes")


class Settings(harness.SessionTestCase):

    def select(self, window, row):
        s = self.s
        s.click(window, test_launch.LIST_X, test_launch.LIST_TOP + 100)
        s.key(window, "Home", *(["Down"] * row))

    def start_and_read_log(self, window, row):
        """Starts the game of `row`, waits for its runtime configuration in
        the log, ends it; the log's text."""
        s = self.s
        self.select(window, row)
        s.click(window, *LAUNCH)
        find = test_launch.RealEmulator.find_emulator
        pid = harness.wait_until(lambda: find(self, self.program_file), 15,
                                 "the emulator to run in the program folder")
        log = s.path("Supermodel.log")
        harness.wait_until(lambda: os.path.exists(log) and b"SoundVolume=" in s.read(log), 60,
                           "the emulator to log its configuration")
        time.sleep(1)  # the rest of the list
        text = s.read(log).decode("utf-8", "replace")
        os.kill(pid, signal.SIGTERM)
        harness.wait_until(lambda: not harness.pid_alive(pid), 20, "the emulator to end")
        os.remove(log)
        return text

    def test_a_games_setting_reaches_that_game_alone(self):
        why = harness.real_emulator_missing(renderer=True)
        if why:
            self.skipTest(why)
        s = self.s
        self.program_file, emulator, roms = harness.install_real_emulator(
            s, ("scudplus", "scud", "vf3"))
        test_launch.write_settings(s, emulator + "/", roms + "/")
        s.env["SDL_AUDIODRIVER"] = "dummy"
        program = s.start()
        window = s.main_window(program)
        time.sleep(0.5)  # the game list joins just after start-up

        # Scud Race Plus alone: wide screen, from its row menu.
        self.select(window, ROWS["scudplus"])
        s.key(window, "shift+F10")
        time.sleep(0.5)
        harness.xdotool("key", "Up", "Return")  # "Settings of this game", the last entry
        time.sleep(0.5)
        s.key(window, *(["Tab"] * TABS_TO_WIDE_SCREEN), "space", "alt+s")
        s.answer(program, "Kestrun")
        # Every game: the sound at 80 %.
        s.click(window, *SETTINGS)
        time.sleep(0.3)
        s.key(window, *(["Tab"] * TABS_TO_SOUND_VOLUME), "ctrl+a", "8", "0", "Tab", "alt+s")
        s.answer(program, "Kestrun")
        working = s.read(s.path("Config", "Supermodel.ini"))
        self.assertIn(b"\n[ scudplus ]\nWideScreen = 1\n", working)
        self.assertIn(b"\n[ scudplusa ]\nWideScreen = 1\n", working)

        logs = {name: self.start_and_read_log(window, row) for name, row in ROWS.items()}
        for name, log in logs.items():
            self.assertRegex(log, r"(?m)^\[Info\]\s+%s:$" % name)  # the set it loaded
            wide = harness.logged_setting(log, "WideScreen")
            self.assertEqual(reads_on(wide), name == "scudplus", name)
            self.assertEqual(int(harness.logged_setting(log, "SoundVolume")), 80, name)
        self.assertFalse(s.find_windows(program, "^Err$"))

        inputs = subprocess.run([self.program_file, "-print-inputs"], cwd=s.program_dir,
                                env=s.env, capture_output=True, text=True, timeout=60)
        self.assertNotIn("Unable to map input", inputs.stdout + inputs.stderr)

    def test_game_sections_survive_the_emulators_own_launcher(self):
        s = self.s
        players = os.path.join(s.emulator_folder, "Config", "Supermodel.ini")
        s.write(players, s.read(os.path.join(SUPPORT, "launcher-save-before.ini")))
        fake = s.add_fake_emulator(seconds=0)
        s.add_rom("vf3")
        s.write(s.path("Config", "Kestrun.ini"), s.default_settings())
        program = s.start()
        window = s.main_window(program)
        test_launch.launch_first_game(s, window)
        fake.wait_run()
        os.remove(fake.record)
        # The emulator's launcher saves the player's file: global only.
        s.write(players, s.read(os.path.join(SUPPORT, "launcher-save-after.ini"))
                .replace(b"WideScreen = 1", b"WideScreen = 0"))
        test_launch.launch_first_game(s, window)
        # Before the start, a box says what was kept (its words are the unit
        # tests'): without the mend there is none, and the sections go.
        s.answer(program, "Err")
        fake.wait_run()
        working = s.read(s.path("Config", "Supermodel.ini"))
        self.assertIn(b"[ scud ]\nFullScreen = 1", working.replace(b"\r\n", b"\n"))
        self.assertIn(b"[ vf3 ]\nInputPunch = KEY_P", working.replace(b"\r\n", b"\n"))
        self.assertIn(b"WideScreen = 0", working)


if __name__ == "__main__":
    harness.run_tests()
