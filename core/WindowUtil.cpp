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

RECT CentredWithin(const RECT& window, const RECT& area)
{
    const LONG width = window.right - window.left;
    const LONG height = window.bottom - window.top;
    LONG x = area.left + (area.right - area.left - width) / 2;
    LONG y = area.top + (area.bottom - area.top - height) / 2;
    x = x + width > area.right ? area.right - width : x;
    y = y + height > area.bottom ? area.bottom - height : y;
    x = x < area.left ? area.left : x;
    y = y < area.top ? area.top : y;
    return {x, y, x + width, y + height};
}

BOOL CenterWindowOnWorkArea(HWND hwnd, HWND hOn)
{
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    RECT rect;
    if (!GetMonitorInfoA(MonitorFromWindow(hOn, MONITOR_DEFAULTTOPRIMARY), &monitor)
        || !GetWindowRect(hwnd, &rect))
        return FALSE;
    const RECT place = CentredWithin(rect, monitor.rcWork);
    return MoveWindow(hwnd, place.left, place.top, place.right - place.left, place.bottom - place.top, FALSE);
}
