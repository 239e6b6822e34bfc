"""Review pictures: a contact sheet of all bitmaps and composed previews of the editor.

The previews place every bitmap where the editor draws it and fill the value boxes with sample
texts in the fonts the editor uses (Liberation Sans stands in for Arial), so the artwork can be
judged before the editor code exists. They are review aids only; nothing is built from them."""

import os

from PIL import Image, ImageDraw

from . import bmpfile, skin

SHEET_WIDTH = 1640
GAP = 10


def as_rgb(rendered, bid):
    image, indices = rendered[bid]
    return bmpfile.indexed_image(image.width, image.height, indices).convert("RGB")


def frames_of(L, rendered, bid):
    entry = L.by_id(bid)
    im = as_rgb(rendered, bid)
    h = entry.frame_height
    return [im.crop((0, k * h, entry.width, (k + 1) * h)) for k in range(entry.frames)]


def card(L, rendered, entry):
    """One bitmap: its id, name and size over its frames, laid out left to right."""
    frames = frames_of(L, rendered, entry.id)
    w, h = frames[0].size
    label_h = 12 if entry.frames > 1 else 0
    per_row = max(1, min(len(frames), (SHEET_WIDTH - 2 * GAP) // (w + GAP)))
    rows = -(-len(frames) // per_row)
    width = max(per_row * (w + GAP) - GAP, 300)
    out = Image.new("RGB", (width, 18 + rows * (h + label_h + GAP)), (92, 96, 104))
    title = f"{entry.id}  {entry.name}  {entry.width} x {entry.height}"
    if entry.frames > 1:
        title += f"  ({entry.frames} frames of {entry.frame_height})"
    skin.text(out, (0, 2), title, 11, (255, 255, 255), bold=True)
    for k, f in enumerate(frames):
        x = (k % per_row) * (w + GAP)
        y = 18 + (k // per_row) * (h + label_h + GAP)
        out.paste(f, (x, y))
        if entry.frames > 1:
            skin.text(out, (x, y + h + 1), f"frame {k}", 10, (230, 230, 230))
    return out


def contact_sheet(L, rendered):
    cards = [card(L, rendered, s) for s in sorted(L.bitmaps.values(), key=lambda s: s.id)]
    # shelf packing, in id order
    placed, x, y, shelf = [], GAP, GAP, 0
    for c in cards:
        if x + c.width > SHEET_WIDTH - GAP and x > GAP:
            x, y, shelf = GAP, y + shelf + 2 * GAP, 0
        placed.append((c, x, y))
        x += c.width + 2 * GAP
        shelf = max(shelf, c.height)
    sheet = Image.new("RGB", (SHEET_WIDTH, y + shelf + GAP), (92, 96, 104))
    for c, cx, cy in placed:
        sheet.paste(c, (cx, cy))
    return sheet


# ---- composed previews -------------------------------------------------------------------------


class Composer:
    def __init__(self, L, rendered):
        self.L, self.rendered = L, rendered
        self.im = as_rgb(rendered, 10001)

    def put(self, name_or_point, bid, frame=0, transparent=False):
        entry = self.L.by_id(bid)
        f = frames_of(self.L, self.rendered, bid)[frame]
        if isinstance(name_or_point, str):
            r = self.L.rects[name_or_point]
            x, y = r.left, r.top
        else:
            x, y = name_or_point
        if transparent:
            mask = Image.eval(f.convert("L"), lambda v: 255).copy()
            px = f.load()
            mp = mask.load()
            for j in range(f.height):
                for i in range(f.width):
                    if px[i, j] == (0, 0, 0):
                        mp[i, j] = 0
            self.im.paste(f, (x, y), mask)
        else:
            self.im.paste(f, (x, y))
        return (x, y, x + entry.width, y + entry.frame_height)

    def text(self, box, s, size=11, bold=False, colour=(0, 0, 0), align="m"):
        l, t, r, b = box
        x = {"m": (l + r) / 2, "r": r - 1, "l": l + 1}[align]
        skin.text(self.im, (x, (t + b) / 2), s, size, colour, anchor=align + "m", bold=bold)

    def box(self, name_or_point, bid, s, **kw):
        self.text(self.put(name_or_point, bid), s, **kw)


def compose(L, rendered, page, view="amplitude"):
    c = Composer(L, rendered)
    d = ImageDraw.Draw(c.im)
    # output stage
    c.put("OutputStageArt", 10054)
    mx, my = L.rects["OutputMeters"].left, L.rects["OutputMeters"].top
    c.put("OutputMeters", 10052)
    for top, dark, bright in ((40, (11, 12), (6, 10)), (55, (37, 38), (32, 36)),
                              (95, (2, 2), (0, 1)), (110, (44, 44), (42, 43))):
        d.rectangle([mx + dark[0], my + top, mx + dark[1], my + 279], fill=skin.ACCENT_DARK)
        d.rectangle([mx + bright[0], my + top, mx + bright[1], my + 279], fill=skin.ACCENT)
    c.box("OutputMaster", 10055, "0.0 dB", size=12, bold=True)
    c.box("OutputPeak1", 10056, "-4.17", size=10, align="r")
    c.box("OutputPeak2", 10056, "0.00", size=10, align="r", colour=skin.OVER)
    c.box("OutputDry", 10057, "-oo", size=10)
    c.box("OutputWet", 10057, "0.0", size=10)
    # strips
    c.put("CrossoverStrip", 10007)
    c.put("LinkStrip", 10007)
    for i, x in enumerate(L.ints["StripBoxX"]):
        c.box((x, L.ints["CrossoverBoxY"]), 10008, ("8760 Hz", "3802 Hz", "524 Hz", "76 Hz")[i])
        c.box((x, L.ints["LinkBoxY"]), 10008, (" 50 %", " 50 %", " 35 %", "100 %")[i])
    d.rectangle([L.ints["StripBoxX"][1] - 1, 24, L.ints["StripBoxX"][1] + 67, 44],
                outline=skin.CYAN)
    # band toggles: band 3 switched off, band 2 compressor bypassed
    y = L.ints["BandToggleY"]
    for band, (px, cx) in enumerate(zip(L.ints["PowerToggleX"], L.ints["CompToggleX"]), 1):
        c.put((px, y), 10006, 1 if band == 3 else 0)
        c.put((cx, y), 10003, 1 if band == 2 else 0)
    c.put("MultiControl", 10009)
    c.put((L.ints["SpinnerX"], L.ints["FirstSpinnerY"] + 2 * L.ints["SpinnerPitch"]), 10010)
    c.put("Monitor", 10004, 0)
    c.put("PageSelectorButtons", 10005, "ABCDEFG".index(page))
    ox, oy = 128, 175
    if page == "A":
        c.put((ox, oy), 10016)
        c.put("PageAChannel", 10020, 2)
        for name, s in (("PageARatio", "2.0 : 1"), ("PageAThreshold", "-12.0 dB"),
                        ("PageAInputLevel", "0.0 dB"), ("PageAOutputLevel", "3.5 dB"),
                        ("PageAAttack", "1.00 ms"), ("PageAReleaseTime", "125 ms"),
                        ("PageAReleaseDepth", " 25 %")):
            c.box(name, 10011, s)
        c.put("PageAAttackCurve", 10019, 0)
        c.put("PageAReleaseMode", 10013, 1)
        c.put("PageAAutoReleaseType", 10021, 1)
        l, t, _, _ = c.put("PageAMeterStrip", 10014)
        d.rectangle([l + 12, t + 60, l + 13, t + 249], fill=skin.ACCENT_DARK)
        d.rectangle([l + 7, t + 60, l + 11, t + 249], fill=skin.ACCENT)
        d.rectangle([l + 2, t, l + 2, t + 30], fill=skin.ACCENT_DARK)
        d.rectangle([l, t, l + 1, t + 30], fill=skin.ACCENT)
        l, t, _, _ = c.put("PageAThresholdTrack", 10018)
        c.put((l, t + 60), 10017, transparent=True)
    elif page == "B":
        c.put((ox, oy), 10039 if view == "amplitude" else 10040)
        c.put("PageBMeterSwitch", 10012, 0)
        c.put("PageBViews", 10045, 0 if view == "amplitude" else 1)
        cols = L.ints["PageBColumnX"]
        if view == "amplitude":
            c.put("PageBHeaderAmplitude", 10044, 2)
            for band, x in enumerate(cols, 1):
                c.box((x, L.ints["PageBInputLevelY"]), 10041, "0.0 dB")
                c.box((x, L.ints["PageBOutputLevelY"]), 10041, f"{band * 0.5:.1f} dB")
                c.box((x, L.ints["PageBThresholdY"]), 10042, f"-{band * 4}.0 dB")
                c.box((x, L.ints["PageBRatioY"]), 10042, "2.0 : 1")
                l, t, r, b = c.put((x, L.ints["PageBMeterY"]), 10038)
                d.rectangle([l + 1, t + 6, l + 59, t + 6 + 8 * band], outline=skin.ACCENT)
                d.rectangle([l, t + 20 + 10 * band, l + 60, t + 165], outline=skin.CYAN)
        else:
            c.put("PageBHeaderEnvelope", 10044, 2)
            for band, x in enumerate(cols, 1):
                c.put((x, L.ints["PageBAttackCurveY"]), 10046, band % 2)
                c.box((x, L.ints["PageBAttackY"]), 10041, "1.00 ms")
                c.put((x, L.ints["PageBReleaseModeY"]), 10047, 0)
                c.box((x, L.ints["PageBReleaseDepthY"]), 10041, " 25 %")
                c.box((x, L.ints["PageBReleaseTimeY"]), 10041, "125 ms")
                c.put((x, L.ints["PageBAutoReleaseTypeY"]), 10048, 1)
    elif page == "C":
        c.put((ox, oy), 10026)
        c.put("PageCPower", 10012, 0)
        c.put("PageCClipCurve", 10028, 4)
        c.box("PageCCeiling", 10027, "-0.01 dB", size=12, bold=True)
        c.box("PageCReleaseTime", 10011, "1.01 ms")
        c.box("PageCReleaseDepth", 10011, " 40 %")
        c.put("PageCReleaseSwitch", 10013, 0)
    elif page == "D":
        c.put((ox, oy), 10022)
        c.put("PageDFilterType", 10023, 0)
        c.put("PageDCutoffCurve", 10024, 1)
    elif page == "E":
        c.put((ox, oy), 10049)
        c.put("PageEPower", 10012, 0)
        c.put("PageECurveMode", 10050, 0)
        l, t, _, _ = c.put("PageEGraph", 10051)
        import math

        for colour, shift in ((skin.PINK, 6), (skin.ACCENT, 0)):
            pts = [(l + 5 * i, t + min(199, int(40 + shift + 60 * abs(math.sin(i / 9)) + i * 1.2)))
                   for i in range(88)]
            d.line(pts, fill=colour)
    elif page == "F":
        c.put((ox, oy), 10029)
        c.put("PageFItems", 10035, 2)
        c.put("PageFValueRow", 10030)
        c.put("PageFChannelRow", 10036, 2)
        c.put("PageFArrowLeft", 10037, 1)
        c.put("PageFArrowRight", 10037, 1)
        for band, x in enumerate(L.ints["PageFBandBoxX"], 1):
            l, t, r, b = c.put((x, L.ints["PageFBandBoxY"]), 10043, transparent=True)
            c.text((l, t, r, b), f"-{band * 4}.0 dB")
    else:
        c.put((ox, oy), 10025)
    return c.im


def write_all(L, rendered, directory):
    paths = []
    sheet = os.path.join(directory, "contact-sheet.png")
    contact_sheet(L, rendered).save(sheet, optimize=False)
    paths.append(sheet)
    for page in "ABCDEFG":
        views = ("amplitude", "envelope") if page == "B" else ("amplitude",)
        for view in views:
            suffix = "-envelope" if view == "envelope" else ""
            path = os.path.join(directory, f"preview-{page}{suffix}.png")
            compose(L, rendered, page, view).save(path)
            paths.append(path)
    return paths
