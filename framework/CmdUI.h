// CCmdUI: what an update handler changes (menu item, dialog control, and, through subclasses, tool-bar
// buttons and status panes), and the walk that updates a pop-up menu before it opens.
#pragma once
#include "framework/CmdTarget.h"

class CMenu;
class CWnd;

class CCmdUI {
public:
    CCmdUI() = default;
    virtual ~CCmdUI() = default;

    UINT m_nID = 0;
    UINT m_nIndex = 0;               // item position in m_pMenu, or in the bar of a subclass
    CMenu* m_pMenu = nullptr;        // set when updating a menu item
    CMenu* m_pSubMenu = nullptr;     // set when the item opens a sub-menu
    CMenu* m_pParentMenu = nullptr;  // the menu holding m_pMenu, when known
    CWnd* m_pOther = nullptr;        // set when updating a window (dialog control, bar)
    BOOL m_bEnableChanged = FALSE;   // a handler called Enable
    BOOL m_bContinueRouting = FALSE; // a handler asked to go on to the next target
    UINT m_nIndexMax = 0;

    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1); // 0 off, 1 on, 2 indeterminate
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(LPCSTR lpszText);

    // Called by an update handler that does not decide this command.
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Asks pTarget's routing for an update handler; without one, and when bDisableIfNoHndler is set,
    // enables the item only when some target has a command handler for it.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
};

// Runs the update handlers of every item of a pop-up menu about to open (sub-menu items take the state
// of their first item's command). bAutoMenuEnable disables items no target handles.
void AfxUpdateMenuCmdUI(CCmdTarget* pTarget, CMenu* pPopupMenu, BOOL bAutoMenuEnable);
