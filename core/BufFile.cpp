// Buffered byte reader over a framework file.
#include "core/BufFile.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CBufFile, CFile)

CBufFile::CBufFile() { memset(m_buffer, 0, sizeof(m_buffer)); }

CBufFile::CBufFile(HANDLE hFile) : CFile(hFile) { memset(m_buffer, 0, sizeof(m_buffer)); }

CBufFile::CBufFile(LPCSTR lpszFileName, UINT nOpenFlags, int extra)
    : CFile(lpszFileName, nOpenFlags), m_extra(extra)
{
    memset(m_buffer, 0, sizeof(m_buffer));
}

CBufFile::~CBufFile() = default;

BYTE CBufFile::ReadByte()
{
    if (m_position >= kBufferSize) {
        // What the last refill did not reach stays 0: the end of the file reads as zeros.
        memset(m_buffer, 0, sizeof(m_buffer));
        m_filled = 0;
        m_filled = Read(m_buffer, kBufferSize);
        m_position = 0;
    }
    return m_buffer[m_position++];
}

DWORD CBufFile::GetLogicalPosition() const
{
    if (m_position >= kBufferSize)
        return GetPosition();
    // The file stands m_filled bytes past the buffer's start.
    return GetPosition() - m_filled + m_position;
}

LONG CBufFile::Seek(LONG lOff, UINT nFrom)
{
    if (nFrom == current && m_position < kBufferSize) {
        // From the logical position: back over what was read ahead, forward over zeros read past
        // the end.
        lOff += static_cast<LONG>(m_position) - static_cast<LONG>(m_filled);
    }
    memset(m_buffer, 0, sizeof(m_buffer));
    m_position = kBufferSize;
    m_filled = 0;
    return CFile::Seek(lOff, nFrom);
}
