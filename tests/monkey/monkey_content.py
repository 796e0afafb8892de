"""The scratch program folder the monkey runs: the program file, its
libraries and the course content, whole or with a fixed set of content files
damaged per seed."""
import os
import random
import shutil

import missing_sweep

PROGRAM = "ZupfariBasis"
DAMAGED_FILES = 12


def is_program_file(path):
    name = os.path.basename(path)
    return name.startswith("lib") or (os.access(path, os.X_OK) and not os.path.isdir(path))


def place_program(program_dir, target):
    """The program file as a file of its own (it takes the folder it is in as
    its program folder, symbolic links resolved) and links to its libraries."""
    os.makedirs(target, exist_ok=True)
    missing_sweep.place_program_file(os.path.join(program_dir, PROGRAM),
                                     os.path.join(target, PROGRAM))
    for name in os.listdir(program_dir):
        if name.startswith("lib") and ".so" in name:
            os.symlink(os.path.join(program_dir, name), os.path.join(target, name))


def choose_damage(files, seed):
    """A fixed set of (how, file, other) per seed: "cut" keeps a part of the
    file, "swap" puts a file of another kind in its place, "remove" takes it
    away."""
    rng = random.Random(seed * 7919 + 17)
    # Half of them among the files every session uses (screens, sounds,
    # pictures, help), not only among the many files of single lessons.
    shared = [f for f in files if not any(part in missing_sweep.kind_of(f)[0]
                                          for part in ("lektionN", "Midi"))]
    chosen = rng.sample(shared, min(DAMAGED_FILES // 2, len(shared)))
    rest = [f for f in files if f not in chosen]
    chosen += rng.sample(rest, min(DAMAGED_FILES - len(chosen), len(rest)))
    damage = []
    for rel in chosen:
        how = rng.choice(["cut", "cut", "swap", "remove"])
        other = None
        if how == "swap":
            others = [f for f in files if missing_sweep.kind_of(f) != missing_sweep.kind_of(rel)]
            other = rng.choice(others) if others else None
            how = "swap" if other else "remove"
        damage.append((how, rel, other, rng.random()))
    return damage


def make_program_folder(program_dir, content_dir, target, seed=None):
    """Builds the program folder in `target`; returns what was damaged, one
    line each (nothing without a seed)."""
    place_program(program_dir, target)
    files = [rel for rel in missing_sweep.content_files(content_dir)
             if not is_program_file(os.path.join(content_dir, rel))]
    damage = choose_damage(files, seed) if seed is not None else []
    changed = {entry[1]: entry for entry in damage}
    lines = []
    for rel in files:
        source, copy = os.path.join(content_dir, rel), os.path.join(target, rel)
        os.makedirs(os.path.dirname(copy), exist_ok=True)
        if rel not in changed:
            os.symlink(source, copy)
            continue
        how, _, other, fraction = changed[rel]
        if how == "cut":
            size = os.path.getsize(source)
            with open(source, "rb") as whole, open(copy, "wb") as part:
                part.write(whole.read(int(size * fraction * 0.9)))
            lines.append(f"cut    {rel} to {int(fraction * 90)} %")
        elif how == "swap":
            shutil.copyfile(os.path.join(content_dir, other), copy)
            lines.append(f"swap   {rel} holds {other}")
        else:
            lines.append(f"remove {rel}")
    return lines
