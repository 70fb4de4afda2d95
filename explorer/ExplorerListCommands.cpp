// The explorer's commands on the pictures of its list: opening, slide show, preview, sorting and
// views, selection, the external editor, the clipboard, and copying or moving to a folder.
#include "explorer/ExplorerView.h"

#include "core/BusyCursor.h"
#include "core/DIB.h"
#include "core/Progress.h"
#include "core/SystemUtil.h"
#include "explorer/ExplorerGlobals.h"
#include "framework/CmdUI.h"
#include "framework/Dc.h"
#include "framework/FrameworkTexts.h"
#include "framework/Menu.h"
#include "framework/StdIds.h"
#include "framework/TestSeams.h"
#include "framework/WinApp.h"
#include "piclist/LibraryListCommands.h"
#include "piclist/PicObject.h"
#include "piclist/ReplaceConfirm.h"
#include "piclist/SafeFileOps.h"
#include "resources/resource.h"
#include "shell/LibraryLink.h"
#include "shell/MainFrameHost.h"
#include "shell/Settings.h"

#include <vector>

namespace {

// Sets the busy flag for a batch and clears it on every way out.
class CBatchBusy {
public:
    CBatchBusy() { g_bTransferBusy = TRUE; }
    ~CBatchBusy() { g_bTransferBusy = FALSE; }
    CBatchBusy(const CBatchBusy&) = delete;
    CBatchBusy& operator=(const CBatchBusy&) = delete;
};

} // namespace

// ---- opening ----

CPicObject* CExplorerView::GetFirstSelectedRecord() const
{
    std::vector<int> indices = GetSelectedIndices();
    return indices.empty() ? nullptr : m_list.GetRecord(indices.front());
}

void CExplorerView::OnOpen()
{
    CPicObject* pRecord = GetFirstSelectedRecord();
    if (pRecord != nullptr && AfxGetApp() != nullptr)
        AfxGetApp()->OpenDocumentFile(pRecord->m_strPath);
}

void CExplorerView::OnOpenFullScreen()
{
    CPicObject* pRecord = GetFirstSelectedRecord();
    if (pRecord == nullptr || g_pMainFrameHost == nullptr)
        return;
    CString path = pRecord->m_strPath;
    g_pMainFrameHost->OpenPicture(path, TRUE, GetParentFrame(), nullptr);
}

void CExplorerView::OnOpenItem()
{
    if (GetSelectedCount() == 0)
        return;
    if (m_bFullScreenOpen)
        OnOpenFullScreen();
    else
        OnOpen();
}

void CExplorerView::OnUpdateNeedsSelection(CCmdUI* pCmdUI) { pCmdUI->Enable(GetSelectedCount() > 0); }

void CExplorerView::OnUpdateNeedsOne(CCmdUI* pCmdUI) { pCmdUI->Enable(GetSelectedCount() == 1); }

void CExplorerView::OnUpdateNeedsItems(CCmdUI* pCmdUI) { pCmdUI->Enable(GetListCount() > 0); }

// ---- slide show and preview ----

void CExplorerView::OnSlideShow()
{
    int count = GetListCount();
    if (count < 2)
        return;
    if (GetSelectedCount() < 2)
        m_list.SelItemRange(TRUE, 0, count - 1);
    std::vector<int> indices = GetSelectedIndices();
    delete[] m_pSlideIndices;
    m_pSlideIndices = nullptr;
    m_nSlideCount = static_cast<int>(indices.size());
    if (indices.empty())
        return;
    m_pSlideIndices = new int[indices.size()];
    CStringArray paths;
    for (size_t i = 0; i < indices.size(); i++) {
        m_pSlideIndices[i] = indices[i];
        CPicObject* pRecord = m_list.GetRecord(indices[i]);
        if (pRecord != nullptr)
            paths.Add(pRecord->m_strPath);
    }
    if (g_pMainFrameHost != nullptr)
        g_pMainFrameHost->RunSlideShow(kSlideSourceExplorer, &m_list, paths);
}

void CExplorerView::OnPreview() { m_list.m_bPreviewSelected = TRUE; }

void CExplorerView::OnToggleAutoPreview()
{
    m_list.m_bBuildThumbnails = !m_list.m_bBuildThumbnails;
    g_ApercuAuto = m_list.m_bBuildThumbnails ? 1 : 0;
}

void CExplorerView::OnUpdateToggleAutoPreview(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_list.m_bBuildThumbnails); }

// ---- sorting and views ----

void CExplorerView::OnSortKey(UINT nID)
{
    int key = nID == ID_EXPLORER_SORT_NAME   ? 0
              : nID == ID_EXPLORER_SORT_TYPE ? 1
              : nID == ID_EXPLORER_SORT_DATE ? 2
                                             : 3;
    if (m_list.m_nSortKey == key)
        return;
    m_list.m_nSortKey = key;
    g_DefaultSortBy = key;
    m_list.Resort();
}

void CExplorerView::OnUpdateSortKey(CCmdUI* pCmdUI)
{
    UINT id = pCmdUI->m_nID;
    int key = id == ID_EXPLORER_SORT_NAME   ? 0
              : id == ID_EXPLORER_SORT_TYPE ? 1
              : id == ID_EXPLORER_SORT_DATE ? 2
                                            : 3;
    pCmdUI->SetCheck(m_list.m_nSortKey == key);
}

void CExplorerView::OnSortOrder(UINT nID)
{
    int order = nID == ID_EXPLORER_SORT_DESCENDING ? 1 : 0;
    if (m_list.m_nSortOrder == order)
        return;
    m_list.m_nSortOrder = order;
    g_DefaultSortOrder = order;
    m_list.Resort();
}

void CExplorerView::OnUpdateSortOrder(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_list.m_nSortOrder == (pCmdUI->m_nID == ID_EXPLORER_SORT_DESCENDING ? 1 : 0));
}

static int ViewOfCommand(UINT nID)
{
    switch (nID) {
    case ID_EXPLORER_VIEW_LARGE:
        return 0;
    case ID_EXPLORER_VIEW_MEDIUM:
        return 1;
    case ID_EXPLORER_VIEW_SMALL:
        return 2;
    default:
        return 3;
    }
}

void CExplorerView::OnListView(UINT nID)
{
    int view = ViewOfCommand(nID);
    if (m_list.m_nView == view)
        return;
    // The records move into the new window (never copied: a large folder keeps its memory and GDI
    // budget); a window that cannot be made keeps the list in its former view.
    SetAppCursor(kAppCursorBusy);
    FocusList();
    m_list.SetRedraw(FALSE);
    if (m_list.RecreateInView(this, 101, view))
        g_TailleVignette = view;
    LayoutChildren();
    if (!HasListWindow()) {
        UpdateStatusPanes();
        RestoreAppCursor();
        return;
    }
    if (m_list.GetCount() > 0) {
        m_list.SetSel(0, TRUE);
        m_list.SetCaretIndex(0);
    }
    m_list.SetRedraw(TRUE);
    m_list.Invalidate();
    Invalidate(TRUE);
    RestoreAppCursor();
}

void CExplorerView::OnUpdateListView(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_list.m_nView == ViewOfCommand(pCmdUI->m_nID));
}

// ---- selection ----

void CExplorerView::OnSelectAllRange()
{
    int count = GetListCount();
    if (count > 0)
        m_list.SelItemRange(TRUE, 0, count - 1);
    UpdateStatusPanes();
}

void CExplorerView::OnSelectAll()
{
    int count = GetListCount();
    FocusList();
    m_list.SetRedraw(FALSE);
    for (int i = 0; i < count; i++)
        m_list.SetSel(i, TRUE);
    m_list.SetRedraw(TRUE);
    m_list.Invalidate();
    m_list.SetCaretIndex(0);
    UpdateStatusPanes();
}

void CExplorerView::OnDeselectAll()
{
    int count = GetListCount();
    for (int i = 0; i < count; i++)
        m_list.SetSel(i, FALSE);
    FocusList();
    UpdateStatusPanes();
}

void CExplorerView::OnInvertSelection()
{
    int count = GetListCount();
    int caret = m_list.GetCaretIndex();
    FocusList();
    m_list.SetRedraw(FALSE);
    for (int i = 0; i < count; i++)
        m_list.SetSel(i, m_list.GetSel(i) <= 0);
    m_list.SetRedraw(TRUE);
    m_list.Invalidate();
    if (caret >= 0)
        m_list.SetCaretIndex(caret);
    UpdateStatusPanes();
}

void CExplorerView::OnSelectionMenu()
{
    SetFocus();
    TrackListPopup(CONTEXT_EXPLORER_SELECTION, 10);
}

// ---- editor and clipboard ----

void CExplorerView::OnEditPicture()
{
    CPicObject* pRecord = GetFirstSelectedRecord();
    if (pRecord == nullptr)
        return;
    if (g_DefaultEditorPathName.IsEmpty())
        OfferToDefineEditor();
    else
        OpenInExternalEditor(m_hWnd, g_DefaultEditorPathName, pRecord->m_strPath);
}

void CExplorerView::OnEditCopy()
{
    CPicObject* pRecord = GetFirstSelectedRecord();
    if (pRecord != nullptr)
        CopyPictureToClipboard(m_hWnd, pRecord->m_strPath);
}

// ---- the library ----

void CExplorerView::OnAddToLibrary()
{
    ILibraryLink* pLibrary = g_pLibraryLink;
    if (pLibrary == nullptr || GetSelectedCount() == 0 || !pLibrary->CanAddPicture())
        return;
    CStringArray added;
    if (AddSelectionToLibrary(pLibrary->GetLibraryFolder(), &added) && added.GetSize() > 0)
        pLibrary->SelectPicturesByName(&added);
}

void CExplorerView::OnUpdateAddToLibrary(CCmdUI* pCmdUI)
{
    ILibraryLink* pLibrary = g_pLibraryLink;
    pCmdUI->Enable(pLibrary != nullptr && GetSelectedCount() > 0 && pLibrary->CanAddPicture());
}

void CExplorerView::OnTreeSpace()
{
    if (g_pLibraryLink != nullptr && g_pLibraryLink->IsLibraryShown())
        g_pLibraryLink->FocusLibrary();
}

void CExplorerView::OnSelectPattern()
{
    RunPatternCommand(this, m_list, TRUE);
    UpdateStatusPanes();
}

void CExplorerView::OnDeselectPattern()
{
    RunPatternCommand(this, m_list, FALSE);
    UpdateStatusPanes();
}

// ---- copying and moving ----

BOOL CExplorerView::CopyOrMoveSelection(CString destination, BOOL copy)
{
    std::vector<int> indices = GetSelectedIndices();
    if (indices.empty())
        return FALSE;
    BeginReplaceBatch();
    m_list.SetRedraw(FALSE);
    BeginProgress(static_cast<UINT>(copy ? IDS_PROGRESS_COPY : IDS_PROGRESS_MOVE));
    SetAppCursor(kAppCursorBusy);
    {
        CBatchBusy busy;
        DWORD total = static_cast<DWORD>(indices.size()), done = 0;
        for (auto it = indices.rbegin(); it != indices.rend(); ++it) {
            CPicObject* pRecord = m_list.GetRecord(*it);
            if (pRecord == nullptr)
                continue;
            CString target = destination;
            if (target.Right(1) != "\\")
                target += "\\";
            target += pRecord->m_strBaseName + "." + pRecord->m_strExt;
            CString source = pRecord->m_strPath;
            BOOL bTried = FALSE, bDone = FALSE;
            // A picture dropped on its own folder (in another spelling) is left alone: replacing a
            // file by itself would lose it.
            if (IsSamePath(source, target)) {
                ::MessageBeep(0xFFFFFFFF);
            } else if (!PathExists(target)) {
                bTried = TRUE;
                bDone = copy ? SafeCopy(source, target) : SafeMove(source, target);
            } else if (ConfirmFileReplace(source, target) == 1) {
                std::vector<CString> clashing(1, target);
                bTried = TRUE;
                bDone =
                    copy ? ReplaceByCopy(source, target, clashing) : ReplaceByMove(source, target, clashing);
            }
            if (bTried && !bDone) {
                CString text;
                text.Format(AfxLoadText(copy ? IDS_COPY_FAILED : IDS_MOVE_FAILED),
                            static_cast<LPCSTR>(source));
                AfxMessageBox(text, MB_ICONSTOP);
            }
            SetProgress(++done, total);
            if (g_bReplaceCancelled)
                break;
        }
    }
    EndProgress();
    RestoreAppCursor();
    m_list.SetRedraw(TRUE);
    m_list.Invalidate();
    return TRUE;
}
