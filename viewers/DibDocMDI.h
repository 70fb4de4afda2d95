// CDibDocMDI: the child frame of a still-picture window.
#pragma once
#include "framework/ToolBar.h"
#include "shell/OrvanelMDI.h"

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
