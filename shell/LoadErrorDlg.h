// CLoadErrorDlg: a picture could not be loaded; the user may give another path and retry.
#pragma once
#include "shell/SimpleDibButton.h"
#include "framework/Dialog.h"

class CLoadErrorDlg : public CDialog {
    DECLARE_DYNAMIC(CLoadErrorDlg)
public:
    explicit CLoadErrorDlg(CWnd* pParentWnd = nullptr);

    CString m_strPath;             // the path to try, read back after IDOK
    CString m_strFileName;         // the picture that failed, as shown
    CSimpleDibButton m_btnWarning; // pictures the caller loads and frees
    CSimpleDibButton m_btnLogo;

    // The whole exchange: shows the failed path and, after "Réessayer", gives the edited path in
    // *pNewPath. IDOK to retry, anything else to give up.
    static INT_PTR AskForRetry(LPCSTR lpszFailedPath, CString* pNewPath);

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

// Gives every control below the window, at every depth, that font (no redraw).
void SetFontOnDescendants(HWND hWnd, HFONT hFont);
