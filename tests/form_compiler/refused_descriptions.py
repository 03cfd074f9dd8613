#!/usr/bin/env python3
"""Each description here is wrong. The form compiler must refuse it, naming
the fault and the description's line; or, where only the C++ compiler can
see the fault, every error of that compile must name the description's line.

usage: refused_descriptions.py FORM_COMPILER COMPILE_COMMANDS_JSON DESIGN_SOURCE
The C++ is compiled as the build compiles DESIGN_SOURCE, a generated design.
"""
import json
import os
import re
import shlex
import subprocess
import sys
import tempfile
from concurrent.futures import ThreadPoolExecutor
from itertools import repeat

FORM, CXX = "form compiler", "C++ compiler"

# (name, description, who refuses it, the line named or None, what the message says)
CASES = [
    ("no form line", "Label lblA\n", FORM, 1, "starts with 'Form"),
    ("unknown kind", "Form frmA\n  Gizmo gzA\n", FORM, 2, "unknown control kind Gizmo"),
    ("a label holding a control", "Form frmA\n  Label lblA\n    Label lblB\n", FORM, 3, "a Label cannot hold controls"),
    ("a timer inside a frame", "Form frmA\n  Frame fraA\n    Timer tmrA\n", FORM, 3, "belongs to the window"),
    ("a control inside a menu", "Form frmA\n  Menu mnuA\n    Label lblA\n", FORM, 3, "holds only menu entries"),
    ("a name used twice", "Form frmA\n  Label lblA\n  Label lblA\n", FORM, 3, "named twice"),
    ("an element used twice", "Form frmA\n  Label lblA(1)\n  Label lblA(1)\n", FORM, 3, "lblA(1) is named twice"),
    ("one name, two kinds", "Form frmA\n  Label lblA(0)\n  TextBox lblA(1)\n", FORM, 3, "is a Label elsewhere"),
    ("a single and an array", "Form frmA\n  Label lblA\n  Label lblA(1)\n", FORM, 3, "named twice"),
    ("arrays holding one another",
     "Form frmA\n  Frame fraA(0)\n    Frame fraB(0)\n  Frame fraB(1)\n    Frame fraA(1)\n", FORM, None,
     "hold one another"),
    ("a line that is nothing", "Form frmA\n  Label lblA\n    what is this\n", FORM, 3, "not a control, property or call"),
    ("tabs for indent", "Form frmA\n\tLabel lblA\n", FORM, 2, "not tabs"),
    ("arguments for an element", "Form frmA\n  TextBox txtA(0)\n    With = true\n", FORM, 3, "for single controls"),
    ("a property between two indents",
     "Form frmA\n  Frame fraA\n    Label lblA\n      Caption = \"A\"\n   Visible = False\n", FORM, 5,
     "this line has 3 blanks, the lines of fraA have 4"),
    ("a control between two indents", "Form frmA\n  Frame fraA\n    Label lblA\n   Label lblB\n", FORM, 4,
     "mis-indented"),
    ("a property deeper than its neighbours",
     "Form frmA\n  Label lblA(0)\n    Caption = \"A\"\n      Visible = False\n", FORM, 4,
     "the lines of lblA(0) have 4"),
    ("a property after the controls of its container",
     "Form frmA\n  Frame fraA\n    Label lblA\n    Caption = \"A\"\n", FORM, 4,
     "follows the controls fraA holds"),
    ("a window property after the controls", "Form frmA\n  Label lblA\n  Caption = \"A\"\n", FORM, 3,
     "follows the controls frmA holds"),
    ("a text without its closing quote", "Form frmA\n  Label lblA\n    Caption = \"A # B\n", FORM, 3,
     "without its closing quote"),
    ("a name for a single control", "Form frmA\n  Label lblA as kFirst\n", FORM, 2, "lblA is a single control"),
    ("two elements of one name", "Form frmA\n  Label lblA(0) as kOne\n  Label lblA(1) as kOne\n", FORM, 3,
     "two elements named kOne"),
    ("an item of an array element",
     "Form frmA\n  ToolBar tbrA(0)\n    .AddButton(\"A\") as kA\n", FORM, 3, "an item of a single control"),
    ("an item of the window", "Form frmA\n  .Show() as kShown\n", FORM, 2, "an item of a single control"),
    ("two items of one name",
     "Form frmA\n  StatusBar sbrA\n    .AddPanel(\"\") as kA\n    .AddPanel(\"\") as kA\n", FORM, 4,
     "two items named kA"),
    ("a group named twice", "Form frmA\n  Label lblA for PageA, PageB, PageA\n", FORM, 2, "a group named twice"),
    ("a tag without its group", "Form frmA\n  Label lblA for\n", FORM, 2, "not a control, property or call"),
    ("a call the control lacks", "Form frmA\n  Label lblA\n    Caption = \"A\"\n    .SetNoSuchThing(1)\n", CXX, 4,
     "SetNoSuchThing"),
    ("a window property of the wrong type", "Form frmA\n  Caption = \"A\"\n  ClientSize = \"wide\", 10\n", CXX, 3,
     "SetClientSize"),
    ("a value a warning refuses", "Form frmA\n  Timer tmrA\n    Enabled = False\n    Interval = 4294967297\n",
     CXX, 4, "-Werror=overflow"),
    ("constructor arguments from their own line",
     "Form frmA\n  TextBox txtA\n    Place = 0, 0, 10, 10\n    With = noSuchFlag\n", CXX, 4, "noSuchFlag"),
    ("a member the window's class cannot hold", "Form frmA\n  Label lblA\n  Label frmADesign\n", CXX, 3,
     "frmADesign"),
]

ERROR = re.compile(r"^(?P<file>[^:\n]+):(?P<line>\d+):(?:\d+:)? (?:fatal )?error:", re.M)


def compile_command(database, design_source):
    """The build's own compile of a generated design, as argument words
    without its source and object, to check C++ made from a description."""
    with open(database) as f:
        entry = next(e for e in json.load(f) if e["file"] == design_source)
    words = entry.get("arguments") or shlex.split(entry["command"])
    kept, skip = [], False
    for word in words:
        if skip or word in ("-o", "-c"):
            skip = not skip
            continue
        kept.append(word)
    return kept + ["-fsyntax-only"], entry["directory"]


def refusal(case, tmp, compiler, cxx):
    """What is wrong with how the case was refused, or None."""
    name, text, who, line, expected = case
    form = os.path.join(tmp, "case.form")
    with open(form, "w") as f:
        f.write(text)
    header, source = os.path.join(tmp, "case_design.h"), os.path.join(tmp, "case_design.cpp")
    run = subprocess.run([sys.executable, compiler, form, header, source, "case_design.h"],
                         capture_output=True, text=True)
    if who == FORM:
        place = f"{form}:{line}: " if line else f"{form}: "
        if run.returncode == 0 or f"error: {place}" not in run.stderr or expected not in run.stderr:
            return f"exit {run.returncode}, said {run.stderr.strip()!r}"
        return None
    if run.returncode != 0:
        return f"the form compiler refused it: {run.stderr.strip()!r}"
    words, directory = cxx
    built = subprocess.run(words + [source], cwd=directory, capture_output=True, text=True)
    places = {(m["file"], int(m["line"])) for m in ERROR.finditer(built.stderr)}
    if built.returncode == 0 or places != {(form, line)} or expected not in built.stderr:
        return f"exit {built.returncode}, errors at {sorted(places)}: {built.stderr[-2000:]}"
    return None


def main():
    compiler = sys.argv[1]
    cxx = compile_command(sys.argv[2], sys.argv[3])
    with tempfile.TemporaryDirectory() as tmp:
        folders = [tempfile.mkdtemp(dir=tmp) for _ in CASES]  # one a case, so that they run at once
        with ThreadPoolExecutor(max_workers=4) as pool:
            faults = list(pool.map(refusal, CASES, folders, repeat(compiler), repeat(cxx)))
    failures = 0
    for case, fault in zip(CASES, faults):
        if fault:
            failures += 1
            print(f"FAIL {case[0]} ({case[2]}): {fault}")
    print(f"{len(CASES) - failures} passed, {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
