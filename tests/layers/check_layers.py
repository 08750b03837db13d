#!/usr/bin/env python3
"""Checks that the sources keep to their layers.

Every folder under src/ is a layer with a platform-neutral core (the files directly in it) and a
Win32 half (its win/ folder). A file may include its own layer and lower ones, a win/ half only
from a win/ half, and the resource ids (resources/). Layers of one rank (the features) do not
include each other, core files include no platform header, and no include goes round in a cycle.

Usage: check_layers.py SRC_DIR        exits 1 and lists what is wrong
"""

import os
import re
import sys

# Lowest first; layers on one line share a rank.
RANKS = [["base"], ["image"], ["render"], ["document"], ["imageops", "tools", "browser", "analysis"],
         ["shell", "cli"]]
RANK = {layer: rank for rank, layers in enumerate(RANKS) for layer in layers}
DATA_FOLDERS = {"resources"}
PLATFORM_HEADERS = {
    "windows.h", "windowsx.h", "commctrl.h", "commdlg.h", "mmsystem.h", "ole2.h", "olectl.h",
    "shlobj.h", "shellapi.h", "unknwn.h", "objbase.h", "wincodec.h", "shlwapi.h",
}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)


def where(path):
    """(layer, is_win_half) of a path relative to src/, or None for data folders."""
    parts = path.split("/")
    return None if parts[0] in DATA_FOLDERS else (parts[0], len(parts) > 2 and parts[1] == "win")


def sources(src):
    for folder, _, files in os.walk(src):
        for name in files:
            if name.endswith((".h", ".cpp")):
                full = os.path.join(folder, name)
                yield os.path.relpath(full, src).replace(os.sep, "/"), full


def check(src):
    problems, graph = [], {}
    for rel, full in sources(src):
        if (home := where(rel)) is None:
            continue
        layer, win = home
        if layer not in RANK:
            problems.append(f"{rel}: folder '{layer}' is in no layer")
            continue
        text = open(full, encoding="utf-8").read()
        graph[rel] = []
        for kind, target in INCLUDE.findall(text):
            if kind == "<":
                if not win and target.lower() in PLATFORM_HEADERS:
                    problems.append(f"{rel}: the core includes <{target}>")
                continue
            if not os.path.exists(os.path.join(src, target)):
                continue  # a header found beside the file or in the tests' support
            graph[rel].append(target)
            if (there := where(target)) is None:
                continue
            other, other_win = there
            if other not in RANK:
                problems.append(f"{rel}: includes {target} of no layer")
            elif other_win and not win:
                problems.append(f"{rel}: the core includes the Win32 half {target}")
            elif RANK[other] > RANK[layer]:
                problems.append(f"{rel}: includes {target} of a higher layer")
            elif RANK[other] == RANK[layer] and other != layer:
                problems.append(f"{rel}: includes {target} of the neighbouring layer '{other}'")
    problems += cycles(graph)
    return problems


def cycles(graph):
    found, state = [], {}

    def visit(node, path):
        state[node] = "open"
        for nxt in graph.get(node, []):
            if state.get(nxt) == "open":
                loop = path[path.index(nxt):] + [nxt]
                found.append("include cycle: " + " -> ".join(loop))
            elif nxt not in state:
                visit(nxt, path + [nxt])
        state[node] = "done"

    for node in sorted(graph):
        if node not in state:
            visit(node, [node])
    return found


def main(src):
    problems = check(src)
    print(*problems, sep="\n") if problems else print("every include points down its layers")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]) if len(sys.argv) == 2 else __doc__)
