// CSlideShowDlg: the options of a slide show (manual or automatic, pause, loop, picture size, music).
#pragma once
#include "shell/SimpleDibButton.h"
#include "framework/Dialog.h"

class CSlideShowDlg : public CDialog {
    DECLARE_DYNAMIC(CSlideShowDlg)
public:
    explicit CSlideShowDlg(CWnd* pParentWnd = nullptr);

    BOOL m_bLoop = FALSE; // start again after the last picture
    UINT m_nPause = 0;    // seconds per picture, 1..500
    BOOL m_bManual = TRUE;
    BOOL m_bAutomatic = FALSE;
    int m_nPictureSize = -1;       // 0 actual size, 1 largest proportional, 2 fitted to the screen
    CString m_strMusicFile;        // played during the show; empty: none
    CSimpleDibButton m_btnWarning; // pictures the caller loads and frees
    CSimpleDibButton m_btnLogo;

    BOOL OnInitDialog() override;
    // Lets the user pick the music file.
    void OnBrowseMusic();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    // The pause, the loop box and their labels only matter in automatic mode.
    void EnableAutomaticControls(BOOL bEnable);
    void OnManual() { EnableAutomaticControls(FALSE); }
    void OnAutomatic() { EnableAutomaticControls(TRUE); }
    DECLARE_MESSAGE_MAP()
};
