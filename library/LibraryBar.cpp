// The library bar's window: creation, its size along the frame's edge and its painting.
#include "library/LibraryBar.h"

#include "shell/AppMessages.h"
#include "shell/Settings.h"
#include "framework/Dc.h"
#include "framework/Gdi.h"

IMPLEMENT_DYNAMIC(CLibraryBar, CControlBar)

BEGIN_MESSAGE_MAP(CLibraryBar, CControlBar)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_MESSAGE(WM_PALETTEREALIZE, OnPaletteRealize)
END_MESSAGE_MAP()

BOOL CLibraryBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    m_dwStyle = dwStyle & CBRS_ALL;
    DWORD dwWindowStyle = (dwStyle & ~CBRS_ALL) | WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    return CreateEx(0, lpszClass, nullptr, dwWindowStyle, CRect(0, 0, 0, 0), pParentWnd, nID);
}

CSize CLibraryBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    if (bHorz)
        return CSize(bStretch ? 32767 : g_LibBarFloatSizeH, g_LibBarSizeH);
    return CSize(g_LibBarSizeV, bStretch ? 32767 : g_LibBarFloatSizeV);
}

CSize CLibraryBar::CalcDynamicLayout(int, DWORD dwMode)
{
    if (dwMode & LM_HORZDOCK)
        return CalcFixedLayout(TRUE, TRUE);
    if (dwMode & LM_VERTDOCK)
        return CalcFixedLayout(TRUE, FALSE);
    // Floating: the size kept for a floating bar.
    return CSize(g_LibBarFloatSizeH, g_LibBarFloatSizeV);
}

BOOL CLibraryBar::OnEraseBkgnd(CDC*) { return TRUE; }

void CLibraryBar::OnSize(UINT nType, int cx, int cy)
{
    CControlBar::OnSize(nType, cx, cy);
    Invalidate(FALSE);
}

void CLibraryBar::OnPaint()
{
    CPaintDC dc(this);
    CRect rect;
    GetClientRect(&rect);
    dc.FillSolidRect(&rect, ::GetSysColor(COLOR_BTNFACE));

    // The title band, then the white area where the folder tree and the thumbnails go.
    CString strTitle;
    GetWindowText(strTitle);
    CRect rectTitle(rect.left + 2, rect.top + 2, rect.right - 2, rect.top + 20);
    dc.FillSolidRect(&rectTitle, ::GetSysColor(COLOR_ACTIVECAPTION));
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(::GetSysColor(COLOR_CAPTIONTEXT));
    HGDIOBJ hOldFont = dc.SelectObject(::GetStockObject(DEFAULT_GUI_FONT));
    CRect rectText(rectTitle);
    rectText.left += 4;
    dc.DrawText(strTitle, &rectText, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);

    CRect rectList(rect.left + 2, rectTitle.bottom + 2, rect.right - 2, rect.bottom - 2);
    if (rectList.bottom > rectList.top) {
        dc.FillSolidRect(&rectList, ::GetSysColor(COLOR_WINDOW));
        dc.DrawEdge(&rectList, EDGE_SUNKEN, BF_RECT);
        CRect rectRoot(rectList);
        rectRoot.DeflateRect(6, 6);
        dc.SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
        dc.DrawText(g_strLibraryRoot, &rectRoot, DT_SINGLELINE | DT_TOP | DT_PATH_ELLIPSIS | DT_NOPREFIX);
    }
    dc.SelectObject(hOldFont);
}

LRESULT CLibraryBar::OnPaletteRealize(WPARAM, LPARAM) { return 0; }
