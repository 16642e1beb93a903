#!/usr/bin/env python3
"""Writes the short songs in resources/songs that are the project's own: two tunes written
for the play list, each a melody and a bass line. Run from the repository root:

    python3 tools/make_songs.py

The files are Standard MIDI Files, format 1, 120 ticks per quarter note, without running
status, as the program writes them."""

import struct
from pathlib import Path

DIVISION = 120
NAMES = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}


def key(name):
    """'F#4' -> 66: middle C is C4, key 60."""
    pitch = NAMES[name[0]]
    rest = name[1:]
    if rest.startswith("#"):
        pitch, rest = pitch + 1, rest[1:]
    elif rest.startswith("b"):
        pitch, rest = pitch - 1, rest[1:]
    return 12 * (int(rest) + 1) + pitch


def vlq(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.insert(0, 0x80 | (value & 0x7F))
        value >>= 7
    return bytes(out)


def track(name, channel, program, line, meta=b""):
    """A track chunk: the meta events at tick 0, the name, the program, then the notes of
    line, a list of (note name, beats) played one after another."""
    events = meta + b"\x00\xff\x03" + bytes([len(name)]) + name.encode()
    events += b"\x00" + bytes([0xC0 | channel, program])
    gap = 0
    for note, beats in line:
        ticks = int(beats * DIVISION)
        events += vlq(gap) + bytes([0x90 | channel, key(note), 88 if channel == 0 else 72])
        events += vlq(ticks - 10) + bytes([0x80 | channel, key(note), 0])
        gap = 10
    events += vlq(gap) + b"\xff\x2f\x00"
    return b"MTrk" + struct.pack(">I", len(events)) + events


def song(path, bpm, beats_per_bar, sharps, melody, bass):
    us_per_quarter = 60_000_000 // bpm
    meta = b"\x00\xff\x51\x03" + us_per_quarter.to_bytes(3, "big")
    meta += b"\x00\xff\x58\x04" + bytes([beats_per_bar, 2, 24, 8])
    meta += b"\x00\xff\x59\x02" + bytes([sharps & 0xFF, 0])
    header = b"MThd" + struct.pack(">IHHH", 6, 1, 2, DIVISION)
    data = header + track("Melody", 0, 73, melody, meta) + track("Bass", 1, 32, bass)
    Path(path).write_bytes(data)


def main():
    songs = Path("resources/songs")
    # A walk up and down C major in 4/4.
    song(songs / "morning_round.mid", 112, 4, 0,
         [("E4", 1), ("G4", 1), ("C5", 1), ("G4", 1),
          ("A4", 1), ("G4", 0.5), ("F4", 0.5), ("E4", 2),
          ("D4", 1), ("F4", 1), ("A4", 1), ("F4", 1),
          ("G4", 1.5), ("F4", 0.5), ("E4", 1), ("D4", 1),
          ("E4", 1), ("G4", 1), ("C5", 1), ("E5", 1),
          ("D5", 1), ("C5", 0.5), ("B4", 0.5), ("A4", 2),
          ("G4", 1), ("E4", 1), ("F4", 1), ("D4", 1),
          ("C4", 4)],
         [("C3", 2), ("G2", 2), ("F2", 2), ("C3", 2), ("D3", 2), ("A2", 2), ("G2", 2), ("B2", 2),
          ("C3", 2), ("G2", 2), ("F2", 2), ("A2", 2), ("G2", 2), ("G2", 2), ("C3", 4)])
    # A small waltz in G major.
    song(songs / "little_waltz.mid", 132, 3, 1,
         [("D4", 1), ("G4", 1), ("B4", 1),
          ("A4", 2), ("G4", 1),
          ("F#4", 1), ("A4", 1), ("D5", 1),
          ("C5", 2), ("B4", 1),
          ("B4", 1), ("C5", 1), ("D5", 1),
          ("E5", 1), ("D5", 1), ("B4", 1),
          ("A4", 1.5), ("B4", 0.5), ("A4", 1),
          ("G4", 3)],
         [("G2", 3), ("C3", 3), ("D3", 3), ("D3", 3), ("G2", 3), ("C3", 3), ("D3", 3), ("G2", 3)])


if __name__ == "__main__":
    main()
