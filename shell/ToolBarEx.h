// CToolBarEx and its derived bars: tool bars that draw their own flat buttons (hot tracking, etched
// separators, a gripper, embossed disabled images) and send their parent an emulation of the common
// controls' custom-draw notifications, whatever version of the common controls is installed.
#pragma once
#include "framework/CommonControls.h"
#include "framework/Gdi.h"
#include "framework/ToolBar.h"

#include <commctrl.h>

#include <vector>

class CToolBarEx;

// The record sent with each emulated custom-draw stage (WM_NOTIFY, code NM_CUSTOMDRAW): the common
// controls' NMCUSTOMDRAW first, so that a handler reads it as the real notification.
struct CToolBarCustomDraw {
    NMCUSTOMDRAW nmcd;     // header (bar, control id, NM_CUSTOMDRAW), stage, dc, rect, item id, state, 0
    LRESULT lPrePaint;     // the answer to the pre-paint stage
    LRESULT lItemPrePaint; // the answer to the current item's pre-paint stage
    CToolBarEx* pBar;
    HWND hWndTarget; // null: no notification is sent

    // Sends the record at that stage and returns the answer (0 without a target).
    LRESULT Notify(DWORD dwStage);
};

class CToolBarEx : public CToolBar {
    DECLARE_DYNAMIC(CToolBarEx)
public:
    CToolBarEx();
    ~CToolBarEx() override;

    // Saves the button states, runs the update, and repaints only the buttons whose state changed.
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

    // An etched line; nothing for a separator wider than 8 pixels (the room of a control).
    virtual void DrawSeparator(CDC* pDC, CRect& rect);
    // The raised bar at the leading edge; nothing while floating.
    virtual void DrawGripper(CDC* pDC);

    // Reads the four button colours from the system again.
    void ReadSysColors();
    // Where the image sits inside a button (relative to its top-left corner).
    void RecalcImageOffset();
    // Whether the control says the command is enabled.
    BOOL IsCommandEnabled(UINT nID) const;

    // The 8 x 8 dither brush of checked buttons (bitmap 26578), made once for the program's life.
    static HBRUSH GetDitherBrush();

    BOOL m_bFlatLook = TRUE;
    CPoint m_ptImageOffset;
    COLORREF m_clrBtnFace = 0;
    COLORREF m_clrBtnHilight = 0;
    COLORREF m_clrBtnShadow = 0;
    COLORREF m_clr3DLight = 0;
    int m_nHotButton = -1;
    UINT_PTR m_nHotTimer = 0;
    std::vector<UINT> m_arrButtonStyles;
    HWND m_hNotifyWnd = nullptr;
    BOOL m_bOwnImageList = FALSE;
    CFont m_fontCaption;
    CPoint m_ptLastMouse;

    int OnCreate(LPCREATESTRUCT lpcs);
    void OnPaint();
    void OnNcPaint();
    void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnTimer(UINT nIDEvent);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnSysColorChange();
    void OnRButtonDown(UINT nFlags, CPoint point);
    LRESULT OnSetButtonSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetBitmapSize(WPARAM wParam, LPARAM lParam);

protected:
    // The image list to paint with: the control's, or one built from the bar's bitmap for this paint
    // (m_bOwnImageList). Null when there is none.
    HIMAGELIST GetPaintImageList();
    // The embossed picture of a disabled button drawn over rect.
    void DrawDisabled(CDC* pDC, const CRect& rect);
    BOOL HasButtonText() const;
    BOOL IsHorizontal() const { return (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) != 0; }
    // Shows context sub-menu nSubMenu of menu 232 at point (client coordinates).
    void TrackContextMenu(int nSubMenu, CPoint point, BOOL bAlwaysLeft);

    DECLARE_MESSAGE_MAP()
};

// The local tool bar of a child window: no side borders, no gripper, its own context menu.
class CLocalToolBar : public CToolBarEx {
    DECLARE_DYNAMIC(CLocalToolBar)
public:
    CLocalToolBar();
    void DrawGripper(CDC*) override {}
    void OnRButtonDown(UINT nFlags, CPoint point);

protected:
    DECLARE_MESSAGE_MAP()
};

// The library bar's tool bars: updated against the main window while they are visible.
class CFrameToolBar : public CToolBarEx {
    DECLARE_DYNAMIC(CFrameToolBar)
public:
    CFrameToolBar();
    void DrawGripper(CDC*) override {}
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);

protected:
    DECLARE_MESSAGE_MAP()
};
