// The favourites list operations.
#include "app/Favorites.h"

#include "shell/Settings.h"

#include <cstring>

void SplitFavorite(CString entry, CString* pName, CString* pPath)
{
    if (pName != nullptr)
        pName->Empty();
    if (pPath != nullptr)
        pPath->Empty();
    int nBar = entry.Find('|');
    if (nBar < 0)
        return;
    if (pName != nullptr)
        *pName = entry.Left(nBar);
    if (pPath != nullptr)
        *pPath = entry.Mid(nBar + 1);
}

namespace {

CString NameOf(const CString& entry)
{
    CString name;
    SplitFavorite(entry, &name, nullptr);
    return name;
}

CString PathOf(const CString& entry)
{
    CString path;
    SplitFavorite(entry, nullptr, &path);
    return path;
}

} // namespace

void SortFavoriteArray(CStringArray& entries)
{
    BOOL bExchanged = TRUE;
    while (bExchanged) {
        bExchanged = FALSE;
        for (int i = 0; i + 1 < entries.GetSize(); i++) {
            if (std::strcmp(NameOf(entries[i]), NameOf(entries[i + 1])) > 0) {
                CString tmp = entries[i];
                entries[i] = entries[i + 1];
                entries[i + 1] = tmp;
                bExchanged = TRUE;
            }
        }
    }
}

void SortFavorites() { SortFavoriteArray(g_FavoriteList); }

int AddFavorite(CString name, CString path)
{
    if (IsFavoriteName(name))
        return 0;
    g_FavoriteList.Add(name + "|" + path);
    SortFavorites();
    return 1;
}

int RemoveFavorite(CString name)
{
    int nIndex = FindFavoriteByName(name);
    if (nIndex < 0)
        return 0;
    g_FavoriteList.RemoveAt(nIndex);
    return 1;
}

CString GetFavoriteNameByPath(CString path)
{
    for (int i = 0; i < g_FavoriteList.GetSize(); i++) {
        if (PathOf(g_FavoriteList[i]) == path)
            return NameOf(g_FavoriteList[i]);
    }
    return CString();
}

CString GetFavoritePathByName(CString name)
{
    int nIndex = FindFavoriteByName(name);
    return nIndex < 0 ? CString() : PathOf(g_FavoriteList[nIndex]);
}

int IsFavoritePath(CString path)
{
    for (int i = 0; i < g_FavoriteList.GetSize(); i++) {
        if (PathOf(g_FavoriteList[i]) == path)
            return 1;
    }
    return 0;
}

int IsFavoriteName(CString name) { return FindFavoriteByName(name) >= 0 ? 1 : 0; }

int FindFavoriteByName(CString name)
{
    for (int i = 0; i < g_FavoriteList.GetSize(); i++) {
        if (NameOf(g_FavoriteList[i]) == name)
            return i;
    }
    return -1;
}

BOOL IsAcceptableFavoriteName(const CString& name)
{
    if (name.IsEmpty() || name.Find("..") >= 0)
        return FALSE;
    for (int i = 0; i < name.GetLength(); i++) {
        unsigned char ch = static_cast<unsigned char>(name[i]);
        if (ch < 32 || std::strchr("\\/:*?\"<>|", ch) != nullptr)
            return FALSE;
    }
    return TRUE;
}

CString CleanFavoriteName(const CString& name)
{
    CString clean;
    for (int i = 0; i < name.GetLength(); i++) {
        unsigned char ch = static_cast<unsigned char>(name[i]);
        if (ch < 32 || std::strchr("\\/:*?\"<>|", ch) != nullptr)
            continue;
        if (ch == '.' && clean.GetLength() > 0 && clean[clean.GetLength() - 1] == '.')
            continue;
        clean += static_cast<char>(ch);
    }
    clean.TrimLeft();
    clean.TrimRight();
    return clean;
}
