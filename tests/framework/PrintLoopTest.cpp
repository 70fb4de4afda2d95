// The print loop and the print preview, printing for real to the test script's PDF printer: pages
// arrive as the view draws them, the default rule prints one page, cancelling at the print dialog
// or from the status window leaves no job, and the preview shows, pages through and prints.
#include "tests/framework/WindowTestSupport.h"

#include "framework/CommonDialogs.h"
#include "framework/Dc.h"
#include "framework/Document.h"
#include "framework/FrameWnd.h"
#include "framework/Print.h"
#include "framework/PrintPreview.h"
#include "framework/TestSeams.h"
#include "framework/View.h"
#include "tests/support/PrintedPdf.h"

#include <cstring>

namespace {

// The fixture owns its document: the view going must not delete it.
class CPagesDoc : public CDocument {
public:
    CPagesDoc() { m_bAutoDelete = FALSE; }
};

// Page p shows a black square in the p-th eighth of the page's width, a quarter of the way down.
class CPagesView : public CView {
public:
    int m_nPages = 3; // -1: the framework's default rule
    std::vector<UINT> m_printed;
    int m_nPreviewDraws = 0;
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) override
    {
        CView::OnPrepareDC(pDC, pInfo);
        if (pInfo != nullptr && m_nPages >= 0)
            pInfo->m_bContinuePrinting = pInfo->m_nCurPage <= static_cast<UINT>(m_nPages);
    }
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override
    {
        EXPECT_TRUE(pDC->IsPrinting());
        int w = pDC->GetDeviceCaps(HORZRES), h = pDC->GetDeviceCaps(VERTRES);
        int p = static_cast<int>(pInfo->m_nCurPage);
        CRect square(w * (p - 1) / 8, h / 4, w * p / 8, h / 4 + w / 8);
        pDC->FillSolidRect(&square, RGB(0, 0, 0));
        if (pInfo->m_bPreview)
            m_nPreviewDraws++;
        else
            m_printed.push_back(pInfo->m_nCurPage);
    }
    void OnDraw(CDC*) override {}
};

class PrintLoop : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ASSERT_TRUE(printed::HavePrinter()) << "the test script sets up a PDF printer";
        ASSERT_TRUE(m_parent.CreateTop("impression", WS_POPUP | WS_VISIBLE));
        m_parent.MoveWindow(0, 0, 800, 600);
        TestApp().m_pMainWnd = &m_parent;
        m_pView = new CPagesView;
        CCreateContext context;
        context.m_pCurrentDoc = &m_doc;
        ASSERT_TRUE(m_pView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 100), &m_parent,
                                    1, &context));
    }
    void TearDown() override
    {
        m_parent.DestroyWindow();
        WindowTest::TearDown();
    }
    std::string NameJob(const char* base)
    {
        std::string name = printed::UniqueJobName(base);
        m_doc.SetTitle(name.c_str());
        return name;
    }
    void PrintWithDialog()
    {
        AfxCommonDialogAnswer ok;
        ok.ok = true;
        AfxScriptCommonDialog(AfxCommonDialogKind::Print, ok);
        printed::SpoolLock lock;
        m_pView->OnFilePrint();
    }
    // The square of page p lies where it belongs on the rasterised page, and nowhere else.
    static void ExpectSquareOf(const printed::Raster& r, int p)
    {
        ASSERT_GT(r.width, 0);
        int cy = r.height / 4 + r.width / 16;
        EXPECT_EQ(r.At(r.width * (2 * p - 1) / 16, cy), RGB(0, 0, 0)) << "page " << p;
        int other = p == 1 ? 2 : 1;
        EXPECT_EQ(r.At(r.width * (2 * other - 1) / 16, cy), RGB(255, 255, 255)) << "page " << p;
    }
    CTestTopWindow m_parent;
    CPagesDoc m_doc;
    CPagesView* m_pView = nullptr;
};

} // namespace

TEST_F(PrintLoop, EveryPageTheViewAllowsArrivesWhereItWasDrawn)
{
    std::string job = NameJob("loop_three");
    AfxScriptPrintedPage([](UINT nPage) {
        if (nPage == 1)
            printed::CaptureClient(AfxGetPrintStatusWindow(), "print-status");
    });
    PrintWithDialog();
    AfxScriptPrintedPage(nullptr);
    EXPECT_EQ(m_pView->m_printed, (std::vector<UINT>{1, 2, 3}));
    EXPECT_EQ(AfxGetPrintStatusWindow(), nullptr);
    EXPECT_TRUE(m_parent.IsWindowEnabled());
    std::string pdf = printed::WaitForPdf(job);
    ASSERT_FALSE(pdf.empty());
    EXPECT_EQ(printed::PageCount(pdf), 3);
    for (int p = 1; p <= 3; p++)
        ExpectSquareOf(printed::RasterPage(pdf, p, 20), p);
    printed::RemoveFilesOf(job);

    // A view that does not know its last page prints one page.
    m_pView->m_nPages = -1;
    m_pView->m_printed.clear();
    job = NameJob("loop_default");
    PrintWithDialog();
    EXPECT_EQ(m_pView->m_printed, (std::vector<UINT>{1}));
    pdf = printed::WaitForPdf(job);
    ASSERT_FALSE(pdf.empty());
    EXPECT_EQ(printed::PageCount(pdf), 1);
    printed::RemoveFilesOf(job);
}

TEST_F(PrintLoop, CancelledOrEmptyJobsLeaveNoFile)
{
    // Cancel at the print dialog: nothing is drawn.
    std::string cancelledAtDialog = NameJob("loop_dialog_cancel");
    AfxScriptCommonDialog(AfxCommonDialogKind::Print, AfxCommonDialogAnswer());
    m_pView->OnFilePrint();
    EXPECT_TRUE(m_pView->m_printed.empty());

    // Cancel from the status window while page 2 is printed.
    std::string cancelledWhilePrinting = NameJob("loop_status_cancel");
    bool bStatusSeen = false;
    AfxScriptPrintedPage([&](UINT nPage) {
        HWND hStatus = AfxGetPrintStatusWindow();
        bStatusSeen = hStatus != nullptr && ::IsWindowVisible(hStatus);
        if (nPage == 2 && hStatus != nullptr)
            ::PostMessageA(hStatus, WM_COMMAND, IDCANCEL, 0);
    });
    // Wine's spooler keeps an aborted job's spool file open until the process ends, and the next
    // process to spool a job of the same number would fail: no other test spools before this one ends.
    new printed::SpoolLock;
    PrintWithDialog();
    AfxScriptPrintedPage(nullptr);
    EXPECT_TRUE(bStatusSeen);
    EXPECT_EQ(m_pView->m_printed, (std::vector<UINT>{1, 2}));
    EXPECT_TRUE(m_parent.IsWindowEnabled());

    // Nothing to print: the user is told and no job starts.
    m_pView->m_nPages = 0;
    m_pView->m_printed.clear();
    std::string empty = NameJob("loop_empty");
    AfxScriptMessageBox(IDOK);
    PrintWithDialog();
    EXPECT_TRUE(m_pView->m_printed.empty());
    ASSERT_EQ(AfxTestRecords().messageBoxes.size(), 1u);
    EXPECT_EQ(AfxTestRecords().messageBoxes[0].text, "Il n'y a aucune page \xE0 imprimer.");

    // The printer handles jobs in order: once a later job is there, the earlier ones would be too.
    m_pView->m_nPages = 1;
    std::string marker = NameJob("loop_marker");
    PrintWithDialog();
    ASSERT_FALSE(printed::WaitForPdf(marker).empty());
    EXPECT_FALSE(printed::AnyFileOf(cancelledAtDialog));
    EXPECT_FALSE(printed::AnyFileOf(cancelledWhilePrinting));
    EXPECT_FALSE(printed::AnyFileOf(empty));
    printed::RemoveFilesOf(marker);
}

TEST_F(PrintLoop, PreviewShowsPagesTurnsThemAndPrints)
{
    std::string job = NameJob("loop_preview");
    m_pView->OnFilePrintPreview();
    CPrintPreviewWnd* pPreview = CPrintPreviewWnd::GetActive();
    ASSERT_NE(pPreview, nullptr);
    EXPECT_EQ(pPreview->GetPageCount(), 3u);
    EXPECT_EQ(pPreview->GetCurrentPage(), 1u);
    EXPECT_EQ(pPreview->GetPagesShown(), 1);
    PumpPending();
    printed::Raster shot = printed::CaptureClient(pPreview->m_hWnd, "framework-preview-page1");
    CRect page = pPreview->GetPageRect(0);
    ASSERT_FALSE(page.IsRectEmpty());
    // The first page's square on screen, the second's place empty.
    int cy = page.top + page.Height() / 4 + page.Width() / 16;
    EXPECT_EQ(shot.At(page.left + page.Width() / 16, cy), RGB(0, 0, 0));
    EXPECT_EQ(shot.At(page.left + page.Width() * 3 / 16, cy), RGB(255, 255, 255));
    EXPECT_TRUE(m_pView->m_printed.empty()); // the preview draws, it prints nothing

    pPreview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_NEXT);
    pPreview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_NEXT);
    EXPECT_EQ(pPreview->GetCurrentPage(), 3u);
    pPreview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_NEXT); // there is no page 4
    EXPECT_EQ(pPreview->GetCurrentPage(), 3u);
    pPreview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_NUMPAGE);
    EXPECT_EQ(pPreview->GetPagesShown(), 2);
    EXPECT_EQ(pPreview->GetCurrentPage(), 2u);
    PumpPending();
    shot = printed::CaptureClient(pPreview->m_hWnd, "framework-preview-two-pages");
    CRect second = pPreview->GetPageRect(1);
    cy = second.top + second.Height() / 4 + second.Width() / 16;
    EXPECT_EQ(shot.At(second.left + second.Width() * 5 / 16, cy), RGB(0, 0, 0));
    pPreview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_ZOOMIN);
    EXPECT_EQ(pPreview->GetZoom(), 1);
    EXPECT_EQ(pPreview->GetPagesShown(), 1);
    EXPECT_GT(pPreview->GetPageRect(0).Width(), page.Width());
    pPreview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_PREV);
    EXPECT_EQ(pPreview->GetCurrentPage(), 1u);
    pPreview->SendMessage(WM_KEYDOWN, VK_NEXT);
    EXPECT_EQ(pPreview->GetCurrentPage(), 2u);
    EXPECT_GT(m_pView->m_nPreviewDraws, 0);

    // Print from the preview: the preview closes and the whole job prints.
    AfxCommonDialogAnswer ok;
    ok.ok = true;
    AfxScriptCommonDialog(AfxCommonDialogKind::Print, ok);
    {
        printed::SpoolLock lock;
        pPreview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_PRINT);
    }
    EXPECT_EQ(CPrintPreviewWnd::GetActive(), nullptr);
    EXPECT_EQ(m_pView->m_printed, (std::vector<UINT>{1, 2, 3}));
    std::string pdf = printed::WaitForPdf(job);
    ASSERT_FALSE(pdf.empty());
    EXPECT_EQ(printed::PageCount(pdf), 3);
    printed::RemoveFilesOf(job);

    // A preview goes with its view.
    m_pView->OnFilePrintPreview();
    ASSERT_NE(CPrintPreviewWnd::GetActive(), nullptr);
    m_pView->DestroyWindow();
    m_pView = nullptr;
    EXPECT_EQ(CPrintPreviewWnd::GetActive(), nullptr);
}

TEST_F(PrintLoop, APrinterThatIsGoneIsReportedNotUsed)
{
    // The printer chosen earlier no longer exists.
    const char kDevice[] = "Imprimante disparue";
    const char kDriver[] = "winspool";
    const char kPort[] = "CUPS:disparue";
    size_t size = sizeof(DEVNAMES) + sizeof(kDevice) + sizeof(kDriver) + sizeof(kPort);
    HGLOBAL hNames = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    auto* pNames = static_cast<DEVNAMES*>(::GlobalLock(hNames));
    char* p = reinterpret_cast<char*>(pNames);
    pNames->wDriverOffset = sizeof(DEVNAMES);
    pNames->wDeviceOffset = static_cast<WORD>(pNames->wDriverOffset + sizeof(kDriver));
    pNames->wOutputOffset = static_cast<WORD>(pNames->wDeviceOffset + sizeof(kDevice));
    std::memcpy(p + pNames->wDriverOffset, kDriver, sizeof(kDriver));
    std::memcpy(p + pNames->wDeviceOffset, kDevice, sizeof(kDevice));
    std::memcpy(p + pNames->wOutputOffset, kPort, sizeof(kPort));
    ::GlobalUnlock(hNames);
    HGLOBAL hOldNames = TestApp().m_hDevNames, hOldMode = TestApp().m_hDevMode;
    TestApp().m_hDevNames = hNames;
    TestApp().m_hDevMode = nullptr;

    AfxScriptMessageBox(IDOK);
    m_pView->OnFilePrintPreview();
    EXPECT_EQ(CPrintPreviewWnd::GetActive(), nullptr);
    ASSERT_EQ(AfxTestRecords().messageBoxes.size(), 1u);
    EXPECT_EQ(AfxTestRecords().messageBoxes[0].text, "Aucune imprimante n'est install\xE9"
                                                     "e. Installez une imprimante avant d'imprimer.");
    EXPECT_TRUE(m_pView->m_printed.empty());
    EXPECT_EQ(m_pView->m_nPreviewDraws, 0);

    TestApp().m_hDevNames = hOldNames;
    TestApp().m_hDevMode = hOldMode;
    ::GlobalFree(hNames);
}

namespace {

// The real print dialog, closed from a timer once it is up: where it opened.
HWND g_hOwner = nullptr;
RECT g_dialogRect = {};

BOOL CALLBACK FindOwnedDialog(HWND hWnd, LPARAM lParam)
{
    char szClass[16] = "";
    ::GetClassNameA(hWnd, szClass, sizeof(szClass));
    if (std::strcmp(szClass, "#32770") == 0 && ::GetWindow(hWnd, GW_OWNER) == g_hOwner
        && ::IsWindowVisible(hWnd)) {
        *reinterpret_cast<HWND*>(lParam) = hWnd;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK CloseDialogTimer(HWND, UINT, UINT_PTR nId, DWORD)
{
    HWND hDlg = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindOwnedDialog, reinterpret_cast<LPARAM>(&hDlg));
    if (hDlg == nullptr)
        return;
    ::KillTimer(nullptr, nId);
    ::GetWindowRect(hDlg, &g_dialogRect);
    ::PostMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
}

} // namespace

TEST_F(PrintLoop, PrintDialogOpensCentredOnItsOwner)
{
    AfxTestReset(); // the system's dialog, not a scripted answer
    m_parent.MoveWindow(40, 30, 900, 700);
    g_hOwner = m_parent.m_hWnd;
    PRINTDLGA pd = {};
    pd.lStructSize = sizeof(pd);
    pd.hwndOwner = m_parent.m_hWnd;
    pd.Flags = PD_RETURNDC;
    UINT_PTR nTimer = ::SetTimer(nullptr, 0, 50, CloseDialogTimer);
    EXPECT_FALSE(AfxPrintDlg(&pd));
    ::KillTimer(nullptr, nTimer);
    g_hOwner = nullptr;
    EXPECT_EQ(pd.Flags & (PD_ENABLEPRINTHOOK | PD_ENABLESETUPHOOK), 0u);
    ASSERT_GT(g_dialogRect.right, g_dialogRect.left);
    EXPECT_NEAR((g_dialogRect.left + g_dialogRect.right) / 2, 40 + 450, 2);
    EXPECT_NEAR((g_dialogRect.top + g_dialogRect.bottom) / 2, 30 + 350, 2);
}
