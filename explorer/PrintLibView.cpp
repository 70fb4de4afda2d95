// The picture-list print window of the library bar.
#include "explorer/PrintLibView.h"

#include "explorer/PrintLibDoc.h"
#include "piclist/ThumbnailSheet.h"
#include "framework/Dc.h"
#include "framework/FrameWnd.h"
#include "framework/FrameworkTexts.h"
#include "framework/Print.h"
#include "framework/StdIds.h"
#include "library/LibraryBar.h"
#include "piclist/LibraryHost.h"
#include "resources/resource.h"

IMPLEMENT_DYNCREATE(CPrintLibDoc, CDocument)
IMPLEMENT_DYNCREATE(CPrintLibView, CView)

BEGIN_MESSAGE_MAP(CPrintLibView, CView)
    ON_COMMAND(ID_FILE_PRINT, OnPrintList)
END_MESSAGE_MAP()

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

void CPrintLibView::OnPrintList()
{
    if (g_pLibraryBar != nullptr && ::IsWindow(g_pLibraryBar->m_list.m_hWnd))
        RunSheetPrintCommand(this, FALSE);
    if (CFrameWnd* pFrame = GetParentFrame())
        pFrame->PostMessage(WM_CLOSE);
}

BOOL CPrintLibView::OnPreparePrinting(CPrintInfo* pInfo)
{
    if (g_pLibraryBar == nullptr)
        return FALSE;
    m_print.Begin(&g_pLibraryBar->m_list, TRUE, SheetTitle(g_pLibraryBar->m_strFolder, LibraryRoot()));
    return DoPreparePrinting(pInfo);
}

void CPrintLibView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
    CView::OnPrepareDC(pDC, pInfo);
    m_print.PrepareDC(pDC, pInfo);
}

void CPrintLibView::OnPrint(CDC* pDC, CPrintInfo* pInfo) { m_print.PrintPage(pDC, pInfo); }
