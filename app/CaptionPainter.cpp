#include "app/CaptionPainter.h"

#include "framework/Wnd.h"

#include <algorithm>
#include <cstddef>
#include <string>

std::vector<CaptionStrip> CaptionGradient(int w, COLORREF c)
{
    std::vector<CaptionStrip> strips;
    if (w <= 0)
        return strips;
    int x = w * 5 / 6;
    const int span = x;
    int step = span / 64;
    if (step < 2)
        step = 1;
    std::vector<CaptionStrip> fall;
    if (w > x)
        fall.push_back({x, w - x, c});
    const long long span2 = static_cast<long long>(span) * span;
    while (x > step) {
        x -= step;
        long long d = span - x;
        // 64-bit products: a component times d² passes 2^31 on captions some 2900 pixels wide.
        auto fade = [&](int comp) { return static_cast<BYTE>(comp - comp * d * d / span2); };
        fall.push_back({x, step, RGB(fade(GetRValue(c)), fade(GetGValue(c)), fade(GetBValue(c)))});
    }
    if (x > 0)
        strips.push_back({0, x, RGB(0, 0, 0)});
    strips.insert(strips.end(), fall.rbegin(), fall.rend());
    return strips;
}

int GetLightness(COLORREF color)
{
    int r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
    int mx = std::max(r, std::max(g, b));
    int mn = std::min(r, std::min(g, b));
    return ((mx + mn) * 240 + 255) / 510;
}

void FillSolidRect(HDC hdc, int x, int y, int cx, int cy, COLORREF color)
{
    HBRUSH hbr = ::CreateSolidBrush(color);
    if (hbr == nullptr)
        return;
    HGDIOBJ old = ::SelectObject(hdc, hbr);
    ::PatBlt(hdc, x, y, cx, cy, PATCOPY);
    ::SelectObject(hdc, old);
    ::DeleteObject(hbr);
}

CRect CCaptionPainter::GetCaptionRect(CWnd* pWnd)
{
    HWND hWnd = pWnd->GetSafeHwnd();
    bool thick = (::GetWindowLongA(hWnd, GWL_STYLE) & WS_THICKFRAME) != 0;
    int bx = ::GetSystemMetrics(thick ? SM_CXFRAME : SM_CXDLGFRAME);
    int by = ::GetSystemMetrics(thick ? SM_CYFRAME : SM_CYDLGFRAME);
    RECT window;
    ::GetWindowRect(hWnd, &window);
    CRect rect(0, 0, window.right - window.left, window.bottom - window.top);
    rect.left += bx;
    rect.right -= bx;
    rect.top += by;
    rect.bottom = rect.top + ::GetSystemMetrics(SM_CYCAPTION) - ::GetSystemMetrics(SM_CYBORDER);
    return rect;
}

void CCaptionPainter::CreateCaptionFonts()
{
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof(ncm);
    if (!::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0)) {
        // Older systems know the structure without its last member.
        ncm.cbSize = offsetof(NONCLIENTMETRICSA, lfMessageFont) + sizeof(ncm.lfMessageFont);
        ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0);
    }
    m_fontCaption.DeleteObject();
    m_fontCaptionTitle.DeleteObject();
    m_fontCaption.CreateFontIndirect(&ncm.lfCaptionFont);
    LOGFONTA lf = {};
    CFont arial;
    if (arial.CreatePointFont(120, "ARIAL"))
        arial.GetLogFont(&lf);
    else
        lstrcpynA(lf.lfFaceName, "Arial", LF_FACESIZE);
    lf.lfWeight += 700;
    lf.lfHeight = ncm.lfCaptionFont.lfHeight - 1;
    m_fontCaptionTitle.CreateFontIndirect(&lf);
}

void CCaptionPainter::Reset()
{
    m_fontCaption.DeleteObject();
    m_fontCaptionTitle.DeleteObject();
    m_rectCaption.SetRectEmpty();
}

CBitmap* CCaptionPainter::DrawCaptionBitmap(CWnd* pWnd, BOOL bActive, LPCSTR appTitle, LPCSTR docTitle)
{
    HWND hWnd = pWnd->GetSafeHwnd();
    CRect rect = GetCaptionRect(pWnd);
    CString strTitles =
        CString(appTitle != nullptr ? appTitle : "") + "\n" + (docTitle != nullptr ? docTitle : "");
    if (!(rect == m_rectCaption) || strTitles != m_strCachedTitles) {
        m_bmpCaption[0].DeleteObject();
        m_bmpCaption[1].DeleteObject();
        m_rectCaption = rect;
        m_strCachedTitles = strTitles;
    }
    CBitmap& bmp = m_bmpCaption[bActive ? 1 : 0];
    if (bmp.m_hObject != nullptr)
        return &bmp;
    int w = rect.Width(), h = rect.Height();
    if (w <= 0 || h <= 0)
        return nullptr;
    int cx = ::GetSystemMetrics(SM_CXSIZE), cy = ::GetSystemMetrics(SM_CYSIZE);
    HDC hdcWnd = ::GetWindowDC(hWnd);
    HBITMAP hbm = ::CreateCompatibleBitmap(hdcWnd, w, h);
    HDC hdc = ::CreateCompatibleDC(hdcWnd);
    ::ReleaseDC(hWnd, hdcWnd);
    if (hbm == nullptr || hdc == nullptr) {
        if (hbm != nullptr)
            ::DeleteObject(hbm);
        if (hdc != nullptr)
            ::DeleteDC(hdc);
        return nullptr;
    }
    bmp.Attach(hbm);
    HGDIOBJ oldBitmap = ::SelectObject(hdc, hbm);

    if (bActive) {
        for (const CaptionStrip& s : CaptionGradient(w, ::GetSysColor(COLOR_ACTIVECAPTION)))
            FillSolidRect(hdc, s.x, 0, s.width, h, s.color);
    } else {
        FillSolidRect(hdc, 0, 0, w, h, ::GetSysColor(COLOR_INACTIVECAPTION));
    }

    HICON hIcon = reinterpret_cast<HICON>(::GetClassLongPtrA(hWnd, GCLP_HICONSM));
    if (hIcon == nullptr)
        hIcon = reinterpret_cast<HICON>(::GetClassLongPtrA(hWnd, GCLP_HICON));
    if (hIcon != nullptr)
        ::DrawIconEx(hdc, 2, 1, hIcon, cx - 2, cy - 2, 0, nullptr, DI_NORMAL);

    LONG style = ::GetWindowLongA(hWnd, GWL_STYLE);
    int left = w - cx;
    RECT button = {left, 2, left + cx - 2, 2 + cy - 4};
    ::DrawFrameControl(hdc, &button, DFC_CAPTION, DFCS_CAPTIONCLOSE);
    if (style & WS_MAXIMIZEBOX) {
        left -= cx;
        ::OffsetRect(&button, -cx, 0);
        ::DrawFrameControl(hdc, &button, DFC_CAPTION,
                           ::IsZoomed(hWnd) ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX);
    }
    if (style & WS_MINIMIZEBOX) {
        left -= cx - 2;
        ::OffsetRect(&button, -(cx - 2), 0);
        ::DrawFrameControl(hdc, &button, DFC_CAPTION, DFCS_CAPTIONMIN);
    }

    if (m_fontCaption.m_hObject == nullptr)
        CreateCaptionFonts();
    RECT text = {5 + cx, 0, left - 2, h};
    ::SetBkMode(hdc, TRANSPARENT);
    ::SetTextColor(hdc, RGB(255, 255, 255));
    HGDIOBJ oldFont = ::SelectObject(hdc, m_fontCaptionTitle.m_hObject);
    std::string title = std::string(appTitle != nullptr ? appTitle : "") + " ";
    const UINT format = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
    ::DrawTextA(hdc, title.c_str(), -1, &text, format);
    SIZE size = {};
    ::GetTextExtentPoint32A(hdc, title.c_str(), static_cast<int>(title.size()), &size);
    text.left += size.cx;
    m_nTitleRight = std::min<int>(text.left, text.right);
    if (text.right > text.left && docTitle != nullptr && docTitle[0] != '\0') {
        COLORREF color = ::GetSysColor(bActive ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT);
        if (bActive && GetLightness(color) < 90)
            color = RGB(255, 255, 255);
        ::SetTextColor(hdc, color);
        ::SelectObject(hdc, m_fontCaption.m_hObject);
        std::string doc = std::string("- ") + docTitle;
        ::DrawTextA(hdc, doc.c_str(), -1, &text, format);
    }
    ::SelectObject(hdc, oldFont);
    ::SelectObject(hdc, oldBitmap);
    ::DeleteDC(hdc);
    return &bmp;
}

void CCaptionPainter::PaintCaption(CWnd* pWnd, BOOL bActive, LPCSTR appTitle, LPCSTR docTitle)
{
    HWND hWnd = pWnd->GetSafeHwnd();
    if (hWnd == nullptr || ::IsIconic(hWnd))
        return;
    CBitmap* pBitmap = DrawCaptionBitmap(pWnd, bActive, appTitle, docTitle);
    if (pBitmap == nullptr)
        return;
    HDC hdcWnd = ::GetWindowDC(hWnd);
    HDC hdc = ::CreateCompatibleDC(hdcWnd);
    HGDIOBJ old = ::SelectObject(hdc, pBitmap->m_hObject);
    ::BitBlt(hdcWnd, m_rectCaption.left, m_rectCaption.top, m_rectCaption.Width(), m_rectCaption.Height(),
             hdc, 0, 0, SRCCOPY);
    ::SelectObject(hdc, old);
    ::DeleteDC(hdc);
    ::ReleaseDC(hWnd, hdcWnd);
}
