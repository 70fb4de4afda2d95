// The library bar's commands: trash, folders, opening, sorting, views, selection, renaming,
// properties, import, export, the external editor, printing and copying. Each has its update
// handler of the same name; the main frame forwards both while the bar is visible.
#include "library/LibraryBar.h"

#include "core/BusyCursor.h"
#include "core/PackedDib.h"
#include "core/Progress.h"
#include "core/SystemUtil.h"
#include "framework/CmdUI.h"
#include "framework/CommonDialogs.h"
#include "framework/FrameworkTexts.h"
#include "framework/Menu.h"
#include "framework/PathDoor.h"
#include "framework/TestSeams.h"
#include "framework/WinApp.h"
#include "piclist/DelObject.h"
#include "piclist/FailureCause.h"
#include "piclist/FailureReport.h"
#include "piclist/LibraryHost.h"
#include "piclist/LibraryListCommands.h"
#include "piclist/ListCommands.h"
#include "piclist/ListSelectionKeeper.h"
#include "piclist/PicObject.h"
#include "piclist/PatternDialogs.h"
#include "piclist/PicProperties.h"
#include "piclist/PictureRename.h"
#include "library/ProtectedAccess.h"
#include "piclist/ReplaceConfirm.h"
#include "piclist/SafeFileOps.h"
#include "piclist/TrashDialogs.h"
#include "resources/library-cmds-ids.h"
#include "resources/library-store-ids.h"
#include "resources/resource.h"
#include "shell/MainFrameHost.h"
#include "shell/OpenDialog.h"
#include "shell/Settings.h"

#include <vector>

namespace {

std::vector<int> SelectedIndexes(const CListBox& list) { return SelectedListIndexes(list); }

int SelectedCount(const CListBox& list)
{
    int count = static_cast<int>(::SendMessageA(list.GetSafeHwnd(), LB_GETSELCOUNT, 0, 0));
    return count > 0 ? count : 0;
}

int ItemCount(const CListBox& list)
{
    int count = static_cast<int>(::SendMessageA(list.GetSafeHwnd(), LB_GETCOUNT, 0, 0));
    return count > 0 ? count : 0;
}

CObject* ItemRecord(const CListBox& list, int index)
{
    LRESULT data = ::SendMessageA(list.GetSafeHwnd(), LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    return data == LB_ERR ? nullptr : reinterpret_cast<CObject*>(data);
}

void SelectAndShow(CListBox& list, int index)
{
    int count = ItemCount(list);
    if (count == 0)
        return;
    if (index >= count)
        index = count - 1;
    HWND hList = list.GetSafeHwnd();
    ::SendMessageA(hList, LB_SETSEL, FALSE, -1);
    ::SendMessageA(hList, LB_SETSEL, TRUE, index);
    ::SendMessageA(hList, LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
}

class CRedrawOff {
public:
    explicit CRedrawOff(CWnd& wnd) : m_hWnd(wnd.GetSafeHwnd())
    {
        ::SendMessageA(m_hWnd, WM_SETREDRAW, FALSE, 0);
    }
    ~CRedrawOff()
    {
        ::SendMessageA(m_hWnd, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
    }

private:
    HWND m_hWnd;
};

class CBusy {
public:
    CBusy() { SetAppCursor(kAppCursorBusy); }
    ~CBusy() { RestoreAppCursor(); }
};

} // namespace

// ---- trash ----

BOOL CLibraryBar::IsInProtectedFolder() { return ::IsInProtectedFolder(m_tree.GetSelectedPath()); }

BOOL CLibraryBar::IsProtectedPath(LPCSTR path) { return ::IsInProtectedFolder(CString(path)); }

BOOL CLibraryBar::MovePictureToTrash(const CString& path)
{
    return ::MovePictureToTrash(path, IsInProtectedFolder());
}

BOOL CLibraryBar::MoveFolderToTrash(const CString& path)
{
    CDelObject item(kTrashFolder);
    item.m_bFromProtected = IsInProtectedFolder();
    item.m_strRelPath = RelativeToRoot(path);
    int slash = path.ReverseFind('\\');
    item.m_strOrigFolder = slash >= 0 ? path.Left(slash) : CString();
    return item.MoveToTrash();
}

void CLibraryBar::OnLibDelete()
{
    int kind = m_tree.GetSelectedKind();
    if (kind == LIB_KIND_TRASH) {
        if (m_bListHasFocus)
            OnLibErase();
        else
            OnLibEmptyDeleted();
        return;
    }
    if (!m_bListHasFocus) {
        if (kind != LIB_KIND_FOLDER)
            return;
        HTREEITEM hItem = m_tree.GetSelectedItem();
        CString path = m_tree.GetSelectedPath();
        BOOL confirmed = ConfirmDeleteFolder(this, m_tree.GetItemText(hItem));
        KeysToBar();
        if (!confirmed || !MoveFolderToTrash(path))
            return;
        HTREEITEM hNext = m_tree.GetNextSiblingItem(hItem);
        if (hNext == nullptr)
            hNext = m_tree.GetPrevSiblingItem(hItem);
        if (hNext == nullptr)
            hNext = m_tree.GetParentItem(hItem);
        m_tree.DeleteItemTree(hItem);
        m_tree.SelectItem(hNext);
        ShowDeleteNotice();
        KeysToBar();
        return;
    }
    KeysToBar();
    std::vector<int> selected = SelectedIndexes(m_list);
    if (selected.empty())
        return;
    std::vector<int> moved;
    {
        CBusy busy;
        CRedrawOff redraw(m_list);
        BOOL gauge = selected.size() > 1;
        if (gauge)
            BeginProgress(IDS_PROGRESS_DELETE);
        DWORD done = 0;
        CFailureBatch failures(static_cast<int>(selected.size()));
        for (int index : selected) {
            CPicObject* pRecord = dynamic_cast<CPicObject*>(ItemRecord(m_list, index));
            if (pRecord != nullptr && MovePictureToTrash(pRecord->FixPath(m_strLoadedFolder, FALSE)))
                moved.push_back(index);
            if (gauge)
                SetProgress(++done, static_cast<DWORD>(selected.size()));
            failures.Next();
            if (failures.Stopped())
                break;
        }
        if (gauge)
            EndProgress();
        // Only what reached the trash leaves the list; a picture that stayed keeps its item.
        for (auto it = moved.rbegin(); it != moved.rend(); ++it)
            m_list.DeleteString(static_cast<UINT>(*it));
    }
    UpdateStatusLine();
    if (!moved.empty())
        ShowDeleteNotice();
    KeysToBar();
}

void CLibraryBar::OnUpdateLibDelete(CCmdUI* pCmdUI)
{
    int kind = m_tree.GetSelectedKind();
    if (m_bListHasFocus)
        pCmdUI->Enable(SelectedCount(m_list) > 0);
    else
        pCmdUI->Enable(kind == LIB_KIND_TRASH || kind == LIB_KIND_FOLDER);
}

void CLibraryBar::OnLibRecover()
{
    if (m_tree.GetSelectedKind() != LIB_KIND_TRASH)
        return;
    CRecoverConfirmDlg dlg(this);
    if (dlg.DoModal() != IDOK)
        return;
    KeysToBar();
    std::vector<int> selected = SelectedIndexes(m_list);
    if (selected.empty())
        return;
    int first = selected.front();
    int restored = 0;
    BeginReplaceBatch();
    {
        CRedrawOff redraw(m_list);
        CBusy busy;
        CFailureBatch failures(static_cast<int>(selected.size()));
        for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
            CDelObject* pItem = dynamic_cast<CDelObject*>(ItemRecord(m_list, *it));
            if (pItem != nullptr && pItem->Restore()) {
                m_list.DeleteString(static_cast<UINT>(*it));
                restored++;
            }
            failures.Next();
            if (g_bReplaceCancelled || failures.Stopped())
                break;
        }
    }
    // Restored folders come back into the tree. The list already shows what is left in the trash: read
    // again, it would select its first item instead of the one now in the restored one's place.
    if (restored > 0)
        RefreshTree();
    SelectAndShow(m_list, first);
    UpdateStatusLine();
}

void CLibraryBar::OnUpdateLibRecover(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_tree.GetSelectedKind() == LIB_KIND_TRASH && SelectedCount(m_list) > 0);
}

void CLibraryBar::OnLibErase()
{
    if (m_tree.GetSelectedKind() != LIB_KIND_TRASH)
        return;
    CEraseConfirmDlg dlg(this);
    if (dlg.DoModal() != IDOK)
        return;
    KeysToBar();
    std::vector<int> selected = SelectedIndexes(m_list);
    if (selected.empty())
        return;
    int first = selected.front();
    {
        CRedrawOff redraw(m_list);
        CBusy busy;
        BOOL gauge = selected.size() > 1;
        if (gauge)
            BeginProgress(IDS_PROGRESS_DELETE);
        DWORD done = 0;
        CFailureBatch failures(static_cast<int>(selected.size()));
        for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
            CDelObject* pItem = dynamic_cast<CDelObject*>(ItemRecord(m_list, *it));
            // An item whose files could not all be erased stays listed.
            if (pItem != nullptr && pItem->Erase())
                m_list.DeleteString(static_cast<UINT>(*it));
            if (gauge)
                SetProgress(++done, static_cast<DWORD>(selected.size()));
            failures.Next();
            if (failures.Stopped())
                break;
        }
        if (gauge)
            EndProgress();
    }
    SelectAndShow(m_list, first);
    UpdateStatusLine();
}

void CLibraryBar::OnUpdateLibErase(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_tree.GetSelectedKind() == LIB_KIND_TRASH && SelectedCount(m_list) > 0);
}

void CLibraryBar::OnLibEmptyDeleted()
{
    CEmptyTrashConfirmDlg dlg(this);
    if (dlg.DoModal() != IDOK)
        return;
    BOOL emptied = FALSE;
    CString kept;
    {
        CBusy busy;
        ForgetFailedStep();
        emptied = EmptyTrashFolder(&kept);
    }
    // The cause of a step that failed, then each folder kept for a name inside it, by its name.
    if (!emptied)
        ReportFileFailure(WithFailedStepCause(AfxLoadText(IDS_TRASH_EMPTY_PARTIAL))
                              + (kept.IsEmpty() ? "" : " ") + kept,
                          MB_ICONEXCLAMATION);
    if (m_tree.GetSelectedKind() == LIB_KIND_TRASH) {
        // What could not be deleted is still there and stays listed.
        LoadTrashFolder(m_tree.GetSelectedPath());
    }
    UpdateStatusLine();
}

void CLibraryBar::OnUpdateLibEmptyDeleted(CCmdUI* pCmdUI)
{
    // Also what an emptying cut short left, listed or not: emptying again finishes it.
    pCmdUI->Enable(TrashHoldsOwnFiles());
}

// ---- folders ----

void CLibraryBar::OnLibRefresh()
{
    if (RefreshTree())
        RefreshShownList();
}

BOOL CLibraryBar::RefreshTree()
{
    CBusy busy;
    CString before = m_tree.GetSelectedPath();
    {
        CRedrawOff redraw(m_tree);
        g_LibrarianLastPath = before;
        // The folders the user had opened stay open: the tree made anew shows them as they are now.
        std::vector<CString> open = m_tree.GetExpandedPaths();
        m_tree.DeleteAllItems();
        m_tree.InitFolders();
        m_tree.ExpandPaths(open);
        m_tree.SelectPath(g_LibrarianLastPath);
    }
    if (m_tree.GetSelectedPath().CompareNoCase(before) == 0)
        return TRUE;
    RequestFolderReload();
    return FALSE;
}

void CLibraryBar::OnUpdateLibRefresh(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }

void CLibraryBar::OnLibOpenFolder() { m_tree.GetSelectedKind(); }

void CLibraryBar::OnUpdateLibOpenFolder(CCmdUI* pCmdUI)
{
    int kind = m_tree.GetSelectedKind();
    pCmdUI->Enable(kind != LIB_KIND_TRASH && kind != LIB_KIND_ROOT);
}

void CLibraryBar::OnLibRename()
{
    if (!m_bListHasFocus) {
        if (m_tree.GetSelectedKind() != LIB_KIND_FOLDER)
            return;
        HTREEITEM hItem = m_tree.GetSelectedItem();
        CString newPath;
        BOOL renamed = RunRenameFolder(this, m_tree.GetSelectedPath(), m_tree.GetItemText(hItem), &newPath);
        KeysToBar();
        if (renamed) {
            CString folder, name;
            SplitPath(newPath, &folder, &name);
            m_tree.SetItemText(hItem, name);
            RequestFolderReload();
        }
        return;
    }
    std::vector<int> selected = SelectedIndexes(m_list);
    if (selected.empty() || m_list.LIBLIST_TRASH_MODE)
        return;
    if (selected.size() == 1) {
        CPicObject* pRecord = dynamic_cast<CPicObject*>(ItemRecord(m_list, selected.front()));
        if (pRecord == nullptr)
            return;
        BOOL renamed = RunRenamePicture(this, *pRecord, m_strLoadedFolder);
        KeysToBar();
        if (renamed)
            m_list.ResortItem(selected.front());
        return;
    }
    std::vector<CPicObject*> records;
    for (int index : selected) {
        CPicObject* pRecord = dynamic_cast<CPicObject*>(ItemRecord(m_list, index));
        if (pRecord == nullptr)
            break;
        records.push_back(pRecord);
    }
    // The list shows the names on disk again, also after a series that stopped half-way. A series
    // given up renamed nothing: the list stays as it is, its selection with it, for the command that
    // follows.
    if (RunRenamePictureSeries(this, records, m_strLoadedFolder))
        RequestFolderReload();
    KeysToBar();
}

void CLibraryBar::OnUpdateLibRename(CCmdUI* pCmdUI)
{
    if (m_bListHasFocus)
        pCmdUI->Enable(!m_list.LIBLIST_TRASH_MODE && SelectedCount(m_list) > 0);
    else
        pCmdUI->Enable(m_tree.GetSelectedKind() == LIB_KIND_FOLDER);
}

void CLibraryBar::OnLibParentFolder()
{
    HTREEITEM hItem = m_tree.GetSelectedItem();
    HTREEITEM hParent = hItem != nullptr ? m_tree.GetParentItem(hItem) : nullptr;
    if (hParent == nullptr)
        return;
    m_tree.SelectItem(hParent);
    if (!m_bListHasFocus && (m_tree.GetItemState(hParent, TVIS_EXPANDED) & TVIS_EXPANDED))
        m_tree.Expand(hParent, TVE_COLLAPSE | TVE_COLLAPSERESET);
    RequestFolderReload();
}

void CLibraryBar::OnUpdateLibParentFolder(CCmdUI* pCmdUI)
{
    HTREEITEM hItem = m_tree.GetSelectedItem();
    pCmdUI->Enable(hItem != nullptr && m_tree.GetParentItem(hItem) != nullptr);
}

// ---- opening ----

void CLibraryBar::OpenFirstSelected(BOOL bFullScreen)
{
    if (m_tree.GetSelectedKind() == LIB_KIND_TRASH)
        return;
    std::vector<int> selected = SelectedIndexes(m_list);
    if (selected.empty())
        return;
    CPicObject* pRecord = dynamic_cast<CPicObject*>(ItemRecord(m_list, selected.front()));
    if (pRecord == nullptr)
        return;
    CString path = pRecord->FixPath(m_strLoadedFolder, TRUE);
    if (g_pMainFrameHost != nullptr)
        g_pMainFrameHost->OpenPicture(path, bFullScreen, bFullScreen ? GetParent() : nullptr,
                                      m_tree.GetSelectedText());
}

void CLibraryBar::OnLibOpenPicture() { OpenFirstSelected(FALSE); }
void CLibraryBar::OnLibOpenFullScreen() { OpenFirstSelected(TRUE); }

void CLibraryBar::OnUpdateLibOpenPicture(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_tree.GetSelectedKind() != LIB_KIND_TRASH && SelectedCount(m_list) > 0);
}

void CLibraryBar::OnUpdateLibOpenFullScreen(CCmdUI* pCmdUI) { OnUpdateLibOpenPicture(pCmdUI); }

void CLibraryBar::OnLibAutoFullScreen() { g_PleinEcranAutoLibBar = g_PleinEcranAutoLibBar ? 0 : 1; }

void CLibraryBar::OnUpdateLibAutoFullScreen(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(g_PleinEcranAutoLibBar != 0);
}

void CLibraryBar::OpenListItems()
{
    if (SelectedCount(m_list) == 0)
        return;
    if (m_tree.GetSelectedKind() == LIB_KIND_TRASH)
        OnLibRecover();
    else
        OpenFirstSelected(g_PleinEcranAutoLibBar != 0);
}

void CLibraryBar::OnLibSlideShow()
{
    if (m_tree.GetSelectedKind() == LIB_KIND_TRASH || ItemCount(m_list) < 2 || g_pMainFrameHost == nullptr)
        return;
    // The show takes every picture when at most one is selected; a show that does not run leaves the
    // user's own selection, which the next command (a Delete) acts on.
    CListSelectionKeeper kept(m_list);
    if (SelectedCount(m_list) <= 1)
        ::SendMessageA(m_list.m_hWnd, LB_SETSEL, TRUE, -1);
    CStringArray paths;
    for (int index : SelectedIndexes(m_list)) {
        CPicObject* pRecord = dynamic_cast<CPicObject*>(ItemRecord(m_list, index));
        if (pRecord != nullptr)
            paths.Add(pRecord->FixPath(m_strLoadedFolder, FALSE));
    }
    if (paths.GetSize() == 0)
        return;
    if (g_pMainFrameHost->RunSlideShow(kSlideSourceLibrary, &m_list, paths))
        kept.CommandWentAhead();
}

void CLibraryBar::OnUpdateLibSlideShow(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_tree.GetSelectedKind() != LIB_KIND_TRASH && ItemCount(m_list) > 0);
}

// ---- sorting and views ----

void CLibraryBar::OnLibSort(UINT nID)
{
    if (m_list.LIBLIST_TRASH_MODE)
        return;
    if (IsSortOrderCommand(kLibraryChoiceIds, nID))
        ApplySortOrder(m_list, SortOrderOfCommand(kLibraryChoiceIds, nID), &g_DefaultSortOrderLibBar);
    else
        ApplySortKey(m_list, SortKeyOfCommand(kLibraryChoiceIds, nID), &g_DefaultSortByLibBar);
}

void CLibraryBar::OnUpdateLibSort(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!m_list.LIBLIST_TRASH_MODE);
    CheckSortChoice(pCmdUI, m_list, kLibraryChoiceIds);
}

void CLibraryBar::OnLibView(UINT nID)
{
    int view = ViewOfCommand(kLibraryChoiceIds, nID);
    if (m_list.LIBLIST_TRASH_MODE || view < 0 || m_list.m_nView == view)
        return;
    CBusy busy;
    g_TailleVignetteLibBar = view;
    ApplyView();
    SelectAndShow(m_list, 0);
    KeysToList();
}

void CLibraryBar::OnUpdateLibView(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!m_list.LIBLIST_TRASH_MODE);
    CheckViewChoice(pCmdUI, m_list, kLibraryChoiceIds);
}

// ---- selection ----

void CLibraryBar::OnLibSelectAll()
{
    if (ChangeListSelection(m_list, kListSelectAll))
        KeysToList();
}

void CLibraryBar::OnLibDeselectAll()
{
    if (ChangeListSelection(m_list, kListDeselectAll))
        KeysToList();
}

void CLibraryBar::OnLibInvertSelection()
{
    if (ChangeListSelection(m_list, kListInvertSelection))
        KeysToList();
}

void CLibraryBar::OnUpdateLibListNotEmpty(CCmdUI* pCmdUI) { pCmdUI->Enable(ItemCount(m_list) > 0); }

void CLibraryBar::PopupBarMenu(int nPopup) { PopupListMenu(this, nPopup, 1); }

void CLibraryBar::OnLibSelectionMenu() { PopupBarMenu(CONTEXT_LIBRARY_SELECTION); }
void CLibraryBar::OnLibViewMenu() { PopupBarMenu(CONTEXT_LIBRARY_VIEW); }
void CLibraryBar::OnUpdateLibAlways(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }

// ---- properties, import, export, editor, print, copy ----

void CLibraryBar::OnLibProperties()
{
    std::vector<int> selected = SelectedIndexes(m_list);
    if (m_list.LIBLIST_TRASH_MODE) {
        if (selected.size() != 1)
            return;
        CDelObject* pItem = dynamic_cast<CDelObject*>(ItemRecord(m_list, selected.front()));
        if (pItem != nullptr)
            RunTrashedPictureProperties(this, *pItem);
        return;
    }
    std::vector<CPicObject*> records;
    for (int index : selected) {
        CPicObject* pRecord = dynamic_cast<CPicObject*>(ItemRecord(m_list, index));
        if (pRecord != nullptr)
            records.push_back(pRecord);
    }
    if (records.empty())
        return;
    CString before = records.size() == 1 ? records.front()->m_strPath : CString();
    INT_PTR result = RunPictureProperties(this, records, m_strLoadedFolder);
    KeysToBar();
    if (result == IDOK && records.size() == 1 && records.front()->m_strPath != before)
        m_list.ResortItem(selected.front());
}

void CLibraryBar::OnUpdateLibProperties(CCmdUI* pCmdUI)
{
    std::vector<int> selected = SelectedIndexes(m_list);
    if (m_list.LIBLIST_TRASH_MODE) {
        CDelObject* pItem =
            selected.size() == 1 ? dynamic_cast<CDelObject*>(ItemRecord(m_list, selected.front())) : nullptr;
        pCmdUI->Enable(pItem != nullptr && pItem->m_nKind == kTrashPicture && !pItem->m_bFromProtected);
    } else {
        pCmdUI->Enable(!selected.empty());
    }
}

void CLibraryBar::OnLibImport()
{
    int kind = m_tree.GetSelectedKind();
    if (kind == LIB_KIND_ROOT || kind == LIB_KIND_TRASH)
        return;
    char saved[MAX_PATH] = "";
    ::GetCurrentDirectoryA(sizeof(saved), saved);
    if (!g_CurrentImportDirectory.IsEmpty())
        ::SetCurrentDirectoryA(g_CurrentImportDirectory);
    CString title;
    title.LoadString(IDS_IMPORT_TITLE);
    CString filter;
    BuildOpenFileFilter(filter);
    CFileDialog dlg(TRUE, "png", nullptr, OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT, filter, this);
    dlg.m_ofn.Flags &= ~static_cast<DWORD>(OFN_SHOWHELP);
    dlg.m_ofn.lpstrTitle = title;
    std::vector<char> names(32768, '\0');
    dlg.m_ofn.lpstrFile = names.data();
    dlg.m_ofn.nMaxFile = static_cast<DWORD>(names.size());
    INT_PTR answer = dlg.DoModal();
    // The folder the dialog showed last, for the next import; never the look-alike of one the code
    // page cannot spell.
    AfxGetCurrentFolder(&g_CurrentImportDirectory);
    ::SetCurrentDirectoryA(saved);
    if (answer != IDOK)
        return;
    std::vector<CString> paths = ParseOpenSelection(names.data(), names.size());
    CStringArray added;
    g_bTransferBusy = TRUE;
    {
        CBusy busy;
        BOOL gauge = paths.size() > 1;
        BOOL report = g_bReportProgress;
        if (gauge) {
            g_bReportProgress = FALSE;
            BeginProgress(IDS_PROGRESS_ADD);
        }
        DWORD done = 0;
        CFailureBatch failures(static_cast<int>(paths.size()));
        for (const CString& path : paths) {
            CString stored;
            if (AddFileToLibrary(path, &stored, nullptr))
                added.Add(stored);
            if (gauge)
                SetProgress(++done, static_cast<DWORD>(paths.size()));
            failures.Next();
            if (failures.Stopped())
                break;
        }
        if (gauge) {
            EndProgress();
            g_bReportProgress = report;
        }
    }
    g_bTransferBusy = FALSE;
    if (added.GetSize() > 0)
        SelectPicturesByName(&added);
}

void CLibraryBar::OnUpdateLibImport(CCmdUI* pCmdUI)
{
    int kind = m_tree.GetSelectedKind();
    pCmdUI->Enable(m_tree.GetSelectedItem() != nullptr && kind != LIB_KIND_ROOT && kind != LIB_KIND_TRASH);
}

void CLibraryBar::OnLibExport()
{
    if (m_tree.GetSelectedKind() == LIB_KIND_TRASH || SelectedCount(m_list) == 0)
        return;
    CString folder = BrowseExportFolder(m_hWnd, &g_CurrentExportDirectory);
    if (!folder.IsEmpty()) {
        int exported = 0;
        CopySelectedPicturesTo(folder, &exported);
        ReportExportCount(exported, folder);
    }
    KeysToBar();
}

void CLibraryBar::OnUpdateLibPicturesOutsideTrash(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_tree.GetSelectedKind() != LIB_KIND_TRASH && SelectedCount(m_list) > 0);
}

void CLibraryBar::OnLibEditPicture()
{
    if (m_tree.GetSelectedKind() != LIB_KIND_TRASH)
        EditFirstSelectedPicture(m_hWnd, m_list);
}

void CLibraryBar::OnLibPrint() { PrintList(); }

void CLibraryBar::OnLibCopy() { CopyFirstSelectedPicture(m_hWnd, m_list); }

void CLibraryBar::OnUpdateLibCopy(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!m_list.LIBLIST_TRASH_MODE && SelectedCount(m_list) == 1);
}

void CLibraryBar::OnLibSelectPattern()
{
    if (ItemCount(m_list) == 0)
        return;
    RunPatternCommand(this, m_list, TRUE);
    KeysToList();
}

void CLibraryBar::OnLibDeselectPattern()
{
    if (ItemCount(m_list) == 0)
        return;
    RunPatternCommand(this, m_list, FALSE);
    KeysToList();
}

// ---- the commands under their own names ----

void CLibraryBar::OnLibSortByName() { OnLibSort(ID_LIB_SORT_NAME); }
void CLibraryBar::OnUpdateLibSortByName(CCmdUI* pCmdUI) { OnUpdateLibSort(pCmdUI); }
void CLibraryBar::OnLibSortByType() { OnLibSort(ID_LIB_SORT_TYPE); }
void CLibraryBar::OnUpdateLibSortByType(CCmdUI* pCmdUI) { OnUpdateLibSort(pCmdUI); }
void CLibraryBar::OnLibSortByDate() { OnLibSort(ID_LIB_SORT_DATE); }
void CLibraryBar::OnUpdateLibSortByDate(CCmdUI* pCmdUI) { OnUpdateLibSort(pCmdUI); }
void CLibraryBar::OnLibSortBySize() { OnLibSort(ID_LIB_SORT_SIZE); }
void CLibraryBar::OnUpdateLibSortBySize(CCmdUI* pCmdUI) { OnUpdateLibSort(pCmdUI); }
void CLibraryBar::OnLibSortAscending() { OnLibSort(ID_LIB_SORT_ASCENDING); }
void CLibraryBar::OnUpdateLibSortAscending(CCmdUI* pCmdUI) { OnUpdateLibSort(pCmdUI); }
void CLibraryBar::OnLibSortDescending() { OnLibSort(ID_LIB_SORT_DESCENDING); }
void CLibraryBar::OnUpdateLibSortDescending(CCmdUI* pCmdUI) { OnUpdateLibSort(pCmdUI); }
void CLibraryBar::OnLibViewLarge() { OnLibView(ID_LIB_VIEW_LARGE); }
void CLibraryBar::OnUpdateLibViewLarge(CCmdUI* pCmdUI) { OnUpdateLibView(pCmdUI); }
void CLibraryBar::OnLibViewMedium() { OnLibView(ID_LIB_VIEW_MEDIUM); }
void CLibraryBar::OnUpdateLibViewMedium(CCmdUI* pCmdUI) { OnUpdateLibView(pCmdUI); }
void CLibraryBar::OnLibViewSmall() { OnLibView(ID_LIB_VIEW_SMALL); }
void CLibraryBar::OnUpdateLibViewSmall(CCmdUI* pCmdUI) { OnUpdateLibView(pCmdUI); }
void CLibraryBar::OnLibViewList() { OnLibView(ID_LIB_VIEW_LIST); }
void CLibraryBar::OnUpdateLibViewList(CCmdUI* pCmdUI) { OnUpdateLibView(pCmdUI); }
void CLibraryBar::OnLibAddUncompressed() { OnAddMode(ID_LIB_ADD_UNCOMPRESSED); }
void CLibraryBar::OnUpdateLibAddUncompressed(CCmdUI* pCmdUI) { OnUpdateAddMode(pCmdUI); }
void CLibraryBar::OnLibAddJpeg() { OnAddMode(ID_LIB_ADD_JPEG); }
void CLibraryBar::OnUpdateLibAddJpeg(CCmdUI* pCmdUI) { OnUpdateAddMode(pCmdUI); }
void CLibraryBar::OnLibAddPng() { OnAddMode(ID_LIB_ADD_PNG); }
void CLibraryBar::OnUpdateLibAddPng(CCmdUI* pCmdUI) { OnUpdateAddMode(pCmdUI); }
void CLibraryBar::OnUpdateLibSelectAll(CCmdUI* pCmdUI) { OnUpdateLibListNotEmpty(pCmdUI); }
void CLibraryBar::OnUpdateLibDeselectAll(CCmdUI* pCmdUI) { OnUpdateLibListNotEmpty(pCmdUI); }
void CLibraryBar::OnUpdateLibInvertSelection(CCmdUI* pCmdUI) { OnUpdateLibListNotEmpty(pCmdUI); }
void CLibraryBar::OnUpdateLibSelectPattern(CCmdUI* pCmdUI) { OnUpdateLibListNotEmpty(pCmdUI); }
void CLibraryBar::OnUpdateLibDeselectPattern(CCmdUI* pCmdUI) { OnUpdateLibListNotEmpty(pCmdUI); }
void CLibraryBar::OnUpdateLibSelectionMenu(CCmdUI* pCmdUI) { OnUpdateLibAlways(pCmdUI); }
void CLibraryBar::OnUpdateLibViewMenu(CCmdUI* pCmdUI) { OnUpdateLibAlways(pCmdUI); }
void CLibraryBar::OnUpdateLibExport(CCmdUI* pCmdUI) { OnUpdateLibPicturesOutsideTrash(pCmdUI); }
void CLibraryBar::OnUpdateLibEditPicture(CCmdUI* pCmdUI) { OnUpdateLibPicturesOutsideTrash(pCmdUI); }
void CLibraryBar::OnUpdateLibPrint(CCmdUI* pCmdUI) { OnUpdateLibPicturesOutsideTrash(pCmdUI); }
