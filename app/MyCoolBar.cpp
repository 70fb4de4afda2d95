// The cool bar: the rebar control bar, its three bands, the animated logo, and the "Récents" box's
// choice and typed-path handling.
#include "app/MyCoolBar.h"

#include "app/MainFrame.h"
#include "app/RecentList.h"
#include "shell/Settings.h"
#include "app/TessarineApp.h"
#include "core/FileUtil.h"
#include "core/PackedDib.h"
#include "core/SystemUtil.h"
#include "framework/Dc.h"
#include "framework/Exceptions.h"
#include "framework/Menu.h"
#include "framework/MessageMap.h"
#include "framework/PathDoor.h"
#include "framework/TestSeams.h"
#include "framework/WinApp.h"
#include "resources/resource.h"

#include <commctrl.h>

#include <algorithm>

#include <string>

namespace {

const int kLogoFrames = 30;
const int kLogoSize = 40;
// The narrowest tool band that still shows a button beside its gripper.
const int kMinBandWidth = 110;
const UINT kLogoTimer = 1;
// A key message's bit saying the key was already down (a repeat).
const LPARAM kKeyRepeated = 0x40000000;

HWND g_hCoolBarWnd = nullptr;
const CMyCoolBar* g_pCoolBarOwner = nullptr; // the bar whose bands the handles below are
HWND g_hToolBand = nullptr;
HWND g_hLogo = nullptr;
HWND g_hCombo = nullptr;
HWND g_hEdit = nullptr;
WNDPROC g_pfnLogoProc = nullptr;
WNDPROC g_pfnComboProc = nullptr;
WNDPROC g_pfnEditProc = nullptr;
int g_nLogoFrame = 0;
HBITMAP g_hbmLogo = nullptr;    // deep screens
PackedDIB g_hLogoDIB = nullptr; // 8- and 4-bit screens
HPALETTE g_hLogoPalette = nullptr;
HIMAGELIST g_himlTools[3] = {};
// The one background picture bands 1000 and 1002 share; the rebar does not own it.
HBITMAP g_hbmBandBack = nullptr;

struct ToolButton {
    int image;
    UINT command;
    BYTE style;
    const char* text;
};

const ToolButton kToolButtons[14] = {
    {1, ID_NEW_EXPLORER, BTNS_BUTTON, "Explorateur"},
    {3, ID_FILE_OPEN, BTNS_BUTTON, "Ouvrir"},
    {0, 2, BTNS_SEP, ""},
    {5, ID_EDIT_PASTE_NEW, BTNS_BUTTON, "Coller"},
    {10, ID_TWAIN_ACQUIRE, BTNS_BUTTON, "Scanner"},
    {0, 2, BTNS_SEP, ""},
    {2, ID_LIB_SEARCH, BTNS_BUTTON, "Recherche"},
    {4, ID_FILE_PRINT, BTNS_BUTTON, "Imprimer"},
    {0, 2, BTNS_SEP, ""},
    {9, ID_VIEW_LIBRARY_BAR, BTNS_CHECK, "Images"},
    {0, 2, BTNS_SEP, ""},
    {6, ID_COOL_FAVORITES, BTNS_DROPDOWN, "Favoris"},
    {7, ID_COOL_ARRANGEMENT, BTNS_DROPDOWN, "Affichage"},
    {8, ID_COOL_INTERNET, BTNS_DROPDOWN, "Internet"},
};

BOOL HasRebar() { return InitComCtl32(); }

REBARBANDINFOA NewBand(UINT nID, HWND hChild)
{
    REBARBANDINFOA band = {};
    band.cbSize = sizeof(band);
    band.fMask = RBBIM_STYLE | RBBIM_COLORS | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_ID;
    band.clrFore = ::GetSysColor(COLOR_BTNTEXT);
    band.clrBack = ::GetSysColor(COLOR_BTNFACE);
    band.hwndChild = hChild;
    band.wID = nID;
    return band;
}

HBITMAP BandBackground()
{
    if (g_hbmBandBack == nullptr)
        g_hbmBandBack = ::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDB_COOLBAR_BACKGROUND));
    return g_hbmBandBack;
}

void FreeBandBackground()
{
    if (g_hbmBandBack != nullptr)
        ::DeleteObject(g_hbmBandBack);
    g_hbmBandBack = nullptr;
}

void SetBandBackground(REBARBANDINFOA* pBand)
{
    if (g_CoolBarBitmap && GetScreenBitsPerPixel() > 8) {
        pBand->fMask |= RBBIM_BACKGROUND;
        pBand->hbmBack = BandBackground();
    }
}

void LoadLogoPictures()
{
    if (g_hbmLogo != nullptr || g_hLogoDIB != nullptr)
        return;
    int nBits = GetScreenBitsPerPixel();
    HINSTANCE hInst = AfxGetResourceHandle();
    if (nBits > 8) {
        g_hbmLogo = ::LoadBitmapA(hInst, MAKEINTRESOURCEA(IDB_LOGO_ANIMATION));
    } else if (nBits == 8) {
        g_hLogoDIB = LoadDIBResource(hInst, MAKEINTRESOURCEA(IDB_LOGO_ANIMATION));
        g_hLogoPalette = CreateDIBPaletteHandle(g_hLogoDIB);
    } else {
        g_hLogoDIB = LoadDIBResource(hInst, MAKEINTRESOURCEA(IDB_LOGO_ANIMATION16));
    }
}

void FreeLogoPictures()
{
    if (g_hbmLogo != nullptr)
        ::DeleteObject(g_hbmLogo);
    g_hbmLogo = nullptr;
    g_hLogoDIB = GlobalFreeHandle(g_hLogoDIB);
    if (g_hLogoPalette != nullptr)
        ::DeleteObject(g_hLogoPalette);
    g_hLogoPalette = nullptr;
}

void DrawLogoFrame(HDC hDC, int nFrame)
{
    RECT src = CMyCoolBar::LogoSourceRect(nFrame);
    RECT dest = {0, 0, kLogoSize, src.bottom - src.top};
    if (g_hbmLogo != nullptr) {
        HDC hMem = ::CreateCompatibleDC(hDC);
        HGDIOBJ hOld = ::SelectObject(hMem, g_hbmLogo);
        ::BitBlt(hDC, 0, 0, dest.right, dest.bottom, hMem, src.left, src.top, SRCCOPY);
        ::SelectObject(hMem, hOld);
        ::DeleteDC(hMem);
    } else if (g_hLogoDIB != nullptr) {
        PaintDIB(hDC, &dest, g_hLogoDIB, &src, g_hLogoPalette);
    }
}

void OpenHomePage()
{
    AfxPlatform().pfnShellExecute(AfxGetMainWnd() != nullptr ? AfxGetMainWnd()->m_hWnd : nullptr, "open",
                                  CMyCoolBar::HomePageAddress(), nullptr, nullptr, SW_SHOWNORMAL);
}

void OpenPath(const CString& path)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr)
        pApp->OpenDocumentFile(path);
}

LRESULT CALLBACK LogoProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        switch (message) {
        case WM_TIMER:
            if (wParam == kLogoTimer) {
                CMyCoolBar::StepLogo();
                return 0;
            }
            break;
        case WM_SETCURSOR:
            if (g_hCursorHand != nullptr) {
                ::SetCursor(g_hCursorHand);
                return TRUE;
            }
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            OpenHomePage();
            break;
        case WM_DESTROY:
            ::KillTimer(hWnd, kLogoTimer);
            break;
        default:
            break;
        }
    } catch (...) {
        // Nothing crosses the window procedure.
    }
    return ::CallWindowProcA(g_pfnLogoProc, hWnd, message, wParam, lParam);
}

LRESULT CALLBACK ComboProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        if (message == WM_COMMAND && HIWORD(wParam) == CBN_SELCHANGE) {
            // Opened once the notification is over: opening refills this very box.
            int nIndex = static_cast<int>(::SendMessageA(hWnd, CB_GETCURSEL, 0, 0));
            if (nIndex >= 0)
                ::PostMessageA(hWnd, WM_RECENT_OPEN_ENTRY, static_cast<WPARAM>(nIndex), 0);
        } else if (message == WM_RECENT_OPEN_ENTRY) {
            int nIndex = static_cast<int>(wParam);
            if (nIndex >= 0 && nIndex < g_RecentList.GetSize()) {
                CString path = g_RecentList[nIndex];
                OpenPath(path);
            }
            return 0;
        }
    } catch (...) {
        // Nothing crosses the window procedure.
    }
    return ::CallWindowProcA(g_pfnComboProc, hWnd, message, wParam, lParam);
}

void OnTypedPath(HWND hEdit)
{
    // Read in wide characters: pasted from a file manager, a path may hold letters the code page lacks,
    // which an ANSI read would give as look-alikes, naming another file.
    const std::wstring text = AfxGetWindowTextWide(hEdit);
    if (text.size() >= MAX_PATH * 4) {
        AfxMessageBox(IDS_TYPED_PATH_TOO_LONG, MB_ICONEXCLAMATION);
        return;
    }
    CString typed;
    if (!AfxTakeWidePath(text.c_str(), &typed))
        return;
    CString resolved;
    switch (ResolveTypedPath(typed, g_CurrentOpenDirectory, &resolved)) {
    case kTypedPathNoDrive:
        AfxMessageBox(IDS_TYPED_PATH_NO_DRIVE, MB_ICONEXCLAMATION);
        break;
    case kTypedPathTooLong:
        AfxMessageBox(IDS_TYPED_PATH_TOO_LONG, MB_ICONEXCLAMATION);
        break;
    case kTypedPathOpen:
        ::SetWindowTextA(hEdit, resolved);
        OpenPath(resolved);
        break;
    case kTypedPathEmpty:
        break;
    }
}

// A procedure of wide characters, as the box's own edit is: one of the code page between them would
// turn a typed letter the code page lacks into its look-alike before the edit gets it.
LRESULT CALLBACK EditProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = ::CallWindowProcW(g_pfnEditProc, hWnd, message, wParam, lParam);
    try {
        // Enter acts as it goes down, on what was typed before it: a message it raises is up before the
        // user types on, rather than at its release, over the keys of the next path.
        if (message == WM_KEYDOWN && wParam == VK_RETURN && !(lParam & kKeyRepeated))
            OnTypedPath(hWnd);
    } catch (...) {
        // Nothing crosses the window procedure.
    }
    return lResult;
}

HWND MainWindow()
{
    CWnd* pMain = AfxGetMainWnd();
    if (pMain != nullptr && pMain->m_hWnd != nullptr)
        return pMain->m_hWnd;
    return ::GetParent(g_hCoolBarWnd);
}

} // namespace

// ---- CCoolBar ----

IMPLEMENT_DYNAMIC(CCoolBar, CControlBar)

BEGIN_MESSAGE_MAP(CCoolBar, CControlBar)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_NOTIFY_REFLECT(RBN_HEIGHTCHANGE, OnHeightChangeNotify)
END_MESSAGE_MAP()

BOOL CCoolBar::Create(CWnd* pParentWnd, DWORD dwStyle, DWORD dwBarStyle)
{
    m_dwStyle = dwBarStyle;
    dwStyle &= ~CCS_NORESIZE;
    dwStyle |= CCS_NOPARENTALIGN | CCS_NODIVIDER;
    const char* pszClass = HasRebar() ? REBARCLASSNAMEA : TOOLBARCLASSNAMEA;
    return CWnd::CreateEx(WS_EX_TOOLWINDOW, pszClass, nullptr, dwStyle, CRect(0, 0, 0, 0), pParentWnd,
                          ID_COOLBAR);
}

int CCoolBar::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CControlBar::OnCreate(lpcs) == -1)
        return -1;
    return OnCreateBands();
}

CSize CCoolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    CRect rect;
    GetWindowRect(&rect);
    if (bStretch)
        return bHorz ? CSize(32767, rect.Height()) : CSize(rect.Width(), 32767);
    return CSize(rect.Width(), rect.Height());
}

CSize CCoolBar::CalcDynamicLayout(int, DWORD dwMode)
{
    return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZ) != 0);
}

void CCoolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL) { UpdateDialogControls(pTarget, FALSE); }

void CCoolBar::OnHeightChange(const CRect&)
{
    CWnd* pParent = GetParent();
    if (pParent != nullptr) {
        CRect rectParent;
        pParent->GetWindowRect(&rectParent);
        pParent->PostMessage(WM_SIZE, 0, MAKELONG(rectParent.Width(), rectParent.Height()));
    }
    g_bArrangePending = TRUE;
}

void CCoolBar::OnHeightChangeNotify(NMHDR*, LRESULT* pResult)
{
    CRect rect;
    GetWindowRect(&rect);
    OnHeightChange(rect);
    *pResult = 0;
}

int CCoolBar::FindBand(UINT nBandID) const
{
    int nCount = static_cast<int>(SendMessage(RB_GETBANDCOUNT, 0, 0));
    for (int i = 0; i < 3 && i < nCount; i++) {
        REBARBANDINFOA band = {};
        band.cbSize = sizeof(band);
        band.fMask = RBBIM_ID;
        if (SendMessage(RB_GETBANDINFOA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&band))
            && band.wID == nBandID)
            return i;
    }
    return -1;
}

LRESULT CCoolBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY) {
        NMHDR* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
        if (pNMHDR != nullptr && pNMHDR->code == static_cast<UINT>(TBN_DROPDOWN)) {
            try {
                OnDropDown(reinterpret_cast<NMTOOLBARA*>(lParam));
            } catch (CException&) {
                // A missing menu resource: no menu.
            }
            return 0;
        }
    } else if (message == WM_DRAWITEM && wParam == ID_COOLBAND_LOGO) {
        // The logo after an expose: the current frame at once rather than at the next tick.
        const DRAWITEMSTRUCT* pDIS = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        int nShown = g_nLogoFrame == 0 ? kLogoFrames - 1 : g_nLogoFrame - 1;
        DrawLogoFrame(pDIS->hDC, nShown);
        return TRUE;
    }
    return CControlBar::WindowProc(message, wParam, lParam);
}

void CCoolBar::OnDropDown(NMTOOLBARA* pNMTB)
{
    RECT rect = {};
    ::SendMessageA(pNMTB->hdr.hwndFrom, TB_GETRECT, static_cast<WPARAM>(pNMTB->iItem),
                   reinterpret_cast<LPARAM>(&rect));
    ::MapWindowPoints(pNMTB->hdr.hwndFrom, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    CMenu menu;
    if (!menu.LoadMenu(IDR_CONTEXTMENUS))
        AfxThrowResourceException();
    int nSub = CONTEXT_WEB;
    if (pNMTB->iItem == ID_COOL_FAVORITES)
        nSub = CONTEXT_FAVORITES;
    else if (pNMTB->iItem == ID_COOL_ARRANGEMENT)
        nSub = CONTEXT_ARRANGEMENT;
    CMenu* pPopup = menu.GetSubMenu(nSub);
    if (pPopup != nullptr)
        pPopup->TrackPopupMenu(TPM_VERTICAL, rect.left, rect.bottom, AfxGetMainWnd(), &rect);
}

// ---- CMyCoolBar ----

IMPLEMENT_DYNAMIC(CMyCoolBar, CCoolBar)

CMyCoolBar::~CMyCoolBar() { FreeBandResources(); }

void CMyCoolBar::PostNcDestroy()
{
    // The bands' windows are gone with the bar: their pictures go too.
    FreeBandResources();
    CCoolBar::PostNcDestroy();
}

void CMyCoolBar::FreeBandResources()
{
    if (g_pCoolBarOwner != this)
        return;
    g_pCoolBarOwner = nullptr;
    g_hCoolBarWnd = nullptr;
    g_hToolBand = nullptr;
    g_hLogo = nullptr;
    g_hCombo = nullptr;
    g_hEdit = nullptr;
    for (HIMAGELIST& hList : g_himlTools) {
        if (hList != nullptr)
            ::ImageList_Destroy(hList);
        hList = nullptr;
    }
    FreeLogoPictures();
    FreeBandBackground();
}

HWND CMyCoolBar::GetToolBand() { return ::IsWindow(g_hToolBand) ? g_hToolBand : nullptr; }
HWND CMyCoolBar::GetRecentCombo() { return ::IsWindow(g_hCombo) ? g_hCombo : nullptr; }
HWND CMyCoolBar::GetRecentEdit() { return ::IsWindow(g_hEdit) ? g_hEdit : nullptr; }
HWND CMyCoolBar::GetLogoButton() { return ::IsWindow(g_hLogo) ? g_hLogo : nullptr; }
int CMyCoolBar::GetLogoFrame() { return g_nLogoFrame; }
const char* CMyCoolBar::HomePageAddress() { return "https://www.orvanel.fr/"; }

RECT CMyCoolBar::LogoSourceRect(int nFrame)
{
    RECT rect = {kLogoSize * nFrame, 0, kLogoSize * nFrame + kLogoSize, kLogoSize};
    if (!g_CoolBarText) {
        rect.top = 7;
        rect.bottom = 33;
    }
    return rect;
}

void CMyCoolBar::StepLogo()
{
    HWND hLogo = GetLogoButton();
    if (hLogo != nullptr) {
        HDC hDC = ::GetDC(hLogo);
        if (hDC != nullptr) {
            DrawLogoFrame(hDC, g_nLogoFrame);
            ::ReleaseDC(hLogo, hDC);
        }
    }
    g_nLogoFrame++;
    if (g_nLogoFrame >= kLogoFrames)
        g_nLogoFrame = 0;
}

int CMyCoolBar::OnCreateBands()
{
    if (!HasRebar())
        return 0;
    g_hCoolBarWnd = m_hWnd;
    g_pCoolBarOwner = this;
    if (!CreateToolBand())
        AfxMessageBox("Could not create the ToolBar", MB_OK);
    if (!AddAnimationBand())
        AfxMessageBox("Could not create the AnimButton", MB_OK);
    if (!AddRecentBand())
        AfxMessageBox("Could not create the ComboBox", MB_OK);
    return 0;
}

namespace {

// The widest a tool button may grow: 60 pixels with texts, unless the bar's font draws a text
// wider, which would otherwise lose its end ("Explora..."); 28 without texts.
int ToolButtonMaxWidth(HWND hTools)
{
    if (!g_CoolBarText)
        return 28;
    HDC hdc = ::GetDC(hTools);
    HGDIOBJ hFont = reinterpret_cast<HGDIOBJ>(::SendMessageA(hTools, WM_GETFONT, 0, 0));
    HGDIOBJ hOld = ::SelectObject(hdc, hFont != nullptr ? hFont : ::GetStockObject(DEFAULT_GUI_FONT));
    int widest = 0;
    for (const ToolButton& def : kToolButtons) {
        SIZE extent = {0, 0};
        ::GetTextExtentPoint32A(hdc, def.text, lstrlenA(def.text), &extent);
        widest = std::max(widest, static_cast<int>(extent.cx));
    }
    ::SelectObject(hdc, hOld);
    ::ReleaseDC(hTools, hdc);
    DWORD padding = static_cast<DWORD>(::SendMessageA(hTools, TB_GETPADDING, 0, 0));
    return std::max(60, widest + LOWORD(padding) + 2 * ::GetSystemMetrics(SM_CXEDGE) + 4);
}

} // namespace

BOOL CMyCoolBar::CreateToolBand()
{
    HINSTANCE hInst = AfxGetResourceHandle();
    HWND hTools = ::CreateWindowExA(0, TOOLBARCLASSNAMEA, "", 0x5600096D, 0, 0, 0, 0, m_hWnd,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(ID_COOLBAND_TOOLS)),
                                    AfxGetInstanceHandle(), nullptr);
    if (hTools == nullptr) {
        AfxMessageBox("Toolbar not created!", MB_OK);
        return FALSE;
    }
    g_hToolBand = hTools;
    ::SendMessageA(hTools, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    static const UINT kImageIds[3] = {IDB_COOLBAR_NORMAL, IDB_COOLBAR_HOT, IDB_COOLBAR_DISABLED};
    static const UINT kImageMessages[3] = {TB_SETIMAGELIST, TB_SETHOTIMAGELIST, TB_SETDISABLEDIMAGELIST};
    for (int i = 0; i < 3; i++) {
        if (g_himlTools[i] == nullptr)
            g_himlTools[i] = ::ImageList_LoadImageA(hInst, MAKEINTRESOURCEA(kImageIds[i]), 28, 2,
                                                    RGB(255, 0, 255), IMAGE_BITMAP, LR_CREATEDIBSECTION);
        ::SendMessageA(hTools, kImageMessages[i], 0, reinterpret_cast<LPARAM>(g_himlTools[i]));
    }
    ::SendMessageA(hTools, TB_SETBITMAPSIZE, 0, MAKELONG(28, 20));

    TBBUTTON buttons[14] = {};
    for (int i = 0; i < 14; i++) {
        const ToolButton& def = kToolButtons[i];
        buttons[i].iBitmap = def.style == BTNS_SEP ? 0 : def.image;
        buttons[i].idCommand = static_cast<int>(def.command);
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = def.style;
        buttons[i].iString = -1;
        if (def.style != BTNS_SEP) {
            // One string a call, so that each text gets its own index.
            char text[32] = "";
            ::lstrcpynA(text, def.text, sizeof(text) - 1);
            buttons[i].iString = ::SendMessageA(hTools, TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(text));
        }
    }
    ::SendMessageA(hTools, TB_ADDBUTTONSA, 14, reinterpret_cast<LPARAM>(buttons));
    ::SendMessageA(hTools, TB_SETMAXTEXTROWS, g_CoolBarText ? 2 : 0, 0);
    ::SendMessageA(hTools, TB_SETBUTTONWIDTH, 0, MAKELONG(0, ToolButtonMaxWidth(hTools)));
    ::SendMessageA(hTools, TB_AUTOSIZE, 0, 0);

    REBARBANDINFOA band = NewBand(ID_COOLBAND_TOOLS, hTools);
    band.fStyle = RBBS_NOVERT | RBBS_FIXEDBMP;
    band.cxMinChild = kMinBandWidth;
    band.cyMinChild = g_CoolBarText ? 40 : 26;
    // A stored width too narrow for the band (an older start may have saved 0) is not used.
    if (g_CoolBarRawCount == 1 && g_CoolBarBandCX >= kMinBandWidth) {
        band.fMask |= RBBIM_SIZE;
        band.cx = static_cast<UINT>(g_CoolBarBandCX);
    }
    SetBandBackground(&band);
    ::SendMessageA(m_hWnd, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));
    return TRUE;
}

BOOL CMyCoolBar::AddAnimationBand()
{
    if (!HasRebar() || !g_CoolBarAnimation || GetLogoButton() != nullptr || m_hWnd == nullptr)
        return TRUE;
    int nHeight = g_CoolBarText ? kLogoSize : 26;
    HWND hLogo = ::CreateWindowExA(0, "Button", "", 0x5000000B, 0, 0, kLogoSize, nHeight, MainWindow(),
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(ID_COOLBAND_LOGO)),
                                   AfxGetInstanceHandle(), nullptr);
    if (hLogo == nullptr)
        return FALSE;
    g_hLogo = hLogo;
    ::EnableWindow(hLogo, TRUE);
    LoadLogoPictures();
    REBARBANDINFOA band = NewBand(ID_COOLBAND_LOGO, hLogo);
    band.fStyle = RBBS_FIXEDSIZE | RBBS_NOVERT;
    band.cxMinChild = kLogoSize;
    band.cyMinChild = static_cast<UINT>(nHeight);
    ::SendMessageA(m_hWnd, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));
    g_pfnLogoProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hLogo, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LogoProc)));
    ::SetTimer(hLogo, kLogoTimer, 100, nullptr);
    return TRUE;
}

BOOL CMyCoolBar::AddRecentBand()
{
    if (!HasRebar() || !g_ShowRecents || GetRecentCombo() != nullptr || m_hWnd == nullptr)
        return TRUE;
    // Made in wide characters, as is the edit the box makes for itself, where a path is typed or pasted:
    // a letter the code page lacks stays whole there (see framework/WideEdit.h).
    HWND hCombo = ::CreateWindowExW(0, WC_COMBOBOXEXW, L"", 0x56200002, 0, 0, 18, 300, MainWindow(),
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(ID_COOLBAND_RECENTS)),
                                    AfxGetInstanceHandle(), nullptr);
    if (hCombo == nullptr)
        return FALSE;
    g_hCombo = hCombo;
    if (IsComCtl32AtLeast472() && g_imlFileTypes.GetSafeHandle() != nullptr)
        ::SendMessageA(hCombo, CBEM_SETIMAGELIST, 0,
                       reinterpret_cast<LPARAM>(g_imlFileTypes.GetSafeHandle()));
    REBARBANDINFOA band = NewBand(ID_COOLBAND_RECENTS, hCombo);
    band.fMask |= RBBIM_TEXT;
    char szText[] = "R\xE9"
                    "cents";
    band.lpText = szText;
    band.fStyle = RBBS_NOVERT | RBBS_FIXEDBMP;
    if (g_CoolBarRawCount > 1)
        band.fStyle |= RBBS_BREAK;
    band.cxMinChild = 180;
    band.cyMinChild = 22;
    SetBandBackground(&band);
    ::SendMessageA(m_hWnd, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));

    g_pfnComboProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hCombo, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ComboProc)));
    HWND hEdit = reinterpret_cast<HWND>(::SendMessageA(hCombo, CBEM_GETEDITCONTROL, 0, 0));
    if (hEdit != nullptr) {
        g_hEdit = hEdit;
        g_pfnEditProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(hEdit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditProc)));
        ::SetWindowLongA(hEdit, GWL_STYLE, ::GetWindowLongA(hEdit, GWL_STYLE) | ES_MULTILINE | ES_WANTRETURN);
    }
    ::SendMessageA(hCombo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    ::SetWindowTextA(hCombo, "");
    return TRUE;
}

BOOL CMyCoolBar::RemoveRecentBand()
{
    int nIndex = FindBand(ID_COOLBAND_RECENTS);
    if (nIndex < 0)
        return FALSE;
    SendMessage(RB_DELETEBAND, static_cast<WPARAM>(nIndex), 0);
    if (::IsWindow(g_hCombo))
        ::DestroyWindow(g_hCombo);
    g_hCombo = nullptr;
    g_hEdit = nullptr;
    return TRUE;
}

BOOL CMyCoolBar::RemoveAnimationBand()
{
    int nIndex = FindBand(ID_COOLBAND_LOGO);
    if (nIndex < 0)
        return FALSE;
    SendMessage(RB_DELETEBAND, static_cast<WPARAM>(nIndex), 0);
    if (::IsWindow(g_hLogo))
        ::DestroyWindow(g_hLogo);
    g_hLogo = nullptr;
    return TRUE;
}

void CMyCoolBar::ApplyTextSetting()
{
    HWND hTools = GetToolBand();
    if (hTools != nullptr) {
        ::SendMessageA(hTools, TB_SETMAXTEXTROWS, g_CoolBarText ? 2 : 0, 0);
        ::SendMessageA(hTools, TB_SETBUTTONWIDTH, 0, MAKELONG(0, ToolButtonMaxWidth(hTools)));
        ::SendMessageA(hTools, TB_AUTOSIZE, 0, 0);
    }
    int nCount = static_cast<int>(SendMessage(RB_GETBANDCOUNT, 0, 0));
    for (int i = 0; i < 3 && i < nCount; i++) {
        REBARBANDINFOA band = {};
        band.cbSize = sizeof(band);
        band.fMask = RBBIM_STYLE | RBBIM_CHILDSIZE | RBBIM_ID;
        if (!SendMessage(RB_GETBANDINFOA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&band)))
            continue;
        if (band.wID == ID_COOLBAND_TOOLS) {
            band.cyMinChild = g_CoolBarText ? 40 : 26;
        } else if (band.wID == ID_COOLBAND_LOGO) {
            band.cxMinChild = kLogoSize;
            band.cyMinChild = g_CoolBarText ? 40 : 26;
        } else if (band.wID == ID_COOLBAND_RECENTS) {
            if (g_CoolBarText)
                continue;
            band.cyMinChild = 22;
        }
        SendMessage(RB_SETBANDINFOA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&band));
    }
}

void CMyCoolBar::ApplyBitmapSetting()
{
    if (GetScreenBitsPerPixel() <= 8)
        return;
    int nCount = static_cast<int>(SendMessage(RB_GETBANDCOUNT, 0, 0));
    for (int i = 0; i < 3 && i < nCount; i++) {
        REBARBANDINFOA band = {};
        band.cbSize = sizeof(band);
        band.fMask = RBBIM_ID;
        if (!SendMessage(RB_GETBANDINFOA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&band)))
            continue;
        if (band.wID != ID_COOLBAND_TOOLS && band.wID != ID_COOLBAND_RECENTS)
            continue;
        band.fMask = RBBIM_BACKGROUND;
        band.hbmBack = g_CoolBarBitmap ? BandBackground() : nullptr;
        SendMessage(RB_SETBANDINFOA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&band));
    }
    // No band shows it any more.
    if (!g_CoolBarBitmap)
        FreeBandBackground();
}

void CMyCoolBar::SaveLayoutSettings()
{
    if (m_hWnd == nullptr || !::IsWindow(m_hWnd) || !HasRebar())
        return;
    g_CoolBarRawCount = static_cast<int>(SendMessage(RB_GETROWCOUNT, 0, 0));
    StoreFirstBandWidth();
}

void CMyCoolBar::StoreFirstBandWidth()
{
    // The band's own size field can read back 0 when it was never set; its rectangle is what shows.
    RECT rect = {0, 0, 0, 0};
    if (m_hWnd == nullptr || !SendMessage(RB_GETRECT, 0, reinterpret_cast<LPARAM>(&rect)))
        return;
    int cx = rect.right - rect.left;
    if (cx >= kMinBandWidth)
        g_CoolBarBandCX = cx;
}
