// The main window's painted caption: the gradient's strips (also on very wide captions), the
// lightness rule, and the cached caption bitmap of a real main frame (its size, its colours, the
// document part and the cut of a title too long for the room).
#include "tests/app/AppFixture.h"

#include "app/CaptionPainter.h"

#include <vector>

namespace {

std::vector<BYTE> BitmapBits(HBITMAP hbm, int* pWidth = nullptr)
{
    BITMAP info = {};
    ::GetObjectA(hbm, sizeof(info), &info);
    if (pWidth != nullptr)
        *pWidth = info.bmWidth;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = info.bmWidth;
    bi.bmiHeader.biHeight = info.bmHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    std::vector<BYTE> bits(static_cast<size_t>(info.bmWidth) * info.bmHeight * 4);
    HDC hdc = ::GetDC(nullptr);
    ::GetDIBits(hdc, hbm, 0, info.bmHeight, bits.data(), &bi, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, hdc);
    return bits;
}

COLORREF PixelOf(HBITMAP hbm, int x, int y)
{
    HDC hdc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(hdc, hbm);
    COLORREF c = ::GetPixel(hdc, x, y);
    ::SelectObject(hdc, old);
    ::DeleteDC(hdc);
    return c;
}

} // namespace

TEST(CaptionGradient, ANarrowCaptionFadesPixelByPixelToABlackEdge)
{
    const COLORREF c = RGB(0, 84, 227);
    std::vector<CaptionStrip> strips = CaptionGradient(120, c);
    ASSERT_EQ(strips.size(), 101u); // the black pixel, 99 one-pixel strips, the plain part
    EXPECT_EQ(strips.front().x, 0);
    EXPECT_EQ(strips.front().width, 1);
    EXPECT_EQ(strips.front().color, RGB(0, 0, 0));
    EXPECT_EQ(strips[1].x, 1);
    EXPECT_EQ(strips[1].width, 1);
    // d = 99 of 100: 227 - 227 * 9801 / 10000.
    EXPECT_EQ(strips[1].color, RGB(0, 84 - 84 * 9801 / 10000, 227 - 227 * 9801 / 10000));
    EXPECT_EQ(strips.back().x, 100);
    EXPECT_EQ(strips.back().width, 20);
    EXPECT_EQ(strips.back().color, c);
}

TEST(CaptionGradient, AWideCaptionUsesStripsOfASixtyFourthAndStaysMonotonic)
{
    std::vector<CaptionStrip> strips = CaptionGradient(1200, RGB(10, 36, 106));
    ASSERT_EQ(strips.size(), 68u); // black 10 px, 66 strips of 15, then the plain part
    EXPECT_EQ(strips[0].width, 10);
    EXPECT_EQ(strips[1].x, 10);
    EXPECT_EQ(strips[1].width, 15);
    EXPECT_EQ(strips.back().x, 1000);

    // On a caption several thousand pixels wide the colour still only grows to the right.
    for (int w : {3000, 5000, 7680}) {
        std::vector<CaptionStrip> wide = CaptionGradient(w, RGB(255, 255, 255));
        int covered = 0;
        for (size_t i = 1; i < wide.size(); i++) {
            EXPECT_GE(GetRValue(wide[i].color), GetRValue(wide[i - 1].color)) << w << " strip " << i;
            EXPECT_EQ(wide[i].x, wide[i - 1].x + wide[i - 1].width) << w;
        }
        for (const CaptionStrip& s : wide)
            covered += s.width;
        EXPECT_EQ(covered, w);
        EXPECT_EQ(wide.back().color, RGB(255, 255, 255));
    }
}

TEST(CaptionGradient, LightnessDecidesWhenTheCaptionTextTurnsWhite)
{
    EXPECT_EQ(GetLightness(RGB(0, 0, 0)), 0);
    EXPECT_EQ(GetLightness(RGB(255, 255, 255)), 240);
    EXPECT_EQ(GetLightness(RGB(64, 64, 64)), 60);
    EXPECT_LT(GetLightness(RGB(90, 90, 90)), 90);
    EXPECT_GE(GetLightness(RGB(200, 0, 0)), 90);
}

TEST_F(AppTest, CaptionBitmapIsCachedAndFollowsTheWindowsWidth)
{
    ASSERT_TRUE(Start());
    m_pFrame->ShowWindow(SW_SHOWNORMAL);
    m_pFrame->SetWindowPos(nullptr, 0, 0, 900, 500, SWP_NOZORDER | SWP_NOACTIVATE);
    CCaptionPainter& cap = m_pFrame->GetCaptionPainter();
    cap.Invalidate();
    CBitmap* pActive = cap.DrawCaptionBitmap(m_pFrame, TRUE, "Orvanel Tessarine", "");
    ASSERT_NE(pActive, nullptr);
    HGDIOBJ handle = pActive->m_hObject;
    int width = 0;
    BitmapBits(static_cast<HBITMAP>(handle), &width);
    EXPECT_EQ(width, CCaptionPainter::GetCaptionRect(m_pFrame).Width());
    EXPECT_EQ(cap.DrawCaptionBitmap(m_pFrame, TRUE, "Orvanel Tessarine", "")->m_hObject, handle);
    // Right of five sixths: the active caption colour; the inactive one is flat.
    int h = cap.m_rectCaption.Height();
    EXPECT_EQ(PixelOf(static_cast<HBITMAP>(handle), width * 5 / 6 + 4, h - 1),
              ::GetSysColor(COLOR_ACTIVECAPTION));
    CBitmap* pInactive = cap.DrawCaptionBitmap(m_pFrame, FALSE, "Orvanel Tessarine", "");
    EXPECT_EQ(PixelOf(static_cast<HBITMAP>(pInactive->m_hObject), width / 2, h - 1),
              ::GetSysColor(COLOR_INACTIVECAPTION));

    m_pFrame->SetWindowPos(nullptr, 0, 0, 700, 500, SWP_NOZORDER | SWP_NOACTIVATE);
    cap.DrawCaptionBitmap(m_pFrame, TRUE, "Orvanel Tessarine", "");
    BitmapBits(static_cast<HBITMAP>(cap.m_bmpCaption[1].m_hObject), &width);
    EXPECT_EQ(width, CCaptionPainter::GetCaptionRect(m_pFrame).Width());
    // The other state is drawn again when needed (at once, when another program's window took the
    // front meanwhile): never kept at the old width.
    if (cap.m_bmpCaption[0].m_hObject != nullptr) {
        BitmapBits(static_cast<HBITMAP>(cap.m_bmpCaption[0].m_hObject), &width);
        EXPECT_EQ(width, CCaptionPainter::GetCaptionRect(m_pFrame).Width());
    }
}

TEST_F(AppTest, CaptionShowsTheDocumentAfterTheTitleOnlyWhenThereIsRoom)
{
    ASSERT_TRUE(Start());
    m_pFrame->ShowWindow(SW_SHOWNORMAL);
    CCaptionPainter& cap = m_pFrame->GetCaptionPainter();
    m_pFrame->SetWindowPos(nullptr, 0, 0, 900, 500, SWP_NOZORDER | SWP_NOACTIVATE);
    cap.Invalidate();
    std::vector<BYTE> alone = BitmapBits(
        static_cast<HBITMAP>(cap.DrawCaptionBitmap(m_pFrame, TRUE, "Orvanel Tessarine", "")->m_hObject));
    int titleEnd = cap.m_nTitleRight;
    cap.Invalidate();
    std::vector<BYTE> withDoc = BitmapBits(static_cast<HBITMAP>(
        cap.DrawCaptionBitmap(m_pFrame, TRUE, "Orvanel Tessarine", "Vacances.jpg")->m_hObject));
    EXPECT_NE(alone, withDoc);
    EXPECT_GT(titleEnd, 0);

    // A title too long for a narrow window is cut and leaves no room for the document.
    std::string longTitle(200, 'W');
    m_pFrame->SetWindowPos(nullptr, 0, 0, 260, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    cap.Invalidate();
    std::vector<BYTE> cutAlone = BitmapBits(
        static_cast<HBITMAP>(cap.DrawCaptionBitmap(m_pFrame, TRUE, longTitle.c_str(), "")->m_hObject));
    cap.Invalidate();
    std::vector<BYTE> cutWithDoc = BitmapBits(static_cast<HBITMAP>(
        cap.DrawCaptionBitmap(m_pFrame, TRUE, longTitle.c_str(), "Vacances.jpg")->m_hObject));
    EXPECT_EQ(cutAlone, cutWithDoc);

    // The frame's own handlers: a new text invalidates the cache and paints again.
    m_pFrame->SetWindowPos(nullptr, 0, 0, 900, 500, SWP_NOZORDER | SWP_NOACTIVATE);
    m_pFrame->PaintCaption(TRUE);
    EXPECT_FALSE(cap.m_rectCaption.IsRectEmpty());
    m_pFrame->SendMessage(WM_SYSCOLORCHANGE);
    EXPECT_TRUE(cap.m_rectCaption.IsRectEmpty());
    EXPECT_EQ(cap.m_fontCaption.m_hObject, nullptr);
    m_pFrame->SetWindowText("Orvanel Tessarine");
    EXPECT_FALSE(cap.m_rectCaption.IsRectEmpty());
    EXPECT_NE(cap.m_fontCaption.m_hObject, nullptr);
}
