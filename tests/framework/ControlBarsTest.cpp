// Control bars in general: bar styles kept apart from window styles, borders in the non-client area,
// bars taking their edge of a frame that does not dock, registration with the frame, and dialog bars
// whose controls command the frame.
#include "tests/framework/ControlBarsTestIds.h"
#include "tests/framework/ControlBarsTestSupport.h"

#include "framework/DialogBar.h"

namespace {

using ControlBars = ControlBarTest;

BOOL IsListed(CFrameWnd* pFrame, CControlBar* pBar)
{
    return pFrame->m_listControlBars.Find(pBar) != nullptr;
}

} // namespace

TEST_F(ControlBars, BarStyleIsKeptApartFromTheWindowStyle)
{
    CToolBar bar;
    // The main frame's tool bar style: hidden, top, bottom border, fly-by, tips, dynamic size.
    ASSERT_TRUE(bar.Create(m_pFrame, 0x40002834, 1240));
    EXPECT_EQ(bar.GetBarStyle(), 0x2834u);
    EXPECT_FALSE(bar.GetStyle() & WS_VISIBLE);
    EXPECT_FALSE(bar.GetStyle() & TBSTYLE_LIST) << "bar bits must not reach the control";
    EXPECT_EQ(bar.GetDlgCtrlID(), 1240);

    CStatusBar status;
    ASSERT_TRUE(status.Create(m_pFrame, 0x50008200, 1241));
    EXPECT_EQ(status.GetBarStyle(), 0x8200u);
    EXPECT_TRUE(status.GetStyle() & WS_VISIBLE);
    EXPECT_TRUE(status.GetStyle() & SBARS_SIZEGRIP) << "the frame can be sized";
}

TEST_F(ControlBars, BordersAndGapsAreNonClientArea)
{
    CToolBar& bar = m_pFrame->m_wndToolBar;
    CRect rectWindow;
    bar.GetWindowRect(rectWindow);
    CRect rectClient;
    bar.GetClientRect(rectClient);
    // Bottom border line (2) and the gaps: 6 left and right, 2 above and below.
    EXPECT_EQ(rectWindow.Width() - rectClient.Width(), 12);
    EXPECT_EQ(rectWindow.Height() - rectClient.Height(), 2 + 2 + 2);

    bar.SetBorders(0, 1, 0, 1);
    bar.SetBarStyle(bar.GetBarStyle() & ~CBRS_BORDER_ANY);
    bar.GetWindowRect(rectWindow);
    bar.GetClientRect(rectClient);
    EXPECT_EQ(rectWindow.Width(), rectClient.Width());
    EXPECT_EQ(rectWindow.Height() - rectClient.Height(), 2);
    EXPECT_EQ(bar.GetBorders(), CRect(0, 1, 0, 1));
}

TEST_F(ControlBars, BarsThatDoNotDockTakeTheirEdgeOfTheFrame)
{
    CRect rectClient;
    m_pFrame->GetClientRect(rectClient);
    CRect rectBar = RectIn(m_pFrame->m_wndToolBar, m_pFrame->m_hWnd);
    CRect rectStatus = RectIn(m_pFrame->m_wndStatusBar, m_pFrame->m_hWnd);
    CRect rectView = RectIn(m_pFrame->m_wndView, m_pFrame->m_hWnd);
    EXPECT_EQ(rectBar.TopLeft(), rectClient.TopLeft());
    EXPECT_EQ(rectBar.Width(), rectClient.Width()) << "stretched along its edge";
    EXPECT_EQ(rectStatus.bottom, rectClient.bottom);
    EXPECT_EQ(rectStatus.Width(), rectClient.Width());
    EXPECT_EQ(rectView, CRect(0, rectBar.bottom, rectClient.right, rectStatus.top));
    EXPECT_FALSE(m_pFrame->m_wndToolBar.IsFloating());
}

TEST_F(ControlBars, BarsRegisterWithTheirFrameUntilDestroyed)
{
    EXPECT_TRUE(IsListed(m_pFrame, &m_pFrame->m_wndToolBar));
    EXPECT_TRUE(IsListed(m_pFrame, &m_pFrame->m_wndStatusBar));
    EXPECT_EQ(AfxGetControlBar(m_pFrame, AFX_IDW_STATUS_BAR), &m_pFrame->m_wndStatusBar);
    {
        CToolBar bar;
        ASSERT_TRUE(bar.Create(m_pFrame, WS_CHILD | CBRS_ALIGN_TOP, 1242));
        EXPECT_TRUE(IsListed(m_pFrame, &bar));
        EXPECT_EQ(AfxGetControlBar(m_pFrame, 1242), &bar);
    }
    EXPECT_EQ(AfxGetControlBar(m_pFrame, 1242), nullptr);
    EXPECT_EQ(m_pFrame->m_listControlBars.GetCount(), 2);
}

TEST_F(ControlBars, FrameFindsItsOwnBarBeforeOneInsideAnother)
{
    // A bar holding a tool bar of the standard id, as the library bar does.
    CDialogBar holder;
    ASSERT_TRUE(holder.Create(m_pFrame, IDD_CB_DIALOGBAR, WS_VISIBLE | CBRS_ALIGN_TOP, 1243));
    CToolBar inner;
    ASSERT_TRUE(inner.Create(&holder, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, AFX_IDW_TOOLBAR));
    EXPECT_EQ(AfxGetControlBar(m_pFrame, AFX_IDW_TOOLBAR), &m_pFrame->m_wndToolBar);
    m_pFrame->m_wndToolBar.DestroyWindow();
    EXPECT_EQ(AfxGetControlBar(m_pFrame, AFX_IDW_TOOLBAR), &inner);
}

TEST_F(ControlBars, DialogBarTakesItsTemplateSizeAndCommandsTheFrame)
{
    CDialogBar bar;
    ASSERT_TRUE(
        bar.Create(m_pFrame, IDD_CB_DIALOGBAR, WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM, 1244));
    CRect rectTemplate(0, 0, 160, 20);
    ::MapDialogRect(bar.m_hWnd, rectTemplate);
    EXPECT_EQ(bar.m_sizeDefault, rectTemplate.Size());
    EXPECT_EQ(bar.CalcFixedLayout(TRUE, TRUE), CSize(32767, rectTemplate.Height()));
    EXPECT_EQ(bar.CalcFixedLayout(FALSE, TRUE), rectTemplate.Size());
    m_pFrame->RecalcLayout();
    CRect rectBar = RectIn(bar, m_pFrame->m_hWnd);
    CRect rectToolBar = RectIn(m_pFrame->m_wndToolBar, m_pFrame->m_hWnd);
    EXPECT_EQ(rectBar.Height(), rectTemplate.Height());
    EXPECT_EQ(rectBar.top, rectToolBar.bottom) << "below the tool bar made before it";

    Idle();
    EXPECT_TRUE(bar.GetDlgItem(ID_CB_APPLY)->IsWindowEnabled());
    EXPECT_FALSE(bar.GetDlgItem(ID_CB_NOHANDLER)->IsWindowEnabled()) << "no handler: greyed";
    EXPECT_TRUE(bar.GetDlgItem(ID_CB_LABEL)->IsWindowEnabled()) << "labels are no commands";

    bar.GetDlgItem(ID_CB_APPLY)->SendMessage(BM_CLICK);
    EXPECT_EQ(m_pFrame->m_nApply, 1) << "the button's command reaches the frame through the bar";
}

TEST_F(ControlBars, DialogBarRefusesAMissingOrTopLevelTemplate)
{
    CDialogBar bar;
    EXPECT_FALSE(bar.Create(m_pFrame, 9998, WS_VISIBLE | CBRS_ALIGN_TOP, 1245));
    EXPECT_EQ(bar.m_hWnd, nullptr);
    HWND hWndBefore = ::GetWindow(m_pFrame->m_hWnd, GW_ENABLEDPOPUP);
    EXPECT_FALSE(bar.Create(m_pFrame, IDD_CB_POPUP, WS_VISIBLE | CBRS_ALIGN_TOP, 1245));
    EXPECT_EQ(bar.m_hWnd, nullptr);
    EXPECT_EQ(::GetWindow(m_pFrame->m_hWnd, GW_ENABLEDPOPUP), hWndBefore) << "nothing is left on the screen";
    EXPECT_EQ(AfxGetControlBar(m_pFrame, 1245), nullptr);
}
