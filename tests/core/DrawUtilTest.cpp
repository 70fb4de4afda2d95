// Drawing routines checked pixel by pixel on a memory surface, and window centring.
#include <gtest/gtest.h>

#include "core/DrawUtil.h"
#include "core/WindowUtil.h"
#include "tests/core/DrawSurface.h"

using proctest::DrawSurface;

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);

} // namespace

TEST(Draw3DRect, ThicknessZeroDrawsNothing)
{
    DrawSurface s(12, 10);
    Draw3DRect(s.dc(), RECT{2, 2, 10, 8}, FALSE, 0, kRed, kBlue);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x)
            ASSERT_EQ(s.At(x, y), kWhite) << x << "," << y;
}

TEST(Draw3DRect, TwoNestedEdgesOnEachSide)
{
    DrawSurface s(12, 10);
    Draw3DRect(s.dc(), RECT{2, 2, 10, 8}, FALSE, 2, kRed, kBlue);
    // Outer edge: left column 2 and top row 2 red, right column 9 and bottom row 7 blue.
    EXPECT_EQ(s.At(2, 2), kRed);
    EXPECT_EQ(s.At(2, 7), kRed);
    EXPECT_EQ(s.At(5, 2), kRed);
    EXPECT_EQ(s.At(9, 2), kBlue);
    EXPECT_EQ(s.At(9, 7), kBlue);
    EXPECT_EQ(s.At(3, 7), kBlue);
    EXPECT_EQ(s.At(5, 7), kBlue);
    // Inner edge: column 3 and row 3 red, column 8 and row 6 blue.
    EXPECT_EQ(s.At(3, 4), kRed);
    EXPECT_EQ(s.At(5, 3), kRed);
    EXPECT_EQ(s.At(8, 4), kBlue);
    EXPECT_EQ(s.At(5, 6), kBlue);
    // Inside and outside untouched.
    EXPECT_EQ(s.At(5, 4), kWhite);
    EXPECT_EQ(s.At(1, 1), kWhite);
    EXPECT_EQ(s.At(10, 2), kWhite);
    EXPECT_EQ(s.At(2, 8), kWhite);

    s.Fill(kWhite);
    Draw3DRect(s.dc(), RECT{2, 2, 10, 8}, TRUE, 1, kRed, kBlue);
    EXPECT_EQ(s.At(2, 2), kBlue);
    EXPECT_EQ(s.At(5, 2), kBlue);
    EXPECT_EQ(s.At(9, 7), kRed);
    EXPECT_EQ(s.At(3, 4), kWhite);
}

TEST(DrawUtil, FillAndFrameRectangles)
{
    DrawSurface s(8, 8);
    FillRectColor(s.dc(), RECT{1, 1, 4, 3}, kRed);
    EXPECT_EQ(s.At(1, 1), kRed);
    EXPECT_EQ(s.At(3, 2), kRed);
    EXPECT_EQ(s.At(4, 2), kWhite);
    EXPECT_EQ(s.At(3, 3), kWhite);
    FrameRectColor(s.dc(), RECT{2, 4, 7, 8}, kBlue);
    EXPECT_EQ(s.At(2, 4), kBlue);
    EXPECT_EQ(s.At(6, 7), kBlue);
    EXPECT_EQ(s.At(4, 5), kWhite);
}

TEST(DrawUtil, BitmapsAreCopiedWithInclusiveSourceRectangles)
{
    DrawSurface source(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            source.dc()->SetPixel(x, y, RGB(x * 60, y * 60, 7));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(source.dc(), 4, 4));
    {
        CDC memory;
        memory.CreateCompatibleDC(source.dc());
        CBitmap* old = memory.SelectObject(&bitmap);
        memory.BitBlt(0, 0, 4, 4, source.dc(), 0, 0, SRCCOPY);
        memory.SelectObject(old);
    }
    int w = 0, h = 0;
    GetBitmapSize(&bitmap, &w, &h);
    EXPECT_EQ(w, 4);
    EXPECT_EQ(h, 4);

    DrawSurface target(8, 8);
    DrawBitmapRect(target.dc(), &bitmap, 5, 5, RECT{1, 1, 2, 2});
    EXPECT_EQ(target.At(5, 5), RGB(60, 60, 7));
    EXPECT_EQ(target.At(6, 6), RGB(120, 120, 7));
    EXPECT_EQ(target.At(7, 7), kWhite);
    DrawBitmap(target.dc(), &bitmap, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(target.At(3, 3), RGB(180, 180, 7));
    EXPECT_EQ(target.At(4, 0), kWhite);

    CBitmap copy;
    CopyBitmapObject(&copy, &bitmap);
    ASSERT_NE(copy.GetSafeHandle(), nullptr);
    EXPECT_NE(copy.GetSafeHandle(), bitmap.GetSafeHandle());
    DrawSurface check(4, 4);
    DrawBitmap(check.dc(), &copy, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(check.At(2, 1), RGB(120, 60, 7));
}

TEST(DrawUtil, PatternRectTintsEveryOtherPixel)
{
    DrawSurface s(10, 10);
    EXPECT_EQ(DrawPatternRect(s.dc()->GetSafeHdc(), RECT{3, 2, 6, 5}, kRed), 1);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool inside = x >= 3 && x <= 6 && y >= 2 && y <= 5;
            const COLORREF want = inside && (x + y) % 2 == 0 ? kRed : kWhite;
            ASSERT_EQ(s.At(x, y), want) << x << "," << y;
        }
    // The DC's colours are as they were.
    EXPECT_EQ(GetTextColor(s.dc()->GetSafeHdc()), RGB(0, 0, 0));
    EXPECT_EQ(GetBkColor(s.dc()->GetSafeHdc()), kWhite);
}

TEST(DrawUtil, TextIsDrawnAndTheStateRestored)
{
    DrawSurface s(80, 30);
    s.dc()->SetTextColor(kBlue);
    RECT r = {0, 0, 80, 30};
    const int height = DrawTextOnFill(s.dc(), &r, "Mmm", nullptr, kRed, DT_LEFT | DT_TOP, RGB(0, 255, 0));
    EXPECT_GT(height, 0);
    bool red = false;
    for (int y = 0; y < 30 && !red; ++y)
        for (int x = 0; x < 80 && !red; ++x)
            red = s.At(x, y) == kRed;
    EXPECT_TRUE(red);
    EXPECT_EQ(s.At(79, 29), RGB(0, 255, 0));
    EXPECT_EQ(s.dc()->GetTextColor(), kBlue);
    EXPECT_EQ(s.dc()->GetBkMode(), OPAQUE);
    EXPECT_GT(DrawEmbossedText(s.dc(), r, "Mmm", nullptr, kRed, DT_LEFT, kWhite, kBlue, 1), 0);
    EXPECT_EQ(s.dc()->GetTextColor(), kBlue);
}

TEST(DrawUtil, NormalizeRectangles)
{
    RECT r = {9, 8, 1, 2};
    NormalizeRect(&r);
    EXPECT_EQ(r.left, 1);
    EXPECT_EQ(r.top, 2);
    EXPECT_EQ(r.right, 9);
    EXPECT_EQ(r.bottom, 8);
    int x1 = 1, y1 = 5, x2 = 3, y2 = 4;
    NormalizeRectCoords(&x1, &y1, &x2, &y2);
    EXPECT_EQ(x1, 1);
    EXPECT_EQ(x2, 3);
    EXPECT_EQ(y1, 4);
    EXPECT_EQ(y2, 5);
    EXPECT_EQ(DrawUtilitiesReady(), 1);
}

TEST(CenterWindowOnScreen, CentresAndKeepsTheSize)
{
    HWND hwnd =
        CreateWindowExA(0, "STATIC", "centre", WS_POPUP, 5, 7, 301, 151, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    HDC screen = GetDC(nullptr);
    const int width = GetDeviceCaps(screen, HORZRES), height = GetDeviceCaps(screen, VERTRES);
    ReleaseDC(nullptr, screen);
    EXPECT_TRUE(CenterWindowOnScreen(hwnd));
    RECT first;
    GetWindowRect(hwnd, &first);
    EXPECT_EQ(first.left, (width - 301) / 2);
    EXPECT_EQ(first.top, (height - 151) / 2);
    EXPECT_EQ(first.right - first.left, 301);
    EXPECT_EQ(first.bottom - first.top, 151);
    EXPECT_TRUE(CenterWindowOnScreen(hwnd));
    RECT second;
    GetWindowRect(hwnd, &second);
    EXPECT_TRUE(EqualRect(&first, &second));
    DestroyWindow(hwnd);
}

// Centred on the area and whole inside it: the open dialog with its preview, 867 pixels wide, on a
// screen of 1,024 by 768 keeps its close box; on a screen left of the primary one; larger than the
// area, its title bar stays.
TEST(CentredWithin, CentresTheWindowWholeInsideTheArea)
{
    const struct {
        RECT window, area, placed;
    } rows[] = {
        {{185, 50, 185 + 867, 550}, {0, 0, 1024, 738}, {78, 119, 78 + 867, 619}},
        {{0, 0, 300, 200}, {-1024, 30, 0, 798}, {-662, 314, -362, 514}},
        {{5, 5, 1105, 805}, {0, 0, 1024, 738}, {0, 0, 1100, 800}},
    };
    for (const auto& row : rows) {
        const RECT placed = CentredWithin(row.window, row.area);
        EXPECT_TRUE(EqualRect(&placed, &row.placed)) << placed.left << "," << placed.top;
    }
}
