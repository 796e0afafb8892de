#!/usr/bin/env python3
"""Pictures of every kind of window on a screen with a scale factor, run by
hand (not part of the suite):

  /usr/bin/python3 tests/access/scale_gallery.py build/bin build/gallery/scale2 [--scale 2] [--language 0]

The real program runs on a private X display as large as the scaled windows
need, with QT_SCALE_FACTOR set, and is led by its controls' own actions
through the windows, as in the screen reader walk. Each picture is the main
window's area of the screen (800 x 600 times the scale), where the dialogs
show too:

  start_question.png   the start question over the main window
  main_focus.png       the greeting, the keyboard's focus ring on "Neue Übung"
  slide_a.png          window A of the first lesson
  main_lesson.png      the first lesson open
  tuner.png            the tuner panel
  explorer.png         the explorer, lesson 7 open
  slide_a_chords.png   window A of lesson 7 with its chord samples
  monitor.png          the monitor panel
  quiz.png             the first lesson's quiz, one box ticked
  quiz_result.png      its result box
  exit.png             the exit dialog
"""
import argparse
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import atspi_session as atspi  # noqa: E402
import screenshot  # noqa: E402
from walk_test import WORDS  # noqa: E402


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("bin_dir")
    parser.add_argument("out_dir")
    parser.add_argument("--scale", type=int, default=2)
    parser.add_argument("--language", type=int, default=0)
    args = parser.parse_args()
    atspi.run_in_own_bus()
    os.makedirs(args.out_dir, exist_ok=True)
    scale, words = args.scale, WORDS[args.language]
    width, height = 800 * scale + 64, 600 * scale + 64
    session = atspi.Session(width, height)

    def shoot(name):
        time.sleep(1.0)
        rows = screenshot.grab(session.display, (width - 800 * scale) // 2, (height - 600 * scale) // 2,
                               800 * scale, 600 * scale)
        path = os.path.join(args.out_dir, name)
        screenshot.save_png(path, rows)
        print("wrote", path)

    try:
        program = atspi.Program(session, args.bin_dir, args.language, {"QT_SCALE_FACTOR": str(scale)})
        keys = atspi.Keyboard(session.display)
        start = program.window(words["welcome"], 60)
        shoot("start_question.png")
        program.press(start, words["no"])
        program.gone(start)
        main = program.window(words["main"])
        while program.focused() is None or program.focused().name != words["new"]:
            keys.press("Tab")
        shoot("main_focus.png")
        keys.press("Return")
        slide = program.window(None, 10)
        shoot("slide_a.png")
        for _ in range(3):
            window = atspi.wait_for(lambda: next(
                (w for w in program.windows() if w.name != words["main"]), None), 5)
            if window is None:
                break
            program.press(window, words["next"])
            program.gone(window)
        shoot("main_lesson.png")
        program.press(main, words["tuner"])
        shoot("tuner.png")
        program.press(main, words["mode"])
        program.press(main, words["lesson"] + " 7", leading=True)
        shoot("explorer.png")
        program.press(main, words["windowA"])
        slide = atspi.wait_for(lambda: next(
            (w for w in program.windows() if w.name != words["main"]), None), 10)
        shoot("slide_a_chords.png")
        program.press(slide, words["cancel"])
        program.gone(slide)
        program.press(main, words["monitor"])
        shoot("monitor.png")
        program.press(main, words["mode"])
        program.press(main, words["plan"])
        program.press(main, words["quiz"])
        quiz = atspi.wait_for(lambda: next(
            (w for w in program.windows() if w.name.startswith(words["quiz"])), None), 10)
        first = next(a for a in program.descendants(quiz) if a.getRoleName() == "radio button")
        first.queryAction().doAction(program.press_action(first))
        shoot("quiz.png")
        program.press(quiz, words["ok"])
        result = program.window(words["wrong"], 10)
        shoot("quiz_result.png")
        program.press(result, words["no"])
        program.press(quiz, words["cancel"])
        program.gone(quiz)
        program.press(main, words["quit"])
        program.press(program.window(words["bye"], 10), words["no"])
        leave = program.window(words["quit"], 10)
        shoot("exit.png")
        program.press(leave, words["yes"])
        program.end(15)
    finally:
        session.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
