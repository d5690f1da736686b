#!/usr/bin/env python3

# SPDX-FileCopyrightText: The Rovedavu authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Writes the window icon: one 32 x 32 image, 24-bit colour with a 1-bit mask.

Usage: make_icon.py IN.png OUT.ico

IN.png is a 32 x 32 RGBA rendering of frog.svg (8 bits a sample, as
rsvg-convert writes it). A pixel at least half covered becomes opaque in its
own colour; any other pixel becomes black with its mask bit set, which is how
the old icon format marks a transparent pixel. The file is always
6 + 16 + 40 + 3072 + 128 = 3262 bytes.

An opaque pixel is never pure black (a black one is stored as 1, 1, 1), so
black alone marks the masked pixels. Readers that skip the mask of a 24-bit
icon (Qt 6.4's does) can then bring the transparency back by clearing black.
"""

import struct
import sys
import zlib

SIZE = 32
PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"
OPAQUE_FROM = 128  # alpha at or above this is drawn, below it is masked out


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def read_png_rgba(data):
    """Decodes a non-interlaced 8-bit RGB or RGBA PNG.

    Returns (width, height, pixels), pixels being a list of rows of
    (r, g, b, a) tuples. Other kinds of PNG raise ValueError.
    """
    if not data.startswith(PNG_SIGNATURE):
        raise ValueError("not a PNG file")
    at = len(PNG_SIGNATURE)
    header = None
    compressed = bytearray()
    while at + 8 <= len(data):
        length, kind = struct.unpack(">I4s", data[at : at + 8])
        body = data[at + 8 : at + 8 + length]
        if len(body) != length:
            raise ValueError("PNG chunk cut short")
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            compressed += body
        elif kind == b"IEND":
            break
        at += 12 + length
    if header is None:
        raise ValueError("PNG without a header")
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace != 0:
        raise ValueError("only 8-bit RGB or RGBA non-interlaced PNGs are read")
    channels = 4 if colour == 6 else 3
    stride = width * channels
    raw = zlib.decompress(bytes(compressed))
    if len(raw) < height * (stride + 1):
        raise ValueError("PNG image data cut short")
    rows = []
    prior = bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind = raw[start]
        row = bytearray(raw[start + 1 : start + 1 + stride])
        for i in range(stride):
            left = row[i - channels] if i >= channels else 0
            up = prior[i]
            up_left = prior[i - channels] if i >= channels else 0
            if kind == 1:
                row[i] = (row[i] + left) & 0xFF
            elif kind == 2:
                row[i] = (row[i] + up) & 0xFF
            elif kind == 3:
                row[i] = (row[i] + ((left + up) >> 1)) & 0xFF
            elif kind == 4:
                row[i] = (row[i] + _paeth(left, up, up_left)) & 0xFF
            elif kind != 0:
                raise ValueError("unknown PNG filter %d" % kind)
        prior = row
        pixels = []
        for x in range(width):
            px = row[x * channels : (x + 1) * channels]
            pixels.append((px[0], px[1], px[2], px[3] if channels == 4 else 255))
        rows.append(pixels)
    return width, height, rows


def ico_bytes(rows):
    """The .ico file for a 32 x 32 image given as rows of (r, g, b, a), top row first."""
    if len(rows) != SIZE or any(len(row) != SIZE for row in rows):
        raise ValueError("the icon must be 32 x 32 pixels")
    colour = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # bitmaps are stored bottom row first
        bits = 0
        for x, (r, g, b, a) in enumerate(row):
            if a >= OPAQUE_FROM:
                colour += bytes((b, g, r)) if (r, g, b) != (0, 0, 0) else b"\x01\x01\x01"
            else:
                colour += b"\x00\x00\x00"
                bits |= 1 << (31 - x)
        mask += struct.pack(">I", bits)  # 32 bits: already a whole 4-byte row
    info = struct.pack(
        "<IiiHHIIiiII",
        40,  # size of this header
        SIZE,
        SIZE * 2,  # colour image and mask, one above the other
        1,  # planes
        24,  # bits a pixel
        0,  # no compression
        len(colour) + len(mask),
        0,
        0,
        0,
        0,
    )
    image = info + bytes(colour) + bytes(mask)
    header = struct.pack("<HHH", 0, 1, 1)  # reserved, icon, one image
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 24, len(image), 6 + 16)
    return header + entry + image


def main(argv):
    if len(argv) != 3:
        sys.exit("usage: make_icon.py IN.png OUT.ico")
    with open(argv[1], "rb") as f:
        width, height, rows = read_png_rgba(f.read())
    if (width, height) != (SIZE, SIZE):
        sys.exit("make_icon.py: %s is %d x %d, not 32 x 32" % (argv[1], width, height))
    with open(argv[2], "wb") as f:
        f.write(ico_bytes(rows))


if __name__ == "__main__":
    main(sys.argv)
