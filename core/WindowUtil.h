// Window placement helpers.
#pragma once
#include <windows.h>

// Moves the window, keeping its size, to the centre of the primary screen (a window larger than
// the screen gets a negative position); no repaint. The result of MoveWindow.
BOOL CenterWindowOnScreen(HWND hwnd);

// Where a window of that rectangle goes to be centred on area, then moved back inside it past an edge
// (its left and top edges kept inside when it is larger than the area). Its size is kept.
RECT CentredWithin(const RECT& window, const RECT& area);

// Moves the window, keeping its size, to the centre of the work area of the monitor showing hOn (the
// primary one when hOn is null), whole inside it where it fits; no repaint.
BOOL CenterWindowOnWorkArea(HWND hwnd, HWND hOn);
