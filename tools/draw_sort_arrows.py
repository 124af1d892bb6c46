#!/usr/bin/env python3
"""Draws the list-view sort images (bitmap 107 of the library) into a 24-bit BMP.

Five 16 x 16 images side by side on cyan, the transparent colour of the image list:
0 none, 1 ascending (up), 2 descending (down), 3 and 4 the same, smaller, for a second
sort level. usage: draw_sort_arrows.py OUT.bmp
"""
import struct
import sys

SIZE = 16
CYAN = (0, 255, 255)
ARROW = (96, 96, 96)


def triangle(half_width, up):
    """The pixels of a filled triangle centred in the image, apex up or down."""
    rows = half_width + 1
    top = (SIZE - rows) // 2
    pixels = set()
    for r in range(rows):
        half = r if up else half_width - r
        for x in range(SIZE // 2 - 1 - half, SIZE // 2 - 1 + half + 1):
            pixels.add((x, top + r))
    return pixels


def main(out):
    images = [set(), triangle(4, True), triangle(4, False), triangle(2, True), triangle(2, False)]
    width = SIZE * len(images)
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(SIZE - 1, -1, -1):  # bottom-up
        row = bytearray()
        for x in range(width):
            r, g, b = ARROW if (x % SIZE, y) in images[x // SIZE] else CYAN
            row += bytes((b, g, r))
        rows.append(bytes(row) + bytes(stride - len(row)))
    data = b"".join(rows)
    header = struct.pack("<IiiHHIIiiII", 40, width, SIZE, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(data), 0, 0, 14 + len(header))
    with open(out, "wb") as f:
        f.write(file_header + header + data)


if __name__ == "__main__":
    main(sys.argv[1])
