#!/usr/bin/env python3
"""Draws the Velk Update Wizard's artwork and writes it into resources/art/.

Run from anywhere, with any Python 3.8 or later and no further modules:

    python3 tools/artwork/make_artwork.py            # writes resources/art/*
    python3 tools/artwork/make_artwork.py --preview  # also writes PNG previews to build/artwork-preview/

The generated files are committed, so the build itself never needs Python. Every picture is drawn
from signed-distance shapes; pixels on an edge are supersampled (8 x 8 samples) for anti-aliasing,
pixels well inside or outside a shape are decided from the distance alone. The BMP, ICO, CUR, ANI
and PNG writers are at the end of the file.

Every picture is drawn afresh for each screen scaling rather than stretched: the wizard's bitmaps
and busy animation at 100, 150 and 200 %, the icons at each size that a scaled screen asks for.

The identity: a round badge in deep blue to teal with a white, two-tone "V" (the Velk emblem);
the update motif is a pair of green circular arrows around it; status icons put a small overlay
(green check, red warning triangle) at the badge's lower right.
"""

import math
import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
ART_DIR = os.path.join(ROOT, "resources", "art")
PREVIEW_DIR = os.path.join(ROOT, "build", "artwork-preview")

SUPERSAMPLE = 8


# ----------------------------------------------------------------------------------------------
# Colours and paints. A paint maps a pixel centre to a straight (not premultiplied) RGBA colour.


def rgb(hex_text, alpha=1.0):
    v = int(hex_text.lstrip("#"), 16)
    return ((v >> 16 & 255) / 255.0, (v >> 8 & 255) / 255.0, (v & 255) / 255.0, alpha)


def mix(c0, c1, t):
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


def stops_at(stops, t):
    t = min(1.0, max(0.0, t))
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        if t <= t1:
            return mix(c0, c1, 0.0 if t1 == t0 else (t - t0) / (t1 - t0))
    return stops[-1][1]


def solid(colour):
    return lambda x, y: colour


def linear(x0, y0, x1, y1, stops):
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy or 1.0
    return lambda x, y: stops_at(stops, ((x - x0) * dx + (y - y0) * dy) / length2)


def radial(cx, cy, r, stops):
    return lambda x, y: stops_at(stops, math.hypot(x - cx, y - cy) / r)


# ----------------------------------------------------------------------------------------------
# Shapes: objects with sdf(x, y) (negative inside, in pixels) and a bounding box. Combinations use
# min and max, which never overstate a distance, so the "clearly inside/outside" test stays safe.


class Shape:
    def union(self, other):
        return Combined(min, self, other)

    def intersect(self, other):
        return Combined(max, self, other)

    def minus(self, other):
        return Minus(self, other)

    def grow(self, by):
        return Grown(self, by)

    def moved(self, dx, dy):
        return Moved(self, dx, dy)


class Circle(Shape):
    def __init__(self, cx, cy, r):
        self.cx, self.cy, self.r = cx, cy, r
        self.box = (cx - r, cy - r, cx + r, cy + r)

    def sdf(self, x, y):
        return math.hypot(x - self.cx, y - self.cy) - self.r


class Ring(Shape):
    """A circle's outline: centre-line radius r, width w."""

    def __init__(self, cx, cy, r, w):
        self.cx, self.cy, self.r, self.hw = cx, cy, r, w / 2.0
        e = r + w / 2.0
        self.box = (cx - e, cy - e, cx + e, cy + e)

    def sdf(self, x, y):
        return abs(math.hypot(x - self.cx, y - self.cy) - self.r) - self.hw


class Polygon(Shape):
    def __init__(self, points):
        self.pts = list(points)
        xs = [p[0] for p in self.pts]
        ys = [p[1] for p in self.pts]
        self.box = (min(xs), min(ys), max(xs), max(ys))

    def sdf(self, x, y):
        pts = self.pts
        best = float("inf")
        inside = False
        j = len(pts) - 1
        for i in range(len(pts)):
            xi, yi = pts[i]
            xj, yj = pts[j]
            ex, ey = xj - xi, yj - yi
            wx, wy = x - xi, y - yi
            t = (wx * ex + wy * ey) / (ex * ex + ey * ey)
            t = 0.0 if t < 0.0 else (1.0 if t > 1.0 else t)
            d = (wx - ex * t) ** 2 + (wy - ey * t) ** 2
            if d < best:
                best = d
            if (yi > y) != (yj > y) and x < xi + (y - yi) * ex / ey:
                inside = not inside
            j = i
        d = math.sqrt(best)
        return -d if inside else d


class Capsule(Shape):
    """A line segment stroked with round caps."""

    def __init__(self, x0, y0, x1, y1, w):
        self.x0, self.y0, self.ex, self.ey, self.hw = x0, y0, x1 - x0, y1 - y0, w / 2.0
        self.l2 = self.ex * self.ex + self.ey * self.ey or 1e-9
        h = w / 2.0
        self.box = (min(x0, x1) - h, min(y0, y1) - h, max(x0, x1) + h, max(y0, y1) + h)

    def sdf(self, x, y):
        wx, wy = x - self.x0, y - self.y0
        t = (wx * self.ex + wy * self.ey) / self.l2
        t = 0.0 if t < 0.0 else (1.0 if t > 1.0 else t)
        return math.hypot(wx - self.ex * t, wy - self.ey * t) - self.hw


class ArcStroke(Shape):
    """Part of a ring from angle a0 to a1 (degrees, clockwise on screen), butt ends."""

    def __init__(self, cx, cy, r, w, a0, a1, round_caps=False):
        self.cx, self.cy, self.r, self.hw = cx, cy, r, w / 2.0
        self.a0, self.span = math.radians(a0), math.radians(a1 - a0)
        self.round_caps = round_caps
        e = r + w / 2.0
        self.box = (cx - e, cy - e, cx + e, cy + e)

    def sdf(self, x, y):
        px, py = x - self.cx, y - self.cy
        a = (math.atan2(py, px) - self.a0) % (2 * math.pi)
        if a <= self.span:
            return abs(math.hypot(px, py) - self.r) - self.hw
        best = float("inf")
        for end in (self.a0, self.a0 + self.span):
            ex, ey = math.cos(end), math.sin(end)
            # Distance to the end cap: a segment across the stroke, or a round cap.
            if self.round_caps:
                d = math.hypot(px - ex * self.r, py - ey * self.r) - self.hw
            else:
                along = px * ex + py * ey
                across = abs(-px * ey + py * ex)
                radial_off = max(abs(along - self.r) - self.hw, 0.0)
                d = math.hypot(radial_off, across)
            best = min(best, d)
        return best


class Combined(Shape):
    def __init__(self, op, a, b):
        self.op, self.a, self.b = op, a, b
        if op is min:
            self.box = (min(a.box[0], b.box[0]), min(a.box[1], b.box[1]),
                        max(a.box[2], b.box[2]), max(a.box[3], b.box[3]))
        else:
            self.box = (max(a.box[0], b.box[0]), max(a.box[1], b.box[1]),
                        min(a.box[2], b.box[2]), min(a.box[3], b.box[3]))

    def sdf(self, x, y):
        return self.op(self.a.sdf(x, y), self.b.sdf(x, y))


class Union(Shape):
    def __init__(self, shapes):
        self.shapes = list(shapes)
        self.box = (min(s.box[0] for s in self.shapes), min(s.box[1] for s in self.shapes),
                    max(s.box[2] for s in self.shapes), max(s.box[3] for s in self.shapes))

    def sdf(self, x, y):
        return min(s.sdf(x, y) for s in self.shapes)


class Minus(Shape):
    def __init__(self, a, b):
        self.a, self.b, self.box = a, b, a.box

    def sdf(self, x, y):
        return max(self.a.sdf(x, y), -self.b.sdf(x, y))


class Grown(Shape):
    def __init__(self, s, by):
        self.s, self.by = s, by
        self.box = (s.box[0] - by, s.box[1] - by, s.box[2] + by, s.box[3] + by)

    def sdf(self, x, y):
        return self.s.sdf(x, y) - self.by


class Moved(Shape):
    def __init__(self, s, dx, dy):
        self.s, self.dx, self.dy = s, dx, dy
        self.box = (s.box[0] + dx, s.box[1] + dy, s.box[2] + dx, s.box[3] + dy)

    def sdf(self, x, y):
        return self.s.sdf(x - self.dx, y - self.dy)


# ----------------------------------------------------------------------------------------------
# The canvas: premultiplied RGBA floats, composited with "over".


class Canvas:
    def __init__(self, w, h, background=None):
        self.w, self.h = w, h
        n = w * h
        if background is None:
            self.r, self.g, self.b, self.a = [0.0] * n, [0.0] * n, [0.0] * n, [0.0] * n
        else:
            cr, cg, cb, ca = background
            self.r, self.g, self.b, self.a = [cr * ca] * n, [cg * ca] * n, [cb * ca] * n, [ca] * n

    def blend(self, i, colour, coverage):
        cr, cg, cb, ca = colour
        a = ca * coverage
        if a <= 0.0:
            return
        k = 1.0 - a
        self.r[i] = cr * a + self.r[i] * k
        self.g[i] = cg * a + self.g[i] * k
        self.b[i] = cb * a + self.b[i] * k
        self.a[i] = a + self.a[i] * k

    def fill(self, shape, paint, opacity=1.0, soft=0.0):
        """Paints `shape`; with `soft` > 0 its edge fades over that many pixels (shadows, glows)."""
        x0 = max(0, int(math.floor(shape.box[0] - soft - 1)))
        y0 = max(0, int(math.floor(shape.box[1] - soft - 1)))
        x1 = min(self.w, int(math.ceil(shape.box[2] + soft + 1)))
        y1 = min(self.h, int(math.ceil(shape.box[3] + soft + 1)))
        n = SUPERSAMPLE
        offsets = [(k + 0.5) / n for k in range(n)]
        for py in range(y0, y1):
            for px in range(x0, x1):
                cx, cy = px + 0.5, py + 0.5
                d = shape.sdf(cx, cy)
                if soft > 0.0:
                    t = min(1.0, max(0.0, 0.5 - d / (2.0 * soft)))
                    cover = t * t * (3.0 - 2.0 * t)
                elif d <= -0.75:
                    cover = 1.0
                elif d >= 0.75:
                    continue
                else:
                    hits = 0
                    for oy in offsets:
                        for ox in offsets:
                            if shape.sdf(px + ox, py + oy) < 0.0:
                                hits += 1
                    cover = hits / float(n * n)
                if cover > 0.0:
                    self.blend(py * self.w + px, paint(cx, cy), cover * opacity)

    def draw(self, other, dx=0, dy=0):
        """Composites another canvas over this one at an integer offset."""
        for y in range(other.h):
            ty = y + dy
            if not 0 <= ty < self.h:
                continue
            for x in range(other.w):
                tx = x + dx
                if not 0 <= tx < self.w:
                    continue
                j = y * other.w + x
                a = other.a[j]
                if a <= 0.0:
                    continue
                i = ty * self.w + tx
                k = 1.0 - a
                self.r[i] = other.r[j] + self.r[i] * k
                self.g[i] = other.g[j] + self.g[i] * k
                self.b[i] = other.b[j] + self.b[i] * k
                self.a[i] = a + self.a[i] * k

    def rgba8(self):
        """Straight-alpha bytes per pixel, top row first."""
        out = []
        for i in range(self.w * self.h):
            a = self.a[i]
            if a <= 1e-6:
                out.append((0, 0, 0, 0))
                continue
            out.append((to8(self.r[i] / a), to8(self.g[i] / a), to8(self.b[i] / a), to8(a)))
        return out


def to8(v):
    return max(0, min(255, int(round(v * 255.0))))


# ----------------------------------------------------------------------------------------------
# The palette.

NAVY = rgb("#0A2657")
DEEP_BLUE = rgb("#0E4A9E")
BLUE = rgb("#1670C0")
TEAL = rgb("#1FA2C4")
LIGHT_TEAL = rgb("#55D2DE")
WHITE = rgb("#FFFFFF")
V_SHADE = rgb("#C4E6F2")
GREEN_LIGHT = rgb("#7ED957")
GREEN = rgb("#34A93A")
GREEN_DARK = rgb("#17681F")
RED_LIGHT = rgb("#F26B5B")
RED = rgb("#D2281B")
RED_DARK = rgb("#7C1009")
BLACK = rgb("#000000")


def with_alpha(c, a):
    return (c[0], c[1], c[2], a)


# ----------------------------------------------------------------------------------------------
# The emblem: the round badge with the "V".


def v_shape(cx, cy, r):
    """The V as one polygon and its right arm (drawn shaded over it), relative to the badge."""
    top, inner_y, bottom = cy - 0.42 * r, cy + 0.10 * r, cy + 0.54 * r
    outer, inner = 0.58 * r, 0.25 * r
    whole = Polygon([(cx - outer, top), (cx - inner, top), (cx, inner_y), (cx + inner, top),
                     (cx + outer, top), (cx, bottom)])
    right = Polygon([(cx, inner_y), (cx + inner, top), (cx + outer, top), (cx, bottom)])
    return whole, right


def draw_badge(c, cx, cy, r, shadow=True):
    """The Velk emblem centred at (cx, cy) with radius r (pixels)."""
    small = r < 9
    rim = max(0.9, r * 0.055)
    if shadow and not small:
        c.fill(Circle(cx, cy + r * 0.07, r * 0.98), solid(with_alpha(BLACK, 0.35)),
               soft=max(1.0, r * 0.10))
    c.fill(Circle(cx, cy, r), solid(NAVY))
    body = Circle(cx, cy, r - rim)
    c.fill(body, linear(cx - r * 0.55, cy - r, cx + r * 0.45, cy + r,
                        [(0.0, LIGHT_TEAL), (0.30, TEAL), (0.65, BLUE), (1.0, DEEP_BLUE)]))
    # Gloss: the top of the body, cut by a larger circle that dips to just above the centre.
    gloss = Circle(cx, cy, r - rim - max(0.6, r * 0.05)).minus(Circle(cx, cy + r * 1.30, r * 1.55))
    c.fill(gloss, linear(0, cy - r, 0, cy - r * 0.05,
                         [(0.0, with_alpha(WHITE, 0.50 if not small else 0.35)),
                          (1.0, with_alpha(WHITE, 0.04))]))
    if not small:
        # A faint light rim at the bottom, as if lit from behind.
        c.fill(Ring(cx, cy, r - rim - r * 0.04, r * 0.05).intersect(
            Circle(cx, cy + r * 0.9, r * 0.75)), solid(with_alpha(LIGHT_TEAL, 0.45)))
    whole, right = v_shape(cx, cy, r)
    if not small:
        c.fill(whole.moved(0, r * 0.05), solid(with_alpha(NAVY, 0.45)), soft=max(0.8, r * 0.05))
    c.fill(whole, solid(WHITE))
    c.fill(right, solid(V_SHADE))


# ----------------------------------------------------------------------------------------------
# The update motif: two green arrows chasing each other round a circle.


def refresh_arrows(cx, cy, r, w, start=-60.0, gap=20.0, head=34.0, head_w=2.1):
    """Two arrows on a circle of radius r (stroke width w), clockwise, as one shape."""
    parts = []
    for k in range(2):
        a0 = start + 180.0 * k
        a_head = a0 + 180.0 - gap - head
        a_tip = a0 + 180.0 - gap
        parts.append(ArcStroke(cx, cy, r, w, a0, a_head + 1.0))
        base = math.radians(a_head)
        tip = math.radians(a_tip)
        hw = w * head_w / 2.0
        ux, uy = math.cos(base), math.sin(base)
        parts.append(Polygon([(cx + ux * (r - hw), cy + uy * (r - hw)),
                              (cx + ux * (r + hw), cy + uy * (r + hw)),
                              (cx + math.cos(tip) * r, cy + math.sin(tip) * r)]))
    return Union(parts)


def draw_arrows(c, shape, outline, cx, cy, r):
    c.fill(shape.grow(outline), solid(GREEN_DARK))
    c.fill(shape, linear(cx - r, cy - r, cx + r, cy + r,
                         [(0.0, GREEN_LIGHT), (0.55, GREEN), (1.0, rgb("#238B2B"))]))


def draw_program_art(c, x, y, size, rotation=0.0):
    """The emblem inside its update arrows, filling the square (x, y, size)."""
    cx, cy = x + size / 2.0, y + size / 2.0
    if size <= 16:
        # Arrows of one or two pixels turn to mush; at this size the emblem stands alone.
        draw_badge(c, cx, cy, size / 2.0 - 0.5)
        return
    if size <= 32:
        ring_r, ring_w, outline, badge_r = size * 0.405, size * 0.08, 0.7, size * 0.305
    else:
        ring_r, ring_w, outline, badge_r = size * 0.40, size * 0.08, size * 0.018, size * 0.305
    arrows = refresh_arrows(cx, cy, ring_r, ring_w, start=-60.0 + rotation)
    if size > 32:
        c.fill(arrows.moved(0, size * 0.02), solid(with_alpha(BLACK, 0.30)), soft=size * 0.03)
    draw_arrows(c, arrows, outline, cx, cy, ring_r)
    draw_badge(c, cx, cy, badge_r)


# ----------------------------------------------------------------------------------------------
# Status overlays.


def check_mark(cx, cy, r, w):
    """A check mark inside a disc of radius r centred at (cx, cy)."""
    a = (cx - 0.50 * r, cy + 0.02 * r)
    b = (cx - 0.14 * r, cy + 0.40 * r)
    e = (cx + 0.52 * r, cy - 0.36 * r)
    return Capsule(a[0], a[1], b[0], b[1], w).union(Capsule(b[0], b[1], e[0], e[1], w))


def draw_success_overlay(c, cx, cy, r, border):
    c.fill(Circle(cx, cy, r + border), solid(WHITE))
    c.fill(Circle(cx, cy, r), solid(GREEN_DARK))
    c.fill(Circle(cx, cy, r - max(0.7, r * 0.1)),
           linear(cx, cy - r, cx, cy + r, [(0.0, GREEN_LIGHT), (1.0, GREEN)]))
    c.fill(check_mark(cx, cy, r, max(1.45, r * 0.30)), solid(WHITE))


def triangle_points(cx, cy, side):
    h = side * math.sqrt(3) / 2.0
    return [(cx, cy - h * 0.62), (cx + side / 2.0, cy + h * 0.38), (cx - side / 2.0, cy + h * 0.38)]


def draw_failure_overlay(c, cx, cy, side, border):
    corner = side * 0.10
    tri = Polygon(triangle_points(cx, cy, side - 2 * corner * 1.7)).grow(corner)
    c.fill(tri.grow(border), solid(WHITE))
    c.fill(tri, solid(RED_DARK))
    h = side * math.sqrt(3) / 2.0
    c.fill(tri.grow(-max(0.7, side * 0.06)),
           linear(cx, cy - h * 0.6, cx, cy + h * 0.4, [(0.0, RED_LIGHT), (1.0, RED)]))
    w = side * 0.12
    c.fill(Capsule(cx, cy - h * 0.28, cx, cy + h * 0.03, w), solid(WHITE))
    c.fill(Circle(cx, cy + h * 0.20, w * 0.62), solid(WHITE))


def stamp(c, rows, x0, y0, colour):
    """Sets the pixels marked "X" in `rows`, for marks that must stay crisp at 16 pixels."""
    for dy, line in enumerate(rows):
        for dx, ch in enumerate(line):
            if ch == "X":
                c.blend((y0 + dy) * c.w + x0 + dx, colour, 1.0)


CHECK_16 = [
    ".....X",
    "....XX",
    "X..XX.",
    "XXXX..",
    ".XX...",
]

CROSS_16 = [
    "XX....XX",
    "XXX..XXX",
    ".XXXXXX.",
    "..XXXX..",
    "..XXXX..",
    ".XXXXXX.",
    "XXX..XXX",
    "XX....XX",
]


def draw_success_16(c):
    """The 16-pixel check overlay, laid on whole pixels: a disc over pixels 8 to 15 and a check
    mark on 45-degree pixel diagonals."""
    c.fill(Circle(12.0, 12.0, 5.0), solid(WHITE))
    c.fill(Circle(12.0, 12.0, 4.0), solid(GREEN_DARK))
    c.fill(Circle(12.0, 12.0, 3.2), linear(12, 8, 12, 16, [(0.0, GREEN_LIGHT), (1.0, GREEN)]))
    stamp(c, CHECK_16, 9, 9, WHITE)


def draw_failure_16(c):
    """The 16-pixel warning overlay: a triangle over columns 7 to 15 with a one-pixel mark."""
    tri = Polygon([(11.5, 6.9), (15.9, 15.7), (7.1, 15.7)])
    c.fill(tri.grow(1.0), solid(WHITE))
    c.fill(tri.grow(0.25), solid(RED_DARK))
    c.fill(tri.grow(-0.75), linear(11.5, 7, 11.5, 16, [(0.0, RED_LIGHT), (1.0, RED)]))
    c.fill(Polygon([(11, 9.6), (12, 9.6), (12, 12.9), (11, 12.9)]), solid(WHITE))
    c.fill(Polygon([(11, 13.8), (12, 13.8), (12, 14.9), (11, 14.9)]), solid(WHITE))


def draw_status_icon(size, kind):
    c = Canvas(size, size)
    if size <= 16:
        draw_badge(c, 6.5, 6.5, 6.5)
        if kind == "success":
            draw_success_16(c)
        else:
            draw_failure_16(c)
    else:
        s = size / 32.0
        draw_badge(c, 13.5 * s, 13.5 * s, 12.8 * s)
        if kind == "success":
            draw_success_overlay(c, 23.5 * s, 23.5 * s, 7.6 * s, 1.4 * s)
        else:
            draw_failure_overlay(c, 23.5 * s, 22.6 * s, 16.5 * s, 1.4 * s)
    return c


def draw_error_icon(size):
    """A red stop disc with a white cross."""
    c = Canvas(size, size)
    cx = cy = size / 2.0
    r = size / 2.0 - (0.0 if size <= 16 else size * 0.04)
    if size > 16:
        c.fill(Circle(cx, cy + size * 0.03, r), solid(with_alpha(BLACK, 0.3)), soft=size * 0.04)
    c.fill(Circle(cx, cy, r), solid(RED_DARK))
    inner = Circle(cx, cy, r - max(0.8, r * 0.07))
    c.fill(inner, linear(cx - r * 0.4, cy - r, cx + r * 0.4, cy + r,
                         [(0.0, RED_LIGHT), (0.5, RED), (1.0, rgb("#A3180E"))]))
    gloss = Circle(cx, cy, r * 0.86).minus(Circle(cx, cy + r * 1.25, r * 1.5))
    c.fill(gloss, linear(0, cy - r, 0, cy, [(0.0, with_alpha(WHITE, 0.45)),
                                            (1.0, with_alpha(WHITE, 0.03))]))
    arm, w = (3.0, 2.0) if size <= 16 else (r * 0.42, r * 0.26)
    cross = Capsule(cx - arm, cy - arm, cx + arm, cy + arm, w).union(
        Capsule(cx - arm, cy + arm, cx + arm, cy - arm, w))
    if size <= 16:
        stamp(c, CROSS_16, 4, 4, WHITE)
        return c
    c.fill(cross.moved(0, r * 0.05), solid(with_alpha(RED_DARK, 0.5)), soft=r * 0.05)
    c.fill(cross, solid(WHITE))
    return c


# ----------------------------------------------------------------------------------------------
# A small stroke font for the wordmark on the watermark. Glyphs are lists of strokes in a box one
# unit high; a stroke is a polyline, or ("arc", cx, cy, r, a0, a1).

GLYPHS = {
    "V": (0.78, [[(0, 0), (0.39, 1), (0.78, 0)]]),
    "E": (0.56, [[(0.56, 0), (0, 0), (0, 1), (0.56, 1)], [(0, 0.5), (0.46, 0.5)]]),
    "L": (0.52, [[(0, 0), (0, 1), (0.52, 1)]]),
    "K": (0.62, [[(0, 0), (0, 1)], [(0.60, 0), (0.02, 0.60)], [(0.22, 0.40), (0.62, 1)]]),
    "U": (0.64, [[(0, 0), (0, 0.66)], [(0.64, 0), (0.64, 0.66)], ("arc", 0.32, 0.66, 0.32, 0, 180)]),
    "P": (0.56, [[(0, 1), (0, 0), (0.30, 0)], [(0, 0.54), (0.30, 0.54)],
                 ("arc", 0.30, 0.27, 0.27, -90, 90)]),
    "D": (0.66, [[(0.18, 0), (0, 0), (0, 1), (0.18, 1)], ("arc", 0.18, 0.5, 0.5, -90, 90)]),
    "A": (0.72, [[(0, 1), (0.36, 0), (0.72, 1)], [(0.13, 0.64), (0.59, 0.64)]]),
    "T": (0.62, [[(0, 0), (0.62, 0)], [(0.31, 0), (0.31, 1)]]),
    "W": (1.00, [[(0, 0), (0.24, 1), (0.5, 0.22), (0.76, 1), (1.0, 0)]]),
    "I": (0.0, [[(0, 0), (0, 1)]]),
    "Z": (0.58, [[(0, 0), (0.58, 0), (0, 1), (0.58, 1)]]),
    "R": (0.58, [[(0, 1), (0, 0), (0.30, 0)], [(0, 0.54), (0.30, 0.54)],
                 ("arc", 0.30, 0.27, 0.27, -90, 90), [(0.28, 0.54), (0.58, 1)]]),
    " ": (0.35, []),
}


def text_shape(text, x, y, height, weight, spacing):
    """The text as one shape, its box's top-left at (x, y); returns (shape, width)."""
    parts = []
    pen = x
    for ch in text:
        width, strokes = GLYPHS[ch]
        for stroke in strokes:
            if stroke and stroke[0] == "arc":
                _, acx, acy, ar, a0, a1 = stroke
                parts.append(ArcStroke(pen + acx * height, y + acy * height, ar * height, weight,
                                       a0, a1, round_caps=True))
            else:
                for (ax, ay), (bx, by) in zip(stroke, stroke[1:]):
                    parts.append(Capsule(pen + ax * height, y + ay * height, pen + bx * height,
                                         y + by * height, weight))
        pen += width * height + spacing
    return Union(parts), pen - spacing - x


def text_width(text, height, spacing):
    return sum(GLYPHS[ch][0] * height for ch in text) + spacing * (len(text) - 1)


# ----------------------------------------------------------------------------------------------
# The pictures.


def make_program_icon(size):
    c = Canvas(size, size)
    draw_program_art(c, 0, 0, size)
    return c


def make_header_bitmap(scale=1.0):
    """49 x 49 on white at 100 %: the emblem in its arrows, drawn at 45 pixels with a 2-pixel
    margin; every length grows with `scale`."""
    size = round(49 * scale)
    margin = round(2 * scale)
    c = Canvas(size, size, background=WHITE)
    art = Canvas(size - 2 * margin, size - 2 * margin)
    draw_program_art(art, 0, 0, size - 2 * margin)
    c.draw(art, margin, margin)
    return c


# The watermark's top and bottom edges. The wizard fills the page below a watermark that is
# shorter than the page with the colour of its top-left pixel, so both edges share one colour and
# the fill continues the picture whatever the page's height.
WATERMARK_EDGE = rgb("#0A2A62")
# The sheet shows no more than this width of the watermark at any scaling; a scaled watermark
# grows in height only, and its art as far as this width allows.
WATERMARK_WIDTH = 164


def make_watermark(scale=1.0):
    """164 x 314 at 100 %; taller by `scale`, with the emblem and wordmark drawn larger."""
    s = scale
    a = min(scale, 1.3)  # the art's own scale, bounded by the width
    w, h = WATERMARK_WIDTH, round(314 * s)
    c = Canvas(w, h)
    panel = Polygon([(0, 0), (w, 0), (w, h), (0, h)])
    ex, ey = 82.0, 104.0 * s
    # Brightest round the emblem, deep blue towards both ends.
    c.fill(panel, linear(0, 0, w * 0.25, h, [(0.0, rgb("#1266B4")), (0.30, rgb("#23A7C6")),
                                            (0.62, rgb("#1266B4")), (0.90, WATERMARK_EDGE)]))
    # Soft shapes: a glow behind the emblem, ripples round it and two broad swells at the foot.
    c.fill(Circle(ex, ey, 120 * a), radial(ex, ey, 120 * a, [(0.0, with_alpha(WHITE, 0.30)),
                                                             (1.0, with_alpha(WHITE, 0.0))]))
    for radius, alpha in ((66, 0.16), (84, 0.11), (106, 0.08), (132, 0.06), (162, 0.045)):
        c.fill(Ring(ex, ey, radius * a, 1.1 * a), solid(with_alpha(WHITE, alpha)))
    foot = h - 314  # the swells keep their place above the foot
    c.fill(Circle(-60, 470 + foot, 235).intersect(panel), solid(with_alpha(WHITE, 0.06)))
    c.fill(Circle(250, 520 + foot, 250).intersect(panel), solid(with_alpha(NAVY, 0.22)))
    size = round(112 * a)
    art = Canvas(size, size)
    draw_program_art(art, 0, 0, size)
    c.draw(art, int(ex - size / 2), int(ey - size / 2))
    # The wordmark, at the same distance below the emblem as at 100 %, grown with the art.
    word_h, word_w, word_sp = 21.0 * a, 3.6 * a, 7.0 * a
    tw = text_width("VELK", word_h, word_sp)
    shape, _ = text_shape("VELK", (w - tw) / 2.0, ey + 92.0 * a, word_h, word_w, word_sp)
    c.fill(shape.moved(0, 1.2 * a), solid(with_alpha(NAVY, 0.45)), soft=1.5 * a)
    c.fill(shape, solid(WHITE))
    rule_y = ey + 126.5 * a
    c.fill(Capsule(w / 2.0 - 34 * a, rule_y, w / 2.0 + 34 * a, rule_y, 1.0 * a),
           solid(with_alpha(LIGHT_TEAL, 0.9)))
    sub_h, sub_w, sub_sp = 7.0 * a, 1.25 * a, 3.2 * a
    sub = "UPDATE WIZARD"
    sw = text_width(sub, sub_h, sub_sp)
    shape, _ = text_shape(sub, (w - sw) / 2.0, ey + 135.0 * a, sub_h, sub_w, sub_sp)
    c.fill(shape, solid(with_alpha(WHITE, 0.92)))
    # A fine light edge where the panel meets the white page.
    c.fill(Polygon([(w - 1, 0), (w, 0), (w, h), (w - 1, h)]), solid(with_alpha(WHITE, 0.18)))
    # Both ends fade into the edge colour, which they reach exactly.
    top, bottom = 16 * a, 30 * a
    c.fill(Polygon([(0, 0), (w, 0), (w, top), (0, top)]),
           linear(0, 1, 0, top, [(0.0, WATERMARK_EDGE), (1.0, with_alpha(WATERMARK_EDGE, 0.0))]))
    c.fill(Polygon([(0, h - bottom), (w, h - bottom), (w, h), (0, h)]),
           linear(0, h - bottom, 0, h - 1, [(0.0, with_alpha(WATERMARK_EDGE, 0.0)),
                                            (1.0, WATERMARK_EDGE)]))
    return c


def make_busy_frame(frame, frames, size=32):
    """One frame of the busy animation: the arrows turn round a still emblem. 32 pixels at 100 %."""
    s = size / 32.0
    c = Canvas(size, size)
    cx = cy = 16.0 * s
    rotation = 180.0 * frame / frames
    arrows = refresh_arrows(cx, cy, 12.6 * s, 2.9 * s, start=-60.0 + rotation)
    draw_arrows(c, arrows, 0.7 * s, cx, cy, 12.6 * s)
    draw_badge(c, cx, cy, 8.6 * s)
    return c


HAND = [
    "      ##",
    "     #..#",
    "     #..#",
    "     #..#",
    "     #..###",
    "     #..#..###",
    "     #..#..#..#",
    "     #..#..#..###",
    "     #..#..#..#..#",
    "  ## #..#..#..#..#",
    " #..##..#..#..#..#",
    " #...#...........#",
    "  #..#...........#",
    "  #..............#",
    "   #.............#",
    "   #.............#",
    "    #...........#",
    "    #...........#",
    "     #.........#",
    "     #.........#",
    "     ###########",
]
HAND_OFFSET = (4, 1)


def make_hand_cursor():
    """The link cursor: a pointing hand, crisp pixels, black outline, white fill."""
    c = Canvas(32, 32)
    ox, oy = HAND_OFFSET
    for row, line in enumerate(HAND):
        for col, ch in enumerate(line):
            if ch == " ":
                continue
            colour = BLACK if ch == "#" else WHITE
            c.blend((row + oy) * 32 + col + ox, colour, 1.0)
    # A soft shadow to the lower right, as the system's own cursors have.
    shadow = Canvas(32, 32)
    for i in range(32 * 32):
        if c.a[i] > 0.0:
            x, y = i % 32, i // 32
            for dx, dy, a in ((1, 1, 0.22), (2, 2, 0.10)):
                if x + dx < 32 and y + dy < 32:
                    shadow.blend((y + dy) * 32 + x + dx, BLACK, a)
    shadow.draw(c)
    return shadow


HAND_HOTSPOT = (HAND_OFFSET[0] + 6, HAND_OFFSET[1])


# ----------------------------------------------------------------------------------------------
# File writers.


def bmp24(canvas, background=WHITE):
    """A bottom-up 24-bit BMP file of the canvas composited over `background`."""
    flat = Canvas(canvas.w, canvas.h, background=background)
    flat.draw(canvas)
    pixels = flat.rgba8()
    stride = (canvas.w * 3 + 3) & ~3
    rows = []
    for y in range(canvas.h - 1, -1, -1):
        row = bytearray()
        for x in range(canvas.w):
            r, g, b, _ = pixels[y * canvas.w + x]
            row += bytes((b, g, r))
        row += b"\0" * (stride - len(row))
        rows.append(bytes(row))
    data = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.w, canvas.h, 1, 24, 0, len(data), 3780, 3780, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    return header + info + data


# Colours that the wizard's bitmap loader may replace with system colours in a bitmap with a
# colour table (black, the two greys and white); the palette keeps a step away from them.
MAPPED_COLOURS = {(0, 0, 0): (1, 1, 1), (128, 128, 128): (129, 129, 129),
                  (192, 192, 192): (193, 193, 193), (255, 255, 255): (254, 254, 254)}


def median_cut(histogram, count):
    """`count` colours for a {colour: pixels} histogram: the box with the most pixels times its
    widest range is split at its median along that range, until there are enough boxes."""

    def measured(box):
        ranges = [max(c[k] for c, _ in box) - min(c[k] for c, _ in box) for k in range(3)]
        axis = max(range(3), key=lambda k: ranges[k])
        weight = ranges[axis] * sum(n for _, n in box) if len(box) > 1 else -1
        return [weight, axis, box]

    boxes = [measured(list(histogram.items()))] if histogram else []
    while 0 < len(boxes) < count:
        largest = max(boxes, key=lambda b: b[0])
        if largest[0] <= 0:
            break
        boxes.remove(largest)
        _, axis, box = largest
        box.sort(key=lambda item: item[0][axis])
        half, seen, cut = sum(n for _, n in box) / 2.0, 0, 1
        for i, (_, n) in enumerate(box[:-1]):
            seen += n
            cut = i + 1
            if seen >= half:
                break
        boxes += [measured(box[:cut]), measured(box[cut:])]
    palette = []
    for _, _, box in boxes:
        total = sum(n for _, n in box)
        colour = tuple(int(round(sum(c[k] * n for c, n in box) / total)) for k in range(3))
        palette.append(MAPPED_COLOURS.get(colour, colour))
    return palette


def bmp8(canvas, keep=(), background=WHITE):
    """A bottom-up 8-bit BMP file of the canvas over `background`: 256 colours by median cut,
    with Floyd-Steinberg error diffusion, and the colours `keep` (RGBA) among them. A pixel whose
    colour is in the palette keeps it exactly and passes no error on, so flat areas stay clean."""
    flat = Canvas(canvas.w, canvas.h, background=background)
    flat.draw(canvas)
    pixels = [p[:3] for p in flat.rgba8()]
    kept = [tuple(to8(v) for v in colour[:3]) for colour in keep]
    histogram = {}
    for p in pixels:
        if p not in kept:
            histogram[p] = histogram.get(p, 0) + 1
    palette = kept + median_cut(histogram, 256 - len(kept))
    exact = {c: i for i, c in enumerate(palette)}
    nearest = {}

    def index_of(colour):
        if colour not in nearest:
            nearest[colour] = min(range(len(palette)), key=lambda i: sum(
                (a - b) * (a - b) for a, b in zip(palette[i], colour)))
        return nearest[colour]

    w, h = canvas.w, canvas.h
    error = [[0.0, 0.0, 0.0] for _ in range((w + 2) * 2)]
    indices = [0] * (w * h)
    for y in range(h):
        here, below = error[:w + 2], [[0.0, 0.0, 0.0] for _ in range(w + 2)]
        for x in range(w):
            source = pixels[y * w + x]
            if source in exact:
                indices[y * w + x] = exact[source]
                continue
            wanted = tuple(min(255, max(0, int(round(source[k] + here[x + 1][k])))) for k in range(3))
            i = index_of(wanted)
            indices[y * w + x] = i
            for k in range(3):
                e = source[k] + here[x + 1][k] - palette[i][k]
                here[x + 2][k] += e * 7 / 16
                below[x][k] += e * 3 / 16
                below[x + 1][k] += e * 5 / 16
                below[x + 2][k] += e * 1 / 16
        error = below + [[0.0, 0.0, 0.0] for _ in range(w + 2)]
    palette += [(0, 0, 0)] * (256 - len(palette))
    stride = (w + 3) & ~3
    rows = []
    for y in range(h - 1, -1, -1):
        row = bytes(indices[y * w:(y + 1) * w])
        rows.append(row + b"\0" * (stride - w))
    data = b"".join(rows)
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 0, len(data), 3780, 3780, 256, 0)
    offset = 14 + len(info) + len(colours)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    return header + info + colours + data


def dib32_with_mask(canvas):
    """An icon image: BITMAPINFOHEADER (double height), BGRA rows bottom-up, then the AND mask."""
    w, h = canvas.w, canvas.h
    pixels = canvas.rgba8()
    xor = bytearray()
    mask = bytearray()
    mask_stride = ((w + 31) // 32) * 4
    for y in range(h - 1, -1, -1):
        bits = bytearray(mask_stride)
        for x in range(w):
            r, g, b, a = pixels[y * w + x]
            xor += bytes((b, g, r, a))
            if a == 0:
                # Transparent where the alpha channel is clear; the colour there is black, so
                # drawing without alpha leaves the background unchanged.
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + bytes(xor) + bytes(mask)


def icon_file(canvases, hotspots=None):
    """An .ico file, or a .cur file when hotspots (one (x, y) per image) are given. Icon images of
    48 pixels and more are stored PNG-compressed, which Windows reads since Vista (and expects at
    256); cursor images stay plain bitmaps."""
    kind = 1 if hotspots is None else 2
    images = []
    for cv in canvases:
        images.append(png(cv) if cv.w >= 48 and hotspots is None else dib32_with_mask(cv))
    out = struct.pack("<HHH", 0, kind, len(canvases))
    offset = 6 + 16 * len(canvases)
    for i, (cv, data) in enumerate(zip(canvases, images)):
        if hotspots is None:
            field1, field2 = 1, 32
        else:
            field1, field2 = hotspots[i]
        out += struct.pack("<BBBBHHII", cv.w % 256, cv.h % 256, 0, 0, field1, field2, len(data),
                           offset)
        offset += len(data)
    return out + b"".join(images)


def riff_chunk(tag, data):
    pad = b"\0" if len(data) % 2 else b""
    return tag + struct.pack("<I", len(data)) + data + pad


def ani_file(frame_files, jiffies, title, artist):
    """A RIFF 'ACON' animated cursor: anih, rate and seq chunks, then LIST 'fram' of 'icon'
    chunks, each a complete .cur file. The header gives no size of its own (its size fields are
    0), so each frame is taken at the size of the image that its .cur file offers for the
    requested size."""
    n = len(frame_files)
    AF_ICON, AF_SEQUENCE = 1, 2
    anih = struct.pack("<9I", 36, n, n, 0, 0, 0, 0, jiffies, AF_ICON | AF_SEQUENCE)
    info = riff_chunk(b"LIST", b"INFO" + riff_chunk(b"INAM", title.encode("ascii") + b"\0") +
                      riff_chunk(b"IART", artist.encode("ascii") + b"\0"))
    rate = struct.pack("<%dI" % n, *([jiffies] * n))
    seq = struct.pack("<%dI" % n, *range(n))
    fram = b"fram" + b"".join(riff_chunk(b"icon", f) for f in frame_files)
    body = (b"ACON" + info + riff_chunk(b"anih", anih) + riff_chunk(b"rate", rate) +
            riff_chunk(b"seq ", seq) + riff_chunk(b"LIST", fram))
    return b"RIFF" + struct.pack("<I", len(body)) + body


def png_bytes(w, h, rgba_rows):
    raw = b"".join(b"\0" + row for row in rgba_rows)

    def chunk(tag, data):
        return struct.pack(">I", len(data)) + tag + data + struct.pack(
            ">I", zlib.crc32(tag + data) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def png(canvas):
    pixels = canvas.rgba8()
    rows = []
    for y in range(canvas.h):
        rows.append(b"".join(bytes(p) for p in pixels[y * canvas.w:(y + 1) * canvas.w]))
    return png_bytes(canvas.w, canvas.h, rows)


# ----------------------------------------------------------------------------------------------
# Previews: each picture enlarged with hard pixel edges, on the backgrounds where it is shown.


def scaled(canvas, factor):
    out = Canvas(canvas.w * factor, canvas.h * factor)
    for y in range(out.h):
        sy = (y // factor) * canvas.w
        for x in range(out.w):
            j = sy + x // factor
            i = y * out.w + x
            out.r[i], out.g[i], out.b[i], out.a[i] = canvas.r[j], canvas.g[j], canvas.b[j], canvas.a[j]
    return out


def checker(w, h, cell=8):
    c = Canvas(w, h, background=WHITE)
    for y in range(h):
        for x in range(w):
            if (x // cell + y // cell) % 2:
                c.blend(y * w + x, rgb("#D8D8D8"), 1.0)
    return c


def sheet(items, backgrounds, gap=12):
    """Lays out (canvas) items in rows, one row per background colour."""
    width = gap + sum(cv.w + gap for cv in items)
    height = gap + max(cv.h for cv in items)
    out = Canvas(width, height * len(backgrounds), background=WHITE)
    for row, bg in enumerate(backgrounds):
        y = row * height
        band = checker(width, height) if bg is None else Canvas(width, height, background=bg)
        out.draw(band, 0, y)
        x = gap
        for cv in items:
            out.draw(cv, x, y + gap // 2 + (height - gap - cv.h) // 2)
            x += cv.w + gap
    return out


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
    print("wrote", os.path.relpath(path, ROOT))


def write_previews(pics):
    backgrounds = [None, WHITE, rgb("#F0F0F0"), rgb("#0A64D8"), rgb("#202020")]
    prog = pics["program"]
    items = [prog[size] for size in sorted(prog)] + [scaled(prog[16], 8), scaled(prog[32], 4)]
    write(os.path.join(PREVIEW_DIR, "program_icon.png"), png(sheet(items, backgrounds)))
    status = []
    for kind in ("success", "failure", "error"):
        for size in STATUS_ICON_SIZES:
            status.append(pics[kind][size])
        status += [scaled(pics[kind][16], 8), scaled(pics[kind][32], 4)]
    write(os.path.join(PREVIEW_DIR, "status_icons.png"), png(sheet(status, backgrounds)))
    headers = [pics["header"][p] for p in ART_SCALES]
    write(os.path.join(PREVIEW_DIR, "header.png"),
          png(sheet(headers + [scaled(headers[0], 6)], [WHITE])))
    # The watermark beside a white page, as on the wizard's welcome page, and at each scale.
    wm = pics["watermark"][100]
    page = Canvas(476, 314, background=WHITE)
    page.draw(wm)
    title, _ = text_shape("VELK UPDATE WIZARD", 180, 24, 12, 1.8, 3)
    page.fill(title, solid(rgb("#000000")))
    for k in range(5):
        page.fill(Capsule(180, 70 + 14 * k, 440 - 40 * (k % 2), 70 + 14 * k, 5),
                  solid(rgb("#C8C8C8")))
    write(os.path.join(PREVIEW_DIR, "watermark_page.png"), png(page))
    write(os.path.join(PREVIEW_DIR, "watermarks.png"),
          png(sheet([pics["watermark"][p] for p in ART_SCALES], [WHITE])))
    frames = pics["busy"][100]
    strip = [scaled(f, 4) for f in frames]
    write(os.path.join(PREVIEW_DIR, "busy_frames.png"),
          png(sheet(strip[:6], [WHITE, rgb("#F0F0F0")])))
    write(os.path.join(PREVIEW_DIR, "busy_frames_2.png"),
          png(sheet(strip[6:], [WHITE, rgb("#F0F0F0")])))
    write(os.path.join(PREVIEW_DIR, "busy_scales.png"),
          png(sheet([pics["busy"][p][k] for k in (0, 3) for p in ART_SCALES],
                    [WHITE, rgb("#F0F0F0")])))
    hand = scaled(pics["hand"], 8)
    hx, hy = HAND_HOTSPOT
    hand.fill(Ring(hx * 8 + 4, hy * 8 + 4, 5, 1.5), solid(rgb("#FF0000")))
    write(os.path.join(PREVIEW_DIR, "hand_cursor.png"),
          png(sheet([pics["hand"], hand], [None, WHITE, rgb("#0A64D8")])))


# ----------------------------------------------------------------------------------------------


RC_TEXT = """// Generated by tools/artwork/make_artwork.py; do not edit. The wizard's icons and cursors,
// taken from the executable itself (never from a language satellite).
#include "art/wizard_bitmaps.rc"

IDI_PROGRAM ICON "art/program.ico"
IDI_ERROR_PLACEHOLDER ICON "art/error.ico"
IDI_SUCCESS ICON "art/success.ico"
IDI_FAILURE ICON "art/failure.ico"
IDR_BUSY_ANIMATION ANICURSOR "art/busy.ani"
IDC_LINK_HAND CURSOR "art/hand.cur"
"""

# The scaled bitmaps carry their own numbers (the program picks them at start); the 100 % ones
# keep the numbers that the sheet has always used.
BITMAPS_RC_TEXT = """// Generated by tools/artwork/make_artwork.py; do not edit. The Wizard97 header and watermark
// bitmaps at 100, 150 and 200 %; language satellites carry them too, since the sheet takes them
// from the primary module.
IDB_HEADER BITMAP "art/header.bmp"
IDB_WATERMARK BITMAP "art/watermark.bmp"
IDB_HEADER_150 BITMAP "art/header_150.bmp"
IDB_WATERMARK_150 BITMAP "art/watermark_150.bmp"
IDB_HEADER_200 BITMAP "art/header_200.bmp"
IDB_WATERMARK_200 BITMAP "art/watermark_200.bmp"
"""

# Scales of the bitmaps and the busy animation, in per cent; the icons carry an image for each
# common scaling of their 16- and 32-pixel sizes instead.
ART_SCALES = (100, 150, 200)
STATUS_ICON_SIZES = (16, 20, 24, 32)
WINDOW_ICON_SIZES = (16, 20, 24, 32, 40, 48, 64)


def bitmap_name(kind, percent):
    return "%s.bmp" % kind if percent == 100 else "%s_%d.bmp" % (kind, percent)


def main(argv):
    pics = {
        "program": {s: make_program_icon(s) for s in WINDOW_ICON_SIZES + (256,)},
        "success": {s: draw_status_icon(s, "success") for s in STATUS_ICON_SIZES},
        "failure": {s: draw_status_icon(s, "failure") for s in STATUS_ICON_SIZES},
        "error": {s: draw_error_icon(s) for s in WINDOW_ICON_SIZES},
        "header": {p: make_header_bitmap(p / 100.0) for p in ART_SCALES},
        "watermark": {p: make_watermark(p / 100.0) for p in ART_SCALES},
        "busy": {p: [make_busy_frame(i, 12, 32 * p // 100) for i in range(12)] for p in ART_SCALES},
        "hand": make_hand_cursor(),
    }
    for percent in ART_SCALES:
        write(os.path.join(ART_DIR, bitmap_name("header", percent)),
              bmp24(pics["header"][percent]))
        write(os.path.join(ART_DIR, bitmap_name("watermark", percent)),
              bmp8(pics["watermark"][percent], keep=(WATERMARK_EDGE,)))
    order = lambda d: [d[s] for s in sorted(d)]
    write(os.path.join(ART_DIR, "program.ico"), icon_file(order(pics["program"])))
    write(os.path.join(ART_DIR, "success.ico"), icon_file(order(pics["success"])))
    write(os.path.join(ART_DIR, "failure.ico"), icon_file(order(pics["failure"])))
    write(os.path.join(ART_DIR, "error.ico"), icon_file(order(pics["error"])))
    write(os.path.join(ART_DIR, "hand.cur"), icon_file([pics["hand"]], [HAND_HOTSPOT]))
    # Each frame holds the picture at every scale, its hot spot in the middle.
    frames = []
    for i in range(12):
        sizes = [pics["busy"][p][i] for p in ART_SCALES]
        frames.append(icon_file(sizes, [(f.w // 2, f.h // 2) for f in sizes]))
    write(os.path.join(ART_DIR, "busy.ani"), ani_file(frames, 6, "Velk busy", "Velk"))
    write(os.path.join(ART_DIR, "artwork.rc"), RC_TEXT.encode("ascii"))
    write(os.path.join(ART_DIR, "wizard_bitmaps.rc"), BITMAPS_RC_TEXT.encode("ascii"))
    if "--preview" in argv:
        write_previews(pics)


if __name__ == "__main__":
    main(sys.argv[1:])
