// Window placement helpers.
#pragma once
#include <windows.h>

// Moves the window, keeping its size, to the centre of the primary screen (a window larger than
// the screen gets a negative position); no repaint. The result of MoveWindow.
BOOL CenterWindowOnScreen(HWND hwnd);
