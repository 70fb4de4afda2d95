#include "app/PropPageWMF.h"

#include "framework/DataExchange.h"
#include "resources/resource.h"

IMPLEMENT_DYNAMIC(CPropPageWMF, CPropertyPage)

CPropPageWMF::CPropPageWMF() : CPropertyPage(IDD_PREFS_WMF) {}

void CPropPageWMF::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_WMF_HEIGHT, m_nHeight);
    DDV_MinMaxInt(pDX, m_nHeight, 10, 5000);
    DDX_Text(pDX, IDC_WMF_WIDTH, m_nWidth);
    DDV_MinMaxInt(pDX, m_nWidth, 10, 5000);
}
