#!/usr/bin/env python3
"""Draws the program's icon, a power symbol on a round blue face, as PNG files and one .ico.

Standard library only, so the icon can be drawn again on any machine:
    python3 res/make_icon.py res
"""
import math
import struct
import sys
import zlib
from pathlib import Path

SIZES = (16, 24, 32, 48, 64, 256)


def pixel(size, x, y):
    """RGBA of one pixel, with 4x4 supersampling for smooth edges."""
    samples = 4
    acc = [0.0, 0.0, 0.0, 0.0]
    for sy in range(samples):
        for sx in range(samples):
            u = (x + (sx + 0.5) / samples) / size * 2 - 1
            v = (y + (sy + 0.5) / samples) / size * 2 - 1
            r = math.hypot(u, v)
            colour = None
            if r <= 0.94:
                colour = (32, 96, 176)  # face
                angle = math.degrees(math.atan2(u, -v))  # 0 at the top
                ring = 0.40 <= r <= 0.58 and abs(angle) >= 35
                bar = abs(u) <= 0.09 and -0.72 <= v <= -0.05
                if ring or bar:
                    colour = (255, 255, 255)
            if colour:
                acc[0] += colour[0]
                acc[1] += colour[1]
                acc[2] += colour[2]
                acc[3] += 255
    n = samples * samples
    alpha = acc[3] / n
    if alpha == 0:
        return (0, 0, 0, 0)
    covered = acc[3] / 255
    return (round(acc[0] / covered), round(acc[1] / covered), round(acc[2] / covered), round(alpha))


def png(size):
    rows = b""
    for y in range(size):
        rows += b"\0" + b"".join(bytes(pixel(size, x, y)) for x in range(size))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows, 9))
            + chunk(b"IEND", b""))


def ico(images):
    """An .ico whose entries hold PNG data, which Windows has read since Vista."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    body = b""
    for size, data in images:
        dim = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset + len(body))
        body += data
    return out + body


def main():
    folder = Path(sys.argv[1] if len(sys.argv) > 1 else ".")
    images = [(size, png(size)) for size in SIZES]
    for size, data in images:
        if size in (48, 256):
            (folder / f"shutdown-timer-{size}.png").write_bytes(data)
    (folder / "shutdown-timer.ico").write_bytes(ico(images))


if __name__ == "__main__":
    main()
