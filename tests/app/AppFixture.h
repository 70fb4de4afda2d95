// What the application-shell tests share: a real application object started in the test process
// (with a window class and a settings key of the test's own, so that nothing meets a program running
// beside it), the test seams armed, small pictures written to a scratch folder, and helpers that find
// the child windows the program opened.
#pragma once
#include "app/MainFrame.h"
#include "app/TessarineApp.h"
#include "framework/CmdUI.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

class CDocument;
class CMDIChildWnd;

// What an update handler set.
class CRecordingCmdUI : public CCmdUI {
public:
    int enabled = -1;
    int checked = -1;
    void Enable(BOOL bOn) override { enabled = bOn ? 1 : 0; }
    void SetCheck(int nCheck) override { checked = nCheck; }
    void SetRadio(BOOL) override {}
    void SetText(LPCSTR) override {}
};

// The enabled state an update handler of the main frame's route gives nID: 1 or 0, -1 when the
// handler set none, -2 when no handler answers.
int UpdateOf(CMainFrame* pFrame, UINT nID);
// The check an update handler of the main frame's route gives nID, -1 when none.
int CheckOf(CMainFrame* pFrame, UINT nID);

// Pumps messages until done() holds; false after 30 seconds.
bool PumpUntil(const std::function<bool()>& done);

class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs the start-up with that raw command line. Settings stored before (PutSetting) are read.
    // The dispatcher's timer is stopped afterwards: tests run its passes themselves.
    bool Start(const std::string& commandLine = "");
    // Stores a setting before the start-up reads it.
    void PutSetting(const char* section, const char* key, DWORD value);
    void PutSettingText(const char* section, const char* key, const std::string& value);
    // A stored value, or -1 / "<none>" when there is none.
    long StoredDword(const char* section, const char* key);
    std::string StoredText(const char* section, const char* key);
    bool SectionExists(const char* section);

    // A 24-bit BMP picture of that size in the scratch folder (name may hold blanks and accents).
    std::string WriteBmp(const std::string& name, int width = 16, int height = 8);
    // The same with pixel (x, y), y counted from the bottom row, in the colour pixel gives.
    std::string WriteBmp(const std::string& name, int width, int height,
                         const std::function<COLORREF(int x, int y)>& pixel);
    // Pictures the code page cannot spell, each beside the look-alike an ANSI read takes it for, which
    // must never open in its place: "Łodz\photo.bmp" ("Lodz\photo.bmp") and "Poznań.bmp", only its
    // last letter unspelled ("Poznan.bmp"). Their wide paths, in that order.
    std::vector<std::wstring> WriteUnspelledPictures();
    // A copy of a GIF of the libraries' test pictures.
    std::string WriteGif(const std::string& name);

    // The MDI child frames, the active one first.
    std::vector<CMDIChildWnd*> Children();
    CDocument* ActiveDocument();
    // Every message already queued.
    void Pump();

    CTessarineApp* m_pApp = nullptr;
    CMainFrame* m_pFrame = nullptr;
    std::string m_company;
    std::string m_commandLine;
    testpaths::TempDir m_temp;
};
