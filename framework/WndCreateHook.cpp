// The creation hook: attaches a CWnd to its window as the window is created, before its first message,
// whatever the window's class (ours, a control's, or one whose procedure is DefWindowProc).
#include "framework/Wnd.h"
#include "framework/WndState.h"

namespace {

// Windows the system makes by itself while ours is being created: never the one we wait for.
bool IsSystemHelperWindow(LPCSTR lpszClass)
{
    if (IS_INTRESOURCE(lpszClass))
        return LOWORD(reinterpret_cast<ULONG_PTR>(lpszClass)) == 0x8000; // menus (#32768)
    return ::lstrcmpiA(lpszClass, "IME") == 0 || ::lstrcmpiA(lpszClass, "MSCTFIME UI") == 0;
}

} // namespace

LRESULT CALLBACK AfxCbtFilterHook(int code, WPARAM wParam, LPARAM lParam)
{
    AfxWndThreadState& state = AfxGetWndThreadState();
    if (code != HCBT_CREATEWND || state.pWndInit == nullptr)
        return ::CallNextHookEx(state.hHookCbt, code, wParam, lParam);
    LPCREATESTRUCTA lpcs = reinterpret_cast<LPCBT_CREATEWNDA>(lParam)->lpcs;
    if (lpcs != nullptr && IsSystemHelperWindow(lpcs->lpszClass))
        return ::CallNextHookEx(state.hHookCbt, code, wParam, lParam);

    HWND hWnd = reinterpret_cast<HWND>(wParam);
    CWnd* pWnd = state.pWndInit;
    state.pWndInit = nullptr;
    try {
        if (pWnd->Attach(hWnd)) {
            pWnd->PreSubclassWindow();
            WNDPROC pfnOld = reinterpret_cast<WNDPROC>(
                ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
            if (pfnOld != AfxWndProc)
                pWnd->m_pfnSuper = pfnOld;
        }
    } catch (...) {
        // No exception may leave a hook: the window is then created without its object, and the
        // caller sees that its object was never attached.
        if (pWnd->m_hWnd == hWnd)
            pWnd->Detach();
    }
    return ::CallNextHookEx(state.hHookCbt, code, wParam, lParam);
}

void AfxHookWindowCreate(CWnd* pWnd)
{
    AfxWndThreadState& state = AfxGetWndThreadState();
    if (state.hHookCbt == nullptr)
        state.hHookCbt = ::SetWindowsHookExA(WH_CBT, AfxCbtFilterHook, nullptr, ::GetCurrentThreadId());
    state.pWndInit = pWnd;
}

BOOL AfxUnhookWindowCreate()
{
    AfxWndThreadState& state = AfxGetWndThreadState();
    BOOL bAttached = state.pWndInit == nullptr;
    state.pWndInit = nullptr;
    return bAttached;
}
