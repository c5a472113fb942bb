#!/usr/bin/env python3
"""Draws the player's button faces (RGBA, anti-aliased, at 1x and 2x) and the button-row
band (24-bit) as PNG files.

Run from anywhere; writes into images/ beside this script. Needs only Python 3.
"""
import math
import os
import struct
import zlib

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "images")
SIZE = 41
SAMPLES = 4  # per axis of a 1x pixel


def write_png(path, width, height, pixels):
    """pixels: list of rows, each a list of (r, g, b) or, for all of them, (r, g, b, a)."""
    raw = b"".join(b"\x00" + bytes(c for p in row for c in p) for row in pixels)
    colour_type = 6 if len(pixels[0][0]) == 4 else 2

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0)))
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


def face_sample(x, y, shapes):
    """Colour and coverage of one point of the face, in units of the 1x face."""
    centre, radius = 20.5, 20.0
    distance = math.hypot(x - centre, y - centre)
    if distance > radius:
        return None  # the surround, transparent
    if distance > radius - 1.6:
        return 96  # the darker rim
    # Grey face, lit from the top left; the symbol is black.
    if any(inside_polygon(x, y, s) for s in shapes):
        return 0
    light = ((centre - x) + (centre - y)) / (2 * radius)
    return 178 + 40 * light


def face(name, shapes, scale):
    size = SIZE * scale
    samples = SAMPLES * 2  # per axis and per pixel, for smooth edges of the rim and the symbol
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            covered, grey = 0, 0.0
            for sy in range(samples):
                for sx in range(samples):
                    value = face_sample((x + (sx + 0.5) / samples) / scale, (y + (sy + 0.5) / samples) / scale, shapes)
                    if value is not None:
                        covered += 1
                        grey += value
            if covered == 0:
                row.append((0, 0, 0, 0))
                continue
            value = round(grey / covered)
            row.append((value, value, value, round(255 * covered / samples ** 2)))
        rows.append(row)
    suffix = "" if scale == 1 else "@%dx" % scale
    write_png(os.path.join(HERE, name + suffix + ".png"), size, size, rows)


def main():
    os.makedirs(HERE, exist_ok=True)
    band()
    for name, shapes in SYMBOLS.items():
        for scale in (1, 2):
            face(name, shapes, scale)


if __name__ == "__main__":
    main()
