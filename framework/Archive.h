// CArchive: buffered binary serialisation over a CFile, byte-compatible with MFC's archive format
// (little-endian values, the 1/3/7-byte string length prefix, run-time class and object tags).
#pragma once
#include "framework/Exceptions.h"
#include "framework/File.h"
#include "framework/Object.h"
#include "framework/String.h"

#include <unordered_map>
#include <vector>

class CDocument;

class CArchive {
public:
    enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2, bNoByteSwap = 4 };

    // nMode is store or load (optionally with bNoFlushOnDelete). lpBuf, when given, is a caller's
    // buffer of nBufSize bytes used in place of one allocated here.
    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = nullptr);
    // Flushes a storing archive that was neither closed nor aborted; errors are then lost, so close
    // archives explicitly.
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const { return (m_nMode & load) != 0; }
    BOOL IsStoring() const { return (m_nMode & load) == 0; }
    BOOL IsBufferEmpty() const { return m_lpBufCur == m_lpBufMax; }
    CFile* GetFile() const { return m_pFile; }

    // Raw bytes. Read returns the count read, fewer only at the end of the file.
    UINT Read(void* lpBuf, UINT nMax);
    void Write(const void* lpBuf, UINT nMax);

    // Storing: writes the buffer to the file. Loading: gives back to the file what the buffer read ahead.
    void Flush();
    // Flush, then detach from the file (which stays open).
    void Close();
    // Detach without flushing; never throws.
    void Abort();

    // Bytes still to be read: buffered plus what the file holds after its position. Loaders use it to
    // refuse a length that claims more than is there before they allocate.
    DWORD GetBytesLeft() const;

    // Text lines: WriteString writes the text as it is; ReadString reads up to and without "\n" or
    // "\r\n", FALSE at the end of the file with nothing read.
    void WriteString(LPCSTR lpsz);
    BOOL ReadString(CString& rString);
    LPSTR ReadString(LPSTR lpsz, UINT nMax);

    // Objects with run-time class records (null pointers, back references and class tags included).
    void WriteObject(const CObject* pOb);
    // Throws CArchiveException: badClass for an unknown class or one not derived from
    // pClassRefRequested, badSchema for a schema the class cannot read, badIndex for a bad reference.
    CObject* ReadObject(const CRuntimeClass* pClassRefRequested);
    void WriteClass(const CRuntimeClass* pClassRef);
    CRuntimeClass* ReadClass(const CRuntimeClass* pClassRefRequested = nullptr, UINT* pSchema = nullptr,
                             DWORD* pObTag = nullptr);
    void SerializeClass(const CRuntimeClass* pClassRef);

    // Schema of the object being read by ReadObject (the stored one), -1 outside of it.
    UINT GetObjectSchema();
    void SetObjectSchema(UINT nSchema) { m_nObjectSchema = nSchema; }

    CArchive& operator<<(BYTE by) { return Put(by); }
    CArchive& operator<<(WORD w) { return Put(w); }
    CArchive& operator<<(LONG l) { return Put(l); }
    CArchive& operator<<(DWORD dw) { return Put(dw); }
    CArchive& operator<<(float f) { return Put(f); }
    CArchive& operator<<(double d) { return Put(d); }
    CArchive& operator<<(int i) { return Put(static_cast<LONG>(i)); }
    CArchive& operator<<(short w) { return Put(static_cast<WORD>(w)); }
    CArchive& operator<<(char ch) { return Put(static_cast<BYTE>(ch)); }
    CArchive& operator<<(unsigned u) { return Put(static_cast<LONG>(u)); }
    CArchive& operator<<(LONGLONG ll) { return Put(ll); }
    CArchive& operator<<(ULONGLONG ull) { return Put(ull); }

    CArchive& operator>>(BYTE& by) { return Get(by); }
    CArchive& operator>>(WORD& w) { return Get(w); }
    CArchive& operator>>(LONG& l) { return Get(l); }
    CArchive& operator>>(DWORD& dw) { return Get(dw); }
    CArchive& operator>>(float& f) { return Get(f); }
    CArchive& operator>>(double& d) { return Get(d); }
    CArchive& operator>>(int& i) { return GetAs<LONG>(i); }
    CArchive& operator>>(short& w) { return GetAs<WORD>(w); }
    CArchive& operator>>(char& ch) { return GetAs<BYTE>(ch); }
    CArchive& operator>>(unsigned& u) { return GetAs<LONG>(u); }
    CArchive& operator>>(LONGLONG& ll) { return Get(ll); }
    CArchive& operator>>(ULONGLONG& ull) { return Get(ull); }

    // Extra data an owner hangs on the archive (the document being read or written).
    CDocument* m_pDocument = nullptr;
    // Schema of the object being read (see GetObjectSchema).
    UINT m_nObjectSchema = static_cast<UINT>(-1);
    CString m_strFileName;

private:
    template <typename T> CArchive& Put(T value)
    {
        Write(&value, sizeof(value));
        return *this;
    }
    template <typename T> CArchive& Get(T& value)
    {
        ReadExact(&value, sizeof(value));
        return *this;
    }
    template <typename Stored, typename T> CArchive& GetAs(T& value)
    {
        Stored stored;
        ReadExact(&stored, sizeof(stored));
        value = static_cast<T>(stored);
        return *this;
    }
    // Reads exactly nCount bytes or throws CArchiveException(endOfFile).
    void ReadExact(void* lpBuf, UINT nCount);
    void FillBuffer(UINT nBytesNeeded);
    void CheckLoading() const;
    void CheckStoring() const;
    void MapObject(const CObject* pOb);

    struct LoadEntry {
        CRuntimeClass* pClass; // set for a class entry
        CObject* pObject;      // set for an object entry (index 0 is the null object)
        UINT nSchema;
    };

    CFile* m_pFile;
    UINT m_nMode;
    BOOL m_bUserBuf;
    UINT m_nBufSize;
    BYTE* m_lpBufStart;
    BYTE* m_lpBufCur;
    BYTE* m_lpBufMax;
    std::vector<LoadEntry> m_loadArray;
    std::unordered_map<const void*, DWORD> m_storeMap;
    DWORD m_nMapCount = 1;
};

// Strings in the length-prefix form: a length below 255 as one byte; below 65534 as 0xFF and a WORD;
// otherwise 0xFF, 0xFFFF and a DWORD; then the bytes, no terminator. Loading refuses a length that
// claims more bytes than the archive still holds (CArchiveException endOfFile).
CArchive& operator<<(CArchive& ar, const CString& string);
CArchive& operator>>(CArchive& ar, CString& string);

CArchive& operator<<(CArchive& ar, const CObject* pOb);
CArchive& operator>>(CArchive& ar, CObject*& pOb);
CArchive& operator>>(CArchive& ar, const CObject*& pOb);
