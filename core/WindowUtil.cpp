// Window placement helpers.
#include "core/WindowUtil.h"

BOOL CenterWindowOnScreen(HWND hwnd)
{
    HWND desktop = GetDesktopWindow();
    HDC screen = GetDC(desktop);
    const int screenWidth = GetDeviceCaps(screen, HORZRES);
    const int screenHeight = GetDeviceCaps(screen, VERTRES);
    ReleaseDC(desktop, screen);
    RECT rect;
    if (!GetWindowRect(hwnd, &rect))
        return FALSE;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    return MoveWindow(hwnd, (screenWidth - width) / 2, (screenHeight - height) / 2, width, height, FALSE);
}
