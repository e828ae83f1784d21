#!/usr/bin/env python3
"""Draws and plays the project's own media: the demo game's pictures, sounds and music, and the
program icon. Everything is computed here from a few shapes and notes, with the standard library
only, so the files can be made again byte for byte:

    python3 scripts/make_media.py

writes games/demo/{melnica.png,dnevnik.png,stuk.wav,skrip.wav,noch.wav} and the program icon:
dist/mireval.png (128 pixels), dist/icons/{48x48,64x64,256x256}/mireval.png and
dist/icons/scalable/mireval.svg.
"""

import math
import pathlib
import random
import struct
import wave
import zlib

ROOT = pathlib.Path(__file__).resolve().parent.parent
DEMO = ROOT / "games" / "demo"
DIST = ROOT / "dist"

# ---------------------------------------------------------------- pictures


class Canvas:
    def __init__(self, width, height, color):
        self.w, self.h = width, height
        self.px = [[color] * width for _ in range(height)]

    def dot(self, x, y, color, alpha=1.0):
        x, y = int(x), int(y)
        if 0 <= x < self.w and 0 <= y < self.h:
            if alpha >= 1.0:
                self.px[y][x] = color
            else:
                old = self.px[y][x]
                self.px[y][x] = tuple(round(o + (c - o) * alpha) for o, c in zip(old, color))

    def rect(self, x0, y0, x1, y1, color):
        for y in range(int(y0), int(y1)):
            for x in range(int(x0), int(x1)):
                self.dot(x, y, color)

    def fill(self, inside, color):
        for y in range(self.h):
            for x in range(self.w):
                if inside(x + 0.5, y + 0.5):
                    self.dot(x, y, color)

    def line(self, x0, y0, x1, y1, width, color):
        def inside(x, y):
            dx, dy = x1 - x0, y1 - y0
            t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
            return math.hypot(x - (x0 + t * dx), y - (y0 + t * dy)) <= width / 2

        self.fill(inside, color)

    def averaged(self, n, opaque):
        """This canvas shrunk n times, each pixel the mean of an n-by-n block, with the share of the
        block that `opaque(x, y)` lets be seen as its alpha: the new canvas and its alpha rows."""
        small = Canvas(self.w // n, self.h // n, (0, 0, 0))
        alpha = [[0.0] * small.w for _ in range(small.h)]
        for y in range(small.h):
            for x in range(small.w):
                total, seen = [0, 0, 0], 0
                for by in range(y * n, y * n + n):
                    for bx in range(x * n, x * n + n):
                        if opaque(bx + 0.5, by + 0.5):
                            seen += 1
                            total = [t + v for t, v in zip(total, self.px[by][bx])]
                if seen:
                    small.px[y][x] = tuple(round(t / seen) for t in total)
                alpha[y][x] = seen / (n * n)
        return small, alpha

    def save_png(self, path, opaque=None):
        """Writes RGB, or RGBA when `opaque(x, y)` tells how much of each pixel is seen (0 to 1)."""
        rows = []
        for y, row in enumerate(self.px):
            data = bytearray(b"\0")
            for x, px in enumerate(row):
                data += bytes(px)
                if opaque:
                    data.append(round(255 * opaque(x + 0.5, y + 0.5)))
            rows.append(bytes(data))

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

        kind = 6 if opaque else 2
        png = b"\x89PNG\r\n\x1a\n"
        png += chunk(b"IHDR", struct.pack(">IIBBBBB", self.w, self.h, 8, kind, 0, 0, 0))
        png += chunk(b"IDAT", zlib.compress(b"".join(rows), 9))
        png += chunk(b"IEND", b"")
        path.write_bytes(png)


class Mill:
    """The windmill's shapes standing at (cx, base): one geometry for the pictures and the icon,
    whether drawn in pixels or written as SVG."""

    def __init__(self, cx, base, scale):
        self.cx, self.base, self.scale = cx, base, scale
        self.half_bottom, self.half_top, self.height = 22 * scale, 14 * scale, 62 * scale
        self.top = base - self.height
        self.roof_top = self.top - 18 * scale
        self.hub = (cx, self.top - 4 * scale)
        self.sail_width = 3 * scale
        angles = [math.radians(25 + 90 * k) for k in range(4)]
        self.sail_ends = [(cx + math.cos(a) * 46 * scale, self.hub[1] + math.sin(a) * 46 * scale)
                          for a in angles]
        self.door = (cx - 4 * scale, base - 16 * scale, cx + 4 * scale, base)

    def roof_half(self, y):
        return (y - self.roof_top) * 1.1 + 1

    def outline(self):
        """The tower and its roof as one polygon, so that no seam shows between them."""
        cx, r, t, b = self.cx, self.roof_top, self.top, self.base
        return [(cx - self.roof_half(r), r), (cx + self.roof_half(r), r),
                (cx + self.roof_half(t), t), (cx + self.half_top, t), (cx + self.half_bottom, b),
                (cx - self.half_bottom, b), (cx - self.half_top, t), (cx - self.roof_half(t), t)]


DOOR_COLOR = (40, 30, 20)


def draw_mill(c, cx, base, scale, body, sails):
    """A windmill: a tapering tower with a roof and four sails, standing at (cx, base)."""
    m = Mill(cx, base, scale)

    def tower(x, y):
        if not m.top <= y <= m.base:
            return False
        half = m.half_top + (m.half_bottom - m.half_top) * (y - m.top) / m.height
        return abs(x - cx) <= half

    c.fill(tower, body)
    c.fill(lambda x, y: m.roof_top <= y <= m.top and abs(x - cx) <= m.roof_half(y), body)
    for end in m.sail_ends:
        c.line(m.hub[0], m.hub[1], end[0], end[1], m.sail_width, sails)
    c.rect(*m.door, DOOR_COLOR)


def mill_picture():
    w, h = 240, 180
    c = Canvas(w, h, (0, 0, 0))
    for y in range(h):  # night sky, lighter towards the horizon
        t = y / h
        c.rect(0, y, w, y + 1, (int(10 + 30 * t), int(14 + 36 * t), int(48 + 60 * t)))
    rnd = random.Random(1861)
    for _ in range(60):
        c.dot(rnd.randrange(w), rnd.randrange(110), (230, 230, 200), rnd.uniform(0.4, 1.0))
    c.fill(lambda x, y: math.hypot(x - 196, y - 34) <= 14, (240, 236, 200))  # the moon
    c.fill(lambda x, y: math.hypot(x - 202, y - 30) <= 12, (22, 28, 74))
    c.fill(lambda x, y: (x - 110) ** 2 / 170 ** 2 + (y - 205) ** 2 / 70 ** 2 <= 1, (18, 40, 24))
    draw_mill(c, 112, 142, 1.0, (12, 12, 16), (28, 24, 22))
    c.fill(lambda x, y: abs(x - 112) <= 3 and 98 <= y <= 104, (250, 210, 90))  # a lit window
    c.save_png(DEMO / "melnica.png")


def diary_picture():
    w, h = 200, 150
    c = Canvas(w, h, (92, 60, 36))
    c.rect(12, 8, 188, 142, (236, 224, 188))
    c.rect(99, 8, 101, 142, (200, 184, 150))
    rnd = random.Random(1907)
    for row in range(12):
        y = 22 + row * 10
        for page in (20, 110):
            x = page
            end = page + rnd.randrange(50, 72)
            while x < end:  # handwriting: short strokes of ink along the ruled line
                n = rnd.randrange(3, 9)
                for k in range(n):
                    c.dot(x + k, y - (k % 3 == 1), (40, 40, 90))
                    c.dot(x + k, y - 2 + (k % 2), (40, 40, 90), 0.6)
                x += n + 3
    c.save_png(DEMO / "dnevnik.png")


# The icon is drawn on a 128-pixel grid; the other sizes scale it. 128 is drawn pixel by pixel as it
# always was; the others are drawn larger and averaged down, so that small sizes keep smooth edges.
ICON_GRID, ICON_RADIUS = 128, 22
ICON_BACK, ICON_MILL = (0, 0, 128), (192, 192, 255)
ICON_SIZES = {48: 4, 64: 4, 128: 1, 256: 2}  # size: samples per pixel along each side
ICON_DIR = DIST / "icons"


def icon_path(size):
    # The 128-pixel icon has always been dist/mireval.png, and the demo's licence names it there.
    if size == 128:
        return DIST / "mireval.png"
    if size == "scalable":
        return ICON_DIR / "scalable" / "mireval.svg"
    return ICON_DIR / f"{size}x{size}" / "mireval.png"


def icon_png(size, samples):
    # A pale mill on a rounded square in the blue of the player's first colour scheme.
    big = size * samples
    k = big / ICON_GRID
    r = ICON_RADIUS * k

    def rounded(x, y):
        qx, qy = min(max(x, r), big - r), min(max(y, r), big - r)
        return math.hypot(x - qx, y - qy) <= r

    c = Canvas(big, big, ICON_BACK)
    draw_mill(c, 64 * k, 112 * k, 1.15 * k, ICON_MILL, ICON_MILL)
    c.rect(20 * k, 110 * k, 108 * k, 116 * k, ICON_MILL)
    if samples > 1:
        c, alpha = c.averaged(samples, rounded)
        opaque = lambda x, y: alpha[int(y)][int(x)]
    else:
        opaque = rounded
    path = icon_path(size)
    path.parent.mkdir(parents=True, exist_ok=True)
    c.save_png(path, opaque=opaque)


def icon_svg():
    # The same shapes as the pixel icons, on the same grid, for the scalable size.
    m = Mill(64, 112, 1.15)

    def color(rgb):
        return "#%02x%02x%02x" % rgb

    def points(outline):
        return " ".join(f"{x:.2f},{y:.2f}" for x, y in outline)

    g = ICON_GRID
    sails = "\n".join(
        f'    <line x1="{m.hub[0]:.2f}" y1="{m.hub[1]:.2f}" x2="{x:.2f}" y2="{y:.2f}"/>'
        for x, y in m.sail_ends)
    x0, y0, x1, y1 = m.door
    svg = f"""<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="{g}" height="{g}" viewBox="0 0 {g} {g}">
  <title>Mireval</title>
  <clipPath id="square">
    <rect width="{g}" height="{g}" rx="{ICON_RADIUS}"/>
  </clipPath>
  <g clip-path="url(#square)">
    <rect width="{g}" height="{g}" fill="{color(ICON_BACK)}"/>
    <polygon points="{points(m.outline())}" fill="{color(ICON_MILL)}"/>
    <g stroke="{color(ICON_MILL)}" stroke-width="{m.sail_width:.2f}" stroke-linecap="round">
{sails}
    </g>
    <rect x="{x0:.2f}" y="{y0:.2f}" width="{x1 - x0:.2f}" height="{y1 - y0:.2f}"
          fill="{color(DOOR_COLOR)}"/>
    <rect x="20" y="110" width="88" height="6" fill="{color(ICON_MILL)}"/>
  </g>
</svg>
"""
    path = icon_path("scalable")
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_text(svg)


def icon():
    for size, samples in ICON_SIZES.items():
        icon_png(size, samples)
    icon_svg()


# ---------------------------------------------------------------- sounds

RATE = 8000


def save_wav(path, samples):
    with wave.open(str(path), "wb") as f:
        f.setnchannels(1)
        f.setsampwidth(1)
        f.setframerate(RATE)
        f.writeframes(bytes(max(0, min(255, 128 + round(s * 127))) for s in samples))


def knock():
    out = [0.0] * int(RATE * 0.9)
    rnd = random.Random(7)
    for start in (0.05, 0.30, 0.55):
        for i in range(int(RATE * 0.09)):
            t = i / RATE
            env = math.exp(-t * 45)
            s = 0.7 * math.sin(2 * math.pi * 95 * t) + 0.3 * rnd.uniform(-1, 1)
            out[int(start * RATE) + i] += 0.9 * env * s
    save_wav(DEMO / "stuk.wav", out)


def creak():
    n = int(RATE * 1.0)
    out = []
    phase = 0.0
    for i in range(n):
        t = i / RATE
        freq = 260 + 140 * math.sin(2 * math.pi * 1.3 * t) + 40 * math.sin(2 * math.pi * 17 * t)
        phase += freq / RATE
        saw = 2 * (phase % 1.0) - 1
        env = min(1.0, t * 20) * min(1.0, (1.0 - t) * 8)
        out.append(0.45 * env * saw * (0.6 + 0.4 * math.sin(2 * math.pi * 9 * t)))
    save_wav(DEMO / "skrip.wav", out)


def night_tune():
    # A slow tune in A minor over a low drone; it ends where it began, so it loops smoothly.
    notes = [("A4", 1), ("C5", 1), ("E5", 2), ("D5", 1), ("C5", 1), ("B4", 2),
             ("A4", 1), ("B4", 1), ("C5", 1), ("A4", 1), ("E4", 2), ("A4", 2)]
    semis = {"C": -9, "D": -7, "E": -5, "F": -4, "G": -2, "A": 0, "B": 2}
    beat = 0.4
    total = sum(d for _, d in notes) * beat
    out = [0.0] * int(RATE * total)
    for i in range(len(out)):  # the drone: A2 and E3, breathing slowly
        t = i / RATE
        swell = 0.5 + 0.5 * math.sin(2 * math.pi * t / total - math.pi / 2)
        out[i] += 0.10 * (0.6 + 0.4 * swell) * (math.sin(2 * math.pi * 110 * t) +
                                                 0.6 * math.sin(2 * math.pi * 164.81 * t))
    at = 0.0
    for name, dur in notes:
        f = 440 * 2 ** ((semis[name[0]] + 12 * (int(name[1]) - 4)) / 12)
        length = dur * beat
        for i in range(int(length * RATE)):
            t = i / RATE
            env = min(1.0, t * 30) * math.exp(-t * 1.8) * min(1.0, (length - t) * 20)
            s = math.sin(2 * math.pi * f * t) + 0.3 * math.sin(4 * math.pi * f * t)
            out[int(at * RATE) + i] += 0.35 * env * s
        at += length
    save_wav(DEMO / "noch.wav", out)


def main():
    mill_picture()
    diary_picture()
    icon()
    knock()
    creak()
    night_tune()


if __name__ == "__main__":
    main()
