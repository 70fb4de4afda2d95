// Bitmap resources loaded as device bitmaps for the screen depth.
#include <gtest/gtest.h>

#include "core/FileUtil.h"
#include "core/Palette.h"
#include "core/SystemUtil.h"
#include "tests/core/DrawSurface.h"

namespace {

// Resource 100 of the test program: 2 x 2, blue and green at the bottom, red and white at the top.
const UINT kTestBitmap = 100;

void ExpectTestBitmap(CBitmap& bitmap)
{
    proctest::DrawSurface s(2, 2, RGB(9, 9, 9));
    CDC memory;
    memory.CreateCompatibleDC(s.dc());
    CBitmap* old = memory.SelectObject(&bitmap);
    s.dc()->BitBlt(0, 0, 2, 2, &memory, 0, 0, SRCCOPY);
    memory.SelectObject(old);
    EXPECT_EQ(s.At(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(s.At(1, 0), RGB(255, 255, 255));
    EXPECT_EQ(s.At(0, 1), RGB(0, 0, 255));
    EXPECT_EQ(s.At(1, 1), RGB(0, 255, 0));
}

} // namespace

TEST(LoadBitmapWithPalette, TrueColourScreen)
{
    CPalette palette;
    CreateFixedPalette(&palette, 2);
    CBitmap bitmap;
    SetScreenBitsPerPixelForTest(32);
    EXPECT_TRUE(LoadBitmapWithPalette(&bitmap, kTestBitmap, &palette));
    SetScreenBitsPerPixelForTest(0);
    ASSERT_NE(bitmap.GetSafeHandle(), nullptr);
    ExpectTestBitmap(bitmap);
}

TEST(LoadBitmapWithPalette, PaletteScreensGetTheReducedPicture)
{
    // Pure colours sit exactly on both ramps, so the reduction keeps them.
    for (int depth : {8, 4}) {
        CPalette palette;
        CreateFixedPalette(&palette, 2);
        CBitmap bitmap;
        SetScreenBitsPerPixelForTest(depth);
        EXPECT_TRUE(LoadBitmapWithPalette(&bitmap, kTestBitmap, &palette));
        SetScreenBitsPerPixelForTest(0);
        ASSERT_NE(bitmap.GetSafeHandle(), nullptr) << depth;
        ExpectTestBitmap(bitmap);
    }
}

TEST(LoadBitmapWithPalette, MissingResourceLeavesTheBitmap)
{
    CBitmap bitmap;
    EXPECT_FALSE(LoadBitmapWithPalette(&bitmap, 4321, nullptr));
    EXPECT_EQ(bitmap.GetSafeHandle(), nullptr);
}
