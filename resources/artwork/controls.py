"""Buttons, switches, value boxes, meters and strips: every bitmap smaller than a page."""

import math

from PIL import Image, ImageDraw

from . import skin
from .skin import (ACCENT, ACCENT_DARK, BODY, BOX_EDGE, BOX_FACE, CYAN, EDGE_HI, EDGE_LO,
                   GROUP_LINE, PANEL, RECESS, SMALL, TEXT, TEXT_DIM, button, fill, lerp, new,
                   stack, text)

DRAWERS = {}  # bitmap id -> function(layout) returning an RGB image or (image, opaque mask)


def bitmap(*ids):
    def register(fn):
        for i in ids:
            DRAWERS[i] = fn
        return fn

    return register


def segments(width, count):
    """Left edges of count equal segments of width pixels, plus width itself."""
    return [round(k * width / count) for k in range(count)] + [width]


# ---- band toggles and small buttons ------------------------------------------------------------


def power_symbol(im, cx, cy, r, colour):
    skin.arc(im, (cx - r, cy - r, cx + r, cy + r), -50, 230, colour, 1.6)
    skin.polyline(im, [(cx, cy - r - 1.5), (cx, cy - 0.5)], colour, 1.6)


def knee_symbol(im, box, colour, bypassed):
    """Transfer curve: a bent line (compressing) or a straight diagonal (bypassed)."""
    l, t, r, b = box
    if bypassed:
        skin.polyline(im, [(l, b), (r, t)], colour, 1.6)
    else:
        mx, my = l + (r - l) * 0.55, t + (b - t) * 0.45
        skin.polyline(im, [(l, b), (mx, my), (r, t + (b - t) * 0.22)], colour, 1.6)


@bitmap(10006)
def power_toggle(L):
    frames = []
    for lit in (True, False):  # frame 0: band on, frame 1: band off
        im = new(31, 31)
        button(im, (0, 0, 31, 31), lit)
        power_symbol(im, 15.5, 16, 6.5, skin.symbol_colour(lit))
        frames.append(im)
    return stack(frames)


@bitmap(10003)
def comp_toggle(L):
    frames = []
    for lit in (True, False):  # frame 0: compressor on, frame 1: bypassed
        im = new(31, 31)
        button(im, (0, 0, 31, 31), lit)
        knee_symbol(im, (8.5, 8.5, 22.5, 22.5), skin.symbol_colour(lit), bypassed=not lit)
        frames.append(im)
    return stack(frames)


@bitmap(10004)
def monitor_toggle(L):
    frames = []
    # Frame 0: the processed output is heard (normal state, lamp lit like every "on" button);
    # frame 1: the untreated input is heard, a warning lamp in the accent colour.
    for processed in (True, False):
        im = new(25, 25)
        button(im, (0, 0, 25, 25), processed)
        skin.led(im, 12.5, 12.5, 4, True, CYAN if processed else ACCENT)
        frames.append(im)
    return stack(frames)


def small_switch_frames(colour=CYAN):
    frames = []
    for on in (True, False):  # frame 0 looks on, frame 1 off
        im = new(25, 25, PANEL)
        button(im, (0, 0, 25, 25), on)
        skin.led(im, 12.5, 12.5, 4, on, colour)
        frames.append(im)
    return frames


@bitmap(10012)
def small_switch(L):
    return stack(small_switch_frames())


@bitmap(10033)
def reduction_switch(L):
    """Spare: on/off switch in the accent colour (for the stored reduction display switch)."""
    return stack(small_switch_frames(ACCENT))


@bitmap(10005)
def page_selector(L):
    edges = segments(211, 7)
    frames = []
    for lit_k in range(7):
        im = new(211, 25)
        for k in range(7):
            l, r = edges[k], edges[k + 1]
            lit = k == lit_k
            button(im, (l, 0, r - 1 if k < 6 else r, 25), lit)
            text(im, ((l + r - 1) / 2, 12.5), "ABCDEFG"[k], 12, CYAN if lit else TEXT,
                 anchor="mm", bold=True)
        frames.append(im)
    return stack(frames)


@bitmap(10020)
def channel_buttons(L):
    frames = []
    for lit_k in range(5):  # frame k lights the k-th button from the left, band 5 - k
        im = new(155, 31, PANEL)
        for k in range(5):
            lit = k == lit_k
            button(im, (31 * k, 0, 31 * k + 31, 31), lit)
            text(im, (31 * k + 15.5, 15.5), str(5 - k), 13, CYAN if lit else TEXT, anchor="mm",
                 bold=True)
        frames.append(im)
    return stack(frames)


# ---- strips and value boxes --------------------------------------------------------------------


@bitmap(10007)
def strip_background(L):
    """Recessed strip; the gaps between the four boxes carry the band numbers 5 .. 1."""
    im = new(465, 21, RECESS)
    skin.bevel(im, (0, 0, 465, 21), hi=EDGE_LO, lo=GROUP_LINE)
    left = L.rects["CrossoverStrip"].left
    box_w = L.bitmap("StripBox").width
    lefts = sorted(x - left for x in L.ints["StripBoxX"])
    gaps = [(1, lefts[0] - 1)] + [(lefts[i] + box_w + 1, lefts[i + 1] - 1) for i in range(3)]
    gaps.append((lefts[3] + box_w + 1, 464))
    for band, (a, b) in zip("54321", gaps):
        cx = (a + b) / 2
        ImageDraw.Draw(im).line([(a + 3, 10), (b - 3, 10)], fill=lerp(RECESS, GROUP_LINE, 0.6))
        fill(im, (int(cx) - 7, 4, int(cx) + 8, 17), RECESS)
        text(im, (cx, 10.5), band, SMALL, TEXT_DIM, anchor="mm", bold=True)
    return im


def plain_box(w, h, face=BOX_FACE, background=PANEL):
    im = new(w, h, background)
    skin.value_box(im, (0, 0, w, h), face=face)
    return im


@bitmap(10008)
def strip_box(L):
    return plain_box(67, 19)


@bitmap(10011)
def value_box(L):
    im = new(77, 27, PANEL)
    skin.round_rect(im, (0, 0, 77, 27), 4, BOX_EDGE)
    skin.round_rect(im, (1, 1, 76, 26), 3, BOX_FACE)
    skin.vgradient(im, (3, 1, 74, 6), skin.lerp(BOX_FACE, skin.BOX_SHADE, 0.4), BOX_FACE)
    return im


@bitmap(10034)
def value_box_active(L):
    """Spare: a value box while it is being dragged (cyan rim)."""
    im = new(77, 27, PANEL)
    skin.round_rect(im, (0, 0, 77, 27), 4, CYAN)
    skin.round_rect(im, (2, 2, 75, 25), 3, BOX_FACE)
    return im


@bitmap(10027, 10055)
def small_box(L):
    return plain_box(68, 14)


@bitmap(10056)
def peak_box(L):
    return plain_box(45, 12)


@bitmap(10057)
def level_box(L):
    return plain_box(42, 15)


@bitmap(10041)
def band_value_box(L):
    return plain_box(61, 16)


@bitmap(10042)
def band_comp_value_box(L):
    """Threshold and ratio rows: the same box with a faint warm tint that marks compression."""
    return plain_box(61, 16, face=(236, 224, 230))


def rounded_box_with_mask(w, h, face, edge):
    im = new(w, h, skin.TRANSPARENT)
    mask = Image.new("L", (w, h), 0)
    ImageDraw.Draw(mask).rounded_rectangle([0, 0, w - 1, h - 1], radius=3, fill=255)
    d = ImageDraw.Draw(im)
    d.rounded_rectangle([0, 0, w - 1, h - 1], radius=3, fill=edge)
    d.rounded_rectangle([1, 1, w - 2, h - 2], radius=2, fill=face)
    return im, mask


@bitmap(10043)
def matrix_band_box(L):
    """Drawn with black as the transparent colour: the rounded corners let the row show."""
    return rounded_box_with_mask(61, 15, BOX_FACE, BOX_EDGE)


@bitmap(10031)
def matrix_band_box_states(L):
    """Spare: the page F band box normal (frame 0) and selected (frame 1, cyan rim)."""
    a, mask_a = rounded_box_with_mask(61, 15, BOX_FACE, BOX_EDGE)
    b, mask_b = rounded_box_with_mask(61, 15, BOX_FACE, CYAN)
    mask = Image.new("L", (61, 30), 0)
    mask.paste(mask_a, (0, 0))
    mask.paste(mask_b, (0, 15))
    return stack([a, b]), mask


# ---- multi-control column ----------------------------------------------------------------------


def spinner(im, x, y, pressed):
    """A 25 x 25 thumb wheel: ribbed face, arrows up and down; lit rim when pressed."""
    cx, cy = x + 12.5, y + 12.5
    skin.ellipse(im, (x, y, x + 25, y + 25), EDGE_LO)
    skin.ellipse(im, (x + 1, y + 1, x + 24, y + 24), CYAN if pressed else EDGE_HI)
    face = lerp(skin.BUTTON_LIT, BODY, 0.2) if pressed else skin.BUTTON
    skin.ellipse(im, (x + 2.5, y + 2.5, x + 22.5, y + 22.5), face)
    for k in range(-3, 4):  # horizontal ribs of the wheel
        yy = cy + k * 2.6
        half = math.sqrt(max(0.0, 8.5 ** 2 - (yy - cy) ** 2))
        if abs(k) <= 1:
            continue
        skin.polyline(im, [(cx - half + 1, yy), (cx + half - 1, yy)],
                      lerp(face, EDGE_LO, 0.45), 1.0)
    arrow = CYAN if pressed else TEXT
    skin.triangle(im, cx, cy - 3.2, 7, "up", arrow)
    skin.triangle(im, cx, cy + 3.2, 7, "down", arrow)


@bitmap(10009)
def multi_control_column(L):
    im = new(35, 305, RECESS)
    skin.bevel(im, (0, 0, 35, 305), hi=EDGE_LO, lo=GROUP_LINE)
    pitch = L.ints["SpinnerPitch"]
    for k in range(L.ints["SpinnerRows"]):
        if k:
            ImageDraw.Draw(im).line([(4, 45 * k), (30, 45 * k)], fill=lerp(RECESS, GROUP_LINE, 0.7))
        spinner(im, 5, 5 + pitch * k, False)
    return im


@bitmap(10010)
def pressed_spinner(L):
    im = new(25, 25, RECESS)
    spinner(im, 0, 0, True)
    return im


# ---- round switches ----------------------------------------------------------------------------


def round_switch(words):
    """74 x 74 rotary switch with two positions; frame k points at words[k] and lights it."""
    frames = []
    for k in range(2):
        im = new(74, 74, PANEL)
        cx, cy, r = 37, 30, 19
        for side in range(2):  # position dots
            ang = math.radians(-90 + (-48 if side == 0 else 48))
            dx, dy = math.cos(ang) * (r + 6), math.sin(ang) * (r + 6)
            colour = CYAN if side == k else TEXT_DIM
            skin.ellipse(im, (cx + dx - 2, cy + dy - 2, cx + dx + 2, cy + dy + 2), colour)
        skin.ellipse(im, (cx - r - 1, cy - r - 1, cx + r + 1, cy + r + 1), EDGE_LO)
        skin.ellipse(im, (cx - r, cy - r, cx + r, cy + r), EDGE_HI)
        knob = new(2 * r - 2, 2 * r - 2)
        skin.vgradient(knob, (0, 0, knob.width, knob.height), (98, 104, 116), (50, 54, 62))
        mask = Image.new("L", knob.size, 0)
        big = Image.new("L", (knob.width * 4, knob.height * 4), 0)
        ImageDraw.Draw(big).ellipse([0, 0, big.width - 1, big.height - 1], fill=255)
        mask = big.resize(knob.size, Image.Resampling.BOX)
        im.paste(knob, (cx - r + 1, cy - r + 1), mask)
        ang = math.radians(-90 + (-48 if k == 0 else 48))
        skin.polyline(im, [(cx + math.cos(ang) * 5, cy + math.sin(ang) * 5),
                           (cx + math.cos(ang) * (r - 4), cy + math.sin(ang) * (r - 4))],
                      CYAN, 2.4)
        for side, word in enumerate(words):  # outer edges, so that "dynamic smooth" fits
            anchor, x = ("lm", 1) if side == 0 else ("rm", 73)
            text(im, (x, 66), word, SMALL, CYAN if side == k else TEXT_DIM, anchor=anchor)
        frames.append(im)
    return stack(frames)


@bitmap(10013)
def release_mode_switch(L):
    return round_switch(("auto", "manual"))


@bitmap(10019)
def attack_curve_switch(L):
    return round_switch(("hard", "soft"))


@bitmap(10021)
def auto_release_type_switch(L):
    return round_switch(("dynamic", "smooth"))


# ---- page A meter and threshold marker ---------------------------------------------------------


def page_a_meter(lit):
    im = new(14, 250, RECESS)
    trough = lerp(RECESS, EDGE_LO, 0.6)
    fill(im, (0, 0, 3, 250), trough)
    fill(im, (7, 0, 14, 250), trough)
    d = ImageDraw.Draw(im)
    for row in range(0, 251, 25):  # every 5 dB, longer every 10 dB
        y = min(row, 249)
        d.line([(3, y), (6 if row % 50 == 0 else 5, y)], fill=TEXT_DIM if row % 50 == 0 else GROUP_LINE)
    if lit:
        fill(im, (12, 0, 14, 250), ACCENT_DARK)
        fill(im, (7, 0, 12, 250), ACCENT)
        fill(im, (2, 0, 3, 250), ACCENT_DARK)
        fill(im, (0, 0, 2, 250), ACCENT)
    return im


@bitmap(10014)
def page_a_meter_bg(L):
    return page_a_meter(False)


@bitmap(10015)
def page_a_meter_lit(L):
    return page_a_meter(True)


@bitmap(10018)
def threshold_strip(L):
    """Track of the threshold marker: 0 dB at row 12, 5 px per dB, -40 dB at row 212."""
    im = new(24, 223, PANEL)
    skin.sunken(im, (10, 10, 14, 215), RECESS)
    d = ImageDraw.Draw(im)
    for db in range(0, 41, 5):
        y = 12 + 5 * db
        major = db % 10 == 0
        colour = TEXT_DIM if major else GROUP_LINE
        d.line([(2 if major else 4, y), (7, y)], fill=colour)
        d.line([(17, y), (21 if major else 19, y)], fill=colour)
    return im


@bitmap(10017)
def threshold_marker(L):
    """A cyan tag pointing left at the meter; its dark line (row 12) marks the threshold.
    Drawn transparently: everything outside the tag is the key colour black."""
    im = new(24, 24, skin.TRANSPARENT)
    mask = Image.new("L", (24, 24), 0)
    shape = [(0, 12), (8, 5), (23, 5), (23, 19), (8, 19)]
    ImageDraw.Draw(mask).polygon(shape, fill=255)
    d = ImageDraw.Draw(im)
    d.polygon(shape, fill=CYAN)
    d.line([(9, 6), (22, 6)], fill=lerp(CYAN, skin.WHITE, 0.6))
    d.line([(9, 18), (22, 18)], fill=skin.CYAN_DIM)
    d.line([(23, 6), (23, 18)], fill=skin.CYAN_DIM)
    d.line([(1, 12), (23, 12)], fill=(16, 40, 44))
    return im, mask


# ---- page B ------------------------------------------------------------------------------------


@bitmap(10038)
def band_meter(L):
    """Band meter of page B: 0 dB at row 6, 4 px per dB down to row 165."""
    im = new(61, 173, RECESS)
    skin.bevel(im, (0, 0, 61, 173), hi=EDGE_LO, lo=GROUP_LINE)
    d = ImageDraw.Draw(im)
    for db in range(0, 40, 5):
        y = 6 + 4 * db
        colour = skin.GRID_STRONG if db % 10 == 0 else skin.GRID
        d.line([(2, y), (58, y)], fill=colour)
    d.line([(2, 165), (58, 165)], fill=skin.GRID_STRONG)
    return im


@bitmap(10044)
def channel_header(L):
    cols = sorted(L.ints["PageBColumnX"])  # band 5 .. band 1, left to right
    left = L.rects["PageBHeaderAmplitude"].left
    frames = []
    for k in range(5):  # frame k lights band k + 1
        im = new(461, 15, PANEL)
        for j, x in enumerate(cols):
            band = 5 - j
            lit = band == k + 1
            x0 = x - left
            skin.round_rect(im, (x0, 0, x0 + 61, 15), 3, skin.BUTTON_LIT if lit else RECESS)
            text(im, (x0 + 30.5, 7.5), f"band {band}", SMALL, CYAN if lit else TEXT_DIM,
                 anchor="mm", bold=lit)
        frames.append(im)
    return stack(frames)


def view_icon(im, l, t, kind, colour):
    if kind == "amplitude":  # level bars
        for i, hgt in enumerate((7, 12, 9, 14)):
            fill(im, (l + 5 + 4 * i, t + 19 - hgt, l + 8 + 4 * i, t + 19), colour)
    else:  # attack and release envelope
        skin.polyline(im, [(l + 4, t + 18), (l + 8, t + 6), (l + 13, t + 7), (l + 21, t + 18)],
                      colour, 1.5)


@bitmap(10045)
def view_buttons(L):
    frames = []
    for lit_k in range(2):  # frame 0: amplitude view lit, frame 1: envelope view lit
        im = new(56, 25, PANEL)
        for k, (l, kind) in enumerate(((0, "amplitude"), (31, "envelope"))):
            lit = k == lit_k
            button(im, (l, 0, l + 25, 25), lit)
            view_icon(im, l, 0, kind, skin.symbol_colour(lit))
        frames.append(im)
    return stack(frames)


def state_pill(words):
    """61 x 21 slide switch: the lamp sits at the side of the current state, which is named."""
    frames = []
    for k in range(2):
        im = new(61, 21, PANEL)
        skin.round_rect(im, (0, 1, 61, 20), 9, EDGE_LO)
        skin.round_rect(im, (1, 2, 60, 19), 8, skin.BUTTON)
        lamp_x = 8.5 if k == 0 else 52.5
        skin.led(im, lamp_x, 10.5, 3, True)
        text(im, (34 if k == 0 else 27, 10.5), words[k], SMALL, skin.TITLE, anchor="mm")
        frames.append(im)
    return stack(frames)


@bitmap(10046)
def band_attack_curve(L):
    return state_pill(("hard", "soft"))


@bitmap(10047)
def band_release_mode(L):
    return state_pill(("auto", "manual"))


@bitmap(10048)
def band_auto_release(L):
    return state_pill(("dynamic", "smooth"))


# ---- page C and D ------------------------------------------------------------------------------


def segmented(width, height, labels, lit_k, icon=None, size=SMALL):
    im = new(width, height, PANEL)
    edges = segments(width, len(labels))
    for k, word in enumerate(labels):
        l, r = edges[k], edges[k + 1]
        lit = k == lit_k
        button(im, (l, 0, r - (1 if k < len(labels) - 1 else 0), height), lit)
        colour = CYAN if lit else TEXT
        if icon:
            icon(im, k, (l, 0, r, height), skin.symbol_colour(lit))
            text(im, ((l + r - 1) / 2, height - 9), word, size, colour, anchor="mm", bold=lit)
        else:
            text(im, ((l + r - 1) / 2, height / 2), word, size, colour, anchor="mm", bold=lit)
    return im


@bitmap(10028)
def clip_curve(L):
    labels = ("soft", "2", "3", "4", "hard")
    return stack([segmented(153, 25, labels, k) for k in range(5)])


def slope_icon(im, k, box, colour):
    """Frequency response with a steeper skirt for each slope."""
    l, t, r, b = box
    cx = (l + r) / 2
    drop = (6, 11, 16)[k]
    skin.polyline(im, [(cx - 14, t + 8), (cx - 2, t + 8), (cx - 2 + 16 / (k + 1.4), t + 8 + drop)],
                  colour, 1.5)


@bitmap(10024)
def cutoff_curve(L):
    labels = ("-24", "-48", "-96")
    return stack([segmented(143, 40, labels, k, icon=slope_icon) for k in range(3)])


def filter_icon(im, k, box, colour):
    l, t, r, b = box
    cx = (l + r) / 2
    if k == 0:  # gentle, overlapping slopes
        skin.polyline(im, [(cx - 30, t + 14), (cx - 8, t + 14), (cx + 10, t + 40)], colour, 1.6)
        skin.polyline(im, [(cx - 10, t + 40), (cx + 8, t + 14), (cx + 30, t + 14)], colour, 1.6)
    else:  # brick wall
        skin.polyline(im, [(cx - 30, t + 14), (cx - 2, t + 14), (cx - 1, t + 42)], colour, 1.6)
        skin.polyline(im, [(cx + 1, t + 42), (cx + 2, t + 14), (cx + 30, t + 14)], colour, 1.6)


@bitmap(10023)
def filter_type(L):
    labels = ("Q", "brickwall")
    return stack([segmented(178, 74, labels, k, icon=filter_icon, size=skin.LABEL)
                  for k in range(2)])


# ---- page E ------------------------------------------------------------------------------------


@bitmap(10050)
def curve_mode(L):
    return stack([segmented(64, 25, ("L / R", "L+R"), k) for k in range(2)])


def band_x(frequency):
    """Analyser x of a frequency: nine bands per octave from 25 Hz, 5 px per band."""
    return 45 * math.log2(frequency / 25)


GRAPH_FREQUENCIES = (50, 100, 200, 500, 1000, 2000, 5000, 10000, 20000)


@bitmap(10051)
def analyser_graph(L):
    im = new(436, 200, RECESS)
    d = ImageDraw.Draw(im)
    for x in range(0, 436, 5):  # one tick per analyser band
        d.line([(x, 197), (x, 199)], fill=skin.GRID)
    for db in range(10, 100, 10):  # 2 px per dB
        y = 2 * db
        d.line([(0, y), (435, y)], fill=skin.GRID_STRONG if db % 20 == 0 else skin.GRID)
    for f in GRAPH_FREQUENCIES:
        x = min(435, round(band_x(f)))
        d.line([(x, 0), (x, 196)], fill=skin.GRID_STRONG if f in (100, 1000, 10000) else skin.GRID)
    skin.bevel(im, (0, 0, 436, 200), hi=EDGE_LO, lo=GROUP_LINE)
    return im


# ---- page F ------------------------------------------------------------------------------------

MATRIX_ITEMS = (("input", "level"), ("output", "level"), ("threshold",), ("ratio",),
                ("attack", "curve"), ("attack", "time"), ("release", "mode"),
                ("auto", "release", "type"), ("release", "time"), ("release", "depth"))


def item_icon(im, k, cx, cy, colour):
    w = 1.5
    if k in (0, 1):  # level: a fader
        skin.polyline(im, [(cx - 8, cy + 5), (cx + 8, cy - 5)], colour, w)
        skin.triangle(im, cx + (8 if k == 0 else -8), cy + (-5 if k == 0 else 5), 6,
                      "right" if k == 0 else "left", colour)
    elif k == 2:  # threshold: a line with a knee above
        skin.polyline(im, [(cx - 10, cy), (cx + 10, cy)], colour, w)
        skin.triangle(im, cx, cy - 4, 6, "down", colour)
    elif k == 3:  # ratio: a bent transfer curve
        knee_symbol(im, (cx - 9, cy - 7, cx + 9, cy + 7), colour, bypassed=False)
    elif k == 4:  # attack curve: hard and soft corner
        skin.polyline(im, [(cx - 10, cy + 6), (cx - 6, cy - 6), (cx + 10, cy - 6)], colour, w)
    elif k == 5:  # attack time: a rising ramp
        skin.polyline(im, [(cx - 10, cy + 6), (cx, cy - 6), (cx + 10, cy - 6)], colour, w)
    elif k == 6:  # release mode: A / M
        skin.polyline(im, [(cx - 10, cy - 6), (cx - 2, cy - 6), (cx + 10, cy + 6)], colour, w)
    elif k == 7:  # auto release type: a wavy decay
        skin.polyline(im, [(cx - 10, cy - 6), (cx - 4, cy - 1), (cx + 1, cy + 2), (cx + 10, cy + 6)],
                      colour, w)
    elif k == 8:  # release time: a falling ramp
        skin.polyline(im, [(cx - 10, cy - 6), (cx + 10, cy + 6)], colour, w)
    else:  # release depth: a short fall to a floor
        skin.polyline(im, [(cx - 10, cy - 6), (cx, cy + 2), (cx + 10, cy + 2)], colour, w)


@bitmap(10035)
def matrix_items(L):
    size = L.ints["PageFItemSize"]
    left, top = L.rects["PageFItems"].left, L.rects["PageFItems"].top
    xs = [x - left for x in L.ints["PageFItemX"]]
    ys = [y - top for y in L.ints["PageFItemY"]]
    frames = []
    for lit_k in range(10):
        im = new(349, 133, PANEL)
        for k, words in enumerate(MATRIX_ITEMS):
            x, y = xs[k // 2], ys[k % 2]
            lit = k == lit_k
            button(im, (x, y, x + size, y + size), lit, radius=5)
            item_icon(im, k, x + size / 2, y + 15, skin.symbol_colour(lit))
            n = len(words)
            for i, w in enumerate(words):
                yy = y + 40 + (i - (n - 1) / 2) * 11 + (3 if n == 1 else 2)
                text(im, (x + size / 2, yy), w, SMALL, CYAN if lit else TEXT, anchor="mm",
                     bold=lit)
        frames.append(im)
    return stack(frames)


@bitmap(10036)
def matrix_channel_row(L):
    row_left = L.rects["PageFChannelRow"].left
    width = L.ints["PageFChannelLabelWidth"]
    frames = []
    for k in range(5):  # frame k lights band k + 1
        im = new(305, 11, PANEL)
        for band, x in zip(range(1, 6), L.ints["PageFBandBoxX"]):
            x0 = x - row_left
            lit = band == k + 1
            skin.round_rect(im, (x0, 0, x0 + width, 11), 3, skin.BUTTON_LIT if lit else RECESS)
            text(im, (x0 + width / 2, 5.5), str(band), SMALL, CYAN if lit else TEXT_DIM,
                 anchor="mm", bold=True)
        frames.append(im)
    return stack(frames)


def arrow_handle(direction_pair):
    frames = []
    for pressed in (True, False):  # frame 0 pressed, frame 1 normal
        im = new(25, 15, PANEL)
        button(im, (0, 0, 25, 15), pressed)
        colour = CYAN if pressed else TEXT
        a, b = direction_pair
        if a == "up":
            skin.triangle(im, 12.5, 4.5, 7, "up", colour)
            skin.triangle(im, 12.5, 10.5, 7, "down", colour)
        else:
            skin.triangle(im, 8, 7.5, 7, "left", colour)
            skin.triangle(im, 17, 7.5, 7, "right", colour)
        frames.append(im)
    return stack(frames)


@bitmap(10037)
def matrix_arrow(L):
    return arrow_handle(("up", "down"))


@bitmap(10032)
def matrix_side_arrow(L):
    return arrow_handle(("left", "right"))


@bitmap(10030)
def matrix_value_row(L):
    row = L.rects["PageFValueRow"]
    im = new(401, 35, RECESS)
    skin.bevel(im, (0, 0, 401, 35), hi=EDGE_LO, lo=GROUP_LINE)
    for x in L.ints["PageFBandBoxX"]:
        x0 = x - row.left
        fill(im, (x0, 0, x0 + 61, 15), lerp(RECESS, EDGE_LO, 0.5))
    text(im, (200.5, 25), "drag a value up or down; the arrows move all five", SMALL, TEXT_DIM,
         anchor="mm")
    return im


# ---- output stage ------------------------------------------------------------------------------


def output_meter(lit):
    """45 x 280: bars at columns 0-2 and 42-44 (rms), 6-12 and 32-38 (peak); 7 px per dB."""
    im = new(45, 280, RECESS)
    trough = lerp(RECESS, EDGE_LO, 0.7)
    for a, b in ((0, 3), (6, 13), (32, 39), (42, 45)):
        fill(im, (a, 0, b, 280), trough)
    d = ImageDraw.Draw(im)
    for db in range(0, 41, 5):
        y = min(7 * db, 279)
        d.point([(13, y), (31, y)], fill=TEXT_DIM)  # one-pixel ticks beside the bars
        label = "0" if db == 0 else f"-{db}"
        ty = min(max(7 * db, 5), 274)
        text(im, (22.5, ty), label, SMALL, TEXT_DIM, anchor="mm")
    if lit:
        for dark, bright in (((11, 13), (6, 11)), ((37, 39), (32, 37)), ((2, 3), (0, 2)),
                             ((44, 45), (42, 44))):
            fill(im, (dark[0], 0, dark[1], 280), ACCENT_DARK)
            fill(im, (bright[0], 0, bright[1], 280), ACCENT)
    return im


@bitmap(10052)
def output_meter_scale(L):
    return output_meter(False)


@bitmap(10053)
def output_meter_lit(L):
    return output_meter(True)
