// The shell's listing of a folder's child folders, the twin of core/FolderListing.h for the shell's
// namespace: each child's disk path is read in wide characters, and one the code page cannot spell is
// told apart (the ANSI path would name its look-alike, another folder).
#pragma once
#include <windows.h>

#include <shlobj.h>

#include "framework/CommonDialogs.h"
#include "framework/String.h"

// One child folder of a shell folder: its item ids, what the shell says of it, and its disk path.
struct ShellChildFolder {
    ShellChildFolder() = default;
    ~ShellChildFolder() { Clear(); }
    ShellChildFolder(const ShellChildFolder&) = delete;
    ShellChildFolder& operator=(const ShellChildFolder&) = delete;
    void Clear();

    // Both made with the shell's allocator; freed here unless the caller takes them (setting null).
    LPITEMIDLIST pidlRelative = nullptr;      // within the folder listed
    LPITEMIDLIST pidlAbsolute = nullptr;      // from the desktop
    ULONG attributes = 0;                     // SFGAO_FOLDER, with SFGAO_HASSUBFOLDER as the shell tells it
    AfxItemPath pathKind = AfxItemPath::None; // None: no disk folder (the control panel, a printer)
    CString path;                             // when Found
};

// The child folders of a shell folder (hidden ones too), as its EnumObjects gives them.
class CShellFolderListing {
public:
    CShellFolderListing(IShellFolder* pFolder, LPCITEMIDLIST pidlFolder, HWND hOwner);
    ~CShellFolderListing();
    CShellFolderListing(const CShellFolderListing&) = delete;
    CShellFolderListing& operator=(const CShellFolderListing&) = delete;

    // The next child folder; FALSE when none is left.
    BOOL Next(ShellChildFolder& child);

private:
    IShellFolder* m_pFolder;
    LPCITEMIDLIST m_pidlFolder;
    IEnumIDList* m_pEnum = nullptr;
};
