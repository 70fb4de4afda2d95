// The explorer view in drags of pictures: its tree's folders and its list as targets, and the drops
// of its own pictures (added to the library, copied or moved to a disk folder).
#include "explorer/ExplorerView.h"

#include "core/BusyCursor.h"
#include "core/Progress.h"
#include "explorer/ExplorerGlobals.h"
#include "piclist/FailureReport.h"
#include "shell/LibraryLink.h"
#include "resources/resource.h"

BOOL CExplorerView::DropTreeFolder(HTREEITEM hItem, CString* pPath, int* pKind, BOOL* pLocked)
{
    *pPath = GetTreeItemPath(hItem);
    *pKind = kLibFolderOther;
    *pLocked = IsLockedFolder(*pPath) && !g_bProtectedUnlocked;
    return !pPath->IsEmpty();
}

BOOL CExplorerView::IsListFolderLocked() { return IsLockedFolder(GetListFolder()) && !g_bProtectedUnlocked; }

BOOL CExplorerView::AddSelectionToLibrary(const CString& folder, CStringArray* pAdded)
{
    ILibraryLink* pBar = g_pLibraryLink;
    if (pBar == nullptr)
        return FALSE;
    CStringArray paths;
    GetSelectedPaths(paths);
    int total = static_cast<int>(paths.GetSize());
    if (total == 0)
        return TRUE;
    BOOL bSavedReport = g_bReportProgress;
    if (total >= 2) {
        g_bReportProgress = FALSE;
        BeginProgress(static_cast<UINT>(IDS_PROGRESS_ADD));
    }
    SetAppCursor(kAppCursorBusy);
    g_bTransferBusy = TRUE;
    {
        // One question at the first failure, one summary for the others.
        CFailureBatch failures(total);
        for (int i = 0; i < total && !failures.Stopped(); i++) {
            CString stored;
            if (pBar->AddFileToLibrary(paths[i], &stored, &folder) && pAdded != nullptr)
                pAdded->Add(stored);
            if (total >= 2)
                SetProgress(static_cast<DWORD>(i + 1), static_cast<DWORD>(total));
            failures.Next();
        }
    }
    g_bTransferBusy = FALSE;
    if (total >= 2)
        EndProgress();
    RestoreAppCursor();
    g_bReportProgress = bSavedReport;
    return TRUE;
}

BOOL CExplorerView::DropSelection(const PicDropDecision& drop)
{
    switch (drop.target) {
    case kDropLibraryList:
    case kDropLibraryTree: {
        ILibraryLink* pBar = g_pLibraryLink;
        if (pBar == nullptr)
            return FALSE;
        if (!drop.currentLibraryFolder)
            return AddSelectionToLibrary(drop.path);
        // Into the folder the library shows: the add command, once the drag is over.
        if (!pBar->CanAddPicture())
            return FALSE;
        PostMessage(WM_COMMAND, ID_EXPLORER_ADD_TO_LIBRARY);
        return TRUE;
    }
    case kDropExplorerTree:
    case kDropExplorerList:
        return CopyOrMoveSelection(drop.path, drop.copy != kDropAsMove);
    default:
        return FALSE;
    }
}
