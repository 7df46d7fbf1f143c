#!/usr/bin/env python3
"""Checks the shape of src/: the folder-level include graph has no cycle and
every include goes to the same layer or below, and no portable source (the
core library's files and every header they reach) reaches Win32 or a _win
header. Prints the graph. Exit status 1 on any violation."""

import os
import re
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
SRC = os.path.join(ROOT, "src")
# Bottom first; a folder may include its own layer and the layers below.
LAYERS = ["base", "resources", "framework", "lang", "whois", "views", "input", "lookup", "reports", "extras", "app"]
PLATFORM_HEADERS = re.compile(r"<(windows|winsock2?|commctrl|commdlg|shellapi|shlobj|shlwapi|psapi|winhttp)\.h>", re.I)
INCLUDE = re.compile(r'\s*#\s*include\s+("([^"]+)"|<[^>]+>)')


def includes(path):
    quoted, system = [], []
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            m = INCLUDE.match(line)
            if m:
                (quoted if m.group(2) else system).append(m.group(2) or m.group(1))
    return quoted, system


def core_sources():
    found = []
    for folder in LAYERS:
        listing = os.path.join(SRC, folder, "sources.cmake")
        if not os.path.exists(listing):
            continue
        text = open(listing, encoding="utf-8").read()
        for block in re.findall(r"list\(APPEND OL_CORE_SOURCES(.*?)\)", text, re.S):
            found += [folder + "/" + name for name in re.findall(r"LIST_DIR}/(\S+\.cpp)", block)]
    return found


def main():
    errors = []
    edges = {}
    folders = sorted(d for d in os.listdir(SRC) if os.path.isdir(os.path.join(SRC, d)))
    for folder in folders:
        if folder not in LAYERS:
            errors.append("folder src/%s has no layer" % folder)
            continue
        for name in sorted(os.listdir(os.path.join(SRC, folder))):
            if not name.endswith((".h", ".cpp")):
                continue
            for inc in includes(os.path.join(SRC, folder, name))[0]:
                target = inc.split("/")[0] if "/" in inc else folder
                if target != folder:
                    edges.setdefault((folder, target), []).append("%s/%s -> %s" % (folder, name, inc))

    for (a, b), why in sorted(edges.items()):
        if b in LAYERS and a in LAYERS and LAYERS.index(b) > LAYERS.index(a):
            errors.append("upward include %s -> %s: %s" % (a, b, why[0]))

    # A cycle is reported on its own, whatever the declared order says.
    graph = {}
    for a, b in edges:
        graph.setdefault(a, set()).add(b)
    state = {}

    def visit(node, path):
        state[node] = 1
        for nxt in sorted(graph.get(node, ())):
            if state.get(nxt) == 1:
                errors.append("folder cycle: " + " -> ".join(path[path.index(nxt):] + [nxt]))
            elif not state.get(nxt):
                visit(nxt, path + [nxt])
        state[node] = 2

    for node in sorted(graph):
        if not state.get(node):
            visit(node, [node])

    # Portable files: the core library's sources and every header they reach.
    seen = set()
    pending = [(p, p) for p in core_sources()]
    while pending:
        rel, origin = pending.pop()
        if rel in seen:
            continue
        seen.add(rel)
        path = os.path.join(SRC, rel)
        if not os.path.exists(path):
            continue
        quoted, system = includes(path)
        for s in system:
            if PLATFORM_HEADERS.match(s):
                errors.append("portable %s reaches %s (through %s)" % (origin, s, rel))
        for inc in quoted:
            target = inc if "/" in inc else os.path.dirname(rel) + "/" + inc
            if re.search(r"_win\.h$", target):
                errors.append("portable %s includes the Win32 header %s (through %s)" % (origin, target, rel))
            pending.append((target, origin))

    print("Folder include graph (layer: folders it includes), bottom first:")
    for folder in LAYERS:
        below = sorted({b for (a, b) in edges if a == folder}, key=LAYERS.index)
        print("  %-9s -> %s" % (folder, " ".join(below) if below else "-"))
    print("portable files checked: %d" % len(seen))
    for e in errors:
        print("error: " + e)
    print("layers: %s" % ("ok" if not errors else "%d problem(s)" % len(errors)))
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
