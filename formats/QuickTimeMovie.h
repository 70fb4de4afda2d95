// QuickTime movie files over the runtime operations of the bridge: opening a file as a movie
// (optionally with a controller in a window), closing it, and the controller requests; plus
// choosing, writing and editing movie files, which the program itself does not use.
#pragma once
#include "formats/QuickTime.h"

#include <commdlg.h>

// A movie file opened through the runtime.
struct MovieFileRecord {
    char path[256] = "";        // zero-terminated path, set by the caller
    QTRef movie = 0;            // the runtime's movie, 0 when none
    QTRef controller = 0;       // its controller, 0 when none
    BYTE opened = 0;            // 1 while the movie is open
    HWND titleWindow = nullptr; // when set, gets the file name as its caption once opened
};

// Opens record->path as a movie (with a controller when window is given, its port made current
// first). 1 when opened, 0 for an empty path or when the runtime cannot open the file or make a
// movie of it (no runtime operation is called for an empty path).
int OpenMovieFileRecord(HWND window, MovieFileRecord* record);
// Releases the controller and the movie of an opened record (once: a record that is not open is
// left alone).
void CloseMovieFileRecord(MovieFileRecord* record);
// Makes a controller for the movie at its own size, moved to 0,0, into *controllerOut; returns the
// result of the last controller request. window is not used.
long AttachMovieController(HWND window, QTRef movie, QTRef* controllerOut);
// Caption of window = the file-name part of path.
void SetWindowTitleFromPath(HWND window, const char* path);
// The characters after the last "\" or "/" of path into out (the whole path without either);
// out is left alone for an empty path. out must hold as many characters as path.
void FileNamePart(const char* path, char* out);

// ---- Controller requests: a parameter block (flags 0, size of the parameters, 16-bit request
// code, then 32-bit parameters) handed to QTComponentRequest; each returns its result. ----
long QTControllerDoAction(QTRef controller, short action, void* parameter); // request 9
long QTControllerGetBounds(QTRef controller, short* rect);                  // request 0x10
long QTControllerEnableEditing(QTRef controller, long enable);              // request 0x1D
long QTControllerCopy(QTRef controller);                                    // request 0x1F: a movie
long QTControllerCut(QTRef controller);                                     // request 0x20: a movie
long QTControllerPaste(QTRef controller, QTRef movie);                      // request 0x21
long QTControllerClear(QTRef controller);                                   // request 0x22
long QTControllerUndo(QTRef controller);                                    // request 0x23

// ---- Members the program does not call ----

// Asks for a movie file (owned by the active window, centred by CentreFileDialogHook) into buffer
// (255 characters, emptied first). TRUE when one was chosen.
BOOL ChooseMovieFile(char* buffer);
// On WM_INITDIALOG only: centres the dialog horizontally on the desktop at a third of its height;
// returns 1 for that message, 0 for the others.
UINT_PTR CALLBACK CentreFileDialogHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Writes the record's movie to its path as a self-contained movie file; the runtime's last error,
// or 0 for an empty path.
short WriteMovieFile(MovieFileRecord* record);
// Asks for a name, writes the movie there and puts the name in the title window's caption; the
// runtime's last error, or 0 when cancelled.
short SaveMovieFileAs(MovieFileRecord* record);
// Controller action filter: on a resize (action 26) the window takes the controller's size.
// Always FALSE.
BOOL CALLBACK MovieResizeFilter(QTRef controller, short action, void* parameter, long window);
// The desktop window's rectangle moved to 0,0, as top, left, bottom, right.
void GetDesktopMovieRect(short* rect);
// Cut or copy the controller's selection to the clipboard through the runtime; -2010 without a
// controller or a selection.
long CutMovieSelection(QTRef controller);
long CopyMovieSelection(QTRef controller);
// Paste, clear and undo through the controller; -2010 without a controller.
long PasteIntoMovie(QTRef controller);
long ClearMovieSelection(QTRef controller);
long UndoMovieEdit(QTRef controller);
// Selects the whole movie in the controller: 0; -1 without a controller, -2010 without a movie.
long SelectWholeMovie(QTRef movie, QTRef controller);
