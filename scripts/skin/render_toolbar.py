#!/usr/bin/env python3
"""Renders the capture toolbar skin: skin_src/toolbar/toolbar_svg.py -> skin/toolbar_wnd/*.png.

Each image is SVG text from the source module, rasterised by rsvg-convert at its exact size.
The output is deterministic: running the script again rewrites byte-identical files. After
rendering, every PNG is checked to be 8-bit RGBA at the size the source declares.

Run: python3 scripts/skin/render_toolbar.py [--svg-dir DIR]
     --svg-dir also writes each SVG next to its name, to look at.
Needs: rsvg-convert (Debian package librsvg2-bin). Standard library otherwise.
"""
import argparse
import os
import shutil
import struct
import subprocess
import sys
import zlib

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
SOURCE_DIR = os.path.join(ROOT, "skin_src", "toolbar")
OUT_DIR = os.path.join(ROOT, "skin", "toolbar_wnd")

sys.dont_write_bytecode = True  # keep skin_src free of __pycache__
sys.path.insert(0, SOURCE_DIR)
import toolbar_svg  # noqa: E402


def png_header(path):
    """(width, height, bit depth, colour type) from the IHDR chunk."""
    with open(path, "rb") as f:
        head = f.read(29)
    if head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        raise ValueError(f"{path}: not a PNG")
    width, height, depth, colour = struct.unpack(">IIBB", head[16:26])
    return width, height, depth, colour


def _unfilter(raw, width, height, bpp):
    """Undo the PNG row filters of 8-bit, non-interlaced image data."""
    stride = width * bpp
    rows, prev, pos = [], bytearray(stride), 0
    for _ in range(height):
        kind, line = raw[pos], bytearray(raw[pos + 1:pos + 1 + stride])
        pos += 1 + stride
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if kind == 1:
                line[i] = (line[i] + a) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + b) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 0xFF
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                line[i] = (line[i] + pred) & 0xFF
            elif kind != 0:
                raise ValueError(f"bad PNG filter {kind}")
        rows.append(bytes(line))
        prev = line
    return rows


def to_rgba_png(data):
    """Re-encodes an 8-bit RGB or RGBA PNG (as rsvg-convert writes) as 8-bit RGBA.

    rsvg-convert drops the alpha channel of fully opaque images; the skin wants 32-bit RGBA
    everywhere. The result carries no metadata, so it depends on the pixels alone."""
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        chunk = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", chunk)
        elif kind == b"IDAT":
            idat += chunk
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace:
        raise ValueError(f"unexpected PNG layout {header}")
    bpp = 4 if colour == 6 else 3
    rows = _unfilter(zlib.decompress(idat), width, height, bpp)
    if bpp == 3:
        rows = [b"".join(r[i:i + 3] + b"\xff" for i in range(0, len(r), 3)) for r in rows]
    raw = b"".join(b"\x00" + r for r in rows)

    def chunk(kind, payload):
        return (struct.pack(">I", len(payload)) + kind + payload
                + struct.pack(">I", zlib.crc32(kind + payload) & 0xFFFFFFFF))

    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def render(svg, width, height, path):
    png = subprocess.run(["rsvg-convert", "--format", "png", "--width", str(width),
                          "--height", str(height)],
                         input=svg.encode("utf-8"), stdout=subprocess.PIPE, check=True).stdout
    with open(path, "wb") as f:
        f.write(to_rgba_png(png))
    got = png_header(path)
    if got != (width, height, 8, 6):
        raise SystemExit(f"{path}: got {got[0]}x{got[1]} depth {got[2]} colour type {got[3]}, "
                         f"want {width}x{height} 8-bit RGBA")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--svg-dir", help="also write the SVG text of each image here")
    args = parser.parse_args()
    if shutil.which("rsvg-convert") is None:
        raise SystemExit("rsvg-convert not found: apt-get install librsvg2-bin")
    os.makedirs(OUT_DIR, exist_ok=True)
    if args.svg_dir:
        os.makedirs(args.svg_dir, exist_ok=True)
    images = toolbar_svg.images()
    for name in sorted(images):
        width, height, svg = images[name]
        path = os.path.join(OUT_DIR, name)
        render(svg, width, height, path)
        if args.svg_dir:
            with open(os.path.join(args.svg_dir, name[:-4] + ".svg"), "w") as f:
                f.write(svg)
        print(f"wrote {os.path.relpath(path, ROOT)} ({width}x{height})")
    print(f"{len(images)} images in {os.path.relpath(OUT_DIR, ROOT)}")


if __name__ == "__main__":
    main()
