#include "app/PrefsPropertySheet.h"

#include "framework/WinApp.h"
#include "resources/resource.h"
#include "shell/Settings.h"

IMPLEMENT_DYNAMIC(CPrefsPropertySheet, CPropertySheet)

int CPrefsPropertySheet::GetRememberedPage() { return g_nPrefsStartPage; }
void CPrefsPropertySheet::SetRememberedPage(int nPage) { g_nPrefsStartPage = nPage; }

CPrefsPropertySheet::CPrefsPropertySheet(CWnd* pParentWnd)
    : CPropertySheet(IDS_PREFERENCES_CAPTION, pParentWnd, static_cast<UINT>(g_nPrefsStartPage))
{
    // Nothing is applied before OK: no "Apply" button.
    m_psh.dwFlags |= PSH_NOAPPLYNOW;
    AddPage(&m_pageGeneral);
    AddPage(&m_pageToolbars);
    AddPage(&m_pageLibrarianPath);
    AddPage(&m_pageEditorPath);
    AddPage(&m_pageJPEG);
    AddPage(&m_pagePhotoCD);
    AddPage(&m_pageWMF);
}

CPrefsPropertySheet::~CPrefsPropertySheet() = default;

INT_PTR CPrefsPropertySheet::DoModal()
{
    m_nPageAtOK = -1;
    INT_PTR result = CPropertySheet::DoModal();
    // Only an OK that closed the sheet moves the start page; one refused by a page does not.
    if (result == IDOK && m_nPageAtOK >= 0)
        g_nPrefsStartPage = m_nPageAtOK;
    return result;
}

BOOL CPrefsPropertySheet::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDOK)
        m_nPageAtOK = GetActiveIndex();
    return CPropertySheet::OnCommand(wParam, lParam);
}

BOOL CPrefsPropertySheet::OnInitDialog()
{
    // Made without a parent: it still opens over the main window.
    CenterWindow(AfxGetMainWnd());
    return TRUE;
}
