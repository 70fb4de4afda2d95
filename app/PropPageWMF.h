// CPropPageWMF: the "WMF" page of the preferences (the largest size a metafile is rendered at).
#pragma once
#include "framework/PropertySheet.h"

class CPropPageWMF : public CPropertyPage {
    DECLARE_DYNAMIC(CPropPageWMF)
public:
    CPropPageWMF();

    // Each 10..5000. The height is the edit after "Hauteur" ("DefaultWmfCY"), the width the edit
    // after "Largeur" ("DefaultWmfCX"), so each label names the setting it changes.
    int m_nHeight = 0;
    int m_nWidth = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
