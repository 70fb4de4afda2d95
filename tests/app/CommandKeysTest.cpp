// After every command the keys are back where the user was. Every command of the main frame, the
// library bar, the explorer and the search window (read from the menus, keyboard table and tool bars
// themselves) is given from each place the user can be in (the library's list and tree, an explorer's
// list and tree, a search list, a picture window), with an explorer whose pictures are all selected, a
// search window, a picture window and the library bar open. Every box and dialog it opens is
// cancelled, a window or an edit it leaves in front is closed with a real Escape: the keys are then in
// the place the command was given from. Only a command that opened a window of the frame (a picture in
// its own window, a new explorer) leaves them there. A picture shown full screen from a list and the
// library's print end with a real Delete, which must act on what the user was on.
#include "tests/app/CommandIds.h"
#include "tests/app/ListWindowsFixture.h"
#include "tests/app/RealInput.h"
#include "tests/support/PrintedPdf.h"
#include "tests/support/ShownDialogs.h"

#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/StdIds.h"
#include "framework/TestSeams.h"
#include "piclist/PicObject.h"
#include "resources/library-cmds-ids.h"
#include "resources/printing-ids.h"
#include "resources/resource.h"

#include <algorithm>
#include <sstream>
#include <string>

namespace {

HINSTANCE WINAPI NoShell(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT)
{
    return reinterpret_cast<HINSTANCE>(33);
}
BOOL WINAPI NoHelp(HWND, LPCSTR, UINT, ULONG_PTR) { return TRUE; }

// The system's own boxes (the shell's questions and sheets) have no script: a person cancels them.
// The program's own dialogs play their scripts.
void CALLBACK CancelShownDialogs(HWND, UINT, UINT_PTR, DWORD)
{
    for (HWND hBox : ShownDialogs())
        if (CWnd::FromHandlePermanent(hBox) == nullptr)
            ::PostMessageA(hBox, WM_COMMAND, IDCANCEL, 0);
}

// The places the user can be in, in the order of the test names below.
const int kPlaces = 6;

class KeysAfterCommands : public ListWindowsTest {
protected:
    void SetUp() override
    {
        ListWindowsTest::SetUp();
        m_picture = WriteBmp("Plage.bmp", 64, 48);
    }
    void TearDown() override
    {
        if (m_timer != 0)
            ::KillTimer(nullptr, m_timer);
        ListWindowsTest::TearDown();
    }

    // The windows of the scene, made again when a command closed or moved one.
    bool Ready()
    {
        if (!::IsWindowVisible(Bar()->m_hWnd))
            Command(ID_VIEW_LIBRARY_BAR);
        if (Bar()->m_tree.GetSelectedPath() != (m_root + "\\Images").c_str()
            || Bar()->m_list.GetCount() != 2) {
            Bar()->m_tree.SelectPath((m_root + "\\Images").c_str());
            Bar()->RequestFolderReload();
            SettleBar();
        }
        std::vector<CMDIChildWnd*> children = Children();
        for (CMDIChildWnd* pChild : children) {
            CView* pView = pChild->GetActiveView();
            const bool ours = pView == m_pExplorer || pView == m_pSearch || pView == m_pPictureView;
            const bool moved =
                pView == m_pExplorer && m_pExplorer->GetListFolder().CompareNoCase(m_folder.c_str()) != 0;
            if (!ours || moved) {
                // A pasted picture would ask before it is lost.
                if (pView != nullptr && pView->GetDocument() != nullptr)
                    pView->GetDocument()->SetModifiedFlag(FALSE);
                pChild->SendMessage(WM_CLOSE);
                if (pView == m_pExplorer)
                    m_pExplorer = nullptr;
            }
        }
        auto alive = [this](CView* pView) {
            for (CMDIChildWnd* pChild : Children())
                if (pChild->GetActiveView() == pView)
                    return true;
            return false;
        };
        if (m_pPictureView == nullptr || !alive(m_pPictureView)) {
            if (m_pApp->OpenDocumentFile(m_picture.c_str()) == nullptr)
                return false;
            m_pPictureView = m_pFrame->MDIGetActive()->GetActiveView();
        }
        if (m_pSearch == nullptr || !alive(m_pSearch))
            m_pSearch = OpenSearch();
        if (m_pExplorer == nullptr || !alive(m_pExplorer))
            m_pExplorer = OpenExplorer();
        if (m_pSearch == nullptr || m_pExplorer == nullptr)
            return false;
        // The explorer's pictures all selected, the library's and search's first.
        m_pExplorer->m_list.SetSel(-1, TRUE);
        SelectFirst(Bar()->m_list);
        SelectFirst(m_pSearch->m_list);
        Pump();
        return true;
    }
    // A place's window with the keys, and the window of the frame in front meanwhile.
    std::pair<CWnd*, CView*> Place(int place)
    {
        switch (place) {
        case 0:
            return {&Bar()->m_list, m_pExplorer};
        case 1:
            return {&Bar()->m_tree, m_pExplorer};
        case 2:
            return {&m_pExplorer->m_list, m_pExplorer};
        case 3:
            return {&m_pExplorer->m_tree, m_pExplorer};
        case 4:
            return {&m_pSearch->m_list, m_pSearch};
        default:
            return {m_pPictureView, m_pPictureView};
        }
    }
    // Brings the place in front with the keys, as a click there does.
    HWND Enter(int place)
    {
        m_pFrame->MDIActivate(Place(place).second->GetParentFrame());
        Place(place).first->SetFocus();
        return Place(place).first->m_hWnd;
    }
    // Every box unscripted is cancelled (the seams' most cautious answer), the shell's too.
    void Arm()
    {
        AfxTestReset();
        AfxPlatform().pfnShellExecute = NoShell;
        AfxPlatform().pfnWinHelp = NoHelp;
        AfxTestArm();
    }
    // The command given as its menu item or key gives it, then what it left in front (a full-screen
    // picture, a slide show, an edit) closed with a real Escape. Empty when the keys are back in hOrigin,
    // or in a window of the frame that the command opened.
    std::string Run(UINT id, HWND hOrigin)
    {
        const std::vector<CMDIChildWnd*> before = Children();
        m_pFrame->SendMessage(WM_COMMAND, id);
        Pump();
        auto inNewWindow = [&](HWND hWnd) {
            for (CMDIChildWnd* pChild : Children())
                if (std::find(before.begin(), before.end(), pChild) == before.end()
                    && (pChild->m_hWnd == hWnd || ::IsChild(pChild->m_hWnd, hWnd)))
                    return true;
            return false;
        };
        if (::GetFocus() != hOrigin && !InScene(::GetFocus()) && !inNewWindow(::GetFocus())) {
            RealKeys({VK_ESCAPE});
            const DWORD deadline = ::GetTickCount() + 2000;
            while (::GetFocus() != hOrigin && ::GetTickCount() < deadline)
                Pump();
        }
        Pump();
        if (::GetFocus() == hOrigin || inNewWindow(::GetFocus()) || !::IsWindowVisible(hOrigin))
            return "";
        char cls[64] = "";
        ::GetClassNameA(::GetFocus(), cls, sizeof(cls));
        std::ostringstream out;
        out << "command " << id << ": the keys are in a window of class " << cls << "\n";
        return out.str();
    }

    // A window of the places, where Escape has a meaning of its own (the library's hides the bar).
    bool InScene(HWND hWnd)
    {
        for (int place = 0; place < kPlaces; place++)
            if (Place(place).first->m_hWnd == hWnd)
                return true;
        return false;
    }

    std::string m_picture;
    CExplorerView* m_pExplorer = nullptr;
    CSearchView* m_pSearch = nullptr;
    CView* m_pPictureView = nullptr;
    UINT_PTR m_timer = 0;
};

} // namespace

// One place a test, each well within a test's time.
class KeysBackAfterEveryCommandRealKeys : public KeysAfterCommands,
                                          public ::testing::WithParamInterface<int> {};

TEST_P(KeysBackAfterEveryCommandRealKeys, GivenFrom)
{
    ASSERT_TRUE(StartWithLibrary());
    ::SetForegroundWindow(m_pFrame->m_hWnd);
    m_timer = ::SetTimer(nullptr, 0, 50, CancelShownDialogs);
    std::set<UINT> ids = ListWindowCommands();
    // The end of the program is no place to come back to.
    ids.erase(ID_APP_EXIT);
    std::string failures;
    for (UINT id : ids) {
        ASSERT_TRUE(Ready()) << id;
        const HWND hOrigin = Enter(GetParam());
        ASSERT_EQ(::GetFocus(), hOrigin);
        Arm();
        failures += Run(id, hOrigin);
        AfxTestReset();
    }
    EXPECT_EQ(failures, "");
}

std::string PlaceName(const ::testing::TestParamInfo<int>& info)
{
    static const char* const names[] = {"LibraryList",  "LibraryTree", "ExplorerList",
                                        "ExplorerTree", "SearchList",  "Picture"};
    return names[info.param];
}

INSTANTIATE_TEST_SUITE_P(EachPlace, KeysBackAfterEveryCommandRealKeys, ::testing::Range(0, kPlaces),
                         PlaceName);

// A picture opened full screen from the library's list or from an explorer's, and the library's list
// printed for real: once the window has closed, a real Delete acts where the user was. In the library's
// list it sends the selected picture to the trash, asking nothing; in the explorer's, the shell asks
// about the explorer's pictures, and is answered No. Neither reaches the other window's pictures.
TEST_F(KeysAfterCommands, FullScreenAndPrintGiveThemBackToTheListARealKeyDeletesFrom)
{
    ASSERT_TRUE(printed::HavePrinter()) << "the test script sets up a PDF printer";
    ASSERT_TRUE(StartWithLibrary());
    ::SetForegroundWindow(m_pFrame->m_hWnd);
    m_timer = ::SetTimer(nullptr, 0, 50, CancelShownDialogs);
    const std::string job = printed::UniqueJobName("KEYS");
    const struct {
        int place;
        UINT command;
        bool print;
    } rows[] = {
        {0, ID_LIB_OPEN_FULLSCREEN, false}, {0, ID_LIB_PRINT, true}, {2, ID_EXPLORER_OPEN_FULLSCREEN, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.command);
        ASSERT_TRUE(Ready());
        const int libraryCount = Bar()->m_list.GetCount();
        const HWND hOrigin = Enter(row.place);
        Arm();
        if (row.print) {
            AfxScriptNextModal(IDD_PRINT_LIST, {}, IDOK);
            AfxCommonDialogAnswer ok;
            ok.ok = true;
            AfxScriptCommonDialog(AfxCommonDialogKind::Print, ok);
            printed::SpoolLock lock;
            Command(row.command);
            CDocTemplate* pTemplate = m_pApp->GetTemplate(kTemplatePrintLib);
            POSITION pos = pTemplate->GetFirstDocPosition();
            ASSERT_NE(pos, nullptr);
            pTemplate->GetNextDoc(pos)->SetTitle(job.c_str());
            ASSERT_TRUE(PumpUntil([pTemplate] { return pTemplate->GetFirstDocPosition() == nullptr; }));
        } else {
            Command(row.command);
            Pump();
            ASSERT_NE(::GetFocus(), hOrigin); // full screen
            RealKeys({VK_ESCAPE});
        }
        EXPECT_TRUE(PumpUntil([hOrigin] { return ::GetFocus() == hOrigin; }));
        RealKeys({VK_DELETE});
        Pump();
        EXPECT_EQ(Bar()->m_list.GetCount(), libraryCount - (row.place == 0 ? 1 : 0));
        for (const std::string& picture : m_pictures)
            EXPECT_NE(::GetFileAttributesA(picture.c_str()), INVALID_FILE_ATTRIBUTES) << picture;
        AfxTestReset();
        Bar()->m_list.SetSel(-1, FALSE); // the next row starts from the list as it is now
        Bar()->RequestFolderReload();
        SettleBar();
    }
    EXPECT_FALSE(printed::WaitForPdf(job).empty());
    printed::RemoveFilesOf(job);
}
