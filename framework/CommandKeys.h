// Where the keys go when a command ends: back to the window that had them when it began.
#pragma once
#include <windows.h>

// A command (a menu item, a key, a tool-bar button, a click that opens a box or a window) gives the
// keyboard focus back, when it ends, to the window that had it when it began: a dialog it opened, a
// window it made or hid, or a list it reloaded never leaves the keys in a window the user was not in,
// where the next Delete would act on what the user did not choose. Two kinds of command keep the place
// they made: one whose last step puts the keys somewhere on purpose and says so (AfxKeysChosen: a folder
// made or chosen, the list whose pictures it just selected, the library bar it worked on), and one that
// put another window in front (a picture opened in its own window, a full-screen view, another window
// of the frame). A window in front that closes again (a full-screen view, a print preview) gives the
// keys back itself.
// Commands inside a command are part of it: only the outermost scope gives the keys back.
class CCommandKeys {
public:
    // hOrigin: the window the user is in (a click's own window, which the click would have focused).
    explicit CCommandKeys(HWND hOrigin = ::GetFocus());
    ~CCommandKeys();
    CCommandKeys(const CCommandKeys&) = delete;
    CCommandKeys& operator=(const CCommandKeys&) = delete;

private:
    bool m_bOuter;
    HWND m_hOrigin;
    HWND m_hActive;      // the active top-level window when the command began
    HWND m_hActiveChild; // and its active MDI child, if it has one
};

// The running command put the keys where the user works from now on: they stay there.
void AfxKeysChosen();

// The window that had the keys when the running command began; outside a command, the one that has them.
HWND AfxKeysOrigin();

// Gives the keys back to hWnd once the messages already queued have run: after a window that closes
// itself by a posted message (a hidden print window, a picture shown full screen) is gone, and the frame
// has activated another window in its place.
void AfxGiveKeysBackLater(HWND hWnd);

// The message AfxGiveKeysBackLater posts; the window procedure of every window object takes it.
UINT AfxGiveKeysBackMessage();
