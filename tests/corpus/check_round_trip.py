#!/usr/bin/python3
"""Saves every MIDI file of a folder again with `tolvar32 --convert` and reads both with mido,
an independent reader: the notes in seconds, the channel and system messages, the time and key
signatures (with their modes and metronome bytes), and every text and other meta event must be
the same. A tempo, time signature or key signature the writer adds at tick 0 where the file had
none there says what a reader assumes anyway (120 bpm, 4/4, C major) and is not a change.

Usage: check_round_trip.py TOLVAR32 FOLDER"""
import collections
import os
import subprocess
import sys
import tempfile

import mido

ASSUMED_AT_START = {
    'set_tempo': {'tempo': 500000},
    'time_signature': {'numerator': 4, 'denominator': 4},
    'key_signature': {'key': 'C'},
}


def absolute(track):
    tick = 0
    for message in track:
        tick += message.time
        yield tick, message


def seconds_per_tick(song):
    """Tempo changes of every track, as a function from tick to seconds."""
    changes = sorted((tick, m.tempo) for track in song.tracks
                     for tick, m in absolute(track) if m.type == 'set_tempo')
    def to_seconds(tick):
        seconds, last_tick, tempo = 0.0, 0, 500000
        for change_tick, change_tempo in changes:
            if change_tick >= tick:
                break
            seconds += (change_tick - last_tick) * tempo / 1e6 / song.ticks_per_beat
            last_tick, tempo = change_tick, change_tempo
        return seconds + (tick - last_tick) * tempo / 1e6 / song.ticks_per_beat
    return to_seconds


def content(path):
    song = mido.MidiFile(path)
    to_seconds = seconds_per_tick(song)
    notes, messages, metas = [], [], []
    for track in song.tracks:
        sounding = collections.defaultdict(collections.deque)
        for tick, m in absolute(track):
            if m.type == 'note_on' and m.velocity > 0:
                sounding[(m.channel, m.note)].append((tick, m.velocity))
            elif m.type in ('note_on', 'note_off'):
                if sounding[(m.channel, m.note)]:
                    start, velocity = sounding[(m.channel, m.note)].popleft()
                    notes.append((round(to_seconds(start), 6), round(to_seconds(tick), 6),
                                  m.channel, m.note, velocity))
            elif m.is_meta:
                if m.type != 'end_of_track':
                    fields = {k: v for k, v in vars(m).items() if k not in ('type', 'time')}
                    metas.append((tick, m.type, tuple(sorted(fields.items()))))
            else:
                messages.append((round(to_seconds(tick), 6), str(m.copy(time=0))))
    return sorted(notes), sorted(messages), sorted(metas, key=repr)


def without_assumed(saved, original):
    """The saved metas less those the writer added where the original had none at tick 0."""
    present = {(t, kind) for t, kind, _ in original if t == 0}
    kept = []
    for tick, kind, fields in saved:
        assumed = ASSUMED_AT_START.get(kind)
        if tick == 0 and assumed and (0, kind) not in present and \
                all(dict(fields).get(k) == v for k, v in assumed.items()):
            continue
        kept.append((tick, kind, fields))
    return kept


def compare(tolvar32, path, scratch):
    saved = os.path.join(scratch, os.path.basename(path))
    run = subprocess.run([tolvar32, '--convert', path, saved], capture_output=True, text=True)
    if run.returncode != 0 or run.stderr:
        return ['--convert exited %d: %s' % (run.returncode, run.stderr.strip())]
    before, after = content(path), content(saved)
    problems = []
    for name, was, now in (('notes', before[0], after[0]), ('messages', before[1], after[1]),
                           ('metas', before[2], without_assumed(after[2], before[2]))):
        if was != now:
            lost = [x for x in was if x not in now]
            added = [x for x in now if x not in was]
            problems.append('%s differ: lost %s, added %s' % (name, lost[:5], added[:5]))
    return problems


def main():
    tolvar32, folder = sys.argv[1], sys.argv[2]
    files = sorted(os.path.join(folder, f) for f in os.listdir(folder) if f.endswith('.mid'))
    failed = 0
    with tempfile.TemporaryDirectory() as scratch:
        for path in files:
            problems = compare(tolvar32, path, scratch)
            for problem in problems:
                print('%s: %s' % (os.path.basename(path), problem))
            failed += bool(problems)
    print('%d passed, %d failed' % (len(files) - failed, failed))
    return 1 if failed or not files else 0


if __name__ == '__main__':
    sys.exit(main())
