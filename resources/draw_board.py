#!/usr/bin/env python3
"""Draws the KV7 board picture (board.bmp, 24-bit, 508 x 580) and the program icon (kv7.ico).

The main window paints the picture at its top-left corner and lays its connector outlines over
it, so the four ORBA connectors must sit exactly where the window expects them: connector A at
(368, 48), B at (368, 328), C at (112, 336), D at (112, 48), each 28 x 217 pixels. Standard
library only, so the picture can be redrawn anywhere:

    python3 draw_board.py [output folder]

check_contrast.py beside it measures how the outlines stand out on the picture.
"""
import os
import struct
import sys

WIDTH, HEIGHT = 508, 580

# Connector bodies, in connector order A, B, C, D: (left, top, width, height).
CONNECTORS = {
    "A": (368, 48, 28, 217),
    "B": (368, 328, 28, 217),
    "C": (112, 336, 28, 217),
    "D": (112, 48, 28, 217),
}

MASK = (22, 98, 52)          # green solder mask
MASK_DARK = (16, 78, 40)
TRACE = (34, 122, 66)        # copper under the mask
SILK = (236, 238, 230)
GOLD = (212, 172, 84)
GOLD_DARK = (150, 116, 50)
BLACK_PLASTIC = (34, 34, 38)
CONNECTOR_BODY = (22, 22, 25)
SHROUD = (10, 10, 12)         # around the connectors, where the outlines are drawn
TABLE = (200, 200, 200)      # what shows past the board's rounded corners

# A 5 x 7 font for the silkscreen, one string of five columns' rows per glyph.
FONT = {
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "B": ["11110", "10001", "10001", "11110", "10001", "10001", "11110"],
    "C": ["01110", "10001", "10000", "10000", "10000", "10001", "01110"],
    "D": ["11100", "10010", "10001", "10001", "10001", "10010", "11100"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "F": ["11111", "10000", "10000", "11110", "10000", "10000", "10000"],
    "G": ["01110", "10001", "10000", "10111", "10001", "10001", "01111"],
    "I": ["01110", "00100", "00100", "00100", "00100", "00100", "01110"],
    "J": ["00111", "00010", "00010", "00010", "00010", "10010", "01100"],
    "K": ["10001", "10010", "10100", "11000", "10100", "10010", "10001"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "M": ["10001", "11011", "10101", "10101", "10001", "10001", "10001"],
    "N": ["10001", "10001", "11001", "10101", "10011", "10001", "10001"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "P": ["11110", "10001", "10001", "11110", "10000", "10000", "10000"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "S": ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "U": ["10001", "10001", "10001", "10001", "10001", "10001", "01110"],
    "V": ["10001", "10001", "10001", "10001", "10001", "01010", "00100"],
    "W": ["10001", "10001", "10001", "10101", "10101", "10101", "01010"],
    "X": ["10001", "10001", "01010", "00100", "01010", "10001", "10001"],
    "0": ["01110", "10001", "10011", "10101", "11001", "10001", "01110"],
    "1": ["00100", "01100", "00100", "00100", "00100", "00100", "01110"],
    "2": ["01110", "10001", "00001", "00010", "00100", "01000", "11111"],
    "3": ["11111", "00010", "00100", "00010", "00001", "10001", "01110"],
    "4": ["00010", "00110", "01010", "10010", "11111", "00010", "00010"],
    "5": ["11111", "10000", "11110", "00001", "00001", "10001", "01110"],
    "6": ["00110", "01000", "10000", "11110", "10001", "10001", "01110"],
    "7": ["11111", "00001", "00010", "00100", "01000", "01000", "01000"],
    "8": ["01110", "10001", "10001", "01110", "10001", "10001", "01110"],
    "-": ["00000", "00000", "00000", "11111", "00000", "00000", "00000"],
    ".": ["00000", "00000", "00000", "00000", "00000", "01100", "01100"],
    "+": ["00000", "00100", "00100", "11111", "00100", "00100", "00000"],
    " ": ["00000"] * 7,
}


class Canvas:
    def __init__(self, width, height, colour):
        self.width, self.height = width, height
        self.pixels = bytearray(bytes(colour) * (width * height))

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            i = (y * self.width + x) * 3
            self.pixels[i:i + 3] = bytes(colour)

    def get(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i:i + 3])

    def blend(self, x, y, colour, alpha):
        if alpha <= 0 or not (0 <= x < self.width and 0 <= y < self.height):
            return
        if alpha >= 1:
            self.put(x, y, colour)
            return
        old = self.get(x, y)
        self.put(x, y, tuple(int(o + (c - o) * alpha + 0.5) for o, c in zip(old, colour)))

    def rect(self, x, y, w, h, colour):
        x0, y0 = max(x, 0), max(y, 0)
        x1, y1 = min(x + w, self.width), min(y + h, self.height)
        if x1 <= x0:
            return
        row = bytes(colour) * (x1 - x0)
        for yy in range(y0, y1):
            i = (yy * self.width + x0) * 3
            self.pixels[i:i + len(row)] = row

    def frame(self, x, y, w, h, colour, t=1):
        self.rect(x, y, w, t, colour)
        self.rect(x, y + h - t, w, t, colour)
        self.rect(x, y, t, h, colour)
        self.rect(x + w - t, y, t, h, colour)

    def bevel(self, x, y, w, h, light, dark):
        """A one-pixel light top-left and dark bottom-right edge, for raised parts."""
        self.rect(x, y, w, 1, light)
        self.rect(x, y, 1, h, light)
        self.rect(x, y + h - 1, w, 1, dark)
        self.rect(x + w - 1, y, 1, h, dark)

    def disc(self, cx, cy, r, colour):
        """A filled circle, antialiased by 4 x 4 supersampling of the edge pixels."""
        for y in range(int(cy - r) - 1, int(cy + r) + 2):
            for x in range(int(cx - r) - 1, int(cx + r) + 2):
                hits = 0
                for sy in range(4):
                    for sx in range(4):
                        dx = x + (sx + 0.5) / 4 - cx
                        dy = y + (sy + 0.5) / 4 - cy
                        hits += dx * dx + dy * dy <= r * r
                self.blend(x, y, colour, hits / 16)

    def round_rect(self, x, y, w, h, r, colour):
        self.rect(x + r, y, w - 2 * r, h, colour)
        self.rect(x, y + r, w, h - 2 * r, colour)
        for cx, cy in ((x + r, y + r), (x + w - r, y + r), (x + r, y + h - r), (x + w - r, y + h - r)):
            self.disc(cx, cy, r, colour)

    def line(self, x0, y0, x1, y1, colour, t=1):
        """Straight runs and 45-degree runs only, the way board traces are routed."""
        steps = max(abs(x1 - x0), abs(y1 - y0))
        for s in range(steps + 1):
            x = x0 + (x1 - x0) * s // max(steps, 1)
            y = y0 + (y1 - y0) * s // max(steps, 1)
            self.rect(x - t // 2, y - t // 2, t, t, colour)

    def text(self, x, y, words, colour, scale=1):
        for ch in words:
            glyph = FONT[ch]
            for gy, row in enumerate(glyph):
                for gx, bit in enumerate(row):
                    if bit == "1":
                        self.rect(x + gx * scale, y + gy * scale, scale, scale, colour)
            x += 6 * scale

    def text_width(self, words, scale=1):
        return len(words) * 6 * scale - scale


def noise(canvas, seed=7, amount=5):
    """A faint, repeatable grain, so the mask does not look like a flat fill."""
    state = seed
    for i in range(0, len(canvas.pixels), 3):
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        d = (state >> 16) % (2 * amount + 1) - amount
        for k in range(3):
            canvas.pixels[i + k] = max(0, min(255, canvas.pixels[i + k] + d))


def draw_board_outline(c):
    c.rect(0, 0, WIDTH, HEIGHT, TABLE)
    c.round_rect(0, 0, WIDTH, HEIGHT, 14, (150, 140, 92))      # the laminate's edge
    c.round_rect(2, 2, WIDTH - 4, HEIGHT - 4, 12, MASK)


def draw_traces(c):
    """Bus traces fanning out from the FPGA to the four connectors and the memory socket."""
    for k in range(14):
        o = k * 4
        # to connector D (left, upper) and A (right, upper)
        c.line(186, 240 + o, 166, 220 + o, TRACE)
        c.line(166, 220 + o, 166, 120 + o // 2, TRACE)
        c.line(326, 240 + o, 346, 220 + o, TRACE)
        c.line(346, 220 + o, 346, 120 + o // 2, TRACE)
        # to connector C (left, lower) and B (right, lower)
        c.line(186, 312 + o, 166, 332 + o, TRACE)
        c.line(166, 332 + o, 166, 420 + o // 2, TRACE)
        c.line(326, 312 + o, 346, 332 + o, TRACE)
        c.line(346, 332 + o, 346, 420 + o // 2, TRACE)
        # to the memory socket
        c.line(200 + o * 2, 374, 200 + o * 2, 468, TRACE)
    for k in range(6):
        c.line(420 + k * 4, 300, 420 + k * 4, 260, TRACE)
        c.line(64, 296 + k * 4, 100, 296 + k * 4, TRACE)


def draw_mounting_hole(c, cx, cy):
    c.disc(cx, cy, 12, MASK_DARK)
    c.disc(cx, cy, 10, GOLD)
    c.disc(cx, cy, 6, (28, 28, 28))
    for a in range(8):
        dx, dy = [(1, 0), (1, 1), (0, 1), (-1, 1), (-1, 0), (-1, -1), (0, -1), (1, -1)][a]
        c.disc(cx + dx * 8.5 / (1.41 if dx and dy else 1), cy + dy * 8.5 / (1.41 if dx and dy else 1), 0.9, GOLD_DARK)


def draw_connector(c, letter):
    x, y, w, h = CONNECTORS[letter]
    # The connector sits in a matt black shroud that reaches one pixel past the hover outline
    # (8 px left and above the body, 10 px right and below). Every outline colour the window
    # uses, the light aqua and yellow as much as the dark green and red, stands out against
    # near-black, so the pixels on both sides of each outline are kept this dark; check_contrast.py
    # measures it.
    px, py, pw, ph = x - 10, y - 10, w + 22, h + 22
    c.frame(px - 2, py - 2, pw + 4, ph + 4, SILK)
    c.rect(px, py, pw, ph, SHROUD)
    c.rect(px - 6, py - 2, 3, 3, SILK)  # the pin-1 mark
    # solder tails on both sides of the housing, clear of the rings the outlines need dark
    for ty in range(y + 4, y + h - 4, 4):
        c.rect(x - 4, ty, 3, 2, GOLD_DARK)
        c.rect(x + w + 1, ty, 3, 2, GOLD_DARK)
    # the housing: black plastic, a raised rim under the result outline's pen, the mating slot
    # with its ground blade and contacts well inside it
    c.rect(x, y, w, h, CONNECTOR_BODY)
    c.bevel(x, y, w, h, (78, 78, 84), (12, 12, 14))
    c.rect(x + 6, y + 6, w - 12, h - 12, (14, 14, 16))
    c.rect(x + w // 2 - 1, y + 10, 2, h - 20, (150, 150, 156))
    for ty in range(y + 11, y + h - 11, 3):
        c.rect(x + 8, ty, 3, 1, GOLD)
        c.rect(x + w - 11, ty, 3, 1, GOLD)
    # guide posts at the ends
    c.disc(x + w / 2, y + 7, 1.8, (90, 90, 96))
    c.disc(x + w / 2, y + h - 7, 1.8, (90, 90, 96))


def draw_fpga(c):
    x, y, s = 180, 226, 152
    # decoupling capacitors around the package
    for k in range(10):
        for px, py in ((x - 12, y + 8 + k * 14), (x + s + 6, y + 8 + k * 14),
                       (x + 8 + k * 14, y - 11), (x + 8 + k * 14, y + s + 6)):
            horizontal = py < y or py > y + s
            cw, ch = (7, 4) if horizontal else (4, 7)
            c.rect(px, py, cw, ch, (196, 160, 104))
            if horizontal:
                c.rect(px, py, 2, ch, GOLD)
                c.rect(px + cw - 2, py, 2, ch, GOLD)
            else:
                c.rect(px, py, cw, 2, GOLD)
                c.rect(px, py + ch - 2, cw, 2, GOLD)
    c.frame(x - 3, y - 3, s + 6, s + 6, SILK)
    # substrate, then the lid
    c.rect(x, y, s, s, (44, 52, 40))
    c.bevel(x, y, s, s, (70, 80, 64), (24, 28, 22))
    for k in range(16):
        c.rect(x + 6 + k * 9, y + 4, 4, 2, GOLD_DARK)
        c.rect(x + 6 + k * 9, y + s - 6, 4, 2, GOLD_DARK)
    lid = 118
    lx, ly = x + (s - lid) // 2, y + (s - lid) // 2
    c.round_rect(lx, ly, lid, lid, 6, (176, 178, 182))
    for k in range(lid - 12):
        shade = 200 - k * 34 // lid
        c.rect(lx + 6, ly + 6 + k, lid - 12, 1, (shade, shade + 2, shade + 6))
    c.frame(lx + 4, ly + 4, lid - 8, lid - 8, (150, 152, 158))
    c.disc(lx + 14, ly + 14, 3, (120, 122, 128))  # pin-1 dimple
    c.text(lx + (lid - c.text_width("FPGA", 3)) // 2, ly + 40, "FPGA", (92, 94, 100), 3)
    c.text(lx + (lid - c.text_width("1152 BGA", 1)) // 2, ly + 74, "1152 BGA", (96, 98, 104), 1)
    c.text(x - 2, y + s + 16, "U1", SILK, 1)


def draw_memory_socket(c):
    x, y, w, h = 166, 470, 180, 36
    c.frame(x - 4, y - 4, w + 8, h + 8, SILK)
    c.rect(x, y, w, h, BLACK_PLASTIC)
    c.bevel(x, y, w, h, (80, 80, 86), (12, 12, 14))
    c.rect(x + 6, y + 12, w - 12, 12, (14, 14, 16))
    for px in range(x + 8, x + w - 8, 3):
        c.rect(px, y + 13, 1, 3, GOLD)
        c.rect(px, y + 20, 1, 3, GOLD)
    c.rect(x + 70, y + 12, 3, 12, BLACK_PLASTIC)  # the key
    for lx in (x - 12, x + w + 2):
        c.rect(lx, y + 4, 10, h - 8, (182, 184, 190))
        c.bevel(lx, y + 4, 10, h - 8, (230, 230, 236), (110, 110, 116))
    c.text(x + (w - c.text_width("DDR2 SO-DIMM", 1)) // 2, y + h + 8, "DDR2 SO-DIMM", SILK, 1)


def draw_jtag_header(c):
    x, y = 186, 412
    c.frame(x - 3, y - 3, 64, 28, SILK)
    c.rect(x, y, 58, 22, BLACK_PLASTIC)
    c.rect(x + 24, y + 18, 10, 4, (14, 14, 16))
    for col in range(5):
        for row in range(2):
            c.rect(x + 4 + col * 11, y + 3 + row * 9, 6, 6, GOLD)
            c.rect(x + 6 + col * 11, y + 5 + row * 9, 2, 2, GOLD_DARK)
    c.text(x + 70, y + 8, "JTAG", SILK, 1)


def draw_usb(c):
    x, y = 452, 272
    c.frame(x - 4, y - 4, 60, 44, SILK)
    c.rect(x, y, 56, 36, (170, 172, 178))
    c.bevel(x, y, 56, 36, (226, 228, 232), (100, 102, 108))
    c.rect(x + 18, y + 8, 38, 20, (60, 60, 66))
    c.rect(x + 24, y + 13, 32, 10, (230, 230, 230))
    c.text(x + 2, y + 42, "USB", SILK, 2)
    # the USB-JTAG bridge next to it
    c.rect(418, 212, 26, 26, (30, 30, 32))
    for k in range(5):
        for px, py in ((414, 215 + k * 5), (444, 215 + k * 5)):
            c.rect(px, py, 4, 2, (190, 190, 196))
    c.disc(422, 216, 1.5, (90, 90, 96))


def draw_power(c):
    x, y = 0, 270
    c.rect(x, y, 46, 40, (24, 24, 26))
    c.bevel(x, y, 46, 40, (70, 70, 76), (8, 8, 10))
    c.disc(14, y + 20, 9, (50, 50, 54))
    c.disc(14, y + 20, 3, (200, 200, 206))
    c.text(6, y + 48, "DC 12V", SILK, 1)
    # power switch and its LED
    c.rect(56, 276, 16, 28, (220, 220, 224))
    c.bevel(56, 276, 16, 28, (250, 250, 250), (150, 150, 156))
    c.rect(59, 280, 10, 10, (40, 40, 44))
    c.text(54, 310, "PWR", SILK, 1)
    c.disc(86, 282, 3, (255, 60, 40))
    c.disc(86, 282, 1.2, (255, 190, 170))
    # the regulators' inductors
    for k in range(3):
        c.rect(20 + k * 26, 356, 20, 20, (52, 52, 56))
        c.bevel(20 + k * 26, 356, 20, 20, (100, 100, 106), (26, 26, 28))
        c.disc(30 + k * 26, 366, 5, (80, 80, 86))


def draw_top_area(c):
    c.text(255 - c.text_width("KV7", 7) // 2, 40, "KV7", SILK, 7)
    c.text(255 - c.text_width("PALDRIX", 2) // 2, 104, "PALDRIX", SILK, 2)
    c.text(255 - c.text_width("FPGA DEVELOPMENT BOARD", 1) // 2, 126, "FPGA DEVELOPMENT BOARD", SILK, 1)
    # oscillator
    c.round_rect(190, 156, 30, 18, 3, (196, 198, 204))
    c.frame(192, 158, 26, 14, (150, 152, 158))
    c.text(188, 178, "50M", SILK, 1)
    # configuration flash
    c.rect(236, 152, 36, 26, (30, 30, 32))
    for k in range(6):
        c.rect(239 + k * 5, 148, 2, 4, (190, 190, 196))
        c.rect(239 + k * 5, 178, 2, 4, (190, 190, 196))
    c.disc(241, 157, 1.5, (90, 90, 96))
    # user LEDs and push buttons
    for k in range(4):
        c.rect(290 + k * 12, 158, 6, 4, (240, 240, 230))
        c.rect(290 + k * 12, 158, 6, 1, (120, 220, 120))
    c.text(290, 166, "LED", SILK, 1)
    for k, label in enumerate(("RST", "CFG")):
        bx = 196 + k * 96
        c.rect(bx, 190, 18, 18, (180, 182, 188))
        c.disc(bx + 9, 199, 5, (40, 40, 44))
        c.text(bx + 22, 196, label, SILK, 1)
    # connector names
    c.text(14, 150, "ORBA-D", SILK, 2)
    c.text(14, 440, "ORBA-C", SILK, 2)
    c.text(418, 150, "ORBA-A", SILK, 2)
    c.text(418, 440, "ORBA-B", SILK, 2)
    c.text(24, 172, "J4", SILK, 1)
    c.text(24, 462, "J3", SILK, 1)
    c.text(428, 172, "J1", SILK, 1)
    c.text(428, 462, "J2", SILK, 1)


def draw_vias(c):
    state = 11
    for _ in range(140):
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        x = 40 + (state >> 8) % 430
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        y = 30 + (state >> 8) % 520
        if c.get(x, y) == MASK:
            c.disc(x, y, 1.8, TRACE)
            c.put(x, y, MASK_DARK)


def draw_board():
    c = Canvas(WIDTH, HEIGHT, TABLE)
    draw_board_outline(c)
    noise(c)
    draw_traces(c)
    draw_vias(c)
    for x, y in ((18, 18), (WIDTH - 19, 18), (18, HEIGHT - 19), (WIDTH - 19, HEIGHT - 19)):
        draw_mounting_hole(c, x, y)
    for letter in "ABCD":
        draw_connector(c, letter)
    draw_fpga(c)
    draw_memory_socket(c)
    draw_jtag_header(c)
    draw_usb(c)
    draw_power(c)
    draw_top_area(c)
    return c


def bmp_bytes(c):
    """A 24-bit bottom-up BMP; each row padded to four bytes."""
    stride = (c.width * 3 + 3) & ~3
    rows = []
    for y in range(c.height - 1, -1, -1):
        row = bytearray()
        for x in range(c.width):
            r, g, b = c.get(x, y)
            row += bytes((b, g, r))
        row += bytes(stride - len(row))
        rows.append(bytes(row))
    image = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(image), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, c.width, c.height, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    return header + info + image


def draw_icon(size):
    """A board in miniature: green mask, a silver FPGA lid, two black connectors each side."""
    big = size * 4
    c = Canvas(big, big, (0, 0, 0))
    alpha = Canvas(big, big, (0, 0, 0))
    r = big // 6
    c.round_rect(0, 0, big, big, r, (150, 140, 92))
    alpha.round_rect(0, 0, big, big, r, (255, 255, 255))
    c.round_rect(big // 32, big // 32, big - big // 16, big - big // 16, r - big // 32, MASK)
    lid = big * 7 // 16
    c.round_rect((big - lid) // 2, (big - lid) // 2, lid, lid, big // 24, (196, 198, 204))
    cw, ch = big // 9, big * 5 // 16
    for cx in (big // 8, big - big // 8 - cw):
        for cy in (big // 8, big - big // 8 - ch):
            c.rect(cx, cy, cw, ch, BLACK_PLASTIC)
            c.rect(cx + cw // 2 - big // 128, cy + big // 64, max(1, big // 64), ch - big // 32, GOLD)
    return downsample(c, alpha, 4)


def downsample(c, alpha, k):
    n = c.width // k
    out = []
    for y in range(n):
        for x in range(n):
            acc = [0, 0, 0, 0]
            for sy in range(k):
                for sx in range(k):
                    a = alpha.get(x * k + sx, y * k + sy)[0]
                    px = c.get(x * k + sx, y * k + sy)
                    for i in range(3):
                        acc[i] += px[i] * a
                    acc[3] += a
            total = acc[3]
            if total:
                out.append((acc[0] // total, acc[1] // total, acc[2] // total, total // (k * k)))
            else:
                out.append((0, 0, 0, 0))
    return n, out


def ico_bytes(images):
    """An icon file of 32-bit images, each with its (unused, all clear) AND mask."""
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for size, pixels in images:
        rows = []
        for y in range(size - 1, -1, -1):
            rows.append(b"".join(bytes((b, g, r, a)) for r, g, b, a in pixels[y * size:(y + 1) * size]))
        mask_stride = ((size + 31) // 32) * 4
        blob = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
        blob += b"".join(rows) + bytes(mask_stride * size)
        entries.append(struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    return struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries) + b"".join(blobs)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(folder, "board.bmp"), "wb") as f:
        f.write(bmp_bytes(draw_board()))
    with open(os.path.join(folder, "kv7.ico"), "wb") as f:
        f.write(ico_bytes([draw_icon(48), draw_icon(32), draw_icon(16)]))


if __name__ == "__main__":
    main()
