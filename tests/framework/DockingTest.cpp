// Docking: dock bars on the frame's four sides, bars docked on each side and in rows, floating in an
// owned frame (still updated and still sending commands), dragged with the mouse to dock or float,
// toggled by a double click, shown and hidden from the View menu, and the bar state saved in the
// profile under a name and put back.
#include "tests/framework/ControlBarsTestIds.h"
#include "tests/framework/ControlBarsTestSupport.h"

#include "framework/CmdUI.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

class Docking : public ControlBarTest {
protected:
    void SetUp() override
    {
        ControlBarTest::SetUp();
        AfxEnableDocking(m_pFrame, CBRS_ALIGN_ANY);
        AfxDockControlBar(m_pFrame, &m_pFrame->m_wndToolBar);
    }
    CToolBar& Bar() { return m_pFrame->m_wndToolBar; }
    CDockBar* DockBar(UINT nID) { return AfxGetDockBar(m_pFrame, nID); }
    // The frame's client area left to the view, frame coordinates.
    CRect ViewRect() { return RectIn(m_pFrame->m_wndView, m_pFrame->m_hWnd); }
    CRect BarRect() { return RectIn(Bar(), m_pFrame->m_hWnd); }
    CRect ClientRect()
    {
        CRect rect;
        m_pFrame->GetClientRect(rect);
        return rect;
    }
    // A second tool bar of the frame, made like the first.
    void MakeSecondBar(CToolBar& bar, UINT nID)
    {
        ASSERT_TRUE(bar.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC, nID));
        ASSERT_TRUE(bar.LoadToolBar(IDR_CB_TOOLBAR));
        bar.EnableDocking(CBRS_ALIGN_ANY);
    }
};

// The application's profile in a key of the test's own, removed afterwards.
class DockingState : public Docking {
protected:
    void SetUp() override
    {
        m_oldKey = Dup(TestApp().m_pszRegistryKey);
        m_oldProfile = Dup(TestApp().m_pszProfileName);
        // A key of this process's own: test programs run side by side in one prefix.
        m_strKey.Format("TessarineBarStateTest%lu", ::GetCurrentProcessId());
        TestApp().SetRegistryKey(m_strKey);
        RemoveKeys();
        Docking::SetUp();
    }
    void TearDown() override
    {
        Docking::TearDown();
        RemoveKeys();
        std::free(const_cast<char*>(TestApp().m_pszRegistryKey));
        std::free(const_cast<char*>(TestApp().m_pszProfileName));
        TestApp().m_pszRegistryKey = m_oldKey;
        TestApp().m_pszProfileName = m_oldProfile;
    }
    void RemoveKeys()
    {
        std::string base = std::string("Software\\") + static_cast<LPCSTR>(m_strKey);
        std::string app = base + "\\" + TestApp().m_pszProfileName;
        HKEY hApp = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, app.c_str(), 0, KEY_ALL_ACCESS, &hApp) == ERROR_SUCCESS) {
            char name[256];
            while (::RegEnumKeyA(hApp, 0, name, sizeof(name)) == ERROR_SUCCESS)
                ::RegDeleteKeyA(hApp, name);
            ::RegCloseKey(hApp);
        }
        ::RegDeleteKeyA(HKEY_CURRENT_USER, app.c_str());
        ::RegDeleteKeyA(HKEY_CURRENT_USER, base.c_str());
    }
    static LPCSTR Dup(LPCSTR s) { return s != nullptr ? _strdup(s) : nullptr; }
    static BOOL SectionExists(LPCSTR lpszSection)
    {
        HKEY hKey = TestApp().GetSectionKey(lpszSection, FALSE);
        if (hKey == nullptr)
            return FALSE;
        ::RegCloseKey(hKey);
        return TRUE;
    }

    CString m_strKey;
    LPCSTR m_oldKey = nullptr;
    LPCSTR m_oldProfile = nullptr;
};

} // namespace

TEST_F(Docking, FourDockBarsComeAfterTheStatusBarTopBottomLeftRight)
{
    const UINT order[] = {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT,
                          AFX_IDW_DOCKBAR_RIGHT};
    for (UINT nID : order)
        ASSERT_NE(DockBar(nID), nullptr) << nID;
    // Z order decides who takes an edge first: the status bar, then top and bottom, then the sides.
    std::vector<int> ids;
    for (HWND h = ::GetTopWindow(m_pFrame->m_hWnd); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT))
        ids.push_back(::GetDlgCtrlID(h));
    auto pos = [&](int nID) { return std::find(ids.begin(), ids.end(), nID) - ids.begin(); };
    EXPECT_LT(pos(AFX_IDW_STATUS_BAR), pos(AFX_IDW_DOCKBAR_TOP));
    EXPECT_LT(pos(AFX_IDW_DOCKBAR_TOP), pos(AFX_IDW_DOCKBAR_BOTTOM));
    EXPECT_LT(pos(AFX_IDW_DOCKBAR_BOTTOM), pos(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_LT(pos(AFX_IDW_DOCKBAR_LEFT), pos(AFX_IDW_DOCKBAR_RIGHT));
    // A second call makes no second set.
    AfxEnableDocking(m_pFrame, CBRS_ALIGN_ANY);
    int nDockBars = 0;
    for (int nID : ids)
        nDockBars += std::find(std::begin(order), std::end(order), static_cast<UINT>(nID)) != std::end(order);
    EXPECT_EQ(nDockBars, 4);
}

TEST_F(Docking, BarDocksOnEachSideAlongTheFramesEdge)
{
    CRect rectClient = ClientRect();
    CRect rectStatus = RectIn(m_pFrame->m_wndStatusBar, m_pFrame->m_hWnd);

    // Top (where the bar's own alignment put it).
    EXPECT_EQ(Bar().m_pDockBar, DockBar(AFX_IDW_DOCKBAR_TOP));
    EXPECT_EQ(::GetParent(Bar().m_hWnd), DockBar(AFX_IDW_DOCKBAR_TOP)->m_hWnd);
    EXPECT_EQ(BarRect().top, rectClient.top);
    EXPECT_EQ(ViewRect().top, BarRect().bottom);
    EXPECT_GT(BarRect().Width(), BarRect().Height());

    AfxDockControlBar(m_pFrame, &Bar(), AFX_IDW_DOCKBAR_BOTTOM);
    EXPECT_EQ(Bar().m_pDockBar, DockBar(AFX_IDW_DOCKBAR_BOTTOM));
    EXPECT_EQ(Bar().GetBarStyle() & CBRS_ALIGN_ANY, static_cast<DWORD>(CBRS_ALIGN_BOTTOM));
    EXPECT_EQ(BarRect().bottom, rectStatus.top) << "the status bar keeps the very bottom";
    EXPECT_EQ(ViewRect().bottom, BarRect().top);
    EXPECT_EQ(ViewRect().top, rectClient.top) << "the top dock bar is empty now";

    AfxDockControlBar(m_pFrame, &Bar(), AFX_IDW_DOCKBAR_LEFT);
    EXPECT_EQ(Bar().GetBarStyle() & CBRS_ALIGN_ANY, static_cast<DWORD>(CBRS_ALIGN_LEFT));
    EXPECT_EQ(BarRect().left, rectClient.left);
    EXPECT_EQ(BarRect().top, rectClient.top);
    EXPECT_EQ(ViewRect().left, BarRect().right);
    EXPECT_GT(BarRect().Height(), BarRect().Width()) << "a column of buttons";
    CRect rectNC(0, 0, 0, 0);
    Bar().CalcInsideRect(rectNC, FALSE);
    EXPECT_EQ(BarRect().Width(), Bar().m_sizeButton.cx - rectNC.Width());

    AfxDockControlBar(m_pFrame, &Bar(), AFX_IDW_DOCKBAR_RIGHT);
    EXPECT_EQ(Bar().GetBarStyle() & CBRS_ALIGN_ANY, static_cast<DWORD>(CBRS_ALIGN_RIGHT));
    EXPECT_EQ(BarRect().right, rectClient.right);
    EXPECT_EQ(ViewRect().right, BarRect().left);
    EXPECT_EQ(ViewRect().left, rectClient.left);
    EXPECT_EQ(DockBar(AFX_IDW_DOCKBAR_LEFT)->GetDockedCount(), 0);
    EXPECT_EQ(DockBar(AFX_IDW_DOCKBAR_RIGHT)->GetDockedCount(), 1);
}

TEST_F(Docking, BarsShareARowWhenDroppedOnItAndStackOtherwise)
{
    CToolBar second;
    MakeSecondBar(second, 1300);
    AfxDockControlBar(m_pFrame, &second, AFX_IDW_DOCKBAR_TOP);
    CDockBar* pTop = DockBar(AFX_IDW_DOCKBAR_TOP);
    ASSERT_EQ(pTop->GetRowCount(), 2) << "without a place, a new row";
    CRect rectFirst = RectIn(Bar(), pTop->m_hWnd);
    CRect rectSecond = RectIn(second, pTop->m_hWnd);
    EXPECT_EQ(rectSecond.top, rectFirst.bottom);
    EXPECT_EQ(RectIn(*pTop, m_pFrame->m_hWnd).Height(), rectFirst.Height() + rectSecond.Height());

    // Dropped at the right of the first one's row: the same row, where it was dropped.
    CRect rectDrop = RectIn(Bar(), nullptr);
    rectDrop.OffsetRect(rectDrop.Width() + 40, 0);
    AfxDockControlBar(m_pFrame, &second, pTop, rectDrop);
    ASSERT_EQ(pTop->GetRowCount(), 1);
    EXPECT_EQ(pTop->GetRowBars(0), (std::vector<CControlBar*>{&Bar(), &second}));
    rectSecond = RectIn(second, nullptr);
    EXPECT_EQ(rectSecond.left, rectDrop.left);
    EXPECT_EQ(rectSecond.top, RectIn(Bar(), nullptr).top);

    // Dropped over the first one: pushed along, never on top of it.
    AfxDockControlBar(m_pFrame, &second, pTop, RectIn(Bar(), nullptr));
    EXPECT_GE(RectIn(second, nullptr).left, RectIn(Bar(), nullptr).right);
    second.DestroyWindow();
    EXPECT_EQ(pTop->GetDockedCount(), 1) << "a destroyed bar leaves its dock bar";
}

TEST_F(Docking, FloatingBarLivesInAnOwnedFrameWithItsTitle)
{
    CRect rectViewDocked = ViewRect();
    AfxFloatControlBar(m_pFrame, &Bar(), CPoint(300, 250));
    ASSERT_TRUE(Bar().IsFloating());
    EXPECT_TRUE(Bar().GetBarStyle() & CBRS_FLOATING);
    std::vector<CMiniDockFrameWnd*> frames = AfxGetFloatingFrames(m_pFrame);
    ASSERT_EQ(frames.size(), 1u);
    CMiniDockFrameWnd* pMiniFrame = frames[0];
    EXPECT_EQ(::GetWindow(pMiniFrame->m_hWnd, GW_OWNER), m_pFrame->m_hWnd);
    EXPECT_TRUE(pMiniFrame->IsWindowVisible());
    CString strTitle;
    pMiniFrame->GetWindowText(strTitle);
    EXPECT_STREQ(strTitle, "Standard");
    CRect rectMini;
    pMiniFrame->GetWindowRect(rectMini);
    EXPECT_EQ(rectMini.TopLeft(), CPoint(300, 250));
    // The frame fits round the bar: one row of buttons.
    CRect rectClient;
    pMiniFrame->GetClientRect(rectClient);
    EXPECT_EQ(rectClient.Size(), Bar().CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH));
    // The view took the room the bar left.
    EXPECT_LT(ViewRect().top, rectViewDocked.top);
    EXPECT_EQ(DockBar(AFX_IDW_DOCKBAR_TOP)->GetDockedCount(), 0);

    // Docked again, the floating frame goes.
    AfxDockControlBar(m_pFrame, &Bar(), AFX_IDW_DOCKBAR_TOP);
    PumpPending();
    EXPECT_TRUE(AfxGetFloatingFrames(m_pFrame).empty());
    EXPECT_FALSE(Bar().GetBarStyle() & CBRS_FLOATING);
    EXPECT_EQ(ViewRect(), rectViewDocked);
}

TEST_F(Docking, FloatingBarDrawsNoBorderAndItsFrameGoesWithIt)
{
    CToolBar second;
    MakeSecondBar(second, 1304);
    second.SetBarStyle(second.GetBarStyle() | CBRS_BORDER_BOTTOM);
    CRect rectNCDocked(0, 0, 0, 0);
    second.CalcInsideRect(rectNCDocked, TRUE);
    AfxFloatControlBar(m_pFrame, &second, CPoint(200, 200));
    CRect rectNCFloating(0, 0, 0, 0);
    second.CalcInsideRect(rectNCFloating, TRUE);
    EXPECT_EQ(rectNCFloating.Height(), rectNCDocked.Height() + 2) << "the floating frame is the border";
    ASSERT_EQ(AfxGetFloatingFrames(m_pFrame).size(), 1u);
    second.DestroyWindow();
    PumpPending();
    EXPECT_TRUE(AfxGetFloatingFrames(m_pFrame).empty());
}

TEST_F(Docking, FloatingBarIsStillUpdatedAndStillCommands)
{
    AfxFloatControlBar(m_pFrame, &Bar(), CPoint(320, 260));
    Idle();
    EXPECT_FALSE(IsButtonEnabled(Bar(), ID_CB_DISABLED));
    EXPECT_TRUE(IsButtonChecked(Bar(), ID_CB_CHECKED));
    m_pFrame->m_bDisabledEnabled = TRUE;
    Idle();
    EXPECT_TRUE(IsButtonEnabled(Bar(), ID_CB_DISABLED));

    CRect rect;
    Bar().GetItemRect(0, rect);
    Bar().PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rect.CenterPoint().x, rect.CenterPoint().y));
    Bar().PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(rect.CenterPoint().x, rect.CenterPoint().y));
    PumpPending();
    EXPECT_EQ(m_pFrame->m_nOpen, 1);
}

TEST_F(Docking, SizingAFloatingBarWrapsItsButtons)
{
    AfxFloatControlBar(m_pFrame, &Bar(), CPoint(300, 250));
    CMiniDockFrameWnd* pMiniFrame = AfxGetFloatingFrames(m_pFrame).at(0);
    CRect rectWindow;
    pMiniFrame->GetWindowRect(rectWindow);
    CRect rectClient;
    pMiniFrame->GetClientRect(rectClient);
    // The user drags the right edge to about two buttons' width.
    CRect rectSizing = rectWindow;
    rectSizing.right =
        rectWindow.left + (rectWindow.Width() - rectClient.Width()) + 2 * Bar().m_sizeButton.cx + 20;
    pMiniFrame->SendMessage(WM_SIZING, WMSZ_RIGHT, reinterpret_cast<LPARAM>(&rectSizing));
    EXPECT_LT(rectSizing.Width(), rectWindow.Width());
    EXPECT_GT(rectSizing.Height(), rectWindow.Height()) << "more rows";
    pMiniFrame->MoveWindow(rectSizing);
    pMiniFrame->GetClientRect(rectClient);
    EXPECT_EQ(rectClient.Size(), Bar().CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH));
    EXPECT_TRUE(Bar().GetButtonStyle(2) & TBBS_WRAPPED) << "the rows break at the separators";
}

TEST_F(Docking, DraggingToAnEdgeDocksAndAwayFloats)
{
    CDockContext* pContext = Bar().m_pDockContext;
    ASSERT_NE(pContext, nullptr);
    CRect rectClient = FrameClientOnScreen();
    CRect rectBar = RectIn(Bar(), nullptr);
    CPoint ptGrip(rectBar.left + 2, rectBar.top + rectBar.Height() / 2);

    // Step by step: over the left edge, the outline is the column's and the left dock bar takes it.
    pContext->BeginDrag(ptGrip);
    pContext->Move(CPoint(rectClient.left + 5, rectClient.top + 120));
    EXPECT_EQ(pContext->GetDropTarget(), DockBar(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_GT(pContext->GetDropRect().Height(), pContext->GetDropRect().Width());
    pContext->EndDrag();
    EXPECT_EQ(Bar().m_pDockBar, DockBar(AFX_IDW_DOCKBAR_LEFT));

    // Through the real loop: the mouse goes far from the frame and is released there.
    rectBar = RectIn(Bar(), nullptr);
    ptGrip = CPoint(rectBar.left + rectBar.Width() / 2, rectBar.top + 2);
    CPoint ptFar(rectClient.right + 200, rectClient.bottom + 150);
    CPoint ptClient = ptFar;
    Bar().ScreenToClient(&ptClient);
    Bar().PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptClient.x, ptClient.y));
    Bar().PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(ptClient.x, ptClient.y));
    pContext->StartDrag(ptGrip);
    ASSERT_TRUE(Bar().IsFloating());
    CRect rectMini;
    AfxGetFloatingFrames(m_pFrame).at(0)->GetWindowRect(rectMini);
    EXPECT_TRUE(rectMini.PtInRect(ptFar)) << "the frame is where the bar was dropped";

    // A press and release without a move changes nothing.
    CPoint ptStill = rectMini.CenterPoint();
    CPoint ptStillClient = ptStill;
    Bar().ScreenToClient(&ptStillClient);
    Bar().PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(ptStillClient.x, ptStillClient.y));
    pContext->StartDrag(ptStill);
    CRect rectAfter;
    AfxGetFloatingFrames(m_pFrame).at(0)->GetWindowRect(rectAfter);
    EXPECT_EQ(rectAfter, rectMini);

    // Escape gives the drag up.
    Bar().PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptStillClient.x + 300, ptStillClient.y));
    Bar().PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    pContext->StartDrag(ptStill);
    AfxGetFloatingFrames(m_pFrame).at(0)->GetWindowRect(rectAfter);
    EXPECT_EQ(rectAfter, rectMini);
    EXPECT_FALSE(pContext->m_bDragging);
}

TEST_F(Docking, BarThatMayOnlyDockLeftIgnoresTheOtherEdges)
{
    Bar().EnableDocking(CBRS_ALIGN_LEFT);
    CDockContext* pContext = Bar().m_pDockContext;
    CRect rectClient = FrameClientOnScreen();
    CRect rectBar = RectIn(Bar(), nullptr);
    pContext->BeginDrag(CPoint(rectBar.left + 2, rectBar.top + 2));
    pContext->Move(CPoint(rectClient.right - 5, rectClient.top + 100));
    EXPECT_EQ(pContext->GetDropTarget(), nullptr) << "floats rather than docking right";
    pContext->Move(CPoint(rectClient.left + 5, rectClient.top + 100));
    EXPECT_EQ(pContext->GetDropTarget(), DockBar(AFX_IDW_DOCKBAR_LEFT));
    pContext->CancelDrag();
    EXPECT_EQ(Bar().m_pDockBar, DockBar(AFX_IDW_DOCKBAR_TOP)) << "a cancelled drag moves nothing";
}

TEST_F(Docking, DoubleClickFloatsAndDocksBackInItsRow)
{
    CToolBar second;
    MakeSecondBar(second, 1301);
    CDockBar* pTop = DockBar(AFX_IDW_DOCKBAR_TOP);
    CRect rectDrop = RectIn(Bar(), nullptr);
    rectDrop.OffsetRect(rectDrop.Width() + 60, 0);
    AfxDockControlBar(m_pFrame, &second, pTop, rectDrop);
    int nOffset = 0;
    ASSERT_TRUE(pTop->FindControlBar(&second, nullptr, &nOffset));

    CRect rectGrip = RectIn(second, second.m_hWnd);
    second.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(rectGrip.left + 1, rectGrip.top + 1));
    ASSERT_TRUE(second.IsFloating());
    CMiniDockFrameWnd* pMiniFrame = AfxGetFloatingFrames(m_pFrame).at(0);
    // A double click on the floating frame's caption docks it where it was.
    CRect rectMini;
    pMiniFrame->GetWindowRect(rectMini);
    pMiniFrame->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(rectMini.left + 10, rectMini.top + 5));
    EXPECT_EQ(second.m_pDockBar, pTop);
    int nRow = -1;
    int nOffsetBack = -1;
    ASSERT_TRUE(pTop->FindControlBar(&second, &nRow, &nOffsetBack));
    EXPECT_EQ(nRow, 0);
    EXPECT_EQ(nOffsetBack, nOffset);
    second.DestroyWindow();
}

TEST_F(Docking, ClosingTheFloatingFrameHidesTheBarAndTheMenuShowsItAgain)
{
    AfxFloatControlBar(m_pFrame, &Bar(), CPoint(300, 250));
    CMiniDockFrameWnd* pMiniFrame = AfxGetFloatingFrames(m_pFrame).at(0);
    pMiniFrame->SendMessage(WM_CLOSE);
    EXPECT_FALSE(Bar().IsVisible());
    EXPECT_FALSE(pMiniFrame->IsWindowVisible());
    ASSERT_EQ(AfxGetFloatingFrames(m_pFrame).size(), 1u) << "hidden, not destroyed";

    EXPECT_TRUE(AfxOnBarCheck(m_pFrame, AFX_IDW_TOOLBAR));
    EXPECT_TRUE(Bar().IsVisible());
    EXPECT_TRUE(pMiniFrame->IsWindowVisible());
    EXPECT_FALSE(AfxOnBarCheck(m_pFrame, 4321)) << "no bar of that id";
}

TEST_F(Docking, ViewMenuTogglesADockedBarAndChecksItsItem)
{
    CRect rectView = ViewRect();
    EXPECT_TRUE(AfxOnBarCheck(m_pFrame, AFX_IDW_STATUS_BAR));
    EXPECT_FALSE(m_pFrame->m_wndStatusBar.IsWindowVisible());
    EXPECT_GT(ViewRect().bottom, rectView.bottom) << "the view took the status bar's room";
    EXPECT_TRUE(AfxOnBarCheck(m_pFrame, AFX_IDW_TOOLBAR));
    EXPECT_FALSE(Bar().IsVisible());
    EXPECT_LT(ViewRect().top, rectView.top);

    // The menu item's check follows the bar.
    struct CheckUI : CCmdUI {
        int nCheck = -1;
        void SetCheck(int n) override { nCheck = n; }
    } state;
    state.m_nID = AFX_IDW_TOOLBAR;
    AfxOnUpdateControlBarMenu(m_pFrame, &state);
    EXPECT_EQ(state.nCheck, 0);
    AfxOnBarCheck(m_pFrame, AFX_IDW_TOOLBAR);
    AfxOnUpdateControlBarMenu(m_pFrame, &state);
    EXPECT_EQ(state.nCheck, 1);
    EXPECT_EQ(ViewRect().top, rectView.top);
}

TEST_F(Docking, DelayedShowWaitsForTheIdleLayout)
{
    AfxShowControlBar(m_pFrame, &Bar(), FALSE, TRUE);
    EXPECT_FALSE(Bar().IsVisible()) << "as the menu will show it";
    EXPECT_TRUE(Bar().IsWindowVisible()) << "still on the screen";
    Idle();
    EXPECT_FALSE(Bar().IsWindowVisible());
    EXPECT_EQ(ViewRect().top, ClientRect().top);
}

TEST_F(DockingState, SavedStateComesBackWhereTheUserLeftIt)
{
    // Tool bar on the right, status bar hidden.
    AfxDockControlBar(m_pFrame, &Bar(), AFX_IDW_DOCKBAR_RIGHT);
    AfxShowControlBar(m_pFrame, &m_pFrame->m_wndStatusBar, FALSE, FALSE);
    AfxSaveBarState(m_pFrame, "General");
    EXPECT_EQ(TestApp().GetProfileInt("General-Summary", "Bars", 0), 2u);
    EXPECT_EQ(TestApp().GetProfileInt("General-Bar0", "BarID", 0), static_cast<UINT>(AFX_IDW_TOOLBAR));
    EXPECT_EQ(TestApp().GetProfileInt("General-Bar0", "DockID", 0), static_cast<UINT>(AFX_IDW_DOCKBAR_RIGHT));
    EXPECT_EQ(TestApp().GetProfileInt("General-Bar1", "BarID", 0), static_cast<UINT>(AFX_IDW_STATUS_BAR));
    EXPECT_EQ(TestApp().GetProfileInt("General-Bar1", "Visible", 1), 0u);

    // The next start makes its bars in their default places, then loads the state.
    m_pFrame->DestroyWindow();
    m_pFrame = new CBarTestFrame;
    ASSERT_TRUE(m_pFrame->CreateFrame());
    TestApp().m_pMainWnd = m_pFrame;
    AfxEnableDocking(m_pFrame, CBRS_ALIGN_ANY);
    AfxDockControlBar(m_pFrame, &Bar());
    AfxLoadBarState(m_pFrame, "General");
    EXPECT_EQ(Bar().m_pDockBar, DockBar(AFX_IDW_DOCKBAR_RIGHT));
    EXPECT_EQ(BarRect().right, ClientRect().right);
    EXPECT_FALSE(m_pFrame->m_wndStatusBar.IsWindowVisible());
    EXPECT_EQ(ViewRect().bottom, ClientRect().bottom);

    // Floating, it comes back floating at the same place.
    AfxShowControlBar(m_pFrame, &m_pFrame->m_wndStatusBar, TRUE, FALSE);
    AfxFloatControlBar(m_pFrame, &Bar(), CPoint(333, 222));
    AfxSaveBarState(m_pFrame, "General");
    AfxDockControlBar(m_pFrame, &Bar(), AFX_IDW_DOCKBAR_TOP);
    PumpPending();
    AfxLoadBarState(m_pFrame, "General");
    ASSERT_TRUE(Bar().IsFloating());
    CRect rectMini;
    AfxGetFloatingFrames(m_pFrame).at(0)->GetWindowRect(rectMini);
    EXPECT_EQ(rectMini.TopLeft(), CPoint(333, 222));
    EXPECT_TRUE(m_pFrame->m_wndStatusBar.IsWindowVisible());
    // Its double click still knows the side it came from.
    Bar().m_pDockContext->ToggleDocking();
    EXPECT_EQ(Bar().m_pDockBar, DockBar(AFX_IDW_DOCKBAR_RIGHT));
}

TEST_F(DockingState, RowsComeBackInTheirOrder)
{
    CToolBar second;
    MakeSecondBar(second, 1302);
    CToolBar third;
    MakeSecondBar(third, 1303);
    CDockBar* pTop = DockBar(AFX_IDW_DOCKBAR_TOP);
    // Row 0: the first bar; row 1: third then second, side by side.
    AfxDockControlBar(m_pFrame, &third, AFX_IDW_DOCKBAR_TOP);
    CRect rectDrop = RectIn(third, nullptr);
    rectDrop.OffsetRect(rectDrop.Width() + 30, 0);
    AfxDockControlBar(m_pFrame, &second, pTop, rectDrop);
    ASSERT_EQ(pTop->GetRowCount(), 2);
    ASSERT_EQ(pTop->GetRowBars(1), (std::vector<CControlBar*>{&third, &second}));
    AfxSaveBarState(m_pFrame, "General");

    // Scrambled: all on one new row each, in another order.
    AfxDockControlBar(m_pFrame, &Bar(), AFX_IDW_DOCKBAR_BOTTOM);
    AfxDockControlBar(m_pFrame, &third, AFX_IDW_DOCKBAR_LEFT);
    AfxLoadBarState(m_pFrame, "General");
    ASSERT_EQ(pTop->GetRowCount(), 2);
    EXPECT_EQ(pTop->GetRowBars(0), (std::vector<CControlBar*>{&Bar()}));
    EXPECT_EQ(pTop->GetRowBars(1), (std::vector<CControlBar*>{&third, &second}));
    EXPECT_EQ(RectIn(second, nullptr).left, rectDrop.left);
    second.DestroyWindow();
    third.DestroyWindow();
}

TEST_F(DockingState, UnknownBarsAndValuesOutOfRangeAreSkipped)
{
    CWinApp& app = TestApp();
    // An older layout: a bar this frame does not have, a side that is no side, a row count from
    // nowhere, and the tool bar on the left.
    app.WriteProfileInt("General-Summary", "Bars", 4);
    app.WriteProfileInt("General-Bar0", "BarID", 59999);
    app.WriteProfileInt("General-Bar0", "DockID", AFX_IDW_DOCKBAR_LEFT);
    app.WriteProfileInt("General-Bar1", "BarID", AFX_IDW_STATUS_BAR);
    app.WriteProfileInt("General-Bar1", "Visible", 7);
    app.WriteProfileInt("General-Bar2", "BarID", AFX_IDW_TOOLBAR);
    app.WriteProfileInt("General-Bar2", "DockID", 12345);
    app.WriteProfileInt("General-Bar2", "Row", -3);
    app.WriteProfileString("General-Bar3", "BarID", "pas un nombre");
    AfxLoadBarState(m_pFrame, "General");
    EXPECT_EQ(Bar().m_pDockBar, DockBar(AFX_IDW_DOCKBAR_TOP)) << "no valid side: it stays";
    EXPECT_TRUE(m_pFrame->m_wndStatusBar.IsWindowVisible()) << "7 is no visibility";

    app.WriteProfileInt("General-Summary", "Bars", 100000);
    AfxLoadBarState(m_pFrame, "General");
    EXPECT_EQ(Bar().m_pDockBar, DockBar(AFX_IDW_DOCKBAR_TOP));

    // A floating position far off the screen is brought back onto it.
    app.WriteProfileInt("General-Summary", "Bars", 1);
    app.WriteProfileInt("General-Bar0", "BarID", AFX_IDW_TOOLBAR);
    app.WriteProfileInt("General-Bar0", "Floating", 1);
    app.WriteProfileInt("General-Bar0", "XPos", 30000);
    app.WriteProfileInt("General-Bar0", "YPos", -30000);
    AfxLoadBarState(m_pFrame, "General");
    ASSERT_TRUE(Bar().IsFloating());
    CRect rectMini;
    AfxGetFloatingFrames(m_pFrame).at(0)->GetWindowRect(rectMini);
    EXPECT_LT(rectMini.left, ::GetSystemMetrics(SM_XVIRTUALSCREEN) + ::GetSystemMetrics(SM_CXVIRTUALSCREEN));
    EXPECT_GE(rectMini.top, ::GetSystemMetrics(SM_YVIRTUALSCREEN));
}

TEST_F(DockingState, SavingFewerBarsRemovesTheOldSections)
{
    CWinApp& app = TestApp();
    app.WriteProfileInt("General-Summary", "Bars", 5);
    for (int i = 0; i < 5; i++) {
        CString strSection;
        strSection.Format("General-Bar%d", i);
        app.WriteProfileInt(strSection, "BarID", 59000 + i);
        app.WriteProfileInt(strSection, "Stale", 1);
    }
    AfxSaveBarState(m_pFrame, "General");
    EXPECT_EQ(app.GetProfileInt("General-Summary", "Bars", 0), 2u);
    EXPECT_TRUE(SectionExists("General-Bar1"));
    EXPECT_EQ(app.GetProfileInt("General-Bar1", "Stale", 0), 0u) << "a rewritten section has no old value";
    EXPECT_FALSE(SectionExists("General-Bar2"));
    EXPECT_FALSE(SectionExists("General-Bar4"));
}
