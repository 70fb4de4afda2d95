// CFile (a Win32 file handle with MFC's open flags, throwing CFileException on system errors) and
// CMemFile (the same interface over a growing memory block).
#pragma once
#include "framework/Exceptions.h"
#include "framework/Object.h"
#include "framework/String.h"

class CFile : public CObject {
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000
    };
    enum SeekPosition { begin = 0, current = 1, end = 2 };

    static const HANDLE hFileNull; // INVALID_HANDLE_VALUE: no file open

    CFile();
    // Wraps a handle the caller opened; the handle is not closed by this object.
    explicit CFile(HANDLE hFile);
    // Opens or throws CFileException.
    CFile(LPCSTR lpszFileName, UINT nOpenFlags);
    ~CFile() override;

    // FALSE on failure, with the cause, OS error and name in *pError when given. Never throws.
    // modeCreate alone truncates; with modeNoTruncate an existing file is kept. typeText and typeBinary
    // make no difference: files are always binary here.
    virtual BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);

    // The count read, fewer at the end of the file; throws CFileException on a system error only.
    virtual UINT Read(void* lpBuf, UINT nCount);
    // Writes everything or throws CFileException with the system's reason (diskFull, with
    // ERROR_DISK_FULL, when it wrote nothing more and gave none).
    virtual void Write(const void* lpBuf, UINT nCount);
    // The new position from the start; throws CFileException(badSeek) before the start.
    virtual LONG Seek(LONG lOff, UINT nFrom);
    DWORD SeekToEnd() { return static_cast<DWORD>(Seek(0, end)); }
    void SeekToBegin() { Seek(0, begin); }
    virtual DWORD GetPosition() const;
    virtual DWORD GetLength() const;
    virtual void SetLength(DWORD dwNewLen);
    virtual void Flush();
    // Close throws on a failed close; Abort closes quietly and never throws.
    virtual void Close();
    virtual void Abort();

    CString GetFilePath() const { return m_strFileName; }
    CString GetFileName() const;  // the last part of the path
    CString GetFileTitle() const; // the last part without its extension
    void SetFilePath(LPCSTR lpszNewName) { m_strFileName = lpszNewName; }

    // Throw CFileException on failure.
    static void Rename(LPCSTR lpszOldName, LPCSTR lpszNewName);
    static void Remove(LPCSTR lpszFileName);

    HANDLE m_hFile;

protected:
    BOOL m_bCloseOnDelete;
    CString m_strFileName;
};

class CMemFile : public CFile {
    DECLARE_DYNAMIC(CMemFile)
public:
    // An empty file that grows in steps of nGrowBytes.
    explicit CMemFile(UINT nGrowBytes = 1024);
    // A file over the caller's buffer (see Attach).
    CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    ~CMemFile() override;

    // Uses the caller's buffer, which stays the caller's; with nGrowBytes 0 the file holds nBufferSize
    // bytes and cannot grow (a longer write throws CMemoryException); otherwise the file starts empty
    // and moves to a block of its own when it outgrows the buffer.
    void Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    // The current block, which the caller then owns when the file had allocated it (free() it);
    // the file is left empty.
    BYTE* Detach();

    UINT Read(void* lpBuf, UINT nCount) override;
    void Write(const void* lpBuf, UINT nCount) override;
    LONG Seek(LONG lOff, UINT nFrom) override;
    DWORD GetPosition() const override { return m_nPosition; }
    DWORD GetLength() const override { return m_nFileSize; }
    void SetLength(DWORD dwNewLen) override;
    void Flush() override {}
    void Close() override;
    void Abort() override { Close(); }

    // The bytes written so far, without giving them up (for tests and clipboard copies).
    const BYTE* GetBufferPtr() const { return m_lpBuffer; }

private:
    void GrowTo(DWORD dwNewSize);
    void FreeOwned();

    BYTE* m_lpBuffer = nullptr;
    UINT m_nBufferSize = 0;
    UINT m_nFileSize = 0;
    UINT m_nPosition = 0;
    UINT m_nGrowBytes = 1024;
    BOOL m_bOwned = FALSE; // m_lpBuffer came from malloc here
};
