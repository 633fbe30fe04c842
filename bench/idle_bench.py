#!/usr/bin/env python3
"""idle_bench.py PROGRAM [SECONDS]

What the front-end costs while it waits for the user: CPU ticks (utime +
stime from /proc/PID/stat) and wakeups (context switches summed over
/proc/PID/task/*/status) over SECONDS (default 5) of idleness, first after
start-up, then while a key capture waits (game devices are read then), then
again after that capture has ended, while the game controller set-up shows
and after it closed. Also tells whether SDL is loaded and how
many threads run. Needs an X server in $DISPLAY and xdotool. The program runs
from a fresh temporary folder, as it writes next to itself.
"""

import glob
import os
import shutil
import subprocess
import sys
import tempfile
import time


def ticks(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])  # utime, stime


def switches(pid):
    total = 0
    for status in glob.glob("/proc/%d/task/*/status" % pid):
        try:
            with open(status) as f:
                for line in f:
                    if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                        total += int(line.split()[1])
        except OSError:
            pass  # a thread that ended meanwhile
    return total


def threads(pid):
    return len(os.listdir("/proc/%d/task" % pid))


def sdl_loaded(pid):
    with open("/proc/%d/maps" % pid) as f:
        return "libSDL2" in f.read()


def measure(pid, seconds, label):
    t0, s0 = ticks(pid), switches(pid)
    time.sleep(seconds)
    t1, s1 = ticks(pid), switches(pid)
    print("%-32s %4d CPU ticks  %5d wakeups  %2d threads  SDL %s"
          % (label, t1 - t0, s1 - s0, threads(pid), "loaded" if sdl_loaded(pid) else "not loaded"))
    return t1 - t0, s1 - s0


def xdotool(*args):
    return subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True,
                          timeout=30).stdout


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 5.0
    root = tempfile.mkdtemp(prefix="kestrun-idle-")
    program = os.path.join(root, "kestrun")
    shutil.copy2(sys.argv[1], program)
    env = dict(os.environ, TMPDIR=root)
    process = subprocess.Popen([program], cwd=root, env=env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        window = xdotool("search", "--sync", "--onlyvisible", "--pid", process.pid,
                         "--name", "Kestrun To Supermodel").split()[0]
        time.sleep(1.0)
        results = [measure(process.pid, seconds, "idle after start-up")]
        # The joystick button opens the panel; a double click on a slot
        # (Punch) starts a capture, Escape ends it.
        xdotool("mousemove", "--window", window, 602, 236, "click", 1)
        time.sleep(0.5)
        xdotool("mousemove", "--window", window, 128, 262, "click", "--repeat", 2,
                "--delay", 80, 1)
        time.sleep(0.5)
        measure(process.pid, seconds, "while a capture waits")
        xdotool("key", "--window", window, "Escape")
        time.sleep(0.5)
        results.append(measure(process.pid, seconds, "idle after the capture ended"))
        # The game's page, then its game controller set-up, which reads the
        # pads while it shows; Escape goes back to the page.
        xdotool("mousemove", "--window", window, 278, 513, "click", 1)
        time.sleep(0.5)
        xdotool("mousemove", "--window", window, 101, 513, "click", 1)
        time.sleep(0.5)
        measure(process.pid, seconds, "while the pad set-up shows")
        xdotool("key", "--window", window, "Escape")
        time.sleep(0.5)
        results.append(measure(process.pid, seconds, "idle after the set-up closed"))
        worst = max(max(r) for r in results)
        print("idle: %s" % ("0 CPU ticks and 0 wakeups" if worst == 0 else "NOT quiet"))
        return 0 if worst == 0 else 1
    finally:
        process.terminate()
        try:
            process.wait(10)
        except subprocess.TimeoutExpired:
            process.kill()
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
