#!/usr/bin/env python3
"""Draws Ordwen's 32 x 32 icon, a page of code lines with a tally of bars over its corner,
and writes it as ordwen.png (the Qt resource) and ordwen.ico (the Windows resource).
Standard library only, so it runs wherever python3 does:  python3 draw_icon.py"""

import os
import struct
import zlib

SIZE = 32
CLEAR = (0, 0, 0, 0)
OUTLINE = (64, 64, 72, 255)
PAGE = (255, 255, 255, 255)
FOLD = (208, 212, 220, 255)
CODE = (40, 84, 170, 255)
COMMENT = (60, 150, 70, 255)
BARS = ((220, 120, 20, 255), (200, 40, 40, 255), (230, 170, 20, 255))


def draw():
    pixels = [[CLEAR] * SIZE for _ in range(SIZE)]

    def fill(left, top, width, height, colour):
        for y in range(top, top + height):
            for x in range(left, left + width):
                pixels[y][x] = colour

    # The page, its outline and the folded top-right corner.
    fill(4, 1, 21, 30, OUTLINE)
    fill(5, 2, 19, 28, PAGE)
    for step in range(6):
        for x in range(24 - 6 + step, 25):
            pixels[1 + step][x] = CLEAR
        pixels[1 + step][24 - 6 + step] = OUTLINE
    fill(18, 2, 1, 6, OUTLINE)
    fill(18, 7, 6, 1, OUTLINE)
    for step in range(5):
        fill(19, 2 + step, step + 1, 1, FOLD)

    # Lines of code, one of them a comment, indented as code is.
    for top, left, width, colour in ((5, 7, 9, CODE), (9, 7, 14, CODE), (12, 9, 12, COMMENT),
                                     (15, 9, 10, CODE), (18, 7, 8, CODE), (21, 7, 6, CODE)):
        fill(left, top, width, 2, colour)

    # The tally: three bars with a dark outline, standing on the page's lower right.
    fill(15, 17, 17, 15, CLEAR)
    for index, (height, colour) in enumerate(zip((8, 14, 11), BARS)):
        left = 16 + index * 5
        fill(left, 31 - height, 5, height, OUTLINE)
        fill(left + 1, 32 - height, 3, height - 2, colour)
    fill(15, 31, 17, 1, OUTLINE)
    return pixels


def png_bytes(pixels):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    rows = b"".join(b"\0" + bytes(v for px in row for v in px) for row in pixels)
    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


def ico_bytes(pixels):
    # One 32-bit image as a bottom-up DIB with its AND mask: the form every Windows reads.
    colour = b"".join(bytes((b, g, r, a)) for row in reversed(pixels) for (r, g, b, a) in row)
    mask = b""
    for row in reversed(pixels):
        bits = 0
        for x, px in enumerate(row):
            if px[3] == 0:
                bits |= 1 << (31 - x)
        mask += struct.pack(">I", bits)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(colour) + len(mask),
                       0, 0, 0, 0)
    image = info + colour + mask
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    return header + entry + image


def main():
    folder = os.path.dirname(os.path.abspath(__file__))
    pixels = draw()
    with open(os.path.join(folder, "ordwen.png"), "wb") as out:
        out.write(png_bytes(pixels))
    with open(os.path.join(folder, "ordwen.ico"), "wb") as out:
        out.write(ico_bytes(pixels))


if __name__ == "__main__":
    main()
