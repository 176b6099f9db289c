#!/usr/bin/env python3
"""Writes the face bitmaps of the controls' tests (24 bpp BMP) into the folder given.

Each pixel is RGB(x * 8, y * 10, blue) with one blue value per face, so a test reading the
screen knows which face and which of its pixels it sees.
"""
import os
import struct
import sys

FACES = {
    # name: (width, height, blue)
    "push_normal": (30, 20, 40),
    "push_pressed": (30, 20, 120),
    "push_hover": (30, 20, 160),
    "push_disabled": (30, 20, 200),
    "push_ten": (10, 20, 60),
    "check_off": (21, 24, 10),
    "check_on": (21, 24, 90),
    "check_hover": (21, 24, 140),
    "check_pressed": (21, 24, 180),
    "check_disabled": (21, 24, 220),
    "check_disabled_on": (21, 24, 250),
}


def bmp(width, height, blue):
    row_size = (width * 3 + 3) & ~3
    rows = []
    for y in reversed(range(height)):  # bottom-up
        row = bytearray()
        for x in range(width):
            row += bytes((blue, y * 10, x * 8))  # B, G, R
        row += b"\0" * (row_size - len(row))
        rows.append(bytes(row))
    pixels = b"".join(rows)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(pixels), 0, 0, 14 + len(header))
    return file_header + header + pixels


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for name, (width, height, blue) in FACES.items():
        with open(os.path.join(out, name + ".bmp"), "wb") as f:
            f.write(bmp(width, height, blue))


if __name__ == "__main__":
    main()
