// CExplorerTreeCtrl: the explorer's tree of disk folders, read from the shell namespace: the drives
// of My Computer at the top, each folder's sub-folders read when it is first opened. Choosing a
// folder only tells the owner (the explorer view), which loads it at its next idle step.
#pragma once
#include "framework/CommonControls.h"
#include "framework/String.h"

#include <shlobj.h>
#include <windows.h>

// Sent by a list's drag tracker to the window under the cursor: a folder tree answers
// kShellTreeIdentity.
#define WM_SHELLTREE_IDENTIFY (WM_USER + 0x10A)
const LRESULT kShellTreeIdentity = 0x0AFAFAFA;

// The data of each tree item, from the shell allocator; freed when the item is deleted.
struct ShellTreeItem {
    IShellFolder* pParentFolder; // the folder holding the item (one reference)
    LPITEMIDLIST pidlRelative;   // the item within its parent
    LPITEMIDLIST pidlAbsolute;   // the item from the desktop
};

// What the tree tells the window holding it.
class CShellTreeOwner {
public:
    virtual ~CShellTreeOwner() = default;
    // A folder was chosen: its file-system path (no trailing '\', a drive is "C:"), its display
    // name and its display path (the names from the top level down, joined by '\').
    virtual void OnTreeFolderRequested(const CString& path, const CString& name,
                                       const CString& displayPath) = 0;
    // TRUE while selection changes must be ignored (the window is going).
    virtual BOOL IsTreeSelectionFrozen() const { return FALSE; }
    virtual void OnTreeFocus() {}
    // Tab: the focus goes to the list beside the tree.
    virtual void OnTreeTab() {}
    // Space: the focus goes to the library bar.
    virtual void OnTreeSpace() {}
};

// ---- item-id lists (all memory from the shell allocator) ----

// Bytes of the list with its terminator; 0 for null.
UINT GetItemIdListSize(LPCITEMIDLIST pidl);
// A zero-filled block, null on failure.
LPITEMIDLIST AllocItemIdList(UINT size);
// first (may be null) followed by second, as a new list.
LPITEMIDLIST ConcatItemIdLists(LPCITEMIDLIST first, LPCITEMIDLIST second);
// A copy of a single-level list.
LPITEMIDLIST CopyItemId(IMalloc* pMalloc, LPCITEMIDLIST pidl);
// The item's display name in the given form; FALSE when the shell gives none.
BOOL GetShellDisplayName(IShellFolder* pFolder, LPCITEMIDLIST pidl, DWORD flags, char name[MAX_PATH]);
// The file-system path of an absolute list, or empty (also for a path the code page cannot spell: such
// a folder stays out of the tree, as its look-alike path would name another folder or none).
CString GetItemIdListPath(LPCITEMIDLIST pidl);
void FreeItemIdList(LPITEMIDLIST pidl);

// The shell's context menu of one item, shown at a screen point; the chosen command is run.
// The relative list is borrowed. FALSE when the menu could not be made.
BOOL ShowShellContextMenu(CWnd* pOwner, IShellFolder* pFolder, LPCITEMIDLIST pidlRelative, POINT point);

// The folder's file-system path without trailing '\' (one character keeps it).
CString TrimFolderPath(const CString& path);

class CExplorerTreeCtrl : public CTreeCtrl {
public:
    // Child, visible, buttons, lines, lines at root, selection always shown, no drag.
    static const DWORD kStyle = 0x50000037;

    // Creates the window and gives it the system's small icons.
    BOOL CreateTree(CWnd* pParent, UINT nID, CShellTreeOwner* pOwner);

    // ---- filling ----
    // Rebuilds the whole tree from My Computer; on a shell failure the items stay.
    void FillTree();
    // Adds the folder's file-system sub-folders under hParent.
    void FillTreeLevel(IShellFolder* pFolder, LPCITEMIDLIST pidlFolder, HTREEITEM hParent);
    // Sort callback: the parent folder's own order.
    static int CALLBACK CompareTreeItems(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);

    // ---- finding ----
    // Selects the folder of a file-system path, opening the way down; stops at the first component
    // not found. A component differing only in case is found when no exact one is.
    void SelectTreeFolderByPath(CString path);
    // The same through the display names ("ActualDir").
    void SelectTreeFolderByDisplayPath(CString displayPath);
    // The item's file-system path without trailing '\'; empty without data or path.
    CString GetTreeItemPath(HTREEITEM hItem);
    // The item's path from its absolute list alone (no bind), trimmed the same way.
    CString GetItemFolderPath(HTREEITEM hItem);
    // The item's display name read from its data.
    CString GetItemDisplayName(HTREEITEM hItem);
    // The display path of an item: names from the top level down, joined by '\'.
    CString GetItemDisplayPath(HTREEITEM hItem);
    ShellTreeItem* GetShellItem(HTREEITEM hItem) const
    {
        return hItem == nullptr ? nullptr : reinterpret_cast<ShellTreeItem*>(GetItemData(hItem));
    }

    // ---- after a change on disk ----
    // "+" button from whether the folder now has sub-folders.
    void RefreshItemButton(HTREEITEM hItem);
    // Reads the selected item's sub-folders again and selects the one of that name.
    void SelectChildByName(const CString& name);
    // Collapses the item and forgets its children, so that opening it reads them again.
    void CollapseReset(HTREEITEM hItem);

    // ---- notifications (reflected from the parent) ----
    void OnItemExpanding(NMHDR* pNMHDR, LRESULT* pResult);
    void OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult);
    void OnDeleteItem(NMHDR* pNMHDR, LRESULT* pResult);
    void OnRightClick(NMHDR* pNMHDR, LRESULT* pResult);

    void OnSetFocus(CWnd* pOldWnd);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    LRESULT OnShellTreeIdentify(WPARAM wParam, LPARAM lParam);

    // Shell data blocks alive (inserted and not yet freed), for leak checks.
    static LONG LiveItemCount();

private:
    // Binds the item to its folder; null when it is not one. The caller releases it.
    IShellFolder* BindItem(HTREEITEM hItem);
    HTREEITEM FindSibling(HTREEITEM hFirst, const CString& key, BOOL byPath);
    void SelectByComponents(CString path, BOOL byPath);

    CShellTreeOwner* m_pOwner = nullptr;

    DECLARE_MESSAGE_MAP()
};

// Shell verbs of an item's context menu in the explore form (offsets from the first id).
const UINT kShellVerbDelete = 17;
const UINT kShellVerbProperties = 19;

// Runs one verb of the items' context menu without showing it. FALSE when the menu could not be
// made; a failed verb is reported. Tests may replace it (InvokeShellMenuCommandHook).
BOOL InvokeShellMenuCommand(CWnd* pOwner, IShellFolder* pFolder, LPCITEMIDLIST* ppidl, UINT count, UINT verb);
typedef BOOL (*ShellMenuCommandFn)(CWnd* pOwner, IShellFolder* pFolder, LPCITEMIDLIST* ppidl, UINT count,
                                   UINT verb);
// Non-null: called instead of the shell (tests).
extern ShellMenuCommandFn g_pfnInvokeShellMenuCommand;
