// The search-results document and the picture-list print window's first form.
#include "shell/AppMessages.h"
#include "shell/MainFrameHost.h"
#include "shell/ViewPlacement.h"
#include "explorer/PrintLibDoc.h"
#include "explorer/PrintLibView.h"
#include "explorer/SearchDoc.h"
#include "explorer/SearchView.h"
#include "framework/Dc.h"
#include "framework/FrameWnd.h"

IMPLEMENT_DYNCREATE(CSearchDoc, CDocument)
IMPLEMENT_DYNCREATE(CPrintLibDoc, CDocument)
IMPLEMENT_DYNCREATE(CPrintLibView, CView)

void CPrintLibView::OnDraw(CDC*) {}

void CPrintLibView::OnInitialUpdate()
{
    CView::OnInitialUpdate();
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != nullptr)
        pFrame->PostMessage(WM_CLOSE);
}
