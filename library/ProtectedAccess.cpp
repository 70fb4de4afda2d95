// The protected folder's password dialogs, its gate and the password command.
#include "library/ProtectedAccess.h"

#include "shell/Settings.h"
#include "shell/SharedUi.h"
#include "core/WindowUtil.h"
#include "framework/DataExchange.h"
#include "framework/FrameworkTexts.h"
#include "framework/WinApp.h"
#include "resources/resource.h"

BOOL IsInProtectedFolder(const CString& path)
{
    if (g_strProtectedFolder.IsEmpty() || path.GetLength() < g_strProtectedFolder.GetLength())
        return FALSE;
    if (CString(path).Left(g_strProtectedFolder.GetLength()).CompareNoCase(g_strProtectedFolder) != 0)
        return FALSE;
    return path.GetLength() == g_strProtectedFolder.GetLength()
           || path[g_strProtectedFolder.GetLength()] == '\\';
}

void StoreProtectedPassword(const CString& password)
{
    g_ProtectedPics = password;
    if (CWinApp* pApp = AfxGetApp())
        pApp->WriteProfileString("pass", "ProtectedPics", password);
}

// ---- CEnterPasswordDlg ----

IMPLEMENT_DYNAMIC(CEnterPasswordDlg, CDialog)

CEnterPasswordDlg::CEnterPasswordDlg(CWnd* pParent) : CDialog(IDD_ENTER_PASSWORD, pParent) {}

void CEnterPasswordDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_PASSWORD_ENTER, m_strPassword);
}

// ---- CSetPasswordDlg ----

IMPLEMENT_DYNAMIC(CSetPasswordDlg, CDialog)

CSetPasswordDlg::CSetPasswordDlg(CWnd* pParent) : CDialog(IDD_SET_PASSWORD, pParent) {}

void CSetPasswordDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PASSWORD_VERIFY_LABEL, m_labelVerify);
    DDX_Control(pDX, IDC_PASSWORD_NEW_LABEL, m_labelNew);
    DDX_Control(pDX, IDC_PASSWORD_OLD_LABEL, m_labelOld);
    DDX_Control(pDX, IDC_PASSWORD_OLD, m_editOld);
    DDX_Control(pDX, IDC_PASSWORD_VERIFY, m_editVerify);
    DDX_Control(pDX, IDC_PASSWORD_NEW, m_editNew);
}

BOOL CSetPasswordDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindowOnScreen(m_hWnd);
    if (g_fontSmall.m_hObject != nullptr) {
        for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild != nullptr;
             hChild = ::GetWindow(hChild, GW_HWNDNEXT))
            ::SendMessageA(hChild, WM_SETFONT, reinterpret_cast<WPARAM>(g_fontSmall.m_hObject), FALSE);
    }
    SetStep(m_strPassword.IsEmpty() ? 2 : 1);
    return FALSE; // the focus is set
}

void CSetPasswordDlg::SetStep(int step)
{
    m_nStep = step;
    m_labelOld.EnableWindow(step == 1);
    m_editOld.EnableWindow(step == 1);
    m_labelNew.EnableWindow(step == 2);
    m_editNew.EnableWindow(step == 2);
    m_labelVerify.EnableWindow(step == 3);
    m_editVerify.EnableWindow(step == 3);
    CEdit& focus = step == 1 ? m_editOld : (step == 2 ? m_editNew : m_editVerify);
    GotoDlgCtrl(&focus);
}

void CSetPasswordDlg::OnOK()
{
    CString text;
    switch (m_nStep) {
    case 1:
        m_editOld.GetWindowText(text);
        if (text == m_strPassword) {
            SetStep(2);
        } else {
            AfxMessageBox(IDS_PASSWORD_OLD_WRONG, MB_ICONHAND);
            EndDialog(IDCANCEL);
        }
        break;
    case 2:
        SetStep(3);
        break;
    default: {
        CString verify;
        m_editNew.GetWindowText(text);
        m_editVerify.GetWindowText(verify);
        if (text != verify) {
            AfxMessageBox(IDS_PASSWORD_VERIFY_FAILED, MB_ICONHAND);
            m_editNew.SetWindowText("");
            m_editVerify.SetWindowText("");
            SetStep(2);
        } else {
            m_strPassword = text;
            EndDialog(IDOK);
        }
        break;
    }
    }
}

// ---- the gate and the command ----

BOOL CheckProtectedAccess(ProtectedGateSource source, BOOL* pReload)
{
    if (pReload != nullptr)
        *pReload = FALSE;
    if (g_bProtectedUnlocked)
        return TRUE;
    BOOL bReload = FALSE;
    if (!g_ProtectedPics.IsEmpty()) {
        CEnterPasswordDlg dlg;
        if (dlg.DoModal() == IDOK) {
            // Exact comparison: another case is another password.
            if (dlg.m_strPassword == g_ProtectedPics) {
                g_bProtectedUnlocked = TRUE;
                bReload = TRUE;
            } else {
                AfxMessageBox(IDS_PASSWORD_REFUSED, MB_ICONHAND);
            }
        }
    } else if (AfxMessageBox(IDS_PASSWORD_NOT_SET, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        if (source == kGateListClick) {
            g_bProtectedUnlocked = TRUE;
            bReload = TRUE;
        }
    } else {
        CSetPasswordDlg dlg;
        if (dlg.DoModal() != IDOK) {
            ::MessageBeep(static_cast<UINT>(-1));
            AfxMessageBox(IDS_PASSWORD_NONE, MB_ICONHAND);
            g_bProtectedUnlocked = TRUE;
            bReload = source == kGateListClick;
        } else if (dlg.m_strPassword.IsEmpty()) {
            ::MessageBeep(static_cast<UINT>(-1));
            AfxMessageBox(IDS_PASSWORD_NONE, MB_ICONHAND);
            g_bProtectedUnlocked = TRUE;
            bReload = TRUE;
        } else {
            StoreProtectedPassword(dlg.m_strPassword);
            g_bProtectedUnlocked = TRUE;
            AfxMessageBox(IDS_PASSWORD_SAVED, MB_ICONINFORMATION);
            bReload = TRUE;
        }
    }
    if (pReload != nullptr)
        *pReload = bReload;
    return g_bProtectedUnlocked;
}

void ChangeProtectedPassword()
{
    CSetPasswordDlg dlg;
    dlg.m_strPassword = g_ProtectedPics;
    if (dlg.DoModal() != IDOK) {
        ::MessageBeep(static_cast<UINT>(-1));
        // "No password defined" only when that is true: a cancelled change keeps the password.
        if (g_ProtectedPics.IsEmpty())
            AfxMessageBox(IDS_PASSWORD_NONE, MB_ICONINFORMATION);
        return;
    }
    StoreProtectedPassword(dlg.m_strPassword);
    g_bProtectedUnlocked = TRUE;
    AfxMessageBox(IDS_PASSWORD_SAVED, MB_ICONINFORMATION);
}
