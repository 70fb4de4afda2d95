// The animated-GIF view's display of the shown frame: painting in the three modes, zoom, palette,
// status text, keys, mouse, full screen, clipboard copy and the print copy.
#include "viewers/GifView.h"

#include "shell/MainFrameHost.h"
#include "shell/Settings.h"
#include "viewers/AnimToolBar.h"
#include "core/BusyCursor.h"
#include "core/DIB.h"
#include "core/PackedDib.h"
#include "framework/CmdUI.h"
#include "framework/Dc.h"
#include "framework/DockBar.h"
#include "framework/FrameWnd.h"
#include "framework/FrameworkTexts.h"
#include "framework/MDIChildWnd.h"
#include "framework/Menu.h"
#include "framework/StdIds.h"
#include "resources/resource.h"
#include "viewers/GifDoc.h"
#include "viewers/ViewerGlobals.h"
#include "viewers/ZoomGeometry.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

const int kAnchorX = 300;
const int kAnchorY = 200;
const char kAnchorClass[] = "TessarineAnimFullScreenAnchor";

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
        FillBand(hdc, brush, client.left, client.top, client.right, client.bottom + 30);
    } else {
        FillBand(hdc, brush, client.left, client.top, client.right, p.top);
        FillBand(hdc, brush, client.left, p.top, p.left, p.bottom);
        FillBand(hdc, brush, p.right, p.top, client.right, p.bottom);
        FillBand(hdc, brush, client.left, p.bottom, client.right, client.bottom + 30);
    }
    ::DeleteObject(brush);
}

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

// When its frame goes, the view that is away in full screen goes with it.
LRESULT CALLBACK AnchorProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        HWND hView = reinterpret_cast<HWND>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
        ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, 0);
        if (hView != nullptr && ::IsWindow(hView))
            ::DestroyWindow(hView);
        return 0;
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

void RegisterAnchorClass()
{
    static bool s_bRegistered = false;
    if (s_bRegistered)
        return;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = AnchorProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = kAnchorClass;
    s_bRegistered = ::RegisterClassA(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

} // namespace

// ---- painting ----

void CGifView::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    PaintTo(dc.m_hDC, client, dc.m_ps.rcPaint);
}

void CGifView::OnDraw(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    PaintTo(pDC->m_hDC, client, client);
}

BOOL CGifView::OnEraseBkgnd(CDC*) { return TRUE; }

void CGifView::PaintTo(HDC hdc, const RECT& client, const RECT& update)
{
    COLORREF margin = m_bFullScreen ? g_CouleurPleinEcran : g_CouleurView;
    CGifDoc* pDoc = GetDocument();
    HGLOBAL hDIB = pDoc != nullptr ? pDoc->GetFrameDIB(m_nCurrentFrame) : nullptr;
    BITMAPINFOHEADER* pbi = hDIB != nullptr ? static_cast<BITMAPINFOHEADER*>(::GlobalLock(hDIB)) : nullptr;
    if (pbi == nullptr) {
        if (m_bPaintMargins)
            FillMargins(hdc, margin, client, RECT{0, 0, 0, 0});
        return;
    }
    int w = pbi->biWidth;
    int h = std::abs(pbi->biHeight);
    int cw = client.right - client.left;
    int ch = client.bottom - client.top;
    RECT src = {0, 0, w, h};
    RECT dest = client;
    BOOL bDraw = w > 0 && h > 0;
    if (m_nMode == 0) {
        ZoomLayout layout = ComputeZoomLayout(cw, ch, w, h, m_nZoom);
        CPoint scroll = GetViewScrollPosition();
        RECT pic = {layout.ox - scroll.x, layout.oy - scroll.y, layout.ox - scroll.x + layout.zw,
                    layout.oy - scroll.y + layout.zh};
        if (m_bPaintMargins)
            FillMargins(hdc, margin, client, pic);
        bDraw = bDraw && ZoomedSourceRect(update, scroll, layout, w, h, m_nZoom, &src, &dest);
    } else if (m_nMode == 1) {
        dest = ProportionalRect(cw, ch, w, h);
        if (m_bPaintMargins)
            FillMargins(hdc, margin, client, dest);
        bDraw = bDraw && !::IsRectEmpty(&dest);
    }
    if (bDraw && m_hDrawDib != nullptr) {
        // DrawDib wants the colour count spelt out for palette pictures: set in the frame's header.
        if (pbi->biClrUsed == 0 && pbi->biBitCount <= 8)
            pbi->biClrUsed = 1u << pbi->biBitCount;
        // DrawDib keeps the colour table it began with while the DC and the header stay the same:
        // each frame brings its own table, so another frame starts it afresh.
        if (hDIB != m_hLastDrawn) {
            ::DrawDibEnd(m_hDrawDib);
            m_hLastDrawn = hDIB;
        }
        int nOldMode = ::SetStretchBltMode(hdc, COLORONCOLOR);
        ::DrawDibDraw(m_hDrawDib, hdc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top,
                      pbi, FindDIBBits(pbi), src.left, src.top, src.right - src.left, src.bottom - src.top,
                      m_bFirstPaint ? 0 : DDF_BACKGROUNDPAL);
        if (nOldMode != 0)
            ::SetStretchBltMode(hdc, nOldMode);
        m_bFirstPaint = 0;
    }
    ::GlobalUnlock(hDIB);
}

LRESULT CGifView::OnPaletteRealize(WPARAM wParam, LPARAM)
{
    CGifDoc* pDoc = GetDocument();
    if (pDoc == nullptr || pDoc->GetFrameDIB(m_nCurrentFrame) == nullptr || m_hWnd == nullptr)
        return 0;
    BOOL bBackground = reinterpret_cast<HWND>(wParam) != m_hWnd;
    CClientDC dc(this);
    if (m_hDrawDib != nullptr) {
        if (::DrawDibRealize(m_hDrawDib, dc.m_hDC, bBackground) > 0)
            Invalidate(FALSE);
        return 0;
    }
    CPalette* pPalette = pDoc->GetFramePalette(m_nCurrentFrame);
    if (pPalette == nullptr || pPalette->m_hObject == nullptr)
        return 0;
    CPalette* pOld = dc.SelectPalette(pPalette, bBackground);
    if (dc.RealizePalette() > 0)
        Invalidate(FALSE);
    dc.SelectPalette(pOld, TRUE);
    return 0;
}

void CGifView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView)
{
    CScrollView::OnActivateView(bActivate, pActivateView, pDeactiveView);
    if (bActivate && pActivateView == this) {
        OnPaletteRealize(reinterpret_cast<WPARAM>(m_hWnd), 0);
        UpdateStatusText();
    }
}

void CGifView::UpdateStatusText()
{
    CGifDoc* pDoc = GetDocument();
    if (pDoc == nullptr || g_pMainFrameHost == nullptr
        || g_pMainFrameHost->GetStatusMode() != kStatusAnimation)
        return;
    static CString s_strFormat = AfxLoadText(IDS_PICTURE_STATUS);
    CString strText;
    HGLOBAL hDIB = pDoc->GetFrameDIB(m_nCurrentFrame);
    const BITMAPINFOHEADER* pbi =
        hDIB != nullptr ? static_cast<const BITMAPINFOHEADER*>(::GlobalLock(hDIB)) : nullptr;
    if (pbi != nullptr) {
        strText.Format(s_strFormat, static_cast<int>(pbi->biWidth), static_cast<int>(std::abs(pbi->biHeight)),
                       ColourName(pbi->biBitCount), m_nZoom);
        ::GlobalUnlock(hDIB);
    }
    g_pMainFrameHost->SetStatusText1(strText);
}

// ---- scrolling, zoom and modes ----

CPoint CGifView::GetViewScrollPosition() const
{
    return m_bFullScreen ? m_ptFullScroll : GetDeviceScrollPosition();
}

void CGifView::ScrollViewTo(CPoint pt)
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

void CGifView::UpdateFullScreenLimits(CSize total)
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

void CGifView::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint)
{
    CScrollView::OnUpdate(pSender, lHint, pHint);
    CGifDoc* pDoc = GetDocument();
    if (pDoc == nullptr || m_hWnd == nullptr)
        return;
    if (m_nMode != 0) {
        UpdateFullScreenLimits(CSize(1, 1));
        SetScrollSizes(MM_TEXT, CSize(1, 1));
        Invalidate(FALSE);
        return;
    }
    CRect client;
    GetClientRect(&client);
    CSize doc = pDoc->GetSize();
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
        ScrollViewTo(m_ptFullScroll);
    }
    Invalidate(FALSE);
}

void CGifView::OnSize(UINT nType, int cx, int cy)
{
    CScrollView::OnSize(nType, cx, cy);
    Invalidate(FALSE);
}

void CGifView::SetZoom(int nZoom)
{
    nZoom = std::max(kZoomMin, std::min(nZoom, kZoomMax));
    m_nPrevZoom = m_nZoom;
    m_nZoom = nZoom;
    CGifDoc* pDoc = GetDocument();
    if (pDoc != nullptr)
        pDoc->UpdateAllViews(nullptr);
    UpdateStatusText();
}

void CGifView::OnZoomIn()
{
    if (m_nMode != 0 || m_nZoom >= kZoomMax)
        return;
    SetZoom(g_bFineZoomAnim ? ZoomInFine(m_nZoom) : ZoomInBand(m_nZoom));
}

void CGifView::OnZoomOut()
{
    if (m_nMode != 0 || m_nZoom <= kZoomMin)
        return;
    SetZoom(g_bFineZoomAnim ? ZoomOutFine(m_nZoom) : ZoomOutBand(m_nZoom));
}

void CGifView::SetMode(int nMode)
{
    if (nMode == m_nMode)
        return;
    m_nPrevZoom = -1;
    m_nMode = nMode;
    g_DefaultImageSize = nMode;
    CGifDoc* pDoc = GetDocument();
    if (pDoc != nullptr)
        pDoc->UpdateAllViews(nullptr);
}

void CGifView::OnUpdateZoomIn(CCmdUI* pCmdUI) { pCmdUI->Enable(m_nMode == 0 && m_nZoom < kZoomMax); }
void CGifView::OnUpdateZoomOut(CCmdUI* pCmdUI) { pCmdUI->Enable(m_nMode == 0 && m_nZoom > 5); }
void CGifView::OnUpdateModeToScale(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_nMode == 0); }
void CGifView::OnUpdateModeProportional(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_nMode == 1); }
void CGifView::OnUpdateModeFit(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_nMode == 2); }

// The library cannot take pictures from a window yet.
void CGifView::OnUpdateAddToLibrary(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }

// ---- keys and mouse ----

void CGifView::OnKeyDown(UINT nChar, UINT, UINT)
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

void CGifView::OnLButtonDown(UINT, CPoint)
{
    if (!m_bFullScreen) {
        Default();
        return;
    }
    m_bLeftHeld = TRUE;
    if (m_nMode == 0 && !m_bRightHeld) {
        g_bFineZoomAnim = TRUE;
        OnZoomIn();
        g_bFineZoomAnim = FALSE;
    } else {
        LeaveFullScreen();
    }
}

void CGifView::OnRButtonDown(UINT, CPoint point)
{
    if (!m_bFullScreen) {
        ShowContextMenu(point);
        return;
    }
    m_bRightHeld = TRUE;
    if (m_nMode == 0 && !m_bLeftHeld) {
        g_bFineZoomAnim = TRUE;
        OnZoomOut();
        g_bFineZoomAnim = FALSE;
    } else {
        LeaveFullScreen();
    }
}

void CGifView::OnLButtonUp(UINT, CPoint)
{
    m_bLeftHeld = FALSE;
    Default();
}

void CGifView::OnRButtonUp(UINT, CPoint)
{
    m_bRightHeld = FALSE;
    Default();
}

void CGifView::OnLButtonDblClk(UINT, CPoint)
{
    if (m_bFullScreen)
        LeaveFullScreen();
    else if (GetParentFrame() != nullptr)
        GetParentFrame()->PostMessage(WM_CLOSE);
}

void CGifView::ShowContextMenu(CPoint point)
{
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != nullptr)
        pFrame->ActivateFrame();
    CMenu menu;
    if (!menu.LoadMenu(IDR_CONTEXTMENUS))
        return;
    CMenu* pPopup = menu.GetSubMenu(2);
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

BOOL CGifView::OnSetCursor(CWnd*, UINT, UINT)
{
    if (m_bFullScreen) {
        ::SetCursor(nullptr);
        return TRUE;
    }
    return static_cast<BOOL>(Default());
}

// ---- full screen ----

void CGifView::EnterFullScreen()
{
    if (m_bFullScreen || m_hWnd == nullptr)
        return;
    HDC hdc = ::GetDC(nullptr);
    int cx = ::GetDeviceCaps(hdc, HORZRES);
    int cy = ::GetDeviceCaps(hdc, VERTRES);
    ::ReleaseDC(nullptr, hdc);

    m_dwSavedStyle = GetStyle();
    m_hSavedParent = ::GetParent(m_hWnd);
    RegisterAnchorClass();
    m_hAnchor = ::CreateWindowExA(0, kAnchorClass, "", WS_CHILD, 0, 0, 0, 0, m_hSavedParent, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
    if (m_hAnchor != nullptr)
        ::SetWindowLongPtrA(m_hAnchor, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(m_hWnd));
    ::SetWindowLongA(m_hWnd, GWL_STYLE, WS_POPUP | WS_VISIBLE);
    ::SetParent(m_hWnd, nullptr);
    SetDlgCtrlID(0);
    m_ptFullScroll = CPoint(0, 0);
    m_bFullScreen = TRUE;
    ::SetWindowPos(m_hWnd, HWND_TOP, -2, -2, cx + 4, cy + 4, SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    CGifDoc* pDoc = GetDocument();
    if (pDoc != nullptr)
        pDoc->UpdateAllViews(nullptr);
    Invalidate(FALSE);
    UpdateWindow();
    ::SetForegroundWindow(m_hWnd);
    ::SetFocus(m_hWnd);
    m_bReanchor = TRUE;
    ::SetCursorPos(kAnchorX, kAnchorY);
    if (g_pMainFrameHost != nullptr)
        g_pMainFrameHost->SetFullScreenView(this);
    m_bLeftHeld = m_bRightHeld = FALSE;
}

void CGifView::DestroyAnchor()
{
    HWND hAnchor = m_hAnchor;
    m_hAnchor = nullptr;
    if (hAnchor != nullptr && ::IsWindow(hAnchor)) {
        ::SetWindowLongPtrA(hAnchor, GWLP_USERDATA, 0);
        ::DestroyWindow(hAnchor);
    }
}

void CGifView::LeaveFullScreen()
{
    if (!m_bFullScreen)
        return;
    CFrameWnd* pFrame = GetParentFrame();
    m_bFullScreen = FALSE;
    m_bLeftHeld = m_bRightHeld = FALSE;
    ::SetWindowLongA(m_hWnd, GWL_STYLE, m_dwSavedStyle);
    ::SetParent(m_hWnd, m_hSavedParent);
    SetDlgCtrlID(AFX_IDW_PANE_FIRST);
    DestroyAnchor();
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (m_nMode != 0)
        SetScrollSizes(MM_TEXT, CSize(1, 1));
    if (g_pMainFrameHost != nullptr && g_pMainFrameHost->GetFullScreenView() == this)
        g_pMainFrameHost->SetFullScreenView(nullptr);
    pFrame = GetParentFrame();
    if (m_bOpenedFullScreen) {
        if (g_pMainFrameHost != nullptr)
            ::SetActiveWindow(g_pMainFrameHost->GetFrameWnd()->m_hWnd);
        CWnd* pReturn = m_hReturnWnd != nullptr && ::IsWindow(m_hReturnWnd)
                            ? CWnd::FromHandlePermanent(m_hReturnWnd)
                            : nullptr;
        if (pReturn != nullptr && g_pMainFrameHost != nullptr
            && pReturn->IsKindOf(RUNTIME_CLASS(CMDIChildWnd)))
            g_pMainFrameHost->GetFrameWnd()->MDIActivate(pReturn);
        if (pFrame != nullptr)
            pFrame->PostMessage(WM_CLOSE);
        return;
    }
    CGifDoc* pDoc = GetDocument();
    if (pDoc != nullptr)
        pDoc->UpdateAllViews(nullptr);
    if (g_pMainFrameHost != nullptr)
        ::SetActiveWindow(g_pMainFrameHost->GetFrameWnd()->m_hWnd);
    if (pFrame != nullptr)
        pFrame->RecalcLayout();
    // The bar was left alone meanwhile: bring it up to the frame shown.
    CAnimToolBar* pBar = GetAnimBar();
    if (pBar != nullptr && pBar->m_wndSlider.m_hWnd != nullptr)
        pBar->m_wndSlider.SetPos(m_nCurrentFrame);
    SetFrameDisplay();
    UpdatePlayButton();
    Invalidate(FALSE);
    SetFocus();
}

void CGifView::TrackMouseInFullScreen()
{
    if (!m_bFullScreen)
        return;
    POINT cursor;
    if (!::GetCursorPos(&cursor))
        return;
    if (m_bReanchor) {
        m_bReanchor = FALSE;
        m_ptAnchor = CPoint(kAnchorX, kAnchorY);
        ::SetCursorPos(kAnchorX, kAnchorY);
    } else if (cursor.x != m_ptAnchor.x || cursor.y != m_ptAnchor.y) {
        int dx = std::abs(cursor.x - m_ptAnchor.x);
        int dy = std::abs(cursor.y - m_ptAnchor.y);
        CPoint pos = m_ptFullScroll;
        if (dy < dx) {
            ScrollViewTo(CPoint(pos.x + cursor.x - m_ptAnchor.x, pos.y));
            m_ptAnchor.x = kAnchorX;
        } else {
            ScrollViewTo(CPoint(pos.x, pos.y + cursor.y - m_ptAnchor.y));
            m_ptAnchor.y = kAnchorY;
        }
        ::SetCursorPos(m_ptAnchor.x, m_ptAnchor.y);
    }
    if (m_nMode == 0 && (m_bLeftHeld || m_bRightHeld)) {
        g_bFineZoomAnim = TRUE;
        if (m_bLeftHeld)
            OnZoomIn();
        else
            OnZoomOut();
        g_bFineZoomAnim = FALSE;
    }
}

// ---- clipboard and local tool bar ----

void CGifView::OnEditCopy()
{
    CGifDoc* pDoc = GetDocument();
    CDIB* pFrame = pDoc != nullptr ? pDoc->GetFrame(m_nCurrentFrame) : nullptr;
    if (m_bFullScreen || pFrame == nullptr || pFrame->IsEmpty())
        return;
    if (!::OpenClipboard(m_hWnd))
        return;
    SetAppCursor(kAppCursorBusy);
    ::EmptyClipboard();
    CBitmap* pBitmap = pFrame->CreateBitmap(pFrame->GetPalette());
    if (pBitmap != nullptr) {
        HBITMAP hBitmap = static_cast<HBITMAP>(pBitmap->Detach());
        if (hBitmap != nullptr && ::SetClipboardData(CF_BITMAP, hBitmap) == nullptr)
            ::DeleteObject(hBitmap);
    }
    if (pFrame->NumColors() != 0) {
        CPalette* pPalette = pFrame->CreateDIBPalette();
        if (pPalette != nullptr) {
            HPALETTE hPalette = static_cast<HPALETTE>(pPalette->Detach());
            if (hPalette != nullptr && ::SetClipboardData(CF_PALETTE, hPalette) == nullptr)
                ::DeleteObject(hPalette);
        }
    }
    // The frame itself too, so that a program pasting a DIB gets every pixel and colour as they are.
    HGLOBAL hCopy = CopyGlobalHandle(pFrame->GetHandle());
    if (hCopy != nullptr && ::SetClipboardData(CF_DIB, hCopy) == nullptr)
        ::GlobalFree(hCopy);
    ::CloseClipboard();
    RestoreAppCursor();
}

void CGifView::OnUpdateEditCopy(CCmdUI* pCmdUI)
{
    CGifDoc* pDoc = GetDocument();
    pCmdUI->Enable(pDoc != nullptr && pDoc->GetFrameDIB(m_nCurrentFrame) != nullptr);
}

void CGifView::OnLocalToolBar()
{
    CFrameWnd* pFrame = GetParentFrame();
    CAnimToolBar* pBar = GetAnimBar();
    if (pFrame == nullptr || pBar == nullptr)
        return;
    BOOL bShow = !pBar->IsWindowVisible();
    AfxShowControlBar(pFrame, pBar, bShow, FALSE);
    g_ShowDibToolBar = bShow ? 1 : 0;
    pFrame->RecalcLayout();
}

void CGifView::OnUpdateLocalToolBar(CCmdUI* pCmdUI)
{
    if (m_bFullScreen)
        return;
    CAnimToolBar* pBar = GetAnimBar();
    pCmdUI->SetCheck(pBar != nullptr && pBar->IsWindowVisible() ? 1 : 0);
}

// ---- the print copy ----

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

// The page loop and the poster dialog come with printing; the view's part is the copy of the
// frame shown when the command came, which the pages draw while the animation goes on.
void CGifView::OnFilePrint()
{
    if (!m_bFullScreen)
        MakePrintCopy();
}

void CGifView::OnFilePrintPreview()
{
    if (!m_bFullScreen)
        MakePrintCopy();
}

void CGifView::OnFilePrintPoster()
{
    if (!m_bFullScreen)
        MakePrintCopy();
}

void CGifView::OnFilePrintPosterPreview()
{
    if (!m_bFullScreen)
        MakePrintCopy();
}
