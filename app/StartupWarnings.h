// The warnings the program may show as it starts (missing components, a 16-colour display, broken
// file associations) and the colour-depth warning, with their dialogs. Each box can stop its warning.
#pragma once
#include "shell/SimpleDibButton.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"

class CComponentsWarnDlg : public CDialog {
    DECLARE_DYNAMIC(CComponentsWarnDlg)
public:
    explicit CComponentsWarnDlg(CWnd* pParentWnd = nullptr);

    CBitmapButton m_btnPicture;
    CBitmapButton m_btnQuickTimeArrow;
    CBitmapButton m_btnComCtlArrow;
    BOOL m_bDontShow = FALSE;

    BOOL OnInitDialog() override;
    // Runs the common-controls update installer from the program's folder and waits for it.
    void OnInstallComCtl();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    DECLARE_MESSAGE_MAP()
};

class CVga16WarnDlg : public CDialog {
    DECLARE_DYNAMIC(CVga16WarnDlg)
public:
    explicit CVga16WarnDlg(CWnd* pParentWnd = nullptr);

    BOOL m_bDontShow = FALSE;
    CSimpleDibButton m_btnPicture;

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

class CColorDepthWarnDlg : public CDialog {
    DECLARE_DYNAMIC(CColorDepthWarnDlg)
public:
    explicit CColorDepthWarnDlg(CWnd* pParentWnd = nullptr);

    int m_nPictureBits = 0;
    int m_nScreenBits = 0;
    BOOL m_bAlwaysShow = FALSE;
    CSimpleDibButton m_btnPicture;
    CSimpleDibButton m_btnLogo;

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

class CAssocWarnDlg : public CDialog {
    DECLARE_DYNAMIC(CAssocWarnDlg)
public:
    explicit CAssocWarnDlg(CWnd* pParentWnd = nullptr);

    BOOL m_bDontShow = FALSE;
    BOOL m_bAutoCorrect = FALSE;
    CSimpleDibButton m_btnPicture;
    CSimpleDibButton m_btnLogo;
    BOOL m_bAssocDib = FALSE;
    int m_nAssocDetail = 0; // working copy of "AssocDetail"

    BOOL OnInitDialog() override;
    // "Fermer": keeps the two boxes, not the association box, and ends with 1250.
    void OnClose();
    // "Détail des associations...": the types dialog on the working copy.
    void OnDetail();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    DECLARE_MESSAGE_MAP()
};

// The start-up checks, in the order the start-up runs them.
void CheckComponents();
void CheckVga16();
// Not called at start-up: warns before a picture deeper than the screen is changed.
void CheckColorDepth(int pictureBits);
