#include "app/PropPageLibrarianPath.h"

#include "framework/CommonDialogs.h"
#include "framework/DataExchange.h"
#include "resources/resource.h"

IMPLEMENT_DYNAMIC(CPropPageLibrarianPath, CPropertyPage)

BEGIN_MESSAGE_MAP(CPropPageLibrarianPath, CPropertyPage)
    ON_BN_CLICKED(IDC_PATH_BROWSE, OnBrowse)
END_MESSAGE_MAP()

CPropPageLibrarianPath::CPropPageLibrarianPath() : CPropertyPage(IDD_PREFS_LIBRARY) {}

void CPropPageLibrarianPath::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_PathText(pDX, IDC_PATH_EDIT, m_strPath, TRUE);
}

void CPropPageLibrarianPath::OnBrowse()
{
    // Where the browser writes the name of the folder chosen.
    char displayName[MAX_PATH] = "";
    CString title;
    title.LoadString(IDS_BROWSE_LIBRARY_FOLDER);
    BROWSEINFOA bi = {};
    bi.hwndOwner = m_hWnd;
    bi.pszDisplayName = displayName;
    bi.lpszTitle = title;
    bi.ulFlags = BIF_RETURNONLYFSDIRS;
    const CString path = AfxBrowseForFolderPath(&bi);
    if (path.IsEmpty())
        return;
    ::SetWindowTextA(PathField(), path);
    ::SetFocus(PathField());
    ::SendMessageA(PathField(), EM_SETSEL, 0, -1);
}
