#!/usr/bin/env python3
"""A monkey at the keys: the real program on a private X display, driven by
random but plausible X events for a given time, while it is watched for
faults.

The program runs from a scratch program folder: the program file itself
(a copy or hard link, so that it finds this folder as its own), its libraries
(links) and the course content of another folder (links; in the damaged mode
a fixed set of files per seed is cut, swapped or removed). Its data and
runtime folders are scratch folders too; the settings choose the "MIDI Log"
device, whose file the monkey reads.

Events: clicks inside the program's windows (mostly on controls, whose places
come from the accessibility bus), double clicks, wheel turns, keys of the
program's key set and a few others, Esc/Enter, and window close requests.
A box that stays open too long is answered (Enter, Esc, close, its first
button). After a normal end the program is started again.

Watched: the program ending by a signal or with a sanitizer report or an
unexpected exit code; the UI thread not answering a _NET_WM_PING for 5 s; a
note still sounding at "MIDI Log" a second after Stop; list files that are
not valid after an end; more than one showing window of a kind.

  monkey.py --program DIR [--content DIR] [--seed N] [--minutes M] [--damaged]
            [--keep DIR]

Exit code 0 when nothing was found, 1 otherwise. Needs the system's python3
(python3-xlib, python3-pyatspi), Xvfb, dbus-run-session and at-spi2-core.
"""
import argparse
import collections
import os
import random
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "access"))
sys.path.insert(0, os.path.join(HERE, "..", "missing"))
import atspi_session  # noqa: E402
import monkey_checks  # noqa: E402
import monkey_content  # noqa: E402

PROGRAM = "ZupfariBasis"
SYSTEM_LEAKS = os.path.join(HERE, "..", "..", "cmake", "system_leaks.supp")
HANG_S = 5.0          # the UI thread not answering this long is a hang
HANG_KILL_S = 45.0    # ... and this long ends the program
BOX_PATIENCE_S = 6.0  # a box open this long is answered
START_WAIT_S = 120.0
# Slower, but the stacks of allocations go on through libraries built
# without frame pointers, up to the code that asked for the memory.
FULL_STACKS = ":fast_unwind_on_malloc=0:malloc_context_size=40"

# The keys the program answers (main window, slide windows, quiz, tempo bar,
# panels), and a few it does not.
PROGRAM_KEYS = [("F1",), ("F5",), ("F5",), ("F5",), ("F6",), ("F7",), ("F7",), ("F7",),
                ("KP_Add",), ("KP_Add",), ("KP_Subtract",), ("KP_Subtract",), ("T",),
                ("Shift_L", "K"), ("Tab",), ("Shift_L", "Tab"),
                ("space",), ("Left",), ("Right",), ("Up",), ("Down",), ("Home",), ("End",),
                ("Prior",), ("Next",), ("Return",), ("Escape",), ("Alt_L", "F4")]
# The controls of the exercise and those that open a lesson, in both
# languages, are clicked more often than the rest: a random click among
# a hundred controls seldom starts the exercise, and the transport is where
# notes can be left sounding. A disabled control is clicked seldom.
TRANSPORT_NAMES = {"Abspielen", "Play", "Pause", "Stopp", "Stop", "Wiederholen", "Repeat",
                   "Startmarke", "Start mark", "Einen Takt zurück", "One bar back",
                   "Einen Takt vor", "One bar forward", "Tempostufe", "Tempo level"}
OPENING_NAMES = {"Öffnen", "Open", "Neue Übung", "New lesson", "Explorer", "Modus", "Mode",
                 "Weiter", "Go on", "Next"}
# The greeting's button, and the practice plan's rows ("Lektion 5: ...").
OPENING_PREFIXES = ("Weiter mit Lektion", "Go on with lesson", "Lektion ", "Lesson ")
PLAY_NAMES = {"Abspielen", "Play"}
STOP_NAMES = {"Stopp", "Stop"}


def control_weight(name, enabled):
    """How much more often than a plain control a control is clicked."""
    if name in TRANSPORT_NAMES:
        weight = 6.0
    elif name in OPENING_NAMES or name.startswith(OPENING_PREFIXES):
        weight = 4.0
    else:
        weight = 1.0
    return weight if enabled else weight * 0.15


OTHER_KEYS = [("a",), ("x",), ("1",), ("Delete",), ("BackSpace",), ("Control_L", "c"),
              ("F2",), ("F10",), ("Menu",), ("Control_L", "q")]


class Findings:
    """What the run found, in order, each once per kind and detail."""

    def __init__(self):
        self.items = []
        self.seen = set()
        self.lock = threading.Lock()

    def add(self, kind, detail, text=""):
        with self.lock:
            if (kind, detail) in self.seen:
                return
            self.seen.add((kind, detail))
            self.items.append((time.monotonic(), kind, detail, text))
        print(f"FOUND {kind}: {detail}", flush=True)
        if text:
            print("  " + text.strip().replace("\n", "\n  ")[:3000], flush=True)


class Screen:
    """The X display as the monkey sees it: the program's top-level windows,
    and real pointer and key events through XTEST."""

    def __init__(self, name):
        from Xlib import display, X, XK
        from Xlib.ext import xtest
        self.X, self.XK, self.xtest = X, XK, xtest
        self.d = display.Display(name)
        # A window may close between a look at it and an event sent to it.
        self.d.set_error_handler(lambda *error: None)
        self.root = self.d.screen().root
        self.atom = lambda n: self.d.intern_atom(n)
        self.pid_atom = self.atom("_NET_WM_PID")
        self.name_atom = self.atom("_NET_WM_NAME")
        self.utf8 = self.atom("UTF8_STRING")
        self.state_atom = self.atom("_NET_WM_STATE")
        self.modal_atom = self.atom("_NET_WM_STATE_MODAL")
        self.protocols = self.atom("WM_PROTOCOLS")
        self.delete_atom = self.atom("WM_DELETE_WINDOW")

    def windows(self, pid):
        """The showing top-level windows of process `pid`, bottom to top:
        (id, title, x, y, width, height, modal)."""
        from Xlib import error
        found = []
        try:
            children = self.root.query_tree().children
        except error.XError:
            return found
        for w in children:
            try:
                attrs = w.get_attributes()
                if attrs.map_state != self.X.IsViewable or attrs.override_redirect:
                    continue
                owner = w.get_full_property(self.pid_atom, self.X.AnyPropertyType)
                if owner is None or owner.value[0] != pid:
                    continue
                g = w.get_geometry()
                title = w.get_full_property(self.name_atom, self.utf8)
                title = title.value.decode("utf-8", "replace") if title else (w.get_wm_name() or "")
                state = w.get_full_property(self.state_atom, self.X.AnyPropertyType)
                modal = state is not None and self.modal_atom in state.value
                found.append((w.id, title, g.x, g.y, g.width, g.height, modal))
            except error.XError:
                continue
        return found

    def click(self, x, y, button=1, times=1):
        self.xtest.fake_input(self.d, self.X.MotionNotify, x=int(x), y=int(y))
        for _ in range(times):
            self.xtest.fake_input(self.d, self.X.ButtonPress, button)
            self.xtest.fake_input(self.d, self.X.ButtonRelease, button)
        self.d.sync()

    def key(self, *names):
        codes = [self.d.keysym_to_keycode(self.XK.string_to_keysym(n)) for n in names]
        if not all(codes):
            return False
        for code in codes:
            self.xtest.fake_input(self.d, self.X.KeyPress, code)
        for code in reversed(codes):
            self.xtest.fake_input(self.d, self.X.KeyRelease, code)
        self.d.sync()
        return True

    def close(self, window_id):
        """Asks a window to close, as a window manager's close button does."""
        from Xlib import protocol
        w = self.d.create_resource_object("window", window_id)
        event = protocol.event.ClientMessage(window=w, client_type=self.protocols,
                                             data=(32, [self.delete_atom, 0, 0, 0, 0]))
        try:
            w.send_event(event, event_mask=0)
            self.d.sync()
        except Exception:
            pass


class PingWatch(threading.Thread):
    """Sends _NET_WM_PING to a window of the program every half second on a
    connection of its own and notes when the UI thread last answered."""

    def __init__(self, display_name, findings, program_log):
        super().__init__(daemon=True)
        self.screen = Screen(display_name)
        self.findings = findings
        self.program_log = program_log
        self.pid = None
        self.answered = time.monotonic()
        self.stamp = 0
        self.answered_stamp = 0
        self.cpu_at_answer = 0.0
        self.longest = 0.0
        self.busy_stalls = 0
        self.killed = False
        self.stop_flag = False
        self.lock = threading.Lock()
        # Qt answers on the root window to the clients that chose its
        # structure events there.
        self.screen.root.change_attributes(event_mask=self.screen.X.StructureNotifyMask)
        self.ping_atom = self.screen.atom("_NET_WM_PING")

    def follow(self, pid):
        with self.lock:
            self.pid = pid
            self.answered = time.monotonic()
            self.cpu_at_answer = 0.0
            if pid:
                self.killed = False

    def caught_up(self, seconds):
        """Waits until the UI thread has answered a ping sent from now on,
        that is, has handled every event sent before; False when it has not
        within `seconds`."""
        stamp = self.stamp
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            if self.answered_stamp > stamp:
                return True
            time.sleep(0.05)
        return False

    def silent_for(self):
        return time.monotonic() - self.answered

    def run(self):
        try:
            self._watch()
        except Exception as error:  # the display went away at the end
            if not self.stop_flag:
                print(f"ping watch ended: {error}", flush=True)

    def _watch(self):
        from Xlib import protocol
        reported = False
        while not self.stop_flag:
            with self.lock:
                pid = self.pid
            windows = self.screen.windows(pid) if pid else []
            if windows:
                self.stamp += 1
                w = self.screen.d.create_resource_object("window", windows[0][0])
                event = protocol.event.ClientMessage(
                    window=w, client_type=self.screen.protocols,
                    data=(32, [self.ping_atom, self.stamp, windows[0][0], 0, 0]))
                try:
                    w.send_event(event, event_mask=0)
                    self.screen.d.flush()
                except Exception:
                    pass
            else:
                self.answered = time.monotonic()
            last = self.answered
            self._read_answers(0.5)
            if pid and self.answered != last:
                seen = thread_cpu_and_state(pid)
                self.cpu_at_answer = seen[0] if seen else 0.0
            silent = self.silent_for()
            self.longest = max(self.longest, silent)
            if silent > HANG_S and not reported and pid:
                reported = True
                if judge_silence(pid, self.cpu_at_answer) != "hang":
                    # Back in its event loop when looked at, or waiting for a
                    # core: the answer was held up by a busy machine, not by
                    # the program.
                    self.busy_stalls += 1
                else:
                    self.findings.add("hang", f"the UI thread did not answer for {HANG_S:.0f} s",
                                      main_thread_stack(pid))
                    # gdb held the program meanwhile; that is not its silence.
                    self.answered = time.monotonic() - HANG_S
            if silent < HANG_S:
                reported = False
            if silent > HANG_KILL_S and pid:
                self.findings.add("hang", f"no answer for {HANG_KILL_S:.0f} s: program ended")
                try:
                    os.kill(pid, signal.SIGKILL)
                except OSError:
                    pass
                self.follow(None)
                self.killed = True

    def _read_answers(self, seconds):
        end = time.monotonic() + seconds
        d = self.screen.d
        while True:
            while d.pending_events():
                event = d.next_event()
                if (event.type == self.screen.X.ClientMessage
                        and event.client_type == self.screen.protocols
                        and event.data[1][0] == self.ping_atom):
                    self.answered = time.monotonic()
                    self.answered_stamp = max(self.answered_stamp, event.data[1][1])
            left = end - time.monotonic()
            if left <= 0:
                return
            select.select([d.fileno()], [], [], left)


def main_thread_stack(pid):
    """The program's main thread's stack, through gdb (empty without it)."""
    if shutil.which("gdb") is None:
        return ""
    try:
        out = subprocess.run(["gdb", "-p", str(pid), "-batch", "-ex", "thread 1", "-ex", "bt 25"],
                             capture_output=True, text=True, timeout=120).stdout
    except subprocess.TimeoutExpired:
        return "(gdb took too long)"
    return "\n".join(line for line in out.splitlines() if line.startswith("#"))


def thread_cpu_and_state(pid):
    """The main thread's CPU time in seconds and its scheduler state letter
    (R runnable, S sleeping, D in the disk, ...), or None when it is gone."""
    try:
        with open(f"/proc/{pid}/task/{pid}/stat") as f:
            data = f.read()
    except OSError:
        return None
    fields = data[data.rindex(")") + 2:].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK"), fields[0]


def silence_verdict(cpu_used, states):
    """A silent UI thread that is not in its event loop: "starved" when it
    waited to run (runnable in most samples) and computed less than the
    silence allows, so that on a free core it would have answered in time;
    "hang" when it computed that long itself or sleeps somewhere else than
    in its event loop (a lock, a pipe, a child)."""
    runnable = sum(state == "R" for state in states)
    if states and runnable * 2 >= len(states) and cpu_used < HANG_S:
        return "starved"
    return "hang"


def judge_silence(pid, cpu_before):
    """Why the UI thread of `pid` has been silent since it last answered,
    when it used `cpu_before` seconds of CPU: "loop" (back in its event
    loop), "starved" or "hang" (silence_verdict)."""
    if back_in_event_loop(pid):
        return "loop"
    states = []
    for _ in range(10):
        seen = thread_cpu_and_state(pid)
        if seen is None:
            return "loop"  # gone meanwhile: its end is judged elsewhere
        states.append(seen[1])
        time.sleep(0.1)
    return silence_verdict(seen[0] - cpu_before, states)


def back_in_event_loop(pid, seconds=2.0):
    """Whether the main thread waits in poll or ppoll, where its event loop
    waits, at some moment of the next seconds (its system call as the kernel
    tells it, sampled)."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        try:
            with open(f"/proc/{pid}/task/{pid}/syscall") as f:
                if f.read().split()[0] in ("7", "271"):
                    return True
        except (OSError, IndexError):
            return False
        time.sleep(0.05)
    return False


class Controls:
    """The places of the controls in the program's showing windows, from the
    accessibility bus, read again when the windows change."""

    def __init__(self):
        self.program = None
        self.key = None
        self.places = []
        self.age = 0

    def get(self, program, windows):
        key = tuple((w[0], w[2], w[3], w[4], w[5]) for w in windows)
        self.age += 1
        if program is not self.program or key != self.key or self.age > 25:
            self.program, self.key, self.age = program, key, 0
            self.places = self._read(program)
        return self.places

    def _read(self, program):
        places = []
        started = time.monotonic()
        try:
            for window in program.windows():
                for acc in program.descendants(window):
                    if time.monotonic() - started > 3 or len(places) > 400:
                        return places
                    if acc is window:
                        continue
                    seen = atspi_session.describe(program, acc)
                    if not seen["interactive"]:
                        continue
                    box = acc.queryComponent().getExtents(program.pyatspi.DESKTOP_COORDS)
                    if box.width > 0 and box.height > 0:
                        places.append((seen["name"], box.x, box.y, box.width, box.height,
                                       seen["enabled"]))
        except Exception as error:  # a window closing meanwhile
            if os.environ.get("MONKEY_DEBUG"):
                print("controls:", repr(error), flush=True)
        return places


class Monkey:
    def __init__(self, args, session, folder, findings, out):
        self.args = args
        self.session = session
        self.folder = folder
        self.findings = findings
        self.out = out
        self.rng = random.Random(args.seed)
        self.screen = Screen(session.display)
        self.counts = collections.Counter()
        self.controls = Controls()
        self.program = None
        self.language = 0
        self.midi = monkey_checks.MidiLog(os.path.join(out, "midi.log"))
        self.watch = PingWatch(session.display, findings, None)
        self.box_since = {}
        self.starts = 0

    # ---- the program's life ----------------------------------------------

    def data_folder(self, language):
        return os.path.join(self.session.folder, f"data{language}", "ZupfariDemo")

    def start(self):
        self.language = self.rng.choice([0, 0, 1])
        data = self.data_folder(self.language)
        os.makedirs(os.path.join(data, "Listen"), exist_ok=True)
        ini = os.path.join(data, "zupfaripref.ini")
        if not os.path.exists(ini):
            with open(ini, "wb") as f:
                f.write(b"[Midi]\r\nSoundcard=MIDI Log\r\n")
            monkey_checks.write_learner_lists(os.path.join(data, "Listen"), self.rng)
        env = {
            "MXMIDI_LOG": self.midi.path, "ZUPFARI_TIMING": "1",
            "ASAN_OPTIONS": "halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:"
                            "check_initialization_order=1" + FULL_STACKS * self.args.full_stacks,
            "UBSAN_OPTIONS": "halt_on_error=1:print_stacktrace=1",
            "LSAN_OPTIONS": "suppressions=" + SYSTEM_LEAKS,
        }
        self.starts += 1
        self.counts["starts"] += 1
        try:
            self.program = atspi_session.Program(self.session, self.folder, self.language, env)
        except RuntimeError as error:
            self.program = None
            self.findings.add("start", str(error), self.program_log())
            return False
        self.midi.restart()
        self.watch.follow(self.program.process.pid)
        return True

    def program_log(self):
        path = os.path.join(self.session.folder, f"program{self.language}.log")
        try:
            with open(path, errors="replace") as f:
                return f.read()
        except OSError:
            return ""

    def ended(self, code, asked):
        """The program has ended with `code`: what it left behind."""
        self.watch.follow(None)
        log = self.program_log()
        with open(os.path.join(self.out, f"program-{self.starts}.log"), "w") as f:
            f.write(log)
        report = monkey_checks.sanitizer_report(log)
        # The leak check ends the program with 1 for plugins' leaks too.
        if code == 1 and monkey_checks.only_plugin_leaks(log):
            self.counts["ends with plugins' leaks"] += 1
            code = 0
        if report:
            self.findings.add("sanitizer", report.splitlines()[0], report)
        elif code is None:
            self.findings.add("exit", "the program did not end when told to", log[-2000:])
        elif code == -signal.SIGKILL and self.watch.killed:
            pass  # the hang that made the monkey end it is already told
        elif code < 0 and not (asked and code == -signal.SIGTERM):
            self.findings.add("crash", "ended by " + signal.Signals(-code).name, log[-3000:])
        elif code > 0:
            self.findings.add("exit", f"exit code {code}", log[-2000:])
        else:
            self.counts["normal ends"] += 1
        for problem in monkey_checks.list_problems(os.path.join(self.data_folder(self.language),
                                                                "Listen")):
            self.findings.add("lists", problem)
        if code == 0 or asked:
            for problem in self.midi.sounding():
                self.findings.add("stuck note", "still sounding after the end: " + problem)
        self.program.log.close()
        self.program = None

    # ---- events ------------------------------------------------------------

    def pid(self):
        return self.program.process.pid if self.program else None

    def step(self):
        windows = self.screen.windows(self.pid())
        self.check_windows(windows)
        if not windows:
            return
        if self.answer_lasting_box(windows):
            return
        places = self.controls.get(self.program, windows)
        inside = [p for p in places if any(w[2] <= p[1] < w[2] + w[4] and w[3] <= p[2] < w[3] + w[5]
                                           for w in windows)]
        boxes = [w for w in windows if w[6]]
        choices = [("control", 45 if inside else 0), ("anywhere", 12),
                   ("double", 5 if inside else 0), ("wheel", 3 if inside else 0),
                   ("key", 20), ("other key", 4), ("esc/enter", 15 if boxes else 3),
                   ("close", 3)]
        action = self.rng.choices([c[0] for c in choices], [c[1] for c in choices])[0]
        self.counts[action] += 1
        if action in ("control", "double", "wheel"):
            name, x, y, w, h, enabled = self.rng.choices(
                inside, [control_weight(p[0], p[5]) for p in inside])[0]
            self.tell(f"{action} {name!r}")
            px, py = x + self.rng.uniform(0.2, 0.8) * w, y + self.rng.uniform(0.2, 0.8) * h
            stops = self.stops_reported()
            if action == "wheel":
                self.screen.click(px, py, self.rng.choice([4, 5]), self.rng.randint(1, 3))
            else:
                self.screen.click(px, py, times=2 if action == "double" else 1)
            if enabled and action == "control" and name in PLAY_NAMES:
                self.after_play()
            elif name in STOP_NAMES:
                self.after_stop(stops)
        elif action == "anywhere":
            w = self.rng.choice(windows)
            self.screen.click(w[2] + self.rng.randrange(max(1, w[4])),
                              w[3] + self.rng.randrange(max(1, w[5])))
        elif action in ("key", "other key"):
            keys = self.rng.choice(PROGRAM_KEYS if action == "key" else OTHER_KEYS)
            self.tell("key " + "+".join(keys))
            stops = self.stops_reported()
            self.screen.key(*keys)
            if keys == ("F5",):
                self.after_play()
            elif keys == ("F7",):
                self.after_stop(stops)
        elif action == "esc/enter":
            self.screen.key(self.rng.choice(["Escape", "Return"]))
        elif action == "close":
            self.screen.close(self.rng.choice(windows)[0])

    def tell(self, text):
        if self.args.verbose:
            print(f"{time.strftime('%H:%M:%S')} {text}", flush=True)

    def after_play(self):
        """Now and then the monkey listens a while after Play, as a learner
        does, so that the exercise runs long enough to be stopped, paused or
        moved while notes sound."""
        self.counts["plays"] += 1
        if self.rng.random() < 0.5:
            time.sleep(self.rng.uniform(0.5, 4.0))

    def stops_reported(self):
        return monkey_checks.stops_reported(self.program_log()) if self.program else 0

    def after_stop(self, stops_before):
        """A second after Stop no note may sound at "MIDI Log". A Stop counts
        only when the transport reported that it came back to Ready: one that
        did not reach it (a disabled button, a box in front, the focus
        elsewhere) leaves the exercise playing, and a long chord may sound on
        without a new note for more than a second. When new notes began
        meanwhile, nothing is judged either. The second counts from when the
        program has handled the Stop."""
        self.midi.read()
        notes = self.midi.notes
        # On a slow machine the Stop may still wait in the program's queue.
        if not self.watch.caught_up(10.0):
            return
        time.sleep(1.0)
        if not self.program or self.program.process.poll() is not None:
            return
        sounding = self.midi.sounding()
        if self.midi.notes != notes or self.stops_reported() == stops_before:
            return
        self.counts["stop checks"] += 1
        for problem in sounding:
            self.findings.add("stuck note", "still sounding a second after Stop: " + problem)

    def check_windows(self, windows):
        """Windows of one kind have the same title and size."""
        kinds = collections.Counter((w[1], w[4], w[5]) for w in windows)
        for (title, width, height), count in kinds.items():
            if count > 1:
                self.findings.add("windows", f"{count} windows {title!r} ({width}x{height}) at once")

    def answer_lasting_box(self, windows):
        now = time.monotonic()
        modal = {w[0]: w for w in windows if w[6]}
        self.box_since = {k: v for k, v in self.box_since.items() if k in modal}
        for window_id in modal:
            self.box_since.setdefault(window_id, now)
        lasting = [k for k, since in self.box_since.items() if now - since > BOX_PATIENCE_S]
        if not lasting:
            return False
        window_id = lasting[-1]
        tries = int((now - self.box_since[window_id] - BOX_PATIENCE_S) / 1.5)
        self.counts["boxes answered"] += tries == 0
        if tries % 4 == 0:
            self.screen.key("Return")
        elif tries % 4 == 1:
            self.screen.key("Escape")
        elif tries % 4 == 2:
            self.screen.close(window_id)
        else:
            w = modal[window_id]
            self.screen.click(w[2] + w[4] * 0.5, w[3] + w[5] - 25)
        time.sleep(1.5)
        return True

    # ---- the run -------------------------------------------------------------

    def run(self):
        self.watch.start()
        end = time.monotonic() + self.args.minutes * 60
        while time.monotonic() < end:
            if self.program is None:
                if not self.start():
                    if self.counts["starts"] > 3 and self.counts["normal ends"] == 0:
                        break
                    continue
            code = self.program.process.poll()
            if code is not None:
                self.ended(code, False)
                continue
            self.step()
            self.counts["events"] += 1
            time.sleep(self.rng.uniform(0.05, 0.35))
        if self.program is not None:
            # A program told to end is no longer watched for silence: its
            # windows stay up while it saves and checks for leaks.
            self.watch.follow(None)
            self.program.process.send_signal(signal.SIGTERM)
            self.ended(self.wait_end(), True)
        self.watch.stop_flag = True

    def wait_end(self):
        try:
            return self.program.process.wait(60)
        except subprocess.TimeoutExpired:
            self.program.process.kill()
            self.program.process.wait()
            return None


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True, help="folder of the program and its libraries")
    parser.add_argument("--content", help="folder with the course content (default: --program)")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--minutes", type=float, default=3.0)
    parser.add_argument("--damaged", action="store_true",
                        help="cut, swap or remove a fixed set of content files per seed")
    parser.add_argument("--keep", help="keep the logs in this folder")
    parser.add_argument("--full-stacks", action="store_true",
                        help="full allocation stacks in leak reports (slower)")
    parser.add_argument("--verbose", action="store_true", help="print every event")
    args = parser.parse_args()
    atspi_session.run_in_own_bus()

    program_dir = os.path.abspath(args.program)
    content_dir = os.path.abspath(args.content or args.program)
    findings = Findings()
    scratch = tempfile.mkdtemp(prefix="zupfari-monkey-")
    out = os.path.abspath(args.keep) if args.keep else os.path.join(scratch, "out")
    os.makedirs(out, exist_ok=True)
    folder = os.path.join(scratch, "program")
    damage = monkey_content.make_program_folder(program_dir, content_dir, folder,
                                                args.seed if args.damaged else None)
    for line in damage:
        print("damaged: " + line)
    session = atspi_session.Session()
    started = time.monotonic()
    monkey = Monkey(args, session, folder, findings, out)
    try:
        monkey.run()
    finally:
        session.close()
        shutil.rmtree(folder, ignore_errors=True)
    minutes = (time.monotonic() - started) / 60
    print(f"monkey: seed {args.seed}, {'damaged' if args.damaged else 'normal'} content, "
          f"{minutes:.1f} min, longest UI silence {monkey.watch.longest:.1f} s, "
          f"{monkey.watch.busy_stalls} silences over {HANG_S:.0f} s with the UI thread idle "
          f"or waiting for a core when looked at (busy machine)")
    print("events: " + ", ".join(f"{k} {v}" for k, v in sorted(monkey.counts.items())))
    print(f"notes played at MIDI Log: {monkey.midi.notes}")
    print(f"found: {len(findings.items)}" + ("" if findings.items else " (nothing)"))
    for _, kind, detail, _ in findings.items:
        print(f"  {kind}: {detail}")
    print("logs in " + out)
    return 1 if findings.items else 0


if __name__ == "__main__":
    sys.exit(main())
