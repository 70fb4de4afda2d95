#include "library/LibraryHost.h"

#include "shell/Settings.h"
#include "shell/SharedUi.h"

CString LibraryRoot() { return g_strLibraryRoot; }

CPalette* LibraryPalette() { return g_pAppPalette; }

int GetShowDeleteNotice() { return g_ShowInfoSuppress; }

void SetShowDeleteNotice(int value) { g_ShowInfoSuppress = value; }
