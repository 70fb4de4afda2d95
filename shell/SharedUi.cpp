// The shared fonts, icons, cursors and image list; the application object fills them.
#include "shell/SharedUi.h"

CFont g_fontSmall;
CFont g_fontSmallBold;
CFont g_fontArial9Bold;
CFont g_fontArial14Bold;
CFont g_fontArial12Bold;
CFont g_fontArial16Bold;
CFont g_fontArial7;

HICON g_hIconUnreadable = nullptr;
HICON g_hIconResizeLeftRight = nullptr;
HICON g_hIconResizeUpDown = nullptr;
HICON g_hIconGenericFile = nullptr;
HCURSOR g_hCursorAppArrow = nullptr;
HCURSOR g_hCursorDragMoveOne = nullptr;
HCURSOR g_hCursorDragMoveMany = nullptr;
HCURSOR g_hCursorDragCopyOne = nullptr;
HCURSOR g_hCursorDragCopyMany = nullptr;
HCURSOR g_hCursorNoDrop = nullptr;
HCURSOR g_hCursorPicturePoint = nullptr;
HCURSOR g_hCursorZoom = nullptr;
HCURSOR g_hCursorHand = nullptr;
HCURSOR g_hCursorBusy = nullptr;
HCURSOR g_hCursorBusyArrow = nullptr;

CImageList g_imlFileTypes;

CPalette* g_pAppPalette = nullptr;
