"""The key binding panel: saving the emulator's input file and key capture."""

import os
import sys

# Keep the source folder free of compiled files.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402

px = harness.twips_to_pixels

# The 49 slots in file order, with their default keys as the file holds them.
DEFAULT_BINDINGS = [
    ("Start1", "1"), ("Start2", "2"), ("Coin1", "3"), ("Coin2", "4"),
    ("ServiceA", "5"), ("ServiceB", "7"), ("TestA", "6"), ("TestB", "8"),
    ("JoyUp", "Up"), ("JoyDown", "Down"), ("JoyLeft", "Left"), ("JoyRight", "Right"),
    ("Punch", "A"), ("Kick", "S"), ("Guard", "D"), ("Escape", "F"),
    ("SteeringLeft", "Left"), ("SteeringRight", "Right"), ("Accelerator", "Up"),
    ("Brake", "Down"), ("GearShift1", "Q"), ("GearShift2", "W"), ("GearShift3", "E"),
    ("GearShift4", "R"), ("VR1", "A"), ("VR2", "S"), ("VR3", "D"), ("VR4", "F"),
    ("ViewChange", "A"), ("HandBrake", "S"), ("ShortPass", "A"), ("LongPass", "S"),
    ("Shoot", "D"), ("TwinJoyTurnLeft", "Q"), ("TwinJoyTurnRight", "W"),
    ("TwinJoyForward", "Up"), ("TwinJoyReverse", "Down"), ("TwinJoyStrafeLeft", "Left"),
    ("TwinJoyStrafeRight", "Right"), ("TwinJoyJump", "E"), ("TwinJoyCrouch", "R"),
    ("TwinJoyLeftShot", "A"), ("TwinJoyRightShot", "S"), ("TwinJoyLeftTurbo", "Z"),
    ("TwinJoyRightTurbo", "X"), ("AnalogJoyTrigger", "A"), ("AnalogJoyEvent", "S"),
    ("Trigger", "MOUSE_LEFT_BUTTON"), ("Offscreen", "MOUSE_RIGHT_BUTTON"),
]
assert len(DEFAULT_BINDINGS) == 49


# Written again under the current emulator's names, after the 49.
RENAMED = [("TwinJoyLeftShot", "TwinJoyShot1"), ("TwinJoyRightShot", "TwinJoyShot2"),
           ("TwinJoyLeftTurbo", "TwinJoyTurbo1"), ("TwinJoyRightTurbo", "TwinJoyTurbo2"),
           ("Trigger", "AnalogTriggerLeft"), ("Offscreen", "AnalogTriggerRight")]


# The line that says which program wrote a file the front-end made.
WRITTEN_BY = "; Written by Kestrun, a front-end for Supermodel"


def input_file(bindings):
    header = [";", "; Supermodel Configuration File", WRITTEN_BY, ";", "", "[ Global ]", ""]
    keys = dict(bindings)
    lines = header + ['Input%s = "%s"' % pair for pair in bindings]
    lines += ['Input%s = "%s"' % (new, keys[old]) for old, new in RENAMED]
    return "".join(line + "\r\n" for line in lines).encode("utf-8")


def centre(container, rect):
    """Window pixel centre of a control given in twips inside `container` (pixels)."""
    left, top, width, height = rect
    return (container[0] + px(left) + px(width) // 2,
            container[1] + px(top) + px(height) // 2)


WINDOW = (0, 0)
PANEL = (px(90), px(60))                                # Picture3
OPTIONS = (px(7530), px(3225))                          # Picture1
JOYSTICK = centre(OPTIONS, (1350, 45, 300, 555))        # Command3
RESTORE = centre(PANEL, (180, 8130, 1279, 345))         # Command4
SAVE = centre(PANEL, (2730, 8130, 1279, 345))           # Command6
SUPERMODEL = centre(PANEL, (4005, 8130, 1279, 345))     # Command7
CLOSE = centre(PANEL, (5040, 45, 315, 300))             # Image5
START1_SLOT = centre(PANEL, (1290, 375, 1095, 180))     # Label1(0)
PUNCH_SLOT = centre(PANEL, (1290, 3795, 1095, 180))     # Label1(12)


class BindingPanel(harness.SessionTestCase):

    def setUp(self):
        super().setUp()
        s = self.s
        os.makedirs(s.emulator_folder)
        self.emulator_copy = s.emulator_folder + "Config/Supermodel.ini"
        self.front_end_copy = s.path("Config", "Supermodel.ini")

    def test_save_then_capture_and_save_again(self):
        s = self.s
        program = s.start()
        window = s.main_window(program)

        s.click(window, *JOYSTICK)
        s.click(window, *RESTORE)
        s.click(window, *SAVE)
        # No file yet, so no overwrite question: straight to the report.
        s.answer(program, "Kestrun")
        self.assertEqual(s.find_windows(program, "^Overwrite message$"), [])
        expected = input_file(DEFAULT_BINDINGS)
        self.assertEqual(expected.count(b"\r\n"), 62)
        self.assertEqual(s.read(self.front_end_copy), expected)
        # Nothing is made in the emulator's folder.
        self.assertEqual(os.listdir(s.emulator_folder), [])

        # Both slots had other keys; typed letters are stored in capitals.
        s.click(window, *JOYSTICK)
        s.double_click(window, *PUNCH_SLOT)
        s.key(window, "z")
        s.double_click(window, *START1_SLOT)
        s.key(window, "a")
        s.click(window, *SAVE)
        s.answer(program, "Kestrun")
        changed = dict(DEFAULT_BINDINGS, Punch="Z", Start1="A")
        expected = input_file(list(changed.items()))
        self.assertIn(b'InputPunch = "Z"\r\n', expected)
        self.assertEqual(s.read(self.front_end_copy), expected)
        self.assertFalse(os.path.exists(self.emulator_copy))

        s.close_window(window)
        self.assertEqual(s.wait_exit(program), 0)

    def test_keys_are_named_as_the_emulator_binds_them(self):
        s = self.s
        program = s.start()
        window = s.main_window(program)

        # Keypad "+" has no name of its own: its key (X keycode 86) names it.
        # Scroll Lock is spelt right.
        s.click(window, *JOYSTICK)
        s.double_click(window, *PUNCH_SLOT)
        s.key(window, "KP_Add")
        s.double_click(window, *START1_SLOT)
        s.key(window, "Scroll_Lock")
        s.click(window, *SAVE)
        s.answer(program, "Kestrun")
        changed = dict(DEFAULT_BINDINGS, Punch="KeypadPlus", Start1="ScrollLock")
        self.assertEqual(s.read(self.front_end_copy), input_file(list(changed.items())))

        s.close_window(window)
        self.assertEqual(s.wait_exit(program), 0)

    def test_declining_overwrite_keeps_the_file(self):
        s = self.s
        original = input_file(DEFAULT_BINDINGS[:48] + [("Offscreen", "MOUSE_MIDDLE_BUTTON")])
        s.write(self.emulator_copy, original)
        program = s.start()
        window = s.main_window(program)

        s.click(window, *JOYSTICK)
        s.double_click(window, *PUNCH_SLOT)
        s.key(window, "z")
        s.click(window, *SAVE)
        s.answer(program, "Overwrite message", key="Escape")
        self.assertEqual(s.read(self.emulator_copy), original)
        self.assertFalse(os.path.exists(self.front_end_copy))

        s.close_window(window)
        self.assertEqual(s.wait_exit(program), 0)

    def test_supermodel_button_saves_then_starts_input_setup(self):
        s = self.s
        # As the emulator's own set-up: it reads the file as it starts, and as
        # it ends writes it whole from what it read, plus a line of its own.
        fake = s.add_fake_emulator(seconds=0, then=(
            'cp Config/Supermodel.ini "$record.read"; sleep 1; '
            '{ cat "$record.read"; echo "InputSetUpDone = 1"; } > Config/Supermodel.ini'))
        program = s.start()
        window = s.main_window(program)
        watcher = s.watch_root()

        s.click(window, *JOYSTICK)
        s.double_click(window, *PUNCH_SLOT)
        s.key(window, "z")
        s.click(window, *SUPERMODEL)
        # The close question and the Save come before the start.
        s.wait_box(program, "Save message")
        self.assertFalse(fake.ran())
        s.answer(program, "Save message")
        s.answer(program, "Kestrun")
        cwd, arguments = fake.wait_run()
        self.assertEqual(arguments, ["-config-inputs"])
        self.assertEqual(cwd, s.program_dir)
        harness.wait_until(lambda: not fake.running(), 10, "the set-up to end")
        # The window stays up beside the set-up's own.
        self.assertFalse(watcher.iconify_requested(window))
        self.assertIn(b'InputPunch = "Z"\r\n', s.read(fake.record + ".read"))
        after = s.read(self.front_end_copy)
        self.assertIn(b'InputPunch = "Z"\r\n', after)
        self.assertTrue(after.endswith(b"InputSetUpDone = 1\n"))

        s.close_window(window)
        self.assertEqual(s.wait_exit(program), 0)

if __name__ == "__main__":
    harness.run_tests()
