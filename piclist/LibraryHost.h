// What the library's storage takes from the application: the library root, the shared palette and
// the delete-notice setting. Kept in one place so that the lists include nothing of app/.
#pragma once
#include "framework/String.h"

class CPalette;

// The library root folder with its trailing backslash (empty when not set).
CString LibraryRoot();
// The part of path after the library root (path itself when it lies elsewhere), as trash records keep it.
CString RelativeToRoot(const CString& path);
// The application's shared palette; null without an application object.
CPalette* LibraryPalette();
// Tells the user, in the main window's status line, that the texts of the picture named name cannot
// be kept (its record file is not its own to write).
void TellTextsNotKept(const CString& name);
// The setting "ShowInfoSuppress": show the notice after a deletion into the trash.
int GetShowDeleteNotice();
void SetShowDeleteNotice(int value);
