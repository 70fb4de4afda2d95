// The lists' open requests: a picture, and the library's print window. The picture windows read the
// open options from the viewers' globals while they are made, so the options hold exactly for the one
// open.
#include "app/MainFrame.h"

#include "app/TessarineApp.h"
#include "framework/WinApp.h"
#include "viewers/ViewerGlobals.h"

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
