// CStatusDialogBar: a dialog bar kept beside the status bar, with a minimum size and a context menu;
// nothing in the program creates one.
#pragma once
#include "framework/DialogBar.h"

class CStatusDialogBar : public CDialogBar {
    DECLARE_DYNAMIC(CStatusDialogBar)
public:
    // Both record the minimum size (106 x 99) and the extra value.
    BOOL Create(CWnd* pParentWnd, LPCSTR lpszTemplateName, UINT nStyle, UINT nID, int nExtra = 0);
    BOOL Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID, int nExtra = 0);

    // Repaints control 1185.
    void InvalidateInfo();

    CSize m_sizeMinimum;
    int m_nExtra = 0;

    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct) {}
    void OnRButtonDown(UINT nFlags, CPoint point);

protected:
    DECLARE_MESSAGE_MAP()
};
