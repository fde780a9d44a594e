#!/usr/bin/env python3
"""The folders' include graph: which folder includes a header that lives in another folder.

Headers are included by their bare names, so each name is looked up among the tree's headers
(a `.h.in` counts as the header it generates). Exits with 1, naming the edges, when a folder
includes a header of a folder that includes one of its own, directly or through others.

  scripts/folder-includes.py [ROOT] [--edges]    --edges lists every edge, cycle or not
"""
import collections
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.M)


def sources(root):
    for folder, subfolders, names in os.walk(root):
        subfolders[:] = sorted(d for d in subfolders if not d.startswith(('build', '.')))
        for name in sorted(names):
            if name.endswith(('.h', '.cpp', '.h.in', '.cpp.in')):
                yield os.path.relpath(os.path.join(folder, name), root)


def include_graph(root):
    files = list(sources(root))
    home = collections.defaultdict(set)
    for path in files:
        name = os.path.basename(path)
        home[name[:-3] if name.endswith('.in') else name].add(os.path.dirname(path))
    edges = collections.defaultdict(set)
    for path in files:
        folder = os.path.dirname(path)
        with open(os.path.join(root, path), encoding='utf-8', errors='replace') as text:
            for header in INCLUDE.findall(text.read()):
                edges[folder] |= home.get(os.path.basename(header), set()) - {folder}
    return edges


def reaches(edges, start, goal):
    seen, pending = set(), [start]
    while pending:
        folder = pending.pop()
        if folder == goal:
            return True
        if folder not in seen:
            seen.add(folder)
            pending.extend(edges[folder])
    return False


def main(argv):
    arguments = [a for a in argv if a != '--edges']
    root = arguments[0] if arguments else os.path.join(os.path.dirname(__file__), '..')
    edges = include_graph(root)
    cycles = 0
    for folder in sorted(edges):
        for target in sorted(edges[folder]):
            back = reaches(edges, target, folder)
            cycles += back
            if back or '--edges' in argv:
                print(f"{folder} -> {target}" + ("   (and back: a cycle)" if back else ""))
    return 1 if cycles else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
