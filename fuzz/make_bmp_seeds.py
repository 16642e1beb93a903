#!/usr/bin/env python3
"""Writes the seed corpus of the BMP picture reader's fuzz target into fuzz/bmp_seeds/.

One small picture of each layout the reader takes (the three info headers, every depth, bit-field
masks, top-down rows, no file header) and a few it must refuse, so the fuzzer starts inside the
colour-table and pixel code rather than at the header checks. The output is the same on every run.
"""

import pathlib
import struct

SEEDS = pathlib.Path(__file__).resolve().parent / "bmp_seeds"
BI_RGB, BI_BITFIELDS = 0, 3


def rows(lines):
    """Pixel rows, each padded to whole 32-bit words."""
    return b"".join(bytes(line) + bytes(-len(line) % 4) for line in lines)


def info(width, height, depth, compression=BI_RGB, size_image=0, used=0, size=40, masks=()):
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, depth, compression, size_image,
                         2835, 2835, used, 0)
    if size == 108:
        header = struct.pack("<I", 108) + header[4:] + struct.pack("<4I", *(list(masks) + [0] * 4)[:4])
        header += bytes(108 - len(header))
    return header


def core(width, height, depth):
    return struct.pack("<IHHHH", 12, width, height, 1, depth)


def bmp(dib, file_header=True):
    if not file_header:
        return dib
    return b"BM" + struct.pack("<IHHI", 14 + len(dib), 0, 0, 14) + dib


def table(count, entry=4):
    return b"".join(bytes([i, 255 - i, i // 2, 0][:entry]) for i in range(count))


def seeds():
    masks565 = struct.pack("<3I", 0xF800, 0x07E0, 0x001F)
    return {
        "core_8bit.bmp": bmp(core(3, 2, 8) + table(256, 3) + rows([[0, 1, 2], [253, 254, 255]])),
        "core_24bit.bmp": bmp(core(2, 2, 24) + rows([[0, 0, 255, 0, 255, 0], [255] * 6])),
        "info_1bit.bmp": bmp(info(10, 2, 1) + table(2) + rows([[0xB0, 0x40], [0x0F, 0xC0]])),
        "info_4bit.bmp": bmp(info(3, 2, 4, used=4) + table(4) + rows([[0x31, 0x20], [0x02, 0x10]])),
        "info_8bit_short_table.bmp": bmp(info(3, 1, 8, used=2) + table(2) + rows([[1, 0, 9]])),
        "info_16bit.bmp": bmp(info(3, 1, 16) + rows([[0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00]])),
        "info_24bit_top_down.bmp": bmp(info(3, -2, 24, size_image=24) +
                                       rows([[0, 0, 255] * 3, [255, 0, 0] * 3])),
        "info_24bit_with_table.bmp": bmp(info(1, 1, 24, used=3) + table(3) + rows([[1, 2, 3]])),
        "info_32bit.bmp": bmp(info(2, 1, 32) + rows([[1, 2, 3, 0, 4, 5, 6, 0]])),
        "bitfields_16bit.bmp": bmp(info(2, 2, 16, BI_BITFIELDS) + masks565 +
                                   rows([[0, 0xF8, 0xE0, 0x07], [0x1F, 0, 0xFF, 0xFF]])),
        "bitfields_32bit.bmp": bmp(info(1, 1, 32, BI_BITFIELDS) +
                                   struct.pack("<3I", 0xFF, 0xFF000000, 0xFF0000) + bytes(4)),
        "v4_bitfields_32bit.bmp": bmp(info(2, 1, 32, BI_BITFIELDS, size=108,
                                           masks=(0xFF00, 0xFF0000, 0xFF000000, 0xFF)) +
                                      rows([[0, 255, 0, 0, 0, 0, 0, 255]])),
        "v4_8bit.bmp": bmp(info(2, 1, 8, size=108) + table(256) + rows([[7, 8]])),
        "no_file_header.bmp": bmp(info(2, 2, 24) + rows([[9] * 6, [8] * 6]), file_header=False),
        "size_image_too_large.bmp": bmp(info(1, 1, 24, size_image=4000) + bytes(4)),
        "run_length_8bit.bmp": bmp(info(2, 1, 8, compression=1) + table(2) + bytes([2, 1, 0, 1])),
        "header_size_124.bmp": bmp(struct.pack("<I", 124) + info(1, 1, 24)[4:] + bytes(88)),
    }


def main():
    SEEDS.mkdir(exist_ok=True)
    for name, data in seeds().items():
        (SEEDS / name).write_bytes(data)
    print("wrote %d seeds to %s" % (len(seeds()), SEEDS))


if __name__ == "__main__":
    main()
