// The text of a message box, fitted to the screen.
#pragma once
#include "framework/String.h"

// text as a message box can show it whole on the screen: a box is as wide as the widest run of
// characters without a blank in it, and a path breaks into lines at its blanks, so each path and
// each run wider than a line can be (a long path, with blanks or without, or a long name) keeps its
// beginning and its end around "...". Every message box of the program goes through it
// (CWinApp::DoMessageBox, AfxMessageBox).
CString AfxFitMessageText(LPCSTR text);

// TRUE when the message box of text, once fitted, fits on the screen, taken as no larger than 1,024
// by 768 pixels. Its lines are counted as the narrowest box of the systems would break them, so
// that a text said to fit fits on each.
BOOL AfxMessageFitsScreen(LPCSTR text);
