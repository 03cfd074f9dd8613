#!/usr/bin/env python3
"""Each description here is wrong; the compiler must refuse it, naming the fault."""
import os
import subprocess
import sys
import tempfile

CASES = [
    ("no form line", "Label lblA\n", "starts with 'Form"),
    ("unknown kind", "Form frmA\n  Gizmo gzA\n", "unknown control kind Gizmo"),
    ("a label holding a control", "Form frmA\n  Label lblA\n    Label lblB\n", "a Label cannot hold controls"),
    ("a timer inside a frame", "Form frmA\n  Frame fraA\n    Timer tmrA\n", "belongs to the window"),
    ("a control inside a menu", "Form frmA\n  Menu mnuA\n    Label lblA\n", "holds only menu entries"),
    ("a name used twice", "Form frmA\n  Label lblA\n  Label lblA\n", "named twice"),
    ("an element used twice", "Form frmA\n  Label lblA(1)\n  Label lblA(1)\n", "lblA(1) is named twice"),
    ("one name, two kinds", "Form frmA\n  Label lblA(0)\n  TextBox lblA(1)\n", "is a Label elsewhere"),
    ("a single and an array", "Form frmA\n  Label lblA\n  Label lblA(1)\n", "named twice"),
    ("arrays holding one another",
     "Form frmA\n  Frame fraA(0)\n    Frame fraB(0)\n  Frame fraB(1)\n    Frame fraA(1)\n", "hold one another"),
    ("a line that is nothing", "Form frmA\n  Label lblA\n    what is this\n", "not a control, property or call"),
    ("tabs for indent", "Form frmA\n\tLabel lblA\n", "not tabs"),
    ("arguments for an element", "Form frmA\n  TextBox txtA(0)\n    With = true\n", "for single controls"),
]


def main():
    compiler = sys.argv[1]
    failures = 0
    with tempfile.TemporaryDirectory() as tmp:
        for name, text, expected in CASES:
            form = os.path.join(tmp, "case.form")
            with open(form, "w") as f:
                f.write(text)
            run = subprocess.run([sys.executable, compiler, form, os.path.join(tmp, "x.h"),
                                  os.path.join(tmp, "x.cpp"), "x.h"], capture_output=True, text=True)
            if run.returncode == 0 or expected not in run.stderr:
                failures += 1
                print(f"FAIL {name}: exit {run.returncode}, said {run.stderr.strip()!r}")
    print(f"{len(CASES) - failures} passed, {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
