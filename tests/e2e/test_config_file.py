"""The emulator's configuration file: written by the emulator on its first
start, then edited in place by the panel's Save; and read by the real
emulator after every kind of Save."""

import os
import re
import shutil
import subprocess
import sys

# Keep the source folder free of compiled files.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from test_bindings import CLOSE, JOYSTICK, PUNCH_SLOT, RESTORE, SAVE  # noqa: E402
import test_launch  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
REPOSITORY = os.path.dirname(os.path.dirname(HERE))
FIRST_START = os.path.join(REPOSITORY, "tests", "support", "first-start-Supermodel.ini")
REAL_EMULATOR = harness.REAL_EMULATOR


def first_start_file():
    with open(FIRST_START, "rb") as f:
        return f.read()


def set_up_file():
    """What the emulator's own set-up writes: a three-line header, the
    settings without comments or quotes."""
    lines = [b";", b"; Supermodel Configuration File", b";", b"", b"[ Global ]", b""]
    for line in first_start_file().split(b"\n"):
        code = line.split(b";", 1)[0].strip()
        if b"=" in code:
            name, value = (part.strip() for part in code.split(b"=", 1))
            lines.append(name + b" = " + value.strip(b'"'))
    return b"\n".join(lines) + b"\n"


def changed_lines(before, after):
    a, b = before.split(b"\n"), after.split(b"\n")
    if len(a) != len(b):
        return ["line count %d -> %d" % (len(a), len(b))]
    return [y for x, y in zip(a, b) if x != y]


class ConfigurationFile(harness.SessionTestCase):

    def save_with_punch_on_z(self, program, window, restore=False, overwrite=False):
        s = self.s
        s.click(window, *JOYSTICK)
        if restore:
            s.click(window, *RESTORE)
        s.double_click(window, *PUNCH_SLOT)
        s.key(window, "z")
        s.click(window, *SAVE)
        if overwrite:
            s.answer(program, "Overwrite message")
        s.answer(program, "Kestrun")

    def test_save_keeps_the_file_the_emulator_wrote_on_its_first_start(self):
        s = self.s
        working = s.path("Config", "Supermodel.ini")
        # Like the real one: its default file, where it runs, when there is none.
        s.add_fake_emulator(seconds=0, then="[ -e Config/Supermodel.ini ] || cp '%s' "
                                            "Config/Supermodel.ini" % FIRST_START)
        s.add_rom("vf3")
        program = s.start()
        window = s.main_window(program)
        # Row 0, "Virtua Fighter 3", selected with Home, then double-clicked.
        s.click(window, test_launch.LIST_X, test_launch.LIST_TOP + 100)
        s.key(window, "Home")
        s.double_click(window, test_launch.LIST_X, test_launch.FIRST_ROW_Y)
        harness.wait_until(lambda: os.path.exists(working), 10, "the first-start file")
        self.assertEqual(s.read(working), first_start_file())

        self.save_with_punch_on_z(program, window, overwrite=False)
        self.assertEqual(changed_lines(first_start_file(), s.read(working)),
                         [b'InputPunch = "KEY_Z,JOY1_BUTTON1"'])
        # The emulator's folder gets none.
        self.assertFalse(os.path.exists(s.emulator_folder + "Config"))
        s.close_window(window)
        self.assertEqual(s.wait_exit(program), 0)

    def print_inputs(self, folder=None):
        """The real emulator's -print-inputs, run in the program folder (or
        `folder`, which has its own Config/)."""
        s = self.s
        folder = folder or s.program_dir
        if not os.path.exists(os.path.join(folder, "Assets")):
            shutil.copy(os.path.join(REAL_EMULATOR, "Config", "Games.xml"),
                        os.path.join(folder, "Config"))
            shutil.copytree(os.path.join(REAL_EMULATOR, "Assets"), os.path.join(folder, "Assets"))
        env = dict(s.env, SDL_AUDIODRIVER="dummy")
        run = subprocess.run([os.path.join(REAL_EMULATOR, "supermodel"), "-print-inputs"],
                             cwd=folder, env=env, capture_output=True, text=True,
                             timeout=60)
        return run.stdout + run.stderr

    def test_the_first_close_keeps_the_emulators_own_values(self):
        reason = harness.real_emulator_missing()
        if reason:
            self.skipTest(reason)
        s = self.s
        # A release folder as unpacked: program, definitions, pictures; no file.
        release = os.path.join(s.root, "release")
        os.makedirs(os.path.join(release, "Config"))
        shutil.copy2(os.path.join(REAL_EMULATOR, "supermodel"), release)
        shutil.copy(os.path.join(REAL_EMULATOR, "Config", "Games.xml"),
                    os.path.join(release, "Config"))
        shutil.copytree(os.path.join(REAL_EMULATOR, "Assets"), os.path.join(release, "Assets"))
        before = s.snapshot(release)
        test_launch.write_settings(s, release + "/", s.rom_folder)
        program = s.start()
        window = s.main_window(program)
        s.click(window, *JOYSTICK)
        s.click(window, *CLOSE)
        s.answer(program, "Save message")  # Yes
        s.answer(program, "Kestrun")
        s.close_window(window)
        self.assertEqual(s.wait_exit(program), 0)

        # What the emulator makes of it, against its own first start.
        reference = os.path.join(s.root, "reference")
        os.makedirs(os.path.join(reference, "Config"))
        expected = self.print_inputs(reference)
        self.assertTrue(os.path.isfile(os.path.join(reference, "Config", "Supermodel.ini")))
        output = self.print_inputs()
        self.assertNotIn("Unable to map input", output)
        assignments = "Input Assignments"
        self.assertIn(assignments, expected)
        self.assertEqual(output[output.find(assignments):],
                         expected[expected.find(assignments):])
        self.assertIn("\n P1 Start = KEY_1,JOY1_BUTTON9\n", output)
        self.assertFalse(os.path.exists(os.path.join(release, "Config", "Supermodel.ini")))
        self.assertEqual(s.snapshot(release), before)

    def test_the_real_emulator_reads_every_kind_of_saved_file(self):
        reason = harness.real_emulator_missing()
        if reason:
            self.skipTest(reason)
        cases = [
            # name, working copy before, Restore first, what it must print
            ("today's full file", None, False,
             [" P1 Punch = Z", " P1 Trigger = MOUSE_LEFT_BUTTON", " Left Shot Trigger = A"]),
            ("the first-start file", first_start_file(), True,
             [" P1 Punch = KEY_Z,JOY1_BUTTON1", " P1 Trigger = MOUSE_LEFT_BUTTON,JOY1_BUTTON1",
              " Left Shot Trigger = KEY_A,JOY1_BUTTON5", " P1 Start = KEY_1,JOY1_BUTTON9"]),
            ("the set-up's file", set_up_file(), True,
             [" P1 Punch = KEY_Z,JOY1_BUTTON1", " P1 Trigger = MOUSE_LEFT_BUTTON,JOY1_BUTTON1"]),
        ]
        for name, before, restore, expected in cases:
            with self.subTest(name):
                self._close_session()
                self.s = harness.Session()
                s = self.s
                if before is not None:
                    s.write(s.path("Config", "Supermodel.ini"), before)
                os.makedirs(s.emulator_folder)
                program = s.start()
                window = s.main_window(program)
                self.save_with_punch_on_z(program, window, restore=restore)
                s.close_window(window)
                self.assertEqual(s.wait_exit(program), 0)
                saved = s.read(s.path("Config", "Supermodel.ini"))
                if before is not None and not restore:
                    self.assertEqual(len(changed_lines(before, saved)), 1)

                output = self.print_inputs()
                self.assertNotIn("Unable to map input", output)
                for line in expected:
                    self.assertRegex(output, "(?m)^" + re.escape(line) + "$")


if __name__ == "__main__":
    harness.run_tests()
