// What the user meets around the windows: "Quitter" and Alt+F4, the window list under "Fenêtre", an Alt
// chord that leaves the menu bar alone, the welcome command that keeps the setting, dialogs centred on
// the main window, sentences and status texts that fit the font Wine draws them with, the cool bar's
// button texts and its saved width, the caption after Save As, the captioned file error box, and the
// open dialog's focus, place and preview.
#include "tests/app/AppFixture.h"
#include "tests/app/RealInput.h"
#include "tests/support/FocusRecorder.h"
#include "tests/support/PaintedPixels.h"
#include "tests/support/ShownDialogs.h"

#include "app/Favorites.h"
#include "app/MyCoolBar.h"
#include "shell/OpenDialog.h"
#include "shell/Settings.h"
#include "app/StartupWarnings.h"
#include "app/StatusBarEx.h"
#include "core/FileUtil.h"
#include "framework/Document.h"
#include "framework/MDIChildWnd.h"
#include "framework/TestSeams.h"
#include "framework/WinApp.h"
#include "resources/resource.h"
#include "shell/AppMessages.h"
#include "viewers/DibView.h"

#include <commctrl.h>
#include <dlgs.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The top-level pop-up of the main menu whose text is that, or null.
HMENU MenuBarPopup(CWnd* pFrame, const char* text)
{
    HMENU hBar = ::GetMenu(pFrame->m_hWnd);
    for (int i = 0; i < ::GetMenuItemCount(hBar); i++) {
        char item[64] = "";
        ::GetMenuStringA(hBar, static_cast<UINT>(i), item, sizeof(item), MF_BYPOSITION);
        if (std::string(item) == text)
            return ::GetSubMenu(hBar, i);
    }
    return nullptr;
}

// The texts of a pop-up's window entries (the ids the system gives the list of MDI children).
std::vector<std::string> WindowEntries(HMENU hPopup)
{
    std::vector<std::string> entries;
    for (int i = 0; i < ::GetMenuItemCount(hPopup); i++) {
        UINT id = ::GetMenuItemID(hPopup, i);
        if (id != static_cast<UINT>(-1) && id >= AFX_IDM_FIRST_MDICHILD) {
            char text[256] = "";
            ::GetMenuStringA(hPopup, static_cast<UINT>(i), text, sizeof(text), MF_BYPOSITION);
            entries.push_back(text);
        }
    }
    return entries;
}

MSG KeyMessage(HWND hWnd, UINT message, WPARAM key, LPARAM flags)
{
    MSG msg = {};
    msg.hwnd = hWnd;
    msg.message = message;
    msg.wParam = key;
    msg.lParam = flags;
    return msg;
}

CPoint CentreOf(const RECT& rect)
{
    return CPoint((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

// A step that notes where the dialog stands, then one that closes it.
std::vector<AfxModalStep> NoteAndClose(RECT* pRect, int closeId = IDCANCEL)
{
    AfxModalStep look;
    look.buttonId = 0;
    look.check = [pRect](CWnd* pDlg) { ::GetWindowRect(pDlg->GetSafeHwnd(), pRect); };
    AfxModalStep close;
    close.buttonId = closeId;
    return {look, close};
}

// The height the text of a static control needs at its width, with its font.
int NeededHeight(HWND hText)
{
    char text[1024] = "";
    ::GetWindowTextA(hText, text, sizeof(text));
    RECT rect;
    ::GetClientRect(hText, &rect);
    HDC hdc = ::GetDC(hText);
    HGDIOBJ hOld = ::SelectObject(hdc, reinterpret_cast<HGDIOBJ>(::SendMessageA(hText, WM_GETFONT, 0, 0)));
    RECT calc = {0, 0, rect.right, 0};
    ::DrawTextA(hdc, text, -1, &calc, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_EDITCONTROL);
    ::SelectObject(hdc, hOld);
    ::ReleaseDC(hText, hdc);
    return calc.bottom;
}

int TextWidth(HWND hWnd, HGDIOBJ hFont, const char* text)
{
    HDC hdc = ::GetDC(hWnd);
    HGDIOBJ hOld = ::SelectObject(hdc, hFont != nullptr ? hFont : ::GetStockObject(DEFAULT_GUI_FONT));
    SIZE size = {0, 0};
    ::GetTextExtentPoint32A(hdc, text, lstrlenA(text), &size);
    ::SelectObject(hdc, hOld);
    ::ReleaseDC(hWnd, hdc);
    return size.cx;
}

class MenusTest : public AppTest {
protected:
    // A main window that is not centred on the screen, so that centring on it shows.
    void StartPlaced()
    {
        ASSERT_TRUE(Start());
        m_pFrame->ShowWindow(SW_RESTORE);
        m_pFrame->SetWindowPos(nullptr, 40, 30, 900, 640, SWP_NOZORDER);
        Pump();
    }
    void ExpectCentredOnFrame(const RECT& dialog, const char* what)
    {
        RECT frame;
        m_pFrame->GetWindowRect(&frame);
        CPoint c = CentreOf(dialog);
        CPoint f = CentreOf(frame);
        EXPECT_LE(std::abs(c.x - f.x), 1) << what;
        EXPECT_LE(std::abs(c.y - f.y), 1) << what;
    }
};

} // namespace

TEST_F(MenusTest, QuitIsOfferedAndClosesTheProgram)
{
    ASSERT_TRUE(Start());
    HMENU hFile = MenuBarPopup(m_pFrame, "&Fichier");
    ASSERT_NE(hFile, nullptr);
    m_pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hFile), 0);
    EXPECT_EQ(::GetMenuState(hFile, ID_APP_EXIT, MF_BYCOMMAND) & MF_GRAYED, 0u);
    HWND hFrame = m_pFrame->m_hWnd;
    m_pFrame->SendMessage(WM_COMMAND, ID_APP_EXIT, 0);
    Pump();
    EXPECT_FALSE(::IsWindow(hFrame));
}

// Alt+F4 typed on the keyboard closes the program whichever window is active, an explorer's too, as
// the frame's system menu does.
TEST_F(MenusTest, AltF4OnRealKeysClosesTheProgramFromAnExplorer)
{
    ASSERT_TRUE(Start());
    ::SetForegroundWindow(m_pFrame->m_hWnd);
    const std::string folder = m_temp.File("dossier");
    ::CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_NE(m_pApp->OpenDocumentFile(folder.c_str()), nullptr);
    Pump();
    // The keys are in the explorer: its folder tree has them once it opens.
    CWnd* pFocus = CWnd::GetFocus();
    ASSERT_TRUE(pFocus != nullptr && m_pFrame->MDIGetActive()->IsChild(pFocus));
    HWND hFrame = m_pFrame->m_hWnd;
    RealChord(VK_MENU, VK_F4);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(hFrame); }));
}

TEST_F(MenusTest, OpenWindowsAreListedUnderTheWindowMenuOnly)
{
    PutSetting("prefs", "UseCoolBar", 1);
    PutSetting("prefs", "ShowRecents", 1);
    const std::string folder = m_temp.File("bad");
    ::CreateDirectoryA(folder.c_str(), nullptr);
    PutSettingText("CoolBarList", "1", folder);
    ASSERT_TRUE(Start());
    m_pApp->OpenDocumentFile(WriteBmp("premiere.bmp").c_str());
    m_pApp->OpenDocumentFile(WriteBmp("seconde.bmp").c_str());
    Pump();
    HMENU hWindow = MenuBarPopup(m_pFrame, "Fe&n\xEAtre");
    ASSERT_NE(hWindow, nullptr);
    std::vector<std::string> entries = WindowEntries(hWindow);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_NE(entries[0].find("PREMIERE.BMP"), std::string::npos) << entries[0];
    EXPECT_NE(entries[1].find("SECONDE.BMP"), std::string::npos) << entries[1];
    HMENU hHelp = MenuBarPopup(m_pFrame, "&?");
    ASSERT_NE(hHelp, nullptr);
    EXPECT_TRUE(WindowEntries(hHelp).empty());

    // An explorer opened from the recents box, then one by the path re-cased, each listed under the
    // title its first step gives it.
    HWND hCombo = CMyCoolBar::GetRecentCombo();
    ASSERT_NE(hCombo, nullptr);
    HWND hInner = reinterpret_cast<HWND>(::SendMessageA(hCombo, CBEM_GETCOMBOCONTROL, 0, 0));
    int entry = 0;
    while (entry < g_RecentList.GetSize() && g_RecentList[entry] != folder.c_str())
        entry++;
    ::SendMessageA(hCombo, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
    ::SendMessageA(hCombo, WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE), reinterpret_cast<LPARAM>(hInner));
    Pump();
    ::CreateDirectoryA(m_temp.File("autre").c_str(), nullptr);
    const struct {
        std::string path; // empty: opened above
        const char* title;
    } explorers[] = {{"", "Explorateur - bad"}, {m_temp.File("AUTRE"), "Explorateur - autre"}};
    for (const auto& e : explorers) {
        if (!e.path.empty()) {
            ASSERT_NE(m_pApp->OpenDocumentFile(e.path.c_str()), nullptr);
        }
        m_pFrame->MDIGetActive()->GetActiveView()->SendMessage(WM_VIEWIDLE);
        Pump();
        entries = WindowEntries(MenuBarPopup(m_pFrame, "Fe&n\xEAtre"));
        ASSERT_EQ(entries.size(), e.path.empty() ? 3u : 4u);
        EXPECT_NE(entries.back().find(e.title), std::string::npos) << entries.back();
    }
}

TEST_F(MenusTest, AnAltChordTakenByTheKeyboardTableLeavesTheMenuBarAlone)
{
    ASSERT_TRUE(Start());
    ASSERT_NE(m_pApp->OpenDocumentFile(WriteBmp("accord.bmp").c_str()), nullptr);
    CDibView* pView = static_cast<CDibView*>(m_pFrame->MDIGetActive()->GetActiveView());
    ASSERT_EQ(pView->GetMode(), kDibModeToScale);
    HWND hView = pView->m_hWnd;
    BYTE keys[256] = {};
    ASSERT_TRUE(::GetKeyboardState(keys));
    BYTE held[256];
    std::copy(keys, keys + 256, held);
    held[VK_MENU] = 0x80;

    // Alt down, F6 (taken: proportional display), Alt up: the release is kept from the window.
    ::SetKeyboardState(held);
    MSG altDown = KeyMessage(hView, WM_SYSKEYDOWN, VK_MENU, 0x20380001);
    MSG f6 = KeyMessage(hView, WM_SYSKEYDOWN, VK_F6, 0x20400001);
    EXPECT_FALSE(m_pApp->PreTranslateMessage(&altDown));
    EXPECT_TRUE(m_pApp->PreTranslateMessage(&f6));
    ::SetKeyboardState(keys);
    EXPECT_EQ(pView->GetMode(), kDibModeProportional);
    MSG altUp = KeyMessage(hView, WM_KEYUP, VK_MENU, static_cast<LPARAM>(0xC0380001));
    EXPECT_TRUE(m_pApp->PreTranslateMessage(&altUp));

    // Alt alone still reaches the window, which opens the menu bar.
    ::SetKeyboardState(held);
    EXPECT_FALSE(m_pApp->PreTranslateMessage(&altDown));
    ::SetKeyboardState(keys);
    MSG altUpAlone = KeyMessage(hView, WM_SYSKEYUP, VK_MENU, static_cast<LPARAM>(0xC0380001));
    EXPECT_FALSE(m_pApp->PreTranslateMessage(&altUpAlone));
}

TEST_F(MenusTest, TheWelcomeCommandPutsTheRememberedSettingBack)
{
    ASSERT_TRUE(Start());
    g_ShowWelcome = 1;
    AfxScriptNextModal(IDD_WELCOME, {{IDC_WELCOME_SHOW_AT_START, "0"}}, IDOK);
    m_pFrame->SendMessage(WM_COMMAND, ID_HELP_WELCOME, 0);
    ASSERT_EQ(AfxTestRecords().modals.size(), 1u);
    EXPECT_EQ(g_ShowWelcome, 1);
}

TEST_F(MenusTest, DialogsWithoutAPlaceOpenCentredOnTheMainWindow)
{
    StartPlaced();
    g_FavoriteList.RemoveAll();
    RECT rect = {};

    AfxScriptModal(IDS_PREFERENCES_CAPTION, NoteAndClose(&rect));
    m_pFrame->SendMessage(WM_COMMAND, ID_PREFERENCES, 0);
    ExpectCentredOnFrame(rect, "Pr\xE9"
                               "f\xE9rences");

    m_pApp->OpenDocumentFile(WriteBmp("centre.bmp").c_str());
    AfxScriptModal(IDD_ADD_FAVORITE, NoteAndClose(&rect));
    m_pFrame->SendMessage(WM_COMMAND, ID_FAVORITES_ADD, 0);
    ExpectCentredOnFrame(rect, "Ajouter aux favoris");

    AddFavorite("centre", "C:\\centre.bmp");
    RECT rename = {};
    AfxModalStep look;
    look.buttonId = 0;
    look.check = [&rect](CWnd* pDlg) { ::GetWindowRect(pDlg->GetSafeHwnd(), &rect); };
    AfxModalStep open;
    open.buttonId = IDC_FAVORITE_RENAME;
    AfxModalStep cancel;
    cancel.buttonId = IDCANCEL;
    AfxScriptModal(IDD_EDIT_FAVORITES, {look, open, cancel});
    AfxScriptModal(IDD_RENAME_FAVORITE, NoteAndClose(&rename));
    m_pFrame->SendMessage(WM_COMMAND, ID_FAVORITES_EDIT, 0);
    ExpectCentredOnFrame(rect, "Modifier les favoris");
    ExpectCentredOnFrame(rename, "Renommer un raccourci");
    g_FavoriteList.RemoveAll();

    RECT types = {};
    AfxModalStep detail;
    detail.buttonId = IDC_ASSOC_DETAIL;
    look.check = [&rect](CWnd* pDlg) { ::GetWindowRect(pDlg->GetSafeHwnd(), &rect); };
    AfxModalStep close;
    close.buttonId = IDC_ASSOC_CLOSE;
    AfxScriptModal(IDD_ASSOC_WARNING, {look, detail, close});
    AfxScriptModal(IDD_DOC_TYPES, NoteAndClose(&types));
    CAssocWarnDlg warning;
    warning.DoModal();
    ExpectCentredOnFrame(rect, "Avertissement des associations");
    ExpectCentredOnFrame(types, "Types de documents");
}

TEST_F(MenusTest, TheRenameSentenceShowsEveryLine)
{
    StartPlaced();
    g_FavoriteList.RemoveAll();
    AddFavorite("Vacances", "C:\\Images\\Vacances d'\xE9t\xE9 \xE0 la mer avec toute la famille.jpg");
    int needed = 0;
    int height = 0;
    RECT dialog = {};
    RECT name = {};
    AfxModalStep look;
    look.buttonId = 0;
    look.check = [&](CWnd* pDlg) {
        HWND hText = ::GetDlgItem(pDlg->GetSafeHwnd(), IDC_FAVORITE_TEXT);
        RECT rect;
        ::GetClientRect(hText, &rect);
        height = rect.bottom;
        needed = NeededHeight(hText);
        ::GetWindowRect(pDlg->GetSafeHwnd(), &dialog);
        ::GetWindowRect(::GetDlgItem(pDlg->GetSafeHwnd(), IDC_FAVORITE_NAME), &name);
        RECT text;
        ::GetWindowRect(hText, &text);
        EXPECT_GE(name.top, text.bottom) << "the name field moved below the sentence";
    };
    AfxModalStep cancel;
    cancel.buttonId = IDCANCEL;
    AfxModalStep open;
    open.buttonId = IDC_FAVORITE_RENAME;
    AfxModalStep close;
    close.buttonId = IDCANCEL;
    AfxScriptModal(IDD_EDIT_FAVORITES, {open, close});
    AfxScriptModal(IDD_RENAME_FAVORITE, {look, cancel});
    m_pFrame->SendMessage(WM_COMMAND, ID_FAVORITES_EDIT, 0);
    EXPECT_GT(needed, 0);
    EXPECT_GE(height, needed) << "the sentence loses its last lines";
    EXPECT_LE(name.bottom, dialog.bottom) << "the dialog grew with its sentence";
    g_FavoriteList.RemoveAll();
}

TEST_F(MenusTest, ThePictureStatusFitsItsPane)
{
    ASSERT_TRUE(Start());
    m_pFrame->SetStatusMode(kStatusPicture);
    CStatusBarEx* pBar = m_pFrame->GetStatusBar();
    const char* text = "12000 x 9000 - 16,8M couleurs - Zoom 5000 %";
    m_pFrame->SetStatusText1(text);
    HGDIOBJ hFont = reinterpret_cast<HGDIOBJ>(pBar->SendMessage(WM_GETFONT));
    UINT nID = 0;
    UINT nStyle = 0;
    int cxWidth = 0;
    pBar->GetPaneInfo(1, nID, nStyle, cxWidth);
    EXPECT_GE(cxWidth, TextWidth(pBar->m_hWnd, hFont, text));
    // A new layout starts again from its own widths.
    m_pFrame->SetStatusMode(kStatusNoView);
    m_pFrame->SetStatusMode(kStatusPicture);
    pBar->GetPaneInfo(1, nID, nStyle, cxWidth);
    EXPECT_EQ(cxWidth, 220);
}

TEST_F(MenusTest, CoolBarButtonsShowTheirWholeTexts)
{
    PutSetting("prefs", "UseCoolBar", 1);
    PutSetting("prefs", "CoolBarText", 1);
    ASSERT_TRUE(Start());
    HWND hTools = CMyCoolBar::GetToolBand();
    ASSERT_NE(hTools, nullptr);
    HGDIOBJ hFont = reinterpret_cast<HGDIOBJ>(::SendMessageA(hTools, WM_GETFONT, 0, 0));
    DWORD padding = static_cast<DWORD>(::SendMessageA(hTools, TB_GETPADDING, 0, 0));
    int nButtons = static_cast<int>(::SendMessageA(hTools, TB_BUTTONCOUNT, 0, 0));
    int nChecked = 0;
    for (int i = 0; i < nButtons; i++) {
        TBBUTTON button = {};
        ::SendMessageA(hTools, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button));
        if (button.fsStyle & BTNS_SEP)
            continue;
        char text[64] = "";
        ::SendMessageA(hTools, TB_GETBUTTONTEXTA, static_cast<WPARAM>(button.idCommand),
                       reinterpret_cast<LPARAM>(text));
        RECT rect;
        ::SendMessageA(hTools, TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rect));
        EXPECT_GE(rect.right - rect.left, TextWidth(hTools, hFont, text) + LOWORD(padding)) << text;
        nChecked++;
    }
    EXPECT_EQ(nChecked, 10);
}

TEST_F(MenusTest, TheCoolBarSavesTheWidthItShowsAndNeverOneThatHidesItsBand)
{
    PutSetting("prefs", "UseCoolBar", 1);
    PutSetting("prefs", "CoolBarRawCount", 1);
    PutSetting("prefs", "CoolBarBandCX", 0);
    ASSERT_TRUE(Start());
    m_pFrame->ShowWindow(SW_RESTORE);
    m_pFrame->SetWindowPos(nullptr, 0, 0, 900, 600, SWP_NOZORDER);
    Pump();
    RECT band = {};
    ASSERT_TRUE(m_pFrame->GetCoolBar()->SendMessage(RB_GETRECT, 0, reinterpret_cast<LPARAM>(&band)));
    EXPECT_GE(band.right - band.left, 110) << "a stored width of 0 is not used";
    m_pFrame->GetCoolBar()->SaveLayoutSettings();
    EXPECT_EQ(g_CoolBarBandCX, band.right - band.left);
}

TEST_F(MenusTest, TheCaptionNamesTheDocumentAfterSaveAs)
{
    ASSERT_TRUE(Start());
    m_pFrame->ShowWindow(SW_SHOWNORMAL);
    m_pApp->OpenDocumentFile(WriteBmp("avant.bmp").c_str());
    Pump();
    m_pFrame->PaintCaption(TRUE);
    EXPECT_NE(m_pFrame->GetCaptionPainter().m_strCachedTitles.Find("AVANT"), -1)
        << static_cast<LPCSTR>(m_pFrame->GetCaptionPainter().m_strCachedTitles);
    AfxCommonDialogAnswer answer;
    answer.ok = true;
    answer.path = m_temp.File("apres.bmp");
    AfxScriptCommonDialog(AfxCommonDialogKind::Save, answer);
    m_pFrame->MDIGetActive()->GetActiveView()->SendMessage(WM_COMMAND, ID_FILE_SAVE_AS, 0);
    Pump();
    ASSERT_EQ(std::string(ActiveDocument()->GetPathName()), m_temp.File("apres.bmp"));
    EXPECT_NE(m_pFrame->GetCaptionPainter().m_strCachedTitles.Find("APRES"), -1)
        << static_cast<LPCSTR>(m_pFrame->GetCaptionPainter().m_strCachedTitles);
}

namespace {

// The caption of the first message box of this thread, which is then aborted.
std::string g_boxCaption;
SIZE g_boxSize;

BOOL CALLBACK FindDialogWindow(HWND hWnd, LPARAM lParam)
{
    char name[16] = "";
    ::GetClassNameA(hWnd, name, sizeof(name));
    if (std::string(name) != "#32770")
        return TRUE;
    *reinterpret_cast<HWND*>(lParam) = hWnd;
    return FALSE;
}

VOID CALLBACK ReadBoxAndAbort(HWND, UINT, UINT_PTR idEvent, DWORD)
{
    HWND hBox = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindDialogWindow, reinterpret_cast<LPARAM>(&hBox));
    if (hBox == nullptr)
        return;
    char caption[128] = "";
    ::GetWindowTextA(hBox, caption, sizeof(caption));
    g_boxCaption = caption;
    RECT rect;
    ::GetWindowRect(hBox, &rect);
    g_boxSize = {rect.right - rect.left, rect.bottom - rect.top};
    ::KillTimer(nullptr, idEvent);
    ::PostMessageA(hBox, WM_COMMAND, IDABORT, 0);
}

// The window of the open dialog that took the focus last, read once the dialog is up; then the
// dialog is cancelled. Followed through WM_SETFOCUS, so that another program's window coming to
// the front meanwhile does not matter.
int g_focusId = -1;
RECT g_openRect = {};
HWND g_hOpenHook = nullptr;
FocusRecorder* g_pFocus = nullptr;

UINT_PTR CALLBACK RecordingHook(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        g_hOpenHook = hDlg;
    return OpenPreviewHook(hDlg, message, wParam, lParam);
}

VOID CALLBACK ReadFocusAndCancel(HWND, UINT, UINT_PTR idEvent, DWORD)
{
    if (g_hOpenHook == nullptr)
        return;
    HWND hDialog = ::GetParent(g_hOpenHook);
    HWND hFocus = g_pFocus != nullptr ? g_pFocus->Last() : nullptr;
    // The name box is a combo box whose edit takes the focus, or an edit of its own.
    if (hFocus != nullptr && ::GetParent(hFocus) != hDialog && ::GetParent(hFocus) != g_hOpenHook)
        hFocus = ::GetParent(hFocus);
    g_focusId = hFocus != nullptr ? ::GetDlgCtrlID(hFocus) : 0;
    ::GetWindowRect(hDialog, &g_openRect);
    ::KillTimer(nullptr, idEvent);
    ::PostMessageA(hDialog, WM_COMMAND, IDCANCEL, 0);
}

} // namespace

// The box also fits a screen of 1,024 by 768 when it names a long path.
TEST_F(MenusTest, TheFileErrorBoxCarriesTheProgramsName)
{
    ASSERT_TRUE(Start());
    AfxTestReset(); // the real box
    ASSERT_NE(std::string(AfxGetAppName()), "");
    g_boxCaption = "<none>";
    UINT_PTR timer = ::SetTimer(nullptr, 0, 50, ReadBoxAndAbort);
    int answer = AskFileErrorRetry(55149, ("C:\\DOSSIER\\" + std::string(230, 'X') + "\\IMAGE.JPG").c_str(),
                                   ERROR_DISK_FULL);
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(answer, IDABORT);
    EXPECT_EQ(g_boxCaption, AfxGetAppName());
    EXPECT_LE(g_boxSize.cx, 1024);
    EXPECT_LE(g_boxSize.cy, 768);
}

// Placed once the preview has widened it: centred on the screen's work area, and whole.
TEST(OpenDialog, StartsCentredOnTheScreenWithTheFocusInTheFileName)
{
    ASSERT_FALSE(AfxTestArmed());
    char file[MAX_PATH * 4] = "";
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof(file);
    ofn.lpstrFilter = "Images\0*.bmp\0\0";
    ofn.hInstance = ::GetModuleHandleA(nullptr);
    ofn.lpTemplateName = MAKEINTRESOURCEA(IDD_OPEN_PREVIEW);
    ofn.lpfnHook = RecordingHook;
    ofn.Flags = OFN_EXPLORER | OFN_ENABLETEMPLATE | OFN_ENABLEHOOK | OFN_HIDEREADONLY | OFN_FILEMUSTEXIST;
    g_hOpenHook = nullptr;
    g_focusId = -1;
    FocusRecorder focus;
    g_pFocus = &focus;
    UINT_PTR timer = ::SetTimer(nullptr, 0, 500, ReadFocusAndCancel);
    ::GetOpenFileNameA(&ofn);
    ::KillTimer(nullptr, timer);
    g_pFocus = nullptr;
    EXPECT_TRUE(g_focusId == cmb13 || g_focusId == edt1) << "focus on control " << g_focusId;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    ASSERT_TRUE(::GetMonitorInfoA(::MonitorFromWindow(nullptr, MONITOR_DEFAULTTOPRIMARY), &monitor));
    EXPECT_LE(std::abs(CentreOf(g_openRect).x - CentreOf(monitor.rcWork).x), 1) << g_openRect.left;
    EXPECT_LE(std::abs(CentreOf(g_openRect).y - CentreOf(monitor.rcWork).y), 1) << g_openRect.top;
    RECT inside;
    ::IntersectRect(&inside, &g_openRect, &monitor.rcWork);
    EXPECT_TRUE(::EqualRect(&inside, &g_openRect));
}

namespace {

// Takes the open dialog to the folder (it may open on the last one used), then into the sub-folder
// `enter` of its list (opened from the list: a name typed would be refused), clicks each name of its list
// in turn and notes the colour the middle of its preview then settles on (the first unlike the one at
// the click, or the one still there after ten seconds, which a loaded machine may take); opens the
// last with Enter and notes the message it meets; Cancel then, or after a minute.
struct PreviewDriver {
    std::wstring folder;
    std::wstring enter;
    std::vector<std::wstring> names;
    std::vector<COLORREF> seen;
    bool bOpened = false;
    std::string said;
    bool bWaiting = false;
    DWORD clickedAt = 0;
    COLORREF atClick = CLR_INVALID;
    DWORD startedAt = ::GetTickCount();
};
PreviewDriver* g_pPreviewDriver = nullptr;

COLORREF PreviewMiddle(HWND hHook)
{
    DRAWITEMSTRUCT draw = {};
    draw.CtlID = IDC_OPEN_PREVIEW_BOX;
    draw.hwndItem = ::GetDlgItem(hHook, IDC_OPEN_PREVIEW_BOX);
    ::GetClientRect(draw.hwndItem, &draw.rcItem);
    const PaintedPixels painted = PaintIntoMemory(draw.rcItem.right, draw.rcItem.bottom, [&](HDC hdc) {
        draw.hDC = hdc;
        ::SendMessageA(hHook, WM_DRAWITEM, IDC_OPEN_PREVIEW_BOX, reinterpret_cast<LPARAM>(&draw));
    });
    return painted.At(painted.width / 2, painted.height / 2);
}

bool ClickOnly(HWND hList, const std::wstring& name)
{
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(hList, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    for (int i = 0; i < static_cast<int>(::SendMessageW(hList, LVM_GETITEMCOUNT, 0, 0)); i++) {
        wchar_t text[MAX_PATH] = L"";
        item.pszText = text;
        item.cchTextMax = MAX_PATH;
        ::SendMessageW(hList, LVM_GETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        item.state = name == item.pszText ? item.stateMask : 0;
        if (item.state != 0)
            return ::SendMessageW(hList, LVM_SETITEMSTATE, static_cast<WPARAM>(i),
                                  reinterpret_cast<LPARAM>(&item));
    }
    return false;
}

VOID CALLBACK DrivePreview(HWND, UINT, UINT_PTR, DWORD)
{
    PreviewDriver& driver = *g_pPreviewDriver;
    HWND hFileDlg = nullptr, hBox = nullptr, hHook = nullptr;
    for (HWND hWnd : ShownDialogs())
        (::FindWindowExA(hWnd, nullptr, "SHELLDLL_DefView", nullptr) != nullptr ? hFileDlg : hBox) = hWnd;
    if (hBox != nullptr) {
        char text[1024] = "";
        ::GetDlgItemTextA(hBox, 0xFFFF, text, sizeof(text));
        driver.said = text;
        ::PostMessageA(hBox, WM_COMMAND, IDOK, 0);
        return;
    }
    while ((hHook = ::FindWindowExA(hFileDlg, hHook, "#32770", nullptr)) != nullptr
           && ::GetDlgItem(hHook, IDC_OPEN_PREVIEW_BOX) == nullptr) {
    }
    HWND hList = ::FindWindowExA(::FindWindowExA(hFileDlg, nullptr, "SHELLDLL_DefView", nullptr), nullptr,
                                 "SysListView32", nullptr);
    if (::GetTickCount() - driver.startedAt > 60000)
        ::PostMessageA(hFileDlg, WM_COMMAND, IDCANCEL, 0);
    if (hHook == nullptr || hList == nullptr)
        return;
    if (!driver.folder.empty()) {
        HWND hName = ::GetDlgItem(hFileDlg, edt1) != nullptr ? ::GetDlgItem(hFileDlg, edt1)
                                                             : ::GetDlgItem(hFileDlg, cmb13);
        ::SetWindowTextW(hName, driver.folder.c_str());
        ::PostMessageA(hName, WM_KEYDOWN, VK_RETURN, 1);
        driver.folder.clear();
        return;
    }
    if (!driver.enter.empty()) {
        if (ClickOnly(hList, driver.enter))
            ::PostMessageA(hList, WM_KEYDOWN, VK_RETURN, 1);
        driver.enter.clear();
        return;
    }
    const COLORREF middle = PreviewMiddle(hHook);
    if (driver.bWaiting && middle == driver.atClick && ::GetTickCount() - driver.clickedAt < 10000)
        return;
    if (driver.bWaiting)
        driver.seen.push_back(middle);
    driver.bWaiting = false;
    if (driver.seen.size() < driver.names.size()) {
        if (ClickOnly(hList, driver.names[driver.seen.size()])) {
            driver.bWaiting = true;
            driver.clickedAt = ::GetTickCount();
            driver.atClick = middle;
        }
    } else if (!driver.bOpened) {
        driver.bOpened = true;
        ::PostMessageA(hList, WM_KEYDOWN, VK_RETURN, 1);
    } else {
        ::PostMessageA(hFileDlg, WM_COMMAND, IDCANCEL, 0);
    }
}

} // namespace

// A click on a name the code page cannot spell previews nothing: the dialog spells it with look-alikes
// ("Lodz.bmp" for a barred L), which names another picture. So does a click on a picture in a folder
// the code page cannot spell, whose look-alike folder holds a picture of that name. Opened, each is
// refused for its letters, the dialog staying open, and the look-alike does not open.
TEST_F(AppTest, TheOpenDialogPreviewsNoPictureForANameTheCodePageCannotSpell)
{
    ASSERT_TRUE(Start());
    const std::wstring temp = testpaths::Wide(m_temp.Path());
    WriteBmp("Autre.bmp", 16, 8, [](int, int) { return RGB(0, 200, 0); });
    WriteBmp("Lodz.bmp", 16, 8, [](int, int) { return RGB(200, 0, 0); });
    const std::wstring moved = testpaths::Wide(WriteBmp("moved.bmp", 16, 8, [](int, int) { return 0; }));
    ASSERT_TRUE(::MoveFileW(moved.c_str(), (temp + L"\\\x0141odz.bmp").c_str()));
    ASSERT_TRUE(::CreateDirectoryA(m_temp.File("Lodz").c_str(), nullptr));
    WriteBmp("Lodz\\Vue.bmp", 16, 8, [](int, int) { return RGB(200, 0, 0); });
    ASSERT_TRUE(::CreateDirectoryW((temp + L"\\\x0141odz").c_str(), nullptr));
    const std::wstring view =
        testpaths::Wide(WriteBmp("vue.tmp", 16, 8, [](int, int) { return RGB(0, 200, 0); }));
    ASSERT_TRUE(::MoveFileW(view.c_str(), (temp + L"\\\x0141odz\\Vue.bmp").c_str()));
    g_ShowApercu = TRUE;
    const struct {
        std::wstring enter;
        std::vector<std::wstring> names;
        std::vector<COLORREF> seen;
        std::string said;
    } rows[] = {
        {L"", {L"Autre.bmp", L"\x0141odz.bmp"}, {RGB(0, 200, 0), RGB(192, 192, 192)}, "\\?odz.bmp' contient"},
        {L"\x0141odz", {L"Vue.bmp"}, {RGB(192, 192, 192)}, "\\?odz' contient"},
    };
    AfxTestReset(); // the real dialog
    for (const auto& row : rows) {
        PreviewDriver driver;
        driver.folder = temp;
        driver.enter = row.enter;
        driver.names = row.names;
        g_pPreviewDriver = &driver;
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, DrivePreview);
        m_pFrame->SendMessage(WM_COMMAND, ID_FILE_OPEN);
        ::KillTimer(nullptr, timer);
        EXPECT_EQ(driver.seen, row.seen) << row.names.size();
        EXPECT_NE(driver.said.find(row.said), std::string::npos) << driver.said;
    }
    EXPECT_TRUE(Children().empty());
    AfxTestArm();
}
