"""What the monkey checks after the program's events: sanitizer reports in its
output, the list files it leaves behind, and the notes still sounding at the
"MIDI Log" device."""
import collections
import os

PLAN_FILE = "ListeUeplan.ztl"
WAITING_FILE = "ListeWarten.ztl"
PLAN_SLOTS = 3
LESSONS = 30
FIELDS = 3

SANITIZER_MARKS = ("ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:",
                   "WARNING: AddressSanitizer", "ERROR: UndefinedBehaviorSanitizer")


def sanitizer_report(log):
    """The first sanitizer report in a program's output (from its first line
    to the summary), or an empty string. A leak report of nothing but memory
    of unloaded plugins is none (see unloaded_module_leaks_only)."""
    report = first_report(log)
    return "" if unloaded_module_leaks_only(report) else report


def first_report(log):
    """The first sanitizer report in a program's output, as it stands."""
    lines = log.splitlines()
    for i, line in enumerate(lines):
        if any(mark in line for mark in SANITIZER_MARKS):
            end = next((j for j in range(i, len(lines)) if lines[j].startswith("SUMMARY:")),
                       min(len(lines) - 1, i + 60))
            return "\n".join(lines[i:end + 1])
    return ""


def only_plugin_leaks(log):
    """Whether the program's output reports leaks, all of unloaded plugins:
    then its exit code 1 is the leak check's, not the program's."""
    return unloaded_module_leaks_only(first_report(log))


def unloaded_module_leaks_only(report):
    """Whether a leak report names only memory whose every caller is in an
    "<unknown module>": code of a plugin unloaded before the check (a
    graphics driver after a video, say). The program and the libraries it
    links stay loaded to the end, so such memory is never ours, and a
    suppression cannot name a module that is gone."""
    if "ERROR: LeakSanitizer" not in report:
        return False
    leaks = [block for block in report.split("\n\n") if " leak of " in block]
    if not leaks:
        return False
    for block in leaks:
        callers = [line for line in block.splitlines()[2:] if line.strip().startswith("#")]
        if not callers or not all("(<unknown module>)" in line for line in callers):
            return False
    return True


def stops_reported(log):
    """How often the program's transport has come back to Ready (its timing
    report "transport-ready"): a Stop that reached the transport adds one."""
    return sum(1 for line in log.splitlines() if line.startswith("ZUPFARI-TIME transport-ready"))


def read_entries(path, count):
    """The entries of a list file as (lesson, level, play count), or a
    problem: the file as the program writes it, its field count first, every
    line a decimal integer ending in CR LF."""
    try:
        with open(path, "rb") as f:
            data = f.read()
    except OSError as error:
        return None, f"{os.path.basename(path)} cannot be read ({error.strerror})"
    name = os.path.basename(path)
    if not data.endswith(b"\r\n"):
        return None, f"{name} does not end with CR LF ({len(data)} bytes)"
    lines = data[:-2].split(b"\r\n")
    if len(lines) != 1 + count * FIELDS:
        return None, f"{name} has {len(lines)} lines, not {1 + count * FIELDS}"
    try:
        numbers = [int(line) for line in lines]
    except ValueError:
        return None, f"{name} holds a line that is not a number"
    if numbers[0] != FIELDS:
        return None, f"{name} starts with {numbers[0]}, not {FIELDS}"
    return [tuple(numbers[1 + i * FIELDS:1 + (i + 1) * FIELDS]) for i in range(count)], None


def list_problems(folder):
    """What is wrong with the two list files in `folder` (empty when both are
    valid): the plan's slots hold a lesson (0-29) at a level 1-10 with a play
    count of at least 0, or are empty (-1); no lesson twice; the waiting
    list marks each lesson waiting (1) or taken (0), with a level and count as
    above; a lesson in the plan is taken."""
    plan, problem = read_entries(os.path.join(folder, PLAN_FILE), PLAN_SLOTS)
    problems = [problem] if problem else []
    waiting, problem = read_entries(os.path.join(folder, WAITING_FILE), LESSONS)
    problems += [problem] if problem else []
    if problems:
        return problems
    planned = [entry for entry in plan if entry[0] != -1]
    for lesson, level, count in planned:
        if not 0 <= lesson < LESSONS or not 1 <= level <= 10 or count < 0:
            problems.append(f"plan entry ({lesson}, {level}, {count}) out of range")
        elif waiting[lesson][0] != 0:
            problems.append(f"lesson {lesson} is in the plan and still waiting")
    lessons = [entry[0] for entry in planned]
    if len(set(lessons)) != len(lessons):
        problems.append(f"a lesson twice in the plan: {lessons}")
    for lesson, (flag, level, count) in enumerate(waiting):
        if flag not in (0, 1) or not 1 <= level <= 10 or count < 0:
            problems.append(f"waiting entry {lesson} ({flag}, {level}, {count}) out of range")
    return problems


def write_learner_lists(folder, rng):
    """Lists of a learner some way into the course, as the program writes
    them: three lessons in the plan at random levels, taken from the waiting
    list, and the lessons before the first of them done."""
    lessons = sorted(rng.sample(range(1, LESSONS - 1), PLAN_SLOTS))
    plan = [(lesson, rng.randint(1, 10), rng.randint(0, 2)) for lesson in lessons]
    waiting = [(0 if lesson < lessons[0] or lesson in lessons else 1, 1, 0)
               for lesson in range(LESSONS)]
    for name, entries in ((PLAN_FILE, plan), (WAITING_FILE, waiting)):
        numbers = [FIELDS] + [n for entry in entries for n in entry]
        with open(os.path.join(folder, name), "wb") as f:
            f.write(b"".join(b"%d\r\n" % n for n in numbers))


class MidiLog:
    """The notes sounding at "MIDI Log", read on from where it was last read
    (the device appends one line per message: time, status, data bytes)."""

    def __init__(self, path):
        self.path = path
        self.offset = 0
        self.on = collections.Counter()
        self.notes = 0

    def restart(self):
        """A new program: what the last one left sounding is forgotten."""
        self.read()
        self.on.clear()

    def read(self):
        try:
            with open(self.path, "rb") as f:
                f.seek(self.offset)
                data = f.read()
        except OSError:
            return
        complete = data[:data.rfind(b"\n") + 1]
        self.offset += len(complete)
        for line in complete.split(b"\n"):
            parts = line.split()
            if len(parts) == 4:
                self.message(int(parts[1], 16), int(parts[2], 16), int(parts[3], 16))

    def message(self, status, key, value):
        kind, channel = status & 0xF0, status & 0x0F
        if kind == 0x90 and value > 0:
            self.on[(channel, key)] += 1
            self.notes += 1
        elif kind == 0x80 or kind == 0x90:
            self.on.pop((channel, key), None)
        elif kind == 0xB0 and key in (120, 123):
            for sounding in [k for k in self.on if k[0] == channel]:
                del self.on[sounding]

    def sounding(self):
        """The notes on now, as "channel C key K" (channels counted from 1)."""
        self.read()
        return [f"channel {c + 1} key {k}" for (c, k) in sorted(self.on)]
