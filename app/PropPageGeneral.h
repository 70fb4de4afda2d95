// CPropPageGeneral: the "Général" page of the preferences (start-up windows, warnings, background
// colours of the picture windows).
#pragma once
#include "framework/PropertySheet.h"

class CPropPageGeneral : public CPropertyPage {
    DECLARE_DYNAMIC(CPropPageGeneral)
public:
    CPropPageGeneral();

    BOOL m_bShowWelcome = FALSE;
    BOOL m_bExplorerAuto = FALSE;
    BOOL m_bShowInfoSuppress = FALSE;
    BOOL m_bShowWarnColor16 = FALSE;
    BOOL m_bShowWarnComponents = FALSE;
    BOOL m_bShowWarnAssoc = FALSE;
    BOOL m_bMaximiseOnOpen = FALSE;
    // The colours as decimal COLORREF texts, carried by the texts of their buttons.
    CString m_strColorView = "0";
    CString m_strColorFullScreen = "0";

    // Runs the colour choice for a colour button and puts the chosen colour on it.
    void ChooseButtonColor(int nIDButton);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnColorView() { ChooseButtonColor(1012); }
    void OnColorFullScreen() { ChooseButtonColor(1013); }
    DECLARE_MESSAGE_MAP()
};
