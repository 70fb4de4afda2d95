// CLibraryBar: the docking picture-library bar of the main window. This first form reserves the
// bar's room along the frame's edge, shows its title and the library folder, and takes the main
// frame's idle step and palette message; the folder tree and the thumbnail list come with the
// library.
#pragma once
#include "framework/ControlBar.h"

class CLibraryBar : public CControlBar {
    DECLARE_DYNAMIC(CLibraryBar)
public:
    CLibraryBar() = default;

    // The bar's window as a child of pParentWnd; dwStyle mixes window and bar styles. FALSE on failure.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);

    // One step of background work, called by the main frame's timer while it is not minimised.
    void OnIdle() { m_nIdleSteps++; }
    int m_nIdleSteps = 0;

    // Docked along a side: "LibBarSizeV" wide; along the top or bottom: "LibBarSizeH" high.
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}

    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnSize(UINT nType, int cx, int cy);
    LRESULT OnPaletteRealize(WPARAM wParam, LPARAM lParam);

protected:
    DECLARE_MESSAGE_MAP()
};
