// The folder-explorer view: tree and list side by side, the splitter, the debounced folder load,
// the folder watch, the status panes, the palette and the frames between the children.
#include "explorer/ExplorerView.h"

#include "core/BusyCursor.h"
#include "core/DrawUtil.h"
#include "core/FileUtil.h"
#include "core/Palette.h"
#include "core/TextFormat.h"
#include "explorer/ExplorerDoc.h"
#include "explorer/ExplorerGlobals.h"
#include "explorer/ExplorerMDI.h"
#include "explorer/ListViewFrame.h"
#include "piclist/ListCommands.h"
#include "framework/CmdUI.h"
#include "framework/Dc.h"
#include "framework/StdIds.h"
#include "framework/DockBar.h"
#include "framework/FrameworkTexts.h"
#include "framework/WinThread.h"
#include "resources/resource.h"
#include "shell/AppMessages.h"
#include "shell/MainFrameHost.h"
#include "shell/Settings.h"
#include "shell/SharedUi.h"
#include "shell/ViewPlacement.h"

#include <cstring>

#include <mmsystem.h>
#include <shlwapi.h>

static DWORD DefaultExplorerClock() { return ::timeGetTime(); }
ExplorerClockFn g_pfnExplorerClock = DefaultExplorerClock;

// The pause between a folder request and its loading: quick clicks through the tree load only the
// last folder.
static const DWORD kRequestDelay = 300;
// Change lines reach the list at most every tenth idle step.
static const int kChangeSteps = 10;
static const int kTreeId = 102;

IMPLEMENT_DYNCREATE(CExplorerView, CView)

BEGIN_MESSAGE_MAP(CExplorerView, CView)
    ON_COMMAND(ID_FILE_PRINT, OnPrintList)
    ON_COMMAND(ID_FILE_PRINT_PREVIEW, OnPreviewList)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_SETFOCUS()
    ON_WM_CTLCOLOR()
    ON_MESSAGE(WM_PALETTEREALIZE, OnPaletteRealize)
    ON_MESSAGE(WM_FOLDERCHANGED, OnFolderChanged)
    ON_MESSAGE(WM_VIEWARRANGE, OnViewArrange)
    ON_MESSAGE(WM_VIEWKIND, OnViewKind)
    ON_MESSAGE(WM_VIEWSTATUS, OnViewStatus)
    ON_MESSAGE(WM_VIEWIDLE, OnViewIdle)
    ON_LBN_SELCHANGE(101, OnListSelChange)
    ON_LBN_DBLCLK(101, OnOpenItem)
    ON_COMMAND(ID_EXPLORER_OPEN, OnOpen)
    ON_UPDATE_COMMAND_UI(ID_EXPLORER_OPEN, OnUpdateNeedsSelection)
    ON_COMMAND(ID_EXPLORER_OPEN_FULLSCREEN, OnOpenFullScreen)
    ON_UPDATE_COMMAND_UI(ID_EXPLORER_OPEN_FULLSCREEN, OnUpdateNeedsSelection)
    ON_COMMAND(ID_EXPLORER_SLIDESHOW, OnSlideShow)
    ON_UPDATE_COMMAND_UI(ID_EXPLORER_SLIDESHOW, OnUpdateNeedsItems)
    ON_COMMAND(ID_EXPLORER_PREVIEW, OnPreview)
    ON_UPDATE_COMMAND_UI(ID_EXPLORER_PREVIEW, OnUpdateNeedsSelection)
    ON_COMMAND(ID_EXPLORER_AUTO_PREVIEW, OnToggleAutoPreview)
    ON_UPDATE_COMMAND_UI(ID_EXPLORER_AUTO_PREVIEW, OnUpdateToggleAutoPreview)
    ON_COMMAND_RANGE(ID_EXPLORER_SORT_NAME, ID_EXPLORER_SORT_DATE, OnSortKey)
    ON_UPDATE_COMMAND_UI_RANGE(ID_EXPLORER_SORT_NAME, ID_EXPLORER_SORT_DATE, OnUpdateSortKey)
    ON_COMMAND_RANGE(ID_EXPLORER_SORT_DESCENDING, ID_EXPLORER_SORT_ASCENDING, OnSortOrder)
    ON_UPDATE_COMMAND_UI_RANGE(ID_EXPLORER_SORT_DESCENDING, ID_EXPLORER_SORT_ASCENDING, OnUpdateSortOrder)
    ON_COMMAND_RANGE(ID_EXPLORER_VIEW_LARGE, ID_EXPLORER_VIEW_LIST, OnListView)
    ON_UPDATE_COMMAND_UI_RANGE(ID_EXPLORER_VIEW_LARGE, ID_EXPLORER_VIEW_LIST, OnUpdateListView)
    ON_COMMAND(ID_EDIT_SELECT_ALL, OnSelectAllRange)
    ON_UPDATE_COMMAND_UI(ID_EDIT_SELECT_ALL, OnUpdateNeedsItems)
    ON_COMMAND(ID_EXPLORER_SELECT_ALL, OnSelectAll)
    ON_UPDATE_COMMAND_UI(ID_EXPLORER_SELECT_ALL, OnUpdateNeedsItems)
    ON_COMMAND(ID_EXPLORER_DESELECT_ALL, OnDeselectAll)
    ON_UPDATE_COMMAND_UI(ID_EXPLORER_DESELECT_ALL, OnUpdateNeedsItems)
    ON_COMMAND(ID_EXPLORER_INVERT_SELECTION, OnInvertSelection)
    ON_UPDATE_COMMAND_UI(ID_EXPLORER_INVERT_SELECTION, OnUpdateNeedsItems)
    ON_COMMAND(ID_EXPLORER_SELECTION_MENU, OnSelectionMenu)
    ON_COMMAND(ID_EXPLORER_SELECT_PATTERN, OnSelectPattern)
    ON_UPDATE_COMMAND_UI(ID_EXPLORER_SELECT_PATTERN, OnUpdateNeedsItems)
    ON_COMMAND(ID_EXPLORER_DESELECT_PATTERN, OnDeselectPattern)
    ON_UPDATE_COMMAND_UI(ID_EXPLORER_DESELECT_PATTERN, OnUpdateNeedsItems)
    ON_COMMAND(ID_EXPLORER_ADD_TO_LIBRARY, OnAddToLibrary)
    ON_UPDATE_COMMAND_UI(ID_EXPLORER_ADD_TO_LIBRARY, OnUpdateAddToLibrary)
    ON_COMMAND(ID_EXPLORER_EDIT_PICTURE, OnEditPicture)
    ON_UPDATE_COMMAND_UI(ID_EXPLORER_EDIT_PICTURE, OnUpdateNeedsOne)
    ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateNeedsOne)
    ON_COMMAND(ID_EXPLORER_REFRESH, OnRefresh)
    ON_COMMAND(ID_EXPLORER_NEW_FOLDER, OnNewFolder)
    ON_UPDATE_COMMAND_UI(ID_EXPLORER_NEW_FOLDER, OnUpdateNewFolder)
    ON_COMMAND(ID_EXPLORER_DELETE, OnDelete)
    ON_UPDATE_COMMAND_UI(ID_EXPLORER_DELETE, OnUpdateDelete)
    ON_COMMAND(ID_EXPLORER_PROPERTIES, OnProperties)
    ON_UPDATE_COMMAND_UI(ID_EXPLORER_PROPERTIES, OnUpdateProperties)
    ON_COMMAND(ID_EXPLORER_AUTO_FULLSCREEN, OnToggleFullScreenOpen)
    ON_UPDATE_COMMAND_UI(ID_EXPLORER_AUTO_FULLSCREEN, OnUpdateToggleFullScreenOpen)
    ON_COMMAND(ID_EXPLORER_PARENT, OnParentFolder)
    ON_UPDATE_COMMAND_UI(ID_EXPLORER_PARENT, OnUpdateParentFolder)
    ON_COMMAND(ID_VIEW_LOCAL_TOOLBAR, OnToggleLocalToolBar)
    ON_UPDATE_COMMAND_UI(ID_VIEW_LOCAL_TOOLBAR, OnUpdateToggleLocalToolBar)
    ON_COMMAND(ID_HIDE_LOCAL_TOOLBAR, OnToggleLocalToolBar)
END_MESSAGE_MAP()

void ComputeExplorerLayout(int w, int h, int splitterX, BOOL topInset, RECT* pTree, RECT* pList)
{
    int top = topInset ? 6 : 3;
    ::SetRect(pTree, 3, top, splitterX - 1 - 3, h - 3);
    int right = w > splitterX + 10 ? w : splitterX + 10;
    ::SetRect(pList, splitterX + 3, top, right - 3, h - 3);
}

int ClampSplitter(int x, int w)
{
    if (x < 50)
        return 50;
    if (x > w - 50)
        return w - 50;
    return x;
}

CExplorerView::CExplorerView()
{
    m_nSplitterX = g_DefaultSeparatorPos;
    m_bFullScreenOpen = g_PleinEcranAuto;
    CreateFixedPalette(&m_palette, kPaletteR2G3B2);
}

CExplorerView::~CExplorerView()
{
    FreeSnapshot(&m_pSnapshot);
    delete[] m_pSlideIndices;
}

CExplorerDoc* CExplorerView::GetDocument() const { return static_cast<CExplorerDoc*>(m_pDocument); }

BOOL CExplorerView::PreCreateWindow(CREATESTRUCT& cs)
{
    BOOL bResult = CView::PreCreateWindow(cs);
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    return bResult;
}

int CExplorerView::OnCreate(LPCREATESTRUCT lpcs)
{
    m_bDestroying = FALSE;
    if (CView::OnCreate(lpcs) == -1)
        return -1;
    if (!m_tree.CreateTree(this, kTreeId, this))
        return -1;
    if (!CreateList())
        return -1;
    LoadListFolder("");
    m_tree.FillTree();
    return 0;
}

void CExplorerView::OnInitialUpdate()
{
    if (g_bAutoReorganize) {
        m_bArranging = TRUE;
        ArrangeChildFrame(FALSE);
        m_bArranging = FALSE;
    }
    m_tree.SelectTreeFolderByPath("C:");
    CExplorerDoc* pDoc = GetDocument();
    CString strPath = pDoc != nullptr ? pDoc->GetPathName() : CString();
    if (strPath.IsEmpty()) {
        if (!g_ActualDir.IsEmpty())
            m_tree.SelectTreeFolderByDisplayPath(g_ActualDir);
    } else {
        m_tree.SelectTreeFolderByPath(strPath);
    }
    CView::OnInitialUpdate();
}

void CExplorerView::OnDestroy()
{
    StopFolderWatch();
    CView::OnDestroy();
    m_bDestroying = TRUE;
}

// ---- layout and splitter ----

CExplorerMDI* CExplorerView::GetExplorerFrame() const
{
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame == nullptr || !pFrame->IsKindOf(RUNTIME_CLASS(CExplorerMDI)))
        return nullptr;
    return static_cast<CExplorerMDI*>(pFrame);
}

BOOL CExplorerView::IsToolBarInset() { return IsLocalToolBarInset(this); }

void CExplorerView::LayoutChildren()
{
    CRect client;
    GetClientRect(&client);
    RECT tree, list;
    ComputeExplorerLayout(client.Width(), client.Height(), m_nSplitterX, IsToolBarInset(), &tree, &list);
    if (::IsWindow(m_tree.m_hWnd))
        m_tree.SetWindowPos(nullptr, tree.left, tree.top, tree.right - tree.left, tree.bottom - tree.top,
                            SWP_NOZORDER | SWP_NOACTIVATE);
    m_rectList = list;
    PlaceList();
}

void CExplorerView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    LayoutChildren();
}

BOOL CExplorerView::OnEraseBkgnd(CDC*) { return TRUE; }

BOOL CExplorerView::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_bSplitterDragging)
        return TRUE;
    POINT point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    CRect client;
    GetClientRect(&client);
    if (point.x >= m_nSplitterX - 2 && point.x < m_nSplitterX + 2 && point.y >= 0 && point.y < client.bottom
        && g_hIconResizeLeftRight != nullptr) {
        ::SetCursor(reinterpret_cast<HCURSOR>(g_hIconResizeLeftRight));
        return TRUE;
    }
    return CView::OnSetCursor(pWnd, nHitTest, message);
}

void CExplorerView::DrawSplitterBar(int x)
{
    CRect client;
    GetClientRect(&client);
    CClientDC dc(this);
    RECT bar = {x - 2, 0, x + 2, client.bottom};
    ::DrawFocusRect(dc.m_hDC, &bar);
    ::InflateRect(&bar, -1, -1);
    ::DrawFocusRect(dc.m_hDC, &bar);
}

void CExplorerView::OnLButtonDown(UINT nFlags, CPoint point)
{
    CRect client;
    GetClientRect(&client);
    if (point.x >= m_nSplitterX - 2 && point.x < m_nSplitterX + 2) {
        SetCapture();
        m_bSplitterDragging = TRUE;
        m_ptDragStart = point;
        m_nTrackX = ClampSplitter(m_nSplitterX + point.x - m_ptDragStart.x, client.Width());
        DrawSplitterBar(m_nTrackX);
    }
    CView::OnLButtonDown(nFlags, point);
}

void CExplorerView::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_bSplitterDragging) {
        CRect client;
        GetClientRect(&client);
        int x = ClampSplitter(m_nSplitterX + point.x - m_ptDragStart.x, client.Width());
        DrawSplitterBar(m_nTrackX);
        m_nTrackX = x;
        DrawSplitterBar(m_nTrackX);
    }
    CView::OnMouseMove(nFlags, point);
}

void CExplorerView::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (m_bSplitterDragging) {
        ::ReleaseCapture();
        DrawSplitterBar(m_nTrackX);
        m_nSplitterX = m_nTrackX;
        g_DefaultSeparatorPos = m_nSplitterX;
        m_bSplitterDragging = FALSE;
        Invalidate(TRUE);
        LayoutChildren();
    }
    CView::OnLButtonUp(nFlags, point);
}

// ---- the frames between the children ----

void CExplorerView::OnDraw(CDC* pDC) { DrawListViewFrames(this, pDC, &m_tree, &m_list); }

// ---- requests, idle step and watch ----

void CExplorerView::OnTreeFolderRequested(const CString& path, const CString& name,
                                          const CString& displayPath)
{
    m_strRequestedPath = path;
    m_strRequestedName = name;
    m_strRequestedDisplayPath = displayPath;
}

void CExplorerView::OnTreeTab() { FocusList(); }

BOOL CExplorerView::IsLockedFolder(const CString& path) const
{
    // Without a library tree there is no protected folder: nothing is locked.
    CString strProtected = ProtectedFolderPath();
    if (strProtected.IsEmpty() || strProtected.GetLength() > path.GetLength())
        return FALSE;
    if (AfxAnsiCompareNoCase(path.Left(strProtected.GetLength()), strProtected) != 0)
        return FALSE;
    // "Images Protégées 2" beside it is another folder.
    return path.GetLength() == strProtected.GetLength() || path[strProtected.GetLength()] == '\\'
           || strProtected.Right(1) == "\\";
}

int CExplorerView::OnIdle()
{
    m_nIdleSteps++;
    int nResult = 0;
    CString strShown = m_strShownPath;
    if (strShown != "@" && !strShown.IsEmpty() && strShown.Right(1) == "\\")
        strShown = strShown.Left(strShown.GetLength() - 1);
    DWORD now = g_pfnExplorerClock();
    if (strShown != m_strRequestedPath || m_strShownDisplayPath != m_strRequestedDisplayPath) {
        m_strShownPath = m_strRequestedPath;
        m_strShownDisplayPath = m_strRequestedDisplayPath;
        m_strShownName = m_strRequestedName;
        if (m_strShownPath.Right(1) == ":")
            m_strShownPath += "\\";
        if (GetDocument() != nullptr)
            GetDocument()->SetPathName(m_strShownPath, FALSE);
        m_dwChangeTime = m_dwChangeTime == 1 ? now - kRequestDelay : now;
        // 0 and 1 are markers, never times.
        if (m_dwChangeTime <= 1)
            m_dwChangeTime = 2;
    }
    // Opened since the list was loaded empty for it: the folder is read now (its watch kept out
    // what it saw meanwhile, and the list holds no folder to name a change in).
    if (m_bListLocked && g_bProtectedUnlocked && m_dwChangeTime == 0)
        m_dwChangeTime = 1;
    // Not while the list is being filled, or tells what its listing found: a later step loads, once,
    // and the changes seen meanwhile wait too.
    const BOOL bListBusy = m_list.IsFillUnderWay();
    if (m_dwChangeTime != 0 && now - m_dwChangeTime >= kRequestDelay && !bListBusy) {
        // Before the load: a folder asked while the load tells in a box is loaded at a later step.
        m_dwChangeTime = 0;
        // The watch lets go of the folder first: a folder removed while watched is gone only once
        // its last handle closes, and the title must not see it still standing.
        StopFolderWatch();
        UpdateTitle();
        BOOL bLocked = IsLockedFolder(m_strRequestedPath) && !g_bProtectedUnlocked;
        m_bListLocked = bLocked;
        const CString folder = m_strRequestedPath;
        LoadListFolder(bLocked ? CString() : folder);
        g_ActualDir = m_strShownDisplayPath;
        StartFolderWatch(folder);
        nResult = 1;
    }
    if (!bListBusy && ++m_nIdleCount >= kChangeSteps) {
        m_nIdleCount = 0;
        if (m_bChangesPending) {
            CStringArray lines;
            {
                CSingleLock guard(&m_lockChanges, TRUE);
                lines.Append(m_arrChanges);
                m_arrChanges.RemoveAll();
                m_bChangesPending = FALSE;
            }
            // A locked folder shows nothing: its pictures must not come in through the watch.
            if (!(IsLockedFolder(m_strShownPath) && !g_bProtectedUnlocked))
                ApplyChanges(lines);
            // The change may be the folder's own: renamed or removed by another program.
            if (m_dwChangeTime == 0)
                UpdateTitle();
        }
    }
    if (nResult)
        return 1;
    return BuildNextThumbnail();
}

void CExplorerView::UpdateTitle()
{
    CExplorerDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return;
    CString title = AfxLoadText(IDS_EXPLORER) + " - " + m_strShownName;
    if (!m_strShownPath.IsEmpty() && !FolderExists(m_strShownPath)) {
        CString gone;
        gone.Format(AfxLoadText(IDS_EXPLORER_FOLDER_GONE), static_cast<LPCSTR>(title));
        title = gone;
    }
    if (pDoc->GetTitle() != title)
        pDoc->SetTitle(title);
}

LRESULT CExplorerView::OnFolderChanged(WPARAM, LPARAM)
{
    m_bChangesPending = TRUE;
    return 0;
}

void CExplorerView::StartFolderWatch(const CString& path)
{
    if (m_hWatchThread != nullptr)
        StopFolderWatch();
    {
        // Lines of the previous folder would name files of another folder.
        CSingleLock guard(&m_lockChanges, TRUE);
        m_arrChanges.RemoveAll();
        m_bChangesPending = FALSE;
    }
    FolderWatchLink* link = NewFolderWatchLink();
    if (link == nullptr)
        return;
    auto* params = new FolderWatchParams;
    lstrcpynA(params->path, path, MAX_PATH);
    params->stopEvent = link->stopEvent;
    params->view = m_hWnd;
    params->changes = &m_arrChanges;
    params->snapshot = &m_pSnapshot;
    params->lock = &m_lockChanges;
    params->link = link;
    TakeFolderSnapshot(&m_pSnapshot, path);
    CWinThread* pThread =
        AfxBeginThread(FolderWatchThreadProc, params, THREAD_PRIORITY_IDLE, 0, CREATE_SUSPENDED);
    if (pThread == nullptr) {
        delete params;
        ReleaseFolderWatchLink(link);
        ReleaseFolderWatchLink(link);
        return;
    }
    // The thread object stays until the stop has waited on its handle.
    pThread->m_bAutoDelete = FALSE;
    m_pWatchThreadObject = pThread;
    m_hWatchThread = pThread->m_hThread;
    m_pWatchLink = link;
    pThread->ResumeThread();
}

void CExplorerView::StopFolderWatch()
{
    if (m_hWatchThread == nullptr)
        return;
    // A thread that was let go keeps its thread object, as the thread's entry still reads it.
    if (StopFolderWatchThread(m_hWatchThread, m_pWatchLink))
        delete m_pWatchThreadObject;
    ReleaseFolderWatchLink(m_pWatchLink);
    m_pWatchLink = nullptr;
    m_pWatchThreadObject = nullptr;
    m_hWatchThread = nullptr;
}

// ---- activation, focus, palette, colours ----

void CExplorerView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView)
{
    CView::OnActivateView(bActivate, pActivateView, pDeactiveView);
    if (!bActivate)
        return;
    if (GetListCount() > 0)
        FocusList();
    else if (::IsWindow(m_tree.m_hWnd))
        m_tree.SetFocus();
    OnPaletteRealize(reinterpret_cast<WPARAM>(m_hWnd), 0);
    UpdateStatusPanes();
}

void CExplorerView::OnSetFocus(CWnd* pOldWnd)
{
    CView::OnSetFocus(pOldWnd);
    if (m_bListHasFocus && HasListWindow())
        FocusList();
    else if (::IsWindow(m_tree.m_hWnd))
        m_tree.SetFocus();
    OnPaletteRealize(reinterpret_cast<WPARAM>(m_hWnd), 0);
}

LRESULT CExplorerView::OnPaletteRealize(WPARAM wParam, LPARAM)
{
    return RealizeListViewPalette(this, &m_palette, wParam);
}

HBRUSH CExplorerView::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (nCtlColor == CTLCOLOR_LISTBOX) {
        if (pWnd != nullptr && IsListWindow(pWnd->m_hWnd))
            return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
        return static_cast<HBRUSH>(::GetStockObject(LTGRAY_BRUSH));
    }
    return CView::OnCtlColor(pDC, pWnd, nCtlColor);
}

// ---- status panes ----

void CExplorerView::UpdateStatusPanes()
{
    if (g_pMainFrameHost == nullptr || g_pMainFrameHost->GetStatusMode() != kStatusExplorer)
        return;
    static CString s_strTotal, s_strSelected;
    if (s_strTotal.IsEmpty()) {
        s_strTotal = AfxLoadText(IDS_STATUS_TOTAL_COUNT);
        s_strSelected = AfxLoadText(IDS_STATUS_SELECTED_COUNT);
    }
    PicListTotals totals = GetListTotals();
    CString text;
    text.Format(s_strTotal, totals.count, static_cast<LPCSTR>(FormatFileSizeShort(totals.size)));
    g_pMainFrameHost->SetStatusText1(text);
    text.Format(s_strSelected, totals.selectedCount,
                static_cast<LPCSTR>(FormatFileSizeShort(totals.selectedSize)));
    g_pMainFrameHost->SetStatusPaneText(2, text);
    g_pMainFrameHost->SetStatusPaneText(3, totals.missingThumbnails > 0 ? "@4" : " ");
}

// ---- placement ----

void CExplorerView::ArrangeChildFrame(BOOL byPlacement)
{
    ArrangeViewFrame(this, kExplorerViewArea, byPlacement, m_bArranging);
}

LRESULT CExplorerView::OnViewArrange(WPARAM wParam, LPARAM)
{
    ArrangeChildFrame(static_cast<BOOL>(wParam));
    return TRUE;
}

LRESULT CExplorerView::OnViewKind(WPARAM, LPARAM) { return kExplorerViewArea; }

LRESULT CExplorerView::OnViewStatus(WPARAM, LPARAM)
{
    if (g_pMainFrameHost != nullptr)
        g_pMainFrameHost->SetStatusMode(kStatusExplorer);
    UpdateStatusPanes();
    return TRUE;
}

LRESULT CExplorerView::OnViewIdle(WPARAM wParam, LPARAM)
{
    // A batch of file operations is running: the folder changes are followed once it is over.
    if (!wParam && !g_bTransferBusy)
        OnIdle();
    return TRUE;
}

// ---- tree commands ----

void CExplorerView::OnRefresh()
{
    SetAppCursor(kAppCursorBusy);
    m_tree.FillTree();
    m_tree.SelectTreeFolderByDisplayPath(g_ActualDir);
    RestoreAppCursor();
    // A folder gone unseen, or left empty, is read again at the next step: another program removing
    // it may wait for the watch to let go of it (seen under Wine); gone, the list empties and the
    // title says so.
    if (m_dwChangeTime == 0 && m_strShownPath != "@" && !m_strShownPath.IsEmpty()
        && (!FolderExists(m_strShownPath) || ::PathIsDirectoryEmptyA(m_strShownPath))) {
        StopFolderWatch();
        m_dwChangeTime = 1;
    }
}

void CExplorerView::OnParentFolder()
{
    HTREEITEM hItem = m_tree.GetSelectedItem();
    HTREEITEM hParent = hItem != nullptr ? m_tree.GetParentItem(hItem) : nullptr;
    if (hParent != nullptr)
        m_tree.SelectItem(hParent);
}

void CExplorerView::OnUpdateParentFolder(CCmdUI* pCmdUI)
{
    HTREEITEM hItem = m_tree.GetSelectedItem();
    pCmdUI->Enable(hItem != nullptr && m_tree.GetParentItem(hItem) != nullptr);
}

void CExplorerView::OnToggleLocalToolBar()
{
    if (!ToggleLocalToolBar(this))
        return;
    LayoutChildren();
    Invalidate(TRUE);
}

void CExplorerView::OnUpdateToggleLocalToolBar(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(IsLocalToolBarShown(this));
}
