// CHandleMap: handle-to-wrapper maps (permanent entries and per-thread temporary wrappers) and
// AfxDeleteTempMaps(), which the idle step calls to free the calling thread's temporary wrappers.
#pragma once
#include <windows.h>

#include <mutex>
#include <unordered_map>
#include <utility>
#include <vector>

// Frees the temporary wrappers of every handle map of the calling thread (GDI objects, DCs, and
// whatever map the window half keeps). Call it at idle time, when no temporary pointer is held.
void AfxDeleteTempMaps();

// Base of every map: keeps the thread's maps on a list that AfxDeleteTempMaps walks.
class CHandleMapBase {
public:
    CHandleMapBase(const CHandleMapBase&) = delete;
    CHandleMapBase& operator=(const CHandleMapBase&) = delete;
    virtual void DeleteTemp() = 0;

protected:
    CHandleMapBase();          // registers with the calling thread
    virtual ~CHandleMapBase(); // unregisters (must run on the same thread)

private:
    friend void AfxDeleteTempMaps();
    CHandleMapBase* m_pNextMap = nullptr;
};

// One map per wrapper kind. Permanent entries (a wrapper that owns or was attached to a handle) are
// process-wide, so that a wrapper made on one thread can be destroyed on another. Temporary
// wrappers belong to the thread that asked FromHandle: make one CHandleMap per thread (a
// function-local thread_local) and call only FromHandle, LookupTemporary and DeleteTemp on it.
// A temporary wrapper never owns its handle: clearTemp empties it before it is deleted.
template <class T, class H> class CHandleMap : public CHandleMapBase {
public:
    using CreateTempFn = T* (*)(H);
    using ClearTempFn = void (*)(T*);

    CHandleMap(CreateTempFn createTemp, ClearTempFn clearTemp)
        : m_createTemp(createTemp), m_clearTemp(clearTemp)
    {}
    ~CHandleMap() override { DeleteTemp(); }

    // The permanent wrapper of h, else this thread's temporary one, else a new temporary one.
    // Null for a null handle or when no wrapper can be made.
    T* FromHandle(H h)
    {
        if (h == nullptr)
            return nullptr;
        if (T* p = LookupPermanent(h))
            return p;
        auto it = m_temporary.find(h);
        if (it != m_temporary.end())
            return it->second;
        T* p = m_createTemp(h);
        if (p)
            m_temporary.emplace(h, p);
        return p;
    }

    T* LookupTemporary(H h) const
    {
        auto it = m_temporary.find(h);
        return it == m_temporary.end() ? nullptr : it->second;
    }

    // A temporary wrapper gave its handle up (Detach): it leaves the table, so that the handle can get
    // a fresh wrapper, and is deleted at the next DeleteTemp.
    void OrphanTemporary(H h, T* pObject)
    {
        auto it = m_temporary.find(h);
        if (it != m_temporary.end() && it->second == pObject) {
            m_temporary.erase(it);
            m_orphans.push_back(pObject);
        }
    }

    // Empties and deletes every temporary wrapper of this thread.
    void DeleteTemp() override
    {
        std::unordered_map<H, T*> doomed;
        doomed.swap(m_temporary);
        std::vector<T*> orphans;
        orphans.swap(m_orphans);
        for (auto& entry : doomed)
            orphans.push_back(entry.second);
        for (T* p : orphans) {
            m_clearTemp(p);
            delete p;
        }
    }

    // Temporary wrappers alive on this thread.
    size_t GetTemporaryCount() const { return m_temporary.size() + m_orphans.size(); }

    static T* LookupPermanent(H h)
    {
        if (h == nullptr)
            return nullptr;
        Permanent& table = PermanentTable();
        std::lock_guard<std::mutex> guard(table.lock);
        auto it = table.map.find(h);
        return it == table.map.end() ? nullptr : it->second;
    }
    static void SetPermanent(H h, T* pObject)
    {
        if (h == nullptr)
            return;
        Permanent& table = PermanentTable();
        std::lock_guard<std::mutex> guard(table.lock);
        table.map[h] = pObject;
        table.generation++;
    }
    // A copy of the permanent entries: what is done with them may change the table.
    static std::vector<std::pair<H, T*>> PermanentEntries()
    {
        Permanent& table = PermanentTable();
        std::lock_guard<std::mutex> guard(table.lock);
        return std::vector<std::pair<H, T*>>(table.map.begin(), table.map.end());
    }
    // Removes h only while it still maps to pObject (another wrapper may have taken the handle over).
    static void RemovePermanent(H h, T* pObject)
    {
        if (h == nullptr)
            return;
        Permanent& table = PermanentTable();
        std::lock_guard<std::mutex> guard(table.lock);
        auto it = table.map.find(h);
        if (it != table.map.end() && it->second == pObject) {
            table.map.erase(it);
            table.generation++;
        }
    }
    // Moves on at every change of the permanent entries.
    static unsigned long PermanentGeneration()
    {
        Permanent& table = PermanentTable();
        std::lock_guard<std::mutex> guard(table.lock);
        return table.generation;
    }

private:
    struct Permanent {
        std::mutex lock;
        std::unordered_map<H, T*> map;
        unsigned long generation = 0;
    };
    // Never destroyed: wrappers that are globals may still detach during process exit.
    static Permanent& PermanentTable()
    {
        static Permanent* table = new Permanent;
        return *table;
    }

    CreateTempFn m_createTemp;
    ClearTempFn m_clearTemp;
    std::unordered_map<H, T*> m_temporary;
    std::vector<T*> m_orphans;
};
