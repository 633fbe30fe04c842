#!/usr/bin/env python3
"""Fails when a source file includes a header of a higher layer, or when a
file of bindings/, catalogue/ or emulator/ reaches the window without being
one of that folder's window files.

The layers, lowest first: platform < ui < bindings < catalogue < emulator < app.
A file may include headers of its own layer and of the layers below it. In
the middle three folders every other file is pure: no widget, no Form1.
"""
import os
import re
import sys

LAYERS = ["platform", "ui", "bindings", "catalogue", "emulator", "app"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([A-Za-z_]+)/')
WINDOW = re.compile(r'#\s*include\s+"ui/|\bForm1\b')

# The handler and drawing files, which work on the window; the README lists them.
WINDOW_FILES = {
    "bindings": {"BindingChart", "Capture", "DeviceCapture", "GamePage", "PadView",
                 "Profiles", "SlotBinding", "SlotMenu"},
    "catalogue": {"FolderPaths", "GameCatalogue", "RomScan", "SelectedGame", "SelectionView"},
    "emulator": {"BindingPanel", "GameControls", "Launch", "LinkedPlay", "PadSetupPanel",
                 "SaveToFiles", "SettingsFace", "VersionMenu"},
}


def upward_includes(root):
    rank = {name: i for i, name in enumerate(LAYERS)}
    for layer in LAYERS:
        for folder, _, files in os.walk(os.path.join(root, layer)):
            for name in sorted(files):
                if not name.endswith((".cpp", ".h")):
                    continue
                path = os.path.join(folder, name)
                with open(path, encoding="utf-8") as source:
                    for number, line in enumerate(source, 1):
                        match = INCLUDE.match(line)
                        if match and rank.get(match.group(1), -1) > rank[layer]:
                            yield f"{os.path.relpath(path, root)}:{number}: {line.strip()}"


def window_mismatches(root):
    for layer, listed in WINDOW_FILES.items():
        reaching = set()
        for name in sorted(os.listdir(os.path.join(root, layer))):
            stem, ext = os.path.splitext(name)
            if ext not in (".cpp", ".h"):
                continue
            with open(os.path.join(root, layer, name), encoding="utf-8") as source:
                if WINDOW.search(source.read()):
                    reaching.add(stem)
        for stem in sorted(reaching - listed):
            yield f"{layer}/{stem} works on the window but is not one of its window files"
        for stem in sorted(listed - reaching):
            yield f"{layer}/{stem} is listed as a window file but is pure"


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..")
    found = [f"includes a higher layer: {line}" for line in upward_includes(os.path.abspath(root))]
    found += list(window_mismatches(os.path.abspath(root)))
    for line in found:
        print(line)
    print(f"{0 if found else 1} passed, {1 if found else 0} failed")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
