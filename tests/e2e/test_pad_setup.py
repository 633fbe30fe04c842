"""A game controller set up for one game at a time from the binding panel
reaches that game in the real emulator: each game logs the game-controller
input system and the layout's values, and a game not set up keeps the
emulator's own input system."""

import os
import signal
import sys
import time

# Keep the source folder free of compiled files.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
import test_bindings  # noqa: E402
import test_launch  # noqa: E402

px = harness.twips_to_pixels
LAUNCH = (px(5595 + 75 + 840), px(3570 + 45 + 247))  # Command1
# On the panel, over the game's page: the turn to the page, then "Set up a
# game controller" below its entries, where the set-up's Apply then lies.
TURN = (test_bindings.PANEL[0] + 2 + 188 + 84, test_bindings.PANEL[1] + 2 + 499 + 10)
SET_UP = (test_bindings.PANEL[0] + 4 + 91, test_bindings.PANEL[1] + 2 + 497 + 10)
APPLY = SET_UP

# Each game, its set, and sources the layout puts into its inputs.
GAMES = [
    ("Daytona USA 2", "daytona2",
     {"InputAccelerator": "JOY1_RZAXIS_POS", "InputBrake": "JOY1_ZAXIS_POS",
      "InputSteering": "JOY1_XAXIS", "InputGearShiftUp": "JOY1_BUTTON6"}),
    ("Virtual On Oratorio Tangram", "von2",
     {"InputTwinJoyShot1": "JOY1_ZAXIS_POS", "InputTwinJoyShot2": "JOY1_RZAXIS_POS",
      "InputTwinJoyJump": "JOY1_BUTTON4"}),
    ("Sega Bass Fishing", "bassdx",
     {"InputFishingReel": "JOY1_RZAXIS_POS", "InputFishingTension": "JOY1_ZAXIS_POS",
      "InputFishingCast": "JOY1_BUTTON1"}),
    ("Ski Champ", "skichamp",
     {"InputSkiX": "JOY1_XAXIS", "InputSkiY": "JOY1_RXAXIS"}),
]



class PadSetup(harness.SessionTestCase):

    def select(self, window, title):
        s = self.s
        s.click(window, test_launch.LIST_X, test_launch.LIST_TOP + 100)
        s.key(window, "Home")  # row 0: Virtua Fighter 3
        if title:
            harness.xdotool("type", "--window", window, "--delay", "20", title.lower())
        time.sleep(0.5)

    def set_up(self, program, window, title):
        s = self.s
        self.select(window, title)
        s.click(window, *test_bindings.JOYSTICK)
        time.sleep(0.3)
        s.click(window, *TURN)
        time.sleep(0.3)
        s.click(window, *SET_UP)
        time.sleep(0.5)
        s.click(window, *APPLY)
        time.sleep(0.3)
        s.click(window, *test_bindings.SAVE)
        s.answer(program, "Kestrun")

    def start(self, program, window, title):
        """Starts the game from the front-end; returns its log. The forged
        archive's program soon halts, and the front-end shows why."""
        s = self.s
        log = s.path("Supermodel.log")
        if os.path.exists(log):
            os.remove(log)
        self.select(window, title)
        s.click(window, *LAUNCH)

        def read():
            return s.read(log).decode("utf-8", "replace") if os.path.exists(log) else ""
        harness.wait_until(lambda: "InputSystem=" in read(), 60,
                           "the emulator to log its configuration")
        # Its inputs are mapped next; a game that runs on is ended then.
        time.sleep(3)
        pid = test_launch.RealEmulator.find_emulator(self, self.program_file)
        if pid:
            os.kill(pid, signal.SIGKILL)
            harness.wait_until(lambda: not harness.pid_alive(pid), 20, "the emulator to end")
        try:
            s.answer(program, "Err", timeout=5)
        except AssertionError:
            pass  # it ran until ended: no box
        return read()

    def test_each_game_set_up_reads_the_pad(self):
        why = harness.real_emulator_missing(renderer=True)
        if why:
            self.skipTest(why)
        s = self.s
        self.program_file, emulator, roms = harness.install_real_emulator(
            s, [game[1] for game in GAMES] + ["vf3"])
        test_launch.write_settings(s, emulator + "/", roms + "/")
        s.env["SDL_AUDIODRIVER"] = "dummy"
        program = s.start()
        window = s.main_window(program)

        for title, _, _ in GAMES:
            self.set_up(program, window, title)
        for title, rom_set, sources in GAMES:
            log = self.start(program, window, title)
            with self.subTest(title):
                self.assertEqual(harness.logged_setting(log, "InputSystem"), "sdlgamepad", log)
                for name, source in sources.items():
                    value = harness.logged_setting(log, name) or ""
                    self.assertIn(source, value.split(","), name + "=" + value)
                self.assertNotIn("Unable to map input", log)
        self.assertEqual(harness.logged_setting(self.start(program, window, None), "InputSystem"), "sdl")
        s.close_window(window)
        self.assertEqual(s.wait_exit(program), 0)


if __name__ == "__main__":
    harness.run_tests()
