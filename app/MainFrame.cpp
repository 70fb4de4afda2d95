// The main frame's creation with its bars, closing, sizing, palette messages, the command line handed
// over by a second instance, and the commands of the window itself.
#include "app/MainFrame.h"

#include "shell/AppMessages.h"
#include "shell/Settings.h"
#include "app/TessarineApp.h"
#include "framework/CmdUI.h"
#include "framework/CommandKeys.h"
#include "framework/DockBar.h"
#include "framework/FrameworkTexts.h"
#include "framework/MDIChildWnd.h"
#include "framework/View.h"
#include "resources/resource.h"
#include "viewers/SlideShowWnd.h"

#include <new>

CMainFrame* g_pMainFrame = nullptr;
CLibraryBar* g_pLibraryBar = nullptr;
BOOL g_bInDispatch = FALSE;

namespace {

// Standard tool bar: child, visible, along the top with a bottom border, fly-by prompts, tool tips,
// sized as it wraps.
const DWORD kToolBarStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM | CBRS_FLYBY
                            | CBRS_TOOLTIPS | CBRS_SIZE_DYNAMIC;
const DWORD kStatusBarStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;
const DWORD kLibraryBarStyle = CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT | CBRS_SIZE_DYNAMIC;
const UINT kDispatchTimer = 1;

} // namespace

IMPLEMENT_DYNCREATE(CMainFrame, CMDIFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CMDIFrameWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_CLOSE()
    ON_WM_SIZE()
    ON_WM_MOVE()
    ON_WM_GETMINMAXINFO()
    ON_WM_TIMER()
    ON_WM_PALETTECHANGED()
    ON_WM_QUERYNEWPALETTE()
    ON_MESSAGE(WM_OPENPATHCHAR, OnOpenPathChar)
    ON_WM_DROPFILES()
    // The painted caption and the background music.
    ON_MESSAGE(WM_NCPAINT, OnNcPaintMessage)
    ON_MESSAGE(WM_NCACTIVATE, OnNcActivateMessage)
    ON_MESSAGE(WM_SETTEXT, OnSetTextMessage)
    ON_MESSAGE(WM_SYSCOLORCHANGE, OnSysColorChangeMessage)
    ON_MESSAGE(WM_SETTINGCHANGE, OnSettingChangeMessage)
    ON_MESSAGE(WM_CAPTIONRESET, OnCaptionReset)
    ON_MESSAGE(MM_MCINOTIFY, OnMciNotify)
    ON_MESSAGE(WM_CLIPBOARDUPDATE, OnClipboardUpdate)
    ON_COMMAND(ID_HELP_WELCOME, OnHelpWelcome)
    ON_COMMAND(ID_WINDOW_REORGANIZE, OnWindowArrange)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_REORGANIZE, OnUpdateAlwaysEnabled)
    ON_COMMAND(ID_WINDOW_AUTO_REORGANIZE, OnAutoReorganize)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_AUTO_REORGANIZE, OnUpdateAutoReorganize)
    ON_COMMAND(ID_VIEW_LIBRARY_BAR, OnViewLibraryBar)
    ON_COMMAND(ID_LIB_SEARCH, OnLibSearch)
    ON_UPDATE_COMMAND_UI(ID_LIB_SEARCH, OnUpdateLibSearch)
    ON_MESSAGE(WM_SEARCHFINISHED, OnSearchFinished)
    ON_UPDATE_COMMAND_UI(ID_VIEW_LIBRARY_BAR, OnUpdateViewLibraryBar)
    ON_COMMAND_EX(ID_VIEW_STATUS_BAR, OnViewBar)
    ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateViewBar)
    ON_COMMAND(ID_VIEW_TOOLBAR, OnViewStandardToolBar)
    ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateViewStandardToolBar)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_INFO, OnUpdateInfoPane)
    ON_COMMAND(ID_RESERVED_32900, OnReserved32900)
    ON_UPDATE_COMMAND_UI(ID_RESERVED_32900, OnUpdateUnchanged)
    ON_COMMAND(ID_EXPLORER_EDIT_PICTURE, OnExplorerEditPicture)
    ON_UPDATE_COMMAND_UI(ID_EXPLORER_EDIT_PICTURE, OnUpdateExplorerEditPicture)
    ON_COMMAND(ID_LIB_SHOW_ROOT_FOLDER, OnShowLibraryRootFolder)
    ON_UPDATE_COMMAND_UI(ID_LIB_SHOW_ROOT_FOLDER, OnUpdateAlwaysEnabled)
    ON_COMMAND(ID_HELP_INDEX, OnHelpIndexCommand)
    ON_COMMAND(ID_DEFAULT_HELP, OnDefaultHelpCommand)
    ON_COMMAND(ID_HELP_USING, OnHelpUsingCommand)
    ON_COMMAND(ID_CONTEXT_HELP, OnContextHelpCommand)
    // Favourites.
    ON_WM_INITMENUPOPUP()
    ON_COMMAND(ID_FAVORITES_ADD, OnAddFavorite)
    ON_UPDATE_COMMAND_UI(ID_FAVORITES_ADD, OnUpdateAddFavorite)
    ON_COMMAND(ID_FAVORITES_EDIT, OnEditFavorites)
    ON_UPDATE_COMMAND_UI(ID_FAVORITES_EDIT, OnUpdateEditFavorites)
    ON_COMMAND_RANGE(ID_FAVORITE_FIRST, ID_FAVORITE_LAST, OnFavorite)
    ON_UPDATE_COMMAND_UI_RANGE(ID_FAVORITE_FIRST, ID_FAVORITE_LAST, OnUpdateFavorite)
    // Keys and preferences.
    ON_WM_KEYDOWN()
    ON_COMMAND(ID_PREFERENCES, OnPreferences)
    ON_COMMAND(ID_PROTECTED_PASSWORD, OnOptionsPassword)
    // Window arrangement, tool bar, help, paste and web pages.
    ON_COMMAND(ID_WINDOW_MOSAIC, OnWindowMosaic)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_MOSAIC, OnUpdateWindowMosaic)
    ON_COMMAND(ID_WINDOW_FULL, OnWindowFull)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_FULL, OnUpdateWindowFull)
    ON_COMMAND(ID_VIEW_STANDARD_TOOLBAR, OnViewStandardToolBar)
    ON_UPDATE_COMMAND_UI(ID_VIEW_STANDARD_TOOLBAR, OnUpdateViewStandardToolBar)
    ON_COMMAND(ID_HELP_FINDER, OnHelpFinderCommand)
    ON_UPDATE_COMMAND_UI(ID_HELP_FINDER, OnUpdateAlwaysEnabled)
    ON_COMMAND(ID_EDIT_PASTE_NEW, OnEditPasteNew)
    ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE_NEW, OnUpdateEditPasteNew)
    ON_COMMAND(ID_WEB_HOME, OnWebHome)
    ON_COMMAND(ID_WEB_PRODUCT, OnWebProduct)
    ON_COMMAND(ID_WEB_PRODUCTS, OnWebProducts)
    ON_COMMAND(ID_WEB_SUPPORT, OnWebSupport)
    ON_COMMAND(ID_TWAIN_ACQUIRE, OnTwainAcquire)
    ON_UPDATE_COMMAND_UI(ID_TWAIN_ACQUIRE, OnUpdateTwainCommand)
    ON_COMMAND(ID_TWAIN_SELECT_SOURCE, OnTwainSelectSource)
    ON_UPDATE_COMMAND_UI(ID_TWAIN_SELECT_SOURCE, OnUpdateTwainCommand)
    // Library commands, forwarded to the library bar while it shows.
    ON_COMMAND_EX(ID_LIB_SELECT_PATTERN, OnLibCommand)
    ON_UPDATE_COMMAND_UI(ID_LIB_SELECT_PATTERN, OnUpdateLibCommand)
    ON_COMMAND_EX(ID_LIB_SELECT_ALL, OnLibCommand)
    ON_UPDATE_COMMAND_UI(ID_LIB_SELECT_ALL, OnUpdateLibCommand)
    ON_COMMAND_EX(ID_LIB_INVERT_SELECTION, OnLibCommand)
    ON_UPDATE_COMMAND_UI(ID_LIB_INVERT_SELECTION, OnUpdateLibCommand)
    ON_COMMAND_EX(ID_LIB_DESELECT_PATTERN, OnLibCommand)
    ON_UPDATE_COMMAND_UI(ID_LIB_DESELECT_PATTERN, OnUpdateLibCommand)
    ON_COMMAND_EX(ID_LIB_DESELECT_ALL, OnLibCommand)
    ON_UPDATE_COMMAND_UI(ID_LIB_DESELECT_ALL, OnUpdateLibCommand)
    ON_COMMAND_EX(ID_LIB_VIEW_LARGE, OnLibCommand)
    ON_UPDATE_COMMAND_UI(ID_LIB_VIEW_LARGE, OnUpdateLibCommand)
    ON_COMMAND_EX(ID_LIB_VIEW_MEDIUM, OnLibCommand)
    ON_UPDATE_COMMAND_UI(ID_LIB_VIEW_MEDIUM, OnUpdateLibCommand)
    ON_COMMAND_EX(ID_LIB_VIEW_LIST, OnLibCommand)
    ON_UPDATE_COMMAND_UI(ID_LIB_VIEW_LIST, OnUpdateLibCommand)
    ON_COMMAND_EX(ID_LIB_VIEW_SMALL, OnLibCommand)
    ON_UPDATE_COMMAND_UI(ID_LIB_VIEW_SMALL, OnUpdateLibCommand)
    ON_COMMAND_EX(ID_LIB_SORT_ASCENDING, OnLibCommand)
    ON_UPDATE_COMMAND_UI(ID_LIB_SORT_ASCENDING, OnUpdateLibCommand)
    ON_COMMAND_EX(ID_LIB_SORT_DESCENDING, OnLibCommand)
    ON_UPDATE_COMMAND_UI(ID_LIB_SORT_DESCENDING, OnUpdateLibCommand)
    ON_COMMAND_EX(ID_LIB_SORT_SIZE, OnLibCommand)
    ON_UPDATE_COMMAND_UI(ID_LIB_SORT_SIZE, OnUpdateLibCommand)
    ON_COMMAND_EX(ID_LIB_SORT_NAME, OnLibCommand)
    ON_UPDATE_COMMAND_UI(ID_LIB_SORT_NAME, OnUpdateLibCommand)
    ON_COMMAND_EX(ID_LIB_SORT_TYPE, OnLibCommand)
    ON_UPDATE_COMMAND_UI(ID_LIB_SORT_TYPE, OnUpdateLibCommand)
    ON_COMMAND_EX(ID_LIB_SORT_DATE, OnLibCommand)
    ON_UPDATE_COMMAND_UI(ID_LIB_SORT_DATE, OnUpdateLibCommand)
    ON_COMMAND_EX(ID_LIB_VIEW_MENU, OnLibCommand)
    ON_UPDATE_COMMAND_UI(ID_LIB_VIEW_MENU, OnUpdateLibCommand)
    ON_COMMAND_EX(ID_LIB_PROPERTIES, OnLibCommand)
    ON_UPDATE_COMMAND_UI(ID_LIB_PROPERTIES, OnUpdateLibCommand)
    ON_COMMAND_EX(ID_LIB_OPEN_PICTURE, OnLibCommand)
    ON_UPDATE_COMMAND_UI(ID_LIB_OPEN_PICTURE, OnUpdateLibCommand)
    ON_COMMAND_EX(ID_LIB_SELECTION_MENU, OnLibCommand)
    ON_UPDATE_COMMAND_UI(ID_LIB_SELECTION_MENU, OnUpdateLibCommand)
    ON_COMMAND_EX(ID_LIB_PARENT_FOLDER, OnLibCommand)
    ON_UPDATE_COMMAND_UI(ID_LIB_PARENT_FOLDER, OnUpdateLibCommand)
    ON_COMMAND_EX(ID_LIB_ADD_UNCOMPRESSED, OnLibCommand)
    ON_UPDATE_COMMAND_UI(ID_LIB_ADD_UNCOMPRESSED, OnUpdateLibCommand)
    ON_COMMAND_EX(ID_LIB_ADD_JPEG, OnLibCommand)
    ON_UPDATE_COMMAND_UI(ID_LIB_ADD_JPEG, OnUpdateLibCommand)
    ON_COMMAND_EX(ID_LIB_ADD_PNG, OnLibCommand)
    ON_UPDATE_COMMAND_UI(ID_LIB_ADD_PNG, OnUpdateLibCommand)
    ON_COMMAND_EX(ID_LIB_RENAME, OnLibCommand)
    ON_UPDATE_COMMAND_UI(ID_LIB_RENAME, OnUpdateLibCommand)
    ON_COMMAND_EX(ID_LIB_RECOVER, OnLibCommand)
    ON_UPDATE_COMMAND_UI(ID_LIB_RECOVER, OnUpdateLibCommand)
    ON_COMMAND_EX(ID_LIB_EMPTY_DELETED, OnLibCommand)
    ON_UPDATE_COMMAND_UI(ID_LIB_EMPTY_DELETED, OnUpdateLibCommand)
    ON_COMMAND_EX(ID_LIB_ERASE, OnLibCommand)
    ON_UPDATE_COMMAND_UI(ID_LIB_ERASE, OnUpdateLibCommand)
    ON_COMMAND_EX(ID_LIB_REFRESH, OnLibCommand)
    ON_UPDATE_COMMAND_UI(ID_LIB_REFRESH, OnUpdateLibCommand)
    ON_COMMAND_EX(ID_LIB_OPEN_FOLDER, OnLibCommand)
    ON_UPDATE_COMMAND_UI(ID_LIB_OPEN_FOLDER, OnUpdateLibCommand)
    ON_COMMAND_EX(ID_LIB_OPEN_FULLSCREEN, OnLibCommand)
    ON_UPDATE_COMMAND_UI(ID_LIB_OPEN_FULLSCREEN, OnUpdateLibCommand)
    ON_COMMAND_EX(ID_LIB_AUTO_FULLSCREEN, OnLibCommand)
    ON_UPDATE_COMMAND_UI(ID_LIB_AUTO_FULLSCREEN, OnUpdateLibCommand)
    ON_COMMAND_EX(ID_LIB_SLIDESHOW, OnLibCommand)
    ON_UPDATE_COMMAND_UI(ID_LIB_SLIDESHOW, OnUpdateLibCommand)
    ON_COMMAND_EX(ID_LIB_IMPORT, OnLibCommand)
    ON_UPDATE_COMMAND_UI(ID_LIB_IMPORT, OnUpdateLibCommand)
    ON_COMMAND_EX(ID_LIB_EXPORT, OnLibCommand)
    ON_UPDATE_COMMAND_UI(ID_LIB_EXPORT, OnUpdateLibCommand)
    ON_COMMAND_EX(ID_LIB_COPY, OnLibCommand)
    ON_UPDATE_COMMAND_UI(ID_LIB_COPY, OnUpdateLibCommand)
    ON_COMMAND_EX(ID_LIB_PRINT, OnLibCommand)
    ON_UPDATE_COMMAND_UI(ID_LIB_PRINT, OnUpdateLibCommand)
    ON_COMMAND_EX(ID_LIB_EDIT_PICTURE, OnLibCommand)
    ON_UPDATE_COMMAND_UI(ID_LIB_EDIT_PICTURE, OnUpdateLibCommand)
    ON_COMMAND_EX(ID_LIB_NEW_FOLDER, OnLibCommandUnchecked)
    ON_UPDATE_COMMAND_UI(ID_LIB_NEW_FOLDER, OnUpdateLibCommand)
    ON_COMMAND_EX(ID_LIB_DELETE, OnLibCommandUnchecked)
    ON_UPDATE_COMMAND_UI(ID_LIB_DELETE, OnUpdateLibCommand)
    ON_COMMAND_EX(ID_LIB_RESERVED1, OnLibCommandUnchecked)
    ON_UPDATE_COMMAND_UI(ID_LIB_RESERVED1, OnUpdateLibCommand)
    ON_COMMAND_EX(ID_LIB_RESERVED2, OnLibCommandUnchecked)
    ON_UPDATE_COMMAND_UI(ID_LIB_RESERVED2, OnUpdateLibCommand)
END_MESSAGE_MAP()

CMainFrame::CMainFrame()
{
    m_nStatusMode = -1;
    g_pMainFrame = this;
    g_pMainFrameHost = this;
}

CMainFrame::~CMainFrame()
{
    SetProgressSink(nullptr);
    delete m_pSlideShow;
    m_pSlideShow = nullptr;
    if (g_pLibraryBar == &m_wndLibraryBar)
        g_pLibraryBar = nullptr;
    if (g_pMainFrame == this)
        g_pMainFrame = nullptr;
    if (g_pMainFrameHost == this)
        g_pMainFrameHost = nullptr;
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    CTessarineApp* pApp = TessarineApp();
    if (pApp != nullptr && pApp->m_bClassRegistered)
        cs.lpszClass = pApp->m_strWindowClass;
    return CMDIFrameWnd::PreCreateWindow(cs);
}

BOOL CMainFrame::PreTranslateMessage(MSG* pMsg)
{
    // The enabled scanner source sees every message first.
    if (ProcessMessage(pMsg))
        return TRUE;
    return CMDIFrameWnd::PreTranslateMessage(pMsg);
}

void CMainFrame::RecalcLayout(BOOL bNotify)
{
    g_bArrangePending = TRUE;
    CMDIFrameWnd::RecalcLayout(bNotify);
}

void CMainFrame::OnUpdateFrameTitle(BOOL) { SetWindowText(m_strTitle); }

HWND CMainFrame::FindMDIClient()
{
    for (HWND hWnd = ::GetTopWindow(m_hWnd); hWnd != nullptr; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
        char szClass[100] = "";
        ::GetClassNameA(hWnd, szClass, sizeof(szClass));
        if (::lstrcmpiA(szClass, "MDIClient") == 0) {
            m_hWndMDIClientCache = hWnd;
            return hWnd;
        }
    }
    return nullptr;
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpcs)
{
    lpcs->cx = 700;
    lpcs->cy = 500;
    if (CMDIFrameWnd::OnCreate(lpcs) == -1)
        return -1;
    FindMDIClient();
    if (IsAvailable()) {
        SetParentWnd(this);
        OpenSourceManager();
    }

    // The cool bar takes the standard tool bar's place when it is there; until then the standard tool
    // bar shows.
    if (!m_wndToolBar.Create(this, kToolBarStyle, AFX_IDW_TOOLBAR)
        || !m_wndToolBar.LoadToolBar(IDR_MAINFRAME))
        return -1;
    m_wndToolBar.SetWindowText(AfxLoadText(IDS_TOOLBAR_STANDARD));
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    // The cool bar is made when the settings ask for it (or later, when the preferences do).
    if (g_UseCoolBar && !CreateCoolBar())
        return -1;

    if (!m_wndStatusBar.Create(this, kStatusBarStyle, AFX_IDW_STATUS_BAR))
        return -1;

    // Shown unless the saved bar state says otherwise.
    if (!m_wndLibraryBar.Create(this, kLibraryBarStyle | WS_VISIBLE, ID_LIBRARY_BAR))
        return -1;
    m_wndLibraryBar.SetWindowText(AfxLoadText(IDS_LIBRARY_BAR));
    g_pLibraryBar = &m_wndLibraryBar;
    m_wndLibraryBar.EnableDocking(CBRS_ALIGN_ANY);

    if (g_fontSmall.m_hObject != nullptr)
        m_wndStatusBar.SetFont(&g_fontSmall);

    m_nGaugePos = 0;
    m_bGaugeActive = FALSE;
    m_bmpGauge.LoadBitmap(MAKEINTRESOURCEA(IDB_GAUGE));
    m_bGaugeEnabled = TRUE;
    SetStatusMode(kStatusNoView);

    AfxEnableDocking(this, CBRS_ALIGN_ANY);
    AfxDockControlBar(this, &m_wndToolBar);
    AfxDockControlBar(this, &m_wndLibraryBar);
    AfxLoadBarState(this, "General");
    ShowToolBarInUse();

    // The one slide show of the program's life; without it the lists simply cannot start one.
    m_pSlideShow = new (std::nothrow) CSlideShowWnd;
    WatchClipboard(m_hWnd);
    m_nTimerId = SetTimer(kDispatchTimer, 50);
    SetProgressSink(this);
    return 0;
}

void CMainFrame::OnClose()
{
    // A search is running: it is stopped first, and the closing goes on once it has ended.
    if (m_dlgSearchProgress.IsSearching()) {
        m_bCloseAfterSearch = TRUE;
        m_dlgSearchProgress.StopWithoutAsking();
        return;
    }
    AfxSaveBarState(this, "General");
    CMDIFrameWnd::OnClose();
}

void CMainFrame::StopDispatchTimer()
{
    if (m_nTimerId != 0)
        KillTimer(m_nTimerId);
    m_nTimerId = 0;
}

void CMainFrame::OnDestroy()
{
    CloseSourceManager();
    UnloadSourceManager();
    m_wndCoolBar.SaveLayoutSettings();
    SaveWindowPlacement();
    StopDispatchTimer();
    SetProgressSink(nullptr);
    m_bGaugeEnabled = FALSE;
    CMDIFrameWnd::OnDestroy();
}

void CMainFrame::OnSize(UINT nType, int cx, int cy)
{
    CMDIFrameWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED) {
        RecalcLayout(TRUE);
        if (g_bAutoReorganize)
            OnWindowArrange();
    }
}

void CMainFrame::OnMove(int x, int y)
{
    CMDIFrameWnd::OnMove(x, y);
    if (g_bAutoReorganize)
        OnWindowArrange();
}

void CMainFrame::OnGetMinMaxInfo(MINMAXINFO* lpMMI)
{
    lpMMI->ptMinTrackSize.x = 200;
    lpMMI->ptMinTrackSize.y = 100;
    CMDIFrameWnd::OnGetMinMaxInfo(lpMMI);
}

// ---- palette ----

BOOL CMainFrame::IsSplashUp() const { return g_bSplashUp; }

void CMainFrame::OnPaletteChanged(CWnd* pFocusWnd)
{
    CMDIFrameWnd::OnPaletteChanged(pFocusWnd);
    CMDIChildWnd* pChild = MDIGetActive();
    if (pChild == nullptr)
        return;
    CView* pView = pChild->GetActiveView();
    SendMessageToDescendants(WM_PALETTEREALIZE, reinterpret_cast<WPARAM>(AfxSafeHwnd(pView)), 0, TRUE, FALSE);
}

BOOL CMainFrame::OnQueryNewPalette()
{
    CMDIChildWnd* pChild = MDIGetActive();
    if (pChild == nullptr)
        return FALSE;
    CView* pView = pChild->GetActiveView();
    if (pView == nullptr)
        return FALSE;
    pView->SendMessage(WM_PALETTEREALIZE, reinterpret_cast<WPARAM>(pView->m_hWnd), 0);
    return TRUE;
}

// ---- the command line of a second instance ----

LRESULT CMainFrame::OnOpenPathChar(WPARAM wParam, LPARAM)
{
    char ch = static_cast<char>(static_cast<int>(wParam));
    if (ch != '\0') {
        if (m_strHandOver.GetLength() < kHandOverMax)
            m_strHandOver += ch;
        return 0;
    }
    CString strPath = CommandLinePath(m_strHandOver);
    m_strHandOver.Empty();
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr)
        pApp->OpenDocumentFile(strPath);
    return 0;
}

// ---- commands ----

void CMainFrame::OnUpdateAlwaysEnabled(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }

void CMainFrame::OnAutoReorganize()
{
    g_bAutoReorganize = !g_bAutoReorganize;
    g_bArrangePending = g_bAutoReorganize;
}

void CMainFrame::OnUpdateAutoReorganize(CCmdUI* pCmdUI) { pCmdUI->SetCheck(g_bAutoReorganize ? 1 : 0); }

void CMainFrame::OnViewLibraryBar()
{
    BOOL bShow = (m_wndLibraryBar.GetStyle() & WS_VISIBLE) == 0;
    HWND hFocus = ::GetFocus();
    BOOL bHadKeys = hFocus == m_wndLibraryBar.m_hWnd || ::IsChild(m_wndLibraryBar.m_hWnd, hFocus);
    AfxShowControlBar(this, &m_wndLibraryBar, bShow, FALSE);
    // Shown over an empty desktop, the bar is where the user works: it keeps the keys.
    if (bShow && MDIGetActive() == nullptr) {
        m_wndLibraryBar.SetFocus();
        AfxKeysChosen();
    }
    // The keys leave a bar going out of sight: the window in front takes them, else the main window.
    if (!bShow && bHadKeys) {
        CMDIChildWnd* pActive = MDIGetActive();
        if (pActive != nullptr)
            pActive->SetFocus();
        else
            SetFocus();
    }
    if (g_bAutoReorganize)
        OnWindowArrange();
}

void CMainFrame::OnUpdateViewLibraryBar(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck((m_wndLibraryBar.GetStyle() & WS_VISIBLE) != 0 ? 1 : 0);
}

// Ctrl+F3: the status bar, whose id is the command's.
BOOL CMainFrame::OnViewBar(UINT nID)
{
    AfxOnBarCheck(this, nID);
    g_bArrangePending = TRUE;
    return TRUE;
}

void CMainFrame::OnUpdateViewBar(CCmdUI* pCmdUI) { AfxOnUpdateControlBarMenu(this, pCmdUI); }

void CMainFrame::OnUpdateInfoPane(CCmdUI* pCmdUI) { pCmdUI->Enable(MDIGetActive() != nullptr); }

void CMainFrame::OnHelpIndexCommand() { AfxGetApp()->OnHelpIndex(); }
void CMainFrame::OnHelpUsingCommand() { AfxGetApp()->OnHelpUsing(); }
void CMainFrame::OnContextHelpCommand() { AfxGetApp()->WinHelp(0, HELP_FINDER); }
void CMainFrame::OnDefaultHelpCommand() { AfxGetApp()->OnHelp(); }
