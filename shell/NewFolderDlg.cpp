#include "shell/NewFolderDlg.h"

#include "framework/DataExchange.h"
#include "resources/resource.h"

IMPLEMENT_DYNAMIC(CNewFolderDlg, CDialog)

CNewFolderDlg::CNewFolderDlg(CWnd* pParentWnd) : CDialog(IDD_NEW_FOLDER, pParentWnd) {}

BOOL CNewFolderDlg::OnInitDialog()
{
    BOOL bResult = CDialog::OnInitDialog();
    CenterWindow();
    return bResult;
}

void CNewFolderDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_NameText(pDX, IDC_NEWFOLDER_NAME, m_strName, TRUE);
}

void CNewFolderDlg::OnOK() { EndIfNameAccepted(*this, IDC_NEWFOLDER_NAME, m_try, m_strName); }
