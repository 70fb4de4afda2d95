// Win32 file calls with fixed access and sharing modes.
#include "core/FileWrappers.h"

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
    DWORD done = 0;
    return WriteFile(file, buffer, count, &done, nullptr) && done == count;
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
    HANDLE find = path ? FindFirstFileA(path, &data) : INVALID_HANDLE_VALUE;
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    FindClose(find);
    return data.nFileSizeLow;
}

void CloseFileHandle(HANDLE file)
{
    if (file != INVALID_HANDLE_VALUE && file != nullptr)
        CloseHandle(file);
}
