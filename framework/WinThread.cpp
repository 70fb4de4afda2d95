// CWinThread: the message loop, idle processing and worker threads.
#include "framework/WinThread.h"

#include "framework/HandleMap.h"
#include "framework/MessageMap.h"
#include "framework/Wnd.h"

#include <process.h>

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

namespace {

thread_local CWinThread* t_pThread = nullptr;
thread_local MSG t_msgCur = {};

MSG& CurrentMsg()
{
    CWinThread* pThread = AfxGetThread();
    return pThread != nullptr ? pThread->m_msgCur : t_msgCur;
}

} // namespace

CWinThread* AfxGetThread() { return t_pThread; }
void AfxSetThread(CWinThread* pThread) { t_pThread = pThread; }

CWinThread::CWinThread() = default;

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam)
    : m_pfnThreadProc(pfnThreadProc), m_pThreadParams(pParam)
{}

CWinThread::~CWinThread()
{
    if (m_hThread != nullptr)
        ::CloseHandle(m_hThread);
    if (t_pThread == this)
        t_pThread = nullptr;
}

unsigned __stdcall CWinThread::ThreadEntry(void* pParam)
{
    CWinThread* pThread = static_cast<CWinThread*>(pParam);
    t_pThread = pThread;
    UINT nResult = 0;
    // No exception may leave a thread.
    try {
        if (pThread->m_pfnThreadProc != nullptr)
            nResult = pThread->m_pfnThreadProc(pThread->m_pThreadParams);
        else if (pThread->InitInstance())
            nResult = static_cast<UINT>(pThread->Run());
        else
            nResult = static_cast<UINT>(pThread->ExitInstance());
    } catch (...) {
        nResult = static_cast<UINT>(-1);
    }
    AfxDeleteTempMaps();
    t_pThread = nullptr;
    if (pThread->m_bAutoDelete)
        pThread->Delete();
    return nResult;
}

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    unsigned nThreadID = 0;
    // Always suspended first, so that the handle and id are stored before the thread can end.
    uintptr_t h =
        _beginthreadex(lpSecurityAttrs, nStackSize, ThreadEntry, this, CREATE_SUSPENDED, &nThreadID);
    if (h == 0)
        return FALSE;
    m_hThread = reinterpret_cast<HANDLE>(h);
    m_nThreadID = nThreadID;
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        ::ResumeThread(m_hThread);
    return TRUE;
}

CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority, UINT nStackSize,
                           DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    CWinThread* pThread = new CWinThread(pfnThreadProc, pParam);
    if (!pThread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs)) {
        delete pThread;
        return nullptr;
    }
    pThread->SetThreadPriority(nPriority);
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        pThread->ResumeThread();
    return pThread;
}

void CWinThread::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

CWnd* CWinThread::GetMainWnd() { return m_pMainWnd; }

int CWinThread::ExitInstance() { return static_cast<int>(m_msgCur.wParam); }

int CWinThread::Run()
{
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    MSG msg;
    for (;;) {
        // Each look at the queue is a round trip to the window server under Wine: the queue is looked
        // at only when there is idle work to do, otherwise the next message is simply waited for.
        while (bIdle && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(lIdleCount++))
                bIdle = FALSE;
        }
        if (!PumpMessage())
            return ExitInstance();
        if (IsIdleMessage(&m_msgCur)) {
            bIdle = TRUE;
            lIdleCount = 0;
        }
    }
}

BOOL CWinThread::PumpMessage()
{
    // Taken in wide characters: a letter typed that the code page lacks reaches a field of wide
    // characters as typed, where a message taken in the code page would carry its look-alike ("L" for a
    // barred L). A window of the code page is given it in the code page, as before.
    if (!::GetMessageW(&m_msgCur, nullptr, 0, 0))
        return FALSE;
    BOOL bTranslated = FALSE;
    if (m_msgCur.message != WM_KICKIDLE) {
        try {
            bTranslated = PreTranslateMessage(&m_msgCur);
        } catch (...) {
            // Nothing may escape the loop: the message then goes its ordinary way.
            bTranslated = FALSE;
        }
    }
    if (!bTranslated) {
        ::TranslateMessage(&m_msgCur);
        ::DispatchMessageW(&m_msgCur);
    }
    return TRUE;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->hwnd == nullptr)
        return FALSE; // a thread message: nothing to walk
    CWnd* pMainWnd = GetMainWnd();
    HWND hWndMain = AfxSafeHwnd(pMainWnd);
    if (CWnd::WalkPreTranslateTree(hWndMain, pMsg))
        return TRUE;
    // A window outside the main window (a modeless tool window): the main window's accelerators still
    // get a last chance.
    if (hWndMain != nullptr && ::IsWindow(hWndMain)) {
        CWnd* pWnd = CWnd::FromHandle(pMsg->hwnd);
        CWnd* pTop = pWnd != nullptr ? pWnd->GetTopLevelParent() : nullptr;
        if (AfxSafeHwnd(pTop) != hWndMain)
            return pMainWnd->PreTranslateMessage(pMsg);
    }
    return FALSE;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg) { return AfxIsIdleMessage(pMsg); }

BOOL CWinThread::OnIdle(LONG lCount)
{
    if (lCount <= 0) {
        CWnd* pMainWnd = GetMainWnd();
        HWND hWndMain = AfxSafeHwnd(pMainWnd);
        if (hWndMain != nullptr && ::IsWindow(hWndMain) && ::IsWindowVisible(hWndMain)
            && !::IsIconic(hWndMain)) {
            AfxCallWndProc(pMainWnd, hWndMain, WM_IDLEUPDATECMDUI, TRUE, 0);
            pMainWnd->SendMessageToPermanentDescendants(WM_IDLEUPDATECMDUI, TRUE, 0);
        }
        return TRUE;
    }
    // No temporary pointer survives the return to the loop.
    AfxDeleteTempMaps();
    return FALSE;
}

BOOL AfxIsIdleMessage(const MSG* pMsg)
{
    static thread_local POINT s_ptLast = {-1, -1};
    static thread_local UINT s_nLastMsg = 0;
    if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
        if (pMsg->message == s_nLastMsg && pMsg->pt.x == s_ptLast.x && pMsg->pt.y == s_ptLast.y)
            return FALSE;
        s_ptLast = pMsg->pt;
        s_nLastMsg = pMsg->message;
        return TRUE;
    }
    // WM_PAINT and the caret's system timer (0x118) come by themselves.
    return pMsg->message != WM_PAINT && pMsg->message != 0x0118;
}

BOOL AfxPumpMessage()
{
    if (CWinThread* pThread = AfxGetThread())
        return pThread->PumpMessage();
    MSG& msg = t_msgCur;
    if (!::GetMessageW(&msg, nullptr, 0, 0))
        return FALSE;
    if (!CWnd::WalkPreTranslateTree(nullptr, &msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return TRUE;
}

void AfxPumpPendingMessages()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (msg.message == WM_QUIT)
            break;
        if (!AfxPumpMessage()) {
            ::PostQuitMessage(static_cast<int>(AfxGetCurrentMessage()->wParam));
            break;
        }
    }
}

const MSG* AfxGetCurrentMessage() { return &CurrentMsg(); }
