#!/usr/bin/env python3

# SPDX-FileCopyrightText: The Rovedavu authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Synthesises the four cue sounds of the drill window.

Usage: make_sounds.py OUT_DIR

Writes 16-bit PCM mono WAV files at 44100 Hz into OUT_DIR:
  Chimes.wav     bright three-note chime, for a right answer
  Chimes2.wav    low, soft falling tone, for a wrong answer
  pinpon.wav     two notes rising, "pin-pon", for the next problem
  endpinpon.wav  two notes falling, "pin-pon", for the end of the drill

Every sound starts and ends with a short fade and is scaled so that its
loudest sample sits well below full scale, so nothing clicks or clips.
The output is the same byte for byte on every run.
"""

import math
import os
import struct
import sys
import wave

RATE = 44100
PEAK = 0.70  # loudest sample, as a fraction of full scale
FADE_IN = 0.004  # seconds
FADE_OUT = 0.060  # seconds

# Equal-tempered note frequencies in Hz.
G3, C4 = 196.00, 261.63
G5, B5 = 783.99, 987.77
C6, E6, G6 = 1046.50, 1318.51, 1567.98


def silence(seconds):
    return [0.0] * int(round(seconds * RATE))


def add_note(buffer, start, freq, seconds, partials, decay, attack=FADE_IN):
    """Mixes one decaying note into buffer from `start` seconds on.

    partials: (frequency ratio, amplitude) pairs; a higher partial dies away
    faster than the fundamental, as on a struck bar or bell.
    decay: time constant of the fundamental in seconds.
    """
    first = int(round(start * RATE))
    count = min(int(round(seconds * RATE)), len(buffer) - first)
    attack_n = max(1, int(round(attack * RATE)))
    for i in range(count):
        t = i / RATE
        rise = 0.5 - 0.5 * math.cos(math.pi * i / attack_n) if i < attack_n else 1.0
        value = 0.0
        for ratio, amp in partials:
            value += amp * math.exp(-t * ratio / decay) * math.sin(2 * math.pi * freq * ratio * t)
        buffer[first + i] += rise * value


def finish(buffer, peak=PEAK):
    """Fades both ends and scales the loudest sample to `peak`."""
    n = len(buffer)
    fade_in = int(round(FADE_IN * RATE))
    fade_out = int(round(FADE_OUT * RATE))
    for i in range(fade_in):
        buffer[i] *= 0.5 - 0.5 * math.cos(math.pi * i / fade_in)
    for i in range(fade_out):
        buffer[n - 1 - i] *= 0.5 - 0.5 * math.cos(math.pi * i / fade_out)
    loudest = max(abs(v) for v in buffer) or 1.0
    return [v * peak / loudest for v in buffer]


def chimes():
    """Right answer: C6, E6 and G6 struck one after another, ringing together."""
    out = silence(1.0)
    bell = [(1.0, 1.0), (2.0, 0.32), (3.0, 0.12), (4.16, 0.06)]
    for k, freq in enumerate((C6, E6, G6)):
        add_note(out, 0.085 * k, freq, 1.0, bell, decay=0.30 + 0.06 * k)
    return finish(out)


def chimes2():
    """Wrong answer: a soft, low tone that sinks a little, with a slow swell."""
    seconds = 0.6
    out = silence(seconds)
    phase = 0.0
    n = len(out)
    for i in range(n):
        t = i / RATE
        freq = C4 - (C4 - G3) * (t / seconds)  # glides down a fourth
        phase += 2 * math.pi * freq / RATE
        swell = min(1.0, t / 0.05)
        body = math.exp(-max(0.0, t - 0.15) / 0.35)
        out[i] = swell * body * (math.sin(phase) + 0.18 * math.sin(2 * phase) + 0.05 * math.sin(3 * phase))
    return finish(out, peak=0.45)


def pin_pon(first, second):
    """Two struck notes, the second ringing longer, as a door chime does."""
    out = silence(0.95)
    tone = [(1.0, 1.0), (2.0, 0.18), (3.0, 0.05)]
    add_note(out, 0.0, first, 0.95, tone, decay=0.22)
    add_note(out, 0.24, second, 0.71, tone, decay=0.40)
    return finish(out)


def write_wav(path, samples):
    frames = bytearray()
    for v in samples:
        frames += struct.pack("<h", int(round(v * 32767)))
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(bytes(frames))


SOUNDS = {
    "Chimes.wav": chimes,
    "Chimes2.wav": chimes2,
    "pinpon.wav": lambda: pin_pon(G5, B5),
    "endpinpon.wav": lambda: pin_pon(B5, G5),
}


def main(argv):
    if len(argv) != 2:
        sys.exit("usage: make_sounds.py OUT_DIR")
    os.makedirs(argv[1], exist_ok=True)
    for name, make in SOUNDS.items():
        write_wav(os.path.join(argv[1], name), make())


if __name__ == "__main__":
    main(sys.argv)
