// Busy cursor and the shared cursor table. User-interface thread only.
#include "core/BusyCursor.h"

namespace {
HCURSOR g_cursorTable[kAppCursorCount] = {};
HCURSOR g_savedCursor = nullptr;
} // namespace

void SetAppCursorHandle(int kind, HCURSOR cursor)
{
    if (kind >= 0 && kind < kAppCursorCount)
        g_cursorTable[kind] = cursor;
}

HCURSOR GetAppCursorHandle(int kind)
{
    HCURSOR cursor = (kind >= 0 && kind < kAppCursorCount) ? g_cursorTable[kind] : nullptr;
    return cursor != nullptr ? cursor : LoadCursorA(nullptr, IDC_WAIT);
}

void SetAppCursor(int kind)
{
    if (g_savedCursor != nullptr)
        return;
    g_savedCursor = SetCursor(GetAppCursorHandle(kind));
}

void RestoreAppCursor()
{
    if (g_savedCursor == nullptr)
        return;
    SetCursor(g_savedCursor);
    g_savedCursor = nullptr;
}
