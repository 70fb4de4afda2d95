#include "app/QuestionDlg.h"

#include "framework/DataExchange.h"
#include "resources/resource.h"

#include <string>

IMPLEMENT_DYNAMIC(CQuestionDlg, CDialog)

BEGIN_MESSAGE_MAP(CQuestionDlg, CDialog)
    ON_BN_CLICKED(IDC_QUESTION_NO, OnNo)
END_MESSAGE_MAP()

CQuestionDlg::CQuestionDlg(CWnd* pParentWnd) : CDialog(IDD_CREATE_QUESTION, pParentWnd) {}

void CQuestionDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_QUESTION_DONT_ASK, m_bDontAskAgain);
}

BOOL CQuestionDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // The file name goes where the template says "%s"; the name itself is never read as a format.
    char text[512] = "";
    ::GetDlgItemTextA(m_hWnd, IDC_QUESTION_TEXT, text, sizeof(text));
    std::string line = text;
    std::string::size_type at = line.find("%s");
    if (at != std::string::npos)
        line.replace(at, 2, static_cast<LPCSTR>(m_strFileName));
    ::SetDlgItemTextA(m_hWnd, IDC_QUESTION_TEXT, line.c_str());
    CenterWindow();
    return TRUE;
}

void CQuestionDlg::OnNo()
{
    UpdateData(TRUE);
    EndDialog(IDC_QUESTION_NO);
}
