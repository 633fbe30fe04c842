"""make install and make uninstall into temporary folders, and the package.

The build tree is the one the program under test was built in; its install
rules put the program into PREFIX as `make install` does (scripts/install-prefix
is what `make install` runs). Desktop files go under a temporary
XDG_DATA_HOME.
"""

import hashlib
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
LIST = ".kestrun-files"


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

    def install(self, prefix, *options, check=True, cwd=None):
        result = subprocess.run([INSTALL, *options, prefix], env=self.s.env, capture_output=True,
                                text=True, cwd=cwd)
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

    def test_only_its_own_files_inside_the_prefix_are_touched(self):
        root = self.s.root
        outside = os.path.join(root, "outside")
        victim = os.path.join(outside, "victim.txt")
        pictures = os.path.join(outside, "pictures")
        self.s.write(victim, "victim")
        for name in os.listdir(os.path.join(SOURCE, "docs")):
            self.s.write(os.path.join(pictures, name), "theirs")
        home_data = os.path.join(root, "home", ".local", "share")
        os.makedirs(home_data)
        kept = ("Kes trun", "data", os.path.relpath(home_data, root))

        def snapshot_but_prefix_and_data():
            return {k: v and hashlib.sha256(v).hexdigest() for k, v in self.s.snapshot(root).items()
                    if not k.startswith(kept)}

        def write(*parts, data="mine", mode=0o644):
            self.s.write(os.path.join(*parts), data)
            os.chmod(os.path.join(*parts), mode)

        def tamper_list(prefix):
            with open(os.path.join(prefix, LIST), "a") as f:
                f.write("../outside/victim.txt\n\n/../outside/victim.txt\n%s\n" % victim
                        + "docs/../../outside/victim.txt\n..\n")

        def link_docs(prefix):
            shutil.rmtree(os.path.join(prefix, "docs"))
            os.symlink(pictures, os.path.join(prefix, "docs"))

        def replace_script(prefix):
            write(prefix, "install-desktop-entry", data="#!/bin/sh\ntouch '%s/ran'\n" % outside,
                  mode=0o755)
            write(prefix, "README.md")

        def old_list(prefix):
            with open(os.path.join(prefix, LIST)) as f:
                names = [line.rstrip("\n").split("  ", 1)[1] for line in f]
            self.s.write(os.path.join(prefix, LIST), "".join(n + "\n" for n in names))
            write(prefix, "README.md")  # an old list has no checksums to tell

        def mine_is_kept(prefix):
            self.assertEqual(self.s.read(os.path.join(prefix, "README.md")), b"mine")
            self.assertEqual(self.s.read(os.path.join(prefix, "docs", "window.png")), b"mine")

        def menu_in_home(_):
            self.assertTrue(os.path.isfile(os.path.join(home_data, "applications", "kestrun.desktop")))

        def own_files(prefix):
            write(prefix, "README.md")
            write(prefix, "docs", "window.png")

        skipped = ("is blank", "../outside/victim.txt", "/../outside/victim.txt", victim,
                   "docs/../../outside/victim.txt", "skipped: ..")
        changed = ("install-desktop-entry: it was changed", "README.md: it was changed")
        install, uninstall = ("install", True, ()), ("uninstall", True, ())
        # name, environment, steps: a function of the prefix, or (what, succeeds, words said),
        # and what is left in the prefix
        cases = [
            ("own files", {}, [own_files, ("install", False, ("README.md", "docs/window.png")),
                               ("uninstall", False, ()), mine_is_kept],
             ["README.md", "docs", "docs/window.png"]),
            ("tampered list", {}, [install, tamper_list, ("install", True, skipped), tamper_list,
                                   ("uninstall", True, skipped)], []),
            ("linked docs", {}, [install, link_docs, ("install", False, ("docs",)), uninstall],
             ["docs"]),
            ("replaced files", {}, [install, replace_script, ("uninstall", True, changed)],
             ["README.md", "install-desktop-entry"]),
            ("old list", {}, [install, old_list, uninstall], []),
            ("relative data folder", {"XDG_DATA_HOME": "rel/data", "HOME": os.path.join(root, "home")},
             [install, menu_in_home, uninstall], []),
        ]
        saved = dict(self.s.env)
        for number, (name, env, steps, left) in enumerate(cases):
            with self.subTest(name):
                prefix = os.path.join(root, "Kes trun 'q' \"%d\"" % number)
                before = snapshot_but_prefix_and_data()
                self.s.env = dict(saved, **env)
                for step in steps:
                    if callable(step):
                        step(prefix)
                        continue
                    what, succeeds, words = step
                    result = self.install(prefix, *(("--remove",) if what == "uninstall" else ()),
                                          check=False, cwd=outside)
                    said = result.stdout + result.stderr
                    self.assertEqual(result.returncode == 0, succeeds, said)
                    for word in words:
                        self.assertIn(word, said)
                self.assertEqual(files_under(prefix), left)
                self.assertEqual(snapshot_but_prefix_and_data(), before)
                for data in (self.data, home_data):
                    self.assertEqual([f for f in files_under(data) if os.path.isfile(os.path.join(data, f))],
                                     [])
                shutil.rmtree(prefix, ignore_errors=True)

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
