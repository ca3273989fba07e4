#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Runs vorlith-calc on each case of expected.txt and compares what it writes
and its exit status with the case's hand-written lines.

usage: cli_test.py [RUNNER...] PROGRAM   (RUNNER: e.g. wine for an .exe)"""
import os
import re
import resource
import shlex
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.dirname(os.path.dirname(HERE))
LONG_LINE = 100_000_000
GOOD = b"100,40,30,60,190,30,160\n"
# Wine turns the arguments into UTF-16 by the locale's character set.
ENVIRONMENT = dict(os.environ, LC_ALL="C.UTF-8")


def version():
    with open(os.path.join(SOURCE, "CMakeLists.txt"), encoding="utf-8") as f:
        return re.search(r"project\(vorlith VERSION ([0-9.]+)", f.read()).group(1)


def cases(places):
    """The cases of expected.txt, with {samples}, {out} ... filled in."""
    found = []
    with open(os.path.join(HERE, "expected.txt"), encoding="utf-8") as f:
        for raw in f.read().format(**places).splitlines():
            kind, _, rest = raw.partition(" ")
            if raw.startswith("#") or not raw:
                continue
            if kind == "===":
                case = {"name": rest, "stdin": b"", "out": [], "err": [], "file": [], "no file": False}
                found.append(case)
            elif kind == "$":
                case["args"] = shlex.split(rest)
            elif raw == "<long":
                case["long"] = True
            elif kind in ("<", "!", ">"):
                key = {"<": "stdin", "!": "err", ">": "file"}[kind]
                case[key] += (rest + "\n").encode() if kind == "<" else [rest]
            elif kind == "env":
                case["env"] = dict(pair.split("=", 1) for pair in rest.split())
            elif kind == "exit":
                case["exit"] = int(rest)
            elif raw == "no file":
                case["no file"] = True
            else:
                case["out"].append(raw)
    return found


def matches(lines, expected):
    """Whether lines are the expected ones, a "..." standing for any lines."""
    if "..." not in expected:
        return lines == expected
    at = expected.index("...")
    head, tail = expected[:at], expected[at + 1:]
    return len(lines) >= len(head) + len(tail) and lines[:len(head)] == head and \
        lines[len(lines) - len(tail):] == tail


def long_input(folder):
    """A sample, a line of 100 MB, a sample: in a file, so that this script
    never holds the long line (a forked child would count it)."""
    name = os.path.join(folder, "long.csv")
    with open(name, "wb") as f:
        f.write(GOOD)
        for _ in range(LONG_LINE // 1_000_000):
            f.write(b"9" * 1_000_000)
        f.write(b"\n" + GOOD)
    return open(name, "rb")


def check(program, case, out_file):
    environment = dict(ENVIRONMENT, **case.get("env", {}))
    if case.get("long"):
        with long_input(os.path.dirname(os.path.dirname(out_file))) as stdin:
            run = subprocess.run(program + case["args"], stdin=stdin, capture_output=True, timeout=120,
                                 env=environment)
    else:
        run = subprocess.run(program + case["args"], input=case["stdin"], capture_output=True, timeout=120,
                             env=environment)
    failures = []
    seen = {"exit": run.returncode, "out": run.stdout.decode("utf-8", "replace").splitlines(),
            "err": run.stderr.decode("utf-8", "replace").splitlines()}
    if os.path.exists(out_file):
        with open(out_file, encoding="utf-8") as f:
            seen["file"] = f.read().splitlines()
        os.remove(out_file)
    else:
        seen["file"] = []
    for key in ("exit", "out", "err", "file"):
        if not (matches(seen[key], case[key]) if key == "out" else seen[key] == case[key]):
            failures.append(f"{key}: expected {case[key]!r}\n     got {seen[key]!r}")
    # A program that kept the long line would have held 100 MB at least.
    peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss * 1024
    if case.get("long") and peak > LONG_LINE // 2:
        failures.append(f"took {peak} bytes of memory for a line of {LONG_LINE} bytes")
    if case["no file"] and os.listdir(os.path.dirname(out_file)):
        failures.append(f"files left: {os.listdir(os.path.dirname(out_file))}")
    return failures


def check_exercises(program):
    """--exercises: the same seed gives the same bytes; every problem is a
    plausible soil (ds 2.60-2.80, 0 < Sr <= 100 %, e > 0) with three known
    symbols, several kinds of known set among them."""
    def run(seed):
        return subprocess.run(program + ["--exercises", "40", "--seed", seed], capture_output=True,
                              timeout=120, env=ENVIRONMENT, check=True).stdout
    first, again = run("7"), run("7")
    failures = [] if first == again else ["--exercises --seed 7 wrote different bytes twice"]
    if run("8") == first:
        failures.append("--seed 8 wrote what --seed 7 wrote")
    lines = first.decode("utf-8-sig").splitlines()
    header = lines[0].split(",")
    rows = [dict(zip(header, line.split(","))) for line in lines[1:]]
    if len(rows) != 40 or len({row["已知"] for row in rows}) < 3:
        failures.append(f"{len(rows)} problems, known sets {sorted({r['已知'] for r in rows})}")
    for row in rows:
        known = row["已知"].split(" ")
        if len(set(known)) != 3 or not set(known) <= set(header[2:]) or \
                not (2.60 <= float(row["ds"]) <= 2.80 and 0 < float(row["Sr"]) <= 100 and float(row["e"]) > 0):
            failures.append(f"problem {row['题号']} is not a plausible soil: {row}")
    return failures


def main():
    program = sys.argv[1:]
    if not program:
        sys.exit(__doc__)
    with tempfile.TemporaryDirectory() as folder:
        out_file = os.path.join(folder, "out", "results.csv")
        os.mkdir(os.path.dirname(out_file))
        places = {"samples": os.path.join(HERE, "samples.csv"), "missing": os.path.join(folder, "missing.csv"),
                  "out": out_file, "version": version(), "bom": "\ufeff"}
        failed = 0
        for case in cases(places):
            if "env" in case and len(program) > 1:  # a runner: Wine
                print("not under Wine: Windows takes the language from its own settings, not LANG: " + case["name"])
                continue
            failures = check(program, case, out_file)
            failed += bool(failures)
            print(("FAIL " if failures else "ok   ") + case["name"])
            for failure in failures:
                print("     " + failure)
        failures = check_exercises(program)
        failed += bool(failures)
        print(("FAIL " if failures else "ok   ") + "--exercises: plausible and the same for one seed")
        for failure in failures:
            print("     " + failure)
    print(f"cli_test: {failed} of the cases failed" if failed else "cli_test: every case passed")
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
