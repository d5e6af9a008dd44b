#!/usr/bin/python3
"""Start-up and lifecycle of the real quipstream.exe under Wine: the main
window with and without Settings.xml, the tray icon, the single instance,
"Выход" from the tray menu, the autostart value and an unreadable file.

  test_startup.py --list | [NAME...]
Needs QS_EXE, QS_PROBE and QS_WINE_TEMPLATE (ctest sets them).
"""

import functools
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "wine"))
from qswine import WineSession, hold_for, log, run_tests, wait_for  # noqa: E402
from settings_xml import Entry, Settings  # noqa: E402

TITLE = "Quipstream"
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
RUN_VALUE = "Quipstream"

# Wine takes 1 to 4 s to start a program, more on a loaded machine.
START_TIMEOUT = 30
# With Settings.xml the main window hides about 100 ms after it is shown
# (seen: 65 to 170 ms under Wine).
HIDE_WITHIN = 1.5
# How long a window must stay as it is to count as staying: ten times the
# start-up timer's delay and more.
STEADY = 1.5


def settings(**options):
    return Settings(entries=[Entry("Привет", "Привет, мир!")], **options)


def start(session):
    """Starts the program; returns its process and the map event of its main
    window. The session has started the probe before."""
    exe = session.run_exe()
    shown = wait_for(lambda: session.xevents.maps(pid=exe.pid, title=TITLE), START_TIMEOUT,
                     "the main window \"Quipstream\" to be shown")[0]
    return exe, shown


def wait_hidden(session, shown):
    unmapped = wait_for(lambda: session.xevents.unmaps(shown["window"], since=shown["t"]),
                        10, "the main window to be hidden")[0]
    delay = unmapped["t"] - shown["t"]
    log(f"the main window was hidden {delay:.3f} s after it was shown")
    if delay > HIDE_WITHIN:
        raise AssertionError(f"the main window was hidden {delay:.3f} s after it was shown, "
                             f"not about 100 ms")


def wait_tray_icons(session, count, timeout=START_TIMEOUT):
    wait_for(lambda: session.tray_icon_count() == count, timeout,
             lambda: f"{count} icon(s) in the tray (seen {session.tray_icon_count()})")


def assert_running(process, what):
    if process.poll() is not None:
        raise AssertionError(f"{what}: the program ended with {process.returncode}")


def choose_exit(session, exe):
    """Right-clicks the tray icon and picks "Выход", the menu's last item."""
    session.click_tray_icon(button=3)
    menu = session.wait_for_popup_menu(exe.pid)
    session.focus_x_window(menu)
    session.key("Up", "Return")


def test_without_settings():
    with WineSession() as s:
        exe, shown = start(s)
        wait_tray_icons(s, 1)
        hold_for(lambda: not s.xevents.unmaps(shown["window"]) and exe.poll() is None, STEADY,
                 "the main window stays shown for the first configuration")
        if not s.is_window_visible(shown["window"]):
            raise AssertionError("the main window is not viewable")


def test_with_settings():
    with WineSession(settings=settings()) as s:
        exe, shown = start(s)
        wait_hidden(s, shown)
        wait_tray_icons(s, 1)
        hold_for(lambda: not s.is_window_visible(shown["window"]) and exe.poll() is None, STEADY,
                 "the program stays in the tray with its window hidden")


def test_second_instance():
    with WineSession(settings=settings()) as s:
        first, shown = start(s)
        wait_hidden(s, shown)
        wait_tray_icons(s, 1)
        second = s.run_exe()
        wait_for(lambda: second.poll() is not None, 10, "the second copy to end")
        shown_by_second = s.xevents.maps(pid=second.pid)
        if shown_by_second:
            raise AssertionError(f"the second copy showed windows: {shown_by_second}")
        if s.tray_icon_count() != 1:
            raise AssertionError(f"{s.tray_icon_count()} tray icons after the second start")
        assert_running(first, "after the second start")
        if s.is_window_visible(shown["window"]):
            raise AssertionError("the second start showed the first copy's window")


def exit_from_tray_menu(settings_file):
    with WineSession(settings=settings_file) as s:
        exe, shown = start(s)
        if settings_file is not None:
            wait_hidden(s, shown)
        wait_tray_icons(s, 1)
        choose_exit(s, exe)
        code = wait_for(lambda: exe.poll() is not None and (exe.returncode,), START_TIMEOUT,
                        "the program to end after \"Выход\"")[0]
        if code != 0:
            raise AssertionError(f"the program ended with exit code {code}")
        wait_tray_icons(s, 0, timeout=10)


test_exit_from_tray_menu_in_tray = functools.partial(exit_from_tray_menu, settings())
test_exit_from_tray_menu_first_configuration = functools.partial(exit_from_tray_menu, None)


def autostart(enabled, stale_value):
    """The load that follows the start writes the Run value (the exe's own
    Windows path, no quotes, even with a space in it) or removes it."""
    with WineSession(settings=settings(auto=enabled)) as s:
        expected = s.winepath(s.exe) if enabled else None
        s.reg_add(RUN_KEY, RUN_VALUE, stale_value(s))
        exe, shown = start(s)
        wait_hidden(s, shown)
        wait_for(lambda: s.reg_query(RUN_KEY, RUN_VALUE) == expected, START_TIMEOUT,
                 lambda: f"the Run value to be {expected!r} "
                         f"(seen {s.reg_query(RUN_KEY, RUN_VALUE)!r})")
        assert_running(exe, "after the autostart value was written")


# With autostart on, a value left by a copy in another folder is replaced.
test_autostart_on = functools.partial(autostart, True, lambda s: r"C:\Old Place\quipstream.exe")
test_autostart_off = functools.partial(autostart, False, lambda s: s.winepath(s.exe))


def test_corrupt_settings():
    corrupt = settings().to_xml()[:60]
    with WineSession(settings=corrupt) as s:
        exe, shown = start(s)
        wait_hidden(s, shown)
        # The error report: a message box with the application title.
        report = wait_for(
            lambda: [m for m in s.xevents.maps(pid=exe.pid, title=TITLE, since=shown["t"])
                     if m["window"] != shown["window"]],
            START_TIMEOUT, "the error report of the unreadable Settings.xml")[0]
        wait_tray_icons(s, 1)
        with open(s.settings_path, "rb") as f:
            if f.read() != corrupt:
                raise AssertionError("Settings.xml was changed or replaced")
        # The report is dismissed with Enter and the program carries on in the tray.
        s.focus_x_window(report["window"])
        s.key("Return")
        wait_for(lambda: s.xevents.unmaps(report["window"]), 10, "the error report to close")
        hold_for(lambda: exe.poll() is None and not s.is_window_visible(shown["window"]), STEADY,
                 "the program stays in the tray after the error")
        if not os.path.exists(s.settings_path):
            raise AssertionError("Settings.xml is gone")


if __name__ == "__main__":
    sys.exit(run_tests(globals()))
