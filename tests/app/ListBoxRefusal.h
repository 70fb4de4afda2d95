// List boxes the system refuses to make, as when the window or GDI quota is spent: while a
// CListBoxRefusal lives, the next `count` list boxes made on this thread are refused.
#pragma once
#include <windows.h>

class CListBoxRefusal {
public:
    CListBoxRefusal() { s_hook = ::SetWindowsHookExA(WH_CBT, Refuse, nullptr, ::GetCurrentThreadId()); }
    ~CListBoxRefusal()
    {
        if (s_hook != nullptr)
            ::UnhookWindowsHookEx(s_hook);
        s_hook = nullptr;
        s_refusals = 0;
    }
    CListBoxRefusal(const CListBoxRefusal&) = delete;
    CListBoxRefusal& operator=(const CListBoxRefusal&) = delete;

    bool Hooked() const { return s_hook != nullptr; }
    void RefuseNext(int count) { s_refusals = count; }
    int Left() const { return s_refusals; }

private:
    static LRESULT CALLBACK Refuse(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_CREATEWND && s_refusals > 0) {
            LPCREATESTRUCTA lpcs = reinterpret_cast<LPCBT_CREATEWNDA>(lParam)->lpcs;
            if (lpcs != nullptr && HIWORD(reinterpret_cast<ULONG_PTR>(lpcs->lpszClass)) != 0
                && lstrcmpiA(lpcs->lpszClass, "LISTBOX") == 0) {
                s_refusals--;
                return 1;
            }
        }
        return ::CallNextHookEx(s_hook, code, wParam, lParam);
    }
    static inline HHOOK s_hook = nullptr;
    static inline int s_refusals = 0;
};
