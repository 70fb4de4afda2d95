// The main frame's scanner commands and the pictures a scanner source hands over.
#include "app/MainFrame.h"

#include "app/TessarineApp.h"
#include "framework/CmdUI.h"
#include "framework/WinApp.h"
#include "resources/resource.h"

// A band button of the cool bar sends its command whatever the state: both commands run only while
// they are enabled, so that a manager that failed to load is never tried again.
void CMainFrame::OnTwainAcquire()
{
    if (GetState() == 3)
        Acquire();
}

void CMainFrame::OnTwainSelectSource()
{
    if (GetState() == 3)
        SelectSource();
}

void CMainFrame::OnUpdateTwainCommand(CCmdUI* pCmdUI) { pCmdUI->Enable(GetState() == 3); }

void CMainFrame::OnImage(HGLOBAL hDIB)
{
    // The block comes from a driver: only a whole picture that its header describes is opened.
    PackedDIB hChecked = CopyClipboardDIB(hDIB);
    ::GlobalFree(hDIB);
    CTessarineApp* pApp = TessarineApp();
    if (hChecked != nullptr && pApp != nullptr)
        pApp->NewImageWindow(hChecked);
    else if (hChecked != nullptr)
        ::GlobalFree(hChecked);
}

void CMainFrame::OnError(int nStage)
{
    static const UINT kMessages[] = {IDS_SCANNER_MANAGER_FAILED, IDS_SCANNER_SOURCE_FAILED,
                                     IDS_SCANNER_ENABLE_FAILED};
    if (nStage >= 0 && nStage < static_cast<int>(sizeof(kMessages) / sizeof(kMessages[0])))
        AfxMessageBox(kMessages[nStage], MB_ICONEXCLAMATION);
}
