// The shared placement of the views' child frames.
#include "app/MainFrame.h"

#include "app/ViewGrid.h"
#include "framework/View.h"
#include "shell/Settings.h"
#include "shell/ViewPlacement.h"

void CMainFrame::ArrangeViewFrame(CView* pView, int half, BOOL byPlacement, BOOL bFirstCell)
{
    if (pView == nullptr)
        return;
    CFrameWnd* pFrame = pView->GetParentFrame();
    if (pFrame == nullptr || (!byPlacement && pFrame->IsIconic()))
        return;
    BOOL bMaximized = FALSE;
    MDIGetActive(&bMaximized);
    if (bMaximized)
        return;

    CRect area(0, 0, 0, 0);
    ComputeViewArea(&area, half, byPlacement);
    if (area.IsRectEmpty())
        return;
    int nCount = CountViews(half, nullptr);
    int nIndex = 0;
    if (byPlacement) {
        // A restored window comes back active, so first among the open ones.
        nCount++;
    } else if (!bFirstCell) {
        nIndex = GetViewIndex(pView, half);
    }
    CRect rect(area);
    if (nCount >= 2 && g_ReorganizeType != 0)
        rect = ViewGridCell(area, nCount, nIndex);

    if (!byPlacement) {
        pFrame->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                             SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof(wp);
    wp.flags = 0;
    wp.showCmd = SW_SHOWNA;
    wp.ptMinPosition.x = 0;
    wp.ptMinPosition.y = 0;
    wp.ptMaxPosition.x = -::GetSystemMetrics(SM_CXBORDER);
    wp.ptMaxPosition.y = -::GetSystemMetrics(SM_CYBORDER);
    wp.rcNormalPosition = rect;
    pFrame->SetWindowPlacement(&wp);
}
