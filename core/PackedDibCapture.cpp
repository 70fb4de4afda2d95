// Screen capture, device-bitmap painting and format changes of the packed-DIB family.
#include "core/PackedDib.h"

#include <cstring>
#include <memory>
#include <new>

namespace {

// A LOGPALETTE with room for n entries.
std::unique_ptr<BYTE[]> NewLogPalette(int n)
{
    std::unique_ptr<BYTE[]> block(new (std::nothrow) BYTE[sizeof(LOGPALETTE) + n * sizeof(PALETTEENTRY)]);
    if (block) {
        auto* log = reinterpret_cast<LOGPALETTE*>(block.get());
        log->palVersion = 0x300;
        log->palNumEntries = WORD(n);
    }
    return block;
}

// Header + colour table sized for the bitmap, then the rows fetched with the palette selected.
PackedDIB FetchBitmapBits(HBITMAP hbm, const BITMAPINFOHEADER& header, HPALETTE hpal)
{
    BITMAP bm;
    if (!hbm || !GetObject(hbm, sizeof(bm), &bm))
        return 0;
    if (!hpal)
        hpal = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
    HDC dc = GetDC(0);
    HPALETTE old = SelectPalette(dc, hpal, FALSE);
    RealizePalette(dc);
    PackedDIB dib = AllocDIBForBitmap(header, hbm);
    if (dib) {
        auto* p = static_cast<BITMAPINFOHEADER*>(GlobalLock(dib));
        int ok = p
                 && GetDIBits(dc, hbm, 0, UINT(bm.bmHeight), FindDIBBits(p), reinterpret_cast<BITMAPINFO*>(p),
                              DIB_RGB_COLORS);
        if (p)
            GlobalUnlock(dib);
        if (!ok)
            dib = GlobalFreeHandle(dib);
    }
    SelectPalette(dc, old, TRUE);
    RealizePalette(dc);
    ReleaseDC(0, dc);
    return dib;
}

BITMAPINFOHEADER HeaderFor(LONG width, LONG height, WORD bits, DWORD compression)
{
    BITMAPINFOHEADER h = {};
    h.biSize = sizeof(h);
    h.biWidth = width;
    h.biHeight = height;
    h.biPlanes = 1;
    h.biBitCount = bits;
    h.biCompression = compression;
    return h;
}

} // namespace

HBITMAP CaptureScreenRectBitmap(const RECT* rect)
{
    if (!rect || IsRectEmpty(rect))
        return 0;
    HDC screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    if (!screen)
        return 0;
    int maxX = GetDeviceCaps(screen, HORZRES), maxY = GetDeviceCaps(screen, VERTRES);
    RECT r = *rect;
    r.left = r.left < 0 ? 0 : r.left > maxX ? maxX : r.left;
    r.right = r.right < 0 ? 0 : r.right > maxX ? maxX : r.right;
    r.top = r.top < 0 ? 0 : r.top > maxY ? maxY : r.top;
    r.bottom = r.bottom < 0 ? 0 : r.bottom > maxY ? maxY : r.bottom;
    HBITMAP bitmap = 0;
    int width = r.right - r.left, height = r.bottom - r.top;
    if (width > 0 && height > 0) {
        HDC memory = CreateCompatibleDC(screen);
        bitmap = CreateCompatibleBitmap(screen, width, height);
        if (memory && bitmap) {
            HGDIOBJ old = SelectObject(memory, bitmap);
            BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
            SelectObject(memory, old);
        }
        if (memory)
            DeleteDC(memory);
    }
    DeleteDC(screen);
    return bitmap;
}

HBITMAP CaptureWindowBitmap(HWND hwnd, WORD mode)
{
    if (!hwnd)
        return 0;
    RECT r;
    if (mode == 1) {
        GetWindowRect(hwnd, &r);
    } else if (mode == 2) {
        GetClientRect(hwnd, &r);
        POINT topLeft = {r.left, r.top}, bottomRight = {r.right, r.bottom};
        ClientToScreen(hwnd, &topLeft);
        ClientToScreen(hwnd, &bottomRight);
        r = RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    } else {
        return 0;
    }
    return CaptureScreenRectBitmap(&r);
}

PackedDIB CaptureScreenRectDIB(const RECT* rect)
{
    HBITMAP bitmap = CaptureScreenRectBitmap(rect);
    if (!bitmap)
        return 0;
    HPALETTE palette = GetSystemPalette();
    PackedDIB dib = BitmapToDIB(bitmap, palette);
    DeleteObject(bitmap);
    if (palette)
        DeleteObject(palette);
    return dib;
}

PackedDIB CaptureWindowDIB(HWND hwnd, WORD mode)
{
    if (!hwnd)
        return 0;
    RECT r;
    if (mode == 1) {
        GetWindowRect(hwnd, &r);
    } else if (mode == 2) {
        GetClientRect(hwnd, &r);
        POINT topLeft = {r.left, r.top}, bottomRight = {r.right, r.bottom};
        ClientToScreen(hwnd, &topLeft);
        ClientToScreen(hwnd, &bottomRight);
        r = RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    } else {
        return 0;
    }
    return CaptureScreenRectDIB(&r);
}

BOOL PaintBitmap(HDC hdc, const RECT* dest, HBITMAP hbm, const RECT* src, HPALETTE hpal)
{
    if (!hdc || !dest || !hbm || !src)
        return FALSE;
    HDC memory = CreateCompatibleDC(hdc);
    if (!memory)
        return FALSE;
    HGDIOBJ oldBitmap = SelectObject(memory, hbm);
    HPALETTE oldPalette = 0, oldMemoryPalette = 0;
    if (hpal) {
        oldPalette = SelectPalette(hdc, hpal, TRUE);
        oldMemoryPalette = SelectPalette(memory, hpal, TRUE);
    }
    SetStretchBltMode(hdc, COLORONCOLOR);
    int dw = dest->right - dest->left, dh = dest->bottom - dest->top;
    int sw = src->right - src->left, sh = src->bottom - src->top;
    BOOL ok;
    if (dw == sw && dh == sh)
        ok = BitBlt(hdc, dest->left, dest->top, dw, dh, memory, src->left, src->top, SRCCOPY);
    else
        ok = StretchBlt(hdc, dest->left, dest->top, dw, dh, memory, src->left, src->top, sw, sh, SRCCOPY);
    if (oldMemoryPalette)
        SelectPalette(memory, oldMemoryPalette, TRUE);
    if (oldPalette)
        SelectPalette(hdc, oldPalette, TRUE);
    SelectObject(memory, oldBitmap);
    DeleteDC(memory);
    return ok;
}

int PalEntriesOnDevice(HDC hdc)
{
    int count = GetDeviceCaps(hdc, SIZEPALETTE);
    if (count == 0)
        count = GetDeviceCaps(hdc, NUMCOLORS);
    return count;
}

HPALETTE GetSystemPalette()
{
    HDC dc = GetDC(0);
    int count = PalEntriesOnDevice(dc);
    HPALETTE palette = 0;
    if (count >= 1 && count <= 256) {
        auto block = NewLogPalette(count);
        if (block) {
            auto* log = reinterpret_cast<LOGPALETTE*>(block.get());
            GetSystemPaletteEntries(dc, 0, count, log->palPalEntry);
            for (int i = 0; i < count; ++i)
                log->palPalEntry[i].peFlags = 0;
            palette = CreatePalette(log);
        }
    }
    ReleaseDC(0, dc);
    return palette;
}

PackedDIB ChangeBitmapFormat(HBITMAP hbm, WORD bits, DWORD compression, HPALETTE hpal)
{
    BITMAP bm;
    if (!hbm || !GetObject(hbm, sizeof(bm), &bm))
        return 0;
    switch (bits) {
    case 0:
        if (compression == BI_RLE4)
            bits = 4;
        else if (compression == BI_RLE8)
            bits = 8;
        else
            return 0;
        break;
    case 1:
    case 24:
        if (compression != BI_RGB)
            return 0;
        break;
    case 4:
        if (compression != BI_RGB && compression != BI_RLE4)
            return 0;
        break;
    case 8:
        if (compression != BI_RGB && compression != BI_RLE8)
            return 0;
        break;
    default:
        return 0;
    }
    return FetchBitmapBits(hbm, HeaderFor(bm.bmWidth, bm.bmHeight, bits, compression), hpal);
}

PackedDIB ChangeDIBFormat(PackedDIB dib, WORD bits, DWORD compression)
{
    if (!dib)
        return 0;
    const void* p = GlobalLock(dib);
    if (!p)
        return 0;
    WORD current = *static_cast<const DWORD*>(p) == sizeof(BITMAPINFOHEADER)
                       ? static_cast<const BITMAPINFOHEADER*>(p)->biBitCount
                       : static_cast<const BITMAPCOREHEADER*>(p)->bcBitCount;
    LONG width = LONG(DIBWidth(p)), height = LONG(DIBHeight(p));
    GlobalUnlock(dib);
    WORD target = bits;
    switch (bits) {
    case 0:
        target = current;
        if (!(compression == BI_RGB || (compression == BI_RLE4 && current == 4)
              || (compression == BI_RLE8 && current == 8)))
            return 0;
        break;
    case 1:
    case 24:
        if (compression != BI_RGB)
            return 0;
        break;
    case 4:
        if (compression != BI_RGB && compression != BI_RLE4)
            return 0;
        break;
    case 8:
        if (compression != BI_RGB && compression != BI_RLE8)
            return 0;
        break;
    default:
        return 0;
    }
    HPALETTE palette = CreateDIBPaletteHandle(dib);
    HBITMAP bitmap = DIBToBitmap(dib, palette);
    PackedDIB result = 0;
    if (bitmap) {
        result = FetchBitmapBits(bitmap, HeaderFor(width, height, target, compression), palette);
        DeleteObject(bitmap);
    }
    if (palette)
        DeleteObject(palette);
    return result;
}

HPALETTE CopyPalette(HPALETTE hpal)
{
    WORD count = 0;
    if (!hpal || !GetObject(hpal, sizeof(count), &count) || count == 0)
        return 0;
    auto block = NewLogPalette(count);
    if (!block)
        return 0;
    auto* log = reinterpret_cast<LOGPALETTE*>(block.get());
    GetPaletteEntries(hpal, 0, count, log->palPalEntry);
    return CreatePalette(log);
}

int GetPaletteColors(RGBQUAD* colors, HPALETTE hpal, int n)
{
    if (!colors || n < 2 || n > 256)
        return 0;
    if (n == 2) {
        colors[0].rgbBlue = colors[0].rgbGreen = colors[0].rgbRed = 0;
        colors[1].rgbBlue = colors[1].rgbGreen = colors[1].rgbRed = 255;
        return 2;
    }
    WORD size = 0;
    if (!hpal || !GetObject(hpal, sizeof(size), &size) || size == 0)
        return 0;
    PALETTEENTRY entries[256];
    UINT got = GetPaletteEntries(hpal, 0, size > 256 ? 256 : size, entries);
    int count = 0;
    auto put = [&](const PALETTEENTRY& e) {
        colors[count].rgbBlue = e.peBlue;
        colors[count].rgbGreen = e.peGreen;
        colors[count].rgbRed = e.peRed;
        ++count;
    };
    if (n == 16 && got >= 16) {
        for (UINT i = 0; i < 8; ++i)
            put(entries[i]);
        for (UINT i = got - 8; i < got; ++i)
            put(entries[i]);
        return count;
    }
    for (UINT i = 0; i < got && int(i) < n; ++i)
        put(entries[i]);
    return count;
}

void DrawDIBPixels(HDC hdc, PackedDIB dib, int width, int height)
{
    if (!hdc || !dib)
        return;
    auto* h = static_cast<BITMAPINFOHEADER*>(GlobalLock(dib));
    if (!h)
        return;
    if (h->biSize != sizeof(BITMAPINFOHEADER) || h->biCompression != BI_RGB || h->biHeight <= 0
        || (h->biBitCount != 1 && h->biBitCount != 4 && h->biBitCount != 8 && h->biBitCount != 24)) {
        GlobalUnlock(dib);
        return;
    }
    // A zero count means the full table; writing it changes nothing else.
    if (h->biClrUsed == 0 && (h->biBitCount == 4 || h->biBitCount == 8))
        h->biClrUsed = h->biBitCount == 4 ? 16 : 256;
    const RGBQUAD* table = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<BYTE*>(h) + h->biSize);
    const DWORD colors = DIBNumColors(h);
    const BYTE* bits = FindDIBBits(h);
    const DWORD stride = DIBRowBytes(DWORD(h->biWidth), h->biBitCount);
    if (width > h->biWidth)
        width = h->biWidth;
    if (height > h->biHeight)
        height = h->biHeight;
    for (int y = 0; y < height; ++y) {
        const BYTE* row = bits + ULONGLONG(h->biHeight - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            COLORREF c;
            if (h->biBitCount == 24) {
                c = PALETTERGB(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
            } else {
                DWORD index;
                if (h->biBitCount == 8)
                    index = row[x];
                else if (h->biBitCount == 4)
                    index = (x & 1) ? row[x >> 1] & 15 : row[x >> 1] >> 4;
                else
                    index = (row[x >> 3] >> (7 - (x & 7))) & 1;
                RGBQUAD q = index < colors ? table[index] : RGBQUAD{0, 0, 0, 0};
                c = PALETTERGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
            }
            SetPixel(hdc, x, y, c);
        }
    }
    GlobalUnlock(dib);
}
