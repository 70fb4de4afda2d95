// Putting pictures into a library folder: unchanged, or written as JPEG, PNG or BMP, always under a
// name no file of the folder bears yet (Photo, Photo (copie 1), Photo (copie 2)...). Nothing that is
// already in the folder is ever overwritten.
#pragma once
#include "core/PackedDib.h"
#include "framework/String.h"

// Add modes (the setting "LibBarTypeCompression"); kAddAsBmp is used for pictures that exist only
// in memory.
enum LibraryAddMode { kAddUnchanged = 0, kAddAsJpeg = 1, kAddAsPng = 2, kAddAsBmp = 3 };

// The first n above start for which folder holds no file named format-with-n plus any extension.
// format holds one "%d"; every other '%' is doubled ("%%"). It is filled without printf, so a name
// typed by a user can never act as a conversion.
int MakeUniqueName(const CString& folder, const CString& format, int start);
// The numbered format for a base name (string 20 "%s (copie %%d)" with the base, its own '%'
// doubled): "Photo (copie %d)".
CString NumberedNameFormat(const CString& baseName);
// format with its "%d" replaced by n and "%%" by '%'.
CString FillNumberedName(const CString& format, int n);

// Splits a file name at its first '.': FALSE when it has none or nothing before it.
BOOL SplitAddName(const CString& fileName, CString* pBase, CString* pExt);

// Stores a picture of a window in folder. sourcePath is the file it came from (empty when it exists
// only in memory or was modified: mode 0 then writes a BMP). name gives base and extension when
// there is no source file. On success *pStored (when given) holds the new file's path.
BOOL AddPictureToFolder(PackedDIB dib, const CString& name, const CString& sourcePath, const CString& folder,
                        int mode, CString* pStored);
// Stores a picture file in folder: copied unchanged (modes 0 and others) or read and written as
// JPEG (1) or PNG (2).
BOOL AddFileToFolder(const CString& sourcePath, const CString& folder, int mode, CString* pStored);
