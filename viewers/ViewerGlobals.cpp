// The open requests and the fine-zoom switch of the picture views.
#include "viewers/ViewerGlobals.h"

BOOL g_bOpenFullScreen = FALSE;
CWnd* g_pFullScreenReturnWnd = nullptr;
CString g_strOpenFolderTitle;
BOOL g_bFineZoom = FALSE;

HGLOBAL g_hNewImageDIB = nullptr;

HGLOBAL TakeNewImageDIB()
{
    HGLOBAL hDIB = g_hNewImageDIB;
    g_hNewImageDIB = nullptr;
    return hDIB;
}
