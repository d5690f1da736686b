#!/usr/bin/env python3

# SPDX-FileCopyrightText: The Rovedavu authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Checks the icon writer and the finished pictures and sounds.

Run from anywhere: python3 assets/src/test_assets.py
"""

import math
import os
import struct
import sys
import unittest
import wave
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
ASSETS = os.path.dirname(HERE)
sys.path.insert(0, HERE)

import make_icon  # noqa: E402


def png_bytes(rows, filters):
    """A minimal 8-bit RGBA PNG; filters[y] is the filter type used on row y."""
    width, height = len(rows[0]), len(rows)
    raw = bytearray()
    prior = bytes(width * 4)
    for y, row in enumerate(rows):
        line = bytes(v for px in row for v in px)
        kind = filters[y]
        out = bytearray()
        for i, v in enumerate(line):
            left = line[i - 4] if i >= 4 else 0
            up = prior[i]
            up_left = prior[i - 4] if i >= 4 else 0
            guess = [0, left, up, (left + up) >> 1, make_icon._paeth(left, up, up_left)][kind]
            out.append((v - guess) & 0xFF)
        raw += bytes([kind]) + out
        prior = line

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    ihdr = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return make_icon.PNG_SIGNATURE + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(bytes(raw))) + chunk(b"IEND", b"")


def jpeg_size(path):
    """(width, height) from a JPEG's start-of-frame segment."""
    with open(path, "rb") as f:
        data = f.read()
    assert data[:2] == b"\xff\xd8", path + " is not a JPEG"
    at = 2
    while at < len(data):
        marker, length = data[at + 1], struct.unpack(">H", data[at + 2 : at + 4])[0]
        if marker in (0xC0, 0xC1, 0xC2):
            height, width = struct.unpack(">HH", data[at + 5 : at + 9])
            return width, height
        at += 2 + length
    raise AssertionError(path + " has no frame header")


class IconWriter(unittest.TestCase):
    def picture(self):
        """32 x 32: transparent, except a red top-left and a blue bottom-right pixel."""
        rows = [[(0, 0, 0, 0)] * 32 for _ in range(32)]
        rows[0][0] = (255, 0, 0, 255)
        rows[31][31] = (0, 0, 255, 200)
        rows[5][7] = (9, 9, 9, 127)  # under half covered: masked out
        return rows

    def test_layout_and_size(self):
        ico = make_icon.ico_bytes(self.picture())
        self.assertEqual(len(ico), 3262)
        self.assertEqual(struct.unpack("<HHH", ico[:6]), (0, 1, 1))
        w, h, colours, _, planes, bits, size, offset = struct.unpack("<BBBBHHII", ico[6:22])
        self.assertEqual((w, h, colours, planes, bits, size, offset), (32, 32, 0, 1, 24, 3240, 22))
        info = struct.unpack("<IiiHHIIiiII", ico[22:62])
        self.assertEqual(info[:6], (40, 32, 64, 1, 24, 0))

    def test_pixels_bottom_up_in_bgr_with_mask(self):
        ico = make_icon.ico_bytes(self.picture())
        pixels, mask = ico[62:3134], ico[3134:]
        # the top row of the picture is the last row of the bitmap
        self.assertEqual(pixels[31 * 96 : 31 * 96 + 3], b"\x00\x00\xff")
        self.assertEqual(pixels[31 * 3 : 32 * 3], b"\xff\x00\x00")
        top_mask = struct.unpack(">I", mask[31 * 4 :])[0]
        bottom_mask = struct.unpack(">I", mask[:4])[0]
        self.assertEqual(top_mask, 0x7FFFFFFF)
        self.assertEqual(bottom_mask, 0xFFFFFFFE)
        row5 = struct.unpack(">I", mask[26 * 4 : 27 * 4])[0]
        self.assertEqual(row5, 0xFFFFFFFF)
        self.assertEqual(pixels[26 * 96 + 21 : 26 * 96 + 24], b"\x00\x00\x00")

    def test_opaque_black_is_not_the_mask_colour(self):
        rows = self.picture()
        rows[10][10] = (0, 0, 0, 255)
        pixels = make_icon.ico_bytes(rows)[62:3134]
        at = 21 * 96 + 30
        self.assertEqual(pixels[at : at + 3], b"\x01\x01\x01")

    def test_wrong_size_refused(self):
        with self.assertRaises(ValueError):
            make_icon.ico_bytes([[(0, 0, 0, 0)] * 16 for _ in range(16)])

    def test_png_reader_undoes_every_filter(self):
        rows = [[((x * 37 + y * 11) % 256, (x * y) % 256, (200 - x) % 256, (x + 3 * y) % 256) for x in range(6)]
                for y in range(5)]
        width, height, decoded = make_icon.read_png_rgba(png_bytes(rows, [0, 1, 2, 3, 4]))
        self.assertEqual((width, height), (6, 5))
        self.assertEqual([list(r) for r in decoded], [list(r) for r in rows])

    def test_png_reader_refuses_other_files(self):
        with self.assertRaises(ValueError):
            make_icon.read_png_rgba(b"GIF89a")


class Pictures(unittest.TestCase):
    def test_icon_file(self):
        with open(os.path.join(ASSETS, "pictures", "frog.ico"), "rb") as f:
            ico = f.read()
        self.assertEqual(len(ico), 3262)
        mask = ico[3134:]
        opaque = sum(bin(~b & 0xFF).count("1") for b in mask)
        self.assertTrue(300 < opaque < 1000, "the frog covers %d of 1024 pixels" % opaque)
        pixels = ico[62:3134]
        for i in range(1024):
            masked = mask[(i // 32) * 4 + (i % 32) // 8] >> (7 - i % 8) & 1
            black = pixels[3 * i : 3 * i + 3] == b"\x00\x00\x00"
            self.assertEqual(masked, black, "pixel %d: black if and only if masked" % i)

    def test_jpeg_sizes(self):
        for name, size in {"praise.jpg": (200, 252), "crest.jpg": (42, 41),
                           "logo.jpg": (83, 80), "mascot.jpg": (89, 78)}.items():
            with self.subTest(name=name):
                self.assertEqual(jpeg_size(os.path.join(ASSETS, "pictures", name)), size)

    def test_theme_icons(self):
        for n in (16, 32, 48, 64, 128, 256):
            with self.subTest(size=n):
                with open(os.path.join(ASSETS, "pictures", "icons", "rovedavu-%d.png" % n), "rb") as f:
                    width, height, rows = make_icon.read_png_rgba(f.read())
                self.assertEqual((width, height), (n, n))
                self.assertEqual(rows[0][n - 1][3], 0, "the corner is transparent")


def read_wav(name):
    path = os.path.join(ASSETS, "sounds", name)
    with wave.open(path, "rb") as w:
        params = (w.getnchannels(), w.getsampwidth(), w.getframerate(), w.getcomptype())
        frames = w.readframes(w.getnframes())
    return path, params, list(struct.unpack("<%dh" % (len(frames) // 2), frames))


def strongest(samples, freqs):
    """Which of freqs carries most energy in samples (Goertzel)."""
    def power(freq):
        k = 2 * math.cos(2 * math.pi * freq / 44100)
        s1 = s2 = 0.0
        for v in samples:
            s1, s2 = v + k * s1 - s2, s1
        return s1 * s1 + s2 * s2 - k * s1 * s2
    return max(freqs, key=power)


class Sounds(unittest.TestCase):
    NAMES = ("Chimes.wav", "Chimes2.wav", "pinpon.wav", "endpinpon.wav")

    def test_format_length_and_level(self):
        for name in self.NAMES:
            with self.subTest(name=name):
                path, params, samples = read_wav(name)
                self.assertEqual(params, (1, 2, 44100, "NONE"))
                self.assertTrue(0.3 <= len(samples) / 44100 <= 1.2)
                self.assertLess(os.path.getsize(path), 100 * 1024)
                loudest = max(abs(v) for v in samples)
                self.assertTrue(8000 < loudest < 32000, "peak %d" % loudest)
                self.assertLess(abs(samples[0]) + abs(samples[-1]), 100, "starts and ends near silence")

    def test_wrong_answer_is_low(self):
        _, _, samples = read_wav("Chimes2.wav")
        self.assertIn(strongest(samples[:8820], (200.0, 260.0, 520.0, 1046.5)), (200.0, 260.0))

    def test_pin_pon_directions(self):
        for name, first, second in (("pinpon.wav", 784.0, 988.0), ("endpinpon.wav", 988.0, 784.0)):
            with self.subTest(name=name):
                _, _, samples = read_wav(name)
                self.assertEqual(strongest(samples[:8000], (784.0, 988.0)), first)
                self.assertEqual(strongest(samples[-20000:], (784.0, 988.0)), second)


if __name__ == "__main__":
    unittest.main()
