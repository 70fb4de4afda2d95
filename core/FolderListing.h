// The one door through which the program reads what a folder holds on disk (the shell's listing of a
// folder's child folders is its twin, core/ShellFolderListing.h). The folder is read in wide
// characters and every name comes out spelled in the ANSI code page letter for letter, or marked as
// one it cannot spell: the ANSI calls would give such a name a best-fit spelling ("Łódź" as "Lodz")
// that names no file on disk, or another one.
#pragma once
#include <windows.h>

#include "framework/CodePageText.h"
#include "framework/String.h"

// Stands, in the names a CFolderListing gives, for each letter the code page cannot hold: no file
// name holds it, so a path that holds it names no file, and every call on that path fails. The same
// mark as in a path that came in from outside the program.
const char kUnspelledLetter = kAfxUnspelledMark;

// TRUE when the name or path holds kUnspelledLetter.
BOOL HasUnspelledLetter(LPCSTR name);
// TRUE for the "." and ".." entries a listing gives.
BOOL IsDotEntry(LPCSTR name);

// What a listing does with a name the code page cannot spell: gives it marked (a list shows it as a
// picture that cannot be read; a delete refuses it), or leaves it out (a walk that would otherwise
// reach its look-alike by its name).
enum class UnspelledNames { Marked, Skipped };

// The entries matching a pattern ("C:\Images\*.*"), as FindFirstFileA and FindNextFileA give them,
// but with kUnspelledLetter in a name for each letter the code page cannot hold (the short name
// likewise), or without such entries.
class CFolderListing {
public:
    explicit CFolderListing(LPCSTR pattern, UnspelledNames unspelled = UnspelledNames::Marked);
    ~CFolderListing();
    CFolderListing(const CFolderListing&) = delete;
    CFolderListing& operator=(const CFolderListing&) = delete;

    // The next entry; FALSE when none is left (or the pattern matched nothing).
    BOOL Next(WIN32_FIND_DATAA& entry);

private:
    HANDLE m_hFind = INVALID_HANDLE_VALUE;
    UnspelledNames m_unspelled;
    BOOL m_bHeld = FALSE; // m_found holds an entry not given yet
    WIN32_FIND_DATAW m_found = {};
};

// The entry of one path, no wildcard in it (a check that a known name exists, its size or date, the
// spelling the disk gives it): as a listing of its folder gives it. FALSE when nothing is there, or
// when the path holds a wildcard (that is a listing).
BOOL FindFolderEntry(LPCSTR path, WIN32_FIND_DATAA& entry);

// TRUE when something inside the folder, at any depth, has a name the code page cannot spell: a walk
// that deletes, copies or measures the tree by names could not reach it, and would reach its
// look-alike instead. Links inside are not entered. *pFound (when given): the first such path, spelled
// with kUnspelledLetter.
BOOL TreeHoldsUnspelledName(LPCSTR folder, CString* pFound = nullptr);
