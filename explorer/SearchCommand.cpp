#include "explorer/SearchCommand.h"

#include "core/Progress.h"
#include "core/PackedDib.h"
#include "framework/FrameworkTexts.h"
#include "framework/WinApp.h"
#include "resources/resource.h"

namespace {

CString Trimmed(const CString& text)
{
    CString result = text;
    result.TrimLeft();
    result.TrimRight();
    return result;
}

} // namespace

BOOL AskSearchCriteria(CWnd* pParent)
{
    for (;;) {
        g_bReportProgress = FALSE;
        PackedDIB hLogo = LoadDIBResource(AfxGetResourceHandle(), "ORVANEL8");
        PackedDIB hPicture = LoadDIBResource(AfxGetResourceHandle(), "SEARCHPIC");
        g_bReportProgress = TRUE;
        CSearchLibraryDlg dlg(pParent);
        dlg.m_strName = g_strSearchName;
        dlg.m_strAuthor = g_strSearchAuthor;
        dlg.m_strKeyword = g_strSearchKeyword;
        dlg.m_strComment = g_strSearchComment;
        dlg.m_btnPicture.m_hDIB = hPicture;
        dlg.m_btnLogo.m_hDIB = hLogo;
        const INT_PTR result = dlg.DoModal();
        dlg.m_btnPicture.m_hDIB = nullptr;
        dlg.m_btnLogo.m_hDIB = nullptr;
        if (hPicture != nullptr)
            GlobalFreeHandle(hPicture);
        if (hLogo != nullptr)
            GlobalFreeHandle(hLogo);
        if (result != IDOK)
            return FALSE;
        g_strSearchName = Trimmed(dlg.m_strName);
        g_strSearchAuthor = Trimmed(dlg.m_strAuthor);
        g_strSearchKeyword = Trimmed(dlg.m_strKeyword);
        g_strSearchComment = Trimmed(dlg.m_strComment);
        if (!g_strSearchName.IsEmpty() || !g_strSearchAuthor.IsEmpty() || !g_strSearchKeyword.IsEmpty()
            || !g_strSearchComment.IsEmpty())
            return TRUE;
        AfxMessageBox(AfxLoadText(IDS_SEARCH_NO_CRITERIA), MB_ICONEXCLAMATION);
    }
}

void PrepareSearch(CSearchProgressDlg& dlg, const CString& root, BOOL searchProtected)
{
    g_arrSearchResults.RemoveAll();
    g_nSearchStop = 0;
    dlg.Prepare();
    dlg.Block().root = root;
    dlg.Block().criteria =
        MakeSearchCriteria(g_strSearchName, g_strSearchAuthor, g_strSearchKeyword, g_strSearchComment);
    dlg.Block().searchProtected = searchProtected;
}

void FinishSearch(const SearchProgress& block, const std::function<void()>& openWindow)
{
    if (block.failed.load() != 0) {
        AfxMessageBox(block.failure, MB_ICONSTOP);
    } else if (block.cancel.load() == 0) {
        if (g_arrSearchResults.GetSize() > 0) {
            if (openWindow)
                openWindow();
        } else {
            AfxMessageBox(AfxLoadText(IDS_SEARCH_NO_MATCH), MB_ICONINFORMATION);
        }
    }
    g_arrSearchResults.RemoveAll();
}
