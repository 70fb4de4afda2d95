// The main frame and its child frames: the command line handed over character by character, the
// dispatcher's order of work, the status-bar layout following the active view, placing the views,
// the bar commands, palette messages, and the child frames' titles, first display, closing and
// animation-bar relays.
#include "tests/app/AppFixture.h"

#include "shell/AppMessages.h"
#include "explorer/ExplorerMDI.h"
#include "viewers/DibDocMDI.h"
#include "viewers/GifDocMDI.h"
#include "shell/Settings.h"
#include "shell/ViewPlacement.h"
#include "explorer/ExplorerView.h"
#include "framework/CmdUI.h"
#include "framework/Document.h"
#include "framework/MDIChildWnd.h"
#include "framework/View.h"
#include "resources/resource.h"
#include "viewers/DibDoc.h"
#include "viewers/GifView.h"

#include <string>
#include <vector>

// The program's import of the system's SelectPalette.
extern "C" HPALETTE(WINAPI* g_importedSelectPalette)(HDC, HPALETTE, BOOL) __asm__("__imp__SelectPalette@12");

namespace {

void PostChars(HWND hWnd, const std::string& text)
{
    for (char c : text)
        ::PostMessageA(hWnd, WM_OPENPATHCHAR,
                       static_cast<WPARAM>(static_cast<int>(static_cast<signed char>(c))), 0);
    ::PostMessageA(hWnd, WM_OPENPATHCHAR, 0, 0);
}

// The background flag of the palettes selected while a test points the program's import of the
// system's SelectPalette at a recorder.
HPALETTE(WINAPI* g_pfnSystemSelectPalette)(HDC, HPALETTE, BOOL) = nullptr;
std::vector<BOOL> g_paletteBackground;

HPALETTE WINAPI RecordSelectPalette(HDC hdc, HPALETTE hPalette, BOOL bBackground)
{
    g_paletteBackground.push_back(bBackground);
    return g_pfnSystemSelectPalette(hdc, hPalette, bBackground);
}

void PointSelectPaletteAt(HPALETTE(WINAPI* pfn)(HDC, HPALETTE, BOOL))
{
    DWORD dwOld = 0;
    ::VirtualProtect(&g_importedSelectPalette, sizeof(pfn), PAGE_READWRITE, &dwOld);
    g_importedSelectPalette = pfn;
    ::VirtualProtect(&g_importedSelectPalette, sizeof(pfn), dwOld, &dwOld);
}

std::vector<UINT> PaneIds(CStatusBarEx* pBar)
{
    std::vector<UINT> ids;
    for (int i = 0; i < pBar->GetCount(); i++)
        ids.push_back(pBar->GetItemID(i));
    return ids;
}

bool OwnerDrawn(CStatusBarEx* pBar, int nIndex) { return (pBar->GetPaneStyle(nIndex) & SBT_OWNERDRAW) != 0; }

} // namespace

TEST_F(AppTest, AHandedOverPathLongerThan199CharactersArrivesWhole)
{
    ASSERT_TRUE(Start());
    // A file name that brings the whole path past 199 characters (and under MAX_PATH).
    std::string name = std::string(230 - m_temp.Path().size(), 'p') + ".bmp";
    std::string path = WriteBmp(name);
    ASSERT_GT(path.size(), 199u);
    ASSERT_LT(path.size(), static_cast<size_t>(MAX_PATH));

    PostChars(m_pFrame->m_hWnd, "\"" + path + "\"");
    Pump();
    ASSERT_NE(ActiveDocument(), nullptr);
    EXPECT_EQ(std::string(ActiveDocument()->GetPathName()), path);

    // A lone zero (a second start without arguments) opens nothing; the next path starts afresh.
    PostChars(m_pFrame->m_hWnd, "");
    Pump();
    EXPECT_EQ(Children().size(), 1u);
    std::string other = WriteBmp("other.bmp");
    PostChars(m_pFrame->m_hWnd, other);
    Pump();
    EXPECT_EQ(std::string(ActiveDocument()->GetPathName()), other);
    EXPECT_TRUE(m_pFrame->GetHandOverText().IsEmpty());
}

TEST_F(AppTest, StatusBarLayoutFollowsTheKindOfTheActiveView)
{
    ASSERT_TRUE(Start());
    CStatusBarEx* pBar = m_pFrame->GetStatusBar();
    m_pFrame->OnIdleUpdate();
    EXPECT_EQ(m_pFrame->GetStatusMode(), kStatusNoView);
    EXPECT_EQ(PaneIds(pBar), (std::vector<UINT>{0, ID_INDICATOR_INFO, ID_INDICATOR_CAPS, ID_INDICATOR_NUM}));

    ASSERT_NE(m_pApp->OpenDocumentFile(WriteBmp("still.bmp").c_str()), nullptr);
    m_pFrame->OnIdleUpdate();
    EXPECT_EQ(m_pFrame->GetStatusMode(), kStatusPicture);
    EXPECT_EQ(PaneIds(pBar), (std::vector<UINT>{0, ID_INDICATOR_INFO, ID_INDICATOR_NUM, ID_INDICATOR_NUM,
                                                ID_INDICATOR_CAPS, ID_INDICATOR_INFO}));
    EXPECT_TRUE(OwnerDrawn(pBar, 5));
    EXPECT_FALSE(OwnerDrawn(pBar, 1));
    EXPECT_STREQ(pBar->GetPaneText(1), "16 x 8 - 16,8M couleurs - Zoom 100 %");

    ASSERT_NE(m_pApp->OpenDocumentFile(WriteGif("moving.gif").c_str()), nullptr);
    m_pFrame->OnIdleUpdate();
    EXPECT_EQ(m_pFrame->GetStatusMode(), kStatusAnimation);
    for (int i = 2; i <= 5; i++)
        EXPECT_TRUE(OwnerDrawn(pBar, i)) << i;

    ASSERT_NE(m_pApp->OpenDocumentFile(m_temp.Path().c_str()), nullptr);
    m_pFrame->OnIdleUpdate();
    EXPECT_EQ(m_pFrame->GetStatusMode(), kStatusExplorer);
    EXPECT_EQ(pBar->GetCount(), 4);
    EXPECT_TRUE(OwnerDrawn(pBar, 3));

    for (CMDIChildWnd* pChild : Children())
        pChild->SendMessage(WM_CLOSE);
    Pump();
    m_pFrame->OnIdleUpdate();
    EXPECT_EQ(m_pFrame->GetStatusMode(), kStatusNoView);
    EXPECT_EQ(pBar->GetCount(), 4);
    EXPECT_STREQ(pBar->GetPaneText(1), "");
}

TEST_F(AppTest, DispatcherOrderOfWork)
{
    ASSERT_TRUE(Start());
    CLibraryBar* pLibrary = m_pFrame->GetLibraryBar();

    // Minimised: nothing but waiting.
    m_pFrame->ShowWindow(SW_MINIMIZE);
    int nSteps = pLibrary->m_nIdleSteps;
    g_bArrangePending = TRUE;
    m_pFrame->OnIdleUpdate();
    EXPECT_EQ(pLibrary->m_nIdleSteps, nSteps);
    EXPECT_TRUE(g_bArrangePending);
    m_pFrame->ShowWindow(SW_RESTORE);

    // A pass: the library bar's step, the pending arrangement taken.
    m_pFrame->OnIdleUpdate();
    EXPECT_EQ(pLibrary->m_nIdleSteps, nSteps + 1);
    EXPECT_FALSE(g_bArrangePending);

    // A timer message while a pass runs (from a modal loop inside it) starts no second pass.
    g_bInDispatch = TRUE;
    m_pFrame->SendMessage(WM_TIMER, 1, 0);
    EXPECT_EQ(pLibrary->m_nIdleSteps, nSteps + 1);
    g_bInDispatch = FALSE;
    m_pFrame->SendMessage(WM_TIMER, 1, 0);
    EXPECT_EQ(pLibrary->m_nIdleSteps, nSteps + 2);
    EXPECT_FALSE(g_bInDispatch);

    // An animation shown full screen stops the pass before the status bar follows the view.
    ASSERT_NE(m_pApp->OpenDocumentFile(WriteGif("moving.gif").c_str()), nullptr);
    CGifView* pGifView = static_cast<CGifView*>(m_pFrame->MDIGetActive()->GetActiveView());
    ASSERT_TRUE(pGifView->IsKindOf(RUNTIME_CLASS(CGifView)));
    m_pFrame->SetFullScreenView(pGifView);
    m_pFrame->OnIdleUpdate();
    EXPECT_EQ(m_pFrame->GetStatusMode(), kStatusNoView);
    m_pFrame->SetFullScreenView(nullptr);
    m_pFrame->OnIdleUpdate();
    EXPECT_EQ(m_pFrame->GetStatusMode(), kStatusAnimation);

    // Explorer views get their idle step on every pass.
    ASSERT_NE(m_pApp->OpenDocumentFile(m_temp.Path().c_str()), nullptr);
    CView* pExplorer = m_pFrame->MDIGetActive()->GetActiveView();
    ASSERT_TRUE(pExplorer->IsKindOf(RUNTIME_CLASS(CExplorerView)));
    int nExplorerSteps = static_cast<CExplorerView*>(pExplorer)->m_nIdleSteps;
    m_pFrame->OnIdleUpdate();
    m_pFrame->OnIdleUpdate();
    EXPECT_EQ(static_cast<CExplorerView*>(pExplorer)->m_nIdleSteps, nExplorerSteps + 2);

    // So does one that opened behind the window in front, between two passes.
    CMDIChildWnd* pFront = m_pFrame->MDIGetActive();
    ::CreateDirectoryA(m_temp.File("derriere").c_str(), nullptr);
    ASSERT_NE(m_pApp->OpenDocumentFile(m_temp.File("derriere").c_str()), nullptr);
    auto* pBehind = static_cast<CExplorerView*>(m_pFrame->MDIGetActive()->GetActiveView());
    ASSERT_NE(pBehind, pExplorer);
    ASSERT_TRUE(pBehind->IsKindOf(RUNTIME_CLASS(CExplorerView)));
    m_pFrame->MDIActivate(pFront);
    int nBehindSteps = pBehind->m_nIdleSteps;
    m_pFrame->OnIdleUpdate();
    EXPECT_EQ(pBehind->m_nIdleSteps, nBehindSteps + 1);
}

TEST_F(AppTest, ViewAreaIsSharedBetweenPicturesAndExplorers)
{
    PutSetting("specs", "ReorganizeType", 1);
    PutSetting("specs", "AutoReorganize", 0);
    ASSERT_TRUE(Start());
    m_pFrame->ShowWindow(SW_RESTORE);
    m_pFrame->SetWindowPos(nullptr, 0, 0, 900, 600, SWP_NOZORDER);
    CRect client;
    ::GetClientRect(m_pFrame->m_hWndMDIClient, &client);
    ASSERT_GT(client.Width(), client.Height());

    CRect area(1, 2, 3, 4);
    m_pFrame->ComputeViewArea(&area, 1, FALSE);
    EXPECT_EQ(area, client) << "alone, any kind of view has the whole area";

    ASSERT_NE(m_pApp->OpenDocumentFile(WriteBmp("left.bmp").c_str()), nullptr);
    ASSERT_NE(m_pApp->OpenDocumentFile(m_temp.Path().c_str()), nullptr);
    EXPECT_EQ(m_pFrame->CountViews(kImageViewArea, nullptr), 1);
    EXPECT_EQ(m_pFrame->CountViews(kExplorerViewArea, nullptr), 1);
    m_pFrame->ComputeViewArea(&area, 1, FALSE);
    EXPECT_EQ(area, CRect(0, 0, client.right / 2, client.bottom));
    m_pFrame->ComputeViewArea(&area, 2, FALSE);
    EXPECT_EQ(area, CRect(client.right / 2 + 1, 0, client.right, client.bottom));

    // "ReorganizeType" 0: one area for all.
    g_ReorganizeType = 0;
    m_pFrame->ComputeViewArea(&area, 2, FALSE);
    EXPECT_EQ(area, client);

    // A minimised window keeps a row of 24 pixels free at the bottom.
    m_pFrame->MDIGetActive()->ShowWindow(SW_MINIMIZE);
    int nIconic = 0;
    EXPECT_EQ(m_pFrame->CountViews(kExplorerViewArea, &nIconic), 0);
    EXPECT_EQ(nIconic, 1);
    m_pFrame->ComputeViewArea(&area, 0, FALSE);
    EXPECT_EQ(area.bottom, client.bottom - 24);
    m_pFrame->ComputeViewArea(&area, 0, TRUE);
    EXPECT_EQ(area.bottom, client.bottom);
}

// The main frame knows the views only by what they answer: every kind of window answers its area,
// shows its own status layout, and is counted and ranked among the views of its kind.
TEST_F(AppTest, EveryKindOfViewAnswersTheFrameMessages)
{
    PutSetting("specs", "AutoReorganize", 0);
    ASSERT_TRUE(Start());
    struct Kind {
        const char* name;
        int area;
        int status;
    };
    const Kind kinds[] = {{"picture", kImageViewArea, kStatusPicture},
                          {"animation", kImageViewArea, kStatusAnimation},
                          {"explorer", kExplorerViewArea, kStatusExplorer},
                          {"search", kExplorerViewArea, kStatusExplorer}};
    std::vector<CView*> views;
    for (const Kind& kind : kinds) {
        std::string name = kind.name;
        if (name == "picture")
            m_pApp->OpenDocumentFile(WriteBmp("still.bmp").c_str());
        else if (name == "animation")
            m_pApp->OpenDocumentFile(WriteGif("moving.gif").c_str());
        else if (name == "explorer")
            m_pApp->OpenDocumentFile(m_temp.Path().c_str());
        else
            m_pApp->NewSearchWindow();
        Pump();
        ASSERT_NE(m_pFrame->MDIGetActive(), nullptr) << name;
        CView* pView = m_pFrame->MDIGetActive()->GetActiveView();
        ASSERT_NE(pView, nullptr) << name;
        EXPECT_EQ(pView->SendMessage(WM_VIEWKIND), kind.area) << name;
        m_pFrame->SetStatusMode(kStatusNoView);
        m_pFrame->OnIdleUpdate();
        EXPECT_EQ(m_pFrame->GetStatusMode(), kind.status) << name;
        views.push_back(pView);
    }
    EXPECT_EQ(m_pFrame->CountViews(kImageViewArea, nullptr), 2);
    EXPECT_EQ(m_pFrame->CountViews(kExplorerViewArea, nullptr), 2);
    // Ranks from the active window (the last opened) on, each kind apart.
    EXPECT_EQ(m_pFrame->GetViewIndex(views[0], kImageViewArea), 1);
    EXPECT_EQ(m_pFrame->GetViewIndex(views[1], kImageViewArea), 0);
    EXPECT_EQ(m_pFrame->GetViewIndex(views[2], kExplorerViewArea), 1);
    EXPECT_EQ(m_pFrame->GetViewIndex(views[3], kExplorerViewArea), 0);
}

TEST_F(AppTest, BarCommandsShowAndHideTheBars)
{
    ASSERT_TRUE(Start());
    CLibraryBar* pLibrary = m_pFrame->GetLibraryBar();
    ASSERT_TRUE(pLibrary->IsWindowVisible());
    m_pFrame->SendMessage(WM_COMMAND, ID_VIEW_LIBRARY_BAR, 0);
    Pump();
    EXPECT_FALSE(pLibrary->IsWindowVisible());
    m_pFrame->SendMessage(WM_COMMAND, ID_VIEW_LIBRARY_BAR, 0);
    Pump();
    EXPECT_TRUE(pLibrary->IsWindowVisible());

    g_bArrangePending = FALSE;
    m_pFrame->SendMessage(WM_COMMAND, ID_VIEW_STATUS_BAR, 0);
    Pump();
    EXPECT_FALSE(m_pFrame->GetStatusBar()->IsWindowVisible());
    EXPECT_TRUE(g_bArrangePending);

    // Automatic arrangement is a toggle whose pending request follows it.
    int nBefore = g_bAutoReorganize;
    m_pFrame->SendMessage(WM_COMMAND, ID_WINDOW_AUTO_REORGANIZE, 0);
    EXPECT_NE(g_bAutoReorganize, nBefore);
    EXPECT_EQ(g_bArrangePending, g_bAutoReorganize);
}

TEST_F(AppTest, PaletteQueriesGoToTheActiveView)
{
    ASSERT_TRUE(Start());
    EXPECT_FALSE(m_pFrame->SendMessage(WM_QUERYNEWPALETTE));
    ASSERT_NE(m_pApp->OpenDocumentFile(WriteBmp("palette.bmp").c_str()), nullptr);
    EXPECT_TRUE(m_pFrame->SendMessage(WM_QUERYNEWPALETTE));
}

// A list window asked to realise its palette for itself does it in the foreground, except while the
// splash shows.
TEST_F(AppTest, ListWindowsRealiseTheirPalettesInTheBackgroundWhileTheSplashShows)
{
    ASSERT_TRUE(Start());
    ASSERT_NE(m_pApp->OpenDocumentFile(m_temp.Path().c_str()), nullptr);
    CView* pExplorer = m_pFrame->MDIGetActive()->GetActiveView();
    ASSERT_TRUE(pExplorer->IsKindOf(RUNTIME_CLASS(CExplorerView)));
    g_pfnSystemSelectPalette = g_importedSelectPalette;
    PointSelectPaletteAt(RecordSelectPalette);
    for (CWnd* pWnd : {static_cast<CWnd*>(pExplorer), static_cast<CWnd*>(m_pFrame->GetLibraryBar())}) {
        for (BOOL bSplash : {FALSE, TRUE}) {
            g_bSplashUp = bSplash;
            g_paletteBackground.clear();
            pWnd->SendMessage(WM_PALETTEREALIZE, reinterpret_cast<WPARAM>(pWnd->m_hWnd));
            EXPECT_EQ(g_paletteBackground.empty() ? -1 : g_paletteBackground[0], bSplash)
                << pWnd->GetRuntimeClass()->m_lpszClassName;
        }
    }
    g_bSplashUp = FALSE;
    PointSelectPaletteAt(g_pfnSystemSelectPalette);
}

TEST_F(AppTest, ChildFramesTitleTheirPictures)
{
    ASSERT_TRUE(Start());
    ASSERT_NE(m_pApp->OpenDocumentFile(WriteBmp("titled.bmp", 20, 10).c_str()), nullptr);
    CMDIChildWnd* pChild = m_pFrame->MDIGetActive();
    ASSERT_TRUE(pChild->IsKindOf(RUNTIME_CLASS(CDibDocMDI)));
    CString strTitle;
    pChild->GetWindowText(strTitle);
    EXPECT_STREQ(strTitle, "TITLED.BMP (20x10 - 16,8M couleurs)");
    // The main window keeps its own title; the caption shows the document.
    m_pFrame->GetWindowText(strTitle);
    EXPECT_STREQ(strTitle, m_pFrame->GetTitle());

    // The GIF has several frames: its title says so, and whether it plays.
    ASSERT_NE(m_pApp->OpenDocumentFile(WriteGif("anim.gif").c_str()), nullptr);
    pChild = m_pFrame->MDIGetActive();
    ASSERT_TRUE(pChild->IsKindOf(RUNTIME_CLASS(CGifDocMDI)));
    static_cast<COrvanelMDI*>(pChild)->UpdateTitle();
    pChild->GetWindowText(strTitle);
    EXPECT_EQ(std::string(strTitle).rfind("ANIM.GIF ", 0), 0u) << strTitle;
}

TEST_F(AppTest, ChildFramesAskForArrangementWhenTheyCloseOrRestore)
{
    ASSERT_TRUE(Start());
    ASSERT_NE(m_pApp->OpenDocumentFile(WriteBmp("closing.bmp").c_str()), nullptr);
    CMDIChildWnd* pChild = m_pFrame->MDIGetActive();
    ASSERT_NE(pChild, nullptr);

    g_bArrangePending = FALSE;
    // A restore by double click carries low bits.
    pChild->SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(g_bArrangePending);
    g_bArrangePending = FALSE;
    pChild->SendMessage(WM_SYSCOMMAND, SC_RESTORE | 2, 0);
    EXPECT_TRUE(g_bArrangePending);

    g_bArrangePending = FALSE;
    MSG msg;
    while (::PeekMessageA(&msg, m_pFrame->m_hWnd, WM_CAPTIONRESET, WM_CAPTIONRESET, PM_REMOVE)) {
    }
    pChild->SendMessage(WM_CLOSE);
    EXPECT_TRUE(g_bArrangePending);
    EXPECT_TRUE(::PeekMessageA(&msg, m_pFrame->m_hWnd, WM_CAPTIONRESET, WM_CAPTIONRESET, PM_REMOVE));
    EXPECT_TRUE(Children().empty());
}

TEST_F(AppTest, MaximiseOnOpenMaximisesOnlyTheFirstDisplay)
{
    PutSetting("prefs", "MaximiseOnOpen", 1);
    ASSERT_TRUE(Start());
    ASSERT_NE(m_pApp->OpenDocumentFile(WriteBmp("big.bmp").c_str()), nullptr);
    COrvanelMDI* pChild = static_cast<COrvanelMDI*>(m_pFrame->MDIGetActive());
    EXPECT_TRUE(pChild->IsZoomed());
    EXPECT_FALSE(pChild->m_bFirstActivation);
    pChild->ActivateFrame(SW_SHOWNORMAL);
    EXPECT_FALSE(pChild->IsZoomed());
}

TEST_F(AppTest, LocalToolBarsFollowTheirSetting)
{
    PutSetting("prefs", "ShowDibToolBar", 0);
    ASSERT_TRUE(Start());
    ASSERT_NE(m_pApp->OpenDocumentFile(WriteBmp("bare.bmp").c_str()), nullptr);
    auto* pDibFrame = static_cast<CDibDocMDI*>(m_pFrame->MDIGetActive());
    ASSERT_TRUE(::IsWindow(pDibFrame->m_wndToolBar.m_hWnd));
    EXPECT_FALSE(pDibFrame->m_wndToolBar.IsWindowVisible());
    ASSERT_NE(m_pApp->OpenDocumentFile(WriteGif("bare.gif").c_str()), nullptr);
    auto* pGifFrame = static_cast<CGifDocMDI*>(m_pFrame->MDIGetActive());
    EXPECT_FALSE(pGifFrame->m_wndToolBar.IsWindowVisible());
    ASSERT_NE(m_pApp->OpenDocumentFile(m_temp.Path().c_str()), nullptr);
    auto* pExplorerFrame = static_cast<CExplorerMDI*>(m_pFrame->MDIGetActive());
    EXPECT_TRUE(pExplorerFrame->m_wndToolBar.IsWindowVisible());
    // The view stays the frame's first child, above the tool bar.
    EXPECT_EQ(::GetTopWindow(pExplorerFrame->m_hWnd), pExplorerFrame->GetActiveView()->m_hWnd);
}

TEST_F(AppTest, AnimationBarRelaysItsSliderAndSpeedsToTheView)
{
    ASSERT_TRUE(Start());
    ASSERT_NE(m_pApp->OpenDocumentFile(WriteGif("relay.gif").c_str()), nullptr);
    auto* pFrame = static_cast<CGifDocMDI*>(m_pFrame->MDIGetActive());
    ASSERT_TRUE(pFrame->IsKindOf(RUNTIME_CLASS(CGifDocMDI)));
    auto* pView = static_cast<CGifView*>(pFrame->GetActiveView());

    CComboBox& speeds = pFrame->m_wndToolBar.m_wndSpeed;
    ASSERT_EQ(speeds.GetCount(), 13);
    CString strFirst, strLast;
    speeds.GetLBText(0, strFirst);
    speeds.GetLBText(12, strLast);
    EXPECT_STREQ(strFirst, "1 ips");
    EXPECT_STREQ(strLast, "50 ips");

    int nLast = pView->GetFrameCount() - 1;
    pFrame->m_wndToolBar.m_wndSlider.SetPos(nLast);
    pFrame->m_wndToolBar.SendMessage(WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, nLast),
                                     reinterpret_cast<LPARAM>(pFrame->m_wndToolBar.m_wndSlider.m_hWnd));
    EXPECT_EQ(pView->GetCurrentFrame(), nLast);
    speeds.SetCurSel(4);
    pFrame->m_wndToolBar.SendMessage(WM_COMMAND, MAKEWPARAM(ID_ANIM_SPEED, CBN_SELCHANGE),
                                     reinterpret_cast<LPARAM>(speeds.m_hWnd));
    EXPECT_EQ(pView->GetInterval(), 1000 / 5);
}
