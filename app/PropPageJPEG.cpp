#include "app/PropPageJPEG.h"

#include "framework/DataExchange.h"
#include "resources/resource.h"

IMPLEMENT_DYNAMIC(CPropPageJPEG, CPropertyPage)

CPropPageJPEG::CPropPageJPEG() : CPropertyPage(IDD_PREFS_JPEG) {}

void CPropPageJPEG::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_JPEG_COLORS_24, m_nColorMode);
    DDX_Text(pDX, IDC_JPEG_RATE, m_nCompressionRate);
    DDV_MinMaxInt(pDX, m_nCompressionRate, 1, 99);
}
