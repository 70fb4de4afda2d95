// Synchronisation objects: CEvent, CCriticalSection and the CSingleLock guard.
#pragma once
#include <windows.h>

class CSyncObject {
public:
    virtual ~CSyncObject();
    CSyncObject(const CSyncObject&) = delete;
    CSyncObject& operator=(const CSyncObject&) = delete;

    // TRUE when the object was obtained within dwTimeout milliseconds.
    virtual BOOL Lock(DWORD dwTimeout = INFINITE);
    virtual BOOL Unlock() = 0;
    operator HANDLE() const { return m_hObject; }

    HANDLE m_hObject = nullptr;

protected:
    CSyncObject() = default;
};

class CEvent : public CSyncObject {
public:
    // Throws CResourceException when the event cannot be made.
    explicit CEvent(BOOL bInitiallyOwn = FALSE, BOOL bManualReset = FALSE, LPCSTR lpszName = nullptr,
                    LPSECURITY_ATTRIBUTES lpsaAttribute = nullptr);
    BOOL SetEvent() { return ::SetEvent(m_hObject); }
    BOOL ResetEvent() { return ::ResetEvent(m_hObject); }
    BOOL PulseEvent() { return ::PulseEvent(m_hObject); }
    BOOL Unlock() override { return TRUE; }
};

class CCriticalSection : public CSyncObject {
public:
    CCriticalSection() { ::InitializeCriticalSection(&m_sect); }
    ~CCriticalSection() override { ::DeleteCriticalSection(&m_sect); }
    BOOL Lock(DWORD = INFINITE) override
    {
        ::EnterCriticalSection(&m_sect);
        return TRUE;
    }
    BOOL Unlock() override
    {
        ::LeaveCriticalSection(&m_sect);
        return TRUE;
    }

private:
    CRITICAL_SECTION m_sect;
};

// Holds a lock for a scope.
class CSingleLock {
public:
    explicit CSingleLock(CSyncObject* pObject, BOOL bInitialLock = FALSE) : m_pObject(pObject)
    {
        if (bInitialLock)
            Lock();
    }
    ~CSingleLock() { Unlock(); }
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;

    BOOL Lock(DWORD dwTimeout = INFINITE)
    {
        if (!m_bLocked)
            m_bLocked = m_pObject->Lock(dwTimeout);
        return m_bLocked;
    }
    BOOL Unlock()
    {
        if (m_bLocked)
            m_bLocked = !m_pObject->Unlock();
        return !m_bLocked;
    }
    BOOL IsLocked() const { return m_bLocked; }

private:
    CSyncObject* m_pObject;
    BOOL m_bLocked = FALSE;
};
