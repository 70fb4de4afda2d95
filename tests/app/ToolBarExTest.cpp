// The flat tool bars: separators and gripper drawn as etched and raised lines (none for a wide
// separator, the last item or a floating bar), hot tracking and its timer, repainting only the
// buttons whose state changed, the emulated custom-draw stages, the two context menus, and each
// window's own bar: its class, its menu, and its repaint when it wraps or a window closes over it.
#include "tests/app/ListWindowsFixture.h"

#include "explorer/ExplorerMDI.h"
#include "shell/ToolBarEx.h"
#include "viewers/AnimToolBar.h"
#include "viewers/DibDocMDI.h"
#include "viewers/GifDocMDI.h"
#include "framework/Dc.h"
#include "framework/FrameworkTexts.h"
#include "framework/TestSeams.h"
#include "resources/resource.h"

#include <commctrl.h>

#include <vector>

namespace {

// Records the separators the paint asked for.
class CCountingToolBar : public CToolBarEx {
public:
    std::vector<CRect> separators;
    void DrawSeparator(CDC* pDC, CRect& rect) override
    {
        separators.push_back(rect);
        CToolBarEx::DrawSeparator(pDC, rect);
    }
};

struct MemoryDC {
    CDC dc;
    HBITMAP hBitmap = nullptr;
    HGDIOBJ hOld = nullptr;
    MemoryDC(int cx, int cy)
    {
        HDC hScreen = ::GetDC(nullptr);
        dc.Attach(::CreateCompatibleDC(hScreen));
        hBitmap = ::CreateCompatibleBitmap(hScreen, cx, cy);
        ::ReleaseDC(nullptr, hScreen);
        hOld = ::SelectObject(dc.GetSafeHdc(), hBitmap);
        RECT all = {0, 0, cx, cy};
        ::FillRect(dc.GetSafeHdc(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    }
    ~MemoryDC()
    {
        ::SelectObject(dc.GetSafeHdc(), hOld);
        ::DeleteObject(hBitmap);
    }
    int CountNotWhite(int cx, int cy)
    {
        int n = 0;
        for (int y = 0; y < cy; y++)
            for (int x = 0; x < cx; x++)
                n += ::GetPixel(dc.GetSafeHdc(), x, y) != RGB(255, 255, 255) ? 1 : 0;
        return n;
    }
};

// Stages of the custom-draw notifications the bar's parent received, and its answers.
std::vector<DWORD> g_stages;
std::vector<UINT> g_itemStates;
WNDPROC g_pfnFrameProc = nullptr;
LRESULT g_prePaintAnswer = 0;

LRESULT CALLBACK RecordingProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY) {
        NMHDR* pHeader = reinterpret_cast<NMHDR*>(lParam);
        if (pHeader->code == static_cast<UINT>(NM_CUSTOMDRAW) && pHeader->idFrom == 4300) {
            NMCUSTOMDRAW* pDraw = reinterpret_cast<NMCUSTOMDRAW*>(lParam);
            g_stages.push_back(pDraw->dwDrawStage);
            if (pDraw->dwDrawStage == CDDS_PREPAINT)
                return g_prePaintAnswer;
            if (pDraw->dwDrawStage == CDDS_ITEMPREPAINT) {
                g_itemStates.push_back(pDraw->uItemState);
                return pDraw->dwItemSpec == ID_FILE_OPEN ? CDRF_SKIPDEFAULT : CDRF_NOTIFYPOSTPAINT;
            }
            return 0;
        }
    }
    return ::CallWindowProcA(g_pfnFrameProc, hWnd, message, wParam, lParam);
}

const UINT kButtons[] = {ID_NEW_EXPLORER, ID_SEPARATOR,      ID_FILE_OPEN,
                         ID_SEPARATOR,    ID_EDIT_PASTE_NEW, ID_SEPARATOR};

} // namespace

TEST_F(AppTest, ToolBarSeparatorsAreEtchedExceptWideOnesAndTheLastItem)
{
    ASSERT_TRUE(Start());
    CCountingToolBar bar;
    ASSERT_TRUE(bar.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 4300));
    ASSERT_TRUE(bar.LoadBitmap(IDR_MAINFRAME));
    bar.SetSizes(CSize(26, 23), CSize(19, 17));
    ASSERT_TRUE(bar.SetButtons(kButtons, 6));
    bar.MoveWindow(0, 0, 300, 30);
    bar.Invalidate(TRUE);
    bar.UpdateWindow();
    // Three separators, the last item not drawn.
    ASSERT_EQ(bar.separators.size(), 2u);

    MemoryDC narrow(40, 40);
    CRect thin(10, 2, 16, 30);
    bar.DrawSeparator(&narrow.dc, thin);
    EXPECT_GT(narrow.CountNotWhite(40, 40), 0);
    EXPECT_EQ(::GetPixel(narrow.dc.GetSafeHdc(), 12, 10), bar.m_clrBtnShadow);
    EXPECT_EQ(::GetPixel(narrow.dc.GetSafeHdc(), 13, 10), bar.m_clrBtnHilight);

    MemoryDC wide(40, 40);
    CRect room(5, 2, 30, 30);
    bar.DrawSeparator(&wide.dc, room);
    EXPECT_EQ(wide.CountNotWhite(40, 40), 0);
    bar.DestroyWindow();
}

TEST_F(AppTest, AFloatingToolBarShowsNoGripper)
{
    ASSERT_TRUE(Start());
    CToolBarEx bar;
    ASSERT_TRUE(bar.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 4300));
    bar.MoveWindow(0, 0, 200, 30);
    MemoryDC docked(200, 30);
    bar.DrawGripper(&docked.dc);
    EXPECT_GT(docked.CountNotWhite(200, 30), 0);
    bar.m_dwStyle |= CBRS_FLOATING;
    MemoryDC floating(200, 30);
    bar.DrawGripper(&floating.dc);
    EXPECT_EQ(floating.CountNotWhite(200, 30), 0);
    bar.DestroyWindow();
}

TEST_F(AppTest, HotTrackingFollowsTheMouseAndTheTimerDropsItOutsideTheBar)
{
    ASSERT_TRUE(Start());
    CToolBarEx bar;
    ASSERT_TRUE(bar.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 4300));
    ASSERT_TRUE(bar.LoadBitmap(IDR_MAINFRAME));
    ASSERT_TRUE(bar.SetButtons(kButtons, 6));
    bar.MoveWindow(0, 0, 300, 30);
    CRect rect;
    bar.GetItemRect(2, &rect);
    bar.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(rect.CenterPoint().x, rect.CenterPoint().y));
    EXPECT_EQ(bar.m_nHotButton, 2);
    EXPECT_NE(bar.m_nHotTimer, 0u);
    // Over a separator nothing is hot.
    bar.GetItemRect(1, &rect);
    bar.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(rect.CenterPoint().x, rect.CenterPoint().y));
    EXPECT_EQ(bar.m_nHotButton, -1);
    // A disabled button is never hot.
    bar.SendMessage(TB_ENABLEBUTTON, ID_FILE_OPEN, FALSE);
    bar.GetItemRect(2, &rect);
    bar.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(rect.CenterPoint().x, rect.CenterPoint().y));
    EXPECT_EQ(bar.m_nHotButton, -1);

    bar.GetItemRect(0, &rect);
    bar.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(rect.CenterPoint().x, rect.CenterPoint().y));
    ASSERT_EQ(bar.m_nHotButton, 0);
    CRect window;
    bar.GetWindowRect(&window);
    ::SetCursorPos(window.left + 2, window.top + 2);
    bar.SendMessage(WM_TIMER, bar.m_nHotTimer, 0);
    EXPECT_EQ(bar.m_nHotButton, 0); // still inside the bar
    ::SetCursorPos(window.right + 200, window.bottom + 200);
    bar.SendMessage(WM_TIMER, bar.m_nHotTimer, 0);
    EXPECT_EQ(bar.m_nHotButton, -1);
    EXPECT_EQ(bar.m_nHotTimer, 0u);
    bar.DestroyWindow();
}

TEST_F(AppTest, UpdateRepaintsOnlyTheButtonsWhoseStateChanged)
{
    ASSERT_TRUE(Start());
    CToolBarEx bar;
    ASSERT_TRUE(bar.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 4300));
    ASSERT_TRUE(bar.LoadBitmap(IDR_MAINFRAME));
    const UINT ids[] = {ID_PREFERENCES, 4999}; // the frame handles the first, nothing the second
    ASSERT_TRUE(bar.SetButtons(ids, 2));
    bar.MoveWindow(0, 0, 300, 30);
    bar.UpdateWindow();
    bar.ValidateRect(nullptr);
    bar.OnUpdateCmdUI(m_pFrame, TRUE);
    CRect dirty;
    ASSERT_TRUE(::GetUpdateRect(bar.m_hWnd, &dirty, FALSE));
    CRect second;
    bar.GetItemRect(1, &second);
    EXPECT_EQ(dirty, second);
    bar.ValidateRect(nullptr);
    bar.OnUpdateCmdUI(m_pFrame, TRUE);
    EXPECT_FALSE(::GetUpdateRect(bar.m_hWnd, &dirty, FALSE));
    bar.DestroyWindow();
}

TEST_F(AppTest, TheParentGetsTheEmulatedCustomDrawStages)
{
    ASSERT_TRUE(Start());
    CToolBarEx bar;
    ASSERT_TRUE(bar.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 4300));
    ASSERT_EQ(bar.m_hNotifyWnd, m_pFrame->m_hWnd);
    ASSERT_TRUE(bar.LoadBitmap(IDR_MAINFRAME));
    ASSERT_TRUE(bar.SetButtons(kButtons, 6));
    bar.MoveWindow(0, 0, 300, 30);
    bar.SendMessage(TB_ENABLEBUTTON, ID_EDIT_PASTE_NEW, FALSE);
    bar.UpdateWindow();

    g_stages.clear();
    g_itemStates.clear();
    g_prePaintAnswer = CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
    g_pfnFrameProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(m_pFrame->m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProc)));
    bar.Invalidate(TRUE);
    bar.UpdateWindow();
    g_prePaintAnswer = 0; // without item drawing asked for: the pre-paint stage only
    bar.Invalidate(TRUE);
    bar.UpdateWindow();
    ::SetWindowLongPtrA(m_pFrame->m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_pfnFrameProc));

    // Three buttons: the second skips its default drawing (and so its post-paint stage).
    EXPECT_EQ(g_stages,
              (std::vector<DWORD>{CDDS_PREPAINT, CDDS_ITEMPREPAINT, CDDS_ITEMPOSTPAINT, CDDS_ITEMPREPAINT,
                                  CDDS_ITEMPREPAINT, CDDS_ITEMPOSTPAINT, CDDS_POSTPAINT, CDDS_PREPAINT}));
    ASSERT_EQ(g_itemStates.size(), 3u);
    EXPECT_EQ(g_itemStates[2] & CDIS_DISABLED, static_cast<UINT>(CDIS_DISABLED));
    EXPECT_EQ(g_itemStates[0] & CDIS_DISABLED, 0u);
    bar.DestroyWindow();
}

TEST_F(AppTest, ToolBarContextMenusOfferTheirOwnHideCommand)
{
    ASSERT_TRUE(Start());
    CToolBarEx standard;
    ASSERT_TRUE(standard.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 4300));
    CLocalToolBar local;
    ASSERT_TRUE(local.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 4301));
    EXPECT_EQ(local.m_cxLeftBorder, 0);
    EXPECT_EQ(local.m_cxRightBorder, 0);

    AfxScriptPopupMenu(0);
    standard.SendMessage(WM_RBUTTONDOWN, 0, MAKELPARAM(5, 5));
    ASSERT_EQ(AfxTestRecords().popupMenus.size(), 1u);
    EXPECT_EQ(AfxTestRecords().popupMenus.back().firstItemId, static_cast<UINT>(ID_HIDE_STANDARD_TOOLBAR));
    AfxScriptPopupMenu(0);
    local.SendMessage(WM_RBUTTONDOWN, 0, MAKELPARAM(5, 5));
    ASSERT_EQ(AfxTestRecords().popupMenus.size(), 2u);
    EXPECT_EQ(AfxTestRecords().popupMenus.back().firstItemId, static_cast<UINT>(ID_HIDE_LOCAL_TOOLBAR));
    local.DestroyWindow();
    standard.DestroyWindow();
}

using ToolBarWindows = ListWindowsTest;

template <class TFrame> CToolBar* ActiveBar(CMDIFrameWnd* pMain)
{
    auto* pFrame = dynamic_cast<TFrame*>(pMain->MDIGetActive());
    return pFrame != nullptr ? &pFrame->m_wndToolBar : nullptr;
}

// The mouse comes to rest on a point of a bar, through the program's own mouse path.
void Hover(CWinApp* pApp, CToolBar* pBar, CPoint point)
{
    MSG msg = {};
    msg.hwnd = pBar->m_hWnd;
    msg.message = WM_MOUSEMOVE;
    msg.lParam = MAKELPARAM(point.x, point.y);
    msg.pt = point;
    pBar->ClientToScreen(&msg.pt);
    if (!pApp->PreTranslateMessage(&msg))
        ::DispatchMessageA(&msg);
}

BOOL CALLBACK AddTipWindow(HWND hWnd, LPARAM lParam)
{
    char szClass[32] = "";
    ::GetClassNameA(hWnd, szClass, sizeof(szClass));
    if (lstrcmpiA(szClass, TOOLTIPS_CLASSA) == 0)
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
    return TRUE;
}

// The tips that would show there: each tip window of the program with a tool at that point of the
// bar, and the text it asks for as it shows.
std::vector<std::string> TipsAt(CToolBar* pBar, CPoint point)
{
    std::vector<HWND> tipWindows;
    ::EnumThreadWindows(::GetCurrentThreadId(), AddTipWindow, reinterpret_cast<LPARAM>(&tipWindows));
    std::vector<std::string> tips;
    for (HWND hTip : tipWindows) {
        TTHITTESTINFOA hit = {};
        hit.hwnd = pBar->m_hWnd;
        hit.pt = point;
        hit.ti.cbSize = sizeof(hit.ti);
        if (!::SendMessageA(hTip, TTM_HITTESTA, 0, reinterpret_cast<LPARAM>(&hit)))
            continue;
        char szText[80] = "";
        hit.ti.lpszText = szText;
        ::SendMessageA(hTip, TTM_GETTEXTA, sizeof(szText), reinterpret_cast<LPARAM>(&hit.ti));
        if (szText[0] != '\0')
            tips.push_back(szText);
    }
    return tips;
}

// Every window's own tool bar, as a user meets it: the one tip each button shows (its command's short
// text), its class, the menu a right click on it shows, and what choosing that menu's one item does
// (through the main window, as the real menu would).
TEST_F(ToolBarWindows, EveryWindowsToolBarHidesFromItsOwnMenu)
{
    ASSERT_TRUE(Start());
    const struct {
        const char* window;
        std::function<CToolBar*()> open;
        CRuntimeClass* pBarClass;
        UINT menuItem;
        bool hides;
    } cases[] = {
        {"explorer", [&] { return OpenExplorer() ? ActiveBar<CExplorerMDI>(m_pFrame) : nullptr; },
         RUNTIME_CLASS(CLocalToolBar), ID_HIDE_LOCAL_TOOLBAR, true},
        {"search", [&] { return OpenSearch() ? ActiveBar<CSearchMDI>(m_pFrame) : nullptr; },
         RUNTIME_CLASS(CLocalToolBar), ID_HIDE_LOCAL_TOOLBAR, true},
        {"picture",
         [&] {
             m_pApp->OpenDocumentFile(WriteBmp("barre.bmp", 64, 48).c_str());
             return ActiveBar<CDibDocMDI>(m_pFrame);
         },
         RUNTIME_CLASS(CLocalToolBar), ID_HIDE_LOCAL_TOOLBAR, true},
        {"animation",
         [&] {
             m_pApp->OpenDocumentFile(WriteGif("barre.gif").c_str());
             return ActiveBar<CGifDocMDI>(m_pFrame);
         },
         RUNTIME_CLASS(CAnimToolBar), ID_HIDE_LOCAL_TOOLBAR, true},
        // The library bar's: the standard bar's menu, whose item nothing handles, so it stays greyed.
        {"library", [&]() -> CToolBar* { return &Bar()->m_wndLibBarTools1; }, RUNTIME_CLASS(CFrameToolBar),
         ID_HIDE_STANDARD_TOOLBAR, false},
        {"library pictures", [&]() -> CToolBar* { return &Bar()->m_wndLibBarTools2; },
         RUNTIME_CLASS(CFrameToolBar), ID_HIDE_STANDARD_TOOLBAR, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.window);
        g_ShowExplorerToolBar = g_ShowDibToolBar = 1;
        CToolBar* pBar = c.open();
        ASSERT_TRUE(pBar != nullptr && (pBar->GetStyle() & WS_VISIBLE));
        EXPECT_TRUE(pBar->IsKindOf(c.pBarClass));
        for (int i = 0; i < pBar->GetCount(); i++) {
            UINT nID = 0, nStyle = 0;
            int iImage = 0;
            pBar->GetButtonInfo(i, nID, nStyle, iImage);
            if (nStyle & TBSTYLE_SEP)
                continue;
            CString prompt = AfxLoadText(nID);
            CRect rect;
            pBar->GetItemRect(i, &rect);
            Hover(m_pApp, pBar, rect.CenterPoint());
            EXPECT_EQ(TipsAt(pBar, rect.CenterPoint()),
                      std::vector<std::string>{std::string(prompt.Mid(prompt.Find('\n') + 1))})
                << nID;
        }
        size_t nMenus = AfxTestRecords().popupMenus.size();
        AfxScriptPopupMenu(c.menuItem);
        pBar->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(3, 3));
        ASSERT_EQ(AfxTestRecords().popupMenus.size(), nMenus + 1);
        EXPECT_EQ(AfxTestRecords().popupMenus.back().firstItemId, c.menuItem);
        Pump();
        EXPECT_EQ((pBar->GetStyle() & WS_VISIBLE) == 0, c.hides);
    }
}

// When its window narrows or comes back from maximised, the animation bar wraps into more rows: the
// buttons that moved must not stay drawn where they stood, so the whole bar is to be painted again.
TEST_F(AppTest, TheAnimationBarIsRepaintedWholeWhenItsWindowNarrows)
{
    ASSERT_TRUE(Start());
    g_ShowDibToolBar = 1;
    m_pFrame->ShowWindow(SW_RESTORE);
    m_pFrame->MoveWindow(0, 0, 1270, 700); // room for the bar on one row when maximised
    m_pApp->OpenDocumentFile(WriteGif("largeur.gif").c_str());
    CToolBar* pBar = ActiveBar<CGifDocMDI>(m_pFrame);
    ASSERT_NE(pBar, nullptr);
    CWnd* pChild = pBar->GetParent();
    const struct {
        const char* how;
        std::function<void()> widen, narrow;
    } steps[] = {
        {"narrowed", [&] { pChild->MoveWindow(0, 0, 1200, 300); },
         [&] { pChild->MoveWindow(0, 0, 420, 300); }},
        {"restored", [&] { m_pFrame->MDIMaximize(pChild); }, [&] { m_pFrame->MDIRestore(pChild); }},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.how);
        step.widen();
        Pump();
        pBar->UpdateWindow();
        ASSERT_FALSE(::GetUpdateRect(pBar->m_hWnd, nullptr, FALSE));
        CRect wide, narrow, window, dirty;
        pBar->GetClientRect(&wide);
        step.narrow();
        pBar->GetClientRect(&narrow);
        ASSERT_GT(narrow.Height(), wide.Height()); // it wrapped
        // The client area lies 4 pixels right of the window (room for the gripper): what can be
        // painted is its part inside the window.
        pBar->GetWindowRect(&window);
        pBar->ScreenToClient(&window);
        narrow.IntersectRect(&narrow, &window);
        HRGN hDirty = ::CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(::GetUpdateRgn(pBar->m_hWnd, hDirty, FALSE), SIMPLEREGION);
        ::GetRgnBox(hDirty, &dirty);
        ::DeleteObject(hDirty);
        EXPECT_EQ(dirty, narrow);
        Pump();
    }
}

// A picture window maximised over a maximised search window, then closed: the search window's bar is
// to be painted again whole, none of it left showing the picture window.
TEST_F(ToolBarWindows, ABarUncoveredByAClosingWindowIsRepaintedWhole)
{
    ASSERT_TRUE(Start());
    g_ShowExplorerToolBar = 1;
    ASSERT_NE(OpenSearch(), nullptr);
    m_pFrame->MDIMaximize(m_pFrame->MDIGetActive());
    CToolBar* pBar = ActiveBar<CSearchMDI>(m_pFrame);
    ASSERT_NE(pBar, nullptr);
    m_pApp->OpenDocumentFile(WriteBmp("dessus.bmp", 400, 300).c_str());
    Pump();
    pBar->UpdateWindow();
    ASSERT_FALSE(::GetUpdateRect(pBar->m_hWnd, nullptr, FALSE));
    m_pFrame->MDIGetActive()->SendMessage(WM_CLOSE);
    ASSERT_EQ(ActiveBar<CSearchMDI>(m_pFrame), pBar);
    CRect client, window, dirty;
    pBar->GetClientRect(&client);
    pBar->GetWindowRect(&window);
    pBar->ScreenToClient(&window);
    client.IntersectRect(&client, &window);
    HRGN hDirty = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(::GetUpdateRgn(pBar->m_hWnd, hDirty, FALSE), SIMPLEREGION);
    ::GetRgnBox(hDirty, &dirty);
    ::DeleteObject(hDirty);
    EXPECT_EQ(dirty, client);
}
