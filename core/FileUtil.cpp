// Existence tests, deletion and creation of files and folders, path case and the screen depth.
#include "core/FileUtil.h"

#include "core/FolderListing.h"
#include "core/SystemUtil.h"
#include "framework/File.h"
#include "framework/String.h"
#include "framework/TestSeams.h"

#include <atomic>
#include <cstring>
#include <string>

namespace {

bool IsDotName(const char* name) { return name[0] == 0 || name[0] == '.'; }

bool IsDirectory(const WIN32_FIND_DATAA& data)
{
    return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// A junction or symbolic link: removed as a link, never entered.
bool IsLink(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }

// Deletes one entry found in a folder walk: files with their attributes cleared, linked folders as
// links, real folders through DeleteFolderTree. false when a folder could not be removed.
bool DeleteWalkedEntry(const std::string& folder, const WIN32_FIND_DATAA& data)
{
    std::string path = folder + "\\" + data.cFileName;
    if (!IsDirectory(data)) {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
        return true;
    }
    if (IsLink(data.dwFileAttributes)) {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_DIRECTORY);
        return RemoveDirectoryA(path.c_str()) != FALSE;
    }
    return DeleteFolderTree(path.c_str()) != 0;
}

// Walks folder\*.* (names beginning with '.' skipped); false at the first folder that could not
// be removed.
bool DeleteFolderContents(const std::string& folder)
{
    CFolderListing listing((folder + "\\*.*").c_str());
    WIN32_FIND_DATAA data;
    while (listing.Next(data)) {
        if (IsDotName(data.cFileName))
            continue;
        if (!DeleteWalkedEntry(folder, data))
            return false;
    }
    return true;
}

std::atomic<int> g_screenBitsOverride{0};

} // namespace

int FileExists(LPCSTR path)
{
    if (path == nullptr || *path == 0)
        return 0;
    // A name the code page cannot spell is no file the caller could open by its name.
    CFolderListing listing(path, UnspelledNames::Skipped);
    WIN32_FIND_DATAA data;
    while (listing.Next(data)) {
        if (!IsDirectory(data))
            return 1;
    }
    return 0;
}

int FolderExists(LPCSTR path)
{
    if (path == nullptr || *path == 0)
        return 0;
    if (strlen(path) == 3 && IsCharAlphaA(path[0]) && path[1] == ':' && path[2] == '\\')
        return 1;
    WIN32_FIND_DATAA data;
    return FindFolderEntry(path, data) && IsDirectory(data) ? 1 : 0;
}

int FolderHasSubfolders(LPCSTR folder) { return folder != nullptr && HasSubfolders(folder) ? 1 : 0; }

DWORD GetFileLength(LPCSTR path)
{
    CFile file(path, CFile::modeRead | CFile::shareDenyNone);
    DWORD length = file.GetLength();
    file.Close();
    return length;
}

DWORD GetDriveFreeBytes(int drive)
{
    char root[4] = {char('A' + drive), ':', '\\', 0};
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    if (!GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters))
        return 0xFFFFFFFF;
    return sectorsPerCluster * bytesPerSector * freeClusters;
}

int IsCDROMDrive(int drive)
{
    char root[4] = {char('A' + drive), ':', '\\', 0};
    return GetDriveTypeA(root) == DRIVE_CDROM ? 1 : 0;
}

int GetScreenBitsPerPixel()
{
    int forced = g_screenBitsOverride.load();
    if (forced != 0)
        return forced;
    // Tests that arm the framework's seams choose the depth through its platform table.
    if (AfxTestArmed())
        return AfxPlatform().pfnScreenBitsPerPixel();
    // Measured once per process; a later change of display mode is not followed.
    static const int measured = [] {
        HWND desktop = GetDesktopWindow();
        HDC dc = GetDC(desktop);
        int bits = GetDeviceCaps(dc, PLANES) * GetDeviceCaps(dc, BITSPIXEL);
        ReleaseDC(desktop, dc);
        return bits;
    }();
    return measured;
}

void SetScreenBitsPerPixelForTest(int bits) { g_screenBitsOverride.store(bits); }

void DeleteFileForce(LPCSTR path)
{
    if (!FileExists(path))
        return;
    SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path);
}

int DeleteFilesInFolder(LPCSTR pattern)
{
    if (pattern == nullptr || *pattern == 0)
        return 1;
    std::string text(pattern);
    size_t slash = text.find_last_of("\\/");
    // Without a folder the names are relative, as the pattern was: never the drive's root.
    std::string prefix = slash == std::string::npos ? std::string() : text.substr(0, slash + 1);
    // A file whose name the code page cannot spell cannot be deleted by its name: it stays, and the
    // delete fails rather than leave it unsaid.
    CFolderListing listing(pattern);
    WIN32_FIND_DATAA data;
    while (listing.Next(data)) {
        if (IsDirectory(data) || IsDotName(data.cFileName))
            continue;
        if (HasUnspelledLetter(data.cFileName) || !DeleteFileA((prefix + data.cFileName).c_str()))
            return 0;
    }
    return 1;
}

int DeleteFolderTree(LPCSTR folder)
{
    if (folder == nullptr || *folder == 0)
        return 0;
    std::string path(folder);
    DWORD attributes = GetFileAttributesA(folder);
    // A folder that is itself a link: remove the link, leave what it points to.
    if (attributes != INVALID_FILE_ATTRIBUTES && IsLink(attributes))
        return RemoveDirectoryA(folder) ? 1 : 0;
    // Something inside whose name the code page cannot spell could not be deleted by its name: the
    // tree is left whole rather than half deleted.
    if (TreeHoldsUnspelledName(folder) || !DeleteFolderContents(path))
        return 0;
    // Step out of the folder so that it is not the current directory; the parent of a top-level
    // folder is the drive's root, not the drive's current directory.
    size_t slash = path.find_last_of('\\');
    if (slash != std::string::npos && slash > 0) {
        std::string parent = path.substr(0, slash);
        if (parent.size() == 2 && parent[1] == ':')
            parent += '\\';
        SetCurrentDirectoryA(parent.c_str());
    }
    return RemoveDirectoryA(folder) ? 1 : 0;
}

int EmptyFolder(LPCSTR folder)
{
    if (folder == nullptr || *folder == 0)
        return 0;
    char saved[MAX_PATH + 1] = "";
    DWORD savedLength = GetCurrentDirectoryA(sizeof(saved), saved);
    bool ok = !TreeHoldsUnspelledName(folder) && DeleteFolderContents(folder);
    if (savedLength > 0 && savedLength < sizeof(saved))
        SetCurrentDirectoryA(saved);
    return ok ? 1 : 0;
}

void EnsureFolder(LPCSTR path)
{
    if (path == nullptr || *path == 0)
        return;
    DeleteFileForce(path);
    if (!FolderExists(path))
        CreateDirectoryA(path, nullptr);
}

int CreateProgramSubfolder(LPCSTR name)
{
    char module[MAX_PATH] = "";
    DWORD length = GetModuleFileNameA(nullptr, module, sizeof(module));
    if (length == 0 || length >= sizeof(module) || name == nullptr)
        return 0;
    std::string path(module);
    path.erase(path.find_last_of('\\') + 1);
    path += name;
    DeleteFileForce(path.c_str());
    if (FolderExists(path.c_str()))
        return 1;
    return CreateDirectoryA(path.c_str(), nullptr) ? 1 : 0;
}

int NormalizePathCase(CString& path)
{
    const std::string& text = path.Str();
    if (text.size() < 3 || text.size() >= MAX_PATH || !IsCharAlphaNumericA(text[0]) || text[1] != ':'
        || text[2] != '\\')
        return 0;
    std::string result;
    result += text[0];
    CharUpperBuffA(&result[0], 1);
    result += ':';
    std::string component;
    for (size_t i = 3; i <= text.size(); ++i) {
        char c = i < text.size() ? text[i] : 0;
        if (c != '\\' && c != 0) {
            component += c;
            continue;
        }
        if (component.empty())
            return 0;
        bool upper = false, lower = false;
        for (char ch : component) {
            upper = upper || IsCharUpperA(ch);
            lower = lower || IsCharLowerA(ch);
        }
        if (!(upper && lower)) {
            CharLowerBuffA(&component[0], DWORD(component.size()));
            CharUpperBuffA(&component[0], 1);
        }
        result += '\\';
        result += component;
        component.clear();
    }
    path = result.c_str();
    return 1;
}

CString GetDriveRoot(LPCSTR path)
{
    if (path == nullptr)
        return CString();
    const char* slash = strchr(path, '\\');
    if (slash == nullptr || slash - path < 2)
        return CString();
    CString root(path, int(slash - path));
    if (root[root.GetLength() - 1] == ':')
        root += '\\';
    return root;
}

CString WithSlash(const CString& folder)
{
    if (!folder.IsEmpty() && folder[folder.GetLength() - 1] == '\\')
        return folder;
    return folder + "\\";
}
