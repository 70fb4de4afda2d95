// The explorer and search-result frames: tool bars 40 and 400, no client edge.
#include "explorer/ExplorerMDI.h"

#include "resources/resource.h"
#include "shell/Settings.h"

IMPLEMENT_DYNCREATE(CExplorerMDI, COrvanelMDI)
IMPLEMENT_DYNCREATE(CSearchMDI, COrvanelMDI)

BEGIN_MESSAGE_MAP(CExplorerMDI, COrvanelMDI)
    ON_WM_CREATE()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CSearchMDI, COrvanelMDI)
    ON_WM_CREATE()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL CExplorerMDI::PreCreateWindow(CREATESTRUCT& cs)
{
    BOOL bResult = COrvanelMDI::PreCreateWindow(cs);
    cs.dwExStyle = (cs.dwExStyle & ~WS_EX_CLIENTEDGE) | WS_EX_DLGMODALFRAME;
    return bResult;
}

int CExplorerMDI::OnCreate(LPCREATESTRUCT lpcs)
{
    if (COrvanelMDI::OnCreate(lpcs) == -1)
        return -1;
    return CreateLocalToolBar(m_wndToolBar, IDR_EXPLORERTYPE, g_ShowExplorerToolBar) ? 0 : -1;
}

BOOL CExplorerMDI::OnEraseBkgnd(CDC* pDC) { return COrvanelMDI::OnEraseBkgnd(pDC); }

BOOL CSearchMDI::PreCreateWindow(CREATESTRUCT& cs)
{
    BOOL bResult = COrvanelMDI::PreCreateWindow(cs);
    cs.dwExStyle = (cs.dwExStyle & ~WS_EX_CLIENTEDGE) | WS_EX_DLGMODALFRAME;
    return bResult;
}

int CSearchMDI::OnCreate(LPCREATESTRUCT lpcs)
{
    if (COrvanelMDI::OnCreate(lpcs) == -1)
        return -1;
    return CreateLocalToolBar(m_wndToolBar, IDR_SEARCHTYPE, g_ShowExplorerToolBar) ? 0 : -1;
}

BOOL CSearchMDI::OnEraseBkgnd(CDC* pDC) { return COrvanelMDI::OnEraseBkgnd(pDC); }
