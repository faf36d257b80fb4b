#!/usr/bin/env python3
"""Draws data/sample.png, the bundled sample picture: a snow-capped mountain under a sun, with
clouds and a lake. Drawn for Charloom and given to the public domain (CC0), so it may be
redistributed with the program. Uses only the standard library."""
import math
import struct
import sys
import zlib

W, H = 480, 360


def clamp(v):
    return max(0, min(255, int(round(v))))


def pixel(x, y):
    # Sky: a vertical gradient from deep blue to pale at the horizon.
    t = y / 220.0
    r, g, b = 40 + 150 * t, 90 + 130 * t, 170 + 70 * t
    # Sun with a soft halo.
    d = math.hypot(x - 360, y - 80)
    if d < 38:
        r, g, b = 255, 240, 200
    elif d < 70:
        k = (70 - d) / 32.0
        r, g, b = r + (255 - r) * k * 0.6, g + (235 - g) * k * 0.6, b + (190 - b) * k * 0.6
    # Clouds: overlapping ellipses.
    for cx, cy, rx, ry in ((110, 70, 60, 18), (150, 60, 45, 20), (80, 80, 40, 12), (250, 130, 50, 12)):
        if ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 < 1:
            r, g, b = 245, 245, 250
    # Mountain: a broad peak; its slopes darken to the left, light to the right.
    peak_x, peak_y, base_y = 220, 95, 250
    half = (y - peak_y) * 1.35
    if peak_y <= y <= base_y and abs(x - peak_x) <= half:
        shade = 0.75 if x < peak_x else 1.0
        ridge = 6 * math.sin(x / 9.0)
        if y < 135 + ridge:
            r, g, b = 250 * shade, 250 * shade, 255 * shade
        else:
            r, g, b = 60 * shade, 80 * shade, 120 * shade
    # Lake with the mountain's reflection and ripples.
    if y > 250:
        ry = 500 - y
        half = (ry - peak_y) * 1.35
        r, g, b = 30, 60, 110
        if 95 <= ry <= 250 and abs(x - peak_x) <= half:
            r, g, b = 70, 90, 130
        if int(y / 6) % 3 == 0 and (x + y * 3) % 40 < 18:
            r, g, b = r + 60, g + 60, b + 60
    # Shore in the foreground.
    if y > 330 - 12 * math.sin(x / 40.0):
        r, g, b = 40, 35, 30
    return clamp(r), clamp(g), clamp(b)


def main(path):
    raw = bytearray()
    for y in range(H):
        raw.append(0)
        for x in range(W):
            raw.extend(pixel(x, y))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", W, H, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "data/sample.png")
