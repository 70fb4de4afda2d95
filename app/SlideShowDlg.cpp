#include "app/SlideShowDlg.h"

#include "core/WindowUtil.h"
#include "framework/CommonDialogs.h"
#include "framework/DataExchange.h"
#include "framework/PathDoor.h"
#include "resources/resource.h"

IMPLEMENT_DYNAMIC(CSlideShowDlg, CDialog)

BEGIN_MESSAGE_MAP(CSlideShowDlg, CDialog)
    ON_BN_CLICKED(IDC_SLIDE_MANUAL, OnManual)
    ON_BN_CLICKED(IDC_SLIDE_AUTOMATIC, OnAutomatic)
    ON_BN_CLICKED(IDC_SLIDE_BROWSE, OnBrowseMusic)
END_MESSAGE_MAP()

CSlideShowDlg::CSlideShowDlg(CWnd* pParentWnd) : CDialog(IDD_SLIDESHOW, pParentWnd) {}

void CSlideShowDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_SLIDE_LOOP, m_bLoop);
    DDX_Text(pDX, IDC_SLIDE_PAUSE, m_nPause);
    DDV_MinMaxUInt(pDX, m_nPause, 1, 500);
    DDX_Check(pDX, IDC_SLIDE_MANUAL, m_bManual);
    DDX_Check(pDX, IDC_SLIDE_AUTOMATIC, m_bAutomatic);
    DDX_Radio(pDX, IDC_SLIDE_SIZE_ACTUAL, m_nPictureSize);
    DDX_PathText(pDX, IDC_SLIDE_MUSIC, m_strMusicFile);
    // Any path Windows can open fits, not only 128 characters; the settings keep no longer one: it
    // would play for this show, then be forgotten.
    DDV_MaxPath(pDX, m_strMusicFile);
    DDX_Control(pDX, IDC_PICTURE_WARNING, m_btnWarning);
    DDX_Control(pDX, IDC_PICTURE_LOGO, m_btnLogo);
}

BOOL CSlideShowDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindowOnScreen(m_hWnd);
    EnableAutomaticControls(m_bAutomatic);
    return TRUE;
}

void CSlideShowDlg::EnableAutomaticControls(BOOL bEnable)
{
    for (int id : {IDC_SLIDE_LOOP, IDC_SLIDE_PAUSE, IDC_SLIDE_PAUSE_LABEL, IDC_SLIDE_SECONDS_LABEL}) {
        HWND h = ::GetDlgItem(m_hWnd, id);
        if (h != nullptr)
            ::EnableWindow(h, bEnable);
    }
}

void CSlideShowDlg::OnBrowseMusic()
{
    const CString current = AfxGetSpelledWindowText(::GetDlgItem(m_hWnd, IDC_SLIDE_MUSIC));
    CString filter, all;
    filter.LoadString(IDS_FILTER_SOUNDS);
    all.LoadString(IDS_FILTER_ALL_FILES);
    filter += all;
    filter += "|";
    CString title;
    title.LoadString(IDS_BROWSE_TITLE);
    CFileDialog dlg(TRUE, nullptr, current, OFN_HIDEREADONLY, filter, this);
    dlg.m_ofn.lpstrTitle = title;
    if (dlg.DoModal() != IDOK)
        return;
    CString path = dlg.GetPathName();
    path.MakeLower();
    HWND hEdit = ::GetDlgItem(m_hWnd, IDC_SLIDE_MUSIC);
    ::SetWindowTextA(hEdit, path);
    ::SetFocus(hEdit);
    ::SendMessageA(hEdit, EM_SETSEL, 0, -1);
}
