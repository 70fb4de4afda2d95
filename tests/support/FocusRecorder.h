// Where this thread last put the keyboard focus. Test programs run side by side on one desktop: a
// window of another one may come to the front at any moment, and GetFocus then answers null although
// the program did put the focus where it should. The window that last received WM_SETFOCUS does not
// change with that.
#pragma once
#include <windows.h>

class FocusRecorder {
public:
    FocusRecorder();
    ~FocusRecorder();
    FocusRecorder(const FocusRecorder&) = delete;
    FocusRecorder& operator=(const FocusRecorder&) = delete;

    // The window that last received WM_SETFOCUS in this thread since the recorder was made (null:
    // none).
    HWND Last() const;

private:
    HHOOK m_hHook = nullptr;
};
