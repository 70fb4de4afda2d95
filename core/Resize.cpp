// Resizing to 24 bits and to 8 bits over a fixed palette, on the shared sampling grid.
#include "core/Resize.h"

#include <memory>
#include <new>

#include "core/ColorReduce.h"
#include "core/DibSource.h"
#include "core/ErrorDiffusion.h"

namespace {

// Source rows and column spans of every output row and column, computed once per call.
class SamplingGrid {
public:
    bool Build(int srcWidth, int srcHeight, int width, int height)
    {
        m_spans.reset(new (std::nothrow) int[2 * static_cast<size_t>(width) + 1]);
        m_rows.reset(new (std::nothrow) int[static_cast<size_t>(height) + 1]);
        if (!m_spans || !m_rows)
            return false;
        for (int x = 0; x < width; ++x) {
            int x0 = MulDiv(x, srcWidth, width);
            int x1 = MulDiv(x + 1, srcWidth, width);
            if (x0 >= srcWidth)
                x0 = srcWidth - 1;
            if (x1 > srcWidth)
                x1 = srcWidth;
            if (x1 <= x0)
                x1 = x0 + 1;
            m_spans[2 * x] = x0;
            m_spans[2 * x + 1] = x1;
        }
        for (int y = 0; y < height; ++y) {
            const int sy = MulDiv(y, srcHeight, height);
            m_rows[y] = sy >= srcHeight ? srcHeight - 1 : sy;
        }
        return true;
    }
    int SpanStart(int x) const { return m_spans[2 * x]; }
    int SpanEnd(int x) const { return m_spans[2 * x + 1]; }
    int SourceRow(int y) const { return m_rows[y]; }

private:
    std::unique_ptr<int[]> m_spans;
    std::unique_ptr<int[]> m_rows;
};

// Sum of the colours of source columns [x0, x1) of one row, in Sum's width.
template <int Bits, class Sum>
inline void SpanSum(const BYTE* row, int x0, int x1, const RGBQUAD* colors, Sum& red, Sum& green, Sum& blue)
{
    red = green = blue = 0;
    for (int x = x0; x < x1; ++x) {
        int r, g, b;
        ReadPixel<Bits>(row, x, colors, r, g, b);
        red += r;
        green += g;
        blue += b;
    }
}

// Longest span whose channel sums fit in an int.
const int kLongestIntSpan = 0x7FFFFFFF / 255;

// Mean colour of source columns [x0, x1) of one row. A span longer than kLongestIntSpan (a very
// wide picture shrunk to a few columns) sums in 64 bits, so the mean stays within 0-255.
template <int Bits>
inline void SpanMean(const BYTE* row, int x0, int x1, const RGBQUAD* colors, int& red, int& green, int& blue)
{
    const int length = x1 - x0;
    if (length == 1) {
        ReadPixel<Bits>(row, x0, colors, red, green, blue);
        return;
    }
    if (length <= kLongestIntSpan) {
        SpanSum<Bits>(row, x0, x1, colors, red, green, blue);
        red /= length;
        green /= length;
        blue /= length;
        return;
    }
    long long r, g, b;
    SpanSum<Bits>(row, x0, x1, colors, r, g, b);
    red = static_cast<int>(r / length);
    green = static_cast<int>(g / length);
    blue = static_cast<int>(b / length);
}

struct ResizeTo24 {
    const DibSource& src;
    const DibTarget& dst;
    const SamplingGrid& grid;
    template <int Bits> void Run() const
    {
        const RGBQUAD* colors = src.Colors();
        const int width = dst.Width();
        for (int y = 0; y < dst.Height(); ++y) {
            const BYTE* in = src.Row(grid.SourceRow(y));
            BYTE* out = dst.Row(y);
            for (int x = 0; x < width; ++x, out += 3) {
                int r, g, b;
                SpanMean<Bits>(in, grid.SpanStart(x), grid.SpanEnd(x), colors, r, g, b);
                out[0] = static_cast<BYTE>(b);
                out[1] = static_cast<BYTE>(g);
                out[2] = static_cast<BYTE>(r);
            }
        }
    }
};

struct ResizeOrdered {
    const DibSource& src;
    const DibTarget& dst;
    const SamplingGrid& grid;
    template <int Bits> void Run() const
    {
        const RGBQUAD* colors = src.Colors();
        const int width = dst.Width();
        for (int y = 0; y < dst.Height(); ++y) {
            const BYTE* in = src.Row(grid.SourceRow(y));
            BYTE* out = dst.Row(y);
            for (int x = 0; x < width; ++x) {
                int r, g, b;
                SpanMean<Bits>(in, grid.SpanStart(x), grid.SpanEnd(x), colors, r, g, b);
                out[x] = OrderedDitherIndex(r, g, b, x, y);
            }
        }
    }
};

struct ResizeDiffused {
    const DibSource& src;
    const DibTarget& dst;
    const SamplingGrid& grid;
    PaletteMode mode;
    template <int Bits> bool Run() const
    {
        const RGBQUAD* colors = src.Colors();
        const int width = dst.Width();
        auto fill = [&](int y, int* values) {
            const BYTE* in = src.Row(grid.SourceRow(y));
            if (y == 0) {
                // The first grid row takes single pixels, without averaging.
                for (int x = 0; x < width; ++x, values += 3)
                    ReadPixel<Bits>(in, grid.SpanStart(x), colors, values[0], values[1], values[2]);
                return;
            }
            for (int x = 0; x < width; ++x, values += 3)
                SpanMean<Bits>(in, grid.SpanStart(x), grid.SpanEnd(x), colors, values[0], values[1],
                               values[2]);
        };
        return DiffuseToRamp(mode, width, dst.Height(), fill, [&](int y) { return dst.Row(y); });
    }
};

// Shared frame of the resizers: checks, creates the result, builds the grid, runs the body.
template <class Make> PackedDIB Resize(PackedDIB dib, int width, int height, WORD bits, Make&& make)
{
    if (width < 0 || height < 0)
        return nullptr;
    DibSource src(dib);
    if (!src.Ok() || src.Width() == 0 || src.Height() == 0)
        return nullptr;
    PackedDIB result = CreateDIB(static_cast<DWORD>(width), static_cast<DWORD>(height), bits);
    bool done = false;
    {
        DibTarget dst(result);
        SamplingGrid grid;
        if (dst.Ok() && grid.Build(src.Width(), src.Height(), width, height))
            done = make(src, dst, grid);
    }
    return done ? result : GlobalFreeHandle(result);
}

} // namespace

PackedDIB ResizeDIBTo24Bit(PackedDIB dib, int width, int height)
{
    return Resize(dib, width, height, 24,
                  [](const DibSource& src, const DibTarget& dst, const SamplingGrid& grid) {
                      DispatchBitCount(src.BitCount(), ResizeTo24{src, dst, grid});
                      return true;
                  });
}

PackedDIB ResizeDIBTo8Bit(PackedDIB dib, int width, int height, PaletteMode mode)
{
    if (mode == 0)
        mode = kPaletteDefault;
    if (mode < kPaletteDefault || mode > kPaletteR1G1B1)
        return nullptr;
    return Resize(dib, width, height, 8,
                  [mode](const DibSource& src, const DibTarget& dst, const SamplingGrid& grid) {
                      FillFixedColorTable(mode, dst.ColorTable());
                      if (mode == kPaletteDefault) {
                          DispatchBitCount(src.BitCount(), ResizeOrdered{src, dst, grid});
                          return true;
                      }
                      return DispatchBitCount(src.BitCount(), ResizeDiffused{src, dst, grid, mode});
                  });
}

PackedDIB ResizeDIBTo8BitWithPalette(PackedDIB dib, int width, int height, HPALETTE palette)
{
    return Resize(dib, width, height, 8,
                  [palette](const DibSource& src, const DibTarget& dst, const SamplingGrid& grid) {
                      SetDIBColorsFromPalette(dst.Header(), palette, DIB_RGB_COLORS);
                      DispatchBitCount(src.BitCount(), ResizeOrdered{src, dst, grid});
                      return true;
                  });
}
