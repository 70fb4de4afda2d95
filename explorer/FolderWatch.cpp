// The folder snapshot and the watch thread of the explorer windows.
#include "explorer/FolderWatch.h"

#include "core/FileTypes.h"
#include "core/FileUtil.h"
#include "core/FolderListing.h"
#include "framework/Sync.h"
#include "shell/AppMessages.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

// Names compare as the user sees them: without case, accented letters folded (ANSI code page).
static int CompareNames(LPCSTR a, LPCSTR b) { return AfxAnsiCompareNoCase(a, b); }

void FreeSnapshot(FolderSnapshot* head)
{
    SnapshotEntry* node = *head;
    while (node != nullptr) {
        SnapshotEntry* next = node->next;
        free(node->name);
        free(node);
        node = next;
    }
    *head = nullptr;
}

void InsertSnapshotEntry(FolderSnapshot* head, LPCSTR name, DWORD stamp)
{
    auto* entry = static_cast<SnapshotEntry*>(malloc(sizeof(SnapshotEntry)));
    if (entry == nullptr)
        return;
    size_t length = strlen(name) + 1;
    entry->name = static_cast<char*>(malloc(length));
    if (entry->name == nullptr) {
        free(entry);
        return;
    }
    memcpy(entry->name, name, length);
    entry->stamp = stamp;
    SnapshotEntry** link = head;
    while (*link != nullptr && CompareNames((*link)->name, name) <= 0)
        link = &(*link)->next;
    entry->next = *link;
    *link = entry;
}

void TakeFolderSnapshot(FolderSnapshot* head, LPCSTR folder)
{
    FreeSnapshot(head);
    CString pattern = folder;
    if (pattern.IsEmpty())
        return;
    pattern += pattern.Right(1) == "\\" ? "*.*" : "\\*.*";
    // A picture whose name the code page cannot spell keeps the mark the listing gives it, as the
    // list shows it: no other name is spelled so.
    CFolderListing listing(pattern);
    WIN32_FIND_DATAA data;
    // Collected, then sorted once: inserting each name in order would compare names a number of
    // times that grows with the square of a large folder.
    struct Found {
        CString name;
        DWORD stamp;
    };
    std::vector<Found> found;
    while (listing.Next(data)) {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || data.cFileName[0] == '\0'
            || data.cFileName[0] == '.')
            continue;
        int code = 0;
        if (GetFileCategory(data.cFileName, &code) != kCategoryImage)
            continue;
        WORD date = 0, time = 0;
        ::FileTimeToDosDateTime(&data.ftLastWriteTime, &date, &time);
        found.push_back({data.cFileName, (static_cast<DWORD>(date) << 16) + time});
    }
    // Equal names keep their order of arrival, as InsertSnapshotEntry does.
    std::stable_sort(found.begin(), found.end(),
                     [](const Found& a, const Found& b) { return CompareNames(a.name, b.name) < 0; });
    SnapshotEntry** link = head;
    for (const Found& f : found) {
        auto* entry = static_cast<SnapshotEntry*>(malloc(sizeof(SnapshotEntry)));
        char* name = entry != nullptr ? static_cast<char*>(malloc(f.name.GetLength() + 1)) : nullptr;
        if (name == nullptr) {
            // Out of memory: this file is left out.
            free(entry);
            continue;
        }
        memcpy(name, static_cast<LPCSTR>(f.name), f.name.GetLength() + 1);
        entry->name = name;
        entry->stamp = f.stamp;
        entry->next = nullptr;
        *link = entry;
        link = &entry->next;
    }
}

SnapshotEntry* FindSnapshotEntry(SnapshotEntry* node, LPCSTR name)
{
    for (; node != nullptr; node = node->next) {
        if (CompareNames(node->name, name) == 0)
            return node;
    }
    return nullptr;
}

static void AddLine(CStringArray* changes, char kind, LPCSTR name)
{
    CString line(kind, 1);
    line += name;
    changes->Add(line);
}

void DiffSnapshots(SnapshotEntry* oldList, SnapshotEntry* newList, CStringArray* changes)
{
    SnapshotEntry* o = oldList;
    SnapshotEntry* n = newList;
    while (o != nullptr && n != nullptr) {
        if (CompareNames(o->name, n->name) == 0) {
            if (o->stamp != n->stamp)
                AddLine(changes, 'M', o->name);
            o = o->next;
            n = n->next;
        } else if (FindSnapshotEntry(n, o->name) != nullptr) {
            AddLine(changes, 'N', n->name);
            n = n->next;
        } else {
            AddLine(changes, 'D', o->name);
            o = o->next;
            if (FindSnapshotEntry(o, n->name) == nullptr) {
                AddLine(changes, 'N', n->name);
                n = n->next;
            }
        }
    }
    for (; o != nullptr; o = o->next)
        AddLine(changes, 'D', o->name);
    for (; n != nullptr; n = n->next)
        AddLine(changes, 'N', n->name);
}

FolderWatchLink* NewFolderWatchLink()
{
    auto* link = new (std::nothrow) FolderWatchLink;
    if (link == nullptr)
        return nullptr;
    link->stopEvent = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (link->stopEvent == nullptr) {
        delete link;
        return nullptr;
    }
    link->refs = 2;
    link->detached = FALSE;
    ::InitializeCriticalSection(&link->guard);
    return link;
}

void ReleaseFolderWatchLink(FolderWatchLink* link)
{
    if (link == nullptr || ::InterlockedDecrement(&link->refs) != 0)
        return;
    ::CloseHandle(link->stopEvent);
    ::DeleteCriticalSection(&link->guard);
    delete link;
}

void DetachFolderWatchLink(FolderWatchLink* link)
{
    ::EnterCriticalSection(&link->guard);
    link->detached = TRUE;
    ::LeaveCriticalSection(&link->guard);
}

BOOL StopFolderWatchThread(HANDLE hThread, FolderWatchLink* link)
{
    ::SetEvent(link->stopEvent);
    if (::WaitForSingleObject(hThread, kFolderWatchStopWait) == WAIT_OBJECT_0)
        return TRUE;
    DetachFolderWatchLink(link);
    return FALSE;
}

void ApplySnapshot(const FolderWatchParams& watch, FolderSnapshot* fresh)
{
    if (watch.link != nullptr)
        ::EnterCriticalSection(&watch.link->guard);
    BOOL bLive = (watch.link == nullptr || !watch.link->detached)
                 && ::WaitForSingleObject(watch.stopEvent, 0) != WAIT_OBJECT_0;
    if (bLive) {
        CSingleLock guard(watch.lock, TRUE);
        DiffSnapshots(*watch.snapshot, *fresh, watch.changes);
        FreeSnapshot(watch.snapshot);
        *watch.snapshot = *fresh;
        *fresh = nullptr;
        ::PostMessageA(watch.view, WM_FOLDERCHANGED, 0, 0);
    }
    if (watch.link != nullptr)
        ::LeaveCriticalSection(&watch.link->guard);
    FreeSnapshot(fresh);
}

namespace {

const DWORD kContentChanges =
    FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE;

// A change notification on the folder, null when it cannot be watched.
HANDLE WatchFolder(const CString& folder, DWORD filter)
{
    if (folder.IsEmpty())
        return nullptr;
    HANDLE hChange = ::FindFirstChangeNotificationA(folder, FALSE, filter);
    return hChange != INVALID_HANDLE_VALUE ? hChange : nullptr;
}

void CloseWatch(HANDLE* phChange)
{
    if (*phChange != nullptr)
        ::FindCloseChangeNotification(*phChange);
    *phChange = nullptr;
}

// The folder that holds path ("C:\" for "C:\Images"); empty for a drive's root.
CString ParentFolder(CString path)
{
    while (path.GetLength() > 3 && path.Right(1) == "\\")
        path = path.Left(path.GetLength() - 1);
    int slash = path.ReverseFind('\\');
    if (slash < 2 || slash == path.GetLength() - 1)
        return CString();
    CString parent = path.Left(slash);
    if (parent.GetLength() == 2 && parent[1] == ':')
        parent += "\\";
    return parent;
}

void ReadAndApply(const FolderWatchParams& watch, const CString& path)
{
    FolderSnapshot fresh = nullptr;
    TakeFolderSnapshot(&fresh, path);
    ApplySnapshot(watch, &fresh);
}

} // namespace

UINT FolderWatchThreadProc(LPVOID param)
{
    auto* params = static_cast<FolderWatchParams*>(param);
    FolderWatchParams watch = *params;
    delete params;
    CString path = watch.path;

    if (path.GetLength() == 2 && path[1] == ':')
        path += "\\";
    // The folder renamed or removed by another program shows only in the folder that holds it. Its
    // parent is watched first: a folder gone when the watch starts is then seen coming back, even
    // between the two calls.
    HANDLE hParent = WatchFolder(ParentFolder(path), FILE_NOTIFY_CHANGE_DIR_NAME);
    HANDLE hChange = WatchFolder(path, kContentChanges);
    if (hChange == nullptr && hParent == nullptr) {
        ReleaseFolderWatchLink(watch.link);
        return 1;
    }
    // Not there yet: its parent tells when it comes (a folder made meanwhile has signalled already).
    BOOL bThere = hChange != nullptr;
    for (;;) {
        // The stop first: with several signalled the wait names the first, so changes that keep
        // coming never hide a stop.
        HANDLE handles[3] = {watch.stopEvent};
        DWORD count = 1, changeAt = 0, parentAt = 0;
        if (hChange != nullptr) {
            changeAt = count;
            handles[count++] = hChange;
        }
        if (hParent != nullptr) {
            parentAt = count;
            handles[count++] = hParent;
        }
        if (count == 1)
            break;
        DWORD index = ::WaitForMultipleObjects(count, handles, FALSE, INFINITE) - WAIT_OBJECT_0;
        if (index != 0 && index == changeAt) {
            // Re-armed before the folder is read: a change made while it is read signals again
            // instead of being lost until the next one.
            if (!::FindNextChangeNotification(hChange))
                CloseWatch(&hChange);
            ReadAndApply(watch, path);
            // What happens to a folder that is gone is no longer at its path.
            if (!FolderExists(path)) {
                CloseWatch(&hChange);
                bThere = FALSE;
            }
        } else if (index != 0 && index == parentAt) {
            if (!::FindNextChangeNotification(hParent))
                CloseWatch(&hParent);
            BOOL bNow = FolderExists(path) != 0;
            if (bNow == bThere)
                continue;
            bThere = bNow;
            // Back under its name (renamed back, made again): its contents are watched afresh.
            if (bThere) {
                CloseWatch(&hChange);
                hChange = WatchFolder(path, kContentChanges);
            }
            ReadAndApply(watch, path);
        } else {
            break;
        }
    }
    CloseWatch(&hChange);
    CloseWatch(&hParent);
    ReleaseFolderWatchLink(watch.link);
    return 0;
}
