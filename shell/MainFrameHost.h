// IMainFrameHost: what the document windows may ask of the main frame. The main frame implements it;
// the views, documents and child frames reach the main frame only through g_pMainFrameHost.
#pragma once
#include "framework/Collections.h"
#include "framework/MDIFrameWnd.h"

#include <windows.h>

class CDocument;
class CView;
class CWnd;

// Status-bar layouts.
enum StatusMode { kStatusNoView = 0, kStatusExplorer = 1, kStatusPicture = 2, kStatusAnimation = 3 };

// Which kind of window started a slide show.
enum SlideSource { kSlideSourceNone, kSlideSourceExplorer, kSlideSourceLibrary, kSlideSourceSearch };

class IMainFrameHost {
public:
    // The main window itself: the parent of dialogs, the target of posted commands, MDI activation.
    virtual CMDIFrameWnd* GetFrameWnd() = 0;

    // ---- status bar ----
    virtual void SetStatusText0(LPCSTR lpszText) = 0;
    virtual void SetStatusText1(LPCSTR lpszText) = 0;
    // Any pane of the status bar, repainted at once.
    virtual void SetStatusPaneText(int nPane, LPCSTR lpszText) {}
    // The layout shown (StatusMode, -1 before the first), and applying one when it is not shown.
    virtual int GetStatusMode() const = 0;
    virtual void SetStatusMode(int nMode) = 0;

    // Gives the frame of pView its slice of the MDI area (see shell/ViewPlacement.h).
    virtual void ArrangeViewFrame(CView* pView, int half, BOOL byPlacement, BOOL bFirstCell) = 0;
    // The child windows are placed again at the frame's next timer step.
    virtual void RequestArrange() = 0;

    // The start-up splash shows: the windows then realise their palettes in the background.
    virtual BOOL IsSplashUp() const = 0;

    // ---- opening ----
    // Opens a picture as the open command does (a window already showing it is activated). With
    // bFullScreen a new picture window starts full screen and, when it leaves it, activates
    // pReturnWnd and closes; lpszFolderTitle, the library folder of the picture (null outside the
    // library), goes into the new window's title. Null when nothing was opened.
    virtual CDocument* OpenPicture(LPCSTR lpszPath, BOOL bFullScreen, CWnd* pReturnWnd,
                                   LPCSTR lpszFolderTitle) = 0;

    // The view covering the screen, null when none; a view sets itself on entering full screen and
    // clears itself (only if it is still the one set) on leaving.
    virtual void SetFullScreenView(CView* pView) = 0;
    virtual CView* GetFullScreenView() const = 0;

    // Puts path at the head of the recent list, once, and refreshes the cool bar's list.
    virtual void PromoteRecentEntry(LPCSTR path) = 0;
    // Opens the application's picture-list print window, which prints the library bar's list.
    virtual void NewPrintLibWindow() = 0;

    // ---- slide show ----
    // What a list does to show its selection: the options dialog, filled from the settings and
    // storing them back on OK, then the slide show over the paths (a snapshot of the selection, in
    // list order). source is a SlideSource, pSource the list's window.
    // FALSE when the user cancelled, the show could not start, or none of its pictures can be read.
    virtual BOOL RunSlideShow(int source, CWnd* pSource, const CStringArray& paths) = 0;
    // The background music of a show: played again each time it ends, until stopped.
    virtual void PlayBackgroundMusic(LPCSTR path) = 0;
    virtual void StopBackgroundMusic() = 0;

protected:
    ~IMainFrameHost() = default;
};

// The main frame as the windows below the application see it; null before it exists and after it
// is gone.
extern IMainFrameHost* g_pMainFrameHost;
// The start-up splash shows (never without a main frame).
BOOL IsSplashShowing();
// The child windows must be placed again at the next dispatcher pass.
extern BOOL g_bArrangePending;
