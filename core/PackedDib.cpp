// Creating, measuring, painting and copying packed DIBs.
#include "core/PackedDib.h"

#include <cstring>

namespace {

// The 16 standard colours, as RGBQUAD (blue, green, red, 0).
const RGBQUAD kStandardColors[16] = {
    {0, 0, 0, 0},       {0, 0, 128, 0},   {0, 128, 0, 0},   {0, 128, 128, 0},
    {128, 0, 0, 0},     {128, 0, 128, 0}, {128, 128, 0, 0}, {192, 192, 192, 0},
    {128, 128, 128, 0}, {0, 0, 255, 0},   {0, 255, 0, 0},   {0, 255, 255, 0},
    {255, 0, 0, 0},     {255, 0, 255, 0}, {255, 255, 0, 0}, {255, 255, 255, 0},
};

bool IsInfoHeader(const void* dib) { return *static_cast<const DWORD*>(dib) == sizeof(BITMAPINFOHEADER); }

WORD RoundBitCount(WORD bits)
{
    if (bits < 2)
        return 1;
    if (bits <= 4)
        return 4;
    if (bits <= 8)
        return 8;
    if (bits <= 16)
        return 16;
    if (bits <= 24)
        return 24;
    if (bits <= 32)
        return 32;
    return 4;
}

} // namespace

DWORD DIBRowBytes(DWORD width, WORD bits)
{
    ULONGLONG bytes = ((ULONGLONG(width) * bits + 31) & ~ULONGLONG(31)) / 8;
    return bytes > 0xFFFFFFFFull ? 0 : DWORD(bytes);
}

ULONGLONG PackedDIBBytes(DWORD width, DWORD height, WORD bits, DWORD colors)
{
    ULONGLONG row = ((ULONGLONG(width) * bits + 31) & ~ULONGLONG(31)) / 8;
    return sizeof(BITMAPINFOHEADER) + ULONGLONG(colors) * sizeof(RGBQUAD) + row * height;
}

PackedDIB CreateDIB(DWORD width, DWORD height, WORD bits)
{
    bits = RoundBitCount(bits);
    if (width > 0x7FFFFFFF || height > 0x7FFFFFFF)
        return 0;
    DWORD colors = bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0;
    ULONGLONG bytes = PackedDIBBytes(width, height, bits, colors);
    if (bytes > kMaxPackedDIBBytes)
        return 0;
    HGLOBAL handle = GlobalAlloc(GHND, SIZE_T(bytes));
    if (!handle)
        return 0;
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(handle));
    if (!header) {
        GlobalFree(handle);
        return 0;
    }
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = LONG(width);
    header->biHeight = LONG(height);
    header->biPlanes = 1;
    header->biBitCount = bits;
    header->biClrUsed = colors;
    auto* table = reinterpret_cast<RGBQUAD*>(header + 1);
    for (DWORD group = 0; group < colors / 16; ++group)
        memcpy(table + group * 16, kStandardColors, sizeof(kStandardColors));
    GlobalUnlock(handle);
    return handle;
}

BYTE* FindDIBBits(void* dib)
{
    return static_cast<BYTE*>(dib) + *static_cast<const DWORD*>(dib) + PaletteSize(dib);
}

const BYTE* FindDIBBits(const void* dib)
{
    return static_cast<const BYTE*>(dib) + *static_cast<const DWORD*>(dib) + PaletteSize(dib);
}

DWORD DIBWidth(const void* dib)
{
    if (IsInfoHeader(dib))
        return DWORD(static_cast<const BITMAPINFOHEADER*>(dib)->biWidth);
    return static_cast<const BITMAPCOREHEADER*>(dib)->bcWidth;
}

DWORD DIBHeight(const void* dib)
{
    if (IsInfoHeader(dib))
        return DWORD(static_cast<const BITMAPINFOHEADER*>(dib)->biHeight);
    return static_cast<const BITMAPCOREHEADER*>(dib)->bcHeight;
}

WORD DIBNumColors(const void* dib)
{
    WORD bits;
    if (IsInfoHeader(dib)) {
        const auto* header = static_cast<const BITMAPINFOHEADER*>(dib);
        if (header->biClrUsed != 0)
            return WORD(header->biClrUsed);
        bits = header->biBitCount;
    } else {
        bits = static_cast<const BITMAPCOREHEADER*>(dib)->bcBitCount;
    }
    switch (bits) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

WORD PaletteSize(const void* dib)
{
    WORD entry = IsInfoHeader(dib) ? sizeof(RGBQUAD) : sizeof(RGBTRIPLE);
    return WORD(DIBNumColors(dib) * entry);
}

WORD DIBNumColorsHandle(PackedDIB dib)
{
    if (!dib)
        return 0;
    const void* p = GlobalLock(dib);
    if (!p)
        return 0;
    WORD colors = DIBNumColors(p);
    GlobalUnlock(dib);
    return colors;
}

HPALETTE CreateDIBPaletteHandle(PackedDIB dib)
{
    if (!dib)
        return 0;
    const BYTE* p = static_cast<const BYTE*>(GlobalLock(dib));
    if (!p)
        return 0;
    HPALETTE palette = 0;
    WORD colors = DIBNumColors(p);
    if (colors > 0) {
        HGLOBAL block = GlobalAlloc(GHND, sizeof(LOGPALETTE) + colors * sizeof(PALETTEENTRY));
        auto* log = block ? static_cast<LOGPALETTE*>(GlobalLock(block)) : nullptr;
        if (log) {
            log->palVersion = 0x300;
            log->palNumEntries = colors;
            const BYTE* table = p + *reinterpret_cast<const DWORD*>(p);
            bool info = IsInfoHeader(p);
            for (WORD i = 0; i < colors; ++i) {
                const BYTE* entry = table + i * (info ? sizeof(RGBQUAD) : sizeof(RGBTRIPLE));
                log->palPalEntry[i].peRed = entry[2];
                log->palPalEntry[i].peGreen = entry[1];
                log->palPalEntry[i].peBlue = entry[0];
                log->palPalEntry[i].peFlags = 0;
            }
            palette = CreatePalette(log);
            GlobalUnlock(block);
        }
        if (block)
            GlobalFree(block);
    }
    GlobalUnlock(dib);
    return palette;
}

int PaintDIB(HDC hdc, const RECT* dest, PackedDIB dib, const RECT* src, HPALETTE hpal)
{
    if (!dib || !hdc || !dest || !src)
        return 0;
    void* p = GlobalLock(dib);
    if (!p)
        return 0;
    const BYTE* bits = FindDIBBits(p);
    const auto* info = static_cast<const BITMAPINFO*>(p);
    HPALETTE oldPalette = 0;
    if (hpal) {
        oldPalette = SelectPalette(hdc, hpal, TRUE);
        RealizePalette(hdc);
    }
    SetStretchBltMode(hdc, COLORONCOLOR);
    int destWidth = dest->right - dest->left;
    int destHeight = dest->bottom - dest->top;
    int srcWidth = src->right - src->left;
    int srcHeight = src->bottom - src->top;
    int height = int(DIBHeight(p));
    // The source rectangle is top-down; GDI counts source rows from the bottom.
    int srcY = height - src->bottom;
    int result;
    if (destWidth == srcWidth && destHeight == srcHeight) {
        result = SetDIBitsToDevice(hdc, dest->left, dest->top, destWidth, destHeight, src->left, srcY, 0,
                                   UINT(height), bits, info, DIB_RGB_COLORS);
    } else {
        result = StretchDIBits(hdc, dest->left, dest->top, destWidth, destHeight, src->left, srcY, srcWidth,
                               srcHeight, bits, info, DIB_RGB_COLORS, SRCCOPY);
    }
    GlobalUnlock(dib);
    if (oldPalette)
        SelectPalette(hdc, oldPalette, FALSE);
    return result;
}

HBITMAP DIBToBitmap(PackedDIB dib, HPALETTE hpal)
{
    if (!dib)
        return 0;
    void* p = GlobalLock(dib);
    if (!p)
        return 0;
    HDC dc = GetDC(0);
    HPALETTE oldPalette = hpal ? SelectPalette(dc, hpal, FALSE) : 0;
    RealizePalette(dc);
    HBITMAP bitmap = CreateDIBitmap(dc, static_cast<const BITMAPINFOHEADER*>(p), CBM_INIT, FindDIBBits(p),
                                    static_cast<const BITMAPINFO*>(p), DIB_RGB_COLORS);
    if (oldPalette)
        SelectPalette(dc, oldPalette, FALSE);
    ReleaseDC(0, dc);
    GlobalUnlock(dib);
    return bitmap;
}

PackedDIB AllocDIBForBitmap(const BITMAPINFOHEADER& header, HBITMAP hbm)
{
    if (!hbm)
        return 0;
    BITMAPINFOHEADER bi = header;
    bi.biSize = sizeof(BITMAPINFOHEADER);
    DWORD colors = bi.biClrUsed ? bi.biClrUsed : (bi.biBitCount <= 8 ? (1u << bi.biBitCount) : 0);
    if (colors > 256)
        return 0;
    // BI_BITFIELDS masks follow the header, counted as three colour-table entries.
    if (bi.biCompression == BI_BITFIELDS && colors == 0)
        colors = 3;
    DWORD tableBytes = colors * sizeof(RGBQUAD);
    HGLOBAL handle = GlobalAlloc(GHND, sizeof(BITMAPINFOHEADER) + tableBytes);
    if (!handle)
        return 0;
    auto* p = static_cast<BITMAPINFOHEADER*>(GlobalLock(handle));
    if (!p) {
        GlobalFree(handle);
        return 0;
    }
    *p = bi;
    HDC dc = GetDC(0);
    int ok = GetDIBits(dc, hbm, 0, UINT(bi.biHeight < 0 ? -bi.biHeight : bi.biHeight), nullptr,
                       reinterpret_cast<BITMAPINFO*>(p), DIB_RGB_COLORS);
    ReleaseDC(0, dc);
    bi = *p;
    GlobalUnlock(handle);
    if (!ok) {
        GlobalFree(handle);
        return 0;
    }
    DWORD image = bi.biSizeImage;
    if (image == 0) {
        ULONGLONG rows = ULONGLONG(DIBRowBytes(DWORD(bi.biWidth), bi.biBitCount))
                         * DWORD(bi.biHeight < 0 ? -bi.biHeight : bi.biHeight);
        if (rows > kMaxPackedDIBBytes) {
            GlobalFree(handle);
            return 0;
        }
        image = DWORD(rows);
        if ((p = static_cast<BITMAPINFOHEADER*>(GlobalLock(handle))) != nullptr) {
            p->biSizeImage = image;
            GlobalUnlock(handle);
        }
    }
    if (ULONGLONG(image) + sizeof(BITMAPINFOHEADER) + tableBytes > kMaxPackedDIBBytes) {
        GlobalFree(handle);
        return 0;
    }
    HGLOBAL bigger = GlobalReAlloc(handle, sizeof(BITMAPINFOHEADER) + tableBytes + image, GMEM_MOVEABLE);
    if (!bigger) {
        GlobalFree(handle);
        return 0;
    }
    return bigger;
}

PackedDIB BitmapToDIB(HBITMAP hbm, HPALETTE hpal)
{
    BITMAP bm;
    if (!hbm || !GetObject(hbm, sizeof(bm), &bm))
        return 0;
    if (!hpal)
        hpal = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
    WORD bits = WORD(bm.bmPlanes * bm.bmBitsPixel);
    bits = bits < 2 ? 1 : bits <= 4 ? 4 : bits <= 8 ? 8 : 24;
    BITMAPINFOHEADER bi = {};
    bi.biSize = sizeof(BITMAPINFOHEADER);
    bi.biWidth = bm.bmWidth;
    bi.biHeight = bm.bmHeight;
    bi.biPlanes = 1;
    bi.biBitCount = bits;
    bi.biCompression = BI_RGB;

    HDC dc = GetDC(0);
    HPALETTE oldPalette = SelectPalette(dc, hpal, FALSE);
    RealizePalette(dc);
    PackedDIB dib = AllocDIBForBitmap(bi, hbm);
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
    SelectPalette(dc, oldPalette, TRUE);
    RealizePalette(dc);
    ReleaseDC(0, dc);
    return dib;
}

HGLOBAL GlobalFreeHandle(HGLOBAL handle)
{
    if (handle)
        GlobalFree(handle);
    return 0;
}

int UnlockResourceData(void*) { return 0; }

PackedDIB LoadDIBResource(HINSTANCE instance, LPCSTR name)
{
    HRSRC resource = FindResourceA(instance, name, MAKEINTRESOURCEA(2)); // RT_BITMAP
    if (!resource)
        return 0;
    DWORD size = SizeofResource(instance, resource);
    HGLOBAL loaded = LoadResource(instance, resource);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data || size < sizeof(BITMAPINFOHEADER))
        return 0;
    HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE, size);
    void* p = handle ? GlobalLock(handle) : nullptr;
    if (p) {
        memcpy(p, data, size);
        GlobalUnlock(handle);
    } else if (handle) {
        handle = GlobalFreeHandle(handle);
    }
    UnlockResourceData(const_cast<void*>(data));
    FreeResource(loaded);
    return handle;
}

int SetDIBColorsFromPalette(BITMAPINFOHEADER* header, HPALETTE hpal, UINT usage)
{
    if (!header)
        return 0;
    DWORD count = header->biClrUsed;
    if (count == 0 && header->biBitCount <= 8)
        count = 1u << header->biBitCount;
    if (count == 3 && header->biCompression == BI_BITFIELDS)
        count = 0;
    if (count < 1)
        return 1;
    BYTE* table = reinterpret_cast<BYTE*>(header) + header->biSize;
    if (usage == DIB_PAL_COLORS) {
        WORD* indices = reinterpret_cast<WORD*>(table);
        for (DWORD i = 0; i < count; ++i)
            indices[i] = WORD(i);
        return 1;
    }
    if (!hpal)
        hpal = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
    if (count > 256)
        count = 256;
    PALETTEENTRY entries[256] = {};
    GetPaletteEntries(hpal, 0, count, entries);
    RGBQUAD* quads = reinterpret_cast<RGBQUAD*>(table);
    for (DWORD i = 0; i < count; ++i) {
        quads[i].rgbBlue = entries[i].peBlue;
        quads[i].rgbGreen = entries[i].peGreen;
        quads[i].rgbRed = entries[i].peRed;
        quads[i].rgbReserved = 0;
    }
    return 1;
}

HGLOBAL CopyGlobalHandle(HGLOBAL handle)
{
    if (!handle)
        return 0;
    SIZE_T size = GlobalSize(handle);
    const void* src = GlobalLock(handle);
    if (!src)
        return 0;
    HGLOBAL copy = GlobalAlloc(GHND, size);
    void* dest = copy ? GlobalLock(copy) : nullptr;
    if (dest) {
        memcpy(dest, src, size);
        GlobalUnlock(copy);
    } else if (copy) {
        copy = GlobalFreeHandle(copy);
    }
    GlobalUnlock(handle);
    return copy;
}

HBITMAP CopyBitmapRect(HBITMAP hbm, const RECT* rect)
{
    BITMAP bm;
    if (!hbm || !rect || !GetObject(hbm, sizeof(bm), &bm))
        return 0;
    int width = rect->right - rect->left;
    int height = rect->bottom - rect->top;
    if (width <= 0 || height <= 0)
        return 0;
    HDC screen = GetDC(0);
    HDC srcDC = CreateCompatibleDC(screen);
    HDC destDC = CreateCompatibleDC(screen);
    HBITMAP copy = CreateBitmap(width, height, bm.bmPlanes, bm.bmBitsPixel, nullptr);
    if (copy && srcDC && destDC) {
        HGDIOBJ oldSrc = SelectObject(srcDC, hbm);
        HGDIOBJ oldDest = SelectObject(destDC, copy);
        BitBlt(destDC, 0, 0, width, height, srcDC, rect->left, rect->top, SRCCOPY);
        SelectObject(srcDC, oldSrc);
        SelectObject(destDC, oldDest);
    }
    if (srcDC)
        DeleteDC(srcDC);
    if (destDC)
        DeleteDC(destDC);
    ReleaseDC(0, screen);
    return copy;
}

HBITMAP CopyBitmap(HBITMAP hbm)
{
    BITMAP bm;
    if (!hbm || !GetObject(hbm, sizeof(bm), &bm))
        return 0;
    RECT whole = {0, 0, bm.bmWidth, bm.bmHeight};
    return CopyBitmapRect(hbm, &whole);
}

PackedDIB ConvertDIBTo24Bit(PackedDIB dib)
{
    if (!dib)
        return 0;
    const SIZE_T size = GlobalSize(dib);
    const auto* h = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
    if (!h)
        return 0;
    PackedDIB result = 0;
    if (size >= sizeof(BITMAPINFOHEADER) && h->biSize == sizeof(BITMAPINFOHEADER)
        && h->biCompression == BI_RGB && (h->biBitCount == 16 || h->biBitCount == 32) && h->biWidth > 0
        && h->biHeight > 0
        && PackedDIBBytes(DWORD(h->biWidth), DWORD(h->biHeight), h->biBitCount, DIBNumColors(h)) <= size) {
        const DWORD width = DWORD(h->biWidth), height = DWORD(h->biHeight);
        result = CreateDIB(width, height, 24);
        BYTE* out = result ? static_cast<BYTE*>(GlobalLock(result)) : nullptr;
        if (out) {
            auto* outHeader = reinterpret_cast<BITMAPINFOHEADER*>(out);
            outHeader->biXPelsPerMeter = h->biXPelsPerMeter;
            outHeader->biYPelsPerMeter = h->biYPelsPerMeter;
            const BYTE* in = FindDIBBits(h);
            BYTE* rows = FindDIBBits(out);
            const DWORD inStride = DIBRowBytes(width, h->biBitCount), outStride = DIBRowBytes(width, 24);
            for (DWORD y = 0; y < height; ++y) {
                const BYTE* src = in + ULONGLONG(y) * inStride;
                BYTE* dest = rows + ULONGLONG(y) * outStride;
                for (DWORD x = 0; x < width; ++x) {
                    if (h->biBitCount == 32) {
                        dest[3 * x] = src[4 * x];
                        dest[3 * x + 1] = src[4 * x + 1];
                        dest[3 * x + 2] = src[4 * x + 2];
                    } else {
                        const unsigned v = src[2 * x] | (src[2 * x + 1] << 8);
                        const unsigned r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
                        dest[3 * x] = BYTE((b << 3) | (b >> 2));
                        dest[3 * x + 1] = BYTE((g << 3) | (g >> 2));
                        dest[3 * x + 2] = BYTE((r << 3) | (r >> 2));
                    }
                }
            }
            GlobalUnlock(result);
        } else if (result) {
            result = GlobalFreeHandle(result);
        }
    }
    GlobalUnlock(dib);
    return result;
}
