#!/usr/bin/env python3
"""Writes resources/quorvane.ico, the program's icon: 16, 24, 32, 48 and 256 px images.

A slate tile like the EXP glyphs' background, a white arrow pointing up and, under it, a
short EXP bar with a white frame and a yellow-green fill: "the figure rises". The shapes
sit on a 16 x 16 grid, so the 16 px image (the one the title bar and the taskbar show)
is crisp; larger sizes are the same shapes scaled, smoothed by supersampling. The small
images are 32-bit BMPs with an AND mask, the 256 px one is a PNG, as Windows expects.

Drawn from arithmetic only: the output is the same byte for byte on every run.
Usage: tools/make_icon.py [output .ico] [--preview FOLDER]
  --preview also writes icon16.png and icon48.png, enlarged 8 and 4 times, for people to see.
"""
import os
import struct
import sys
import zlib

SIZES = (16, 24, 32, 48, 256)
GRID = 16.0

WHITE = (255, 255, 255)
YELLOW_GREEN = (156, 206, 49)  # the glyphs' delimiter colour


def slate(brightness):
    """The glyphs' bluish grey whose channels sum to the given brightness."""
    r = brightness * 29 // 100
    g = brightness * 33 // 100
    return (r, g, brightness - r - g)


TILE_TOP = slate(250)
TILE_BOTTOM = slate(140)
BAR_EMPTY = slate(80)
TILE_RADIUS = 3.0
# The arrow: a triangle head over a square shaft.
HEAD = ((8.0, 1.5), (13.5, 7.0), (2.5, 7.0))
SHAFT = (6.0, 7.0, 10.0, 10.0)  # left, top, right, bottom
# The EXP bar: white frame, yellow-green fill on the left, dark rest.
BAR = (2.0, 11.0, 14.0, 15.0)
BAR_FRAME = 1.0
BAR_FILLED_TO = 9.0


def in_rect(x, y, rect):
    left, top, right, bottom = rect
    return left <= x < right and top <= y < bottom


def in_rounded_square(x, y, size, radius):
    if not (0.0 <= x < size and 0.0 <= y < size):
        return False
    cx = min(max(x, radius), size - radius)
    cy = min(max(y, radius), size - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def in_triangle(x, y, tri):
    (x1, y1), (x2, y2), (x3, y3) = tri
    d1 = (x - x2) * (y1 - y2) - (x1 - x2) * (y - y2)
    d2 = (x - x3) * (y2 - y3) - (x2 - x3) * (y - y3)
    d3 = (x - x1) * (y3 - y1) - (x3 - x1) * (y - y1)
    negative = d1 < 0 or d2 < 0 or d3 < 0
    positive = d1 > 0 or d2 > 0 or d3 > 0
    return not (negative and positive)


def colour_at(x, y):
    """The icon's colour at a grid point, or None outside the tile."""
    if not in_rounded_square(x, y, GRID, TILE_RADIUS):
        return None
    if in_triangle(x, y, HEAD) or in_rect(x, y, SHAFT):
        return WHITE
    if in_rect(x, y, BAR):
        left, top, right, bottom = BAR
        inner = (left + BAR_FRAME, top + BAR_FRAME, right - BAR_FRAME, bottom - BAR_FRAME)
        if not in_rect(x, y, inner):
            return WHITE
        return YELLOW_GREEN if x < BAR_FILLED_TO else BAR_EMPTY
    t = y / GRID
    return tuple(int(round(TILE_TOP[i] + (TILE_BOTTOM[i] - TILE_TOP[i]) * t)) for i in range(3))


def render(size):
    """Rows of (r, g, b, a), top row first, with straight (not premultiplied) alpha."""
    samples = 8 if size <= 48 else 3
    scale = GRID / size
    image = []
    for py in range(size):
        row = []
        for px in range(size):
            sr = sg = sb = covered = 0
            for sy in range(samples):
                for sx in range(samples):
                    x = (px + (sx + 0.5) / samples) * scale
                    y = (py + (sy + 0.5) / samples) * scale
                    c = colour_at(x, y)
                    if c is not None:
                        sr += c[0]
                        sg += c[1]
                        sb += c[2]
                        covered += 1
            if covered == 0:
                row.append((0, 0, 0, 0))
            else:
                alpha = (covered * 255 + samples * samples // 2) // (samples * samples)
                row.append((sr // covered, sg // covered, sb // covered, alpha))
        image.append(row)
    return image


def bmp_entry(image):
    """The icon directory's image data for a small size: BITMAPINFOHEADER (height doubled for
    the mask), 32-bit bottom-up BGRA pixels, then the 1-bit AND mask (1 = transparent)."""
    size = len(image)
    pixels = bytearray()
    for row in reversed(image):
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(image):
        line = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask),
                         0, 0, 0, 0)
    return header + bytes(pixels) + bytes(mask)


def png_bytes(image):
    """An RGBA PNG of the image."""
    height = len(image)
    width = len(image[0])
    raw = bytearray()
    for row in image:
        raw.append(0)  # no filter
        for pixel in row:
            raw += bytes(pixel)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def ico_bytes(images):
    """An .ico file: the directory, then each image (PNG for 256 px, BMP otherwise)."""
    entries = []
    for size in SIZES:
        data = png_bytes(images[size]) if size >= 256 else bmp_entry(images[size])
        entries.append((size, data))
    offset = 6 + 16 * len(entries)
    directory = struct.pack("<HHH", 0, 1, len(entries))
    body = b""
    for size, data in entries:
        dim = 0 if size >= 256 else size  # 0 stands for 256
        directory += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
        body += data
    return directory + body


def enlarged(image, factor):
    return [[pixel for pixel in row for _ in range(factor)] for row in image for _ in range(factor)]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    args = sys.argv[1:]
    preview = None
    if "--preview" in args:
        at = args.index("--preview")
        preview = args[at + 1]
        del args[at:at + 2]
    out = args[0] if args else os.path.join(here, "..", "resources", "quorvane.ico")
    images = {size: render(size) for size in SIZES}
    with open(out, "wb") as f:
        f.write(ico_bytes(images))
    if preview:
        os.makedirs(preview, exist_ok=True)
        for size, factor in ((16, 8), (48, 4)):
            with open(os.path.join(preview, "icon%d.png" % size), "wb") as f:
                f.write(png_bytes(enlarged(images[size], factor)))


if __name__ == "__main__":
    main()
