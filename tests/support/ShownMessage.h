// The system's own message box as it shows on the screen: its size and its text, read from the real
// window, which is closed as soon as it is up (the test seams answer only the program's boxes; a test
// disarms them to see the program's own box).
#pragma once
#include <windows.h>

#include <functional>
#include <string>

struct ShownMessageBox {
    SIZE size = {0, 0};
    std::string text;
};

// The first message box this thread shows while show() runs.
inline ShownMessageBox ShowMessageBoxAndClose(const std::function<void()>& show)
{
    static ShownMessageBox shown;
    struct Closer {
        static LRESULT CALLBACK Measure(int code, WPARAM wParam, LPARAM lParam)
        {
            RECT rect = {};
            char cls[8] = "";
            const HWND hWnd = reinterpret_cast<HWND>(wParam);
            // Only this thread's own box: windows are shared with the other tests on the display.
            if (code == HCBT_ACTIVATE && shown.size.cx == 0
                && GetWindowThreadProcessId(hWnd, nullptr) == GetCurrentThreadId()
                && GetClassNameA(hWnd, cls, sizeof(cls)) && lstrcmpA(cls, "#32770") == 0
                && GetWindowRect(hWnd, &rect)) {
                shown.size = {rect.right - rect.left, rect.bottom - rect.top};
                char text[4096] = "";
                GetDlgItemTextA(hWnd, 0xFFFF, text, sizeof(text));
                shown.text = text;
                PostMessageA(hWnd, WM_COMMAND, IDOK, 0);
                return 1; // never activated: no other test's window loses the front to it
            }
            return CallNextHookEx(nullptr, code, wParam, lParam);
        }
    };
    shown = ShownMessageBox();
    HHOOK hook = SetWindowsHookExA(WH_CBT, Closer::Measure, nullptr, GetCurrentThreadId());
    show();
    UnhookWindowsHookEx(hook);
    return shown;
}

// The size of the system's box for a text.
inline SIZE MessageBoxSize(const std::string& text)
{
    return ShowMessageBoxAndClose([&] { MessageBoxA(nullptr, text.c_str(), "", MB_OK | MB_ICONEXCLAMATION); })
        .size;
}
