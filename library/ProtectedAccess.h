// The protected folder "Images Protégées": its password (the setting "ProtectedPics", kept as the
// user typed it), the two password dialogs, the gate that opens the folder for the rest of the run,
// and the library's process-wide state the other windows consult.
#pragma once
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/String.h"
#include "piclist/LibraryState.h"

// TRUE when path is the protected folder or lies inside it (without regard to case).
BOOL IsInProtectedFolder(const CString& path);

// Dialog 136: asks the password of the protected folder.
class CEnterPasswordDlg : public CDialog {
    DECLARE_DYNAMIC(CEnterPasswordDlg)
public:
    explicit CEnterPasswordDlg(CWnd* pParent = nullptr);
    CString m_strPassword;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

// Dialog 137: the old password, the new one, then the new one again; one pair at a time.
class CSetPasswordDlg : public CDialog {
    DECLARE_DYNAMIC(CSetPasswordDlg)
public:
    explicit CSetPasswordDlg(CWnd* pParent = nullptr);

    CStatic m_labelVerify;
    CStatic m_labelNew;
    CStatic m_labelOld;
    CEdit m_editOld;
    CEdit m_editVerify;
    CEdit m_editNew;
    // In: the current password; after OK: the new one.
    CString m_strPassword;
    // 1 old password asked, 2 new password, 3 verification.
    int m_nStep = 1;

    BOOL OnInitDialog() override;
    void OnOK() override;
    void SetStep(int step);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

// Where the gate runs from: the tree opening the folder, or a click in the list showing it locked.
enum ProtectedGateSource { kGateTreeExpand, kGateListClick };

// Asks for the password (or offers to define one) while the folder is locked. Returns
// g_bProtectedUnlocked afterwards; *pReload is set when the folder should be loaded again.
BOOL CheckProtectedAccess(ProtectedGateSource source, BOOL* pReload);

// The main frame's password command: changes (or removes, with an empty text) the password.
void ChangeProtectedPassword();

// Stores the password in the setting and at once in the registry.
void StoreProtectedPassword(const CString& password);
