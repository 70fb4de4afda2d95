// The system's own dialogs and message boxes this thread shows, for the tests that answer them from a
// timer as a person would.
#pragma once
#include <windows.h>

#include <vector>

namespace shown_dialogs_detail {
inline BOOL CALLBACK Collect(HWND hWnd, LPARAM lParam)
{
    char szClass[16] = "";
    ::GetClassNameA(hWnd, szClass, sizeof(szClass));
    if (::lstrcmpA(szClass, "#32770") == 0 && ::IsWindowVisible(hWnd))
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
    return TRUE;
}
} // namespace shown_dialogs_detail

// The dialog windows of this thread on the screen, in the system's order.
inline std::vector<HWND> ShownDialogs()
{
    std::vector<HWND> shown;
    ::EnumThreadWindows(::GetCurrentThreadId(), shown_dialogs_detail::Collect,
                        reinterpret_cast<LPARAM>(&shown));
    return shown;
}

// The first of them; null when none shows.
inline HWND ShownDialog()
{
    const std::vector<HWND> shown = ShownDialogs();
    return shown.empty() ? nullptr : shown.front();
}
