#!/usr/bin/env python3
"""Writes the 22 glyph images of recognition/glyphs/ (24-bit bottom-up BMP files).

Set 1 is the small EXP font the recognizer matches: white strokes and a yellow-green
delimiter on a slate background that darkens towards the bottom. Set 0 is the large
font: white strokes on an orange tile with near-black corners.

The output is deterministic: run it again and the files come out byte for byte the same.
Usage: tools/make_glyphs.py [output folder]   (default: recognition/glyphs next to tools/)
"""
import os
import struct
import sys

# Set 1, 7 x 9 digits and the 5 x 9 delimiter: '#' stroke, '.' background.
SET1 = {
    0: [".......", "..###..", ".#...#.", ".#...#.", ".#...#.", ".#...#.", ".#...#.", "..###..", "......."],
    1: [".......", "...#...", "..##...", "...#...", "...#...", "...#...", "...#...", "...#...", "......."],
    2: [".......", "..###..", ".#...#.", ".....#.", "....#..", "...#...", "..#....", ".#####.", "......."],
    3: [".......", "..###..", ".#...#.", ".....#.", "...##..", ".....#.", ".#...#.", "..###..", "......."],
    4: [".......", "....#..", "...##..", "..#.#..", ".#..#..", ".#####.", "....#..", "....#..", "......."],
    5: [".......", ".#####.", ".#.....", ".#.....", "..###..", ".....#.", ".#...#.", "..###..", "......."],
    6: [".......", "..###..", ".#...#.", ".#.....", ".####..", ".#...#.", ".#...#.", "..###..", "......."],
    7: [".......", ".#####.", ".....#.", ".....#.", ".....#.", "....#..", "...#...", "...#...", "......."],
    8: [".......", "..###..", ".#...#.", ".#...#.", "..###..", ".#...#.", ".#...#.", "..###..", "......."],
    9: [".......", "..###..", ".#...#.", ".#...#.", "..####.", ".....#.", ".#...#.", "..###..", "......."],
    10: [".##..", ".#...", ".#...", ".#...", ".#...", ".#...", ".#...", ".#...", ".##.."],
}

WHITE = (255, 255, 255)
YELLOW_GREEN = (156, 206, 49)
# Brightness (r + g + b) of the slate background per row, darkening downwards. Each value
# stays at least 3 inside its row's allowed range so the jitter below never leaves it:
# rows 0-1: 222..230, row 2: 180..230, rows 3-5: 180..197, rows 6-8: 123..163.
SET1_ROW_BRIGHTNESS = [226, 226, 205, 190, 188, 186, 158, 143, 128]
# Small jitter keeps neighbouring glyphs' border columns within a few levels of each other,
# so a figure drawn glyph after glyph (sharing border columns) still matches exactly.
SET1_JITTER = 3

ORANGE = (232, 122, 26)  # brightness 380
NEAR_BLACK = (16, 16, 16)


class Lcg:
    """Tiny deterministic pseudo-random source (no dependence on Python's random module)."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF

    def next(self, span):
        self.state = (self.state * 1664525 + 1013904223) & 0xFFFFFFFF
        return (self.state >> 8) % span


def slate(brightness):
    """A bluish grey whose channels sum to the given brightness."""
    r = brightness * 29 // 100
    g = brightness * 33 // 100
    return (r, g, brightness - r - g)


def set1_image(glyph):
    rows = SET1[glyph]
    rng = Lcg(0x51A7E000 + glyph)
    stroke = YELLOW_GREEN if glyph == 10 else WHITE
    image = []
    for y, row in enumerate(rows):
        line = []
        for ch in row:
            jitter = rng.next(2 * SET1_JITTER + 1) - SET1_JITTER
            line.append(stroke if ch == "#" else slate(SET1_ROW_BRIGHTNESS[y] + jitter))
        image.append(line)
    return image


def set0_image(glyph):
    width, height = (5, 13) if glyph == 10 else (11, 13)
    if glyph == 10:
        # A single orange column (rows 1..11) on near-black.
        return [[ORANGE if x == 0 and 1 <= y <= 11 else NEAR_BLACK for x in range(width)]
                for y in range(height)]
    rng = Lcg(0x0A4A6E00 + glyph)
    core = SET1[glyph][1:8]  # the 5 x 7 heart of the small glyph, drawn larger
    image = []
    for y in range(height):
        line = []
        for x in range(width):
            corner = x in (0, width - 1) and y in (0, height - 1)
            inside = 2 <= x <= 8 and 1 <= y <= 11
            stroke = inside and core[(y - 1) * 7 // 11][1 + (x - 2) * 5 // 7] == "#"
            if corner:
                line.append(NEAR_BLACK)
            elif stroke:
                line.append(WHITE)
            else:
                d = rng.next(31) - 15  # brightness 365..395, well inside 320..411
                r, g, b = ORANGE
                line.append((r + d // 3, g + d // 3, b + d - 2 * (d // 3)))
        image.append(line)
    return image


def bmp_bytes(image):
    """A 24-bit bottom-up BMP file of the image (rows of (r, g, b) tuples, top row first)."""
    height = len(image)
    width = len(image[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(image):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        pixels += line
    header_size = 14 + 40
    file_header = struct.pack("<2sIHHI", b"BM", header_size + len(pixels), 0, 0, header_size)
    info_header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels),
                              2835, 2835, 0, 0)
    return file_header + info_header + bytes(pixels)


def file_name(glyph_set, glyph):
    return "set%d_%s.bmp" % (glyph_set, "delim" if glyph == 10 else str(glyph))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "recognition", "glyphs")
    os.makedirs(out, exist_ok=True)
    for glyph in range(11):
        for glyph_set, make in ((0, set0_image), (1, set1_image)):
            with open(os.path.join(out, file_name(glyph_set, glyph)), "wb") as f:
                f.write(bmp_bytes(make(glyph)))


if __name__ == "__main__":
    main()
