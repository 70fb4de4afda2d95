// CDockBar and CMiniDockFrameWnd.
#include "framework/DockBar.h"

#include <algorithm>
#include <climits>

IMPLEMENT_DYNAMIC(CDockBar, CControlBar)
IMPLEMENT_DYNAMIC(CMiniDockFrameWnd, CFrameWnd)

namespace {

// Posted to a floating frame left without bars: it goes once the call that emptied it is over.
const UINT WM_DESTROYEMPTYFRAME = 0x0377;

} // namespace

// ---- CDockBar ----

BEGIN_MESSAGE_MAP(CDockBar, CControlBar)
    ON_WM_DESTROY()
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

CDockBar::CDockBar(BOOL bFloating) : m_bFloating(bFloating)
{
    m_cxLeftBorder = 0;
    m_cxRightBorder = 0;
    m_cyTopBorder = 0;
    m_cyBottomBorder = 0;
}

BOOL CDockBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    m_dwStyle = dwStyle & CBRS_ALL;
    LPCSTR lpszClass = AfxRegisterWndClass(0, ::LoadCursorA(nullptr, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    return CreateEx(0, lpszClass, nullptr,
                    (dwStyle & ~CBRS_ALL) | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                    CRect(0, 0, 0, 0), pParentWnd, nID);
}

BOOL CDockBar::IsHorizontal() const { return m_bFloating || (m_dwStyle & CBRS_ORIENT_HORZ) != 0; }

int CDockBar::GetDockedCount() const
{
    int n = 0;
    for (const auto& row : m_rows)
        n += static_cast<int>(row.size());
    return n;
}

int CDockBar::GetDockedVisibleCount() const
{
    int n = 0;
    for (const auto& row : m_rows) {
        for (const Slot& slot : row)
            n += slot.pBar->IsVisible() ? 1 : 0;
    }
    return n;
}

std::vector<CControlBar*> CDockBar::GetRowBars(int nRow) const
{
    std::vector<CControlBar*> bars;
    if (nRow >= 0 && nRow < GetRowCount()) {
        for (const Slot& slot : m_rows[static_cast<size_t>(nRow)])
            bars.push_back(slot.pBar);
    }
    return bars;
}

BOOL CDockBar::FindControlBar(const CControlBar* pBar, int* pnRow, int* pnOffset) const
{
    for (size_t r = 0; r < m_rows.size(); r++) {
        for (const Slot& slot : m_rows[r]) {
            if (slot.pBar == pBar) {
                if (pnRow != nullptr)
                    *pnRow = static_cast<int>(r);
                if (pnOffset != nullptr)
                    *pnOffset = slot.nOffset;
                return TRUE;
            }
        }
    }
    return FALSE;
}

BOOL CDockBar::RemoveControlBar(CControlBar* pBar, BOOL bKeepFrame)
{
    BOOL bFound = FALSE;
    for (size_t r = 0; r < m_rows.size() && !bFound; r++) {
        auto& row = m_rows[r];
        for (size_t i = 0; i < row.size(); i++) {
            if (row[i].pBar == pBar) {
                row.erase(row.begin() + static_cast<std::ptrdiff_t>(i));
                if (row.empty())
                    m_rows.erase(m_rows.begin() + static_cast<std::ptrdiff_t>(r));
                bFound = TRUE;
                break;
            }
        }
    }
    if (!bFound)
        return FALSE;
    if (pBar->m_pDockBar == this)
        pBar->m_pDockBar = nullptr;
    if (m_bFloating && m_rows.empty() && !bKeepFrame && !m_bDestroying) {
        CWnd* pFrame = GetParent();
        if (pFrame != nullptr) {
            pFrame->ShowWindow(SW_HIDE);
            pFrame->PostMessage(WM_DESTROYEMPTYFRAME);
        }
    }
    return TRUE;
}

void CDockBar::DockControlBarAt(CControlBar* pBar, int nRow, int nOffset, BOOL bNewRow)
{
    if (pBar == nullptr || pBar->m_hWnd == nullptr)
        return;
    CDockBar* pOld = pBar->m_pDockBar;
    if (pOld == this)
        RemoveControlBar(pBar, TRUE);
    // The window changes parent before its old dock bar can let a floating frame go.
    if (::GetParent(pBar->m_hWnd) != m_hWnd)
        ::SetParent(pBar->m_hWnd, m_hWnd);
    if (pOld != nullptr && pOld != this)
        pOld->RemoveControlBar(pBar);

    nRow = std::max(0, nRow);
    Slot slot = {pBar, std::max(0, nOffset)};
    if (bNewRow || nRow >= GetRowCount()) {
        nRow = std::min(nRow, GetRowCount());
        m_rows.insert(m_rows.begin() + nRow, std::vector<Slot>(1, slot));
    } else {
        auto& row = m_rows[static_cast<size_t>(nRow)];
        auto it =
            std::find_if(row.begin(), row.end(), [&](const Slot& s) { return s.nOffset > slot.nOffset; });
        row.insert(it, slot);
    }
    pBar->m_pDockBar = this;
    if (!m_bFloating)
        pBar->SetBarStyle((pBar->m_dwStyle & ~(CBRS_ALIGN_ANY | CBRS_FLOATING))
                          | (m_dwStyle & CBRS_ALIGN_ANY));
}

void CDockBar::DockControlBar(CControlBar* pBar, LPCRECT lpRect)
{
    if (pBar == nullptr)
        return;
    if (pBar->m_pDockBar == this)
        RemoveControlBar(pBar, TRUE);
    if (lpRect == nullptr || m_bFloating) {
        DockControlBarAt(pBar, GetRowCount(), 0, TRUE);
        return;
    }
    CRect rect(lpRect);
    ScreenToClient(rect);
    BOOL bHorz = IsHorizontal();
    int nMid = bHorz ? rect.CenterPoint().y : rect.CenterPoint().x;
    int nOffset = std::max(0L, bHorz ? rect.left : rect.top);

    // The rows as laid out now: the middle of the drop picks one, or a new one before, between or after.
    int nRow = GetRowCount();
    BOOL bNewRow = TRUE;
    for (int r = 0; r < GetRowCount(); r++) {
        int nStart = INT_MAX;
        int nEnd = INT_MIN;
        for (const Slot& slot : m_rows[static_cast<size_t>(r)]) {
            if (!slot.pBar->IsVisible())
                continue;
            CRect rectBar;
            slot.pBar->GetWindowRect(rectBar);
            ScreenToClient(rectBar);
            nStart = std::min(nStart, static_cast<int>(bHorz ? rectBar.top : rectBar.left));
            nEnd = std::max(nEnd, static_cast<int>(bHorz ? rectBar.bottom : rectBar.right));
        }
        if (nStart > nEnd)
            continue; // nothing shown in this row
        if (nMid < nStart) {
            nRow = r;
            break;
        }
        if (nMid < nEnd) {
            nRow = r;
            bNewRow = FALSE;
            break;
        }
    }
    DockControlBarAt(pBar, nRow, nOffset, bNewRow);
}

DWORD CDockBar::GetLayoutMode(const CControlBar* pBar) const
{
    if (m_bFloating) {
        if (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC)
            return LM_HORZ | LM_MRUWIDTH;
        return (pBar->m_dwStyle & CBRS_ORIENT_VERT) ? 0 : LM_HORZ;
    }
    return IsHorizontal() ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK;
}

CSize CDockBar::CalcFixedLayout(BOOL bStretch, BOOL)
{
    BOOL bHorz = IsHorizontal();
    CSize sizeMax = m_rectLayout.Size();
    if (m_bFloating) {
        sizeMax = CSize(32767, 32767);
    } else if (m_rectLayout.IsRectEmpty() && GetParent() != nullptr) {
        CRect rectParent;
        GetParent()->GetClientRect(rectParent);
        sizeMax = rectParent.Size();
    }
    int nLength = bHorz ? sizeMax.cx : sizeMax.cy;

    AFX_SIZEPARENTPARAMS layout = {};
    layout.hDWP = m_bLayoutQuery ? nullptr : ::BeginDeferWindowPos(std::max(1, GetDockedCount()));
    int nAcross = 0;
    int nMaxAlong = 0;
    for (const auto& row : m_rows) {
        int nThick = 0;
        int nPos = 0;
        for (const Slot& slot : row) {
            CControlBar* pBar = slot.pBar;
            if (!(pBar->RecalcDelayShow(!m_bLayoutQuery) & WS_VISIBLE))
                continue;
            CSize size = pBar->CalcDynamicLayout(-1, GetLayoutMode(pBar));
            int nAlong = bHorz ? size.cx : size.cy;
            int nStart = std::max(slot.nOffset, nPos);
            // Pushed back in from the far end while there is room, never over the bar before it.
            if (!m_bFloating && nStart + nAlong > nLength)
                nStart = std::max(nPos, nLength - nAlong);
            CRect rect = bHorz ? CRect(CPoint(nStart, nAcross), size) : CRect(CPoint(nAcross, nStart), size);
            if (layout.hDWP != nullptr)
                AfxRepositionWindow(&layout, pBar->m_hWnd, rect);
            nPos = nStart + nAlong;
            nThick = std::max(nThick, static_cast<int>(bHorz ? size.cy : size.cx));
        }
        nMaxAlong = std::max(nMaxAlong, nPos);
        nAcross += nThick;
    }
    if (layout.hDWP != nullptr)
        ::EndDeferWindowPos(layout.hDWP);

    int nAlong = bStretch && !m_bFloating ? nLength : nMaxAlong;
    return bHorz ? CSize(nAlong, nAcross) : CSize(nAcross, nAlong);
}

LRESULT CDockBar::OnSizeParent(WPARAM wParam, LPARAM lParam)
{
    auto* lpLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    m_rectLayout = lpLayout->rect;
    m_bLayoutQuery = lpLayout->hDWP == nullptr;
    LRESULT lResult = CControlBar::OnSizeParent(wParam, lParam);
    m_bLayoutQuery = FALSE;
    return lResult;
}

LRESULT CDockBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    // Floating frames are owned, not children, so the idle update that goes down the frame's windows
    // misses them: the frame's first dock bar passes it on.
    if (m_bFloating)
        return 0;
    CWnd* pParent = GetParent();
    if (pParent == nullptr || !pParent->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
        return 0;
    CFrameWnd* pFrame = static_cast<CFrameWnd*>(pParent);
    for (UINT nID :
         {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT}) {
        CDockBar* pDockBar = AfxGetDockBar(pFrame, nID);
        if (pDockBar == nullptr)
            continue;
        if (pDockBar != this)
            return 0;
        break;
    }
    for (CMiniDockFrameWnd* pMiniFrame : AfxGetFloatingFrames(pFrame)) {
        if (!pMiniFrame->IsWindowVisible())
            continue;
        pMiniFrame->SendMessage(WM_IDLEUPDATECMDUI, wParam);
        pMiniFrame->SendMessageToPermanentDescendants(WM_IDLEUPDATECMDUI, wParam, 0);
    }
    return 0;
}

void CDockBar::OnDestroy()
{
    m_bDestroying = TRUE;
    CControlBar::OnDestroy();
}

// ---- CMiniDockFrameWnd ----

BEGIN_MESSAGE_MAP(CMiniDockFrameWnd, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_NCLBUTTONDBLCLK()
    ON_WM_ACTIVATE()
    ON_WM_GETMINMAXINFO()
    ON_MESSAGE(WM_SIZING, OnSizing)
    ON_MESSAGE(WM_DESTROYEMPTYFRAME, OnDestroyEmptyFrame)
END_MESSAGE_MAP()

BOOL CMiniDockFrameWnd::Create(CFrameWnd* pDockSite, BOOL bSizable)
{
    m_pDockSite = pDockSite;
    DWORD dwStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | (bSizable ? WS_THICKFRAME : 0);
    return CFrameWnd::Create(nullptr, "", dwStyle, CRect(0, 0, 100, 50), pDockSite, nullptr,
                             WS_EX_TOOLWINDOW);
}

int CMiniDockFrameWnd::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CFrameWnd::OnCreate(lpcs) == -1)
        return -1;
    CDockBar* pDockBar = new CDockBar(TRUE);
    // A dock bar that fails to be made has deleted itself.
    if (!pDockBar->Create(this, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, AFX_IDW_DOCKBAR_FLOAT))
        return -1;
    m_pDockBar = pDockBar;
    return 0;
}

CControlBar* CMiniDockFrameWnd::GetBar() const
{
    if (m_pDockBar == nullptr || m_pDockBar->GetRowCount() == 0)
        return nullptr;
    std::vector<CControlBar*> bars = m_pDockBar->GetRowBars(0);
    return bars.empty() ? nullptr : bars.front();
}

void CMiniDockFrameWnd::RecalcLayout(BOOL)
{
    if (m_pDockBar == nullptr || m_bInRecalcLayout)
        return;
    m_bInRecalcLayout = TRUE;
    CSize size = m_pDockBar->CalcFixedLayout(FALSE, TRUE);
    if (m_pDockBar->GetDockedVisibleCount() == 0) {
        if (GetStyle() & WS_VISIBLE)
            ShowWindow(SW_HIDE);
    } else {
        CRect rect(0, 0, size.cx, size.cy);
        ::AdjustWindowRectEx(rect, GetStyle(), FALSE, GetExStyle());
        SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        m_pDockBar->SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    m_bInRecalcLayout = FALSE;
}

// Closing a floating bar hides it; it can be shown again from its menu.
void CMiniDockFrameWnd::OnClose()
{
    CControlBar* pBar = GetBar();
    if (pBar != nullptr && m_pDockSite != nullptr)
        AfxShowControlBar(m_pDockSite, pBar, FALSE, FALSE);
    else
        ShowWindow(SW_HIDE);
}

void CMiniDockFrameWnd::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    CControlBar* pBar = GetBar();
    // Dragging the caption may dock the bar again, not only move it.
    if (nHitTest == HTCAPTION && pBar != nullptr && pBar->m_pDockContext != nullptr) {
        SetActiveWindow();
        pBar->m_pDockContext->StartDrag(point);
        return;
    }
    Default();
}

void CMiniDockFrameWnd::OnNcLButtonDblClk(UINT nHitTest, CPoint)
{
    CControlBar* pBar = GetBar();
    if (nHitTest == HTCAPTION && pBar != nullptr && pBar->m_pDockContext != nullptr) {
        // Nothing of this object may be touched after: docking may end the frame.
        pBar->m_pDockContext->ToggleDocking();
        return;
    }
    Default();
}

void CMiniDockFrameWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL)
{
    Default();
    if (m_pDockSite == nullptr || !::IsWindow(m_pDockSite->m_hWnd))
        return;
    // The frame still looks active while one of its floating bars is.
    if (nState != WA_INACTIVE) {
        m_pDockSite->m_nFlags |= WF_STAYACTIVE;
        m_pDockSite->SendMessage(WM_NCACTIVATE, TRUE);
        return;
    }
    m_pDockSite->m_nFlags &= ~WF_STAYACTIVE;
    HWND hWndOther = AfxSafeHwnd(pWndOther);
    if (hWndOther != m_pDockSite->m_hWnd && ::GetWindow(hWndOther, GW_OWNER) != m_pDockSite->m_hWnd)
        m_pDockSite->SendMessage(WM_NCACTIVATE, FALSE);
}

// The bar decides how small it gets, not the system's least window size.
void CMiniDockFrameWnd::OnGetMinMaxInfo(MINMAXINFO* lpMMI)
{
    Default();
    CRect rectNC(0, 0, 0, 0);
    ::AdjustWindowRectEx(rectNC, GetStyle(), FALSE, GetExStyle());
    lpMMI->ptMinTrackSize.x = rectNC.Width() + 1;
    lpMMI->ptMinTrackSize.y = rectNC.Height() + 1;
}

LRESULT CMiniDockFrameWnd::OnSizing(WPARAM wParam, LPARAM lParam)
{
    RECT* pRect = reinterpret_cast<RECT*>(lParam);
    CControlBar* pBar = GetBar();
    if (pBar == nullptr || pRect == nullptr || !(pBar->m_dwStyle & CBRS_SIZE_DYNAMIC))
        return Default();
    // The bar says which size comes nearest: a tool bar takes whole rows of buttons.
    CRect rectNC(0, 0, 0, 0);
    ::AdjustWindowRectEx(rectNC, GetStyle(), FALSE, GetExStyle());
    CSize size;
    if (wParam == WMSZ_TOP || wParam == WMSZ_BOTTOM)
        size = pBar->CalcDynamicLayout(std::max(0L, pRect->bottom - pRect->top - rectNC.Height()),
                                       LM_HORZ | LM_LENGTHY | LM_COMMIT);
    else
        size = pBar->CalcDynamicLayout(std::max(0L, pRect->right - pRect->left - rectNC.Width()),
                                       LM_HORZ | LM_COMMIT);
    int cx = size.cx + rectNC.Width();
    int cy = size.cy + rectNC.Height();
    if (wParam == WMSZ_LEFT || wParam == WMSZ_TOPLEFT || wParam == WMSZ_BOTTOMLEFT)
        pRect->left = pRect->right - cx;
    else
        pRect->right = pRect->left + cx;
    if (wParam == WMSZ_TOP || wParam == WMSZ_TOPLEFT || wParam == WMSZ_TOPRIGHT)
        pRect->top = pRect->bottom - cy;
    else
        pRect->bottom = pRect->top + cy;
    return TRUE;
}

LRESULT CMiniDockFrameWnd::OnDestroyEmptyFrame(WPARAM, LPARAM)
{
    if (m_pDockBar == nullptr || m_pDockBar->GetDockedCount() == 0)
        DestroyWindow();
    return 0;
}
