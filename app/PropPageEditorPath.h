// CPropPageEditorPath: the "Editeur" page of the preferences (the external picture editor).
#pragma once
#include "framework/PropertySheet.h"
#include "resources/dialogs-ids.h"

class CPropPageEditorPath : public CPropertyPage {
    DECLARE_DYNAMIC(CPropPageEditorPath)
public:
    CPropPageEditorPath();

    CString m_strPath; // the editor's program file

    // Lets the user pick the program with a file dialog.
    void OnBrowse();

protected:
    // The path's field, a window of wide characters made by DDX_PathText: no object subclasses it,
    // which would turn what is typed into the code page.
    HWND PathField() const { return ::GetDlgItem(m_hWnd, IDC_PATH_EDIT); }
    void DoDataExchange(CDataExchange* pDX) override;
    DECLARE_MESSAGE_MAP()
};
