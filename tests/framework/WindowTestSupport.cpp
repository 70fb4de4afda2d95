// The window-layer tests' application object and fixture.
#include "tests/framework/WindowTestSupport.h"

#include "framework/HandleMap.h"
#include "framework/TestSeams.h"
#include "framework/WinThread.h"
#include "tests/framework/WindowTestIds.h"

std::vector<std::string> g_trace;

namespace {
CTestApp theApp;
}

CTestApp& TestApp() { return theApp; }

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
    ON_COMMAND_EX(ID_TEST_TRACE, OnTrace)
    ON_COMMAND(ID_TEST_ENABLED, OnEnabled)
END_MESSAGE_MAP()

BOOL CTestApp::OnTrace(UINT)
{
    g_trace.push_back("app");
    return FALSE;
}

void CTestApp::OnEnabled() { g_trace.push_back("app-enabled"); }

BOOL CTestApp::PreTranslateMessage(MSG* pMsg)
{
    m_nPreTranslated++;
    if (m_nWatchedMessage != 0 && pMsg->message == m_nWatchedMessage)
        m_nWatchedSeen++;
    return CWinApp::PreTranslateMessage(pMsg);
}

void PumpPending() { AfxPumpPendingMessages(); }

void WindowTest::SetUp()
{
    AfxTestReset();
    AfxTestArm();
    g_trace.clear();
    theApp.m_nPreTranslated = 0;
    theApp.m_nWatchedMessage = 0;
    theApp.m_nWatchedSeen = 0;
}

void WindowTest::TearDown()
{
    PumpPending();
    AfxTestLog& log = AfxTestRecords();
    for (const std::string& what : log.unexpected)
        ADD_FAILURE() << "unexpected UI: " << what;
    std::string pending = AfxTestPendingScripts();
    EXPECT_TRUE(pending.empty()) << "scripts left unused: " << pending;
    AfxTestReset();
    theApp.m_pMainWnd = nullptr;
    // A main window that went away asked the loop to end: not this test's loop.
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    AfxDeleteTempMaps();
}

BOOL CTestTopWindow::CreateTop(LPCSTR lpszTitle, DWORD dwStyle)
{
    return CreateEx(
        0,
        AfxRegisterWndClass(0, ::LoadCursorA(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)),
        lpszTitle, dwStyle, 50, 50, 400, 300, nullptr, nullptr);
}
