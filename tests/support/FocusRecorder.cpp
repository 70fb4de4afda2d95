// The focus recorder of the window tests.
#include "tests/support/FocusRecorder.h"

namespace {

// One recorder at a time per test process (tests run one per process, on one thread).
HWND g_hLastFocused = nullptr;

LRESULT CALLBACK RecordFocus(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* p = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && p->message == WM_SETFOCUS)
        g_hLastFocused = p->hwnd;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

FocusRecorder::FocusRecorder()
{
    g_hLastFocused = nullptr;
    m_hHook = ::SetWindowsHookExA(WH_CALLWNDPROC, RecordFocus, nullptr, ::GetCurrentThreadId());
}

FocusRecorder::~FocusRecorder()
{
    if (m_hHook != nullptr)
        ::UnhookWindowsHookEx(m_hHook);
}

HWND FocusRecorder::Last() const { return g_hLastFocused; }
