// The text of a message box, fitted to the screen.
#pragma once
#include "framework/String.h"

// text as a message box can show it whole on the screen: a box is as wide as the longest run of
// characters without a blank in it, so each run longer than a path can be shown at (a long path or
// name) keeps its beginning and its end around "...". Every message box of the program goes through
// it (CWinApp::DoMessageBox, AfxMessageBox).
CString AfxFitMessageText(LPCSTR text);
