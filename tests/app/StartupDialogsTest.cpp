// The start-up dialogs: the warnings and the welcome window in their order for a start without a
// file and none with a file, each warning's gating and its "do not show again" box, the tips of the
// welcome window, the association warning's buttons, and the splash window and the About box.
#include "tests/app/AppFixture.h"

#include "app/AboutDlg.h"
#include "app/FileAssoc.h"
#include "shell/Settings.h"
#include "app/SplashWnd.h"
#include "app/StartupWarnings.h"
#include "app/WelcomeDlg.h"
#include "core/TextFormat.h"
#include "formats/QuickTime.h"
#include "framework/TestSeams.h"
#include "resources/resource.h"

#include <string>
#include <vector>

namespace {

int ScreenOf4Bits() { return 4; }

std::vector<std::string>& ShellCalls()
{
    static std::vector<std::string> calls;
    return calls;
}

BOOL WINAPI RecordHelp(HWND, LPCSTR, UINT cmd, ULONG_PTR)
{
    ShellCalls().push_back("help " + std::to_string(cmd));
    return TRUE;
}

HINSTANCE WINAPI RecordShell(HWND, LPCSTR verb, LPCSTR file, LPCSTR, LPCSTR, INT)
{
    ShellCalls().push_back(std::string(verb) + " " + file);
    return reinterpret_cast<HINSTANCE>(33);
}

std::vector<UINT> ModalsShown()
{
    std::vector<UINT> ids;
    for (const AfxModalRecord& r : AfxTestRecords().modals)
        ids.push_back(r.templateId);
    return ids;
}

std::string ItemText(CWnd* pDlg, int id)
{
    char text[512] = "";
    ::GetDlgItemTextA(pDlg->GetSafeHwnd(), id, text, sizeof(text));
    return text;
}

bool ItemEnabled(CWnd* pDlg, int id)
{
    return ::IsWindowEnabled(::GetDlgItem(pDlg->GetSafeHwnd(), id)) != FALSE;
}

// Points an extension at another program's class, as another installer would.
void BreakAssociation(const char* extension)
{
    std::string key = std::string(".") + extension;
    ::RegSetValueA(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, "someoneelsefile", 15);
}

std::string LoadText(UINT id)
{
    CString text;
    text.LoadString(id);
    return static_cast<LPCSTR>(text);
}

class StartupTest : public AppTest {
protected:
    void TearDown() override
    {
        SetQuickTimeAvailableForTest(-1);
        AppTest::TearDown();
    }
};

} // namespace

TEST_F(StartupTest, FirstStartWithoutAFileShowsTheWarningsThenTheWelcome)
{
    SetQuickTimeAvailableForTest(0);
    AfxPlatform().pfnScreenBitsPerPixel = ScreenOf4Bits;
    for (const char* key : {"ShowWarnComponents", "ShowWarnColor16", "ShowWarnAssoc", "ShowWelcome"})
        PutSetting("prefs", key, 1);
    // Only the metafile kind, which no other test registers.
    PutSetting("specs", "AssocDetail", 0x800);
    BreakAssociation("wmf");
    AfxScriptNextModal(IDD_COMPONENTS_WARNING, {}, IDOK);
    AfxScriptNextModal(IDD_VGA16_WARNING, {}, IDOK);
    AfxScriptNextModal(IDD_ASSOC_WARNING, {}, IDC_ASSOC_CLOSE);
    AfxScriptNextModal(IDD_WELCOME, {}, IDOK);
    ASSERT_TRUE(Start());
    std::vector<UINT> expected = {IDD_COMPONENTS_WARNING, IDD_VGA16_WARNING, IDD_ASSOC_WARNING, IDD_WELCOME};
    EXPECT_EQ(ModalsShown(), expected);
    EXPECT_FALSE(g_bSplashUp);
    EXPECT_EQ(g_wndSplash.GetSafeHwnd(), nullptr);
    // No box was ticked: everything shows again next time.
    EXPECT_TRUE(g_ShowWarnComponents);
    EXPECT_TRUE(g_ShowWarnColor16);
    EXPECT_TRUE(g_ShowWarnAssoc);
    EXPECT_TRUE(g_ShowWelcome);
}

TEST_F(StartupTest, AStartWithAFileShowsNoStartupDialog)
{
    SetQuickTimeAvailableForTest(0);
    AfxPlatform().pfnScreenBitsPerPixel = ScreenOf4Bits;
    for (const char* key : {"ShowWarnComponents", "ShowWarnColor16", "ShowWarnAssoc", "ShowWelcome"})
        PutSetting("prefs", key, 1);
    PutSetting("specs", "AssocDetail", 0x800);
    BreakAssociation("wmf");
    std::string path = WriteBmp("d\xE9part.bmp");
    ASSERT_TRUE(Start(path));
    EXPECT_TRUE(ModalsShown().empty());
    EXPECT_FALSE(g_bSplashUp);
    ASSERT_NE(ActiveDocument(), nullptr);
}

TEST_F(StartupTest, ComponentsWarningOnlyWhenSomethingIsMissingAndItsBoxStopsIt)
{
    ASSERT_TRUE(Start());
    g_ShowWarnComponents = 1;
    SetQuickTimeAvailableForTest(1);
    CheckComponents(); // Wine's common controls are recent: both present, nothing shown
    EXPECT_TRUE(ModalsShown().empty());

    SetQuickTimeAvailableForTest(0);
    bool qtLine = false, comctlLine = true, install = true;
    AfxModalStep tick;
    tick.fields = {{IDC_WARN_DONT_SHOW, "1"}};
    AfxModalStep look;
    look.buttonId = 0;
    look.check = [&](CWnd* p) {
        qtLine = ItemEnabled(p, IDC_COMP_QT_LINE);
        comctlLine = ItemEnabled(p, IDC_COMP_COMCTL_LINE);
        install = ItemEnabled(p, IDC_COMP_INSTALL);
    };
    AfxScriptModal(IDD_COMPONENTS_WARNING, {look, tick});
    CheckComponents();
    EXPECT_EQ(ModalsShown().size(), 1u);
    EXPECT_TRUE(qtLine);
    EXPECT_FALSE(comctlLine);
    EXPECT_FALSE(install);
    EXPECT_FALSE(g_ShowWarnComponents);
    CheckComponents();
    EXPECT_EQ(ModalsShown().size(), 1u);
}

TEST_F(StartupTest, SixteenColourWarningShowsAtEachStartUntilItsBoxIsTicked)
{
    ASSERT_TRUE(Start());
    g_ShowWarnColor16 = 1;
    CheckVga16(); // the real screen has more colours
    EXPECT_TRUE(ModalsShown().empty());
    AfxPlatform().pfnScreenBitsPerPixel = ScreenOf4Bits;
    AfxScriptNextModal(IDD_VGA16_WARNING, {}, IDOK);
    CheckVga16();
    EXPECT_TRUE(g_ShowWarnColor16);
    AfxScriptNextModal(IDD_VGA16_WARNING, {{IDC_WARN_DONT_SHOW, "1"}}, IDOK);
    CheckVga16();
    EXPECT_FALSE(g_ShowWarnColor16);
    CheckVga16();
    EXPECT_EQ(ModalsShown().size(), 2u);
}

TEST_F(StartupTest, AssociationWarningRepairsOnOKAndKeepsOnlyItsBoxesOnClose)
{
    ASSERT_TRUE(Start());
    // Automatic correction repairs without asking, even when the warning is off.
    g_AssocDib = 1;
    g_AssocDetail = 0x400;
    g_TypesCorrectionAuto = 1;
    g_ShowWarnAssoc = 0;
    BreakAssociation("tga");
    m_pApp->CheckAssociationsAtStartup();
    EXPECT_TRUE(IsAssociated("tga", "tga", 7));
    EXPECT_TRUE(ModalsShown().empty());

    // "Fermer": the boxes are kept and nothing is written.
    g_AssocDetail = 0x080;
    g_TypesCorrectionAuto = 0;
    g_ShowWarnAssoc = 1;
    BreakAssociation("pcx");
    AfxScriptNextModal(IDD_ASSOC_WARNING, {{IDC_WARN_DONT_SHOW, "1"}, {IDC_ASSOC_AUTO_CORRECT, "1"}},
                       IDC_ASSOC_CLOSE);
    m_pApp->CheckAssociationsAtStartup();
    EXPECT_FALSE(g_ShowWarnAssoc);
    EXPECT_TRUE(g_TypesCorrectionAuto);
    EXPECT_TRUE(g_AssocDib);
    EXPECT_FALSE(IsAssociated("pcx", "pcx", 4));

    // "Fermer" with the picture files unticked: that box is only read by "Corriger", so the
    // associations stay wanted and the next start warns again.
    g_TypesCorrectionAuto = 0;
    g_ShowWarnAssoc = 1;
    AfxScriptNextModal(IDD_ASSOC_WARNING, {{IDC_ASSOC_PICTURES, "0"}}, IDC_ASSOC_CLOSE);
    m_pApp->CheckAssociationsAtStartup();
    EXPECT_TRUE(g_AssocDib);
    EXPECT_TRUE(g_ShowWarnAssoc);
    EXPECT_FALSE(IsAssociated("pcx", "pcx", 4));
    size_t nShown = ModalsShown().size();
    AfxScriptNextModal(IDD_ASSOC_WARNING, {}, IDC_ASSOC_CLOSE);
    m_pApp->CheckAssociationsAtStartup();
    EXPECT_EQ(ModalsShown().size(), nShown + 1);

    // "Corriger": the detail dialog narrows the kinds (an unknown bit goes too), then the ones chosen
    // are written.
    g_AssocDetail = 0x281;
    g_TypesCorrectionAuto = 0;
    g_ShowWarnAssoc = 1;
    AfxModalStep detail;
    detail.buttonId = IDC_ASSOC_DETAIL;
    AfxModalStep correct;
    AfxScriptModal(IDD_ASSOC_WARNING, {detail, correct});
    AfxScriptNextModal(IDD_DOC_TYPES, {{IDC_TYPES_BMP, "0"}, {IDC_TYPES_PCX, "1"}}, IDOK);
    m_pApp->CheckAssociationsAtStartup();
    EXPECT_EQ(g_AssocDetail, 0x080);
    EXPECT_TRUE(IsAssociated("pcx", "pcx", 4));
    EXPECT_TRUE(g_ShowWarnAssoc);
}

TEST_F(StartupTest, WelcomeTipsWrapAndAnOutOfRangePositionStartsAtTheFirst)
{
    ASSERT_TRUE(Start());
    g_ShowWelcome = 1;
    g_IndexOfTheTip = 24;
    std::string first, second;
    AfxModalStep look;
    look.buttonId = 0;
    look.check = [&](CWnd*) { first = static_cast<LPCSTR>(g_strCurrentTip); };
    AfxModalStep next;
    next.buttonId = IDC_WELCOME_NEXT_TIP;
    next.check = [&](CWnd*) { second = static_cast<LPCSTR>(g_strCurrentTip); };
    AfxModalStep close;
    close.fields = {{IDC_WELCOME_SHOW_AT_START, "0"}};
    AfxScriptModal(IDD_WELCOME, {look, next, close});
    ShowWelcomeAtStartup();
    EXPECT_EQ(first, LoadText(55159));
    EXPECT_EQ(second, LoadText(55123));
    EXPECT_EQ(g_IndexOfTheTip, 1);
    EXPECT_FALSE(g_ShowWelcome);
    EXPECT_FALSE(first.empty());

    for (int stored : {40, -3}) {
        g_IndexOfTheTip = stored;
        LoadNextTip();
        EXPECT_EQ(std::string(g_strCurrentTip), LoadText(55123)) << stored;
        EXPECT_EQ(g_IndexOfTheTip, 1) << stored;
    }
    ShowWelcomeAtStartup(); // switched off: nothing
    EXPECT_EQ(ModalsShown().size(), 1u);

    // The welcome command opens it all the same and shows the next tip; its box changes nothing.
    g_IndexOfTheTip = 5;
    std::string shown;
    AfxModalStep look2;
    look2.buttonId = 0;
    look2.check = [&](CWnd*) { shown = static_cast<LPCSTR>(g_strCurrentTip); };
    AfxModalStep tick;
    tick.fields = {{IDC_WELCOME_SHOW_AT_START, "1"}};
    AfxScriptModal(IDD_WELCOME, {look2, tick});
    m_pFrame->SendMessage(WM_COMMAND, ID_HELP_WELCOME);
    EXPECT_EQ(ModalsShown().size(), 2u);
    EXPECT_EQ(shown, LoadText(55128));
    EXPECT_EQ(g_IndexOfTheTip, 6);
    EXPECT_FALSE(g_ShowWelcome) << "opened from the menu, the box does not change the setting";
}

TEST_F(StartupTest, WelcomeButtonsAskForHelpAndTheWebSite)
{
    ASSERT_TRUE(Start());
    std::vector<std::string>& calls = ShellCalls();
    calls.clear();
    AfxPlatform().pfnWinHelp = RecordHelp;
    AfxPlatform().pfnShellExecute = RecordShell;
    g_ShowWelcome = 1;
    AfxModalStep help;
    help.buttonId = IDC_WELCOME_HELP;
    AfxModalStep why;
    why.buttonId = IDC_WELCOME_WHY;
    AfxModalStep web;
    web.buttonId = IDC_WELCOME_WEB;
    AfxModalStep close;
    AfxScriptModal(IDD_WELCOME, {help, why, web, close});
    ShowWelcomeAtStartup();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0], "help " + std::to_string(HELP_FINDER));
    EXPECT_EQ(calls[1], "help " + std::to_string(HELP_FINDER));
    EXPECT_EQ(calls[2], std::string("open ") + CWelcomeDlg::WebSiteAddress());
    EXPECT_TRUE(g_ShowWelcome);
}

TEST(TipPanel, PaintsTheYellowCardInsideItsDoubleEdge)
{
    HDC hdcScreen = ::GetDC(nullptr);
    HDC hdc = ::CreateCompatibleDC(hdcScreen);
    HBITMAP hbm = ::CreateCompatibleBitmap(hdcScreen, 200, 120);
    ::ReleaseDC(nullptr, hdcScreen);
    HGDIOBJ old = ::SelectObject(hdc, hbm);
    RECT rect = {0, 0, 200, 120};
    DrawTipPanel(hdc, rect,
                 "Une astuce & un texte assez long pour passer \xE0 la ligne suivante du panneau.");
    EXPECT_EQ(::GetPixel(hdc, 0, 0), RGB(128, 128, 128));
    EXPECT_EQ(::GetPixel(hdc, 199, 119), RGB(255, 255, 255));
    EXPECT_EQ(::GetPixel(hdc, 1, 1), RGB(0, 0, 0));
    EXPECT_EQ(::GetPixel(hdc, 198, 118), RGB(192, 192, 192));
    EXPECT_EQ(::GetPixel(hdc, 5, 100), RGB(255, 255, 226));
    ::SelectObject(hdc, old);
    ::DeleteObject(hbm);
    ::DeleteDC(hdc);
}

TEST(SplashWindow, SitsInTheMiddleOfTheScreen)
{
    POINT pt = SplashPosition(800, 600, 529, 169);
    EXPECT_EQ(pt.x, 135);
    EXPECT_EQ(pt.y, 215);
    pt = SplashPosition(400, 100, 529, 169); // a screen smaller than the window
    EXPECT_EQ(pt.x, -64);
    EXPECT_EQ(pt.y, -34);
}

TEST_F(StartupTest, SplashShowsTheTitlePictureThenPlainGreyOnceFreed)
{
    ASSERT_TRUE(Start());
    CSplashWnd splash;
    ASSERT_TRUE(splash.Create(nullptr, 529, 169));
    ASSERT_NE(splash.m_hPicture, nullptr);
    RECT rect;
    ::GetWindowRect(splash.m_hWnd, &rect);
    POINT pt = SplashPosition(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), 529, 169);
    EXPECT_EQ(rect.left, pt.x);
    EXPECT_EQ(rect.top, pt.y);
    EXPECT_EQ(rect.right - rect.left, 529);
    EXPECT_EQ(rect.bottom - rect.top, 169);
    EXPECT_TRUE(::GetWindowLongA(splash.m_hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST);

    splash.ShowWindow(SW_SHOW);
    splash.UpdateWindow();
    HDC hdc = ::GetDC(splash.m_hWnd);
    int notGrey = 0;
    for (int x = 20; x < 529; x += 50)
        notGrey += ::GetPixel(hdc, x, 84) != RGB(192, 192, 192);
    EXPECT_GT(notGrey, 0);
    splash.FreePicture();
    ::InvalidateRect(splash.m_hWnd, nullptr, FALSE);
    splash.UpdateWindow();
    for (int x = 0; x < 529; x += 50)
        EXPECT_EQ(::GetPixel(hdc, x, 84), RGB(192, 192, 192)) << x;
    ::ReleaseDC(splash.m_hWnd, hdc);
    splash.SendMessage(WM_CLOSE);
    EXPECT_FALSE(::IsWindow(splash.GetSafeHwnd()));
}

TEST(AboutTexts, MemoryAndVideoLines)
{
    EXPECT_EQ(std::string(FormatAboutMemory(64ull * 1024 * 1024)), "65536 Ko de RAM");
    // Beyond 2 GiB the count stays right.
    EXPECT_EQ(std::string(FormatAboutMemory(8ull * 1024 * 1024 * 1024)), "8388608 Ko de RAM");
    EXPECT_EQ(std::string(FormatAboutVideo(1024, 768, 16)), "1024x768 pixels - 65536 couleurs");
}

TEST_F(StartupTest, AboutBoxShowsThisMachinesMemoryAndDisplay)
{
    ASSERT_TRUE(Start());
    std::string memory, video;
    bool picture = false;
    AfxModalStep look;
    look.check = [&](CWnd* p) {
        memory = ItemText(p, IDC_ABOUT_MEMORY);
        video = ItemText(p, IDC_ABOUT_VIDEO);
        picture = static_cast<CAboutDlg*>(p)->m_btnPicture.m_hDIB != nullptr;
    };
    look.buttonId = 0;
    AfxModalStep ok;
    AfxScriptModal(IDD_ABOUT, {look, ok});
    m_pApp->OnAppAbout();
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof(status);
    ::GlobalMemoryStatusEx(&status);
    EXPECT_EQ(memory, std::to_string(status.ullTotalPhys / 1024) + " Ko de RAM");
    HDC hdc = ::GetDC(nullptr);
    std::string expected =
        std::to_string(::GetDeviceCaps(hdc, HORZRES)) + "x" + std::to_string(::GetDeviceCaps(hdc, VERTRES))
        + " pixels - " + GetColorDepthName(::GetDeviceCaps(hdc, PLANES) * ::GetDeviceCaps(hdc, BITSPIXEL));
    ::ReleaseDC(nullptr, hdc);
    EXPECT_EQ(video, expected);
    EXPECT_TRUE(picture);
}
