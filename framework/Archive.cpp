// CArchive: buffering, primitive values, strings and the run-time class and object tags.
#include "framework/Archive.h"

#include <cstring>
#include <exception>

namespace {

// Tags of the object stream, as MFC writes them.
constexpr WORD kNullTag = 0;
constexpr WORD kNewClassTag = 0xFFFF;
constexpr WORD kClassTag = 0x8000;
constexpr DWORD kBigClassTag = 0x80000000;
constexpr WORD kBigObjectTag = 0x7FFF;
constexpr DWORD kMaxMapCount = 0x3FFFFFFE;

constexpr UINT kMinBufSize = 128;

} // namespace

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void* lpBuf)
    : m_pFile(pFile), m_nMode(nMode), m_bUserBuf(lpBuf != nullptr)
{
    m_nBufSize = nBufSize > static_cast<int>(kMinBufSize) ? static_cast<UINT>(nBufSize) : kMinBufSize;
    if (lpBuf && nBufSize < static_cast<int>(kMinBufSize)) {
        // A caller's buffer too small to be useful: use our own.
        m_bUserBuf = FALSE;
        lpBuf = nullptr;
    }
    m_lpBufStart = m_bUserBuf ? static_cast<BYTE*>(lpBuf) : new BYTE[m_nBufSize];
    m_lpBufCur = m_lpBufStart;
    m_lpBufMax = IsLoading() ? m_lpBufStart : m_lpBufStart + m_nBufSize;
    if (pFile)
        m_strFileName = pFile->GetFilePath();
    m_loadArray.push_back(LoadEntry{nullptr, nullptr, 0});
}

CArchive::~CArchive()
{
    // A storing archive left open still writes what it holds, unless the owner is unwinding from a
    // failure (then the file is about to be thrown away) or asked not to. A destructor cannot report
    // a failed write: code that cares calls Close().
    if (m_pFile && IsStoring() && !(m_nMode & bNoFlushOnDelete) && std::uncaught_exceptions() == 0) {
        try {
            Flush();
        } catch (const CException&) {
        }
    }
    if (!m_bUserBuf)
        delete[] m_lpBufStart;
}

void CArchive::CheckLoading() const
{
    if (!IsLoading())
        AfxThrowArchiveException(CArchiveException::writeOnly, m_strFileName);
    if (m_pFile == nullptr)
        AfxThrowArchiveException(CArchiveException::generic, m_strFileName);
}

void CArchive::CheckStoring() const
{
    if (!IsStoring())
        AfxThrowArchiveException(CArchiveException::readOnly, m_strFileName);
    if (m_pFile == nullptr)
        AfxThrowArchiveException(CArchiveException::generic, m_strFileName);
}

void CArchive::Write(const void* lpBuf, UINT nMax)
{
    CheckStoring();
    const BYTE* src = static_cast<const BYTE*>(lpBuf);
    while (nMax > 0) {
        UINT space = static_cast<UINT>(m_lpBufMax - m_lpBufCur);
        if (space == 0) {
            Flush();
            // Large blocks go straight to the file once the buffer is empty.
            if (nMax >= m_nBufSize) {
                m_pFile->Write(src, nMax);
                return;
            }
            continue;
        }
        UINT n = nMax < space ? nMax : space;
        std::memcpy(m_lpBufCur, src, n);
        m_lpBufCur += n;
        src += n;
        nMax -= n;
    }
}

UINT CArchive::Read(void* lpBuf, UINT nMax)
{
    CheckLoading();
    BYTE* dst = static_cast<BYTE*>(lpBuf);
    UINT total = 0;
    while (nMax > 0) {
        UINT avail = static_cast<UINT>(m_lpBufMax - m_lpBufCur);
        if (avail == 0) {
            if (nMax >= m_nBufSize) {
                // Large blocks come straight from the file.
                while (nMax > 0) {
                    UINT got = m_pFile->Read(dst, nMax);
                    if (got == 0)
                        return total;
                    dst += got;
                    total += got;
                    nMax -= got;
                }
                return total;
            }
            m_lpBufCur = m_lpBufMax = m_lpBufStart;
            UINT got = m_pFile->Read(m_lpBufStart, m_nBufSize);
            if (got == 0)
                return total;
            m_lpBufMax = m_lpBufStart + got;
            continue;
        }
        UINT n = nMax < avail ? nMax : avail;
        std::memcpy(dst, m_lpBufCur, n);
        m_lpBufCur += n;
        dst += n;
        total += n;
        nMax -= n;
    }
    return total;
}

void CArchive::ReadExact(void* lpBuf, UINT nCount)
{
    if (IsLoading() && m_pFile && static_cast<UINT>(m_lpBufMax - m_lpBufCur) >= nCount) {
        std::memcpy(lpBuf, m_lpBufCur, nCount);
        m_lpBufCur += nCount;
        return;
    }
    if (Read(lpBuf, nCount) != nCount)
        AfxThrowArchiveException(CArchiveException::endOfFile, m_strFileName);
}

void CArchive::FillBuffer(UINT nBytesNeeded)
{
    CheckLoading();
    UINT unread = static_cast<UINT>(m_lpBufMax - m_lpBufCur);
    if (unread >= nBytesNeeded)
        return;
    if (nBytesNeeded > m_nBufSize)
        AfxThrowArchiveException(CArchiveException::generic, m_strFileName);
    std::memmove(m_lpBufStart, m_lpBufCur, unread);
    m_lpBufCur = m_lpBufStart;
    m_lpBufMax = m_lpBufStart + unread;
    while (static_cast<UINT>(m_lpBufMax - m_lpBufCur) < nBytesNeeded) {
        UINT got = m_pFile->Read(m_lpBufMax, m_nBufSize - static_cast<UINT>(m_lpBufMax - m_lpBufStart));
        if (got == 0)
            AfxThrowArchiveException(CArchiveException::endOfFile, m_strFileName);
        m_lpBufMax += got;
    }
}

void CArchive::Flush()
{
    if (m_pFile == nullptr)
        return;
    if (IsStoring()) {
        if (m_lpBufCur != m_lpBufStart) {
            UINT n = static_cast<UINT>(m_lpBufCur - m_lpBufStart);
            m_lpBufCur = m_lpBufStart; // a failed write must not be retried by the destructor
            m_pFile->Write(m_lpBufStart, n);
        }
    } else if (m_lpBufCur != m_lpBufMax) {
        // Give back what was read ahead, so that the file stands where the archive's reader stopped.
        LONG unread = static_cast<LONG>(m_lpBufMax - m_lpBufCur);
        m_lpBufCur = m_lpBufMax = m_lpBufStart;
        m_pFile->Seek(-unread, CFile::current);
    }
}

void CArchive::Close()
{
    Flush();
    m_pFile = nullptr;
}

void CArchive::Abort()
{
    m_pFile = nullptr;
    m_lpBufCur = m_lpBufStart;
    m_lpBufMax = IsLoading() ? m_lpBufStart : m_lpBufStart + m_nBufSize;
}

DWORD CArchive::GetBytesLeft() const
{
    if (!IsLoading() || m_pFile == nullptr)
        return 0;
    DWORD buffered = static_cast<DWORD>(m_lpBufMax - m_lpBufCur);
    DWORD length = m_pFile->GetLength();
    DWORD position = m_pFile->GetPosition();
    return buffered + (length > position ? length - position : 0);
}

void CArchive::WriteString(LPCSTR lpsz)
{
    if (lpsz)
        Write(lpsz, static_cast<UINT>(std::strlen(lpsz)));
}

BOOL CArchive::ReadString(CString& rString)
{
    CheckLoading();
    std::string line;
    bool any = false;
    for (;;) {
        if (m_lpBufCur == m_lpBufMax) {
            m_lpBufCur = m_lpBufMax = m_lpBufStart;
            UINT got = m_pFile->Read(m_lpBufStart, m_nBufSize);
            if (got == 0)
                break;
            m_lpBufMax = m_lpBufStart + got;
        }
        char c = static_cast<char>(*m_lpBufCur++);
        any = true;
        if (c == '\n')
            break;
        line += c;
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    rString = CString(line.data(), static_cast<int>(line.size()));
    return any ? TRUE : FALSE;
}

LPSTR CArchive::ReadString(LPSTR lpsz, UINT nMax)
{
    CheckLoading();
    if (lpsz == nullptr)
        return nullptr;
    UINT n = 0;
    bool any = false;
    while (n < nMax) {
        if (m_lpBufCur == m_lpBufMax) {
            m_lpBufCur = m_lpBufMax = m_lpBufStart;
            UINT got = m_pFile->Read(m_lpBufStart, m_nBufSize);
            if (got == 0)
                break;
            m_lpBufMax = m_lpBufStart + got;
        }
        char c = static_cast<char>(*m_lpBufCur++);
        any = true;
        if (c == '\n') {
            if (n > 0 && lpsz[n - 1] == '\r')
                --n;
            lpsz[n++] = '\n';
            break;
        }
        lpsz[n++] = c;
    }
    lpsz[n] = '\0';
    return any ? lpsz : nullptr;
}

void CArchive::MapObject(const CObject* pOb)
{
    if (m_nMapCount >= kMaxMapCount)
        AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
    if (IsStoring())
        m_storeMap[pOb] = m_nMapCount++;
}

void CArchive::WriteClass(const CRuntimeClass* pClassRef)
{
    CheckStoring();
    if (pClassRef == nullptr || pClassRef->m_wSchema == 0xFFFF)
        AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
    auto it = m_storeMap.find(pClassRef);
    if (it != m_storeMap.end()) {
        DWORD index = it->second;
        if (index < kBigObjectTag) {
            *this << static_cast<WORD>(kClassTag | index);
        } else {
            *this << kBigObjectTag;
            *this << static_cast<DWORD>(kBigClassTag | index);
        }
        return;
    }
    *this << kNewClassTag;
    pClassRef->Store(*this);
    if (m_nMapCount >= kMaxMapCount)
        AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
    m_storeMap[pClassRef] = m_nMapCount++;
}

void CArchive::WriteObject(const CObject* pOb)
{
    CheckStoring();
    if (pOb == nullptr) {
        *this << kNullTag;
        return;
    }
    auto it = m_storeMap.find(pOb);
    if (it != m_storeMap.end()) {
        DWORD index = it->second;
        if (index < kBigObjectTag) {
            *this << static_cast<WORD>(index);
        } else {
            *this << kBigObjectTag;
            *this << index;
        }
        return;
    }
    WriteClass(pOb->GetRuntimeClass());
    // Mapped before its own data, so that the object's members can refer back to it.
    MapObject(pOb);
    const_cast<CObject*>(pOb)->Serialize(*this);
}

CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* pClassRefRequested, UINT* pSchema, DWORD* pObTag)
{
    CheckLoading();
    WORD wTag = 0;
    *this >> wTag;
    DWORD obTag = 0;
    if (wTag == kBigObjectTag)
        *this >> obTag;
    else
        obTag = (static_cast<DWORD>(wTag & kClassTag) << 16) | (wTag & ~kClassTag);

    if (!(obTag & kBigClassTag)) {
        if (pObTag == nullptr)
            AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
        *pObTag = obTag;
        return nullptr;
    }

    CRuntimeClass* pClassRef = nullptr;
    UINT nSchema = 0;
    if (wTag == kNewClassTag) {
        pClassRef = CRuntimeClass::Load(*this, &nSchema);
        if (pClassRef == nullptr)
            AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
        if ((pClassRef->m_wSchema & ~VERSIONABLE_SCHEMA) != nSchema
            && !(pClassRef->m_wSchema & VERSIONABLE_SCHEMA))
            AfxThrowArchiveException(CArchiveException::badSchema, m_strFileName);
        if (m_loadArray.size() >= kMaxMapCount)
            AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
        m_loadArray.push_back(LoadEntry{pClassRef, nullptr, nSchema});
    } else {
        DWORD index = obTag & ~kBigClassTag;
        if (index == 0 || index >= m_loadArray.size() || m_loadArray[index].pClass == nullptr)
            AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
        pClassRef = m_loadArray[index].pClass;
        nSchema = m_loadArray[index].nSchema;
    }
    if (pClassRefRequested && !pClassRef->IsDerivedFrom(pClassRefRequested))
        AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
    if (pSchema)
        *pSchema = nSchema;
    return pClassRef;
}

CObject* CArchive::ReadObject(const CRuntimeClass* pClassRefRequested)
{
    CheckLoading();
    UINT nSchema = 0;
    DWORD obTag = 0;
    CRuntimeClass* pClassRef = ReadClass(pClassRefRequested, &nSchema, &obTag);
    if (pClassRef == nullptr) {
        // A reference to an object read earlier (0 is the null pointer).
        if (obTag >= m_loadArray.size() || (obTag != 0 && m_loadArray[obTag].pObject == nullptr))
            AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
        CObject* pOb = m_loadArray[obTag].pObject;
        if (pOb && pClassRefRequested && !pOb->IsKindOf(pClassRefRequested))
            AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
        return pOb;
    }

    CObject* pOb = pClassRef->CreateObject();
    if (pOb == nullptr)
        AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
    if (m_loadArray.size() >= kMaxMapCount) {
        delete pOb;
        AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
    }
    // Mapped before its own data, so that its members can refer back to it.
    size_t index = m_loadArray.size();
    m_loadArray.push_back(LoadEntry{nullptr, pOb, nSchema});
    UINT nSchemaSave = m_nObjectSchema;
    m_nObjectSchema = nSchema;
    try {
        pOb->Serialize(*this);
    } catch (...) {
        m_loadArray[index].pObject = nullptr;
        m_nObjectSchema = nSchemaSave;
        delete pOb;
        throw;
    }
    m_nObjectSchema = nSchemaSave;
    return pOb;
}

void CArchive::SerializeClass(const CRuntimeClass* pClassRef)
{
    if (IsStoring())
        WriteClass(pClassRef);
    else
        ReadClass(pClassRef);
}

UINT CArchive::GetObjectSchema()
{
    UINT n = m_nObjectSchema;
    m_nObjectSchema = static_cast<UINT>(-1);
    return n;
}

CArchive& operator<<(CArchive& ar, const CString& string)
{
    DWORD len = static_cast<DWORD>(string.GetLength());
    if (len < 0xFF) {
        ar << static_cast<BYTE>(len);
    } else if (len < 0xFFFE) {
        ar << static_cast<BYTE>(0xFF) << static_cast<WORD>(len);
    } else {
        ar << static_cast<BYTE>(0xFF) << static_cast<WORD>(0xFFFF) << len;
    }
    ar.Write(static_cast<LPCSTR>(string), len);
    return ar;
}

namespace {

// The length prefix; *pWide is set when the string was stored as UTF-16 (marker 0xFF 0xFFFE).
DWORD ReadStringLength(CArchive& ar, bool* pWide)
{
    *pWide = false;
    for (int pass = 0; pass < 2; ++pass) {
        BYTE bLen = 0;
        ar >> bLen;
        if (bLen < 0xFF)
            return bLen;
        WORD wLen = 0;
        ar >> wLen;
        if (wLen < 0xFFFE)
            return wLen;
        if (wLen == 0xFFFF) {
            DWORD dwLen = 0;
            ar >> dwLen;
            return dwLen;
        }
        if (*pWide)
            break; // a second marker is not a string
        *pWide = true;
    }
    AfxThrowArchiveException(CArchiveException::generic, ar.m_strFileName);
}

} // namespace

CArchive& operator>>(CArchive& ar, CString& string)
{
    bool wide = false;
    DWORD len = ReadStringLength(ar, &wide);
    ULONGLONG bytes = wide ? static_cast<ULONGLONG>(len) * 2 : len;
    // A short read is caught below anyway; asking the file how much is left only matters before a
    // large allocation.
    if (bytes > 0x7FFFFFFF || (bytes > 4096 && bytes > ar.GetBytesLeft()))
        AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
    if (!wide) {
        CString result;
        char* p = result.GetBufferSetLength(static_cast<int>(len));
        if (len && ar.Read(p, len) != len)
            AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
        result.ReleaseBuffer(static_cast<int>(len));
        string = std::move(result);
        return ar;
    }
    std::vector<wchar_t> text(static_cast<size_t>(len) + 1, L'\0');
    if (len && ar.Read(text.data(), static_cast<UINT>(bytes)) != bytes)
        AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
    string = CString(text.data());
    return ar;
}

CArchive& operator<<(CArchive& ar, const CObject* pOb)
{
    ar.WriteObject(pOb);
    return ar;
}

CArchive& operator>>(CArchive& ar, CObject*& pOb)
{
    pOb = ar.ReadObject(nullptr);
    return ar;
}

CArchive& operator>>(CArchive& ar, const CObject*& pOb)
{
    pOb = ar.ReadObject(nullptr);
    return ar;
}
