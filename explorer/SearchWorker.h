// The library search: the criteria of the last search, the hits, the block the search-progress
// dialog shares with the worker thread, and the worker's walk over the library's record files.
// The worker reads record headers only: it never decodes a picture and never writes a file.
#pragma once
#include "framework/Collections.h"
#include "framework/String.h"

#include <windows.h>

#include <atomic>
#include <memory>

// Full paths of the pictures found, in the order found. Filled from the worker's block by the
// user-interface thread once the worker is done (TakeSearchHits).
extern CStringArray g_arrSearchResults;
// The criteria of the last search, trimmed; the criteria dialog starts from them (not saved).
extern CString g_strSearchName;
extern CString g_strSearchAuthor;
extern CString g_strSearchKeyword;
extern CString g_strSearchComment;
// The stop flag of the running search (0 run, 1 stop).
extern std::atomic<LONG> g_nSearchStop;

// What the worker compares, made once on the user-interface thread before it starts: the criteria
// lower-cased as the ANSI code page folds case (É and é alike).
struct SearchCriteria {
    CString name;
    CString author;
    CString keyword;
    CString comment;
    BOOL IsEmpty() const
    {
        return name.IsEmpty() && author.IsEmpty() && keyword.IsEmpty() && comment.IsEmpty();
    }
};
SearchCriteria MakeSearchCriteria(const CString& name, const CString& author, const CString& keyword,
                                  const CString& comment);

class CPicObject;
// TRUE when every non-empty criterion is found, as a substring and without regard to case, in its
// field of the record: name in the picture's name, author, keyword in the keywords, comment.
BOOL RecordMatches(const CPicObject& record, const SearchCriteria& criteria);

// The block shared by the progress dialog, the worker and the main frame.
struct SearchProgress {
    std::atomic<LONG> cancel{0};  // 1 when the user stopped the search
    std::atomic<LONG> done{0};    // the worker's last write
    std::atomic<LONG> total{0};   // record files to examine, 0 until counted
    std::atomic<LONG> current{1}; // 1 + record files examined so far
    std::atomic<LONG> hits{0};    // size of `found`, for the dialog while the worker runs
    std::atomic<LONG> failed{0};  // the worker ended on an error; `failure` says which
    std::atomic<LONG>* stopFlag = nullptr;

    // Written by the worker only, read by others only after `done`: the hits so far, and the text of
    // the error that ended the search early.
    CStringArray found;
    char failure[256] = ""; // fixed: recording a failure must not need memory

    // The worker's inputs, set before it starts and never changed while it runs.
    CString root; // the library root, with its trailing backslash
    SearchCriteria criteria;
    BOOL searchProtected = FALSE; // the protected folder was opened in this run
    // Manual-reset event: the worker waits on it before each entry; reset while the stop question
    // is shown, so the worker pauses between entries and never inside an allocation. The block
    // closes it.
    HANDLE hRunEvent = nullptr;
    // Called by the worker after each record file examined (tests watch the walk through it).
    void (*pfnAfterEntry)(SearchProgress* pBlock) = nullptr;

    // Resets the counters and the texts for a new search (the inputs stay).
    void Reset();
    // The folder being searched (relative to the root) and the record file without ".dai"; written
    // by the worker, copied under the block's lock.
    void SetFolder(LPCSTR text);
    void SetFile(LPCSTR text);
    CString GetFolder();
    CString GetFile();

    SearchProgress();
    ~SearchProgress();
    SearchProgress(const SearchProgress&) = delete;
    SearchProgress& operator=(const SearchProgress&) = delete;

private:
    CRITICAL_SECTION m_textLock;
    char m_folder[255] = "";
    char m_file[257] = "";
};

// Whether the stop flag is set (the worker tests it before every entry). A stopped search's own
// `cancel` keeps it stopped even when a later search clears the shared flag.
inline BOOL SearchStopRequested(const SearchProgress* pBlock)
{
    return (pBlock->stopFlag != nullptr && pBlock->stopFlag->load() != 0) || pBlock->cancel.load() != 0;
}

// Counts the record files under the folder, sub-folders included (folders and files whose name begins
// with '.' left out), until the stop flag is set.
void CountLibraryRecords(const CString& folder, LONG* pCount, SearchProgress* pBlock);
// Examines every record file under the folder, sub-folders first, adding the hits.
void SearchLibraryFolder(const CString& folder, SearchProgress* pBlock);
// The worker: counts, then searches "Images", "Images Favorites" and, when opened in this run,
// "Images Protégées"; sets `done` last, also after an error (then `failed`, the hits dropped). The
// argument is the block.
DWORD WINAPI SearchThreadProc(LPVOID pParam);
// Starts the worker at idle priority on a thread that shares the block: the block lives until both
// the caller's reference and the thread are gone, so a caller that stops waiting never frees what the
// worker reads. The thread's handle (the caller closes it), or null when no thread could be made.
HANDLE StartSearchWorker(const std::shared_ptr<SearchProgress>& pBlock, DWORD* pThreadId);
// Moves the hits of a finished worker into g_arrSearchResults (user-interface thread, after `done`).
void TakeSearchHits(SearchProgress& block);
