#include "explorer/SearchView.h"

#include "explorer/SearchWorker.h"
#include "explorer/ListViewFrame.h"
#include "piclist/LibraryListCommands.h"
#include "piclist/ListCommands.h"
#include "piclist/ListSelectionKeeper.h"
#include "piclist/PatternDialogs.h"
#include "piclist/PicObject.h"
#include "piclist/PicProperties.h"
#include "piclist/LibraryState.h"
#include "shell/AppMessages.h"
#include "shell/MainFrameHost.h"
#include "shell/Settings.h"
#include "shell/ViewPlacement.h"
#include "core/Palette.h"
#include "core/TextFormat.h"
#include "framework/CmdUI.h"
#include "framework/Dc.h"
#include "framework/FrameWnd.h"
#include "framework/FrameworkTexts.h"
#include "framework/WinApp.h"
#include "resources/resource.h"

#include <cstdio>

IMPLEMENT_DYNCREATE(CSearchView, CView)

namespace {

const UINT kListId = 101;
const int kListInset = 3;

} // namespace

BEGIN_MESSAGE_MAP(CSearchView, CView)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
    ON_LBN_SELCHANGE(kListId, OnListSelChange)
    ON_LBN_DBLCLK(kListId, OnListDblClk)
    ON_MESSAGE(WM_PALETTEREALIZE, OnPaletteRealize)
    ON_MESSAGE(WM_VIEWARRANGE, OnViewArrange)
    ON_MESSAGE(WM_VIEWKIND, OnViewKind)
    ON_MESSAGE(WM_VIEWSTATUS, OnViewStatus)
    ON_MESSAGE(WM_VIEWIDLE, OnViewIdle)
    ON_COMMAND(ID_FILE_PRINT, OnPrintList)
    ON_COMMAND(ID_FILE_PRINT_PREVIEW, OnPreviewList)
    ON_COMMAND(ID_EXPLORER_OPEN, OnOpen)
    ON_UPDATE_COMMAND_UI(ID_EXPLORER_OPEN, OnUpdateNeedsSelection)
    ON_COMMAND(ID_EXPLORER_OPEN_FULLSCREEN, OnOpenFullScreen)
    ON_UPDATE_COMMAND_UI(ID_EXPLORER_OPEN_FULLSCREEN, OnUpdateNeedsSelection)
    ON_COMMAND(ID_EXPLORER_AUTO_FULLSCREEN, OnAutoFullScreen)
    ON_UPDATE_COMMAND_UI(ID_EXPLORER_AUTO_FULLSCREEN, OnUpdateAutoFullScreen)
    ON_COMMAND(ID_EXPLORER_SLIDESHOW, OnSlideShow)
    ON_UPDATE_COMMAND_UI(ID_EXPLORER_SLIDESHOW, OnUpdateNeedsItems)
    ON_COMMAND_RANGE(ID_EXPLORER_SORT_NAME, ID_EXPLORER_SORT_DATE, OnSort)
    ON_UPDATE_COMMAND_UI_RANGE(ID_EXPLORER_SORT_NAME, ID_EXPLORER_SORT_DATE, OnUpdateSort)
    ON_COMMAND_RANGE(ID_EXPLORER_SORT_DESCENDING, ID_EXPLORER_SORT_ASCENDING, OnSortOrder)
    ON_UPDATE_COMMAND_UI_RANGE(ID_EXPLORER_SORT_DESCENDING, ID_EXPLORER_SORT_ASCENDING, OnUpdateSortOrder)
    ON_COMMAND_RANGE(ID_EXPLORER_VIEW_LARGE, ID_EXPLORER_VIEW_LIST, OnView)
    ON_UPDATE_COMMAND_UI_RANGE(ID_EXPLORER_VIEW_LARGE, ID_EXPLORER_VIEW_LIST, OnUpdateView)
    ON_COMMAND(ID_EDIT_SELECT_ALL, OnSelectAllRange)
    ON_UPDATE_COMMAND_UI(ID_EDIT_SELECT_ALL, OnUpdateNeedsItems)
    ON_COMMAND(ID_EXPLORER_SELECT_ALL, OnSelectAll)
    ON_UPDATE_COMMAND_UI(ID_EXPLORER_SELECT_ALL, OnUpdateNeedsItems)
    ON_COMMAND(ID_EXPLORER_DESELECT_ALL, OnDeselectAll)
    ON_UPDATE_COMMAND_UI(ID_EXPLORER_DESELECT_ALL, OnUpdateNeedsItems)
    ON_COMMAND(ID_EXPLORER_INVERT_SELECTION, OnInvertSelection)
    ON_UPDATE_COMMAND_UI(ID_EXPLORER_INVERT_SELECTION, OnUpdateNeedsItems)
    ON_COMMAND(ID_EXPLORER_SELECT_PATTERN, OnSelectPattern)
    ON_UPDATE_COMMAND_UI(ID_EXPLORER_SELECT_PATTERN, OnUpdateNeedsItems)
    ON_COMMAND(ID_EXPLORER_DESELECT_PATTERN, OnDeselectPattern)
    ON_UPDATE_COMMAND_UI(ID_EXPLORER_DESELECT_PATTERN, OnUpdateNeedsItems)
    ON_COMMAND(ID_SEARCH_EXPORT, OnExport)
    ON_UPDATE_COMMAND_UI(ID_SEARCH_EXPORT, OnUpdateNeedsSelection)
    ON_COMMAND(ID_EXPLORER_PROPERTIES, OnProperties)
    ON_UPDATE_COMMAND_UI(ID_EXPLORER_PROPERTIES, OnUpdateNeedsSelection)
    ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateNeedsOne)
    ON_COMMAND(ID_EXPLORER_SELECTION_MENU, OnSelectionMenu)
    ON_COMMAND(ID_VIEW_LOCAL_TOOLBAR, OnToggleLocalToolBar)
    ON_UPDATE_COMMAND_UI(ID_VIEW_LOCAL_TOOLBAR, OnUpdateToggleLocalToolBar)
    ON_COMMAND(ID_HIDE_LOCAL_TOOLBAR, OnToggleLocalToolBar)
END_MESSAGE_MAP()

CSearchView::CSearchView() { CreateFixedPalette(&m_palette, kPaletteR2G3B2); }

CSearchView::~CSearchView() { delete[] m_pSlideIndices; }

BOOL CSearchView::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    return CView::PreCreateWindow(cs);
}

int CSearchView::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CView::OnCreate(lpcs) == -1)
        return -1;
    m_bPleinEcranAuto = g_PleinEcranAuto;
    m_strTotalFormat = AfxLoadText(IDS_STATUS_TOTAL_COUNT);
    m_strSelectedFormat = AfxLoadText(IDS_STATUS_SELECTED_COUNT);
    m_list.m_nView = g_TailleVignette;
    m_list.m_nSortKey = g_DefaultSortBy;
    m_list.m_nSortOrder = g_DefaultSortOrder;
    m_list.m_bBuildThumbnails = TRUE;
    m_list.m_bKeepRecords = FALSE;
    m_list.m_bHideExtensions = TRUE;
    if (!m_list.Create(this, kListId))
        return -1;
    // The list keeps its own records: nothing refers to the hits afterwards.
    m_list.LoadSearchResults(g_arrSearchResults);
    return 0;
}

void CSearchView::OnInitialUpdate()
{
    // In its own cell before its frame first shows; the windows under it make room at the next tick
    // (without it an explorer stays whole under the new window).
    if (g_bAutoReorganize) {
        m_bArranging = TRUE;
        ArrangeChildFrame(FALSE);
        m_bArranging = FALSE;
        g_bArrangePending = TRUE;
    }
    CView::OnInitialUpdate();
}

void CSearchView::OnDraw(CDC* pDC) { DrawListViewFrames(this, pDC, nullptr, &m_list); }

BOOL CSearchView::OnEraseBkgnd(CDC*) { return TRUE; }

HBRUSH CSearchView::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (nCtlColor == CTLCOLOR_LISTBOX) {
        const BOOL thumbnails = pWnd != nullptr && pWnd->GetSafeHwnd() == m_list.GetSafeHwnd();
        return static_cast<HBRUSH>(::GetStockObject(thumbnails ? NULL_BRUSH : LTGRAY_BRUSH));
    }
    return CView::OnCtlColor(pDC, pWnd, nCtlColor);
}

void CSearchView::LayoutList()
{
    if (!::IsWindow(m_list.GetSafeHwnd()))
        return;
    CRect rect;
    GetClientRect(&rect);
    rect.DeflateRect(kListInset, kListInset);
    if (IsLocalToolBarInset(this))
        rect.top += kListInset;
    m_list.SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                        SWP_NOZORDER | SWP_NOACTIVATE);
}

void CSearchView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    LayoutList();
}

void CSearchView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView)
{
    CView::OnActivateView(bActivate, pActivateView, pDeactiveView);
    if (bActivate && pActivateView == this) {
        if (::IsWindow(m_list.GetSafeHwnd()))
            m_list.SetFocus();
        OnPaletteRealize(reinterpret_cast<WPARAM>(m_hWnd), 0);
        UpdateStatusPanes();
    }
}

// The view takes no keys itself: the focus it gets (back from a pop-up menu, say) goes to the list.
void CSearchView::OnSetFocus(CWnd* pOldWnd)
{
    CView::OnSetFocus(pOldWnd);
    if (::IsWindow(m_list.GetSafeHwnd()))
        m_list.SetFocus();
}

void CSearchView::OnListContentChanged(CPicListBox*) { UpdateStatusPanes(); }

void CSearchView::OnListSelChange() { UpdateStatusPanes(); }

void CSearchView::OnListDblClk() { OnOpenItem(); }

LRESULT CSearchView::OnPaletteRealize(WPARAM wParam, LPARAM)
{
    return RealizeListViewPalette(this, &m_palette, wParam);
}

void CSearchView::UpdateStatusPanes()
{
    if (g_pMainFrameHost == nullptr || g_pMainFrameHost->GetStatusMode() != kStatusExplorer
        || !::IsWindow(m_list.GetSafeHwnd()))
        return;
    const PicListTotals& totals = m_list.GetTotals();
    CString text;
    text.Format(m_strTotalFormat, totals.count, static_cast<LPCSTR>(FormatFileSizeShort(totals.size)));
    g_pMainFrameHost->SetStatusText1(text);
    text.Format(m_strSelectedFormat, totals.selectedCount,
                static_cast<LPCSTR>(FormatFileSizeShort(totals.selectedSize)));
    g_pMainFrameHost->SetStatusPaneText(2, text);
    g_pMainFrameHost->SetStatusPaneText(3, " ");
}

void CSearchView::ArrangeChildFrame(BOOL byPlacement)
{
    ArrangeViewFrame(this, kExplorerViewArea, byPlacement, m_bArranging);
}

LRESULT CSearchView::OnViewArrange(WPARAM wParam, LPARAM)
{
    ArrangeChildFrame(static_cast<BOOL>(wParam));
    return TRUE;
}

LRESULT CSearchView::OnViewKind(WPARAM, LPARAM) { return kExplorerViewArea; }

LRESULT CSearchView::OnViewStatus(WPARAM, LPARAM)
{
    if (g_pMainFrameHost != nullptr)
        g_pMainFrameHost->SetStatusMode(kStatusExplorer);
    UpdateStatusPanes();
    return TRUE;
}

LRESULT CSearchView::OnViewIdle(WPARAM wParam, LPARAM)
{
    if (!wParam && ::IsWindow(m_list.GetSafeHwnd()))
        m_list.BuildNextThumbnail();
    return TRUE;
}

std::vector<int> CSearchView::SelectedIndexes() const { return SelectedListIndexes(m_list); }

void CSearchView::OpenFirstSelected(BOOL bFullScreen)
{
    OpenFirstSelectedPicture(m_list, bFullScreen, GetParentFrame());
}

void CSearchView::OnOpen() { OpenFirstSelected(FALSE); }

void CSearchView::OnOpenFullScreen() { OpenFirstSelected(TRUE); }

void CSearchView::OnOpenItem() { OpenFirstSelected(m_bPleinEcranAuto != 0); }

void CSearchView::OnAutoFullScreen()
{
    m_bPleinEcranAuto = !m_bPleinEcranAuto;
    g_PleinEcranAuto = m_bPleinEcranAuto;
}

void CSearchView::OnUpdateAutoFullScreen(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_bPleinEcranAuto ? 1 : 0); }

void CSearchView::OnUpdateNeedsSelection(CCmdUI* pCmdUI) { pCmdUI->Enable(m_list.GetSelCount() > 0); }

void CSearchView::OnUpdateNeedsItems(CCmdUI* pCmdUI) { pCmdUI->Enable(m_list.GetCount() > 0); }

void CSearchView::OnSort(UINT nID)
{
    ApplySortKey(m_list, SortKeyOfCommand(kExplorerChoiceIds, nID), &g_DefaultSortBy);
}

void CSearchView::OnUpdateSort(CCmdUI* pCmdUI) { CheckSortChoice(pCmdUI, m_list, kExplorerChoiceIds); }

void CSearchView::OnSortOrder(UINT nID)
{
    ApplySortOrder(m_list, SortOrderOfCommand(kExplorerChoiceIds, nID), &g_DefaultSortOrder);
}

void CSearchView::OnUpdateSortOrder(CCmdUI* pCmdUI) { CheckSortChoice(pCmdUI, m_list, kExplorerChoiceIds); }

void CSearchView::OnView(UINT nID)
{
    const int view = ViewOfCommand(kExplorerChoiceIds, nID);
    if (view < 0 || m_list.m_nView == view)
        return;
    // The list window is made again in the new view, keeping its records (in its former view, with
    // the setting unchanged, should the new window fail); the focus stays.
    if (m_list.RecreateInView(this, kListId, view))
        g_TailleVignette = view;
    if (::IsWindow(m_list.GetSafeHwnd())) {
        if (m_list.GetCount() > 0)
            m_list.SetSel(0, TRUE);
        LayoutList();
    }
    UpdateStatusPanes();
}

void CSearchView::OnUpdateView(CCmdUI* pCmdUI) { CheckViewChoice(pCmdUI, m_list, kExplorerChoiceIds); }

void CSearchView::OnSelectAllRange()
{
    ChangeListSelection(m_list, kListSelectAll);
    UpdateStatusPanes();
}

void CSearchView::OnSelectAll()
{
    RunListSelectCommand(m_list, kListSelectAll);
    UpdateStatusPanes();
}

void CSearchView::OnDeselectAll()
{
    RunListSelectCommand(m_list, kListDeselectAll);
    UpdateStatusPanes();
}

void CSearchView::OnInvertSelection()
{
    RunListSelectCommand(m_list, kListInvertSelection);
    UpdateStatusPanes();
}

void CSearchView::OnSelectPattern()
{
    RunPatternCommand(this, m_list, TRUE);
    UpdateStatusPanes();
}

void CSearchView::OnDeselectPattern()
{
    RunPatternCommand(this, m_list, FALSE);
    UpdateStatusPanes();
}

void CSearchView::OnUpdateNeedsOne(CCmdUI* pCmdUI) { pCmdUI->Enable(m_list.GetSelCount() == 1); }

void CSearchView::OnProperties()
{
    std::vector<CPicObject*> records;
    for (int index : SelectedIndexes())
        if (CPicObject* pRecord = m_list.GetRecord(index))
            records.push_back(pRecord);
    RunSearchHitProperties(this, records);
}

void CSearchView::OnEditCopy() { CopyFirstSelectedPicture(m_hWnd, m_list); }

void CSearchView::OnSelectionMenu() { PopupListMenu(this, CONTEXT_EXPLORER_SELECTION, 10); }

void CSearchView::OnToggleLocalToolBar()
{
    if (!ToggleLocalToolBar(this))
        return;
    LayoutList();
    Invalidate(TRUE);
}

void CSearchView::OnUpdateToggleLocalToolBar(CCmdUI* pCmdUI) { pCmdUI->SetCheck(IsLocalToolBarShown(this)); }

void CSearchView::OnSlideShow()
{
    CStringArray paths;
    // A show that does not run gives back the selection it widened.
    CListSelectionKeeper kept(m_list);
    if (g_pMainFrameHost != nullptr && PrepareListSlideShow(m_list, &m_pSlideIndices, &m_nSlideCount, &paths)
        && g_pMainFrameHost->RunSlideShow(kSlideSourceSearch, this, paths))
        kept.CommandWentAhead();
}

void CSearchView::OnExport()
{
    if (m_list.GetSelCount() <= 0)
        return;
    // Opens on the last export folder, which it updates.
    const CString folder = BrowseExportFolder(m_hWnd, &g_CurrentExportDirectory);
    if (!folder.IsEmpty())
        CopyOrMoveSelection(folder, TRUE);
    SetFocus();
}

BOOL CSearchView::CopyOrMoveSelection(const CString& folder, BOOL bCopy)
{
    return TransferSelectedPictures(m_list, folder, bCopy, {TRUE, FALSE});
}
