// Drag and drop of pictures between the thumbnail lists and the folder trees, without OLE: the state
// of the one drag the program runs, the input it reads (behind a seam for tests), what the window
// under the cursor is as a target, and the windows holding lists (library bar, explorer view, search
// view) that carry a drop out as CPicDropSite.
#pragma once
#include "framework/String.h"

#include <windows.h>

#include <commctrl.h>

#include <vector>

class CPicListBox;
class CPicObject;
class CPicDropSite;
class CTreeCtrl;

// Sent by the drag tracker to the window under the cursor: an explorer's folder tree answers
// kShellTreeIdentifyAnswer, a thumbnail list whose parent is an explorer view kPicListIdentifyAnswer.
#define WM_SHELLTREE_IDENTIFY (WM_USER + 0x10A)
#define WM_PICLIST_IDENTIFY (WM_USER + 0x10B)
const LRESULT kShellTreeIdentifyAnswer = 0x0AFAFAFA;
const LRESULT kPicListIdentifyAnswer = 0x0BFBFBFB;

// What kind of window holds a list.
enum PicSiteKind { kPicSiteOther = 0, kPicSiteLibrary = 1, kPicSiteExplorer = 2, kPicSiteSearch = 3 };

// Drop targets (g_nDropTarget).
enum PicDropTarget {
    kDropNone = 0,
    kDropOwnList = 1,      // the list the drag started from: re-ordering
    kDropLibraryList = 2,  // the library bar's list
    kDropLibraryTree = 3,  // a folder of the library tree
    kDropExplorerTree = 4, // a folder of an explorer's tree
    kDropExplorerList = 5  // the list of an explorer
};

// Copy modes (g_nDropCopy): a move, a copy asked with Ctrl, a copy the pair of source and target forces.
const int kDropAsMove = 0;
const int kDropAsCtrlCopy = 0x8000;
const int kDropAsForcedCopy = 2;

// Folder kinds of the library tree's items.
const int kLibFolderRoot = 1;
const int kLibFolderImages = 2;
const int kLibFolderFavorites = 3;
const int kLibFolderProtected = 4;
const int kLibFolderTrash = 5;
const int kLibFolderOther = 6;

// What the drag reads of the system; tests put their own.
struct PicDragInput {
    HWND (*windowFromPoint)(POINT ptScreen);
    UINT (*driveType)(LPCSTR root);
    // TRUE when the folder exists.
    BOOL (*folderExists)(LPCSTR path);
};
extern PicDragInput g_picDragInput;
// Puts the real calls back.
void ResetPicDragInput();

// The list a drag starts from, as the classification sees it.
struct PicDragSource {
    CPicListBox* pList = nullptr;
    int kind = kPicSiteOther; // PicSiteKind of the list's parent
    CString folder;           // the folder the list shows (empty for search results)
};

// What the window under the cursor is for this drag.
struct PicDropDecision {
    int target = kDropNone;
    int copy = kDropAsMove;
    // The window is a target but does not take this drop (the pictures' own folder, a CD-ROM, the
    // locked protected folder, a missing folder): no-drop cursor, a beep on release.
    BOOL refused = FALSE;
    BOOL onTrash = FALSE;
    // The library folder dropped on is the one the library's list shows.
    BOOL currentLibraryFolder = FALSE;
    int index = -1; // own list: the item under the cursor, -1 on empty space
    CString path;   // the folder dropped on
    HWND hTree = nullptr;
    HTREEITEM hItem = nullptr;
    CPicDropSite* pSite = nullptr; // the window holding the target
    CPicListBox* pList = nullptr;  // the target list (2 and 5)
};

// The window holding a list (library bar, explorer view, search view) derives from this as well as
// from CPicListOwner; the drag finds it as the parent of the list or of the tree under the cursor, an
// explorer view among the main window's child windows.
class CPicDropSite {
public:
    virtual ~CPicDropSite() = default;
    virtual int DropSiteKind() const = 0;
    // The folder tree beside the list, null when none.
    virtual HWND DropTreeWindow() { return nullptr; }
    // The list, null while it has no window.
    virtual CPicListBox* DropList() { return nullptr; }
    // The folder a tree item stands for; the library tree also gives the item's folder kind and
    // whether it is the protected folder while locked. FALSE when it stands for no folder.
    virtual BOOL DropTreeFolder(HTREEITEM hItem, CString* pPath, int* pKind, BOOL* pLocked) { return FALSE; }
    // The folder the list shows, empty when none.
    virtual CString DropListFolder() { return CString(); }
    // The list shows the protected folder while it is locked.
    virtual BOOL IsListFolderLocked() { return FALSE; }
    // A press in the list while it shows the locked protected folder: the password gate.
    virtual void OnLockedListClick() {}
    // Carries the drop of this site's selected pictures out. FALSE when the site does not take it
    // (the list then beeps).
    virtual BOOL DropSelection(const PicDropDecision& drop) { return FALSE; }
};

// The library bar, once it exists (it sets itself); Space in an explorer or search list goes there.
extern CPicDropSite* g_pLibraryPicSite;

// ---- the one drag of the program ----
extern int g_nDragState; // 0 none, 1 pending (pressed on a selected item), 2 dragging
extern POINT g_ptDragStart;
extern int* g_pnDragItems; // indexes of the selected items at the press, ascending
extern int g_nDragCount;
extern int g_bCtrlNewlySelected;
extern CPicListBox* g_pDragSource;
extern int g_bSourceIsLibrary;
extern int g_bSourceIsSearch;
extern POINT g_ptDragCursor;
extern int g_nDropTarget;
extern int g_nDropIndex;
extern HTREEITEM g_hDropItem;
extern HWND g_pDropTree;
extern HTREEITEM g_hHoverItem;
extern CPicListBox* g_pDropList;
extern int g_bDropOnTrash;
extern int g_nDropCopy;

// The records of the recorded items as they were at the press (to find them again if the list changed).
extern std::vector<CPicObject*> g_arrDragRecords;

// The site holding a window (its parent), or null.
CPicDropSite* PicDropSiteOf(HWND hWnd);
// The folder tree, or the list, of an explorer window: looked for among the child windows of the
// main window whose active view is an explorer's; null when hWnd is none of them.
CTreeCtrl* FindExplorerTreeByHwnd(HWND hWnd);
CPicListBox* FindExplorerListByHwnd(HWND hWnd);
// What hUnder (the window under ptScreen) is for a drag from src with the Ctrl key as given.
PicDropDecision ClassifyPicDrop(const PicDragSource& src, POINT ptScreen, HWND hUnder, BOOL ctrl);
// The cursor for a decision and a number of pictures (null before the application loaded them: the
// system's).
HCURSOR PicDragCursor(const PicDropDecision& drop, int count);
// Moves the drop highlight of the trees to the decision's item (none when it is not a tree target).
void PicDragHighlight(const PicDropDecision& drop);
// Forgets the drag (state, highlight, recorded selection) without touching the mouse capture.
void ResetPicDrag();
// Frees the recorded selection.
void FreePicDragItems();
// Two folder paths name the same folder (case, trailing backslash and "C:" for "C:\" aside).
BOOL SamePicFolder(const CString& a, const CString& b);
