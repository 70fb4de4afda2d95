// The favourites: named shortcuts to folders and pictures, held in g_FavoriteList as "name|path"
// entries sorted by name (byte order), and the check every name typed for a favourite goes through.
#pragma once
#include "framework/Collections.h"
#include "framework/String.h"

// Splits an entry at its first "|": the name before it, the path after it; an entry without "|"
// gives two empty texts. Both outputs are emptied first.
void SplitFavorite(CString entry, CString* pName, CString* pPath);
// 0 and no change when a favourite has that name; else appends "name|path", sorts, returns 1.
int AddFavorite(CString name, CString path);
// 1 after removing the first favourite of that name, else 0.
int RemoveFavorite(CString name);
// Sorts g_FavoriteList by name.
void SortFavorites();
// Sorts any favourites array by name: neighbours exchanged until a pass exchanges nothing, so that
// equal names keep their order.
void SortFavoriteArray(CStringArray& entries);
CString GetFavoriteNameByPath(CString path);
CString GetFavoritePathByName(CString name);
int IsFavoritePath(CString path);
int IsFavoriteName(CString name);
// Index of the first favourite with that name, else -1.
int FindFavoriteByName(CString name);

// Whether a typed favourite name may be stored: not empty, no "|" (it would cut the stored entry),
// no path separator, no "..", no character Windows forbids in file names. FALSE for a refused name.
BOOL IsAcceptableFavoriteName(const CString& name);
// A proposed name made acceptable: the characters the check refuses are dropped, ".." becomes ".",
// blanks are trimmed.
CString CleanFavoriteName(const CString& name);
