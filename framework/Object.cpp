// Run-time class records, the by-name class table and CObject's own members.
#include "framework/Object.h"

#include "framework/Archive.h"
#include "framework/Exceptions.h"

#include <cstring>
#include <mutex>
#include <vector>

namespace {

// Filled during static initialisation and read by archive loading on any thread.
struct ClassTable {
    std::mutex lock;
    std::vector<CRuntimeClass*> classes;
};

ClassTable& Table()
{
    static ClassTable table;
    return table;
}

// The longest class name an archive may name; anything longer is a corrupt record.
constexpr WORD kMaxClassNameLength = 64;

} // namespace

CRuntimeClass CObject::classCObject = {"CObject", sizeof(CObject), 0xFFFF, nullptr, nullptr};

CRuntimeClass* CObject::GetRuntimeClass() const { return RUNTIME_CLASS(CObject); }

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const { return GetRuntimeClass()->IsDerivedFrom(pClass); }

BOOL CObject::IsSerializable() const { return GetRuntimeClass()->m_wSchema != 0xFFFF; }

void CObject::Serialize(CArchive&) {}

CObject* CRuntimeClass::CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const
{
    for (const CRuntimeClass* p = this; p != nullptr; p = p->m_pBaseClass) {
        if (p == pBaseClass)
            return TRUE;
    }
    return FALSE;
}

void CRuntimeClass::Store(CArchive& ar) const
{
    WORD nLen = static_cast<WORD>(std::strlen(m_lpszClassName));
    ar << static_cast<WORD>(m_wSchema) << nLen;
    ar.Write(m_lpszClassName, nLen);
}

CRuntimeClass* CRuntimeClass::Load(CArchive& ar, UINT* pwSchemaNum)
{
    WORD wSchema = 0;
    WORD nLen = 0;
    ar >> wSchema >> nLen;
    if (pwSchemaNum)
        *pwSchemaNum = wSchema;
    if (nLen == 0 || nLen >= kMaxClassNameLength)
        return nullptr;
    char name[kMaxClassNameLength + 1];
    if (ar.Read(name, nLen) != nLen)
        return nullptr;
    name[nLen] = '\0';
    return FromName(name);
}

CRuntimeClass* CRuntimeClass::FromName(LPCSTR lpszClassName)
{
    if (lpszClassName == nullptr)
        return nullptr;
    ClassTable& table = Table();
    std::lock_guard<std::mutex> guard(table.lock);
    for (CRuntimeClass* p : table.classes) {
        if (std::strcmp(p->m_lpszClassName, lpszClassName) == 0)
            return p;
    }
    return nullptr;
}

void AfxClassInit(CRuntimeClass* pNewClass)
{
    ClassTable& table = Table();
    std::lock_guard<std::mutex> guard(table.lock);
    for (CRuntimeClass* p : table.classes) {
        if (p == pNewClass)
            return;
    }
    table.classes.push_back(pNewClass);
}

CObject* AfxReadObjectFromArchive(CArchive& ar, const CRuntimeClass* pClassRefRequested)
{
    return ar.ReadObject(pClassRefRequested);
}

CObject* AfxDynamicDownCast(const CRuntimeClass* pClass, CObject* pObject)
{
    if (pObject != nullptr && pObject->IsKindOf(pClass))
        return pObject;
    return nullptr;
}
