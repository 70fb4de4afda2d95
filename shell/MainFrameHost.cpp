// The main frame's slot for the windows below the application, and the shared arrangement request.
#include "shell/MainFrameHost.h"

IMainFrameHost* g_pMainFrameHost = nullptr;
BOOL g_bArrangePending = FALSE;

BOOL IsSplashShowing() { return g_pMainFrameHost != nullptr && g_pMainFrameHost->IsSplashUp(); }
