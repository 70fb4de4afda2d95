// Time of the JPEG reader on a set of files, in one process (so that program start-up is not
// counted): the full-size decode (LoadJPEG, 24 bits) and the library thumbnail (LoadThumbnailDIB
// into 84 x 68: a 1/8 DCT-scaled decode, then the resize). Prints the best of several runs per
// file in milliseconds, one line per file, for bench/jpeg-vs-djpeg.sh to compare.
// Usage: JpegDecodeBench.exe [--runs N] FILE...
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/BenchClock.h"
#include "core/DIB.h"
#include "core/LoadDispatch.h"
#include "core/Progress.h"
#include "core/ReaderSettings.h"
#include "formats/FormatJpeg.h"
#include "formats/Readers.h"

namespace {

// Best time in milliseconds of runs calls; the picture's size from the last one.
template <class Load> double BestOf(int runs, Load load, DWORD* width, DWORD* height)
{
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        const double start = Now();
        PackedDIB dib = load();
        const double elapsed = (Now() - start) * 1000.0;
        if (!dib)
            return -1;
        const BYTE* block = static_cast<const BYTE*>(GlobalLock(dib));
        *width = DIBWidth(block);
        *height = DIBHeight(block);
        GlobalUnlock(dib);
        GlobalFreeHandle(dib);
        if (elapsed < best)
            best = elapsed;
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    int runs = 3;
    int first = 1;
    if (argc > 2 && strcmp(argv[1], "--runs") == 0) {
        runs = atoi(argv[2]) > 0 ? atoi(argv[2]) : 1;
        first = 3;
    }
    if (first >= argc) {
        fprintf(stderr, "usage: JpegDecodeBench [--runs N] FILE...\n");
        return 2;
    }
    InstallPictureReaders();
    g_bReportProgress = FALSE;
    g_CouleursJPEG = 0;
    printf("# file full_ms thumb_ms full_size thumb_size\n");
    double fullTotal = 0, thumbTotal = 0;
    for (int i = first; i < argc; ++i) {
        const char* path = argv[i];
        DWORD fw = 0, fh = 0, tw = 0, th = 0;
        const double full = BestOf(
            runs, [&] { return LoadJPEG(path); }, &fw, &fh);
        const double thumb = BestOf(
            runs, [&] { return LoadThumbnailDIB(path, 84, 68, 32); }, &tw, &th);
        if (full < 0 || thumb < 0) {
            printf("%s failed\n", path);
            return 1;
        }
        printf("%s %.2f %.2f %lux%lu %lux%lu\n", path, full, thumb, static_cast<unsigned long>(fw),
               static_cast<unsigned long>(fh), static_cast<unsigned long>(tw),
               static_cast<unsigned long>(th));
        fflush(stdout);
        fullTotal += full;
        thumbTotal += thumb;
    }
    printf("# total full_ms %.2f thumb_ms %.2f\n", fullTotal, thumbTotal);
    return 0;
}
