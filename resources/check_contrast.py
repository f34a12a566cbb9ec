#!/usr/bin/env python3
"""Checks that every outline the main window draws over the board picture stands out on it.

An outline is a 3-pixel pen drawn inside its rectangle, in one of four colours: aqua and yellow
(light), green and red (dark). For each of the eight rectangles (hover and result outline of
each connector, read from the window's layout header) every pixel of the ring right outside the
rectangle and of the ring right inside the pen must give each colour a contrast ratio of at
least 3:1, by the relative luminance of sRGB colours: (L1 + 0.05) / (L2 + 0.05).

A near-black ring passes with all four (green, the darkest of them, still gives 4.1:1 against
black); no grey or light ring can, since nothing is light enough to give 3:1 next to yellow. So
the picture keeps both rings of every outline near-black.

    python3 check_contrast.py [board.bmp] [Layout.h]

Standard library only. Exit code 0 when every ring pixel passes, 1 otherwise (each failing
outline and ring is listed with its worst pixel), 2 when the files do not read.
"""
import os
import re
import struct
import sys

COLOURS = {"aqua": (0x00, 0xFF, 0xFF), "yellow": (0xFF, 0xFF, 0x00),
           "green": (0x00, 0x80, 0x00), "red": (0xFF, 0x00, 0x00)}
PEN = 3
MINIMUM = 3.0


def channel(value):
    c = value / 255
    return c / 12.92 if c <= 0.03928 else ((c + 0.055) / 1.055) ** 2.4


def luminance(rgb):
    r, g, b = (channel(v) for v in rgb)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def contrast(a, b):
    la, lb = luminance(a), luminance(b)
    return (max(la, lb) + 0.05) / (min(la, lb) + 0.05)


def read_bmp(path):
    """(width, height, pixel(x, y) -> (r, g, b)) of an uncompressed 24-bit BMP."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:2] != b"BM":
        raise ValueError(f"{path} is not a BMP file")
    offset, = struct.unpack_from("<I", data, 10)
    width, height, _, bits, compression = struct.unpack_from("<iiHHI", data, 18)
    if bits != 24 or compression != 0:
        raise ValueError(f"{path} is not an uncompressed 24-bit BMP ({bits} bits, compression {compression})")
    stride = (width * 3 + 3) & ~3
    bottom_up = height > 0
    height = abs(height)

    def pixel(x, y):
        row = height - 1 - y if bottom_up else y
        i = offset + row * stride + x * 3
        b, g, r = data[i:i + 3]
        return r, g, b

    return width, height, pixel


def read_rects(layout):
    """{outline name: (left, top, width, height)} from the SHAPE_HOVER and SHAPE_RESULT tables."""
    with open(layout, encoding="utf-8") as f:
        text = f.read()
    rects = {}
    for table in ("SHAPE_HOVER", "SHAPE_RESULT"):
        match = re.search(table + r"\[4\]\s*=\s*\{(.*?)\};", text, re.S)
        if not match:
            raise ValueError(f"{layout} has no {table} table")
        entries = re.findall(r"\{\s*(-?\d+),\s*(-?\d+),\s*(-?\d+),\s*(-?\d+)\s*\},\s*//\s*(\w+)", match.group(1))
        if len(entries) != 4:
            raise ValueError(f"{layout}: {table} does not list four outlines")
        for *numbers, name in entries:
            rects[name] = tuple(int(n) for n in numbers)
    return rects


def ring(left, top, right, bottom):
    """The one-pixel ring along the inside of [left, right) x [top, bottom)."""
    for x in range(left, right):
        yield x, top
        yield x, bottom - 1
    for y in range(top + 1, bottom - 1):
        yield left, y
        yield right - 1, y


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    bmp = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "board.bmp")
    layout = sys.argv[2] if len(sys.argv) > 2 else os.path.join(here, "..", "app", "Layout.h")
    try:
        width, height, pixel = read_bmp(bmp)
        rects = read_rects(layout)
    except (OSError, ValueError, struct.error) as error:
        print(f"check_contrast: {error}")
        return 2
    failed = 0
    for name, (left, top, w, h) in rects.items():
        right, bottom = left + w, top + h
        rings = {"outside": ring(left - 1, top - 1, right + 1, bottom + 1),
                 "inside": ring(left + PEN, top + PEN, right - PEN, bottom - PEN)}
        for side, points in rings.items():
            worst = None
            for x, y in points:
                if not (0 <= x < width and 0 <= y < height):
                    continue  # off the picture: the window's own background, not the board
                rgb = pixel(x, y)
                for colour, pen in COLOURS.items():
                    ratio = contrast(rgb, pen)
                    if worst is None or ratio < worst[0]:
                        worst = (ratio, colour, x, y, rgb)
            if worst is None:
                continue
            ratio, colour, x, y, rgb = worst
            verdict = "ok" if ratio >= MINIMUM else "TOO LOW"
            failed += ratio < MINIMUM
            print(f"{name:<11} {side:<7} worst {ratio:5.2f}:1 ({colour} on #{rgb[0]:02X}{rgb[1]:02X}{rgb[2]:02X}"
                  f" at {x},{y}) {verdict}")
    print(f"{len(rects)} outlines, {len(COLOURS)} colours: " + ("all at least 3:1" if not failed else f"{failed} rings below 3:1"))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
