// The real program, installed as the run script installs it: a library an earlier run kept in a build
// tree moves with it, and the program finds it there once the build tree is gone. Then started twice:
// the second start hands its path (blanks and accented letters) to the first, which opens it, and
// ends without touching the user's settings.
#include "piclist/PicObject.h"
#include "piclist/PicListBox.h"
#include "resources/library-bar-ids.h"
#include "tests/support/TestPaths.h"
#include "tests/support/UnixCommand.h"

#include <gtest/gtest.h>
#include <shlwapi.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

const char kSettingsKey[] = "Software\\Orvanel\\Tessarine 3.0";

// Where the run script installs the program, in the test prefix.
const char kInstalled[] = "C:\\Program Files\\Tessarine";

std::string ProgramPath() { return std::string(kInstalled) + "\\tessarine.exe"; }

HANDLE StartProgram(const std::string& arguments)
{
    std::string line = "\"" + ProgramPath() + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return nullptr;
    CloseHandle(pi.hThread);
    return pi.hProcess;
}

HWND WaitForMainWindow(DWORD timeoutMs)
{
    for (DWORD waited = 0; waited < timeoutMs; waited += 100) {
        HWND hWnd = FindWindowA("TessarineClass", nullptr);
        if (hWnd != nullptr && IsWindowVisible(hWnd))
            return hWnd;
        Sleep(100);
    }
    return nullptr;
}

// The texts of the MDI child windows of the program's main window.
std::vector<std::string> ChildTitles(HWND hMain)
{
    std::vector<std::string> titles;
    HWND hClient = FindWindowExA(hMain, nullptr, "MDIClient", nullptr);
    for (HWND hChild = hClient != nullptr ? GetWindow(hClient, GW_CHILD) : nullptr; hChild != nullptr;
         hChild = GetWindow(hChild, GW_HWNDNEXT)) {
        char text[512] = "";
        GetWindowTextA(hChild, text, sizeof(text));
        titles.push_back(text);
    }
    return titles;
}

bool HasTitleStarting(const std::vector<std::string>& titles, const std::string& start)
{
    for (const std::string& title : titles) {
        if (title.rfind(start, 0) == 0)
            return true;
    }
    return false;
}

void PutDword(const char* section, const char* key, DWORD value)
{
    SHSetValueA(HKEY_CURRENT_USER, (std::string(kSettingsKey) + "\\" + section).c_str(), key, REG_DWORD,
                &value, sizeof(value));
}

long GetDword(const char* section, const char* key)
{
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (SHGetValueA(HKEY_CURRENT_USER, (std::string(kSettingsKey) + "\\" + section).c_str(), key, &type,
                    &value, &size)
        != ERROR_SUCCESS)
        return -1;
    return static_cast<long>(value);
}

std::string GetText(const char* section, const char* key)
{
    DWORD type = 0;
    char text[512] = "";
    DWORD size = sizeof(text);
    if (SHGetValueA(HKEY_CURRENT_USER, (std::string(kSettingsKey) + "\\" + section).c_str(), key, &type, text,
                    &size)
        != ERROR_SUCCESS)
        return "<none>";
    return text;
}

void PutText(const char* section, const char* key, const std::string& value)
{
    SHSetValueA(HKEY_CURRENT_USER, (std::string(kSettingsKey) + "\\" + section).c_str(), key, REG_SZ,
                value.c_str(), static_cast<DWORD>(value.size() + 1));
}

// A build tree, and a library an earlier run of the program from it made there: a picture and its
// record; the settings name the tree, as that run stored them.
void MakeBuildTreeWithLibrary(const std::string& build, const std::string& picture)
{
    ::CreateDirectoryA(build.c_str(), nullptr);
    ::CreateDirectoryA((build + "\\Images").c_str(), nullptr);
    testpaths::WriteBytes(build + "\\CMakeCache.txt", "");
    const std::string path = build + "\\Images\\" + picture;
    ::CopyFileA((testpaths::TestImagesDir() + "\\jpeg\\vgl_6434_0018a.bmp").c_str(), path.c_str(), FALSE);
    WIN32_FIND_DATAA entry;
    ::FindClose(::FindFirstFileA(path.c_str(), &entry));
    CPicObject record;
    FillRecordFromEntry(&record, path.c_str(), entry);
    record.m_strComment = "souvenir";
    record.SaveDai();
    PutText("folders", "LibrarianLocation", build + "\\");
    PutText("folders", "LibrarianLastPath", build + "\\Images");
}

// The install script run as the run script runs it (its program is this build's), for a user whose
// locale is plain ASCII, as a new account's is; what it said.
std::string Install()
{
    return testpaths::RunUnix("LC_ALL=POSIX '" + testpaths::UnixPath(testpaths::SourceDir())
                              + "/scripts/install.sh' 2>&1");
}

BOOL CALLBACK FindLibraryList(HWND hWnd, LPARAM found)
{
    char cls[16] = "";
    ::GetClassNameA(hWnd, cls, sizeof(cls));
    if (::GetDlgCtrlID(hWnd) != ID_LIBBAR_LIST || lstrcmpiA(cls, "ListBox") != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(found) = hWnd;
    return FALSE;
}

// How many pictures the library bar lists, once it lists any (0 when it lists none).
int LibraryListCount(HWND hMain)
{
    HWND hList = nullptr;
    ::EnumChildWindows(hMain, FindLibraryList, reinterpret_cast<LPARAM>(&hList));
    LRESULT count = 0;
    for (int i = 0; i < 300 && hList != nullptr && count == 0; i++) {
        count = ::SendMessageA(hList, LB_GETCOUNT, 0, 0);
        if (count == 0)
            Sleep(100);
    }
    return static_cast<int>(count);
}

// Ends the first instance however the test went.
struct ProgramGuard {
    HANDLE hProcess = nullptr;
    ~ProgramGuard()
    {
        if (hProcess == nullptr)
            return;
        HWND hMain = FindWindowA("TessarineClass", nullptr);
        if (hMain != nullptr)
            PostMessageA(hMain, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(hProcess, 20000) != WAIT_OBJECT_0)
            TerminateProcess(hProcess, 1);
        CloseHandle(hProcess);
    }
};

} // namespace

TEST(Program, InstalledWithItsLibraryThenASecondStartHandsItsPathToTheFirst)
{
    ASSERT_EQ(FindWindowA("TessarineClass", nullptr), nullptr) << "another instance is running";
    SHDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
    testpaths::RemoveTree(kInstalled);
    testpaths::TempDir temp;

    // Installed from a build tree holding a library, which then goes as a clean takes it: the picture
    // and its record live beside the installed program, and the settings no longer name the tree. The
    // tree is in a folder with accents, as a French user's home is.
    const std::string build = temp.File("Zo\xE9 Lef\xE8vre");
    MakeBuildTreeWithLibrary(build, "Vieille.bmp");
    EXPECT_NE(Install().find(kInstalled), std::string::npos);
    testpaths::RemoveTree(build);
    const std::string kept = std::string(kInstalled) + "\\Images\\Vieille.bmp";
    CPicObject record;
    record.m_strPath = kept.c_str();
    EXPECT_TRUE(record.LoadDai() && record.m_strComment == "souvenir");
    EXPECT_EQ(GetText("folders", "LibrarianLocation"), "<none>");
    EXPECT_EQ(GetText("folders", "LibrarianLastPath"), std::string(kInstalled) + "\\Images");

    // The user's settings: a marker value, and no window opening by itself.
    PutDword("prefs", "TauxJPEG", 70);
    PutDword("prefs", "ExplorerAuto", 0);

    std::string folder = temp.File("mes photos d'\xE9t\xE9");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    std::string picture = folder + "\\vacances \xE0 la mer.bmp";
    std::string source = testpaths::TestImagesDir() + "\\jpeg\\vgl_6434_0018a.bmp";
    ASSERT_TRUE(CopyFileA(source.c_str(), picture.c_str(), FALSE)) << source;

    ProgramGuard first;
    first.hProcess = StartProgram("");
    ASSERT_NE(first.hProcess, nullptr);
    HWND hMain = WaitForMainWindow(60000);
    ASSERT_NE(hMain, nullptr) << "the first instance did not show its window";
    EXPECT_TRUE(ChildTitles(hMain).empty());
    EXPECT_EQ(LibraryListCount(hMain), 1) << "the library's picture is listed";

    // The second start, the way a shell passes a path with blanks: quoted.
    HANDLE hSecond = StartProgram("\"" + picture + "\"");
    ASSERT_NE(hSecond, nullptr);
    EXPECT_EQ(WaitForSingleObject(hSecond, 60000), WAIT_OBJECT_0) << "the second instance did not end";
    CloseHandle(hSecond);

    // The first instance opens the whole path: its window shows the picture's title.
    std::string title = "VACANCES \xC0 LA MER.BMP";
    bool opened = false;
    for (int i = 0; i < 200 && !opened; i++) {
        opened = HasTitleStarting(ChildTitles(hMain), title);
        if (!opened)
            Sleep(100);
    }
    EXPECT_TRUE(opened) << "no window on the handed-over picture";
    EXPECT_EQ(ChildTitles(hMain).size(), 1u);
    // The second instance read no settings, so it wrote none.
    EXPECT_EQ(GetDword("prefs", "TauxJPEG"), 70);
    EXPECT_EQ(GetText("mainwin", "Pos"), "<none>");

    // A start without arguments only brings the first forward: nothing more opens.
    HANDLE hThird = StartProgram("");
    ASSERT_NE(hThird, nullptr);
    EXPECT_EQ(WaitForSingleObject(hThird, 60000), WAIT_OBJECT_0);
    CloseHandle(hThird);
    Sleep(500);
    EXPECT_EQ(ChildTitles(hMain).size(), 1u);

    // The first instance saves on the way out, its own values.
    PostMessageA(hMain, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(first.hProcess, 30000), WAIT_OBJECT_0);
    CloseHandle(first.hProcess);
    first.hProcess = nullptr;
    EXPECT_EQ(GetDword("prefs", "TauxJPEG"), 70);
    EXPECT_NE(GetText("mainwin", "Pos"), "<none>");
    EXPECT_EQ(GetText("CoolBarList", "1"), picture);
    EXPECT_EQ(GetText("folders", "LibrarianLocation"), std::string(kInstalled) + "\\");

    // Another tree's library never joins one already there: it stays, still named by the settings.
    const std::string other = temp.File("autre");
    MakeBuildTreeWithLibrary(other, "Autre.bmp");
    EXPECT_NE(Install().find("autre"), std::string::npos);
    EXPECT_NE(GetFileAttributesA((other + "\\Images\\Autre.bmp").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetText("folders", "LibrarianLocation"), other + "\\");
    SHDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
    testpaths::RemoveTree(kInstalled);
}
