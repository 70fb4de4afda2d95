// The progress gauge in the first status pane: its cell arithmetic, its drawing, the pane text it
// replaces and puts back, and the readers driving it through the picture code's progress reports.
#include "tests/app/AppFixture.h"

#include "core/Progress.h"
#include "framework/Dc.h"
#include "framework/FrameworkTexts.h"
#include "framework/Gdi.h"
#include "resources/resource.h"
#include "tests/support/PaintedPixels.h"

#include <string>
#include <vector>

namespace {

// Forwards to the main frame and notes what it saw.
class SpySink : public IProgressSink {
public:
    void BeginProgress(LPCSTR text) override
    {
        begins++;
        g_pMainFrame->BeginProgress(text);
    }
    void SetProgress(DWORD done, DWORD total) override
    {
        sets++;
        g_pMainFrame->SetProgress(done, total);
    }
    void EndProgress() override
    {
        ends++;
        g_pMainFrame->EndProgress();
    }
    int begins = 0;
    int sets = 0;
    int ends = 0;
};

// The colour of one pixel of a bitmap.
COLORREF PixelOf(CBitmap& bitmap, int x, int y)
{
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap* pOld = dc.SelectObject(&bitmap);
    COLORREF color = ::GetPixel(dc.m_hDC, x, y);
    dc.SelectObject(pOld);
    return color;
}

} // namespace

TEST(GaugeArithmetic, CellsFollowThePaneWidth)
{
    EXPECT_EQ(GaugeCellCount(530, TRUE), 100);
    EXPECT_EQ(GaugeCellCount(600, TRUE), 100);
    EXPECT_EQ(GaugeCellCount(330, TRUE), 50);
    EXPECT_EQ(GaugeCellCount(129, TRUE), 0);
    EXPECT_EQ(GaugeCellCount(-40, TRUE), 0);
    EXPECT_EQ(GaugeCellCount(130, FALSE), 25);
}

TEST(GaugeArithmetic, DoneOutOfTotalGivesCellsAndPercent)
{
    int cells = 0;
    int percent = 0;
    GaugeStep(50, 200, 100, &cells, &percent);
    EXPECT_EQ(cells, 25);
    EXPECT_EQ(percent, 25);
    GaugeStep(1, 3, 40, &cells, &percent);
    EXPECT_EQ(cells, 13);
    EXPECT_EQ(percent, 33);
    // Large counts do not overflow; more done than total stops at the end.
    GaugeStep(4000000000u, 4000000000u, 100, &cells, &percent);
    EXPECT_EQ(cells, 100);
    EXPECT_EQ(percent, 100);
    GaugeStep(300, 200, 100, &cells, &percent);
    EXPECT_EQ(cells, 100);
    EXPECT_EQ(percent, 100);
}

TEST_F(AppTest, GaugeCellsAreDrawnFromTheGaugeBitmap)
{
    ASSERT_TRUE(Start());
    CBitmap gauge;
    ASSERT_TRUE(gauge.LoadBitmap(MAKEINTRESOURCEA(IDB_GAUGE)));
    COLORREF filled = PixelOf(gauge, 2, 7);
    COLORREF empty = PixelOf(gauge, 6, 7);
    ASSERT_NE(filled, empty);

    CClientDC screen(nullptr);
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(&screen));
    CBitmap target;
    ASSERT_TRUE(target.CreateCompatibleBitmap(&screen, 600, 20));
    CBitmap* pOld = dc.SelectObject(&target);
    CRect pane(0, 0, 530, 18);
    dc.FillSolidRect(&pane, RGB(1, 2, 3));

    // The first drawing: every cell, the first quarter filled.
    DrawGaugeCells(&dc, &gauge, pane, TRUE, 100, 25, -1, 25);
    auto cellPixel = [&](int i) { return ::GetPixel(dc.m_hDC, 90 + 5 + 4 * i + 1, 1 + 7); };
    EXPECT_EQ(cellPixel(0), filled);
    EXPECT_EQ(cellPixel(24), filled);
    EXPECT_EQ(cellPixel(25), empty);
    EXPECT_EQ(cellPixel(99), empty);
    EXPECT_NE(::GetPixel(dc.m_hDC, 90 + 5 + 4 * 100 + 20, 8), RGB(1, 2, 3))
        << "the percentage follows the cells";

    // Going back: only the cells between the positions change, and they become empty.
    DrawGaugeCells(&dc, &gauge, pane, TRUE, 100, 10, 25, 10);
    EXPECT_EQ(cellPixel(9), filled);
    EXPECT_EQ(cellPixel(10), empty);
    EXPECT_EQ(cellPixel(24), empty);

    // A pane too narrow for cells still gets its edges and the percentage.
    dc.FillSolidRect(&pane, RGB(1, 2, 3));
    DrawGaugeCells(&dc, &gauge, CRect(0, 0, 100, 18), TRUE, 0, 0, -1, 0);
    EXPECT_NE(::GetPixel(dc.m_hDC, 90 + 4, 8), RGB(1, 2, 3));
    dc.SelectObject(pOld);
}

TEST_F(AppTest, GaugeShowsItsTextAndPutsThePaneBack)
{
    ASSERT_TRUE(Start());
    CStatusBarEx* pBar = m_pFrame->GetStatusBar();
    pBar->SetPaneText(0, "avant");

    m_pFrame->BeginProgress("");
    EXPECT_TRUE(m_pFrame->IsGaugeActive());
    EXPECT_STREQ(pBar->GetPaneText(0), AfxLoadText(IDS_PLEASE_WAIT));
    EXPECT_STREQ(g_strGaugeSavedText, "avant");
    CRect pane;
    pBar->GetItemRect(0, &pane);
    EXPECT_EQ(g_nGaugeCells, GaugeCellCount(pane.Width(), TRUE));

    m_pFrame->SetProgress(50, 200);
    EXPECT_EQ(m_pFrame->GetGaugePos(), g_nGaugeCells / 4);
    EXPECT_EQ(g_nGaugePercent, 25);
    m_pFrame->SetProgress(7, 0); // a zero total changes nothing
    EXPECT_EQ(g_nGaugePercent, 25);

    // A begin inside a running gauge keeps the text saved by the first.
    m_pFrame->BeginProgress("Lecture");
    EXPECT_STREQ(pBar->GetPaneText(0), "Lecture");
    m_pFrame->EndProgress();
    EXPECT_FALSE(m_pFrame->IsGaugeActive());
    EXPECT_STREQ(pBar->GetPaneText(0), "avant");
    EXPECT_TRUE(g_strGaugeText.IsEmpty());
}

// A pane widens to its text, up to half the bar, past which the text ends in "..."; the gauge's
// cells start after its text.
TEST_F(AppTest, PaneTextsFitAndTheGaugeKeepsClearOfItsText)
{
    ASSERT_TRUE(Start());
    m_pFrame->SetStatusMode(kStatusExplorer);
    CStatusBarEx* pBar = m_pFrame->GetStatusBar();
    CClientDC dc(pBar);
    ::SelectObject(dc.m_hDC, reinterpret_cast<HGDIOBJ>(pBar->SendMessage(WM_GETFONT)));
    auto width = [&](LPCSTR text) {
        SIZE extent = {0, 0};
        ::GetTextExtentPoint32A(dc.m_hDC, text, lstrlenA(text), &extent);
        return extent.cx;
    };
    CRect bar, pane;
    pBar->GetClientRect(&bar);
    for (const std::string& text :
         {std::string("S\xE9lection: 100 Images (163,23 Mo)"), std::string(400, 'W')}) {
        m_pFrame->SetStatusPaneText(2, text.c_str());
        CString shown = pBar->GetPaneText(2);
        pBar->GetItemRect(2, &pane);
        EXPECT_GE(pane.Width(), width(shown));
        EXPECT_LE(pane.Width(), bar.Width() / 2 + 16);
        EXPECT_EQ(shown.Right(3) == "...", text.size() > 100) << shown;
    }
    m_pFrame->BeginProgress("Transfert en cours...");
    EXPECT_GE(g_nGaugeTextWidth, width("Transfert en cours...") + 4);
    m_pFrame->EndProgress();
}

TEST_F(AppTest, ReadingAPictureDrivesTheGaugeAndRestoresThePane)
{
    ASSERT_TRUE(Start());
    CStatusBarEx* pBar = m_pFrame->GetStatusBar();
    CString strBefore = pBar->GetPaneText(0);
    SpySink spy;
    SetProgressSink(&spy);
    ASSERT_TRUE(g_bReportProgress);
    std::string path = WriteBmp("large.bmp", 600, 400);
    ASSERT_NE(m_pApp->OpenDocumentFile(path.c_str()), nullptr);
    SetProgressSink(m_pFrame);
    EXPECT_GE(spy.begins, 1);
    EXPECT_GE(spy.sets, 1);
    EXPECT_EQ(spy.ends, spy.begins);
    EXPECT_FALSE(m_pFrame->IsGaugeActive());
    EXPECT_STREQ(pBar->GetPaneText(0), strBefore);
}

TEST_F(AppTest, WithTheProgressSwitchOffNothingReachesTheGauge)
{
    ASSERT_TRUE(Start());
    SpySink spy;
    SetProgressSink(&spy);
    g_bReportProgress = FALSE;
    m_pApp->OpenDocumentFile(WriteBmp("quiet.bmp", 300, 300).c_str());
    g_bReportProgress = TRUE;
    SetProgressSink(m_pFrame);
    EXPECT_EQ(spy.begins, 0);
    EXPECT_EQ(spy.sets, 0);
}

TEST(PaneIconText, AtSignDigitAndSeparatorPrecedeTheText)
{
    int icon = -1;
    CString text;
    EXPECT_TRUE(ParsePaneIconText("@3|abc", &icon, &text));
    EXPECT_EQ(icon, 3);
    EXPECT_STREQ(text, "abc");
    EXPECT_FALSE(ParsePaneIconText("plain", &icon, &text));
    EXPECT_STREQ(text, "plain");
    // An "@" without its digit and separator is shown as it stands.
    EXPECT_FALSE(ParsePaneIconText("@x", &icon, &text));
    EXPECT_STREQ(text, "@x");
    EXPECT_TRUE(ParsePaneIconText("@5", &icon, &text)); // the icon alone
    EXPECT_EQ(icon, 5);
    EXPECT_STREQ(text, "");
    EXPECT_FALSE(ParsePaneIconText(nullptr, &icon, &text));
    EXPECT_STREQ(text, "");
}

TEST_F(AppTest, OwnerDrawnPanesShowTheirIconBeforeTheText)
{
    ASSERT_TRUE(Start());
    CStatusBarEx* pBar = m_pFrame->GetStatusBar();
    ASSERT_NE(pBar->m_bmpIcons.m_hObject, nullptr);

    CClientDC screen(nullptr);
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(&screen));
    CBitmap target;
    ASSERT_TRUE(target.CreateCompatibleBitmap(&screen, 200, 20));
    CBitmap* pOld = dc.SelectObject(&target);
    CRect rect(0, 0, 200, 20);
    dc.FillSolidRect(&rect, RGB(1, 2, 3));

    const char* text = "@2|information";
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_STATIC;
    dis.hDC = dc.m_hDC;
    dis.rcItem = rect;
    dis.itemData = reinterpret_cast<ULONG_PTR>(text);
    pBar->DrawItem(&dis);
    // Icon 2 of the strip, copied at (2, 1): compare a few of its pixels.
    int same = 0;
    for (int y = 0; y < 12; y++) {
        for (int x = 0; x < 12; x++)
            same += ::GetPixel(dc.m_hDC, 2 + x, 1 + y) == PixelOf(pBar->m_bmpIcons, 26 + x, y);
    }
    EXPECT_EQ(same, 144);
    // The text starts after the icon.
    bool textAfterIcon = false;
    for (int x = 16; x < 100 && !textAfterIcon; x++) {
        for (int y = 0; y < 18; y++) {
            COLORREF color = ::GetPixel(dc.m_hDC, x, y);
            textAfterIcon |= color != RGB(1, 2, 3) && color != ::GetSysColor(COLOR_BTNFACE);
        }
    }
    EXPECT_TRUE(textAfterIcon);
    dc.SelectObject(pOld);

    // The explorer's last pane while its thumbnails build: icon 4 alone, in the bar as it paints.
    m_pFrame->SetStatusMode(kStatusExplorer);
    m_pFrame->SetStatusPaneText(3, "@4");
    CRect pane, client;
    pBar->GetItemRect(3, &pane);
    pBar->GetClientRect(&client);
    PaintedPixels painted = PaintIntoMemory(client.Width(), client.Height(), [&](HDC hdc) {
        pBar->SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hdc), PRF_CLIENT);
    });
    int inside = 0;
    same = 0;
    for (int y = 0; y < 12; y++) {
        for (int x = 0; x < 12 && pane.left + 2 + x < pane.right; x++) {
            inside++;
            same += painted.At(pane.left + 2 + x, pane.top + 1 + y) == PixelOf(pBar->m_bmpIcons, 52 + x, y);
        }
    }
    EXPECT_GT(inside, 0);
    EXPECT_EQ(same, inside);
}

namespace {

// Counts its paints.
class CPaintCounter : public CWnd {
public:
    int m_nPaints = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_PAINT) {
            PAINTSTRUCT ps;
            ::BeginPaint(m_hWnd, &ps);
            ::EndPaint(m_hWnd, &ps);
            m_nPaints++;
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

} // namespace

// A long operation pumps no messages of its own: while it reports progress, the windows that need it
// are repainted (at its start and then every tenth of a second), so that the program never looks
// frozen.
TEST_F(AppTest, WindowsRepaintWhileALongOperationReportsProgress)
{
    ASSERT_TRUE(Start());
    CPaintCounter counter;
    ASSERT_TRUE(counter.CreateEx(0, AfxRegisterWndClass(0), "WindowsRepaintWhileBusy", WS_POPUP | WS_VISIBLE,
                                 CRect(10, 10, 110, 110), nullptr, 0));
    counter.UpdateWindow();
    int before = counter.m_nPaints;

    ::InvalidateRect(counter.m_hWnd, nullptr, TRUE);
    m_pFrame->BeginProgress("Importation");
    EXPECT_EQ(counter.m_nPaints, before + 1) << "repainted as the operation starts";

    // The operation goes on for a while, reporting each step; the window is uncovered again.
    ::InvalidateRect(counter.m_hWnd, nullptr, TRUE);
    DWORD start = ::GetTickCount();
    DWORD step = 0;
    while (counter.m_nPaints == before + 1 && ::GetTickCount() - start < 3000)
        m_pFrame->SetProgress(++step % 1000, 1000);
    EXPECT_EQ(counter.m_nPaints, before + 2) << "repainted during the operation";
    m_pFrame->EndProgress();
    counter.DestroyWindow();
}
