// The lists' open requests, a picture and the library's print window (the picture windows read the
// open options from the viewers' globals while they are made, so the options hold exactly for the one
// open), and the files dropped on the window.
#include "app/MainFrame.h"

#include "app/TessarineApp.h"
#include "framework/PathDoor.h"
#include "framework/WinApp.h"
#include "viewers/ViewerGlobals.h"

#include <shellapi.h>

#include <vector>

CDocument* CMainFrame::OpenPicture(LPCSTR lpszPath, BOOL bFullScreen, CWnd* pReturnWnd,
                                   LPCSTR lpszFolderTitle)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return nullptr;
    g_strOpenFolderTitle = lpszFolderTitle != nullptr ? lpszFolderTitle : "";
    if (bFullScreen) {
        g_bOpenFullScreen = TRUE;
        g_pFullScreenReturnWnd = pReturnWnd;
    }
    CDocument* pDocument = pApp->OpenDocumentFile(lpszPath);
    g_bOpenFullScreen = FALSE;
    g_pFullScreenReturnWnd = nullptr;
    g_strOpenFolderTitle.Empty();
    return pDocument;
}

void CMainFrame::NewPrintLibWindow()
{
    if (CTessarineApp* pApp = TessarineApp())
        pApp->NewPrintLibWindow();
}

void CMainFrame::OnDropFiles(HDROP hDropInfo)
{
    SetActiveWindow();
    const std::vector<CString> paths = AfxDroppedPaths(hDropInfo);
    ::DragFinish(hDropInfo);
    if (CTessarineApp* pApp = TessarineApp())
        pApp->OpenDocumentFiles(paths);
}
