// Run-time classes of the collections and the archive form of CObArray and CStringArray.
#include "framework/Collections.h"

#include "framework/Archive.h"

IMPLEMENT_SERIAL(CObArray, CObject, 0)
IMPLEMENT_DYNAMIC(CPtrArray, CObject)
IMPLEMENT_SERIAL(CStringArray, CObject, 0)
IMPLEMENT_DYNAMIC(CDWordArray, CObject)
IMPLEMENT_DYNAMIC(CWordArray, CObject)
IMPLEMENT_DYNAMIC(CByteArray, CObject)
IMPLEMENT_DYNAMIC(CUIntArray, CObject)
IMPLEMENT_DYNAMIC(CPtrList, CObject)
IMPLEMENT_DYNAMIC(CObList, CObject)
IMPLEMENT_DYNAMIC(CStringList, CObject)

namespace {

void WriteCount(CArchive& ar, DWORD count)
{
    if (count < 0xFFFF) {
        ar << static_cast<WORD>(count);
    } else {
        ar << static_cast<WORD>(0xFFFF) << count;
    }
}

// Each element takes at least minBytes in the archive: a count claiming more than the archive holds
// is refused before anything is allocated.
DWORD ReadCount(CArchive& ar, DWORD minBytes)
{
    WORD w = 0;
    ar >> w;
    DWORD count = w;
    if (w == 0xFFFF)
        ar >> count;
    if (count > ar.GetBytesLeft() / minBytes)
        AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
    return count;
}

} // namespace

void CObArray::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        WriteCount(ar, static_cast<DWORD>(m_data.size()));
        for (CObject* pOb : m_data)
            ar << pOb;
        return;
    }
    DWORD count = ReadCount(ar, sizeof(WORD));
    m_data.assign(count, nullptr);
    for (DWORD i = 0; i < count; ++i)
        ar >> m_data[i];
}

void CStringArray::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        WriteCount(ar, static_cast<DWORD>(m_data.size()));
        for (const CString& s : m_data)
            ar << s;
        return;
    }
    DWORD count = ReadCount(ar, 1);
    m_data.assign(count, CString());
    for (DWORD i = 0; i < count; ++i)
        ar >> m_data[i];
}
