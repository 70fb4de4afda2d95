// Tool bars: loading from raw tool-bar resources (and refusing malformed ones), buttons following the
// frame's update handlers, clicks reaching the frame, placeholders, wrapping into rows and columns,
// and the fly-by prompt in the status bar.
#include "tests/framework/ControlBarsTestIds.h"
#include "tests/framework/ControlBarsTestSupport.h"

#include "framework/FrameworkTexts.h"

#include <vector>

namespace {

using ToolBar = ControlBarTest;

std::vector<BYTE> Words(std::initializer_list<WORD> words)
{
    std::vector<BYTE> bytes;
    for (WORD w : words) {
        bytes.push_back(LOBYTE(w));
        bytes.push_back(HIBYTE(w));
    }
    return bytes;
}

BOOL Read(const std::vector<BYTE>& bytes, CSize* pSize, std::vector<UINT>* pIDs)
{
    return AfxReadToolBarResource(bytes.data(), static_cast<DWORD>(bytes.size()), pSize, pIDs);
}

// Presses and releases the mouse in the middle of a button, as a user's click arrives.
void Click(CToolBar& bar, int nIndex)
{
    CRect rect;
    bar.GetItemRect(nIndex, rect);
    CPoint pt = rect.CenterPoint();
    bar.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    bar.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    PumpPending();
}

// The buttons' extent (a separator ending a row stands past it).
CRect UnionOfItems(const CToolBar& bar)
{
    CRect rectAll(0, 0, 0, 0);
    for (int i = 0; i < bar.GetCount(); i++) {
        if (LOWORD(bar.GetButtonStyle(i)) == TBSTYLE_SEP)
            continue;
        CRect rect;
        bar.GetItemRect(i, rect);
        rectAll |= rect;
    }
    return rectAll;
}

} // namespace

TEST(CToolBarResource, ReadsVersionSizesAndIds)
{
    CSize size;
    std::vector<UINT> ids;
    ASSERT_TRUE(Read(Words({1, 19, 17, 4, 32971, 57601, 0, 33037}), &size, &ids));
    EXPECT_EQ(size, CSize(19, 17));
    EXPECT_EQ(ids, (std::vector<UINT>{32971, 57601, 0, 33037}));
    // Bytes after the last id are not the tool bar's business.
    ASSERT_TRUE(Read(Words({1, 16, 15, 1, 40160, 0xFFFF}), &size, &ids));
    EXPECT_EQ(ids, (std::vector<UINT>{40160}));
    ASSERT_TRUE(Read(Words({1, 16, 15, 0}), &size, &ids));
    EXPECT_TRUE(ids.empty());
}

TEST(CToolBarResource, HostileBytesAreRefused)
{
    CSize size(7, 7);
    std::vector<UINT> ids = {42};
    EXPECT_FALSE(Read({}, &size, &ids));
    EXPECT_FALSE(Read(Words({1, 16, 15}), &size, &ids));                  // header cut short
    EXPECT_FALSE(Read(Words({2, 16, 15, 1, 40160}), &size, &ids));        // unknown version
    EXPECT_FALSE(Read(Words({1, 0, 15, 1, 40160}), &size, &ids));         // no width
    EXPECT_FALSE(Read(Words({1, 16, 0, 1, 40160}), &size, &ids));         // no height
    EXPECT_FALSE(Read(Words({1, 300, 15, 1, 40160}), &size, &ids));       // absurd width
    EXPECT_FALSE(Read(Words({1, 16, 15, 3, 40160, 40161}), &size, &ids)); // count past the end
    EXPECT_FALSE(Read(Words({1, 16, 15, 0xFFFF}), &size, &ids));
    std::vector<BYTE> odd = Words({1, 16, 15, 2, 40160});
    odd.push_back(0x9C); // half an id
    EXPECT_FALSE(Read(odd, &size, &ids));
    EXPECT_FALSE(AfxReadToolBarResource(nullptr, 100, &size, &ids));
    // Nothing was filled in by a refusal.
    EXPECT_EQ(size, CSize(7, 7));
    EXPECT_EQ(ids, std::vector<UINT>{42});
}

TEST_F(ToolBar, LoadsButtonsSizesAndBitmapFromTheRawResource)
{
    CToolBar& bar = m_pFrame->m_wndToolBar;
    ASSERT_EQ(bar.GetCount(), 7);
    const UINT expected[] = {ID_CB_OPEN, ID_CB_SAVE, 0, ID_CB_DISABLED, ID_CB_CHECKED, 0, ID_CB_NOHANDLER};
    int nImage = 0;
    for (int i = 0; i < 7; i++) {
        UINT nID = 0;
        UINT nStyle = 0;
        int iImage = -1;
        bar.GetButtonInfo(i, nID, nStyle, iImage);
        EXPECT_EQ(nID, expected[i]) << i;
        if (expected[i] == 0) {
            EXPECT_EQ(LOWORD(nStyle), TBSTYLE_SEP) << i;
        } else {
            EXPECT_EQ(LOWORD(nStyle), TBSTYLE_BUTTON) << i;
            EXPECT_EQ(iImage, nImage++) << "images are taken in order, separators take none";
        }
    }
    EXPECT_EQ(bar.m_sizeImage, CSize(16, 15));
    EXPECT_GE(bar.m_sizeButton.cx, 23);
    EXPECT_GE(bar.m_sizeButton.cy, 22);
    ASSERT_NE(bar.m_hbmImageWell, nullptr);
    BITMAP bm = {};
    ASSERT_TRUE(::GetObjectA(bar.m_hbmImageWell, sizeof(bm), &bm));
    EXPECT_EQ(bm.bmWidth, 80);
    EXPECT_EQ(bm.bmHeight, 15);
    EXPECT_EQ(bar.CommandToIndex(ID_CB_CHECKED), 4);
    EXPECT_EQ(bar.CommandToIndex(12345), -1);
    EXPECT_EQ(bar.GetItemID(1), static_cast<UINT>(ID_CB_SAVE));
    EXPECT_EQ(bar.GetItemID(99), 0u);
}

TEST_F(ToolBar, MalformedOrMissingResourcesLoadNothing)
{
    CToolBar bar;
    ASSERT_TRUE(bar.Create(m_pFrame, WS_CHILD | CBRS_ALIGN_TOP, 1234));
    EXPECT_FALSE(bar.LoadToolBar(IDR_CB_TOOLBAR_BADVERSION));
    EXPECT_FALSE(bar.LoadToolBar(IDR_CB_TOOLBAR_TRUNCATED));
    EXPECT_EQ(bar.GetCount(), 0);
    EXPECT_FALSE(bar.LoadToolBar(IDR_CB_TOOLBAR_NOBITMAP));
    EXPECT_EQ(bar.m_hbmImageWell, nullptr);
    EXPECT_FALSE(bar.LoadToolBar(9999));
}

TEST_F(ToolBar, UpdateHandlersDisableAndCheckButtons)
{
    CToolBar& bar = m_pFrame->m_wndToolBar;
    Idle();
    EXPECT_TRUE(IsButtonEnabled(bar, ID_CB_OPEN)) << "a command handler enables";
    EXPECT_FALSE(IsButtonEnabled(bar, ID_CB_DISABLED)) << "the update handler disables";
    EXPECT_TRUE(IsButtonEnabled(bar, ID_CB_CHECKED));
    EXPECT_TRUE(IsButtonChecked(bar, ID_CB_CHECKED));
    EXPECT_FALSE(IsButtonEnabled(bar, ID_CB_NOHANDLER)) << "nobody handles it";
    EXPECT_TRUE(bar.GetButtonStyle(3) & TBBS_DISABLED);
    EXPECT_TRUE(bar.GetButtonStyle(4) & TBBS_CHECKED);

    m_pFrame->m_bDisabledEnabled = TRUE;
    Idle();
    EXPECT_TRUE(IsButtonEnabled(bar, ID_CB_DISABLED));
    EXPECT_FALSE(bar.GetButtonStyle(3) & TBBS_DISABLED);
}

TEST_F(ToolBar, ControlsPlacedOnTheBarAreNotGreyedForWantOfAHandler)
{
    // A display button on the bar, as the animation bar's counters are: it has no command.
    CToolBar& bar = m_pFrame->m_wndToolBar;
    bar.SetButtonInfo(5, 1, TBBS_SEPARATOR, 60);
    CRect rect;
    bar.GetItemRect(5, rect);
    HWND hWndDisplay =
        ::CreateWindowExA(0, "BUTTON", "12", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, rect.left, rect.top,
                          rect.Width(), rect.Height(), bar.m_hWnd,
                          reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ID_CB_NOHANDLER)), nullptr, nullptr);
    ASSERT_NE(hWndDisplay, nullptr);
    Idle();
    EXPECT_TRUE(::IsWindowEnabled(hWndDisplay));
    EXPECT_FALSE(IsButtonEnabled(bar, ID_CB_NOHANDLER)) << "the bar's own button of that id is";
    ::DestroyWindow(hWndDisplay);
}

TEST_F(ToolBar, HiddenBarIsNotUpdated)
{
    CToolBar& bar = m_pFrame->m_wndToolBar;
    AfxShowControlBar(m_pFrame, &bar, FALSE, FALSE);
    Idle();
    EXPECT_TRUE(IsButtonEnabled(bar, ID_CB_DISABLED)) << "still as loaded";
    AfxShowControlBar(m_pFrame, &bar, TRUE, FALSE);
    Idle();
    EXPECT_FALSE(IsButtonEnabled(bar, ID_CB_DISABLED));
}

TEST_F(ToolBar, ClickOnAButtonReachesTheFrame)
{
    Idle();
    Click(m_pFrame->m_wndToolBar, 0);
    EXPECT_EQ(m_pFrame->m_nOpen, 1);
    // A disabled button does nothing.
    Click(m_pFrame->m_wndToolBar, 3);
    EXPECT_EQ(m_pFrame->m_nOpen, 1);
}

TEST_F(ToolBar, StyleWordKeepsStateInTheHighWordWithEnabledInverted)
{
    CToolBar& bar = m_pFrame->m_wndToolBar;
    EXPECT_EQ(bar.GetButtonStyle(0), static_cast<UINT>(TBBS_BUTTON)) << "enabled, no other state";
    bar.SetButtonStyle(0, TBBS_CHECKBOX | TBBS_CHECKED);
    EXPECT_TRUE(IsButtonChecked(bar, ID_CB_OPEN));
    EXPECT_TRUE(IsButtonEnabled(bar, ID_CB_OPEN));
    bar.SetButtonStyle(0, TBBS_BUTTON | TBBS_DISABLED);
    EXPECT_FALSE(IsButtonEnabled(bar, ID_CB_OPEN));
    EXPECT_FALSE(IsButtonChecked(bar, ID_CB_OPEN));
    EXPECT_EQ(bar.GetButtonStyle(0), static_cast<UINT>(TBBS_BUTTON | TBBS_DISABLED));
}

TEST_F(ToolBar, SeparatorBecomesAPlaceholderOfItsWidth)
{
    CToolBar& bar = m_pFrame->m_wndToolBar;
    CRect rectBefore;
    bar.GetItemRect(3, rectBefore);
    bar.SetButtonInfo(2, 1, TBBS_SEPARATOR, 210);
    UINT nID = 0;
    UINT nStyle = 0;
    int iImage = 0;
    bar.GetButtonInfo(2, nID, nStyle, iImage);
    EXPECT_EQ(nID, 1u);
    EXPECT_EQ(iImage, 210);
    CRect rect;
    bar.GetItemRect(2, rect);
    EXPECT_EQ(rect.Width(), 210);
    CRect rectAfter;
    bar.GetItemRect(3, rectAfter);
    EXPECT_EQ(rectAfter.left, rect.right) << "the next button follows the placeholder";
    EXPECT_GT(rectAfter.left, rectBefore.left);
    // A click on the placeholder is no button: there the bar can be dragged.
    EXPECT_EQ(bar.OnToolHitTest(rect.CenterPoint(), nullptr), -1);
    EXPECT_EQ(bar.OnToolHitTest(rectAfter.CenterPoint(), nullptr), ID_CB_DISABLED);
}

TEST_F(ToolBar, LaysOutInOneRowOneColumnOrRowsOfAGivenWidth)
{
    CToolBar& bar = m_pFrame->m_wndToolBar;
    CRect rectNC(0, 0, 0, 0);
    bar.CalcInsideRect(rectNC, TRUE);
    int cxButton = bar.m_sizeButton.cx;
    int cyButton = bar.m_sizeButton.cy;

    CSize sizeRow = bar.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK);
    EXPECT_EQ(sizeRow.cx, 5 * cxButton + 2 * 8 - rectNC.Width());
    EXPECT_EQ(sizeRow.cy, cyButton - rectNC.Height());

    CSize sizeStretch = bar.CalcFixedLayout(TRUE, TRUE);
    EXPECT_EQ(sizeStretch.cx, 32767);

    CRect rectNCVert(0, 0, 0, 0);
    bar.CalcInsideRect(rectNCVert, FALSE);
    CSize sizeColumn = bar.CalcDynamicLayout(-1, LM_VERTDOCK);
    EXPECT_EQ(sizeColumn.cx, cxButton - rectNCVert.Width());
    // Five buttons, and a separator's line (two thirds of its width) below each group.
    EXPECT_EQ(sizeColumn.cy, 5 * cyButton + 2 * (8 * 2 / 3) - rectNCVert.Height());

    // Floating, two buttons wide: the committed width is remembered for the next floating layout.
    CSize sizeRows = bar.CalcDynamicLayout(2 * cxButton - rectNC.Width(), LM_HORZ | LM_COMMIT);
    EXPECT_EQ(bar.m_nMRUWidth, 2 * cxButton);
    EXPECT_EQ(sizeRows.cx, 2 * cxButton - rectNC.Width());
    // Rows break at the separators: two buttons, two buttons, one.
    EXPECT_EQ(sizeRows.cy, 3 * cyButton + 2 * (8 * 2 / 3) - rectNC.Height());
    EXPECT_TRUE(bar.GetButtonStyle(2) & TBBS_WRAPPED);
    EXPECT_TRUE(bar.GetButtonStyle(5) & TBBS_WRAPPED);
    EXPECT_FALSE(bar.GetButtonStyle(1) & TBBS_WRAPPED);
    EXPECT_EQ(bar.CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH), sizeRows);
    // The control lays its buttons out as the layout said.
    CRect rectItems = UnionOfItems(bar);
    EXPECT_EQ(rectItems.Width(), sizeRows.cx + rectNC.Width());
    EXPECT_EQ(rectItems.Height(), sizeRows.cy + rectNC.Height());

    // Asked for a height, it finds the narrowest rows that fit.
    CSize sizeForHeight = bar.CalcDynamicLayout(sizeRow.cy, LM_HORZ | LM_LENGTHY);
    EXPECT_EQ(sizeForHeight, sizeRow);
}

TEST_F(ToolBar, QueriesLeaveTheShownLayoutAlone)
{
    CToolBar& bar = m_pFrame->m_wndToolBar;
    m_pFrame->RecalcLayout();
    CRect rectBefore = UnionOfItems(bar);
    bar.CalcDynamicLayout(-1, LM_VERTDOCK); // a drag asks what the bar would look like on the left
    EXPECT_EQ(UnionOfItems(bar), rectBefore);
}

TEST_F(ToolBar, FlyByShowsThePromptAndGoesBackToIdle)
{
    CToolBar& bar = m_pFrame->m_wndToolBar;
    CStatusBar& status = m_pFrame->m_wndStatusBar;
    CRect rect;
    bar.GetItemRect(0, rect);
    bar.PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(rect.CenterPoint().x, rect.CenterPoint().y));
    PumpPending();
    EXPECT_STREQ(status.GetPaneText(0), "Ouvre une image existante");
    bar.GetItemRect(2, rect); // a separator
    bar.PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(rect.CenterPoint().x, rect.CenterPoint().y));
    PumpPending();
    EXPECT_STREQ(status.GetPaneText(0), AfxFrameworkText(AFX_IDS_IDLEMESSAGE));

    // The mouse leaves the bar without crossing it again: the prompt goes back all the same.
    bar.GetItemRect(1, rect);
    bar.PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(rect.CenterPoint().x, rect.CenterPoint().y));
    PumpPending();
    EXPECT_STREQ(status.GetPaneText(0), "Enregistre l'image");
    CRect rectBar;
    bar.GetWindowRect(rectBar);
    CPoint ptCursor;
    ::GetCursorPos(&ptCursor);
    if (rectBar.PtInRect(ptCursor))
        ::SetCursorPos(rectBar.right + 50, rectBar.bottom + 50);
    for (DWORD dwStart = ::GetTickCount(); ::GetTickCount() - dwStart < 3000;) {
        PumpPending();
        if (CString(status.GetPaneText(0)) == AfxFrameworkText(AFX_IDS_IDLEMESSAGE))
            break;
        ::Sleep(20);
    }
    EXPECT_STREQ(status.GetPaneText(0), AfxFrameworkText(AFX_IDS_IDLEMESSAGE));

    // Without CBRS_FLYBY nothing is shown.
    bar.SetBarStyle(bar.GetBarStyle() & ~CBRS_FLYBY);
    bar.GetItemRect(1, rect);
    bar.PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(rect.CenterPoint().x, rect.CenterPoint().y));
    PumpPending();
    EXPECT_STREQ(status.GetPaneText(0), AfxFrameworkText(AFX_IDS_IDLEMESSAGE));
}

TEST_F(ToolBar, EveryButtonHasATip)
{
    CToolBar& bar = m_pFrame->m_wndToolBar;
    HWND hWndTip = reinterpret_cast<HWND>(bar.SendMessage(TB_GETTOOLTIPS));
    ASSERT_NE(hWndTip, nullptr);
    EXPECT_GE(::SendMessageA(hWndTip, TTM_GETTOOLCOUNT, 0, 0), 5);
}
