// How wide the system's own message box is for a text: the box is shown for real (the test seams
// answer only the program's boxes) and closed as soon as it is up.
#pragma once
#include <windows.h>

#include <string>

inline int MessageBoxWidth(const std::string& text)
{
    static int width;
    struct Closer {
        static LRESULT CALLBACK Measure(int code, WPARAM wParam, LPARAM lParam)
        {
            RECT rect = {};
            char cls[8] = "";
            const HWND hWnd = reinterpret_cast<HWND>(wParam);
            // Only this thread's own box: windows are shared with the other tests on the display.
            if (code == HCBT_ACTIVATE && GetWindowThreadProcessId(hWnd, nullptr) == GetCurrentThreadId()
                && GetClassNameA(hWnd, cls, sizeof(cls)) && lstrcmpA(cls, "#32770") == 0
                && GetWindowRect(hWnd, &rect)) {
                width = rect.right - rect.left;
                PostMessageA(hWnd, WM_COMMAND, IDOK, 0);
                return 1; // never activated: no other test's window loses the front to it
            }
            return CallNextHookEx(nullptr, code, wParam, lParam);
        }
    };
    width = 0;
    HHOOK hook = SetWindowsHookExA(WH_CBT, Closer::Measure, nullptr, GetCurrentThreadId());
    MessageBoxA(nullptr, text.c_str(), "", MB_OK | MB_ICONEXCLAMATION);
    UnhookWindowsHookEx(hook);
    return width;
}
