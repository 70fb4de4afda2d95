// The poster dialog.
#include "viewers/PosterDlg.h"

#include "shell/LoadErrorDlg.h"
#include "shell/SharedUi.h"
#include "core/WindowUtil.h"
#include "framework/DataExchange.h"
#include "resources/printing-ids.h"
#include "viewers/PosterGeometry.h"

#include <cstdlib>

IMPLEMENT_DYNAMIC(CPosterDlg, CDialog)

BEGIN_MESSAGE_MAP(CPosterDlg, CDialog)
    ON_EN_SETFOCUS(IDC_POSTER_WIDTH, OnSetFocusWidth)
    ON_EN_SETFOCUS(IDC_POSTER_HEIGHT, OnSetFocusHeight)
    ON_EN_KILLFOCUS(IDC_POSTER_WIDTH, OnKillFocusWidth)
    ON_EN_KILLFOCUS(IDC_POSTER_HEIGHT, OnKillFocusHeight)
END_MESSAGE_MAP()

CPosterDlg::CPosterDlg(CWnd* pParentWnd) : CDialog(IDD_POSTER, pParentWnd) {}

void CPosterDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_POSTER_PICTURE, m_btnPicture);
    DDX_Control(pDX, IDC_POSTER_LOGO, m_btnLogo);
    DDX_Text(pDX, IDC_POSTER_WIDTH, m_nWidth);
    DDV_MinMaxInt(pDX, m_nWidth, 1, 1000);
    DDX_Text(pDX, IDC_POSTER_HEIGHT, m_nHeight);
    DDV_MinMaxInt(pDX, m_nHeight, 1, 1000);
}

BOOL CPosterDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindowOnScreen(m_hWnd);
    SetFontOnDescendants(m_hWnd, static_cast<HFONT>(g_fontSmall.GetSafeHandle()));
    return TRUE;
}

void CPosterDlg::SetField(int nID, int nValue)
{
    char sz[16];
    wsprintfA(sz, "%d", nValue);
    SetDlgItemText(nID, sz);
    ::SendDlgItemMessageA(m_hWnd, nID, EM_SETSEL, 0, -1);
}

void CPosterDlg::OnKillFocusWidth()
{
    char sz[32] = "";
    ::GetDlgItemTextA(m_hWnd, IDC_POSTER_WIDTH, sz, sizeof(sz));
    if (m_nPictureWidth > 0 && m_nPictureHeight > 0)
        SetField(IDC_POSTER_HEIGHT, PosterOtherSide(std::atoi(sz), m_nPictureHeight, m_nPictureWidth));
    m_nFocusField = 0;
}

void CPosterDlg::OnKillFocusHeight()
{
    char szWidth[32] = "", szHeight[32] = "";
    ::GetDlgItemTextA(m_hWnd, IDC_POSTER_WIDTH, szWidth, sizeof(szWidth));
    ::GetDlgItemTextA(m_hWnd, IDC_POSTER_HEIGHT, szHeight, sizeof(szHeight));
    int w = std::atoi(szWidth), h = std::atoi(szHeight);
    if (m_nPictureWidth > 0 && m_nPictureHeight > 0
        && h != PosterOtherSide(w, m_nPictureHeight, m_nPictureWidth))
        SetField(IDC_POSTER_WIDTH, PosterOtherSide(h, m_nPictureWidth, m_nPictureHeight));
    m_nFocusField = 0;
}

void CPosterDlg::OnOK()
{
    if (m_nFocusField == 1)
        OnKillFocusWidth();
    else if (m_nFocusField == 2)
        OnKillFocusHeight();
    m_nFocusField = 0;
    CDialog::OnOK();
}
