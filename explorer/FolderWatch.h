// The folder snapshot and the folder-watch thread of the explorer windows: a sorted list of the
// folder's pictures with their last-write stamps, the change lines that compare two lists, and the
// thread that takes a new list each time the system reports a change.
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

// What the view hands to its watch thread; the thread frees it once it has read it.
struct FolderWatchParams {
    char path[MAX_PATH];
    CStringArray* changes;    // the view's change lines
    FolderSnapshot* snapshot; // the view's snapshot, replaced after each change
    CCriticalSection* lock;   // guards changes and snapshot while a change is applied
    HANDLE stopEvent;         // set by the view to end the thread
    HWND view;                // receives WM_FOLDERCHANGED
};

// The watch thread: 0 after a stop, 1 when the folder cannot be watched.
UINT FolderWatchThreadProc(LPVOID param);
