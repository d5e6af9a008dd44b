"""Helpers for the end-to-end tests of the editing windows (the settings
window, the entry editor, the group manager): reading what the windows show
through winread.exe, finding and clicking their controls, dragging, typing,
and decoding Settings.xml with the program's own reader (qs_settings_dump).

    with WineSession(settings=...) as s, WinRead(s) as w:
        main = w.wait_window("Quipstream", "the settings window")
        s.click(*main.control(text="Добавить").center)
        editor = w.wait_window("Добавление записи", "the entry editor")
        editor.control(cls="Edit").text

Facts about Wine under a bare Xvfb that shaped this file:
- `xdotool type` drops Cyrillic characters now and then, at any delay: it
  binds each character missing from the keymap to a spare key code and
  takes it back right after, and Wine sometimes reads the key after the
  mapping is gone. Latin text is typed; Cyrillic is pasted from the X
  clipboard (type_latin, paste).
- Windows rectangles are X screen pixels: Wine draws no frame around the
  windows of a display without a window manager, and places them where
  Windows would.
- After a modal window closes, keys go nowhere until the X focus is given
  to a window again (keys_to).
"""

import json
import os
import select
import subprocess
import time

from qswine import WaitTimeout, log, wait_for


# --- Settings.xml through the program's own reader ---------------------------

def settings_dump_tool():
    """qs_settings_dump: $QS_SETTINGS_DUMP, else in the Linux build folder,
    the parent of the artifacts folder that ctest passes."""
    path = os.environ.get("QS_SETTINGS_DUMP")
    if not path and os.environ.get("QS_E2E_ARTIFACTS"):
        build = os.path.dirname(os.path.abspath(os.environ["QS_E2E_ARTIFACTS"]))
        path = os.path.join(build, "qs_settings_dump")
    if not path or not os.access(path, os.X_OK):
        raise RuntimeError(f"no qs_settings_dump (looked for {path!r}); build the target "
                           "qs_settings_dump or set QS_SETTINGS_DUMP")
    return path


def _unescape(field):
    out, i = [], 0
    while i < len(field):
        if field[i] == "\\" and i + 1 < len(field):
            out.append({"r": "\r", "n": "\n", "t": "\t", "\\": "\\"}[field[i + 1]])
            i += 2
        else:
            out.append(field[i])
            i += 1
    return "".join(out)


def read_settings(path):
    """What the program reads from a Settings.xml: entries as (menu text,
    inserted text, group), the group list ("Без группы" first) and the
    options. Fails with the reader's message when the program could not
    load the file."""
    result = subprocess.run([settings_dump_tool(), path], capture_output=True, timeout=30)
    if result.returncode != 0:
        raise AssertionError(f"the program's reader refuses {path}: "
                             f"{result.stderr.decode('utf-8', 'replace').strip()}")
    model = {"entries": [], "groups": []}
    for line in result.stdout.decode("utf-8").splitlines():
        kind, *fields = [_unescape(f) for f in line.split("\t")]
        if kind == "entry":
            model["entries"].append(tuple(fields))
        elif kind == "group":
            model["groups"].append(fields[0])
        else:
            model[kind] = int(fields[0])
    return model


# --- the windows as Windows sees them -----------------------------------------

def _center(rect):
    left, top, right, bottom = rect
    return (left + right) // 2, (top + bottom) // 2


class Control(dict):
    """One control as winread reports it: hwnd, id, class, text, enabled,
    rect, and the class's extras (rows, items, selected, checked, hotkey,
    selection)."""

    @property
    def center(self):
        return _center(self["rect"])

    def texts(self):
        """A list view's rows, each as the texts of its columns."""
        return [row["texts"] for row in self["rows"]]

    def selected_rows(self):
        return [i for i, row in enumerate(self["rows"]) if row["selected"]]

    def row_center(self, index, x_offset=40):
        """A point on a list view's row, near its left end."""
        left, top, _, bottom = self["rows"][index]["rect"]
        return left + x_offset, (top + bottom) // 2

    def selected_item(self):
        """A combo box's selected text, None without a selection."""
        index = self["selected"]
        return self["items"][index] if index >= 0 else None


class Window(Control):
    """A top-level window with its controls, as read at one moment."""

    def controls(self, cls=None, text=None, id=None):
        return [Control(c) for c in self["children"]
                if (cls is None or c["class"].lower() == cls.lower())
                and (text is None or c["text"] == text) and (id is None or c["id"] == id)]

    def control(self, cls=None, text=None, id=None):
        found = self.controls(cls, text, id)
        if len(found) != 1:
            raise AssertionError(f"{len(found)} controls of class {cls!r} with text {text!r} "
                                 f"in {self['text']!r}, not one: {[c['text'] for c in found]}")
        return found[0]

    def focused(self):
        """The control that has the keyboard focus in this window's thread."""
        return next((Control(c) for c in self["children"] if c["hwnd"] == self["focus"]), None)

    def buttons_enabled(self, *captions):
        return {caption: self.control(text=caption)["enabled"] for caption in captions}


class WinRead:
    """winread.exe (tests/e2e/winread), one process per session answering
    questions about the windows of the session's Wine programs."""

    def __init__(self, session, exe=None):
        self.session = session
        self.exe = exe or os.environ.get("QS_WINREAD") or os.path.join(
            os.path.dirname(session.probe_exe or ""), "winread.exe")
        if not os.path.isfile(self.exe):
            raise RuntimeError(f"no winread.exe at {self.exe}; build the target qs_winread "
                               "or set QS_WINREAD")
        self.process = None

    def __enter__(self):
        self.process = subprocess.Popen(["wine", self.exe], env=self.session.env,
                                        cwd=self.session.root, stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        return self

    def __exit__(self, *exc):
        process, self.process = self.process, None
        if process is None:
            return False
        try:
            process.stdin.close()
            process.wait(timeout=10)
        except (OSError, subprocess.TimeoutExpired):
            process.kill()
            process.wait(timeout=10)
        return False

    def ask(self, command, timeout=20):
        self.process.stdin.write(command.encode() + b"\n")
        self.process.stdin.flush()
        deadline = time.monotonic() + timeout
        line = b""
        fd = self.process.stdout.fileno()
        while not line.endswith(b"\n"):
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([fd], [], [], left)[0]:
                raise AssertionError(f"winread gave no answer to {command!r} within {timeout} s")
            chunk = os.read(fd, 65536)
            if not chunk:
                raise AssertionError(f"winread ended ({self.process.poll()}) at {command!r}")
            line += chunk
        return json.loads(line)

    def top(self):
        """The visible top-level windows, topmost first."""
        return self.ask("top")["windows"]

    def dump(self, hwnd):
        answer = self.ask(f"dump {hwnd}")
        return Window(answer) if answer else None

    def find(self, title, dialog=None):
        """The visible top-level windows with this title; dialog=True keeps
        only system dialogs (message boxes, the input box), False only the
        program's own windows."""
        return [w for w in self.top() if w["title"] == title
                and (dialog is None or (w["class"] == "#32770") == dialog)]

    def wait_window(self, title, what, dialog=None, timeout=10):
        """Polls until exactly one such window is shown; returns it read whole."""
        found = wait_for(lambda: len(self.find(title, dialog)) == 1 and self.find(title, dialog),
                         timeout, f"{what} ({title!r}) to be shown")
        return self.dump(found[0]["hwnd"])

    def wait_gone(self, hwnd, what, timeout=10):
        wait_for(lambda: all(w["hwnd"] != hwnd for w in self.top()), timeout,
                 f"{what} to close")

    def wait_state(self, hwnd, check, what, timeout=10):
        """Reads the window until check(window) holds; returns that reading.
        On timeout the message tells what was seen last."""
        seen = []

        def read():
            window = self.dump(hwnd)
            seen[:] = [window]
            return window if window and check(window) else None
        try:
            return wait_for(read, timeout, what)
        except WaitTimeout as timeout_error:
            raise WaitTimeout(f"{timeout_error}; last seen: "
                              f"{describe_window(seen[0]) if seen else 'nothing'}") from None

    def message_text(self, box):
        """The message of a message box: its static text that is not the icon."""
        texts = [c["text"] for c in box.controls(cls="Static") if c["text"]]
        return "\n".join(texts)


def describe_window(window):
    if window is None:
        return "no window"
    parts = []
    for c in window["children"]:
        extra = ""
        if "rows" in c:
            extra = f" rows={[r['texts'] for r in c['rows']]} " \
                    f"selected={[i for i, r in enumerate(c['rows']) if r['selected']]}"
        elif "items" in c:
            extra = f" items={c['items']} selected={c['selected']}"
        elif "hotkey" in c:
            extra = f" hotkey={c['hotkey']:#x}"
        elif c["class"] == "Button":
            extra = f" checked={c['checked']}"
        if extra or c["text"]:
            parts.append(f"{c['class']} {c['text']!r}{extra}{'' if c['enabled'] else ' (off)'}")
    return f"{window['text']!r}: " + "; ".join(parts)


# --- input ----------------------------------------------------------------------

def x_window(session, pid, title, since=0.0):
    """The X window that process pid mapped last with this title since the
    monotonic time since."""
    maps = wait_for(lambda: session.xevents.maps(pid=pid, title=title, since=since), 10,
                    f"the X window {title!r} to be mapped")
    return maps[-1]["window"]


def keys_to(session, window, *keys):
    """Gives the X focus to an X window, then presses keys there."""
    session.focus_x_window(window)
    session.key(*keys)


def type_latin(session, text):
    """Types ASCII text into whatever has the focus."""
    if not text.isascii():
        raise ValueError(f"xdotool cannot be trusted with {text!r}; paste it instead")
    session.xdotool("type", "--delay", 20, text)


def paste(session, text):
    """Puts text on the X clipboard and pastes it with Ctrl+V."""
    session.set_clipboard(text)
    session.key("ctrl+v")


def drag(session, start, end, steps=8):
    """Presses the left button at start, moves to end in steps (a list view
    starts a drag once the pointer has moved a few pixels with the button
    down) and releases it there."""
    (x0, y0), (x1, y1) = start, end
    session.xdotool("mousemove", x0, y0)
    session.xdotool("mousedown", 1)
    for step in range(1, steps + 1):
        session.xdotool("mousemove", x0 + (x1 - x0) * step // steps,
                        y0 + (y1 - y0) * step // steps)
    session.xdotool("mouseup", 1)
    log(f"dragged from {start} to {end}")


def x_window_picture(session, window):
    """The pixels of an X window (a PPM), for comparing two showings."""
    result = subprocess.run(["import", "-window", str(window), "-depth", "8", "ppm:-"],
                            env=session.env, capture_output=True, timeout=30)
    if result.returncode != 0:
        raise AssertionError(f"cannot photograph X window {window}: "
                             f"{result.stderr.decode(errors='replace').strip()}")
    return result.stdout
