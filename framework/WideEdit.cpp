// Fields made anew in wide characters.
#include "framework/WideEdit.h"

#include "framework/PathDoor.h"
#include "framework/Wnd.h"

#include <string>

HWND AfxMakeEditWide(HWND hEdit)
{
    // Only an edit field of the code page that no object has subclassed is made anew.
    HWND hParent = hEdit != nullptr ? ::GetParent(hEdit) : nullptr;
    if (hParent == nullptr || AfxEditWideProcedure(hEdit) == nullptr
        || CWnd::FromHandlePermanent(hEdit) != nullptr)
        return hEdit;
    RECT rect = {};
    ::GetWindowRect(hEdit, &rect);
    ::MapWindowPoints(nullptr, hParent, reinterpret_cast<POINT*>(&rect), 2);
    const std::wstring text = AfxGetWindowTextWide(hEdit);
    HWND hWide = ::CreateWindowExW(
        static_cast<DWORD>(::GetWindowLongW(hEdit, GWL_EXSTYLE)), L"Edit", text.c_str(),
        static_cast<DWORD>(::GetWindowLongW(hEdit, GWL_STYLE)), rect.left, rect.top, rect.right - rect.left,
        rect.bottom - rect.top, hParent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(::GetDlgCtrlID(hEdit))),
        reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(hEdit, GWLP_HINSTANCE)), nullptr);
    if (hWide == nullptr)
        return hEdit;
    ::SendMessageW(hWide, WM_SETFONT, static_cast<WPARAM>(::SendMessageW(hEdit, WM_GETFONT, 0, 0)), FALSE);
    ::SendMessageW(hWide, EM_SETLIMITTEXT, static_cast<WPARAM>(::SendMessageW(hEdit, EM_GETLIMITTEXT, 0, 0)),
                   0);
    ::SendMessageW(hWide, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                   ::SendMessageW(hEdit, EM_GETMARGINS, 0, 0));
    // Right behind the old field among its siblings: the tab order follows that order.
    ::SetWindowPos(hWide, hEdit, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (::GetFocus() == hEdit)
        ::SetFocus(hWide);
    ::DestroyWindow(hEdit);
    return hWide;
}
