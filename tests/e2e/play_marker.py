#!/usr/bin/env python3
"""Finds the play-position marker in a screenshot of a dark picture.

Usage: convert SHOT -crop WxH+X+Y +repage -depth 8 ppm:- | play_marker.py

Reads a binary PPM (P6) of the picture's area from stdin. The marker is drawn by inverting the
pixels under it, so on a black picture it is a light vertical line. Prints the x of every column
in which at least four fifths of the pixels are light, separated by spaces (nothing when there
is none).
"""

import sys


def read_ppm(data):
    fields = []
    at = 0
    while len(fields) < 4:
        while data[at : at + 1].isspace():
            at += 1
        if data[at : at + 1] == b"#":
            at = data.index(b"\n", at) + 1
            continue
        start = at
        while not data[at : at + 1].isspace():
            at += 1
        fields.append(data[start:at])
    if fields[0] != b"P6" or int(fields[3]) != 255:
        raise ValueError("not an 8-bit binary PPM")
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[at + 1 : at + 1 + 3 * width * height]


def light_columns(width, height, pixels):
    columns = []
    for x in range(width):
        light = 0
        for y in range(height):
            i = 3 * (y * width + x)
            if pixels[i] + pixels[i + 1] + pixels[i + 2] > 600:
                light += 1
        if height and light * 5 >= height * 4:
            columns.append(x)
    return columns


def main():
    width, height, pixels = read_ppm(sys.stdin.buffer.read())
    print(" ".join(str(x) for x in light_columns(width, height, pixels)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
