// Test helpers for the conversion and resizing tests: small pictures built pixel by pixel in stored
// row order (row 0 at the bottom), their pixels read back, and byte snapshots of whole blocks.
#pragma once
#include <windows.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "core/PackedDib.h"

namespace proctest {

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};

// Frees a packed DIB at the end of a scope.
class Dib {
public:
    explicit Dib(PackedDIB handle = nullptr) : m_handle(handle) {}
    ~Dib() { GlobalFreeHandle(m_handle); }
    Dib(const Dib&) = delete;
    Dib& operator=(const Dib&) = delete;
    PackedDIB get() const { return m_handle; }
    operator PackedDIB() const { return m_handle; }

private:
    PackedDIB m_handle;
};

inline BITMAPINFOHEADER* Header(void* block) { return static_cast<BITMAPINFOHEADER*>(block); }

inline DWORD Stride(int width, int bits) { return DWORD(((width * bits + 31) & ~31) / 8); }

// Runs f(header, colour table, first row, stride) on a locked block.
using BlockVisitor = std::function<void(BITMAPINFOHEADER*, RGBQUAD*, BYTE*, DWORD)>;
inline void WithBlock(PackedDIB dib, const BlockVisitor& f)
{
    BYTE* block = static_cast<BYTE*>(GlobalLock(dib));
    BITMAPINFOHEADER* h = Header(block);
    RGBQUAD* table = reinterpret_cast<RGBQUAD*>(block + h->biSize);
    f(h, table, FindDIBBits(block), Stride(h->biWidth, h->biBitCount));
    GlobalUnlock(dib);
}

// 24-bit picture whose pixel (x, stored row y) is colour(x, y).
inline PackedDIB Make24(int width, int height, const std::function<Rgb(int, int)>& colour)
{
    PackedDIB dib = CreateDIB(DWORD(width), DWORD(height), 24);
    WithBlock(dib, [&](BITMAPINFOHEADER*, RGBQUAD*, BYTE* rows, DWORD stride) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const Rgb c = colour(x, y);
                BYTE* p = rows + y * stride + 3 * x;
                p[0] = BYTE(c.b);
                p[1] = BYTE(c.g);
                p[2] = BYTE(c.r);
            }
    });
    return dib;
}

inline PackedDIB MakeSolid24(int width, int height, Rgb c)
{
    return Make24(width, height, [c](int, int) { return c; });
}

// 1-, 4- or 8-bit picture with the given colour table (biClrUsed = its size, at most 2^bits) and
// pixel (x, y) = index(x, y); 0 when the table is too long.
inline PackedDIB MakeIndexed(int width, int height, int bits, const std::vector<Rgb>& table,
                             const std::function<int(int, int)>& index)
{
    if (table.size() > (1u << bits))
        return nullptr;
    PackedDIB dib = CreateDIB(DWORD(width), DWORD(height), WORD(bits));
    WithBlock(dib, [&](BITMAPINFOHEADER* h, RGBQUAD* colours, BYTE* rows, DWORD stride) {
        h->biClrUsed = DWORD(table.size());
        for (size_t i = 0; i < table.size(); ++i)
            colours[i] = RGBQUAD{BYTE(table[i].b), BYTE(table[i].g), BYTE(table[i].r), 0};
        // The rows moved if the table shrank: find them again.
        rows = FindDIBBits(h);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                BYTE* row = rows + y * stride;
                const int v = index(x, y);
                if (bits == 8) {
                    row[x] = BYTE(v);
                } else if (bits == 4) {
                    row[x / 2] = BYTE(x % 2 ? (row[x / 2] & 0xF0) | v : (row[x / 2] & 0x0F) | (v << 4));
                } else {
                    const BYTE bit = BYTE(0x80 >> (x % 8));
                    row[x / 8] = BYTE(v ? row[x / 8] | bit : row[x / 8] & ~bit);
                }
            }
    });
    return dib;
}

// Colour of pixel (x, stored row y), through the colour table for palette pictures.
inline Rgb PixelAt(PackedDIB dib, int x, int y)
{
    Rgb c{0, 0, 0};
    WithBlock(dib, [&](BITMAPINFOHEADER* h, RGBQUAD* table, BYTE* rows, DWORD stride) {
        const BYTE* row = rows + y * stride;
        int i = 0;
        switch (h->biBitCount) {
        case 24:
            c = Rgb{row[3 * x + 2], row[3 * x + 1], row[3 * x]};
            return;
        case 8:
            i = row[x];
            break;
        case 4:
            i = x % 2 ? row[x / 2] & 15 : row[x / 2] >> 4;
            break;
        default:
            i = (row[x / 8] >> (7 - x % 8)) & 1;
        }
        c = Rgb{table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue};
    });
    return c;
}

// Palette index of pixel (x, stored row y) of a 4- or 8-bit picture.
inline int IndexAt(PackedDIB dib, int x, int y)
{
    int i = -1;
    WithBlock(dib, [&](BITMAPINFOHEADER* h, RGBQUAD*, BYTE* rows, DWORD stride) {
        const BYTE* row = rows + y * stride;
        i = h->biBitCount == 8 ? row[x] : (x % 2 ? row[x / 2] & 15 : row[x / 2] >> 4);
    });
    return i;
}

inline BITMAPINFOHEADER HeaderOf(PackedDIB dib)
{
    BITMAPINFOHEADER h{};
    WithBlock(dib, [&](BITMAPINFOHEADER* p, RGBQUAD*, BYTE*, DWORD) { h = *p; });
    return h;
}

// Every byte of the block.
inline std::string Snapshot(PackedDIB dib)
{
    const SIZE_T size = GlobalSize(dib);
    const void* p = GlobalLock(dib);
    std::string bytes(static_cast<const char*>(p), size);
    GlobalUnlock(dib);
    return bytes;
}

// A block holding exactly the given bytes.
inline PackedDIB BlockOf(const std::string& bytes)
{
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    memcpy(GlobalLock(h), bytes.data(), bytes.size());
    GlobalUnlock(h);
    return h;
}

} // namespace proctest
