// The library bar's print command: the bar has no view the framework could print, so it opens a
// picture-list print window, which prints the bar's list and closes itself.
#include "library/LibraryBar.h"

#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/FrameWnd.h"
#include "framework/View.h"
#include "framework/WinApp.h"
#include "resources/resource.h"

void CLibraryBar::PrintList()
{
    if (m_tree.GetSelectedKind() == LIB_KIND_TRASH || m_list.LIBLIST_TRASH_MODE || m_list.m_hWnd == nullptr
        || m_list.GetSelCount() <= 0)
        return;
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return;
    CDocTemplate* pTemplate = nullptr;
    for (POSITION pos = pApp->GetFirstDocTemplatePosition(); pos != nullptr;) {
        CDocTemplate* pEach = pApp->GetNextDocTemplate(pos);
        if (pEach->m_nIDResource == IDR_PRINTLIBTYPE)
            pTemplate = pEach;
    }
    if (pTemplate == nullptr)
        return;
    // Opened hidden: shown, the window would be maximised over the user's pictures when the active
    // window is, or when windows open maximised, undoing its move off the screen.
    CDocument* pDoc = pTemplate->OpenDocumentFile(nullptr, FALSE);
    if (pDoc == nullptr)
        return;
    POSITION pos = pDoc->GetFirstViewPosition();
    CView* pView = pos != nullptr ? pDoc->GetNextView(pos) : nullptr;
    CFrameWnd* pFrame = pView != nullptr ? pView->GetParentFrame() : nullptr;
    if (pFrame != nullptr)
        pFrame->SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
}
