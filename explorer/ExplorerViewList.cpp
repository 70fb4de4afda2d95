// The explorer view's right-hand side before the thumbnail list: the folder requested and the change
// lines are kept, nothing is shown.
#include "explorer/ExplorerView.h"

void CExplorerView::PlaceList() {}

BOOL CExplorerView::GetListWindowRect(CRect*) { return FALSE; }

BOOL CExplorerView::HasListWindow() const { return FALSE; }

BOOL CExplorerView::IsListWindow(HWND) const { return FALSE; }

void CExplorerView::FocusList() { m_bListHasFocus = TRUE; }

int CExplorerView::GetListCount() const { return 0; }

CExplorerView::ListTotals CExplorerView::GetListTotals() const { return ListTotals(); }

int CExplorerView::BuildNextThumbnail() { return 0; }

void CExplorerView::LoadListFolder(const CString& folder) { m_strListFolder = folder; }

void CExplorerView::ApplyChanges(CStringArray& lines) { m_arrApplied.Append(lines); }

int CExplorerView::GetSelectedCount() const { return 0; }

void CExplorerView::GetSelectedPaths(CStringArray&) const {}
