// CWnd message dispatch: the window procedure, the message map search, commands, notifications and
// their reflection to the control's own object, pre-translation and idle updates of controls.
#include "framework/CmdUI.h"
#include "framework/CommandKeys.h"
#include "framework/TestSeams.h"
#include "framework/Exceptions.h"
#include "framework/FrameworkTexts.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"
#include "framework/WndState.h"

#include <cstdio>
#include <exception>
#include <optional>

AfxWndThreadState& AfxGetWndThreadState()
{
    static thread_local AfxWndThreadState state = {};
    return state;
}

namespace {

// An update pass that only asks whether a command is enabled.
class CTestCmdUI : public CCmdUI {
public:
    BOOL m_bEnabled = TRUE;
    void Enable(BOOL bOn) override
    {
        m_bEnabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetRadio(BOOL) override {}
    void SetText(LPCSTR) override {}
};

// What a window procedure does with an exception no handler caught: the user is told (unless it was
// a validation failure, already reported) and the message gets a harmless result.
LRESULT ProcessException(HWND hWnd, UINT nMsg, const CException* pException)
{
    if (nMsg == WM_PAINT)
        ::ValidateRect(hWnd, nullptr); // or it would come back for ever
    bool bReport = pException == nullptr || !pException->IsKindOf(RUNTIME_CLASS(CUserException));
    if (bReport && AfxTestArmed()) {
        // Under test, where the failure arose goes to the test's log beside the message box.
        const DWORD lastError = ::GetLastError();
        char cls[64] = "";
        ::GetClassNameA(hWnd, cls, sizeof(cls));
        char what[256] = "";
        if (pException != nullptr)
            pException->GetErrorMessage(what, sizeof(what));
        char where[512] = "";
        wsprintfA(where, "exception %s (%s) in message 0x%04X of a window of class %s (last error %lu)",
                  pException != nullptr ? pException->GetRuntimeClass()->m_lpszClassName : "?", what, nMsg,
                  cls, lastError);
        std::fprintf(stderr, "%s; %s\n", where, AfxTestHandleHeadroom().c_str());
    }
    if (bReport) {
        char text[512] = "";
        if (pException == nullptr || !pException->GetErrorMessage(text, sizeof(text)) || text[0] == '\0')
            lstrcpynA(text, AfxFrameworkText(AFX_IDP_INTERNAL_FAILURE), sizeof(text));
        try {
            AfxMessageBox(text, MB_ICONSTOP);
        } catch (...) {
        }
    }
    return nMsg == WM_CREATE ? -1 : 0;
}

bool IsCtlColor(UINT message) { return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC; }

// Offers a message to the object of the child window it concerns.
BOOL ReflectToChild(CWnd* pParent, HWND hWndChild, UINT message, WPARAM wParam, LPARAM lParam,
                    LRESULT* pResult)
{
    if (hWndChild == nullptr)
        return FALSE;
    CWnd* pChild = CWnd::FromHandlePermanent(hWndChild);
    if (pChild == nullptr || pChild == pParent)
        return FALSE;
    return pChild->OnChildNotify(message, wParam, lParam, pResult);
}

} // namespace

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == nullptr)
        return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
    return AfxCallWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    AfxWndThreadState& state = AfxGetWndThreadState();
    MSG oldMsg = state.lastSentMsg;
    state.lastSentMsg.hwnd = hWnd;
    state.lastSentMsg.message = nMsg;
    state.lastSentMsg.wParam = wParam;
    state.lastSentMsg.lParam = lParam;

    LRESULT lResult = 0;
    try {
        lResult = pWnd->WindowProc(nMsg, wParam, lParam);
    } catch (const CException& e) {
        lResult = ProcessException(hWnd, nMsg, &e);
    } catch (const std::exception&) {
        lResult = ProcessException(hWnd, nMsg, nullptr);
    } catch (...) {
        lResult = ProcessException(hWnd, nMsg, nullptr);
    }
    state.lastSentMsg = oldMsg;

    // The window is gone: the object lets go of it, then may delete itself. The end of a thread's main
    // window ends its message loop.
    if (nMsg == WM_NCDESTROY && CWnd::FromHandlePermanent(hWnd) == pWnd) {
        CWinThread* pThread = AfxGetThread();
        if (pThread != nullptr && pThread->m_pMainWnd == pWnd) {
            pThread->m_pMainWnd = nullptr;
            ::PostQuitMessage(0);
        }
        pWnd->m_pfnSuper = nullptr; // the object may get a new window later
        pWnd->Detach();
        try {
            pWnd->PostNcDestroy();
        } catch (...) {
        }
    }
    return lResult;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper != nullptr)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    const MSG& msg = AfxGetWndThreadState().lastSentMsg;
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

const MSG* CWnd::GetCurrentMessage() { return &AfxGetWndThreadState().lastSentMsg; }

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT lResult = 0;
    if (message == AfxGiveKeysBackMessage()) {
        AfxRestoreFocus(m_hWnd);
        *pResult = 0;
        return TRUE;
    }
    switch (message) {
    case WM_COMMAND:
        if (OnCommand(wParam, lParam)) {
            *pResult = 1;
            return TRUE;
        }
        return FALSE;
    case WM_NOTIFY: {
        NMHDR* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
        if (pNMHDR != nullptr && pNMHDR->hwndFrom != nullptr && OnNotify(wParam, lParam, &lResult)) {
            *pResult = lResult;
            return TRUE;
        }
        return FALSE;
    }
    case WM_DRAWITEM: {
        auto* p = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
        if (p->CtlType != ODT_MENU && ReflectToChild(this, p->hwndItem, message, wParam, lParam, pResult))
            return TRUE;
        break;
    }
    case WM_MEASUREITEM: {
        // Only the id says which control asks; list boxes ask while they are being created.
        auto* p = reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam);
        if (p->CtlType != ODT_MENU) {
            CWnd* pChild = GetDescendantWindow(static_cast<int>(p->CtlID), TRUE);
            if (pChild != nullptr && ReflectToChild(this, pChild->m_hWnd, message, wParam, lParam, pResult))
                return TRUE;
        }
        break;
    }
    case WM_COMPAREITEM:
        if (ReflectToChild(this, reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam)->hwndItem, message, wParam,
                           lParam, pResult))
            return TRUE;
        break;
    case WM_DELETEITEM:
        if (ReflectToChild(this, reinterpret_cast<LPDELETEITEMSTRUCT>(lParam)->hwndItem, message, wParam,
                           lParam, pResult))
            return TRUE;
        break;
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (lParam != 0
            && ReflectToChild(this, reinterpret_cast<HWND>(lParam), message, wParam, lParam, pResult))
            return TRUE;
        break;
    default:
        if (IsCtlColor(message)
            && ReflectToChild(this, reinterpret_cast<HWND>(lParam), message, wParam, lParam, pResult))
            return TRUE;
        break;
    }

    // The colour messages have one entry for all (ON_WM_CTLCOLOR), unless one is listed by itself.
    const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(GetMessageMap(), message, FALSE);
    if (pEntry == nullptr && IsCtlColor(message))
        pEntry = FindMessageEntry(GetMessageMap(), WM_CTLCOLOR, FALSE);
    if (pEntry == nullptr)
        return FALSE;
    AFX_MSGCALL call = {message, wParam, lParam, 0, 0, nullptr, 0};
    if (!pEntry->pfn(this, call))
        return FALSE;
    *pResult = call.result;
    return TRUE;
}

// Dialogs, property sheets and pages, and dialog bars: their buttons and fields move the keys within
// them as they say.
static bool IsDialogWindow(HWND hWnd)
{
    char name[8] = "";
    return ::GetClassNameA(hWnd, name, sizeof(name)) > 0 && lstrcmpA(name, "#32770") == 0;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // A command of the program's windows gives the keys back when it ends.
    std::optional<CCommandKeys> keys;
    if (!IsDialogWindow(m_hWnd))
        keys.emplace();
    UINT nID = LOWORD(wParam);
    HWND hWndCtrl = reinterpret_cast<HWND>(lParam);
    int nCode = HIWORD(wParam);
    if (hWndCtrl == nullptr) {
        if (nID == 0)
            return FALSE;
        // A menu or accelerator command that became disabled since its menu was drawn does nothing.
        CTestCmdUI state;
        state.m_nID = nID;
        OnCmdMsg(nID, static_cast<int>(CN_UPDATE_COMMAND_UI), &state, nullptr);
        if (!state.m_bEnabled)
            return TRUE;
        nCode = CN_COMMAND;
    } else {
        LRESULT lResult = 0;
        if (ReflectToChild(this, hWndCtrl, WM_COMMAND, wParam, lParam, &lResult))
            return TRUE; // the control handled its own notification
        if (nID == 0)
            return FALSE;
    }
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
    HWND hWndCtrl = pNMHDR->hwndFrom;
    if (ReflectToChild(this, hWndCtrl, WM_NOTIFY, wParam, lParam, pResult))
        return TRUE;
    UINT nID = static_cast<UINT>(::GetDlgCtrlID(hWndCtrl));
    AFX_NOTIFY notify = {pResult, pNMHDR};
    return OnCmdMsg(nID, MAKELONG(static_cast<WORD>(pNMHDR->code), WM_NOTIFY), &notify, nullptr);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const AFX_MSGMAP_ENTRY* pEntry = nullptr;
    UINT nCode = 0;
    if (message == WM_COMMAND) {
        nCode = HIWORD(wParam);
        pEntry = FindMessageEntry(GetMessageMap(), WM_COMMAND, TRUE, nCode);
    } else if (message == WM_NOTIFY) {
        nCode = static_cast<WORD>(reinterpret_cast<NMHDR*>(lParam)->code);
        pEntry = FindMessageEntry(GetMessageMap(), WM_NOTIFY, TRUE, nCode);
    } else if (IsCtlColor(message)) {
        pEntry = FindMessageEntry(GetMessageMap(), WM_CTLCOLOR, TRUE, 0);
    }
    if (pEntry == nullptr)
        return FALSE;
    AFX_MSGCALL call = {message, wParam, lParam, static_cast<UINT>(GetDlgCtrlID()), nCode, nullptr, 0};
    if (!pEntry->pfn(this, call))
        return FALSE;
    if (pResult != nullptr)
        *pResult = call.result;
    return TRUE;
}

BOOL CWnd::PreTranslateMessage(MSG* pMsg)
{
    if (m_nFlags & WF_TOOLTIPS)
        FilterToolTipMessage(pMsg);
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    for (HWND hWnd = pMsg->hwnd; hWnd != nullptr; hWnd = ::GetParent(hWnd)) {
        CWnd* pWnd = FromHandlePermanent(hWnd);
        if (pWnd != nullptr && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (hWnd == hWndStop)
            break;
    }
    return FALSE;
}

namespace {

void SendToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm)
{
    for (HWND hChild = ::GetTopWindow(hWnd); hChild != nullptr;) {
        // The next one first: a child may destroy itself while handling the message.
        HWND hNext = ::GetWindow(hChild, GW_HWNDNEXT);
        if (bOnlyPerm) {
            if (CWnd* pChild = CWnd::FromHandlePermanent(hChild))
                AfxCallWndProc(pChild, hChild, message, wParam, lParam);
        } else {
            ::SendMessageA(hChild, message, wParam, lParam);
        }
        if (bDeep && ::IsWindow(hChild))
            SendToDescendants(hChild, message, wParam, lParam, bDeep, bOnlyPerm);
        hChild = hNext;
    }
}

} // namespace

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm)
{
    SendToDescendants(m_hWnd, message, wParam, lParam, bDeep, bOnlyPerm);
}

void CWnd::UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler)
{
    CCmdUI state;
    for (HWND hChild = ::GetTopWindow(m_hWnd); hChild != nullptr; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        state.m_nID = static_cast<UINT>(::GetDlgCtrlID(hChild));
        state.m_pOther = FromHandle(hChild);
        // Only buttons go grey for want of a handler: labels, edits and lists have no command.
        BOOL bAutoDisable =
            bDisableIfNoHndler && (::SendMessageA(hChild, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON) != 0;
        state.DoUpdate(pTarget, bAutoDisable);
    }
}

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()
