#!/usr/bin/env python3
"""Writes the seed corpus of the MIDI file reader's fuzz target into fuzz/seeds/.

Each seed is a small file of one kind the reader must handle: well-formed songs that reach
every message type, and damaged ones that stop the load at each kind of fault. The fuzzer
starts from them, so it begins inside the chunk and event parsers rather than at the header
check. Run it again after changing a seed; the output is the same on every run.
"""

import pathlib
import struct

SEEDS = pathlib.Path(__file__).resolve().parent / "seeds"

END_OF_TRACK = bytes([0x00, 0xFF, 0x2F, 0x00])


def be32(value):
    return struct.pack(">I", value)


def header(format_, tracks, division):
    return b"MThd" + be32(6) + struct.pack(">HHH", format_, tracks, division)


def chunk(chunk_id, body):
    """A chunk of the given id around the body, with the true length."""
    return chunk_id + be32(len(body)) + body


def track(events):
    """A track chunk; the end-of-track meta is added."""
    return chunk(b"MTrk", bytes(events) + END_OF_TRACK)


def midi_file(format_, division, tracks):
    return header(format_, len(tracks), division) + b"".join(track(t) for t in tracks)


ONE_NOTE = track([0x00, 0x90, 60, 80, 0x10, 0x80, 60, 0])


def damaged(second):
    """A good first track, then a second one that stops the load."""
    return header(1, 2, 120) + ONE_NOTE + second


def seeds():
    many_notes = b"".join(bytes([0x00, 0x90, 60, 80, 0x01, 0x80, 60, 0]) for _ in range(600))
    far_deltas = b"".join(bytes([0xFF, 0xFF, 0xFF, 0x7F, 0xC0, 1]) for _ in range(9))
    long_vlq_metas = (bytes([0x00, 0xFF, 0x01, 0x02]) + b"hi" +
                      bytes([0x00, 0xFF, 0x02, 0x00, 0x00, 0xFF, 0x7F, 0x81, 0x00]) +
                      bytes([0x90] * 128) + bytes([0x00, 0xFF, 0x03, 0x81, 0x48]) +
                      b"n" * 200 + END_OF_TRACK)
    return {
        # headers
        "format0_empty_track.mid": midi_file(0, 96, [[]]),
        "not_midi.mid": b"RIFF....WAVEfmt ",
        "header_cut.mid": header(1, 1, 120)[:11],
        "header_longer_than_six.mid": (b"MThd" + be32(8) +
                                       bytes([0, 1, 0, 1, 0, 120, 0xAA, 0xBB]) +
                                       track([0x00, 0x90, 60, 80, 0x60, 0x80, 60, 0])),
        "division_smpte.mid": midi_file(1, 0x8000 | 0x1E28,
                                        [[0x00, 0x90, 60, 80, 0x78, 0x80, 60, 0]]),
        # chunks
        "foreign_chunks.mid": (header(1, 2, 120) + chunk(b"XFIH", bytes([0x90] * 10)) + ONE_NOTE +
                               chunk(b"JUNK", b"") + track([0x00, 0xC0, 5])),
        "twenty_tracks.mid": (header(1, 20, 120) +
                              b"".join(track([0x00, 0xC0, t]) for t in range(20))),
        "track_longer_than_file.mid": damaged(b"MTrk" + be32(1000) + bytes([0x00, 0xC0, 5])),
        "sysex_past_chunk_end.mid": damaged(chunk(b"MTrk", bytes([0x00, 0xF0, 0x20, 0x01, 0x02]))),
        "delta_of_five_bytes.mid": damaged(
            chunk(b"MTrk", bytes([0x81, 0x81, 0x81, 0x81, 0x01, 0xC0, 5]))),
        "message_cut_by_chunk_end.mid": damaged(chunk(b"MTrk", bytes([0x00, 0xB0, 7]))),
        "meta_past_chunk_end.mid": damaged(chunk(b"MTrk", bytes([0x00, 0xFF, 0x03, 0x7F]) + b"a")),
        "second_chunk_header_cut.mid": damaged(b"MTr"),
        "garbage_chunk_huge_length.mid": damaged(b"\x01\x02\x03\x04" + be32(0xFFFFFFF0)),
        "truncated_track.mid": (header(1, 1, 120) + b"MTrk" + be32(500) +
                                bytes([0x00, 0xC0, 5, 0x00, 0xB0, 7])),
        "time_beyond_31_bits.mid": midi_file(1, 120, [far_deltas]),
        # events
        "running_status.mid": midi_file(1, 120, [[
            0x00, 0xB1, 7, 100, 0x00, 10, 64,
            0x00, 0xE2, 0, 64, 0x05, 1, 65,
            0x00, 0x93, 60, 90, 0x00, 64, 91,
            0x10, 60, 0, 0x00, 67, 92,
            0x10, 0x83, 64, 50, 0x00, 67, 50,
        ]]),
        "note_pairing.mid": midi_file(0, 120, [[
            0x00, 0x90, 60, 80, 0x00, 0x99, 36, 100,
            0x0A, 0x90, 60, 81, 0x0A, 0x80, 60, 0,
            0x00, 0x89, 36, 0, 0x0A, 0x90, 60, 0,
            0x00, 0x90, 72, 70, 0x00, 0x90, 71, 70,
            0x00, 0xFF, 0x59, 0x02, 0xFB, 0x00,
            0x14, 0x80, 71, 0, 0x00, 0x80, 50, 0,
        ]]),
        "tempo_metas.mid": midi_file(1, 120, [
            [0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20],
            [0x00, 0xFF, 0x51, 0x03, 0x00, 0x00, 0x00],
            [0x00, 0xFF, 0x51, 0x04, 0x07, 0xA1, 0x20, 0x00,
             0x00, 0xFF, 0x51, 0x02, 0x07, 0xA1, 0x00, 0xC0, 3],
        ]),
        "signatures.mid": midi_file(1, 120, [
            [0x00, 0xFF, 0x58, 0x04, 6, 3, 0x24, 0x08, 0x00, 0xFF, 0x58, 0x04, 0, 200, 0x24, 0x08],
            [0x00, 0xFF, 0x59, 0x02, 5, 0, 0x00, 0xFF, 0x59, 0x02, 0xFD, 1,
             0x00, 0xFF, 0x59, 0x02, 0x80, 0],
        ]),
        "metas_long_vlq_lengths.mid": header(1, 1, 120) + chunk(b"MTrk", long_vlq_metas),
        "system_messages.mid": midi_file(1, 120, [[
            0x00, 0xF0, 0x05, 0x43, 0x00, 0x00, 0x12, 0xF7, 0x00, 0xF7, 0x02, 0x01,
            0xF7, 0x00, 0xF2, 0x10, 0x20, 0x00, 0xF3, 0x05, 0x00, 0xF6, 0x00, 0xF8,
            0x00, 0xFE, 0x00, 0xFA, 0x00, 0xFB, 0x00, 0xFC, 0x00, 0xF1, 0x31, 0x00,
            0xF4, 0x00, 0xF5, 0x00, 0xF9, 0x00, 0xFD, 0x00, 0xC0, 9,
        ]]),
        # A time-code quarter frame and its data byte before a scale, as other programs write.
        "quarter_frame_before_scale.mid": midi_file(0, 96, [
            [0x00, 0xF1, 0x23] +
            [byte for key in (60, 62, 64, 65, 67, 69, 71, 72)
             for byte in (0x00, 0x90, key, 80, 0x60, 0x80, key, 0)]]),
        "program_changes.mid": midi_file(1, 120,
                                         [[0x00, 0xC0, 4, 0x10, 0xC0, 7], [0x00, 0xB0, 0, 1]]),
        "six_hundred_notes.mid": midi_file(1, 120, [many_notes]),
        # Thousands of messages at one tick, and notes held while thousands of others sound:
        # insertion near a hint and note pairing must stay cheap.
        "crowded_tick.mid": midi_file(1, 96, [[0x00, 0xFE] * 3000]),
        "long_held_notes.mid": midi_file(1, 96, [
            [0x00, 0x90, 60, 80] * 1500 + [0x00, 0x90, 61, 80] + [0x01, 0x80, 61, 0] * 1500 +
            [0x00, 0x80, 60, 0] * 1500]),
        "three_track_song.mid": midi_file(1, 480, [
            [0x00, 0xFF, 0x51, 0x03, 0x09, 0x27, 0xC0, 0x00, 0xFF, 0x58, 0x04, 3, 2, 0x18, 0x08,
             0x00, 0xFF, 0x59, 0x02, 0xFD, 0x00, 0x00, 0xFF, 0x03, 0x04] + list(b"Song"),
            [0x00, 0xC0, 40, 0x00, 0xB0, 7, 90, 0x00, 0x90, 63, 70, 0x00, 67,
             71, 0x83, 0x60, 63, 0, 0x00, 0x80, 67, 10, 0x00, 0xF0, 0x04, 0x00,
             0x7F, 0x00, 0xF7, 0x10, 0xE0, 0x00, 0x40, 0x00, 0xF7, 0x01, 0xF7],
            [0x00, 0x99, 36, 120, 0x78, 0x89, 36, 0, 0x00, 0xD9, 50],
        ]),
    }


def main():
    SEEDS.mkdir(exist_ok=True)
    for name, data in seeds().items():
        (SEEDS / name).write_bytes(bytes(data))


if __name__ == "__main__":
    main()
