#!/usr/bin/env python3
"""Draws Varno's logo (a teal disc with a white V) and writes it as an ICO file
holding one 64x64 PNG image. Run once; the output is committed."""
import struct, sys, zlib

S = 64
TEAL = (0x00, 0xBC, 0xD4)
WHITE = (0xFF, 0xFF, 0xFF)

def inside_v(x, y):
    # Two slanted strokes meeting at the bottom centre.
    if not (16 <= y <= 48):
        return False
    t = (y - 16) / 32.0
    left = 16 + t * 14
    right = 48 - t * 14
    return abs(x - left) <= 3.5 or abs(x - right) <= 3.5

rows = []
for y in range(S):
    row = bytearray([0])
    for x in range(S):
        dx, dy = x - 31.5, y - 31.5
        d = (dx * dx + dy * dy) ** 0.5
        if d > 31.5:
            row += bytes((0, 0, 0, 0))
        else:
            alpha = 255 if d < 30.5 else int(255 * (31.5 - d))
            c = WHITE if inside_v(x, y) else TEAL
            row += bytes(c) + bytes((alpha,))
    rows.append(bytes(row))

def chunk(tag, data):
    return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)

png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", S, S, 8, 6, 0, 0, 0)) \
    + chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b"")
ico = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", S, S, 0, 0, 1, 32, len(png), 22) + png
open(sys.argv[1], "wb").write(ico)
