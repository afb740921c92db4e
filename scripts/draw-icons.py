#!/usr/bin/python3
"""Draw the programs' icons and write them as Windows .ico files.

The .ico files are committed, so building the programs does not need Python;
run this script again only after changing a drawing below.

Every drawing is a list of layers (colour, shape) painted bottom to top on a
32 x 32 canvas; a shape is a function telling whether a point lies inside it.
Each pixel is sampled 4 x 4 times: pixels less than half covered become
transparent, the others take the most common colour of their samples (mixing
colours at an edge would only give muddy in-between shades), matched to the
nearest palette colour.

Each icon is drawn at every size Windows asks for between 100 % and 200 %
scaling (16 to 32 pixels for small icons, 32 to 64 for large ones), so that a
window picks an image of its exact size rather than a stretched one; the
programs' own icons also at 256 pixels, for the shell's largest views, stored
as PNG as Windows takes it at that size.
"""
import math
import struct
import zlib
from collections import Counter
from pathlib import Path

CANVAS = 32
SAMPLES = 4

BLACK, WHITE = (0, 0, 0), (255, 255, 255)
DARK_RED, DARK_GREEN, DARK_YELLOW = (128, 0, 0), (0, 128, 0), (128, 128, 0)
DARK_BLUE, LIGHT_GREY, DARK_GREY = (0, 0, 128), (192, 192, 192), (128, 128, 128)
RED, GREEN, YELLOW, BLUE = (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255)

VGA_PALETTE = [BLACK, DARK_RED, DARK_GREEN, DARK_YELLOW, DARK_BLUE,
               (128, 0, 128), (0, 128, 128), LIGHT_GREY, DARK_GREY, RED,
               GREEN, YELLOW, BLUE, (255, 0, 255), (0, 255, 255), WHITE]
EMBLEM_BLUE = ((51, 153, 255), (0, 51, 153))
EMBLEM_GOLD = ((255, 204, 0), (255, 102, 0))


def blend(colours, t):
    return tuple(round(a + (b - a) * t) for a, b in zip(*colours))


# A 6 x 6 x 6 colour cube, plus fine ramps for the emblem's shading.
CUBE_LEVELS = (0, 51, 102, 153, 204, 255)
EMBLEM_PALETTE = ([(r, g, b) for r in CUBE_LEVELS for g in CUBE_LEVELS for b in CUBE_LEVELS]
                  + [blend(ramp, i / 19) for ramp in (EMBLEM_BLUE, EMBLEM_GOLD) for i in range(20)])


# Shapes ---------------------------------------------------------------------

def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ellipse(cx, cy, rx, ry, degrees=0.0):
    cos, sin = math.cos(math.radians(degrees)), math.sin(math.radians(degrees))

    def inside(x, y):
        u = (x - cx) * cos + (y - cy) * sin
        v = (y - cy) * cos - (x - cx) * sin
        return (u / rx) ** 2 + (v / ry) ** 2 <= 1
    return inside


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        nx, ny = min(max(x, x0 + r), x1 - r), min(max(y, y0 + r), y1 - r)
        return x0 <= x < x1 and y0 <= y < y1 and (x - nx) ** 2 + (y - ny) ** 2 <= r * r
    return inside


def polygon(points):
    """Even-odd rule: a point is inside when a ray from it crosses an odd number of edges."""
    edges = list(zip(points, points[1:] + points[:1]))

    def inside(x, y):
        crossings = 0
        for (ax, ay), (bx, by) in edges:
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                crossings += 1
        return crossings % 2 == 1
    return inside


def octagon(cx, cy, r):
    """Regular octagon with flat sides, `r` from the centre to each side."""
    corner = r / math.cos(math.pi / 8)
    return polygon([(cx + corner * math.cos(math.pi / 8 * (2 * k + 1)),
                     cy + corner * math.sin(math.pi / 8 * (2 * k + 1))) for k in range(8)])


def wedge(cx, cy, start, end):
    """Points whose direction from the centre lies clockwise from `start` to `end` degrees (0 = east, y down)."""
    def inside(x, y):
        return (math.degrees(math.atan2(y - cy, x - cx)) - start) % 360 <= (end - start) % 360
    return inside


def union(*shapes):
    return lambda x, y: any(shape(x, y) for shape in shapes)


def minus(shape, *holes):
    return lambda x, y: shape(x, y) and not any(hole(x, y) for hole in holes)


def both(a, b):
    return lambda x, y: a(x, y) and b(x, y)


def pixel_text(text, font, left, top):
    """Text in a bitmap font, one canvas unit per font pixel, one column between letters."""
    cells = []
    for letter in text:
        glyph = font[letter]
        cells += [rect(left + col, top + row, left + col + 1, top + row + 1)
                  for row, line in enumerate(glyph) for col, bit in enumerate(line) if bit == '#']
        left += len(glyph[0]) + 1
    return union(*cells)


FONT_4X6 = {
    'S': ('.###', '#...', '.##.', '...#', '...#', '###.'),
    'T': ('####', '.##.', '.##.', '.##.', '.##.', '.##.'),
    'O': ('.##.', '#..#', '#..#', '#..#', '#..#', '.##.'),
    'P': ('###.', '#..#', '#..#', '###.', '#...', '#...'),
}


# Drawings -------------------------------------------------------------------

def vertical_gradient(colours, y0, y1):
    return lambda x, y: blend(colours, min(max((y - y0) / (y1 - y0), 0.0), 1.0))


def letter_e(cx, cy, outer, inner, bar):
    """A lowercase e: a ring with a crossbar, open below the bar on the right."""
    ring = minus(circle(cx, cy, outer), circle(cx, cy, inner), wedge(cx, cy, 0, 40))
    return union(ring, both(rect(cx - outer, cy - bar, cx + outer, cy + bar), circle(cx, cy, outer)))


def orbit(cx, cy, rx, ry, degrees, width):
    """An elliptical swoosh, thickest at its ends and thin where it passes above and below."""
    return minus(ellipse(cx, cy, rx, ry, degrees), ellipse(cx, cy, rx - width, ry - width / 2, degrees))


def emblem(cx, cy, scale, blue, gold):
    """A blue e inside a golden orbit, whose upper half passes behind the letter and lower half in front."""
    swoosh = orbit(cx, cy + scale / 2, 15.5 * scale, 7.5 * scale, -28, 3.4 * scale)
    behind = wedge(cx, cy + scale / 2, 152, 332)
    return [(gold, both(swoosh, behind)),
            (blue, letter_e(cx, cy, 11.5 * scale, 6 * scale, 2.2 * scale)),
            (gold, minus(swoosh, behind))]


def browser_emblem(size):
    return emblem(16, 16, 1, vertical_gradient(EMBLEM_BLUE, 4, 28), vertical_gradient(EMBLEM_GOLD, 4, 28))


def setup_page(size):
    """A page with its top right corner folded over, the emblem, and a red arrow curving down past the page."""
    page = [(4, 1), (19, 1), (26, 8), (26, 31), (4, 31)]
    inset = [(5, 2), (18.6, 2), (25, 8.4), (25, 30), (5, 30)]
    return ([(BLACK, polygon(page)),
             (WHITE, polygon(inset)),
             (BLACK, polygon([(19, 1), (19, 8), (26, 8)])),
             (LIGHT_GREY, polygon([(20, 2.5), (20, 7), (24.5, 7)]))]
            + emblem(14, 12, 0.6, BLUE, YELLOW)
            + [(RED, minus(circle(20, 26, 7), circle(20, 26, 4.2), rect(0, 26, 32, 32))),
               (RED, polygon([(21.3, 25), (30.7, 25), (26, 31)]))])


def traffic_light(red, amber, green):
    """A dark housing with a grey rim, one pixel wide at 32 x 32 and never less, and three lamps;
    lit lamps get a glint when large enough."""
    lamps = ((6, red), (16, amber), (26, green))

    def drawing(size):
        rim = max(1.0, CANVAS / size)
        glints = [(WHITE, circle(14.2, cy - 1.8, 1.1)) for cy, colour in lamps
                  if size >= 32 and colour in (RED, YELLOW, GREEN)]
        return ([(DARK_GREY, rounded_rect(8, 0, 24, 32, 4)),
                 (BLACK, rounded_rect(8 + rim, rim, 24 - rim, 32 - rim, 4 - rim))]
                + [(colour, circle(16, cy, 4.4 if size >= 32 else 4)) for cy, colour in lamps] + glints)
    return drawing


def stop_sign(size):
    """At 16 x 16 there is no room for letters or a rim, so a white bar stands for the word."""
    sign = (RED, octagon(16, 16, 15.9))
    if size < 32:
        return [sign, (WHITE, rect(6, 14, 26, 18))]
    return [sign, (WHITE, minus(octagon(16, 16, 14.6), octagon(16, 16, 13.4))),
            (WHITE, pixel_text('STOP', FONT_4X6, 7, 13))]


# Icon files -----------------------------------------------------------------

def render(drawing, size):
    """RGB colour (or None for transparent) of each pixel, top row first."""
    layers = drawing(size)[::-1]
    return [pixel_colour(layers, col, row, CANVAS / size) for row in range(size) for col in range(size)]


def pixel_colour(layers, col, row, scale):
    offsets = [(i + 0.5) / SAMPLES for i in range(SAMPLES)]
    hits = [colour for colour in (top_colour(layers, (col + dx) * scale, (row + dy) * scale)
                                  for dy in offsets for dx in offsets) if colour]
    return Counter(hits).most_common(1)[0][0] if 2 * len(hits) >= SAMPLES * SAMPLES else None


def top_colour(layers, x, y):
    for colour, shape in layers:
        if shape(x, y):
            return colour(x, y) if callable(colour) else colour
    return None


def nearest(palette, colour):
    return min(range(len(palette)),
               key=lambda i: sum((a - b) ** 2 for a, b in zip(palette[i], colour)))


def packed_rows(values, size, bits):
    """Rows bottom-up, `bits` per value, most significant first, each padded to 4 bytes."""
    rows = []
    for row in range(size - 1, -1, -1):
        number = 0
        for value in values[row * size:(row + 1) * size]:
            number = number << bits | value
        row_bytes = (size * bits + 31) // 32 * 4
        rows.append((number << (row_bytes * 8 - size * bits)).to_bytes(row_bytes, 'big'))
    return b''.join(rows)


def icon_image(drawing, size, palette):
    """One image: BITMAPINFOHEADER-based (header, palette, colour rows, transparency
    mask), or PNG at 256 pixels."""
    bits = 8 if len(palette) == 256 else 4
    indices = [None if p is None else nearest(palette, p) for p in render(drawing, size)]
    if size == 256:
        return bits, png_image([None if i is None else palette[i] for i in indices], size)
    xor = packed_rows([i or 0 for i in indices], size, bits)
    mask = packed_rows([int(i is None) for i in indices], size, 1)
    header = struct.pack('<IiiHHIIiiII', 40, size, 2 * size, 1, bits, 0,
                         len(xor) + len(mask), 0, 0, len(palette), 0)
    colours = b''.join(bytes((b, g, r, 0)) for r, g, b in palette)
    return bits, header + colours + xor + mask


def png_image(pixels, size):
    """An 8-bit indexed PNG of the colours the image uses, the last of them transparent."""
    colours = sorted({p for p in pixels if p is not None})
    assert len(colours) < 256
    index = {colour: i for i, colour in enumerate(colours)}
    transparent = len(colours)
    rows = b''.join(b'\0' + bytes(transparent if p is None else index[p]
                                  for p in pixels[row * size:(row + 1) * size])
                    for row in range(size))

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data
                + struct.pack('>I', zlib.crc32(kind + data)))
    return (b'\x89PNG\r\n\x1a\n'
            + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 3, 0, 0, 0))
            + chunk(b'PLTE', b''.join(bytes(c) for c in colours) + bytes(3))
            + chunk(b'tRNS', bytes([255] * transparent + [0]))
            + chunk(b'IDAT', zlib.compress(rows, 9))
            + chunk(b'IEND', b''))


def icon_file(drawing, sizes, palette):
    images = [(size, *icon_image(drawing, size, palette)) for size in sizes]
    offset = 6 + 16 * len(images)
    directory = struct.pack('<HHH', 0, 1, len(images))
    for size, bits, data in images:
        directory += struct.pack('<BBBBHHII', size % 256, size % 256, 16 if bits == 4 else 0,
                                 0, 1, bits, len(data), offset)
        offset += len(data)
    return directory + b''.join(data for _, _, data in images)


SCALED = (16, 20, 24, 28, 32, 40, 48, 56, 64)
PROGRAM = SCALED + (256,)

ICONS = [
    ('launcher/internet.ico', browser_emblem, PROGRAM, EMBLEM_PALETTE),
    ('setup/setup.ico', setup_page, PROGRAM, VGA_PALETTE),
    ('switch/netswitch.ico', traffic_light(DARK_RED, YELLOW, DARK_GREEN), PROGRAM, VGA_PALETTE),
    ('switch/stop.ico', stop_sign, SCALED, VGA_PALETTE),
    ('switch/go.ico', traffic_light(DARK_RED, DARK_YELLOW, GREEN), SCALED, VGA_PALETTE),
]


def main():
    root = Path(__file__).resolve().parent.parent
    for path, drawing, sizes, palette in ICONS:
        (root / path).write_bytes(icon_file(drawing, sizes, palette))


if __name__ == '__main__':
    main()
