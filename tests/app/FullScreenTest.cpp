// Full screen of a still picture: entering and leaving, panning and zooming with the mouse, and a
// window closed while its view is full screen.
#include "tests/app/ViewerFixture.h"

#include "viewers/DibDocMDI.h"
#include "shell/Settings.h"
#include "framework/FrameWnd.h"
#include "framework/MDIChildWnd.h"
#include "framework/StdIds.h"
#include "resources/resource.h"
#include "viewers/ViewerGlobals.h"

namespace {

SIZE ScreenSize()
{
    HDC hdc = ::GetDC(nullptr);
    SIZE s = {::GetDeviceCaps(hdc, HORZRES), ::GetDeviceCaps(hdc, VERTRES)};
    ::ReleaseDC(nullptr, hdc);
    return s;
}

} // namespace

TEST_F(ViewerTest, FullScreenCoversTheScreenAndComesBack)
{
    ASSERT_TRUE(Start());
    CDibView* pView = Open(WriteBmp("full.bmp", 100, 100));
    ASSERT_NE(pView, nullptr);
    CFrameWnd* pFrame = pView->GetParentFrame();
    HWND hParent = ::GetParent(pView->m_hWnd);
    pView->SendMessage(WM_COMMAND, ID_VIEW_FULLSCREEN);
    ASSERT_TRUE(pView->IsFullScreen());
    EXPECT_EQ(::GetParent(pView->m_hWnd), nullptr);
    EXPECT_EQ(m_pFrame->GetFullScreenView(), pView);
    RECT r;
    ::GetWindowRect(pView->m_hWnd, &r);
    SIZE screen = ScreenSize();
    EXPECT_LE(r.left, 0);
    EXPECT_LE(r.top, 0);
    EXPECT_GE(r.right, screen.cx);
    EXPECT_GE(r.bottom, screen.cy);
    // Centred on the full-screen colour; moving the mouse does not scroll a picture that fits.
    Painted p = PaintView(pView);
    EXPECT_EQ(p.At(0, 0), g_CouleurPleinEcran);
    EXPECT_NE(p.At(p.width / 2, p.height / 2), g_CouleurPleinEcran);
    pView->TrackMouseInFullScreen();
    ::SetCursorPos(340, 260);
    pView->TrackMouseInFullScreen();
    EXPECT_EQ(pView->GetViewScrollPosition(), CPoint(0, 0));

    pView->SendMessage(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_FALSE(pView->IsFullScreen());
    EXPECT_EQ(::GetParent(pView->m_hWnd), hParent);
    EXPECT_EQ(::GetDlgCtrlID(pView->m_hWnd), AFX_IDW_PANE_FIRST);
    EXPECT_EQ(m_pFrame->GetFullScreenView(), nullptr);
    EXPECT_EQ(pView->GetParentFrame(), pFrame);
    RECT client, view;
    pFrame->GetClientRect(&client);
    ::GetWindowRect(pView->m_hWnd, &view);
    EXPECT_LE(view.right - view.left, client.right);
    EXPECT_TRUE(::IsWindow(pFrame->m_hWnd));
}

TEST_F(ViewerTest, MousePansALargePictureAlongOneAxis)
{
    ASSERT_TRUE(Start());
    CDibView* pView = Open(WriteBmp("pan.bmp", 4000, 3000));
    ASSERT_NE(pView, nullptr);
    pView->EnterFullScreen();
    ASSERT_TRUE(pView->IsFullScreen());
    pView->TrackMouseInFullScreen(); // re-anchors at (300, 200)
    ::SetCursorPos(330, 205);
    pView->TrackMouseInFullScreen();
    EXPECT_EQ(pView->GetViewScrollPosition(), CPoint(30, 0));
    POINT cursor;
    ::GetCursorPos(&cursor);
    EXPECT_EQ(cursor.x, 300);
    ::SetCursorPos(300, 250);
    pView->TrackMouseInFullScreen();
    EXPECT_EQ(pView->GetViewScrollPosition(), CPoint(30, 50));
    // Never past the picture's edge.
    ::SetCursorPos(0, 200);
    pView->TrackMouseInFullScreen();
    EXPECT_EQ(pView->GetViewScrollPosition().x, 0);
    // What shows is the picture at the scroll position.
    Painted p = PaintView(pView);
    EXPECT_EQ(p.At(10, 10), DibPixel(pView->GetDocument()->GetHDIB(), 10, 60));
    pView->LeaveFullScreen();
}

TEST_F(ViewerTest, HeldButtonsZoomAndBothLeave)
{
    ASSERT_TRUE(Start());
    CDibView* pView = Open(WriteBmp("hold.bmp", 64, 64));
    ASSERT_NE(pView, nullptr);
    pView->EnterFullScreen();
    pView->TrackMouseInFullScreen();
    pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_EQ(pView->GetZoom(), 105);
    pView->TrackMouseInFullScreen();
    EXPECT_EQ(pView->GetZoom(), 110);
    pView->TrackMouseInFullScreen();
    EXPECT_EQ(pView->GetZoom(), 115);
    pView->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    pView->TrackMouseInFullScreen();
    EXPECT_EQ(pView->GetZoom(), 115);
    EXPECT_FALSE(g_bFineZoom);
    // The right button while the left is held leaves.
    pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    pView->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON | MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_FALSE(pView->IsFullScreen());
    // Proportional: a click leaves without zooming.
    pView->SendMessage(WM_COMMAND, ID_VIEW_PROPORTIONAL);
    pView->EnterFullScreen();
    int zoom = pView->GetZoom();
    pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_FALSE(pView->IsFullScreen());
    EXPECT_EQ(pView->GetZoom(), zoom);
}

TEST_F(ViewerTest, ClosingTheWindowFromFullScreenLeavesNothingBehind)
{
    ASSERT_TRUE(Start());
    CDibView* pView = Open(WriteBmp("close.bmp", 64, 64));
    ASSERT_NE(pView, nullptr);
    HWND hView = pView->m_hWnd;
    CFrameWnd* pFrame = pView->GetParentFrame();
    HWND hFrame = pFrame->m_hWnd;
    pView->EnterFullScreen();
    ASSERT_EQ(m_pFrame->GetFullScreenView(), pView);
    pFrame->SendMessage(WM_CLOSE);
    Pump();
    EXPECT_FALSE(::IsWindow(hFrame));
    EXPECT_FALSE(::IsWindow(hView));
    EXPECT_EQ(m_pFrame->GetFullScreenView(), nullptr);
    EXPECT_TRUE(Children().empty());
    // The tick finds no view to track.
    m_pFrame->SendMessage(WM_TIMER, m_pFrame->GetDispatchTimerId());
}

TEST_F(ViewerTest, ClosingTheProgramFromFullScreen)
{
    ASSERT_TRUE(Start());
    CDibView* pView = Open(WriteBmp("quit.bmp", 64, 64));
    ASSERT_NE(pView, nullptr);
    HWND hView = pView->m_hWnd;
    pView->EnterFullScreen();
    HWND hMain = m_pFrame->m_hWnd;
    m_pFrame->SendMessage(WM_CLOSE);
    Pump();
    EXPECT_FALSE(::IsWindow(hView));
    EXPECT_FALSE(::IsWindow(hMain));
}

TEST_F(ViewerTest, OpenedFullScreenFromAListClosesWhenItLeaves)
{
    ASSERT_TRUE(Start());
    std::string path = WriteBmp("list.bmp", 64, 64);
    g_bOpenFullScreen = TRUE;
    g_pFullScreenReturnWnd = nullptr;
    CDibView* pView = Open(path);
    g_bOpenFullScreen = FALSE;
    ASSERT_NE(pView, nullptr);
    EXPECT_TRUE(pView->IsFullScreen());
    HWND hView = pView->m_hWnd;
    pView->SendMessage(WM_KEYDOWN, VK_ESCAPE);
    Pump();
    EXPECT_FALSE(::IsWindow(hView));
    EXPECT_EQ(m_pFrame->GetFullScreenView(), nullptr);
}

TEST_F(ViewerTest, LocalToolBarTogglesAndComesBackAfterFullScreen)
{
    ASSERT_TRUE(Start());
    CDibView* pView = Open(WriteBmp("bar.bmp", 64, 64));
    ASSERT_NE(pView, nullptr);
    CFrameWnd* pFrame = pView->GetParentFrame();
    ASSERT_TRUE(pFrame->IsKindOf(RUNTIME_CLASS(CDibDocMDI)));
    CToolBar& bar = static_cast<CDibDocMDI*>(pFrame)->m_wndToolBar;
    ASSERT_NE(bar.m_hWnd, nullptr);
    BOOL bVisible = bar.IsWindowVisible();
    pView->SendMessage(WM_COMMAND, ID_VIEW_LOCAL_TOOLBAR);
    EXPECT_NE(bar.IsWindowVisible(), bVisible);
    EXPECT_EQ(g_ShowDibToolBar, bVisible ? 0 : 1);
    if (bar.IsWindowVisible())
        pView->SendMessage(WM_COMMAND, ID_HIDE_LOCAL_TOOLBAR);
    EXPECT_FALSE(bar.IsWindowVisible());
    pView->EnterFullScreen();
    // Nothing of the frame changes from full screen.
    pView->SendMessage(WM_COMMAND, ID_VIEW_LOCAL_TOOLBAR);
    EXPECT_FALSE(bar.IsWindowVisible());
    pView->LeaveFullScreen();
    EXPECT_TRUE(bar.IsWindowVisible());
}
