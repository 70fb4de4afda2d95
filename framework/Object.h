// CObject and CRuntimeClass: run-time class records, dynamic creation by name and the class macros.
#pragma once
#if defined(UNICODE) || defined(_UNICODE)
#error "Tessarine is an ANSI (Windows-1252) program: UNICODE must not be defined"
#endif
#include <windows.h>

class CArchive;
class CObject;

// Marks a schema that lets Serialize read older versions (GetObjectSchema tells which one).
#define VERSIONABLE_SCHEMA (0x80000000)

// One per class that uses a DECLARE_DYNAMIC family macro. Records are plain aggregates with constant
// initialisers, so they exist before any constructor runs and need no registration order.
struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;                  // 0xFFFF: not serialisable
    CObject* (*m_pfnCreateObject)(); // null: not creatable by name
    CRuntimeClass* m_pBaseClass;     // null only for CObject

    // A new object of this class, or null when the class is not creatable.
    CObject* CreateObject() const;
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;

    // Archive form: WORD schema, WORD name length, the name without terminator.
    void Store(CArchive& ar) const;
    // Reads that form; the registered class of that name, or null (unknown or too long a name).
    static CRuntimeClass* Load(CArchive& ar, UINT* pwSchemaNum);

    // The registered class of that exact name, or null.
    static CRuntimeClass* FromName(LPCSTR lpszClassName);
};

// Adds a class to the by-name table (done by IMPLEMENT_DYNCREATE and IMPLEMENT_SERIAL). Thread-safe.
void AfxClassInit(CRuntimeClass* pNewClass);

struct AFX_CLASSINIT {
    explicit AFX_CLASSINIT(CRuntimeClass* pNewClass) { AfxClassInit(pNewClass); }
};

class CObject {
public:
    static CRuntimeClass classCObject;
    virtual CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject() = default;

    BOOL IsKindOf(const CRuntimeClass* pClass) const;
    BOOL IsSerializable() const;
    virtual void Serialize(CArchive& ar);

protected:
    CObject() = default;

private:
    // Objects are not copyable unless a class says how.
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                                                                          \
public:                                                                                                      \
    static CRuntimeClass class##class_name;                                                                  \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name)                                                                        \
    DECLARE_DYNAMIC(class_name)                                                                              \
    static CObject* CreateObject();

#define DECLARE_SERIAL(class_name)                                                                           \
    DECLARE_DYNCREATE(class_name)                                                                            \
    friend CArchive& operator>>(CArchive& ar, class_name*& pOb);

#define AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew)                             \
    CRuntimeClass class_name::class##class_name = {#class_name, sizeof(class_name), wSchema, pfnNew,         \
                                                   RUNTIME_CLASS(base_class_name)};                          \
    CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                                       \
    AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                                     \
    CObject* class_name::CreateObject() { return new class_name; }                                           \
    AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)                \
    static const AFX_CLASSINIT _init_##class_name(RUNTIME_CLASS(class_name));

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)                                               \
    CObject* class_name::CreateObject() { return new class_name; }                                           \
    AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, class_name::CreateObject)               \
    static const AFX_CLASSINIT _init_##class_name(RUNTIME_CLASS(class_name));                                \
    [[maybe_unused]] CArchive& operator>>(CArchive& ar, class_name*& pOb)                                    \
    {                                                                                                        \
        pOb = static_cast<class_name*>(AfxReadObjectFromArchive(ar, RUNTIME_CLASS(class_name)));             \
        return ar;                                                                                           \
    }

// ReadObject for the extraction operator without needing Archive.h here.
CObject* AfxReadObjectFromArchive(CArchive& ar, const CRuntimeClass* pClassRefRequested);

// Checked casts between CObject classes: DYNAMIC_DOWNCAST gives null for an object of another class,
// STATIC_DOWNCAST trusts the caller.
CObject* AfxDynamicDownCast(const CRuntimeClass* pClass, CObject* pObject);
#define DYNAMIC_DOWNCAST(class_name, object)                                                                 \
    (static_cast<class_name*>(AfxDynamicDownCast(RUNTIME_CLASS(class_name), object)))
#define STATIC_DOWNCAST(class_name, object) (static_cast<class_name*>(object))
