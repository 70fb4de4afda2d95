#include "piclist/LibraryHost.h"

#include "shell/Settings.h"
#include "shell/SharedUi.h"

CString LibraryRoot()
{
    CString root = g_strLibraryRoot;
    if (!root.IsEmpty() && root.Right(1) != "\\")
        root += "\\";
    return root;
}

CPalette* LibraryPalette() { return g_pAppPalette; }

int GetShowDeleteNotice() { return g_ShowInfoSuppress; }

void SetShowDeleteNotice(int value) { g_ShowInfoSuppress = value; }
