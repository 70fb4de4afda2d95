// The status bar's owner-drawn panes and the gauge kept over its first pane.
#include "app/StatusBarEx.h"

#include "app/MainFrame.h"
#include "framework/Dc.h"
#include "resources/resource.h"

IMPLEMENT_DYNCREATE(CStatusBarEx, CStatusBar)

BEGIN_MESSAGE_MAP(CStatusBarEx, CStatusBar)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CStatusBarEx::CStatusBarEx() { m_bmpIcons.LoadBitmap(MAKEINTRESOURCEA(IDB_STATUS_ICONS)); }

BOOL ParsePaneIconText(LPCSTR lpszText, int* pIcon, CString* pText)
{
    if (lpszText == nullptr || lpszText[0] != '@' || lpszText[1] < '0' || lpszText[1] > '9') {
        *pIcon = -1;
        *pText = lpszText != nullptr ? lpszText : "";
        return FALSE;
    }
    // "@n" alone is the icon without a text.
    *pIcon = lpszText[1] - '0';
    *pText = lpszText[2] != '\0' ? lpszText + 3 : "";
    return TRUE;
}

void CStatusBarEx::SetPaneOwnerDraw(int nIndex)
{
    SetPaneStyle(nIndex, GetPaneStyle(nIndex) | SBT_OWNERDRAW);
}

void CStatusBarEx::DrawItem(LPDRAWITEMSTRUCT lpDis)
{
    CDC dc;
    dc.Attach(lpDis->hDC);
    int nSaved = dc.SaveDC();
    CRect rect(lpDis->rcItem);
    char szText[100] = "";
    if (lpDis->itemData != 0)
        lstrcpynA(szText, reinterpret_cast<LPCSTR>(lpDis->itemData), sizeof(szText));
    dc.SetTextAlign(TA_BOTTOM);
    dc.SetTextColor(::GetSysColor(COLOR_BTNTEXT));
    dc.SetBkColor(::GetSysColor(COLOR_BTNFACE));

    int nIcon = -1;
    CString strText;
    if (ParsePaneIconText(szText, &nIcon, &strText)) {
        if (m_bmpIcons.m_hObject != nullptr) {
            CDC dcIcons;
            if (dcIcons.CreateCompatibleDC(&dc)) {
                CBitmap* pOld = dcIcons.SelectObject(&m_bmpIcons);
                dc.BitBlt(rect.left + 2, rect.top + 1, 12, 12, &dcIcons, 13 * nIcon, 0, SRCCOPY);
                dcIcons.SelectObject(pOld);
            }
        }
        CRect rectClip(rect);
        rectClip.bottom -= 2;
        dc.ExtTextOut(rect.left + 16, rect.bottom - 2, ETO_CLIPPED, &rectClip, strText, strText.GetLength(),
                      nullptr);
    } else {
        dc.ExtTextOut(rect.left + 2, rect.bottom - 2, ETO_CLIPPED, &rect, strText, strText.GetLength(),
                      nullptr);
    }
    dc.RestoreDC(nSaved);
    dc.Detach();
}

void CStatusBarEx::OnPaint()
{
    Default();
    // The gauge is drawn straight onto the bar: a repaint of the bar would leave it half erased.
    CWnd* pParent = GetParent();
    if (pParent != nullptr && pParent->IsKindOf(RUNTIME_CLASS(CMainFrame))) {
        CMainFrame* pFrame = static_cast<CMainFrame*>(pParent);
        if (pFrame->IsGaugeActive())
            pFrame->RedrawGauge();
    }
}
