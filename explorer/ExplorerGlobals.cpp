// The library's state as the explorer sees it.
#include "explorer/ExplorerGlobals.h"

#include "framework/FrameworkTexts.h"
#include "resources/resource.h"
#include "shell/Settings.h"

BOOL g_bProtectedUnlocked = FALSE;
BOOL g_bTransferBusy = FALSE;

CString ProtectedFolderPath()
{
    if (g_strLibraryRoot.IsEmpty())
        return CString();
    return g_strLibraryRoot + AfxLoadText(IDS_FOLDER_PROTECTED);
}
