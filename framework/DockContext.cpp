// CDockContext: dragging a bar to another side or out of the frame, and double-click toggling.
#include "framework/DockBar.h"

#include <algorithm>

namespace {

// The style a floating frame has for a bar (AdjustWindowRectEx needs it before the frame exists).
void FloatingFrameStyle(const CControlBar* pBar, DWORD* pdwStyle, DWORD* pdwExStyle)
{
    *pdwStyle =
        WS_POPUP | WS_CAPTION | WS_SYSMENU | ((pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) ? WS_THICKFRAME : 0);
    *pdwExStyle = WS_EX_TOOLWINDOW;
}

// The bar's outline in the other orientation: across the mouse, from the bar's leading edge.
CRect OutlineHorz(CPoint pt, const CRect& rectBar, CSize size)
{
    return CRect(CPoint(rectBar.left, pt.y - size.cy / 2), size);
}

CRect OutlineVert(CPoint pt, const CRect& rectBar, CSize size)
{
    return CRect(CPoint(pt.x - size.cx / 2, rectBar.top), size);
}

} // namespace

void CDockContext::SaveMRUPosition()
{
    CDockBar* pDockBar = m_pBar->m_pDockBar;
    if (pDockBar == nullptr)
        return;
    if (pDockBar->m_bFloating) {
        CWnd* pFrame = pDockBar->GetParent();
        if (pFrame == nullptr)
            return;
        CRect rect;
        pFrame->GetWindowRect(rect);
        m_ptMRUFloatPos = rect.TopLeft();
        m_bMRUFloat = TRUE;
        m_dwMRUFloatStyle = (m_pBar->m_dwStyle & CBRS_ORIENT_VERT) ? CBRS_ALIGN_LEFT : CBRS_ALIGN_TOP;
    } else {
        int nRow = 0;
        int nOffset = 0;
        if (pDockBar->FindControlBar(m_pBar, &nRow, &nOffset)) {
            m_uMRUDockID = static_cast<UINT>(pDockBar->GetDlgCtrlID());
            m_nMRURow = nRow;
            m_nMRUOffset = nOffset;
        }
    }
}

void CDockContext::ToggleDocking()
{
    CFrameWnd* pFrame = m_pBar->GetDockingFrame();
    if (pFrame == nullptr || m_pBar->m_hWnd == nullptr)
        return;
    if (m_pBar->IsFloating()) {
        CDockBar* pDockBar = m_uMRUDockID != 0 ? AfxGetDockBar(pFrame, m_uMRUDockID) : nullptr;
        if (pDockBar != nullptr && !(pDockBar->m_dwStyle & m_pBar->m_dwDockStyle & CBRS_ALIGN_ANY))
            pDockBar = nullptr;
        if (pDockBar == nullptr) {
            for (UINT nID :
                 {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT}) {
                CDockBar* p = AfxGetDockBar(pFrame, nID);
                if (p != nullptr && (p->m_dwStyle & m_pBar->m_dwDockStyle & CBRS_ALIGN_ANY)) {
                    pDockBar = p;
                    m_nMRURow = p->GetRowCount();
                    m_nMRUOffset = 0;
                    break;
                }
            }
        }
        if (pDockBar == nullptr)
            return;
        SaveMRUPosition();
        // Back in its old row when that row is still there, else in a new one.
        BOOL bNewRow = m_nMRURow >= pDockBar->GetRowCount();
        pDockBar->DockControlBarAt(m_pBar, m_nMRURow, m_nMRUOffset, bNewRow);
        pFrame->RecalcLayout();
    } else {
        CPoint pt = m_ptMRUFloatPos;
        if (!m_bMRUFloat) {
            CRect rect;
            m_pBar->GetWindowRect(rect);
            pt = rect.TopLeft() + CSize(16, 16);
        }
        AfxFloatControlBar(pFrame, m_pBar, pt, m_bMRUFloat ? m_dwMRUFloatStyle : CBRS_ALIGN_TOP);
    }
}

// ---- dragging ----

void CDockContext::BeginDrag(CPoint pt)
{
    m_ptStart = pt;
    m_bDragging = TRUE;
    m_bDrawn = FALSE;
    m_pTarget = nullptr;

    CRect rect;
    m_pBar->GetWindowRect(rect);
    BOOL bHorz = (m_pBar->m_dwStyle & CBRS_ORIENT_HORZ) != 0 || !(m_pBar->m_dwStyle & CBRS_ORIENT_VERT);
    BOOL bFloating = m_pBar->IsFloating();
    // Only asked: the bar keeps its shape until it is dropped.
    CSize sizeHorz = m_pBar->CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK);
    CSize sizeVert = m_pBar->CalcDynamicLayout(-1, LM_VERTDOCK);
    m_rectStartHorz = !bFloating && bHorz ? rect : OutlineHorz(pt, rect, sizeHorz);
    m_rectStartVert = !bFloating && !bHorz ? rect : OutlineVert(pt, rect, sizeVert);

    if (bFloating && m_pBar->m_pDockBar->GetParent() != nullptr) {
        m_pBar->m_pDockBar->GetParent()->GetWindowRect(m_rectStartFloat);
    } else {
        CSize sizeFloat = (m_pBar->m_dwStyle & CBRS_SIZE_DYNAMIC)
                              ? m_pBar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH)
                              : m_pBar->CalcFixedLayout(FALSE, bHorz);
        DWORD dwStyle = 0;
        DWORD dwExStyle = 0;
        FloatingFrameStyle(m_pBar, &dwStyle, &dwExStyle);
        CRect rectFrame(0, 0, sizeFloat.cx, sizeFloat.cy);
        ::AdjustWindowRectEx(rectFrame, dwStyle, FALSE, dwExStyle);
        // The frame's caption goes above the bar, where the bar was.
        m_rectStartFloat = CRect(rect.TopLeft(), sizeFloat);
        m_rectStartFloat.left += rectFrame.left;
        m_rectStartFloat.top += rectFrame.top;
        m_rectStartFloat.right += rectFrame.right - sizeFloat.cx;
        m_rectStartFloat.bottom += rectFrame.bottom - sizeFloat.cy;
    }
    m_rectDragHorz = m_rectStartHorz;
    m_rectDragVert = m_rectStartVert;
    m_rectFloat = m_rectStartFloat;
}

CDockBar* CDockContext::FindDockBar() const
{
    CFrameWnd* pFrame = m_pBar->GetDockingFrame();
    if (pFrame == nullptr)
        return nullptr;
    for (UINT nID :
         {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT}) {
        CDockBar* pDockBar = AfxGetDockBar(pFrame, nID);
        if (pDockBar == nullptr || !(pDockBar->m_dwStyle & m_pBar->m_dwDockStyle & CBRS_ALIGN_ANY)
            || !(pDockBar->GetStyle() & WS_VISIBLE))
            continue;
        CRect rectDock;
        pDockBar->GetWindowRect(rectDock);
        // An empty dock bar is a line along the frame's edge: crossing it docks.
        if (rectDock.Width() == 0)
            rectDock.right++;
        if (rectDock.Height() == 0)
            rectDock.bottom++;
        CRect rectDrag = pDockBar->IsHorizontal() ? m_rectDragHorz : m_rectDragVert;
        CRect rectHit;
        if (rectHit.IntersectRect(rectDock, rectDrag))
            return pDockBar;
    }
    return nullptr;
}

void CDockContext::Move(CPoint pt)
{
    if (!m_bDragging)
        return;
    CSize offset = pt - m_ptStart;
    m_rectDragHorz = m_rectStartHorz + offset;
    m_rectDragVert = m_rectStartVert + offset;
    m_rectFloat = m_rectStartFloat + offset;
    m_bForceFrame = ::GetKeyState(VK_CONTROL) < 0;
    m_pTarget = m_bForceFrame ? nullptr : FindDockBar();
    DrawOutline(FALSE);
}

CRect CDockContext::GetDropRect() const
{
    if (m_pTarget == nullptr)
        return m_rectFloat;
    return m_pTarget->IsHorizontal() ? m_rectDragHorz : m_rectDragVert;
}

void CDockContext::EndDrag()
{
    if (!m_bDragging)
        return;
    DrawOutline(TRUE);
    m_bDragging = FALSE;
    CFrameWnd* pFrame = m_pBar->GetDockingFrame();
    if (pFrame == nullptr || m_pBar->m_hWnd == nullptr)
        return;
    CRect rect = GetDropRect();
    if (m_pTarget != nullptr) {
        AfxDockControlBar(pFrame, m_pBar, m_pTarget, rect);
    } else {
        // Tool bars that size themselves float in rows; the others keep their shape.
        BOOL bHorz = (m_pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) || (m_pBar->m_dwStyle & CBRS_ORIENT_HORZ)
                     || !(m_pBar->m_dwStyle & CBRS_ORIENT_VERT);
        AfxFloatControlBar(pFrame, m_pBar, rect.TopLeft(), bHorz ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT);
    }
}

void CDockContext::CancelDrag()
{
    DrawOutline(TRUE);
    m_bDragging = FALSE;
    m_pTarget = nullptr;
}

void CDockContext::StartDrag(CPoint pt)
{
    if (m_pBar->m_hWnd == nullptr)
        return;
    BeginDrag(pt);
    HWND hWndBar = m_pBar->m_hWnd;
    ::SetCapture(hWndBar);
    if (::GetCapture() != hWndBar) {
        CancelDrag();
        return;
    }
    // A press without a move is a click, not a drag.
    BOOL bMoved = FALSE;
    BOOL bDrop = FALSE;
    for (BOOL bDone = FALSE; !bDone;) {
        MSG msg;
        if (!::GetMessageW(&msg, nullptr, 0, 0)) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (::GetCapture() != hWndBar)
            break;
        switch (msg.message) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP: {
            CPoint point(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
            ::ClientToScreen(msg.hwnd, &point);
            if (point != m_ptStart || bMoved) {
                bMoved = TRUE;
                Move(point);
            }
            if (msg.message == WM_LBUTTONUP) {
                bDrop = bMoved;
                bDone = TRUE;
            }
            break;
        }
        case WM_KEYDOWN:
        case WM_KEYUP:
            if (msg.wParam == VK_ESCAPE)
                bDone = TRUE;
            else if (msg.wParam == VK_CONTROL && bMoved)
                Move(m_ptStart + (m_rectFloat.TopLeft() - m_rectStartFloat.TopLeft()));
            break;
        case WM_RBUTTONDOWN:
            bDone = TRUE;
            break;
        default:
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
            break;
        }
    }
    if (::GetCapture() == hWndBar)
        ::ReleaseCapture();
    if (bDrop)
        EndDrag();
    else
        CancelDrag();
}

// The outline on the screen: thick while the bar would float, thin while it would dock. Drawn by
// inverting, so that drawing it again takes it away.
void CDockContext::DrawOutline(BOOL bErase)
{
    CRect rectNew = GetDropRect();
    BOOL bThick = m_pTarget == nullptr;
    if (!bErase && m_bDrawn && rectNew == m_rectDrawn && bThick == m_bDrawnThick)
        return;
    HDC hDC = ::GetDC(nullptr);
    if (hDC == nullptr)
        return;
    static const WORD kPattern[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    HBITMAP hbmPattern = ::CreateBitmap(8, 8, 1, 1, kPattern);
    HBRUSH hBrush = ::CreatePatternBrush(hbmPattern);
    HGDIOBJ hOldBrush = ::SelectObject(hDC, hBrush);
    auto frame = [hDC](const CRect& r, int t) {
        ::PatBlt(hDC, r.left, r.top, r.Width(), t, PATINVERT);
        ::PatBlt(hDC, r.left, r.bottom - t, r.Width(), t, PATINVERT);
        ::PatBlt(hDC, r.left, r.top + t, t, r.Height() - 2 * t, PATINVERT);
        ::PatBlt(hDC, r.right - t, r.top + t, t, r.Height() - 2 * t, PATINVERT);
    };
    if (m_bDrawn)
        frame(m_rectDrawn, m_bDrawnThick ? 3 : 1);
    m_bDrawn = FALSE;
    if (!bErase) {
        frame(rectNew, bThick ? 3 : 1);
        m_rectDrawn = rectNew;
        m_bDrawnThick = bThick;
        m_bDrawn = TRUE;
    }
    ::SelectObject(hDC, hOldBrush);
    ::DeleteObject(hBrush);
    ::DeleteObject(hbmPattern);
    ::ReleaseDC(nullptr, hDC);
}
