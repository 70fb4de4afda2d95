// Per-thread state of the window layer, shared by the CWnd units: the object waiting for its window,
// the creation hook, the message being handled and the frame routing a command.
#pragma once
#include <windows.h>

class CWnd;
class CFrameWnd;

struct AfxWndThreadState {
    CWnd* pWndInit;           // attached to the next window this thread creates
    HHOOK hHookCbt;           // the creation hook, installed on first use
    MSG lastSentMsg;          // the message being handled, for CWnd::Default
    CFrameWnd* pRoutingFrame; // the frame whose OnCmdMsg is running
    HWND hWndToolTip;         // the thread's tool tip for EnableToolTips windows
    HWND hWndLastHit;         // window and tool under the mouse at the last hit test
    int nLastHit;
};

AfxWndThreadState& AfxGetWndThreadState();
