// Dialogs: data exchange and validation with the French messages (the field keeps the focus and the
// dialog stays open), the framework's modal loop with its owner disabled and pre-translation running,
// and the scripted answers of the test seams.
#include "tests/framework/WindowTestSupport.h"
#include "tests/support/FocusRecorder.h"

#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "framework/TestSeams.h"
#include "framework/WinThread.h"
#include "tests/framework/WindowTestIds.h"

#include <string>

namespace {

class CIntDialog : public CDialog {
public:
    explicit CIntDialog(CWnd* pParent = nullptr) : CDialog(IDD_TEST_INTEGER, pParent) {}
    int m_nValue = 250;
    CString m_strShownAtInit;
    BOOL m_bOwnerEnabledAtInit = TRUE;
    bool m_bPostKeyAndOK = false;
    int m_nEndAtInit = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_TEST_VALUE, m_nValue);
        DDV_MinMaxInt(pDX, m_nValue, 1, 500);
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        GetDlgItemText(IDC_TEST_VALUE, m_strShownAtInit);
        HWND hOwner = ::GetWindow(m_hWnd, GW_OWNER);
        m_bOwnerEnabledAtInit = hOwner != nullptr && ::IsWindowEnabled(hOwner);
        if (m_bPostKeyAndOK) {
            ::PostMessageA(::GetDlgItem(m_hWnd, IDC_TEST_VALUE), WM_KEYDOWN, VK_F2, 0x003C0001);
            PostMessage(WM_COMMAND, IDOK);
        }
        if (m_nEndAtInit != 0)
            EndDialog(m_nEndAtInit);
        return TRUE;
    }
};

class CFieldsDialog : public CDialog {
public:
    CFieldsDialog() : CDialog(IDD_TEST_FIELDS) {}
    CString m_strName = "abc";
    int m_nCheck = 0;
    int m_nRadio = 1;
    UINT m_nLimitAtInit = 0;
    int m_nCheckedAtInit = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_TEST_NAME, m_strName);
        DDV_MaxChars(pDX, m_strName, 5);
        DDX_Check(pDX, IDC_TEST_CHECK, m_nCheck);
        DDX_Radio(pDX, IDC_TEST_RADIO1, m_nRadio);
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        m_nLimitAtInit = static_cast<UINT>(SendDlgItemMessage(IDC_TEST_NAME, EM_GETLIMITTEXT));
        m_nCheckedAtInit = GetCheckedRadioButton(IDC_TEST_RADIO1, IDC_TEST_RADIO3);
        return TRUE;
    }
};

const char kRangeMessage[] = "Entrez un entier compris entre 1 et 500.";

AfxModalStep Step(const char* value, int button = IDOK)
{
    AfxModalStep step;
    step.fields = {{IDC_TEST_VALUE, value}};
    step.buttonId = button;
    return step;
}

using Dialog = WindowTest;

} // namespace

TEST_F(Dialog, IntegerFieldRefusesZeroAnd501WithTheFrenchMessageThenAcceptsOne)
{
    CIntDialog dlg;
    HWND hFocusAfterRefusal = nullptr;
    DWORD dwSelAfterRefusal = 0;
    HWND hField = nullptr;
    FocusRecorder focus;
    AfxModalStep first = Step("0");
    first.check = [&](CWnd* pDlg) {
        hField = ::GetDlgItem(pDlg->m_hWnd, IDC_TEST_VALUE);
        hFocusAfterRefusal = focus.Last();
        dwSelAfterRefusal = static_cast<DWORD>(::SendMessageA(hField, EM_GETSEL, 0, 0));
    };
    AfxScriptModal(IDD_TEST_INTEGER, {first, Step("501"), Step("1")});
    AfxScriptMessageBox(IDOK);
    AfxScriptMessageBox(IDOK);

    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_nValue, 1);
    const AfxTestLog& log = AfxTestRecords();
    ASSERT_EQ(log.messageBoxes.size(), 2u);
    EXPECT_EQ(log.messageBoxes[0].text, kRangeMessage);
    EXPECT_EQ(log.messageBoxes[1].text, kRangeMessage);
    ASSERT_EQ(log.modals.size(), 1u);
    EXPECT_EQ(log.modals[0].stepsPlayed, 3); // the dialog stayed open after each refusal
    EXPECT_EQ(log.modals[0].result, IDOK);
    // After a refusal the field has the focus and all its text is selected.
    EXPECT_EQ(hFocusAfterRefusal, hField);
    EXPECT_EQ(LOWORD(dwSelAfterRefusal), 0);
    EXPECT_EQ(HIWORD(dwSelAfterRefusal), 1); // all of "0"
}

TEST_F(Dialog, IntegerFieldAcceptsTheUpperBound)
{
    CIntDialog dlg;
    AfxScriptNextModal(IDD_TEST_INTEGER, {{IDC_TEST_VALUE, "500"}}, IDOK);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_nValue, 500);
    EXPECT_TRUE(AfxTestRecords().messageBoxes.empty());
}

TEST_F(Dialog, IntegerFieldAcceptsTheLowerBoundWithBlanksAround)
{
    CIntDialog dlg;
    AfxScriptNextModal(IDD_TEST_INTEGER, {{IDC_TEST_VALUE, " 1 "}}, IDOK);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_nValue, 1);
}

TEST_F(Dialog, TextThatIsNoIntegerIsRefusedAndCancelKeepsTheMember)
{
    CIntDialog dlg;
    AfxScriptModal(IDD_TEST_INTEGER, {Step("12a"), Step("", IDCANCEL)});
    AfxScriptMessageBox(IDOK);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_nValue, 250);
    ASSERT_EQ(AfxTestRecords().messageBoxes.size(), 1u);
    EXPECT_EQ(AfxTestRecords().messageBoxes[0].text, "Entrez un entier.");
}

TEST_F(Dialog, HugeNumberIsRefusedNotWrapped)
{
    CIntDialog dlg;
    AfxScriptModal(IDD_TEST_INTEGER, {Step("4294967297"), Step("", IDCANCEL)});
    AfxScriptMessageBox(IDOK);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_EQ(AfxTestRecords().messageBoxes.size(), 1u);
    EXPECT_EQ(AfxTestRecords().messageBoxes[0].text, "Entrez un entier.");
}

TEST_F(Dialog, MemberIsShownInTheFieldWhenTheDialogOpens)
{
    CIntDialog dlg;
    dlg.m_nValue = 321;
    AfxScriptNextModal(IDD_TEST_INTEGER, {}, IDCANCEL);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_STREQ(dlg.m_strShownAtInit, "321");
    EXPECT_EQ(dlg.m_nValue, 321);
}

TEST_F(Dialog, TextCheckAndRadioFieldsExchangeBothWays)
{
    CFieldsDialog dlg;
    AfxModalStep tooLong;
    tooLong.fields = {{IDC_TEST_NAME, "abcdef"}};
    AfxModalStep good;
    good.fields = {{IDC_TEST_NAME, "Zo\xE9"}, {IDC_TEST_CHECK, "1"}, {IDC_TEST_RADIO3, "1"}};
    AfxScriptModal(IDD_TEST_FIELDS, {tooLong, good});
    AfxScriptMessageBox(IDOK);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_nLimitAtInit, 5u);                // the field refuses more typing
    EXPECT_EQ(dlg.m_nCheckedAtInit, IDC_TEST_RADIO2); // m_nRadio 1: the second button
    ASSERT_EQ(AfxTestRecords().messageBoxes.size(), 1u);
    EXPECT_EQ(AfxTestRecords().messageBoxes[0].text, "Entrez au plus 5 caract\xE8res.");
    EXPECT_STREQ(dlg.m_strName, "Zo\xE9");
    EXPECT_EQ(dlg.m_nCheck, 1);
    EXPECT_EQ(dlg.m_nRadio, 2);
}

TEST_F(Dialog, NoRadioCheckedGivesMinusOne)
{
    CFieldsDialog dlg;
    dlg.m_nRadio = -1;
    AfxScriptNextModal(IDD_TEST_FIELDS, {}, IDOK);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_nCheckedAtInit, 0);
    EXPECT_EQ(dlg.m_nRadio, -1);
}

TEST_F(Dialog, RealModalLoopDisablesOwnerAndRunsPreTranslation)
{
    AfxTestReset(); // no script: the real loop runs
    CTestTopWindow owner;
    ASSERT_TRUE(owner.CreateTop("propri\xE9taire"));
    CIntDialog dlg(&owner);
    dlg.m_bPostKeyAndOK = true;
    TestApp().m_nWatchedMessage = WM_KEYDOWN;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_FALSE(dlg.m_bOwnerEnabledAtInit);
    EXPECT_TRUE(owner.IsWindowEnabled());
    EXPECT_GE(TestApp().m_nWatchedSeen, 1); // the application saw the key inside the dialog's loop
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    owner.DestroyWindow();
}

TEST_F(Dialog, EndDialogDuringInitEndsWithoutALoop)
{
    CIntDialog dlg;
    dlg.m_nEndAtInit = 1234;
    EXPECT_EQ(dlg.DoModal(), 1234);
    EXPECT_TRUE(AfxTestRecords().modals.empty());
}

TEST_F(Dialog, UnscriptedDialogIsCancelledAndReported)
{
    CIntDialog dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_EQ(AfxTestRecords().unexpected.size(), 1u);
    EXPECT_NE(AfxTestRecords().unexpected[0].find("100"), std::string::npos);
    AfxTestRecords().unexpected.clear();
}

TEST_F(Dialog, ModelessDialogWithoutParentStandsAlone)
{
    CIntDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_INTEGER));
    EXPECT_EQ(CWnd::FromHandlePermanent(dlg.m_hWnd), &dlg);
    EXPECT_EQ(::GetWindow(dlg.m_hWnd, GW_OWNER), nullptr);
    EXPECT_STREQ(dlg.m_strShownAtInit, "250");
    EXPECT_TRUE(dlg.DestroyWindow());
}

TEST_F(Dialog, SameObjectRunsAgainAfterItEnded)
{
    CIntDialog dlg;
    AfxScriptNextModal(IDD_TEST_INTEGER, {{IDC_TEST_VALUE, "7"}}, IDOK);
    AfxScriptNextModal(IDD_TEST_INTEGER, {{IDC_TEST_VALUE, "8"}}, IDCANCEL);
    AfxScriptNextModal(IDD_TEST_INTEGER, {{IDC_TEST_VALUE, "9"}}, IDOK);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_STREQ(dlg.m_strShownAtInit, "7");
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_nValue, 9);
}
