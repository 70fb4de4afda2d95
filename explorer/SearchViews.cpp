// The search-results and picture-list print windows' first forms.
#include "app/AppMessages.h"
#include "app/MainFrame.h"
#include "app/ViewPlacement.h"
#include "explorer/PrintLibDoc.h"
#include "explorer/PrintLibView.h"
#include "explorer/SearchDoc.h"
#include "explorer/SearchView.h"
#include "framework/Dc.h"
#include "framework/FrameWnd.h"

IMPLEMENT_DYNCREATE(CSearchDoc, CDocument)
IMPLEMENT_DYNCREATE(CSearchView, CView)
IMPLEMENT_DYNCREATE(CPrintLibDoc, CDocument)
IMPLEMENT_DYNCREATE(CPrintLibView, CView)

BEGIN_MESSAGE_MAP(CSearchView, CView)
    ON_MESSAGE(WM_PALETTEREALIZE, OnPaletteRealize)
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
    if (g_pMainFrame != nullptr)
        g_pMainFrame->SetStatusText1("");
}

void CSearchView::ArrangeChildFrame(BOOL byPlacement)
{
    ArrangeViewFrame(this, kExplorerViewArea, byPlacement);
}

void CPrintLibView::OnDraw(CDC*) {}

void CPrintLibView::OnInitialUpdate()
{
    CView::OnInitialUpdate();
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != nullptr)
        pFrame->PostMessage(WM_CLOSE);
}
