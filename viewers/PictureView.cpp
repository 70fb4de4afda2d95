// The picture views' shared part: display modes, zoom, DrawDib painting, palette, keys, mouse,
// full screen, clipboard copy, adding to the library and the local bar switch.
#include "viewers/PictureView.h"

#include "shell/AppMessages.h"
#include "shell/LibraryLink.h"
#include "shell/MainFrameHost.h"
#include "shell/Settings.h"
#include "core/BusyCursor.h"
#include "core/DIB.h"
#include "core/PackedDib.h"
#include "framework/CmdUI.h"
#include "framework/CommandKeys.h"
#include "framework/Dc.h"
#include "framework/DockBar.h"
#include "framework/Document.h"
#include "framework/FrameWnd.h"
#include "framework/FrameworkTexts.h"
#include "framework/MDIChildWnd.h"
#include "framework/Menu.h"
#include "framework/StdIds.h"
#include "framework/ToolBar.h"
#include "resources/resource.h"
#include "viewers/ViewerGlobals.h"
#include "viewers/ZoomGeometry.h"

#include <algorithm>
#include <cstdlib>

IMPLEMENT_DYNAMIC(CPictureView, CScrollView)

BEGIN_MESSAGE_MAP(CPictureView, CScrollView)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_KEYDOWN()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_RBUTTONDBLCLK()
    ON_WM_SETCURSOR()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_PALETTEREALIZE, OnPaletteRealize)
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
    ON_COMMAND(ID_PICTURE_ADD_TO_LIBRARY, OnAddToLibrary)
    ON_UPDATE_COMMAND_UI(ID_PICTURE_ADD_TO_LIBRARY, OnUpdateAddToLibrary)
    // F3 sends the explorer's add, which here means this picture.
    ON_COMMAND(ID_EXPLORER_ADD_TO_LIBRARY, OnAddToLibrary)
    ON_UPDATE_COMMAND_UI(ID_EXPLORER_ADD_TO_LIBRARY, OnUpdateAddToLibrary)
END_MESSAGE_MAP()

namespace {

const int kAnchorX = 300;
const int kAnchorY = 200;
const char kAnchorClass[] = "TessarineFullScreenAnchor";

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

// The anchor's window procedure: when its frame goes, the view that is away goes with it.
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

CPictureView::CPictureView(BOOL& bFineZoom, int nContextMenu)
    : m_bFineZoom(bFineZoom), m_nContextMenu(nContextMenu)
{
    m_nMode = (g_DefaultImageSize >= kDibModeToScale && g_DefaultImageSize <= kDibModeFit)
                  ? g_DefaultImageSize
                  : kDibModeToScale;
    m_hDrawDib = ::DrawDibOpen();
    m_bOpenedFullScreen = g_bOpenFullScreen;
    m_hReturnWnd = g_pFullScreenReturnWnd != nullptr ? g_pFullScreenReturnWnd->GetSafeHwnd() : nullptr;
    m_hReturnKeys = m_bOpenedFullScreen ? AfxKeysOrigin() : nullptr;
}

CPictureView::~CPictureView()
{
    if (m_hDrawDib != nullptr)
        ::DrawDibClose(m_hDrawDib);
}

// ---- scrolling ----

CPoint CPictureView::GetViewScrollPosition() const
{
    return m_bFullScreen ? m_ptFullScroll : GetDeviceScrollPosition();
}

void CPictureView::ScrollViewTo(CPoint pt)
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

void CPictureView::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint)
{
    CScrollView::OnUpdate(pSender, lHint, pHint);
    if (m_pDocument == nullptr || m_hWnd == nullptr)
        return;
    if (m_nMode != kDibModeToScale) {
        UpdateFullScreenLimits(CSize(1, 1));
        SetScrollSizes(MM_TEXT, CSize(1, 1));
        Invalidate(FALSE);
        return;
    }
    CRect client;
    GetClientRect(&client);
    CSize doc = GetPictureSize();
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

void CPictureView::UpdateFullScreenLimits(CSize total)
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

void CPictureView::OnSize(UINT nType, int cx, int cy)
{
    CScrollView::OnSize(nType, cx, cy);
    // Centring and fitting depend on the client size.
    Invalidate(FALSE);
}

// ---- painting ----

void CPictureView::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    PaintTo(dc.m_hDC, client, dc.m_ps.rcPaint);
}

void CPictureView::OnDraw(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    PaintTo(pDC->m_hDC, client, client);
}

BOOL CPictureView::OnEraseBkgnd(CDC*)
{
    // The paint covers every pixel.
    return TRUE;
}

void CPictureView::PaintTo(HDC hdc, const RECT& client, const RECT& update)
{
    COLORREF margin = m_bFullScreen ? g_CouleurPleinEcran : g_CouleurView;
    CDIB* pPicture = GetShownPicture();
    HGLOBAL hDIB = pPicture != nullptr ? pPicture->GetHandle() : nullptr;
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
    if (m_nMode == kDibModeToScale) {
        ZoomLayout layout = ComputeZoomLayout(cw, ch, w, h, m_nZoom);
        CPoint scroll = GetViewScrollPosition();
        RECT pic = {layout.ox - scroll.x, layout.oy - scroll.y, layout.ox - scroll.x + layout.zw,
                    layout.oy - scroll.y + layout.zh};
        if (m_bPaintMargins)
            FillMargins(hdc, margin, client, pic);
        bDraw = bDraw && ZoomedSourceRect(update, scroll, layout, w, h, m_nZoom, &src, &dest);
    } else if (m_nMode == kDibModeProportional) {
        dest = ProportionalRect(cw, ch, w, h);
        if (m_bPaintMargins)
            FillMargins(hdc, margin, client, dest);
        bDraw = bDraw && !::IsRectEmpty(&dest);
    }
    if (bDraw && m_hDrawDib != nullptr) {
        // DrawDib wants the colour count spelt out for palette pictures.
        if (pbi->biClrUsed == 0 && pbi->biBitCount <= 8)
            pbi->biClrUsed = 1u << pbi->biBitCount;
        // DrawDib keeps the colour table it began with while the DC and the header stay the same:
        // another picture (an animation's next frame) starts it afresh.
        if (hDIB != m_hLastDrawn) {
            ::DrawDibEnd(m_hDrawDib);
            m_hLastDrawn = hDIB;
        }
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

LRESULT CPictureView::OnPaletteRealize(WPARAM wParam, LPARAM)
{
    CDIB* pPicture = GetShownPicture();
    if (pPicture == nullptr || pPicture->IsEmpty() || m_hWnd == nullptr)
        return 0;
    BOOL bBackground = reinterpret_cast<HWND>(wParam) != m_hWnd;
    CClientDC dc(this);
    if (m_hDrawDib != nullptr) {
        if (::DrawDibRealize(m_hDrawDib, dc.m_hDC, bBackground) > 0)
            Invalidate(FALSE);
        return 0;
    }
    CPalette* pPalette = pPicture->GetPalette();
    if (pPalette->m_hObject == nullptr)
        return 0;
    CPalette* pOld = dc.SelectPalette(pPalette, bBackground);
    if (dc.RealizePalette() > 0)
        Invalidate(FALSE);
    dc.SelectPalette(pOld, TRUE);
    return 0;
}

void CPictureView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView)
{
    CScrollView::OnActivateView(bActivate, pActivateView, pDeactiveView);
    if (bActivate && pActivateView == this) {
        OnPaletteRealize(reinterpret_cast<WPARAM>(m_hWnd), 0);
        UpdateStatusText();
    }
}

void CPictureView::ShowPictureStatus(int nStatusMode, BOOL bPicture, int nWidth, int nHeight, int nBitCount)
{
    if (g_pMainFrameHost == nullptr || g_pMainFrameHost->GetStatusMode() != nStatusMode)
        return;
    static CString s_strFormat = AfxLoadText(IDS_PICTURE_STATUS);
    CString strText;
    if (bPicture)
        strText.Format(s_strFormat, nWidth, nHeight, ColourName(nBitCount), m_nZoom);
    g_pMainFrameHost->SetStatusText1(strText);
}

// ---- zoom and modes ----

void CPictureView::SetZoom(int nZoom)
{
    nZoom = std::max(kZoomMin, std::min(nZoom, kZoomMax));
    m_nPrevZoom = m_nZoom;
    m_nZoom = nZoom;
    if (m_pDocument != nullptr)
        m_pDocument->UpdateAllViews(nullptr);
    UpdateStatusText();
}

void CPictureView::OnZoomIn()
{
    if (m_nMode != kDibModeToScale || m_nZoom >= kZoomMax)
        return;
    SetZoom(m_bFineZoom ? ZoomInFine(m_nZoom) : ZoomInBand(m_nZoom));
}

void CPictureView::OnZoomOut()
{
    if (m_nMode != kDibModeToScale || m_nZoom <= kZoomMin)
        return;
    SetZoom(m_bFineZoom ? ZoomOutFine(m_nZoom) : ZoomOutBand(m_nZoom));
}

void CPictureView::SetMode(int nMode)
{
    if (nMode == m_nMode)
        return;
    m_nPrevZoom = -1;
    m_nMode = nMode;
    g_DefaultImageSize = nMode;
    if (m_pDocument != nullptr)
        m_pDocument->UpdateAllViews(nullptr);
}

void CPictureView::OnUpdateZoomIn(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_nMode == kDibModeToScale && m_nZoom < kZoomMax);
}
void CPictureView::OnUpdateZoomOut(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_nMode == kDibModeToScale && m_nZoom > 5);
}
void CPictureView::OnUpdateModeToScale(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_nMode == kDibModeToScale); }
void CPictureView::OnUpdateModeProportional(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_nMode == kDibModeProportional);
}
void CPictureView::OnUpdateModeFit(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_nMode == kDibModeFit); }

// ---- keys and mouse ----

void CPictureView::OnKeyDown(UINT nChar, UINT, UINT)
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

void CPictureView::OnLButtonDown(UINT, CPoint)
{
    if (!m_bFullScreen) {
        Default();
        return;
    }
    m_bLeftHeld = TRUE;
    if (m_nMode == kDibModeToScale && !m_bRightHeld) {
        m_bFineZoom = TRUE;
        OnZoomIn();
        m_bFineZoom = FALSE;
    } else {
        LeaveFullScreen();
    }
}

void CPictureView::OnRButtonDown(UINT, CPoint point)
{
    if (!m_bFullScreen) {
        ShowContextMenu(point);
        return;
    }
    m_bRightHeld = TRUE;
    if (m_nMode == kDibModeToScale && !m_bLeftHeld) {
        m_bFineZoom = TRUE;
        OnZoomOut();
        m_bFineZoom = FALSE;
    } else {
        LeaveFullScreen();
    }
}

void CPictureView::OnLButtonUp(UINT, CPoint)
{
    m_bLeftHeld = FALSE;
    Default();
}

void CPictureView::OnRButtonUp(UINT, CPoint)
{
    m_bRightHeld = FALSE;
    Default();
}

void CPictureView::OnLButtonDblClk(UINT, CPoint)
{
    if (m_bFullScreen)
        LeaveFullScreen();
    else if (GetParentFrame() != nullptr)
        GetParentFrame()->PostMessage(WM_CLOSE);
}

void CPictureView::OnRButtonDblClk(UINT, CPoint)
{
    if (m_bFullScreen)
        LeaveFullScreen();
    else
        Default();
}

void CPictureView::ShowContextMenu(CPoint point)
{
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != nullptr)
        pFrame->ActivateFrame();
    CMenu menu;
    if (!menu.LoadMenu(IDR_CONTEXTMENUS))
        return;
    CMenu* pPopup = menu.GetSubMenu(m_nContextMenu);
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

BOOL CPictureView::OnSetCursor(CWnd*, UINT, UINT)
{
    if (m_bFullScreen) {
        ::SetCursor(nullptr);
        return TRUE;
    }
    return static_cast<BOOL>(Default());
}

// ---- full screen ----

void CPictureView::EnterFullScreen()
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
    // A top-level window's id is its menu: none.
    SetDlgCtrlID(0);
    m_ptFullScroll = CPoint(0, 0);
    m_bFullScreen = TRUE;
    ::SetWindowPos(m_hWnd, HWND_TOP, -2, -2, cx + 4, cy + 4, SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    if (m_pDocument != nullptr)
        m_pDocument->UpdateAllViews(nullptr);
    Invalidate(FALSE);
    UpdateWindow();
    ::SetForegroundWindow(m_hWnd);
    ::SetFocus(m_hWnd);

    m_bReanchor = TRUE;
    ::SetCursorPos(kAnchorX, kAnchorY);
    if (g_pMainFrameHost != nullptr)
        g_pMainFrameHost->SetFullScreenView(this);
    m_bLeftHeld = m_bRightHeld = FALSE;
    FullScreenChanged();
}

void CPictureView::DestroyAnchor()
{
    HWND hAnchor = m_hAnchor;
    m_hAnchor = nullptr;
    if (hAnchor != nullptr && ::IsWindow(hAnchor)) {
        ::SetWindowLongPtrA(hAnchor, GWLP_USERDATA, 0);
        ::DestroyWindow(hAnchor);
    }
}

void CPictureView::LeaveFullScreen()
{
    if (!m_bFullScreen)
        return;
    m_bFullScreen = FALSE;
    m_bLeftHeld = m_bRightHeld = FALSE;
    ::SetWindowLongA(m_hWnd, GWL_STYLE, m_dwSavedStyle);
    ::SetParent(m_hWnd, m_hSavedParent);
    SetDlgCtrlID(AFX_IDW_PANE_FIRST);
    DestroyAnchor();
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (m_nMode != kDibModeToScale)
        SetScrollSizes(MM_TEXT, CSize(1, 1));
    if (g_pMainFrameHost != nullptr && g_pMainFrameHost->GetFullScreenView() == this)
        g_pMainFrameHost->SetFullScreenView(nullptr);
    FullScreenChanged();
    // The view is back in its frame.
    CFrameWnd* pFrame = GetParentFrame();
    if (m_bOpenedFullScreen) {
        if (g_pMainFrameHost != nullptr)
            ::SetActiveWindow(g_pMainFrameHost->GetFrameWnd()->m_hWnd);
        CWnd* pReturn = m_hReturnWnd != nullptr && ::IsWindow(m_hReturnWnd)
                            ? CWnd::FromHandlePermanent(m_hReturnWnd)
                            : nullptr;
        if (pReturn != nullptr && g_pMainFrameHost != nullptr
            && pReturn->IsKindOf(RUNTIME_CLASS(CMDIChildWnd)))
            g_pMainFrameHost->GetFrameWnd()->MDIActivate(pReturn);
        // Posted: this may run inside one of the view's own handlers. The keys go back to the list once
        // the frame has activated another window in the closed one's place.
        if (pFrame != nullptr)
            pFrame->PostMessage(WM_CLOSE);
        AfxGiveKeysBackLater(m_hReturnKeys);
        return;
    }
    if (m_pDocument != nullptr)
        m_pDocument->UpdateAllViews(nullptr);
    if (g_pMainFrameHost != nullptr)
        ::SetActiveWindow(g_pMainFrameHost->GetFrameWnd()->m_hWnd);
    RestoreFrameLayout(pFrame);
    Invalidate(FALSE);
    SetFocus();
}

void CPictureView::RestoreFrameLayout(CFrameWnd* pFrame)
{
    if (pFrame == nullptr)
        return;
    // The local bar comes back with the view, even when it was hidden before.
    CToolBar* pBar = GetLocalBar();
    if (pBar != nullptr)
        AfxShowControlBar(pFrame, pBar, TRUE, FALSE);
    pFrame->RecalcLayout();
}

void CPictureView::TrackMouseInFullScreen()
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
    if (m_nMode == kDibModeToScale && (m_bLeftHeld || m_bRightHeld)) {
        m_bFineZoom = TRUE;
        if (m_bLeftHeld)
            OnZoomIn();
        else
            OnZoomOut();
        m_bFineZoom = FALSE;
    }
}

void CPictureView::OnDestroy()
{
    // Closed while full screen (its frame went, or the program ends): nothing may keep pointing here.
    if (g_pMainFrameHost != nullptr && g_pMainFrameHost->GetFullScreenView() == this)
        g_pMainFrameHost->SetFullScreenView(nullptr);
    m_bFullScreen = FALSE;
    DestroyAnchor();
    CScrollView::OnDestroy();
}

// ---- clipboard and local bar ----

void CPictureView::OnEditCopy()
{
    CDIB* pPicture = GetShownPicture();
    if (m_bFullScreen || pPicture == nullptr || pPicture->IsEmpty())
        return;
    if (!::OpenClipboard(m_hWnd))
        return;
    SetAppCursor(kAppCursorBusy);
    ::EmptyClipboard();
    CBitmap* pBitmap = pPicture->CreateBitmap(pPicture->GetPalette());
    if (pBitmap != nullptr) {
        HBITMAP hBitmap = static_cast<HBITMAP>(pBitmap->Detach());
        if (hBitmap != nullptr && ::SetClipboardData(CF_BITMAP, hBitmap) == nullptr)
            ::DeleteObject(hBitmap);
    }
    if (pPicture->NumColors() != 0) {
        CPalette* pPalette = pPicture->CreateDIBPalette();
        if (pPalette != nullptr) {
            HPALETTE hPalette = static_cast<HPALETTE>(pPalette->Detach());
            if (hPalette != nullptr && ::SetClipboardData(CF_PALETTE, hPalette) == nullptr)
                ::DeleteObject(hPalette);
        }
    }
    // The picture itself too, so that a program pasting a DIB gets every pixel and colour as they are.
    HGLOBAL hCopy = CopyGlobalHandle(pPicture->GetHandle());
    if (hCopy != nullptr && ::SetClipboardData(CF_DIB, hCopy) == nullptr)
        ::GlobalFree(hCopy);
    ::CloseClipboard();
    RestoreAppCursor();
}

void CPictureView::OnUpdateEditCopy(CCmdUI* pCmdUI)
{
    CDIB* pPicture = GetShownPicture();
    pCmdUI->Enable(pPicture != nullptr && !pPicture->IsEmpty());
}

void CPictureView::OnLocalToolBar()
{
    CFrameWnd* pFrame = GetParentFrame();
    CToolBar* pBar = GetLocalBar();
    if (pFrame == nullptr || pBar == nullptr)
        return;
    BOOL bShow = !pBar->IsWindowVisible();
    AfxShowControlBar(pFrame, pBar, bShow, FALSE);
    g_ShowDibToolBar = bShow ? 1 : 0;
    pFrame->RecalcLayout();
}

void CPictureView::OnUpdateLocalToolBar(CCmdUI* pCmdUI)
{
    if (m_bFullScreen)
        return;
    CToolBar* pBar = GetLocalBar();
    pCmdUI->SetCheck(pBar != nullptr && pBar->IsWindowVisible() ? 1 : 0);
}

// ---- adding to the library ----

void CPictureView::OnUpdateAddToLibrary(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(g_pLibraryLink != nullptr && g_pLibraryLink->CanAddPicture());
}

void CPictureView::OnAddToLibrary()
{
    CDIB* pPicture = GetShownPicture();
    if (m_pDocument == nullptr || pPicture == nullptr || g_pLibraryLink == nullptr
        || !g_pLibraryLink->CanAddPicture())
        return;
    // A picture without a file takes its window title; a modified one is written from memory.
    CString path = m_pDocument->GetPathName();
    CString name;
    if (!path.IsEmpty()) {
        int slash = path.ReverseFind('\\');
        name = slash >= 0 ? path.Mid(slash + 1) : path;
    } else {
        name = m_pDocument->GetTitle() + ".jpg";
    }
    CString source = m_pDocument->IsModified() ? CString() : path;
    g_pLibraryLink->AddPictureOfWindow(pPicture->GetHandle(), name, source);
}
