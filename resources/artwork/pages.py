"""The large pictures: editor background, the seven settings pages, the output stage column."""

import math

from PIL import Image, ImageDraw

from . import skin
from .controls import GRAPH_FREQUENCIES, analyser_graph, band_x, bitmap, knee_symbol
from .skin import (ACCENT, CYAN, EDGE_HI, EDGE_LO, GROUP_LINE, LABEL, PANEL, PINK, RECESS,
                   SMALL, TEXT, TEXT_DIM, TITLE, fill, lerp, new, text)

PRODUCT = "Quorvanelle"
VENDOR = "Ferrowyn"
VERSION = "version 1.0"

PANEL_ORIGIN = (128, 175)  # the page bitmaps are drawn here


def local(L, name, origin=PANEL_ORIGIN):
    return L.rect(name, origin)


def label_above(im, r, s, size=LABEL, colour=TEXT, align="l"):
    """Caption just above rectangle r, left-aligned or centred ("m")."""
    x = r.left if align == "l" else (r.left + r.right) / 2
    text(im, (x, r.top - 4), s, size, colour, anchor=align + "s")


# ---- editor background -------------------------------------------------------------------------


@bitmap(10001)
def background(L):
    im = new(785, 570)
    skin.vgradient(im, (0, 0, 785, 570), lerp(skin.BODY, skin.BODY_LIGHT, 0.5), skin.BODY)
    d = ImageDraw.Draw(im)

    def plate(box):
        l, t, r, b = box
        skin.round_rect(im, box, 5, EDGE_LO)
        skin.round_rect(im, (l + 1, t + 1, r - 1, b - 1), 4, lerp(skin.BODY_LIGHT, EDGE_HI, 0.25))
        sub = new(r - l - 3, b - t - 3)
        skin.vgradient(sub, (0, 0, sub.width, sub.height), skin.BODY_LIGHT, skin.BODY)
        m = Image.new("L", (sub.width * 4, sub.height * 4), 0)
        ImageDraw.Draw(m).rounded_rectangle([0, 0, m.width - 1, m.height - 1], radius=12, fill=255)
        im.paste(sub, (l + 2, t + 2), m.resize(sub.size, Image.Resampling.BOX))

    # Brand, top left.
    text(im, (10, 8), PRODUCT, 19, TITLE, bold=True)
    fill(im, (11, 33, 41, 35), ACCENT)
    text(im, (46, 34), VENDOR, SMALL, TEXT_DIM, anchor="lm")

    # Top section: crossover strip, band switches, link strip.
    plate((124, 4, 676, 170))
    xs = L.rects["CrossoverStrip"]
    text(im, ((xs.left + xs.right) / 2, xs.top - 5), "cross-over frequency", LABEL, TEXT,
         anchor="ms")
    text(im, (xs.right + 6, (xs.top + xs.bottom) / 2), "Hz", SMALL, TEXT_DIM, anchor="lm")
    ls = L.rects["LinkStrip"]
    text(im, ((ls.left + ls.right) / 2, ls.top - 5), "multiband gain reduction link", LABEL, TEXT,
         anchor="ms")
    text(im, (ls.right + 6, (ls.top + ls.bottom) / 2), "%", SMALL, TEXT_DIM, anchor="lm")
    y = L.ints["BandToggleY"]
    size = L.bitmap("PowerToggle").frame_height
    for caption, key in (("power", "PowerToggleX"), ("comp", "CompToggleX")):
        row = L.ints[key]  # band 1 .. 5
        left, right = min(row), max(row) + size
        skin.sunken(im, (left - 8, y - 17, right + 8, y + size + 15), lerp(skin.BODY, RECESS, 0.45))
        for band, x in zip(range(1, 6), row):
            text(im, (x + size / 2, y - 4), str(band), LABEL, TEXT, anchor="ms", bold=True)
        text(im, ((left + right) / 2, y + size + 3), caption, LABEL, TEXT, anchor="ma")

    # Left column: multi control and its seven row labels.
    mc = L.rects["MultiControl"]
    plate((2, 48, 122, 392))
    text(im, (mc.right, mc.top - 6), "multi control", LABEL, TEXT, anchor="rs")
    rows = ("comp in", "comp out", "thresh", "ratio", "attack", "release time", "release depth")
    for k, name in enumerate(rows):
        cy = L.ints["FirstSpinnerY"] + L.ints["SpinnerPitch"] * k + 12.5
        text(im, (mc.left - 4, cy), name, LABEL, TEXT, anchor="rm")

    # Band order legend under the column.
    plate((2, 400, 122, 506))
    text(im, (12, 412), "bands", LABEL, TEXT, bold=True)
    text(im, (12, 430), "5  lowest", SMALL, TEXT_DIM)
    text(im, (12, 444), "1  highest", SMALL, TEXT_DIM)
    text(im, (12, 464), "drag to change", SMALL, TEXT_DIM)
    text(im, (12, 478), "right-click: reset", SMALL, TEXT_DIM)

    # Monitor, bottom left.
    mon = L.rects["Monitor"]
    plate((2, 514, 122, 566))
    text(im, (mon.left - 6, (mon.top + mon.bottom) / 2), "monitor", LABEL, TEXT, anchor="rm")

    # Settings panel rim and the page selector.
    sp = L.rects["SettingsPanel"]
    d.rectangle([sp.left - 1, sp.top - 1, sp.right, sp.bottom], outline=EDGE_LO)
    sel = L.rects["PageSelectorButtons"]
    plate((sel.left - 96, sel.top - 5, sel.right + 18, sel.bottom + 6))
    text(im, (sel.left - 8, (sel.top + sel.bottom) / 2), "control panel", LABEL, TEXT,
         anchor="rm")
    text(im, (sp.left + 4, (sel.top + sel.bottom) / 2), f"{PRODUCT}  \u00b7  {VENDOR}",
         SMALL, TEXT_DIM, anchor="lm")
    return im


# ---- output stage ------------------------------------------------------------------------------


def dial(im, box, caption):
    """Round drag area: recessed disc, tick ring, caption; the readout box sits inside."""
    l, t, r, b = box
    skin.ellipse(im, (l, t, r, b), EDGE_LO)
    skin.ellipse(im, (l + 1, t + 1, r - 1, b - 1), GROUP_LINE)
    skin.ellipse(im, (l + 3, t + 3, r - 3, b - 3), RECESS)
    cx, cy, rad = (l + r) / 2, (t + b) / 2, (r - l) / 2
    for k in range(11):
        ang = math.radians(135 + 27 * k)
        p0 = (cx + math.cos(ang) * (rad - 9), cy + math.sin(ang) * (rad - 9))
        p1 = (cx + math.cos(ang) * (rad - 5), cy + math.sin(ang) * (rad - 5))
        skin.polyline(im, [p0, p1], CYAN if k == 5 else TEXT_DIM, 1.2)
    text(im, (cx, t + 22), caption, SMALL, TEXT, anchor="mm", bold=True)
    skin.triangle(im, l + 10, cy + 8, 6, "left", TEXT_DIM)
    skin.triangle(im, r - 10, cy + 8, 6, "right", TEXT_DIM)


@bitmap(10054)
def output_stage(L):
    origin = (L.rects["OutputStageArt"].left, L.rects["OutputStageArt"].top)
    im = new(104, 566)
    skin.vgradient(im, (0, 0, 104, 566), skin.BODY_LIGHT, skin.BODY)
    skin.bevel(im, (0, 0, 104, 566))
    text(im, (52, 12), "output", 13, TITLE, anchor="mm", bold=True)
    fill(im, (38, 22, 66, 24), ACCENT)
    m = local(L, "OutputMeters", origin)
    skin.sunken(im, (m.left - 4, m.top - 20, m.right + 4, m.bottom + 4), RECESS)
    text(im, (m.left + 6, m.top - 9), "L", SMALL, TEXT, anchor="mm", bold=True)
    text(im, (m.right - 6, m.top - 9), "R", SMALL, TEXT, anchor="mm", bold=True)
    text(im, ((m.left + m.right) / 2, m.top - 9), "dB", SMALL, TEXT_DIM, anchor="mm")
    p1, p2 = local(L, "OutputPeak1", origin), local(L, "OutputPeak2", origin)
    text(im, ((m.left + m.right) / 2, p1.top - 12), "peak hold", SMALL, TEXT, anchor="mm")
    text(im, (p1.left - 4, (p1.top + p1.bottom) / 2), "peak", SMALL, TEXT_DIM, anchor="rm")
    text(im, (p2.left - 4, (p2.top + p2.bottom) / 2), "rms", SMALL, TEXT_DIM, anchor="rm")
    md = local(L, "OutputMasterDrag", origin)
    dial(im, (md.left, md.top, md.right, md.bottom), "master")
    dry, wet = local(L, "OutputDry", origin), local(L, "OutputWet", origin)
    for r, s in ((dry, "dry"), (wet, "wet")):
        text(im, ((r.left + r.right) / 2, r.top - 4), s, LABEL, TEXT, anchor="ms")
    text(im, (52, dry.bottom + 9), "dB", SMALL, TEXT_DIM, anchor="mm")
    return im


# ---- pages -------------------------------------------------------------------------------------


def transfer_illustration(im, box, knee_label="threshold", slope_label="ratio"):
    """Static sketch of a compressor's transfer curve, naming the controls that shape it."""
    l, t, r, b = box
    d = ImageDraw.Draw(im)
    skin.sunken(im, box, lerp(PANEL, RECESS, 0.6))
    gx0, gy0, gx1, gy1 = l + 22, t + 12, r - 12, b - 22
    for i in range(1, 4):
        x = gx0 + (gx1 - gx0) * i / 4
        y = gy0 + (gy1 - gy0) * i / 4
        d.line([(x, gy0), (x, gy1)], fill=skin.GRID)
        d.line([(gx0, y), (gx1, y)], fill=skin.GRID)
    d.line([(gx0, gy0), (gx0, gy1), (gx1, gy1)], fill=GROUP_LINE)
    kx, ky = gx0 + (gx1 - gx0) * 0.55, gy1 - (gy1 - gy0) * 0.55
    skin.polyline(im, [(gx0, gy1), (gx1, gy0)], GROUP_LINE, 1.0)
    skin.polyline(im, [(gx0, gy1), (kx, ky), (gx1, ky - (gx1 - kx) * 0.35)], CYAN, 1.6)
    skin.ellipse(im, (kx - 3, ky - 3, kx + 3, ky + 3), ACCENT)
    text(im, (kx + 6, ky + 8), knee_label, SMALL, TEXT_DIM, anchor="la")
    text(im, (gx1 - 4, ky - (gx1 - kx) * 0.35 - 8), slope_label, SMALL, TEXT_DIM, anchor="rs")
    text(im, ((gx0 + gx1) / 2, gy1 + 11), "input level", SMALL, TEXT_DIM, anchor="mm")
    text(im, (gx0 - 11, (gy0 + gy1) / 2), "out", SMALL, TEXT_DIM, anchor="mm")


@bitmap(10016)
def page_a(L):
    im = skin.page("compressor settings")
    ch = local(L, "PageAChannel")
    text(im, (ch.left - 8, (ch.top + ch.bottom) / 2), "channel", LABEL, TEXT, anchor="rm")
    for name, caption in (("PageAAttack", "attack"), ("PageAReleaseDepth", "release depth"),
                          ("PageAReleaseTime", "release time"), ("PageARatio", "ratio"),
                          ("PageAThreshold", "threshold"), ("PageAInputLevel", "input level"),
                          ("PageAOutputLevel", "output level")):
        label_above(im, local(L, name), caption)
    for name, caption in (("PageAAttackCurve", "attack curve"),
                          ("PageAReleaseMode", "release mode"),
                          ("PageAAutoReleaseType", "auto release type")):
        label_above(im, local(L, name), caption, align="m")
    a, dep, rt = (local(L, n) for n in ("PageAAttack", "PageAReleaseDepth", "PageAReleaseTime"))
    skin.group(im, (a.left - 8, a.top - 22, a.right + 8, rt.bottom + 8), None)
    sw0, sw2 = local(L, "PageAAttackCurve"), local(L, "PageAAutoReleaseType")
    meter, track = local(L, "PageAMeterStrip"), local(L, "PageAThresholdTrack")
    for db in range(0, 51, 10):  # meter scale, 5 px per dB
        y = meter.top + 5 * db
        text(im, (meter.left - 4, min(y, meter.bottom - 4)), "0" if db == 0 else f"-{db}", SMALL,
             TEXT_DIM, anchor="rm")
    text(im, ((meter.left + meter.right) / 2, meter.bottom + 10), "level", SMALL, TEXT,
         anchor="mm")
    text(im, ((track.left + track.right) / 2 + 2, track.bottom + 10), "thresh", SMALL, TEXT,
         anchor="mm")
    text(im, (meter.left - 4, meter.top - 11), "dB", SMALL, TEXT_DIM, anchor="rm")
    transfer_illustration(im, (14, 46, 238, 226))
    return im


def page_b(L, view):
    amplitude = view == "amplitude"
    im = skin.page("amplitude and compression" if amplitude else "envelope")
    views, meter_sw = local(L, "PageBViews"), local(L, "PageBMeterSwitch")
    cy = (views.top + views.bottom) / 2
    text(im, (views.left - 8, cy), "view", LABEL, TEXT, anchor="rm")
    text(im, (meter_sw.left - 8, cy), "meters", LABEL, TEXT, anchor="rm")
    text(im, (views.left + 12.5, views.bottom + 8), "amp", SMALL, TEXT_DIM, anchor="mm")
    text(im, (views.left + 43.5, views.bottom + 8), "env", SMALL, TEXT_DIM, anchor="mm")
    ox, oy = PANEL_ORIGIN
    col_left = min(L.ints["PageBColumnX"]) - ox
    label_x = col_left - 6
    if amplitude:
        rows = (("PageBInputLevelY", "input level"), ("PageBOutputLevelY", "output level"),
                ("PageBThresholdY", "threshold"), ("PageBRatioY", "ratio"))
        heights = {"PageBInputLevelY": 16}
    else:
        rows = (("PageBAttackCurveY", "attack curve"), ("PageBAttackY", "attack"),
                ("PageBReleaseModeY", "release mode"), ("PageBReleaseDepthY", "release depth"),
                ("PageBReleaseTimeY", "release time"), ("PageBAutoReleaseTypeY", "auto release type"))
    pill_rows = ("PageBAttackCurveY", "PageBReleaseModeY", "PageBAutoReleaseTypeY")
    for key, caption in rows:
        y = L.ints[key] - oy
        h = 21 if key in pill_rows else 16
        text(im, (label_x, y + h / 2), caption, LABEL, TEXT, anchor="rm")
    if amplitude:
        my = L.ints["PageBMeterY"] - oy
        for db in range(0, 40, 10):
            text(im, (label_x, my + 6 + 4 * db), "0 dB" if db == 0 else f"-{db}", SMALL,
                 TEXT_DIM, anchor="rm")
        # legend of the two outlines the code draws
        ly = my + 128
        skin.frame(im, (10, ly, 22, ly + 9), CYAN)
        text(im, (26, ly + 4.5), "level", SMALL, TEXT_DIM, anchor="lm")
        skin.frame(im, (10, ly + 15, 22, ly + 24), ACCENT)
        text(im, (26, ly + 19.5), "reduction", SMALL, TEXT_DIM, anchor="lm")
    else:
        envelope_illustration(im, (col_left, 48, 530, 142))
    return im


def envelope_illustration(im, box):
    """Static sketch: a burst at the input, the gain reduction rising with the attack and
    falling back with the release."""
    l, t, r, b = box
    skin.sunken(im, box, lerp(PANEL, RECESS, 0.6))
    base = b - 14
    x0, x1, x2 = l + 40, l + 190, r - 30
    skin.polyline(im, [(l + 8, base), (x0, base), (x0, t + 14), (x1, t + 14), (x1, base),
                       (x2 + 20, base)], GROUP_LINE, 1.2)
    pts = [(l + 8, base)]
    for i in range(0, 41):
        x = x0 + (x1 - x0) * i / 40
        pts.append((x, base - (base - t - 26) * (1 - math.exp(-i / 5))))
    top = pts[-1][1]
    for i in range(1, 61):
        x = x1 + (x2 - x1) * i / 60
        pts.append((x, base - (base - top) * math.exp(-i / 14)))
    skin.polyline(im, pts, ACCENT, 1.6)
    text(im, (x0 + 10, t + 24), "attack", SMALL, TEXT, anchor="la")
    text(im, (x1 + 14, t + 34), "release", SMALL, TEXT, anchor="la")
    text(im, (r - 8, t + 8), "gain reduction", SMALL, TEXT_DIM, anchor="ra")
    text(im, (l + 8, t + 8), "input", SMALL, TEXT_DIM, anchor="la")


@bitmap(10039)
def page_b_amplitude(L):
    return page_b(L, "amplitude")


@bitmap(10040)
def page_b_envelope(L):
    return page_b(L, "envelope")


@bitmap(10026)
def page_c(L):
    im = skin.page("brickwall master limiter")
    pw = local(L, "PageCPower")
    text(im, (pw.left - 8, (pw.top + pw.bottom) / 2), "limiter", LABEL, TEXT, anchor="rm")
    clip = local(L, "PageCClipCurve")
    label_above(im, clip, "clip curve")
    knob = local(L, "PageCCeilingKnob")
    dial(im, (knob.left, knob.top, knob.right, knob.bottom), "ceiling")
    label_above(im, local(L, "PageCReleaseSwitch"), "release", align="m")
    label_above(im, local(L, "PageCReleaseDepth"), "release depth")
    label_above(im, local(L, "PageCReleaseTime"), "release time")
    # Clip shapes above their buttons, soft to hard.
    edges = [round(k * clip.width / 5) for k in range(6)]
    for k in range(5):
        cx = clip.left + (edges[k] + edges[k + 1]) / 2
        y0, y1 = clip.top - 44, clip.top - 18
        pts = []
        for i in range(21):
            u = i / 20
            hardness = 1 + k * 2.2
            v = u / (1 + u ** (2 * hardness)) ** (1 / (2 * hardness)) if k < 4 else min(u, 0.72)
            pts.append((cx - 11 + 22 * u, y1 - (y1 - y0) * min(v, 1) * 1.2))
        skin.polyline(im, pts, CYAN if k == 4 else TEXT_DIM, 1.2)
    transfer = (150, 150, 380, 320)
    limiter_illustration(im, transfer)
    return im


def limiter_illustration(im, box):
    """Static sketch: a burst whose peaks are held at the ceiling (both polarities)."""
    l, t, r, b = box
    skin.sunken(im, box, lerp(PANEL, RECESS, 0.6))
    d = ImageDraw.Draw(im)
    mid = (t + b - 14) / 2
    reach = (b - t - 14) / 2 - 22
    ceiling = reach * 0.62
    for y in (mid - ceiling, mid + ceiling):
        d.line([(l + 10, y), (r - 10, y)], fill=ACCENT)
    d.line([(l + 10, mid), (r - 10, mid)], fill=skin.GRID)
    text(im, (r - 10, mid - ceiling - 4), "ceiling", SMALL, TEXT, anchor="rs")
    pts = []
    n = 320
    for i in range(n):
        u = i / (n - 1)
        envelope = reach * (0.25 + 0.85 * math.exp(-((u - 0.5) / 0.22) ** 2))
        v = envelope * math.sin(u * 2 * math.pi * 9)
        v = ceiling * math.tanh(v / ceiling * 1.2) / math.tanh(1.2) if abs(v) > 0 else v
        v = max(-ceiling, min(ceiling, v))
        pts.append((l + 10 + (r - l - 20) * u, mid - v))
    skin.polyline(im, pts, CYAN, 1.1)
    text(im, ((l + r) / 2, b - 9), "look-ahead: peaks never pass the ceiling", SMALL, TEXT_DIM,
         anchor="mm")


@bitmap(10022)
def page_d(L):
    im = skin.page("linear-phase filter settings")
    label_above(im, local(L, "PageDFilterType"), "filter type")
    cut = local(L, "PageDCutoffCurve")
    label_above(im, cut, "cut-off slope")
    text(im, ((cut.left + cut.right) / 2, cut.bottom + 10), "dB / oct", SMALL, TEXT_DIM,
         anchor="mm")
    crossover_illustration(im, (14, 42, 536, 200))
    return im


def crossover_illustration(im, box):
    """Five bands split by four crossovers; band 5 lowest at the left, band 1 at the right."""
    l, t, r, b = box
    skin.sunken(im, box, lerp(PANEL, RECESS, 0.6))
    gx0, gx1, gy0, gy1 = l + 10, r - 10, t + 24, b - 26

    def fx(f):
        return gx0 + (gx1 - gx0) * math.log(f / 20) / math.log(20000 / 20)

    d = ImageDraw.Draw(im)
    for f in (50, 100, 200, 500, 1000, 2000, 5000, 10000):
        x = fx(f)
        d.line([(x, gy0), (x, gy1)], fill=skin.GRID)
        label = f"{f // 1000}k" if f >= 1000 else str(f)
        text(im, (x, gy1 + 10), label, SMALL, TEXT_DIM, anchor="mm")
    text(im, (gx1, gy1 + 10), "Hz", SMALL, TEXT_DIM, anchor="rm")
    edges = [76, 524, 3802, 8760]  # default crossover points
    bounds = [20] + edges + [20000]
    colours = [ACCENT, PINK, CYAN, skin.LED_GREEN, skin.AMBER]
    for j in range(5):
        lo, hi = bounds[j], bounds[j + 1]
        pts = []
        for i in range(161):
            f = 20 * (1000 ** (i / 160))
            g = 1.0
            if j > 0:
                g *= 1 / math.sqrt(1 + (lo / f) ** 8)
            if j < 4:
                g *= 1 / math.sqrt(1 + (f / hi) ** 8)
            y = gy0 + (gy1 - gy0) * min(1.0, -20 * math.log10(max(g, 1e-9)) / 30)
            pts.append((fx(f), y))
        skin.polyline(im, pts, lerp(colours[j], PANEL, 0.25), 1.3)
        centre = math.sqrt(lo * hi)
        text(im, (fx(centre), gy0 - 10), f"band {5 - j}", SMALL, TEXT, anchor="mm")


@bitmap(10049)
def page_e(L):
    im = skin.page("spectrum analyser")
    pw, mode = local(L, "PageEPower"), local(L, "PageECurveMode")
    text(im, (pw.left - 8, (pw.top + pw.bottom) / 2), "power", LABEL, TEXT, anchor="rm")
    text(im, ((mode.left + mode.right) / 2, mode.bottom + 8), "curves", SMALL, TEXT_DIM,
         anchor="mm")
    g = local(L, "PageEGraph")
    im.paste(analyser_graph(L), (g.left, g.top))
    for db in range(0, 101, 20):
        y = g.top + 2 * db
        text(im, (g.left - 5, min(y, g.bottom - 5) if db else y + 4), "0" if db == 0 else f"-{db}",
             SMALL, TEXT_DIM, anchor="rm")
    text(im, (g.left - 5, g.top - 10), "dB", SMALL, TEXT_DIM, anchor="rm")
    for f in GRAPH_FREQUENCIES:
        x = g.left + min(435, round(band_x(f)))
        label = f"{f // 1000}k" if f >= 1000 else str(f)
        text(im, (x, g.bottom + 9), label, SMALL, TEXT_DIM, anchor="mm")
    text(im, (g.right, g.bottom + 22), "Hz", SMALL, TEXT_DIM, anchor="rm")
    # legend of the curves the code draws
    lx, ly = g.left, g.top - 14
    for colour, caption in ((ACCENT, "left / combined"), (PINK, "right")):
        skin.polyline(im, [(lx, ly), (lx + 16, ly)], colour, 2)
        text(im, (lx + 21, ly), caption, SMALL, TEXT_DIM, anchor="lm")
        lx += 32 + skin.text_width(caption, SMALL)
    return im


@bitmap(10029)
def page_f(L):
    im = skin.page("matrix editor")
    items = local(L, "PageFItems")
    label_above(im, items, "quantity")
    row = local(L, "PageFValueRow")
    text(im, (row.left, row.top - 4), "value of each band", LABEL, TEXT, anchor="ls")
    ch = local(L, "PageFChannelRow")
    text(im, (ch.left - 6, (ch.top + ch.bottom) / 2), "band", SMALL, TEXT, anchor="rm")
    guide = ("pick a quantity,", "then drag a", "band's value", "up or down.", "",
             "the arrows", "move all five;", "right-click", "resets.")
    gx = items.right + 12
    for i, line in enumerate(guide):
        text(im, (gx, items.top + 6 + 13 * i), line, SMALL, TEXT_DIM)
    return im


@bitmap(10025)
def page_g(L):
    im = skin.page("information")
    text(im, (536, 9), VERSION, SMALL, TEXT_DIM, anchor="ra")
    text(im, (14, 46), PRODUCT, 22, TITLE, bold=True)
    text(im, (16 + skin.text_width(PRODUCT, 22, True), 62), f"by {VENDOR}", LABEL, TEXT,
         anchor="ls")
    text(im, (14, 74), "five-band linear-phase multiband compressor with look-ahead limiter",
         LABEL, TEXT_DIM)
    signal_flow(im, (14, 88, 536, 230))
    guide = (("drag", "value boxes left / right, spinners, markers and matrix boxes up / down"),
             ("right-click", "resets the value under the pointer to its default"),
             ("multi control", "one spinner moves a quantity in all five bands at once;"),
             ("", "right-click copies the selected channel's value to all bands"),
             ("control panel", "buttons A to G choose the page shown here"))
    y = 250
    text(im, (14, y - 6), "mouse", LABEL, TITLE, anchor="ls", bold=True)
    for key, what in guide:
        y += 14
        text(im, (20, y), key, SMALL, CYAN, anchor="ls", bold=True)
        text(im, (104, y), what, SMALL, TEXT, anchor="ls")
    text(im, (14, 338), "pages: A compressor  B all bands  C limiter  D crossover  E analyser"
         "  F matrix  G information", SMALL, TEXT_DIM, anchor="ls")
    return im


def signal_flow(im, box):
    """The whole signal path in one picture."""
    l, t, r, b = box
    skin.sunken(im, box, lerp(PANEL, RECESS, 0.6))

    def node(x0, y0, x1, y1, caption, colour=TEXT):
        skin.round_rect(im, (x0, y0, x1, y1), 4, GROUP_LINE)
        skin.round_rect(im, (x0 + 1, y0 + 1, x1 - 1, y1 - 1), 3, skin.BUTTON)
        lines = caption.split("\n")
        for i, s in enumerate(lines):
            text(im, ((x0 + x1) / 2, (y0 + y1) / 2 + (i - (len(lines) - 1) / 2) * 11), s, SMALL,
                 colour, anchor="mm")

    def arrow(x0, y0, x1, y1):
        skin.polyline(im, [(x0, y0), (x1 - 3, y1)], TEXT_DIM, 1.2)
        skin.triangle(im, x1 - 2, y1, 6, "right", TEXT_DIM)

    cy = (t + b) / 2
    node(l + 8, cy - 12, l + 38, cy + 12, "in")
    node(l + 52, t + 22, l + 112, b - 22, "cross-\nover\n\n5 bands")
    arrow(l + 38, cy, l + 52, cy)
    lane_top, lane_h = t + 22, (b - 22 - (t + 22)) / 5
    for j in range(5):
        y0 = lane_top + j * lane_h
        ym = y0 + lane_h / 2
        arrow(l + 112, ym, l + 124, ym)
        text(im, (l + 126, ym), f"{j + 1}", SMALL, TEXT_DIM, anchor="lm", bold=True)
        node(l + 136, y0 + 2, l + 176, y0 + lane_h - 2, "in lvl")
        node(l + 184, y0 + 2, l + 236, y0 + lane_h - 2, "comp", CYAN)
        node(l + 244, y0 + 2, l + 288, y0 + lane_h - 2, "out lvl")
        arrow(l + 288, ym, l + 306, cy)
        if j < 4:
            skin.polyline(im, [(l + 210, y0 + lane_h - 2), (l + 210, y0 + lane_h + 2)], ACCENT,
                          1.5)
    skin.polyline(im, [(l + 136, b - 10), (l + 150, b - 10)], ACCENT, 1.5)
    text(im, (l + 155, b - 10), "gain reduction link between neighbouring bands", SMALL,
         TEXT_DIM, anchor="lm")
    skin.ellipse(im, (l + 306, cy - 9, l + 324, cy + 9), GROUP_LINE)
    text(im, (l + 315, cy), "+", LABEL, TEXT, anchor="mm", bold=True)
    arrow(l + 324, cy, l + 338, cy)
    node(l + 338, cy - 14, l + 384, cy + 14, "dry / wet")
    skin.polyline(im, [(l + 23, cy - 12), (l + 23, t + 10), (l + 361, t + 10), (l + 361, cy - 17)],
                  TEXT_DIM, 1.0)
    fill(im, (l + 290, t + 4, l + 312, t + 17), lerp(PANEL, RECESS, 0.6))
    text(im, (l + 301, t + 10), "dry", SMALL, TEXT_DIM, anchor="mm")
    arrow(l + 384, cy, l + 396, cy)
    node(l + 396, cy - 14, l + 436, cy + 14, "master")
    arrow(l + 436, cy, l + 446, cy)
    node(l + 446, cy - 14, l + 490, cy + 14, "limiter", CYAN)
    arrow(l + 490, cy, l + 498, cy)
    node(l + 498, cy - 12, r - 4, cy + 12, "out")
    text(im, ((l + 498 + r - 4) / 2, cy + 24), "monitor:", SMALL, TEXT_DIM, anchor="mm")
    text(im, ((l + 498 + r - 4) / 2, cy + 35), "in \u2192 out", SMALL, TEXT_DIM, anchor="mm")


@bitmap(10002)
def emblem(L):
    """Spare: the product emblem, five bars under a compressor curve."""
    im = new(64, 64, skin.BODY)
    skin.round_rect(im, (0, 0, 64, 64), 10, EDGE_LO)
    skin.round_rect(im, (1, 1, 63, 63), 9, skin.BODY_LIGHT)
    for j, h in enumerate((22, 30, 36, 28, 18)):
        x = 10 + 9 * j
        fill(im, (x, 50 - h, x + 6, 50), lerp(ACCENT, skin.BODY_LIGHT, 0.15 * j))
    knee_symbol(im, (8, 10, 56, 46), CYAN, bypassed=False)
    text(im, (32, 57), "Q", SMALL, TITLE, anchor="mm", bold=True)
    return im
