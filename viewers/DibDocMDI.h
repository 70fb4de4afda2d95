// CDibDocMDI: the child frame of a still-picture window.
#pragma once
#include "shell/OrvanelMDI.h"
#include "shell/ToolBarEx.h"

// Still-picture windows: tool bar 41; the title adds the picture's size and colours.
class CDibDocMDI : public COrvanelMDI {
    DECLARE_DYNCREATE(CDibDocMDI)
public:
    void UpdateTitle() override;
    int OnCreate(LPCREATESTRUCT lpcs);

    CLocalToolBar m_wndToolBar;

protected:
    DECLARE_MESSAGE_MAP()
};
