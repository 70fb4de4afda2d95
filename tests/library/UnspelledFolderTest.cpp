// A folder whose name the code page cannot spell (a Polish "Lodz" with a barred L, made by another
// program) beside "Lodz", the name the ANSI calls would give it: the library tree leaves it out, and no
// command given through the tree's items reaches one folder through the other's item.
#include "tests/piclist/LibraryTestSupport.h"

#include "shell/Settings.h"
#include "framework/TestSeams.h"
#include "library/LibraryBar.h"
#include "piclist/DelObject.h"
#include "piclist/LibraryHost.h"
#include "piclist/PicObject.h"
#include "piclist/SafeFileOps.h"
#include "resources/library-cmds-ids.h"
#include "resources/library-store-ids.h"
#include "resources/resource.h"

#include <functional>
#include <set>
#include <string>
#include <vector>

using libtest::LibraryStore;

namespace {

DWORD g_now = 0;
DWORD FakeNow() { return g_now; }

const wchar_t kUnspelled[] = L"\x0141odz";

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
        ::CreateDirectoryA(Path("Images").c_str(), nullptr);
        // A folder holding only such a folder: nothing the tree can open.
        ::CreateDirectoryA(Path("Images\\Seul").c_str(), nullptr);
        ASSERT_TRUE(::CreateDirectoryW(UnspelledPath("Images\\Seul").c_str(), nullptr));
        LPCSTR cls = AfxRegisterWndClass(0);
        ASSERT_TRUE(m_host.CreateEx(0, cls, "UnspelledFolder", WS_OVERLAPPEDWINDOW, CRect(0, 0, 600, 700),
                                    nullptr, 0));
    }
    void TearDown() override
    {
        if (::IsWindow(m_host.m_hWnd))
            m_host.DestroyWindow();
        CLibraryBar::s_pfnNow = m_pfnSavedNow;
        SetShowDeleteNotice(m_savedNotice);
        g_LibrarianLastPath.Empty();
        LibraryStore::TearDown();
    }
    std::wstring UnspelledPath(const std::string& parent) const
    {
        return testpaths::Wide(Path(parent)) + L"\\" + kUnspelled;
    }
    // parent\Lodz with its two pictures, and beside it the other folder with one of its own.
    void MakePair(const std::string& parent)
    {
        ::CreateDirectoryA(Path(parent).c_str(), nullptr);
        ::CreateDirectoryA(Path(parent + "\\Lodz").c_str(), nullptr);
        ASSERT_TRUE(libtest::WriteBmp(Path(parent + "\\Lodz\\a.bmp"), 8, 6, 1));
        ASSERT_TRUE(libtest::WriteBmp(Path(parent + "\\Lodz\\b.bmp"), 8, 6, 2));
        ASSERT_TRUE(::CreateDirectoryW(UnspelledPath(parent).c_str(), nullptr));
        ASSERT_TRUE(libtest::WriteBmp(Path(parent + "\\keep.tmp"), 8, 6, 3));
        ASSERT_TRUE(::MoveFileW(testpaths::Wide(Path(parent + "\\keep.tmp")).c_str(),
                                (UnspelledPath(parent) + L"\\keep.bmp").c_str()));
    }
    bool HoldsBothPictures(const std::string& folder)
    {
        return Exists(folder + "\\a.bmp") && Exists(folder + "\\b.bmp");
    }
    bool UnspelledKept(const std::string& parent)
    {
        return ::GetFileAttributesW((UnspelledPath(parent) + L"\\keep.bmp").c_str())
               != INVALID_FILE_ATTRIBUTES;
    }
    HTREEITEM Child(HTREEITEM parent, const char* label)
    {
        CLibTreeCtrl& tree = m_bar.m_tree;
        tree.UpdateExpandButton(parent);
        tree.Expand(parent, TVE_EXPAND);
        for (HTREEITEM h = tree.GetChildItem(parent); h != nullptr; h = tree.GetNextSiblingItem(h))
            if (tree.GetItemText(h) == label)
                return h;
        return nullptr;
    }
    std::vector<std::string> ChildNames(HTREEITEM parent)
    {
        Child(parent, "");
        std::vector<std::string> names;
        for (HTREEITEM h = m_bar.m_tree.GetChildItem(parent); h != nullptr;
             h = m_bar.m_tree.GetNextSiblingItem(h))
            names.push_back(static_cast<LPCSTR>(m_bar.m_tree.GetItemText(h)));
        return names;
    }
    // Every item under Images, opened: each names a folder that exists, and no two the same.
    void ExpectEveryItemNamesItsOwnFolder(HTREEITEM parent, std::set<std::string>* pSeen)
    {
        Child(parent, "");
        for (HTREEITEM h = m_bar.m_tree.GetChildItem(parent); h != nullptr;
             h = m_bar.m_tree.GetNextSiblingItem(h)) {
            CString path = m_bar.m_tree.GetItemPath(h);
            const DWORD attributes = ::GetFileAttributesA(path);
            EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
                << static_cast<LPCSTR>(path);
            path.MakeLower();
            EXPECT_TRUE(pSeen->insert(static_cast<LPCSTR>(path)).second) << static_cast<LPCSTR>(path);
            ExpectEveryItemNamesItsOwnFolder(h, pSeen);
        }
    }
    void Choose(HTREEITEM h)
    {
        m_bar.m_tree.SelectItem(h);
        m_bar.m_bListHasFocus = FALSE;
        g_now += 300;
        m_bar.OnIdle();
        g_now += 300;
        m_bar.OnIdle();
    }
    // The trash folder holding that file (file0001.dir\Lodz\a.bmp), or "".
    std::string TrashFolderHolding(const std::string& rel)
    {
        for (int n = 1; n < 10; n++) {
            char name[16];
            snprintf(name, sizeof(name), "file%04X.dir", n);
            if (Exists(Trash() + name + "\\" + rel))
                return Trash() + name;
        }
        return "";
    }

    DWORD (*m_pfnSavedNow)() = nullptr;
    int m_savedNotice = 0;
    CWnd m_host;
    CLibraryBar m_bar;
};

} // namespace

TEST_F(UnspelledFolder, TheTreeLeavesItOutAndEveryCommandActsOnTheFolderItsItemNames)
{
    const char* parents[] = {"Images\\Vue", "Images\\Nom", "Images\\Corbeille", "Images\\Tout"};
    for (const char* parent : parents)
        MakePair(parent);
    g_LibrarianLastPath = Path("Images").c_str();
    ASSERT_TRUE(m_bar.Create(&m_host, CBRS_ALIGN_LEFT | WS_VISIBLE, ID_LIBRARY_BAR));
    m_bar.MoveWindow(CRect(0, 0, 260, 600));
    CLibTreeCtrl& tree = m_bar.m_tree;
    const struct {
        const char* name;
        const char* parent;
        std::function<void(HTREEITEM hParent, HTREEITEM hLodz)> run;
        std::string picturesAt; // where Lodz's pictures are afterwards ("": in the trash)
    } rows[] = {
        {"listed", parents[0],
         [&](HTREEITEM hParent, HTREEITEM hLodz) {
             EXPECT_EQ(ChildNames(hParent), std::vector<std::string>{"Lodz"});
             Choose(hParent);
             EXPECT_EQ(m_bar.m_list.GetCount(), 0);
             Choose(hLodz);
             ASSERT_EQ(m_bar.m_list.GetCount(), 2);
             std::set<std::string> listed;
             for (int i = 0; i < 2; i++)
                 listed.insert(static_cast<LPCSTR>(m_bar.m_list.GetRecord(i)->m_strFileName));
             EXPECT_EQ(listed, (std::set<std::string>{"a.bmp", "b.bmp"}));
         },
         Path("Images\\Vue\\Lodz")},
        {"renamed through its item", parents[1],
         [&](HTREEITEM, HTREEITEM hLodz) {
             Choose(hLodz);
             AfxScriptNextModal(IDD_RENAME_FOLDER, {{IDC_RENAME_FOLDER_NAME, "Varsovie"}}, IDOK);
             m_bar.SendMessage(WM_COMMAND, ID_LIB_RENAME);
             EXPECT_FALSE(Exists(Path("Images\\Nom\\Lodz")));
         },
         Path("Images\\Nom\\Varsovie")},
        {"deleted through its item with the default answer", parents[2],
         [&](HTREEITEM, HTREEITEM hLodz) {
             Choose(hLodz);
             AfxScriptNextModal(IDD_DELETE_FOLDER, {}, IDOK);
             m_bar.SendMessage(WM_COMMAND, ID_LIB_DELETE);
             EXPECT_FALSE(Exists(Path("Images\\Corbeille\\Lodz")));
         },
         ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ResetUi();
        HTREEITEM hParent = Child(Child(tree.RootItem(), "Images"), strrchr(row.parent, '\\') + 1);
        ASSERT_NE(hParent, nullptr);
        HTREEITEM hLodz = Child(hParent, "Lodz");
        ASSERT_NE(hLodz, nullptr);
        row.run(hParent, hLodz);
        EXPECT_EQ(Messages(), 0u);
        EXPECT_TRUE(HoldsBothPictures(row.picturesAt.empty() ? TrashFolderHolding("a.bmp") : row.picturesAt))
            << row.picturesAt;
        EXPECT_TRUE(UnspelledKept(row.parent));
    }
    std::set<std::string> seen;
    ExpectEveryItemNamesItsOwnFolder(tree.ImagesItem(), &seen);
    CString seul = Path("Images\\Seul").c_str();
    seul.MakeLower();
    EXPECT_EQ(seen.count(static_cast<LPCSTR>(seul)), 1u);
    EXPECT_EQ(tree.GetChildItem(Child(tree.ImagesItem(), "Seul")), nullptr) << "no button to open";

    // A folder holding both goes to the trash whole; emptying the trash cannot delete the one by its
    // name, so it deletes none of the folder and says so; restored, both come back whole.
    ResetUi();
    Choose(Child(tree.ImagesItem(), "Tout"));
    AfxScriptNextModal(IDD_DELETE_FOLDER, {}, IDOK);
    m_bar.SendMessage(WM_COMMAND, ID_LIB_DELETE);
    const std::string trashed = TrashFolderHolding("Lodz\\a.bmp");
    ASSERT_NE(trashed, "");
    Choose(tree.TrashItem());
    AfxScriptNextModal(IDD_EMPTY_TRASH_CONFIRM, {}, IDOK);
    m_bar.OnLibEmptyDeleted();
    ASSERT_EQ(Messages(), 1u);
    const std::string said = AfxTestRecords().messageBoxes.back().text;
    EXPECT_NE(said.find("ne peut pas \xE9"
                        "crire"),
              std::string::npos)
        << said;
    EXPECT_TRUE(HoldsBothPictures(trashed + "\\Lodz"));
    EXPECT_TRUE(::GetFileAttributesW((testpaths::Wide(trashed) + L"\\" + kUnspelled + L"\\keep.bmp").c_str())
                != INVALID_FILE_ATTRIBUTES);
    CDelObject item;
    ASSERT_TRUE(item.LoadDel((trashed.substr(0, trashed.size() - 4) + ".del").c_str()));
    EXPECT_TRUE(item.Restore());
    EXPECT_TRUE(HoldsBothPictures(Path("Images\\Tout\\Lodz")));
    EXPECT_TRUE(UnspelledKept("Images\\Tout"));
}
