#!/usr/bin/env python3
"""Draws Lumetra's starter library: the demo pictures of Images/ and the filter pack of Filters/.

Every picture is computed here from a few rules of how pictures sound (each row an oscillator on
a geometric pitch scale, each column a slice of time; red the left loudness, green the right,
blue a band of noise), with the Python standard library only and a fixed random sequence, so the
same files come out of every build. The build runs this script (target starter_library); the
packages take the output folder as it is.

Usage: scripts/make_starter_library.py OUT_DIR    (writes OUT_DIR/Images and OUT_DIR/Filters)
"""

import math
import os
import struct
import sys

# The program's default render settings: the pitch of the bottom and top rows.
LOW, HIGH = 50.0, 8000.0


class Picture:
    """A 24-bit picture, rows top-down, each pixel [red, green, blue] in 0..255."""

    def __init__(self, width, height):
        self.width, self.height = width, height
        self.rows = [[[0, 0, 0] for _ in range(width)] for _ in range(height)]

    def add(self, x, y, red=0.0, green=0.0, blue=0.0):
        if 0 <= x < self.width and 0 <= y < self.height:
            p = self.rows[y][x]
            for i, v in enumerate((red, green, blue)):
                p[i] = min(255, p[i] + int(round(max(0.0, v))))

    def set(self, x, y, red, green, blue):
        self.rows[y][x] = [clamp(red), clamp(green), clamp(blue)]

    def bmp(self, record=b""):
        """The picture as a 24-bit BMP file as the program writes it, `record` behind the pixels."""
        stride = (self.width * 3 + 3) // 4 * 4
        size = stride * self.height
        out = bytearray(b"BM" + struct.pack("<IHHI", 54 + size, 0, 0, 54))
        out += struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 24, 0, size, 0, 0, 0, 0)
        for row in reversed(self.rows):
            line = bytearray()
            for r, g, b in row:
                line += bytes((b, g, r))
            out += line + bytes(stride - len(line))
        return bytes(out + record)


def clamp(v):
    return max(0, min(255, int(round(v))))


def render_record(width, height, low, high, amp, seconds):
    """The render info record a render of the whole picture with these settings leaves behind:
    the program adopts its pitch range, amp factor and time when it opens the picture."""
    head = b"rdnr" + struct.pack("<IIIiii", 160, 101, 1, 300, width, height)
    numbers = struct.pack("<fffff", low, high, amp, seconds, 0.0)
    rest = struct.pack("<4iI", 0, 0, 0, 0, 0) + bytes(164 - 64 - 4)
    return head + numbers + rest


class Random:
    """A small linear congruential sequence: the same pictures on every machine."""

    def __init__(self, seed):
        self.state = seed

    def next(self):
        self.state = (self.state * 1103515245 + 12345) & 0x7FFFFFFF
        return self.state / 0x7FFFFFFF


def row_of(frequency, height, low=LOW, high=HIGH):
    """The row (top-down) whose oscillator sounds nearest to `frequency`."""
    r = round((height - 1) * math.log(frequency / low) / math.log(high / low))
    return height - 1 - max(0, min(height - 1, r))


def envelope(t, attack, length, release):
    """Loudness 0..1 at column t of a note `length` columns long."""
    if t < 0 or t >= length:
        return 0.0
    rise = min(1.0, (t + 1) / attack)
    fall = min(1.0, (length - t) / release)
    return rise * fall * (1.0 - 0.35 * t / length)


# ------------------------------------------------------------------------------------------------
# Demo pictures


def chords():
    """Am - F - C - G, four voices with their first harmonics (an organ), on a scale of three rows
    per semitone from A1 (55 Hz) that the appended render record sets, so every note lies
    exactly on a row (the harmonics within a sixth of a semitone)."""
    w, h = 512, 256
    low = 55.0
    high = low * 2 ** ((h - 1) / 36)
    pic = Picture(w, h)
    progression = [(12, 15, 19, 24), (8, 12, 15, 20), (15, 19, 22, 27), (10, 14, 17, 22)]
    span = w // len(progression)
    for c, notes in enumerate(progression):
        for x in range(span):
            e = envelope(x, 10, span - 2, 24)
            for v, semitone in enumerate(notes):
                pan = (0.5, 0.85, 1.0, 0.7)[v]  # the left share of the voice
                for harmonic, level in ((1, 230), (2, 100), (3, 70), (4, 45), (5, 32), (6, 24)):
                    y = h - 1 - round(3 * (semitone + 12 * math.log2(harmonic)))
                    pic.add(c * span + x, y, level * e * pan, level * e * (1.5 - pan))
    # A melody above: one note per half chord.
    melody = [36, 39, 32, 36, 31, 34, 29, 31]
    for i, semitone in enumerate(melody):
        for x in range(span // 2):
            e = envelope(x, 4, span // 2 - 4, 16)
            pic.add(i * span // 2 + x, h - 1 - 3 * semitone, 160 * e, 160 * e, 0)
    return pic.bmp(render_record(w, h, low, high, 10.0, 8.0))


def sweeps():
    """Two long glides crossing (the rising one left, the falling one right), then chirps."""
    w, h = 512, 256
    pic = Picture(w, h)
    for x in range(w):
        t = x / (w - 1)
        up = (h - 1) * (1 - t)
        down = (h - 1) * (0.15 + 0.7 * t)
        fade = min(1.0, x / 20, (w - x) / 20)
        for centre, red, green in ((up, 240, 60), (down, 60, 240)):
            for dy in (-1, 0, 1):
                y = int(round(centre)) + dy
                level = fade * (1.0 if dy == 0 else 0.3)
                pic.add(x, y, red * level, green * level)
    for i in range(6):
        x0 = 280 + i * 36
        for x in range(24):
            y = int(200 - i * 18 - x * 4.5)
            level = envelope(x, 2, 24, 8)
            pic.add(x0 + x, y, 200 * level, 200 * level, 30)
    return pic.bmp()


def drums():
    """Two bars of a beat in eighths: a kick that falls in pitch, a noisy snare, ticking hats."""
    w, h = 512, 256
    step = w // 16
    pic = Picture(w, h)
    rng = Random(1234)
    for s in range(16):
        x0 = s * step
        if s in (0, 3, 6, 8, 11, 14):
            for x in range(9):
                y = row_of(160 * 0.78**x, h)
                level = 255 * (1 - x / 9)
                for dy in (0, 1):
                    pic.add(x0 + x, y + dy, level, level)
        if s in (4, 12):
            for x in range(7):
                for f in (180, 240, 330, 460, 640, 900, 1250, 1700, 2300):
                    level = (160 - 20 * x) * (0.6 + 0.4 * rng.next())
                    pic.add(x0 + x, row_of(f, h), level, level, 255)
        for x in range(3 if s % 2 else 2):
            for f in (5200, 6100, 7000, 7800):
                level = 120 - 35 * x
                left = 1.2 if s % 4 < 2 else 0.5
                pic.add(x0 + 16 + x, row_of(f, h), level * left, level * (1.7 - left), 255)
    return pic.bmp()


def shimmer():
    """An open fifth that breathes: noise in the upper voices swells in and out."""
    w, h = 384, 192
    pic = Picture(w, h)
    for x in range(w):
        swell = 0.5 - 0.5 * math.cos(2 * math.pi * x / w)
        fade = min(1.0, x / 30, (w - x) / 30)
        for i, f in enumerate((110, 165, 220, 330, 440, 660, 880)):
            y = row_of(f, h)
            level = fade * (220 - 20 * i)
            tremolo = 0.75 + 0.25 * math.sin(2 * math.pi * (x / 48 + i / 7))
            pic.add(x, y, level * tremolo, level * (1.75 - tremolo), 255 * swell * (i >= 3))
    return pic.bmp()


# ------------------------------------------------------------------------------------------------
# Filter pack: pictures laid over a picture's pixels, channel by channel


def mask(width, height, value):
    """A grey picture whose brightness at (x, y) is value(x / width, y / height), in 0..1."""
    pic = Picture(width, height)
    for y in range(height):
        for x in range(width):
            v = 255 * value(x / (width - 1), y / (height - 1))
            pic.set(x, y, v, v, v)
    return pic.bmp()


def coloured(width, height, value):
    """A picture whose pixel at (x, y) is value(x / width, y / height) -> (red, green, blue)."""
    pic = Picture(width, height)
    for y in range(height):
        for x in range(width):
            pic.set(x, y, *(255 * c for c in value(x / (width - 1), y / (height - 1))))
    return pic.bmp()


FW, FH = 256, 128


def fades():
    return {
        "fade-in": mask(FW, FH, lambda u, v: u),
        "fade-out": mask(FW, FH, lambda u, v: 1 - u),
        "swell": mask(FW, FH, lambda u, v: math.sin(math.pi * u)),
        "darker-highs": mask(FW, FH, lambda u, v: v),
        "brighter-highs": mask(FW, FH, lambda u, v: 1 - v),
        "pan-left-to-right": coloured(FW, FH, lambda u, v: (1 - u, u, 1)),
    }


def combs():
    def stripes(period):
        return lambda u, v: 0.5 + 0.5 * math.cos(2 * math.pi * v * (FH - 1) / period)

    def harmonics(u, v):
        # Peaks at the rows of the first harmonics of the bottom row's pitch.
        r = (1 - v) * (FH - 1)
        f = LOW * (HIGH / LOW) ** (r / (FH - 1))
        k = f / 110.0
        return max(0.0, math.cos(2 * math.pi * k)) ** 6 if k >= 0.5 else 0.0

    octave = (FH - 1) * math.log(2) / math.log(HIGH / LOW)
    return {
        "comb-4": mask(FW, FH, stripes(4)),
        "comb-8": mask(FW, FH, stripes(8)),
        "comb-16": mask(FW, FH, stripes(16)),
        "octaves": mask(FW, FH, lambda u, v: max(0.0, math.cos(2 * math.pi * v * (FH - 1) / octave)) ** 4),
        "harmonics-of-110": mask(FW, FH, harmonics),
    }


def textures():
    rng = Random(77)
    grain = [[rng.next() for _ in range(FW)] for _ in range(FH)]
    gate = lambda u, v: 1.0 if int(u * 15.999) % 2 == 0 else 0.15
    return {
        "tremolo": mask(FW, FH, lambda u, v: 0.55 + 0.45 * math.cos(2 * math.pi * u * 12)),
        "gate": mask(FW, FH, gate),
        "grain": mask(FW, FH, lambda u, v: grain[round(v * (FH - 1))][round(u * (FW - 1))] ** 0.5),
        "stereo-wobble": coloured(
            FW, FH, lambda u, v: (0.5 + 0.5 * math.sin(2 * math.pi * u * 4), 0.5 - 0.5 * math.sin(2 * math.pi * u * 4), 1)
        ),
        "blue-mist": coloured(FW, FH, lambda u, v: (1, 1, 0.35 + 0.65 * math.sin(math.pi * u))),
    }


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__.strip().splitlines()[-1])
    out = sys.argv[1]
    files = {
        os.path.join("Images", "chords.bmp"): chords(),
        os.path.join("Images", "sweeps.bmp"): sweeps(),
        os.path.join("Images", "drums.bmp"): drums(),
        os.path.join("Images", "shimmer.bmp"): shimmer(),
    }
    for folder, pictures in (("Fades", fades()), ("Combs", combs()), ("Textures", textures())):
        for name, data in pictures.items():
            files[os.path.join("Filters", folder, name + ".bmp")] = data
    for name, data in files.items():
        path = os.path.join(out, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        # Written beside the target and moved over it complete: a stopped build leaves no half file.
        with open(path + ".part", "wb") as f:
            f.write(data)
        os.replace(path + ".part", path)


if __name__ == "__main__":
    main()
