#!/usr/bin/env python3
"""Checks the user guide (docs/guide) against the program it describes.

Every command of the main menu, the accelerator table and the toolbar (the resource script's
toolbar bitmaps) has a section id="command-NNN" (the recent files 3400 to 3410 share 3400's);
every help keyword's anchor (src/shell/help_guide.cpp) is a section of guide/index.html, where
help opens. Links lead somewhere, pictures exist, nothing loads from elsewhere, no scripts run.

    check_guide.py SOURCE_DIR      check the checkout at SOURCE_DIR
"""

import pathlib
import re
import sys

RECENT_FIRST, RECENT_LAST = 3400, 3410


def resource_ids(header_text):
    return {m[1]: int(m[2]) for m in re.finditer(r"#define\s+(\w+)\s+(\d+)", header_text)}


def block(rc_text, head):
    """The text between BEGIN and the matching END after the line that starts with `head`."""
    start = re.search(r"^" + re.escape(head) + r"\b.*$", rc_text, re.M)
    if not start:
        raise SystemExit(f"no {head} in the resource script")
    depth, out = 0, []
    for line in rc_text[start.end():].splitlines():
        word = (line.split() or [""])[0]
        depth += (word == "BEGIN") - (word == "END")
        if word == "END" and depth == 0:
            break
        if depth and word not in ("BEGIN", "END"):
            out.append(line)
    return "\n".join(out)


def command_ids(rc_text, ids):
    """Menu items, keys and toolbar buttons of the program, as numbers."""
    names = re.findall(r'MENUITEM\s+"[^"]*"\s*,\s*(\w+)', block(rc_text, "IDR_MAINMENU MENU"))
    for line in block(rc_text, "IDR_ACCELERATORS ACCELERATORS").splitlines():
        names += [f for f in [x.strip() for x in line.split(",")][1:2] if f]
    found = {int(n) if n.isdigit() else ids[n] for n in names}
    found |= {int(n) for n in re.findall(r'"toolbar/toolbar_(\d+)_16\.bmp"', rc_text)}
    return {RECENT_FIRST if RECENT_FIRST <= i <= RECENT_LAST else i for i in found}


def keyword_anchors(rules_text):
    table = re.search(r"kSections\{\{(.*?)\}\};", rules_text, re.S)
    if not table:
        raise SystemExit("no keyword table in the help rules")
    return re.findall(r'\{"[^"]+",\s*"([^"]+)"\}', table[1])


class Page:
    def __init__(self, path):
        self.path, self.text = path, path.read_text(encoding="utf-8")
        self.ids = set(re.findall(r'\bid="([^"]+)"', self.text))


def guide_faults(guide, ids_wanted, anchors):
    pages = {p.name: Page(p) for p in sorted(guide.glob("*.html"))}
    if "index.html" not in pages:
        return ["the guide has no index.html"]
    faults = []
    all_ids = set().union(*(p.ids for p in pages.values()))
    for number in sorted(ids_wanted):
        if f"command-{number}" not in all_ids:
            faults.append(f"command {number} has no section id=\"command-{number}\"")
    for anchor in anchors:
        if anchor not in pages["index.html"].ids:
            faults.append(f"help keyword anchor \"{anchor}\" is not a section of index.html")
    for page in pages.values():
        faults += page_faults(page, pages, guide)
    return faults


def page_faults(page, pages, guide):
    faults = []
    if re.search(r"<script\b", page.text, re.I):
        faults.append(f"{page.path.name} runs a script")
    for attribute, target in re.findall(r'\b(href|src)="([^"]*)"', page.text):
        where = f"{page.path.name}: {attribute}=\"{target}\""
        if re.match(r"[a-z][a-z0-9+.-]*:", target, re.I) or target.startswith("//"):
            faults.append(f"{where} leaves the guide")
            continue
        file, _, fragment = target.partition("#")
        if file.endswith(".html"):
            linked = pages.get(file)
            if linked is None:
                faults.append(f"{where} names a page the guide does not have")
            elif fragment and fragment not in linked.ids:
                faults.append(f"{where} names no section")
        elif file:
            if not (guide / file).is_file() and not file.endswith(".wav"):
                faults.append(f"{where} names a missing file")
        elif fragment not in page.ids:
            faults.append(f"{where} names no section")
    return faults


def check(source):
    source = pathlib.Path(source)
    ids = resource_ids((source / "src/resources/resource_ids.h").read_text())
    wanted = command_ids((source / "src/resources/lumetra.rc").read_text(encoding="utf-8"), ids)
    anchors = keyword_anchors((source / "src/shell/help_guide.cpp").read_text())
    faults = guide_faults(source / "docs/guide", wanted, anchors)
    print(*(f"guide: {fault}\n" for fault in faults), sep="", end="")
    print(f"guide: {len(wanted)} commands and {len(anchors)} help keywords checked, "
          f"{len(faults)} faults")
    return 0 if not faults else 1


if __name__ == "__main__":
    sys.exit(check(sys.argv[1]) if len(sys.argv) == 2 else __doc__)
