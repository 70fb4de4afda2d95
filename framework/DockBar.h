// Docking: CDockBar (the rows of bars docked along one edge of a frame, or the single bar of a floating
// frame), CMiniDockFrameWnd (that floating frame), CDockContext (dragging a bar to dock or float it),
// and the frame's control-bar operations with the saved bar state.
#pragma once
#include "framework/ControlBar.h"

#include <vector>

class CCmdUI;

class CDockBar : public CControlBar {
    DECLARE_DYNAMIC(CDockBar)
public:
    explicit CDockBar(BOOL bFloating = FALSE);

    // A dock bar of pParentWnd along the side dwStyle names (CBRS_ALIGN_*); heap objects only, they
    // delete themselves with their window.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);

    BOOL IsDockBar() const override { return TRUE; }
    // Lays the rows out (moving the bars unless only asked) and returns the room they take.
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}

    // Docks pBar here. lpRect (screen) is where it was dropped: the row under its middle and the
    // place along that row; without it the bar takes a new last row.
    void DockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr);
    // Docks pBar in row nRow (a new row at that index when bNewRow, or past the last row) at nOffset
    // pixels along the row.
    void DockControlBarAt(CControlBar* pBar, int nRow, int nOffset, BOOL bNewRow);
    // Takes pBar off this dock bar (its window stays a child until it docks elsewhere). A floating dock
    // bar left empty hides its frame unless bKeepFrame. FALSE when pBar was not here.
    BOOL RemoveControlBar(CControlBar* pBar, BOOL bKeepFrame = FALSE);
    // Row and offset of pBar; FALSE when it is not here.
    BOOL FindControlBar(const CControlBar* pBar, int* pnRow, int* pnOffset) const;
    int GetRowCount() const { return static_cast<int>(m_rows.size()); }
    int GetDockedCount() const;
    int GetDockedVisibleCount() const;
    // The bars of one row, in order along it.
    std::vector<CControlBar*> GetRowBars(int nRow) const;
    BOOL IsHorizontal() const;

    BOOL m_bFloating;

    LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    void OnDestroy();

protected:
    void PostNcDestroy() override { delete this; }
    // The layout mode the dock bar asks its bars' sizes with.
    DWORD GetLayoutMode(const CControlBar* pBar) const;

    struct Slot {
        CControlBar* pBar;
        int nOffset; // where the user put it along the row; the layout may push it further
    };
    std::vector<std::vector<Slot>> m_rows;
    CRect m_rectLayout;          // the room the frame offered at the last layout
    BOOL m_bLayoutQuery = FALSE; // only asked: nothing moves
    BOOL m_bDestroying = FALSE;

    DECLARE_MESSAGE_MAP()
};

// The small floating frame a bar sits in when it is not docked. Owned by the docking frame; closing it
// hides the bar.
class CMiniDockFrameWnd : public CFrameWnd {
    DECLARE_DYNAMIC(CMiniDockFrameWnd)
public:
    CMiniDockFrameWnd() = default;
    // bSizable: the bar sizes itself (CBRS_SIZE_DYNAMIC), so the frame has a sizing border.
    BOOL Create(CFrameWnd* pDockSite, BOOL bSizable);

    // Fits the window round its bar; hidden while the bar is.
    void RecalcLayout(BOOL bNotify = TRUE) override;
    CControlBar* GetBar() const;

    CDockBar* m_pDockBar = nullptr; // owned by its window
    CFrameWnd* m_pDockSite = nullptr;

    int OnCreate(LPCREATESTRUCT lpcs);
    void OnClose();
    void OnNcLButtonDown(UINT nHitTest, CPoint point);
    void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    LRESULT OnSizing(WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroyEmptyFrame(WPARAM wParam, LPARAM lParam);

protected:
    DECLARE_MESSAGE_MAP()
};

class CDockContext {
public:
    explicit CDockContext(CControlBar* pBar) : m_pBar(pBar) {}
    virtual ~CDockContext() = default;
    CDockContext(const CDockContext&) = delete;
    CDockContext& operator=(const CDockContext&) = delete;

    // Follows the mouse from pt (screen) until its button is released, drawing the bar's outline: the
    // bar docks on the side it is dropped on, or floats there (always with Ctrl held). Escape, the
    // right button or a lost capture cancel.
    virtual void StartDrag(CPoint pt);
    // A docked bar floats where it floated last; a floating one docks where it was docked last.
    virtual void ToggleDocking();

    // The steps of a drag, in the order StartDrag runs them.
    void BeginDrag(CPoint pt);
    void Move(CPoint pt);
    void EndDrag();
    void CancelDrag();
    // The dock bar a drop at the current outline would dock on; null to float.
    CDockBar* GetDropTarget() const { return m_pTarget; }
    // The outline a drop would give (screen): docked along a side, or floating.
    CRect GetDropRect() const;

    CControlBar* m_pBar;
    BOOL m_bDragging = FALSE;
    BOOL m_bForceFrame = FALSE; // Ctrl held: float wherever it is dropped

    // Where the bar was docked and floating last (ToggleDocking goes back there).
    UINT m_uMRUDockID = 0;
    int m_nMRURow = 0;
    int m_nMRUOffset = 0;
    BOOL m_bMRUFloat = FALSE;
    CPoint m_ptMRUFloatPos;
    DWORD m_dwMRUFloatStyle = CBRS_ALIGN_TOP;

    // Remembers where the bar is now, before it moves.
    void SaveMRUPosition();

private:
    CDockBar* FindDockBar() const;
    void DrawOutline(BOOL bErase);

    CPoint m_ptStart;
    CRect m_rectStartHorz, m_rectStartVert, m_rectStartFloat; // at the start of the drag (screen)
    CRect m_rectDragHorz, m_rectDragVert, m_rectFloat;
    CDockBar* m_pTarget = nullptr;
    CRect m_rectDrawn;
    BOOL m_bDrawn = FALSE;
    BOOL m_bDrawnThick = FALSE;
};

// ---- the frame's control bars ----
// Operations of CFrameWnd, given the frame.

// Makes dock bars along the sides dwDockStyle names (CBRS_ALIGN_*), top, bottom, left, right in that order.
void AfxEnableDocking(CFrameWnd* pFrame, DWORD dwDockStyle);
// Docks pBar on dock bar nDockBarID (AFX_IDW_DOCKBAR_*), or 0: the one of the bar's own alignment.
// lpRect (screen) places it; without it the bar takes a new last row.
void AfxDockControlBar(CFrameWnd* pFrame, CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
void AfxDockControlBar(CFrameWnd* pFrame, CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect);
// Puts pBar in a floating frame whose top-left corner is at point (screen); dwStyle gives it a
// horizontal (CBRS_ALIGN_TOP) or vertical (CBRS_ALIGN_LEFT) shape.
void AfxFloatControlBar(CFrameWnd* pFrame, CControlBar* pBar, CPoint point, DWORD dwStyle = CBRS_ALIGN_TOP);
// Shows or hides pBar; with bDelay the frame's layout follows at the next idle time.
void AfxShowControlBar(CFrameWnd* pFrame, CControlBar* pBar, BOOL bShow, BOOL bDelay);
// The bar of the frame with that id (docked, floating or not dockable), or null.
CControlBar* AfxGetControlBar(CFrameWnd* pFrame, UINT nID);
// The frame's dock bar with that id (AFX_IDW_DOCKBAR_*), or null.
CDockBar* AfxGetDockBar(CFrameWnd* pFrame, UINT nID);
// The floating frames of pFrame's bars.
std::vector<CMiniDockFrameWnd*> AfxGetFloatingFrames(CFrameWnd* pFrame);

// Saves where the frame's bars are (side, row, place, floating position, visibility) in the profile
// sections "<name>-Summary" and "<name>-Bar<n>"; LoadBarState puts them back. Bars of an id the frame
// no longer has, and values out of range, are skipped.
void AfxSaveBarState(CFrameWnd* pFrame, LPCSTR lpszProfileName);
void AfxLoadBarState(CFrameWnd* pFrame, LPCSTR lpszProfileName);

// The View menu's bar toggles (ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR): the bar of the command's id.
BOOL AfxOnBarCheck(CFrameWnd* pFrame, UINT nID);
void AfxOnUpdateControlBarMenu(CFrameWnd* pFrame, CCmdUI* pCmdUI);
