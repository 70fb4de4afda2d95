// CPosterDlg: asks for the size of a poster in centimetres, keeping the picture's proportions between
// its width and height fields.
#pragma once
#include "shell/SimpleDibButton.h"
#include "framework/Dialog.h"

class CPosterDlg : public CDialog {
    DECLARE_DYNAMIC(CPosterDlg)
public:
    explicit CPosterDlg(CWnd* pParentWnd = nullptr);

    int m_nHeight = 0; // centimetres, 1 to 1000 on OK
    int m_nWidth = 0;
    // The picture's size in pixels: each field's rule gives the other side of what prints, rounded.
    int m_nPictureWidth = 0;
    int m_nPictureHeight = 0;
    CSimpleDibButton m_btnPicture; // pictures the caller loads and frees
    CSimpleDibButton m_btnLogo;

    BOOL OnInitDialog() override;
    // The rule of the field being typed in runs first, as if the user had left it.
    void OnOK() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnSetFocusWidth() { m_nFocusField = 1; }
    void OnSetFocusHeight() { m_nFocusField = 2; }
    void OnKillFocusWidth();
    void OnKillFocusHeight();
    // Writes the value into the field and selects all of it.
    void SetField(int nID, int nValue);

    int m_nFocusField = 0; // 0 none, 1 width, 2 height

    DECLARE_MESSAGE_MAP()
};
