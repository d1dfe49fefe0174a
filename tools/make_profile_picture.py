#!/usr/bin/env python3
"""Writes resources/profile.bmp, the 123 x 74 picture of the version dialog (24-bit BMP).

A crescent moon over calm water at dusk: a sky that darkens upwards, the moon and its
broken reflection, a few stars. Drawn from arithmetic only, so the output is the same
byte for byte on every run.
Usage: tools/make_profile_picture.py [output file]   (default: resources/profile.bmp)
"""
import math
import os
import struct
import sys

WIDTH, HEIGHT = 123, 74
HORIZON = 46
MOON = (86.0, 20.0, 11.0)  # centre x, centre y, radius
BITE = (91.0, 16.0, 9.5)  # the disc that cuts the crescent
STARS = [(12, 8), (27, 19), (41, 5), (58, 14), (70, 4), (108, 10), (116, 27), (33, 33), (104, 38)]


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def inside(x, y, disc):
    cx, cy, r = disc
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def sky(x, y):
    t = y / HORIZON
    colour = mix((24, 30, 72), (236, 150, 110), t * t)
    if (x, y) in STARS:
        colour = (250, 246, 214)
    if inside(x, y, MOON) and not inside(x, y, BITE):
        colour = (255, 236, 160)
    return colour


def water(x, y):
    depth = (y - HORIZON) / (HEIGHT - HORIZON)
    colour = mix((70, 92, 140), (16, 28, 56), depth)
    # The moon's reflection: short horizontal strokes that thin out with depth.
    mirrored = 2 * HORIZON - y
    ripple = math.sin(y * 1.7) * 3.0
    if abs(x - MOON[0] - ripple) <= MOON[2] * (1.0 - 0.7 * depth) and y % 3 != 0:
        if inside(MOON[0], mirrored, (MOON[0], MOON[1], MOON[2] + (HEIGHT - HORIZON))):
            colour = mix(colour, (255, 226, 150), 0.75 - 0.5 * depth)
    return colour


def pixel(x, y):
    return sky(x, y) if y < HORIZON else water(x, y)


def bmp_bytes():
    row_size = (WIDTH * 3 + 3) // 4 * 4
    rows = []
    for y in range(HEIGHT - 1, -1, -1):  # bottom-up
        row = bytearray()
        for x in range(WIDTH):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (row_size - len(row))
        rows.append(bytes(row))
    data = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return header + info + data


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "resources", "profile.bmp")
    with open(out, "wb") as f:
        f.write(bmp_bytes())


if __name__ == "__main__":
    main()
