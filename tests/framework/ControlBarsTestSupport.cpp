// The control-bar tests' frame and fixture.
#include "tests/framework/ControlBarsTestSupport.h"

#include "framework/CmdUI.h"
#include "framework/WinThread.h"
#include "tests/framework/ControlBarsTestIds.h"

BEGIN_MESSAGE_MAP(CBarTestFrame, CFrameWnd)
    ON_COMMAND(ID_CB_OPEN, OnOpen)
    ON_COMMAND(ID_CB_SAVE, OnOpen)
    ON_COMMAND(ID_CB_DISABLED, OnOpen)
    ON_COMMAND(ID_CB_APPLY, OnApply)
    ON_UPDATE_COMMAND_UI(ID_CB_DISABLED, OnUpdateDisabled)
    ON_UPDATE_COMMAND_UI(ID_CB_CHECKED, OnUpdateChecked)
    ON_UPDATE_COMMAND_UI(ID_CB_INFO, OnUpdateInfo)
END_MESSAGE_MAP()

BOOL CBarTestFrame::CreateFrame()
{
    if (!Create(nullptr, "Barres", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 40, 640, 440)))
        return FALSE;
    // The view first, as frames make theirs before their bars.
    if (!m_wndView.CreateEx(WS_EX_CLIENTEDGE, AfxRegisterWndClass(0), nullptr, WS_CHILD | WS_VISIBLE,
                            CRect(0, 0, 0, 0), this, AFX_IDW_PANE_FIRST))
        return FALSE;
    if (!m_wndToolBar.Create(this,
                             WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM | CBRS_FLYBY
                                 | CBRS_TOOLTIPS | CBRS_SIZE_DYNAMIC,
                             AFX_IDW_TOOLBAR)
        || !m_wndToolBar.LoadToolBar(IDR_CB_TOOLBAR))
        return FALSE;
    m_wndToolBar.SetWindowText("Standard");
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    static const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM};
    if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP,
                               AFX_IDW_STATUS_BAR)
        || !m_wndStatusBar.SetIndicators(indicators, 3))
        return FALSE;
    RecalcLayout();
    return TRUE;
}

void CBarTestFrame::OnUpdateDisabled(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bDisabledEnabled); }
void CBarTestFrame::OnUpdateChecked(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(1);
}
void CBarTestFrame::OnUpdateInfo(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bInfoEnabled); }

void ControlBarTest::SetUp()
{
    WindowTest::SetUp();
    m_pFrame = new CBarTestFrame;
    ASSERT_TRUE(m_pFrame->CreateFrame());
    TestApp().m_pMainWnd = m_pFrame;
}

void ControlBarTest::TearDown()
{
    if (m_pFrame != nullptr && ::IsWindow(m_pFrame->m_hWnd))
        m_pFrame->DestroyWindow();
    m_pFrame = nullptr;
    WindowTest::TearDown();
}

void ControlBarTest::Idle()
{
    PumpPending();
    TestApp().OnIdle(0);
}

CRect ControlBarTest::FrameClientOnScreen() const
{
    CRect rect;
    m_pFrame->GetClientRect(rect);
    m_pFrame->ClientToScreen(rect);
    return rect;
}

CRect RectIn(const CWnd& wnd, HWND hWndIn)
{
    CRect rect;
    wnd.GetWindowRect(rect);
    ::MapWindowPoints(nullptr, hWndIn, reinterpret_cast<LPPOINT>(&rect), 2);
    return rect;
}

BOOL IsButtonEnabled(const CToolBar& bar, UINT nID)
{
    return static_cast<BOOL>(bar.SendMessage(TB_ISBUTTONENABLED, nID));
}
BOOL IsButtonChecked(const CToolBar& bar, UINT nID)
{
    return static_cast<BOOL>(bar.SendMessage(TB_ISBUTTONCHECKED, nID));
}
