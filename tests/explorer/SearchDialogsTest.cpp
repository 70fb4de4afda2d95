// The search's dialogs played through the test seams: the criteria loop, the progress dialog with its
// stop question, the end of a search, and the two pattern dialogs with their shared histories.
#include "tests/explorer/SearchLibraryFixture.h"

#include "explorer/SearchCommand.h"
#include "piclist/PatternDialogs.h"
#include "shell/AppMessages.h"
#include "shell/Settings.h"
#include "framework/Exceptions.h"
#include "framework/TestSeams.h"
#include "framework/WinThread.h"
#include "resources/resource.h"

#include <functional>
#include <vector>

using namespace searchtest;

namespace {

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

std::vector<std::string> ComboItems(CWnd* pDlg)
{
    std::vector<std::string> items;
    HWND hCombo = ::GetDlgItem(pDlg->GetSafeHwnd(), IDC_PATTERN_COMBO);
    const int count = static_cast<int>(SendMessageA(hCombo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[256] = "";
        SendMessageA(hCombo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    return items;
}

std::string Text(CWnd* pDlg, int id)
{
    char text[512] = "";
    ::GetDlgItemTextA(pDlg->GetSafeHwnd(), id, text, sizeof(text));
    return text;
}

std::vector<std::string> List(const CStringArray& a)
{
    std::vector<std::string> out;
    for (INT_PTR i = 0; i < a.GetSize(); ++i)
        out.push_back(static_cast<LPCSTR>(a[i]));
    return out;
}

// Lets a held worker go on.
HANDLE s_go = nullptr;
// WM_SEARCHFINISHED messages received by the test's main-window stand-in.
int s_finished = 0;

LRESULT CALLBACK NotifyProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_SEARCHFINISHED)
        s_finished++;
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

class SearchDialogTest : public SearchLibraryTest {
protected:
    void SetUp() override
    {
        SearchLibraryTest::SetUp();
        WNDCLASSA wc = {};
        wc.lpfnWndProc = NotifyProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "SearchDialogTestNotify";
        RegisterClassA(&wc);
        m_hNotify =
            CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        s_finished = 0;
        s_go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        g_strSearchName = "plage";
        g_strSearchAuthor.Empty();
        g_strSearchKeyword.Empty();
        g_strSearchComment.Empty();
    }
    void TearDown() override
    {
        DestroyWindow(m_hNotify);
        CloseHandle(s_go);
        SearchLibraryTest::TearDown();
    }
    // Runs the progress dialog over the library; `whileOpen` plays once it is shown.
    INT_PTR RunProgress(CSearchProgressDlg& dlg, std::vector<AfxModalStep> steps)
    {
        PrepareSearch(dlg, Root().c_str(), FALSE);
        dlg.m_hWndNotify = m_hNotify;
        AfxModalStep last;
        last.buttonId = 0;
        last.check = [&dlg](CWnd*) {
            PumpUntil([&dlg] { return dlg.Block().done.load() != 0 && dlg.m_nTimerId == 0; });
        };
        steps.push_back(last);
        AfxScriptModal(IDD_SEARCH_PROGRESS, steps);
        return dlg.DoModal();
    }
    bool FinishedPosted()
    {
        AfxPumpPendingMessages();
        return s_finished == 1;
    }

    HWND m_hNotify = nullptr;
};

// Holds the worker after its first record until the test lets it go.
void HoldAfterFirstRecord(SearchProgress* p)
{
    if (p->current.load() == 2)
        WaitForSingleObject(s_go, 30000);
}

} // namespace

TEST_F(SearchDialogTest, ProgressDialogRunsTheWorkerToItsEndAndTellsTheMainWindow)
{
    Fill(kPictures, 0, 60, 3);
    CSearchProgressDlg dlg;
    EXPECT_EQ(RunProgress(dlg, {}), IDOK);
    EXPECT_TRUE(FinishedPosted());
    EXPECT_EQ(dlg.Block().cancel.load(), 0);
    EXPECT_EQ(dlg.Block().total.load(), 60);
    EXPECT_EQ(dlg.m_hThread, nullptr);
    EXPECT_EQ(HitNumbers(g_arrSearchResults).size(), 12u);

    int opened = 0;
    FinishSearch(dlg.Block(), [&] {
        opened++;
        EXPECT_EQ(g_arrSearchResults.GetSize(), 12);
    });
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(g_arrSearchResults.GetSize(), 0);
    EXPECT_TRUE(AfxTestRecords().messageBoxes.empty());
    EXPECT_EQ(AfxTestPendingScripts(), "");
}

TEST_F(SearchDialogTest, StopAnsweredYesEndsWithNeitherWindowNorMessage)
{
    Fill(kPictures, 0, 60, 3);
    CSearchProgressDlg dlg;
    dlg.Block().pfnAfterEntry = HoldAfterFirstRecord;
    AfxScriptMessageBox(IDYES);
    AfxModalStep held;
    held.buttonId = 0;
    held.check = [&dlg](CWnd*) { PumpUntil([&dlg] { return dlg.Block().current.load() == 2; }); };
    AfxModalStep press;
    press.buttonId = IDCANCEL;
    press.check = [](CWnd* pDlg) {
        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(pDlg->GetSafeHwnd(), IDCANCEL)));
        SetEvent(s_go);
    };
    EXPECT_EQ(RunProgress(dlg, {held, press}), IDOK);
    ASSERT_EQ(AfxTestRecords().messageBoxes.size(), 1u);
    EXPECT_EQ(AfxTestRecords().messageBoxes[0].text,
              "Voulez-vous r\xE9\x65llement interrompre la recherche ?");
    EXPECT_EQ(dlg.Block().cancel.load(), 1);
    EXPECT_EQ(dlg.Block().current.load(), 2); // the worker took no record after the stop
    EXPECT_TRUE(FinishedPosted());

    int opened = 0;
    FinishSearch(dlg.Block(), [&] { opened++; });
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(AfxTestRecords().messageBoxes.size(), 1u);
    EXPECT_EQ(g_arrSearchResults.GetSize(), 0);
}

TEST_F(SearchDialogTest, StopAnsweredNoLetsTheSearchGoOnWithTheSameHits)
{
    Fill(kPictures, 0, 60, 3);
    CSearchProgressDlg dlg;
    dlg.Block().pfnAfterEntry = HoldAfterFirstRecord;
    AfxScriptMessageBox(IDNO);
    AfxModalStep held;
    held.buttonId = 0;
    held.check = [&dlg](CWnd*) { PumpUntil([&dlg] { return dlg.Block().current.load() == 2; }); };
    AfxModalStep press;
    press.buttonId = IDCANCEL;
    press.check = [](CWnd* pDlg) {
        EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(pDlg->GetSafeHwnd(), IDCANCEL)));
        SetEvent(s_go);
    };
    EXPECT_EQ(RunProgress(dlg, {held, press}), IDOK);
    EXPECT_EQ(dlg.Block().cancel.load(), 0);
    EXPECT_EQ(dlg.Block().current.load(), 61);
    EXPECT_EQ(HitNumbers(g_arrSearchResults).size(), 12u);
}

TEST_F(SearchDialogTest, EmptyLibraryShowsNoMatchAndLeavesTheBarAtZero)
{
    CSearchProgressDlg dlg;
    AfxModalStep look;
    look.buttonId = 0;
    look.check = [&dlg](CWnd* pDlg) {
        PumpUntil([&dlg] { return dlg.Block().done.load() != 0; });
        EXPECT_EQ(SendMessageA(::GetDlgItem(pDlg->GetSafeHwnd(), IDC_SEARCH_PROGRESS), PBM_GETPOS, 0, 0), 0);
        EXPECT_EQ(Text(pDlg, IDC_SEARCH_FOUND), "0");
    };
    EXPECT_EQ(RunProgress(dlg, {look}), IDOK);
    EXPECT_EQ(dlg.Block().total.load(), 0);
    FinishSearch(dlg.Block(), [] { ADD_FAILURE() << "no window without hits"; });
    ASSERT_EQ(AfxTestRecords().messageBoxes.size(), 1u);
    EXPECT_EQ(AfxTestRecords().messageBoxes[0].text, "Aucune concordance trouv\xE9\x65.");
}

// An error in the worker ends the search, never the program: the dialog closes as after any end, and
// the end says why and opens no window with the hits found before it.
TEST_F(SearchDialogTest, AnErrorInTheWorkerEndsTheSearchAndSaysWhy)
{
    Fill(kPictures, 0, 60, 3);
    CSearchProgressDlg dlg;
    dlg.Block().pfnAfterEntry = [](SearchProgress* p) {
        if (p->current.load() == 31)
            throw CFileException(CFileException::hardIO);
    };
    EXPECT_EQ(RunProgress(dlg, {}), IDOK);
    EXPECT_TRUE(FinishedPosted());
    EXPECT_EQ(dlg.Block().failed.load(), 1);
    EXPECT_EQ(g_arrSearchResults.GetSize(), 0);
    int opened = 0;
    FinishSearch(dlg.Block(), [&] { opened++; });
    EXPECT_EQ(opened, 0);
    ASSERT_EQ(AfxTestRecords().messageBoxes.size(), 1u);
    EXPECT_FALSE(AfxTestRecords().messageBoxes[0].text.empty());
    EXPECT_EQ(AfxTestRecords().messageBoxes[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
}

// All blank: string 187 and the dialog again, showing the trimmed texts; then the texts are kept trimmed.
// Each field stops at 100 characters. Cancel leaves the previous criteria.
TEST_F(SearchDialogTest, CriteriaDialogAsksAgainUntilOneCriterionIsGiven)
{
    g_strSearchName = "ancien";
    AfxModalStep blanks;
    blanks.fields = {{IDC_SEARCH_NAME, "   "},
                     {IDC_SEARCH_AUTHOR, " "},
                     {IDC_SEARCH_KEYWORD, ""},
                     {IDC_SEARCH_COMMENT, "\t"}};
    AfxScriptModal(IDD_SEARCH_LIBRARY, {blanks});
    AfxModalStep given;
    given.buttonId = 0;
    given.check = [](CWnd* pDlg) {
        EXPECT_EQ(Text(pDlg, IDC_SEARCH_NAME), "");
        for (int id : {IDC_SEARCH_NAME, IDC_SEARCH_AUTHOR, IDC_SEARCH_KEYWORD, IDC_SEARCH_COMMENT})
            EXPECT_EQ(SendMessageA(::GetDlgItem(pDlg->GetSafeHwnd(), id), EM_GETLIMITTEXT, 0, 0), 100);
    };
    AfxModalStep ok;
    ok.fields = {{IDC_SEARCH_NAME, "  \xC9t\xE9  "}, {IDC_SEARCH_KEYWORD, "mer "}};
    AfxScriptModal(IDD_SEARCH_LIBRARY, {given, ok});
    EXPECT_TRUE(AskSearchCriteria(nullptr));
    ASSERT_EQ(AfxTestRecords().messageBoxes.size(), 1u);
    EXPECT_EQ(AfxTestRecords().messageBoxes[0].text,
              "Vous devez sp\xE9\x63ifier un crit\xE8re de recherche.");
    EXPECT_EQ(std::string(g_strSearchName), "\xC9t\xE9");
    EXPECT_EQ(std::string(g_strSearchKeyword), "mer");
    EXPECT_EQ(std::string(g_strSearchAuthor), "");

    // The next time the dialog opens on them; cancel keeps them.
    AfxModalStep shown;
    shown.buttonId = IDCANCEL;
    shown.check = [](CWnd* pDlg) { EXPECT_EQ(Text(pDlg, IDC_SEARCH_NAME), "\xC9t\xE9"); };
    AfxModalStep change;
    change.fields = {{IDC_SEARCH_NAME, "autre"}};
    change.buttonId = 0;
    AfxScriptModal(IDD_SEARCH_LIBRARY, {change, shown});
    EXPECT_FALSE(AskSearchCriteria(nullptr));
    EXPECT_EQ(std::string(g_strSearchName), "\xC9t\xE9");
    EXPECT_EQ(AfxTestPendingScripts(), "");
}

// The select dialog opens on the newest pattern with the history listed and the replace box ticked;
// the accepted pattern comes back lower-cased at the front, once, whatever its case or accents.
TEST_F(SearchDialogTest, PatternDialogsShareNewestFirstHistoriesWithoutDuplicates)
{
    g_SelectFilterList.RemoveAll();
    for (const char* p : {"*.*", "*.png", "\xE9t\xE9*.jpg"})
        g_SelectFilterList.Add(p);
    AfxModalStep look;
    look.buttonId = 0;
    look.check = [](CWnd* pDlg) {
        EXPECT_EQ(ComboItems(pDlg), (std::vector<std::string>{"*.*", "*.png", "\xE9t\xE9*.jpg"}));
        EXPECT_EQ(Text(pDlg, IDC_PATTERN_COMBO), "*.*");
        EXPECT_EQ(SendMessageA(::GetDlgItem(pDlg->GetSafeHwnd(), IDC_PATTERN_REPLACE), BM_GETCHECK, 0, 0),
                  BST_CHECKED);
    };
    AfxModalStep type;
    type.fields = {{IDC_PATTERN_COMBO, "\xC9T\xC9*.JPG"}, {IDC_PATTERN_REPLACE, "0"}};
    AfxScriptModal(IDD_SELECT_PICTURES, {look, type});
    CString pattern;
    BOOL replace = TRUE;
    ASSERT_TRUE(AskSelectPattern(nullptr, &pattern, &replace));
    EXPECT_EQ(std::string(pattern), "\xE9t\xE9*.jpg");
    EXPECT_FALSE(replace);
    EXPECT_EQ(List(g_SelectFilterList), (std::vector<std::string>{"\xE9t\xE9*.jpg", "*.*", "*.png"}));

    // The next time it opens on that pattern; a cancel changes nothing, an empty pattern is not kept.
    AfxModalStep again;
    again.buttonId = IDCANCEL;
    again.check = [](CWnd* pDlg) { EXPECT_EQ(Text(pDlg, IDC_PATTERN_COMBO), "\xE9t\xE9*.jpg"); };
    AfxScriptModal(IDD_SELECT_PICTURES, {again});
    EXPECT_FALSE(AskSelectPattern(nullptr, &pattern, &replace));
    AfxScriptNextModal(IDD_SELECT_PICTURES, {{IDC_PATTERN_COMBO, ""}}, IDOK);
    ASSERT_TRUE(AskSelectPattern(nullptr, &pattern, &replace));
    EXPECT_EQ(List(g_SelectFilterList).size(), 3u);

    g_UnselectFilterList.RemoveAll();
    g_UnselectFilterList.Add("*.*");
    AfxScriptNextModal(IDD_DESELECT_PICTURES, {{IDC_PATTERN_COMBO, "*.GIF"}}, IDOK);
    ASSERT_TRUE(AskDeselectPattern(nullptr, &pattern));
    EXPECT_EQ(std::string(pattern), "*.gif");
    AfxScriptNextModal(IDD_DESELECT_PICTURES, {{IDC_PATTERN_COMBO, "*.*"}}, IDOK);
    ASSERT_TRUE(AskDeselectPattern(nullptr, &pattern));
    EXPECT_EQ(List(g_UnselectFilterList), (std::vector<std::string>{"*.*", "*.gif"}));
    EXPECT_EQ(AfxTestPendingScripts(), "");
}
