// The dialog bar kept beside the status bar: its minimum size, control 1185 and its context menu.
#include "app/StatusDialogBar.h"

#include "app/MainFrame.h"
#include "framework/Menu.h"
#include "resources/resource.h"

IMPLEMENT_DYNAMIC(CStatusDialogBar, CDialogBar)

BEGIN_MESSAGE_MAP(CStatusDialogBar, CDialogBar)
    ON_WM_DRAWITEM()
    ON_WM_RBUTTONDOWN()
END_MESSAGE_MAP()

namespace {
const int kInfoControl = 1185;
}

BOOL CStatusDialogBar::Create(CWnd* pParentWnd, LPCSTR lpszTemplateName, UINT nStyle, UINT nID, int nExtra)
{
    if (!CDialogBar::Create(pParentWnd, lpszTemplateName, nStyle, nID))
        return FALSE;
    m_sizeMinimum = CSize(106, 99);
    m_nExtra = nExtra;
    return TRUE;
}

BOOL CStatusDialogBar::Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID, int nExtra)
{
    return Create(pParentWnd, MAKEINTRESOURCEA(nIDTemplate), nStyle, nID, nExtra);
}

void CStatusDialogBar::InvalidateInfo()
{
    CWnd* pInfo = GetDlgItem(kInfoControl);
    if (pInfo != nullptr)
        pInfo->Invalidate();
}

void CStatusDialogBar::OnRButtonDown(UINT, CPoint)
{
    CMenu menu;
    if (!menu.LoadMenu(IDR_CONTEXTMENUS))
        return;
    CMenu* pPopup = menu.GetSubMenu(CONTEXT_DIALOG_BAR);
    if (pPopup == nullptr)
        return;
    CPoint point;
    ::GetCursorPos(&point);
    // Away from the screen's edge the cursor is nearer to.
    BOOL bRightHalf = point.x > ::GetSystemMetrics(SM_CXSCREEN) / 2;
    UINT nAlign = bRightHalf ? TPM_RIGHTALIGN : TPM_LEFTALIGN;
    int x = bRightHalf ? point.x + 10 : point.x - 10;
    pPopup->TrackPopupMenu(nAlign | TPM_RIGHTBUTTON, x, point.y - 10, g_pMainFrame);
}
