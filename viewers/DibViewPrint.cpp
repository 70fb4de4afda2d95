// The still-picture view's printing: the picture on one page with its title and banner, or as a
// poster of a chosen width over as many pages as it needs, for print and print preview.
#include "framework/CmdUI.h"
#include "framework/Dc.h"
#include "framework/Print.h"
#include "viewers/DibDoc.h"
#include "viewers/DibView.h"
#include "viewers/PicturePrint.h"

BOOL CDibView::OnPreparePrinting(CPrintInfo* pInfo) { return DoPreparePrinting(pInfo); }

void CDibView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
    CScrollView::OnPrepareDC(pDC, pInfo);
    CDibDoc* pDoc = GetDocument();
    if (pDoc != nullptr)
        ContinuePosterPrinting(g_stillPoster, pDC, pInfo, pDoc->GetHDIB());
}

void CDibView::OnPrint(CDC* pDC, CPrintInfo* pInfo)
{
    CDibDoc* pDoc = GetDocument();
    if (pDoc == nullptr || pDoc->GetHDIB() == nullptr)
        return;
    if (g_stillPoster.bPosterMode)
        PrintPosterPage(g_stillPoster, pDC, pInfo, pDoc->GetHDIB(),
                        static_cast<HPALETTE>(pDoc->GetDocPalette()->GetSafeHandle()));
    else
        OnDraw(pDC);
}

void CDibView::DrawPrintedPage(CDC* pDC)
{
    CDibDoc* pDoc = GetDocument();
    if (pDoc == nullptr || pDoc->GetHDIB() == nullptr)
        return;
    PrintPlainPage(pDC, pDoc->GetHDIB(), static_cast<HPALETTE>(pDoc->GetDocPalette()->GetSafeHandle()),
                   pDoc->GetTitle());
}

void CDibView::OnPrintPicture()
{
    if (m_bFullScreen)
        return;
    g_stillPoster.bPosterMode = FALSE;
    OnFilePrint();
}

void CDibView::OnPreviewPicture()
{
    // Like the other print commands, nothing in full screen: the preview would open behind it.
    if (m_bFullScreen)
        return;
    g_stillPoster.bPosterMode = FALSE;
    OnFilePrintPreview();
}

void CDibView::OnPrintPoster()
{
    CDibDoc* pDoc = GetDocument();
    if (m_bFullScreen || pDoc == nullptr)
        return;
    CSize size = pDoc->GetDocSize();
    if (AskPosterSize(g_stillPoster, size.cx, size.cy, nullptr))
        OnFilePrint();
}

void CDibView::OnPreviewPoster()
{
    CDibDoc* pDoc = GetDocument();
    if (m_bFullScreen || pDoc == nullptr)
        return;
    CSize size = pDoc->GetDocSize();
    if (AskPosterSize(g_stillPoster, size.cx, size.cy, nullptr))
        OnFilePrintPreview();
}

void CDibView::OnUpdatePrint(CCmdUI* pCmdUI)
{
    // A document without a picture has nothing to print (and no size to cut a poster from).
    CDibDoc* pDoc = GetDocument();
    pCmdUI->Enable(!m_bFullScreen && pDoc != nullptr && pDoc->GetHDIB() != nullptr);
}
