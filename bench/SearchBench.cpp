// Time of the library search over a generated library, in one process (so that Wine's start-up is
// not counted): the worker's whole walk (count, then every record file read header-only and
// matched). Prints the best of several runs in milliseconds, per run and per record.
// Usage: SearchBench.exe --make ROOT COUNT     writes COUNT record files under ROOT\Images
//        SearchBench.exe [--runs N] ROOT WORD  searches the comments for the word
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "explorer/SearchWorker.h"
#include "piclist/PicObject.h"
#include "framework/Archive.h"
#include "framework/File.h"

namespace {

double Now()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return double(counter.QuadPart) / double(frequency.QuadPart);
}

const char* const kWords[] = {"plage",     "montagne", "for\xEAt", "ville",
                              "\xE9t\xE9", "neige",    "famille",  "lac"};

// Record n under ROOT\Images\Album <n % 20>; one record in 97 carries the word "marmotte".
bool MakeLibrary(const std::string& root, int count)
{
    const std::string pictures = root + "\\Images";
    CreateDirectoryA(root.c_str(), nullptr);
    CreateDirectoryA(pictures.c_str(), nullptr);
    for (int a = 0; a < 20; ++a)
        CreateDirectoryA((pictures + "\\Album " + std::to_string(a)).c_str(), nullptr);
    for (int n = 0; n < count; ++n) {
        const std::string folder = pictures + "\\Album " + std::to_string(n % 20);
        const std::string file = "IMG_" + std::to_string(10000 + n);
        CPicObject record;
        record.m_strPath = (folder + "\\" + file + ".jpg").c_str();
        record.m_strFileName = (file + ".jpg").c_str();
        record.m_strBaseName = (std::string("Vacances ") + kWords[n % 8] + " " + std::to_string(n)).c_str();
        record.m_strExt = "jpg";
        record.m_strAuthor = n % 3 ? "Claire Martin" : "\xC9lo\xEFse Dupont";
        record.m_strKeywords = (std::string(kWords[(n / 8) % 8]) + ";" + kWords[(n / 64) % 8]).c_str();
        record.m_strComment =
            n % 97 == 0 ? "Une marmotte au soleil" : "Souvenir de l'\xE9t\xE9 avec la famille";
        record.m_nWidth = 4000;
        record.m_nHeight = 3000;
        record.m_nBitCount = 24;
        record.m_lFileSize = 3000000 + n;
        CFile out;
        if (!out.Open((folder + "\\" + file + ".dai").c_str(),
                      CFile::modeCreate | CFile::modeWrite | CFile::typeBinary))
            return false;
        CArchive ar(&out, CArchive::store);
        record.Serialize(ar);
        ar.Close();
        out.Close();
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    int runs = 5;
    int arg = 1;
    if (argc > 3 && std::strcmp(argv[1], "--make") == 0)
        return MakeLibrary(argv[2], std::atoi(argv[3])) ? 0 : 1;
    if (argc > 2 && std::strcmp(argv[1], "--runs") == 0) {
        runs = std::atoi(argv[2]);
        arg = 3;
    }
    if (argc - arg < 2) {
        std::fprintf(stderr, "usage: SearchBench [--runs N] ROOT WORD | --make ROOT COUNT\n");
        return 2;
    }
    std::atomic<LONG> stop{0};
    SearchProgress block;
    block.root = (std::string(argv[arg]) + "\\").c_str();
    block.stopFlag = &stop;
    // The word is looked for in the comments, where the generated library holds it.
    block.criteria = MakeSearchCriteria("", "", "", argv[arg + 1]);
    double best = 1e30;
    LONG records = 0;
    INT_PTR hits = 0;
    for (int i = 0; i < runs; ++i) {
        g_arrSearchResults.RemoveAll();
        block.Reset();
        const double start = Now();
        SearchThreadProc(&block);
        const double elapsed = (Now() - start) * 1000.0;
        if (elapsed < best)
            best = elapsed;
        records = block.total.load();
        hits = block.hits.load();
    }
    std::printf("records %ld hits %d best_ms %.2f per_record_us %.2f\n", static_cast<long>(records),
                static_cast<int>(hits), best, records ? best * 1000.0 / records : 0.0);
    return 0;
}
