#!/usr/bin/env python3
"""Draws the program icon (Ombrix.ico), the nine desktop icons (1.ico .. 9.ico, which are also
the theme "default"), the pictures of the menu items (menu/*.ico) and the desktop icons of the
theme "colours" (themes/colours/1.ico .. 9.ico).

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


def blank(size):
    return [[(0.0, 0.0, 0.0, 0.0)] * size for _ in range(size)]


def strokes(size, polylines, width):
    """Coverage of polylines given in a 16 x 16 box, drawn width (box units) wide."""
    k = size / 16.0
    segments = []
    for line in polylines:
        pts = [(x * k, y * k) for x, y in line]
        segments += list(zip(pts, pts[1:]))
    half = max(0.55, width * k / 2)
    return coverage(size, lambda x, y: any(
        dist_to_segment(x, y, a[0], a[1], b[0], b[1]) <= half for a, b in segments))


def disc(size, cx, cy, r):
    """Coverage of a disc given in the 16 x 16 box."""
    k = size / 16.0
    return coverage(size, lambda x, y: (x - cx * k) ** 2 + (y - cy * k) ** 2 <= (r * k) ** 2)


def box(size, left, top, right, bottom, radius=1.0):
    k = size / 16.0
    return coverage(size, lambda x, y: in_rounded_rect(x, y, left * k, top * k, right * k,
                                                      bottom * k, radius * k))


DARK = rgba(60, 60, 70)
BLUE = rgba(45, 110, 190)
WHITE = rgba(255, 255, 255)


def window_picture(size):
    img = blank(size)
    paint(img, box(size, 1, 2, 15, 14), DARK)
    paint(img, box(size, 2, 5, 14, 13, 0.5), WHITE)
    paint(img, box(size, 2, 3, 14, 4.6, 0.3), BLUE)
    return img


def move_picture(size):
    img = blank(size)
    paint(img, box(size, 0.5, 4, 9.5, 13), DARK)
    paint(img, box(size, 1.5, 6, 8.5, 12, 0.5), WHITE)
    paint(img, strokes(size, [[(6, 8.5), (14.5, 8.5)], [(11.5, 5.5), (14.5, 8.5), (11.5, 11.5)]],
                       2.0), rgba(40, 150, 60))
    return img


def gear(size, cx, cy, outer, colour, img):
    k = size / 16.0
    inner = outer * 0.72

    def inside(x, y):
        dx, dy = x - cx * k, y - cy * k
        r = math.hypot(dx, dy) / k
        if r < outer * 0.35:
            return False
        if r <= inner:
            return True
        angle = (math.degrees(math.atan2(dy, dx)) + 360) % 45
        return r <= outer and 11 <= angle <= 34

    paint(img, coverage(size, inside), colour)


def settings_picture(size):
    img = blank(size)
    gear(size, 8, 8, 7.5, rgba(90, 95, 110), img)
    return img


def desktop_settings_picture(size):
    img = blank(size)
    paint(img, box(size, 0.5, 1.5, 15.5, 12), DARK)
    paint(img, box(size, 1.8, 2.8, 14.2, 10.7, 0.3), BLUE)
    paint(img, box(size, 6, 12, 10, 13.5, 0), DARK)
    paint(img, box(size, 4, 13.5, 12, 15, 0.6), DARK)
    return img


def rules_picture(size):
    img = blank(size)
    paint(img, box(size, 1.5, 0.5, 14.5, 15.5), DARK)
    paint(img, box(size, 2.7, 1.7, 13.3, 14.3, 0.4), WHITE)
    for y in (4.5, 8, 11.5):
        paint(img, strokes(size, [[(4, y), (5.2, y + 1.1), (7, y - 1.2)]], 1.3), rgba(40, 150, 60))
        paint(img, strokes(size, [[(8.5, y), (11.8, y)]], 1.3), DARK)
    return img


def program_settings_picture(size):
    img = blank(size)
    for y, knob in ((3.5, 10.5), (8, 5), (12.5, 9)):
        paint(img, strokes(size, [[(1.5, y), (14.5, y)]], 1.4), DARK)
        paint(img, disc(size, knob, y, 2.2), BLUE)
    return img


def help_picture(size):
    img = blank(size)
    paint(img, disc(size, 8, 8, 7.5), BLUE)
    paint(img, strokes(size, [arc(8, 5.8, 2.6, 2.4, 160, -60) + [(8, 9.6)]], 2.0), WHITE)
    paint(img, disc(size, 8, 12.4, 1.25), WHITE)
    return img


def about_picture(size):
    img = blank(size)
    paint(img, disc(size, 8, 8, 7.5), BLUE)
    paint(img, disc(size, 8, 4.4, 1.3), WHITE)
    paint(img, strokes(size, [[(8, 7.2), (8, 12.5)]], 2.2), WHITE)
    return img


def exit_picture(size):
    img = blank(size)
    paint(img, disc(size, 8, 8, 7.5), rgba(200, 50, 45))
    paint(img, strokes(size, [arc(8, 8.6, 4.2, 4.2, 60, -240)], 1.7), WHITE)
    paint(img, strokes(size, [[(8, 2.6), (8, 8)]], 1.7), WHITE)
    return img


MENU_PICTURES = {
    'application': window_picture,
    'move': move_picture,
    'settings': settings_picture,
    'desktop_settings': desktop_settings_picture,
    'application_rules': rules_picture,
    'program_settings': program_settings_picture,
    'help': help_picture,
    'about': about_picture,
    'exit': exit_picture,
}

# The theme "colours": one hue per desktop, a round badge with the digit.
COLOURS = [(214, 69, 65), (230, 126, 34), (212, 172, 13), (39, 174, 96), (22, 160, 133),
           (41, 128, 185), (142, 68, 173), (200, 60, 140), (90, 100, 110)]


def colour_image(size, digit):
    img = blank(size)
    r, g, b = COLOURS[digit - 1]
    paint(img, disc(size, 8, 8, 8), rgba(r * 0.7, g * 0.7, b * 0.7))
    paint(img, disc(size, 8, 8, 7.1), rgba(r, g, b))
    glyph_h = 9.4
    scale = glyph_h / 8.0
    ox = 8 - 2 * scale
    oy = 8 - glyph_h / 2
    lines = [[(ox + x * scale, oy + y * scale) for x, y in stroke] for stroke in digit_strokes(digit)]
    paint(img, strokes(size, lines, 1.7 if size < 24 else 1.5), WHITE)
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


def write(path, images):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as f:
        f.write(ico_bytes(images))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    write(os.path.join(here, 'Ombrix.ico'), [program_image(s) for s in SIZES])
    for digit in range(1, 10):
        write(os.path.join(here, f'{digit}.ico'), [desktop_image(s, digit) for s in SIZES])
        write(os.path.join(here, 'themes', 'colours', f'{digit}.ico'),
              [colour_image(s, digit) for s in SIZES])
    for name, draw in MENU_PICTURES.items():
        write(os.path.join(here, 'menu', f'{name}.ico'), [draw(s) for s in SIZES])


if __name__ == '__main__':
    main()
