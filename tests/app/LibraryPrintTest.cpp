// Printing thumbnail lists. The library bar's list: through the hidden picture-list print window to the test
// printer (the whole list although only some pictures were selected, captions with the pictures' names, pages
// as the layout gives them), its preview through the same list adapter, and cancelling at each dialog, which
// closes the window and leaves no file. The search-results window's print and preview commands.
#include "tests/app/AppFixture.h"

#include "shell/Settings.h"
#include "explorer/ExplorerView.h"
#include "piclist/PicListSheetSource.h"
#include "explorer/SearchView.h"
#include "explorer/SearchWorker.h"
#include "piclist/ThumbnailSheet.h"
#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/MDIChildWnd.h"
#include "framework/Print.h"
#include "framework/PrintPreview.h"
#include "framework/StdIds.h"
#include "framework/TestSeams.h"
#include "framework/View.h"
#include "library/LibraryBar.h"
#include "resources/printing-ids.h"
#include "resources/resource.h"
#include "tests/support/PrintedPdf.h"

#include <string>

namespace {

COLORREF PictureColour(int i)
{
    return RGB((i * 53) % 200 + 30, (i * 29 + 70) % 200 + 30, (i * 97 + 10) % 200 + 30);
}

class LibraryPrint : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_TRUE(printed::HavePrinter()) << "the test script sets up a PDF printer";
        m_root = m_temp.File("Lib");
        ::CreateDirectoryA(m_root.c_str(), nullptr);
        m_folder = m_root + "\\Images";
        ::CreateDirectoryA(m_folder.c_str(), nullptr);
        for (int i = 0; i < 50; i++) {
            char name[32];
            wsprintfA(name, "\\photo%02d.bmp", i);
            testpaths::WriteBytes(m_folder + name,
                                  printed::Bmp24(60, 45, [i](int, int) { return PictureColour(i); }));
        }
        PutSettingText("folders", "LibrarianLocation", m_root + "\\");
        PutSettingText("folders", "LibrarianLastPath", m_folder);
        ASSERT_TRUE(Start());
        m_pBar = m_pFrame->GetLibraryBar();
        m_pBar->m_strFolder = m_folder.c_str();
        m_pBar->LoadNormalFolder(m_folder.c_str());
        ASSERT_EQ(m_pBar->m_list.GetCount(), 50);
        m_pBar->m_list.SetSel(-1, FALSE);
        for (int i : {3, 4, 17})
            m_pBar->m_list.SetSel(i, TRUE);
        m_children = Children().size();
    }
    CDocTemplate* PrintTemplate() { return m_pApp->GetTemplate(kTemplatePrintLib); }
    // The print command through the main window: the hidden window opens and asks for the print.
    CDocument* OpenPrintWindow(const std::string& job)
    {
        m_pFrame->SendMessage(WM_COMMAND, ID_LIB_PRINT);
        POSITION pos = PrintTemplate()->GetFirstDocPosition();
        CDocument* pDoc = pos != nullptr ? PrintTemplate()->GetNextDoc(pos) : nullptr;
        if (pDoc != nullptr)
            pDoc->SetTitle(job.c_str());
        return pDoc;
    }
    // The window has closed itself, no other window was shown or changed.
    void ExpectWindowGone()
    {
        Pump();
        EXPECT_EQ(PrintTemplate()->GetFirstDocPosition(), nullptr);
        EXPECT_EQ(Children().size(), m_children);
    }
    std::string m_root;
    std::string m_folder;
    CLibraryBar* m_pBar = nullptr;
    size_t m_children = 0;
};

// A view printing a thumbnail list, as the explorer and search views do.
class CListSheetView : public CView {
public:
    CPicListBox* m_pList = nullptr;
    CListSheetPrint m_print;
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override
    {
        m_print.Begin(m_pList, FALSE, "Liste");
        return DoPreparePrinting(pInfo);
    }
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) override
    {
        CView::OnPrepareDC(pDC, pInfo);
        m_print.PrepareDC(pDC, pInfo);
    }
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override { m_print.PrintPage(pDC, pInfo); }
    void OnDraw(CDC*) override {}
};

} // namespace

TEST_F(LibraryPrint, WholeListPrintsWithNamesAndLibraryTitle)
{
    std::string job = printed::UniqueJobName("LIBLIST");
    // "All pictures" at 4 cm although three are selected: 50 pictures, 30 a page on A4.
    AfxScriptNextModal(IDD_PRINT_LIST, {{IDC_PRINT_LIST_ALL, "1"}, {IDC_PRINT_LIST_SIZE + 1, "1"}}, IDOK);
    AfxCommonDialogAnswer ok;
    ok.ok = true;
    AfxScriptCommonDialog(AfxCommonDialogKind::Print, ok);
    {
        printed::SpoolLock lock;
        CDocument* pDoc = OpenPrintWindow(job);
        ASSERT_NE(pDoc, nullptr);
        // Never shown over the user's windows, and off the screen.
        POSITION pos = pDoc->GetFirstViewPosition();
        CFrameWnd* pPrintFrame = pDoc->GetNextView(pos)->GetParentFrame();
        EXPECT_FALSE(pPrintFrame->IsWindowVisible());
        CRect rect;
        pPrintFrame->GetWindowRect(&rect);
        EXPECT_LT(rect.right, 0);
        Pump();
    }
    ExpectWindowGone();
    EXPECT_EQ(g_ListPrintSelected, 0);

    std::string pdf = printed::WaitForPdf(job);
    ASSERT_FALSE(pdf.empty());
    printed::PageCaps caps = printed::DefaultPageCaps();
    SheetDevice device = {caps.width, caps.height, caps.dpiX, caps.dpiY};
    SheetLayout l;
    ComputeSheetLayout(device, 1, 50, 1, &l);
    ASSERT_EQ(l.pageCount, 2);
    EXPECT_EQ(printed::PageCount(pdf), l.pageCount);
    std::string first = printed::PageText(pdf, 1), second = printed::PageText(pdf, 2);
    EXPECT_NE(first.find("Biblioth\xC3\xA8que d"), std::string::npos) << first.substr(0, 200);
    EXPECT_NE(first.find("images - Images"), std::string::npos);
    EXPECT_EQ(first.find(m_root.substr(3)), std::string::npos); // the folder relative to the root
    EXPECT_NE(first.find("(Total de 50 Images)"), std::string::npos);
    EXPECT_NE(first.find("photo00"), std::string::npos);
    EXPECT_EQ(first.find("photo00.bmp"), std::string::npos); // the name, not the file name
    EXPECT_NE(first.find("60x45"), std::string::npos);       // measured while printing, no thumbnail yet
    EXPECT_NE(second.find("photo49"), std::string::npos);
    EXPECT_NE(second.find("Page 2/2"), std::string::npos);
    // The first cell holds the first picture of the list.
    printed::Raster r = printed::RasterPage(pdf, 1, 30);
    ASSERT_GT(r.width, 0);
    int x = l.left + l.cellWidth / 2, y = l.top + (l.cellHeight - (3 * l.cmY) / 2) / 2;
    EXPECT_TRUE(printed::Near(r.At(MulDiv(x, r.width, device.width), MulDiv(y, r.height, device.height)),
                              PictureColour(0)));
    printed::RemoveFilesOf(job);
}

TEST_F(LibraryPrint, CancelClosesTheWindowAndLeavesNoFile)
{
    // A maximised picture window stays maximised and in front.
    ASSERT_NE(m_pApp->OpenDocumentFile(WriteBmp("front.bmp").c_str()), nullptr);
    CMDIChildWnd* pFront = m_pFrame->MDIGetActive();
    m_pFrame->MDIMaximize(pFront);
    m_children = Children().size();

    std::string job = printed::UniqueJobName("LIBCANCEL");
    AfxScriptNextModal(IDD_PRINT_LIST, {}, IDCANCEL);
    ASSERT_NE(OpenPrintWindow(job), nullptr);
    Pump();
    ExpectWindowGone();

    AfxScriptNextModal(IDD_PRINT_LIST, {}, IDOK);
    AfxCommonDialogAnswer cancel;
    cancel.ok = false;
    AfxScriptCommonDialog(AfxCommonDialogKind::Print, cancel);
    ASSERT_NE(OpenPrintWindow(job), nullptr);
    Pump();
    ExpectWindowGone();
    EXPECT_EQ(m_pFrame->MDIGetActive(), pFront);
    EXPECT_TRUE(pFront->IsZoomed());
    ::Sleep(0);
    EXPECT_FALSE(printed::AnyFileOf(job));

    // The application's entry opens it so, whoever asks.
    AfxScriptNextModal(IDD_PRINT_LIST, {}, IDCANCEL);
    m_pApp->NewPrintLibWindow();
    ASSERT_NE(PrintTemplate()->GetFirstDocPosition(), nullptr);
    EXPECT_EQ(m_pFrame->MDIGetActive(), pFront);
    Pump();
    ExpectWindowGone();

    // Nothing selected, or the trash shown: the command opens nothing.
    m_pBar->m_list.SetSel(-1, FALSE);
    m_pFrame->SendMessage(WM_COMMAND, ID_LIB_PRINT);
    EXPECT_EQ(PrintTemplate()->GetFirstDocPosition(), nullptr);
    m_pBar->m_list.SetSel(0, TRUE);
    m_pBar->m_tree.SelectItem(m_pBar->m_tree.TrashItem());
    m_pFrame->SendMessage(WM_COMMAND, ID_LIB_PRINT);
    EXPECT_EQ(PrintTemplate()->GetFirstDocPosition(), nullptr);
}

TEST_F(LibraryPrint, PreviewOfTheListHasTheLayoutsPages)
{
    CDocument doc;
    doc.m_bAutoDelete = FALSE; // on the stack: the view going must not delete it
    auto* pView = new CListSheetView;
    pView->m_pList = &m_pBar->m_list;
    CCreateContext context;
    context.m_pCurrentDoc = &doc;
    ASSERT_TRUE(
        pView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 100), m_pFrame, 1, &context));
    // The three selected pictures at 8 cm, then all fifty at 6 cm.
    struct Case {
        int selection, size, count;
    } cases[] = {{1, 3, 3}, {0, 2, 50}};
    printed::PageCaps caps = printed::DefaultPageCaps();
    SheetDevice device = {caps.width, caps.height, caps.dpiX, caps.dpiY};
    for (const Case& c : cases) {
        AfxScriptNextModal(IDD_PRINT_LIST,
                           {{IDC_PRINT_LIST_ALL + c.selection, "1"}, {IDC_PRINT_LIST_SIZE + c.size, "1"}},
                           IDOK);
        ASSERT_TRUE(RunSheetPrintCommand(pView, TRUE));
        CPrintPreviewWnd* pPreview = CPrintPreviewWnd::GetActive();
        ASSERT_NE(pPreview, nullptr);
        SheetLayout l;
        ComputeSheetLayout(device, c.size, c.count, 1, &l);
        EXPECT_EQ(pPreview->GetPageCount(), static_cast<UINT>(l.pageCount)) << c.count;
        Pump();
        printed::Raster shot =
            printed::CaptureClient(pPreview->m_hWnd, "library-list-preview-" + std::to_string(c.count));
        EXPECT_EQ(pView->m_print.GetSheet()->GetFullReads(), 0);
        // The first cell shows the first printed picture's thumbnail.
        printed::Raster page = printed::Crop(shot, pPreview->GetPageRect(0));
        int index = c.selection == 1 ? 3 : 0;
        int x = l.left + l.cellWidth / 2, y = l.top + (l.cellHeight - (3 * l.cmY) / 2) / 2;
        EXPECT_TRUE(
            printed::Near(page.At(MulDiv(x, page.width, device.width), MulDiv(y, page.height, device.height)),
                          PictureColour(index)))
            << c.count;
        pPreview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE);
        Pump();
        EXPECT_EQ(CPrintPreviewWnd::GetActive(), nullptr);
    }
    pView->DestroyWindow();
}

TEST_F(LibraryPrint, SearchResultsPrintAndPreviewTheirList)
{
    g_arrSearchResults.RemoveAll();
    for (int i = 0; i < 50; i++) {
        char name[32];
        wsprintfA(name, "\\photo%02d.bmp", i);
        g_arrSearchResults.Add((m_folder + name).c_str());
    }
    m_pApp->NewSearchWindow();
    CMDIChildWnd* pChild = m_pFrame->MDIGetActive();
    ASSERT_NE(pChild, nullptr);
    auto* pView = dynamic_cast<CSearchView*>(pChild->GetActiveView());
    ASSERT_NE(pView, nullptr);
    ASSERT_EQ(pView->m_list.GetCount(), 50);
    printed::PageCaps caps = printed::DefaultPageCaps();
    SheetDevice device = {caps.width, caps.height, caps.dpiX, caps.dpiY};
    SheetLayout l;

    // The preview of all fifty at 8 cm, through the main window's command routing.
    AfxScriptNextModal(IDD_PRINT_LIST, {{IDC_PRINT_LIST_ALL, "1"}, {IDC_PRINT_LIST_SIZE + 3, "1"}}, IDOK);
    m_pFrame->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    CPrintPreviewWnd* pPreview = CPrintPreviewWnd::GetActive();
    ASSERT_NE(pPreview, nullptr);
    ComputeSheetLayout(device, 3, 50, 1, &l);
    EXPECT_EQ(pPreview->GetPageCount(), static_cast<UINT>(l.pageCount));
    Pump();
    printed::CaptureClient(pPreview->m_hWnd, "search-list-preview");
    pPreview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE);
    Pump();
    ASSERT_EQ(CPrintPreviewWnd::GetActive(), nullptr);

    // Two selected pictures printed at 2 cm, titled with the window's title.
    std::string job = printed::UniqueJobName("SEARCHLIST");
    pView->GetDocument()->SetTitle(job.c_str());
    pView->m_list.SetSel(-1, FALSE);
    pView->m_list.SetSel(10, TRUE);
    pView->m_list.SetSel(49, TRUE);
    AfxScriptNextModal(IDD_PRINT_LIST, {{IDC_PRINT_LIST_SELECTED, "1"}, {IDC_PRINT_LIST_SIZE, "1"}}, IDOK);
    AfxCommonDialogAnswer ok;
    ok.ok = true;
    AfxScriptCommonDialog(AfxCommonDialogKind::Print, ok);
    {
        printed::SpoolLock lock;
        m_pFrame->SendMessage(WM_COMMAND, ID_FILE_PRINT);
    }
    std::string pdf = printed::WaitForPdf(job);
    ASSERT_FALSE(pdf.empty());
    EXPECT_EQ(printed::PageCount(pdf), 1);
    std::string text = printed::PageText(pdf, 1);
    EXPECT_NE(text.find(job), std::string::npos);
    EXPECT_NE(text.find("2 Images)"), std::string::npos);
    EXPECT_NE(text.find("hoto10.bmp"), std::string::npos); // file names as captions
    EXPECT_NE(text.find("hoto49.bmp"), std::string::npos);
    EXPECT_EQ(text.find("hoto11.bmp"), std::string::npos);
    printed::RemoveFilesOf(job);
}

TEST_F(LibraryPrint, ExplorerPreviewsItsFolderAsSheets)
{
    m_pApp->OpenDocumentFile(m_folder.c_str());
    CMDIChildWnd* pChild = m_pFrame->MDIGetActive();
    ASSERT_NE(pChild, nullptr);
    auto* pView = dynamic_cast<CExplorerView*>(pChild->GetActiveView());
    ASSERT_NE(pView, nullptr);
    for (int i = 0; i < 50 && pView->m_list.GetCount() < 50; i++) {
        pView->OnIdle();
        Pump();
    }
    ASSERT_EQ(pView->m_list.GetCount(), 50);
    printed::PageCaps caps = printed::DefaultPageCaps();
    SheetDevice device = {caps.width, caps.height, caps.dpiX, caps.dpiY};
    SheetLayout l;
    AfxScriptNextModal(IDD_PRINT_LIST, {{IDC_PRINT_LIST_ALL, "1"}, {IDC_PRINT_LIST_SIZE + 2, "1"}}, IDOK);
    m_pFrame->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    CPrintPreviewWnd* pPreview = CPrintPreviewWnd::GetActive();
    ASSERT_NE(pPreview, nullptr);
    ComputeSheetLayout(device, 2, 50, 1, &l);
    EXPECT_EQ(pPreview->GetPageCount(), static_cast<UINT>(l.pageCount));
    pPreview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE);
    Pump();
    EXPECT_EQ(CPrintPreviewWnd::GetActive(), nullptr);
}
