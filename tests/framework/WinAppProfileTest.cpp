// The application object: profile settings in the registry with their types, the recent-file list,
// message boxes, the wait cursor, worker threads and events, and the command line.
#include "tests/framework/WindowTestSupport.h"
#include "tests/support/ShownMessage.h"

#include "framework/CmdUI.h"
#include "framework/FrameworkTexts.h"
#include "framework/Menu.h"
#include "framework/RecentFileList.h"
#include "framework/StdIds.h"
#include "framework/Sync.h"
#include "framework/TestSeams.h"
#include "framework/WinThread.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

namespace {

// Points the application at a key of the test's own (tests run side by side in separate processes
// of one prefix, so one registry), and removes it afterwards.
class Profile : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        m_oldKey = Dup(TestApp().m_pszRegistryKey);
        m_oldProfile = Dup(TestApp().m_pszProfileName);
        s_strCompany = std::string("TessarineFrameworkTest-") + std::to_string(::GetCurrentProcessId()) + "-"
                       + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        TestApp().SetRegistryKey(s_strCompany.c_str());
        RemoveKey();
    }
    void TearDown() override
    {
        RemoveKey();
        std::free(const_cast<char*>(TestApp().m_pszRegistryKey));
        std::free(const_cast<char*>(TestApp().m_pszProfileName));
        TestApp().m_pszRegistryKey = m_oldKey;
        TestApp().m_pszProfileName = m_oldProfile;
        WindowTest::TearDown();
    }
    static void RemoveKey()
    {
        std::string base = std::string("Software\\") + s_strCompany;
        // Two levels: the application's key and its sections.
        HKEY hApp = nullptr;
        std::string app = base + "\\" + TestApp().m_pszProfileName;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, app.c_str(), 0, KEY_ALL_ACCESS, &hApp) == ERROR_SUCCESS) {
            char name[256];
            while (::RegEnumKeyA(hApp, 0, name, sizeof(name)) == ERROR_SUCCESS)
                ::RegDeleteKeyA(hApp, name);
            ::RegCloseKey(hApp);
        }
        ::RegDeleteKeyA(HKEY_CURRENT_USER, app.c_str());
        ::RegDeleteKeyA(HKEY_CURRENT_USER, base.c_str());
    }
    static LPCSTR Dup(LPCSTR s) { return s != nullptr ? _strdup(s) : nullptr; }
    static DWORD ValueType(LPCSTR section, LPCSTR entry)
    {
        HKEY hKey = TestApp().GetSectionKey(section, FALSE);
        if (hKey == nullptr)
            return REG_NONE;
        DWORD dwType = REG_NONE;
        ::RegQueryValueExA(hKey, entry, nullptr, &dwType, nullptr, nullptr);
        ::RegCloseKey(hKey);
        return dwType;
    }

    LPCSTR m_oldKey = nullptr;
    LPCSTR m_oldProfile = nullptr;
    static std::string s_strCompany;
};

std::string Profile::s_strCompany;

using Application = WindowTest;

UINT g_nHelpCommand = 0;
std::string g_helpFile;

BOOL WINAPI FakeWinHelp(HWND, LPCSTR lpszFile, UINT nCmd, ULONG_PTR)
{
    g_nHelpCommand = nCmd;
    g_helpFile = lpszFile != nullptr ? lpszFile : "";
    return TRUE;
}

} // namespace

TEST_F(Profile, IntegersAreStoredAsDwordsUnderCompanyAndApplication)
{
    EXPECT_TRUE(TestApp().WriteProfileInt("prefs", "Taille", -7));
    EXPECT_EQ(ValueType("prefs", "Taille"), DWORD(REG_DWORD));
    EXPECT_EQ(static_cast<int>(TestApp().GetProfileInt("prefs", "Taille", 3)), -7);
    HKEY hKey = nullptr;
    std::string path = std::string("Software\\") + s_strCompany + "\\Tessarine Test\\prefs";
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &hKey), ERROR_SUCCESS);
    ::RegCloseKey(hKey);
}

TEST_F(Profile, StringsAreStoredAsStringsWithAccents)
{
    EXPECT_TRUE(TestApp().WriteProfileString("folders", "Racine",
                                             "C:\\Images Prot\xE9g\xE9"
                                             "es"));
    EXPECT_EQ(ValueType("folders", "Racine"), DWORD(REG_SZ));
    EXPECT_STREQ(TestApp().GetProfileString("folders", "Racine"), "C:\\Images Prot\xE9g\xE9"
                                                                  "es");
}

TEST_F(Profile, MissingOrMistypedValuesGiveTheDefault)
{
    EXPECT_EQ(TestApp().GetProfileInt("nowhere", "x", 12), 12u);
    EXPECT_STREQ(TestApp().GetProfileString("nowhere", "x",
                                            "d\xE9"
                                            "faut"),
                 "d\xE9"
                 "faut");
    TestApp().WriteProfileString("prefs", "Texte", "42");
    TestApp().WriteProfileInt("prefs", "Nombre", 42);
    EXPECT_EQ(TestApp().GetProfileInt("prefs", "Texte", 5), 5u);           // a string is no integer
    EXPECT_STREQ(TestApp().GetProfileString("prefs", "Nombre", "n"), "n"); // nor an integer a string
}

TEST_F(Profile, NullValueRemovesTheEntryAndNullEntryTheSection)
{
    TestApp().WriteProfileString("specs", "A", "1");
    TestApp().WriteProfileString("specs", "B", "2");
    EXPECT_TRUE(TestApp().WriteProfileString("specs", "A", nullptr));
    EXPECT_STREQ(TestApp().GetProfileString("specs", "A", "absent"), "absent");
    EXPECT_STREQ(TestApp().GetProfileString("specs", "B"), "2");
    EXPECT_TRUE(TestApp().WriteProfileString("specs", nullptr, nullptr));
    EXPECT_EQ(TestApp().GetSectionKey("specs", FALSE), nullptr);
}

TEST_F(Profile, RecentFileListRoundTripsThroughTheProfile)
{
    CRecentFileList list(ID_FILE_MRU_FILE1, "Recent File List", "File%d", 4);
    list.Add("C:\\a.bmp");
    list.Add("C:\\b.bmp");
    list.Add("C:\\c.bmp");
    list.Add("c:\\A.BMP"); // the same file, written differently: moves to the top
    list.Add("C:\\d.bmp");
    list.Add("C:\\e.bmp"); // the oldest falls off
    EXPECT_STREQ(list[0], "C:\\e.bmp");
    EXPECT_STREQ(list[1], "C:\\d.bmp");
    EXPECT_STREQ(list[2], "c:\\A.BMP");
    EXPECT_STREQ(list[3], "C:\\c.bmp");
    list.WriteList();
    EXPECT_STREQ(TestApp().GetProfileString("Recent File List", "File1"), "C:\\e.bmp");

    CRecentFileList reread(ID_FILE_MRU_FILE1, "Recent File List", "File%d", 4);
    reread.ReadList();
    EXPECT_STREQ(reread[3], "C:\\c.bmp");
    reread.Remove(0);
    EXPECT_STREQ(reread[0], "C:\\d.bmp");
    EXPECT_TRUE(reread[3].IsEmpty());
}

TEST_F(Application, RecentFileMenuShowsOneItemPerEntry)
{
    CRecentFileList list(ID_FILE_MRU_FILE1, "Recent File List", "File%d", 4);
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, ID_FILE_OPEN, "&Ouvrir");
    menu.AppendMenu(MF_STRING, ID_FILE_MRU_FILE1,
                    "Fichier r\xE9"
                    "cent");
    menu.AppendMenu(MF_STRING, ID_APP_EXIT, "&Quitter");
    CCmdUI state;
    state.m_pMenu = &menu;
    state.m_nID = ID_FILE_MRU_FILE1;
    state.m_nIndex = 1;
    state.m_nIndexMax = menu.GetMenuItemCount();
    list.UpdateMenu(&state); // empty: the placeholder, greyed
    EXPECT_EQ(menu.GetMenuItemCount(), 3u);
    EXPECT_TRUE(menu.GetMenuState(ID_FILE_MRU_FILE1, MF_BYCOMMAND) & MF_GRAYED);

    list.Add("C:\\Images\\un & deux.bmp");
    list.Add("C:\\b.bmp");
    state.m_nIndex = 1;
    list.UpdateMenu(&state);
    ASSERT_EQ(menu.GetMenuItemCount(), 4u);
    CString text;
    menu.GetMenuString(1, text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&1 C:\\b.bmp");
    menu.GetMenuString(2, text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&2 C:\\Images\\un && deux.bmp");
    EXPECT_EQ(menu.GetMenuItemID(2), UINT(ID_FILE_MRU_FILE2));
    EXPECT_EQ(menu.GetMenuItemID(3), UINT(ID_APP_EXIT));
}

TEST_F(Application, MessageBoxIsAnsweredByTheScriptAndRecorded)
{
    AfxScriptMessageBox(IDNO);
    EXPECT_EQ(AfxMessageBox("Supprimer l'image ?", MB_YESNO | MB_ICONQUESTION), IDNO);
    ASSERT_EQ(AfxTestRecords().messageBoxes.size(), 1u);
    EXPECT_EQ(AfxTestRecords().messageBoxes[0].text, "Supprimer l'image ?");
    EXPECT_EQ(AfxTestRecords().messageBoxes[0].type, UINT(MB_YESNO | MB_ICONQUESTION));
}

TEST_F(Application, UnscriptedMessageBoxTakesTheCautiousAnswer)
{
    EXPECT_EQ(AfxMessageBox("Continuer ?", MB_YESNOCANCEL), IDCANCEL);
    EXPECT_EQ(AfxMessageBox("Encore ?", MB_YESNO), IDNO);
    EXPECT_EQ(AfxTestRecords().unexpected.size(), 2u);
    AfxTestRecords().unexpected.clear();
}

TEST_F(Application, MessageBoxFromAStringIdUsesTheFrameworkTexts)
{
    AfxScriptMessageBox(IDOK);
    AfxMessageBox(AFX_IDS_IDLEMESSAGE);
    ASSERT_EQ(AfxTestRecords().messageBoxes.size(), 1u);
    EXPECT_EQ(AfxTestRecords().messageBoxes[0].text, "Pr\xEAt");
}

// A message naming a long path stays on a screen of 1,024 by 768, its cause with it: the path keeps
// its beginning and its end, whatever it holds (wide letters, blanks); a short one is shown whole. The
// program's own box is measured, on the screen.
TEST_F(Application, MessageBoxShowsALongPathByItsEndsAndStaysOnTheScreen)
{
    std::string holidays = "C:\\Images";
    for (int i = 0; i < 13; i++)
        holidays += "\\Mes vacances d'\xE9t\xE9";
    const std::string cause = " Le nom du fichier est trop long.";
    AfxTestReset();
    for (const std::string& named : {"C:\\Images\\" + std::string(230, 'x') + "\\fin de la photo.jpg",
                                     "C:\\Images\\" + std::string(130, 'W') + "\\photo.jpg",
                                     holidays + "\\Plage.jpg", std::string("C:\\Images\\Plage.jpg")}) {
        const ShownMessageBox box = ShowMessageBoxAndClose([&] {
            AfxMessageBox(("Impossible de cr\xE9"
                           "er "
                           + named + "." + cause)
                              .c_str(),
                          MB_ICONSTOP);
        });
        const size_t ends = std::min<size_t>(named.size(), 20);
        EXPECT_EQ(box.text.find(named) != std::string::npos, named.size() < 100) << box.text;
        EXPECT_NE(box.text.find(named.substr(0, ends)), std::string::npos) << box.text;
        EXPECT_NE(box.text.find(named.substr(named.size() - ends) + "." + cause), std::string::npos)
            << box.text;
        EXPECT_LE(box.size.cx, 1024) << box.text;
        EXPECT_LE(box.size.cy, 768) << box.text;
    }
    AfxTestArm();
}

TEST_F(Application, NestedWaitCursorsRestoreTheFirstSavedCursor)
{
    HCURSOR hArrow = ::LoadCursorA(nullptr, IDC_ARROW);
    HCURSOR hWait = ::LoadCursorA(nullptr, IDC_WAIT);
    ::SetCursor(hArrow);
    {
        CWaitCursor outer;
        EXPECT_EQ(::GetCursor(), hWait);
        {
            CWaitCursor inner;
            ::SetCursor(hArrow); // a dialog changed it
            inner.Restore();
            EXPECT_EQ(::GetCursor(), hWait);
        }
        EXPECT_EQ(::GetCursor(), hWait); // still inside the outer one
    }
    EXPECT_EQ(::GetCursor(), hArrow);
    EXPECT_EQ(TestApp().m_nWaitCursorCount, 0);
}

TEST_F(Application, WorkerThreadRunsAndSignalsItsEvent)
{
    struct Work {
        CEvent done{FALSE, TRUE};
        int value = 0;
    } work;
    CWinThread* pThread = AfxBeginThread(
        [](LPVOID p) -> UINT {
            Work* pWork = static_cast<Work*>(p);
            pWork->value = 99;
            pWork->done.SetEvent();
            return 5;
        },
        &work, THREAD_PRIORITY_IDLE, 0, CREATE_SUSPENDED);
    ASSERT_NE(pThread, nullptr);
    pThread->m_bAutoDelete = FALSE;
    EXPECT_EQ(pThread->GetThreadPriority(), THREAD_PRIORITY_IDLE);
    pThread->ResumeThread();
    EXPECT_TRUE(work.done.Lock(5000));
    ASSERT_EQ(::WaitForSingleObject(pThread->m_hThread, 5000), WAIT_OBJECT_0);
    DWORD dwExit = 0;
    ::GetExitCodeThread(pThread->m_hThread, &dwExit);
    EXPECT_EQ(dwExit, 5u);
    EXPECT_EQ(work.value, 99);
    delete pThread;
}

TEST_F(Application, ExceptionInAThreadEndsOnlyThatThread)
{
    CWinThread* pThread = AfxBeginThread([](LPVOID) -> UINT { throw std::runtime_error("thread"); }, nullptr,
                                         THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(pThread, nullptr);
    pThread->m_bAutoDelete = FALSE;
    pThread->ResumeThread();
    ASSERT_EQ(::WaitForSingleObject(pThread->m_hThread, 5000), WAIT_OBJECT_0);
    DWORD dwExit = 0;
    ::GetExitCodeThread(pThread->m_hThread, &dwExit);
    EXPECT_EQ(dwExit, static_cast<DWORD>(-1));
    delete pThread;
}

TEST_F(Application, ManualResetEventStaysSetUntilReset)
{
    CEvent event(FALSE, TRUE);
    EXPECT_FALSE(event.Lock(0));
    event.SetEvent();
    EXPECT_TRUE(event.Lock(0));
    EXPECT_TRUE(event.Lock(0));
    event.ResetEvent();
    EXPECT_FALSE(event.Lock(0));
}

TEST_F(Application, CommandLineInfoTakesTheFileAndTheFlags)
{
    CCommandLineInfo info;
    info.ParseParam("nologo", TRUE, FALSE);
    info.ParseParam("C:\\Images\\\xE9t\xE9.jpg", FALSE, TRUE);
    EXPECT_FALSE(info.m_bShowSplash);
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileOpen);
    EXPECT_STREQ(info.m_strFileName, "C:\\Images\\\xE9t\xE9.jpg");
    CCommandLineInfo print;
    print.ParseParam("p", TRUE, FALSE);
    print.ParseParam("x.bmp", FALSE, TRUE);
    EXPECT_EQ(print.m_nShellCommand, CCommandLineInfo::FilePrint);
}

TEST_F(Application, HelpGoesThroughTheReplaceableCall)
{
    AfxPlatform().pfnWinHelp = FakeWinHelp;
    LPCSTR pOld = TestApp().m_pszHelpFilePath;
    TestApp().m_pszHelpFilePath = "C:\\aide.hlp";
    TestApp().OnHelpFinder();
    TestApp().m_pszHelpFilePath = pOld;
    EXPECT_EQ(g_nHelpCommand, UINT(HELP_FINDER));
    EXPECT_EQ(g_helpFile, "C:\\aide.hlp");
}
