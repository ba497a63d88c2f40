#!/usr/bin/env python3
"""Draws the program icon and writes app/res/screenshot.ico.

The icon is a rounded square in the accent colour #1677FF with a white selection frame drawn as
two crop corners. Each size is drawn separately (supersampled 4x for
smooth edges) so small sizes stay crisp. Sizes below 256 are stored as 32-bit DIBs with an AND
mask, 256 as PNG, which is what Windows 7 and later read.

Run: python3 scripts/make_icon.py [preview.png]   (standard library only)
"""
import os
import struct
import sys
import zlib

ACCENT = (0x16, 0x77, 0xFF)
WHITE = (0xFF, 0xFF, 0xFF)
SIZES = [16, 24, 32, 48, 256]
SS = 4  # supersampling factor per axis


def inside_rounded_rect(x, y, x0, y0, x1, y1, r):
    if x < x0 or x >= x1 or y < y0 or y >= y1:
        return False
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def shapes(size):
    """Rectangles (in icon pixels) of the white glyph, tuned per size for crispness."""
    u = size / 16.0
    t = max(1.0, round(1.6 * u)) if size >= 24 else 1.0  # stroke width
    a, b = 3 * u, 13 * u          # frame from a to b
    arm = 4 * u                   # length of the corner arms
    rects = [
        (a, a, a + arm, a + t), (a, a, a + t, a + arm),              # top-left corner
        (b - arm, b - t, b, b), (b - t, b - arm, b, b),              # bottom-right corner
    ]
    return rects


def render(size):
    """RGBA rows, top to bottom."""
    radius = size * 0.22
    glyph = shapes(size)
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            bg = fg = 0
            for sy in range(SS):
                for sx in range(SS):
                    px = x + (sx + 0.5) / SS
                    py = y + (sy + 0.5) / SS
                    if inside_rounded_rect(px, py, 0.5, 0.5, size - 0.5, size - 0.5, radius):
                        bg += 1
                        if any(r[0] <= px < r[2] and r[1] <= py < r[3] for r in glyph):
                            fg += 1
            n = SS * SS
            alpha = bg / n
            if bg == 0:
                row.append((0, 0, 0, 0))
                continue
            mix = fg / bg
            color = tuple(round(ACCENT[i] * (1 - mix) + WHITE[i] * mix) for i in range(3))
            row.append(color + (round(alpha * 255),))
        rows.append(row)
    return rows


def png(size, rows):
    raw = b"".join(b"\0" + bytes(c for px in row for c in px) for row in rows)

    def chunk(tag, data):
        return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data))

    ihdr = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(raw, 9)) + \
        chunk(b"IEND", b"")


def dib(size, rows):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, px in enumerate(row):
            if px[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + pixels + bytes(mask)


def main():
    images = []
    for size in SIZES:
        rows = render(size)
        images.append((size, png(size, rows) if size >= 256 else dib(size, rows)))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        dim = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(data for _, data in images)
    target = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "app", "res",
                          "screenshot.ico")
    with open(target, "wb") as f:
        f.write(out)
    if len(sys.argv) > 1:  # optional preview PNG of the largest size
        with open(sys.argv[1], "wb") as f:
            f.write(png(256, render(256)))
    print("wrote", os.path.normpath(target))


if __name__ == "__main__":
    main()
