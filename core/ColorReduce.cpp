// The shared dither tables and the conversions to 8 and 4 bits per pixel.
#include "core/ColorReduce.h"

#include "core/DibSource.h"
#include "core/ErrorDiffusion.h"

// clang-format off
const BYTE DitherMatrix51[64] = {
     0, 38,  9, 47,  2, 40, 11, 50,
    25, 12, 35, 22, 27, 15, 37, 24,
     6, 44,  3, 41,  8, 47,  5, 43,
    31, 19, 28, 15, 34, 21, 31, 18,
     1, 39, 11, 49,  0, 39, 10, 48,
    27, 14, 36, 23, 26, 13, 35, 23,
     7, 46,  4, 43,  7, 45,  3, 42,
    33, 20, 30, 17, 32, 19, 29, 16,
};

const BYTE DitherMatrix4Bit[64] = {
      0, 192,  48, 240,  12, 204,  60, 252,
    128,  64, 176, 112, 140,  76, 188, 124,
     32, 224,  16, 208,  44, 236,  28, 220,
    160,  96, 144,  80, 172, 108, 156,  92,
      8, 200,  56, 248,   4, 196,  52, 244,
    136,  72, 184, 120, 132,  68, 180, 116,
     40, 232,  24, 216,  36, 228,  20, 212,
    168, 104, 152,  88, 164, 100, 148,  84,
};

const BYTE Quotient51[256] = {
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
    1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
    1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2,
    2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 3, 3, 3, 3, 3, 3, 3,
    3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3,
    3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4,
    4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 5,
};

const BYTE Remainder51[256] = {
     0,  1,  2,  3,  4,  5,  6,  7,  8,  9, 10, 11, 12, 13, 14, 15,
    16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31,
    32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47,
    48, 49, 50,  0,  1,  2,  3,  4,  5,  6,  7,  8,  9, 10, 11, 12,
    13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28,
    29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44,
    45, 46, 47, 48, 49, 50,  0,  1,  2,  3,  4,  5,  6,  7,  8,  9,
    10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25,
    26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41,
    42, 43, 44, 45, 46, 47, 48, 49, 50,  0,  1,  2,  3,  4,  5,  6,
     7,  8,  9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22,
    23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38,
    39, 40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50,  0,  1,  2,  3,
     4,  5,  6,  7,  8,  9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19,
    20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35,
    36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50,  0,
};

const BYTE Times6[6] = {0, 6, 12, 18, 24, 30};
const BYTE Times36[6] = {0, 36, 72, 108, 144, 180};

const BYTE CubeToPaletteIndex[216] = {
      0,  29,  30,  31,  32, 249,  33,  34,  35,  36,  37,  38,  39,  40,  41,  42,  43,  44,
     45,  46,  47,  48,  49,  50,  51,  52,  53,  54,  55,  56, 250, 250,  57,  58,  59, 251,
     60,  61,  62,  63,  64,  65,  66,  67,  68,  69,  70,  71,  72,  73,  74,  75,  76,  77,
     78,  79,  80,  81,  82,  83,  84,  85,  86,  87,  88,  89, 250,  90,  91,  92,  93,  94,
     95,  96,  97,  98,  99, 100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111, 227,
    112, 113, 114, 115, 116, 117, 118, 119, 151, 120, 121, 122, 123, 124, 228, 125, 126, 229,
    133, 162, 135, 131, 132, 137, 166, 134, 140, 130, 136, 143, 138, 139, 174, 141, 142, 177,
    129, 144, 145, 146, 147, 148, 149, 150, 157, 152, 153, 154, 155, 156, 192, 158, 159, 160,
    161, 196, 163, 164, 165, 127, 199, 167, 168, 169, 170, 171, 172, 173, 207, 175, 176, 210,
    178, 179, 180, 181, 182, 183, 184, 185, 186, 187, 188, 189, 190, 191, 224, 193, 194, 195,
    252, 252, 197, 198, 128, 253, 252, 200, 201, 202, 203, 204, 205, 206, 230, 208, 209, 231,
    211, 212, 213, 214, 215, 216, 217, 218, 219, 220, 221, 222, 254, 223, 232, 225, 226, 255,
};

const BYTE VgaIndexMap[8] = {0, 9, 10, 11, 12, 13, 14, 15};
// clang-format on

namespace {

constexpr int Share(int k, int e) { return e < 0 ? -((k * -e + 8) / 16) : (k * e + 8) / 16; }

constexpr ErrorDiffusionTableSet BuildErrorTables()
{
    ErrorDiffusionTableSet t{};
    for (int e = -256; e < 256; ++e) {
        t.t7[e + 256] = Share(7, e);
        t.t5[e + 256] = Share(5, e);
        t.t3[e + 256] = Share(3, e);
        t.t1[e + 256] = Share(1, e);
    }
    return t;
}

} // namespace

// Built by the compiler: constant data before any code runs, so no first-use race between the
// user-interface thread and the search worker.
extern const ErrorDiffusionTableSet ErrorDiffusionTables = BuildErrorTables();

const ErrorDiffusionTableSet& InitErrorDiffusionTables() { return ErrorDiffusionTables; }

namespace {

// Ordered dither of the whole source to DefaultLogPalette entries.
struct OrderedDitherTo8 {
    const DibSource& src;
    const DibTarget& dst;
    template <int Bits> void Run() const
    {
        const RGBQUAD* colors = src.Colors();
        const int width = src.Width();
        for (int y = 0; y < src.Height(); ++y) {
            const BYTE* in = src.Row(y);
            BYTE* out = dst.Row(y);
            for (int x = 0; x < width; ++x) {
                int r, g, b;
                ReadPixel<Bits>(in, x, colors, r, g, b);
                out[x] = OrderedDitherIndex(r, g, b, x, y);
            }
        }
    }
};

// Error diffusion of the whole source to a ramp.
struct DiffuseTo8 {
    const DibSource& src;
    const DibTarget& dst;
    PaletteMode mode;
    template <int Bits> bool Run() const
    {
        const RGBQUAD* colors = src.Colors();
        const int width = src.Width();
        auto fill = [&](int y, int* values) {
            const BYTE* in = src.Row(y);
            for (int x = 0; x < width; ++x, values += 3)
                ReadPixel<Bits>(in, x, colors, values[0], values[1], values[2]);
        };
        return DiffuseToRamp(mode, width, src.Height(), fill, [&](int y) { return dst.Row(y); });
    }
};

// Ordered dither of a 24- or 8-bit source to the 16 standard colours, two pixels a byte.
struct DitherTo4 {
    const DibSource& src;
    const DibTarget& dst;
    template <int Bits> void Run() const
    {
        const RGBQUAD* colors = src.Colors();
        const int width = src.Width();
        for (int y = 0; y < src.Height(); ++y) {
            const BYTE* in = src.Row(y);
            BYTE* out = dst.Row(y);
            for (int x = 0; x < width; ++x) {
                int r, g, b;
                ReadPixel<Bits>(in, x, colors, r, g, b);
                const BYTE index = Dither4BitIndex(r, g, b, x, y);
                if ((x & 1) == 0)
                    out[x >> 1] = static_cast<BYTE>(index << 4);
                else
                    out[x >> 1] |= index;
            }
        }
    }
};

PackedDIB ConvertTo4Bit(PackedDIB dib, int requiredBits)
{
    DibSource src(dib);
    if (!src.Ok() || src.BitCount() != requiredBits)
        return nullptr;
    PackedDIB result = CreateDIB(static_cast<DWORD>(src.Width()), static_cast<DWORD>(src.Height()), 4);
    {
        DibTarget dst(result);
        if (!dst.Ok())
            return GlobalFreeHandle(result);
        DitherTo4 body{src, dst};
        if (requiredBits == 24)
            body.Run<24>();
        else
            body.Run<8>();
    }
    return result;
}

} // namespace

PackedDIB ConvertDIBTo8Bit(PackedDIB dib, HPALETTE /*palette*/, PaletteMode mode)
{
    if (mode == 0)
        mode = kApplicationPaletteMode;
    if (mode < kPaletteDefault || mode > kPaletteR1G1B1)
        return nullptr;
    DibSource src(dib);
    if (!src.Ok())
        return nullptr;
    PackedDIB result = CreateDIB(static_cast<DWORD>(src.Width()), static_cast<DWORD>(src.Height()), 8);
    bool done = false;
    {
        DibTarget dst(result);
        if (dst.Ok()) {
            FillFixedColorTable(mode, dst.ColorTable());
            if (mode == kPaletteDefault) {
                DispatchBitCount(src.BitCount(), OrderedDitherTo8{src, dst});
                done = true;
            } else {
                done = DispatchBitCount(src.BitCount(), DiffuseTo8{src, dst, mode});
            }
        }
    }
    return done ? result : GlobalFreeHandle(result);
}

PackedDIB ConvertDIB24To4Bit(PackedDIB dib) { return ConvertTo4Bit(dib, 24); }

PackedDIB ConvertDIB8To4Bit(PackedDIB dib) { return ConvertTo4Bit(dib, 8); }
