#!/usr/bin/python3
"""Draw Velmora's application icon and logo as PNG files next to this script.

Only the Python standard library is used, so the pictures can be rebuilt on
any machine with a plain Python 3:

    python3 make_pictures.py

The motif (a stopwatch dial on a blue tile with a golden Euro coin) is
described once in normalised coordinates (0..1) and rendered at each size.
"""

import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

DIALOG_GREY = (0xEF, 0xEF, 0xEF)
BLUE_TOP = (0x2F, 0x6C, 0xB3)
BLUE_BOTTOM = (0x1A, 0x45, 0x80)
SHADOW = (0x0B, 0x22, 0x45)
WHITE = (0xFF, 0xFF, 0xFF)
DIAL_RIM = (0xD5, 0xE2, 0xF2)
NAVY = (0x16, 0x2B, 0x4D)
TICK = (0x7A, 0x8F, 0xAD)
GOLD = (0xF6, 0xBE, 0x3C)
GOLD_RIM = (0xD8, 0x8E, 0x16)
BROWN = (0x7A, 0x4A, 0x05)


# Signed distance functions: negative inside, in normalised units.  Exact
# distances let the renderer skip supersampling away from edges.

def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def rounded_rect(x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hw, hh = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def dist(x, y):
        qx, qy = abs(x - cx) - hw, abs(y - cy) - hh
        return (math.hypot(max(qx, 0.0), max(qy, 0.0))
                + min(max(qx, qy), 0.0) - r)
    return dist


def segment(x0, y0, x1, y1, width):
    """A thick line with round caps."""
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy

    def dist(x, y):
        t = ((x - x0) * dx + (y - y0) * dy) / length2
        t = min(max(t, 0.0), 1.0)
        return math.hypot(x - x0 - t * dx, y - y0 - t * dy) - width / 2
    return dist


def open_ring(cx, cy, r, width, gap_deg):
    """A ring with round ends, open towards +x by +-gap_deg (the Euro's C)."""
    gap = math.radians(gap_deg)
    ex, ey = r * math.cos(gap), r * math.sin(gap)

    def dist(x, y):
        px, py = x - cx, abs(y - cy)
        if math.atan2(py, px) > gap:
            return abs(math.hypot(px, py) - r) - width / 2
        return math.hypot(px - ex, py - ey) - width / 2
    return dist


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def vertical_gradient(top, bottom, y0, y1):
    def colour(x, y):
        t = min(max((y - y0) / (y1 - y0), 0.0), 1.0)
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))
    return colour


def polar(cx, cy, hours, r):
    """The point at radius r towards `hours` on a 12-hour face (y down)."""
    a = hours / 12 * 2 * math.pi
    return cx + r * math.sin(a), cy - r * math.cos(a)


def spoke(cx, cy, hours, r0, r1, width):
    return segment(*polar(cx, cy, hours, r0), *polar(cx, cy, hours, r1),
                   width)


def at_least(width, pixels, size):
    # Keep strokes from fading into grey at the small sizes.
    return max(width, pixels / size)


def motif(size):
    """Layers (shape, colour, opacity, blur) from back to front."""
    dx, dy, dr = 0.47, 0.54, 0.33           # dial centre and radius
    kx, ky, kr = 0.745, 0.765, 0.185        # coin centre and radius
    blue = vertical_gradient(BLUE_TOP, BLUE_BOTTOM, 0.0, 1.0)
    layers = [
        (rounded_rect(0.03, 0.03, 0.97, 0.97, 0.21), blue, 1.0, 0),
        # Crown and side button make the dial read as a stopwatch.
        (rounded_rect(dx - 0.07, 0.09, dx + 0.07, 0.16, 0.025),
         WHITE, 1.0, 0),
        (segment(dx, 0.14, dx, dy - dr + 0.02, at_least(0.06, 1.5, size)),
         WHITE, 1.0, 0),
        (spoke(dx, dy, 1.5, dr - 0.02, dr + 0.06, at_least(0.07, 1.5, size)),
         WHITE, 1.0, 0),
        # A soft shadow lifts the dial off the tile.
        (circle(dx + 0.01, dy + 0.025, dr), SHADOW, 0.45, 0.06),
        (circle(dx, dy, dr), DIAL_RIM, 1.0, 0),
        (circle(dx, dy, dr - at_least(0.035, 1.0, size)), WHITE, 1.0, 0),
    ]
    if size >= 48:
        # Hour ticks only where there are enough pixels to show them.
        for k in range(12):
            major = k % 3 == 0
            layers.append((spoke(dx, dy, k, dr - (0.1 if major else 0.075),
                                 dr - 0.05, 0.03 if major else 0.018),
                           TICK, 1.0, 0))
    layers += [
        (spoke(dx, dy, 10.2, 0, 0.15, at_least(0.075, 1.6, size)),
         NAVY, 1.0, 0),
        (spoke(dx, dy, 2.0, 0, 0.235, at_least(0.05, 1.8, size)),
         NAVY, 1.0, 0),
        (circle(dx, dy, 0.045), NAVY, 1.0, 0),
        # A tile-coloured moat keeps the coin apart from the dial.
        (circle(kx, ky, kr + 0.04), blue, 1.0, 0),
        (circle(kx, ky, kr), GOLD_RIM, 1.0, 0),
        (circle(kx, ky, kr - at_least(0.03, 1.0, size)), GOLD, 1.0, 0),
    ]
    stroke = at_least(0.038, 1.1, size)
    euro = union(
        open_ring(kx + 0.015, ky, kr * 0.52, stroke, 48),
        segment(kx - 0.115, ky - 0.022, kx + 0.015, ky - 0.022, stroke * 0.8),
        segment(kx - 0.115, ky + 0.022, kx + 0.015, ky + 0.022, stroke * 0.8))
    layers.append((euro, BROWN, 1.0, 0))
    return layers


def render(layers, size, ss=4):
    """Rows of premultiplied (r, g, b, a) pixels, anti-aliased.

    Edge pixels are supersampled ss x ss; pixels further than half a
    diagonal from an edge are fully in or out and need one sample only.
    """
    px = 1.0 / size
    edge = 0.75 * px
    offsets = [((k + 0.5) / ss - 0.5) * px for k in range(ss)]
    rows = []
    for j in range(size):
        row = []
        y = (j + 0.5) * px
        for i in range(size):
            x = (i + 0.5) * px
            r = g = b = a = 0.0
            for shape, colour, opacity, blur in layers:
                d = shape(x, y)
                if blur:
                    cover = min(max(0.5 - d / blur, 0.0), 1.0)
                elif d >= edge:
                    continue
                elif d <= -edge:
                    cover = 1.0
                else:
                    hits = sum(shape(x + ox, y + oy) < 0
                               for oy in offsets for ox in offsets)
                    cover = hits / (ss * ss)
                k = cover * opacity
                if k <= 0.0:
                    continue
                cr, cg, cb = colour(x, y) if callable(colour) else colour
                r += (cr - r) * k
                g += (cg - g) * k
                b += (cb - b) * k
                a += (1.0 - a) * k
            row.append((r, g, b, a))
        rows.append(row)
    return rows


def to_bytes(rows, background=None):
    """RGB flattened onto `background`, or RGBA if there is none."""
    out = []
    for row in rows:
        line = bytearray(b"\0")  # PNG filter type: none
        for r, g, b, a in row:
            if background:
                rgb = [c + bg * (1.0 - a) for c, bg in zip((r, g, b),
                                                          background)]
            else:
                rgb = [c / a if a else 0.0 for c in (r, g, b)]
                rgb.append(a * 255)
            line += bytes(min(255, max(0, int(v + 0.5))) for v in rgb)
        out.append(bytes(line))
    return b"".join(out)


def write_png(name, size, data, colour_type):
    def chunk(tag, body):
        return (struct.pack(">I", len(body)) + tag + body
                + struct.pack(">I", zlib.crc32(tag + body) & 0xFFFFFFFF))

    header = struct.pack(">IIBBBBB", size, size, 8, colour_type, 0, 0, 0)
    png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
           + chunk(b"IDAT", zlib.compress(data, 9)) + chunk(b"IEND", b""))
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(png)


def main():
    # Window icon and logo sit on a light grey dialog: opaque RGB.
    for name, size in (("app_icon.png", 32), ("logo.png", 71)):
        write_png(name, size, to_bytes(render(motif(size), size),
                                       DIALOG_GREY), 2)
    # Desktop menu icons: transparent corners suit any theme.
    for size in (48, 64, 128, 256):
        write_png("app_icon_%d.png" % size, size,
                  to_bytes(render(motif(size), size)), 6)


if __name__ == "__main__":
    main()
