// What the still-picture and animated-GIF documents do alike: opening with the load-error
// dialog's retries, the title rules, and writing the picture shown to a file.
#pragma once
#include "framework/String.h"

#include <functional>

class CDocument;

// Tries load on path, then on each path the load-error dialog gives, as often as the user
// retries; one wait cursor for the whole open. *pLoadedPath receives the path that loaded. FALSE
// when the user gives up.
BOOL OpenWithRetry(LPCSTR lpszPathName, const std::function<BOOL(const CString&)>& load,
                   CString* pLoadedPath);

// The title of a picture document: the file's title in upper case, or naming the library folder
// the picture was opened from. Nothing changes when the path has no title.
void SetPictureTitle(CDocument* pDoc, LPCSTR lpszPathName, const CString& strFolderTitle);

// Writes the packed DIB to path in the format its extension names (jpg/jpe..., png, bmp), with the
// wait cursor. Only a picture actually written moves the document to the file: its path, a title
// as any file opened outside the library (*pFolderTitle emptied) and the head of the recent list;
// a failure tells the user why (the JPEG writer asks nothing first), offering a retry where one can
// succeed (a file another program holds, a full disk), and changes nothing. TRUE when written.
BOOL SavePictureDocumentAs(CDocument* pDoc, HGLOBAL hDIB, LPCSTR path, CString* pFolderTitle);
