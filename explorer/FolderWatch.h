// The folder snapshot and the folder-watch thread of the explorer windows: a sorted list of the
// folder's pictures with their last-write stamps, the change lines that compare two lists, and the
// thread that takes a new list each time the system reports a change in the folder or of it.
#pragma once
#include "framework/Collections.h"
#include "framework/String.h"

#include <windows.h>

class CCriticalSection;

// One picture file of a snapshot.
struct SnapshotEntry {
    char* name;  // file name without folder (malloc)
    DWORD stamp; // (DOS date of the last write << 16) + DOS time of the last write
    SnapshotEntry* next;
};
// A snapshot is its first entry (null when the folder holds no picture).
typedef SnapshotEntry* FolderSnapshot;

// Frees every name and node; the head becomes null.
void FreeSnapshot(FolderSnapshot* head);
// Copies the name and inserts it before the first entry whose name compares greater (so equal names
// keep their order of arrival); nothing when memory runs out.
void InsertSnapshotEntry(FolderSnapshot* head, LPCSTR name, DWORD stamp);
// Replaces the list with the pictures of the folder (not folders, not names starting with '.').
void TakeFolderSnapshot(FolderSnapshot* head, LPCSTR folder);
// The first entry from node on whose name equals name without regard to case, or null.
SnapshotEntry* FindSnapshotEntry(SnapshotEntry* node, LPCSTR name);
// Appends "N<name>" (new), "D<name>" (gone) and "M<name>" (rewritten) lines for the differences.
void DiffSnapshots(SnapshotEntry* oldList, SnapshotEntry* newList, CStringArray* changes);

// What a view and its watch thread share, so that the view never waits long for a thread held up by
// a slow folder: once the view has let go, the thread touches nothing of the view's and ends by
// itself. The last of the two to release it frees it.
struct FolderWatchLink {
    LONG refs;
    CRITICAL_SECTION guard; // held by the thread while it changes the view's data
    BOOL detached;          // set by the view, under guard, when it stops waiting
    HANDLE stopEvent;       // manual reset; set to end the thread
};

// A link held twice (the view and the thread), with its stop event; null when out of resources.
FolderWatchLink* NewFolderWatchLink();
void ReleaseFolderWatchLink(FolderWatchLink* link);
// The view lets go of a thread that has not ended: from here on it changes nothing of the view's.
void DetachFolderWatchLink(FolderWatchLink* link);

// How long a view waits for its watch thread to end before letting it go.
const DWORD kFolderWatchStopWait = 2000;
// The view's stop: the thread sees the stop at its next wait; only a folder that takes long to read
// (a slow network share) holds it, and such a thread is let go after kFolderWatchStopWait (it changes
// nothing of the view's any more and ends by itself). TRUE when the thread has ended.
BOOL StopFolderWatchThread(HANDLE hThread, FolderWatchLink* link);

// What the view hands to its watch thread; the thread frees it once it has read it.
struct FolderWatchParams {
    char path[MAX_PATH];
    CStringArray* changes;           // the view's change lines
    FolderSnapshot* snapshot;        // the view's snapshot, replaced after each change
    CCriticalSection* lock;          // guards changes and snapshot while a change is applied
    HANDLE stopEvent;                // set by the view to end the thread
    HWND view;                       // receives WM_FOLDERCHANGED
    FolderWatchLink* link = nullptr; // when set, the thread releases it as it ends
};

// One reading of the folder reaches the view: the change lines against the view's snapshot, the
// fresh snapshot in its place, WM_FOLDERCHANGED posted; unless the view has stopped the watch or let
// go of it, when nothing of the view's is touched. *fresh is taken or freed, and becomes null.
void ApplySnapshot(const FolderWatchParams& watch, FolderSnapshot* fresh);

// The watch thread: 0 after a stop (or once nothing is left to watch), 1 when neither the folder nor
// the folder that holds it can be watched. A stop is seen before any change, so a folder that keeps
// changing never holds it. The folder renamed or removed reads as empty, and read again if it comes
// back under its name, also when it was already gone as the watch started.
UINT FolderWatchThreadProc(LPVOID param);
