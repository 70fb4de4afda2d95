#include "shell/FileCause.h"

#include "core/FolderListing.h"
#include "core/SystemUtil.h"
#include "framework/FrameworkTexts.h"
#include "resources/library-store-ids.h"

namespace {

DWORD AttributesOf(LPCSTR path) { return path && *path ? GetFileAttributesA(path) : INVALID_FILE_ATTRIBUTES; }

BOOL IsFolderAt(LPCSTR path)
{
    const DWORD a = AttributesOf(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

BOOL IsReadOnlyFileAt(LPCSTR path)
{
    const DWORD a = AttributesOf(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY) && (a & FILE_ATTRIBUTE_READONLY);
}

// The system's own words for an error it has no common cause for, in French as the rest of the
// message: a system that has no French words for it gives its number.
CString SystemText(DWORD error)
{
    char* buffer = nullptr;
    const DWORD n = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        error, MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH), reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
    CString text = n != 0 && buffer != nullptr ? buffer : "";
    if (buffer != nullptr)
        LocalFree(buffer);
    text.TrimRight(" \r\n");
    if (text.IsEmpty())
        text.Format(AfxLoadText(IDS_CAUSE_SYSTEM_ERROR), static_cast<unsigned long>(error));
    return text;
}

} // namespace

FileCause FileCauseOf(DWORD error, LPCSTR path)
{
    // Whatever the system answered for it, such a path names no file.
    if (error != ERROR_SUCCESS && HasUnspelledLetter(path))
        return FileCause::UnspelledName;
    switch (error) {
    case ERROR_SUCCESS:
        return FileCause::Unknown;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return FileCause::DiskFull;
    case ERROR_FILE_READ_ONLY:
    case ERROR_WRITE_PROTECT:
        return FileCause::ReadOnly;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
        return FileCause::HeldByOther;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
        return IsFolderAt(path) ? FileCause::FolderThere : FileCause::FileThere;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return FileCause::PathNotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_NETWORK_ACCESS_DENIED:
        // The system refuses a read-only file, and the replace of a file another program holds open,
        // with the same error as a file it forbids.
        if (IsReadOnlyFileAt(path))
            return FileCause::ReadOnly;
        return IsFileInUse(path) ? FileCause::HeldByOther : FileCause::AccessDenied;
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BUFFER_OVERFLOW:
        return FileCause::NameTooLong;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY:
        return FileCause::InvalidName;
    case ERROR_INVALID_FUNCTION:
    case ERROR_NOT_SAME_DEVICE:
    case ERROR_NOT_SUPPORTED:
    case ERROR_CANNOT_MAKE:
    case ERROR_INVALID_PARAMETER:
    case ERROR_DIR_NOT_EMPTY:
    case ERROR_BAD_FILE_TYPE:
    case ERROR_FILE_TOO_LARGE:
    case ERROR_FILE_CORRUPT:
    case ERROR_DISK_CORRUPT:
    case ERROR_CANT_RESOLVE_FILENAME:
        return FileCause::Lasting;
    default:
        return FileCause::Other;
    }
}

CString FileCauseText(DWORD error, LPCSTR path)
{
    switch (FileCauseOf(error, path)) {
    case FileCause::Unknown:
        return CString();
    case FileCause::DiskFull:
        return AfxLoadText(IDS_CAUSE_DISK_FULL);
    case FileCause::ReadOnly:
        return AfxLoadText(error == ERROR_WRITE_PROTECT ? IDS_CAUSE_WRITE_PROTECTED : IDS_CAUSE_READ_ONLY);
    case FileCause::HeldByOther:
        return AfxLoadText(IDS_CAUSE_HELD);
    case FileCause::FolderThere:
        return AfxLoadText(IDS_CAUSE_FOLDER_THERE);
    case FileCause::FileThere:
        return AfxLoadText(IDS_CAUSE_FILE_THERE);
    case FileCause::PathNotFound:
        return AfxLoadText(error == ERROR_FILE_NOT_FOUND ? IDS_CAUSE_FILE_NOT_FOUND
                                                         : IDS_CAUSE_PATH_NOT_FOUND);
    case FileCause::AccessDenied:
        return AfxLoadText(IDS_CAUSE_ACCESS_DENIED);
    case FileCause::NameTooLong:
        return AfxLoadText(IDS_CAUSE_NAME_TOO_LONG);
    case FileCause::InvalidName:
        return AfxLoadText(IDS_CAUSE_INVALID_NAME);
    case FileCause::UnspelledName:
        return AfxLoadText(IDS_CAUSE_UNSPELLED_NAME);
    case FileCause::Lasting:
    case FileCause::Other:
        break;
    }
    return SystemText(error);
}

BOOL CanSucceedLater(FileCause cause)
{
    return cause == FileCause::DiskFull || cause == FileCause::HeldByOther || cause == FileCause::Unknown
           || cause == FileCause::Other;
}
