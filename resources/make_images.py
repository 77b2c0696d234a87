#!/usr/bin/env python3
"""Draws the checker's images and icon and writes them as Windows bitmaps.

Usage: make_images.py OUTDIR [--sizes]
Writes every picture (logo, placeholder, tick, cross) at every scale as NAME-SCALE.bmp
with pictures.rc listing them, skelvane.ico, and the icon's raw pieces icon30001.bin ..
icon30003.bin and icongroup.bin that the resource script stores under their own
identifiers. --sizes prints each picture's size in bytes.
"""
import math
import struct
import sys
from pathlib import Path

WHITE = (255, 255, 255)

# Each picture is drawn for every display scale the window may use, in percent; the
# window takes the one made for its DPI (the nearest below for a DPI in between).
SCALES = (100, 125, 150, 175, 200, 250)
SAMPLES = 4  # per pixel and axis: 16 samples give the anti-aliased edge


def scaled(length, scale):
    return (length * scale + 50) // 100


def seg_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    if dx == dy == 0:
        return math.hypot(px - ax, py - ay)
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def render(shape, width, height, scale):
    """Samples shape(x, y) -> colour or None (transparent), in 96-DPI pixel units where
    pixel (c, r) has its centre at (c, r), over the picture at scale; returns rows of
    premultiplied (r, g, b, a)."""
    w, h, n = scaled(width, scale), scaled(height, scale), SAMPLES
    factor = scale / 100.0
    rows = []
    for row in range(h):
        line = []
        for col in range(w):
            acc = [0, 0, 0, 0]
            for sy in range(n):
                for sx in range(n):
                    c = shape((col + (sx + 0.5) / n) / factor - 0.5,
                              (row + (sy + 0.5) / n) / factor - 0.5)
                    if c is not None:
                        acc = [acc[0] + c[0], acc[1] + c[1], acc[2] + c[2], acc[3] + 255]
            line.append(tuple((v + n * n // 2) // (n * n) for v in acc))
        rows.append(line)
    return rows


def stroke(segments, fill, outline=None, inner=1.0, outer=1.9):
    """A thick stroke with a darker outline (or a plain one of half-width inner)."""
    def shape(x, y):
        d = min(seg_distance(x, y, *s) for s in segments)
        if d <= inner:
            return fill
        if outline is not None and d <= outer:
            return outline
        return None
    return shape


def tick():
    # The mark stays inside the top-left 17 x 17 pixels of its 19 x 21 at every scale.
    segs = [(3.6, 7.8, 6.4, 10.6), (6.4, 10.6, 12.0, 4.6)]
    return stroke(segs, (92, 196, 72), (24, 112, 24)), 19, 21


def cross():
    segs = [(5.0, 5.0, 11.5, 11.5), (11.5, 5.0, 5.0, 11.5)]
    return stroke(segs, (240, 84, 40), (150, 16, 16)), 19, 21


def placeholder():
    """A question mark in one-pixel strokes; black, and drawn in the window's text colour
    whatever the scheme."""
    path = [(2, 1), (3, 0), (7, 0), (8, 1), (8, 3), (5, 6), (5, 7.2)]
    segs = [(*a, *b) for a, b in zip(path, path[1:])] + [(5, 9, 5, 9)]
    return stroke(segs, (0, 0, 0), inner=0.6), 11, 11


def logo():
    """A blue emblem: ring, white band, disc with a white card."""
    blue, light = (28, 76, 160), (255, 255, 255)
    cx, cy = 25.0, 25.5

    def shape(x, y):
        r = math.hypot(x - cx, y - cy)
        if r > 24.5:
            return None
        if r > 21.0:
            return blue
        if r > 18.0:
            return light
        if -9 <= x - cx <= 9 and -6 <= y - cy <= 6 and not -3 <= y - cy <= -1:
            return light
        return blue
    return shape, 52, 53


def rle8_bitmap(rows):
    """An 8-bit run-length encoded Windows bitmap (BI_RLE8) whose palette entries carry
    premultiplied alpha in their fourth byte; entry 0 is fully transparent. Returns the
    resource's bytes (no file header)."""
    palette = [(0, 0, 0, 0)]
    index = {palette[0]: 0}
    for line in rows:
        for p in line:
            if p not in index:
                index[p] = len(palette)
                palette.append(p)
    assert len(palette) <= 256, len(palette)
    body = bytearray()
    for line in reversed(rows):  # bottom-up, as a bitmap stores its rows
        ids = [index[p] for p in line]
        at = 0
        while at < len(ids):
            run = 1
            while at + run < len(ids) and run < 255 and ids[at + run] == ids[at]:
                run += 1
            if run >= 3 or len(ids) - at < 3:
                body += bytes((run, ids[at]))
                at += run
                continue
            # A stretch of differing pixels: absolute mode, up to the next run of three.
            end = at
            while end < len(ids) and end - at < 255:
                if end + 2 < len(ids) and ids[end] == ids[end + 1] == ids[end + 2]:
                    break
                end += 1
            count = end - at
            if count < 3:
                for i in ids[at:end]:
                    body += bytes((1, i))
            else:
                body += bytes((0, count)) + bytes(ids[at:end]) + bytes(count & 1)
            at = end
        body += b"\0\0"
    body[-2:] = b"\0\1"
    w, h = len(rows[0]), len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 1, len(body), 0, 0, len(palette), 0)
    colours = b"".join(bytes((b, g, r, a)) for r, g, b, a in palette)
    return header + colours + bytes(body)


PICTURES = (("logo", logo), ("placeholder", placeholder), ("tick", tick), ("cross", cross))


def picture_names():
    return [f"{name}-{scale}.bmp" for name, _ in PICTURES for scale in SCALES]


def write_pictures(out):
    """The pictures and pictures.rc, which lists them under identifiers 1000 + 10 x the
    picture's number (1 to 4, as above) + the scale's place in SCALES."""
    rc = ["// Drawn by make_images.py: every picture at every scale."]
    sizes = []
    for number, (name, draw) in enumerate(PICTURES, start=1):
        shape, width, height = draw()
        for place, scale in enumerate(SCALES):
            data = rle8_bitmap(render(shape, width, height, scale))
            (out / f"{name}-{scale}.bmp").write_bytes(data)
            rc.append(f'{1000 + 10 * number + place} RCDATA "{name}-{scale}.bmp"')
            sizes.append((name, scale, len(data)))
    (out / "pictures.rc").write_text("\n".join(rc) + "\n")
    return sizes


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
    sizes = write_pictures(out)
    if len(sys.argv) > 2 and sys.argv[2] == "--sizes":
        for name, scale, size in sizes:
            print(f"{name:12} {scale:3}% {size:6} bytes")

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
