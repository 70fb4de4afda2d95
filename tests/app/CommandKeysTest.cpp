// After every command the keys are where the command puts them, else back where the user was. Every
// command of the main frame, the library bar, the explorer and the search window (read from the menus,
// keyboard table and tool bars themselves) is given from each place the user can be in (the library's
// list and tree, an explorer's list and tree, a search list, a picture window), with an explorer whose
// pictures are all selected, a search window, a picture window and the library bar open. Every box and
// dialog it opens is cancelled unless its row says otherwise, a window or an edit it leaves in front is
// closed with a real Escape: the keys must then be where the table below says, and a command the table
// does not name gives them back to the place it was given from. A picture shown full screen from a
// list and the library's print end with a real Delete, which must act on what the user was on.
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
#include "resources/dialogs-ids.h"
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

// The places the user can be in, in the order of the test names below; for the table, bit n is place n.
const int kPlaces = 6;
enum : unsigned {
    kFromLibrary = 3,
    kExplorerInFront = 15, // the library's and the explorer's places, where its commands reach the explorer
    kFromSearch = 16,
    kOutsideTheBar = 60, // the other places, where the library's list had the keys last
    kFromEverywhere = 63,
};

// Where the keys are when a command has ended. The places' own values come first, in their order.
enum class Keys { LibraryList, LibraryTree, ExplorerList, ExplorerTree, Back, NewWindow };

// What a row does with the box its command opens, instead of cancelling it.
enum class Answer { Cancel, PrintOptionsOk, NewFolderNamed };

struct KeysRow {
    std::vector<UINT> ids;
    unsigned from;
    Keys to;
    Answer answer = Answer::Cancel;
};

// Where each command puts the keys, when not back where it was given from.
const KeysRow kWhereKeysGo[] = {
    // The bar hidden with the keys in it hands them to the window in front.
    {{ID_VIEW_LIBRARY_BAR}, kFromLibrary, Keys::ExplorerList},
    // The library's selection commands and views end in its list.
    {{ID_LIB_SELECT_ALL, ID_LIB_DESELECT_ALL, ID_LIB_INVERT_SELECTION, ID_LIB_SELECT_PATTERN,
      ID_LIB_DESELECT_PATTERN, ID_LIB_VIEW_LARGE, ID_LIB_VIEW_MEDIUM, ID_LIB_VIEW_SMALL, ID_LIB_VIEW_LIST},
     kFromEverywhere,
     Keys::LibraryList},
    // These end with the bar taking the keys: its list had them last.
    {{ID_LIB_SELECTION_MENU, ID_LIB_VIEW_MENU, ID_LIB_PROPERTIES, ID_LIB_EXPORT, ID_LIB_RENAME,
      ID_LIB_DELETE},
     kOutsideTheBar,
     Keys::LibraryList},
    // The explorer's selection commands and views end in its list (the first view is the one shown), and
    // so do its pop-up and delete, which act on the list as it had the keys last.
    {{ID_EXPLORER_SELECT_ALL, ID_EXPLORER_DESELECT_ALL, ID_EXPLORER_INVERT_SELECTION,
      ID_EXPLORER_SELECT_PATTERN, ID_EXPLORER_DESELECT_PATTERN, ID_EXPLORER_VIEW_MEDIUM,
      ID_EXPLORER_VIEW_SMALL, ID_EXPLORER_VIEW_LIST},
     kExplorerInFront,
     Keys::ExplorerList},
    {{ID_EXPLORER_SELECTION_MENU, ID_EXPLORER_DELETE}, kFromLibrary, Keys::ExplorerList},
    // A new folder made goes on in the explorer's tree.
    {{ID_EXPLORER_NEW_FOLDER}, kExplorerInFront, Keys::ExplorerTree, Answer::NewFolderNamed},
    // A print preview closed gives them back.
    {{ID_FILE_PRINT_PREVIEW}, kFromEverywhere, Keys::Back, Answer::PrintOptionsOk},
    // A window of the frame opened keeps them.
    {{ID_NEW_EXPLORER, ID_LIB_OPEN_PICTURE, ID_TWAIN_ACQUIRE, ID_EDIT_PASTE_NEW, ID_FILE_MRU_FILE1},
     kFromEverywhere,
     Keys::NewWindow},
    {{ID_EXPLORER_OPEN}, kExplorerInFront | kFromSearch, Keys::NewWindow},
};

const KeysRow& WhereKeysGo(UINT id, int place)
{
    static const KeysRow back = {{}, kFromEverywhere, Keys::Back};
    for (const KeysRow& row : kWhereKeysGo)
        if (std::count(row.ids.begin(), row.ids.end(), id) > 0 && (row.from & (1u << place)))
            return row;
    return back;
}

const char* const kKeysNames[] = {"the library's list",  "the library's tree",          "the explorer's list",
                                  "the explorer's tree", "the place it was given from", "a new window"};

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
                pView == m_pExplorer
                && (m_pExplorer->GetListFolder().CompareNoCase(m_folder.c_str()) != 0
                    || m_pExplorer->m_tree.GetTreeItemPath(m_pExplorer->m_tree.GetSelectedItem())
                               .CompareNoCase(m_folder.c_str())
                           != 0);
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
        // The explorer's pictures all selected, the library's and search's first; the explorer's and the
        // library's lists had the keys last (unless a tree has them now), so that their commands act on
        // them.
        m_pExplorer->m_bListHasFocus = ::GetFocus() != m_pExplorer->m_tree.m_hWnd;
        Bar()->m_bListHasFocus = ::GetFocus() != Bar()->m_tree.m_hWnd;
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
    // The command given as its menu item or key gives it from the place, then what it left in front (a
    // full-screen picture, a print preview, a slide show, an edit) closed with a real Escape. Empty when
    // the keys are where its row says.
    std::string Run(UINT id, int place)
    {
        const KeysRow& row = WhereKeysGo(id, place);
        if (row.answer == Answer::PrintOptionsOk)
            AfxScriptNextModal(IDD_PRINT_LIST, {}, IDOK);
        if (row.answer == Answer::NewFolderNamed)
            AfxScriptNextModal(IDD_NEW_FOLDER, {{IDC_NEWFOLDER_NAME, "Nouveau"}}, IDOK);
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
        auto settled = [&] {
            return ::GetActiveWindow() == m_pFrame->m_hWnd
                   && (InScene(::GetFocus()) || inNewWindow(::GetFocus()));
        };
        if (!settled()) {
            RealKeys({VK_ESCAPE});
            const DWORD deadline = ::GetTickCount() + 2000;
            while (!settled() && ::GetTickCount() < deadline)
                Pump();
        }
        Pump();
        const HWND hFocus = ::GetFocus();
        if (row.to == Keys::NewWindow
                ? inNewWindow(hFocus)
                : hFocus == Place(row.to == Keys::Back ? place : int(row.to)).first->m_hWnd)
            return "";
        char cls[64] = "(none)";
        if (hFocus != nullptr)
            ::GetClassNameA(hFocus, cls, sizeof(cls));
        std::ostringstream out;
        out << "command " << id << ": the keys are in a window of class " << cls;
        for (int other = 0; other < 4; other++)
            if (hFocus == Place(other).first->m_hWnd)
                out << " (" << kKeysNames[other] << ")";
        out << ", not in " << kKeysNames[int(row.to)] << "\n";
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
    // A picture to paste as a new window, whatever the test before left.
    ASSERT_TRUE(::OpenClipboard(m_pFrame->m_hWnd));
    ::EmptyClipboard();
    ::SetClipboardData(CF_BITMAP, ::CreateBitmap(8, 8, 1, 32, nullptr));
    ::CloseClipboard();
    std::set<UINT> ids = ListWindowCommands();
    // The end of the program is no place to come back to.
    ids.erase(ID_APP_EXIT);
    std::string failures;
    for (UINT id : ids) {
        ASSERT_TRUE(Ready()) << id;
        const HWND hOrigin = Enter(GetParam());
        ASSERT_EQ(::GetFocus(), hOrigin);
        Arm();
        failures += Run(id, GetParam());
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

// With no window of the frame open, the library bar shown by a real F9 takes the keys (its list, or
// its tree when the tree had them last); hidden again with them, it hands them to the main window's
// empty client area.
TEST_F(KeysAfterCommands, LibraryBarShownOverNoWindowTakesTheKeysRealKeys)
{
    ASSERT_TRUE(StartWithLibrary());
    ::SetForegroundWindow(m_pFrame->m_hWnd);
    ASSERT_TRUE(Children().empty());
    for (CWnd* pPane : {static_cast<CWnd*>(&Bar()->m_list), static_cast<CWnd*>(&Bar()->m_tree)}) {
        pPane->SetFocus();
        RealKeys({VK_F9});
        EXPECT_TRUE(PumpUntil(
            [this] { return !Bar()->IsWindowVisible() && ::GetFocus() == m_pFrame->m_hWndMDIClient; }));
        RealKeys({VK_F9});
        EXPECT_TRUE(PumpUntil([pPane] { return ::GetFocus() == pPane->m_hWnd; }));
    }
}
