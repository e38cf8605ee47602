#!/usr/bin/env python3
"""Draws Melodeck's skin bitmaps and program icon.

Writes res/bitmaps/*.bmp (24-bit, uncompressed, 21 pixels high) and res/Melodeck.ico (16, 32 and 48
pixels, 32-bit with alpha). Standard library only, and deterministic: the same script always writes the
same bytes, so the committed files change only when the drawing does.

The skin copies these bitmaps with pure red as the transparent colour, so red appears only outside the
rounded outlines and is never blended into an edge (that would leave a red fringe on screen).

Usage: make_artwork.py [repository root]   (default: the parent of this script's folder)
"""

import math
import os
import struct
import sys

TRANSPARENT = (255, 0, 0)
HEIGHT = 21
SUPERSAMPLE = 4  # samples per pixel side

# One calm palette for every control: light grey faces, a soft blue accent under the mouse, and a
# paler, low-contrast look when disabled. Normal and pressed share one image (the skin registers it
# for both), so it is a shade darker than the hot face to keep the states apart.
PALETTE = {
    "normal": {"face": (229, 232, 237), "border": (143, 151, 163), "divider": (178, 185, 195),
               "glyph": (66, 74, 87)},
    "hot": {"face": (214, 230, 249), "border": (74, 128, 196), "divider": (132, 169, 218),
            "glyph": (32, 84, 156)},
    "disabled": {"face": (242, 243, 245), "border": (196, 200, 206), "divider": (214, 217, 222),
                 "glyph": (176, 181, 189)},
}


# Shapes are signed distance functions: negative inside, positive outside, in pixels.

def rounded_box(left, top, right, bottom, radius):
    cx, cy = (left + right) / 2.0, (top + bottom) / 2.0
    hx, hy = (right - left) / 2.0 - radius, (bottom - top) / 2.0 - radius

    def sdf(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - radius

    return sdf


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def box(left, top, right, bottom):
    return rounded_box(left, top, right, bottom, 0.0)


def triangle(points):
    """Convex polygon given clockwise in screen coordinates; distance is exact enough for coverage."""
    edges = []
    for i, (ax, ay) in enumerate(points):
        bx, by = points[(i + 1) % len(points)]
        length = math.hypot(bx - ax, by - ay)
        # Outward normal of a clockwise (screen) polygon.
        edges.append((ax, ay, (by - ay) / length, -(bx - ax) / length))

    def sdf(x, y):
        return max((x - ax) * nx + (y - ay) * ny for ax, ay, nx, ny in edges)

    return sdf


def rotated_ellipse(cx, cy, rx, ry, degrees):
    c, s = math.cos(math.radians(degrees)), math.sin(math.radians(degrees))

    def sdf(x, y):
        dx, dy = x - cx, y - cy
        u, v = dx * c + dy * s, -dx * s + dy * c
        k = math.hypot(u / rx, v / ry)
        return (k - 1.0) * min(rx, ry)

    return sdf


def coverage(sdf, px, py, inset=0.0):
    """Fraction of the pixel (px, py) lying inside the shape shrunk by `inset` pixels."""
    inside = 0
    for sy in range(SUPERSAMPLE):
        for sx in range(SUPERSAMPLE):
            x = px + (sx + 0.5) / SUPERSAMPLE
            y = py + (sy + 0.5) / SUPERSAMPLE
            if sdf(x, y) < -inset:
                inside += 1
    return inside / float(SUPERSAMPLE * SUPERSAMPLE)


def mix(a, b, t):
    """a blended towards b by t (0..1), rounded to whole channel values."""
    return tuple(int(round(ca + (cb - ca) * t)) for ca, cb in zip(a, b))


# Skin bitmaps

def draw_face(width, outline, colours, glyph=None, dividers=()):
    """A face with a one-pixel border following `outline`; red outside it. Returns rows of RGB."""
    rows = []
    for py in range(HEIGHT):
        row = []
        for px in range(width):
            outer = coverage(outline, px, py)
            if outer < 0.5:
                row.append(TRANSPARENT)
                continue
            inner = coverage(outline, px, py, inset=1.0)
            # Only the inner side of the border is smoothed: the outer side meets the transparent red.
            colour = mix(colours["border"], colours["face"], inner / outer)
            if px in dividers and 0 < py < HEIGHT - 1:
                colour = colours["divider"]
            if glyph is not None:
                g = coverage(glyph, px, py)
                if g > 0.0:
                    colour = mix(colour, colours["glyph"], g)
            row.append(colour)
        rows.append(row)
    return rows


def push_left_cap(colours):
    # The outline runs on past the right edge, where the middle part continues it.
    return draw_face(10, rounded_box(0, 0, 30, HEIGHT, 5.0), colours)


def push_right_cap(colours):
    return draw_face(10, rounded_box(-20, 0, 10, HEIGHT, 5.0), colours)


def push_middle(colours):
    return draw_face(3, box(-10, 0, 13, HEIGHT), colours)


def joined_left(colours):
    # Square: the left neighbour's joined right side draws the divider between the two.
    return draw_face(6, box(-10, 0, 16, HEIGHT), colours)


def joined_right(colours):
    # The divider sits in the last column, so neighbouring buttons share exactly one thin line.
    return draw_face(6, box(-10, 0, 16, HEIGHT), colours, dividers=(5,))


def round_button(colours):
    # Glyph-free: the scroll bar draws its own arrow over it, and the trackbar stretches it as the thumb.
    return draw_face(21, circle(10.5, 10.5, 10.5), colours)


def arrow_glyph(direction):
    """A small solid triangle centred in the 21 x 21 cell, pointing `direction`."""
    half, depth = 4.0, 4.5  # half the base, and the tip's distance from the base
    c = 10.5
    if direction == "up":
        pts = [(c, c - depth / 2), (c + half, c + depth / 2), (c - half, c + depth / 2)]
    elif direction == "down":
        pts = [(c - half, c - depth / 2), (c + half, c - depth / 2), (c, c + depth / 2)]
    elif direction == "left":
        pts = [(c - depth / 2, c), (c + depth / 2, c - half), (c + depth / 2, c + half)]
    else:
        pts = [(c - depth / 2, c - half), (c + depth / 2, c), (c - depth / 2, c + half)]
    return triangle(pts)


def squeezed_arrow(direction, colours):
    # Round at the bar's end, square towards the track, like the built-in squeezed arrow.
    c, r = 10.5, 10.5
    half = {
        "up": box(0, c, 21, 21),
        "down": box(0, 0, 21, c),
        "left": box(c, 0, 21, 21),
        "right": box(0, 0, c, 21),
    }[direction]
    return draw_face(21, union(circle(c, c, r), half), colours, glyph=arrow_glyph(direction))


# Resource id, file name and drawing of every skin bitmap (ids as in res/resource.h).
def bitmap_table():
    n, h, d = PALETTE["normal"], PALETTE["hot"], PALETTE["disabled"]
    return [
        (129, "arrow_normal", round_button(n)),
        (130, "arrow_disabled", round_button(d)),
        (131, "arrow_hot", round_button(h)),
        (132, "left_hot", push_left_cap(h)),
        (133, "middle_hot", push_middle(h)),
        (134, "right_hot", push_right_cap(h)),
        (135, "right_normal", push_right_cap(n)),
        (136, "middle_normal", push_middle(n)),
        (137, "left_normal", push_left_cap(n)),
        (138, "right_disabled", push_right_cap(d)),
        (139, "middle_disabled", push_middle(d)),
        (140, "left_disabled", push_left_cap(d)),
        (141, "joinr_hot", joined_right(h)),
        (142, "joinr_normal", joined_right(n)),
        (143, "joinl_disabled", joined_left(d)),
        (144, "joinr_disabled", joined_right(d)),
        (145, "joinl_hot", joined_left(h)),
        (146, "joinl_normal", joined_left(n)),
        (147, "sq_up_hot", squeezed_arrow("up", h)),
        (148, "sq_left_normal", squeezed_arrow("left", n)),
        (149, "sq_right_normal", squeezed_arrow("right", n)),
        (150, "sq_up_normal", squeezed_arrow("up", n)),
        (151, "sq_down_disabled", squeezed_arrow("down", d)),
        (152, "sq_left_disabled", squeezed_arrow("left", d)),
        (153, "sq_right_disabled", squeezed_arrow("right", d)),
        (154, "sq_up_disabled", squeezed_arrow("up", d)),
        (155, "sq_down_hot", squeezed_arrow("down", h)),
        (156, "sq_left_hot", squeezed_arrow("left", h)),
        (157, "sq_right_hot", squeezed_arrow("right", h)),
        (158, "sq_down_normal", squeezed_arrow("down", n)),
    ]


def bmp_bytes(rows):
    """24-bit bottom-up BI_RGB bitmap file."""
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        pixels += line
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + bytes(pixels)


# Program icon: white beamed quavers on a soft blue rounded tile.

TILE_TOP = (104, 160, 228)
TILE_BOTTOM = (52, 104, 184)
TILE_EDGE = (40, 84, 160)
NOTE = (255, 255, 255)


def icon_pixels(size):
    s = float(size)
    margin = max(1.0, s / 16.0)
    tile = rounded_box(margin, margin, s - margin, s - margin, s * 0.2)
    heads = [rotated_ellipse(s * 0.33, s * 0.71, s * 0.125, s * 0.09, -22),
             rotated_ellipse(s * 0.69, s * 0.63, s * 0.125, s * 0.09, -22)]
    # Stems snap to whole pixels so that they stay crisp at 16 pixels.
    stem_w = max(1.0, round(s * 0.07))
    right0, right1 = round(s * 0.445), round(s * 0.805)
    stems = [box(right0 - stem_w, s * 0.26, right0, s * 0.70), box(right1 - stem_w, s * 0.18, right1, s * 0.62)]
    beam_h = s * 0.13
    x0, x1 = right0 - stem_w, right1
    y0, y1 = s * 0.26, s * 0.18
    beam = triangle([(x0, y0), (x1, y1), (x1, y1 + beam_h), (x0, y0 + beam_h)])
    note = union(beam, *heads, *stems)

    pixels = []
    for py in range(size):
        row = []
        for px in range(size):
            a = coverage(tile, px, py)
            if a == 0.0:
                row.append((0, 0, 0, 0))
                continue
            colour = mix(TILE_TOP, TILE_BOTTOM, (py + 0.5) / s)
            edge = 1.0 - coverage(tile, px, py, inset=max(1.0, s / 32.0)) / a
            colour = mix(colour, TILE_EDGE, edge)
            colour = mix(colour, NOTE, coverage(note, px, py))
            row.append(colour + (int(round(a * 255)),))
        pixels.append(row)
    return pixels


def ico_bytes(sizes):
    images = []
    for size in sizes:
        pixels = icon_pixels(size)
        xor = bytearray()
        for row in reversed(pixels):
            for r, g, b, a in row:
                xor += bytes((b, g, r, a))
        mask_stride = ((size + 31) // 32) * 4
        mask = bytearray()
        for row in reversed(pixels):
            line = bytearray(mask_stride)
            for x, (_, _, _, a) in enumerate(row):
                if a == 0:
                    line[x // 8] |= 0x80 >> (x % 8)
            mask += line
        info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        images.append((size, info + bytes(xor) + bytes(mask)))

    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    return out


def write_if_changed(path, data):
    if os.path.exists(path):
        with open(path, "rb") as f:
            if f.read() == data:
                return False
    with open(path, "wb") as f:
        f.write(data)
    return True


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    res = os.path.join(root, "res")
    bitmaps = os.path.join(res, "bitmaps")
    os.makedirs(bitmaps, exist_ok=True)
    written = 0
    for _, name, rows in bitmap_table():
        written += write_if_changed(os.path.join(bitmaps, name + ".bmp"), bmp_bytes(rows))
    written += write_if_changed(os.path.join(res, "Melodeck.ico"), ico_bytes([16, 32, 48]))
    print("make_artwork: %d file(s) written" % written)


if __name__ == "__main__":
    main()
