// The main window's placement in section "mainwin": read back at start-up, written when the window
// is destroyed.
#include "app/MainFrame.h"
#include "shell/Settings.h"
#include "app/TessarineApp.h"

#include <cstdio>
#include <cstdlib>

namespace {

const char kSection[] = "mainwin";

// Up to four numbers separated by blanks; how many were read.
int ParseNumbers(LPCSTR text, long values[4])
{
    int n = 0;
    const char* p = text;
    while (n < 4 && p != nullptr && *p != '\0') {
        char* pEnd = nullptr;
        long value = std::strtol(p, &pEnd, 10);
        if (pEnd == p)
            break;
        values[n++] = value;
        p = pEnd;
    }
    return n;
}

} // namespace

MainWindowPlacement ComputeMainWindowPlacement(LPCSTR pos, int maximized, int screenWidth, int screenHeight)
{
    MainWindowPlacement placement;
    placement.maximized = maximized != 0;
    RECT rectDefault = {5, 5, screenWidth, screenHeight};
    placement.rect = rectDefault;

    // Written as "%04d %04d %04d %04d", but read by blanks: a coordinate of -1000 or 10000 is five
    // characters wide. A value with fewer than four numbers counts as none.
    long values[4] = {};
    if (pos != nullptr && ParseNumbers(pos, values) == 4) {
        RECT rect = {values[0], values[1], values[2], values[3]};
        if (rect.bottom < 5)
            rect.bottom = 5;
        if (rect.right < 5)
            rect.right = 5;
        if (rect.top > screenHeight - 5)
            rect.top = screenHeight - 5;
        if (rect.left > screenWidth - 5)
            rect.left = screenWidth - 5;
        if (rect.right > rect.left && rect.bottom > rect.top)
            placement.rect = rect;
    }
    if (placement.maximized && placement.rect.bottom - placement.rect.top < 460)
        placement.rect.bottom = placement.rect.top + 460;
    return placement;
}

void CTessarineApp::RestoreWindowPlacement()
{
    if (m_pMainWnd == nullptr)
        return;
    CString strPos = GetProfileString(kSection, "Pos", "");
    int nMaximized = static_cast<int>(GetProfileInt(kSection, "Maximized", 1));
    MainWindowPlacement placement = ComputeMainWindowPlacement(
        strPos, nMaximized, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof(wp);
    wp.flags = placement.maximized ? WPF_RESTORETOMAXIMIZED : 0;
    wp.showCmd = placement.maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    wp.ptMinPosition.x = 0;
    wp.ptMinPosition.y = 0;
    wp.ptMaxPosition.x = -::GetSystemMetrics(SM_CXBORDER);
    wp.ptMaxPosition.y = -::GetSystemMetrics(SM_CYBORDER);
    wp.rcNormalPosition = placement.rect;
    m_pMainWnd->SetWindowPlacement(&wp);
}

void CMainFrame::SaveWindowPlacement()
{
    // Only a process that read the settings writes them.
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr || !SettingsLoaded())
        return;
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof(wp);
    if (!GetWindowPlacement(&wp))
        return;
    char szPos[64];
    std::snprintf(szPos, sizeof(szPos), "%04ld %04ld %04ld %04ld", wp.rcNormalPosition.left,
                  wp.rcNormalPosition.top, wp.rcNormalPosition.right, wp.rcNormalPosition.bottom);
    BOOL bMaximized = wp.showCmd == SW_SHOWMAXIMIZED
                      || (wp.showCmd == SW_SHOWMINIMIZED && (wp.flags & WPF_RESTORETOMAXIMIZED));
    pApp->WriteProfileString(kSection, "Pos", szPos);
    pApp->WriteProfileInt(kSection, "Maximized", bMaximized ? 1 : 0);
}
