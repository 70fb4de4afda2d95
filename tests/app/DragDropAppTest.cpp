// Pictures dragged in the running program: from an explorer onto the library's folders and list,
// between library folders with the system's own mouse, and out of the library onto an explorer.
#include "tests/app/AppFixture.h"

#include "explorer/ExplorerView.h"
#include "framework/MDIChildWnd.h"
#include "library/LibraryBar.h"
#include "piclist/PicListDrag.h"
#include "piclist/PicObject.h"
#include "library/ProtectedAccess.h"
#include "resources/resource.h"
#include "shell/Settings.h"

#include <string>
#include <vector>

namespace {

HWND g_hUnder = nullptr;
HWND SeamWindow(POINT) { return g_hUnder; }

LPARAM At(POINT pt) { return MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y)); }

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

POINT ItemCentre(CPicListBox& list, int index)
{
    RECT rc;
    list.GetItemRect(index, &rc);
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

POINT TreeItemScreenPoint(HWND hTree, HTREEITEM hItem)
{
    RECT rc = {};
    TreeView_GetItemRect(hTree, hItem, &rc, TRUE);
    POINT pt = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    ::ClientToScreen(hTree, &pt);
    return pt;
}

class DragDropApp : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        m_root = m_temp.File("Biblioth\xE8que");
        ::CreateDirectoryA(m_root.c_str(), nullptr);
        ::CreateDirectoryA((m_root + "\\Images").c_str(), nullptr);
        ::CreateDirectoryA((m_root + "\\Images\\Voyage").c_str(), nullptr);
        PutSettingText("folders", "LibrarianLocation", m_root + "\\");
        PutSettingText("folders", "LibrarianLastPath", m_root + "\\Images");
        PutSetting("specs", "LibBarTypeCompression", 0);
        g_bProtectedUnlocked = FALSE;
        ResetPicDragInput();
    }
    void TearDown() override
    {
        ResetPicDragInput();
        g_bProtectedUnlocked = FALSE;
        AppTest::TearDown();
    }
    CExplorerView* OpenExplorer(const std::string& folder)
    {
        m_pApp->OpenDocumentFile(folder.c_str());
        CMDIChildWnd* pChild = m_pFrame->MDIGetActive();
        CView* pView = pChild != nullptr ? pChild->GetActiveView() : nullptr;
        if (pView == nullptr || !pView->IsKindOf(RUNTIME_CLASS(CExplorerView)))
            return nullptr;
        static_cast<CExplorerView*>(pView)->OnIdle();
        return static_cast<CExplorerView*>(pView);
    }
    // Drags the list's selection from its first selected item to a screen point over hUnder; with
    // bPump, what the drop posted then runs.
    void Drag(CPicListBox& list, POINT screen, HWND hUnder, bool bPump = true)
    {
        g_picDragInput.windowFromPoint = SeamWindow;
        int first = -1;
        list.GetSelItems(1, &first);
        list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(ItemCentre(list, first)));
        POINT client = screen;
        ::ScreenToClient(list.m_hWnd, &client);
        g_hUnder = hUnder;
        list.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(client));
        list.SendMessage(WM_LBUTTONUP, 0, At(client));
        if (bPump)
            Pump();
    }
    HTREEITEM Child(CLibTreeCtrl& tree, HTREEITEM hParent, const char* label)
    {
        tree.Expand(hParent, TVE_EXPAND);
        for (HTREEITEM h = tree.GetChildItem(hParent); h != nullptr; h = tree.GetNextSiblingItem(h))
            if (tree.GetItemText(h) == label)
                return h;
        return nullptr;
    }
    std::string m_root;
};

} // namespace

TEST_F(DragDropApp, PictureFromAnExplorerIsAddedToALibraryFolderAndToTheListShown)
{
    ASSERT_TRUE(Start());
    CLibraryBar* pBar = m_pFrame->GetLibraryBar();
    pBar->OnIdle();
    ::CreateDirectoryA(m_temp.File("Pics").c_str(), nullptr);
    WriteBmp("Pics\\Plage.bmp", 16, 8);
    WriteBmp("Pics\\Dune.bmp", 24, 8);
    CExplorerView* pView = OpenExplorer(m_temp.File("Pics"));
    ASSERT_NE(pView, nullptr);
    ASSERT_EQ(pView->m_list.GetCount(), 2);
    pView->m_list.SetSel(1, TRUE); // Plage

    HWND hTree = pBar->m_tree.m_hWnd;
    Drag(pView->m_list, TreeItemScreenPoint(hTree, pBar->m_tree.FavoritesItem()), hTree);
    EXPECT_TRUE(Exists(m_root + "\\Images Favorites\\Plage.bmp"));
    EXPECT_TRUE(Exists(m_temp.File("Pics\\Plage.bmp"))) << "the explorer's picture is copied, never moved";

    // Onto the library's list: added to the folder shown, and selected there.
    pView->m_list.SetSel(-1, FALSE);
    pView->m_list.SetSel(0, TRUE); // Dune
    POINT overList = {20, 20};
    ::ClientToScreen(pBar->m_list.m_hWnd, &overList);
    Drag(pView->m_list, overList, pBar->m_list.m_hWnd, false);
    MSG posted = {};
    ASSERT_TRUE(::PeekMessageA(&posted, pView->m_hWnd, WM_COMMAND, WM_COMMAND, PM_NOREMOVE));
    EXPECT_EQ(LOWORD(posted.wParam), ID_EXPLORER_ADD_TO_LIBRARY) << "the drop is the explorer's add command";
    Pump();
    EXPECT_TRUE(Exists(m_root + "\\Images\\Dune.bmp"));
    ASSERT_EQ(pBar->m_list.GetSelCount(), 1);
    int sel = -1;
    pBar->m_list.GetSelItems(1, &sel);
    EXPECT_EQ(std::string(pBar->m_list.GetRecord(sel)->m_strBaseName), "Dune");

    // The locked protected folder takes nothing.
    pView->m_list.SetSel(1, TRUE);
    Drag(pView->m_list, TreeItemScreenPoint(hTree, pBar->m_tree.ProtectedItem()), hTree);
    EXPECT_FALSE(Exists(m_root
                        + "\\Images Prot\xE9g\xE9"
                          "es\\Plage.bmp"));
}

TEST_F(DragDropApp, LibraryPicturesAreCopiedOutOntoAnExplorer)
{
    WriteBmp("Lib.bmp", 16, 8);
    ASSERT_TRUE(::CopyFileA(m_temp.File("Lib.bmp").c_str(), (m_root + "\\Images\\Phare.bmp").c_str(), TRUE));
    ASSERT_TRUE(Start());
    CLibraryBar* pBar = m_pFrame->GetLibraryBar();
    pBar->OnIdle();
    ASSERT_EQ(pBar->m_list.GetCount(), 1);
    std::string out = m_temp.File("Sortie");
    ::CreateDirectoryA(out.c_str(), nullptr);
    CExplorerView* pView = OpenExplorer(out);
    ASSERT_NE(pView, nullptr);
    pBar->m_list.SetSel(0, TRUE);
    POINT overList = {30, 30};
    ::ClientToScreen(pView->m_list.m_hWnd, &overList);
    Drag(pBar->m_list, overList, pView->m_list.m_hWnd);
    EXPECT_TRUE(Exists(out + "\\Phare.bmp"));
    EXPECT_TRUE(Exists(m_root + "\\Images\\Phare.bmp")) << "a library picture leaves only as a copy";
    EXPECT_EQ(pBar->m_list.GetCount(), 1);
}

namespace {

void SendMouse(DWORD flags, POINT screen)
{
    int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = (screen.x * 65535 + cx / 2) / (cx - 1);
    in.mi.dy = (screen.y * 65535 + cy / 2) / (cy - 1);
    in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &in, sizeof(in));
}

// Pumps until the condition holds, 10 ms a step.
template <class F> bool PumpUntil(F done, int steps = 200)
{
    for (int i = 0; i < steps && !done(); i++) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return done();
}

} // namespace

// The system's own mouse drags two pictures of the library onto another library folder: they move
// there with their record files. Then that folder is picked in the tree, and the first press on a
// picture there, not yet selected, drags it back.
TEST_F(DragDropApp, TwoLibraryPicturesDraggedWithTheMouseMoveWithTheirRecords)
{
    WriteBmp("Lib.bmp", 16, 8);
    for (const char* name : {"Phare", "Port", "Quai"})
        ASSERT_TRUE(::CopyFileA(m_temp.File("Lib.bmp").c_str(),
                                (m_root + "\\Images\\" + name + ".bmp").c_str(), TRUE));
    ASSERT_TRUE(Start());
    ::SetWindowPos(m_pFrame->m_hWnd, HWND_TOPMOST, 0, 0, 900, 700, SWP_SHOWWINDOW);
    ::SetForegroundWindow(m_pFrame->m_hWnd);
    CLibraryBar* pBar = m_pFrame->GetLibraryBar();
    pBar->OnIdle();
    ASSERT_EQ(pBar->m_list.GetCount(), 3);
    ASSERT_TRUE(Exists(m_root + "\\Images\\Phare.dai"));
    HTREEITEM hImages = pBar->m_tree.ImagesItem();
    HTREEITEM hVoyage = Child(pBar->m_tree, hImages, "Voyage");
    ASSERT_NE(hVoyage, nullptr);
    PumpUntil([] { return false; }, 10);
    pBar->m_list.SetSel(0, TRUE); // Phare
    pBar->m_list.SetSel(2, TRUE); // Quai

    const auto drag = [&](int item, HTREEITEM hOnto, int left) {
        POINT from = ItemCentre(pBar->m_list, item);
        ::ClientToScreen(pBar->m_list.m_hWnd, &from);
        POINT to = TreeItemScreenPoint(pBar->m_tree.m_hWnd, hOnto);
        // On the test's own desktop nothing else can cover the bar.
        ASSERT_EQ(::WindowFromPoint(from), pBar->m_list.m_hWnd);
        ASSERT_EQ(::WindowFromPoint(to), pBar->m_tree.m_hWnd);
        SendMouse(0, from);
        SendMouse(MOUSEEVENTF_LEFTDOWN, from);
        ASSERT_TRUE(PumpUntil([] { return g_nDragState == 1; }, 500));
        for (int step = 1; step <= 4; step++) {
            SendMouse(0, {from.x + (to.x - from.x) * step / 4, from.y + (to.y - from.y) * step / 4});
            PumpUntil([] { return false; }, 5);
        }
        // The pointer's moves may arrive late on a busy machine.
        EXPECT_TRUE(PumpUntil([] { return g_nDropTarget == kDropLibraryTree; }, 500));
        SendMouse(MOUSEEVENTF_LEFTUP, to);
        ASSERT_TRUE(PumpUntil([&] { return pBar->m_list.GetCount() == left; }, 500));
    };
    drag(0, hVoyage, 1);
    for (const char* name : {"Phare", "Quai"}) {
        EXPECT_TRUE(Exists(m_root + "\\Images\\Voyage\\" + name + ".bmp")) << name;
        EXPECT_TRUE(Exists(m_root + "\\Images\\Voyage\\" + name + ".dai")) << name;
        EXPECT_FALSE(Exists(m_root + "\\Images\\" + name + ".bmp")) << name;
        EXPECT_FALSE(Exists(m_root + "\\Images\\" + name + ".dai")) << name;
    }
    EXPECT_TRUE(Exists(m_root + "\\Images\\Port.bmp"));

    const POINT onVoyage = TreeItemScreenPoint(pBar->m_tree.m_hWnd, hVoyage);
    SendMouse(0, onVoyage);
    SendMouse(MOUSEEVENTF_LEFTDOWN, onVoyage);
    SendMouse(MOUSEEVENTF_LEFTUP, onVoyage);
    ASSERT_TRUE(PumpUntil(
        [&] {
            pBar->OnIdle();
            return pBar->m_list.GetCount() == 2;
        },
        500));
    const int unselected = pBar->m_list.GetSel(0) > 0 ? 1 : 0;
    ASSERT_EQ(pBar->m_list.GetSel(unselected), 0);
    const std::string name(pBar->m_list.GetRecord(unselected)->m_strFileName);
    drag(unselected, hImages, 1);
    EXPECT_TRUE(Exists(m_root + "\\Images\\" + name));
    ::SetWindowPos(m_pFrame->m_hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}
