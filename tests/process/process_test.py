"""The installed program as a user meets it, one case per run:
    process_test.py CASE
Runs inside tests/support/with_tray_host.sh --window-manager (a virtual
display with a window manager and a tray host)."""
import os
import re
import shutil
import signal
import sys
import tempfile
import time

from pathlib import Path

from desktop_user import (DEADLINE, Failure, Mailbox, Profile, Program, check, first_use_ok, key, main_window,
                          open_tray_menu, tray_icon, type_text, visible_windows, wait_for, wait_no_window,
                          wait_window, window_manager_caught_up, windows_named)

OPTIONS = "Settings\\Options"
LATER_START = {"Settings": {"FirstUse": "1"}}


def ends_cleanly(program, profile, seconds=DEADLINE):
    """exit status 0 within the time, sort settings written, nothing left behind."""
    status = program.wait_exit(seconds)
    check(status == 0, f"exit status {status}: {program.output()}")
    check(profile.setting(OPTIONS, "SortColumnLastUsed") is not None, "the sort settings were written")
    check(profile.leftovers() == [], f"left behind: {profile.leftovers()}")


def starts_again(profile):
    """a new start shows the window: the last one left no lock behind."""
    with Program(profile) as program:
        main_window()
        program.signal(signal.SIGTERM)
        ends_cleanly(program, profile)


def add_account(window, profile):
    """Accounts page, Add Account: the new account is stored at once."""
    window.click_at(window.page_button("Accounts"))
    window.click_at(window.accounts_bar_button("AcntAdd"))
    wait_for(lambda: profile.setting("Settings", "AcntName1"), DEADLINE, "the new account is stored")


def case_first_start(profile):
    with Program(profile) as program:
        window = main_window()
        greeting = wait_window("First Time Use")
        wait_for(lambda: profile.setting("Settings", "FirstUse") == "1", DEADLINE, "the first start is recorded")
        check(profile.setting(OPTIONS, "RunStartUp") == "1", "start with the session is switched on")
        check((profile.config / "autostart" / "Veltrane.desktop").exists(), "the autostart entry is written")
        # The greeting goes into the tray with the window at a taskbar's
        # minimise, and the tray icon brings both back.
        icon = wait_for(tray_icon, DEADLINE, "the tray holds the program's icon")
        by_request(window)
        in_the_tray(window)
        wait_no_window("First Time Use")
        by_click(icon)
        wait_for(lambda: window.viewable() and window.wm_state() == "Normal", DEADLINE, "the window is back")
        greeting = wait_window("First Time Use")
        greeting.click(*first_use_ok())
        wait_no_window("First Time Use")
        window.click_at(window.page_button("Quit"))
        ends_cleanly(program, profile)
    starts_again(profile)


def quit_by_page_button(window, profile):
    window.click_at(window.page_button("Quit"))


def quit_from_tray(window, profile):
    window.minimise()
    wait_no_window("^Veltrane$")
    icon = wait_for(tray_icon, DEADLINE, "the tray holds the program's icon")
    open_tray_menu(icon)
    key("q")  # &Quit Application


def close_box_with_close_button_off(window, profile):
    window.activate()
    key("alt+F4")


def quit_with_unsaved_account(window, profile):
    add_account(window, profile)
    type_text(" Never Saved")
    # The page bar waits for the edit to be saved or cancelled; the tray's
    # Quit does not, and the edit is dropped without a question.
    quit_from_tray(window, profile)


QUITS = [
    # name, stored settings, how the user quits
    ("the Quit page button", {}, quit_by_page_button),
    ("the tray's Quit Application", {}, quit_from_tray),
    ("the close box with CloseButton off", {OPTIONS: {"CloseButton": "0"}}, close_box_with_close_button_off),
    ("Quit with an unsaved account on the Accounts page", {}, quit_with_unsaved_account),
]


def case_quit(profile):
    for name, settings, how in QUITS:
        print(f"-- {name}")
        profile.write_settings({**LATER_START, **settings})
        with Program(profile) as program:
            window = main_window()
            how(window, profile)
            ends_cleanly(program, profile)
        check("Never Saved" not in profile.settings_file.read_text(), "an unsaved edit is not stored")
    starts_again(profile)


def case_session_end(profile):
    for number in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
        print(f"-- {signal.Signals(number).name}")
        profile.write_settings(LATER_START)
        # A message once opened in the mail client leaves its file behind.
        private = profile.tmp / f"veltrane-{os.getuid()}"
        private.mkdir(mode=0o700, exist_ok=True)
        (private / "temporary.eml").write_text("Subject: opened earlier\r\n\r\n")
        with Program(profile) as program:
            main_window()
            program.signal(number)
            ends_cleanly(program, profile)


def case_session_end_with_a_question_open(profile):
    profile.write_settings(LATER_START)
    with Program(profile) as program:
        window = main_window()
        add_account(window, profile)
        window.click_at(window.accounts_bar_button("AcntDelete"))
        question = "^Delete Account - Proceed With Caution$"
        wait_window(question)
        program.signal(signal.SIGTERM)
        ends_cleanly(program, profile)
        check(not visible_windows(question), "the question is gone")
    check(profile.setting("Settings", "AcntName1") is not None,
          "the question closed unanswered gave the answer that does least: the account stays")


def in_the_tray(window):
    wait_for(lambda: not window.viewable() and not window.listed(), DEADLINE,
             "the window leaves the screen and the window manager's list for the tray")


def back_in_front(window):
    try:
        wait_for(lambda: window.viewable() and window.wm_state() == "Normal" and window.in_front(), DEADLINE,
                 "the window is back, normal and in front")
    except Failure as failure:
        raise Failure(f"{failure} (viewable {window.viewable()}, WM_STATE {window.wm_state()}, "
                      f"active {window.in_front()})") from None


def by_request(window):
    """the window manager's request (a taskbar, a window list, a shortcut)"""
    window.minimise()


def by_title_button(window):
    """openbox's title-bar button"""
    window.click_title_button(2)


def by_close_box(window):
    """the close box, which with CloseButton on (the default) goes to the tray"""
    window.activate()
    key("alt+F4")


def by_click(icon):
    """a left click on the tray icon"""
    icon.click(8, 8)


def by_show(icon):
    """the tray menu's Show Veltrane..."""
    open_tray_menu(icon)
    key("s")  # &Show Veltrane...


def case_minimise_to_the_tray_and_back(profile):
    profile.write_settings(LATER_START)
    with Program(profile) as program:
        window = main_window()
        icon = wait_for(tray_icon, DEADLINE, "the tray holds the program's icon")
        for minimise in (by_request, by_title_button, by_close_box):
            for restore in (by_click, by_click, by_click, by_show):
                print(f"-- minimised by {minimise.__doc__}, back by {restore.__doc__}")
                minimise(window)
                in_the_tray(window)
                restore(icon)
                back_in_front(window)
        print("-- a late word of the window manager on the window in the tray")
        by_request(window)
        in_the_tray(window)
        window.report_state_late()
        by_click(icon)
        back_in_front(window)
        program.signal(signal.SIGTERM)
        ends_cleanly(program, profile)


def case_minimised_at_start(profile):
    profile.write_settings({**LATER_START, OPTIONS: {"MinimizeStartUp": "1"}})
    with Program(profile) as program:
        icon = wait_for(tray_icon, DEADLINE, "the tray holds the program's icon")
        # The menu answers from the program's loop, so the start is over.
        open_tray_menu(icon)
        window_manager_caught_up()
        listed = [w.id for w in windows_named("^Veltrane$") if w.listed()]
        check(not listed, f"only the tray icon: no window in the window manager's list, found {listed}")
        key("Escape")
        by_click(icon)
        back_in_front(main_window())
        program.signal(signal.SIGTERM)
        ends_cleanly(program, profile)


def case_session_end_with_the_tray_menu_open(profile):
    profile.write_settings(LATER_START)
    with Program(profile) as program:
        window = main_window()
        by_request(window)
        in_the_tray(window)
        open_tray_menu(wait_for(tray_icon, DEADLINE, "the tray holds the program's icon"))
        signalled = time.monotonic()
        program.signal(signal.SIGTERM)
        ends_cleanly(program, profile)
        print(f"ended {time.monotonic() - signalled:.2f} s after the signal, the menu still open")


def case_second_instance(profile):
    profile.write_settings(LATER_START)
    with Program(profile) as first:
        window = main_window()
        before = profile.settings_file.read_text()
        second = Program(profile)
        # It ends by itself; the wait covers its own start (libraries, a
        # sanitizer's set-up on a busy machine), which no rule bounds.
        status = second.wait_exit(DEADLINE)
        check(status == 0, f"the second start ends quietly, status {status}")
        check(first.running(), "the first instance runs on")
        check(visible_windows("^Veltrane$")[0].id == window.id, "with its window")
        check(profile.settings_file.read_text() == before, "the second start wrote nothing")
        first.signal(signal.SIGTERM)
        ends_cleanly(first, profile)


def message(number):
    return (f"From: Sender {number} <sender{number}@example.org>\r\nTo: user@example.org\r\n"
            f"Subject: Message {number}\r\nDate: Mon, 7 Dec 2026 10:0{number}:00 +0000\r\n"
            f"Message-ID: <{number}@example.org>\r\n\r\nBody {number}.\r\n")


def case_account_added_and_checked(profile):
    mailbox = Mailbox()
    try:
        for n in (1, 2):
            mailbox.add(f"uidl{n}", message(n))
        profile.write_settings(LATER_START)
        with Program(profile) as program:
            window = main_window()
            add_account(window, profile)
            # The name field has the focus; the others follow in tab order.
            for text in ("Home mail", "127.0.0.1", str(mailbox.port), mailbox.user, mailbox.password):
                key("ctrl+a")
                type_text(text)
                key("Tab")
            window.click_at(window.page_command(1, "tbrButtons(kSaveAccount)"))
            stored = lambda k: profile.setting("Settings", k)
            wait_for(lambda: stored("AcntName1") == "Home mail", DEADLINE, "the account is saved under its name")
            check((stored("AcntServer1"), stored("AcntPort1"), stored("AcntLoginID1")) ==
                  ("127.0.0.1", str(mailbox.port), mailbox.user), "server, port and login are saved")
            window.click_at(window.page_button("Email"))
            mark = mailbox.log_mark()
            window.click_at(window.page_command(0, "tbrButtons(kCheckAll)"))
            # The server saw the account log in and fetch both messages.
            sessions = wait_for(lambda: mailbox.sessions_since(mark), DEADLINE, "the account logs in to the server")
            check(re.search(r"Logged out .*retr=2/", sessions[0]), f"both messages fetched: {sessions}")
            program.signal(signal.SIGTERM)
            ends_cleanly(program, profile)
    finally:
        mailbox.release()


def case_settings_edited_by_hand(profile):
    # What an editor leaves: a byte-order mark, CR LF, blanks and tabs around
    # "=", a "%" typed as it is, no line end on the last line.
    profile.settings_file.parent.mkdir(parents=True, exist_ok=True)
    profile.settings_file.write_bytes(b"\xef\xbb\xbf[Settings]\r\nFirstUse = 1\r\nAcntNum\t=\t1\r\n"
                                      b"AcntName1=Home 50%\r\n[Settings\\Options]\r\nMinutes=45")
    with Program(profile) as program:
        window = main_window()
        time.sleep(1)
        check(not visible_windows("First Time Use|Settings Not Read"), "neither a greeting nor a warning")
        window.click_at(window.page_button("Quit"))
        ends_cleanly(program, profile)
    check(not list(profile.settings_file.parent.glob("settings.ini.*")), "nothing was set aside")
    check((profile.setting("Settings", "AcntNum"), profile.setting(OPTIONS, "Minutes")) == ("1", "45"),
          "what was typed is still stored")


NO_SETTINGS = bytes(4096)  # as a crash can leave a file


def settings_that_are_no_settings(profile):
    """a settings.ini that cannot be read as settings: the start sets it aside."""
    profile.settings_file.parent.mkdir(parents=True, exist_ok=True)
    profile.settings_file.write_bytes(NO_SETTINGS)


def set_aside_and_no_first_use(profile):
    copies = list(profile.settings_file.parent.glob("settings.ini.damaged-*"))
    check([c.read_bytes() for c in copies] == [NO_SETTINGS], f"the file is kept as it was: {copies}")
    check((profile.setting("Settings", "FirstUse"), profile.setting(OPTIONS, "RunStartUp")) == ("1", "0"),
          "no first use, and start with the session stored as the session does it: off")
    check(not (profile.config / "autostart" / "Veltrane.desktop").exists(), "autostart is not switched on")


KEPT = "Keep Me Caf\u00e9"
KEPT_SETTINGS = f"# Settings of ZKT\\Veltrane\n[Settings]\nFirstUse=1\nAcntNum=1\nAcntName1={KEPT}\nAcntPassword1=s3cret\n"


def quits_leaving(program, window, profile):
    """the program quits by its page button, with exit status 0."""
    window.click_at(window.page_button("Quit"))
    status = program.wait_exit(30)
    check(status == 0, f"exit status {status}: {program.output()}")


def classic_line_ends(profile):
    profile.settings_file.parent.mkdir(parents=True, exist_ok=True)
    profile.settings_file.write_bytes(KEPT_SETTINGS.replace("\n", "\r").encode())


def account_kept(profile):
    check((profile.setting("Settings", "AcntName1"), profile.setting("Settings", "AcntPassword1")) == (KEPT, "s3cret"),
          f"the account and its password are still stored: {profile.settings_file.read_bytes()!r}")
    check(not list(profile.settings_file.parent.glob("settings.ini.*")), "nothing was set aside")


def only_comments(profile):
    profile.settings_file.parent.mkdir(parents=True, exist_ok=True)
    profile.settings_file.write_text("# Settings of ZKT\\Veltrane\n# AcntNum=1\n; AcntName1=Old\n")


def comments_set_aside(profile):
    copies = list(profile.settings_file.parent.glob("settings.ini.damaged-*"))
    check([c.read_text() for c in copies] == ["# Settings of ZKT\\Veltrane\n# AcntNum=1\n; AcntName1=Old\n"],
          f"the file is kept as it was: {copies}")


def a_folder(profile):
    profile.settings_file.mkdir(parents=True)
    (profile.settings_file / "inside").write_text("mine")


def a_fifo(profile):
    profile.settings_file.parent.mkdir(parents=True, exist_ok=True)
    os.mkfifo(profile.settings_file)


def a_device_link(profile):
    profile.settings_file.parent.mkdir(parents=True, exist_ok=True)
    profile.settings_file.symlink_to("/dev/null")


def left_as_it_was(profile):
    path = profile.settings_file
    check(path.is_dir() or path.is_fifo() or (path.is_symlink() and os.readlink(path) == "/dev/null"),
          "what stands at the path is left as it was")
    check(not path.is_dir() or [p.name for p in path.iterdir()] == ["inside"], "the folder holds what it held")
    left = sorted(p.name for p in path.parent.iterdir() if p.name != "frmMain.ini")
    check(left == ["settings.ini"], f"nothing was set aside or written beside it: {left}")


def a_save_is_told_once(program, window, profile):
    """adding an account cannot be stored: one box says so."""
    window.click_at(window.page_button("Accounts"))
    window.click_at(window.accounts_bar_button("AcntAdd"))
    wait_window("^Veltrane - Accounts$").activate()
    time.sleep(1)
    check(len(visible_windows("^Veltrane - Accounts$")) == 1, "one box")
    key("Return")
    wait_no_window("^Veltrane - Accounts$")


SETTINGS_FILES = [
    # name, how the file is made, whether its box shows, what the user does then, how the files end
    ("classic line ends (CR alone)", classic_line_ends, False, None, account_kept),
    ("binary data", settings_that_are_no_settings, True, None, set_aside_and_no_first_use),
    ("only comments", only_comments, True, None, comments_set_aside),
    ("a folder", a_folder, True, a_save_is_told_once, left_as_it_was),
    ("a FIFO", a_fifo, True, a_save_is_told_once, left_as_it_was),
    ("a link to a device", a_device_link, True, None, left_as_it_was),
]


def case_settings_files_a_user_keeps(profile):
    for name, make, told, then, kept in SETTINGS_FILES:
        print(f"-- {name}")
        shutil.rmtree(profile.config / "ZKT", ignore_errors=True)
        make(profile)
        with Program(profile) as program:
            window = main_window(30)
            if told:
                wait_window("^Veltrane - Settings Not Read$", 30).activate()
                key("Return")
                wait_no_window("Settings Not Read", 30)
            else:
                time.sleep(1)
                check(not visible_windows("Settings Not Read"), "no warning")
            check(not visible_windows("First Time Use"), "no first-use greeting")
            if then:
                then(program, window, profile)
            quits_leaving(program, window, profile)
        check(not (profile.config / "autostart" / "Veltrane.desktop").exists(), "autostart is not switched on")
        kept(profile)


def case_account_number_beyond_the_stored_accounts(profile):
    account = {"FirstUse": "1", "AcntName1": KEPT, "AcntPassword1": "s3cret"}
    # The number a hand edit left, and how the start ends.
    for number, ended_by in (("32767", "SIGTERM while the box shows"), ("3", "the box answered and Quit")):
        print(f"-- AcntNum={number}, {ended_by}")
        profile.write_settings({"Settings": {**account, "AcntNum": number}})
        with Program(profile) as program:
            box = wait_window("^Veltrane - Accounts$", 30)
            if number == "32767":
                program.signal(signal.SIGTERM)
                status = program.wait_exit(30)
                check(status == 0, f"exit status {status}: {program.output()}")
            else:
                box.activate()
                key("Return")
                quits_leaving(program, main_window(30), profile)
        check(profile.setting("Settings", "AcntNum") == "1", "the number is put right")
        check(profile.setting("Settings", "AcntName2") is None, "no empty account was stored")
        account_kept(profile)
        # Told once: the next start shows the window and no box.
        with Program(profile) as program:
            window = main_window(30)
            time.sleep(1)
            check(not visible_windows("^Veltrane - Accounts$"), "the number is not told again")
            quits_leaving(program, window, profile)


def install_without_component(profile):
    """a copy of the install whose mail component library is missing."""
    source = Path(os.environ["VELTRANE_PREFIX"])
    prefix = profile.root / "prefix"
    (prefix / "bin").mkdir(parents=True, exist_ok=True)
    shutil.copy2(source / "bin" / "veltrane", prefix / "bin")
    (prefix / "share").mkdir(exist_ok=True)
    (prefix / "share" / "veltrane").symlink_to(source / "share" / "veltrane")
    libraries = prefix / "lib" / "veltrane"
    libraries.mkdir(parents=True, exist_ok=True)
    for library in (source / "lib" / "veltrane").iterdir():
        if library.name != "libqelpop3.so":
            (libraries / library.name).symlink_to(library)
    profile.write_settings(LATER_START)
    return prefix


def shut_down_after_the_start(program, profile, before):
    """the start ends as after an answer, then the shutdown runs as at any session's end."""
    ends_cleanly(program, profile)
    set_aside_and_no_first_use(profile)


def ended_before_the_window(program, profile, before):
    """the start could not finish: the program ends at once, quietly and leaving the settings alone."""
    status = program.wait_exit(DEADLINE)
    check(status == 0, f"exit status {status}: {program.output()}")
    check(profile.leftovers() == [], f"left behind: {profile.leftovers()}")
    check(profile.settings_file.read_bytes() == before, "the settings are as they were")


START_BOXES = [
    # name, how the start is made to show its box, the box, the signal, how the program ended
    ("Settings Not Read, SIGTERM", settings_that_are_no_settings, "^Veltrane - Settings Not Read$", signal.SIGTERM,
     shut_down_after_the_start),
    ("Settings Not Read, SIGHUP", settings_that_are_no_settings, "^Veltrane - Settings Not Read$", signal.SIGHUP,
     shut_down_after_the_start),
    ("the component library missing, SIGINT", install_without_component, "^Veltrane - Start$", signal.SIGINT,
     ended_before_the_window),
]


def case_session_end_while_the_start_shows_a_box(profile):
    for name, prepare, box, number, ended in START_BOXES:
        print(f"-- {name}")
        shutil.rmtree(profile.config / "ZKT", ignore_errors=True)
        prefix = prepare(profile)
        before = profile.settings_file.read_bytes()
        with Program(profile, prefix=prefix) as program:
            wait_window(box)
            program.signal(number)
            ended(program, profile, before)
            check(not visible_windows("^Veltrane"), "no window is left")
        left = sorted(p.name for p in profile.settings_file.parent.iterdir()
                      if not p.name.startswith("settings.ini.damaged-"))
        check(left in (["settings.ini"], ["frmMain.ini", "settings.ini"]), f"nothing half-written: {left}")


def case_handler_fails(profile):
    profile.write_settings(LATER_START)
    failure = "^Veltrane - Unexpected Error$"
    with Program(profile, preload=os.environ["VELTRANE_FAILING_HELP"]) as program:
        window = main_window()
        help_button = window.page_command(0, "tbrButtons(kEmailHelp)")
        window.click_at(help_button)
        box = wait_window(failure)
        box.activate()
        key("Return")  # OK
        wait_no_window(failure)
        check(program.running(), "the program goes on after the box")
        # The same failure again is told once: no second box.
        window.click_at(help_button)
        time.sleep(1)
        check(not visible_windows(failure), "the same failure is told in a box only once")
        # The program still answers its user.
        window.click_at(window.page_button("Quit"))
        ends_cleanly(program, profile)


CASES = {name[len("case_"):]: f for name, f in globals().items() if name.startswith("case_")}


def main():
    name = sys.argv[1]
    with tempfile.TemporaryDirectory(prefix="profile.", dir=os.environ.get("TMPDIR")) as root:
        try:
            CASES[name](Profile(root))
        except Failure as failure:
            print(f"FAIL {name}: {failure}")
            return 1
    print(f"PASS {name}")
    return 0


if __name__ == "__main__":
    sys.exit(main())

