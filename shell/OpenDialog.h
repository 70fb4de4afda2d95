// The File > Open dialog: its filter, the selection it returns, and the live preview placed beside
// the standard dialog (hook procedure and its debounce).
#pragma once
#include "framework/String.h"

#include <windows.h>

#include <vector>

// The filter of every readable picture type: the all-pictures entry first, one entry per format, then
// all files; entries and patterns separated by '|', ending with "||". Also used by the library's import.
void BuildOpenFileFilter(CString& filter);

// The paths an open dialog returned in buffer (size bytes): one full path, or a folder followed by
// names, each ended by a zero and the list by a second zero. Names are joined to the folder in the
// order given; a joined path that would not fit MAX_PATH is left out.
std::vector<CString> ParseOpenSelection(const char* buffer, size_t size);

// When a preview is due: the first selection is shown at the next timer tick, later ones once the
// selection has stayed unchanged for more than half a second.
struct PreviewDebounce {
    int state = 0;   // 0 nothing selected yet, 1 idle, 2 a selection waits
    DWORD stamp = 0; // time of the last selection change (ms)

    void OnSelectionChange(DWORD now)
    {
        stamp = state != 0 ? now : now - 1000;
        state = 2;
    }
    // TRUE once, when the waiting selection is to be loaded now.
    BOOL OnTick(DWORD now)
    {
        if (state == 2 && static_cast<LONG>(now - stamp) > 500) {
            state = 1;
            return TRUE;
        }
        return FALSE;
    }
};

// Hook of the open dialog's preview template (dialog 270).
UINT_PTR CALLBACK OpenPreviewHook(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);

// A plain file dialog editing fileName in place (open or save), starting in "CurrentSaveDirectory",
// which then takes the folder the user ended in. TRUE for OK.
BOOL PromptFileName(CString& fileName, UINT titleId, DWORD extraFlags, BOOL openDialog);
