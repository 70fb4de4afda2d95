// Writing a file so that a failure never leaves a partial file: the bytes go to a temporary file
// in the target's folder, which replaces the target only once it is complete.
#pragma once
#include <windows.h>

// Usage: construct with the target path, write through Handle() (or open TempPath() with stdio
// and close it again), then Commit(). Destroying the object without a successful Commit removes
// the temporary file and leaves the target as it was.
class CSafeFileWrite {
public:
    explicit CSafeFileWrite(LPCSTR target);
    ~CSafeFileWrite();
    CSafeFileWrite(const CSafeFileWrite&) = delete;
    CSafeFileWrite& operator=(const CSafeFileWrite&) = delete;

    // FALSE when no temporary file could be made (missing folder, no write access).
    BOOL IsValid() const { return m_temp[0] != 0; }
    LPCSTR TempPath() const { return m_temp; }

    // The temporary file opened for writing (created on first call and kept until Commit);
    // INVALID_HANDLE_VALUE when it cannot be opened.
    HANDLE Handle();

    // Closes the handle and moves the temporary file over the target. FALSE when that fails (a
    // read-only target is never replaced); the target is then as it was, and the temporary file
    // goes with this object. Commit may be tried again.
    BOOL Commit();

private:
    void CloseHandleIfOpen();
    char m_target[MAX_PATH];
    char m_temp[MAX_PATH];
    HANDLE m_handle;
    bool m_committed;
};
