// The library's process-wide state.
#include "piclist/LibraryState.h"

CString g_strProtectedFolder;
BOOL g_bProtectedUnlocked = FALSE;
BOOL g_bTransferBusy = FALSE;
