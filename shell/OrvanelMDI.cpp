// The base of the MDI child frames: closing, first maximised display, arrangement requests, titles and
// the local tool bars.
#include "shell/OrvanelMDI.h"

#include "shell/AppMessages.h"
#include "shell/MainFrameHost.h"
#include "shell/Settings.h"
#include "framework/Dc.h"
#include "framework/Document.h"
#include "framework/Menu.h"
#include "framework/View.h"

#include <vector>

IMPLEMENT_DYNCREATE(COrvanelMDI, CMDIChildWnd)

BEGIN_MESSAGE_MAP(COrvanelMDI, CMDIChildWnd)
    ON_WM_ERASEBKGND()
    ON_WM_CLOSE()
    ON_WM_CREATE()
    ON_WM_ACTIVATE()
    ON_WM_MDIACTIVATE()
    ON_WM_SIZE()
    ON_WM_SYSCOMMAND()
END_MESSAGE_MAP()

namespace {

// The frame's bars that show.
std::vector<CWnd*> ShownBars(HWND hFrame)
{
    std::vector<CWnd*> bars;
    for (HWND hChild = ::GetTopWindow(hFrame); hChild != nullptr; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        CWnd* pChild = CWnd::FromHandlePermanent(hChild);
        if (pChild != nullptr && pChild->IsKindOf(RUNTIME_CLASS(CControlBar)) && pChild->IsWindowVisible())
            bars.push_back(pChild);
    }
    return bars;
}

} // namespace

// ---- COrvanelMDI ----

void COrvanelMDI::ActivateFrame(int nCmdShow)
{
    if (g_MaximiseOnOpen && m_bFirstActivation) {
        nCmdShow = SW_SHOWMAXIMIZED;
        m_bFirstActivation = FALSE;
    }
    CMDIChildWnd::ActivateFrame(nCmdShow);
}

// Maximised too: a frame that opens maximised (beside a maximised one) would otherwise keep an empty
// title and window-list entry, and a maximised one would keep the name and state it had before.
void COrvanelMDI::OnUpdateFrameTitle(BOOL) { UpdateTitle(); }

BOOL COrvanelMDI::GetBaseTitle(CString& strTitle)
{
    CDocument* pDoc = GetActiveDocument();
    if (pDoc == nullptr)
        return FALSE;
    strTitle = pDoc->GetTitle();
    if (m_nWindow > 0) {
        CString strNumber;
        strNumber.Format(":%d", m_nWindow);
        strTitle += strNumber;
    }
    return TRUE;
}

void COrvanelMDI::SetTitleText(const CString& strTitle)
{
    CString strNow;
    GetWindowText(strNow);
    if (strNow == strTitle)
        return;
    SetWindowText(strTitle);
    // The window list of the "Fenêtre" menu is not rebuilt from the new text by itself.
    ::SendMessageA(::GetParent(m_hWnd), WM_MDIREFRESHMENU, 0, 0);
    // The main window's painted caption names the active document (renamed by Save As, say).
    CWnd* pMain = g_pMainFrameHost != nullptr ? g_pMainFrameHost->GetFrameWnd() : nullptr;
    if (pMain != nullptr && ::IsWindow(pMain->m_hWnd))
        pMain->PostMessage(WM_CAPTIONRESET, 0, 0);
}

void COrvanelMDI::UpdateTitle()
{
    CString strTitle;
    if (GetBaseTitle(strTitle))
        SetTitleText(strTitle);
}

BOOL COrvanelMDI::OnEraseBkgnd(CDC* pDC)
{
    // The view paints the whole client area; the bars draw their buttons over the frame's background,
    // so only their strips are erased.
    if (pDC == nullptr)
        return TRUE;
    for (CWnd* pBar : ShownBars(m_hWnd)) {
        CRect rect;
        pBar->GetWindowRect(&rect);
        ScreenToClient(&rect);
        pDC->FillSolidRect(&rect, ::GetSysColor(COLOR_BTNFACE));
    }
    if (GetActiveView() == nullptr)
        return CMDIChildWnd::OnEraseBkgnd(pDC);
    return TRUE;
}

void COrvanelMDI::OnClose()
{
    // Asked first: a frame that closes is gone when the framework's close returns.
    g_bArrangePending = TRUE;
    if (g_pMainFrameHost != nullptr)
        g_pMainFrameHost->GetFrameWnd()->PostMessage(WM_CAPTIONRESET, 0, 0);
    if (m_bClosable)
        CMDIChildWnd::OnClose();
}

int COrvanelMDI::OnCreate(LPCREATESTRUCT lpcs)
{
    if (!m_bClosable) {
        HMENU hSystem = ::GetSystemMenu(m_hWnd, FALSE);
        if (hSystem != nullptr)
            ::EnableMenuItem(hSystem, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED | MF_DISABLED);
    }
    return CMDIChildWnd::OnCreate(lpcs);
}

void COrvanelMDI::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    CMDIChildWnd::OnActivate(nState, pWndOther, bMinimized);
    if (nState == WA_INACTIVE)
        return;
    CWnd* pTop = CWnd::FromHandlePermanent(::GetTopWindow(m_hWnd));
    if (pTop != nullptr && pTop->IsKindOf(RUNTIME_CLASS(CView)))
        SetActiveView(static_cast<CView*>(pTop), TRUE);
}

void COrvanelMDI::OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd)
{
    CMDIChildWnd::OnMDIActivate(bActivate, pActivateWnd, pDeactivateWnd);
    if (!bActivate)
        return;
    // A window closed over this one can leave parts of the bars showing it, which the system counts
    // as still drawn (seen under Wine): the bars are painted again whole.
    for (CWnd* pBar : ShownBars(m_hWnd))
        pBar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void COrvanelMDI::OnSize(UINT nType, int cx, int cy)
{
    CMDIChildWnd::OnSize(nType, cx, cy);
    UpdateTitle();
}

void COrvanelMDI::OnSysCommand(UINT nID, LPARAM lParam)
{
    // The system sets the low four bits (a restore by double click is 0xF122).
    UINT nCommand = nID & 0xFFF0;
    if (nCommand == SC_MINIMIZE || nCommand == SC_RESTORE)
        g_bArrangePending = TRUE;
    if (nCommand == SC_RESTORE) {
        CWnd* pTop = CWnd::FromHandlePermanent(::GetTopWindow(m_hWnd));
        if (pTop != nullptr && pTop->IsKindOf(RUNTIME_CLASS(CView)))
            pTop->SendMessage(WM_VIEWARRANGE, TRUE, 0);
    }
    CMDIChildWnd::OnSysCommand(nID, lParam);
}

BOOL COrvanelMDI::CreateLocalToolBar(CToolBar& bar, UINT nIDResource, int nShow)
{
    if (!bar.Create(this, kLocalToolBarStyle, AFX_IDW_TOOLBAR) || !bar.LoadToolBar(nIDResource))
        return FALSE;
    bar.SetBarStyle(bar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC);
    bar.ShowWindow(nShow ? SW_SHOWNORMAL : SW_HIDE);
    return TRUE;
}
