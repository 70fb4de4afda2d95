#include "explorer/ListViewFrame.h"

#include "core/DrawUtil.h"
#include "explorer/ExplorerMDI.h"
#include "framework/Dc.h"
#include "framework/DockBar.h"
#include "framework/View.h"
#include "shell/Settings.h"

CToolBar* LocalToolBarOf(CView* pView)
{
    CFrameWnd* pFrame = pView != nullptr ? pView->GetParentFrame() : nullptr;
    if (pFrame == nullptr)
        return nullptr;
    if (pFrame->IsKindOf(RUNTIME_CLASS(CExplorerMDI)))
        return &static_cast<CExplorerMDI*>(pFrame)->m_wndToolBar;
    if (pFrame->IsKindOf(RUNTIME_CLASS(CSearchMDI)))
        return &static_cast<CSearchMDI*>(pFrame)->m_wndToolBar;
    return nullptr;
}

BOOL IsLocalToolBarShown(CView* pView)
{
    CToolBar* pBar = LocalToolBarOf(pView);
    // The bar's own state: while the frame is being made it is not on screen yet, but it shows.
    return pBar != nullptr && ::IsWindow(pBar->m_hWnd) && (pBar->GetStyle() & WS_VISIBLE) != 0;
}

BOOL IsLocalToolBarInset(CView* pView)
{
    CToolBar* pBar = LocalToolBarOf(pView);
    if (pBar == nullptr || !::IsWindow(pBar->m_hWnd))
        return FALSE;
    return IsLocalToolBarShown(pView) || pView->GetParentFrame()->IsZoomed();
}

BOOL ToggleLocalToolBar(CView* pView)
{
    CToolBar* pBar = LocalToolBarOf(pView);
    if (pBar == nullptr || !::IsWindow(pBar->m_hWnd))
        return FALSE;
    CFrameWnd* pFrame = pView->GetParentFrame();
    BOOL bShow = !IsLocalToolBarShown(pView);
    AfxShowControlBar(pFrame, pBar, bShow, FALSE);
    g_ShowExplorerToolBar = bShow;
    pFrame->RecalcLayout();
    return TRUE;
}

void DrawListViewFrames(CView* pView, CDC* pDC, CWnd* pTree, CWnd* pList)
{
    if (pDC->IsPrinting())
        return;
    const COLORREF kLight = RGB(192, 192, 192);
    CRect client;
    pView->GetClientRect(&client);
    FrameRectColor(pDC, client, kLight);
    CRect rects[2];
    BOOL shown[2] = {pTree != nullptr && ::IsWindow(pTree->m_hWnd),
                     pList != nullptr && ::IsWindow(pList->m_hWnd)};
    CWnd* children[2] = {pTree, pList};
    for (int i = 0; i < 2; i++) {
        if (!shown[i])
            continue;
        children[i]->GetWindowRect(&rects[i]);
        pView->ScreenToClient(&rects[i]);
        CRect edge = rects[i];
        edge.InflateRect(1, 1);
        Draw3DRect(pDC, edge, TRUE, 1, kLight, RGB(0, 0, 0));
        edge.InflateRect(1, 1);
        Draw3DRect(pDC, edge, TRUE, 1, RGB(255, 255, 255), RGB(128, 128, 128));
    }
    if (shown[0] && shown[1])
        FillRectColor(pDC, CRect(rects[0].right + 2, 0, rects[1].left - 2, client.bottom), kLight);
    else if (shown[0])
        FillRectColor(pDC, CRect(rects[0].right + 2, 0, client.right - 1, client.bottom - 1), kLight);
    if (IsLocalToolBarInset(pView)) {
        CRect line(client.left - 1, 0, client.right + 1, 2);
        Draw3DRect(pDC, line, TRUE, 1, RGB(255, 255, 255), RGB(128, 128, 128));
        line.OffsetRect(0, 2);
        FrameRectColor(pDC, line, kLight);
    }
}
