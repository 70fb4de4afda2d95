// COrvanelMDI and its derived frames: the MDI child frames of every document window (closing,
// maximising on first display, re-arranging the MDI area, window titles), four of them with a local
// tool bar along their top edge.
#pragma once
#include "app/AnimToolBar.h"
#include "framework/MDIChildWnd.h"
#include "framework/ToolBar.h"

class COrvanelMDI : public CMDIChildWnd {
    DECLARE_DYNCREATE(COrvanelMDI)
public:
    BOOL m_bClosable = TRUE;        // FALSE: the frame refuses to close
    BOOL m_bFirstActivation = TRUE; // cleared by the first activation that maximises

    // With "MaximiseOnOpen", the first display of the frame is maximised.
    void ActivateFrame(int nCmdShow = -1) override;
    // The frame's own window text, unless it is maximised.
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    // Builds the frame's window text: the document's title, ":n" when the document has several
    // windows; set only when it changes.
    virtual void UpdateTitle();

    BOOL OnEraseBkgnd(CDC* pDC);
    void OnClose();
    int OnCreate(LPCREATESTRUCT lpcs);
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    void OnSize(UINT nType, int cx, int cy);
    void OnSysCommand(UINT nID, LPARAM lParam);

protected:
    // The document's title with the window number; FALSE without an active document.
    BOOL GetBaseTitle(CString& strTitle);
    // Sets the window text when it differs.
    void SetTitleText(const CString& strTitle);
    // Creates and loads a local tool bar for the frame, shown as the setting says.
    BOOL CreateLocalToolBar(CToolBar& bar, UINT nIDResource, int nShow);

    DECLARE_MESSAGE_MAP()
};

// Explorer windows: a local tool bar (resource 40) and a frame without client edge.
class CExplorerMDI : public COrvanelMDI {
    DECLARE_DYNCREATE(CExplorerMDI)
public:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    int OnCreate(LPCREATESTRUCT lpcs);
    BOOL OnEraseBkgnd(CDC* pDC);

    CToolBar m_wndToolBar;

protected:
    DECLARE_MESSAGE_MAP()
};

// Search-result windows: as explorer windows, with tool bar 400.
class CSearchMDI : public COrvanelMDI {
    DECLARE_DYNCREATE(CSearchMDI)
public:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    int OnCreate(LPCREATESTRUCT lpcs);
    BOOL OnEraseBkgnd(CDC* pDC);

    CToolBar m_wndToolBar;

protected:
    DECLARE_MESSAGE_MAP()
};

// Still-picture windows: tool bar 41; the title adds the picture's size and colours.
class CDibDocMDI : public COrvanelMDI {
    DECLARE_DYNCREATE(CDibDocMDI)
public:
    void UpdateTitle() override;
    int OnCreate(LPCREATESTRUCT lpcs);

    CToolBar m_wndToolBar;

protected:
    DECLARE_MESSAGE_MAP()
};

// Animated-GIF windows: the animation bar (42); the title adds size, colours and play state; the bar's
// slider and speed messages go on to the view.
class CGifDocMDI : public COrvanelMDI {
    DECLARE_DYNCREATE(CGifDocMDI)
public:
    void UpdateTitle() override;
    int OnCreate(LPCREATESTRUCT lpcs);
    LRESULT OnAnimFrameSlider(WPARAM wParam, LPARAM lParam);
    LRESULT OnAnimSpeedChanged(WPARAM wParam, LPARAM lParam);

    CAnimToolBar m_wndToolBar;

protected:
    DECLARE_MESSAGE_MAP()
};
