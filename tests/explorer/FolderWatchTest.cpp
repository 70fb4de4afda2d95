// The folder snapshot and the watch thread: the change lines of every kind of difference, the files a
// snapshot keeps, and a thread that follows another process's changes and stops at once.
#include "explorer/FolderWatch.h"
#include "framework/Sync.h"
#include "shell/AppMessages.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using testpaths::TempDir;
using testpaths::WriteBytes;

namespace {

struct Entry {
    const char* name;
    DWORD stamp;
};

FolderSnapshot Build(const std::vector<Entry>& entries)
{
    FolderSnapshot head = nullptr;
    for (const Entry& e : entries)
        InsertSnapshotEntry(&head, e.name, e.stamp);
    return head;
}

std::vector<std::string> Lines(const CStringArray& lines)
{
    std::vector<std::string> out;
    for (INT_PTR i = 0; i < lines.GetSize(); i++)
        out.push_back(static_cast<LPCSTR>(lines[i]));
    return out;
}

std::vector<std::string> Diff(const std::vector<Entry>& before, const std::vector<Entry>& after)
{
    FolderSnapshot o = Build(before), n = Build(after);
    CStringArray lines;
    DiffSnapshots(o, n, &lines);
    FreeSnapshot(&o);
    FreeSnapshot(&n);
    return Lines(lines);
}

std::vector<std::string> Names(SnapshotEntry* node)
{
    std::vector<std::string> out;
    for (; node != nullptr; node = node->next)
        out.push_back(node->name);
    return out;
}

typedef std::vector<std::string> Strings;

TEST(FolderSnapshot, DiffLinesForEveryKindOfChange)
{
    struct Case {
        const char* what;
        std::vector<Entry> before, after;
        Strings expected;
    } cases[] = {
        {"nothing", {{"a.jpg", 1}}, {{"a.jpg", 1}}, {}},
        {"added", {{"a.jpg", 1}}, {{"a.jpg", 1}, {"b.jpg", 1}}, {"Nb.jpg"}},
        {"added first", {{"b.jpg", 1}}, {{"a.jpg", 1}, {"b.jpg", 1}}, {"Na.jpg"}},
        {"removed", {{"a.jpg", 1}, {"b.jpg", 1}}, {{"b.jpg", 1}}, {"Da.jpg"}},
        {"rewritten", {{"a.jpg", 1}}, {{"a.jpg", 2}}, {"Ma.jpg"}},
        {"renamed forward", {{"a.jpg", 1}}, {{"z.jpg", 1}}, {"Da.jpg", "Nz.jpg"}},
        {"renamed backward",
         {{"m.jpg", 1}, {"z.jpg", 1}},
         {{"a.jpg", 1}, {"m.jpg", 1}},
         {"Na.jpg", "Dz.jpg"}},
        {"case only, same stamp", {{"a.jpg", 1}}, {{"A.JPG", 1}}, {}},
        {"everything removed",
         {{"a.jpg", 1}, {"b.png", 1}, {"c.gif", 1}},
         {},
         {"Da.jpg", "Db.png", "Dc.gif"}},
        {"from empty", {}, {{"a.jpg", 1}, {"b.jpg", 1}}, {"Na.jpg", "Nb.jpg"}},
        {"interleaved",
         {{"a.jpg", 1}, {"c.jpg", 1}, {"e.jpg", 1}},
         {{"b.jpg", 1}, {"c.jpg", 2}, {"d.jpg", 1}},
         {"Da.jpg", "Nb.jpg", "Mc.jpg", "De.jpg", "Nd.jpg"}},
        {"accents fold", {{"\xc9t\xe9.jpg", 1}}, {{"\xe9t\xe9.jpg", 1}}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Diff(c.before, c.after), c.expected) << c.what;
}

TEST(FolderSnapshot, KeepsPicturesOnlyInNameOrderWithDosStamps)
{
    TempDir dir;
    for (const char* name : {"b.JPG", "a.png", "C.gif", "notes.txt", "song.mp3", ".hidden.jpg", "noext"})
        ASSERT_TRUE(WriteBytes(dir.File(name), "x"));
    ASSERT_TRUE(CreateDirectoryA(dir.File("sub.jpg").c_str(), nullptr));
    HANDLE h = CreateFileA(dir.File("a.png").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    SYSTEMTIME st = {2024, 5, 0, 17, 13, 45, 30, 0};
    FILETIME ft;
    SystemTimeToFileTime(&st, &ft);
    SetFileTime(h, nullptr, nullptr, &ft);
    CloseHandle(h);

    FolderSnapshot head = nullptr;
    TakeFolderSnapshot(&head, dir.Path().c_str());
    EXPECT_EQ(Names(head), (Strings{"a.png", "b.JPG", "C.gif"}));
    WORD date = 0, time = 0;
    FileTimeToDosDateTime(&ft, &date, &time);
    ASSERT_NE(head, nullptr);
    EXPECT_EQ(head->stamp, (static_cast<DWORD>(date) << 16) + time);
    // With a trailing backslash the same files; a missing folder gives an empty list.
    TakeFolderSnapshot(&head, (dir.Path() + "\\").c_str());
    EXPECT_EQ(Names(head).size(), 3u);
    TakeFolderSnapshot(&head, dir.File("missing").c_str());
    EXPECT_EQ(head, nullptr);
    TakeFolderSnapshot(&head, "");
    EXPECT_EQ(head, nullptr);
    // A picture whose name the code page cannot spell (a barred L) is not taken for its look-alike.
    ASSERT_TRUE(WriteBytes(dir.File("Lodz.jpg"), "x"));
    ASSERT_TRUE(WriteBytes(dir.File("moved.jpg"), "x"));
    ASSERT_TRUE(MoveFileW(testpaths::Wide(dir.File("moved.jpg")).c_str(),
                          (testpaths::Wide(dir.Path()) + L"\\\x0141odz.jpg").c_str()));
    TakeFolderSnapshot(&head, dir.Path().c_str());
    const Strings names = Names(head);
    EXPECT_EQ(std::count(names.begin(), names.end(), "Lodz.jpg"), 1) << names.size();
    EXPECT_EQ(names.size(), 5u);
    FreeSnapshot(&head);
}

TEST(FolderSnapshot, EqualNamesKeepTheirOrderOfArrival)
{
    FolderSnapshot head = Build({{"b.jpg", 1}, {"a.jpg", 2}, {"B.JPG", 3}});
    std::vector<DWORD> stamps;
    for (SnapshotEntry* e = head; e != nullptr; e = e->next)
        stamps.push_back(e->stamp);
    EXPECT_EQ(stamps, (std::vector<DWORD>{2, 1, 3}));
    EXPECT_EQ(FindSnapshotEntry(head, "B.jpg"), head->next);
    EXPECT_EQ(FindSnapshotEntry(head->next->next->next, "a.jpg"), nullptr);
    FreeSnapshot(&head);
    EXPECT_EQ(head, nullptr);
}

// A watch thread as the view runs it, posting to a message-only window.
class WatchRun {
public:
    explicit WatchRun(const std::string& folder) : m_stop(FALSE, TRUE)
    {
        m_hWnd = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        TakeFolderSnapshot(&m_snapshot, folder.c_str());
        auto* params = new FolderWatchParams;
        lstrcpynA(params->path, folder.c_str(), MAX_PATH);
        params->changes = &m_changes;
        params->snapshot = &m_snapshot;
        params->lock = &m_lock;
        params->stopEvent = m_stop;
        params->view = m_hWnd;
        m_hThread = CreateThread(nullptr, 0, Entry, params, 0, nullptr);
    }
    ~WatchRun()
    {
        Stop();
        FreeSnapshot(&m_snapshot);
        DestroyWindow(m_hWnd);
    }
    // Waits (pumping) until the lines hold at least n entries or the time is up.
    Strings WaitLines(size_t n, DWORD ms = 5000)
    {
        DWORD start = GetTickCount();
        for (;;) {
            MSG msg;
            while (PeekMessageA(&msg, m_hWnd, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_FOLDERCHANGED)
                    m_posts++;
            }
            {
                CSingleLock guard(&m_lock, TRUE);
                if (static_cast<size_t>(m_changes.GetSize()) >= n || GetTickCount() - start > ms)
                    return Lines(m_changes);
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
    }
    // Milliseconds the stop took; the thread's exit code in *code.
    DWORD Stop(DWORD* code = nullptr)
    {
        if (m_hThread == nullptr)
            return 0;
        DWORD start = GetTickCount();
        m_stop.SetEvent();
        WaitForSingleObject(m_hThread, INFINITE);
        DWORD took = GetTickCount() - start;
        if (code != nullptr)
            GetExitCodeThread(m_hThread, code);
        CloseHandle(m_hThread);
        m_hThread = nullptr;
        return took;
    }
    HANDLE Thread() const { return m_hThread; }
    int m_posts = 0;

private:
    static DWORD WINAPI Entry(LPVOID p) { return FolderWatchThreadProc(p); }
    HWND m_hWnd = nullptr;
    HANDLE m_hThread = nullptr;
    CEvent m_stop;
    CCriticalSection m_lock;
    CStringArray m_changes;
    FolderSnapshot m_snapshot = nullptr;
};

// Runs a command line in another process and waits for it.
bool RunOther(const std::string& command)
{
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    std::string line = "cmd.exe /c " + command;
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si,
                        &pi))
        return false;
    WaitForSingleObject(pi.hProcess, 30000);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code == 0;
}

TEST(FolderWatch, FollowsAnotherProcessAndStopsAtOnce)
{
    TempDir dir;
    ASSERT_TRUE(WriteBytes(dir.File("old.jpg"), "x"));
    ASSERT_TRUE(WriteBytes(dir.File("gone.png"), "x"));
    WatchRun run(dir.Path());
    ASSERT_NE(run.Thread(), nullptr);

    // Moved in whole: a file written in the folder may be read between its creation and its last
    // write, and then rightly gives a second, "M" line.
    TempDir outside;
    ASSERT_TRUE(WriteBytes(outside.File("new.bmp"), "x"));
    ASSERT_TRUE(RunOther("move \"" + outside.File("new.bmp") + "\" \"" + dir.File("new.bmp") + "\""));
    EXPECT_EQ(run.WaitLines(1), (Strings{"Nnew.bmp"}));
    ASSERT_TRUE(RunOther("del \"" + dir.File("gone.png") + "\""));
    EXPECT_EQ(run.WaitLines(2), (Strings{"Nnew.bmp", "Dgone.png"}));
    ASSERT_TRUE(RunOther("ren \"" + dir.File("old.jpg") + "\" zz.jpg"));
    EXPECT_EQ(run.WaitLines(4), (Strings{"Nnew.bmp", "Dgone.png", "Dold.jpg", "Nzz.jpg"}));
    // A file that is not a picture and a sub-folder give no line.
    ASSERT_TRUE(RunOther("echo x> \"" + dir.File("readme.txt") + "\""));
    ASSERT_TRUE(CreateDirectoryA(dir.File("sub").c_str(), nullptr));
    EXPECT_EQ(run.WaitLines(5, 800).size(), 4u);
    EXPECT_GE(run.m_posts, 3);

    DWORD code = 99;
    EXPECT_LT(run.Stop(&code), 1000u);
    EXPECT_EQ(code, 0u);
}

// Rewrites one picture of a folder over and over until stopped (or 10 s have passed).
class BusyWriter {
public:
    explicit BusyWriter(const std::string& path)
        : m_path(path), m_hStop(CreateEventA(nullptr, TRUE, FALSE, nullptr))
    {
        m_hThread = CreateThread(nullptr, 0, Run, this, 0, nullptr);
    }
    ~BusyWriter() { Stop(); }
    void Stop()
    {
        if (m_hThread == nullptr)
            return;
        SetEvent(m_hStop);
        WaitForSingleObject(m_hThread, INFINITE);
        CloseHandle(m_hThread);
        CloseHandle(m_hStop);
        m_hThread = nullptr;
    }
    bool Writing() const { return m_hThread != nullptr && WaitForSingleObject(m_hThread, 0) == WAIT_TIMEOUT; }

private:
    static DWORD WINAPI Run(LPVOID p)
    {
        auto* self = static_cast<BusyWriter*>(p);
        DWORD start = GetTickCount();
        for (int i = 0;
             WaitForSingleObject(self->m_hStop, 0) == WAIT_TIMEOUT && GetTickCount() - start < 10000; i++)
            WriteBytes(self->m_path, std::string(1 + i % 7, 'w'));
        return 0;
    }
    std::string m_path;
    HANDLE m_hStop;
    HANDLE m_hThread = nullptr;
};

TEST(FolderWatch, AStopIsSeenWhileTheFolderKeepsChanging)
{
    TempDir dir;
    // Enough pictures that each reading of the folder outlasts a rewrite.
    for (int i = 0; i < 300; i++)
        ASSERT_TRUE(WriteBytes(dir.File("p" + std::to_string(i) + ".jpg"), "x"));
    WatchRun run(dir.Path());
    ASSERT_NE(run.Thread(), nullptr);
    BusyWriter writer(dir.File("busy.jpg"));
    ASSERT_FALSE(run.WaitLines(1).empty());

    DWORD code = 99;
    EXPECT_LT(run.Stop(&code), 1000u);
    EXPECT_TRUE(writer.Writing());
    EXPECT_EQ(code, 0u);
}

DWORD WINAPI RunWatch(LPVOID params) { return FolderWatchThreadProc(params); }

// The view's stop, on a thread that holds the view's link, while the folder keeps changing: the
// thread ends well before the view would let it go.
TEST(FolderWatch, TheViewsStopEndsTheThreadWithinItsWait)
{
    TempDir dir;
    for (int i = 0; i < 300; i++)
        ASSERT_TRUE(WriteBytes(dir.File("p" + std::to_string(i) + ".jpg"), "x"));
    FolderWatchLink* link = NewFolderWatchLink();
    ASSERT_NE(link, nullptr);
    CStringArray changes;
    FolderSnapshot snapshot = nullptr;
    CCriticalSection lock;
    HWND hWnd = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    auto* params = new FolderWatchParams;
    lstrcpynA(params->path, dir.Path().c_str(), MAX_PATH);
    params->changes = &changes;
    params->snapshot = &snapshot;
    params->lock = &lock;
    params->stopEvent = link->stopEvent;
    params->view = hWnd;
    params->link = link;
    HANDLE hThread = CreateThread(nullptr, 0, RunWatch, params, 0, nullptr);
    ASSERT_NE(hThread, nullptr);
    {
        BusyWriter writer(dir.File("busy.jpg"));
        // The thread is at work: a change has come (the bound only guards a failure).
        bool changed = false;
        for (const DWORD begin = GetTickCount(); !changed && GetTickCount() - begin < 30000;) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_POSTMESSAGE);
            MSG msg;
            while (PeekMessageA(&msg, hWnd, 0, 0, PM_REMOVE))
                changed = changed || msg.message == WM_FOLDERCHANGED;
        }
        EXPECT_TRUE(changed);
        const DWORD start = GetTickCount();
        EXPECT_TRUE(StopFolderWatchThread(hThread, link));
        EXPECT_LT(GetTickCount() - start, kFolderWatchStopWait);
        EXPECT_TRUE(writer.Writing());
    }
    // A thread the stop did not reach touches nothing of the view's any more: the test goes on
    // without it rather than wait for ever.
    EXPECT_EQ(WaitForSingleObject(hThread, 30000), WAIT_OBJECT_0);
    CloseHandle(hThread);
    ReleaseFolderWatchLink(link);
    FreeSnapshot(&snapshot);
    DestroyWindow(hWnd);
}

// A reading that comes after the view stopped the watch, or let go of it, reaches nothing of the view's.
TEST(FolderWatch, AReadingAfterTheStopChangesNothing)
{
    HWND hWnd = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    for (const char* state : {"watching", "stopped", "let go"}) {
        SCOPED_TRACE(state);
        FolderWatchLink* link = NewFolderWatchLink();
        ASSERT_NE(link, nullptr);
        if (std::string(state) == "stopped")
            SetEvent(link->stopEvent);
        if (std::string(state) == "let go")
            DetachFolderWatchLink(link);
        CStringArray changes;
        CCriticalSection lock;
        FolderSnapshot shown = Build({{"old.jpg", 1}});
        FolderSnapshot fresh = Build({{"new.jpg", 1}});
        FolderWatchParams watch;
        watch.changes = &changes;
        watch.snapshot = &shown;
        watch.lock = &lock;
        watch.stopEvent = link->stopEvent;
        watch.view = hWnd;
        watch.link = link;
        ApplySnapshot(watch, &fresh);
        MSG msg;
        const bool posted = PeekMessageA(&msg, hWnd, WM_FOLDERCHANGED, WM_FOLDERCHANGED, PM_REMOVE) != 0;
        const bool live = std::string(state) == "watching";
        EXPECT_EQ(posted, live);
        EXPECT_EQ(Lines(changes), live ? (Strings{"Dold.jpg", "Nnew.jpg"}) : Strings{});
        EXPECT_EQ(Names(shown), (Strings{live ? "new.jpg" : "old.jpg"}));
        EXPECT_EQ(fresh, nullptr);
        FreeSnapshot(&shown);
        ReleaseFolderWatchLink(link);
        ReleaseFolderWatchLink(link);
    }
    DestroyWindow(hWnd);
}

// No folder, or one gone with the folder that held it: nothing to wait on. Gone alone, it is waited
// for in the folder that held it.
TEST(FolderWatch, AFolderThatCannotBeWatchedEndsAtOnce)
{
    TempDir dir;
    for (std::string path : {std::string(), dir.File("missing\\below"), dir.File("missing")}) {
        const bool waits = path == dir.File("missing");
        WatchRun run(path);
        ASSERT_NE(run.Thread(), nullptr);
        EXPECT_EQ(WaitForSingleObject(run.Thread(), waits ? 300 : 5000), waits ? WAIT_TIMEOUT : WAIT_OBJECT_0)
            << path;
        DWORD code = 99;
        run.Stop(&code);
        EXPECT_EQ(code, waits ? 0u : 1u) << path;
    }
}

} // namespace
