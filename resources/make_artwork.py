#!/usr/bin/env python3
"""Draws the player's button faces and the button-row band as 24-bit PNG files.

Run from anywhere; writes into images/ beside this script. Needs only Python 3.
"""
import math
import os
import struct
import zlib

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "images")
SIZE = 41
SAMPLES = 4  # per axis, for smooth symbol edges


def write_png(path, width, height, pixels):
    """pixels: list of rows, each a list of (r, g, b)."""
    raw = b"".join(b"\x00" + bytes(c for p in row for c in p) for row in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))


def band():
    top, middle = (157, 156, 159), (206, 203, 216)
    rows = []
    for y in range(81):
        t = 1 - abs(y - 40) / 40
        rows.append([tuple(round(a + (b - a) * t) for a, b in zip(top, middle))])
    write_png(os.path.join(HERE, "band.png"), 1, 81, rows)


def inside_polygon(x, y, points):
    inside = False
    j = len(points) - 1
    for i, (xi, yi) in enumerate(points):
        xj, yj = points[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


def rect(x0, y0, x1, y1):
    return [(x0, y0), (x1, y0), (x1, y1), (x0, y1)]


SYMBOLS = {
    "previous": [rect(11.5, 13, 14.5, 28), [(28, 13), (28, 28), (15.5, 20.5)]],
    "pause": [rect(13, 13, 18, 28), rect(23, 13, 28, 28)],
    "play": [[(15, 11.5), (15, 29.5), (30, 20.5)]],
    "next": [[(13, 13), (13, 28), (25.5, 20.5)], rect(26.5, 13, 29.5, 28)],
    "stop": [rect(13.5, 13.5, 27.5, 27.5)],
    "eject": [[(10.5, 22), (30.5, 22), (20.5, 11)], rect(10.5, 25, 30.5, 29)],
    "close": [[(10, 13), (10, 28), (19, 20.5)], [(31, 13), (31, 28), (22, 20.5)]],
}


def face(name, shapes):
    centre, radius = 20.5, 20.0
    rows = []
    for y in range(SIZE):
        row = []
        for x in range(SIZE):
            distance = math.hypot(x + 0.5 - centre, y + 0.5 - centre)
            if distance > radius:
                row.append((255, 255, 255))  # the surround, cut out as transparent
                continue
            # Grey face, lit from the top left, with a darker rim.
            light = ((centre - (x + 0.5)) + (centre - (y + 0.5))) / (2 * radius)
            grey = 178 + round(40 * light)
            if distance > radius - 1.6:
                grey = 96
            covered = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    px = x + (sx + 0.5) / SAMPLES
                    py = y + (sy + 0.5) / SAMPLES
                    if any(inside_polygon(px, py, s) for s in shapes):
                        covered += 1
            value = round(grey * (1 - covered / SAMPLES ** 2))
            value = min(value, 254)  # only the surround is pure white
            row.append((value, value, value))
        rows.append(row)
    write_png(os.path.join(HERE, name + ".png"), SIZE, SIZE, rows)


def main():
    os.makedirs(HERE, exist_ok=True)
    band()
    for name, shapes in SYMBOLS.items():
        face(name, shapes)


if __name__ == "__main__":
    main()
