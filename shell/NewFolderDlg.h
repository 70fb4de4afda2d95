// CNewFolderDlg: asks the name of a folder to create. The caller's try runs on OK while the dialog is
// open: a name it refuses (it returns FALSE, having said why) stays typed and selected, and the
// dialog stays.
#pragma once
#include "framework/Dialog.h"
#include "shell/NameTry.h"

class CNewFolderDlg : public CDialog {
    DECLARE_DYNAMIC(CNewFolderDlg)
public:
    explicit CNewFolderDlg(CWnd* pParentWnd = nullptr);

    CString m_strName;
    NameTry m_try;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
};
