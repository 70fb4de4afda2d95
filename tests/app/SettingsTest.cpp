// The settings: registry round trip, defaults, range checks, numbered lists, derived values and
// the rule that only a process that loaded the settings may save them.
#include "shell/Settings.h"
#include "framework/WinApp.h"

#include <gtest/gtest.h>
#include <shlwapi.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

std::string S(const CString& text) { return std::string(static_cast<LPCSTR>(text)); }

std::vector<std::string> L(const CStringArray& list)
{
    std::vector<std::string> out;
    for (INT_PTR i = 0; i < list.GetSize(); ++i)
        out.push_back(S(list[i]));
    return out;
}

// Every test has its own application object on its own company key, so that parallel test
// processes never meet.
class SettingsTest : public testing::Test {
protected:
    SettingsTest() : m_app("Tessarine 3.0") {}

    void SetUp() override
    {
        m_company = "TessarineTest-" + std::to_string(GetCurrentProcessId());
        SHDeleteKeyA(HKEY_CURRENT_USER, ("Software\\" + m_company).c_str());
        m_app.SetRegistryKey(m_company.c_str());
        ResetSettings();
    }
    void TearDown() override
    {
        SHDeleteKeyA(HKEY_CURRENT_USER, ("Software\\" + m_company).c_str());
        ResetSettings();
    }

    std::string SectionPath(const char* section) const
    {
        return "Software\\" + m_company + "\\Tessarine 3.0\\" + section;
    }
    void PutDword(const char* section, const char* key, DWORD value)
    {
        ASSERT_EQ(SHSetValueA(HKEY_CURRENT_USER, SectionPath(section).c_str(), key, REG_DWORD, &value,
                              sizeof(value)),
                  ERROR_SUCCESS);
    }
    void PutText(const char* section, const char* key, const std::string& text)
    {
        ASSERT_EQ(SHSetValueA(HKEY_CURRENT_USER, SectionPath(section).c_str(), key, REG_SZ, text.c_str(),
                              static_cast<DWORD>(text.size() + 1)),
                  ERROR_SUCCESS);
    }
    // The raw value as stored: its type and bytes; type 0 when it is missing.
    DWORD RawType(const char* section, const char* key, std::string* bytes = nullptr)
    {
        DWORD type = 0;
        char data[4096] = {};
        DWORD size = sizeof(data);
        if (SHGetValueA(HKEY_CURRENT_USER, SectionPath(section).c_str(), key, &type, data, &size)
            != ERROR_SUCCESS)
            return 0;
        if (bytes)
            bytes->assign(data, size);
        return type;
    }
    std::string StoredText(const char* section, const char* key)
    {
        std::string bytes;
        EXPECT_EQ(RawType(section, key, &bytes), static_cast<DWORD>(REG_SZ)) << section << "\\" << key;
        return std::string(bytes.c_str());
    }
    DWORD StoredDword(const char* section, const char* key)
    {
        std::string bytes;
        EXPECT_EQ(RawType(section, key, &bytes), static_cast<DWORD>(REG_DWORD)) << section << "\\" << key;
        DWORD value = 0;
        if (bytes.size() == sizeof(value))
            memcpy(&value, bytes.data(), sizeof(value));
        return value;
    }

    CWinApp m_app;
    std::string m_company;
};

TEST_F(SettingsTest, FirstStartGivesEveryDefault)
{
    LoadSettings();
    EXPECT_EQ(g_NewPicColors, 3);
    EXPECT_EQ(g_NewPicWidth, 512);
    EXPECT_EQ(g_AssocDetail, -1);
    EXPECT_EQ(g_LibrarianSeparatorH, 200);
    EXPECT_EQ(g_TailleVignetteLibBar, 1);
    EXPECT_EQ(g_LibBarTypeCompression, 1);
    EXPECT_EQ(g_DiapoPause, 10);
    EXPECT_EQ(g_bAutoReorganize, 1);
    EXPECT_EQ(g_VitesseAnimation, 6);
    EXPECT_EQ(g_VitesseVideo, 9);
    EXPECT_EQ(g_LibBarSizeV, 230);
    EXPECT_EQ(g_LibBarFloatSizeH, 550);
    EXPECT_EQ(g_ReorganizeType, 1);
    EXPECT_EQ(g_ListPrintSize, 1);
    EXPECT_EQ(g_MaximiseOnOpen, 0);
    EXPECT_EQ(g_DefaultWmfCX, 640);
    EXPECT_EQ(g_DefaultWmfCY, 480);
    EXPECT_EQ(g_PhotoCDSize, 2);
    EXPECT_EQ(g_CouleursJPEG, 2);
    EXPECT_EQ(g_TauxJPEG, 50);
    EXPECT_EQ(g_ExplorerAuto, 1);
    EXPECT_EQ(g_CouleurView, static_cast<COLORREF>(0x404040));
    EXPECT_EQ(g_CouleurPleinEcran, static_cast<COLORREF>(0));
    EXPECT_EQ(g_UseCoolBar, 1);
    EXPECT_EQ(g_CoolBarRawCount, 2);
    EXPECT_EQ(g_CoolBarBandCX, 300);
    EXPECT_EQ(g_CustColors[0], static_cast<COLORREF>(0));
    EXPECT_TRUE(g_ProtectedPics.IsEmpty());
    EXPECT_TRUE(g_ActualDir.IsEmpty());

    // The library lives in the program's folder, and the location says so.
    ASSERT_NE(g_szModuleDir[0], 0);
    EXPECT_EQ(std::string(g_szModuleDir).back(), '\\');
    EXPECT_EQ(S(g_strLibraryRoot), g_szModuleDir);
    EXPECT_EQ(S(g_LibrarianLocation), g_szModuleDir);

    EXPECT_EQ(L(g_SelectFilterList), std::vector<std::string>{"*.*"});
    EXPECT_EQ(L(g_UnselectFilterList), std::vector<std::string>{"*.*"});
    EXPECT_EQ(g_RecentList.GetSize(), 0);
    EXPECT_EQ(g_FavoriteList.GetSize(), 0);
}

TEST_F(SettingsTest, RoundTripKeepsEveryKindOfValueWithItsRegistryType)
{
    LoadSettings();
    g_AssocDetail = 0x002;
    g_NewPicHeight = 777;
    g_TailleVignette = 3;
    g_VitesseAnimation = 12;
    g_bAutoReorganize = 0;
    g_TauxJPEG = 70;
    g_PhotoCDSize = 0;
    g_UseCoolBar = 0;
    g_CoolBarBandCX = 412;
    g_MusicFileDiapo = "C:\\Musique\\th\xE8me.mid";
    g_ProtectedPics = "s\xE9same";
    g_ActualDir = "C:\\Mes Images";
    g_CurrentExportDirectory = "D:\\Export";
    g_DefaultEditorPathName = "C:\\Outils\\\xE9\x64iteur.exe";
    g_CouleurView = RGB(10, 20, 30);
    g_CouleurPleinEcran = RGB(255, 255, 255);
    g_CustColors[4] = RGB(1, 2, 3);
    g_FavoriteList.Add("Vacances|C:\\Photos\\\xC9t\xE9");
    ASSERT_TRUE(SaveSettings());

    EXPECT_EQ(StoredDword("specs", "AssocDetail"), 0x002u);
    EXPECT_EQ(StoredDword("specs", "AutoReorganize"), 0u);
    EXPECT_EQ(StoredDword("prefs", "TauxJPEG"), 70u);
    EXPECT_EQ(StoredText("pass", "ProtectedPics"), "s\xE9same");
    EXPECT_EQ(StoredText("prefs", "CouleurView"), std::to_string(RGB(10, 20, 30)));
    EXPECT_EQ(StoredText("colors", "CustColor05"), std::to_string(RGB(1, 2, 3)));
    EXPECT_EQ(StoredText("colors", "CustColor16"), "0");
    EXPECT_EQ(StoredText("FavoriteList", "1"), "Vacances|C:\\Photos\\\xC9t\xE9");

    ResetSettings();
    LoadSettings();
    EXPECT_EQ(g_AssocDetail, 0x002);
    EXPECT_EQ(g_NewPicHeight, 777);
    EXPECT_EQ(g_TailleVignette, 3);
    EXPECT_EQ(g_VitesseAnimation, 12);
    EXPECT_EQ(g_bAutoReorganize, 0);
    EXPECT_EQ(g_TauxJPEG, 70);
    EXPECT_EQ(g_PhotoCDSize, 0);
    EXPECT_EQ(g_UseCoolBar, 0);
    EXPECT_EQ(g_CoolBarBandCX, 412);
    EXPECT_EQ(S(g_MusicFileDiapo), "C:\\Musique\\th\xE8me.mid");
    EXPECT_EQ(S(g_ProtectedPics), "s\xE9same");
    EXPECT_EQ(S(g_ActualDir), "C:\\Mes Images");
    EXPECT_EQ(S(g_CurrentExportDirectory), "D:\\Export");
    EXPECT_EQ(S(g_DefaultEditorPathName), "C:\\Outils\\\xE9\x64iteur.exe");
    EXPECT_EQ(g_CouleurView, RGB(10, 20, 30));
    EXPECT_EQ(g_CouleurPleinEcran, RGB(255, 255, 255));
    EXPECT_EQ(g_CustColors[4], RGB(1, 2, 3));
    EXPECT_EQ(L(g_FavoriteList), std::vector<std::string>{"Vacances|C:\\Photos\\\xC9t\xE9"});
}

TEST_F(SettingsTest, ValueOutOfItsRangeTakesItsDefault)
{
    PutDword("prefs", "TauxJPEG", 150);
    PutDword("prefs", "CouleursJPEG", 7);
    PutDword("prefs", "PhotoCDSize", static_cast<DWORD>(-1));
    PutDword("prefs", "DefaultWmfCX", 0);
    PutDword("prefs", "DefaultWmfCY", 100000);
    PutDword("specs", "IndexOfTheTip", static_cast<DWORD>(-3));
    PutDword("specs", "VitesseAnimation", static_cast<DWORD>(-1));
    PutDword("specs", "TailleVignette", 4);
    PutDword("specs", "ListPrintSize", 9);
    PutDword("specs", "DiapoPause", 0);
    PutDword("specs", "LibBarTypeCompression", 3);
    PutDword("prefs", "CoolBarRawCount", 0);
    PutDword("prefs", "ShowWelcome", 2);
    PutText("prefs", "CouleurView", "99999999");
    PutText("prefs", "CouleurPleinEcran", "-5");
    PutText("colors", "CustColor03", "16777216");
    LoadSettings();
    EXPECT_EQ(g_TauxJPEG, 50);
    EXPECT_EQ(g_CouleursJPEG, 2);
    EXPECT_EQ(g_PhotoCDSize, 2);
    EXPECT_EQ(g_DefaultWmfCX, 640);
    EXPECT_EQ(g_DefaultWmfCY, 480);
    EXPECT_EQ(g_IndexOfTheTip, 0);
    EXPECT_EQ(g_VitesseAnimation, 6);
    EXPECT_EQ(g_TailleVignette, 0);
    EXPECT_EQ(g_ListPrintSize, 1);
    EXPECT_EQ(g_DiapoPause, 10);
    EXPECT_EQ(g_LibBarTypeCompression, 1);
    EXPECT_EQ(g_CoolBarRawCount, 2);
    EXPECT_EQ(g_ShowWelcome, 1);
    EXPECT_EQ(g_CouleurView, static_cast<COLORREF>(0x404040));
    EXPECT_EQ(g_CouleurPleinEcran, static_cast<COLORREF>(0));
    EXPECT_EQ(g_CustColors[2], static_cast<COLORREF>(0));
}

TEST_F(SettingsTest, PathLongerThanAPathBufferTakesItsDefault)
{
    const std::string longest = "C:\\" + std::string(MAX_PATH - 4, 'a'); // 259 characters
    PutText("folders", "ActualDir", longest);
    PutText("folders", "CurrentOpenDirectory", longest + "b");
    PutText("specs", "MusicFileDiapo", longest + "b");
    PutText("pass", "ProtectedPics", std::string(400, 'p'));
    LoadSettings();
    EXPECT_EQ(S(g_ActualDir), longest);
    EXPECT_TRUE(g_CurrentOpenDirectory.IsEmpty());
    EXPECT_TRUE(g_MusicFileDiapo.IsEmpty());
    EXPECT_EQ(S(g_ProtectedPics), std::string(400, 'p'));
}

TEST_F(SettingsTest, ValuesAtTheEdgesOfTheirRangesAreKept)
{
    PutDword("prefs", "TauxJPEG", 99);
    PutDword("prefs", "DefaultWmfCX", 10);
    PutDword("prefs", "DefaultWmfCY", 5000);
    PutDword("specs", "IndexOfTheTip", 24);
    PutDword("specs", "TailleVignette", 3);
    PutText("prefs", "CouleurView", "16777215");
    LoadSettings();
    EXPECT_EQ(g_TauxJPEG, 99);
    EXPECT_EQ(g_DefaultWmfCX, 10);
    EXPECT_EQ(g_DefaultWmfCY, 5000);
    EXPECT_EQ(g_IndexOfTheTip, 24);
    EXPECT_EQ(g_TailleVignette, 3);
    EXPECT_EQ(g_CouleurView, static_cast<COLORREF>(0xFFFFFF));
}

TEST_F(SettingsTest, SpeedsAboveTwelveAndSplittersBelowFiftyArePulledToTheirBound)
{
    PutDword("specs", "VitesseAnimation", 20);
    PutDword("specs", "VitesseVideo", 13);
    PutDword("specs", "LibrarianSeparatorH", 10);
    PutDword("specs", "LibrarianSeparatorV", static_cast<DWORD>(-5));
    LoadSettings();
    EXPECT_EQ(g_VitesseAnimation, 12);
    EXPECT_EQ(g_VitesseVideo, 12);
    EXPECT_EQ(g_LibrarianSeparatorH, 50);
    EXPECT_EQ(g_LibrarianSeparatorV, 50);
}

TEST_F(SettingsTest, ValueOfTheWrongRegistryTypeCountsAsMissing)
{
    PutText("prefs", "TauxJPEG", "70");
    PutDword("folders", "ActualDir", 5);
    LoadSettings();
    EXPECT_EQ(g_TauxJPEG, 50);
    EXPECT_TRUE(g_ActualDir.IsEmpty());
}

TEST_F(SettingsTest, ColoursStoredAsTextReadLikeAtol)
{
    PutText("prefs", "CouleurView", "0");
    PutText("prefs", "CouleurPleinEcran", "255");
    PutText("colors", "CustColor01", "abc");
    PutText("colors", "CustColor02", "65280");
    LoadSettings();
    EXPECT_EQ(g_CouleurView, RGB(0, 0, 0));
    EXPECT_EQ(g_CouleurPleinEcran, RGB(255, 0, 0));
    EXPECT_EQ(g_CustColors[0], static_cast<COLORREF>(0));
    EXPECT_EQ(g_CustColors[1], RGB(0, 255, 0));
}

TEST_F(SettingsTest, PatternListsStartWithAllFilesAndSkipItWhenStored)
{
    PutText("SelectFilterList", "1", "*.*");
    PutText("SelectFilterList", "2", "*.jpg");
    PutText("SelectFilterList", "3", "");
    PutText("SelectFilterList", "4", "*.never");
    PutText("UnselectFilterList", "1", "*.gif");
    PutText("UnselectFilterList", "2", "*.*");
    PutText("UnselectFilterList", "3", "vacances*");
    LoadSettings();
    EXPECT_EQ(L(g_SelectFilterList), (std::vector<std::string>{"*.*", "*.jpg"}));
    EXPECT_EQ(L(g_UnselectFilterList), (std::vector<std::string>{"*.*", "*.gif", "vacances*"}));

    ASSERT_TRUE(SaveSettings());
    EXPECT_EQ(StoredText("UnselectFilterList", "1"), "*.*");
    EXPECT_EQ(StoredText("UnselectFilterList", "4"), "");
    ResetSettings();
    LoadSettings();
    EXPECT_EQ(L(g_UnselectFilterList), (std::vector<std::string>{"*.*", "*.gif", "vacances*"}));
}

TEST_F(SettingsTest, ListsKeepFiftyEntriesAndEndAtTheFirstEmptyKey)
{
    LoadSettings();
    for (int i = 0; i < 60; ++i)
        g_RecentList.Add(("C:\\Images\\photo" + std::to_string(i) + ".jpg").c_str());
    ASSERT_TRUE(SaveSettings());
    EXPECT_EQ(StoredText("CoolBarList", "50"), "C:\\Images\\photo49.jpg");
    EXPECT_EQ(RawType("CoolBarList", "51"), 0u);
    EXPECT_EQ(StoredText("FavoriteList", "50"), "");

    ResetSettings();
    LoadSettings();
    ASSERT_EQ(g_RecentList.GetSize(), 50);
    EXPECT_EQ(S(g_RecentList[0]), "C:\\Images\\photo0.jpg");
    EXPECT_EQ(S(g_RecentList[49]), "C:\\Images\\photo49.jpg");

    // A shorter list blanks the keys it no longer uses.
    g_RecentList.SetSize(3);
    ASSERT_TRUE(SaveSettings());
    ResetSettings();
    LoadSettings();
    EXPECT_EQ(g_RecentList.GetSize(), 3);
}

TEST_F(SettingsTest, ListsReadPastFiftyWhenTheRegistryHoldsMore)
{
    for (int n = 1; n <= 55; ++n)
        PutText("FavoriteList", std::to_string(n).c_str(), "f" + std::to_string(n) + "|C:\\");
    LoadSettings();
    EXPECT_EQ(g_FavoriteList.GetSize(), 55);
}

TEST_F(SettingsTest, SaveDoesNothingUnlessTheSettingsWereLoaded)
{
    PutDword("prefs", "TauxJPEG", 70);
    PutText("pass", "ProtectedPics", "secret");
    EXPECT_FALSE(SettingsLoaded());
    EXPECT_FALSE(SaveSettings());
    EXPECT_EQ(StoredDword("prefs", "TauxJPEG"), 70u);
    EXPECT_EQ(StoredText("pass", "ProtectedPics"), "secret");
    EXPECT_EQ(RawType("specs", "NewPicColors"), 0u);

    LoadSettings();
    EXPECT_TRUE(SettingsLoaded());
    g_TauxJPEG = 30;
    EXPECT_TRUE(SaveSettings());
    EXPECT_EQ(StoredDword("prefs", "TauxJPEG"), 30u);
    EXPECT_EQ(StoredText("pass", "ProtectedPics"), "secret");
}

TEST(SettingsWithoutApplication, NothingIsReadOrWritten)
{
    ResetSettings();
    ASSERT_EQ(AfxGetApp(), nullptr);
    EXPECT_FALSE(LoadSettings());
    EXPECT_FALSE(SettingsLoaded());
    EXPECT_FALSE(SaveSettings());
    EXPECT_EQ(g_SelectFilterList.GetSize(), 0);
}

TEST_F(SettingsTest, RelativeLibraryLocationIsReplacedByTheProgramFolder)
{
    PutText("folders", "LibrarianLocation", "Images");
    LoadSettings();
    EXPECT_EQ(S(g_strLibraryRoot), g_szModuleDir);
    EXPECT_EQ(S(g_LibrarianLocation), g_szModuleDir);
    ASSERT_TRUE(SaveSettings());
    EXPECT_EQ(StoredText("folders", "LibrarianLocation"), g_szModuleDir);
}

TEST_F(SettingsTest, AbsoluteLibraryLocationStaysAsStored)
{
    PutText("folders", "LibrarianLocation", "D:\\Photos");
    LoadSettings();
    EXPECT_EQ(S(g_strLibraryRoot), "D:\\Photos\\");
    EXPECT_EQ(S(g_LibrarianLocation), "D:\\Photos");
}

TEST(SettingsLibraryRoot, DrivePathsAndNetworkPathsAreRoots)
{
    const CString programDir = "C:\\Programmes\\Tessarine\\";
    struct Case {
        const char* stored;
        const char* root;
        const char* storedAfter;
    } cases[] = {
        {"D:\\Photos", "D:\\Photos\\", "D:\\Photos"},
        {"D:\\Photos\\", "D:\\Photos\\", "D:\\Photos\\"},
        {"\\\\serveur\\partage", "\\\\serveur\\partage\\", "\\\\serveur\\partage"},
        {"E:", "E:\\", "E:"},
        {"", "C:\\Programmes\\Tessarine\\", "C:\\Programmes\\Tessarine\\"},
        {"Images", "C:\\Programmes\\Tessarine\\", "C:\\Programmes\\Tessarine\\"},
        {"\\Images", "C:\\Programmes\\Tessarine\\", "C:\\Programmes\\Tessarine\\"},
        // A one-letter relative name must not pass for a network path once its backslash is added.
        {"D", "C:\\Programmes\\Tessarine\\", "C:\\Programmes\\Tessarine\\"},
    };
    for (const Case& c : cases) {
        CString location = c.stored;
        EXPECT_EQ(S(DeriveLibraryRoot(location, programDir)), c.root) << c.stored;
        EXPECT_EQ(S(location), c.storedAfter) << c.stored;
    }
}

TEST(SettingsLibraryRoot, LocationTooLongForAPathFallsBackToTheProgramFolder)
{
    const CString programDir = "C:\\Tessarine\\";
    std::string longest = "D:\\" + std::string(MAX_PATH - 5, 'a'); // 258 characters, 259 with "\"
    CString location = longest.c_str();
    EXPECT_EQ(S(DeriveLibraryRoot(location, programDir)), longest + "\\");
    location = (longest + "b").c_str();
    EXPECT_EQ(S(DeriveLibraryRoot(location, programDir)), S(programDir));
    EXPECT_EQ(S(location), S(programDir));
}

TEST_F(SettingsTest, EditorPathIsTrimmedAndBlankTakesTheDefaultEditor)
{
    PutText("prefs", "DefaultEditorPathName", "  C:\\Outils\\retouche.exe \t");
    LoadSettings();
    EXPECT_EQ(S(g_DefaultEditorPathName), "C:\\Outils\\retouche.exe");

    ResetSettings();
    PutText("prefs", "DefaultEditorPathName", "   ");
    LoadSettings();
    EXPECT_EQ(S(g_DefaultEditorPathName), S(GetDefaultEditorPath()));
}

TEST_F(SettingsTest, CoolBarIsOffWhenTheCommonControlsCannotHostIt)
{
    PutDword("prefs", "UseCoolBar", 1);
    LoadSettings(false);
    EXPECT_EQ(g_UseCoolBar, 0);
}

TEST(SettingsModuleDir, CutJustAfterTheLastBackslash)
{
    EXPECT_EQ(S(ModuleDirFromPath("C:\\Programmes\\Tessarine\\Tessarine.exe")),
              "C:\\Programmes\\Tessarine\\");
    EXPECT_EQ(S(ModuleDirFromPath("C:\\Tessarine.exe")), "C:\\");
    EXPECT_EQ(S(ModuleDirFromPath("Tessarine.exe")), "Tessarine.exe");

    InitModuleDir();
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    EXPECT_EQ(std::string(path).rfind('\\') + 1, strlen(g_szModuleDir));
    EXPECT_EQ(std::string(path).compare(0, strlen(g_szModuleDir), g_szModuleDir), 0);
}

} // namespace
