#!/usr/bin/env python3
"""Draws TOLVEK's application icon and About picture as PNG files (standard library only).

The design: a teal rounded square carrying a white hash sign. The About picture is the same
drawing on a white background, which the About window shows with white as transparent colour.

usage: make_images.py OUTPUT_FOLDER
"""
import struct
import sys
import zlib

TEAL = (0x0f, 0x6e, 0x78)
WHITE = (0xff, 0xff, 0xff)
SAMPLES = 4  # supersampling per axis, for smooth edges


def inside_rounded_square(x, y, margin, radius):
    low, high = margin, 1.0 - margin
    if not (low <= x <= high and low <= y <= high):
        return False
    cx = min(max(x, low + radius), high - radius)
    cy = min(max(y, low + radius), high - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def inside_hash_sign(x, y):
    # Two slanted uprights and two bars, in the unit square.
    bar = 0.085
    for centre in (0.40, 0.60):
        if abs(y - centre) <= bar / 2 and 0.24 <= x <= 0.76:
            return True
    for centre in (0.42, 0.60):
        shifted = centre + (0.5 - y) * 0.18
        if abs(x - shifted) <= bar / 2 and 0.22 <= y <= 0.78:
            return True
    return False


def pixel(px, py, size, background):
    covered = [0, 0, 0, 0]  # teal, white sign, background, alpha coverage
    for sx in range(SAMPLES):
        for sy in range(SAMPLES):
            x = (px + (sx + 0.5) / SAMPLES) / size
            y = (py + (sy + 0.5) / SAMPLES) / size
            if inside_rounded_square(x, y, 0.06, 0.18):
                covered[1 if inside_hash_sign(x, y) else 0] += 1
            else:
                covered[2] += 1
    total = SAMPLES * SAMPLES
    if background is None:
        shape = covered[0] + covered[1]
        if shape == 0:
            return (0, 0, 0, 0)
        rgb = [(TEAL[i] * covered[0] + WHITE[i] * covered[1]) // shape for i in range(3)]
        return (*rgb, 255 * shape // total)
    rgb = [(TEAL[i] * covered[0] + WHITE[i] * covered[1] + background[i] * covered[2]) // total
           for i in range(3)]
    return (*rgb, 255)


def write_png(path, size, background):
    rows = b""
    for py in range(size):
        rows += b"\x00" + b"".join(bytes(pixel(px, py, size, background)) for px in range(size))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xffffffff))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    with open(path, "wb") as stream:
        stream.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                     chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


def main():
    folder = sys.argv[1]
    write_png(f"{folder}/tolvek.png", 256, None)
    write_png(f"{folder}/tolvek-32.png", 32, None)
    write_png(f"{folder}/about.png", 32, WHITE)


if __name__ == "__main__":
    main()
