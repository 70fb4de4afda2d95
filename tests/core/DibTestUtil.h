// Test helpers: bitmap files built byte by byte, and the colour of a pixel of a packed DIB.
#pragma once
#include <windows.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "core/PackedDib.h"

namespace dibtest {

inline void Put16(std::string& s, uint16_t v)
{
    s += char(v & 0xFF);
    s += char(v >> 8);
}
inline void Put32(std::string& s, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        s += char((v >> (8 * i)) & 0xFF);
}

// What goes into a hand-made bitmap file. rows holds the pixel bytes exactly as they are stored
// in the file (padded rows, in file order); offBits 0 is computed unless keepZeroOffBits is set.
struct BmpSpec {
    uint32_t headerSize = 40;
    int32_t width = 1;
    int32_t height = 1;
    uint16_t bits = 24;
    uint32_t compression = 0;
    uint32_t clrUsed = 0;
    uint32_t sizeImage = 0;
    std::vector<RGBQUAD> colors; // written as triples for the 12-byte header
    uint32_t masks[4] = {0, 0, 0, 0};
    std::string rows;
    uint32_t offBits = 0;
    bool keepZeroOffBits = false;
};

inline std::string BuildBmp(const BmpSpec& s)
{
    std::string header;
    if (s.headerSize == 12) {
        Put32(header, 12);
        Put16(header, uint16_t(s.width));
        Put16(header, uint16_t(s.height));
        Put16(header, 1);
        Put16(header, s.bits);
    } else {
        Put32(header, s.headerSize);
        Put32(header, uint32_t(s.width));
        Put32(header, uint32_t(s.height));
        Put16(header, 1);
        Put16(header, s.bits);
        Put32(header, s.compression);
        Put32(header, s.sizeImage);
        Put32(header, 2835);
        Put32(header, 2835);
        Put32(header, s.clrUsed);
        Put32(header, 0);
        bool bitfields = s.compression == 3 || s.compression == 6;
        if (s.headerSize == 40 && bitfields) {
            for (int i = 0; i < (s.compression == 6 ? 4 : 3); ++i)
                Put32(header, s.masks[i]);
        } else if (s.headerSize > 40) {
            for (int i = 0; i < 4; ++i)
                Put32(header, s.masks[i]);
            while (header.size() < s.headerSize)
                header += '\0';
        }
    }
    std::string table;
    for (const RGBQUAD& c : s.colors) {
        table += char(c.rgbBlue);
        table += char(c.rgbGreen);
        table += char(c.rgbRed);
        if (s.headerSize != 12)
            table += '\0';
    }
    uint32_t off = s.offBits ? s.offBits : uint32_t(14 + header.size() + table.size());
    if (s.keepZeroOffBits)
        off = 0;
    std::string file = "BM";
    Put32(file, uint32_t(14 + header.size() + table.size() + s.rows.size()));
    Put32(file, 0);
    Put32(file, off);
    return file + header + table + s.rows;
}

inline uint32_t RowBytes(int width, int bits) { return uint32_t(((width * bits + 31) & ~31) / 8); }

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};

inline std::ostream& operator<<(std::ostream& out, const Rgb& c)
{
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

// Colour of pixel (x, y), y counted from the top, of a locked packed DIB with a 40-byte header,
// BI_RGB, bottom-up rows of 1, 4, 8, 16 (5-5-5), 24 or 32 bits.
inline Rgb PixelOf(const void* block, int x, int y)
{
    const auto* h = static_cast<const BITMAPINFOHEADER*>(block);
    const BYTE* table = reinterpret_cast<const BYTE*>(h) + h->biSize;
    const BYTE* row = FindDIBBits(block) + size_t(h->biHeight - 1 - y) * RowBytes(h->biWidth, h->biBitCount);
    auto entry = [&](int i) { return Rgb{table[4 * i + 2], table[4 * i + 1], table[4 * i]}; };
    switch (h->biBitCount) {
    case 1:
        return entry((row[x / 8] >> (7 - x % 8)) & 1);
    case 4:
        return entry(x % 2 ? row[x / 2] & 15 : row[x / 2] >> 4);
    case 8:
        return entry(row[x]);
    case 16: {
        int v = row[2 * x] | (row[2 * x + 1] << 8);
        auto five = [](int c) { return (c << 3) | (c >> 2); };
        return Rgb{five((v >> 10) & 31), five((v >> 5) & 31), five(v & 31)};
    }
    case 24:
        return Rgb{row[3 * x + 2], row[3 * x + 1], row[3 * x]};
    default:
        return Rgb{row[4 * x + 2], row[4 * x + 1], row[4 * x]};
    }
}

// Colour of pixel (x, y) of a picture handle.
inline Rgb PixelOf(PackedDIB dib, int x, int y)
{
    const void* p = GlobalLock(dib);
    Rgb c = PixelOf(p, x, y);
    GlobalUnlock(dib);
    return c;
}

inline BITMAPINFOHEADER HeaderOf(PackedDIB dib)
{
    BITMAPINFOHEADER h = {};
    if (const void* p = GlobalLock(dib)) {
        h = *static_cast<const BITMAPINFOHEADER*>(p);
        GlobalUnlock(dib);
    }
    return h;
}

// Frees a packed DIB at the end of a scope.
struct DibHolder {
    PackedDIB dib;
    explicit DibHolder(PackedDIB d = 0) : dib(d) {}
    ~DibHolder() { GlobalFreeHandle(dib); }
    DibHolder(const DibHolder&) = delete;
    DibHolder& operator=(const DibHolder&) = delete;
    operator PackedDIB() const { return dib; }
};

} // namespace dibtest
