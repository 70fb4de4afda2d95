// Colour kinds, mask planes, dither shares and the dithered brushes painted on a memory surface.
#include <gtest/gtest.h>

#include <map>

#include "core/ColorBrush.h"
#include "core/ColorReduce.h"
#include "core/Palette.h"
#include "core/Resize.h"
#include "tests/core/DrawSurface.h"

using proctest::DrawSurface;

namespace {

// Paints an 8 x 8 square at the origin with the brush.
void Paint(DrawSurface& s, CBrush& brush)
{
    RECT r = {0, 0, 8, 8};
    s.dc()->FillRect(&r, &brush);
}

std::map<int, int> CountShares(const BYTE* pattern)
{
    std::map<int, int> counts;
    for (int i = 0; i < 64; ++i)
        ++counts[pattern[i]];
    return counts;
}

} // namespace

TEST(ColorKind, TopByteGivesTheKind)
{
    EXPECT_EQ(GetColorKind(0x00123456), 0);
    EXPECT_EQ(GetColorKind(0x01000005), 0);
    EXPECT_EQ(GetColorKind(0x02123456), 0);
    EXPECT_EQ(GetColorKind(0xF0FFFFFF), 0);
    EXPECT_EQ(GetColorKind(kScreenColor), 1);
    EXPECT_EQ(GetColorKind(kInverseScreenColor), 2);
    EXPECT_EQ(GetColorKind(0xFF000000), 2);
}

TEST(ColorKind, StandardColoursAndInterpolation)
{
    EXPECT_EQ(FindStandardColorIndex(0, 0, 0), 0);
    EXPECT_EQ(FindStandardColorIndex(192, 192, 192), 7);
    EXPECT_EQ(FindStandardColorIndex(240, 240, 240), 15);
    EXPECT_EQ(FindStandardColorIndex(255, 255, 255), -1);
    EXPECT_EQ(InterpolateColor(0, RGB(0, 0, 0), RGB(200, 100, 40), 5), RGB(0, 0, 0));
    EXPECT_EQ(InterpolateColor(4, RGB(0, 0, 0), RGB(200, 100, 40), 5), RGB(200, 100, 40));
    EXPECT_EQ(InterpolateColor(1, RGB(0, 0, 0), RGB(200, 100, 40), 5), RGB(50, 25, 10));
    EXPECT_EQ(InterpolateColor(3, RGB(9, 9, 9), RGB(0, 0, 0), 1), RGB(9, 9, 9));
    EXPECT_GT(GetDesktopBitsPerPixel(), 0);
}

TEST(MaskPlanes, PixelsRoundTripByKind)
{
    DrawSurface colour(4, 1, RGB(1, 2, 3)), mask(4, 1, RGB(1, 2, 3));
    SetMaskPixel(colour.dc(), mask.dc(), RGB(10, 20, 30), 0, 0);
    SetMaskPixel(colour.dc(), mask.dc(), kScreenColor, 1, 0);
    SetMaskPixel(colour.dc(), mask.dc(), kInverseScreenColor, 2, 0);
    EXPECT_EQ(mask.At(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(colour.At(0, 0), RGB(10, 20, 30));
    EXPECT_EQ(mask.At(1, 0), RGB(255, 255, 255));
    EXPECT_EQ(colour.At(1, 0), RGB(0, 0, 0));
    EXPECT_EQ(colour.At(2, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetMaskPixel(colour.dc(), mask.dc(), 0, 0), RGB(10, 20, 30));
    EXPECT_EQ(GetMaskPixel(colour.dc(), mask.dc(), 1, 0), kScreenColor);
    EXPECT_EQ(GetMaskPixel(colour.dc(), mask.dc(), 2, 0), kInverseScreenColor);
}

TEST(DitherShares, ColoursSplitIntoQuarteredChannels)
{
    DitherShare shares[4];
    ASSERT_EQ(ComputeDitherShares(RGB(255, 255, 255), shares), 1);
    EXPECT_EQ(shares[0].count, 64);
    EXPECT_EQ(shares[0].index, 15);
    ASSERT_EQ(ComputeDitherShares(RGB(0, 0, 0), shares), 1);
    EXPECT_EQ(shares[0].index, 0);
    ASSERT_EQ(ComputeDitherShares(RGB(255, 0, 0), shares), 1);
    EXPECT_EQ(shares[0].index, 9);
    // Quarters 64, 32, 0: half yellow (red and green), half red.
    ASSERT_EQ(ComputeDitherShares(RGB(255, 127, 0), shares), 2);
    EXPECT_EQ(shares[0].count, 32);
    EXPECT_EQ(shares[0].index, 11);
    EXPECT_EQ(shares[1].count, 32);
    EXPECT_EQ(shares[1].index, 9);
    // Quarters 25 (red), 5 (green), 15 (blue): 5 white, 10 magenta, 10 red, 39 black.
    ASSERT_EQ(ComputeDitherShares(RGB(100, 20, 60), shares), 4);
    EXPECT_EQ(shares[0].count, 5);
    EXPECT_EQ(shares[0].index, 15);
    EXPECT_EQ(shares[1].count, 10);
    EXPECT_EQ(shares[1].index, 13);
    EXPECT_EQ(shares[2].count, 10);
    EXPECT_EQ(shares[2].index, 9);
    EXPECT_EQ(shares[3].count, 39);
    EXPECT_EQ(shares[3].index, 0);
}

TEST(DitherShares, PatternPlacesSharesOnTheLowestThresholdsFirst)
{
    BYTE pattern[64];
    ComputeDitherPattern(RGB(100, 20, 60), pattern);
    std::map<int, int> counts = CountShares(pattern);
    EXPECT_EQ(counts[15], 5);
    EXPECT_EQ(counts[13], 10);
    EXPECT_EQ(counts[9], 10);
    EXPECT_EQ(counts[0], 39);
    for (int i = 0; i < 64; ++i) {
        const int rank = DitherMatrix4Bit[i] / 4;
        const int want = rank < 5 ? 15 : rank < 15 ? 13 : rank < 25 ? 9 : 0;
        EXPECT_EQ(pattern[i], want) << i;
    }
}

TEST(DitherBrush, EachDepthPaintsItsPattern)
{
    DrawSurface s(8, 8);
    CBrush brush;
    // Depth 1: white where the grey level exceeds the threshold of the cell.
    ASSERT_TRUE(CreateDitherBrush(&brush, RGB(128, 128, 128), 1));
    Paint(s, brush);
    for (int i = 0; i < 64; ++i)
        ASSERT_EQ(s.At(i % 8, i / 8), 128 > DitherMatrix4Bit[i] ? RGB(255, 255, 255) : RGB(0, 0, 0)) << i;

    // Depth 4: the standard colours of the pattern, bright ones at 240.
    ASSERT_TRUE(CreateDitherBrush(&brush, RGB(255, 127, 0), 4));
    Paint(s, brush);
    BYTE pattern[64];
    ComputeDitherPattern(RGB(255, 127, 0), pattern);
    for (int i = 0; i < 64; ++i)
        ASSERT_EQ(s.At(i % 8, i / 8), pattern[i] == 11 ? RGB(240, 240, 0) : RGB(240, 0, 0)) << i;

    // Depth 8: the built-in palette's entries of the ordered dither.
    ASSERT_TRUE(CreateDitherBrush(&brush, RGB(128, 128, 128), 8));
    Paint(s, brush);
    MakeDitherPattern(0x808080, pattern);
    for (int i = 0; i < 64; ++i) {
        const PALETTEENTRY& e = DefaultLogPalette.palPalEntry[pattern[i]];
        ASSERT_EQ(s.At(i % 8, i / 8), RGB(e.peRed, e.peGreen, e.peBlue)) << i;
    }

    // Other depths: solid.
    ASSERT_TRUE(CreateDitherBrush(&brush, RGB(12, 34, 56), 24));
    Paint(s, brush);
    EXPECT_EQ(s.At(3, 5), RGB(12, 34, 56));
    ASSERT_TRUE(CreateColorBrush(&brush, PALETTERGB(70, 80, 90), 4));
    Paint(s, brush);
    EXPECT_EQ(s.At(0, 0), RGB(70, 80, 90));
}

TEST(DitherBrush, MaskPairsByKind)
{
    DrawSurface m(8, 8), c(8, 8);
    CBrush mask, colour;
    ASSERT_TRUE(CreateMaskBrushPair(kScreenColor, &mask, &colour, 24, nullptr));
    Paint(m, mask);
    Paint(c, colour);
    EXPECT_EQ(m.At(1, 1), RGB(255, 255, 255));
    EXPECT_EQ(c.At(1, 1), RGB(0, 0, 0));
    ASSERT_TRUE(CreateMaskBrushPair(kInverseScreenColor, &mask, &colour, 24, nullptr));
    Paint(m, mask);
    Paint(c, colour);
    EXPECT_EQ(m.At(1, 1), RGB(255, 255, 255));
    EXPECT_EQ(c.At(1, 1), RGB(255, 255, 255));

    // A palette index on a 16-bit display: the entry's colour cut to 5 bits a channel.
    LOGPALETTE256 log = {0x300, 2, {}};
    log.palPalEntry[1] = PALETTEENTRY{100, 255, 7, 0};
    HPALETTE palette = CreatePalette(reinterpret_cast<LOGPALETTE*>(&log));
    ASSERT_TRUE(CreateMaskBrushPair(PALETTEINDEX(1), &mask, &colour, 16, palette));
    Paint(m, mask);
    Paint(c, colour);
    EXPECT_EQ(m.At(1, 1), RGB(0, 0, 0));
    EXPECT_EQ(c.At(1, 1), RGB(96, 255, 0));
    DeleteObject(palette);

    ASSERT_TRUE(CreateMaskBrushPair(RGB(12, 34, 56), &mask, &colour, 24, nullptr));
    Paint(c, colour);
    EXPECT_EQ(c.At(7, 7), RGB(12, 34, 56));
}

TEST(DitherBrush, DitheredCopyPaintsOnePixelPerCell)
{
    DrawSurface sample(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            sample.dc()->SetPixel(x, y, RGB(x * 50, y * 50, 9));
    DrawSurface target(16, 16);
    DrawDitheredCopy(target.dc(), 10, 10, 2, 2, sample.dc(), 0, 0, 4, 4, 24);
    EXPECT_EQ(target.At(10, 10), RGB(0, 0, 9));
    EXPECT_EQ(target.At(11, 10), RGB(100, 0, 9));
    EXPECT_EQ(target.At(10, 11), RGB(0, 100, 9));
    EXPECT_EQ(target.At(11, 11), RGB(100, 100, 9));
    EXPECT_EQ(target.At(12, 10), RGB(255, 255, 255));
    EXPECT_EQ(target.At(10, 12), RGB(255, 255, 255));
    EXPECT_EQ(target.At(9, 9), RGB(255, 255, 255));
}
