#!/usr/bin/env python3
"""Writes the binary resources (icons, cursors, panel bitmap) into resources/.

The pictures live here as drawing code and pixel art, and the outputs are
committed, so the build itself never needs Python.  The output depends only on
this file: run it again after editing a picture and commit the changed files.

    python3 scripts/gen_resources.py [output-dir]
"""

import math
import os
import struct
import sys

# --------------------------------------------------------------------------
# File writers.  Every image inside .ico/.cur is a bottom-up DIB whose header
# height is twice the real height (colour rows, then the 1-bit AND mask).
# --------------------------------------------------------------------------


def _row_bytes(width, bpp):
    return (width * bpp + 31) // 32 * 4


def _pack_rows(rows, bpp):
    """rows: top-down lists of pixel values (index or (r, g, b))."""
    out = bytearray()
    width = len(rows[0])
    stride = _row_bytes(width, bpp)
    for row in reversed(rows):
        line = bytearray()
        if bpp == 24:
            for r, g, b in row:
                line += bytes((b, g, r))
        else:
            per_byte = 8 // bpp
            for i in range(0, width, per_byte):
                byte = 0
                for j in range(per_byte):
                    v = row[i + j] if i + j < width else 0
                    byte |= v << (8 - bpp * (j + 1))
                line.append(byte)
        line += bytes(stride - len(line))
        out += line
    return bytes(out)


def _bitmapinfoheader(width, height, bpp, colours, image_size):
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, bpp, 0,
                       image_size, 0, 0, colours, 0)


def _palette_bytes(palette):
    return b''.join(bytes((b, g, r, 0)) for r, g, b in palette)


def icon_image(width, height, bpp, pixels, mask, palette=None):
    """pixels: top-down rows; mask: top-down rows of 1 = transparent."""
    colour = _pack_rows(pixels, bpp)
    and_mask = _pack_rows(mask, 1)
    pal = _palette_bytes(palette) if palette else b''
    header = _bitmapinfoheader(width, height * 2, bpp,
                               len(palette) if palette else 0,
                               len(colour) + len(and_mask))
    return header + pal + colour + and_mask


def icon_file(images, cursor_hotspots=None):
    """images: list of (width, height, bpp, palette_len, dib bytes).

    With cursor_hotspots the file is a .cur and the planes/bit-count words of
    each directory entry carry the hot spot instead.
    """
    kind = 2 if cursor_hotspots else 1
    out = bytearray(struct.pack('<HHH', 0, kind, len(images)))
    offset = 6 + 16 * len(images)
    for i, (w, h, bpp, pal_len, dib) in enumerate(images):
        if cursor_hotspots:
            f1, f2 = cursor_hotspots[i]
        else:
            f1, f2 = 1, bpp
        out += struct.pack('<BBBBHHII', w % 256, h % 256,
                           pal_len if pal_len < 256 else 0, 0, f1, f2,
                           len(dib), offset)
        offset += len(dib)
    for image in images:
        out += image[4]
    return bytes(out)


def bmp_file(pixels, palette, bpp):
    height, width = len(pixels), len(pixels[0])
    data = _pack_rows(pixels, bpp)
    info = _bitmapinfoheader(width, height, bpp, len(palette), len(data))
    pal = _palette_bytes(palette)
    offset = 14 + len(info) + len(pal)
    header = struct.pack('<2sIHHI', b'BM', offset + len(data), 0, 0, offset)
    return header + info + pal + data


# --------------------------------------------------------------------------
# Pixel art.  A picture is a list of equal-length strings; '.' is transparent
# and every other character is looked up in a legend.
# --------------------------------------------------------------------------


def parse_art(art, legend):
    rows = [line for line in art.strip('\n').split('\n')]
    width = len(rows[0])
    for line in rows:
        if len(line) != width:
            raise ValueError('ragged pixel art row: %r' % line)
        for ch in line:
            if ch != '.' and ch not in legend:
                raise ValueError('no colour for %r' % ch)
    return [[None if ch == '.' else legend[ch] for ch in line]
            for line in rows]


def hexrgb(text):
    return tuple(int(text[i:i + 2], 16) for i in (1, 3, 5))


# --------------------------------------------------------------------------
# Anti-aliased drawing for the 24-bit application icon.  Shapes are tested
# on a grid of sub-samples per pixel and composited in premultiplied form so
# that edges against the (still transparent) background keep their colour.
# --------------------------------------------------------------------------


class Canvas:
    SUB = 6

    def __init__(self, size, unit):
        self.size = size
        self.scale = size / unit
        self.rgb = [[(0.0, 0.0, 0.0)] * size for _ in range(size)]
        self.alpha = [[0.0] * size for _ in range(size)]

    def fill(self, inside, colour, bbox):
        """inside(x, y) in design units; colour: (r, g, b) or f(x, y)."""
        s = self.scale
        x0, y0, x1, y1 = bbox
        px0 = max(0, int(math.floor(x0 * s)))
        py0 = max(0, int(math.floor(y0 * s)))
        px1 = min(self.size, int(math.ceil(x1 * s)) + 1)
        py1 = min(self.size, int(math.ceil(y1 * s)) + 1)
        n = self.SUB
        for py in range(py0, py1):
            for px in range(px0, px1):
                hits = 0
                for sy in range(n):
                    y = (py + (sy + 0.5) / n) / s
                    for sx in range(n):
                        if inside((px + (sx + 0.5) / n) / s, y):
                            hits += 1
                if not hits:
                    continue
                c = hits / (n * n)
                cx, cy = (px + 0.5) / s, (py + 0.5) / s
                col = colour(cx, cy) if callable(colour) else colour
                r, g, b = self.rgb[py][px]
                self.rgb[py][px] = (col[0] * c + r * (1 - c),
                                    col[1] * c + g * (1 - c),
                                    col[2] * c + b * (1 - c))
                self.alpha[py][px] = c + self.alpha[py][px] * (1 - c)

    def result(self):
        """Opaque pixels and the AND mask (alpha is only 1 bit in a 24-bit icon)."""
        pixels, mask = [], []
        for py in range(self.size):
            prow, mrow = [], []
            for px in range(self.size):
                a = self.alpha[py][px]
                if a >= 0.5:
                    r, g, b = self.rgb[py][px]
                    prow.append(tuple(min(255, int(round(v / a))) for v in (r, g, b)))
                    mrow.append(0)
                else:
                    prow.append((0, 0, 0))
                    mrow.append(1)
            pixels.append(prow)
            mask.append(mrow)
        return pixels, mask


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        dx = max(x0 + r - x, 0, x - (x1 - r))
        dy = max(y0 + r - y, 0, y - (y1 - r))
        return dx * dx + dy * dy <= r * r
    return inside, (x0, y0, x1, y1)


def polygon(points):
    def inside(x, y):
        c = False
        for i in range(len(points)):
            (xa, ya), (xb, yb) = points[i], points[i - 1]
            if (ya > y) != (yb > y) and x < xa + (y - ya) * (xb - xa) / (yb - ya):
                c = not c
        return c
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return inside, (min(xs), min(ys), max(xs), max(ys))


def polyline(points, half_width):
    segs = list(zip(points, points[1:]))

    def inside(x, y):
        for (xa, ya), (xb, yb) in segs:
            dx, dy = xb - xa, yb - ya
            t = ((x - xa) * dx + (y - ya) * dy) / (dx * dx + dy * dy)
            t = max(0.0, min(1.0, t))
            ex, ey = x - (xa + t * dx), y - (ya + t * dy)
            if ex * ex + ey * ey <= half_width * half_width:
                return True
        return False
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    hw = half_width
    return inside, (min(xs) - hw, min(ys) - hw, max(xs) + hw, max(ys) + hw)


def bezier(p0, p1, p2, p3, steps=40):
    pts = []
    for i in range(steps + 1):
        t = i / steps
        u = 1 - t
        pts.append((u ** 3 * p0[0] + 3 * u * u * t * p1[0] + 3 * u * t * t * p2[0] + t ** 3 * p3[0],
                    u ** 3 * p0[1] + 3 * u * u * t * p1[1] + 3 * u * t * t * p2[1] + t ** 3 * p3[1]))
    return pts


def vertical_gradient(top, bottom, y0, y1):
    def colour(x, y):
        t = max(0.0, min(1.0, (y - y0) / (y1 - y0)))
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))
    return colour


RED = hexrgb('#d8392b')
RED_LIGHT = hexrgb('#f2705f')
RED_DARK = hexrgb('#9e2216')
INK = hexrgb('#1d2128')


def draw_app_icon(size):
    """A red pencil finishing a stroke across a monitor's screen."""
    cv = Canvas(size, 48.0)

    def put(shape, colour):
        cv.fill(shape[0], colour, shape[1])

    # Monitor: stand first so the bezel overlaps it.
    put(polygon([(19.5, 35), (28.5, 35), (30.5, 41.5), (17.5, 41.5)]), INK)
    put(polygon([(20.5, 35), (27.5, 35), (29.2, 40.6), (18.8, 40.6)]),
        vertical_gradient(hexrgb('#4b5563'), hexrgb('#6b7685'), 35, 41))
    put(rounded_rect(11.5, 39.5, 36.5, 45.0, 2.0), INK)
    put(rounded_rect(12.5, 40.5, 35.5, 44.0, 1.3),
        vertical_gradient(hexrgb('#7d8898'), hexrgb('#4b5563'), 40.5, 44))
    put(rounded_rect(1.5, 6.5, 46.5, 37.0, 3.5), INK)
    put(rounded_rect(2.5, 7.5, 45.5, 36.0, 2.7),
        vertical_gradient(hexrgb('#56606e'), hexrgb('#323a45'), 7.5, 36))
    put(rounded_rect(5.5, 10.5, 42.5, 32.5, 0.8), hexrgb('#20262e'))
    put(rounded_rect(6.3, 11.3, 41.7, 31.7, 0.4),
        vertical_gradient(hexrgb('#ffffff'), hexrgb('#c9dcf0'), 11.3, 31.7))

    # The stroke, ending where the pencil's lead touches the screen.
    tip = (24.0, 22.5)
    stroke = bezier((9.5, 27.5), (13.5, 14.5), (18.5, 32.5), tip)
    put(polyline(stroke, 1.75), RED_DARK)
    put(polyline(stroke, 1.2), RED)

    # Pencil along the up-right diagonal from its tip.
    d = (math.sqrt(0.5), -math.sqrt(0.5))
    n = (math.sqrt(0.5), math.sqrt(0.5))

    def at(s, t):
        return (tip[0] + d[0] * s + n[0] * t, tip[1] + d[1] * s + n[1] * t)

    def band(s0, s1, t0, t1):
        return polygon([at(s0, t0), at(s1, t0), at(s1, t1), at(s0, t1)])

    h, o = 3.4, 0.95
    cone, length = 7.0, 26.0
    put(polygon([at(-o * 1.6, 0), at(cone, -h - o), at(length + o, -h - o),
                 at(length + o, h + o), at(cone, h + o)]), INK)
    put(polygon([at(0, 0), at(cone, -h), at(cone, h)]), hexrgb('#f1d3a1'))
    put(polygon([at(cone - 1.2, -h), at(cone, -h), at(cone, h), at(cone - 1.2, h)]),
        hexrgb('#d9b27a'))
    put(polygon([at(0, 0), at(2.9, -h * 2.9 / cone), at(2.9, h * 2.9 / cone)]), RED)
    put(band(cone, 19.5, -h, -h / 3), RED_LIGHT)
    put(band(cone, 19.5, -h / 3, h / 3), RED)
    put(band(cone, 19.5, h / 3, h), RED_DARK)
    put(band(19.5, 22.5, -h, h),
        lambda x, y: hexrgb('#e4e8ee') if (x - tip[0]) + (y - tip[1]) < 0 else hexrgb('#9aa2ad'))
    put(band(20.4, 20.9, -h, h), hexrgb('#6d7480'))
    put(band(21.5, 22.0, -h, h), hexrgb('#6d7480'))
    put(band(22.5, length, -h, h),
        lambda x, y: hexrgb('#f6b3c0') if (x - tip[0]) + (y - tip[1]) < 0 else hexrgb('#d9788c'))
    return cv.result()


# --------------------------------------------------------------------------
# Small pictures drawn pixel by pixel.
# --------------------------------------------------------------------------

SMALL_ICON_LEGEND = {
    'K': INK,
    'D': hexrgb('#3d4652'),
    'G': hexrgb('#6b7685'),
    'S': hexrgb('#f4f8fd'),
    's': hexrgb('#cddff1'),
    'R': RED,
    'L': RED_LIGHT,
    'r': RED_DARK,
    'T': hexrgb('#f1d3a1'),
    'M': hexrgb('#b8bfc9'),
    'P': hexrgb('#ef9aab'),
}

SMALL_ICON = """
..............K.
.............KPK
............KPPK
...........KMMMK
.KKKKKKKKKKLRrK.
KDDDDDDDDKLRrKDK
KDSSSSSSKLRrKSDK
KDSRRSSKTTTKSSDK
KDRssRKTTKssssDK
KDRsssRRKsssssDK
KDssssssssssssDK
KDDDDDDDDDDDDDDK
.KKKKKKKKKKKKKK.
......KGGK......
....KKGGGGKK....
....KKKKKKKK....
"""

# Cursor pixels: K black, W white, '.' transparent, I inverted screen.
CURSOR_PIXELS = {'K': (0, 0), 'W': (0, 1), 'I': (1, 1)}   # (AND, XOR)

PEN_CURSOR = """
................................
................................
........................K.......
.......................KWK......
......................KWWWK.....
.....................KWWWWWK....
....................KWWWWWWWK...
...................KKWWWWWWWWK..
..................KWWKWWWWWWK...
.................KWWWWKWWWWK....
................KWWWWWWKWWK.....
...............KWWWWWWWWKK......
..............KWWWWWWWWWK.......
.............KWWWWWWWWWK........
............KWWWWWWWWWK.........
...........KWWWWWWWWWK..........
..........KWWWWWWWWWK...........
.........KWWWWWWWWWK............
........KWWWWWWWWWK.............
.......KWWWWWWWWWK..............
......KWWWWWWWWWK...............
.....KWWWWWWWWWK................
....KWWWWWWWWWK.................
....KKWWWWWWWK..................
...KWWKWWWWWK...................
...KWWWKWWWK....................
...KWWWWKWK.....................
..KWWWWWKK......................
..KKKKKK........................
.KKKK...........................
.KK.............................
................................
"""


def eraser_cursor():
    # The outline matches the eraser's 20x20 footprint around the hot spot.
    rows = []
    for y in range(32):
        row = ''
        for x in range(32):
            on_square = 6 <= x <= 25 and 6 <= y <= 25
            on_edge = on_square and (x in (6, 25) or y in (6, 25))
            row += 'I' if on_edge else '.'
        rows.append(row)
    return '\n'.join(rows)


def highlighter_cursor():
    # The highlighter paints the 20 rows above the pointer, so the bar shows
    # exactly that span; inverting keeps it visible on any colour.
    rows = []
    for y in range(32):
        row = ''
        for x in range(32):
            bar = x == 1 and 11 <= y <= 30
            serif = y in (11, 30) and 0 <= x <= 3
            row += 'I' if bar or serif else '.'
        rows.append(row)
    return '\n'.join(rows)


CURSORS = [
    ('pen.cur', PEN_CURSOR, (1, 30)),
    ('eraser.cur', eraser_cursor(), (16, 16)),
    ('highlighter.cur', highlighter_cursor(), (1, 30)),
]

# The standard 16-colour VGA palette, in the usual Windows order.
VGA = [hexrgb(c) for c in (
    '#000000', '#800000', '#008000', '#808000', '#000080', '#800080',
    '#008080', '#c0c0c0', '#808080', '#ff0000', '#00ff00', '#ffff00',
    '#0000ff', '#ff00ff', '#00ffff', '#ffffff')]
VGA_BLACK, VGA_TEAL, VGA_SILVER, VGA_GREY, VGA_RED, VGA_CYAN, VGA_WHITE = 0, 6, 7, 8, 9, 14, 15

PANEL_LEGEND = {
    'K': VGA_BLACK, 'c': VGA_TEAL, 'C': VGA_CYAN, 'S': VGA_SILVER,
    'G': VGA_GREY, 'R': VGA_RED, 'W': VGA_WHITE,
}

PANEL_ERASER = """
....................
..........K.........
.........KCK........
........KCCCK.......
.......KCCCCCK......
......KCCCCCCCK.....
.....KCCCCCCCKK.....
....KCCCCCCCKcK.....
...KCCCCCCCKccK.....
..KCCCCCCCKccK......
..KKCCCCCKccK.......
..KcKCCCKccK........
..KccKCKccK.........
...KccKccK..........
....KcccK...........
.....KcK............
......K.............
....................
....................
....................
"""

PANEL_SAVE = """
....................
....................
..KKKKKKKKKKKKKKK...
..KSSKGGGGGKKGKSSK..
..KSSKGGGGGKKGKSSK..
..KSSKGGGGGKKGKSSK..
..KSSKGGGGGKKGKSSK..
..KSSKKKKKKKKKKSSK..
..KSSSSSSSSSSSSSSK..
..KSKKKKKKKKKKKKSK..
..KSKWWWWWWWWWWKSK..
..KSKWGGGGGGGGWKSK..
..KSKWWWWWWWWWWKSK..
..KSKWGGGGGGGGWKSK..
..KSKWWWWWWWWWWKSK..
..KSKWWWWWWWWWWKSK..
..KSKWWWWWWWWWWKSK..
..KKKKKKKKKKKKKKKK..
....................
....................
"""

PANEL_CLOSE = """
....................
......KKKKKKKK......
....KKRRRRRRRRKK....
...KRRRRRRRRRRRRK...
..KRRRRRRRRRRRRRRK..
..KRRWWRRRRRRWWRRK..
.KRRRWWWRRRRWWWRRRK.
.KRRRRWWWRRWWWRRRRK.
.KRRRRRWWWWWWRRRRRK.
.KRRRRRRWWWWRRRRRRK.
.KRRRRRRWWWWRRRRRRK.
.KRRRRRWWWWWWRRRRRK.
.KRRRRWWWRRWWWRRRRK.
.KRRRWWWRRRRWWWRRRK.
..KRRWWRRRRRRWWRRK..
..KRRRRRRRRRRRRRRK..
...KRRRRRRRRRRRRK...
....KKRRRRRRRRKK....
......KKKKKKKK......
....................
"""


# --------------------------------------------------------------------------


def build_app_ico():
    images = []
    for size in (48, 32):
        pixels, mask = draw_app_icon(size)
        images.append((size, size, 24, 0, icon_image(size, size, 24, pixels, mask)))
    return icon_file(images)


def build_small_ico():
    art = parse_art(SMALL_ICON, SMALL_ICON_LEGEND)
    # 16x16 has at most 256 distinct colours, so the table is just the
    # colours used, in a fixed order, padded with black.
    used = sorted({c for row in art for c in row if c is not None})
    palette = [(0, 0, 0)] + [c for c in used if c != (0, 0, 0)]
    palette += [(0, 0, 0)] * (256 - len(palette))
    index = {c: i for i, c in reversed(list(enumerate(palette)))}
    pixels = [[0 if c is None else index[c] for c in row] for row in art]
    mask = [[1 if c is None else 0 for c in row] for row in art]
    return icon_file([(16, 16, 8, 256, icon_image(16, 16, 8, pixels, mask, palette))])


def build_cursor(art, hotspot):
    rows = [line for line in art.strip('\n').split('\n')]
    assert len(rows) == 32 and all(len(r) == 32 for r in rows)
    xor = [[CURSOR_PIXELS[ch][1] if ch != '.' else 0 for ch in r] for r in rows]
    mask = [[CURSOR_PIXELS[ch][0] if ch != '.' else 1 for ch in r] for r in rows]
    dib = icon_image(32, 32, 1, xor, mask, [(0, 0, 0), (255, 255, 255)])
    return icon_file([(32, 32, 1, 2, dib)], cursor_hotspots=[hotspot])


def build_panel_bmp():
    pictures = [parse_art(a, PANEL_LEGEND) for a in (PANEL_ERASER, PANEL_SAVE, PANEL_CLOSE)]
    rows = []
    for y in range(20):
        rows.append([VGA_WHITE if p[y][x] is None else p[y][x]
                     for p in pictures for x in range(20)])
    # The mask row under each picture: white where it is opaque, so that
    # SRCPAINT then SRCAND leaves the screen untouched around the picture.
    for y in range(20):
        rows.append([VGA_BLACK if p[y][x] is None else VGA_WHITE
                     for p in pictures for x in range(20)])
    return bmp_file(rows, VGA, 4)


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    out_dir = argv[1] if len(argv) > 1 else os.path.join(here, '..', 'resources')
    outputs = {
        'app.ico': build_app_ico(),
        'app_small.ico': build_small_ico(),
        'panel_icons.bmp': build_panel_bmp(),
    }
    for name, art, hotspot in CURSORS:
        outputs[name] = build_cursor(art, hotspot)
    for name, data in sorted(outputs.items()):
        with open(os.path.join(out_dir, name), 'wb') as f:
            f.write(data)
        print('%-16s %6d bytes' % (name, len(data)))


if __name__ == '__main__':
    main(sys.argv)
