#!/usr/bin/env python3
"""Draws the About box's picture and writes it to resources/about.bmp.

Run by hand after changing the picture (the build only installs the .bmp):

    python3 tools/make_about_bmp.py              # rewrite resources/about.bmp
    python3 tools/make_about_bmp.py --png x.png  # also write a PNG to look at

The picture is an 8-bit BMP with a colour table, 326 x 264: the box shows it at its top left,
above the product line at y 273. It reuses the notation's own glyphs from make_bitmaps.py,
drawn twice their size: a treble staff on a sheet of paper with a short tune in the current
track's dark red, and a keyboard with middle C held. Standard library only.
"""

import argparse
import os
import struct

from make_bitmaps import BLACK, WHITE, Canvas, accidentals, clefs, staff_glyphs, write_png

WIDTH, HEIGHT = 326, 264
NAVY, SKY = (0x1F, 0x3F, 0x7F), (0x4F, 0x7F, 0xBF)
PAPER, PAPER_SHADOW, RED = "#FFFFF0", "#0F1F40", "#A00000"
KEY_SHADOW = "#C8C8C8"

SCALE = 2
STAFF_LEFT, STAFF_RIGHT, STAFF_TOP = 22, 303, 46
LINE_GAP = 10 * SCALE
# A tune of (staff step above the bottom line, glyph name, accidental or None); a step is
# half a line gap.
TUNE = [(2, "QUARTER", None), (3, "EIGHTH", None), (4, "EIGHTH", "SHARP"), (5, "HALF", None),
        (6, "SIXTEEN", None), (4, "SIXTEEN", None), (1, "QUARTER", None), (2, "WHOLE", None)]


def hex_colour(rgb):
    return "#%02X%02X%02X" % rgb


def sky(cv):
    """A gradient from navy at the top to a lighter blue at the bottom, in 24 bands."""
    for y in range(cv.h):
        band = y * 24 // cv.h
        rgb = tuple(n + (s - n) * band // 23 for n, s in zip(NAVY, SKY))
        cv.rect(0, y, cv.w - 1, y, hex_colour(rgb))


def stamp(cv, glyph, x, y, ink, scale=SCALE):
    """The glyph's black pixels in ink, each as a scale x scale block."""
    for gy, row in enumerate(glyph.px):
        for gx, c in enumerate(row):
            if c == BLACK:
                cv.rect(x + gx * scale, y + gy * scale,
                        x + gx * scale + scale - 1, y + gy * scale + scale - 1, ink)


def staff(cv):
    cv.rect(14, 16, 313, 170, PAPER_SHADOW)
    cv.rect(10, 12, 309, 166, PAPER)
    bottom = STAFF_TOP + 4 * LINE_GAP
    for i in range(5):
        cv.rect(STAFF_LEFT, STAFF_TOP + i * LINE_GAP, STAFF_RIGHT, STAFF_TOP + i * LINE_GAP, BLACK)
    for x in (STAFF_LEFT, STAFF_RIGHT - 3, STAFF_RIGHT):
        cv.rect(x, STAFF_TOP, x + (2 if x == STAFF_RIGHT - 3 else 0), bottom, BLACK)
    # The clef's lines fall on its rows 9, 19, 29 and 39, one row below the top line's.
    stamp(cv, clefs()["TREBLE"], STAFF_LEFT + 6, STAFF_TOP + SCALE, BLACK)
    glyphs, signs = staff_glyphs(), accidentals()
    for i, (step, name, sign) in enumerate(TUNE):
        x = 76 + i * 26 + (12 if i >= 2 else 0)  # room for the sharp
        head_y = bottom - step * LINE_GAP // 2
        # A note glyph's head is centred on its row 15.
        stamp(cv, glyphs[name], x, head_y - 15 * SCALE, RED)
        if sign:
            stamp(cv, signs[sign], x - 9 * SCALE + 4, head_y - 6 * SCALE, RED)


def keyboard(cv):
    top, bottom, left, key = 184, 252, 16, 14
    cv.rect(left - 3, top - 3, left + 21 * key + 2, bottom + 2, BLACK)
    for k in range(21):
        x = left + k * key
        fill = RED if k == 7 else WHITE  # middle C, the third octave's first key
        cv.rect(x, top, x + key - 2, bottom, fill)
        cv.rect(x, bottom - 3, x + key - 2, bottom, KEY_SHADOW if k != 7 else "#700000")
    for k in range(20):
        if k % 7 in (0, 1, 3, 4, 5):  # black keys follow C, D, F, G and A
            x = left + (k + 1) * key - 5
            cv.rect(x, top, x + 8, top + 40, BLACK)


def picture():
    cv = Canvas(WIDTH, HEIGHT)
    sky(cv)
    staff(cv)
    keyboard(cv)
    return cv


def to_bmp(cv):
    """An 8-bit BMP with a 40-byte header and one table entry per colour used, rows
    bottom-up, each padded to whole 32-bit words."""
    colours = sorted({c for row in cv.px for c in row})
    assert len(colours) <= 256, "an 8-bit picture holds 256 colours at most"
    index = {c: i for i, c in enumerate(colours)}
    stride = (cv.w + 3) // 4 * 4
    bits = b"".join(bytes(index[c] for c in row) + bytes(stride - cv.w) for row in reversed(cv.px))
    table = b"".join(bytes([int(c[5:7], 16), int(c[3:5], 16), int(c[1:3], 16), 0])
                     for c in colours)
    info = struct.pack("<IiiHHIIiiII", 40, cv.w, cv.h, 1, 8, 0, len(bits), 2835, 2835,
                       len(colours), 0)
    offset = 14 + len(info) + len(table)
    head = b"BM" + struct.pack("<IHHI", offset + len(bits), 0, 0, offset)
    return head + info + table + bits


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--out", default=os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                                  "..", "resources", "about.bmp"))
    ap.add_argument("--png", help="also write the picture as a PNG here")
    args = ap.parse_args()
    cv = picture()
    with open(args.out, "wb") as f:
        f.write(to_bmp(cv))
    if args.png:
        write_png(args.png, [[tuple(int(c[i:i + 2], 16) for i in (1, 3, 5)) for c in row]
                             for row in cv.px])
    print("wrote %s" % os.path.normpath(args.out))


if __name__ == "__main__":
    main()
