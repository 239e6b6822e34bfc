"""Reads the PNG pictures our tools write (8-bit RGB or palette, unfiltered rows), checking every
chunk's CRC and the zlib checksum on the way. Shared by the editor snapshot and screenshot
checks."""
import binascii
import struct
import zlib


def read_png(path):
    """Returns (width, height, colour type, pixel) with pixel(x, y) an (r, g, b) tuple."""
    data = open(path, "rb").read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "%s: not a PNG file" % path
    pos, idat, width, height, palette, colour = 8, b"", 0, 0, b"", 2
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        kind = data[pos + 4:pos + 8]
        body = data[pos + 8:pos + 8 + length]
        (crc,) = struct.unpack(">I", data[pos + 8 + length:pos + 12 + length])
        assert binascii.crc32(kind + body) & 0xFFFFFFFF == crc, "%s: bad CRC in %r" % (path, kind)
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
            assert depth == 8 and colour in (2, 3), "%s: expected 8-bit RGB or palette" % path
        elif kind == b"PLTE":
            palette = body
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)  # checks the Adler-32 as well
    size = 3 if colour == 2 else 1
    stride = width * size + 1
    assert len(raw) == stride * height, "%s: wrong amount of pixel data" % path
    assert all(raw[y * stride] == 0 for y in range(height)), "%s: unexpected row filter" % path
    if colour == 3:
        return width, height, colour, lambda x, y: tuple(
            palette[3 * raw[y * stride + 1 + x]:3 * raw[y * stride + 1 + x] + 3])
    return width, height, colour, lambda x, y: tuple(
        raw[y * stride + 1 + x * 3:y * stride + 4 + x * 3])
