// Speed of the colour reduction, dithering and resizing functions on a 4000 x 3000 picture, in
// megapixels per second, with the time ratio against a picture 16 times smaller to show that each
// function is linear in the pixels.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <vector>

#include "bench/BenchClock.h"
#include "core/ColorReduce.h"
#include "core/PackedDib.h"
#include "core/Resize.h"

namespace {

// A 24-bit picture with gradients and some noise, so that dithers do real work.
PackedDIB MakePhoto(int width, int height)
{
    PackedDIB dib = CreateDIB(DWORD(width), DWORD(height), 24);
    if (dib == nullptr)
        return nullptr;
    BYTE* block = static_cast<BYTE*>(GlobalLock(dib));
    BYTE* rows = FindDIBBits(block);
    const DWORD stride = DIBRowBytes(DWORD(width), 24);
    unsigned seed = 12345;
    for (int y = 0; y < height; ++y) {
        BYTE* p = rows + size_t(y) * stride;
        for (int x = 0; x < width; ++x, p += 3) {
            seed = seed * 1103515245u + 12345u;
            const int noise = int((seed >> 16) & 31) - 16;
            auto clamp = [](int v) { return BYTE(v < 0 ? 0 : v > 255 ? 255 : v); };
            p[0] = clamp(x * 255 / width + noise);
            p[1] = clamp(y * 255 / height - noise);
            p[2] = clamp((x + y) * 255 / (width + height) + noise / 2);
        }
    }
    GlobalUnlock(dib);
    return dib;
}

// Best time of a few runs of one conversion; the result is freed each time.
double BestSeconds(const std::function<PackedDIB()>& run, int repeats)
{
    double best = 1e30;
    for (int i = 0; i < repeats; ++i) {
        const double start = Now();
        PackedDIB out = run();
        const double elapsed = Now() - start;
        if (out == nullptr) {
            std::printf("  (the function returned no picture)\n");
            return -1;
        }
        GlobalFreeHandle(out);
        if (elapsed < best)
            best = elapsed;
    }
    return best;
}

struct Case {
    const char* name;
    // Given the 24-bit and 8-bit sources and the source size.
    std::function<PackedDIB(PackedDIB rgb, PackedDIB indexed, int width, int height)> run;
};

} // namespace

int main()
{
    const int bigW = 4000, bigH = 3000, smallW = 1000, smallH = 750;
    PackedDIB bigRgb = MakePhoto(bigW, bigH);
    PackedDIB smallRgb = MakePhoto(smallW, smallH);
    PackedDIB bigIndexed = ConvertDIBTo8Bit(bigRgb, nullptr, 1);
    PackedDIB smallIndexed = ConvertDIBTo8Bit(smallRgb, nullptr, 1);
    if (!bigRgb || !smallRgb || !bigIndexed || !smallIndexed) {
        std::printf("could not make the test pictures\n");
        return 1;
    }

    const std::vector<Case> cases = {
        {"ConvertDIBTo8Bit 24-bit, mode 1 (ordered dither)",
         [](PackedDIB s, PackedDIB, int, int) { return ConvertDIBTo8Bit(s, nullptr, 1); }},
        {"ConvertDIBTo8Bit 24-bit, mode 2 (error diffusion)",
         [](PackedDIB s, PackedDIB, int, int) { return ConvertDIBTo8Bit(s, nullptr, 2); }},
        {"ConvertDIBTo8Bit 24-bit, mode 4 (error diffusion)",
         [](PackedDIB s, PackedDIB, int, int) { return ConvertDIBTo8Bit(s, nullptr, 4); }},
        {"ConvertDIBTo8Bit 8-bit, mode 2 (error diffusion)",
         [](PackedDIB, PackedDIB i, int, int) { return ConvertDIBTo8Bit(i, nullptr, 2); }},
        {"ConvertDIB24To4Bit (ordered dither)",
         [](PackedDIB s, PackedDIB, int, int) { return ConvertDIB24To4Bit(s); }},
        {"ConvertDIB8To4Bit (ordered dither)",
         [](PackedDIB, PackedDIB i, int, int) { return ConvertDIB8To4Bit(i); }},
        {"ResizeDIBTo24Bit to half size",
         [](PackedDIB s, PackedDIB, int w, int h) { return ResizeDIBTo24Bit(s, w / 2, h / 2); }},
        {"ResizeDIBTo24Bit to the same size",
         [](PackedDIB s, PackedDIB, int w, int h) { return ResizeDIBTo24Bit(s, w, h); }},
        {"ResizeDIBTo24Bit 8-bit source to half size",
         [](PackedDIB, PackedDIB i, int w, int h) { return ResizeDIBTo24Bit(i, w / 2, h / 2); }},
        {"ResizeDIBTo24Bit to a 1/25 thumbnail",
         [](PackedDIB s, PackedDIB, int w, int h) { return ResizeDIBTo24Bit(s, w / 25, h / 25); }},
        {"ResizeDIBTo8Bit mode 1 to half size",
         [](PackedDIB s, PackedDIB, int w, int h) { return ResizeDIBTo8Bit(s, w / 2, h / 2, 1); }},
        {"ResizeDIBTo8Bit mode 2 to half size",
         [](PackedDIB s, PackedDIB, int w, int h) { return ResizeDIBTo8Bit(s, w / 2, h / 2, 2); }},
    };

    std::printf("Source %d x %d (%.1f megapixels); speeds in source megapixels per second.\n", bigW, bigH,
                bigW * bigH / 1e6);
    std::printf("%-52s %10s %10s %12s\n", "function", "ms", "MP/s", "time ratio*");
    for (const Case& c : cases) {
        const double big = BestSeconds([&] { return c.run(bigRgb, bigIndexed, bigW, bigH); }, 3);
        const double small = BestSeconds([&] { return c.run(smallRgb, smallIndexed, smallW, smallH); }, 5);
        if (big < 0 || small < 0)
            continue;
        std::printf("%-52s %10.1f %10.1f %12.1f\n", c.name, big * 1000, bigW * bigH / 1e6 / big, big / small);
    }
    std::printf("* time on %d x %d over time on %d x %d: 16 for work linear in the pixels.\n", bigW, bigH,
                smallW, smallH);
    GlobalFreeHandle(bigRgb);
    GlobalFreeHandle(smallRgb);
    GlobalFreeHandle(bigIndexed);
    GlobalFreeHandle(smallIndexed);
    return 0;
}
