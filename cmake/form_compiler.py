#!/usr/bin/env python3
"""Turns a window description (*.form) into the C++ class of its designed controls.

A description is one window, written as an indented tree:

    # comment
    Form frmMain                      the window; its class is frmMainDesign
      Caption = "Veltrane"            a designed property: SetCaption(...)
      Frame fraMain(0)                a control; (0) makes it element 0 of an array
        Place = 0, 600, 9000, 6000    left, top, width, height in twips: Move(...)
        Label lblBanner               a child: created inside its container
          Caption = "Email"
          .SetAlignment(vb::vbCenter) any other member call, as written
        ToolBar tbrMain               calls chain on what a call returns:
          .AddButton("Quit", "Quit").SetToolTipText("Quit now")
      Timer tmrStatusBar              a window-level component (no container)
      Menu mnuTrayPopMenu             menus nest like controls
        Menu mnuTrayShow

Values are C++ as written, except "text" (a QString literal) and True/False.
`ToolTip` sets the tool tip, `Place` the geometry, `With` gives extra
constructor arguments. Members are declared and created so that every
container exists before what it holds and is destroyed after it; a name the
description gets wrong fails here or in the compiler, never at run time.
"""
import re
import sys
from dataclasses import dataclass, field

# kind: (C++ class, header, how it is created)
#   widget: inside a widget container; plain: window-level, no arguments;
#   menu: a top-level menu, or an entry inside its parent menu.
KINDS = {
    "Label": ("vb::Label", "label.h", "widget"),
    "TextBox": ("vb::TextBox", "text_box.h", "widget"),
    "CheckBox": ("vb::CheckBox", "check_box.h", "widget"),
    "OptionButton": ("vb::OptionButton", "option_button.h", "widget"),
    "CommandButton": ("vb::CommandButton", "command_button.h", "widget"),
    "Frame": ("vb::Frame", "frame.h", "widget"),
    "ComboBox": ("vb::ComboBox", "combo_box.h", "widget"),
    "ListBox": ("vb::ListBox", "list_box.h", "widget"),
    "PictureBox": ("vb::PictureBox", "picture_box.h", "widget"),
    "ProgressBar": ("vb::ProgressBar", "progress_bar.h", "widget"),
    "ListView": ("vb::ListView", "list_view.h", "widget"),
    "TabStrip": ("vb::TabStrip", "tab_strip.h", "widget"),
    "ToolBar": ("vb::ToolBar", "tool_bar.h", "widget"),
    "StatusBar": ("vb::StatusBar", "status_bar.h", "widget"),
    "TreeView": ("vb::TreeView", "tree_view.h", "widget"),
    "UpDown": ("vb::UpDown", "up_down.h", "widget"),
    "RichTextBox": ("vb::RichTextBox", "rich_text_box.h", "widget"),
    "Timer": ("vb::Timer", "timer.h", "plain"),
    "ImageList": ("vb::ImageList", "image_list.h", "plain"),
    "CommonDialog": ("vb::CommonDialog", "common_dialog.h", "plain"),
    "Menu": ("vb::Menu", "menu.h", "menu"),
}
CONTAINERS = {"Frame", "PictureBox"}

NAME = r"[A-Za-z][A-Za-z0-9_]*"
CONTROL_LINE = re.compile(rf"^(?P<kind>[A-Z][A-Za-z]*)\s+(?P<name>{NAME})(\((?P<index>-?\d+)\))?$")
PROPERTY_LINE = re.compile(rf"^(?P<prop>[A-Z][A-Za-z0-9]*)\s*=\s*(?P<value>.+)$")
CALL_LINE = re.compile(rf"^\.(?P<method>{NAME})\((?P<args>.*)\)$")
STRING = re.compile(r'"(?:[^"\\]|\\.)*"')


class FormError(Exception):
    pass


@dataclass
class Control:
    kind: str
    name: str
    index: int | None
    line: int
    container: "Control | None"
    statements: list = field(default_factory=list)  # C++ statements on the control
    with_args: str | None = None  # extra constructor arguments

    def ref(self):
        return f"{self.name}({self.index})" if self.index is not None else self.name


def cpp_value(text):
    """A description value as C++: strings become QString literals."""
    out, pos = [], 0
    for m in STRING.finditer(text):
        out.append(re.sub(r"\bTrue\b", "true", re.sub(r"\bFalse\b", "false", text[pos:m.start()])))
        out.append(f"QStringLiteral({m.group(0)})")
        pos = m.end()
    out.append(re.sub(r"\bTrue\b", "true", re.sub(r"\bFalse\b", "false", text[pos:])))
    return "".join(out).strip()


def statement(prop, value):
    v = cpp_value(value)
    if prop == "Place":
        return f"Move({v})"
    if prop == "ToolTip":
        return f"SetToolTipText({v})"
    return f"Set{prop}({v})"


def parse(path, text):
    form = None
    stack = []  # (indent, Control)
    controls = []
    for number, raw in enumerate(text.splitlines(), 1):
        line = raw.rstrip()
        stripped = line.strip()
        if not stripped or stripped.startswith("#"):
            continue
        if "\t" in line[: len(line) - len(line.lstrip())]:
            raise FormError(f"{path}:{number}: indent with blanks, not tabs")
        indent = len(line) - len(line.lstrip())
        where = f"{path}:{number}"
        if form is None:
            m = re.fullmatch(rf"Form\s+({NAME})", stripped)
            if not m or indent:
                raise FormError(f"{where}: a description starts with 'Form <name>'")
            form = Control("Form", m.group(1), None, number, None)
            stack = [(0, form)]
            continue
        while stack and indent <= stack[-1][0]:
            stack.pop()
        if not stack:
            raise FormError(f"{where}: only one Form per description")
        owner = stack[-1][1]
        if m := PROPERTY_LINE.match(stripped):
            if m.group("prop") == "With":
                raise_if(owner.kind == "Form" or owner.index is not None, where,
                         "With (constructor arguments) is for single controls")
                owner.with_args = cpp_value(m.group("value"))
            else:
                owner.statements.append(statement(m.group("prop"), m.group("value")))
            continue
        if m := CALL_LINE.match(stripped):
            owner.statements.append(f"{m.group('method')}({cpp_value(m.group('args'))})")
            continue
        m = CONTROL_LINE.match(stripped)
        if not m:
            raise FormError(f"{where}: not a control, property or call: {stripped}")
        kind = m.group("kind")
        if kind not in KINDS:
            raise FormError(f"{where}: unknown control kind {kind}")
        how = KINDS[kind][2]
        if how != "menu" and owner.kind == "Menu":
            raise FormError(f"{where}: a menu holds only menu entries")
        if how == "widget" and owner.kind not in CONTAINERS | {"Form"}:
            raise FormError(f"{where}: a {owner.kind} cannot hold controls")
        if how == "plain" and owner.kind != "Form":
            raise FormError(f"{where}: a {kind} belongs to the window, not to {owner.name}")
        if how == "menu" and owner.kind not in {"Form", "Menu"}:
            raise FormError(f"{where}: a menu belongs to the window or to a menu")
        index = int(m.group("index")) if m.group("index") is not None else None
        control = Control(kind, m.group("name"), index, number, owner)
        controls.append(control)
        stack.append((indent, control))
    if form is None:
        raise FormError(f"{path}: empty description")
    return form, controls


def raise_if(condition, where, message):
    if condition:
        raise FormError(f"{where}: {message}")


@dataclass
class Member:
    name: str
    kind: str
    elements: list  # Controls; one without index for a single control
    first: int  # position of first appearance

    @property
    def is_array(self):
        return self.elements[0].index is not None


def members_in_order(path, controls):
    """Members in an order where every container is declared (and so created)
    before what it holds; among the free ones, the description's order."""
    members = {}
    for pos, c in enumerate(controls):
        m = members.get(c.name)
        if m is None:
            members[c.name] = Member(c.name, c.kind, [c], pos)
            continue
        where = f"{path}:{c.line}"
        if m.kind != c.kind:
            raise FormError(f"{where}: {c.name} is a {m.kind} elsewhere, not a {c.kind}")
        if c.index is None or not m.is_array:
            raise FormError(f"{where}: {c.name} is named twice")
        if any(e.index == c.index for e in m.elements):
            raise FormError(f"{where}: {c.name}({c.index}) is named twice")
        m.elements.append(c)
    needs = {}
    for m in members.values():
        needs[m.name] = {e.container.name for e in m.elements if e.container.kind != "Form"} - {m.name}
    ordered, done = [], set()
    pending = sorted(members.values(), key=lambda m: m.first)
    while pending:
        ready = next((m for m in pending if needs[m.name] <= done), None)
        if ready is None:
            names = ", ".join(m.name for m in pending)
            raise FormError(f"{path}: the containers of {names} hold one another")
        ordered.append(ready)
        done.add(ready.name)
        pending.remove(ready)
    # Within one array an element may hold a later one: create holders first.
    for m in ordered:
        if m.is_array:
            positions = {id(e): i for i, e in enumerate(m.elements)}
            m.elements.sort(key=lambda e: (depth_in(e, m.name), positions[id(e)]))
    return ordered


def depth_in(control, name):
    d, c = 0, control.container
    while c is not None:
        if c.name == name:
            d += 1
        c = c.container
    return d


def parent_expr(control):
    c = control.container
    how = KINDS[control.kind][2]
    if how == "menu":
        return None if c.kind == "Form" else c.ref()
    if c.kind == "Form":
        return "form"
    return f"&{c.ref()}"


def generate(path, form, controls, header_name):
    members = members_in_order(path, controls)
    cls = f"{form.name}Design"
    headers = sorted({KINDS[m.kind][1] for m in members} | {"form.h"})
    if any(m.is_array for m in members):
        headers.append("control_array.h")
    h = [f"// Generated by the build from {path.split('/')[-1]}; edit that file instead.", "#pragma once",
         "#include <QString>", ""]
    h += [f'#include "platform/ui/{x}"' for x in sorted(set(headers))]
    h += ["", f"// The designed controls of {form.name}, created in container order.", f"class {cls} {{",
          " public:", f"  explicit {cls}(vb::Form* form);", f"  {cls}(const {cls}&) = delete;",
          f"  {cls}& operator=(const {cls}&) = delete;", ""]
    for m in members:
        cpp = KINDS[m.kind][0]
        h.append(f"  vb::ControlArray<{cpp}> {m.name};" if m.is_array else f"  {cpp} {m.name};")
    h.append("};")

    inits = []
    for m in members:
        how = KINDS[m.kind][2]
        if m.is_array:
            parts = []
            for e in m.elements:
                p = parent_expr(e)
                if how == "plain":
                    raise FormError(f"{path}:{e.line}: a {m.kind} cannot be an array element")
                if how == "menu":
                    if p is None:
                        raise FormError(f"{path}:{e.line}: a top-level menu cannot be an array element")
                    parts.append(f"vb::Element<vb::Menu&>{{{e.index}, {p}}}")
                else:
                    parts.append(f"vb::Element<QWidget*>{{{e.index}, {p}}}")
            inits.append(f"{m.name}({', '.join(parts)})")
            continue
        e = m.elements[0]
        args = []
        if how != "plain":
            p = parent_expr(e)
            if p is not None:
                args.append(p)
        elif m.kind == "Timer":
            args.append("form")  # it ticks only while the form is loaded
        if e.with_args:
            args.append(e.with_args)
        inits.append(f"{m.name}({', '.join(args)})")

    c = [f"// Generated by the build from {path.split('/')[-1]}; edit that file instead.",
         f'#include "{header_name}"', "", f"{cls}::{cls}(vb::Form* form)"]
    if inits:
        c.append("    : " + ",\n      ".join(inits) + " {")
    else:
        c.append("{")
    for s in form.statements:
        c.append(f"  form->{s};")
    if not form.statements:
        c.append("  (void)form;")
    # Properties in description order: a container's before its children's.
    for control in controls:
        for s in control.statements:
            c.append(f"  {control.ref()}.{s};")
    c.append("}")
    return "\n".join(h) + "\n", "\n".join(c) + "\n"


def main(argv):
    if len(argv) != 5:
        print("usage: form_compiler.py FORM OUT_HEADER OUT_SOURCE HEADER_INCLUDE_NAME", file=sys.stderr)
        return 2
    source, out_h, out_cpp, include_name = argv[1:]
    try:
        with open(source, encoding="utf-8") as f:
            form, controls = parse(source, f.read())
        header, body = generate(source, form, controls, include_name)
    except FormError as e:
        print(f"error: {e}", file=sys.stderr)
        return 1
    for name, text in ((out_h, header), (out_cpp, body)):
        with open(name, "w", encoding="utf-8") as f:
            f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
