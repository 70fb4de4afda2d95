// The main frame's 50 ms dispatcher, which drives all periodic work of the user interface, and the
// placing of the child windows in the MDI area.
#include "app/MainFrame.h"

#include "explorer/ExplorerView.h"
#include "piclist/PicListDrag.h"

#include "shell/AppMessages.h"
#include "shell/Settings.h"
#include "shell/ViewPlacement.h"
#include "framework/DockBar.h"
#include "framework/MDIChildWnd.h"
#include "framework/View.h"
#include "resources/resource.h"

#include <commctrl.h>

#include <vector>

namespace {

// The view at the top of an MDI child (its first child window), when it has an object.
CView* TopView(HWND hChild)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(::GetTopWindow(hChild));
    return pWnd != nullptr && pWnd->IsKindOf(RUNTIME_CLASS(CView)) ? static_cast<CView*>(pWnd) : nullptr;
}

// The part of the MDI area the view shares (kImageViewArea, kExplorerViewArea), as it answers; 0 for
// none.
int KindOf(CView* pView)
{
    if (pView == nullptr)
        return 0;
    return static_cast<int>(pView->SendMessage(WM_VIEWKIND, 0, 0));
}

// The MDI children (frames with an object) from hFirst on, in window order.
std::vector<HWND> ChildrenFrom(HWND hFirst)
{
    std::vector<HWND> children;
    for (HWND hWnd = hFirst; hWnd != nullptr; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        if (pWnd != nullptr && pWnd->IsKindOf(RUNTIME_CLASS(CMDIChildWnd)))
            children.push_back(hWnd);
    }
    return children;
}

// How long a clipboard answer stands when the system counted no change (no change notices).
const DWORD kClipboardRecheckMs = 1000;

// The window the system tells of clipboard changes, and whether one came since the last answer.
HWND g_hClipboardWatcher = nullptr;
BOOL g_bClipboardChanged = TRUE;

} // namespace

void WatchClipboard(HWND hWnd)
{
    // Not on every system this program runs on: looked up.
    using AddListenerFn = BOOL(WINAPI*)(HWND);
    auto pfnAdd = reinterpret_cast<AddListenerFn>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("user32.dll"), "AddClipboardFormatListener")));
    g_hClipboardWatcher = pfnAdd != nullptr && pfnAdd(hWnd) ? hWnd : nullptr;
    g_bClipboardChanged = TRUE;
}

void ClipboardChanged() { g_bClipboardChanged = TRUE; }

LRESULT CMainFrame::OnClipboardUpdate(WPARAM, LPARAM)
{
    ClipboardChanged();
    return 0;
}

BOOL ClipboardHoldsPicture()
{
    static DWORD s_dwSequence = 0;
    static DWORD s_dwAskedAt = 0;
    static BOOL s_bPicture = FALSE;
    // Every question is a round trip to the window server under Wine, the change counter's too:
    // with change notices, an unchanged clipboard costs nothing.
    if (g_hClipboardWatcher != nullptr && ::IsWindow(g_hClipboardWatcher)) {
        if (g_bClipboardChanged) {
            g_bClipboardChanged = FALSE;
            s_bPicture = ::IsClipboardFormatAvailable(CF_BITMAP) || ::IsClipboardFormatAvailable(CF_DIB);
        }
        return s_bPicture;
    }
    DWORD dwSequence = ::GetClipboardSequenceNumber();
    DWORD dwNow = ::GetTickCount();
    if (g_bClipboardChanged || dwSequence != s_dwSequence || dwNow - s_dwAskedAt >= kClipboardRecheckMs) {
        s_bPicture = ::IsClipboardFormatAvailable(CF_BITMAP) || ::IsClipboardFormatAvailable(CF_DIB);
        s_dwSequence = dwSequence;
        s_dwAskedAt = dwNow;
        g_bClipboardChanged = FALSE;
    }
    return s_bPicture;
}

void CMainFrame::OnTimer(UINT nIDEvent)
{
    // A timer message dispatched by a modal loop inside a pass must not start a second one.
    if (!g_bInDispatch) {
        g_bInDispatch = TRUE;
        OnIdleUpdate();
        g_bInDispatch = FALSE;
    }
    CMDIFrameWnd::OnTimer(nIDEvent);
}

void CMainFrame::OnIdleUpdate()
{
    // The music keeps looping while the window is minimised.
    LoopMusic();
    if (IsIconic())
        return;

    SyncRecentCombo(FALSE);

    if (::IsWindow(m_wndLibraryBar.m_hWnd))
        m_wndLibraryBar.OnIdle();

    if (g_bArrangePending) {
        g_bArrangePending = FALSE;
        if (g_bAutoReorganize)
            OnWindowArrange();
        if (MDIGetActive() == nullptr && ::IsWindow(m_wndLibraryBar.m_hWnd)
            && (m_wndLibraryBar.GetStyle() & WS_VISIBLE))
            m_wndLibraryBar.SetFocus();
    }

    if (g_UseCoolBar) {
        BOOL bLibrary = ::IsWindow(m_wndLibraryBar.m_hWnd) && (m_wndLibraryBar.GetStyle() & WS_VISIBLE);
        SetCoolButtonState(ID_VIEW_LIBRARY_BAR,
                           bLibrary ? TBSTATE_CHECKED | TBSTATE_ENABLED : TBSTATE_ENABLED);
        SetCoolButtonState(ID_LIB_SEARCH, bLibrary ? TBSTATE_ENABLED : 0);
        SetCoolButtonState(ID_EDIT_PASTE_NEW, ClipboardHoldsPicture() ? TBSTATE_ENABLED : 0);
    }

    if (m_pFullScreenView != nullptr) {
        m_pFullScreenView->SendMessage(WM_VIEWIDLE, TRUE, 0);
        return;
    }

    CMDIChildWnd* pActive = MDIGetActive();
    if (pActive == nullptr) {
        SetStatusMode(kStatusNoView);
        if (g_UseCoolBar)
            SetCoolButtonState(ID_FILE_PRINT, 0);
        return;
    }
    if (g_UseCoolBar)
        SetCoolButtonState(ID_FILE_PRINT, TBSTATE_ENABLED);
    CView* pView = pActive->GetActiveView();
    if (pView == nullptr)
        return;
    // The view shows its own status layout and panes.
    pView->SendMessage(WM_VIEWSTATUS, 0, 0);

    // Walking the window list is a round trip to the window server per window (Wine): the views are
    // found again only when the active child changed or a window came or went.
    if (pActive->m_hWnd != m_hIdleViewsActive || CWnd::GetPermanentGeneration() != m_nIdleViewsGeneration) {
        m_hIdleViewsActive = pActive->m_hWnd;
        m_nIdleViewsGeneration = CWnd::GetPermanentGeneration();
        m_idleViews.clear();
        for (HWND hChild : ChildrenFrom(pActive->m_hWnd)) {
            if (CView* pTop = TopView(hChild))
                m_idleViews.push_back(pTop->m_hWnd);
        }
    }
    // While library pictures are dragged, no explorer list changes under the drag.
    BOOL bLibraryDrag = g_nDragState == 2 && g_bSourceIsLibrary;
    std::vector<HWND> views = m_idleViews; // a step may close a window
    for (HWND hView : views) {
        CWnd* pTop = CWnd::FromHandlePermanent(hView);
        if (pTop != nullptr && pTop->IsKindOf(RUNTIME_CLASS(CView))
            && !(bLibraryDrag && pTop->IsKindOf(RUNTIME_CLASS(CExplorerView))))
            pTop->SendMessage(WM_VIEWIDLE, FALSE, 0);
    }
}

void CMainFrame::InvalidateAllViews()
{
    for (HWND hChild = ::GetTopWindow(m_hWnd); hChild != nullptr; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        for (HWND hGrand = ::GetTopWindow(hChild); hGrand != nullptr;
             hGrand = ::GetWindow(hGrand, GW_HWNDNEXT))
            ::InvalidateRect(hGrand, nullptr, TRUE);
    }
}

// ---- placing the child windows ----

int CMainFrame::CountViews(int kind, int* minimised)
{
    HWND hClient = m_hWndMDIClientCache != nullptr ? m_hWndMDIClientCache : FindMDIClient();
    int nShown = 0;
    int nIconic = 0;
    if (hClient != nullptr) {
        for (HWND hChild : ChildrenFrom(::GetTopWindow(hClient))) {
            if (KindOf(TopView(hChild)) != kind)
                continue;
            if (::IsIconic(hChild))
                nIconic++;
            else
                nShown++;
        }
    }
    if (minimised != nullptr)
        *minimised = nIconic;
    return nShown;
}

void CMainFrame::ComputeViewArea(CRect* out, int half, BOOL selfMinimised)
{
    HWND hClient = m_hWndMDIClientCache != nullptr ? m_hWndMDIClientCache : FindMDIClient();
    if (hClient == nullptr || out == nullptr)
        return;
    CRect rect;
    ::GetClientRect(hClient, &rect);
    BOOL bTall = rect.Height() > rect.Width();

    int nImageIconic = 0;
    int nExplorerIconic = 0;
    int nImages = CountViews(kImageViewArea, &nImageIconic);
    int nExplorers = CountViews(kExplorerViewArea, &nExplorerIconic);
    int nIconic = nImageIconic + nExplorerIconic - (selfMinimised ? 1 : 0);
    if (nIconic < 0)
        nIconic = 0;
    if (g_ReorganizeType == 0 || nImages == 0 || nExplorers == 0)
        half = 0;

    // Room at the bottom for the rows of minimised windows.
    int nColumns = rect.Width() / 160;
    if (nColumns < 1)
        nColumns = 1;
    int nRows = (nIconic + nColumns - 1) / nColumns;
    rect.bottom -= nRows * 24;

    if (half == 1) {
        if (bTall)
            rect.bottom = rect.bottom / 2;
        else
            rect.right = rect.right / 2;
    } else if (half == 2) {
        if (bTall)
            rect.top = rect.bottom / 2 + 1;
        else
            rect.left = rect.right / 2 + 1;
    }
    *out = rect;
}

int CMainFrame::GetViewIndex(CView* pView, int kind)
{
    BOOL bMaximized = FALSE;
    CMDIChildWnd* pActive = MDIGetActive(&bMaximized);
    if (bMaximized || pActive == nullptr || pView == nullptr)
        return 0;
    CFrameWnd* pFrame = pView->GetParentFrame();
    BOOL bIconic = pFrame != nullptr && pFrame->IsIconic();
    int nIndex = 0;
    for (HWND hChild : ChildrenFrom(pActive->m_hWnd)) {
        CView* pTop = TopView(hChild);
        if (pTop == pView)
            return nIndex;
        if (KindOf(pTop) == kind && (::IsIconic(hChild) != FALSE) == (bIconic != FALSE))
            nIndex++;
    }
    return 0;
}

void CMainFrame::OnWindowArrange()
{
    BOOL bMaximized = FALSE;
    CMDIChildWnd* pActive = MDIGetActive(&bMaximized);
    if (!bMaximized && pActive != nullptr) {
        for (HWND hChild : ChildrenFrom(pActive->m_hWnd)) {
            CView* pView = TopView(hChild);
            if (pView != nullptr)
                pView->SendMessage(WM_VIEWARRANGE, FALSE, 0);
        }
    }
    // The system lines up the minimised windows.
    PostMessage(WM_COMMAND, ID_WINDOW_ARRANGE, 0);
}

void CMainFrame::DockControlBarLeftOf(CControlBar* pBar, CControlBar* pLeftOf)
{
    RecalcLayout(TRUE);
    CRect rect;
    pLeftOf->GetWindowRect(&rect);
    rect.OffsetRect(1, 0);
    DWORD dwStyle = pLeftOf->GetBarStyle();
    UINT nDockBar = 0;
    if (dwStyle & CBRS_ALIGN_TOP)
        nDockBar = AFX_IDW_DOCKBAR_TOP;
    else if (dwStyle & CBRS_ALIGN_BOTTOM)
        nDockBar = AFX_IDW_DOCKBAR_BOTTOM;
    else if (dwStyle & CBRS_ALIGN_LEFT)
        nDockBar = AFX_IDW_DOCKBAR_LEFT;
    else if (dwStyle & CBRS_ALIGN_RIGHT)
        nDockBar = AFX_IDW_DOCKBAR_RIGHT;
    AfxDockControlBar(this, pBar, nDockBar, &rect);
}
