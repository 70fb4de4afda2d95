// Printing a picture: the page and poster geometry for several printers and papers, the poster
// dialog's proportional fields, and real jobs through the test printer (one page, a poster of 3 x 2
// pages, the previews) read back from the PDF, for still pictures and for the frame an animation shows.
#include "tests/app/AnimFixture.h"

#include "framework/PrintPreview.h"
#include "framework/StdIds.h"
#include "framework/TestSeams.h"
#include "resources/printing-ids.h"
#include "resources/resource.h"
#include "tests/support/PrintedPdf.h"
#include "viewers/PicturePrint.h"
#include "viewers/PosterGeometry.h"

#include <cstdlib>

namespace {

// ---- pure geometry ----

TEST(PosterGeometry, SpecimenPosterOnA300DpiPage)
{
    PrinterPage page = {2400, 3300, 300, 300};
    PosterLayout l;
    ASSERT_TRUE(ComputePoster(page, 1000, 500, 64, &l));
    EXPECT_NEAR(l.scaleX, 7.559, 0.001);
    EXPECT_NEAR(l.scaleY, 7.559, 0.001);
    EXPECT_EQ(l.pieceWidth, 317);
    EXPECT_EQ(l.pieceHeight, 436);
    EXPECT_EQ(l.across, 4);
    EXPECT_EQ(l.down, 2);
    EXPECT_EQ(l.pages, 8);
    RECT src, dest;
    ASSERT_TRUE(PosterPiece(l, 1000, 500, 1, &src, &dest));
    EXPECT_EQ(CRect(src), CRect(0, 64, 317, 500)); // the bottom-left piece first
    ASSERT_TRUE(PosterPiece(l, 1000, 500, 8, &src, &dest));
    EXPECT_EQ(CRect(src), CRect(951, 0, 1000, 64));
    EXPECT_EQ(CRect(dest), CRect(0, 0, 370, 483));
    EXPECT_FALSE(PosterPiece(l, 1000, 500, 9, &src, &dest));
    EXPECT_FALSE(PosterPiece(l, 1000, 500, 0, &src, &dest));
}

TEST(PosterGeometry, PagesForSeveralPrintersAndPapers)
{
    struct Case {
        PrinterPage page;
        int w, h;
        UINT cm;
        int across, down;
    } cases[] = {
        {{2479, 3508, 300, 300}, 300, 200, 50, 3, 2},  // A4 at 300 dpi
        {{4958, 7016, 600, 600}, 300, 200, 50, 3, 2},  // A4 at 600 dpi: the same sheets
        {{2550, 3300, 300, 300}, 300, 200, 50, 3, 2},  // Letter at 300 dpi
        {{1700, 2200, 200, 200}, 1000, 500, 64, 3, 2}, // Letter at 200 dpi
        {{2479, 3508, 300, 300}, 100, 100, 5, 1, 1},   // small enough for one page
        {{3508, 2479, 300, 300}, 300, 200, 50, 2, 2},  // A4 landscape
        {{2479, 3508, 300, 600}, 300, 200, 50, 3, 3},  // twice as many rows per inch
    };
    for (const Case& c : cases) {
        PosterLayout l;
        ASSERT_TRUE(ComputePoster(c.page, c.w, c.h, c.cm, &l));
        EXPECT_EQ(l.across, c.across) << c.page.width << "x" << c.page.height;
        EXPECT_EQ(l.down, c.down) << c.page.width << "x" << c.page.height;
        EXPECT_EQ(l.pages, c.across * c.down);
        // The pieces cover the picture exactly once and fit the page.
        long long area = 0;
        for (int p = 1; p <= l.pages; p++) {
            RECT src, dest;
            ASSERT_TRUE(PosterPiece(l, c.w, c.h, p, &src, &dest));
            area += static_cast<long long>(src.right - src.left) * (src.bottom - src.top);
            EXPECT_LE(dest.right, c.page.width);
            EXPECT_LE(dest.bottom, c.page.height);
        }
        EXPECT_EQ(area, static_cast<long long>(c.w) * c.h);
    }
    // A one-page poster holds the whole picture at the poster's scale in the top-left corner.
    PosterLayout one;
    ASSERT_TRUE(ComputePoster({2479, 3508, 300, 300}, 100, 100, 5, &one));
    RECT src, dest;
    ASSERT_TRUE(PosterPiece(one, 100, 100, 1, &src, &dest));
    EXPECT_EQ(CRect(src), CRect(0, 0, 100, 100));
    EXPECT_EQ(CRect(dest), CRect(0, 0, 590, 590)); // 5 cm at 300 dpi
    // A picture pixel larger than the page: one pixel a page, never an endless job.
    PosterLayout huge;
    ASSERT_TRUE(ComputePoster({100, 100, 300, 300}, 2, 2, 1000, &huge));
    EXPECT_EQ(huge.pieceWidth, 1);
    EXPECT_EQ(huge.pages, 4);
    EXPECT_FALSE(ComputePoster({100, 100, 300, 300}, 0, 2, 10, &huge));
}

TEST(PosterGeometry, PlainPageCentresWideAndTallPictures)
{
    PlainPageLayout l;
    // Wide: the page's width, centred between the half-inch bands.
    ASSERT_TRUE(ComputePlainPage({2400, 3300, 300, 300}, 1000, 500, &l));
    EXPECT_EQ(CRect(l.title), CRect(0, 0, 2400, 150));
    EXPECT_EQ(CRect(l.footer), CRect(0, 3150, 2400, 3300));
    EXPECT_EQ(CRect(l.picture), CRect(0, 150 + (3000 - 1200) / 2, 2400, 150 + (3000 - 1200) / 2 + 1200));
    // Tall: the whole available height, centred across.
    ASSERT_TRUE(ComputePlainPage({2400, 3300, 300, 300}, 500, 1000, &l));
    EXPECT_EQ(CRect(l.picture), CRect((2400 - 1500) / 2, 150, (2400 - 1500) / 2 + 1500, 3150));
    // Large printers and pictures: no 32-bit overflow (5000 * 4800 * 600 is past 2^32).
    ASSERT_TRUE(ComputePlainPage({4800, 6600, 600, 600}, 2000, 5000, &l));
    EXPECT_EQ(l.picture.top, 300);
    EXPECT_EQ(l.picture.bottom, 6300);
    EXPECT_EQ(l.picture.right - l.picture.left, 2000LL * 6000 / 5000);
    EXPECT_FALSE(ComputePlainPage({4800, 6600, 600, 600}, 0, 10, &l));
}

// ---- the views ----

// A 24-bit BMP of 50-pixel squares, each of its own colour.
COLORREF CellColour(int x, int y)
{
    int i = x / 50, j = y / 50;
    return RGB((i * 67 + 40) % 200 + 20, (j * 97 + 60) % 200 + 20, ((i + j) * 53 + 30) % 200 + 20);
}

std::string WriteCells(const std::string& path, int w, int h)
{
    testpaths::WriteBytes(path, printed::Bmp24(w, h, CellColour));
    return path;
}

PrinterPage DefaultPrinterPage()
{
    printed::PageCaps caps = printed::DefaultPageCaps();
    return {caps.width, caps.height, caps.dpiX, caps.dpiY};
}

// Points of the picture inside src, away from the edges of its squares, are found at their place on
// the rasterised page.
void ExpectPiece(const printed::Raster& r, const PrinterPage& page, const RECT& src, const RECT& dest,
                 int pageNo)
{
    ASSERT_GT(r.width, 0) << "page " << pageNo;
    double fx = static_cast<double>(r.width) / page.width, fy = static_cast<double>(r.height) / page.height;
    double sx = static_cast<double>(dest.right - dest.left) / (src.right - src.left);
    double sy = static_cast<double>(dest.bottom - dest.top) / (src.bottom - src.top);
    int checked = 0;
    for (int y = src.top + 3; y < src.bottom - 3; y += 7) {
        for (int x = src.left + 3; x < src.right - 3; x += 7) {
            if (x % 50 < 6 || x % 50 > 44 || y % 50 < 6 || y % 50 > 44)
                continue;
            int px = static_cast<int>((dest.left + (x - src.left + 0.5) * sx) * fx);
            int py = static_cast<int>((dest.top + (y - src.top + 0.5) * sy) * fy);
            EXPECT_TRUE(printed::Near(r.At(px, py), CellColour(x, y)))
                << "page " << pageNo << " at " << x << "," << y;
            checked++;
        }
    }
    EXPECT_GT(checked, 0) << "page " << pageNo;
}

// The squares of an animation frame written by WriteAnimGif, of 4 pixels: the colours 2f + 1 and 2f + 2.
COLORREF FrameSquareColour(int frame, int x, int y)
{
    return AnimColour(((x / 4 + y / 4) % 2) ? 2 * frame + 1 : 2 * frame + 2);
}

// The centre of every square of frame f inside src is found at its place on the rasterised page.
void ExpectFrameSquares(const printed::Raster& r, const PrinterPage& page, const RECT& src, const RECT& dest,
                        int frame, int pageNo)
{
    ASSERT_GT(r.width, 0) << "page " << pageNo;
    double fx = static_cast<double>(r.width) / page.width, fy = static_cast<double>(r.height) / page.height;
    double sx = static_cast<double>(dest.right - dest.left) / (src.right - src.left);
    double sy = static_cast<double>(dest.bottom - dest.top) / (src.bottom - src.top);
    int checked = 0, wrong = 0;
    for (int y = (src.top + 3) / 4 * 4 + 2; y + 2 <= src.bottom; y += 4) {
        for (int x = (src.left + 3) / 4 * 4 + 2; x + 2 <= src.right; x += 4) {
            int px = static_cast<int>((dest.left + (x - src.left) * sx) * fx);
            int py = static_cast<int>((dest.top + (y - src.top) * sy) * fy);
            wrong += !printed::Near(r.At(px, py), FrameSquareColour(frame, x, y));
            checked++;
        }
    }
    EXPECT_GT(checked, 0) << "page " << pageNo;
    EXPECT_EQ(wrong, 0) << "of " << checked << " squares on page " << pageNo << " (frame " << frame << ")";
}

class PicturePrint : public AnimTest {
protected:
    void SetUp() override
    {
        AnimTest::SetUp();
        ASSERT_TRUE(printed::HavePrinter()) << "the test script sets up a PDF printer";
        g_stillPoster = PosterState();
        g_animPoster = PosterState();
    }
    void TearDown() override
    {
        g_stillPoster = PosterState();
        g_animPoster = PosterState();
        AnimTest::TearDown();
    }
    void ScriptPrintDialog()
    {
        AfxCommonDialogAnswer ok;
        ok.ok = true;
        AfxScriptCommonDialog(AfxCommonDialogKind::Print, ok);
    }
    void ScriptPoster(int widthCm)
    {
        AfxScriptNextModal(IDD_POSTER, {{IDC_POSTER_WIDTH, std::to_string(widthCm)}}, IDOK);
    }
    void Command(CView* pView, UINT nID)
    {
        printed::SpoolLock lock;
        pView->SendMessage(WM_COMMAND, nID);
    }
};

} // namespace

TEST_F(PicturePrint, PosterDialogKeepsTheProportions)
{
    ASSERT_TRUE(Start());
    CDibView* pView = Open(WriteCells(m_temp.File("dialogue.bmp"), 1000, 500));
    ASSERT_NE(pView, nullptr);
    auto field = [](CWnd* pDlg, int nID) {
        char sz[32] = "";
        ::GetDlgItemTextA(pDlg->m_hWnd, nID, sz, sizeof(sz));
        return std::string(sz);
    };
    auto type = [](CWnd* pDlg, int nID, const char* text) {
        ::SetFocus(::GetDlgItem(pDlg->m_hWnd, nID));
        ::SetDlgItemTextA(pDlg->m_hWnd, nID, text);
    };
    AfxModalStep leave;
    leave.buttonId = 0;
    leave.check = [&](CWnd* pDlg) {
        EXPECT_EQ(field(pDlg, IDC_POSTER_WIDTH), "64");
        EXPECT_EQ(field(pDlg, IDC_POSTER_HEIGHT), "32");
        printed::CaptureClient(pDlg->m_hWnd, "poster-dialog");
        type(pDlg, IDC_POSTER_WIDTH, "30");
        ::SetFocus(::GetDlgItem(pDlg->m_hWnd, IDC_POSTER_HEIGHT)); // leaving the width
        EXPECT_EQ(field(pDlg, IDC_POSTER_HEIGHT), "15");
        type(pDlg, IDC_POSTER_HEIGHT, "40");
        ::SetFocus(::GetDlgItem(pDlg->m_hWnd, IDC_POSTER_WIDTH)); // leaving the height
        EXPECT_EQ(field(pDlg, IDC_POSTER_WIDTH), "80");
        // Enter while typing in the width: its rule runs before the dialog closes.
        type(pDlg, IDC_POSTER_WIDTH, "20");
    };
    AfxModalStep ok;
    AfxScriptModal(IDD_POSTER, {leave, ok});
    AfxScriptCommonDialog(AfxCommonDialogKind::Print, AfxCommonDialogAnswer()); // no job needed
    Command(pView, ID_FILE_PRINT_POSTER);
    EXPECT_EQ(g_stillPoster.nWidthCm, 20u);
    EXPECT_TRUE(g_stillPoster.bPosterMode);

    // Out of range: the framework's message, and the dialog stays open until cancelled.
    AfxModalStep zero;
    zero.fields = {{IDC_POSTER_WIDTH, "0"}};
    zero.check = [&](CWnd* pDlg) { EXPECT_TRUE(::IsWindowVisible(pDlg->m_hWnd)); };
    AfxModalStep cancel;
    cancel.buttonId = IDCANCEL;
    AfxScriptModal(IDD_POSTER, {zero, cancel});
    AfxScriptMessageBox(IDOK);
    Command(pView, ID_FILE_PRINT_POSTER);
    EXPECT_EQ(g_stillPoster.nWidthCm, 20u);
    ASSERT_FALSE(AfxTestRecords().messageBoxes.empty());
    EXPECT_EQ(AfxTestRecords().messageBoxes.back().text, "Entrez un entier compris entre 1 et 1000.");

    // A picture too flat for a whole centimetre of height still opens at 1 cm, and leaving the
    // height keeps the width instead of dividing by nothing.
    CDibView* pFlat = Open(WriteCells(m_temp.File("plat.bmp"), 1000, 10));
    ASSERT_NE(pFlat, nullptr);
    AfxModalStep flat;
    flat.buttonId = 0;
    flat.check = [&](CWnd* pDlg) {
        EXPECT_EQ(field(pDlg, IDC_POSTER_HEIGHT), "1");
        ::SetFocus(::GetDlgItem(pDlg->m_hWnd, IDC_POSTER_WIDTH));
        ::SetFocus(::GetDlgItem(pDlg->m_hWnd, IDC_POSTER_HEIGHT)); // leaving the width as it was
        EXPECT_EQ(field(pDlg, IDC_POSTER_HEIGHT), "1");
        type(pDlg, IDC_POSTER_HEIGHT, "3");
        ::SetFocus(::GetDlgItem(pDlg->m_hWnd, IDC_POSTER_WIDTH));
        EXPECT_EQ(field(pDlg, IDC_POSTER_WIDTH), "300");
    };
    AfxModalStep cancelFlat;
    cancelFlat.buttonId = IDCANCEL;
    AfxScriptModal(IDD_POSTER, {flat, cancelFlat});
    Command(pFlat, ID_FILE_PRINT_POSTER);

    // The other side is the one that prints, from the picture's own size, rounded: 40 cm across a
    // picture of a 5640 x 3172 photograph's proportions prints 22.5 cm high.
    CDibView* pPhoto = Open(WriteCells(m_temp.File("photo.bmp"), 1410, 793));
    ASSERT_NE(pPhoto, nullptr);
    g_stillPoster = PosterState(); // 64 cm, as at the start
    AfxModalStep photo;
    photo.buttonId = 0;
    photo.check = [&](CWnd* pDlg) {
        EXPECT_EQ(field(pDlg, IDC_POSTER_HEIGHT), "36");
        type(pDlg, IDC_POSTER_WIDTH, "40");
        ::SetFocus(::GetDlgItem(pDlg->m_hWnd, IDC_POSTER_HEIGHT));
        EXPECT_EQ(field(pDlg, IDC_POSTER_HEIGHT), "22");
    };
    AfxScriptModal(IDD_POSTER, {photo, cancelFlat});
    Command(pPhoto, ID_FILE_PRINT_POSTER);
}

TEST_F(PicturePrint, OnePictureOnOnePageAndAPosterOfThreeByTwo)
{
    ASSERT_TRUE(Start());
    std::string name = printed::UniqueJobName("PLAIN");
    CDibView* pView = Open(WriteCells(m_temp.File(name + ".bmp"), 300, 200));
    ASSERT_NE(pView, nullptr);
    PrinterPage page = DefaultPrinterPage();
    ASSERT_GT(page.width, 0);

    // One page: the title, the picture fitted between the bands.
    ScriptPrintDialog();
    Command(pView, ID_FILE_PRINT);
    std::string pdf = printed::WaitForPdf(name);
    ASSERT_FALSE(pdf.empty());
    EXPECT_EQ(printed::PageCount(pdf), 1);
    PlainPageLayout plain;
    ASSERT_TRUE(ComputePlainPage(page, 300, 200, &plain));
    RECT whole = {0, 0, 300, 200};
    printed::Raster raster = printed::RasterPage(pdf, 1, 40);
    ExpectPiece(raster, page, whole, plain.picture, 1);
    if (raster.width > 0)
        printed::RemoveFilesOf(name);

    // A poster 50 cm wide: 3 pages across, 2 down, each piece where the geometry puts it.
    PosterLayout poster;
    ASSERT_TRUE(ComputePoster(page, 300, 200, 50, &poster));
    ASSERT_EQ(poster.across, 3);
    ASSERT_EQ(poster.down, 2);
    ScriptPoster(50);
    ScriptPrintDialog();
    Command(pView, ID_FILE_PRINT_POSTER);
    pdf = printed::WaitForPdf(name);
    ASSERT_FALSE(pdf.empty());
    EXPECT_EQ(printed::PageCount(pdf), 6);
    for (int p = 1; p <= 6; p++) {
        RECT src, dest;
        ASSERT_TRUE(PosterPiece(poster, 300, 200, p, &src, &dest));
        ExpectPiece(printed::RasterPage(pdf, p, 40), page, src, dest, p);
    }
    printed::RemoveFilesOf(name);
}

TEST_F(PicturePrint, PreviewsShowThePagesAndPrintThePoster)
{
    ASSERT_TRUE(Start());
    std::string name = printed::UniqueJobName("PREVIEW");
    CDibView* pView = Open(WriteCells(m_temp.File(name + ".bmp"), 300, 200));
    ASSERT_NE(pView, nullptr);

    // In full screen the print commands do nothing: a preview would open behind the picture.
    pView->EnterFullScreen();
    Command(pView, ID_FILE_PRINT_PREVIEW);
    EXPECT_EQ(CPrintPreviewWnd::GetActive(), nullptr);
    pView->LeaveFullScreen();
    Pump();

    Command(pView, ID_FILE_PRINT_PREVIEW);
    CPrintPreviewWnd* pPreview = CPrintPreviewWnd::GetActive();
    ASSERT_NE(pPreview, nullptr);
    EXPECT_EQ(pPreview->GetPageCount(), 1u);
    Pump();
    printed::Raster shot = printed::CaptureClient(pPreview->m_hWnd, "picture-preview");
    // The picture's first cell, on screen where the plain page puts it.
    PrinterPage page = DefaultPrinterPage();
    PlainPageLayout plain;
    ASSERT_TRUE(ComputePlainPage(page, 300, 200, &plain));
    CRect r = pPreview->GetPageRect(0);
    int x =
        r.left
        + MulDiv(plain.picture.left + (plain.picture.right - plain.picture.left) / 12, r.Width(), page.width);
    int y =
        r.top
        + MulDiv(plain.picture.top + (plain.picture.bottom - plain.picture.top) / 8, r.Height(), page.height);
    EXPECT_TRUE(printed::Near(shot.At(x, y), CellColour(25, 25)));
    pPreview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE);
    EXPECT_EQ(CPrintPreviewWnd::GetActive(), nullptr);

    // The poster preview: six pages; printing from it prints the poster.
    ScriptPoster(50);
    Command(pView, ID_FILE_PRINT_POSTER_PREVIEW);
    pPreview = CPrintPreviewWnd::GetActive();
    ASSERT_NE(pPreview, nullptr);
    EXPECT_EQ(pPreview->GetPageCount(), 6u);
    pPreview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_NUMPAGE);
    Pump();
    printed::CaptureClient(pPreview->m_hWnd, "poster-preview-pages-1-2");
    for (int i = 0; i < 4; i++)
        pPreview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_NEXT);
    EXPECT_EQ(pPreview->GetCurrentPage(), 5u);
    Pump();
    printed::CaptureClient(pPreview->m_hWnd, "poster-preview-pages-5-6");
    ScriptPrintDialog();
    {
        printed::SpoolLock lock;
        pPreview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_PRINT);
    }
    std::string pdf = printed::WaitForPdf(name);
    ASSERT_FALSE(pdf.empty());
    EXPECT_EQ(printed::PageCount(pdf), 6);
    printed::RemoveFilesOf(name);
}

// An animation prints the frame it shows when the command comes, on one page or as a poster with the
// animation windows' own width, directly or from the preview; the frames shown meanwhile change nothing.
TEST_F(PicturePrint, AnAnimationPrintsAndPreviewsThePageAndThePosterOfTheFrameShown)
{
    ASSERT_TRUE(Start());
    std::string name = printed::UniqueJobName("ANIM");
    CGifView* pView = OpenGif(Gif(name + ".gif", 4, 300, 200));
    ASSERT_NE(pView, nullptr);
    PrinterPage page = DefaultPrinterPage();
    ASSERT_GT(page.width, 0);
    PlainPageLayout plain;
    ASSERT_TRUE(ComputePlainPage(page, 300, 200, &plain));
    PosterLayout poster;
    ASSERT_TRUE(ComputePoster(page, 300, 200, 50, &poster));

    struct Case {
        UINT command;
        int frame;    // shown when the command comes
        int posterCm; // 0: the plain page
        bool preview; // printed from the preview, the animation having moved on
    } cases[] = {
        {ID_FILE_PRINT, 1, 0, false},
        {ID_FILE_PRINT_POSTER, 2, 50, false},
        {ID_FILE_PRINT_PREVIEW, 3, 0, true},
        {ID_FILE_PRINT_POSTER_PREVIEW, 0, 50, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        pView->ShowFrame(c.frame);
        if (c.posterCm != 0)
            ScriptPoster(c.posterCm);
        int pages = c.posterCm != 0 ? poster.pages : 1;
        if (c.preview) {
            Command(pView, c.command);
            CPrintPreviewWnd* pPreview = CPrintPreviewWnd::GetActive();
            ASSERT_NE(pPreview, nullptr);
            EXPECT_EQ(pPreview->GetPageCount(), static_cast<UINT>(pages));
            pView->ShowFrame(c.frame + 1);
            Pump();
            ScriptPrintDialog();
            printed::SpoolLock lock;
            pPreview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_PRINT);
        } else {
            ScriptPrintDialog();
            Command(pView, c.command);
        }
        std::string pdf = printed::WaitForPdf(name);
        ASSERT_FALSE(pdf.empty());
        EXPECT_EQ(printed::PageCount(pdf), pages);
        for (int p = 1; p <= pages; p++) {
            RECT src = {0, 0, 300, 200}, dest = plain.picture;
            if (c.posterCm != 0) {
                ASSERT_TRUE(PosterPiece(poster, 300, 200, p, &src, &dest));
            }
            ExpectFrameSquares(printed::RasterPage(pdf, p, c.posterCm != 0 ? 40 : 100), page, src, dest,
                               c.frame, p);
        }
        printed::RemoveFilesOf(name);
    }
    // The poster width is the animation windows' own; the still pictures keep theirs.
    EXPECT_EQ(g_animPoster.nWidthCm, 50u);
    EXPECT_EQ(g_stillPoster.nWidthCm, 64u);
    EXPECT_FALSE(g_stillPoster.bPosterMode);
}
