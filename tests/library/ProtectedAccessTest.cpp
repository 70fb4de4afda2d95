// The protected folder's password: the gate from the tree and from the list, the three steps of the
// change dialog, and the frame's command, with the stored password read back from the registry.
#include "tests/piclist/LibraryTestSupport.h"

#include "shell/Settings.h"
#include "framework/FrameworkTexts.h"
#include "framework/TestSeams.h"
#include "framework/WinApp.h"
#include "library/ProtectedAccess.h"
#include "resources/resource.h"

#include <shlwapi.h>

#include <string>

using libtest::LibraryStore;

namespace {

// The program's profile functions need an application object; this test program has none of its own.
CWinApp& ProfileApp()
{
    static CWinApp* pApp = new CWinApp("Tessarine 3.0");
    return *pApp;
}

class Protected : public LibraryStore {
protected:
    void SetUp() override
    {
        LibraryStore::SetUp();
        m_company = std::string("TessarineLibTest_")
                    + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        ProfileApp().SetRegistryKey(m_company.c_str());
        g_bProtectedUnlocked = FALSE;
        g_ProtectedPics.Empty();
    }
    void TearDown() override
    {
        ::SHDeleteKeyA(HKEY_CURRENT_USER, ("Software\\" + m_company).c_str());
        g_bProtectedUnlocked = FALSE;
        g_ProtectedPics.Empty();
        LibraryStore::TearDown();
    }
    std::string Stored()
    {
        char value[256] = "";
        DWORD size = sizeof(value);
        std::string key = "Software\\" + m_company + "\\Tessarine 3.0\\pass";
        HKEY hKey = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
            return "<none>";
        LONG result = ::RegQueryValueExA(hKey, "ProtectedPics", nullptr, nullptr,
                                         reinterpret_cast<BYTE*>(value), &size);
        ::RegCloseKey(hKey);
        return result == ERROR_SUCCESS ? std::string(value) : std::string("<none>");
    }
    std::string LastMessage()
    {
        auto& boxes = AfxTestRecords().messageBoxes;
        return boxes.empty() ? "" : boxes.back().text;
    }
    static std::string Text(UINT id) { return std::string(AfxLoadText(id)); }

    std::string m_company;
};

} // namespace

TEST_F(Protected, GateAsksThePasswordAndComparesItExactly)
{
    StoreProtectedPassword("Soleil");
    BOOL reload = TRUE;
    AfxScriptNextModal(IDD_ENTER_PASSWORD, {}, IDCANCEL);
    EXPECT_FALSE(CheckProtectedAccess(kGateTreeExpand, &reload));
    EXPECT_FALSE(reload);
    EXPECT_EQ(Messages(), 0u);

    AfxScriptNextModal(IDD_ENTER_PASSWORD, {{IDC_PASSWORD_ENTER, "SOLEIL"}}, IDOK);
    EXPECT_FALSE(CheckProtectedAccess(kGateListClick, &reload));
    EXPECT_EQ(LastMessage(), Text(IDS_PASSWORD_REFUSED));

    AfxScriptNextModal(IDD_ENTER_PASSWORD, {{IDC_PASSWORD_ENTER, "Soleil"}}, IDOK);
    EXPECT_TRUE(CheckProtectedAccess(kGateTreeExpand, &reload));
    EXPECT_TRUE(reload);
    // Open for the rest of the run: no second question.
    EXPECT_TRUE(CheckProtectedAccess(kGateTreeExpand, &reload));
    EXPECT_EQ(AfxTestPendingScripts(), "");
    EXPECT_EQ(AfxTestRecords().modals.size(), 3u);
}

TEST_F(Protected, WithoutPasswordTheTwoGatesAnswerNoDifferently)
{
    BOOL reload = FALSE;
    AfxScriptMessageBox(IDNO);
    EXPECT_FALSE(CheckProtectedAccess(kGateTreeExpand, &reload));
    EXPECT_FALSE(reload);
    AfxScriptMessageBox(IDNO);
    EXPECT_TRUE(CheckProtectedAccess(kGateListClick, &reload));
    EXPECT_TRUE(reload);
    EXPECT_EQ(Stored(), "<none>");
}

TEST_F(Protected, DefiningAtTheGateStoresThePasswordAtOnce)
{
    // "Oui", then a mismatch at verification asks the new password again, then a match.
    AfxScriptMessageBox(IDYES);
    AfxScriptModal(IDD_SET_PASSWORD,
                   {{{{IDC_PASSWORD_NEW, "Lune"}}, IDOK},
                    {{{IDC_PASSWORD_VERIFY, "lune"}},
                     IDOK,
                     -1,
                     [](CWnd* pDlg) {
                         EXPECT_EQ(static_cast<CSetPasswordDlg*>(pDlg)->m_nStep, 2);
                         EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(pDlg->m_hWnd, IDC_PASSWORD_NEW)));
                         EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(pDlg->m_hWnd, IDC_PASSWORD_VERIFY)));
                         EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(pDlg->m_hWnd, IDC_PASSWORD_OLD)));
                         char text[32] = "x";
                         ::GetDlgItemTextA(pDlg->m_hWnd, IDC_PASSWORD_NEW, text, sizeof(text));
                         EXPECT_STREQ(text, "");
                     }},
                    {{{IDC_PASSWORD_NEW, "Lune"}}, IDOK},
                    {{{IDC_PASSWORD_VERIFY, "Lune"}}, IDOK}});
    AfxScriptMessageBox(IDOK); // 55077, the mismatch
    AfxScriptMessageBox(IDOK); // 55085, saved
    BOOL reload = FALSE;
    EXPECT_TRUE(CheckProtectedAccess(kGateTreeExpand, &reload));
    EXPECT_TRUE(reload);
    EXPECT_EQ(Stored(), "Lune");
    EXPECT_EQ(std::string(g_ProtectedPics), "Lune");
    EXPECT_EQ(LastMessage(), Text(IDS_PASSWORD_SAVED));
    EXPECT_EQ(AfxTestPendingScripts(), "");
}

TEST_F(Protected, CancellingTheDefinitionStillOpensForTheRun)
{
    AfxScriptMessageBox(IDYES);
    AfxScriptNextModal(IDD_SET_PASSWORD, {}, IDCANCEL);
    BOOL reload = TRUE;
    EXPECT_TRUE(CheckProtectedAccess(kGateTreeExpand, &reload));
    EXPECT_FALSE(reload);
    EXPECT_EQ(LastMessage(), Text(IDS_PASSWORD_NONE));
    EXPECT_EQ(Stored(), "<none>");
}

TEST_F(Protected, FrameCommandChangesThePasswordOnlyWithTheOldOne)
{
    StoreProtectedPassword("Etoile");
    // A wrong old password ends the dialog; the password stays and "none defined" is not claimed.
    AfxScriptNextModal(IDD_SET_PASSWORD, {{IDC_PASSWORD_OLD, "etoile"}}, IDOK);
    ChangeProtectedPassword();
    EXPECT_EQ(Stored(), "Etoile");
    EXPECT_FALSE(g_bProtectedUnlocked);
    EXPECT_EQ(LastMessage(), Text(IDS_PASSWORD_OLD_WRONG));

    AfxScriptModal(IDD_SET_PASSWORD, {{{{IDC_PASSWORD_OLD, "Etoile"}}, IDOK},
                                      {{{IDC_PASSWORD_NEW, "Comete"}}, IDOK},
                                      {{{IDC_PASSWORD_VERIFY, "Comete"}}, IDOK}});
    ChangeProtectedPassword();
    EXPECT_EQ(Stored(), "Comete");
    EXPECT_TRUE(g_bProtectedUnlocked);

    // An empty new password removes it: the next run asks again whether to define one.
    AfxScriptModal(IDD_SET_PASSWORD, {{{{IDC_PASSWORD_OLD, "Comete"}}, IDOK}, {{}, IDOK}, {{}, IDOK}});
    ChangeProtectedPassword();
    EXPECT_EQ(Stored(), "");
    EXPECT_TRUE(g_ProtectedPics.IsEmpty());
    EXPECT_EQ(AfxTestPendingScripts(), "");
}
