#!/usr/bin/env python3
"""Runs scripts/screenshots.sh into a scratch folder and checks that it wrote every page of the
editor (A to G, both views of B) as a valid palette PNG of the editor's size, and that the
output meters show the audio that played.

usage: screenshots_check.py <scripts/screenshots.sh> <out dir>
"""
import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from png_reader import read_png  # noqa: E402

WIDTH, HEIGHT = 785, 570
NAMES = ["A", "B", "B-envelope", "C", "D", "E", "F", "G"]
METER = (712, 82, 722, 340)  # the output stage's left meter bar


def read_palette_png(path):
    width, height, colour, pixel = read_png(path)
    assert (width, height) == (WIDTH, HEIGHT), "%s is %d x %d" % (path, width, height)
    assert colour == 3, "%s is not an 8-bit palette picture" % path
    return pixel


def main(args):
    if len(args) != 3:
        print(__doc__)
        return 2
    out = args[2]
    shutil.rmtree(out, ignore_errors=True)
    result = subprocess.run(["bash", args[1], out], stdout=subprocess.PIPE,
                            stderr=subprocess.STDOUT, timeout=300)
    assert result.returncode == 0, "screenshots.sh failed: %s" % result.stdout.decode(
        errors="replace")
    written = sorted(os.listdir(out))
    assert written == sorted("editor-%s.png" % n for n in NAMES), "wrote %s" % written
    for name in written:
        pixel = read_palette_png(os.path.join(out, name))
        l, t, r, b = METER
        # The bar is red where the meter shows a level; without audio it is all dark.
        lit = sum(pixel(x, y)[0] > 150 for y in range(t, b) for x in range(l, r))
        assert lit > 200, "%s: the output meter shows no audio" % name
    print("%d editor pages written and checked" % len(written))
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv))
    except AssertionError as failure:
        print("FAILED:", failure)
        sys.exit(1)
