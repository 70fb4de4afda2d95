#include "library/LibraryHost.h"

#include "app/Settings.h"
#include "app/TessarineApp.h"

CString LibraryRoot()
{
    CString root = g_strLibraryRoot;
    if (!root.IsEmpty() && root.Right(1) != "\\")
        root += "\\";
    return root;
}

CPalette* LibraryPalette()
{
    CTessarineApp* pApp = TessarineApp();
    return pApp ? pApp->GetPalette() : nullptr;
}

int GetShowDeleteNotice() { return g_ShowInfoSuppress; }

void SetShowDeleteNotice(int value) { g_ShowInfoSuppress = value; }
