// ILibraryLink: what the picture windows and the other lists ask of the library bar, which implements
// it. The windows below the application reach the bar only through g_pLibraryLink.
#pragma once
#include "framework/Collections.h"
#include "framework/String.h"

#include <windows.h>

class CWnd;

class ILibraryLink {
public:
    // TRUE when a picture can be added to the folder chosen in the library now (not the root, not the
    // trash, not the protected folder while it is locked).
    virtual BOOL CanAddPicture() = 0;
    // Adds a window's picture to that folder (a copy of sourcePath when it is given and unchanged,
    // else written from the picture) and shows it selected in the list. FALSE when nothing was added.
    virtual BOOL AddPictureOfWindow(HGLOBAL hDIB, LPCSTR name, LPCSTR sourcePath) = 0;

    // ---- pictures dropped from the other lists, and the print of the bar's list ----
    // The folder the bar's list shows.
    virtual CString GetLibraryFolder() = 0;
    // The bar's thumbnail list.
    virtual CWnd* GetPictureList() = 0;
    // Copies a picture file with a new record into pTargetFolder, or into the folder chosen in the
    // library when it is null (refused for the root, the trash and the locked protected folder);
    // *pStored is the stored path. FALSE when nothing was added.
    virtual BOOL AddFileToLibrary(const CString& sourcePath, CString* pStored,
                                  const CString* pTargetFolder) = 0;
    // Reloads the bar's list and selects exactly the pictures of these paths.
    virtual void SelectPicturesByName(const CStringArray* pPaths) = 0;
    // TRUE while the bar is on screen.
    virtual BOOL IsLibraryShown() = 0;
    // Gives the keyboard to the bar: its list or its tree, whichever had it last.
    virtual void FocusLibrary() = 0;
    // TRUE when path is the protected folder or lies inside it ("Images Protégées 2" beside it is
    // another folder).
    virtual BOOL IsProtectedPath(LPCSTR path) = 0;

protected:
    ~ILibraryLink() = default;
};

// The main frame's library bar; null while there is none.
extern ILibraryLink* g_pLibraryLink;
