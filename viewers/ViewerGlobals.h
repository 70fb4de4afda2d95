// The open requests the lists set around an open (full screen, library folder title), the picture
// handed to a new still-picture window, and the fine-zoom switch of the picture views.
#pragma once
#include "framework/String.h"

#include <windows.h>

class CWnd;

// Set by the explorer, the search window and the library bar around an open: the next picture
// view starts full screen and, when it leaves it, activates g_pFullScreenReturnWnd and closes.
extern BOOL g_bOpenFullScreen;
extern CWnd* g_pFullScreenReturnWnd;
// The library folder named in the title of the picture opened next; empty outside the library.
extern CString g_strOpenFolderTitle;
// Set only around the held-button zoom of full screen: zoom steps are then about 5 %.
extern BOOL g_bFineZoom;
// A picture handed to the still-picture document created next: non-zero only while NewImageWindow
// creates the window.
extern HGLOBAL g_hNewImageDIB;
// Takes the handed-over picture (the caller owns it) and empties the slot; 0 when there is none.
HGLOBAL TakeNewImageDIB();
