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

} // namespace

BOOL HasUnspelledLetter(LPCSTR name)
{
    return name != nullptr && std::strchr(name, kUnspelledLetter) != nullptr;
}

CFolderListing::CFolderListing(LPCSTR pattern)
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
    if (!m_bHeld)
        return FALSE;
    entry.dwFileAttributes = m_found.dwFileAttributes;
    entry.ftCreationTime = m_found.ftCreationTime;
    entry.ftLastAccessTime = m_found.ftLastAccessTime;
    entry.ftLastWriteTime = m_found.ftLastWriteTime;
    entry.nFileSizeHigh = m_found.nFileSizeHigh;
    entry.nFileSizeLow = m_found.nFileSizeLow;
    entry.dwReserved0 = m_found.dwReserved0;
    entry.dwReserved1 = m_found.dwReserved1;
    Spell(m_found.cFileName, entry.cFileName, sizeof(entry.cFileName));
    Spell(m_found.cAlternateFileName, entry.cAlternateFileName, sizeof(entry.cAlternateFileName));
    m_bHeld = ::FindNextFileW(m_hFind, &m_found);
    return TRUE;
}
