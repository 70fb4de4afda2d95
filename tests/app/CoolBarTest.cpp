// The cool bar: its bands as the settings ask, the standard tool bar hidden beside it, the logo's
// frames and its staying clickable, the drop-down menus of the tool band and the button states.
#include "tests/app/AppFixture.h"

#include "app/MyCoolBar.h"
#include "shell/Settings.h"
#include "framework/DockBar.h"
#include "framework/TestSeams.h"
#include "resources/resource.h"

#include <commctrl.h>

#include <vector>

namespace {

struct Band {
    UINT id;
    UINT style;
    UINT cyMinChild;
    UINT cx;
    bool background;
};

std::vector<Band> Bands(CMyCoolBar* pBar)
{
    std::vector<Band> bands;
    int n = static_cast<int>(pBar->SendMessage(RB_GETBANDCOUNT, 0, 0));
    for (int i = 0; i < n; i++) {
        REBARBANDINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = RBBIM_ID | RBBIM_STYLE | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_BACKGROUND;
        pBar->SendMessage(RB_GETBANDINFOA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&info));
        bands.push_back({info.wID, info.fStyle, info.cyMinChild, info.cx, info.hbmBack != nullptr});
    }
    return bands;
}

// The style the rebar window was asked for when created on this thread.
DWORD g_dwRebarStyle = 0;

LRESULT CALLBACK RecordRebarStyle(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HCBT_CREATEWND) {
        char szClass[64] = "";
        ::GetClassNameA(reinterpret_cast<HWND>(wParam), szClass, sizeof(szClass));
        if (lstrcmpiA(szClass, REBARCLASSNAMEA) == 0)
            g_dwRebarStyle = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs->style;
    }
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

std::vector<UINT> Ids(const std::vector<Band>& bands)
{
    std::vector<UINT> ids;
    for (const Band& band : bands)
        ids.push_back(band.id);
    return ids;
}

} // namespace

TEST_F(AppTest, CoolBarHasItsThreeBandsAndTheStandardToolBarHides)
{
    PutSetting("prefs", "UseCoolBar", 1);
    PutSetting("prefs", "CoolBarAnimation", 1);
    PutSetting("prefs", "ShowRecents", 1);
    PutSetting("prefs", "CoolBarText", 1);
    PutSetting("prefs", "CoolBarBitmap", 1);
    PutSetting("prefs", "CoolBarRawCount", 2);
    ASSERT_TRUE(Start());
    CMyCoolBar* pBar = m_pFrame->GetCoolBar();
    ASSERT_TRUE(::IsWindow(pBar->m_hWnd));
    EXPECT_TRUE(pBar->GetStyle() & WS_VISIBLE);
    EXPECT_FALSE(m_pFrame->GetToolBar()->GetStyle() & WS_VISIBLE);
    EXPECT_EQ(AfxGetControlBar(m_pFrame, ID_COOLBAR), pBar);

    std::vector<Band> bands = Bands(pBar);
    ASSERT_EQ(Ids(bands), (std::vector<UINT>{ID_COOLBAND_TOOLS, ID_COOLBAND_LOGO, ID_COOLBAND_RECENTS}));
    EXPECT_EQ(bands[0].cyMinChild, 40u);
    EXPECT_EQ(bands[1].cyMinChild, 40u);
    EXPECT_EQ(bands[0].style & RBBS_BREAK, 0u);
    EXPECT_NE(bands[2].style & RBBS_BREAK, 0u);
    EXPECT_TRUE(bands[0].background);
    EXPECT_FALSE(bands[1].background);
    EXPECT_TRUE(bands[2].background);
    EXPECT_EQ(pBar->SendMessage(RB_GETROWCOUNT, 0, 0), 2);

    HWND hTools = CMyCoolBar::GetToolBand();
    ASSERT_NE(hTools, nullptr);
    EXPECT_EQ(::SendMessageA(hTools, TB_BUTTONCOUNT, 0, 0), 14);
    char text[32] = "";
    ::SendMessageA(hTools, TB_GETBUTTONTEXTA, ID_VIEW_LIBRARY_BAR, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "Images");
}

TEST_F(AppTest, CoolBarIsBorderedAndItsBandPictureGoesWithIt)
{
    PutSetting("prefs", "UseCoolBar", 1);
    PutSetting("prefs", "ShowRecents", 1);
    PutSetting("prefs", "CoolBarBitmap", 1);
    g_dwRebarStyle = 0;
    HHOOK hHook = ::SetWindowsHookExA(WH_CBT, RecordRebarStyle, nullptr, ::GetCurrentThreadId());
    bool started = Start();
    ::UnhookWindowsHookEx(hHook);
    ASSERT_TRUE(started);
    // Visible, clipping, bordered, with tool tips and band borders; sized by its own bands.
    EXPECT_EQ(g_dwRebarStyle, 0x56800700u | CCS_NOPARENTALIGN | CCS_NODIVIDER);

    CMyCoolBar* pBar = m_pFrame->GetCoolBar();
    std::vector<HBITMAP> pictures;
    for (int i = 0; i < static_cast<int>(pBar->SendMessage(RB_GETBANDCOUNT, 0, 0)); i++) {
        REBARBANDINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = RBBIM_BACKGROUND;
        pBar->SendMessage(RB_GETBANDINFOA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&info));
        if (info.hbmBack != nullptr)
            pictures.push_back(info.hbmBack);
    }
    ASSERT_EQ(pictures.size(), 2u);
    ASSERT_TRUE(pBar->DestroyWindow());
    for (HBITMAP hPicture : pictures)
        EXPECT_EQ(::GetObjectType(hPicture), 0u) << "a band picture outlives the bar";
}

TEST_F(AppTest, CoolBarWithoutTextOrExtrasHasOneLowBandOfTheStoredWidth)
{
    PutSetting("prefs", "UseCoolBar", 1);
    PutSetting("prefs", "CoolBarAnimation", 0);
    PutSetting("prefs", "ShowRecents", 0);
    PutSetting("prefs", "CoolBarText", 0);
    PutSetting("prefs", "CoolBarBitmap", 0);
    PutSetting("prefs", "CoolBarRawCount", 1);
    PutSetting("prefs", "CoolBarBandCX", 333);
    ASSERT_TRUE(Start());
    std::vector<Band> bands = Bands(m_pFrame->GetCoolBar());
    ASSERT_EQ(Ids(bands), (std::vector<UINT>{ID_COOLBAND_TOOLS}));
    EXPECT_EQ(bands[0].cyMinChild, 26u);
    EXPECT_FALSE(bands[0].background);
    EXPECT_EQ(CMyCoolBar::GetRecentCombo(), nullptr);
    EXPECT_EQ(CMyCoolBar::GetLogoButton(), nullptr);
    // The logo shows the middle rows of each frame.
    RECT src = CMyCoolBar::LogoSourceRect(2);
    EXPECT_EQ(src.left, 80);
    EXPECT_EQ(src.top, 7);
    EXPECT_EQ(src.bottom, 33);
}

TEST_F(AppTest, WithoutTheCoolBarTheFlatStandardToolBarShows)
{
    PutSetting("prefs", "UseCoolBar", 0);
    ASSERT_TRUE(Start());
    EXPECT_FALSE(::IsWindow(m_pFrame->GetCoolBar()->m_hWnd));
    CToolBar* pBar = m_pFrame->GetToolBar();
    EXPECT_TRUE(pBar->GetStyle() & WS_VISIBLE);
    EXPECT_TRUE(pBar->IsKindOf(RUNTIME_CLASS(CToolBarEx)));
}

TEST_F(AppTest, LogoStaysClickableAndItsFramesWrapAfterThirty)
{
    PutSetting("prefs", "UseCoolBar", 1);
    PutSetting("prefs", "CoolBarAnimation", 1);
    ASSERT_TRUE(Start());
    HWND hLogo = CMyCoolBar::GetLogoButton();
    ASSERT_NE(hLogo, nullptr);
    for (int i = 0; i < 10; i++) {
        m_pFrame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
        m_pFrame->GetCoolBar()->OnUpdateCmdUI(m_pFrame, TRUE);
    }
    EXPECT_TRUE(::IsWindowEnabled(hLogo));

    int start = CMyCoolBar::GetLogoFrame();
    for (int i = 0; i < 30; i++)
        CMyCoolBar::StepLogo();
    EXPECT_EQ(CMyCoolBar::GetLogoFrame(), start);
    while (CMyCoolBar::GetLogoFrame() != 29)
        CMyCoolBar::StepLogo();
    CMyCoolBar::StepLogo();
    EXPECT_EQ(CMyCoolBar::GetLogoFrame(), 0);
}

TEST_F(AppTest, LogoFramesAndCloseDispatcherTicksStartNoUpdateOfTheBars)
{
    PutSetting("prefs", "UseCoolBar", 1);
    PutSetting("prefs", "CoolBarAnimation", 1);
    ASSERT_TRUE(Start());
    MSG frame = {CMyCoolBar::GetLogoButton(), WM_TIMER, 1, 0, 0, {0, 0}};
    ASSERT_NE(frame.hwnd, nullptr);
    EXPECT_FALSE(m_pApp->IsIdleMessage(&frame));

    MSG key = {m_pFrame->m_hWnd, WM_KEYUP, VK_SHIFT, 0, 0, {0, 0}};
    MSG tick = {m_pFrame->m_hWnd, WM_TIMER, 1, 0, 0, {0, 0}};
    DWORD dwStart = ::GetTickCount();
    EXPECT_TRUE(m_pApp->IsIdleMessage(&key));
    BOOL bTickIdle = m_pApp->IsIdleMessage(&tick);
    if (::GetTickCount() - dwStart < CTessarineApp::kTickIdleSpacing) {
        EXPECT_FALSE(bTickIdle) << "a tick just after input updated the bars again";
    }
    // Background work still reaches the bars.
    EXPECT_TRUE(PumpUntil([&] { return m_pApp->IsIdleMessage(&tick) != FALSE; }));
}

TEST_F(AppTest, ToolBandDropDownsOpenTheirOwnMenus)
{
    PutSetting("prefs", "UseCoolBar", 1);
    ASSERT_TRUE(Start());
    HWND hTools = CMyCoolBar::GetToolBand();
    ASSERT_NE(hTools, nullptr);
    const UINT buttons[3] = {ID_COOL_FAVORITES, ID_COOL_ARRANGEMENT, ID_COOL_INTERNET};
    const UINT firstItems[3] = {ID_FAVORITES_ADD, ID_WINDOW_CASCADE, ID_WEB_HOME};
    for (int i = 0; i < 3; i++) {
        AfxScriptPopupMenu(0);
        NMTOOLBARA notify = {};
        notify.hdr.hwndFrom = hTools;
        notify.hdr.idFrom = ID_COOLBAND_TOOLS;
        notify.hdr.code = static_cast<UINT>(TBN_DROPDOWN);
        notify.iItem = static_cast<int>(buttons[i]);
        EXPECT_EQ(m_pFrame->GetCoolBar()->SendMessage(WM_NOTIFY, ID_COOLBAND_TOOLS,
                                                      reinterpret_cast<LPARAM>(&notify)),
                  0);
        ASSERT_EQ(AfxTestRecords().popupMenus.size(), static_cast<size_t>(i + 1));
        EXPECT_EQ(AfxTestRecords().popupMenus.back().firstItemId, firstItems[i]);
    }
}

TEST_F(AppTest, DispatcherSetsTheToolBandButtonsFromTheLibraryBarAndTheClipboard)
{
    PutSetting("prefs", "UseCoolBar", 1);
    ASSERT_TRUE(Start());
    HWND hTools = CMyCoolBar::GetToolBand();
    ASSERT_NE(hTools, nullptr);
    ASSERT_TRUE(::OpenClipboard(m_pFrame->m_hWnd));
    ::EmptyClipboard();
    ::CloseClipboard();
    // The clipboard's change notices come as messages.
    auto pasteAfterPass = [&](bool enabled) {
        return PumpUntil([&] {
            m_pFrame->OnIdleUpdate();
            return (::SendMessageA(hTools, TB_ISBUTTONENABLED, ID_EDIT_PASTE_NEW, 0) != 0) == enabled;
        });
    };

    EXPECT_TRUE(pasteAfterPass(false));
    bool visible = (m_pFrame->GetLibraryBar()->GetStyle() & WS_VISIBLE) != 0;
    EXPECT_EQ(::SendMessageA(hTools, TB_ISBUTTONCHECKED, ID_VIEW_LIBRARY_BAR, 0) != 0, visible);
    EXPECT_EQ(::SendMessageA(hTools, TB_ISBUTTONENABLED, ID_LIB_SEARCH, 0) != 0, visible);
    EXPECT_FALSE(::SendMessageA(hTools, TB_ISBUTTONENABLED, ID_FILE_PRINT, 0));

    m_pFrame->OnViewLibraryBar();
    m_pFrame->OnIdleUpdate();
    EXPECT_EQ(::SendMessageA(hTools, TB_ISBUTTONCHECKED, ID_VIEW_LIBRARY_BAR, 0) != 0, !visible);
    EXPECT_EQ(::SendMessageA(hTools, TB_ISBUTTONENABLED, ID_LIB_SEARCH, 0) != 0, !visible);
    EXPECT_TRUE(::SendMessageA(hTools, TB_ISBUTTONENABLED, ID_VIEW_LIBRARY_BAR, 0));

    m_pApp->OpenDocumentFile(WriteBmp("print.bmp").c_str());
    m_pFrame->OnIdleUpdate();
    EXPECT_TRUE(::SendMessageA(hTools, TB_ISBUTTONENABLED, ID_FILE_PRINT, 0));

    // A bitmap put on the clipboard enables pasting once its change notice came, and taking it away
    // disables it again.
    ASSERT_TRUE(::OpenClipboard(m_pFrame->m_hWnd));
    ::EmptyClipboard();
    ::SetClipboardData(CF_BITMAP, ::CreateBitmap(4, 4, 1, 32, nullptr));
    ::CloseClipboard();
    EXPECT_TRUE(pasteAfterPass(true));
    ASSERT_TRUE(::OpenClipboard(m_pFrame->m_hWnd));
    ::EmptyClipboard();
    ::CloseClipboard();
    EXPECT_TRUE(pasteAfterPass(false));
}
