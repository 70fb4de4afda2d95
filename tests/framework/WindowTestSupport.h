// What the window-layer tests share: the test program's application object, a trace of who handled a
// command, and a fixture that arms the test seams and checks that no UI was left unanswered.
#pragma once
#include "framework/WinApp.h"
#include "framework/Wnd.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Handlers append their names here.
extern std::vector<std::string> g_trace;

class CTestApp : public CWinApp {
public:
    CTestApp() : CWinApp("Tessarine Test") {}
    BOOL PreTranslateMessage(MSG* pMsg) override;
    int m_nPreTranslated = 0;   // messages seen by PreTranslateMessage
    UINT m_nWatchedMessage = 0; // ... and how many of this kind
    int m_nWatchedSeen = 0;

protected:
    BOOL OnTrace(UINT nID);
    void OnEnabled();
    DECLARE_MESSAGE_MAP()
};

CTestApp& TestApp();

// Every message already queued, through the framework's pump.
void PumpPending();

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// A plain top-level window for tests that need a parent or an owner.
class CTestTopWindow : public CWnd {
public:
    BOOL CreateTop(LPCSTR lpszTitle = "Test", DWORD dwStyle = WS_OVERLAPPEDWINDOW | WS_VISIBLE);
};
