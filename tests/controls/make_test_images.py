#!/usr/bin/env python3
"""Writes the tiny pictures of the control tests (run once; the results are committed).

Bitmaps: 12x12, a 2-pixel white frame (the transparent colour) around an 8x8
square of one colour. Icon: 16x16, a green 8x8 square, transparent elsewhere.
Cursor: 32x32, a black 8x8 square, hot spot (5, 0).
"""
import struct
import sys
from pathlib import Path

WHITE = (255, 255, 255)


def square_pixels(size, border, inner, outer):
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            inside = border <= x < size - border and border <= y < size - border
            row.append(inner if inside else outer)
        rows.append(row)
    return rows


def bmp(rows):
    h, w = len(rows), len(rows[0])
    stride = (w * 3 + 3) & ~3
    data = b""
    for row in reversed(rows):  # bottom-up
        line = b"".join(struct.pack("BBB", b, g, r) for r, g, b in row)
        data += line + b"\0" * (stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    return header + info + data


def icon_image(size, border, colour):
    """A 32-bit icon image (BITMAPINFOHEADER, XOR pixels, AND mask)."""
    xor = b""
    and_rows = []
    and_stride = ((size + 31) // 32) * 4
    for y in reversed(range(size)):
        bits = 0
        for x in range(size):
            inside = border <= x < size - border and border <= y < size - border
            r, g, b = colour if inside else (0, 0, 0)
            xor += struct.pack("BBBB", b, g, r, 255 if inside else 0)
            if not inside:
                bits |= 1 << (and_stride * 8 - 1 - x)
        and_rows.append(bits.to_bytes(and_stride, "big"))
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    return info + xor + b"".join(and_rows)


def icon_file(kind, size, border, colour, hotspot=(0, 0)):
    image = icon_image(size, border, colour)
    planes, bits = (1, 32) if kind == 1 else hotspot
    header = struct.pack("<HHH", 0, kind, 1)
    entry = struct.pack("<BBBBHHII", size, size, 0, 0, planes, bits, len(image), 6 + 16)
    return header + entry + image


def main(folder):
    out = Path(folder)
    (out / "primary.bmp").write_bytes(bmp(square_pixels(12, 2, (255, 0, 0), WHITE)))
    (out / "resting.bmp").write_bytes(bmp(square_pixels(12, 2, (0, 0, 255), WHITE)))
    (out / "green.ico").write_bytes(icon_file(1, 16, 4, (0, 255, 0)))
    (out / "square.cur").write_bytes(icon_file(2, 32, 12, (0, 0, 0), hotspot=(5, 0)))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).parent)
