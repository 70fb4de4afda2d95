// The picture-list print window of the library bar.
#include "explorer/PrintLibView.h"

#include "explorer/PrintLibDoc.h"
#include "piclist/ThumbnailSheet.h"
#include "framework/Dc.h"
#include "framework/FrameWnd.h"
#include "framework/FrameworkTexts.h"
#include "framework/Print.h"
#include "framework/StdIds.h"
#include "piclist/LibraryHost.h"
#include "piclist/PicListBox.h"
#include "resources/resource.h"
#include "shell/LibraryLink.h"

IMPLEMENT_SERIAL(CPrintLibDoc, CDocument, 1)
IMPLEMENT_DYNCREATE(CPrintLibView, CView)

BEGIN_MESSAGE_MAP(CPrintLibView, CView)
    ON_COMMAND(ID_FILE_PRINT, OnPrintList)
END_MESSAGE_MAP()

void CPrintLibDoc::Serialize(CArchive&) {}

void CPrintLibView::OnDraw(CDC*) {}

void CPrintLibView::OnInitialUpdate()
{
    if (CFrameWnd* pFrame = GetParentFrame())
        pFrame->SetWindowPos(nullptr, -1000, -1000, 10, 10, SWP_NOZORDER | SWP_NOACTIVATE);
    PostMessage(WM_COMMAND, ID_FILE_PRINT);
    CView::OnInitialUpdate();
}

CString CPrintLibView::SheetTitle(const CString& folder, const CString& libraryRoot)
{
    CString title = AfxLoadText(IDS_LIBRARY_TITLE);
    title += " - ";
    // A folder outside the root (never expected) keeps its full path rather than losing letters.
    if (folder.GetLength() >= libraryRoot.GetLength()
        && folder.Left(libraryRoot.GetLength()).CompareNoCase(libraryRoot) == 0)
        title += folder.Mid(libraryRoot.GetLength());
    else
        title += folder;
    return title;
}

// The library bar's list, null while there is no bar.
static CPicListBox* LibraryList()
{
    return g_pLibraryLink != nullptr ? dynamic_cast<CPicListBox*>(g_pLibraryLink->GetPictureList()) : nullptr;
}

void CPrintLibView::OnPrintList()
{
    CPicListBox* pList = LibraryList();
    if (pList != nullptr && ::IsWindow(pList->m_hWnd))
        RunSheetPrintCommand(this, FALSE);
    if (CFrameWnd* pFrame = GetParentFrame())
        pFrame->PostMessage(WM_CLOSE);
}

BOOL CPrintLibView::OnPreparePrinting(CPrintInfo* pInfo)
{
    CPicListBox* pList = LibraryList();
    if (pList == nullptr)
        return FALSE;
    m_print.Begin(pList, TRUE, SheetTitle(g_pLibraryLink->GetLibraryFolder(), LibraryRoot()));
    return DoPreparePrinting(pInfo);
}

void CPrintLibView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
    CView::OnPrepareDC(pDC, pInfo);
    m_print.PrepareDC(pDC, pInfo);
}

void CPrintLibView::OnPrint(CDC* pDC, CPrintInfo* pInfo) { m_print.PrintPage(pDC, pInfo); }
