// IMainFrameHost: what the document windows may ask of the main frame. The main frame implements it;
// the views, documents and child frames reach the main frame only through g_pMainFrameHost.
#pragma once
#include "framework/MDIFrameWnd.h"

#include <windows.h>

class CView;

// Status-bar layouts.
enum StatusMode { kStatusNoView = 0, kStatusExplorer = 1, kStatusPicture = 2, kStatusAnimation = 3 };

class IMainFrameHost {
public:
    // The main window itself: the parent of dialogs, the target of posted commands, MDI activation.
    virtual CMDIFrameWnd* GetFrameWnd() = 0;

    // ---- status bar ----
    virtual void SetStatusText0(LPCSTR lpszText) = 0;
    virtual void SetStatusText1(LPCSTR lpszText) = 0;
    // The layout shown (StatusMode, -1 before the first), and applying one when it is not shown.
    virtual int GetStatusMode() const = 0;
    virtual void SetStatusMode(int nMode) = 0;

    // Gives the frame of pView its slice of the MDI area (see shell/ViewPlacement.h).
    virtual void ArrangeViewFrame(CView* pView, int half, BOOL byPlacement) = 0;

    // The view covering the screen, null when none; a view sets itself on entering full screen and
    // clears itself (only if it is still the one set) on leaving.
    virtual void SetFullScreenView(CView* pView) = 0;
    virtual CView* GetFullScreenView() const = 0;

    // Puts path at the head of the recent list, once, and refreshes the cool bar's list.
    virtual void PromoteRecentEntry(LPCSTR path) = 0;

protected:
    ~IMainFrameHost() = default;
};

// The main frame as the windows below the application see it; null before it exists and after it
// is gone.
extern IMainFrameHost* g_pMainFrameHost;
// The child windows must be placed again at the next dispatcher pass.
extern BOOL g_bArrangePending;
