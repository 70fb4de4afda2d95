// Full screen of the still-picture view: the view leaves its frame and becomes a borderless popup
// over the whole screen; the mouse pans, the buttons zoom; leaving puts it back.
#include "viewers/DibView.h"

#include "shell/MainFrameHost.h"
#include "viewers/DibDocMDI.h"
#include "shell/Settings.h"
#include "framework/DockBar.h"
#include "framework/FrameWnd.h"
#include "framework/MDIChildWnd.h"
#include "framework/StdIds.h"
#include "viewers/DibDoc.h"
#include "viewers/ViewerGlobals.h"

#include <cstdlib>

namespace {

const int kAnchorX = 300;
const int kAnchorY = 200;
const char kAnchorClass[] = "TessarineFullScreenAnchor";

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

void CDibView::EnterFullScreen()
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
    CDibDoc* pDoc = GetDocument();
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

void CDibView::DestroyAnchor()
{
    HWND hAnchor = m_hAnchor;
    m_hAnchor = nullptr;
    if (hAnchor != nullptr && ::IsWindow(hAnchor)) {
        ::SetWindowLongPtrA(hAnchor, GWLP_USERDATA, 0);
        ::DestroyWindow(hAnchor);
    }
}

void CDibView::LeaveFullScreen()
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
    if (m_nMode != kDibModeToScale)
        SetScrollSizes(MM_TEXT, CSize(1, 1));
    if (g_pMainFrameHost != nullptr && g_pMainFrameHost->GetFullScreenView() == this)
        g_pMainFrameHost->SetFullScreenView(nullptr);

    if (m_bOpenedFullScreen) {
        if (g_pMainFrameHost != nullptr)
            ::SetActiveWindow(g_pMainFrameHost->GetFrameWnd()->m_hWnd);
        CWnd* pReturn = m_hReturnWnd != nullptr && ::IsWindow(m_hReturnWnd)
                            ? CWnd::FromHandlePermanent(m_hReturnWnd)
                            : nullptr;
        if (pReturn != nullptr && g_pMainFrameHost != nullptr
            && pReturn->IsKindOf(RUNTIME_CLASS(CMDIChildWnd)))
            g_pMainFrameHost->GetFrameWnd()->MDIActivate(pReturn);
        // Posted: this may run inside one of the view's own handlers.
        if (pFrame != nullptr)
            pFrame->PostMessage(WM_CLOSE);
        return;
    }
    CDibDoc* pDoc = GetDocument();
    if (pDoc != nullptr)
        pDoc->UpdateAllViews(nullptr);
    if (g_pMainFrameHost != nullptr)
        ::SetActiveWindow(g_pMainFrameHost->GetFrameWnd()->m_hWnd);
    if (pFrame != nullptr) {
        if (pFrame->IsKindOf(RUNTIME_CLASS(CDibDocMDI))) {
            CDibDocMDI* pDibFrame = static_cast<CDibDocMDI*>(pFrame);
            if (pDibFrame->m_wndToolBar.m_hWnd != nullptr)
                AfxShowControlBar(pFrame, &pDibFrame->m_wndToolBar, TRUE, FALSE);
        }
        pFrame->RecalcLayout();
    }
    Invalidate(FALSE);
    SetFocus();
}

void CDibView::TrackMouseInFullScreen()
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
        g_bFineZoom = TRUE;
        if (m_bLeftHeld)
            OnZoomIn();
        else
            OnZoomOut();
        g_bFineZoom = FALSE;
    }
}

BOOL CDibView::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_bFullScreen) {
        ::SetCursor(nullptr);
        return TRUE;
    }
    return static_cast<BOOL>(Default());
}

void CDibView::OnDestroy()
{
    // Closed while full screen (its frame went, or the program ends): nothing may keep pointing here.
    if (g_pMainFrameHost != nullptr && g_pMainFrameHost->GetFullScreenView() == this)
        g_pMainFrameHost->SetFullScreenView(nullptr);
    m_bFullScreen = FALSE;
    DestroyAnchor();
    CScrollView::OnDestroy();
}
