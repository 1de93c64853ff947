#!/usr/bin/env python3
"""Draws the program's icon (a green disc with a silenced speaker) and writes it
as a Windows .ico with 16, 32, 48 and 256 pixel images (32-bit DIBs). With
"grey", the same drawn greyed at the tray's sizes: the tray shows it while
something keeps the program from its job.
Usage: make_icon.py OUTPUT.ico [grey]"""
import math
import struct
import sys


def coverage(size, x, y):
    """RGBA of pixel (x, y) at the given size, 4x4 supersampled."""
    acc = [0.0, 0.0, 0.0, 0.0]
    for sy in range(4):
        for sx in range(4):
            u = (x + (sx + 0.5) / 4) / size  # 0..1
            v = (y + (sy + 0.5) / 4) / size
            colour = sample(u, v)
            if colour:
                for i in range(4):
                    acc[i] += colour[i]
    return tuple(int(round(c / 16)) for c in acc)


def in_speaker(u, v):
    # Box and cone of a loudspeaker, left of centre.
    if 0.26 <= u <= 0.38 and 0.40 <= v <= 0.60:
        return True
    if 0.38 <= u <= 0.56:
        half = 0.10 + (u - 0.38) * (0.28 / 0.18)
        return abs(v - 0.5) <= half
    return False


def sample(u, v):
    d = math.hypot(u - 0.5, v - 0.5)
    if d > 0.48:
        return None
    colour = (30, 215, 96, 255)
    if in_speaker(u, v):
        colour = (24, 24, 24, 255)
    # A white slash through it: silenced.
    dist = abs((u - 0.5) + (v - 0.5)) / math.sqrt(2)
    if dist < 0.045 and 0.18 < u < 0.82:
        colour = (255, 255, 255, 255)
    return colour


def greyed(r, g, b):
    """A colour's lightness, pulled towards mid grey (a disabled look)."""
    luma = 0.299 * r + 0.587 * g + 0.114 * b
    level = int(round(128 + (luma - 128) * 0.5))
    return level, level, level


def image(size, grey):
    rows = []
    for y in range(size - 1, -1, -1):  # DIBs are stored bottom-up
        row = bytearray()
        for x in range(size):
            r, g, b, a = coverage(size, x, y)
            if grey:
                r, g, b = greyed(r, g, b)
            row += bytes((b, g, r, a))
        rows.append(bytes(row))
    pixels = b"".join(rows)
    mask_row = ((size + 31) // 32) * 4
    mask = bytes(mask_row * size)  # alpha carries the shape
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return header + pixels + mask


def main():
    grey = len(sys.argv) > 2 and sys.argv[2] == "grey"
    # The greyed one is drawn only in the tray, at most 64 pixels (400 %): its
    # 256 (a quarter of a megabyte uncompressed) would never be asked for.
    sizes = [16, 32, 48, 64] if grey else [16, 32, 48, 256]
    images = [image(s, grey) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
