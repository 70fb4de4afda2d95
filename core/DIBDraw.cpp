// CDIB drawing: fitted, stretched, by frames and by parts, directly through GDI or resized first.
#include "core/DIB.h"

#include "core/DibSource.h"
#include "core/FileUtil.h"
#include "core/Palette.h"
#include "core/Resize.h"
#include "framework/Dc.h"

namespace {

// The largest rectangle of a w x h picture's proportions inside box, centred (integer halves).
CRect FitRect(ULONGLONG w, ULONGLONG h, const CRect& box)
{
    const LONGLONG bw = box.Width(), bh = box.Height();
    if (w == 0 || h == 0 || bw <= 0 || bh <= 0)
        return CRect(box.left, box.top, box.left, box.top);
    LONGLONG drawnWidth, drawnHeight;
    const LONGLONG h1 = LONGLONG(h * ULONGLONG(bw) / w);
    if (h1 <= bh) {
        drawnWidth = bw;
        drawnHeight = h1;
    } else {
        drawnWidth = LONGLONG(w * ULONGLONG(bh) / h);
        drawnHeight = bh;
    }
    const LONG left = LONG(box.left + (bw - drawnWidth) / 2);
    const LONG top = LONG(box.top + (bh - drawnHeight) / 2);
    return CRect(left, top, LONG(left + drawnWidth), LONG(top + drawnHeight));
}

// A new 24-bit picture of the src rectangle (top-down coordinates) of a 1-, 4-, 8- or 24-bit picture.
PackedDIB Crop24(PackedDIB dib, const CRect& src)
{
    DibSource source(dib);
    if (!source.Ok() || src.left < 0 || src.top < 0 || src.right > source.Width()
        || src.bottom > source.Height() || src.Width() <= 0 || src.Height() <= 0)
        return 0;
    PackedDIB result = CreateDIB(DWORD(src.Width()), DWORD(src.Height()), 24);
    BYTE* block = result ? static_cast<BYTE*>(GlobalLock(result)) : nullptr;
    if (!block)
        return GlobalFreeHandle(result);
    BYTE* rows = FindDIBBits(block);
    const DWORD stride = DIBRowBytes(DWORD(src.Width()), 24);
    const RGBQUAD* colors = source.Colors();
    for (int y = 0; y < src.Height(); ++y) {
        const BYTE* in = source.Row(source.Height() - 1 - (src.top + y));
        BYTE* out = rows + size_t(src.Height() - 1 - y) * stride;
        for (int x = 0; x < src.Width(); ++x) {
            const int sx = src.left + x;
            RGBQUAD c;
            switch (source.BitCount()) {
            case 24:
                c = RGBQUAD{in[3 * sx], in[3 * sx + 1], in[3 * sx + 2], 0};
                break;
            case 8:
                c = colors[in[sx]];
                break;
            case 4:
                c = colors[(sx & 1) ? (in[sx >> 1] & 15) : (in[sx >> 1] >> 4)];
                break;
            default:
                c = colors[(in[sx >> 3] >> (7 - (sx & 7))) & 1];
                break;
            }
            out[3 * x] = c.rgbBlue;
            out[3 * x + 1] = c.rgbGreen;
            out[3 * x + 2] = c.rgbRed;
        }
    }
    GlobalUnlock(result);
    return result;
}

PaletteMode ScreenRampMode() { return GetScreenBitsPerPixel() < 5 ? kPaletteR1G1B1 : kPaletteR2G3B2; }

} // namespace

void CDIB::DrawRect(CDC* pDC, const CRect& src, const CRect& dest, BOOL resample, int mode)
{
    if (!pDC || !m_hDIB || dest.Width() <= 0 || dest.Height() <= 0 || src.Width() <= 0 || src.Height() <= 0)
        return;
    HDC hdc = pDC->GetSafeHdc();
    if (!resample) {
        HPALETTE palette = static_cast<HPALETTE>(m_palette.GetSafeHandle());
        HPALETTE old = palette ? SelectPalette(hdc, palette, FALSE) : nullptr;
        if (palette)
            RealizePalette(hdc);
        PaintDIB(hdc, dest, m_hDIB, src, palette);
        if (old)
            SelectPalette(hdc, old, TRUE);
        return;
    }
    // Resized by the program to exactly the destination's size, then painted 1:1. The resizers take
    // 1, 4, 8 and 24 bits, and whole pictures: 16/32-bit pictures and parts go through 24-bit copies.
    PackedDIB wide = ConvertDIBTo24Bit(m_hDIB);
    PackedDIB whole = wide ? wide : m_hDIB;
    PackedDIB part = nullptr;
    if (src != CRect(0, 0, LONG(Width()), LONG(Height())))
        part = Crop24(whole, src);
    PackedDIB source = part ? part : whole;
    PackedDIB sized;
    if (mode == 0 && GetScreenBitsPerPixel() > 8)
        sized = ResizeDIBTo24Bit(source, dest.Width(), dest.Height());
    else
        sized = ResizeDIBTo8Bit(source, dest.Width(), dest.Height(), mode ? mode : ScreenRampMode());
    GlobalFreeHandle(part);
    GlobalFreeHandle(wide);
    if (!sized)
        return;
    HPALETTE palette = CreateDIBPaletteHandle(sized);
    HPALETTE old = palette ? SelectPalette(hdc, palette, FALSE) : nullptr;
    if (palette)
        RealizePalette(hdc);
    const CRect sizedRect(0, 0, dest.Width(), dest.Height());
    PaintDIB(hdc, dest, sized, sizedRect, palette);
    if (old)
        SelectPalette(hdc, old, TRUE);
    if (palette)
        DeleteObject(palette);
    GlobalFreeHandle(sized);
}

BOOL CDIB::UsesDirectPath(BOOL resample) const
{
    return !resample && (GetScreenBitsPerPixel() > 8 || NumColors() > 0);
}

void CDIB::DrawScaled(CDC* pDC, CRect box, BOOL resample, RECT* outDest)
{
    if (!m_hDIB)
        return;
    const DWORD w = Width(), h = Height();
    const CRect dest = FitRect(w, h, box);
    if (outDest)
        *outDest = dest;
    DrawRect(pDC, CRect(0, 0, LONG(w), LONG(h)), dest, !UsesDirectPath(resample));
}

void CDIB::DrawFit(CDC* pDC, CRect box)
{
    if (!m_hDIB)
        return;
    const DWORD w = Width(), h = Height();
    DrawRect(pDC, CRect(0, 0, LONG(w), LONG(h)), FitRect(w, h, box), FALSE);
}

int CDIB::Paint(CDC* pDC, const RECT* src, const RECT* dest, CPalette* palette)
{
    if (!pDC)
        return 0;
    return PaintDIB(pDC->GetSafeHdc(), dest, m_hDIB, src,
                    palette ? static_cast<HPALETTE>(palette->GetSafeHandle()) : nullptr);
}

void CDIB::Draw(CDC* pDC, CRect dest, CPoint srcOrigin, HPALETTE palette)
{
    if (!pDC || !m_hDIB)
        return;
    const CRect src(srcOrigin.x, srcOrigin.y, srcOrigin.x + LONG(Width()), srcOrigin.y + LONG(Height()));
    PaintDIB(pDC->GetSafeHdc(), dest, m_hDIB, src, palette);
}

void CDIB::DrawStretched(CDC* pDC, CRect dest, BOOL resample)
{
    if (!m_hDIB)
        return;
    DrawRect(pDC, CRect(0, 0, LONG(Width()), LONG(Height())), dest, !UsesDirectPath(resample));
}

void CDIB::DrawFrameFit(CDC* pDC, CRect box, int count, int index)
{
    if (!m_hDIB || count <= 0)
        return;
    if (index > count - 1)
        index = count - 1;
    if (index < 0)
        index = 0;
    const LONG frameWidth = LONG(Width() / DWORD(count));
    const LONG height = LONG(Height());
    const CRect src(index * frameWidth, 0, (index + 1) * frameWidth, height);
    DrawRect(pDC, src, FitRect(DWORD(frameWidth), DWORD(height), box), FALSE);
}

void CDIB::DrawPartFit(CDC* pDC, CRect box, BOOL resample, int rows)
{
    if (!m_hDIB)
        return;
    const LONG width = LONG(Width());
    if (rows > LONG(Height()))
        rows = LONG(Height());
    if (rows <= 0)
        return;
    const CRect src(0, 0, width, rows);
    DrawRect(pDC, src, FitRect(DWORD(width), DWORD(rows), box), resample, resample ? kPaletteDefault : 0);
}
