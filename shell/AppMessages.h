// The program's private window messages (numbered from WM_USER, 0x400). Some numbers are shared by
// two messages that never reach the same window.
#pragma once
#include <windows.h>

// Realise your palette: from the main frame to the views, the library bar and the slide show;
// wParam is the window handle of the active view.
#define WM_PALETTEREALIZE (WM_USER + 0x00)
// The animation bar's frame slider moved: to its child frame, which forwards it to the active view
// (wParam the slider position, lParam the slider window).
#define WM_ANIMFRAMESLIDER (WM_USER + 0x01)
// A speed was chosen in the animation bar's list: to its child frame, forwarded to the active view.
#define WM_ANIMSPEEDCHANGED (WM_USER + 0x02)
// One byte of a second instance's command line, to the running main frame: wParam is the byte read
// as a signed char (bytes of 0x80 and above arrive negative); a zero byte ends the text.
#define WM_OPENPATHCHAR (WM_USER + 0x02)
// One animation step, posted by the multimedia timer to an animation view (never two pending).
#define WM_ANIMTICK (WM_USER + 0x03)
// A child frame closed: the main frame clears its caption cache and repaints its caption.
#define WM_CAPTIONRESET (WM_USER + 0x04)
// The folder-watch thread saw the explorer view's folder change.
#define WM_FOLDERCHANGED (WM_USER + 0x06)
// The library tree's label edit ended (posted by the tree to itself).
#define WM_TREELABELEDITEND (WM_USER + 0x07)
// The search worker finished: from the search-progress dialog to the main frame.
#define WM_SEARCHFINISHED (WM_USER + 0x10)
// Starts the search worker (posted by the search-progress dialog to itself).
#define WM_STARTSEARCH (WM_USER + 0x11)

// The messages a document view answers, so that the main frame and the child frames never need its
// class. A view that does not answer one returns 0 (as DefWindowProc does).
// Place your child frame in the MDI area; wParam TRUE keeps the frame where its own placement puts
// it. Non-zero when answered.
#define WM_VIEWARRANGE (WM_USER + 0x30)
// The part of the MDI area your kind of view shares: kExplorerViewArea or kImageViewArea
// (shell/ViewPlacement.h); 0 when the view takes no part in the arrangement.
#define WM_VIEWKIND (WM_USER + 0x31)
// You are the active view: show your status-bar layout (StatusMode) and fill its panes.
#define WM_VIEWSTATUS (WM_USER + 0x32)
// The dispatcher's idle step; wParam TRUE when you cover the screen (the only step of that pass).
#define WM_VIEWIDLE (WM_USER + 0x33)
