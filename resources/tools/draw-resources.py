#!/usr/bin/env python3
"""Draws the program's icons, cursors and bitmaps into resources/res/.

Run from anywhere: python3 resources/tools/draw-resources.py [--preview DIR]
With --preview, PNG copies (enlarged) are written to DIR for looking at. The generated files are
kept in the repository, so building the program does not need this script.
"""

import math
import os
import sys

sys.dont_write_bytecode = True  # keep the source tree free of caches
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import glyphs as G  # noqa: E402
from raster import Canvas, bmp24, bmp4, bmp8, cur, ico, mix, png, rounded_rect_points, vgradient  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(os.path.dirname(HERE), 'res')
FACE = (192, 192, 192)
MAGENTA = (255, 0, 255)

previews = []


def save(name, data, canvas=None, background=None, scale=4):
    with open(os.path.join(OUT, name), 'wb') as f:
        f.write(data)
    if canvas is not None:
        previews.append((name, canvas, background, scale))


def masked(canvas, mask, edge):
    """An opaque copy: pixels at least half covered are composited over edge, the rest are mask."""
    out = Canvas(canvas.w, canvas.h)
    for y in range(canvas.h):
        for x in range(canvas.w):
            if canvas.rgba(x, y)[3] >= 128:
                out.pixel(x, y, canvas.over(x, y, edge))
            else:
                out.pixel(x, y, mask)
    return out


def strip(glyph_list, w, h, draw=None):
    c = Canvas(w * len(glyph_list), h)
    for k, glyph in enumerate(glyph_list):
        pen = G.Pen(c, k * w, 0, w, h)
        (draw or (lambda pen, gl: gl(pen)))(pen, glyph)
    return c


# -- the logo: a square of nine tesserae ------------------------------------------------------------

TESSERAE = [(28, 150, 160), (40, 100, 200), (236, 150, 30),
            (206, 60, 50), (250, 250, 244), (28, 150, 160),
            (40, 100, 200), (236, 150, 30), (130, 70, 170)]


def logo(c, x, y, size, turn=0.0):
    """The maker's mark: a slate tile holding 3 x 3 coloured tesserae. turn (radians) spins it
    about its vertical axis in perspective, showing the darker back when the front faces away."""
    cos_t, sin_t = math.cos(turn), math.sin(turn)
    back = cos_t < 0
    cx, cy = x + size / 2.0, y + size / 2.0

    def project(points):
        out = []
        for u, v in points:
            depth = (u - 0.5) * sin_t
            scale = 1.0 / (1.0 + 0.45 * depth)
            out.append((cx + (u - 0.5) * size * cos_t * scale, cy + (v - 0.5) * size * scale))
        return out

    def area(points):
        return abs(sum(ax * by - bx * ay for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]))) / 2

    light = 0.55 + 0.45 * abs(cos_t)
    base = mix((30, 30, 40), (70, 78, 92) if not back else (50, 56, 66), light)
    outline = project(rounded_rect_points(0, 0, 1, 1, 0.16))
    if area(outline) < 1.0:
        c.line([project([(0.5, 0)])[0], project([(0.5, 1)])[0]], 1.2, (30, 34, 44))
        return
    c.fill(outline, (30, 34, 44))
    c.fill(project(rounded_rect_points(0.05, 0.05, 0.9, 0.9, 0.12)),
           vgradient(mix(base, (255, 255, 255), 0.25), base, y, y + size))
    cell = 0.9 / 3.0
    gap = cell * 0.12
    for r in range(3):
        for col in range(3):
            colour = TESSERAE[r * 3 + col]
            if back:
                colour = mix(colour, (40, 40, 48), 0.45)
            colour = mix((60, 60, 70), colour, light)
            tu = 0.05 + col * cell + gap
            tv = 0.05 + r * cell + gap
            pts = project(rounded_rect_points(tu, tv, cell - 2 * gap, cell - 2 * gap, cell * 0.18))
            ys = [p[1] for p in pts]
            c.fill(pts, vgradient(mix(colour, (255, 255, 255), 0.35), colour, min(ys), max(ys)))
    if not back:
        c.fill(project([(0.08, 0.08), (0.92, 0.08), (0.08, 0.5)]), (255, 255, 255), 0.18)


# -- icons -------------------------------------------------------------------------------------------

def icon_from(draw, sizes=(32, 16)):
    canvases = []
    for s in sizes:
        c = Canvas(s, s)
        draw(c, s)
        canvases.append(c)
    return canvases


def glyph_icon(glyph):
    def draw(c, s):
        glyph(G.Pen(c, 0, 0, s, s))
    return draw


def icon_main(c, s):
    logo(c, s * 0.03, s * 0.03, s * 0.94)


def icon_animation(c, s):
    g = G.Pen(c, 0, 0, s, s)
    g.rect(0.5, 2, 15, 12, G.INK)
    for k in range(5):
        g.rect(1.3 + k * 3, 2.6, 1.4, 1.2, G.WHITE)
        g.rect(1.3 + k * 3, 12.2, 1.4, 1.2, G.WHITE)
    G.picture(g, 2, 4.3, 12, 7.4, sun=True)
    g.poly([(6.5, 6), (10.5, 8), (6.5, 10)], G.WHITE, 0.9)


def icon_print_list(c, s):
    g = G.Pen(c, 0, 0, s, s)
    G.g_print(g)
    G.picture(g, 5, 0.5, 7, 5.5, sun=False)


def icon_search(c, s):
    g = G.Pen(c, 0, 0, s, s)
    G.picture(g, 0.5, 0.5, 11, 9)
    G.magnifier(g, 10, 10, 3.8)


def icon_unreadable(c, s):
    g = G.Pen(c, 0, 0, s, s)
    G.picture(g, 0.5, 1.5, 15, 13)
    g.poly([(7, 1.5), (9, 5), (6.5, 8), (9.5, 11.5), (8, 14.5), (10, 14.5), (11.5, 11.5), (8.5, 8), (11, 5),
            (9, 1.5)], G.WHITE)
    g.disc(11.5, 11.5, 3.8, G.RED, G.WHITE)
    g.line([(10, 10), (13, 13)], 1.2, G.WHITE)
    g.line([(13, 10), (10, 13)], 1.2, G.WHITE)


def double_arrow(g, vertical):
    def P(a, b):
        return (b, a) if vertical else (a, b)
    outline = [P(0.5, 8), P(4.5, 4), P(4.5, 6.5), P(6.8, 6.5), P(6.8, 1.5), P(9.2, 1.5), P(9.2, 6.5), P(11.5, 6.5),
               P(11.5, 4), P(15.5, 8), P(11.5, 12), P(11.5, 9.5), P(9.2, 9.5), P(9.2, 14.5), P(6.8, 14.5),
               P(6.8, 9.5), P(4.5, 9.5), P(4.5, 12)]
    g.poly(outline, G.WHITE)
    inner = [(8 + (x - 8) * 0.8, 8 + (y - 8) * 0.8) for x, y in outline]
    g.poly(inner, G.INK)


def icon_resize(vertical):
    def draw(c, s):
        double_arrow(G.Pen(c, 0, 0, s, s), vertical)
    return draw


def icon_generic_file(c, s):
    g = G.Pen(c, 0, 0, s, s)
    G.page(g, 2.5, 0.5, 11, 15)
    G.text_lines(g, 4.5, 6, 7, 4, 2.2, G.GREY)


# -- cursors (32 x 32) --------------------------------------------------------------------------------

ARROW = [(0, 0), (0, 17), (4, 13), (7, 20), (9.5, 19), (6.6, 12.2), (12, 12.2)]


def arrow_cursor(c, x=1, y=1, k=1.0):
    pts = [(x + px * k, y + py * k) for px, py in ARROW]
    c.fill(pts, (0, 0, 0))
    inner = [(x + 1.1 * k, y + 2.7 * k), (x + 1.1 * k, y + 14.4 * k), (x + 4.3 * k, y + 11.2 * k),
             (x + 7.3 * k, y + 18 * k), (x + 8.1 * k, y + 17.6 * k), (x + 5.1 * k, y + 11.1 * k),
             (x + 9.5 * k, y + 11.1 * k)]
    c.fill(inner, (255, 255, 255))


def cursor_arrow(c):
    arrow_cursor(c)


def drag_cursor(many, copy):
    def draw(c):
        arrow_cursor(c)
        g = G.Pen(c, 12, 14, 16, 16)
        if many:
            G.picture(G.Pen(c, 17, 13, 14, 14), 1, 1, 14, 11, sun=False)
        G.picture(g, 1, 3, 14, 11)
        if copy:
            G.plus_badge(G.Pen(c, 20, 20, 12, 12), 10, 10, 5.6)
    return draw


def cursor_no_drop(c):
    c.ring(16, 16, 12.5, 6.5, (0, 0, 0))
    c.ring(16, 16, 12.5, 8.3, (220, 40, 36))
    a = math.radians(45)
    dx, dy = math.cos(a) * 10.5, math.sin(a) * 10.5
    c.line([(16 - dx, 16 - dy), (16 + dx, 16 + dy)], 4.6, (0, 0, 0), caps=False)
    c.line([(16 - dx, 16 - dy), (16 + dx, 16 + dy)], 2.8, (220, 40, 36), caps=False)


def cursor_point(c):
    """A fine cross with an open centre, so that the picked pixel stays visible."""
    for (x, y, w, h) in ((15, 1, 3, 12), (15, 20, 3, 12), (1, 15, 12, 3), (20, 15, 12, 3)):
        c.rect(x, y, w, h, (255, 255, 255))
        c.rect(x + 1, y + 1, w - 2, h - 2, (0, 0, 0))
    c.rect(15, 15, 3, 3, (255, 255, 255))
    c.rect(16, 16, 1, 1, (0, 0, 0))


def cursor_zoom(c):
    g = G.Pen(c, 0, 0, 32, 32)
    G.magnifier(g, 6.5, 6.5, 5.5, '+')


def cursor_hand(c):
    hand = [(11, 30), (8, 24), (4.5, 19), (4, 16.5), (6, 15.6), (9.5, 19), (9.5, 5), (10.5, 3), (12.5, 3),
            (13.5, 5), (13.5, 13), (14.5, 12), (16.5, 12), (17.5, 13.5), (18.5, 12.6), (20.5, 12.6),
            (21.5, 14), (22.5, 13.4), (24.5, 13.6), (25.5, 15.5), (25.5, 22), (23.5, 27), (23.5, 30)]
    c.fill(hand, (0, 0, 0))
    inner = [(12, 29), (9.2, 23.4), (5.7, 18.5), (5.6, 17.2), (6.3, 17), (10.6, 21.6), (10.6, 5.2), (11, 4.2),
             (12, 4.2), (12.4, 5.2), (12.4, 15), (13.5, 15), (13.6, 13.3), (16, 13.3), (16.4, 16), (17.5, 16),
             (17.7, 13.9), (20, 13.9), (20.4, 17), (21.4, 17), (21.7, 14.9), (24, 14.9), (24.3, 16),
             (24.3, 21.8), (22.3, 26.6), (22.3, 29)]
    c.fill(inner, (255, 255, 255))


def hourglass(c, x, y, k):
    def P(px, py):
        return (x + px * k, y + py * k)
    c.fill([P(0, 0), P(16, 0), P(16, 3), P(0, 3)], (0, 0, 0))
    c.fill([P(0, 21), P(16, 21), P(16, 24), P(0, 24)], (0, 0, 0))
    glass = [P(1.5, 3), P(14.5, 3), P(14.5, 6), P(9.5, 12), P(14.5, 18), P(14.5, 21), P(1.5, 21), P(1.5, 18),
             P(6.5, 12), P(1.5, 6)]
    c.fill(glass, (0, 0, 0))
    c.fill([P(2.8, 4), P(13.2, 4), P(13.2, 5.6), P(8.3, 12), P(13.2, 18.4), P(13.2, 20), P(2.8, 20), P(2.8, 18.4),
            P(7.7, 12), P(2.8, 5.6)], (255, 255, 255))
    c.fill([P(4.5, 6.5), P(11.5, 6.5), P(8, 10.5)], (236, 170, 40))
    c.fill([P(8, 15), P(12.5, 19.5), P(3.5, 19.5)], (236, 170, 40))
    c.fill([P(7.6, 10), P(8.4, 10), P(8.4, 16), P(7.6, 16)], (236, 170, 40))


def cursor_busy(c):
    hourglass(c, 8, 4, 1.0)


def cursor_busy_arrow(c):
    arrow_cursor(c)
    hourglass(c, 15, 12, 0.7)


# -- bitmaps ---------------------------------------------------------------------------------------

def gauge():
    c = Canvas(11, 14, FACE)
    shadow, light = (128, 128, 128), (255, 255, 255)
    for x in range(11):
        c.pixel(x, 0, shadow)
        c.pixel(x, 13, light)
    for y in range(0, 13):
        c.pixel(0, y, shadow)
    for y in range(0, 14):
        c.pixel(10, y, light)
    for x in range(1, 4):
        for y in range(2, 12):
            c.pixel(x, y, mix((70, 120, 230), (10, 40, 140), (y - 2) / 9.0))
    for x in range(5, 8):
        for y in range(2, 12):
            c.pixel(x, y, (224, 224, 224))
    return c


STATUS_GLYPHS = [G.g_proportional, G.g_folder, G.g_selection, G.g_zoom_in, None, G.g_play, G.g_pause, G.g_repeat,
                 G.g_time_display, G.g_library]


def status_icons():
    c = Canvas(130, 12)
    for k, glyph in enumerate(STATUS_GLYPHS):
        if glyph is None:
            hourglass(c, 13 * k + 2.5, 0, 0.5)
        else:
            glyph(G.Pen(c, 13 * k, 0, 12, 12))
    return c


def file_type_strip():
    """Image 0 an unknown file, 1 a folder, then file-type code c at image c + 1 (image 2 unused)."""
    labels = {2: 'ANI', 3: 'ASF', 4: 'AVI', 5: 'BMP', 6: 'CUR', 7: 'FLC', 8: 'FLI', 9: 'GIF', 10: 'ICO',
              11: 'IFF', 12: 'JPG', 13: 'LBM', 14: 'MID', 15: 'MOD', 16: 'MOV', 17: 'MP3', 18: 'MPG', 19: 'PCD',
              20: 'PCX', 21: 'PCT', 22: 'PNG', 23: 'QT', 24: 'RA', 25: 'RAM', 26: 'RM', 27: 'RT', 28: 'S3M',
              29: 'SMI', 30: 'ZSV', 31: 'TGA', 32: 'TIF', 33: 'WMF', 34: 'WAV', 35: 'XM', 36: 'PSD', 37: 'FPX',
              38: 'QTI', 39: 'ZIB', 40: 'ZCB', 41: 'SND', 42: 'AU', 43: 'AIF', 44: 'WM', 45: 'WMA', 46: 'WMV',
              47: 'RMI', 48: 'HTM', 49: 'ASP', 50: 'SWF'}
    kinds = {2: 'cursor', 3: 'video', 4: 'video', 5: 'picture', 6: 'cursor', 7: 'film', 8: 'film', 9: 'picture',
             10: 'icon', 11: 'picture', 12: 'picture', 13: 'picture', 14: 'sound', 15: 'sound', 16: 'quicktime',
             17: 'sound', 18: 'video', 19: 'picture', 20: 'picture', 21: 'picture', 22: 'picture',
             23: 'quicktime', 24: 'real', 25: 'real', 26: 'real', 27: 'real', 28: 'sound', 29: 'real',
             30: 'project', 31: 'picture', 32: 'picture', 33: 'picture', 34: 'sound', 35: 'sound', 36: 'picture',
             37: 'picture', 38: 'picture', 39: 'icon', 40: 'cursor', 41: 'sound', 42: 'sound', 43: 'sound',
             44: 'sound', 45: 'sound', 46: 'video', 47: 'sound', 48: 'web', 49: 'web', 50: 'flash'}
    band = {'picture': (40, 120, 60), 'sound': (130, 70, 170), 'video': (200, 60, 50), 'film': (200, 110, 30),
            'quicktime': (40, 90, 170), 'real': (40, 90, 170), 'icon': (30, 140, 150), 'cursor': (30, 140, 150),
            'web': (40, 100, 200), 'flash': (200, 60, 50), 'project': (100, 100, 110)}
    c = Canvas(16 * 52, 16)
    for index in range(52):
        g = G.Pen(c, 16 * index, 0, 16, 16)
        if index == 0:
            G.page(g, 2.5, 0.5, 11, 15)
            G.text_lines(g, 4.5, 6, 6.5, 4, 2.2, G.GREY)
            continue
        if index == 1:
            G.folder(g, 0.5, 2, 15, 12)
            continue
        code = index - 1
        if code not in labels:
            continue
        kind = kinds[code]
        G.page(g, 1, 0, 14, 16, fold=4)
        x0, y0 = 16 * index, 0
        if kind == 'picture':
            G.picture(g, 3.2, 3.2, 9.6, 6.2, sun=False)
        elif kind == 'sound':
            g.ellipse(6.5, 7.6, 1.6, 1.2, G.INK)
            g.rect(7.6, 2.6, 0.9, 5, G.INK)
            g.poly([(8.5, 2.6), (11, 3.8), (11, 5), (8.5, 3.8)], G.INK)
        elif kind in ('video', 'film', 'quicktime', 'real'):
            g.rect(3.5, 3, 9, 6.2, G.INK)
            for k in range(3):
                g.rect(4.4 + k * 3, 3.5, 1.2, 0.9, G.WHITE)
                g.rect(4.4 + k * 3, 7.8, 1.2, 0.9, G.WHITE)
            g.poly([(7, 4.9), (9.4, 6.1), (7, 7.3)], band[kind])
        elif kind in ('icon', 'cursor'):
            if kind == 'icon':
                g.rect(4.5, 3, 7, 6, (30, 140, 150))
                g.rect(5.5, 4, 5, 4, (200, 240, 240))
            else:
                g.poly([(5, 2.5), (5, 9.5), (6.8, 7.8), (8.2, 10.3), (9.3, 9.8), (8, 7.3), (10.5, 7.3)], G.INK)
        elif kind == 'web':
            g.disc(8, 6, 3.6, (70, 140, 220))
            g.poly([(6, 4), (8, 3.6), (8.4, 5.6), (6.6, 7.2), (5.6, 6)], (80, 180, 80))
        elif kind == 'flash':
            g.poly([(9.5, 2.5), (5.5, 7), (8, 7), (6.5, 10), (10.5, 5.6), (8, 5.6)], (200, 60, 50))
        else:
            g.rect(4, 3, 8, 1, G.GREY)
            g.rect(4, 5, 8, 1, G.GREY)
            g.rect(4, 7, 5, 1, G.GREY)
        # The extension in white on the kind's colour, pixel for pixel.
        text = labels[code]
        g.rect(2, 9, 12, 6, band[kind])
        width = 4 * len(text) - 1
        tx = x0 + 2 + (12 - width + 1) // 2
        for ch in text:
            for r, bits in enumerate(G.FONT_3X5[ch]):
                for col in range(3):
                    if bits & (4 >> col):
                        c.pixel(tx + col, y0 + 10 + r, (255, 255, 255))
            tx += 4
    return c


# Tool-bar button images, one per button that is not a separator, in the tool bar's order.
TOOLBARS = {
    'toolbar-main.bmp': (19, 17, [G.g_explorer, G.g_open, G.g_paste_new, G.g_scanner, G.g_search, G.g_print,
                                  G.g_window_full, G.g_window_mosaic, G.g_auto_arrange, G.g_welcome, G.g_help,
                                  G.g_web]),
    'toolbar-explorer.bmp': (17, 16, [G.g_add_library, G.g_parent_folder, G.g_new_folder, G.g_open_picture,
                                      G.g_open_fullscreen, G.g_properties, G.g_edit_picture, G.g_copy_picture,
                                      G.g_delete, G.g_selection, G.g_sort_name, G.g_sort_type, G.g_sort_size,
                                      G.g_sort_date, G.g_sort_ascending, G.g_sort_descending, G.g_view_large,
                                      G.g_view_medium, G.g_view_small, G.g_view_list, G.g_auto_preview,
                                      G.g_auto_fullscreen]),
    'toolbar-search.bmp': (17, 16, [G.g_export, G.g_open_picture, G.g_open_fullscreen, G.g_properties,
                                    G.g_copy_picture, G.g_selection, G.g_sort_name, G.g_sort_type, G.g_sort_size,
                                    G.g_sort_date, G.g_sort_ascending, G.g_sort_descending, G.g_view_large,
                                    G.g_view_medium, G.g_view_small, G.g_view_list, G.g_auto_fullscreen]),
    'toolbar-picture.bmp': (17, 16, [G.g_add_library, G.g_save_as, G.g_copy_picture, G.g_fullscreen,
                                     G.g_zoom_out, G.g_zoom_in, G.g_actual_size, G.g_proportional,
                                     G.g_fit_window]),
    # Image 13 is the pause picture that the play button takes while the animation runs.
    'toolbar-animation.bmp': (16, 16, [G.g_add_library, G.g_save_as, G.g_copy_picture, G.g_fullscreen,
                                       G.g_zoom_out, G.g_zoom_in, G.g_actual_size, G.g_proportional,
                                       G.g_fit_window, G.g_play, G.g_repeat, G.g_time_display, G.g_placeholder,
                                       G.g_pause]),
}

# The cool bar's tool band: image indexes as its buttons use them.
COOL_GLYPHS = [G.g_new_picture, G.g_explorer, G.g_search, G.g_open, G.g_print, G.g_paste_new, G.g_favorites,
               G.g_display, G.g_web, G.g_library, G.g_scanner]


def cool_images(state):
    """Normal images are slightly muted, hot ones in full colour, disabled ones a pale grey."""
    c = Canvas(28 * len(COOL_GLYPHS), 20)
    for k, glyph in enumerate(COOL_GLYPHS):
        cell = Canvas(28, 20)
        glyph(G.Pen(cell, 4, 1, 20, 18))
        if state == 'normal':
            cell = recolour(cell, lambda rgb: mix(rgb, (grey(rgb),) * 3, 0.3))
        elif state == 'disabled':
            cell = recolour(cell, lambda rgb: mix((grey(rgb),) * 3, FACE, 0.45))
        c.paste(cell, 28 * k, 0)
    return c


def grey(rgb):
    return int(rgb[0] * 0.3 + rgb[1] * 0.59 + rgb[2] * 0.11)


def recolour(canvas, change):
    out = Canvas(canvas.w, canvas.h)
    for y in range(canvas.h):
        for x in range(canvas.w):
            r, g, b, a = canvas.rgba(x, y)
            if a:
                out.pixel(x, y, change((r, g, b)), a / 255.0)
    return out


def cool_background():
    w, h = 128, 64
    c = Canvas(w, h, (200, 202, 208))
    for r in range(4):
        for col in range(8):
            shade = 0.04 * (((r * 3 + col * 5) % 7) - 3)
            tint = mix((206, 208, 214), (255, 255, 255) if shade > 0 else (160, 164, 176), abs(shade))
            c.rect(col * 16 + 1, r * 16 + 1, 14, 14, tint)
    c.fill([(0, 0), (w, 0), (w, h / 2), (0, h / 2)], (255, 255, 255), 0.10)
    return c


def logo_strip():
    c = Canvas(1200, 40, FACE)
    for f in range(30):
        frame = Canvas(40, 40)
        logo(frame, 3, 3, 34, 2 * math.pi * f / 30.0)
        c.paste(frame, 40 * f, 0)
    return c


def checkerboard():
    c = Canvas(8, 8)
    for y in range(8):
        for x in range(8):
            c.pixel(x, y, (255, 255, 255) if (x + y) % 2 == 0 else FACE)
    return c


SEGMENTS = {'0': 'abcdef', '1': 'bc', '2': 'abdeg', '3': 'abcdg', '4': 'bcfg', '5': 'acdfg', '6': 'acdefg',
            '7': 'abc', '8': 'abcdefg', '9': 'abcdfg'}


def seven_segment(c, x, y, lit, on, off):
    """A 9 x 15 digit: segment a on top, then clockwise, g in the middle."""
    shapes = {
        'a': [(x + 1.5, y + 1), (x + 7.5, y + 1), (x + 6.5, y + 2.4), (x + 2.5, y + 2.4)],
        'b': [(x + 7.8, y + 1.4), (x + 7.8, y + 7), (x + 6.6, y + 6.3), (x + 6.6, y + 2.6)],
        'c': [(x + 7.8, y + 8), (x + 7.8, y + 13.6), (x + 6.6, y + 12.4), (x + 6.6, y + 8.7)],
        'd': [(x + 1.5, y + 14), (x + 7.5, y + 14), (x + 6.5, y + 12.6), (x + 2.5, y + 12.6)],
        'e': [(x + 1.2, y + 8), (x + 1.2, y + 13.6), (x + 2.4, y + 12.4), (x + 2.4, y + 8.7)],
        'f': [(x + 1.2, y + 1.4), (x + 1.2, y + 7), (x + 2.4, y + 6.3), (x + 2.4, y + 2.6)],
        'g': [(x + 1.8, y + 7.5), (x + 2.6, y + 6.8), (x + 6.4, y + 6.8), (x + 7.2, y + 7.5), (x + 6.4, y + 8.2),
              (x + 2.6, y + 8.2)],
    }
    for name, pts in shapes.items():
        c.fill(pts, on if name in lit else off)


def digits():
    c = Canvas(144, 15, (0, 0, 0))
    on, dim = (80, 255, 90), (0, 60, 10)
    for d in range(10):
        seven_segment(c, 11 * d, 0, SEGMENTS[str(d)], on, dim)
    seven_segment(c, 110, 0, '', on, dim)          # blank: every segment dark
    for x0, colour in ((121, dim), (125, on)):     # separator (dimmed colon), colon
        c.rect(x0, 4, 2, 2, colour)
        c.rect(x0, 10, 2, 2, colour)
    c.rect(129, 0, 15, 15, FACE)                    # unlit glyphs sit on light grey
    seven_segment(c, 129, 0, '', (0, 0, 0), (168, 168, 168))
    c.rect(140, 4, 2, 2, (168, 168, 168))
    c.rect(140, 10, 2, 2, (168, 168, 168))
    return c


def colour_arrow():
    c = Canvas(46, 14, FACE)
    c.fill([(7, 5), (16, 5), (11.5, 9.5)], (0, 0, 0))
    c.fill([(31, 6), (40, 6), (35.5, 10.5)], (255, 255, 255))
    c.fill([(30, 5), (39, 5), (34.5, 9.5)], (128, 128, 128))
    return c


# -- main --------------------------------------------------------------------------------------------

def main():
    os.makedirs(OUT, exist_ok=True)
    preview_dir = None
    if '--preview' in sys.argv:
        preview_dir = sys.argv[sys.argv.index('--preview') + 1]
        os.makedirs(preview_dir, exist_ok=True)

    icons = {
        'tessarine.ico': icon_main,
        'explorer.ico': glyph_icon(G.g_explorer),
        'picture.ico': glyph_icon(G.picture),
        'animation.ico': icon_animation,
        'printlist.ico': icon_print_list,
        'search.ico': icon_search,
        'unreadable.ico': icon_unreadable,
        'resize-leftright.ico': icon_resize(False),
        'resize-updown.ico': icon_resize(True),
        'generic-file.ico': icon_generic_file,
    }
    for name, draw in icons.items():
        canvases = icon_from(draw)
        save(name, ico(canvases), canvases[0], None, 4)

    cursors = {
        'arrow.cur': (cursor_arrow, (1, 1)),
        'drag-move-one.cur': (drag_cursor(False, False), (1, 1)),
        'drag-move-many.cur': (drag_cursor(True, False), (1, 1)),
        'drag-copy-one.cur': (drag_cursor(False, True), (1, 1)),
        'drag-copy-many.cur': (drag_cursor(True, True), (1, 1)),
        'no-drop.cur': (cursor_no_drop, (16, 16)),
        'picture-point.cur': (cursor_point, (16, 16)),
        'zoom.cur': (cursor_zoom, (13, 13)),
        'hand.cur': (cursor_hand, (11, 3)),
        'busy.cur': (cursor_busy, (16, 16)),
        'busy-arrow.cur': (cursor_busy_arrow, (1, 1)),
    }
    for name, (draw, hotspot) in cursors.items():
        c = Canvas(32, 32)
        draw(c)
        save(name, cur(c, hotspot), c, (0, 128, 128), 4)

    for name, (w, h, glyph_list) in TOOLBARS.items():
        c = masked(strip(glyph_list, w, h), FACE, FACE)
        save(name, bmp8(c, FACE, keep=[FACE, (128, 128, 128), (255, 255, 255), (0, 0, 0)]), c, None, 4)

    for name, state in (('coolbar-normal.bmp', 'normal'), ('coolbar-hot.bmp', 'hot'),
                        ('coolbar-disabled.bmp', 'disabled')):
        c = masked(cool_images(state), MAGENTA, FACE)
        save(name, bmp24(c, MAGENTA), c, None, 4)

    c = masked(file_type_strip(), MAGENTA, (255, 255, 255))
    save('filetypes.bmp', bmp24(c, MAGENTA), c, None, 3)
    c = gauge()
    save('gauge.bmp', bmp24(c, FACE), c, None, 12)
    c = masked(status_icons(), FACE, FACE)
    save('status-icons.bmp', bmp24(c, FACE), c, None, 8)
    c = cool_background()
    save('coolbar-background.bmp', bmp24(c, FACE), c, None, 2)
    c = logo_strip()
    save('logo-animation.bmp', bmp24(c, FACE), c, None, 2)
    save('logo-animation16.bmp', bmp4(c, FACE), None)
    c = checkerboard()
    save('checkerboard.bmp', bmp4(c, FACE, dither=False), c, None, 12)
    c = digits()
    save('digits.bmp', bmp24(c, (0, 0, 0)), c, None, 6)
    c = colour_arrow()
    save('colour-arrow.bmp', bmp24(c, FACE), c, None, 8)

    if preview_dir:
        for name, canvas, background, scale in previews:
            path = os.path.join(preview_dir, os.path.splitext(name)[0] + '.png')
            with open(path, 'wb') as f:
                f.write(png(canvas, background if background else FACE, scale))


if __name__ == '__main__':
    main()
