#include "app/SplashWnd.h"

#include "app/TessarineApp.h"
#include "formats/FormatJpeg.h"
#include "framework/Dc.h"
#include "resources/resource.h"

CSplashWnd g_wndSplash;

namespace {
CString s_strSplashClass;
}

POINT SplashPosition(int screenWidth, int screenHeight, int cx, int cy)
{
    POINT pt = {(screenWidth - cx) / 2, (screenHeight - cy) / 2};
    return pt;
}

BEGIN_MESSAGE_MAP(CSplashWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_CLOSE()
END_MESSAGE_MAP()

CSplashWnd::~CSplashWnd()
{
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        DestroyWindow();
    FreePicture();
}

BOOL CSplashWnd::Create(CWnd* pParentWnd, int cx, int cy)
{
    if (s_strSplashClass.IsEmpty())
        s_strSplashClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                               static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH)), nullptr);
    if (s_strSplashClass.IsEmpty())
        return FALSE;
    m_cx = cx;
    m_cy = cy;
    HDC hdc = ::GetDC(nullptr);
    int width = ::GetDeviceCaps(hdc, HORZRES);
    int height = ::GetDeviceCaps(hdc, VERTRES);
    ::ReleaseDC(nullptr, hdc);
    POINT pt = SplashPosition(width, height, cx, cy);
    return CreateEx(WS_EX_TOPMOST, s_strSplashClass, "", WS_POPUP, pt.x, pt.y, cx, cy,
                    pParentWnd != nullptr ? pParentWnd->GetSafeHwnd() : nullptr, nullptr);
}

void CSplashWnd::FreePicture()
{
    if (m_hPicture != nullptr) {
        GlobalFreeHandle(m_hPicture);
        m_hPicture = nullptr;
    }
}

int CSplashWnd::OnCreate(LPCREATESTRUCT)
{
    if (Default() == -1)
        return -1;
    m_hPicture = LoadJPEGResourceById(AfxGetInstanceHandle(), IDJ_TITLE_PICTURE);
    return m_hPicture != nullptr ? 0 : -1;
}

void CSplashWnd::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    RECT rect = {0, 0, m_cx, m_cy};
    if (m_hPicture != nullptr) {
        HPALETTE hpal = CreateDIBPaletteHandle(m_hPicture);
        HPALETTE hOld = nullptr;
        if (hpal != nullptr) {
            hOld = ::SelectPalette(hdc, hpal, FALSE);
            ::RealizePalette(hdc);
        }
        PaintDIB(hdc, &rect, m_hPicture, &rect, nullptr);
        if (hpal != nullptr) {
            ::SelectPalette(hdc, hOld, FALSE);
            ::DeleteObject(hpal);
        }
    } else {
        HBRUSH hbr = ::CreateSolidBrush(RGB(192, 192, 192));
        ::FillRect(hdc, &rect, hbr);
        ::DeleteObject(hbr);
    }
    ::EndPaint(m_hWnd, &ps);
}

void CSplashWnd::OnClose()
{
    FreePicture();
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    ::UpdateWindow(m_hWnd);
    Default();
}

void CSplashWnd::OnDestroy()
{
    FreePicture();
    Default();
}

void TakeSplashDown()
{
    if (!g_bSplashUp)
        return;
    g_bSplashUp = FALSE;
    if (g_wndSplash.GetSafeHwnd() != nullptr) {
        g_wndSplash.FreePicture();
        ::InvalidateRect(g_wndSplash.m_hWnd, nullptr, FALSE);
        ::UpdateWindow(g_wndSplash.m_hWnd);
        g_wndSplash.DestroyWindow();
    }
    g_bStartupDialogShown = TRUE;
}
