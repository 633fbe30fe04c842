"""The game list from the real emulator's definitions: every row starts a game
the real emulator recognises, whatever the archives are called."""

import os
import re
import shutil
import signal
import subprocess
import sys

# Keep the source folder free of compiled files.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402

px = harness.twips_to_pixels
REAL_EMULATOR = harness.REAL_EMULATOR
GAMES_XML = os.path.join(REAL_EMULATOR, "Config", "Games.xml")

LIST_X, LIST_TOP = px(5550 + 3700 // 2), px(4245)
# The launch button, Command1, inside Picture2.
LAUNCH_X, LAUNCH_Y = px(5595 + 75 + 1680 // 2), px(3570 + 45 + 495 // 2)

# Each row and the sets it stands for, as today's definitions make them.
ROWS = [
    "vf3 vf3a vf3c", "lemans24", "scud scudau scuddx scuddxo", "scudp scudplus scudplusa",
    "lostwsga lostwsgp", "von2 von254g von2a von2o", "vs298 vs29815",
    "srally2 srally2p srally2pa srally2dx", "daytona2", "dayto2pe", "fvipers2 fvipers2o",
    "harley harleya", "lamachin", "oceanhun oceanhuna", "swtrilgy swtrilgya swtrilgyp",
    "eca ecap ecau ecaj", "dirtdvls dirtdvlsu dirtdvlsau dirtdvlsj dirtdvlsg",
    "getbassdx getbassur getbass", "magtruck mgtrkbad", "bassdx", "skichamp", "spikeout",
    "spikeofe", "vf3tb", "vs2 vs215 vs215o", "vs299a vs299 vs29915a",
    "vs2v991 vs299j vs29915 vs29915j",
]


class RealCatalogue(harness.SessionTestCase):

    def setUp(self):
        why = harness.real_emulator_missing(renderer=True)
        if why:
            self.skipTest(why)
        super().setUp()
        s = self.s
        # A build from source: bin/supermodel beside Config/ and Assets/.
        self.emu_root = os.path.join(s.root, "emu")
        shutil.copytree(os.path.join(REAL_EMULATOR, "Config"), os.path.join(self.emu_root, "Config"))
        shutil.copytree(os.path.join(REAL_EMULATOR, "Assets"), os.path.join(self.emu_root, "Assets"))
        os.makedirs(os.path.join(self.emu_root, "bin"))
        self.program_file = os.path.join(self.emu_root, "bin", harness.EMULATOR_NAME)
        shutil.copyfile(os.path.join(REAL_EMULATOR, "supermodel"), self.program_file)
        os.chmod(self.program_file, 0o755)
        self.rom_folder = os.path.join(s.root, "roms") + "/"
        os.makedirs(self.rom_folder)
        s.write(s.path("Config", "Kestrun.ini"), "%s\r\n%s\r\n496\r\n384\r\n 0 \r\n 0 \r\n 0 \r\n"
                % (os.path.join(self.emu_root, "bin") + "/", self.rom_folder))
        s.env["SDL_AUDIODRIVER"] = "dummy"

    def forge(self, rom_set, name=None):
        subprocess.run([os.path.join(REAL_EMULATOR, "forge-romset"), GAMES_XML, rom_set,
                        self.rom_folder + (name or rom_set + ".zip")],
                       check=True, capture_output=True)

    def emulator_pid(self):
        for entry in os.listdir("/proc"):
            if entry.isdigit():
                try:
                    if os.readlink("/proc/%s/exe" % entry) == self.program_file:
                        return int(entry)
                except OSError:
                    continue
        return None

    def start_row(self, program, window, row):
        """Selects the row by keys, presses the launch button and returns
        the set the emulator says it loaded and the archive it was given."""
        s = self.s
        s.click(window, LIST_X, LIST_TOP + 40)
        s.key(window, "Home", *(["Down"] * row))
        s.click(window, LAUNCH_X, LAUNCH_Y)
        pid = harness.wait_until(self.emulator_pid, 15, "the emulator of row %d" % (row + 1))
        with open("/proc/%d/cmdline" % pid, "rb") as arguments:
            archive = arguments.read().split(b"\0")[1].decode()
        # Its standard output is a file the front-end has already removed.
        with open("/proc/%d/fd/1" % pid, "rb") as output:
            def loaded():
                output.seek(0)
                found = re.search(rb"ROM Set:\s*(\S+)", output.read())
                return found.group(1).decode() if found else None
            rom_set = harness.wait_until(loaded, 60, "the emulator to name its ROM set")
        os.kill(pid, signal.SIGKILL)
        harness.wait_until(lambda: not harness.pid_alive(pid), 10, "the emulator to end")
        # Its end by a signal is a failure the front-end tells in a box.
        s.answer(program, "^Err$")
        harness.wait_until(lambda: s.viewable(window), 10, "the window to come back")
        return rom_set, archive

    def test_every_row_starts_a_game_of_its_own(self):
        for rom_set in " ".join(ROWS).split():
            if rom_set != "scudp":
                self.forge(rom_set)
        program = self.s.start()
        window = self.s.main_window(program)
        for row, sets in enumerate(ROWS):
            rom_set, archive = self.start_row(program, window, row)
            self.assertIn(rom_set, sets.split(), "row %d" % (row + 1))
            self.assertEqual(archive, self.rom_folder + rom_set + ".zip")

    def test_archives_under_any_name_case_and_clones(self):
        self.forge("vf3", "VF3.ZIP")
        self.forge("scud")
        self.forge("scudplus")
        program = self.s.start()
        window = self.s.main_window(program)
        self.assertEqual(self.start_row(program, window, 0), ("vf3", self.rom_folder + "VF3.ZIP"))
        # Scud Race Plus: the built-in "scudp" is no archive; its clone
        # "scudplus" loads with "scud.zip" beside it.
        self.assertEqual(self.start_row(program, window, 3),
                         ("scudplus", self.rom_folder + "scudplus.zip"))


if __name__ == "__main__":
    harness.run_tests()
