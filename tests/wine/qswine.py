"""Running Windows programs under Wine and Xvfb for the end-to-end tests.

A WineSession owns one X display (Xvfb), one Wine prefix copied from a
template made once per run, and one scratch folder holding a copy of the
program under test and its Settings.xml. It starts the probe window first
(tests/e2e/probe), then the test starts the program. Everything the session
starts is stopped by process id when it ends; Wine itself by `wineserver -k`
for the session's own prefix. Waits are polls with a deadline that name what
they waited for.

    with WineSession(settings=Settings(entries=[Entry("Привет", "мир")])) as s:
        exe = s.run_exe()
        shown = wait_for(lambda: s.xevents.maps(pid=exe.pid, title="Quipstream"),
                         30, "the main window")
        s.probe.focus_field(0)          # the probe is Wine's active window now
        s.key("ctrl+alt+k")             # the hotkey
        menu = s.wait_for_popup_menu(exe.pid)
        s.focus_x_window(menu)          # keys reach a popup menu only so
        s.key("Down", "Return")
        s.probe.wait_texts(["мир", ""])
        s.probe.events_by_time("WM_CHAR")   # what the field received, in posting order

Facts about Wine under a bare Xvfb that shaped this file:
- Without a window manager Wine waits 2 s for the WM_STATE property in every
  hide of a window. XEventLog keeps that property as a window manager would,
  so windows hide at once and the program's own timing shows (the main
  window hides about 100 ms after it is shown).
- The tray window keeps room for eight icons whatever their number, so icons
  are counted from its picture (tray_icon_count).
- `xdotool mousemove --sync` hangs when the pointer is already there.
- Each Wine command (reg, winepath) takes about 5 s while no Wine program
  runs, because Wine's services start and stop with it; with the probe up
  it takes half a second.
- Wine's tray makes an icon's tooltip (in explorer.exe) only when the
  pointer first rests on the icon; from then on it follows every change of
  the hint, and traytip.exe reads it (hover_tray_icon, tray_tips).
- Wine's message times (GetMessageTime, GetTickCount) are whole
  milliseconds of CLOCK_MONOTONIC_RAW; a key sent through XTEST is stamped
  within about a millisecond of its sending.

Command line:
  qswine.py make-template DIR     create (or reuse) the template prefix
"""

import contextlib
import functools
import ctypes
import ctypes.util
import json
import os
import re
import select
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import threading
import time
import traceback

# Bumped whenever make_template changes what it puts into the prefix.
TEMPLATE_RECIPE = 1
TEMPLATE_STAMP = ".qs-template"


class WaitTimeout(AssertionError):
    pass


_T0 = time.monotonic()


def log(message):
    """A line in the test's output, stamped with the seconds since start."""
    print(f"[{time.monotonic() - _T0:6.1f}] {message}", flush=True)


def _describe(what):
    return what() if callable(what) else what


def wait_for(condition, timeout, what, interval=0.05):
    """Polls condition() until it returns something truthy and returns that.
    what names the awaited state; a callable is asked only when the wait ends,
    so it can tell what was seen last."""
    started = time.monotonic()
    deadline = started + timeout
    while True:
        value = condition()
        if value:
            log(f"{time.monotonic() - started:.2f} s for {_describe(what)}")
            return value
        if time.monotonic() >= deadline:
            raise WaitTimeout(f"timed out after {timeout:g} s waiting for {_describe(what)}")
        time.sleep(interval)


def hold_for(condition, duration, what, interval=0.05):
    """Asserts that condition() stays truthy for the whole duration."""
    deadline = time.monotonic() + duration
    while time.monotonic() < deadline:
        if not condition():
            raise AssertionError(f"no longer true within {duration:g} s: {_describe(what)}")
        time.sleep(interval)
    log(f"held {duration:g} s: {_describe(what)}")


def base_env():
    env = dict(os.environ)
    for name in ("LC_ALL", "LC_CTYPE", "LANGUAGE", "WINEARCH", "WINELOADER", "WINESERVER"):
        env.pop(name, None)
    # C.UTF-8 gives Wine the ANSI code page 1252: a program that handles its
    # Windows-1251 texts as ANSI shows mojibake, and the tests see it.
    env.update(LANG="C.UTF-8", WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
    return env


def _run(args, env=None, timeout=60, check=True, **kw):
    result = subprocess.run(args, env=env, timeout=timeout, capture_output=True, **kw)
    if check and result.returncode != 0:
        raise RuntimeError(f"{args[0]} failed ({result.returncode}): "
                           f"{result.stderr.decode(errors='replace').strip()}")
    return result


def _wine_version():
    return _run(["wine", "--version"], env=base_env()).stdout.decode().strip()


def make_template(path):
    """Creates the template prefix at path, or keeps one made by the same Wine
    and recipe. Built in a side folder and renamed, so a half-made template is
    never used."""
    stamp = f"{_wine_version()} recipe {TEMPLATE_RECIPE}\n"
    stamp_path = os.path.join(path, TEMPLATE_STAMP)
    if os.path.exists(stamp_path) and open(stamp_path).read() == stamp:
        print(f"template prefix {path} is current ({stamp.strip()})")
        return path
    side = f"{path}.making-{os.getpid()}"
    shutil.rmtree(side, ignore_errors=True)
    env = base_env()
    env.pop("DISPLAY", None)
    env["WINEPREFIX"] = side
    started = time.monotonic()
    try:
        _run(["wineboot", "-i"], env=env, timeout=180)
        # A crashing program must end, not wait for someone to close winedbg's dialog.
        _run(["wine", "reg", "add", r"HKCU\Software\Wine\WineDbg", "/v", "ShowCrashDialog",
              "/t", "REG_DWORD", "/d", "0", "/f"], env=env)
        # The registry reaches the disk when the server ends of its own accord.
        _run(["wineserver", "-w"], env=env, timeout=60)
    except BaseException:
        subprocess.run(["wineserver", "-k"], env=env, capture_output=True, timeout=30)
        shutil.rmtree(side, ignore_errors=True)
        raise
    with open(os.path.join(side, TEMPLATE_STAMP), "w") as f:
        f.write(stamp)
    shutil.rmtree(path, ignore_errors=True)
    os.rename(side, path)
    print(f"template prefix {path} made in {time.monotonic() - started:.1f} s")
    return path


# --- X events --------------------------------------------------------------

class _XLib:
    """The few Xlib calls the event log needs, through ctypes."""

    def __init__(self):
        lib = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
        lib.XOpenDisplay.restype = ctypes.c_void_p
        lib.XOpenDisplay.argtypes = [ctypes.c_char_p]
        lib.XDefaultRootWindow.restype = ctypes.c_ulong
        lib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        lib.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
        lib.XPending.argtypes = [ctypes.c_void_p]
        lib.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
        lib.XConnectionNumber.argtypes = [ctypes.c_void_p]
        lib.XInternAtom.restype = ctypes.c_ulong
        lib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        lib.XGetWindowProperty.argtypes = [
            ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_long, ctypes.c_long,
            ctypes.c_int, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
            ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_ulong),
            ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_void_p)]
        lib.XChangeProperty.argtypes = [
            ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_int,
            ctypes.c_int, ctypes.c_void_p, ctypes.c_int]
        lib.XFlush.argtypes = [ctypes.c_void_p]
        lib.XFree.argtypes = [ctypes.c_void_p]
        lib.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.error_handler_type = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)
        lib.XSetErrorHandler.argtypes = [self.error_handler_type]
        self.lib = lib


class XEventLog:
    """Records every top-level window that is mapped or unmapped on a display,
    with the time and, at mapping, the window's title and process id.

    Polling with xdotool can miss a window that is shown for a tenth of a
    second; the server's own notifications cannot.

    It also keeps the ICCCM WM_STATE of the windows as a window manager
    would (Normal once mapped, Withdrawn once unmapped). Without any window
    manager, Wine waits 2 s for that property in every hide of a window,
    which would stall the program under test and hide its real timing."""

    UNMAP, MAP = 18, 19  # X event types
    SUBSTRUCTURE_NOTIFY_MASK = 1 << 19

    def __init__(self, display):
        self.events = []  # dicts: t, kind ("map"/"unmap"), window, and title, pid for "map"
        self._lock = threading.Lock()
        self._stop = threading.Event()
        self._x = _XLib()
        # Windows vanish between an event and our property read; ignore such errors.
        self._on_error = self._x.error_handler_type(lambda d, e: 0)
        self._x.lib.XSetErrorHandler(self._on_error)
        self._dpy = self._x.lib.XOpenDisplay(display.encode())
        if not self._dpy:
            raise RuntimeError(f"cannot open X display {display}")
        lib = self._x.lib
        self._atoms = {name: lib.XInternAtom(self._dpy, name.encode(), 0)
                       for name in ("_NET_WM_PID", "_NET_WM_NAME", "UTF8_STRING", "CARDINAL",
                                    "WM_STATE")}
        lib.XSelectInput(self._dpy, lib.XDefaultRootWindow(self._dpy),
                         self.SUBSTRUCTURE_NOTIFY_MASK)
        lib.XPending(self._dpy)  # flush the request before anything is mapped
        self._thread = threading.Thread(target=self._loop, name="x-events", daemon=True)
        self._thread.start()

    def _property(self, window, name, kind):
        lib = self._x.lib
        actual_type, actual_format = ctypes.c_ulong(), ctypes.c_int()
        count, after, data = ctypes.c_ulong(), ctypes.c_ulong(), ctypes.c_void_p()
        status = lib.XGetWindowProperty(self._dpy, window, self._atoms[name], 0, 1024, 0,
                                        self._atoms[kind], ctypes.byref(actual_type),
                                        ctypes.byref(actual_format), ctypes.byref(count),
                                        ctypes.byref(after), ctypes.byref(data))
        if status != 0 or not data.value:
            return None
        try:
            if count.value == 0:
                return None
            if actual_format.value == 32:
                return ctypes.cast(data, ctypes.POINTER(ctypes.c_ulong))[0]
            return ctypes.string_at(data, count.value).decode("utf-8", "replace")
        finally:
            lib.XFree(data)

    def _set_wm_state(self, window, state):
        data = (ctypes.c_long * 2)(state, 0)  # state, icon window
        atom = self._atoms["WM_STATE"]
        self._x.lib.XChangeProperty(self._dpy, window, atom, atom, 32, 0, data, 2)
        self._x.lib.XFlush(self._dpy)

    def _loop(self):
        lib = self._x.lib
        event = ctypes.create_string_buffer(192)
        fd = lib.XConnectionNumber(self._dpy)
        while not self._stop.is_set():
            if not lib.XPending(self._dpy):
                select.select([fd], [], [], 0.05)
                continue
            lib.XNextEvent(self._dpy, event)
            kind = struct.unpack_from("i", event.raw, 0)[0]
            if kind not in (self.MAP, self.UNMAP):
                continue
            # XMapEvent and XUnmapEvent: send_event at 16, window at 40, and
            # override_redirect (map) or from_configure (unmap) at 48.
            synthetic, = struct.unpack_from("i", event.raw, 16)
            window, = struct.unpack_from("L", event.raw, 40)
            override_redirect, = struct.unpack_from("i", event.raw, 48)
            if kind == self.MAP and not override_redirect:
                self._set_wm_state(window, 1)
            elif kind == self.UNMAP:
                self._set_wm_state(window, 0)
            if synthetic:
                continue  # a client's withdraw request; the real unmap is recorded
            record = {"t": time.monotonic(), "kind": "map" if kind == self.MAP else "unmap",
                      "window": window}
            if kind == self.MAP:
                record["title"] = self._property(window, "_NET_WM_NAME", "UTF8_STRING") or ""
                record["pid"] = self._property(window, "_NET_WM_PID", "CARDINAL")
            with self._lock:
                self.events.append(record)

    def snapshot(self):
        with self._lock:
            return list(self.events)

    def maps(self, pid=None, title=None, since=0.0):
        return [e for e in self.snapshot() if e["kind"] == "map" and e["t"] >= since
                and (pid is None or e["pid"] == pid) and (title is None or e["title"] == title)]

    def unmaps(self, window, since=0.0):
        return [e for e in self.snapshot()
                if e["kind"] == "unmap" and e["window"] == window and e["t"] >= since]

    def close(self):
        self._stop.set()
        self._thread.join(timeout=5)
        self._x.lib.XCloseDisplay(self._dpy)

    def dump(self):
        start = self.events[0]["t"] if self.events else 0.0
        return "".join(f"{e['t'] - start:8.3f} {e['kind']:5} 0x{e['window']:x} "
                       f"{e.get('pid', '')} {e.get('title', '')}\n" for e in self.snapshot())


# --- the session -------------------------------------------------------------

class Probe:
    """The probe window (tests/e2e/probe): logs the key messages its two
    fields receive and reports their texts."""

    def __init__(self, session, process, log_path, result_path):
        self.session = session
        self.process = process
        self.pid = process.pid
        self.log_path = log_path
        self.result_path = result_path
        self.info = None  # the READY line: windows pid, hwnd, field rectangles
        self.window = None

    def wait_ready(self, timeout=30):
        def ready():
            for line in self._lines():
                if line.startswith("READY "):
                    return dict(kv.split("=", 1) for kv in line.split()[1:])
            if self.process.poll() is not None:
                raise AssertionError(f"the probe ended with {self.process.returncode} before "
                                     "its window was ready")
            return None
        self.info = wait_for(ready, timeout, "the probe window to log READY")
        self.window = wait_for(
            lambda: self.session.find_windows(title="QS Probe", pid=self.pid, visible=True),
            timeout, "the probe's X window to be mapped")[0]
        return self

    def _lines(self):
        try:
            with open(self.log_path, encoding="utf-8", errors="replace") as f:
                return f.read().splitlines()
        except FileNotFoundError:
            return []

    def events(self, *kinds):
        """The logged events in arrival order, as dicts with 'msg' and the
        numeric fields converted; only the given message kinds when named."""
        out = []
        for line in self._lines():
            if line.startswith("READY "):
                continue
            name, *pairs = line.split()
            if kinds and name not in kinds:
                continue
            event = {"msg": name}
            for pair in pairs:
                key, value = pair.split("=", 1)
                event[key] = int(value, 0)
            out.append(event)
        return out

    def events_by_time(self, *kinds):
        """The events ordered by their message time: the order in which they
        were posted or injected, not the order of arrival."""
        return sorted(self.events(*kinds), key=lambda e: e.get("time", 0))

    def typed_text(self, field=None):
        """The WM_CHAR codes in message-time order, as a string."""
        return "".join(chr(e["code"]) for e in self.events_by_time("WM_CHAR")
                       if field is None or e["field"] == field)

    def mark(self):
        """How many events are logged so far: events_since(mark) gives the later ones."""
        return len(self.events())

    def events_since(self, mark, *kinds):
        """The events logged after the mark, in message-time order; only the
        given message kinds when named."""
        later = [e for e in self.events()[mark:] if not kinds or e["msg"] in kinds]
        return sorted(later, key=lambda e: e.get("time", 0))

    def posted_text_since(self, mark, field=None):
        """The characters posted to the fields after the mark (WM_CHAR with
        lparam 0: a character translated from a key carries the key's
        lparam), in message-time order."""
        return "".join(chr(e["code"]) for e in self.events_since(mark, "WM_CHAR")
                       if e["lparam"] == 0 and (field is None or e["field"] == field))

    def wait_posted_text(self, mark, expected, timeout=10, field=None):
        return wait_for(lambda: self.posted_text_since(mark, field) == expected, timeout,
                        lambda: f"the characters {expected!r} to reach the probe"
                                f" (seen {self.posted_text_since(mark, field)!r})")

    def field_center(self, index):
        left, top, right, bottom = map(int, self.info[f"field{index}"].split(","))
        return (left + right) // 2, (top + bottom) // 2

    def focused_field(self):
        """The field that got the focus last, None when neither has it."""
        changes = self.events("WM_SETFOCUS", "WM_KILLFOCUS")
        if changes and changes[-1]["msg"] == "WM_SETFOCUS":
            return changes[-1]["field"]
        return None

    def focus_field(self, index, timeout=10):
        """Clicks into a field, which makes the probe Wine's active window (the X
        focus alone does not), and gives it the X focus, so that keys reach it
        wherever the pointer is."""
        before = len(self.events("WM_LBUTTONUP"))
        self.session.click(*self.field_center(index))
        wait_for(lambda: any(e["field"] == index for e in self.events("WM_LBUTTONUP")[before:])
                 and self.focused_field() == index,
                 timeout, f"the click into probe field {index} and its focus")
        self.session.focus_x_window(self.window)

    def texts(self):
        """The fields' texts as last reported, or None before the first report."""
        try:
            with open(self.result_path, encoding="utf-8") as f:
                return json.load(f)["fields"]
        except (FileNotFoundError, ValueError):
            return None

    def wait_texts(self, expected, timeout=10):
        return wait_for(lambda: self.texts() == list(expected), timeout,
                        lambda: f"the probe fields to read {list(expected)!r} "
                                f"(last seen {self.texts()!r})")

    def close(self, timeout=15):
        """Asks the probe to close (WM_CLOSE via taskkill) and waits for its end."""
        self.session.wine_run(["taskkill", "/pid", self.info["pid"]], check=False)
        wait_for(lambda: self.process.poll() is not None, timeout, "the probe to end")


class WineSession:
    """One isolated Wine + Xvfb environment; use it as a context manager.

    exe       the program under test; copied into the scratch app folder
              (default: $QS_EXE)
    settings  Settings.xml for the app folder: bytes, str, or an object
              with to_xml() (tests/wine/settings_xml.py); None for no file
    with_probe
              start the probe window (self.probe) as the session's first
              Wine program. It keeps wineserver and Wine's services up, so
              that later Wine commands start in a fraction of a second
              instead of five, and the program under test is not the first
              process of a fresh wineserver.
    """

    APP_FOLDER = "Quip Stream"  # a space in the path, as users have

    def __init__(self, exe=None, settings=None, *, with_probe=True, template=None, probe=None,
                 name=None, artifacts=None):
        self.exe_source = exe if exe is not None else os.environ.get("QS_EXE")
        self.settings = settings
        self.template = template or os.environ.get("QS_WINE_TEMPLATE") or default_template()
        self.probe_exe = probe or os.environ.get("QS_PROBE")
        self.name = name or os.environ.get("QS_E2E_TEST") or "session"
        self.artifacts = artifacts or os.environ.get("QS_E2E_ARTIFACTS")
        self._processes = []  # (Popen, label)
        self._helpers = []    # X-side helpers such as xclip
        self._kept = set()    # artifact files saved by the test itself
        self.with_probe = with_probe
        self.probe = None
        self._xvfb = None
        self.xevents = None
        self.root = None

    # lifecycle

    def __enter__(self):
        try:
            self._start()
        except BaseException:
            self._stop(failed=True)
            raise
        return self

    def __exit__(self, kind, value, tb):
        self._stop(failed=kind is not None)
        return False

    def _start(self):
        if not os.path.isfile(os.path.join(self.template, TEMPLATE_STAMP)):
            raise RuntimeError(f"no template prefix at {self.template}; run "
                               f"`qswine.py make-template {self.template}` first")
        self.root = tempfile.mkdtemp(prefix=f"qs-{self.name}-")
        self.logs = os.path.join(self.root, "logs")
        os.makedirs(self.logs)
        self.app_dir = os.path.join(self.root, self.APP_FOLDER)
        os.makedirs(self.app_dir)
        self.exe = None
        if self.exe_source:
            self.exe = os.path.join(self.app_dir, os.path.basename(self.exe_source))
            shutil.copy2(self.exe_source, self.exe)
        if self.settings is not None:
            self.write_settings(self.settings)
        self.prefix = os.path.join(self.root, "prefix")
        # A plain copy: hard links would let a test change the template.
        _run(["cp", "-a", self.template, self.prefix], timeout=120)
        self._start_xvfb()
        self.env = base_env()
        self.env.update(WINEPREFIX=self.prefix, DISPLAY=self.display)
        self.xevents = XEventLog(self.display)
        if self.with_probe:
            self.probe = self.start_probe()

    def _start_xvfb(self):
        read_end, write_end = os.pipe()
        log = open(os.path.join(self.logs, "xvfb.log"), "wb")
        self._xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x800x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=log, stderr=log)
        log.close()
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + 15
        with os.fdopen(read_end, "rb", buffering=0) as pipe:
            while not number.endswith(b"\n"):
                left = deadline - time.monotonic()
                if left <= 0 or not select.select([pipe], [], [], left)[0]:
                    raise WaitTimeout("timed out after 15 s waiting for Xvfb to report its display")
                chunk = pipe.read(16)
                if not chunk:
                    raise RuntimeError("Xvfb ended before reporting its display")
                number += chunk
        self.display = f":{int(number)}"

    def _stop(self, failed):
        if self.root is None:
            return
        # A stop request (ctest's timeout, Ctrl+C, the test budget) arriving
        # now would leave Xvfb and the prefix behind: it waits until the end.
        on_main = threading.current_thread() is threading.main_thread()
        stop_signals = {signal.SIGTERM, signal.SIGINT, signal.SIGALRM}
        mask = signal.pthread_sigmask(signal.SIG_BLOCK, stop_signals) if on_main else None
        try:
            steps = []
            if failed:
                steps.append(self._save_artifacts)
            if getattr(self, "env", None):
                steps.append(lambda: subprocess.run(["wineserver", "-k"], env=self.env,
                                                    capture_output=True, timeout=30))
            steps += [functools.partial(_end_process, process, label)
                      for process, label in self._processes + self._helpers]
            if self.xevents:
                steps.append(self.xevents.close)
            if self._xvfb:
                steps.append(functools.partial(_end_process, self._xvfb, "Xvfb"))
            steps.append(lambda: shutil.rmtree(self.root, ignore_errors=True))
            for step in steps:
                try:
                    step()
                except Exception as error:  # one failed step must not skip the others
                    print(f"cleaning up the Wine session: {error!r}", file=sys.stderr)
            self.root = None
        finally:
            if mask is not None:
                signal.pthread_sigmask(signal.SIG_SETMASK, mask)

    def _save_artifacts(self):
        if not self.artifacts:
            return
        target = os.path.join(self.artifacts, self.name)
        # What an earlier run left goes; what this session kept stays.
        if os.path.isdir(target):
            for name in set(os.listdir(target)) - self._kept:
                path = os.path.join(target, name)
                if os.path.isdir(path) and not os.path.islink(path):
                    shutil.rmtree(path, ignore_errors=True)
                else:
                    os.remove(path)
        os.makedirs(target, exist_ok=True)
        with contextlib.suppress(Exception):
            self.screenshot(os.path.join(target, "screen.png"))
        if self.xevents:
            with open(os.path.join(target, "x-events.txt"), "w") as f:
                f.write(self.xevents.dump())
        shutil.copytree(self.logs, os.path.join(target, "logs"), dirs_exist_ok=True)
        for name in os.listdir(self.app_dir):
            if not name.lower().endswith(".exe"):
                shutil.copy2(os.path.join(self.app_dir, name), target)
        print(f"artifacts of the failed session: {target}", file=sys.stderr)

    # running Windows programs

    def wine(self, args, label=None, cwd=None, env=None):
        """Starts `wine ARGS`; the process is ended with the session."""
        label = label or os.path.basename(str(args[0]))
        out = open(os.path.join(self.logs, f"{label}.{len(self._processes)}.out"), "wb")
        process = subprocess.Popen(["wine", *args], env={**self.env, **(env or {})},
                                   cwd=cwd or self.root, stdout=out, stderr=subprocess.STDOUT,
                                   stdin=subprocess.DEVNULL)
        out.close()
        self._processes.append((process, label))
        return process

    def wine_run(self, args, timeout=60, check=True):
        """Runs a Wine program (reg, taskkill, ...) to its end; returns its output."""
        result = _run(["wine", *args], env=self.env, timeout=timeout, check=check, cwd=self.root)
        return result.stdout.decode("utf-8", "replace")

    def run_exe(self, *args):
        """Starts the program under test from the app folder."""
        return self.wine([self.exe, *args], label="exe", cwd=self.app_dir)

    def start_probe(self, timeout=30):
        """Starts a probe window and waits until it is shown."""
        if not self.probe_exe:
            raise RuntimeError("no probe: set QS_PROBE to the probe's exe")
        count = sum(1 for _, label in self._processes if label == "probe")
        log = os.path.join(self.logs, f"probe{count}.log")
        result = os.path.join(self.logs, f"probe{count}.json")
        process = self.wine([self.probe_exe, z_path(log), z_path(result)], label="probe")
        return Probe(self, process, log, result).wait_ready(timeout)

    def write_settings(self, settings):
        data = settings.to_xml() if hasattr(settings, "to_xml") else settings
        if isinstance(data, str):
            data = data.encode("utf-8")
        with open(self.settings_path, "wb") as f:
            f.write(data)

    @property
    def settings_path(self):
        return os.path.join(self.app_dir, "Settings.xml")

    def winepath(self, path):
        """The Windows form of a Linux path, as Wine's winepath gives it."""
        return _run(["winepath", "-w", path], env=self.env).stdout.decode().strip()

    def reg_query(self, key, name):
        """The data of a registry value as `reg query` shows it, None when absent."""
        result = _run(["wine", "reg", "query", key, "/v", name], env=self.env, check=False,
                      cwd=self.root)
        if result.returncode != 0:
            return None
        for line in result.stdout.decode("utf-8", "replace").splitlines():
            match = re.match(r"\s+(.+?)\s+(REG_\w+)\s*(.*)$", line)
            if match and match.group(1).lower() == name.lower():
                return match.group(3)
        return None

    def reg_add(self, key, name, data, kind="REG_SZ"):
        self.wine_run(["reg", "add", key, "/v", name, "/t", kind, "/d", data, "/f"])

    # X side

    def xdotool(self, *args, check=True):
        result = _run(["xdotool", *map(str, args)], env=self.env, timeout=30, check=False)
        if check and result.returncode != 0:
            raise RuntimeError(f"xdotool {' '.join(map(str, args))} failed: "
                               f"{result.stderr.decode(errors='replace').strip()}")
        return result.stdout.decode("utf-8", "replace")

    def find_windows(self, title=None, pid=None, visible=None):
        """Top-level X windows by exact title and/or process id. Wine names its
        X windows after the Windows captions and sets _NET_WM_PID."""
        args = ["search", "--all"]
        if visible:
            args.append("--onlyvisible")
        if pid is not None:
            args += ["--pid", pid]
        if title is not None:
            args += ["--name", f"^{re.escape(title)}$"]
        found = [int(w) for w in self.xdotool(*args, check=False).split()]
        if visible is False:
            found = [w for w in found if not self.is_window_visible(w)]
        return found

    def window_geometry(self, window):
        """(x, y, width, height, viewable) of an X window, None when it is gone."""
        result = _run(["xwininfo", "-id", str(window)], env=self.env, check=False)
        if result.returncode != 0:
            return None
        text = result.stdout.decode("utf-8", "replace")
        number = lambda label: int(re.search(label + r":\s+(-?\d+)", text).group(1))  # noqa: E731
        return (number("Absolute upper-left X"), number("Absolute upper-left Y"),
                number("Width"), number("Height"), "IsViewable" in text)

    def is_window_visible(self, window):
        geometry = self.window_geometry(window)
        return bool(geometry and geometry[4])

    def window_title(self, window):
        return self.xdotool("getwindowname", window, check=False).strip()

    def x_focus(self):
        text = self.xdotool("getwindowfocus", check=False).strip()
        return int(text) if text.isdigit() else None

    def click(self, x, y, button=1, repeat=1):
        self.xdotool("mousemove", x, y, "click", "--repeat", repeat, "--delay", 80,
                     button)

    def key(self, *keys, delay=60):
        """Presses keys (xdotool names: ctrl+alt+k, Down, Return) on the window
        that has the X focus."""
        self.xdotool("key", "--delay", delay, *keys)

    def focus_x_window(self, window):
        """Gives the X focus to a window. Popup menus need it before keys reach them."""
        self.xdotool("windowfocus", "--sync", window)

    def screenshot(self, path):
        _run(["import", "-window", "root", path], env=self.env)

    # tray

    def tray_window(self):
        found = self.find_windows(title="Wine System Tray")
        return found[0] if found else None

    # Wine's tray keeps room for eight icons in one row of square slots, 20
    # pixels each (small icon size 16 plus a border of 2) at 96 dpi.
    TRAY_SLOT = 20
    TRAY_SLOTS = 8

    def _tray_client(self):
        """Screen position and size of the tray window's client area: the X
        window also holds the caption and frame that Wine draws itself for
        unmanaged windows."""
        window = self.tray_window()
        geometry = window and self.window_geometry(window)
        if not geometry or not geometry[4]:
            return None
        x, y, width, height, _ = geometry
        border = (width - self.TRAY_SLOT * self.TRAY_SLOTS) // 2
        if border < 0:
            raise AssertionError(f"the tray window is {width} pixels wide, too narrow for "
                                 f"{self.TRAY_SLOTS} slots of {self.TRAY_SLOT}")
        return window, border, height - border - self.TRAY_SLOT, x, y

    def tray_icon_count(self):
        """Icons shown in Wine's stand-alone tray window, 0 when it is unmapped
        (it is whenever it has none). The window's size does not tell (it is
        the same for one to eight icons), so the icons are counted from its
        picture: a slot counts when any of its pixels differs from the colour
        of the empty last slot. Up to seven icons."""
        client = self._tray_client()
        if client is None:
            return 0
        window, left, top, _, _ = client
        picture = _run(["import", "-window", str(window), "-depth", "8", "ppm:-"],
                       env=self.env).stdout
        width, _, pixels = _parse_ppm(picture)
        slot = self.TRAY_SLOT

        def slot_rows(index):
            x = left + index * slot
            return [pixels[((top + row) * width + x) * 3:((top + row) * width + x + slot) * 3]
                    for row in range(slot)]

        empty = slot_rows(self.TRAY_SLOTS - 1)
        background = empty[0][:3]
        if any(row != background * slot for row in empty):
            raise AssertionError("the tray's last slot is not empty: eight icons or more")
        return sum(1 for index in range(self.TRAY_SLOTS - 1)
                   if any(row != background * slot for row in slot_rows(index)))

    def tray_slot_center(self, slot=0):
        client = self._tray_client()
        if client is None:
            raise AssertionError("the tray window is not shown")
        _, left, top, x, y = client
        return x + left + slot * self.TRAY_SLOT + self.TRAY_SLOT // 2, y + top + self.TRAY_SLOT // 2

    def click_tray_icon(self, slot=0, button=3, repeat=1):
        self.click(*self.tray_slot_center(slot), button=button, repeat=repeat)

    def wait_for_popup_menu(self, pid, timeout=10):
        """A popup menu of process pid: a mapped X window without a title."""
        def menu():
            for window in self.find_windows(pid=pid, visible=True):
                if not self.window_title(window):
                    return window
            return None
        return wait_for(menu, timeout, f"a popup menu of process {pid}")

    def wait_for_new_popup_menu(self, pid, since, timeout=10):
        """The X window of a popup menu that process pid maps after the
        monotonic time since (a window without a title)."""
        def mapped():
            return [e["window"] for e in self.xevents.maps(pid=pid, since=since)
                    if not e["title"] and self.is_window_visible(e["window"])]
        return wait_for(mapped, timeout, f"a popup menu of process {pid}")[0]

    def wait_for_menus_closed(self, windows, timeout=10):
        wait_for(lambda: not any(self.is_window_visible(w) for w in windows), timeout,
                 "the popup menus to close")

    def hover_tray_icon(self, slot=0):
        """Rests the pointer on a tray icon until Wine shows its tooltip
        (Wine creates it only then; tray_tips reads it afterwards)."""
        x, y = self.tray_slot_center(slot)
        since = time.monotonic()
        # Two moves: Wine's tooltip starts counting at a move over the icon.
        self.xdotool("mousemove", x, y)
        self.xdotool("mousemove", x + 1, y)
        tray_pid = wait_for(lambda: self.xevents.maps(title="Wine System Tray"), 10,
                            "Wine's tray window")[-1]["pid"]
        return wait_for(lambda: [e for e in self.xevents.maps(pid=tray_pid, since=since)
                                 if not e["title"]],
                        10, "the tray icon's tooltip to be shown")[0]["window"]

    def tray_tips(self):
        """The tooltip texts of the icons in Wine's tray window, read by
        traytip.exe (built beside the probe)."""
        if not self.probe_exe:
            raise RuntimeError("no probe: set QS_PROBE to the probe's exe")
        reader = os.path.join(os.path.dirname(self.probe_exe), "traytip.exe")
        return [json.loads(line) for line in self.wine_run([reader]).splitlines() if line]

    # artifacts kept whether the test passes or not

    def artifact_path(self, name):
        """A path in the test's artifact folder (None without $QS_E2E_ARTIFACTS).
        A failed session replaces the folder's screen, logs and settings but
        keeps files saved here."""
        if not self.artifacts:
            return None
        folder = os.path.join(self.artifacts, self.name)
        os.makedirs(folder, exist_ok=True)
        self._kept.add(name)
        return os.path.join(folder, name)

    def picture_of(self, windows, margin=8):
        """PNG bytes of the screen cropped to the bounding box of the windows."""
        boxes = [g for g in map(self.window_geometry, windows) if g]
        if not boxes:
            raise AssertionError("none of the windows to photograph is there")
        left = max(0, min(b[0] for b in boxes) - margin)
        top = max(0, min(b[1] for b in boxes) - margin)
        right = max(b[0] + b[2] for b in boxes) + margin
        bottom = max(b[1] + b[3] for b in boxes) + margin
        return _run(["import", "-window", "root", "-crop",
                     f"{right - left}x{bottom - top}+{left}+{top}", "+repage", "png:-"],
                    env=self.env).stdout

    # clipboard

    def set_clipboard(self, text):
        """Puts text on the X clipboard. xclip keeps it there while it runs, so it
        runs until another owner takes the clipboard or the session ends."""
        process = subprocess.Popen(["xclip", "-selection", "clipboard", "-quiet", "-i"],
                                   env=self.env, stdin=subprocess.PIPE,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        process.stdin.write(text.encode("utf-8"))
        process.stdin.close()
        self._helpers.append((process, "xclip"))
        wait_for(lambda: self.get_clipboard() == text, 10, f"the X clipboard to hold {text!r}")

    def set_clipboard_data(self, data, target):
        """Puts data of one X target (a MIME type such as image/png) on the X
        clipboard, as set_clipboard does with text."""
        process = subprocess.Popen(["xclip", "-selection", "clipboard", "-quiet", "-i",
                                    "-t", target],
                                   env=self.env, stdin=subprocess.PIPE,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        process.stdin.write(data)
        process.stdin.close()
        self._helpers.append((process, "xclip"))

        def offered():
            result = _run(["xclip", "-selection", "clipboard", "-o", "-t", "TARGETS"],
                          env=self.env, check=False, timeout=10)
            return target in result.stdout.decode("utf-8", "replace").split()
        wait_for(offered, 10, f"the X clipboard to offer {target}")

    def get_clipboard(self):
        result = _run(["xclip", "-selection", "clipboard", "-o"], env=self.env, check=False,
                      timeout=10)
        return result.stdout.decode("utf-8", "replace") if result.returncode == 0 else None


def _parse_ppm(data):
    fields = []
    position = 0
    while len(fields) < 4:
        match = re.compile(rb"\s*(#[^\n]*\n\s*)*(\S+)").match(data, position)
        fields.append(match.group(2))
        position = match.end()
    if fields[0] != b"P6" or fields[3] != b"255":
        raise ValueError("expected an 8-bit binary PPM")
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[position + 1:position + 1 + width * height * 3]


def _end_process(process, label, timeout=10):
    """Ends one process we started, by its id: SIGTERM, then SIGKILL."""
    if process.poll() is not None:
        return
    with contextlib.suppress(ProcessLookupError):
        os.kill(process.pid, signal.SIGTERM)
    try:
        process.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        print(f"{label} (pid {process.pid}) ignored SIGTERM; killing it", file=sys.stderr)
        with contextlib.suppress(ProcessLookupError):
            os.kill(process.pid, signal.SIGKILL)
        process.wait(timeout=timeout)


def z_path(path):
    """The Windows form of a Linux path without asking Wine: drive Z: is the
    Linux root in every prefix."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def default_template():
    return os.path.join(tempfile.gettempdir(), "qs-wine-template")


# --- a small runner for test scripts -----------------------------------------

class TestBudgetExceeded(BaseException):
    pass


def _raise_budget(signum, frame):
    raise TestBudgetExceeded(f"test stopped by signal {signum} (budget exceeded or terminated)")


def run_tests(namespace, argv=None, budget=100):
    """The command line of a test script: each module-level function test_NAME
    is one test. `script --list` prints the names; `script NAME...` runs
    those (all when none is named), each within `budget` seconds so that the
    sessions are cleaned up before ctest's own timeout would strike."""
    argv = sys.argv[1:] if argv is None else argv
    tests = {name[5:]: fn for name, fn in namespace.items()
             if name.startswith("test_") and callable(fn)}
    if argv[:1] == ["--list"]:
        print("\n".join(tests))
        return 0
    unknown = [name for name in argv if name not in tests]
    if unknown:
        print(f"unknown test(s): {', '.join(unknown)}; known: {', '.join(tests)}", file=sys.stderr)
        return 2
    signal.signal(signal.SIGALRM, _raise_budget)
    signal.signal(signal.SIGTERM, _raise_budget)
    failures = 0
    for name in argv or list(tests):
        os.environ["QS_E2E_TEST"] = name
        started = time.monotonic()
        signal.alarm(budget)
        try:
            tests[name]()
            outcome = "PASS"
        except (Exception, TestBudgetExceeded):
            traceback.print_exc()
            outcome = "FAIL"
            failures += 1
        finally:
            signal.alarm(0)
        print(f"{outcome} {name} ({time.monotonic() - started:.1f} s)", flush=True)
    return 1 if failures else 0


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "make-template":
        make_template(os.path.abspath(sys.argv[2]))
    else:
        print(__doc__, file=sys.stderr)
        sys.exit(2)
