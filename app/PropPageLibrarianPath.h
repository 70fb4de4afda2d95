// CPropPageLibrarianPath: the "Bibliothèque" page of the preferences (the library folder).
#pragma once
#include "framework/Controls.h"
#include "framework/PropertySheet.h"

class CPropPageLibrarianPath : public CPropertyPage {
    DECLARE_DYNAMIC(CPropPageLibrarianPath)
public:
    CPropPageLibrarianPath();

    CEdit m_editPath;
    CString m_strPath; // the library folder

    // Lets the user pick the folder with the shell's folder browser.
    void OnBrowse();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    DECLARE_MESSAGE_MAP()
};
