// CMDIFrameWnd: the main frame of a multiple-document program, holding the MDI client and routing
// commands to the active child frame first.
#pragma once
#include "framework/FrameWnd.h"

class CMDIChildWnd;

class CMDIFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIFrameWnd)
public:
    HWND m_hWndMDIClient = nullptr;

    // Creates the MDI client (id AFX_IDW_PANE_FIRST) listing the children in pWindowMenu.
    virtual BOOL CreateClient(LPCREATESTRUCT lpCreateStruct, CMenu* pWindowMenu);
    // The pop-up of a menu bar that holds the window commands (where the children are listed).
    virtual HMENU GetWindowMenuPopup(HMENU hMenuBar);

    CMDIChildWnd* MDIGetActive(BOOL* pbMaximized = nullptr) const;
    void MDIActivate(CWnd* pWndActivate);
    void MDIIconArrange() { ::SendMessageA(m_hWndMDIClient, WM_MDIICONARRANGE, 0, 0); }
    void MDIMaximize(CWnd* pWnd)
    {
        ::SendMessageA(m_hWndMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(AfxSafeHwnd(pWnd)), 0);
    }
    void MDIRestore(CWnd* pWnd)
    {
        ::SendMessageA(m_hWndMDIClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(AfxSafeHwnd(pWnd)), 0);
    }
    void MDINext() { ::SendMessageA(m_hWndMDIClient, WM_MDINEXT, 0, 0); }
    void MDICascade(int nType = 0)
    {
        ::SendMessageA(m_hWndMDIClient, WM_MDICASCADE, static_cast<WPARAM>(nType), 0);
    }
    void MDITile(int nType = MDITILE_HORIZONTAL)
    {
        ::SendMessageA(m_hWndMDIClient, WM_MDITILE, static_cast<WPARAM>(nType), 0);
    }
    // Puts a menu bar (and its window pop-up) in place; the previous bar.
    HMENU MDISetMenu(HMENU hFrameMenu, HMENU hWindowMenu);
    // The active child's menu, or the frame's own (hMenuAlt when given).
    void OnUpdateFrameMenu(HMENU hMenuAlt);

    CFrameWnd* GetActiveFrame() override;
    CDocument* GetActiveDocument() override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    HACCEL GetDefaultAccelerator() override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;

    BOOL OnMDIWindowCmd(UINT nID);
    void OnUpdateMDIWindowCmd(CCmdUI* pCmdUI);
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    void OnDestroy();

protected:
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    // Each child through the client, the active one last.
    void DestroyMDIChildren();

    DECLARE_MESSAGE_MAP()
};

// The active MDI child of a top-level window with an MDI client (of any class), else null.
HWND AfxGetActiveMdiChild(HWND hFrame);
