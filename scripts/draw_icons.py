#!/usr/bin/env python3
"""Draws the program's own pictures as SVG files into data/icons/.

Every picture is drawn on a 16 x 16 grid from a few shared pieces (envelope,
badges, arrows, seven-segment digits) so that the set keeps one flat style and
stays readable at 16 px. The SVG files are what the program loads; run this
script again after changing a drawing:

    python3 scripts/draw_icons.py [output folder]
"""
import math
import os
import re
import sys

INK = "#2b3a4a"
PAPER = "#ffffff"
BLUE = "#2f7fd8"
LIGHTBLUE = "#cfe3f8"
GREEN = "#2e9d55"
RED = "#d93a3a"
ORANGE = "#ef9a1a"
YELLOW = "#ffd866"
GREY = "#8c96a0"
LIGHTGREY = "#d5dade"
PURPLE = "#8a55c9"

# The six account colours of the colour palette, in palette order:
# blue, cyan, green, magenta, red, black.
ACCOUNT_COLOURS = ["#1f4fff", "#00b8d9", "#1fb84a", "#d83bd8", "#e32626", "#1a1a1a"]


def svg(*parts):
    body = "\n  ".join(p for p in parts if p)
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16" viewBox="0 0 16 16">\n  '
            + body + "\n</svg>\n")


def line(points, colour=INK, width=1.0, cap="round", join="round"):
    d = " ".join(("M" if i == 0 else "L") + f"{x:g},{y:g}" for i, (x, y) in enumerate(points))
    return (f'<path d="{d}" fill="none" stroke="{colour}" stroke-width="{width:g}" '
            f'stroke-linecap="{cap}" stroke-linejoin="{join}"/>')


def path(d, fill=INK, stroke=None, width=1.0):
    s = f' stroke="{stroke}" stroke-width="{width:g}" stroke-linejoin="round"' if stroke else ""
    return f'<path d="{d}" fill="{fill}"{s}/>'


def rect(x, y, w, h, fill=PAPER, stroke=INK, r=1.0, width=1.0):
    s = f' stroke="{stroke}" stroke-width="{width:g}"' if stroke else ""
    return f'<rect x="{x:g}" y="{y:g}" width="{w:g}" height="{h:g}" rx="{r:g}" fill="{fill}"{s}/>'


def circle(cx, cy, r, fill=PAPER, stroke=None, width=1.0):
    s = f' stroke="{stroke}" stroke-width="{width:g}"' if stroke else ""
    return f'<circle cx="{cx:g}" cy="{cy:g}" r="{r:g}" fill="{fill}"{s}/>'


# ---- envelopes ----

def envelope(x=1.5, y=3.5, w=13, h=9, fill=PAPER, flap=INK, stroke=INK):
    return (rect(x, y, w, h, fill, stroke, 1.2)
            + line([(x + 0.3, y + 0.5), (x + w / 2, y + h * 0.58), (x + w - 0.3, y + 0.5)], flap))


def open_envelope():
    return (rect(3.5, 1.5, 9, 8, PAPER, GREY, 0.5)
            + line([(5.5, 4), (10.5, 4)], GREY) + line([(5.5, 6), (10.5, 6)], GREY)
            + path("M1.5,7 L8,11 L14.5,7 L14.5,14.5 L1.5,14.5 Z", PAPER, INK)
            + line([(1.5, 14.5), (6.5, 10.3)]) + line([(14.5, 14.5), (9.5, 10.3)]))


def new_mail_envelope():
    return envelope(fill=YELLOW)


# ---- badges: a filled circle at the lower right with a symbol ----

def badge(colour, symbol, cx=11.5, cy=11.5, r=4.2):
    return circle(cx, cy, r, colour, PAPER, 1.0) + symbol


def cross(cx=11.5, cy=11.5, s=1.7, colour=PAPER, width=1.5):
    return line([(cx - s, cy - s), (cx + s, cy + s)], colour, width) + line([(cx + s, cy - s), (cx - s, cy + s)], colour, width)


def plus(cx=11.5, cy=11.5, s=2.2, colour=PAPER, width=1.5):
    return line([(cx - s, cy), (cx + s, cy)], colour, width) + line([(cx, cy - s), (cx, cy + s)], colour, width)


def minus(cx=11.5, cy=11.5, s=2.2, colour=PAPER, width=1.5):
    return line([(cx - s, cy), (cx + s, cy)], colour, width)


def tick(cx=11.5, cy=11.5, colour=PAPER, width=1.5):
    return line([(cx - 2, cy), (cx - 0.6, cy + 1.5), (cx + 2, cy - 1.6)], colour, width)


def red_x_badge():
    return badge(RED, cross())


def green_plus_badge():
    return badge(GREEN, plus())


def red_minus_badge():
    return badge(RED, minus())


def green_tick_badge():
    return badge(GREEN, tick())


def warning_triangle(cx=11.5, base=15.2, size=8.0):
    h = size * 0.87
    top = base - h
    return (path(f"M{cx:g},{top:g} L{cx + size / 2:g},{base:g} L{cx - size / 2:g},{base:g} Z", ORANGE, PAPER, 1.0)
            + line([(cx, top + 2.4), (cx, base - 2.8)], PAPER, 1.4) + circle(cx, base - 1.3, 0.7, PAPER))


def pause_badge():
    return badge(ORANGE, line([(10.3, 9.6), (10.3, 13.4)], PAPER, 1.4, "butt")
                 + line([(12.7, 9.6), (12.7, 13.4)], PAPER, 1.4, "butt"))


def slash_badge():
    return badge(RED, line([(9.2, 13.8), (13.8, 9.2)], PAPER, 1.5))


def paperclip(x=11.0):
    return (path(f"M{x:g},14 L{x:g},5.5 A1.6,1.6 0 0 1 {x + 3.2:g},5.5 L{x + 3.2:g},12.5 "
                 f"A1.6,1.6 0 0 1 {x:g},12.5", "none", INK, 1.2)
            + path(f"M{x:g},14 L{x:g},5.5 A1.6,1.6 0 0 1 {x + 3.2:g},5.5 L{x + 3.2:g},12.5 "
                   f"A1.6,1.6 0 0 1 {x:g},12.5", "none", "#b9c2cb", 0.5))


def down_arrow_badge(colour=GREEN):
    return badge(colour, line([(11.5, 9.0), (11.5, 14.0)], PAPER, 1.5)
                 + line([(9.5, 12.0), (11.5, 14.0), (13.5, 12.0)], PAPER, 1.5))


def refresh_badge(colour=GREEN):
    return badge(colour, path("M13.6,11.5 A2.1,2.1 0 1 1 12.6,9.7", "none", PAPER, 1.3)
                 + path("M11.6,8.4 L13.9,9.3 L12.4,11.1 Z", PAPER))


# ---- other shapes ----

def person(x=0.0, colour=BLUE):
    return (circle(6 + x, 5, 3, colour, PAPER, 0.8)
            + path(f"M{0.8 + x:g},15 C{0.8 + x:g},10 {11.2 + x:g},10 {11.2 + x:g},15 Z", colour, PAPER, 0.8))


def funnel(colour=ORANGE):
    return path("M1.5,2.5 L12.5,2.5 L8.5,8 L8.5,13 L5.5,14.5 L5.5,8 Z", colour, INK)


def page(x=2.5, y=1.5, w=10, h=13, lines=True):
    out = path(f"M{x:g},{y:g} L{x + w - 3:g},{y:g} L{x + w:g},{y + 3:g} L{x + w:g},{y + h:g} L{x:g},{y + h:g} Z", PAPER, INK)
    out += line([(x + w - 3, y), (x + w - 3, y + 3), (x + w, y + 3)])
    if lines:
        for i in range(3):
            out += line([(x + 2, y + 5.5 + i * 2.2), (x + w - 2, y + 5.5 + i * 2.2)], GREY, 1.0)
    return out


def gear(cx=8, cy=8, r_out=7.2, r_in=5.3, teeth=8, colour=GREY, hole=2.2):
    pts = []
    for i in range(teeth * 4):
        a = 2 * math.pi * i / (teeth * 4) - math.pi / 2
        r = r_out if (i % 4) in (0, 1) else r_in
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    d = "M" + " L".join(f"{x:.2f},{y:.2f}" for x, y in pts) + " Z"
    return path(d, colour, INK, 0.8) + circle(cx, cy, hole, PAPER, INK, 0.8)


def clock(cx=8, cy=8, r=6.5, face=PAPER, ring=INK):
    return (circle(cx, cy, r, face, ring, 1.2)
            + line([(cx, cy - r + 2.2), (cx, cy), (cx + r * 0.5, cy + r * 0.25)], ring, 1.2))


def power(colour=RED):
    return (path("M4.9,4.4 A5,5 0 1 0 11.1,4.4", "none", colour, 2.0)
            + line([(8, 1.8), (8, 7.5)], colour, 2.0))


def arrow(direction, colour=BLUE):
    # A thick arrow pointing right, turned to the direction.
    d = "M2,6 L8.5,6 L8.5,2.5 L14,8 L8.5,13.5 L8.5,10 L2,10 Z"
    angle = {"right": 0, "down": 90, "left": 180, "up": 270}[direction]
    return f'<g transform="rotate({angle} 8 8)">{path(d, colour, INK, 0.8)}</g>'


def curved_arrow(clockwise, colour=BLUE):
    if clockwise:
        return (path("M3,11.5 A5,5 0 0 1 12,6", "none", colour, 2.0)
                + path("M9.6,3.4 L14.4,5.3 L11.6,9.3 Z", colour))
    return (path("M13,11.5 A5,5 0 0 0 4,6", "none", colour, 2.0)
            + path("M6.4,3.4 L1.6,5.3 L4.4,9.3 Z", colour))


def speaker(colour=INK):
    return path("M1.5,6 L4.5,6 L8.5,2.5 L8.5,13.5 L4.5,10 L1.5,10 Z", GREY, colour)


def folder(fill=YELLOW, open_=False):
    back = path("M1.5,3.5 L6,3.5 L7.5,5 L14.5,5 L14.5,13.5 L1.5,13.5 Z", fill, INK)
    if not open_:
        return back
    return back + path("M1.5,13.5 L3.8,7.5 L15.5,7.5 L13.8,13.5 Z", "#ffe7a3", INK)


def palette():
    return (path("M8,1.5 C12.5,1.5 15,4.5 14.5,8 C14,10.5 11.5,10 10.5,11 C9.5,12 11,14.5 8,14.5 "
                 "C4,14.5 1.5,11.5 1.5,8 C1.5,4.5 4.5,1.5 8,1.5 Z", "#f3e1c0", INK)
            + circle(5, 6, 1.4, RED) + circle(8.3, 4.6, 1.4, GREEN) + circle(11.4, 6.4, 1.4, BLUE)
            + circle(4.8, 10, 1.4, YELLOW))


def window_glyph():
    return rect(1.5, 2.5, 13, 11, PAPER, INK, 1) + rect(1.5, 2.5, 13, 3, BLUE, INK, 1)


def round_sign(colour, symbol):
    return circle(8, 8, 6.8, colour, INK, 0.8) + symbol


def question_mark():
    return (path("M5.6,6 A2.4,2.4 0 1 1 9.1,8.1 C8.3,8.6 8,9 8,10", "none", PAPER, 1.8)
            + circle(8, 12.4, 1.1, PAPER))


def info_mark():
    return circle(8, 4.6, 1.2, PAPER) + line([(8, 7.2), (8, 12)], PAPER, 2.0)


def checkboxes(ticked):
    out = ""
    for i, y in enumerate((1.5, 6.0, 10.5)):
        out += rect(1.5, y, 4, 4, PAPER, INK, 0.6)
        out += line([(7.5, y + 2), (14.5, y + 2)], GREY, 1.2)
        if ticked:
            out += line([(2.4, y + 2.0), (3.4, y + 3.0), (5.2, y + 0.8)], GREEN, 1.3)
    return out


def spinner(frame):
    out = ""
    for i in range(8):
        a = 2 * math.pi * i / 8 - math.pi / 2
        age = (frame - 1 - i) % 8
        colour = {0: BLUE, 1: "#6da6e6", 2: "#a9cbf1"}.get(age, LIGHTGREY)
        out += circle(8 + 5.3 * math.cos(a), 8 + 5.3 * math.sin(a), 1.6, colour)
    return out


# ---- seven-segment digits for the tray count ----

SEGMENTS = {  # a b c d e f g
    0: "abcdef", 1: "bc", 2: "abged", 3: "abgcd", 4: "fgbc",
    5: "afgcd", 6: "afgedc", 7: "abc", 8: "abcdefg", 9: "abcdfg",
}


def digit(n, x, y, w, h, width, colour=INK):
    left, right = x + width / 2, x + w - width / 2
    top, mid, bottom = y + width / 2, y + h / 2, y + h - width / 2
    seg = {
        "a": [(left, top), (right, top)], "b": [(right, top), (right, mid)],
        "c": [(right, mid), (right, bottom)], "d": [(left, bottom), (right, bottom)],
        "e": [(left, mid), (left, bottom)], "f": [(left, top), (left, mid)],
        "g": [(left, mid), (right, mid)],
    }
    return "".join(line(seg[s], colour, width, "square", "miter") for s in SEGMENTS[n])


def tray_card():
    return rect(1.5, 1.5, 13, 13, PAPER, INK, 2)


def tray_ring(colour):
    return rect(1, 1, 14, 14, "none", colour, 2.5, 2.0)


def app_icon(background=BLUE):
    return (rect(0.5, 0.5, 15, 15, background, None, 3)
            + rect(2.5, 4.5, 11, 7.5, PAPER, None, 1)
            + line([(3, 5), (8, 9), (13, 5)], background, 1.3))


def greyed(text):
    # The disabled look: every colour turned to a light grey of its brightness.
    def grey(m):
        r, g, b = (int(m.group(1)[i:i + 2], 16) for i in (0, 2, 4))
        v = int(0.3 * r + 0.59 * g + 0.11 * b)
        v = int(v + (255 - v) * 0.45)
        return f"#{v:02x}{v:02x}{v:02x}"
    return re.sub(r"#([0-9a-fA-F]{6})", grey, text)


def pictures():
    p = {}
    # Tray pieces: colour rings, the program icon and its two states, digits.
    for i, colour in enumerate(ACCOUNT_COLOURS, 1):
        p[f"TrayColour{i}"] = svg(tray_ring(colour))
    p["TrayNormal"] = svg(app_icon())
    p["TrayNoConnection"] = svg(app_icon(GREY), slash_badge())
    p["TrayAutoCheckOff"] = svg(app_icon(), pause_badge())
    for n in range(10):
        # Whole-pixel strokes keep the digits sharp at 16 px.
        p[f"TrayDigit{n}"] = svg(digit(n, 5, 3, 6, 10, 2))
        p[f"TrayUnits{n}"] = svg(tray_card(), digit(n, 9, 3, 4, 9, 1))
    for n in range(1, 10):
        p[f"TrayTens{n}"] = svg(digit(n, 3, 3, 4, 9, 1))
    p["TrayOver99"] = svg(digit(9, 3, 4, 3, 7, 1), digit(9, 7, 4, 3, 7, 1),
                          line([(11, 7.5), (14, 7.5)], RED, 1, "butt"), line([(12.5, 6), (12.5, 9)], RED, 1, "butt"))
    p["TrayBase"] = svg(tray_card())
    # Tab pictures: account state and the retrieval animation.
    p["MailNo"] = svg(envelope())
    p["MailYes"] = svg(new_mail_envelope(), circle(13.2, 3.3, 2.6, BLUE, PAPER, 1.0))
    p["MailError"] = svg(envelope(), badge(RED, line([(11.5, 9.2), (11.5, 12.0)], PAPER, 1.5)
                                            + circle(11.5, 13.8, 0.8, PAPER)))
    for key in ("MailNo", "MailYes", "MailError"):
        p[key + "Disabled"] = greyed(p[key])
    for frame in range(1, 9):
        p[f"MailSpin{frame}"] = svg(spinner(frame))
    # Message list rows.
    p["ListNormal"] = svg(envelope())
    p["ListNew"] = svg(new_mail_envelope())
    p["ListAttach"] = svg(envelope(w=10), paperclip())
    p["ListAttachNew"] = svg(envelope(w=10, fill=YELLOW), paperclip())
    p["ListSpam"] = svg(envelope(), warning_triangle())
    p["ListSpamNew"] = svg(new_mail_envelope(), warning_triangle())
    p["ListDelete"] = svg(envelope(), red_x_badge())
    p["ListDeleteAttach"] = svg(envelope(w=10), paperclip(), badge(RED, cross(6.5, 11.5), 6.5, 11.5))
    # Column header and sort order.
    p["HeaderAscending"] = svg(path("M8,5 L12,10.5 L4,10.5 Z", GREY))
    p["HeaderDescending"] = svg(path("M8,11 L12,5.5 L4,5.5 Z", GREY))
    p["Blank"] = svg()
    bars = lambda heights: "".join(rect(1.5 + i * 3, 14.5 - h, 2, h, BLUE, None, 0.3) for i, h in enumerate(heights))
    p["SortAscending"] = svg(bars([3, 6, 9]), path("M13,2 L15.5,6 L10.5,6 Z", GREEN), line([(13, 6), (13, 14)], GREEN, 1.5))
    p["SortDescending"] = svg(bars([9, 6, 3]), path("M13,14 L15.5,10 L10.5,10 Z", GREEN), line([(13, 2), (13, 10)], GREEN, 1.5))
    # Dragging a tab: over the tab row, and anywhere else.
    tab = path("M1.5,9.5 L3,4.5 L10,4.5 L11.5,9.5 Z", LIGHTBLUE, INK)
    p["DragOverTabs"] = svg(tab, path("M12,9 L15.5,9 L13.75,12.5 Z", GREEN), line([(13.75, 12.5), (13.75, 15)], GREEN, 1.5))
    p["DragElsewhere"] = svg(tab, circle(12, 12, 3.2, PAPER, RED, 1.4), line([(9.9, 14.1), (14.1, 9.9)], RED, 1.4))
    # Menu and command pictures.
    p["Show"] = svg(window_glyph())
    p["CheckAll"] = svg(envelope(0.5, 1.5, 11, 7.5), envelope(2.5, 4.5, 11, 7.5), refresh_badge())
    p["EmailCheck"] = svg(envelope(), down_arrow_badge())
    p["Gears"] = svg(gear())
    p["Options"] = p["Gears"]
    p["About"] = svg(round_sign(BLUE, info_mark()))
    p["Help"] = svg(round_sign(BLUE, question_mark()))
    p["NewMessage"] = svg(envelope(), green_plus_badge())
    p["MenuColours"] = svg(palette())
    p["BrowseColour"] = p["MenuColours"]
    p["Updates"] = svg(rect(1.5, 10.5, 13, 4, LIGHTGREY, INK, 1), line([(8, 1.5), (8, 9)], GREEN, 2.2),
                       line([(4.5, 6), (8, 9.5), (11.5, 6)], GREEN, 2.2))
    p["Quit"] = svg(power())
    p["Preview"] = svg(page(1.5, 1.5, 10, 13), circle(10, 9.5, 3, LIGHTBLUE, INK, 1.3),
                       line([(12.2, 11.7), (14.8, 14.3)], INK, 2.0))
    p["Delete"] = svg(envelope(), red_x_badge())
    p["Reply"] = svg(path("M6.5,2.5 L1.5,7 L6.5,11.5 L6.5,8.7 C10,8.5 12.5,9.8 14.5,13.5 "
                          "C14,8.5 11,5.5 6.5,5.3 Z", BLUE, INK, 0.8))
    p["Open"] = svg(open_envelope())
    p["AutoCheckOn"] = svg(clock(7, 7, 6), badge(GREEN, tick()))
    p["AutoCheckOff"] = svg(clock(7, 7, 6), slash_badge())
    sound_waves = (path("M10.5,5.5 A3.5,3.5 0 0 1 10.5,10.5", "none", INK, 1.2)
                   + path("M12.5,3.5 A6,6 0 0 1 12.5,12.5", "none", INK, 1.2))
    p["SoundOn"] = svg(speaker(), sound_waves)
    p["SoundOff"] = svg(speaker(), cross(12.5, 8, 2, RED, 1.6))
    p["Folder"] = svg(folder())
    p["FolderX"] = svg(folder(), red_x_badge())
    p["MailClient0"] = svg(window_glyph(), envelope(4, 7.5, 8, 5))
    # Page switches.
    p["Email"] = svg(envelope(fill=PAPER, flap=BLUE))
    p["Accounts"] = svg(person())
    p["Rules"] = svg(funnel())
    p["Size"] = svg(rect(1.5, 1.5, 13, 13, PAPER, INK, 1), line([(4.5, 11.5), (11.5, 4.5)], BLUE, 1.5),
                    line([(7.5, 4.5), (11.5, 4.5), (11.5, 8.5)], BLUE, 1.5),
                    line([(4.5, 7.5), (4.5, 11.5), (8.5, 11.5)], BLUE, 1.5))
    # Page command bars.
    p["Stop"] = svg(path("M5.2,1.5 L10.8,1.5 L14.5,5.2 L14.5,10.8 L10.8,14.5 L5.2,14.5 L1.5,10.8 L1.5,5.2 Z", RED, INK, 0.8),
                    rect(5, 7, 6, 2, PAPER, None, 0.3))
    p["Close"] = svg(window_glyph(), line([(6, 7.5), (10, 11.5)], INK, 1.5), line([(10, 8), (10, 11.5), (6.5, 11.5)], INK, 1.5))
    p["Save"] = svg(rect(1.5, 1.5, 13, 13, BLUE, INK, 1.2), rect(4, 1.5, 8, 5, PAPER, INK, 0.3),
                    rect(8.8, 2.5, 1.6, 3, INK, None, 0.2), rect(3.5, 9, 9, 5.5, LIGHTGREY, INK, 0.3))
    p["Cancel"] = svg(round_sign(RED, cross(8, 8, 2.8, PAPER, 2.0)))
    p["Pause"] = svg(round_sign(ORANGE, line([(6.3, 4.8), (6.3, 11.2)], PAPER, 2.2, "butt")
                                + line([(9.7, 4.8), (9.7, 11.2)], PAPER, 2.2, "butt")))
    p["Browse"] = svg(folder(open_=True))
    p["Test"] = svg(round_sign(GREEN, path("M6.2,4.6 L11.6,8 L6.2,11.4 Z", PAPER)))
    p["OK"] = svg(round_sign(GREEN, tick(8, 8, PAPER, 2.0)))
    # Email page tool bar: the message commands share the menu pictures.
    for key, same in (("EmailPreview", "Preview"), ("EmailDelete", "Delete"), ("EmailReply", "Reply"),
                      ("EmailOpen", "Open"), ("EmailNew", "NewMessage")):
        p[key] = p[same]
    p["EmailSpam"] = svg(envelope(), warning_triangle())
    # Accounts page.
    p["AcntAdd"] = svg(person(-1), green_plus_badge())
    p["AcntDelete"] = svg(person(-1), red_minus_badge())
    p["AcntTest"] = svg(person(-1), green_tick_badge())
    # Rules page.
    p["RulesAdd"] = svg(funnel(), green_plus_badge())
    p["RulesDelete"] = svg(funnel(), red_minus_badge())
    p["RulesImport"] = svg(page(4.5, 1.5, 10, 13), arrow("right", GREEN).replace("rotate(0 8 8)", "translate(-2 1) scale(0.8)"))
    p["RulesRename"] = svg(page(1.5, 1.5, 10, 13, False), line([(3.5, 6), (9.5, 6)], GREY, 1.0),
                           path("M8,14.5 L8.6,11.8 L14,6.4 L15.6,8 L10.2,13.4 Z", YELLOW, INK, 0.8))
    p["Update"] = svg(page(1.5, 1.5, 10, 13), green_tick_badge())
    p["Clear"] = svg(page(1.5, 1.5, 10, 13), red_x_badge())
    p["Undo"] = svg(curved_arrow(False))
    p["Redo"] = svg(curved_arrow(True))
    for key in ("Backward", "Forward", "Up", "Down"):
        p[key] = svg(arrow({"Backward": "left", "Forward": "right", "Up": "up", "Down": "down"}[key]))
    # Options panels.
    p["RestoreColWidth"] = svg(rect(1.5, 2.5, 13, 11, PAPER, INK, 0.8), line([(6, 2.5), (6, 13.5)], GREY, 1.0),
                               line([(10, 2.5), (10, 13.5)], GREY, 1.0), line([(3, 8), (13, 8)], BLUE, 1.3),
                               line([(4.8, 6.2), (3, 8), (4.8, 9.8)], BLUE, 1.3), line([(11.2, 6.2), (13, 8), (11.2, 9.8)], BLUE, 1.3))
    p["SelectAll"] = svg(checkboxes(True))
    p["SelectNone"] = svg(checkboxes(False))
    p["ReadMe"] = svg(page())
    p["StartUp"] = svg(round_sign(GREEN, path("M6.2,4.6 L11.6,8 L6.2,11.4 Z", PAPER)), "")
    p["AutoCheck"] = svg(clock())
    p["Defaults"] = svg(line([(2, 4), (14, 4)], GREY, 1.5), line([(2, 8), (14, 8)], GREY, 1.5), line([(2, 12), (14, 12)], GREY, 1.5),
                        rect(4, 2, 3, 4, BLUE, INK, 0.6), rect(9.5, 6, 3, 4, BLUE, INK, 0.6), rect(5.5, 10, 3, 4, BLUE, INK, 0.6))
    p["Miscellaneous"] = svg(rect(1.5, 1.5, 5.5, 5.5, BLUE, INK, 1), rect(9, 1.5, 5.5, 5.5, GREEN, INK, 1),
                             rect(1.5, 9, 5.5, 5.5, ORANGE, INK, 1), rect(9, 9, 5.5, 5.5, PURPLE, INK, 1))
    p["Logo"] = p["TrayNormal"]
    # Preview window and the small windows.
    p["Print"] = svg(rect(4, 1.5, 8, 5, PAPER, INK, 0.3), rect(1.5, 6, 13, 6, LIGHTGREY, INK, 1.2),
                     rect(4, 10, 8, 4.5, PAPER, INK, 0.3), circle(12.3, 8, 0.8, GREEN))
    p["Envelope"] = svg(envelope())
    p["Exit"] = svg(rect(2.5, 1.5, 7, 13, "#c98a4b", INK, 0.6), circle(7.5, 8.5, 0.7, INK),
                    line([(9, 8), (15, 8)], BLUE, 1.8), line([(12.5, 5.5), (15, 8), (12.5, 10.5)], BLUE, 1.8))
    p["Timer"] = svg(clock(8, 9, 6), rect(6.5, 0.5, 3, 2, INK, None, 0.3))
    p["DeleteNow"] = svg(round_sign(RED, cross(8, 8, 2.8, PAPER, 2.0)))
    p["RuleDelete"] = p["ListDelete"]
    p["RuleSpam"] = p["ListSpam"]
    return p


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "data", "icons")
    os.makedirs(out, exist_ok=True)
    for name in os.listdir(out):
        if name.endswith(".svg"):
            os.remove(os.path.join(out, name))
    for key, text in sorted(pictures().items()):
        with open(os.path.join(out, key + ".svg"), "w", encoding="utf-8") as f:
            f.write(text)


if __name__ == "__main__":
    main()
