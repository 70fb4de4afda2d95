// Small system operations shared by the whole program: the common-controls check, bitmap resources
// for the screen depth, path splitting, folder and file tests, folder creation, DOS dates of files,
// and the icon the shell registers for a file type.
#pragma once
#include <windows.h>

#include "framework/String.h"

class CBitmap;
class CPalette;

// ---- Common controls ----

// Checked once per process: reads the file version of COMCTL32.DLL and initialises the rebar and
// extended combo box classes through InitCommonControlsEx when the library exports it. 1 when it
// did, 0 otherwise; later calls return the stored answer.
BOOL InitComCtl32();

// FALSE when InitComCtl32 gives 0; else whether COMCTL32.DLL is version 4.72 or later.
BOOL IsComCtl32AtLeast472();

// The decision of IsComCtl32AtLeast472 for a given state and version (for tests).
BOOL ComCtlVersionAtLeast472(int state, WORD major, WORD minor);

// ---- Resources ----

// Loads bitmap resource `id` of the program into *bitmap as a device bitmap drawn through
// `palette`; on screens of 8 bits per pixel or less the picture is first reduced to the
// application palette's ramp (mode 4 below 5 bits per pixel). FALSE only when the resource is
// missing; a failed conversion leaves *bitmap empty and still gives TRUE.
BOOL LoadBitmapWithPalette(CBitmap* bitmap, UINT id, CPalette* palette);

// The icon that GetFileTypeIcon copies when the shell has none (the program's icon 295). The
// application sets it at start-up and keeps owning it.
void SetFileTypeFallbackIcon(HICON icon);

// A new icon of the file's registered type: the type's DefaultIcon, else the icon of the program
// that opens it, else a copy of the fallback icon (the system's application icon when none is
// set). Never null; the caller destroys it (DestroyIcon).
HICON GetFileTypeIcon(LPCSTR fileName);

// ---- Paths, folders and files ----

// Splits at the last backslash: *folder gets the text before it, *name the text after it. Without
// a backslash *name gets the whole path and *folder is left as it was.
void SplitPath(CString path, CString* folder, CString* name);

// TRUE when the folder holds a subfolder whose name does not begin with '.'.
BOOL HasSubfolders(const CString& folder);

// TRUE only when another program holds the file open so that it cannot be opened for writing
// (a sharing or lock violation). A missing file, a read-only file, a free file, or any other
// failure to open gives FALSE.
BOOL IsFileInUse(LPCSTR path);

// 1 when no file exists at the path or another program holds it (as IsFileInUse); 0 when it is
// read-only or can be opened for writing.
int IsFileMissingOrBusy(LPCSTR path);

// Creates every missing folder along the path, one level after the other (a trailing backslash is
// ignored; the drive "C:" or the "\\server\share" of a network path is never created). FALSE for
// a path shorter than 3 or longer than 259 characters, when a file holds one of the names, or when
// a level cannot be created (the levels made so far stay).
BOOL CreateFolderPath(LPCSTR path);

// ---- DOS dates (local time, two-second steps) ----

// Now.
void GetCurrentDosDateTime(WORD* date, WORD* time);

// Last write of the file or folder found at the path; outputs unchanged when nothing is found.
void GetFileDosDateTime(LPCSTR path, WORD* date, WORD* time);

// -1 when the first file was last written before the second, 0 in the same two-second step, 1 after.
// A file that cannot be found counts as older than any file (DOS date and time 0).
int CompareFileDates(const CString& first, const CString& second);
