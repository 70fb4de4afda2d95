// CMenu.
#include "framework/Menu.h"

#include "framework/HandleMap.h"
#include "framework/TestSeams.h"
#include "framework/Wnd.h"

IMPLEMENT_DYNCREATE(CMenu, CObject)

namespace {

using MenuMap = CHandleMap<CMenu, HMENU>;

// On the heap, for the reason given with the window map (framework/Wnd.cpp).
MenuMap& TheMenuMap()
{
    static thread_local MenuMap* pMap = nullptr;
    if (pMap == nullptr) {
        pMap = new MenuMap(
            [](HMENU h) -> CMenu* {
                CMenu* p = new CMenu;
                p->m_hMenu = h;
                return p;
            },
            [](CMenu* p) { p->m_hMenu = nullptr; });
    }
    return *pMap;
}

} // namespace

CMenu::~CMenu()
{
    if (m_hMenu != nullptr && MenuMap::LookupPermanent(m_hMenu) == this)
        DestroyMenu();
}

HMENU CMenu::GetSafeHmenu() const
{
    const CMenu* pMenu = this; // may be called on a null pointer (a missing sub-menu)
    asm("" : "+r"(pMenu));
    return pMenu == nullptr ? nullptr : pMenu->m_hMenu;
}

CMenu* CMenu::FromHandle(HMENU hMenu) { return TheMenuMap().FromHandle(hMenu); }
CMenu* CMenu::FromHandlePermanent(HMENU hMenu) { return MenuMap::LookupPermanent(hMenu); }
void CMenu::DeleteTempMap() { TheMenuMap().DeleteTemp(); }

BOOL CMenu::Attach(HMENU hMenu)
{
    if (hMenu == nullptr)
        return FALSE;
    m_hMenu = hMenu;
    MenuMap::SetPermanent(hMenu, this);
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU hMenu = m_hMenu;
    if (hMenu != nullptr)
        MenuMap::RemovePermanent(hMenu, this);
    m_hMenu = nullptr;
    return hMenu;
}

BOOL CMenu::LoadMenu(LPCSTR lpszResourceName)
{
    return Attach(::LoadMenuA(AfxGetResourceHandle(), lpszResourceName));
}

BOOL CMenu::DestroyMenu()
{
    if (m_hMenu == nullptr)
        return FALSE;
    return ::DestroyMenu(Detach());
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const
{
    char szText[512] = "";
    int nLen = ::GetMenuStringA(m_hMenu, nIDItem, szText, sizeof(szText), nFlags);
    rString = szText;
    return nLen;
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect)
{
    HWND hWndOwner = AfxSafeHwnd(pWnd);
    UINT nCmd = 0;
    if (AfxTestTakePopupMenu(m_hMenu, &nCmd)) {
        // As the real menu would: its owner updates the items first, then gets the choice, if enabled.
        if (hWndOwner != nullptr) {
            ::SendMessageA(hWndOwner, WM_INITMENU, reinterpret_cast<WPARAM>(m_hMenu), 0);
            ::SendMessageA(hWndOwner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(m_hMenu), 0);
        }
        if (nCmd != 0 && (::GetMenuState(m_hMenu, nCmd, MF_BYCOMMAND) & (MF_DISABLED | MF_GRAYED)))
            nCmd = 0;
        if (nFlags & TPM_RETURNCMD)
            return static_cast<BOOL>(nCmd);
        if (nCmd != 0 && hWndOwner != nullptr)
            ::PostMessageA(hWndOwner, WM_COMMAND, nCmd, 0);
        return TRUE;
    }
    TPMPARAMS params = {};
    params.cbSize = sizeof(params);
    if (lpRect != nullptr)
        params.rcExclude = *lpRect;
    return ::TrackPopupMenuEx(m_hMenu, nFlags, x, y, hWndOwner, lpRect != nullptr ? &params : nullptr);
}
