// The library's commands through the main window on a library of the test's own: importing,
// texts, a numbered series, moving, deleting into the trash, recovering and emptying, first as a
// user would, then with each file step failing in turn; and the commands' greying.
#include "tests/app/AppFixture.h"
#include "tests/app/RealInput.h"
#include "tests/support/ShownDialogs.h"

#include "framework/CmdUI.h"
#include "framework/Document.h"
#include "framework/Menu.h"
#include "framework/TestSeams.h"
#include "library/LibraryBar.h"
#include "piclist/DelObject.h"
#include "piclist/PicObject.h"
#include "piclist/PicPropertySheet.h"
#include "library/ProtectedAccess.h"
#include "piclist/SafeFileOps.h"
#include "piclist/TrashDialogs.h"
#include "resources/library-cmds-ids.h"
#include "resources/library-store-ids.h"
#include "resources/resource.h"
#include "resources/search-ids.h"
#include "shell/Settings.h"
#include "viewers/SlideShowWnd.h"

#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

DWORD g_now = 1000;
DWORD FakeNow() { return g_now; }

std::map<std::string, std::string> Files(const std::string& folder, const std::string& prefix = "")
{
    std::map<std::string, std::string> out;
    WIN32_FIND_DATAA data;
    HANDLE h = ::FindFirstFileA((folder + "\\*").c_str(), &data);
    if (h == INVALID_HANDLE_VALUE)
        return out;
    do {
        std::string name = data.cFileName;
        if (name == "." || name == "..")
            continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            out[prefix + name] = "<dir>";
            for (const auto& sub : Files(folder + "\\" + name, prefix + name + "\\"))
                out.insert(sub);
        } else {
            out[prefix + name] = testpaths::ReadBytes(folder + "\\" + name);
        }
    } while (::FindNextFileA(h, &data));
    ::FindClose(h);
    return out;
}

std::string CommentOf(const std::string& picture)
{
    CPicObject rec;
    rec.m_bReadOnly = TRUE;
    rec.m_strPath = RecordFilePath(picture.c_str());
    return rec.LoadDai() ? std::string(rec.m_strComment) : std::string("<none>");
}

// Types into the page in front of a property sheet.
AfxModalStep TypeOnPage(int page, int id, const std::string& text)
{
    AfxModalStep step;
    step.page = page;
    step.buttonId = 0;
    step.check = [id, text](CWnd* pSheet) {
        HWND hPage =
            reinterpret_cast<HWND>(::SendMessageA(pSheet->GetSafeHwnd(), PSM_GETCURRENTPAGEHWND, 0, 0));
        ::SetDlgItemTextA(hPage, id, text.c_str());
    };
    return step;
}

// A dialog of the system, found by a timer of this thread once it shows: its rectangle, then Cancel.
RECT g_systemDialogRect;
int g_systemDialogsSeen = 0;

void CALLBACK CancelSystemDialog(HWND, UINT, UINT_PTR idEvent, DWORD)
{
    HWND hDlg = ShownDialog();
    if (hDlg == nullptr)
        return;
    ::KillTimer(nullptr, idEvent);
    ::GetWindowRect(hDlg, &g_systemDialogRect);
    g_systemDialogsSeen++;
    ::PostMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
}

class CStateCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        m_bOn = bOn;
    }
    BOOL m_bOn = TRUE;
};

class LibraryCommands : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        m_root = m_temp.File("Biblioth\xE8que");
        ::CreateDirectoryA(m_root.c_str(), nullptr);
        PutSettingText("folders", "LibrarianLocation", m_root + "\\");
        PutSettingText("folders", "LibrarianLastPath", m_root + "\\Images");
        PutSetting("specs", "LibBarTypeCompression", 0);
        PutSetting("prefs", "ShowInfoSuppress", 0);
        g_bProtectedUnlocked = FALSE;
        m_pfnSavedNow = CLibraryBar::s_pfnNow;
        CLibraryBar::s_pfnNow = FakeNow;
        CPicPropertySheet::SetRememberedPage(0);
        for (int i = 0; i < 3; i++)
            m_sources.push_back(
                WriteBmp(std::string("source ") + static_cast<char>('a' + i) + ".bmp", 16 + 4 * i, 8));
    }
    void TearDown() override
    {
        DisarmFileFault();
        CLibraryBar::s_pfnNow = m_pfnSavedNow;
        g_bProtectedUnlocked = FALSE;
        AppTest::TearDown();
    }
    CLibraryBar* Bar() { return m_pFrame->GetLibraryBar(); }
    // Lets the bar's idle step load whatever is chosen.
    void Settle()
    {
        // One thumbnail an idle step, whatever the machine's speed: the scenario's file steps are
        // counted, and each run must meet the same ones.
        Bar()->m_list.m_nBuildSliceMs = 0;
        Bar()->m_list.m_bYieldToInput = FALSE;
        for (int i = 0; i < 3; i++) {
            g_now += 300;
            Bar()->OnIdle();
        }
        Pump();
    }
    void Choose(const std::string& folder)
    {
        Bar()->m_tree.SelectPath(folder.c_str());
        Settle();
    }
    void Command(UINT id) { m_pFrame->SendMessage(WM_COMMAND, id); }
    bool Enabled(UINT id)
    {
        CStateCmdUI state;
        state.m_nID = id;
        state.DoUpdate(m_pFrame, FALSE);
        return state.m_bOn != FALSE;
    }
    void SelectNamed(const std::vector<std::string>& names)
    {
        CPicListBox& list = Bar()->m_list;
        ::SendMessageA(list.m_hWnd, LB_SETSEL, FALSE, -1);
        for (int i = 0; i < list.GetCount(); i++) {
            CObject* pItem = reinterpret_cast<CObject*>(list.GetItemData(i));
            CString fileName;
            if (CPicObject* pRecord = dynamic_cast<CPicObject*>(pItem))
                fileName = pRecord->m_strFileName;
            else if (CDelObject* pDeleted = dynamic_cast<CDelObject*>(pItem))
                fileName = pDeleted->m_strRelPath.Mid(pDeleted->m_strRelPath.ReverseFind('\\') + 1);
            for (const std::string& name : names)
                if (::lstrcmpiA(name.c_str(), fileName) == 0)
                    ::SendMessageA(list.m_hWnd, LB_SETSEL, TRUE, i);
        }
        ListKeys();
    }
    // Where a user's click puts the keys before a command of the list or of the tree: a command
    // acts on what has the keys, and a dialog gives them back where they were.
    void ListKeys() { Bar()->m_list.SetFocus(); }
    void TreeKeys() { Bar()->m_tree.SetFocus(); }
    int Selected() { return static_cast<int>(::SendMessageA(Bar()->m_list.m_hWnd, LB_GETSELCOUNT, 0, 0)); }

    // Import three files, give them a comment, rename them as a series, move them into a folder,
    // delete two into the trash, recover one of them and empty the trash.
    void RunScenario()
    {
        std::string folder = m_temp.Path();
        std::string selection =
            folder + '\0' + "source a.bmp" + '\0' + "source b.bmp" + '\0' + "source c.bmp";
        AfxScriptCommonDialog(AfxCommonDialogKind::Open, {true, selection, 0});
        Command(ID_LIB_IMPORT);
        Settle();

        AfxScriptModal(IDS_SELECTION_PROPERTIES,
                       {TypeOnPage(2, IDC_PICPROP_COMMENT, "Souvenir"), {{}, IDOK}});
        ChangeAll(TRUE);
        Command(ID_LIB_PROPERTIES);

        AfxModalStep name;
        name.fields = {{IDC_RENAME_NAME, "Vacances"}, {IDC_RENAME_ZERO_PAD, "1"}};
        AfxScriptModal(IDD_RENAME_PICTURES, {name});
        ChangeAll(TRUE);
        Command(ID_LIB_RENAME);
        Settle();

        ::CreateDirectoryA((m_root + "\\Images\\Voyage").c_str(), nullptr);
        ChangeAll(TRUE);
        Bar()->MoveOrCopySelectedPictures((m_root + "\\Images\\Voyage").c_str(), FALSE);
        Command(ID_LIB_REFRESH);
        Choose(m_root + "\\Images\\Voyage");

        SelectNamed({"Vacances 01.bmp", "Vacances 02.bmp"});
        Command(ID_LIB_DELETE);
        Settle();

        // The trash lists the newest first, and the two deletes may fall on either side of a tick of
        // its two-second clock: the picture is chosen by its name.
        Choose(m_root + "\\El\xE9ments Supprim\xE9s");
        SelectNamed({"Vacances 01.bmp"});
        if (Bar()->m_list.GetSelCount() == 0 && Bar()->m_list.GetCount() > 0)
            ::SendMessageA(Bar()->m_list.m_hWnd, LB_SETSEL, TRUE, 0);
        AfxScriptNextModal(IDD_RECOVER_CONFIRM, {}, IDOK);
        Command(ID_LIB_RECOVER);
        Settle();
        AfxScriptNextModal(IDD_EMPTY_TRASH_CONFIRM, {}, IDOK);
        Command(ID_LIB_EMPTY_DELETED);
        Settle();
    }
    void ChangeAll(BOOL select)
    {
        ::SendMessageA(Bar()->m_list.m_hWnd, LB_SETSEL, select, -1);
        ListKeys();
    }

    std::string m_root;
    std::vector<std::string> m_sources;
    DWORD (*m_pfnSavedNow)() = nullptr;
};

} // namespace

TEST_F(LibraryCommands, ImportRenameMoveDeleteRecoverEmpty)
{
    ASSERT_TRUE(Start());
    Settle();
    RunScenario();
    auto files = Files(m_root + "\\Images");
    std::string a = testpaths::ReadBytes(m_sources[0]), c = testpaths::ReadBytes(m_sources[2]);
    // Vacances 01 (from a) came back from the trash; Vacances 02 was emptied with it.
    std::map<std::string, std::string> pictures;
    for (const auto& file : files)
        if (file.first.size() > 4 && file.first.substr(file.first.size() - 4) == ".bmp")
            pictures[file.first] = file.second;
    EXPECT_EQ(pictures, (std::map<std::string, std::string>{{"Voyage\\Vacances 01.bmp", a},
                                                            {"Voyage\\Vacances 03.bmp", c}}));
    EXPECT_EQ(files.size(), 5u); // Voyage, two pictures, two records
    EXPECT_EQ(CommentOf(m_root + "\\Images\\Voyage\\Vacances 01.bmp"), "Souvenir");
    EXPECT_EQ(CommentOf(m_root + "\\Images\\Voyage\\Vacances 03.bmp"), "Souvenir");
    EXPECT_TRUE(Files(m_root + "\\El\xE9ments Supprim\xE9s").empty());
    for (size_t i = 0; i < m_sources.size(); i++)
        EXPECT_FALSE(testpaths::ReadBytes(m_sources[i]).empty());
    EXPECT_EQ(AfxTestPendingScripts(), "");
}

// The scenario's steps are many: each of three programs fails every third of them, so that none runs
// long on a busy machine.
class LibraryCommandsSteps : public LibraryCommands, public ::testing::WithParamInterface<int> {};

INSTANTIATE_TEST_SUITE_P(EveryThird, LibraryCommandsSteps, ::testing::Values(0, 1, 2));

TEST_P(LibraryCommandsSteps, EachFailedFileStepOfTheScenarioLosesNothing)
{
    std::vector<std::string> originals;
    for (const std::string& source : m_sources)
        originals.push_back(testpaths::ReadBytes(source));
    ASSERT_TRUE(Start());
    Settle();
    ArmFileFault(kAnyStep, "", 0);
    RunScenario();
    int steps = FileFaultCount();
    ASSERT_GT(steps, 10);
    for (int n = 1 + GetParam(); n <= steps; n += 3) {
        SCOPED_TRACE("failing step " + std::to_string(n));
        DisarmFileFault();
        AfxTestReset();
        AfxTestArm();
        SafeDeleteTree(m_root.c_str());
        ::CreateDirectoryA(m_root.c_str(), nullptr);
        Bar()->m_tree.DeleteAllItems();
        Bar()->m_tree.InitFolders();
        Choose(m_root + "\\Images");
        ArmFileFault(kAnyStep, "", n);
        RunScenario();
        EXPECT_TRUE(FileFaultFired());
        DisarmFileFault();
        // A failed step is said, and changes which dialogs the rest of the scenario meets: no
        // script can foresee them all.
        AfxTestReset();
        AfxTestArm();
        // Every picture file is whole, the one never deleted is still in the library when it got
        // there, nothing is left under a temporary name, and every record kept its texts.
        std::set<std::string> present;
        for (const auto& file : Files(m_root)) {
            EXPECT_EQ(file.first.find(".tmp"), std::string::npos) << file.first;
            const std::string& bytes = file.second;
            if (bytes.compare(0, 2, "BM") == 0) {
                bool whole = false;
                for (const std::string& original : originals)
                    whole |= bytes == original;
                EXPECT_TRUE(whole) << file.first;
                present.insert(bytes);
            }
            if (file.first.size() > 4 && file.first.substr(file.first.size() - 4) == ".dai"
                && file.first.find("El\xE9ments") == std::string::npos) {
                std::string comment =
                    CommentOf(m_root + "\\" + file.first.substr(0, file.first.size() - 4) + ".bmp");
                EXPECT_TRUE(comment == "Souvenir" || comment == "") << file.first << ": " << comment;
            }
        }
        for (size_t i = 0; i < m_sources.size(); i++)
            EXPECT_EQ(testpaths::ReadBytes(m_sources[i]), originals[i]);
        if (n > 8) { // past the three imports and their records
            EXPECT_TRUE(present.count(originals[2]) == 1) << "the picture never deleted";
        }
    }
}

TEST_F(LibraryCommands, CommandsAreGreyedAsTheFolderAndSelectionSay)
{
    ASSERT_TRUE(Start());
    Settle();
    std::string picture = WriteBmp("plage.bmp", 12, 12);
    ASSERT_TRUE(::CopyFileA(picture.c_str(), (m_root + "\\Images\\plage.bmp").c_str(), TRUE));
    Bar()->RequestFolderReload();
    Settle();
    ASSERT_EQ(Bar()->m_list.GetCount(), 1);
    ChangeAll(FALSE);
    for (UINT id : {ID_LIB_OPEN_PICTURE, ID_LIB_OPEN_FULLSCREEN, ID_LIB_PROPERTIES, ID_LIB_EXPORT,
                    ID_LIB_COPY, ID_LIB_RENAME, ID_LIB_DELETE, ID_LIB_RECOVER, ID_LIB_ERASE})
        EXPECT_FALSE(Enabled(id)) << id;
    for (UINT id : {ID_LIB_SELECT_ALL, ID_LIB_SORT_DATE, ID_LIB_VIEW_LIST, ID_LIB_IMPORT, ID_LIB_REFRESH})
        EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_FALSE(Enabled(ID_LIB_EMPTY_DELETED));
    ChangeAll(TRUE);
    for (UINT id :
         {ID_LIB_OPEN_PICTURE, ID_LIB_PROPERTIES, ID_LIB_EXPORT, ID_LIB_COPY, ID_LIB_RENAME, ID_LIB_DELETE})
        EXPECT_TRUE(Enabled(id)) << id;

    // The selection pop-up's choice comes back through the main window to the bar.
    ChangeAll(FALSE);
    AfxScriptPopupMenu(ID_LIB_SELECT_ALL);
    Command(ID_LIB_SELECTION_MENU);
    Pump();
    EXPECT_EQ(Selected(), 1);
    ASSERT_EQ(AfxTestRecords().popupMenus.size(), 1u);

    // A view change rebuilds the list and keeps its pictures; the same view again does nothing.
    Command(ID_LIB_VIEW_LIST);
    EXPECT_EQ(Bar()->m_list.m_nView, 3);
    EXPECT_EQ(g_TailleVignetteLibBar, 3);
    EXPECT_EQ(Bar()->m_list.GetCount(), 1);
    HWND hList = Bar()->m_list.m_hWnd;
    Command(ID_LIB_VIEW_LIST);
    EXPECT_EQ(Bar()->m_list.m_hWnd, hList);
    Command(ID_LIB_SORT_DESCENDING);
    EXPECT_EQ(g_DefaultSortOrderLibBar, 1);

    // In the trash: no sorting, views or import; the delete of the list goes to erasing.
    Command(ID_LIB_DELETE);
    Settle();
    Choose(m_root + "\\El\xE9ments Supprim\xE9s");
    ASSERT_TRUE(Bar()->m_list.LIBLIST_TRASH_MODE);
    for (UINT id :
         {ID_LIB_SORT_NAME, ID_LIB_VIEW_LARGE, ID_LIB_IMPORT, ID_LIB_OPEN_PICTURE, ID_LIB_SLIDESHOW})
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_TRUE(Enabled(ID_LIB_EMPTY_DELETED));
    ChangeAll(TRUE);
    EXPECT_TRUE(Enabled(ID_LIB_RECOVER));
    EXPECT_TRUE(Enabled(ID_LIB_PROPERTIES));
    AfxScriptNextModal(IDD_ERASE_CONFIRM, {}, IDCANCEL);
    Command(ID_LIB_DELETE);
    EXPECT_EQ(Bar()->m_list.GetCount(), 1);
    AfxScriptNextModal(IDD_ERASE_CONFIRM, {}, IDOK);
    Command(ID_LIB_DELETE);
    EXPECT_EQ(Bar()->m_list.GetCount(), 0);
    // The emptied trash's menu: "Recuperer" greyed is not left standing out as its default.
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_CONTEXTMENUS));
    HMENU hTrashMenu = menu.GetSubMenu(7)->GetSafeHmenu();
    ::SetMenuDefaultItem(hTrashMenu, 0, TRUE);
    m_pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hTrashMenu), 0);
    EXPECT_TRUE(::GetMenuState(hTrashMenu, ID_LIB_RECOVER, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_EQ(::GetMenuDefaultItem(hTrashMenu, TRUE, GMDI_USEDISABLED), static_cast<UINT>(-1));
    EXPECT_FALSE(Enabled(ID_LIB_EMPTY_DELETED));
    // What an emptying cut short left, listed nowhere, is emptied still.
    ASSERT_TRUE(testpaths::WriteBytes(m_root + "\\El\xE9ments Supprim\xE9s\\file0007.dai", "record"));
    EXPECT_TRUE(Enabled(ID_LIB_EMPTY_DELETED));
    EXPECT_EQ(AfxTestPendingScripts(), "");
}

// "Rafraichir" shows what another program put into the folder shown, took from it or rewrote (a
// picture or its record file's texts); the pictures that stay keep their selection (also a rewritten
// one), the caret, and the one at the top.
TEST_F(LibraryCommands, RefreshShowsWhatAnotherProgramChangedInTheFolderShown)
{
    const std::string images = m_root + "\\Images\\";
    ::CreateDirectoryA(images.c_str(), nullptr);
    std::set<std::string> before = {"Bateau.bmp", "Dune.bmp", "Phare.bmp"};
    for (int i = 10; i < 40; i++) // enough for the list to scroll
        before.insert("Vue " + std::to_string(i) + ".bmp");
    for (const std::string& name : before)
        ASSERT_TRUE(::CopyFileA(m_sources[0].c_str(), (images + name).c_str(), TRUE));
    ASSERT_TRUE(Start());
    Settle();
    CPicListBox& list = Bar()->m_list;
    auto nameAt = [&](int i) { return std::string(list.GetRecord(i)->m_strFileName); };
    auto indexOf = [&](const std::string& name) {
        for (int i = 0; i < list.GetCount(); i++)
            if (nameAt(i) == name)
                return i;
        return -1;
    };
    auto names = [&](bool selectedOnly) {
        std::set<std::string> out;
        for (int i = 0; i < list.GetCount(); i++)
            if (!selectedOnly || list.GetSel(i) > 0)
                out.insert(nameAt(i));
        return out;
    };
    ASSERT_EQ(names(false), before);
    ASSERT_EQ(indexOf("Bateau.bmp"), 0);
    SelectNamed({"Bateau.bmp", "Phare.bmp"});
    list.SetCaretIndex(indexOf("Phare.bmp"), FALSE);
    list.SetTopIndex(indexOf("Vue 30.bmp"));
    const std::string top = nameAt(list.GetTopIndex());

    // Gone before the top: a column's worth (the top of a list in columns is a column's first item).
    CRect client;
    list.GetClientRect(&client);
    const int column = std::max(1, client.Height() / list.GetItemHeight(0));
    std::vector<std::string> gone = {"Dune.bmp"};
    for (int i = 10; static_cast<int>(gone.size()) < column; i++)
        gone.push_back("Vue " + std::to_string(i) + ".bmp");
    for (const std::string& name : gone) {
        ASSERT_LT(indexOf(name), list.GetTopIndex());
        ASSERT_TRUE(::DeleteFileA((images + name).c_str()));
        before.erase(name);
    }
    ASSERT_TRUE(::CopyFileA(m_sources[1].c_str(), (images + "Zodiaque.bmp").c_str(), TRUE));
    before.insert("Zodiaque.bmp");
    // The first picture is rewritten: its item is replaced, and its selection must follow.
    ASSERT_TRUE(::CopyFileA(m_sources[2].c_str(), (images + "Bateau.bmp").c_str(), FALSE));
    // Another program writes a comment into a record file: it is shown, and a later edit keeps it.
    CPicObject other;
    other.m_strPath = (images + "Phare.bmp").c_str();
    ASSERT_TRUE(other.LoadDai());
    other.m_strComment = "Vu \xE0 Paris";
    ASSERT_TRUE(other.SaveDai());
    // A record the list wrote itself (its thumbnail's, then an edit) is not read again.
    CPicObject* pEdited = list.GetRecord(indexOf(top));
    pEdited->m_strComment = "Vue du haut";
    ASSERT_TRUE(pEdited->SaveDai());
    Command(ID_LIB_REFRESH);
    EXPECT_EQ(list.GetRecord(indexOf(top)), pEdited);
    EXPECT_EQ(std::string(list.GetRecord(indexOf("Phare.bmp"))->m_strComment), "Vu \xE0 Paris");
    EXPECT_EQ(names(false), before);
    EXPECT_EQ(names(true), (std::set<std::string>{"Bateau.bmp", "Phare.bmp"}));
    ASSERT_GE(list.GetCaretIndex(), 0);
    EXPECT_EQ(nameAt(list.GetCaretIndex()), "Phare.bmp");
    EXPECT_EQ(nameAt(list.GetTopIndex()), top);
}

TEST_F(LibraryCommands, FoldersAreRenamedAndDeletedFromTheTree)
{
    ::CreateDirectoryA((m_root + "\\Images").c_str(), nullptr);
    ::CreateDirectoryA((m_root + "\\Images\\Voyage").c_str(), nullptr);
    std::string picture = WriteBmp("port.bmp", 10, 10);
    ASSERT_TRUE(::CopyFileA(picture.c_str(), (m_root + "\\Images\\Voyage\\port.bmp").c_str(), TRUE));
    ASSERT_TRUE(Start());
    Settle();
    TreeKeys();
    EXPECT_FALSE(Enabled(ID_LIB_RENAME)) << "the fixed folders keep their names";
    EXPECT_FALSE(Enabled(ID_LIB_DELETE));
    Choose(m_root + "\\Images\\Voyage");
    TreeKeys();
    EXPECT_TRUE(Enabled(ID_LIB_RENAME));

    AfxScriptNextModal(IDD_RENAME_FOLDER, {{IDC_RENAME_FOLDER_NAME, "..\\Ailleurs"}}, IDOK);
    AfxScriptMessageBox(IDOK);
    Command(ID_LIB_RENAME);
    EXPECT_FALSE(testpaths::ReadBytes(m_root + "\\Images\\Voyage\\port.bmp").empty());
    EXPECT_EQ(AfxTestRecords().messageBoxes.size(), 1u);

    TreeKeys();
    AfxScriptNextModal(IDD_RENAME_FOLDER, {{IDC_RENAME_FOLDER_NAME, "Ailleurs"}}, IDOK);
    Command(ID_LIB_RENAME);
    EXPECT_FALSE(testpaths::ReadBytes(m_root + "\\Images\\Ailleurs\\port.bmp").empty());
    EXPECT_STREQ(Bar()->m_tree.GetSelectedText(), "Ailleurs");
    Settle();

    // Deleting asks first; a refusal keeps everything.
    TreeKeys();
    AfxScriptNextModal(IDD_DELETE_FOLDER, {}, IDCANCEL);
    Command(ID_LIB_DELETE);
    EXPECT_FALSE(testpaths::ReadBytes(m_root + "\\Images\\Ailleurs\\port.bmp").empty());
    TreeKeys();
    AfxScriptNextModal(IDD_DELETE_FOLDER, {}, IDOK);
    Command(ID_LIB_DELETE);
    EXPECT_EQ(::GetFileAttributesA((m_root + "\\Images\\Ailleurs").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_STREQ(Bar()->m_tree.GetSelectedText(), "Images");
    auto trash = Files(m_root + "\\El\xE9ments Supprim\xE9s");
    EXPECT_EQ(trash.count("file0001.del"), 1u);
    EXPECT_EQ(trash.count("file0001.dir\\port.bmp"), 1u);

    // Made anew by F5 on the tree or by a recovery, the tree keeps its folders open, also one inside
    // another, and the folder chosen, with its list.
    CLibTreeCtrl& tree = Bar()->m_tree;
    auto imagesOpen = [&] {
        HTREEITEM hReste = tree.GetChildItem(tree.ImagesItem());
        while (hReste != nullptr && std::string(tree.GetItemText(hReste)) != "Reste")
            hReste = tree.GetNextSiblingItem(hReste);
        return hReste != nullptr && (tree.GetItemState(hReste, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
    };
    ASSERT_TRUE(::CreateDirectoryA((m_root + "\\Images\\Reste").c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA((m_root + "\\Images\\Reste\\Fond").c_str(), nullptr));
    ASSERT_TRUE(::CopyFileA(picture.c_str(), (m_root + "\\Images\\plage.bmp").c_str(), TRUE));
    Command(ID_LIB_REFRESH);
    Choose(m_root + "\\Images\\Reste\\Fond");
    Choose(m_root + "\\Images");
    ASSERT_TRUE(imagesOpen());
    tree.SetFocus();
    PressKey(m_pApp, tree.m_hWnd, 0, VK_F5);
    Settle();
    EXPECT_TRUE(imagesOpen());
    EXPECT_EQ(std::string(tree.GetSelectedPath()), m_root + "\\Images");
    EXPECT_EQ(Bar()->m_list.GetCount(), 1);
    Choose(m_root + "\\El\xE9ments Supprim\xE9s");
    ChangeAll(TRUE);
    AfxScriptNextModal(IDD_RECOVER_CONFIRM, {}, IDOK);
    Command(ID_LIB_RECOVER);
    Settle();
    EXPECT_FALSE(testpaths::ReadBytes(m_root + "\\Images\\Ailleurs\\port.bmp").empty());
    EXPECT_TRUE(imagesOpen());
    EXPECT_EQ(tree.GetSelectedKind(), LIB_KIND_TRASH);
    EXPECT_EQ(AfxTestPendingScripts(), "");
}

// After a recovery, once the idle steps have run, the item now in the first restored one's place is
// selected: in a trash of 5, the 2nd restored, then the 2nd and 3rd.
TEST_F(LibraryCommands, RecoveringSelectsTheItemNowInTheRestoredOnesPlace)
{
    ::CreateDirectoryA((m_root + "\\Images").c_str(), nullptr);
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp", "d.bmp", "e.bmp"})
        ::CopyFileA(m_sources[0].c_str(), (m_root + "\\Images\\" + name).c_str(), TRUE);
    ASSERT_TRUE(Start());
    Settle();
    ChangeAll(TRUE);
    Command(ID_LIB_DELETE);
    Choose(m_root + "\\El\xE9ments Supprim\xE9s");
    ASSERT_EQ(Bar()->m_list.GetCount(), 5);
    for (int last : {1, 2}) {
        ChangeAll(FALSE);
        ::SendMessageA(Bar()->m_list.m_hWnd, LB_SELITEMRANGE, TRUE, MAKELPARAM(1, last));
        AfxScriptNextModal(IDD_RECOVER_CONFIRM, {}, IDOK);
        Command(ID_LIB_RECOVER);
        Settle();
        EXPECT_EQ(Selected(), 1);
        EXPECT_GT(::SendMessageA(Bar()->m_list.m_hWnd, LB_GETSEL, 1, 0), 0) << last;
    }
    EXPECT_EQ(Bar()->m_list.GetCount(), 2);
}

TEST_F(LibraryCommands, ExportCopiesThroughANewFileAndNeverOverTheSource)
{
    ::CreateDirectoryA((m_root + "\\Images").c_str(), nullptr);
    std::string picture = WriteBmp("phare.bmp", 14, 6);
    std::string inLibrary = m_root + "\\Images\\phare.bmp";
    ASSERT_TRUE(::CopyFileA(picture.c_str(), inLibrary.c_str(), TRUE));
    std::string bytes = testpaths::ReadBytes(inLibrary);
    ASSERT_TRUE(Start());
    Settle();
    ASSERT_EQ(Bar()->m_list.GetCount(), 1);
    ChangeAll(TRUE);
    EXPECT_TRUE(Enabled(ID_LIB_EXPORT));

    std::string target = m_temp.File("Export");
    ::CreateDirectoryA(target.c_str(), nullptr);
    AfxScriptCommonDialog(AfxCommonDialogKind::Folder, {true, target, 0});
    AfxScriptMessageBox(IDOK); // how many were exported
    Command(ID_LIB_EXPORT);
    EXPECT_EQ(testpaths::ReadBytes(target + "\\phare.bmp"), bytes);
    ASSERT_FALSE(AfxTestRecords().messageBoxes.empty());
    // The folder on a line of its own, short enough for it: the box breaks its lines at blanks.
    const std::string text = AfxTestRecords().messageBoxes.back().text;
    EXPECT_EQ(text.find("1 image a \xe9t\xe9 export\xe9"
                        "e dans le dossier\n'"),
              0u)
        << text;
    EXPECT_LE(text.size() - text.find('\n'), 42u) << text;
    EXPECT_EQ(text.substr(text.size() - 9), "\\Export'.") << text;
    EXPECT_EQ(g_CurrentExportDirectory, target.c_str());
    EXPECT_EQ(Files(target).size(), 1u) << "no record file, nothing temporary";

    // The library's own folder: the source is the target; it stays whole and alone.
    ChangeAll(TRUE);
    AfxScriptCommonDialog(AfxCommonDialogKind::Folder, {true, m_root + "\\Images", 0});
    AfxScriptMessageBox(IDOK); // none exported
    Command(ID_LIB_EXPORT);
    EXPECT_EQ(testpaths::ReadBytes(inLibrary), bytes);

    // A file of that name in the target is replaced only when the user says so.
    ASSERT_TRUE(testpaths::WriteBytes(target + "\\phare.bmp", "autre"));
    ChangeAll(TRUE);
    AfxScriptNextModal(IDD_FILE_REPLACE, {}, IDNO);
    AfxScriptCommonDialog(AfxCommonDialogKind::Folder, {true, target, 0});
    AfxScriptMessageBox(IDOK); // none exported
    Command(ID_LIB_EXPORT);
    EXPECT_EQ(testpaths::ReadBytes(target + "\\phare.bmp"), "autre");
    ChangeAll(TRUE);
    AfxScriptNextModal(IDD_FILE_REPLACE, {}, IDYES);
    AfxScriptCommonDialog(AfxCommonDialogKind::Folder, {true, target, 0});
    AfxScriptMessageBox(IDOK); // the copy's failure
    AfxScriptMessageBox(IDOK); // none exported
    ArmFileFault(kStepCopy, "", 1);
    Command(ID_LIB_EXPORT);
    DisarmFileFault();
    EXPECT_EQ(testpaths::ReadBytes(target + "\\phare.bmp"), "autre")
        << "a failed copy keeps the file it would replace";
    EXPECT_EQ(Files(target).size(), 1u);
    EXPECT_EQ(testpaths::ReadBytes(inLibrary), bytes);
}

// The system's own import dialog and export folder browser open centred on the main window.
TEST_F(LibraryCommands, ImportDialogAndExportBrowserOpenCentredOnTheMainWindow)
{
    ::CreateDirectoryA((m_root + "\\Images").c_str(), nullptr);
    ASSERT_TRUE(::CopyFileA(m_sources[0].c_str(), (m_root + "\\Images\\phare.bmp").c_str(), TRUE));
    ASSERT_TRUE(Start());
    Settle();
    m_pFrame->SetWindowPos(nullptr, 260, 180, 820, 640, SWP_NOZORDER);
    CRect frame;
    m_pFrame->GetWindowRect(&frame);
    AfxTestReset(); // the real dialogs
    for (UINT id : {ID_LIB_IMPORT, ID_LIB_EXPORT}) {
        SCOPED_TRACE(id);
        ChangeAll(TRUE);
        int seen = g_systemDialogsSeen;
        ::SetTimer(nullptr, 0, 20, CancelSystemDialog);
        Command(id);
        ASSERT_EQ(g_systemDialogsSeen, seen + 1);
        const CRect dialog(g_systemDialogRect);
        EXPECT_NEAR(dialog.CenterPoint().x, frame.CenterPoint().x, 2) << dialog.left;
        EXPECT_NEAR(dialog.CenterPoint().y, frame.CenterPoint().y, 2) << dialog.top;
    }
    AfxTestArm();
}

TEST_F(LibraryCommands, OpeningAndTheSlideShowTakeTheSelection)
{
    ::CreateDirectoryA((m_root + "\\Images").c_str(), nullptr);
    for (const char* name : {"alpha.bmp", "beta.bmp"}) {
        std::string picture = WriteBmp(name, 12, 10);
        ASSERT_TRUE(::CopyFileA(picture.c_str(), (m_root + "\\Images\\" + name).c_str(), TRUE));
    }
    ASSERT_TRUE(Start());
    Settle();
    ASSERT_EQ(Bar()->m_list.GetCount(), 2);
    SelectNamed({"beta.bmp"});
    Command(ID_LIB_OPEN_PICTURE);
    Pump();
    ASSERT_EQ(Children().size(), 1u);
    EXPECT_EQ(ActiveDocument()->GetPathName().CompareNoCase((m_root + "\\Images\\beta.bmp").c_str()), 0);

    // With one picture selected the show takes them all; cancelled, or with no picture it can read (it
    // shows its background alone), it gives the one picture back.
    for (int round = 0; round < 3; round++) {
        for (const char* name : {"alpha.bmp", "beta.bmp"})
            if (round == 2)
                std::ofstream(m_root + "\\Images\\" + name, std::ios::binary) << "BM pas une image";
        SelectNamed({"beta.bmp"});
        AfxScriptNextModal(IDD_SLIDESHOW, {}, round == 1 ? IDCANCEL : IDOK);
        Command(ID_LIB_SLIDESHOW);
        EXPECT_EQ(Selected(), round == 0 ? 2 : 1) << round;
        m_pFrame->GetSlideShow()->DestroyWindow();
    }

    EXPECT_TRUE(Enabled(ID_LIB_AUTO_FULLSCREEN));
    int before = g_PleinEcranAutoLibBar;
    Command(ID_LIB_AUTO_FULLSCREEN);
    EXPECT_EQ(g_PleinEcranAutoLibBar, before ? 0 : 1);
    Command(ID_LIB_AUTO_FULLSCREEN);
    EXPECT_EQ(g_PleinEcranAutoLibBar, before);
}

TEST_F(LibraryCommands, SelectionByPatternKeepsOneSharedHistory)
{
    ::CreateDirectoryA((m_root + "\\Images").c_str(), nullptr);
    for (const char* name : {"mer.bmp", "port.png", "plage.bmp"}) {
        std::string picture = WriteBmp(name, 12, 10);
        ASSERT_TRUE(::CopyFileA(picture.c_str(), (m_root + "\\Images\\" + name).c_str(), TRUE));
    }
    ASSERT_TRUE(Start());
    Settle();
    ASSERT_EQ(Bar()->m_list.GetCount(), 3);
    ChangeAll(TRUE);
    AfxScriptNextModal(IDD_SELECT_PICTURES, {{IDC_PATTERN_COMBO, "*.PNG"}, {IDC_PATTERN_REPLACE, "1"}}, IDOK);
    Command(ID_LIB_SELECT_PATTERN);
    EXPECT_EQ(Selected(), 1);
    AfxScriptNextModal(IDD_SELECT_PICTURES, {{IDC_PATTERN_COMBO, "p*"}, {IDC_PATTERN_REPLACE, "0"}}, IDOK);
    Command(ID_LIB_SELECT_PATTERN);
    EXPECT_EQ(Selected(), 2);
    AfxScriptNextModal(IDD_DESELECT_PICTURES, {{IDC_PATTERN_COMBO, "*.png"}}, IDOK);
    Command(ID_LIB_DESELECT_PATTERN);
    EXPECT_EQ(Selected(), 1);
    ASSERT_GE(g_SelectFilterList.GetSize(), 2);
    EXPECT_STREQ(g_SelectFilterList[0], "p*");
    EXPECT_STREQ(g_SelectFilterList[1], "*.png");
    EXPECT_STREQ(g_UnselectFilterList[0], "*.png");

    // Nothing matching: the message, and the selection as it was.
    AfxScriptMessageBox(IDOK);
    AfxScriptNextModal(IDD_SELECT_PICTURES, {{IDC_PATTERN_COMBO, "*.gif"}, {IDC_PATTERN_REPLACE, "0"}}, IDOK);
    Command(ID_LIB_SELECT_PATTERN);
    EXPECT_EQ(Selected(), 1);
    ASSERT_FALSE(AfxTestRecords().messageBoxes.empty());
    EXPECT_EQ(AfxTestRecords().messageBoxes.back().text, "Aucune concordance trouv\xE9"
                                                         "e.");
}
