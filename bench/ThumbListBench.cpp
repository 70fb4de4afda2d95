// Speed of the thumbnail lists, in one process (program start-up is not counted):
//   build  FILE...  time per picture to build its thumbnail and write its record file (best of runs)
//   fill   FOLDER N time per record to fill a list from N record files (made first in FOLDER)
//   steps  FILE...  the longest single step of the thumbnail builder over a list of those pictures,
//                   against the longest single thumbnail decode of the same pictures
//   folder FOLDER N a folder of N small JPEGs (made first): the whole folder's thumbnails built by
//                   the idle steps on a 50 ms timer, as the program drives them, against the same
//                   thumbnails decoded in a loop
// Prints one "# ..." comment line and result lines for bench/thumblist.sh.
// Usage: ThumbListBench.exe build [--runs N] FILE... | fill FOLDER N | steps FILE... | folder FOLDER N
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/BenchClock.h"
#include "core/DIB.h"
#include "core/FileUtil.h"
#include "core/FolderListing.h"
#include "core/LoadDispatch.h"
#include "core/PackedDib.h"
#include "core/Progress.h"
#include "core/ReaderSettings.h"
#include "formats/FormatJpeg.h"
#include "formats/Readers.h"
#include "framework/Wnd.h"
#include "piclist/ListCellLayout.h"
#include "piclist/PicListBox.h"
#include "piclist/PicObject.h"

namespace {

CString RecordOf(const char* path) { return RecordFilePath(path); }

int Build(int runs, int argc, char** argv, int first)
{
    printf("# file build_and_save_ms build_ms save_ms decode_only_ms (best of each)\n");
    double total = 0;
    for (int i = first; i < argc; ++i) {
        double best = 1e30;
        double bestBuild = 1e30;
        double bestSave = 1e30;
        double bestDecode = 1e30;
        for (int r = 0; r < runs; ++r) {
            // The reader alone, as the record's build calls it.
            const double t0 = Now();
            PackedDIB dib = LoadThumbnailDIB(argv[i], 84, 68, GetScreenBitsPerPixel());
            bestDecode = std::min(bestDecode, (Now() - t0) * 1000.0);
            GlobalFreeHandle(dib);
            CPicObject rec;
            rec.m_strPath = argv[i];
            const double start = Now();
            BOOL built = rec.BuildThumbnail();
            const double middle = Now();
            BOOL saved = built && rec.SaveDai();
            const double end = Now();
            if (!saved) {
                printf("%s failed\n", argv[i]);
                return 1;
            }
            best = std::min(best, (end - start) * 1000.0);
            bestBuild = std::min(bestBuild, (middle - start) * 1000.0);
            bestSave = std::min(bestSave, (end - middle) * 1000.0);
            ::DeleteFileA(RecordOf(argv[i]));
        }
        printf("%s %.2f %.2f %.2f %.2f\n", argv[i], best, bestBuild, bestSave, bestDecode);
        total += best;
    }
    printf("# mean %.2f ms per picture\n", total / (argc - first));
    return 0;
}

// The window that holds the list while it fills.
class CHost : public CWnd {
public:
    BOOL Make()
    {
        LPCSTR cls = AfxRegisterWndClass(0, ::LoadCursorA(nullptr, IDC_ARROW),
                                         reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
        return CreateEx(0, cls, "ThumbListBench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 500, nullptr,
                        nullptr);
    }
};

CPicListBox* MakeList(CHost& host, BOOL keep)
{
    CPicListBox* pList = new CPicListBox;
    pList->m_nView = kViewLarge;
    pList->m_bKeepRecords = keep;
    pList->Create(&host, 101);
    ::MoveWindow(pList->m_hWnd, 0, 0, 760, 440, TRUE);
    return pList;
}

int Fill(const char* folder, int count)
{
    ::CreateDirectoryA(folder, nullptr);
    std::string dir = folder;
    // Pictures dated in the past, then their records (the records are newer: nothing is stale).
    FILETIME when;
    SYSTEMTIME st = {2020, 5, 0, 17, 10, 30, 0, 0};
    ::SystemTimeToFileTime(&st, &when);
    char name[MAX_PATH];
    std::string templ;
    for (int n = 0; n < count; n++) {
        snprintf(name, sizeof(name), "%s\\p%05d.jpg", folder, n);
        if (::GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES)
            continue;
        HANDLE h = ::CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        ::WriteFile(h, "not a picture", 13, &written, nullptr);
        ::SetFileTime(h, nullptr, nullptr, &when);
        ::CloseHandle(h);
    }
    {
        snprintf(name, sizeof(name), "%s\\p00000.jpg", folder);
        CPicObject rec;
        WIN32_FIND_DATAA e;
        FindFolderEntry(name, e);
        FillRecordFromEntry(&rec, name, e);
        rec.m_strPath = rec.FixPath(folder, FALSE);
        rec.m_pThumbDIB = new CDIB;
        rec.m_pThumbDIB->Attach(CreateDIB(84, 63, 24));
        rec.m_nThumbWidth = 84;
        rec.m_nThumbHeight = 63;
        rec.m_nThumbState = 1;
        rec.SaveDai();
        snprintf(name, sizeof(name), "%s\\p00000.dai", folder);
        HANDLE f = ::CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        DWORD size = ::GetFileSize(f, nullptr);
        templ.resize(size);
        DWORD got = 0;
        ::ReadFile(f, &templ[0], size, &got, nullptr);
        ::CloseHandle(f);
    }
    for (int n = 1; n < count; n++) {
        snprintf(name, sizeof(name), "%s\\p%05d.dai", folder, n);
        if (::GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES)
            continue;
        char digits[8];
        snprintf(digits, sizeof(digits), "%05d", n);
        std::string out = templ;
        for (size_t at = out.find("00000"); at != std::string::npos; at = out.find("00000", at + 5))
            out.replace(at, 5, digits);
        HANDLE h = ::CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        ::WriteFile(h, out.data(), static_cast<DWORD>(out.size()), &written, nullptr);
        ::CloseHandle(h);
    }

    // Reading the records alone, then the whole fill.
    double start = Now();
    for (int n = 0; n < count; n++) {
        snprintf(name, sizeof(name), "%s\\p%05d.jpg", folder, n);
        CPicObject rec;
        rec.m_strPath = name;
        rec.ReadRecordFile();
    }
    double readMs = (Now() - start) * 1000.0;
    CHost host;
    host.Make();
    CPicListBox* pList = MakeList(host, TRUE);
    start = Now();
    pList->LoadFolder(folder);
    double fillMs = (Now() - start) * 1000.0;
    int unreadable = 0;
    for (int i = 0; i < pList->GetCount(); i++)
        unreadable += pList->GetRecord(i)->m_nThumbState != 1;
    start = Now();
    pList->m_nSortKey = 3;
    pList->Resort();
    double sortMs = (Now() - start) * 1000.0;
    printf("# records fill_ms per_record_ms read_only_per_record_ms resort_ms not_from_record\n");
    printf("%d %.1f %.4f %.4f %.1f %d\n", pList->GetCount(), fillMs, fillMs / count, readMs / count, sortMs,
           unreadable);
    pList->DestroyWindow();
    delete pList;
    host.DestroyWindow();
    return unreadable == 0 && 0 < count ? 0 : 1;
}

int Steps(int argc, char** argv, int first)
{
    // The longest decode of one thumbnail, for comparison.
    double longestDecode = 0;
    for (int i = first; i < argc; ++i) {
        double start = Now();
        PackedDIB dib = LoadThumbnailDIB(argv[i], 84, 68, 24);
        longestDecode = std::max(longestDecode, (Now() - start) * 1000.0);
        GlobalFreeHandle(dib);
    }
    // A list of the pictures' folder (the first file's), built step by step as the idle work does.
    std::string folder = argv[first];
    folder = folder.substr(0, folder.find_last_of('\\'));
    CHost host;
    host.Make();
    CPicListBox* pList = MakeList(host, TRUE);
    pList->LoadFolder(folder.c_str());
    double longestStep = 0;
    int steps = 0;
    for (;;) {
        double start = Now();
        int worked = pList->BuildNextThumbnail();
        double elapsed = (Now() - start) * 1000.0;
        if (worked == 0)
            break;
        longestStep = std::max(longestStep, elapsed);
        steps++;
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&msg);
    }
    for (int i = 0; i < pList->GetCount(); i++)
        ::DeleteFileA(RecordOf(pList->GetRecord(i)->m_strPath));
    printf("# steps longest_step_ms longest_decode_ms\n");
    printf("%d %.2f %.2f\n", steps, longestStep, longestDecode);
    pList->DestroyWindow();
    delete pList;
    host.DestroyWindow();
    return 0;
}

// Small photographs of a few kilobytes: their decode costs little, so any wait between steps shows.
void MakeSmallJpegs(const std::string& folder, int count)
{
    ::CreateDirectoryA(folder.c_str(), nullptr);
    PackedDIB dib = CreateDIB(160, 120, 24);
    BYTE* bits = FindDIBBits(static_cast<BYTE*>(::GlobalLock(dib)));
    const int stride = (160 * 3 + 3) & ~3;
    char name[MAX_PATH];
    for (int n = 0; n < count; n++) {
        snprintf(name, sizeof(name), "%s\\s%05d.jpg", folder.c_str(), n);
        if (::GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES)
            continue;
        for (int y = 0; y < 120; y++)
            for (int x = 0; x < 160 * 3; x++)
                bits[y * stride + x] = static_cast<BYTE>((x * (n % 7 + 1) + y * 3 + n) & 0xFF);
        SaveJPEG(dib, name, 85);
    }
    ::GlobalUnlock(dib);
    GlobalFreeHandle(dib);
}

int Folder(const char* folder, int count)
{
    MakeSmallJpegs(folder, count);
    const int bpp = GetScreenBitsPerPixel();
    char name[MAX_PATH];
    CHost host;
    host.Make();
    // The same thumbnails decoded in a plain loop, with the list's window already on the screen.
    double start = Now();
    for (int n = 0; n < count; n++) {
        snprintf(name, sizeof(name), "%s\\s%05d.jpg", folder, n);
        GlobalFreeHandle(LoadThumbnailDIB(name, 84, 68, bpp));
    }
    const double loopMs = (Now() - start) * 1000.0;

    CPicListBox* pList = MakeList(host, FALSE);
    pList->LoadFolder(folder);
    // The program's dispatch timer drives the idle steps every 50 ms.
    const UINT_PTR kTimer = 7;
    ::SetTimer(host.m_hWnd, kTimer, 50, nullptr);
    int steps = 0;
    double longestStep = 0;
    double inSteps = 0;
    start = Now();
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == host.m_hWnd && msg.wParam == kTimer) {
            const double t = Now();
            const int worked = pList->BuildThumbnailsForSlice();
            const double stepMs = (Now() - t) * 1000.0;
            longestStep = std::max(longestStep, stepMs);
            inSteps += stepMs;
            steps++;
            if (worked == 0)
                break;
            continue;
        }
        ::DispatchMessageW(&msg);
    }
    const double builtMs = (Now() - start) * 1000.0;
    ::KillTimer(host.m_hWnd, kTimer);
    const int listed = pList->GetCount();
    int built = 0;
    for (int i = 0; i < listed; i++)
        built += pList->GetRecord(i)->m_nThumbState == 1;
    // Per picture: the builder's whole time against the loop's, and against its own work in the steps
    // (what the time between steps adds).
    printf("# pictures built builder_ms_per_picture loop_ms_per_picture ratio_to_loop ratio_to_own_work "
           "idle_steps longest_step_ms\n");
    printf("%d %d %.3f %.3f %.3f %.3f %d %.1f\n", listed, built, builtMs / listed, loopMs / count,
           (builtMs / listed) / (loopMs / count), builtMs / inSteps, steps, longestStep);
    pList->DestroyWindow();
    delete pList;
    host.DestroyWindow();
    return built == listed ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: ThumbListBench build [--runs N] FILE... | fill FOLDER N | steps FILE... | "
                        "folder FOLDER N\n");
        return 2;
    }
    InstallPictureReaders();
    g_bReportProgress = FALSE;
    if (strcmp(argv[1], "build") == 0) {
        int runs = 3;
        int first = 2;
        if (argc > 4 && strcmp(argv[2], "--runs") == 0) {
            runs = std::max(1, atoi(argv[3]));
            first = 4;
        }
        return Build(runs, argc, argv, first);
    }
    if (strcmp(argv[1], "fill") == 0 && argc > 3)
        return Fill(argv[2], atoi(argv[3]));
    if (strcmp(argv[1], "steps") == 0)
        return Steps(argc, argv, 2);
    if (strcmp(argv[1], "folder") == 0 && argc > 3)
        return Folder(argv[2], atoi(argv[3]));
    return 2;
}
