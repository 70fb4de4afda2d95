// The recent list's helper: what a path typed in the "Récents" box resolves to. The combo itself is filled
// and followed by CMainFrame (FillRecentCombo, SyncRecentCombo).
#pragma once
#include "framework/String.h"

enum TypedPathResult {
    kTypedPathEmpty,   // nothing typed: nothing happens
    kTypedPathOpen,    // *pResolved is the path to open (and to show in the box)
    kTypedPathNoDrive, // separators but no drive: the typed-path message
    kTypedPathTooLong, // the composed path does not fit MAX_PATH: the too-long message
};

// Resolves text typed in the "Récents" box: blanks trimmed, "/" made "\"; a bare drive gets its
// backslash and an upper-case letter, any other path loses its final backslashes; a text without separators
// is taken in currentDir; a path with a drive gets an upper-case letter and the disk's spelling of what
// exists, the rest as typed.
TypedPathResult ResolveTypedPath(const CString& typed, const CString& currentDir, CString* pResolved);

// The recent list names each path once, whatever its case: promoting a path takes out every entry
// naming it and puts it first; forgetting it takes them all out. The combo is not refilled.
void PromoteRecentPath(LPCSTR path);
void ForgetRecentPath(LPCSTR path);
