"""The program's pictograms, drawn on a 16-unit grid and scaled to any box.

Every glyph is a function glyph(g) drawing through a Pen, whose coordinates run from 0 to 16 in
both directions inside the box it was given. The same glyphs make the tool-bar buttons, the
cool-bar buttons, the file-type images and the icons, so that they all look alike.
"""

import math

from raster import arc_points, ellipse_points, mix, rounded_rect_points, vgradient

INK = (36, 40, 56)
WHITE = (255, 255, 255)
PAPER = (250, 250, 244)
PAPER_SHADE = (214, 214, 206)
FOLDER = (246, 204, 86)
FOLDER_DARK = (190, 136, 30)
FOLDER_BACK = (226, 176, 56)
SKY = (118, 176, 236)
SKY_TOP = (60, 120, 210)
HILL = (78, 160, 70)
HILL_DARK = (46, 120, 52)
SUN = (252, 212, 64)
BLUE = (40, 100, 200)
BLUE_LIGHT = (120, 170, 240)
RED = (206, 44, 40)
GREEN = (40, 156, 64)
GREY = (128, 128, 128)
GREY_LIGHT = (200, 200, 200)
GREY_DARK = (88, 88, 96)
STEEL = (170, 178, 190)
TEAL = (30, 150, 160)
AMBER = (236, 150, 30)
PURPLE = (130, 70, 170)


class Pen:
    """Draws on a canvas inside the box (x, y, w, h), in 16-unit coordinates."""

    def __init__(self, canvas, x, y, w, h):
        side = min(w, h)
        self.c = canvas
        self.k = side / 16.0
        # Whole-pixel offsets keep one-unit lines sharp in boxes that are not square.
        self.ox = x + (w - side) // 2
        self.oy = y + (h - side) // 2
        # The width of a one-pixel line, in units.
        self.px = 1.0 / self.k

    def p(self, x, y):
        return (self.ox + x * self.k, self.oy + y * self.k)

    def pts(self, points):
        return [self.p(x, y) for x, y in points]

    def poly(self, points, color, alpha=1.0):
        self.c.fill(self.pts(points), color, alpha)

    def polys(self, polygons, color, alpha=1.0, evenodd=False):
        self.c.fill([self.pts(p) for p in polygons], color, alpha, evenodd)

    def rect(self, x, y, w, h, color, alpha=1.0):
        self.poly([(x, y), (x + w, y), (x + w, y + h), (x, y + h)], color, alpha)

    def grad(self, x, y, w, h, top, bottom):
        y0 = self.oy + y * self.k
        y1 = self.oy + (y + h) * self.k
        self.c.fill(self.pts([(x, y), (x + w, y), (x + w, y + h), (x, y + h)]), vgradient(top, bottom, y0, y1))

    def frame(self, x, y, w, h, color, t=None):
        t = self.px if t is None else t
        outer = [(x, y), (x + w, y), (x + w, y + h), (x, y + h)]
        inner = [(x + t, y + t), (x + t, y + h - t), (x + w - t, y + h - t), (x + w - t, y + t)]
        self.polys([outer, inner], color, evenodd=True)

    def box(self, x, y, w, h, fill, outline=INK):
        """A filled rectangle with a one-pixel outline."""
        self.rect(x, y, w, h, outline)
        t = self.px
        self.rect(x + t, y + t, w - 2 * t, h - 2 * t, fill)

    def rrect(self, x, y, w, h, r, color, alpha=1.0):
        self.poly(rounded_rect_points(x, y, w, h, r), color, alpha)

    def ellipse(self, cx, cy, rx, ry, color, alpha=1.0):
        self.poly(ellipse_points(cx, cy, rx, ry), color, alpha)

    def disc(self, cx, cy, r, fill, outline=INK):
        self.ellipse(cx, cy, r, r, outline)
        self.ellipse(cx, cy, r - self.px, r - self.px, fill)

    def ring(self, cx, cy, r, width, color):
        self.polys([ellipse_points(cx, cy, r + width / 2, r + width / 2),
                    ellipse_points(cx, cy, r - width / 2, r - width / 2)[::-1]], color, evenodd=True)

    def line(self, points, width, color, alpha=1.0, caps=True):
        self.c.line(self.pts(points), width * self.k, color, alpha, caps)

    def arc(self, cx, cy, r, start, end, width, color):
        self.line(arc_points(cx, cy, r, start, end), width, color)


# -- building blocks -------------------------------------------------------------------------------

def folder(g, x=1, y=3, w=14, h=11, open_=False):
    g.poly([(x, y + 1), (x + 1, y), (x + 5, y), (x + 6, y + 1.5), (x + w, y + 1.5), (x + w, y + h), (x, y + h)],
           INK)
    g.poly([(x + g.px, y + 1 + g.px), (x + 1, y + g.px), (x + 5 - g.px, y + g.px), (x + 6 - g.px, y + 1.5 + g.px),
            (x + w - g.px, y + 1.5 + g.px), (x + w - g.px, y + h - g.px), (x + g.px, y + h - g.px)], FOLDER_BACK)
    if open_:
        g.poly([(x + 2.5, y + 4), (x + w + 1, y + 4), (x + w - 1.5, y + h), (x, y + h)], INK)
        g.poly([(x + 2.5 + g.px, y + 4 + g.px), (x + w + 1 - 1.6 * g.px, y + 4 + g.px),
                (x + w - 1.5 - g.px, y + h - g.px), (x + 1.4 * g.px, y + h - g.px)], FOLDER)
    else:
        g.rect(x, y + 3.5, w, h - 3.5, INK)
        g.grad(x + g.px, y + 3.5 + g.px, w - 2 * g.px, h - 3.5 - 2 * g.px, (252, 222, 120), FOLDER)


def picture(g, x=1, y=2, w=14, h=12, sun=True):
    g.rect(x, y, w, h, INK)
    t = g.px
    g.rect(x + t, y + t, w - 2 * t, h - 2 * t, WHITE)
    ix, iy, iw, ih = x + 2 * t, y + 2 * t, w - 4 * t, h - 4 * t
    g.grad(ix, iy, iw, ih, SKY_TOP, SKY)
    if sun:
        g.ellipse(ix + iw * 0.72, iy + ih * 0.3, iw * 0.13, iw * 0.13, SUN)
    g.poly([(ix, iy + ih * 0.75), (ix + iw * 0.35, iy + ih * 0.38), (ix + iw * 0.62, iy + ih * 0.72),
            (ix + iw * 0.78, iy + ih * 0.55), (ix + iw, iy + ih * 0.8), (ix + iw, iy + ih), (ix, iy + ih)], HILL)
    g.poly([(ix, iy + ih * 0.88), (ix + iw * 0.5, iy + ih * 0.8), (ix + iw, iy + ih * 0.92), (ix + iw, iy + ih),
            (ix, iy + ih)], HILL_DARK)


def page(g, x=3, y=1, w=10, h=14, fold=3.5, fill=PAPER):
    g.poly([(x, y), (x + w - fold, y), (x + w, y + fold), (x + w, y + h), (x, y + h)], INK)
    t = g.px
    g.poly([(x + t, y + t), (x + w - fold - t * 0.4, y + t), (x + w - t, y + fold + t * 0.4), (x + w - t, y + h - t),
            (x + t, y + h - t)], fill)
    g.poly([(x + w - fold, y), (x + w - fold, y + fold), (x + w, y + fold)], INK)
    g.poly([(x + w - fold + t, y + 2 * t), (x + w - fold + t, y + fold - t), (x + w - 2 * t, y + fold - t)],
           PAPER_SHADE)


def text_lines(g, x, y, w, rows, step=2.0, color=GREY_DARK):
    for k in range(rows):
        g.rect(x, y + k * step, w * (0.6 if k == rows - 1 else 1.0), g.px, color)


def magnifier(g, cx=6.5, cy=6.5, r=4.5, sign=None):
    g.line([(cx + r * 0.7, cy + r * 0.7), (15, 15)], 2.6, INK)
    g.line([(cx + r * 0.75, cy + r * 0.75), (14.6, 14.6)], 1.4, (150, 100, 50))
    g.disc(cx, cy, r, (210, 232, 252))
    g.ellipse(cx - r * 0.35, cy - r * 0.35, r * 0.3, r * 0.22, WHITE, 0.8)
    g.ring(cx, cy, r - 0.6 * g.px, 1.3 * g.px, STEEL)
    if sign:
        g.rect(cx - r * 0.55, cy - 0.7, r * 1.1, 1.4, BLUE)
        if sign == '+':
            g.rect(cx - 0.7, cy - r * 0.55, 1.4, r * 1.1, BLUE)


def arrow(g, points, color, width=2.2, head=3.2):
    """A bent or straight arrow along points, head at the last point."""
    (ax, ay), (bx, by) = points[-2], points[-1]
    d = math.hypot(bx - ax, by - ay)
    ux, uy = (bx - ax) / d, (by - ay) / d
    base = (bx - ux * head, by - uy * head)
    g.line(points[:-1] + [base], width, color, caps=False)
    nx, ny = -uy, ux
    g.poly([(bx + ux * 0.3, by + uy * 0.3), (base[0] + nx * head * 0.8, base[1] + ny * head * 0.8),
            (base[0] - nx * head * 0.8, base[1] - ny * head * 0.8)], color)


def plus_badge(g, cx=12, cy=12, r=3.6, color=GREEN):
    g.disc(cx, cy, r, color, WHITE)
    g.rect(cx - r * 0.6, cy - 0.6, r * 1.2, 1.2, WHITE)
    g.rect(cx - 0.6, cy - r * 0.6, 1.2, r * 1.2, WHITE)


def window_frame(g, x, y, w, h, title=BLUE):
    g.rect(x, y, w, h, INK)
    g.rect(x + g.px, y + g.px, w - 2 * g.px, h - 2 * g.px, WHITE)
    g.rect(x + g.px, y + g.px, w - 2 * g.px, min(2.2, h / 3), title)


def monitor(g):
    g.rect(1, 2, 14, 10, INK)
    g.grad(1 + g.px, 2 + g.px, 14 - 2 * g.px, 10 - 2 * g.px, SKY_TOP, SKY)
    g.poly([(1.6, 11), (6, 7), (9, 9.5), (11, 8), (14.4, 11)], HILL)
    g.rect(6, 12, 4, 1.5, GREY_DARK)
    g.rect(4, 13.5, 8, 1.5, INK)


def digit_glyph(g, x, y, text, color=INK, cell=3.0):
    """Tiny 3 x 5 letters and digits, drawn as whole cells."""
    for ch in text:
        rows = FONT_3X5.get(ch.upper())
        if rows:
            for r, bits in enumerate(rows):
                for col in range(3):
                    if bits & (4 >> col):
                        g.rect(x + col * cell / 3, y + r * cell / 3, cell / 3, cell / 3, color)
        x += cell * 4 / 3


def pixel_text(g, x, y, rows, color):
    """Letters given as rows of '#' and '.', one unit per cell."""
    for r, row in enumerate(rows):
        for col, ch in enumerate(row):
            if ch == '#':
                g.rect(x + col, y + r, 1, 1, color)


FONT_3X5 = {
    'A': (2, 5, 7, 5, 5), 'B': (6, 5, 6, 5, 6), 'C': (3, 4, 4, 4, 3), 'D': (6, 5, 5, 5, 6), 'E': (7, 4, 6, 4, 7),
    'F': (7, 4, 6, 4, 4), 'G': (3, 4, 5, 5, 3), 'H': (5, 5, 7, 5, 5), 'I': (7, 2, 2, 2, 7), 'J': (1, 1, 1, 5, 2),
    'K': (5, 5, 6, 5, 5), 'L': (4, 4, 4, 4, 7), 'M': (5, 7, 7, 5, 5), 'N': (6, 5, 5, 5, 5), 'O': (2, 5, 5, 5, 2),
    'P': (6, 5, 6, 4, 4), 'Q': (2, 5, 5, 6, 3), 'R': (6, 5, 6, 5, 5), 'S': (3, 4, 2, 1, 6), 'T': (7, 2, 2, 2, 2),
    'U': (5, 5, 5, 5, 7), 'V': (5, 5, 5, 5, 2), 'W': (5, 5, 7, 7, 5), 'X': (5, 5, 2, 5, 5), 'Y': (5, 5, 2, 2, 2),
    'Z': (7, 1, 2, 4, 7), '0': (7, 5, 5, 5, 7), '1': (2, 6, 2, 2, 7), '2': (6, 1, 2, 4, 7), '3': (6, 1, 2, 1, 6),
    '4': (5, 5, 7, 1, 1), '5': (7, 4, 6, 1, 6), '6': (3, 4, 7, 5, 7), '7': (7, 1, 2, 2, 2), '8': (7, 5, 7, 5, 7),
    '9': (7, 5, 7, 1, 6), ':': (0, 2, 0, 2, 0), '-': (0, 0, 7, 0, 0),
}


# -- the pictograms ---------------------------------------------------------------------------------

def g_explorer(g):
    folder(g, 0.5, 2, 12, 10)
    magnifier(g, 10, 10, 3.4)


def g_open(g):
    folder(g, 0.5, 3, 13, 11, open_=True)
    arrow(g, [(10, 7), (10, 3.5), (14.5, 3.5)], GREEN, 1.6, 2.6)


def g_paste_new(g):
    g.rrect(2, 2, 11, 13, 1.2, INK)
    g.rrect(2 + g.px, 2 + g.px, 11 - 2 * g.px, 13 - 2 * g.px, 1.0, (176, 120, 66))
    g.rect(5, 1, 5, 3, INK)
    g.rect(5 + g.px, 1 + g.px, 5 - 2 * g.px, 3 - 2 * g.px, STEEL)
    picture(g, 6, 6.5, 9.5, 8.5)


def g_scanner(g):
    g.poly([(1, 9), (15, 9), (15, 14), (1, 14)], INK)
    g.grad(1 + g.px, 9 + g.px, 14 - 2 * g.px, 5 - 2 * g.px, (236, 236, 240), STEEL)
    g.poly([(2, 9), (4, 4), (14, 4), (14.5, 9)], INK)
    g.poly([(2.6, 9 - g.px), (4.5, 4 + g.px), (13.6, 4 + g.px), (14, 9 - g.px)], (190, 220, 240))
    g.rect(3, 11, 10, 1.2, (90, 220, 110))
    g.rect(12, 12.5, 1.5, 0.8, RED)


def g_search(g):
    page(g, 1, 1, 10, 13)
    text_lines(g, 3, 5, 5, 4)
    magnifier(g, 10, 10, 3.6)


def g_print(g):
    g.box(4, 1, 8, 6, PAPER)
    text_lines(g, 5.5, 3, 5, 2)
    g.rrect(1, 6, 14, 6.5, 1.2, INK)
    g.rrect(1 + g.px, 6 + g.px, 14 - 2 * g.px, 6.5 - 2 * g.px, 1.0, STEEL)
    g.rect(12, 7.5, 1.5, 1, GREEN)
    g.box(3.5, 10, 9, 5, PAPER)
    text_lines(g, 5, 12, 6, 2, 1.5)


def g_window_full(g):
    window_frame(g, 1, 2, 14, 12)
    picture(g, 3, 5.5, 10, 7, sun=False)


def g_window_mosaic(g):
    for (x, y, col) in ((1, 1, BLUE), (8.5, 1, TEAL), (1, 8.5, TEAL), (8.5, 8.5, BLUE)):
        window_frame(g, x, y, 6.5, 6.5, col)


def g_auto_arrange(g):
    g_window_mosaic(g)
    g.ring(8, 8, 4.4, 2.6, WHITE)
    g.arc(8, 8, 4.4, 110, 350, 1.4, GREEN)
    g.poly([(12.4, 5.4), (14.4, 9.6), (10.2, 9.2)], GREEN)


def g_welcome(g):
    g.ellipse(8, 6.5, 5.2, 5.2, INK)
    g.poly(ellipse_points(8, 6.5, 5.2 - g.px, 5.2 - g.px),
           lambda x, y: mix((255, 250, 200), SUN, min(1.0, math.hypot(x - g.p(6.5, 5)[0], y - g.p(6.5, 5)[1]) /
                                                       (6 * g.k))))
    g.rect(5.5, 11, 5, 3.6, INK)
    g.rect(5.5 + g.px, 11, 5 - 2 * g.px, 3.6 - g.px, STEEL)
    g.rect(6, 12.4, 4, g.px, GREY_DARK)
    g.ellipse(6.3, 4.8, 1.2, 1.6, WHITE, 0.9)


def g_help(g):
    g.disc(8, 8, 7, (60, 120, 220))
    g.ellipse(6, 5, 3, 2, WHITE, 0.25)
    g.arc(8, 6, 2.5, 160, -60, 2.0, WHITE)
    g.line([(9.3, 8.1), (8, 9.4), (8, 10.2)], 2.0, WHITE, caps=False)
    g.ellipse(8, 12.4, 1.2, 1.2, WHITE)


def g_web(g):
    g.disc(8, 8, 7, (70, 140, 220))
    for poly in ([(3, 4), (6, 3), (8, 5), (7, 7), (5, 8), (4, 11), (2.2, 8.5)],
                 [(9, 8), (12, 7), (14, 9), (12.5, 12.5), (10, 13), (9.5, 10.5)],
                 [(9.5, 2.5), (12, 3.2), (11, 5)]):
        g.poly(poly, (80, 180, 80))
    g.ring(8, 8, 7 - 0.5 * g.px, g.px, INK)
    g.ellipse(5.5, 5, 2.8, 1.8, WHITE, 0.3)


def g_library(g):
    for k, col in enumerate(((150, 60, 40), (40, 90, 160), (40, 130, 70))):
        x = 1.5 + k * 1.5
        y = 5 - k * 1.5
        g.rect(x, y, 11, 9, INK)
        g.rect(x + g.px, y + g.px, 11 - 2 * g.px, 9 - 2 * g.px, col)
    picture(g, 5, 3.5, 9.5, 7.5)
    g.rect(4.5, 12.5, 11, 2.5, INK)
    g.rect(4.5 + g.px, 12.5 + g.px, 11 - 2 * g.px, 2.5 - 2 * g.px, PAPER)


def g_add_library(g):
    g_library(g)
    plus_badge(g, 12.2, 12.2, 3.4)


def g_parent_folder(g):
    folder(g, 0.5, 3, 15, 11)
    arrow(g, [(9, 12.5), (9, 8.5), (5.5, 8.5)], INK, 1.6, 2.8)


def g_new_folder(g):
    folder(g, 0.5, 4, 13, 10)
    for a in range(0, 360, 45):
        r = 3.2 if a % 90 == 0 else 2.2
        g.line([(12.5, 3.5), (12.5 + r * math.cos(math.radians(a)), 3.5 - r * math.sin(math.radians(a)))], 1.0,
               (250, 190, 0))
    g.ellipse(12.5, 3.5, 1.2, 1.2, SUN)


def g_open_picture(g):
    picture(g, 0.5, 1.5, 12, 10)
    arrow(g, [(9, 14.5), (14.5, 14.5), (14.5, 9.5)], GREEN, 1.6, 2.6)


def g_open_fullscreen(g):
    monitor(g)
    for (ax, ay, bx, by) in ((6, 5.5, 3, 3.5), (10, 5.5, 13, 3.5), (6, 8.5, 3, 10.5), (10, 8.5, 13, 10.5)):
        g.line([(ax, ay), (bx, by)], 1.2, WHITE)


def g_properties(g):
    page(g, 2, 1, 11, 14)
    for k in range(4):
        g.rect(4, 5 + k * 2.2, 1.4, 1.4, BLUE)
        g.rect(6.5, 5.4 + k * 2.2, 4.5, g.px, GREY_DARK)


def g_edit_picture(g):
    picture(g, 0.5, 1, 12, 10)
    g.line([(14.5, 5.5), (7, 13)], 3.0, INK)
    g.line([(14.5, 5.5), (7.4, 12.6)], 1.8, AMBER)
    g.poly([(7.6, 11.2), (5.3, 15), (9, 12.8)], (240, 210, 170))
    g.poly([(6.2, 13.6), (5.3, 15), (6.7, 14.2)], INK)


def g_copy_picture(g):
    picture(g, 0.5, 0.5, 10, 8.5)
    picture(g, 5.5, 6.5, 10, 8.5)


def g_delete(g):
    g.line([(3, 3), (13, 13)], 3.6, INK)
    g.line([(13, 3), (3, 13)], 3.6, INK)
    g.line([(3, 3), (13, 13)], 2.2, RED)
    g.line([(13, 3), (3, 13)], 2.2, RED)


def g_selection(g):
    picture(g, 3, 3, 10, 10, sun=False)
    for k in range(8):
        t = k * 2
        g.rect(t, 0.5, 1, g.px, INK)
        g.rect(t, 15.5 - g.px, 1, g.px, INK)
        g.rect(0.5, t, g.px, 1, INK)
        g.rect(15.5 - g.px, t, g.px, 1, INK)


def g_sort_name(g):
    pixel_text(g, 0.5, 1, ('.###.', '#...#', '#...#', '#####', '#...#', '#...#'), BLUE)
    pixel_text(g, 0.5, 9, ('#####', '...#.', '..#..', '.#...', '#....', '#####'), BLUE)
    arrow(g, [(12, 2), (12, 14.5)], INK, 1.3, 2.6)


def g_sort_type(g):
    g.box(1, 1.5, 5, 5, RED)
    g.disc(3.5, 12, 2.6, GREEN)
    arrow(g, [(12, 2), (12, 14.5)], INK, 1.3, 2.6)


def g_sort_size(g):
    for k, h in enumerate((4, 7, 10)):
        g.box(1 + k * 3, 14 - h, 2.6, h, BLUE_LIGHT)
    arrow(g, [(13, 2), (13, 14.5)], INK, 1.3, 2.6)


def g_sort_date(g):
    g.box(1, 2, 9, 10, WHITE)
    g.rect(1, 2, 9, 2.6, RED)
    for r in range(2):
        for col in range(3):
            g.rect(2.5 + col * 2.4, 6 + r * 2.6, 1.4, 1.4, GREY_DARK)
    arrow(g, [(13, 2), (13, 14.5)], INK, 1.3, 2.6)


def g_sort_ascending(g):
    for k in range(4):
        g.rect(1, 2 + k * 3.5, 2.5 + k * 2.2, 2, BLUE)
    arrow(g, [(13, 14), (13, 1.5)], INK, 1.3, 2.6)


def g_sort_descending(g):
    for k in range(4):
        g.rect(1, 2 + k * 3.5, 9.1 - k * 2.2, 2, BLUE)
    arrow(g, [(13, 2), (13, 14.5)], INK, 1.3, 2.6)


def g_view_large(g):
    for (x, y) in ((1, 1), (8.5, 1), (1, 8.5), (8.5, 8.5)):
        g.box(x, y, 6.5, 6.5, SKY)
        g.poly([(x + 0.6, y + 5.9), (x + 3, y + 3), (x + 5.9, y + 5.9)], HILL)


def g_view_medium(g):
    for r in range(3):
        for col in range(3):
            g.box(1 + col * 5, 1 + r * 5, 4, 4, SKY)
            g.rect(1.6 + col * 5, 3.6 + r * 5, 2.8, 0.8, HILL)


def g_view_small(g):
    for r in range(4):
        g.box(1, 1 + r * 3.7, 3, 3, SKY)
        g.rect(5.5, 2.3 + r * 3.7, 9, g.px * 1.2, INK)


def g_view_list(g):
    for r in range(5):
        g.rect(1, 1.6 + r * 2.9, 2, 2, BLUE)
        g.rect(4.5, 2.2 + r * 2.9, 10.5, g.px * 1.2, INK)


def g_auto_preview(g):
    picture(g, 0.5, 0.5, 11, 9)
    g.ellipse(11, 12, 4.8, 3.2, INK)
    g.ellipse(11, 12, 4.8 - g.px, 3.2 - g.px, WHITE)
    g.disc(11, 12, 2.2, (60, 130, 200))
    g.ellipse(11, 12, 0.9, 0.9, INK)


def g_auto_fullscreen(g):
    monitor(g)
    g.disc(12.2, 4.2, 3.4, AMBER, WHITE)
    digit_glyph(g, 11.2, 2.7, 'A', WHITE, 3)


def g_export(g):
    picture(g, 0.5, 3, 10, 9)
    arrow(g, [(8, 9), (12.5, 9), (12.5, 4.5), (15.5, 4.5)], GREEN, 1.6, 2.8)


def g_save_as(g):
    g.rrect(1, 1, 14, 14, 1.0, INK)
    g.rrect(1 + g.px, 1 + g.px, 14 - 2 * g.px, 14 - 2 * g.px, 0.8, (60, 90, 170))
    g.box(3.5, 1.5, 9, 5.5, PAPER)
    g.rect(4.5, 3, 7, g.px, GREY_DARK)
    g.rect(4.5, 4.8, 5, g.px, GREY_DARK)
    g.box(4, 9.5, 8, 5.5, STEEL)
    g.rect(9.5, 10.5, 1.6, 3.5, INK)


def g_fullscreen(g):
    monitor(g)
    for (x, y, dx, dy) in ((3, 4, 1, 1), (13, 4, -1, 1), (3, 10, 1, -1), (13, 10, -1, -1)):
        g.poly([(x, y), (x + 3 * dx, y), (x, y + 3 * dy)], WHITE)


def g_zoom_in(g):
    magnifier(g, 6.5, 6.5, 5, '+')


def g_zoom_out(g):
    magnifier(g, 6.5, 6.5, 5, '-')


def g_actual_size(g):
    g.box(1, 2, 14, 12, WHITE)
    pixel_text(g, 3, 5, ('.#.....#.', '##....##.', '.#..#..#.', '.#.....#.', '.#..#..#.', '###...###'), INK)


def g_proportional(g):
    g.frame(0.5, 2, 15, 12, INK)
    picture(g, 4, 4, 8, 8)


def g_fit_window(g):
    g.frame(0.5, 2, 15, 12, INK)
    picture(g, 1.5, 3, 13, 10)
    arrow(g, [(6, 8), (2.6, 8)], AMBER, 1.1, 2.0)
    arrow(g, [(10, 8), (13.4, 8)], AMBER, 1.1, 2.0)


def g_play(g):
    g.poly([(3, 1.5), (14, 8), (3, 14.5)], INK)
    g.poly([(3 + 1.2 * g.px, 1.5 + 2.2 * g.px), (14 - 2.2 * g.px, 8), (3 + 1.2 * g.px, 14.5 - 2.2 * g.px)],
           lambda x, y: mix((120, 220, 120), GREEN, (y - g.oy) / (16 * g.k)))


def g_pause(g):
    for x in (3, 9):
        g.box(x, 2, 4, 12, BLUE_LIGHT)


def g_repeat(g):
    g.arc(8, 8, 5.2, 200, -90, 2.2, BLUE)
    g.poly([(7.5, 0.4), (11.6, 2.9), (7.5, 5.4)], BLUE)
    g.arc(8, 8, 5.2, 20, 90, 2.2, BLUE)


def g_time_display(g):
    g.disc(8, 8, 7, WHITE)
    for k in range(12):
        a = math.radians(k * 30)
        g.line([(8 + 5.2 * math.cos(a), 8 + 5.2 * math.sin(a)), (8 + 6 * math.cos(a), 8 + 6 * math.sin(a))],
               0.8, INK, caps=False)
    g.line([(8, 8), (8, 3.4)], 1.3, INK)
    g.line([(8, 8), (11.5, 9.5)], 1.3, INK)
    g.ellipse(8, 8, 1, 1, RED)


def g_placeholder(g):
    g.box(3, 3, 10, 10, GREY_LIGHT, GREY)


def g_favorites(g):
    pts = []
    for k in range(10):
        r = 7.4 if k % 2 == 0 else 3.0
        a = math.radians(90 + k * 36)
        pts.append((8 + r * math.cos(a), 8.6 - r * math.sin(a)))
    g.poly(pts, INK)
    inner = [(8 + (x - 8) * 0.82, 8.6 + (y - 8.6) * 0.82) for x, y in pts]
    g.poly(inner, lambda x, y: mix((255, 236, 120), AMBER, (y - g.oy) / (16 * g.k)))


def g_display(g):
    window_frame(g, 1, 1, 11, 9)
    window_frame(g, 4, 6, 11, 9, TEAL)


def g_new_picture(g):
    page(g, 2, 1, 11, 14)
    plus_badge(g, 11, 11, 3.6, BLUE)


def g_folder(g):
    folder(g)
