#!/usr/bin/env python3
"""Draws the program's bitmaps and writes them as XPM files to resources/bitmaps/.

Run by hand after changing a picture (the build only reads the .xpm files):

    python3 tools/make_bitmaps.py              # rewrite resources/bitmaps/*.xpm
    python3 tools/make_bitmaps.py --sheet x.png  # also write a 4x magnified preview

Standard library only. Every picture is drawn in code from lines, ellipses,
polygons and brush strokes, so a change of geometry is a change of numbers here.
"""

import argparse
import math
import os
import struct
import zlib

WHITE, BLACK = "#FFFFFF", "#000000"
FACE, LIGHT, SHADOW = "#C0C0C0", "#DFDFDF", "#808080"


class Canvas:
    """A w x h grid of '#RRGGBB' strings. Shapes are tested at pixel centres."""

    def __init__(self, w, h, bg=WHITE):
        self.w, self.h = w, h
        self.px = [[bg] * w for _ in range(h)]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        """Filled rectangle, both corners included."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, c)

    def line(self, x0, y0, x1, y1, c):
        """One-pixel Bresenham line, both end points included."""
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.put(x0, y0, c)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def ellipse(self, cx, cy, rx, ry, c, angle=0.0):
        """Filled ellipse, rotated by angle degrees (negative tilts it up to the right)."""
        a = math.radians(angle)
        ca, sa = math.cos(a), math.sin(a)
        for y in range(self.h):
            for x in range(self.w):
                dx, dy = x + 0.5 - cx, y + 0.5 - cy
                u, v = dx * ca + dy * sa, -dx * sa + dy * ca
                if (u / rx) ** 2 + (v / ry) ** 2 <= 1.0:
                    self.px[y][x] = c

    def polygon(self, pts, c):
        """Filled polygon (even-odd rule)."""
        for y in range(self.h):
            for x in range(self.w):
                px, py, inside = x + 0.5, y + 0.5, False
                for (x0, y0), (x1, y1) in zip(pts, pts[1:] + pts[:1]):
                    if (y0 > py) != (y1 > py) and px < x0 + (py - y0) * (x1 - x0) / (y1 - y0):
                        inside = not inside
                if inside:
                    self.px[y][x] = c

    def stroke(self, pts, widths, c):
        """A pen stroke through pts (smoothed with a Catmull-Rom curve) whose width
        changes linearly between the given per-point widths. Clefs, flags and rests
        need tapered, curved lines; stamping small discs along the curve gives that."""
        ext = [pts[0]] + list(pts) + [pts[-1]]
        for i in range(len(pts) - 1):
            p0, p1, p2, p3 = ext[i], ext[i + 1], ext[i + 2], ext[i + 3]
            steps = 12 * int(1 + math.dist(p1, p2))
            for s in range(steps + 1):
                t = s / steps
                pt = [0.5 * ((2 * p1[k]) + (-p0[k] + p2[k]) * t
                             + (2 * p0[k] - 5 * p1[k] + 4 * p2[k] - p3[k]) * t * t
                             + (-p0[k] + 3 * p1[k] - 3 * p2[k] + p3[k]) * t ** 3) for k in (0, 1)]
                r = (widths[i] + (widths[i + 1] - widths[i]) * t) / 2
                self.disc(pt[0], pt[1], r, c)

    def disc(self, cx, cy, r, c):
        for y in range(int(cy - r) - 1, int(cy + r) + 2):
            for x in range(int(cx - r) - 1, int(cx + r) + 2):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                    self.put(x, y, c)

    def text(self, x, y, s, c, scale=1):
        """Tiny 3x5 capitals and digits, for the few labels the pictures carry."""
        for ch in s:
            for row, bits in enumerate(FONT[ch]):
                for col in range(3):
                    if bits >> (2 - col) & 1:
                        self.rect(x + col * scale, y + row * scale,
                                  x + col * scale + scale - 1, y + row * scale + scale - 1, c)
            x += 4 * scale


# 3x5 font: one integer per row, bit 2 is the left column.
FONT = {
    "A": (2, 5, 7, 5, 5), "L": (4, 4, 4, 4, 7), "C": (3, 4, 4, 4, 3), "-": (0, 0, 7, 0, 0),
    "0": (7, 5, 5, 5, 7), "1": (2, 6, 2, 2, 7), "2": (6, 1, 2, 4, 7), "3": (6, 1, 2, 1, 6),
    "4": (5, 5, 7, 1, 1), "5": (7, 4, 6, 1, 6), "6": (3, 4, 7, 5, 7), "7": (7, 1, 2, 2, 2),
    "8": (7, 5, 7, 5, 7),
}


# ---------------------------------------------------------------- notes and rests

def note(cv, cx, cy, value, ink=BLACK, size=1.0, bg=None):
    """A stem-up note of value 0 (whole) .. 5 (thirty-second) whose head is centred at
    (cx, cy). size 1.0 is the staff glyph: head 10 x 7 so it fits between two staff
    lines 10 px apart; the toolbar uses smaller ones. bg is the colour of the holes."""
    bg = bg or WHITE
    rx, ry = 4.9 * size, 3.6 * size
    if value == 0:
        # Whole note: wider, upright, with a hole slanting the other way; no stem.
        cv.ellipse(cx, cy, rx * 1.12, ry, ink)
        cv.ellipse(cx, cy, rx * 0.55, ry * 0.62, bg, angle=50)
        return
    cv.ellipse(cx, cy, rx, ry, ink, angle=-22)
    if value == 1:
        cv.ellipse(cx, cy, rx * 0.72, ry * 0.42, bg, angle=-32)
    # The stem rises from the head's right edge; flags hang on its right side.
    sx = int(cx + rx - 0.6)
    top = int(cy - 14 * size)
    cv.rect(sx, top, sx, int(cy - 1), ink)
    # Flags are set pixel by pixel: at 15 x 20 a smoothed curve just blurs into a blob.
    # Each is a two-pixel diagonal leaving the stem; only the lowest swings on down,
    # so stacked flags stay apart.
    flags = value - 2
    gap = 3 if size >= 1 else 2
    for i in range(flags):
        flag(cv, sx, top + i * gap, i == flags - 1, flags == 1, size >= 1, ink)


# Flag shapes as (row, first column, last column) right of the stem.
FLAG_ALONE = [(0, 1, 2), (1, 1, 3), (2, 2, 4), (3, 3, 5), (4, 4, 5), (5, 4, 5), (6, 4, 5), (7, 4, 4), (8, 3, 3)]
FLAG_UPPER = [(0, 1, 1), (1, 1, 2), (2, 2, 3), (3, 3, 4)]
FLAG_LOWEST = FLAG_UPPER + [(4, 4, 5), (5, 4, 4), (6, 4, 4), (7, 3, 3)]
FLAG_SMALL = [(0, 1, 1), (1, 2, 2), (2, 3, 3)]
FLAG_SMALL_LOWEST = [(0, 1, 1), (1, 1, 2), (2, 2, 3), (3, 3, 3), (4, 3, 3), (5, 2, 2)]


def flag(cv, sx, y, last, alone, big, ink):
    if big:
        shape = FLAG_ALONE if alone else FLAG_LOWEST if last else FLAG_UPPER
    else:
        shape = FLAG_SMALL_LOWEST if last else FLAG_SMALL
    for row, c0, c1 in shape:
        cv.rect(sx + c0, y + row, sx + c1, y + row, ink)


def rest(cv, value):
    """Rests in the 15 x 20 glyph. A rest is always entered with its glyph top at staff
    y 60, so glyph row 0 lies on the D5 line, row 10 on the middle (B4) line and row 20
    on the G4 line: the whole rest hangs from row 0, the half rest sits on row 10 and the
    others stand in the middle of the staff."""
    if value == 0:
        cv.rect(0, 0, 13, 0, BLACK)
        cv.rect(3, 1, 10, 4, BLACK)
    elif value == 1:
        cv.rect(3, 6, 10, 9, BLACK)
        cv.rect(0, 10, 13, 10, BLACK)
    elif value == 2:
        # Quarter rest: thin stroke down right, thick bar down left, thin down right,
        # then the hook at the foot.
        cv.stroke([(5.0, 0.8), (9.0, 5.5)], [1.2, 2.4], BLACK)
        cv.stroke([(9.0, 5.5), (6.5, 8.5), (5.5, 10.0)], [3.2, 3.4, 2.8], BLACK)
        cv.stroke([(5.5, 10.0), (9.3, 14.0)], [1.4, 2.8], BLACK)
        cv.stroke([(9.3, 14.0), (6.5, 14.3), (5.6, 16.3), (7.8, 19.0)], [2.0, 1.6, 1.8, 1.2], BLACK)
    else:
        # Eighth, sixteenth, thirty-second: one blob-and-hook per flag, all hung on
        # one slanting stem, the flags a space (5 px) apart.
        flags = value - 2
        top = 2 if flags < 3 else 1
        bottom = 17 if flags == 1 else 19
        stem_top_x, stem_bot_x = 10.5 + (flags - 1) * 0.5, 5.5
        cv.stroke([(stem_top_x, top), (stem_bot_x, bottom)], [1.4, 1.4], BLACK)
        for i in range(flags):
            y = top + 5 * i
            x = stem_top_x + (stem_bot_x - stem_top_x) * (y - top) / (bottom - top)
            cv.disc(x - 6.0, y + 1.0, 1.9, BLACK)
            cv.stroke([(x - 6.0, y + 2.0), (x - 3.0, y + 2.6), (x, y)], [1.4, 1.2, 1.3], BLACK)


def staff_glyphs():
    out = {}
    for v, name in enumerate(["WHOLE", "HALF", "QUARTER", "EIGHTH", "SIXTEEN", "THIRTYSEC"]):
        cv = Canvas(15, 20)
        # Head centre at glyph row 15 (note position + 15 is the head's staff y).
        note(cv, 6.0 if v == 0 else 5.6, 15.5, v)
        out[name] = cv
    for v, name in enumerate(["RWHOLE", "RHALF", "RQUARTER", "REIGHTH", "RSIXTEEN", "RTHIRTYSEC"]):
        cv = Canvas(15, 20)
        rest(cv, v)
        out[name] = cv
    out["BLANK"] = Canvas(15, 20)
    return out


# ---------------------------------------------------------------- accidentals, dot

def accidentals():
    """8 x 10 each. A note's accidental is drawn at (x - 9, y + 9) and a key-signature
    one at (x, y + 10), so the pitch line falls on row 6 or row 5: centre them there."""
    sharp = Canvas(8, 10)
    sharp.rect(2, 0, 2, 9, BLACK)
    sharp.rect(5, 0, 5, 9, BLACK)
    for y in (3, 7):  # thick bars rising to the right
        sharp.line(0, y + 1, 7, y - 1, BLACK)
        sharp.line(0, y, 7, y - 2, BLACK)
    flat = Canvas(8, 10)
    flat.rect(1, 0, 1, 9, BLACK)
    flat.stroke([(1.5, 5.5), (4.0, 4.3), (6.0, 5.2), (5.0, 7.3), (2.0, 9.2)], [1, 1.4, 1.8, 1.5, 1.1], BLACK)
    natural = Canvas(8, 10)
    natural.rect(1, 0, 1, 7, BLACK)
    natural.rect(6, 2, 6, 9, BLACK)
    for y in (3, 6):
        natural.line(1, y + 1, 6, y - 1, BLACK)
        natural.line(1, y + 2, 6, y, BLACK)
    # The dot is drawn at (x + 8, y + 12); the head is centred at (x + 5.5, y + 15)
    # and ends at x + 10, so a dot at column 5, row 2 sits just right of it.
    dot = Canvas(10, 10)
    dot.disc(5.5, 2.5, 1.6, BLACK)
    return {"SHARP": sharp, "FLAT": flat, "NATURAL": natural, "DOTTED": dot}


# ---------------------------------------------------------------- clefs

def clefs():
    """TREBLE (20 x 50) is drawn at staff (21, 51): the treble lines y 60, 70, 80, 90
    fall on rows 9, 19, 29, 39, and the G line (80, row 29) is the curl's centre.
    BASS (28 x 32) is drawn at (21, 150): the bass lines y 150..180 fall on rows 0, 10,
    20, 30; the F line (160, row 10) carries the head and runs between the two dots."""
    treble = Canvas(20, 50)
    # Spine: from the top loop straight down through the body to the tail.
    treble.stroke([(8.5, 3.0), (9.0, 12.0), (10.0, 24.0), (11.0, 36.0), (11.0, 43.0),
                   (9.0, 46.5), (6.5, 46.5)], [1.4, 1.5, 1.6, 1.6, 1.6, 1.5, 1.4], BLACK)
    treble.disc(6.0, 44.8, 2.4, BLACK)
    # Top loop bending right, then the thick diagonal down to the left of the body,
    # round the bottom, up the right side and spiralling in to the G line.
    treble.stroke([(8.5, 3.0), (10.5, 0.8), (12.8, 2.0), (13.0, 6.5), (10.5, 12.0),
                   (6.0, 18.0), (3.0, 24.0), (2.0, 30.0), (4.0, 36.0), (9.0, 38.8),
                   (14.0, 37.5), (17.0, 32.5), (16.0, 27.0), (12.0, 24.8), (8.5, 26.5),
                   (7.5, 30.0), (9.5, 32.2), (12.0, 31.5)],
                  [1.3, 1.3, 1.5, 2.0, 2.6, 2.8, 2.8, 2.6, 2.2, 1.8,
                   2.0, 2.6, 2.4, 1.8, 1.6, 1.6, 1.5, 1.5], BLACK)

    bass = Canvas(28, 32)
    bass.disc(5.0, 10.5, 3.4, BLACK)  # the head sits on the F line
    bass.stroke([(4.0, 9.0), (5.0, 4.0), (10.0, 1.2), (16.0, 1.8), (19.5, 6.0),
                 (19.5, 12.0), (16.5, 19.0), (10.0, 25.0), (2.0, 30.0)],
                [1.4, 1.6, 1.8, 2.6, 3.4, 3.6, 3.0, 2.0, 1.0], BLACK)
    bass.disc(25.0, 5.5, 1.8, BLACK)
    bass.disc(25.0, 15.5, 1.8, BLACK)
    return {"TREBLE": treble, "BASS": bass}


# ---------------------------------------------------------------- piano-roll keyboard

def keyboard():
    """35 x 541. Row r (9 px, y 9r .. 9r+8) is the white key of staff position 5r - 35:
    row 0 is F7, row 24 middle C (position 85). A sharp is drawn 5 px above its letter's
    row and a flat 5 px below, so the black key between two rows straddles their
    boundary line 9r: 7 px from 9r - 3 to 9r + 3. The keys point right; the black keys
    hang from the left edge. The picture is ANDed onto the roll, so only black shows."""
    cv = Canvas(35, 541)
    letters = "CDEFGAB"
    for r in range(61):
        cv.rect(0, 9 * r, 34, 9 * r, BLACK)
    cv.rect(34, 0, 34, 540, BLACK)
    for r in range(61):
        letter = letters[(24 - r) % 7]
        if letter in "CDFGA":  # a black key at the top of this row (row 0's is cut off)
            cv.rect(0, 9 * r - 3, 20, 9 * r + 3, BLACK)
        if letter == "C" and r < 59:
            # Row 24 is key 60, named C5 here as everywhere the program names a pitch.
            octave = str(5 + (24 - r) // 7)
            cv.text(25, 9 * r + 2, "C" + octave, BLACK)
    return {"KEYBOARD": cv}


# ---------------------------------------------------------------- bevelled buttons

def bevel(w, h, pressed):
    """The grey push-button frame: raised (light top/left, dark bottom/right) or sunken."""
    cv = Canvas(w, h, FACE)
    outer = (BLACK, WHITE) if pressed else (WHITE, BLACK)
    inner = (SHADOW, LIGHT) if pressed else (LIGHT, SHADOW)
    for i, (tl, br) in enumerate((outer, inner)):
        cv.rect(i, h - 1 - i, w - 1 - i, h - 1 - i, br)
        cv.rect(w - 1 - i, i, w - 1 - i, h - 1 - i, br)
        cv.rect(i, i, w - 1 - i, i, tl)
        cv.rect(i, i, i, h - 2 - i, tl)
    return cv


def button(w, h, symbol, state):
    """state 'up', 'down' (sunken, symbol moved 1 px down-right) or 'off' (etched:
    a white copy 1 px down-right under a dark grey one)."""
    cv = bevel(w, h, state == "down")
    if state == "down":
        symbol(cv, 1, 1, BLACK)
    elif state == "off":
        symbol(cv, 1, 1, WHITE)
        symbol(cv, 0, 0, SHADOW)
    else:
        symbol(cv, 0, 0, BLACK)
    return cv


# Transport symbols, drawn about the middle (31, 19) of a 63 x 39 button.
def sym_prev(cv, dx, dy, ink):
    cv.rect(17 + dx, 10 + dy, 19 + dx, 28 + dy, ink)
    for x in (20, 31):
        cv.polygon([(x + dx, 19.5 + dy), (x + 11 + dx, 10 + dy), (x + 11 + dx, 29 + dy)], ink)


def sym_next(cv, dx, dy, ink):
    cv.rect(43 + dx, 10 + dy, 45 + dx, 28 + dy, ink)
    for x in (43, 32):
        cv.polygon([(x + dx, 19.5 + dy), (x - 11 + dx, 10 + dy), (x - 11 + dx, 29 + dy)], ink)


def sym_pause(cv, dx, dy, ink):
    cv.rect(24 + dx, 10 + dy, 28 + dx, 28 + dy, ink)
    cv.rect(34 + dx, 10 + dy, 38 + dx, 28 + dy, ink)


def sym_play(cv, dx, dy, ink):
    cv.polygon([(24 + dx, 9 + dy), (41 + dx, 19.5 + dy), (24 + dx, 30 + dy)], ink)


def sym_play_all(cv, dx, dy, ink):
    cv.polygon([(13 + dx, 9 + dy), (30 + dx, 19.5 + dy), (13 + dx, 30 + dy)], ink)
    cv.text(33 + dx, 15 + dy, "ALL", ink, scale=2)


def sym_stop(cv, dx, dy, ink):
    cv.rect(23 + dx, 11 + dy, 39 + dx, 27 + dy, ink)


TRANSPORT = [("PREV", sym_prev), ("NEXT", sym_next), ("PAUSE", sym_pause),
             ("PLAY", sym_play), ("PLAYA", sym_play_all), ("STOP", sym_stop)]


def transport_buttons():
    out = {}
    for name, sym in TRANSPORT:
        out["ID_%s_B" % name] = button(63, 39, sym, "up")
        out["ID_%s_BP" % name] = button(63, 39, sym, "down")
        out["ID_%s_BD" % name] = button(63, 39, sym, "off")
    return out


# Mode symbols for the 19 x 19 buttons (inside the frame: 2 .. 16).
def sym_staff(cv, dx, dy, ink):
    for y in (5, 7, 9, 11, 13):
        cv.rect(3 + dx, y + dy, 15 + dx, y + dy, ink)
    cv.ellipse(9.5 + dx, 10.0 + dy, 1.8, 1.2, ink, angle=-20)
    cv.rect(10 + dx, 4 + dy, 10 + dx, 9 + dy, ink)


def sym_piano(cv, dx, dy, ink):
    # Four white keys (D E F G) with the two black keys D sharp and F sharp.
    if ink == BLACK:  # white keys stay white on the grey face
        cv.rect(3 + dx, 3 + dy, 15 + dx, 15 + dy, WHITE)
    cv.rect(3 + dx, 3 + dy, 15 + dx, 3 + dy, ink)
    cv.rect(3 + dx, 15 + dy, 15 + dx, 15 + dy, ink)
    for x in (3, 6, 9, 12, 15):
        cv.rect(x + dx, 3 + dy, x + dx, 15 + dy, ink)
    for x in (6, 12):
        cv.rect(x - 1 + dx, 3 + dy, x + 1 + dx, 10 + dy, ink)


def sym_eye(cv, dx, dy, ink):
    lid = [(2.5, 9.5), (6.0, 6.0), (9.5, 5.2), (13.0, 6.0), (16.5, 9.5)]
    for flip in (False, True):  # upper lid, then the lower one mirrored about row 9.5
        cv.stroke([(x + dx, (19.0 - y if flip else y) + dy) for x, y in lid], [1, 1.2, 1.2, 1.2, 1], ink)
    cv.disc(9.5 + dx, 9.5 + dy, 2.6, ink)


def sym_speaker(cv, dx, dy, ink):
    cv.rect(3 + dx, 7 + dy, 5 + dx, 11 + dy, ink)
    cv.polygon([(5 + dx, 7 + dy), (10 + dx, 3 + dy), (10 + dx, 16 + dy), (5 + dx, 12 + dy)], ink)
    cv.stroke([(12.5 + dx, 7.0 + dy), (13.5 + dx, 9.5 + dy), (12.5 + dx, 12.0 + dy)], [1, 1, 1], ink)
    cv.stroke([(14.5 + dx, 5.0 + dy), (16.0 + dx, 9.5 + dy), (14.5 + dx, 14.0 + dy)], [1, 1, 1], ink)


def sym_animate(cv, dx, dy, ink):
    # A note running to the right, with speed lines behind it.
    cv.ellipse(11.5 + dx, 13.5 + dy, 2.4, 1.7, ink, angle=-22)
    cv.rect(13 + dx, 4 + dy, 13 + dx, 13 + dy, ink)
    cv.stroke([(13.5 + dx, 4.5 + dy), (15.5 + dx, 7.5 + dy), (15.5 + dx, 9.5 + dy)], [1.3, 1.1, 1], ink)
    for y, x0 in ((6, 4), (9, 3), (12, 4)):
        cv.rect(x0 + dx, y + dy, x0 + 4 + dx, y + dy, ink)


def sym_hide(cv, dx, dy, ink):
    cv.rect(4 + dx, 12 + dy, 13 + dx, 14 + dy, ink)


def sym_record(cv, dx, dy, ink):
    if ink == BLACK:  # the live button is red; the etched one follows the ink
        cv.disc(9.5 + dx, 9.5 + dy, 5.2, "#800000")
        cv.disc(9.5 + dx, 9.5 + dy, 4.2, "#FF0000")
        cv.disc(8.0 + dx, 8.0 + dy, 1.0, "#FF8080")  # a glint, so it reads as a lamp
    else:
        cv.disc(9.5 + dx, 9.5 + dy, 5.2, ink)


def mode_buttons():
    up = [("STAFFB", sym_staff), ("DSOLOB", sym_eye), ("PSOLOB", sym_speaker),
          ("ANIMB", sym_animate), ("HIDEB", sym_hide), ("RECORDB", sym_record)]
    down = [("PIANOB", sym_piano), ("DSOLOP", sym_eye), ("PSOLOP", sym_speaker),
            ("ANIMP", sym_animate), ("HIDEP", sym_hide), ("RECORDP", sym_record)]
    out = {name: button(19, 19, sym, "up") for name, sym in up}
    out.update({name: button(19, 19, sym, "down") for name, sym in down})
    out["RECORDD"] = button(19, 19, sym_record, "off")
    return out


def note_buttons():
    """19 x 25: the six note values, small, as the toolbar's note chooser."""
    out = {}
    for v in range(6):
        def sym(cv, dx, dy, ink, v=v):
            note(cv, 7.5 + dx, (12.5 if v == 0 else 16.5) + dy, v, ink, size=0.75, bg=FACE)
        out["TB_%d" % v] = button(19, 25, sym, "up")
        out["TBP_%d" % v] = button(19, 25, sym, "down")
    return out


# ---------------------------------------------------------------- application icon

def icon():
    """48 x 48: a sheet of staff paper with two beamed eighth notes in the dark red
    the program uses for the current track."""
    navy, paper, red = "#1F3F7F", "#FFFFF0", "#A00000"
    cv = Canvas(48, 48, navy)
    cv.rect(4, 6, 43, 41, paper)
    cv.rect(5, 42, 44, 42, "#0F1F40")
    cv.rect(44, 7, 44, 42, "#0F1F40")
    for y in (13, 19, 25, 31, 37):
        cv.rect(6, y, 41, y, "#404040")
    for cx, cy in ((16.5, 31.0), (32.5, 25.0)):
        cv.ellipse(cx, cy, 4.2, 3.0, red, angle=-22)
        sx = int(cx + 3.4)
        cv.rect(sx, int(cy - 15), sx + 1, int(cy), red)
    cv.polygon([(20, 13), (37, 7), (37, 10.5), (20, 16.5)], red)
    return {"TOLVAR32": cv}


# ---------------------------------------------------------------- output

XPM_CHARS = ".X" + "abcdefghijklmnopqrstuvwyzABCDEFGHIJKLMNOPQRSTUVWYZ0123456789#+@$%&*=-;:>,<"


def to_xpm(name, cv):
    """XPM 3 text; white is '.', black 'X', other colours by order of appearance."""
    colours = [WHITE, BLACK]
    for row in cv.px:
        for c in row:
            if c not in colours:
                colours.append(c)
    used = [c for c in colours if any(c in row for row in cv.px)]
    key = {c: XPM_CHARS[colours.index(c)] for c in used}
    lines = ['"%d %d %d 1"' % (cv.w, cv.h, len(used))]
    lines += ['"%s c %s"' % (key[c], c) for c in used]
    lines += ['"%s"' % "".join(key[c] for c in row) for row in cv.px]
    return "/* XPM */\nstatic const char* %s[] = {\n%s\n};\n" % (name, ",\n".join(lines))


def write_png(path, rows):
    """rows: lists of (r, g, b). Enough PNG for a preview image."""
    raw = b"".join(b"\0" + bytes(v for px in row for v in px) for row in rows)

    def chunk(tag, data):
        return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data))
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 2, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def contact_sheet(path, pics, scale=4, width=1200):
    """All pictures magnified side by side on a mid-grey ground, wrapping into rows."""
    pad, x, y, line_h, places = 8, 8, 8, 0, []
    for name, cv in pics.items():
        w, h = cv.w * scale, cv.h * scale
        if x + w > width:
            x, y, line_h = pad, y + line_h + pad, 0
        places.append((x, y, cv))
        x, line_h = x + w + pad, max(line_h, h)
    rows = [[(96, 128, 96)] * width for _ in range(y + line_h + pad)]
    for x0, y0, cv in places:
        for yy in range(cv.h * scale):
            for xx in range(cv.w * scale):
                c = cv.px[yy // scale][xx // scale]
                rows[y0 + yy][x0 + xx] = tuple(int(c[i:i + 2], 16) for i in (1, 3, 5))
    write_png(path, rows)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--out", default=os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                                  "..", "resources", "bitmaps"))
    ap.add_argument("--sheet", help="also write a magnified PNG of every picture here")
    args = ap.parse_args()
    pics = {}
    for family in (staff_glyphs, accidentals, clefs, keyboard, transport_buttons,
                   mode_buttons, note_buttons, icon):
        pics.update(family())
    os.makedirs(args.out, exist_ok=True)
    for name, cv in pics.items():
        with open(os.path.join(args.out, name + ".xpm"), "w") as f:
            f.write(to_xpm(name, cv))
    if args.sheet:
        contact_sheet(args.sheet, pics)
    print("wrote %d bitmaps to %s" % (len(pics), os.path.normpath(args.out)))


if __name__ == "__main__":
    main()
