// CScrollView.
#include "framework/ScrollView.h"

#include "framework/Controls.h"
#include "framework/Dc.h"

#include <algorithm>
#include <climits>

IMPLEMENT_DYNAMIC(CScrollView, CView)

BEGIN_MESSAGE_MAP(CScrollView, CView)
    ON_WM_SIZE()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
END_MESSAGE_MAP()

const SIZE CScrollView::sizeDefault = {0, 0};

CSize CScrollView::ToDevice(SIZE sizeLog) const
{
    if (m_nMapMode == MM_TEXT || m_nMapMode == 0)
        return CSize(sizeLog);
    HDC hDC = ::GetDC(nullptr);
    ::SetMapMode(hDC, m_nMapMode);
    POINT pts[2] = {{0, 0}, {sizeLog.cx, sizeLog.cy}};
    ::LPtoDP(hDC, pts, 2);
    ::ReleaseDC(nullptr, hDC);
    return CSize(std::abs(pts[1].x - pts[0].x), std::abs(pts[1].y - pts[0].y));
}

void CScrollView::SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage, const SIZE& sizeLine)
{
    m_nMapMode = nMapMode;
    m_totalLog = sizeTotal;
    m_totalDev = ToDevice(sizeTotal);
    m_pageDev = ToDevice(sizePage);
    m_lineDev = ToDevice(sizeLine);
    if (m_pageDev.cx == 0)
        m_pageDev.cx = m_totalDev.cx / 10;
    if (m_pageDev.cy == 0)
        m_pageDev.cy = m_totalDev.cy / 10;
    if (m_lineDev.cx == 0)
        m_lineDev.cx = m_pageDev.cx / 10;
    if (m_lineDev.cy == 0)
        m_lineDev.cy = m_pageDev.cy / 10;
    if (m_hWnd != nullptr) {
        UpdateBars();
        Invalidate(TRUE);
    }
}

CPoint CScrollView::GetDeviceScrollPosition() const
{
    return CPoint(GetScrollPos(SB_HORZ), GetScrollPos(SB_VERT));
}

CPoint CScrollView::GetScrollPosition() const
{
    CPoint pt = GetDeviceScrollPosition();
    if (m_nMapMode != MM_TEXT && m_nMapMode != 0) {
        HDC hDC = ::GetDC(nullptr);
        ::SetMapMode(hDC, m_nMapMode);
        ::DPtoLP(hDC, &pt, 1);
        ::ReleaseDC(nullptr, hDC);
    }
    return pt;
}

void CScrollView::GetDeviceScrollSizes(int& nMapMode, SIZE& sizeTotal, SIZE& sizePage, SIZE& sizeLine) const
{
    nMapMode = m_nMapMode;
    sizeTotal = m_totalDev;
    sizePage = m_pageDev;
    sizeLine = m_lineDev;
}

void CScrollView::ScrollToPosition(POINT pt)
{
    CSize dev = ToDevice(CSize(pt.x, pt.y));
    // Logical units may grow downwards (MM_LOENGLISH...): the device distance is what counts.
    ScrollToDevicePosition(CPoint(dev.cx, dev.cy));
}

void CScrollView::ScrollToDevicePosition(POINT ptDev)
{
    int xOrig = GetScrollPos(SB_HORZ);
    int yOrig = GetScrollPos(SB_VERT);
    int x = std::max(0, std::min<int>(ptDev.x, GetScrollLimit(SB_HORZ)));
    int y = std::max(0, std::min<int>(ptDev.y, GetScrollLimit(SB_VERT)));
    SetScrollPos(SB_HORZ, x);
    SetScrollPos(SB_VERT, y);
    ScrollWindow(xOrig - x, yOrig - y);
}

void CScrollView::UpdateBars()
{
    if (m_bInsideUpdate || m_hWnd == nullptr)
        return;
    m_bInsideUpdate = TRUE;

    // The client size the window would have without its own bars.
    CRect rcClient;
    GetClientRect(&rcClient);
    CSize sizeClient = rcClient.Size();
    BOOL bOwnH = GetScrollBarCtrl(SB_HORZ) == nullptr;
    BOOL bOwnV = GetScrollBarCtrl(SB_VERT) == nullptr;
    DWORD dwStyle = GetStyle();
    int cxBar = ::GetSystemMetrics(SM_CXVSCROLL);
    int cyBar = ::GetSystemMetrics(SM_CYHSCROLL);
    if (bOwnV && (dwStyle & WS_VSCROLL))
        sizeClient.cx += cxBar;
    if (bOwnH && (dwStyle & WS_HSCROLL))
        sizeClient.cy += cyBar;

    // A bar that appears takes room from the other direction: settle in two passes.
    BOOL bNeedH = FALSE;
    BOOL bNeedV = FALSE;
    CSize sizeAvail = sizeClient;
    for (int pass = 0; pass < 2; pass++) {
        bNeedH = m_totalDev.cx > sizeAvail.cx;
        bNeedV = m_totalDev.cy > sizeAvail.cy;
        sizeAvail.cx = sizeClient.cx - (bNeedV && bOwnV ? cxBar : 0);
        sizeAvail.cy = sizeClient.cy - (bNeedH && bOwnH ? cyBar : 0);
    }
    bNeedH = m_totalDev.cx > sizeAvail.cx;
    bNeedV = m_totalDev.cy > sizeAvail.cy;

    int xOrig = GetScrollPos(SB_HORZ);
    int yOrig = GetScrollPos(SB_VERT);
    int x = bNeedH ? std::min(xOrig, static_cast<int>(m_totalDev.cx - sizeAvail.cx)) : 0;
    int y = bNeedV ? std::min(yOrig, static_cast<int>(m_totalDev.cy - sizeAvail.cy)) : 0;
    x = std::max(0, x);
    y = std::max(0, y);

    if (bOwnH)
        ShowScrollBar(SB_HORZ, bNeedH);
    if (bOwnV)
        ShowScrollBar(SB_VERT, bNeedV);
    SCROLLINFO si = {};
    si.fMask = SIF_PAGE | SIF_RANGE | SIF_POS;
    si.nMax = bNeedH ? m_totalDev.cx - 1 : 0;
    si.nPage = bNeedH ? static_cast<UINT>(sizeAvail.cx) : 0;
    si.nPos = x;
    SetScrollInfo(SB_HORZ, &si, TRUE);
    si.nMax = bNeedV ? m_totalDev.cy - 1 : 0;
    si.nPage = bNeedV ? static_cast<UINT>(sizeAvail.cy) : 0;
    si.nPos = y;
    SetScrollInfo(SB_VERT, &si, TRUE);
    if (CScrollBar* pBar = GetScrollBarCtrl(SB_HORZ))
        pBar->EnableWindow(bNeedH);
    if (CScrollBar* pBar = GetScrollBarCtrl(SB_VERT))
        pBar->EnableWindow(bNeedV);

    if (x != xOrig || y != yOrig)
        ScrollWindow(xOrig - x, yOrig - y);
    m_bInsideUpdate = FALSE;
}

void CScrollView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
    pDC->SetMapMode(m_nMapMode != 0 ? m_nMapMode : MM_TEXT);
    if (!pDC->IsPrinting()) {
        CPoint ptOrg = -GetDeviceScrollPosition();
        if (m_bCenter) {
            CRect rect;
            GetClientRect(&rect);
            if (m_totalDev.cx < rect.Width())
                ptOrg.x = (rect.Width() - m_totalDev.cx) / 2;
            if (m_totalDev.cy < rect.Height())
                ptOrg.y = (rect.Height() - m_totalDev.cy) / 2;
        }
        pDC->SetViewportOrg(ptOrg);
    }
    CView::OnPrepareDC(pDC, pInfo);
}

void CScrollView::FillOutsideRect(CDC* pDC, CBrush* pBrush)
{
    CRect rcClient;
    GetClientRect(&rcClient);
    CPoint ptPos = GetDeviceScrollPosition();
    // In device units: right of and below the scrolled picture.
    int xEnd = m_totalDev.cx - ptPos.x;
    int yEnd = m_totalDev.cy - ptPos.y;
    int nSaved = pDC->SaveDC();
    pDC->SetMapMode(MM_TEXT);
    pDC->SetViewportOrg(0, 0);
    if (xEnd < rcClient.right)
        pDC->FillRect(CRect(std::max(0, xEnd), 0, rcClient.right, rcClient.bottom), pBrush);
    if (yEnd < rcClient.bottom)
        pDC->FillRect(
            CRect(0, std::max(0, yEnd), std::min<LONG>(rcClient.right, std::max(0, xEnd)), rcClient.bottom),
            pBrush);
    pDC->RestoreDC(nSaved);
}

BOOL CScrollView::OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll)
{
    auto newPos = [&](int nBar, BYTE code, int nLine, int nPage) {
        int pos = GetScrollPos(nBar);
        switch (code) {
        case SB_TOP:
            return 0;
        case SB_BOTTOM:
            return INT_MAX / 2;
        case SB_LINEUP:
            return pos - nLine;
        case SB_LINEDOWN:
            return pos + nLine;
        case SB_PAGEUP:
            return pos - nPage;
        case SB_PAGEDOWN:
            return pos + nPage;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            // The message carries only 16 bits: the bar knows the whole position.
            SCROLLINFO si = {};
            if (GetScrollInfo(nBar, &si, SIF_TRACKPOS))
                return si.nTrackPos;
            return static_cast<int>(nPos);
        }
        default:
            return pos;
        }
    };
    int x = GetScrollPos(SB_HORZ);
    int y = GetScrollPos(SB_VERT);
    int xNew = newPos(SB_HORZ, LOBYTE(nScrollCode), m_lineDev.cx, m_pageDev.cx);
    int yNew = newPos(SB_VERT, HIBYTE(nScrollCode), m_lineDev.cy, m_pageDev.cy);
    return OnScrollBy(CSize(xNew - x, yNew - y), bDoScroll);
}

BOOL CScrollView::OnScrollBy(CSize sizeScroll, BOOL bDoScroll)
{
    int xOrig = GetScrollPos(SB_HORZ);
    int yOrig = GetScrollPos(SB_VERT);
    int x = std::max(0, std::min(xOrig + static_cast<int>(sizeScroll.cx), GetScrollLimit(SB_HORZ)));
    int y = std::max(0, std::min(yOrig + static_cast<int>(sizeScroll.cy), GetScrollLimit(SB_VERT)));
    if (x == xOrig && y == yOrig)
        return FALSE;
    if (bDoScroll) {
        ScrollWindow(xOrig - x, yOrig - y);
        SetScrollPos(SB_HORZ, x);
        SetScrollPos(SB_VERT, y);
    }
    return TRUE;
}

void CScrollView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    UpdateBars();
}

void CScrollView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    // Another control's bar is none of the view's business.
    if (pScrollBar != nullptr && AfxSafeHwnd(pScrollBar) != AfxSafeHwnd(GetScrollBarCtrl(SB_HORZ)))
        return;
    OnScroll(MAKEWORD(nSBCode, 0xFF), nPos);
}

void CScrollView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (pScrollBar != nullptr && AfxSafeHwnd(pScrollBar) != AfxSafeHwnd(GetScrollBarCtrl(SB_VERT)))
        return;
    OnScroll(MAKEWORD(0xFF, nSBCode), nPos);
}
