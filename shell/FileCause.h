// Why a file call failed, in the user's words: the system's error read as one of the common causes
// (a full disk, a read-only file or disk, a file another program holds, a folder or a file of that
// name, a path that does not exist, a refused access, a name too long, not valid or with letters the
// code page cannot spell), any other error in the system's own French words, or by its number when
// the system has none.
#pragma once
#include "framework/String.h"

#include <windows.h>

enum class FileCause {
    Unknown, // no reason given
    DiskFull,
    ReadOnly,
    HeldByOther,
    FolderThere,
    FileThere,
    PathNotFound,
    AccessDenied,
    NameTooLong,
    InvalidName,
    UnspelledName, // a letter the code page cannot spell: the path names no file
    Lasting,       // another cause no retry can cure, said in the system's words
    Other          // another cause, said in the system's words
};

// The cause of error met by a step on path (what is at path tells a folder from a file of that name,
// and a read-only file or one another program holds from a refused access).
FileCause FileCauseOf(DWORD error, LPCSTR path);
// One sentence saying it ("Le disque est plein."); empty for Unknown.
CString FileCauseText(DWORD error, LPCSTR path);
// TRUE when the same step may succeed if tried again: once the disk has room or the other program
// lets the file go, and when the reason is not known. A read-only file, a name taken, too long or not
// valid, a missing path, a refused access and the other lasting causes stay as they are.
BOOL CanSucceedLater(FileCause cause);
