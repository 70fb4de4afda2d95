// The MDI child frames: closing, first maximised display, arrangement requests, titles and the local
// tool bars.
#include "app/OrvanelMDI.h"

#include "app/AppMessages.h"
#include "app/MainFrame.h"
#include "app/Settings.h"
#include "core/TextFormat.h"
#include "explorer/ExplorerView.h"
#include "framework/Dc.h"
#include "framework/Document.h"
#include "framework/FrameworkTexts.h"
#include "framework/Menu.h"
#include "framework/View.h"
#include "resources/resource.h"
#include "viewers/DibDoc.h"
#include "viewers/DibView.h"
#include "viewers/GifDoc.h"
#include "viewers/GifView.h"

namespace {

// Local tool bars: child, visible, along the top with a bottom border.
const DWORD kLocalToolBarStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;

} // namespace

IMPLEMENT_DYNCREATE(COrvanelMDI, CMDIChildWnd)
IMPLEMENT_DYNCREATE(CExplorerMDI, COrvanelMDI)
IMPLEMENT_DYNCREATE(CSearchMDI, COrvanelMDI)
IMPLEMENT_DYNCREATE(CDibDocMDI, COrvanelMDI)
IMPLEMENT_DYNCREATE(CGifDocMDI, COrvanelMDI)

BEGIN_MESSAGE_MAP(COrvanelMDI, CMDIChildWnd)
    ON_WM_ERASEBKGND()
    ON_WM_CLOSE()
    ON_WM_CREATE()
    ON_WM_ACTIVATE()
    ON_WM_SIZE()
    ON_WM_SYSCOMMAND()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CExplorerMDI, COrvanelMDI)
    ON_WM_CREATE()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CSearchMDI, COrvanelMDI)
    ON_WM_CREATE()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CDibDocMDI, COrvanelMDI)
    ON_WM_CREATE()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CGifDocMDI, COrvanelMDI)
    ON_WM_CREATE()
    ON_MESSAGE(WM_ANIMFRAMESLIDER, OnAnimFrameSlider)
    ON_MESSAGE(WM_ANIMSPEEDCHANGED, OnAnimSpeedChanged)
END_MESSAGE_MAP()

// ---- COrvanelMDI ----

void COrvanelMDI::ActivateFrame(int nCmdShow)
{
    if (g_MaximiseOnOpen && m_bFirstActivation) {
        nCmdShow = SW_SHOWMAXIMIZED;
        m_bFirstActivation = FALSE;
    }
    CMDIChildWnd::ActivateFrame(nCmdShow);
}

void COrvanelMDI::OnUpdateFrameTitle(BOOL)
{
    if (!IsZoomed())
        UpdateTitle();
}

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
    // The main window's painted caption names the active document (renamed by Save As, say).
    if (g_pMainFrame != nullptr && ::IsWindow(g_pMainFrame->m_hWnd))
        g_pMainFrame->PostMessage(WM_CAPTIONRESET, 0, 0);
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
    for (HWND hChild = ::GetTopWindow(m_hWnd); hChild != nullptr; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        CWnd* pChild = CWnd::FromHandlePermanent(hChild);
        if (pChild == nullptr || !pChild->IsKindOf(RUNTIME_CLASS(CControlBar)) || !pChild->IsWindowVisible())
            continue;
        CRect rect;
        pChild->GetWindowRect(&rect);
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
    if (g_pMainFrame != nullptr)
        g_pMainFrame->PostMessage(WM_CAPTIONRESET, 0, 0);
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

void COrvanelMDI::OnSize(UINT nType, int cx, int cy)
{
    CMDIChildWnd::OnSize(nType, cx, cy);
    if (!IsZoomed())
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
        if (pTop != nullptr) {
            if (pTop->IsKindOf(RUNTIME_CLASS(CDibView)))
                static_cast<CDibView*>(pTop)->ArrangeChildFrame(TRUE);
            else if (pTop->IsKindOf(RUNTIME_CLASS(CGifView)))
                static_cast<CGifView*>(pTop)->ArrangeChildFrame(TRUE);
            else if (pTop->IsKindOf(RUNTIME_CLASS(CExplorerView)))
                static_cast<CExplorerView*>(pTop)->ArrangeChildFrame(TRUE);
        }
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

// ---- explorer and search frames ----

BOOL CExplorerMDI::PreCreateWindow(CREATESTRUCT& cs)
{
    BOOL bResult = COrvanelMDI::PreCreateWindow(cs);
    cs.dwExStyle = (cs.dwExStyle & ~WS_EX_CLIENTEDGE) | WS_EX_DLGMODALFRAME;
    return bResult;
}

int CExplorerMDI::OnCreate(LPCREATESTRUCT lpcs)
{
    if (COrvanelMDI::OnCreate(lpcs) == -1)
        return -1;
    return CreateLocalToolBar(m_wndToolBar, IDR_EXPLORERTYPE, g_ShowExplorerToolBar) ? 0 : -1;
}

BOOL CExplorerMDI::OnEraseBkgnd(CDC* pDC) { return COrvanelMDI::OnEraseBkgnd(pDC); }

BOOL CSearchMDI::PreCreateWindow(CREATESTRUCT& cs)
{
    BOOL bResult = COrvanelMDI::PreCreateWindow(cs);
    cs.dwExStyle = (cs.dwExStyle & ~WS_EX_CLIENTEDGE) | WS_EX_DLGMODALFRAME;
    return bResult;
}

int CSearchMDI::OnCreate(LPCREATESTRUCT lpcs)
{
    if (COrvanelMDI::OnCreate(lpcs) == -1)
        return -1;
    return CreateLocalToolBar(m_wndToolBar, IDR_SEARCHTYPE, g_ShowExplorerToolBar) ? 0 : -1;
}

BOOL CSearchMDI::OnEraseBkgnd(CDC* pDC) { return COrvanelMDI::OnEraseBkgnd(pDC); }

// ---- picture frames ----

int CDibDocMDI::OnCreate(LPCREATESTRUCT lpcs)
{
    if (COrvanelMDI::OnCreate(lpcs) == -1)
        return -1;
    return CreateLocalToolBar(m_wndToolBar, IDR_DIBTYPE, g_ShowDibToolBar) ? 0 : -1;
}

void CDibDocMDI::UpdateTitle()
{
    CString strTitle;
    if (!GetBaseTitle(strTitle))
        return;
    CDocument* pDoc = GetActiveDocument();
    if (pDoc->IsKindOf(RUNTIME_CLASS(CDibDoc))) {
        CDibDoc* pDibDoc = static_cast<CDibDoc*>(pDoc);
        CString strSize;
        strSize.Format(AfxLoadText(IDS_PICTURE_TITLE), pDibDoc->m_nWidth, pDibDoc->m_nHeight,
                       GetColorDepthName(pDibDoc->m_nBitCount));
        strTitle += " (" + strSize + ")";
    }
    SetTitleText(strTitle);
}

int CGifDocMDI::OnCreate(LPCREATESTRUCT lpcs)
{
    if (COrvanelMDI::OnCreate(lpcs) == -1)
        return -1;
    if (!m_wndToolBar.Create(this, kLocalToolBarStyle, AFX_IDW_TOOLBAR)
        || !m_wndToolBar.LoadToolBar(IDR_GIFTYPE))
        return -1;
    m_wndToolBar.SetBarStyle(m_wndToolBar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC);
    // Room for the slider and the speed list, and the last button becomes a narrow separator.
    m_wndToolBar.SetButtonInfo(15, 1, TBBS_SEPARATOR, 210);
    m_wndToolBar.SetButtonInfo(17, 1, TBBS_SEPARATOR, 10);
    m_wndToolBar.ShowWindow(g_ShowDibToolBar ? SW_SHOWNORMAL : SW_HIDE);
    if (!m_wndToolBar.CreateControls())
        return -1;
    return 0;
}

void CGifDocMDI::UpdateTitle()
{
    CString strTitle;
    if (!GetBaseTitle(strTitle) || GetActiveView() == nullptr)
        return;
    CDocument* pDoc = GetActiveDocument();
    CView* pView = GetActiveView();
    if (pDoc->IsKindOf(RUNTIME_CLASS(CGifDoc))) {
        CGifDoc* pGifDoc = static_cast<CGifDoc*>(pDoc);
        CString strState;
        if (pGifDoc->GetFrameCount() < 2) {
            strState.Format(AfxLoadText(IDS_PICTURE_TITLE), pGifDoc->m_nWidth, pGifDoc->m_nHeight,
                            GetColorDepthName(pGifDoc->m_nBitCount));
        } else {
            BOOL bPlaying =
                pView->IsKindOf(RUNTIME_CLASS(CGifView)) && static_cast<CGifView*>(pView)->m_bPlaying;
            strState.Format(AfxLoadText(IDS_ANIM_TITLE), pGifDoc->m_nWidth, pGifDoc->m_nHeight,
                            bPlaying ? "Lecture" : "Pause");
        }
        strTitle += " " + strState;
    }
    SetTitleText(strTitle);
}

LRESULT CGifDocMDI::OnAnimFrameSlider(WPARAM wParam, LPARAM lParam)
{
    CView* pView = GetActiveView();
    if (pView != nullptr)
        pView->SendMessage(WM_ANIMFRAMESLIDER, wParam, lParam);
    return 0;
}

LRESULT CGifDocMDI::OnAnimSpeedChanged(WPARAM wParam, LPARAM lParam)
{
    CView* pView = GetActiveView();
    if (pView != nullptr)
        pView->SendMessage(WM_ANIMSPEEDCHANGED, wParam, lParam);
    return 0;
}
