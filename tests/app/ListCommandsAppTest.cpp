// The list commands wired for the three list windows, end to end in the running program: the
// explorer's addition to the library and its keys, selection by pattern and a cancelled slide show in
// every window, the question about a missing editor, the search window's own commands, the library's
// pop-up menus, new folder and rename message, and the main window's command for the library's root
// folder.
#include "tests/app/ListWindowsFixture.h"

#include "app/SlideShowDlg.h"
#include "explorer/ExplorerDoc.h"
#include "explorer/ExplorerMDI.h"
#include "framework/Dc.h"
#include "framework/TestSeams.h"
#include "piclist/PatternDialogs.h"
#include "piclist/PicObject.h"
#include "piclist/SafeFileOps.h"
#include "resources/dialogs-ids.h"
#include "resources/library-cmds-ids.h"
#include "resources/resource.h"
#include "resources/search-ids.h"

#include <functional>
#include <string>
#include <vector>

namespace {

HINSTANCE Module() { return GetModuleHandleA(nullptr); }

std::vector<UINT> PopupIds(int position)
{
    std::vector<UINT> ids;
    HMENU menu = LoadMenuA(Module(), MAKEINTRESOURCEA(IDR_CONTEXTMENUS));
    HMENU popup = GetSubMenu(menu, position);
    for (int i = 0; popup != nullptr && i < GetMenuItemCount(popup); i++)
        ids.push_back(GetSubMenu(popup, i) != nullptr ? static_cast<UINT>(-1) : GetMenuItemID(popup, i));
    DestroyMenu(menu);
    return ids;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class ListCommands : public ListWindowsTest {
protected:
    // The list of the window kind now in front, and the command ids of its pattern commands and its
    // slide show.
    struct Kind {
        const char* name;
        std::function<CListBox*(ListCommands*)> open;
        UINT select;
        UINT deselect;
        UINT slideShow;
    };
    static std::vector<Kind> Kinds()
    {
        return {
            {"library", [](ListCommands* t) -> CListBox* { return &t->Bar()->m_list; }, ID_LIB_SELECT_PATTERN,
             ID_LIB_DESELECT_PATTERN, ID_LIB_SLIDESHOW},
            {"explorer",
             [](ListCommands* t) -> CListBox* {
                 CExplorerView* p = t->OpenExplorer();
                 return p != nullptr ? &p->m_list : nullptr;
             },
             ID_EXPLORER_SELECT_PATTERN, ID_EXPLORER_DESELECT_PATTERN, ID_EXPLORER_SLIDESHOW},
            {"search",
             [](ListCommands* t) -> CListBox* {
                 CSearchView* p = t->OpenSearch();
                 return p != nullptr ? &p->m_list : nullptr;
             },
             ID_EXPLORER_SELECT_PATTERN, ID_EXPLORER_DESELECT_PATTERN, ID_EXPLORER_SLIDESHOW},
        };
    }
    std::string LastMessage()
    {
        auto& boxes = AfxTestRecords().messageBoxes;
        return boxes.empty() ? std::string() : boxes.back().text;
    }
};

} // namespace

TEST_F(ListCommands, PatternsAndACancelledSlideShowLeaveTheSelectionOfEveryListWindow)
{
    ASSERT_TRUE(StartWithLibrary());
    for (const Kind& kind : Kinds()) {
        CListBox* pList = kind.open(this);
        ASSERT_NE(pList, nullptr) << kind.name;
        // "D*" (typed in capitals) replaces the selection by the one picture it names.
        AfxScriptNextModal(IDD_SELECT_PICTURES, {{IDC_PATTERN_COMBO, "D*"}, {IDC_PATTERN_REPLACE, "1"}},
                           IDOK);
        Command(kind.select);
        EXPECT_EQ(Selection(*pList), std::vector<int>{1}) << kind.name;
        EXPECT_EQ(std::string(g_arrSelectPatterns[0]), "d*") << kind.name;
        // Everything selected, then the cat left out.
        ::SendMessageA(pList->m_hWnd, LB_SETSEL, TRUE, -1);
        AfxScriptNextModal(IDD_DESELECT_PICTURES, {{IDC_PATTERN_COMBO, "chat.*"}}, IDOK);
        Command(kind.deselect);
        EXPECT_EQ(Selection(*pList), std::vector<int>{1}) << kind.name;
        EXPECT_EQ(std::string(g_arrDeselectPatterns[0]), "chat.*") << kind.name;
        // A pattern that matches nothing says so and leaves the selection.
        AfxScriptNextModal(IDD_DESELECT_PICTURES, {{IDC_PATTERN_COMBO, "*.png"}}, IDOK);
        AfxScriptMessageBox(IDOK);
        Command(kind.deselect);
        EXPECT_EQ(LastMessage(), "Aucune concordance trouv\xE9\x65.") << kind.name;
        EXPECT_EQ(Selection(*pList), std::vector<int>{1}) << kind.name;
        // The slide show of one picture selects them all; cancelled, the picture, caret and anchor stay.
        pList->SetSel(1, TRUE);
        AfxScriptNextModal(IDD_SLIDESHOW, {}, IDCANCEL);
        Command(kind.slideShow);
        EXPECT_EQ(Selection(*pList), std::vector<int>{1}) << kind.name;
        EXPECT_EQ(pList->GetCaretIndex(), 1) << kind.name;
        EXPECT_EQ(pList->SendMessage(LB_GETANCHORINDEX), 1) << kind.name;
        CloseWindows();
    }
    // One history for all three, newest first, without repeats.
    EXPECT_EQ(std::string(g_arrSelectPatterns[0]), "d*");
    EXPECT_EQ(std::string(g_arrSelectPatterns[1]) == "d*", false);
}

TEST_F(ListCommands, MissingEditorOpensThePreferencesOnTheEditorPage)
{
    ASSERT_TRUE(StartWithLibrary());
    g_DefaultEditorPathName.Empty();
    struct Case {
        const char* window;
        UINT command;
        bool explorer;
    };
    for (const Case& c :
         {Case{"library", ID_LIB_EDIT_PICTURE, false}, Case{"explorer", ID_EXPLORER_EDIT_PICTURE, true}}) {
        if (c.explorer) {
            ASSERT_NE(OpenExplorer(), nullptr);
        }
        g_nPrefsStartPage = 0;
        int shownPage = -1;
        AfxModalStep look;
        look.buttonId = 0; // looked at while open, then cancelled
        look.check = [&shownPage](CWnd* pSheet) {
            HWND hPage =
                reinterpret_cast<HWND>(::SendMessageA(pSheet->GetSafeHwnd(), PSM_GETCURRENTPAGEHWND, 0, 0));
            shownPage = static_cast<int>(
                ::SendMessageA(pSheet->GetSafeHwnd(), PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(hPage), 0));
        };
        AfxScriptMessageBox(IDYES);
        AfxScriptModal(IDS_PREFERENCES_CAPTION, {look});
        Command(c.command);
        Pump();
        EXPECT_EQ(
            LastMessage(),
            "Aucun \xE9\x64iteur d'image externe n'a \xE9t\xE9 d\xE9\x66ini.\nVoulez-vous le d\xE9\x66inir "
            "maintenant ?")
            << c.window;
        EXPECT_EQ(shownPage, kPrefsPageEditor) << c.window;
        CloseWindows();
    }
}

TEST_F(ListCommands, ExplorerAddsItsSelectionToTheLibraryWithItsKeys)
{
    ASSERT_TRUE(Start());
    SettleBar();
    CExplorerView* pView = OpenExplorer();
    ASSERT_NE(pView, nullptr);
    // F3 is the same command as the menu item and the tool-bar button.
    HACCEL table = LoadAcceleratorsA(Module(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ACCEL keys[64] = {};
    int count = CopyAcceleratorTableA(table, keys, 64);
    bool f3 = false;
    for (int i = 0; i < count; i++)
        f3 |= keys[i].key == VK_F3 && keys[i].fVirt == (FVIRTKEY | FNOINVERT)
              && keys[i].cmd == ID_EXPLORER_ADD_TO_LIBRARY;
    EXPECT_TRUE(f3);

    EXPECT_EQ(UpdateOf(m_pFrame, ID_EXPLORER_ADD_TO_LIBRARY), 1);
    Command(ID_EXPLORER_ADD_TO_LIBRARY);
    SettleBar();
    EXPECT_TRUE(Exists(m_root + "\\Images\\chat.bmp"));
    EXPECT_FALSE(Exists(m_root + "\\Images\\dune.bmp"));
    // The library shows the added picture selected.
    ASSERT_EQ(Selection(Bar()->m_list).size(), 1u);
    auto* pRecord = reinterpret_cast<CPicObject*>(Bar()->m_list.GetItemData(Selection(Bar()->m_list)[0]));
    EXPECT_EQ(lstrcmpiA(pRecord->m_strFileName, "chat.bmp"), 0);

    // Nowhere to add: the root and the trash grey the command; nothing selected too.
    for (const std::string& folder : {m_root, m_root + "\\El\xE9ments Supprim\xE9s"}) {
        Bar()->m_tree.SelectPath(folder.c_str());
        SettleBar();
        EXPECT_EQ(UpdateOf(m_pFrame, ID_EXPLORER_ADD_TO_LIBRARY), 0) << folder;
    }
    Bar()->m_tree.SelectPath((m_root + "\\Images").c_str());
    SettleBar();
    ::SendMessageA(pView->m_list.m_hWnd, LB_SETSEL, FALSE, -1);
    EXPECT_EQ(UpdateOf(m_pFrame, ID_EXPLORER_ADD_TO_LIBRARY), 0);

    // Space in the folder tree hands the keyboard to the library bar's list while the bar shows.
    Bar()->m_list.SetFocus();
    pView->m_tree.SetFocus();
    pView->m_tree.SendMessage(WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(::GetFocus(), Bar()->m_list.m_hWnd);
    pView->m_list.SetFocus();
    pView->m_list.SendMessage(WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(::GetFocus(), Bar()->m_list.m_hWnd);
    Command(ID_VIEW_LIBRARY_BAR);
    Pump();
    ASSERT_FALSE(Bar()->IsWindowVisible());
    pView->m_tree.SetFocus();
    pView->m_tree.SendMessage(WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(::GetFocus(), pView->m_tree.m_hWnd);
    // The same in the list: a hidden bar never takes the keyboard.
    pView->m_list.SetFocus();
    pView->m_list.SendMessage(WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(::GetFocus(), pView->m_list.m_hWnd);
}

TEST_F(ListCommands, SearchWindowCommandsAct)
{
    ASSERT_TRUE(StartWithLibrary());
    CSearchView* pView = OpenSearch();
    ASSERT_NE(pView, nullptr);
    CToolBar* pBar = &static_cast<CSearchMDI*>(pView->GetParentFrame())->m_wndToolBar;

    struct Case {
        const char* what;
        UINT command;
        std::function<void()> arrange;
        std::function<void()> check;
    };
    int shownBefore = (pBar->GetStyle() & WS_VISIBLE) != 0 ? 1 : 0;
    // What a sheet that only shows offers: its texts fixed, no OK, a button that closes.
    std::string shownOnly;
    AfxModalStep lookShownOnly;
    lookShownOnly.buttonId = 0;
    lookShownOnly.page = 1;
    lookShownOnly.check = [&](CWnd* pSheet) {
        HWND hSheet = pSheet->GetSafeHwnd(), hOK = ::GetDlgItem(hSheet, IDOK);
        HWND hPage = reinterpret_cast<HWND>(::SendMessageA(hSheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        char close[32] = "";
        ::GetDlgItemTextA(hSheet, IDCANCEL, close, sizeof(close));
        shownOnly =
            std::string(::GetWindowLongA(::GetDlgItem(hPage, IDC_PICPROP_AUTHOR), GWL_STYLE) & ES_READONLY
                            ? "auteur fig\xE9"
                            : "auteur modifiable")
            + (::IsWindowVisible(hOK) || ::IsWindowEnabled(hOK) ? ", OK, " : ", pas de OK, ") + close;
    };
    const Case cases[] = {
        {"sort by type, saved", ID_EXPLORER_SORT_TYPE, [] {}, [] { EXPECT_EQ(g_DefaultSortBy, 1); }},
        {"descending, saved", ID_EXPLORER_SORT_DESCENDING, [] {}, [] { EXPECT_EQ(g_DefaultSortOrder, 1); }},
        {"ascending, saved", ID_EXPLORER_SORT_ASCENDING, [] {}, [] { EXPECT_EQ(g_DefaultSortOrder, 0); }},
        {"tool bar hidden or shown", ID_VIEW_LOCAL_TOOLBAR, [] {},
         [&] {
             EXPECT_EQ((pBar->GetStyle() & WS_VISIBLE) != 0 ? 1 : 0, 1 - shownBefore);
             EXPECT_EQ(g_ShowExplorerToolBar, 1 - shownBefore);
         }},
        {"tool bar's own pop-up puts it back", ID_HIDE_LOCAL_TOOLBAR, [] {},
         [&] { EXPECT_EQ((pBar->GetStyle() & WS_VISIBLE) != 0 ? 1 : 0, shownBefore); }},
        {"selection pop-up", ID_EXPLORER_SELECTION_MENU, [] { AfxScriptPopupMenu(0); },
         [&] {
             ASSERT_FALSE(AfxTestRecords().popupMenus.empty());
             EXPECT_EQ(AfxTestRecords().popupMenus.back().firstItemId,
                       static_cast<UINT>(ID_EXPLORER_SELECT_PATTERN));
             // The keys then reach the list, not the view around it.
             EXPECT_EQ(::GetFocus(), pView->m_list.m_hWnd);
         }},
        {"properties of one hit, shown only", ID_EXPLORER_PROPERTIES,
         [&] {
             AfxScriptModal(IDS_PICTURE_PROPERTIES, {lookShownOnly, {{}, IDCANCEL}});
         },
         [&] {
             EXPECT_EQ(AfxTestRecords().modals.back().templateId, static_cast<UINT>(IDS_PICTURE_PROPERTIES));
             EXPECT_EQ(shownOnly, "auteur fig\xE9, pas de OK, Fermer");
             EXPECT_FALSE(Exists(m_folder + "\\chat.dai")) << "nothing is written from a search window";
         }},
        {"properties of both hits", ID_EXPLORER_PROPERTIES,
         [&] {
             pView->m_list.SelItemRange(TRUE, 0, 1);
             AfxScriptModal(IDS_SELECTION_PROPERTIES, {{{}, IDCANCEL}});
         },
         [] {
             EXPECT_EQ(AfxTestRecords().modals.back().templateId,
                       static_cast<UINT>(IDS_SELECTION_PROPERTIES));
         }},
    };
    for (const Case& c : cases) {
        c.arrange();
        EXPECT_EQ(UpdateOf(m_pFrame, c.command) != 0, true) << c.what;
        Command(c.command);
        Pump();
        c.check();
    }
    // Without a selection, properties are greyed.
    ::SendMessageA(pView->m_list.m_hWnd, LB_SETSEL, FALSE, -1);
    EXPECT_EQ(UpdateOf(m_pFrame, ID_EXPLORER_PROPERTIES), 0);
}

TEST_F(ListCommands, SearchWindowCopyPutsThePictureOnTheClipboardWithItsKeys)
{
    ASSERT_TRUE(StartWithLibrary());
    CSearchView* pView = OpenSearch();
    ASSERT_NE(pView, nullptr);
    for (bool insertKey : {false, true}) {
        ASSERT_TRUE(::OpenClipboard(nullptr));
        ::EmptyClipboard();
        ::CloseClipboard();
        pView->m_list.SetFocus();
        BYTE state[256] = {};
        state[VK_CONTROL] = 0x80;
        ::SetKeyboardState(state);
        pView->m_list.SendMessage(WM_KEYDOWN, insertKey ? VK_INSERT : 'C', 0);
        state[VK_CONTROL] = 0;
        ::SetKeyboardState(state);
        Pump();
        EXPECT_TRUE(::IsClipboardFormatAvailable(CF_BITMAP)) << insertKey;
    }
    // Two selected: copy is greyed.
    pView->m_list.SelItemRange(TRUE, 0, 1);
    EXPECT_EQ(UpdateOf(m_pFrame, ID_EDIT_COPY), 0);
}

TEST_F(ListCommands, LibraryMenusNewFolderAndRenameMessage)
{
    // The pop-ups of the lists hold the items of their tables (-1: a sub-menu).
    EXPECT_EQ(PopupIds(CONTEXT_EXPLORER_LIST),
              (std::vector<UINT>{ID_EXPLORER_OPEN, ID_EXPLORER_EDIT_PICTURE, ID_EDIT_COPY,
                                 ID_EXPLORER_OPEN_FULLSCREEN, 0, ID_EXPLORER_ADD_TO_LIBRARY, 0,
                                 ID_EXPLORER_PREVIEW, ID_EXPLORER_SLIDESHOW, ID_FILE_PRINT, 0,
                                 ID_EXPLORER_DELETE, 0, static_cast<UINT>(-1), static_cast<UINT>(-1),
                                 ID_EXPLORER_SELECT_ALL, 0, ID_EXPLORER_PROPERTIES}));
    EXPECT_EQ(PopupIds(CONTEXT_DIALOG_BAR), (std::vector<UINT>{ID_LIB_RECOVER, ID_LIB_ERASE, 0,
                                                               ID_LIB_EMPTY_DELETED, 0, ID_LIB_PROPERTIES}));
    EXPECT_EQ(PopupIds(CONTEXT_LIBRARY_LIST), (std::vector<UINT>{ID_LIB_OPEN_PICTURE,
                                                                 ID_LIB_COPY,
                                                                 ID_LIB_EDIT_PICTURE,
                                                                 ID_LIB_OPEN_FULLSCREEN,
                                                                 ID_LIB_SLIDESHOW,
                                                                 0,
                                                                 ID_LIB_RENAME,
                                                                 ID_LIB_PRINT,
                                                                 ID_LIB_SEARCH,
                                                                 0,
                                                                 ID_LIB_IMPORT,
                                                                 ID_LIB_EXPORT,
                                                                 0,
                                                                 ID_LIB_DELETE,
                                                                 0,
                                                                 static_cast<UINT>(-1),
                                                                 static_cast<UINT>(-1),
                                                                 ID_LIB_SELECT_ALL,
                                                                 0,
                                                                 ID_LIB_ADD_UNCOMPRESSED,
                                                                 ID_LIB_ADD_JPEG,
                                                                 ID_LIB_ADD_PNG,
                                                                 0,
                                                                 ID_LIB_PROPERTIES}));
    EXPECT_EQ(PopupIds(CONTEXT_EXPLORER_SELECTION + 1),
              (std::vector<UINT>{ID_EXPLORER_OPEN, ID_EDIT_COPY, ID_EXPLORER_OPEN_FULLSCREEN, 0,
                                 ID_SEARCH_EXPORT, 0, ID_EXPLORER_SLIDESHOW, 0, static_cast<UINT>(-1),
                                 static_cast<UINT>(-1), ID_EXPLORER_SELECT_ALL, 0, ID_EXPLORER_PROPERTIES}));

    ASSERT_TRUE(StartWithLibrary());
    // A clash names the picture asked for, not a literal "%s".
    AfxScriptNextModal(IDD_RENAME_PICTURE, {{IDC_RENAME_NAME, "dune"}}, IDOK);
    AfxScriptMessageBox(IDOK);
    Command(ID_LIB_RENAME);
    EXPECT_EQ(LastMessage(),
              "Une image nomm\xE9\x65 'dune' existe d\xE9j\xE0. Veuillez sp\xE9\x63ifier un autre nom.");
    EXPECT_TRUE(Exists(m_root + "\\Images\\chat.bmp"));
    // A move the system refuses names the picture's path.
    ArmFileFault(kStepMove, "chat.bmp", 1);
    AfxScriptNextModal(IDD_RENAME_PICTURE, {{IDC_RENAME_NAME, "minou"}}, IDOK);
    AfxScriptMessageBox(IDOK);
    Command(ID_LIB_RENAME);
    DisarmFileFault();
    const std::string failed = LastMessage();
    EXPECT_EQ(failed.find("%s"), std::string::npos) << failed;
    EXPECT_NE(failed.find("\\Images\\"), std::string::npos) << failed;
    EXPECT_TRUE(Exists(m_root + "\\Images\\chat.bmp"));

    // A new folder goes in first, above the folders already there, its label being edited.
    ::CreateDirectoryA((m_root + "\\Images\\Voyage").c_str(), nullptr);
    for (int round = 0; round < 2; round++) {
        Bar()->m_tree.SelectPath((m_root + "\\Images").c_str());
        SettleBar();
        Bar()->m_tree.SetFocus();
        Command(ID_LIB_NEW_FOLDER);
        HTREEITEM hFirst = Bar()->m_tree.GetChildItem(Bar()->m_tree.ImagesItem());
        ASSERT_NE(hFirst, nullptr);
        EXPECT_EQ(hFirst, Bar()->m_tree.GetSelectedItem()) << round;
        CEdit* pEdit = Bar()->m_tree.GetEditControl();
        ASSERT_NE(pEdit, nullptr) << round;
        CString text;
        pEdit->GetWindowText(text);
        EXPECT_EQ(std::string(text), "Nouveau dossier") << round;
        Bar()->m_tree.SendMessage(TVM_ENDEDITLABELNOW, round == 0);
        Pump();
        if (round == 0) {
            EXPECT_FALSE(Exists(m_root + "\\Images\\Nouveau dossier"));
        }
    }
    EXPECT_TRUE(Exists(m_root + "\\Images\\Nouveau dossier"));
    // Not at the root.
    Bar()->m_tree.SelectPath(m_root.c_str());
    SettleBar();
    EXPECT_EQ(UpdateOf(m_pFrame, ID_LIB_NEW_FOLDER), 0);
}

TEST_F(ListCommands, RootFolderCommandOpensOneExplorerOnTheLibrary)
{
    ASSERT_TRUE(StartWithLibrary());
    // Away from the root the command does nothing.
    Command(ID_LIB_SHOW_ROOT_FOLDER);
    EXPECT_TRUE(Children().empty());
    Bar()->m_tree.SelectPath(m_root.c_str());
    SettleBar();
    EXPECT_EQ(UpdateOf(m_pFrame, ID_LIB_SHOW_ROOT_FOLDER), 1);
    for (int round = 0; round < 2; round++) {
        Command(ID_LIB_SHOW_ROOT_FOLDER);
        Pump();
        ASSERT_EQ(Children().size(), 1u) << round;
        CDocument* pDoc = ActiveDocument();
        ASSERT_NE(pDoc, nullptr);
        EXPECT_EQ(lstrcmpiA(pDoc->GetPathName(), m_root.c_str()), 0) << round;
    }
}

TEST_F(ListCommands, SlideShowOptionsShowTheirIllustration)
{
    ASSERT_TRUE(StartWithLibrary());
    LONG width = 0, height = 0;
    AfxModalStep look;
    look.buttonId = 0; // looked at while open, then cancelled
    look.check = [&](CWnd* pDialog) {
        HGLOBAL hDIB = static_cast<CSlideShowDlg*>(pDialog)->m_btnWarning.m_hDIB;
        if (auto* pInfo = static_cast<BITMAPINFOHEADER*>(hDIB != nullptr ? ::GlobalLock(hDIB) : nullptr)) {
            width = pInfo->biWidth;
            height = pInfo->biHeight;
            ::GlobalUnlock(hDIB);
        }
    };
    AfxScriptModal(IDD_SLIDESHOW, {look});
    Command(ID_LIB_SLIDESHOW);
    EXPECT_EQ(width, 112);
    EXPECT_EQ(height, 220);
}

TEST_F(ListCommands, SearchWindowDrawsTheExplorersFrames)
{
    ASSERT_TRUE(StartWithLibrary());
    CSearchView* pView = OpenSearch();
    ASSERT_NE(pView, nullptr);
    CToolBar* pBar = &static_cast<CSearchMDI*>(pView->GetParentFrame())->m_wndToolBar;
    for (bool toolBarShown : {true, false}) {
        if (((pBar->GetStyle() & WS_VISIBLE) != 0) != toolBarShown)
            Command(ID_VIEW_LOCAL_TOOLBAR);
        Pump();
        CRect client, list;
        pView->GetClientRect(&client);
        pView->m_list.GetWindowRect(&list);
        pView->ScreenToClient(&list);
        // The list sits 3 pixels in, 3 more under a shown tool bar.
        EXPECT_EQ(list.top, toolBarShown ? 6 : 3) << toolBarShown;
        HDC hScreen = ::GetDC(nullptr);
        HDC hMem = ::CreateCompatibleDC(hScreen);
        HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, client.Width(), client.Height());
        ::ReleaseDC(nullptr, hScreen);
        HGDIOBJ hOld = ::SelectObject(hMem, hBitmap);
        // A colour the drawing never uses, so that every pixel tested was painted.
        HBRUSH hGround = ::CreateSolidBrush(RGB(10, 200, 30));
        RECT whole = {0, 0, client.Width(), client.Height()};
        ::FillRect(hMem, &whole, hGround);
        ::DeleteObject(hGround);
        CDC* pDC = CDC::FromHandle(hMem);
        pView->OnDraw(pDC);
        const int midY = (list.top + list.bottom) / 2;
        // The light-grey border, then the sunken double edge left of the list: black, then grey.
        EXPECT_EQ(::GetPixel(hMem, 0, midY), RGB(192, 192, 192));
        EXPECT_EQ(::GetPixel(hMem, list.left - 1, midY), RGB(0, 0, 0));
        EXPECT_EQ(::GetPixel(hMem, list.left - 2, midY), RGB(128, 128, 128));
        // The etched line under the tool bar, grey over white, only while the bar shows.
        const int midX = client.Width() / 2;
        EXPECT_EQ(::GetPixel(hMem, midX, 0), toolBarShown ? RGB(128, 128, 128) : RGB(192, 192, 192));
        EXPECT_EQ(::GetPixel(hMem, midX, 1) == RGB(255, 255, 255), toolBarShown) << toolBarShown;
        ::SelectObject(hMem, hOld);
        ::DeleteObject(hBitmap);
        ::DeleteDC(hMem);
    }
}
