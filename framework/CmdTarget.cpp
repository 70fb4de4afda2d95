// CCmdTarget: the root message map and the search for command handlers.
#include "framework/CmdTarget.h"

#include "framework/WinApp.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    UINT nMsg = WM_COMMAND;
    UINT code;
    if (static_cast<UINT>(nCode) == CN_UPDATE_COMMAND_UI) {
        code = 0xFFFF;
    } else {
        nMsg = HIWORD(nCode) != 0 ? HIWORD(nCode) : WM_COMMAND;
        code = LOWORD(nCode);
    }
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != nullptr;
         pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = pMap->lpEntries; e->pfn != nullptr; ++e) {
            if ((e->nFlags & (AfxEntryCommand | AfxEntryReflect)) != AfxEntryCommand || e->nMessage != nMsg
                || e->nCode != code || nID < e->nID || nID > e->nLastID)
                continue;
            if (pHandlerInfo != nullptr) {
                pHandlerInfo->pTarget = this;
                pHandlerInfo->pfn = e->pfn;
                return TRUE;
            }
            AFX_MSGCALL call = {nMsg, 0, 0, nID, code, pExtra, 0};
            return e->pfn(this, call);
        }
    }
    return FALSE;
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(const AFX_MSGMAP* pMap, UINT nMessage, BOOL bReflected,
                                                     UINT nCode)
{
    const UINT wanted = bReflected ? static_cast<UINT>(AfxEntryReflect) : 0U;
    for (; pMap != nullptr; pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = pMap->lpEntries; e->pfn != nullptr; ++e) {
            if ((e->nFlags & (AfxEntryCommand | AfxEntryReflect)) == wanted && e->nMessage == nMessage
                && (!bReflected || e->nCode == nCode))
                return e;
        }
    }
    return nullptr;
}

void CCmdTarget::BeginWaitCursor() { AfxDoWaitCursor(1); }
void CCmdTarget::EndWaitCursor() { AfxDoWaitCursor(-1); }
void CCmdTarget::RestoreWaitCursor() { AfxDoWaitCursor(0); }
