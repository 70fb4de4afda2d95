#include "app/WelcomeDlg.h"

#include "shell/LoadErrorDlg.h"
#include "app/MainFrame.h"
#include "shell/Settings.h"
#include "app/TessarineApp.h"
#include "core/DrawUtil.h"
#include "core/ReaderOptions.h"
#include "core/WindowUtil.h"
#include "framework/DataExchange.h"
#include "framework/Dc.h"
#include "framework/TestSeams.h"
#include "resources/resource.h"

IMPLEMENT_DYNAMIC(CWelcomeDlg, CDialog)

CString g_strCurrentTip;

namespace {
const UINT kTipIds[kTipCount] = {55123, 55124, 55125, 55126, 55127, 55128, 55129, 55130, 55131,
                                 55132, 55133, 55134, 55135, 55136, 55137, 55138, 55139, 55140,
                                 55141, 55142, 55143, 55156, 55157, 55158, 55159};
} // namespace

UINT TipStringId(int position)
{
    return position >= 0 && position < kTipCount ? kTipIds[position] : kTipIds[0];
}

void LoadNextTip()
{
    // A stored position outside the table (also a negative one) starts again at the first tip.
    if (g_IndexOfTheTip < 0 || g_IndexOfTheTip >= kTipCount)
        g_IndexOfTheTip = 0;
    g_strCurrentTip.LoadString(TipStringId(g_IndexOfTheTip));
    g_IndexOfTheTip++;
    if (g_IndexOfTheTip >= kTipCount)
        g_IndexOfTheTip = 0;
}

BEGIN_MESSAGE_MAP(CWelcomeDlg, CDialog)
    ON_BN_CLICKED(IDC_WELCOME_NEXT_TIP, OnNextTip)
    ON_BN_CLICKED(IDC_WELCOME_HELP, OnHelpContents)
    ON_BN_CLICKED(IDC_WELCOME_WHY, OnWhyTessarine)
    ON_BN_CLICKED(IDC_WELCOME_WEB, OnWebSite)
    ON_WM_DRAWITEM()
END_MESSAGE_MAP()

CWelcomeDlg::CWelcomeDlg(CWnd* pParentWnd) : CDialog(IDD_WELCOME, pParentWnd) {}

void CWelcomeDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_WELCOME_SHOW_AT_START, m_bShowAtStart);
    DDX_Control(pDX, IDC_WELCOME_PICTURE, m_btnPicture);
}

BOOL CWelcomeDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindowOnScreen(m_hWnd);
    SetFontOnDescendants(m_hWnd, static_cast<HFONT>(g_fontSmall.GetSafeHandle()));
    LoadNextTip();
    return TRUE;
}

void CWelcomeDlg::OnNextTip()
{
    LoadNextTip();
    HWND hPanel = ::GetDlgItem(m_hWnd, IDC_WELCOME_TIP_PANEL);
    ::InvalidateRect(hPanel, nullptr, TRUE);
    ::UpdateWindow(hPanel);
}

void CWelcomeDlg::OnHelpContents()
{
    if (AfxGetApp() != nullptr)
        AfxGetApp()->WinHelp(0, HELP_FINDER);
}

void CWelcomeDlg::OnWhyTessarine()
{
    if (AfxGetApp() != nullptr)
        AfxGetApp()->WinHelp(4, HELP_CONTEXT);
}

void CWelcomeDlg::OnWebSite()
{
    AfxPlatform().pfnShellExecute(m_hWnd, "open", WebSiteAddress(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CWelcomeDlg::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDIS)
{
    if (nIDCtl == IDC_WELCOME_TIP_PANEL)
        DrawTipPanel(lpDIS->hDC, lpDIS->rcItem, g_strCurrentTip);
    else
        Default();
}

void DrawTipPanel(HDC hdc, const RECT& rectPanel, LPCSTR lpszTip)
{
    CDC* pDC = CDC::FromHandle(hdc);
    RECT rect = rectPanel;
    FillRectColor(pDC, rect, RGB(255, 255, 226));
    try {
        Draw3DRect(pDC, rect, FALSE, 1, RGB(128, 128, 128), RGB(255, 255, 255));
        ::InflateRect(&rect, -1, -1);
        Draw3DRect(pDC, rect, FALSE, 1, RGB(0, 0, 0), RGB(192, 192, 192));
    } catch (const CException&) {
        // No pen: the card goes without its edges.
    }
    HICON hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_WELCOME_TIP));
    if (hIcon != nullptr) {
        ::DrawIcon(hdc, rect.left + 15, rect.top + 15, hIcon);
        ::DestroyIcon(hIcon);
    }
    int oldMode = ::SetBkMode(hdc, TRANSPARENT);
    COLORREF oldColor = ::SetTextColor(hdc, RGB(0, 0, 0));
    HGDIOBJ hOldFont = ::SelectObject(hdc, g_fontArial12Bold.GetSafeHandle() != nullptr
                                               ? g_fontArial12Bold.GetSafeHandle()
                                               : ::GetStockObject(DEFAULT_GUI_FONT));
    CString title;
    title.LoadString(IDS_WELCOME_TIP_TITLE);
    ::TextOutA(hdc, rect.left + 60, rect.top + 25, title, title.GetLength());
    if (g_fontSmall.GetSafeHandle() != nullptr)
        ::SelectObject(hdc, g_fontSmall.GetSafeHandle());
    RECT rectText = {rect.left + 60, rect.top + 55, rect.right - 30, rect.bottom - 5};
    ::DrawTextA(hdc, lpszTip, -1, &rectText, DT_WORDBREAK | DT_NOPREFIX);
    ::SelectObject(hdc, hOldFont);
    ::SetTextColor(hdc, oldColor);
    ::SetBkMode(hdc, oldMode);
}

namespace {
// Runs the welcome window with its picture; the box's state comes back in g_ShowWelcome.
void RunWelcomeDialog()
{
    CWelcomeDlg dlg;
    dlg.m_bShowAtStart = g_ShowWelcome;
    PackedDIB hPicture;
    {
        CReaderOptionsScope quiet(CurrentReaderOptions().WithProgress(FALSE));
        hPicture = LoadDIBResource(AfxGetResourceHandle(), "BIENVENUE");
    }
    dlg.m_btnPicture.m_hDIB = hPicture;
    dlg.DoModal();
    dlg.m_btnPicture.m_hDIB = nullptr;
    if (hPicture != nullptr)
        GlobalFreeHandle(hPicture);
    g_ShowWelcome = dlg.m_bShowAtStart;
}
} // namespace

void ShowWelcomeAtStartup()
{
    if (g_ShowWelcome)
        RunWelcomeDialog();
}

void CMainFrame::OnHelpWelcome()
{
    // Opened from the menu, the box only shows the setting: the start-up welcome decides it.
    int nRemembered = g_ShowWelcome;
    RunWelcomeDialog();
    g_ShowWelcome = nRemembered;
}
