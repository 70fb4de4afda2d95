#include "explorer/SearchView.h"

#include "explorer/SearchWorker.h"
#include "explorer/ListViewFrame.h"
#include "piclist/LibraryHost.h"
#include "piclist/LibraryListCommands.h"
#include "piclist/PatternDialogs.h"
#include "piclist/PicObject.h"
#include "piclist/PicProperties.h"
#include "piclist/LibraryState.h"
#include "piclist/ReplaceConfirm.h"
#include "piclist/SafeFileOps.h"
#include "piclist/Wildcard.h"
#include "shell/AppMessages.h"
#include "shell/MainFrameHost.h"
#include "shell/Settings.h"
#include "shell/ViewPlacement.h"
#include "core/BusyCursor.h"
#include "core/Progress.h"
#include "core/TextFormat.h"
#include "framework/CmdUI.h"
#include "framework/CommonDialogs.h"
#include "framework/Dc.h"
#include "framework/FrameWnd.h"
#include "framework/FrameworkTexts.h"
#include "framework/WinApp.h"
#include "resources/resource.h"

#include <shlobj.h>

#include <cstdio>

IMPLEMENT_DYNCREATE(CSearchView, CView)

namespace {

const UINT kListId = 101;
const int kListInset = 3;

// Sort commands and the list's keys (0 name, 1 type, 2 date, 3 size).
int SortKeyOf(UINT nID)
{
    switch (nID) {
    case ID_EXPLORER_SORT_TYPE:
        return 1;
    case ID_EXPLORER_SORT_DATE:
        return 2;
    case ID_EXPLORER_SORT_SIZE:
        return 3;
    default:
        return 0;
    }
}

int ViewOf(UINT nID) { return static_cast<int>(nID - ID_EXPLORER_VIEW_LARGE) / 2; }

} // namespace

BEGIN_MESSAGE_MAP(CSearchView, CView)
    ON_WM_CREATE()
    ON_WM_SIZE()
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
    ON_COMMAND(ID_EDIT_SELECT_ALL, OnSelectAll)
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

CSearchView::CSearchView() = default;

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
    if (g_bAutoReorganize) {
        m_bArranging = TRUE;
        ArrangeChildFrame(FALSE);
        m_bArranging = FALSE;
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

void CSearchView::OnListContentChanged(CPicListBox*) { UpdateStatusPanes(); }

void CSearchView::OnListSelChange() { UpdateStatusPanes(); }

void CSearchView::OnListDblClk() { OnOpenItem(); }

LRESULT CSearchView::OnPaletteRealize(WPARAM, LPARAM)
{
    CPalette* pPalette = LibraryPalette();
    if (pPalette == nullptr || !::IsWindow(m_list.GetSafeHwnd()))
        return 0;
    CClientDC dc(&m_list);
    CPalette* pOld = dc.SelectPalette(pPalette, FALSE);
    if (dc.RealizePalette() != 0)
        m_list.Invalidate(FALSE);
    dc.SelectPalette(pOld, TRUE);
    return 0;
}

void CSearchView::UpdateStatusPanes()
{
    if (g_pMainFrameHost == nullptr || g_pMainFrameHost->GetStatusMode() != kStatusExplorer
        || !::IsWindow(m_list.GetSafeHwnd()))
        return;
    DWORD total = 0;
    DWORD selectedSize = 0;
    int selected = 0;
    const int count = m_list.GetCount();
    for (int i = 0; i < count; ++i) {
        CPicObject* pRecord = m_list.GetRecord(i);
        if (pRecord == nullptr)
            continue;
        const DWORD size = static_cast<DWORD>(pRecord->m_lFileSize);
        total += size;
        if (m_list.GetSel(i) > 0) {
            selected++;
            selectedSize += size;
        }
    }
    CString text;
    text.Format(m_strTotalFormat, count, static_cast<LPCSTR>(FormatFileSizeShort(total)));
    g_pMainFrameHost->SetStatusText1(text);
    text.Format(m_strSelectedFormat, selected, static_cast<LPCSTR>(FormatFileSizeShort(selectedSize)));
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

std::vector<int> CSearchView::SelectedIndexes() const
{
    std::vector<int> indexes;
    const int count = m_list.GetSelCount();
    if (count > 0) {
        indexes.resize(static_cast<size_t>(count));
        indexes.resize(static_cast<size_t>(m_list.GetSelItems(count, indexes.data())));
    }
    return indexes;
}

void CSearchView::OpenFirstSelected(BOOL bFullScreen)
{
    const std::vector<int> selected = SelectedIndexes();
    if (selected.empty())
        return;
    CPicObject* pRecord = m_list.GetRecord(selected.front());
    if (pRecord == nullptr || g_pMainFrameHost == nullptr)
        return;
    const CString path = pRecord->m_strPath;
    g_pMainFrameHost->OpenPicture(path, bFullScreen, bFullScreen ? GetParentFrame() : nullptr, nullptr);
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
    const int key = SortKeyOf(nID);
    if (m_list.m_nSortKey == key)
        return;
    m_list.m_nSortKey = key;
    g_DefaultSortBy = key;
    m_list.Resort();
}

void CSearchView::OnUpdateSort(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_list.m_nSortKey == SortKeyOf(pCmdUI->m_nID));
}

void CSearchView::OnSortOrder(UINT nID)
{
    const int order = nID == ID_EXPLORER_SORT_DESCENDING ? 1 : 0;
    if (m_list.m_nSortOrder == order)
        return;
    m_list.m_nSortOrder = order;
    g_DefaultSortOrder = order;
    m_list.Resort();
}

void CSearchView::OnUpdateSortOrder(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_list.m_nSortOrder == (pCmdUI->m_nID == ID_EXPLORER_SORT_DESCENDING ? 1 : 0));
}

void CSearchView::OnView(UINT nID)
{
    const int view = ViewOf(nID);
    if (view < 0 || view > 3 || m_list.m_nView == view)
        return;
    g_TailleVignette = view;
    // The list window is made again in the new view, keeping its records; the focus stays.
    std::vector<CObject*> records;
    m_list.TakeRecords(records);
    m_list.DestroyWindow();
    m_list.m_nView = view;
    if (m_list.Create(this, kListId)) {
        m_list.AddRecords(records);
        if (m_list.GetCount() > 0)
            m_list.SetSel(0, TRUE);
        LayoutList();
    } else {
        for (CObject* pRecord : records)
            delete pRecord;
    }
    UpdateStatusPanes();
}

void CSearchView::OnUpdateView(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_list.m_nView == ViewOf(pCmdUI->m_nID)); }

void CSearchView::OnSelectAll()
{
    if (m_list.GetCount() > 0)
        m_list.SelItemRange(TRUE, 0, m_list.GetCount() - 1);
    UpdateStatusPanes();
}

void CSearchView::OnDeselectAll()
{
    if (m_list.GetCount() > 0)
        m_list.SelItemRange(FALSE, 0, m_list.GetCount() - 1);
    UpdateStatusPanes();
}

void CSearchView::OnInvertSelection()
{
    m_list.SetRedraw(FALSE);
    for (int i = 0; i < m_list.GetCount(); ++i)
        m_list.SetSel(i, m_list.GetSel(i) <= 0);
    m_list.SetRedraw(TRUE);
    m_list.Invalidate();
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

void CSearchView::OnEditCopy()
{
    const std::vector<int> selected = SelectedIndexes();
    CPicObject* pRecord = selected.empty() ? nullptr : m_list.GetRecord(selected.front());
    if (pRecord != nullptr)
        CopyPictureToClipboard(m_hWnd, pRecord->m_strPath);
}

void CSearchView::OnSelectionMenu()
{
    SetFocus();
    TrackListPopup(CONTEXT_EXPLORER_SELECTION, 10);
}

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
    const int count = m_list.GetCount();
    if (count < 2 || g_pMainFrameHost == nullptr)
        return;
    if (m_list.GetSelCount() < 2)
        m_list.SelItemRange(TRUE, 0, count - 1);
    const std::vector<int> selected = SelectedIndexes();
    delete[] m_pSlideIndices;
    m_pSlideIndices = new int[selected.size()];
    m_nSlideCount = static_cast<int>(selected.size());
    CStringArray paths;
    for (size_t i = 0; i < selected.size(); ++i) {
        m_pSlideIndices[i] = selected[i];
        CPicObject* pRecord = m_list.GetRecord(selected[i]);
        if (pRecord != nullptr)
            paths.Add(pRecord->m_strPath);
    }
    g_pMainFrameHost->RunSlideShow(kSlideSourceSearch, this, paths);
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
    const std::vector<int> selected = SelectedIndexes();
    if (selected.empty())
        return 0;
    m_list.SetRedraw(FALSE);
    BeginReplaceBatch();
    SetAppCursor(kAppCursorBusy);
    BeginProgress(bCopy ? IDS_PROGRESS_COPY : IDS_PROGRESS_MOVE);
    g_bTransferBusy = TRUE;
    DWORD done = 0;
    for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
        CPicObject* pRecord = m_list.GetRecord(*it);
        if (pRecord != nullptr) {
            const CString source = pRecord->m_strPath;
            CString name = pRecord->m_strBaseName;
            if (!pRecord->m_strExt.IsEmpty())
                name += "." + pRecord->m_strExt;
            CString target = folder;
            if (target.IsEmpty() || target.Right(1) != "\\")
                target += "\\";
            target += name;
            BOOL failed = FALSE;
            // A picture exported onto itself is already there: replacing it would lose it.
            if (!IsSamePath(source, target)) {
                if (!PathExists(target)) {
                    failed = bCopy ? !SafeCopy(source, target) : !SafeMove(source, target);
                } else if (ConfirmFileReplace(source, target)) {
                    const std::vector<CString> clashing = {target};
                    failed = bCopy ? !ReplaceByCopy(source, target, clashing)
                                   : !ReplaceByMove(source, target, clashing);
                }
            }
            if (failed) {
                CString text;
                text.Format(AfxLoadText(bCopy ? IDS_COPY_FAILED : IDS_MOVE_FAILED),
                            static_cast<LPCSTR>(target));
                AfxMessageBox(text, MB_ICONSTOP);
            }
            if (g_bReplaceCancelled)
                break;
        }
        SetProgress(++done, static_cast<DWORD>(selected.size()));
    }
    EndProgress();
    g_bTransferBusy = FALSE;
    RestoreAppCursor();
    m_list.SetRedraw(TRUE);
    m_list.Invalidate();
    return 1;
}
