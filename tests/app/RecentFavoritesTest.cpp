// The favourites list (split, add, sort by byte order, look-ups, the name check), the favourites
// commands and dialogs, the recent box following the active window and the typed-path rules.
#include "tests/app/AppFixture.h"

#include "app/Favorites.h"
#include "app/FavoritesDialogs.h"
#include "app/MyCoolBar.h"
#include "app/RecentList.h"
#include "shell/Settings.h"
#include "framework/CmdUI.h"
#include "framework/Document.h"
#include "framework/MDIChildWnd.h"
#include "framework/Menu.h"
#include "framework/TestSeams.h"
#include "resources/resource.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Names()
{
    std::vector<std::string> names;
    for (int i = 0; i < g_FavoriteList.GetSize(); i++) {
        CString name;
        SplitFavorite(g_FavoriteList[i], &name, nullptr);
        names.push_back(static_cast<LPCSTR>(name));
    }
    return names;
}

struct FavoritesTest : ::testing::Test {
    void SetUp() override { g_FavoriteList.RemoveAll(); }
    void TearDown() override { g_FavoriteList.RemoveAll(); }
};

} // namespace

TEST_F(FavoritesTest, SplitCutsAtTheFirstBarAndAnEntryWithoutOneIsEmpty)
{
    CString name = "x";
    CString path = "y";
    SplitFavorite("Vacances|C:\\Photos|2001", &name, &path);
    EXPECT_STREQ(name, "Vacances");
    EXPECT_STREQ(path, "C:\\Photos|2001");
    SplitFavorite("|C:\\Photos", &name, &path);
    EXPECT_STREQ(name, "");
    EXPECT_STREQ(path, "C:\\Photos");
    SplitFavorite("sans barre", &name, &path);
    EXPECT_STREQ(name, "");
    EXPECT_STREQ(path, "");
}

TEST_F(FavoritesTest, AddRefusesATakenNameAndKeepsTheListInByteOrder)
{
    EXPECT_EQ(AddFavorite("avion", "C:\\a"), 1);
    EXPECT_EQ(AddFavorite("\xC9t\xE9", "C:\\e"), 1); // "Été"
    EXPECT_EQ(AddFavorite("Zoo", "C:\\z"), 1);
    EXPECT_EQ(AddFavorite("avion", "C:\\other"), 0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Zoo", "avion", "\xC9t\xE9"}));
    EXPECT_EQ(FindFavoriteByName("avion"), 1);
    EXPECT_EQ(FindFavoriteByName("Avion"), -1);
    EXPECT_STREQ(GetFavoritePathByName("Zoo"), "C:\\z");
    EXPECT_STREQ(GetFavoriteNameByPath("C:\\e"), "\xC9t\xE9");
    EXPECT_EQ(IsFavoritePath("C:\\A"), 0); // exact comparisons
    EXPECT_EQ(IsFavoritePath("C:\\a"), 1);
    EXPECT_EQ(RemoveFavorite("Zoo"), 1);
    EXPECT_EQ(RemoveFavorite("Zoo"), 0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"avion", "\xC9t\xE9"}));
}

TEST_F(FavoritesTest, SortKeepsTheOrderOfEqualNames)
{
    CStringArray entries;
    entries.Add("b|1");
    entries.Add("a|2");
    entries.Add("b|3");
    entries.Add("a|4");
    SortFavoriteArray(entries);
    EXPECT_STREQ(entries[0], "a|2");
    EXPECT_STREQ(entries[1], "a|4");
    EXPECT_STREQ(entries[2], "b|1");
    EXPECT_STREQ(entries[3], "b|3");
}

TEST_F(FavoritesTest, NamesThatWouldCorruptTheStoredListOrNameAFileAreRefused)
{
    EXPECT_TRUE(IsAcceptableFavoriteName("Vacances 2001"));
    EXPECT_FALSE(IsAcceptableFavoriteName("Image \"x\""));
    EXPECT_FALSE(IsAcceptableFavoriteName(""));
    EXPECT_FALSE(IsAcceptableFavoriteName("a|b"));
    EXPECT_FALSE(IsAcceptableFavoriteName("a\\b"));
    EXPECT_FALSE(IsAcceptableFavoriteName("a/b"));
    EXPECT_FALSE(IsAcceptableFavoriteName(".."));
    EXPECT_FALSE(IsAcceptableFavoriteName("a:b"));
    EXPECT_TRUE(IsAcceptableFavoriteName("\xC9t\xE9 \xE0 Nice"));
    EXPECT_STREQ(CleanFavoriteName("Dossier \"C:\\\""), "Dossier C");
    EXPECT_TRUE(IsAcceptableFavoriteName(CleanFavoriteName("a..b|c/d")));
}

TEST(TypedPath, DrivesNamesAndSeparatorsResolveAsTheBoxExpects)
{
    CString out;
    EXPECT_EQ(ResolveTypedPath("c:", "D:\\Pics", &out), kTypedPathOpen);
    EXPECT_STREQ(out, "C:\\");
    EXPECT_EQ(ResolveTypedPath(" c:\\\\ ", "D:\\Pics", &out), kTypedPathOpen);
    EXPECT_STREQ(out, "C:\\");
    EXPECT_EQ(ResolveTypedPath("c:\\Photos\\export\\", "D:\\Pics", &out), kTypedPathOpen);
    EXPECT_STREQ(out, "C:\\Photos\\export");
    EXPECT_EQ(ResolveTypedPath("c:\\Photos\\export\\\\\\", "D:\\Pics", &out), kTypedPathOpen);
    EXPECT_STREQ(out, "C:\\Photos\\export");
    EXPECT_EQ(ResolveTypedPath("  d:/photos/Ete.jpg ", "", &out), kTypedPathOpen);
    EXPECT_STREQ(out, "D:\\photos\\Ete.jpg");
    EXPECT_EQ(ResolveTypedPath("Photo.jpg", "D:\\Pics", &out), kTypedPathOpen);
    EXPECT_STREQ(out, "D:\\Pics\\Photo.jpg");
    EXPECT_EQ(ResolveTypedPath("Photo.jpg", "D:\\Pics\\", &out), kTypedPathOpen);
    EXPECT_STREQ(out, "D:\\Pics\\Photo.jpg");
    EXPECT_EQ(ResolveTypedPath("a/b.jpg", "D:\\Pics", &out), kTypedPathNoDrive);
    EXPECT_EQ(ResolveTypedPath("   ", "D:\\Pics", &out), kTypedPathEmpty);
    EXPECT_EQ(ResolveTypedPath("\\\\serveur\\images\\a.jpg", "", &out), kTypedPathOpen);
    EXPECT_STREQ(out, "\\\\serveur\\images\\a.jpg");
    EXPECT_EQ(ResolveTypedPath(CString(std::string(300, 'x').c_str()), "D:\\Pics", &out), kTypedPathTooLong);
    EXPECT_EQ(ResolveTypedPath(CString(("C:\\" + std::string(257, 'y')).c_str()), "", &out),
              kTypedPathTooLong);
}

// ---- with the program ----

TEST_F(AppTest, AFavouriteNameHoldingABarIsRefusedAndTheListStaysWhole)
{
    ASSERT_TRUE(Start());
    g_FavoriteList.RemoveAll();
    std::string path = WriteBmp("vacances.bmp");
    m_pApp->OpenDocumentFile(path.c_str());
    ASSERT_NE(ActiveDocument(), nullptr);

    AfxModalStep bad;
    bad.fields = {{IDC_FAVORITE_NAME, "Plage|C:\\autre"}};
    AfxModalStep good;
    good.fields = {{IDC_FAVORITE_NAME, "Plage"}};
    AfxScriptModal(IDD_ADD_FAVORITE, {bad});
    AfxScriptModal(IDD_ADD_FAVORITE, {good});
    AfxScriptMessageBox(IDOK);
    m_pFrame->SendMessage(WM_COMMAND, ID_FAVORITES_ADD, 0);

    ASSERT_EQ(g_FavoriteList.GetSize(), 1);
    EXPECT_EQ(std::string(g_FavoriteList[0]), "Plage|" + path);
    ASSERT_FALSE(AfxTestRecords().messageBoxes.empty());
    EXPECT_NE(AfxTestRecords().messageBoxes.back().text.find("favori"), std::string::npos);
    g_FavoriteList.RemoveAll();
}

TEST_F(AppTest, AddingAPictureProposesItsNameBeforeTheFirstDot)
{
    ASSERT_TRUE(Start());
    // The proposal "Image "été"" loses its quotes, which a favourite name may not hold. A long name
    // keeps its beginning, cut to the 50 letters the field takes, so that OK accepts it as proposed.
    const std::string longName = "Une tr\xE8s longue journ\xE9"
                                 "e au bord de la mer, enfin";
    const struct {
        std::string file, proposed;
    } rows[] = {{"\xE9t\xE9.2001.bmp", "Image \xE9t\xE9"},
                {longName + ".bmp", "Image " + longName.substr(0, 44)}};
    for (const auto& row : rows) {
        g_FavoriteList.RemoveAll();
        const size_t said = AfxTestRecords().messageBoxes.size();
        std::string path = WriteBmp(row.file);
        m_pApp->OpenDocumentFile(path.c_str());
        std::string proposed;
        AfxModalStep look;
        look.buttonId = 0;
        look.check = [&](CWnd* pDlg) {
            char text[128] = "";
            ::GetDlgItemTextA(pDlg->GetSafeHwnd(), IDC_FAVORITE_NAME, text, sizeof(text));
            proposed = text;
        };
        AfxModalStep ok;
        AfxScriptModal(IDD_ADD_FAVORITE, {look, ok});
        m_pFrame->SendMessage(WM_COMMAND, ID_FAVORITES_ADD, 0);
        EXPECT_EQ(proposed, row.proposed);
        EXPECT_EQ(AfxTestRecords().messageBoxes.size(), said) << "the name proposed was refused";
        ASSERT_EQ(g_FavoriteList.GetSize(), 1);
        CString name;
        CString stored;
        SplitFavorite(g_FavoriteList[0], &name, &stored);
        EXPECT_EQ(std::string(stored), path);
        EXPECT_EQ(std::string(name), row.proposed);
    }
    g_FavoriteList.RemoveAll();
}

TEST_F(AppTest, TheFavouritesPopupListsTheFavouritesAndOpeningOneOpensItsPath)
{
    ASSERT_TRUE(Start());
    g_FavoriteList.RemoveAll();
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_CONTEXTMENUS));
    CMenu* pPopup = menu.GetSubMenu(CONTEXT_FAVORITES);
    ASSERT_NE(pPopup, nullptr);
    HMENU hPopup = pPopup->GetSafeHmenu();

    m_pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hPopup), 0);
    EXPECT_EQ(::GetMenuItemCount(hPopup), 2);
    EXPECT_NE(::GetMenuState(hPopup, ID_FAVORITES_EDIT, MF_BYCOMMAND) & MF_GRAYED, 0u);

    std::string first = WriteBmp("premier.bmp");
    std::string second = WriteBmp("second.bmp");
    AddFavorite("b second", second.c_str());
    AddFavorite("a premier", first.c_str());
    m_pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hPopup), 0);
    m_pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hPopup), 0); // twice: no doubles
    ASSERT_EQ(::GetMenuItemCount(hPopup), 5);
    EXPECT_EQ(::GetMenuItemID(hPopup, 3), static_cast<UINT>(ID_FAVORITE_FIRST));
    char text[64] = "";
    ::GetMenuStringA(hPopup, 4, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ(text, "b second");
    EXPECT_EQ(::GetMenuState(hPopup, ID_FAVORITES_EDIT, MF_BYCOMMAND) & MF_GRAYED, 0u);

    m_pFrame->SendMessage(WM_COMMAND, ID_FAVORITE_FIRST + 1, 0);
    ASSERT_NE(ActiveDocument(), nullptr);
    EXPECT_EQ(std::string(ActiveDocument()->GetPathName()), second);
    m_pFrame->SendMessage(WM_COMMAND, ID_FAVORITE_FIRST + 7, 0); // past the list: nothing
    EXPECT_EQ(Children().size(), 1u);
    g_FavoriteList.RemoveAll();
}

TEST_F(AppTest, EditingFavouritesRenamesAndDeletesOnlyOnOK)
{
    ASSERT_TRUE(Start());
    g_FavoriteList.RemoveAll();
    AddFavorite("b", "C:\\b");
    AddFavorite("c", "C:\\c");

    // Rename "b" (selected first) to "d", then delete the new first item "c": OK keeps it.
    AfxModalStep rename;
    rename.fields = {{IDC_FAVORITE_NAME, "d"}};
    AfxModalStep edit;
    edit.buttonId = IDC_FAVORITE_RENAME;
    AfxModalStep remove;
    remove.buttonId = IDC_FAVORITE_DELETE;
    remove.fields = {{IDC_FAVORITE_LIST, "c"}};
    AfxModalStep ok;
    AfxScriptModal(IDD_EDIT_FAVORITES, {edit, remove, ok});
    AfxScriptModal(IDD_RENAME_FAVORITE, {rename});
    AfxScriptMessageBox(IDYES);
    m_pFrame->SendMessage(WM_COMMAND, ID_FAVORITES_EDIT, 0);
    ASSERT_EQ(g_FavoriteList.GetSize(), 1);
    EXPECT_STREQ(g_FavoriteList[0], "d|C:\\b");

    // Cancel leaves the list as it was.
    AfxModalStep cancel;
    cancel.buttonId = IDCANCEL;
    AfxModalStep remove2;
    remove2.buttonId = IDC_FAVORITE_DELETE;
    AfxScriptModal(IDD_EDIT_FAVORITES, {remove2, cancel});
    AfxScriptMessageBox(IDYES);
    m_pFrame->SendMessage(WM_COMMAND, ID_FAVORITES_EDIT, 0);
    EXPECT_EQ(g_FavoriteList.GetSize(), 1);
    g_FavoriteList.RemoveAll();
}

TEST_F(AppTest, RecentBoxFollowsTheActiveWindow)
{
    PutSetting("prefs", "UseCoolBar", 1);
    PutSetting("prefs", "ShowRecents", 1);
    std::string first = WriteBmp("un.bmp");
    std::string second = WriteBmp("deux.bmp");
    PutSettingText("CoolBarList", "1", second);
    PutSettingText("CoolBarList", "2", first);
    ASSERT_TRUE(Start());
    HWND hCombo = CMyCoolBar::GetRecentCombo();
    ASSERT_NE(hCombo, nullptr);
    EXPECT_EQ(::SendMessageA(hCombo, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(::SendMessageA(hCombo, CB_GETCURSEL, 0, 0), -1);

    m_pApp->OpenDocumentFile(first.c_str());
    m_pFrame->SyncRecentCombo(FALSE);
    // Opened, the picture moved to the top of the list.
    EXPECT_EQ(::SendMessageA(hCombo, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(std::string(g_RecentList[0]), first);

    for (CMDIChildWnd* pChild : Children())
        pChild->SendMessage(WM_CLOSE);
    Pump();
    m_pFrame->SyncRecentCombo(FALSE);
    EXPECT_EQ(::SendMessageA(hCombo, CB_GETCURSEL, 0, 0), -1);
    char text[MAX_PATH] = "";
    ::GetWindowTextA(hCombo, text, sizeof(text));
    EXPECT_STREQ(text, "");
}

TEST_F(AppTest, ChoosingARecentEntryOpensItExactlyOnce)
{
    PutSetting("prefs", "UseCoolBar", 1);
    PutSetting("prefs", "ShowRecents", 1);
    std::string first = WriteBmp("un.bmp");
    std::string second = WriteBmp("deux.bmp");
    PutSettingText("CoolBarList", "1", first);
    PutSettingText("CoolBarList", "2", second);
    ASSERT_TRUE(Start());
    HWND hCombo = CMyCoolBar::GetRecentCombo();
    ASSERT_NE(hCombo, nullptr);
    HWND hInner = reinterpret_cast<HWND>(::SendMessageA(hCombo, CBEM_GETCOMBOCONTROL, 0, 0));

    ::SendMessageA(hCombo, CB_SETCURSEL, 1, 0);
    ::SendMessageA(hCombo, WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE), reinterpret_cast<LPARAM>(hInner));
    Pump();
    ASSERT_EQ(Children().size(), 1u);
    EXPECT_EQ(std::string(ActiveDocument()->GetPathName()), second);
    ASSERT_EQ(g_RecentList.GetSize(), 2);
    EXPECT_EQ(std::string(g_RecentList[0]), second);
    EXPECT_EQ(std::string(g_RecentList[1]), first);
    EXPECT_EQ(::SendMessageA(hCombo, CB_GETCOUNT, 0, 0), 2);
}

TEST_F(AppTest, APathTypedInTheRecentBoxOpensAndAMalformedOneGetsItsMessage)
{
    PutSetting("prefs", "UseCoolBar", 1);
    PutSetting("prefs", "ShowRecents", 1);
    ASSERT_TRUE(Start());
    HWND hEdit = CMyCoolBar::GetRecentEdit();
    ASSERT_NE(hEdit, nullptr);
    std::string path = WriteBmp("tape.bmp");
    g_CurrentOpenDirectory = m_temp.Path().c_str();

    ::SetWindowTextA(hEdit, "tape.bmp");
    ::SendMessageA(hEdit, WM_KEYDOWN, VK_RETURN, 0);
    Pump();
    ASSERT_EQ(Children().size(), 1u);
    EXPECT_EQ(CString(ActiveDocument()->GetPathName()).CompareNoCase(path.c_str()), 0);

    AfxScriptMessageBox(IDOK);
    ::SetWindowTextA(hEdit, "dossier/tape.bmp");
    ::SendMessageA(hEdit, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_FALSE(AfxTestRecords().messageBoxes.empty());
    EXPECT_NE(AfxTestRecords().messageBoxes.back().text.find("lecteur"), std::string::npos);

    AfxScriptMessageBox(IDOK);
    ::SetWindowTextA(hEdit, ("C:\\" + std::string(300, 'z') + ".bmp").c_str());
    ::SendMessageA(hEdit, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_NE(AfxTestRecords().messageBoxes.back().text.find("trop long"), std::string::npos);
    EXPECT_EQ(Children().size(), 1u);

    // A path typed in any case is shown as the disk spells it, never in a case of the program's own.
    ::CreateDirectoryA(m_temp.File("data").c_str(), nullptr);
    ::CreateDirectoryA(m_temp.File("data\\p55").c_str(), nullptr);
    // A folder typed with its final backslash opens as without it.
    CString typed = m_temp.File("data\\p55\\").c_str();
    typed.MakeUpper();
    ::SetWindowTextA(hEdit, typed);
    ::SendMessageA(hEdit, WM_KEYDOWN, VK_RETURN, 0);
    Pump();
    char shown[MAX_PATH] = "";
    ::GetWindowTextA(hEdit, shown, sizeof(shown));
    EXPECT_EQ(std::string(shown), m_temp.File("data\\p55"));
    EXPECT_EQ(Children().size(), 2u);
    EXPECT_EQ(AfxTestRecords().messageBoxes.size(), 2u);

    // A path pasted with letters the code page cannot spell is refused for them; its look-alike stays shut.
    for (const std::wstring& path : WriteUnspelledPictures()) {
        AfxScriptMessageBox(IDOK);
        AfxTestPasteText(hEdit, path.c_str());
        ::SendMessageA(hEdit, WM_KEYDOWN, VK_RETURN, 0);
        EXPECT_NE(AfxTestRecords().messageBoxes.back().text.find("?"), std::string::npos);
    }
    EXPECT_EQ(Children().size(), 2u);
    EXPECT_EQ(AfxTestRecords().messageBoxes.size(), 4u);
}
