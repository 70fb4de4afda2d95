// CPropPageJPEG: the "JPEG" page of the preferences (colours of loaded pictures, compression rate).
#pragma once
#include "framework/PropertySheet.h"

class CPropPageJPEG : public CPropertyPage {
    DECLARE_DYNAMIC(CPropPageJPEG)
public:
    CPropPageJPEG();

    int m_nColorMode = -1;      // 0 24-bit, 1 256 colours, 2 by the screen
    int m_nCompressionRate = 0; // 1..99

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
