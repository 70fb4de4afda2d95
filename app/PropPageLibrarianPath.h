// CPropPageLibrarianPath: the "Bibliothèque" page of the preferences (the library folder).
#pragma once
#include "framework/PropertySheet.h"
#include "resources/dialogs-ids.h"

class CPropPageLibrarianPath : public CPropertyPage {
    DECLARE_DYNAMIC(CPropPageLibrarianPath)
public:
    CPropPageLibrarianPath();

    CString m_strPath; // the library folder

    // Lets the user pick the folder with the shell's folder browser.
    void OnBrowse();

protected:
    // The path's field, a window of wide characters made by DDX_PathText: no object subclasses it,
    // which would turn what is typed into the code page.
    HWND PathField() const { return ::GetDlgItem(m_hWnd, IDC_PATH_EDIT); }
    void DoDataExchange(CDataExchange* pDX) override;
    DECLARE_MESSAGE_MAP()
};
