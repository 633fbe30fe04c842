#!/usr/bin/env python3
"""Fails when a source file includes a header of a higher layer.

The layers, lowest first: platform < ui < bindings < catalogue < emulator < app.
A file may include headers of its own layer and of the layers below it.
"""
import os
import re
import sys

LAYERS = ["platform", "ui", "bindings", "catalogue", "emulator", "app"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([A-Za-z_]+)/')


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


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..")
    found = list(upward_includes(os.path.abspath(root)))
    for line in found:
        print("includes a higher layer:", line)
    print(f"{0 if found else 1} passed, {1 if found else 0} failed")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
