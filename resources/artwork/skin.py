"""The look of Quorvanelle: colours, fonts and the drawing primitives every bitmap is made of.

Everything is drawn on RGB Pillow images at 1:1; round shapes are rendered four times larger and
scaled down so their edges are smooth. Nothing here depends on the machine's font lookup."""

import os

from PIL import Image, ImageDraw, ImageFont

# ---- colours (red, green, blue) ----------------------------------------------------------------
TRANSPARENT = (0, 0, 0)  # the toolkit's transparent key
BODY = (46, 49, 56)  # main body of the window
BODY_LIGHT = (60, 64, 73)  # raised plates
PANEL = (34, 37, 43)  # settings panel pages
RECESS = (21, 23, 27)  # troughs, meter backgrounds, strips
EDGE_HI = (88, 93, 104)  # bevel highlight
EDGE_LO = (13, 14, 17)  # bevel shadow
GROUP_LINE = (70, 75, 86)  # outlines of groups and separators
GRID = (44, 48, 56)  # graph grid lines
GRID_STRONG = (66, 71, 82)
TEXT = (206, 210, 218)  # labels
TEXT_DIM = (138, 144, 156)  # scales, secondary labels
TITLE = (238, 240, 244)  # page titles
BOX_FACE = (226, 230, 234)  # value boxes: light enough for black text
BOX_SHADE = (176, 182, 190)
BOX_EDGE = (108, 114, 124)
BOX_TEXT = (0, 0, 0)
CYAN = (102, 255, 255)  # highlight colour of the code; lit states
CYAN_DIM = (52, 120, 126)
ACCENT = (255, 0, 102)  # meters and curves of the code
ACCENT_DARK = (217, 0, 87)
OVER = (221, 0, 88)  # over-level text
PINK = (255, 149, 191)  # right analyser curve
LED_OFF = (66, 70, 79)
LED_GREEN = (120, 230, 140)
AMBER = (255, 184, 64)
WHITE = (255, 255, 255)
BUTTON = (70, 74, 84)  # face of unlit buttons
BUTTON_LIT = (38, 86, 92)  # face of lit buttons (behind cyan symbols)

NAMED_COLOURS = [
    BODY, BODY_LIGHT, PANEL, RECESS, EDGE_HI, EDGE_LO, GROUP_LINE, GRID, GRID_STRONG, TEXT,
    TEXT_DIM, TITLE, BOX_FACE, BOX_SHADE, BOX_EDGE, CYAN, CYAN_DIM, ACCENT, ACCENT_DARK, OVER,
    PINK, LED_OFF, LED_GREEN, AMBER, WHITE, BUTTON, BUTTON_LIT,
]

# ---- fonts -------------------------------------------------------------------------------------
FONT_DIRS = ["/usr/share/fonts/truetype/liberation2"]
_font_cache = {}


def font(size, bold=False):
    """Liberation Sans (Arial's metrics) at size pixels per em, loaded by path."""
    key = (size, bold)
    if key not in _font_cache:
        name = "LiberationSans-Bold.ttf" if bold else "LiberationSans-Regular.ttf"
        for d in FONT_DIRS:
            path = os.path.join(d, name)
            if os.path.exists(path):
                _font_cache[key] = ImageFont.truetype(path, size)
                break
        else:
            raise FileNotFoundError(f"{name} not found in {FONT_DIRS} (install fonts-liberation2)")
    return _font_cache[key]


LABEL = 11  # label size in pixels; nothing smaller than SMALL is drawn
SMALL = 10
TITLE_SIZE = 15

# ---- primitives --------------------------------------------------------------------------------


def new(width, height, colour=BODY):
    return Image.new("RGB", (width, height), colour)


def lerp(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def text(im, xy, s, size=LABEL, colour=TEXT, anchor="la", bold=False):
    """Draws s with Pillow's anchor convention (l/m/r + a/m/s/d), e.g. "mm" centres on xy."""
    ImageDraw.Draw(im).text(xy, s, font=font(size, bold), fill=colour, anchor=anchor)


def text_width(s, size=LABEL, bold=False):
    return font(size, bold).getlength(s)


def vgradient(im, box, top, bottom):
    """Fills box (left, top, right, bottom; right and bottom exclusive) with a vertical gradient."""
    d = ImageDraw.Draw(im)
    l, t, r, b = box
    n = max(1, b - t - 1)
    for y in range(t, b):
        d.line([(l, y), (r - 1, y)], fill=lerp(top, bottom, (y - t) / n))


def fill(im, box, colour):
    l, t, r, b = box
    if r > l and b > t:
        ImageDraw.Draw(im).rectangle([l, t, r - 1, b - 1], fill=colour)


def frame(im, box, colour):
    """One-pixel outline just inside box (exclusive right and bottom)."""
    l, t, r, b = box
    ImageDraw.Draw(im).rectangle([l, t, r - 1, b - 1], outline=colour)


def bevel(im, box, hi=EDGE_HI, lo=EDGE_LO):
    """Raised edge: light top and left, dark bottom and right (swap for a sunken one)."""
    l, t, r, b = box
    d = ImageDraw.Draw(im)
    d.line([(l, b - 1), (l, t), (r - 1, t)], fill=hi)
    d.line([(l + 1, b - 1), (r - 1, b - 1), (r - 1, t + 1)], fill=lo)


def sunken(im, box, face=RECESS):
    fill(im, box, face)
    bevel(im, box, hi=EDGE_LO, lo=EDGE_HI)


def plate(im, box, top=BODY_LIGHT, bottom=BODY):
    vgradient(im, box, top, bottom)
    bevel(im, box)


SS = 4  # supersampling factor of round shapes


def _mask(size, draw_fn):
    """A smooth coverage mask: draw_fn(draw, scale) paints white on a SS-times larger canvas."""
    w, h = size
    big = Image.new("L", (w * SS, h * SS), 0)
    draw_fn(ImageDraw.Draw(big), SS)
    return big.resize((w, h), Image.Resampling.BOX)


def paint(im, colour, draw_fn, box=None):
    """Composites colour through a supersampled mask over box (default: the whole image)."""
    l, t, r, b = (int(round(v)) for v in (box or (0, 0, im.width, im.height)))
    mask = _mask((r - l, b - t), draw_fn)
    im.paste(Image.new("RGB", (r - l, b - t), colour), (l, t), mask)


def round_rect(im, box, radius, colour, box_origin=None):
    """Filled rounded rectangle with smooth corners (exclusive right and bottom)."""
    box = tuple(int(round(v)) for v in box)
    l, t, r, b = box

    def draw(d, s):
        d.rounded_rectangle([0, 0, (r - l) * s - 1, (b - t) * s - 1], radius=radius * s, fill=255)

    paint(im, colour, draw, box)


def ellipse(im, box, colour, width=0):
    """Filled (width 0) or outlined ellipse inside box, smooth edges; box may use fractions."""
    l, t, r, b = box
    il, it, ir, ib = int(l), int(t), int(-(-r // 1)), int(-(-b // 1))

    def draw(d, s):
        bb = [(l - il) * s, (t - it) * s, (r - il) * s - 1, (b - it) * s - 1]
        if width:
            d.ellipse(bb, outline=255, width=round(width * s))
        else:
            d.ellipse(bb, fill=255)

    paint(im, colour, draw, (il, it, ir, ib))


def polygon(im, points, colour, box=None):
    """Filled polygon with smooth edges; points in image coordinates."""
    box = box or (0, 0, im.width, im.height)
    l, t = box[0], box[1]

    def draw(d, s):
        d.polygon([((x - l) * s, (y - t) * s) for x, y in points], fill=255)

    paint(im, colour, draw, box)


def polyline(im, points, colour, width=1.0, box=None):
    """Smooth line through points (image coordinates, pixel centres at .5)."""
    box = box or (0, 0, im.width, im.height)
    l, t = box[0], box[1]

    def draw(d, s):
        pts = [((x - l) * s, (y - t) * s) for x, y in points]
        d.line(pts, fill=255, width=max(1, round(width * s)), joint="curve")

    paint(im, colour, draw, box)


def value_box(im, box, face=BOX_FACE, edge=BOX_EDGE):
    """Light value box for black text: one-pixel edge, light face with a soft top shade."""
    l, t, r, b = box
    fill(im, box, edge)
    vgradient(im, (l + 1, t + 1, r - 1, b - 1), lerp(face, BOX_SHADE, 0.35), face)
    ImageDraw.Draw(im).line([(l + 1, b - 2), (r - 2, b - 2)], fill=lerp(face, WHITE, 0.5))


def led(im, cx, cy, radius, lit, colour=CYAN):
    """A round lamp: dark when off, colour with a soft halo when lit."""
    if lit:
        ellipse(im, (cx - radius - 2.5, cy - radius - 2.5, cx + radius + 2.5, cy + radius + 2.5),
                lerp(im.getpixel((int(cx), int(cy))), colour, 0.25))
        ellipse(im, (cx - radius, cy - radius, cx + radius, cy + radius), colour)
        ellipse(im, (cx - radius * 0.45, cy - radius * 0.6, cx + radius * 0.25, cy),
                lerp(colour, WHITE, 0.6))
    else:
        ellipse(im, (cx - radius - 0.5, cy - radius - 0.5, cx + radius + 0.5, cy + radius + 0.5),
                EDGE_LO)
        ellipse(im, (cx - radius, cy - radius, cx + radius, cy + radius), LED_OFF)


def button(im, box, lit, radius=3):
    """Square push button face: raised grey when off, dark teal with a cyan rim when lit."""
    l, t, r, b = box
    round_rect(im, box, radius, EDGE_LO)
    if lit:
        round_rect(im, (l + 1, t + 1, r - 1, b - 1), radius - 1, CYAN)
        round_rect(im, (l + 2, t + 2, r - 2, b - 2), max(1, radius - 1), BUTTON_LIT)
    else:
        round_rect(im, (l + 1, t + 1, r - 1, b - 1), radius - 1, EDGE_HI)
        inner = (l + 2, t + 2, r - 1, b - 1)
        round_rect(im, inner, max(1, radius - 1), lerp(BUTTON, EDGE_LO, 0.4))
        face = (l + 2, t + 2, r - 2, b - 2)
        sub = new(face[2] - face[0], face[3] - face[1])
        vgradient(sub, (0, 0, sub.width, sub.height), lerp(BUTTON, EDGE_HI, 0.35), BUTTON)
        im.paste(sub, face[:2])


def symbol_colour(lit):
    return CYAN if lit else TEXT_DIM


def stack(frames):
    """Stacks equally sized frames vertically into one bitmap."""
    w, h = frames[0].size
    out = new(w, h * len(frames))
    for k, f in enumerate(frames):
        out.paste(f, (0, k * h))
    return out


def arc(im, box, start, end, colour, width=1.5):
    """Smooth arc of the ellipse in box from start to end degrees (0 = 3 o'clock, clockwise)."""
    l, t, r, b = box
    il, it = int(l), int(t)
    ir, ib = int(-(-r // 1)), int(-(-b // 1))

    def draw(d, s):
        d.arc([(l - il) * s, (t - it) * s, (r - il) * s - 1, (b - it) * s - 1], start, end,
              fill=255, width=max(1, round(width * s)))

    paint(im, colour, draw, (il, it, ir, ib))


def triangle(im, cx, cy, size, direction, colour):
    """Small solid arrow head centred on cx, cy pointing "up", "down", "left" or "right"."""
    h = size / 2
    pts = {
        "up": [(cx - h, cy + h * 0.6), (cx + h, cy + h * 0.6), (cx, cy - h * 0.6)],
        "down": [(cx - h, cy - h * 0.6), (cx + h, cy - h * 0.6), (cx, cy + h * 0.6)],
        "left": [(cx + h * 0.6, cy - h), (cx + h * 0.6, cy + h), (cx - h * 0.6, cy)],
        "right": [(cx - h * 0.6, cy - h), (cx - h * 0.6, cy + h), (cx + h * 0.6, cy)],
    }[direction]
    polygon(im, pts, colour)


def page(title):
    """A settings-panel page: dark face, sunken rim, title with a short accent bar under it."""
    im = new(550, 347, PANEL)
    vgradient(im, (0, 0, 550, 347), lerp(PANEL, BODY, 0.35), PANEL)
    bevel(im, (0, 0, 550, 347), hi=EDGE_LO, lo=GROUP_LINE)
    text(im, (12, 9), title, TITLE_SIZE, TITLE, bold=True)
    fill(im, (12, 29, 40, 31), ACCENT)
    return im


def group(im, box, caption=None, colour=GROUP_LINE):
    """Thin rounded outline grouping related elements, with an optional caption on its top edge."""
    l, t, r, b = box
    d = ImageDraw.Draw(im)
    d.rounded_rectangle([l, t, r - 1, b - 1], radius=4, outline=colour)
    if caption:
        w = text_width(caption, SMALL)
        fill(im, (l + 6, t - 1, l + 10 + int(w) + 2, t + 2), im.getpixel((l + 3, t + 3)))
        text(im, (l + 9, t), caption, SMALL, TEXT_DIM, anchor="lm")
