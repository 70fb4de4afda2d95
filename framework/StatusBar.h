// CStatusBar: a control bar on the common controls' status bar, made of panes given by command ids
// (the key indicators, or ID_SEPARATOR for the message pane), each with a style, a width and a text;
// owner-drawn panes are drawn by the object's DrawItem.
#pragma once
#include "framework/ControlBar.h"

#include <vector>

// Pane styles: the status bar's own drawing styles, plus two of the framework's.
#define SBPS_NORMAL 0x0000
#define SBPS_NOBORDERS SBT_NOBORDERS
#define SBPS_POPOUT SBT_POPOUT
#define SBPS_OWNERDRAW SBT_OWNERDRAW
#define SBPS_DISABLED 0x04000000 // the pane shows no text
#define SBPS_STRETCH 0x08000000  // the pane takes the width the others leave

class CStatusBar : public CControlBar {
    DECLARE_DYNAMIC(CStatusBar)
public:
    CStatusBar();
    ~CStatusBar() override;

    // dwStyle mixes window styles and CBRS_* bar styles. A frame that can be sized gets a size grip.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                UINT nID = AFX_IDW_STATUS_BAR);

    // One pane per id. ID_SEPARATOR makes an empty pane (the first one stretches unless another has
    // SBPS_STRETCH); other ids take their string as text and width (the key indicators have French
    // texts of their own). The message pane keeps its text over a new set of panes; a new bar's starts
    // with the idle prompt.
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);

    int GetCount() const { return static_cast<int>(m_panes.size()); }
    // The index of the first pane of that id, -1 when there is none.
    int CommandToIndex(UINT nIDFind) const;
    UINT GetItemID(int nIndex) const;
    // The pane's rectangle in the bar's client area, as drawn (empty for a bad index).
    void GetItemRect(int nIndex, LPRECT lpRect) const;

    CString GetPaneText(int nIndex) const;
    void GetPaneText(int nIndex, CString& rString) const { rString = GetPaneText(nIndex); }
    // bUpdate: repaint the pane now; else it shows the text at its next painting.
    BOOL SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL bUpdate = TRUE);
    // cxWidth: the text area's width in pixels.
    void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    UINT GetPaneStyle(int nIndex) const;
    void SetPaneStyle(int nIndex, UINT nStyle);

    // Draws an owner-drawn pane (SBPS_OWNERDRAW): itemID is the pane's index, itemData its text.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    // Panes follow their update handlers; without one a key indicator shows its key's state.
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    void OnSize(UINT nType, int cx, int cy);
    UINT OnNcHitTest(CPoint point);
    LRESULT OnSetFont(WPARAM wParam, LPARAM lParam);
    // The message pane is the bar's window text (the frame's prompts arrive as WM_SETTEXT).
    LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);

protected:
    struct Pane {
        UINT nID;
        UINT nStyle;
        int cxText;
        CString strText;
    };
    std::vector<Pane> m_panes;

    // Sends the panes' edges to the control.
    void UpdateAllPanes();
    // Sends one pane's text and drawing style to the control.
    void UpdatePaneText(int nIndex);
    int GetTextHeight() const;
    BOOL IsValid(int nIndex) const { return nIndex >= 0 && nIndex < GetCount(); }

    DECLARE_MESSAGE_MAP()
};
