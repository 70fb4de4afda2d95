// Listing a folder as the ANSI calls list it, with the names the ANSI code page cannot spell told
// apart: those calls give such a name a best-fit spelling ("Łódź" as "Lodz") that names no file on
// disk, or another one.
#pragma once
#include <windows.h>

#include "framework/String.h"

// Stands, in the names a CFolderListing gives, for each letter the code page cannot hold: no file
// name holds it, so a path that holds it names no file, and every call on that path fails.
const char kUnspelledLetter = '|';

// TRUE when the name or path holds kUnspelledLetter.
BOOL HasUnspelledLetter(LPCSTR name);

// The entries matching a pattern ("C:\Images\*.*"), as FindFirstFileA and FindNextFileA give them,
// but with kUnspelledLetter in a name for each letter the code page cannot hold (the short name
// likewise).
class CFolderListing {
public:
    explicit CFolderListing(LPCSTR pattern);
    ~CFolderListing();
    CFolderListing(const CFolderListing&) = delete;
    CFolderListing& operator=(const CFolderListing&) = delete;

    // The next entry; FALSE when none is left (or the pattern matched nothing).
    BOOL Next(WIN32_FIND_DATAA& entry);

private:
    HANDLE m_hFind = INVALID_HANDLE_VALUE;
    BOOL m_bHeld = FALSE; // m_found holds an entry not given yet
    WIN32_FIND_DATAW m_found = {};
};
