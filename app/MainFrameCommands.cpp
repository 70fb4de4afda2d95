// The main frame's key handling, the Preferences command (the sheet run and the changed settings
// applied to the running window) and the library commands forwarded to the library bar.
#include "app/MainFrame.h"

#include "app/PrefsPropertySheet.h"
#include "app/TessarineApp.h"
#include "shell/Settings.h"
#include "core/FileUtil.h"
#include "framework/CmdUI.h"
#include "framework/DockBar.h"
#include "framework/WinApp.h"
#include "library/ProtectedAccess.h"
#include "resources/resource.h"

#include <cstdlib>

void CMainFrame::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    CMDIFrameWnd::OnKeyDown(nChar, nRepCnt, nFlags);
}

// ---- preferences ----

namespace {

CString ColorText(COLORREF clr)
{
    CString text;
    text.Format("%ld", static_cast<long>(clr));
    return text;
}

COLORREF ColorFromText(const CString& text) { return static_cast<COLORREF>(std::strtol(text, nullptr, 10)); }

} // namespace

void CMainFrame::OnPreferences()
{
    CPrefsPropertySheet sheet(nullptr);
    sheet.m_psh.dwFlags |= PSH_NOAPPLYNOW | PSH_HASHELP;

    int oldUseCoolBar = g_UseCoolBar;
    int oldShowRecents = g_ShowRecents;
    int oldAnimation = g_CoolBarAnimation;
    int oldText = g_CoolBarText;
    int oldBitmap = g_CoolBarBitmap;

    CPropPageToolbars& bars = sheet.m_pageToolbars;
    bars.m_bCoolBarAnimation = g_CoolBarAnimation;
    bars.m_bCoolBarBitmap = g_CoolBarBitmap;
    bars.m_bCoolBarText = g_CoolBarText;
    bars.m_bShowRecents = g_ShowRecents;
    bars.m_bUseCoolBar = g_UseCoolBar;
    bars.m_bShowDibToolBar = g_ShowDibToolBar;
    bars.m_bShowExplorerToolBar = g_ShowExplorerToolBar;
    sheet.m_pageLibrarianPath.m_strPath = g_LibrarianLocation;
    sheet.m_pageEditorPath.m_strPath = g_DefaultEditorPathName;
    CPropPageGeneral& general = sheet.m_pageGeneral;
    general.m_bShowWelcome = g_ShowWelcome;
    general.m_bExplorerAuto = g_ExplorerAuto;
    general.m_bShowInfoSuppress = g_ShowInfoSuppress;
    general.m_bShowWarnColor16 = g_ShowWarnColor16;
    general.m_bShowWarnComponents = g_ShowWarnComponents;
    general.m_bShowWarnAssoc = g_ShowWarnAssoc;
    general.m_bMaximiseOnOpen = g_MaximiseOnOpen;
    general.m_strColorView = ColorText(g_CouleurView);
    general.m_strColorFullScreen = ColorText(g_CouleurPleinEcran);
    sheet.m_pageJPEG.m_nColorMode = g_CouleursJPEG;
    sheet.m_pageJPEG.m_nCompressionRate = g_TauxJPEG;
    sheet.m_pagePhotoCD.m_nSize = g_PhotoCDSize;
    sheet.m_pageWMF.m_nWidth = g_DefaultWmfCX;
    sheet.m_pageWMF.m_nHeight = g_DefaultWmfCY;

    if (sheet.DoModal() != IDOK)
        return;

    g_CoolBarAnimation = bars.m_bCoolBarAnimation;
    g_CoolBarBitmap = bars.m_bCoolBarBitmap;
    g_CoolBarText = bars.m_bCoolBarText;
    g_ShowRecents = bars.m_bShowRecents;
    g_UseCoolBar = bars.m_bUseCoolBar;
    g_ShowDibToolBar = bars.m_bShowDibToolBar;
    g_ShowExplorerToolBar = bars.m_bShowExplorerToolBar;
    g_LibrarianLocation = sheet.m_pageLibrarianPath.m_strPath;
    g_DefaultEditorPathName = sheet.m_pageEditorPath.m_strPath;
    g_ShowWelcome = general.m_bShowWelcome;
    g_ExplorerAuto = general.m_bExplorerAuto;
    g_ShowInfoSuppress = general.m_bShowInfoSuppress;
    g_ShowWarnColor16 = general.m_bShowWarnColor16;
    g_ShowWarnComponents = general.m_bShowWarnComponents;
    g_ShowWarnAssoc = general.m_bShowWarnAssoc;
    g_MaximiseOnOpen = general.m_bMaximiseOnOpen;
    g_CouleurView = ColorFromText(general.m_strColorView);
    g_CouleurPleinEcran = ColorFromText(general.m_strColorFullScreen);
    // A radio group with nothing checked (a stored value out of range) gives -1: the setting stays.
    if (sheet.m_pageJPEG.m_nColorMode >= 0)
        g_CouleursJPEG = sheet.m_pageJPEG.m_nColorMode;
    g_TauxJPEG = sheet.m_pageJPEG.m_nCompressionRate;
    if (sheet.m_pagePhotoCD.m_nSize >= 0)
        g_PhotoCDSize = sheet.m_pagePhotoCD.m_nSize;
    g_DefaultWmfCX = sheet.m_pageWMF.m_nWidth;
    g_DefaultWmfCY = sheet.m_pageWMF.m_nHeight;

    ApplyToolBarSettings(oldUseCoolBar, oldShowRecents, oldAnimation, oldText, oldBitmap);
    InvalidateAllViews();
}

void CMainFrame::ApplyToolBarSettings(int oldUseCoolBar, int oldShowRecents, int oldAnimation, int oldText,
                                      int oldBitmap)
{
    if ((g_UseCoolBar != 0) != (oldUseCoolBar != 0)) {
        // A cool bar asked for after a start without one is made now.
        if (g_UseCoolBar && !::IsWindow(m_wndCoolBar.m_hWnd) && CreateCoolBar())
            FillRecentCombo();
        if (::IsWindow(m_wndToolBar.m_hWnd))
            AfxShowControlBar(this, &m_wndToolBar, !g_UseCoolBar, FALSE);
        if (::IsWindow(m_wndCoolBar.m_hWnd))
            AfxShowControlBar(this, &m_wndCoolBar, g_UseCoolBar != 0, FALSE);
        g_bArrangePending = TRUE;
    }
    if (!g_UseCoolBar || !::IsWindow(m_wndCoolBar.m_hWnd))
        return;

    if ((g_ShowRecents != 0) != (oldShowRecents != 0)) {
        if (!g_ShowRecents) {
            g_CoolBarRawCount = static_cast<int>(m_wndCoolBar.SendMessage(RB_GETROWCOUNT, 0, 0));
            m_wndCoolBar.StoreFirstBandWidth();
            m_wndCoolBar.RemoveRecentBand();
        } else {
            if (!m_wndCoolBar.AddRecentBand())
                AfxMessageBox("Could not create the ComboBox", MB_OK);
            FillRecentCombo();
        }
        g_bArrangePending = TRUE;
    }
    if ((g_CoolBarAnimation != 0) != (oldAnimation != 0)) {
        if (!g_CoolBarAnimation) {
            m_wndCoolBar.RemoveAnimationBand();
            m_wndCoolBar.Invalidate(TRUE);
        } else if (!m_wndCoolBar.AddAnimationBand()) {
            AfxMessageBox("Could not create the AnimButton", MB_OK);
        }
        g_bArrangePending = TRUE;
    }
    if ((g_CoolBarText != 0) != (oldText != 0))
        m_wndCoolBar.ApplyTextSetting();
    if ((g_CoolBarBitmap != 0) != (oldBitmap != 0))
        m_wndCoolBar.ApplyBitmapSetting();
}

// ---- the library commands ----

void CMainFrame::OnOptionsPassword() { ChangeProtectedPassword(); }

BOOL CMainFrame::ForwardLibCommand(UINT nID)
{
    if (!::IsWindow(m_wndLibraryBar.m_hWnd) || !(m_wndLibraryBar.GetStyle() & WS_VISIBLE))
        return FALSE;
    m_wndLibraryBar.OnCmdMsg(nID, CN_COMMAND, nullptr, nullptr);
    return TRUE;
}

void CMainFrame::OnUpdateExplorerEditPicture(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }

void CMainFrame::OnShowLibraryRootFolder()
{
    if (!::IsWindow(m_wndLibraryBar.m_hWnd) || !(m_wndLibraryBar.GetStyle() & WS_VISIBLE)
        || m_wndLibraryBar.m_tree.GetSelectedKind() != LIB_KIND_ROOT)
        return;
    CString root = m_wndLibraryBar.m_tree.GetItemPath(m_wndLibraryBar.m_tree.RootItem());
    if (root.IsEmpty())
        root = g_strLibraryRoot;
    if (auto* pApp = dynamic_cast<CTessarineApp*>(AfxGetApp()))
        pApp->OpenExplorerOnFolder(root);
}

BOOL CMainFrame::OnLibCommand(UINT nID)
{
    ForwardLibCommand(nID);
    return TRUE;
}

BOOL CMainFrame::OnLibCommandUnchecked(UINT nID)
{
    if (::IsWindow(m_wndLibraryBar.m_hWnd))
        m_wndLibraryBar.OnCmdMsg(nID, CN_COMMAND, nullptr, nullptr);
    return TRUE;
}

void CMainFrame::OnUpdateLibCommand(CCmdUI* pCmdUI)
{
    if (!::IsWindow(m_wndLibraryBar.m_hWnd) || !(m_wndLibraryBar.GetStyle() & WS_VISIBLE)) {
        pCmdUI->Enable(FALSE);
        return;
    }
    // The bar sets the state itself where it has an update handler; otherwise the command stays as
    // the frame's handler makes it (enabled).
    m_wndLibraryBar.OnCmdMsg(pCmdUI->m_nID, CN_UPDATE_COMMAND_UI, pCmdUI, nullptr);
}
