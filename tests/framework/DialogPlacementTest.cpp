// Where dialogs and property sheets open: one whose template and OnInitDialog give no position is
// centred on its owner; a template's own position, DS_CENTER and a dialog that places itself are kept.
#include "tests/framework/WindowTestSupport.h"

#include "framework/Dialog.h"
#include "framework/PropertySheet.h"
#include "framework/TestSeams.h"
#include "tests/framework/WindowTestIds.h"

#include <cstdlib>
#include <vector>

namespace {

// A dialog template with no controls, in the plain or the extended form.
std::vector<WORD> MakeTemplate(bool extended, DWORD style, short x, short y)
{
    std::vector<WORD> t;
    auto dword = [&t](DWORD v) {
        t.push_back(LOWORD(v));
        t.push_back(HIWORD(v));
    };
    if (extended) {
        t.push_back(1);
        t.push_back(0xFFFF);
        dword(0); // help id
        dword(0); // extended style
        dword(style);
    } else {
        dword(style);
        dword(0);
    }
    t.push_back(0); // no controls
    t.push_back(static_cast<WORD>(x));
    t.push_back(static_cast<WORD>(y));
    t.push_back(120); // width
    t.push_back(60);  // height
    t.push_back(0);   // no menu
    t.push_back(0);   // default class
    t.push_back(0);   // no title
    return t;
}

class CPlacedDialog : public CDialog {
public:
    POINT m_ptOwn = {-1, -1}; // where OnInitDialog puts the dialog; (-1, -1) leaves it
protected:
    BOOL OnInitDialog() override
    {
        if (m_ptOwn.x >= 0)
            ::SetWindowPos(m_hWnd, nullptr, m_ptOwn.x, m_ptOwn.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        return CDialog::OnInitDialog();
    }
};

POINT Centre(HWND hWnd)
{
    RECT rc = {};
    ::GetWindowRect(hWnd, &rc);
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

bool CentredOn(HWND hWnd, HWND hOwner)
{
    POINT a = Centre(hWnd), b = Centre(hOwner);
    return std::abs(a.x - b.x) <= 1 && std::abs(a.y - b.y) <= 1;
}

class DialogPlacement : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ASSERT_TRUE(m_owner.CreateTop("DialogPlacement"));
        // Away from the screen's centre, so that centring on the screen is not taken for it.
        ::SetWindowPos(m_owner.m_hWnd, nullptr, 380, 260, 460, 380, SWP_NOZORDER);
    }
    void TearDown() override
    {
        if (::IsWindow(m_owner.m_hWnd))
            m_owner.DestroyWindow();
        WindowTest::TearDown();
    }
    CTestTopWindow m_owner;
};

} // namespace

TEST_F(DialogPlacement, TemplatesWithoutPositionAreCentredOnTheOwnerOthersKeepTheirPlace)
{
    struct Row {
        const char* what;
        bool extended;
        DWORD extraStyle;
        short x, y;
        POINT own;
        bool centred;
    };
    const Row rows[] = {
        {"no position", false, 0, 0, 0, {-1, -1}, true},
        {"no position, extended template", true, 0, 0, 0, {-1, -1}, true},
        {"a position of its own", false, 0, 12, 8, {-1, -1}, false},
        {"a position of its own, extended template", true, 0, 12, 8, {-1, -1}, false},
        {"placed by its OnInitDialog", false, 0, 0, 0, {7, 9}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::vector<WORD> t =
            MakeTemplate(row.extended, WS_POPUP | WS_CAPTION | WS_SYSMENU | row.extraStyle, row.x, row.y);
        CPlacedDialog dlg;
        dlg.m_ptOwn = row.own;
        ASSERT_TRUE(dlg.CreateIndirect(reinterpret_cast<LPCDLGTEMPLATE>(t.data()), &m_owner));
        EXPECT_EQ(CentredOn(dlg.m_hWnd, m_owner.m_hWnd), row.centred);
        if (row.own.x >= 0) {
            RECT rc = {};
            ::GetWindowRect(dlg.m_hWnd, &rc);
            EXPECT_EQ(rc.left, row.own.x);
            EXPECT_EQ(rc.top, row.own.y);
        }
        dlg.DestroyWindow();
    }
}

TEST_F(DialogPlacement, TemplatePositionReading)
{
    struct Row {
        bool extended;
        DWORD style;
        short x, y;
        BOOL placed;
    };
    const Row rows[] = {
        {false, WS_POPUP, 0, 0, FALSE},     {true, WS_POPUP, 0, 0, FALSE},  {false, WS_POPUP, 3, 0, TRUE},
        {true, WS_POPUP, 0, 4, TRUE},       {false, DS_CENTER, 0, 0, TRUE}, {true, DS_CENTER, 0, 0, TRUE},
        {true, DS_CENTERMOUSE, 0, 0, TRUE},
    };
    for (const Row& row : rows) {
        std::vector<WORD> t = MakeTemplate(row.extended, row.style, row.x, row.y);
        EXPECT_EQ(AfxDialogTemplatePlaced(reinterpret_cast<LPCDLGTEMPLATE>(t.data())), row.placed)
            << row.extended << " " << row.style << " " << row.x << "," << row.y;
    }
    EXPECT_FALSE(AfxDialogTemplatePlaced(nullptr));
}

TEST_F(DialogPlacement, ModalDialogAndPropertySheetOpenCentredOnTheirOwner)
{
    POINT owner = Centre(m_owner.m_hWnd);
    POINT dialog = {-1, -1}, sheet = {-1, -1};
    AfxModalStep look;
    look.buttonId = 0; // look only; the unanswered dialog is then cancelled
    look.check = [&](CWnd* pWnd) { dialog = Centre(pWnd->m_hWnd); };
    AfxScriptModal(IDD_TEST_INTEGER, {look});
    CDialog dlg(IDD_TEST_INTEGER, &m_owner);
    dlg.DoModal();
    EXPECT_NEAR(dialog.x, owner.x, 1);
    EXPECT_NEAR(dialog.y, owner.y, 1);

    CPropertyPage page(IDD_TEST_PAGE_ONE);
    CPropertySheet propertySheet(IDS_TEST_SHEET, &m_owner);
    propertySheet.AddPage(&page);
    AfxModalStep lookSheet;
    lookSheet.buttonId = 0;
    lookSheet.check = [&](CWnd* pWnd) { sheet = Centre(pWnd->m_hWnd); };
    AfxScriptModal(IDS_TEST_SHEET, {lookSheet});
    propertySheet.DoModal();
    EXPECT_NEAR(sheet.x, owner.x, 1);
    EXPECT_NEAR(sheet.y, owner.y, 1);
}
