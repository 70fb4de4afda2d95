// Canvases, crops, gradients, solid colours, blits and dither patterns on the resizers' palettes.
#include <algorithm>

#include "core/ColorReduce.h"
#include "core/DibSource.h"
#include "core/ErrorDiffusion.h"
#include "core/FileUtil.h"
#include "core/Resize.h"

namespace {

PaletteMode ScreenPaletteMode() { return GetScreenBitsPerPixel() < 8 ? kPaletteR1G1B1 : kPaletteR2G3B2; }

// Gradient channel at position i of n.
inline int GradientChannel(int c1, int c2, int i, int n)
{
    // 64 bits: 255 times a width of more than 8.4 million pixels does not fit in an int.
    return n <= 1 ? c1
                  : static_cast<int>(
                      (static_cast<long long>(c1) * (n - 1 - i) + static_cast<long long>(c2) * i) / (n - 1));
}

// Copies a source rectangle (columns [sx, sx + w), stored rows [sy, sy + h)) to a 24-bit target at
// (dx, dy).
struct CopyTo24 {
    const DibSource& src;
    const DibTarget& dst;
    int sx, sy, dx, dy, w, h;
    template <int Bits> void Run() const
    {
        const RGBQUAD* colors = src.Colors();
        for (int y = 0; y < h; ++y) {
            const BYTE* in = src.Row(sy + y);
            BYTE* out = dst.Row(dy + y) + 3 * dx;
            for (int x = 0; x < w; ++x, out += 3) {
                int r, g, b;
                ReadPixel<Bits>(in, sx + x, colors, r, g, b);
                out[0] = static_cast<BYTE>(b);
                out[1] = static_cast<BYTE>(g);
                out[2] = static_cast<BYTE>(r);
            }
        }
    }
};

// The same into an 8-bit target, diffused to a ramp over the copied rectangle only.
struct CopyTo8 {
    const DibSource& src;
    const DibTarget& dst;
    int sx, sy, dx, dy, w, h;
    PaletteMode mode;
    template <int Bits> bool Run() const
    {
        const RGBQUAD* colors = src.Colors();
        auto fill = [&](int y, int* values) {
            const BYTE* in = src.Row(sy + y);
            for (int x = 0; x < w; ++x, values += 3)
                ReadPixel<Bits>(in, sx + x, colors, values[0], values[1], values[2]);
        };
        return DiffuseToRamp(mode, w, h, fill, [&](int y) { return dst.Row(dy + y) + dx; });
    }
};

// Nearest-pixel copy of the whole source scaled to w x h at (dx, dy) of the target.
struct ScaleTo24 {
    const DibSource& src;
    const DibTarget& dst;
    int dx, dy, w, h;
    template <int Bits> void Run() const
    {
        const RGBQUAD* colors = src.Colors();
        for (int y = 0; y < h; ++y) {
            const BYTE* in = src.Row(std::min(MulDiv(y, src.Height(), h), src.Height() - 1));
            BYTE* out = dst.Row(dy + y) + 3 * dx;
            for (int x = 0; x < w; ++x, out += 3) {
                int r, g, b;
                ReadPixel<Bits>(in, std::min(MulDiv(x, src.Width(), w), src.Width() - 1), colors, r, g, b);
                out[0] = static_cast<BYTE>(b);
                out[1] = static_cast<BYTE>(g);
                out[2] = static_cast<BYTE>(r);
            }
        }
    }
};

struct ScaleTo8 {
    const DibSource& src;
    const DibTarget& dst;
    int dx, dy, w, h;
    PaletteMode mode;
    template <int Bits> bool Run() const
    {
        const RGBQUAD* colors = src.Colors();
        auto fill = [&](int y, int* values) {
            const BYTE* in = src.Row(std::min(MulDiv(y, src.Height(), h), src.Height() - 1));
            for (int x = 0; x < w; ++x, values += 3)
                ReadPixel<Bits>(in, std::min(MulDiv(x, src.Width(), w), src.Width() - 1), colors, values[0],
                                values[1], values[2]);
        };
        return DiffuseToRamp(mode, w, h, fill, [&](int y) { return dst.Row(dy + y) + dx; });
    }
};

// New canvas of width x height holding the source's first columns and rows at the offset that
// `centred` chooses.
PackedDIB PlaceOnCanvas(PackedDIB dib, int width, int height, WORD bits, bool centred)
{
    if (width < 0 || height < 0)
        return nullptr;
    DibSource src(dib);
    if (!src.Ok())
        return nullptr;
    const int w = std::min(src.Width(), width);
    const int h = std::min(src.Height(), height);
    const int dx = centred ? (width - w) / 2 : 0;
    const int dy = centred ? (height - h) / 2 : 0;
    PackedDIB result = CreateDIB(static_cast<DWORD>(width), static_cast<DWORD>(height), bits);
    bool done = false;
    {
        DibTarget dst(result);
        if (dst.Ok()) {
            if (bits == 24) {
                DispatchBitCount(src.BitCount(), CopyTo24{src, dst, 0, 0, dx, dy, w, h});
                done = true;
            } else {
                const PaletteMode mode = ScreenPaletteMode();
                FillFixedColorTable(mode, dst.ColorTable());
                done = DispatchBitCount(src.BitCount(), CopyTo8{src, dst, 0, 0, dx, dy, w, h, mode});
            }
        }
    }
    return done ? result : GlobalFreeHandle(result);
}

// New picture of a gradient (a solid colour when both colours are equal).
PackedDIB MakeGradient(COLORREF c1, COLORREF c2, int width, int height, bool horizontal, WORD bits)
{
    if (width < 0 || height < 0)
        return nullptr;
    PackedDIB result = CreateDIB(static_cast<DWORD>(width), static_cast<DWORD>(height), bits);
    bool done = false;
    {
        DibTarget dst(result);
        if (dst.Ok()) {
            const int r1 = GetRValue(c1), g1 = GetGValue(c1), b1 = GetBValue(c1);
            const int r2 = GetRValue(c2), g2 = GetGValue(c2), b2 = GetBValue(c2);
            // Stored row y is picture line height - 1 - y: colour 1 is at the top.
            auto fill = [&](int y, int* values) {
                for (int x = 0; x < width; ++x, values += 3) {
                    const int i = horizontal ? x : height - 1 - y;
                    const int n = horizontal ? width : height;
                    values[0] = GradientChannel(r1, r2, i, n);
                    values[1] = GradientChannel(g1, g2, i, n);
                    values[2] = GradientChannel(b1, b2, i, n);
                }
            };
            if (bits == 24) {
                std::unique_ptr<int[]> line(new (std::nothrow) int[3 * static_cast<size_t>(width) + 1]);
                if (line) {
                    for (int y = 0; y < height; ++y) {
                        fill(y, line.get());
                        BYTE* out = dst.Row(y);
                        for (int x = 0; x < width; ++x, out += 3) {
                            out[0] = static_cast<BYTE>(line[3 * x + 2]);
                            out[1] = static_cast<BYTE>(line[3 * x + 1]);
                            out[2] = static_cast<BYTE>(line[3 * x]);
                        }
                    }
                    done = true;
                }
            } else {
                const PaletteMode mode = ScreenPaletteMode();
                FillFixedColorTable(mode, dst.ColorTable());
                done = DiffuseToRamp(mode, width, height, fill, [&](int y) { return dst.Row(y); });
            }
        }
    }
    return done ? result : GlobalFreeHandle(result);
}

// Checks an existing destination of the given depth for writing.
bool UsableDestination(const DibSource& dest, int bits)
{
    return dest.Ok() && dest.BitCount() == bits && dest.HeaderSize() == sizeof(BITMAPINFOHEADER);
}

BOOL BlitCentered(PackedDIB dest, PackedDIB source, int bits)
{
    DibSource check(dest);
    DibSource src(source);
    if (!UsableDestination(check, bits) || !src.Ok())
        return FALSE;
    // Clip the centred source to the destination.
    const int offsetX = (check.Width() - src.Width()) / 2;
    const int offsetY = (check.Height() - src.Height()) / 2;
    const int sx = std::max(0, -offsetX), sy = std::max(0, -offsetY);
    const int dx = std::max(0, offsetX), dy = std::max(0, offsetY);
    const int w = std::min(src.Width() - sx, check.Width() - dx);
    const int h = std::min(src.Height() - sy, check.Height() - dy);
    if (w <= 0 || h <= 0)
        return TRUE;
    DibTarget dst(dest);
    if (!dst.Ok())
        return FALSE;
    if (bits == 24) {
        DispatchBitCount(src.BitCount(), CopyTo24{src, dst, sx, sy, dx, dy, w, h});
        return TRUE;
    }
    return DispatchBitCount(src.BitCount(), CopyTo8{src, dst, sx, sy, dx, dy, w, h, ScreenPaletteMode()});
}

BOOL BlitScaled(PackedDIB dest, PackedDIB source, int border, BOOL stretch, int bits)
{
    DibSource check(dest);
    DibSource src(source);
    if (!UsableDestination(check, bits) || !src.Ok() || src.Width() == 0 || src.Height() == 0 || border < 0)
        return FALSE;
    const int innerW = check.Width() - 2 * border;
    const int innerH = check.Height() - 2 * border;
    if (innerW <= 0 || innerH <= 0)
        return FALSE;
    int w = innerW, h = innerH;
    if (!stretch) {
        // Fit the longer side relative to the inner area; the other keeps the proportions.
        if (static_cast<LONGLONG>(src.Width()) * innerH > static_cast<LONGLONG>(src.Height()) * innerW)
            h = std::max(1, MulDiv(src.Height(), innerW, src.Width()));
        else
            w = std::max(1, MulDiv(src.Width(), innerH, src.Height()));
    }
    const int dx = border + (innerW - w) / 2;
    const int dy = border + (innerH - h) / 2;
    DibTarget dst(dest);
    if (!dst.Ok())
        return FALSE;
    if (bits == 24) {
        DispatchBitCount(src.BitCount(), ScaleTo24{src, dst, dx, dy, w, h});
        return TRUE;
    }
    return DispatchBitCount(src.BitCount(), ScaleTo8{src, dst, dx, dy, w, h, ScreenPaletteMode()});
}

} // namespace

PackedDIB CenterDIBOnCanvas8Bit(PackedDIB dib, int width, int height)
{
    return PlaceOnCanvas(dib, width, height, 8, true);
}

PackedDIB CropDIBTo8Bit(PackedDIB dib, int width, int height)
{
    return PlaceOnCanvas(dib, width, height, 8, false);
}

PackedDIB CenterDIBOnCanvas24Bit(PackedDIB dib, int width, int height)
{
    return PlaceOnCanvas(dib, width, height, 24, true);
}

PackedDIB CropDIBTo24Bit(PackedDIB dib, int width, int height)
{
    return PlaceOnCanvas(dib, width, height, 24, false);
}

PackedDIB CreateGradientDIB8Bit(COLORREF color1, COLORREF color2, int width, int height, BOOL horizontal)
{
    return MakeGradient(color1, color2, width, height, horizontal != FALSE, 8);
}

PackedDIB CreateGradientDIB24Bit(COLORREF color1, COLORREF color2, int width, int height, BOOL horizontal)
{
    return MakeGradient(color1, color2, width, height, horizontal != FALSE, 24);
}

PackedDIB CreateSolidDIB8Bit(COLORREF color, int width, int height)
{
    return MakeGradient(color, color, width, height, true, 8);
}

PackedDIB CreateSolidDIB24Bit(COLORREF color, int width, int height)
{
    return MakeGradient(color, color, width, height, true, 24);
}

BOOL BlitDIBCentered24Bit(PackedDIB dest, PackedDIB source) { return BlitCentered(dest, source, 24); }

BOOL BlitDIBScaled24Bit(PackedDIB dest, PackedDIB source, int border, BOOL stretch)
{
    return BlitScaled(dest, source, border, stretch, 24);
}

BOOL BlitDIBCentered8Bit(PackedDIB dest, PackedDIB source) { return BlitCentered(dest, source, 8); }

BOOL BlitDIBScaled8Bit(PackedDIB dest, PackedDIB source, int border, BOOL stretch)
{
    return BlitScaled(dest, source, border, stretch, 8);
}

void MakeDitherPattern(DWORD rgb, BYTE* pattern)
{
    if (pattern == nullptr)
        return;
    auto lowered = [](int v) { return (v == 64 || v == 128 || v == 192) ? v - 1 : v; };
    const int r = lowered((rgb >> 16) & 0xFF);
    const int g = lowered((rgb >> 8) & 0xFF);
    const int b = lowered(rgb & 0xFF);
    for (int i = 0; i < 64; ++i)
        pattern[i] = OrderedDitherIndex(r, g, b, i % 8, i / 8);
}
