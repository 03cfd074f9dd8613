"""A user at a desktop: starts the installed `veltrane` on a private profile
under the virtual display that tests/support/with_tray_host.sh provides
(window manager and tray host), finds its controls from the window's own
geometry and the window descriptions (app/forms/*/*.form), and drives them
with X input through xdotool.

Judged only from outside: exit status, windows present, stored settings,
and what is left in the profile's temporary and runtime folders.
"""
import configparser
import os
import re
import signal
import subprocess
import sys
import time
from pathlib import Path

SOURCE = Path(os.environ["VELTRANE_SOURCE_DIR"])
sys.path.insert(0, str(SOURCE / "cmake"))
import form_compiler  # noqa: E402  (the parser the build compiles the windows with)

TWIPS_PER_PIXEL = 15  # the virtual display runs at 96 dots per inch
# How long a case waits for what it expects: long enough for a machine at a
# load of 40, where a start or an exit that takes a second when idle takes many.
DEADLINE = 30


class Failure(AssertionError):
    pass


def check(condition, what):
    if not condition:
        raise Failure(what)


def wait_for(predicate, seconds, what):
    deadline = time.monotonic() + seconds
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"after {seconds} s: {what}")
        time.sleep(0.05)


def x(*args):
    return subprocess.run(args, capture_output=True, text=True, check=False).stdout


# ---- the window descriptions ----------------------------------------------

class Form:
    """The designed controls of one window: places in twips, tool-bar keys."""

    def __init__(self, name):
        path = next((SOURCE / "app" / "forms").rglob(f"{name}.form"))
        self.window, controls = form_compiler.parse(str(path), path.read_text())
        # by index, tbrButtons(6), and by the element's name, tbrButtons(kSaveAccount)
        self.controls = {c.ref(): c for c in controls}
        self.controls.update({f"{c.name}({c.element})": c for c in controls if c.element})

    def size(self):
        return self._numbers(self.window, "SetClientSize")

    def place(self, ref):
        """left, top, width, height of a control, in twips of its container."""
        return self._numbers(self.controls[ref], "Move")

    def origin(self, ref):
        """left and top of a control in the window's client area, in twips."""
        control, left, top = self.controls[ref], 0, 0
        while control.kind != "Form":
            l, t, _, _ = self._numbers(control, "Move")
            left, top, control = left + l, top + t, control.container
        return left, top

    def buttons(self, ref):
        """the keys of a tool bar's buttons, in order."""
        return [m.group(1) for _, s in self.controls[ref].statements
                if (m := re.match(r'AddButton\(QStringLiteral\("([^"]*)"\)', s))]

    @staticmethod
    def _numbers(control, call):
        for _, s in control.statements:
            if s.startswith(call + "("):
                return [int(v) for v in s[len(call) + 1:-1].split(",")]
        raise KeyError(f"{control.name} has no {call}")


# ---- one window on the display ---------------------------------------------

class Window:
    def __init__(self, wid):
        self.id = wid

    def client(self):
        """left, top, width, height of the client area on the screen (pixels)."""
        info = x("xwininfo", "-id", self.id)
        field = lambda name: int(re.search(rf"{name}:\s+(-?\d+)", info).group(1))
        return (field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"), field("Height"))

    # Two presses of a button within the double-click interval (the
    # toolkit's default, 400 ms) make a double click, which is no second
    # click: a user's separate clicks lie further apart.
    DOUBLE_CLICK = 0.4
    last_click = (None, 0.0)

    def click(self, left_px, top_px, button=1):
        l, t, _, _ = self.client()
        to = (l + round(left_px), t + round(top_px))
        # A move waited for (--sync) must move: to where the pointer is, it
        # would wait for an event that never comes.
        if pointer() != to:
            x("xdotool", "mousemove", "--sync", *map(str, to))
        previous, at = Window.last_click
        if previous == button:
            time.sleep(max(0.0, at + Window.DOUBLE_CLICK + 0.1 - time.monotonic()))
        x("xdotool", "click", str(button))
        Window.last_click = (button, time.monotonic())

    def activate(self):
        x("xdotool", "windowactivate", "--sync", self.id)

    def minimise(self):
        """asks the window manager to minimise the window as a taskbar, a
        window list or a keyboard shortcut does (ICCCM WM_CHANGE_STATE)."""
        x("xdotool", "windowminimize", "--sync", self.id)

    def click_title_button(self, index):
        """clicks a button of the window manager's title bar, counted from the
        right (0 close, 1 maximise, 2 iconify). openbox's default theme
        (Clearlooks, layout NLIMC) draws them 16 pixels apart, the close
        button's centre 10 pixels left of the client area's right edge, in
        the middle of the frame's top (_NET_FRAME_EXTENTS)."""
        _, _, width, _ = self.client()
        extents = re.findall(r"\d+", x("xprop", "-id", self.id, "_NET_FRAME_EXTENTS").partition("=")[2])
        top = int(extents[2]) if len(extents) == 4 else 20
        self.click(width - 10 - 16 * index, -top / 2)

    def viewable(self):
        return "IsViewable" in x("xwininfo", "-id", self.id)

    def wm_state(self):
        """the ICCCM state the window manager holds: Normal, Iconic or None (withdrawn)."""
        m = re.search(r"window state: (\w+)", x("xprop", "-id", self.id, "WM_STATE"))
        return m.group(1) if m else None

    def listed(self):
        """in the window manager's list of managed windows (a taskbar's entries)."""
        return int(self.id) in root_windows("_NET_CLIENT_LIST")

    def in_front(self):
        """the window the window manager made active (the tray host's panel
        stays above every window)."""
        return root_windows("_NET_ACTIVE_WINDOW") == [int(self.id)]

    def report_state_late(self):
        """a window manager's word on the window's state reaching it after
        the window was withdrawn: a _NET_WM_STATE without the hidden state."""
        x("xprop", "-id", self.id, "-f", "_NET_WM_STATE", "32a", "-set", "_NET_WM_STATE",
          "_NET_WM_STATE_SKIP_PAGER")


def pointer():
    """where the pointer is on the screen."""
    place = dict(re.findall(r"(\w+)=(\d+)", x("xdotool", "getmouselocation", "--shell")))
    return int(place.get("X", -1)), int(place.get("Y", -1))


def root_windows(prop):
    """the windows a property of the root window lists, as numbers."""
    return [int(w, 16) for w in re.findall(r"0x[0-9a-f]+", x("xprop", "-root", prop).partition("#")[2])]


def windows_named(title_regex):
    """every window whose title matches, mapped or not."""
    return [Window(wid) for wid in x("xdotool", "search", "--name", title_regex).split()]


def window_manager_caught_up():
    """returns once the window manager has handled every request made before
    the call: it handles them in order, and this one shows (the number of
    desktops changed and changed back)."""
    count = lambda: int(re.findall(r"\d+", x("xprop", "-root", "_NET_NUMBER_OF_DESKTOPS"))[-1])
    before = count()
    for n in (before + 1, before):
        x("xdotool", "set_num_desktops", str(n))
        wait_for(lambda: count() == n, DEADLINE, f"the window manager shows {n} desktops")


def visible_windows(title_regex):
    """Mapped windows whose title matches, the largest first."""
    found = []
    for wid in x("xdotool", "search", "--onlyvisible", "--name", title_regex).split():
        info = x("xwininfo", "-id", wid)
        if "IsViewable" not in info:
            continue
        w, h = (int(re.search(rf"{n}:\s+(\d+)", info).group(1)) for n in ("Width", "Height"))
        if w > 1 and h > 1:
            found.append((w * h, wid))
    return [Window(wid) for _, wid in sorted(found, reverse=True)]


def wait_window(title_regex, seconds=DEADLINE):
    return wait_for(lambda: (visible_windows(title_regex) or [None])[0], seconds,
                    f"a window titled /{title_regex}/ appears")


def wait_no_window(title_regex, seconds=DEADLINE):
    wait_for(lambda: not visible_windows(title_regex), seconds, f"no window titled /{title_regex}/ is left")


def type_text(text):
    x("xdotool", "type", "--delay", "15", text)


def key(*keys):
    x("xdotool", "key", "--clearmodifiers", *keys)


def tray_icon():
    """The program's icon in the tray host: the window embedded in its panel."""
    tree = x("xwininfo", "-root", "-tree")
    lines = tree.splitlines()
    for i, line in enumerate(lines):
        if '"panel"' in line:
            depth = len(line) - len(line.lstrip())
            for child in lines[i + 1:]:
                if len(child) - len(child.lstrip()) <= depth:
                    break
                m = re.match(r"\s*(0x[0-9a-f]+) .*?(\d+)x(\d+)\+", child)
                if m and int(m.group(2)) > 8 and int(m.group(3)) > 8:
                    return Window(m.group(1))
    return None


def open_tray_menu(icon, attempts=3):
    """right-clicks the tray icon until the program's pop-up menu shows (a
    click can be lost while a busy display is still embedding the icon)."""
    listed = lambda: set(x("xdotool", "search", "--onlyvisible", "--class", "veltrane").split())
    before = listed()
    for attempt in range(attempts):
        icon.click(8, 8, button=3)
        try:
            return wait_for(lambda: listed() - before, DEADLINE / attempts, "the tray menu opens")
        except Failure:
            if attempt == attempts - 1:
                raise


# ---- the main window's controls -------------------------------------------

MAIN = Form("frm_main")
FIRST_USE = Form("frm_first_use")


class MainWindow(Window):
    """Places of frmMain's controls as its load lays them out from the
    description: tool bars sized to their buttons widen the window by what
    the page buttons gain; tool-bar frames are 1.7 times their bar, whose
    height is two button heights; the window's client height is the tab
    strip's plus 1.6 times the page-button frame; the pages' button bars
    overlap the tab strip's bottom by 100 twips and their right-hand bars are
    placed from the right, 100 twips apart."""

    BAR_OVERLAP, GAP = 100, 100
    # The right-hand tool bars of each page's button bar, from the right.
    RIGHT_HAND = {0: ["tbrButtons(kClose)", "tbrButtons(kCheckAll)", "tbrButtons(kStartEmailClient)"],
                  1: ["tbrButtons(kCancelAccount)", "tbrButtons(kSaveAccount)"]}

    def _twips(self):
        _, _, w, h = self.client()
        return w * TWIPS_PER_PIXEL, h * TWIPS_PER_PIXEL

    def _page_bar_height(self):
        _, h = self._twips()
        return (h - MAIN.place("TabStripEmail")[3]) / 1.6

    def _widening(self):
        w, _ = self._twips()
        return w - MAIN.size()[0]

    def page_button(self, key):
        """the centre of a page button (tbrMainButtons) in client pixels."""
        bar = "tbrMainButtons"
        keys = MAIN.buttons(bar)
        left, top = MAIN.origin(bar)
        width = (MAIN.place(bar)[2] + self._widening()) / len(keys)
        button_height = self._page_bar_height() / 1.7 / 2
        return ((left + (keys.index(key) + 0.5) * width) / TWIPS_PER_PIXEL,
                (top + button_height / 2) / TWIPS_PER_PIXEL)

    def page_command(self, page, bar):
        """the centre of a one-button bar of a page's button bar."""
        button_height = self._page_bar_height() / 1.7 / 2
        bar_top = self._page_bar_height() + MAIN.place("TabStripEmail")[3] - self.BAR_OVERLAP
        left, top, width, _ = MAIN.place(bar)
        if bar in self.RIGHT_HAND.get(page, []):
            right = self._twips()[0] - self.GAP
            for other in self.RIGHT_HAND[page][:self.RIGHT_HAND[page].index(bar)]:
                right -= MAIN.place(other)[2] + self.GAP
            left = right - width
        return (left + width / 2) / TWIPS_PER_PIXEL, (bar_top + top + button_height / 2) / TWIPS_PER_PIXEL

    def accounts_bar_button(self, key):
        """a button of the Accounts page's own tool bar (Add, Delete, Test),
        whose frame lies below the tab row (designed at 324 twips)."""
        bar = "tbrAcnts"
        keys = MAIN.buttons(bar)
        left, top, width, _ = MAIN.place(bar)
        frame_top = self._page_bar_height() + MAIN.place("fraAcntToolBar")[1]
        button_height = self._page_bar_height() / 1.7 / 2
        return ((left + (keys.index(key) + 0.5) * width / len(keys)) / TWIPS_PER_PIXEL,
                (frame_top + top + button_height / 2) / TWIPS_PER_PIXEL)

    def click_at(self, point):
        self.click(*point)


def first_use_ok():
    """the centre of the first-use window's OK button (a fixed dialog: as designed)."""
    left, top = FIRST_USE.origin("tbrButtons")
    _, _, width, height = FIRST_USE.place("tbrButtons")
    n = len(FIRST_USE.buttons("tbrButtons"))
    return (left + width / n / 2) / TWIPS_PER_PIXEL, (top + height / 2) / TWIPS_PER_PIXEL


# ---- the program on its private profile -----------------------------------

class Profile:
    """A user's private folders: home, configuration, runtime and temporary."""

    def __init__(self, root):
        self.root = Path(root)
        self.home = self.root / "home"
        self.config = self.home / ".config"
        self.run = self.root / "run"
        self.tmp = self.root / "tmp"
        for d in (self.config, self.run, self.tmp):
            d.mkdir(parents=True, exist_ok=True)
        self.run.chmod(0o700)
        self.settings_file = self.config / "ZKT" / "Veltrane" / "settings.ini"

    def env(self):
        env = dict(os.environ)
        env.update(HOME=str(self.home), XDG_CONFIG_HOME=str(self.config),
                   XDG_RUNTIME_DIR=str(self.run), TMPDIR=str(self.tmp))
        for name in ("XDG_DATA_HOME", "XDG_CACHE_HOME", "VELTRANE_SOURCE_DIR", "VELTRANE_BUILD_DIR"):
            env.pop(name, None)
        # The tray host is the one on the display, not a service on a session bus.
        env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        return env

    def write_settings(self, sections):
        self.settings_file.parent.mkdir(parents=True, exist_ok=True)
        lines = ["# Settings of ZKT\\Veltrane"]
        for section, values in sections.items():
            lines.append(f"[{section}]")
            lines += [f"{k}={v}" for k, v in values.items()]
        self.settings_file.write_text("\n".join(lines) + "\n")
        self.settings_file.chmod(0o600)

    def settings(self):
        parser = configparser.ConfigParser(strict=False, interpolation=None, comment_prefixes=("#",))
        parser.optionxform = str
        if self.settings_file.exists():
            parser.read_string(self.settings_file.read_text())
        return parser

    def setting(self, section, key):
        s = self.settings()
        return s.get(section, key, fallback=None)

    def leftovers(self):
        """whatever the program left in its temporary and runtime folders."""
        return sorted(str(p.relative_to(self.root)) for d in (self.tmp, self.run) for p in d.rglob("*"))


class Program:
    def __init__(self, profile, preload=None, prefix=None):
        """preload: a library loaded into the program before its own (a
        test's way to make a real handler fail); prefix: another install."""
        prefix = prefix or Path(os.environ["VELTRANE_PREFIX"])
        env = profile.env()
        if preload:
            env["LD_PRELOAD"] = preload
            # A sanitizer build wants its own library first; this one only
            # replaces a function of the desktop library.
            env["ASAN_OPTIONS"] = env.get("ASAN_OPTIONS", "") + ":verify_asan_link_order=0"
        self.process = subprocess.Popen([str(prefix / "bin" / "veltrane")], env=env,
                                        stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.kill()

    def running(self):
        return self.process.poll() is None

    def wait_exit(self, seconds):
        try:
            return self.process.wait(timeout=seconds)
        except subprocess.TimeoutExpired:
            raise Failure(f"the program still runs {seconds} s later") from None

    def signal(self, number):
        self.process.send_signal(number)

    def output(self):
        return self.process.stdout.read() if not self.running() else ""

    def kill(self):
        if self.running():
            self.process.send_signal(signal.SIGKILL)
            self.process.wait()


def main_window(seconds=DEADLINE):
    return MainWindow(wait_window("^Veltrane$", seconds).id)


# ---- a mailbox of the test POP3 server (tests/fixtures/pop3d) ---------------

class Mailbox:
    """Claims a free box the way the C++ tests do (tests/support/pop3d_mailbox.cpp:
    a claim folder holding the owner's pid, renamed into place) and seeds it."""

    BOXES = 64

    def __init__(self):
        self.base = Path(os.environ["POP3D_BASE"])
        self.port = int(os.environ["POP3D_PORT"])
        claims = self.base / "claims"
        staged = claims / f".staged-{os.getpid()}"
        for i in range(1, self.BOXES + 1):
            claim = claims / f"box{i}"
            staged.mkdir(mode=0o700)
            (staged / "pid").write_text(str(os.getpid()))
            try:
                staged.rename(claim)
            except OSError:
                (staged / "pid").unlink()
                staged.rmdir()
                continue
            self.claim, self.user, self.password = claim, f"box{i}", f"pw-box{i}"
            break
        else:
            raise Failure("no free mailbox on the test POP3 server")
        self.maildir = self.base / "home" / self.user / "Maildir"
        for sub in ("new", "cur", "tmp"):
            for f in (self.maildir / sub).glob("*"):
                f.unlink()

    def add(self, uidl, message):
        tmp = self.maildir / "tmp" / uidl
        tmp.write_bytes(message.encode())
        tmp.chmod(0o666)  # the server's mail processes run as another user
        tmp.rename(self.maildir / "new" / uidl)

    def log_mark(self):
        return (self.base / "log" / "dovecot.log").stat().st_size

    def sessions_since(self, mark):
        """the server's session reports for this box logged after mark."""
        with open(self.base / "log" / "dovecot.log", "rb") as log:
            log.seek(mark)
            text = log.read().decode(errors="replace")
        return re.findall(rf"pop3\({self.user}\).*Disconnected: (.*)", text)

    def release(self):
        (self.claim.parent / f"{self.user}.released").write_text(str(os.getpid()))
        (self.claim / "pid").unlink()
        self.claim.rmdir()
