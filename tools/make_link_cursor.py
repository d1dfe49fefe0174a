#!/usr/bin/env python3
"""Writes resources/link.cur, the version dialog's link cursor: 32 x 32, 16 colours, a hand
pointing up with the tip of its finger, the hot spot, at (12, 1).

Drawn from the picture below ('X' black, 'o' white, '.' transparent), so the output is the
same byte for byte on every run.
Usage: tools/make_link_cursor.py [output file]   (default: resources/link.cur)
"""
import os
import struct
import sys

SIZE = 32
HOT_SPOT = (12, 1)
PICTURE = [
    "",
    "           XXX",
    "          XoooX",
    "          XoooX",
    "          XoooX",
    "          XoooX",
    "          XoooX",
    "          XoooXXXX",
    "          XoooXoooXXXX",
    "          XoooXoooXoooXXX",
    "          XoooXoooXoooXooX",
    "  XXX     XoooooooooooooooX",
    "  XoooX   XoooooooooooooooX",
    "  XooooX  XoooooooooooooooX",
    "   XooooX XoooooooooooooooX",
    "    XoooXXooooooooooooooooX",
    "     XooooooooooooooooooooX",
    "      XoooooooooooooooooooX",
    "       XooooooooooooooooooX",
    "        XooooooooooooooooX",
    "         XoooooooooooooooX",
    "          XooooooooooooooX",
    "           XooooooooooooX",
    "            XoooooooooooX",
    "            XXXXXXXXXXXXX",
]
BLACK, WHITE = 0, 15
# The 16 colours of the standard palette, as blue, green, red.
PALETTE = [
    (0, 0, 0), (0, 0, 128), (0, 128, 0), (0, 128, 128), (128, 0, 0), (128, 0, 128),
    (128, 128, 0), (192, 192, 192), (128, 128, 128), (0, 0, 255), (0, 255, 0), (0, 255, 255),
    (255, 0, 0), (255, 0, 255), (255, 255, 0), (255, 255, 255),
]


def cell(x, y):
    row = PICTURE[y] if y < len(PICTURE) else ""
    return row[x] if x < len(row) else " "


def image_bytes():
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, SIZE * SIZE // 2
                         + SIZE * SIZE // 8, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for b, g, r in PALETTE)
    colours, mask = bytearray(), bytearray()
    for y in range(SIZE - 1, -1, -1):  # bottom-up
        for x in range(0, SIZE, 2):
            pair = [WHITE if cell(x + i, y) == "o" else BLACK for i in (0, 1)]
            colours.append(pair[0] << 4 | pair[1])
        for x in range(0, SIZE, 8):
            bits = 0
            for i in range(8):
                bits = bits << 1 | (cell(x + i, y) not in "Xo")
            mask.append(bits)
    return header + palette + bytes(colours) + bytes(mask)


def cursor_bytes():
    image = image_bytes()
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, HOT_SPOT[0], HOT_SPOT[1], len(image),
                        6 + 16)
    return directory + entry + image


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "resources", "link.cur")
    with open(target, "wb") as out:
        out.write(cursor_bytes())


if __name__ == "__main__":
    main()
