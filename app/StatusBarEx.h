// CStatusBarEx: the main frame's status bar, whose owner-drawn panes show a small icon before their
// text ("@" + icon digit + one separator + text), and which keeps the progress gauge drawn over
// its first pane when it repaints.
#pragma once
#include "framework/Gdi.h"
#include "framework/StatusBar.h"

class CStatusBarEx : public CStatusBar {
    DECLARE_DYNCREATE(CStatusBarEx)
public:
    // Loads the strip of 12 x 12 pane icons (bitmap 220).
    CStatusBarEx();

    // The pane draws itself from now on.
    void SetPaneOwnerDraw(int nIndex);
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    void OnPaint();

    CBitmap m_bmpIcons;

protected:
    DECLARE_MESSAGE_MAP()
};

// Splits an owner-drawn pane's text: TRUE for the "@" form, with the icon index and the text after
// the separator; FALSE for a plain text, shown whole.
BOOL ParsePaneIconText(LPCSTR lpszText, int* pIcon, CString* pText);
