#!/usr/bin/env python3
"""Writes the seed corpora of the play list, synth file, SoundFont names and settings file
fuzz targets into fuzz/play_list_seeds/, fuzz/synth_seeds/, fuzz/sound_font_names_seeds/ and
fuzz/settings_seeds/.

Each seed is a small file of one kind the reader must handle: lists, synth files and settings
as the program writes them, as other systems write them (CRLF, backslashes), and damaged or
foreign ones. Run it again after changing a seed; the output is the same on every run.
"""

import pathlib

FUZZ = pathlib.Path(__file__).resolve().parent

MIDI_HEADER = b"MThd\x00\x00\x00\x06\x00\x01\x00\x01\x00\x78MTrk\x00\x00\x00\x04\x00\xff\x2f\x00"

PLAY_LISTS = {
    "written.pll": b"/home/user/music/\nfirst.mid\nsecond song.mid\n",
    "crlf_backslash.pll": b"C:\\music\\reels\\\r\na.mid\r\n\r\nb.mid\r\n",
    "no_separator.pll": b"/music\nA.MID",
    "empty_directory.pll": b"\na.mid\n",
    "empty.pll": b"",
    "utf8_and_tab.pll": "/m\u00fasica/\tx/\nca\u00e7\u00e3o.mid\n".encode(),
    "longest_path.pll": b"/" + b"d" * 4094 + b"/\n" + b"n" * 4092 + b".mid\n",
    "song_by_mistake.mid": MIDI_HEADER,
}

SYNTH_FILES = {
    "general_midi.syn": b"".join(
        name.encode() + b"\n"
        for name in ["Acoustic Grand", "Bright Grand", "Electric Grand", "Honky-Tonk"]
    ),
    "crlf_blank_lines.syn": b"Piano\r\n\r\nOrgan\r\n\r\n",
    "long_names.syn": b"A name far longer than thirteen bytes\nshort\n",
    "utf8_cut.syn": "Fl\u00fbte \u00e0 bec \u00e9\u00e9\u00e9\n\u00e9" .encode() * 3,
    "carriage_returns.syn": b"one\r\r\ntwo\rthree\n\r\n",
    "many_lines.syn": b"".join(b"voice %d\n" % i for i in range(140)),
    "no_final_line_feed.syn": b"last",
}

SOUND_FONT_NAMES = {
    "general_midi.names": b"\x00".join(
        name.encode() for name in ["Grand Piano", "Bright Piano", "Rhodes", "Strings"]
    ),
    "line_breaks.names": b"Pad\nOne\x00Pad\r\x00\r\nLead",
    "utf8.names": "\u00c9tude Pianissimo\x00Synth \u00e0 cordes\x00\u00e9".encode(),
    "empty_names.names": b"\x00\x00\x00Bass",
    "latin1.names": b"Fl\xfbte \xe0 bec\x00Cl\xe9",
}

# Each settings seed: the first line is the value to store, the rest the file.
SETTINGS = {
    "written.ini": b"/home/user/songs\n[tolvar32 Config]\nDivision=120\nTempo=120\n"
    b"LastDir=/home/user\nPlayList Pause=Yes\n[MIDI]\nBoard=Built-in Synthesizer\n"
    b"Syn File=/home/user/.config/tolvar32/bank.syn\n[Control]\nControl.top=0\n"
    b"Control.left=0\nControl.right=640\nControl.bottom=480\n",
    "crlf_quotes.ini": b"  spaced value  \n[TOLVAR32 CONFIG]\r\nlastdir = \" /quoted \"\r\n"
    b"Tempo=abc\r\n[midi]\r\nSyn File='x'\r\n",
    "odd_lines.ini": b"\"quoted\"\nstray line\n[tolvar32 Config\n=no key\n[tolvar32 Config]\n"
    b"Division=99999999999\nVelocity=-5\nNumber of Beats=9\nLastDir\n",
    "twice.ini": b"/a\n[tolvar32 Config]\nLastDir=/first\n[tolvar32 Config]\nLastDir=/second\n"
    b"LastDir=/third\n",
    "control_bytes.ini": b"\x01\x7f\n[tolvar32 Config]\nLastDir=/a\x00b\n[Staff]\nStaff.top=-99999\n",
    "empty.ini": b"",
}


def write(folder, seeds):
    path = FUZZ / folder
    path.mkdir(exist_ok=True)
    for name, content in seeds.items():
        (path / name).write_bytes(content)


if __name__ == "__main__":
    write("play_list_seeds", PLAY_LISTS)
    write("synth_seeds", SYNTH_FILES)
    write("sound_font_names_seeds", SOUND_FONT_NAMES)
    write("settings_seeds", SETTINGS)
