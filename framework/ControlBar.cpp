// CControlBar.
#include "framework/ControlBar.h"

#include "framework/Dc.h"
#include "framework/DockBar.h"
#include "framework/FrameworkTexts.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_NCHITTEST()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_TIMER()
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

namespace {

const UINT_PTR kFlyByTimer = 0xE000; // watches for the mouse leaving the item whose prompt shows
const UINT kFlyByDelay = 200;
const int kBorderLine = 2; // a border is an etched pair of lines

// Notifications a bar hands on to its owner: those of its own child windows, commands without a
// control (menus, keys, posted commands), and the tip windows' requests for the text of a command
// (a tool bar's buttons are commands). Other common-control notifications stay with the bar's window.
BOOL IsForOwner(HWND hWndBar, UINT message, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        return lParam == 0 || ::IsChild(hWndBar, reinterpret_cast<HWND>(lParam));
    case WM_NOTIFY: {
        const NMHDR* pNMHDR = reinterpret_cast<const NMHDR*>(lParam);
        return pNMHDR != nullptr
               && (::IsChild(hWndBar, pNMHDR->hwndFrom) || pNMHDR->code == TTN_NEEDTEXTA
                   || pNMHDR->code == TTN_NEEDTEXTW);
    }
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
        return ::IsChild(hWndBar, reinterpret_cast<HWND>(lParam));
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

CControlBar::~CControlBar()
{
    // The window goes while this is still a control bar, so that OnDestroy unregisters it.
    if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
    delete m_pDockContext;
}

// ---- styles ----

void CControlBar::SetBarStyle(DWORD dwStyle)
{
    DWORD dwOld = m_dwStyle;
    m_dwStyle = dwStyle;
    // Borders and orientation live in the non-client area.
    if (m_hWnd != nullptr && ((dwOld ^ dwStyle) & (CBRS_BORDER_ANY | CBRS_BORDER_3D | CBRS_ALIGN_ANY)))
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void CControlBar::SetBorders(int cxLeft, int cyTop, int cxRight, int cyBottom)
{
    m_cxLeftBorder = std::max(cxLeft, 0);
    m_cyTopBorder = std::max(cyTop, 0);
    m_cxRightBorder = std::max(cxRight, 0);
    m_cyBottomBorder = std::max(cyBottom, 0);
    if (m_hWnd != nullptr)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

BOOL CControlBar::IsFloating() const { return m_pDockBar != nullptr && m_pDockBar->m_bFloating; }

BOOL CControlBar::IsVisible() const
{
    if (m_nStateFlags & delayHide)
        return FALSE;
    return (m_nStateFlags & delayShow) != 0 || (GetStyle() & WS_VISIBLE) != 0;
}

void CControlBar::DelayShow(BOOL bShow)
{
    m_nStateFlags &= ~(delayHide | delayShow);
    BOOL bVisible = (GetStyle() & WS_VISIBLE) != 0;
    if (bShow && !bVisible)
        m_nStateFlags |= delayShow;
    else if (!bShow && bVisible)
        m_nStateFlags |= delayHide;
}

DWORD CControlBar::RecalcDelayShow(BOOL bCommit)
{
    DWORD dwStyle = GetStyle();
    if (m_nStateFlags & (delayHide | delayShow)) {
        BOOL bShow = (m_nStateFlags & delayShow) != 0;
        if (bCommit) {
            m_nStateFlags &= ~(delayHide | delayShow);
            ShowWindow(bShow ? SW_SHOWNA : SW_HIDE);
        }
        dwStyle = bShow ? (dwStyle | WS_VISIBLE) : (dwStyle & ~WS_VISIBLE);
    }
    return dwStyle;
}

// ---- layout ----

CSize CControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    return CSize(bStretch && bHorz ? 32767 : 0, bStretch && !bHorz ? 32767 : 0);
}

CSize CControlBar::CalcDynamicLayout(int, DWORD dwMode)
{
    return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZ) != 0);
}

DWORD CControlBar::GetBorderStyle() const
{
    // A floating bar's frame is its border.
    return (m_dwStyle & CBRS_FLOATING) ? 0 : (m_dwStyle & CBRS_BORDER_ANY);
}

void CControlBar::CalcInsideRect(CRect& rect, BOOL bHorz) const
{
    DWORD dwBorders = GetBorderStyle();
    if (dwBorders & CBRS_BORDER_LEFT)
        rect.left += kBorderLine;
    if (dwBorders & CBRS_BORDER_TOP)
        rect.top += kBorderLine;
    if (dwBorders & CBRS_BORDER_RIGHT)
        rect.right -= kBorderLine;
    if (dwBorders & CBRS_BORDER_BOTTOM)
        rect.bottom -= kBorderLine;
    // The gaps follow the bar round: a vertical bar has its "left" gap on top.
    if (bHorz) {
        rect.left += m_cxLeftBorder;
        rect.top += m_cyTopBorder;
        rect.right -= m_cxRightBorder;
        rect.bottom -= m_cyBottomBorder;
    } else {
        rect.left += m_cyTopBorder;
        rect.top += m_cxLeftBorder;
        rect.right -= m_cyBottomBorder;
        rect.bottom -= m_cxRightBorder;
    }
}

void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect)
{
    CRect rectOld;
    ::GetWindowRect(hWnd, &rectOld);
    ::MapWindowPoints(nullptr, ::GetParent(hWnd), reinterpret_cast<LPPOINT>(&rectOld), 2);
    if (rectOld == *lpRect)
        return;
    if (lpLayout != nullptr && lpLayout->hDWP != nullptr)
        lpLayout->hDWP = ::DeferWindowPos(lpLayout->hDWP, hWnd, nullptr, lpRect->left, lpRect->top,
                                          lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
                                          SWP_NOACTIVATE | SWP_NOZORDER);
    else
        ::SetWindowPos(hWnd, nullptr, lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                       lpRect->bottom - lpRect->top, SWP_NOACTIVATE | SWP_NOZORDER);
}

LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam)
{
    auto* lpLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    DWORD dwStyle = RecalcDelayShow(lpLayout->hDWP != nullptr);
    if (!(dwStyle & WS_VISIBLE) || !(m_dwStyle & CBRS_ALIGN_ANY))
        return 0;

    CRect rect(lpLayout->rect);
    CSize sizeAvail = rect.Size();
    DWORD dwMode = lpLayout->bStretch ? LM_STRETCH : 0;
    if ((m_dwStyle & CBRS_SIZE_DYNAMIC) && (m_dwStyle & CBRS_FLOATING))
        dwMode |= LM_HORZ | LM_MRUWIDTH;
    else if (m_dwStyle & CBRS_ORIENT_HORZ)
        dwMode |= LM_HORZ | LM_HORZDOCK;
    else
        dwMode |= LM_VERTDOCK;
    CSize size = CalcDynamicLayout(-1, dwMode);
    size.cx = std::max(0L, std::min(size.cx, sizeAvail.cx));
    size.cy = std::max(0L, std::min(size.cy, sizeAvail.cy));

    if (m_dwStyle & CBRS_ORIENT_HORZ) {
        lpLayout->sizeTotal.cy += size.cy;
        lpLayout->sizeTotal.cx = std::max(lpLayout->sizeTotal.cx, size.cx);
        if (m_dwStyle & CBRS_ALIGN_TOP) {
            lpLayout->rect.top += size.cy;
        } else {
            rect.top = rect.bottom - size.cy;
            lpLayout->rect.bottom -= size.cy;
        }
    } else {
        lpLayout->sizeTotal.cx += size.cx;
        lpLayout->sizeTotal.cy = std::max(lpLayout->sizeTotal.cy, size.cy);
        if (m_dwStyle & CBRS_ALIGN_LEFT) {
            lpLayout->rect.left += size.cx;
        } else {
            rect.left = rect.right - size.cx;
            lpLayout->rect.right -= size.cx;
        }
    }
    rect.right = rect.left + size.cx;
    rect.bottom = rect.top + size.cy;
    if (lpLayout->hDWP != nullptr)
        AfxRepositionWindow(lpLayout, m_hWnd, &rect);
    return 0;
}

// ---- creation ----

int CControlBar::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    // Commands and notifications of the bar's children go to whoever created it, wherever it docks.
    if (m_hWndOwner == nullptr)
        m_hWndOwner = lpcs->hwndParent;
    if (!IsDockBar()) {
        CFrameWnd* pFrame = GetParentFrame();
        if (pFrame != nullptr) {
            m_pDockSite = pFrame;
            pFrame->m_listControlBars.AddTail(this);
        }
    }
    return 0;
}

void CControlBar::OnDestroy()
{
    // A floating frame left empty goes (later: it may be what is being destroyed).
    if (m_pDockBar != nullptr) {
        m_pDockBar->RemoveControlBar(this);
        m_pDockBar = nullptr;
    }
    if (m_pDockSite != nullptr && !IsDockBar()) {
        POSITION pos = m_pDockSite->m_listControlBars.Find(this);
        if (pos != nullptr)
            m_pDockSite->m_listControlBars.RemoveAt(pos);
    }
    if (m_nHitLast > 0)
        KillTimer(kFlyByTimer);
    m_nHitLast = -1;
    CWnd::OnDestroy();
}

// ---- non-client area ----

void CControlBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp)
{
    CRect rect(0, 0, 0, 0);
    CalcInsideRect(rect, (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
    RECT& rc = lpncsp->rgrc[0];
    rc.left += rect.left;
    rc.top += rect.top;
    rc.right += rect.right;
    rc.bottom += rect.bottom;
    if (rc.right < rc.left)
        rc.right = rc.left;
    if (rc.bottom < rc.top)
        rc.bottom = rc.top;
}

void CControlBar::DrawBorders(CDC* pDC, CRect& rect)
{
    COLORREF clrShadow = ::GetSysColor(COLOR_BTNSHADOW);
    COLORREF clrHilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    DWORD dwBorders = GetBorderStyle();
    // Etched: a shadow line with a highlight line inside it.
    if (dwBorders & CBRS_BORDER_TOP) {
        pDC->FillSolidRect(rect.left, rect.top, rect.Width(), 1, clrShadow);
        pDC->FillSolidRect(rect.left, rect.top + 1, rect.Width(), 1, clrHilite);
        rect.top += kBorderLine;
    }
    if (dwBorders & CBRS_BORDER_BOTTOM) {
        pDC->FillSolidRect(rect.left, rect.bottom - 2, rect.Width(), 1, clrShadow);
        pDC->FillSolidRect(rect.left, rect.bottom - 1, rect.Width(), 1, clrHilite);
        rect.bottom -= kBorderLine;
    }
    if (dwBorders & CBRS_BORDER_LEFT) {
        pDC->FillSolidRect(rect.left, rect.top, 1, rect.Height(), clrShadow);
        pDC->FillSolidRect(rect.left + 1, rect.top, 1, rect.Height(), clrHilite);
        rect.left += kBorderLine;
    }
    if (dwBorders & CBRS_BORDER_RIGHT) {
        pDC->FillSolidRect(rect.right - 2, rect.top, 1, rect.Height(), clrShadow);
        pDC->FillSolidRect(rect.right - 1, rect.top, 1, rect.Height(), clrHilite);
        rect.right -= kBorderLine;
    }
}

void CControlBar::OnNcPaint()
{
    CWindowDC dc(this);
    CRect rectWindow;
    GetWindowRect(rectWindow);
    CRect rectClient;
    GetClientRect(rectClient);
    ClientToScreen(rectClient);
    rectClient.OffsetRect(-rectWindow.left, -rectWindow.top);
    rectWindow.OffsetRect(-rectWindow.left, -rectWindow.top);
    dc.ExcludeClipRect(rectClient);
    DrawBorders(&dc, rectWindow);
    dc.FillSolidRect(rectWindow, ::GetSysColor(COLOR_BTNFACE));
}

// The gaps round a bar belong to it: pressing there drags it.
UINT CControlBar::OnNcHitTest(CPoint) { return HTCLIENT; }

// ---- mouse: dragging and fly-by prompts ----

void CControlBar::OnLButtonDown(UINT, CPoint point)
{
    if (m_pDockContext != nullptr && OnToolHitTest(point, nullptr) == -1) {
        ClientToScreen(&point);
        m_pDockContext->StartDrag(point);
        return;
    }
    Default();
}

void CControlBar::OnLButtonDblClk(UINT, CPoint point)
{
    if (m_pDockContext != nullptr && OnToolHitTest(point, nullptr) == -1) {
        m_pDockContext->ToggleDocking();
        return;
    }
    Default();
}

CFrameWnd* CControlBar::GetPromptFrame() const
{
    CFrameWnd* pFrame = GetTopLevelFrame();
    // A floating bar's frame is owned, not parented, by the frame with the status bar.
    if (pFrame != nullptr && pFrame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)))
        pFrame = static_cast<CMiniDockFrameWnd*>(pFrame)->m_pDockSite;
    return pFrame;
}

BOOL CControlBar::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_MOUSEMOVE && (m_dwStyle & CBRS_FLYBY)
        && (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd))) {
        CPoint point(GET_X_LPARAM(pMsg->lParam), GET_Y_LPARAM(pMsg->lParam));
        ::MapWindowPoints(pMsg->hwnd, m_hWnd, &point, 1);
        int nHit = OnToolHitTest(point, nullptr);
        if (nHit != m_nHitLast) {
            CFrameWnd* pFrame = GetPromptFrame();
            if (nHit > 0) {
                if (pFrame != nullptr)
                    pFrame->SetMessageText(static_cast<UINT>(nHit));
                SetTimer(kFlyByTimer, kFlyByDelay);
            } else if (m_nHitLast > 0) {
                if (pFrame != nullptr)
                    pFrame->SetMessageText(static_cast<UINT>(AFX_IDS_IDLEMESSAGE));
                KillTimer(kFlyByTimer);
            }
            m_nHitLast = nHit;
        }
    }
    return CWnd::PreTranslateMessage(pMsg);
}

void CControlBar::OnTimer(UINT nIDEvent)
{
    if (nIDEvent != kFlyByTimer) {
        Default();
        return;
    }
    // The mouse left the bar without a move over it: the prompt goes back to idle.
    CPoint point;
    ::GetCursorPos(&point);
    CRect rect;
    GetWindowRect(rect);
    if (rect.PtInRect(point) && ::WindowFromPoint(point) == m_hWnd)
        return;
    KillTimer(kFlyByTimer);
    if (m_nHitLast > 0) {
        CFrameWnd* pFrame = GetPromptFrame();
        if (pFrame != nullptr)
            pFrame->SetMessageText(static_cast<UINT>(AFX_IDS_IDLEMESSAGE));
    }
    m_nHitLast = -1;
}

// ---- forwarding and updates ----

LRESULT CControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (IsForOwner(m_hWnd, message, lParam)) {
        LRESULT lResult = 0;
        if (OnWndMsg(message, wParam, lParam, &lResult))
            return lResult;
        CWnd* pOwner = GetOwner();
        if (pOwner != nullptr && pOwner->m_hWnd != nullptr && pOwner->m_hWnd != m_hWnd)
            return pOwner->SendMessage(message, wParam, lParam);
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    // A show or hide that no layout has taken yet happens now, and the frame lays out at its next idle.
    if (m_nStateFlags & (delayHide | delayShow)) {
        RecalcDelayShow(TRUE);
        CFrameWnd* pFrame = GetDockingFrame();
        if (pFrame != nullptr)
            pFrame->DelayRecalcLayout();
    }
    if (!(GetStyle() & WS_VISIBLE))
        return 0;
    if (m_pDockBar != nullptr && !(m_pDockBar->GetStyle() & WS_VISIBLE))
        return 0;
    CWnd* pOwner = GetOwner();
    CFrameWnd* pTarget = pOwner != nullptr && pOwner->IsKindOf(RUNTIME_CLASS(CFrameWnd))
                             ? static_cast<CFrameWnd*>(pOwner)
                             : GetParentFrame();
    if (pTarget != nullptr && pTarget->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)))
        pTarget = static_cast<CMiniDockFrameWnd*>(pTarget)->m_pDockSite;
    if (pTarget != nullptr)
        OnUpdateCmdUI(pTarget, static_cast<BOOL>(wParam));
    return 0;
}

// ---- docking ----

void CControlBar::EnableDocking(DWORD dwDockStyle)
{
    m_dwDockStyle = dwDockStyle & CBRS_ALIGN_ANY;
    if (m_pDockContext == nullptr)
        m_pDockContext = new CDockContext(this);
    if (m_hWndOwner == nullptr && m_hWnd != nullptr)
        m_hWndOwner = ::GetParent(m_hWnd);
}

CFrameWnd* CControlBar::GetDockingFrame() const
{
    if (m_pDockSite != nullptr)
        return m_pDockSite;
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != nullptr && pFrame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)))
        pFrame = static_cast<CMiniDockFrameWnd*>(pFrame)->m_pDockSite;
    return pFrame;
}
