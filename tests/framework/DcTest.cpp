// CDC on memory bitmaps: pixels drawn and read back, selection, state, mapping, clipping, window DCs.
#include "framework/Dc.h"
#include "framework/HandleMap.h"

#include <gtest/gtest.h>

namespace {

// A 32 x 32 memory DC with a compatible bitmap selected, filled with white.
struct MemoryCanvas {
    MemoryCanvas()
    {
        CClientDC screen(static_cast<HWND>(nullptr));
        dc.CreateCompatibleDC(&screen);
        bitmap.CreateCompatibleBitmap(&screen, 32, 32);
        old = dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, 32, 32, RGB(255, 255, 255));
    }
    ~MemoryCanvas() { dc.SelectObject(old); }
    CDC dc;
    CBitmap bitmap;
    CBitmap* old = nullptr;
};

} // namespace

TEST(CDC, MemoryBitmapKeepsWhatIsDrawn)
{
    MemoryCanvas canvas;
    CDC& dc = canvas.dc;
    dc.FillSolidRect(CRect(2, 2, 6, 6), RGB(255, 0, 0));
    EXPECT_EQ(dc.GetPixel(3, 3), RGB(255, 0, 0));
    EXPECT_EQ(dc.GetPixel(6, 6), RGB(255, 255, 255)); // right and bottom edges excluded
    EXPECT_EQ(dc.GetBkColor(), RGB(255, 0, 0));       // FillSolidRect sets the background colour

    dc.SetPixel(10, 10, RGB(0, 0, 255));
    EXPECT_EQ(dc.GetPixel(CPoint(10, 10)), RGB(0, 0, 255));

    CPen pen(PS_SOLID, 1, RGB(0, 128, 0));
    CPen* pOldPen = dc.SelectObject(&pen);
    ASSERT_NE(pOldPen, nullptr);
    dc.MoveTo(0, 20);
    dc.LineTo(10, 20);
    EXPECT_EQ(dc.GetPixel(5, 20), RGB(0, 128, 0));
    EXPECT_EQ(dc.GetPixel(10, 20), RGB(255, 255, 255)); // the end point is not drawn
    EXPECT_EQ(dc.GetCurrentPosition(), CPoint(10, 20));
    EXPECT_EQ(dc.SelectObject(pOldPen), &pen); // the previous selection comes back as its owner

    CBrush brush(RGB(0, 0, 0));
    dc.FillRect(CRect(20, 20, 24, 24), &brush);
    EXPECT_EQ(dc.GetPixel(21, 21), RGB(0, 0, 0));
    dc.InvertRect(CRect(20, 20, 22, 22));
    EXPECT_EQ(dc.GetPixel(21, 21), RGB(255, 255, 255));
    EXPECT_EQ(dc.GetPixel(23, 23), RGB(0, 0, 0));
}

TEST(CDC, Draw3dRectColoursTheFourEdges)
{
    MemoryCanvas canvas;
    CDC& dc = canvas.dc;
    const COLORREF light = RGB(255, 255, 0);
    const COLORREF dark = RGB(0, 0, 128);
    dc.Draw3dRect(CRect(4, 4, 14, 12), light, dark);
    EXPECT_EQ(dc.GetPixel(4, 4), light);  // top-left corner
    EXPECT_EQ(dc.GetPixel(12, 4), light); // top edge
    EXPECT_EQ(dc.GetPixel(4, 10), light); // left edge
    EXPECT_EQ(dc.GetPixel(13, 4), dark);  // top-right corner belongs to the right edge
    EXPECT_EQ(dc.GetPixel(13, 11), dark); // bottom-right corner
    EXPECT_EQ(dc.GetPixel(4, 11), dark);  // bottom-left corner belongs to the bottom edge
    EXPECT_EQ(dc.GetPixel(8, 8), RGB(255, 255, 255));
    EXPECT_EQ(dc.GetPixel(14, 8), RGB(255, 255, 255));
}

TEST(CDC, BitBltCopiesBetweenMemoryDCs)
{
    MemoryCanvas source;
    MemoryCanvas target;
    source.dc.FillSolidRect(0, 0, 8, 8, RGB(12, 34, 56));
    ASSERT_TRUE(target.dc.BitBlt(16, 16, 8, 8, &source.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(target.dc.GetPixel(20, 20), RGB(12, 34, 56));
    EXPECT_EQ(target.dc.GetPixel(15, 15), RGB(255, 255, 255));
    ASSERT_TRUE(target.dc.StretchBlt(0, 0, 4, 4, &source.dc, 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(target.dc.GetPixel(3, 3), RGB(12, 34, 56));
    ASSERT_TRUE(target.dc.PatBlt(0, 0, 2, 2, BLACKNESS));
    EXPECT_EQ(target.dc.GetPixel(1, 1), RGB(0, 0, 0));
}

TEST(CDC, SaveAndRestoreBringBackTheState)
{
    MemoryCanvas canvas;
    CDC& dc = canvas.dc;
    dc.SetTextColor(RGB(1, 2, 3));
    dc.SetBkMode(OPAQUE);
    int saved = dc.SaveDC();
    ASSERT_NE(saved, 0);
    EXPECT_EQ(dc.SetTextColor(RGB(9, 9, 9)), RGB(1, 2, 3));
    dc.SetBkMode(TRANSPARENT);
    EXPECT_TRUE(dc.RestoreDC(saved));
    EXPECT_EQ(dc.GetTextColor(), RGB(1, 2, 3));
    EXPECT_EQ(dc.GetBkMode(), OPAQUE);
}

TEST(CDC, ClippingLimitsDrawing)
{
    MemoryCanvas canvas;
    CDC& dc = canvas.dc;
    dc.IntersectClipRect(0, 0, 8, 8);
    CRect clip;
    EXPECT_EQ(dc.GetClipBox(&clip), SIMPLEREGION);
    EXPECT_EQ(clip, CRect(0, 0, 8, 8));
    dc.FillSolidRect(0, 0, 32, 32, RGB(0, 0, 0));
    EXPECT_EQ(dc.GetPixel(4, 4), RGB(0, 0, 0));
    dc.SelectClipRgn(nullptr);
    EXPECT_EQ(dc.GetPixel(20, 20), RGB(255, 255, 255));
    CRgn rgn;
    rgn.CreateRectRgn(16, 16, 20, 20);
    dc.SelectClipRgn(&rgn);
    dc.FillSolidRect(0, 0, 32, 32, RGB(0, 255, 0));
    EXPECT_EQ(dc.GetPixel(17, 17), RGB(0, 255, 0));
    EXPECT_EQ(dc.GetPixel(25, 25), RGB(255, 255, 255));
}

TEST(CDC, MappingConvertsBothWays)
{
    MemoryCanvas canvas;
    CDC& dc = canvas.dc;
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(100, 100);
    dc.SetViewportExt(50, 50);
    EXPECT_EQ(dc.SetViewportOrg(10, 5), CPoint(0, 0));
    CPoint pt(40, 20);
    dc.LPtoDP(&pt);
    EXPECT_EQ(pt, CPoint(30, 15));
    dc.DPtoLP(&pt);
    EXPECT_EQ(pt, CPoint(40, 20));
    CSize size(40, 20);
    dc.LPtoDP(&size);
    EXPECT_EQ(size, CSize(20, 10)); // origins do not move sizes
    CRect r(0, 0, 100, 100);
    dc.LPtoDP(&r);
    EXPECT_EQ(r, CRect(10, 5, 60, 55));
}

TEST(CDC, TextIsMeasuredAndDrawn)
{
    MemoryCanvas canvas;
    CDC& dc = canvas.dc;
    CFont font;
    font.CreatePointFont(100, "Arial", &dc);
    CFont* pOld = dc.SelectObject(&font);
    CSize one = dc.GetTextExtent("W");
    CSize three = dc.GetTextExtent(CString("WWW"));
    EXPECT_GT(one.cx, 0);
    EXPECT_EQ(three.cx, 3 * one.cx);
    TEXTMETRIC tm = {};
    EXPECT_TRUE(dc.GetTextMetrics(&tm));
    EXPECT_EQ(tm.tmHeight, one.cy);
    dc.SetTextColor(RGB(0, 0, 0));
    dc.SetBkMode(TRANSPARENT);
    CRect box(0, 0, 32, 32);
    EXPECT_GT(dc.DrawText(CString("W"), &box, DT_LEFT | DT_TOP | DT_SINGLELINE), 0);
    int dark = 0;
    for (int y = 0; y < one.cy; ++y)
        for (int x = 0; x < one.cx; ++x)
            dark += dc.GetPixel(x, y) != RGB(255, 255, 255);
    EXPECT_GT(dark, 0);
    dc.SelectObject(pOld);
}

TEST(CDC, SelectingTheFirstTimeHandsBackTemporaryWrappers)
{
    AfxDeleteTempMaps();
    CClientDC screen(static_cast<HWND>(nullptr));
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(&screen));
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&screen, 4, 4);
    CBitmap* pDefault = dc.SelectObject(&bitmap); // the DC's own 1 x 1 bitmap, which nobody owns
    ASSERT_NE(pDefault, nullptr);
    EXPECT_TRUE(pDefault->IsKindOf(RUNTIME_CLASS(CBitmap)));
    EXPECT_GE(CGdiObject::GetTempCount(), 1u);
    CGdiObject* pStock = dc.SelectStockObject(BLACK_PEN);
    EXPECT_NE(pStock, nullptr);
    EXPECT_EQ(dc.SelectObject(pDefault), &bitmap);
    EXPECT_EQ(dc.GetCurrentBitmap(), pDefault);
    AfxDeleteTempMaps();
    EXPECT_EQ(CGdiObject::GetTempCount(), 0u);
}

TEST(CDC, FromHandleWrapsWithoutOwning)
{
    AfxDeleteTempMaps();
    HDC hdc = ::CreateCompatibleDC(nullptr);
    CDC* pTemp = CDC::FromHandle(hdc);
    ASSERT_NE(pTemp, nullptr);
    EXPECT_EQ(pTemp->GetSafeHdc(), hdc);
    EXPECT_EQ(pTemp->m_hAttribDC, hdc);
    EXPECT_EQ(CDC::FromHandle(hdc), pTemp);
    EXPECT_EQ(CDC::GetTempCount(), 1u);
    AfxDeleteTempMaps();
    EXPECT_EQ(CDC::GetTempCount(), 0u);
    EXPECT_NE(::GetObjectType(hdc), 0u); // still a DC
    {
        CDC owner;
        owner.Attach(hdc);
        EXPECT_EQ(CDC::FromHandle(hdc), &owner);
    }
    EXPECT_EQ(::GetObjectType(hdc), 0u); // deleted with its owner
    EXPECT_EQ(CDC::FromHandle(nullptr), nullptr);
}

TEST(CClientDC, NullWindowMeansTheScreen)
{
    CClientDC screen(NULL); // the CWnd* form: no ambiguity with the HWND one
    ASSERT_NE(screen.m_hDC, nullptr);
    EXPECT_GT(screen.GetDeviceCaps(BITSPIXEL), 0);
    CWindowDC whole(static_cast<CWnd*>(nullptr));
    EXPECT_NE(whole.m_hDC, nullptr);
}

TEST(CDC, GetSafeHdcAnswersNullForEmptyAndNullDCs)
{
    CDC empty;
    EXPECT_EQ(empty.GetSafeHdc(), nullptr);
    CDC* volatile missing = nullptr;
    EXPECT_EQ(missing->GetSafeHdc(), nullptr);
}

TEST(CDC, AttributeDCAnswersQueries)
{
    MemoryCanvas canvas;
    CDC split;
    split.SetOutputDC(canvas.dc.m_hDC);
    HDC screen = ::GetDC(nullptr);
    split.SetAttribDC(screen);
    EXPECT_EQ(split.GetDeviceCaps(LOGPIXELSY), ::GetDeviceCaps(screen, LOGPIXELSY));
    split.SetTextColor(RGB(7, 7, 7)); // set on both
    EXPECT_EQ(::GetTextColor(canvas.dc.m_hDC), RGB(7, 7, 7));
    EXPECT_EQ(::GetTextColor(screen), RGB(7, 7, 7));
    ::SetTextColor(screen, RGB(0, 0, 0));
    split.ReleaseAttribDC();
    split.ReleaseOutputDC();
    ::ReleaseDC(nullptr, screen);
    EXPECT_FALSE(split.IsPrinting());
}

namespace {

struct PaintProbe {
    bool painted = false;
    bool sameDc = false;
    bool rectSet = false;
};
PaintProbe g_paintProbe;

LRESULT CALLBACK PaintProbeProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_PAINT) {
        CPaintDC dc(hWnd);
        g_paintProbe.painted = true;
        g_paintProbe.sameDc = dc.m_hDC == dc.m_ps.hdc;
        g_paintProbe.rectSet = !::IsRectEmpty(&dc.m_ps.rcPaint);
        dc.FillSolidRect(&dc.m_ps.rcPaint, RGB(0, 0, 0));
        return 0;
    }
    return ::DefWindowProcA(hWnd, msg, wParam, lParam);
}

} // namespace

TEST(CPaintDC, BeginsAndEndsThePaint)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = PaintProbeProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "TessarineDcTestPaint";
    ::RegisterClassA(&wc);
    HWND hWnd = ::CreateWindowA("TessarineDcTestPaint", "", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, nullptr,
                                nullptr, wc.hInstance, nullptr);
    ASSERT_NE(hWnd, nullptr);
    g_paintProbe = PaintProbe();
    ::InvalidateRect(hWnd, nullptr, FALSE);
    ::UpdateWindow(hWnd);
    EXPECT_TRUE(g_paintProbe.painted);
    EXPECT_TRUE(g_paintProbe.sameDc);
    EXPECT_TRUE(g_paintProbe.rectSet);
    RECT update;
    EXPECT_FALSE(::GetUpdateRect(hWnd, &update, FALSE)); // EndPaint validated the window
    {
        CClientDC client(hWnd);
        EXPECT_NE(client.m_hDC, nullptr);
        CWindowDC whole(hWnd);
        EXPECT_NE(whole.m_hDC, nullptr);
    }
    ::DestroyWindow(hWnd);
}
