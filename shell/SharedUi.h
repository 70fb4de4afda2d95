// The fonts, icons, cursors and file-type image list every window shares. The application object
// makes them at start-up and frees them at exit.
#pragma once
#include "framework/CommonControls.h"
#include "framework/Gdi.h"

// ---- shared fonts, made by the application object's constructor ----
extern CFont g_fontSmall;     // "MS Sans Serif" 8 points
extern CFont g_fontSmallBold; // "MS Sans Serif" 8 points, bold
extern CFont g_fontArial9Bold;
extern CFont g_fontArial14Bold;
extern CFont g_fontArial12Bold;
extern CFont g_fontArial16Bold;
extern CFont g_fontArial7; // always as at 96 dots per inch

// ---- shared icons and cursors, loaded at start-up and destroyed at exit (null until then) ----
extern HICON g_hIconUnreadable;       // 172: a picture that could not be read
extern HICON g_hIconResizeLeftRight;  // 155: the library bar's splitter
extern HICON g_hIconResizeUpDown;     // 335
extern HICON g_hIconGenericFile;      // 295: a file whose type has no icon of its own
extern HCURSOR g_hCursorAppArrow;     // 395
extern HCURSOR g_hCursorDragMoveOne;  // 394
extern HCURSOR g_hCursorDragMoveMany; // 393
extern HCURSOR g_hCursorDragCopyOne;  // 392
extern HCURSOR g_hCursorDragCopyMany; // 391
extern HCURSOR g_hCursorNoDrop;       // 396
extern HCURSOR g_hCursorPicturePoint; // 397
extern HCURSOR g_hCursorZoom;         // 302
extern HCURSOR g_hCursorHand;         // 158: tool-bar buttons and the cool-bar logo
extern HCURSOR g_hCursorBusy;         // 267
extern HCURSOR g_hCursorBusyArrow;    // 282

// The 16-pixel file-type icons (bitmap 338), extended at run time by the file-icon lookup.
extern CImageList g_imlFileTypes;

// The application's shared palette, made at start-up; null before (and in programs without an
// application object).
extern CPalette* g_pAppPalette;
