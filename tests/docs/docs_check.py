#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Holds the README, README.zh-CN.md, CONTRIBUTING.md and docs/*.md to the
tree they describe. Fails, naming file and line, when

  - a link or image points at a file that is not there, or at a heading
    that the file does not have;
  - a path of the tree in code (`scripts/run`, `tests/support/*`) is missing;
  - a preset named after `cmake --preset`, `cmake --build --preset` or
    `ctest --preset` is not one of CMakePresets.json's;
  - a target named after `--target` is neither one of the configured build's
    nor defined by name in a CMakeLists.txt (the other back ends' targets);
  - README.md and README.zh-CN.md do not link each other, or either names
    no command at all.

usage: docs_check.py SOURCE_DIR TARGETS_FILE
"""
import glob
import json
import os
import re
import sys

# The folders of the tree whose paths the documents name in code.
TREE = sorted(entry.name for entry in os.scandir(os.path.join(os.path.dirname(__file__), "..", ".."))
              if entry.is_dir() and entry.name not in ("build", "dist", ".git"))
PATH = re.compile(r"(?<![\w./-])(?:\./)?((?:%s)/[\w./*+-]*)" % "|".join(re.escape(t) for t in TREE))
LINK = re.compile(r"!?\[[^\]]*\]\(\s*<?([^)\s>]+)>?(?:\s+\"[^\"]*\")?\s*\)|(?:src|href)=\"([^\"]+)\"")
SPAN = re.compile(r"(`+)(.+?)\1")
PRESET = re.compile(r"--preset[= ]\s*([\w.-]+)")
TARGET = re.compile(r"--target[= ]\s*((?:[\w.-]+\s*)+)")
DEFINED = re.compile(r"add_(?:executable|library|custom_target)\(\s*([\w.-]+)")


def slug(heading):
    """The anchor GitHub gives a heading."""
    text = re.sub(r"[`*_]|\[([^\]]*)\]\([^)]*\)", r"\1", heading.strip().lower())
    return re.sub(r"[^\w\- ]", "", text).replace(" ", "-")


def anchors(path):
    found, seen, fenced = set(), {}, False
    for line in open(path, encoding="utf-8"):
        if line.startswith("```"):
            fenced = not fenced
        elif not fenced and line.startswith("#"):
            base = slug(line.lstrip("#"))
            n = seen.get(base, 0)
            seen[base] = n + 1
            found.add(base if n == 0 else f"{base}-{n}")
    return found


def code_and_prose(path):
    """Yields (line number, code text, prose text) for each line."""
    fenced = False
    for number, line in enumerate(open(path, encoding="utf-8"), 1):
        if line.lstrip().startswith("```"):
            fenced = not fenced
            continue
        if fenced:
            yield number, line, ""
        else:
            yield number, " ".join(m.group(2) for m in SPAN.finditer(line)), SPAN.sub("", line)


def main(root, targets_file):
    presets = json.load(open(os.path.join(root, "CMakePresets.json"), encoding="utf-8"))
    kinds = {kind: {p["name"] for p in presets.get(kind, []) if not p.get("hidden")}
             for kind in ("configurePresets", "buildPresets", "testPresets")}
    targets = set(open(targets_file, encoding="utf-8").read().split())
    for folder, subfolders, files in os.walk(root):
        subfolders[:] = [f for f in subfolders if f not in ("build", "dist", ".git")]
        if "CMakeLists.txt" in files:
            cmake_file = os.path.join(folder, "CMakeLists.txt")
            targets |= set(DEFINED.findall(open(cmake_file, encoding="utf-8").read()))

    documents = ["README.md", "README.zh-CN.md", "CONTRIBUTING.md"]
    documents += sorted(os.path.relpath(p, root) for p in glob.glob(os.path.join(root, "docs", "*.md")))
    errors, commands, links = [], {}, {}

    for document in documents:
        path = os.path.join(root, document)
        if not os.path.isfile(path):
            errors.append(f"{document}: missing")
            continue
        here = os.path.dirname(path)
        commands[document], links[document] = 0, set()
        for number, code, prose in code_and_prose(path):
            where = f"{document}:{number}"
            for match in LINK.finditer(prose):
                target = match.group(1) or match.group(2)
                if re.match(r"[a-z]+:", target):
                    continue
                file, _, anchor = target.partition("#")
                resolved = os.path.normpath(os.path.join(here, file)) if file else path
                links[document].add(os.path.relpath(resolved, root))
                if not os.path.exists(resolved):
                    errors.append(f"{where}: link to a missing file: {target}")
                elif anchor and resolved.endswith(".md") and anchor not in anchors(resolved):
                    errors.append(f"{where}: link to a missing heading: {target}")
            for match in PATH.finditer(code):
                commands[document] += 1
                name = match.group(1).rstrip(".,:;")
                if not glob.glob(os.path.join(root, name)):
                    errors.append(f"{where}: names a path that is not in the tree: {name}")
            for statement in re.split(r"&&|;|\|", code):
                words = statement.split()
                for name in PRESET.findall(statement):
                    commands[document] += 1
                    kind = ("testPresets" if "ctest" in words else
                            "buildPresets" if "--build" in words else "configurePresets")
                    if name not in kinds[kind]:
                        errors.append(f"{where}: no {kind[:-7]} preset named {name}")
                for group in TARGET.findall(statement):
                    for name in group.split():
                        if name.startswith("-"):
                            break
                        commands[document] += 1
                        if name not in targets:
                            errors.append(f"{where}: no target named {name}")

    for a, b in (("README.md", "README.zh-CN.md"), ("README.zh-CN.md", "README.md")):
        if a in links and b not in links[a]:
            errors.append(f"{a}: does not link {b}")
        if commands.get(a) == 0:
            errors.append(f"{a}: names no command, preset or path of the tree")

    for document in commands:
        print(f"{document}: {commands[document]} paths, presets and targets; "
              f"{len(links[document])} files linked")
    for error in errors:
        print(f"FAIL {error}")
    return 1 if errors else 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2]))
