// The still-picture view: display modes, zoom, DrawDib painting, keys, mouse, palette, status text.
#include "viewers/DibView.h"

#include "shell/AppMessages.h"
#include "shell/MainFrameHost.h"
#include "shell/Settings.h"
#include "shell/ViewPlacement.h"
#include "core/PackedDib.h"
#include "framework/CmdUI.h"
#include "framework/Dc.h"
#include "framework/FrameWnd.h"
#include "framework/FrameworkTexts.h"
#include "framework/Menu.h"
#include "framework/StdIds.h"
#include "resources/resource.h"
#include "viewers/DibDoc.h"
#include "viewers/ViewerGlobals.h"
#include "viewers/ZoomGeometry.h"

#include <algorithm>
#include <cstdlib>

IMPLEMENT_DYNCREATE(CDibView, CScrollView)

BEGIN_MESSAGE_MAP(CDibView, CScrollView)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_KEYDOWN()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_RBUTTONDBLCLK()
    ON_WM_SETCURSOR()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_MESSAGE(WM_PALETTEREALIZE, OnPaletteRealize)
    ON_MESSAGE(WM_VIEWARRANGE, OnViewArrange)
    ON_MESSAGE(WM_VIEWKIND, OnViewKind)
    ON_MESSAGE(WM_VIEWSTATUS, OnViewStatus)
    ON_MESSAGE(WM_VIEWIDLE, OnViewIdle)
    ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateEditCopy)
    ON_COMMAND(ID_ZOOM_IN, OnZoomIn)
    ON_UPDATE_COMMAND_UI(ID_ZOOM_IN, OnUpdateZoomIn)
    ON_COMMAND(ID_ZOOM_OUT, OnZoomOut)
    ON_UPDATE_COMMAND_UI(ID_ZOOM_OUT, OnUpdateZoomOut)
    ON_COMMAND(ID_VIEW_ACTUAL_SIZE, OnModeToScale)
    ON_UPDATE_COMMAND_UI(ID_VIEW_ACTUAL_SIZE, OnUpdateModeToScale)
    ON_COMMAND(ID_VIEW_PROPORTIONAL, OnModeProportional)
    ON_UPDATE_COMMAND_UI(ID_VIEW_PROPORTIONAL, OnUpdateModeProportional)
    ON_COMMAND(ID_VIEW_FIT_WINDOW, OnModeFit)
    ON_UPDATE_COMMAND_UI(ID_VIEW_FIT_WINDOW, OnUpdateModeFit)
    ON_COMMAND(ID_VIEW_FULLSCREEN, OnFullScreen)
    ON_COMMAND(ID_VIEW_LOCAL_TOOLBAR, OnLocalToolBar)
    ON_UPDATE_COMMAND_UI(ID_VIEW_LOCAL_TOOLBAR, OnUpdateLocalToolBar)
    ON_COMMAND(ID_HIDE_LOCAL_TOOLBAR, OnLocalToolBar)
    ON_UPDATE_COMMAND_UI(ID_PICTURE_ADD_TO_LIBRARY, OnUpdateAddToLibrary)
    ON_COMMAND(ID_FILE_PRINT, OnPrintPicture)
    ON_COMMAND(ID_FILE_PRINT_PREVIEW, OnPreviewPicture)
    ON_COMMAND(ID_FILE_PRINT_POSTER, OnPrintPoster)
    ON_COMMAND(ID_FILE_PRINT_POSTER_PREVIEW, OnPreviewPoster)
    ON_UPDATE_COMMAND_UI(ID_FILE_PRINT, OnUpdatePrint)
    ON_UPDATE_COMMAND_UI(ID_FILE_PRINT_PREVIEW, OnUpdatePrint)
    ON_UPDATE_COMMAND_UI(ID_FILE_PRINT_POSTER, OnUpdatePrint)
    ON_UPDATE_COMMAND_UI(ID_FILE_PRINT_POSTER_PREVIEW, OnUpdatePrint)
END_MESSAGE_MAP()

CDibView::CDibView()
{
    m_nMode = (g_DefaultImageSize >= kDibModeToScale && g_DefaultImageSize <= kDibModeFit)
                  ? g_DefaultImageSize
                  : kDibModeToScale;
    m_hDrawDib = ::DrawDibOpen();
    m_bOpenedFullScreen = g_bOpenFullScreen;
    m_hReturnWnd = g_pFullScreenReturnWnd != nullptr ? g_pFullScreenReturnWnd->GetSafeHwnd() : nullptr;
}

CDibView::~CDibView()
{
    if (m_hDrawDib != nullptr)
        ::DrawDibClose(m_hDrawDib);
}

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

CPoint CDibView::GetViewScrollPosition() const
{
    return m_bFullScreen ? m_ptFullScroll : GetDeviceScrollPosition();
}

void CDibView::ScrollViewTo(CPoint pt)
{
    if (!m_bFullScreen) {
        ScrollToPosition(pt);
        return;
    }
    pt.x = std::max(0L, std::min(pt.x, m_ptFullLimit.x));
    pt.y = std::max(0L, std::min(pt.y, m_ptFullLimit.y));
    if (pt == m_ptFullScroll)
        return;
    ScrollWindow(m_ptFullScroll.x - pt.x, m_ptFullScroll.y - pt.y);
    m_ptFullScroll = pt;
}

void CDibView::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint)
{
    CScrollView::OnUpdate(pSender, lHint, pHint);
    CDibDoc* pDoc = GetDocument();
    if (pDoc == nullptr || m_hWnd == nullptr)
        return;
    CRect client;
    GetClientRect(&client);
    if (m_nMode != kDibModeToScale) {
        UpdateFullScreenLimits(CSize(1, 1));
        SetScrollSizes(MM_TEXT, CSize(1, 1));
        Invalidate(FALSE);
        return;
    }
    CSize doc = pDoc->GetDocSize();
    CPoint centre;
    BOOL bKeepCentre = m_nPrevZoom > 0;
    if (bKeepCentre) {
        CPoint pos = GetViewScrollPosition();
        int vw = std::min(static_cast<int>(doc.cx), MulDiv(client.Width(), 100, m_nPrevZoom));
        int vh = std::min(static_cast<int>(doc.cy), MulDiv(client.Height(), 100, m_nPrevZoom));
        centre.x = MulDiv(pos.x, 100, m_nPrevZoom) + vw / 2;
        centre.y = MulDiv(pos.y, 100, m_nPrevZoom) + vh / 2;
    }
    CSize total(std::max(1, MulDiv(doc.cx, m_nZoom, 100)), std::max(1, MulDiv(doc.cy, m_nZoom, 100)));
    if (m_bFullScreen) {
        UpdateFullScreenLimits(total);
        SetScrollSizes(MM_TEXT, CSize(1, 1));
    } else {
        SetScrollSizes(MM_TEXT, total);
    }
    if (bKeepCentre) {
        int vw = std::min(static_cast<int>(doc.cx), MulDiv(client.Width(), 100, m_nZoom));
        int vh = std::min(static_cast<int>(doc.cy), MulDiv(client.Height(), 100, m_nZoom));
        CPoint topLeft(std::max(0L, centre.x - vw / 2), std::max(0L, centre.y - vh / 2));
        m_nPrevZoom = -1;
        ScrollViewTo(CPoint(MulDiv(topLeft.x, m_nZoom, 100), MulDiv(topLeft.y, m_nZoom, 100)));
    } else if (m_bFullScreen) {
        ScrollViewTo(m_ptFullScroll); // clamps to the new limits
    }
    Invalidate(FALSE);
}

void CDibView::UpdateFullScreenLimits(CSize total)
{
    if (!m_bFullScreen)
        return;
    CRect client;
    GetClientRect(&client);
    m_ptFullLimit.x = std::max(0L, total.cx - client.Width());
    m_ptFullLimit.y = std::max(0L, total.cy - client.Height());
    m_ptFullScroll.x = std::min(m_ptFullScroll.x, m_ptFullLimit.x);
    m_ptFullScroll.y = std::min(m_ptFullScroll.y, m_ptFullLimit.y);
}

void CDibView::OnSize(UINT nType, int cx, int cy)
{
    CScrollView::OnSize(nType, cx, cy);
    // Centring and fitting depend on the client size.
    Invalidate(FALSE);
}

// ---- painting ----

namespace {

void FillBand(HDC hdc, HBRUSH brush, int l, int t, int r, int b)
{
    if (r <= l || b <= t)
        return;
    RECT rc = {l, t, r, b};
    ::FillRect(hdc, &rc, brush);
}

// Fills the client around the picture rectangle (the bottom band goes 30 pixels further).
void FillMargins(HDC hdc, COLORREF color, const RECT& client, const RECT& pic)
{
    HBRUSH brush = ::CreateSolidBrush(color);
    if (brush == nullptr)
        return;
    RECT p;
    if (!::IntersectRect(&p, &pic, &client)) {
        p = {client.left, client.top, client.left, client.top};
        FillBand(hdc, brush, client.left, client.top, client.right, client.bottom + 30);
    } else {
        FillBand(hdc, brush, client.left, client.top, client.right, p.top);
        FillBand(hdc, brush, client.left, p.top, p.left, p.bottom);
        FillBand(hdc, brush, p.right, p.top, client.right, p.bottom);
        FillBand(hdc, brush, client.left, p.bottom, client.right, client.bottom + 30);
    }
    ::DeleteObject(brush);
}

} // namespace

void CDibView::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    PaintTo(dc.m_hDC, client, dc.m_ps.rcPaint);
}

void CDibView::OnDraw(CDC* pDC)
{
    if (pDC->IsPrinting()) {
        DrawPrintedPage(pDC);
        return;
    }
    CRect client;
    GetClientRect(&client);
    PaintTo(pDC->m_hDC, client, client);
}

BOOL CDibView::OnEraseBkgnd(CDC*)
{
    // The paint covers every pixel.
    return TRUE;
}

void CDibView::PaintTo(HDC hdc, const RECT& client, const RECT& update)
{
    COLORREF margin = m_bFullScreen ? g_CouleurPleinEcran : g_CouleurView;
    CDibDoc* pDoc = GetDocument();
    HGLOBAL hDIB = pDoc != nullptr ? pDoc->GetHDIB() : nullptr;
    BITMAPINFOHEADER* pbi = hDIB != nullptr ? static_cast<BITMAPINFOHEADER*>(::GlobalLock(hDIB)) : nullptr;
    if (pbi == nullptr) {
        FillMargins(hdc, margin, client, RECT{0, 0, 0, 0});
        return;
    }
    int w = pbi->biWidth;
    int h = std::abs(pbi->biHeight);
    int cw = client.right - client.left;
    int ch = client.bottom - client.top;
    RECT src = {0, 0, w, h};
    RECT dest = {0, 0, 0, 0};
    BOOL bDraw = w > 0 && h > 0;
    if (m_nMode == kDibModeToScale) {
        ZoomLayout layout = ComputeZoomLayout(cw, ch, w, h, m_nZoom);
        CPoint scroll = GetViewScrollPosition();
        RECT pic = {layout.ox - scroll.x, layout.oy - scroll.y, layout.ox - scroll.x + layout.zw,
                    layout.oy - scroll.y + layout.zh};
        FillMargins(hdc, margin, client, pic);
        bDraw = bDraw && ZoomedSourceRect(update, scroll, layout, w, h, m_nZoom, &src, &dest);
    } else if (m_nMode == kDibModeProportional) {
        dest = ProportionalRect(cw, ch, w, h);
        FillMargins(hdc, margin, client, dest);
        bDraw = bDraw && !::IsRectEmpty(&dest);
    } else {
        dest = client;
    }
    if (bDraw && m_hDrawDib != nullptr) {
        // DrawDib wants the colour count spelt out for palette pictures.
        if (pbi->biClrUsed == 0 && pbi->biBitCount <= 8)
            pbi->biClrUsed = 1u << pbi->biBitCount;
        // Shrinking in the DC's default mode ANDs the dropped pixels together: dark streaks.
        int nOldMode = ::SetStretchBltMode(hdc, COLORONCOLOR);
        ::DrawDibDraw(m_hDrawDib, hdc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top,
                      pbi, FindDIBBits(pbi), src.left, src.top, src.right - src.left, src.bottom - src.top,
                      m_bFirstPaint ? 0 : DDF_BACKGROUNDPAL);
        if (nOldMode != 0)
            ::SetStretchBltMode(hdc, nOldMode);
        m_bFirstPaint = 0;
        m_nDrawCount++;
    }
    ::GlobalUnlock(hDIB);
}

LRESULT CDibView::OnPaletteRealize(WPARAM wParam, LPARAM)
{
    CDibDoc* pDoc = GetDocument();
    if (pDoc == nullptr || pDoc->GetHDIB() == nullptr)
        return 0;
    BOOL bBackground = reinterpret_cast<HWND>(wParam) != m_hWnd;
    CClientDC dc(this);
    if (m_hDrawDib != nullptr) {
        if (::DrawDibRealize(m_hDrawDib, dc.m_hDC, bBackground) > 0)
            Invalidate(FALSE);
        return 0;
    }
    if (pDoc->GetDocPalette()->m_hObject == nullptr)
        return 0;
    CPalette* pOld = dc.SelectPalette(pDoc->GetDocPalette(), bBackground);
    if (dc.RealizePalette() > 0)
        pDoc->UpdateAllViews(nullptr);
    dc.SelectPalette(pOld, TRUE);
    return 0;
}

void CDibView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView)
{
    CScrollView::OnActivateView(bActivate, pActivateView, pDeactiveView);
    if (bActivate && pActivateView == this) {
        OnPaletteRealize(reinterpret_cast<WPARAM>(m_hWnd), 0);
        UpdateStatusText();
    }
}

// ---- zoom and modes ----

void CDibView::SetZoom(int nZoom)
{
    nZoom = std::max(kZoomMin, std::min(nZoom, kZoomMax));
    m_nPrevZoom = m_nZoom;
    m_nZoom = nZoom;
    CDibDoc* pDoc = GetDocument();
    if (pDoc != nullptr)
        pDoc->UpdateAllViews(nullptr);
    UpdateStatusText();
}

void CDibView::OnZoomIn()
{
    if (m_nMode != kDibModeToScale || m_nZoom >= kZoomMax)
        return;
    SetZoom(g_bFineZoom ? ZoomInFine(m_nZoom) : ZoomInBand(m_nZoom));
}

void CDibView::OnZoomOut()
{
    if (m_nMode != kDibModeToScale || m_nZoom <= kZoomMin)
        return;
    SetZoom(g_bFineZoom ? ZoomOutFine(m_nZoom) : ZoomOutBand(m_nZoom));
}

void CDibView::SetMode(int nMode)
{
    if (nMode == m_nMode)
        return;
    m_nPrevZoom = -1;
    m_nMode = nMode;
    g_DefaultImageSize = nMode;
    CDibDoc* pDoc = GetDocument();
    if (pDoc != nullptr)
        pDoc->UpdateAllViews(nullptr);
}

void CDibView::OnUpdateZoomIn(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_nMode == kDibModeToScale && m_nZoom < kZoomMax);
}
void CDibView::OnUpdateZoomOut(CCmdUI* pCmdUI) { pCmdUI->Enable(m_nMode == kDibModeToScale && m_nZoom > 5); }
void CDibView::OnUpdateModeToScale(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_nMode == kDibModeToScale); }
void CDibView::OnUpdateModeProportional(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_nMode == kDibModeProportional); }
void CDibView::OnUpdateModeFit(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_nMode == kDibModeFit); }

void CDibView::OnUpdateAddToLibrary(CCmdUI* pCmdUI)
{
    // The library is not there yet.
    pCmdUI->Enable(FALSE);
}

// ---- status text ----

namespace {

LPCSTR ColourName(int bits)
{
    switch (bits) {
    case 1:
        return "2";
    case 4:
        return "16";
    case 8:
        return "256";
    case 15:
    case 16:
        return "64K";
    default:
        return "16,8M";
    }
}

} // namespace

void CDibView::UpdateStatusText()
{
    CDibDoc* pDoc = GetDocument();
    if (pDoc == nullptr || g_pMainFrameHost == nullptr || g_pMainFrameHost->GetStatusMode() != kStatusPicture)
        return;
    static CString s_strFormat = AfxLoadText(IDS_PICTURE_STATUS);
    CString strText;
    if (pDoc->GetHDIB() != nullptr)
        strText.Format(s_strFormat, pDoc->m_nWidth, pDoc->m_nHeight, ColourName(pDoc->m_nBitCount), m_nZoom);
    g_pMainFrameHost->SetStatusText1(strText);
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

// ---- keys and mouse ----

void CDibView::OnKeyDown(UINT nChar, UINT, UINT)
{
    CPoint pos = GetViewScrollPosition();
    switch (nChar) {
    case VK_RETURN:
        if (m_bFullScreen)
            LeaveFullScreen();
        else if (GetParentFrame() != nullptr)
            GetParentFrame()->PostMessage(WM_CLOSE);
        return;
    case VK_ESCAPE:
        if (m_bFullScreen)
            LeaveFullScreen();
        else if (g_pMainFrameHost != nullptr)
            g_pMainFrameHost->GetFrameWnd()->PostMessage(WM_COMMAND, ID_VIEW_LIBRARY_BAR);
        return;
    case VK_SPACE:
        if (m_nZoom != 100)
            SetZoom(100);
        break;
    case VK_PRIOR:
        ScrollViewTo(CPoint(pos.x, pos.y - 240));
        break;
    case VK_NEXT:
        ScrollViewTo(CPoint(pos.x, pos.y + 240));
        break;
    case VK_LEFT:
        ScrollViewTo(CPoint(pos.x - 10, pos.y));
        break;
    case VK_RIGHT:
        ScrollViewTo(CPoint(pos.x + 10, pos.y));
        break;
    case VK_UP:
        ScrollViewTo(CPoint(pos.x, pos.y - 10));
        break;
    case VK_DOWN:
        ScrollViewTo(CPoint(pos.x, pos.y + 10));
        break;
    case VK_ADD:
        OnZoomIn();
        break;
    case VK_SUBTRACT:
        OnZoomOut();
        break;
    default:
        if (m_bFullScreen) {
            LeaveFullScreen();
            return;
        }
        break;
    }
    Default();
}

void CDibView::OnLButtonDown(UINT, CPoint)
{
    if (!m_bFullScreen) {
        Default();
        return;
    }
    m_bLeftHeld = TRUE;
    if (m_nMode == kDibModeToScale && !m_bRightHeld) {
        g_bFineZoom = TRUE;
        OnZoomIn();
        g_bFineZoom = FALSE;
    } else {
        LeaveFullScreen();
    }
}

void CDibView::OnRButtonDown(UINT, CPoint point)
{
    if (!m_bFullScreen) {
        ShowContextMenu(point);
        return;
    }
    m_bRightHeld = TRUE;
    if (m_nMode == kDibModeToScale && !m_bLeftHeld) {
        g_bFineZoom = TRUE;
        OnZoomOut();
        g_bFineZoom = FALSE;
    } else {
        LeaveFullScreen();
    }
}

void CDibView::OnLButtonUp(UINT, CPoint)
{
    m_bLeftHeld = FALSE;
    Default();
}

void CDibView::OnRButtonUp(UINT, CPoint)
{
    m_bRightHeld = FALSE;
    Default();
}

void CDibView::OnLButtonDblClk(UINT, CPoint)
{
    if (m_bFullScreen)
        LeaveFullScreen();
    else if (GetParentFrame() != nullptr)
        GetParentFrame()->PostMessage(WM_CLOSE);
}

void CDibView::OnRButtonDblClk(UINT, CPoint)
{
    if (m_bFullScreen)
        LeaveFullScreen();
    else
        Default();
}

void CDibView::ShowContextMenu(CPoint point)
{
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != nullptr)
        pFrame->ActivateFrame();
    CMenu menu;
    if (!menu.LoadMenu(IDR_CONTEXTMENUS))
        return;
    CMenu* pPopup = menu.GetSubMenu(1);
    if (pPopup == nullptr)
        return;
    ClientToScreen(&point);
    HDC hdc = ::GetDC(nullptr);
    int screenWidth = ::GetDeviceCaps(hdc, HORZRES);
    ::ReleaseDC(nullptr, hdc);
    CWnd* pTarget = g_pMainFrameHost != nullptr ? static_cast<CWnd*>(g_pMainFrameHost->GetFrameWnd())
                                                : static_cast<CWnd*>(this);
    if (point.x < screenWidth / 2)
        pPopup->TrackPopupMenu(TPM_RIGHTBUTTON, point.x - 10, point.y - 10, pTarget);
    else
        pPopup->TrackPopupMenu(TPM_RIGHTBUTTON | TPM_RIGHTALIGN, point.x + 10, point.y - 10, pTarget);
}
