// The picture buttons: the digit display's glyphs, the colour button's value and drawing, the
// simple picture button drawing a packed DIB at its own size.
#include "tests/app/AppFixture.h"

#include "app/ColorButton.h"
#include "viewers/DigitButton.h"
#include "shell/SimpleDibButton.h"
#include "core/PackedDib.h"
#include "framework/TestSeams.h"

#include <vector>

namespace {

std::vector<int> Glyphs(int value, int interval, BOOL timeMode)
{
    int glyphs[5] = {};
    int n = DigitGlyphs(value, interval, timeMode, glyphs);
    return std::vector<int>(glyphs, glyphs + n);
}

const int B = kGlyphBlank;

// An owner-drawn button of that class in a plain pop-up window, drawn into a memory bitmap.
struct DrawTarget {
    HDC hDC = nullptr;
    HBITMAP hBitmap = nullptr;
    HGDIOBJ hOld = nullptr;
    DrawTarget(int cx, int cy)
    {
        HDC hScreen = ::GetDC(nullptr);
        hDC = ::CreateCompatibleDC(hScreen);
        hBitmap = ::CreateCompatibleBitmap(hScreen, cx, cy);
        ::ReleaseDC(nullptr, hScreen);
        hOld = ::SelectObject(hDC, hBitmap);
        RECT all = {0, 0, cx, cy};
        ::FillRect(hDC, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    }
    ~DrawTarget()
    {
        ::SelectObject(hDC, hOld);
        ::DeleteObject(hBitmap);
        ::DeleteDC(hDC);
    }
    COLORREF At(int x, int y) const { return ::GetPixel(hDC, x, y); }
};

DRAWITEMSTRUCT ItemFor(HDC hDC, int cx, int cy, UINT state)
{
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_BUTTON;
    dis.hDC = hDC;
    dis.rcItem = {0, 0, cx, cy};
    dis.itemState = state;
    return dis;
}

} // namespace

TEST(DigitButton, NumberModeBlanksLeadingZerosOnly)
{
    EXPECT_EQ(Glyphs(7, 1000, FALSE), (std::vector<int>{B, B, B, 7}));
    EXPECT_EQ(Glyphs(1005, 1000, FALSE), (std::vector<int>{1, 0, 0, 5}));
    EXPECT_EQ(Glyphs(0, 1000, FALSE), (std::vector<int>{B, B, B, 0}));
    EXPECT_EQ(Glyphs(40, 1000, FALSE), (std::vector<int>{B, B, 4, 0}));
    EXPECT_EQ(Glyphs(-1, 1000, FALSE), (std::vector<int>{B, B, B, B}));
    // Out of the display's range: never a glyph outside the strip.
    EXPECT_EQ(Glyphs(12345, 1000, FALSE), (std::vector<int>{9, 9, 9, 9}));
    EXPECT_EQ(Glyphs(-7, 1000, FALSE), (std::vector<int>{B, B, B, B}));
}

TEST(DigitButton, TimeModeShowsMinutesAndSecondsOfValueTimesInterval)
{
    EXPECT_EQ(Glyphs(90, 1000, TRUE), (std::vector<int>{B, 1, kGlyphColon, 3, 0}));
    EXPECT_EQ(Glyphs(1500, 500, TRUE), (std::vector<int>{1, 2, kGlyphColon, 3, 0}));
    EXPECT_EQ(Glyphs(9, 100, TRUE), (std::vector<int>{B, 0, kGlyphColon, 0, 0}));
    EXPECT_EQ(Glyphs(-1, 1000, TRUE), (std::vector<int>{B, B, kGlyphSeparator, B, B}));
    EXPECT_EQ(Glyphs(-20, 1000, TRUE), (std::vector<int>{B, B, kGlyphSeparator, B, B}));
    // 2 000 000 frames of 100 ms: 55 hours, shown as 99 minutes; the product does not wrap.
    EXPECT_EQ(Glyphs(2000000, 100, TRUE), (std::vector<int>{9, 9, kGlyphColon, 2, 0}));
}

TEST_F(AppTest, DigitButtonDrawsLitDigitsOnBlackAndUnlitOnGrey)
{
    ASSERT_TRUE(Start());
    CDigitButton button;
    ASSERT_NE(button.m_bmpDigits.m_hObject, nullptr);
    ASSERT_TRUE(
        button.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 120, 26), m_pFrame, 4242));
    button.m_nValue = 7;
    DrawTarget target(120, 26);
    DRAWITEMSTRUCT dis = ItemFor(target.hDC, 120, 26, 0);
    button.DrawItem(&dis);
    // Inside the box, away from the digits: black when lit.
    EXPECT_EQ(target.At(120 - 54 + 3, 19), RGB(0, 0, 0));
    button.m_bLit = FALSE;
    button.DrawItem(&dis);
    EXPECT_EQ(target.At(120 - 54 + 3, 19), RGB(192, 192, 192));
    button.DestroyWindow();
}

TEST_F(AppTest, ColourButtonHoldsItsColourAsDecimalTextAndShowsNoSwatchWhenDisabled)
{
    ASSERT_TRUE(Start());
    CColorButton button;
    ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 80, 24), m_pFrame, 4243));
    button.SetColor(RGB(10, 200, 30));
    CString text;
    button.GetWindowText(text);
    EXPECT_STREQ(text, "2017290");
    EXPECT_EQ(button.GetColor(), RGB(10, 200, 30));
    button.SetWindowText("rouge");
    EXPECT_EQ(button.GetColor(), 0u);

    button.SetColor(RGB(255, 0, 0));
    DrawTarget target(80, 24);
    DRAWITEMSTRUCT dis = ItemFor(target.hDC, 80, 24, 0);
    button.DrawItem(&dis);
    EXPECT_EQ(target.At(12, 12), RGB(255, 0, 0));
    dis.itemState = ODS_DISABLED;
    button.DrawItem(&dis);
    EXPECT_NE(target.At(12, 12), RGB(255, 0, 0));

    AfxCommonDialogAnswer answer;
    answer.ok = true;
    answer.color = RGB(1, 2, 3);
    AfxScriptCommonDialog(AfxCommonDialogKind::Color, answer);
    button.PickColor();
    EXPECT_EQ(button.GetColor(), RGB(1, 2, 3));
    button.DestroyWindow();
}

TEST_F(AppTest, SimpleDibButtonDrawsThePictureAtItsOwnSizeAndNothingWithout)
{
    ASSERT_TRUE(Start());
    CSimpleDibButton button;
    ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 40, 40), m_pFrame, 4244));
    DrawTarget target(40, 40);
    DRAWITEMSTRUCT dis = ItemFor(target.hDC, 40, 40, 0);
    button.DrawItem(&dis);
    EXPECT_EQ(target.At(2, 2), RGB(255, 255, 255));

    PackedDIB hDIB = CreateDIB(4, 4, 24); // black, zero-filled
    ASSERT_NE(hDIB, nullptr);
    button.m_hDIB = hDIB;
    button.DrawItem(&dis);
    EXPECT_EQ(target.At(2, 2), RGB(0, 0, 0));
    EXPECT_EQ(target.At(6, 6), RGB(255, 255, 255)); // not stretched
    button.m_hDIB = nullptr;
    GlobalFreeHandle(hDIB);
    button.DestroyWindow();
}

TEST_F(AppTest, ClickDibButtonReportsPicturePixelsToItsParent)
{
    ASSERT_TRUE(Start());
    CClickDibButton button;
    button.m_dib.Attach(CreateDIB(200, 100, 24));
    button.m_rectPicture = CRect(10, 10, 110, 60); // shown at half size
    CPoint picture;
    ASSERT_TRUE(button.ClientToPicture(CPoint(60, 35), &picture));
    EXPECT_EQ(picture, CPoint(100, 50));
    EXPECT_FALSE(button.ClientToPicture(CPoint(5, 35), &picture));
    EXPECT_FALSE(button.ClientToPicture(CPoint(110, 35), &picture));
}
