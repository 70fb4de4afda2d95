// CWnd: handle maps, creation, subclassing, relations, the modal loop and the wrappers that need more
// than one line.
#include "framework/Wnd.h"

#include "framework/Controls.h"
#include "framework/DataExchange.h"
#include "framework/Dc.h"
#include "framework/FrameWnd.h"
#include "framework/Gdi.h"
#include "framework/HandleMap.h"
#include "framework/Menu.h"
#include "framework/TestSeams.h"
#include "framework/WinApp.h"
#include "framework/WinThread.h"
#include "framework/WndState.h"

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <set>
#include <string>
#include <vector>

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

namespace {

using WndMap = CHandleMap<CWnd, HWND>;

// Each thread's map lives on the heap behind a plain pointer: an object with a destructor in thread
// storage would be destroyed after this toolchain has freed that storage (worker threads crash).
// The map itself stays for the life of the process; its temporary wrappers go at every idle step.
WndMap& TheWndMap()
{
    static thread_local WndMap* pMap = nullptr;
    if (pMap == nullptr) {
        pMap = new WndMap(
            [](HWND h) -> CWnd* {
                CWnd* p = new CWnd;
                p->m_hWnd = h;
                return p;
            },
            [](CWnd* p) { p->m_hWnd = nullptr; });
    }
    return *pMap;
}

// A non-child window's owner, a child's parent.
HWND ParentOrOwner(HWND hWnd)
{
    return (::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD) ? ::GetParent(hWnd) : ::GetWindow(hWnd, GW_OWNER);
}

} // namespace

// ---- handle maps ----

HWND CWnd::GetSafeHwnd() const
{
    // Program code calls this on a null pointer (a missing dialog item): hide `this` from the
    // optimiser, which may otherwise assume it is never null.
    const CWnd* pWnd = this;
    asm("" : "+r"(pWnd));
    return pWnd == nullptr ? nullptr : pWnd->m_hWnd;
}

CWnd* CWnd::FromHandle(HWND hWnd) { return TheWndMap().FromHandle(hWnd); }
CWnd* CWnd::FromHandlePermanent(HWND hWnd) { return WndMap::LookupPermanent(hWnd); }
unsigned long CWnd::GetPermanentGeneration() { return WndMap::PermanentGeneration(); }
void CWnd::DeleteTempMap() { TheWndMap().DeleteTemp(); }

void CWnd::SendMessageToPermanentDescendants(UINT message, WPARAM wParam, LPARAM lParam)
{
    struct Descendant {
        int depth;
        HWND hWnd;
        CWnd* pWnd;
    };
    std::vector<Descendant> descendants;
    DWORD dwThread = ::GetCurrentThreadId();
    for (const auto& entry : WndMap::PermanentEntries()) {
        HWND hWnd = entry.first;
        if (!::IsWindow(hWnd) || ::GetWindowThreadProcessId(hWnd, nullptr) != dwThread)
            continue;
        int depth = 0;
        HWND hUp = hWnd;
        while (hUp != nullptr && hUp != m_hWnd && (::GetWindowLongA(hUp, GWL_STYLE) & WS_CHILD)) {
            hUp = ::GetParent(hUp);
            depth++;
        }
        if (hUp == m_hWnd && depth > 0)
            descendants.push_back({depth, hWnd, entry.second});
    }
    // The same order every time: by depth, then by handle.
    std::sort(descendants.begin(), descendants.end(), [](const Descendant& a, const Descendant& b) {
        return a.depth != b.depth ? a.depth < b.depth
                                  : reinterpret_cast<UINT_PTR>(a.hWnd) < reinterpret_cast<UINT_PTR>(b.hWnd);
    });
    for (const Descendant& d : descendants) {
        // An earlier one may have destroyed it.
        if (FromHandlePermanent(d.hWnd) == d.pWnd && ::IsWindow(d.hWnd))
            AfxCallWndProc(d.pWnd, d.hWnd, message, wParam, lParam);
    }
}

CWnd* AfxWndFromHandle(HWND hWnd) { return CWnd::FromHandle(hWnd); }
CDC* AfxDCFromHandle(HDC hDC) { return CDC::FromHandle(hDC); }
CMenu* AfxMenuFromHandle(HMENU hMenu) { return CMenu::FromHandle(hMenu); }
CScrollBar* AfxScrollBarFromHandle(HWND hWnd) { return static_cast<CScrollBar*>(CWnd::FromHandle(hWnd)); }
HWND AfxHandleOf(CCmdTarget* pWnd) { return static_cast<CWnd*>(pWnd)->m_hWnd; }

CWnd::~CWnd()
{
    // An object going before its window takes the window with it (its procedure would point nowhere).
    if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
    if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this)
        Detach();
}

BOOL CWnd::Attach(HWND hWndNew)
{
    if (hWndNew == nullptr)
        return FALSE;
    m_hWnd = hWndNew;
    WndMap::SetPermanent(hWndNew, this);
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd != nullptr)
        WndMap::RemovePermanent(hWnd, this);
    m_hWnd = nullptr;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    WNDPROC pfnOld = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
    if (pfnOld != AfxWndProc)
        m_pfnSuper = pfnOld;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    HWND hWndControl = ::GetDlgItem(AfxSafeHwnd(pParent), static_cast<int>(nID));
    return hWndControl != nullptr && SubclassWindow(hWndControl);
}

HWND CWnd::UnsubclassWindow()
{
    if (m_pfnSuper != nullptr)
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    return Detach();
}

// ---- creation ----

LPCSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    static std::mutex lock;
    static std::set<std::string>* names = new std::set<std::string>; // lives as long as the classes
    HINSTANCE hInst = AfxGetInstanceHandle();
    char name[96];
    std::snprintf(name, sizeof(name), "Tess:%p:%x:%p:%p:%p", static_cast<void*>(hInst), nClassStyle,
                  static_cast<void*>(hCursor), static_cast<void*>(hbrBackground), static_cast<void*>(hIcon));
    std::lock_guard<std::mutex> guard(lock);
    auto it = names->find(name);
    if (it != names->end())
        return it->c_str();
    WNDCLASSA wc = {};
    wc.style = nClassStyle;
    wc.lpfnWndProc = ::DefWindowProcA; // the creation hook subclasses every window to AfxWndProc
    wc.hInstance = hInst;
    wc.hIcon = hIcon;
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.lpszClassName = name;
    if (!::RegisterClassA(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        AfxThrowResourceException();
    return names->insert(name).first->c_str();
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (cs.lpszClass == nullptr)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW));
    return TRUE;
}

BOOL CWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, CCreateContext* pContext)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID, pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, AfxSafeHwnd(pParentWnd),
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam)
{
    CREATESTRUCTA cs = {};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = static_cast<LONG>(dwStyle);
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }

    AfxHookWindowCreate(this);
    HWND hWnd =
        ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y,
                          cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    if (!AfxUnhookWindowCreate()) {
        // Our object never met the window: creation failed before it began.
        if (hWnd != nullptr)
            ::DestroyWindow(hWnd);
        PostNcDestroy();
        return FALSE;
    }
    // When creation failed after the object was attached (WM_CREATE said -1), the window's
    // destruction already detached it and may have deleted it: no member may be touched then.
    return hWnd != nullptr;
}

BOOL CWnd::DestroyWindow()
{
    HWND hWnd = m_hWnd;
    if (hWnd == nullptr)
        return FALSE;
    BOOL bResult = ::DestroyWindow(hWnd);
    // A window we only attached never told us it was gone; a subclassed one did (and the object
    // may be deleted by now, so it is asked through the map, not through members).
    if (FromHandlePermanent(hWnd) == this && !::IsWindow(hWnd))
        Detach();
    return bResult;
}

// ---- relations ----

CFrameWnd* CWnd::GetParentFrame() const
{
    if (m_hWnd == nullptr)
        return nullptr;
    for (CWnd* pParent = GetParent(); pParent != nullptr; pParent = pParent->GetParent()) {
        if (pParent->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
            return static_cast<CFrameWnd*>(pParent);
    }
    return nullptr;
}

CWnd* CWnd::GetTopLevelParent() const
{
    if (m_hWnd == nullptr)
        return nullptr;
    HWND hWnd = m_hWnd;
    for (HWND hNext; (hNext = ParentOrOwner(hWnd)) != nullptr;)
        hWnd = hNext;
    return FromHandle(hWnd);
}

CFrameWnd* CWnd::GetTopLevelFrame() const
{
    if (m_hWnd == nullptr)
        return nullptr;
    CFrameWnd* pFrame = IsKindOf(RUNTIME_CLASS(CFrameWnd))
                            ? const_cast<CFrameWnd*>(static_cast<const CFrameWnd*>(this))
                            : GetParentFrame();
    while (pFrame != nullptr) {
        CFrameWnd* pNext = pFrame->GetParentFrame();
        if (pNext == nullptr)
            break;
        pFrame = pNext;
    }
    return pFrame;
}

namespace {

// Depth first: the children of a window, then their children.
CWnd* FindDescendant(HWND hWnd, int nID, BOOL bOnlyPerm)
{
    for (HWND hChild = ::GetTopWindow(hWnd); hChild != nullptr; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        if (::GetDlgCtrlID(hChild) == nID) {
            CWnd* pWnd = bOnlyPerm ? CWnd::FromHandlePermanent(hChild) : CWnd::FromHandle(hChild);
            if (pWnd != nullptr)
                return pWnd;
        }
        if (CWnd* pFound = FindDescendant(hChild, nID, bOnlyPerm))
            return pFound;
    }
    return nullptr;
}

} // namespace

CWnd* CWnd::GetDescendantWindow(int nID, BOOL bOnlyPerm) const
{
    return FindDescendant(m_hWnd, nID, bOnlyPerm);
}

CWnd* CWnd::GetSafeOwner(CWnd* pParent, HWND* pWndTop)
{
    HWND hWnd = AfxSafeHwnd(pParent);
    if (hWnd == nullptr)
        hWnd = AfxSafeHwnd(AfxGetMainWnd());
    // Only a top-level window can own.
    while (hWnd != nullptr && (::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD))
        hWnd = ::GetParent(hWnd);
    if (pWndTop != nullptr)
        *pWndTop = hWnd;
    // Without an explicit parent, the window the user is working in (a dialog above the main window).
    if (hWnd != nullptr && pParent == nullptr)
        hWnd = ::GetLastActivePopup(hWnd);
    return FromHandle(hWnd);
}

void AfxRestoreFocus(HWND hWnd)
{
    if (hWnd == nullptr || !::IsWindow(hWnd) || ::GetFocus() == hWnd || ::GetActiveWindow() == nullptr)
        return;
    HWND hTop = ::GetAncestor(hWnd, GA_ROOT);
    if (!::IsWindowVisible(hWnd) || !::IsWindowEnabled(hWnd) || !::IsWindowEnabled(hTop))
        return;
    ::SetFocus(hWnd);
}

int CWnd::GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton) const
{
    for (int nID = nIDFirstButton; nID <= nIDLastButton; nID++) {
        if (IsDlgButtonChecked(nID))
            return nID;
    }
    return 0;
}

// ---- text, style, font ----

int CWnd::GetDlgItemText(int nID, CString& rString) const
{
    rString.Empty();
    HWND hItem = ::GetDlgItem(m_hWnd, nID);
    if (hItem != nullptr) {
        int nLen = ::GetWindowTextLengthA(hItem);
        ::GetWindowTextA(hItem, rString.GetBuffer(nLen), nLen + 1);
        rString.ReleaseBuffer();
    }
    return rString.GetLength();
}

void CWnd::GetWindowText(CString& rString) const
{
    int nLen = ::GetWindowTextLengthA(m_hWnd);
    ::GetWindowTextA(m_hWnd, rString.GetBuffer(nLen), nLen + 1);
    rString.ReleaseBuffer();
}

BOOL CWnd::ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    DWORD dwStyle = static_cast<DWORD>(::GetWindowLongA(hWnd, GWL_STYLE));
    DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNewStyle)
        return FALSE;
    ::SetWindowLongA(hWnd, GWL_STYLE, static_cast<LONG>(dwNewStyle));
    if (nFlags != 0)
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

BOOL CWnd::ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    DWORD dwStyle = static_cast<DWORD>(::GetWindowLongA(hWnd, GWL_EXSTYLE));
    DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNewStyle)
        return FALSE;
    ::SetWindowLongA(hWnd, GWL_EXSTYLE, static_cast<LONG>(dwNewStyle));
    if (nFlags != 0)
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

void CWnd::SetFont(CFont* pFont, BOOL bRedraw)
{
    ::SendMessageA(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(pFont ? pFont->GetSafeHandle() : nullptr),
                   bRedraw);
}

CFont* CWnd::GetFont() const
{
    return CFont::FromHandle(reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0)));
}

// ---- placement ----

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
{
    // The special positions (wndTop, wndTopMost...) arrive as pointers holding HWND_* values.
    HWND hAfter = reinterpret_cast<HWND>(const_cast<CWnd*>(pWndInsertAfter));
    if (reinterpret_cast<INT_PTR>(pWndInsertAfter) > 1 || reinterpret_cast<INT_PTR>(pWndInsertAfter) < -2)
        hAfter = pWndInsertAfter->m_hWnd;
    return ::SetWindowPos(m_hWnd, hAfter, x, y, cx, cy, nFlags);
}

BOOL CWnd::GetWindowPlacement(WINDOWPLACEMENT* lpwndpl) const
{
    lpwndpl->length = sizeof(WINDOWPLACEMENT);
    return ::GetWindowPlacement(m_hWnd, lpwndpl);
}

BOOL CWnd::SetWindowPlacement(const WINDOWPLACEMENT* lpwndpl)
{
    WINDOWPLACEMENT wp = *lpwndpl;
    wp.length = sizeof(WINDOWPLACEMENT);
    return ::SetWindowPlacement(m_hWnd, &wp);
}

void CWnd::ClientToScreen(LPRECT lpRect) const
{
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(lpRect));
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(lpRect) + 1);
}

void CWnd::ScreenToClient(LPRECT lpRect) const
{
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(lpRect));
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(lpRect) + 1);
}

void CWnd::CenterWindow(CWnd* pAlternateOwner)
{
    DWORD dwStyle = GetStyle();
    HWND hWndCenter = AfxSafeHwnd(pAlternateOwner);
    if (hWndCenter == nullptr)
        hWndCenter = (dwStyle & WS_CHILD) ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);
    RECT rcDlg;
    ::GetWindowRect(m_hWnd, &rcDlg);
    RECT rcArea;
    RECT rcCenter;
    if (dwStyle & WS_CHILD) {
        HWND hParent = ::GetParent(m_hWnd);
        ::GetClientRect(hParent, &rcArea);
        ::GetClientRect(hWndCenter ? hWndCenter : hParent, &rcCenter);
        if (hWndCenter != nullptr && hWndCenter != hParent)
            ::MapWindowPoints(hWndCenter, hParent, reinterpret_cast<LPPOINT>(&rcCenter), 2);
    } else {
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcArea, 0);
        if (hWndCenter != nullptr && ::IsWindowVisible(hWndCenter) && !::IsIconic(hWndCenter))
            ::GetWindowRect(hWndCenter, &rcCenter);
        else
            rcCenter = rcArea;
    }
    int cx = rcDlg.right - rcDlg.left;
    int cy = rcDlg.bottom - rcDlg.top;
    int x = (rcCenter.left + rcCenter.right - cx) / 2;
    int y = (rcCenter.top + rcCenter.bottom - cy) / 2;
    // Keep it inside the area.
    if (x + cx > rcArea.right)
        x = rcArea.right - cx;
    if (x < rcArea.left)
        x = rcArea.left;
    if (y + cy > rcArea.bottom)
        y = rcArea.bottom - cy;
    if (y < rcArea.top)
        y = rcArea.top;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::DragAcceptFiles(BOOL bAccept) { ::DragAcceptFiles(m_hWnd, bAccept); }

int CWnd::MessageBox(LPCSTR lpszText, LPCSTR lpszCaption, UINT nType)
{
    if (lpszCaption == nullptr) {
        CWinApp* pApp = AfxGetApp();
        lpszCaption = pApp != nullptr ? pApp->m_pszAppName : nullptr;
    }
    return AfxShowMessageBox(m_hWnd, lpszText, lpszCaption, nType);
}

// ---- menus ----

CMenu* CWnd::GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }
BOOL CWnd::SetMenu(CMenu* pMenu) { return ::SetMenu(m_hWnd, pMenu ? pMenu->GetSafeHmenu() : nullptr); }
CMenu* CWnd::GetSystemMenu(BOOL bRevert) const { return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert)); }

// ---- device contexts ----

CDC* CWnd::GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
CDC* CWnd::GetWindowDC() { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }
int CWnd::ReleaseDC(CDC* pDC) { return ::ReleaseDC(m_hWnd, pDC->GetSafeHdc()); }
CDC* CWnd::BeginPaint(LPPAINTSTRUCT lpPaint) { return CDC::FromHandle(::BeginPaint(m_hWnd, lpPaint)); }

// ---- scrolling ----

int CWnd::GetScrollPos(int nBar) const
{
    if (CScrollBar* pBar = GetScrollBarCtrl(nBar))
        return pBar->GetScrollPos();
    return ::GetScrollPos(m_hWnd, nBar);
}

int CWnd::SetScrollPos(int nBar, int nPos, BOOL bRedraw)
{
    if (CScrollBar* pBar = GetScrollBarCtrl(nBar))
        return pBar->SetScrollPos(nPos, bRedraw);
    return ::SetScrollPos(m_hWnd, nBar, nPos, bRedraw);
}

void CWnd::GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const
{
    if (CScrollBar* pBar = GetScrollBarCtrl(nBar))
        pBar->GetScrollRange(lpMinPos, lpMaxPos);
    else
        ::GetScrollRange(m_hWnd, nBar, lpMinPos, lpMaxPos);
}

void CWnd::SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw)
{
    if (CScrollBar* pBar = GetScrollBarCtrl(nBar))
        pBar->SetScrollRange(nMinPos, nMaxPos, bRedraw);
    else
        ::SetScrollRange(m_hWnd, nBar, nMinPos, nMaxPos, bRedraw);
}

BOOL CWnd::SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw)
{
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    if (CScrollBar* pBar = GetScrollBarCtrl(nBar))
        return pBar->SetScrollInfo(lpScrollInfo, bRedraw);
    ::SetScrollInfo(m_hWnd, nBar, lpScrollInfo, bRedraw);
    return TRUE;
}

BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask)
{
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    lpScrollInfo->fMask = nMask;
    if (CScrollBar* pBar = GetScrollBarCtrl(nBar))
        return pBar->GetScrollInfo(lpScrollInfo, nMask);
    return ::GetScrollInfo(m_hWnd, nBar, lpScrollInfo);
}

int CWnd::GetScrollLimit(int nBar)
{
    SCROLLINFO info = {};
    if (!GetScrollInfo(nBar, &info, SIF_RANGE | SIF_PAGE))
        return 0;
    int nLimit = info.nMax;
    if (info.nPage > 1)
        nLimit -= static_cast<int>(info.nPage) - 1;
    return nLimit;
}

void CWnd::ShowScrollBar(UINT nBar, BOOL bShow) { ::ShowScrollBar(m_hWnd, static_cast<int>(nBar), bShow); }

// ---- modal loop ----

int CWnd::RunModalLoop(DWORD dwFlags)
{
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    BOOL bShowIdle = (dwFlags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
    HWND hWndParent = ::GetParent(m_hWnd);
    m_nFlags |= WF_MODALLOOP | WF_CONTINUEMODAL;
    MSG msg;
    for (;;) {
        // Shows the window and lets it update its controls once the queue is empty.
        while (bIdle && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (bShowIdle) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                bShowIdle = FALSE;
            }
            if (!(dwFlags & MLF_NOIDLEMSG) && hWndParent != nullptr && lIdleCount == 0)
                ::SendMessageA(hWndParent, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(m_hWnd));
            if ((dwFlags & MLF_NOKICKIDLE) || !SendMessage(WM_KICKIDLE, MSGF_DIALOGBOX, lIdleCount++))
                bIdle = FALSE;
            if (!ContinueModal())
                goto ExitModal;
        }
        do {
            if (!AfxPumpMessage()) {
                // WM_QUIT: the loop outside ours must see it too.
                ::PostQuitMessage(static_cast<int>(AfxGetCurrentMessage()->wParam));
                m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
                return -1;
            }
            const MSG* pMsg = AfxGetCurrentMessage();
            if (bShowIdle && (pMsg->message == WM_SYSKEYDOWN || pMsg->message == WM_KEYDOWN)) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                bShowIdle = FALSE;
            }
            if (!ContinueModal())
                goto ExitModal;
            if (AfxIsIdleMessage(pMsg)) {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    }
ExitModal:
    m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
    return m_nModalResult;
}

BOOL CWnd::ContinueModal() { return (m_nFlags & WF_CONTINUEMODAL) && ::IsWindow(m_hWnd); }

void CWnd::EndModalLoop(int nResult)
{
    m_nModalResult = nResult;
    if (m_nFlags & WF_CONTINUEMODAL) {
        m_nFlags &= ~WF_CONTINUEMODAL;
        PostMessage(WM_NULL); // wakes the loop up
    }
}

// ---- data exchange ----

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const CUserException&) {
        // The user was told what is wrong, and the focus is on the field.
        return FALSE;
    }
    return TRUE;
}

// ---- control bars ----

void CWnd::RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlags, LPRECT lpRectParam,
                          LPCRECT lpRectClient, BOOL bStretch)
{
    AFX_SIZEPARENTPARAMS layout = {};
    layout.bStretch = bStretch;
    layout.hDWP = (nFlags & reposQuery) ? nullptr : ::BeginDeferWindowPos(8);
    if (lpRectClient != nullptr)
        layout.rect = *lpRectClient;
    else
        ::GetClientRect(m_hWnd, &layout.rect);
    // Every bar in Z order takes its part; the left-over window gets the rest.
    HWND hWndLeftOver = nullptr;
    for (HWND hChild = ::GetTopWindow(m_hWnd); hChild != nullptr; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        UINT nID = static_cast<UINT>(::GetDlgCtrlID(hChild));
        if (nID == nIDLeftOver)
            hWndLeftOver = hChild;
        else if (nID >= nIDFirst && nID <= nIDLast)
            ::SendMessageA(hChild, WM_SIZEPARENT, 0, reinterpret_cast<LPARAM>(&layout));
    }
    if (nFlags & reposQuery) {
        if (bStretch)
            ::CopyRect(lpRectParam, &layout.rect);
        else {
            lpRectParam->left = lpRectParam->top = 0;
            lpRectParam->right = layout.sizeTotal.cx;
            lpRectParam->bottom = layout.sizeTotal.cy;
        }
        return;
    }
    if (nIDLeftOver != 0 && hWndLeftOver != nullptr) {
        RECT rc = layout.rect;
        if ((nFlags & reposExtra) && lpRectParam != nullptr) {
            rc.left += lpRectParam->left;
            rc.top += lpRectParam->top;
            rc.right -= lpRectParam->right;
            rc.bottom -= lpRectParam->bottom;
        }
        if (rc.right < rc.left)
            rc.right = rc.left;
        if (rc.bottom < rc.top)
            rc.bottom = rc.top;
        if (layout.hDWP != nullptr)
            layout.hDWP =
                ::DeferWindowPos(layout.hDWP, hWndLeftOver, nullptr, rc.left, rc.top, rc.right - rc.left,
                                 rc.bottom - rc.top, SWP_NOACTIVATE | SWP_NOZORDER);
    }
    if (layout.hDWP != nullptr)
        ::EndDeferWindowPos(layout.hDWP);
}

// ---- tool tips ----

namespace {

// A tool bar shows its buttons' tips in a tip window of its own: the thread's tip leaves it alone.
bool ShowsItsOwnTips(HWND hWnd)
{
    char szClass[32] = "";
    ::GetClassNameA(hWnd, szClass, sizeof(szClass));
    return lstrcmpiA(szClass, TOOLBARCLASSNAMEA) == 0 && ::SendMessageA(hWnd, TB_GETTOOLTIPS, 0, 0) != 0;
}

} // namespace

BOOL CWnd::EnableToolTips(BOOL bEnable)
{
    BOOL bOld = (m_nFlags & WF_TOOLTIPS) != 0;
    if (bEnable)
        m_nFlags |= WF_TOOLTIPS;
    else
        m_nFlags &= ~WF_TOOLTIPS;
    return bOld;
}

void CWnd::FilterToolTipMessage(MSG* pMsg)
{
    UINT message = pMsg->message;
    bool bMouse = message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN || message == WM_LBUTTONUP
                  || message == WM_RBUTTONDOWN || message == WM_RBUTTONUP || message == WM_MBUTTONDOWN
                  || message == WM_MBUTTONUP;
    if (!bMouse || m_hWnd == nullptr || (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd)))
        return;
    AfxWndThreadState& state = AfxGetWndThreadState();
    if (state.hWndToolTip == nullptr || !::IsWindow(state.hWndToolTip)) {
        state.hWndToolTip =
            ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0,
                              nullptr, nullptr, AfxGetInstanceHandle(), nullptr);
        state.hWndLastHit = nullptr;
        state.nLastHit = -1;
        if (state.hWndToolTip == nullptr)
            return;
        ::SendMessageA(state.hWndToolTip, TTM_ACTIVATE, TRUE, 0);
    }
    CPoint point = pMsg->pt;
    ::ScreenToClient(m_hWnd, &point);
    TOOLINFOA ti = {};
    ti.cbSize = sizeof(ti);
    int nHit = ShowsItsOwnTips(pMsg->hwnd) ? -1 : OnToolHitTest(point, &ti);
    if (nHit != state.nLastHit || m_hWnd != state.hWndLastHit) {
        // A new tool under the mouse: the tip window knows only that one.
        TOOLINFOA old = {};
        old.cbSize = sizeof(old);
        while (::SendMessageA(state.hWndToolTip, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&old)))
            ::SendMessageA(state.hWndToolTip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&old));
        if (nHit != -1) {
            ti.hwnd = m_hWnd;
            if (!(ti.uFlags & TTF_IDISHWND))
                ::GetClientRect(m_hWnd, &ti.rect);
            ::SendMessageA(state.hWndToolTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
        }
        state.nLastHit = nHit;
        state.hWndLastHit = m_hWnd;
    }
    ::SendMessageA(state.hWndToolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(pMsg));
}

int CWnd::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const
{
    // The child control under the point is the tool; its id is the command whose prompt is shown.
    HWND hChild = ::ChildWindowFromPointEx(m_hWnd, point, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    if (hChild == nullptr || hChild == m_hWnd)
        return -1;
    int nHit = ::GetDlgCtrlID(hChild);
    if (pTI != nullptr) {
        pTI->hwnd = m_hWnd;
        pTI->uId = reinterpret_cast<UINT_PTR>(hChild);
        pTI->uFlags |= TTF_IDISHWND;
        pTI->lpszText = LPSTR_TEXTCALLBACKA;
    }
    return nHit;
}
