// CPropPagePhotoCD: the "Photo CD" page of the preferences (the size Photo CD pictures load at).
#pragma once
#include "framework/PropertySheet.h"

class CPropPagePhotoCD : public CPropertyPage {
    DECLARE_DYNAMIC(CPropPagePhotoCD)
public:
    CPropPagePhotoCD();

    int m_nSize = -1; // 0 mini, 1 medium, 2 normal, 3 maxi

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
