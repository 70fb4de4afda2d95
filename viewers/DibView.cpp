// The still-picture view: drawing, palette, status text and its place among the picture windows.
#include "viewers/DibView.h"

#include "app/AppMessages.h"
#include "app/MainFrame.h"
#include "app/Settings.h"
#include "app/TessarineApp.h"
#include "app/ViewPlacement.h"
#include "core/TextFormat.h"
#include "framework/Dc.h"
#include "framework/FrameworkTexts.h"
#include "framework/Gdi.h"
#include "resources/resource.h"
#include "viewers/DibDoc.h"

IMPLEMENT_DYNCREATE(CDibView, CScrollView)

BEGIN_MESSAGE_MAP(CDibView, CScrollView)
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_PALETTEREALIZE, OnPaletteRealize)
END_MESSAGE_MAP()

CDibDoc* CDibView::GetDocument() const { return static_cast<CDibDoc*>(m_pDocument); }

void CDibView::OnInitialUpdate()
{
    CDibDoc* pDoc = GetDocument();
    SetScrollSizes(MM_TEXT, pDoc != nullptr ? pDoc->GetDocSize() : CSize(1, 1));
    CScrollView::OnInitialUpdate();
}

void CDibView::OnDraw(CDC* pDC)
{
    CBrush brush;
    if (brush.CreateSolidBrush(g_CouleurView))
        FillOutsideRect(pDC, &brush);
    CDibDoc* pDoc = GetDocument();
    if (pDoc == nullptr || pDoc->GetHDIB() == nullptr)
        return;
    CRect rect(0, 0, pDoc->m_nWidth, pDoc->m_nHeight);
    pDoc->GetDIB()->Paint(pDC, &rect, &rect, pDoc->GetDocPalette());
}

BOOL CDibView::OnEraseBkgnd(CDC*)
{
    // OnDraw fills what the picture leaves.
    return TRUE;
}

LRESULT CDibView::OnPaletteRealize(WPARAM wParam, LPARAM)
{
    CDibDoc* pDoc = GetDocument();
    if (pDoc == nullptr || pDoc->GetHDIB() == nullptr || pDoc->GetDocPalette()->m_hObject == nullptr)
        return 0;
    CClientDC dc(this);
    // Only the view the message names takes the foreground.
    BOOL bBackground = reinterpret_cast<HWND>(wParam) != m_hWnd;
    CPalette* pOld = dc.SelectPalette(pDoc->GetDocPalette(), bBackground);
    if (dc.RealizePalette() > 0)
        Invalidate(FALSE);
    dc.SelectPalette(pOld, TRUE);
    return 0;
}

void CDibView::UpdateStatusText()
{
    CDibDoc* pDoc = GetDocument();
    if (pDoc == nullptr || g_pMainFrame == nullptr)
        return;
    CString strText;
    if (pDoc->GetHDIB() != nullptr)
        strText.Format(AfxLoadText(IDS_PICTURE_TITLE), pDoc->m_nWidth, pDoc->m_nHeight,
                       GetColorDepthName(pDoc->m_nBitCount));
    g_pMainFrame->SetStatusText1(strText);
}

void CDibView::ArrangeChildFrame(BOOL byPlacement)
{
    ArrangeViewFrame(this, kImageViewArea, byPlacement);
}
