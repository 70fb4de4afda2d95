// The library search's worker over generated libraries: which records match, where it looks, what it
// never touches, and how it stops and pauses.
#include "tests/explorer/SearchLibraryFixture.h"

#include "piclist/PicObject.h"
#include "core/FileTypes.h"
#include "core/LoadDispatch.h"
#include "framework/Exceptions.h"
#include "tests/support/TestPaths.h"

#include <functional>
#include <memory>
#include <new>
#include <vector>

using namespace searchtest;

namespace {

std::set<int> Expected(int first, int last, const std::function<bool(int)>& pred)
{
    std::set<int> out;
    for (int n = first; n < last; ++n)
        if (pred(n))
            out.insert(n);
    return out;
}

struct Case {
    const char* name;
    const char* author;
    const char* keyword;
    const char* comment;
    std::function<bool(int)> match;
};

// The filled library's records (the last 250 in the protected folder), searched for each case with the
// protected folder open, then for the first case with it closed; nothing is ever written.
void SearchLibrary(const std::vector<Case>& cases,
                   const std::function<void(const SearchCriteria&, BOOL)>& run, SearchProgress& block,
                   const std::string& root)
{
    const std::string before = FileStamps(root);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + "|" + c.author + "|" + c.keyword + "|" + c.comment);
        run(MakeSearchCriteria(c.name, c.author, c.keyword, c.comment), TRUE);
        EXPECT_EQ(HitNumbers(g_arrSearchResults), Expected(0, kRecords, c.match));
        EXPECT_EQ(block.total.load(), kRecords);
        EXPECT_EQ(block.current.load(), kRecords + 1);
        EXPECT_EQ(block.done.load(), 1);
        EXPECT_EQ(block.hits.load(), g_arrSearchResults.GetSize());
    }
    // Until the protected folder is opened, its records are never found.
    const Case& c = cases.front();
    run(MakeSearchCriteria(c.name, c.author, c.keyword, c.comment), FALSE);
    EXPECT_EQ(HitNumbers(g_arrSearchResults), Expected(0, kRecords - 250, c.match));
    EXPECT_EQ(block.total.load(), kRecords - 250);
    EXPECT_EQ(FileStamps(root), before);
}

} // namespace

void SearchLibraryTest::FillLibrary()
{
    Fill(kPictures, 0, kRecords - 500, 12);
    Fill(kFavorites, kRecords - 500, kRecords - 250, 3);
    Fill(kProtected, kRecords - 250, kRecords, 2);
}

// Each criterion alone finds exactly its records, anywhere in the field, accented capitals matching
// small accented letters.
TEST_F(SearchLibraryTest, EachCriterionFindsExactlyItsRecords)
{
    FillLibrary();
    SearchLibrary(
        {
            {"\xE9t\xE9", "", "", "", [](int n) { return n % 5 == 0; }}, // "été" finds "Été à Nice"
            {"hoto", "", "", "", [](int) { return true; }},              // inside the name
            {"2999", "", "", "", [](int n) { return n == 2999; }},
            {"", "\xE9lo\xEFse", "", "", [](int n) { return n % 3 == 0; }}, // "éloïse"
            {"", "", "no\xEBl", "", [](int n) { return n % 4 == 3; }},      // "noël"
            {"", "", "", "\xE9t\xE9", [](int n) { return n % 11 == 0; }},
        },
        [this](const SearchCriteria& c, BOOL p) { Run(c, p); }, m_block, m_dir.Path());
}

// Given together, criteria must all hold: a record matching only some is no hit.
TEST_F(SearchLibraryTest, CombinedCriteriaFindExactlyTheRecordsMatchingAll)
{
    FillLibrary();
    SearchLibrary(
        {
            {"\xE9t\xE9", "", "NEIGE", "souvenir",
             [](int n) { return n % 5 == 0 && n % 4 == 3 && n % 11 == 0; }},
            {"plage", "marc", "", "", [](int n) { return n % 5 == 1 && n % 3 == 1; }},
            {"ville", "\xC9LO\xCFSE", "vacances", "",
             [](int n) { return n % 5 == 4 && n % 3 == 0 && n % 4 == 0; }},
            {"zzz", "", "", "", [](int) { return false; }},
        },
        [this](const SearchCriteria& c, BOOL p) { Run(c, p); }, m_block, m_dir.Path());
}

// The trash, folders and record files whose name begins with '.', and other files are never read; a
// broken record counts but never matches; a record whose picture is gone still is a hit, named by
// the record's extension.
TEST_F(SearchLibraryTest, LooksOnlyAtTheLibrarysRecordFiles)
{
    Fill(kPictures, 0, 10, 0);
    WriteRecord(Folder(kTrash), 20);
    CreateDirectoryA(Folder(std::string(kPictures) + "\\.cache").c_str(), nullptr);
    WriteRecord(Folder(std::string(kPictures) + "\\.cache"), 21);
    WriteRecord(Folder(kPictures), 22);
    ASSERT_TRUE(MoveFileA(Folder(std::string(kPictures) + "\\Photo22.dai").c_str(),
                          Folder(std::string(kPictures) + "\\.dai").c_str()));
    ASSERT_TRUE(testpaths::WriteBytes(Folder(std::string(kPictures) + "\\Photo23.dai"), "broken"));
    ASSERT_TRUE(testpaths::WriteBytes(Folder(std::string(kPictures) + "\\Photo24.txt"), "Photo"));
    // A record moved with its picture into another folder still holds the former place: the hit is
    // where the record file is.
    const std::string moved = Folder(kFavorites);
    ASSERT_TRUE(
        MoveFileA(Folder(std::string(kPictures) + "\\Photo9.dai").c_str(), (moved + "\\Photo9.dai").c_str()));
    // A folder whose name the code page cannot spell (a barred L) beside its look-alike "Lodz": its
    // record is not reported as one of Lodz, nor Lodz's twice.
    const std::string lodz = moved + "\\Lodz";
    CreateDirectoryA(lodz.c_str(), nullptr);
    WriteRecord(lodz, 10);
    const std::wstring unspelled = testpaths::Wide(moved) + L"\\\x0141odz";
    ASSERT_TRUE(CreateDirectoryW(unspelled.c_str(), nullptr));
    WriteRecord(Folder(kPictures), 25);
    ASSERT_TRUE(MoveFileW(testpaths::Wide(Folder(std::string(kPictures) + "\\Photo25.dai")).c_str(),
                          (unspelled + L"\\Photo25.dai").c_str()));
    Run(MakeSearchCriteria("photo", "", "", ""), TRUE);
    EXPECT_EQ(HitNumbers(g_arrSearchResults), Expected(0, 11, [](int) { return true; }));
    EXPECT_EQ(g_arrSearchResults.GetSize(), 11);
    EXPECT_EQ(m_block.total.load(), 12); // the broken record is counted
    EXPECT_EQ(m_block.current.load(), 13);
    ASSERT_GT(g_arrSearchResults.GetSize(), 0);
    EXPECT_EQ(std::string(g_arrSearchResults[0]), Folder(std::string(kPictures) + "\\Photo0.jpg"));
    EXPECT_EQ(std::string(m_block.GetFolder()), kProtected); // the last folder searched
    std::set<std::string> hits;
    for (INT_PTR i = 0; i < g_arrSearchResults.GetSize(); i++)
        hits.insert(std::string(g_arrSearchResults[i]));
    EXPECT_EQ(hits.count(moved + "\\Photo9.jpg"), 1u);
    EXPECT_EQ(hits.count(Folder(std::string(kPictures) + "\\Photo9.jpg")), 0u);
}

// Counts the BMP decodes made while it lives.
struct DecodeCounter {
    static int count;
    static PictureReader real;
    static PackedDIB Counting(LPCSTR path)
    {
        ++count;
        return real(path);
    }
    DecodeCounter()
    {
        count = 0;
        real = GetPictureReader(kFileTypeBMP);
        SetPictureReader(kFileTypeBMP, Counting);
    }
    ~DecodeCounter() { SetPictureReader(kFileTypeBMP, real); }
};
int DecodeCounter::count = 0;
PictureReader DecodeCounter::real = nullptr;

// A 24-bit 16 x 8 BMP file.
std::string SmallBmp()
{
    const int width = 16, height = 8, row = width * 3;
    BITMAPFILEHEADER fh = {};
    BITMAPINFOHEADER ih = {};
    ih.biSize = sizeof(ih);
    ih.biWidth = width;
    ih.biHeight = height;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(fh) + sizeof(ih);
    fh.bfSize = fh.bfOffBits + row * height;
    std::string bytes(reinterpret_cast<const char*>(&fh), sizeof(fh));
    bytes.append(reinterpret_cast<const char*>(&ih), sizeof(ih));
    for (int i = 0; i < row * height; ++i)
        bytes.push_back(static_cast<char>(i * 7));
    return bytes;
}

// Records older than their pictures are not rebuilt by the search: no picture is decoded and every
// record file keeps its bytes and its date.
TEST_F(SearchLibraryTest, NeverDecodesAPictureNorWritesARecord)
{
    for (int n = 0; n < 5; ++n)
        WriteRecord(Folder(kPictures), n, "bmp");
    FILETIME old = {0x10000000, 0x01C00000};
    for (int n = 0; n < 5; ++n) {
        const std::string stem = Folder(std::string(kPictures) + "\\Photo" + std::to_string(n));
        ASSERT_TRUE(testpaths::WriteBytes(stem + ".bmp", SmallBmp()));
        HANDLE h = CreateFileA((stem + ".dai").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0,
                               nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        SetFileTime(h, nullptr, nullptr, &old);
        CloseHandle(h);
    }
    const std::string record = Folder(std::string(kPictures) + "\\Photo1.dai");
    const std::string bytes = testpaths::ReadBytes(record);
    const std::string stamps = FileStamps(m_dir.Path());

    DecodeCounter decodes;
    Run(MakeSearchCriteria("photo", "", "", ""), FALSE);
    EXPECT_EQ(g_arrSearchResults.GetSize(), 5);
    EXPECT_EQ(decodes.count, 0);
    EXPECT_EQ(FileStamps(m_dir.Path()), stamps);

    // Whereas reading one whole rebuilds it: the checks above can fail.
    CPicObject whole;
    whole.m_strPath = Folder(std::string(kPictures) + "\\Photo1.bmp").c_str();
    ASSERT_TRUE(whole.LoadDai());
    EXPECT_EQ(decodes.count, 1);
    EXPECT_NE(testpaths::ReadBytes(record), bytes);
}

// The stop flag is tested before every entry: set while record k is examined, the worker examines no
// further record, skips the remaining folders and is done.
TEST_F(SearchLibraryTest, StopEndsTheWorkerBeforeTheNextRecord)
{
    Fill(kPictures, 0, 300, 4);
    Fill(kFavorites, 300, 400, 0);
    for (LONG stopAt : {1L, 57L, 299L}) {
        static LONG s_stopAt;
        s_stopAt = stopAt;
        m_block.pfnAfterEntry = [](SearchProgress* p) {
            if (p->current.load() - 1 == s_stopAt)
                *p->stopFlag = 1;
        };
        m_stop = 0;
        Run(MakeSearchCriteria("photo", "", "", ""), FALSE);
        EXPECT_EQ(m_block.done.load(), 1);
        EXPECT_EQ(m_block.current.load(), stopAt + 1);
        EXPECT_EQ(g_arrSearchResults.GetSize(), stopAt);
    }
    // Stopped while counting: nothing is searched.
    m_stop = 1;
    m_block.pfnAfterEntry = nullptr;
    Run(MakeSearchCriteria("photo", "", "", ""), FALSE);
    EXPECT_EQ(m_block.done.load(), 1);
    EXPECT_EQ(m_block.total.load(), 0);
    EXPECT_EQ(g_arrSearchResults.GetSize(), 0);
}

// On its own thread, a worker told to stop by another thread examines at most one more record.
TEST_F(SearchLibraryTest, StopFromAnotherThreadIsSeenWithinOneRecord)
{
    Fill(kPictures, 0, 2000, 8);
    m_block.criteria = MakeSearchCriteria("photo", "", "", "");
    m_block.hRunEvent = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    // The worker is held after record 100 until the stop is set, then let go.
    static HANDLE s_reached, s_go;
    s_reached = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    s_go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_block.pfnAfterEntry = [](SearchProgress* p) {
        if (p->current.load() == 101) {
            SetEvent(s_reached);
            WaitForSingleObject(s_go, INFINITE);
        }
    };
    HANDLE thread = CreateThread(nullptr, 0, SearchThreadProc, &m_block, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    ASSERT_EQ(WaitForSingleObject(s_reached, 30000), WAIT_OBJECT_0);
    m_stop = 1;
    SetEvent(s_go);
    ASSERT_EQ(WaitForSingleObject(thread, 30000), WAIT_OBJECT_0);
    EXPECT_EQ(m_block.done.load(), 1);
    EXPECT_EQ(m_block.current.load(), 101);
    TakeSearchHits(m_block);
    EXPECT_EQ(g_arrSearchResults.GetSize(), 100);
    CloseHandle(thread);
    CloseHandle(s_reached);
    CloseHandle(s_go);
    CloseHandle(m_block.hRunEvent);
    m_block.hRunEvent = nullptr;
}

// While paused (the stop question), the worker takes no further record; after the answer "no" it
// goes on and finds the same hits as a search never paused.
TEST_F(SearchLibraryTest, PausedWorkerTakesNoRecordUntilResumed)
{
    Fill(kPictures, 0, 400, 3);
    m_block.criteria = MakeSearchCriteria("plage", "", "", "");
    m_block.hRunEvent = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    static HANDLE s_paused;
    static HANDLE s_run;
    s_paused = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    s_run = m_block.hRunEvent;
    m_block.pfnAfterEntry = [](SearchProgress* p) {
        if (p->current.load() == 51) {
            ResetEvent(s_run);
            SetEvent(s_paused);
        }
    };
    HANDLE thread = CreateThread(nullptr, 0, SearchThreadProc, &m_block, 0, nullptr);
    ASSERT_EQ(WaitForSingleObject(s_paused, 30000), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(thread, 200), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(m_block.current.load(), 51);
    EXPECT_EQ(m_block.done.load(), 0);
    SetEvent(s_run);
    ASSERT_EQ(WaitForSingleObject(thread, 30000), WAIT_OBJECT_0);
    CloseHandle(thread);
    CloseHandle(s_paused);
    CloseHandle(m_block.hRunEvent);
    m_block.hRunEvent = nullptr;
    TakeSearchHits(m_block);
    EXPECT_EQ(HitNumbers(g_arrSearchResults), Expected(0, 400, [](int n) { return n % 5 == 1; }));
}

// The worker's thread whatever befalls it: an error while it examines a record ends the search as a
// failure with no hit kept (never the program), and an owner that lets go while the worker still
// runs (a progress dialog torn down) leaves it the block it reads, which goes with the thread.
TEST_F(SearchLibraryTest, WorkerThreadSurvivesErrorsAndOutlivesItsOwner)
{
    Fill(kPictures, 0, 40, 2);
    static HANDLE s_reached, s_go;
    static int s_afterStop;
    struct Case {
        const char* what;
        void (*onEntry)(SearchProgress*);
        bool ownerLetsGo;
    };
    const Case cases[] = {
        {"memory",
         [](SearchProgress* p) {
             if (p->current.load() == 11)
                 throw CMemoryException();
         },
         false},
        {"file",
         [](SearchProgress* p) {
             if (p->current.load() == 11)
                 throw CFileException(CFileException::hardIO);
         },
         false},
        {"library",
         [](SearchProgress* p) {
             if (p->current.load() == 11)
                 throw std::bad_alloc();
         },
         false},
        {"owner gone",
         [](SearchProgress* p) {
             if (SearchStopRequested(p))
                 s_afterStop++;
             if (p->current.load() == 11) {
                 SetEvent(s_reached);
                 WaitForSingleObject(s_go, INFINITE);
             }
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        s_reached = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        s_go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        s_afterStop = 0;
        m_stop = 0;
        auto pBlock = std::make_shared<SearchProgress>();
        pBlock->root = Root().c_str();
        pBlock->stopFlag = &m_stop;
        pBlock->criteria = MakeSearchCriteria("photo", "", "", "");
        pBlock->pfnAfterEntry = c.onEntry;
        std::weak_ptr<SearchProgress> watch = pBlock;
        HANDLE thread = StartSearchWorker(pBlock, nullptr);
        ASSERT_NE(thread, nullptr);
        if (c.ownerLetsGo) {
            ASSERT_EQ(WaitForSingleObject(s_reached, 30000), WAIT_OBJECT_0);
            pBlock->cancel = 1;
            pBlock.reset();
            EXPECT_FALSE(watch.expired());
            SetEvent(s_go);
        }
        ASSERT_EQ(WaitForSingleObject(thread, 30000), WAIT_OBJECT_0);
        DWORD code = 1;
        GetExitCodeThread(thread, &code);
        EXPECT_EQ(code, 0u);
        CloseHandle(thread);
        if (c.ownerLetsGo) {
            EXPECT_TRUE(watch.expired()); // freed by the thread, as it ended
            EXPECT_EQ(s_afterStop, 0);    // and no record examined after the stop
        } else {
            EXPECT_EQ(pBlock->done.load(), 1);
            EXPECT_EQ(pBlock->failed.load(), 1);
            EXPECT_EQ(pBlock->current.load(), 11);
            EXPECT_EQ(pBlock->hits.load(), 0);
            EXPECT_EQ(pBlock->found.GetSize(), 0);
            EXPECT_NE(pBlock->failure[0], '\0');
        }
        CloseHandle(s_reached);
        CloseHandle(s_go);
    }
}
