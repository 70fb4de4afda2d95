// CPropPageGeneral: the "Général" page of the preferences (start-up windows, warnings, background
// colours of the picture windows).
#pragma once
#include "app/ColorButton.h"
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
    CColorButton m_btnColorView;
    CString m_strColorView = "0";
    CColorButton m_btnColorFullScreen;
    CString m_strColorFullScreen = "0";

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnColorView() { m_btnColorView.PickColor(); }
    void OnColorFullScreen() { m_btnColorFullScreen.PickColor(); }
    DECLARE_MESSAGE_MAP()
};
