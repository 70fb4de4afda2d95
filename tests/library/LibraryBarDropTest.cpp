// Pictures of the library bar's list dragged onto the folders of its tree: moved with their record
// files, copied with Ctrl, refused on their own folder and on the locked protected folder, deleted
// into the trash; nothing moves when the drag is cancelled.
#include "tests/piclist/LibraryTestSupport.h"

#include "shell/Settings.h"
#include "library/LibraryBar.h"
#include "piclist/LibraryHost.h"
#include "piclist/PicListDrag.h"
#include "piclist/PicObject.h"
#include "library/ProtectedAccess.h"
#include "resources/resource.h"

#include <string>
#include <vector>

using libtest::LibraryStore;

namespace {

HWND g_hUnder = nullptr;
BOOL g_ctrl = FALSE;
HWND SeamWindow(POINT) { return g_hUnder; }
BOOL SeamCtrl() { return g_ctrl; }

LPARAM At(POINT pt) { return MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y)); }

class LibraryBarDropTest : public LibraryStore {
protected:
    void SetUp() override
    {
        LibraryStore::SetUp();
        for (const char* f : {"Images", "Images\\A", "Images\\B"})
            CreateDirectoryA(Path(f).c_str(), nullptr);
        for (const char* name : {"Un", "Deux", "Trois"})
            ASSERT_TRUE(libtest::WriteBmp(Path(std::string("Images\\A\\") + name + ".bmp"), 8, 6, 1));
        g_bProtectedUnlocked = FALSE;
        g_LibrarianSeparatorH = 200;
        g_LibrarianSeparatorV = 200;
        m_savedNotice = GetShowDeleteNotice();
        SetShowDeleteNotice(0);
        ResetPicDragInput();
        g_picDragInput.windowFromPoint = SeamWindow;
        g_picDragInput.ctrlDown = SeamCtrl;
        g_ctrl = FALSE;
        LPCSTR cls = AfxRegisterWndClass(0);
        ASSERT_TRUE(m_host.CreateEx(0, cls, "LibraryBarDropTest", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                    CRect(0, 0, 600, 700), nullptr, 0));
        g_LibrarianLastPath = Path("Images\\A").c_str();
        ASSERT_TRUE(m_bar.Create(&m_host, CBRS_ALIGN_LEFT | WS_VISIBLE, ID_LIBRARY_BAR));
        CRect rect(0, 0, 260, 600);
        m_bar.MoveWindow(&rect);
        m_bar.OnIdle();
        ASSERT_EQ(m_bar.m_list.GetCount(), 3);
        HTREEITEM hImages = Find(m_bar.m_tree.RootItem(), "Images");
        ASSERT_NE(hImages, nullptr);
        m_bar.m_tree.Expand(hImages, TVE_EXPAND);
        m_hB = Find(hImages, "B");
        ASSERT_NE(m_hB, nullptr);
    }
    void TearDown() override
    {
        if (::IsWindow(m_host.m_hWnd))
            m_host.DestroyWindow();
        ResetPicDragInput();
        SetShowDeleteNotice(m_savedNotice);
        g_bProtectedUnlocked = FALSE;
        g_LibrarianLastPath.Empty();
        LibraryStore::TearDown();
    }
    HTREEITEM Find(HTREEITEM parent, const char* label)
    {
        for (HTREEITEM h = m_bar.m_tree.GetChildItem(parent); h; h = m_bar.m_tree.GetNextSiblingItem(h))
            if (m_bar.m_tree.GetItemText(h) == label)
                return h;
        return nullptr;
    }
    // Selects the items, presses on the first, moves over the tree item and (unless told) lets go.
    void Drag(const std::vector<int>& items, HTREEITEM hTarget, BOOL release = TRUE)
    {
        CPicListBox& list = m_bar.m_list;
        list.SetSel(-1, FALSE);
        for (int i : items)
            list.SetSel(i, TRUE);
        RECT rc;
        list.GetItemRect(items[0], &rc);
        POINT press = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(press));
        RECT item = {};
        TreeView_GetItemRect(m_bar.m_tree.m_hWnd, hTarget, &item, TRUE);
        POINT over = {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
        ::ClientToScreen(m_bar.m_tree.m_hWnd, &over);
        ::ScreenToClient(list.m_hWnd, &over);
        g_hUnder = m_bar.m_tree.m_hWnd;
        list.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(over));
        if (release)
            list.SendMessage(WM_LBUTTONUP, 0, At(over));
    }
    size_t Files(const char* folder) { return libtest::Snapshot(Path(folder)).size(); }

    CWnd m_host;
    CLibraryBar m_bar;
    HTREEITEM m_hB = nullptr;
    int m_savedNotice = 0;
};

} // namespace

TEST_F(LibraryBarDropTest, TwoPicturesMoveWithTheirRecordsAndCtrlCopies)
{
    ASSERT_EQ(Files("Images\\A"), 6u) << "three pictures and their records";
    std::string first = std::string(m_bar.m_list.GetRecord(0)->m_strFileName);
    std::string third = std::string(m_bar.m_list.GetRecord(2)->m_strFileName);
    Drag({0, 2}, m_hB);
    EXPECT_EQ(m_bar.m_list.GetCount(), 1);
    EXPECT_EQ(Files("Images\\A"), 2u);
    EXPECT_EQ(Files("Images\\B"), 4u);
    EXPECT_FALSE(testpaths::ReadBytes(Path("Images\\B\\" + first)).empty());
    EXPECT_FALSE(testpaths::ReadBytes(Path("Images\\B\\" + third)).empty());
    EXPECT_EQ(g_nDragState, 0);

    g_ctrl = TRUE;
    Drag({0}, m_hB);
    EXPECT_EQ(m_bar.m_list.GetCount(), 1);
    EXPECT_EQ(Files("Images\\A"), 2u);
    EXPECT_EQ(Files("Images\\B"), 6u);
}

TEST_F(LibraryBarDropTest, OwnFolderAndLockedProtectedFolderRefuseAndEscapeMovesNothing)
{
    auto before = libtest::Snapshot(Root());
    HTREEITEM hImages = Find(m_bar.m_tree.RootItem(), "Images");
    HTREEITEM hA = Find(hImages, "A");
    Drag({0, 1}, hA);
    Drag({0, 1}, m_bar.m_tree.ProtectedItem());
    Drag({0, 1}, m_hB, FALSE);
    EXPECT_EQ(g_nDragState, 2);
    m_bar.m_list.SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(g_nDragState, 0);
    m_bar.m_list.SendMessage(WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(libtest::Snapshot(Root()), before);
    EXPECT_EQ(m_bar.m_list.GetCount(), 3);
    EXPECT_EQ(Messages(), 0u);
}

TEST_F(LibraryBarDropTest, DropOnTheTrashDeletesIntoIt)
{
    Drag({1}, m_bar.m_tree.TrashItem());
    EXPECT_EQ(m_bar.m_list.GetCount(), 2);
    EXPECT_EQ(Files("Images\\A"), 4u);
    auto trash = libtest::Snapshot(Trash());
    size_t del = 0, pictures = 0;
    for (const auto& entry : trash) {
        if (entry.first.size() > 4 && entry.first.substr(entry.first.size() - 4) == ".del")
            del++;
        if (entry.first.size() > 4 && entry.first.substr(entry.first.size() - 4) == ".pai")
            pictures++;
    }
    EXPECT_EQ(del, 1u);
    EXPECT_EQ(pictures, 1u);
}
