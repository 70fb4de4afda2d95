// The search-results window's first form.
#include "shell/AppMessages.h"
#include "shell/MainFrameHost.h"
#include "shell/ViewPlacement.h"
#include "explorer/SearchDoc.h"
#include "explorer/SearchView.h"
#include "framework/Dc.h"
#include "framework/FrameWnd.h"

IMPLEMENT_DYNCREATE(CSearchDoc, CDocument)
IMPLEMENT_DYNCREATE(CSearchView, CView)

BEGIN_MESSAGE_MAP(CSearchView, CView)
    ON_MESSAGE(WM_PALETTEREALIZE, OnPaletteRealize)
    ON_MESSAGE(WM_VIEWARRANGE, OnViewArrange)
    ON_MESSAGE(WM_VIEWKIND, OnViewKind)
    ON_MESSAGE(WM_VIEWSTATUS, OnViewStatus)
END_MESSAGE_MAP()

void CSearchView::OnDraw(CDC* pDC)
{
    CRect rect;
    GetClientRect(&rect);
    pDC->FillSolidRect(&rect, ::GetSysColor(COLOR_WINDOW));
}

LRESULT CSearchView::OnPaletteRealize(WPARAM, LPARAM) { return 0; }

void CSearchView::UpdateStatusPanes()
{
    if (g_pMainFrameHost != nullptr)
        g_pMainFrameHost->SetStatusText1("");
}

void CSearchView::ArrangeChildFrame(BOOL byPlacement)
{
    ArrangeViewFrame(this, kExplorerViewArea, byPlacement);
}

LRESULT CSearchView::OnViewArrange(WPARAM wParam, LPARAM)
{
    ArrangeChildFrame(static_cast<BOOL>(wParam));
    return TRUE;
}

LRESULT CSearchView::OnViewKind(WPARAM, LPARAM) { return kExplorerViewArea; }

LRESULT CSearchView::OnViewStatus(WPARAM, LPARAM)
{
    if (g_pMainFrameHost != nullptr)
        g_pMainFrameHost->SetStatusMode(kStatusExplorer);
    UpdateStatusPanes();
    return TRUE;
}
