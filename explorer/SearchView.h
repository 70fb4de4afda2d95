// CSearchView: the view of a search-results window: one thumbnail list of the hits, with the
// explorer's commands that concern a list and an export of the selection. It never refreshes
// itself: pictures renamed, moved or deleted meanwhile stay listed until it is closed.
#pragma once
#include "piclist/PicListSheetSource.h"
#include "piclist/PicListBox.h"
#include "piclist/PicListDrag.h"
#include "framework/Gdi.h"
#include "framework/View.h"

class CSearchView : public CView, public CPicListOwner, public CPicDropSite {
    DECLARE_DYNCREATE(CSearchView)
public:
    CSearchView();
    ~CSearchView() override;

    // Places the view's child frame in the explorer area of the main window.
    void ArrangeChildFrame(BOOL byPlacement);
    // Fills panes 1 to 3 of the explorer layout of the status bar (only while that layout shows).
    void UpdateStatusPanes();
    // Copies (or moves) the selected pictures into the folder through the safe file steps, asking
    // before replacing a file; a cancel ends the batch. 0 without a selection, else 1.
    BOOL CopyOrMoveSelection(const CString& folder, BOOL bCopy);
    // Double-click or Enter in the list: opens the first selected picture, full screen when the
    // view's automatic full screen is on.
    void OnOpenItem();
    CPicListBox& GetList() { return m_list; }

    // CPicDropSite: the hits dragged onto an explorer's folders (SearchViewDrop.cpp).
    int DropSiteKind() const override { return kPicSiteSearch; }
    BOOL DropSelection(const PicDropDecision& drop) override;

    void OnDraw(CDC* pDC) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void OnInitialUpdate() override;
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
    void OnListContentChanged(CPicListBox* pList) override;
    // Printing the list as thumbnail sheets titled with the document's title.
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) override;
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;

    int OnCreate(LPCREATESTRUCT lpcs);
    void OnSize(UINT nType, int cx, int cy);
    void OnSetFocus(CWnd* pOldWnd);
    BOOL OnEraseBkgnd(CDC* pDC);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnListSelChange();
    void OnListDblClk();
    LRESULT OnPaletteRealize(WPARAM wParam, LPARAM lParam);
    // The application's view messages (shell/AppMessages.h).
    LRESULT OnViewArrange(WPARAM wParam, LPARAM lParam);
    LRESULT OnViewKind(WPARAM wParam, LPARAM lParam);
    LRESULT OnViewStatus(WPARAM wParam, LPARAM lParam);
    LRESULT OnViewIdle(WPARAM wParam, LPARAM lParam);

    // ---- commands ----
    void OnOpen();
    void OnOpenFullScreen();
    void OnAutoFullScreen();
    void OnUpdateAutoFullScreen(CCmdUI* pCmdUI);
    void OnUpdateNeedsSelection(CCmdUI* pCmdUI);
    void OnUpdateNeedsItems(CCmdUI* pCmdUI);
    void OnSort(UINT nID);
    void OnUpdateSort(CCmdUI* pCmdUI);
    void OnSortOrder(UINT nID);
    void OnUpdateSortOrder(CCmdUI* pCmdUI);
    void OnView(UINT nID);
    void OnUpdateView(CCmdUI* pCmdUI);
    void OnSelectAllRange();
    void OnSelectAll();
    void OnDeselectAll();
    void OnInvertSelection();
    void OnSelectPattern();
    void OnDeselectPattern();
    void OnSlideShow();
    void OnExport();
    void OnUpdateNeedsOne(CCmdUI* pCmdUI);
    void OnProperties();
    void OnEditCopy();
    void OnSelectionMenu();
    void OnToggleLocalToolBar();
    void OnUpdateToggleLocalToolBar(CCmdUI* pCmdUI);
    void OnPrintList();
    void OnPreviewList();

    CPicListBox m_list;
    int* m_pSlideIndices = nullptr;
    int m_nSlideCount = 0;
    int m_bPleinEcranAuto = 0;
    BOOL m_bArranging = FALSE;
    CPalette m_palette; // the application's fixed palette, realised for the list's thumbnails

protected:
    DECLARE_MESSAGE_MAP()

private:
    // Opens the picture of the first selected item, optionally full screen.
    void OpenFirstSelected(BOOL bFullScreen);
    std::vector<int> SelectedIndexes() const;
    void LayoutList();

    CListSheetPrint m_sheetPrint;
    CString m_strTotalFormat;
    CString m_strSelectedFormat;
};
