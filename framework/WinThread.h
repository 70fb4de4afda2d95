// CWinThread: a thread with the framework's message loop (pre-translation, idle updates), worker
// threads through AfxBeginThread, and the pump that modal loops share.
#pragma once
#include "framework/CmdTarget.h"

class CWnd;

typedef UINT (*AFX_THREADPROC)(LPVOID);

class CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread();
    CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
    ~CWinThread() override;

    // Starts the thread (worker: runs the thread procedure; user-interface: InitInstance then Run).
    BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0,
                      LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
    int GetThreadPriority() const { return ::GetThreadPriority(m_hThread); }
    BOOL SetThreadPriority(int nPriority) { return ::SetThreadPriority(m_hThread, nPriority); }
    DWORD ResumeThread() { return ::ResumeThread(m_hThread); }
    BOOL PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam)
    {
        return ::PostThreadMessageA(m_nThreadID, message, wParam, lParam);
    }
    operator HANDLE() const { return m_hThread; }

    CWnd* m_pMainWnd = nullptr;
    BOOL m_bAutoDelete = TRUE; // the object deletes itself when its thread ends
    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    // The message the loop is handling, taken in wide characters (a typed letter is a wide one): whoever
    // hands it on dispatches, translates or checks it with the wide calls.
    MSG m_msgCur = {};
    AFX_THREADPROC m_pfnThreadProc = nullptr;
    LPVOID m_pThreadParams = nullptr;

    virtual BOOL InitInstance() { return FALSE; }
    virtual int ExitInstance();
    // The message loop: runs until WM_QUIT, with idle processing whenever the queue is empty.
    virtual int Run();
    // Every message goes through here first: the target window and its parents, then the main window.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL PumpMessage();
    // lCount 0: command-UI updates (WM_IDLEUPDATECMDUI to the main window and all its descendants);
    // then the temporary wrappers are freed. FALSE when there is no more idle work.
    virtual BOOL OnIdle(LONG lCount);
    virtual BOOL IsIdleMessage(MSG* pMsg);
    virtual CWnd* GetMainWnd();
    virtual void Delete();

private:
    static unsigned __stdcall ThreadEntry(void* pParam);
};

// The calling thread's CWinThread (the application object on the main thread), or null.
CWinThread* AfxGetThread();
void AfxSetThread(CWinThread* pThread);

// A worker thread running pfnThreadProc(pParam). The object deletes itself when the thread ends unless
// m_bAutoDelete is cleared (start with CREATE_SUSPENDED to clear it first).
CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam,
                           int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0,
                           DWORD dwCreateFlags = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);

// One message through the calling thread's pump (pre-translation included); FALSE on WM_QUIT.
BOOL AfxPumpMessage();
// Handles every message already waiting, then returns (a WM_QUIT stays in the queue).
void AfxPumpPendingMessages();
// The message the calling thread's pump last took.
const MSG* AfxGetCurrentMessage();
// Whether a message ends an idle period (mouse moves to the same place and paints do not).
BOOL AfxIsIdleMessage(const MSG* pMsg);
