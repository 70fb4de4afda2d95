// Resizing on the sampling grid, the 8-bit resizer's palettes and dithers, and the canvas family.
#include <gtest/gtest.h>

#include "core/ColorReduce.h"
#include "core/FileUtil.h"
#include "core/Resize.h"
#include "tests/core/PictureBuilder.h"

using namespace proctest;

namespace {

// A different colour for every pixel of a small picture.
Rgb Distinct(int x, int y) { return Rgb{(x * 41 + 7) % 256, (y * 67 + 3) % 256, (x * 13 + y * 29) % 256}; }

} // namespace

TEST(ResizeDIBTo24Bit, SameSizeCopiesEveryPixel)
{
    Dib rgb(Make24(7, 5, Distinct));
    const std::vector<Rgb> table = {{10, 20, 30}, {200, 0, 9}, {0, 255, 0}, {77, 77, 77}};
    Dib pal8(MakeIndexed(7, 5, 8, table, [](int x, int y) { return (x + 2 * y) % 4; }));
    Dib pal4(MakeIndexed(7, 5, 4, table, [](int x, int y) { return (x * y) % 4; }));
    Dib pal1(MakeIndexed(7, 5, 1, {table[1], table[2]}, [](int x, int y) { return (x + y) % 2; }));
    for (PackedDIB src : {rgb.get(), pal8.get(), pal4.get(), pal1.get()}) {
        Dib out(ResizeDIBTo24Bit(src, 7, 5));
        ASSERT_NE(out.get(), nullptr);
        EXPECT_EQ(HeaderOf(out).biBitCount, 24);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x)
                ASSERT_EQ(PixelAt(out, x, y), PixelAt(src, x, y)) << x << "," << y;
    }
}

TEST(ResizeDIBTo24Bit, EnlargingRepeatsColumnsAndRowsByNearestChoice)
{
    Dib src(Make24(2, 2, Distinct));
    Dib out(ResizeDIBTo24Bit(src, 3, 3));
    ASSERT_NE(out.get(), nullptr);
    const int pick[3] = {0, 1, 1};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(PixelAt(out, x, y), Distinct(pick[x], pick[y])) << x << "," << y;
}

// Enlarged by any ratio, the last output column takes the last source column, never the bytes after
// the row (padding, the next row, or past the buffer on the last row).
TEST(ResizeDIBTo24Bit, EveryEnlargementEndsOnTheLastSourceColumn)
{
    const std::vector<Rgb> table = {{0, 0, 0}, {10, 20, 30}, {90, 0, 200}, {250, 240, 5}};
    for (int srcWidth = 1; srcWidth <= 7; ++srcWidth) {
        Dib rgb(Make24(srcWidth, 3, [](int x, int) { return Distinct(x, 0); }));
        Dib pal8(
            MakeIndexed(srcWidth, 3, 8, table, [srcWidth](int x, int) { return x == srcWidth - 1 ? 3 : 1; }));
        const Rgb last[2] = {Distinct(srcWidth - 1, 0), table[3]};
        int k = 0;
        for (PackedDIB src : {rgb.get(), pal8.get()}) {
            for (int width = srcWidth + 1; width <= 9 * srcWidth; ++width) {
                Dib out(ResizeDIBTo24Bit(src, width, 3));
                ASSERT_NE(out.get(), nullptr);
                for (int y = 0; y < 3; ++y)
                    ASSERT_EQ(PixelAt(out, width - 1, y), last[k])
                        << srcWidth << " to " << width << ", row " << y;
            }
            ++k;
        }
    }
}

// Enlarged more than twice, the last output row's nearest choice rounds up to the source height: it
// takes the last source row, never the bytes after the picture.
TEST(ResizeDIBTo24Bit, EveryEnlargementEndsOnTheLastSourceRow)
{
    for (int srcHeight = 1; srcHeight <= 7; ++srcHeight) {
        Dib src(Make24(2, srcHeight, Distinct));
        for (int height = srcHeight + 1; height <= 9 * srcHeight; ++height) {
            Dib out(ResizeDIBTo24Bit(src, 2, height));
            ASSERT_NE(out.get(), nullptr);
            for (int x = 0; x < 2; ++x)
                ASSERT_EQ(PixelAt(out, x, height - 1), Distinct(x, srcHeight - 1))
                    << srcHeight << " to " << height << ", column " << x;
        }
    }
}

TEST(ResizeDIBTo24Bit, HalvingAveragesPairsWithTruncation)
{
    Dib src(Make24(100, 4, [](int x, int y) { return Rgb{x % 2 ? 13 : 10, x, y * 50}; }));
    Dib out(ResizeDIBTo24Bit(src, 50, 2));
    ASSERT_NE(out.get(), nullptr);
    // Column 49 averages columns 98 and 99: (10 + 13) / 2 = 11, (98 + 99) / 2 = 98.
    EXPECT_EQ(PixelAt(out, 49, 0), (Rgb{11, 98, 0}));
    EXPECT_EQ(PixelAt(out, 0, 0), (Rgb{11, 0, 0}));
    // Rows are not averaged: output row 1 reads source row 2.
    EXPECT_EQ(PixelAt(out, 3, 1), (Rgb{11, 6, 100}));
}

TEST(ResizeDIBTo24Bit, OnePixelTargetAveragesTheWholeFirstRow)
{
    Dib src(Make24(5, 3, [](int x, int y) { return y == 0 ? Rgb{x * 10, 255, 3 + x} : Rgb{250, 0, 0}; }));
    Dib out(ResizeDIBTo24Bit(src, 1, 1));
    ASSERT_NE(out.get(), nullptr);
    EXPECT_EQ(PixelAt(out, 0, 0), (Rgb{20, 255, 5}));
}

// A picture about nine million pixels wide shrunk to one column: each channel's sum passes 2^31.
TEST(ResizeDIBTo24Bit, VeryWideSpansAverageWithoutWrapping)
{
    const int width = 9000000;
    Dib wide(MakeIndexed(width, 1, 1, {{0, 0, 0}, {255, 255, 255}}, [](int, int) { return 1; }));
    ASSERT_NE(wide.get(), nullptr);
    Dib out(ResizeDIBTo24Bit(wide, 1, 1));
    ASSERT_NE(out.get(), nullptr);
    EXPECT_EQ(PixelAt(out, 0, 0), (Rgb{255, 255, 255}));
    // The ordered dither looks the mean up in 256-entry tables: it must land on white too.
    Dib white(MakeSolid24(1, 1, {255, 255, 255}));
    Dib expected(ResizeDIBTo8Bit(white, 1, 1, 1));
    Dib dithered(ResizeDIBTo8Bit(wide, 1, 1, 1));
    ASSERT_NE(dithered.get(), nullptr);
    EXPECT_EQ(PixelAt(dithered, 0, 0), PixelAt(expected, 0, 0));
}

// The gradient's weighted sum of a wide picture passes 2^31 as well.
TEST(ResizeCanvas, VeryWideGradientKeepsItsEnds)
{
    const int width = 9000000;
    Dib gradient(CreateGradientDIB24Bit(RGB(255, 255, 255), RGB(0, 128, 255), width, 1, TRUE));
    ASSERT_NE(gradient.get(), nullptr);
    EXPECT_EQ(PixelAt(gradient, 0, 0), (Rgb{255, 255, 255}));
    EXPECT_EQ(PixelAt(gradient, width / 2, 0), (Rgb{127, 191, 255}));
    EXPECT_EQ(PixelAt(gradient, width - 1, 0), (Rgb{0, 128, 255}));
}

TEST(ResizeDIBTo24Bit, EmptyTargetsAndBadSources)
{
    Dib src(MakeSolid24(4, 4, {1, 2, 3}));
    Dib noWidth(ResizeDIBTo24Bit(src, 0, 5));
    ASSERT_NE(noWidth.get(), nullptr);
    EXPECT_EQ(HeaderOf(noWidth).biWidth, 0);
    EXPECT_EQ(HeaderOf(noWidth).biHeight, 5);
    Dib noHeight(ResizeDIBTo8Bit(src, 6, 0, 2));
    ASSERT_NE(noHeight.get(), nullptr);
    EXPECT_EQ(HeaderOf(noHeight).biWidth, 6);

    EXPECT_EQ(ResizeDIBTo24Bit(src, -1, 5), nullptr);
    EXPECT_EQ(ResizeDIBTo8Bit(src, 5, -1, 1), nullptr);
    Dib deep16(CreateDIB(4, 4, 16));
    EXPECT_EQ(ResizeDIBTo24Bit(deep16, 2, 2), nullptr);
    EXPECT_EQ(ResizeDIBTo8Bit(deep16, 2, 2, 1), nullptr);
    Dib empty(CreateDIB(0, 4, 24));
    EXPECT_EQ(ResizeDIBTo24Bit(empty, 2, 2), nullptr);
    EXPECT_EQ(ResizeDIBTo8Bit(empty, 2, 2, 2), nullptr);
    EXPECT_EQ(ResizeDIBTo24Bit(nullptr, 2, 2), nullptr);
    EXPECT_EQ(ResizeDIBTo8Bit(src, 2, 2, 9), nullptr);
}

TEST(ResizeDIBTo8Bit, ModeZeroIsModeOne)
{
    Dib src(Make24(11, 9, Distinct));
    Dib zero(ResizeDIBTo8Bit(src, 6, 4, 0));
    Dib one(ResizeDIBTo8Bit(src, 6, 4, 1));
    ASSERT_NE(zero.get(), nullptr);
    EXPECT_EQ(Snapshot(zero), Snapshot(one));
}

TEST(ResizeDIBTo8Bit, SameSizeMatchesTheConversionOfEachMode)
{
    Dib src(Make24(10, 6, Distinct));
    for (int mode = 1; mode <= 4; ++mode) {
        Dib resized(ResizeDIBTo8Bit(src, 10, 6, mode));
        Dib converted(ConvertDIBTo8Bit(src, nullptr, mode));
        ASSERT_NE(resized.get(), nullptr);
        EXPECT_EQ(Snapshot(resized), Snapshot(converted)) << "mode " << mode;
    }
}

TEST(ResizeDIBTo8Bit, OrderedDitherAppliesAtTheOutputPosition)
{
    // Two source pixels per output pixel, both mid grey: the mean stays 128.
    Dib src(MakeSolid24(16, 8, {128, 128, 128}));
    Dib out(ResizeDIBTo8Bit(src, 8, 8, 1));
    ASSERT_NE(out.get(), nullptr);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const Rgb want = DitherMatrix51[x * 8 + y] < 26 ? Rgb{153, 153, 153} : Rgb{102, 102, 102};
            EXPECT_EQ(PixelAt(out, x, y), want) << x << "," << y;
        }
}

TEST(ResizeDIBTo8Bit, FirstGridRowTakesSinglePixelsInDiffusedModes)
{
    // Black then white: the mean would be 127, but row 0 takes the span's first pixel only.
    Dib src(Make24(2, 2, [](int x, int) { return x == 0 ? Rgb{0, 0, 0} : Rgb{255, 255, 255}; }));
    Dib out(ResizeDIBTo8Bit(src, 1, 2, 2));
    ASSERT_NE(out.get(), nullptr);
    EXPECT_EQ(IndexAt(out, 0, 0), 0);
    // Row 1 averages the span (127, 127, 127) plus the error of black (0).
    EXPECT_EQ(PixelAt(out, 0, 1), (Rgb{85, 109, 85}));
    Dib mean(ResizeDIBTo24Bit(src, 1, 2));
    EXPECT_EQ(PixelAt(mean, 0, 0), (Rgb{127, 127, 127}));
}

TEST(Resize, SourcesAreUnchanged)
{
    Dib rgb(Make24(9, 9, Distinct));
    Dib pal(MakeIndexed(9, 9, 4, {{1, 2, 3}, {4, 5, 6}}, [](int x, int) { return x % 16; }));
    for (PackedDIB src : {rgb.get(), pal.get()}) {
        const std::string before = Snapshot(src);
        GlobalFreeHandle(ResizeDIBTo24Bit(src, 4, 13));
        for (int mode = 0; mode <= 4; ++mode)
            GlobalFreeHandle(ResizeDIBTo8Bit(src, 13, 4, mode));
        GlobalFreeHandle(ResizeDIBTo8BitWithPalette(src, 5, 5, nullptr));
        GlobalFreeHandle(CenterDIBOnCanvas8Bit(src, 20, 3));
        GlobalFreeHandle(CropDIBTo24Bit(src, 3, 20));
        EXPECT_EQ(Snapshot(src), before);
    }
}

TEST(ResizeCanvas, CentredAndCroppedPlacement)
{
    Dib src(Make24(2, 2, Distinct));
    Dib centred(CenterDIBOnCanvas24Bit(src, 6, 5));
    ASSERT_NE(centred.get(), nullptr);
    // Offset ((6 - 2) / 2, (5 - 2) / 2) = (2, 1); the rest is black.
    EXPECT_EQ(PixelAt(centred, 2, 1), Distinct(0, 0));
    EXPECT_EQ(PixelAt(centred, 3, 2), Distinct(1, 1));
    EXPECT_EQ(PixelAt(centred, 1, 1), (Rgb{0, 0, 0}));
    EXPECT_EQ(PixelAt(centred, 4, 3), (Rgb{0, 0, 0}));

    Dib cropped(CropDIBTo24Bit(src, 1, 3));
    ASSERT_NE(cropped.get(), nullptr);
    EXPECT_EQ(PixelAt(cropped, 0, 0), Distinct(0, 0));
    EXPECT_EQ(PixelAt(cropped, 0, 1), Distinct(0, 1));
    EXPECT_EQ(PixelAt(cropped, 0, 2), (Rgb{0, 0, 0}));

    Dib white(MakeSolid24(1, 1, {255, 255, 255}));
    SetScreenBitsPerPixelForTest(4);
    Dib canvas8(CenterDIBOnCanvas8Bit(white, 3, 3));
    SetScreenBitsPerPixelForTest(0);
    ASSERT_NE(canvas8.get(), nullptr);
    EXPECT_EQ(IndexAt(canvas8, 1, 1), 0xE0); // white on the mode-4 ramp
    EXPECT_EQ(IndexAt(canvas8, 0, 0), 0);
    EXPECT_EQ(IndexAt(canvas8, 2, 2), 0);
}

TEST(ResizeCanvas, GradientsAndSolidColours)
{
    Dib h(CreateGradientDIB24Bit(RGB(0, 0, 0), RGB(255, 90, 30), 4, 2, TRUE));
    ASSERT_NE(h.get(), nullptr);
    EXPECT_EQ(PixelAt(h, 0, 0), (Rgb{0, 0, 0}));
    EXPECT_EQ(PixelAt(h, 1, 1), (Rgb{85, 30, 10}));
    EXPECT_EQ(PixelAt(h, 3, 0), (Rgb{255, 90, 30}));
    // Vertical: colour 1 at the top, the last stored row.
    Dib v(CreateGradientDIB24Bit(RGB(200, 0, 0), RGB(0, 0, 200), 2, 3, FALSE));
    EXPECT_EQ(PixelAt(v, 0, 2), (Rgb{200, 0, 0}));
    EXPECT_EQ(PixelAt(v, 1, 1), (Rgb{100, 0, 100}));
    EXPECT_EQ(PixelAt(v, 0, 0), (Rgb{0, 0, 200}));
    Dib one(CreateGradientDIB24Bit(RGB(9, 8, 7), RGB(1, 1, 1), 1, 1, TRUE));
    EXPECT_EQ(PixelAt(one, 0, 0), (Rgb{9, 8, 7}));

    Dib solid(CreateSolidDIB24Bit(RGB(12, 34, 56), 3, 2));
    EXPECT_EQ(PixelAt(solid, 2, 1), (Rgb{12, 34, 56}));
    SetScreenBitsPerPixelForTest(8);
    Dib solid8(CreateSolidDIB8Bit(RGB(255, 255, 255), 3, 2));
    SetScreenBitsPerPixelForTest(0);
    ASSERT_NE(solid8.get(), nullptr);
    EXPECT_EQ(IndexAt(solid8, 2, 1), 0xFE);
    EXPECT_EQ(CreateSolidDIB24Bit(0, -1, 2), nullptr);
}

TEST(ResizeCanvas, BlitsClipAndFitInsideTheBorder)
{
    Dib dest(MakeSolid24(4, 4, {1, 1, 1}));
    Dib big(Make24(6, 6, Distinct));
    ASSERT_TRUE(BlitDIBCentered24Bit(dest, big));
    // Offset (4 - 6) / 2 = -1: destination (0, 0) shows source (1, 1).
    EXPECT_EQ(PixelAt(dest, 0, 0), Distinct(1, 1));
    EXPECT_EQ(PixelAt(dest, 3, 3), Distinct(4, 4));

    Dib frame(MakeSolid24(10, 6, {9, 9, 9}));
    Dib square(MakeSolid24(2, 2, {200, 0, 0}));
    ASSERT_TRUE(BlitDIBScaled24Bit(frame, square, 1, FALSE));
    // Inner area 8 x 4; a square fits as 4 x 4 at x = 1 + (8 - 4) / 2 = 3.
    EXPECT_EQ(PixelAt(frame, 2, 2), (Rgb{9, 9, 9}));
    EXPECT_EQ(PixelAt(frame, 3, 1), (Rgb{200, 0, 0}));
    EXPECT_EQ(PixelAt(frame, 6, 4), (Rgb{200, 0, 0}));
    EXPECT_EQ(PixelAt(frame, 7, 2), (Rgb{9, 9, 9}));
    EXPECT_EQ(PixelAt(frame, 0, 0), (Rgb{9, 9, 9}));
    ASSERT_TRUE(BlitDIBScaled24Bit(frame, square, 1, TRUE));
    EXPECT_EQ(PixelAt(frame, 1, 1), (Rgb{200, 0, 0}));
    EXPECT_EQ(PixelAt(frame, 8, 4), (Rgb{200, 0, 0}));
    EXPECT_EQ(PixelAt(frame, 9, 5), (Rgb{9, 9, 9}));

    EXPECT_FALSE(BlitDIBCentered8Bit(dest, big)); // wrong depth
    EXPECT_FALSE(BlitDIBScaled24Bit(frame, square, 5, TRUE));
}

TEST(ResizeCanvas, DitherPatternOfAColour)
{
    BYTE pattern[64];
    MakeDitherPattern(0xFFFFFF, pattern);
    for (BYTE b : pattern)
        EXPECT_EQ(b, 255);
    // 128 is lowered to 127 = 2 x 51 + 25: level 3 only where the threshold is below 25.
    MakeDitherPattern(0x808080, pattern);
    for (int i = 0; i < 64; ++i) {
        const int threshold = DitherMatrix51[(i % 8) * 8 + i / 8];
        EXPECT_EQ(pattern[i], OrderedDitherIndex(127, 127, 127, i % 8, i / 8));
        EXPECT_EQ(pattern[i] == OrderedDitherIndex(153, 153, 153, 0, 0), threshold < 25) << i;
    }
}
