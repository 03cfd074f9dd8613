#!/usr/bin/env python3
"""The C++ the build made from the sample description: each line made from a
description line is marked (#line) with that line, the lines the form
compiler adds name the generated file at their true line, and no comment of
the description reaches the C++.

usage: generated_lines.py SAMPLE_FORM DESIGN_HEADER DESIGN_SOURCE
"""
import os
import re
import sys

MARK = re.compile(r'^#line (?P<line>\d+)(?: "(?P<file>(?:[^"\\]|\\.)*)")?$')
TEXT = re.compile(r'"(?:[^"\\]|\\.)*"')
DIRECTIVE = re.compile(r"^#(?:line|include|pragma) ")

# (name, generated file, one whole generated line, the start of the description line it must name)
ROWS = [
    ("the window's property after a comment", "cpp", 'form->SetCaption(QStringLiteral("Sample & \\"quoted\\""));',
     'Caption = "Sample'),
    ("a member declared after a comment line", "h", "vb::ControlArray<vb::Frame> fraBar;", "Frame fraBar(0)"),
    ("an element created in its container", "cpp", "vb::Element<QWidget*>{1, &fraBar(1)}),", "CommandButton cmdGo(1)"),
    ("a text holding '#'", "cpp", 'lblTitle.SetCaption(QStringLiteral("Title #1"));', 'Caption = "Title #1"'),
    ("a call with a comment", "cpp", "lblTitle.SetAlignment(vb::vbCenter);", ".SetAlignment"),
    ("a property counted on from a marked one", "cpp", 'cmdGo(0).SetCaption(QStringLiteral("Go"));', 'Caption = "Go"'),
    ("constructor arguments", "cpp", "true),", "With = true"),
    ("a number with a comment", "cpp", "tmrTick.SetInterval(1000);", "Interval = 1000"),
    ("a text with a comment right after it", "cpp", 'mnuPopOpen.SetCaption(QStringLiteral("&Open|#Open"));',
     'Caption = "&Open|#Open"'),
    ("a chained call", "cpp",
     'tbrSample.AddButton(QStringLiteral("Quit"), QStringLiteral("Quit")).SetToolTipText(QStringLiteral("Quit (now)"));',
     '.AddButton("Quit"'),
    ("a member's declaration", "h", "vb::Timer tmrTick;", "Timer tmrTick"),
    ("a group's reference", "h", "vb::TextBox& txtNotes;", "TextBox txtNotes"),
    ("a group's binding", "cpp", "tmrTick(design.tmrTick) {}", "Timer tmrTick"),
    ("an element's name", "h", "inline constexpr int16_t kStop = 1;", "CommandButton cmdGo(1)"),
]


def placed_lines(path):
    """(text, file, line) for each line of a generated file that is not a mark,
    where file and line are what the C++ compiler takes them to be; and the
    faults of the marks that name the generated file itself."""
    placed, faults = [], []
    where = (path, 1)
    with open(path, encoding="utf-8") as f:
        for number, text in enumerate(f.read().splitlines(), 1):
            m = MARK.match(text)
            if not m:
                placed.append((text.strip(), *where))
                where = (where[0], where[1] + 1)
                continue
            file = m["file"].replace('\\"', '"').replace("\\\\", "\\") if m["file"] else where[0]
            where = (file, int(m["line"]))
            if same_file(file, path) and where[1] != number + 1:
                faults.append(f"{path}:{number}: {text} marks line {number + 1}")
    return placed, faults


def same_file(a, b):
    return os.path.realpath(a) == os.path.realpath(b)


def line_of(form_lines, start):
    found = [n for n, text in enumerate(form_lines, 1) if text.strip().startswith(start)]
    assert len(found) == 1, f"the sample has {len(found)} lines starting {start!r}"
    return found[0]


def row_faults(form, form_lines, generated):
    for name, kind, text, start in ROWS:
        at = [(file, line) for t, file, line in generated[kind][0] if t == text]
        want = line_of(form_lines, start)
        if len(at) != 1 or not same_file(at[0][0], form) or at[0][1] != want:
            yield f"{name}: {text!r} is at {at}, not at {form}:{want}"


def leaked_comments(generated):
    """A "#" outside the texts of a generated line is only a directive's."""
    for kind, (placed, _) in generated.items():
        for text, file, line in placed:
            if "#" in TEXT.sub('""', text) and not DIRECTIVE.match(text):
                yield f"{kind} line from {file}:{line} holds a comment: {text!r}"


def main():
    form, header, source = sys.argv[1:4]
    with open(form, encoding="utf-8") as f:
        form_lines = f.read().splitlines()
    generated = {"h": placed_lines(header), "cpp": placed_lines(source)}
    faults = [fault for _, marks in generated.values() for fault in marks]
    faults += row_faults(form, form_lines, generated)
    faults += leaked_comments(generated)
    for fault in faults:
        print(f"FAIL {fault}")
    print(f"{len(ROWS)} lines checked, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
