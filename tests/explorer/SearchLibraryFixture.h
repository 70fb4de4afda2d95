// Generated picture libraries for the search tests: record files written directly (no pictures
// needed), whose texts follow the record's number so that each test knows which records must match.
#pragma once
#include "explorer/SearchWorker.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace searchtest {

// The library's fixed folders (Windows-1252).
extern const char kPictures[];
extern const char kFavorites[];
extern const char kProtected[];
extern const char kTrash[];

// The texts of record n.
std::string NameOf(int n);
std::string AuthorOf(int n);
std::string KeywordsOf(int n);
std::string CommentOf(int n);

// Writes the record file of record n as folder\Photo<n>.dai (picture Photo<n>.<ext>, not written).
void WriteRecord(const std::string& folder, int n, const std::string& ext = "jpg");
// The numbers of the hits (from the picture file names "Photo<n>.jpg"); -1 for a path of another form.
std::set<int> HitNumbers(const CStringArray& hits);
// Every file under the folder with its size and last write, for "nothing was written" checks.
std::string FileStamps(const std::string& folder);

// The size of the filled library: enough for every remainder the texts follow; the search's speed on
// large libraries is the benchmark's (bench/search-vs-grep.sh).
const int kRecords = 3000;

class SearchLibraryTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::string Root() const { return m_dir.Path() + "\\"; }
    std::string Folder(const std::string& rel) const;
    // Records first..last-1 spread over the folder's sub-folders ("Album 0".."Album <albums-1>").
    void Fill(const std::string& fixedFolder, int first, int last, int albums);
    // kRecords records: the last 500 but 250 in "Images Favorites", the last 250 in the protected
    // folder, the others in "Images" (12 albums).
    void FillLibrary();
    // Runs the worker on this thread over the library; the hits stay in g_arrSearchResults.
    void Run(const SearchCriteria& criteria, BOOL searchProtected);

    testpaths::TempDir m_dir;
    SearchProgress m_block;
    std::atomic<LONG> m_stop{0};
};

} // namespace searchtest
