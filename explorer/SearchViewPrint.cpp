// The search-results window prints its list as thumbnail sheets titled with the window's title.
#include "explorer/SearchView.h"

#include "piclist/ThumbnailSheet.h"
#include "framework/Document.h"

void CSearchView::OnPrintList() { RunSheetPrintCommand(this, FALSE); }

void CSearchView::OnPreviewList() { RunSheetPrintCommand(this, TRUE); }

BOOL CSearchView::OnPreparePrinting(CPrintInfo* pInfo)
{
    CDocument* pDoc = GetDocument();
    m_sheetPrint.Begin(&m_list, FALSE, pDoc != nullptr ? pDoc->GetTitle() : CString());
    return DoPreparePrinting(pInfo);
}

void CSearchView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
    CView::OnPrepareDC(pDC, pInfo);
    m_sheetPrint.PrepareDC(pDC, pInfo);
}

void CSearchView::OnPrint(CDC* pDC, CPrintInfo* pInfo) { m_sheetPrint.PrintPage(pDC, pInfo); }
