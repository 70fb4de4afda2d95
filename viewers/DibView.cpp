// The still-picture view: its document's picture, status text, placement and the view messages.
#include "viewers/DibView.h"

#include "shell/AppMessages.h"
#include "shell/MainFrameHost.h"
#include "shell/Settings.h"
#include "shell/ViewPlacement.h"
#include "framework/CmdUI.h"
#include "framework/Dc.h"
#include "framework/FrameWnd.h"
#include "framework/StdIds.h"
#include "resources/resource.h"
#include "viewers/DibDoc.h"
#include "viewers/ViewerGlobals.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CDibView, CPictureView)

BEGIN_MESSAGE_MAP(CDibView, CPictureView)
    ON_MESSAGE(WM_VIEWARRANGE, OnViewArrange)
    ON_MESSAGE(WM_VIEWKIND, OnViewKind)
    ON_MESSAGE(WM_VIEWSTATUS, OnViewStatus)
    ON_MESSAGE(WM_VIEWIDLE, OnViewIdle)
    ON_COMMAND(ID_FILE_PRINT, OnPrintPicture)
    ON_COMMAND(ID_FILE_PRINT_PREVIEW, OnPreviewPicture)
    ON_COMMAND(ID_FILE_PRINT_POSTER, OnPrintPoster)
    ON_COMMAND(ID_FILE_PRINT_POSTER_PREVIEW, OnPreviewPoster)
    ON_UPDATE_COMMAND_UI(ID_FILE_PRINT, OnUpdatePrint)
    ON_UPDATE_COMMAND_UI(ID_FILE_PRINT_PREVIEW, OnUpdatePrint)
    ON_UPDATE_COMMAND_UI(ID_FILE_PRINT_POSTER, OnUpdatePrint)
    ON_UPDATE_COMMAND_UI(ID_FILE_PRINT_POSTER_PREVIEW, OnUpdatePrint)
END_MESSAGE_MAP()

CDibView::CDibView() : CPictureView(g_bFineZoom, 1) {}

CDibDoc* CDibView::GetDocument() const { return static_cast<CDibDoc*>(m_pDocument); }

void CDibView::OnInitialUpdate()
{
    CDibDoc* pDoc = GetDocument();
    CSize size = pDoc != nullptr ? pDoc->GetDocSize() : CSize(1, 1);
    SetScrollSizes(MM_TEXT, CSize(std::max(1, MulDiv(size.cx, m_nZoom, 100)),
                                  std::max(1, MulDiv(size.cy, m_nZoom, 100))));
    // Placed before its frame first shows: a new window starts in its own cell, and the others make
    // room at the next tick.
    if (g_bAutoReorganize) {
        m_bArranging = 1;
        ArrangeChildFrame(FALSE);
        m_bArranging = 0;
        g_bArrangePending = TRUE;
    }
    CScrollView::OnInitialUpdate();
    if (m_bOpenedFullScreen) {
        SetFocus();
        EnterFullScreen();
    }
}

void CDibView::OnDraw(CDC* pDC)
{
    if (pDC->IsPrinting()) {
        DrawPrintedPage(pDC);
        return;
    }
    CPictureView::OnDraw(pDC);
}

CDIB* CDibView::GetShownPicture() const
{
    CDibDoc* pDoc = GetDocument();
    return pDoc != nullptr ? pDoc->GetDIB() : nullptr;
}

CSize CDibView::GetPictureSize() const
{
    CDibDoc* pDoc = GetDocument();
    return pDoc != nullptr ? pDoc->GetDocSize() : CSize(1, 1);
}

void CDibView::UpdateStatusText()
{
    CDibDoc* pDoc = GetDocument();
    if (pDoc != nullptr)
        ShowPictureStatus(kStatusPicture, pDoc->GetHDIB() != nullptr, pDoc->m_nWidth, pDoc->m_nHeight,
                          pDoc->m_nBitCount);
}

void CDibView::ArrangeChildFrame(BOOL byPlacement)
{
    if (m_bOpenedFullScreen) {
        // The window only exists for its full-screen view.
        CFrameWnd* pFrame = GetParentFrame();
        if (pFrame != nullptr)
            pFrame->SetWindowPos(nullptr, 0, 0, 1, 1, SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    ArrangeViewFrame(this, kImageViewArea, byPlacement, m_bArranging);
}

LRESULT CDibView::OnViewArrange(WPARAM wParam, LPARAM)
{
    ArrangeChildFrame(static_cast<BOOL>(wParam));
    return TRUE;
}

LRESULT CDibView::OnViewKind(WPARAM, LPARAM) { return kImageViewArea; }

LRESULT CDibView::OnViewStatus(WPARAM, LPARAM)
{
    if (g_pMainFrameHost != nullptr)
        g_pMainFrameHost->SetStatusMode(kStatusPicture);
    UpdateStatusText();
    return TRUE;
}

LRESULT CDibView::OnViewIdle(WPARAM wParam, LPARAM)
{
    // Only the full-screen mouse has a step to take.
    if (wParam)
        TrackMouseInFullScreen();
    return TRUE;
}
