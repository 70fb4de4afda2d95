#include "core/FolderListing.h"

#include "framework/CodePageText.h"

#include <cstring>
#include <string>

namespace {

// The name in the code page, no letter replaced by a look-alike: kUnspelledLetter for each one the
// code page has not.
void Spell(const WCHAR* wide, char* out, int size)
{
    const char unspelled[2] = {kUnspelledLetter, '\0'};
    if (::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, out, size, unspelled, nullptr) == 0)
        out[0] = '\0';
}

void Spell(const WIN32_FIND_DATAW& found, WIN32_FIND_DATAA& entry)
{
    entry.dwFileAttributes = found.dwFileAttributes;
    entry.ftCreationTime = found.ftCreationTime;
    entry.ftLastAccessTime = found.ftLastAccessTime;
    entry.ftLastWriteTime = found.ftLastWriteTime;
    entry.nFileSizeHigh = found.nFileSizeHigh;
    entry.nFileSizeLow = found.nFileSizeLow;
    entry.dwReserved0 = found.dwReserved0;
    entry.dwReserved1 = found.dwReserved1;
    Spell(found.cFileName, entry.cFileName, sizeof(entry.cFileName));
    Spell(found.cAlternateFileName, entry.cAlternateFileName, sizeof(entry.cAlternateFileName));
}

} // namespace

BOOL HasUnspelledLetter(LPCSTR name)
{
    return name != nullptr && std::strchr(name, kUnspelledLetter) != nullptr;
}

BOOL IsDotEntry(LPCSTR name) { return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0; }

CFolderListing::CFolderListing(LPCSTR pattern, UnspelledNames unspelled) : m_unspelled(unspelled)
{
    const std::wstring wide = AfxCodePageToWide(pattern);
    if (wide.empty())
        return;
    m_hFind = ::FindFirstFileW(wide.c_str(), &m_found);
    m_bHeld = m_hFind != INVALID_HANDLE_VALUE;
}

CFolderListing::~CFolderListing()
{
    if (m_hFind != INVALID_HANDLE_VALUE)
        ::FindClose(m_hFind);
}

BOOL CFolderListing::Next(WIN32_FIND_DATAA& entry)
{
    while (m_bHeld) {
        Spell(m_found, entry);
        m_bHeld = ::FindNextFileW(m_hFind, &m_found);
        if (m_unspelled == UnspelledNames::Marked || !HasUnspelledLetter(entry.cFileName))
            return TRUE;
    }
    return FALSE;
}

BOOL FindFolderEntry(LPCSTR path, WIN32_FIND_DATAA& entry)
{
    if (path == nullptr || *path == '\0' || std::strpbrk(path, "*?") != nullptr)
        return FALSE;
    return CFolderListing(path).Next(entry);
}

BOOL TreeHoldsUnspelledName(LPCSTR folder, CString* pFound)
{
    const std::string base(folder != nullptr ? folder : "");
    if (base.empty())
        return FALSE;
    CFolderListing listing((base + "\\*").c_str());
    WIN32_FIND_DATAA entry;
    while (listing.Next(entry)) {
        if (IsDotEntry(entry.cFileName))
            continue;
        const std::string path = base + "\\" + entry.cFileName;
        if (HasUnspelledLetter(entry.cFileName)) {
            if (pFound != nullptr)
                *pFound = path.c_str();
            return TRUE;
        }
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            && !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
            && TreeHoldsUnspelledName(path.c_str(), pFound))
            return TRUE;
    }
    return FALSE;
}
