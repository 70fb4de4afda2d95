// The application-shell tests' fixture.
#include "tests/app/AppFixture.h"

#include "shell/Settings.h"
#include "core/FileUtil.h"
#include "framework/CmdUI.h"
#include "framework/Document.h"
#include "framework/HandleMap.h"
#include "framework/MDIChildWnd.h"
#include "framework/TestSeams.h"
#include "framework/WinThread.h"

#include <shlwapi.h>

#include <cstdio>
#include <cstring>

void AppTest::SetUp()
{
    AfxTestReset();
    AfxTestArm();
    ResetSettings();
    // What the program hands core at start-up is its start's to give: none before it.
    SetFileCauseWords(nullptr);
    std::string suffix = std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(::GetTickCount());
    m_company = "TessarineAppTest-" + suffix;
    SHDeleteKeyA(HKEY_CURRENT_USER, ("Software\\" + m_company).c_str());
    m_pApp = new CTessarineApp;
    m_pApp->m_strWindowClass = ("TessarineTestClass-" + suffix).c_str();
    m_pApp->m_strCompanyKey = m_company.c_str();
    // A library of the test's own, never one in the build tree beside the test program.
    const std::string library = m_temp.File("Biblioth\xE8que");
    ::CreateDirectoryA(library.c_str(), nullptr);
    PutSettingText("folders", "LibrarianLocation", library + "\\");
    // Nothing opens by itself unless a test asks for it.
    PutSetting("prefs", "ExplorerAuto", 0);
    // Nor do the start-up warnings and the welcome window.
    for (const char* key : {"ShowWarnComponents", "ShowWarnColor16", "ShowWarnAssoc", "ShowWelcome"})
        PutSetting("prefs", key, 0);
}

void AppTest::TearDown()
{
    Pump();
    if (m_pApp != nullptr) {
        if (m_pApp->m_pMainWnd != nullptr && ::IsWindow(m_pApp->m_pMainWnd->m_hWnd))
            m_pApp->m_pMainWnd->DestroyWindow();
        m_pApp->m_pMainWnd = nullptr;
        m_pApp->ExitInstance();
    }
    Pump();
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    AfxTestLog& log = AfxTestRecords();
    for (const std::string& what : log.unexpected)
        ADD_FAILURE() << "unexpected UI: " << what;
    std::string pending = AfxTestPendingScripts();
    EXPECT_TRUE(pending.empty()) << "scripts left unused: " << pending;
    // A failed test names the boxes it met and the stray input its scripts kept out.
    if (HasFailure()) {
        for (const AfxMessageBoxRecord& box : log.messageBoxes)
            std::fprintf(stderr, "message box: %s\n", box.text.c_str());
        std::fprintf(stderr, "real input dropped while scripts played: %ld\n", AfxTestRealInputDropped());
    }
    AfxTestReset();
    AfxDeleteTempMaps();
    delete m_pApp;
    m_pApp = nullptr;
    ResetSettings();
    SetFileCauseWords(nullptr);
    g_RecentList.RemoveAll();
    SHDeleteKeyA(HKEY_CURRENT_USER, ("Software\\" + m_company).c_str());
}

bool AppTest::Start(const std::string& commandLine)
{
    m_commandLine = commandLine;
    m_pApp->m_lpCmdLine = &m_commandLine[0];
    if (!m_pApp->InitInstance())
        return false;
    m_pFrame = static_cast<CMainFrame*>(m_pApp->m_pMainWnd);
    if (m_pFrame != nullptr && m_pFrame->GetDispatchTimerId() != 0)
        m_pFrame->StopDispatchTimer();
    Pump();
    return m_pFrame != nullptr;
}

void AppTest::PutSetting(const char* section, const char* key, DWORD value)
{
    std::string path = "Software\\" + m_company + "\\Tessarine 3.0\\" + section;
    SHSetValueA(HKEY_CURRENT_USER, path.c_str(), key, REG_DWORD, &value, sizeof(value));
}

void AppTest::PutSettingText(const char* section, const char* key, const std::string& value)
{
    std::string path = "Software\\" + m_company + "\\Tessarine 3.0\\" + section;
    SHSetValueA(HKEY_CURRENT_USER, path.c_str(), key, REG_SZ, value.c_str(),
                static_cast<DWORD>(value.size() + 1));
}

long AppTest::StoredDword(const char* section, const char* key)
{
    std::string path = "Software\\" + m_company + "\\Tessarine 3.0\\" + section;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (SHGetValueA(HKEY_CURRENT_USER, path.c_str(), key, &type, &value, &size) != ERROR_SUCCESS
        || type != REG_DWORD)
        return -1;
    return static_cast<long>(value);
}

std::string AppTest::StoredText(const char* section, const char* key)
{
    std::string path = "Software\\" + m_company + "\\Tessarine 3.0\\" + section;
    DWORD type = 0;
    char text[1024] = "";
    DWORD size = sizeof(text);
    if (SHGetValueA(HKEY_CURRENT_USER, path.c_str(), key, &type, text, &size) != ERROR_SUCCESS
        || type != REG_SZ)
        return "<none>";
    return text;
}

bool AppTest::SectionExists(const char* section)
{
    std::string path = "Software\\" + m_company + "\\Tessarine 3.0\\" + section;
    HKEY hKey = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    RegCloseKey(hKey);
    return true;
}

std::vector<std::wstring> AppTest::WriteUnspelledPictures()
{
    const std::wstring folder = testpaths::Wide(m_temp.Path());
    const std::vector<std::wstring> paths = {folder + L"\\\x0141odz\\photo.bmp",
                                             folder + L"\\Pozna\x0144.bmp"};
    ::CreateDirectoryA(m_temp.File("Lodz").c_str(), nullptr);
    ::CreateDirectoryW((folder + L"\\\x0141odz").c_str(), nullptr);
    const std::string lookAlikes[] = {WriteBmp("Lodz\\photo.bmp"), WriteBmp("Poznan.bmp")};
    for (size_t i = 0; i < paths.size(); i++)
        ::CopyFileW(testpaths::Wide(lookAlikes[i]).c_str(), paths[i].c_str(), FALSE);
    return paths;
}

std::string AppTest::WriteBmp(const std::string& name, int width, int height)
{
    return WriteBmp(name, width, height, [](int x, int y) { return RGB(200, y * 32, x * 16); });
}

std::string AppTest::WriteBmp(const std::string& name, int width, int height,
                              const std::function<COLORREF(int x, int y)>& pixel)
{
    int rowBytes = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = static_cast<DWORD>(rowBytes * height);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + info.biSizeImage;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
    bytes.append(reinterpret_cast<const char*>(&info), sizeof(info));
    for (int y = 0; y < height; y++) {
        std::string row(rowBytes, '\0');
        for (int x = 0; x < width; x++) {
            COLORREF c = pixel(x, y);
            row[x * 3 + 0] = static_cast<char>(GetBValue(c));
            row[x * 3 + 1] = static_cast<char>(GetGValue(c));
            row[x * 3 + 2] = static_cast<char>(GetRValue(c));
        }
        bytes += row;
    }
    std::string path = m_temp.File(name);
    EXPECT_TRUE(testpaths::WriteBytes(path, bytes)) << "not written: " << path;
    return path;
}

std::string AppTest::WriteGif(const std::string& name)
{
    const std::string source = testpaths::TestImagesDir() + "\\gif\\porsche.gif";
    const std::string bytes = testpaths::ReadBytes(source);
    std::string path = m_temp.File(name);
    // Nothing is written without it: the test's open of the picture then fails, and stops the test.
    if (bytes.empty())
        ADD_FAILURE() << "no test picture at " << source;
    else
        EXPECT_TRUE(testpaths::WriteBytes(path, bytes)) << "not written: " << path;
    return path;
}

std::vector<CMDIChildWnd*> AppTest::Children()
{
    std::vector<CMDIChildWnd*> children;
    if (m_pFrame == nullptr || m_pFrame->m_hWndMDIClient == nullptr)
        return children;
    CMDIChildWnd* pActive = m_pFrame->MDIGetActive();
    if (pActive != nullptr)
        children.push_back(pActive);
    for (HWND hWnd = ::GetTopWindow(m_pFrame->m_hWndMDIClient); hWnd != nullptr;
         hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        if (pWnd != nullptr && pWnd != pActive && pWnd->IsKindOf(RUNTIME_CLASS(CMDIChildWnd)))
            children.push_back(static_cast<CMDIChildWnd*>(pWnd));
    }
    return children;
}

CDocument* AppTest::ActiveDocument()
{
    CMDIChildWnd* pActive = m_pFrame != nullptr ? m_pFrame->MDIGetActive() : nullptr;
    return pActive != nullptr ? pActive->GetActiveDocument() : nullptr;
}

void AppTest::Pump() { AfxPumpPendingMessages(); }

int UpdateOf(CMainFrame* pFrame, UINT nID)
{
    CRecordingCmdUI ui;
    ui.m_nID = nID;
    if (!pFrame->OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &ui, nullptr))
        return -2;
    return ui.enabled;
}

int CheckOf(CMainFrame* pFrame, UINT nID)
{
    CRecordingCmdUI ui;
    ui.m_nID = nID;
    pFrame->OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &ui, nullptr);
    return ui.checked;
}

bool PumpUntil(const std::function<bool()>& done)
{
    const DWORD deadline = GetTickCount() + 30000;
    while (!done()) {
        if (static_cast<LONG>(GetTickCount() - deadline) > 0)
            return false;
        AfxPumpPendingMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}
