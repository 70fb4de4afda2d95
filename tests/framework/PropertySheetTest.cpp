// Property sheets: only pages that were shown exchange their data, the start page is the one shown,
// and a page whose value is refused stays in front with the focus on the field.
#include "tests/framework/WindowTestSupport.h"
#include "tests/support/FocusRecorder.h"

#include "framework/DataExchange.h"
#include "framework/PropertySheet.h"
#include "framework/TestSeams.h"
#include "tests/framework/WindowTestIds.h"

namespace {

class CValuePage : public CPropertyPage {
public:
    CValuePage(UINT nIDTemplate, int nValue) : CPropertyPage(nIDTemplate), m_nValue(nValue) {}
    int m_nValue;
    int m_nInits = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_TEST_PAGE_VALUE, m_nValue);
        DDV_MinMaxInt(pDX, m_nValue, 1, 10);
    }
    BOOL OnInitDialog() override
    {
        m_nInits++;
        return CPropertyPage::OnInitDialog();
    }
};

struct ThreePages {
    CValuePage one{IDD_TEST_PAGE_ONE, 5};
    CValuePage two{IDD_TEST_PAGE_TWO, 6};
    CValuePage three{IDD_TEST_PAGE_THREE, 7};
    CPropertySheet sheet;
    explicit ThreePages(UINT nStartPage) : sheet(IDS_TEST_SHEET, nullptr, nStartPage)
    {
        sheet.AddPage(&one);
        sheet.AddPage(&two);
        sheet.AddPage(&three);
    }
};

AfxModalStep Type(const char* value, int button)
{
    AfxModalStep step;
    step.fields = {{IDC_TEST_PAGE_VALUE, value}};
    step.buttonId = button;
    return step;
}

using PropSheet = WindowTest;

} // namespace

TEST_F(PropSheet, PagesNeverShownKeepTheirValues)
{
    ThreePages pages(1);
    EXPECT_EQ(pages.sheet.GetActiveIndex(), 1);
    AfxScriptModal(IDS_TEST_SHEET, {Type("9", IDOK)});
    EXPECT_EQ(pages.sheet.DoModal(), IDOK);
    EXPECT_EQ(pages.two.m_nValue, 9);
    EXPECT_EQ(pages.two.m_nInits, 1);
    // The other pages were never made: their members are untouched.
    EXPECT_EQ(pages.one.m_nInits, 0);
    EXPECT_EQ(pages.three.m_nInits, 0);
    EXPECT_EQ(pages.one.m_nValue, 5);
    EXPECT_EQ(pages.three.m_nValue, 7);
}

TEST_F(PropSheet, VisitedPagesSaveAndOthersDoNot)
{
    ThreePages pages(1);
    AfxModalStep toFirst;
    toFirst.page = 0;
    toFirst.buttonId = 0;
    AfxScriptModal(IDS_TEST_SHEET, {toFirst, Type("2", IDOK)});
    EXPECT_EQ(pages.sheet.DoModal(), IDOK);
    EXPECT_EQ(pages.one.m_nValue, 2);
    EXPECT_EQ(pages.two.m_nValue, 6);
    EXPECT_EQ(pages.three.m_nInits, 0);
    EXPECT_EQ(pages.three.m_nValue, 7);
}

TEST_F(PropSheet, RefusedValueKeepsThePageInFrontWithTheFocusOnTheField)
{
    ThreePages pages(1);
    int nActiveAfterRefusal = -1;
    bool bFocusOnField = false;
    FocusRecorder focus;
    AfxModalStep bad = Type("99", 0);
    AfxModalStep leave;
    leave.page = 2;
    leave.buttonId = 0;
    leave.check = [&](CWnd* pSheet) {
        nActiveAfterRefusal = static_cast<CPropertySheet*>(pSheet)->GetActiveIndex();
        HWND hFocus = focus.Last();
        bFocusOnField = hFocus != nullptr && ::GetDlgCtrlID(hFocus) == IDC_TEST_PAGE_VALUE
                        && ::GetParent(hFocus) == pages.two.m_hWnd;
    };
    AfxScriptModal(IDS_TEST_SHEET, {bad, leave, Type("4", IDOK)});
    AfxScriptMessageBox(IDOK);
    EXPECT_EQ(pages.sheet.DoModal(), IDOK);
    EXPECT_EQ(nActiveAfterRefusal, 1);
    EXPECT_TRUE(bFocusOnField);
    ASSERT_EQ(AfxTestRecords().messageBoxes.size(), 1u);
    EXPECT_EQ(AfxTestRecords().messageBoxes[0].text, "Entrez un entier compris entre 1 et 10.");
    EXPECT_EQ(pages.two.m_nValue, 4);
    EXPECT_EQ(pages.three.m_nInits, 0);
}

TEST_F(PropSheet, OKWithARefusedValueLeavesTheSheetOpen)
{
    ThreePages pages(0);
    AfxScriptModal(IDS_TEST_SHEET, {Type("0", IDOK), Type("3", IDOK)});
    AfxScriptMessageBox(IDOK);
    EXPECT_EQ(pages.sheet.DoModal(), IDOK);
    EXPECT_EQ(AfxTestRecords().modals.at(0).stepsPlayed, 2);
    EXPECT_EQ(pages.one.m_nValue, 3);
}

TEST_F(PropSheet, CancelKeepsEveryValue)
{
    ThreePages pages(1);
    AfxScriptModal(IDS_TEST_SHEET, {Type("8", IDCANCEL)});
    EXPECT_EQ(pages.sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(pages.two.m_nValue, 6);
    EXPECT_EQ(pages.sheet.m_hWnd, nullptr);
}
