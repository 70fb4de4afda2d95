// CExplorerView: the view of a folder-explorer window: the shell folder tree on the left, the
// folder's pictures on the right, a splitter between them. Choosing a folder only records a request;
// the idle step (the main frame's tick) loads it after a pause and starts the folder watch, whose
// change lines it applies to the list.
#pragma once
#include "explorer/FolderWatch.h"
#include "piclist/PicListSheetSource.h"
#include "explorer/ShellTree.h"
#include "framework/Collections.h"
#include "framework/Gdi.h"
#include "framework/Sync.h"
#include "framework/View.h"
#include "piclist/PicListBox.h"
#include "piclist/PicListDrag.h"

#include <vector>

class CExplorerDoc;
class CExplorerMDI;
class CWinThread;

// Millisecond clock of the idle step (tests replace it).
typedef DWORD (*ExplorerClockFn)();
extern ExplorerClockFn g_pfnExplorerClock;

// The rectangles of the tree and the list in a client area of width w and height h, with the
// splitter at splitterX; topInset adds the 3 pixels under a shown local tool bar.
void ComputeExplorerLayout(int w, int h, int splitterX, BOOL topInset, RECT* pTree, RECT* pList);
// A splitter position kept inside the view: 50 at least, then w - 50 at most.
int ClampSplitter(int x, int w);

// Runs one shell verb of the files' context menu (all in one folder, the first one's); FALSE when the
// menu could not be made.
BOOL InvokeShellVerbOnFiles(CWnd* pOwner, const CStringArray& paths, UINT verb);

class CExplorerView : public CView, public CShellTreeOwner, public CPicListOwner, public CPicDropSite {
    DECLARE_DYNCREATE(CExplorerView)
public:
    CExplorerView();
    ~CExplorerView() override;
    CExplorerDoc* GetDocument() const;

    // Places the view's child frame in the explorer area of the main window.
    void ArrangeChildFrame(BOOL byPlacement);
    // Fills panes 1 to 3 of the explorer layout of the status bar.
    void UpdateStatusPanes();
    // One idle step: carries out a folder request, applies change lines, builds a thumbnail.
    // Non-zero when it did work.
    int OnIdle();

    // The document's title: the folder shown, and whether it is gone (renamed or removed meanwhile).
    void UpdateTitle();

    // The folder watch of the folder shown (one thread per view).
    void StartFolderWatch(const CString& path);
    void StopFolderWatch();

    // The tree's operations, as the view offers them.
    void FillTree() { m_tree.FillTree(); }
    void SelectTreeFolderByPath(const CString& path) { m_tree.SelectTreeFolderByPath(path); }
    void SelectTreeFolderByDisplayPath(const CString& path) { m_tree.SelectTreeFolderByDisplayPath(path); }
    CString GetTreeItemPath(HTREEITEM hItem) { return m_tree.GetTreeItemPath(hItem); }

    // CShellTreeOwner
    void OnTreeFolderRequested(const CString& path, const CString& name, const CString& displayPath) override;
    BOOL IsTreeSelectionFrozen() const override { return m_bDestroying; }
    void OnTreeFocus() override { m_bListHasFocus = FALSE; }
    void OnTreeTab() override;
    // Space in the tree: the keyboard goes to the library bar (its list or its tree, whichever had
    // it last), when the bar shows.
    void OnTreeSpace() override;

    // CPicListOwner
    CString GetListFolder() override;
    void OnListContentChanged(CPicListBox* pList) override;
    void OnListFocusChanged(CPicListBox* pList, BOOL bHasFocus) override;
    void OnListSelChange();

    // CPicDropSite: the folder tree and the list in drags of pictures (ExplorerViewDrop.cpp)
    int DropSiteKind() const override { return kPicSiteExplorer; }
    HWND DropTreeWindow() override { return m_tree.m_hWnd; }
    CPicListBox* DropList() override { return HasListWindow() ? &m_list : nullptr; }
    BOOL DropTreeFolder(HTREEITEM hItem, CString* pPath, int* pKind, BOOL* pLocked) override;
    CString DropListFolder() override { return GetListFolder(); }
    BOOL IsListFolderLocked() override;
    BOOL DropSelection(const PicDropDecision& drop) override;
    // Adds the selected pictures to a library folder (the drop on the library); the paths they were
    // given there. FALSE when there is no library bar.
    BOOL AddSelectionToLibrary(const CString& folder, CStringArray* pAdded = nullptr);

    void OnDraw(CDC* pDC) override;
    // Printing the list as thumbnail sheets titled with the folder shown.
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) override;
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
    void OnPrintList();
    void OnPreviewList();
    void OnInitialUpdate() override;
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    int OnCreate(LPCREATESTRUCT lpcs);
    void OnDestroy();
    void OnSize(UINT nType, int cx, int cy);
    BOOL OnEraseBkgnd(CDC* pDC);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnSetFocus(CWnd* pOldWnd);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    LRESULT OnPaletteRealize(WPARAM wParam, LPARAM lParam);
    LRESULT OnFolderChanged(WPARAM wParam, LPARAM lParam);
    void OnNewFolder();
    void OnUpdateNewFolder(CCmdUI* pCmdUI);
    void OnDelete();
    void OnUpdateDelete(CCmdUI* pCmdUI);
    void OnProperties();
    void OnUpdateProperties(CCmdUI* pCmdUI);
    void OnToggleFullScreenOpen();
    void OnUpdateToggleFullScreenOpen(CCmdUI* pCmdUI);
    void OnRefresh();
    // ---- commands on the list's pictures (ExplorerListCommands.cpp) ----
    void OnOpen();
    void OnOpenFullScreen();
    // The list's double click: full screen or not, as the view's switch says.
    void OnOpenItem();
    void OnUpdateNeedsSelection(CCmdUI* pCmdUI);
    void OnUpdateNeedsOne(CCmdUI* pCmdUI);
    void OnUpdateNeedsItems(CCmdUI* pCmdUI);
    void OnSlideShow();
    void OnPreview();
    void OnToggleAutoPreview();
    void OnUpdateToggleAutoPreview(CCmdUI* pCmdUI);
    void OnSortKey(UINT nID);
    void OnUpdateSortKey(CCmdUI* pCmdUI);
    void OnSortOrder(UINT nID);
    void OnUpdateSortOrder(CCmdUI* pCmdUI);
    void OnListView(UINT nID);
    void OnUpdateListView(CCmdUI* pCmdUI);
    void OnSelectAllRange();
    void OnSelectAll();
    void OnDeselectAll();
    void OnInvertSelection();
    void OnSelectionMenu();
    void OnEditPicture();
    void OnAddToLibrary();
    void OnUpdateAddToLibrary(CCmdUI* pCmdUI);
    void OnSelectPattern();
    void OnDeselectPattern();
    void OnEditCopy();
    // Copies or moves the selected pictures into a folder (the list's drop); FALSE without a
    // selection. A file already there is replaced only when the user agrees, and never by itself.
    BOOL CopyOrMoveSelection(CString destination, BOOL copy);
    CPicObject* GetFirstSelectedRecord() const;
    void OnParentFolder();
    void OnUpdateParentFolder(CCmdUI* pCmdUI);
    void OnToggleLocalToolBar();
    void OnUpdateToggleLocalToolBar(CCmdUI* pCmdUI);
    // The application's view messages (shell/AppMessages.h).
    LRESULT OnViewArrange(WPARAM wParam, LPARAM lParam);
    LRESULT OnViewKind(WPARAM wParam, LPARAM lParam);
    LRESULT OnViewStatus(WPARAM wParam, LPARAM lParam);
    LRESULT OnViewIdle(WPARAM wParam, LPARAM lParam);

    // Lays the tree and the list out in the client area.
    void LayoutChildren();
    // TRUE when the local tool bar pushes the children down (shown, or the frame maximised).
    BOOL IsToolBarInset();

    CPicListBox m_list;
    CListSheetPrint m_sheetPrint;
    CString m_strShownPath = "@";
    CString m_strRequestedPath;
    CString m_strShownDisplayPath;
    CString m_strRequestedDisplayPath;
    CString m_strShownName;
    CString m_strRequestedName;
    int* m_pSlideIndices = nullptr;
    int m_nSlideCount = 0;
    int m_nSplitterX;
    BOOL m_bSplitterDragging = FALSE;
    POINT m_ptDragStart = {0, 0};
    int m_nTrackX = 0;
    DWORD m_dwChangeTime = 1;
    BOOL m_bListHasFocus = FALSE;
    CPalette m_palette;
    BOOL m_bFullScreenOpen;
    BOOL m_bChangesPending = FALSE;
    int m_nIdleCount = 0;
    BOOL m_bArranging = FALSE;
    CExplorerTreeCtrl m_tree;
    BOOL m_bDestroying = FALSE;
    CStringArray m_arrChanges;
    FolderSnapshot m_pSnapshot = nullptr;
    HANDLE m_hWatchThread = nullptr;
    // Guards m_arrChanges and m_pSnapshot between the watch thread and the idle step.
    CCriticalSection m_lockChanges;
    // Idle steps run since creation (every call, for the main frame's tests).
    int m_nIdleSteps = 0;
    // The folder whose loading the list shows (empty while locked): change lines name files in it.
    CString m_strListFolder;
    // The list was loaded empty for the locked protected folder.
    BOOL m_bListLocked = FALSE;
    // Change lines handed to the list so far (tests follow the watch through it).
    CStringArray m_arrApplied;

protected:
    CExplorerMDI* GetExplorerFrame() const;

    // ---- the list on the right (ExplorerViewList.cpp) ----
    BOOL CreateList();
    void PlaceList();
    BOOL GetListWindowRect(CRect* pRect);
    BOOL HasListWindow() const;
    BOOL IsListWindow(HWND hWnd) const;
    void FocusList();
    int GetListCount() const;
    int GetSelectedCount() const;
    // Full paths of the selected pictures, in list order.
    void GetSelectedPaths(CStringArray& paths) const;
    std::vector<int> GetSelectedIndices() const;
    // The sums the status panes show (none without a list window).
    PicListTotals GetListTotals();
    int BuildNextThumbnail();
    // Loads the folder into the list ("" empties it).
    void LoadListFolder(const CString& folder);
    // Applies change lines to the list.
    void ApplyChanges(CStringArray& lines);
    // TRUE when the path lies in the locked protected-pictures folder.
    BOOL IsLockedFolder(const CString& path) const;
    void DrawSplitterBar(int x);

    CWinThread* m_pWatchThreadObject = nullptr;
    FolderWatchLink* m_pWatchLink = nullptr;
    // Where the list goes in the client area.
    RECT m_rectList = {0, 0, 0, 0};

    DECLARE_MESSAGE_MAP()
};
