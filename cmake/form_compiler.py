#!/usr/bin/env python3
"""Turns a window description (*.form) into the C++ class of its designed controls.

A description is one window, written as an indented tree:

    # comment                         a "#" outside a quoted text ends the line
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
constructor arguments. A control's lines share one indent, and its
properties and calls come before the controls it holds; any other indent is
refused rather than given to another control. Members are declared and
created so that every container exists before what it holds and is destroyed
after it; a name the description gets wrong fails here or in the compiler,
never at run time, and the compiler's message names the description's line.

A control line may end with two tags, each optional:

      ToolBar tbrButtons(1) as kStopRetrieval for CheckRuns, MainLayout

`as` names an array element: the header gives its index as
frmMainElements::tbrButtons::kStopRetrieval. After a call of a single
control it names the item the call adds, numbered from 1 among that
control's calls of the same method:

      StatusBar StatusBar
        .AddPanel("", 2400) as kResult        frmMainElements::StatusBar::kResult, 1

`for` names the parts of the program that reach the control, each of which
gets a group of references, frmMainDesign::CheckRunsControls, bound by its
constructor from the design and holding nothing else, so that a part reaches no control the description
does not give it. A control whose line names no part is reached by the first
part its container is for (one tag on a page's frame gives the page what it
holds); a window-level control without a tag by none. An array is in the
groups of all its elements.
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
CONTROL_LINE = re.compile(rf"^(?P<kind>[A-Z][A-Za-z]*)\s+(?P<name>{NAME})(\((?P<index>-?\d+)\))?"
                          rf"(\s+as\s+(?P<element>{NAME}))?"
                          rf"(\s+for\s+(?P<groups>{NAME}(\s*,\s*{NAME})*))?$")
PROPERTY_LINE = re.compile(rf"^(?P<prop>[A-Z][A-Za-z0-9]*)\s*=\s*(?P<value>.+)$")
CALL_LINE = re.compile(rf"^\.(?P<method>{NAME})\((?P<args>.*)\)(\s+as\s+(?P<item>{NAME}))?$")
STRING = re.compile(r'"(?:[^"\\]|\\.)*"')
TEXT_OR_COMMENT = re.compile(rf'{STRING.pattern}|"|#')


class FormError(Exception):
    pass


@dataclass
class Control:
    kind: str
    name: str
    index: int | None
    line: int
    container: "Control | None"
    statements: list = field(default_factory=list)  # (line, C++ statement on the control)
    with_args: tuple | None = None  # (line, extra constructor arguments)
    element: str | None = None  # the array element's name (as)
    groups: list = field(default_factory=list)  # the parts that reach it (for), the first one passed down
    calls: dict = field(default_factory=dict)  # method: how many calls of it the control has
    items: list = field(default_factory=list)  # (name, number, line) of the items its calls add (as)

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


def without_comment(line, where):
    """The line up to a "#" that is not inside a quoted text."""
    for m in TEXT_OR_COMMENT.finditer(line):
        if m.group(0) == "#":
            return line[:m.start()]
        raise_if(m.group(0) == '"', where, "a text without its closing quote")
    return line


@dataclass
class Level:
    """A control whose lines may follow: the indent of its own line, the
    indent its lines share (set by the first of them), and whether a
    control it holds has come yet."""
    indent: int
    control: Control
    body: int | None = None
    holds_controls: bool = False


def owner_of(stack, indent, where):
    """The level a line belongs to: the nearest open one indented less. A
    line between two indents, or deeper than its neighbours, is refused
    rather than given to whichever control happens to be open."""
    while stack and indent <= stack[-1].indent:
        stack.pop()
    if not stack:
        raise FormError(f"{where}: only one Form per description")
    level = stack[-1]
    if level.body is None:
        level.body = indent
    elif indent != level.body:
        raise FormError(f"{where}: mis-indented: this line has {indent} blanks, "
                        f"the lines of {level.control.ref()} have {level.body}")
    return level


def parse(path, text):
    form = None
    stack = []  # Levels, the window first
    controls = []
    for number, raw in enumerate(text.splitlines(), 1):
        where = f"{path}:{number}"
        line = without_comment(raw, where).rstrip()
        stripped = line.strip()
        if not stripped:
            continue
        if "\t" in line[: len(line) - len(line.lstrip())]:
            raise FormError(f"{where}: indent with blanks, not tabs")
        indent = len(line) - len(line.lstrip())
        if form is None:
            m = re.fullmatch(rf"Form\s+({NAME})", stripped)
            if not m or indent:
                raise FormError(f"{where}: a description starts with 'Form <name>'")
            form = Control("Form", m.group(1), None, number, None)
            stack = [Level(0, form)]
            continue
        level = owner_of(stack, indent, where)
        owner = level.control
        if is_member_line(stripped, number, owner, where, level.holds_controls):
            continue
        m = CONTROL_LINE.match(stripped)
        if not m:
            raise FormError(f"{where}: not a control, property or call: {stripped}")
        kind = m.group("kind")
        check_placement(kind, owner, where)
        index = int(m.group("index")) if m.group("index") is not None else None
        control = Control(kind, m.group("name"), index, number, owner)
        tag_control(control, m, where)
        controls.append(control)
        level.holds_controls = True
        stack.append(Level(indent, control))
    if form is None:
        raise FormError(f"{path}: empty description")
    return form, controls


def is_member_line(stripped, number, owner, where, after_controls):
    """Adds a property or call line to its control; False for any other line.
    Properties and calls come before the controls their control holds, so a
    line written after them at their indent is one indented too little."""
    prop, call = PROPERTY_LINE.match(stripped), CALL_LINE.match(stripped)
    if not prop and not call:
        return False
    raise_if(after_controls, where, f"mis-indented: {stripped} follows the controls {owner.ref()} "
             "holds; indent it under its own control, or move it above them")
    if call:
        method = call.group("method")
        owner.calls[method] = owner.calls.get(method, 0) + 1
        owner.statements.append((number, f"{method}({cpp_value(call.group('args'))})"))
        name_item(owner, call.group("item"), owner.calls[method], number, where)
    elif prop.group("prop") == "With":
        raise_if(owner.kind == "Form" or owner.index is not None, where,
                 "With (constructor arguments) is for single controls")
        owner.with_args = (number, cpp_value(prop.group("value")))
    else:
        owner.statements.append((number, statement(prop.group("prop"), prop.group("value"))))
    return True


def name_item(owner, name, count, number, where):
    """The name an 'as' gives the item a call adds, numbered by the call's
    place among the control's calls of its method."""
    if name is None:
        return
    raise_if(owner.kind == "Form" or owner.index is not None, where,
             "'as' after a call names an item of a single control")
    raise_if(any(item[0] == name for item in owner.items), where, f"{owner.name} has two items named {name}")
    owner.items.append((name, count, number))


def tag_control(control, m, where):
    """The element name and the groups of a control line; without a group of
    its own a control takes the first group of its container."""
    element = m.group("element")
    raise_if(element is not None and control.index is None, where,
             f"'as' names an array element; {control.name} is a single control")
    control.element = element
    if m.group("groups"):
        control.groups = [g.strip() for g in m.group("groups").split(",")]
        raise_if(len(set(control.groups)) != len(control.groups), where, "a group named twice")
    elif control.container.groups:
        control.groups = control.container.groups[:1]


def check_placement(kind, owner, where):
    """Refuses a control its container cannot hold."""
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

    def groups(self):
        return {g for e in self.elements for g in e.groups}


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
        if c.element is not None and any(e.element == c.element for e in m.elements):
            raise FormError(f"{where}: {c.name} has two elements named {c.element}")
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


class Lines:
    """Generated C++ in which each line that comes from a description line is
    marked with it (#line), so that the compiler's messages about that line
    name the description; the lines made here name their own file again."""

    def __init__(self, form_path, own_path):
        self.form, self.own = quoted(form_path), quoted(own_path)
        self.text = []
        self.next = (self.own, 1)  # where the compiler puts the next line

    def add(self, text, source=None):
        """source: the description's line number, or None for a made line."""
        want = (self.form, source) if source is not None else (self.own, len(self.text) + 1)
        if want != self.next:
            if source is None:
                want = (self.own, len(self.text) + 2)  # the mark takes a line
            same_file = want[0] == self.next[0]
            self.text.append(f"#line {want[1]}" if same_file else f"#line {want[1]} {want[0]}")
        self.text.append(text)
        self.next = (want[0], want[1] + 1)

    def result(self):
        return "\n".join(self.text) + "\n"


def quoted(path):
    return '"' + path.replace("\\", "\\\\").replace('"', '\\"') + '"'


def banner(path):
    return f"// Generated by the build from {path.split('/')[-1]}; edit that file instead."


def header(path, form, members, out):
    cls = f"{form.name}Design"
    headers = {KINDS[m.kind][1] for m in members} | {"form.h"}
    if any(m.is_array for m in members):
        headers.add("control_array.h")
    h = Lines(path, out)
    for text in [banner(path), "#pragma once", "#include <QString>", "#include <cstdint>", ""]:
        h.add(text)
    for x in sorted(headers):
        h.add(f'#include "platform/ui/{x}"')
    for text in ["", f"// The designed controls of {form.name}, created in container order.", f"class {cls} {{",
                 " public:", f"  explicit {cls}(vb::Form* form);", f"  {cls}(const {cls}&) = delete;",
                 f"  {cls}& operator=(const {cls}&) = delete;", ""]:
        h.add(text)
    for m in members:
        h.add(f"  {member_type(m)} {m.name};", m.elements[0].line)
    for g in groups_in_order(members):
        h.add("")
        h.add(f"  // The controls {g} reaches, bound to a design by their designed names.")
        h.add(f"  struct {g}Controls {{")
        h.add(f"    explicit {g}Controls({cls}& design);")
        for m in members:
            if g in m.groups():
                h.add(f"    {member_type(m)}& {m.name};", m.elements[0].line)
        h.add("  };")
    h.add("};")
    element_names(form, members, h)
    return h.result()


def member_type(m):
    cpp = KINDS[m.kind][0]
    return f"vb::ControlArray<{cpp}>" if m.is_array else cpp


def groups_in_order(members):
    """The groups the description names, in the order of their first control."""
    order = []
    for m in members:
        for e in m.elements:
            order += [g for g in e.groups if g not in order]
    return order


def element_names(form, members, h):
    """The named elements' indexes, <form>Elements::<array>::<name>, and the
    named items' numbers, <form>Elements::<control>::<name>."""
    named = [m for m in members if any(e.element or e.items for e in m.elements)]
    if not named:
        return
    h.add("")
    h.add(f"// The named elements of {form.name}'s arrays.")
    h.add(f"namespace {form.name}Elements {{")
    for m in named:
        h.add(f"namespace {m.name} {{")
        for e in sorted((e for e in m.elements if e.element), key=lambda e: e.index):
            h.add(f"inline constexpr int16_t {e.element} = {e.index};", e.line)
        for name, count, line in m.elements[0].items:
            h.add(f"inline constexpr int16_t {name} = {count};", line)
        h.add(f"}}  // namespace {m.name}")
    h.add(f"}}  // namespace {form.name}Elements")


def constructor_args(path, m):
    """A member's constructor arguments, each with the line it comes from."""
    how = KINDS[m.kind][2]
    if m.is_array:
        args = []
        for e in m.elements:
            p = parent_expr(e)
            if how == "plain":
                raise FormError(f"{path}:{e.line}: a {m.kind} cannot be an array element")
            if how == "menu":
                if p is None:
                    raise FormError(f"{path}:{e.line}: a top-level menu cannot be an array element")
                args.append((f"vb::Element<vb::Menu&>{{{e.index}, {p}}}", e.line))
            else:
                args.append((f"vb::Element<QWidget*>{{{e.index}, {p}}}", e.line))
        return args
    e = m.elements[0]
    args = []
    if how != "plain":
        p = parent_expr(e)
        if p is not None:
            args.append((p, e.line))
    elif m.kind == "Timer":
        args.append(("form", e.line))  # it ticks only while the form is loaded
    if e.with_args:
        args.append((e.with_args[1], e.with_args[0]))
    return args


def initializer(path, m):
    """A member's initializer as lines, each with the line it comes from: a
    new line wherever an argument comes from another description line."""
    first = m.elements[0].line
    lines = [[f"{m.name}(", first]]
    for n, (arg, source) in enumerate(constructor_args(path, m)):
        if source != lines[-1][1]:
            if n:
                lines[-1][0] += ","
            lines.append(["", source])
        elif n:
            lines[-1][0] += ", "
        lines[-1][0] += arg
    lines[-1][0] += ")"
    return lines


def source(path, form, controls, members, header_name, out):
    cls = f"{form.name}Design"
    c = Lines(path, out)
    for text in [banner(path), f'#include "{header_name}"', "", f"{cls}::{cls}(vb::Form* form)"]:
        c.add(text)
    inits = [initializer(path, m) for m in members]
    for i, lines in enumerate(inits):
        lines[-1][0] += " {" if i == len(inits) - 1 else ","
        for j, (text, line) in enumerate(lines):
            c.add(("    : " if i == 0 and j == 0 else "      ") + text, line)
    if not inits:
        c.add("{")
    for line, s in form.statements:
        c.add(f"  form->{s};", line)
    if not form.statements:
        c.add("  (void)form;")
    # Properties in description order: a container's before its children's.
    for control in controls:
        for line, s in control.statements:
            c.add(f"  {control.ref()}.{s};", line)
    c.add("}")
    for g in groups_in_order(members):
        bound = [m for m in members if g in m.groups()]
        c.add("")
        c.add(f"{cls}::{g}Controls::{g}Controls({cls}& design)")
        for i, m in enumerate(bound):
            end = " {}" if i == len(bound) - 1 else ","
            c.add(("    : " if i == 0 else "      ") + f"{m.name}(design.{m.name}){end}", m.elements[0].line)
    return c.result()


def generate(path, form, controls, header_name, out_h, out_cpp):
    members = members_in_order(path, controls)
    return header(path, form, members, out_h), source(path, form, controls, members, header_name, out_cpp)


def main(argv):
    if len(argv) != 5:
        print("usage: form_compiler.py FORM OUT_HEADER OUT_SOURCE HEADER_INCLUDE_NAME", file=sys.stderr)
        return 2
    form_path, out_h, out_cpp, include_name = argv[1:]
    try:
        with open(form_path, encoding="utf-8") as f:
            form, controls = parse(form_path, f.read())
        header_text, body = generate(form_path, form, controls, include_name, out_h, out_cpp)
    except FormError as e:
        print(f"error: {e}", file=sys.stderr)
        return 1
    for name, text in ((out_h, header_text), (out_cpp, body)):
        with open(name, "w", encoding="utf-8") as f:
            f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
