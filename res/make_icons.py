#!/usr/bin/env python3
"""Draws the program icon (Ombrix.ico) and the nine desktop icons (1.ico .. 9.ico).

Run from anywhere: python3 res/make_icons.py. The .ico files are kept in res/ so the build does
not need this script. Only the standard library is used: shapes are rasterised with 4x4
supersampling and written as 32-bit ICO images (BGRA plus the AND mask).
"""
import math
import os
import struct

SIZES = (16, 20, 24, 32, 48)
SUB = 4  # supersamples per pixel side

# Digit strokes in a 4 x 8 box, y downwards; each stroke is a polyline.


def arc(cx, cy, rx, ry, start, end, steps=24):
    """Points of an elliptic arc; angles in degrees, counter-clockwise as seen on screen."""
    pts = []
    for i in range(steps + 1):
        a = math.radians(start + (end - start) * i / steps)
        pts.append((cx + rx * math.cos(a), cy - ry * math.sin(a)))
    return pts


def digit_strokes(d):
    if d == 1:
        return [[(0.9, 1.6), (2.3, 0.0), (2.3, 8.0)], [(1.0, 8.0), (3.6, 8.0)]]
    if d == 2:
        return [arc(2, 2, 2, 2, 165, -40) + [(0.0, 8.0), (4.0, 8.0)]]
    if d == 3:
        return [arc(2, 2, 1.9, 2, 155, -90), arc(2, 6, 2, 2, 90, -155)]
    if d == 4:
        return [[(3.0, 8.0), (3.0, 0.0), (0.0, 5.6), (4.0, 5.6)]]
    if d == 5:
        return [[(3.8, 0.0), (0.5, 0.0), (0.3, 3.8)] + arc(2, 5.7, 2, 2.3, 125, -150)]
    if d == 6:
        return [arc(4.1, 6, 4.1, 6, 95, 180), arc(2, 6, 2, 2, 0, 360, 36)]
    if d == 7:
        return [[(0.0, 0.0), (4.0, 0.0), (1.4, 8.0)]]
    if d == 8:
        return [arc(2, 1.9, 1.75, 1.9, 0, 360, 36), arc(2, 6, 2, 2, 0, 360, 36)]
    if d == 9:
        return [[(4 - x, 8 - y) for x, y in s] for s in digit_strokes(6)]
    raise ValueError(d)


def dist_to_segment(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
    qx, qy = ax + t * dx - px, ay + t * dy - py
    return math.hypot(qx, qy)


def in_rounded_rect(x, y, left, top, right, bottom, radius):
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def blend(under, over, coverage):
    """Source-over of an RGBA colour with coverage onto an RGBA pixel (straight alpha)."""
    r, g, b, a = over
    a = a * coverage
    ur, ug, ub, ua = under
    out_a = a + ua * (1 - a)
    if out_a == 0:
        return (0.0, 0.0, 0.0, 0.0)
    mix = lambda o, u: (o * a + u * ua * (1 - a)) / out_a
    return (mix(r, ur), mix(g, ug), mix(b, ub), out_a)


def coverage(size, inside):
    """Fraction of each pixel's supersamples for which inside(x, y) holds (pixel units)."""
    cov = [[0.0] * size for _ in range(size)]
    step = 1.0 / SUB
    for py in range(size):
        for px in range(size):
            hits = 0
            for sy in range(SUB):
                for sx in range(SUB):
                    if inside(px + (sx + 0.5) * step, py + (sy + 0.5) * step):
                        hits += 1
            cov[py][px] = hits / (SUB * SUB)
    return cov


def paint(img, cov, colour):
    for y, row in enumerate(cov):
        for x, c in enumerate(row):
            if c > 0:
                img[y][x] = blend(img[y][x], colour, c)


def rgba(r, g, b, a=255):
    return (r / 255, g / 255, b / 255, a / 255)


def desktop_image(size, digit):
    img = [[(0.0, 0.0, 0.0, 0.0)] * size for _ in range(size)]
    radius = size * 0.18
    inset = 0.5 if size <= 20 else size / 32
    outer = coverage(size, lambda x, y: in_rounded_rect(x, y, 0, 0, size, size, radius))
    inner = coverage(size, lambda x, y: in_rounded_rect(x, y, inset, inset, size - inset,
                                                        size - inset, radius - inset))
    paint(img, outer, rgba(20, 60, 120))
    paint(img, inner, rgba(45, 110, 190))
    # The digit fills most of the height; the stroke grows with the size.
    glyph_h = size * 0.66
    scale = glyph_h / 8.0
    half_w = max(0.85, size * 0.075)
    ox = (size - 4 * scale) / 2
    oy = (size - glyph_h) / 2
    segments = []
    for stroke in digit_strokes(digit):
        pts = [(ox + x * scale, oy + y * scale) for x, y in stroke]
        segments += list(zip(pts, pts[1:]))

    def on_digit(x, y):
        return any(dist_to_segment(x, y, a[0], a[1], b[0], b[1]) <= half_w for a, b in segments)

    paint(img, coverage(size, on_digit), rgba(255, 255, 255))
    return img


def program_image(size):
    """Nine small squares on a dark tile: one per desktop, the current one lit."""
    img = [[(0.0, 0.0, 0.0, 0.0)] * size for _ in range(size)]
    paint(img, coverage(size, lambda x, y: in_rounded_rect(x, y, 0, 0, size, size, size * 0.2)),
          rgba(64, 64, 64))
    margin = size * 0.16
    gap = size * 0.07
    cell = (size - 2 * margin - 2 * gap) / 3
    for row in range(3):
        for col in range(3):
            left = margin + col * (cell + gap)
            top = margin + row * (cell + gap)
            colour = rgba(255, 255, 255) if (row, col) == (0, 0) else rgba(70, 140, 220)
            paint(img, coverage(size, lambda x, y, l=left, t=top: in_rounded_rect(
                x, y, l, t, l + cell, t + cell, cell * 0.2)), colour)
    return img


def ico_bytes(images):
    """An ICO file of 32-bit DIB images given as rows of straight-alpha RGBA floats."""
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for img in images:
        size = len(img)
        xor = bytearray()
        for row in reversed(img):
            for r, g, b, a in row:
                xor += bytes((round(b * 255), round(g * 255), round(r * 255), round(a * 255)))
        mask_stride = ((size + 31) // 32) * 4
        mask = bytearray()
        for row in reversed(img):
            bits = bytearray(mask_stride)
            for x, (_, _, _, a) in enumerate(row):
                if round(a * 255) == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(xor) + len(mask),
                             0, 0, 0, 0)
        blob = header + xor + mask
        entries.append(struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(blob),
                                   offset))
        blobs.append(blob)
        offset += len(blob)
    return struct.pack('<HHH', 0, 1, len(images)) + b''.join(entries) + b''.join(blobs)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, 'Ombrix.ico'), 'wb') as f:
        f.write(ico_bytes([program_image(s) for s in SIZES]))
    for digit in range(1, 10):
        with open(os.path.join(here, f'{digit}.ico'), 'wb') as f:
            f.write(ico_bytes([desktop_image(s, digit) for s in SIZES]))


if __name__ == '__main__':
    main()
