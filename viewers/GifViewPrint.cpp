// The animated-GIF view's printing: a copy of the frame shown when the command came, on one page with
// its title and banner or as a poster over as many pages as it needs, for print and print preview.
// The animation goes on meanwhile; the pages draw the copy, with the animation views' own poster state.
#include "viewers/GifView.h"

#include "core/PackedDib.h"
#include "framework/CmdUI.h"
#include "framework/Dc.h"
#include "framework/Print.h"
#include "viewers/GifDoc.h"
#include "viewers/PicturePrint.h"

void CGifView::FreePrintCopy()
{
    if (m_hPrintCopy != nullptr) {
        ::GlobalFree(m_hPrintCopy);
        m_hPrintCopy = nullptr;
    }
    if (m_hPrintPalette != nullptr) {
        ::DeleteObject(m_hPrintPalette);
        m_hPrintPalette = nullptr;
    }
}

BOOL CGifView::MakePrintCopy()
{
    CGifDoc* pDoc = GetDocument();
    HGLOBAL hFrame = pDoc != nullptr ? pDoc->GetFrameDIB(m_nCurrentFrame) : nullptr;
    if (hFrame == nullptr)
        return FALSE;
    FreePrintCopy();
    m_hPrintCopy = CopyGlobalHandle(hFrame);
    if (m_hPrintCopy == nullptr)
        return FALSE;
    m_hPrintPalette = CreateDIBPaletteHandle(m_hPrintCopy);
    return TRUE;
}

BOOL CGifView::CanPrint() const
{
    CGifDoc* pDoc = GetDocument();
    return !m_bFullScreen && pDoc != nullptr && pDoc->GetFrameDIB(m_nCurrentFrame) != nullptr;
}

void CGifView::OnUpdatePrint(CCmdUI* pCmdUI) { pCmdUI->Enable(CanPrint()); }

BOOL CGifView::OnPreparePrinting(CPrintInfo* pInfo) { return DoPreparePrinting(pInfo); }

void CGifView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
    CScrollView::OnPrepareDC(pDC, pInfo);
    if (m_hPrintCopy != nullptr)
        ContinuePosterPrinting(g_animPoster, pDC, pInfo, m_hPrintCopy);
}

void CGifView::OnPrint(CDC* pDC, CPrintInfo* pInfo)
{
    if (m_hPrintCopy == nullptr)
        return;
    if (g_animPoster.bPosterMode) {
        PrintPosterPage(g_animPoster, pDC, pInfo, m_hPrintCopy, m_hPrintPalette);
        return;
    }
    CGifDoc* pDoc = GetDocument();
    PrintPlainPage(pDC, m_hPrintCopy, m_hPrintPalette, pDoc != nullptr ? (LPCSTR)pDoc->GetTitle() : "");
}

void CGifView::OnPrintFrame()
{
    if (!CanPrint() || !MakePrintCopy())
        return;
    g_animPoster.bPosterMode = FALSE;
    CScrollView::OnFilePrint();
}

void CGifView::OnPreviewFrame()
{
    if (!CanPrint() || !MakePrintCopy())
        return;
    g_animPoster.bPosterMode = FALSE;
    CScrollView::OnFilePrintPreview();
}

BOOL CGifView::AskFramePosterSize()
{
    if (!CanPrint() || !MakePrintCopy())
        return FALSE;
    void* p = ::GlobalLock(m_hPrintCopy);
    if (p == nullptr)
        return FALSE;
    int nWidth = static_cast<int>(DIBWidth(p));
    int nHeight = static_cast<int>(DIBHeight(p));
    ::GlobalUnlock(m_hPrintCopy);
    return AskPosterSize(g_animPoster, nWidth, nHeight, nullptr);
}

void CGifView::OnPrintFramePoster()
{
    if (AskFramePosterSize())
        CScrollView::OnFilePrint();
}

void CGifView::OnPreviewFramePoster()
{
    if (AskFramePosterSize())
        CScrollView::OnFilePrintPreview();
}
