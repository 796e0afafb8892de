#!/usr/bin/env python3
"""The independent side of the MIDI file agreement tests, through mido.

    smf_mido.py dump FILE         prints what mido reads from FILE
    smf_mido.py write FILE SEED   writes a format-1 file of random content

The dump has one line per channel message ("TICK HEXBYTES", absolute ticks),
system-exclusive message ("TICK f0...f7") and tempo ("TICK tempo N"); other
meta events are left out. Each track starts with "track I name HEX" (the first
track name in Latin-1, "-" when there is none).
"""
import random
import sys

import mido


def dump(path):
    mid = mido.MidiFile(path)
    print("resolution", mid.ticks_per_beat)
    for index, track in enumerate(mid.tracks):
        name = next((m.name for m in track if m.type == "track_name"), None)
        print("track", index, "name", "-" if name is None else name.encode("latin-1").hex())
        now = 0
        for msg in track:
            now += msg.time
            if msg.type == "set_tempo":
                print(now, "tempo", msg.tempo)
            elif not msg.is_meta:
                print(now, bytes(msg.bytes()).hex())


def random_message(rnd):
    time = rnd.choice([0, 0, 0, 1, 10, 120, 480, 5000, 200000])
    channel = rnd.randrange(16)
    kind = rnd.randrange(12)
    if kind < 3:
        return mido.Message("note_on", channel=channel, note=rnd.randrange(128),
                            velocity=rnd.randrange(128), time=time)
    if kind == 3:
        return mido.Message("note_off", channel=channel, note=rnd.randrange(128),
                            velocity=rnd.randrange(128), time=time)
    if kind == 4:
        return mido.Message("control_change", channel=channel, control=rnd.randrange(128),
                            value=rnd.randrange(128), time=time)
    if kind == 5:
        return mido.Message("program_change", channel=channel, program=rnd.randrange(128),
                            time=time)
    if kind == 6:
        return mido.Message("pitchwheel", channel=channel, pitch=rnd.randrange(-8192, 8192),
                            time=time)
    if kind == 7:
        return mido.Message("aftertouch", channel=channel, value=rnd.randrange(128), time=time)
    if kind == 8:
        return mido.Message("polytouch", channel=channel, note=rnd.randrange(128),
                            value=rnd.randrange(128), time=time)
    if kind == 9:
        return mido.MetaMessage("set_tempo", tempo=rnd.randrange(200000, 1500000), time=time)
    if kind == 10:
        data = [rnd.randrange(128) for _ in range(rnd.randrange(0, 200))]
        return mido.Message("sysex", data=data, time=time)
    return mido.MetaMessage(rnd.choice(["text", "marker", "lyrics"]), text="x" * rnd.randrange(150),
                            time=time)


def write(path, seed):
    rnd = random.Random(seed)
    mid = mido.MidiFile(type=1, ticks_per_beat=rnd.choice([96, 192, 480, 960]))
    for index in range(4):
        track = mido.MidiTrack()
        mid.tracks.append(track)
        if index != 2:
            track.append(mido.MetaMessage("track_name", name="Spur %d \xe4" % index))
        for _ in range(400 if index != 3 else 0):
            track.append(random_message(rnd))
    mid.save(path)


if __name__ == "__main__":
    if sys.argv[1] == "dump":
        dump(sys.argv[2])
    else:
        write(sys.argv[2], int(sys.argv[3]))
