#!/usr/bin/env python3
"""Runs every command-line example of the user guide's batch tools section as written, in a folder
laid out as the unpacked ZIP (the starter library's Images\\ and Filters\\), with the native tools.

Each line of the section's <pre> blocks that starts with a tool's name ("lumetra-render ") is
an example; backslashes in paths become the native separator. The cmd.exe loop over Images\\*.bmp
is run as the loop it is. Every example must end with exit code 0 and leave its output file.

    check_examples.py SOURCE_DIR STARTER_DIR BIN_DIR
"""

import html
import pathlib
import re
import shlex
import shutil
import subprocess
import sys
import tempfile


def examples(guide_text):
    section = re.search(r'<section id="batch-tools">(.*?)<section id="help">', guide_text, re.S)
    if not section:
        raise SystemExit("check_examples: no batch tools section in the guide")
    # The synopses name their arguments in capitals (INPUT.bmp): not examples.
    return [line for block in re.findall(r"<pre>(.*?)</pre>", section.group(1), re.S)
            for line in html.unescape(block).splitlines()
            if line.startswith(("lumetra-render ", "lumetra-edit ", "lumetra-analyze ",
                                "for %f in (")) and "INPUT" not in line]


def commands(line, bin_dir, folder):
    """The native command lines of one example line."""
    loop = re.fullmatch(r'for %f in \((.+)\) do lumetra-render "%f" "%~nf\.wav"', line)
    if loop:
        pattern = loop.group(1).replace("\\", "/")
        return [[str(bin_dir / "lumetra-render"), str(p.relative_to(folder)), p.stem + ".wav"]
                for p in sorted(folder.glob(pattern))]
    words = shlex.split(line.replace("\\", "/"))
    return [[str(bin_dir / words[0])] + words[1:]]


def main(argv):
    if len(argv) != 4:
        return __doc__
    source, starter, bin_dir = (pathlib.Path(a).resolve() for a in argv[1:])
    lines = examples((source / "docs/guide/index.html").read_text(encoding="utf-8"))
    faults = 0
    with tempfile.TemporaryDirectory(prefix="lumetra-examples-") as temp:
        folder = pathlib.Path(temp)
        for part in ("Images", "Filters"):
            shutil.copytree(starter / part, folder / part)
        ran = 0
        for line in lines:
            for command in commands(line, bin_dir, folder):
                # The sound is the last word of a render; an edit's output is its second picture.
                pictures = [w for w in command[1:] if w.endswith(".bmp")]
                last_is_output = command[0].endswith(("render", "analyze"))
                output = folder / (command[-1] if last_is_output else pictures[1])
                result = subprocess.run(command, cwd=folder, capture_output=True, text=True)
                ran += 1
                if result.returncode != 0 or not output.is_file():
                    faults += 1
                    made = "made" if output.is_file() else "missing"
                    print(f"FAIL: {line}\n  ran {' '.join(command[1:])}: exit "
                          f"{result.returncode}, {output.name} {made}\n  {result.stderr.strip()}")
    print(f"guide examples: {len(lines)} lines, {ran} runs, {faults} faults")
    return 1 if faults or not lines else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
