"""Rasterising and PNG helpers shared by the skin render scripts (standard library and
rsvg-convert).

rsvg-convert writes fully opaque images as 8-bit RGB without alpha; the skin stores every image
as 8-bit RGBA without metadata, so the files depend on the pixels alone and re-rendering gives
byte-identical files."""
import argparse
import shutil
import struct
import subprocess
import zlib

SIGNATURE = b"\x89PNG\r\n\x1a\n"


def png_header(path):
    """(width, height, bit depth, colour type) from the IHDR chunk of a PNG file."""
    with open(path, "rb") as f:
        head = f.read(29)
    if head[:8] != SIGNATURE or head[12:16] != b"IHDR":
        raise ValueError(f"{path}: not a PNG")
    width, height, depth, colour = struct.unpack(">IIBB", head[16:26])
    return width, height, depth, colour


def _unfilter(raw, width, height, bpp):
    """Undo the row filters of 8-bit, non-interlaced image data."""
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
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 0xFF
            elif kind != 0:
                raise ValueError(f"bad PNG filter {kind}")
        rows.append(bytes(line))
        prev = line
    return rows


def read_png(data):
    """(width, height, colour type, rows of raw pixel bytes) of an 8-bit non-interlaced RGB or
    RGBA PNG."""
    if data[:8] != SIGNATURE:
        raise ValueError("not a PNG")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace:
        raise ValueError(f"unexpected PNG layout {header}")
    rows = _unfilter(zlib.decompress(idat), width, height, 4 if colour == 6 else 3)
    return width, height, colour, rows


def rgba_png(width, height, colour, rows):
    """8-bit RGBA PNG bytes without metadata."""
    if colour == 2:
        rows = [b"".join(r[i:i + 3] + b"\xff" for i in range(0, len(r), 3)) for r in rows]

    def chunk(kind, payload):
        return (struct.pack(">I", len(payload)) + kind + payload
                + struct.pack(">I", zlib.crc32(kind + payload) & 0xFFFFFFFF))

    raw = b"".join(b"\x00" + r for r in rows)
    return (SIGNATURE
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def to_rgba_png(data):
    """Re-encodes an RGB or RGBA PNG (as rsvg-convert writes it) as 8-bit RGBA."""
    return rgba_png(*read_png(data))


def render_arguments(doc):
    """The command line of a render script whose docstring is doc (its first line is the
    description); stops when rsvg-convert is missing."""
    parser = argparse.ArgumentParser(description=doc.splitlines()[0])
    parser.add_argument("--svg-dir", help="also write the SVG text of each image here")
    args = parser.parse_args()
    if shutil.which("rsvg-convert") is None:
        raise SystemExit("rsvg-convert not found: apt-get install librsvg2-bin")
    return args


def rasterise(svg, width, height):
    """The SVG text drawn by rsvg-convert at exactly width x height, as 8-bit RGBA PNG bytes."""
    png = subprocess.run(["rsvg-convert", "--format", "png", "--width", str(width),
                          "--height", str(height)],
                         input=svg.encode("utf-8"), stdout=subprocess.PIPE, check=True).stdout
    return to_rgba_png(png)
