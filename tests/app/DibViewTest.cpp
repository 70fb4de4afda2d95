// The still-picture view on a real window: the painted pixels at 1:1, zoomed, proportional and fitted,
// scroll bars, pictures of each format, the clipboard copy, and a large JPEG decoded only once.
#include "tests/app/ViewerFixture.h"

#include "shell/Settings.h"
#include "core/DIB.h"
#include "core/FileTypes.h"
#include "core/LoadDispatch.h"
#include "formats/FormatJpeg.h"
#include "framework/FrameWnd.h"
#include "framework/StdIds.h"
#include "resources/resource.h"
#include "viewers/ZoomGeometry.h"

#include <cstdlib>
#include <cstring>

namespace {

bool Near(COLORREF a, COLORREF b, int tolerance = 0)
{
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance
           && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance
           && std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// The picture pixel (x, y) of the fixture's BMP pictures (blue 16 x, green 32 y from the bottom, red 200).
COLORREF FixturePixel(int x, int y, int height)
{
    return RGB(200, ((height - 1 - y) * 32) & 0xFF, (x * 16) & 0xFF);
}

void Command(CDibView* pView, UINT nID) { pView->SendMessage(WM_COMMAND, nID); }

} // namespace

TEST_F(ViewerTest, ToScaleCentresThePictureOnTheViewColour)
{
    PutSetting("specs", "DefaultImageSize", 0);
    ASSERT_TRUE(Start());
    CDibView* pView = Open(WriteBmp("small.bmp", 16, 8));
    ASSERT_NE(pView, nullptr);
    EXPECT_EQ(pView->GetMode(), kDibModeToScale);
    EXPECT_EQ(pView->GetZoom(), 100);
    Painted p = PaintView(pView);
    ASSERT_GT(p.width, 40);
    int ox = (p.width - 16) / 2;
    int oy = (p.height - 8) / 2;
    for (int y = 0; y < 8; y++)
        for (int x = 0; x < 16; x++)
            ASSERT_TRUE(Near(p.At(ox + x, oy + y), FixturePixel(x, y, 8))) << x << "," << y;
    EXPECT_EQ(p.At(0, 0), g_CouleurView);
    EXPECT_EQ(p.At(ox - 1, oy), g_CouleurView);
    EXPECT_EQ(p.At(ox + 16, oy + 7), g_CouleurView);
    EXPECT_GT(pView->GetDrawCount(), 0);
}

TEST_F(ViewerTest, ZoomCommandsScaleThePaint)
{
    ASSERT_TRUE(Start());
    CDibView* pView = Open(WriteBmp("zoom.bmp", 16, 8));
    ASSERT_NE(pView, nullptr);
    Command(pView, ID_ZOOM_IN);
    Command(pView, ID_ZOOM_IN);
    ASSERT_EQ(pView->GetZoom(), ZoomInBand(ZoomInBand(100)));
    int zoom = pView->GetZoom();
    Painted p = PaintView(pView);
    int zw = 16 * zoom / 100, zh = 8 * zoom / 100;
    int ox = std::max(0, (p.width - zw) / 2), oy = std::max(0, (p.height - zh) / 2);
    for (int y = 0; y < 8; y++)
        for (int x = 0; x < 16; x++) {
            int px = ox + (x * zoom + zoom / 2) / 100, py = oy + (y * zoom + zoom / 2) / 100;
            ASSERT_TRUE(Near(p.At(px, py), FixturePixel(x, y, 8))) << x << "," << y;
        }
    // Space goes back to 1:1; zoom out stops at the smallest band.
    pView->SendMessage(WM_KEYDOWN, VK_SPACE);
    EXPECT_EQ(pView->GetZoom(), 100);
    for (int i = 0; i < 10; i++)
        Command(pView, ID_ZOOM_OUT);
    EXPECT_EQ(pView->GetZoom(), 10);
}

TEST_F(ViewerTest, ProportionalAndFittedModesFillTheWindow)
{
    ASSERT_TRUE(Start());
    CDibView* pView = Open(WriteBmp("modes.bmp", 16, 8));
    ASSERT_NE(pView, nullptr);
    Command(pView, ID_VIEW_PROPORTIONAL);
    EXPECT_EQ(pView->GetMode(), kDibModeProportional);
    EXPECT_EQ(g_DefaultImageSize, kDibModeProportional);
    Painted p = PaintView(pView);
    RECT r = ProportionalRect(p.width, p.height, 16, 8);
    int cw = r.right - r.left, ch = r.bottom - r.top;
    ASSERT_GT(cw, 16);
    for (int y = 0; y < 8; y++)
        for (int x = 0; x < 16; x++) {
            int px = r.left + (2 * x + 1) * cw / 32, py = r.top + (2 * y + 1) * ch / 16;
            ASSERT_TRUE(Near(p.At(px, py), FixturePixel(x, y, 8))) << x << "," << y;
        }
    if (r.top > 0)
        EXPECT_EQ(p.At(p.width / 2, 0), g_CouleurView);
    else
        EXPECT_EQ(p.At(0, p.height / 2), g_CouleurView);

    Command(pView, ID_VIEW_FIT_WINDOW);
    EXPECT_EQ(pView->GetMode(), kDibModeFit);
    p = PaintView(pView);
    for (int y = 0; y < 8; y++)
        for (int x = 0; x < 16; x++) {
            int px = (2 * x + 1) * p.width / 32, py = (2 * y + 1) * p.height / 16;
            ASSERT_TRUE(Near(p.At(px, py), FixturePixel(x, y, 8))) << x << "," << y;
        }
    // The zoom commands do nothing outside the to-scale mode, and the zoom is kept for it.
    Command(pView, ID_ZOOM_IN);
    EXPECT_EQ(pView->GetZoom(), 100);
    Command(pView, ID_VIEW_ACTUAL_SIZE);
    EXPECT_EQ(g_DefaultImageSize, kDibModeToScale);
}

TEST_F(ViewerTest, ScrollBarsOnlyForAPictureLargerThanTheWindow)
{
    ASSERT_TRUE(Start());
    CDibView* pSmall = Open(WriteBmp("tiny.bmp", 16, 8));
    ASSERT_NE(pSmall, nullptr);
    EXPECT_EQ(pSmall->GetStyle() & (WS_HSCROLL | WS_VSCROLL), 0u);
    CDibView* pLarge = Open(WriteBmp("large.bmp", 3000, 2500));
    ASSERT_NE(pLarge, nullptr);
    EXPECT_EQ(pLarge->GetStyle() & (WS_HSCROLL | WS_VSCROLL), static_cast<DWORD>(WS_HSCROLL | WS_VSCROLL));
    // Scrolled, the pixel at the window's corner is the picture's pixel at the scroll position.
    pLarge->ScrollViewTo(CPoint(100, 40));
    CPoint pos = pLarge->GetViewScrollPosition();
    EXPECT_EQ(pos, CPoint(100, 40));
    Painted p = PaintView(pLarge);
    CDibDoc* pDoc = pLarge->GetDocument();
    EXPECT_TRUE(Near(p.At(5, 5), DibPixel(pDoc->GetHDIB(), 105, 45)));
    // Fitted, the bars go.
    Command(pLarge, ID_VIEW_FIT_WINDOW);
    Pump();
    EXPECT_EQ(pLarge->GetStyle() & (WS_HSCROLL | WS_VSCROLL), 0u);
}

TEST_F(ViewerTest, ZoomKeepsThePointAtTheWindowCentre)
{
    ASSERT_TRUE(Start());
    CDibView* pView = Open(WriteBmp("centre.bmp", 2000, 2000));
    ASSERT_NE(pView, nullptr);
    RECT client;
    pView->GetClientRect(&client);
    pView->ScrollViewTo(CPoint(1000 - client.right / 2, 1000 - client.bottom / 2));
    Command(pView, ID_ZOOM_IN); // 100 -> 150
    ASSERT_EQ(pView->GetZoom(), 150);
    CPoint pos = pView->GetViewScrollPosition();
    int centreX = (pos.x + client.right / 2) * 100 / 150;
    int centreY = (pos.y + client.bottom / 2) * 100 / 150;
    EXPECT_NEAR(centreX, 1000, 2);
    EXPECT_NEAR(centreY, 1000, 2);
}

TEST_F(ViewerTest, PicturesOfEachFormatShowTheirOwnPixels)
{
    ASSERT_TRUE(Start());
    const std::string dir = testpaths::TestImagesDir();
    const char* files[] = {"\\jpeg\\testorig.jpg",          "\\png\\basn2c08.png",
                           "\\png\\basn3p04.png",           "\\png\\basn0g01.png",
                           "\\tiff\\minisblack-1c-8b.tiff", "\\jpeg\\vgl_6548_0026a.bmp"};
    for (const char* name : files) {
        SCOPED_TRACE(name);
        CDibView* pView = Open(dir + name);
        ASSERT_NE(pView, nullptr);
        CDibDoc* pDoc = pView->GetDocument();
        ASSERT_NE(pDoc->GetHDIB(), nullptr);
        Painted p = PaintView(pView);
        int w = pDoc->m_nWidth, h = pDoc->m_nHeight;
        int ox = std::max(0, (p.width - w) / 2), oy = std::max(0, (p.height - h) / 2);
        int checked = 0;
        for (int y = 0; y < h && oy + y < p.height; y += std::max(1, h / 7))
            for (int x = 0; x < w && ox + x < p.width; x += std::max(1, w / 7)) {
                ASSERT_TRUE(Near(p.At(ox + x, oy + y), DibPixel(pDoc->GetHDIB(), x, y))) << x << "," << y;
                checked++;
            }
        EXPECT_GT(checked, 20);
        pView->GetParentFrame()->SendMessage(WM_CLOSE);
        Pump();
    }
}

TEST_F(ViewerTest, CopyPutsAPictureOtherProgramsCanPaste)
{
    ASSERT_TRUE(Start());
    CDibView* pView = Open(WriteBmp("copy.bmp", 16, 8));
    ASSERT_NE(pView, nullptr);
    Command(pView, ID_EDIT_COPY);
    ASSERT_TRUE(::OpenClipboard(nullptr));
    EXPECT_TRUE(::IsClipboardFormatAvailable(CF_BITMAP));
    HGLOBAL hDib = ::GetClipboardData(CF_DIB);
    ASSERT_NE(hDib, nullptr);
    const BITMAPINFOHEADER* pbi = static_cast<const BITMAPINFOHEADER*>(::GlobalLock(hDib));
    ASSERT_NE(pbi, nullptr);
    EXPECT_EQ(pbi->biWidth, 16);
    EXPECT_EQ(std::abs(pbi->biHeight), 8);
    ::GlobalUnlock(hDib);
    for (int y = 0; y < 8; y++)
        for (int x = 0; x < 16; x++)
            ASSERT_TRUE(Near(DibPixel(hDib, x, y), FixturePixel(x, y, 8))) << x << "," << y;
    ::EmptyClipboard();
    ::CloseClipboard();
}

TEST_F(ViewerTest, CopyOfAPalettePictureCarriesItsPalette)
{
    ASSERT_TRUE(Start());
    CDibView* pView = Open(testpaths::TestImagesDir() + "\\png\\basn3p04.png");
    ASSERT_NE(pView, nullptr);
    ASSERT_NE(pView->GetDocument()->GetDIB()->NumColors(), 0);
    Command(pView, ID_EDIT_COPY);
    ASSERT_TRUE(::OpenClipboard(nullptr));
    EXPECT_TRUE(::IsClipboardFormatAvailable(CF_PALETTE));
    EXPECT_TRUE(::IsClipboardFormatAvailable(CF_DIB));
    ::EmptyClipboard();
    ::CloseClipboard();
}

namespace {

int g_nJpegReads = 0;
PictureReader g_pfnRealJpegReader = nullptr;

PackedDIB CountingJpegReader(LPCSTR path)
{
    g_nJpegReads++;
    return g_pfnRealJpegReader(path);
}

// A 24-bit picture of that size with a gradient.
HGLOBAL MakeGradient(int w, int h)
{
    int stride = (w * 3 + 3) & ~3;
    HGLOBAL hDIB = ::GlobalAlloc(GMEM_MOVEABLE, sizeof(BITMAPINFOHEADER) + static_cast<SIZE_T>(stride) * h);
    BITMAPINFOHEADER* pbi = static_cast<BITMAPINFOHEADER*>(::GlobalLock(hDIB));
    std::memset(pbi, 0, sizeof(*pbi));
    pbi->biSize = sizeof(*pbi);
    pbi->biWidth = w;
    pbi->biHeight = h;
    pbi->biPlanes = 1;
    pbi->biBitCount = 24;
    BYTE* pBits = reinterpret_cast<BYTE*>(pbi + 1);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            BYTE* p = pBits + static_cast<size_t>(y) * stride + x * 3;
            p[0] = static_cast<BYTE>(x * 255 / w);
            p[1] = static_cast<BYTE>(y * 255 / h);
            p[2] = 128;
        }
    ::GlobalUnlock(hDIB);
    return hDIB;
}

} // namespace

TEST_F(ViewerTest, LargeJpegIsDecodedOnceAndPaintedWithoutCopies)
{
    ASSERT_TRUE(Start());
    std::string path = m_temp.File("big.jpg");
    HGLOBAL hSource = MakeGradient(4000, 3000);
    ASSERT_EQ(SaveJPEG(hSource, path.c_str(), 80), 0);
    ::GlobalFree(hSource);

    g_pfnRealJpegReader = GetPictureReader(kFileTypeJPEG);
    ASSERT_NE(g_pfnRealJpegReader, nullptr);
    g_nJpegReads = 0;
    SetPictureReader(kFileTypeJPEG, CountingJpegReader);
    CDibView* pView = Open(path);
    SetPictureReader(kFileTypeJPEG, g_pfnRealJpegReader);
    ASSERT_NE(pView, nullptr);
    EXPECT_EQ(g_nJpegReads, 1);
    CDibDoc* pDoc = pView->GetDocument();
    EXPECT_EQ(pDoc->m_nWidth, 4000);
    HGLOBAL hDIB = pDoc->GetHDIB();
    SIZE_T size = ::GlobalSize(hDIB);

    Command(pView, ID_VIEW_PROPORTIONAL);
    Painted fitted = PaintView(pView);
    Command(pView, ID_VIEW_ACTUAL_SIZE);
    Command(pView, ID_ZOOM_OUT);
    Painted zoomed = PaintView(pView);
    pView->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    // The paints draw the document's own block: nothing re-read, nothing replaced.
    EXPECT_EQ(g_nJpegReads, 1);
    EXPECT_EQ(pDoc->GetHDIB(), hDIB);
    EXPECT_EQ(::GlobalSize(pDoc->GetHDIB()), size);
    // Both paints show the picture where it belongs (sampled, against the decoded pixels).
    RECT r = ProportionalRect(fitted.width, fitted.height, 4000, 3000);
    int samples = 0, matching = 0;
    for (int y = r.top + 2; y < r.bottom - 2; y += 9)
        for (int x = r.left + 2; x < r.right - 2; x += 9) {
            int sx = (x - r.left) * 4000 / (r.right - r.left), sy = (y - r.top) * 3000 / (r.bottom - r.top);
            samples++;
            matching += Near(fitted.At(x, y), DibPixel(hDIB, sx, sy), 24) ? 1 : 0;
        }
    EXPECT_GT(matching * 100, samples * 98) << matching << " of " << samples;
    ASSERT_EQ(pView->GetZoom(), 50);
    samples = matching = 0;
    for (int y = 0; y < zoomed.height; y += 9)
        for (int x = 0; x < zoomed.width; x += 9) {
            samples++;
            matching += Near(zoomed.At(x, y), DibPixel(hDIB, x * 2, y * 2), 24) ? 1 : 0;
        }
    EXPECT_GT(matching * 100, samples * 98) << matching << " of " << samples;
}

TEST_F(ViewerTest, TheWindowOnScreenShowsThePicture)
{
    ASSERT_TRUE(Start());
    CDibView* pView = Open(WriteBmp("screen.bmp", 16, 8));
    ASSERT_NE(pView, nullptr);
    m_pFrame->ShowWindow(SW_SHOWNORMAL);
    ::SetForegroundWindow(m_pFrame->m_hWnd);
    pView->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
    RECT client;
    pView->GetClientRect(&client);
    int ox = (client.right - 16) / 2, oy = (client.bottom - 8) / 2;
    HDC hdc = ::GetDC(pView->m_hWnd);
    COLORREF inside = ::GetPixel(hdc, ox + 3, oy + 2);
    COLORREF corner = ::GetPixel(hdc, 1, 1);
    ::ReleaseDC(pView->m_hWnd, hdc);
    EXPECT_TRUE(Near(inside, FixturePixel(3, 2, 8), 8)) << std::hex << inside;
    EXPECT_TRUE(Near(corner, g_CouleurView, 8)) << std::hex << corner;
}

TEST_F(ViewerTest, EnterClosesTheWindowAndEscapeLeavesItOpen)
{
    ASSERT_TRUE(Start());
    CDibView* pView = Open(WriteBmp("keys.bmp", 16, 8));
    ASSERT_NE(pView, nullptr);
    HWND hFrame = pView->GetParentFrame()->m_hWnd;
    pView->SendMessage(WM_KEYDOWN, VK_ESCAPE);
    Pump();
    EXPECT_TRUE(::IsWindow(hFrame));
    pView->SendMessage(WM_KEYDOWN, VK_RETURN);
    Pump();
    EXPECT_FALSE(::IsWindow(hFrame));
}

TEST_F(ViewerTest, SixteenColourPictureWithoutColourCountUsesItsOwnColours)
{
    ASSERT_TRUE(Start());
    CDibView* pView = Open(WriteBmp("base.bmp", 16, 8));
    ASSERT_NE(pView, nullptr);
    // 8 x 2 pixels, 4 bits, colour count 0: colour i is (i * 16, 255 - i * 16, 7).
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[16];
    } info = {};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = 8;
    info.header.biHeight = 2;
    info.header.biPlanes = 1;
    info.header.biBitCount = 4;
    for (int i = 0; i < 16; i++)
        info.colours[i] = RGBQUAD{7, static_cast<BYTE>(255 - i * 16), static_cast<BYTE>(i * 16), 0};
    BYTE rows[8] = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}; // bottom row 0..7, top row 8..15
    CDibDoc* pDoc = pView->GetDocument();
    ASSERT_TRUE(pDoc->GetDIB()->Create(&info.header, rows));
    Painted p = PaintView(pView);
    int ox = (p.width - 8) / 2, oy = (p.height - 2) / 2;
    for (int x = 0; x < 8; x++) {
        int top = 8 + x, bottom = x;
        EXPECT_EQ(p.At(ox + x, oy), RGB(top * 16, 255 - top * 16, 7)) << x;
        EXPECT_EQ(p.At(ox + x, oy + 1), RGB(bottom * 16, 255 - bottom * 16, 7)) << x;
    }
}
