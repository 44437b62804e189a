#!/usr/bin/env python3
"""Draws the program's icon: a compact disc with a green "V" on it, as a
32x32 and a 16x16 image in the 16-colour standard palette, and writes them
as one .ico file.

usage: mkicon.py OUTPUT.ico
"""
import struct
import sys

# The standard 16-colour palette (blue, green, red, reserved).
PALETTE = [
    (0, 0, 0), (0, 0, 128), (0, 128, 0), (0, 128, 128),
    (128, 0, 0), (128, 0, 128), (128, 128, 0), (192, 192, 192),
    (128, 128, 128), (0, 0, 255), (0, 255, 0), (0, 255, 255),
    (255, 0, 0), (255, 0, 255), (255, 255, 0), (255, 255, 255),
]
BLACK, DARK_GREEN, LIGHT_GREY, GREY, WHITE, TRANSPARENT = 0, 2, 7, 8, 15, -1


def pixel(size, x, y):
    """Colour index at (x, y), top row first; TRANSPARENT outside the disc."""
    c = (size - 1) / 2.0
    dx, dy = x - c, y - c
    r = (dx * dx + dy * dy) ** 0.5
    outer, hole = size / 2.0, size / 10.0
    if r > outer:
        return TRANSPARENT
    if r > outer - 1.2:
        return BLACK
    if r < hole:
        return TRANSPARENT
    if r < hole + 1.2:
        return GREY
    # The "V": two strokes from the top corners of the disc to its centre line.
    u = x / (size - 1.0)
    v = y / (size - 1.0)
    if 0.15 < v < 0.8:
        stroke = 0.09
        left = 0.2 + 0.3 * (v - 0.15) / 0.65
        right = 0.8 - 0.3 * (v - 0.15) / 0.65
        if abs(u - left) < stroke or abs(u - right) < stroke:
            return DARK_GREEN
    return WHITE if (dx < 0 and dy < 0) else LIGHT_GREY


def image(size):
    """A BITMAPINFOHEADER, the palette, the 4-bit XOR rows and the AND mask."""
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    xor, mask = b'', b''
    for y in reversed(range(size)):  # bottom row first
        row = [pixel(size, x, y) for x in range(size)]
        nibbles = [0 if p == TRANSPARENT else p for p in row]
        line = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
        xor += line + b'\0' * (-len(line) % 4)
        bits = 0
        mline = b''
        for i, p in enumerate(row):
            bits = (bits << 1) | (1 if p == TRANSPARENT else 0)
            if i % 8 == 7:
                mline += bytes([bits])
                bits = 0
        mask += mline + b'\0' * (-len(mline) % 4)
    return header + palette + xor + mask


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    sizes = (32, 16)
    images = [image(s) for s in sizes]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    with open(sys.argv[1], 'wb') as f:
        f.write(out + b''.join(images))


if __name__ == '__main__':
    main()
