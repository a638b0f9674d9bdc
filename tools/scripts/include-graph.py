#!/usr/bin/env python3
"""Prints which folders of src include which, and fails on a layering fault.

A fault is a cycle between folders of src, a file of src (outside src/app)
or of tools that includes a header of src/app (the program's top includes
every other folder, and nothing of the program or the tools includes the top),
or a file of the program that includes a header of src/config (the settings
programs, which are programs of their own built on the program's lower floors).
The tests and the bench drive the whole program and may include it.

Usage: include-graph.py [REPOSITORY]   (default: the repository of this script)
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)
SOURCE_SUFFIXES = (".cpp", ".h")
TOP = "app"
SETTINGS_PROGRAMS = "config"


def source_files(folder):
    for directory, _, names in os.walk(folder):
        for name in sorted(names):
            if name.endswith(SOURCE_SUFFIXES):
                yield os.path.join(directory, name)


def included_folders(path, folders):
    """The src folders that the quoted includes of one file name."""
    with open(path, encoding="utf-8") as source:
        text = source.read()
    for header in INCLUDE.findall(text):
        first = header.split("/", 1)[0]
        if "/" in header and first in folders:
            yield first, header


def folder_graph(src):
    folders = sorted(name for name in os.listdir(src) if os.path.isdir(os.path.join(src, name)))
    edges = {folder: set() for folder in folders}
    for folder in folders:
        for path in source_files(os.path.join(src, folder)):
            for target, _ in included_folders(path, folders):
                if target != folder:
                    edges[folder].add(target)
    return folders, edges


def find_cycle(folders, edges):
    """One cycle as a list of folders, or None."""
    state = {folder: 0 for folder in folders}  # 0 unseen, 1 on the path, 2 done
    path = []

    def visit(folder):
        state[folder] = 1
        path.append(folder)
        for target in sorted(edges[folder]):
            if state[target] == 1:
                return path[path.index(target):] + [target]
            if state[target] == 0:
                cycle = visit(target)
                if cycle:
                    return cycle
        path.pop()
        state[folder] = 2
        return None

    for folder in folders:
        if state[folder] == 0:
            cycle = visit(folder)
            if cycle:
                return cycle
    return None


def layers(folders, edges):
    """Folders by height: a folder sits one above the highest folder it includes."""
    height = {}

    def measure(folder, seen):
        if folder in height:
            return height[folder]
        if folder in seen:  # a cycle: reported separately
            return 0
        below = [measure(target, seen | {folder}) for target in edges[folder]]
        height[folder] = 1 + max(below, default=-1)
        return height[folder]

    for folder in folders:
        measure(folder, frozenset())
    return sorted(folders, key=lambda folder: (-height[folder], folder)), height


def includes_of_top(root, folders):
    """Files of the program (outside its top) and of the tools that include the top."""
    faults = []
    for tree in ("src", "tools"):
        for path in source_files(os.path.join(root, tree)):
            relative = os.path.relpath(path, root)
            if relative.startswith(os.path.join("src", TOP) + os.sep):
                continue
            inside_settings_programs = relative.startswith(os.path.join("src", SETTINGS_PROGRAMS) + os.sep)
            for target, header in included_folders(path, folders):
                if target == TOP or (target == SETTINGS_PROGRAMS and not inside_settings_programs
                                     and tree == "src"):
                    faults.append(f"{relative} includes {header}")
    return faults


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..")
    root = os.path.abspath(root)
    src = os.path.join(root, "src")
    folders, edges = folder_graph(src)
    ordered, height = layers(folders, edges)
    print("include-graph: folders of src, top first (each includes only those after the arrow)")
    for folder in ordered:
        print(f"  {height[folder]}  {folder:<12} -> {', '.join(sorted(edges[folder])) or '(nothing)'}")
    failed = False
    cycle = find_cycle(folders, edges)
    if cycle:
        print("include-graph: FAILED: the folders include each other in a cycle: " + " -> ".join(cycle))
        failed = True
    for fault in includes_of_top(root, folders):
        print(f"include-graph: FAILED: {fault} (only src/{TOP}, the tests and the bench include "
              f"src/{TOP}; nothing of the program includes src/{SETTINGS_PROGRAMS})")
        failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
