// COrvanelMDI: the base of the MDI child frames of every document window (closing, maximising on first
// display, re-arranging the MDI area, window titles); each kind of window derives its own frame, with a
// local tool bar along its top edge, next to its document and view.
#pragma once
#include "framework/MDIChildWnd.h"
#include "framework/ToolBar.h"

// Local tool bars: child, visible, along the top with a bottom border.
const DWORD kLocalToolBarStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;

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
    void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
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
