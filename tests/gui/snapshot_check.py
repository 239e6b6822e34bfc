#!/usr/bin/env python3
"""Runs the editor snapshot tool on one plug-in DLL under Wine and checks the PNG it writes:
a valid file (chunk CRCs, zlib checksum) of the editor's size whose background pixels are those
of bitmap 10001, and whose page buttons change with --page.

usage: snapshot_check.py <wine-run.sh> <qvsnapshot.exe> <plugin.dll> <10001.bmp> <out dir>
"""
import os
import struct
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from png_reader import read_png  # noqa: E402

WIDTH, HEIGHT = 785, 570
# Rectangles the stock controls cover (their pictures differ from the background).
CONTROLS = [(445, 533, 656, 558), (83, 524, 108, 549),
            (128, 175, 678, 522)] + [  # and the settings panel
    (x, 67, x + 31, 98) for x in (349, 304, 259, 214, 169, 606, 561, 516, 471, 426)]
# The custom views with values of their own: crossover strip, link strip, multi-control column
# and output stage.
CONTROLS += [(169, 24, 634, 45), (169, 131, 634, 152), (78, 70, 113, 375), (679, 2, 783, 568)]
PAGE_BUTTONS = (445, 533, 656, 558)


def windows_path(path):
    return "Z:" + os.path.abspath(path)


def read_bmp(path):
    data = open(path, "rb").read()
    offset, = struct.unpack("<I", data[10:14])
    header_size, width, height = struct.unpack("<Iii", data[14:26])
    bits, = struct.unpack("<H", data[28:30])
    colours, = struct.unpack("<I", data[46:50])
    assert bits == 8, "expected an 8-bit bitmap"
    palette = data[14 + header_size:14 + header_size + 4 * (colours or 256)]
    stride = (width + 3) & ~3

    def pixel(x, y):
        row = height - 1 - y if height > 0 else y
        i = data[offset + row * stride + x]
        b, g, r = palette[4 * i:4 * i + 3]
        return (r, g, b)
    return abs(width), abs(height), pixel


def inside(x, y, r):
    return r[0] <= x < r[2] and r[1] <= y < r[3]


def snapshot(args, out, *options):
    wine, tool, dll = args[1], args[2], args[3]
    cmd = [wine, tool, windows_path(dll), windows_path(out)] + list(options)
    result = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=120)
    assert result.returncode == 0, "qvsnapshot failed: %s" % result.stdout.decode(errors="replace")
    width, height, _, pixel = read_png(out)
    return width, height, pixel


def main(args):
    if len(args) != 6:
        print(__doc__)
        return 2
    os.makedirs(args[5], exist_ok=True)
    name = os.path.splitext(os.path.basename(args[3]))[0]
    w, h, shot = snapshot(args, os.path.join(args[5], name + "-A.png"), "--page", "A")
    assert (w, h) == (WIDTH, HEIGHT), "picture is %d x %d" % (w, h)
    bw, bh, art = read_bmp(args[4])
    assert (bw, bh) == (WIDTH, HEIGHT)
    checked = mismatched = 0
    for y in range(0, HEIGHT, 7):
        for x in range(0, WIDTH, 7):
            if any(inside(x, y, r) for r in CONTROLS):
                continue
            checked += 1
            if shot(x, y) != art(x, y):
                mismatched += 1
    assert mismatched == 0, "%d of %d background pixels differ from the artwork" % (
        mismatched, checked)

    _, _, other = snapshot(args, os.path.join(args[5], name + "-G.png"), "--page", "G")
    l, t, r, b = PAGE_BUTTONS
    changed = sum(shot(x, y) != other(x, y) for y in range(t, b) for x in range(l, r))
    assert changed > 100, "the page buttons look the same on pages A and G"
    print("%s: %d background pixels match the artwork; page buttons follow the page" % (
        name, checked))
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv))
    except AssertionError as failure:
        print("FAILED:", failure)
        sys.exit(1)
