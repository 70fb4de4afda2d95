// The busy cursor put up around long synchronous operations, and the shared cursor table it takes
// its cursors from.
#pragma once
#include <windows.h>

// Kinds in the cursor table: 0 the busy cursor (resource 267), 1 cursor resource 282.
const int kAppCursorBusy = 0;
const int kAppCursorAlternate = 1;
const int kAppCursorCount = 2;

// The shared cursor table. The application loads the cursors at start-up and destroys them at
// exit; a kind whose cursor is not loaded falls back to the system's wait cursor.
void SetAppCursorHandle(int kind, HCURSOR cursor);
HCURSOR GetAppCursorHandle(int kind);

// Starts a busy period: shows the cursor of that kind and saves the one it replaces, unless a
// cursor is already saved (then nothing changes). Busy periods do not nest: the first
// RestoreAppCursor ends the period. When the cursor replaced was none, nothing is saved.
void SetAppCursor(int kind);

// Ends the busy period: puts the saved cursor back and forgets it; nothing when none is saved.
void RestoreAppCursor();
