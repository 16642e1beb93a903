#!/usr/bin/env python3
"""Writes a type 1 MIDI file the way a sequencer writes one, with every kind of meta event:
python3 sequencer_song.py OUT.mid"""
import sys

import mido

song = mido.MidiFile(type=1, ticks_per_beat=480)
conductor = mido.MidiTrack()
conductor += [
    mido.MetaMessage('track_name', name='Conductor'),
    mido.MetaMessage('copyright', text='(c) 2026 Nobody'),
    mido.MetaMessage('smpte_offset', frame_rate=25, hours=1, minutes=0, seconds=0, frames=0,
                     sub_frames=0),
    mido.MetaMessage('set_tempo', tempo=500000),
    mido.MetaMessage('time_signature', numerator=4, denominator=4, clocks_per_click=24,
                     notated_32nd_notes_per_beat=8),
    mido.MetaMessage('key_signature', key='Bbm'),
    mido.MetaMessage('marker', text='Verse', time=0),
    mido.MetaMessage('cue_marker', text='Lights down', time=960),
    mido.MetaMessage('sequencer_specific', data=[0x00, 0x00, 0x41, 0x01, 0x02], time=0),
    mido.MetaMessage('text', text='A long remark ' * 12, time=0),
    mido.MetaMessage('set_tempo', tempo=428571, time=960),
    mido.MetaMessage('time_signature', numerator=5, denominator=8, clocks_per_click=12,
                     notated_32nd_notes_per_beat=8, time=0),
    mido.MetaMessage('key_signature', key='F#', time=0),
    mido.MetaMessage('marker', text='Chorus', time=0),
]
song.tracks.append(conductor)

piano = mido.MidiTrack()
piano += [
    mido.MetaMessage('track_name', name='Piano'),
    mido.MetaMessage('midi_port', port=1),
    mido.MetaMessage('channel_prefix', channel=2),
    mido.MetaMessage('instrument_name', name='Grand'),
    mido.Message('program_change', channel=2, program=1),
    mido.Message('control_change', channel=2, control=7, value=100),
    mido.Message('control_change', channel=2, control=10, value=20),
]
for i, key in enumerate([58, 61, 65, 70, 63, 66, 70, 73]):
    piano.append(mido.Message('note_on', channel=2, note=key, velocity=60 + i * 5,
                              time=0 if i == 0 else 240))
    piano.append(mido.MetaMessage('lyrics', text=['la', 'li', 'lo', 'lu'][i % 4]))
    piano.append(mido.Message('polytouch', channel=2, note=key, value=30, time=60))
    piano.append(mido.Message('note_off', channel=2, note=key, velocity=0, time=120))
# a chord, bent and pressed
piano += [
    mido.Message('note_on', channel=2, note=58, velocity=90),
    mido.Message('note_on', channel=2, note=62, velocity=90),
    mido.Message('note_on', channel=2, note=65, velocity=90),
    mido.Message('pitchwheel', channel=2, pitch=-2000, time=120),
    mido.Message('aftertouch', channel=2, value=70, time=60),
    mido.Message('pitchwheel', channel=2, pitch=0, time=60),
    mido.Message('note_off', channel=2, note=58, velocity=64, time=720),
    mido.Message('note_off', channel=2, note=62, velocity=64),
    mido.Message('note_off', channel=2, note=65, velocity=64),
]
song.tracks.append(piano)

drums = mido.MidiTrack()
drums += [mido.MetaMessage('track_name', name='Drums'),
          mido.Message('sysex', data=[0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41])]
for beat in range(16):
    drums.append(mido.Message('note_on', channel=9, note=36 if beat % 2 == 0 else 38,
                              velocity=100, time=0 if beat == 0 else 360))
    drums.append(mido.Message('note_on', channel=9, note=42, velocity=70))
    drums.append(mido.Message('note_on', channel=9, note=36 if beat % 2 == 0 else 38,
                              velocity=0, time=120))
    drums.append(mido.Message('note_on', channel=9, note=42, velocity=0))
song.tracks.append(drums)
song.save(sys.argv[1])
