#include "app/PropPagePhotoCD.h"

#include "framework/DataExchange.h"
#include "resources/resource.h"

IMPLEMENT_DYNAMIC(CPropPagePhotoCD, CPropertyPage)

CPropPagePhotoCD::CPropPagePhotoCD() : CPropertyPage(IDD_PREFS_PHOTOCD) {}

void CPropPagePhotoCD::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_PCD_MINI, m_nSize);
}
