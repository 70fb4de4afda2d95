// CControlBar: the base of the bars a frame lays out along its edges (tool bars, the status bar, dialog
// bars, dock bars): bar styles kept apart from the window style, borders, layout sizes, idle updates
// through CCmdUI, fly-by prompts, forwarding of child notifications to the owner, and docking.
#pragma once
#include "framework/FrameWnd.h"

// Bar styles (CControlBar::m_dwStyle). Create functions take them mixed with the window style and
// keep the two apart, since the low word of a window style belongs to the window's class.
#define CBRS_FLOATING 0x0001L // in a floating mini frame
#define CBRS_SIZE_FIXED 0x0002L
#define CBRS_SIZE_DYNAMIC 0x0004L // sized by CalcDynamicLayout (wraps, resizes while floating)
#define CBRS_HIDE_INPLACE 0x0008L
#define CBRS_TOOLTIPS 0x0010L
#define CBRS_FLYBY 0x0020L // the prompt of the button under the mouse in the status bar
#define CBRS_FLOAT_MULTI 0x0040L
#define CBRS_BORDER_3D 0x0080L
#define CBRS_BORDER_LEFT 0x0100L
#define CBRS_BORDER_TOP 0x0200L
#define CBRS_BORDER_RIGHT 0x0400L
#define CBRS_BORDER_BOTTOM 0x0800L
#define CBRS_BORDER_ANY 0x0F00L
#define CBRS_ALIGN_LEFT 0x1000L
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_ALIGN_RIGHT 0x4000L
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_ALIGN_ANY 0xF000L
#define CBRS_ALL 0xFFFFL
#define CBRS_NOALIGN 0x0000L
#define CBRS_LEFT (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT)
#define CBRS_TOP (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_RIGHT (CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT)
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)
#define CBRS_ORIENT_HORZ (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)
#define CBRS_ORIENT_VERT (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)
#define CBRS_ORIENT_ANY (CBRS_ORIENT_HORZ | CBRS_ORIENT_VERT)

// Layout modes of CalcDynamicLayout.
#define LM_STRETCH 0x01  // as long as the frame allows
#define LM_HORZ 0x02     // horizontal (else vertical)
#define LM_MRUWIDTH 0x04 // floating at the width used last
#define LM_HORZDOCK 0x08 // docked along a top or bottom edge
#define LM_VERTDOCK 0x10 // docked along a left or right edge
#define LM_LENGTHY 0x20  // nLength is a height (else a width)
#define LM_COMMIT 0x40   // the size is the one the bar takes (else only asked)

class CDockBar;
class CDockContext;

class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
public:
    CControlBar() = default;
    ~CControlBar() override;

    // ---- styles and borders ----
    DWORD GetBarStyle() const { return m_dwStyle; }
    // Also redraws the borders when they change.
    virtual void SetBarStyle(DWORD dwStyle);
    void SetBorders(int cxLeft = 0, int cyTop = 0, int cxRight = 0, int cyBottom = 0);
    void SetBorders(LPCRECT lpRect) { SetBorders(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }
    CRect GetBorders() const
    {
        return CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder);
    }
    BOOL IsFloating() const;
    virtual BOOL IsDockBar() const { return FALSE; }
    // Visible, counting a show or hide still waiting for the next layout.
    BOOL IsVisible() const;
    // Shown or hidden at the next layout of the frame.
    void DelayShow(BOOL bShow);

    // ---- layout ----
    // The size the bar wants: stretched along the frame's edge or at its own length, horizontal or not.
    // Sizes include the borders.
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    // The size for a layout mode (LM_*); nLength is the width or height asked for, -1 for none.
    virtual CSize CalcDynamicLayout(int nLength, DWORD dwMode);
    // Takes the borders (and their gaps) off rect, bar coordinates.
    virtual void CalcInsideRect(CRect& rect, BOOL bHorz) const;

    // ---- command updates ----
    // Enables, checks and names the bar's items through pTarget's update handlers.
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;

    // ---- docking ----
    // The sides (CBRS_ALIGN_*) the bar may dock on; 0 forbids docking and dragging.
    void EnableDocking(DWORD dwDockStyle);
    // The frame whose edges the bar docks along.
    CFrameWnd* GetDockingFrame() const;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    DWORD m_dwStyle = 0;     // CBRS_* bits
    DWORD m_dwDockStyle = 0; // sides it may dock on
    CFrameWnd* m_pDockSite = nullptr;
    CDockBar* m_pDockBar = nullptr;         // the dock bar holding it, null when not docked
    CDockContext* m_pDockContext = nullptr; // drag state, made by EnableDocking
    int m_cxLeftBorder = 6;
    int m_cxRightBorder = 6;
    int m_cyTopBorder = 2;
    int m_cyBottomBorder = 2;
    int m_nMRUWidth = 32767; // width last used while floating (dynamic bars)

    int OnCreate(LPCREATESTRUCT lpcs);
    void OnDestroy();
    void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    void OnNcPaint();
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnTimer(UINT nIDEvent);
    UINT OnNcHitTest(CPoint point);
    LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);

protected:
    enum { delayHide = 1, delayShow = 2 };
    UINT m_nStateFlags = 0;
    int m_nHitLast = -1; // the fly-by item last shown

public:
    // The window style after a waiting show or hide; bCommit applies it (while a layout moves windows).
    DWORD RecalcDelayShow(BOOL bCommit);

protected:
    // The border lines drawn (CBRS_BORDER_*): none while floating.
    DWORD GetBorderStyle() const;
    // Draws the bar's border lines round rect, and takes them off it.
    void DrawBorders(CDC* pDC, CRect& rect);
    // The frame whose status bar shows the fly-by prompts.
    CFrameWnd* GetPromptFrame() const;

    DECLARE_MESSAGE_MAP()
};

// Moves a bar to rect in its parent (through the layout's deferred positions when there are some);
// does nothing when it is there already.
void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect);
