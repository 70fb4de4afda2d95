// The library bar in the real main window: docked on the left over a fresh library, a picture window
// adding its picture to the folder shown (by its command and by its key), the keyboard table's keys
// in the window in front, the password command stored in the registry, and the keys kept by the bar
// across message boxes and slide shows.
#include "tests/app/AppFixture.h"
#include "tests/app/RealInput.h"
#include "tests/support/ShownDialogs.h"

#include "app/BackgroundMusic.h"
#include "explorer/ExplorerView.h"
#include "shell/LibraryLink.h"
#include "shell/Settings.h"
#include "framework/TestSeams.h"
#include "framework/MDIChildWnd.h"
#include "framework/View.h"
#include "library/LibraryBar.h"
#include "library/ProtectedAccess.h"
#include "piclist/PicListBox.h"
#include "piclist/PicObject.h"
#include "piclist/PictureRename.h"
#include "piclist/SafeFileOps.h"
#include "resources/library-cmds-ids.h"
#include "resources/resource.h"
#include "viewers/SlideShowWnd.h"

#include <algorithm>
#include <climits>
#include <functional>
#include <string>
#include <vector>

namespace {

bool IsDir(const std::string& path)
{
    DWORD attr = ::GetFileAttributesA(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

// The system's message box on screen, answered from a timer of this thread once ready() holds: with a
// person's keys when it is then the active window (inFront), else with the answer given, so that a box
// out of sight never holds the test.
struct {
    std::function<bool()> ready;
    std::vector<WORD> keys;
    int answer = IDOK;
    bool inFront = false;
} g_box;

void CALLBACK AnswerBox(HWND, UINT, UINT_PTR idEvent, DWORD)
{
    HWND hBox = ShownDialog();
    if (hBox == nullptr || (g_box.ready && !g_box.ready()))
        return;
    ::KillTimer(nullptr, idEvent);
    g_box.inFront = ::GetActiveWindow() == hBox;
    if (g_box.inFront)
        RealKeys(g_box.keys);
    else
        ::PostMessageA(hBox, WM_COMMAND, static_cast<WPARAM>(g_box.answer), 0);
}

// A clock a second further on at each reading: a folder chosen in a tree is loaded at the next step
// of its window.
DWORD RushingClock()
{
    static DWORD now = 1000;
    return now += 1000;
}

// The library bar's and the explorers' clocks rushing for as long as it lives.
struct RushingClocks {
    DWORD (*bar)() = CLibraryBar::s_pfnNow;
    ExplorerClockFn explorer = g_pfnExplorerClock;
    RushingClocks() { CLibraryBar::s_pfnNow = g_pfnExplorerClock = RushingClock; }
    ~RushingClocks()
    {
        CLibraryBar::s_pfnNow = bar;
        g_pfnExplorerClock = explorer;
    }
};

MCIERROR WINAPI NoMci(MCIDEVICEID, UINT message, DWORD_PTR, DWORD_PTR)
{
    return message == MCI_OPEN ? MCIERR_FILE_NOT_FOUND : 0;
}

MCIERROR WINAPI PlayingMci(MCIDEVICEID, UINT message, DWORD_PTR, DWORD_PTR params)
{
    if (message == MCI_OPEN)
        reinterpret_cast<MCI_OPEN_PARMSA*>(params)->wDeviceID = 7;
    return 0;
}

class LibraryInFrame : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        m_root = m_temp.File("Biblioth\xE8que");
        ::CreateDirectoryA(m_root.c_str(), nullptr);
        PutSettingText("folders", "LibrarianLocation", m_root + "\\");
        g_bProtectedUnlocked = FALSE;
    }
    void TearDown() override
    {
        g_bProtectedUnlocked = FALSE;
        AppTest::TearDown();
    }
    std::string m_root;
};

} // namespace

TEST_F(LibraryInFrame, BarDocksLeftOverAFreshLibrary)
{
    ASSERT_TRUE(Start());
    for (const char* name : {"Images", "Images Favorites",
                             "Images Prot\xE9g\xE9"
                             "es",
                             "El\xE9ments Supprim\xE9s"})
        EXPECT_TRUE(IsDir(m_root + "\\" + name)) << name;
    CLibraryBar* pBar = m_pFrame->GetLibraryBar();
    ASSERT_TRUE(pBar->GetStyle() & WS_VISIBLE);
    EXPECT_EQ(pBar->DockedSide(), static_cast<DWORD>(CBRS_ALIGN_LEFT));
    CRect bar, frame;
    pBar->GetWindowRect(&bar);
    m_pFrame->GetClientRect(&frame);
    m_pFrame->ClientToScreen(&frame);
    EXPECT_EQ(bar.left, frame.left);
    EXPECT_GT(bar.Width(), 100);
    EXPECT_TRUE(::IsWindowVisible(pBar->m_tree.m_hWnd));
    EXPECT_TRUE(::IsWindowVisible(pBar->m_list.m_hWnd));
    EXPECT_EQ(g_pLibraryLink, static_cast<ILibraryLink*>(pBar));
}

TEST_F(LibraryInFrame, PictureWindowAddsItsPictureToTheFolderShown)
{
    PutSettingText("folders", "LibrarianLastPath", m_root + "\\Images");
    PutSetting("specs", "LibBarTypeCompression", 0);
    ASSERT_TRUE(Start());
    std::string picture = WriteBmp("Plage.bmp", 16, 8);
    ASSERT_NE(m_pApp->OpenDocumentFile(picture.c_str()), nullptr);
    CView* pView = m_pFrame->MDIGetActive()->GetActiveView();
    ASSERT_NE(pView, nullptr);
    pView->SendMessage(WM_COMMAND, ID_PICTURE_ADD_TO_LIBRARY);
    pView->SendMessage(WM_COMMAND, ID_PICTURE_ADD_TO_LIBRARY);
    EXPECT_EQ(testpaths::ReadBytes(m_root + "\\Images\\Plage.bmp"), testpaths::ReadBytes(picture));
    EXPECT_EQ(testpaths::ReadBytes(m_root + "\\Images\\Plage (copie 1).bmp"), testpaths::ReadBytes(picture));

    // An animation is copied unchanged too.
    std::string gif = WriteGif("moving.gif");
    ASSERT_NE(m_pApp->OpenDocumentFile(gif.c_str()), nullptr);
    m_pFrame->MDIGetActive()->GetActiveView()->SendMessage(WM_COMMAND, ID_PICTURE_ADD_TO_LIBRARY);
    EXPECT_EQ(testpaths::ReadBytes(m_root + "\\Images\\moving.gif"), testpaths::ReadBytes(gif));

    // With the trash chosen the command is refused.
    CLibraryBar* pBar = m_pFrame->GetLibraryBar();
    pBar->m_tree.SelectItem(pBar->m_tree.TrashItem());
    EXPECT_FALSE(g_pLibraryLink->CanAddPicture());
}

TEST_F(LibraryInFrame, KeysOfTheTableActOnTheWindowInFront)
{
    PutSettingText("folders", "LibrarianLastPath", m_root + "\\Images");
    PutSetting("specs", "LibBarTypeCompression", 0);
    PutSetting("prefs", "UseCoolBar", 1);
    ASSERT_TRUE(Start());
    const std::string picture = WriteBmp("Plage.bmp", 16, 8);
    const std::string animation = WriteGif("moving.gif");
    const std::string other = WriteBmp("Carte.bmp", 16, 8);
    // Ctrl+F9 acts on the bar in use, the cool bar, as the menu item of the same name does: the
    // standard tool bar stays hidden, and the item and the key show one check.
    auto coolBarShown = [&](bool bShown) {
        int check = bShown ? 1 : 0;
        return ((m_pFrame->GetCoolBar()->GetStyle() & WS_VISIBLE) != 0) == bShown
               && !(m_pFrame->GetToolBar()->GetStyle() & WS_VISIBLE)
               && CheckOf(m_pFrame, ID_VIEW_STANDARD_TOOLBAR) == check
               && CheckOf(m_pFrame, ID_VIEW_TOOLBAR) == check;
    };
    ASSERT_TRUE(m_pFrame->GetCoolBar()->GetStyle() & WS_VISIBLE);
    auto added = [&](const char* name) {
        return testpaths::ReadBytes(m_root + "\\Images\\" + name) == testpaths::ReadBytes(m_temp.File(name));
    };
    size_t modals = 0;
    const struct {
        const std::string* window; // opened in front first, or null
        BYTE modifier;
        UINT key;
        std::function<bool()> effect;
    } rows[] = {
        {nullptr, VK_CONTROL, VK_F9, [&] { return coolBarShown(false); }},
        {nullptr, VK_CONTROL, VK_F9, [&] { return coolBarShown(true); }},
        {&picture, 0, VK_F3, [&] { return added("Plage.bmp"); }},
        {&animation, 0, VK_F3, [&] { return added("moving.gif"); }},
        // The favourites menu shows the hint, but the key is no command.
        {&other, VK_CONTROL, 'F', [&] { return AfxTestRecords().modals.size() == modals; }},
    };
    for (const auto& row : rows) {
        HWND hWnd = m_pFrame->m_hWnd;
        if (row.window != nullptr) {
            ASSERT_NE(m_pApp->OpenDocumentFile(row.window->c_str()), nullptr) << *row.window;
            hWnd = m_pFrame->MDIGetActive()->GetActiveView()->m_hWnd;
        }
        modals = AfxTestRecords().modals.size();
        BOOL bTaken = PressKey(m_pApp, hWnd, row.modifier, row.key);
        EXPECT_EQ(bTaken, row.key != 'F') << row.key;
        EXPECT_TRUE(PumpUntil(row.effect)) << row.key;
    }
}

// After a click on the library's tree, a click into the picture window in front, on its picture or on
// its caption, gives it the keys again: F3 adds its picture.
TEST_F(LibraryInFrame, AMouseClickIntoTheActivePictureWindowGivesItTheKeys)
{
    PutSettingText("folders", "LibrarianLastPath", m_root + "\\Images");
    PutSetting("specs", "LibBarTypeCompression", 0);
    ASSERT_TRUE(Start());
    ::SetWindowPos(m_pFrame->m_hWnd, HWND_TOPMOST, 0, 0, 900, 700, SWP_SHOWWINDOW);
    ::SetForegroundWindow(m_pFrame->m_hWnd);
    const std::string picture = WriteBmp("Plage.bmp", 64, 48);
    ASSERT_NE(m_pApp->OpenDocumentFile(picture.c_str()), nullptr);
    Pump();
    CMDIChildWnd* pChild = m_pFrame->MDIGetActive();
    HWND hView = pChild->GetActiveView()->m_hWnd;
    CLibTreeCtrl& tree = m_pFrame->GetLibraryBar()->m_tree;
    RECT frame, view;
    ::GetWindowRect(pChild->m_hWnd, &frame);
    ::GetWindowRect(hView, &view);
    POINT onCaption = {(frame.left + frame.right) / 2, frame.top};
    while (onCaption.y < view.top
           && pChild->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(onCaption.x, onCaption.y)) != HTCAPTION)
        onCaption.y++;
    onCaption.y += 3;
    const POINT onPicture = {(view.left + view.right) / 2, (view.top + view.bottom) / 2};
    for (POINT target : {onPicture, onCaption}) {
        tree.SetFocus();
        RealMouse(target, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
        EXPECT_TRUE(PumpUntil([&] { return ::GetFocus() == hView; })) << target.y;
        PressKey(m_pApp, ::GetFocus(), 0, VK_F3);
    }
    Pump();
    EXPECT_TRUE(testpaths::ReadBytes(m_root + "\\Images\\Plage (copie 1).bmp")
                == testpaths::ReadBytes(picture));
}

TEST_F(LibraryInFrame, PasswordCommandStoresTheNewPassword)
{
    PutSettingText("pass", "ProtectedPics", "Vieux");
    ASSERT_TRUE(Start());
    AfxScriptModal(IDD_SET_PASSWORD, {{{{IDC_PASSWORD_OLD, "Vieux"}}, IDOK},
                                      {{{IDC_PASSWORD_NEW, "Neuf"}}, IDOK},
                                      {{{IDC_PASSWORD_VERIFY, "Neuf"}}, IDOK}});
    AfxScriptMessageBox(IDOK);
    m_pFrame->SendMessage(WM_COMMAND, ID_PROTECTED_PASSWORD);
    EXPECT_EQ(StoredText("pass", "ProtectedPics"), "Neuf");
    EXPECT_TRUE(g_bProtectedUnlocked);
}

TEST_F(LibraryInFrame, GripAndSplitterDragsResizeWithinLimits)
{
    ASSERT_TRUE(Start());
    CLibraryBar* pBar = m_pFrame->GetLibraryBar();
    m_pFrame->RecalcLayout();
    // The splitter of a tall bar moves the tree's bottom, never closer than 50 to either end.
    ASSERT_FALSE(pBar->m_bWide);
    int h = g_LibrarianSeparatorH;
    pBar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, h));
    pBar->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(60, h - 5000));
    pBar->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(60, h - 5000));
    EXPECT_EQ(g_LibrarianSeparatorH, 50);

    CRect grip, client;
    pBar->GetGripRects(&grip, &client);
    ASSERT_FALSE(grip.IsRectEmpty());
    int before = g_LibBarSizeH;
    CPoint at = grip.CenterPoint();
    pBar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    pBar->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(at.x + 40, at.y));
    pBar->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(at.x + 40, at.y));
    EXPECT_EQ(g_LibBarSizeH, before + 40);
    CRect bar;
    pBar->GetWindowRect(&bar);
    EXPECT_EQ(bar.Width(), before + 40);

    // Far past the window: held 10 pixels inside the main window's client area.
    pBar->GetGripRects(&grip, &client);
    at = grip.CenterPoint();
    pBar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    pBar->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(at.x + 5000, at.y));
    pBar->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(at.x + 5000, at.y));
    CRect main;
    m_pFrame->GetClientRect(&main);
    EXPECT_EQ(g_LibBarSizeH, main.right - 10);
}

// The keys stay where the user is. A library message box, answered as a person does, gives them back to
// the library's tree, not to the picture window in front. So does every dialog, the system's too, with
// an explorer window in front: a real Delete then acts in the library's window that had the keys (the
// list sends its selected picture to the trash), never in the explorer, whose tree would offer to send
// its folder to the trash. Keys given to a slide show started from the library stay with it: those typed
// while it ends (Escape after the Space that ends an automatic show) and those of the main keyboard table
// (F9) never reach the list under it, where both hide the bar; its end gives the keys back to the list. A
// message raised during the show stays in front as the pictures change, then gives the keys back to the show.
TEST_F(LibraryInFrame, KeysStayWhereTheUserIsAcrossDialogsAndFullScreenShows)
{
    ::CreateDirectoryA((m_root + "\\Images").c_str(), nullptr);
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp", "d.bmp", "e.bmp", "f.bmp"})
        ::CopyFileA(WriteBmp(name).c_str(), (m_root + "\\Images\\" + name).c_str(), TRUE);
    for (const char* name : {"Essais", "Autre"})
        ::CreateDirectoryA((m_root + "\\Images\\" + name).c_str(), nullptr);
    PutSettingText("folders", "LibrarianLastPath", m_root + "\\Images");
    PutSetting("prefs", "ShowInfoSuppress", 0);
    ASSERT_TRUE(Start());
    ::SetForegroundWindow(m_pFrame->m_hWnd);
    ASSERT_NE(m_pApp->OpenDocumentFile(WriteBmp("Plage.bmp", 64, 48).c_str()), nullptr);
    CLibraryBar* pBar = m_pFrame->GetLibraryBar();
    pBar->m_tree.SetFocus();
    AfxTestReset(); // the system's box: the locked folder without a password offers to set one; "No"
    g_box = {nullptr, {VK_TAB, VK_RETURN}, IDNO};
    ::SetTimer(nullptr, 0, 20, AnswerBox);
    pBar->m_tree.ToggleItem(pBar->m_tree.ProtectedItem());
    AfxTestArm();
    EXPECT_TRUE(g_box.inFront);
    EXPECT_EQ(::GetFocus(), pBar->m_tree.m_hWnd);

    ::CreateDirectoryA(m_temp.File("Photos").c_str(), nullptr);
    ASSERT_NE(m_pApp->OpenDocumentFile(m_temp.File("Photos").c_str()), nullptr);
    pBar->OnIdle();
    ASSERT_EQ(pBar->m_list.GetCount(), 6);
    g_ProtectedPics = "Secret";
    // A command of the list with its first pictures selected, and the dialog it opens (0: the system's,
    // closed as a person does), then the folder's reload a list command may ask for; or the password a
    // click into the locked folder's list asks while the tree has the keys: the click gives them to the
    // list, as a click does. The Delete then takes the pictures selected before, and those alone (a slide
    // show of one picture selects them all until its options are cancelled).
    const struct {
        UINT command, dialog;
        int selected;
    } dialogs[] = {{ID_LIB_SLIDESHOW, IDD_SLIDESHOW, 1},
                   {ID_LIB_IMPORT, 0, 1},
                   {ID_PREFERENCES, IDS_PREFERENCES_CAPTION, 1},
                   {ID_LIB_RENAME, IDD_RENAME_PICTURES, 2},
                   {0, IDD_ENTER_PASSWORD, 0}};
    for (const auto& dialog : dialogs) {
        SCOPED_TRACE(dialog.command);
        const bool inList = dialog.command != 0;
        const CString first = pBar->m_list.GetRecord(0)->m_strPath;
        const int count = pBar->m_list.GetCount();
        pBar->m_list.SetSel(-1, FALSE);
        for (int i = 0; i < dialog.selected; i++)
            pBar->m_list.SetSel(i, TRUE);
        pBar->FocusList();
        if (dialog.dialog == 0) {
            AfxTestReset();
            g_box = {nullptr, {VK_ESCAPE}, IDCANCEL};
            ::SetTimer(nullptr, 0, 20, AnswerBox);
        } else {
            AfxScriptNextModal(dialog.dialog, {}, IDCANCEL);
        }
        MSG click = {pBar->m_list.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, 0, 0, {}};
        if (inList) {
            m_pFrame->SendMessage(WM_COMMAND, dialog.command);
            pBar->OnIdle();
        } else {
            pBar->m_tree.SelectItem(pBar->m_tree.ProtectedItem());
            pBar->m_tree.SetFocus();
            pBar->PreTranslateMessage(&click);
        }
        AfxTestArm();
        EXPECT_EQ(::GetFocus(), pBar->m_list.m_hWnd);
        RealKeys({VK_DELETE});
        Pump();
        EXPECT_EQ(::GetFileAttributesA(first) == INVALID_FILE_ATTRIBUTES, inList);
        ASSERT_EQ(pBar->m_list.GetCount(), count - (inList ? dialog.selected : 0));
    }

    // "Nouveau Dossier" while a folder's name is being edited in the tree, the name typed another
    // folder's: the edit ends first, its refusal said in a box answered as a person does; then the new
    // folder's name is edited inside the folder, with the keys.
    pBar->m_tree.SelectPath((m_root + "\\Images\\Essais").c_str());
    const HTREEITEM hEssais = pBar->m_tree.GetSelectedItem();
    ASSERT_EQ(std::string(pBar->m_tree.GetItemText(hEssais)), "Essais");
    pBar->m_tree.SetFocus();
    CEdit* pEdit = pBar->m_tree.EditLabel(hEssais);
    ASSERT_NE(pEdit, nullptr);
    pEdit->SetWindowText("Autre");
    AfxTestReset();
    g_box = {nullptr, {VK_RETURN}, IDOK};
    ::SetTimer(nullptr, 0, 20, AnswerBox);
    m_pFrame->SendMessage(WM_COMMAND, ID_LIB_NEW_FOLDER);
    AfxTestArm();
    EXPECT_TRUE(g_box.inFront);
    EXPECT_TRUE(IsDir(m_root + "\\Images\\Essais"));
    ASSERT_NE(pBar->m_tree.GetEditControl(), nullptr);
    EXPECT_EQ(::GetFocus(), pBar->m_tree.GetEditControl()->m_hWnd);
    EXPECT_EQ(pBar->m_tree.GetParentItem(pBar->m_tree.GetSelectedItem()), hEssais);
    RealKeys({VK_RETURN});
    Pump();
    EXPECT_TRUE(IsDir(m_root + "\\Images\\Essais\\Nouveau dossier"));

    // "Nouveau Dossier" again while a new folder's own name is edited, the name taken (its box answered
    // as a person does) or emptied (a beep): the refused item leaves the tree, and the next is named
    // where it was to be, with the keys.
    const struct {
        const char* typed;
        std::vector<WORD> next; // typed into the next one's name, Enter last
        const char* made;
    } refusals[] = {{"Nouveau dossier", {'D', 'E', 'U', 'X', VK_RETURN}, "deux"},
                    {"", {'T', 'R', 'O', 'I', 'S', VK_RETURN}, "trois"}};
    for (const auto& refusal : refusals) {
        SCOPED_TRACE(refusal.made);
        pBar->m_tree.SelectItem(hEssais);
        m_pFrame->SendMessage(WM_COMMAND, ID_LIB_NEW_FOLDER);
        ASSERT_NE(pBar->m_tree.GetEditControl(), nullptr);
        pBar->m_tree.GetEditControl()->SetWindowText(refusal.typed);
        const bool said = *refusal.typed != '\0';
        if (said) {
            AfxTestReset();
            g_box = {nullptr, {VK_RETURN}, IDOK};
            ::SetTimer(nullptr, 0, 20, AnswerBox);
        }
        m_pFrame->SendMessage(WM_COMMAND, ID_LIB_NEW_FOLDER);
        AfxTestArm();
        EXPECT_EQ(g_box.inFront, said);
        g_box.inFront = false;
        ASSERT_NE(pBar->m_tree.GetEditControl(), nullptr);
        EXPECT_EQ(::GetFocus(), pBar->m_tree.GetEditControl()->m_hWnd);
        EXPECT_EQ(pBar->m_tree.GetParentItem(pBar->m_tree.GetSelectedItem()), hEssais);
        RealKeys(refusal.next);
        Pump();
        EXPECT_TRUE(IsDir(m_root + "\\Images\\Essais\\" + refusal.made));
        EXPECT_FALSE(pBar->m_tree.m_bCreatingItem);
        EXPECT_EQ(pBar->m_tree.GetEditControl(), nullptr);
    }
    std::vector<std::string> shown;
    for (HTREEITEM h = pBar->m_tree.GetChildItem(hEssais); h != nullptr;
         h = pBar->m_tree.GetNextSiblingItem(h))
        shown.push_back(std::string(pBar->m_tree.GetItemText(h)));
    std::sort(shown.begin(), shown.end());
    EXPECT_EQ(shown, (std::vector<std::string>{"Nouveau dossier", "deux", "trois"}));

    // A new folder asked for in "Images", its name taken (the box answered as a person does) or its
    // edit cancelled: "Images" is chosen again, not its subfolder "Autre" beside the new one, its
    // pictures still listed and the keys in the tree, and the next new folder is asked for there.
    pBar->m_tree.SelectItem(pBar->m_tree.ImagesItem());
    const CString images = pBar->m_tree.GetSelectedPath();
    ASSERT_TRUE(PumpUntil([&] { return pBar->m_strLoadedFolder == images; }));
    const int pictures = pBar->m_list.GetCount();
    ASSERT_GT(pictures, 0);
    pBar->m_tree.SetFocus();
    for (const std::vector<WORD>& typed :
         {std::vector<WORD>{'E', 'S', 'S', 'A', 'I', 'S', VK_RETURN}, {VK_ESCAPE}}) {
        const bool said = typed.size() > 1;
        AfxTestReset();
        g_box = {nullptr, {VK_RETURN}, IDOK};
        if (said)
            ::SetTimer(nullptr, 0, 20, AnswerBox);
        RealKeys({VK_INSERT});
        Pump();
        ASSERT_NE(pBar->m_tree.GetEditControl(), nullptr);
        EXPECT_EQ(pBar->m_tree.GetParentItem(pBar->m_tree.GetSelectedItem()), pBar->m_tree.ImagesItem());
        RealKeys(typed);
        Pump();
        AfxTestArm();
        EXPECT_EQ(g_box.inFront, said);
        EXPECT_EQ(pBar->m_tree.GetSelectedItem(), pBar->m_tree.ImagesItem());
        EXPECT_EQ(::GetFocus(), pBar->m_tree.m_hWnd);
        {
            RushingClocks clocks;
            pBar->OnIdle();
            pBar->OnIdle();
        }
        EXPECT_EQ(pBar->m_list.GetCount(), pictures);
    }

    CSlideShowWnd* pShow = m_pFrame->GetSlideShow();
    CStringArray paths;
    for (const char* name : {"a.bmp", "b.bmp"})
        paths.Add(WriteBmp(name, 32, 24).c_str());
    // Escape follows the first key by the gap (ms, by the keys' own times) once the show has read the
    // first (kQueued: both queued at once); a gap below 0 is an Escape typed before the key that ended
    // the show and read after its end. A second after the show's end Escape is the bar's again: it
    // hides it, and the keys leave it. (The times stay near the tick count: Wine asks X for the focus
    // with the last message's time, and X ignores a time far from its own.)
    const int kQueued = INT_MIN;
    const std::pair<UINT, int> shows[] = {{IDC_SLIDE_AUTOMATIC, kQueued}, {IDC_SLIDE_AUTOMATIC, 12},
                                          {IDC_SLIDE_AUTOMATIC, 50},      {IDC_SLIDE_AUTOMATIC, 100},
                                          {IDC_SLIDE_AUTOMATIC, 300},     {IDC_SLIDE_MANUAL, kQueued},
                                          {IDC_SLIDE_AUTOMATIC, -40},     {IDC_SLIDE_AUTOMATIC, 1000}};
    for (const auto& show : shows) {
        SCOPED_TRACE(show.second);
        pBar->FocusList();
        AfxScriptNextModal(IDD_SLIDESHOW, {{static_cast<int>(show.first), "1"}}, IDOK);
        ASSERT_TRUE(m_pFrame->RunSlideShow(kSlideSourceLibrary, &pBar->m_list, paths));
        const WORD key = show.first == IDC_SLIDE_AUTOMATIC ? VK_SPACE : VK_F9;
        const DWORD typed = ::GetTickCount();
        RealKeys(show.second == kQueued ? std::vector<WORD>{key, VK_ESCAPE} : std::vector<WORD>{key}, typed);
        if (show.second != kQueued) {
            ASSERT_TRUE(PumpUntil([pShow] { return pShow->m_hWnd == nullptr; }));
            RealKeys({VK_ESCAPE}, typed + static_cast<DWORD>(show.second));
        }
        Pump();
        EXPECT_EQ(pShow->m_hWnd, nullptr);
        EXPECT_EQ((pBar->GetStyle() & WS_VISIBLE) != 0, show.second < 1000);
        EXPECT_EQ(::GetFocus() == pBar->m_list.m_hWnd, show.second < 1000);
    }
    EXPECT_TRUE(::IsChild(m_pFrame->MDIGetActive()->m_hWnd, ::GetFocus()));

    // The music cannot play: at once (the box comes before the show), or once the show runs.
    g_DiapoAuto = 1;
    g_DiapoPause = 1;
    g_MusicFileDiapo = m_temp.File("musique.wav").c_str();
    for (auto pfnMci : {NoMci, PlayingMci}) {
        AfxTestReset();
        AfxPlatform().pfnMciSendCommand = pfnMci;
        // Answered once the show's timer has stepped it.
        g_box = {[pShow] { return pShow->GetSeconds() > 0 || pShow->GetIndex() > 0; }, {VK_RETURN}, IDOK};
        ::SetTimer(nullptr, 0, 20, AnswerBox);
        ASSERT_TRUE(StartSlideShow(pShow, m_pFrame, kSlideSourceLibrary, &pBar->m_list, paths));
        m_pFrame->SendMessage(MM_MCINOTIFY, MCI_NOTIFY_FAILURE, g_wMciDevice);
        AfxTestArm();
        EXPECT_TRUE(g_box.inFront);
        EXPECT_EQ(::GetFocus(), pShow->m_hWnd);
    }
}

// A series rename stopped by a crash leaves the first picture's old record aside, and another picture
// then takes its name. At the next start the list is filled before the system's box tells the record
// kept, answered with the keys once the frame's timer has stepped the bar a few times: each picture is
// listed once, and a picture deleted afterwards goes without a word. A folder chosen in the tree while
// the box is up is not listed under it, but once it is closed; so in an explorer window.
TEST_F(LibraryInFrame, ARecordKeptAsideIsToldOnceTheListIsFilledAnsweredWithRealKeys)
{
    const std::string images = m_root + "\\Images";
    ::CreateDirectoryA(images.c_str(), nullptr);
    const std::string un = images + "\\Un.bmp";
    ::CopyFileA(WriteBmp("Un.bmp").c_str(), un.c_str(), FALSE);
    ::CopyFileA(WriteBmp("Deux.bmp").c_str(), (images + "\\Deux.bmp").c_str(), FALSE);
    WIN32_FIND_DATAA entry;
    ::FindClose(::FindFirstFileA(un.c_str(), &entry));
    CPicObject record;
    FillRecordFromEntry(&record, un.c_str(), entry);
    ASSERT_TRUE(record.SaveDai());
    ArmFileStop(kStepMove, "", 2); // Un's record left behind, Un moved, then the crash
    RenamePictureSeries({&record}, images.c_str(), "Serie", FALSE, nullptr);
    DisarmFileFault();
    ::CopyFileA(WriteBmp("Autre.bmp", 40, 30).c_str(), un.c_str(), FALSE);
    const std::string voyage = images + "\\Voyage";
    ::CreateDirectoryA(voyage.c_str(), nullptr);
    ::CopyFileA(WriteBmp("Trois.bmp").c_str(), (voyage + "\\Trois.bmp").c_str(), FALSE);
    PutSettingText("folders", "LibrarianLastPath", images);
    PutSetting("prefs", "ShowInfoSuppress", 0);
    RushingClocks clocks; // a folder chosen is due at the next step: the box stays up for four
    AfxTestReset();
    CLibraryBar* pBar = nullptr;
    const auto listed = [&] {
        std::vector<std::string> names;
        for (int i = 0; i < pBar->m_list.GetCount(); i++)
            names.push_back(std::string(pBar->m_list.GetRecord(i)->m_strPath).substr(images.size() + 1));
        std::sort(names.begin(), names.end());
        return names;
    };
    DWORD shownAt = 0;
    int stepsAt = 0;
    char told[512] = "";
    std::vector<std::string> listedWhileTold;
    g_box = {[&] {
                 pBar = static_cast<CMainFrame*>(AfxGetMainWnd())->GetLibraryBar();
                 if (shownAt == 0) {
                     shownAt = ::GetTickCount();
                     stepsAt = pBar->m_nIdleSteps;
                     ::GetDlgItemTextA(ShownDialog(), 0xFFFF, told, sizeof(told));
                     pBar->m_tree.SelectPath(voyage.c_str());
                 }
                 listedWhileTold = listed();
                 return pBar->m_nIdleSteps >= stepsAt + 4 || ::GetTickCount() - shownAt > 3000;
             },
             {VK_RETURN},
             IDOK};
    ::SetTimer(nullptr, 0, 20, AnswerBox);
    ASSERT_TRUE(Start());
    AfxTestArm();
    EXPECT_NE(std::string(told).find("conserv\xE9 tel quel"), std::string::npos) << told;
    const std::vector<std::string> all = {"Deux.bmp", "Serie 1.bmp", "Un.bmp"};
    EXPECT_EQ(listedWhileTold, all);
    // The frame's passes, run here as its timer would.
    const auto listing = [&](const std::vector<std::string>& names) {
        return PumpUntil([&] {
            m_pFrame->OnIdleUpdate();
            return listed() == names;
        });
    };
    EXPECT_TRUE(listing({"Voyage\\Trois.bmp"}));
    pBar->m_tree.SelectPath(images.c_str());
    ASSERT_TRUE(listing(all));

    for (int i = 0; i < pBar->m_list.GetCount(); i++)
        pBar->m_list.SetSel(i, pBar->m_list.GetRecord(i)->m_strFileName == "Deux.bmp");
    pBar->FocusList();
    m_pFrame->SendMessage(WM_COMMAND, ID_LIB_DELETE);
    Pump();
    pBar->OnIdle();
    EXPECT_TRUE(AfxTestRecords().messageBoxes.empty());
    EXPECT_EQ(listed(), std::vector<std::string>(all.begin() + 1, all.end()));

    const std::string kept = m_temp.File("Garde");
    const std::string other = m_temp.File("Autre");
    for (const std::string& folder : {kept, other})
        ::CreateDirectoryA(folder.c_str(), nullptr);
    testpaths::WriteBytes(kept + "\\~tsm0001.tmp", "a record left behind, unreadable: kept and told");
    const auto explorer = [this] {
        return static_cast<CExplorerView*>(m_pFrame->MDIGetActive()->GetActiveView());
    };
    AfxTestReset();
    // While the box is up the frame's timer steps the views, as at start-up.
    g_box = {[&] {
                 explorer()->SelectTreeFolderByPath(other.c_str());
                 m_pFrame->OnIdleUpdate();
                 return explorer()->m_strShownPath == other.c_str();
             },
             {VK_RETURN},
             IDOK};
    ::SetTimer(nullptr, 0, 20, AnswerBox);
    ASSERT_NE(m_pApp->OpenDocumentFile(kept.c_str()), nullptr);
    EXPECT_TRUE(PumpUntil([&] {
        m_pFrame->OnIdleUpdate();
        return explorer()->m_strListFolder == other.c_str();
    }));
    AfxTestArm();
    EXPECT_TRUE(g_box.inFront);
}
