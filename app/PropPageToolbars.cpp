#include "app/PropPageToolbars.h"

#include "app/MainFrame.h"
#include "shell/Settings.h"
#include "core/FileUtil.h"
#include "core/SystemUtil.h"
#include "framework/DataExchange.h"
#include "framework/WinApp.h"
#include "resources/resource.h"

IMPLEMENT_DYNAMIC(CPropPageToolbars, CPropertyPage)

BEGIN_MESSAGE_MAP(CPropPageToolbars, CPropertyPage)
    ON_BN_CLICKED(IDC_TB_CLEAR_RECENTS, OnClearRecents)
    ON_BN_CLICKED(IDC_TB_COOLBAR, OnUseCoolBar)
END_MESSAGE_MAP()

CPropPageToolbars::CPropPageToolbars() : CPropertyPage(IDD_PREFS_TOOLBARS) {}

void CPropPageToolbars::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_TB_ANIMATION, m_bCoolBarAnimation);
    DDX_Check(pDX, IDC_TB_BITMAP, m_bCoolBarBitmap);
    DDX_Check(pDX, IDC_TB_TEXT, m_bCoolBarText);
    DDX_Check(pDX, IDC_TB_RECENTS, m_bShowRecents);
    DDX_Check(pDX, IDC_TB_COOLBAR, m_bUseCoolBar);
    DDX_Check(pDX, IDC_TB_DIB_BARS, m_bShowDibToolBar);
    DDX_Check(pDX, IDC_TB_EXPLORER_BARS, m_bShowExplorerToolBar);
}

BOOL CPropPageToolbars::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    UpdateEnabling();
    return TRUE;
}

void CPropPageToolbars::UpdateEnabling()
{
    auto enable = [this](int id, BOOL on) {
        HWND h = ::GetDlgItem(m_hWnd, id);
        if (h != nullptr)
            ::EnableWindow(h, on);
    };
    BOOL deepScreen = GetScreenBitsPerPixel() > 8;
    if (!deepScreen)
        enable(IDC_TB_BITMAP, FALSE);
    if (!InitComCtl32()) {
        for (int id : {IDC_TB_COOLBAR, IDC_TB_BITMAP, IDC_TB_TEXT, IDC_TB_ANIMATION, IDC_TB_CLEAR_RECENTS,
                       IDC_TB_RECENTS})
            enable(id, FALSE);
        return;
    }
    if (::IsDlgButtonChecked(m_hWnd, IDC_TB_COOLBAR) == BST_CHECKED) {
        for (int id : {IDC_TB_TEXT, IDC_TB_ANIMATION, IDC_TB_RECENTS, IDC_TB_NOTE})
            enable(id, TRUE);
        enable(IDC_TB_BITMAP, deepScreen);
        enable(IDC_TB_CLEAR_RECENTS,
               ::IsDlgButtonChecked(m_hWnd, IDC_TB_RECENTS) == BST_CHECKED && g_RecentList.GetSize() > 0);
    } else {
        for (int id : {IDC_TB_RECENTS, IDC_TB_CLEAR_RECENTS, IDC_TB_BITMAP, IDC_TB_TEXT, IDC_TB_ANIMATION,
                       IDC_TB_NOTE})
            enable(id, FALSE);
    }
}

void CPropPageToolbars::OnClearRecents()
{
    if (g_RecentList.GetSize() == 0)
        return;
    if (AfxMessageBox(IDS_RECENTS_CONFIRM_CLEAR, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    g_RecentList.RemoveAll();
    if (g_pMainFrame != nullptr)
        g_pMainFrame->FillRecentCombo();
    UpdateEnabling();
}
