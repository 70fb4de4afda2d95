// Drawing routines over the framework's DC and GDI wrappers.
#include "core/DrawUtil.h"

#include <utility>
#include <vector>

#include "core/PackedDib.h"
#include "framework/Dc.h"

void Draw3DRect(CDC* dc, const RECT& rect, BOOL sunken, int thickness, COLORREF first, COLORREF second)
{
    CPen penA(PS_SOLID, 1, sunken ? second : first);
    CPen penB(PS_SOLID, 1, sunken ? first : second);
    CPen* previous = dc->SelectObject(&penA);
    for (int i = 0; i < thickness; ++i) {
        dc->MoveTo(rect.left + i, rect.bottom - i - 1);
        dc->LineTo(rect.left + i, rect.top + i);
        dc->LineTo(rect.right - i, rect.top + i);
    }
    dc->SelectObject(&penB);
    for (int i = 0; i < thickness; ++i) {
        dc->MoveTo(rect.left + i + 1, rect.bottom - 1 - i);
        dc->LineTo(rect.right - 1 - i, rect.bottom - 1 - i);
        dc->LineTo(rect.right - 1 - i, rect.top + i - 1);
    }
    dc->SelectObject(previous);
}

void FillRectColor(CDC* dc, const RECT& rect, COLORREF color)
{
    CBrush brush(color);
    dc->FillRect(&rect, &brush);
}

void FrameRectColor(CDC* dc, const RECT& rect, COLORREF color)
{
    CBrush brush(color);
    dc->FrameRect(&rect, &brush);
}

void DrawBitmap(CDC* dc, CBitmap* bitmap, int x, int y, int srcX, int srcY, int width, int height)
{
    if (dc == nullptr || bitmap == nullptr || bitmap->GetSafeHandle() == nullptr)
        return;
    if (width == 0 || height == 0) {
        int w = 0, h = 0;
        GetBitmapSize(bitmap, &w, &h);
        if (width == 0)
            width = w;
        if (height == 0)
            height = h;
    }
    CDC memory;
    if (!memory.CreateCompatibleDC(dc))
        return;
    CBitmap* previous = memory.SelectObject(bitmap);
    dc->BitBlt(x, y, width, height, &memory, srcX, srcY, SRCCOPY);
    memory.SelectObject(previous);
}

void DrawBitmapRect(CDC* dc, CBitmap* bitmap, int x, int y, const RECT& source)
{
    DrawBitmap(dc, bitmap, x, y, source.left, source.top, source.right - source.left + 1,
               source.bottom - source.top + 1);
}

void GetBitmapSize(CBitmap* bitmap, int* width, int* height)
{
    BITMAP bm = {};
    if (bitmap != nullptr && bitmap->GetSafeHandle() != nullptr)
        bitmap->GetBitmap(&bm);
    if (width != nullptr)
        *width = bm.bmWidth;
    if (height != nullptr)
        *height = bm.bmHeight;
}

int DrawTextInRect(CDC* dc, RECT* rect, LPCSTR text, CFont* font, COLORREF textColor, UINT format)
{
    const int saved = dc->SaveDC();
    if (font != nullptr)
        dc->SelectObject(font);
    dc->SetTextColor(textColor);
    dc->SetBkMode(TRANSPARENT);
    const int height = dc->DrawText(text, -1, rect, format);
    dc->RestoreDC(saved);
    return height;
}

int DrawTextOnFill(CDC* dc, RECT* rect, LPCSTR text, CFont* font, COLORREF textColor, UINT format,
                   COLORREF background)
{
    FillRectColor(dc, *rect, background);
    return DrawTextInRect(dc, rect, text, font, textColor, format);
}

int DrawEmbossedText(CDC* dc, RECT rect, LPCSTR text, CFont* font, COLORREF face, UINT format, COLORREF light,
                     COLORREF dark, int depth)
{
    const int saved = dc->SaveDC();
    if (font != nullptr)
        dc->SelectObject(font);
    dc->SetBkMode(TRANSPARENT);
    RECT shifted = rect;
    OffsetRect(&shifted, depth, depth);
    dc->SetTextColor(dark);
    dc->DrawText(text, -1, &shifted, format);
    shifted = rect;
    OffsetRect(&shifted, -depth, -depth);
    dc->SetTextColor(light);
    dc->DrawText(text, -1, &shifted, format);
    dc->SetTextColor(face);
    const int result = dc->DrawText(text, -1, &rect, format);
    dc->RestoreDC(saved);
    return result;
}

int DrawPatternRect(HDC hdc, const RECT& rect, COLORREF color)
{
    const int width = rect.right - rect.left + 1;
    const int height = rect.bottom - rect.top + 1;
    if (hdc == nullptr || width <= 0 || height <= 0)
        return 1;
    // Rows alternate 0x55 and 0xAA: a 0 bit takes the colour.
    const WORD rows[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    HBITMAP patternBitmap = CreateBitmap(8, 8, 1, 1, rows);
    HBRUSH pattern = CreatePatternBrush(patternBitmap);
    HDC memory = CreateCompatibleDC(hdc);
    HBITMAP copy = CreateCompatibleBitmap(hdc, width, height);
    if (pattern != nullptr && memory != nullptr && copy != nullptr) {
        HGDIOBJ oldCopy = SelectObject(memory, copy);
        HGDIOBJ oldMemoryBrush = SelectObject(memory, pattern);
        // The copy starts at (left, top): align its pattern with the DC's.
        SetBrushOrgEx(memory, ((-rect.left) % 8 + 8) % 8, ((-rect.top) % 8 + 8) % 8, nullptr);
        BitBlt(memory, 0, 0, width, height, hdc, rect.left, rect.top, SRCCOPY);
        SetTextColor(memory, RGB(0, 0, 0));
        SetBkColor(memory, RGB(255, 255, 255));
        PatBlt(memory, 0, 0, width, height, 0x00A000C9); // destination AND pattern

        const int saved = SaveDC(hdc);
        SetTextColor(hdc, color);
        SetBkColor(hdc, RGB(0, 0, 0));
        SetBkMode(hdc, OPAQUE);
        SelectObject(hdc, pattern);
        PatBlt(hdc, rect.left, rect.top, width, height, PATCOPY);
        BitBlt(hdc, rect.left, rect.top, width, height, memory, 0, 0, SRCPAINT);
        RestoreDC(hdc, saved);

        SelectObject(memory, oldMemoryBrush);
        SelectObject(memory, oldCopy);
    }
    if (memory != nullptr)
        DeleteDC(memory);
    if (copy != nullptr)
        DeleteObject(copy);
    if (pattern != nullptr)
        DeleteObject(pattern);
    if (patternBitmap != nullptr)
        DeleteObject(patternBitmap);
    return 1;
}

void NormalizeRect(RECT* rect)
{
    if (rect == nullptr)
        return;
    NormalizeRectCoords(reinterpret_cast<int*>(&rect->left), reinterpret_cast<int*>(&rect->top),
                        reinterpret_cast<int*>(&rect->right), reinterpret_cast<int*>(&rect->bottom));
}

void NormalizeRectCoords(int* x1, int* y1, int* x2, int* y2)
{
    if (*x1 > *x2)
        std::swap(*x1, *x2);
    if (*y1 > *y2)
        std::swap(*y1, *y2);
}

void CopyBitmapObject(CBitmap* target, CBitmap* source)
{
    if (target == nullptr || source == nullptr || source->GetSafeHandle() == nullptr)
        return;
    HBITMAP copy = CopyBitmap(static_cast<HBITMAP>(source->GetSafeHandle()));
    if (copy == nullptr)
        return;
    target->DeleteObject();
    target->Attach(copy);
}

int DrawUtilitiesReady() { return 1; }

namespace {

// Pixels inked by the glyph of the character in the font selected in hdc; -1 when it has no glyph.
int GlyphInk(HDC hdc, UINT ch)
{
    GLYPHMETRICS metrics = {};
    const MAT2 identity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    const DWORD size = ::GetGlyphOutlineA(hdc, ch, GGO_BITMAP, &metrics, 0, nullptr, &identity);
    if (size == GDI_ERROR || size == 0)
        return -1;
    std::vector<BYTE> bits(size);
    if (::GetGlyphOutlineA(hdc, ch, GGO_BITMAP, &metrics, size, bits.data(), &identity) == GDI_ERROR)
        return -1;
    int ink = 0;
    for (BYTE b : bits)
        for (; b != 0; b &= static_cast<BYTE>(b - 1))
            ink++;
    return ink;
}

} // namespace

BOOL FontDrawsCapitalAccents(HFONT font)
{
    HDC hdc = ::GetDC(nullptr);
    if (hdc == nullptr)
        return TRUE;
    HGDIOBJ old = ::SelectObject(hdc, font);
    const int plain = GlyphInk(hdc, 'E');
    const int accented = GlyphInk(hdc, 0xC9);
    ::SelectObject(hdc, old);
    ::ReleaseDC(nullptr, hdc);
    // A face that cannot say either way is taken at its word.
    return plain < 0 || accented < 0 || accented > plain;
}
