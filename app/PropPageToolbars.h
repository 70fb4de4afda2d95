// CPropPageToolbars: the "Barres d'outils" page of the preferences (the cool bar's options, the
// recent list, the local tool bars).
#pragma once
#include "framework/PropertySheet.h"

class CPropPageToolbars : public CPropertyPage {
    DECLARE_DYNAMIC(CPropPageToolbars)
public:
    CPropPageToolbars();

    BOOL m_bCoolBarAnimation = FALSE;
    BOOL m_bCoolBarBitmap = FALSE;
    BOOL m_bCoolBarText = FALSE;
    BOOL m_bShowRecents = FALSE;
    BOOL m_bUseCoolBar = FALSE;
    BOOL m_bShowDibToolBar = FALSE;
    BOOL m_bShowExplorerToolBar = FALSE;

    BOOL OnInitDialog() override;
    // Enables the cool-bar options as the screen, the common controls, the cool-bar box and the
    // recent list allow.
    void UpdateEnabling();
    // Asks, then empties the recent list (nothing when it is already empty).
    void OnClearRecents();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnUseCoolBar() { UpdateEnabling(); }
    DECLARE_MESSAGE_MAP()
};
