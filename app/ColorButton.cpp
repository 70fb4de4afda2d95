// The colour swatch button of the preferences.
#include "app/ColorButton.h"

#include "shell/Settings.h"
#include "framework/CommonDialogs.h"
#include "framework/Dc.h"
#include "resources/resource.h"

#include <cstdlib>

IMPLEMENT_DYNAMIC(CColorButton, CButton)

CColorButton::CColorButton() { m_bmpArrow.LoadBitmap(MAKEINTRESOURCEA(IDB_COLOR_ARROW)); }

void CColorButton::SetColor(COLORREF clr)
{
    CString strText;
    strText.Format("%lu", static_cast<unsigned long>(clr));
    SetWindowText(strText);
}

COLORREF CColorButton::GetColor() const
{
    CString strText;
    GetWindowText(strText);
    return static_cast<COLORREF>(std::strtoul(strText, nullptr, 10));
}

void CColorButton::PickColor()
{
    CColorDialog dlg(GetColor(), CC_FULLOPEN, GetParent());
    dlg.m_cc.lpCustColors = g_CustColors;
    dlg.m_cc.Flags |= CC_RGBINIT | CC_FULLOPEN;
    if (dlg.DoModal() == IDOK) {
        SetColor(dlg.GetColor());
        Invalidate(TRUE);
    }
}

void CColorButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    if (lpDIS == nullptr)
        return;
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    BOOL bEnabled = !(lpDIS->itemState & ODS_DISABLED);
    BOOL bPressed = (lpDIS->itemState & ODS_SELECTED) && bEnabled;
    BOOL bFocus = (lpDIS->itemState & ODS_FOCUS) && bEnabled;
    const COLORREF kLight = RGB(192, 192, 192);
    const COLORREF kGrey = RGB(128, 128, 128);
    const COLORREF kWhite = RGB(255, 255, 255);
    const COLORREF kBlack = RGB(0, 0, 0);

    CRect rect(lpDIS->rcItem);
    pDC->FillSolidRect(&rect, kLight);
    pDC->Draw3dRect(&rect, bFocus ? kBlack : kLight, bFocus ? kBlack : kLight);
    rect.DeflateRect(1, 1);
    if (bPressed)
        pDC->Draw3dRect(&rect, kBlack, kWhite);
    else
        pDC->Draw3dRect(&rect, kWhite, kBlack);
    rect.DeflateRect(1, 1);
    if (bPressed)
        pDC->Draw3dRect(&rect, kGrey, kLight);
    else
        pDC->Draw3dRect(&rect, kLight, kGrey);
    rect.DeflateRect(3, 3);
    rect.right -= 28;
    pDC->Draw3dRect(&rect, kGrey, kWhite);
    CRect rectSwatch = rect;
    rectSwatch.DeflateRect(1, 1);
    if (bEnabled)
        pDC->FillSolidRect(&rectSwatch, GetColor());

    if (m_bmpArrow.m_hObject != nullptr) {
        HDC hMem = ::CreateCompatibleDC(lpDIS->hDC);
        HGDIOBJ hOld = ::SelectObject(hMem, m_bmpArrow.m_hObject);
        int nHeight = lpDIS->rcItem.bottom - lpDIS->rcItem.top;
        ::BitBlt(lpDIS->hDC, rect.right + 4, lpDIS->rcItem.top + (nHeight - 14) / 2, 23, 14, hMem,
                 bEnabled ? 0 : 23, 0, SRCCOPY);
        ::SelectObject(hMem, hOld);
        ::DeleteDC(hMem);
    }
}
