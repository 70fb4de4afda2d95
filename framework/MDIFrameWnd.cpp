// CMDIFrameWnd.
#include "framework/MDIFrameWnd.h"

#include "framework/CmdUI.h"
#include "framework/Document.h"
#include "framework/MDIChildWnd.h"
#include "framework/Menu.h"
#include "framework/WinApp.h"

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
    ON_COMMAND_EX(ID_WINDOW_ARRANGE, OnMDIWindowCmd)
    ON_COMMAND_EX(ID_WINDOW_CASCADE, OnMDIWindowCmd)
    ON_COMMAND_EX(ID_WINDOW_TILE_HORZ, OnMDIWindowCmd)
    ON_COMMAND_EX(ID_WINDOW_TILE_VERT, OnMDIWindowCmd)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_ARRANGE, OnUpdateMDIWindowCmd)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_CASCADE, OnUpdateMDIWindowCmd)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_TILE_HORZ, OnUpdateMDIWindowCmd)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_TILE_VERT, OnUpdateMDIWindowCmd)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext*)
{
    CMenu* pWindowMenu = CMenu::FromHandle(GetWindowMenuPopup(::GetMenu(m_hWnd)));
    return CreateClient(lpcs, pWindowMenu);
}

BOOL CMDIFrameWnd::CreateClient(LPCREATESTRUCT, CMenu* pWindowMenu)
{
    CLIENTCREATESTRUCT ccs = {};
    ccs.hWindowMenu = pWindowMenu != nullptr ? pWindowMenu->m_hMenu : nullptr;
    ccs.idFirstChild = AFX_IDM_FIRST_MDICHILD;
    DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_HSCROLL | WS_VSCROLL
                    | MDIS_ALLCHILDSTYLES;
    m_hWndMDIClient = ::CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr, dwStyle, 0, 0, 0, 0, m_hWnd,
                                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PANE_FIRST)),
                                        AfxGetInstanceHandle(), &ccs);
    return m_hWndMDIClient != nullptr;
}

HMENU CMDIFrameWnd::GetWindowMenuPopup(HMENU hMenuBar)
{
    if (hMenuBar == nullptr)
        return nullptr;
    // The last pop-up holding a window command.
    for (int i = ::GetMenuItemCount(hMenuBar) - 1; i >= 0; i--) {
        HMENU hPopup = ::GetSubMenu(hMenuBar, i);
        if (hPopup == nullptr)
            continue;
        for (int j = 0, n = ::GetMenuItemCount(hPopup); j < n; j++) {
            // A nested pop-up answers -1, which is no window entry.
            UINT nID = ::GetMenuItemID(hPopup, j);
            if (nID == static_cast<UINT>(-1))
                continue;
            if ((nID >= ID_WINDOW_NEW && nID <= ID_WINDOW_TILE_VERT) || nID >= AFX_IDM_FIRST_MDICHILD)
                return hPopup;
        }
    }
    return nullptr;
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* pbMaximized) const
{
    BOOL bMaximized = FALSE;
    HWND hWnd = m_hWndMDIClient != nullptr ? reinterpret_cast<HWND>(::SendMessageA(
                    m_hWndMDIClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&bMaximized)))
                                           : nullptr;
    CWnd* pWnd = FromHandlePermanent(hWnd);
    CMDIChildWnd* pChild = pWnd != nullptr && pWnd->IsKindOf(RUNTIME_CLASS(CMDIChildWnd))
                               ? static_cast<CMDIChildWnd*>(pWnd)
                               : nullptr;
    if (pbMaximized != nullptr)
        *pbMaximized = pChild != nullptr && bMaximized;
    return pChild;
}

void CMDIFrameWnd::MDIActivate(CWnd* pWndActivate)
{
    ::SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(AfxSafeHwnd(pWndActivate)), 0);
}

HMENU CMDIFrameWnd::MDISetMenu(HMENU hFrameMenu, HMENU hWindowMenu)
{
    HMENU hOld = reinterpret_cast<HMENU>(::SendMessageA(m_hWndMDIClient, WM_MDISETMENU,
                                                        reinterpret_cast<WPARAM>(hFrameMenu),
                                                        reinterpret_cast<LPARAM>(hWindowMenu)));
    ::DrawMenuBar(m_hWnd);
    return hOld;
}

void CMDIFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt)
{
    if (CMDIChildWnd* pChild = MDIGetActive()) {
        pChild->OnUpdateFrameMenu(TRUE, pChild, hMenuAlt);
        return;
    }
    HMENU hMenu = hMenuAlt != nullptr ? hMenuAlt : m_hMenuDefault;
    if (hMenu != nullptr && ::GetMenu(m_hWnd) != hMenu)
        MDISetMenu(hMenu, GetWindowMenuPopup(hMenu));
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame()
{
    CMDIChildWnd* pChild = MDIGetActive();
    return pChild != nullptr ? static_cast<CFrameWnd*>(pChild) : this;
}

CDocument* CMDIFrameWnd::GetActiveDocument()
{
    CMDIChildWnd* pChild = MDIGetActive();
    return pChild != nullptr ? pChild->GetActiveDocument() : CFrameWnd::GetActiveDocument();
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // The active child (its view, document, template and itself) first.
    CMDIChildWnd* pChild = MDIGetActive();
    if (pChild != nullptr && pChild->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

HACCEL CMDIFrameWnd::GetDefaultAccelerator() { return m_hAccelTable; }

BOOL CMDIFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST)
        return FALSE;
    // Alt+F4 in any window inside the frame closes it, as its system menu does: a control that answers
    // the key itself (Wine's tree view does) would otherwise keep it from the system. A dialog's or a
    // tool window's own Alt+F4 is theirs.
    if (pMsg->message == WM_SYSKEYDOWN && pMsg->wParam == VK_F4 && (HIWORD(pMsg->lParam) & KF_ALTDOWN)
        && ::IsChild(m_hWnd, pMsg->hwnd) && IsWindowEnabled()) {
        PostMessage(WM_SYSCOMMAND, SC_CLOSE);
        return TRUE;
    }
    CMDIChildWnd* pChild = MDIGetActive();
    if (pChild != nullptr) {
        if (::TranslateMDISysAccel(m_hWndMDIClient, pMsg))
            return TRUE;
        // Keys typed outside the child (a bar) still reach its template's commands.
        if (pChild->m_hAccelTable != nullptr && ::TranslateAcceleratorW(m_hWnd, pChild->m_hAccelTable, pMsg))
            return TRUE;
    }
    HACCEL hAccel = GetDefaultAccelerator();
    return hAccel != nullptr && ::TranslateAcceleratorW(m_hWnd, hAccel, pMsg);
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefFrameProcA(m_hWnd, m_hWndMDIClient, message, wParam, lParam);
}

void CMDIFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    if (!(GetStyle() & FWS_ADDTOTITLE))
        return;
    BOOL bMaximized = FALSE;
    CMDIChildWnd* pChild = MDIGetActive(&bMaximized);
    // A maximised child's name is added by the system itself.
    CDocument* pDocument = pChild != nullptr && !bMaximized ? pChild->GetActiveDocument() : nullptr;
    m_nWindow = pChild != nullptr ? pChild->m_nWindow : 0;
    UpdateFrameTitleForDocument(
        bAddToTitle && pDocument != nullptr ? static_cast<LPCSTR>(pDocument->GetTitle()) : nullptr);
}

BOOL CMDIFrameWnd::OnMDIWindowCmd(UINT nID)
{
    switch (nID) {
    case ID_WINDOW_ARRANGE:
        MDIIconArrange();
        break;
    case ID_WINDOW_CASCADE:
        MDICascade();
        break;
    case ID_WINDOW_TILE_HORZ:
        MDITile(MDITILE_HORIZONTAL);
        break;
    case ID_WINDOW_TILE_VERT:
        MDITile(MDITILE_VERTICAL);
        break;
    default:
        return FALSE;
    }
    return TRUE;
}

void CMDIFrameWnd::OnUpdateMDIWindowCmd(CCmdUI* pCmdUI) { pCmdUI->Enable(MDIGetActive() != nullptr); }

LRESULT CMDIFrameWnd::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = CFrameWnd::OnIdleUpdateCmdUI(wParam, lParam);
    // The last child went: the frame's own menu comes back.
    if (MDIGetActive() == nullptr && m_hMenuDefault != nullptr && ::GetMenu(m_hWnd) != m_hMenuDefault)
        OnUpdateFrameMenu(nullptr);
    return lResult;
}

void CMDIFrameWnd::OnDestroy()
{
    // The children go before the client: left to go with it, each would reach the client after it
    // freed its records, and the system's child list code would then write window ids into
    // whatever windows (of any process) answer to the stale values it reads there.
    DestroyMDIChildren();
    CFrameWnd::OnDestroy();
}

void CMDIFrameWnd::DestroyMDIChildren()
{
    if (m_hWndMDIClient == nullptr || !::IsWindow(m_hWndMDIClient))
        return;
    for (;;) {
        HWND hActive = reinterpret_cast<HWND>(::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0, 0));
        HWND hChild = ::GetWindow(m_hWndMDIClient, GW_CHILD);
        while (hChild != nullptr && hChild == hActive)
            hChild = ::GetWindow(hChild, GW_HWNDNEXT);
        if (hChild == nullptr)
            hChild = ::IsWindow(hActive) && ::GetParent(hActive) == m_hWndMDIClient ? hActive : nullptr;
        if (hChild == nullptr)
            return;
        ::SendMessageA(m_hWndMDIClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(hChild), 0);
        if (::IsWindow(hChild))
            return; // a child that stays is left to the system
    }
}

HWND AfxGetActiveMdiChild(HWND hFrame)
{
    HWND hClient = hFrame != nullptr ? ::FindWindowExA(hFrame, nullptr, "MDIClient", nullptr) : nullptr;
    return hClient != nullptr ? reinterpret_cast<HWND>(::SendMessageA(hClient, WM_MDIGETACTIVE, 0, 0))
                              : nullptr;
}
