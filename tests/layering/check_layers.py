#!/usr/bin/env python3
"""Proves that the build keeps the layers apart.

For every folder that has compiled sources, takes the compile command of one
of its files from compile_commands.json and preprocesses a one-line source
with the same flags: an include of a header of the folder itself or of a
lower layer must be found, an include of any higher layer must fail. Prints
one line per check and the closing count; exits 1 on any wrong outcome.
"""
import json
import os
import shlex
import subprocess
import sys

# Lowest first; the same order as the top-level CMakeLists.
LAYERS = ["platform", "sprachbank", "mxmidi", "sequenzor", "layout", "controls",
          "listening", "playback", "journal", "plan", "lessons", "tools", "app"]


def first_header(source_dir, folder):
    for root, _dirs, files in sorted(os.walk(os.path.join(source_dir, folder))):
        for name in sorted(files):
            if name.endswith(".h"):
                return os.path.relpath(os.path.join(root, name), source_dir)
    return None


def command_for(commands, source_dir, folder):
    prefix = os.path.join(source_dir, folder) + os.sep
    for entry in commands:
        if entry["file"].startswith(prefix) and entry["file"].endswith(".cpp"):
            return entry
    return None


def preprocess_ok(entry, header):
    args = shlex.split(entry["command"]) if "command" in entry else list(entry["arguments"])
    kept, skip = [], False
    for arg in args:
        if skip:
            skip = False
            continue
        if arg in ("-o", "-c", "-MF", "-MT", "-MQ"):
            skip = True
            continue
        if arg in ("-MD", "-MMD") or arg == entry["file"]:
            continue
        kept.append(arg)
    kept += ["-E", "-x", "c++", "-o", os.devnull, "-"]
    result = subprocess.run(kept, cwd=entry["directory"], input=f'#include "{header}"\n',
                            capture_output=True, text=True)
    return result.returncode == 0


def main():
    build_dir, source_dir = sys.argv[1], os.path.abspath(sys.argv[2])
    with open(os.path.join(build_dir, "compile_commands.json")) as f:
        commands = json.load(f)
    passed = failed = 0
    for index, folder in enumerate(LAYERS):
        entry = command_for(commands, source_dir, folder)
        if entry is None:
            continue
        for other_index, other in enumerate(LAYERS):
            header = first_header(source_dir, other)
            if header is None:
                continue
            expected = other_index <= index
            # A folder sees the layers it links, not every lower one; only
            # its own folder is certain to be visible.
            if expected and other != folder:
                continue
            found = preprocess_ok(entry, header)
            verdict = "ok" if found == expected else "WRONG"
            print(f"{verdict}: {folder} {'sees' if found else 'cannot see'} {header}")
            if found == expected:
                passed += 1
            else:
                failed += 1
    print(f"{passed} passed, {failed} failed")
    return 0 if failed == 0 and passed > 0 else 1


if __name__ == "__main__":
    sys.exit(main())
