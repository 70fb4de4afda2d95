// Writing a file so that a failure never leaves a partial file: the bytes go to a temporary file
// in the target's folder, which replaces the target only once it is complete.
#pragma once
#include <windows.h>

// Usage: construct with the target path, write through Handle() (or open TempPath() with stdio
// and close it again), then Commit(). Destroying the object without a successful Commit removes
// the temporary file and leaves the target as it was.
//
// The temporary file's name is never longer than the target's own name (at most 12 characters,
// starting with '~' when it has two or more), so every target whose full path fits in MAX_PATH
// can be written, however long its folder. The name is claimed with CREATE_NEW, so an existing
// file is never taken over.
class CSafeFileWrite {
public:
    explicit CSafeFileWrite(LPCSTR target);
    ~CSafeFileWrite();
    CSafeFileWrite(const CSafeFileWrite&) = delete;
    CSafeFileWrite& operator=(const CSafeFileWrite&) = delete;

    // FALSE when no temporary file could be made (missing folder, no write access, a target
    // without a file name or whose full path does not fit in MAX_PATH).
    BOOL IsValid() const { return m_temp[0] != 0; }
    LPCSTR TempPath() const { return m_temp; }
    // The full path of the target, as the final move uses it ("" when not valid).
    LPCSTR TargetPath() const { return m_target; }

    // The temporary file opened for writing (created on first call and kept until Commit);
    // INVALID_HANDLE_VALUE when it cannot be opened.
    HANDLE Handle();

    // Closes the handle and moves the temporary file over the target. FALSE when that fails (a
    // read-only target is never replaced); the target is then as it was, and the temporary file
    // goes with this object. Commit may be tried again. GetLastError tells why it failed.
    BOOL Commit();

    // Removes the temporary file now (closing the handle), as the destructor would.
    void Abandon();

    // The system's error that made the temporary file fail to be made or opened, or the last Commit
    // fail; ERROR_SUCCESS while neither failed. It outlives the clean-up that follows a failure.
    DWORD Error() const { return m_error; }

private:
    void CloseHandleIfOpen();
    char m_target[MAX_PATH];
    char m_temp[MAX_PATH];
    HANDLE m_handle;
    bool m_committed;
    DWORD m_error;
};
