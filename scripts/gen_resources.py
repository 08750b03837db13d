#!/usr/bin/env python3
"""Draws Lumetra's icon, cursors and toolbar pictures and writes them as .ico, .cur and .bmp files.

Every picture is a small vector drawing on a unit grid (16 units for toolbar buttons, 32 for
cursors, 64 for the icon). Shapes are filled by scanlines on a supersampled grid and averaged
down, so the same drawing is clean at every size; edges that lie on whole units stay crisp at
100% and 200%. Only the Python standard library is used, and the output is committed, so a build
never runs this script.

Usage: scripts/gen_resources.py [--preview DIR]   (writes into src/resources/)
"""

import argparse
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "src", "resources")


# ------------------------------------------------------------------------------------------------
# Rasteriser


def rgb(hex_text, alpha=255):
    v = int(hex_text.lstrip("#"), 16)
    return ((v >> 16) & 255, (v >> 8) & 255, v & 255, alpha)


class Canvas:
    """RGBA picture of `size` pixels drawn in a coordinate space of `units` units."""

    def __init__(self, size, units, samples=None):
        self.size = size
        self.units = units
        self.ss = samples or max(4, min(8, 128 // size))
        self.n = size * self.ss
        self.scale = self.n / units
        self.buf = bytearray(self.n * self.n * 4)

    # Paint: `paint` is a colour tuple or a function (x, y) -> colour in unit coordinates.
    def _spans(self, polys):
        """Yields (row, x0, x1) sample spans inside the polygons (nonzero winding)."""
        edges = []
        for poly in polys:
            pts = [(x * self.scale, y * self.scale) for x, y in poly]
            for i in range(len(pts)):
                (x0, y0), (x1, y1) = pts[i], pts[(i + 1) % len(pts)]
                if y0 == y1:
                    continue
                wind = 1 if y1 > y0 else -1
                if y0 > y1:
                    x0, y0, x1, y1 = x1, y1, x0, y0
                edges.append((y0, y1, x0, (x1 - x0) / (y1 - y0), wind))
        if not edges:
            return
        top = max(0, int(math.floor(min(e[0] for e in edges))))
        bottom = min(self.n, int(math.ceil(max(e[1] for e in edges))))
        for row in range(top, bottom):
            yc = row + 0.5
            hits = []
            for y0, y1, x0, slope, wind in edges:
                if y0 <= yc < y1:
                    hits.append((x0 + (yc - y0) * slope, wind))
            hits.sort()
            w = 0
            for i, (x, wind) in enumerate(hits):
                before = w
                w += wind
                if before == 0 and w != 0:
                    start = x
                elif before != 0 and w == 0:
                    a = max(0, int(math.ceil(start - 0.5)))
                    b = min(self.n, int(math.ceil(x - 0.5)))
                    if b > a:
                        yield row, a, b

    def fill(self, polys, paint):
        """Paints the union of the polygons once (so that translucent paint does not pile up
        where the pieces of a stroke overlap)."""
        if polys and isinstance(polys[0][0], (int, float)):
            polys = [polys]
        rows = {}
        for poly in polys:
            for row, a, b in self._spans([poly]):
                rows.setdefault(row, []).append((a, b))
        n, inv = self.n, 1.0 / self.scale
        for row, spans in rows.items():
            spans.sort()
            merged = [list(spans[0])]
            for a, b in spans[1:]:
                if a <= merged[-1][1]:
                    merged[-1][1] = max(merged[-1][1], b)
                else:
                    merged.append([a, b])
            for a, b in merged:
                base = (row * n + a) * 4
                for col in range(a, b):
                    self._put(base, paint((col + 0.5) * inv, (row + 0.5) * inv) if callable(paint) else paint)
                    base += 4

    def _put(self, i, c):
        r, g, b, a = c
        buf = self.buf
        if a >= 255:
            buf[i : i + 4] = bytes((r, g, b, 255))
            return
        da = buf[i + 3]
        oa = a + da * (255 - a) // 255
        if oa == 0:
            return
        for k, v in enumerate((r, g, b)):
            buf[i + k] = (v * a + buf[i + k] * da * (255 - a) // 255) // oa
        buf[i + 3] = oa

    def pixels(self):
        """Averages the samples: a list of rows of (r, g, b, a), top row first."""
        ss, n, buf = self.ss, self.n, self.buf
        out = []
        area = ss * ss
        for py in range(self.size):
            row = []
            for px in range(self.size):
                r = g = b = a = 0
                for sy in range(py * ss, py * ss + ss):
                    i = (sy * n + px * ss) * 4
                    for _ in range(ss):
                        sa = buf[i + 3]
                        r += buf[i] * sa
                        g += buf[i + 1] * sa
                        b += buf[i + 2] * sa
                        a += sa
                        i += 4
                if a == 0:
                    row.append((0, 0, 0, 0))
                else:
                    row.append((r // a, g // a, b // a, a // area))
            out.append(row)
        return out


# Shape helpers (unit coordinates)


def rect(x0, y0, x1, y1):
    return [(x0, y0), (x1, y0), (x1, y1), (x0, y1)]


def ellipse(cx, cy, rx, ry, steps=72):
    return [
        (cx + rx * math.cos(2 * math.pi * i / steps), cy + ry * math.sin(2 * math.pi * i / steps))
        for i in range(steps)
    ]


def round_rect(x0, y0, x1, y1, r, steps=10):
    pts = []
    for cx, cy, start in ((x1 - r, y0 + r, -90), (x1 - r, y1 - r, 0), (x0 + r, y1 - r, 90), (x0 + r, y0 + r, 180)):
        for i in range(steps + 1):
            t = math.radians(start + 90 * i / steps)
            pts.append((cx + r * math.cos(t), cy + r * math.sin(t)))
    return pts


def ring(cx, cy, r_out, r_in, a0, a1, steps=64):
    """Annulus sector between angles a0 and a1 (degrees, clockwise from east, y down)."""
    outer = []
    inner = []
    for i in range(steps + 1):
        t = math.radians(a0 + (a1 - a0) * i / steps)
        outer.append((cx + r_out * math.cos(t), cy + r_out * math.sin(t)))
        inner.append((cx + r_in * math.cos(t), cy + r_in * math.sin(t)))
    return outer + inner[::-1]


def stroke(points, width, cap=True):
    """Polygons covering a polyline of the given width (quads plus round joins)."""
    h = width / 2
    polys = []
    for (x0, y0), (x1, y1) in zip(points, points[1:]):
        dx, dy = x1 - x0, y1 - y0
        length = math.hypot(dx, dy) or 1
        nx, ny = -dy / length * h, dx / length * h
        polys.append([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)])
    joints = points if cap else points[1:-1]
    for x, y in joints:
        polys.append(ellipse(x, y, h, h, 24))
    return polys


def arc_arrow(c, cx, cy, radius, width, a0, a1, head_w, head_len, line, body, outline):
    """A curved arrow along a circle from angle a0 to a1 (degrees, clockwise, y down) with its
    head at a0 pointing away from the arc; drawn as an outline of `outline` units around `body`."""
    t = math.radians(a0)
    px, py = cx + radius * math.cos(t), cy + radius * math.sin(t)
    rx, ry = math.cos(t), math.sin(t)
    tx, ty = math.sin(t), -math.cos(t)  # tangent toward decreasing angles
    head = [
        (px + rx * head_w / 2, py + ry * head_w / 2),
        (px + tx * head_len, py + ty * head_len),
        (px - rx * head_w / 2, py - ry * head_w / 2),
    ]
    half = width / 2
    c.fill([ring(cx, cy, radius + half + outline, radius - half - outline, a0, a1)]
           + stroke(head + [head[0]], 2 * outline) + [head], line)
    c.fill([ring(cx, cy, radius + half, radius - half, a0 + 0.5, a1)], body)
    c.fill(head, body)


def translate(poly, dx, dy):
    return [(x + dx, y + dy) for x, y in poly]


def arrow_polygon(cx, cy, length, shaft, head, head_len, angle):
    """A solid arrow from (cx, cy) pointing `angle` degrees (0 = east, y down)."""
    pts = [
        (0, -shaft / 2),
        (length - head_len, -shaft / 2),
        (length - head_len, -head / 2),
        (length, 0),
        (length - head_len, head / 2),
        (length - head_len, shaft / 2),
        (0, shaft / 2),
    ]
    t = math.radians(angle)
    c, s = math.cos(t), math.sin(t)
    return [(cx + x * c - y * s, cy + x * s + y * c) for x, y in pts]


def outlined(canvas, poly, fill, line, width):
    """Fills a polygon and draws its outline (inside and outside the edge by width / 2)."""
    canvas.fill(poly, fill)
    canvas.fill(stroke(poly + [poly[0]], width, cap=True), line)


def vertical_gradient(y0, y1, top, bottom):
    def paint(x, y):
        t = min(1.0, max(0.0, (y - y0) / (y1 - y0)))
        return tuple(int(round(top[k] + (bottom[k] - top[k]) * t)) for k in range(3)) + (255,)

    return paint


# ------------------------------------------------------------------------------------------------
# Pictures

INK = rgb("#1e2230")
WHITE = rgb("#ffffff")
PAPER = rgb("#fbfbf6")
RED = rgb("#e0342c")
GREEN = rgb("#2fa84a")
BLUE = rgb("#2f6fe0")


def wave_points(x0, x1, cy, amp, cycles, steps=48):
    return [
        (x0 + (x1 - x0) * i / steps, cy - amp * math.sin(2 * math.pi * cycles * i / steps))
        for i in range(steps + 1)
    ]


def draw_icon(c):
    """64-unit icon: a night-blue canvas with a glowing sine wave from red (left) to green."""
    bg = vertical_gradient(4, 60, (44, 70, 160), (14, 20, 64))
    c.fill(round_rect(3, 3, 61, 61, 11), rgb("#0b1030"))
    c.fill(round_rect(5, 5, 59, 59, 9), bg)
    # Faint pitch rows: the picture is a stack of oscillators.
    for i, y in enumerate((15, 23, 31, 39, 47)):
        c.fill(rect(10, y, 54, y + 1.2), (120, 150, 255, 46))
    # Column bars in the three channel colours, like a spectrogram.
    for x, h, col in ((12, 14, RED), (20, 22, RED), (40, 18, GREEN), (48, 10, GREEN)):
        c.fill(rect(x, 52 - h, x + 4, 52), col[:3] + (110,))
    c.fill(rect(28, 40, 36, 52), BLUE[:3] + (110,))

    def wave_paint(x, y):
        t = min(1.0, max(0.0, (x - 8) / 48))
        r = int(255 + (80 - 255) * t)
        g = int(90 + (235 - 90) * t)
        b = int(60 + (90 - 60) * t)
        return (r, g, b, 255)

    pts = wave_points(11, 53, 32, 13, 1.5, 96)
    c.fill(stroke(pts, 9.0), (255, 255, 255, 60))  # glow
    c.fill(stroke(pts, 5.0), wave_paint)
    c.fill(stroke(pts, 1.6), (255, 255, 240, 200))


def draw_icon_small(c):
    """16-unit icon for 16 x 16: fewer details, a thicker wave."""
    bg = vertical_gradient(1, 15, (44, 70, 160), (14, 20, 64))
    c.fill(round_rect(0.5, 0.5, 15.5, 15.5, 3), rgb("#0b1030"))
    c.fill(round_rect(1.5, 1.5, 14.5, 14.5, 2), bg)

    def wave_paint(x, y):
        t = min(1.0, max(0.0, (x - 2) / 12))
        return (int(255 + (80 - 255) * t), int(90 + (235 - 90) * t), int(60 + (90 - 60) * t), 255)

    c.fill(stroke(wave_points(2.5, 13.5, 8, 3.6, 1.5, 48), 2.2), wave_paint)


def tb_new_image(c):
    page = [(3.5, 1.5), (9.5, 1.5), (12.5, 4.5), (12.5, 14.5), (3.5, 14.5)]
    outlined(c, page, PAPER, INK, 1.0)
    c.fill([(9.5, 1.5), (9.5, 4.5), (12.5, 4.5)], rgb("#d8d8d0"))
    c.fill(stroke([(9.5, 1.5), (9.5, 4.5), (12.5, 4.5)], 1.0), INK)
    # A small sparkle: something new.
    c.fill([(8, 6.5), (9, 9.5), (11.5, 10.5), (9, 11.5), (8, 13.5), (7, 11.5), (4.5, 10.5), (7, 9.5)], rgb("#e8a800"))


def tb_brush(c):
    # Handle from the top right down to the ferrule.
    c.fill(stroke([(14, 2), (9.2, 6.8)], 3.0), INK)
    c.fill(stroke([(14, 2), (9.2, 6.8)], 1.6), rgb("#c8782a"))
    c.fill([(7.2, 6.3), (9.7, 8.8), (8.4, 10.1), (5.9, 7.6)], rgb("#9aa3ad"))
    c.fill(stroke([(7.2, 6.3), (9.7, 8.8), (8.4, 10.1), (5.9, 7.6), (7.2, 6.3)], 0.8), INK)
    tip = [(5.9, 7.6), (8.4, 10.1), (6.5, 12.6), (2, 14), (3.4, 9.5)]
    outlined(c, tip, RED, INK, 0.9)


def tb_move(c):
    for angle in (0, 90, 180, 270):
        c.fill(arrow_polygon(8, 8, 7.6, 3.4, 7.2, 3.6, angle), INK)
    for angle in (0, 90, 180, 270):
        c.fill(arrow_polygon(8, 8, 6.4, 1.4, 5.0, 2.6, angle), rgb("#3b78d8"))


def tb_zoom_rotate(c):
    arc_arrow(c, 8, 8, 5.4, 1.6, -70, 200, 5.6, 3.2, INK, rgb("#2f9a8a"), 0.7)
    # A plus in the middle: zoom.
    c.fill([rect(7, 5, 9, 11), rect(5, 7, 11, 9)], INK)


def tb_skew_flip(c):
    quad = [(5.5, 3.5), (14.5, 3.5), (10.5, 12.5), (1.5, 12.5)]
    outlined(c, quad, rgb("#a8c8f0"), INK, 1.0)
    c.fill(rect(8, 1, 9, 15), rgb("#c03030"))
    for y in (3, 7, 11):
        c.fill(rect(8, y, 9, y + 2), WHITE)


def tb_brighter(c):
    sun = rgb("#f7c21a")
    for i in range(8):
        a = i * 45
        c.fill(arrow_polygon(8, 8, 7.6, 1.6, 1.6, 0.1, a), rgb("#c07a00"))
    c.fill(ellipse(8, 8, 4.6, 4.6), rgb("#c07a00"))
    c.fill(ellipse(8, 8, 3.6, 3.6), sun)
    c.fill(ellipse(7, 7, 1.3, 1.3), (255, 250, 220, 255))


def _render_bands(c, bands):
    c.fill(rect(1, 2, 15, 14), INK)
    h = 10 / len(bands)
    for i, col in enumerate(bands):
        c.fill(rect(2, 3 + i * h, 14, 3 + (i + 1) * h), col)
    c.fill(stroke(wave_points(2.5, 13.5, 8, 3.2, 1.0, 32), 2.4), INK)
    c.fill(stroke(wave_points(2.5, 13.5, 8, 3.2, 1.0, 32), 1.1), WHITE)


def tb_render(c):
    _render_bands(c, [RED, GREEN, BLUE])


def tb_render_without_blue(c):
    _render_bands(c, [RED, GREEN, rgb("#b8b8b8")])


def tb_play(c):
    tri = [(4.5, 2.5), (13.5, 8), (4.5, 13.5)]
    outlined(c, tri, rgb("#2fb44a"), INK, 1.0)


def tb_stop(c):
    outlined(c, rect(3.5, 3.5, 12.5, 12.5), rgb("#d8453a"), INK, 1.0)


TOOLBAR = {
    101: tb_new_image,
    256: tb_brighter,
    300: tb_render,
    302: tb_render_without_blue,
    320: tb_play,
    322: tb_stop,
    323: tb_move,
    324: tb_zoom_rotate,
    326: tb_skew_flip,
    329: tb_brush,
}


# Cursors: 32 units, black outline, white body, a coloured accent.

CUR_LINE = rgb("#000000")
CUR_BODY = rgb("#ffffff")


def cur_brush(c):
    c.fill(stroke([(29, 3), (19, 13)], 6.0), CUR_LINE)
    c.fill(stroke([(29, 3), (19, 13)], 3.4), rgb("#c8782a"))
    ferrule = [(15.5, 12.5), (19.5, 16.5), (17.5, 18.5), (13.5, 14.5)]
    outlined(c, ferrule, rgb("#c0c6cc"), CUR_LINE, 1.4)
    tip = [(13.5, 14.5), (17.5, 18.5), (13.5, 24), (1, 31), (8, 18.5)]
    outlined(c, tip, rgb("#e0342c"), CUR_LINE, 1.4)


def cur_move(c):
    for angle in (0, 90, 180, 270):
        c.fill(arrow_polygon(16, 16, 15, 5.6, 12.0, 6.0, angle), CUR_LINE)
    for angle in (0, 90, 180, 270):
        c.fill(arrow_polygon(16, 16, 13, 2.4, 8.6, 4.6, angle), CUR_BODY)
    c.fill(rect(13.5, 13.5, 18.5, 18.5), CUR_LINE)
    c.fill(rect(14.5, 14.5, 17.5, 17.5), rgb("#3b78d8"))


def cur_zoom_rotate(c):
    arc_arrow(c, 16, 17, 11, 3.0, -70, 200, 11, 6.5, CUR_LINE, CUR_BODY, 1.2)
    c.fill([rect(14, 11, 18, 23), rect(10, 15, 22, 19)], CUR_LINE)
    c.fill([rect(15, 12, 17, 22), rect(11, 16, 21, 18)], rgb("#2f9a8a"))


def cur_skew_flip(c):
    quad = [(11, 6), (28, 6), (21, 26), (4, 26)]
    outlined(c, quad, CUR_BODY, CUR_LINE, 2.0)
    c.fill(rect(15, 1, 17, 31), CUR_LINE)
    for y in (3, 11, 19, 27):
        c.fill(rect(15, y, 17, y + 3), rgb("#e04040"))
    c.fill(rect(14, 14, 18, 18), CUR_LINE)


def cur_select(c):
    # A crosshair with a gap in the middle, and a small dotted frame toward the lower right.
    for poly in (rect(15, 2, 17, 13), rect(15, 19, 17, 30), rect(2, 15, 13, 17), rect(19, 15, 30, 17)):
        c.fill(stroke(poly + [poly[0]], 2.0), CUR_BODY)
    for poly in (rect(15, 2, 17, 13), rect(15, 19, 17, 30), rect(2, 15, 13, 17), rect(19, 15, 30, 17)):
        c.fill(poly, CUR_LINE)
    c.fill(rect(15.5, 15.5, 16.5, 16.5), CUR_LINE)
    # Dotted frame: the selection being drawn.
    frame = rect(21.5, 21.5, 30.5, 30.5)
    c.fill(stroke(frame + [frame[0]], 1.0, cap=False), CUR_BODY)
    for i in range(3):
        x = 22 + 3 * i
        c.fill([rect(x, 21, x + 1.5, 22), rect(x, 30, x + 1.5, 31), rect(21, x, 22, x + 1.5), rect(30, x, 31, x + 1.5)], CUR_LINE)


CURSORS = {
    # id: (drawing, hot spot in 32-unit coordinates)
    329: (cur_brush, (1, 31)),
    323: (cur_move, (16, 16)),
    324: (cur_zoom_rotate, (16, 16)),
    326: (cur_skew_flip, (16, 16)),
    330: (cur_select, (16, 16)),
}


# ------------------------------------------------------------------------------------------------
# File writers


def draw(func, size, units):
    c = Canvas(size, units)
    func(c)
    return c.pixels()


def dib_32(pixels, mask_alpha=128):
    """BITMAPINFOHEADER (height doubled) + BGRA rows bottom-up + AND mask, for .ico and .cur."""
    size = len(pixels)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    for row in reversed(pixels):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask = bytearray()
    stride = ((size + 31) // 32) * 4
    for row in reversed(pixels):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < mask_alpha:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + xor + mask


def png(pixels):
    size = len(pixels)
    raw = bytearray()
    for row in pixels:
        raw.append(0)
        for p in row:
            raw += bytes(p)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    ihdr = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")


def icon_file(images, kind=1, hotspots=None):
    """images: list of (size, bytes). kind 1 = icon, 2 = cursor (hotspots per image)."""
    out = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    body = b""
    for i, (size, data) in enumerate(images):
        dim = 0 if size >= 256 else size
        if kind == 1:
            a, b = 1, 32
        else:
            a, b = hotspots[i]
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, a, b, len(data), offset + len(body))
        body += data
    return out + body


def bmp_24(pixels, key=(255, 0, 255), face=(236, 236, 236), cutoff=96):
    """24-bit BMP; transparent pixels become the key colour, partly covered ones are blended
    over the toolbar's face colour (masked toolbars have no alpha)."""
    size = len(pixels)
    stride = (size * 3 + 3) // 4 * 4
    data = bytearray()
    for row in reversed(pixels):
        line = bytearray()
        for r, g, b, a in row:
            if a < cutoff:
                line += bytes((key[2], key[1], key[0]))
            else:
                f = a / 255
                line += bytes(
                    int(round(c * f + bg * (1 - f))) for c, bg in ((b, face[2]), (g, face[1]), (r, face[0]))
                )
        line += bytes(stride - len(line))
        data += line
    info = struct.pack("<IiiHHIIiiII", 40, size, size, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 14 + 40)
    return head + info + data


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--preview", help="also write PNG previews into this folder")
    args = parser.parse_args()

    previews = {}

    icon_images = []
    for size in (16, 32, 48, 256):
        pixels = draw(draw_icon_small, 16, 16) if size == 16 else draw(draw_icon, size, 64)
        previews[f"icon_{size}"] = pixels
        icon_images.append((size, png(pixels) if size >= 256 else dib_32(pixels)))
    write(os.path.join(OUT, "icons", "lumetra.ico"), icon_file(icon_images))

    for ident, (func, (hx, hy)) in CURSORS.items():
        images, spots = [], []
        for size in (32, 48, 64):
            pixels = draw(func, size, 32)
            previews[f"cursor_{ident}_{size}"] = pixels
            images.append((size, dib_32(pixels)))
            f = size / 32
            spots.append((min(size - 1, int(hx * f)), min(size - 1, int(hy * f))))
        write(os.path.join(OUT, "cursors", f"cursor_{ident}.cur"), icon_file(images, 2, spots))

    for ident, func in TOOLBAR.items():
        for size in (16, 32):
            pixels = draw(func, size, 16)
            previews[f"toolbar_{ident}_{size}"] = pixels
            write(os.path.join(OUT, "toolbar", f"toolbar_{ident}_{size}.bmp"), bmp_24(pixels))

    if args.preview:
        for name, pixels in previews.items():
            write(os.path.join(args.preview, name + ".png"), png(pixels))


if __name__ == "__main__":
    main()
