// The library bar's pictures in and out: adding a window's picture or a file to the folder shown,
// selecting what was added, and carrying the selected pictures to another folder.
#include "library/LibraryBar.h"

#include "shell/Settings.h"
#include "core/BusyCursor.h"
#include "piclist/FailureReport.h"
#include "library/LibraryAdd.h"
#include "library/LibraryTransfer.h"
#include "piclist/ListSelectionKeeper.h"
#include "piclist/PicObject.h"
#include "library/ProtectedAccess.h"
#include "piclist/SafeFileOps.h"

#include <algorithm>
#include <vector>

int CLibraryBar::MakeUniqueName(const CString& folder, const CString& format, int n)
{
    return ::MakeUniqueName(folder, format, n);
}

BOOL CLibraryBar::AddViewedPicture(HGLOBAL hDIB, const CString& name, CString* pStored,
                                   const CString& sourcePath)
{
    int kind = m_tree.GetSelectedKind();
    if (hDIB == nullptr || kind == LIB_KIND_TRASH || kind == LIB_KIND_ROOT
        || m_tree.GetSelectedItem() == nullptr)
        return FALSE;
    // Pictures never go into the protected folder while it is locked.
    if (kind == LIB_KIND_PROTECTED && !g_bProtectedUnlocked)
        return FALSE;
    return AddPictureToFolder(hDIB, name, sourcePath, m_strFolder, g_LibBarTypeCompression, pStored);
}

BOOL CLibraryBar::AddFileToLibrary(const CString& sourcePath, CString* pStored, const CString* pTargetFolder)
{
    if (pTargetFolder == nullptr) {
        int kind = m_tree.GetSelectedKind();
        if (m_tree.GetSelectedItem() == nullptr || kind == LIB_KIND_TRASH || kind == LIB_KIND_ROOT
            || (kind == LIB_KIND_PROTECTED && !g_bProtectedUnlocked))
            return FALSE;
    }
    ForgetFailedStep();
    if (AddFileToFolder(sourcePath, pTargetFolder != nullptr ? *pTargetFolder : m_strFolder,
                        g_LibBarTypeCompression, pStored))
        return TRUE;
    ReportAddFailure(sourcePath);
    return FALSE;
}

BOOL CLibraryBar::CanAddPicture()
{
    if (!::IsWindow(m_tree.m_hWnd) || m_tree.GetSelectedItem() == nullptr)
        return FALSE;
    int kind = m_tree.GetSelectedKind();
    return kind != LIB_KIND_ROOT && kind != LIB_KIND_TRASH
           && (kind != LIB_KIND_PROTECTED || g_bProtectedUnlocked);
}

BOOL CLibraryBar::AddPictureOfWindow(HGLOBAL hDIB, LPCSTR name, LPCSTR sourcePath)
{
    if (!CanAddPicture())
        return FALSE;
    // The folder shown is the tree's choice, even when the idle step has not caught up yet.
    m_strFolder = m_tree.GetSelectedPath();
    SetAppCursor(kAppCursorBusy);
    CString stored;
    CStringArray added;
    ForgetFailedStep();
    BOOL ok = AddViewedPicture(hDIB, name, &stored, sourcePath != nullptr ? sourcePath : "");
    if (ok)
        added.Add(stored);
    else
        ReportAddFailure(name != nullptr ? name : "");
    SelectPicturesByName(&added);
    RestoreAppCursor();
    return ok;
}

void CLibraryBar::SelectPicturesByName(const CStringArray* pPaths)
{
    if (pPaths == nullptr || pPaths->GetSize() == 0)
        return;
    m_list.SetRedraw(FALSE);
    // A list still holding the folder chosen before is loaded afresh: a merge would keep that
    // folder's records wherever both folders hold a picture of the same name, size and date.
    if (m_strLoadedFolder.CompareNoCase(m_strFolder) == 0)
        m_list.RefreshFolder(m_strFolder);
    else
        LoadNormalFolder(m_strFolder);
    m_list.SetRedraw(FALSE);
    m_list.SetSel(-1, FALSE);
    int lowest = -1;
    for (int p = 0; p < pPaths->GetSize(); p++) {
        for (int i = 0; i < m_list.GetCount(); i++) {
            CPicObject* pRecord = m_list.GetRecord(i);
            if (pRecord != nullptr && pRecord->m_strPath.CompareNoCase(pPaths->GetAt(p)) == 0) {
                m_list.SetSel(i, TRUE);
                if (lowest < 0 || i < lowest)
                    lowest = i;
                break;
            }
        }
    }
    if (lowest >= 0)
        m_list.SetCaretIndex(lowest, TRUE);
    m_list.SetRedraw(TRUE);
    m_list.Invalidate();
    UpdateStatusLine();
}

void CLibraryBar::RefreshShownList()
{
    // A load that is due anyway reads the folder afresh.
    if (m_bLoadPending || m_strLoadedFolder.IsEmpty()
        || m_strLoadedFolder.CompareNoCase(m_tree.GetSelectedPath()) != 0)
        return;
    if (m_list.LIBLIST_TRASH_MODE) {
        RequestFolderReload();
        return;
    }
    if (m_tree.GetSelectedKind() == LIB_KIND_PROTECTED && !g_bProtectedUnlocked)
        return;
    // Kept by path: the records of files that changed are replaced by the merge.
    CListSelectionKeeper kept(m_list);
    m_list.RefreshFolder(m_strLoadedFolder);
    kept.Restore();
    UpdateStatusLine();
}

BOOL CLibraryBar::IsOwnFolder(const CString& path) const
{
    CString a = path, b = m_strLoadedFolder;
    while (a.GetLength() > 3 && a[a.GetLength() - 1] == '\\')
        a = a.Left(a.GetLength() - 1);
    while (b.GetLength() > 3 && b[b.GetLength() - 1] == '\\')
        b = b.Left(b.GetLength() - 1);
    return a.CompareNoCase(b) == 0 || IsSamePath(a, b);
}

void CLibraryBar::SelectedItems(std::vector<TransferItem>* pItems, std::vector<int>* pIndexes)
{
    pItems->clear();
    pIndexes->clear();
    int count = m_list.GetSelCount();
    if (count <= 0)
        return;
    std::vector<int> indexes(count);
    count = m_list.GetSelItems(count, indexes.data());
    for (int k = 0; k < count; k++) {
        CPicObject* pRecord = m_list.GetRecord(indexes[k]);
        if (pRecord == nullptr)
            continue;
        pItems->push_back({pRecord->m_strPath, pRecord->m_strBaseName, pRecord->NameOnDisk()});
        pIndexes->push_back(indexes[k]);
    }
}

BOOL CLibraryBar::MoveOrCopySelectedPictures(const CString& target, BOOL bCopy)
{
    if (m_tree.GetSelectedKind() == LIB_KIND_TRASH || m_list.LIBLIST_TRASH_MODE)
        return FALSE;
    // The pictures of the list lie in the folder shown: carried there, they would replace themselves.
    if (IsOwnFolder(target)) {
        ::MessageBeep(static_cast<UINT>(-1));
        return TRUE;
    }
    std::vector<TransferItem> items;
    std::vector<int> indexes;
    SelectedItems(&items, &indexes);
    if (items.empty())
        return TRUE;
    m_list.SetRedraw(FALSE);
    std::vector<TransferOutcome> outcome = TransferPictures(items, target, bCopy);
    if (!bCopy) {
        // Indexes ascend: deleting from the last keeps the others valid.
        for (size_t k = outcome.size(); k-- > 0;)
            if (outcome[k] == kTransferDone)
                m_list.DeleteString(indexes[k]);
    }
    m_list.SetRedraw(TRUE);
    m_list.Invalidate();
    UpdateStatusLine();
    return TRUE;
}

BOOL CLibraryBar::CopySelectedPicturesTo(const CString& target, int* pExported)
{
    if (pExported != nullptr)
        *pExported = 0;
    if (m_tree.GetSelectedKind() == LIB_KIND_TRASH || m_list.LIBLIST_TRASH_MODE)
        return FALSE;
    std::vector<TransferItem> items;
    std::vector<int> indexes;
    SelectedItems(&items, &indexes);
    if (items.empty())
        return TRUE;
    std::vector<TransferOutcome> outcome = ExportPictures(items, target);
    if (pExported != nullptr)
        *pExported = static_cast<int>(std::count(outcome.begin(), outcome.end(), kTransferDone));
    m_list.SetRedraw(TRUE);
    return TRUE;
}
