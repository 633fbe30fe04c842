"""The names a screen reader hears, read through the desktop's accessibility
bus (AT-SPI) from the real program.

Runs itself inside a private D-Bus session (dbus-run-session), which starts
the accessibility bus on demand. Skipped, saying why, where the machine has
no AT-SPI or no Python bindings for it.
"""

import os
import shutil
import subprocess
import sys
import time
import unittest

# Keep the source folder free of compiled files.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402

INSIDE = "KESTRUN_TEST_PRIVATE_BUS"

try:
    import pyatspi
    MISSING = None
except ImportError:
    pyatspi = None
    MISSING = "the Python bindings of AT-SPI (python3-pyatspi) are not installed"
if not MISSING and not shutil.which("dbus-run-session"):
    MISSING = "dbus-run-session (package dbus) is not installed"
if not MISSING and not os.path.exists("/usr/libexec/at-spi-bus-launcher"):
    MISSING = "the AT-SPI bus (at-spi2-core) is not installed"


def nodes(node):
    """Every accessible under node, depth first."""
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from nodes(child)


@unittest.skipIf(MISSING, MISSING)
class AccessibilityBus(harness.SessionTestCase):

    def application(self, process):
        def found():
            desktop = pyatspi.Registry.getDesktop(0)
            for i in range(desktop.childCount):
                app = desktop.getChildAtIndex(i)
                if app is not None and app.get_process_id() == process.pid and app.childCount:
                    return app
            return None
        return harness.wait_until(found, 15, "the program on the accessibility bus")

    def named(self, app, role, name):
        def found():
            for node in nodes(app):
                if node.getRoleName() == role and node.name == name:
                    return node
            return None
        return harness.wait_until(found, 10, "a %s named %r" % (role, name))

    def test_names_and_states_on_the_bus(self):
        s = self.s
        s.env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        process = s.start()
        s.main_window(process)
        app = self.application(process)
        self.named(app, "push button", "Start the game")
        self.named(app, "image", "Status: Severe problems.")
        self.named(app, "image", "Emergency Car Ambulance")
        self.named(app, "label", "Games listed: 16")
        panel = self.named(app, "push button", "Key bindings")
        self.assertIn("key bindings", panel.description)

        # Open the panel the way a screen reader would: through the button's action.
        panel.queryAction().doAction(0)
        self.named(app, "label", "Start 1: 1")
        close = self.named(app, "push button", "Close the key bindings")
        self.assertEqual(close.queryAction().getName(0), "Press")

    def test_what_the_archive_holds_is_read_out_before_the_launch(self):
        why = harness.real_emulator_missing()
        if why:
            self.skipTest(why)
        s = self.s
        s.env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        # A build from source whose definitions know Scud Race Plus as
        # "scudplus", a clone: its archive alone does not start.
        emulator = os.path.join(s.root, "emu")
        os.makedirs(os.path.join(emulator, "bin"))
        shutil.copytree(os.path.join(harness.REAL_EMULATOR, "Config"),
                        os.path.join(emulator, "Config"))
        roms = os.path.join(s.root, "roms") + "/"
        os.makedirs(roms)
        subprocess.run([os.path.join(harness.REAL_EMULATOR, "forge-romset"),
                        os.path.join(emulator, "Config", "Games.xml"), "scudplus",
                        roms + "scudplus.zip"], check=True, capture_output=True)
        s.write(s.path("Config", "Kestrun.ini"), "%s/bin/\r\n%s\r\n640\r\n480\r\n0\r\n0\r\n0\r\n"
                % (emulator, roms))
        process = s.start()
        window = s.main_window(process)
        app = self.application(process)
        px = harness.twips_to_pixels
        s.click(window, px(5550 + 3700 // 2), px(4245) + 40)
        s.key(window, "Home", "Down", "Down", "Down")
        row = self.named(app, "list item", "Scud Race Plus")
        harness.wait_until(lambda: "needs" in row.description, 10, "the row's description")
        self.assertEqual(row.description, "scudplus.zip: Scud Race Plus (Export, Twin/DX, "
                                          "Revision A), needs scud.zip beside it, which is missing")

    def test_the_input_setup_is_read_out_in_the_panel(self):
        s = self.s
        s.env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        prompt = " P1 Start [KEY_1,JOY1_BUTTON9]: Ret/c/s/a/r/Down/h/b/q/Esc? "
        # As the emulator's set-up: its help, then a prompt without a line
        # end, and it waits for the answer.
        fake = s.add_fake_emulator(seconds=0, then=(
            "printf 'Configure Inputs\\n\\nCommon Controls:\\n%s' '" + prompt + "'\n"
            'while [ ! -e "$record.answered" ]; do sleep 0.1; done'))
        process = s.start()
        window = s.main_window(process)
        app = self.application(process)
        px = harness.twips_to_pixels
        s.click(window, px(7530 + 1350 + 150), px(3225 + 45 + 277))      # Command3
        s.click(window, px(90 + 4005 + 640), px(60 + 8130 + 172))        # Command7
        s.answer(process, "Save message", key="Escape")  # the first close asks
        output = self.named(app, "text", "Output of the input set-up")
        harness.wait_until(lambda: output.queryText().getText(0, -1).endswith(prompt), 10,
                           "the prompt in the panel")
        save = self.named(app, "push button", "Save")
        self.assertFalse(save.getState().contains(pyatspi.STATE_SENSITIVE))

        open(fake.record + ".answered", "w").close()
        harness.wait_until(lambda: save.getState().contains(pyatspi.STATE_SENSITIVE), 10,
                           "Save once the set-up ended")
        s.close_window(window)
        self.assertEqual(s.wait_exit(process), 0)


if __name__ == "__main__":
    if MISSING:
        print("skipped: " + MISSING)
    elif not os.environ.get(INSIDE):
        os.environ[INSIDE] = "1"
        os.execvp("dbus-run-session", ["dbus-run-session", "--", sys.executable, *sys.argv])
    harness.run_tests()
