// The animation bar's digit displays.
#include "viewers/DigitButton.h"

#include "shell/SharedUi.h"
#include "framework/Dc.h"
#include "resources/resource.h"

namespace {

// Source x and width of each glyph in the strip; every glyph is 15 high at y 0.
int GlyphX(int glyph)
{
    return glyph < 10 ? 11 * glyph : (glyph == kGlyphBlank ? 110 : glyph == kGlyphSeparator ? 121 : 125);
}
int GlyphWidth(int glyph) { return glyph <= kGlyphBlank ? 9 : 2; }
const int kUnlitDigitX = 129;
const int kUnlitSeparatorX = 140;
const int kGlyphHeight = 15;

} // namespace

int DigitGlyphs(int value, int interval, BOOL timeMode, int glyphs[5])
{
    if (timeMode) {
        // Any negative value shows as "no value"; the glyphs always stay inside the strip.
        if (value < 0) {
            glyphs[0] = glyphs[1] = glyphs[3] = glyphs[4] = kGlyphBlank;
            glyphs[2] = kGlyphSeparator;
            return 5;
        }
        long long seconds = static_cast<long long>(value) * (interval < 0 ? 0 : interval) / 1000;
        long long minutesAll = seconds / 60;
        int minutes = static_cast<int>(minutesAll > 99 ? 99 : minutesAll);
        int rest = static_cast<int>(seconds % 60);
        glyphs[0] = minutes / 10 == 0 ? kGlyphBlank : minutes / 10;
        glyphs[1] = minutes % 10;
        glyphs[2] = kGlyphColon;
        glyphs[3] = rest / 10;
        glyphs[4] = rest % 10;
        return 5;
    }
    if (value < 0) {
        glyphs[0] = glyphs[1] = glyphs[2] = glyphs[3] = kGlyphBlank;
        return 4;
    }
    int n = value > 9999 ? 9999 : value;
    int thousands = n / 1000;
    int hundreds = n / 100 % 10;
    int tens = n / 10 % 10;
    glyphs[0] = thousands == 0 ? kGlyphBlank : thousands;
    glyphs[1] = glyphs[0] == kGlyphBlank && hundreds == 0 ? kGlyphBlank : hundreds;
    glyphs[2] = glyphs[1] == kGlyphBlank && tens == 0 ? kGlyphBlank : tens;
    glyphs[3] = n % 10;
    return 4;
}

IMPLEMENT_DYNAMIC(CDigitButton, CButton)

CDigitButton::CDigitButton() { m_bmpDigits.LoadBitmap(MAKEINTRESOURCEA(IDB_DIGITS)); }

void CDigitButton::SetValue(int value, int interval, BOOL timeMode)
{
    BOOL bSameLayout = interval == m_nInterval && (timeMode != FALSE) == (m_bTimeMode != FALSE);
    // The bar is brought up to date every second, also while nothing moves: what shows stays.
    if (bSameLayout && value == m_nValue)
        return;
    m_nValue = value;
    m_nInterval = interval;
    m_bTimeMode = timeMode;
    if (m_hWnd != nullptr)
        Draw(nullptr, bSameLayout);
}

void CDigitButton::SetDigits(BOOL bLit)
{
    if ((bLit != FALSE) == (m_bLit != FALSE))
        return;
    m_bLit = bLit;
    if (m_hWnd != nullptr)
        Draw(nullptr, FALSE);
}

void CDigitButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    if (lpDIS != nullptr)
        Draw(CDC::FromHandle(lpDIS->hDC), FALSE);
}

void CDigitButton::Draw(CDC* pDC, BOOL bDigitsOnly)
{
    HDC hOwnDC = nullptr;
    HDC hDC = pDC != nullptr ? pDC->GetSafeHdc() : nullptr;
    if (hDC == nullptr) {
        hOwnDC = ::GetDC(m_hWnd);
        hDC = hOwnDC;
    }
    if (hDC == nullptr)
        return;
    CDC* pDraw = CDC::FromHandle(hDC);
    CRect rectClient;
    GetClientRect(&rectClient);
    CRect rectBox(rectClient.right - 54, rectClient.top, rectClient.right, rectClient.top + 23);
    if (!bDigitsOnly) {
        COLORREF clrFace = ::GetSysColor(COLOR_BTNFACE);
        pDraw->FillSolidRect(CRect(rectClient.left, rectClient.top, rectClient.right - 55, rectClient.bottom),
                             clrFace);
        pDraw->FillSolidRect(CRect(rectClient.left, rectClient.top + 24, rectClient.right, rectClient.bottom),
                             clrFace);
        CRect rectFrame = rectBox;
        pDraw->Draw3dRect(&rectFrame, RGB(128, 128, 128), RGB(255, 255, 255));
        rectFrame.DeflateRect(1, 1);
        pDraw->Draw3dRect(&rectFrame, RGB(128, 128, 128), RGB(192, 192, 192));
        rectFrame.DeflateRect(1, 1);
        pDraw->FillSolidRect(&rectFrame, m_bLit ? RGB(0, 0, 0) : RGB(192, 192, 192));

        HGDIOBJ hOldFont =
            g_fontSmall.m_hObject != nullptr ? ::SelectObject(hDC, g_fontSmall.m_hObject) : nullptr;
        int nOldMode = ::SetBkMode(hDC, TRANSPARENT);
        COLORREF clrOld = ::SetTextColor(hDC, m_bLit ? RGB(0, 0, 0) : RGB(128, 128, 128));
        RECT rectLabel = {rectClient.left, rectClient.top + 5, rectBox.left - 6, rectClient.bottom};
        ::DrawTextA(hDC, m_strLabel, m_strLabel.GetLength(), &rectLabel,
                    DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);
        ::SetTextColor(hDC, clrOld);
        ::SetBkMode(hDC, nOldMode);
        if (hOldFont != nullptr)
            ::SelectObject(hDC, hOldFont);
    }

    if (m_bmpDigits.m_hObject != nullptr) {
        int glyphs[5] = {};
        int nGlyphs = DigitGlyphs(m_nValue, m_nInterval, m_bTimeMode, glyphs);
        static const int kTimeOffsets[5] = {0, 11, 22, 26, 37};
        static const int kNumberOffsets[4] = {0, 11, 22, 33};
        int x0 = rectBox.left + (m_bTimeMode ? 4 : 6);
        int y0 = rectClient.top + 4;
        HDC hMem = ::CreateCompatibleDC(hDC);
        HGDIOBJ hOld = ::SelectObject(hMem, m_bmpDigits.m_hObject);
        for (int i = 0; i < nGlyphs; i++) {
            int glyph = glyphs[i];
            int srcX = GlyphX(glyph);
            if (!m_bLit)
                srcX = glyph <= kGlyphBlank ? kUnlitDigitX : kUnlitSeparatorX;
            int x = x0 + (m_bTimeMode ? kTimeOffsets[i] : kNumberOffsets[i]);
            ::BitBlt(hDC, x, y0, GlyphWidth(glyph), kGlyphHeight, hMem, srcX, 0, SRCCOPY);
        }
        ::SelectObject(hMem, hOld);
        ::DeleteDC(hMem);
    }
    if (hOwnDC != nullptr)
        ::ReleaseDC(m_hWnd, hOwnDC);
}
