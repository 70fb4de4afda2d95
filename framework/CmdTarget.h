// CCmdTarget: the root of every class with a message map; finds command and notification handlers.
#pragma once
#include "framework/MessageMap.h"
#include "framework/Object.h"

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;

    // Looks for an entry of this object's map chain: nCode is CN_COMMAND, CN_UPDATE_COMMAND_UI (pExtra
    // the CCmdUI*), a WM_COMMAND notification code, or CN_NOTIFY_CODE(code) with pExtra an AFX_NOTIFY*.
    // With pHandlerInfo the handler is only looked up, not called. Overrides route further
    // (view -> document -> template, frames -> view, self, application).
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // The hourglass, counted: nested begins need as many ends. Restore puts it back after a dialog.
    void BeginWaitCursor();
    void EndWaitCursor();
    void RestoreWaitCursor();

    // The first entry of a map chain matching a window message (not a command, not reflected unless
    // asked), or null.
    static const AFX_MSGMAP_ENTRY* FindMessageEntry(const AFX_MSGMAP* pMap, UINT nMessage, BOOL bReflected,
                                                    UINT nCode = 0);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    friend class CWnd;
};
