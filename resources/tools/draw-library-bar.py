#!/usr/bin/env python3
"""Draws the library bar's tree icons, its two tool-bar strips and the password icon into resources/res/.

Run from anywhere: python3 resources/tools/draw-library-bar.py
"""

import os
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import glyphs as G  # noqa: E402
from raster import Canvas, bmp24, bmp8, ico  # noqa: E402

OUT = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), 'res')
FACE = (192, 192, 192)
MAGENTA = (255, 0, 255)


def masked(canvas, mask, edge):
    out = Canvas(canvas.w, canvas.h)
    for y in range(canvas.h):
        for x in range(canvas.w):
            out.pixel(x, y, canvas.over(x, y, edge) if canvas.rgba(x, y)[3] >= 128 else mask)
    return out


def strip(glyphs, w, h):
    c = Canvas(w * len(glyphs), h)
    for k, glyph in enumerate(glyphs):
        glyph(G.Pen(c, k * w, 0, w, h))
    return c


def padlock(g, x=4, y=1, w=8, h=14):
    g.arc(x + w / 2, y + 5, 3.0, 180, 360, 1.6, G.GREY_DARK)
    g.line([(x + w / 2 - 3, y + 5), (x + w / 2 - 3, y + 7)], 1.6, G.GREY_DARK)
    g.line([(x + w / 2 + 3, y + 5), (x + w / 2 + 3, y + 7)], 1.6, G.GREY_DARK)
    g.box(x, y + 7, w, h - 7, G.AMBER)
    g.rect(x + w / 2 - 0.6, y + 9, 1.2, 3, G.INK)


def small_lock(g):
    g.arc(12, 9, 1.8, 180, 360, 1.0, G.INK)
    g.box(9.5, 9.5, 5, 5.5, G.AMBER)


def star(g, cx, cy, r, colour):
    import math
    pts = []
    for k in range(10):
        rr = r if k % 2 == 0 else r * 0.42
        a = math.radians(90 + 36 * k)
        pts.append((cx + rr * math.cos(a), cy - rr * math.sin(a)))
    g.poly(pts, G.INK)
    g.poly([(cx + (px - cx) * 0.8, cy + (py - cy) * 0.8) for px, py in pts], colour)


def t_root(g):
    G.g_library(g)


def t_images(g):
    G.folder(g, 0.5, 3, 15, 11)
    G.picture(g, 6, 7, 9, 7.5, sun=False)


def t_favorites(g):
    G.folder(g, 0.5, 3, 15, 11)
    star(g, 11, 10.5, 4.5, G.SUN)


def t_protected(g):
    G.folder(g, 0.5, 3, 15, 11)
    small_lock(g)


def t_trash(g):
    g.rect(3, 2.5, 10, 1.6, G.INK)
    g.rect(6.5, 1.2, 3, 1.4, G.INK)
    g.poly([(3.5, 5), (12.5, 5), (11.5, 15), (4.5, 15)], G.INK)
    g.poly([(4.3, 5.7), (11.7, 5.7), (10.8, 14.3), (5.2, 14.3)], G.GREY_LIGHT)
    for xx in (6.3, 8, 9.7):
        g.line([(xx, 7), (xx, 13)], 0.7, G.GREY_DARK)


def t_folder(g):
    G.folder(g, 0.5, 3, 15, 11)


def t_folder_open(g):
    G.folder(g, 0.5, 3, 15, 11, open_=True)


def a_none(g):
    G.picture(g, 0.5, 1, 13, 11)
    G.plus_badge(g, 11.5, 11.5, 3.2)


def a_mode(colour):
    def draw(g):
        G.picture(g, 0.5, 1, 13, 11)
        g.disc(11.5, 11.5, 3.4, colour, G.WHITE)
    return draw


def icon_password(c, s):
    g = G.Pen(c, 0, 0, s, s)
    padlock(g, 3.5, 1, 9, 14)


def main():
    os.makedirs(OUT, exist_ok=True)
    c = masked(strip([t_root, t_images, t_favorites, t_protected, t_trash, t_folder, t_folder_open], 16, 16),
               MAGENTA, (255, 255, 255))
    with open(os.path.join(OUT, 'library-tree.bmp'), 'wb') as f:
        f.write(bmp24(c, MAGENTA))
    keep = [FACE, (128, 128, 128), (255, 255, 255), (0, 0, 0)]
    c = masked(strip([G.g_new_folder, G.g_delete, a_none, a_mode(G.AMBER), a_mode(G.TEAL)], 15, 15), FACE, FACE)
    with open(os.path.join(OUT, 'toolbar-library1.bmp'), 'wb') as f:
        f.write(bmp8(c, FACE, keep=keep))
    c = masked(strip([G.g_open_picture, G.g_properties, G.g_edit_picture, G.g_copy_picture, G.g_print,
                      G.g_display, G.g_view_large, G.g_selection, G.g_auto_fullscreen], 16, 16), FACE, FACE)
    with open(os.path.join(OUT, 'toolbar-library2.bmp'), 'wb') as f:
        f.write(bmp8(c, FACE, keep=keep))
    canvases = []
    for s in (32, 16):
        cc = Canvas(s, s)
        icon_password(cc, s)
        canvases.append(cc)
    with open(os.path.join(OUT, 'password.ico'), 'wb') as f:
        f.write(ico(canvases))


if __name__ == '__main__':
    main()
