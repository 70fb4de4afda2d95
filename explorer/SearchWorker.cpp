#include "explorer/SearchWorker.h"

#include "core/FolderListing.h"
#include "piclist/PicObject.h"
#include "framework/Archive.h"
#include "framework/Exceptions.h"
#include "framework/File.h"
#include "framework/FrameworkTexts.h"
#include "resources/resource.h"

#include <exception>
#include <new>

CStringArray g_arrSearchResults;
CString g_strSearchName;
CString g_strSearchAuthor;
CString g_strSearchKeyword;
CString g_strSearchComment;
std::atomic<LONG> g_nSearchStop{0};

namespace {

CString Lowered(const CString& text)
{
    CString result = text;
    result.MakeLower();
    return result;
}

// An empty field never holds a criterion; an empty criterion is no condition.
BOOL FieldHolds(const CString& field, const CString& criterion)
{
    if (criterion.IsEmpty())
        return TRUE;
    if (field.IsEmpty())
        return FALSE;
    return Lowered(field).Find(criterion) >= 0;
}

CString Join(const CString& folder, LPCSTR name)
{
    if (!folder.IsEmpty() && folder.Right(1) == "\\")
        return folder + name;
    return folder + "\\" + name;
}

// Names the walk leaves alone: empty ones, "." and "..", hidden-by-convention folders and ".dai".
BOOL Skipped(const WIN32_FIND_DATAA& entry)
{
    return entry.cFileName[0] == '\0' || entry.cFileName[0] == '.';
}

// The walk's listing leaves out the names the code page cannot spell: their path would name their
// look-alike (a folder "Lodz" for a Polish one with a barred L), whose records would be reported
// twice, or no file.
const UnspelledNames kWalkUnspelled = UnspelledNames::Skipped;

BOOL IsFolder(const WIN32_FIND_DATAA& entry)
{
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Waits while the stop question is shown; FALSE when the search is to stop.
BOOL MayContinue(SearchProgress* pBlock)
{
    if (pBlock->hRunEvent != nullptr)
        ::WaitForSingleObject(pBlock->hRunEvent, INFINITE);
    return !SearchStopRequested(pBlock);
}

// Calls fn for every sub-folder of folder, in listing order, until the stop flag is set.
template <class Fn> void ForEachSubFolder(const CString& folder, SearchProgress* pBlock, Fn fn)
{
    CFolderListing listing(Join(folder, "*.*"), kWalkUnspelled);
    WIN32_FIND_DATAA entry;
    while (listing.Next(entry) && MayContinue(pBlock)) {
        if (IsFolder(entry) && !Skipped(entry))
            fn(Join(folder, entry.cFileName));
    }
}

// Calls fn for every record file of folder (not its sub-folders) until the stop flag is set.
template <class Fn> void ForEachRecordFile(const CString& folder, SearchProgress* pBlock, Fn fn)
{
    CFolderListing listing(Join(folder, "*.dai"), kWalkUnspelled);
    WIN32_FIND_DATAA entry;
    while (listing.Next(entry) && MayContinue(pBlock)) {
        if (!IsFolder(entry) && !Skipped(entry))
            fn(entry);
    }
}

// Bytes read at once from a record file: its texts and numbers come first and almost always fit.
const DWORD kHeaderRead = 4096;

// Reads the record's texts and numbers with a single read of the record file's first bytes; the
// thumbnail after them is never read. A header longer than those bytes is read again through the
// record's own header-only load. FALSE when the file cannot be read or is not a record.
BOOL ReadRecordHeader(CPicObject& record, const CString& recordPath)
{
    record.m_bHeaderOnly = TRUE;
    HANDLE hFile =
        ::CreateFileA(recordPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return FALSE;
    BYTE bytes[kHeaderRead];
    DWORD got = 0;
    const BOOL read = ::ReadFile(hFile, bytes, sizeof(bytes), &got, nullptr);
    ::CloseHandle(hFile);
    if (!read)
        return FALSE;
    CMemFile memory(bytes, got);
    BYTE archiveBuffer[512];
    CArchive ar(&memory, CArchive::load, sizeof(archiveBuffer), archiveBuffer);
    try {
        record.Serialize(ar);
        ar.Close();
        return TRUE;
    } catch (CException&) {
        ar.Abort();
    }
    if (got < sizeof(bytes))
        return FALSE; // the whole file was there: it is broken
    record.m_strPath = recordPath;
    return record.LoadDai();
}

// The picture a record file stands for: the record path without ".dai", then the extension as the
// record's file name spells it (the record's own extension is lower case), nothing when it has none.
CString HitPath(const CString& recordPath, const CString& dottedExt)
{
    return recordPath.Left(recordPath.GetLength() - 4) + dottedExt;
}

} // namespace

SearchCriteria MakeSearchCriteria(const CString& name, const CString& author, const CString& keyword,
                                  const CString& comment)
{
    SearchCriteria criteria;
    criteria.name = Lowered(name);
    criteria.author = Lowered(author);
    criteria.keyword = Lowered(keyword);
    criteria.comment = Lowered(comment);
    return criteria;
}

BOOL RecordMatches(const CPicObject& record, const SearchCriteria& criteria)
{
    return FieldHolds(record.m_strBaseName, criteria.name) && FieldHolds(record.m_strAuthor, criteria.author)
           && FieldHolds(record.m_strKeywords, criteria.keyword)
           && FieldHolds(record.m_strComment, criteria.comment);
}

SearchProgress::SearchProgress() { ::InitializeCriticalSection(&m_textLock); }

SearchProgress::~SearchProgress()
{
    if (hRunEvent != nullptr)
        ::CloseHandle(hRunEvent);
    ::DeleteCriticalSection(&m_textLock);
}

void SearchProgress::Reset()
{
    cancel = 0;
    done = 0;
    total = 0;
    current = 1;
    hits = 0;
    failed = 0;
    found.RemoveAll();
    failure[0] = '\0';
    SetFolder("");
    SetFile("");
}

void SearchProgress::SetFolder(LPCSTR text)
{
    ::EnterCriticalSection(&m_textLock);
    ::lstrcpynA(m_folder, text, sizeof(m_folder));
    ::LeaveCriticalSection(&m_textLock);
}

void SearchProgress::SetFile(LPCSTR text)
{
    ::EnterCriticalSection(&m_textLock);
    ::lstrcpynA(m_file, text, sizeof(m_file));
    ::LeaveCriticalSection(&m_textLock);
}

CString SearchProgress::GetFolder()
{
    char copy[sizeof(m_folder)];
    ::EnterCriticalSection(&m_textLock);
    ::lstrcpynA(copy, m_folder, sizeof(copy));
    ::LeaveCriticalSection(&m_textLock);
    return copy;
}

CString SearchProgress::GetFile()
{
    char copy[sizeof(m_file)];
    ::EnterCriticalSection(&m_textLock);
    ::lstrcpynA(copy, m_file, sizeof(copy));
    ::LeaveCriticalSection(&m_textLock);
    return copy;
}

void CountLibraryRecords(const CString& folder, LONG* pCount, SearchProgress* pBlock)
{
    ForEachSubFolder(folder, pBlock, [&](const CString& sub) { CountLibraryRecords(sub, pCount, pBlock); });
    ForEachRecordFile(folder, pBlock, [&](const WIN32_FIND_DATAA&) { ++*pCount; });
}

void SearchLibraryFolder(const CString& folder, SearchProgress* pBlock)
{
    ForEachSubFolder(folder, pBlock, [&](const CString& sub) { SearchLibraryFolder(sub, pBlock); });
    if (SearchStopRequested(pBlock))
        return;
    const int rootLength = pBlock->root.GetLength();
    pBlock->SetFolder(folder.GetLength() > rootLength ? static_cast<LPCSTR>(folder) + rootLength : "");

    // One record serves the whole folder; its thumbnail is never read.
    CPicObject record;
    ForEachRecordFile(folder, pBlock, [&](const WIN32_FIND_DATAA& entry) {
        CString name = entry.cFileName;
        pBlock->SetFile(name.Left(name.GetLength() - 4));
        const CString recordPath = Join(folder, entry.cFileName);
        if (ReadRecordHeader(record, recordPath) && RecordMatches(record, pBlock->criteria)) {
            pBlock->found.Add(HitPath(recordPath, record.DottedExtension()));
            pBlock->hits = static_cast<LONG>(pBlock->found.GetSize());
        }
        pBlock->current++;
        if (pBlock->pfnAfterEntry != nullptr)
            pBlock->pfnAfterEntry(pBlock);
    });
}

namespace {

void SearchLibrary(SearchProgress* pBlock)
{
    LONG count = 0;
    CString root = pBlock->root;
    if (!root.IsEmpty() && root.Right(1) == "\\")
        root = root.Left(root.GetLength() - 1);
    if (root.IsEmpty())
        return;
    const CString folders[3] = {root + "\\" + AfxLoadText(IDS_FOLDER_PICTURES),
                                root + "\\" + AfxLoadText(IDS_FOLDER_FAVORITES),
                                root + "\\" + AfxLoadText(IDS_FOLDER_PROTECTED)};
    const int searched = pBlock->searchProtected ? 3 : 2;
    for (int i = 0; i < searched && !SearchStopRequested(pBlock); ++i)
        CountLibraryRecords(folders[i], &count, pBlock);
    pBlock->total = count;
    for (int i = 0; i < searched && !SearchStopRequested(pBlock); ++i)
        SearchLibraryFolder(folders[i], pBlock);
}

// A search cut short by an error keeps none of its hits: they would look like the whole answer.
void RecordFailure(SearchProgress* pBlock, LPCSTR text)
{
    pBlock->found.RemoveAll();
    pBlock->hits = 0;
    ::lstrcpynA(pBlock->failure, text, sizeof(pBlock->failure));
    pBlock->failed = 1;
}

DWORD WINAPI SharedSearchThreadProc(LPVOID pParam)
{
    std::unique_ptr<std::shared_ptr<SearchProgress>> pHeld(
        static_cast<std::shared_ptr<SearchProgress>*>(pParam));
    return SearchThreadProc(pHeld->get());
}

} // namespace

DWORD WINAPI SearchThreadProc(LPVOID pParam)
{
    SearchProgress* pBlock = static_cast<SearchProgress*>(pParam);
    pBlock->total = 0;
    // No exception may leave the thread: it would end the program.
    try {
        SearchLibrary(pBlock);
    } catch (CException& e) {
        char text[sizeof(pBlock->failure)] = "";
        try {
            e.GetErrorMessage(text, sizeof(text)); // may itself run out of memory
        } catch (CException&) {
            text[0] = '\0';
        }
        if (text[0] == '\0')
            ::lstrcpynA(text, AfxFrameworkText(AFX_IDP_INTERNAL_FAILURE), sizeof(text));
        RecordFailure(pBlock, text);
    } catch (std::exception&) {
        RecordFailure(pBlock, AfxFrameworkText(AFX_IDP_INTERNAL_FAILURE));
    }
    pBlock->done = 1;
    return 0;
}

HANDLE StartSearchWorker(const std::shared_ptr<SearchProgress>& pBlock, DWORD* pThreadId)
{
    auto* pHeld = new (std::nothrow) std::shared_ptr<SearchProgress>(pBlock);
    if (pHeld == nullptr)
        return nullptr;
    HANDLE hThread = ::CreateThread(nullptr, 0, SharedSearchThreadProc, pHeld, 0, pThreadId);
    if (hThread == nullptr) {
        delete pHeld;
        return nullptr;
    }
    ::SetThreadPriority(hThread, THREAD_PRIORITY_IDLE);
    return hThread;
}

void TakeSearchHits(SearchProgress& block)
{
    g_arrSearchResults.Copy(block.found);
    block.found.RemoveAll();
}
