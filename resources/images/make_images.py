#!/usr/bin/env python3
"""Draws the kit's banner bitmap and application icon (our own artwork) and writes them as
8-bit BMP and multi-image ICO files. Run once; the outputs are committed beside it.

The banner is drawn for each display scale the pages pick from (banner.bmp at 100 %,
banner_<percent>.bmp above it), and the icon has an image for each size a page draws it
at; the 100 % banner and the 16- and 32-pixel images stay what they have always been."""
import math
import struct
import sys
from pathlib import Path

OUT = Path(__file__).resolve().parent


BANNER_SIZE = (165, 280)
BANNER_PERCENTS = (100, 125, 150, 175, 200)


def banner_pixel(x, y, w, h):
    """Colour of the banner at (x, y): a teal-to-blue sky, an open book, a rising sun.
    Every length is the 100 % banner's times the scale s."""
    s = h / BANNER_SIZE[1]
    t = y / (h - 1)
    sky = (int(20 + 40 * t), int(110 + 80 * t), int(150 + 90 * t))
    cx, cy, r = w * 0.5, h * 0.36, 34 * s
    d = math.hypot(x - cx, y - cy)
    if d < r:
        return (255, 214, 90)
    if d < r + 6 * s:
        return (255, 236, 170)
    # An open book: two pages meeting at the spine.
    top, bottom = h * 0.62, h * 0.80
    spine = w * 0.5
    if top <= y <= bottom and abs(x - spine) < w * 0.38:
        lift = (abs(x - spine) / (w * 0.38)) * 12 * s
        if y >= top - lift + 12 * s and y <= bottom - lift:
            if abs(x - spine) < 1.5 * s:
                return (120, 90, 60)
            if (y - top + lift) % (9 * s) < s and abs(x - spine) > 8 * s:
                return (180, 190, 205)
            return (250, 250, 245) if x < spine else (238, 240, 236)
    return sky


def quantise(colour):
    """A 6x7x6 colour cube; index 0 is black."""
    r, g, b = colour
    return 1 + (r * 5 // 255) * 42 + (g * 6 // 255) * 6 + (b * 5 // 255)


def palette():
    entries = [(0, 0, 0)]
    for ri in range(6):
        for gi in range(7):
            for bi in range(6):
                entries.append((ri * 255 // 5, gi * 255 // 6, bi * 255 // 5))
    entries += [(0, 0, 0)] * (256 - len(entries))
    return entries


def write_banner(path, w, h):
    pal = palette()
    stride = (w + 3) & ~3
    rows = []
    for y in range(h - 1, -1, -1):  # bottom-up
        row = bytes(quantise(banner_pixel(x, y, w, h)) for x in range(w))
        rows.append(row + b"\0" * (stride - w))
    pixels = b"".join(rows)
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 0, len(pixels), 2835, 2835, 256, 0)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in pal)
    offset = 14 + len(header) + len(table)
    path.write_bytes(b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + header + table + pixels)


def icon_pixel(x, y, size):
    """A blue disc with a white ring and tail: the letter Q."""
    c = (size - 1) / 2
    d = math.hypot(x - c, y - c)
    if d > size / 2:
        return None
    ring = size * 0.27
    if abs(d - ring) < size * 0.08 or (x > c and y > c and abs((x - c) - (y - c)) < size * 0.07 and d < size * 0.47):
        return (255, 255, 255)
    return (30, 100, 200)


def icon_image(size, bits):
    if bits == 4:
        pal = [(0, 0, 0), (255, 255, 255), (30, 100, 200)] + [(0, 0, 0)] * 13
        index = {(255, 255, 255): 1, (30, 100, 200): 2}
    else:
        pal = palette()
        index = None
    per_byte = 8 // bits
    stride = ((size * bits + 31) // 32) * 4
    mask_stride = ((size + 31) // 32) * 4
    xor, mask = [], []
    for y in range(size - 1, -1, -1):
        values, mask_bits = [], []
        for x in range(size):
            colour = icon_pixel(x, y, size)
            mask_bits.append(1 if colour is None else 0)
            if colour is None:
                values.append(0)
            else:
                values.append(index[colour] if index else quantise(colour))
        row = bytearray()
        for i in range(0, size, per_byte):
            byte = 0
            for j in range(per_byte):
                byte = (byte << bits) | values[i + j]
            row.append(byte)
        xor.append(bytes(row) + b"\0" * (stride - len(row)))
        mrow = bytearray()
        for i in range(0, size, 8):
            byte = 0
            for j in range(8):
                byte = (byte << 1) | mask_bits[i + j]
            mrow.append(byte)
        mask.append(bytes(mrow) + b"\0" * (mask_stride - len(mrow)))
    colours = 1 << bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0, colours, 0)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in pal[:colours])
    return header + table + b"".join(xor) + b"".join(mask), colours


def write_icon(path, images):
    data = [(size, bits) + icon_image(size, bits) for size, bits in images]
    out = struct.pack("<HHH", 0, 1, len(data))
    offset = 6 + 16 * len(data)
    for size, bits, blob, colours in data:
        out += struct.pack("<BBBBHHII", size, size, colours if colours < 256 else 0, 0, 1, bits, len(blob), offset)
        offset += len(blob)
    out += b"".join(blob for _, _, blob, _ in data)
    path.write_bytes(out)


if __name__ == "__main__":
    for percent in BANNER_PERCENTS:
        w, h = (round(side * percent / 100 + 1e-9) for side in BANNER_SIZE)
        name = "banner.bmp" if percent == 100 else f"banner_{percent}.bmp"
        write_banner(OUT / name, w, h)
    write_icon(OUT / "app.ico", [(16, 4), (32, 4), (16, 8), (32, 8), (48, 8), (64, 8)])
    sys.exit(0)
