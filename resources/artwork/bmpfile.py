"""8-bit palettised Windows bitmaps: the global palette, colour mapping and the BMP writer."""

import struct

from PIL import Image

from . import skin


def _lerp(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def _ramp(a, b, steps):
    """steps colours from a to b, both ends included."""
    return [_lerp(a, b, i / (steps - 1)) for i in range(steps)]


def build_palette():
    """The 256 colours every bitmap uses: the skin's named colours exactly, ramps between the
    colours that meet in anti-aliased text and gradients, and a coarse cube for anything else."""
    colours = []

    def add(cs):
        for c in cs:
            if c not in colours:
                colours.append(c)

    add([skin.TRANSPARENT])  # index 0: the transparent key of the toolkit
    add(skin.NAMED_COLOURS)
    # The body's slightly blue greys in fine steps (every gradient of the skin lives here), then
    # lighter neutrals up to white.
    anchors = [(4, 5, 6), skin.EDGE_LO, skin.RECESS, skin.PANEL, skin.BODY, skin.BODY_LIGHT,
               skin.EDGE_HI, (128, 134, 146)]
    for a, b in zip(anchors, anchors[1:]):
        add(_ramp(a, b, 8)[:-1])
    add(_ramp((128, 134, 146), (252, 252, 254), 22))
    add(_ramp(skin.BOX_FACE, skin.BOX_TEXT, 16))  # dark text on light value boxes
    add(_ramp(skin.BOX_FACE, skin.BOX_SHADE, 8))
    add(_ramp(skin.BODY, skin.CYAN, 16))  # lit elements and their glow
    add(_ramp(skin.RECESS, skin.CYAN, 10))
    add(_ramp(skin.CYAN, (235, 255, 255), 4))
    add(_ramp(skin.BODY, skin.ACCENT, 14))  # meters, accents
    add(_ramp(skin.RECESS, skin.ACCENT, 8))
    add(_ramp(skin.ACCENT, (255, 220, 232), 5))
    add(_ramp(skin.BODY, skin.PINK, 6))
    add(_ramp(skin.BOX_FACE, skin.OVER, 6))
    add(_ramp(skin.RECESS, skin.TEXT, 12))
    add(_ramp(skin.PANEL, skin.TEXT, 12))
    add(_ramp(skin.BODY, skin.LED_GREEN, 8))
    add(_ramp(skin.BODY, skin.AMBER, 8))
    cube = [(r, g, b) for r in (0, 85, 170, 255) for g in (0, 85, 170, 255) for b in (0, 85, 170, 255)]
    for c in cube:
        if len(colours) >= 256:
            break
        add([c])
    if len(colours) > 256:
        raise ValueError(f"palette has {len(colours)} colours")
    while len(colours) < 256:
        colours.append((0, 0, 0))
    return colours


PALETTE = build_palette()


def _distance(a, b):
    dr, dg, db = a[0] - b[0], a[1] - b[1], a[2] - b[2]
    return 2 * dr * dr + 4 * dg * dg + 3 * db * db


def to_indices(image, transparent_mask=None):
    """Maps an RGB image to palette indices (nearest colour, no dithering). Pixels outside the
    optional mask (mode "1" or "L", nonzero = opaque) become index 0, the transparent key; pixels
    inside it never map to the key colour, so a drawn pixel cannot turn into a hole."""
    image = image.convert("RGB")
    cache = {}
    opaque_cache = {}
    candidates = list(enumerate(PALETTE))

    def nearest(c, allow_key):
        table = cache if allow_key else opaque_cache
        hit = table.get(c)
        if hit is None:
            best = min((_distance(c, p), i) for i, p in candidates if allow_key or (i != 0 and p != skin.TRANSPARENT))
            hit = table[c] = best[1]
        return hit

    pixels = image.tobytes()
    mask = transparent_mask.convert("L").tobytes() if transparent_mask is not None else None
    out = bytearray(image.width * image.height)
    for n in range(len(out)):
        if mask is not None and mask[n] == 0:
            out[n] = 0
            continue
        c = (pixels[3 * n], pixels[3 * n + 1], pixels[3 * n + 2])
        out[n] = nearest(c, mask is None)
    return out


def bmp_bytes(width, height, indices):
    """An uncompressed, bottom-up, 8-bit BMP with a full 256-entry palette and no timestamps."""
    stride = (width + 3) & ~3
    pixel_bytes = bytearray()
    for y in range(height - 1, -1, -1):
        row = indices[y * width:(y + 1) * width]
        pixel_bytes += row + bytes(stride - width)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    offset = 14 + 40 + len(palette)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(pixel_bytes), 0, 0, offset)
    info_header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(pixel_bytes),
                              2835, 2835, 256, 0)
    return file_header + info_header + palette + bytes(pixel_bytes)


def indexed_image(width, height, indices):
    """The palettised picture as a Pillow image (for the contact sheet and the preview)."""
    im = Image.frombytes("P", (width, height), bytes(indices))
    flat = []
    for c in PALETTE:
        flat.extend(c)
    im.putpalette(flat)
    return im
