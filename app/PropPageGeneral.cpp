#include "app/PropPageGeneral.h"

#include "framework/DataExchange.h"
#include "resources/resource.h"

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
    DDX_Control(pDX, IDC_GEN_COLOR_VIEW, m_btnColorView);
    DDX_Text(pDX, IDC_GEN_COLOR_VIEW, m_strColorView);
    DDX_Control(pDX, IDC_GEN_COLOR_FULLSCREEN, m_btnColorFullScreen);
    DDX_Text(pDX, IDC_GEN_COLOR_FULLSCREEN, m_strColorFullScreen);
}
