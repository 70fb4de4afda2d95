// Read access to a source picture for the converters and resizers: the block is locked, checked
// against its own header, and its pixels read as colours through a 256-entry colour table.
#pragma once
#include <windows.h>

#include "core/PackedDib.h"

// Locks a packed DIB for reading for the object's lifetime. The picture is accepted (Ok) when
// its header is a 12-byte core header or an info header of 40 bytes or more, it is uncompressed
// (BI_RGB), its bit count is 1, 4, 8 or 24, its height is not negative, and the block holds the
// whole colour table and every row. Nothing is ever written to the block.
class DibSource {
public:
    explicit DibSource(PackedDIB dib);
    ~DibSource();
    DibSource(const DibSource&) = delete;
    DibSource& operator=(const DibSource&) = delete;

    bool Ok() const { return m_ok; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int BitCount() const { return m_bits; }
    DWORD HeaderSize() const { return m_headerSize; }

    // Stored row y (0 = the bottom line of the picture), 0 <= y < Height().
    const BYTE* Row(int y) const { return m_rows + static_cast<size_t>(y) * m_stride; }

    // The colour of every possible index of a palette picture: the picture's own colour table,
    // then black for the indices past it, so a corrupt index never reads outside the table.
    const RGBQUAD* Colors() const { return m_colors; }

private:
    PackedDIB m_handle = nullptr;
    const BYTE* m_block = nullptr;
    const BYTE* m_rows = nullptr;
    bool m_ok = false;
    int m_width = 0;
    int m_height = 0;
    int m_bits = 0;
    DWORD m_headerSize = 0;
    DWORD m_stride = 0;
    RGBQUAD m_colors[256] = {};
};

// Colour of pixel x of a stored row, for one source bit count. Palette pictures are looked up in
// the 256-entry table, so any index is defined.
template <int Bits>
inline void ReadPixel(const BYTE* row, int x, const RGBQUAD* colors, int& red, int& green, int& blue);

template <> inline void ReadPixel<24>(const BYTE* row, int x, const RGBQUAD*, int& red, int& green, int& blue)
{
    const BYTE* p = row + 3 * x;
    blue = p[0];
    green = p[1];
    red = p[2];
}

template <>
inline void ReadPixel<8>(const BYTE* row, int x, const RGBQUAD* colors, int& red, int& green, int& blue)
{
    const RGBQUAD& c = colors[row[x]];
    red = c.rgbRed;
    green = c.rgbGreen;
    blue = c.rgbBlue;
}

template <>
inline void ReadPixel<4>(const BYTE* row, int x, const RGBQUAD* colors, int& red, int& green, int& blue)
{
    const BYTE b = row[x >> 1];
    const RGBQUAD& c = colors[(x & 1) ? (b & 0x0F) : (b >> 4)];
    red = c.rgbRed;
    green = c.rgbGreen;
    blue = c.rgbBlue;
}

template <>
inline void ReadPixel<1>(const BYTE* row, int x, const RGBQUAD* colors, int& red, int& green, int& blue)
{
    const RGBQUAD& c = colors[(row[x >> 3] >> (7 - (x & 7))) & 1];
    red = c.rgbRed;
    green = c.rgbGreen;
    blue = c.rgbBlue;
}

// Calls body.template Run<Bits>() with the source's bit count as a compile-time constant, so
// that per-pixel code is specialised per depth instead of branching or calling through pointers.
template <class Body> inline auto DispatchBitCount(int bits, Body&& body)
{
    switch (bits) {
    case 1:
        return body.template Run<1>();
    case 4:
        return body.template Run<4>();
    case 8:
        return body.template Run<8>();
    default:
        return body.template Run<24>();
    }
}

// Writes a finished 8-bit or 24-bit result: locks a picture made by CreateDIB and gives its
// colour table and rows. Ok() is false when the handle is null or cannot be locked.
class DibTarget {
public:
    explicit DibTarget(PackedDIB dib);
    ~DibTarget();
    DibTarget(const DibTarget&) = delete;
    DibTarget& operator=(const DibTarget&) = delete;

    bool Ok() const { return m_block != nullptr; }
    BITMAPINFOHEADER* Header() const { return reinterpret_cast<BITMAPINFOHEADER*>(m_block); }
    RGBQUAD* ColorTable() const { return reinterpret_cast<RGBQUAD*>(m_block + Header()->biSize); }
    int Width() const { return Header()->biWidth; }
    int Height() const { return Header()->biHeight; }
    BYTE* Row(int y) const { return m_rows + static_cast<size_t>(y) * m_stride; }

private:
    PackedDIB m_handle = nullptr;
    BYTE* m_block = nullptr;
    BYTE* m_rows = nullptr;
    DWORD m_stride = 0;
};
