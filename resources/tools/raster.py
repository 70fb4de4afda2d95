"""A small anti-aliased rasteriser and the Windows picture formats the program's resources use.

Shapes are polygons in pixel coordinates (y downwards); their coverage is computed on sub-rows with
exact horizontal spans, so edges come out smooth at 16 pixels as well as at 40. Only the Python
standard library is used.
"""

import math
import struct
import zlib

SUBROWS = 5


class Canvas:
    """RGBA pixels, premultiplied floats in 0..1."""

    def __init__(self, width, height, background=None):
        self.w = width
        self.h = height
        self.px = [0.0] * (width * height * 4)
        if background is not None:
            self.rect(0, 0, width, height, background)

    # -- compositing -------------------------------------------------------------------------

    def _blend(self, x, y, rgb, alpha):
        if alpha <= 0.0:
            return
        i = (y * self.w + x) * 4
        p = self.px
        keep = 1.0 - alpha
        p[i] = rgb[0] / 255.0 * alpha + p[i] * keep
        p[i + 1] = rgb[1] / 255.0 * alpha + p[i + 1] * keep
        p[i + 2] = rgb[2] / 255.0 * alpha + p[i + 2] * keep
        p[i + 3] = alpha + p[i + 3] * keep

    def _coverage(self, polygon, y0, y1):
        """Rows y0..y1-1 of coverage for one polygon (even-odd), as {row: {x: cover}}."""
        rows = {}
        edges = []
        n = len(polygon)
        for k in range(n):
            ax, ay = polygon[k]
            bx, by = polygon[(k + 1) % n]
            if ay != by:
                edges.append((ax, ay, bx, by))
        for py in range(y0, y1):
            row = None
            for s in range(SUBROWS):
                sy = py + (s + 0.5) / SUBROWS
                xs = []
                for ax, ay, bx, by in edges:
                    if (ay <= sy < by) or (by <= sy < ay):
                        xs.append(ax + (sy - ay) * (bx - ax) / (by - ay))
                if len(xs) < 2:
                    continue
                xs.sort()
                if row is None:
                    row = {}
                for k in range(0, len(xs) - 1, 2):
                    a = max(xs[k], 0.0)
                    b = min(xs[k + 1], float(self.w))
                    if b <= a:
                        continue
                    for px in range(int(math.floor(a)), int(math.ceil(b))):
                        part = min(b, px + 1.0) - max(a, float(px))
                        if part > 0:
                            row[px] = row.get(px, 0.0) + part / SUBROWS
            if row:
                rows[py] = row
        return rows

    def fill(self, polygons, color, alpha=1.0, evenodd=False):
        """Fills the union of the polygons (or their even-odd combination, for holes).

        color is an (r, g, b) tuple or a function (x, y) -> (r, g, b) evaluated at pixel centres.
        """
        if polygons and isinstance(polygons[0][0], (int, float)):
            polygons = [polygons]
        ys = [p[1] for poly in polygons for p in poly]
        if not ys:
            return
        y0 = max(0, int(math.floor(min(ys))))
        y1 = min(self.h, int(math.ceil(max(ys))))
        if evenodd:
            merged = []
            for poly in polygons:
                merged.append(poly)
            cover = self._coverage_evenodd(merged, y0, y1)
        else:
            cover = {}
            for poly in polygons:
                for py, row in self._coverage(poly, y0, y1).items():
                    target = cover.setdefault(py, {})
                    for px, c in row.items():
                        if c > target.get(px, 0.0):
                            target[px] = c
        for py, row in cover.items():
            for px, c in row.items():
                if 0 <= px < self.w:
                    rgb = color(px + 0.5, py + 0.5) if callable(color) else color
                    self._blend(px, py, rgb, min(c, 1.0) * alpha)

    def _coverage_evenodd(self, polygons, y0, y1):
        combined = []
        for poly in polygons:
            combined.extend(poly)
            combined.append(poly[0])
        # Joining the rings through their first points adds zero-area bridges, which even-odd
        # ignores because each bridge is crossed twice.
        return self._coverage(combined, y0, y1)

    # -- shapes --------------------------------------------------------------------------------

    def rect(self, x, y, w, h, color, alpha=1.0):
        self.fill([(x, y), (x + w, y), (x + w, y + h), (x, y + h)], color, alpha)

    def pixel(self, x, y, color, alpha=1.0):
        if 0 <= x < self.w and 0 <= y < self.h:
            self._blend(int(x), int(y), color, alpha)

    def ellipse(self, cx, cy, rx, ry, color, alpha=1.0):
        self.fill(ellipse_points(cx, cy, rx, ry), color, alpha)

    def ring(self, cx, cy, r_out, r_in, color, alpha=1.0):
        self.fill([ellipse_points(cx, cy, r_out, r_out), ellipse_points(cx, cy, r_in, r_in)[::-1]],
                  color, alpha, evenodd=True)

    def rrect(self, x, y, w, h, r, color, alpha=1.0):
        self.fill(rounded_rect_points(x, y, w, h, r), color, alpha)

    def frame(self, x, y, w, h, t, color, alpha=1.0):
        outer = [(x, y), (x + w, y), (x + w, y + h), (x, y + h)]
        inner = [(x + t, y + t), (x + t, y + h - t), (x + w - t, y + h - t), (x + w - t, y + t)]
        self.fill([outer, inner], color, alpha, evenodd=True)

    def line(self, points, width, color, alpha=1.0, caps=True):
        """A polyline of the given width; round joins and caps when caps is True."""
        polys = []
        half = width / 2.0
        for (ax, ay), (bx, by) in zip(points, points[1:]):
            dx, dy = bx - ax, by - ay
            length = math.hypot(dx, dy)
            if length == 0:
                continue
            nx, ny = -dy / length * half, dx / length * half
            polys.append([(ax + nx, ay + ny), (bx + nx, by + ny), (bx - nx, by - ny), (ax - nx, ay - ny)])
        if caps:
            for (px, py) in points:
                polys.append(ellipse_points(px, py, half, half, 16))
        if polys:
            self.fill(polys, color, alpha)

    # -- pixels out ----------------------------------------------------------------------------

    def rgba(self, x, y):
        """Straight (not premultiplied) 8-bit RGBA of one pixel."""
        i = (y * self.w + x) * 4
        a = self.px[i + 3]
        if a <= 0.0:
            return (0, 0, 0, 0)
        return (_byte(self.px[i] / a), _byte(self.px[i + 1] / a), _byte(self.px[i + 2] / a), _byte(a))

    def over(self, x, y, background):
        """8-bit RGB of one pixel composited over a background colour."""
        i = (y * self.w + x) * 4
        a = self.px[i + 3]
        return tuple(_byte(self.px[i + k] + background[k] / 255.0 * (1.0 - a)) for k in range(3))

    def paste(self, other, x0, y0):
        """Composites another canvas onto this one at (x0, y0)."""
        for y in range(other.h):
            for x in range(other.w):
                tx, ty = x0 + x, y0 + y
                if not (0 <= tx < self.w and 0 <= ty < self.h):
                    continue
                j = (y * other.w + x) * 4
                a = other.px[j + 3]
                if a <= 0.0:
                    continue
                i = (ty * self.w + tx) * 4
                for k in range(3):
                    self.px[i + k] = other.px[j + k] + self.px[i + k] * (1.0 - a)
                self.px[i + 3] = a + self.px[i + 3] * (1.0 - a)


def _byte(v):
    return max(0, min(255, int(round(v * 255.0))))


def ellipse_points(cx, cy, rx, ry, steps=48):
    return [(cx + rx * math.cos(2 * math.pi * k / steps), cy + ry * math.sin(2 * math.pi * k / steps))
            for k in range(steps)]


def arc_points(cx, cy, r, start, end, steps=24):
    """Points of an arc, angles in degrees, counter-clockwise on screen when end > start."""
    return [(cx + r * math.cos(math.radians(start + (end - start) * k / steps)),
             cy - r * math.sin(math.radians(start + (end - start) * k / steps))) for k in range(steps + 1)]


def rounded_rect_points(x, y, w, h, r):
    r = min(r, w / 2.0, h / 2.0)
    pts = []
    for cx, cy, a0 in ((x + w - r, y + r, -90), (x + w - r, y + h - r, 0), (x + r, y + h - r, 90),
                       (x + r, y + r, 180)):
        for k in range(7):
            a = math.radians(a0 + 90 * k / 6)
            pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def mix(c1, c2, t):
    return tuple(int(round(c1[k] + (c2[k] - c1[k]) * t)) for k in range(3))


def vgradient(top, bottom, y0, y1):
    span = max(1e-6, y1 - y0)
    return lambda x, y: mix(top, bottom, min(1.0, max(0.0, (y - y0) / span)))


# -- Windows picture files -----------------------------------------------------------------------

def _bitmap_info(width, height, bits, colors):
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, bits, 0, 0, 2835, 2835, colors, 0)


def _rows(width, height, pixel_bytes):
    """Bottom-up rows, each padded to 4 bytes."""
    out = bytearray()
    for y in range(height - 1, -1, -1):
        row = pixel_bytes(y)
        out += row + b'\0' * ((4 - len(row) % 4) % 4)
    return bytes(out)


def _file_header(info_and_bits, offset):
    return struct.pack('<2sIHHI', b'BM', 14 + len(info_and_bits), 0, 0, 14 + offset)


def bmp24(canvas, background):
    def row(y):
        out = bytearray()
        for x in range(canvas.w):
            r, g, b = canvas.over(x, y, background)
            out += bytes((b, g, r))
        return bytes(out)
    body = _bitmap_info(canvas.w, canvas.h, 24, 0) + _rows(canvas.w, canvas.h, row)
    return _file_header(body, 40) + body


def _nearest(palette, rgb, cache):
    hit = cache.get(rgb)
    if hit is None:
        best = 0
        best_d = 1 << 30
        for k, (r, g, b) in enumerate(palette):
            d = (r - rgb[0]) ** 2 * 3 + (g - rgb[1]) ** 2 * 4 + (b - rgb[2]) ** 2 * 2
            if d < best_d:
                best, best_d = k, d
        cache[rgb] = hit = best
    return hit


def _bmp_indexed(canvas, background, palette, bits, dither=False):
    cache = {}
    bayer = ((0, 8, 2, 10), (12, 4, 14, 6), (3, 11, 1, 9), (15, 7, 13, 5))

    def index(x, y):
        rgb = canvas.over(x, y, background)
        if dither:
            t = (bayer[y % 4][x % 4] - 7.5) * 4
            rgb = tuple(max(0, min(255, int(c + t))) for c in rgb)
        return _nearest(palette, rgb, cache)

    def row(y):
        idx = [index(x, y) for x in range(canvas.w)]
        if bits == 8:
            return bytes(idx)
        out = bytearray()
        for x in range(0, len(idx), 2):
            hi = idx[x]
            lo = idx[x + 1] if x + 1 < len(idx) else 0
            out.append((hi << 4) | lo)
        return bytes(out)

    table = b''.join(bytes((b, g, r, 0)) for (r, g, b) in palette)
    table += b'\0' * (4 * ((1 << bits) - len(palette)))
    body = _bitmap_info(canvas.w, canvas.h, bits, 1 << bits) + table + _rows(canvas.w, canvas.h, row)
    return _file_header(body, 40 + len(table)) + body


# The 16 colours every Windows display has.
VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
         (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
         (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def bmp4(canvas, background, dither=True):
    return _bmp_indexed(canvas, background, VGA16, 4, dither)


def bmp8(canvas, background, keep=()):
    """An 8-bit picture whose palette holds the 20 system colours, the given colours kept exactly
    (the button face, the mask colour) and the most used of the remaining colours."""
    counts = {}
    for y in range(canvas.h):
        for x in range(canvas.w):
            rgb = canvas.over(x, y, background)
            key = (rgb[0] >> 2, rgb[1] >> 2, rgb[2] >> 2)
            counts[key] = counts.get(key, 0) + 1
    palette = list(VGA16)
    for c in keep:
        if c not in palette:
            palette.append(c)
    for key, _ in sorted(counts.items(), key=lambda kv: -kv[1]):
        if len(palette) >= 256:
            break
        rgb = tuple(min(255, (v << 2) | (v >> 4)) for v in key)
        if rgb not in palette:
            palette.append(rgb)
    return _bmp_indexed(canvas, background, palette, 8)


def _icon_image(canvas):
    """The image of one icon or cursor entry: 32-bit BGRA rows and the AND mask."""
    def color_row(y):
        out = bytearray()
        for x in range(canvas.w):
            r, g, b, a = canvas.rgba(x, y)
            out += bytes((b, g, r, a))
        return bytes(out)

    def mask_row(y):
        out = bytearray((canvas.w + 7) // 8)
        for x in range(canvas.w):
            if canvas.rgba(x, y)[3] < 128:
                out[x // 8] |= 0x80 >> (x % 8)
        return bytes(out)

    info = struct.pack('<IiiHHIIiiII', 40, canvas.w, canvas.h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    return info + _rows(canvas.w, canvas.h, color_row) + _rows(canvas.w, canvas.h, mask_row)


def _icon_file(kind, entries):
    """entries: list of (canvas, hotspot or None)."""
    images = [_icon_image(c) for c, _ in entries]
    out = struct.pack('<HHH', 0, kind, len(entries))
    offset = 6 + 16 * len(entries)
    for (c, hotspot), image in zip(entries, images):
        if kind == 1:
            planes, bits = 1, 32
        else:
            planes, bits = hotspot
        out += struct.pack('<BBBBHHII', c.w % 256, c.h % 256, 0, 0, planes, bits, len(image), offset)
        offset += len(image)
    return out + b''.join(images)


def ico(canvases):
    return _icon_file(1, [(c, None) for c in canvases])


def cur(canvas, hotspot):
    return _icon_file(2, [(canvas, hotspot)])


def png(canvas, background=None, scale=1):
    """A PNG of the canvas, for looking at the pictures; transparent unless a background is given."""
    raw = bytearray()
    for y in range(canvas.h * scale):
        raw.append(0)
        for x in range(canvas.w * scale):
            sx, sy = x // scale, y // scale
            if background is None:
                raw += bytes(canvas.rgba(sx, sy))
            else:
                raw += bytes(canvas.over(sx, sy, background)) + b'\xff'

    def chunk(tag, data):
        return struct.pack('>I', len(data)) + tag + data + struct.pack('>I', zlib.crc32(tag + data) & 0xFFFFFFFF)

    header = struct.pack('>IIBBBBB', canvas.w * scale, canvas.h * scale, 8, 6, 0, 0, 0)
    return b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + \
        chunk(b'IEND', b'')
