// The small dialogs of the trash: the notice after a deletion and the confirmations of restoring,
// erasing and emptying. Each is plain: IDOK for " Oui " (or " OK "), IDCANCEL for " Non ".
#pragma once
#include "framework/Dialog.h"

// Dialog 361, with its check box "Ne plus afficher ce message".
class CDeleteNoticeDlg : public CDialog {
    DECLARE_DYNAMIC(CDeleteNoticeDlg)
public:
    explicit CDeleteNoticeDlg(CWnd* pParentWnd = nullptr);
    BOOL m_bDontShowAgain = FALSE;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

// Dialog 363.
class CRecoverConfirmDlg : public CDialog {
    DECLARE_DYNAMIC(CRecoverConfirmDlg)
public:
    explicit CRecoverConfirmDlg(CWnd* pParentWnd = nullptr);
};

// Dialog 364.
class CEraseConfirmDlg : public CDialog {
    DECLARE_DYNAMIC(CEraseConfirmDlg)
public:
    explicit CEraseConfirmDlg(CWnd* pParentWnd = nullptr);
};

// Dialog 365.
class CEmptyTrashConfirmDlg : public CDialog {
    DECLARE_DYNAMIC(CEmptyTrashConfirmDlg)
public:
    explicit CEmptyTrashConfirmDlg(CWnd* pParentWnd = nullptr);
};
