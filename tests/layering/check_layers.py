#!/usr/bin/env python3
"""Proves that the build keeps the layers apart.

For every folder that has compiled sources, takes the compile command of one
of its files from compile_commands.json and looks up every header of the
tree on that command's include path, as the preprocessor would:
- each header of the folder itself must be found;
- no header of a higher layer may be found;
- of the MIDI engine (sequenzor) and its toolkit (mxmidi), the folders above
  them may find only the engine's public headers and the toolkit's MIDI file
  reader, never the engine's or the toolkit's inner ones.
One header of each folder is also preprocessed for real with the same flags,
so that the look-up and the compiler agree. Prints every wrong outcome and
the closing count; exits 1 on any wrong outcome.
"""
import json
import os
import shlex
import subprocess
import sys

# Lowest first; the same order as the top-level CMakeLists.
LAYERS = ["platform", "sprachbank", "mxmidi", "sequenzor", "layout", "controls",
          "listening", "playback", "journal", "plan", "lessons", "tools", "app"]

# What the engine library shows its users.
ENGINE_PUBLIC = {"sequenzor/sequenzor.h", "sequenzor/sequenzortiming.h", "mxmidi/mxmidi.h",
                 "mxmidi/smfreader.h"}
ENGINE_FOLDERS = ("sequenzor", "mxmidi")


def headers_of(source_dir, folder):
    found = []
    for root, _dirs, files in sorted(os.walk(os.path.join(source_dir, folder))):
        for name in sorted(files):
            if name.endswith(".h"):
                found.append(os.path.relpath(os.path.join(root, name), source_dir))
    return found


def command_for(commands, build_dir, source_dir, folder):
    """The command of a source of the folder's own library (one that sees
    the folder's headers; build tools kept in the folder do not)."""
    prefix = os.path.join(source_dir, folder) + os.sep
    own = os.path.normpath(os.path.join(os.path.abspath(build_dir), "include", folder))
    for entry in commands:
        if entry["file"].startswith(prefix) and entry["file"].endswith(".cpp"):
            if own in include_path(entry):
                return entry
    return None


def arguments(entry):
    return shlex.split(entry["command"]) if "command" in entry else list(entry["arguments"])


def include_path(entry):
    args, path = arguments(entry), []
    for i, arg in enumerate(args):
        for flag in ("-I", "-isystem", "-iquote"):
            if arg == flag and i + 1 < len(args):
                path.append(args[i + 1])
            elif arg.startswith(flag) and len(arg) > len(flag) and flag == "-I":
                path.append(arg[2:])
    return [os.path.normpath(os.path.join(entry["directory"], d)) for d in path]


def visible(path, header):
    return any(os.path.isfile(os.path.join(d, header)) for d in path)


def preprocess_ok(entry, header):
    kept, skip = [], False
    for arg in arguments(entry):
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


def expectation(folder, header):
    """True: must be found; False: must not be found; None: either."""
    index = LAYERS.index(folder)
    other = header.split(os.sep)[0]
    if other not in LAYERS:
        return None
    if other == folder:
        return True
    if LAYERS.index(other) > index:
        return False
    if other in ENGINE_FOLDERS and index > LAYERS.index("sequenzor") and header not in ENGINE_PUBLIC:
        return False
    return None


def main():
    build_dir, source_dir = sys.argv[1], os.path.abspath(sys.argv[2])
    with open(os.path.join(build_dir, "compile_commands.json")) as f:
        commands = json.load(f)
    every_header = [h for layer in LAYERS for h in headers_of(source_dir, layer)]
    passed = failed = 0
    for folder in LAYERS:
        entry = command_for(commands, build_dir, source_dir, folder)
        if entry is None:
            continue
        path = include_path(entry)
        for header in every_header:
            expected = expectation(folder, header)
            if expected is None:
                continue
            if visible(path, header) == expected:
                passed += 1
            else:
                failed += 1
                print(f"WRONG: {folder} {'cannot see' if expected else 'sees'} {header}")
        own = headers_of(source_dir, folder)
        if own and not preprocess_ok(entry, own[0]):
            failed += 1
            print(f"WRONG: {folder} does not compile its own {own[0]}")
        print(f"{folder}: every header looked up")
    print(f"{passed} passed, {failed} failed")
    return 0 if failed == 0 and passed > 0 else 1


if __name__ == "__main__":
    sys.exit(main())
