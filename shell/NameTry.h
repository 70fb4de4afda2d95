// The OK of the dialogs that ask a name (renames, new folder): the caller's try runs while the dialog
// is open, so a name it refuses stays for the user to mend.
#pragma once
#include "framework/Dialog.h"

#include <functional>

// Tries a typed name: FALSE when refused, having said why.
using NameTry = std::function<BOOL(const CString& name)>;

// OK of such a dialog: its data taken, then name tried; a refused one stays selected in the field
// nEditId and the dialog stays; else the dialog ends with IDOK. An empty try takes every name.
void EndIfNameAccepted(CDialog& dlg, int nEditId, const NameTry& tryName, const CString& name);
