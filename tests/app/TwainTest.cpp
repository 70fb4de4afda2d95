// Scanning through the system's TWAIN source manager with the tests' own source ("sane.ds", see
// twainsource/TestSource.cpp): pages become still-picture windows, a cancelled, failed or closed
// acquisition ends back with the manager open, a source that cannot start says so, the chooser lists
// the source, and without a manager the scanner commands stay disabled and nothing is shown.
#include "tests/app/ViewerFixture.h"
#include "tests/support/ShownDialogs.h"

#include "framework/CmdUI.h"
#include "framework/MDIChildWnd.h"
#include "framework/TestSeams.h"
#include "resources/resource.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// The test source's own record of what it was asked, and its dialog.
std::string SourceLog()
{
    HMODULE hSource = ::GetModuleHandleA("sane.ds");
    if (hSource == nullptr)
        return "<not loaded>";
    typedef const char*(__cdecl * LogProc)();
    LogProc pfn =
        reinterpret_cast<LogProc>(reinterpret_cast<void*>(::GetProcAddress(hSource, "TestSourceLog")));
    return pfn != nullptr ? pfn() : "<not the test source>";
}

HWND SourceWindow()
{
    HMODULE hSource = ::GetModuleHandleA("sane.ds");
    if (hSource == nullptr)
        return nullptr;
    typedef HWND(__cdecl * WindowProc)();
    WindowProc pfn =
        reinterpret_cast<WindowProc>(reinterpret_cast<void*>(::GetProcAddress(hSource, "TestSourceWindow")));
    return pfn != nullptr ? pfn() : nullptr;
}

const char kEnabled[] = "ENABLEDS(show=1,modal=0,parent=1)";

class TwainTest : public ViewerTest {
protected:
    void SetUp() override
    {
        ViewerTest::SetUp();
        ::SetEnvironmentVariableA("TESTSOURCE_SCRIPT", nullptr);
        CTwain::ForgetAvailability();
    }
    void TearDown() override
    {
        ViewerTest::TearDown();
        ::SetEnvironmentVariableA("TESTSOURCE_SCRIPT", nullptr);
    }

    // What the source was asked since the last call.
    std::string NewSourceLog()
    {
        std::string log = SourceLog();
        std::string fresh = log.size() > m_logSeen ? log.substr(m_logSeen) : "";
        m_logSeen = log.size();
        if (!fresh.empty() && fresh[0] == ' ')
            fresh.erase(0, 1);
        return fresh;
    }

    // One acquisition under that script: the command, then every message it caused.
    void Acquire(const char* script)
    {
        ::SetEnvironmentVariableA("TESTSOURCE_SCRIPT", script);
        m_pFrame->SendMessage(WM_COMMAND, ID_TWAIN_ACQUIRE, 0);
        Pump();
    }

    // The user closes the source's dialog.
    void CloseSourceDialog()
    {
        HWND hWnd = SourceWindow();
        ASSERT_NE(hWnd, nullptr);
        ::SendMessageA(hWnd, WM_CLOSE, 0, 0);
        Pump();
    }

    size_t m_logSeen = 0;
};

TEST_F(TwainTest, ThreePagesOpenThreeWindowsAndTheSourceStaysUntilClosed)
{
    ASSERT_TRUE(Start());
    ASSERT_EQ(m_pFrame->GetState(), 3) << "the manager is open from start-up";
    EXPECT_EQ(UpdateOf(m_pFrame, ID_TWAIN_ACQUIRE), 1);
    EXPECT_EQ(UpdateOf(m_pFrame, ID_TWAIN_SELECT_SOURCE), 1);

    Acquire("pages=3");
    ASSERT_EQ(NewSourceLog(),
              std::string("OPENDS ") + kEnabled + " XFERREADY GET ENDXFER GET ENDXFER GET ENDXFER")
        << "the test source must be installed as sane.ds in the prefix (scripts/test.sh)";
    // Every page taken, the source still shows its dialog for more.
    EXPECT_EQ(m_pFrame->GetState(), 5);
    EXPECT_TRUE(::IsWindowVisible(SourceWindow()));
    EXPECT_EQ(UpdateOf(m_pFrame, ID_TWAIN_ACQUIRE), 0);
    EXPECT_EQ(UpdateOf(m_pFrame, ID_TWAIN_SELECT_SOURCE), 0);

    // The newest window is active: pages 3, 2, 1, each with its own pixels.
    std::vector<CMDIChildWnd*> children = Children();
    ASSERT_EQ(children.size(), 3u);
    for (int i = 0; i < 3; i++) {
        int page = 3 - i;
        CView* pView = children[i]->GetActiveView();
        ASSERT_NE(pView, nullptr);
        ASSERT_TRUE(pView->IsKindOf(RUNTIME_CLASS(CDibView)));
        CDibDoc* pDoc = static_cast<CDibView*>(pView)->GetDocument();
        HGLOBAL hDIB = pDoc->GetHDIB();
        ASSERT_NE(hDIB, nullptr);
        const BITMAPINFOHEADER* pbi = static_cast<const BITMAPINFOHEADER*>(::GlobalLock(hDIB));
        EXPECT_EQ(pbi->biWidth, 48);
        EXPECT_EQ(pbi->biHeight, 32);
        ::GlobalUnlock(hDIB);
        for (POINT pt : {POINT{0, 0}, POINT{47, 0}, POINT{10, 31}, POINT{30, 20}})
            EXPECT_EQ(DibPixel(hDIB, pt.x, pt.y), RGB(40 * page, 4 * pt.x, 6 * pt.y))
                << "page " << page << " at " << pt.x << "," << pt.y;
    }

    CloseSourceDialog();
    EXPECT_EQ(NewSourceLog(), "CLOSEDSREQ DISABLEDS CLOSEDS");
    EXPECT_EQ(m_pFrame->GetState(), 3);
    EXPECT_EQ(SourceWindow(), nullptr);
    EXPECT_EQ(UpdateOf(m_pFrame, ID_TWAIN_ACQUIRE), 1);
    EXPECT_EQ(Children().size(), 3u);
    EXPECT_TRUE(AfxTestRecords().messageBoxes.empty());
}

TEST_F(TwainTest, CancelFailureCloseRequestAndBrokenPagesEachEndBackWithTheManagerOpen)
{
    ASSERT_TRUE(Start());
    ASSERT_EQ(m_pFrame->GetState(), 3);
    struct Case {
        const char* script;
        const char* log; // after the source is enabled
        int stateAfter;  // 5: the dialog stays until the user closes it
    } cases[] = {
        {"pages=2 cancel", "XFERREADY GET-cancelled ENDXFER GET-cancelled ENDXFER", 5},
        // A failed transfer is not asked again: the pending pages are reset.
        {"pages=3 fail", "XFERREADY GET-failed RESET", 5},
        {"pages=3 close", "CLOSEDSREQ DISABLEDS CLOSEDS", 3},
        // A page whose header does not fit its block opens no window.
        {"pages=1 broken", "XFERREADY GET ENDXFER", 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        Acquire(c.script);
        EXPECT_EQ(NewSourceLog(), std::string("OPENDS ") + kEnabled + " " + c.log);
        EXPECT_EQ(m_pFrame->GetState(), c.stateAfter);
        if (c.stateAfter == 5) {
            CloseSourceDialog();
            EXPECT_EQ(NewSourceLog(), "CLOSEDSREQ DISABLEDS CLOSEDS");
        }
        EXPECT_EQ(m_pFrame->GetState(), 3);
        EXPECT_EQ(UpdateOf(m_pFrame, ID_TWAIN_ACQUIRE), 1);
        EXPECT_TRUE(Children().empty());
    }
    EXPECT_TRUE(AfxTestRecords().messageBoxes.empty());
}

// A scanned page exists nowhere else: closing its window, or the program, asks to save it first.
TEST_F(TwainTest, AScannedPageIsNotLostWithoutAQuestion)
{
    ASSERT_TRUE(Start());
    Acquire("pages=2");
    CloseSourceDialog();
    std::vector<CMDIChildWnd*> children = Children();
    ASSERT_EQ(children.size(), 2u);
    std::vector<std::string> questions;
    for (CMDIChildWnd* pChild : children)
        questions.push_back("Enregistrer les modifications de "
                            + std::string(pChild->GetActiveDocument()->GetTitle()) + " ?");
    // "Annuler" keeps the window; "Oui" whose Save As is cancelled keeps it too; "Non" lets it go.
    for (int answer : {IDCANCEL, IDYES, IDNO}) {
        AfxScriptMessageBox(answer);
        if (answer == IDYES)
            AfxScriptCommonDialog(AfxCommonDialogKind::Save, {});
        children[0]->SendMessage(WM_CLOSE);
        Pump();
    }
    EXPECT_EQ(Children(), std::vector<CMDIChildWnd*>{children[1]});
    // Quitting asks for the other page: "Oui" writes it where Save As says, then the program ends.
    const std::string saved = m_temp.File("page.bmp");
    AfxScriptMessageBox(IDYES);
    AfxScriptCommonDialog(AfxCommonDialogKind::Save, {true, saved});
    m_pFrame->SendMessage(WM_CLOSE);
    Pump();
    EXPECT_EQ(m_pApp->m_pMainWnd, nullptr);
    CDIB written;
    written.Read(saved.c_str(), "");
    EXPECT_EQ(written.GetHandle() ? DibPixel(written.GetHandle(), 30, 20) : 0, RGB(40, 120, 120)) << "page 1";
    const auto& boxes = AfxTestRecords().messageBoxes;
    ASSERT_EQ(boxes.size(), 4u);
    for (size_t i = 0; i < boxes.size(); i++)
        EXPECT_EQ(boxes[i].text, questions[i < 3 ? 0 : 1]) << i;
}

TEST_F(TwainTest, ClosingTheProgramWhileTheSourceShowsClosesTheSource)
{
    ASSERT_TRUE(Start());
    Acquire("pages=1");
    EXPECT_EQ(NewSourceLog(), std::string("OPENDS ") + kEnabled + " XFERREADY GET ENDXFER");
    ASSERT_EQ(m_pFrame->GetState(), 5);
    m_pFrame->DestroyWindow();
    m_pApp->m_pMainWnd = nullptr;
    m_pFrame = nullptr;
    Pump();
    EXPECT_EQ(NewSourceLog(), "DISABLEDS CLOSEDS");
    EXPECT_EQ(SourceWindow(), nullptr);
}

// A source that cannot start says so, and the connection is back with the manager open, ready for
// another try: one that will not open, one that opens but will not be enabled (as a camera source
// with no camera), and one that then will not close either (the manager, which forgets it all the
// same, is closed and opened again).
TEST_F(TwainTest, ASourceThatCannotStartSaysSoBackInState3)
{
    ASSERT_TRUE(Start());
    const std::string kCannotOpen =
        "Le scanner ou l'appareil photo num\xE9rique n'a pas pu \xEAtre ouvert.\nV\xE9rifiez "
        "qu'il est branch\xE9 et allum\xE9, et qu'il est choisi dans 'Choisir le Scanner', "
        "puis recommencez.";
    const std::string kCannotEnable =
        "Le scanner ou l'appareil photo num\xE9rique n'a pas pu \xEAtre mis en "
        "marche.\nV\xE9rifiez qu'il est branch\xE9 et allum\xE9, puis recommencez.";
    struct Case {
        const char* script;
        const char* log; // what the test source was asked
        const std::string& message;
    } cases[] = {
        {"refuse", "OPENDS-refused", kCannotOpen},
        {"noenable", "OPENDS ENABLEDS-refused CLOSEDS", kCannotEnable},
        {"noenable noclose", "OPENDS ENABLEDS-refused CLOSEDS-refused", kCannotEnable},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        size_t before = AfxTestRecords().messageBoxes.size();
        AfxScriptMessageBox(IDOK);
        Acquire(c.script);
        EXPECT_EQ(NewSourceLog(), c.log);
        ASSERT_EQ(AfxTestRecords().messageBoxes.size(), before + 1);
        EXPECT_EQ(AfxTestRecords().messageBoxes.back().text, c.message);
        EXPECT_EQ(m_pFrame->GetState(), 3);
        EXPECT_EQ(UpdateOf(m_pFrame, ID_TWAIN_ACQUIRE), 1);
        EXPECT_EQ(UpdateOf(m_pFrame, ID_TWAIN_SELECT_SOURCE), 1);
        EXPECT_TRUE(Children().empty());
        EXPECT_EQ(SourceWindow(), nullptr);
    }
    // After all that, a source that works scans as before.
    Acquire("pages=1");
    EXPECT_EQ(NewSourceLog(), std::string("OPENDS ") + kEnabled + " XFERREADY GET ENDXFER");
    EXPECT_EQ(m_pFrame->GetState(), 5);
    EXPECT_EQ(Children().size(), 1u);
    CloseSourceDialog();
    EXPECT_EQ(m_pFrame->GetState(), 3);
}

TEST_F(TwainTest, WithoutASourceAcquiringSaysSoBackInState3)
{
    ASSERT_TRUE(Start());
    // The test source does not answer the manager's search: only Wine's camera source is left, with no
    // camera behind it.
    ::SetEnvironmentVariableA("TESTSOURCE_SCRIPT", "absent");
    AfxScriptMessageBox(IDOK);
    m_pFrame->SendMessage(WM_COMMAND, ID_TWAIN_ACQUIRE, 0);
    EXPECT_EQ(m_pFrame->GetState(), 3);
    EXPECT_EQ(UpdateOf(m_pFrame, ID_TWAIN_ACQUIRE), 1);
    Pump();
    EXPECT_TRUE(Children().empty());
    ASSERT_EQ(AfxTestRecords().messageBoxes.size(), 1u);
    EXPECT_EQ(
        AfxTestRecords().messageBoxes[0].text.find("Le scanner ou l'appareil photo num\xE9rique n'a pas pu "
                                                   "\xEAtre ouvert."),
        0u);
    EXPECT_EQ(SourceWindow(), nullptr);
    EXPECT_EQ(SourceLog(), "<not loaded>");
}

// Wine's chooser is a real dialog run inside the manager: a timer of this thread finds it, reads
// its list and presses a button.
std::vector<std::string> g_chooserItems;
int g_chooserButton = IDOK;
bool g_chooserSeen = false;

void CALLBACK DriveChooser(HWND, UINT, UINT_PTR idEvent, DWORD)
{
    const std::vector<HWND> shown = ShownDialogs();
    const auto chooser = std::find_if(shown.begin(), shown.end(), [](HWND hWnd) {
        return ::FindWindowExA(hWnd, nullptr, "ListBox", nullptr) != nullptr;
    });
    if (chooser == shown.end())
        return;
    HWND hDlg = *chooser;
    ::KillTimer(nullptr, idEvent);
    g_chooserSeen = true;
    HWND hList = ::FindWindowExA(hDlg, nullptr, "ListBox", nullptr);
    int count = static_cast<int>(::SendMessageA(hList, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; i++) {
        char text[64] = "";
        if (::SendMessageA(hList, LB_GETTEXTLEN, i, 0) < static_cast<LRESULT>(sizeof(text)))
            ::SendMessageA(hList, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        g_chooserItems.push_back(text);
        if (::lstrcmpA(text, "Source de test") == 0)
            ::SendMessageA(hList, LB_SETCURSEL, i, 0);
    }
    ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(g_chooserButton, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(hDlg, g_chooserButton)));
}

TEST_F(TwainTest, TheChooserListsTheSourceAndLeavesTheStateAsItWas)
{
    ASSERT_TRUE(Start());
    for (int button : {IDOK, IDCANCEL}) {
        SCOPED_TRACE(button == IDOK ? "chosen" : "cancelled");
        g_chooserItems.clear();
        g_chooserSeen = false;
        g_chooserButton = button;
        ::SetTimer(nullptr, 0, 20, DriveChooser);
        BOOL bChosen = m_pFrame->CTwain::SelectSource();
        EXPECT_TRUE(g_chooserSeen);
        EXPECT_EQ(bChosen, button == IDOK);
        EXPECT_NE(std::find(g_chooserItems.begin(), g_chooserItems.end(), "Source de test"),
                  g_chooserItems.end());
        EXPECT_EQ(m_pFrame->GetState(), 3);
        EXPECT_EQ(UpdateOf(m_pFrame, ID_TWAIN_SELECT_SOURCE), 1);
    }
    EXPECT_TRUE(AfxTestRecords().messageBoxes.empty());
}

// No TWAIN_32.DLL where the program looks for it.
std::string g_emptyFolder;
int g_folderAsked = 0;
UINT WINAPI EmptyFolder(LPSTR buffer, UINT size)
{
    g_folderAsked++;
    ::lstrcpynA(buffer, g_emptyFolder.c_str(), static_cast<int>(size));
    return static_cast<UINT>(g_emptyFolder.size());
}

TEST_F(TwainTest, WithoutAManagerTheCommandsStayDisabledAndNothingIsShown)
{
    g_emptyFolder = m_temp.Path();
    AfxPlatform().pfnScannerFolder = EmptyFolder;
    ASSERT_TRUE(Start());
    EXPECT_EQ(m_pFrame->GetState(), 1);
    EXPECT_EQ(UpdateOf(m_pFrame, ID_TWAIN_ACQUIRE), 0);
    EXPECT_EQ(UpdateOf(m_pFrame, ID_TWAIN_SELECT_SOURCE), 0);
    EXPECT_EQ(g_folderAsked, 1);
    // The cool bar's button sends the command even so: nothing is loaded again.
    HWND hButton = m_pFrame->GetToolBar()->m_hWnd;
    m_pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_TWAIN_ACQUIRE, BN_CLICKED),
                          reinterpret_cast<LPARAM>(hButton));
    m_pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_TWAIN_SELECT_SOURCE, BN_CLICKED),
                          reinterpret_cast<LPARAM>(hButton));
    EXPECT_EQ(g_folderAsked, 1);
    EXPECT_EQ(m_pFrame->GetState(), 1);
    // A failed load is not tried again, even once the manager is there.
    AfxResetPlatform();
    EXPECT_FALSE(m_pFrame->IsAvailable());
    EXPECT_EQ(m_pFrame->GetState(), 1);
    Pump();
    EXPECT_TRUE(Children().empty());
    EXPECT_TRUE(AfxTestRecords().messageBoxes.empty());
}

// The connection alone, without the program around it: the states it passes through, the stage of a
// failure, and each picture handed on only after its transfer was acknowledged.
class CRecordingTwain : public CTwain {
public:
    std::vector<int> states;
    std::vector<int> errors;
    std::vector<std::string> logAtImage;
    std::vector<COLORREF> firstPixels;

protected:
    void OnStateChange(int nState) override { states.push_back(nState); }
    void OnError(int nStage) override { errors.push_back(nStage); }
    void OnImage(HGLOBAL hDIB) override
    {
        logAtImage.push_back(SourceLog());
        firstPixels.push_back(DibPixel(hDIB, 0, 0));
        CTwain::OnImage(hDIB);
    }
};

// A message loop whose messages go to the connection first.
void PumpThrough(CTwain* pTwain)
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!pTwain->ProcessMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
}

TEST(TwainConnection, StatesFollowTheCallsAndFailuresDropBack)
{
    CTwain::ForgetAvailability();
    CRecordingTwain twain;
    ASSERT_TRUE(twain.IsAvailable());
    ASSERT_TRUE(twain.OpenSourceManager());
    EXPECT_EQ(twain.states, (std::vector<int>{2, 3}));

    // A source that cannot be opened: stage 1, back to the manager open.
    ::SetEnvironmentVariableA("TESTSOURCE_SCRIPT", "refuse");
    twain.states.clear();
    EXPECT_FALSE(twain.Acquire());
    EXPECT_EQ(twain.errors, std::vector<int>{1});
    EXPECT_EQ(twain.GetState(), 3);
    EXPECT_TRUE(twain.states.empty());

    ::SetEnvironmentVariableA("TESTSOURCE_SCRIPT", "pages=2");
    EXPECT_TRUE(twain.Acquire());
    EXPECT_EQ(twain.GetState(), 5);
    PumpThrough(&twain);
    EXPECT_EQ(twain.states, (std::vector<int>{4, 5, 6, 7, 6, 7, 5}));
    ASSERT_EQ(twain.logAtImage.size(), 2u);
    for (const std::string& log : twain.logAtImage)
        EXPECT_EQ(log.substr(log.size() - 7), "ENDXFER") << "acknowledged before it is handed on";
    EXPECT_EQ(twain.firstPixels, (std::vector<COLORREF>{RGB(40, 0, 0), RGB(80, 0, 0)}));

    // Enabled already: nothing more to do. A message the source does not know goes on.
    EXPECT_TRUE(twain.Acquire());
    MSG other = {};
    other.message = WM_NULL;
    EXPECT_FALSE(twain.ProcessMessage(&other));
    EXPECT_EQ(twain.GetState(), 5);

    twain.states.clear();
    EXPECT_TRUE(twain.CloseSourceManager());
    EXPECT_TRUE(twain.UnloadSourceManager());
    EXPECT_EQ(twain.states, (std::vector<int>{4, 3, 2, 1}));
    EXPECT_EQ(twain.errors, std::vector<int>{1});
    ::SetEnvironmentVariableA("TESTSOURCE_SCRIPT", nullptr);
}

} // namespace
