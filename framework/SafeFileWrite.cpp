// Writing through a temporary file beside the target.
#include "framework/SafeFileWrite.h"

#include <atomic>
#include <cstring>

namespace {

const size_t kLongestTempName = 12;
const int kNameAttempts = 256;
const char kNameDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";

std::atomic<unsigned> g_nameCounter{0};

// A well-mixed value for attempt n, different across threads, processes and calls.
unsigned NameSeed(unsigned n)
{
    unsigned v = GetTickCount() ^ (GetCurrentProcessId() << 16) ^ GetCurrentThreadId() ^ (n * 0x9E3779B9u);
    v ^= v >> 16;
    v *= 0x7FEB352Du;
    v ^= v >> 15;
    v *= 0x846CA68Bu;
    v ^= v >> 16;
    return v;
}

// A candidate of `length` characters: '~' then base-36 digits (a single digit for length 1).
void MakeName(char* out, size_t length, unsigned seed)
{
    size_t i = 0;
    if (length > 1)
        out[i++] = '~';
    unsigned long long v = (static_cast<unsigned long long>(seed) << 32) | NameSeed(seed + 1);
    for (; i < length; ++i) {
        out[i] = kNameDigits[v % 36];
        v /= 36;
        if (v == 0)
            v = NameSeed(seed + static_cast<unsigned>(i) + 7);
    }
    out[length] = 0;
}

} // namespace

CSafeFileWrite::CSafeFileWrite(LPCSTR target)
    : m_handle(INVALID_HANDLE_VALUE), m_committed(false), m_error(ERROR_INVALID_NAME)
{
    m_target[0] = 0;
    m_temp[0] = 0;
    if (target == nullptr || target[0] == 0)
        return;
    char full[MAX_PATH];
    LPSTR name = nullptr;
    const DWORD length = GetFullPathNameA(target, sizeof(full), full, &name);
    if (length == 0 || length >= sizeof(full)) {
        m_error = length == 0 ? GetLastError() : ERROR_FILENAME_EXCED_RANGE;
        return;
    }
    if (name == nullptr || *name == 0)
        return;
    // The temporary file must be on the same volume for the final move: use the target's folder,
    // and a name no longer than the target's so that its path fits wherever the target's does.
    const size_t nameLength = strlen(name);
    const size_t folderLength = static_cast<size_t>(name - full);
    const size_t tempLength = nameLength < kLongestTempName ? nameLength : kLongestTempName;
    char candidate[MAX_PATH];
    memcpy(candidate, full, folderLength);
    const unsigned base = g_nameCounter.fetch_add(kNameAttempts) * 0x10001u;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        char* tempName = candidate + folderLength;
        MakeName(tempName, tempLength, NameSeed(base + static_cast<unsigned>(attempt)));
        if (lstrcmpiA(tempName, name) == 0)
            continue;
        HANDLE claimed =
            CreateFileA(candidate, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (claimed != INVALID_HANDLE_VALUE) {
            CloseHandle(claimed);
            strcpy(m_temp, candidate);
            strcpy(m_target, full);
            m_error = ERROR_SUCCESS;
            return;
        }
        m_error = GetLastError();
        if (m_error != ERROR_FILE_EXISTS && m_error != ERROR_ALREADY_EXISTS && m_error != ERROR_ACCESS_DENIED)
            return; // a missing folder or a full disk: another name would fare no better
    }
}

CSafeFileWrite::~CSafeFileWrite() { Abandon(); }

void CSafeFileWrite::Abandon()
{
    CloseHandleIfOpen();
    if (!m_committed && m_temp[0]) {
        SetFileAttributesA(m_temp, FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(m_temp);
        m_temp[0] = 0;
    }
}

HANDLE CSafeFileWrite::Handle()
{
    if (m_handle == INVALID_HANDLE_VALUE && m_temp[0] && !m_committed) {
        m_handle = CreateFileA(m_temp, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (m_handle == INVALID_HANDLE_VALUE)
            m_error = GetLastError();
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
    if (m_temp[0] == 0 || m_committed) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    CloseHandleIfOpen();
    // A read-only target stays, as it would for a direct write (some systems would replace it).
    DWORD attributes = GetFileAttributesA(m_target);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        m_error = ERROR_ACCESS_DENIED;
        SetLastError(m_error);
        return FALSE;
    }
    if (!MoveFileExA(m_temp, m_target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        m_error = GetLastError();
        return FALSE; // the destructor removes the temporary file
    }
    m_error = ERROR_SUCCESS;
    m_committed = true;
    return TRUE;
}
