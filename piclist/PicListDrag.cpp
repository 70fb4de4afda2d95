// The shared drag state, the input seam, the classification of the window under the cursor, the
// drag cursors and the drop highlight of the trees.
#include "piclist/PicListDrag.h"

#include "shell/SharedUi.h"
#include "core/FileUtil.h"
#include "framework/CommonControls.h"
#include "framework/MDIFrameWnd.h"
#include "framework/View.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"
#include "piclist/PicListBox.h"
#include "piclist/SafeFileOps.h"

int g_nDragState = 0;
POINT g_ptDragStart = {0, 0};
int* g_pnDragItems = nullptr;
int g_nDragCount = 0;
int g_bCtrlNewlySelected = 0;
CPicListBox* g_pDragSource = nullptr;
int g_bSourceIsLibrary = 0;
int g_bSourceIsSearch = 0;
POINT g_ptDragCursor = {0, 0};
int g_nDropTarget = kDropNone;
int g_nDropIndex = -1;
HTREEITEM g_hDropItem = nullptr;
HWND g_pDropTree = nullptr;
HTREEITEM g_hHoverItem = nullptr;
CPicListBox* g_pDropList = nullptr;
int g_bDropOnTrash = 0;
int g_nDropCopy = kDropAsMove;
std::vector<CPicObject*> g_arrDragRecords;
CPicDropSite* g_pLibraryPicSite = nullptr;

namespace {

HWND RealWindowFromPoint(POINT pt) { return ::WindowFromPoint(pt); }
UINT RealDriveType(LPCSTR root) { return ::GetDriveTypeA(root); }
BOOL RealFolderExists(LPCSTR path) { return FolderExists(path) != 0; }

// "C:" stands for the drive's root; trailing backslashes go, except the root's own.
CString NormalFolder(const CString& path)
{
    CString s = path;
    if (s.GetLength() == 2 && s[1] == ':')
        s += "\\";
    while (s.GetLength() > 3 && s[s.GetLength() - 1] == '\\')
        s = s.Left(s.GetLength() - 1);
    return s;
}

// A file-system folder that takes no pictures: no path, a missing drive or folder, a CD-ROM drive.
BOOL IsRefusedFolder(const CString& path)
{
    if (path.GetLength() < 2)
        return TRUE;
    if (path.GetLength() == 2 && path[1] == ':') {
        CString root = path + "\\";
        if (!g_picDragInput.folderExists(root) || g_picDragInput.driveType(root) == DRIVE_CDROM)
            return TRUE;
    }
    if (path.GetLength() >= 3 && path[1] == ':' && g_picDragInput.driveType(path.Left(3)) == DRIVE_CDROM)
        return TRUE;
    return !g_picDragInput.folderExists(NormalFolder(path));
}

HTREEITEM TreeItemAt(HWND hTree, POINT ptScreen)
{
    TVHITTESTINFO hit = {};
    hit.pt = ptScreen;
    ::ScreenToClient(hTree, &hit.pt);
    HTREEITEM hItem = TreeView_HitTest(hTree, &hit);
    if (hItem == nullptr || (hit.flags & (TVHT_ONITEM | TVHT_ONITEMRIGHT | TVHT_ONITEMINDENT)) == 0)
        return nullptr;
    return hItem;
}

void ClassifyLibraryTree(const PicDragSource& src, POINT pt, HWND hTree, CPicDropSite* pSite,
                         PicDropDecision* d)
{
    HTREEITEM hItem = TreeItemAt(hTree, pt);
    CString path;
    int kind = 0;
    BOOL locked = FALSE;
    if (hItem == nullptr || !pSite->DropTreeFolder(hItem, &path, &kind, &locked))
        return;
    BOOL accepted = kind == kLibFolderOther || kind == kLibFolderImages || kind == kLibFolderFavorites
                    || kind == kLibFolderProtected
                    || (kind == kLibFolderTrash && src.kind == kPicSiteLibrary);
    if (!accepted)
        return;
    d->target = kDropLibraryTree;
    d->pSite = pSite;
    d->hTree = hTree;
    d->hItem = hItem;
    d->path = path;
    d->onTrash = kind == kLibFolderTrash;
    d->currentLibraryFolder = SamePicFolder(path, pSite->DropListFolder());
    if (src.kind == kPicSiteExplorer)
        d->copy = kDropAsForcedCopy;
    if (locked || path.IsEmpty() || !g_picDragInput.folderExists(NormalFolder(path)))
        d->refused = TRUE;
    // Pictures carried into the folder they lie in would replace themselves.
    else if (!d->onTrash && !src.folder.IsEmpty() && SamePicFolder(path, src.folder))
        d->refused = TRUE;
}

void ClassifyFileSystemFolder(const PicDragSource& src, PicDropDecision* d)
{
    if (src.kind == kPicSiteLibrary || src.kind == kPicSiteSearch)
        d->copy = kDropAsForcedCopy;
    if (d->pSite == nullptr || IsRefusedFolder(d->path))
        d->refused = TRUE;
    else if (!src.folder.IsEmpty() && SamePicFolder(d->path, src.folder))
        d->refused = TRUE;
}

BOOL SameProcess(HWND hWnd)
{
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    return pid == ::GetCurrentProcessId();
}

} // namespace

PicDragInput g_picDragInput = {RealWindowFromPoint, RealDriveType, RealFolderExists};

void ResetPicDragInput() { g_picDragInput = {RealWindowFromPoint, RealDriveType, RealFolderExists}; }

BOOL SamePicFolder(const CString& a, const CString& b)
{
    if (a.IsEmpty() || b.IsEmpty())
        return FALSE;
    CString na = NormalFolder(a), nb = NormalFolder(b);
    return AfxAnsiCompareNoCase(na, nb) == 0 || IsSamePath(na, nb);
}

CPicDropSite* PicDropSiteOf(HWND hWnd)
{
    if (hWnd == nullptr)
        return nullptr;
    return dynamic_cast<CPicDropSite*>(CWnd::FromHandlePermanent(::GetParent(hWnd)));
}

namespace {

// The explorer view of a child window of the main window whose tree (or list) is hWnd, or null.
CPicDropSite* FindExplorerSite(HWND hWnd, BOOL tree)
{
    auto* pMain = dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd());
    if (hWnd == nullptr || pMain == nullptr || pMain->m_hWndMDIClient == nullptr)
        return nullptr;
    for (HWND hChild = ::GetWindow(pMain->m_hWndMDIClient, GW_CHILD); hChild != nullptr;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        auto* pFrame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(hChild));
        auto* pSite = pFrame != nullptr ? dynamic_cast<CPicDropSite*>(pFrame->GetActiveView()) : nullptr;
        if (pSite == nullptr || pSite->DropSiteKind() != kPicSiteExplorer)
            continue;
        CPicListBox* pList = pSite->DropList();
        if (tree ? pSite->DropTreeWindow() == hWnd : pList != nullptr && pList->m_hWnd == hWnd)
            return pSite;
    }
    return nullptr;
}

} // namespace

CTreeCtrl* FindExplorerTreeByHwnd(HWND hWnd)
{
    if (FindExplorerSite(hWnd, TRUE) == nullptr)
        return nullptr;
    return dynamic_cast<CTreeCtrl*>(CWnd::FromHandlePermanent(hWnd));
}

CPicListBox* FindExplorerListByHwnd(HWND hWnd)
{
    CPicDropSite* pSite = FindExplorerSite(hWnd, FALSE);
    return pSite != nullptr ? pSite->DropList() : nullptr;
}

PicDropDecision ClassifyPicDrop(const PicDragSource& src, POINT ptScreen, HWND hUnder, BOOL ctrl)
{
    PicDropDecision d;
    d.copy = ctrl ? kDropAsCtrlCopy : kDropAsMove;
    if (hUnder == nullptr || src.pList == nullptr)
        return d;
    if (hUnder == src.pList->m_hWnd) {
        POINT client = ptScreen;
        ::ScreenToClient(hUnder, &client);
        d.target = kDropOwnList;
        d.pList = src.pList;
        d.index = src.pList->HitTestItem(client);
        return d;
    }
    // Only this program's windows can be targets; others are never sent the probes.
    if (!SameProcess(hUnder))
        return d;
    CPicDropSite* pSite = PicDropSiteOf(hUnder);
    if (src.kind != kPicSiteSearch && pSite != nullptr && pSite->DropSiteKind() == kPicSiteLibrary) {
        if (hUnder == pSite->DropTreeWindow()) {
            ClassifyLibraryTree(src, ptScreen, hUnder, pSite, &d);
            return d;
        }
        auto* pList = dynamic_cast<CPicListBox*>(CWnd::FromHandlePermanent(hUnder));
        if (pList != nullptr && src.kind == kPicSiteExplorer) {
            d.target = kDropLibraryList;
            d.pSite = pSite;
            d.pList = pList;
            d.copy = kDropAsForcedCopy;
            d.path = pSite->DropListFolder();
            d.currentLibraryFolder = TRUE;
            d.refused = pSite->IsListFolderLocked() || pList->LIBLIST_TRASH_MODE || d.path.IsEmpty()
                        || SamePicFolder(d.path, src.folder);
        }
        return d;
    }
    if (::SendMessageA(hUnder, WM_SHELLTREE_IDENTIFY, 0, 0) == kShellTreeIdentifyAnswer) {
        // A tree that answers as an explorer's is one only in an explorer window of the program.
        pSite = FindExplorerSite(hUnder, TRUE);
        if (pSite == nullptr)
            return d;
        d.target = kDropExplorerTree;
        d.pSite = pSite;
        d.hTree = hUnder;
        d.hItem = TreeItemAt(hUnder, ptScreen);
        int kind = 0;
        BOOL locked = FALSE;
        if (d.hItem == nullptr || !pSite->DropTreeFolder(d.hItem, &d.path, &kind, &locked))
            d.path.Empty();
        ClassifyFileSystemFolder(src, &d);
        if (locked)
            d.refused = TRUE;
        return d;
    }
    if (::SendMessageA(hUnder, WM_PICLIST_IDENTIFY, 0, 0) == kPicListIdentifyAnswer) {
        pSite = FindExplorerSite(hUnder, FALSE);
        if (pSite == nullptr)
            return d;
        d.target = kDropExplorerList;
        d.pSite = pSite;
        d.pList = pSite->DropList();
        d.path = pSite->DropListFolder();
        ClassifyFileSystemFolder(src, &d);
        if (pSite->IsListFolderLocked())
            d.refused = TRUE;
        return d;
    }
    return d;
}

HCURSOR PicDragCursor(const PicDropDecision& drop, int count)
{
    BOOL many = count >= 2;
    HCURSOR h;
    if (drop.target == kDropNone || drop.refused)
        h = g_hCursorNoDrop != nullptr ? g_hCursorNoDrop : ::LoadCursorA(nullptr, IDC_NO);
    else if (drop.copy != kDropAsMove)
        h = many ? g_hCursorDragCopyMany : g_hCursorDragCopyOne;
    else
        h = many ? g_hCursorDragMoveMany : g_hCursorDragMoveOne;
    return h != nullptr ? h : ::LoadCursorA(nullptr, IDC_ARROW);
}

void PicDragHighlight(const PicDropDecision& drop)
{
    BOOL onTree = (drop.target == kDropLibraryTree || drop.target == kDropExplorerTree) && !drop.refused;
    HWND hTree = onTree && drop.hItem != nullptr ? drop.hTree : nullptr;
    HTREEITEM hItem = hTree != nullptr ? drop.hItem : nullptr;
    if (g_pDropTree != nullptr && (g_pDropTree != hTree || g_hDropItem != hItem) && ::IsWindow(g_pDropTree)) {
        TreeView_SelectDropTarget(g_pDropTree, nullptr);
        // Some tree controls keep the item's state bit after the drop target is cleared.
        if (g_hDropItem != nullptr)
            TreeView_SetItemState(g_pDropTree, g_hDropItem, 0, TVIS_DROPHILITED);
    }
    if (hTree != nullptr && (g_pDropTree != hTree || g_hDropItem != hItem))
        TreeView_SelectDropTarget(hTree, hItem);
    g_pDropTree = hTree;
    g_hDropItem = hItem;
}

void ResetPicDrag()
{
    g_nDragState = 0;
    g_pDragSource = nullptr;
    g_nDropTarget = kDropNone;
    PicDropDecision none;
    PicDragHighlight(none);
    FreePicDragItems();
}

void FreePicDragItems()
{
    delete[] g_pnDragItems;
    g_pnDragItems = nullptr;
    g_nDragCount = 0;
    g_arrDragRecords.clear();
}
