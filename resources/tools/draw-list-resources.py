#!/usr/bin/env python3
"""Draws the thumbnail lists' pictures into resources/res/: the eight card backgrounds of the large
and medium views, the two type-icon strips and the two busy animations (uncompressed 8-bit AVI).

Run from anywhere: python3 resources/tools/draw-list-resources.py [--preview DIR]
The generated files are kept in the repository, so building the program does not need this script.
"""

import math
import os
import random
import struct
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import glyphs as G  # noqa: E402
from raster import Canvas, bmp24, bmp8, mix, png  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(os.path.dirname(HERE), 'res')
FACE = (192, 192, 192)
WHITE = (255, 255, 255)

# -- cards -------------------------------------------------------------------------------------------

CARD_GREY = (206, 206, 202)
CARD_BLUE = (92, 128, 196)


def texture(c, x0, y0, x1, y1, base, seed, depth=7):
    """A fine paper grain over the rectangle: every pixel a little lighter or darker."""
    rnd = random.Random(seed)
    for y in range(y0, y1):
        for x in range(x0, x1):
            d = rnd.randint(-depth, depth) + (3 if (x + 2 * y) % 7 == 0 else 0)
            c.pixel(x, y, tuple(max(0, min(255, v + d)) for v in base))


def bevel(c, x0, y0, x1, y1, light, dark):
    for x in range(x0, x1):
        c.pixel(x, y0, light)
        c.pixel(x, y1 - 1, dark)
    for y in range(y0, y1):
        c.pixel(x0, y, light)
        c.pixel(x1 - 1, y, dark)


def camera(c, cx, cy, k):
    """The placeholder of a picture without thumbnail: a small camera, k pixels per unit."""
    g = G.Pen(c, int(cx - 8 * k), int(cy - 8 * k), int(16 * k), int(16 * k))
    g.rrect(1, 4.5, 14, 9.5, 1.4, G.GREY_DARK)
    g.rrect(1.6, 5.1, 12.8, 8.3, 1.0, G.STEEL)
    g.rect(5, 2.8, 5, 2.2, G.GREY_DARK)
    g.disc(8, 9.2, 3.2, (60, 66, 80), G.INK)
    g.ellipse(8, 9.2, 1.8, 1.8, (110, 150, 210))
    g.ellipse(7.4, 8.6, 0.6, 0.6, WHITE)
    g.rect(11.5, 6, 2, 1.2, (250, 220, 120))


def card(w, h, well, selected, empty, shadow):
    """A card of w x h: a textured body with a sunken well for the thumbnail; normal cards carry a
    shadow along their right and bottom edges, selected ones are blue and pressed 3 pixels in."""
    c = Canvas(w, h, WHITE)
    off = 3 if selected else 0
    bx0, by0 = 1 + off, 1 + off
    bx1, by1 = w - shadow - 1 + off, h - shadow - 1 + off
    if not selected:
        for s in range(shadow, 0, -1):
            shade = mix((120, 120, 120), WHITE, s / (shadow + 1.0))
            for x in range(bx0 + s, bx1 + s):
                c.pixel(x, by1 - 1 + s, shade)
            for y in range(by0 + s, by1 + s):
                c.pixel(bx1 - 1 + s, y, shade)
    base = CARD_BLUE if selected else CARD_GREY
    texture(c, bx0, by0, bx1, by1, base, seed=w * 7 + (11 if selected else 3))
    bevel(c, bx0, by0, bx1, by1, mix(base, WHITE, 0.6), mix(base, (0, 0, 0), 0.45))
    wx0, wy0, wx1, wy1 = (v + off for v in well)
    well_colour = (176, 196, 232) if selected else (232, 232, 226)
    texture(c, wx0, wy0, wx1, wy1, well_colour, seed=w + 5, depth=3)
    bevel(c, wx0 - 1, wy0 - 1, wx1 + 1, wy1 + 1, mix(base, (0, 0, 0), 0.4), mix(base, WHITE, 0.7))
    if empty:
        k = min(wx1 - wx0, wy1 - wy0) / 28.0
        camera(c, (wx0 + wx1) / 2.0, (wy0 + wy1) / 2.0, k)
    return c


def cards():
    out = {}
    # Large: thumbnails 84 x 68 drawn from (9, 22); medium: 67 x 58 from (9, 8).
    for selected in (False, True):
        for empty in (False, True):
            name = 'card-large%s%s.bmp' % ('-selected' if selected else '', '-empty' if empty else '')
            out[name] = card(109, 121, (8, 20, 95, 92), selected, empty, 4)
            name = 'card-medium%s%s.bmp' % ('-selected' if selected else '', '-empty' if empty else '')
            out[name] = card(87, 90, (8, 7, 78, 67), selected, empty, 3)
    return out


# -- type strips -------------------------------------------------------------------------------------

TYPES = ['BMP', 'JPG', 'PNG', 'TIF', 'GIF', 'PIC', 'PCD', 'PCX', 'LBM', 'IFF', 'TGA', 'WMF']
BANDS = [(40, 100, 200), (200, 60, 50), (40, 140, 70), (130, 70, 170), (236, 150, 30), (30, 140, 150),
         (200, 110, 30), (90, 90, 160), (170, 60, 120), (120, 100, 40), (40, 120, 160), (100, 100, 110)]


def label(c, x, y, text, scale, colour):
    tx = x
    for ch in text:
        for r, bits in enumerate(G.FONT_3X5[ch]):
            for col in range(3):
                if bits & (4 >> col):
                    for dy in range(scale):
                        for dx in range(scale):
                            c.pixel(tx + col * scale + dx, y + r * scale + dy, colour)
        tx += 4 * scale


def unreadable(g):
    g.disc(8, 8, 7, G.RED, (140, 20, 20))
    g.line([(4.8, 4.8), (11.2, 11.2)], 2.2, WHITE)
    g.line([(11.2, 4.8), (4.8, 11.2)], 2.2, WHITE)


def type_page(c, x0, size, index):
    g = G.Pen(c, x0, 0, size, size)
    G.page(g, 1, 0, 14, 16, fold=4)
    G.picture(g, 3.2, 2.6, 9.6, 6.4, sun=size > 16)
    scale = 2 if size >= 32 else 1
    band_h = 6 * scale + (1 if scale > 1 else 0)
    bx0 = x0 + 2 * scale
    bw = size - 4 * scale
    by0 = size - band_h - scale
    for y in range(by0, by0 + band_h):
        for x in range(bx0, bx0 + bw):
            c.pixel(x, y, BANDS[index])
    text = TYPES[index]
    width = (4 * len(text) - 1) * scale
    label(c, bx0 + (bw - width + 1) // 2, by0 + (band_h - 5 * scale + 1) // 2, text, scale, WHITE)


def padlock(g, x=3, y=1, k=1.0, colour=(214, 168, 40)):
    g.ring(x + 5 * k, y + 5.5 * k, 3.2 * k, 1.6 * k, G.GREY_DARK)
    g.rect(x + 0.5 * k, y + 5.5 * k, 9 * k, 8.5 * k, G.INK)
    g.rect(x + 0.5 * k + g.px, y + 5.5 * k + g.px, 9 * k - 2 * g.px, 8.5 * k - 2 * g.px, colour)
    g.rect(x + 4.4 * k, y + 8.5 * k, 1.2 * k, 3 * k, G.INK)


def strip(size, count):
    c = Canvas(size * count, size, WHITE if size == 16 else FACE)
    for index in range(count):
        x0 = size * index
        g = G.Pen(c, x0, 0, size, size)
        if index == 0:
            unreadable(g)
        elif index <= 12:
            type_page(c, x0, size, index - 1)
        elif index == 13:
            G.page(g, 2, 0, 12, 16, fold=4)
            G.picture(g, 4, 3, 8, 6, sun=False)
        elif index == 14:
            G.folder(g, 0.5, 2, 15, 12)
        elif index == 15:
            padlock(g, 3, 0.5, 1.05)
        elif index == 16:
            G.folder(g, 0.5, 2, 15, 12)
            padlock(g, 7, 6, 0.7)
    return c


# -- animations --------------------------------------------------------------------------------------

def loading_frame(k, n):
    """Pictures flying from a folder into a list: frame k of n."""
    c = Canvas(100, 60, WHITE)
    g = G.Pen(c, 4, 14, 32, 32)
    G.folder(g, 0.5, 2, 15, 12, open_=True)
    for j in range(3):
        t = ((k + j * n / 3.0) % n) / float(n)
        x = 30 + t * 50
        y = 30 - math.sin(t * math.pi) * 22
        G.picture(G.Pen(c, int(x), int(y), 18, 18), 1, 2, 14, 12, sun=True)
    for j in range(5):
        lit = j == k % 5
        colour = G.BLUE if lit else G.GREY_LIGHT
        g2 = G.Pen(c, 30 + j * 12, 50, 8, 8)
        g2.disc(8, 8, 5, colour, colour)
    return c


def locked_frame(k, n):
    """A padlock whose shackle shines as a light sweeps over it."""
    c = Canvas(100, 60, WHITE)
    g = G.Pen(c, 26, 4, 52, 52)
    glow = 0.5 + 0.5 * math.cos(2 * math.pi * k / n)
    body = mix((214, 168, 40), (255, 236, 150), glow)
    padlock(g, 3, 0.5, 1.0, body)
    sweep = 6 + (k / float(n)) * 10
    g.line([(sweep, 7), (sweep + 1.5, 14)], 0.6, WHITE, 0.7)
    return c


def avi(frames, rate=10):
    """An uncompressed 8-bit AVI of the frames (all the same size), one shared palette."""
    w, h = frames[0].w, frames[0].h
    palette = {}
    order = []
    images = []
    for f in frames:
        rows = []
        for y in range(h - 1, -1, -1):
            row = bytearray()
            for x in range(w):
                rgb = f.over(x, y, WHITE)
                # White stays exact: the control's ground around the frame is white.
                key = rgb if rgb == WHITE else (rgb[0] & 0xF8, rgb[1] & 0xF8, rgb[2] & 0xF8)
                if key not in palette:
                    if len(order) < 256:
                        palette[key] = len(order)
                        order.append(key)
                    else:
                        key = min(order, key=lambda p: sum((a - b) ** 2 for a, b in zip(p, key)))
                row.append(palette[key])
            row += b'\0' * ((4 - len(row) % 4) % 4)
            rows.append(bytes(row))
        images.append(b''.join(rows))
    while len(order) < 256:
        order.append((0, 0, 0))
    size = len(images[0])

    def chunk(fourcc, data):
        pad = b'\0' if len(data) % 2 else b''
        return fourcc + struct.pack('<I', len(data)) + data + pad

    def lst(kind, data):
        return b'LIST' + struct.pack('<I', len(data) + 4) + kind + data

    avih = struct.pack('<IIIIIIIIII4I', 1000000 // rate, size * rate, 0, 0x10, len(frames), 0, 1, size, w, h,
                       0, 0, 0, 0)
    strh = (b'vids' + b'DIB ' + struct.pack('<IHHIIIIIIiI', 0, 0, 0, 0, 1, rate, 0, len(frames), size, -1, 0) +
            struct.pack('<4h', 0, 0, w, h))
    bih = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 8, 0, size, 0, 0, 256, 256)
    colours = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in order)
    hdrl = lst(b'hdrl', chunk(b'avih', avih) + lst(b'strl', chunk(b'strh', strh) + chunk(b'strf', bih + colours)))
    movi_data = b''
    index = b''
    offset = 4
    for img in images:
        ck = chunk(b'00db', img)
        index += b'00db' + struct.pack('<III', 0x10, offset, len(img))
        offset += len(ck)
        movi_data += ck
    body = b'AVI ' + hdrl + lst(b'movi', movi_data) + chunk(b'idx1', index)
    return b'RIFF' + struct.pack('<I', len(body)) + body


# -- main --------------------------------------------------------------------------------------------

def main():
    os.makedirs(OUT, exist_ok=True)
    preview = None
    if '--preview' in sys.argv:
        preview = sys.argv[sys.argv.index('--preview') + 1]
        os.makedirs(preview, exist_ok=True)
    shown = []
    for name, c in cards().items():
        with open(os.path.join(OUT, name), 'wb') as f:
            f.write(bmp8(c, WHITE, keep=[WHITE, FACE, (128, 128, 128), (0, 0, 0), (0, 0, 128)]))
        shown.append((name, c))
    for name, size, count, back in (('types32.bmp', 32, 13, FACE), ('types16.bmp', 16, 17, WHITE)):
        c = strip(size, count)
        with open(os.path.join(OUT, name), 'wb') as f:
            f.write(bmp24(c, back))
        shown.append((name, c))
    for name, draw in (('loading.avi', loading_frame), ('locked.avi', locked_frame)):
        frames = [draw(k, 15) for k in range(15)]
        with open(os.path.join(OUT, name), 'wb') as f:
            f.write(avi(frames))
        shown.append((name, frames[0]))
    if preview:
        for name, c in shown:
            with open(os.path.join(preview, os.path.splitext(name)[0] + '.png'), 'wb') as f:
                f.write(png(c, WHITE, 3))


if __name__ == '__main__':
    main()
