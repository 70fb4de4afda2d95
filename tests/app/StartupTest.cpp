// Start-up and shut-down of the application object: the command line and its hand-over to a running
// instance, the shared resources, the templates in their order, the main window's placement, and the
// rule that a process that did not read the settings never writes them.
#include "tests/app/AppFixture.h"

#include "shell/AppMessages.h"
#include "shell/Settings.h"
#include "core/BusyCursor.h"
#include "core/FileUtil.h"
#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/TestSeams.h"
#include "framework/MDIChildWnd.h"
#include "framework/PathDoor.h"
#include "framework/WinThread.h"
#include "resources/resource.h"
#include "viewers/DibDoc.h"

#include <string>
#include <vector>

namespace {

// A plain window that keeps the WM_OPENPATHCHAR messages posted to it in its queue.
HWND MakeSink()
{
    return ::CreateWindowExA(0, "STATIC", "sink", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

std::vector<int> TakeHandOver(HWND hWnd)
{
    std::vector<int> chars;
    MSG msg;
    while (::PeekMessageA(&msg, hWnd, WM_OPENPATHCHAR, WM_OPENPATHCHAR, PM_REMOVE))
        chars.push_back(static_cast<int>(msg.wParam));
    return chars;
}

} // namespace

TEST(CommandLinePath, OnePairOfQuotesAroundTheWholeLineGoes)
{
    EXPECT_STREQ(CommandLinePath("\"C:\\a b.jpg\""), "C:\\a b.jpg");
    EXPECT_STREQ(CommandLinePath("  \"C:\\a b.jpg\"  "), "C:\\a b.jpg");
    // The whole text is one path: blanks inside stay, nothing is split.
    EXPECT_STREQ(CommandLinePath("C:\\a b\\c d.jpg"), "C:\\a b\\c d.jpg");
    EXPECT_STREQ(CommandLinePath("C:\\a.jpg C:\\b.jpg"), "C:\\a.jpg C:\\b.jpg");
    // Quotes that do not surround the whole line stay.
    EXPECT_STREQ(CommandLinePath("\"C:\\a.jpg\" x"), "\"C:\\a.jpg\" x");
    EXPECT_STREQ(CommandLinePath(""), "");
    EXPECT_STREQ(CommandLinePath(nullptr), "");
    // The wide line loses the program's name as the system's ANSI one does.
    EXPECT_STREQ(AfxCommandLineTail(L"\"C:\\a b\\t.exe\"  \"C:\\c d.jpg\" "), L"\"C:\\c d.jpg\" ");
    EXPECT_STREQ(AfxCommandLineTail(L"C:\\a\"b c\"\\t.exe\tC:\\c.jpg"), L"C:\\c.jpg");
    EXPECT_STREQ(AfxCommandLineTail(L"t.exe"), L"");
}

TEST(HandOver, EveryByteArrivesInOrderThenAZero)
{
    HWND hSink = MakeSink();
    ASSERT_NE(hSink, nullptr);
    // "C:\é b" in Windows-1252: the accented byte arrives negative, as a signed char.
    ASSERT_TRUE(HandOverCommandLine(hSink, "C:\\\xE9 b"));
    std::vector<int> chars = TakeHandOver(hSink);
    std::vector<int> expected = {'C', ':', '\\', static_cast<signed char>('\xE9'), ' ', 'b', 0};
    EXPECT_EQ(chars, expected);
    EXPECT_LT(chars[3], 0);

    ASSERT_TRUE(HandOverCommandLine(hSink, ""));
    EXPECT_EQ(TakeHandOver(hSink), std::vector<int>{0});
    ::DestroyWindow(hSink);
}

TEST(MainWindowPlacement, StoredRectangleIsReadBackAndClamped)
{
    // Nothing stored: 5,5 to the screen's size, maximised.
    MainWindowPlacement p = ComputeMainWindowPlacement("", 1, 1024, 768);
    EXPECT_EQ(p.rect.left, 5);
    EXPECT_EQ(p.rect.top, 5);
    EXPECT_EQ(p.rect.right, 1024);
    EXPECT_EQ(p.rect.bottom, 768);
    EXPECT_TRUE(p.maximized);

    // Maximised with a low rectangle: the normal rectangle is raised to 460 pixels.
    p = ComputeMainWindowPlacement("0000 0000 0200 0100", 1, 1024, 768);
    EXPECT_EQ(p.rect.left, 0);
    EXPECT_EQ(p.rect.right, 200);
    EXPECT_EQ(p.rect.bottom, 460);
    p = ComputeMainWindowPlacement("0000 0000 0200 0100", 0, 1024, 768);
    EXPECT_EQ(p.rect.bottom, 100);
    EXPECT_FALSE(p.maximized);

    // Five-character coordinates (a screen left of the main one) are read whole.
    p = ComputeMainWindowPlacement("-1200 0010 -0100 0500", 0, 1024, 768);
    EXPECT_EQ(p.rect.left, -1200);
    EXPECT_EQ(p.rect.top, 10);
    EXPECT_EQ(p.rect.right, 5); // at least 5
    EXPECT_EQ(p.rect.bottom, 500);

    // Off the screen's far side: pulled back.
    p = ComputeMainWindowPlacement("2000 0900 3000 1000", 0, 1024, 768);
    EXPECT_EQ(p.rect.left, 1019);
    EXPECT_EQ(p.rect.top, 763);

    // A damaged value counts as none.
    p = ComputeMainWindowPlacement("12", 0, 1024, 768);
    EXPECT_EQ(p.rect.left, 5);
    EXPECT_EQ(p.rect.right, 1024);
    p = ComputeMainWindowPlacement("0100 0100 0050 0050", 0, 1024, 768);
    EXPECT_EQ(p.rect.left, 5);
    EXPECT_EQ(p.rect.bottom, 768);
}

TEST_F(AppTest, StartUpBuildsFrameBarsTemplatesAndSharedResources)
{
    ASSERT_TRUE(Start());
    ASSERT_NE(m_pFrame, nullptr);
    EXPECT_EQ(g_pMainFrame, m_pFrame);

    char szClass[128] = "";
    ::GetClassNameA(m_pFrame->m_hWnd, szClass, sizeof(szClass));
    EXPECT_STREQ(szClass, m_pApp->m_strWindowClass);
    EXPECT_TRUE(m_pFrame->IsWindowVisible());
    EXPECT_NE(m_pFrame->m_hWndMDIClient, nullptr);
    EXPECT_EQ(m_pFrame->GetCachedMDIClient(), m_pFrame->m_hWndMDIClient);
    EXPECT_TRUE(::IsWindow(m_pFrame->GetToolBar()->m_hWnd));
    EXPECT_TRUE(m_pFrame->GetStatusBar()->IsWindowVisible());
    EXPECT_TRUE(m_pFrame->GetLibraryBar()->IsWindowVisible());
    EXPECT_EQ(g_pLibraryBar, m_pFrame->GetLibraryBar());
    EXPECT_EQ(m_pFrame->GetStatusMode(), kStatusNoView);

    // The five templates, in the order the program relies on.
    const UINT expected[] = {IDR_EXPLORERTYPE, IDR_DIBTYPE, IDR_GIFTYPE, IDR_PRINTLIBTYPE, IDR_SEARCHTYPE};
    for (int i = 0; i < 5; i++) {
        CDocTemplate* pTemplate = m_pApp->GetTemplate(i + 1);
        ASSERT_NE(pTemplate, nullptr);
        EXPECT_EQ(pTemplate->m_nIDResource, expected[i]);
    }
    EXPECT_EQ(m_pApp->GetTemplate(6), nullptr);

    EXPECT_NE(g_hIconUnreadable, nullptr);
    EXPECT_NE(g_hIconGenericFile, nullptr);
    EXPECT_NE(g_hCursorAppArrow, nullptr);
    EXPECT_NE(g_hCursorBusyArrow, nullptr);
    EXPECT_EQ(GetAppCursorHandle(kAppCursorBusy), g_hCursorBusy);
    EXPECT_GT(ImageList_GetImageCount(g_imlFileTypes.m_hImageList), 40);
    EXPECT_EQ(m_pApp->GetPalette()->GetEntryCount(), 256);
    EXPECT_NE(g_fontSmall.m_hObject, nullptr);
    EXPECT_NE(g_fontArial7.m_hObject, nullptr);
    EXPECT_TRUE(SettingsLoaded());
    EXPECT_TRUE(g_bNoFileOnCommandLine);
    EXPECT_EQ(std::string(m_pApp->m_pszProfileName), "Tessarine 3.0");

    // The program gave core its words for the causes: a copy's box says why.
    const size_t boxes = AfxTestRecords().messageBoxes.size();
    AfxScriptMessageBox(IDABORT);
    EXPECT_EQ(CopyFileWithProgress(m_temp.File("absent.bmp").c_str(), m_temp.File("copie.bmp").c_str()), 2);
    ASSERT_EQ(AfxTestRecords().messageBoxes.size(), boxes + 1);
    EXPECT_NE(AfxTestRecords().messageBoxes.back().text.find("Le fichier est introuvable."),
              std::string::npos)
        << AfxTestRecords().messageBoxes.back().text;
}

TEST_F(AppTest, APictureOnTheCommandLineOpensAndNoExplorerStarts)
{
    PutSetting("prefs", "ExplorerAuto", 1);
    std::string path = WriteBmp("a b \xE9t\xE9.bmp");
    ASSERT_TRUE(Start("\"" + path + "\""));
    std::vector<CMDIChildWnd*> children = Children();
    ASSERT_EQ(children.size(), 1u);
    CDocument* pDoc = children[0]->GetActiveDocument();
    ASSERT_NE(pDoc, nullptr);
    EXPECT_TRUE(pDoc->IsKindOf(RUNTIME_CLASS(CDibDoc)));
    EXPECT_EQ(std::string(pDoc->GetPathName()), path);
    EXPECT_FALSE(g_bNoFileOnCommandLine);
}

TEST_F(AppTest, WithoutAFileExplorerAutoOpensAnExplorer)
{
    PutSetting("prefs", "ExplorerAuto", 1);
    ASSERT_TRUE(Start());
    std::vector<CMDIChildWnd*> children = Children();
    ASSERT_EQ(children.size(), 1u);
    EXPECT_TRUE(
        children[0]->GetActiveDocument()->IsKindOf(m_pApp->GetTemplate(kTemplateExplorer)->m_pDocClass));
}

TEST_F(AppTest, ASecondStartHandsItsPathToTheFirstAndNeverWritesSettings)
{
    ASSERT_TRUE(Start());
    std::string path = WriteBmp("second start \xE9.bmp");

    // The same start-up again finds this process's main window: it is the second instance now.
    std::string line = "\"" + path + "\"";
    m_pApp->m_lpCmdLine = &line[0];
    ResetSettings();
    EXPECT_FALSE(m_pApp->InitInstance());
    EXPECT_EQ(m_pApp->m_hWndOtherInstance, m_pFrame->m_hWnd);
    EXPECT_FALSE(SettingsLoaded());
    // Its exit leaves the settings alone.
    long before = StoredDword("prefs", "TauxJPEG");
    SaveSettings();
    EXPECT_EQ(StoredDword("prefs", "TauxJPEG"), before);

    // The first instance rebuilds the path from the characters and opens it.
    Pump();
    CDocument* pDoc = ActiveDocument();
    ASSERT_NE(pDoc, nullptr);
    EXPECT_TRUE(pDoc->IsKindOf(RUNTIME_CLASS(CDibDoc)));
    EXPECT_EQ(std::string(pDoc->GetPathName()), path);
}

// A path the code page cannot spell, on the command line or handed over by a second start, is refused
// for it, and its look-alike, which the ANSI command line names, never opens.
TEST_F(AppTest, APathTheCodePageCannotSpellIsRefusedFromTheCommandLineAndAHandOver)
{
    const std::vector<std::wstring> unspelled = WriteUnspelledPictures();
    const std::wstring first = L"\"" + unspelled[0] + L"\"", second = unspelled[1];
    m_pApp->m_lpWideCmdLine = first.c_str();
    AfxScriptMessageBox(IDOK);
    ASSERT_TRUE(Start("\"" + m_temp.File("Lodz\\photo.bmp") + "\""));
    std::string line = m_temp.File("Poznan.bmp");
    m_pApp->m_lpCmdLine = &line[0];
    m_pApp->m_lpWideCmdLine = second.c_str();
    AfxScriptMessageBox(IDOK);
    EXPECT_FALSE(m_pApp->InitInstance());
    Pump();
    const auto& boxes = AfxTestRecords().messageBoxes;
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_NE(boxes[0].text.find("dossier '" + m_temp.File("?odz") + "' contient"), std::string::npos);
    EXPECT_NE(boxes[1].text.find("fichier '" + m_temp.File("Pozna?.bmp") + "' contient"), std::string::npos);
    EXPECT_TRUE(Children().empty());
}

TEST_F(AppTest, AKeyTakesTheSplashDownAndStillReachesItsTarget)
{
    ASSERT_TRUE(Start());
    g_bSplashUp = TRUE;
    MSG msg = {};
    msg.hwnd = m_pFrame->m_hWnd;
    msg.message = WM_MOUSEMOVE;
    m_pApp->PreTranslateMessage(&msg);
    EXPECT_TRUE(g_bSplashUp) << "a mouse move is no reason";
    msg.message = WM_KEYDOWN;
    msg.wParam = 'Q';
    EXPECT_FALSE(m_pApp->PreTranslateMessage(&msg)) << "the key must not be swallowed";
    EXPECT_FALSE(g_bSplashUp);
}

TEST_F(AppTest, ExitSavesTheSettingsAndFreesSharedIconsAndCursors)
{
    PutSetting("prefs", "TauxJPEG", 70);
    ASSERT_TRUE(Start());
    EXPECT_EQ(g_TauxJPEG, 70);
    g_TauxJPEG = 30;
    HCURSOR hBusy = g_hCursorBusy;
    ASSERT_NE(hBusy, nullptr);
    m_pFrame->DestroyWindow();
    Pump();
    m_pApp->m_pMainWnd = nullptr;
    m_pFrame = nullptr;
    m_pApp->ExitInstance();
    EXPECT_EQ(StoredDword("prefs", "TauxJPEG"), 30);
    // The main window's placement was written when it went.
    EXPECT_NE(StoredText("mainwin", "Pos"), "<none>");
    EXPECT_GE(StoredDword("mainwin", "Maximized"), 0);
    EXPECT_EQ(g_hIconUnreadable, nullptr);
    EXPECT_EQ(g_hCursorHand, nullptr);
    EXPECT_NE(GetAppCursorHandle(kAppCursorBusy), hBusy) << "the busy cursor handed out is gone";
    EXPECT_FALSE(m_pApp->m_bClassRegistered);
}

TEST_F(AppTest, StoredPlacementIsAppliedToTheMainWindow)
{
    PutSettingText("mainwin", "Pos", "0040 0030 0640 0530");
    PutSetting("mainwin", "Maximized", 0);
    ASSERT_TRUE(Start());
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof(wp);
    ASSERT_TRUE(m_pFrame->GetWindowPlacement(&wp));
    EXPECT_EQ(wp.rcNormalPosition.left, 40);
    EXPECT_EQ(wp.rcNormalPosition.top, 30);
    EXPECT_EQ(wp.rcNormalPosition.right, 640);
    EXPECT_EQ(wp.rcNormalPosition.bottom, 530);
    EXPECT_FALSE(m_pFrame->IsZoomed());

    // Moved, then written back on the way out in the same form.
    m_pFrame->SetWindowPos(nullptr, 60, 70, 500, 400, SWP_NOZORDER | SWP_NOACTIVATE);
    m_pFrame->DestroyWindow();
    m_pApp->m_pMainWnd = nullptr;
    m_pFrame = nullptr;
    EXPECT_EQ(StoredText("mainwin", "Pos"), "0060 0070 0560 0470");
    EXPECT_EQ(StoredDword("mainwin", "Maximized"), 0);
}
