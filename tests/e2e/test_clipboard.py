#!/usr/bin/python3
"""The clipboard under Wine: the number tags read what an X program put on
the clipboard; with monitoring on, copied texts become the history in
"Буфер обмена" and the tray hint counts them.

  test_clipboard.py --list | [NAME...]
Needs QS_EXE, QS_PROBE and QS_WINE_TEMPLATE (ctest sets them).
"""

import os
import struct
import sys
import time
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "wine"))
from qswine import WineSession, log, run_tests, wait_for  # noqa: E402
from settings_xml import Entry, Settings, trim  # noqa: E402

TITLE = "Quipstream"
START_TIMEOUT = 30

NUMBER_ENTRY = "Сумма: [Ч. из буфера] ([Ч. из буфера текстом])"
NO_NUMBER = "В БУФЕРЕ ОБМЕНА НЕТ ЧИСЕЛ!"
NO_TEXT = "БУФЕР ОБМЕНА НЕ СОДЕРЖИТ ТЕКСТ!"


def tiny_png():
    """A 1×1 red PNG: clipboard contents without any text."""
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 1, 1, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(b"\x00\xff\x00\x00")) + chunk(b"IEND", b""))


def start(session):
    exe = session.run_exe()
    shown = wait_for(lambda: session.xevents.maps(pid=exe.pid, title=TITLE), START_TIMEOUT,
                     "the main window to be shown")[0]
    wait_for(lambda: session.xevents.unmaps(shown["window"], since=shown["t"]), 10,
             "the main window to hide into the tray")
    wait_for(lambda: session.tray_icon_count() == 1, 10, "the tray icon")
    return exe


def pick(session, exe, walk):
    """Ctrl+Alt+K over the probe's first field, then the menu walk, whose
    last key picks; returns the probe's mark taken just before the pick."""
    session.probe.focus_field(0)
    session.key("ctrl+End")  # the click put the caret somewhere in the text
    since = time.monotonic()
    session.key("ctrl+alt+k")
    menu = session.wait_for_new_popup_menu(exe.pid, since)
    session.focus_x_window(menu)  # keys reach a popup menu only so
    if walk[:-1]:
        session.key(*walk[:-1])
    menus = wait_for(lambda: [e["window"] for e in session.xevents.maps(pid=exe.pid, since=since)
                              if not e["title"]],
                     10, "the menus to open")
    mark = session.probe.mark()
    session.key(walk[-1])
    session.wait_for_menus_closed(menus)
    return mark


# What the clipboard holds (text, or a PNG picture without text) and what
# the entry NUMBER_ENTRY then types.
NUMBER_CASES = [
    ("Итого: 1 234,56", "Сумма: 1 (один)"),
    ("-0042 руб.", "Сумма: 0042 (сорок два)"),
    ("без чисел", f"Сумма: {NO_NUMBER} ({NO_NUMBER})"),
    (tiny_png(), f"Сумма: {NO_TEXT} ({NO_TEXT})"),
]


def test_number_tags():
    """[Ч. из буфера] and [Ч. из буфера текстом] read the clipboard an X
    program set, when the tag is reached."""
    settings = Settings(entries=[Entry("Число", NUMBER_ENTRY)])
    with WineSession(settings=settings) as s:
        exe = start(s)
        for clipboard, expected in NUMBER_CASES:
            if isinstance(clipboard, bytes):
                s.set_clipboard_data(clipboard, "image/png")
            else:
                s.set_clipboard(clipboard)
            log(f"clipboard {clipboard[:20]!r}")
            mark = pick(s, exe, ["Down", "Return"])
            s.probe.wait_posted_text(mark, expected)


def hint(entries, history):
    return f"Quipstream\r\n[основных записей: {entries}]\r\n[буфера обмена: {history}]"


def test_history_and_tray_hint():
    """Three texts copied while monitoring is on become three history items;
    the second, picked from "Буфер обмена", is typed trimmed and whole; the
    tray hint counts the main entries and the history."""
    second = "  Второй текст — длиннее\r\nтридцати символов: Ёё\r\n"
    copies = ["первый", second, "third"]
    settings = Settings(entries=[Entry("Привет", "мир"), Entry("Вход", "login", "Работа")],
                        groups=["Работа"], buff=True)
    with WineSession(settings=settings) as s:
        exe = start(s)
        s.hover_tray_icon()

        def tips():
            return s.tray_tips()
        # Monitoring with nothing captured leaves the start-up hint.
        wait_for(lambda: tips() == ["Quipstream"], 10,
                 lambda: f"the tray hint to read 'Quipstream' (seen {tips()!r})", interval=0.2)
        for count, text in enumerate(copies, 1):
            s.set_clipboard(text)
            # One item per copy: the next copy only once this one is taken.
            # Ungrouped entries and groups count as main entries: 2.
            wait_for(lambda: tips() == [hint(2, count)], 10,
                     lambda: f"the tray hint to count {count} history item(s) "
                             f"(seen {tips()!r})", interval=0.2)
        # The menu: Привет, Работа ▸, Буфер обмена ▸ (первый, Второй…, third).
        mark = pick(s, exe, ["Up", "Right", "Down", "Return"])
        s.probe.wait_posted_text(mark, trim(second))
        s.probe.wait_texts([trim(second).replace("\r\n", "\r\n\r\n"), ""])


if __name__ == "__main__":
    sys.exit(run_tests(globals()))
