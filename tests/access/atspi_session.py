"""The real program on a private X display with the desktop's accessibility
bus, seen and driven as a screen reader user sees and drives it.

A session is: its own D-Bus session bus (the caller re-runs itself under
dbus-run-session, see `run_in_own_bus`), Xvfb, the accessibility bus
(at-spi-bus-launcher, started before the program: Qt 6.4 never finds a bus
that comes up later), and the program with accessibility always on, a
scratch data folder and the edition's language. `Program` finds the
program's windows and controls on the bus; `Keyboard` presses real keys
through the X server's XTEST extension; `walk` lists every showing control
that takes input and what a screen reader can tell of it.

Only the standard library, python3-pyatspi and libXtst are needed; run with
the system's python3 (/usr/bin/python3), which has pyatspi.
"""
import ctypes
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

BUS_LAUNCHERS = ["/usr/libexec/at-spi-bus-launcher", "/usr/lib/at-spi2-core/at-spi-bus-launcher"]
INSIDE = "ZUPFARI_ATSPI_INSIDE"

# Roles that tell a screen reader nothing about what a control does.
EMPTY_ROLES = {"filler", "unknown", "invalid", "panel", "redundant object", "window", "frame"}


def run_in_own_bus():
    """Re-runs this script under dbus-run-session (once); returns when inside."""
    if os.environ.get(INSIDE):
        return
    if shutil.which("dbus-run-session") is None:
        print("SKIP: dbus-run-session is missing")
        sys.exit(0)
    env = dict(os.environ, **{INSIDE: "1"})
    result = subprocess.run(["dbus-run-session", "--", sys.executable] + sys.argv, env=env)
    sys.exit(result.returncode)


def wait_for(condition, seconds=15.0, step=0.1):
    """Polls `condition` until it gives something true; its last answer."""
    end = time.monotonic() + seconds
    while True:
        answer = condition()
        if answer or time.monotonic() >= end:
            return answer
        time.sleep(step)


class Session:
    """Xvfb and the accessibility bus, ended with the session."""

    def __init__(self, width=1024, height=768):
        self.children = []
        self.folder = tempfile.mkdtemp(prefix="zupfari-atspi-")
        self.display = self._start_xvfb(width, height)
        self._start_accessibility_bus()

    def _start_xvfb(self, width, height):
        read_end, write_end = os.pipe()
        xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{width}x{height}x24",
             "-nolisten", "tcp"], pass_fds=[write_end], stderr=subprocess.DEVNULL)
        os.close(write_end)
        self.children.append(xvfb)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        os.environ["DISPLAY"] = ":" + number
        return ":" + number

    def _start_accessibility_bus(self):
        launcher = next((p for p in BUS_LAUNCHERS if os.path.exists(p)), None)
        if launcher is None:
            raise RuntimeError("at-spi-bus-launcher is missing (package at-spi2-core)")
        self.children.append(subprocess.Popen([launcher, "--launch-immediately"],
                                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        asked = ["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
                 "org.a11y.Bus.GetAddress"]
        if not wait_for(lambda: subprocess.run(asked, capture_output=True).returncode == 0, 10):
            raise RuntimeError("the accessibility bus did not come up")

    def close(self):
        for child in reversed(self.children):
            if child.poll() is None:
                child.terminate()
                try:
                    child.wait(5)
                except subprocess.TimeoutExpired:
                    child.kill()
        shutil.rmtree(self.folder, ignore_errors=True)


class Program:
    """The program as a child process, and its windows on the bus."""

    def __init__(self, session, bin_dir, language, extra_env=None):
        import pyatspi  # after the session: it talks to the bus started above
        self.pyatspi = pyatspi
        self.data = os.path.join(session.folder, f"data{language}")
        runtime = os.path.join(session.folder, f"run{language}")
        os.makedirs(self.data, exist_ok=True)
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        env = dict(os.environ)
        env.update({
            "XDG_DATA_HOME": self.data, "XDG_RUNTIME_DIR": runtime, "HOME": session.folder,
            "SPRACHBANK_LANGUAGE": str(language), "QT_QPA_PLATFORM": "xcb",
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1", "QT_ACCESSIBILITY": "1",
            "DISPLAY": session.display,
        })
        env.pop("ZUPFARI_AUTOANSWER", None)
        env.update(extra_env or {})
        self.log = open(os.path.join(session.folder, f"program{language}.log"), "w+")
        # On a busy machine the program's first registration with the bus can
        # get lost; a second start is tried before the walk gives up, and
        # what the program said goes to the output either way.
        for attempt in (1, 2):
            self.process = subprocess.Popen([os.path.join(bin_dir, "ZupfariBasis")], env=env,
                                            stdout=self.log, stderr=subprocess.STDOUT)
            self.app = wait_for(self._find_app, 60)
            if self.app is not None:
                return
            alive = self.process.poll() is None
            self.process.kill()
            self.process.wait()
            self.log.seek(0)
            said = self.log.read()[-2000:]
            sys.stderr.write(f"start {attempt}: the program ({'running' if alive else 'ended'}) "
                             f"never appeared on the accessibility bus; it said:\n{said}\n")
        raise RuntimeError("the program never appeared on the accessibility bus")

    def _find_app(self):
        desktop = self.pyatspi.Registry.getDesktop(0)
        for app in desktop:
            try:
                if app is not None and app.get_process_id() == self.process.pid:
                    return app
            except Exception:
                continue
        return None

    def list_lines(self, name):
        path = os.path.join(self.data, "ZupfariDemo", "Listen", name)
        try:
            with open(path, "rb") as f:
                return f.read().decode("latin-1").split("\r\n")
        except OSError:
            return []

    def end(self, seconds=10):
        try:
            return self.process.wait(seconds)
        except subprocess.TimeoutExpired:
            self.process.send_signal(signal.SIGKILL)
            self.process.wait()
            return None
        finally:
            self.log.close()

    # ---- What shows ------------------------------------------------------------

    def showing(self, accessible):
        try:
            return accessible.getState().contains(self.pyatspi.STATE_SHOWING)
        except Exception:
            return False

    def windows(self):
        """The program's top-level windows that show now."""
        return [w for w in self.app if w is not None and self.showing(w)]

    def window(self, name=None, seconds=15.0):
        """Waits for a showing window called `name` (any name: the first)."""
        def found():
            for window in self.windows():
                if name is None or window.name == name:
                    return window
            return None
        return wait_for(found, seconds)

    def gone(self, window, seconds=10.0):
        return wait_for(lambda: not self.showing(window), seconds)

    def find(self, root, name, role=None, pressable=False, leading=False):
        """The first showing object under `root` called `name` (of `role`;
        with `pressable`, one that offers the press action; with `leading`,
        also one whose name goes on after `name` and a blank)."""
        for accessible in self.descendants(root):
            named = accessible.name == name or (leading and accessible.name.startswith(name + " "))
            if not named or (role is not None and accessible.getRoleName() != role):
                continue
            if not pressable or self.press_action(accessible) is not None:
                return accessible
        return None

    def press_action(self, accessible):
        """The index of the press action, None without one."""
        try:
            action = accessible.queryAction()
        except NotImplementedError:
            return None
        for i in range(action.nActions):
            if action.getName(i) == "Press":
                return i
        return None

    def descendants(self, root):
        stack = [root]
        while stack:
            accessible = stack.pop(0)
            if accessible is None or not self.showing(accessible):
                continue
            yield accessible
            stack[0:0] = [child for child in accessible]

    def press(self, root, name, role=None, leading=False):
        """Does the press action of the control called `name` (see find)."""
        target = wait_for(lambda: self.find(root, name, role, pressable=True, leading=leading), 5)
        if target is None:
            raise RuntimeError(f"nothing called {name!r} to press")
        target.queryAction().doAction(self.press_action(target))
        return target

    def focused(self):
        """The control that has the keyboard focus in the active window."""
        for window in self.windows():
            for accessible in self.descendants(window):
                if accessible is not window and accessible.getState().contains(self.pyatspi.STATE_FOCUSED):
                    return accessible
        return None


def describe(program, accessible):
    """A control as a screen reader can tell of it: role, name, actions, value."""
    try:
        action = accessible.queryAction()
        actions = [action.getName(i) for i in range(action.nActions)]
    except NotImplementedError:
        actions = []
    value = None
    try:
        value = accessible.queryValue()
    except NotImplementedError:
        pass
    state = accessible.getState()
    focusable = state.contains(program.pyatspi.STATE_FOCUSABLE)
    return {
        "role": accessible.getRoleName(), "name": (accessible.name or "").strip(),
        "description": (accessible.description or "").strip(),
        "actions": [a for a in actions if a != "SetFocus"],
        "value": None if value is None else (value.currentValue, value.minimumValue, value.maximumValue),
        "interactive": bool(actions) or value is not None or focusable,
        "enabled": state.contains(program.pyatspi.STATE_SENSITIVE),
        "checked": state.contains(program.pyatspi.STATE_CHECKED),
    }


def walk(program, window, out=sys.stdout):
    """Every showing control of `window` that takes input, printed; returns
    (interactive, complete, objects)."""
    interactive = complete = objects = 0
    for accessible in program.descendants(window):
        objects += 1
        if accessible is window:
            continue
        seen = describe(program, accessible)
        if not seen["interactive"]:
            continue
        interactive += 1
        ok = (seen["role"] not in EMPTY_ROLES and seen["name"] != ""
              and (bool(seen["actions"]) or seen["value"] is not None))
        complete += ok
        what = f"value {seen['value'][0]:g} of {seen['value'][1]:g}..{seen['value'][2]:g}" \
            if seen["value"] is not None else "actions " + ",".join(seen["actions"] or ["none"])
        extra = "" if seen["enabled"] else " (disabled)"
        extra += " (ticked)" if seen["checked"] else ""
        print(f"  {'ok ' if ok else 'BAD'} {seen['role']:<13} {seen['name']!r:<48} {what}{extra}", file=out)
        if seen["description"]:
            print(f"      description {seen['description'][:100]!r}", file=out)
    return interactive, complete, objects


class Keyboard:
    """Real key presses on the X display, through XTEST."""

    def __init__(self, display):
        self.x11 = ctypes.CDLL("libX11.so.6")
        self.xtst = ctypes.CDLL("libXtst.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XStringToKeysym.restype = ctypes.c_ulong
        self.x11.XStringToKeysym.argtypes = [ctypes.c_char_p]
        self.x11.XKeysymToKeycode.restype = ctypes.c_ubyte
        self.x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.x11.XFlush.argtypes = [ctypes.c_void_p]
        self.xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        self.display = self.x11.XOpenDisplay(display.encode())
        if not self.display:
            raise RuntimeError("cannot open the X display for keys")

    def _code(self, name):
        code = self.x11.XKeysymToKeycode(self.display, self.x11.XStringToKeysym(name.encode()))
        if code == 0:
            raise RuntimeError(f"no key {name!r}")
        return code

    def press(self, *names, pause=0.15):
        """Presses the keys together (modifiers first) and lets them go."""
        codes = [self._code(n) for n in names]
        for code in codes:
            self.xtst.XTestFakeKeyEvent(self.display, code, 1, 0)
        for code in reversed(codes):
            self.xtst.XTestFakeKeyEvent(self.display, code, 0, 0)
        self.x11.XFlush(self.display)
        time.sleep(pause)
