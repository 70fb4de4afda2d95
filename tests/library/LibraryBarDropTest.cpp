// Pictures of the library bar's list dragged onto the folders of its tree: moved with their record
// files, copied with Ctrl, refused on their own folder and on the locked protected folder, deleted
// into the trash; nothing moves when the drag is cancelled.
#include "tests/piclist/LibraryTestSupport.h"

#include "shell/Settings.h"
#include "framework/WinThread.h"
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
HWND SeamWindow(POINT) { return g_hUnder; }

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
    // Selects the items, presses on the first, moves over the tree item and (unless told) lets go;
    // moveKeys and upKeys are the key flags the move and the release messages carry.
    void Drag(const std::vector<int>& items, HTREEITEM hTarget, BOOL release = TRUE, WPARAM moveKeys = 0,
              WPARAM upKeys = 0)
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
        list.SendMessage(WM_MOUSEMOVE, MK_LBUTTON | moveKeys, At(over));
        if (release)
            list.SendMessage(WM_LBUTTONUP, upKeys, At(over));
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

    Drag({0}, m_hB, TRUE, MK_CONTROL, MK_CONTROL);
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
    // The delete command comes once the list is done with its button-up.
    MSG posted = {};
    ASSERT_TRUE(::PeekMessageA(&posted, m_bar.m_hWnd, WM_COMMAND, WM_COMMAND, PM_NOREMOVE));
    EXPECT_EQ(LOWORD(posted.wParam), ID_LIB_DELETE);
    EXPECT_EQ(m_bar.m_list.GetCount(), 3);
    AfxPumpPendingMessages();
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

// The drop is decided by the Ctrl key as the release message carries it, not as the key is when the
// message is handled: a busy program handles the release late, after the user let Ctrl go (here the
// key is never down while the messages are handled).
TEST_F(LibraryBarDropTest, CtrlAsCarriedByTheReleaseDecidesBetweenMoveAndDuplicate)
{
    struct Row {
        const char* what;
        WPARAM moveKeys;
        WPARAM upKeys;
        BOOL duplicated;
    };
    const Row rows[] = {
        {"Ctrl held through the drag", MK_CONTROL, MK_CONTROL, TRUE},
        {"Ctrl pressed just before the release", 0, MK_CONTROL, TRUE},
        {"Ctrl let go before the release", MK_CONTROL, 0, FALSE},
        {"no Ctrl", 0, 0, FALSE},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        size_t inA = Files("Images\\A"), inB = Files("Images\\B");
        int listed = m_bar.m_list.GetCount();
        ASSERT_GE(listed, 1);
        Drag({0}, m_hB, TRUE, row.moveKeys, row.upKeys);
        EXPECT_EQ(Files("Images\\B"), inB + 2) << "the picture and its record arrive";
        EXPECT_EQ(Files("Images\\A"), row.duplicated ? inA : inA - 2);
        EXPECT_EQ(m_bar.m_list.GetCount(), row.duplicated ? listed : listed - 1);
        EXPECT_EQ(g_nDragState, 0);
        // B is emptied so that the next row's picture meets no name already there.
        for (const auto& entry : libtest::Snapshot(Path("Images\\B")))
            ::DeleteFileA(Path("Images\\B\\" + entry.first).c_str());
        ASSERT_EQ(Files("Images\\B"), 0u);
    }
}

// Ctrl pressed and let go while the cursor rests over a folder changes the drop as the key messages
// say.
TEST_F(LibraryBarDropTest, CtrlKeyMessagesDuringTheHoldSwitchTheDrop)
{
    size_t inA = Files("Images\\A");
    Drag({0}, m_hB, FALSE);
    EXPECT_EQ(g_nDropCopy, kDropAsMove);
    m_bar.m_list.SendMessage(WM_KEYDOWN, VK_CONTROL, 0);
    EXPECT_EQ(g_nDropCopy, kDropAsCtrlCopy);
    m_bar.m_list.SendMessage(WM_KEYUP, VK_CONTROL, 0xC0000001);
    EXPECT_EQ(g_nDropCopy, kDropAsMove);
    m_bar.m_list.SendMessage(WM_KEYDOWN, VK_CONTROL, 0);
    EXPECT_EQ(g_nDropCopy, kDropAsCtrlCopy);
    POINT at = g_ptDragCursor;
    ::ScreenToClient(m_bar.m_list.m_hWnd, &at);
    m_bar.m_list.SendMessage(WM_LBUTTONUP, MK_CONTROL, At(at));
    EXPECT_EQ(Files("Images\\A"), inA);
    EXPECT_EQ(Files("Images\\B"), 2u);
}
