// Shut-down of the application object: the settings are saved (only when this process read them),
// the shared icons and cursors freed and the QuickTime bridge closed.
#include "app/FileAssoc.h"
#include "shell/Settings.h"
#include "app/TessarineApp.h"
#include "core/FileUtil.h"
#include "formats/QuickTime.h"

#include <objbase.h>

int CTessarineApp::ExitInstance()
{
    UnregisterWindowClass();
    if (m_bComInitialized)
        ::CoUninitialize();
    m_bComInitialized = FALSE;
    // A second instance, or a start that failed before the settings were read, leaves them alone.
    SaveSettings();
    FreeSharedIcons();
    FreeFileIconCache();
    FreeWorkBuffer();
    if (IsQuickTimeStarted())
        ExitQuickTime();
    return CWinApp::ExitInstance();
}
