// The fixed palettes: ramps of modes 2-4, the built-in 256-colour palette, palette objects.
#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "core/Palette.h"
#include "framework/Gdi.h"

namespace {

std::tuple<int, int, int> Colour(PaletteMode mode, int index)
{
    const RGBQUAD q = GetFixedPaletteColor(mode, index);
    return {q.rgbRed, q.rgbGreen, q.rgbBlue};
}

std::tuple<int, int, int> Entry(int index)
{
    const PALETTEENTRY& e = DefaultLogPalette.palPalEntry[index];
    return {e.peRed, e.peGreen, e.peBlue};
}

using Rgb = std::tuple<int, int, int>;

} // namespace

TEST(FixedPalette, Mode2RampPairsEntriesAndSpansBlackToWhite)
{
    EXPECT_EQ(Colour(2, 0), Rgb(0, 0, 0));
    EXPECT_EQ(Colour(2, 1), Rgb(0, 0, 0));
    EXPECT_EQ(Colour(2, 254), Rgb(255, 255, 255));
    EXPECT_EQ(Colour(2, 255), Rgb(255, 255, 255));
    EXPECT_EQ(Colour(2, 2), Rgb(0, 0, 85));
    EXPECT_EQ(Colour(2, 3), Rgb(0, 0, 85));
    EXPECT_EQ(Colour(2, 8), Rgb(0, 36, 0));
    EXPECT_EQ(Colour(2, 64), Rgb(85, 0, 0));
    for (int k = 0; k < 128; ++k)
        EXPECT_EQ(Colour(2, 2 * k), Colour(2, 2 * k + 1)) << k;
}

TEST(FixedPalette, Mode3And4RampEntries)
{
    EXPECT_EQ(Colour(3, 3), Rgb(0, 0, 255));
    EXPECT_EQ(Colour(3, 4), Rgb(0, 36, 0));
    EXPECT_EQ(Colour(3, 32), Rgb(36, 0, 0));
    EXPECT_EQ(Colour(4, 32), Rgb(0, 0, 255));
    EXPECT_EQ(Colour(4, 64), Rgb(0, 255, 0));
    EXPECT_EQ(Colour(4, 128), Rgb(255, 0, 0));
    EXPECT_EQ(Colour(4, 31), Rgb(0, 0, 0));
    EXPECT_EQ(Colour(4, 0xE0), Rgb(255, 255, 255));
}

TEST(FixedPalette, RampChannelLevels)
{
    std::set<int> twoBit, threeBit, oneBit;
    for (int i = 0; i < 256; ++i) {
        twoBit.insert(std::get<0>(Colour(2, i)));
        threeBit.insert(std::get<1>(Colour(2, i)));
        oneBit.insert(std::get<2>(Colour(4, i)));
    }
    EXPECT_EQ(twoBit, (std::set<int>{0, 85, 170, 255}));
    EXPECT_EQ(threeBit, (std::set<int>{0, 36, 73, 109, 146, 182, 219, 255}));
    EXPECT_EQ(oneBit, (std::set<int>{0, 255}));
}

TEST(FixedPalette, InverseRuleFindsAnEntryOfTheSameColour)
{
    for (int mode = 2; mode <= 4; ++mode) {
        const RampLayout* ramp = GetRampLayout(mode);
        ASSERT_NE(ramp, nullptr);
        for (int i = 0; i < 256; ++i) {
            const RGBQUAD q = GetFixedPaletteColor(mode, i);
            const int back = RampIndexOf(*ramp, q.rgbRed, q.rgbGreen, q.rgbBlue);
            EXPECT_EQ(Colour(mode, back), Colour(mode, i)) << "mode " << mode << " entry " << i;
        }
    }
    EXPECT_EQ(GetRampLayout(1), nullptr);
    EXPECT_EQ(GetRampLayout(5), nullptr);
}

TEST(FixedPalette, DefaultPaletteHoldsDistinctColoursAndTheStaticOnes)
{
    EXPECT_EQ(DefaultLogPalette.palVersion, 0x300);
    EXPECT_EQ(DefaultLogPalette.palNumEntries, 256);
    std::set<Rgb> colours;
    for (int i = 0; i < 256; ++i) {
        colours.insert(Entry(i));
        EXPECT_EQ(DefaultLogPalette.palPalEntry[i].peFlags, 0);
    }
    EXPECT_EQ(colours.size(), 256u);
    EXPECT_EQ(Entry(246), Rgb(255, 251, 240));
    EXPECT_EQ(Entry(247), Rgb(160, 160, 164));
    EXPECT_EQ(Entry(0), Rgb(0, 0, 0));
    EXPECT_EQ(Entry(8), Rgb(0xC0, 0xDC, 0xC0));
    EXPECT_EQ(Entry(9), Rgb(0xA4, 0xC8, 0xF0));
    EXPECT_EQ(Entry(249), Rgb(255, 0, 0));
    EXPECT_EQ(Entry(255), Rgb(255, 255, 255));
    // Of the 216 cube colours exactly four are missing.
    int missing = 0;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                missing += colours.count(Rgb(51 * r, 51 * g, 51 * b)) ? 0 : 1;
    EXPECT_EQ(missing, 4);
    EXPECT_EQ(colours.count(Rgb(51, 255, 0)), 0u);
    EXPECT_EQ(colours.count(Rgb(0, 51, 255)), 0u);
}

TEST(FixedPalette, ColourTableOfEachModeAndRefusalOfOthers)
{
    RGBQUAD table[256];
    ASSERT_TRUE(FillFixedColorTable(1, table));
    EXPECT_EQ(table[246].rgbBlue, 240);
    EXPECT_EQ(table[246].rgbReserved, 0);
    ASSERT_TRUE(FillFixedColorTable(4, table));
    EXPECT_EQ(table[128].rgbRed, 255);
    table[0].rgbRed = 7;
    EXPECT_FALSE(FillFixedColorTable(0, table));
    EXPECT_FALSE(FillFixedColorTable(5, table));
    EXPECT_EQ(table[0].rgbRed, 7);
}

TEST(FixedPalette, PaletteObjectHoldsTheRampAndRebuildingDeletesTheOldPalette)
{
    CPalette palette;
    ASSERT_TRUE(CreateFixedPalette(&palette, 2));
    HPALETTE first = static_cast<HPALETTE>(palette.GetSafeHandle());
    ASSERT_NE(first, nullptr);
    PALETTEENTRY entries[256];
    ASSERT_EQ(GetPaletteEntries(first, 0, 256, entries), 256u);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(Rgb(entries[i].peRed, entries[i].peGreen, entries[i].peBlue), Colour(2, i)) << i;

    ASSERT_TRUE(CreateFixedPalette(&palette, 2));
    EXPECT_EQ(GetObjectType(first), 0u) << "the first palette must be deleted";
    EXPECT_NE(palette.GetSafeHandle(), nullptr);

    ASSERT_TRUE(CreateDefaultPalette(&palette));
    ASSERT_EQ(GetPaletteEntries(static_cast<HPALETTE>(palette.GetSafeHandle()), 246, 1, entries), 1u);
    EXPECT_EQ(Rgb(entries[0].peRed, entries[0].peGreen, entries[0].peBlue), Rgb(255, 251, 240));
}

TEST(FixedPalette, UnknownModeLeavesThePaletteObjectAlone)
{
    CPalette palette;
    ASSERT_TRUE(CreateFixedPalette(&palette, 3));
    HGDIOBJ before = palette.GetSafeHandle();
    EXPECT_FALSE(CreateFixedPalette(&palette, 7));
    EXPECT_EQ(palette.GetSafeHandle(), before);
    EXPECT_NE(GetObjectType(before), 0u);
    EXPECT_FALSE(CreateFixedPalette(nullptr, 2));
}
