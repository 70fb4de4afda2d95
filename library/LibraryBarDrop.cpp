// The library bar in drags of pictures: what its tree's folders are as drop targets, and the drops
// of its own list's pictures (moved or copied into a library folder, copied out to a disk folder,
// or deleted into the trash as the delete command does).
#include "library/LibraryBar.h"

#include "library/ProtectedAccess.h"
#include "resources/resource.h"

BOOL CLibraryBar::DropTreeFolder(HTREEITEM hItem, CString* pPath, int* pKind, BOOL* pLocked)
{
    if (hItem == nullptr || !::IsWindow(m_tree.m_hWnd))
        return FALSE;
    *pKind = m_tree.GetItemKind(hItem);
    *pPath = m_tree.GetItemPath(hItem);
    *pLocked = *pKind == LIB_KIND_PROTECTED && !g_bProtectedUnlocked;
    return TRUE;
}

BOOL CLibraryBar::IsListFolderLocked()
{
    return ::IsWindow(m_tree.m_hWnd) && m_tree.GetSelectedKind() == LIB_KIND_PROTECTED
           && !g_bProtectedUnlocked;
}

void CLibraryBar::OnLockedListClick()
{
    BOOL bReload = FALSE;
    CheckProtectedAccess(kGateListClick, &bReload);
    if (bReload)
        RequestFolderReload();
}

BOOL CLibraryBar::DropSelection(const PicDropDecision& drop)
{
    switch (drop.target) {
    case kDropLibraryTree:
        if (drop.onTrash) {
            // The delete command of the list, once the drag is over: the pictures go to the trash
            // with their records, and the list loses none of its items inside its own button-up.
            m_bListHasFocus = TRUE;
            PostMessage(WM_COMMAND, ID_LIB_DELETE);
            return TRUE;
        }
        return MoveOrCopySelectedPictures(drop.path, drop.copy != kDropAsMove);
    case kDropExplorerTree:
    case kDropExplorerList:
        // Pictures leave the library only as copies.
        return CopySelectedPicturesTo(drop.path);
    default:
        return FALSE;
    }
}
