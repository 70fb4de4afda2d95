// CQuestionDlg: asks whether to create a new document under the name of a file that does not exist
// ("Oui" IDOK, "Non" 1250), with a box to stop asking. Nothing runs it yet.
#pragma once
#include "framework/Dialog.h"

class CQuestionDlg : public CDialog {
    DECLARE_DYNAMIC(CQuestionDlg)
public:
    explicit CQuestionDlg(CWnd* pParentWnd = nullptr);

    BOOL m_bDontAskAgain = FALSE;
    CString m_strFileName;

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnNo();
    DECLARE_MESSAGE_MAP()
};
