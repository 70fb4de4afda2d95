// The library-search command of the main frame: available only while the library bar shows; criteria,
// progress and the hits' window end to end; closing the program while a search runs.
#include "tests/app/AppFixture.h"
#include "tests/app/ListBoxRefusal.h"

#include "explorer/SearchView.h"
#include "shell/AppMessages.h"
#include "piclist/PicListBox.h"
#include "shell/Settings.h"
#include "explorer/SearchWorker.h"
#include "piclist/PicObject.h"
#include "framework/Archive.h"
#include "framework/CmdUI.h"
#include "framework/DockBar.h"
#include "framework/File.h"
#include "framework/MDIChildWnd.h"
#include "framework/TestSeams.h"
#include "framework/WinThread.h"
#include "resources/resource.h"

#include <functional>
#include <string>
#include <vector>

namespace {

class LibrarySearchTest : public AppTest {
protected:
    // A library of count records under the scratch folder's "Images", named "Lac <n>" and "Plage <n>".
    void MakeLibrary(int count)
    {
        m_root = m_temp.Path() + "\\Bibli";
        CreateDirectoryA(m_root.c_str(), nullptr);
        CreateDirectoryA((m_root + "\\Images").c_str(), nullptr);
        for (int n = 0; n < count; ++n) {
            CPicObject record;
            const std::string stem = m_root + "\\Images\\Photo" + std::to_string(n);
            record.m_strPath = (stem + ".bmp").c_str();
            record.m_strFileName = ("Photo" + std::to_string(n) + ".bmp").c_str();
            record.m_strBaseName = ((n % 2 ? "Plage " : "Lac ") + std::to_string(n)).c_str();
            record.m_strExt = "bmp";
            CFile out;
            ASSERT_TRUE(out.Open((stem + ".dai").c_str(), CFile::modeCreate | CFile::modeWrite));
            CArchive ar(&out, CArchive::store);
            record.Serialize(ar);
            ar.Close();
            out.Close();
        }
        PutSettingText("folders", "LibrarianLocation", m_root);
    }
    // Searches the names for the text and waits for the end.
    void Search(const char* name)
    {
        CSearchProgressDlg& dlg = m_pFrame->GetSearchProgressDlg();
        AfxScriptNextModal(IDD_SEARCH_LIBRARY, {{IDC_SEARCH_NAME, name}}, IDOK);
        AfxModalStep wait;
        wait.buttonId = 0;
        wait.check = [&dlg](CWnd*) {
            PumpUntil([&dlg] { return dlg.Block().done.load() != 0 && dlg.m_nTimerId == 0; });
        };
        AfxScriptModal(IDD_SEARCH_PROGRESS, {wait});
        m_pFrame->SendMessage(WM_COMMAND, ID_LIB_SEARCH);
        Pump();
    }
    CSearchView* FirstSearchView()
    {
        for (CMDIChildWnd* pChild : Children())
            if (pChild->GetActiveView() != nullptr
                && pChild->GetActiveView()->IsKindOf(RUNTIME_CLASS(CSearchView)))
                return static_cast<CSearchView*>(pChild->GetActiveView());
        return nullptr;
    }
    void ShowBar(BOOL show) { AfxShowControlBar(m_pFrame, m_pFrame->GetLibraryBar(), show, FALSE); }
    int SearchWindows()
    {
        int count = 0;
        for (CMDIChildWnd* pChild : Children())
            if (pChild->GetActiveView() != nullptr
                && pChild->GetActiveView()->IsKindOf(RUNTIME_CLASS(CSearchView)))
                count++;
        return count;
    }

    std::string m_root;
};

} // namespace

TEST_F(LibrarySearchTest, CommandIsAvailableOnlyWhileTheLibraryBarShows)
{
    ASSERT_TRUE(Start());
    ShowBar(FALSE);
    EXPECT_EQ(UpdateOf(m_pFrame, ID_LIB_SEARCH), 0);
    m_pFrame->SendMessage(WM_COMMAND, ID_LIB_SEARCH);
    EXPECT_TRUE(AfxTestRecords().modals.empty());
    ShowBar(TRUE);
    EXPECT_EQ(UpdateOf(m_pFrame, ID_LIB_SEARCH), 1);
}

TEST_F(LibrarySearchTest, CriteriaThenProgressThenTheHitsWindow)
{
    MakeLibrary(30);
    ASSERT_TRUE(Start());
    ShowBar(TRUE);
    CSearchProgressDlg& dlg = m_pFrame->GetSearchProgressDlg();
    AfxScriptNextModal(IDD_SEARCH_LIBRARY, {{IDC_SEARCH_NAME, " PLAGE "}}, IDOK);
    AfxModalStep wait;
    wait.buttonId = 0;
    wait.check = [&dlg](CWnd*) {
        PumpUntil([&dlg] { return dlg.Block().done.load() != 0 && dlg.m_nTimerId == 0; });
    };
    AfxScriptModal(IDD_SEARCH_PROGRESS, {wait});
    m_pFrame->SendMessage(WM_COMMAND, ID_LIB_SEARCH);
    Pump();
    EXPECT_EQ(std::string(g_strSearchName), "PLAGE");
    EXPECT_EQ(dlg.Block().total.load(), 30);
    EXPECT_EQ(dlg.Block().hits.load(), 15);
    EXPECT_EQ(SearchWindows(), 1);
    EXPECT_EQ(g_arrSearchResults.GetSize(), 0); // handed to the window, then dropped
    EXPECT_TRUE(AfxTestRecords().messageBoxes.empty());

    // Nothing found: string 185 and no window.
    AfxScriptMessageBox(IDOK);
    AfxScriptNextModal(IDD_SEARCH_LIBRARY, {{IDC_SEARCH_NAME, "montagne"}}, IDOK);
    AfxScriptModal(IDD_SEARCH_PROGRESS, {wait});
    m_pFrame->SendMessage(WM_COMMAND, ID_LIB_SEARCH);
    Pump();
    EXPECT_EQ(SearchWindows(), 1);
    ASSERT_EQ(AfxTestRecords().messageBoxes.size(), 1u);
    EXPECT_EQ(AfxTestRecords().messageBoxes[0].text, "Aucune concordance trouv\xE9\x65.");
}

// Closing the main window while the worker runs stops it, opens no window, and then closes.
TEST_F(LibrarySearchTest, ClosingTheProgramDuringASearchEndsItCleanly)
{
    MakeLibrary(200);
    ASSERT_TRUE(Start());
    ShowBar(TRUE);
    CSearchProgressDlg& dlg = m_pFrame->GetSearchProgressDlg();
    static HANDLE s_go;
    s_go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    dlg.Block().pfnAfterEntry = [](SearchProgress* p) {
        if (p->current.load() == 11)
            WaitForSingleObject(s_go, 30000);
    };
    HWND hMain = m_pFrame->m_hWnd;
    AfxScriptNextModal(IDD_SEARCH_LIBRARY, {{IDC_SEARCH_NAME, "lac"}}, IDOK);
    AfxModalStep close;
    close.buttonId = 0;
    close.check = [&dlg, hMain](CWnd*) {
        ASSERT_TRUE(PumpUntil([&dlg] { return dlg.Block().current.load() == 11; }));
        ::PostMessageA(hMain, WM_CLOSE, 0, 0);
        AfxPumpPendingMessages();
        EXPECT_TRUE(::IsWindow(hMain)); // waits for the search first
        SetEvent(s_go);
        PumpUntil([&dlg] { return dlg.Block().done.load() != 0 && dlg.m_nTimerId == 0; });
    };
    AfxScriptModal(IDD_SEARCH_PROGRESS, {close});
    m_pFrame->SendMessage(WM_COMMAND, ID_LIB_SEARCH);
    EXPECT_EQ(dlg.Block().cancel.load(), 1);
    EXPECT_EQ(dlg.Block().current.load(), 11); // no record after the stop
    EXPECT_EQ(dlg.m_hThread, nullptr);
    PumpUntil([hMain] { return !::IsWindow(hMain); });
    EXPECT_FALSE(::IsWindow(hMain));
    EXPECT_TRUE(AfxTestRecords().messageBoxes.empty());
    EXPECT_EQ(g_arrSearchResults.GetSize(), 0);
    CloseHandle(s_go);
}

// The hits' window lists every hit from its record (a picture gone since is still listed) and exports
// the selection: new copies, a refused copy reported, and a cancelled replace question ends the batch.
TEST_F(LibrarySearchTest, HitsWindowListsTheHitsAndExportsTheSelection)
{
    MakeLibrary(6);
    for (int n : {1, 3})
        ASSERT_TRUE(testpaths::WriteBytes(m_root + "\\Images\\Photo" + std::to_string(n) + ".bmp",
                                          "picture " + std::to_string(n)));
    ASSERT_TRUE(Start());
    ShowBar(TRUE);
    Search("plage");
    CSearchView* pView = FirstSearchView();
    ASSERT_NE(pView, nullptr);
    CPicListBox& list = pView->GetList();
    ASSERT_EQ(list.GetCount(), 3);
    EXPECT_EQ(std::string(list.GetRecord(0)->m_strBaseName), "Plage 1");
    EXPECT_EQ(std::string(list.GetRecord(2)->m_strBaseName), "Plage 5"); // its picture is gone
    EXPECT_EQ(list.GetSelCount(), 1);
    pView->SendMessage(WM_VIEWSTATUS);
    EXPECT_EQ(std::string(m_pFrame->GetStatusBar()->GetPaneText(1)), "Total: 3 Images (0 octets)");
    EXPECT_EQ(std::string(m_pFrame->GetStatusBar()->GetPaneText(2)), "S\xE9lection: 1 Images (0 octets)");
    EXPECT_EQ(std::string(m_pFrame->GetStatusBar()->GetPaneText(3)), " ");

    const std::string out = m_temp.Path() + "\\Export";
    CreateDirectoryA(out.c_str(), nullptr);
    pView->OnSelectAll();
    AfxCommonDialogAnswer answer;
    answer.ok = true;
    answer.path = out;
    AfxScriptCommonDialog(AfxCommonDialogKind::Folder, answer);
    AfxScriptMessageBox(IDOK);
    pView->OnExport();
    EXPECT_EQ(testpaths::ReadBytes(out + "\\Plage 1.bmp"), "picture 1");
    EXPECT_EQ(testpaths::ReadBytes(out + "\\Plage 3.bmp"), "picture 3");
    EXPECT_EQ(GetFileAttributesA((out + "\\Plage 5.bmp").c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_EQ(AfxTestRecords().messageBoxes.size(), 1u);
    EXPECT_EQ(AfxTestRecords().messageBoxes[0].text,
              "Erreur lors de la copie du fichier " + m_root
                  + "\\Images\\Photo5.bmp. Le fichier est introuvable.");
    EXPECT_EQ(std::string(g_CurrentExportDirectory), out);

    // Again: the first clash asks, and its cancel leaves the rest alone.
    ASSERT_TRUE(testpaths::WriteBytes(out + "\\Plage 3.bmp", "kept"));
    AfxScriptCommonDialog(AfxCommonDialogKind::Folder, answer);
    AfxScriptMessageBox(IDOK);
    AfxScriptNextModal(IDD_FILE_REPLACE, {}, IDCANCEL);
    pView->OnExport();
    EXPECT_EQ(testpaths::ReadBytes(out + "\\Plage 3.bmp"), "kept");
    int questions = 0;
    for (const AfxModalRecord& r : AfxTestRecords().modals)
        questions += r.templateId == IDD_FILE_REPLACE;
    EXPECT_EQ(questions, 1);
}

// The list commands of the hits' window: selection by pattern (shared history), views that keep the
// records, sorting.
TEST_F(LibrarySearchTest, HitsWindowSelectsByPatternChangesViewAndSorts)
{
    MakeLibrary(8);
    ASSERT_TRUE(Start());
    ShowBar(TRUE);
    Search("lac");
    CSearchView* pView = FirstSearchView();
    ASSERT_NE(pView, nullptr);
    CPicListBox& list = pView->GetList();
    ASSERT_EQ(list.GetCount(), 4);

    AfxScriptNextModal(IDD_SELECT_PICTURES, {{IDC_PATTERN_COMBO, "PHOTO[46].*"}}, IDOK);
    pView->SendMessage(WM_COMMAND, ID_EXPLORER_SELECT_PATTERN);
    std::vector<std::string> selected;
    for (int i = 0; i < list.GetCount(); ++i)
        if (list.GetSel(i) > 0)
            selected.push_back(static_cast<LPCSTR>(list.GetRecord(i)->m_strFileName));
    EXPECT_EQ(selected, (std::vector<std::string>{"Photo4.bmp", "Photo6.bmp"}));
    ASSERT_GT(g_SelectFilterList.GetSize(), 0);
    EXPECT_EQ(std::string(g_SelectFilterList[0]), "photo[46].*");

    AfxScriptNextModal(IDD_DESELECT_PICTURES, {{IDC_PATTERN_COMBO, "*4.bmp"}}, IDOK);
    pView->SendMessage(WM_COMMAND, ID_EXPLORER_DESELECT_PATTERN);
    EXPECT_EQ(list.GetSelCount(), 1);

    pView->SendMessage(WM_COMMAND, ID_EXPLORER_VIEW_LIST);
    EXPECT_EQ(list.m_nView, 3);
    EXPECT_EQ(g_TailleVignette, 3);
    ASSERT_EQ(list.GetCount(), 4);
    EXPECT_EQ(list.GetSel(0), 1);

    pView->SendMessage(WM_COMMAND, ID_EXPLORER_SORT_DESCENDING);
    EXPECT_EQ(std::string(list.GetRecord(0)->m_strBaseName), "Lac 6");
    // As in the explorer, the list takes the keyboard: the inverse keeps the caret, all moves it
    // to the first item.
    list.SetCaretIndex(2);
    m_pFrame->SetFocus();
    pView->SendMessage(WM_COMMAND, ID_EXPLORER_INVERT_SELECTION);
    EXPECT_EQ(list.GetSelCount(), 3);
    EXPECT_EQ(::GetFocus(), list.m_hWnd);
    EXPECT_EQ(list.GetCaretIndex(), 2);
    m_pFrame->SetFocus();
    pView->SendMessage(WM_COMMAND, ID_EXPLORER_SELECT_ALL);
    EXPECT_EQ(::GetFocus(), list.m_hWnd);
    EXPECT_EQ(list.GetCaretIndex(), 0);
}

// A view change whose new list window cannot be made keeps the hits in the former view, and the
// stored view with it, as the explorer does; when no window can be made the next change makes one.
TEST_F(LibrarySearchTest, HitsWindowViewChangeThatCannotMakeItsWindowKeepsTheHits)
{
    MakeLibrary(8);
    ASSERT_TRUE(Start());
    ShowBar(TRUE);
    Search("lac");
    CSearchView* pView = FirstSearchView();
    ASSERT_NE(pView, nullptr);
    CPicListBox& list = pView->GetList();
    ASSERT_EQ(list.GetCount(), 4);
    const int view = list.m_nView;
    const int stored = g_TailleVignette;
    ASSERT_LT(view, 2) << "the cases change to the small and list views";
    std::vector<CPicObject*> before;
    for (int i = 0; i < 4; i++)
        before.push_back(list.GetRecord(i));
    const struct {
        UINT command;
        int refusals;
        bool listAfter;
    } cases[] = {{ID_EXPLORER_VIEW_LIST, 1, true}, {ID_EXPLORER_VIEW_SMALL, 2, false}};
    {
        CListBoxRefusal refusal;
        ASSERT_TRUE(refusal.Hooked());
        for (const auto& c : cases) {
            SCOPED_TRACE(c.refusals);
            refusal.RefuseNext(c.refusals);
            pView->SendMessage(WM_COMMAND, c.command);
            EXPECT_EQ(refusal.Left(), 0);
            EXPECT_EQ(::IsWindow(list.m_hWnd) != FALSE, c.listAfter);
            EXPECT_EQ(list.m_nView, view);
            EXPECT_EQ(g_TailleVignette, stored);
            if (c.listAfter) {
                ASSERT_EQ(list.GetCount(), 4);
                for (int i = 0; i < 4; i++)
                    EXPECT_EQ(list.GetRecord(i), before[static_cast<size_t>(i)]);
            }
        }
    }
    pView->SendMessage(WM_COMMAND, ID_EXPLORER_VIEW_LIST);
    EXPECT_TRUE(::IsWindow(list.m_hWnd));
    EXPECT_EQ(list.m_nView, 3);
    EXPECT_EQ(g_TailleVignette, 3);
}
