// The preferences sheet: its seven pages in order, the start page remembered after OK only, the
// ranges of the JPEG and WMF fields, the editor's path that must fit, the library's folder chosen, the
// tool-bar page's enabling rule and its clear-recents button, and fields that come back unchanged from
// an OK without edits.
#include "tests/app/AppFixture.h"

#include "app/PrefsPropertySheet.h"
#include "shell/Settings.h"
#include "framework/TestSeams.h"
#include "resources/resource.h"

#include <string>

namespace {

const int kPageGeneral = 0, kPageToolbars = 1, kPageLibrary = 2, kPageEditor = 3, kPageJPEG = 4, kPageWMF = 6;

void FillValid(CPrefsPropertySheet& sheet)
{
    sheet.m_pageJPEG.m_nColorMode = 2;
    sheet.m_pageJPEG.m_nCompressionRate = 75;
    sheet.m_pagePhotoCD.m_nSize = 1;
    sheet.m_pageWMF.m_nHeight = 480;
    sheet.m_pageWMF.m_nWidth = 640;
}

HWND PageItem(CWnd* pSheet, int id)
{
    HWND hPage = reinterpret_cast<HWND>(::SendMessageA(pSheet->GetSafeHwnd(), PSM_GETCURRENTPAGEHWND, 0, 0));
    return ::GetDlgItem(hPage, id);
}

bool Enabled(CWnd* pSheet, int id) { return ::IsWindowEnabled(PageItem(pSheet, id)) != FALSE; }

std::string PageText(CWnd* pSheet, int id)
{
    char text[MAX_PATH * 2] = "";
    ::GetWindowTextA(PageItem(pSheet, id), text, sizeof(text));
    return text;
}

// A value typed on a page, then OK: how many refusals it met, the last one said, and how the sheet
// ended.
struct Typed {
    size_t refusals;
    INT_PTR result;
    std::string said;
};

Typed TypeOnPageThenOK(int page, int id, const std::string& value, const std::wstring& wide = L"")
{
    size_t before = AfxTestRecords().messageBoxes.size();
    AfxScriptMessageBox(IDOK);
    AfxModalStep step;
    step.page = page;
    step.fields = {{id, value}};
    if (!wide.empty())
        step.wideFields = {{id, wide}};
    AfxScriptModal(IDS_PREFERENCES_CAPTION, {step});
    CPrefsPropertySheet sheet;
    FillValid(sheet);
    INT_PTR result = sheet.DoModal();
    const auto& boxes = AfxTestRecords().messageBoxes;
    Typed typed = {boxes.size() - before, result, boxes.empty() ? "" : boxes.back().text};
    AfxTestReset();
    AfxTestArm();
    return typed;
}

int ScreenOf8Bits() { return 8; }
int ScreenOf32Bits() { return 32; }

} // namespace

TEST_F(AppTest, PreferencesHaveSevenPagesInTabOrderWithTheirFrenchCaptions)
{
    ASSERT_TRUE(Start());
    std::vector<std::string> tabs;
    AfxModalStep look;
    look.buttonId = 0;
    look.check = [&](CWnd* pSheet) {
        HWND hTab = reinterpret_cast<HWND>(::SendMessageA(pSheet->GetSafeHwnd(), PSM_GETTABCONTROL, 0, 0));
        int n = static_cast<int>(::SendMessageA(hTab, TCM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < n; i++) {
            char text[64] = "";
            TCITEMA item = {};
            item.mask = TCIF_TEXT;
            item.pszText = text;
            item.cchTextMax = sizeof(text);
            ::SendMessageA(hTab, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
            tabs.push_back(text);
        }
    };
    AfxModalStep cancel;
    cancel.buttonId = IDCANCEL;
    AfxScriptModal(IDS_PREFERENCES_CAPTION, {look, cancel});
    CPrefsPropertySheet sheet;
    FillValid(sheet);
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    std::vector<std::string> expected = {
        "G\xE9n\xE9ral", "Barres d'outils", "Biblioth\xE8que", "Editeur", "JPEG", "Photo CD", "WMF"};
    EXPECT_EQ(tabs, expected);
}

TEST_F(AppTest, PreferencesReopenOnThePageOfTheLastOKAndNotOfACancel)
{
    ASSERT_TRUE(Start());
    CPrefsPropertySheet::SetRememberedPage(0);
    AfxModalStep okOnJpeg;
    okOnJpeg.page = kPageJPEG;
    AfxScriptModal(IDS_PREFERENCES_CAPTION, {okOnJpeg});
    {
        CPrefsPropertySheet sheet;
        FillValid(sheet);
        EXPECT_EQ(sheet.GetActiveIndex(), kPageGeneral);
        EXPECT_EQ(sheet.DoModal(), IDOK);
    }
    EXPECT_EQ(CPrefsPropertySheet::GetRememberedPage(), kPageJPEG);

    AfxModalStep cancelOnWmf;
    cancelOnWmf.page = kPageWMF;
    cancelOnWmf.buttonId = IDCANCEL;
    AfxScriptModal(IDS_PREFERENCES_CAPTION, {cancelOnWmf});
    {
        CPrefsPropertySheet sheet;
        FillValid(sheet);
        EXPECT_EQ(sheet.GetActiveIndex(), kPageJPEG);
        EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    }
    EXPECT_EQ(CPrefsPropertySheet::GetRememberedPage(), kPageJPEG);

    // An OK that a page refuses does not close the sheet and does not move the start page.
    AfxScriptMessageBox(IDOK);
    AfxModalStep bad;
    bad.page = kPageWMF;
    bad.fields = {{IDC_WMF_WIDTH, "9"}};
    AfxScriptModal(IDS_PREFERENCES_CAPTION, {bad});
    {
        CPrefsPropertySheet sheet;
        FillValid(sheet);
        EXPECT_NE(sheet.DoModal(), IDOK);
    }
    EXPECT_EQ(CPrefsPropertySheet::GetRememberedPage(), kPageJPEG);
    CPrefsPropertySheet::SetRememberedPage(0);
}

TEST_F(AppTest, PreferencesJpegRateMustBeFrom1To99)
{
    ASSERT_TRUE(Start());
    CPrefsPropertySheet::SetRememberedPage(0);
    for (const char* bad : {"0", "100", "x"}) {
        Typed t = TypeOnPageThenOK(kPageJPEG, IDC_JPEG_RATE, bad);
        EXPECT_EQ(t.refusals, 1u) << bad;
        EXPECT_NE(t.result, IDOK) << bad;
    }
    for (const char* good : {"1", "99"}) {
        Typed t = TypeOnPageThenOK(kPageJPEG, IDC_JPEG_RATE, good);
        EXPECT_EQ(t.refusals, 0u) << good;
        EXPECT_EQ(t.result, IDOK) << good;
    }
    CPrefsPropertySheet::SetRememberedPage(0);
}

TEST_F(AppTest, PreferencesWmfSizesMustBeFrom10To5000)
{
    ASSERT_TRUE(Start());
    CPrefsPropertySheet::SetRememberedPage(0);
    for (int id : {IDC_WMF_WIDTH, IDC_WMF_HEIGHT}) {
        for (const char* bad : {"9", "5001"}) {
            Typed t = TypeOnPageThenOK(kPageWMF, id, bad);
            EXPECT_EQ(t.refusals, 1u) << id << " " << bad;
            EXPECT_NE(t.result, IDOK) << id << " " << bad;
        }
        for (const char* good : {"10", "5000"}) {
            Typed t = TypeOnPageThenOK(kPageWMF, id, good);
            EXPECT_EQ(t.refusals, 0u) << id << " " << good;
            EXPECT_EQ(t.result, IDOK) << id << " " << good;
        }
    }
    // The refusal is the framework's French range message.
    AfxScriptMessageBox(IDOK);
    AfxModalStep step;
    step.page = kPageWMF;
    step.fields = {{IDC_WMF_HEIGHT, "5001"}};
    AfxScriptModal(IDS_PREFERENCES_CAPTION, {step});
    CPrefsPropertySheet sheet;
    FillValid(sheet);
    sheet.DoModal();
    ASSERT_FALSE(AfxTestRecords().messageBoxes.empty());
    const std::string& text = AfxTestRecords().messageBoxes.back().text;
    EXPECT_NE(text.find("10"), std::string::npos) << text;
    EXPECT_NE(text.find("5000"), std::string::npos) << text;
    CPrefsPropertySheet::SetRememberedPage(0);
}

// The editor's path is refused when the settings could not keep it (they would forget it at the next
// start), with the file dialogs' message; it and the library's folder, pasted with a letter the code
// page cannot spell, are refused for it: their look-alikes are another program and another folder.
TEST_F(AppTest, PreferencesEditorPathMustFitAFullPath)
{
    ASSERT_TRUE(Start());
    CPrefsPropertySheet::SetRememberedPage(0);
    for (size_t length : {260u, 259u}) {
        const Typed t =
            TypeOnPageThenOK(kPageEditor, IDC_PATH_EDIT, "c:\\" + std::string(length - 7, 'e') + ".exe");
        EXPECT_EQ(t.refusals, length == 260 ? 1u : 0u);
        EXPECT_EQ(t.result == IDOK, length == 259);
        EXPECT_EQ(t.said.find("trop long") != std::string::npos, length == 260) << t.said;
    }
    const struct {
        int page;
        std::wstring pasted;
        const char* said;
    } unspelled[] = {{kPageEditor, L"c:\\\x0141odz\\editeur.exe", "dossier 'c:\\?odz'"},
                     {kPageEditor, L"c:\\Pozna\x0144.exe", "fichier 'c:\\Pozna?.exe'"},
                     {kPageLibrary, L"c:\\\x0141odz", "dossier 'c:\\?odz'"}};
    for (const auto& row : unspelled) {
        const Typed t = TypeOnPageThenOK(row.page, IDC_PATH_EDIT, "", row.pasted);
        EXPECT_EQ(t.refusals, 1u);
        EXPECT_NE(t.result, IDOK);
        EXPECT_NE(t.said.find(row.said), std::string::npos) << t.said;
    }
    CPrefsPropertySheet::SetRememberedPage(0);
}

// The library's folder comes whole from the folder browser; one whose name the code page cannot spell
// (its barred L would become an L: another folder) is refused with the file dialogs' message, the
// field unchanged.
TEST_F(AppTest, PreferencesLibraryFolderIsRefusedWhenItsNameCannotBeSpelled)
{
    ASSERT_TRUE(Start());
    CPrefsPropertySheet::SetRememberedPage(kPageLibrary);
    AfxCommonDialogAnswer unspelled = {true, "", 0, testpaths::Wide(m_temp.Path()) + L"\\\x0141\xF3d\x017A"};
    ASSERT_TRUE(::CreateDirectoryW(unspelled.widePath.c_str(), nullptr));
    AfxScriptCommonDialog(AfxCommonDialogKind::Folder, unspelled);
    AfxScriptMessageBox(IDOK);
    AfxScriptCommonDialog(AfxCommonDialogKind::Folder, {true, m_temp.Path(), 0});
    std::vector<std::string> shown;
    AfxModalStep browse;
    browse.check = [&](CWnd* p) {
        for (int i = 0; i < 2; i++) {
            ::SendMessageA(PageItem(p, IDC_PATH_BROWSE), BM_CLICK, 0, 0);
            shown.push_back(PageText(p, IDC_PATH_EDIT));
        }
    };
    browse.buttonId = 0;
    AfxScriptModal(IDS_PREFERENCES_CAPTION, {browse});
    CPrefsPropertySheet sheet;
    sheet.m_pageLibrarianPath.m_strPath = "c:\\avant";
    sheet.DoModal();
    EXPECT_EQ(shown, std::vector<std::string>({"c:\\avant", m_temp.Path()}));
    ASSERT_EQ(AfxTestRecords().messageBoxes.size(), 1u);
    EXPECT_NE(AfxTestRecords().messageBoxes[0].text.find("ne peut pas"), std::string::npos);
    CPrefsPropertySheet::SetRememberedPage(0);
}

TEST_F(AppTest, PreferencesOKWithoutEditsGivesBackEveryField)
{
    ASSERT_TRUE(Start());
    CPrefsPropertySheet::SetRememberedPage(0);
    std::vector<AfxModalStep> steps;
    for (int page = kPageToolbars; page <= kPageWMF; page++) {
        AfxModalStep visit;
        visit.page = page;
        visit.buttonId = 0;
        steps.push_back(visit);
    }
    steps.push_back(AfxModalStep());
    AfxScriptModal(IDS_PREFERENCES_CAPTION, steps);
    CPrefsPropertySheet sheet;
    sheet.m_pageGeneral.m_bShowWelcome = TRUE;
    sheet.m_pageGeneral.m_bShowWarnAssoc = TRUE;
    sheet.m_pageGeneral.m_strColorView = "4210752";
    sheet.m_pageGeneral.m_strColorFullScreen = "255";
    sheet.m_pageToolbars.m_bUseCoolBar = TRUE;
    sheet.m_pageToolbars.m_bShowDibToolBar = TRUE;
    sheet.m_pageLibrarianPath.m_strPath = "c:\\biblioth\xE8que";
    sheet.m_pageEditorPath.m_strPath = "c:\\outils\\editeur.exe";
    sheet.m_pageJPEG.m_nColorMode = 1;
    sheet.m_pageJPEG.m_nCompressionRate = 33;
    sheet.m_pagePhotoCD.m_nSize = 3;
    sheet.m_pageWMF.m_nHeight = 600;
    sheet.m_pageWMF.m_nWidth = 800;
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_TRUE(sheet.m_pageGeneral.m_bShowWelcome);
    EXPECT_FALSE(sheet.m_pageGeneral.m_bExplorerAuto);
    EXPECT_TRUE(sheet.m_pageGeneral.m_bShowWarnAssoc);
    EXPECT_EQ(std::string(sheet.m_pageGeneral.m_strColorView), "4210752");
    EXPECT_EQ(std::string(sheet.m_pageGeneral.m_strColorFullScreen), "255");
    EXPECT_TRUE(sheet.m_pageToolbars.m_bUseCoolBar);
    EXPECT_TRUE(sheet.m_pageToolbars.m_bShowDibToolBar);
    EXPECT_FALSE(sheet.m_pageToolbars.m_bShowExplorerToolBar);
    EXPECT_EQ(std::string(sheet.m_pageLibrarianPath.m_strPath), "c:\\biblioth\xE8que");
    EXPECT_EQ(std::string(sheet.m_pageEditorPath.m_strPath), "c:\\outils\\editeur.exe");
    EXPECT_EQ(sheet.m_pageJPEG.m_nColorMode, 1);
    EXPECT_EQ(sheet.m_pageJPEG.m_nCompressionRate, 33);
    EXPECT_EQ(sheet.m_pagePhotoCD.m_nSize, 3);
    EXPECT_EQ(sheet.m_pageWMF.m_nHeight, 600);
    EXPECT_EQ(sheet.m_pageWMF.m_nWidth, 800);
    EXPECT_EQ(CPrefsPropertySheet::GetRememberedPage(), kPageWMF);
    CPrefsPropertySheet::SetRememberedPage(0);
}

TEST_F(AppTest, PreferencesToolbarPageEnablesItsOptionsAsTheRuleSays)
{
    ASSERT_TRUE(Start());
    CPrefsPropertySheet::SetRememberedPage(0);
    g_RecentList.RemoveAll();

    // An 8-bit screen: the background picture stays off whatever the cool-bar box says.
    AfxPlatform().pfnScreenBitsPerPixel = ScreenOf8Bits;
    bool bitmap8 = true, text8 = false, clearEmpty = true, noteOff = true, recentsOff = false;
    AfxModalStep on;
    on.page = kPageToolbars;
    on.buttonId = 0;
    on.fields = {{IDC_TB_COOLBAR, "1"}, {IDC_TB_RECENTS, "1"}};
    on.check = [&](CWnd* p) {
        bitmap8 = Enabled(p, IDC_TB_BITMAP);
        text8 = Enabled(p, IDC_TB_TEXT);
        clearEmpty = Enabled(p, IDC_TB_CLEAR_RECENTS);
    };
    AfxModalStep off;
    off.buttonId = 0;
    off.fields = {{IDC_TB_COOLBAR, "0"}};
    off.check = [&](CWnd* p) {
        noteOff = Enabled(p, IDC_TB_NOTE);
        recentsOff = Enabled(p, IDC_TB_RECENTS);
    };
    AfxModalStep cancel;
    cancel.buttonId = IDCANCEL;
    AfxScriptModal(IDS_PREFERENCES_CAPTION, {on, off, cancel});
    {
        CPrefsPropertySheet sheet;
        FillValid(sheet);
        sheet.DoModal();
    }
    EXPECT_FALSE(bitmap8);
    EXPECT_TRUE(text8);
    EXPECT_FALSE(clearEmpty); // the recent list is empty
    EXPECT_FALSE(noteOff);
    EXPECT_FALSE(recentsOff);

    // A deep screen and a recent list: everything on, then the clear button empties the list.
    AfxPlatform().pfnScreenBitsPerPixel = ScreenOf32Bits;
    g_RecentList.Add("c:\\a.bmp");
    g_RecentList.Add("c:\\b.bmp");
    bool bitmap32 = false, clearBefore = false, clearAfter = true;
    AfxScriptMessageBox(IDYES);
    AfxModalStep look;
    look.page = kPageToolbars;
    look.buttonId = 0;
    look.check = [&](CWnd* p) {
        bitmap32 = Enabled(p, IDC_TB_BITMAP);
        clearBefore = Enabled(p, IDC_TB_CLEAR_RECENTS);
        ::SendMessageA(PageItem(p, IDC_TB_CLEAR_RECENTS), BM_CLICK, 0, 0);
        clearAfter = Enabled(p, IDC_TB_CLEAR_RECENTS);
    };
    AfxModalStep cancel2;
    cancel2.buttonId = IDCANCEL;
    AfxScriptModal(IDS_PREFERENCES_CAPTION, {look, cancel2});
    {
        CPrefsPropertySheet sheet;
        FillValid(sheet);
        sheet.m_pageToolbars.m_bUseCoolBar = TRUE;
        sheet.m_pageToolbars.m_bShowRecents = TRUE;
        sheet.DoModal();
    }
    EXPECT_TRUE(bitmap32);
    EXPECT_TRUE(clearBefore);
    EXPECT_FALSE(clearAfter);
    EXPECT_EQ(g_RecentList.GetSize(), 0);
    ASSERT_FALSE(AfxTestRecords().messageBoxes.empty());
    EXPECT_NE(AfxTestRecords().messageBoxes.back().text.find("R\xE9"
                                                             "cents"),
              std::string::npos);
}

TEST_F(AppTest, PreferencesColourButtonsCarryTheChosenColourAndCancelKeepsIt)
{
    ASSERT_TRUE(Start());
    CPrefsPropertySheet::SetRememberedPage(0);
    AfxCommonDialogAnswer red;
    red.ok = true;
    red.color = RGB(200, 10, 20);
    AfxScriptCommonDialog(AfxCommonDialogKind::Color, red);
    AfxScriptCommonDialog(AfxCommonDialogKind::Color, AfxCommonDialogAnswer());
    AfxModalStep pick;
    pick.buttonId = 0;
    pick.check = [](CWnd* p) {
        ::SendMessageA(PageItem(p, IDC_GEN_COLOR_VIEW), BM_CLICK, 0, 0);
        ::SendMessageA(PageItem(p, IDC_GEN_COLOR_FULLSCREEN), BM_CLICK, 0, 0);
    };
    AfxScriptModal(IDS_PREFERENCES_CAPTION, {pick, AfxModalStep()});
    CPrefsPropertySheet sheet;
    FillValid(sheet);
    sheet.m_pageGeneral.m_strColorView = "0";
    sheet.m_pageGeneral.m_strColorFullScreen = "255";
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(std::string(sheet.m_pageGeneral.m_strColorView), std::to_string(RGB(200, 10, 20)));
    EXPECT_EQ(std::string(sheet.m_pageGeneral.m_strColorFullScreen), "255");
    EXPECT_EQ(AfxTestPendingScripts(), "");
}
