#!/usr/bin/env python3
"""Renders the capture toolbar skin: skin_src/toolbar/toolbar_svg.py -> skin/toolbar_wnd/*.png.

Each image is SVG text from the source module, rasterised by rsvg-convert at its exact size.
The output is deterministic: running the script again rewrites byte-identical files. After
rendering, every PNG is checked to be 8-bit RGBA at the size the source declares.

Run: python3 scripts/skin/render_toolbar.py [--svg-dir DIR]
     --svg-dir also writes each SVG next to its name, to look at.
Needs: rsvg-convert (Debian package librsvg2-bin). Standard library otherwise.
"""
import os
import sys

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
SOURCE_DIR = os.path.join(ROOT, "skin_src", "toolbar")
OUT_DIR = os.path.join(ROOT, "skin", "toolbar_wnd")

sys.dont_write_bytecode = True  # keep skin_src free of __pycache__
sys.path.insert(0, SOURCE_DIR)
import toolbar_svg  # noqa: E402

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from png_rgba import png_header, rasterise, render_arguments  # noqa: E402



def render(svg, width, height, path):
    with open(path, "wb") as f:
        f.write(rasterise(svg, width, height))
    got = png_header(path)
    if got != (width, height, 8, 6):
        raise SystemExit(f"{path}: got {got[0]}x{got[1]} depth {got[2]} colour type {got[3]}, "
                         f"want {width}x{height} 8-bit RGBA")


def main():
    args = render_arguments(__doc__)
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
