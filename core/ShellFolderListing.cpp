#include "core/ShellFolderListing.h"

void ShellChildFolder::Clear()
{
    ::CoTaskMemFree(pidlRelative);
    ::CoTaskMemFree(pidlAbsolute);
    pidlRelative = nullptr;
    pidlAbsolute = nullptr;
    attributes = 0;
    pathKind = AfxItemPath::None;
    path.Empty();
}

CShellFolderListing::CShellFolderListing(IShellFolder* pFolder, LPCITEMIDLIST pidlFolder, HWND hOwner)
    : m_pFolder(pFolder), m_pidlFolder(pidlFolder)
{
    if (m_pFolder == nullptr
        || FAILED(m_pFolder->EnumObjects(hOwner, SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN, &m_pEnum)))
        m_pEnum = nullptr;
}

CShellFolderListing::~CShellFolderListing()
{
    if (m_pEnum != nullptr)
        m_pEnum->Release();
}

BOOL CShellFolderListing::Next(ShellChildFolder& child)
{
    child.Clear();
    if (m_pEnum == nullptr)
        return FALSE;
    LPITEMIDLIST pidl = nullptr;
    ULONG fetched = 0;
    while (m_pEnum->Next(1, &pidl, &fetched) == S_OK && pidl != nullptr) {
        LPCITEMIDLIST items[1] = {pidl};
        ULONG attributes = SFGAO_HASSUBFOLDER | SFGAO_FOLDER;
        if (FAILED(m_pFolder->GetAttributesOf(1, items, &attributes)) || !(attributes & SFGAO_FOLDER)) {
            ::CoTaskMemFree(pidl);
            pidl = nullptr;
            continue;
        }
        child.pidlRelative = pidl;
        child.pidlAbsolute = ::ILCombine(m_pidlFolder, pidl);
        child.attributes = attributes;
        // The path is read in wide characters: the ANSI one would spell a missing letter with a
        // look-alike, the path of another folder.
        child.pathKind = child.pidlAbsolute != nullptr ? AfxGetItemIdListPath(child.pidlAbsolute, &child.path)
                                                       : AfxItemPath::None;
        return TRUE;
    }
    return FALSE;
}
