// CDialogBar: a control bar made from a dialog template; its controls' commands and notifications go
// to the frame (the bar's owner), and its buttons follow the frame's update handlers.
#pragma once
#include "framework/ControlBar.h"

class CDialogBar : public CControlBar {
    DECLARE_DYNAMIC(CDialogBar)
public:
    CDialogBar();
    ~CDialogBar() override;

    // The template must be a child dialog (WS_CHILD). nStyle mixes window styles (WS_VISIBLE) and
    // CBRS_* bar styles; nID is the bar's child-window id.
    BOOL Create(CWnd* pParentWnd, LPCSTR lpszTemplateName, UINT nStyle, UINT nID);
    BOOL Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID)
    {
        return Create(pParentWnd, MAKEINTRESOURCEA(nIDTemplate), nStyle, nID);
    }

    // The template's size; stretched along the frame's edge when asked.
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

    CSize m_sizeDefault; // the window's size as the template made it

protected:
    DECLARE_MESSAGE_MAP()
};
