// CBufFile: a framework file read byte by byte through a 32767-byte buffer, for decoders that take
// one byte at a time.
#pragma once
#include "framework/File.h"

class CBufFile : public CFile {
    DECLARE_DYNAMIC(CBufFile)
public:
    enum { kBufferSize = 32767 };

    // An unopened file (open it with Open) or one around a handle the caller opened and closes.
    CBufFile();
    explicit CBufFile(HANDLE hFile);
    // Opens through the framework (throws CFileException on failure) and keeps `extra`.
    CBufFile(LPCSTR lpszFileName, UINT nOpenFlags, int extra);
    ~CBufFile() override;

    // The next byte of the file. The buffer is refilled with the next 32767 bytes when it is used
    // up; bytes past the end of the file read as 0. Throws CFileException on a system error.
    BYTE ReadByte();

    // Empties the buffer, then seeks. A seek from CFile::current counts from the byte ReadByte
    // would return next, not from the read-ahead position of the file. Returns the new position;
    // throws CFileException(badSeek) before the start of the file.
    LONG Seek(LONG lOff, UINT nFrom) override;

    // Position of the byte ReadByte returns next (past the end while it is reading zeros).
    DWORD GetLogicalPosition() const;

    int GetExtra() const { return m_extra; }

private:
    int m_extra = 0;
    BYTE m_buffer[kBufferSize];
    WORD m_position = kBufferSize; // next byte in the buffer; kBufferSize means empty
    UINT m_filled = 0;             // bytes the last refill got from the file
};
