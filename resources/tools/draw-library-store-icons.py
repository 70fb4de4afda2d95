#!/usr/bin/env python3
"""Draws the icons of the library's trash dialogs and replace questions into resources/res/.

Run from anywhere: python3 resources/tools/draw-library-store-icons.py [--preview DIR]
"""

import os
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import glyphs as G  # noqa: E402
from raster import Canvas, ico, png  # noqa: E402

OUT = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), 'res')


def bin_(g, x=2, y=2.5, w=10, h=12.5):
    """A waste bin: lid and ribbed body."""
    g.rect(x - 0.8, y, w + 1.6, 1.6, G.STEEL)
    g.frame(x - 0.8, y, w + 1.6, 1.6, G.INK, 0.6)
    g.rect(x + w / 2 - 1.5, y - 1.4, 3, 1.4, G.INK)
    body = [(x, y + 2), (x + w, y + 2), (x + w - 1.2, y + h), (x + 1.2, y + h)]
    g.poly(body, G.GREY_LIGHT)
    for k in range(1, 4):
        xx = x + k * w / 4
        g.line([(xx, y + 3.2), (xx - (xx - x - w / 2) * 0.2, y + h - 1)], 0.7, G.GREY_DARK)
    g.line(body + [body[0]], 0.7, G.INK)


def badge(g, colour, mark):
    g.disc(12, 11.5, 3.8, colour, G.WHITE)
    if mark == '?':
        g.line([(10.6, 10.0), (10.9, 9.0), (12, 8.6), (13.1, 9.0), (13.4, 9.9), (12.9, 10.7), (12, 11.2),
                (12, 12.2)], 1.1, G.WHITE)
        g.rect(11.45, 13.1, 1.1, 1.1, G.WHITE)
    else:
        g.line([(12, 9.2), (12, 12.2)], 1.2, G.WHITE)
        g.rect(11.4, 13.2, 1.2, 1.2, G.WHITE)


def icon_trash_question(c, s):
    g = G.Pen(c, 0, 0, s, s)
    bin_(g)
    badge(g, G.BLUE, '?')


def icon_trash_empty(c, s):
    g = G.Pen(c, 0, 0, s, s)
    bin_(g)
    badge(g, G.RED, '!')


def icon_replace_file(c, s):
    g = G.Pen(c, 0, 0, s, s)
    G.page(g, 0.5, 0.5, 8, 11, 2.5)
    G.page(g, 7.5, 4.5, 8, 11, 2.5)
    G.arrow(g, [(1.5, 14), (7.2, 14)], G.GREEN, 1.6, 3.0)


def icon_replace_folder(c, s):
    g = G.Pen(c, 0, 0, s, s)
    G.folder(g, 0.5, 0.5, 9, 7)
    G.folder(g, 6.5, 7.5, 9, 7)
    G.arrow(g, [(2.5, 9), (2.5, 12.5), (6.2, 12.5)], G.GREEN, 1.6, 3.0)


def main():
    preview = sys.argv[sys.argv.index('--preview') + 1] if '--preview' in sys.argv else None
    icons = {
        'trash-question.ico': icon_trash_question,
        'trash-empty.ico': icon_trash_empty,
        'replace-file.ico': icon_replace_file,
        'replace-folder.ico': icon_replace_folder,
    }
    for name, draw in icons.items():
        canvases = []
        for s in (32, 16):
            c = Canvas(s, s)
            draw(c, s)
            canvases.append(c)
        with open(os.path.join(OUT, name), 'wb') as f:
            f.write(ico(canvases))
        if preview:
            os.makedirs(preview, exist_ok=True)
            with open(os.path.join(preview, name + '.png'), 'wb') as f:
                f.write(png(canvases[0], (192, 192, 192), 4))


if __name__ == '__main__':
    main()
