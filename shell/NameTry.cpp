#include "shell/NameTry.h"

void EndIfNameAccepted(CDialog& dlg, int nEditId, const NameTry& tryName, const CString& name)
{
    if (!dlg.UpdateData(TRUE))
        return;
    if (tryName && !tryName(name)) {
        HWND hEdit = ::GetDlgItem(dlg.m_hWnd, nEditId);
        ::SetFocus(hEdit);
        ::SendMessageA(hEdit, EM_SETSEL, 0, -1);
        return;
    }
    dlg.EndDialog(IDOK);
}
