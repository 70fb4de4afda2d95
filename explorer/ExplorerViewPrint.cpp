// The explorer window prints its list as thumbnail sheets titled with the folder shown.
#include "explorer/ExplorerView.h"

#include "piclist/ThumbnailSheet.h"

void CExplorerView::OnPrintList() { RunSheetPrintCommand(this, FALSE); }

void CExplorerView::OnPreviewList() { RunSheetPrintCommand(this, TRUE); }

BOOL CExplorerView::OnPreparePrinting(CPrintInfo* pInfo)
{
    m_sheetPrint.Begin(&m_list, FALSE, m_strShownPath);
    return DoPreparePrinting(pInfo);
}

void CExplorerView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
    CView::OnPrepareDC(pDC, pInfo);
    m_sheetPrint.PrepareDC(pDC, pInfo);
}

void CExplorerView::OnPrint(CDC* pDC, CPrintInfo* pInfo) { m_sheetPrint.PrintPage(pDC, pInfo); }
