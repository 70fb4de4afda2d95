// The library bar on a library of its own: the folder load 200 ms after the last choice, the start
// folder, the layout's limits, the status line and tool tips, and pictures of windows added to the
// folder shown.
#include "tests/piclist/LibraryTestSupport.h"

#include "core/FileWrappers.h"
#include "shell/LibraryLink.h"
#include "shell/Settings.h"
#include "shell/SharedUi.h"
#include "framework/Dc.h"
#include "framework/CmdUI.h"
#include "framework/TestSeams.h"
#include "library/LibraryBar.h"
#include "piclist/DelObject.h"
#include "piclist/PicObject.h"
#include "library/ProtectedAccess.h"
#include "piclist/SafeFileOps.h"
#include "resources/library-cmds-ids.h"
#include "resources/library-store-ids.h"
#include "resources/resource.h"

#include <functional>
#include <string>

using libtest::LibraryStore;

namespace {

DWORD g_now = 0;
DWORD FakeNow() { return g_now; }

class LibraryBarTest : public LibraryStore {
protected:
    void SetUp() override
    {
        LibraryStore::SetUp();
        for (const char* f : {"Images", "Images\\A", "Images\\B", "Images\\C"})
            CreateDirectoryA(Path(f).c_str(), nullptr);
        g_bProtectedUnlocked = FALSE;
        g_LibrarianSeparatorH = 200;
        g_LibrarianSeparatorV = 200;
        m_pfnSavedNow = CLibraryBar::s_pfnNow;
        CLibraryBar::s_pfnNow = FakeNow;
        g_now = 0xFFFFFF00; // just below the clock's wrap
        LPCSTR cls = AfxRegisterWndClass(0);
        ASSERT_TRUE(m_host.CreateEx(0, cls, "LibraryBarTest", WS_OVERLAPPEDWINDOW, CRect(0, 0, 600, 700),
                                    nullptr, 0));
    }
    void TearDown() override
    {
        if (::IsWindow(m_host.m_hWnd))
            m_host.DestroyWindow();
        CLibraryBar::s_pfnNow = m_pfnSavedNow;
        g_bProtectedUnlocked = FALSE;
        g_LibrarianLastPath.Empty();
        LibraryStore::TearDown();
    }
    void Make(const std::string& lastPath, CRect rect = CRect(0, 0, 260, 600))
    {
        g_LibrarianLastPath = lastPath.c_str();
        ASSERT_TRUE(m_bar.Create(&m_host, CBRS_ALIGN_LEFT | WS_VISIBLE, ID_LIBRARY_BAR));
        m_bar.MoveWindow(&rect);
    }
    HTREEITEM Find(HTREEITEM parent, const char* label)
    {
        for (HTREEITEM h = m_bar.m_tree.GetChildItem(parent); h; h = m_bar.m_tree.GetNextSiblingItem(h))
            if (m_bar.m_tree.GetItemText(h) == label)
                return h;
        return nullptr;
    }
    void Step(DWORD ms)
    {
        g_now += ms;
        m_bar.OnIdle();
    }

    DWORD (*m_pfnSavedNow)() = nullptr;
    CWnd m_host;
    CLibraryBar m_bar;
};

} // namespace

TEST_F(LibraryBarTest, OnlyTheLastOfQuickChoicesIsLoaded)
{
    Make(Path("Images"));
    Step(0);
    EXPECT_EQ(m_bar.m_nFolderLoads, 1) << "the folder of the last run loads at the first step";
    EXPECT_EQ(std::string(m_bar.m_strLoadedFolder), Path("Images"));

    m_bar.m_tree.UpdateExpandButton(m_bar.m_tree.ImagesItem());
    m_bar.m_tree.Expand(m_bar.m_tree.ImagesItem(), TVE_EXPAND);
    for (const char* name : {"A", "B", "C"}) {
        m_bar.m_tree.SelectItem(Find(m_bar.m_tree.ImagesItem(), name));
        Step(50); // across the clock's wrap
        Step(50);
    }
    EXPECT_EQ(m_bar.m_nFolderLoads, 1);
    Step(100);
    EXPECT_EQ(m_bar.m_nFolderLoads, 1);
    Step(100);
    EXPECT_EQ(m_bar.m_nFolderLoads, 2);
    EXPECT_EQ(std::string(m_bar.m_strLoadedFolder), Path("Images\\C"));
    Step(500);
    EXPECT_EQ(m_bar.m_nFolderLoads, 2);

    // A reload request loads at the next step; the root shows nothing; the trash rows.
    m_bar.RequestFolderReload();
    Step(0);
    EXPECT_EQ(m_bar.m_nFolderLoads, 3);
    m_bar.m_tree.SelectItem(m_bar.m_tree.RootItem());
    Step(0);
    Step(200);
    EXPECT_EQ(m_bar.m_strLoadedFolder, "");
    EXPECT_EQ(m_bar.m_list.GetCount(), 0);
    m_bar.m_tree.SelectItem(m_bar.m_tree.TrashItem());
    Step(0);
    Step(200);
    EXPECT_TRUE(m_bar.m_list.LIBLIST_TRASH_MODE);
    m_bar.m_tree.SelectItem(m_bar.m_tree.ImagesItem());
    Step(0);
    Step(200);
    EXPECT_FALSE(m_bar.m_list.LIBLIST_TRASH_MODE);
    EXPECT_TRUE(::IsWindow(m_bar.m_list.m_hWnd));
}

TEST_F(LibraryBarTest, NeverStartsInTheProtectedFolderOrTheTrash)
{
    for (std::string last : {Path("IMAGES PROT\xC9G\xC9"
                                  "ES\\Secret"),
                             Path("El\xE9ments Supprim\xE9s"), Path("Images\\B")}) {
        g_LibrarianLastPath = last.c_str();
        CLibraryBar bar;
        ASSERT_TRUE(bar.Create(&m_host, CBRS_ALIGN_LEFT | WS_VISIBLE, ID_LIBRARY_BAR));
        std::string expected = last == Path("Images\\B") ? last : Path("Images");
        EXPECT_EQ(std::string(bar.m_tree.GetSelectedPath()), expected) << last;
        // Closing keeps the folder shown for the next run.
        bar.m_tree.SelectItem(bar.m_tree.FavoritesItem());
        bar.DestroyWindow();
        EXPECT_EQ(std::string(g_LibrarianLastPath), Path("Images Favorites"));
    }
}

TEST_F(LibraryBarTest, LockedProtectedFolderShowsEmptyAndAnimated)
{
    CreateDirectoryA(Path("Images Prot\xE9g\xE9"
                          "es")
                         .c_str(),
                     nullptr);
    Make(Path("Images"));
    Step(0);
    m_bar.m_tree.SelectItem(m_bar.m_tree.ProtectedItem());
    Step(0);
    Step(200);
    EXPECT_TRUE(m_bar.m_list.m_bLockedShown);
    EXPECT_EQ(m_bar.m_list.GetCount(), 0);
    EXPECT_FALSE(m_bar.CanAddPicture());
    g_bProtectedUnlocked = TRUE;
    EXPECT_TRUE(m_bar.CanAddPicture());
}

TEST_F(LibraryBarTest, SplitterStaysInsideTheBar)
{
    g_LibrarianSeparatorH = 5000;
    Make(Path("Images"), CRect(0, 0, 250, 400));
    m_bar.RecalcChildren();
    CRect k;
    m_bar.GetGripRects(nullptr, &k);
    EXPECT_EQ(g_LibrarianSeparatorH, k.bottom - 25);
    g_LibrarianSeparatorH = 3;
    m_bar.RecalcChildren();
    EXPECT_EQ(g_LibrarianSeparatorH, 25);

    // Docked left, the grip is the right edge; the tree stands above the list in a tall bar.
    CRect grip, client;
    m_bar.GetGripRects(&grip, &client);
    CRect full;
    m_bar.GetClientRect(&full);
    EXPECT_EQ(grip.right, full.right - 1);
    EXPECT_EQ(grip.left, full.right - 4);
    EXPECT_EQ(client.right, grip.left - 1);
    CRect tree, list;
    m_bar.m_tree.GetWindowRect(&tree);
    m_bar.m_list.GetWindowRect(&list);
    EXPECT_LT(tree.bottom, list.top);
    // Wide: side by side.
    m_bar.MoveWindow(0, 0, 600, 300);
    m_bar.m_tree.GetWindowRect(&tree);
    m_bar.m_list.GetWindowRect(&list);
    EXPECT_LT(tree.right, list.left);
}

TEST_F(LibraryBarTest, StatusLineAndToolTipTexts)
{
    struct {
        int count, selected;
        const char *first, *second;
    } rows[] = {{0, 0, "", ""},
                {1, 0, "1 image",
                 "1 s\xE9lectionn\xE9"
                 "e"},
                {12, 0, "12 images",
                 "0 s\xE9lectionn\xE9"
                 "e"},
                {12, 5, "12 images",
                 "5 s\xE9lectionn\xE9"
                 "e"},
                {12, 1, "12 images",
                 "1 s\xE9lectionn\xE9"
                 "e"}};
    for (auto& row : rows) {
        CString first, second;
        CLibStatusLine::ComposeTexts(row.count, row.selected, &first, &second);
        EXPECT_EQ(std::string(first), row.first) << row.count << " " << row.selected;
        EXPECT_EQ(std::string(second), row.second) << row.count << " " << row.selected;
    }
    EXPECT_EQ(std::string(LibToolTipText(ID_LIB_SLIDESHOW)), "Diaporama");
    EXPECT_EQ(std::string(LibToolTipText(ID_LIB_PROPERTIES)), "Propri\xE9t\xE9s");
    EXPECT_EQ(std::string(LibToolTipText(IDS_FOLDER_PICTURES)), "");
    EXPECT_EQ(std::string(LibToolTipText(0)), "");

    // An idle step with unchanged counts paints nothing.
    Make(Path("Images"));
    EXPECT_TRUE(m_bar.m_wndToolBar0.Paint(TRUE));
    EXPECT_FALSE(m_bar.m_wndToolBar0.Paint(FALSE));
}

TEST_F(LibraryBarTest, PicturesOfWindowsGoToTheFolderShown)
{
    Make(Path("Images\\A"));
    EXPECT_EQ(g_pLibraryLink, static_cast<ILibraryLink*>(&m_bar));
    g_LibBarTypeCompression = 0;
    HGLOBAL dib = libtest::MakePicture(10, 7, 4);
    EXPECT_TRUE(g_pLibraryLink->AddPictureOfWindow(dib, "Collage.jpg", ""));
    EXPECT_TRUE(testpaths::ReadBytes(Path("Images\\A\\Collage.bmp")).size() > 0);
    EXPECT_TRUE(g_pLibraryLink->AddPictureOfWindow(dib, "Collage.jpg", ""));
    EXPECT_TRUE(testpaths::ReadBytes(Path("Images\\A\\Collage (copie 1).bmp")).size() > 0);

    // Nothing goes into the root or the trash.
    for (HTREEITEM h : {m_bar.m_tree.RootItem(), m_bar.m_tree.TrashItem()}) {
        m_bar.m_tree.SelectItem(h);
        EXPECT_FALSE(g_pLibraryLink->CanAddPicture());
        EXPECT_FALSE(g_pLibraryLink->AddPictureOfWindow(dib, "Collage.jpg", ""));
    }
    EXPECT_TRUE(libtest::Snapshot(Path("El\xE9ments Supprim\xE9s")).empty());
    ::GlobalFree(dib);
    m_bar.DestroyWindow();
    EXPECT_EQ(g_pLibraryLink, nullptr);
}

TEST_F(LibraryBarTest, NothingIsCarriedOntoTheFolderShown)
{
    testpaths::WriteBytes(Path("Images\\A\\Un.jpg"), "un");
    Make(Path("Images\\A"));
    Step(0);
    auto before = libtest::Snapshot(Path("Images\\A"));
    EXPECT_TRUE(m_bar.MoveOrCopySelectedPictures((Path("images\\a") + "\\").c_str(), FALSE));
    EXPECT_TRUE(m_bar.MoveOrCopySelectedPictures(Path("Images\\A").c_str(), TRUE));
    EXPECT_EQ(libtest::Snapshot(Path("Images\\A")), before);
    EXPECT_EQ(AfxTestRecords().modals.size(), 0u);
}

TEST_F(LibraryBarTest, AddedPicturesComeUpSelectedAndMovedOnesLeaveTheList)
{
    for (const char* name : {"Un", "Deux", "Trois"})
        ASSERT_TRUE(libtest::WriteBmp(Path(std::string("Images\\A\\") + name + ".bmp"), 8, 6, 1));
    Make(Path("Images\\A"));
    Step(0);
    ASSERT_EQ(m_bar.m_list.GetCount(), 3);

    // A new file joins the list and comes up alone selected; unknown paths select nothing.
    ASSERT_TRUE(libtest::WriteBmp(Path("Images\\A\\Quatre.bmp"), 8, 6, 2));
    CStringArray paths;
    paths.Add(Path("images\\a\\QUATRE.bmp").c_str());
    m_bar.SelectPicturesByName(&paths);
    ASSERT_EQ(m_bar.m_list.GetCount(), 4);
    ASSERT_EQ(m_bar.m_list.GetSelCount(), 1);
    int caret = m_bar.m_list.GetCaretIndex();
    EXPECT_EQ(std::string(m_bar.m_list.GetRecord(caret)->m_strBaseName), "Quatre");
    CStringArray unknown;
    unknown.Add(Path("Images\\B\\Autre.bmp").c_str());
    m_bar.SelectPicturesByName(&unknown);
    EXPECT_EQ(m_bar.m_list.GetSelCount(), 0);
    EXPECT_EQ(m_bar.m_list.GetCaretIndex(), caret);

    // Two pictures moved to B leave the list and arrive with their records.
    m_bar.m_list.SetSel(0, TRUE);
    m_bar.m_list.SetSel(2, TRUE);
    std::string first = std::string(m_bar.m_list.GetRecord(0)->m_strFileName);
    EXPECT_TRUE(m_bar.MoveOrCopySelectedPictures(Path("Images\\B").c_str(), FALSE));
    EXPECT_EQ(m_bar.m_list.GetCount(), 2);
    EXPECT_EQ(libtest::Snapshot(Path("Images\\B")).size(), 4u) << "two pictures and two records";
    EXPECT_FALSE(testpaths::ReadBytes(Path("Images\\B\\" + first)).empty());
    // Copying leaves the list as it is.
    m_bar.m_list.SetSel(-1, FALSE);
    m_bar.m_list.SetSel(0, TRUE);
    EXPECT_TRUE(m_bar.MoveOrCopySelectedPictures(Path("Images\\C").c_str(), TRUE));
    EXPECT_EQ(m_bar.m_list.GetCount(), 2);
    EXPECT_EQ(libtest::Snapshot(Path("Images\\C")).size(), 2u);
}

// A series rename given up renames nothing and leaves the list as it was, its three pictures still
// selected for the Delete that follows; one done shows the names on disk.
TEST_F(LibraryBarTest, OnlyASeriesRenameDoneReloadsTheList)
{
    for (const char* name : {"Un", "Deux", "Trois", "Quatre"})
        ASSERT_TRUE(libtest::WriteBmp(Path(std::string("Images\\A\\") + name + ".bmp"), 8, 6, 1));
    Make(Path("Images\\A"));
    Step(0);
    g_ShowInfoSuppress = 0;
    for (int answer : {IDOK, IDCANCEL}) {
        SCOPED_TRACE(answer);
        m_bar.m_list.SetSel(-1, FALSE);
        for (int i = 0; i < 3; i++)
            m_bar.m_list.SetSel(i, TRUE);
        m_bar.FocusList();
        const int loads = m_bar.m_nFolderLoads;
        AfxScriptNextModal(IDD_RENAME_PICTURES, {{IDC_RENAME_NAME, "Vacances"}}, answer);
        m_bar.SendMessage(WM_COMMAND, ID_LIB_RENAME);
        Step(0);
        EXPECT_EQ(m_bar.m_nFolderLoads, loads + (answer == IDOK ? 1 : 0));
    }
    EXPECT_EQ(std::string(m_bar.m_list.GetRecord(3)->m_strBaseName), "Vacances 3");
    m_bar.SendMessage(WM_COMMAND, ID_LIB_DELETE);
    EXPECT_EQ(m_bar.m_list.GetCount(), 1);
    EXPECT_EQ(ListMatchingFiles((Trash() + "*.del").c_str()).size(), 3u);
}

// A picture goes to the trash with its record file, its trash record remembering the protected folder
// it came from (a restore asks for the password again).
TEST_F(LibraryBarTest, APictureInTheTrashRemembersItsProtectedFolder)
{
    Make(Path("Images"));
    g_bProtectedUnlocked = TRUE;
    m_bar.m_tree.SelectItem(m_bar.m_tree.ProtectedItem());
    const std::string rel = "Images Prot\xE9g\xE9"
                            "es\\Un.bmp";
    CPicObject record;
    libtest::FillRecord(record, Path(rel));
    ASSERT_TRUE(libtest::WriteBmp(Path(rel), 8, 6, 1) && record.SaveDai());
    ASSERT_TRUE(m_bar.MovePictureToTrash(Path(rel).c_str()));
    const std::vector<CString> dels = ListMatchingFiles((Trash() + "*.del").c_str());
    ASSERT_EQ(dels.size(), 1u);
    CDelObject item;
    ASSERT_TRUE(item.LoadDel(dels[0]));
    EXPECT_EQ(item.m_nKind, kTrashPicture);
    EXPECT_TRUE(item.m_bFromProtected);
    EXPECT_EQ(std::string(item.m_strRelPath), rel);
    EXPECT_EQ(std::string(item.m_strRelDaiPath), rel.substr(0, rel.size() - 3) + "dai");
    EXPECT_EQ(std::string(item.m_strOrigFolder), Path("Images Prot\xE9g\xE9"
                                                      "es"));
    EXPECT_EQ(libtest::Snapshot(Path("Images Prot\xE9g\xE9"
                                     "es")),
              (std::map<std::string, std::string>{}));
}

// A picture whose extension is in capitals: its record holds the extension in lower case, while a
// copy from the bar keeps the name as it is on disk.
TEST_F(LibraryBarTest, PicturesKeepTheirNamesOnDiskAndTheirRecordsALowerCaseExtension)
{
    const std::string name = "\xC9t\xE9\xC0 Paris.JPG";
    ASSERT_TRUE(libtest::WriteBmp(Path("Images\\A\\" + name), 8, 6, 1));
    Make(Path("Images\\A"));
    Step(0);
    ASSERT_EQ(m_bar.m_list.GetCount(), 1);
    CPicObject stored;
    ASSERT_TRUE(ReadRecordAsIs(Path("Images\\A\\\xC9t\xE9\xC0 Paris.dai").c_str(), stored));
    EXPECT_STREQ(stored.m_strExt, "jpg");
    EXPECT_EQ(std::string(stored.m_strFileName), name);
    m_bar.m_list.SetSel(0, TRUE);
    EXPECT_TRUE(m_bar.MoveOrCopySelectedPictures(Path("Images\\B").c_str(), TRUE));
    EXPECT_EQ(libtest::Snapshot(Path("Images\\B")).count(name), 1u);
}

TEST_F(LibraryBarTest, TrashRowsGetAListWindowOfTheirOwn)
{
    Make(Path("Images"));
    Step(0);
    EXPECT_TRUE(m_bar.m_list.GetStyle() & LBS_MULTICOLUMN);
    m_bar.m_tree.SelectItem(m_bar.m_tree.TrashItem());
    Step(0);
    Step(200);
    EXPECT_TRUE(m_bar.m_list.LIBLIST_TRASH_MODE);
    EXPECT_FALSE(m_bar.m_list.GetStyle() & LBS_MULTICOLUMN);
    m_bar.m_tree.SelectItem(m_bar.m_tree.ImagesItem());
    Step(0);
    Step(200);
    EXPECT_FALSE(m_bar.m_list.LIBLIST_TRASH_MODE);
    EXPECT_TRUE(m_bar.m_list.GetStyle() & LBS_MULTICOLUMN);
    EXPECT_TRUE(::IsWindow(m_bar.m_list.m_hWnd));
}

TEST_F(LibraryBarTest, ClickInTheLockedListAsksForThePassword)
{
    g_ProtectedPics = "Clef";
    CreateDirectoryA(Path("Images Prot\xE9g\xE9"
                          "es")
                         .c_str(),
                     nullptr);
    ASSERT_TRUE(libtest::WriteBmp(Path("Images Prot\xE9g\xE9"
                                       "es\\Secret.bmp"),
                                  8, 6, 3));
    Make(Path("Images"));
    Step(0);
    m_bar.m_tree.SelectItem(m_bar.m_tree.ProtectedItem());
    Step(0);
    Step(200);
    EXPECT_EQ(m_bar.m_list.GetCount(), 0);
    MSG click = {m_bar.m_list.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5), 0, {0, 0}};
    AfxScriptNextModal(IDD_ENTER_PASSWORD, {{IDC_PASSWORD_ENTER, "clef"}}, IDOK);
    EXPECT_TRUE(m_bar.PreTranslateMessage(&click));
    Step(0);
    EXPECT_EQ(m_bar.m_list.GetCount(), 0);
    AfxScriptNextModal(IDD_ENTER_PASSWORD, {{IDC_PASSWORD_ENTER, "Clef"}}, IDOK);
    EXPECT_TRUE(m_bar.PreTranslateMessage(&click));
    Step(0);
    EXPECT_EQ(m_bar.m_list.GetCount(), 1);
    EXPECT_FALSE(m_bar.m_list.m_bLockedShown);
    g_ProtectedPics.Empty();
}

TEST_F(LibraryBarTest, KeysOfTheBarReachTheTreeAndItsLabelEditor)
{
    Make(Path("Images"));
    Step(0);
    auto key = [this](HWND hwnd, UINT vk) {
        MSG msg = {hwnd, WM_KEYDOWN, vk, 0, 0, {0, 0}};
        return m_bar.PreTranslateMessage(&msg);
    };
    // A letter without Ctrl does nothing; Insert names a new folder in place.
    EXPECT_TRUE(key(m_bar.m_tree.m_hWnd, 'A'));
    EXPECT_TRUE(key(m_bar.m_tree.m_hWnd, VK_INSERT));
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    ASSERT_TRUE(m_bar.m_tree.m_bCreatingItem);
    CEdit* pEdit = m_bar.m_tree.GetEditControl();
    ASSERT_NE(pEdit, nullptr);
    // While the label is edited, the idle step loads nothing and keys go to the editor.
    int loads = m_bar.m_nFolderLoads;
    Step(500);
    EXPECT_EQ(m_bar.m_nFolderLoads, loads);
    pEdit->SetWindowText("Anniversaire");
    EXPECT_TRUE(key(pEdit->m_hWnd, VK_RETURN));
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    EXPECT_FALSE(m_bar.m_tree.m_bCreatingItem);
    DWORD attr = ::GetFileAttributesA(Path("Images\\Anniversaire").c_str());
    EXPECT_TRUE(attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY));
}

// Large counts fit the status line: it grows to the left, keeping its right edge.
TEST_F(LibraryBarTest, StatusLineFitsLargeCounts)
{
    Make(Path("Images"));
    CLibStatusLine& line = m_bar.m_wndToolBar0;
    CListBox many;
    ASSERT_TRUE(many.Create(WS_CHILD | LBS_EXTENDEDSEL | LBS_NOTIFY, CRect(0, 0, 10, 10), &m_host, 4321));
    for (int i = 0; i < 2000; i++)
        many.AddString("x");
    many.SelItemRange(TRUE, 0, 1999);
    CRect before;
    line.GetWindowRect(&before);
    line.m_pList = &many;
    EXPECT_TRUE(line.Paint(TRUE));

    CString first, second;
    CLibStatusLine::ComposeTexts(2000, 2000, &first, &second);
    CClientDC dc(&line);
    HGDIOBJ old = dc.SelectObject(g_fontArial7.m_hObject != nullptr ? g_fontArial7.m_hObject
                                                                    : ::GetStockObject(DEFAULT_GUI_FONT));
    SIZE size = {};
    ::GetTextExtentPoint32A(dc.m_hDC, second, second.GetLength(), &size);
    dc.SelectObject(old);
    CRect after;
    line.GetClientRect(&after);
    EXPECT_GE(after.Width(), size.cx) << "\"" << static_cast<LPCSTR>(second) << "\" fits";
    CRect now;
    line.GetWindowRect(&now);
    EXPECT_EQ(now.right, before.right);
    line.m_pList = &m_bar.m_list;
}

// The folder tool bar shows all its buttons, on one row over a narrow bar and one per row down the
// side of a wide one.
TEST_F(LibraryBarTest, FolderToolBarShowsEveryButtonInBothShapes)
{
    Make(Path("Images"));
    for (CRect rect : {CRect(0, 0, 260, 600), CRect(0, 0, 600, 300), CRect(0, 0, 260, 600)}) {
        SCOPED_TRACE(rect.Width());
        m_bar.MoveWindow(&rect);
        CToolBar& tools = m_bar.m_wndLibBarTools1;
        CRect client;
        tools.GetClientRect(&client);
        int buttons = 0;
        for (int i = 0; i < tools.GetCount(); i++) {
            if (LOWORD(tools.GetButtonStyle(i)) & TBSTYLE_SEP)
                continue;
            CRect item;
            tools.GetItemRect(i, &item);
            EXPECT_TRUE(client.PtInRect(item.TopLeft()) && item.right <= client.right
                        && item.bottom <= client.bottom)
                << "button " << i << " at " << item.left << "," << item.top << " in " << client.Width()
                << " x " << client.Height();
            buttons++;
        }
        EXPECT_GE(buttons, 5);
    }
}

// A bar docked on the left widens from anywhere between the line along its edge and its outer edge,
// the border outside its client area included; a press in the list next to it starts no resize.
TEST_F(LibraryBarTest, DockedBarWidensFromItsWholeEdge)
{
    Make(Path("Images"));
    int savedWidth = g_LibBarSizeH;
    CRect client, window;
    m_bar.GetClientRect(&client);
    m_bar.GetWindowRect(&window);
    m_bar.ScreenToClient(&window);
    // The line along the edge is 6 pixels inside the client area's right side.
    int first = client.right - 6;
    for (int x = first; x < window.right; x++) {
        SCOPED_TRACE(x);
        m_bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 300));
        EXPECT_EQ(m_bar.m_nDragMode, 3);
        m_bar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, 300));
        EXPECT_EQ(m_bar.m_nDragMode, 0);
    }
    m_bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(first - 30, 300));
    EXPECT_EQ(m_bar.m_nDragMode, 0);
    m_bar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(first - 30, 300));
    g_LibBarSizeH = savedWidth;
}

// Export says how many pictures arrived in the folder chosen, and remembers the folder. The folder has
// a line of its own: whole when it fits, else its beginning and its own name, whatever the path the
// user's name and the system give the temporary folder.
TEST_F(LibraryBarTest, ExportSaysHowManyPicturesItExported)
{
    for (const char* name : {"Un", "Deux", "Trois"})
        ASSERT_TRUE(libtest::WriteBmp(Path(std::string("Images\\A\\") + name + ".bmp"), 8, 6, 1));
    const std::string plain = Path("Sortie");
    CreateDirectoryA(Path("Loin").c_str(), nullptr);
    const std::string deep = testpaths::MakeFolderOfLength(Path("Loin"), 100) + "\\Seule";
    CreateDirectoryA(plain.c_str(), nullptr);
    CreateDirectoryA(deep.c_str(), nullptr);
    Make(Path("Images\\A"));
    Step(0);
    ASSERT_EQ(m_bar.m_list.GetCount(), 3);
    struct Row {
        std::string folder, name;
        int selected;
        const char* said;
    };
    const Row rows[] = {
        {plain, "Sortie", 3,
         "3 images ont \xe9t\xe9 export\xe9"
         "es"},
        {deep, "Seule", 1,
         "1 image a \xe9t\xe9 export\xe9"
         "e"},
    };
    const size_t kLine = 38;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.folder);
        m_bar.m_list.SetSel(-1, FALSE);
        m_bar.m_list.SelItemRange(TRUE, 0, row.selected - 1);
        AfxTestRecords().messageBoxes.clear();
        AfxScriptCommonDialog(AfxCommonDialogKind::Folder, {true, row.folder, 0});
        AfxScriptMessageBox(IDOK);
        m_bar.SendMessage(WM_COMMAND, ID_LIB_EXPORT);
        EXPECT_EQ(libtest::Snapshot(row.folder).size(), static_cast<size_t>(row.selected));
        ASSERT_EQ(AfxTestRecords().messageBoxes.size(), 1u);
        const std::string& text = AfxTestRecords().messageBoxes[0].text;
        EXPECT_NE(text.find(row.said), std::string::npos) << text;
        const size_t open = text.find("\n'");
        ASSERT_NE(open, std::string::npos) << text;
        const std::string shown = text.substr(open + 2, text.find('\'', open + 2) - open - 2);
        if (row.folder.size() <= kLine) {
            EXPECT_EQ(shown, row.folder);
        } else {
            EXPECT_LE(shown.size(), kLine) << shown;
            EXPECT_EQ(shown.substr(0, 3), row.folder.substr(0, 3)) << shown;
            EXPECT_NE(shown.find("..."), std::string::npos) << shown;
            EXPECT_EQ(shown.substr(shown.size() - row.name.size() - 1), "\\" + row.name) << shown;
        }
        EXPECT_STREQ(g_CurrentExportDirectory, row.folder.c_str());
    }
    EXPECT_EQ(AfxTestPendingScripts(), "");
    g_CurrentExportDirectory.Empty();
}

TEST_F(LibraryBarTest, FailedAddsImportsAndEmptyingAreSaid)
{
    // A picture whose name the code page cannot spell ("Łódź", made through the wide calls) joins
    // one with texts under the name the system spells it with ("Lódz"): listed unreadable, it gets no
    // record, and no step asked of it touches the other one.
    const std::wstring unspelled = L"\x0141\x00f3"
                                   L"d\x017a zima.bmp";
    char bestFit[MAX_PATH] = "";
    ::WideCharToMultiByte(CP_ACP, 0, unspelled.c_str(), -1, bestFit, MAX_PATH, nullptr, nullptr);
    const std::string other = Path(std::string("Images\\A\\") + bestFit);
    CPicObject texts;
    libtest::FillRecord(texts, other);
    ASSERT_TRUE(libtest::WriteBmp(other, 8, 6, 1) && texts.SaveDai());
    Make(Path("Images\\A"));
    Step(0);
    wchar_t folder[MAX_PATH] = L"";
    ::MultiByteToWideChar(CP_ACP, 0, Path("Images\\A\\").c_str(), -1, folder, MAX_PATH);
    ASSERT_TRUE(libtest::WriteBmp(Path("Images\\A\\zima.tmp"), 9, 6, 2)
                && ::MoveFileW((std::wstring(folder) + L"zima.tmp").c_str(), (folder + unspelled).c_str()));
    const CString deep = testpaths::MakeFolderOfLength(Path("Images\\A"), 200).c_str();
    const auto before = libtest::Snapshot(Path("Images"));
    m_bar.SendMessage(WM_COMMAND, ID_LIB_REFRESH);
    while (m_bar.m_list.BuildNextThumbnail() == 1) {
    }
    ASSERT_EQ(m_bar.m_list.GetCount(), 2);
    const int lodz = m_bar.m_list.GetRecord(0)->m_strComment == texts.m_strComment ? 1 : 0;
    EXPECT_EQ(m_bar.m_list.GetRecord(lodz)->m_nThumbState, -1);
    EXPECT_STREQ(m_bar.m_list.GetRecord(1 - lodz)->m_strComment, texts.m_strComment);
    m_bar.m_list.SetSel(-1, FALSE);
    m_bar.m_list.SetSel(lodz, TRUE); // it stays selected: each step asked of it fails
    m_bar.m_bListHasFocus = TRUE;
    // Added as it is (0: a BMP), as JPEG (1) or as PNG (2).
    const auto addOntoFullDisk = [](int compression) {
        HGLOBAL dib = libtest::MakePicture(10, 7, 4);
        g_LibBarTypeCompression = compression;
        SetWriteFileRoom(0);
        EXPECT_FALSE(g_pLibraryLink->AddPictureOfWindow(dib, "Collage.bmp", ""));
        SetWriteFileRoom(-1);
        g_LibBarTypeCompression = 0;
        ::GlobalFree(dib);
    };
    const char kUnspelled[] = "des lettres que ce programme ne peut pas \xE9"
                              "crire";
    // Its name as the user is shown it, each missing letter a question mark, never the listing's mark.
    const char kShown[] = "?\xF3"
                          "d? zima.bmp";
    struct {
        const char* name;
        std::function<void()> run;
        const char* said;  // a part of the message
        const char* cause; // and why
    } rows[] = {
        {"add of a window's picture onto a full disk", [&] { addOntoFullDisk(0); }, "Collage.bmp",
         "Le disque est plein."},
        {"add of a window's picture as JPEG onto a full disk", [&] { addOntoFullDisk(1); }, "Collage.bmp",
         "Le disque est plein."},
        {"add of a window's picture as PNG onto a full disk", [&] { addOntoFullDisk(2); }, "Collage.bmp",
         "Le disque est plein."},
        {"import of a file that cannot be read",
         [&] {
             // Its dialog left current a folder the code page cannot spell: the next one does not open
             // at the look-alike.
             wchar_t before[MAX_PATH] = L"";
             ::GetCurrentDirectoryW(MAX_PATH, before);
             const std::wstring lodz = testpaths::Wide(Path("")) + L"\x0141odz";
             ASSERT_TRUE(::CreateDirectoryW(lodz.c_str(), nullptr) && ::SetCurrentDirectoryW(lodz.c_str()));
             g_CurrentImportDirectory.Empty();
             AfxScriptCommonDialog(AfxCommonDialogKind::Open, {true, Path("Absent.jpg"), 0});
             m_bar.OnLibImport();
             ::SetCurrentDirectoryW(before);
             EXPECT_EQ(g_CurrentImportDirectory.Find("odz"), -1) << g_CurrentImportDirectory;
         },
         "Absent.jpg", ""},
        {"import into a deep folder of a picture whose name does not fit there",
         [&] {
             const std::string source = Path(std::string(60, 'n') + ".bmp");
             ASSERT_TRUE(libtest::WriteBmp(source, 4, 3, 1));
             EXPECT_FALSE(m_bar.AddFileToLibrary(source.c_str(), nullptr, &deep));
         },
         "nnnnnnnnnn.bmp", "Le nom du fichier est trop long."},
        {"emptying the trash of which another program holds something",
         [&] {
             testpaths::WriteBytes(Trash() + "file0001.pai", "picture");
             HANDLE held = ::CreateFileA((Trash() + "file0001.pai").c_str(), GENERIC_READ, 0, nullptr,
                                         OPEN_EXISTING, 0, nullptr);
             AfxScriptNextModal(IDD_EMPTY_TRASH_CONFIRM, {}, IDOK);
             m_bar.OnLibEmptyDeleted();
             ::CloseHandle(held);
         },
         "Supprim\xE9s", "utilis\xE9 par un autre programme"},
        {"rename of the picture whose name the code page cannot spell",
         [&] {
             AfxScriptNextModal(IDD_RENAME_PICTURE, {{IDC_RENAME_NAME, "Cracovie"}}, IDOK);
             m_bar.SendMessage(WM_COMMAND, ID_LIB_RENAME);
         },
         kShown, kUnspelled},
        {"move of it", [&] { m_bar.MoveOrCopySelectedPictures(Path("Images\\B").c_str(), FALSE); }, kShown,
         kUnspelled},
        {"delete of it", [&] { m_bar.SendMessage(WM_COMMAND, ID_LIB_DELETE); }, kShown, kUnspelled},
    };
    for (auto& row : rows) {
        SCOPED_TRACE(row.name);
        ResetUi();
        row.run();
        DisarmFileFault();
        ASSERT_EQ(Messages(), 1u);
        const std::string said = AfxTestRecords().messageBoxes.back().text;
        EXPECT_NE(said.find(row.said), std::string::npos) << said;
        EXPECT_NE(said.find(row.cause), std::string::npos) << said;
    }
    // Its properties only show: no field of its identity can be edited.
    int editable = 0;
    AfxModalStep look;
    look.page = 1;
    look.buttonId = 0;
    look.check = [&](CWnd* pSheet) {
        HWND hPage = reinterpret_cast<HWND>(pSheet->SendMessage(PSM_GETCURRENTPAGEHWND));
        for (int id : {IDC_PICPROP_NAME, IDC_PICPROP_AUTHOR, IDC_PICPROP_KEYWORDS})
            editable += !(::GetWindowLongA(::GetDlgItem(hPage, id), GWL_STYLE) & ES_READONLY);
    };
    AfxScriptModal(IDS_PICTURE_PROPERTIES, {look, AfxModalStep()});
    m_bar.SendMessage(WM_COMMAND, ID_LIB_PROPERTIES);
    EXPECT_EQ(AfxTestPendingScripts(), "");
    EXPECT_EQ(editable, 0);
    EXPECT_EQ(libtest::Snapshot(Path("Images")), before);
    EXPECT_NE(::GetFileAttributesW((folder + unspelled).c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(LibraryBarTest, NewFolderIsOfferedOnlyWhereAFolderCanStay)
{
    Make(Path("Images\\A"));
    struct CProbe : CCmdUI {
        int enabled = -1;
        void Enable(BOOL bOn) override { enabled = bOn ? 1 : 0; }
    };
    struct {
        HTREEITEM item;
        int offered;
    } rows[] = {
        {m_bar.m_tree.ImagesItem(), 1},
        {m_bar.m_tree.RootItem(), 0},
        {m_bar.m_tree.TrashItem(), 0},
    };
    for (auto& row : rows) {
        m_bar.m_tree.SelectItem(row.item);
        CProbe probe;
        m_bar.OnUpdateLibNewFolder(&probe);
        EXPECT_EQ(probe.enabled, row.offered) << static_cast<LPCSTR>(m_bar.m_tree.GetItemText(row.item));
        if (!row.offered) {
            EXPECT_FALSE(m_bar.m_tree.BeginNewFolder());
        }
    }
}
