// Drawing and mouse handling of the picture buttons.
#include "shell/SimpleDibButton.h"

#include "shell/SharedUi.h"
#include "framework/Dc.h"
#include "framework/MessageMap.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CSimpleDibButton, CButton)
IMPLEMENT_DYNAMIC(CDibButton, CButton)
IMPLEMENT_DYNAMIC(CClickDibButton, CButton)
IMPLEMENT_DYNAMIC(CSelectDibButton, CClickDibButton)

void CSimpleDibButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    if (m_hDIB == nullptr || lpDIS == nullptr)
        return;
    const void* pHeader = ::GlobalLock(m_hDIB);
    if (pHeader == nullptr)
        return;
    LONG cx = static_cast<LONG>(DIBWidth(pHeader));
    LONG cy = static_cast<LONG>(DIBHeight(pHeader));
    ::GlobalUnlock(m_hDIB);
    HPALETTE hPalette = CreateDIBPaletteHandle(m_hDIB);
    HPALETTE hOld = nullptr;
    if (hPalette != nullptr) {
        hOld = ::SelectPalette(lpDIS->hDC, hPalette, FALSE);
        ::RealizePalette(lpDIS->hDC);
    }
    RECT dest = {lpDIS->rcItem.left, lpDIS->rcItem.top, lpDIS->rcItem.left + cx, lpDIS->rcItem.top + cy};
    RECT src = {0, 0, cx, cy};
    PaintDIB(lpDIS->hDC, &dest, m_hDIB, &src, nullptr);
    if (hPalette != nullptr) {
        ::SelectPalette(lpDIS->hDC, hOld, TRUE);
        ::DeleteObject(hPalette);
    }
}

void CDibButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    if (lpDIS == nullptr)
        return;
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    CRect rect(lpDIS->rcItem);
    pDC->Draw3dRect(&rect, RGB(0, 0, 0), RGB(255, 255, 255));
    if (!m_dib.IsEmpty()) {
        rect.DeflateRect(5, 5);
        m_dib.DrawScaled(pDC, rect, TRUE);
    }
}

// ---- CClickDibButton ----

BEGIN_MESSAGE_MAP(CClickDibButton, CButton)
    ON_WM_SETCURSOR()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

BOOL CClickDibButton::ClientToPicture(CPoint point, CPoint* pPicture) const
{
    if (m_dib.IsEmpty() || m_rectPicture.Width() <= 0 || m_rectPicture.Height() <= 0
        || !m_rectPicture.PtInRect(point))
        return FALSE;
    LONGLONG x = static_cast<LONGLONG>(point.x - m_rectPicture.left) * m_dib.Width() / m_rectPicture.Width();
    LONGLONG y = static_cast<LONGLONG>(point.y - m_rectPicture.top) * m_dib.Height() / m_rectPicture.Height();
    if (pPicture != nullptr)
        *pPicture = CPoint(static_cast<int>(x), static_cast<int>(y));
    return TRUE;
}

void CClickDibButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    if (lpDIS == nullptr)
        return;
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    CRect rect(lpDIS->rcItem);
    if (!IsWindowEnabled()) {
        pDC->FillSolidRect(&rect, RGB(192, 192, 192));
        return;
    }
    pDC->Draw3dRect(&rect, RGB(128, 128, 128), RGB(255, 255, 255));
    rect.DeflateRect(1, 1);
    RECT dest = {};
    m_dib.DrawScaled(pDC, rect, TRUE, &dest);
    m_rectPicture = dest;
}

CPoint CClickDibButton::CursorClientPos() const
{
    POINT pt = {};
    ::GetCursorPos(&pt);
    ::ScreenToClient(m_hWnd, &pt);
    return CPoint(pt.x, pt.y);
}

BOOL CClickDibButton::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (ClientToPicture(CursorClientPos(), nullptr) && g_hCursorPicturePoint != nullptr) {
        ::SetCursor(g_hCursorPicturePoint);
        return TRUE;
    }
    return CButton::OnSetCursor(pWnd, nHitTest, message);
}

void CClickDibButton::SendToParent(UINT message, int x, int y)
{
    CWnd* pParent = GetParent();
    if (pParent != nullptr)
        pParent->SendMessage(message, static_cast<WPARAM>(x), static_cast<LPARAM>(y));
}

void CClickDibButton::OnMouseMove(UINT nFlags, CPoint point)
{
    CPoint picture;
    if (ClientToPicture(point, &picture))
        SendToParent(WM_DIBBUTTON_MOUSEMOVE, picture.x, picture.y);
    else
        SendToParent(WM_DIBBUTTON_MOUSEMOVE, kDibButtonOutside, kDibButtonOutside);
    CButton::OnMouseMove(nFlags, point);
}

void CClickDibButton::OnLButtonDown(UINT nFlags, CPoint point)
{
    CPoint picture;
    if (ClientToPicture(point, &picture))
        SendToParent(WM_DIBBUTTON_CLICK, picture.x, picture.y);
    CButton::OnLButtonDown(nFlags, point);
}

// ---- CSelectDibButton ----

BEGIN_MESSAGE_MAP(CSelectDibButton, CClickDibButton)
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

void CSelectDibButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    CClickDibButton::DrawItem(lpDIS);
    if (lpDIS != nullptr && !m_rectSelection.IsRectEmpty())
        ::DrawFocusRect(lpDIS->hDC, &m_rectSelection);
}

void CSelectDibButton::OnLButtonDown(UINT, CPoint point)
{
    CPoint picture;
    if (!ClientToPicture(point, &picture))
        return;
    SetCapture();
    m_bDragging = TRUE;
    m_ptStartPicture = picture;
    m_ptStartClient = point;
    m_rectSelection.SetRectEmpty();
}

void CSelectDibButton::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!m_bDragging) {
        CClickDibButton::OnMouseMove(nFlags, point);
        return;
    }
    CPoint picture;
    if (ClientToPicture(point, &picture)) {
        SendToParent(WM_DIBBUTTON_DRAG, picture.x, picture.y);
        CClientDC dc(this);
        if (!m_rectSelection.IsRectEmpty())
            ::DrawFocusRect(dc.GetSafeHdc(), &m_rectSelection);
        m_rectSelection.SetRect(std::min(m_ptStartClient.x, point.x), std::min(m_ptStartClient.y, point.y),
                                std::max(m_ptStartClient.x, point.x), std::max(m_ptStartClient.y, point.y));
        ::DrawFocusRect(dc.GetSafeHdc(), &m_rectSelection);
    }
}

void CSelectDibButton::OnLButtonUp(UINT, CPoint)
{
    if (!m_bDragging)
        return;
    m_bDragging = FALSE;
    ::ReleaseCapture();
    SendToParent(WM_DIBBUTTON_CLICK, 0, 0);
}
