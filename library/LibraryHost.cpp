#include "library/LibraryHost.h"

#include "app/Settings.h"
#include "app/TessarineApp.h"

CString LibraryRoot() { return g_strLibraryRoot; }

CPalette* LibraryPalette()
{
    CTessarineApp* pApp = TessarineApp();
    return pApp ? pApp->GetPalette() : nullptr;
}

int GetShowDeleteNotice() { return g_ShowInfoSuppress; }

void SetShowDeleteNotice(int value) { g_ShowInfoSuppress = value; }
