// Status bars: indicator panes with their French texts and widths, the message pane following the
// frame's prompts, pane widths and the stretchy pane, owner-drawn panes drawn through the object,
// panes enabled by update handlers and key indicators following their keys.
#include "tests/framework/ControlBarsTestIds.h"
#include "tests/framework/ControlBarsTestSupport.h"

#include "framework/Dc.h"
#include "framework/FrameworkTexts.h"
#include "framework/Gdi.h"

#include <string>
#include <vector>

namespace {

using StatusBar = ControlBarTest;

// What the control itself shows in a pane.
std::string ShownText(const CStatusBar& bar, int nIndex)
{
    char text[256] = "";
    LRESULT lResult = bar.SendMessage(SB_GETTEXTLENGTHA, static_cast<WPARAM>(nIndex));
    if (HIWORD(lResult) & SBT_OWNERDRAW)
        return "<owner-drawn>";
    bar.SendMessage(SB_GETTEXTA, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(text));
    return text;
}

int TextWidth(CWnd& wnd, LPCSTR lpszText)
{
    CClientDC dc(&wnd);
    HGDIOBJ hOld = dc.SelectObject(reinterpret_cast<HGDIOBJ>(wnd.SendMessage(WM_GETFONT)));
    int cx = dc.GetTextExtent(lpszText, lstrlenA(lpszText)).cx;
    dc.SelectObject(hOld);
    return cx;
}

// A status bar whose owner-drawn panes are filled red, remembering what it was asked to draw.
class CRedStatusBar : public CStatusBar {
public:
    struct Drawn {
        UINT nPane;
        std::string text;
        CRect rect;
    };
    std::vector<Drawn> m_drawn;

    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override
    {
        const char* pszText = reinterpret_cast<const char*>(lpDIS->itemData);
        m_drawn.push_back({lpDIS->itemID, pszText != nullptr ? pszText : "", CRect(lpDIS->rcItem)});
        CDC* pDC = CDC::FromHandle(lpDIS->hDC);
        pDC->FillSolidRect(&lpDIS->rcItem, RGB(255, 0, 0));
    }
};

void SetToggle(int nKey, BOOL bOn)
{
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[nKey] = static_cast<BYTE>(bOn ? (keys[nKey] | 1) : (keys[nKey] & ~1));
    ::SetKeyboardState(keys);
}

} // namespace

TEST_F(StatusBar, IndicatorsTakeTheirFrenchTextsAndWidths)
{
    CStatusBar& bar = m_pFrame->m_wndStatusBar;
    ASSERT_EQ(bar.GetCount(), 3);
    EXPECT_EQ(bar.GetItemID(0), 0u);
    EXPECT_STREQ(bar.GetPaneText(1), "MAJ");
    EXPECT_STREQ(bar.GetPaneText(2), "NUM");
    EXPECT_EQ(bar.CommandToIndex(ID_INDICATOR_NUM), 2);
    EXPECT_EQ(bar.CommandToIndex(ID_CB_INFO), -1);
    UINT nID = 0;
    UINT nStyle = 0;
    int cxWidth = 0;
    bar.GetPaneInfo(1, nID, nStyle, cxWidth);
    EXPECT_EQ(nID, static_cast<UINT>(ID_INDICATOR_CAPS));
    EXPECT_EQ(cxWidth, TextWidth(bar, "MAJ"));
}

TEST_F(StatusBar, MessagePaneStartsIdleAndShowsTheFramesPrompts)
{
    CStatusBar& bar = m_pFrame->m_wndStatusBar;
    EXPECT_STREQ(bar.GetPaneText(0), "Pr\xEAt");
    m_pFrame->SetMessageText("Lecture de l'image");
    EXPECT_STREQ(bar.GetPaneText(0), "Lecture de l'image");
    EXPECT_EQ(ShownText(bar, 0), "Lecture de l'image");
    CString strWindow;
    bar.GetWindowText(strWindow);
    EXPECT_STREQ(strWindow, "Lecture de l'image");
    m_pFrame->SetMessageText(ID_CB_OPEN);
    EXPECT_STREQ(bar.GetPaneText(0), "Ouvre une image existante");
    m_pFrame->SetMessageText(static_cast<UINT>(AFX_IDS_IDLEMESSAGE));
    EXPECT_STREQ(bar.GetPaneText(0), "Pr\xEAt");

    // A new set of panes keeps the message.
    m_pFrame->SetMessageText("Patientez ...");
    const UINT panes[] = {ID_SEPARATOR, ID_INDICATOR_NUM, ID_INDICATOR_NUM, ID_INDICATOR_CAPS};
    ASSERT_TRUE(bar.SetIndicators(panes, 4));
    EXPECT_STREQ(bar.GetPaneText(0), "Patientez ...");
    EXPECT_EQ(bar.GetCount(), 4);
}

TEST_F(StatusBar, FixedPanesKeepTheirWidthAndTheFirstStretches)
{
    CStatusBar& bar = m_pFrame->m_wndStatusBar;
    bar.SetPaneInfo(1, ID_CB_INFO, SBPS_NORMAL, 123);
    CRect rect1;
    bar.GetItemRect(1, rect1);
    CRect rect2;
    bar.GetItemRect(2, rect2);
    EXPECT_EQ(rect1.Width(), 123 + 8) << "the text width plus the pane's edges and margins";
    EXPECT_EQ(rect2.Width(), TextWidth(bar, "NUM") + 8);
    CRect rect0;
    bar.GetItemRect(0, rect0);
    CRect rectClient;
    bar.GetClientRect(rectClient);
    EXPECT_GT(rect0.Width(), rectClient.Width() / 2) << "the message pane takes what is left";

    // Wider frame, wider message pane; the others stay.
    m_pFrame->SetWindowPos(nullptr, 0, 0, 900, 400, SWP_NOMOVE | SWP_NOZORDER);
    CRect rect0Wide;
    bar.GetItemRect(0, rect0Wide);
    bar.GetItemRect(1, rect1);
    EXPECT_EQ(rect0Wide.Width(), rect0.Width() + 300);
    EXPECT_EQ(rect1.Width(), 131);

    // A pane marked stretchy takes the room instead.
    bar.SetPaneStyle(1, SBPS_STRETCH);
    bar.GetItemRect(1, rect1);
    EXPECT_GT(rect1.Width(), 300);
    bar.GetItemRect(0, rect0);
    EXPECT_LT(rect0.Width(), 20);
}

TEST_F(StatusBar, PaneGivenAnotherIdStartsEmpty)
{
    CStatusBar& bar = m_pFrame->m_wndStatusBar;
    bar.SetPaneInfo(2, ID_CB_INFO, SBPS_NORMAL, 50);
    EXPECT_STREQ(bar.GetPaneText(2), "");
    EXPECT_EQ(ShownText(bar, 2), "");
    bar.SetPaneText(2, "640x480");
    bar.SetPaneInfo(2, ID_CB_INFO, SBPS_NORMAL, 60); // the same id keeps its text
    EXPECT_STREQ(bar.GetPaneText(2), "640x480");
}

TEST_F(StatusBar, OwnerDrawnPaneIsDrawnThroughItsObject)
{
    CRedStatusBar bar;
    ASSERT_TRUE(bar.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_BOTTOM, 1235));
    const UINT panes[] = {ID_SEPARATOR, ID_CB_INFO};
    ASSERT_TRUE(bar.SetIndicators(panes, 2));
    bar.SetPaneInfo(1, ID_CB_INFO, SBPS_NORMAL | SBPS_OWNERDRAW, 60);
    bar.SetPaneText(1, "@3|abc");
    m_pFrame->RecalcLayout();
    bar.RedrawWindow();
    EXPECT_EQ(ShownText(bar, 1), "<owner-drawn>");
    ASSERT_FALSE(bar.m_drawn.empty());
    EXPECT_EQ(bar.m_drawn.back().nPane, 1u);
    EXPECT_EQ(bar.m_drawn.back().text, "@3|abc");
    CRect rect;
    bar.GetItemRect(1, rect);
    CClientDC dc(&bar);
    EXPECT_EQ(dc.GetPixel(rect.CenterPoint()), RGB(255, 0, 0));
    // The plain pane is the control's own.
    for (const auto& drawn : bar.m_drawn)
        EXPECT_EQ(drawn.nPane, 1u);
}

TEST_F(StatusBar, DisabledPaneShowsNothingButKeepsItsText)
{
    CStatusBar& bar = m_pFrame->m_wndStatusBar;
    bar.SetPaneInfo(1, ID_CB_INFO, SBPS_NORMAL, 100);
    bar.SetPaneText(1, "24 bits");
    m_pFrame->m_bInfoEnabled = FALSE;
    Idle();
    EXPECT_TRUE(bar.GetPaneStyle(1) & SBPS_DISABLED);
    EXPECT_EQ(ShownText(bar, 1), "");
    EXPECT_STREQ(bar.GetPaneText(1), "24 bits");
    m_pFrame->m_bInfoEnabled = TRUE;
    Idle();
    EXPECT_FALSE(bar.GetPaneStyle(1) & SBPS_DISABLED);
    EXPECT_EQ(ShownText(bar, 1), "24 bits");
}

TEST_F(StatusBar, KeyIndicatorsFollowTheirKeysWithoutAHandler)
{
    CStatusBar& bar = m_pFrame->m_wndStatusBar;
    SetToggle(VK_CAPITAL, TRUE);
    SetToggle(VK_NUMLOCK, FALSE);
    Idle();
    EXPECT_EQ(ShownText(bar, 1), "MAJ");
    EXPECT_EQ(ShownText(bar, 2), "");
    SetToggle(VK_CAPITAL, FALSE);
    SetToggle(VK_NUMLOCK, TRUE);
    Idle();
    EXPECT_EQ(ShownText(bar, 1), "");
    EXPECT_EQ(ShownText(bar, 2), "NUM");
    SetToggle(VK_NUMLOCK, FALSE);
}

TEST_F(StatusBar, HeightFollowsTheFont)
{
    CStatusBar& bar = m_pFrame->m_wndStatusBar;
    CSize sizeSmall = bar.CalcFixedLayout(TRUE, TRUE);
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(200, "Arial"));
    bar.SetFont(&font);
    CSize sizeLarge = bar.CalcFixedLayout(TRUE, TRUE);
    EXPECT_GT(sizeLarge.cy, sizeSmall.cy + 10);
    Idle(); // the frame lays out again
    CRect rectBar = RectIn(bar, m_pFrame->m_hWnd);
    EXPECT_EQ(rectBar.Height(), sizeLarge.cy);
    CRect rectClient;
    m_pFrame->GetClientRect(rectClient);
    EXPECT_EQ(rectBar.bottom, rectClient.bottom);
    bar.SetFont(nullptr, FALSE);
}
