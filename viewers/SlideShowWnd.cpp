// The slide show window: the selection's snapshot, loading and stepping, the size modes, keys and
// mouse, the music, and its end.
#include "viewers/SlideShowWnd.h"

#include "shell/AppMessages.h"
#include "shell/MainFrameHost.h"
#include "shell/Settings.h"
#include "core/BusyCursor.h"
#include "core/ColorReduce.h"
#include "core/FileUtil.h"
#include "core/PackedDib.h"
#include "core/Palette.h"
#include "framework/Dc.h"
#include "framework/Exceptions.h"
#include "framework/Gdi.h"

#include <cstdlib>

namespace {

const UINT_PTR kSecondTimer = 1;

void FillRectColor(HDC hdc, const RECT& rc, COLORREF color)
{
    if (rc.right <= rc.left || rc.bottom <= rc.top)
        return;
    HBRUSH brush = ::CreateSolidBrush(color);
    if (brush == nullptr)
        return;
    ::FillRect(hdc, &rc, brush);
    ::DeleteObject(brush);
}

} // namespace

BEGIN_MESSAGE_MAP(CSlideShowWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_TIMER()
    ON_WM_KEYDOWN()
    ON_WM_LBUTTONDOWN()
    ON_WM_RBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_SETCURSOR()
    ON_WM_ACTIVATE()
    ON_MESSAGE(WM_PALETTEREALIZE, OnPaletteRealize)
END_MESSAGE_MAP()

CSlideShowWnd::CSlideShowWnd() { m_hDrawDib = ::DrawDibOpen(); }

CSlideShowWnd::~CSlideShowWnd()
{
    if (m_hWnd != nullptr)
        DestroyWindow();
    FreePicture();
    if (m_hDrawDib != nullptr)
        ::DrawDibClose(m_hDrawDib);
}

void CSlideShowWnd::UseDrawDib(BOOL bUse) { m_bUseDrawDib = bUse; }

BOOL CSlideShowWnd::Create(CWnd* pOwner)
{
    if (pOwner == nullptr || pOwner->m_hWnd == nullptr)
        return FALSE;
    // One show at a time: a second start replaces the first.
    if (m_hWnd != nullptr)
        DestroyWindow();
    LPCSTR lpszClass = nullptr;
    try {
        lpszClass = AfxRegisterWndClass(CS_DBLCLKS, nullptr, nullptr, nullptr);
    } catch (CException& e) {
        e.Delete();
        return FALSE;
    }
    HDC hdc = ::GetDC(nullptr);
    int cx = ::GetDeviceCaps(hdc, HORZRES);
    int cy = ::GetDeviceCaps(hdc, VERTRES);
    ::ReleaseDC(nullptr, hdc);
    m_nIndex = 0;
    m_nPaintPhase = 0;
    m_nSeconds = 0;
    m_bAutomatic = g_DiapoAuto != 0;
    m_hWndReturnFocus = ::GetFocus();
    m_bJustEnded = FALSE;
    return CreateEx(0, lpszClass, "", WS_POPUP, 0, 0, cx, cy, pOwner->m_hWnd, nullptr);
}

int CSlideShowWnd::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    m_nTimerId = SetTimer(kSecondTimer, 1000, nullptr);
    m_bMusic = FALSE;
    if (!g_MusicFileDiapo.IsEmpty()) {
        if (g_pMainFrameHost != nullptr)
            g_pMainFrameHost->PlayBackgroundMusic(g_MusicFileDiapo);
        m_bMusic = TRUE;
    }
    if (m_bAutomatic)
        ::SetCursor(nullptr);
    return 0;
}

void CSlideShowWnd::OnDestroy()
{
    // The music this show started stops with it, whatever the setting says by now.
    if (m_bMusic) {
        if (g_pMainFrameHost != nullptr)
            g_pMainFrameHost->StopBackgroundMusic();
        m_bMusic = FALSE;
    }
    FreePicture();
    if (m_nTimerId != 0) {
        KillTimer(kSecondTimer);
        m_nTimerId = 0;
    }
    m_arrPaths.RemoveAll();
    m_strShownPath.Empty();
    if (m_bAutomatic)
        ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
    CWnd::OnDestroy();
}

void CSlideShowWnd::FreePicture()
{
    if (m_hDisplayCopy != nullptr) {
        GlobalFreeHandle(m_hDisplayCopy);
        m_hDisplayCopy = nullptr;
    }
    m_dib.Free();
    m_nWidth = m_nHeight = m_nBitCount = 0;
}

void CSlideShowWnd::Close()
{
    if (m_hWnd == nullptr)
        return;
    m_dwEndedAt = ::GetMessageTime();
    m_bJustEnded = TRUE;
    DestroyWindow();
    // Keys queued meanwhile were typed at the show, still on the screen (the system may take a while
    // to take a full-screen window down): the window under it must not take them.
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    }
    AfxRestoreFocus(m_hWndReturnFocus);
}

void CSlideShowWnd::Activate()
{
    // A box raised during the show disables its owner, the show or the main frame: it stays in front.
    if (m_hWnd == nullptr || !IsWindowEnabled())
        return;
    HWND hOwner = ::GetWindow(m_hWnd, GW_OWNER);
    if (hOwner != nullptr && !::IsWindowEnabled(hOwner))
        return;
    ::SetActiveWindow(m_hWnd);
}

// ---- the selection ----

void CSlideShowWnd::SetSource(SlideSource kind, CWnd* pSource, const CStringArray& paths)
{
    m_source = kind;
    m_pSource = pSource;
    m_arrPaths.RemoveAll();
    for (INT_PTR i = 0; i < paths.GetSize(); i++)
        m_arrPaths.Add(paths[i]);
    m_nIndex = 0;
    ShowFrom(0, 1, FALSE);
}

void CSlideShowWnd::SetSourceExplorer(CWnd* pSource, const CStringArray& paths)
{
    SetSource(kSlideSourceExplorer, pSource, paths);
}

void CSlideShowWnd::SetSourceLibrary(CWnd* pSource, const CStringArray& paths)
{
    SetSource(kSlideSourceLibrary, pSource, paths);
}

void CSlideShowWnd::SetSourceSearch(CWnd* pSource, const CStringArray& paths)
{
    SetSource(kSlideSourceSearch, pSource, paths);
}

// ---- loading and stepping ----

BOOL CSlideShowWnd::Load(const CString& path)
{
    // In a manual show the user waits for the key's answer: the wait cursor says so.
    BOOL bCursor = !m_bAutomatic;
    if (bCursor)
        SetAppCursor(kAppCursorBusy);
    BOOL bLoaded = FALSE;
    if (FileExists(path)) {
        CDIB dib;
        dib.Read(path, "");
        HGLOBAL hDIB = dib.GetHandle();
        const BITMAPINFOHEADER* pbi =
            hDIB != nullptr ? static_cast<const BITMAPINFOHEADER*>(::GlobalLock(hDIB)) : nullptr;
        if (pbi != nullptr) {
            int w = pbi->biWidth;
            int h = std::abs(pbi->biHeight);
            int bits = pbi->biBitCount;
            ::GlobalUnlock(hDIB);
            if (w > 0 && h > 0) {
                FreePicture();
                m_dib.Attach(dib.Detach());
                m_nWidth = w;
                m_nHeight = h;
                m_nBitCount = bits;
                if (m_hDrawDib == nullptr || !m_bUseDrawDib) {
                    int screenBits = GetScreenBitsPerPixel();
                    if (bits == 24 && screenBits == 4)
                        m_hDisplayCopy = ConvertDIB24To4Bit(m_dib.GetHandle());
                    else if (bits == 24 && screenBits == 8)
                        m_hDisplayCopy = ConvertDIBTo8Bit(m_dib.GetHandle(), AppPalette(), 0);
                    else if (bits == 8 && screenBits == 4)
                        m_hDisplayCopy = ConvertDIB8To4Bit(m_dib.GetHandle());
                }
                // DrawDib would keep the previous picture's colour table for a header like it.
                if (m_hDrawDib != nullptr)
                    ::DrawDibEnd(m_hDrawDib);
                m_strShownPath = path;
                m_nSeconds = 0;
                bLoaded = TRUE;
            }
        }
    }
    if (bCursor)
        RestoreAppCursor();
    return bLoaded;
}

BOOL CSlideShowWnd::ShowFrom(int i, int step, BOOL bWrap)
{
    int nCount = GetCount();
    if (nCount == 0 || i < 0 || i >= nCount)
        return FALSE;
    // Each picture is tried once at most: a selection of broken files ends the search.
    for (int tries = 0; tries < nCount; tries++) {
        m_nIndex = i;
        if (Load(m_arrPaths[i])) {
            if (m_hWnd != nullptr) {
                m_nPaintPhase = 0;
                Invalidate(TRUE);
                UpdateWindow();
                m_nPaintPhase = 1;
                Invalidate(TRUE);
                UpdateWindow();
            }
            return TRUE;
        }
        i += step;
        if (i < 0 || i >= nCount) {
            if (!bWrap)
                return FALSE;
            i = (i + nCount) % nCount;
        }
    }
    return FALSE;
}

void CSlideShowWnd::ShowFirst()
{
    Activate();
    ShowFrom(0, 1, FALSE);
}

void CSlideShowWnd::ShowLast()
{
    Activate();
    ShowFrom(GetCount() - 1, -1, FALSE);
}

void CSlideShowWnd::ShowNext()
{
    Activate();
    int nCount = GetCount();
    if (nCount == 0)
        return;
    BOOL bLoop = g_DiapoAuto != 0 && g_DiapoLoop != 0;
    if (m_nIndex < nCount - 1) {
        // A broken picture at the end of a looped show is passed over towards the first one.
        int nIndex = m_nIndex;
        if (!ShowFrom(m_nIndex + 1, 1, bLoop))
            m_nIndex = nIndex;
    } else if (bLoop) {
        ShowFrom(0, 1, TRUE);
    }
}

void CSlideShowWnd::ShowPrevious()
{
    Activate();
    if (GetCount() == 0 || m_nIndex <= 0)
        return;
    int nIndex = m_nIndex;
    if (!ShowFrom(m_nIndex - 1, -1, FALSE))
        m_nIndex = nIndex;
}

// ---- timer, keys and mouse ----

void CSlideShowWnd::OnTimer(UINT nIDEvent)
{
    if (nIDEvent != kSecondTimer) {
        Default();
        return;
    }
    if (!m_bAutomatic)
        return;
    m_nSeconds++;
    if (m_nSeconds >= g_DiapoPause)
        ShowNext();
}

BOOL CSlideShowWnd::PreTranslateMessage(MSG* pMsg)
{
    if (m_hWnd != nullptr && pMsg->hwnd == m_hWnd && pMsg->message >= WM_KEYFIRST
        && pMsg->message <= WM_KEYLAST) {
        ::TranslateMessage(pMsg);
        ::DispatchMessageW(pMsg);
        return TRUE;
    }
    return CWnd::PreTranslateMessage(pMsg);
}

BOOL CSlideShowWnd::TakesKeyTypedAtItsEnd(const MSG* pMsg)
{
    if (!m_bJustEnded || m_hWnd != nullptr || pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST)
        return FALSE;
    // Signed: a key typed before the end and read only now is the show's as well.
    if (static_cast<LONG>(pMsg->time - m_dwEndedAt) < static_cast<LONG>(::GetDoubleClickTime()))
        return TRUE;
    m_bJustEnded = FALSE;
    return FALSE;
}

void CSlideShowWnd::OnKeyDown(UINT nChar, UINT, UINT)
{
    if (m_bAutomatic) {
        Close();
        return;
    }
    switch (nChar) {
    case VK_RETURN:
    case VK_ESCAPE:
        Close();
        return;
    case VK_SPACE:
    case VK_RIGHT:
    case VK_DOWN:
        ShowNext();
        break;
    case VK_LEFT:
    case VK_UP:
        ShowPrevious();
        break;
    case VK_HOME:
        ShowFirst();
        break;
    case VK_END:
        ShowLast();
        break;
    default:
        break;
    }
    Default();
}

void CSlideShowWnd::OnLButtonDown(UINT, CPoint) { Close(); }
void CSlideShowWnd::OnRButtonDown(UINT, CPoint) { Close(); }
void CSlideShowWnd::OnLButtonDblClk(UINT, CPoint) { Close(); }

BOOL CSlideShowWnd::OnSetCursor(CWnd*, UINT, UINT)
{
    if (m_bAutomatic) {
        ::SetCursor(nullptr);
        return TRUE;
    }
    return static_cast<BOOL>(Default());
}

// ---- painting ----

RECT CSlideShowWnd::PictureRect(int cw, int ch) const
{
    int w = m_nWidth;
    int h = m_nHeight;
    RECT rc = {0, 0, cw, ch};
    if (w <= 0 || h <= 0)
        return rc;
    switch (g_TailleImageDiapo) {
    case 0: {
        int x = (cw - w) / 2;
        int y = (ch - h) / 2;
        rc = {x, y, x + w, y + h};
        break;
    }
    case 2:
        break;
    default: {
        // Proportional (also for a value the options never give).
        int dw, dh;
        if (MulDiv(h, cw, w) > ch) {
            dw = MulDiv(w, ch, h);
            dh = ch;
        } else {
            dw = cw;
            dh = MulDiv(h, cw, w);
        }
        int x = (cw - dw) / 2;
        int y = (ch - dh) / 2;
        rc = {x, y, x + dw, y + dh};
        break;
    }
    }
    return rc;
}

BOOL CSlideShowWnd::OnEraseBkgnd(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    FillRectColor(pDC->m_hDC, client, g_CouleurPleinEcran);
    return TRUE;
}

void CSlideShowWnd::OnPaint()
{
    CPaintDC dc(this);
    if (m_nPaintPhase == 0)
        return;
    CRect client;
    GetClientRect(&client);
    PaintTo(dc.m_hDC, client);
}

void CSlideShowWnd::PaintTo(HDC hdc, const RECT& client)
{
    HGLOBAL hDIB = m_dib.GetHandle();
    if (hDIB == nullptr)
        return;
    int cw = client.right - client.left;
    int ch = client.bottom - client.top;
    RECT dest = PictureRect(cw, ch);
    if (g_TailleImageDiapo != 0 && g_TailleImageDiapo != 2) {
        FillRectColor(hdc, RECT{0, 0, cw, dest.top}, g_CouleurPleinEcran);
        FillRectColor(hdc, RECT{0, dest.top, dest.left, dest.bottom}, g_CouleurPleinEcran);
        FillRectColor(hdc, RECT{dest.right, dest.top, cw, dest.bottom}, g_CouleurPleinEcran);
        FillRectColor(hdc, RECT{0, dest.bottom, cw, ch + 30}, g_CouleurPleinEcran);
    }
    RECT src = {0, 0, m_nWidth, m_nHeight};
    if (m_hDrawDib != nullptr && m_bUseDrawDib) {
        BITMAPINFOHEADER* pbi = static_cast<BITMAPINFOHEADER*>(::GlobalLock(hDIB));
        if (pbi == nullptr)
            return;
        if (pbi->biClrUsed == 0 && pbi->biBitCount <= 8)
            pbi->biClrUsed = 1u << pbi->biBitCount;
        int nOldMode = ::SetStretchBltMode(hdc, COLORONCOLOR);
        ::DrawDibDraw(m_hDrawDib, hdc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top,
                      pbi, FindDIBBits(pbi), 0, 0, m_nWidth, m_nHeight, 0);
        if (nOldMode != 0)
            ::SetStretchBltMode(hdc, nOldMode);
        ::GlobalUnlock(hDIB);
        return;
    }
    HPALETTE hPalette = CurrentPalette();
    HPALETTE hOld = hPalette != nullptr ? ::SelectPalette(hdc, hPalette, FALSE) : nullptr;
    if (hPalette != nullptr)
        ::RealizePalette(hdc);
    PaintDIB(hdc, &dest, m_hDisplayCopy != nullptr ? m_hDisplayCopy : hDIB, &src, hPalette);
    if (hOld != nullptr)
        ::SelectPalette(hdc, hOld, TRUE);
}

HPALETTE CSlideShowWnd::AppPalette()
{
    // The application's fixed ramp, which the display copies are reduced to.
    if (m_palApp.m_hObject == nullptr)
        CreateFixedPalette(&m_palApp, kApplicationPaletteMode);
    return static_cast<HPALETTE>(m_palApp.m_hObject);
}

HPALETTE CSlideShowWnd::CurrentPalette()
{
    if (m_hDisplayCopy != nullptr)
        return AppPalette();
    return static_cast<HPALETTE>(m_dib.GetPalette()->m_hObject);
}

LRESULT CSlideShowWnd::OnPaletteRealize(WPARAM, LPARAM)
{
    HPALETTE hPalette = CurrentPalette();
    CWnd* pMain = g_pMainFrameHost != nullptr ? g_pMainFrameHost->GetFrameWnd() : nullptr;
    if (hPalette == nullptr || pMain == nullptr || pMain->m_hWnd == nullptr)
        return 0;
    HDC hdc = ::GetDC(pMain->m_hWnd);
    HPALETTE hOld = ::SelectPalette(hdc, hPalette, TRUE);
    if (::RealizePalette(hdc) > 0 && m_hWnd != nullptr)
        Invalidate(TRUE);
    if (hOld != nullptr)
        ::SelectPalette(hdc, hOld, TRUE);
    ::ReleaseDC(pMain->m_hWnd, hdc);
    return 0;
}

void CSlideShowWnd::OnActivate(UINT nState, CWnd*, BOOL)
{
    Default();
    if (nState == WA_ACTIVE || nState == WA_CLICKACTIVE)
        OnPaletteRealize(0, 0);
}

BOOL StartSlideShow(CSlideShowWnd* pShow, CWnd* pOwner, SlideSource kind, CWnd* pSource,
                    const CStringArray& paths)
{
    if (pShow == nullptr || !pShow->Create(pOwner))
        return FALSE;
    pShow->ShowWindow(SW_SHOW);
    switch (kind) {
    case kSlideSourceExplorer:
        pShow->SetSourceExplorer(pSource, paths);
        break;
    case kSlideSourceSearch:
        pShow->SetSourceSearch(pSource, paths);
        break;
    default:
        pShow->SetSourceLibrary(pSource, paths);
        break;
    }
    return TRUE;
}
