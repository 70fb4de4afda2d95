// CPropPageEditorPath: the "Editeur" page of the preferences (the external picture editor).
#pragma once
#include "framework/Controls.h"
#include "framework/PropertySheet.h"

class CPropPageEditorPath : public CPropertyPage {
    DECLARE_DYNAMIC(CPropPageEditorPath)
public:
    CPropPageEditorPath();

    CEdit m_editPath;
    CString m_strPath; // the editor's program file

    // Lets the user pick the program with a file dialog.
    void OnBrowse();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    DECLARE_MESSAGE_MAP()
};
