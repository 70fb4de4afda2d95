// Path splitting, folder and file tests, folder creation and DOS dates of files.
#include "core/SystemUtil.h"

#include "core/FolderListing.h"

#include <string>

void SplitPath(CString path, CString* folder, CString* name)
{
    const int slash = path.ReverseFind('\\');
    if (slash < 0) {
        if (name != nullptr)
            *name = path;
        return;
    }
    if (folder != nullptr)
        *folder = path.Left(slash);
    if (name != nullptr)
        *name = path.Mid(slash + 1);
}

BOOL HasSubfolders(const CString& folder)
{
    CString pattern = folder;
    if (pattern.IsEmpty() || pattern[pattern.GetLength() - 1] != '\\')
        pattern += '\\';
    pattern += "*.*";
    // A folder whose name the code page cannot spell is not one the trees show.
    CFolderListing listing(pattern, UnspelledNames::Skipped);
    WIN32_FIND_DATAA found;
    while (listing.Next(found)) {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && found.cFileName[0] != '\0'
            && found.cFileName[0] != '.')
            return TRUE;
    }
    return FALSE;
}

namespace {

enum class FileState { Missing, ReadOnly, Free, Busy, Unopenable };

FileState ProbeFile(LPCSTR path)
{
    if (path == nullptr)
        return FileState::Missing;
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return FileState::Missing;
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return FileState::ReadOnly;
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return FileState::Free;
    }
    // Only a sharing or lock violation means another program holds the file; other failures
    // (access denied, a folder) would never clear, and callers would wait for them forever.
    const DWORD error = GetLastError();
    return (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) ? FileState::Busy
                                                                               : FileState::Unopenable;
}

// Index after which path prefixes are tested and created: past "C:" or "\\server\share".
int FirstCreatableIndex(const std::string& path)
{
    if (path.size() >= 2 && path[1] == ':')
        return 2;
    if (path.compare(0, 2, "\\\\") == 0) {
        const size_t server = path.find('\\', 2);
        if (server == std::string::npos)
            return static_cast<int>(path.size());
        const size_t share = path.find('\\', server + 1);
        return static_cast<int>(share == std::string::npos ? path.size() : share);
    }
    return 0;
}

} // namespace

BOOL IsFileInUse(LPCSTR path) { return ProbeFile(path) == FileState::Busy; }

int IsFileMissingOrBusy(LPCSTR path)
{
    const FileState state = ProbeFile(path);
    return (state == FileState::Missing || state == FileState::Busy) ? 1 : 0;
}

BOOL CreateFolderPath(LPCSTR path)
{
    if (path == nullptr)
        return FALSE;
    std::string text(path);
    if (text.size() < 3 || text.size() > MAX_PATH - 1)
        return FALSE;
    if (text.back() == '\\')
        text.pop_back();
    const int first = FirstCreatableIndex(text);
    const int length = static_cast<int>(text.size());
    for (int i = 0; i <= length; ++i) {
        if (i < length && text[i] != '\\')
            continue;
        if (i <= first)
            continue;
        const std::string prefix = text.substr(0, static_cast<size_t>(i));
        WIN32_FIND_DATAA found;
        if (!FindFolderEntry(prefix.c_str(), found)) {
            if (!CreateDirectoryA(prefix.c_str(), nullptr))
                return FALSE;
            continue;
        }
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            return FALSE;
    }
    return TRUE;
}

void GetCurrentDosDateTime(WORD* date, WORD* time)
{
    SYSTEMTIME now;
    FILETIME local;
    GetLocalTime(&now);
    SystemTimeToFileTime(&now, &local);
    WORD d = 0, t = 0;
    FileTimeToDosDateTime(&local, &d, &t);
    if (date != nullptr)
        *date = d;
    if (time != nullptr)
        *time = t;
}

void GetFileDosDateTime(LPCSTR path, WORD* date, WORD* time)
{
    if (path == nullptr)
        return;
    WIN32_FIND_DATAA found;
    if (!FindFolderEntry(path, found))
        return;
    FILETIME local;
    WORD d = 0, t = 0;
    if (!FileTimeToLocalFileTime(&found.ftLastWriteTime, &local) || !FileTimeToDosDateTime(&local, &d, &t))
        return;
    if (date != nullptr)
        *date = d;
    if (time != nullptr)
        *time = t;
}

int CompareFileDates(const CString& first, const CString& second)
{
    WORD date[2] = {0, 0}, time[2] = {0, 0};
    GetFileDosDateTime(first, &date[0], &time[0]);
    GetFileDosDateTime(second, &date[1], &time[1]);
    FILETIME stamp[2] = {};
    for (int i = 0; i < 2; ++i) {
        if (!DosDateTimeToFileTime(date[i], time[i], &stamp[i]))
            stamp[i] = FILETIME{0, 0};
    }
    return CompareFileTime(&stamp[0], &stamp[1]);
}
