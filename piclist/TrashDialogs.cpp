#include "piclist/TrashDialogs.h"

#include "framework/DataExchange.h"
#include "resources/library-store-ids.h"

IMPLEMENT_DYNAMIC(CDeleteNoticeDlg, CDialog)
IMPLEMENT_DYNAMIC(CRecoverConfirmDlg, CDialog)
IMPLEMENT_DYNAMIC(CEraseConfirmDlg, CDialog)
IMPLEMENT_DYNAMIC(CEmptyTrashConfirmDlg, CDialog)

CDeleteNoticeDlg::CDeleteNoticeDlg(CWnd* pParentWnd) : CDialog(IDD_DELETE_NOTICE, pParentWnd) {}

void CDeleteNoticeDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_DELETE_NOTICE_DONT_SHOW, m_bDontShowAgain);
}

CRecoverConfirmDlg::CRecoverConfirmDlg(CWnd* pParentWnd) : CDialog(IDD_RECOVER_CONFIRM, pParentWnd) {}

CEraseConfirmDlg::CEraseConfirmDlg(CWnd* pParentWnd) : CDialog(IDD_ERASE_CONFIRM, pParentWnd) {}

CEmptyTrashConfirmDlg::CEmptyTrashConfirmDlg(CWnd* pParentWnd) : CDialog(IDD_EMPTY_TRASH_CONFIRM, pParentWnd)
{}
