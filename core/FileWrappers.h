// Thin wrappers over the Win32 file calls with the access and sharing modes the picture code uses.
#pragma once
#include <windows.h>

// GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING. INVALID_HANDLE_VALUE on failure.
HANDLE OpenFileForRead(LPCSTR path);
// GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS (an existing file is truncated).
HANDLE CreateFileForWrite(LPCSTR path);
// GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING.
HANDLE OpenFileForReadWrite(LPCSTR path);

// TRUE only when the call succeeds and exactly count bytes were transferred.
BOOL ReadFileExact(HANDLE file, void* buffer, DWORD count);
BOOL WriteFileExact(HANDLE file, const void* buffer, DWORD count);
// Tests: from now on, writes through WriteFileExact behave as on a disk that fills up once this many
// more bytes have been written (the crossing write stores what fits, then fails with
// ERROR_DISK_FULL). A negative value lifts it (the default).
void SetWriteFileRoom(LONGLONG bytes);
// The system's error of the last write through WriteFileExact that failed on this thread since the
// last call (0 when none did): a writer that gives up cleans its files away, and with that the reason.
DWORD TakeWriteFileError();
// The same, left for the caller that takes it (a writer saying why it failed to its own caller).
DWORD PeekWriteFileError();
// Leaves error as that of a failed write: for a writer that gives up on a file it could not make, so
// that its caller says why as for a write that failed.
void KeepWriteFileError(DWORD error);

// SetFilePointer from the start, the current position or the end; the new position
// (INVALID_SET_FILE_POINTER on failure).
DWORD SeekFromStart(HANDLE file, LONG offset);
DWORD SeekFromCurrent(HANDLE file, LONG offset);
DWORD SeekFromEnd(HANDLE file, LONG offset);
DWORD GetFilePosition(HANDLE file);

// Low 32 bits of the size of the file at the path (no wildcard); 0 when nothing is found.
DWORD GetFileSizeByName(LPCSTR path);

// Closes a handle returned above; INVALID_HANDLE_VALUE and null are ignored.
void CloseFileHandle(HANDLE file);
