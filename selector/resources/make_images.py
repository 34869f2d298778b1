#!/usr/bin/env python3
"""Draws Tamsel's images: the strip of status marks (bitmaps/130.png) and the
program's icon (icons/130.png, also the desktop's icon). Run it after a change."""
import math, struct, zlib, os

def png(path, width, height, pixels):
    raw = b"".join(b"\0" + bytes(c for px in pixels[y*width:(y+1)*width] for c in px) for y in range(height))
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xffffffff)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))

def render(size, shape, samples=4):
    """shape(x, y) -> (r, g, b, a) or None for a point in [0, size)^2; supersampled."""
    out = []
    for py in range(size):
        for px in range(size):
            acc = [0.0] * 4
            for sy in range(samples):
                for sx in range(samples):
                    c = shape(px + (sx + 0.5) / samples, py + (sy + 0.5) / samples)
                    if c:
                        a = c[3] / 255.0
                        for i in range(3):
                            acc[i] += c[i] * a
                        acc[3] += a
            n = samples * samples
            a = acc[3] / n
            out.append((0, 0, 0, 0) if a == 0 else tuple(int(acc[i] / acc[3] + 0.5) for i in range(3)) + (int(a * 255 + 0.5),))
    return out

def segment_distance(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(x - (ax + t * dx), y - (ay + t * dy))

WHITE = (255, 255, 255, 255)

def circle_mark(fill, glyph=None, outline=None, half=False):
    def shape(x, y):
        d = math.hypot(x - 8, y - 8)
        if d > 7.2:
            return None
        if glyph and glyph(x, y):
            return WHITE
        if outline and d > 5.8:
            return outline
        if half and x > 8 and d <= 5.8:
            return WHITE
        return fill
    return shape

def check_glyph(x, y):
    return segment_distance(x, y, 4.5, 8.2, 7, 10.8) < 1.1 or segment_distance(x, y, 7, 10.8, 11.6, 5.2) < 1.1

def cross_glyph(x, y):
    return segment_distance(x, y, 5.2, 5.2, 10.8, 10.8) < 1.1 or segment_distance(x, y, 5.2, 10.8, 10.8, 5.2) < 1.1

def warning(x, y):
    # A triangle with an exclamation mark.
    if y < 1.5 or y > 14.8:
        return None
    half_width = (y - 1.5) * 7.0 / 13.3
    if abs(x - 8) > half_width:
        return None
    if (abs(x - 8) < 1.0 and 5.5 < y < 10.5) or math.hypot(x - 8, y - 12.6) < 1.0:
        return (40, 30, 0, 255)
    return (240, 160, 0, 255)

marks = [
    lambda x, y: None,                                                    # 0: none
    circle_mark((255, 255, 255, 255), outline=(120, 120, 120, 255)),       # 1: not checked
    circle_mark((30, 140, 50, 255), check_glyph),                          # 2: checked, all well
    circle_mark((30, 100, 190, 255), half=True),                           # 3: partly repaired, saved
    warning,                                                               # 4: problems remain
    circle_mark((200, 30, 30, 255), cross_glyph),                          # 5: could not be checked
    lambda x, y: None,                                                    # 6: folder
]
strip = [render(16, m) for m in marks]
pixels = [strip[i][y * 16 + x] for y in range(16) for i in range(len(marks)) for x in range(16)]
here = os.path.dirname(os.path.abspath(__file__))
png(os.path.join(here, "bitmaps", "130.png"), 16 * len(marks), 16, pixels)

def app_icon(x, y):
    s = 48 / 16.0
    # The badge: a green circle with a check at the bottom right.
    bx, by = 34, 34
    if math.hypot(x - bx, y - by) < 12:
        if segment_distance(x, y, bx - 6, by, bx - 2, by + 4) < 2.0 or segment_distance(x, y, bx - 2, by + 4, bx + 6, by - 5) < 2.0:
            return WHITE
        return (30, 140, 50, 255)
    # The page: a sheet with a folded corner and lines of text.
    if 8 <= x <= 36 and 4 <= y <= 44:
        if x > 28 and y < 12 and (x - 28) > (y - 4):
            return None if (x - 28) > (y - 4) + 0.8 else (90, 90, 90, 255)
        if x < 9.2 or x > 34.8 or y < 5.2 or y > 42.8:
            return (90, 90, 90, 255)
        for line_y in (14, 19, 24, 29):
            if line_y <= y <= line_y + 1.6 and 13 <= x <= 31:
                return (70, 110, 180, 255)
        return (250, 250, 250, 255)
    return None

png(os.path.join(here, "icons", "130.png"), 48, 48, render(48, app_icon))
