"""Start-up, the single-copy rule and every way the program is asked to end."""

import os
import signal
import sys

# Keep the source folder free of compiled files.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402


class Lifecycle(harness.SessionTestCase):

    def test_first_run_makes_folders_and_close_writes_default_settings(self):
        s = self.s
        # Started the usual way: from its own folder.
        program = s.start(cwd=s.program_dir)
        window = s.main_window(program)
        self.assertEqual(s.title(window), harness.MAIN_TITLE)
        self.assertEqual(s.size(window), (623, 649))
        for name in ("Config", "NVRAM", "Saves"):
            self.assertTrue(os.path.isdir(s.path(name)), name)
        # Start-up only reads the settings; they are written on the way out.
        self.assertFalse(os.path.exists(s.path("Config", "Kestrun.ini")))

        s.close_window(window)
        self.assertEqual(s.wait_exit(program), 0)
        self.assertEqual(s.read(s.path("Config", "Kestrun.ini")), s.default_settings())
        # Nothing else is left behind, no half-written file in particular.
        self.assertEqual(sorted(s.snapshot(s.program_dir)),
                         ["Config", "Config/Kestrun.ini", "NVRAM", "Saves", "kestrun"])

    def test_second_copy_says_so_and_touches_nothing(self):
        s = self.s
        known = ("%s\r\n%s\r\n800\r\n600\r\n 1 \r\n 0 \r\n 2 \r\n"
                 % (s.emulator_folder, s.rom_folder)).encode("utf-8")
        s.write(s.path("Config", "Kestrun.ini"), known)
        first = s.start()
        first_window = s.main_window(first)
        before = s.snapshot(s.program_dir)

        second = s.start()
        box = s.wait_box(second, "Err")
        self.assertEqual(s.title(box), "Err")
        # The second copy shows no window of its own besides the box.
        self.assertEqual(s.find_windows(second, "Kestrun To Supermodel"), [])
        s.key(box, "Return")
        self.assertEqual(s.wait_exit(second), 0)
        self.assertEqual(s.snapshot(s.program_dir), before)
        self.assertEqual(s.read(s.path("Config", "Kestrun.ini")), known)

        # The first copy is unaffected and writes back exactly what it read.
        s.close_window(first_window)
        self.assertEqual(s.wait_exit(first), 0)
        self.assertEqual(s.read(s.path("Config", "Kestrun.ini")), known)

    def test_without_a_temporary_folder_the_guard_moves_or_steps_aside(self):
        s = self.s
        # A temporary folder that is a file: no lock file can be made in it,
        # not even by root (a missing folder only stops other users).
        s.env["TMPDIR"] = os.path.join(s.root, "not a folder")
        s.write(s.env["TMPDIR"], b"")
        # The runtime folder takes the lock: a second copy is still refused.
        first = s.start()
        first_window = s.main_window(first)
        second = s.start()
        s.key(s.wait_box(second, "Err"), "Return")
        self.assertEqual(s.wait_exit(second), 0)
        s.close_window(first_window)
        self.assertEqual(s.wait_exit(first), 0)

        # With neither folder there is no lock to take, and no copy to claim
        # one: the program runs unguarded.
        s.env["XDG_RUNTIME_DIR"] = os.path.join(s.root, "missing too")
        program = s.start()
        window = s.main_window(program)
        self.assertEqual(s.find_windows(program, "^Err$"), [])
        s.close_window(window)
        self.assertEqual(s.wait_exit(program), 0)
        self.assertEqual(s.read(s.path("Config", "Kestrun.ini")), s.default_settings())

    def test_other_working_folder_is_left_alone(self):
        s = self.s
        elsewhere = os.path.join(s.root, "elsewhere")
        os.mkdir(elsewhere)
        program = s.start(cwd=elsewhere)
        window = s.main_window(program)
        s.close_window(window)
        self.assertEqual(s.wait_exit(program), 0)
        self.assertEqual(os.listdir(elsewhere), [])
        for name in ("Config", "NVRAM", "Saves"):
            self.assertTrue(os.path.isdir(s.path(name)), name)
        # The defaults name the program folder, not the working folder.
        self.assertEqual(s.read(s.path("Config", "Kestrun.ini")), s.default_settings())

    def test_copies_started_together_leave_exactly_one_running(self):
        s = self.s
        copies = [s.start() for _ in range(4)]

        def settled():
            # Every copy has either shown its window or its "Err" box.
            shown = [bool(s.find_windows(p, "Kestrun To Supermodel")) for p in copies]
            boxes = [bool(s.find_windows(p, "^Err$")) for p in copies]
            return (shown, boxes) if all(a or b for a, b in zip(shown, boxes)) else None

        shown, boxes = harness.wait_until(settled, 20, "every copy to show a window or a box")
        self.assertEqual(shown.count(True), 1, "exactly one copy runs")
        for process, has_box in zip(copies, boxes):
            if has_box:
                s.key(s.wait_box(process, "Err"), "Return")
                self.assertEqual(s.wait_exit(process), 0)
        survivor = copies[shown.index(True)]
        s.close_window(s.main_window(survivor))
        self.assertEqual(s.wait_exit(survivor), 0)
        self.assertEqual(s.read(s.path("Config", "Kestrun.ini")), s.default_settings())

    def test_termination_signals_write_settings(self):
        s = self.s
        settings = s.path("Config", "Kestrun.ini")
        for sig in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
            with self.subTest(signal=sig.name):
                if os.path.exists(settings):
                    os.remove(settings)
                program = s.start()
                s.main_window(program)
                program.send_signal(sig)
                self.assertEqual(s.wait_exit(program), 0)
                self.assertEqual(s.read(settings), s.default_settings())


if __name__ == "__main__":
    harness.run_tests()
