// The animated-GIF view: drawing the first frame, palette, status text and placement.
#include "viewers/GifView.h"

#include "app/AppMessages.h"
#include "app/MainFrame.h"
#include "app/Settings.h"
#include "app/ViewPlacement.h"
#include "core/DIB.h"
#include "core/TextFormat.h"
#include "framework/Dc.h"
#include "framework/FrameworkTexts.h"
#include "framework/Gdi.h"
#include "resources/resource.h"
#include "viewers/GifDoc.h"

IMPLEMENT_DYNCREATE(CGifView, CScrollView)

BEGIN_MESSAGE_MAP(CGifView, CScrollView)
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_PALETTEREALIZE, OnPaletteRealize)
    ON_MESSAGE(WM_ANIMFRAMESLIDER, OnFrameSlider)
    ON_MESSAGE(WM_ANIMSPEEDCHANGED, OnSpeedChanged)
END_MESSAGE_MAP()

CGifDoc* CGifView::GetDocument() const { return static_cast<CGifDoc*>(m_pDocument); }

void CGifView::OnInitialUpdate()
{
    CGifDoc* pDoc = GetDocument();
    SetScrollSizes(MM_TEXT, pDoc != nullptr && pDoc->m_nWidth > 0 ? CSize(pDoc->m_nWidth, pDoc->m_nHeight)
                                                                  : CSize(1, 1));
    // As a still picture: in its own cell before its frame first shows.
    if (g_bAutoReorganize) {
        ArrangeViewFrame(this, kImageViewArea, FALSE, TRUE);
        g_bArrangePending = TRUE;
    }
    CScrollView::OnInitialUpdate();
}

void CGifView::OnDraw(CDC* pDC)
{
    CBrush brush;
    if (brush.CreateSolidBrush(g_CouleurView))
        FillOutsideRect(pDC, &brush);
    CGifDoc* pDoc = GetDocument();
    CDIB* pFrame = pDoc != nullptr ? pDoc->GetFrame(0) : nullptr;
    if (pFrame == nullptr || pFrame->IsEmpty())
        return;
    CRect rect(0, 0, pDoc->m_nWidth, pDoc->m_nHeight);
    pFrame->Paint(pDC, &rect, &rect, pFrame->GetPalette());
}

BOOL CGifView::OnEraseBkgnd(CDC*) { return TRUE; }

LRESULT CGifView::OnPaletteRealize(WPARAM wParam, LPARAM)
{
    CGifDoc* pDoc = GetDocument();
    CDIB* pFrame = pDoc != nullptr ? pDoc->GetFrame(0) : nullptr;
    if (pFrame == nullptr || pFrame->GetPalette()->m_hObject == nullptr)
        return 0;
    CClientDC dc(this);
    CPalette* pOld = dc.SelectPalette(pFrame->GetPalette(), reinterpret_cast<HWND>(wParam) != m_hWnd);
    if (dc.RealizePalette() > 0)
        Invalidate(FALSE);
    dc.SelectPalette(pOld, TRUE);
    return 0;
}

LRESULT CGifView::OnFrameSlider(WPARAM, LPARAM)
{
    m_nSliderMessages++;
    return 0;
}

LRESULT CGifView::OnSpeedChanged(WPARAM, LPARAM)
{
    m_nSpeedMessages++;
    return 0;
}

void CGifView::UpdateStatusText()
{
    CGifDoc* pDoc = GetDocument();
    if (pDoc == nullptr || g_pMainFrame == nullptr)
        return;
    CString strText;
    if (pDoc->GetFrameCount() > 0)
        strText.Format(AfxLoadText(IDS_PICTURE_TITLE), pDoc->m_nWidth, pDoc->m_nHeight,
                       GetColorDepthName(pDoc->m_nBitCount));
    g_pMainFrame->SetStatusText1(strText);
}

void CGifView::ArrangeChildFrame(BOOL byPlacement) { ArrangeViewFrame(this, kImageViewArea, byPlacement); }
