#!/usr/bin/python3
"""The editing windows of the real quipstream.exe under Wine: the settings
window opened from the tray, the entry editor and the group manager, driven
with the mouse and keys as a user would, read through winread.exe, and the
Settings.xml they save decoded by the program's own reader.

  test_editing.py --list | [NAME...]
Needs QS_EXE, QS_PROBE and QS_WINE_TEMPLATE (ctest sets them), winread.exe
beside the probe and qs_settings_dump (editing.settings_dump_tool).
"""

import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "wine"))
from qswine import WineSession, WaitTimeout, hold_for, run_tests, wait_for  # noqa: E402
from settings_xml import Entry, Settings  # noqa: E402
from editing import (WinRead, drag, keys_to, paste, read_settings,  # noqa: E402
                     type_latin, x_window, x_window_picture)

TITLE = "Quipstream"
START_TIMEOUT = 30
NO_GROUP = "Без группы"
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"

ADD_TITLE = "Добавление записи"
EDIT_TITLE = "Редактирование записи"
GROUPS_TITLE = "Управление группами"
ADD_GROUP_TITLE = "Добавление группы"
ROW_BUTTONS = ("Редактировать", "Удалить", "Переместить выше", "Переместить ниже")

# The hotkey field's value: the key, and its modifiers in the high byte
# (HOTKEYF_SHIFT 1, HOTKEYF_CONTROL 2, HOTKEYF_ALT 4).
CTRL_ALT_J_FIELD = 0x064A
CTRL_ALT_J = 0xC04A  # the same as the saved shortcut value
SHIFT_CTRL_F5_FIELD = 0x0374

# Drags start this far into a row, clicks 40 pixels in: a press near the
# previous one within the double-click time would be a double click, which
# edits the row.
DRAG_X = 120

START_ROWS = [
    ("Привет", "Привет, мир!", NO_GROUP),
    ("Адрес", "г. Москва,\r\nул. Тверская, 1", "Дом"),
    ("Телефон", "+7 900 000-00-00", NO_GROUP),
]
SIGNATURE = ("Подпись", "Best regards,\r\nIvan", NO_GROUP)
GREETING = ("Greeting", "Hello[TAB]World", "Работа")


def start_settings():
    return Settings(entries=[Entry(*row) for row in START_ROWS], groups=["Дом"], hot=0xC04B)


class Flow:
    """The program, the session and the window reader of one test, with the
    steps that the test repeats."""

    def __init__(self, session, reader):
        self.s = session
        self.w = reader
        self.exe = session.run_exe()
        shown = wait_for(lambda: session.xevents.maps(pid=self.exe.pid, title=TITLE),
                         START_TIMEOUT, "the main window to be shown")[0]
        self.main_x = shown["window"]
        wait_for(lambda: session.xevents.unmaps(self.main_x, since=shown["t"]), 10,
                 "the main window to hide into the tray")
        wait_for(lambda: session.tray_icon_count() == 1, 10, "the tray icon")
        self.main = None  # the settings window as read last

    # the settings window

    def wait_main(self, check, what):
        self.main = self.w.wait_state(self.main["hwnd"], check, what)
        return self.main

    def wait_rows(self, rows, selected, what):
        """Waits until the list shows exactly these rows with this selection."""
        rows = [list(r) for r in rows]
        return self.wait_main(lambda m: m.control(cls="SysListView32").texts() == rows
                              and m.control(cls="SysListView32").selected_rows() == selected,
                              f"the list to show {what}")

    def list(self):
        return self.main.control(cls="SysListView32")

    def click(self, caption, window=None):
        self.s.click(*(window or self.main).control(text=caption).center)

    def opened_settings_window(self, since):
        wait_for(lambda: self.s.xevents.maps(pid=self.exe.pid, title=TITLE, since=since), 10,
                 "the settings window to be shown")
        self.main = self.w.wait_window(TITLE, "the settings window", dialog=False)
        return self.main

    def hidden_settings_window(self):
        self.w.wait_gone(self.main["hwnd"], "the settings window")

    def message(self, since, expected, what):
        """A message box of the program shown after since: checks its text and
        returns it with its X window."""
        box = self.w.wait_window(TITLE, what, dialog=True)
        text = self.w.message_text(box)
        if text != expected:
            raise AssertionError(f"{what}: the message reads {text!r}, not {expected!r}")
        return box, x_window(self.s, self.exe.pid, TITLE, since)

    def answer(self, box, box_x, key, back_to_x):
        """Presses key in a message box and gives the X focus back to the
        window under it, since keys go nowhere once the focused window closed."""
        keys_to(self.s, box_x, key)
        self.w.wait_gone(box["hwnd"], "the message box")
        self.s.focus_x_window(back_to_x)

    # the entry editor

    def wait_editor(self, title, since):
        editor = self.w.wait_window(title, "the entry editor")
        return editor, x_window(self.s, self.exe.pid, title, since)

    @staticmethod
    def editor_fields(editor):
        """The menu-text field and the inserted-text field (the multi-line one)."""
        multiline = 0x0004  # ES_MULTILINE
        fields = editor.controls(cls="Edit")
        menu = [e for e in fields if not e["style"] & multiline]
        inserted = [e for e in fields if e["style"] & multiline]
        if len(menu) != 1 or len(inserted) != 1:
            raise AssertionError(f"the editor's fields: {fields}")
        return menu[0], inserted[0]

    def editor_state(self, editor):
        editor = self.w.dump(editor["hwnd"])
        menu, inserted = self.editor_fields(editor)
        return menu["text"], inserted["text"], editor.control(cls="ComboBox").selected_item()

    def wait_editor_state(self, editor, menu, inserted, group, what):
        expected = (menu, inserted, group)
        seen = []

        def holds():
            seen[:] = [self.editor_state(editor)]
            return seen[0] == expected
        try:
            wait_for(holds, 10, f"the editor to hold {expected} after {what}")
        except WaitTimeout as error:
            raise WaitTimeout(f"{error}; it holds {seen[0] if seen else None}") from None

    # the snippet menu

    def open_snippet_menu(self, keys):
        """Presses keys over the probe's first field; returns the snippet
        menu's X window once its picture is steady."""
        self.s.probe.focus_field(0)  # the pointer rests there: the menu opens at it
        since = time.monotonic()
        self.s.key(keys)
        menu = self.s.wait_for_new_popup_menu(self.exe.pid, since)
        pictures = []

        def steady():
            pictures.append(x_window_picture(self.s, menu))
            return len(pictures) > 1 and pictures[-1] == pictures[-2]
        wait_for(steady, 5, "the snippet menu to be drawn", interval=0.1)
        return menu, pictures[-1]

    def pick_greeting(self, menu):
        """Walks the open menu to the last group, "Работа", and picks its only
        entry; the probe must receive its text, split by the [TAB] key tag."""
        mark = self.s.probe.mark()
        keys_to(self.s, menu, "Up", "Right", "Return")
        self.s.wait_for_menus_closed([menu])
        for field, text in ((0, "Hello"), (1, "World")):
            self.s.probe.wait_posted_text(mark, text, field=field)


def save_picture(session, name, picture):
    path = session.artifact_path(name)
    if path:
        with open(path, "wb") as f:
            f.write(picture)
    return path


def test_edit_save_change_cancel():
    """One user at work. The first visit (double-click on the tray icon)
    adds an entry with a line break and a Cyrillic menu text, saved by Enter
    in the menu-text field; adds an entry with a tag from its button, in a
    group made in the group manager (Insert, pasted name, Esc); moves an
    entry up by button and another by drag and drop; refuses to save with the
    hotkey field cleared; takes Ctrl+Alt+J pressed into the field, ticks
    monitoring and saves: the file must hold exactly that. The second visit
    ("Настройки" in the tray menu) deletes an entry, edits one (Ctrl+Backspace
    cut), deletes a group, moves by the right-click menu, changes the hotkey
    and both options, and cancels: the file, the autostart value and the
    snippet menu must be as saved."""
    with WineSession(settings=start_settings()) as s, WinRead(s) as w:
        f = Flow(s, w)

        # --- first visit: double-click on the tray icon -------------------------
        since = time.monotonic()
        s.click_tray_icon(button=1, repeat=2)
        f.opened_settings_window(since)
        f.wait_rows(START_ROWS, [], "the saved entries")
        if any(f.main.buttons_enabled(*ROW_BUTTONS).values()):
            raise AssertionError(f"row commands enabled with no row selected: "
                                 f"{f.main.buttons_enabled(*ROW_BUTTONS)}")
        saved_before = open(s.settings_path, "rb").read()

        # An entry with a line break; Enter in the menu-text field saves it.
        since = time.monotonic()
        f.click("Добавить")
        editor, editor_x = f.wait_editor(ADD_TITLE, since)
        f.wait_editor_state(editor, "", "", NO_GROUP, "opening it to add")
        menu_field, text_field = f.editor_fields(editor)
        s.click(*text_field.center)
        type_latin(s, "Best regards,")
        s.key("Return")  # a line break in the inserted-text field
        type_latin(s, "Ivan")
        s.click(*menu_field.center)
        paste(s, SIGNATURE[0])
        f.wait_editor_state(editor, *SIGNATURE, "typing")
        keys_to(s, editor_x, "Return")
        w.wait_gone(editor["hwnd"], "the entry editor after Enter")
        rows = START_ROWS + [SIGNATURE]
        f.wait_rows(rows, [], "the new entry at the end")

        # The next one starts in the group of the selected row, "Дом".
        s.click(*f.list().row_center(1))
        f.wait_rows(rows, [1], "the clicked row selected")
        since = time.monotonic()
        f.click("Добавить")
        editor, editor_x = f.wait_editor(ADD_TITLE, since)
        f.wait_editor_state(editor, "", "", "Дом", "opening it with a row of Дом selected")
        menu_field, text_field = f.editor_fields(editor)
        s.click(*menu_field.center)
        type_latin(s, GREETING[0])
        s.click(*text_field.center)
        type_latin(s, "Hello")
        f.click("[TAB]", editor)  # the tag button leaves the focus in the field
        type_latin(s, "World")
        f.wait_editor_state(editor, GREETING[0], GREETING[1], "Дом", "the tag button")

        # A new group from the group manager, opened by "+"; Insert adds.
        since = time.monotonic()
        f.click("+", editor)
        groups = w.wait_window(GROUPS_TITLE, "the group manager")
        groups_x = x_window(s, f.exe.pid, GROUPS_TITLE, since)
        if groups.control(cls="SysListView32").texts() != [["", "Дом"]]:
            raise AssertionError(f"the group grid shows {groups.control(cls='SysListView32').texts()}")
        since = time.monotonic()
        keys_to(s, groups_x, "Insert")
        ask = w.wait_window(ADD_GROUP_TITLE, "the input box of a new group", dialog=True)
        s.focus_x_window(x_window(s, f.exe.pid, ADD_GROUP_TITLE, since))
        paste(s, GREETING[2])
        s.key("Return")
        w.wait_gone(ask["hwnd"], "the input box")
        if len(s.xevents.maps(pid=f.exe.pid, title=ADD_GROUP_TITLE, since=since)) != 1:
            raise AssertionError("one press of Insert opened the input box more than once")
        groups = w.wait_state(groups["hwnd"], lambda g: g.control(cls="SysListView32").texts()
                              == [["", "Дом"], ["", "Работа"]], "the grid to list Работа")
        f.wait_editor_state(editor, *GREETING, "adding the group")
        keys_to(s, groups_x, "Escape")
        w.wait_gone(groups["hwnd"], "the group manager after Esc")
        f.click("Сохранить", editor)
        w.wait_gone(editor["hwnd"], "the entry editor after Сохранить")
        rows = rows + [GREETING]
        f.wait_rows(rows, [1], "the second entry at the end")

        # Up by the button: the selection follows the entry.
        s.click(*f.list().row_center(4))
        f.wait_rows(rows, [4], "the last row selected")
        f.click("Переместить выше")
        rows = rows[:3] + [GREETING, SIGNATURE]
        f.wait_rows(rows, [3], "the entry moved up, still selected")

        # By drag and drop: the first row lands after the row it is dropped on.
        drag(s, f.list().row_center(0, x_offset=DRAG_X), f.list().row_center(2))
        rows = [rows[1], rows[2], rows[0]] + rows[3:]
        f.wait_rows(rows, [], "the dragged entry after the drop row, nothing selected")

        # No hotkey: the save is refused and the focus goes to the field.
        hotkey_field = f.main.control(cls="msctls_hotkey32")
        s.click(*hotkey_field.center)
        keys_to(s, f.main_x, "BackSpace")
        f.wait_main(lambda m: m.control(cls="msctls_hotkey32")["hotkey"] == 0,
                    "the hotkey field to be cleared")
        since = time.monotonic()
        f.click("Сохранить")
        box, box_x = f.message(since, "Программа не будет работать без назначенной горячей "
                                      "клавиши!", "the refused save")
        f.answer(box, box_x, "Return", f.main_x)
        f.wait_main(lambda m: m.focused() and m.focused()["hwnd"] == hotkey_field["hwnd"],
                    "the focus in the hotkey field")
        if open(s.settings_path, "rb").read() != saved_before:
            raise AssertionError("the refused save wrote Settings.xml")
        s.key("ctrl+alt+j")
        f.wait_main(lambda m: m.control(cls="msctls_hotkey32")["hotkey"] == CTRL_ALT_J_FIELD,
                    "the hotkey field to take Ctrl+Alt+J")

        monitoring = "Отслеживать системный буфер обмена"
        s.click(*f.main.control(text=monitoring).center)
        f.wait_main(lambda m: m.control(text=monitoring)["checked"] == 1, "monitoring ticked")
        # The history would take the pasted text into the snippet menu once
        # monitoring runs; a clipboard that trims to nothing adds no history.
        s.set_clipboard(" ")

        f.click("Сохранить")
        f.hidden_settings_window()
        wait_for(lambda: open(s.settings_path, "rb").read() != saved_before, 10,
                 "Settings.xml to be written")
        saved = open(s.settings_path, "rb").read()
        model = read_settings(s.settings_path)
        expected = {"entries": rows, "groups": [NO_GROUP, "Дом", "Работа"], "hot": CTRL_ALT_J,
                    "auto": 0, "buff": 1}
        if model != expected:
            raise AssertionError(f"Settings.xml holds\n  {model}\nnot\n  {expected}")

        # The snippet menu mirrors the file; the new hotkey opens it.
        menu, saved_menu = f.open_snippet_menu("ctrl+alt+j")
        save_picture(s, "snippet-menu-saved.ppm", saved_menu)
        f.pick_greeting(menu)

        # --- second visit: "Настройки" in the tray menu -------------------------
        since = time.monotonic()
        s.click_tray_icon(button=3)
        tray_menu = s.wait_for_new_popup_menu(f.exe.pid, since)
        keys_to(s, tray_menu, "Up", "Up", "Return")  # the last item is "Выход"
        f.opened_settings_window(since)
        f.wait_rows(rows, [], "the saved entries again")
        f.wait_main(lambda m: m.control(cls="msctls_hotkey32")["hotkey"] == CTRL_ALT_J_FIELD
                    and m.control(text=monitoring)["checked"] == 1, "the saved options")

        # Delete the first entry; Enter answers the question with Yes.
        s.click(*f.list().row_center(0))
        f.wait_rows(rows, [0], "the first row selected")
        since = time.monotonic()
        f.click("Удалить")
        box, box_x = f.message(since, "Вы действительно хотите удалить запись?",
                               "the question before deleting")
        f.answer(box, box_x, "Return", f.main_x)
        rows = rows[1:]
        f.wait_rows(rows, [], "the entry deleted")

        # Edit by double-click: Ctrl+Backspace cuts the last word and types a space.
        since = time.monotonic()
        s.click(*f.list().row_center(1), repeat=2)
        editor, editor_x = f.wait_editor(EDIT_TITLE, since)
        f.wait_editor_state(editor, *rows[1], "opening it to edit")
        menu_field, text_field = f.editor_fields(editor)
        s.click(*text_field.center)
        keys_to(s, editor_x, "ctrl+End")
        type_latin(s, " one two")
        s.key("ctrl+BackSpace")
        edited_text = "Привет, мир! one  "
        f.wait_editor_state(editor, rows[1][0], edited_text, NO_GROUP, "Ctrl+Backspace")

        # Delete a group with the Delete key in the grid; close by "X".
        since = time.monotonic()
        f.click("+", editor)
        groups = w.wait_window(GROUPS_TITLE, "the group manager")
        groups_x = x_window(s, f.exe.pid, GROUPS_TITLE, since)
        grid = groups.control(cls="SysListView32")
        s.click(*grid.row_center(0, x_offset=150))
        groups = w.wait_state(groups["hwnd"], lambda g: g.control(cls="SysListView32")
                              .selected_rows() == [0], "the grid's first row selected")
        since = time.monotonic()
        keys_to(s, groups_x, "Delete")
        box = w.wait_window("Подтверждение удаления", "the question before deleting a group",
                            dialog=True)
        if w.message_text(box) != "Вы действительно хотите удалить группу\r\nДом?":
            raise AssertionError(f"the group question reads {w.message_text(box)!r}")
        keys_to(s, x_window(s, f.exe.pid, "Подтверждение удаления", since), "Return")
        w.wait_gone(box["hwnd"], "the question")
        groups = w.wait_state(groups["hwnd"], lambda g: g.control(cls="SysListView32").texts()
                              == [["", "Работа"]], "the grid without Дом")
        editor = w.dump(editor["hwnd"])
        if editor.control(cls="ComboBox")["items"] != [NO_GROUP, "Работа"]:
            raise AssertionError(f"the editor's groups: {editor.control(cls='ComboBox')['items']}")
        f.click("X", groups)
        w.wait_gone(groups["hwnd"], "the group manager after X")
        f.click("Сохранить", editor)
        w.wait_gone(editor["hwnd"], "the entry editor")
        rows[1] = (rows[1][0], edited_text.strip(), NO_GROUP)
        f.wait_rows(rows, [1], "the edited entry")

        # Down from the right-click menu: the selection stays on its position.
        since = time.monotonic()
        s.click(*f.list().row_center(0), button=3)
        list_menu = s.wait_for_new_popup_menu(f.exe.pid, since)
        keys_to(s, list_menu, "Up", "Return")  # the last item, "Переместить ниже"
        s.wait_for_menus_closed([list_menu])
        rows = [rows[1], rows[0]] + rows[2:]
        f.wait_rows(rows, [0], "the first entry moved down, the selection left on row 0")

        s.click(*f.main.control(cls="msctls_hotkey32").center)
        keys_to(s, f.main_x, "shift+ctrl+F5")
        f.wait_main(lambda m: m.control(cls="msctls_hotkey32")["hotkey"] == SHIFT_CTRL_F5_FIELD,
                    "the hotkey field to take Shift+Ctrl+F5")
        autostart = "Запуск программы при загрузке Windows"
        s.click(*f.main.control(text=monitoring).center)
        s.click(*f.main.control(text=autostart).center)
        f.wait_main(lambda m: m.control(text=monitoring)["checked"] == 0
                    and m.control(text=autostart)["checked"] == 1, "the options changed")

        f.click("Отменить")
        f.hidden_settings_window()

        # --- nothing of the second visit remains --------------------------------
        if open(s.settings_path, "rb").read() != saved:
            raise AssertionError(f"Cancel changed Settings.xml: {read_settings(s.settings_path)}")
        run_value = s.reg_query(RUN_KEY, "Quipstream")
        if run_value is not None:
            raise AssertionError(f"Cancel left the autostart value {run_value!r}")
        s.probe.focus_field(0)
        since = time.monotonic()
        s.key("shift+ctrl+F5")
        hold_for(lambda: not s.xevents.maps(pid=f.exe.pid, since=since), 0.5,
                 "the cancelled hotkey opens no menu")
        menu, cancelled_menu = f.open_snippet_menu("ctrl+alt+j")
        if cancelled_menu != saved_menu:
            paths = (save_picture(s, "snippet-menu-saved.ppm", saved_menu),
                     save_picture(s, "snippet-menu-after-cancel.ppm", cancelled_menu))
            raise AssertionError(f"the snippet menu changed after Cancel (pictures: {paths})")
        f.pick_greeting(menu)


MAIL = ("Почта", "mail@example.com", NO_GROUP)
ADDRESS = ("Адрес", "ул. Ленина, 1", "Работа")
PHONE = ("Телефон", "+7 900 000-00-00", NO_GROUP)
OUTSIDE_CP1251 = ("Символ «U+2713» нельзя сохранить: программа хранит тексты в кодировке "
                  "Windows-1251")


def test_refusals_and_other_ways():
    """The refusals and the other ways through the windows. A row dropped
    below the last row goes to the end; with every row deleted the save is
    refused and Esc drops it all. The editor refuses an empty menu text, a
    menu text in use (after trimming) and a character outside Windows-1251,
    and Alt+F4 closes it as "Отмена" does; the group manager refuses a group
    in use and renames by Enter in its grid, leaving the entries of the old
    name as they were. A hotkey with an extended key (Home) is saved and
    opens the menu."""
    settings = Settings(entries=[Entry(*row) for row in (MAIL, ADDRESS, PHONE)],
                        groups=["Работа"], hot=0xC04B)
    with WineSession(settings=settings) as s, WinRead(s) as w:
        f = Flow(s, w)
        original = open(s.settings_path, "rb").read()
        since = time.monotonic()
        s.click_tray_icon(button=1, repeat=2)
        f.opened_settings_window(since)
        rows = [MAIL, ADDRESS, PHONE]
        f.wait_rows(rows, [], "the saved entries")

        below_rows = (f.list().row_center(2)[0], f.list()["rect"][3] - 20)
        drag(s, f.list().row_center(0, x_offset=DRAG_X), below_rows)
        rows = rows[1:] + rows[:1]
        f.wait_rows(rows, [], "the row dropped below the last one at the end")

        while rows:
            s.click(*f.list().row_center(0))
            f.wait_rows(rows, [0], "the first row selected")
            since = time.monotonic()
            f.click("Удалить")
            box, box_x = f.message(since, "Вы действительно хотите удалить запись?",
                                   "the question before deleting")
            f.answer(box, box_x, "Return", f.main_x)
            rows = rows[1:]
            f.wait_rows(rows, [], "the entry deleted")
        since = time.monotonic()
        f.click("Сохранить")
        box, box_x = f.message(since, "Добавьте хотя бы одну запись!", "the save of no entries")
        f.answer(box, box_x, "Return", f.main_x)
        keys_to(s, f.main_x, "Escape")
        f.hidden_settings_window()
        if open(s.settings_path, "rb").read() != original:
            raise AssertionError("the refused save or Esc wrote Settings.xml")

        since = time.monotonic()
        s.click_tray_icon(button=1, repeat=2)
        f.opened_settings_window(since)
        rows = [MAIL, ADDRESS, PHONE]
        f.wait_rows(rows, [], "the entries back from the file after Esc")

        # The editor's refusals leave it open with the fields as they are.
        since = time.monotonic()
        f.click("Добавить")
        editor, editor_x = f.wait_editor(ADD_TITLE, since)
        menu_field, text_field = f.editor_fields(editor)

        def refused(expected, fields, what):
            since = time.monotonic()
            f.click("Сохранить", editor)
            box, box_x = f.message(since, expected, what)
            f.answer(box, box_x, "Return", editor_x)
            f.wait_editor_state(editor, *fields, NO_GROUP, what)

        refused("Не заполнен текст меню!", ("", ""), "the save of empty fields")
        s.click(*menu_field.center)
        paste(s, "  Почта  ")
        s.click(*text_field.center)
        type_latin(s, "x")
        refused("Такой текст меню уже существует!", ("  Почта  ", "x"),
                "the save of a menu text in use")
        s.click(*menu_field.center)
        s.key("ctrl+a")
        paste(s, "Почта ✓")
        refused(OUTSIDE_CP1251, ("Почта ✓", "x"), "the save of a character outside Windows-1251")

        # The group manager refuses a name in use; Enter in its grid renames.
        since = time.monotonic()
        f.click("+", editor)
        groups = w.wait_window(GROUPS_TITLE, "the group manager")
        groups_x = x_window(s, f.exe.pid, GROUPS_TITLE, since)
        since = time.monotonic()
        f.click("Добавить", groups)
        w.wait_window(ADD_GROUP_TITLE, "the input box of a new group", dialog=True)
        s.focus_x_window(x_window(s, f.exe.pid, ADD_GROUP_TITLE, since))
        paste(s, "Работа")
        s.key("Return")
        box, box_x = f.message(since, "Такая группа уже существует!", "a new group's name in use")
        f.answer(box, box_x, "Return", groups_x)
        s.click(*groups.control(cls="SysListView32").row_center(0, x_offset=150))
        since = time.monotonic()
        keys_to(s, groups_x, "Return")
        rename = w.wait_window("Изменение группы", "the input box of a new name", dialog=True)
        name_field = rename.control(cls="Edit")
        if name_field["text"] != "Работа" or name_field["selection"] != [0, len("Работа")]:
            raise AssertionError(f"the rename starts with {name_field['text']!r} selected "
                                 f"{name_field['selection']}, not the old name all selected")
        keys_to(s, x_window(s, f.exe.pid, "Изменение группы", since), *"Projects", "Return")
        w.wait_gone(rename["hwnd"], "the input box")
        w.wait_state(groups["hwnd"], lambda g: g.control(cls="SysListView32").texts()
                     == [["", "Projects"]], "the grid to show the new name")
        keys_to(s, groups_x, "Escape")
        w.wait_gone(groups["hwnd"], "the group manager")
        editor = w.dump(editor["hwnd"])
        if sorted(editor.control(cls="ComboBox")["items"]) != sorted([NO_GROUP, "Projects"]):
            raise AssertionError(f"the editor offers {editor.control(cls='ComboBox')['items']}")

        s.click(*menu_field.center)
        s.key("ctrl+a")
        type_latin(s, "Notes")
        f.wait_editor_state(editor, "Notes", "x", NO_GROUP, "the menu text replaced")
        f.click("Сохранить", editor)
        w.wait_gone(editor["hwnd"], "the entry editor")
        rows = rows + [("Notes", "x", NO_GROUP)]
        f.wait_rows(rows, [], "the new entry, and Адрес still in Работа")

        # Alt+F4 closes the editor as "Отмена": nothing added, fields emptied.
        since = time.monotonic()
        f.click("Добавить")
        editor, editor_x = f.wait_editor(ADD_TITLE, since)
        s.click(*f.editor_fields(editor)[0].center)
        type_latin(s, "dropped")
        f.wait_editor_state(editor, "dropped", "", NO_GROUP, "typing")
        keys_to(s, editor_x, "alt+F4")
        w.wait_gone(editor["hwnd"], "the entry editor after Alt+F4")
        f.wait_rows(rows, [], "no entry added by Alt+F4")
        since = time.monotonic()
        f.click("Добавить")
        editor, editor_x = f.wait_editor(ADD_TITLE, since)
        f.wait_editor_state(editor, "", "", NO_GROUP, "opening it again")
        keys_to(s, editor_x, "Escape")
        w.wait_gone(editor["hwnd"], "the entry editor after Esc")

        s.click(*f.main.control(cls="msctls_hotkey32").center)
        keys_to(s, f.main_x, "shift+ctrl+alt+Home")
        f.wait_main(lambda m: m.control(cls="msctls_hotkey32")["hotkey"] & 0x7FF == 0x724,
                    "the hotkey field to take Shift+Ctrl+Alt+Home")
        f.click("Сохранить")
        f.hidden_settings_window()
        model = read_settings(s.settings_path)
        expected = {"entries": rows, "groups": [NO_GROUP, "Projects"], "hot": 0xE024, "auto": 0,
                    "buff": 0}
        if model != expected:
            raise AssertionError(f"Settings.xml holds\n  {model}\nnot\n  {expected}")

        menu, _ = f.open_snippet_menu("shift+ctrl+alt+Home")
        mark = s.probe.mark()
        keys_to(s, menu, "Down", "Return")
        s.probe.wait_posted_text(mark, MAIL[1], field=0)

if __name__ == "__main__":
    sys.exit(run_tests(globals()))
