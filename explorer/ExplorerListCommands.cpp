// The explorer's commands on the pictures of its list: opening, slide show, preview, sorting and
// views, selection, the external editor, the clipboard, and copying or moving to a folder.
#include "explorer/ExplorerView.h"

#include "core/BusyCursor.h"
#include "core/SystemUtil.h"
#include "explorer/ExplorerGlobals.h"
#include "framework/CmdUI.h"
#include "framework/CommandKeys.h"
#include "framework/Dc.h"
#include "framework/FrameworkTexts.h"
#include "framework/Menu.h"
#include "framework/StdIds.h"
#include "framework/TestSeams.h"
#include "framework/WinApp.h"
#include "piclist/LibraryListCommands.h"
#include "piclist/ListCommands.h"
#include "piclist/ListSelectionKeeper.h"
#include "piclist/PicObject.h"
#include "resources/resource.h"
#include "shell/LibraryLink.h"
#include "shell/MainFrameHost.h"
#include "shell/Settings.h"

#include <vector>

// ---- opening ----

CPicObject* CExplorerView::GetFirstSelectedRecord() const { return FirstSelectedPicture(m_list); }

void CExplorerView::OnOpen() { OpenFirstSelectedPicture(m_list, FALSE, nullptr); }

void CExplorerView::OnOpenFullScreen() { OpenFirstSelectedPicture(m_list, TRUE, GetParentFrame()); }

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
    CStringArray paths;
    // A show that does not run gives back the selection it widened.
    CListSelectionKeeper kept(m_list);
    if (PrepareListSlideShow(m_list, &m_pSlideIndices, &m_nSlideCount, &paths) && g_pMainFrameHost != nullptr
        && g_pMainFrameHost->RunSlideShow(kSlideSourceExplorer, &m_list, paths))
        kept.CommandWentAhead();
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
    ApplySortKey(m_list, SortKeyOfCommand(kExplorerChoiceIds, nID), &g_DefaultSortBy);
}

void CExplorerView::OnUpdateSortKey(CCmdUI* pCmdUI) { CheckSortChoice(pCmdUI, m_list, kExplorerChoiceIds); }

void CExplorerView::OnSortOrder(UINT nID)
{
    ApplySortOrder(m_list, SortOrderOfCommand(kExplorerChoiceIds, nID), &g_DefaultSortOrder);
}

void CExplorerView::OnUpdateSortOrder(CCmdUI* pCmdUI) { CheckSortChoice(pCmdUI, m_list, kExplorerChoiceIds); }

void CExplorerView::OnListView(UINT nID)
{
    int view = ViewOfCommand(kExplorerChoiceIds, nID);
    if (view < 0 || m_list.m_nView == view)
        return;
    // The records move into the new window (never copied: a large folder keeps its memory and GDI
    // budget); a window that cannot be made keeps the list in its former view. The list, made again,
    // keeps the keys, wherever the command came from.
    SetAppCursor(kAppCursorBusy);
    FocusList();
    AfxKeysChosen();
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

void CExplorerView::OnUpdateListView(CCmdUI* pCmdUI) { CheckViewChoice(pCmdUI, m_list, kExplorerChoiceIds); }

// ---- selection ----

void CExplorerView::OnSelectAllRange()
{
    ChangeListSelection(m_list, kListSelectAll);
    UpdateStatusPanes();
}

void CExplorerView::OnSelectAll()
{
    RunListSelectCommand(m_list, kListSelectAll);
    UpdateStatusPanes();
}

void CExplorerView::OnDeselectAll()
{
    RunListSelectCommand(m_list, kListDeselectAll);
    UpdateStatusPanes();
}

void CExplorerView::OnInvertSelection()
{
    RunListSelectCommand(m_list, kListInvertSelection);
    UpdateStatusPanes();
}

void CExplorerView::OnSelectionMenu() { PopupListMenu(this, CONTEXT_EXPLORER_SELECTION, 10); }

// ---- editor and clipboard ----

void CExplorerView::OnEditPicture() { EditFirstSelectedPicture(m_hWnd, m_list); }

void CExplorerView::OnEditCopy() { CopyFirstSelectedPicture(m_hWnd, m_list); }

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
    return TransferSelectedPictures(m_list, destination, copy, {FALSE, TRUE});
}
