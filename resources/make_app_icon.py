#!/usr/bin/env python3
"""Draws the application icon: a scalable SVG and anti-aliased RGBA PNGs for the hicolor
theme. A dark rounded square, a silver ring and the lime play triangle of the media list.

Run from anywhere; writes into dist/icons/ of the project. Needs only Python 3.
"""
import os

from make_artwork import write_png

APP_ID = "example.ostrel.MediaPlayer"
HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "dist", "icons")
SIZES = [16, 24, 32, 48, 64, 128, 256, 512]

TOP, BOTTOM = (58, 58, 64), (20, 20, 24)
RING = (192, 192, 192)
LIME = (0, 255, 0)
CORNER = 0.18            # of the side
RING_OUTER, RING_INNER = 0.40, 0.34
TRIANGLE = [(0.40, 0.30), (0.40, 0.70), (0.73, 0.50)]


def in_rounded_square(x, y):
    m = 0.03
    if x < m or x > 1 - m or y < m or y > 1 - m:
        return False
    r = CORNER
    cx = min(max(x, m + r), 1 - m - r)
    cy = min(max(y, m + r), 1 - m - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def in_ring(x, y):
    d = (x - 0.5) ** 2 + (y - 0.5) ** 2
    return RING_INNER ** 2 <= d <= RING_OUTER ** 2


def in_triangle(x, y):
    (ax, ay), (bx, by), (cx, cy) = TRIANGLE
    def side(px, py, qx, qy):
        return (qx - px) * (y - py) - (qy - py) * (x - px)
    s1, s2, s3 = side(ax, ay, bx, by), side(bx, by, cx, cy), side(cx, cy, ax, ay)
    return (s1 <= 0 and s2 <= 0 and s3 <= 0) or (s1 >= 0 and s2 >= 0 and s3 >= 0)


def colour_at(x, y):
    """The colour of one sample, or None outside the icon."""
    if not in_rounded_square(x, y):
        return None
    if in_triangle(x, y):
        return LIME
    if in_ring(x, y):
        return RING
    return tuple(round(a + (b - a) * y) for a, b in zip(TOP, BOTTOM))


def raster(size):
    samples = 4 if size <= 64 else 2
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            total, r, g, b = 0, 0, 0, 0
            for sy in range(samples):
                for sx in range(samples):
                    c = colour_at((px + (sx + 0.5) / samples) / size, (py + (sy + 0.5) / samples) / size)
                    if c:
                        total += 1
                        r, g, b = r + c[0], g + c[1], b + c[2]
            if total:
                row.append((round(r / total), round(g / total), round(b / total), round(255 * total / samples ** 2)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def svg():
    s = 512
    m, r = 0.03 * s, CORNER * s
    points = " ".join(f"{x * s:g},{y * s:g}" for x, y in TRIANGLE)
    ring = (RING_OUTER + RING_INNER) / 2 * s
    hexa = lambda c: "#%02x%02x%02x" % c
    return f"""<svg xmlns="http://www.w3.org/2000/svg" width="{s}" height="{s}" viewBox="0 0 {s} {s}">
  <defs>
    <linearGradient id="face" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="{hexa(TOP)}"/>
      <stop offset="1" stop-color="{hexa(BOTTOM)}"/>
    </linearGradient>
  </defs>
  <rect x="{m:g}" y="{m:g}" width="{s - 2 * m:g}" height="{s - 2 * m:g}" rx="{r:g}" fill="url(#face)"/>
  <circle cx="{s / 2:g}" cy="{s / 2:g}" r="{ring:g}" fill="none" stroke="{hexa(RING)}" stroke-width="{(RING_OUTER - RING_INNER) * s:g}"/>
  <polygon points="{points}" fill="{hexa(LIME)}"/>
</svg>
"""


def main():
    scalable = os.path.join(OUT, "hicolor", "scalable", "apps")
    os.makedirs(scalable, exist_ok=True)
    with open(os.path.join(scalable, APP_ID + ".svg"), "w") as f:
        f.write(svg())
    for size in SIZES:
        folder = os.path.join(OUT, "hicolor", f"{size}x{size}", "apps")
        os.makedirs(folder, exist_ok=True)
        write_png(os.path.join(folder, APP_ID + ".png"), size, size, raster(size))


if __name__ == "__main__":
    main()
