// The folder-explorer view: the folder's file names, its status panes and its placement.
#include "explorer/ExplorerView.h"

#include "shell/AppMessages.h"
#include "shell/MainFrameHost.h"
#include "shell/ViewPlacement.h"
#include "explorer/ExplorerDoc.h"
#include "framework/Dc.h"

IMPLEMENT_DYNCREATE(CExplorerView, CView)

BEGIN_MESSAGE_MAP(CExplorerView, CView)
    ON_MESSAGE(WM_PALETTEREALIZE, OnPaletteRealize)
    ON_MESSAGE(WM_VIEWARRANGE, OnViewArrange)
    ON_MESSAGE(WM_VIEWKIND, OnViewKind)
    ON_MESSAGE(WM_VIEWSTATUS, OnViewStatus)
    ON_MESSAGE(WM_VIEWIDLE, OnViewIdle)
END_MESSAGE_MAP()

CExplorerDoc* CExplorerView::GetDocument() const { return static_cast<CExplorerDoc*>(m_pDocument); }

void CExplorerView::OnInitialUpdate()
{
    ListFolder();
    CView::OnInitialUpdate();
}

void CExplorerView::ListFolder()
{
    m_arrNames.RemoveAll();
    CExplorerDoc* pDoc = GetDocument();
    if (pDoc == nullptr || pDoc->GetPathName().IsEmpty())
        return;
    CString strPattern = pDoc->GetPathName();
    if (strPattern.Right(1) != "\\")
        strPattern += "\\";
    strPattern += "*.*";
    WIN32_FIND_DATAA data;
    HANDLE hFind = ::FindFirstFileA(strPattern, &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            m_arrNames.Add(data.cFileName);
    } while (::FindNextFileA(hFind, &data));
    ::FindClose(hFind);
}

void CExplorerView::OnDraw(CDC* pDC)
{
    CRect rect;
    GetClientRect(&rect);
    pDC->FillSolidRect(&rect, ::GetSysColor(COLOR_WINDOW));
    HGDIOBJ hOldFont = pDC->SelectObject(::GetStockObject(DEFAULT_GUI_FONT));
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
    TEXTMETRICA tm;
    ::GetTextMetricsA(pDC->m_hDC, &tm);
    int nLine = tm.tmHeight + 2;
    int y = 4;
    for (INT_PTR i = 0; i < m_arrNames.GetSize() && y < rect.bottom; i++, y += nLine)
        pDC->TextOut(8, y, m_arrNames[i]);
    pDC->SelectObject(hOldFont);
}

LRESULT CExplorerView::OnPaletteRealize(WPARAM, LPARAM) { return 0; }

void CExplorerView::UpdateStatusPanes()
{
    CExplorerDoc* pDoc = GetDocument();
    if (g_pMainFrameHost != nullptr && pDoc != nullptr)
        g_pMainFrameHost->SetStatusText1(pDoc->GetPathName());
}

void CExplorerView::ArrangeChildFrame(BOOL byPlacement)
{
    ArrangeViewFrame(this, kExplorerViewArea, byPlacement);
}

LRESULT CExplorerView::OnViewArrange(WPARAM wParam, LPARAM)
{
    ArrangeChildFrame(static_cast<BOOL>(wParam));
    return TRUE;
}

LRESULT CExplorerView::OnViewKind(WPARAM, LPARAM) { return kExplorerViewArea; }

LRESULT CExplorerView::OnViewStatus(WPARAM, LPARAM)
{
    if (g_pMainFrameHost != nullptr)
        g_pMainFrameHost->SetStatusMode(kStatusExplorer);
    UpdateStatusPanes();
    return TRUE;
}

LRESULT CExplorerView::OnViewIdle(WPARAM wParam, LPARAM)
{
    if (!wParam)
        OnIdle();
    return TRUE;
}
