#!/usr/bin/env python3
"""Draws the pictures of the pattern and search dialogs into resources/res/: the two pattern icons,
the search dialog's illustration and the search-progress animation (an uncompressed 8-bit AVI clip,
which the common animation control plays without a codec).

Run from anywhere: python3 resources/tools/draw-search-resources.py [--preview DIR]
"""

import math
import os
import struct
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import glyphs as G  # noqa: E402
from raster import Canvas, VGA16, bmp8, ico, png  # noqa: E402

OUT = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), 'res')
FACE = (192, 192, 192)


def lens(g, cx, cy, r, handle=True):
    """A magnifying glass: rim, glass and handle towards the bottom right."""
    if handle:
        d = r * 0.72
        g.line([(cx + d, cy + d), (cx + d + r * 0.9, cy + d + r * 0.9)], r * 0.42, G.GREY_DARK)
    g.disc(cx, cy, r, G.STEEL)
    g.ellipse(cx, cy, r * 0.74, r * 0.74, (200, 226, 250))
    g.ellipse(cx - r * 0.25, cy - r * 0.28, r * 0.22, r * 0.16, G.WHITE, 0.8)


def icon_select(c, s):
    g = G.Pen(c, 0, 0, s, s)
    G.picture(g, 0.5, 1, 11, 9)
    G.picture(g, 4.5, 6, 11, 9)
    g.disc(12.5, 12.5, 3.2, G.GREEN, G.WHITE)
    g.line([(10.9, 12.6), (12.1, 13.8), (14.2, 11.2)], 1.1, G.WHITE)


def icon_deselect(c, s):
    g = G.Pen(c, 0, 0, s, s)
    G.picture(g, 0.5, 1, 11, 9)
    G.picture(g, 4.5, 6, 11, 9)
    g.disc(12.5, 12.5, 3.2, G.RED, G.WHITE)
    g.line([(11.2, 12.5), (13.8, 12.5)], 1.3, G.WHITE)


def illustration():
    """The search dialog's tall picture: a stack of photographs under a magnifying glass."""
    w, h = 112, 268
    c = Canvas(w, h, FACE)
    g = G.Pen(c, 0, 0, w, w)  # units of w/16 pixels, both ways
    g.grad(0, 0, 16, 38.3, (40, 70, 140), (150, 190, 236))
    for k, (x, y) in enumerate([(1.5, 5), (4, 10.5), (1, 16.5), (4.5, 22)]):
        G.picture(g, x, y, 10.5, 8, sun=(k % 2 == 0))
    lens(g, 9.5, 28, 3.6)
    return c


def animation_frames():
    """A magnifying glass sweeping over a picture, 16 frames of 40 x 40."""
    frames = []
    for k in range(16):
        c = Canvas(40, 40, FACE)
        g = G.Pen(c, 0, 0, 40, 40)
        G.picture(g, 1, 2, 13, 10)
        t = 2 * math.pi * k / 16
        lens(g, 7.5 + 3.2 * math.cos(t), 7 + 2.4 * math.sin(t), 2.8)
        frames.append(c)
    return frames


def chunk(tag, data):
    pad = b'\0' if len(data) % 2 else b''
    return tag + struct.pack('<I', len(data)) + data + pad


def riff_list(tag, kind, body):
    return chunk(tag, kind + body)


def avi(frames):
    """An uncompressed 8-bit AVI of the frames (VGA colours, button face kept for transparency)."""
    w, h = frames[0].w, frames[0].h
    palette = list(VGA16)
    # Bottom-up rows of indexes into VGA16, padded to 4 bytes.
    def index(rgb):
        best, best_d = 0, 1 << 30
        for n, (r, g_, b) in enumerate(palette):
            d = (r - rgb[0]) ** 2 * 3 + (g_ - rgb[1]) ** 2 * 4 + (b - rgb[2]) ** 2 * 2
            if d < best_d:
                best, best_d = n, d
        return best
    stride = (w + 3) & ~3
    bits = []
    for f in frames:
        cache = {}
        out = bytearray()
        for y in range(h - 1, -1, -1):
            row = bytearray()
            for x in range(w):
                rgb = f.over(x, y, FACE)
                if rgb not in cache:
                    cache[rgb] = index(rgb)
                row.append(cache[rgb])
            out += row + b'\0' * (stride - w)
        bits.append(bytes(out))
    size = stride * h
    table = b''.join(bytes((b, g_, r, 0)) for (r, g_, b) in palette) + b'\0' * (4 * (256 - len(palette)))
    bih = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 8, 0, size, 0, 0, 256, 0) + table
    rate = 12
    avih = struct.pack('<IIIIIIIIII4I', 1000000 // rate, size * rate, 0, 0x10, len(frames), 0, 1, size, w, h,
                       0, 0, 0, 0)
    strh = struct.pack('<4s4sIHHIIIIIIIIhhhh', b'vids', b'DIB ', 0, 0, 0, 0, 1, rate, 0, len(frames), size,
                       0xFFFFFFFF, 0, 0, 0, w, h)
    hdrl = riff_list(b'LIST', b'hdrl', chunk(b'avih', avih)
                     + riff_list(b'LIST', b'strl', chunk(b'strh', strh) + chunk(b'strf', bih)))
    movi_body = b''
    index_entries = b''
    for data in bits:
        # Offsets count from the 'movi' tag.
        offset = 4 + len(movi_body)
        index_entries += struct.pack('<4sIII', b'00db', 0x10, offset, len(data))
        movi_body += chunk(b'00db', data)
    movi = riff_list(b'LIST', b'movi', movi_body)
    body = b'AVI ' + hdrl + movi + chunk(b'idx1', index_entries)
    return b'RIFF' + struct.pack('<I', len(body)) + body


def main():
    preview = sys.argv[sys.argv.index('--preview') + 1] if '--preview' in sys.argv else None
    for name, draw in {'select-pattern.ico': icon_select, 'deselect-pattern.ico': icon_deselect}.items():
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
                f.write(png(canvases[0], FACE, 4))
    picture = illustration()
    with open(os.path.join(OUT, 'searchpic.bmp'), 'wb') as f:
        f.write(bmp8(picture, FACE, keep=(FACE,)))
    frames = animation_frames()
    with open(os.path.join(OUT, 'search.avi'), 'wb') as f:
        f.write(avi(frames))
    if preview:
        with open(os.path.join(preview, 'searchpic.png'), 'wb') as f:
            f.write(png(picture, FACE, 2))
        with open(os.path.join(preview, 'search-frame0.png'), 'wb') as f:
            f.write(png(frames[0], FACE, 4))


if __name__ == '__main__':
    main()
