#include "piclist/ListCommands.h"

#include "core/BusyCursor.h"
#include "core/FileUtil.h"
#include "core/Progress.h"
#include "framework/CmdUI.h"
#include "framework/Dc.h"
#include "framework/Document.h"
#include "framework/FrameworkTexts.h"
#include "framework/View.h"
#include "framework/WinApp.h"
#include "piclist/FailureCause.h"
#include "piclist/LibraryListCommands.h"
#include "piclist/LibraryState.h"
#include "piclist/PicListBox.h"
#include "piclist/PicObject.h"
#include "piclist/ReplaceConfirm.h"
#include "piclist/SafeFileOps.h"
#include "resources/resource.h"
#include "shell/MainFrameHost.h"
#include "shell/Settings.h"

const ListChoiceIds kExplorerChoiceIds = {
    ID_EXPLORER_SORT_NAME,      ID_EXPLORER_SORT_TYPE,       ID_EXPLORER_SORT_DATE,  ID_EXPLORER_SORT_SIZE,
    ID_EXPLORER_SORT_ASCENDING, ID_EXPLORER_SORT_DESCENDING, ID_EXPLORER_VIEW_LARGE, ID_EXPLORER_VIEW_MEDIUM,
    ID_EXPLORER_VIEW_SMALL,     ID_EXPLORER_VIEW_LIST,
};
const ListChoiceIds kLibraryChoiceIds = {
    ID_LIB_SORT_NAME,       ID_LIB_SORT_TYPE,  ID_LIB_SORT_DATE,   ID_LIB_SORT_SIZE,  ID_LIB_SORT_ASCENDING,
    ID_LIB_SORT_DESCENDING, ID_LIB_VIEW_LARGE, ID_LIB_VIEW_MEDIUM, ID_LIB_VIEW_SMALL, ID_LIB_VIEW_LIST,
};

PicListSortKey SortKeyOfCommand(const ListChoiceIds& ids, UINT nID)
{
    if (nID == ids.sortByType)
        return kSortByType;
    if (nID == ids.sortByDate)
        return kSortByDate;
    if (nID == ids.sortBySize)
        return kSortBySize;
    return kSortByName;
}

PicListSortOrder SortOrderOfCommand(const ListChoiceIds& ids, UINT nID)
{
    return nID == ids.descending ? kSortDescending : kSortAscending;
}

BOOL IsSortOrderCommand(const ListChoiceIds& ids, UINT nID)
{
    return nID == ids.ascending || nID == ids.descending;
}

int ViewOfCommand(const ListChoiceIds& ids, UINT nID)
{
    if (nID == ids.viewLarge)
        return kViewLarge;
    if (nID == ids.viewMedium)
        return kViewMedium;
    if (nID == ids.viewSmall)
        return kViewSmall;
    if (nID == ids.viewList)
        return kViewList;
    return -1;
}

BOOL ApplySortKey(CPicListBox& list, PicListSortKey key, int* pSetting)
{
    if (list.m_nSortKey == key)
        return FALSE;
    list.m_nSortKey = key;
    *pSetting = key;
    list.Resort();
    return TRUE;
}

BOOL ApplySortOrder(CPicListBox& list, PicListSortOrder order, int* pSetting)
{
    if (list.m_nSortOrder == order)
        return FALSE;
    list.m_nSortOrder = order;
    *pSetting = order;
    list.Resort();
    return TRUE;
}

void CheckSortChoice(CCmdUI* pCmdUI, const CPicListBox& list, const ListChoiceIds& ids)
{
    UINT id = pCmdUI->m_nID;
    if (IsSortOrderCommand(ids, id))
        pCmdUI->SetCheck(list.m_nSortOrder == SortOrderOfCommand(ids, id));
    else
        pCmdUI->SetCheck(list.m_nSortKey == SortKeyOfCommand(ids, id));
}

void CheckViewChoice(CCmdUI* pCmdUI, const CPicListBox& list, const ListChoiceIds& ids)
{
    pCmdUI->SetCheck(list.m_nView == ViewOfCommand(ids, pCmdUI->m_nID));
}

LRESULT RealizeListViewPalette(CView* pView, CPalette* pPalette, WPARAM hAsking)
{
    if (pPalette == nullptr || pPalette->m_hObject == nullptr || !::IsWindow(pView->GetSafeHwnd()))
        return 0;
    BOOL bBackground = IsSplashShowing() || reinterpret_cast<HWND>(hAsking) != pView->m_hWnd;
    CClientDC dc(pView);
    CPalette* pOld = dc.SelectPalette(pPalette, bBackground);
    if (dc.RealizePalette() > 0 && pView->GetDocument() != nullptr)
        pView->GetDocument()->UpdateAllViews(nullptr);
    dc.SelectPalette(pOld, TRUE);
    return 0;
}

std::vector<int> SelectedListIndexes(const CListBox& list)
{
    std::vector<int> indexes;
    int count = list.GetSelCount();
    if (count > 0) {
        indexes.resize(static_cast<size_t>(count));
        int got = list.GetSelItems(count, indexes.data());
        indexes.resize(static_cast<size_t>(got > 0 ? got : 0));
    }
    return indexes;
}

CPicObject* FirstSelectedPicture(const CPicListBox& list)
{
    std::vector<int> indexes = SelectedListIndexes(list);
    return indexes.empty() ? nullptr : list.GetRecord(indexes.front());
}

void OpenFirstSelectedPicture(const CPicListBox& list, BOOL bFullScreen, CWnd* pReturnWnd)
{
    CPicObject* pRecord = FirstSelectedPicture(list);
    if (pRecord == nullptr || g_pMainFrameHost == nullptr)
        return;
    const CString path = pRecord->m_strPath;
    g_pMainFrameHost->OpenPicture(path, bFullScreen, bFullScreen ? pReturnWnd : nullptr, nullptr);
}

BOOL PrepareListSlideShow(CPicListBox& list, int** pIndexes, int* pCount, CStringArray* pPaths)
{
    int count = list.GetCount();
    if (count < 2)
        return FALSE;
    if (list.GetSelCount() < 2)
        list.SelItemRange(TRUE, 0, count - 1);
    std::vector<int> indexes = SelectedListIndexes(list);
    delete[] * pIndexes;
    *pIndexes = indexes.empty() ? nullptr : new int[indexes.size()];
    *pCount = static_cast<int>(indexes.size());
    for (size_t i = 0; i < indexes.size(); i++) {
        (*pIndexes)[i] = indexes[i];
        if (CPicObject* pRecord = list.GetRecord(indexes[i]))
            pPaths->Add(pRecord->m_strPath);
    }
    return !indexes.empty();
}

void EditFirstSelectedPicture(HWND hOwner, const CPicListBox& list)
{
    CPicObject* pRecord = FirstSelectedPicture(list);
    if (pRecord == nullptr)
        return;
    if (g_DefaultEditorPathName.IsEmpty())
        OfferToDefineEditor();
    else
        OpenInExternalEditor(hOwner, g_DefaultEditorPathName, pRecord->m_strPath);
}

void CopyFirstSelectedPicture(HWND hOwner, const CPicListBox& list)
{
    if (CPicObject* pRecord = FirstSelectedPicture(list))
        CopyPictureToClipboard(hOwner, pRecord->m_strPath);
}

namespace {

// Carries one picture to target. FALSE only when it was tried and failed.
BOOL TransferOne(const CString& source, const CString& target, BOOL bCopy, BOOL bBeepOnItself)
{
    // A picture carried onto its own place (in another spelling) is left alone: replacing a file by
    // itself would lose it.
    if (IsSamePath(source, target)) {
        if (bBeepOnItself)
            ::MessageBeep(0xFFFFFFFF);
        return TRUE;
    }
    if (!PathExists(target))
        return bCopy ? SafeCopy(source, target) : SafeMove(source, target);
    if (ConfirmFileReplace(source, target) != 1)
        return TRUE;
    const std::vector<CString> clashing(1, target);
    return bCopy ? ReplaceByCopy(source, target, clashing) : ReplaceByMove(source, target, clashing);
}

} // namespace

BOOL TransferSelectedPictures(CPicListBox& list, const CString& folder, BOOL bCopy, ListTransferStyle style)
{
    std::vector<int> indexes = SelectedListIndexes(list);
    if (indexes.empty())
        return FALSE;
    BeginReplaceBatch();
    list.SetRedraw(FALSE);
    BeginProgress(static_cast<UINT>(bCopy ? IDS_PROGRESS_COPY : IDS_PROGRESS_MOVE));
    SetAppCursor(kAppCursorBusy);
    {
        CTransferBusy busy;
        DWORD total = static_cast<DWORD>(indexes.size()), done = 0;
        for (auto it = indexes.rbegin(); it != indexes.rend(); ++it) {
            CPicObject* pRecord = list.GetRecord(*it);
            if (pRecord == nullptr)
                continue;
            // The extension as the file spells it: the record's is lower case.
            const CString name = pRecord->m_strBaseName + pRecord->DottedExtension();
            CString target = folder;
            if (target.Right(1) != "\\")
                target += "\\";
            target += name;
            const CString source = pRecord->m_strPath;
            ForgetFailedStep();
            if (!TransferOne(source, target, bCopy, style.bBeepOnItself)) {
                // The cause said is about the file named: the window's own choice gives way to the
                // file that failed.
                const CString named = FileToName(style.bFailureNamesTarget ? target : source, source, target);
                CString text;
                text.Format(AfxLoadText(bCopy ? IDS_COPY_FAILED : IDS_MOVE_FAILED),
                            static_cast<LPCSTR>(named));
                AfxMessageBox(WithFailedStepCause(text), MB_ICONSTOP);
            }
            SetProgress(++done, total);
            if (g_bReplaceCancelled)
                break;
        }
    }
    EndProgress();
    RestoreAppCursor();
    list.SetRedraw(TRUE);
    list.Invalidate();
    return TRUE;
}
