// Nearest-colour search over a palette, and 24-bit pictures reduced to a given palette by error
// diffusion.
#include "core/PackedDib.h"

#include "core/ColorReduce.h"
#include "core/DibSource.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <vector>

namespace {

const int kCacheEntries = 32768;
const WORD kNotCached = 0xFFFF;

WORD* g_nearestCache = nullptr;
// ConvertDIB24To8WithPalette builds and frees the shared cache; one conversion at a time.
std::mutex g_conversionMutex;

int Square(int v) { return v * v; }

} // namespace

int __cdecl ComparePaletteEntries(const void* a, const void* b)
{
    const auto* x = static_cast<const PALETTEENTRY*>(a);
    const auto* y = static_cast<const PALETTEENTRY*>(b);
    if (x->peRed != y->peRed)
        return x->peRed - y->peRed;
    if (x->peGreen != y->peGreen)
        return x->peGreen - y->peGreen;
    return x->peBlue - y->peBlue;
}

BOOL BuildNearestColorCache(PALETTEENTRY* entries, int n)
{
    if (!entries || n < 1)
        return FALSE;
    qsort(entries, size_t(n), sizeof(PALETTEENTRY), ComparePaletteEntries);
    if (!g_nearestCache)
        g_nearestCache = new (std::nothrow) WORD[kCacheEntries];
    if (!g_nearestCache)
        return FALSE;
    for (int i = 0; i < kCacheEntries; ++i)
        g_nearestCache[i] = kNotCached;
    return TRUE;
}

void FreeNearestColorCache()
{
    delete[] g_nearestCache;
    g_nearestCache = nullptr;
}

BYTE FindNearestColor(BYTE red, BYTE green, BYTE blue, const PALETTEENTRY* entries, int n)
{
    if (!entries || n < 1)
        return 0;
    const int key = ((red >> 3) << 10) | ((green >> 3) << 5) | (blue >> 3);
    if (g_nearestCache && g_nearestCache[key] != kNotCached)
        return BYTE(g_nearestCache[key]);

    // Halving search for the first entry whose red is not below the colour's.
    int low = 0, high = n;
    while (low < high) {
        int middle = (low + high) / 2;
        if (entries[middle].peRed < red)
            low = middle + 1;
        else
            high = middle;
    }
    int best = -1, bestDistance = 0x7FFFFFFF;
    auto consider = [&](int i) {
        int d = Square(entries[i].peRed - red) + Square(entries[i].peGreen - green)
                + Square(entries[i].peBlue - blue);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    };
    // Walk outwards; a side stops once its red difference alone is no better than the best.
    for (int up = low, down = low - 1; up < n || down >= 0;) {
        if (up < n) {
            if (Square(entries[up].peRed - red) >= bestDistance)
                up = n;
            else
                consider(up++);
        }
        if (down >= 0) {
            if (Square(entries[down].peRed - red) >= bestDistance)
                down = -1;
            else
                consider(down--);
        }
    }
    BYTE index = entries[best].peFlags;
    if (g_nearestCache)
        g_nearestCache[key] = index;
    return index;
}

PackedDIB ConvertDIB24To8WithPalette(PackedDIB dib, HPALETTE hpal)
{
    if (!hpal)
        return 0;
    DibSource source(dib);
    if (!source.Ok() || source.BitCount() != 24)
        return 0;
    PALETTEENTRY colors[256];
    UINT count = GetPaletteEntries(hpal, 0, 256, colors);
    if (count == 0)
        return 0;
    const int width = source.Width(), height = source.Height();
    PackedDIB result = CreateDIB(DWORD(width), DWORD(height), 8);
    if (!result)
        return 0;
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(result));
    if (!header)
        return GlobalFreeHandle(result);
    auto* table = reinterpret_cast<RGBQUAD*>(header + 1);
    for (UINT i = 0; i < 256; ++i) {
        const PALETTEENTRY e = i < count ? colors[i] : PALETTEENTRY{0, 0, 0, 0};
        table[i] = RGBQUAD{e.peBlue, e.peGreen, e.peRed, 0};
    }
    BYTE* outRows = FindDIBBits(header);
    const DWORD outStride = DIBRowBytes(DWORD(width), 8);

    std::lock_guard<std::mutex> guard(g_conversionMutex);
    PALETTEENTRY sorted[256];
    for (UINT i = 0; i < count; ++i) {
        sorted[i] = colors[i];
        sorted[i].peFlags = BYTE(i);
    }
    bool ok = BuildNearestColorCache(sorted, int(count)) != FALSE;
    const ErrorDiffusionTableSet& t = InitErrorDiffusionTables();
    std::vector<int> thisRow, nextRow;
    try {
        thisRow.assign(size_t(width + 2) * 3, 0);
        nextRow.assign(size_t(width + 2) * 3, 0);
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    // Rows from the top of the picture down; the error buffers have one spare pixel each side.
    for (int y = 0; ok && y < height; ++y) {
        const BYTE* in = source.Row(height - 1 - y);
        BYTE* out = outRows + ULONGLONG(height - 1 - y) * outStride;
        std::fill(nextRow.begin(), nextRow.end(), 0);
        for (int x = 0; x < width; ++x) {
            int* e = &thisRow[size_t(x + 1) * 3];
            int value[3];
            for (int c = 0; c < 3; ++c) {
                int v = in[3 * x + (2 - c)] + e[c]; // red, green, blue
                value[c] = v < 0 ? 0 : v > 255 ? 255 : v;
            }
            BYTE index = FindNearestColor(BYTE(value[0]), BYTE(value[1]), BYTE(value[2]), sorted, int(count));
            out[x] = index;
            const PALETTEENTRY& chosen = colors[index < count ? index : 0];
            const int error[3] = {value[0] - chosen.peRed + 256, value[1] - chosen.peGreen + 256,
                                  value[2] - chosen.peBlue + 256};
            int* below = &nextRow[size_t(x + 1) * 3];
            for (int c = 0; c < 3; ++c) {
                e[3 + c] += t.t7[error[c]];
                below[c - 3] += t.t3[error[c]];
                below[c] += t.t5[error[c]];
                below[c + 3] += t.t1[error[c]];
            }
        }
        thisRow.swap(nextRow);
    }
    FreeNearestColorCache();
    GlobalUnlock(result);
    if (!ok)
        return GlobalFreeHandle(result);
    return result;
}
