// Thumbnail sheets: the layout and page counts for several devices, the options dialog and its
// settings, and real sheets through the test printer: 50 thumbnails on one page, 50 full pictures
// over two pages read one at a time (memory stays flat), the preview, and an empty selection.
#include "tests/app/AppFixture.h"

#include "shell/Settings.h"
#include "core/Progress.h"
#include "piclist/ThumbnailSheet.h"
#include "framework/Dc.h"
#include "framework/Document.h"
#include "framework/FrameWnd.h"
#include "framework/Print.h"
#include "framework/PrintPreview.h"
#include "framework/StdIds.h"
#include "framework/TestSeams.h"
#include "framework/View.h"
#include "resources/printing-ids.h"
#include "tests/support/PrintedPdf.h"

#include <psapi.h>

#include <cstdlib>
#include <set>

namespace {

// ---- pure layout ----

TEST(SheetLayout, CellsColumnsRowsAndPagesForSeveralDevices)
{
    SheetLayout l;
    // 4 cm cells at 600 x 600 dpi: 236 pixels a centimetre, 944 a cell.
    ASSERT_TRUE(ComputeSheetLayout({4800, 6600, 600, 600}, 1, 10, 1, &l));
    EXPECT_EQ(l.cmX, 236);
    EXPECT_EQ(l.cellWidth, 944);
    EXPECT_EQ(l.cellHeight, 944);
    EXPECT_EQ(l.columns, 5);
    EXPECT_EQ(l.rows, (6600 - 354 - 354) / 944);
    EXPECT_EQ(l.left, (4800 - 5 * 944) / 2);
    EXPECT_EQ(l.top, (6600 - l.rows * 944) / 2);
    // A4 at 300 dpi, each size: per page and page counts at the edges.
    struct Case {
        int size, columns, rows;
    } a4[] = {{0, 7, 8}, {1, 5, 6}, {2, 3, 4}, {3, 2, 3}};
    for (const Case& c : a4) {
        int per = c.columns * c.rows;
        for (int n : {0, 1, per, per + 1, 50}) {
            ComputeSheetLayout({2479, 3508, 300, 300}, c.size, n, 1, &l);
            EXPECT_EQ(l.columns, c.columns) << c.size;
            EXPECT_EQ(l.rows, c.rows) << c.size;
            EXPECT_EQ(l.pageCount, (n + per - 1) / per) << c.size << " " << n;
        }
    }
    EXPECT_FALSE(ComputeSheetLayout({2479, 3508, 300, 300}, 0, 0, 1, &l)); // nothing to print
    EXPECT_TRUE(ComputeSheetLayout({2479, 3508, 300, 300}, 1, 31, 2, &l));
    EXPECT_FALSE(ComputeSheetLayout({2479, 3508, 300, 300}, 1, 31, 3, &l));
    // A page narrower than a cell, or lower than a cell and the bands, still has one of each.
    ASSERT_TRUE(ComputeSheetLayout({300, 500, 300, 300}, 3, 3, 3, &l));
    EXPECT_EQ(l.columns, 1);
    EXPECT_EQ(l.rows, 1);
    EXPECT_EQ(l.pageCount, 3);
    // A stored size outside the table is brought into it, never read past it.
    ComputeSheetLayout({2479, 3508, 300, 300}, 7, 1, 1, &l);
    EXPECT_EQ(l.cellWidth, 118 * 8);
    ComputeSheetLayout({2479, 3508, 300, 300}, -2, 1, 1, &l);
    EXPECT_EQ(l.cellWidth, 118 * 3);
}

// ---- a list and a view that prints it ----

COLORREF ItemColour(int i)
{
    return RGB((i * 37) % 180 + 40, (i * 71 + 90) % 180 + 40, (i * 113 + 20) % 180 + 40);
}

PackedDIB SolidDib(int w, int h, COLORREF c)
{
    int stride = (w * 3 + 3) & ~3;
    HGLOBAL hDib = ::GlobalAlloc(GMEM_MOVEABLE, sizeof(BITMAPINFOHEADER) + static_cast<size_t>(stride) * h);
    auto* bi = static_cast<BITMAPINFOHEADER*>(::GlobalLock(hDib));
    *bi = {};
    bi->biSize = sizeof(*bi);
    bi->biWidth = w;
    bi->biHeight = h;
    bi->biPlanes = 1;
    bi->biBitCount = 24;
    BYTE* bits = reinterpret_cast<BYTE*>(bi + 1);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            BYTE* p = bits + static_cast<size_t>(y) * stride + x * 3;
            p[0] = GetBValue(c), p[1] = GetGValue(c), p[2] = GetRValue(c);
        }
    ::GlobalUnlock(hDib);
    return hDib;
}

class FakeList : public ISheetSource {
public:
    struct Entry {
        PackedDIB hThumb = nullptr;
        std::string path;
    };
    std::vector<Entry> entries;
    std::set<int> selected;
    int thumbnailsBuilt = 0;
    ~FakeList() override
    {
        for (Entry& e : entries)
            if (e.hThumb != nullptr)
                ::GlobalFree(e.hThumb);
    }
    int GetItemCount() override { return static_cast<int>(entries.size()); }
    BOOL GetSelectedItems(std::vector<int>* pIndexes) override
    {
        pIndexes->assign(selected.begin(), selected.end());
        return TRUE;
    }
    BOOL GetItem(int index, BOOL bBuildThumbnail, SheetItem* pItem) override
    {
        if (index < 0 || index >= GetItemCount())
            return FALSE;
        Entry& e = entries[static_cast<size_t>(index)];
        if (bBuildThumbnail && e.hThumb == nullptr) {
            e.hThumb = SolidDib(84, 63, ItemColour(index));
            thumbnailsBuilt++;
        }
        pItem->hThumbnail = e.hThumb;
        pItem->strPath = e.path.c_str();
        char name[32];
        wsprintfA(name, "image%02d.bmp", index);
        pItem->strCaption = name;
        pItem->nWidth = 400;
        pItem->nHeight = 300;
        pItem->nBitCount = 24;
        pItem->strInfo = "352 Ko - 07/12/2026";
        return TRUE;
    }
};

class CSheetView : public CView {
public:
    FakeList m_list;
    CThumbnailSheet* m_pSheet = nullptr;
    ~CSheetView() override { delete m_pSheet; }
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override
    {
        delete m_pSheet;
        m_pSheet =
            new CThumbnailSheet(&m_list, GetDocument()->GetTitle(), g_ListPrintSelected, g_ListPrintSize);
        return DoPreparePrinting(pInfo);
    }
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) override
    {
        CView::OnPrepareDC(pDC, pInfo);
        if (m_pSheet != nullptr)
            m_pSheet->ContinuePrinting(pDC, pInfo);
    }
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override { m_pSheet->PrintPage(pDC, pInfo); }
    void OnDraw(CDC*) override {}
};

// The fixture owns its document: it must outlive the view, not go with it.
class CSheetDoc : public CDocument {
public:
    CSheetDoc() { m_bAutoDelete = FALSE; }
    ~CSheetDoc() override { s_nDestroyed++; }
    static int s_nDestroyed;
};
int CSheetDoc::s_nDestroyed = 0;

SheetDevice DefaultDevice()
{
    printed::PageCaps caps = printed::DefaultPageCaps();
    return {caps.width, caps.height, caps.dpiX, caps.dpiY};
}

// The centre of cell i's picture box on the rasterised page.
COLORREF CellCentre(const printed::Raster& r, const SheetDevice& d, const SheetLayout& l, int i)
{
    int column = i % l.columns, row = i / l.columns;
    int x = l.left + column * l.cellWidth + l.cellWidth / 2;
    int top = l.top + row * l.cellHeight;
    int y = top + (l.cellHeight - (3 * l.cmY) / 2) / 2;
    return r.At(MulDiv(x, r.width, d.width), MulDiv(y, r.height, d.height));
}

size_t CommittedBytes()
{
    PROCESS_MEMORY_COUNTERS pmc = {};
    pmc.cb = sizeof(pmc);
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &pmc, sizeof(pmc));
    return pmc.PagefileUsage;
}

class SheetPrint : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_TRUE(printed::HavePrinter()) << "the test script sets up a PDF printer";
        ASSERT_TRUE(Start());
        m_pView = new CSheetView;
        CCreateContext context;
        context.m_pCurrentDoc = &m_doc;
        ASSERT_TRUE(m_pView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 100), m_pFrame,
                                    1, &context));
    }
    void TearDown() override
    {
        int destroyed = CSheetDoc::s_nDestroyed;
        if (m_pView != nullptr && ::IsWindow(m_pView->m_hWnd))
            m_pView->DestroyWindow();
        // The document is the fixture's: its last view going must not delete it.
        EXPECT_EQ(CSheetDoc::s_nDestroyed, destroyed);
        AppTest::TearDown();
    }
    // count pictures with thumbnails; withFiles: a 400 x 300 picture file of the same colour for each.
    void Fill(int count, bool withFiles)
    {
        for (int i = 0; i < count; i++) {
            FakeList::Entry e;
            e.hThumb = SolidDib(84, 63, ItemColour(i));
            if (withFiles) {
                e.path = m_temp.File("full" + std::to_string(i) + ".bmp");
                testpaths::WriteBytes(e.path,
                                      printed::Bmp24(400, 300, [i](int, int) { return ItemColour(i); }));
            }
            m_pView->m_list.entries.push_back(e);
        }
    }
    std::string NameJob(const char* base)
    {
        std::string name = printed::UniqueJobName(base);
        m_doc.SetTitle(name.c_str());
        return name;
    }
    // The print command: options (all pictures or the selection, size index), then the print dialog.
    void PrintCommand(int selection, int size, bool bPreview = false)
    {
        AfxScriptNextModal(IDD_PRINT_LIST,
                           {{IDC_PRINT_LIST_ALL + selection, "1"}, {IDC_PRINT_LIST_SIZE + size, "1"}}, IDOK);
        if (!bPreview) {
            AfxCommonDialogAnswer ok;
            ok.ok = true;
            AfxScriptCommonDialog(AfxCommonDialogKind::Print, ok);
        }
        printed::SpoolLock lock;
        EXPECT_TRUE(RunSheetPrintCommand(m_pView, bPreview));
    }
    CSheetDoc m_doc;
    CSheetView* m_pView = nullptr;
};

} // namespace

TEST_F(SheetPrint, FiftyThumbnailsOnOneSheet)
{
    Fill(50, false);
    std::string job = NameJob("SHEET");
    PrintCommand(0, 0);
    EXPECT_EQ(g_ListPrintSelected, 0);
    EXPECT_EQ(g_ListPrintSize, 0);
    EXPECT_EQ(m_pView->m_pSheet->GetFullReads(), 0); // the smallest cells print the thumbnails
    std::string pdf = printed::WaitForPdf(job);
    ASSERT_FALSE(pdf.empty());
    SheetDevice d = DefaultDevice();
    SheetLayout l;
    ASSERT_TRUE(ComputeSheetLayout(d, 0, 50, 1, &l));
    ASSERT_EQ(l.pageCount, 1);
    EXPECT_EQ(printed::PageCount(pdf), 1);
    std::string text = printed::PageText(pdf, 1);
    EXPECT_NE(text.find(job), std::string::npos);
    EXPECT_NE(text.find("(Total de 50 Images)"), std::string::npos);
    EXPECT_NE(text.find("Page 1/1"), std::string::npos);
    EXPECT_NE(text.find("image49.bmp"), std::string::npos);
    EXPECT_NE(text.find("400x300"), std::string::npos);
    printed::Raster r = printed::RasterPage(pdf, 1, 40);
    ASSERT_GT(r.width, 0);
    for (int i : {0, 6, 7, 23, 49})
        EXPECT_TRUE(printed::Near(CellCentre(r, d, l, i), ItemColour(i))) << "cell " << i;
    printed::RemoveFilesOf(job);
}

TEST_F(SheetPrint, FullPicturesAreReadOneAtATimeAndFreed)
{
    Fill(50, true);
    // A first job sets up what any job needs once (printer driver, fonts).
    m_pView->m_list.selected = {0};
    std::string warm = NameJob("WARM");
    PrintCommand(1, 1);
    m_pView->m_list.selected.clear();

    std::string job = NameJob("FULL");
    size_t before = CommittedBytes();
    int gdiBefore = static_cast<int>(::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS));
    PrintCommand(0, 1);
    size_t after = CommittedBytes();
    int gdiAfter = static_cast<int>(::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS));
    EXPECT_EQ(m_pView->m_pSheet->GetFullReads(), 50);
    // 50 pictures of 352 KB each would be 17 MB.
    EXPECT_LT(static_cast<long long>(after) - static_cast<long long>(before), 6LL * 1024 * 1024);
    EXPECT_LE(gdiAfter, gdiBefore + 2);

    std::string pdf = printed::WaitForPdf(job, 90000);
    ASSERT_FALSE(pdf.empty());
    SheetDevice d = DefaultDevice();
    SheetLayout l;
    ComputeSheetLayout(d, 1, 50, 1, &l);
    ASSERT_EQ(l.pageCount, 2);
    EXPECT_EQ(printed::PageCount(pdf), 2);
    std::string text = printed::PageText(pdf, 2);
    EXPECT_NE(text.find("Page 2/2"), std::string::npos);
    printed::Raster r = printed::RasterPage(pdf, 2, 30);
    ASSERT_GT(r.width, 0);
    // The second page holds only the pictures left: 30 to 49.
    EXPECT_TRUE(printed::Near(CellCentre(r, d, l, 0), ItemColour(l.perPage)));
    EXPECT_TRUE(printed::Near(CellCentre(r, d, l, 49 - l.perPage), ItemColour(49)));
    EXPECT_EQ(CellCentre(r, d, l, 50 - l.perPage), RGB(255, 255, 255));
    printed::RemoveFilesOf(job);
    printed::RemoveFilesOf(warm);
}

TEST_F(SheetPrint, OptionsPreviewAndEmptySelection)
{
    Fill(12, true);
    // A stored size outside the table opens with no size chosen; accepting stores one within it.
    g_ListPrintSelected = 1;
    g_ListPrintSize = 7;
    AfxModalStep look;
    look.buttonId = 0;
    look.check = [](CWnd* pDlg) {
        EXPECT_EQ(::IsDlgButtonChecked(pDlg->m_hWnd, IDC_PRINT_LIST_SELECTED), BST_CHECKED);
        printed::CaptureClient(pDlg->m_hWnd, "print-list-dialog");
        for (int id = IDC_PRINT_LIST_SIZE; id < IDC_PRINT_LIST_SIZE + 4; id++)
            EXPECT_EQ(::IsDlgButtonChecked(pDlg->m_hWnd, id), BST_UNCHECKED) << id;
    };
    AfxModalStep cancel;
    cancel.buttonId = IDCANCEL;
    AfxScriptModal(IDD_PRINT_LIST, {look, cancel});
    EXPECT_FALSE(RunSheetPrintCommand(m_pView, FALSE)); // cancelled: no print dialog, nothing stored
    EXPECT_EQ(g_ListPrintSize, 7);
    AfxScriptNextModal(IDD_PRINT_LIST, {}, IDOK);
    EXPECT_TRUE(AskSheetOptions(nullptr));
    EXPECT_EQ(g_ListPrintSize, 0);
    EXPECT_EQ(g_ListPrintSelected, 1);

    // The preview of nine selected pictures at 8 cm (six a page): thumbnails only, a missing one
    // built first; two pages to turn; printing from it reads the full pictures.
    m_pView->m_list.selected = {0, 1, 2, 3, 4, 5, 6, 7, 11};
    ::GlobalFree(m_pView->m_list.entries[5].hThumb);
    m_pView->m_list.entries[5].hThumb = nullptr;
    std::string job = NameJob("PREVIEW");
    PrintCommand(1, 3, true);
    CPrintPreviewWnd* pPreview = CPrintPreviewWnd::GetActive();
    ASSERT_NE(pPreview, nullptr);
    SheetDevice d = DefaultDevice();
    SheetLayout l;
    ComputeSheetLayout(d, 3, 9, 1, &l);
    ASSERT_EQ(l.pageCount, 2);
    EXPECT_EQ(pPreview->GetPageCount(), 2u);
    Pump();
    printed::Raster shot = printed::CaptureClient(pPreview->m_hWnd, "sheet-preview-page1");
    EXPECT_EQ(m_pView->m_pSheet->GetFullReads(), 0);
    EXPECT_EQ(m_pView->m_list.thumbnailsBuilt, 1);
    CRect page = pPreview->GetPageRect(0);
    printed::Raster inPage = printed::Crop(shot, page);
    EXPECT_TRUE(printed::Near(CellCentre(inPage, d, l, 5), ItemColour(5)));
    pPreview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_NEXT);
    EXPECT_EQ(pPreview->GetCurrentPage(), 2u);
    Pump();
    printed::CaptureClient(pPreview->m_hWnd, "sheet-preview-page2");
    AfxCommonDialogAnswer ok;
    ok.ok = true;
    AfxScriptCommonDialog(AfxCommonDialogKind::Print, ok);
    {
        printed::SpoolLock lock;
        pPreview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_PRINT);
    }
    EXPECT_EQ(CPrintPreviewWnd::GetActive(), nullptr);
    EXPECT_EQ(m_pView->m_pSheet->GetFullReads(), 9);
    std::string pdf = printed::WaitForPdf(job);
    ASSERT_FALSE(pdf.empty());
    EXPECT_EQ(printed::PageCount(pdf), 2);
    EXPECT_NE(printed::PageText(pdf, 1).find("(S"), std::string::npos); // "(Sélection de 9 Images)"
    EXPECT_NE(printed::PageText(pdf, 1).find("9 Images)"), std::string::npos);
    printed::RemoveFilesOf(job);

    // Nothing selected: nothing to print, and the user is told.
    m_pView->m_list.selected.clear();
    AfxScriptMessageBox(IDOK);
    PrintCommand(1, 1);
    ASSERT_FALSE(AfxTestRecords().messageBoxes.empty());
    EXPECT_EQ(AfxTestRecords().messageBoxes.back().text, "Il n'y a aucune page \xE0 imprimer.");
}

// The gauge's calls, in order.
class RecordingSink : public IProgressSink {
public:
    std::vector<std::string> calls;
    void BeginProgress(LPCSTR text) override { calls.push_back(std::string("begin ") + text); }
    void SetProgress(DWORD done, DWORD total) override
    {
        calls.push_back("set " + std::to_string(done) + "/" + std::to_string(total));
    }
    void EndProgress() override { calls.push_back("end"); }
};

// What the page sends to the printer, recorded as the system spools it: an enhanced metafile made
// against the default printer, holding every picture's bits as they go to the device.
long long RecordedPageBytes(ISheetSource* pSource, IProgressSink* pFrameSink)
{
    PRINTDLGA pd = {};
    pd.lStructSize = sizeof(pd);
    pd.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    if (!::PrintDlgA(&pd))
        return -1;
    long long bytes = -1;
    if (HDC hMeta = ::CreateEnhMetaFileA(pd.hDC, nullptr, nullptr, nullptr)) {
        CThumbnailSheet sheet(pSource, "job", FALSE, 1);
        CPrintInfo info;
        info.m_nCurPage = 1;
        CDC dc;
        dc.Attach(hMeta);
        // The gauge follows the page's pictures while they are read.
        RecordingSink gauge;
        SetProgressSink(&gauge);
        sheet.PrintPage(&dc, &info);
        SetProgressSink(pFrameSink);
        dc.Detach();
        EXPECT_EQ(gauge.calls,
                  (std::vector<std::string>{"begin Page 1", "set 1/3", "set 2/3", "set 3/3", "end"}));
        HENHMETAFILE hRecorded = ::CloseEnhMetaFile(hMeta);
        bytes = ::GetEnhMetaFileBits(hRecorded, 0, nullptr);
        ::DeleteEnhMetaFile(hRecorded);
    }
    ::DeleteDC(pd.hDC);
    ::GlobalFree(pd.hDevMode);
    ::GlobalFree(pd.hDevNames);
    return bytes;
}

// Pictures larger than their cells reach the printer reduced to the pixels the cell gives them at
// the printer's resolution: pictures three times the cell's size in each direction make a job no
// bigger than pictures of the cell's own size (sent whole, about nine times as big), each picture
// costs the job no more than its cell's pixels, and the printed document is no bigger either.
TEST_F(SheetPrint, FullPicturesGoToThePrinterAtTheirCellsSize)
{
    SheetDevice d = DefaultDevice();
    SheetLayout l;
    ComputeSheetLayout(d, 1, 1, 1, &l);
    const int boxWidth = l.cellWidth - 2 * (l.cmX / 5);
    const int boxHeight = l.cellHeight - (3 * l.cmY) / 2;
    ASSERT_GT(boxWidth, 0);
    ASSERT_GT(boxHeight, 0);
    const int kPictures = 3;
    struct Case {
        const char* job;
        int scale;
        long long jobBytes;
        long long pdfBytes;
    };
    Case cases[] = {{"CELL", 1, 0, 0}, {"LARGE", 3, 0, 0}};
    for (Case& c : cases) {
        SCOPED_TRACE(c.job);
        for (FakeList::Entry& e : m_pView->m_list.entries)
            ::GlobalFree(e.hThumb);
        m_pView->m_list.entries.clear();
        for (int i = 0; i < kPictures; i++) {
            FakeList::Entry e;
            e.hThumb = SolidDib(84, 63, ItemColour(i));
            e.path = m_temp.File(std::string(c.job) + std::to_string(i) + ".bmp");
            // Noise: no compression can make a whole picture small.
            unsigned seed = 2654435761u * static_cast<unsigned>(i + 1);
            testpaths::WriteBytes(e.path,
                                  printed::Bmp24(boxWidth * c.scale, boxHeight * c.scale, [&](int, int) {
                                      seed = seed * 1664525u + 1013904223u;
                                      return static_cast<COLORREF>(seed >> 8) & 0xFFFFFF;
                                  }));
            m_pView->m_list.entries.push_back(e);
        }
        c.jobBytes = RecordedPageBytes(&m_pView->m_list, m_pFrame);
        ASSERT_GT(c.jobBytes, 0);
        std::string job = NameJob(c.job);
        PrintCommand(0, 1);
        std::string pdf = printed::WaitForPdf(job, 120000);
        ASSERT_FALSE(pdf.empty());
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        ASSERT_TRUE(::GetFileAttributesExA(pdf.c_str(), GetFileExInfoStandard, &data));
        c.pdfBytes = static_cast<long long>(data.nFileSizeLow);
        printed::RemoveFilesOf(job);
    }
    EXPECT_LT(cases[1].jobBytes, cases[0].jobBytes * 3 / 2);
    EXPECT_LT(cases[1].jobBytes / kPictures, 3LL * boxWidth * boxHeight + 100000);
    EXPECT_LT(cases[1].pdfBytes, cases[0].pdfBytes * 3 / 2);
}
