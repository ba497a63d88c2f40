"""SVG sources of the capture toolbar skin (skin/toolbar_wnd/).

Every image of the toolbar is described here as SVG text; scripts/skin/render_toolbar.py turns
each one into a PNG with rsvg-convert. All geometry is original and drawn for this product.

Grid rules
- Buttons are 20 x 20 with the glyph inside roughly 3..17. Outline glyphs use 1.5 px strokes
  with round caps and joins; axis-aligned strokes sit at n + 0.75 or n + 0.25 so one edge falls
  on a pixel boundary (one full pixel plus a half), never smeared over three pixels.
- Filled shapes (the "T", the mosaic cells, the clipboard clip) sit on whole pixels.
- Glyphs use currentColor; the state decides the colour and the background plate.

Standard library only. `images()` returns {file name: (width, height, svg text)}.
"""

ACCENT = "#1677FF"
ICON = "#434343"
DISABLED = "#BFBFBF"
HOVER_FILL = "#E8F1FF"
BORDER = "#E0E0E0"
SURFACE = "#FFFFFF"
DANGER = "#FF4D4F"
DANGER_FILL = "#FFF1F0"
WHITE = "#FFFFFF"

STROKE = 1.5
BUTTON = 20
BUTTON_RADIUS = 3

# ---------------------------------------------------------------------------------------------
# Glyphs (20 x 20 coordinates). Strokes inherit from the wrapping group; fills say so.
# ---------------------------------------------------------------------------------------------

GLYPHS = {
    # A rectangle outline, outer edges on whole pixels: 3..17 x 5..15.
    "rectangle_btn": """
      <rect x="3.75" y="4.75" width="12.5" height="10.5" rx="1.75"/>""",

    # An ellipse, a little wider than tall, like the rectangle beside it.
    "circle_btn": """
      <ellipse cx="10" cy="10" rx="6.75" ry="5.75"/>""",

    # A diagonal arrow pointing up-right, with an open head whose arms are axis-aligned.
    "arrow_btn": """
      <path d="M4.25 15.75 L14.5 5.5"/>
      <path d="M8.25 4.75 H15.25 V11.75"/>""",

    # A plain diagonal line with two small end handles.
    "line_btn": """
      <path d="M5.5 14.5 L14.5 5.5"/>
      <circle cx="4.75" cy="15.25" r="1.6" fill="currentColor" stroke="none"/>
      <circle cx="15.25" cy="4.75" r="1.6" fill="currentColor" stroke="none"/>""",

    # A pencil lying on the diagonal, tip down-left, with a ferrule band near the top end.
    "pencil_btn": """
      <g transform="rotate(-45 10 10)">
        <path d="M5.6 7.6 H16.4 A1.35 1.35 0 0 1 17.75 8.95 V11.05 A1.35 1.35 0 0 1 16.4 12.4
                 H5.6 L1.75 10 Z"/>
        <path d="M14.1 7.6 V12.4"/>
        <path d="M1.75 10 L3.7 8.8 V11.2 Z" fill="currentColor"/>
      </g>""",

    # A highlighter: a broad marker with a chisel tip above a wide translucent stroke.
    "light_pen_btn": """
      <rect x="3" y="15" width="14" height="2.5" rx="1" fill="currentColor" stroke="none"
            fill-opacity="0.45"/>
      <g transform="rotate(-45 10 10)">
        <path d="M8.3 6.8 H15.6 A1.3 1.3 0 0 1 16.9 8.1 V11.9 A1.3 1.3 0 0 1 15.6 13.2 H8.3 Z"/>
        <path d="M8.3 8.1 L5.6 8.9 V11.6 L8.3 11.9"/>
        <path d="M5.6 8.9 L3.7 9.6 V11.6 H5.6" fill="currentColor"/>
      </g>""",

    # A pixelated tile: a 4 x 4 checker of 3 px cells, the alternate cells translucent.
    "mosaic_btn": None,  # built by _mosaic()

    # The letter T drawn as two bars on whole pixels.
    "text_btn": """
      <path d="M4 4.5 A0.5 0.5 0 0 1 4.5 4 H15.5 A0.5 0.5 0 0 1 16 4.5 V6 H4 Z"
            fill="currentColor" stroke="none"/>
      <rect x="9" y="5" width="2" height="11" fill="currentColor" stroke="none"/>
      <rect x="7" y="15" width="6" height="1.5" rx="0.5" fill="currentColor" stroke="none"/>""",

    # A push pin standing upright: cap, body, flange and a tapering needle.
    "pic_show_top_btn": """
      <path d="M5.75 3.25 H14.25"/>
      <path d="M7.75 3.25 V7.5 L4.75 11.25 H15.25 L12.25 7.5 V3.25"/>
      <path d="M9 12 H11 L10.35 17.2 Q10 17.95 9.65 17.2 Z" fill="currentColor" stroke="none"/>""",

    # A clipboard: the board, its clip, two lines of content.
    "clipboard_btn": """
      <path d="M7 4.25 H5.5 A1.25 1.25 0 0 0 4.25 5.5 V16 A1.25 1.25 0 0 0 5.5 17.25 H14.5
               A1.25 1.25 0 0 0 15.75 16 V5.5 A1.25 1.25 0 0 0 14.5 4.25 H13"/>
      <rect x="7" y="2.5" width="6" height="3.5" rx="1" fill="currentColor" stroke="none"/>
      <path d="M7.25 9.75 H12.75 M7.25 13.25 H11"/>""",

    # A trash can with a lid, a handle and two ribs.
    "undo_btn": """
      <path d="M3.75 5.25 H16.25"/>
      <path d="M7.75 5.25 V4.25 A1 1 0 0 1 8.75 3.25 H11.25 A1 1 0 0 1 12.25 4.25 V5.25"/>
      <path d="M5.25 5.25 L6 15.6 A1.5 1.5 0 0 0 7.5 17 H12.5 A1.5 1.5 0 0 0 14 15.6 L14.75 5.25"/>
      <path d="M8.25 8.5 V13.75 M11.75 8.5 V13.75"/>""",

    # Save: an arrow dropping into a tray.
    "save_btn": """
      <path d="M9.75 3.25 V11.75"/>
      <path d="M6.25 8.25 L9.75 11.75 L13.25 8.25"/>
      <path d="M3.75 12.5 V15 A1.25 1.25 0 0 0 5 16.25 H15 A1.25 1.25 0 0 0 16.25 15 V12.5"/>""",

    # Exit: an X.
    "cancel_btn": """
      <path d="M5 5 L15 15 M15 5 L5 15" stroke-width="1.75"/>""",

    # Copy and save: a check mark, the primary action.
    "ok_btn": """
      <path d="M4 10.5 L8 14.5 L16 6" stroke-width="2"/>""",
}


def _mosaic():
    cells = []
    for j in range(4):
        for i in range(4):
            x, y = 4 + 3 * i, 4 + 3 * j
            opacity = "" if (i + j) % 2 == 0 else ' fill-opacity="0.35"'
            cells.append(f'<rect x="{x}" y="{y}" width="3" height="3"{opacity}/>')
    body = "\n        ".join(cells)
    return f"""
      <clipPath id="m"><rect x="4" y="4" width="12" height="12" rx="2"/></clipPath>
      <g clip-path="url(#m)" fill="currentColor" stroke="none">
        {body}
      </g>"""


GLYPHS["mosaic_btn"] = _mosaic()

# Button order as they appear on the toolbar (for the contact sheet and listings).
BUTTONS = ["rectangle_btn", "circle_btn", "arrow_btn", "line_btn", "pencil_btn", "light_pen_btn",
           "mosaic_btn", "text_btn", "pic_show_top_btn", "clipboard_btn", "undo_btn",
           "save_btn", "cancel_btn", "ok_btn"]


def _svg(width, height, body):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
            f'viewBox="0 0 {width} {height}">{body}\n</svg>\n')


def button_svg(name, state):
    """state: 1 normal, 2 hot, 3 pushed/selected, 4 disabled."""
    danger = name == "cancel_btn"
    primary = name == "ok_btn"
    plate = None
    if state == 1:
        fg = ACCENT if primary else ICON
    elif state == 2:
        fg, plate = (DANGER, DANGER_FILL) if danger else (ACCENT, HOVER_FILL)
    elif state == 3:
        fg, plate = WHITE, (DANGER if danger else ACCENT)
    elif state == 4:
        fg = DISABLED
    else:
        raise ValueError(state)
    body = ""
    if plate:
        body += (f'\n  <rect x="0" y="0" width="{BUTTON}" height="{BUTTON}" '
                 f'rx="{BUTTON_RADIUS}" fill="{plate}"/>')
    body += (f'\n  <g color="{fg}" fill="none" stroke="currentColor" stroke-width="{STROKE}" '
             f'stroke-linecap="round" stroke-linejoin="round">{GLYPHS[name]}\n  </g>')
    return _svg(BUTTON, BUTTON, body)


# ---------------------------------------------------------------------------------------------
# Row pieces. Heights are 36; the border is a 1 px line on whole pixels; outer radius 4.
# ---------------------------------------------------------------------------------------------

ROW_H = 36
RADIUS = 4


def _end_piece(width, side, extra=""):
    """A white surface with a 1 px border, rounded on `side` ('left' or 'right')."""
    # The rounded rectangle runs past the open side so only the closed side shows its corners.
    # Stroke centred on half pixels: the border is exactly the outer pixel row/column.
    r = RADIUS - 0.5
    if side == "left":
        x0, x1 = 0.5, width + 10
    else:
        x0, x1 = -10, width - 0.5
    body = (f'\n  <rect x="{x0}" y="0.5" width="{x1 - x0}" height="{ROW_H - 1}" rx="{r}" '
            f'fill="{SURFACE}" stroke="{BORDER}" stroke-width="1"/>' + extra)
    return _svg(width, ROW_H, body)


def toolbar_left_log_svg():
    # The product mark: a small accent crop frame (two corners), as in the program icon.
    mark = f"""
  <g fill="{ACCENT}">
    <path d="M6 13 H11 V15 H8 V18 H6 Z"/>
    <path d="M15 23 H10 V21 H13 V18 H15 Z"/>
  </g>"""
    return _end_piece(20, "left", mark)


def bk_middle_svg():
    body = (f'\n  <rect x="0" y="0" width="4" height="{ROW_H}" fill="{SURFACE}"/>'
            f'\n  <rect x="0" y="0" width="4" height="1" fill="{BORDER}"/>'
            f'\n  <rect x="0" y="{ROW_H - 1}" width="4" height="1" fill="{BORDER}"/>')
    return _svg(4, ROW_H, body)


def vertical_line_svg():
    return _svg(1, 18, f'\n  <rect x="0" y="0" width="1" height="18" fill="{BORDER}"/>')


def triangle_svg():
    # Upward pointer, base on the bottom edge so it meets the attribute bar below.
    body = f"""
  <path d="M0 8 L6.9 1.1 Q8 0 9.1 1.1 L16 8 Z" fill="{SURFACE}"/>
  <path d="M0.5 8 L6.9 1.6 Q8 0.5 9.1 1.6 L15.5 8" fill="none" stroke="{BORDER}"
        stroke-width="1" stroke-linejoin="round"/>"""
    return _svg(16, 8, body)


# ---------------------------------------------------------------------------------------------
# Attribute bar: line samples and colour swatches.
# ---------------------------------------------------------------------------------------------

SAMPLE_W, SAMPLE_H = 111, 20
SAMPLE_X0, SAMPLE_X1 = 10, 84


def line_width_svg(t):
    y = (SAMPLE_H - t) // 2  # integer rows: 1 -> 9, 2 -> 9..10, 3 -> 8..10, ...
    body = (f'\n  <rect x="{SAMPLE_X0}" y="{y}" width="{SAMPLE_X1 - SAMPLE_X0}" height="{t}" '
            f'fill="{ICON}"/>')
    return _svg(SAMPLE_W, SAMPLE_H, body)


def line_style_svg(style):
    t, y = 2, 9
    if style == "solid":
        body = f'\n  <rect x="{SAMPLE_X0}" y="{y}" width="{SAMPLE_X1 - SAMPLE_X0}" height="{t}"/>'
    elif style == "dash":
        # Six 9 px dashes with 4 px gaps fill 10..84 exactly.
        body = "".join(f'\n  <rect x="{SAMPLE_X0 + 13 * k}" y="{y}" width="9" height="{t}"/>'
                       for k in range(6))
    elif style == "dot":
        # Round dots 2.5 px across on a 5 px pitch, centred on the 2 px band (a pixel corner).
        body = "".join(f'\n  <circle cx="{SAMPLE_X0 + 1 + 5 * k}" cy="10" r="1.25"/>'
                       for k in range(15))
    else:
        raise ValueError(style)
    return _svg(SAMPLE_W, SAMPLE_H, f'\n  <g fill="{ICON}">{body}\n  </g>')


SWATCHES = ["#009BFF", "#85DBBE", "#00A870", "#F8B996", "#FFC200",
            "#DF4ED9", "#FF3141", "#303039", "#BDBFBE", "#EEEEEE"]


def swatch_svg(colour, selected):
    if selected:
        # Accent ring 2 px (0..2), white gap 1 px (2..3), colour 3..13.
        body = (f'\n  <rect x="1" y="1" width="14" height="14" rx="3.5" fill="{WHITE}" '
                f'stroke="{ACCENT}" stroke-width="2"/>')
        inset, r = 3, 2
    else:
        body, inset, r = "", 2, 3
    size = 16 - 2 * inset
    body += (f'\n  <rect x="{inset}" y="{inset}" width="{size}" height="{size}" rx="{r}" '
             f'fill="{colour}"/>'
             f'\n  <rect x="{inset + 0.5}" y="{inset + 0.5}" width="{size - 1}" '
             f'height="{size - 1}" rx="{r - 0.5}" fill="none" stroke="#000000" '
             f'stroke-opacity="0.16" stroke-width="1"/>')
    return _svg(16, 16, body)


# ---------------------------------------------------------------------------------------------

def images():
    """{file name: (width, height, svg text)} for every file of skin/toolbar_wnd/."""
    out = {
        "toolbar_left_log.png": (20, ROW_H, toolbar_left_log_svg()),
        "bk_middle.png": (4, ROW_H, bk_middle_svg()),
        "bk_right.png": (5, ROW_H, _end_piece(5, "right")),
        "bk_left.png": (5, ROW_H, _end_piece(5, "left")),
        "vertical_line.png": (1, 18, vertical_line_svg()),
        "triangle.png": (16, 8, triangle_svg()),
    }
    for name in BUTTONS:
        for state in (1, 2, 3, 4) if name == "undo_btn" else (1, 2, 3):
            out[f"{name}_{state}.png"] = (BUTTON, BUTTON, button_svg(name, state))
    for t in range(1, 6):
        out[f"line_width_{t}.png"] = (SAMPLE_W, SAMPLE_H, line_width_svg(t))
    for style in ("solid", "dot", "dash"):
        out[f"line_styple_{style}.png"] = (SAMPLE_W, SAMPLE_H, line_style_svg(style))
    for n, colour in enumerate(SWATCHES, 1):
        out[f"clr_{n}_1.png"] = (16, 16, swatch_svg(colour, False))
        out[f"clr_{n}_2.png"] = (16, 16, swatch_svg(colour, True))
    return out
