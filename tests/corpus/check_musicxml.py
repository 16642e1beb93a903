#!/usr/bin/python3
"""Exports every MIDI file of a folder with `tolvar32 --export-musicxml` and reads the score
back with independent programs: musicxml2ly turns it into LilyPond input, lilypond plays that
into a MIDI file, and mido reads both that file and the original. Every note of the original
must come back with its pitch and its start in quarter notes, in the same order, and its
length or up to a quarter more: the score writes starts and ends at the nearest 48th of a
quarter (a note a tick off the beat is written on it), so the original's are taken there too,
and a note played a little short of the value the staff draws it as is written as that value.

Usage: check_musicxml.py TOLVAR32 FOLDER"""
import collections
import fractions
import glob
import os
import subprocess
import sys
import tempfile

import mido


GRID = 48


def on_grid(tick, ticks_per_quarter):
    """The nearest 48th of a quarter, halves up, as a fraction of a quarter."""
    return fractions.Fraction((2 * tick * GRID + ticks_per_quarter) // (2 * ticks_per_quarter),
                              GRID)


def notes_of(path):
    """(start, pitch, length) of every note, in quarter notes on the grid, ordered by start and
    pitch."""
    song = mido.MidiFile(path)
    notes = []
    for track in song.tracks:
        tick = 0
        sounding = collections.defaultdict(collections.deque)
        for message in track:
            tick += message.time
            if message.type == 'note_on' and message.velocity > 0:
                sounding[(message.channel, message.note)].append(tick)
            elif message.type in ('note_on', 'note_off'):
                if sounding[(message.channel, message.note)]:
                    start = sounding[(message.channel, message.note)].popleft()
                    begin = on_grid(start, song.ticks_per_beat)
                    notes.append((begin, message.note,
                                  on_grid(tick, song.ticks_per_beat) - begin))
    return sorted(notes)


def read_back(tolvar32, song, folder):
    score = os.path.join(folder, 'score.musicxml')
    subprocess.run([tolvar32, '--export-musicxml', song, score], check=True)
    # musicxml2ly copies a text's double quote or backslash into a LilyPond string as it is,
    # which breaks the string; the texts are no notes, so the reader is given them without.
    with open(score, encoding='utf-8') as f:
        text = f.read().replace('&quot;', '').replace('\\', '')
    with open(score, 'w', encoding='utf-8') as f:
        f.write(text)
    lily = os.path.join(folder, 'score.ly')
    subprocess.run(['musicxml2ly', '--loglevel=ERROR', '-o', lily, score], check=True)
    # Played, not engraved: the score's \layout becomes a \midi block (musicxml2ly's own
    # --midi adds articulate.ly, which shortens the notes it plays).
    with open(lily, encoding='utf-8') as f:
        text = f.read()
    at = text.rindex('\\layout {}')
    with open(lily, 'w', encoding='utf-8') as f:
        f.write(text[:at] + '\\midi {}' + text[at + len('\\layout {}'):])
    subprocess.run(['lilypond', '--loglevel=ERROR', '-o', os.path.join(folder, 'score'), lily],
                   check=True)
    played = [p for p in glob.glob(os.path.join(folder, 'score.mid*'))]
    return notes_of(played[0])


def describe(note):
    start, pitch, length = note
    return f'key {pitch} at quarter {float(start):g} for {float(length):g}'


def main():
    tolvar32, corpus = sys.argv[1], sys.argv[2]
    failures = 0
    for name in sorted(os.listdir(corpus)):
        if not name.endswith('.mid'):
            continue
        song = os.path.join(corpus, name)
        with tempfile.TemporaryDirectory() as folder:
            expected = notes_of(song)
            got = read_back(tolvar32, song, folder)
        if len(got) == len(expected) and all(
                (g[0], g[1]) == (e[0], e[1]) and e[2] <= g[2] <= e[2] * 5 / 4
                for g, e in zip(got, expected)):
            print(f'{name}: {len(got)} notes read back')
            continue
        failures += 1
        first = next((i for i, (a, b) in enumerate(zip(expected, got))
                      if (a[0], a[1]) != (b[0], b[1]) or not a[2] <= b[2] <= a[2] * 5 / 4),
                     min(len(expected), len(got)))
        print(f'{name}: {len(expected)} notes, {len(got)} read back; note {first + 1} differs:')
        print('  song:  ' + (describe(expected[first]) if first < len(expected) else 'none'))
        print('  score: ' + (describe(got[first]) if first < len(got) else 'none'))
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
