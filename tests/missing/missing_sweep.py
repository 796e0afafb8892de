#!/usr/bin/env python3
"""Starts the program with one file of its program folder missing at a time,
and again with that file cut to half its length.

For each file tried, the program folder is mirrored into a scratch folder
(symbolic links) without that file, or with a half copy of it, and the real
program runs there offscreen
with message boxes answered on their own (ZUPFARI_AUTOANSWER) and a data
folder that already holds a learner's lists. A run passes when the program
either reaches its greeting screen and keeps running until it is told to end,
or ends by itself with an exit code after showing a message; it fails when
it dies of a signal, hangs before the greeting, or changes the learner's
list files.

  missing_sweep.py BIN_DIR [--all] [--jobs N] [--only PREFIX ...]

Without --all one file per kind (folder and extension) is tried; --all tries
every file (the full sweep, run by hand: several minutes per hundred files).
"""
import argparse
import concurrent.futures
import filecmp
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

PROGRAM = "ZupfariBasis"
GREETING = "ZUPFARI-TIME greeting"
START_LIMIT_S = 60  # a start that takes longer counts as a hang
# What belongs to the program itself, not to its content.
NOT_CONTENT = {PROGRAM, "sequenzor-play", "libSequenzor.so", "libSprachbank.so"}


def content_files(bin_dir):
    found = []
    for root, _dirs, files in os.walk(bin_dir):
        for name in files:
            rel = os.path.relpath(os.path.join(root, name), bin_dir)
            if rel not in NOT_CONTENT and not rel.startswith("lib"):
                found.append(rel)
    return sorted(found)


def kind_of(rel):
    folder = os.path.dirname(rel)
    # The 30 lesson folders are one kind, in either edition (the English
    # edition's below English/), and so are the exercise levels.
    head, lesson = os.path.split(folder)
    if lesson.startswith("lektion") and lesson[7:].isdigit():
        folder = os.path.join(head, "lektionN")
    return folder, os.path.splitext(rel)[1].lower()


def sample(files):
    chosen = {}
    for rel in files:
        chosen.setdefault(kind_of(rel), rel)
    return sorted(chosen.values())


def mirror_without(bin_dir, target, missing, truncate):
    for root, dirs, files in os.walk(bin_dir):
        rel_root = os.path.relpath(root, bin_dir)
        out_root = os.path.join(target, rel_root) if rel_root != "." else target
        os.makedirs(out_root, exist_ok=True)
        for name in files:
            rel = os.path.normpath(os.path.join(rel_root, name))
            source, copy = os.path.join(root, name), os.path.join(out_root, name)
            if rel != missing:
                os.symlink(source, copy)
            elif truncate:
                with open(source, "rb") as whole, open(copy, "wb") as half:
                    half.write(whole.read(os.path.getsize(source) // 2))


def environment(home):
    env = dict(os.environ)
    env.update({
        "HOME": home,
        "XDG_DATA_HOME": os.path.join(home, ".local", "share"),
        "XDG_CONFIG_HOME": os.path.join(home, ".config"),
        "XDG_RUNTIME_DIR": home,
        "QT_QPA_PLATFORM": "offscreen",
        "ZUPFARI_AUTOANSWER": "50:1",
        "ZUPFARI_TIMING": "1",
        "SPRACHBANK_LANGUAGE": "0",
    })
    env.pop("DISPLAY", None)
    return env


def run_program(folder, home):
    """Runs the program until its greeting (then ends it) or its own end.
    Returns (outcome, stderr text): outcome is 'greeting', 'exit N',
    'signal NAME' or 'hang'."""
    log_path = os.path.join(home, "stderr.txt")
    with open(log_path, "w") as log:
        proc = subprocess.Popen([os.path.join(folder, PROGRAM)], cwd=folder, env=environment(home),
                                stdout=subprocess.DEVNULL, stderr=log)
        deadline = time.monotonic() + START_LIMIT_S
        outcome = "hang"
        while time.monotonic() < deadline:
            code = proc.poll()
            if code is not None:
                outcome = ("signal " + signal.Signals(-code).name) if code < 0 else "exit %d" % code
                break
            with open(log_path, errors="replace") as text:
                if GREETING in text.read():
                    outcome = "greeting"
                    break
            time.sleep(0.1)
        if proc.poll() is None:
            proc.terminate()
            try:
                proc.wait(10)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait()
                if outcome == "greeting":
                    outcome = "hang at exit"
    with open(log_path, errors="replace") as text:
        return outcome, text.read()


def lists_folder(home):
    for root, _dirs, files in os.walk(os.path.join(home, ".local", "share")):
        if any(name.endswith(".ztl") for name in files):
            return root
    return None


def try_missing(bin_dir, seed_home, missing, truncate):
    with tempfile.TemporaryDirectory(prefix="zupfari-missing-") as scratch:
        folder = os.path.join(scratch, "bin")
        home = os.path.join(scratch, "home")
        mirror_without(bin_dir, folder, missing, truncate)
        shutil.copytree(seed_home, home, symlinks=True)
        before = lists_folder(home)
        saved = os.path.join(scratch, "lists-before")
        shutil.copytree(before, saved)
        outcome, err = run_program(folder, home)
        problems = []
        if outcome.startswith("signal") or outcome.startswith("hang"):
            problems.append(outcome)
        elif outcome.startswith("exit") and "ZUPFARI-BOX" not in err:
            problems.append(outcome + " without a message")
        for name in sorted(os.listdir(saved)):
            now = os.path.join(before, name)
            if not os.path.exists(now) or not filecmp.cmp(os.path.join(saved, name), now, False):
                problems.append("list file %s changed" % name)
        boxes = [line for line in err.splitlines() if line.startswith("ZUPFARI-BOX")]
        return ("half " if truncate else "") + missing, outcome, problems, boxes


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("bin_dir")
    parser.add_argument("--all", action="store_true")
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--only", action="append", default=[],
                        help="try only files whose path starts with this (repeatable)")
    args = parser.parse_args()
    bin_dir = os.path.abspath(args.bin_dir)
    if not os.path.exists(os.path.join(bin_dir, PROGRAM)):
        print("no program in " + bin_dir)
        return 1
    files = [f for f in content_files(bin_dir)
             if not args.only or any(f.startswith(prefix) for prefix in args.only)]
    tried = files if args.all else sample(files)

    with tempfile.TemporaryDirectory(prefix="zupfari-missing-seed-") as seed:
        # One full start makes the learner's data folder the runs start from.
        outcome, err = run_program(bin_dir, seed)
        if outcome != "greeting" or lists_folder(seed) is None:
            print("the complete program folder does not start: " + outcome + "\n" + err[-2000:])
            return 1
        started = time.monotonic()
        failures = 0
        with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
            jobs = [pool.submit(try_missing, bin_dir, seed, rel, truncate)
                    for rel in tried for truncate in (False, True)]
            for job in concurrent.futures.as_completed(jobs):
                missing, outcome, problems, boxes = job.result()
                shown = " | ".join(b[len("ZUPFARI-BOX "):] for b in boxes[:2])
                print("%-4s %-45s %-12s %s" % ("FAIL" if problems else "ok", missing, outcome,
                                               "; ".join(problems) or shown))
                failures += bool(problems)
        print("missing-file sweep: %d of %d content files tried missing and cut to half, "
              "%d runs failed, %.0f s" % (len(tried), len(files), failures,
                                          time.monotonic() - started))
        return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
