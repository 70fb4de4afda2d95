// The steps of the library-search command that need no main window: asking the criteria, preparing
// a search and handling its end.
#pragma once
#include "explorer/SearchDialogs.h"

#include <functional>

// Runs the criteria dialog, starting from the criteria of the last search, until the user gives at
// least one criterion (all empty or blank: string 187 and the dialog again) or cancels. TRUE with
// the four criteria stored, trimmed; FALSE with them left as they were.
BOOL AskSearchCriteria(CWnd* pParent);

// Empties the hits, clears the stop flag and readies the dialog's block for a search of the library
// under root with the stored criteria (the protected folder only when unlocked in this run).
void PrepareSearch(CSearchProgressDlg& dlg, const CString& root, BOOL searchProtected);

// The end of a search: a search ended by an error says why and opens nothing; otherwise, unless it
// was stopped, opens the hits' window (openWindow, which takes them
// from g_arrSearchResults) or, with no hit, shows string 185; then empties the hits in every case.
void FinishSearch(const SearchProgress& block, const std::function<void()>& openWindow);
