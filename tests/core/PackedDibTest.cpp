// The packed-DIB family: creation, measuring, painting, copies and conversions.
#include <gtest/gtest.h>

#include "core/PackedDib.h"
#include "framework/Gdi.h"
#include "tests/core/DibTestUtil.h"

#include <cstring>
#include <vector>

using namespace dibtest;

namespace {

const BYTE kStandard[16][3] = {
    {0, 0, 0},     {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128}, {128, 0, 128},
    {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0}, {255, 255, 0},
    {0, 0, 255},   {255, 0, 255},   {0, 255, 255},   {255, 255, 255},
};

// A 32-bit top-down DIB section selected into a memory DC, for reading painted pixels back.
struct Canvas {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    DWORD* pixels = nullptr;
    int width, height;
    Canvas(int w, int h, DWORD fill = 0x00FF00FF) : width(w), height(h)
    {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        pixels = static_cast<DWORD*>(bits);
        dc = CreateCompatibleDC(nullptr);
        old = SelectObject(dc, bitmap);
        for (int i = 0; i < w * h; ++i)
            pixels[i] = fill;
    }
    ~Canvas()
    {
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    Rgb At(int x, int y) const
    {
        GdiFlush();
        DWORD v = pixels[y * width + x];
        return Rgb{int((v >> 16) & 255), int((v >> 8) & 255), int(v & 255)};
    }
};

// A 24-bit picture whose every pixel has its own colour.
PackedDIB MakePattern(int w, int h)
{
    PackedDIB dib = CreateDIB(w, h, 24);
    void* p = GlobalLock(dib);
    BYTE* bits = FindDIBBits(p);
    for (int y = 0; y < h; ++y) {
        BYTE* row = bits + (h - 1 - y) * RowBytes(w, 24);
        for (int x = 0; x < w; ++x) {
            row[3 * x] = BYTE(10 + 40 * x);     // blue
            row[3 * x + 1] = BYTE(20 + 30 * y); // green
            row[3 * x + 2] = BYTE(200 - 7 * x - 3 * y);
        }
    }
    GlobalUnlock(dib);
    return dib;
}

} // namespace

TEST(PackedDib, CreateDIBRoundsBitCountsUp)
{
    const struct {
        WORD asked, got;
    } cases[] = {{0, 1},   {1, 1},   {2, 4},   {3, 4},   {4, 4},   {5, 8},   {8, 8},  {9, 16},
                 {12, 16}, {16, 16}, {17, 24}, {24, 24}, {25, 32}, {32, 32}, {33, 4}, {48, 4}};
    for (const auto& c : cases) {
        DibHolder dib(CreateDIB(7, 5, c.asked));
        ASSERT_NE(dib.dib, nullptr) << c.asked;
        BITMAPINFOHEADER h = HeaderOf(dib);
        EXPECT_EQ(h.biBitCount, c.got) << "asked " << c.asked;
        DWORD colors = c.got == 1 ? 2 : c.got == 4 ? 16 : c.got == 8 ? 256 : 0;
        EXPECT_EQ(h.biClrUsed, colors);
        EXPECT_EQ(h.biSize, 40u);
        EXPECT_EQ(h.biPlanes, 1);
        EXPECT_EQ(h.biCompression, DWORD(BI_RGB));
        EXPECT_EQ(h.biSizeImage, 0u);
        EXPECT_EQ(GlobalSize(dib), SIZE_T(40 + colors * 4 + RowBytes(7, c.got) * 5)) << c.asked;
    }
}

TEST(PackedDib, CreateDIB8BitHas16StandardColoursSixteenTimes)
{
    DibHolder dib(CreateDIB(10, 3, 8));
    ASSERT_NE(dib.dib, nullptr);
    EXPECT_EQ(GlobalSize(dib), SIZE_T(40 + 1024 + 12 * 3));
    const BYTE* p = static_cast<const BYTE*>(GlobalLock(dib));
    for (int i = 0; i < 256; ++i) {
        const BYTE* q = p + 40 + 4 * i;
        EXPECT_EQ(q[2], kStandard[i % 16][0]) << i;
        EXPECT_EQ(q[1], kStandard[i % 16][1]) << i;
        EXPECT_EQ(q[0], kStandard[i % 16][2]) << i;
        EXPECT_EQ(q[3], 0) << i;
    }
    for (int i = 40 + 1024; i < 40 + 1024 + 36; ++i)
        EXPECT_EQ(p[i], 0) << "rows start as index 0";
    GlobalUnlock(dib);
}

TEST(PackedDib, CreateDIBColourTablesOf1And4Bits)
{
    DibHolder one(CreateDIB(3, 3, 1));
    const BYTE* p = static_cast<const BYTE*>(GlobalLock(one));
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(p[40 + i], 0) << "black and black";
    GlobalUnlock(one);

    DibHolder four(CreateDIB(3, 3, 33));
    BITMAPINFOHEADER h = HeaderOf(four);
    EXPECT_EQ(h.biBitCount, 4);
    p = static_cast<const BYTE*>(GlobalLock(four));
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(p[40 + 4 * i + 2], kStandard[i][0]);
        EXPECT_EQ(p[40 + 4 * i + 1], kStandard[i][1]);
        EXPECT_EQ(p[40 + 4 * i], kStandard[i][2]);
    }
    GlobalUnlock(four);
}

TEST(PackedDib, CreateDIBRefusesPicturesAboveOneGigabyte)
{
    EXPECT_EQ(CreateDIB(100000, 100000, 24), nullptr);
    EXPECT_EQ(CreateDIB(0xFFFFFFFF, 2, 32), nullptr);
    EXPECT_EQ(CreateDIB(2, 0x80000000u, 8), nullptr);
    DibHolder empty(CreateDIB(0, 5, 24));
    ASSERT_NE(empty.dib, nullptr) << "a picture without pixels is allowed";
    EXPECT_EQ(GlobalSize(empty), SIZE_T(40));
}

TEST(PackedDib, MeasuresInfoHeaders)
{
    BYTE block[40 + 400] = {};
    auto* h = reinterpret_cast<BITMAPINFOHEADER*>(block);
    h->biSize = 40;
    h->biWidth = 300;
    h->biHeight = 7;
    h->biBitCount = 24;
    EXPECT_EQ(DIBNumColors(block), 0);
    EXPECT_EQ(PaletteSize(block), 0);
    EXPECT_EQ(FindDIBBits(block), block + 40);
    EXPECT_EQ(DIBWidth(block), 300u);
    EXPECT_EQ(DIBHeight(block), 7u);
    h->biBitCount = 8;
    h->biClrUsed = 100;
    EXPECT_EQ(DIBNumColors(block), 100);
    EXPECT_EQ(PaletteSize(block), 400);
    EXPECT_EQ(FindDIBBits(block), block + 440);
    h->biClrUsed = 0;
    EXPECT_EQ(DIBNumColors(block), 256);
    h->biBitCount = 1;
    EXPECT_EQ(DIBNumColors(block), 2);
}

TEST(PackedDib, MeasuresCoreHeaders)
{
    BYTE block[12 + 48 + 16] = {};
    auto* h = reinterpret_cast<BITMAPCOREHEADER*>(block);
    h->bcSize = 12;
    h->bcWidth = 0xFFFE;
    h->bcHeight = 3;
    h->bcPlanes = 1;
    h->bcBitCount = 4;
    EXPECT_EQ(DIBNumColors(block), 16);
    EXPECT_EQ(PaletteSize(block), 48) << "three bytes per colour";
    EXPECT_EQ(DIBWidth(block), 0xFFFEu) << "16-bit width";
    EXPECT_EQ(DIBHeight(block), 3u);
    EXPECT_EQ(FindDIBBits(block), block + 12 + 48);
}

TEST(PackedDib, NumColorsOfHandles)
{
    EXPECT_EQ(DIBNumColorsHandle(nullptr), 0);
    DibHolder dib(CreateDIB(2, 2, 8));
    EXPECT_EQ(DIBNumColorsHandle(dib), 256);
}

TEST(PackedDib, PaletteFromColourTable)
{
    EXPECT_EQ(CreateDIBPaletteHandle(nullptr), nullptr);
    DibHolder trueColour(CreateDIB(2, 2, 24));
    EXPECT_EQ(CreateDIBPaletteHandle(trueColour), nullptr);
    DibHolder dib(CreateDIB(2, 2, 4));
    HPALETTE palette = CreateDIBPaletteHandle(dib);
    ASSERT_NE(palette, nullptr);
    PALETTEENTRY entries[16];
    ASSERT_EQ(GetPaletteEntries(palette, 0, 16, entries), 16u);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(entries[i].peRed, kStandard[i][0]);
        EXPECT_EQ(entries[i].peGreen, kStandard[i][1]);
        EXPECT_EQ(entries[i].peBlue, kStandard[i][2]);
        EXPECT_EQ(entries[i].peFlags, 0);
    }
    DeleteObject(palette);
}

TEST(PackedDib, PaintDIBOneToOnePixelByPixel)
{
    DibHolder dib(MakePattern(5, 4));
    Canvas canvas(9, 8);
    RECT dest = {2, 3, 7, 7}, src = {0, 0, 5, 4};
    EXPECT_NE(PaintDIB(canvas.dc, &dest, dib, &src, nullptr), 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(canvas.At(2 + x, 3 + y), PixelOf(dib, x, y)) << x << "," << y;
    EXPECT_EQ(canvas.At(1, 3), (Rgb{255, 0, 255})) << "nothing outside the destination";
    EXPECT_EQ(canvas.At(7, 6), (Rgb{255, 0, 255}));
}

TEST(PackedDib, PaintDIBStretchesEachPixelToABlock)
{
    DibHolder dib(MakePattern(3, 2));
    Canvas canvas(6, 4);
    RECT dest = {0, 0, 6, 4}, src = {0, 0, 3, 2};
    EXPECT_NE(PaintDIB(canvas.dc, &dest, dib, &src, nullptr), 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(canvas.At(x, y), PixelOf(dib, x / 2, y / 2)) << x << "," << y;
}

TEST(PackedDib, PaintDIBSourceRectangleIsTopDown)
{
    // The top half of a picture 100 high starts at source y 50 for GDI: check it by the pixels.
    DibHolder dib(CreateDIB(2, 100, 24));
    BYTE* p = static_cast<BYTE*>(GlobalLock(dib));
    BYTE* bits = FindDIBBits(p);
    for (int y = 0; y < 100; ++y) // stored rows: 0 is the bottom line
        for (int x = 0; x < 2; ++x)
            bits[y * 8 + 3 * x + 2] = BYTE(y);
    GlobalUnlock(dib);
    Canvas canvas(2, 50);
    RECT dest = {0, 0, 2, 50}, src = {0, 0, 2, 50};
    PaintDIB(canvas.dc, &dest, dib, &src, nullptr);
    EXPECT_EQ(canvas.At(0, 0).r, 99) << "top line of the picture";
    EXPECT_EQ(canvas.At(1, 49).r, 50);
    RECT lower = {0, 50, 2, 100};
    PaintDIB(canvas.dc, &dest, dib, &lower, nullptr);
    EXPECT_EQ(canvas.At(0, 0).r, 49);
    EXPECT_EQ(canvas.At(0, 49).r, 0);
}

TEST(PackedDib, PaintDIBPaintsPalettePictures)
{
    DibHolder dib(CreateDIB(4, 1, 4));
    BYTE* p = static_cast<BYTE*>(GlobalLock(dib));
    BYTE* row = FindDIBBits(p);
    row[0] = 0x9A; // red, green
    row[1] = 0xCF; // blue, white
    GlobalUnlock(dib);
    HPALETTE palette = CreateDIBPaletteHandle(dib);
    Canvas canvas(4, 1);
    RECT r = {0, 0, 4, 1};
    EXPECT_NE(PaintDIB(canvas.dc, &r, dib, &r, palette), 0);
    EXPECT_EQ(canvas.At(0, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(canvas.At(1, 0), (Rgb{0, 255, 0}));
    EXPECT_EQ(canvas.At(2, 0), (Rgb{0, 0, 255}));
    EXPECT_EQ(canvas.At(3, 0), (Rgb{255, 255, 255}));
    EXPECT_EQ(PaintDIB(canvas.dc, &r, nullptr, &r, nullptr), 0);
    DeleteObject(palette);
}

TEST(PackedDib, DeviceBitmapRoundTripKeepsPixels)
{
    EXPECT_EQ(BitmapToDIB(nullptr, nullptr), nullptr);
    DibHolder dib(MakePattern(6, 3));
    HBITMAP bitmap = DIBToBitmap(dib, nullptr);
    ASSERT_NE(bitmap, nullptr);
    DibHolder back(BitmapToDIB(bitmap, nullptr));
    ASSERT_NE(back.dib, nullptr);
    BITMAPINFOHEADER h = HeaderOf(back);
    EXPECT_EQ(h.biWidth, 6);
    EXPECT_EQ(h.biHeight, 3);
    ASSERT_GE(h.biBitCount, 24) << "a true-colour screen";
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(PixelOf(back, x, y), PixelOf(dib, x, y));

    RECT partRect = {1, 1, 4, 3};
    HBITMAP part = CopyBitmapRect(bitmap, &partRect);
    ASSERT_NE(part, nullptr);
    BITMAP bm;
    GetObject(part, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmWidth, 3);
    EXPECT_EQ(bm.bmHeight, 2);
    DibHolder partDib(BitmapToDIB(part, nullptr));
    EXPECT_EQ(PixelOf(partDib, 0, 0), PixelOf(dib, 1, 1));
    EXPECT_EQ(PixelOf(partDib, 2, 1), PixelOf(dib, 3, 2));
    HBITMAP whole = CopyBitmap(bitmap);
    ASSERT_NE(whole, nullptr);
    GetObject(whole, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmWidth, 6);
    RECT empty = {2, 2, 2, 3};
    EXPECT_EQ(CopyBitmapRect(bitmap, &empty), nullptr) << "an empty rectangle";
    DeleteObject(whole);
    DeleteObject(part);
    DeleteObject(bitmap);
}

TEST(PackedDib, CopyGlobalHandleCopiesEveryByte)
{
    EXPECT_EQ(CopyGlobalHandle(nullptr), nullptr);
    DibHolder dib(MakePattern(3, 3));
    DibHolder copy(CopyGlobalHandle(dib));
    ASSERT_NE(copy.dib, nullptr);
    ASSERT_EQ(GlobalSize(copy), GlobalSize(dib));
    EXPECT_EQ(memcmp(GlobalLock(copy), GlobalLock(dib), GlobalSize(dib)), 0);
    GlobalUnlock(copy);
    GlobalUnlock(dib);
    EXPECT_EQ(GlobalFreeHandle(nullptr), nullptr);
}

TEST(PackedDib, SetDIBColorsFromPalette)
{
    EXPECT_EQ(SetDIBColorsFromPalette(nullptr, nullptr, 0), 0);
    std::vector<BYTE> block(40 + 1024, 0xEE);
    auto* h = reinterpret_cast<BITMAPINFOHEADER*>(block.data());
    *h = BITMAPINFOHEADER{};
    h->biSize = 40;
    h->biBitCount = 4;
    EXPECT_EQ(SetDIBColorsFromPalette(h, nullptr, DIB_PAL_COLORS), 1);
    const WORD* indices = reinterpret_cast<const WORD*>(block.data() + 40);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(indices[i], i);
    EXPECT_EQ(block[40 + 32], 0xEE) << "only 16 indices";

    DibHolder source(CreateDIB(1, 1, 4));
    HPALETTE palette = CreateDIBPaletteHandle(source);
    EXPECT_EQ(SetDIBColorsFromPalette(h, palette, DIB_RGB_COLORS), 1);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(block[40 + 4 * i + 2], kStandard[i][0]);
        EXPECT_EQ(block[40 + 4 * i], kStandard[i][2]);
        EXPECT_EQ(block[40 + 4 * i + 3], 0);
    }
    DeleteObject(palette);

    h->biBitCount = 24;
    h->biClrUsed = 3;
    h->biCompression = BI_BITFIELDS;
    block[40] = 0x55;
    EXPECT_EQ(SetDIBColorsFromPalette(h, nullptr, DIB_RGB_COLORS), 1);
    EXPECT_EQ(block[40], 0x55) << "bit-field masks are not a colour table";
}

TEST(PackedDib, GetPaletteColors)
{
    DibHolder source(CreateDIB(1, 1, 8));
    HPALETTE palette = CreateDIBPaletteHandle(source);
    RGBQUAD colors[256];
    memset(colors, 0x77, sizeof(colors));
    EXPECT_EQ(GetPaletteColors(colors, palette, 1), 0);
    EXPECT_EQ(GetPaletteColors(colors, palette, 257), 0);
    EXPECT_EQ(GetPaletteColors(colors, palette, 2), 2);
    EXPECT_EQ(colors[0].rgbRed, 0);
    EXPECT_EQ(colors[1].rgbBlue, 255);
    EXPECT_EQ(colors[1].rgbReserved, 0x77) << "fourth byte untouched";
    EXPECT_EQ(GetPaletteColors(colors, palette, 16), 16);
    // The first 8 and the last 8 entries of the palette (entries 248..255 are standard 8..15).
    EXPECT_EQ(colors[7].rgbRed, 192);
    EXPECT_EQ(colors[8].rgbRed, 128);
    EXPECT_EQ(colors[15].rgbGreen, 255);
    EXPECT_EQ(colors[9].rgbRed, 255);
    EXPECT_EQ(colors[9].rgbGreen, 0);
    DeleteObject(palette);
}

TEST(PackedDib, NearestColourSearch)
{
    PALETTEENTRY entries[5] = {
        {200, 10, 10, 0}, {0, 0, 0, 1}, {255, 255, 255, 2}, {10, 200, 10, 3}, {10, 10, 200, 4},
    };
    ASSERT_TRUE(BuildNearestColorCache(entries, 5));
    EXPECT_EQ(entries[0].peRed, 0) << "sorted by red";
    EXPECT_EQ(FindNearestColor(0, 0, 0, entries, 5), 1);
    EXPECT_EQ(FindNearestColor(250, 250, 250, entries, 5), 2);
    EXPECT_EQ(FindNearestColor(180, 30, 20, entries, 5), 0);
    EXPECT_EQ(FindNearestColor(30, 180, 40, entries, 5), 3);
    EXPECT_EQ(FindNearestColor(20, 20, 160, entries, 5), 4);
    EXPECT_EQ(FindNearestColor(20, 20, 160, entries, 5), 4) << "cached";
    FreeNearestColorCache();
    EXPECT_EQ(FindNearestColor(60, 60, 60, entries, 5), 1) << "works without a cache";
}

TEST(PackedDib, CompatibleBitmapHoldsThePicture)
{
    CBitmap bitmap;
    EXPECT_FALSE(DIBToCompatibleBitmap(nullptr, &bitmap, nullptr));
    DibHolder dib(MakePattern(4, 3));
    DibHolder palettePicture(CreateDIB(1, 1, 8));
    CPalette palette;
    ASSERT_TRUE(CreateDIBPaletteObject(palettePicture, &palette));
    EXPECT_EQ(palette.GetEntryCount(), 256);
    ASSERT_TRUE(DIBToCompatibleBitmap(dib, &bitmap, &palette));
    DibHolder back(BitmapToDIB(static_cast<HBITMAP>(bitmap.GetSafeHandle()), nullptr));
    ASSERT_NE(back.dib, nullptr);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(PixelOf(back, x, y), PixelOf(dib, x, y));

    CPalette fallback;
    DibHolder trueColour(CreateDIB(1, 1, 24));
    EXPECT_TRUE(CreateDIBPaletteObject(trueColour, &fallback));
    EXPECT_EQ(fallback.GetSafeHandle(), GetStockObject(DEFAULT_PALETTE)) << "no colour table: the default";
}

TEST(PackedDib, PaintIntoBitmapTakesInclusiveRectangles)
{
    DibHolder dib(MakePattern(4, 4));
    CBitmap bitmap;
    ASSERT_TRUE(CreateScreenCompatibleBitmap(&bitmap, 6, 6));
    RECT src = {1, 1, 2, 2}, dest = {0, 0, 1, 1}; // 2 x 2 each
    EXPECT_TRUE(PaintDIBIntoBitmap(dib, &bitmap, nullptr, &src, &dest));
    DibHolder back(BitmapToDIB(static_cast<HBITMAP>(bitmap.GetSafeHandle()), nullptr));
    EXPECT_EQ(PixelOf(back, 0, 0), PixelOf(dib, 1, 1));
    EXPECT_EQ(PixelOf(back, 1, 1), PixelOf(dib, 2, 2));
}

TEST(PackedDib, ConvertToPaletteKeepsExactColours)
{
    DibHolder source(CreateDIB(2, 2, 4));
    HPALETTE palette = CreateDIBPaletteHandle(source);
    DibHolder rgb(CreateDIB(3, 2, 24));
    BYTE* rows = FindDIBBits(GlobalLock(rgb));
    const BYTE colours[6][3] = {{0, 0, 255},     {0, 255, 0}, {255, 0, 0},
                                {255, 255, 255}, {0, 0, 0},   {192, 192, 192}};
    for (int i = 0; i < 6; ++i) {
        BYTE* px = rows + (i / 3) * RowBytes(3, 24) + 3 * (i % 3);
        memcpy(px, colours[i], 3);
    }
    GlobalUnlock(rgb);
    DibHolder eight(ConvertDIB24To8WithPalette(rgb, palette));
    ASSERT_NE(eight.dib, nullptr);
    EXPECT_EQ(HeaderOf(eight).biBitCount, 8);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(PixelOf(eight, x, y), PixelOf(rgb, x, y)) << "standard colours map to themselves";
    EXPECT_EQ(ConvertDIB24To8WithPalette(source, palette), nullptr) << "only 24-bit sources";
    DeleteObject(palette);
}

TEST(PackedDib, WidensSixteenAndThirtyTwoBitPictures)
{
    DibHolder sixteen(CreateDIB(2, 1, 16));
    BYTE* row = FindDIBBits(GlobalLock(sixteen));
    row[0] = 0x1F; // blue
    row[3] = 0x7C; // red
    GlobalUnlock(sixteen);
    DibHolder wide(ConvertDIBTo24Bit(sixteen));
    ASSERT_NE(wide.dib, nullptr);
    EXPECT_EQ(PixelOf(wide, 0, 0), (Rgb{0, 0, 255}));
    EXPECT_EQ(PixelOf(wide, 1, 0), (Rgb{255, 0, 0}));
    DibHolder deep(MakePattern(3, 2));
    DibHolder thirtyTwo(CreateDIB(3, 2, 32));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            Rgb c = PixelOf(deep, x, y);
            BYTE* px = FindDIBBits(GlobalLock(thirtyTwo)) + (1 - y) * 12 + 4 * x;
            px[0] = BYTE(c.b), px[1] = BYTE(c.g), px[2] = BYTE(c.r), px[3] = 0x80;
            GlobalUnlock(thirtyTwo);
        }
    DibHolder back(ConvertDIBTo24Bit(thirtyTwo));
    EXPECT_EQ(PixelOf(back, 2, 1), PixelOf(deep, 2, 1));
    EXPECT_EQ(ConvertDIBTo24Bit(deep), nullptr) << "24-bit pictures need no widening";
}

TEST(PackedDib, DrawDIBPixelsPaintsEveryDepth)
{
    for (WORD bits : {1, 4, 8, 24}) {
        DibHolder dib(CreateDIB(5, 3, bits));
        BYTE* p = static_cast<BYTE*>(GlobalLock(dib));
        BYTE* rows = FindDIBBits(p);
        for (DWORD i = 0; i < RowBytes(5, bits) * 3; ++i)
            rows[i] = BYTE(i * 53 + 17);
        GlobalUnlock(dib);
        Canvas canvas(6, 4);
        DrawDIBPixels(canvas.dc, dib, 5, 3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                EXPECT_EQ(canvas.At(x, y), PixelOf(dib, x, y)) << bits << " bits at " << x << "," << y;
        EXPECT_EQ(canvas.At(5, 3), (Rgb{255, 0, 255}));
    }
}

TEST(PackedDib, ChangeFormatAcceptsOnlyItsPairs)
{
    DibHolder dib(MakePattern(4, 2));
    EXPECT_EQ(ChangeDIBFormat(dib, 24, BI_RLE8), nullptr);
    EXPECT_EQ(ChangeDIBFormat(dib, 0, BI_RLE4), nullptr) << "RLE4 needs a 4-bit picture";
    EXPECT_EQ(ChangeDIBFormat(dib, 16, BI_RGB), nullptr);
    EXPECT_EQ(ChangeDIBFormat(nullptr, 24, BI_RGB), nullptr);
    DibHolder same(ChangeDIBFormat(dib, 0, BI_RGB));
    ASSERT_NE(same.dib, nullptr);
    EXPECT_EQ(HeaderOf(same).biBitCount, 24);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(PixelOf(same, x, y), PixelOf(dib, x, y));
    HBITMAP bitmap = DIBToBitmap(dib, nullptr);
    EXPECT_EQ(ChangeBitmapFormat(bitmap, 0, BI_RGB, nullptr), nullptr) << "bits 0 needs an RLE kind";
    DibHolder mono(ChangeBitmapFormat(bitmap, 1, BI_RGB, nullptr));
    ASSERT_NE(mono.dib, nullptr);
    EXPECT_EQ(HeaderOf(mono).biBitCount, 1);
    DeleteObject(bitmap);
}
