// The calling thread's list of handle maps, walked by AfxDeleteTempMaps.
#include "framework/HandleMap.h"

namespace {
// A plain pointer: constant-initialised, nothing to destroy at thread exit.
thread_local CHandleMapBase* t_firstMap = nullptr;
} // namespace

CHandleMapBase::CHandleMapBase()
{
    m_pNextMap = t_firstMap;
    t_firstMap = this;
}

CHandleMapBase::~CHandleMapBase()
{
    for (CHandleMapBase** pp = &t_firstMap; *pp; pp = &(*pp)->m_pNextMap) {
        if (*pp == this) {
            *pp = m_pNextMap;
            break;
        }
    }
}

void AfxDeleteTempMaps()
{
    for (CHandleMapBase* p = t_firstMap; p; p = p->m_pNextMap)
        p->DeleteTemp();
}
