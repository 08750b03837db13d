#!/usr/bin/env python3
"""Planted-fault runs: how many small faults in the product code do the tests catch?

Plants one fault at a time in a product source file (an operator swapped, a constant moved by
one, a condition negated, a statement or an early return removed, a boundary moved), rebuilds
what the file affects, runs the tests with a time limit, and records the mutant as killed (a test
failed or timed out), survived (every test passed) or invalid (it did not build). Each worker has
its own copy of the tree and its own build, so the checkout is never touched. The results go to a
state file line by line, so an interrupted run picks up where it stopped; the report is written
from the state file at the end (or alone with --report-only).

  scripts/mutate.py [--sample N] [--seed S] [--jobs J] [--timeout SECONDS]
                    [--preset native|windows] [--targets "T ..."] [--tests COMMAND] [--out DIR]
                    [PATH_OR_LAYER ...]

PATH_OR_LAYER: files or folders under src/, or layer names (render, image, shell/win, ...);
default: the core layers. The sample is drawn with the seed from all the candidate faults of the
chosen files, so the same sample and seed plant the same faults in another run of the suite.
"""

import argparse
import json
import os
import random
import re
import shutil
import subprocess
import sys
import threading
import time
from dataclasses import dataclass, asdict
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
CORE_LAYERS = ["base", "image", "render", "document", "imageops", "tools", "browser", "shell",
               "cli", "analysis"]
SOURCE_ENDINGS = (".cpp", ".h")


@dataclass(frozen=True)
class Mutant:
    file: str      # relative to the checkout
    line: int      # 1-based
    column: int    # 0-based start of the change in the line
    kind: str
    before: str    # the text replaced
    after: str     # what replaces it

    @property
    def key(self):
        return f"{self.file}:{self.line}:{self.column}:{self.kind}:{self.after}"


# --- finding the candidate faults --------------------------------------------------------------

RELATIONAL = {"<": ["<=", ">="], "<=": ["<", ">"], ">": [">=", "<="], ">=": [">", "<"],
              "==": ["!="], "!=": ["=="]}
ARITHMETIC = {"+": ["-"], "-": ["+"], "*": ["/"], "/": ["*"], "+=": ["-="], "-=": ["+="]}
LOGICAL = {"&&": ["||"], "||": ["&&"]}
# Binary operators are written with a space on each side (the repository's clang-format style),
# which tells a comparison from a template's angle brackets and a sum from a sign.
BINARY = re.compile(r"(?<= )(<=|>=|==|!=|<|>|\+=|-=|\+|-|\*|/|&&|\|\|)(?= )")
INTEGER = re.compile(r"(?<![\w.])(\d+)(?![\w.'])")
IF_CONDITION = re.compile(r"\bif \(")


def mask_literals(line):
    """The line with string and character literals blanked, so no fault is planted inside."""
    out, quote, escaped = [], None, False
    for ch in line:
        if quote:
            out.append(" ")
            if escaped:
                escaped = False
            elif ch == "\\":
                escaped = True
            elif ch == quote:
                quote = None
        elif ch in "\"'":
            quote = ch
            out.append(" ")
        else:
            out.append(ch)
    return "".join(out)


def code_lines(text):
    """(line number, masked code) for the lines that hold code: no comments, no preprocessor."""
    in_block = False
    for number, raw in enumerate(text.split("\n"), 1):
        line = mask_literals(raw)
        if in_block:
            end = line.find("*/")
            if end < 0:
                continue
            line = " " * (end + 2) + line[end + 2:]
            in_block = False
        start = line.find("/*")
        if start >= 0 and line.find("*/", start) < 0:
            line, in_block = line[:start], True
        line = re.sub(r"/\*.*?\*/", lambda m: " " * len(m.group()), line)
        comment = line.find("//")
        if comment >= 0:
            line = line[:comment]
        stripped = line.strip()
        if not stripped or stripped.startswith("#") or stripped.startswith("static_assert"):
            continue
        yield number, line


def matching_paren(line, open_index):
    depth = 0
    for i in range(open_index, len(line)):
        if line[i] == "(":
            depth += 1
        elif line[i] == ")":
            depth -= 1
            if depth == 0:
                return i
    return -1


def is_removable_statement(stripped):
    if not stripped.endswith(";") or stripped.startswith(("return", "}", "case ", "default")):
        return False
    # A call or an assignment, not a declaration: declarations rarely survive removal as a
    # compile error, so they would only fill the sample with invalid mutants.
    return bool(re.match(r"^[\w:.\->\[\]()*]+\s*(\(|[+\-*/|&]?=[^=]|\+\+|--)", stripped))


def candidates(path, text):
    lines = text.split("\n")
    previous = ";"
    for number, code in code_lines(text):
        stripped = code.strip()
        starts_statement = previous.endswith((";", "{", "}", ")")) or previous == "else"
        previous = stripped
        for m in BINARY.finditer(code):
            op = m.group(1)
            for table, kind in ((RELATIONAL, "relational"), (ARITHMETIC, "arithmetic"),
                                (LOGICAL, "logical")):
                for after in table.get(op, []):
                    yield Mutant(path, number, m.start(), kind, op, after)
        for m in INTEGER.finditer(code):
            value = int(m.group(1))
            # One step up, or down to 0 for a 1: enough to show an unchecked constant.
            for after in ([value - 1] if value == 1 else [value + 1]):
                yield Mutant(path, number, m.start(), "constant", m.group(1), str(after))
        for m in IF_CONDITION.finditer(code):
            open_index = m.end() - 1
            close = matching_paren(code, open_index)
            if close > 0:
                condition = lines[number - 1][open_index:close + 1]
                yield Mutant(path, number, open_index, "negate", condition, f"(!{condition})")
        if starts_statement and is_removable_statement(stripped):
            column = code.index(stripped[0])
            original = lines[number - 1][column:column + len(stripped)]
            yield Mutant(path, number, column, "remove", original, ";")
        early = re.search(r"\breturn\b[^;]*;", code)
        if early and stripped.startswith("if ") and stripped.endswith(";"):
            original = lines[number - 1][early.start():early.end()]
            yield Mutant(path, number, early.start(), "early-return", original, ";")


def apply(text, mutant):
    lines = text.split("\n")
    line = lines[mutant.line - 1]
    assert line[mutant.column:mutant.column + len(mutant.before)] == mutant.before, mutant
    lines[mutant.line - 1] = (line[:mutant.column] + mutant.after +
                              line[mutant.column + len(mutant.before):])
    return "\n".join(lines)


def chosen_files(paths):
    files = []
    for target in paths or [layer for layer in CORE_LAYERS if (ROOT / "src" / layer).is_dir()]:
        path = ROOT / target if (ROOT / target).exists() else ROOT / "src" / target
        if path.is_file():
            files.append(path)
        elif path.is_dir():
            whole_layer = target in CORE_LAYERS
            for f in sorted(path.rglob("*")):
                if f.suffix not in SOURCE_ENDINGS:
                    continue
                # A core layer means its platform-neutral files; name "LAYER/win" for the rest.
                if whole_layer and "win" in f.relative_to(path).parts:
                    continue
                files.append(f)
        else:
            sys.exit(f"mutate: no such file, folder or layer: {target}")
    return [f.relative_to(ROOT).as_posix() for f in files]


def layer_of(path):
    parts = Path(path).parts[1:]
    return parts[0] + ("/win" if "win" in parts[1:-1] else "") if len(parts) > 1 else "src"


# --- running them ------------------------------------------------------------------------------

class Worker:
    def __init__(self, number, args):
        self.tree = Path(args.out) / f"worker{number}"
        self.build = self.tree / "build" / args.preset
        self.args = args
        self.planted = self.tree.parent / f"worker{number}.planted"

    def prepare(self):
        """A copy of the checkout and a built tree of the unmutated code."""
        self.tree.mkdir(parents=True, exist_ok=True)
        # The files keep their times, so a second run rebuilds only what changed since.
        subprocess.run(f"tar -C '{ROOT}' -cf - --exclude=./build --exclude=./.git . "
                       f"| tar -C '{self.tree}' -xf -", shell=True, check=True)
        # The latest fault of an earlier run, finished or stopped, left objects built from it
        # that are newer than the source just copied back: give that source a new time.
        if self.planted.exists():
            (self.tree / self.planted.read_text()).touch()
            self.planted.unlink()
        subprocess.run(["cmake", "--preset", self.args.preset], cwd=self.tree, check=True,
                       stdout=subprocess.DEVNULL)
        if self.run_build().returncode != 0:
            sys.exit(f"mutate: the unmutated tree does not build in {self.tree}")
        if self.run_tests().returncode != 0:
            sys.exit(f"mutate: the tests fail on the unmutated tree in {self.tree}")

    def run_build(self):
        # Only what the tests run: relinking the benchmarks for every fault would double the time.
        targets = ["--target", *self.args.build_targets.split()] if self.args.build_targets else []
        return subprocess.run(["cmake", "--build", str(self.build), "-j1", *targets],
                              cwd=self.tree, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                              text=True)

    def run_tests(self):
        command = self.args.tests or f"ctest --test-dir {self.build} -j1 --stop-on-failure"
        try:
            return subprocess.run(["bash", "-c", command], cwd=self.tree,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                  timeout=self.args.timeout, start_new_session=True)
        except subprocess.TimeoutExpired:
            return None

    def judge(self, mutant):
        source = self.tree / mutant.file
        original = source.read_text()
        try:
            self.planted.write_text(mutant.file)
            source.write_text(apply(original, mutant))
            started = time.monotonic()
            if self.run_build().returncode != 0:
                return "invalid", 0.0
            result = self.run_tests()
            outcome = "timeout" if result is None else (
                "killed" if result.returncode != 0 else "survived")
            return outcome, time.monotonic() - started
        finally:
            # The restored source is newer than the fault's objects, so the next build of this
            # worker compiles it again; until then the mark stays, because the next run's copy
            # of the checkout gives the source back its older time.
            source.write_text(original)


def load_state(state_file):
    done = {}
    if state_file.exists():
        for line in state_file.read_text().splitlines():
            if line.strip():
                record = json.loads(line)
                done[record["key"]] = record
    return done


def run(args, sample):
    state_file = Path(args.out) / "state.jsonl"
    done = load_state(state_file)
    todo = [m for m in sample if m.key not in done]
    print(f"mutate: {len(sample)} mutants, {len(sample) - len(todo)} already judged, "
          f"{len(todo)} to go on {args.jobs} workers", flush=True)
    if not todo:
        return
    lock = threading.Lock()
    queue = list(reversed(todo))

    def work(worker):
        worker.prepare()
        while True:
            with lock:
                if not queue:
                    return
                mutant = queue.pop()
            outcome, seconds = worker.judge(mutant)
            record = dict(asdict(mutant), key=mutant.key, outcome=outcome,
                          seconds=round(seconds, 1))
            with lock:
                with state_file.open("a") as f:
                    f.write(json.dumps(record) + "\n")
                done[mutant.key] = record
                print(f"[{len(done)}/{len(sample)}] {outcome:8} {mutant.file}:{mutant.line} "
                      f"{mutant.before!r} -> {mutant.after!r}", flush=True)

    threads = [threading.Thread(target=work, args=(Worker(n, args),)) for n in range(args.jobs)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()


# --- the report --------------------------------------------------------------------------------

def score(counts):
    judged = counts["killed"] + counts["timeout"] + counts["survived"]
    return 100.0 * (counts["killed"] + counts["timeout"]) / judged if judged else 0.0


def report(args, sample):
    done = load_state(Path(args.out) / "state.jsonl")
    records = [done[m.key] for m in sample if m.key in done]
    empty = {"planted": 0, "killed": 0, "timeout": 0, "survived": 0, "invalid": 0}
    by_file, by_layer, total = {}, {}, dict(empty)
    for r in records:
        for table, name in ((by_file, r["file"]), (by_layer, layer_of(r["file"]))):
            counts = table.setdefault(name, dict(empty))
            counts["planted"] += 1
            counts[r["outcome"]] += 1
        total["planted"] += 1
        total[r["outcome"]] += 1
    out = [f"# Planted-fault report", "",
           f"Sample {args.sample}, seed {args.seed}, preset {args.preset}, tests: "
           f"`{args.tests or 'ctest'}`; {len(records)} of {len(sample)} judged.", "",
           f"Score (killed and timed out of those that built): **{score(total):.1f}%** "
           f"({total['killed'] + total['timeout']} killed, {total['survived']} survived, "
           f"{total['invalid']} invalid)", "",
           "| layer | planted | killed | timeout | survived | invalid | score |",
           "|---|---|---|---|---|---|---|"]
    for name, c in sorted(by_layer.items()):
        out.append(f"| {name} | {c['planted']} | {c['killed']} | {c['timeout']} | "
                   f"{c['survived']} | {c['invalid']} | {score(c):.1f}% |")
    out += ["", "## Per file", "", "| file | planted | killed | survived | invalid |",
            "|---|---|---|---|---|"]
    for name, c in sorted(by_file.items()):
        out.append(f"| {name} | {c['planted']} | {c['killed'] + c['timeout']} | "
                   f"{c['survived']} | {c['invalid']} |")
    out += ["", "## Survivors", ""]
    for r in sorted(records, key=lambda r: (r["file"], r["line"])):
        if r["outcome"] == "survived":
            out.append(f"- {r['file']}:{r['line']} ({r['kind']}) `{r['before']}` -> "
                       f"`{r['after']}`")
    path = Path(args.out) / "report.md"
    path.write_text("\n".join(out) + "\n")
    print(f"mutate: report in {path}: score {score(total):.1f}%")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("paths", nargs="*", metavar="PATH_OR_LAYER")
    parser.add_argument("--sample", type=int, default=400)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 1)
    parser.add_argument("--timeout", type=float, default=300)
    parser.add_argument("--preset", default="native")
    parser.add_argument("--tests", help="test command, run in the worker's tree (default: ctest)")
    parser.add_argument("--targets", dest="build_targets", help="build targets, separated by spaces (default: for the "
                        "native preset the unit tests and the batch tools, else all)")
    parser.add_argument("--out", default=str(ROOT / "build" / "mutate"))
    parser.add_argument("--list", action="store_true", help="print the sample and stop")
    parser.add_argument("--report-only", action="store_true")
    args = parser.parse_args()
    if args.build_targets is None and args.preset == "native":
        args.build_targets = "unit_tests lumetra-render lumetra-edit lumetra-analyze"

    pool = []
    for path in chosen_files(args.paths):
        pool.extend(candidates(path, (ROOT / path).read_text()))
    sample = random.Random(args.seed).sample(pool, min(args.sample, len(pool)))
    if args.list:
        for m in sample:
            print(f"{m.file}:{m.line} {m.kind} {m.before!r} -> {m.after!r}")
        return
    Path(args.out).mkdir(parents=True, exist_ok=True)
    if not args.report_only:
        run(args, sample)
    report(args, sample)


if __name__ == "__main__":
    main()
