// Colour reduction: exact indices of the ordered dither, the error diffusion and the 16-colour
// dither, the shared tables, refusals, and sources left untouched.
#include <gtest/gtest.h>

#include "core/ColorReduce.h"
#include "tests/core/PictureBuilder.h"

using namespace proctest;

namespace {

// Palette entry of DefaultLogPalette holding exactly this colour, -1 when none does.
int DefaultEntryOf(int r, int g, int b)
{
    for (int i = 0; i < 256; ++i) {
        const PALETTEENTRY& e = DefaultLogPalette.palPalEntry[i];
        if (e.peRed == r && e.peGreen == g && e.peBlue == b)
            return i;
    }
    return -1;
}

int ConvertOnePixel(Rgb c, PaletteMode mode)
{
    Dib src(MakeSolid24(1, 1, c));
    Dib out(ConvertDIBTo8Bit(src, nullptr, mode));
    return out.get() ? IndexAt(out, 0, 0) : -1;
}

} // namespace

TEST(DitherTables, ErrorSharesRoundHalvesAwayFromZero)
{
    const ErrorDiffusionTableSet& t = InitErrorDiffusionTables();
    EXPECT_EQ(&t, &ErrorDiffusionTables);
    EXPECT_EQ(t.t1[256 + 1], 0);
    EXPECT_EQ(t.t1[256 + 8], 1);
    EXPECT_EQ(t.t7[256 - 2], -1);
    EXPECT_EQ(t.t5[256 + 255], 80);
    EXPECT_EQ(t.t3[256 + 0], 0);
    for (int e = 1; e < 256; ++e) {
        EXPECT_EQ(t.t7[256 - e], -t.t7[256 + e]) << e;
        EXPECT_EQ(t.t1[256 - e], -t.t1[256 + e]) << e;
    }
}

TEST(DitherTables, CubeIndexNamesTheEntryOfThatColour)
{
    for (int key = 0; key < 216; ++key) {
        const int r = 51 * (key % 6), g = 51 * (key / 6 % 6), b = 51 * (key / 36);
        const int exact = DefaultEntryOf(r, g, b);
        if (key == 31 || key == 66)
            EXPECT_EQ(CubeToPaletteIndex[key], 250);
        else if (key == 181 || key == 186)
            EXPECT_EQ(CubeToPaletteIndex[key], 252);
        else
            EXPECT_EQ(CubeToPaletteIndex[key], exact) << "key " << key;
    }
    for (int v = 0; v < 256; ++v) {
        EXPECT_EQ(Quotient51[v], v / 51);
        EXPECT_EQ(Remainder51[v], v % 51);
    }
}

TEST(ConvertDIBTo8Bit, PlainColoursGiveTheirIndices)
{
    EXPECT_EQ(ConvertOnePixel({255, 255, 255}, 2), 0xFE);
    EXPECT_EQ(ConvertOnePixel({0, 0, 0}, 2), 0);
    EXPECT_EQ(ConvertOnePixel({255, 255, 255}, 4), 0xE0);
    EXPECT_EQ(ConvertOnePixel({0, 0, 0}, 4), 0);
    EXPECT_EQ(ConvertOnePixel({0, 255, 0}, 1), 250);
    EXPECT_EQ(ConvertOnePixel({51, 255, 0}, 1), 250);
    EXPECT_EQ(ConvertOnePixel({255, 255, 255}, 1), 255);
    EXPECT_EQ(ConvertOnePixel({0, 0, 0}, 1), 0);
    EXPECT_EQ(ConvertOnePixel({255, 255, 255}, 3), 0xFF);
}

TEST(ConvertDIBTo8Bit, ModeZeroIsTheApplicationPaletteRamp)
{
    Dib src(Make24(9, 5, [](int x, int y) { return Rgb{x * 28, y * 60, 255 - x * 20}; }));
    Dib zero(ConvertDIBTo8Bit(src, nullptr, 0));
    Dib two(ConvertDIBTo8Bit(src, nullptr, 2));
    ASSERT_NE(zero.get(), nullptr);
    EXPECT_EQ(Snapshot(zero), Snapshot(two));
}

TEST(ConvertDIBTo8Bit, OutputCarriesTheColourTableOfItsMode)
{
    Dib src(MakeSolid24(3, 2, {10, 20, 30}));
    for (int mode = 1; mode <= 4; ++mode) {
        Dib out(ConvertDIBTo8Bit(src, nullptr, mode));
        ASSERT_NE(out.get(), nullptr);
        const BITMAPINFOHEADER h = HeaderOf(out);
        EXPECT_EQ(h.biBitCount, 8);
        EXPECT_EQ(h.biWidth, 3);
        EXPECT_EQ(h.biHeight, 2);
        WithBlock(out, [&](BITMAPINFOHEADER*, RGBQUAD* table, BYTE*, DWORD) {
            for (int i = 0; i < 256; ++i) {
                const RGBQUAD want = GetFixedPaletteColor(mode, i);
                ASSERT_EQ(memcmp(&table[i], &want, sizeof(want)), 0) << "mode " << mode << " entry " << i;
            }
        });
    }
}

TEST(ConvertDIBTo8Bit, OrderedDitherOfMidGreyFollowsTheMatrix)
{
    const int level2 = DefaultEntryOf(102, 102, 102);
    const int level3 = DefaultEntryOf(153, 153, 153);
    ASSERT_GE(level2, 0);
    ASSERT_GE(level3, 0);
    Dib src(MakeSolid24(16, 16, {128, 128, 128}));
    Dib out(ConvertDIBTo8Bit(src, nullptr, 1));
    ASSERT_NE(out.get(), nullptr);
    // 128 = 2 x 51 + 26: level 3 exactly where the threshold at (x mod 8, y mod 8) is below 26.
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const int threshold = DitherMatrix51[(x % 8) * 8 + y % 8];
            EXPECT_EQ(IndexAt(out, x, y), threshold < 26 ? level3 : level2) << x << "," << y;
        }
    // The matrix is not symmetric, so a transposed lookup would fail above.
    EXPECT_NE(DitherMatrix51[1 * 8 + 0], DitherMatrix51[0 * 8 + 1]);
}

TEST(ConvertDIBTo8Bit, OneRowPicturePassesErrorToTheRight)
{
    // Mode 2, red 115: quantised to 85 (error 30); 7/16 of 30 (13) lifts the next pixel to 128.
    Dib src(MakeSolid24(3, 1, {115, 0, 0}));
    Dib out(ConvertDIBTo8Bit(src, nullptr, 2));
    ASSERT_NE(out.get(), nullptr);
    EXPECT_EQ(IndexAt(out, 0, 0), 0x40);
    EXPECT_EQ(IndexAt(out, 1, 0), 0x80); // 128 -> 170, error -42, -18 to the next
    EXPECT_EQ(IndexAt(out, 2, 0), 0x40); // 97
}

TEST(ConvertDIBTo8Bit, OnePixelWidePicturePassesErrorOnlyDownward)
{
    // 5/16 of 30 (9) gives 124, still below 128; then 5/16 of 39 (12) gives 127.
    Dib src(MakeSolid24(1, 3, {115, 0, 0}));
    Dib out(ConvertDIBTo8Bit(src, nullptr, 2));
    ASSERT_NE(out.get(), nullptr);
    for (int y = 0; y < 3; ++y)
        EXPECT_EQ(IndexAt(out, 0, y), 0x40) << y;

    // Red 120: error 35 sends 11 down: 131 crosses into the next level; -39 sends -12: 108.
    Dib src2(MakeSolid24(1, 3, {120, 0, 0}));
    Dib out2(ConvertDIBTo8Bit(src2, nullptr, 2));
    EXPECT_EQ(IndexAt(out2, 0, 0), 0x40);
    EXPECT_EQ(IndexAt(out2, 0, 1), 0x80);
    EXPECT_EQ(IndexAt(out2, 0, 2), 0x40);
}

TEST(ConvertDIBTo8Bit, ErrorReachesTheLowerLeftNeighbour)
{
    // Rows (stored order): [0, 115] then [122, 0]. Pixel (1, 0) sends 3/16 of 30 (6) to (0, 1):
    // 128 reaches the next red level; its error of -42 then clamps (1, 1) at 0.
    Dib src(Make24(2, 2, [](int x, int y) {
        return Rgb{(x == 1 && y == 0) ? 115 : (x == 0 && y == 1) ? 122 : 0, 0, 0};
    }));
    Dib out(ConvertDIBTo8Bit(src, nullptr, 2));
    ASSERT_NE(out.get(), nullptr);
    EXPECT_EQ(IndexAt(out, 0, 0), 0);
    EXPECT_EQ(IndexAt(out, 1, 0), 0x40);
    EXPECT_EQ(IndexAt(out, 0, 1), 0x80);
    EXPECT_EQ(IndexAt(out, 1, 1), 0);
}

TEST(ConvertDIBTo8Bit, PaletteSourcesAreReadThroughTheirColourTables)
{
    const std::vector<Rgb> table = {{0, 0, 0}, {255, 255, 255}};
    Dib one(MakeIndexed(9, 2, 1, table, [](int x, int) { return x % 2; }));
    Dib out(ConvertDIBTo8Bit(one, nullptr, 2));
    ASSERT_NE(out.get(), nullptr);
    for (int x = 0; x < 9; ++x)
        EXPECT_EQ(IndexAt(out, x, 1), x % 2 ? 0xFE : 0) << x;

    const std::vector<Rgb> three = {{0, 0, 0}, {0, 255, 0}, {255, 255, 255}};
    Dib four(MakeIndexed(5, 1, 4, three, [](int x, int) { return x % 3; }));
    Dib out4(ConvertDIBTo8Bit(four, nullptr, 1));
    ASSERT_NE(out4.get(), nullptr);
    EXPECT_EQ(IndexAt(out4, 0, 0), 0);
    EXPECT_EQ(IndexAt(out4, 1, 0), 250);
    EXPECT_EQ(IndexAt(out4, 2, 0), 255);
    EXPECT_EQ(IndexAt(out4, 4, 0), 250);
}

TEST(ConvertDIBTo8Bit, IndexPastTheColourTableReadsAsBlack)
{
    // Two colours in the table, but the pixels use index 200.
    const std::vector<Rgb> two = {{255, 255, 255}, {255, 255, 255}};
    Dib src(MakeIndexed(4, 1, 8, two, [](int x, int) { return x == 2 ? 200 : 1; }));
    Dib out(ConvertDIBTo8Bit(src, nullptr, 4));
    ASSERT_NE(out.get(), nullptr);
    EXPECT_EQ(IndexAt(out, 0, 0), 0xE0);
    EXPECT_EQ(IndexAt(out, 2, 0), 0);
}

TEST(ConvertDIBTo8Bit, RefusesUnsupportedSourcesAndModes)
{
    Dib deep16(CreateDIB(4, 4, 16));
    Dib deep32(CreateDIB(4, 4, 32));
    Dib ok(MakeSolid24(4, 4, {1, 2, 3}));
    for (int mode = 0; mode <= 4; ++mode) {
        EXPECT_EQ(ConvertDIBTo8Bit(deep16, nullptr, mode), nullptr);
        EXPECT_EQ(ConvertDIBTo8Bit(deep32, nullptr, mode), nullptr);
        EXPECT_EQ(ConvertDIBTo8Bit(nullptr, nullptr, mode), nullptr);
    }
    EXPECT_EQ(ConvertDIBTo8Bit(ok, nullptr, 5), nullptr);
    EXPECT_EQ(ConvertDIBTo8Bit(ok, nullptr, -1), nullptr);
}

TEST(ConvertDIBTo8Bit, RefusesABlockShorterThanItsHeaderSays)
{
    Dib whole(MakeSolid24(8, 8, {9, 9, 9}));
    std::string bytes = Snapshot(whole);
    bytes.resize(bytes.size() - 8);
    Dib cut(BlockOf(bytes));
    EXPECT_EQ(ConvertDIBTo8Bit(cut, nullptr, 2), nullptr);
    EXPECT_EQ(ConvertDIB24To4Bit(cut), nullptr);
    // A compressed or top-down header is refused too.
    bytes = Snapshot(whole);
    reinterpret_cast<BITMAPINFOHEADER*>(&bytes[0])->biHeight = -8;
    Dib topDown(BlockOf(bytes));
    EXPECT_EQ(ConvertDIBTo8Bit(topDown, nullptr, 1), nullptr);
}

TEST(ConvertDIBTo4Bit, ChannelsAreOnAboveTheBayerThreshold)
{
    Dib white(MakeSolid24(8, 8, {253, 253, 255}));
    Dib black(MakeSolid24(8, 8, {0, 0, 0}));
    Dib grey(MakeSolid24(9, 8, {128, 128, 128}));
    Dib red(MakeSolid24(8, 8, {200, 0, 0}));
    Dib w4(ConvertDIB24To4Bit(white)), b4(ConvertDIB24To4Bit(black)), g4(ConvertDIB24To4Bit(grey)),
        r4(ConvertDIB24To4Bit(red));
    ASSERT_TRUE(w4.get() && b4.get() && g4.get() && r4.get());
    EXPECT_EQ(HeaderOf(g4).biBitCount, 4);
    EXPECT_EQ(HeaderOf(g4).biWidth, 9);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const int threshold = DitherMatrix4Bit[x * 8 + y];
            EXPECT_EQ(IndexAt(w4, x, y), 15);
            EXPECT_EQ(IndexAt(b4, x, y), 0);
            EXPECT_EQ(IndexAt(g4, x, y), 128 > threshold ? 15 : 0) << x << "," << y;
            EXPECT_EQ(IndexAt(r4, x, y), 200 > threshold ? 9 : 0) << x << "," << y;
        }
    // Column 8 of the 9-pixel rows is the high nibble of byte 4, with the dither of column 0.
    for (int y = 0; y < 8; ++y)
        EXPECT_EQ(IndexAt(g4, 8, y), IndexAt(g4, 0, y));
    // The standard colour table of CreateDIB is kept.
    EXPECT_EQ(PixelAt(w4, 0, 0), (Rgb{255, 255, 255}));
    EXPECT_EQ(PixelAt(r4, 0, 0), (Rgb{255, 0, 0}));
}

TEST(ConvertDIBTo4Bit, EightBitSourceIsLookedUpAndDepthsAreChecked)
{
    const std::vector<Rgb> table = {{0, 0, 0}, {255, 255, 255}, {0, 0, 255}};
    Dib src(MakeIndexed(4, 2, 8, table, [](int x, int) { return x % 3; }));
    Dib out(ConvertDIB8To4Bit(src));
    ASSERT_NE(out.get(), nullptr);
    EXPECT_EQ(IndexAt(out, 0, 0), 0);
    EXPECT_EQ(IndexAt(out, 1, 0), 15);
    EXPECT_EQ(IndexAt(out, 2, 0), 12);
    EXPECT_EQ(ConvertDIB24To4Bit(src), nullptr);
    Dib rgb(MakeSolid24(2, 2, {1, 1, 1}));
    EXPECT_EQ(ConvertDIB8To4Bit(rgb), nullptr);
    Dib deep16(CreateDIB(2, 2, 16));
    EXPECT_EQ(ConvertDIB24To4Bit(deep16), nullptr);
    EXPECT_EQ(ConvertDIB8To4Bit(nullptr), nullptr);
}

TEST(ColorReduce, SourcesAreUnchangedByEveryConversion)
{
    Dib rgb(Make24(13, 7, [](int x, int y) { return Rgb{x * 19, y * 37, (x * y) % 256}; }));
    const std::vector<Rgb> table = {{1, 2, 3}, {200, 100, 50}, {7, 250, 9}};
    Dib pal(MakeIndexed(13, 7, 8, table, [](int x, int y) { return (x + y) % 5; }));
    Dib nib(MakeIndexed(13, 7, 4, {{1, 2, 3}, {200, 100, 50}}, [](int x, int y) { return (x * y) % 16; }));
    for (PackedDIB src : {rgb.get(), pal.get(), nib.get()}) {
        const std::string before = Snapshot(src);
        for (int mode = 0; mode <= 4; ++mode)
            GlobalFreeHandle(ConvertDIBTo8Bit(src, nullptr, mode));
        GlobalFreeHandle(ConvertDIB24To4Bit(src));
        GlobalFreeHandle(ConvertDIB8To4Bit(src));
        EXPECT_EQ(Snapshot(src), before);
    }
}
