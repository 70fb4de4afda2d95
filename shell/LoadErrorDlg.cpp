#include "shell/LoadErrorDlg.h"

#include "shell/DialogPictures.h"
#include "shell/SharedUi.h"
#include "core/WindowUtil.h"
#include "framework/DataExchange.h"
#include "resources/resource.h"

IMPLEMENT_DYNAMIC(CLoadErrorDlg, CDialog)

namespace {
BOOL CALLBACK SetFontProc(HWND hWnd, LPARAM lParam)
{
    ::SendMessageA(hWnd, WM_SETFONT, static_cast<WPARAM>(lParam), FALSE);
    return TRUE;
}
} // namespace

void SetFontOnDescendants(HWND hWnd, HFONT hFont)
{
    if (hWnd != nullptr && hFont != nullptr)
        ::EnumChildWindows(hWnd, SetFontProc, reinterpret_cast<LPARAM>(hFont));
}

CLoadErrorDlg::CLoadErrorDlg(CWnd* pParentWnd) : CDialog(IDD_LOAD_ERROR, pParentWnd) {}

void CLoadErrorDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_PathText(pDX, IDC_LOADERR_PATH, m_strPath);
    // Any path Windows can open fits, not only the first 100 characters.
    DDV_MaxChars(pDX, m_strPath, MAX_PATH);
    DDX_Text(pDX, IDC_LOADERR_NAME, m_strFileName);
    DDX_Control(pDX, IDC_PICTURE_WARNING, m_btnWarning);
    DDX_Control(pDX, IDC_PICTURE_LOGO, m_btnLogo);
}

BOOL CLoadErrorDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindowOnScreen(m_hWnd);
    SetFontOnDescendants(m_hWnd, static_cast<HFONT>(g_fontSmall.GetSafeHandle()));
    return TRUE;
}

INT_PTR CLoadErrorDlg::AskForRetry(LPCSTR lpszFailedPath, CString* pNewPath)
{
    CDialogPictures pictures({"ORVANEL8", "WARNING"});
    CLoadErrorDlg dlg;
    dlg.m_strFileName = lpszFailedPath;
    dlg.m_strFileName.MakeUpper();
    dlg.m_strPath = lpszFailedPath;
    dlg.m_strPath.MakeLower();
    dlg.m_btnWarning.m_hDIB = pictures[1];
    dlg.m_btnLogo.m_hDIB = pictures[0];
    INT_PTR result = dlg.DoModal();
    if (result == IDOK && pNewPath != nullptr)
        *pNewPath = dlg.m_strPath;
    return result;
}
