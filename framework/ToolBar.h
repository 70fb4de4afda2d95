// CToolBar: a control bar on the common controls' tool bar, loaded from a tool-bar resource (RT_TOOLBAR)
// and the bitmap of the same id; its buttons are enabled and checked through CCmdUI at idle time, and it
// wraps into rows or a column when it floats or docks along a left or right edge.
#pragma once
#include "framework/ControlBar.h"

#include <vector>

// The resource type of tool bars; the resource compiler has no statement for it, so scripts write
// them as raw resources of this type.
#define AFX_RT_TOOLBAR 241

// Button styles (low word: TBSTYLE_*) and states (high word: TBSTATE_*) of GetButtonStyle and
// SetButtonStyle. The enabled state is kept inverted, so that a style without state bits is an
// enabled button.
#define TBBS_BUTTON MAKELONG(TBSTYLE_BUTTON, 0)
#define TBBS_SEPARATOR MAKELONG(TBSTYLE_SEP, 0)
#define TBBS_CHECKBOX MAKELONG(TBSTYLE_CHECK, 0)
#define TBBS_GROUP MAKELONG(TBSTYLE_GROUP, 0)
#define TBBS_CHECKGROUP (TBBS_GROUP | TBBS_CHECKBOX)
#define TBBS_DROPDOWN MAKELONG(TBSTYLE_DROPDOWN, 0)
#define TBBS_CHECKED MAKELONG(0, TBSTATE_CHECKED)
#define TBBS_PRESSED MAKELONG(0, TBSTATE_PRESSED)
#define TBBS_DISABLED MAKELONG(0, TBSTATE_ENABLED)
#define TBBS_INDETERMINATE MAKELONG(0, TBSTATE_INDETERMINATE)
#define TBBS_HIDDEN MAKELONG(0, TBSTATE_HIDDEN)
#define TBBS_WRAPPED MAKELONG(0, TBSTATE_WRAP)

// Reads a tool-bar resource: WORD version (1), WORD image width, WORD image height, WORD count, then
// count WORD command ids (0 is a separator). FALSE, with nothing filled, when the bytes are too few for
// the count, the version is not 1, or an image size is 0 or above 256.
BOOL AfxReadToolBarResource(const void* pData, DWORD cbData, CSize* pSizeImage, std::vector<UINT>* pIDs);

class CToolBar : public CControlBar {
    DECLARE_DYNAMIC(CToolBar)
public:
    CToolBar();
    ~CToolBar() override;

    // dwStyle mixes window styles and CBRS_* bar styles.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                UINT nID = AFX_IDW_TOOLBAR);
    // dwCtrlStyle: TBSTYLE_* of the control; rcBorders: the bar's gaps.
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                  DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect rcBorders = CRect(0, 0, 0, 0),
                  UINT nID = AFX_IDW_TOOLBAR);

    // The buttons of tool-bar resource nIDResource, their sizes, and the bitmap of the same id as their
    // images. FALSE when the resource or its bitmap is missing or malformed.
    BOOL LoadToolBar(UINT nIDResource) { return LoadToolBar(MAKEINTRESOURCEA(nIDResource)); }
    BOOL LoadToolBar(LPCSTR lpszResourceName);
    // The button images: a strip of m_sizeImage pictures. The standard greys, black and white become
    // the system's button colours.
    BOOL LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCEA(nIDResource)); }
    BOOL LoadBitmap(LPCSTR lpszResourceName);
    // Takes the bitmap over (it is deleted with the bar or the next bitmap).
    BOOL SetBitmap(HBITMAP hbmImageWell);
    // Buttons with these command ids (ID_SEPARATOR: a separator), taking the images in order; a null
    // array makes nIDCount separators for SetButtonInfo to fill in.
    BOOL SetButtons(const UINT* lpIDArray, int nIDCount);
    // Button and image sizes; a button is at least 7 pixels wider and 6 higher than its image.
    void SetSizes(SIZE sizeButton, SIZE sizeImage);

    int GetCount() const;
    // The index of the button of that command, -1 when there is none.
    int CommandToIndex(UINT nIDFind) const;
    UINT GetItemID(int nIndex) const;
    // The item's rectangle in the bar's client area (empty for a bad index).
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    UINT GetButtonStyle(int nIndex) const;
    void SetButtonStyle(int nIndex, UINT nStyle);
    // iImage: the image index, or a separator's width.
    void GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const;
    void SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    void SetBarStyle(DWORD dwStyle) override;
    // The command id of the button under point, -1 elsewhere (there the bar can be dragged).
    int OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override;

    HBITMAP m_hbmImageWell = nullptr; // the button images, owned
    CSize m_sizeButton{23, 22};
    CSize m_sizeImage{16, 15};

protected:
    struct Item {
        BYTE fsStyle;
        BYTE fsState;
        int nWidth;        // along a row
        bool bPlaceholder; // a separator holding the place of a control
    };
    BOOL GetButton(int nIndex, TBBUTTON* pButton) const;
    // Replaces a button, keeping its wrap state (the layout's); only what changed is sent.
    void SetButton(int nIndex, const TBBUTTON& button);
    std::vector<Item> GetItems() const;
    // Wraps items for rows at most nWidth wide (-1: one row; 0: one item a row); the content size.
    CSize WrapItems(std::vector<Item>& items, int nWidth) const;
    // The width whose wrapped rows are at most nHeight high.
    int WidthForHeight(const std::vector<Item>& items, int nHeight) const;
    CSize CalcLayout(DWORD dwMode, int nLength = -1);
    // Whether a layout in this mode is the one the bar shows now (its wraps then go to the control).
    BOOL IsCurrentMode(DWORD dwMode) const;

    int m_nImages = 0; // images in m_hbmImageWell

    DECLARE_MESSAGE_MAP()
};
