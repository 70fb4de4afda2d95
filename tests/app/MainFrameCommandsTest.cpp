// The main frame's commands: the library commands forwarded only while the library bar shows,
// the preferences applied after OK only, the arrangement modes, the tool-bar toggle, and pasting a
// clipboard picture (checked before use) as a new picture that asks before it is lost.
#include "tests/app/AppFixture.h"
#include "tests/app/RealInput.h"

#include "shell/Settings.h"
#include "core/PackedDib.h"
#include "framework/CmdUI.h"
#include "framework/DockBar.h"
#include "framework/Document.h"
#include "framework/MDIChildWnd.h"
#include "framework/View.h"
#include "framework/TestSeams.h"
#include "framework/WinThread.h"
#include "resources/resource.h"

#include <cstring>
#include <vector>

namespace {

const UINT kLibraryCommands[] = {ID_LIB_SELECT_PATTERN,
                                 ID_LIB_SELECT_ALL,
                                 ID_LIB_INVERT_SELECTION,
                                 ID_LIB_DESELECT_PATTERN,
                                 ID_LIB_DESELECT_ALL,
                                 ID_LIB_VIEW_LARGE,
                                 ID_LIB_VIEW_MEDIUM,
                                 ID_LIB_VIEW_LIST,
                                 ID_LIB_VIEW_SMALL,
                                 ID_LIB_SORT_ASCENDING,
                                 ID_LIB_SORT_DESCENDING,
                                 ID_LIB_SORT_SIZE,
                                 ID_LIB_SORT_NAME,
                                 ID_LIB_SORT_TYPE,
                                 ID_LIB_SORT_DATE,
                                 ID_LIB_VIEW_MENU,
                                 ID_LIB_PROPERTIES,
                                 ID_LIB_OPEN_PICTURE,
                                 ID_LIB_SELECTION_MENU,
                                 ID_LIB_PARENT_FOLDER,
                                 ID_LIB_ADD_UNCOMPRESSED,
                                 ID_LIB_ADD_JPEG,
                                 ID_LIB_ADD_PNG,
                                 ID_LIB_RENAME,
                                 ID_LIB_RECOVER,
                                 ID_LIB_EMPTY_DELETED,
                                 ID_LIB_ERASE,
                                 ID_LIB_REFRESH,
                                 ID_LIB_OPEN_FOLDER,
                                 ID_LIB_OPEN_FULLSCREEN,
                                 ID_LIB_AUTO_FULLSCREEN,
                                 ID_LIB_SLIDESHOW,
                                 ID_LIB_IMPORT,
                                 ID_LIB_EXPORT,
                                 ID_LIB_COPY,
                                 ID_LIB_PRINT,
                                 ID_LIB_EDIT_PICTURE,
                                 ID_LIB_NEW_FOLDER,
                                 ID_LIB_DELETE,
                                 ID_LIB_RESERVED1,
                                 ID_LIB_RESERVED2};

// A packed DIB of 8 x 4 pixels, 24 bits, in a GMEM block as the clipboard wants it.
HGLOBAL MakeClipDib(LONG width, LONG height, WORD bits, DWORD extraBytes = 0, DWORD headerSize = 40)
{
    DWORD rowBytes = ((static_cast<DWORD>(width) * bits + 31) / 32) * 4;
    DWORD colors = bits <= 8 ? (1u << bits) : 0;
    DWORD rows = static_cast<DWORD>(height < 0 ? -height : height);
    SIZE_T size = headerSize + colors * 4 + rowBytes * rows + extraBytes;
    HGLOBAL hDib = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    BYTE* p = static_cast<BYTE*>(::GlobalLock(hDib));
    BITMAPINFOHEADER header = {};
    header.biSize = headerSize;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = bits;
    std::memcpy(p, &header, sizeof(header));
    // First row in memory: white.
    std::memset(p + headerSize + colors * 4, 0xFF, rowBytes);
    ::GlobalUnlock(hDib);
    return hDib;
}

// The clipboard afterwards holds exactly these formats (the blocks go to the clipboard).
void PutOnClipboard(HWND hOwner, std::vector<std::pair<UINT, HANDLE>> formats)
{
    // The system may still be busy with the last clipboard change: a few tries.
    bool opened = false;
    for (int i = 0; i < 50 && !opened; i++) {
        opened = ::OpenClipboard(hOwner) != FALSE;
        if (!opened) {
            AfxPumpPendingMessages();
            ::Sleep(20);
        }
    }
    ASSERT_TRUE(opened);
    ::EmptyClipboard();
    for (auto& format : formats)
        ::SetClipboardData(format.first, format.second);
    ::CloseClipboard();
}

} // namespace

TEST_F(AppTest, LibraryCommandsReachTheBarOnlyWhileItShows)
{
    ASSERT_TRUE(Start());
    CLibraryBar* pBar = m_pFrame->GetLibraryBar();
    AfxShowControlBar(m_pFrame, pBar, TRUE, FALSE);
    for (UINT nID : kLibraryCommands) {
        // The bar decides: the frame gives exactly the state of the bar's own update handler.
        CRecordingCmdUI ui;
        ui.m_nID = nID;
        pBar->OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &ui, nullptr);
        EXPECT_EQ(UpdateOf(m_pFrame, nID), ui.enabled) << nID;
    }
    EXPECT_TRUE(m_pFrame->ForwardLibCommand(ID_LIB_REFRESH));
    // A command chosen in the main window arrives at the bar, and only while the bar shows.
    int autoFullScreen = g_PleinEcranAutoLibBar;
    m_pFrame->SendMessage(WM_COMMAND, ID_LIB_AUTO_FULLSCREEN);
    EXPECT_EQ(g_PleinEcranAutoLibBar, autoFullScreen ? 0 : 1);

    AfxShowControlBar(m_pFrame, pBar, FALSE, FALSE);
    for (UINT nID : kLibraryCommands)
        EXPECT_EQ(UpdateOf(m_pFrame, nID), 0) << nID;
    m_pFrame->SendMessage(WM_COMMAND, ID_LIB_AUTO_FULLSCREEN);
    EXPECT_EQ(g_PleinEcranAutoLibBar, autoFullScreen ? 0 : 1);
    EXPECT_FALSE(m_pFrame->ForwardLibCommand(ID_LIB_REFRESH));
    EXPECT_FALSE(m_pFrame->ForwardLibCommand(ID_LIB_EDIT_PICTURE));
}

TEST_F(AppTest, PreferencesCancelChangesNothingAndOKSwitchesTheBars)
{
    PutSetting("prefs", "UseCoolBar", 0);
    PutSetting("prefs", "ShowRecents", 1);
    PutSettingText("CoolBarList", "1", "C:\\un.bmp");
    ASSERT_TRUE(Start());
    g_TauxJPEG = 40;
    AfxModalStep cancel;
    cancel.buttonId = IDCANCEL;
    AfxScriptModal(IDS_PREFERENCES_CAPTION, {cancel});
    m_pFrame->SendMessage(WM_COMMAND, ID_PREFERENCES, 0);
    EXPECT_EQ(g_UseCoolBar, 0);
    EXPECT_EQ(g_TauxJPEG, 40);
    EXPECT_FALSE(::IsWindow(m_pFrame->GetCoolBar()->m_hWnd));

    // The cool bar turned on by the tool-bar page: made and shown, the standard bar hidden.
    g_UseCoolBar = 1;
    m_pFrame->ApplyToolBarSettings(0, g_ShowRecents, g_CoolBarAnimation, g_CoolBarText, g_CoolBarBitmap);
    ASSERT_TRUE(::IsWindow(m_pFrame->GetCoolBar()->m_hWnd));
    EXPECT_TRUE(m_pFrame->GetCoolBar()->GetStyle() & WS_VISIBLE);
    EXPECT_FALSE(m_pFrame->GetToolBar()->GetStyle() & WS_VISIBLE);
    ASSERT_NE(CMyCoolBar::GetRecentCombo(), nullptr);
    EXPECT_EQ(::SendMessageA(CMyCoolBar::GetRecentCombo(), CB_GETCOUNT, 0, 0), 1); // filled at once

    // "Récents" off: the band goes and the bar's rows and first width are kept.
    g_ShowRecents = 0;
    g_CoolBarBandCX = -5;
    m_pFrame->ApplyToolBarSettings(1, 1, g_CoolBarAnimation, g_CoolBarText, g_CoolBarBitmap);
    EXPECT_EQ(m_pFrame->GetCoolBar()->FindBand(ID_COOLBAND_RECENTS), -1);
    EXPECT_EQ(CMyCoolBar::GetRecentCombo(), nullptr);
    EXPECT_GE(g_CoolBarBandCX, 0);
    g_ShowRecents = 1;
    m_pFrame->ApplyToolBarSettings(1, 0, g_CoolBarAnimation, g_CoolBarText, g_CoolBarBitmap);
    EXPECT_GE(m_pFrame->GetCoolBar()->FindBand(ID_COOLBAND_RECENTS), 0);

    // Back to the standard tool bar.
    g_UseCoolBar = 0;
    m_pFrame->ApplyToolBarSettings(1, g_ShowRecents, g_CoolBarAnimation, g_CoolBarText, g_CoolBarBitmap);
    EXPECT_FALSE(m_pFrame->GetCoolBar()->GetStyle() & WS_VISIBLE);
    EXPECT_TRUE(m_pFrame->GetToolBar()->GetStyle() & WS_VISIBLE);
}

namespace {

int ScreenOf32Bits() { return 32; }

// A page of the sheet chosen, then its controls changed as the user would: a click on each button
// (a check box toggles, a radio button is chosen, a colour button asks its colour), a text typed
// into each edit.
AfxModalStep OnPage(int page, std::vector<int> clicks, std::vector<std::pair<int, std::string>> texts)
{
    AfxModalStep step;
    step.page = page;
    step.buttonId = 0;
    step.check = [clicks, texts](CWnd* pSheet) {
        HWND hPage =
            reinterpret_cast<HWND>(::SendMessageA(pSheet->GetSafeHwnd(), PSM_GETCURRENTPAGEHWND, 0, 0));
        for (int id : clicks)
            ::SendMessageA(::GetDlgItem(hPage, id), BM_CLICK, 0, 0);
        for (const auto& text : texts)
            ::SetWindowTextA(::GetDlgItem(hPage, text.first), text.second.c_str());
    };
    return step;
}

} // namespace

// Every setting of every page changed, then OK: each comes back into its setting, and the cool bar,
// switched on, is built with the tool band's height for buttons without text.
TEST_F(AppTest, PreferencesOKStoresEverySettingOfEveryPage)
{
    PutSetting("prefs", "UseCoolBar", 0);
    ASSERT_TRUE(Start());
    AfxPlatform().pfnScreenBitsPerPixel = ScreenOf32Bits;
    g_CoolBarAnimation = g_CoolBarText = g_ShowRecents = g_ShowDibToolBar = g_ShowExplorerToolBar = 1;
    g_CoolBarBitmap = 0;
    g_ShowWelcome = g_ExplorerAuto = g_ShowInfoSuppress = g_ShowWarnColor16 = 1;
    g_ShowWarnComponents = g_ShowWarnAssoc = g_MaximiseOnOpen = 0;
    g_LibrarianLocation = "C:\\Biblioth\xE8que\\";
    g_DefaultEditorPathName = "";
    g_CouleurView = RGB(64, 64, 64);
    g_CouleurPleinEcran = 0;
    g_CouleursJPEG = 2;
    g_TauxJPEG = 50;
    g_PhotoCDSize = 2;
    g_DefaultWmfCX = 640;
    g_DefaultWmfCY = 480;
    for (COLORREF color : {RGB(1, 2, 3), RGB(250, 240, 230)}) {
        AfxCommonDialogAnswer answer;
        answer.ok = true;
        answer.color = color;
        AfxScriptCommonDialog(AfxCommonDialogKind::Color, answer);
    }
    AfxScriptModal(IDS_PREFERENCES_CAPTION,
                   {OnPage(0,
                           {IDC_GEN_SHOW_WELCOME, IDC_GEN_EXPLORER_AUTO, IDC_GEN_INFO_SUPPRESS,
                            IDC_GEN_WARN_COLOR16, IDC_GEN_WARN_COMPONENTS, IDC_GEN_WARN_ASSOC,
                            IDC_GEN_MAXIMISE, IDC_GEN_COLOR_VIEW, IDC_GEN_COLOR_FULLSCREEN},
                           {}),
                    OnPage(1,
                           {IDC_TB_COOLBAR, IDC_TB_ANIMATION, IDC_TB_BITMAP, IDC_TB_TEXT, IDC_TB_RECENTS,
                            IDC_TB_DIB_BARS, IDC_TB_EXPLORER_BARS},
                           {}),
                    OnPage(2, {}, {{IDC_PATH_EDIT, "D:\\Photos\\"}}),
                    OnPage(3, {}, {{IDC_PATH_EDIT, "C:\\Outils\\retouche.exe"}}),
                    OnPage(4, {IDC_JPEG_COLORS_8}, {{IDC_JPEG_RATE, "25"}}), OnPage(5, {IDC_PCD_MAXI}, {}),
                    OnPage(6, {}, {{IDC_WMF_WIDTH, "1024"}, {IDC_WMF_HEIGHT, "768"}}), AfxModalStep()});
    m_pFrame->SendMessage(WM_COMMAND, ID_PREFERENCES, 0);
    EXPECT_EQ(AfxTestPendingScripts(), "");

    EXPECT_EQ((std::vector<int>{g_CoolBarAnimation, g_CoolBarBitmap, g_CoolBarText, g_ShowRecents,
                                g_UseCoolBar, g_ShowDibToolBar, g_ShowExplorerToolBar}),
              (std::vector<int>{0, 1, 0, 0, 1, 0, 0}));
    EXPECT_EQ(std::string(g_LibrarianLocation), "D:\\Photos\\");
    EXPECT_EQ(std::string(g_DefaultEditorPathName), "C:\\Outils\\retouche.exe");
    EXPECT_EQ((std::vector<int>{g_ShowWelcome, g_ExplorerAuto, g_ShowInfoSuppress, g_ShowWarnColor16,
                                g_ShowWarnComponents, g_ShowWarnAssoc, g_MaximiseOnOpen}),
              (std::vector<int>{0, 0, 0, 0, 1, 1, 1}));
    EXPECT_EQ(g_CouleurView, RGB(1, 2, 3));
    EXPECT_EQ(g_CouleurPleinEcran, RGB(250, 240, 230));
    EXPECT_EQ((std::vector<int>{g_CouleursJPEG, g_TauxJPEG, g_PhotoCDSize, g_DefaultWmfCX, g_DefaultWmfCY}),
              (std::vector<int>{1, 25, 3, 1024, 768}));

    CMyCoolBar* pCool = m_pFrame->GetCoolBar();
    ASSERT_TRUE(::IsWindow(pCool->m_hWnd));
    EXPECT_TRUE(pCool->GetStyle() & WS_VISIBLE);
    REBARBANDINFOA band = {};
    band.cbSize = sizeof(band);
    band.fMask = RBBIM_CHILDSIZE;
    ASSERT_TRUE(pCool->SendMessage(RB_GETBANDINFOA, static_cast<WPARAM>(pCool->FindBand(ID_COOLBAND_TOOLS)),
                                   reinterpret_cast<LPARAM>(&band)));
    EXPECT_EQ(band.cyMinChild, 26u);
}

TEST_F(AppTest, ArrangementModesAskForPlacingOnlyWhenTheyChange)
{
    ASSERT_TRUE(Start());
    g_ReorganizeType = 1;
    g_bArrangePending = FALSE;
    m_pFrame->SendMessage(WM_COMMAND, ID_WINDOW_MOSAIC, 0);
    EXPECT_FALSE(g_bArrangePending);
    m_pFrame->SendMessage(WM_COMMAND, ID_WINDOW_FULL, 0);
    EXPECT_TRUE(g_bArrangePending);
    EXPECT_EQ(g_ReorganizeType, 0);
    g_bArrangePending = FALSE;
    m_pFrame->SendMessage(WM_COMMAND, ID_WINDOW_FULL, 0);
    EXPECT_FALSE(g_bArrangePending);
}

TEST_F(AppTest, ToolBarToggleActsOnTheCoolBarWhenItIsInUse)
{
    PutSetting("prefs", "UseCoolBar", 1);
    ASSERT_TRUE(Start());
    CControlBar* pCool = m_pFrame->GetCoolBar();
    ASSERT_TRUE(pCool->GetStyle() & WS_VISIBLE);
    m_pFrame->SendMessage(WM_COMMAND, ID_VIEW_STANDARD_TOOLBAR, 0);
    EXPECT_FALSE(pCool->GetStyle() & WS_VISIBLE);
    EXPECT_FALSE(m_pFrame->GetToolBar()->GetStyle() & WS_VISIBLE);
    m_pFrame->SendMessage(WM_COMMAND, ID_VIEW_STANDARD_TOOLBAR, 0);
    EXPECT_TRUE(pCool->GetStyle() & WS_VISIBLE);
    EXPECT_FALSE(m_pFrame->GetToolBar()->GetStyle() & WS_VISIBLE);
}

TEST(ClipboardDib, AMalformedPictureIsRefusedAndOthersAreMadePlain)
{
    HGLOBAL hGood = MakeClipDib(8, 4, 24);
    PackedDIB hCopy = CopyClipboardDIB(hGood);
    ASSERT_NE(hCopy, nullptr);
    GlobalFreeHandle(hCopy);

    HGLOBAL hShort = MakeClipDib(8, 4, 24);
    HGLOBAL hSmall = ::GlobalReAlloc(hShort, 60, GMEM_MOVEABLE); // rows cut off
    ASSERT_NE(hSmall, nullptr);
    EXPECT_EQ(CopyClipboardDIB(hSmall), nullptr);
    ::GlobalFree(hSmall);

    HGLOBAL hHuge = MakeClipDib(8, 4, 24);
    BITMAPINFOHEADER* p = static_cast<BITMAPINFOHEADER*>(::GlobalLock(hHuge));
    p->biWidth = 0x7FFFFFF0; // claims far more than the block holds
    ::GlobalUnlock(hHuge);
    EXPECT_EQ(CopyClipboardDIB(hHuge), nullptr);
    p = static_cast<BITMAPINFOHEADER*>(::GlobalLock(hHuge));
    p->biWidth = 8;
    p->biBitCount = 7;
    ::GlobalUnlock(hHuge);
    EXPECT_EQ(CopyClipboardDIB(hHuge), nullptr);
    p = static_cast<BITMAPINFOHEADER*>(::GlobalLock(hHuge));
    p->biBitCount = 24;
    p->biCompression = BI_RLE8;
    ::GlobalUnlock(hHuge);
    EXPECT_EQ(CopyClipboardDIB(hHuge), nullptr);
    p = static_cast<BITMAPINFOHEADER*>(::GlobalLock(hHuge));
    p->biCompression = BI_RGB;
    p->biSize = 5000;
    ::GlobalUnlock(hHuge);
    EXPECT_EQ(CopyClipboardDIB(hHuge), nullptr);
    EXPECT_EQ(CopyClipboardDIB(nullptr), nullptr);
    ::GlobalFree(hHuge);

    // A top-down picture with a larger header comes out bottom-up with a 40-byte header.
    HGLOBAL hTopDown = MakeClipDib(8, -4, 24, 0, 124);
    hCopy = CopyClipboardDIB(hTopDown);
    ASSERT_NE(hCopy, nullptr);
    const BITMAPINFOHEADER* q = static_cast<const BITMAPINFOHEADER*>(::GlobalLock(hCopy));
    EXPECT_EQ(q->biSize, 40u);
    EXPECT_EQ(q->biHeight, 4);
    const BYTE* rows = reinterpret_cast<const BYTE*>(q) + 40;
    EXPECT_EQ(rows[0], 0); // the white top row is now the last one in memory
    EXPECT_EQ(rows[3 * 24], 0xFF);
    ::GlobalUnlock(hCopy);
    GlobalFreeHandle(hCopy);
    ::GlobalFree(hGood);
    ::GlobalFree(hTopDown);
}

TEST_F(AppTest, PasteOpensAWindowThatAsksBeforeItIsLostAndRefusesAMalformedDib)
{
    ASSERT_TRUE(Start());
    PutOnClipboard(m_pFrame->m_hWnd, {{CF_DIB, MakeClipDib(8, 4, 24)}});
    Pump(); // the clipboard's change notice
    EXPECT_EQ(UpdateOf(m_pFrame, ID_EDIT_PASTE_NEW), 1);
    EXPECT_TRUE(PressKey(m_pApp, m_pFrame->m_hWnd, VK_CONTROL, 'V'));
    Pump();
    ASSERT_EQ(Children().size(), 1u);
    // The picture exists in no file: Ctrl+F4 asks first.
    CDocument* pDoc = Children()[0]->GetActiveDocument();
    const std::string question = "Enregistrer les modifications de " + std::string(pDoc->GetTitle()) + " ?";
    AfxScriptMessageBox(IDNO);
    PressKey(m_pApp, Children()[0]->GetActiveView()->m_hWnd, VK_CONTROL, VK_F4);
    Pump();
    EXPECT_TRUE(Children().empty());
    ASSERT_EQ(AfxTestRecords().messageBoxes.size(), 1u);
    EXPECT_EQ(AfxTestRecords().messageBoxes[0].text, question);

    EXPECT_TRUE(m_pFrame->PasteAsNewPicture());
    Pump();
    EXPECT_EQ(Children().size(), 1u);

    HGLOBAL hBad = MakeClipDib(8, 4, 24);
    BITMAPINFOHEADER* p = static_cast<BITMAPINFOHEADER*>(::GlobalLock(hBad));
    p->biHeight = 100000; // rows far past the block
    ::GlobalUnlock(hBad);
    PutOnClipboard(m_pFrame->m_hWnd, {{CF_DIB, hBad}});
    AfxScriptMessageBox(IDOK);
    EXPECT_FALSE(m_pFrame->PasteAsNewPicture());
    Pump();
    EXPECT_EQ(Children().size(), 1u);
    ASSERT_EQ(AfxTestRecords().messageBoxes.size(), 2u) << "refused with a word";
    EXPECT_NE(AfxTestRecords().messageBoxes[1].text.find("presse-papiers"), std::string::npos);

    PutOnClipboard(m_pFrame->m_hWnd, {});
    Pump();
    EXPECT_EQ(UpdateOf(m_pFrame, ID_EDIT_PASTE_NEW), 0);
}

TEST_F(AppTest, PasteConvertsADeviceBitmapWithItsPaletteOrTheDefaultOne)
{
    ASSERT_TRUE(Start());
    HDC hScreen = ::GetDC(nullptr);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, 12, 6);
    ::ReleaseDC(nullptr, hScreen);
    LOGPALETTE pal = {0x300, 1, {{10, 20, 30, 0}}};
    HPALETTE hPalette = ::CreatePalette(&pal);
    PutOnClipboard(m_pFrame->m_hWnd, {{CF_BITMAP, hBitmap}, {CF_PALETTE, hPalette}});
    // The system offers a DIB made from the bitmap as well: one window all the same.
    EXPECT_TRUE(m_pFrame->PasteAsNewPicture());
    Pump();
    EXPECT_EQ(Children().size(), 1u);

    hScreen = ::GetDC(nullptr);
    HBITMAP hAlone = ::CreateCompatibleBitmap(hScreen, 5, 5);
    ::ReleaseDC(nullptr, hScreen);
    PutOnClipboard(m_pFrame->m_hWnd, {{CF_BITMAP, hAlone}});
    EXPECT_TRUE(m_pFrame->PasteAsNewPicture());
    Pump();
    EXPECT_EQ(Children().size(), 2u);
    PutOnClipboard(m_pFrame->m_hWnd, {});
}
