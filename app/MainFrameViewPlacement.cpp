// The shared placement of the views' child frames.
#include "app/MainFrame.h"

#include "shell/ViewPlacement.h"
#include "framework/View.h"

void CMainFrame::ArrangeViewFrame(CView* pView, int half, BOOL byPlacement)
{
    if (byPlacement || pView == nullptr)
        return;
    CFrameWnd* pFrame = pView->GetParentFrame();
    if (pFrame == nullptr || pFrame->IsIconic())
        return;
    BOOL bMaximized = FALSE;
    MDIGetActive(&bMaximized);
    if (bMaximized)
        return;

    CRect area(0, 0, 0, 0);
    ComputeViewArea(&area, half, FALSE);
    if (area.IsRectEmpty())
        return;
    int nCount = CountViews(half, nullptr);
    int nIndex = GetViewIndex(pView, half);
    if (nCount < 1)
        nCount = 1;
    if (nIndex >= nCount)
        nIndex = nCount - 1;

    CRect rect(area);
    if (area.Height() > area.Width()) {
        int nStep = area.Height() / nCount;
        rect.top = area.top + nIndex * nStep;
        rect.bottom = nIndex == nCount - 1 ? area.bottom : rect.top + nStep;
    } else {
        int nStep = area.Width() / nCount;
        rect.left = area.left + nIndex * nStep;
        rect.right = nIndex == nCount - 1 ? area.right : rect.left + nStep;
    }
    pFrame->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                         SWP_NOZORDER | SWP_NOACTIVATE);
}
