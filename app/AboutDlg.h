// CAboutDlg: the About box (title picture, physical memory and display mode), and the texts of its
// two system lines.
#pragma once
#include "shell/SimpleDibButton.h"
#include "framework/CommonControls.h"
#include "framework/Dialog.h"

// "<n> Ko de RAM" for a physical memory of that many bytes (any size, not only below 2 GiB).
CString FormatAboutMemory(ULONGLONG totalBytes);
// "<w>x<h> pixels - <depth name>".
CString FormatAboutVideo(int width, int height, int bitsPerPixel);

class CAboutDlg : public CDialog {
    DECLARE_DYNAMIC(CAboutDlg)
public:
    CAboutDlg();

    CString m_strMemory;
    CSimpleDibButton m_btnPicture; // shows a picture the caller loads and frees
    CString m_strVideo;
    CToolTipCtrl m_tooltip;

    // Fills the two lines from this machine.
    void FillSystemInformation();

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
