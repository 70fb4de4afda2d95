// GoogleTest entry point shared by every test program.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

#if GTEST_IS_THREADSAFE && GTEST_OS_WINDOWS
// GoogleTest keeps what it stores per thread (traces, failure reporters) in a registry that starts,
// for each thread using it, a waiter thread blocked until that thread ends. The main thread's
// waiter would still be blocked when the process exits, and a process that exits while a thread of
// it is being torn down faults under Wine after the verdict. So the main thread ends first; its
// waiter then releases the main thread's values and ends; only then does the process exit, from a
// thread that waited for both.
const DWORD kWaiterWait = 10000;
HANDLE g_hReleased = nullptr; // set as the waiter releases the main thread's values
HANDLE g_hWaiter = nullptr;   // the waiter, opened from the waiter itself

// A value of the main thread in GoogleTest's registry: it is destroyed on the waiter thread.
struct WaiterMark {
    ~WaiterMark()
    {
        if (g_hReleased == nullptr)
            return;
        g_hWaiter = ::OpenThread(SYNCHRONIZE, FALSE, ::GetCurrentThreadId());
        ::SetEvent(g_hReleased);
    }
};

struct Finish {
    HANDLE hMainThread;
    int result;
};

DWORD WINAPI FinishProcess(LPVOID param)
{
    auto* finish = static_cast<Finish*>(param);
    ::WaitForSingleObject(finish->hMainThread, INFINITE);
    if (::WaitForSingleObject(g_hReleased, kWaiterWait) != WAIT_OBJECT_0 || g_hWaiter == nullptr
        || ::WaitForSingleObject(g_hWaiter, kWaiterWait) != WAIT_OBJECT_0)
        std::fprintf(stderr, "GoogleTest's thread for the main thread did not end\n");
    // GoogleTest's own static destructors are not run: a thread that ended inside its registry's
    // lock (a printing test's job thread was seen to) would leave them waiting for ever. Every
    // thread of the test is gone by now, so nothing is torn down under another's feet.
    std::fflush(stdout);
    std::fflush(stderr);
    ::ExitProcess(static_cast<UINT>(finish->result));
}

// Ends the main thread; the process ends from another thread once GoogleTest's waiter has ended.
int EndAfterWaiter(int result)
{
    // Never freed: its values must outlive the main thread.
    auto* mark = new testing::internal::ThreadLocal<WaiterMark>;
    g_hReleased = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE hMain = nullptr;
    if (g_hReleased == nullptr
        || !::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentThread(), ::GetCurrentProcess(), &hMain,
                              SYNCHRONIZE, FALSE, 0))
        return result;
    mark->pointer();
    HANDLE hFinish = ::CreateThread(nullptr, 0, FinishProcess, new Finish{hMain, result}, 0, nullptr);
    if (hFinish == nullptr)
        return result;
    ::CloseHandle(hFinish);
    std::fflush(stdout);
    std::fflush(stderr);
    ::ExitThread(static_cast<DWORD>(result));
}
#else
int EndAfterWaiter(int result) { return result; }
#endif

} // namespace

int main(int argc, char** argv)
{
    // No error boxes from the system; a crash still starts the debugger set up for the test prefix,
    // which writes its backtrace to the log.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    testing::InitGoogleTest(&argc, argv);
    return EndAfterWaiter(RUN_ALL_TESTS());
}
