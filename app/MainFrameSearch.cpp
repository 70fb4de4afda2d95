// The main frame's part in the library search: the command, the progress dialog and the end.
#include "app/MainFrame.h"
#include "app/TessarineApp.h"
#include "explorer/SearchCommand.h"
#include "library/ProtectedAccess.h"
#include "shell/Settings.h"
#include "framework/CmdUI.h"

namespace {
BOOL IsBarVisible(CLibraryBar& bar) { return ::IsWindow(bar.m_hWnd) && (bar.GetStyle() & WS_VISIBLE) != 0; }
} // namespace

void CMainFrame::OnLibSearch()
{
    if (!IsBarVisible(m_wndLibraryBar) || m_dlgSearchProgress.IsSearching())
        return;
    if (AskSearchCriteria(this))
        StartSearch();
}

void CMainFrame::OnUpdateLibSearch(CCmdUI* pCmdUI) { pCmdUI->Enable(IsBarVisible(m_wndLibraryBar)); }

void CMainFrame::StartSearch()
{
    PrepareSearch(m_dlgSearchProgress, g_strLibraryRoot, g_bProtectedUnlocked);
    m_dlgSearchProgress.m_hWndNotify = m_hWnd;
    m_dlgSearchProgress.DoModal();
    // The program was closed during the search: it closes now, after the search's end message.
    if (m_bCloseAfterSearch) {
        m_bCloseAfterSearch = FALSE;
        PostMessage(WM_CLOSE);
    }
}

void CMainFrame::EndSearch()
{
    FinishSearch(m_dlgSearchProgress.Block(), [] {
        CTessarineApp* pApp = TessarineApp();
        if (pApp != nullptr)
            pApp->NewSearchWindow();
    });
}

LRESULT CMainFrame::OnSearchFinished(WPARAM, LPARAM)
{
    EndSearch();
    return 0;
}
