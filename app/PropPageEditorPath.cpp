#include "app/PropPageEditorPath.h"

#include "framework/CommonDialogs.h"
#include "framework/DataExchange.h"
#include "framework/PathDoor.h"
#include "resources/resource.h"

IMPLEMENT_DYNAMIC(CPropPageEditorPath, CPropertyPage)

BEGIN_MESSAGE_MAP(CPropPageEditorPath, CPropertyPage)
    ON_BN_CLICKED(IDC_PATH_BROWSE, OnBrowse)
END_MESSAGE_MAP()

CPropPageEditorPath::CPropPageEditorPath() : CPropertyPage(IDD_PREFS_EDITOR) {}

void CPropPageEditorPath::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_PathText(pDX, IDC_PATH_EDIT, m_strPath);
    // The settings keep no longer path: it would serve this session, then be forgotten.
    DDV_MaxPath(pDX, m_strPath);
}

void CPropPageEditorPath::OnBrowse()
{
    const CString current = AfxGetSpelledWindowText(PathField());
    CString filter;
    filter.LoadString(IDS_FILTER_PROGRAMS);
    filter += "|";
    CString title;
    title.LoadString(IDS_BROWSE_TITLE);
    CFileDialog dlg(FALSE, "exe", current, OFN_HIDEREADONLY, filter, this);
    dlg.m_ofn.Flags &= ~static_cast<DWORD>(OFN_SHOWHELP);
    dlg.m_ofn.lpstrTitle = title;
    if (dlg.DoModal() != IDOK)
        return;
    CString path = dlg.GetPathName();
    path.MakeLower();
    ::SetWindowTextA(PathField(), path);
    ::SetFocus(PathField());
    ::SendMessageA(PathField(), EM_SETSEL, 0, -1);
}
