#!/usr/bin/env python3
"""Draws the program's desktop icon and writes it to packaging/icons/.

Run by hand after changing the picture (the build only installs the files):

    python3 tools/make_icon.py     # rewrite tolvar32.svg, tolvar32-48.png, tolvar32-256.png

The icon is the window icon of make_bitmaps.py drawn as shapes on a 48-unit grid: a sheet of
staff paper with two beamed eighth notes in the current track's dark red, on a navy tile with
rounded corners. The same shapes give the SVG and, sampled 16 times a pixel, the PNGs (RGBA,
transparent outside the tile). Standard library only.
"""

import argparse
import math
import os
import struct
import zlib

GRID = 48
NAVY, PAPER, SHADOW, LINE, RED = "#1F3F7F", "#FFFFF0", "#0F1F40", "#404040", "#A00000"
HEADS = ((16.5, 31.0), (32.5, 25.0))
HEAD_RX, HEAD_RY, HEAD_TILT = 4.2, 3.0, -22.0


def shapes():
    """The picture, back to front, as (kind, colour, parameters) on the 48-unit grid."""
    out = [("rounded", NAVY, (1, 1, 47, 47, 7)),
           ("rect", SHADOW, (5, 7, 45, 43)),
           ("rect", PAPER, (4, 6, 44, 42))]
    out += [("rect", LINE, (6, y, 42, y + 1)) for y in (13, 19, 25, 31, 37)]
    for cx, cy in HEADS:
        out.append(("ellipse", RED, (cx, cy, HEAD_RX, HEAD_RY, HEAD_TILT)))
        stem = int(cx + 3.4)
        out.append(("rect", RED, (stem, int(cy - 15), stem + 2, int(cy) + 1)))
    out.append(("polygon", RED, ((20, 13), (37, 7), (37, 10.5), (20, 16.5))))
    return out


# ---------------------------------------------------------------- SVG

def svg_element(kind, colour, p):
    if kind == "rounded":
        x0, y0, x1, y1, r = p
        return '<rect x="%g" y="%g" width="%g" height="%g" rx="%g" fill="%s"/>' % (
            x0, y0, x1 - x0, y1 - y0, r, colour)
    if kind == "rect":
        x0, y0, x1, y1 = p
        return '<rect x="%g" y="%g" width="%g" height="%g" fill="%s"/>' % (
            x0, y0, x1 - x0, y1 - y0, colour)
    if kind == "ellipse":
        cx, cy, rx, ry, tilt = p
        return ('<ellipse cx="%g" cy="%g" rx="%g" ry="%g" transform="rotate(%g %g %g)" '
                'fill="%s"/>' % (cx, cy, rx, ry, tilt, cx, cy, colour))
    points = " ".join("%g,%g" % pt for pt in p)
    return '<polygon points="%s" fill="%s"/>' % (points, colour)


def svg(pic):
    body = "\n".join("  " + svg_element(*shape) for shape in pic)
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">\n'
            '%s\n</svg>\n' % (GRID, GRID, GRID, GRID, body))


# ---------------------------------------------------------------- raster

def inside_test(kind, p):
    """A function telling whether a grid point lies in the shape, and the shape's bounds."""
    if kind == "rounded":
        x0, y0, x1, y1, r = p

        def test(x, y):
            nx, ny = min(max(x, x0 + r), x1 - r), min(max(y, y0 + r), y1 - r)
            return x0 <= x <= x1 and y0 <= y <= y1 and (x - nx) ** 2 + (y - ny) ** 2 <= r * r
        return test, (x0, y0, x1, y1)
    if kind == "rect":
        x0, y0, x1, y1 = p
        return (lambda x, y: x0 <= x < x1 and y0 <= y < y1), (x0, y0, x1, y1)
    if kind == "ellipse":
        cx, cy, rx, ry, tilt = p
        ca, sa = math.cos(math.radians(tilt)), math.sin(math.radians(tilt))

        def test(x, y):
            dx, dy = x - cx, y - cy
            u, v = dx * ca + dy * sa, -dx * sa + dy * ca
            return (u / rx) ** 2 + (v / ry) ** 2 <= 1.0
        r = max(rx, ry)
        return test, (cx - r, cy - r, cx + r, cy + r)
    edges = list(zip(p, p[1:] + p[:1]))

    def test(x, y):
        inside = False
        for (ax, ay), (bx, by) in edges:
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                inside = not inside
        return inside
    xs, ys = [pt[0] for pt in p], [pt[1] for pt in p]
    return test, (min(xs), min(ys), max(xs), max(ys))


def rasterize(pic, size, samples=4):
    """size x size RGBA pixels as rows of [r, g, b, a] floats in 0..1."""
    rows = [[[0.0, 0.0, 0.0, 0.0] for _ in range(size)] for _ in range(size)]
    unit = GRID / size
    offsets = [(i + 0.5) / samples for i in range(samples)]
    for kind, colour, p in pic:
        rgb = [int(colour[i:i + 2], 16) / 255 for i in (1, 3, 5)]
        test, (bx0, by0, bx1, by1) = inside_test(kind, p)
        for py in range(max(0, int(by0 / unit) - 1), min(size, int(by1 / unit) + 2)):
            for px in range(max(0, int(bx0 / unit) - 1), min(size, int(bx1 / unit) + 2)):
                hits = sum(test((px + ox) * unit, (py + oy) * unit)
                           for oy in offsets for ox in offsets)
                if hits:
                    over(rows[py][px], rgb, hits / samples ** 2)
    return rows


def over(dst, rgb, alpha):
    """Porter-Duff source over, on straight (not premultiplied) colours."""
    out_a = alpha + dst[3] * (1 - alpha)
    for i in range(3):
        dst[i] = (rgb[i] * alpha + dst[i] * dst[3] * (1 - alpha)) / out_a
    dst[3] = out_a


def png(rows):
    """An 8-bit RGBA PNG."""
    raw = b"".join(b"\0" + bytes(round(v * 255) for px in row for v in px) for row in rows)

    def chunk(tag, data):
        return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data))
    header = struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--out", default=os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                                  "..", "packaging", "icons"))
    args = ap.parse_args()
    os.makedirs(args.out, exist_ok=True)
    pic = shapes()
    with open(os.path.join(args.out, "tolvar32.svg"), "w") as f:
        f.write(svg(pic))
    for size in (48, 256):
        with open(os.path.join(args.out, "tolvar32-%d.png" % size), "wb") as f:
            f.write(png(rasterize(pic, size)))
    print("wrote the icon to %s" % os.path.normpath(args.out))


if __name__ == "__main__":
    main()
