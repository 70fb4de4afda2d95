// CWelcomeDlg: the welcome window with a tip of the day, and the table of tips it walks through.
#pragma once
#include "shell/SimpleDibButton.h"
#include "framework/Dialog.h"

const int kTipCount = 25;
// The string of the tip at a position (0..24).
UINT TipStringId(int position);
// The text of the tip shown last.
extern CString g_strCurrentTip;
// Loads the tip at the stored position (outside 0..24: the first) and moves the position on.
void LoadNextTip();

class CWelcomeDlg : public CDialog {
    DECLARE_DYNAMIC(CWelcomeDlg)
public:
    explicit CWelcomeDlg(CWnd* pParentWnd = nullptr);

    BOOL m_bShowAtStart = FALSE;
    CSimpleDibButton m_btnPicture; // shows a picture the caller loads and frees

    BOOL OnInitDialog() override;
    void OnNextTip();
    void OnHelpContents();
    void OnWhyTessarine();
    void OnWebSite();
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDIS);

    // The web page the site button opens.
    static const char* WebSiteAddress() { return "https://www.orvanel.fr/"; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    DECLARE_MESSAGE_MAP()
};

// The tip panel: light-yellow card with a double edge, the bulb icon, the title and the tip text.
void DrawTipPanel(HDC hdc, const RECT& rect, LPCSTR lpszTip);

// The welcome window at start-up, when "ShowWelcome" asks for it; its box sets "ShowWelcome".
void ShowWelcomeAtStartup();
