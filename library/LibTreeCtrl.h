// CLibTreeCtrl: the library's folder tree: the root, the four fixed folders made on first use, and
// the user's folders below them, filled when an item opens. It names, renames and moves folders on
// disk; the library bar loads whatever folder it selects.
#pragma once
#include "piclist/NameRule.h"
#include "framework/CommonControls.h"
#include "framework/String.h"

#include <windows.h>

#include <functional>
#include <vector>

// Kinds of tree items.
enum LibItemKind {
    LIB_KIND_ROOT = 1,
    LIB_KIND_IMAGES = 2,
    LIB_KIND_FAVORITES = 3,
    LIB_KIND_PROTECTED = 4,
    LIB_KIND_TRASH = 5,
    LIB_KIND_FOLDER = 6
};

// Icons of the tree's image list (bitmap 151).
enum LibTreeIcon {
    kTreeIconRoot = 0,
    kTreeIconImages = 1,
    kTreeIconFavorites = 2,
    kTreeIconProtected = 3,
    kTreeIconTrash = 4,
    kTreeIconFolder = 5,
    kTreeIconFolderOpen = 6
};

// What a folder drop onto the tree does.
enum FolderDropAction { kDropRefused, kDropToTrash, kDropMove };

// The window holding the tree (the library bar) answers these.
class CLibTreeOwner {
public:
    virtual ~CLibTreeOwner() = default;
    // The tree got the focus: the list no longer has it.
    virtual void OnTreeFocus() {}
    // Tab and dropped files go to the thumbnail list.
    virtual void FocusList() {}
    virtual void DropFilesOnList(HDROP hDrop) { ::DragFinish(hDrop); }
    // The protected folder's gate opened it: its pictures load at the next idle step.
    virtual void RequestFolderReload() {}
    // The window that library commands (delete, new folder) are posted to.
    virtual HWND CommandTarget() { return nullptr; }
};

class CLibTreeCtrl : public CTreeCtrl {
    DECLARE_DYNCREATE(CLibTreeCtrl)
public:
    CLibTreeCtrl();
    ~CLibTreeCtrl() override;

    // ---- what is selected ----
    int GetSelectedKind() const { return GetItemKind(GetSelectedItem()); }
    int GetItemKind(HTREEITEM hItem) const;
    CString GetSelectedPath() const;
    CString GetItemPath(HTREEITEM hItem) const;
    CString GetSelectedText() const;
    // Selects the item of a folder under the library root, opening the folders on the way.
    void SelectPath(const CString& path);
    // The folders shown open, parents first; and opening them again in a tree made anew.
    std::vector<CString> GetExpandedPaths() const;
    void ExpandPaths(const std::vector<CString>& paths);
    // Deletes an item with its children.
    void DeleteItemTree(HTREEITEM hItem) { DeleteItem(hItem); }

    // Root and fixed folders (made on disk when missing), then the root opened.
    void InitFolders();
    // Puts a dummy child under an item whose folder has subfolders, removes the children of one
    // whose folder has none.
    void UpdateExpandButton(HTREEITEM hItem);
    static BOOL HasSubfolders(const CString& folder);
    // One item per subfolder of path, sorted; the count inserted.
    int FillChildren(HTREEITEM hItem, const CString& path);

    // A new folder item under the selection, named by the user in place (the new-folder command).
    BOOL BeginNewFolder();
    // Ends a label edit the way the user would: pszTyped, the name as typed, null cancels.
    BOOL FinishLabelEdit(HTREEITEM hItem, LPCWSTR pszTyped);

    // ---- folder drops ----
    FolderDropAction ClassifyFolderDrop(HTREEITEM hDrag, HTREEITEM hTarget) const;
    // Carries out a drop: the trash posts the delete command for the dragged folder (selected
    // first); another folder receives it on disk and in the tree. FALSE when refused (with a beep).
    BOOL DropFolder(HTREEITEM hDrag, HTREEITEM hTarget);
    // Re-creates hItem with its descendants under hNewParent; the new item.
    HTREEITEM MoveSubtree(HTREEITEM hItem, HTREEITEM hNewParent);

    HTREEITEM RootItem() const { return m_hRoot; }
    HTREEITEM ImagesItem() const { return m_hImages; }
    HTREEITEM FavoritesItem() const { return m_hFavorites; }
    HTREEITEM ProtectedItem() const { return m_hProtected; }
    HTREEITEM TrashItem() const { return m_hTrash; }

    CImageList m_imageList;
    CImageList* m_pDragImage = nullptr;
    BOOL m_bDragging = FALSE;
    HTREEITEM m_hDragItem = nullptr;
    HTREEITEM m_hDropTarget = nullptr;
    CString m_strRootPath;
    BOOL m_bCreatingItem = FALSE;
    HWND m_hNewFolderKeys = nullptr; // where the keys were when the new folder was asked for
    BOOL m_bInitializing = FALSE;

    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnItemExpanding(NMHDR* pNMHDR, LRESULT* pResult);
    void OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult);
    void OnBeginLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    void OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    void OnBeginDrag(NMHDR* pNMHDR, LRESULT* pResult);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnRButtonDown(UINT nFlags, CPoint point);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnSetFocus(CWnd* pOldWnd);
    void OnDropFiles(HDROP hDropInfo);
    void OnCaptureChanged(CWnd* pWnd);
    LRESULT OnEditFailed(WPARAM wParam, LPARAM lParam);

    // Double click and Enter: reads an item's folders again (collapsed) or closes it.
    void ToggleItem(HTREEITEM hItem);

protected:
    DECLARE_MESSAGE_MAP()

private:
    CLibTreeOwner* Owner() const;
    void TakeLibraryRoot();
    HTREEITEM InsertFolderItem(const CString& name, HTREEITEM hParent, HTREEITEM hAfter, int image);
    void EndDrag();
    // Ends a folder drag with nothing moved (Escape, capture taken by another window).
    void CancelDrag();
    void PostToOwner(UINT nCmd);
    // The item of path (*pWhole set), the folders on the way opened; or the folder on the way that
    // cannot open; null when a part is missing.
    HTREEITEM OpenPath(const CString& path, BOOL* pWhole);

    HTREEITEM m_hRoot = nullptr;
    HTREEITEM m_hImages = nullptr;
    HTREEITEM m_hFavorites = nullptr;
    HTREEITEM m_hProtected = nullptr;
    HTREEITEM m_hTrash = nullptr;
    HTREEITEM m_hEditItem = nullptr; // the item whose label edit this tree began
    CString m_strEditOldLabel;
    HWND m_hLabelEditor = nullptr; // the tree's editor of that label, where the name is read whole
    // A new folder's item whose name was refused, removed once its editor has closed, and why, said
    // once the item is gone.
    HTREEITEM m_hRefusedItem = nullptr;
    std::function<void()> m_sayNotCreated;
    void RemoveRefusedItem();
};

// Why a folder of that name was not created: the name is taken, or the folder could not be made
// (with the reason of the step that failed).
CString FolderNotCreatedText(const CString& name, BOOL taken);
