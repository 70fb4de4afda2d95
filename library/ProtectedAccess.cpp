#include "library/ProtectedAccess.h"

CString g_strProtectedFolder;
BOOL g_bProtectedUnlocked = FALSE;
BOOL g_bTransferBusy = FALSE;
