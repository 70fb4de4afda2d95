#include "tests/explorer/SearchLibraryFixture.h"

#include "piclist/PicObject.h"
#include "framework/Archive.h"
#include "framework/File.h"
#include "framework/TestSeams.h"

#include <cstdio>
#include <sstream>

namespace searchtest {

const char kPictures[] = "Images";
const char kFavorites[] = "Images Favorites";
const char kProtected[] = "Images Prot\xE9g\xE9\x65s";
const char kTrash[] = "El\xE9ments Supprim\xE9s";

namespace {
const char* const kNames[] = {"\xC9t\xE9 \xE0 Nice", "plage", "MONTAGNE", "For\xEAt", "ville"};
const char* const kAuthors[] = {"\xC9lo\xEFse Dupont", "Marc", ""};
const char* const kKeywords[] = {"vacances;mer", "famille", "", "NO\xCBL;neige"};

void Walk(const std::string& folder, std::ostringstream& out)
{
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = fd.cFileName;
        if (name == "." || name == "..")
            continue;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            Walk(folder + "\\" + name, out);
        } else {
            out << folder << "\\" << name << ' ' << fd.nFileSizeLow << ' '
                << fd.ftLastWriteTime.dwHighDateTime << ':' << fd.ftLastWriteTime.dwLowDateTime << '\n';
        }
    } while (FindNextFileA(h, &fd));
    FindClose(h);
}
} // namespace

std::string NameOf(int n) { return std::string("Photo ") + kNames[n % 5] + " " + std::to_string(n); }
std::string AuthorOf(int n) { return kAuthors[n % 3]; }
std::string KeywordsOf(int n) { return kKeywords[n % 4]; }
std::string CommentOf(int n) { return n % 11 == 0 ? "Un souvenir d'\xC9T\xC9" : ""; }

void WriteRecord(const std::string& folder, int n, const std::string& ext)
{
    CPicObject record;
    const std::string file = "Photo" + std::to_string(n);
    record.m_strPath = (folder + "\\" + file + "." + ext).c_str();
    record.m_strFileName = (file + "." + ext).c_str();
    record.m_strBaseName = NameOf(n).c_str();
    record.m_strExt = ext.c_str();
    record.m_strAuthor = AuthorOf(n).c_str();
    record.m_strKeywords = KeywordsOf(n).c_str();
    record.m_strComment = CommentOf(n).c_str();
    record.m_nWidth = 640;
    record.m_nHeight = 480;
    record.m_nBitCount = 24;
    record.m_lFileSize = 1000 + n;
    // Made in memory and written in one go: the record's own storing flushes to the disk each time.
    CMemFile memory;
    CArchive ar(&memory, CArchive::store);
    record.Serialize(ar);
    ar.Close();
    const UINT length = static_cast<UINT>(memory.GetLength());
    BYTE* bytes = memory.Detach();
    const bool written = testpaths::WriteBytes(folder + "\\" + file + ".dai",
                                               std::string(reinterpret_cast<const char*>(bytes), length));
    free(bytes);
    ASSERT_TRUE(written);
}

std::set<int> HitNumbers(const CStringArray& hits)
{
    std::set<int> numbers;
    for (INT_PTR i = 0; i < hits.GetSize(); ++i) {
        const std::string path = static_cast<LPCSTR>(hits[i]);
        const size_t slash = path.rfind('\\');
        int n = -1;
        char tail[8] = "";
        if (std::sscanf(path.c_str() + slash + 1, "Photo%d.%7s", &n, tail) != 2 || std::string(tail) != "jpg")
            n = -1;
        numbers.insert(n);
    }
    return numbers;
}

std::string FileStamps(const std::string& folder)
{
    std::ostringstream out;
    Walk(folder, out);
    return out.str();
}

void SearchLibraryTest::SetUp()
{
    AfxTestArm();
    g_arrSearchResults.RemoveAll();
    m_block.root = Root().c_str();
    m_block.stopFlag = &m_stop;
    for (const char* fixed : {kPictures, kFavorites, kProtected, kTrash})
        CreateDirectoryA(Folder(fixed).c_str(), nullptr);
}

void SearchLibraryTest::TearDown()
{
    g_arrSearchResults.RemoveAll();
    // The criteria a test typed are the search's until the program ends: none is left to the next.
    for (CString* criterion :
         {&g_strSearchName, &g_strSearchAuthor, &g_strSearchKeyword, &g_strSearchComment})
        criterion->Empty();
    AfxTestReset();
}

std::string SearchLibraryTest::Folder(const std::string& rel) const { return m_dir.Path() + "\\" + rel; }

void SearchLibraryTest::Fill(const std::string& fixedFolder, int first, int last, int albums)
{
    for (int a = 0; a < albums; ++a)
        CreateDirectoryA(Folder(fixedFolder + "\\Album " + std::to_string(a)).c_str(), nullptr);
    for (int n = first; n < last; ++n) {
        const std::string folder =
            albums == 0 ? Folder(fixedFolder) : Folder(fixedFolder + "\\Album " + std::to_string(n % albums));
        WriteRecord(folder, n);
    }
}

void SearchLibraryTest::Run(const SearchCriteria& criteria, BOOL searchProtected)
{
    g_arrSearchResults.RemoveAll();
    m_block.Reset();
    m_block.criteria = criteria;
    m_block.searchProtected = searchProtected;
    SearchThreadProc(&m_block);
    TakeSearchHits(m_block);
}

} // namespace searchtest
