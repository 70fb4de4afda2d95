// The explorer view's thumbnail list: its creation and place, what it tells its owner, the sums of
// the status panes, loading and change lines.
#include "explorer/ExplorerView.h"

#include "piclist/ListCommands.h"
#include "piclist/PicObject.h"
#include "shell/Settings.h"

static const UINT kListId = 101;

BOOL CExplorerView::CreateList()
{
    m_list.m_nView = g_TailleVignette;
    m_list.m_nSortOrder = g_DefaultSortOrder;
    m_list.m_nSortKey = g_DefaultSortBy;
    m_list.m_bBuildThumbnails = g_ApercuAuto;
    m_list.m_bKeepRecords = FALSE;
    m_list.m_bHideExtensions = FALSE;
    return m_list.Create(this, kListId);
}

void CExplorerView::PlaceList()
{
    if (::IsWindow(m_list.m_hWnd))
        m_list.SetWindowPos(nullptr, m_rectList.left, m_rectList.top, m_rectList.right - m_rectList.left,
                            m_rectList.bottom - m_rectList.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CExplorerView::GetListWindowRect(CRect* pRect)
{
    if (!::IsWindow(m_list.m_hWnd))
        return FALSE;
    m_list.GetWindowRect(pRect);
    ScreenToClient(pRect);
    return TRUE;
}

BOOL CExplorerView::HasListWindow() const { return ::IsWindow(m_list.m_hWnd); }

BOOL CExplorerView::IsListWindow(HWND hWnd) const { return hWnd != nullptr && hWnd == m_list.m_hWnd; }

void CExplorerView::FocusList()
{
    if (::IsWindow(m_list.m_hWnd))
        m_list.SetFocus();
}

int CExplorerView::GetListCount() const { return ::IsWindow(m_list.m_hWnd) ? m_list.GetCount() : 0; }

int CExplorerView::GetSelectedCount() const
{
    if (!::IsWindow(m_list.m_hWnd))
        return 0;
    int count = m_list.GetSelCount();
    return count > 0 ? count : 0;
}

std::vector<int> CExplorerView::GetSelectedIndices() const
{
    return HasListWindow() ? SelectedListIndexes(m_list) : std::vector<int>();
}

void CExplorerView::GetSelectedPaths(CStringArray& paths) const
{
    for (int index : GetSelectedIndices()) {
        CPicObject* pRecord = m_list.GetRecord(index);
        if (pRecord != nullptr)
            paths.Add(pRecord->m_strPath);
    }
}

PicListTotals CExplorerView::GetListTotals()
{
    return ::IsWindow(m_list.m_hWnd) ? m_list.GetTotals() : PicListTotals();
}

int CExplorerView::BuildNextThumbnail()
{
    return ::IsWindow(m_list.m_hWnd) ? m_list.BuildThumbnailsForSlice() : 0;
}

void CExplorerView::LoadListFolder(const CString& folder)
{
    m_strListFolder = folder;
    if (::IsWindow(m_list.m_hWnd))
        m_list.LoadFolder(folder);
}

void CExplorerView::ApplyChanges(CStringArray& lines)
{
    m_arrApplied.Append(lines);
    if (::IsWindow(m_list.m_hWnd) && lines.GetSize() > 0)
        m_list.AddFiles(&lines);
    UpdateStatusPanes();
}

CString CExplorerView::GetListFolder() { return m_strListFolder; }

void CExplorerView::OnListContentChanged(CPicListBox*) { UpdateStatusPanes(); }

void CExplorerView::OnListFocusChanged(CPicListBox*, BOOL bHasFocus)
{
    if (bHasFocus)
        m_bListHasFocus = TRUE;
}

void CExplorerView::OnListSelChange() { UpdateStatusPanes(); }
