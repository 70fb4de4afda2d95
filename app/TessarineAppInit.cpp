// Start-up of the application object: the single-instance test and the command-line hand-over, the
// shared fonts, icons, cursors, palette and image list, the window class, the document templates and
// the main frame.
#include "app/TessarineApp.h"

#include "shell/AppMessages.h"
#include "shell/FileCause.h"
#include "app/MainFrame.h"
#include "app/MyCoolBar.h"
#include "explorer/ExplorerMDI.h"
#include "viewers/DibDocMDI.h"
#include "viewers/GifDocMDI.h"
#include "shell/Settings.h"
#include "app/SplashWnd.h"
#include "app/StartupWarnings.h"
#include "app/WelcomeDlg.h"
#include "core/BusyCursor.h"
#include "core/FileUtil.h"
#include "core/Palette.h"
#include "core/Progress.h"
#include "core/ReaderOptions.h"
#include "core/SystemUtil.h"
#include "explorer/ExplorerDoc.h"
#include "explorer/ExplorerView.h"
#include "explorer/PrintLibDoc.h"
#include "explorer/PrintLibView.h"
#include "explorer/SearchDoc.h"
#include "explorer/SearchView.h"
#include "formats/QuickTime.h"
#include "formats/Readers.h"
#include "framework/CmdUI.h"
#include "framework/CodePageText.h"
#include "framework/DocTemplate.h"
#include "framework/FrameworkTexts.h"
#include "resources/resource.h"
#include "viewers/DibDoc.h"
#include "viewers/DibView.h"
#include "viewers/SlideShowWnd.h"
#include "viewers/GifDoc.h"
#include "viewers/GifView.h"

#include <objbase.h>

#include <cstdlib>

BOOL g_bSplashUp = FALSE;
BOOL g_bNoFileOnCommandLine = TRUE;
BOOL g_bStartupDialogShown = FALSE;

namespace {

CTessarineApp* g_pTessarineApp = nullptr;
BOOL g_bCommonControlsReady = TRUE;

// The icons and the cursors, in the order they are loaded (and destroyed).
struct SharedIcon {
    UINT id;
    HICON* pHandle;
};
const SharedIcon kSharedIcons[] = {
    {IDI_PICTURE_UNREADABLE, &g_hIconUnreadable},
    {IDI_RESIZE_LEFTRIGHT, &g_hIconResizeLeftRight},
    {IDI_RESIZE_UPDOWN, &g_hIconResizeUpDown},
    {IDI_GENERIC_FILE, &g_hIconGenericFile},
};
struct SharedCursor {
    UINT id;
    HCURSOR* pHandle;
};
const SharedCursor kSharedCursors[] = {
    {IDCUR_APP_ARROW, &g_hCursorAppArrow},
    {IDCUR_DRAG_MOVE_ONE, &g_hCursorDragMoveOne},
    {IDCUR_DRAG_MOVE_MANY, &g_hCursorDragMoveMany},
    {IDCUR_DRAG_COPY_ONE, &g_hCursorDragCopyOne},
    {IDCUR_DRAG_COPY_MANY, &g_hCursorDragCopyMany},
    {IDCUR_DRAG_NO_DROP, &g_hCursorNoDrop},
    {IDCUR_PICTURE_POINT, &g_hCursorPicturePoint},
    {IDCUR_ZOOM, &g_hCursorZoom},
    {IDCUR_HAND, &g_hCursorHand},
    {IDCUR_BUSY, &g_hCursorBusy},
    {IDCUR_BUSY_ARROW, &g_hCursorBusyArrow},
};

void MakeFont(CFont& font, LPCSTR face, int points, int dpi, int weight)
{
    font.DeleteObject();
    font.CreateFont(-::MulDiv(points, dpi, 72), 0, 0, 0, weight, 0, 0, 0, 0, 0, 0, 0, 0, face);
}

} // namespace

CTessarineApp* TessarineApp() { return g_pTessarineApp; }

BEGIN_MESSAGE_MAP(CTessarineApp, CWinApp)
    ON_COMMAND(ID_FILE_NEW, OnFileNew)
    ON_UPDATE_COMMAND_UI(ID_FILE_NEW, OnUpdateFileNew)
    ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
    ON_COMMAND(ID_HELP, OnHelp)
    ON_COMMAND(ID_NEW_EXPLORER, NewExplorerWindow)
    ON_COMMAND(ID_FILE_PRINT_SETUP, OnFilePrintSetup)
    ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
END_MESSAGE_MAP()

CTessarineApp::CTessarineApp()
    : CWinApp(nullptr), m_strWindowClass("TessarineClass"), m_strCompanyKey("Orvanel")
{
    g_pTessarineApp = this;
    g_bCommonControlsReady = InitComCtl32();
    CreateFonts();
}

CTessarineApp::~CTessarineApp()
{
    DeleteFonts();
    if (g_pAppPalette == &m_palApp)
        g_pAppPalette = nullptr;
    if (g_pTessarineApp == this)
        g_pTessarineApp = nullptr;
}

void CTessarineApp::CreateFonts()
{
    HDC hdc = ::GetDC(nullptr);
    int dpi = hdc != nullptr ? ::GetDeviceCaps(hdc, LOGPIXELSY) : 96;
    if (hdc != nullptr)
        ::ReleaseDC(nullptr, hdc);
    MakeFont(g_fontSmall, "MS Sans Serif", 8, dpi, FW_NORMAL);
    MakeFont(g_fontSmallBold, "MS Sans Serif", 8, dpi, FW_BOLD);
    MakeFont(g_fontArial9Bold, "Arial", 9, dpi, FW_BOLD);
    MakeFont(g_fontArial14Bold, "Arial", 14, dpi, FW_BOLD);
    MakeFont(g_fontArial12Bold, "Arial", 12, dpi, FW_BOLD);
    MakeFont(g_fontArial16Bold, "Arial", 16, dpi, FW_BOLD);
    MakeFont(g_fontArial7, "Arial", 7, 96, FW_NORMAL);
}

void CTessarineApp::DeleteFonts()
{
    for (CFont* pFont : {&g_fontSmall, &g_fontSmallBold, &g_fontArial9Bold, &g_fontArial14Bold,
                         &g_fontArial12Bold, &g_fontArial16Bold, &g_fontArial7})
        pFont->DeleteObject();
}

// ---- the command line ----

CString CommandLinePath(LPCSTR rawCommandLine)
{
    CString strPath(rawCommandLine != nullptr ? rawCommandLine : "");
    strPath.TrimLeft();
    strPath.TrimRight();
    if (strPath.GetLength() >= 2 && strPath[0] == '"' && strPath[strPath.GetLength() - 1] == '"') {
        strPath = strPath.Mid(1, strPath.GetLength() - 2);
        strPath.TrimLeft();
        strPath.TrimRight();
    }
    return strPath;
}

BOOL HandOverCommandLine(HWND hWndTarget, LPCSTR rawCommandLine)
{
    LPCSTR p = rawCommandLine != nullptr ? rawCommandLine : "";
    BOOL bPosted = TRUE;
    for (;; p++) {
        // The byte as a signed char, widened: bytes of 0x80 and above arrive negative.
        int nChar = static_cast<signed char>(*p);
        if (!::PostMessageA(hWndTarget, WM_OPENPATHCHAR, static_cast<WPARAM>(nChar), 0))
            bPosted = FALSE;
        if (*p == '\0')
            break;
    }
    return bPosted;
}

CString CTessarineApp::CommandLineText() const
{
    if (m_lpWideCmdLine != nullptr)
        return AfxCodePageMarkedText(m_lpWideCmdLine);
    return CString(m_lpCmdLine != nullptr ? m_lpCmdLine : "");
}

HWND CTessarineApp::FindRunningInstance() const { return ::FindWindowA(m_strWindowClass, nullptr); }

// ---- start-up steps ----

BOOL CTessarineApp::RegisterWindowClass()
{
    WNDCLASSA wc = {};
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    wc.hCursor = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDCUR_APP_ARROW));
    wc.hbrBackground = nullptr;
    wc.lpszMenuName = nullptr;
    wc.lpszClassName = m_strWindowClass;
    if (!::RegisterClassA(&wc))
        return FALSE;
    m_bClassRegistered = TRUE;
    return TRUE;
}

void CTessarineApp::UnregisterWindowClass()
{
    if (m_bClassRegistered)
        ::UnregisterClassA(m_strWindowClass, AfxGetInstanceHandle());
    m_bClassRegistered = FALSE;
}

void CTessarineApp::SetSettingsKey()
{
    SetRegistryKey(m_strCompanyKey);
    // The profile is "Tessarine 3.0" (string 57), whatever the application's own name.
    CString strProfile = AfxLoadText(IDS_PROFILE_NAME);
    if (strProfile.IsEmpty())
        strProfile = "Tessarine 3.0";
    std::free(const_cast<LPSTR>(m_pszProfileName));
    m_pszProfileName = _strdup(strProfile);
}

void CTessarineApp::CreateSharedImageList()
{
    if (g_imlFileTypes.m_hImageList == nullptr)
        g_imlFileTypes.Create(IDB_FILETYPES, 16, 8, RGB(255, 0, 255));
}

void CTessarineApp::LoadSharedIcons()
{
    HINSTANCE hRes = AfxGetResourceHandle();
    for (const SharedIcon& icon : kSharedIcons) {
        if (*icon.pHandle == nullptr)
            *icon.pHandle = static_cast<HICON>(
                ::LoadImageA(hRes, MAKEINTRESOURCEA(icon.id), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    }
    for (const SharedCursor& cursor : kSharedCursors) {
        if (*cursor.pHandle == nullptr)
            *cursor.pHandle = static_cast<HCURSOR>(
                ::LoadImageA(hRes, MAKEINTRESOURCEA(cursor.id), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE));
    }
    SetAppCursorHandle(kAppCursorBusy, g_hCursorBusy);
    SetAppCursorHandle(kAppCursorAlternate, g_hCursorBusyArrow);
    SetFileTypeFallbackIcon(g_hIconGenericFile);
}

void CTessarineApp::FreeSharedIcons()
{
    // Nobody may hand out a handle about to go.
    SetAppCursorHandle(kAppCursorBusy, nullptr);
    SetAppCursorHandle(kAppCursorAlternate, nullptr);
    SetFileTypeFallbackIcon(nullptr);
    for (const SharedIcon& icon : kSharedIcons) {
        if (*icon.pHandle != nullptr)
            ::DestroyIcon(*icon.pHandle);
        *icon.pHandle = nullptr;
    }
    for (const SharedCursor& cursor : kSharedCursors) {
        if (*cursor.pHandle != nullptr)
            ::DestroyCursor(*cursor.pHandle);
        *cursor.pHandle = nullptr;
    }
}

void CTessarineApp::RegisterTemplates()
{
    // Their order is relied on: templates are taken by position.
    AddDocTemplate(new CMultiDocTemplate(IDR_EXPLORERTYPE, RUNTIME_CLASS(CExplorerDoc),
                                         RUNTIME_CLASS(CExplorerMDI), RUNTIME_CLASS(CExplorerView)));
    AddDocTemplate(new CMultiDocTemplate(IDR_DIBTYPE, RUNTIME_CLASS(CDibDoc), RUNTIME_CLASS(CDibDocMDI),
                                         RUNTIME_CLASS(CDibView)));
    AddDocTemplate(new CMultiDocTemplate(IDR_GIFTYPE, RUNTIME_CLASS(CGifDoc), RUNTIME_CLASS(CGifDocMDI),
                                         RUNTIME_CLASS(CGifView)));
    AddDocTemplate(new CMultiDocTemplate(IDR_PRINTLIBTYPE, RUNTIME_CLASS(CPrintLibDoc),
                                         RUNTIME_CLASS(COrvanelMDI), RUNTIME_CLASS(CPrintLibView)));
    AddDocTemplate(new CMultiDocTemplate(IDR_SEARCHTYPE, RUNTIME_CLASS(CSearchDoc), RUNTIME_CLASS(CSearchMDI),
                                         RUNTIME_CLASS(CSearchView)));
}

CDocTemplate* CTessarineApp::GetTemplate(int nPosition) const
{
    int n = 1;
    for (POSITION pos = GetFirstDocTemplatePosition(); pos != nullptr; n++) {
        CDocTemplate* pTemplate = GetNextDocTemplate(pos);
        if (n == nPosition)
            return pTemplate;
    }
    return nullptr;
}

BOOL CTessarineApp::CreateMainFrame()
{
    CMainFrame* pFrame = new CMainFrame;
    // A frame whose creation fails deletes itself with its window.
    if (!pFrame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE))
        return FALSE;
    m_pMainWnd = pFrame;
    return TRUE;
}

// ---- InitInstance ----

BOOL CTessarineApp::InitInstance()
{
    // A second start hands its command line to the running instance and ends, before it has read
    // (and so before it could ever write back) any setting.
    m_hWndOtherInstance = FindRunningInstance();
    if (m_hWndOtherInstance != nullptr) {
        if (::IsIconic(m_hWndOtherInstance))
            ::ShowWindow(m_hWndOtherInstance, SW_RESTORE);
        ::SetForegroundWindow(::GetLastActivePopup(m_hWndOtherInstance));
        // Marked, the path is refused by the instance in front, in its own window.
        HandOverCommandLine(m_hWndOtherInstance, CommandLineText());
        return FALSE;
    }

    IsQuickTimeAvailable();
    if (!RegisterWindowClass())
        return FALSE;
    // Early, so that an explorer window opened from the command line finds the shell ready.
    m_bComInitialized = SUCCEEDED(::CoInitialize(nullptr));
    SetSettingsKey();
    CreateSharedImageList();
    CreateFixedPalette(&m_palApp, kApplicationPaletteMode);
    g_pAppPalette = &m_palApp;
    InstallPictureReaders();
    SetFileCauseWords(FileCauseText);
    g_bReportProgress = TRUE;

    // The title picture while the program starts; without it the start goes on without a splash.
    {
        CReaderOptionsScope quiet(CurrentReaderOptions().WithProgress(FALSE));
        if (g_wndSplash.Create(nullptr, 529, 169)) {
            g_wndSplash.ShowWindow(SW_SHOW);
            g_wndSplash.UpdateWindow();
        }
    }

    InitModuleDir();
    Enable3dControlsStatic();
    LoadStdProfileSettings(4);
    LoadSettings(g_bCommonControlsReady != FALSE);
    LoadSharedIcons();
    RegisterTemplates();

    if (!CreateMainFrame()) {
        if (g_wndSplash.GetSafeHwnd() != nullptr)
            g_wndSplash.DestroyWindow();
        return FALSE;
    }
    g_bSplashUp = TRUE;
    CMainFrame* pFrame = static_cast<CMainFrame*>(m_pMainWnd);
    std::srand(::GetTickCount());
    pFrame->DragAcceptFiles();
    pFrame->FillRecentCombo();

    RestoreWindowPlacement();
    pFrame->UpdateWindow();

    g_bNoFileOnCommandLine = TRUE;
    g_bStartupDialogShown = FALSE;
    CString strPath = CommandLinePath(CommandLineText());
    if (!strPath.IsEmpty()) {
        g_bNoFileOnCommandLine = FALSE;
        OpenDocumentFile(strPath);
    } else if (g_ExplorerAuto) {
        NewExplorerWindow();
    }
    g_bArrangePending = TRUE;
    if (::IsWindow(pFrame->m_hWnd))
        pFrame->OnIdleUpdate();

    // The splash goes, then the checks of the machine and the welcome window, only for a start
    // without a file.
    TakeSplashDown();
    if (g_bNoFileOnCommandLine) {
        CheckComponents();
        CheckVga16();
        CheckAssociationsAtStartup();
    }
    if (g_bStartupDialogShown && g_bNoFileOnCommandLine)
        ShowWelcomeAtStartup();
    if (g_bSplashUp) {
        g_bSplashUp = FALSE;
        if (g_wndSplash.GetSafeHwnd() != nullptr)
            g_wndSplash.DestroyWindow();
        if (g_pMainFrame != nullptr)
            g_pMainFrame->InvalidateAllViews();
    }
    return TRUE;
}

BOOL CTessarineApp::IsIdleMessage(MSG* pMsg)
{
    if (pMsg->message == WM_TIMER && pMsg->hwnd != nullptr) {
        if (pMsg->hwnd == CMyCoolBar::GetLogoButton())
            return FALSE;
        // The bars follow input at once; what the dispatcher's background work changes, they show
        // within half a second, not after each of its twenty ticks a second.
        if (pMsg->hwnd == AfxSafeHwnd(m_pMainWnd) && ::GetTickCount() - m_dwLastIdleStart < kTickIdleSpacing)
            return FALSE;
    }
    if (!CWinApp::IsIdleMessage(pMsg))
        return FALSE;
    m_dwLastIdleStart = ::GetTickCount();
    return TRUE;
}

BOOL CTessarineApp::PreTranslateMessage(MSG* pMsg)
{
    if (g_bSplashUp) {
        switch (pMsg->message) {
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_CHAR:
        case WM_COMMAND:
        case WM_MENUSELECT:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            g_bSplashUp = FALSE;
            if (g_wndSplash.GetSafeHwnd() != nullptr)
                g_wndSplash.DestroyWindow();
            if (g_pMainFrame != nullptr)
                g_pMainFrame->InvalidateAllViews();
            break;
        default:
            break;
        }
    }
    // Keys typed at a slide show as it goes are not the window's under it.
    CSlideShowWnd* pShow = g_pMainFrame != nullptr ? g_pMainFrame->GetSlideShow() : nullptr;
    if (pShow != nullptr && pShow->TakesKeyTypedAtItsEnd(pMsg))
        return TRUE;
    // Releasing Alt alone opens the menu bar. After Alt+F5 and the like, which the keyboard table
    // takes, the key was a chord: its release is kept from the window.
    static BOOL s_bAltChordTaken = FALSE;
    BOOL bAltKey = pMsg->wParam == VK_MENU || pMsg->wParam == VK_LMENU || pMsg->wParam == VK_RMENU;
    if (pMsg->message == WM_SYSKEYDOWN && bAltKey)
        s_bAltChordTaken = FALSE;
    // Alt comes up as WM_KEYUP when it is released before the other key.
    if ((pMsg->message == WM_SYSKEYUP || pMsg->message == WM_KEYUP) && bAltKey && s_bAltChordTaken) {
        s_bAltChordTaken = FALSE;
        return TRUE;
    }
    BOOL bTaken = CWinApp::PreTranslateMessage(pMsg);
    if (bTaken && pMsg->message == WM_SYSKEYDOWN)
        s_bAltChordTaken = TRUE;
    return bTaken;
}

void CTessarineApp::OnUpdateFileNew(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }

void CTessarineApp::WinHelp(DWORD_PTR, UINT) { CWinApp::WinHelp(0, HELP_FINDER); }
