// The rule every name typed for a folder or a picture follows, in the library and the explorer.
#pragma once
#include "framework/String.h"

#include <windows.h>

// TRUE when a name typed for a folder or a picture can be used as it is: not empty, no path
// separator, no character Windows refuses in a file name, not "." or "..", not ending with a dot or
// a blank.
BOOL IsAcceptableName(const CString& name);
// Shows the refusal of such a name.
void ReportRefusedName();
