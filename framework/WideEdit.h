// A field where a path or a name is typed or pasted, made a window of wide characters. An edit control
// keeps its text in the characters of the call that created it: one made by CreateWindowExA, or from
// a dialog template by CreateDialogIndirectParamA or DialogBoxIndirectParamA (as every dialog and
// property page of this program is), keeps it in the code page, one made by CreateWindowExW in wide
// characters. In a field of the code page a letter it lacks, typed or pasted, is already its look-alike
// ("L" for a barred L) when the program reads it, naming another file. (Wine keeps every edit's text
// in wide characters; Windows does not.) Typed letters reach such a field whole only through a message
// loop that takes them in wide characters (CWinThread::PumpMessage) and no subclass of the code page.
#pragma once
#include <windows.h>

// Replaces the edit hEdit, made in the code page, by one made in wide characters in its place: the
// same id, styles, position, font, text, limit, margins, place among its siblings (so in the tab
// order too) and the focus if it had it; hEdit is destroyed. Returns the field to use from now on:
// the new one, or hEdit itself when it is already a window of wide characters, is no edit, or belongs
// to an object of the program (which subclassed it in the code page and keeps it).
HWND AfxMakeEditWide(HWND hEdit);
