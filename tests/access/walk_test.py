#!/usr/bin/env python3
"""Walks the program as a screen reader sees it, in both editions.

For each language (German 0, English 1) the real program starts on a private
X display with the accessibility bus. The walk goes the learner's first
road through every kind of window and presses its way on through the
controls' own actions, as a screen reader user would:

  start question (message box) -> main window -> slide windows A, B, C of
  the first lesson -> main window with the lesson open -> the tuner and
  explorer panels (the list scrolled, lesson 7 opened there, its tempo bar
  moved, its window A with chord samples) -> the monitor and practice plan
  panels -> quiz -> its result (message box) -> the web site
  question (message box) -> exit dialog -> leaving the program.

In every window it lists each showing control that takes input (it offers
an action or a value, or takes the keyboard focus) with its role, name and
action or value, and counts it complete when the role says what it is, the
name is not empty and it can be pressed or set. It also checks that moving
the tempo bar is announced on the bus. The test passes when every window
was reached and 100 % of the controls are complete.

  /usr/bin/python3 walk_test.py BIN_DIR [--language 0|1 ...]
"""
import argparse
import os
import sys
import threading

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import atspi_session as atspi  # noqa: E402

# The words the walk presses, by edition (Sprachbank captions and messages).
WORDS = {
    0: {"no": "Nein", "yes": "Ja", "new": "Neue Übung", "next": "Weiter", "quiz": "Kontrolle",
        "plan": "Übeplan", "mode": "Modus", "monitor": "Monitor", "tuner": "Tuner", "quit": "Beenden",
        "cancel": "Abbrechen", "ok": "OK", "tempo": "Tempostufe", "welcome": "Willkommen bei Zupfari Basis!",
        "wrong": "Noch nicht ganz", "main": "Zupfari Basis", "lesson": "Lektion", "explorer": "Explorer",
        "down": "Liste nach unten", "windowA": "» Lernfenster A", "bye": "Bis zum nächsten Mal!"},
    1: {"no": "No", "yes": "Yes", "new": "New lesson", "next": "Next", "quiz": "Quiz",
        "plan": "Practice plan", "mode": "Mode", "monitor": "Monitor", "tuner": "Tuner", "quit": "Quit",
        "cancel": "Cancel", "ok": "OK", "tempo": "Tempo level", "welcome": "Welcome to Zupfari Basis!",
        "wrong": "Not quite", "main": "Zupfari Basis", "lesson": "Lesson", "explorer": "Explorer",
        "down": "Scroll the list down", "windowA": "» Window A", "bye": "See you next time!"},
}


class Walk:
    def __init__(self, program, words):
        self.program = program
        self.words = words
        self.interactive = self.complete = 0
        self.windows = []
        self.missing = []

    def look(self, title, window):
        if window is None:
            print(f"MISSING {title}")
            self.missing.append(title)
            return None
        print(f"{title}: {window.getRoleName()} {window.name!r}")
        interactive, complete, objects = atspi.walk(self.program, window)
        print(f"  -> {complete} of {interactive} controls complete ({objects} objects showing)")
        self.interactive += interactive
        self.complete += complete
        self.windows.append(title)
        return window

    def press(self, window, word, role=None):
        return self.program.press(window, self.words[word], role)

    def main_window(self):
        return self.program.window(self.words["main"])


def slide_windows(walk, main):
    """Window A, B and C of the lesson "Neue Übung" introduces."""
    program, words = walk.program, walk.words
    walk.press(main, "new")
    seen = 0
    for _ in range(3):
        window = atspi.wait_for(lambda: next(
            (w for w in program.windows() if w.getRoleName() == "frame" and w.name != words["main"]), None), 10)
        if window is None:
            break
        seen += 1
        walk.look(f"slide window {seen}", window)
        walk.press(window, "next")
        program.gone(window)
    if seen == 0:
        walk.look("slide windows", None)


def panels(walk, main):
    """The tuner; the explorer, where the list is scrolled and lesson 7 opens
    (its tempo bar is moved, its window A with chord samples is walked from
    the lesson screen); the monitor; then back to the tutorial and the plan.
    True when the tempo bar's move was announced."""
    program, words = walk.program, walk.words
    walk.press(main, "tuner")
    atspi.wait_for(lambda: program.find(main, words["tuner"], "panel"), 5)
    walk.look("main window with the tuner panel", main)

    walk.press(main, "mode")
    atspi.wait_for(lambda: program.find(main, words["explorer"], "panel"), 5)
    walk.look("main window with the explorer panel", main)
    walk.press(main, "down")
    # The explorer's rows are named by their lesson and its title.
    scrolled = atspi.wait_for(
        lambda: program.find(main, words["lesson"] + " 8", pressable=True, leading=True), 5)
    print(f"explorer list scrolled by its button: {scrolled is not None}")
    program.press(main, words["lesson"] + " 7", leading=True)
    atspi.wait_for(lambda: program.find(main, words["tempo"], "slider").getState().contains(
        program.pyatspi.STATE_SENSITIVE), 10)
    announced = tempo_is_announced(walk, main) and scrolled is not None
    walk.press(main, "windowA")
    chords = atspi.wait_for(lambda: next(
        (w for w in program.windows() if w.name.endswith(words["lesson"] + " 7")), None), 10)
    walk.look("slide window A with chord samples", chords)
    if chords is not None:
        walk.press(chords, "cancel")
        program.gone(chords)

    walk.press(main, "monitor")
    atspi.wait_for(lambda: program.find(main, words["monitor"], "panel"), 5)
    walk.look("main window with the monitor panel", main)
    walk.press(main, "mode")  # back to the tutorial
    walk.press(main, "plan")
    return announced


def tempo_is_announced(walk, main):
    """The tempo bar moved from outside: the bus carries the new value."""
    program = walk.program
    bar = program.find(main, walk.words["tempo"], "slider")
    if bar is None or not bar.getState().contains(program.pyatspi.STATE_SENSITIVE):
        print("tempo bar: not found or not enabled")
        return False
    heard = threading.Event()

    def listener(event):
        if event.source.name == walk.words["tempo"]:
            heard.set()

    program.pyatspi.Registry.registerEventListener(listener, "object:property-change:accessible-value")
    value = bar.queryValue()
    before = value.currentValue
    value.currentValue = before + 1
    # Events arrive through the registry's main loop: pump it briefly.
    from gi.repository import GLib
    context = GLib.MainContext.default()
    atspi.wait_for(lambda: (context.iteration(False), heard.is_set())[1], 5, 0.02)
    program.pyatspi.Registry.deregisterEventListener(listener, "object:property-change:accessible-value")
    now = bar.queryValue().currentValue
    print(f"tempo bar: {before:g} -> {now:g}, announced: {heard.is_set()}")
    return now == before + 1 and heard.is_set()


def quiz_and_leave(walk, main):
    program, words = walk.program, walk.words
    walk.press(main, "quiz")
    quiz = atspi.wait_for(lambda: next((w for w in program.windows() if w.name.startswith(words["quiz"])), None), 10)
    walk.look("quiz", quiz)
    if quiz is None:
        return
    # No box ticked: the quiz is failed; its message box says so.
    walk.press(quiz, "ok")
    result = program.window(words["wrong"], 10)
    walk.look("quiz result (message box)", result)
    if result is not None:
        walk.press(result, "no")
        program.gone(result)
    walk.press(quiz, "cancel")
    program.gone(quiz)
    walk.press(main, "quit")
    # First the question whether to visit the web site, then the exit dialog.
    bye = program.window(words["bye"], 10)
    walk.look("web site question (message box)", bye)
    if bye is not None:
        walk.press(bye, "no")
    leave = program.window(words["quit"], 10)
    walk.look("exit dialog", leave)
    if leave is not None:
        walk.press(leave, "yes")


def run(bin_dir, language, session):
    words = WORDS[language]
    print(f"===== edition {language} =====")
    program = atspi.Program(session, bin_dir, language)
    walk = Walk(program, words)
    try:
        # The start screen stands three seconds only: walked when still there.
        splash = atspi.wait_for(lambda: next(
            (w for w in program.windows()
             if any(a.getRoleName() == "link" for a in program.descendants(w))), None), 1)
        if splash is not None:
            walk.look("start screen", splash)
        else:
            print("start screen: gone before the walk came (not counted)")
        start = program.window(words["welcome"], 30)
        walk.look("start question (message box)", start)
        if start is not None:
            walk.press(start, "no")
            program.gone(start)
        main = walk.main_window()
        walk.look("main window", main)
        slide_windows(walk, main)
        walk.look("main window with the lesson", main)
        announced = panels(walk, main)
        quiz_and_leave(walk, main)
        ended = program.end(15)
        print(f"program ended: {ended == 0}")
    finally:
        if program.process.poll() is None:
            program.process.kill()
            program.end()
    share = 100.0 * walk.complete / walk.interactive if walk.interactive else 0.0
    print(f"edition {language}: {len(walk.windows)} windows, {walk.interactive} controls, "
          f"{walk.complete} complete ({share:.0f} %)")
    return not walk.missing and walk.complete == walk.interactive and walk.interactive > 0 \
        and announced and ended == 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("bin_dir")
    parser.add_argument("--language", type=int, action="append")
    args = parser.parse_args()
    atspi.run_in_own_bus()
    session = atspi.Session()
    try:
        results = [run(args.bin_dir, language, session) for language in (args.language or [0, 1])]
    finally:
        session.close()
    print("PASS" if all(results) else "FAIL")
    return 0 if all(results) else 1


if __name__ == "__main__":
    sys.exit(main())
