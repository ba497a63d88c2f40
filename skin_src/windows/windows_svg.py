"""SVG sources of the application windows' skin: main window, floating ball, toast, settings,
about and feedback (skin/main_wnd, floating_wnd, toast, set_wnd, about_wnd, feedback_wnd).

Every image is described here as SVG text; scripts/skin/render_windows.py turns each one into a
PNG with rsvg-convert at its exact size. All geometry is original and drawn for this product.

Grid rules
- 1 px lines and borders sit on n + 0.5 (or are whole-pixel rects) so they cover one pixel.
- Outline glyphs use 1.5 px strokes with round caps and joins, like the toolbar; axis-aligned
  strokes sit at n + 0.75 or n + 0.25 so one edge falls on a pixel boundary.
- The product mark (accent rounded square with two white crop corners) is built on whole
  pixels at every size by mark().
- Text uses WenQuanYi Micro Hei; text() places it by the vertical centre of its ink.
- Opaque windows (settings, feedback) get opaque pieces with square corners; layered windows
  (main, about, toast, floating ball) get transparent pixels outside their rounded corners.

Standard library only. `images()` returns {"folder/name.png": (width, height, svg text)}.
"""

import math

ACCENT = "#1677FF"
ACCENT_HOT = "#4096FF"
ACCENT_DOWN = "#0958D9"
TEXT = "#262626"
TEXT_2 = "#595959"
TEXT_HINT = "#8C8C8C"
BORDER = "#D9D9D9"
BORDER_LIGHT = "#E8E8E8"
CARD_BORDER = "#E5E5E5"
SURFACE = "#F5F7FA"
PANEL = "#F7F7F7"
HOVER = "#E8F1FF"
PRESSED = "#D0E3FF"
WHITE = "#FFFFFF"

FONT = "WenQuanYi Micro Hei"
STROKE = 1.5


# ---------------------------------------------------------------------------------------------
# Helpers
# ---------------------------------------------------------------------------------------------

def svg(width, height, body):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
            f'viewBox="0 0 {width} {height}">\n{body}\n</svg>\n')


def _escape(s):
    return s.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


def text(x, cy, s, size=12, fill=TEXT, anchor="start", bold=False, nudge=0):
    """Text whose ink is vertically centred on cy (CJK ink of this font spans about
    0.83 em above the baseline to 0.08 em below). The baseline is snapped to a whole pixel."""
    base = math.floor(cy + 0.375 * size + 0.5) + nudge
    weight = ' font-weight="bold"' if bold else ""
    return (f'<text x="{x}" y="{base}" font-family="{FONT}" font-size="{size}"{weight} '
            f'fill="{fill}" text-anchor="{anchor}">{_escape(s)}</text>')


def round_box(w, h, r, fill, stroke=None, opacity=None, inset=0):
    """A rounded rectangle filling a w x h image; with a stroke, its 1 px border lies on the
    outermost pixels."""
    op = f' fill-opacity="{opacity}"' if opacity is not None else ""
    if stroke:
        i = inset + 0.5
        return (f'<rect x="{i}" y="{i}" width="{w - 2 * i}" height="{h - 2 * i}" '
                f'rx="{r - 0.5}" fill="{fill}"{op} stroke="{stroke}" stroke-width="1"/>')
    return (f'<rect x="{inset}" y="{inset}" width="{w - 2 * inset}" height="{h - 2 * inset}" '
            f'rx="{r}" fill="{fill}"{op}/>')


def mark(x, y, size, radius=None, bg=ACCENT, fg=WHITE):
    """The product mark: an accent rounded square holding a white selection frame drawn as
    two crop corners (top-left L and the mirrored bottom-right L), on whole pixels."""
    u = size / 16.0
    r = radius if radius is not None else round(size * 0.22 * 2) / 2
    t = max(1, int(1.6 * u + 0.5)) if size >= 18 else 1
    a = int(3 * u + 0.5)
    b = size - a
    arm = int(4 * u + 0.5)
    parts = [f'<rect x="{x}" y="{y}" width="{size}" height="{size}" rx="{r}" fill="{bg}"/>']
    for rx, ry, rw, rh in ((a, a, arm, t), (a, a, t, arm),
                           (b - arm, b - t, arm, t), (b - t, b - arm, t, arm)):
        parts.append(f'<rect x="{x + rx}" y="{y + ry}" width="{rw}" height="{rh}" fill="{fg}"/>')
    return "\n".join(parts)


# ---------------------------------------------------------------------------------------------
# Glyphs
# ---------------------------------------------------------------------------------------------

def glyph_minimize(color):
    """A short horizontal bar, centred in 24 x 24 (hide to the tray)."""
    return f'<rect x="7" y="12" width="10" height="1.5" rx="0.75" fill="{color}"/>'


def glyph_close(color):
    """An X of two 1.5 px strokes, 8 px across, centred in 24 x 24."""
    return (f'<path d="M8 8 L16 16 M16 8 L8 16" fill="none" stroke="{color}" '
            f'stroke-width="{STROKE}" stroke-linecap="round"/>')


def icon_region(color):
    """Region capture, 30 x 30: a dashed selection frame (2 px on whole pixels, 3..21) with a
    translucent inside, and a crosshair cursor just past its bottom-right corner."""
    rects = [(5, 5, 14, 14, 0.14)]
    for lo, hi in ((3, 7), (9, 15), (17, 21)):       # solid corners with one dash between
        rects += [(lo, 3, hi - lo, 2, 1), (lo, 19, hi - lo, 2, 1),
                  (3, lo, 2, hi - lo, 1), (19, lo, 2, hi - lo, 1)]
    # crosshair centred on (24, 24): 2 px arms, 4 px long, around a 4 px hollow
    rects += [(23, 18, 2, 4, 1), (23, 26, 2, 4, 1), (18, 23, 4, 2, 1), (26, 23, 4, 2, 1)]
    out = []
    for x, y, w, h, op in rects:
        extra = f' fill-opacity="{op}"' if op != 1 else ""
        out.append(f'<rect x="{x}" y="{y}" width="{w}" height="{h}" fill="{color}"{extra}/>')
    return "\n".join(out)


def icon_gallery(color):
    """Picture gallery, 30 x 30: a folder whose front panel carries a small landscape."""
    back = "#8DBBFF"
    return "\n".join([
        f'<path d="M3 8 A2 2 0 0 1 5 6 H11 L13.5 8.5 H25 A2 2 0 0 1 27 10.5 V22 H3 Z" '
        f'fill="{back}"/>',
        f'<rect x="3" y="11" width="24" height="14" rx="2" fill="{color}"/>',
        '<path d="M7 22 L11.5 16.5 L14.5 19.5 L17 17 L22.5 22 Z" fill="#FFFFFF"/>',
        '<circle cx="20.5" cy="15" r="1.75" fill="#FFFFFF"/>',
    ])


def _gear_path(cx, cy, teeth=8, r_out=9.75, r_base=7.25, half_top=11.0, half_base=17.0):
    pts = []
    step = 360.0 / teeth
    for i in range(teeth):
        c = i * step - 90
        for ang, r in ((c - half_base, r_base), (c - half_top, r_out), (c + half_top, r_out),
                       (c + half_base, r_base)):
            a = math.radians(ang)
            pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    d = ["M{:.3f} {:.3f}".format(*pts[0])]
    for i in range(1, len(pts)):
        p = pts[i]
        if i % 4 == 0:  # from the last base point of the previous tooth: along the base circle
            d.append("A{r} {r} 0 0 1 {:.3f} {:.3f}".format(*p, r=r_base))
        else:
            d.append("L{:.3f} {:.3f}".format(*p))
    d.append("A{r} {r} 0 0 1 {:.3f} {:.3f} Z".format(*pts[0], r=r_base))
    return " ".join(d)


def icon_gear(color):
    """Settings, 24 x 24: an eight-tooth gear outline with a round hub."""
    st = f'fill="none" stroke="{color}" stroke-width="{STROKE}" stroke-linejoin="round"'
    return (f'<path d="{_gear_path(12, 12)}" {st}/>\n'
            f'<circle cx="12" cy="12" r="3" {st}/>')


def icon_chat(color):
    """Feedback, 24 x 24: a speech bubble with a tail at the lower left and three dots."""
    st = (f'fill="none" stroke="{color}" stroke-width="{STROKE}" stroke-linejoin="round" '
          f'stroke-linecap="round"')
    d = ("M6.75 4.75 H17.25 A3 3 0 0 1 20.25 7.75 V14.25 A3 3 0 0 1 17.25 17.25 H11.5 "
         "L7.5 20.25 V17.25 H6.75 A3 3 0 0 1 3.75 14.25 V7.75 A3 3 0 0 1 6.75 4.75 Z")
    dots = "\n".join(f'<circle cx="{x}" cy="11" r="1.15" fill="{color}"/>' for x in (8, 12, 16))
    return f'<path d="{d}" {st}/>\n{dots}'


def icon_info(color):
    """About, 24 x 24: a lower-case i in a circle."""
    return "\n".join([
        f'<circle cx="12" cy="12" r="8.75" fill="none" stroke="{color}" '
        f'stroke-width="{STROKE}"/>',
        f'<circle cx="12" cy="8" r="1.2" fill="{color}"/>',
        f'<rect x="11.25" y="10.5" width="1.5" height="6" rx="0.75" fill="{color}"/>',
    ])


# ---------------------------------------------------------------------------------------------
# Shared pieces
# ---------------------------------------------------------------------------------------------

STATES = (1, 2, 3)


def close_button(state):
    """24 x 24 close button of the settings, about and feedback title bars."""
    plate = {1: "", 2: round_box(24, 24, 4, "#E6E8EB"), 3: round_box(24, 24, 4, "#D5D8DC")}[state]
    color = {1: TEXT_HINT, 2: TEXT, 3: TEXT}[state]
    return plate + "\n" + glyph_close(color)


def title_piece(part, width, height, window_w, radius, edge, opaque):
    """A horizontal slice of a title bar surface: #F5F7FA with a 1 px #E8E8E8 bottom line and
    the window's border on its outer edges. The whole bar is drawn as if for a window of
    window_w pixels and the slice shows its left end, its right end or a piece of the middle;
    with a radius the top corners follow the window's rounded outline."""
    shift = {"left": 0, "middle": -(window_w // 2), "right": -(window_w - width)}[part]
    r = radius if radius else 0
    body = [f'<g transform="translate({shift} 0)">']
    if opaque:
        body.append(f'<rect x="0" y="0" width="{window_w}" height="{height}" fill="{SURFACE}"/>')
        body.append(f'<rect x="0.5" y="0.5" width="{window_w - 1}" height="{height + 8}" '
                    f'fill="none" stroke="{edge}" stroke-width="1"/>')
    else:
        body.append(f'<rect x="0.5" y="0.5" width="{window_w - 1}" height="{height + 16}" '
                    f'rx="{r - 0.5}" fill="{SURFACE}" stroke="{edge}" stroke-width="1"/>')
    body.append(f'<rect x="1" y="{height - 1}" width="{window_w - 2}" height="1" '
                f'fill="{BORDER_LIGHT}"/>')
    body.append('</g>')
    return svg(width, height, "\n".join(body))


def title_text(s):
    return svg(44, 18, text(0, 9, s, 14, TEXT, bold=True))


def plain_button(w, h, label, kind, state, size=12, r=4):
    """Text buttons: 'primary' (accent fill), 'outline' (white with grey border) and
    'link' (white with a light accent border and accent text)."""
    if kind == "primary":
        fill = {1: ACCENT, 2: ACCENT_HOT, 3: ACCENT_DOWN}[state]
        body = round_box(w, h, r, fill)
        color = WHITE
    elif kind == "outline":
        fill = {1: WHITE, 2: WHITE, 3: "#F5F5F5"}[state]
        edge = {1: BORDER, 2: ACCENT, 3: ACCENT_DOWN}[state]
        color = {1: TEXT, 2: ACCENT, 3: ACCENT_DOWN}[state]
        body = round_box(w, h, r, fill, edge)
    else:  # link
        fill = {1: WHITE, 2: HOVER, 3: PRESSED}[state]
        edge = {1: "#91CAFF", 2: ACCENT_HOT, 3: ACCENT}[state]
        color = {1: ACCENT, 2: ACCENT, 3: ACCENT_DOWN}[state]
        body = round_box(w, h, r, fill, edge)
    return svg(w, h, body + "\n" + text(w / 2, h / 2, label, size, color, anchor="middle"))


# ---------------------------------------------------------------------------------------------
# main_wnd
# ---------------------------------------------------------------------------------------------

def _main_images(out):
    out["main_wnd/bk.png"] = (605, 127, svg(605, 127, round_box(605, 127, 8, WHITE, CARD_BORDER)))
    out["main_wnd/title.png"] = (92, 24, svg(92, 24, mark(0, 3, 18) + "\n" +
                                             text(25, 12, "截图工具", 14, TEXT, bold=True)))
    for s in STATES:
        plate = {1: "", 2: round_box(24, 24, 4, "#F0F0F0"), 3: round_box(24, 24, 4, "#E0E0E0")}[s]
        color = {1: TEXT_2, 2: TEXT, 3: TEXT}[s]
        out[f"main_wnd/close_{s}.png"] = (24, 24, svg(24, 24, plate + "\n" + glyph_minimize(color)))

    def card(s, icon, label, ix, iy):
        if s == 1:
            plate = round_box(130, 70, 6, "#F5F8FF", "#E3ECFB")
        elif s == 2:
            plate = round_box(130, 70, 6, HOVER, ACCENT)
        else:
            plate = round_box(130, 70, 6, PRESSED, ACCENT)
        dy = 1 if s == 3 else 0
        body = [plate,
                f'<g transform="translate({ix} {iy + dy})">{icon(ACCENT)}</g>',
                text(57, 35 + dy, label, 13, TEXT)]
        return svg(130, 70, "\n".join(body))

    for s in STATES:
        out[f"main_wnd/rectangular_btn_{s}.png"] = (130, 70, card(s, icon_region, "区域截屏", 18, 18))
        out[f"main_wnd/open_dir_btn_{s}.png"] = (130, 70, card(s, icon_gallery, "打开图库", 19, 20))

    def tool(s, icon, label):
        plate = {1: "", 2: round_box(65, 65, 6, SURFACE), 3: round_box(65, 65, 6, HOVER)}[s]
        icolor = {1: TEXT_2, 2: ACCENT, 3: ACCENT}[s]
        tcolor = {1: TEXT_2, 2: ACCENT, 3: ACCENT}[s]
        body = [plate,
                f'<g transform="translate(20.5 11)">{icon(icolor)}</g>',
                text(32.5, 48, label, 12, tcolor, anchor="middle")]
        return svg(65, 65, "\n".join(body))

    for s in STATES:
        out[f"main_wnd/set_btn_{s}.png"] = (65, 65, tool(s, icon_gear, "设置"))
        out[f"main_wnd/feedback_btn_{s}.png"] = (65, 65, tool(s, icon_chat, "反馈"))
        out[f"main_wnd/about_btn_{s}.png"] = (65, 65, tool(s, icon_info, "关于"))

    out["main_wnd/line.png"] = (606, 1, svg(606, 1, '<rect width="606" height="1" fill="#EEEEEE"/>'))
    out["main_wnd/vertical_line.png"] = (1, 34, svg(1, 34,
                                                    '<rect width="1" height="34" fill="#E8E8E8"/>'))


# ---------------------------------------------------------------------------------------------
# floating_wnd, toast
# ---------------------------------------------------------------------------------------------

def _ball(fill, ring):
    body = [
        # a soft shade just outside the ball so it reads on blue or busy desktops
        '<circle cx="18" cy="18.5" r="17.5" fill="#000000" fill-opacity="0.10"/>',
        '<circle cx="18" cy="18.25" r="17" fill="#000000" fill-opacity="0.10"/>',
        f'<circle cx="18" cy="18" r="16.5" fill="{fill}"/>',
    ]
    if ring:
        body.append('<circle cx="18" cy="18" r="15.5" fill="none" stroke="#FFFFFF" '
                    'stroke-opacity="0.55" stroke-width="1"/>')
    # crop corners: frame 10..26, arms 7, 2 px thick
    for x, y, w, h in ((10, 10, 7, 2), (10, 10, 2, 7), (19, 24, 7, 2), (24, 19, 2, 7)):
        body.append(f'<rect x="{x}" y="{y}" width="{w}" height="{h}" fill="#FFFFFF"/>')
    return svg(36, 36, "\n".join(body))


def _floating_and_toast(out):
    out["floating_wnd/1.png"] = (36, 36, _ball(ACCENT, False))
    out["floating_wnd/2.png"] = (36, 36, _ball(ACCENT_HOT, True))
    out["toast/bk.png"] = (201, 60, svg(201, 60, round_box(201, 60, 8, "#1F1F1F", opacity=0.9)))


# ---------------------------------------------------------------------------------------------
# set_wnd
# ---------------------------------------------------------------------------------------------

def _set_images(out):
    # The window background also carries the title bar's bottom line at y = 32, where the
    # title pieces (33 high inside a 32 high row) may be clipped.
    out["set_wnd/bk.png"] = (500, 500, svg(500, 500, "\n".join([
        f'<rect width="500" height="500" fill="{WHITE}"/>',
        f'<rect x="1" y="32" width="498" height="1" fill="{BORDER_LIGHT}"/>',
        f'<rect x="0.5" y="0.5" width="499" height="499" fill="none" stroke="{BORDER}"/>'])))
    for part, w in (("left", 150), ("middle", 4), ("right", 150)):
        out[f"set_wnd/title_bk_{part}.png"] = (w, 33, title_piece(part, w, 33, 500, 0, BORDER, True))
    out["set_wnd/title.png"] = (44, 18, title_text("设置"))
    for s in STATES:
        out[f"set_wnd/close_{s}.png"] = (24, 24, svg(24, 24, close_button(s)))
    # Placed at y = 32 and 500 high: row 0 meets the title line, row 467 is the window's
    # bottom edge (y = 499); the rows below fall outside the window.
    out["set_wnd/body_left_bk.png"] = (116, 500, svg(116, 500, "\n".join([
        '<rect width="116" height="500" fill="#FAFAFA"/>',
        '<rect x="115" y="0" width="1" height="500" fill="#EEEEEE"/>',
        f'<rect x="0" y="0" width="116" height="1" fill="{BORDER_LIGHT}"/>',
        f'<rect x="0" y="467" width="116" height="33" fill="{BORDER}"/>',
        f'<rect x="0" y="0" width="1" height="500" fill="{BORDER}"/>'])))
    for s in STATES:
        fill = {1: HOVER, 2: "#DCEAFF", 3: PRESSED}[s]
        color = {1: ACCENT, 2: ACCENT, 3: ACCENT_DOWN}[s]
        body = [round_box(92, 30, 4, fill),
                f'<rect x="0" y="8" width="3" height="14" rx="1.5" fill="{ACCENT}"/>',
                text(46, 15, "基础设置", 12, color, anchor="middle")]
        out[f"set_wnd/base_set_btn_{s}.png"] = (92, 30, svg(92, 30, "\n".join(body)))

    def radio(selected, hot):
        ring = (ACCENT_DOWN if hot else ACCENT) if selected else (ACCENT if hot else "#BFBFBF")
        parts = [f'<circle cx="8.5" cy="8.5" r="7" fill="#FFFFFF" stroke="{ring}" '
                 f'stroke-width="1"/>']
        if selected:
            parts.append(f'<circle cx="8.5" cy="8.5" r="3.5" fill="{ring}"/>')
        return "\n".join(parts)

    for name, sel in (("radio_normal", False), ("radio_selected", True)):
        body = radio(sel, False) + f'\n<g transform="translate(17 0)">{radio(sel, True)}</g>'
        out[f"set_wnd/{name}.png"] = (34, 17, svg(34, 17, body))
    for s in STATES:
        out[f"set_wnd/btn_cancel_{s}.png"] = (64, 24, plain_button(64, 24, "取消", "outline", s))
        out[f"set_wnd/btn_ok_{s}.png"] = (64, 24, plain_button(64, 24, "确定", "primary", s))
        out[f"set_wnd/change_btn_{s}.png"] = (48, 20, plain_button(48, 20, "更改", "link", s))


# ---------------------------------------------------------------------------------------------
# about_wnd
# ---------------------------------------------------------------------------------------------

def _about_images(out):
    out["about_wnd/bk.png"] = (400, 250, svg(400, 250, round_box(400, 250, 8, WHITE, CARD_BORDER)))
    for part, w in (("left", 150), ("middle", 4), ("right", 150)):
        out[f"about_wnd/title_bk_{part}.png"] = (w, 32, title_piece(part, w, 32, 400, 8,
                                                                    CARD_BORDER, False))
    out["about_wnd/title.png"] = (44, 18, title_text("关于"))
    for s in STATES:
        out[f"about_wnd/close_{s}.png"] = (24, 24, svg(24, 24, close_button(s)))
    icon = "\n".join([
        '<defs><filter id="soft" x="-50%" y="-50%" width="200%" height="200%">'
        '<feGaussianBlur stdDeviation="2.2"/></filter></defs>',
        '<ellipse cx="24" cy="50" rx="17" ry="3.5" fill="#1677FF" fill-opacity="0.28" '
        'filter="url(#soft)"/>',
        mark(0, 0, 48, radius=11),
    ])
    out["about_wnd/middle_icon.png"] = (48, 64, svg(48, 64, icon))
    # Right aligned so that the ink of the full-width colon ends near x = 75 (its advance
    # runs on past it).
    out["about_wnd/version_key.png"] = (76, 32, svg(76, 32, "\n".join([
        text(82, 8, "当前版本：", 12, TEXT_HINT, anchor="end"),
        text(82, 24.5, "更新日期：", 12, TEXT_HINT, anchor="end")])))


# ---------------------------------------------------------------------------------------------
# feedback_wnd
# ---------------------------------------------------------------------------------------------

def _feedback_images(out):
    out["feedback_wnd/bk.png"] = (500, 320, svg(500, 320, "\n".join([
        f'<rect width="500" height="320" fill="{WHITE}"/>',
        f'<rect x="0.5" y="0.5" width="499" height="319" fill="none" stroke="{BORDER}"/>'])))
    for part, w in (("left", 150), ("middle", 4), ("right", 150)):
        out[f"feedback_wnd/title_bk_{part}.png"] = (w, 32, title_piece(part, w, 32, 500, 0,
                                                                       BORDER, True))
    out["feedback_wnd/title.png"] = (44, 18, title_text("反馈"))
    for s in STATES:
        out[f"feedback_wnd/close_{s}.png"] = (24, 24, svg(24, 24, close_button(s)))
    out["feedback_wnd/feedback_tip.png"] = (60, 13, svg(60, 13, text(0, 6.5, "反馈内容", 12, TEXT_2)))
    for s in STATES:
        out[f"feedback_wnd/feedback_btn_{s}.png"] = (72, 24, plain_button(72, 24, "提交", "primary", s))


def images():
    out = {}
    _main_images(out)
    _floating_and_toast(out)
    _set_images(out)
    _about_images(out)
    _feedback_images(out)
    return out
