// A folder whose name the code page cannot spell (a Polish "Lodz" with a barred L, made by another
// program) beside "Lodz", the name the ANSI calls would give it: the library tree leaves it out, and no
// command given through the tree's items reaches one folder through the other's item.
#include "tests/piclist/LibraryTestSupport.h"

#include "shell/Settings.h"
#include "framework/TestSeams.h"
#include "library/LibraryBar.h"
#include "piclist/DelObject.h"
#include "piclist/LibraryHost.h"
#include "resources/library-cmds-ids.h"
#include "resources/library-store-ids.h"
#include "resources/resource.h"

#include <set>
#include <string>

using libtest::LibraryStore;

namespace {

DWORD g_now = 0;
DWORD FakeNow() { return g_now; }

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class UnspelledFolder : public LibraryStore {
protected:
    void SetUp() override
    {
        LibraryStore::SetUp();
        m_pfnSavedNow = CLibraryBar::s_pfnNow;
        CLibraryBar::s_pfnNow = FakeNow;
        m_savedNotice = GetShowDeleteNotice();
        SetShowDeleteNotice(0);
        ASSERT_TRUE(m_host.CreateEx(0, AfxRegisterWndClass(0), "UnspelledFolder", WS_OVERLAPPEDWINDOW,
                                    CRect(0, 0, 600, 700), nullptr, 0));
    }
    void TearDown() override
    {
        m_host.DestroyWindow();
        CLibraryBar::s_pfnNow = m_pfnSavedNow;
        SetShowDeleteNotice(m_savedNotice);
        g_LibrarianLastPath.Empty();
        LibraryStore::TearDown();
    }
    // The other folder in parent, by the wide calls.
    std::wstring Unspelled(const std::string& parent) const
    {
        return testpaths::Wide(parent) + L"\\\x0141odz";
    }
    // parent\Lodz with two pictures; beside it the other folder, with one of its own.
    void MakePair(const std::string& parent)
    {
        ::CreateDirectoryA(Path(parent).c_str(), nullptr);
        ::CreateDirectoryA(Path(parent + "\\Lodz").c_str(), nullptr);
        ASSERT_TRUE(libtest::WriteBmp(Path(parent + "\\Lodz\\a.bmp"), 8, 6, 1));
        ASSERT_TRUE(libtest::WriteBmp(Path(parent + "\\Lodz\\b.bmp"), 8, 6, 2));
        ASSERT_TRUE(::CreateDirectoryW(Unspelled(Path(parent)).c_str(), nullptr));
        ASSERT_TRUE(libtest::WriteBmp(Path(parent + "\\keep.tmp"), 8, 6, 3));
        ASSERT_TRUE(::MoveFileW(testpaths::Wide(Path(parent + "\\keep.tmp")).c_str(),
                                (Unspelled(Path(parent)) + L"\\keep.bmp").c_str()));
    }
    // Both folders whole: Lodz's pictures at lodz, the other's beside them in its parent.
    void ExpectWhole(const std::string& lodz, const std::string& parent)
    {
        EXPECT_TRUE(Exists(lodz + "\\a.bmp") && Exists(lodz + "\\b.bmp")) << lodz;
        EXPECT_NE(::GetFileAttributesW((Unspelled(parent) + L"\\keep.bmp").c_str()), INVALID_FILE_ATTRIBUTES)
            << parent;
    }
    HTREEITEM Open(HTREEITEM parent, const char* label)
    {
        m_bar.m_tree.UpdateExpandButton(parent);
        m_bar.m_tree.Expand(parent, TVE_EXPAND);
        HTREEITEM h = m_bar.m_tree.GetChildItem(parent);
        while (h != nullptr && m_bar.m_tree.GetItemText(h) != label)
            h = m_bar.m_tree.GetNextSiblingItem(h);
        return h;
    }
    // Every item under parent, opened, names a folder that exists, and no two the same.
    void ExpectEachItemNamesItsOwnFolder(HTREEITEM parent, std::set<std::string>* pSeen)
    {
        Open(parent, "");
        for (HTREEITEM h = m_bar.m_tree.GetChildItem(parent); h; h = m_bar.m_tree.GetNextSiblingItem(h)) {
            CString path = m_bar.m_tree.GetItemPath(h);
            const DWORD attributes = ::GetFileAttributesA(path);
            EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
                << static_cast<LPCSTR>(path);
            path.MakeLower();
            EXPECT_TRUE(pSeen->insert(static_cast<LPCSTR>(path)).second) << static_cast<LPCSTR>(path);
            ExpectEachItemNamesItsOwnFolder(h, pSeen);
        }
    }
    // Chooses the item in the tree, as a click would, and lets the bar load it.
    void Choose(HTREEITEM h)
    {
        ASSERT_NE(h, nullptr);
        m_bar.m_tree.SelectItem(h);
        m_bar.m_bListHasFocus = FALSE;
        for (int i = 0; i < 2; i++) {
            g_now += 300;
            m_bar.OnIdle();
        }
    }

    DWORD (*m_pfnSavedNow)() = nullptr;
    int m_savedNotice = 0;
    CWnd m_host;
    CLibraryBar m_bar;
};

} // namespace

TEST_F(UnspelledFolder, TheTreeLeavesItOutAndEveryCommandActsOnTheFolderItsItemNames)
{
    for (const char* parent : {"Images", "Images\\Nom", "Images\\Tout"})
        MakePair(parent);
    ::CreateDirectoryA(Path("Images\\Loin").c_str(), nullptr); // holds them two levels down
    MakePair("Images\\Loin\\Jour");
    ::CreateDirectoryA(Path("Images\\Seul").c_str(), nullptr); // holds only such a folder
    ASSERT_TRUE(::CreateDirectoryW(Unspelled(Path("Images\\Seul")).c_str(), nullptr));
    g_LibrarianLastPath = Path("Images").c_str();
    ASSERT_TRUE(m_bar.Create(&m_host, CBRS_ALIGN_LEFT | WS_VISIBLE, ID_LIBRARY_BAR));
    m_bar.MoveWindow(CRect(0, 0, 260, 600));
    CLibTreeCtrl& tree = m_bar.m_tree;
    std::set<std::string> seen;
    ExpectEachItemNamesItsOwnFolder(tree.ImagesItem(), &seen);
    EXPECT_EQ(seen.size(), 9u)
        << "Loin, Loin\\Jour, Loin\\Jour\\Lodz, Lodz, Nom, Nom\\Lodz, Seul, Tout, Tout\\Lodz";
    EXPECT_EQ(tree.GetChildItem(Open(tree.ImagesItem(), "Seul")), nullptr) << "nothing to open";
    // The real Lodz lists its pictures.
    Choose(Open(tree.ImagesItem(), "Lodz"));
    EXPECT_EQ(m_bar.m_list.GetCount(), 2);

    // Renamed and deleted (with the default answer) through its item, Lodz alone goes.
    Choose(Open(Open(tree.ImagesItem(), "Nom"), "Lodz"));
    AfxScriptNextModal(IDD_RENAME_FOLDER, {{IDC_RENAME_FOLDER_NAME, "Varsovie"}}, IDOK);
    m_bar.SendMessage(WM_COMMAND, ID_LIB_RENAME);
    ExpectWhole(Path("Images\\Nom\\Varsovie"), Path("Images\\Nom"));
    Choose(Open(tree.ImagesItem(), "Lodz"));
    AfxScriptNextModal(IDD_DELETE_FOLDER, {}, IDOK);
    m_bar.SendMessage(WM_COMMAND, ID_LIB_DELETE);
    ExpectWhole(Trash() + "file0001.dir", Path("Images"));
    EXPECT_EQ(Messages(), 0u);

    // A folder holding both, at any depth, goes to the trash whole; emptying the trash cannot delete
    // the other by its name, so it deletes none of that folder and says so, naming the folder and the
    // name; restored, both come back whole.
    for (const char* folder : {"Tout", "Loin"}) {
        Choose(Open(tree.ImagesItem(), folder));
        AfxScriptNextModal(IDD_DELETE_FOLDER, {}, IDOK);
        m_bar.SendMessage(WM_COMMAND, ID_LIB_DELETE);
    }
    Choose(tree.TrashItem());
    AfxScriptNextModal(IDD_EMPTY_TRASH_CONFIRM, {}, IDOK);
    m_bar.OnLibEmptyDeleted();
    ASSERT_EQ(Messages(), 1u);
    const std::string said = AfxTestRecords().messageBoxes[0].text;
    EXPECT_NE(said.find("ne peut pas \xE9"
                        "crire"),
              std::string::npos);
    for (const char* kept :
         {" Le dossier 'Tout' n'a pas \xE9t\xE9 effac\xE9 : il contient 'Tout\\?odz', dont",
          " Le dossier 'Loin' n'a pas \xE9t\xE9 effac\xE9 : il contient 'Loin\\Jour\\?odz', dont"})
        EXPECT_NE(said.find(kept), std::string::npos) << said;
    EXPECT_FALSE(Exists(Trash() + "file0001.dir"));
    ExpectWhole(Trash() + "file0002.dir\\Lodz", Trash() + "file0002.dir");
    for (const char* name : {"file0002.del", "file0003.del"}) {
        CDelObject item;
        ASSERT_TRUE(item.LoadDel((Trash() + name).c_str()));
        EXPECT_TRUE(item.Restore());
    }
    ExpectWhole(Path("Images\\Tout\\Lodz"), Path("Images\\Tout"));
    ExpectWhole(Path("Images\\Loin\\Jour\\Lodz"), Path("Images\\Loin\\Jour"));
}
