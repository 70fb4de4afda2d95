// The doors by which a path comes into the program from outside it: the files dropped on a window, the
// command line, a path typed or pasted in a field, the folder a file dialog leaves current. Each reads
// the path in wide characters, before the code page can bend it: an ANSI read gives a letter the code
// page lacks its nearest look-alike ("Łodz" as "Lodz"), the path of another file, or of none. A path the
// code page cannot spell is refused in the file dialogs' words, named with a question mark for each
// letter it lacks, and nothing is done with it. (The file dialogs guard their own names:
// framework/FileNameGuard.h.)
#pragma once
#include "framework/String.h"

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

// Why the program cannot take the path: the first of its parts with a letter the code page lacks,
// named by the path up to it, in the folder refusal ("Le nom du dossier '...' contient des lettres...")
// when more of the path follows it or it names a folder on disk (or bFolder), else in the file refusal.
// Empty when the code page spells the whole path.
CString AfxUnspelledPathRefusal(LPCWSTR path, BOOL bFolder = FALSE);
// Why the program cannot take the name of a file (or, bFolder, a folder) typed in one of its fields: the
// file dialogs' refusal naming it, with a question mark for each letter the code page lacks. Empty when
// the code page spells it.
CString AfxUnspelledNameRefusal(LPCWSTR name, BOOL bFolder);
// Likewise for a path given in the code page with kAfxUnspelledMark for each letter it lacks (such a
// path names nothing on disk: its last part is taken for a file's unless bFolder).
CString AfxMarkedPathRefusal(LPCSTR path, BOOL bFolder = FALSE);

// TRUE and the path in the code page in *pPath; or, when the code page cannot spell it, FALSE once its
// refusal is shown in a box (*pPath untouched).
BOOL AfxTakeWidePath(LPCWSTR path, CString* pPath, BOOL bFolder = FALSE);

// The text of a window (a field where a path is typed or pasted), in wide characters. An edit field
// made in wide characters keeps what is typed or pasted into it whole (framework/WideEdit.h), and under
// Wine even a field of the code page does, which answers a plain read in the code page: its text is
// asked of the edit class's own wide procedure, past that conversion and any subclass of the code page.
std::wstring AfxGetWindowTextWide(HWND hWnd);
// That procedure, for an edit field of the code page; null for any other window.
WNDPROC AfxEditWideProcedure(HWND hWnd);
// The path typed in a field, in the code page; empty when the code page cannot spell it (a file dialog
// started from it would open at its look-alike).
CString AfxGetSpelledWindowText(HWND hWnd);

// The paths of the files dropped, in the order given; those the code page cannot spell are left out,
// refused together in one box (files of one such folder once, for the folder). The drop is not
// released.
std::vector<CString> AfxDroppedPaths(HDROP hDropInfo);

// What follows the program's name on a command line (a pointer into it), as the system cuts it for
// WinMain: the name (a blank between quotes is part of it), then the blanks after it.
LPCWSTR AfxCommandLineTail(LPCWSTR commandLine);

// TRUE and the process's current folder in *pFolder; FALSE, *pFolder untouched, when the code page
// cannot spell it (a file dialog leaves current the last folder it showed, whatever its name).
BOOL AfxGetCurrentFolder(CString* pFolder);
