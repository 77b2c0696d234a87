#!/usr/bin/env python3
"""Draws the checker's images and icon and writes them as Windows bitmaps.

Usage: make_images.py OUTDIR
Writes logo.bmp, placeholder.bmp, tick.bmp, cross.bmp, skelvane.ico, and the
icon's raw pieces icon30001.bin .. icon30003.bin and icongroup.bin that the
resource script stores under their own identifiers.
"""
import math
import struct
import sys
from pathlib import Path

WHITE = (255, 255, 255)


def bmp_file(pixels):
    """24-bit uncompressed bitmap file; pixels[row][col] = (r, g, b), row 0 on top."""
    h, w = len(pixels), len(pixels[0])
    stride = (w * 3 + 3) & ~3
    body = bytearray()
    for row in reversed(pixels):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        body += line + bytes(stride - len(line))
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + len(header) + len(body), 0, 0, 54) + header + body


def seg_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def stroke_mark(w, h, segments, box, fill, outline, inner=1.0, outer=1.9):
    """A thick stroke with a darker outline, kept inside box = (col0, row0, col1, row1)."""
    c0, r0, c1, r1 = box
    pixels = [[WHITE] * w for _ in range(h)]
    for y in range(r0, r1 + 1):
        for x in range(c0, c1 + 1):
            d = min(seg_distance(x, y, *s) for s in segments)
            if d <= inner:
                pixels[y][x] = fill
            elif d <= outer:
                pixels[y][x] = outline
    return pixels


def tick():
    segs = [(3.6, 7.8, 6.4, 10.6), (6.4, 10.6, 12.0, 4.6)]
    return stroke_mark(19, 21, segs, (2, 3, 13, 12), (92, 196, 72), (24, 112, 24))


def cross():
    segs = [(5.0, 5.0, 11.5, 11.5), (11.5, 5.0, 5.0, 11.5)]
    return stroke_mark(19, 21, segs, (3, 3, 13, 13), (240, 84, 40), (150, 16, 16))


def placeholder():
    art = [
        "...#####...",
        "..#.....#..",
        "........#..",
        "........#..",
        ".......#...",
        "......#....",
        ".....#.....",
        ".....#.....",
        "...........",
        ".....#.....",
        "...........",
    ]
    return [[(0, 0, 0) if ch == "#" else WHITE for ch in line] for line in art]


def logo():
    """A blue emblem: ring, white band, disc with a white card, supersampled for smooth edges."""
    w, h, n = 52, 53, 4
    blue, light = (28, 76, 160), (255, 255, 255)
    cx, cy = 25.5, 26.0

    def colour(x, y):
        r = math.hypot(x - cx, y - cy)
        if r > 24.5:
            return WHITE
        if r > 21.0:
            return blue
        if r > 18.0:
            return light
        if -9 <= x - cx <= 9 and -6 <= y - cy <= 6 and not (-9 <= x - cx <= 9 and -3 <= y - cy <= -1):
            return light
        return blue

    pixels = []
    for row in range(h):
        line = []
        for col in range(w):
            acc = [0, 0, 0]
            for sy in range(n):
                for sx in range(n):
                    c = colour(col + (sx + 0.5) / n, row + (sy + 0.5) / n)
                    acc = [a + v for a, v in zip(acc, c)]
            line.append(tuple(round(a / (n * n)) for a in acc))
        pixels.append(line)
    return pixels


# Icon: a left-pointing triangular frame, lit from above.
GREY, STEEL, DEEP = (212, 216, 222), (70, 130, 180), (38, 78, 120)
ICON_PALETTE = [(0, 0, 0), GREY, STEEL, DEEP]


def icon_pixels(size):
    """None for transparent, else a colour; the frame's top face is grey, the others blue."""
    s = size / 16.0
    tip, top, bottom = (1.0 * s, 8.0 * s), (15.0 * s, 1.0 * s), (15.0 * s, 15.0 * s)
    thickness = 2.6 * s

    def edges(x, y):
        def side(a, b):
            (ax, ay), (bx, by) = a, b
            nx, ny = by - ay, ax - bx
            length = math.hypot(nx, ny)
            return ((x - ax) * nx + (y - ay) * ny) / length
        return side(tip, top), side(top, bottom), side(bottom, tip)

    out = []
    for row in range(size):
        line = []
        for col in range(size):
            d = edges(col + 0.5, row + 0.5)
            if any(v > 0 for v in d) or min(-v for v in d) > thickness:
                line.append(None)
                continue
            nearest = min(range(3), key=lambda i: -d[i])
            line.append([GREY, DEEP, STEEL][nearest])
        out.append(line)
    return out


def icon_image(size, bits):
    pixels = icon_pixels(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0, 0, 0)
    body = bytearray()
    if bits == 8:
        palette = ICON_PALETTE + [(0, 0, 0)] * (256 - len(ICON_PALETTE))
        body += b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
        stride = (size + 3) & ~3
        for row in reversed(pixels):
            line = bytes(ICON_PALETTE.index(p) if p else 0 for p in row)
            body += line + bytes(stride - len(line))
    else:
        stride = (size * 3 + 3) & ~3
        for row in reversed(pixels):
            line = b"".join(bytes((p[2], p[1], p[0])) if p else b"\0\0\0" for p in row)
            body += line + bytes(stride - len(line))
    mask_stride = ((size + 31) // 32) * 4
    for row in reversed(pixels):
        bits_row = bytearray(mask_stride)
        for col, p in enumerate(row):
            if p is None:
                bits_row[col // 8] |= 0x80 >> (col % 8)
        body += bits_row
    return header + bytes(body)


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    expected = {"tick.bmp": 1314, "cross.bmp": 1314, "placeholder.bmp": 450, "logo.bmp": 8322}
    for name, draw in (("tick.bmp", tick), ("cross.bmp", cross),
                       ("placeholder.bmp", placeholder), ("logo.bmp", logo)):
        data = bmp_file(draw())
        assert len(data) == expected[name], (name, len(data))
        (out / name).write_bytes(data)

    images = [(30001, 16, 8), (30002, 32, 24), (30003, 48, 8)]
    blobs = [icon_image(size, bits) for _, size, bits in images]
    assert [len(b) for b in blobs] == [1384, 3240, 3752]
    ico = struct.pack("<HHH", 0, 1, len(images))
    group = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (ident, size, bits), blob in zip(images, blobs):
        colours = 0 if bits >= 8 else 1 << bits
        ico += struct.pack("<BBBBHHII", size, size, colours, 0, 1, bits, len(blob), offset)
        group += struct.pack("<BBBBHHIH", size, size, colours, 0, 1, bits, len(blob), ident)
        offset += len(blob)
        (out / f"icon{ident}.bin").write_bytes(blob)
    ico += b"".join(blobs)
    assert len(ico) == 8430
    (out / "skelvane.ico").write_bytes(ico)
    (out / "icongroup.bin").write_bytes(group)


if __name__ == "__main__":
    main()
