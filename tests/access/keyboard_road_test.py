#!/usr/bin/env python3
"""A learner's road through the first lesson with the keyboard alone.

The real program runs on a private X display; every step is a real key
press (XTEST). The accessibility bus serves only as the learner's screen
reader: it tells which control has the focus, which window shows and what
is ticked. The road:

  start question: Tab to "Nein", Enter -> main window: Tab to "Neue Übung",
  Enter -> slide windows A, B, C: Enter on "Weiter" each -> the lesson opens:
  Tab to "Abspielen", Enter; it plays; Tab to "Stopp", Space; F5 and F7 play
  and stop it as before -> Tab to "Kontrolle", Enter -> the quiz: Tab to each
  question's right answer (taken from the course source), Space ticks it,
  Enter checks the quiz -> "Richtig!": Tab to "Später", Enter -> Tab to
  "Beenden", Enter -> the web site question: Esc -> exit dialog: Enter.

It passes when every step happened as the keys asked, the program ended by
itself, and the saved lists show the first lesson passed.

  /usr/bin/python3 keyboard_road_test.py BIN_DIR SOURCE_DIR
"""
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import atspi_session as atspi  # noqa: E402

LANGUAGE = 0
MAX_TABS = 50


class StepFailed(Exception):
    pass


class Road:
    def __init__(self, program, keys):
        self.program = program
        self.keys = keys
        self.failures = []

    def check(self, what, ok):
        """Reports a step; the road ends at the first one that failed."""
        print(f"{'ok  ' if ok else 'FAIL'} {what}", flush=True)
        if not ok:
            self.failures.append(what)
            raise StepFailed(what)
        return ok

    def focused_name(self):
        focused = self.program.focused()
        return focused.name if focused is not None else None

    def tab_to(self, wanted, role=None):
        """Tab until the control called `wanted` (matching `wanted` when it is
        a function) has the focus; that control, or None."""
        for _ in range(MAX_TABS):
            focused = self.program.focused()
            if focused is not None and (wanted(focused) if callable(wanted) else focused.name == wanted) \
                    and (role is None or focused.getRoleName() == role):
                return focused
            self.keys.press("Tab")
        return None

    def wait_focus(self, name, seconds=5):
        return atspi.wait_for(lambda: self.focused_name() == name, seconds)

    def enabled(self, window, name):
        control = self.program.find(window, name)
        return control is not None and control.getState().contains(self.program.pyatspi.STATE_SENSITIVE)


def right_answers(source_dir):
    """The right answer of each question of the first lesson, as written."""
    path = os.path.join(source_dir, "content", "sources", "course", "lektion00.txt")
    with open(path, encoding="utf-8") as f:
        return re.findall(r"^right:\s*(.+?)\s*$", f.read(), re.MULTILINE)


def entries(lines):
    """The (Lesson, Level, PlayCount) entries of a saved list file."""
    numbers = [int(line) for line in lines[1:] if line.strip()]
    return [tuple(numbers[i:i + 3]) for i in range(0, len(numbers) - 2, 3)]


def same_words(a, b):
    return " ".join(a.split()) == " ".join(b.split())


def road(r, source_dir):
    program, keys = r.program, r.keys
    start = program.window("Willkommen bei Zupfari Basis!", 30)
    r.check("the start question shows with the focus on Ja", start is not None and r.wait_focus("Ja"))
    keys.press("Tab")
    r.check("Tab moves to Nein", r.focused_name() == "Nein")
    keys.press("Return")
    r.check("Enter on Nein closes the box", start is not None and program.gone(start))

    main = program.window("Zupfari Basis")
    r.check("Tab reaches Neue Übung", r.tab_to("Neue Übung") is not None)
    keys.press("Return")
    for letter in "ABC":
        slide = program.window(f"Lernfenster {letter} – Einstieg", 10)
        r.check(f"slide window {letter} opens on Weiter", slide is not None and r.wait_focus("Weiter"))
        keys.press("Return")
        if slide is not None:
            program.gone(slide)

    r.check("the lesson opens and Play can be pressed",
            atspi.wait_for(lambda: r.enabled(main, "Abspielen"), 10))
    r.check("Tab reaches Abspielen", r.tab_to("Abspielen") is not None)
    keys.press("Return")
    r.check("Enter plays the exercise (Stopp enabled)", atspi.wait_for(lambda: r.enabled(main, "Stopp"), 10))
    r.check("Tab reaches Stopp", r.tab_to("Stopp") is not None)
    keys.press("space")
    r.check("Space stops it (Abspielen enabled again)", atspi.wait_for(lambda: r.enabled(main, "Abspielen"), 10))
    keys.press("F5")
    # F7 stops once Pause can be pressed (after the count-in).
    r.check("F5 still plays", atspi.wait_for(lambda: r.enabled(main, "Pause"), 15))
    keys.press("F7")
    r.check("F7 still stops", atspi.wait_for(lambda: r.enabled(main, "Abspielen"), 10))

    r.check("Tab reaches Kontrolle", r.tab_to("Kontrolle") is not None)
    keys.press("Return")
    quiz = program.window("Kontrolle – Einstieg", 10)
    r.check("the quiz opens", quiz is not None)
    answers = right_answers(source_dir)
    r.check("the course source names three right answers", len(answers) == 3)
    for number, answer in enumerate(answers, 1):
        box = r.tab_to(lambda f, n=number, a=answer: f.getRoleName() == "radio button"
                       and (f.description or "").startswith(f"{n}.") and same_words(f.name, a))
        r.check(f"Tab reaches the answer {answer!r} of question {number}", box is not None)
        keys.press("space")
        r.check("Space ticks it", box is not None and
                box.getState().contains(program.pyatspi.STATE_CHECKED))
    keys.press("Return")
    result = program.window("Richtig!", 10)
    r.check("Enter checks the quiz: passed", result is not None)
    r.check("Tab reaches Später", r.tab_to("Später") is not None)
    keys.press("Return")
    r.check("the quiz and its box close", quiz is not None and program.gone(quiz) and program.gone(result))

    r.check("Tab reaches Beenden", r.tab_to("Beenden") is not None)
    keys.press("Return")
    bye = program.window("Bis zum nächsten Mal!", 10)
    r.check("the web site question shows", bye is not None)
    keys.press("Escape")
    leave = program.window("Beenden", 10)
    r.check("Esc answers it with Nein: the exit dialog shows on Ja", leave is not None and r.wait_focus("Ja"))
    keys.press("Return")


def main():
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    bin_dir, source_dir = sys.argv[1], sys.argv[2]
    atspi.run_in_own_bus()
    session = atspi.Session()
    try:
        program = atspi.Program(session, bin_dir, LANGUAGE)
        r = Road(program, atspi.Keyboard(session.display))
        try:
            road(r, source_dir)
            r.check("Enter on Ja ends the program", program.end(15) == 0)
            # Line 1 "3", then Lesson, Level and PlayCount of each entry.
            plan = entries(program.list_lines("ListeUeplan.ztl"))
            waiting = entries(program.list_lines("ListeWarten.ztl"))
            print(f"saved plan: {plan}\nsaved waiting list: {waiting[:3]} ...")
            r.check("the saved plan is empty: the first lesson was passed",
                    len(plan) == 3 and all(entry[0] == -1 for entry in plan))
            r.check("the first lesson waits no more, the second still does",
                    len(waiting) == 30 and waiting[0][0] == 0 and waiting[1][0] != 0)
        except StepFailed:
            pass
        finally:
            if program.process.poll() is None:
                program.process.kill()
            program.end(5)
    finally:
        session.close()
    print("PASS" if not r.failures else f"FAIL ({len(r.failures)} steps)")
    return 0 if not r.failures else 1


if __name__ == "__main__":
    sys.exit(main())
