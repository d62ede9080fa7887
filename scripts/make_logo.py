#!/usr/bin/env python3
"""Writes the product's logo, the picture of the About box: a 183 x 146 pixel bitmap.

A browser window, a pop-up that leaps out of it, and a padlock that holds the pop-up back, on a
soft larkspur gradient. Every shape is a signed distance field, so that its edge is smoothed by
how much of a pixel it covers, without supersampling. The file is a plain 24-bit BMP, written by
hand: BITMAPFILEHEADER, BITMAPINFOHEADER (BI_RGB, bottom-up rows padded to four bytes).

  make_logo.py OUT.bmp      write the logo, then read it back and check it
  make_logo.py --check FILE read a logo and check it
"""

import math
import struct
import sys

import drawn_file

WIDTH = 183
HEIGHT = 146
BI_RGB = 0
FILE_HEADER = 14
INFO_HEADER = 40
# A drawing, unlike a flat or nearly empty picture, has many shades at its smoothed edges.
MIN_COLOURS = 200

LARKSPUR = (74, 84, 196)
INK = (30, 34, 90)
PAPER = (252, 252, 255)
POPUP_RED = (222, 70, 62)
GOLD = (246, 186, 48)
GOLD_DARK = (190, 128, 18)
STEEL = (104, 110, 134)


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def clamp(value, low=0.0, high=1.0):
    return max(low, min(high, value))


def box(cx, cy, half_w, half_h, radius):
    """A rounded rectangle centred on (cx, cy)."""
    def sdf(x, y):
        qx = abs(x - cx) - half_w + radius
        qy = abs(y - cy) - half_h + radius
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - radius
    return sdf


def rect(left, top, right, bottom, radius):
    return box((left + right) / 2, (top + bottom) / 2, (right - left) / 2, (bottom - top) / 2,
               radius)


def circle(cx, cy, radius):
    return lambda x, y: math.hypot(x - cx, y - cy) - radius


def segment(ax, ay, bx, by, half_width):
    """A stroke with round ends from (ax, ay) to (bx, by)."""
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def sdf(x, y):
        t = clamp(((x - ax) * dx + (y - ay) * dy) / length2)
        return math.hypot(x - ax - t * dx, y - ay - t * dy) - half_width
    return sdf


def union(*shapes):
    return lambda x, y: min(shape(x, y) for shape in shapes)


def below(shape, limit):
    """The part of `shape` above the line y = limit."""
    return lambda x, y: max(shape(x, y), y - limit)


def outline(shape, half_width):
    return lambda x, y: abs(shape(x, y)) - half_width


def rotated(shape, cx, cy, degrees):
    """`shape` turned clockwise by `degrees` about (cx, cy)."""
    c, s = math.cos(math.radians(degrees)), math.sin(math.radians(degrees))

    def sdf(x, y):
        dx, dy = x - cx, y - cy
        return shape(cx + c * dx + s * dy, cy - s * dx + c * dy)
    return sdf


def shifted(shape, dx, dy):
    return lambda x, y: shape(x - dx, y - dy)


class Layer:
    """A shape painted in `colour` (an RGB triple or a function of x, y); `blur` widens its edge
    for a shadow; only pixels within `bounds` (left, top, right, bottom) are looked at."""

    def __init__(self, shape, colour, bounds, opacity=1.0, blur=1.0):
        self.shape = shape
        self.colour = colour if callable(colour) else (lambda x, y, c=colour: c)
        self.bounds = bounds
        self.opacity = opacity
        self.blur = blur

    def cover(self, x, y):
        left, top, right, bottom = self.bounds
        if not (left <= x <= right and top <= y <= bottom):
            return 0.0
        return self.opacity * clamp(0.5 - self.shape(x, y) / self.blur)


def background(x, y):
    """Light at the top left, deeper larkspur towards the bottom right."""
    t = clamp((x / WIDTH) * 0.45 + (y / HEIGHT) * 0.55)
    return mix((232, 237, 255), (150, 162, 230), t)


def window_layers(left, top, right, bottom, title, bar, lines, turn=None):
    """A window with its shadow, frame, title bar and lines of content; `turn` = (cx, cy,
    degrees) tilts it."""
    def place(shape):
        return rotated(shape, *turn) if turn else shape

    margin = 12 if turn else 6
    bounds = (left - margin, top - margin, right + margin + 4, bottom + margin + 5)
    frame = rect(left, top, right, bottom, 7)
    layers = [
        Layer(place(shifted(frame, 3, 4)), INK, bounds, opacity=0.3, blur=5),
        Layer(place(frame), PAPER, bounds),
        Layer(place(below(frame, top + bar)), title, bounds),
        Layer(place(outline(frame, 0.5)), mix(title, INK, 0.35), bounds),
    ]
    for shape, colour in lines:
        layers.append(Layer(place(shape), colour, bounds))
    return layers


def browser_layers():
    left, top, right, bottom = 12, 16, 120, 122
    lines = [(circle(left + 9 + 7 * i, top + 7.5, 2.4), (206, 212, 248)) for i in range(3)]
    lines.append((rect(left + 34, top + 4, right - 8, top + 11, 3.5), (226, 230, 252)))
    lines.append((rect(left + 10, top + 25, left + 62, top + 31, 3), (178, 186, 228)))
    for row, length in enumerate((88, 74, 84, 56, 80, 66, 40)):
        y = top + 40 + row * 9
        lines.append((rect(left + 10, y, left + 10 + length, y + 4, 2), (214, 218, 238)))
    return window_layers(left, top, right, bottom, LARKSPUR, 15, lines)


def popup_layers():
    left, top, right, bottom = 90, 22, 170, 86
    turn = ((left + right) / 2, (top + bottom) / 2, 9)
    x_mark = (right - 9, top + 6.5)
    lines = [
        (segment(x_mark[0] - 2.8, x_mark[1] - 2.8, x_mark[0] + 2.8, x_mark[1] + 2.8, 1.1), PAPER),
        (segment(x_mark[0] - 2.8, x_mark[1] + 2.8, x_mark[0] + 2.8, x_mark[1] - 2.8, 1.1), PAPER),
        (rect(left + 9, top + 21, right - 22, top + 26, 2.5), (238, 206, 202)),
        (rect(left + 9, top + 31, right - 12, top + 35, 2), (240, 220, 218)),
        (rect(left + 20, top + 42, right - 20, top + 55, 6.5), (244, 150, 62)),
    ]
    return window_layers(left, top, right, bottom, POPUP_RED, 13, lines, turn)


def padlock_layers():
    cx, body_top, body_bottom, half_w = 132, 94, 128, 19
    ring = circle(cx, body_top, 12)
    shackle = union(below(outline(ring, 3), body_top),
                    segment(cx - 12, body_top, cx - 12, body_top + 6, 3),
                    segment(cx + 12, body_top, cx + 12, body_top + 6, 3))
    body = rect(cx - half_w, body_top, cx + half_w, body_bottom, 6)
    keyhole = union(circle(cx, body_top + 13, 4.2),
                    rect(cx - 1.8, body_top + 14, cx + 1.8, body_top + 24, 1.2))
    bounds = (cx - half_w - 8, body_top - 20, cx + half_w + 10, body_bottom + 10)

    def steel(x, y):
        return mix((176, 182, 204), STEEL, clamp((x - cx + 12) / 24))

    def gold(x, y):
        return mix((255, 214, 110), GOLD, clamp((y - body_top) / (body_bottom - body_top)))

    return [
        Layer(shifted(union(shackle, body), 3, 4), INK, bounds, opacity=0.35, blur=4),
        Layer(shackle, steel, bounds),
        Layer(outline(shackle, 0.5), (70, 74, 96), bounds),
        Layer(body, gold, bounds),
        Layer(outline(body, 0.6), GOLD_DARK, bounds),
        Layer(rect(cx - half_w + 5, body_top + 4, cx + half_w - 5, body_top + 6, 1),
              (255, 236, 170), bounds, opacity=0.8),
        Layer(keyhole, (112, 72, 12), bounds),
    ]


def render():
    """The picture as rows of RGB triples, top row first."""
    layers = browser_layers() + popup_layers() + padlock_layers()
    rows = []
    for y in range(HEIGHT):
        row = []
        for x in range(WIDTH):
            px, py = x + 0.5, y + 0.5
            colour = background(px, py)
            for layer in layers:
                alpha = layer.cover(px, py)
                if alpha > 0:
                    colour = mix(colour, layer.colour(px, py), alpha)
            row.append(tuple(int(round(clamp(c, 0, 255))) for c in colour))
        rows.append(row)
    return rows


def stride():
    return (WIDTH * 3 + 3) & ~3


def encode(rows):
    """The BMP file: bottom-up rows of blue, green, red, each padded to four bytes."""
    bits = b"".join(
        bytes(c for r, g, b in row for c in (b, g, r)).ljust(stride(), b"\0")
        for row in reversed(rows))
    offset = FILE_HEADER + INFO_HEADER
    header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", INFO_HEADER, WIDTH, HEIGHT, 1, 24, BI_RGB, len(bits),
                       3780, 3780, 0, 0)  # 96 pixels per inch
    return header + info + bits


def check_logo(data, expected_rows=None):
    """Reads a logo back and raises ValueError where it is not the picture the DLL builds in."""
    if len(data) < FILE_HEADER + INFO_HEADER:
        raise ValueError("too short for a BMP")
    magic, size, _, _, offset = struct.unpack_from("<2sIHHI", data, 0)
    if magic != b"BM" or size != len(data):
        raise ValueError("not a BMP, or its size field is %d for %d bytes" % (size, len(data)))
    info = struct.unpack_from("<IiiHHIIiiII", data, FILE_HEADER)
    header_size, width, height, planes, bits, compression, image_size = info[:7]
    if header_size != INFO_HEADER or planes != 1 or bits != 24 or compression != BI_RGB:
        raise ValueError("not a 24-bit BI_RGB BITMAPINFOHEADER")
    if (width, height) != (WIDTH, HEIGHT):
        raise ValueError("%dx%d, expected %dx%d (bottom-up)" % (width, height, WIDTH, HEIGHT))
    if offset != FILE_HEADER + INFO_HEADER or image_size != stride() * HEIGHT:
        raise ValueError("pixels at %d of %d bytes, expected at %d of %d" %
                         (offset, image_size, FILE_HEADER + INFO_HEADER, stride() * HEIGHT))
    if offset + image_size != len(data):
        raise ValueError("the file does not end with its pixels")
    rows = []
    for y in range(HEIGHT):
        start = offset + (HEIGHT - 1 - y) * stride()
        line = data[start:start + stride()]
        if any(line[WIDTH * 3:]):
            raise ValueError("row %d has bytes in its padding" % y)
        rows.append([(line[i + 2], line[i + 1], line[i]) for i in range(0, WIDTH * 3, 3)])
    colours = len({pixel for row in rows for pixel in row})
    if colours < MIN_COLOURS:
        raise ValueError("only %d colours: not the drawing" % colours)
    if expected_rows is not None and rows != expected_rows:
        raise ValueError("the pixels read back different")
    return colours


def draw():
    expected = render()
    return encode(expected), expected


def check(data, expected):
    colours = check_logo(data, expected)
    return "%dx%d, 24-bit, %d colours" % (WIDTH, HEIGHT, colours)


if __name__ == "__main__":
    sys.exit(drawn_file.run(sys.argv, __doc__, draw, check))
