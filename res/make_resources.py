#!/usr/bin/env python3
"""Draws the program's pictures and writes them into this folder.

Button glyphs are small 24-bit BMPs in which magenta (255, 0, 255) marks the
pixels where the button face shows through; each has a greyed "disabled"
form. The small glyphs are drawn by hand below as character maps; the cut
glyph, the About picture and the icon are drawn from simple shapes. Only the
standard library is used, so anyone can run it again:

    python3 res/make_resources.py            # rewrites the files in res/
    python3 res/make_resources.py OUTDIR     # writes them elsewhere
    python3 res/make_resources.py --icons packaging/icons/hicolor
                                             # the icon at the theme's other sizes
"""

import math
import os
import struct
import sys
import zlib

MAGENTA = (255, 0, 255)


# ---------------------------------------------------------------- writers

def write_bmp(path, pixels):
    """Writes rows of (r, g, b) tuples, top row first, as a 24-bit BMP."""
    height = len(pixels)
    width = len(pixels[0])
    row_size = (width * 3 + 3) & ~3
    image_size = row_size * height
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + image_size, 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, image_size,
                       2835, 2835, 0, 0)
    body = bytearray()
    for row in reversed(pixels):  # BMP rows run bottom-up
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += bytes(row_size - len(line))
        body += line
    with open(path, "wb") as out:
        out.write(header + info + body)


def write_png(path, pixels):
    """Writes rows of (r, g, b, a) tuples, top row first, as an RGBA PNG."""
    height = len(pixels)
    width = len(pixels[0])
    raw = bytearray()
    for row in pixels:
        raw.append(0)  # filter type: none
        for r, g, b, a in row:
            raw += bytes((r, g, b, a))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    ihdr = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", ihdr))
        out.write(chunk(b"IDAT", zlib.compress(bytes(raw), 9)))
        out.write(chunk(b"IEND", b""))


# ---------------------------------------------------------------- helpers

def from_map(rows, palette):
    """Turns a character map into pixel rows; '.' is transparent."""
    width = len(rows[0])
    pixels = []
    for row in rows:
        if len(row) != width:
            raise ValueError("ragged glyph map: %r" % (row,))
        pixels.append([MAGENTA if ch == "." else palette[ch] for ch in row])
    return pixels


def disabled_form(pixels):
    """The greyed form of a glyph: every opaque pixel becomes a flat grey
    whose lightness follows the original's, so the shape stays readable."""
    out = []
    for row in pixels:
        line = []
        for px in row:
            if px == MAGENTA:
                line.append(MAGENTA)
            else:
                r, g, b = px
                lum = (299 * r + 587 * g + 114 * b) // 1000
                grey = 128 + lum * 80 // 255
                line.append((grey, grey, grey))
        out.append(line)
    return out


def rasterise(width, height, shapes):
    """Rasterises shapes without smoothing (a smoothed edge would blend with
    the transparent magenta). `shapes` is a list of (inside(x, y), colour),
    later shapes on top."""
    pixels = []
    for y in range(height):
        line = []
        for x in range(width):
            colour = MAGENTA
            for inside, shape_colour in shapes:
                if inside(x + 0.5, y + 0.5):
                    colour = shape_colour
            line.append(colour)
        pixels.append(line)
    return pixels


def segment_distance(px, py, ax, ay, bx, by):
    """Distance from a point to a segment, and the position t (0..1) along it."""
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / float(dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    qx, qy = ax + t * dx, ay + t * dy
    return math.hypot(px - qx, py - qy), t


# ---------------------------------------------------------------- glyphs

PLAY = [
    "kk..........",
    "kgkk........",
    "kgggkk......",
    "kgllggkk....",
    "kglggggkk...",
    "kggggggggkk.",
    "kgggggggggkk",
    "kggggggggkk.",
    "kggggggkk...",
    "kgggggkk....",
    "kgggkk......",
    "kkkk........",
]
PLAY_COLOURS = {"k": (24, 80, 24), "g": (56, 168, 56), "l": (150, 222, 150)}

PAUSE = [
    ".kkkk..kkkk.",
    ".klbk..klbk.",
    ".klbk..klbk.",
    ".kbbk..kbbk.",
    ".kbbk..kbbk.",
    ".kbbk..kbbk.",
    ".kbbk..kbbk.",
    ".kbbk..kbbk.",
    ".kbbk..kbbk.",
    ".kbbk..kbbk.",
    ".kkkk..kkkk.",
]
PAUSE_COLOURS = {"k": (20, 40, 110), "b": (60, 110, 210), "l": (150, 185, 245)}

STOP = [
    "kkkkkkkkkkk",
    "kllrrrrrrrk",
    "klrrrrrrrrk",
    "krrrrrrrrrk",
    "krrrrrrrrrk",
    "krrrrrrrrrk",
    "krrrrrrrrrk",
    "krrrrrrrrrk",
    "krrrrrrrrrk",
    "krrrrrrrrrk",
    "kkkkkkkkkkk",
]
STOP_COLOURS = {"k": (100, 20, 20), "r": (200, 50, 50), "l": (240, 150, 150)}

CANCEL = [
    "rr......rr",
    "rrr....rrr",
    ".rrr..rrr.",
    "..rrrrrr..",
    "...rrrr...",
    "...rrrr...",
    "..rrrrrr..",
    ".rrr..rrr.",
    "rrr....rrr",
    "rr......rr",
]
CANCEL_COLOURS = {"r": (190, 30, 30)}

ABOUT = [
    "..bbbbb..",
    ".bbbbbbb.",
    "bbb...bbb",
    "bb....bbb",
    ".....bbb.",
    "....bbb..",
    "...bbb...",
    "...bbb...",
    ".........",
    "...bbb...",
    "...bbb...",
]
ABOUT_COLOURS = {"b": (30, 70, 170)}


def cut_glyph():
    """Open scissors, 29 x 18: two ring handles on the left, crossed blades
    ending in points on the right."""
    width, height = 29, 18
    handle = (200, 40, 40)
    steel = (70, 78, 96)
    dark = (20, 20, 28)

    def ring(cx, cy):
        return lambda x, y: 1.7 <= math.hypot(x - cx, y - cy) <= 4.4

    def blade(ax, ay, bx, by):
        def inside(x, y):
            dist, t = segment_distance(x, y, ax, ay, bx, by)
            return dist <= 1.6 - 1.1 * t
        return inside

    def arm(ax, ay, bx, by):
        return lambda x, y: segment_distance(x, y, ax, ay, bx, by)[0] <= 1.1

    pivot = lambda x, y: math.hypot(x - 14.0, y - 9.0) <= 1.2
    shapes = [
        (arm(8.0, 6.0, 14.0, 9.0), handle),
        (arm(8.0, 12.0, 14.0, 9.0), handle),
        (ring(4.5, 4.5), handle),
        (ring(4.5, 13.5), handle),
        (blade(12.0, 8.0, 28.5, 16.5), steel),
        (blade(12.0, 10.0, 28.5, 1.5), steel),
        (pivot, dark),
    ]
    return rasterise(width, height, shapes)


# ---------------------------------------------------------------- About picture

# A 5 x 7 pixel font, enough for the picture's title.
FONT_5X7 = {
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "D": ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "C": [".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."],
    "U": ["#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "M": ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
    "3": ["####.", "....#", "....#", ".###.", "....#", "....#", "####."],
    " ": [".....", ".....", ".....", ".....", ".....", ".....", "....."],
}


def draw_text(pixels, text, left, top, scale, colour):
    x = left
    for ch in text:
        glyph = FONT_5X7[ch]
        for gy, row in enumerate(glyph):
            for gx, cell in enumerate(row):
                if cell != "#":
                    continue
                for sy in range(scale):
                    for sx in range(scale):
                        px, py = x + gx * scale + sx, top + gy * scale + sy
                        if 0 <= py < len(pixels) and 0 <= px < len(pixels[0]):
                            pixels[py][px] = colour
        x += 6 * scale


def about_picture():
    """220 x 88: a sea-blue band with a waveform cut out by two markers, and
    the program's name."""
    width, height = 220, 88
    top_colour = (0, 0, 100)
    bottom_colour = (140, 161, 255)
    pixels = []
    for y in range(height):
        t = y / float(height - 1)
        colour = tuple(int(a + (b - a) * t) for a, b in zip(top_colour, bottom_colour))
        pixels.append([colour] * width)

    # The waveform: a sum of sines under a slow envelope, drawn as vertical
    # peak lines around the middle of the lower half.
    middle = 58
    for x in range(8, width - 8):
        u = x / float(width)
        envelope = 0.35 + 0.65 * abs(math.sin(math.pi * u * 2.2))
        level = envelope * (0.55 * abs(math.sin(x * 0.9)) + 0.45 * abs(math.sin(x * 0.37 + 1.0)))
        half = int(2 + level * 22)
        selected = 70 <= x < 150
        colour = (255, 255, 255) if selected else (180, 200, 240)
        for y in range(middle - half, middle + half + 1):
            pixels[y][x] = colour
    for marker in (70, 150):
        for y in range(30, 86):
            pixels[y][marker] = (255, 220, 80)

    draw_text(pixels, "PADO CUTTER", 12, 8, 2, (255, 255, 255))
    draw_text(pixels, "MP3", 160, 10, 2, (255, 220, 80))
    return pixels


# ---------------------------------------------------------------- icon

def icon(size):
    """A rounded square with a blue gradient and a white waveform; smoothed
    edges through 4 x 4 supersampling of the alpha channel."""
    radius = size * 0.22
    pixels = []
    samples = 4
    for y in range(size):
        row = []
        t = y / float(size - 1)
        base = tuple(int(a + (b - a) * t) for a, b in zip((20, 60, 170), (70, 150, 240)))
        for x in range(size):
            covered = 0
            for sy in range(samples):
                for sx in range(samples):
                    px = x + (sx + 0.5) / samples
                    py = y + (sy + 0.5) / samples
                    dx = max(radius - px, 0.0, px - (size - radius))
                    dy = max(radius - py, 0.0, py - (size - radius))
                    if dx * dx + dy * dy <= radius * radius:
                        covered += 1
            alpha = covered * 255 // (samples * samples)
            row.append([base[0], base[1], base[2], alpha])
        pixels.append(row)

    # Waveform bars: odd columns of a symmetric envelope.
    bar_width = max(1, size // 16)
    step = bar_width * 2
    middle = size / 2.0
    start = size // 6
    x = start
    while x + bar_width <= size - start:
        u = (x - start) / float(size - 2 * start)
        half = (0.12 + 0.28 * abs(math.sin(u * math.pi * 2.5)) + 0.1 * math.sin(u * 17)) * size
        for bx in range(x, x + bar_width):
            for yy in range(int(middle - half), int(middle + half) + 1):
                if 0 <= yy < size:
                    pixels[yy][bx][0:3] = [255, 255, 255]
        x += step
    return [[tuple(px) for px in row] for row in pixels]


# ---------------------------------------------------------------- main

def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    os.makedirs(out_dir, exist_ok=True)

    glyphs = {
        "play": from_map(PLAY, PLAY_COLOURS),
        "pause": from_map(PAUSE, PAUSE_COLOURS),
        "stop": from_map(STOP, STOP_COLOURS),
        "cut": cut_glyph(),
        "about": from_map(ABOUT, ABOUT_COLOURS),
    }
    for name, pixels in glyphs.items():
        write_bmp(os.path.join(out_dir, name + ".bmp"), pixels)
        write_bmp(os.path.join(out_dir, name + "_disabled.bmp"), disabled_form(pixels))
    # The cancel glyph has no disabled form: the button uses it for both.
    write_bmp(os.path.join(out_dir, "cancel.bmp"), from_map(CANCEL, CANCEL_COLOURS))
    write_bmp(os.path.join(out_dir, "about_picture.bmp"), about_picture())
    write_png(os.path.join(out_dir, "padocut-32.png"), icon(32))
    write_png(os.path.join(out_dir, "padocut.png"), icon(48))


def main_icons(theme_dir):
    """The icon at the other sizes of the desktop's hicolor theme (32 and 48
    are the ones in res/), as THEME_DIR/NxN/apps/padocut.png."""
    for size in ICON_THEME_SIZES:
        folder = os.path.join(theme_dir, "%dx%d" % (size, size), "apps")
        os.makedirs(folder, exist_ok=True)
        write_png(os.path.join(folder, "padocut.png"), icon(size))


ICON_THEME_SIZES = (16, 22, 24, 64, 128, 256)

if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "--icons":
        main_icons(sys.argv[2])
    else:
        main()
