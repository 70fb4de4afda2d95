// What the control-bar tests share: a frame with a view, a tool bar loaded from a raw resource and a
// status bar, update and command handlers that record what they saw, and a fixture that makes it.
#pragma once
#include "framework/DockBar.h"
#include "framework/StatusBar.h"
#include "framework/ToolBar.h"
#include "tests/framework/WindowTestSupport.h"

class CBarTestFrame : public CFrameWnd {
public:
    // The frame, a view, a tool bar ("Standard", docking anywhere) and a status bar with the message
    // pane and the two key indicators; no docking yet.
    BOOL CreateFrame();

    CWnd m_wndView;
    CToolBar m_wndToolBar;
    CStatusBar m_wndStatusBar;

    BOOL m_bDisabledEnabled = FALSE; // what the update handler of ID_CB_DISABLED says
    BOOL m_bInfoEnabled = TRUE;      // ... and of ID_CB_INFO
    int m_nOpen = 0;                 // commands received
    int m_nApply = 0;

protected:
    void OnOpen() { m_nOpen++; }
    void OnApply() { m_nApply++; }
    void OnUpdateDisabled(CCmdUI* pCmdUI);
    void OnUpdateChecked(CCmdUI* pCmdUI);
    void OnUpdateInfo(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()
};

class ControlBarTest : public WindowTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // The idle pass of the application's loop (bars update their items).
    void Idle();
    // Client rectangle of the frame, in screen coordinates.
    CRect FrameClientOnScreen() const;

    CBarTestFrame* m_pFrame = nullptr; // deletes itself with its window
};

// Window rectangle of a window, in the client coordinates of another.
CRect RectIn(const CWnd& wnd, HWND hWndIn);
// The state bits of a tool-bar button of that command.
BOOL IsButtonEnabled(const CToolBar& bar, UINT nID);
BOOL IsButtonChecked(const CToolBar& bar, UINT nID);
