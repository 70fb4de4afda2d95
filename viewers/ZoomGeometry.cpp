// Zoom steps and drawing rectangles of the picture views.
#include "viewers/ZoomGeometry.h"

#include <algorithm>

namespace {

int BandBase(int zoom)
{
    if (zoom < 50)
        return 0;
    if (zoom < 100)
        return 50;
    if (zoom < 200)
        return 100;
    if (zoom < 500)
        return 200;
    if (zoom < 1000)
        return 500;
    return 1000;
}

// Products of picture sizes and zooms go past 32 bits for large pictures.
int Scale(long long value, long long num, long long den)
{
    return den == 0 ? 0 : static_cast<int>(value * num / den);
}

} // namespace

int ZoomBandStep(int zoom)
{
    if (zoom < 50)
        return 10;
    if (zoom < 100)
        return 20;
    if (zoom < 200)
        return 50;
    if (zoom < 500)
        return 100;
    if (zoom < 1000)
        return 200;
    return 500;
}

int ZoomInBand(int zoom)
{
    int step = ZoomBandStep(zoom);
    int base = BandBase(zoom);
    int n = std::min(zoom + step, kZoomMax);
    return base + ((n - base) / step) * step;
}

int ZoomOutBand(int zoom)
{
    int step = ZoomBandStep(zoom);
    int n = zoom - step;
    if (n < 11)
        n = 10;
    n = (n / step) * step;
    // Below 10 (reached by the fine steps) "out" must not jump back up to 10.
    return std::max(kZoomMin, std::min(n, zoom));
}

int ZoomInFine(int zoom)
{
    int step = std::max(1, zoom / 20);
    return std::min(zoom + step, kZoomMax);
}

int ZoomOutFine(int zoom)
{
    int step = std::max(1, zoom / 20);
    int n = zoom - step;
    return n < 2 ? 1 : n;
}

RECT ProportionalRect(int cw, int ch, int w, int h)
{
    RECT r = {0, 0, 0, 0};
    if (w <= 0 || h <= 0 || cw <= 0 || ch <= 0)
        return r;
    int dw, dh;
    if (Scale(h, cw, w) > ch) {
        dw = Scale(w, ch, h);
        dh = ch;
    } else {
        dw = cw;
        dh = Scale(h, cw, w);
    }
    r.left = (cw - dw) / 2;
    r.top = (ch - dh) / 2;
    r.right = r.left + dw;
    r.bottom = r.top + dh;
    return r;
}

ZoomLayout ComputeZoomLayout(int cw, int ch, int w, int h, int zoom)
{
    ZoomLayout l;
    l.zw = Scale(w, zoom, 100);
    l.zh = Scale(h, zoom, 100);
    l.ox = std::max(0, (cw - l.zw) / 2);
    l.oy = std::max(0, (ch - l.zh) / 2);
    return l;
}

BOOL ZoomedSourceRect(const RECT& update, POINT scroll, const ZoomLayout& layout, int w, int h, int zoom,
                      RECT* src, RECT* dest)
{
    if (zoom <= 0 || w <= 0 || h <= 0)
        return FALSE;
    RECT u = update;
    ::OffsetRect(&u, scroll.x, scroll.y);
    RECT p = {layout.ox, layout.oy, layout.ox + layout.zw, layout.oy + layout.zh};
    RECT part;
    if (!::IntersectRect(&part, &u, &p))
        return FALSE;
    ::OffsetRect(&part, -layout.ox, -layout.oy);
    RECT s = {Scale(part.left, 100, zoom) - 1, Scale(part.top, 100, zoom) - 1,
              Scale(part.right, 100, zoom) + 3, Scale(part.bottom, 100, zoom) + 1};
    RECT whole = {0, 0, w, h};
    if (!::IntersectRect(src, &s, &whole))
        return FALSE;
    dest->left = Scale(src->left, zoom, 100) + layout.ox - scroll.x;
    dest->top = Scale(src->top, zoom, 100) + layout.oy - scroll.y;
    dest->right = Scale(src->right, zoom, 100) + layout.ox - scroll.x;
    dest->bottom = Scale(src->bottom, zoom, 100) + layout.oy - scroll.y;
    return TRUE;
}
