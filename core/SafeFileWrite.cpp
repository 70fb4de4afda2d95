// Writing through a temporary file beside the target.
#include "core/SafeFileWrite.h"

#include <cstring>

CSafeFileWrite::CSafeFileWrite(LPCSTR target) : m_handle(INVALID_HANDLE_VALUE), m_committed(false)
{
    m_target[0] = 0;
    m_temp[0] = 0;
    if (target == nullptr || strlen(target) >= MAX_PATH)
        return;
    strcpy(m_target, target);
    // The temporary file must be on the same volume for the final move: use the target's folder.
    char folder[MAX_PATH];
    strcpy(folder, target);
    char* slash = strrchr(folder, '\\');
    char* other = strrchr(folder, '/');
    if (other > slash)
        slash = other;
    if (slash == nullptr)
        strcpy(folder, ".");
    else if (slash == folder || (slash == folder + 2 && folder[1] == ':'))
        slash[1] = 0; // keep the root's backslash
    else
        *slash = 0;
    if (!GetTempFileNameA(folder, "tsr", 0, m_temp))
        m_temp[0] = 0;
}

CSafeFileWrite::~CSafeFileWrite()
{
    CloseHandleIfOpen();
    if (!m_committed && m_temp[0]) {
        SetFileAttributesA(m_temp, FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(m_temp);
    }
}

HANDLE CSafeFileWrite::Handle()
{
    if (m_handle == INVALID_HANDLE_VALUE && m_temp[0] && !m_committed) {
        m_handle = CreateFileA(m_temp, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    return m_handle;
}

void CSafeFileWrite::CloseHandleIfOpen()
{
    if (m_handle != INVALID_HANDLE_VALUE) {
        CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
    }
}

BOOL CSafeFileWrite::Commit()
{
    if (m_temp[0] == 0 || m_committed)
        return FALSE;
    CloseHandleIfOpen();
    // A read-only target stays, as it would for a direct write (some systems would replace it).
    DWORD attributes = GetFileAttributesA(m_target);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return FALSE;
    if (!MoveFileExA(m_temp, m_target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return FALSE; // the destructor removes the temporary file
    m_committed = true;
    return TRUE;
}
