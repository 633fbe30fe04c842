"""make install and make uninstall into temporary folders, and the package.

The build tree is the one the program under test was built in; its install
rules put the program into PREFIX as `make install` does (scripts/install-prefix
is what `make install` runs). Desktop files go under a temporary
XDG_DATA_HOME.
"""

import os
import shutil
import subprocess
import sys
import tarfile

# Keep the source folder free of compiled files.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402

SOURCE = os.path.realpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
INSTALL = os.path.join(SOURCE, "scripts", "install-prefix")
ICONS = ["scalable/apps/kestrun.svg"] + ["%dx%d/apps/kestrun.png" % (n, n) for n in (48, 64, 128, 256)]
METAINFO = "metainfo/io.github.kestrun.Kestrun.metainfo.xml"
USER_DATA = ["Config", "Config/Kestrun.ini", "NVRAM", "Saves", "Saves/mine.sav"]


def desktop_string(value):
    """A desktop entry string value, unescaped."""
    out, i = [], 0
    while i < len(value):
        if value[i] == "\\" and i + 1 < len(value):
            out.append({"s": " ", "n": "\n", "t": "\t", "r": "\r", "\\": "\\"}.get(value[i + 1], value[i + 1]))
            i += 2
        else:
            out.append(value[i])
            i += 1
    return "".join(out)


def exec_arguments(value):
    """The arguments of an Exec value, as a launcher splits them."""
    value = desktop_string(value).replace("%%", "%")
    args, current, quoted, i = [], None, False, 0
    while i < len(value):
        c = value[i]
        if quoted and c == "\\" and i + 1 < len(value):
            current = (current or "") + value[i + 1]
            i += 1
        elif c == '"':
            quoted = not quoted
            current = current or ""
        elif c == " " and not quoted:
            if current is not None:
                args.append(current)
            current = None
        else:
            current = (current or "") + c
        i += 1
    if current is not None:
        args.append(current)
    return args


def read_entry(path):
    with open(path, encoding="utf-8") as f:
        return dict(line.rstrip("\n").split("=", 1) for line in f if "=" in line)


def files_under(folder):
    found = []
    for base, dirs, files in os.walk(folder):
        found += [os.path.relpath(os.path.join(base, n), folder) for n in dirs + files]
    return sorted(found)


class Install(harness.SessionTestCase):

    def setUp(self):
        super().setUp()
        self.data = os.path.join(self.s.root, "data")
        self.s.env["XDG_DATA_HOME"] = self.data
        self.s.env["KESTRUN_BUILD"] = os.path.dirname(harness.BINARY)

    def install(self, prefix, *options, check=True):
        result = subprocess.run([INSTALL, *options, prefix], env=self.s.env, capture_output=True,
                                text=True)
        if check:
            self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        return result

    def validate(self):
        for command in (["desktop-file-validate", os.path.join(self.data, "applications", "kestrun.desktop")],
                        ["appstreamcli", "validate", "--no-net", os.path.join(self.data, METAINFO)]):
            result = subprocess.run(command, capture_output=True, text=True)
            self.assertEqual(result.returncode, 0, result.stdout + result.stderr)

    def run_installed(self, program):
        """Starts the program from a working folder that is not its own and closes it."""
        s = self.s
        s.program = program
        process = s.start(cwd=s.work_dir)
        s.close_window(s.main_window(process))
        self.assertEqual(s.wait_exit(process), 0)
        self.assertEqual(os.listdir(s.work_dir), [])

    def test_install_run_reinstall_uninstall(self):
        for name in ("Kestrun", "Kes trun – ä \"q\" $x"):
            with self.subTest(prefix=name):
                prefix = os.path.join(self.s.root, name)
                self.install(prefix)
                self.validate()
                entry = read_entry(os.path.join(self.data, "applications", "kestrun.desktop"))
                program = os.path.join(prefix, "kestrun")
                self.assertEqual(exec_arguments(entry["Exec"]), [program])
                self.assertEqual(desktop_string(entry["Path"]), prefix)
                self.assertEqual((entry["Icon"], entry["Categories"], entry["Terminal"]),
                                 ("kestrun", "Game;Emulator;", "false"))
                for icon in ICONS:
                    self.assertTrue(os.path.isfile(os.path.join(self.data, "icons", "hicolor", icon)), icon)

                self.run_installed(program)
                self.assertTrue(os.path.isfile(os.path.join(prefix, "Config", "Kestrun.ini")))
                self.s.write(os.path.join(prefix, "Saves", "mine.sav"), b"save")
                ini = self.s.read(os.path.join(prefix, "Config", "Kestrun.ini"))

                self.install(prefix)  # over the older install
                self.assertEqual(self.s.read(os.path.join(prefix, "Config", "Kestrun.ini")), ini)

                self.install(prefix, "--remove")
                self.assertEqual(files_under(prefix), USER_DATA)
                self.assertEqual([f for f in files_under(self.data)
                                  if os.path.isfile(os.path.join(self.data, f))], [])
                shutil.rmtree(prefix)

    def test_user_entry_is_kept_and_comes_back(self):
        mine = "[Desktop Entry]\nType=Application\nName=Mine\nExec=true\n"
        self.s.write(os.path.join(self.data, "applications", "kestrun.desktop"), mine)
        prefix = os.path.join(self.s.root, "Kestrun")
        self.install(prefix)
        self.install(prefix)
        apps = os.path.join(self.data, "applications")
        self.assertEqual(self.s.read(os.path.join(apps, "kestrun.desktop.bak")).decode(), mine)
        self.assertEqual(read_entry(os.path.join(apps, "kestrun.desktop"))["Name"], "Kestrun")
        self.install(prefix, "--remove")
        self.assertEqual(sorted(os.listdir(apps)), ["kestrun.desktop"])
        self.assertEqual(self.s.read(os.path.join(apps, "kestrun.desktop")).decode(), mine)

    def test_unwritable_place_fails_clearly_and_writes_nothing(self):
        # Root writes through permission bits; /proc takes no new folders.
        read_only = "/proc/kestrun-test" if os.geteuid() == 0 else os.path.join(self.s.root, "ro")
        if os.geteuid() != 0:
            os.mkdir(read_only, 0o555)
        writable = os.path.join(self.s.root, "Kestrun")
        for prefix, data in ((os.path.join(read_only, "Kestrun"), self.data),
                             (writable, os.path.join(read_only, "data"))):
            with self.subTest(prefix=prefix, data=data):
                self.s.env["XDG_DATA_HOME"] = data
                result = self.install(prefix, check=False)
                self.assertNotEqual(result.returncode, 0)
                self.assertIn("cannot", result.stderr)
                self.assertFalse(os.path.exists(prefix))
                self.assertFalse(os.path.exists(self.data))

    def test_package_runs_where_it_is_unpacked(self):
        build = os.path.dirname(harness.BINARY)
        subprocess.run(["cmake", "--build", build, "--target", "package"], check=True,
                       capture_output=True)
        with open(os.path.join(SOURCE, "CMakeLists.txt")) as f:
            version = next(line for line in f if line.startswith("project(")).split()[2]
        name = "kestrun-%s-linux-x86_64" % version
        unpacked = os.path.join(self.s.root, "unpacked here")
        with tarfile.open(os.path.join(build, name + ".tar.gz")) as archive:
            self.assertEqual({m.name.split("/")[0] for m in archive.getmembers()}, {name})
            archive.extractall(unpacked)
        folder = os.path.join(unpacked, name)
        self.run_installed(os.path.join(folder, "kestrun"))
        self.assertTrue(os.path.isfile(os.path.join(folder, "Config", "Kestrun.ini")))

        subprocess.run([os.path.join(folder, "install-desktop-entry")], env=self.s.env, check=True,
                       capture_output=True)
        self.validate()
        entry = read_entry(os.path.join(self.data, "applications", "kestrun.desktop"))
        self.assertEqual(desktop_string(entry["Path"]), folder)


if __name__ == "__main__":
    harness.run_tests()
