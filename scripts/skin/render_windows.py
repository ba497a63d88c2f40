#!/usr/bin/env python3
"""Renders the application windows' skin: skin_src/windows/windows_svg.py -> skin/<folder>/*.png
for main_wnd, floating_wnd, toast, set_wnd, about_wnd and feedback_wnd.

Each image is SVG text from the source module, rasterised by rsvg-convert at its exact size and
stored as 8-bit RGBA. The output is deterministic: running the script again rewrites
byte-identical files. After rendering every PNG is checked for its size and pixel format, and
the pieces of the opaque windows (settings, feedback) for having no transparent pixel.

Run: python3 scripts/skin/render_windows.py [--svg-dir DIR]
     --svg-dir also writes each SVG (as folder_name.svg) to look at.
Needs: rsvg-convert (Debian package librsvg2-bin) and the font WenQuanYi Micro Hei
(fonts-wqy-microhei). Standard library otherwise.
"""
import os
import sys

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
SOURCE_DIR = os.path.join(ROOT, "skin_src", "windows")
OUT_DIR = os.path.join(ROOT, "skin")

# Backgrounds of ordinary (non-layered) windows: every pixel must be opaque.
OPAQUE = {"set_wnd/bk.png", "set_wnd/title_bk_left.png", "set_wnd/title_bk_middle.png",
          "set_wnd/title_bk_right.png", "set_wnd/body_left_bk.png",
          "feedback_wnd/bk.png", "feedback_wnd/title_bk_left.png",
          "feedback_wnd/title_bk_middle.png", "feedback_wnd/title_bk_right.png"}

sys.dont_write_bytecode = True  # keep the source folders free of __pycache__
sys.path.insert(0, SOURCE_DIR)
import windows_svg  # noqa: E402

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from png_rgba import rasterise, read_png, render_arguments  # noqa: E402



def render(name, width, height, svg):
    data = rasterise(svg, width, height)
    path = os.path.join(OUT_DIR, name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)

    # Check what was written.
    with open(path, "rb") as f:
        w, h, colour, rows = read_png(f.read())
    if (w, h, colour) != (width, height, 6):
        raise SystemExit(f"{name}: got {w}x{h} colour type {colour}, want {width}x{height} RGBA")
    if name in OPAQUE and any(r[i] != 255 for r in rows for i in range(3, len(r), 4)):
        raise SystemExit(f"{name}: an opaque window's piece has transparent pixels")
    return path


def main():
    args = render_arguments(__doc__)
    if args.svg_dir:
        os.makedirs(args.svg_dir, exist_ok=True)
    images = windows_svg.images()
    for name in sorted(images):
        width, height, svg = images[name]
        path = render(name, width, height, svg)
        if args.svg_dir:
            with open(os.path.join(args.svg_dir, name[:-4].replace("/", "_") + ".svg"), "w") as f:
                f.write(svg)
        print(f"wrote {os.path.relpath(path, ROOT)} ({width}x{height})")
    print(f"{len(images)} images")


if __name__ == "__main__":
    main()
