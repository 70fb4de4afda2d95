// Win32 file calls with fixed access and sharing modes.
#include "core/FileWrappers.h"

#include "core/FolderListing.h"

#include <atomic>

namespace {
// Bytes still writable under the test's full-disk limit; negative: no limit.
std::atomic<LONGLONG> g_writeRoom{-1};

// Takes up to count bytes of the room left; count when there is no limit.
DWORD TakeRoom(DWORD count)
{
    LONGLONG room = g_writeRoom.load();
    for (;;) {
        if (room < 0)
            return count;
        const LONGLONG granted = room < count ? room : count;
        if (g_writeRoom.compare_exchange_weak(room, room - granted))
            return static_cast<DWORD>(granted);
    }
}

// The error of the last failed write of this thread.
thread_local DWORD t_writeError = 0;

BOOL WriteFailed(DWORD error)
{
    t_writeError = error;
    SetLastError(error);
    return FALSE;
}

} // namespace

void SetWriteFileRoom(LONGLONG bytes) { g_writeRoom = bytes < 0 ? -1 : bytes; }

DWORD TakeWriteFileError()
{
    const DWORD error = t_writeError;
    t_writeError = 0;
    return error;
}

DWORD PeekWriteFileError() { return t_writeError; }

void KeepWriteFileError(DWORD error) { t_writeError = error; }

HANDLE OpenFileForRead(LPCSTR path)
{
    if (path == nullptr)
        return INVALID_HANDLE_VALUE;
    return CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
}

HANDLE CreateFileForWrite(LPCSTR path)
{
    if (path == nullptr)
        return INVALID_HANDLE_VALUE;
    return CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

HANDLE OpenFileForReadWrite(LPCSTR path)
{
    if (path == nullptr)
        return INVALID_HANDLE_VALUE;
    return CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, 0, nullptr);
}

BOOL ReadFileExact(HANDLE file, void* buffer, DWORD count)
{
    DWORD done = 0;
    return ReadFile(file, buffer, count, &done, nullptr) && done == count;
}

BOOL WriteFileExact(HANDLE file, const void* buffer, DWORD count)
{
    const DWORD allowed = TakeRoom(count);
    DWORD done = 0;
    if (!WriteFile(file, buffer, allowed, &done, nullptr))
        return WriteFailed(GetLastError());
    if (allowed < count || done < count)
        return WriteFailed(ERROR_DISK_FULL);
    return TRUE;
}

DWORD SeekFromStart(HANDLE file, LONG offset) { return SetFilePointer(file, offset, nullptr, FILE_BEGIN); }

DWORD SeekFromCurrent(HANDLE file, LONG offset)
{
    return SetFilePointer(file, offset, nullptr, FILE_CURRENT);
}

DWORD SeekFromEnd(HANDLE file, LONG offset) { return SetFilePointer(file, offset, nullptr, FILE_END); }

DWORD GetFilePosition(HANDLE file) { return SetFilePointer(file, 0, nullptr, FILE_CURRENT); }

DWORD GetFileSizeByName(LPCSTR path)
{
    WIN32_FIND_DATAA data;
    return FindFolderEntry(path, data) ? data.nFileSizeLow : 0;
}

void CloseFileHandle(HANDLE file)
{
    if (file != INVALID_HANDLE_VALUE && file != nullptr)
        CloseHandle(file);
}
