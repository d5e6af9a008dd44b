#!/usr/bin/python3
"""The insertion road of the real quipstream.exe under Wine: the saved
hotkey opens the snippet menu, the keyboard walks it (into a group submenu)
and picks, and the probe window logs what arrives: the posted characters,
the key tags' keystrokes and, by their message times, each key tag's 50 ms
pause. Also a long text across two fields, and Wine's own notepad.

  test_insertion.py --list | [NAME...]
Needs QS_EXE, QS_PROBE and QS_WINE_TEMPLATE (ctest sets them).
"""

import os
import random
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "wine"))
from qswine import WineSession, hold_for, log, run_tests, wait_for  # noqa: E402
from settings_xml import Entry, Settings, trim  # noqa: E402

TITLE = "Quipstream"
START_TIMEOUT = 30
KEY_TAG_PAUSE_MS = 50

GREETING = "Съешь же ещё этих мягких французских булок, да выпей чаю.\r\nЁлка — №1!"
KEYS = "a[TAB]b[ENTER]c[CTRLENTER]d[RIGHT][LEFT]e[UP][DOWN]"
SIGNATURE = "С уважением,\r\nIvan Petrov"

ENTRIES = [
    Entry("Привет", GREETING),
    Entry("Вход", "login[TAB]пароль", "Работа"),
    Entry("Клавиши", KEYS, "Работа"),
    Entry("Подпись", SIGNATURE, "Дом"),
]
GROUPS = ["Работа", "Дом"]  # the menu: Привет, Работа ▸ (Вход, Клавиши), Дом ▸ (Подпись)

VK_TAB, VK_RETURN, VK_CONTROL = 0x09, 0x0D, 0x11
CTRL_SCAN = 0x1D
KEY_TAGS = {"TAB": VK_TAB, "ENTER": VK_RETURN, "RIGHT": 0x27, "LEFT": 0x25, "UP": 0x26,
            "DOWN": 0x28}


def settings(hot=0xC04B, entries=ENTRIES, groups=GROUPS):
    # Monitoring on only for the tray menu's "Очистить историю буфера", which
    # reloads Settings.xml; the clipboard of a fresh display is empty.
    return Settings(entries=entries, groups=groups, hot=hot, buff=True)


def start(session):
    exe = session.run_exe()
    shown = wait_for(lambda: session.xevents.maps(pid=exe.pid, title=TITLE), START_TIMEOUT,
                     "the main window to be shown")[0]
    wait_for(lambda: session.xevents.unmaps(shown["window"], since=shown["t"]), 10,
             "the main window to hide into the tray")
    return exe


def key_tag_events(tag, field):
    """What the probe logs for one key tag: release, press, release, extended
    and without a scan code; Ctrl+Enter is that Enter inside Ctrl down and up
    with Ctrl's real scan code. Tab moves the focus to the other field, so
    its last release lands there."""
    def triple(vk, after_press=field):
        return [("WM_KEYUP", field, vk, 0, 1), ("WM_KEYDOWN", field, vk, 0, 1),
                ("WM_KEYUP", after_press, vk, 0, 1)]
    if tag == "CTRLENTER":
        return ([("WM_KEYDOWN", field, VK_CONTROL, CTRL_SCAN, 0)] + triple(VK_RETURN)
                + [("WM_KEYUP", field, VK_CONTROL, CTRL_SCAN, 0)])
    return triple(KEY_TAGS[tag], 1 - field if tag == "TAB" else field)


# The characters the probe's TranslateMessage makes of a key tag's press:
# Enter gives CR, Ctrl+Enter LF; the dialog handling takes Tab, and arrows
# give none.
TRANSLATED = {"ENTER": "\r", "CTRLENTER": "\n"}


def expected_events(text, field=0):
    """The probe's events for a picked text of literals and key tags: the
    posted characters and keystrokes as groups ("chars", events) and
    ("key", events), and apart from them the characters translated from the
    keys, as (field, character) pairs."""
    groups, translated = [], []
    rest = trim(text)
    while rest:
        literal, bracket, after = rest.partition("[")
        if literal:
            groups.append(("chars", [("WM_CHAR", field, ord(c)) for c in literal]))
        if not bracket:
            break
        tag, _, rest = after.partition("]")
        groups.append(("key", key_tag_events(tag, field)))
        translated += [(field, c) for c in TRANSLATED.get(tag, "")]
        if tag == "TAB":
            field = 1 - field
    return groups, translated


def as_tuple(event):
    if event["msg"] == "WM_CHAR":
        return event["msg"], event["field"], event["code"]
    return event["msg"], event["field"], event["vk"], event["scan"], event["ext"]


PICKING_RETURN_SCAN = 0x1C  # xdotool's Return, released over the probe once the menu closed


def received_since(probe, mark):
    """The posted characters and the keystrokes after the mark, in message
    time order, and apart from them the characters translated from keys
    (their lparam is the key's; a posted character's is 0). A translated
    character's time is when the probe translated the press, so it may
    come before or after the key's last release."""
    events = [e for e in probe.events_since(mark, "WM_CHAR", "WM_KEYDOWN", "WM_KEYUP",
                                            "WM_SYSKEYDOWN", "WM_SYSKEYUP", "WM_SYSCHAR")
              if not (e["msg"] == "WM_KEYUP" and e["vk"] == VK_RETURN
                      and e["scan"] == PICKING_RETURN_SCAN)]
    translated = [(e["field"], chr(e["code"])) for e in events
                  if e["msg"] == "WM_CHAR" and e["lparam"] != 0]
    return [e for e in events if e["msg"] != "WM_CHAR" or e["lparam"] == 0], translated


def short(text, length=60):
    return text if len(text) <= length else text[:length] + "…"


def first_difference(got, expected):
    return next(i for i in range(max(len(got), len(expected)))
                if i >= min(len(got), len(expected)) or got[i] != expected[i])


def check_received(probe, mark, text, timeout=10):
    """Waits until the probe has logged exactly the events of the picked text
    (in message-time order) and checks each key tag's pause."""
    groups, translated = expected_events(text)
    expected = [event for _, events in groups for event in events]

    def count():
        events, chars = received_since(probe, mark)
        return len(events) + len(chars)
    total = len(expected) + len(translated)
    wait_for(lambda: count() >= total, timeout,
             lambda: f"{total} events for {short(text)!r} (seen {count()})")
    hold_for(lambda: count() == total, 0.3, "no more events arrive")
    received, received_translated = received_since(probe, mark)
    got = [as_tuple(e) for e in received]
    if got != expected:
        first = first_difference(got, expected)
        raise AssertionError(f"the probe's events for {short(text)!r} differ from event {first} on:\n"
                             f"  expected {expected[first:first + 6]}\n"
                             f"  got      {got[first:first + 6]}")
    if received_translated != translated:
        raise AssertionError(f"characters made of the keys of {short(text)!r}: "
                             f"{received_translated}, not {translated}")
    # Each key tag's pause shows as a gap of at least 50 ms between its last
    # event and whatever follows it. Message times are milliseconds of one
    # clock, taken before and after the program's Sleep.
    position = 0
    for kind, events in groups:
        position += len(events)
        if kind == "key" and position < len(received):
            gap = received[position]["time"] - received[position - 1]["time"]
            if gap < KEY_TAG_PAUSE_MS:
                raise AssertionError(f"only {gap} ms after the key tag ending at event "
                                     f"{position - 1} of {short(text)!r}")
            log(f"key tag pause before event {position}: {gap} ms")


def in_field(text):
    """A field's text after these characters were posted to it: the EDIT
    control turns each CR and each LF into a line break of its own."""
    return "".join("\r\n" if c in "\r\n" else c for c in text)


def open_snippet_menu(session, exe, hotkey):
    since = time.monotonic()
    session.key(hotkey)
    menu = session.wait_for_new_popup_menu(exe.pid, since)
    session.focus_x_window(menu)  # keys reach a popup menu only so
    return menu


def pick(session, exe, hotkey, walk, photo=None):
    """Presses the hotkey over the probe's first field, walks the menu with
    the keys of walk, the last of which picks; returns the probe's mark
    taken just before the pick. photo names an artifact for a picture of
    the open menus, taken once the walk's next to last key has moved the
    highlight."""
    session.probe.focus_field(0)
    session.key("ctrl+End")  # the click put the caret somewhere in the text
    since = time.monotonic()
    menu = open_snippet_menu(session, exe, hotkey)
    moves = walk[:-2] if photo else walk[:-1]
    if moves:
        session.key(*moves)
    menus = [menu]
    if "Right" in moves:
        menus.append(wait_for(lambda: [e["window"] for e in session.xevents.maps(
                                           pid=exe.pid, since=since)
                                       if not e["title"] and e["window"] != menu],
                              10, "the group submenu to open")[0])
    if photo:
        before = session.picture_of(menus)
        session.key(walk[-2])
        picture = wait_for(lambda: (lambda p: p != before and p)(session.picture_of(menus)),
                           10, f"the menu's highlight to move with {walk[-2]}")
        if session.artifact_path(photo):
            with open(session.artifact_path(photo), "wb") as f:
                f.write(picture)
    mark = session.probe.mark()
    session.key(walk[-1])
    session.wait_for_menus_closed(menus)
    return mark


def reload_with_hotkey(session, exe, hot):
    """Writes Settings.xml with another hotkey and has the program reload it
    through the tray menu's "Очистить историю буфера"."""
    session.write_settings(settings(hot=hot))
    session.click_tray_icon(button=3)
    menu = session.wait_for_popup_menu(exe.pid)
    session.focus_x_window(menu)
    session.key("Down", "Return")
    session.wait_for_menus_closed([menu])


# (hotkey value in Settings.xml, the keys xdotool presses, the menu walk, the entry picked)
PICKS = [
    (0xC04B, "ctrl+alt+k", ["Down", "Return"], GREETING),
    (0xE079, "shift+ctrl+alt+F10", ["Down", "Down", "Right", "Down", "Return"], KEYS),
    (0x8026, "alt+Up", ["Up", "Right", "Return"], SIGNATURE),  # Alt alone
    (0x2021, "shift+Prior", ["Up", "Right", "Return"], SIGNATURE),  # Shift alone, Shift+PgUp
]


def test_hotkeys_menu_and_keys():
    """Each saved hotkey opens the menu over the probe; the picked entry
    arrives as exactly its characters (Cyrillic as UTF-16, CR LF as two
    characters) and its key tags as exactly their keystrokes, each followed
    by its pause; characters after a Tab follow the focus to the next field."""
    with WineSession(settings=settings(hot=PICKS[0][0])) as s:
        exe = start(s)
        wait_for(lambda: s.tray_icon_count() == 1, 10, "the tray icon")
        previous = None
        for hot, hotkey, walk, text in PICKS:
            log(f"hotkey {hotkey}, walk {' '.join(walk)}")
            if previous:
                reload_with_hotkey(s, exe, hot)
                if previous == PICKS[0][1]:
                    # The reload replaced the registration: the old keys are dead.
                    s.probe.focus_field(0)
                    since = time.monotonic()
                    s.key(previous)
                    hold_for(lambda: not s.xevents.maps(pid=exe.pid, since=since), 0.5,
                             f"{previous} opens no menu after the reload")
            photo = "snippet-menu.png" if "Right" in walk and text == KEYS else None
            mark = pick(s, exe, hotkey, walk, photo)
            check_received(s.probe, mark, text)
            previous = hotkey
        # Enter and Ctrl+Enter broke the line; Left put the caret before d.
        expected = [in_field(GREETING + "a" + trim(SIGNATURE) * 2), "b\r\nc\r\ned"]
        s.probe.wait_texts(expected)


def long_text(length, seed):
    """Cyrillic and Latin words in lines, starting and ending with a letter."""
    rng = random.Random(seed)
    words = ("съешь же ещё этих мягких французских булок да выпей чаю Ёжик "
             "the quick brown fox jumps over the lazy dog №42 — «кавычки»").split()
    text = ""
    while len(text) < length:
        text += rng.choice(words) + rng.choice([" "] * 8 + [", "] * 3 + ["\r\n"])
    return text[:length - 1].rstrip(" ,\r\n") + "."


def test_long_text_two_fields():
    """2,000 characters with [ENTER] and [TAB] into the probe's two fields:
    the first holds everything before the Tab, the second everything after,
    each character exactly once and in order."""
    first, second, third = long_text(700, 1), long_text(600, 2), long_text(690, 3)
    text = first + "[ENTER]" + second + "[TAB]" + third
    assert len(first + second + third) + len("[ENTER][TAB]") == 2002
    with WineSession(settings=settings(entries=[Entry("Длинный", text)], groups=[])) as s:
        exe = start(s)
        mark = pick(s, exe, "ctrl+alt+k", ["Down", "Return"])
        # Enter's translated CR broke the line in the first field.
        expected = [in_field(first + "\r" + second), in_field(third)]
        wait_for(lambda: s.probe.texts() == expected, 60,
                 lambda: "the fields to hold the text's two parts (they hold "
                         f"{[len(t) for t in s.probe.texts() or []]} characters "
                         f"of {[len(t) for t in expected]})")
        for field, part in ((0, first + second), (1, third)):
            posted = s.probe.posted_text_since(mark, field)
            if posted != part:
                at = first_difference(posted, part)
                raise AssertionError(f"field {field} was posted {len(posted)} characters, not "
                                     f"its {len(part)}; from {at} on: {posted[at:at + 40]!r}")
        check_received(s.probe, mark, text)


def test_notepad():
    """An entry typed into Wine's notepad and read back through its Copy."""
    with WineSession(settings=settings()) as s:
        exe = start(s)
        s.wine(["notepad"], label="notepad")
        # notepad's X window carries the pid of the process Wine started for it.
        window = wait_for(lambda: s.xevents.maps(title="Untitled - Notepad"), START_TIMEOUT,
                          "notepad's window")[0]["window"]
        x, y, width, height, _ = s.window_geometry(window)
        s.click(x + width // 2, y + height // 2)  # makes notepad Wine's active window
        s.focus_x_window(window)
        menu = open_snippet_menu(s, exe, "ctrl+alt+k")
        s.key("Down", "Return")
        s.wait_for_menus_closed([menu])
        # The EDIT turns the posted CR and LF into a line break each, and
        # Wine hands CR LF to X as LF.
        expected = "".join("\n" if c in "\r\n" else c for c in GREETING)

        def copied():
            s.click(x + width // 2, y + height // 2)
            s.focus_x_window(window)
            s.key("ctrl+a", "ctrl+c")
            return s.get_clipboard() == expected
        wait_for(copied, 10, lambda: f"notepad to hold {expected!r} "
                                     f"(its Copy gave {s.get_clipboard()!r})", interval=0.3)


if __name__ == "__main__":
    sys.exit(run_tests(globals()))
