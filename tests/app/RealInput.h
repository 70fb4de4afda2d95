// Input as a person gives it. The system's own mouse: the pointer put on a screen point, then button
// events in one go, so that the window under it gets them through the input queue (a pair of clicks
// quick enough makes a double-click); the system's own keyboard likewise. The tests that use them take
// turns, their names say Mouse, FullScreen or RealKeyboard. A key: pressed in a window through the program's
// own key path (the keyboard tables, then the window), with a modifier held.
#pragma once
#include "framework/WinApp.h"

#include <windows.h>

#include <algorithm>
#include <initializer_list>
#include <string>
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

// Keys typed on the system's keyboard, each pressed and released, all queued at once: the window with
// the focus gets them through the input queue, one after the other. With a time, the keys say they
// were typed then (the tick count), else now.
inline void RealKeys(const std::vector<WORD>& keys, DWORD time = 0)
{
    std::vector<INPUT> in;
    for (WORD vk : keys)
        for (DWORD flags : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
            INPUT key = {};
            key.type = INPUT_KEYBOARD;
            key.ki.wVk = vk;
            key.ki.dwFlags = flags;
            key.ki.time = time;
            in.push_back(key);
        }
    ::SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

// Text typed on the system's keyboard, each character a key pressed and released as a keyboard whose
// layout has that letter gives it (a Unicode packet: the window gets the key, then the character once
// the message loop has translated it), all queued at once.
inline void RealText(const std::wstring& text)
{
    std::vector<INPUT> in;
    for (wchar_t c : text)
        for (DWORD flags : {DWORD{KEYEVENTF_UNICODE}, DWORD{KEYEVENTF_UNICODE | KEYEVENTF_KEYUP}}) {
            INPUT key = {};
            key.type = INPUT_KEYBOARD;
            key.ki.wScan = c;
            key.ki.dwFlags = flags;
            in.push_back(key);
        }
    ::SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

// A chord on the system's keyboard: key pressed and released while modifier is held.
inline void RealChord(WORD modifier, WORD key)
{
    INPUT in[4] = {};
    const WORD keys[4] = {modifier, key, key, modifier};
    for (int i = 0; i < 4; i++) {
        in[i].type = INPUT_KEYBOARD;
        in[i].ki.wVk = keys[i];
        in[i].ki.dwFlags = i < 2 ? 0 : KEYEVENTF_KEYUP;
    }
    ::SendInput(4, in, sizeof(INPUT));
}

// A key pressed in hWnd with modifier held (0 for none): the keyboard tables first, as the message
// loop does; a key none of them takes goes to the window. TRUE when a keyboard table took it.
inline BOOL PressKey(CWinApp* pApp, HWND hWnd, BYTE modifier, UINT key)
{
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    BYTE held[256];
    std::copy(keys, keys + 256, held);
    if (modifier != 0)
        held[modifier] = 0x80;
    ::SetKeyboardState(held);
    MSG msg = {};
    msg.hwnd = hWnd;
    msg.message = WM_KEYDOWN;
    msg.wParam = key;
    msg.lParam = 1 | static_cast<LPARAM>(::MapVirtualKeyA(key, 0) << 16);
    BOOL bTaken = pApp->PreTranslateMessage(&msg);
    if (!bTaken)
        ::DispatchMessageA(&msg);
    ::SetKeyboardState(keys);
    return bTaken;
}
