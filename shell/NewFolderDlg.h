// CNewFolderDlg: asks the name of a folder to create (the caller checks the name).
#pragma once
#include "framework/Dialog.h"

class CNewFolderDlg : public CDialog {
    DECLARE_DYNAMIC(CNewFolderDlg)
public:
    explicit CNewFolderDlg(CWnd* pParentWnd = nullptr);

    CString m_strName;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
};
