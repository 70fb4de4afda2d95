// The file dialogs' guard on a typed name: a name whose full path would not fit in MAX_PATH characters
// is refused, with a message, before the system's dialog builds that path (Wine's dialog copies it into
// a buffer of MAX_PATH characters on its stack); so is a path with a letter the code page lacks, in the
// name typed or in the folder shown (one the user went into from the dialog's list), which the program
// would get spelled with other letters, naming another file.
#pragma once
#include <windows.h>

#include <commdlg.h>

// From now on the file dialog hFileDlg (the parent of an Explorer-style dialog's hook dialog) takes its
// OK command (Enter, its button, a double-click on a file) only for names whose full path fits: the
// folder shown, then each name typed (several between quotes), with the extension the dialog adds to
// a name that has none (lpofn's filter or default extension), and only for paths the code page can
// spell, the folder's read in wide characters. A name refused stays typed and selected, and a message
// says why. Ends with the dialog.
void AfxGuardFileDialogNames(HWND hFileDlg, const OPENFILENAMEA* lpofn);
