"""What a player who ran the real emulator on its own already has, NVRAM and
configuration, reaches the games the front-end starts; the originals stay as
they were."""

import os
import shutil
import signal
import subprocess
import sys

# Keep the source folder free of compiled files.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
import test_config_file  # noqa: E402
import test_launch  # noqa: E402

REAL_EMULATOR = harness.REAL_EMULATOR
px = harness.twips_to_pixels
# Command1, the launch button, in Picture2 at (5595, 3570) twips.
LAUNCH = (px(5595 + 75 + 840), px(3570 + 45 + 247))
LOADED = "Loaded NVRAM from 'NVRAM/scud.nv'."



class PlayerFiles(harness.SessionTestCase):

    def run_until_loaded(self, cwd, env, zip_path):
        """Runs the emulator on its own until the game is up, then ends it
        as a window manager's close would (it writes NVRAM when it ends)."""
        with open(os.path.join(self.s.root, "direct.log"), "wb") as log:
            run = subprocess.Popen([os.path.join(REAL_EMULATOR, "supermodel"), zip_path],
                                   cwd=cwd, env=env, stdin=subprocess.DEVNULL, stdout=log,
                                   stderr=subprocess.STDOUT)
        try:
            harness.wait_until(
                lambda: b"ROM Set:" in self.s.read(log.name) or run.poll() is not None,
                60, "the emulator to load the game")
        finally:
            run.send_signal(signal.SIGTERM)
            run.wait(20)

    def start_scud(self, program, window):
        s = self.s
        # A click gives the list the focus; row 2 is Scud Race.
        s.click(window, test_launch.LIST_X, test_launch.LIST_TOP + 100)
        s.key(window, "Home", "Down", "Down")
        s.click(window, *LAUNCH)
        find = test_launch.RealEmulator.find_emulator
        pid = harness.wait_until(lambda: find(self, self.program_file), 15,
                                 "the emulator to run in the program folder")
        log = s.path("Supermodel.log")

        def logged():
            if not harness.pid_alive(pid):
                raise AssertionError("the emulator ended early")
            return os.path.exists(log) and LOADED in s.read(log).decode("utf-8", "replace")
        harness.wait_until(logged, 60, "the emulator to load its NVRAM")
        text = s.read(log).decode("utf-8", "replace")
        self.assertFalse(s.find_windows(program, "^Err$"))
        os.kill(pid, signal.SIGTERM)
        harness.wait_until(lambda: not harness.pid_alive(pid), 20, "the emulator to end")
        os.remove(log)
        return text

    def test_nvram_and_settings_of_an_earlier_direct_run_reach_the_game(self):
        why = harness.real_emulator_missing(renderer=True)
        if why:
            self.skipTest(why)
        s = self.s
        # The player's own emulator, run before: its configuration and data
        # under the XDG folders (it takes its home from the password
        # database, not $HOME).
        config_home = os.path.join(s.root, "xdg-config")
        data_home = os.path.join(s.root, "xdg-data")
        shutil.copytree(os.path.join(REAL_EMULATOR, "Config"),
                        os.path.join(config_home, "supermodel", "Config"))
        shutil.copytree(os.path.join(REAL_EMULATOR, "Assets"),
                        os.path.join(data_home, "supermodel", "Assets"))
        # The front-end's emulator: a release folder whose NVRAM/ is empty.
        emulator = os.path.join(s.root, "emu")
        for folder in ("Config", "Assets"):
            shutil.copytree(os.path.join(REAL_EMULATOR, folder), os.path.join(emulator, folder))
        os.makedirs(os.path.join(emulator, "NVRAM"))
        self.program_file = os.path.join(emulator, harness.EMULATOR_NAME)
        shutil.copyfile(os.path.join(REAL_EMULATOR, "supermodel"), self.program_file)
        os.chmod(self.program_file, 0o755)
        roms = os.path.join(s.root, "roms")
        os.makedirs(roms)
        subprocess.run([os.path.join(REAL_EMULATOR, "forge-romset"),
                        os.path.join(REAL_EMULATOR, "Config", "Games.xml"), "scud",
                        os.path.join(roms, "scud.zip")], check=True, capture_output=True)
        s.env.update(XDG_CONFIG_HOME=config_home, XDG_DATA_HOME=data_home,
                     SDL_AUDIODRIVER="dummy")
        direct = os.path.join(s.root, "direct")
        os.makedirs(direct)
        self.run_until_loaded(direct, s.env, os.path.join(roms, "scud.zip"))
        nvram = os.path.join(data_home, "supermodel", "NVRAM", "scud.nv")
        players = os.path.join(config_home, "supermodel", "Config", "Supermodel.ini")
        self.assertTrue(os.path.isfile(nvram), "the direct run wrote no NVRAM")
        original = (s.read(nvram), os.stat(nvram).st_mtime_ns)

        test_launch.write_settings(s, emulator + "/", roms + "/")
        program = s.start()
        window = s.main_window(program)
        first = self.start_scud(program, window)
        self.assertEqual(harness.logged_setting(first, "WideScreen"), "false")
        self.assertEqual((s.read(nvram), os.stat(nvram).st_mtime_ns), original)

        # The panel changes a binding; the player, by hand, a setting.
        test_config_file.ConfigurationFile.save_with_punch_on_z(self, program, window)
        with open(players, "rb") as f:
            mine = f.read()
        self.assertIn(b"\nWideScreen = false\n", mine)
        s.write(players, mine.replace(b"\nWideScreen = false\n", b"\nWideScreen = 1\n"))
        second = self.start_scud(program, window)
        # The emulator logs each setting as it read it.
        self.assertEqual(harness.logged_setting(second, "WideScreen"), "1")
        self.assertEqual(harness.logged_setting(second, "InputPunch"), "KEY_Z,JOY1_BUTTON1")
        working = s.read(s.path("Config", "Supermodel.ini"))
        self.assertIn(b'\nInputPunch = "KEY_Z,JOY1_BUTTON1"\n', working)
        self.assertIn(b"\nWideScreen = 1\n", working)
        self.assertEqual(s.read(nvram), original[0])
        s.close_window(window)
        self.assertEqual(s.wait_exit(program), 0)


if __name__ == "__main__":
    harness.run_tests()
