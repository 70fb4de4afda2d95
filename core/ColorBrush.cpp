// Mask-plane pixels, colour interpolation and dithered brushes.
#include "core/ColorBrush.h"

#include <cstring>
#include <memory>

#include "core/BusyCursor.h"
#include "core/ColorReduce.h"
#include "core/Palette.h"
#include "core/Progress.h"
#include "core/Resize.h"
#include "core/StringUtil.h"
#include "framework/Dc.h"

namespace {

// clang-format off
const BYTE kStandardColors[16][3] = {
    {0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0},   {0, 0, 128},   {128, 0, 128},
    {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {240, 0, 0}, {0, 240, 0},   {240, 240, 0},
    {0, 0, 240},   {240, 0, 240}, {0, 240, 240}, {240, 240, 240},
};
// clang-format on

const COLORREF kWhite = RGB(255, 255, 255);

// A packed 8 x 8 pattern DIB: header, colour table, rows.
template <int Bits> struct PatternDib {
    BITMAPINFOHEADER header;
    RGBQUAD colors[1 << Bits];
    BYTE rows[8][Bits == 4 ? 4 : 8];
};

// The pattern headers, built once and copied for every brush.
const PatternDib<4>& Pattern4Template()
{
    static const PatternDib<4> pattern = [] {
        PatternDib<4> p = {};
        p.header.biSize = sizeof(BITMAPINFOHEADER);
        p.header.biWidth = 8;
        p.header.biHeight = 8;
        p.header.biPlanes = 1;
        p.header.biBitCount = 4;
        p.header.biClrUsed = 16;
        for (int i = 0; i < 16; ++i)
            p.colors[i] = RGBQUAD{kStandardColors[i][2], kStandardColors[i][1], kStandardColors[i][0], 0};
        return p;
    }();
    return pattern;
}

const PatternDib<8>& Pattern8Template()
{
    static const PatternDib<8> pattern = [] {
        PatternDib<8> p = {};
        p.header.biSize = sizeof(BITMAPINFOHEADER);
        p.header.biWidth = 8;
        p.header.biHeight = 8;
        p.header.biPlanes = 1;
        p.header.biBitCount = 8;
        p.header.biClrUsed = 256;
        FillFixedColorTable(kPaletteDefault, p.colors);
        return p;
    }();
    return pattern;
}

BOOL AttachPatternBrush(CBrush* brush, const void* packed)
{
    HBRUSH made = CreateDIBPatternBrushPt(packed, DIB_RGB_COLORS);
    return made != nullptr && brush->Attach(made);
}

BOOL CreateMonoDitherBrush(CBrush* brush, COLORREF color)
{
    const int grey = (GetRValue(color) + GetGValue(color) + GetBValue(color)) / 3;
    WORD rows[8] = {};
    for (int i = 0; i < 64; ++i) {
        if (grey > DitherMatrix4Bit[i])
            rows[i / 8] = WORD(rows[i / 8] | (0x80 >> (i % 8)));
    }
    CBitmap bitmap;
    return bitmap.CreateBitmap(8, 8, 1, 1, rows) && brush->CreatePatternBrush(&bitmap);
}

BYTE CutToFiveBits(BYTE channel) { return channel == 255 ? channel : BYTE(channel & 0xF8); }

} // namespace

int GetColorKind(COLORREF color)
{
    const DWORD top = color >> 24;
    return top <= 0xF0 ? 0 : (top == 0xF1 ? 1 : 2);
}

void SetMaskPixel(CDC* colorPlane, CDC* maskPlane, COLORREF color, int x, int y)
{
    switch (GetColorKind(color)) {
    case 0:
        maskPlane->SetPixel(x, y, RGB(0, 0, 0));
        colorPlane->SetPixel(x, y, (color & 0x00FFFFFF) | 0x02000000);
        break;
    case 1:
        maskPlane->SetPixel(x, y, kWhite);
        colorPlane->SetPixel(x, y, RGB(0, 0, 0));
        break;
    default:
        maskPlane->SetPixel(x, y, kWhite);
        colorPlane->SetPixel(x, y, kWhite);
        break;
    }
}

COLORREF GetMaskPixel(CDC* colorPlane, CDC* maskPlane, int x, int y)
{
    const COLORREF color = colorPlane->GetPixel(x, y);
    if ((maskPlane->GetPixel(x, y) & 0x00FFFFFF) != kWhite)
        return color;
    return (color & 0x00FFFFFF) == kWhite ? kInverseScreenColor : kScreenColor;
}

int FindStandardColorIndex(BYTE red, BYTE green, BYTE blue)
{
    for (int i = 0; i < 16; ++i) {
        if (kStandardColors[i][0] == red && kStandardColors[i][1] == green && kStandardColors[i][2] == blue)
            return i;
    }
    return -1;
}

COLORREF InterpolateColor(int i, COLORREF a, COLORREF b, int n)
{
    if (n <= 1)
        return a & 0x00FFFFFF;
    auto channel = [&](int ca, int cb) { return BYTE((ca * (n - 1 - i) + cb * i) / (n - 1)); };
    return RGB(channel(GetRValue(a), GetRValue(b)), channel(GetGValue(a), GetGValue(b)),
               channel(GetBValue(a), GetBValue(b)));
}

int GetDesktopBitsPerPixel()
{
    HWND desktop = GetDesktopWindow();
    HDC dc = GetDC(desktop);
    const int bits = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
    ReleaseDC(desktop, dc);
    return bits;
}

BOOL CreateColorBrush(CBrush* brush, COLORREF color, int depth)
{
    if (brush == nullptr)
        return FALSE;
    if ((color >> 24) != 0) {
        brush->DeleteObject();
        return brush->CreateSolidBrush(color);
    }
    return CreateDitherBrush(brush, color, depth);
}

BOOL CreateMaskBrushPair(COLORREF color, CBrush* mask, CBrush* colorBrush, int depth, HPALETTE palette)
{
    if (mask == nullptr || colorBrush == nullptr)
        return FALSE;
    mask->DeleteObject();
    colorBrush->DeleteObject();
    switch (GetColorKind(color)) {
    case 1:
        return mask->CreateSolidBrush(kWhite) && colorBrush->CreateSolidBrush(RGB(0, 0, 0));
    case 2:
        return mask->CreateSolidBrush(kWhite) && colorBrush->CreateSolidBrush(kWhite);
    default:
        break;
    }
    if (!mask->CreateSolidBrush(RGB(0, 0, 0)))
        return FALSE;
    const DWORD top = color >> 24;
    if (top != 1 && top != 2)
        return CreateDitherBrush(colorBrush, color & 0x00FFFFFF, depth);
    if ((depth == 15 || depth == 16) && palette != nullptr) {
        // These displays show palette entries inexactly: take the entry's colour at 5 bits a channel.
        const UINT index = top == 1 ? LOWORD(color) : GetNearestPaletteIndex(palette, color & 0x00FFFFFF);
        PALETTEENTRY entry = {};
        if (GetPaletteEntries(palette, index, 1, &entry) == 1)
            return colorBrush->CreateSolidBrush(
                RGB(CutToFiveBits(entry.peRed), CutToFiveBits(entry.peGreen), CutToFiveBits(entry.peBlue)));
    }
    return colorBrush->CreateSolidBrush(color);
}

BOOL CreateDitherBrush(CBrush* brush, COLORREF color, int depth)
{
    if (brush == nullptr)
        return FALSE;
    brush->DeleteObject();
    color &= 0x00FFFFFF;
    switch (depth) {
    case 1:
        return CreateMonoDitherBrush(brush, color);
    case 4: {
        PatternDib<4> p = Pattern4Template();
        BYTE cells[64];
        ComputeDitherPattern(color, cells);
        for (int i = 0; i < 64; ++i) {
            BYTE& b = p.rows[7 - i / 8][(i % 8) / 2];
            b = BYTE((i % 2) ? (b | cells[i]) : (cells[i] << 4));
        }
        return AttachPatternBrush(brush, &p);
    }
    case 8: {
        PatternDib<8> p = Pattern8Template();
        BYTE cells[64];
        MakeDitherPattern((DWORD(GetRValue(color)) << 16) | (DWORD(GetGValue(color)) << 8) | GetBValue(color),
                          cells);
        for (int i = 0; i < 64; ++i)
            p.rows[7 - i / 8][i % 8] = cells[i];
        return AttachPatternBrush(brush, &p);
    }
    default:
        return brush->CreateSolidBrush(color);
    }
}

int ComputeDitherShares(COLORREF color, DitherShare* shares)
{
    if (shares == nullptr)
        return 0;
    // Channels as (quarter, bit in the on/off colour), largest first.
    int quarter[3] = {(GetRValue(color) + 1) / 4, (GetGValue(color) + 1) / 4, (GetBValue(color) + 1) / 4};
    int order[3] = {0, 1, 2};
    for (int i = 0; i < 3; ++i)
        for (int j = i + 1; j < 3; ++j)
            if (quarter[order[j]] > quarter[order[i]]) {
                const int t = order[i];
                order[i] = order[j];
                order[j] = t;
            }
    auto colourOf = [](bool r, bool g, bool b) {
        return FindStandardColorIndex(BYTE(r ? 240 : 0), BYTE(g ? 240 : 0), BYTE(b ? 240 : 0));
    };
    bool on[3] = {true, true, true};
    int count = 0;
    int previous = 0;
    // From the smallest quarter (all three channels on) to the largest (one channel on), then black.
    for (int k = 2; k >= 0; --k) {
        const int cells = quarter[order[k]] - previous;
        if (cells > 0)
            shares[count++] = DitherShare{cells, colourOf(on[0], on[1], on[2])};
        previous = quarter[order[k]];
        on[order[k]] = false;
    }
    if (64 - previous > 0)
        shares[count++] = DitherShare{64 - previous, 0};
    return count;
}

void FillDitherPattern(BYTE* pattern, const DitherShare* shares, int count)
{
    if (pattern == nullptr)
        return;
    // Share for each threshold rank, in order.
    BYTE byRank[64];
    int rank = 0;
    for (int s = 0; s < count && shares != nullptr; ++s)
        for (int c = 0; c < shares[s].count && rank < 64; ++c)
            byRank[rank++] = BYTE(shares[s].index);
    while (rank < 64)
        byRank[rank++] = 0;
    for (int i = 0; i < 64; ++i)
        pattern[i] = byRank[DitherMatrix4Bit[i] / 4];
}

void ComputeDitherPattern(COLORREF color, BYTE* pattern)
{
    DitherShare shares[4];
    const int count = ComputeDitherShares(color, shares);
    FillDitherPattern(pattern, shares, count);
}

void DrawDitheredCopy(CDC* dc, int x, int y, int columns, int rows, CDC* sample, int left, int top, int width,
                      int height, int depth)
{
    if (dc == nullptr || sample == nullptr || columns <= 0 || rows <= 0)
        return;
    SetAppCursor(kAppCursorBusy);
    BeginProgress(LoadStringOr(55094, "Collage..."));
    // A null pen: each 2 x 2 rectangle then fills exactly one pixel.
    CGdiObject* previousPen = dc->SelectStockObject(NULL_PEN);
    CBrush* previousBrush = dc->GetCurrentBrush();
    std::unique_ptr<CBrush> brush;
    COLORREF last = CLR_INVALID;
    for (int r = 0; r < rows; ++r) {
        const int sy = top + int(LONGLONG(height) * r / rows);
        for (int c = 0; c < columns; ++c) {
            const COLORREF color = sample->GetPixel(left + int(LONGLONG(width) * c / columns), sy);
            if (!brush || color != last) {
                std::unique_ptr<CBrush> fresh(new CBrush);
                CreateDitherBrush(fresh.get(), color, depth);
                dc->SelectObject(fresh.get());
                brush = std::move(fresh);
                last = color;
            }
            dc->Rectangle(x + c, y + r, x + c + 2, y + r + 2);
        }
        SetProgress(DWORD(r), DWORD(rows));
    }
    if (previousBrush != nullptr)
        dc->SelectObject(previousBrush);
    if (previousPen != nullptr)
        dc->SelectObject(previousPen);
    EndProgress();
    RestoreAppCursor();
}
