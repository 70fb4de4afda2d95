// The thumbnail list under the mouse and the keys: the selection rules, the context menu of each kind
// of list, the classification of drop targets through the input seam, and whole drags made of mouse
// messages (dropped, cancelled by Escape or by a lost capture, re-ordering one list).
#include "framework/MDIChildWnd.h"
#include "framework/MDIFrameWnd.h"
#include "framework/TestSeams.h"
#include "framework/View.h"
#include "framework/WinApp.h"
#include "piclist/PicListBox.h"
#include "piclist/PicListDrag.h"
#include "piclist/PicObject.h"
#include "resources/resource.h"
#include "shell/SharedUi.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

// A folder tree that answers the explorer tree's probe.
class CProbeTree : public CTreeCtrl {
public:
    BOOL m_bExplorer = FALSE;
    LRESULT OnIdentify(WPARAM, LPARAM) { return m_bExplorer ? kShellTreeIdentifyAnswer : 0; }

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeTree, CTreeCtrl)
    ON_MESSAGE(WM_SHELLTREE_IDENTIFY, OnIdentify)
END_MESSAGE_MAP()

struct TreeFolder {
    CString path;
    int kind;
    BOOL locked;
};

// A window holding a tree and a list, answering the drag as the library bar, an explorer view or a
// search view does; drops handed to it are recorded. An explorer's is the view of a child window of
// the main window (MakeInFrame), as the drag's lookups find explorers.
class CSiteHost : public CView, public CPicListOwner, public CPicDropSite {
public:
    int m_kind = kPicSiteOther;
    CProbeTree m_tree;
    CPicListBox* m_pList = nullptr;
    std::map<HTREEITEM, TreeFolder> m_folders;
    CString m_listFolder;
    BOOL m_listLocked = FALSE;
    int m_lockedClicks = 0;
    std::vector<PicDropDecision> m_drops;

    CMDIChildWnd* m_pFrame = nullptr;

    ~CSiteHost() override
    {
        if (m_pList != nullptr) {
            m_pList->DestroyWindow();
            delete m_pList;
        }
        if (m_pFrame != nullptr)
            m_pFrame->MDIDestroy(); // with this view
        else if (m_hWnd != nullptr)
            DestroyWindow();
    }
    void OnDraw(CDC*) override {}
    void PostNcDestroy() override {} // the test owns the object

    void Make(const std::string& title, int kind, int x, BOOL trash = FALSE)
    {
        LPCSTR cls = AfxRegisterWndClass(0, ::LoadCursorA(nullptr, IDC_ARROW),
                                         reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
        ASSERT_TRUE(CreateEx(0, cls, title.c_str(), WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x, 10, 560, 320,
                             nullptr, nullptr));
        MakeChildren(kind, trash);
    }
    // The view of a new child window of the main window.
    void MakeInFrame(const std::string& title, int kind, CMDIFrameWnd* pMain)
    {
        m_pFrame = new CMDIChildWnd;
        ASSERT_TRUE(m_pFrame->Create(nullptr, title.c_str(), WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                                     CRect(0, 0, 600, 400), pMain));
        LPCSTR cls = AfxRegisterWndClass(0, ::LoadCursorA(nullptr, IDC_ARROW),
                                         reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
        ASSERT_TRUE(CreateEx(0, cls, title.c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 560, 320,
                             m_pFrame->m_hWnd, nullptr));
        m_pFrame->SetActiveView(this, FALSE);
        MakeChildren(kind, FALSE);
    }
    void MakeChildren(int kind, BOOL trash)
    {
        m_kind = kind;
        m_tree.m_bExplorer = kind == kPicSiteExplorer;
        RECT rcTree = {0, 0, 200, 320};
        ASSERT_TRUE(
            m_tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASLINES | TVS_SHOWSELALWAYS, rcTree, this, 102));
        m_pList = new CPicListBox;
        m_pList->m_nView = 3;
        m_pList->LIBLIST_TRASH_MODE = trash;
        m_pList->m_nSortKey = 0;
        m_pList->m_nSortOrder = 0;
        ASSERT_TRUE(m_pList->Create(this, 101));
        ::MoveWindow(m_pList->m_hWnd, 210, 0, 340, 310, TRUE);
    }
    HTREEITEM AddFolder(const char* label, const char* path, int kind, BOOL locked = FALSE)
    {
        HTREEITEM h = m_tree.InsertItem(label);
        m_folders[h] = {path, kind, locked};
        return h;
    }
    // Pictures named by letters, a record each.
    void Fill(const char* letters)
    {
        std::vector<CObject*> records;
        for (const char* p = letters; *p != 0; p++) {
            auto* pRecord = new CPicObject;
            pRecord->m_strBaseName = CString(*p, 1);
            pRecord->m_strExt = "jpg";
            pRecord->m_strFileName = pRecord->m_strBaseName + ".jpg";
            pRecord->m_strPath = m_listFolder + "\\" + pRecord->m_strFileName;
            records.push_back(pRecord);
        }
        m_pList->AddRecords(records);
    }

    int DropSiteKind() const override { return m_kind; }
    HWND DropTreeWindow() override { return m_tree.m_hWnd; }
    CPicListBox* DropList() override { return m_pList; }
    BOOL DropTreeFolder(HTREEITEM hItem, CString* pPath, int* pKind, BOOL* pLocked) override
    {
        auto it = m_folders.find(hItem);
        if (it == m_folders.end())
            return FALSE;
        *pPath = it->second.path;
        *pKind = it->second.kind;
        *pLocked = it->second.locked;
        return TRUE;
    }
    CString DropListFolder() override { return m_listFolder; }
    CString GetListFolder() override { return m_listFolder; }
    BOOL IsLibraryOwner() const override { return m_kind == kPicSiteLibrary; }
    BOOL IsListFolderLocked() override { return m_listLocked; }
    void OnLockedListClick() override { m_lockedClicks++; }
    BOOL DropSelection(const PicDropDecision& drop) override
    {
        m_drops.push_back(drop);
        return TRUE;
    }
};

// The seam: folders that exist, D: a CD-ROM drive, the window under the cursor chosen by the test.
std::set<std::string> g_existing;
HWND g_hUnder = nullptr;

HWND SeamWindow(POINT) { return g_hUnder; }
UINT SeamDrive(LPCSTR root) { return (root[0] == 'D' || root[0] == 'd') ? DRIVE_CDROM : DRIVE_FIXED; }
BOOL SeamFolder(LPCSTR path) { return g_existing.count(path) != 0; }

POINT TreeItemScreenPoint(CTreeCtrl& tree, HTREEITEM h)
{
    RECT rc = {};
    TreeView_GetItemRect(tree.m_hWnd, h, &rc, TRUE);
    POINT pt = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    ::ClientToScreen(tree.m_hWnd, &pt);
    return pt;
}

POINT ItemCentre(CPicListBox* pList, int index)
{
    RECT rc;
    pList->GetItemRect(index, &rc);
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

LPARAM At(POINT pt) { return MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y)); }

std::vector<int> Selected(CPicListBox* pList)
{
    std::vector<int> out;
    for (int i = 0; i < pList->GetCount(); i++)
        if (pList->GetSel(i) > 0)
            out.push_back(i);
    return out;
}

std::string Names(CPicListBox* pList)
{
    std::string s;
    for (int i = 0; i < pList->GetCount(); i++)
        s += pList->GetRecord(i)->m_strBaseName.operator LPCSTR();
    return s;
}

std::string TestTitle(const char* suffix)
{
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string(info->test_suite_name()) + "." + info->name() + "." + suffix;
}

// The program's main window, as the drag's lookups walk it: an MDI frame of the application.
class CMainWindow {
public:
    CMainWindow()
    {
        static CWinApp* pApp = new CWinApp("PicListInputTest");
        m_pApp = pApp;
        m_pFrame = new CMDIFrameWnd;
        if (m_pFrame->Create(nullptr, TestTitle("main").c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                             CRect(0, 0, 900, 700)))
            m_pApp->m_pMainWnd = m_pFrame;
    }
    ~CMainWindow()
    {
        m_pApp->m_pMainWnd = nullptr;
        if (::IsWindow(m_pFrame->m_hWnd))
            m_pFrame->DestroyWindow(); // deletes the frame
    }
    CMDIFrameWnd* m_pFrame;
    CWinApp* m_pApp;
};

// The drag cursors of several pictures, from the program's resources.
void LoadDragCursors()
{
    HINSTANCE h = ::GetModuleHandleA(nullptr);
    g_hCursorDragMoveMany = ::LoadCursorA(h, MAKEINTRESOURCEA(IDCUR_DRAG_MOVE_MANY));
    g_hCursorDragCopyMany = ::LoadCursorA(h, MAKEINTRESOURCEA(IDCUR_DRAG_COPY_MANY));
    g_hCursorNoDrop = ::LoadCursorA(h, MAKEINTRESOURCEA(IDCUR_DRAG_NO_DROP));
}

} // namespace

class PicListInputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_picDragInput = {SeamWindow, SeamDrive, SeamFolder};
        g_existing = {"C:\\Lib",        "C:\\Lib\\Images", "C:\\Lib\\Favoris", "C:\\Lib\\Prot",
                      "C:\\Lib\\Trash", "C:\\Lib\\Voyage", "C:\\Photos",       "C:\\Autres",
                      "D:\\",           "D:\\Disque"};
        g_hUnder = nullptr;
        LoadDragCursors();
    }
    void TearDown() override
    {
        ResetPicDragInput();
        AfxTestReset();
    }
    // Presses on an item, with key flags, and lets go without moving.
    void Click(CPicListBox* pList, int index, WPARAM keys = 0)
    {
        POINT pt = ItemCentre(pList, index);
        pList->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | keys, At(pt));
        pList->SendMessage(WM_LBUTTONUP, keys, At(pt));
    }
    // Drags from an item to a screen point, over the window the seam says is there; keys are the key
    // flags the move and the release carry.
    void DragTo(CPicListBox* pList, int from, POINT screen, HWND hUnder, BOOL release = TRUE, WPARAM keys = 0)
    {
        POINT pt = ItemCentre(pList, from);
        pList->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(pt));
        g_hUnder = hUnder;
        POINT client = screen;
        ::ScreenToClient(pList->m_hWnd, &client);
        pList->SendMessage(WM_MOUSEMOVE, MK_LBUTTON | keys, At(client));
        if (release)
            pList->SendMessage(WM_LBUTTONUP, keys, At(client));
    }
};

TEST_F(PicListInputTest, SelectionRules)
{
    CSiteHost host;
    host.Make(TestTitle("list"), kPicSiteExplorer, 20);
    host.Fill("abcdef");
    CPicListBox* pList = host.m_pList;

    // A press on one of five selected keeps the five for a drag; the release leaves it alone.
    pList->SelItemRange(TRUE, 0, 4);
    POINT pt = ItemCentre(pList, 2);
    pList->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(pt));
    EXPECT_EQ(Selected(pList), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(g_nDragState, 1);
    EXPECT_EQ(::GetCapture(), pList->m_hWnd);
    pList->SendMessage(WM_LBUTTONUP, 0, At(pt));
    EXPECT_EQ(Selected(pList), (std::vector<int>{2}));
    EXPECT_EQ(g_nDragState, 0);
    EXPECT_NE(::GetCapture(), pList->m_hWnd);

    // Ctrl on an unselected item selects it at the press; on a selected one (not the last) it
    // deselects at the release; the only selected item stays.
    pList->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, At(ItemCentre(pList, 4)));
    EXPECT_EQ(Selected(pList), (std::vector<int>{2, 4}));
    pList->SendMessage(WM_LBUTTONUP, MK_CONTROL, At(ItemCentre(pList, 4)));
    EXPECT_EQ(Selected(pList), (std::vector<int>{2, 4}));
    Click(pList, 2, MK_CONTROL);
    EXPECT_EQ(Selected(pList), (std::vector<int>{4}));
    Click(pList, 4, MK_CONTROL);
    EXPECT_EQ(Selected(pList), (std::vector<int>{4}));

    // Shift extends from the anchor, either way.
    Click(pList, 1, MK_SHIFT);
    EXPECT_EQ(Selected(pList), (std::vector<int>{1, 2, 3, 4}));
    Click(pList, 5);
    EXPECT_EQ(Selected(pList), (std::vector<int>{5}));
    Click(pList, 3, MK_SHIFT);
    EXPECT_EQ(Selected(pList), (std::vector<int>{3, 4, 5}));

    // Without an anchor the list box's own Shift click decides; something is selected, no drag waits.
    pList->SetSel(-1, FALSE);
    pList->m_nAnchor = -1;
    Click(pList, 2, MK_SHIFT);
    EXPECT_FALSE(Selected(pList).empty());
    EXPECT_EQ(g_nDragState, 0);
}

TEST_F(PicListInputTest, DragStartsOutsideTheTenPixelSquare)
{
    CSiteHost host;
    host.Make(TestTitle("list"), kPicSiteExplorer, 20);
    host.Fill("abc");
    CPicListBox* pList = host.m_pList;
    pList->SetSel(0, TRUE);
    struct Row {
        int dx, dy, state;
    };
    const Row rows[] = {{-5, 0, 1}, {0, -5, 1}, {4, 4, 1},  {5, 0, 2},
                        {0, 5, 2},  {-6, 0, 2}, {0, -6, 2}, {6, 6, 2}};
    for (const Row& r : rows) {
        POINT pt = ItemCentre(pList, 0);
        pList->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(pt));
        POINT moved = {pt.x + r.dx, pt.y + r.dy};
        pList->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(moved));
        EXPECT_EQ(g_nDragState, r.state) << r.dx << "," << r.dy;
        pList->SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
        pList->SendMessage(WM_LBUTTONUP, 0, At(moved));
        EXPECT_EQ(g_nDragState, 0);
    }
    EXPECT_EQ(Names(pList), "abc");
}

TEST_F(PicListInputTest, DropTargetsByKindOfSourceAndWindow)
{
    CMainWindow main;
    ASSERT_NE(main.m_pApp->m_pMainWnd, nullptr);
    CSiteHost lib, exp1, exp2, search, stray;
    lib.m_listFolder = "C:\\Lib\\Images";
    lib.Make(TestTitle("library"), kPicSiteLibrary, 0);
    HTREEITEM hRoot = lib.AddFolder("Tessarine", "C:\\Lib", kLibFolderRoot);
    HTREEITEM hImages = lib.AddFolder("Images", "C:\\Lib\\Images", kLibFolderImages);
    HTREEITEM hFav = lib.AddFolder("Images Favorites", "C:\\Lib\\Favoris", kLibFolderFavorites);
    HTREEITEM hProt = lib.AddFolder("Images Prot\xe9g\xe9"
                                    "es",
                                    "C:\\Lib\\Prot", kLibFolderProtected, TRUE);
    HTREEITEM hTrash = lib.AddFolder("El\xe9ments", "C:\\Lib\\Trash", kLibFolderTrash);
    HTREEITEM hVoyage = lib.AddFolder("Voyage", "C:\\Lib\\Voyage", kLibFolderOther);
    HTREEITEM hGone = lib.AddFolder("Disparu", "C:\\Lib\\Gone", kLibFolderOther);
    exp1.m_listFolder = "C:\\Photos";
    exp1.MakeInFrame(TestTitle("explorer1"), kPicSiteExplorer, main.m_pFrame);
    HTREEITEM hPhotos = exp1.AddFolder("Photos", "C:\\Photos", kLibFolderOther);
    HTREEITEM hAutres = exp1.AddFolder("Autres", "C:\\Autres", kLibFolderOther);
    HTREEITEM hCd = exp1.AddFolder("D:", "D:", kLibFolderOther);
    HTREEITEM hCdFolder = exp1.AddFolder("Disque", "D:\\Disque", kLibFolderOther);
    HTREEITEM hNoDrive = exp1.AddFolder("Z:", "Z:", kLibFolderOther);
    exp2.m_listFolder = "C:\\Autres\\";
    exp2.MakeInFrame(TestTitle("explorer2"), kPicSiteExplorer, main.m_pFrame);
    search.Make(TestTitle("search"), kPicSiteSearch, 80);
    // A tree and a list that answer as an explorer's, in no window of the main window.
    stray.m_listFolder = "C:\\Autres";
    stray.Make(TestTitle("stray"), kPicSiteExplorer, 100);
    HTREEITEM hStray = stray.AddFolder("Autres", "C:\\Autres", kLibFolderOther);

    PicDragSource fromLib = {lib.m_pList, kPicSiteLibrary, lib.m_listFolder};
    PicDragSource fromExp = {exp1.m_pList, kPicSiteExplorer, exp1.m_listFolder};
    PicDragSource fromSearch = {search.m_pList, kPicSiteSearch, ""};
    enum {
        NONE = kDropNone,
        OWN = kDropOwnList,
        LLIST = kDropLibraryList,
        LTREE = kDropLibraryTree,
        ETREE = kDropExplorerTree,
        ELIST = kDropExplorerList
    };
    const int M = kDropAsMove, C = kDropAsCtrlCopy, F = kDropAsForcedCopy;
    // The cursor shown: no drop, moving or copying (two pictures).
    const HCURSOR no = g_hCursorNoDrop, mv = g_hCursorDragMoveMany, cp = g_hCursorDragCopyMany;
    struct Row {
        const char* what;
        const PicDragSource* src;
        CSiteHost* host;
        HTREEITEM item; // null: the host's list
        BOOL ctrl;
        int target, copy;
        BOOL refused, onTrash;
        HCURSOR cursor;
    };
    const Row rows[] = {
        {"library to a folder moves", &fromLib, &lib, hVoyage, FALSE, LTREE, M, FALSE, FALSE, mv},
        {"library to a folder with Ctrl copies", &fromLib, &lib, hVoyage, TRUE, LTREE, C, FALSE, FALSE, cp},
        {"library to Favorites", &fromLib, &lib, hFav, FALSE, LTREE, M, FALSE, FALSE, mv},
        {"library to the folder it shows", &fromLib, &lib, hImages, FALSE, LTREE, M, TRUE, FALSE, no},
        {"library to the locked protected folder", &fromLib, &lib, hProt, FALSE, LTREE, M, TRUE, FALSE, no},
        {"library to the trash", &fromLib, &lib, hTrash, FALSE, LTREE, M, FALSE, TRUE, mv},
        {"library to the root", &fromLib, &lib, hRoot, FALSE, NONE, M, FALSE, FALSE, no},
        {"library to a vanished folder", &fromLib, &lib, hGone, FALSE, LTREE, M, TRUE, FALSE, no},
        {"library onto its own list", &fromLib, &lib, nullptr, FALSE, OWN, M, FALSE, FALSE, mv},
        {"library onto its own list with Ctrl", &fromLib, &lib, nullptr, TRUE, OWN, C, FALSE, FALSE, cp},
        {"library to an explorer folder copies", &fromLib, &exp1, hAutres, FALSE, ETREE, F, FALSE, FALSE, cp},
        {"library to an explorer list copies", &fromLib, &exp2, nullptr, FALSE, ELIST, F, FALSE, FALSE, cp},
        {"library to a CD-ROM", &fromLib, &exp1, hCdFolder, FALSE, ETREE, F, TRUE, FALSE, no},
        {"explorer to a library folder copies", &fromExp, &lib, hVoyage, FALSE, LTREE, F, FALSE, FALSE, cp},
        {"explorer to the library trash", &fromExp, &lib, hTrash, FALSE, NONE, M, FALSE, FALSE, no},
        {"explorer to the library list copies", &fromExp, &lib, nullptr, FALSE, LLIST, F, FALSE, FALSE, cp},
        {"explorer to its own folder in its tree", &fromExp, &exp1, hPhotos, FALSE, ETREE, M, TRUE, FALSE,
         no},
        {"explorer to another folder moves", &fromExp, &exp1, hAutres, FALSE, ETREE, M, FALSE, FALSE, mv},
        {"explorer to another folder with Ctrl", &fromExp, &exp1, hAutres, TRUE, ETREE, C, FALSE, FALSE, cp},
        {"explorer to a CD-ROM drive", &fromExp, &exp1, hCd, FALSE, ETREE, M, TRUE, FALSE, no},
        {"explorer to a CD-ROM folder", &fromExp, &exp1, hCdFolder, FALSE, ETREE, M, TRUE, FALSE, no},
        {"explorer to a missing drive", &fromExp, &exp1, hNoDrive, FALSE, ETREE, M, TRUE, FALSE, no},
        {"explorer to another explorer list", &fromExp, &exp2, nullptr, FALSE, ELIST, M, FALSE, FALSE, mv},
        {"explorer to a tree outside the windows", &fromExp, &stray, hStray, FALSE, NONE, M, FALSE, FALSE,
         no},
        {"explorer to a list outside the windows", &fromExp, &stray, nullptr, FALSE, NONE, M, FALSE, FALSE,
         no},
        {"search to a library folder", &fromSearch, &lib, hVoyage, FALSE, NONE, M, FALSE, FALSE, no},
        {"search to the library list", &fromSearch, &lib, nullptr, FALSE, NONE, M, FALSE, FALSE, no},
        {"search to an explorer folder copies", &fromSearch, &exp1, hAutres, FALSE, ETREE, F, FALSE, FALSE,
         cp},
        {"search to an explorer list copies", &fromSearch, &exp2, nullptr, FALSE, ELIST, F, FALSE, FALSE, cp},
        {"search re-orders its own list", &fromSearch, &search, nullptr, FALSE, OWN, M, FALSE, FALSE, mv},
    };
    for (const Row& r : rows) {
        HWND hUnder;
        POINT pt;
        if (r.item != nullptr) {
            hUnder = r.host->m_tree.m_hWnd;
            pt = TreeItemScreenPoint(r.host->m_tree, r.item);
        } else {
            hUnder = r.host->m_pList->m_hWnd;
            pt = {300, 300};
            ::ClientToScreen(hUnder, &pt);
        }
        // Only an explorer's tree answers as one.
        if (r.host->m_kind != kPicSiteExplorer && r.item != nullptr) {
            ASSERT_EQ(r.host->m_kind, kPicSiteLibrary);
        }
        PicDropDecision d = ClassifyPicDrop(*r.src, pt, hUnder, r.ctrl);
        EXPECT_EQ(d.target, r.target) << r.what;
        EXPECT_EQ(d.copy, r.copy) << r.what;
        EXPECT_EQ(d.refused, r.refused) << r.what;
        EXPECT_EQ(d.onTrash, r.onTrash) << r.what;
        EXPECT_EQ(PicDragCursor(d, 2), r.cursor) << r.what;
    }
    // The explorers' trees and lists are found among the main window's child windows, and only there.
    EXPECT_EQ(FindExplorerTreeByHwnd(exp2.m_tree.m_hWnd), &exp2.m_tree);
    EXPECT_EQ(FindExplorerListByHwnd(exp1.m_pList->m_hWnd), exp1.m_pList);
    EXPECT_EQ(FindExplorerTreeByHwnd(exp1.m_pList->m_hWnd), nullptr);
    EXPECT_EQ(FindExplorerListByHwnd(stray.m_pList->m_hWnd), nullptr);
    EXPECT_EQ(FindExplorerTreeByHwnd(lib.m_tree.m_hWnd), nullptr);
    // The library's tree answers no probe: only an explorer's does; a list only under an explorer.
    EXPECT_EQ(exp1.m_pList->SendMessage(WM_PICLIST_IDENTIFY), kPicListIdentifyAnswer);
    EXPECT_EQ(lib.m_pList->SendMessage(WM_PICLIST_IDENTIFY), 0);
    EXPECT_EQ(search.m_pList->SendMessage(WM_PICLIST_IDENTIFY), 0);
    // A window of another program is never a target.
    HWND hDesktop = ::GetDesktopWindow();
    EXPECT_EQ(ClassifyPicDrop(fromExp, {5, 5}, hDesktop, FALSE).target, kDropNone);
}

TEST_F(PicListInputTest, DragOntoAFolderHandsTheDropToTheSourceAndHighlightsOnTheWay)
{
    CSiteHost lib;
    lib.m_listFolder = "C:\\Lib\\Images";
    lib.Make(TestTitle("library"), kPicSiteLibrary, 20);
    HTREEITEM hVoyage = lib.AddFolder("Voyage", "C:\\Lib\\Voyage", kLibFolderOther);
    HTREEITEM hTrash = lib.AddFolder("El\xe9ments", "C:\\Lib\\Trash", kLibFolderTrash);
    lib.Fill("abcde");
    CPicListBox* pList = lib.m_pList;
    pList->SelItemRange(TRUE, 0, 1);

    DragTo(pList, 0, TreeItemScreenPoint(lib.m_tree, hVoyage), lib.m_tree.m_hWnd, FALSE);
    EXPECT_EQ(g_nDragState, 2);
    EXPECT_EQ(g_nDropTarget, kDropLibraryTree);
    EXPECT_TRUE(lib.m_tree.GetItemState(hVoyage, TVIS_DROPHILITED) & TVIS_DROPHILITED);
    POINT client = TreeItemScreenPoint(lib.m_tree, hVoyage);
    ::ScreenToClient(pList->m_hWnd, &client);
    pList->SendMessage(WM_LBUTTONUP, 0, At(client));
    ASSERT_EQ(lib.m_drops.size(), 1u);
    EXPECT_EQ(lib.m_drops[0].path, CString("C:\\Lib\\Voyage"));
    EXPECT_EQ(lib.m_drops[0].copy, kDropAsMove);
    EXPECT_FALSE(lib.m_tree.GetItemState(hVoyage, TVIS_DROPHILITED) & TVIS_DROPHILITED);
    EXPECT_EQ(g_nDragState, 0);
    EXPECT_NE(::GetCapture(), pList->m_hWnd);

    // With Ctrl held the same drop copies; on the trash it is a deletion.
    DragTo(pList, 0, TreeItemScreenPoint(lib.m_tree, hVoyage), lib.m_tree.m_hWnd, TRUE, MK_CONTROL);
    DragTo(pList, 0, TreeItemScreenPoint(lib.m_tree, hTrash), lib.m_tree.m_hWnd);
    ASSERT_EQ(lib.m_drops.size(), 3u);
    EXPECT_EQ(lib.m_drops[1].copy, kDropAsCtrlCopy);
    EXPECT_TRUE(lib.m_drops[2].onTrash);
    EXPECT_EQ(Names(pList), "abcde");
}

TEST_F(PicListInputTest, EscapeAndLostCaptureCancelWithNothingDropped)
{
    CSiteHost lib;
    lib.m_listFolder = "C:\\Lib\\Images";
    lib.Make(TestTitle("library"), kPicSiteLibrary, 20);
    HTREEITEM hVoyage = lib.AddFolder("Voyage", "C:\\Lib\\Voyage", kLibFolderOther);
    lib.Fill("abcde");
    CPicListBox* pList = lib.m_pList;
    pList->SelItemRange(TRUE, 1, 2);
    POINT target = TreeItemScreenPoint(lib.m_tree, hVoyage);
    POINT client = target;
    ::ScreenToClient(pList->m_hWnd, &client);

    DragTo(pList, 1, target, lib.m_tree.m_hWnd, FALSE);
    ASSERT_EQ(g_nDragState, 2);
    pList->SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(g_nDragState, 0);
    EXPECT_NE(::GetCapture(), pList->m_hWnd);
    EXPECT_FALSE(lib.m_tree.GetItemState(hVoyage, TVIS_DROPHILITED) & TVIS_DROPHILITED);
    pList->SendMessage(WM_LBUTTONUP, 0, At(client));

    DragTo(pList, 1, target, lib.m_tree.m_hWnd, FALSE);
    ASSERT_EQ(g_nDragState, 2);
    ::SetCapture(lib.m_hWnd); // another window takes the mouse
    EXPECT_EQ(g_nDragState, 0);
    ::ReleaseCapture();
    pList->SendMessage(WM_LBUTTONUP, 0, At(client));
    EXPECT_FALSE(lib.m_tree.GetItemState(hVoyage, TVIS_DROPHILITED) & TVIS_DROPHILITED);

    EXPECT_TRUE(lib.m_drops.empty());
    EXPECT_EQ(Names(pList), "abcde");
    EXPECT_EQ(Selected(pList), (std::vector<int>{1, 2}));
}

TEST_F(PicListInputTest, ReorderingInsideOneListMovesTheSameRecords)
{
    CSiteHost host;
    host.Make(TestTitle("search"), kPicSiteSearch, 20);
    host.Fill("abcde");
    CPicListBox* pList = host.m_pList;
    CPicObject* a = pList->GetRecord(0);
    CPicObject* b = pList->GetRecord(1);

    // The place is the index of the item under the cursor before the move, kept within the list:
    // a and b dropped on e go after it, in their order, and are the only ones selected.
    pList->SelItemRange(TRUE, 0, 1);
    POINT onE = ItemCentre(pList, 4);
    ::ClientToScreen(pList->m_hWnd, &onE);
    DragTo(pList, 0, onE, pList->m_hWnd);
    EXPECT_EQ(Names(pList), "cdeab");
    EXPECT_EQ(pList->GetRecord(3), a);
    EXPECT_EQ(pList->GetRecord(4), b);
    EXPECT_EQ(Selected(pList), (std::vector<int>{3, 4}));

    // Dropped on d, at index 1: they stand at index 1, before d.
    POINT onD = ItemCentre(pList, 1);
    ::ClientToScreen(pList->m_hWnd, &onD);
    DragTo(pList, 3, onD, pList->m_hWnd);
    EXPECT_EQ(Names(pList), "cabde");
    EXPECT_EQ(Selected(pList), (std::vector<int>{1, 2}));

    // Dropped on empty space they go to the end, still in their order.
    POINT empty = {330, 300};
    ::ClientToScreen(pList->m_hWnd, &empty);
    DragTo(pList, 1, empty, pList->m_hWnd);
    EXPECT_EQ(Names(pList), "cdeab");
    EXPECT_EQ(pList->GetRecord(3), a);
    EXPECT_EQ(Selected(pList), (std::vector<int>{3, 4}));

    // Ctrl pressed on the way shows the copy cursor, released the move cursor.
    DragTo(pList, 3, onD, pList->m_hWnd, FALSE);
    pList->SendMessage(WM_KEYDOWN, VK_CONTROL, 0);
    EXPECT_EQ(::GetCursor(), g_hCursorDragCopyMany);
    pList->SendMessage(WM_KEYUP, VK_CONTROL, 0);
    EXPECT_EQ(::GetCursor(), g_hCursorDragMoveMany);
    pList->SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(Names(pList), "cdeab");

    // Moved onto the first item: they lead the list.
    POINT onC = ItemCentre(pList, 0);
    ::ClientToScreen(pList->m_hWnd, &onC);
    DragTo(pList, 3, onC, pList->m_hWnd);
    EXPECT_EQ(Names(pList), "abcde");
    EXPECT_TRUE(host.m_drops.empty());
}

TEST_F(PicListInputTest, ContextMenuOfEachKindOfList)
{
    struct Row {
        int kind;
        BOOL trash;
        UINT firstItem;
    };
    const Row rows[] = {{kPicSiteExplorer, FALSE, ID_EXPLORER_OPEN},
                        {kPicSiteLibrary, FALSE, ID_LIB_OPEN_PICTURE},
                        {kPicSiteSearch, FALSE, ID_EXPLORER_OPEN},
                        {kPicSiteLibrary, TRUE, ID_LIB_RECOVER}};
    AfxTestArm();
    int n = 0;
    for (const Row& r : rows) {
        CSiteHost host;
        host.Make(TestTitle(std::to_string(n++).c_str()), r.kind, 20, r.trash);
        if (!r.trash) {
            host.Fill("abcd");
            host.m_pList->SelItemRange(TRUE, 0, 1);
        }
        AfxScriptPopupMenu(0);
        host.m_pList->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON,
                                  At(r.trash ? POINT{5, 5} : ItemCentre(host.m_pList, 1)));
        ASSERT_EQ(AfxTestRecords().popupMenus.size(), static_cast<size_t>(n));
        EXPECT_EQ(AfxTestRecords().popupMenus.back().firstItemId, r.firstItem) << n;
        if (!r.trash) {
            // A right click on a selected picture keeps the selection; on another one it replaces it.
            EXPECT_EQ(Selected(host.m_pList), (std::vector<int>{0, 1}));
            AfxScriptPopupMenu(0);
            host.m_pList->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, At(ItemCentre(host.m_pList, 3)));
            EXPECT_EQ(Selected(host.m_pList), (std::vector<int>{3}));
            AfxTestRecords().popupMenus.pop_back();
        }
    }
}

TEST_F(PicListInputTest, FilesDroppedFromAnotherProgramAreReleasedWithNoOtherEffect)
{
    CSiteHost host;
    host.Make(TestTitle("explorer"), kPicSiteExplorer, 20);
    host.Fill("ab");
    const char path[] = "C:\\ailleurs\\photo.jpg\0";
    HGLOBAL h = ::GlobalAlloc(GHND, sizeof(DROPFILES) + sizeof(path));
    auto* pDrop = static_cast<DROPFILES*>(::GlobalLock(h));
    pDrop->pFiles = sizeof(DROPFILES);
    memcpy(reinterpret_cast<BYTE*>(pDrop) + sizeof(DROPFILES), path, sizeof(path));
    ::GlobalUnlock(h);
    host.m_pList->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(h));
    EXPECT_EQ(::GlobalFlags(h), static_cast<UINT>(GMEM_INVALID_HANDLE));
    EXPECT_EQ(Names(host.m_pList), "ab");
    EXPECT_TRUE(host.m_drops.empty());
}

TEST_F(PicListInputTest, LockedProtectedListRunsTheGateAndStartsNoDrag)
{
    CSiteHost lib;
    lib.m_listFolder = "C:\\Lib\\Prot";
    lib.m_listLocked = TRUE;
    lib.Make(TestTitle("library"), kPicSiteLibrary, 20);
    lib.Fill("ab");
    lib.m_pList->SetSel(0, TRUE);
    Click(lib.m_pList, 0);
    EXPECT_EQ(lib.m_lockedClicks, 1);
    EXPECT_EQ(g_nDragState, 0);
}
