// CExplorerMDI and CSearchMDI: the child frames of the explorer and search-result windows.
#pragma once
#include "shell/OrvanelMDI.h"
#include "shell/ToolBarEx.h"

// Explorer windows: a local tool bar (resource 40) and a frame without client edge.
class CExplorerMDI : public COrvanelMDI {
    DECLARE_DYNCREATE(CExplorerMDI)
public:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    int OnCreate(LPCREATESTRUCT lpcs);
    BOOL OnEraseBkgnd(CDC* pDC);

    CLocalToolBar m_wndToolBar;

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

    CLocalToolBar m_wndToolBar;

protected:
    DECLARE_MESSAGE_MAP()
};
