#!/usr/bin/env python3
"""Runs scripts/screenshots.sh into a scratch folder and checks that it wrote every page of the
editor (A to G, both views of B) as a valid palette PNG of the editor's size, and that the
output meters show the audio that played.

usage: screenshots_check.py <scripts/screenshots.sh> <out dir>
"""
import binascii
import os
import shutil
import struct
import subprocess
import sys
import zlib

WIDTH, HEIGHT = 785, 570
NAMES = ["A", "B", "B-envelope", "C", "D", "E", "F", "G"]
METER = (712, 82, 722, 340)  # the output stage's left meter bar


def read_png(path):
    data = open(path, "rb").read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "%s: not a PNG file" % path
    pos, idat, palette = 8, b"", b""
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        kind, body = data[pos + 4:pos + 8], data[pos + 8:pos + 8 + length]
        (crc,) = struct.unpack(">I", data[pos + 8 + length:pos + 12 + length])
        assert binascii.crc32(kind + body) & 0xFFFFFFFF == crc, "%s: bad CRC" % path
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
            assert (width, height) == (WIDTH, HEIGHT), "%s is %d x %d" % (path, width, height)
            assert (depth, colour) == (8, 3), "%s is not an 8-bit palette picture" % path
        elif kind == b"PLTE":
            palette = body
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)  # checks the Adler-32 as well
    assert len(raw) == (WIDTH + 1) * HEIGHT, "%s: wrong amount of pixel data" % path
    return lambda x, y: palette[3 * raw[y * (WIDTH + 1) + 1 + x]:][:3]


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
        pixel = read_png(os.path.join(out, name))
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
