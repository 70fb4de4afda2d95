#include "app/PropPageGeneral.h"

#include "framework/CommonDialogs.h"
#include "framework/DataExchange.h"
#include "resources/resource.h"

#include <cstdlib>

IMPLEMENT_DYNAMIC(CPropPageGeneral, CPropertyPage)

BEGIN_MESSAGE_MAP(CPropPageGeneral, CPropertyPage)
    ON_BN_CLICKED(IDC_GEN_COLOR_VIEW, OnColorView)
    ON_BN_CLICKED(IDC_GEN_COLOR_FULLSCREEN, OnColorFullScreen)
END_MESSAGE_MAP()

CPropPageGeneral::CPropPageGeneral() : CPropertyPage(IDD_PREFS_GENERAL) {}

void CPropPageGeneral::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_GEN_SHOW_WELCOME, m_bShowWelcome);
    DDX_Check(pDX, IDC_GEN_EXPLORER_AUTO, m_bExplorerAuto);
    DDX_Check(pDX, IDC_GEN_INFO_SUPPRESS, m_bShowInfoSuppress);
    DDX_Check(pDX, IDC_GEN_WARN_COLOR16, m_bShowWarnColor16);
    DDX_Check(pDX, IDC_GEN_WARN_COMPONENTS, m_bShowWarnComponents);
    DDX_Check(pDX, IDC_GEN_WARN_ASSOC, m_bShowWarnAssoc);
    DDX_Check(pDX, IDC_GEN_MAXIMISE, m_bMaximiseOnOpen);
    DDX_Text(pDX, IDC_GEN_COLOR_VIEW, m_strColorView);
    DDX_Text(pDX, IDC_GEN_COLOR_FULLSCREEN, m_strColorFullScreen);
}

void CPropPageGeneral::ChooseButtonColor(int nIDButton)
{
    char text[32] = "";
    ::GetDlgItemTextA(m_hWnd, nIDButton, text, sizeof(text));
    COLORREF current = static_cast<COLORREF>(std::strtoul(text, nullptr, 10));
    CColorDialog dlg(current, CC_FULLOPEN, this);
    if (dlg.DoModal() != IDOK)
        return;
    CString value;
    value.Format("%ld", static_cast<long>(dlg.GetColor()));
    ::SetDlgItemTextA(m_hWnd, nIDButton, value);
}
