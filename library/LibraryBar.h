// CLibraryBar: the docking picture-library bar of the main window: the library's folder tree and
// the thumbnail list of the folder chosen in it, a movable splitter between them, two tool bars, the
// tool host and the status line. Its idle step loads the chosen folder 200 ms after the last choice
// and builds one missing thumbnail per step.
#pragma once
#include "shell/LibraryLink.h"
#include "shell/ToolBarEx.h"
#include "framework/Collections.h"
#include "framework/ControlBar.h"
#include "framework/Controls.h"
#include "framework/Gdi.h"
#include "library/LibTreeCtrl.h"
#include "piclist/PicListDrag.h"
#include "piclist/PicListBox.h"

#include <vector>

// The tool host: parent of the picture tool bar; its buttons' commands go to the main frame as the
// menu items of the same ids do, and it answers their tool tips from the command prompts.
class CLibToolHost : public CWnd {
public:
    void OnCommandForward(UINT nID);
    BOOL OnToolTipText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);

protected:
    DECLARE_MESSAGE_MAP()
};

// The tool tip of a command: the text after the first '\n' of its prompt string, at most 79
// characters; empty without one.
CString LibToolTipText(UINT nID);

// The status line: how many pictures the list holds and how many are selected.
class CLibStatusLine : public CWnd {
public:
    CListBox* m_pList = nullptr;
    // The two lines for a count and a selected count (empty for an empty list).
    static void ComposeTexts(int count, int selected, CString* pFirst, CString* pSecond);
    // Paints the counts; without force only when they changed since the last paint. TRUE when painted.
    BOOL Paint(BOOL bForce);
    void OnPaint();
    int m_nLastCount = 0;
    int m_nLastSelected = 0;

protected:
    // Widens the line to the left when a text (in the font selected in hdc) is wider than it.
    void FitTexts(HDC hdc, const CString& first, const CString& second);
    DECLARE_MESSAGE_MAP()
};

// What a mouse drag on the bar moves: nothing, the splitter between the tree and the list (a row
// when they are stacked, a column when side by side), or the bar's own edge (its width docked left
// or right, its height docked top or bottom).
enum LibBarDragMode {
    kDragNone = 0,
    kDragSplitterRow = 1,
    kDragSplitterColumn = 2,
    kDragBarWidth = 3,
    kDragBarHeight = 4,
};

class CLibraryBar : public CControlBar,
                    public CLibTreeOwner,
                    public CPicListOwner,
                    public ILibraryLink,
                    public CPicDropSite {
    DECLARE_DYNAMIC(CLibraryBar)
public:
    CLibraryBar();
    ~CLibraryBar() override;

    // The bar's window as a child of pParentWnd; dwStyle mixes window and bar styles. FALSE on failure.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);

    // ---- children ----
    CFrameToolBar m_wndLibBarTools1;
    CLibToolHost m_wndToolBar1;
    CLibStatusLine m_wndToolBar0;
    CFrameToolBar m_wndLibBarTools2;
    CPicListBox m_list;
    CLibTreeCtrl m_tree;

    // ---- state ----
    CString m_strFolder;
    LibBarDragMode m_nDragMode = kDragNone;
    CPoint m_ptDragStart;
    int m_nDragPos = 0;
    BOOL m_bListHasFocus = TRUE;
    CPalette m_palette;
    DWORD m_dwFolderLoadTime = 1;
    BOOL m_bLoadPending = TRUE;
    CSize m_sizeFloat;
    CSize m_sizeDocked;
    BOOL m_bWide = FALSE;
    int* m_pSlideIndexes = nullptr;
    // The folder whose records the list holds (the commands on pictures work in it: for 200 ms after
    // a choice in the tree, m_strFolder is already the next one) and how many loads ran.
    CString m_strLoadedFolder;
    int m_nFolderLoads = 0;
    int m_nSlideCount = 0;

    // The clock of the folder load's delay (timeGetTime; tests put their own).
    static DWORD (*s_pfnNow)();

    // ---- idle step and loads ----
    void OnIdle();
    int m_nIdleSteps = 0; // idle steps taken, for the frame's dispatcher checks
    // The folder shown is loaded again at the next idle step.
    void RequestFolderReload() override;
    void LoadNormalFolder(const CString& path);
    void LoadProtectedFolder(const CString& path);
    void LoadTrashFolder(const CString& path);
    // Brings the list of the folder shown in line with the disk (pictures another program put there
    // or took away), keeping the selection and the caret on the pictures that stay.
    void RefreshShownList();
    // The list window in the style of its mode (trash rows or thumbnails), keeping its records.
    void ApplyView();

    // ---- layout ----
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    void GetGripRects(CRect* pGrip, CRect* pClient) const;
    void RecalcChildren();
    void UpdateStatusLine();
    // The side the bar is docked on (CBRS_ALIGN_*), 0 when floating.
    DWORD DockedSide() const;

    // ---- pictures in and out ----
    BOOL AddViewedPicture(HGLOBAL hDIB, const CString& name, CString* pStored, const CString& sourcePath);
    BOOL AddFileToLibrary(const CString& sourcePath, CString* pStored, const CString* pTargetFolder) override;
    static int MakeUniqueName(const CString& folder, const CString& format, int n);
    void SelectPicturesByName(const CStringArray* pPaths) override;
    BOOL MoveOrCopySelectedPictures(const CString& target, BOOL bCopy);
    // *pExported (when given): how many pictures arrived in target.
    BOOL CopySelectedPicturesTo(const CString& target, int* pExported = nullptr);

    // ---- ILibraryLink (the picture windows, the other lists) ----
    BOOL CanAddPicture() override;
    BOOL AddPictureOfWindow(HGLOBAL hDIB, LPCSTR name, LPCSTR sourcePath) override;
    CString GetLibraryFolder() override { return m_strFolder; }
    CWnd* GetPictureList() override { return &m_list; }
    BOOL IsLibraryShown() override { return ::IsWindow(m_hWnd) && IsWindowVisible(); }
    void FocusLibrary() override
    {
        if (m_bListHasFocus)
            FocusList();
        else
            m_tree.SetFocus();
    }
    BOOL IsProtectedPath(LPCSTR path) override;

    // ---- CLibTreeOwner, CPicListOwner ----
    void OnTreeFocus() override { m_bListHasFocus = FALSE; }
    void FocusList() override;
    void DropFilesOnList(HDROP hDrop) override;
    HWND CommandTarget() override { return m_hWnd; }
    CString GetListFolder() override { return m_strLoadedFolder; }
    void OnListContentChanged(CPicListBox*) override { UpdateStatusLine(); }
    void OnListFocusChanged(CPicListBox*, BOOL bHasFocus) override
    {
        if (bHasFocus)
            m_bListHasFocus = TRUE;
    }
    BOOL IsLibraryOwner() const override { return TRUE; }

    // ---- CPicDropSite: pictures dragged from the list or dropped on the tree (LibraryBarDrop.cpp) ----
    int DropSiteKind() const override { return kPicSiteLibrary; }
    HWND DropTreeWindow() override { return m_tree.m_hWnd; }
    BOOL DropTreeFolder(HTREEITEM hItem, CString* pPath, int* pKind, BOOL* pLocked) override;
    CString DropListFolder() override { return m_strFolder; }
    BOOL IsListFolderLocked() override;
    void OnLockedListClick() override;
    BOOL DropSelection(const PicDropDecision& drop) override;

    // ---- messages and commands ----
    BOOL PreTranslateMessage(MSG* pMsg) override;
    int OnCreate(LPCREATESTRUCT lpcs);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnSize(UINT nType, int cx, int cy);
    void OnMove(int x, int y);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnRButtonDown(UINT nFlags, CPoint point);
    void OnSetFocus(CWnd* pOldWnd);
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    void OnDestroy();
    LRESULT OnPaletteRealize(WPARAM wParam, LPARAM lParam);
    void OnReserved() {}
    void OnLibNewFolder();
    void OnUpdateLibNewFolder(CCmdUI* pCmdUI);
    void OnAddMode(UINT nID);
    void OnUpdateAddMode(CCmdUI* pCmdUI);
    // The print command: the list printed as thumbnail sheets through a picture-list print window,
    // when a folder other than the trash shows and at least one picture is selected.
    void PrintList();

    // ---- commands (LibraryBarCommands.cpp) ----
    BOOL IsInProtectedFolder();
    // Into the trash, remembering where they were and whether they were protected (the folder shown).
    BOOL MovePictureToTrash(const CString& path);
    BOOL MoveFolderToTrash(const CString& path);
    // Double click and Enter on the list: restore in the trash, else open (full screen by the
    // setting).
    void OpenListItems();
    void OnLibDelete();
    void OnUpdateLibDelete(CCmdUI* pCmdUI);
    void OnLibRecover();
    void OnUpdateLibRecover(CCmdUI* pCmdUI);
    void OnLibErase();
    void OnUpdateLibErase(CCmdUI* pCmdUI);
    void OnLibEmptyDeleted();
    void OnUpdateLibEmptyDeleted(CCmdUI* pCmdUI);
    void OnLibRefresh();
    // The tree made anew from the disk, its open folders and its choice kept; FALSE (a load of the
    // folder then chosen asked for) when the folder chosen is gone.
    BOOL RefreshTree();
    void OnUpdateLibRefresh(CCmdUI* pCmdUI);
    void OnLibOpenFolder();
    void OnUpdateLibOpenFolder(CCmdUI* pCmdUI);
    void OnLibRename();
    void OnUpdateLibRename(CCmdUI* pCmdUI);
    void OnLibParentFolder();
    void OnUpdateLibParentFolder(CCmdUI* pCmdUI);
    void OnLibOpenPicture();
    void OnUpdateLibOpenPicture(CCmdUI* pCmdUI);
    void OnLibOpenFullScreen();
    void OnUpdateLibOpenFullScreen(CCmdUI* pCmdUI);
    void OnLibAutoFullScreen();
    void OnUpdateLibAutoFullScreen(CCmdUI* pCmdUI);
    void OnLibSlideShow();
    void OnUpdateLibSlideShow(CCmdUI* pCmdUI);
    void OnLibSort(UINT nID);
    void OnUpdateLibSort(CCmdUI* pCmdUI);
    void OnLibView(UINT nID);
    void OnUpdateLibView(CCmdUI* pCmdUI);
    void OnLibSelectAll();
    void OnLibDeselectAll();
    void OnLibInvertSelection();
    void OnLibSelectPattern();
    void OnLibDeselectPattern();
    void OnUpdateLibListNotEmpty(CCmdUI* pCmdUI);
    void OnLibSelectionMenu();
    void OnLibViewMenu();
    void OnUpdateLibAlways(CCmdUI* pCmdUI);
    void OnLibProperties();
    void OnUpdateLibProperties(CCmdUI* pCmdUI);
    void OnLibImport();
    void OnUpdateLibImport(CCmdUI* pCmdUI);
    void OnLibExport();
    void OnLibEditPicture();
    void OnLibPrint();
    void OnUpdateLibPicturesOutsideTrash(CCmdUI* pCmdUI);
    void OnLibCopy();
    void OnUpdateLibCopy(CCmdUI* pCmdUI);
    // The table's commands by name; each sets or tests one value through the shared handler.
    void OnLibSortByName();
    void OnUpdateLibSortByName(CCmdUI* pCmdUI);
    void OnLibSortByType();
    void OnUpdateLibSortByType(CCmdUI* pCmdUI);
    void OnLibSortByDate();
    void OnUpdateLibSortByDate(CCmdUI* pCmdUI);
    void OnLibSortBySize();
    void OnUpdateLibSortBySize(CCmdUI* pCmdUI);
    void OnLibSortAscending();
    void OnUpdateLibSortAscending(CCmdUI* pCmdUI);
    void OnLibSortDescending();
    void OnUpdateLibSortDescending(CCmdUI* pCmdUI);
    void OnLibViewLarge();
    void OnUpdateLibViewLarge(CCmdUI* pCmdUI);
    void OnLibViewMedium();
    void OnUpdateLibViewMedium(CCmdUI* pCmdUI);
    void OnLibViewSmall();
    void OnUpdateLibViewSmall(CCmdUI* pCmdUI);
    void OnLibViewList();
    void OnUpdateLibViewList(CCmdUI* pCmdUI);
    void OnLibAddUncompressed();
    void OnUpdateLibAddUncompressed(CCmdUI* pCmdUI);
    void OnLibAddJpeg();
    void OnUpdateLibAddJpeg(CCmdUI* pCmdUI);
    void OnLibAddPng();
    void OnUpdateLibAddPng(CCmdUI* pCmdUI);
    void OnUpdateLibSelectAll(CCmdUI* pCmdUI);
    void OnUpdateLibDeselectAll(CCmdUI* pCmdUI);
    void OnUpdateLibInvertSelection(CCmdUI* pCmdUI);
    void OnUpdateLibSelectPattern(CCmdUI* pCmdUI);
    void OnUpdateLibDeselectPattern(CCmdUI* pCmdUI);
    void OnUpdateLibSelectionMenu(CCmdUI* pCmdUI);
    void OnUpdateLibViewMenu(CCmdUI* pCmdUI);
    void OnUpdateLibExport(CCmdUI* pCmdUI);
    void OnUpdateLibEditPicture(CCmdUI* pCmdUI);
    void OnUpdateLibPrint(CCmdUI* pCmdUI);

protected:
    DECLARE_MESSAGE_MAP()

private:
    // The band of the splitter the point is in, for the current layout.
    BOOL InSplitter(CPoint point) const;
    // The point (client coordinates, may lie in the border outside them) is in the resize grip.
    BOOL InGrip(CPoint point) const;
    void DrawDragLine(int pos);
    int ClampDrag(int pos) const;
    // The selected items' records as transfer items, in index order, with their indexes.
    void SelectedItems(std::vector<struct TransferItem>* pItems, std::vector<int>* pIndexes);
    BOOL IsOwnFolder(const CString& path) const;
    void OpenFirstSelected(BOOL bFullScreen);
    void PopupBarMenu(int nPopup);
    // The list or the tree, whichever had the focus last, takes it; the information pane is cleared.
    void FocusLastPane();
    // A command's last step puts the keys in the bar (its list or tree, as FocusLastPane), or in its
    // list, wherever the command came from: they stay there when the command ends.
    void KeysToBar();
    void KeysToList();

    HDC m_hScreenDC = nullptr;
    int m_nDragBase = 0;
};

// The main frame's library bar (set by the main frame while it exists, null otherwise).
extern CLibraryBar* g_pLibraryBar;
