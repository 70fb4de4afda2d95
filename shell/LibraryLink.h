// ILibraryLink: what the picture windows ask of the library bar, which implements it. The windows
// below the application reach the bar only through g_pLibraryLink.
#pragma once
#include <windows.h>

class ILibraryLink {
public:
    // TRUE when a picture can be added to the folder chosen in the library now (not the root, not the
    // trash, not the protected folder while it is locked).
    virtual BOOL CanAddPicture() = 0;
    // Adds a window's picture to that folder (a copy of sourcePath when it is given and unchanged,
    // else written from the picture) and shows it selected in the list. FALSE when nothing was added.
    virtual BOOL AddPictureOfWindow(HGLOBAL hDIB, LPCSTR name, LPCSTR sourcePath) = 0;

protected:
    ~ILibraryLink() = default;
};

// The main frame's library bar; null while there is none.
extern ILibraryLink* g_pLibraryLink;
