// The library bar's print command: the bar has no view the framework could print, so the application
// opens a picture-list print window, which prints the bar's list and closes itself.
#include "library/LibraryBar.h"

#include "shell/MainFrameHost.h"

void CLibraryBar::PrintList()
{
    if (m_tree.GetSelectedKind() == LIB_KIND_TRASH || m_list.LIBLIST_TRASH_MODE || m_list.m_hWnd == nullptr
        || m_list.GetSelCount() <= 0 || g_pMainFrameHost == nullptr)
        return;
    g_pMainFrameHost->NewPrintLibWindow();
}
