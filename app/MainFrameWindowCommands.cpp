// The main frame's small commands: the two arrangement modes, the tool-bar toggle, the help
// contents, the library's edit command, pasting the clipboard as a new picture and the web pages.
#include "app/MainFrame.h"

#include "shell/Settings.h"
#include "app/TessarineApp.h"
#include "core/BusyCursor.h"
#include "framework/CmdUI.h"
#include "framework/DockBar.h"
#include "framework/MDIChildWnd.h"
#include "framework/TestSeams.h"
#include "resources/resource.h"

#include <cstring>

namespace {

const DWORD kCoolBarStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER
                            | RBS_TOOLTIPS | RBS_BANDBORDERS | RBS_VARHEIGHT;

void OpenWebPage(CWnd* pOwner, const char* address)
{
    AfxPlatform().pfnShellExecute(AfxSafeHwnd(pOwner), "open", address, nullptr, nullptr, SW_SHOWNORMAL);
}

} // namespace

// ---- the tool bar in use ----

BOOL CMainFrame::CreateCoolBar()
{
    if (::IsWindow(m_wndCoolBar.m_hWnd))
        return TRUE;
    return m_wndCoolBar.Create(this, g_UseCoolBar ? kCoolBarStyle : (kCoolBarStyle & ~WS_VISIBLE),
                               CBRS_ALIGN_TOP);
}

void CMainFrame::ShowToolBarInUse()
{
    BOOL bCool = g_UseCoolBar && ::IsWindow(m_wndCoolBar.m_hWnd);
    if (::IsWindow(m_wndToolBar.m_hWnd))
        AfxShowControlBar(this, &m_wndToolBar, !bCool, FALSE);
    if (::IsWindow(m_wndCoolBar.m_hWnd))
        AfxShowControlBar(this, &m_wndCoolBar, bCool, FALSE);
}

// The menu item and Ctrl+F9 alike: the bar in use, the cool bar or the standard tool bar.
void CMainFrame::OnViewStandardToolBar()
{
    CControlBar* pBar = g_UseCoolBar ? static_cast<CControlBar*>(&m_wndCoolBar) : &m_wndToolBar;
    if (::IsWindow(pBar->m_hWnd))
        AfxShowControlBar(this, pBar, (pBar->GetStyle() & WS_VISIBLE) == 0, FALSE);
    g_bArrangePending = TRUE;
    CRect rect;
    GetWindowRect(&rect);
    PostMessage(WM_SIZE, 0, MAKELONG(rect.Width(), rect.Height()));
}

void CMainFrame::OnUpdateViewStandardToolBar(CCmdUI* pCmdUI)
{
    CControlBar* pBar = g_UseCoolBar ? static_cast<CControlBar*>(&m_wndCoolBar) : &m_wndToolBar;
    pCmdUI->SetCheck(::IsWindow(pBar->m_hWnd) && (pBar->GetStyle() & WS_VISIBLE) ? 1 : 0);
}

// ---- arrangement modes ----

void CMainFrame::OnWindowMosaic()
{
    if (g_ReorganizeType != 1) {
        g_ReorganizeType = 1;
        g_bArrangePending = TRUE;
    }
}

void CMainFrame::OnUpdateWindowMosaic(CCmdUI* pCmdUI) { pCmdUI->SetCheck(g_ReorganizeType == 1 ? 1 : 0); }

void CMainFrame::OnWindowFull()
{
    if (g_ReorganizeType != 0) {
        g_ReorganizeType = 0;
        g_bArrangePending = TRUE;
    }
}

void CMainFrame::OnUpdateWindowFull(CCmdUI* pCmdUI) { pCmdUI->SetCheck(g_ReorganizeType == 0 ? 1 : 0); }

// ---- help ----

void CMainFrame::OnHelpFinderCommand() { AfxGetApp()->OnHelpFinder(); }

// ---- paste as a new picture ----

PackedDIB CopyClipboardDIB(HGLOBAL hClip)
{
    if (hClip == nullptr)
        return nullptr;
    SIZE_T cbBlock = ::GlobalSize(hClip);
    if (cbBlock < sizeof(BITMAPINFOHEADER))
        return nullptr;
    const BYTE* pBytes = static_cast<const BYTE*>(::GlobalLock(hClip));
    if (pBytes == nullptr)
        return nullptr;
    BITMAPINFOHEADER header;
    std::memcpy(&header, pBytes, sizeof(header));
    ::GlobalUnlock(hClip);

    // Another program wrote this block: its header is checked against the block before use.
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biSize > cbBlock || header.biPlanes != 1)
        return nullptr;
    if (header.biWidth <= 0 || header.biHeight == 0 || header.biHeight == LONG_MIN)
        return nullptr;
    WORD bits = header.biBitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return nullptr;
    // The picture code reads plain rows only (no compression, no bit-field masks).
    if (header.biCompression != BI_RGB)
        return nullptr;
    DWORD colors = bits <= 8 ? (header.biClrUsed != 0 ? header.biClrUsed : (1u << bits)) : header.biClrUsed;
    if (colors > 256 || (bits <= 8 && colors > (1u << bits)))
        return nullptr;
    DWORD height = static_cast<DWORD>(header.biHeight < 0 ? -header.biHeight : header.biHeight);
    ULONGLONG cbPicture = PackedDIBBytes(static_cast<DWORD>(header.biWidth), height, bits, colors);
    ULONGLONG cbNeeded = cbPicture - sizeof(BITMAPINFOHEADER) + header.biSize;
    if (cbPicture > kMaxPackedDIBBytes || cbNeeded > cbBlock)
        return nullptr;
    // A larger header (V4, V5) is made the 40-byte one the picture code expects.
    PackedDIB hCopy = ::GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(cbPicture));
    if (hCopy == nullptr)
        return nullptr;
    BYTE* pDest = static_cast<BYTE*>(::GlobalLock(hCopy));
    pBytes = static_cast<const BYTE*>(::GlobalLock(hClip));
    if (pDest == nullptr || pBytes == nullptr) {
        if (pDest != nullptr)
            ::GlobalUnlock(hCopy);
        if (pBytes != nullptr)
            ::GlobalUnlock(hClip);
        return GlobalFreeHandle(hCopy);
    }
    const BYTE* pSource = pBytes + header.biSize;
    BOOL bTopDown = header.biHeight < 0;
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biHeight = static_cast<LONG>(height);
    header.biClrUsed = bits <= 8 ? colors : header.biClrUsed;
    std::memcpy(pDest, &header, sizeof(header));
    size_t cbTable = static_cast<size_t>(colors) * sizeof(RGBQUAD);
    std::memcpy(pDest + sizeof(header), pSource, cbTable);
    // Rows bottom-up, as every packed DIB of the program holds them.
    size_t cbRow = DIBRowBytes(static_cast<DWORD>(header.biWidth), bits);
    for (DWORD y = 0; y < height; y++) {
        DWORD yFrom = bTopDown ? height - 1 - y : y;
        std::memcpy(pDest + sizeof(header) + cbTable + cbRow * y, pSource + cbTable + cbRow * yFrom, cbRow);
    }
    ::GlobalUnlock(hClip);
    ::GlobalUnlock(hCopy);
    return hCopy;
}

BOOL CMainFrame::PasteAsNewPicture()
{
    CTessarineApp* pApp = TessarineApp();
    if (pApp == nullptr)
        return FALSE;
    BOOL bOpened = FALSE;
    BOOL bUnreadable = FALSE;
    if (::IsClipboardFormatAvailable(CF_DIB) && ::OpenClipboard(m_hWnd)) {
        SetAppCursor(0);
        PackedDIB hCopy = CopyClipboardDIB(::GetClipboardData(CF_DIB));
        ::CloseClipboard();
        if (hCopy != nullptr) {
            pApp->NewImageWindow(hCopy);
            bOpened = TRUE;
        } else {
            bUnreadable = TRUE;
        }
        RestoreAppCursor();
    }
    if (!bOpened && ::IsClipboardFormatAvailable(CF_BITMAP) && ::OpenClipboard(m_hWnd)) {
        SetAppCursor(0);
        HBITMAP hBitmap = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP));
        HPALETTE hPalette = nullptr;
        if (::IsClipboardFormatAvailable(CF_PALETTE))
            hPalette = static_cast<HPALETTE>(::GetClipboardData(CF_PALETTE));
        if (hPalette == nullptr)
            hPalette = static_cast<HPALETTE>(::GetStockObject(DEFAULT_PALETTE));
        BITMAP bm = {};
        PackedDIB hDIB = nullptr;
        // A handle that is no bitmap is refused rather than converted.
        if (hBitmap != nullptr && ::GetObjectA(hBitmap, sizeof(bm), &bm) == sizeof(bm) && bm.bmWidth > 0
            && bm.bmHeight > 0)
            hDIB = BitmapToDIB(hBitmap, hPalette);
        ::CloseClipboard();
        if (hDIB != nullptr) {
            pApp->NewImageWindow(hDIB);
            bOpened = TRUE;
        } else {
            bUnreadable = TRUE;
        }
        RestoreAppCursor();
    }
    // Said as a file that cannot be read is: the user asked for this picture.
    if (!bOpened && bUnreadable) {
        ::MessageBeep(0xFFFFFFFF);
        AfxMessageBox(IDS_PASTE_UNREADABLE, MB_ICONSTOP);
    }
    return bOpened;
}

void CMainFrame::OnEditPasteNew() { PasteAsNewPicture(); }

void CMainFrame::OnUpdateEditPasteNew(CCmdUI* pCmdUI) { pCmdUI->Enable(ClipboardHoldsPicture()); }

// ---- web pages ----

void CMainFrame::OnWebHome() { OpenWebPage(this, "https://www.orvanel.fr/"); }
void CMainFrame::OnWebProduct() { OpenWebPage(this, "https://www.orvanel.fr/tessarine/"); }
void CMainFrame::OnWebProducts() { OpenWebPage(this, "https://www.orvanel.fr/produits/"); }
void CMainFrame::OnWebSupport() { OpenWebPage(this, "https://www.orvanel.fr/support/"); }

void CMainFrame::RedrawAllViews()
{
    for (HWND hChild = ::GetTopWindow(m_hWnd); hChild != nullptr; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        for (HWND hGrand = ::GetTopWindow(hChild); hGrand != nullptr;
             hGrand = ::GetWindow(hGrand, GW_HWNDNEXT)) {
            ::InvalidateRect(hGrand, nullptr, TRUE);
            ::UpdateWindow(hGrand);
        }
    }
}
