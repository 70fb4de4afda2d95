// The system's own mouse: the pointer put on a screen point, then button events in one go, so that
// the window under it gets them through the input queue as from a person (a pair of clicks quick
// enough makes a double-click). The tests that use it take turns: their names say Mouse or FullScreen.
#pragma once
#include <windows.h>

#include <initializer_list>
#include <vector>

inline void RealMouse(POINT screen, std::initializer_list<DWORD> buttons)
{
    ::SetCursorPos(screen.x, screen.y);
    std::vector<INPUT> in(buttons.size());
    size_t i = 0;
    for (DWORD flags : buttons) {
        in[i].type = INPUT_MOUSE;
        in[i].mi.dwFlags = flags;
        i++;
    }
    ::SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}
