// The library bar in drags of pictures: what its tree's folders are as drop targets, and the drops
// of its own list's pictures (moved or copied into a library folder, copied out to a disk folder,
// or deleted into the trash).
#include "library/LibraryBar.h"

#include "core/BusyCursor.h"
#include "library/DelObject.h"
#include "library/LibraryHost.h"
#include "library/PicObject.h"
#include "library/ProtectedAccess.h"

#include <vector>

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
        if (drop.onTrash)
            return TrashSelectedPictures();
        return MoveOrCopySelectedPictures(drop.path, drop.copy != kDropAsMove);
    case kDropExplorerTree:
    case kDropExplorerList:
        // Pictures leave the library only as copies.
        return CopySelectedPicturesTo(drop.path);
    default:
        return FALSE;
    }
}

BOOL CLibraryBar::TrashSelectedPictures()
{
    if (m_list.LIBLIST_TRASH_MODE || !::IsWindow(m_list.m_hWnd))
        return FALSE;
    int count = m_list.GetSelCount();
    if (count <= 0)
        return TRUE;
    std::vector<int> indexes(static_cast<size_t>(count));
    count = m_list.GetSelItems(count, indexes.data());
    CString root = LibraryRoot();
    BOOL bFromProtected = IsInProtectedFolder(m_strFolder);
    SetAppCursor(kAppCursorBusy);
    m_list.SetRedraw(FALSE);
    std::vector<int> moved;
    BOOL all = TRUE;
    for (int k = 0; k < count; k++) {
        CPicObject* pRecord = m_list.GetRecord(indexes[static_cast<size_t>(k)]);
        if (pRecord == nullptr)
            continue;
        CString path = pRecord->m_strPath;
        // Only pictures of the library go to its trash.
        if (root.IsEmpty() || path.GetLength() <= root.GetLength()
            || path.Left(root.GetLength()).CompareNoCase(root) != 0) {
            all = FALSE;
            continue;
        }
        CDelObject del(kTrashPicture);
        del.m_bFromProtected = bFromProtected;
        del.m_strRelPath = path.Mid(root.GetLength());
        del.m_strRelDaiPath = RecordFilePath(path).Mid(root.GetLength());
        del.m_strOrigFolder = path.Left(path.ReverseFind('\\'));
        if (del.MoveToTrash())
            moved.push_back(indexes[static_cast<size_t>(k)]);
        else
            all = FALSE;
    }
    for (size_t k = moved.size(); k-- > 0;)
        m_list.DeleteString(static_cast<UINT>(moved[k]));
    m_list.SetRedraw(TRUE);
    m_list.Invalidate();
    RestoreAppCursor();
    UpdateStatusLine();
    if (!moved.empty())
        ShowDeleteNotice();
    return all;
}
